#pragma once
// The episode of the crossing (calendar slot 044): the player and his companion, person 203, cross
// maps 139 and 130 past groups that challenge them, may win person 193 over on map 138, open the
// chests of the side caves and fight the final battle on map 131. A lost fight on the way takes
// all the money; every outcome is written to `story_flag_88` (1 won, 2 lost).
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr const char* CROSSING_OWNER = "the crossing of maps 130-139";

constexpr s32 CROSSING_OUTCOME_FLAG = 88;
constexpr s32 CROSSING_ALLY_FLAG = 87; // 1 once person 193 has joined
constexpr s32 CROSSING_WON = 1;
constexpr s32 CROSSING_LOST = 2;

constexpr s32 CROSSING_COMPANION_OBJ = 347; // person 203, shown only during scenes
constexpr s32 CROSSING_PASSAGE_OBJ = 354;   // its ATTR_VAR_A is the passage's stage
constexpr s32 CROSSING_ALLY_OBJ = 393;      // person 193 on map 138
constexpr s32 CROSSING_PASSAGE_ITEM = 2201;
constexpr s32 CROSSING_FINAL_ENCOUNTER = 72;
constexpr s32 CROSSING_PRIZE = 5000;

// The passage's stages.
constexpr s32 PASSAGE_FIRST_TALK = 0;
constexpr s32 PASSAGE_TALKED = 1;
constexpr s32 PASSAGE_ITEM_HELD = 2;

// Every frame and picture these scripts show that no scene row names, each passed to visit.
void crossing_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

std::span<const ScriptSlot> crossing_slots();
ScriptRegion crossing_region();
