#pragma once
// The episode of the two camps on maps 61 to 66 (calendar slot 129): the crowd, the barred ways,
// route 2 (the player sides with person 118) and the closing visit of person 163 that both routes
// and the episode on maps 186 and 173 to 175 play.
#include "engine/types.h"
#include "scripts/kit.h"

#include <array>
#include <span>

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

constexpr const char* CAMPS_OWNER = "the camps of maps 61-66";

// ---- Episode state --------------------------------------------------------------------------

constexpr s32 CROWD_STATE_OBJ = 3500; // its ATTR_VAR_A: 0 cheering, 1 held, 2 still
constexpr s32 CROWD_CHEERING = 0;
constexpr s32 CROWD_HELD = 1;
constexpr s32 CROWD_STILL = 2;
constexpr s32 ROUTE2_OUTCOME_FLAG = 94;
constexpr s32 ROUTE2_LOST = 2;
constexpr s32 ROUTE2_WON = 1;

// Runs of each crowd slot's members since its last shout; no save holds them, and the episode
// never resets them.
extern s32 shout_count_1206;
extern s32 shout_count_1207;
extern s32 shout_count_1208;
extern s32 shout_count_1209;

// ---- The crowd ------------------------------------------------------------------------------

constexpr s32 CROWD_MEMBERS = 4; // of one slot on one map at most; -1 empty
struct CrowdStill {
    s32 obj = -1;
    s32 frame = 0;
};
struct CrowdRow {
    s32 slot = 0;
    std::array<s32, CROWD_MEMBERS> map61{-1, -1, -1, -1};
    std::array<s32, CROWD_MEMBERS> map63{-1, -1, -1, -1};
    IdleCycle cycle{};
    s32* count = nullptr;
    s32 shout = 0;
    s32 shout_after = 0; // a shout comes on the run that takes the count above this
    CrowdStill held{};   // the member that stands still in state 1, and its frame
    std::array<CrowdStill, CROWD_MEMBERS> still{};
};
constexpr s32 CROWD_SHOUT_DX = -52;
constexpr s32 CROWD_SHOUT_DY = -108;
constexpr s32 CROWD_SHOUT_MS = 1000;
std::span<const CrowdRow> camps_crowd();
// One run of a crowd member (self) by its slot's row, whatever the trigger.
void crowd_run(const CrowdRow& r);

// Every frame and picture these scripts show that no population row names, each passed to visit.
void camps_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

std::span<const ScriptSlot> camps_slots();
ScriptRegion camps_region();
