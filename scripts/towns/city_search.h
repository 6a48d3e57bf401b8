// The city's search errand: resident 1075 asks the player to find three persons somewhere in the
// city (1073, 1074, 1076). Once it is accepted the resident leaves its place and object 1080 keeps
// the player company at each find; the last find gathers the family (1075 with 1077, 1078 and
// 1079) in a new place and gives item 2364. Later the family sends the player to 1141 on map 213,
// whose talk brings the resident back. While the search runs the companions' meeting point 1090
// is held at its barred stage.
//
// The errand's state is the stage of 1075, which every script here reads.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The giver, whose stage is the errand's, and the stages the scripts here read.
constexpr s32 CITY_SEARCH_GIVER = 1075;
constexpr s32 CITY_SEARCH_ASKING = 0;
constexpr s32 CITY_SEARCH_RUNNING = 1;
constexpr s32 CITY_SEARCH_GATHERED = 2;
constexpr s32 CITY_SEARCH_THANKED = 3;
constexpr s32 CITY_SEARCH_REQUEST = 4; // set by the episode's director on the second day
constexpr s32 CITY_SEARCH_SENT = 5;
// The person on map 213 and the stage its talk leaves it at.
constexpr s32 CITY_SEARCH_LAST_PERSON = 1141;
constexpr s32 CITY_SEARCH_LAST_PERSON_DONE = 50;
// The companions' meeting point, held at stage 2 while the search runs, and the reward.
constexpr s32 CITY_SEARCH_MEETING_POINT = 1090;
constexpr s32 CITY_SEARCH_HELD_STAGE = 2;
constexpr s32 CITY_SEARCH_REWARD = 2364;

// Calls visit(frame) for every frame these scripts show (idle loops, turns, the companion 1080
// and its walking block, the family's places), so that a picture can be supplied for each.
void city_search_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* CITY_SEARCH_OWNER = "city search errand";
std::span<const ScriptSlot> city_search_slots();
ScriptRegion city_search_region();
