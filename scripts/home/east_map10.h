// The residents of eastern map 10 and of map 51: a group of four who talk together, a pair who
// share one talk, and single residents with a line or two; and the two step areas of map 10 that
// play a scene the first time the player walks over them (the group quarrelling, and a crowd of
// six walking off while two others talk).
//
// The talks are tables of cells (scripts/cells.h); the scenes are cue tables (scripts/cues.h)
// run by one-shot step zones (scripts/zones.h).
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The group of four of map 10 and where the click part of each measures from.
constexpr s32 GROUP_FIRST_OBJ = 191; // 191..194
constexpr s32 GROUP_NEAR = 50;       // 191 and 194
constexpr s32 GROUP_WIDE = 80;       // 192 and 193
// The pair of map 10.
constexpr s32 PAIR_EAST_A = 205;
constexpr s32 PAIR_EAST_B = 206;
constexpr s32 PAIR_EAST_FAR = 120;
// The crowd scene: the six who walk off, the two who stay, and where the watcher ends.
constexpr s32 CROWD_FIRST_OBJ = 207; // 207..212 walk, 213 stays until the end
constexpr s32 CROWD_TALKER_OBJ = 213;
constexpr s32 CROWD_WATCHER_OBJ = 214;
constexpr s32 CROWD_GOAL_X = 4451;
constexpr s32 CROWD_GOAL_Y = 1760;
constexpr s32 CROWD_WATCHER_X = 4040;
constexpr s32 CROWD_WATCHER_Y = 1875;
constexpr s32 CROWD_WATCHER_END_FRAME = -32708;
// Set to 1 when the group's scene has played.
constexpr s32 GROUP_SCENE_FLAG = 22;

void object_event_0096(); // 191, the group of four
void object_event_0097(); // 192
void object_event_0098(); // 193
void object_event_0099(); // 194
void object_event_0100(); // 195 of map 10
void object_event_0101(); // 196 of map 51
void object_event_0102(); // 197 of map 51
void object_event_0103(); // 198 of map 51
void object_event_0105(); // step area 201: the group's scene
void object_event_0106(); // 202 of map 10
void object_event_0107(); // 203 of map 10
void object_event_0109(); // 205, the pair
void object_event_0110(); // 206
void object_event_0111(); // step area 215: the crowd's scene
void object_event_0112(); // 216 of map 10

// Calls visit(frame) for every frame these scripts show beyond an object's first frame, so that
// the placeholder archive can be checked to hold a picture for each.
void east_map10_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* HOME_EAST_MAP10_OWNER = "home east map 10";
std::span<const ScriptSlot> home_east_map10_slots();
ScriptRegion home_east_map10_region();
