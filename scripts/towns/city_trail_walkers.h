// The people of the city (map 200 and its interiors) who keep no shop and play no part in the
// city's story: idle figures, talkers and pairs of talkers, the fortune teller, the seller of one
// item, the pair that invites the player to the fishing contest, the city gate, the street scene
// that sends one of its actors walking out of town, and the trail of ground pictures that leads
// the player and the two companions to a hidden doorway.
//
// The talks are tables of cells (scripts/cells.h) run by the kit; the gate and the street scene
// are step zones, the walker a route, and the trail a picture view with the companions'
// walk-outs.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"
#include "scripts/towns/city_residents.h" // CITY_WALKER, the second fighter

#include <span>

// The city gate: the blocking step zone, its two guards, the open world's person whose stage 1
// opens it, and the figure shown once it is open.
constexpr s32 CITY_GATE_ZONE = 1007;
constexpr s32 CITY_GATE_GUARD_A = 1001;
constexpr s32 CITY_GATE_GUARD_B = 1002;
constexpr s32 CITY_GATE_OPENER = 2359;
constexpr s32 CITY_GATE_SHOWN = 2360;

// The street scene: its zone, the keeper who watches it, and the two who fight in it. The first
// fighter walks out of town afterwards (its ATTR_VAR_B is its walk's leg) and, on the first point,
// sets the second one walking (ATTR_VAR_B := 1).
constexpr s32 CITY_STREET_ZONE = 1040;
constexpr s32 CITY_STREET_KEEPER = 1012;
constexpr s32 CITY_STREET_WALKER = 1041;
constexpr s32 CITY_STREET_WALKER_FIRST_LEG = 15;

// The picture trail in its order, the companions and the doorway it uncovers.
constexpr s32 CITY_TRAIL_FIRST = 1049;
constexpr s32 CITY_TRAIL_SECOND = 1046;
constexpr s32 CITY_TRAIL_THIRD = 1047;
constexpr s32 CITY_TRAIL_LAST = 1050;
constexpr s32 CITY_TRAIL_SPARE = 1045;
constexpr s32 CITY_TRAIL_DOOR = 1389;
constexpr s32 CITY_COMPANION_A = 1058; // person 152
constexpr s32 CITY_COMPANION_B = 1059; // person 150
constexpr s32 CITY_TRAIL_PICTURE = 42501;
constexpr s32 CITY_TRAIL_GROUND = 42500;

// Calls visit(frame) for every frame these scripts show (idle loops, turns, the guards' poses,
// the fight, the companions), so that a picture can be supplied for each.
void city_trail_walkers_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* CITY_TRAIL_WALKERS_OWNER = "city residents and trail";
std::span<const ScriptSlot> city_trail_walkers_slots();
ScriptRegion city_trail_walkers_region();
