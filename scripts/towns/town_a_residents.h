// The persons of town A (map 102) and its interiors outside the day's story: talkers by stage,
// pairs who share one conversation, figures that only move on their timers, the guards' pass at
// the town's gate, and the search for person 89 that nothing in play starts.
//
// Each talk is a table of cells (scripts/cells.h) run by the kit; the gate is a step zone.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The gate of map 102: the blocking step zone and the two guards beside it.
constexpr s32 TOWN_A_GATE_ZONE = 449;
constexpr s32 TOWN_A_GATE_GUARD = 406;
constexpr s32 TOWN_A_GATE_SECOND = 407;
// What lets the player through the gate (won in the open world).
constexpr s32 TOWN_A_GATE_PASS_ITEM = 2395;

// Calls visit(frame) for every frame these scripts show (idle loops, turns, the guards' poses),
// so that a picture can be supplied for each.
void town_a_residents_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* TOWN_A_RESIDENTS_OWNER = "town A residents";
std::span<const ScriptSlot> town_a_residents_slots();
ScriptRegion town_a_residents_region();
