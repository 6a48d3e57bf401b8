// Staging services for event scripts, calendar events and screens: walk up to six objects to
// their targets while the scene redraws, show or place an object in a frame, wait, pan the camera,
// fade the screen out or in, move the player to another map, measure distances, and time things
// with five stopwatches. Every service that animates draws and presents its own frames and
// returns when it is done. (Drawing a single image is `draw_image` in engine/image.h.)
#pragma once
#include "engine/types.h"

constexpr s32 WALK_MOVERS_MAX = 6;
constexpr s32 WALK_FRAME_MS = 66;
constexpr s32 PAN_FRAME_MS = 33;
constexpr s32 FADE_STEP_MS = 100;
constexpr s32 FADE_STEPS = 16;
constexpr s32 STOPWATCH_COUNT = 5;

// Mover list filled by the walk wrappers: quadruples (object, target x, target y, speed),
// ended by -1.
extern s32 walk_movers[WALK_MOVERS_MAX * 4 + 1];
// Millisecond time stamps of the five stopwatches.
extern u32 stopwatches[STOPWATCH_COUNT];

// Frames (66 ms each) until every mover of the -1-ended list has arrived (`walk_all`) or until
// at least one has (`walk_any`). camera_obj 0..4095 keeps the camera centred on that object;
// any other value leaves the camera where it is.
void walk_all(const s32* movers, s32 camera_obj);
void walk_any(const s32* movers, s32 camera_obj);

void walk1(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1);
void walk2(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2);
void walk3(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
           s32 x3, s32 y3, s32 v3);
void walk4(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
           s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4);
void walk5(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
           s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5, s32 y5, s32 v5);
void walk6(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
           s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5, s32 y5, s32 v5,
           s32 o6, s32 x6, s32 y6, s32 v6);
void walk1_any(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1);
void walk2_any(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2);
void walk3_any(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2,
               s32 o3, s32 x3, s32 y3, s32 v3);
void walk4_any(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2,
               s32 o3, s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4);
void walk5_any(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2,
               s32 o3, s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5,
               s32 y5, s32 v5);
void walk6_any(s32 camera_obj, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2,
               s32 o3, s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5,
               s32 y5, s32 v5, s32 o6, s32 x6, s32 y6, s32 v6);

// Sets the signed frame of obj (negative = mirrored), renders the scene and presents it.
void obj_show_frame(s32 obj, s32 frame);
// Moves obj to (x, y) and sets its signed frame; draws nothing.
void obj_place(s32 obj, s32 x, s32 y, s32 frame);
// `obj_place`, then renders the scene and presents it.
void obj_place_show(s32 obj, s32 x, s32 y, s32 frame);

// Busy-waits until the tick count has advanced by at least ms (stirring the random counter on
// every spin); returns the milliseconds that passed.
u32 wait_ms(u32 ms);
u32 tick_count_now();

// Moves the camera toward (x, y) by speed pixels per axis per 33 ms frame, rendering each frame,
// until it stands there; not clamped to the map. A speed of 0 or less jumps there in one frame.
void camera_pan(s32 x, s32 y, s32 speed);

// Sixteen 100 ms steps darkening the picture to black (out) or brightening it from black (in).
// The `_scene` forms render the scene first; the others fade the back buffer as it is.
void fade_out_scene();
void fade_out();
void fade_in_scene();
void fade_in();

// Moves the player to (x, y) on another map: loads the map, sets the player's map, position,
// tint, plane 0 and height 0, centres the camera on it and clears every floating label. Draws
// nothing.
void change_map(s32 map, s32 x, s32 y);

// Distances between foot points, ignoring height.
s32 obj_distance(s32 obj_a, s32 obj_b);
s32 player_distance(s32 x, s32 y);

// Stopwatch n := the tick count (returned); elapsed = ticks since then, modulo 2^32.
u32 timer0_start();
u32 timer1_start();
u32 timer2_start();
u32 timer3_start();
u32 timer4_start();
u32 timer0_elapsed();
u32 timer1_elapsed();
u32 timer2_elapsed();
u32 timer3_elapsed();
u32 timer4_elapsed();

// Zero the 32-byte record of obj / of all 4096 objects.
void obj_clear(s32 obj);
void obj_clear_all();
