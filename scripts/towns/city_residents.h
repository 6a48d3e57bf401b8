// The persons of the city (map 200) and of its halls (maps 213, 230 and 231) who are part of no
// scene, errand or trial: figures that only move, residents with fixed lines, the groups whose
// members all speak one exchange, residents whose talk moves on by stage, the walker 1064 and the
// quiz-giver 1068 with its eight questions.
//
// Each resident is a row (its idle cycle and its talk as a table of cells) run by the kit; the
// walker is a route; the quiz is the kit's `quiz_run` followed by a verdict table.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The walker of the city's east side. It stands where the population put it until walker 1041
// sets its ATTR_VAR_B to 1, then walks west to its last point and hides there.
constexpr s32 CITY_WALKER = 1064;
constexpr s32 CITY_WALKER_LAST_X = 1238;
constexpr s32 CITY_WALKER_LAST_Y = 3847;

// The quiz-giver and the item that all eight right answers earn.
constexpr s32 CITY_QUIZ_GIVER = 1068;
constexpr s32 CITY_QUIZ_PRIZE = 1051;

// Calls visit(frame) for every frame these scripts show (idle loops, turns, the walker's walking
// block), so that a picture can be supplied for each.
void city_residents_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* CITY_RESIDENTS_OWNER = "city residents";
std::span<const ScriptSlot> city_residents_slots();
ScriptRegion city_residents_region();
