#pragma once
// The episode of the two camps on maps 61 to 66 (calendar slot 129): the crowd, the barred ways,
// route 2 (the player sides with person 118) and the closing visit of person 163 that both routes
// and the episode on maps 186 and 173 to 175 play.
#include "engine/types.h"

// Person 163's visit: object 999 is put on `map` at (x0, y0), switched on and shown with
// `visitor_frame` (signed); it walks to (x1, y1) at speed 10 while the camera stays; the player
// shows `player_frame`; texts t and t + 1 are person 163's (box 2, portrait 1163), then t + 2 ..
// t + 6 alternate the player (box 3, portrait 1000) and person 163; 999 is hidden.
struct VisitorScene {
    s32 map = 0;
    s32 x0 = 0, y0 = 0;
    s32 x1 = 0, y1 = 0;
    s32 visitor_frame = 0;
    s32 player_frame = 0;
    s32 first_text = 0;
};
constexpr s32 VISITOR_OBJ = 999;
constexpr s32 VISITOR_SPEED = 10;
constexpr s32 VISITOR_TEXTS = 7;
void visitor_scene(const VisitorScene& v);
