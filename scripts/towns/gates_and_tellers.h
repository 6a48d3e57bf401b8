// The mini-game gates of both towns, the fishing contest of the city and the two ranking tellers.
//
// The gates are undrawn click areas (layer 0) with a hover cursor: a click starts their game when
// the player carries its tools and supplies and has the stamina (the kit's `station_gate`, whose
// refusals float over the player); they neither guard the distance nor turn anybody. The aiming
// contest of map 194 plays its win scene and opens the way on; the light-ring gate of map 182
// fixes one symbol by whether person 118 travels with the player. The gate takes no stamina: the
// games apply their own rule.
//
// The contest host of the city (object 1091) idles on its timer and, by its stage, invites the
// player to a fishing contest with rod and bait 2240: the catch (fish 1842 gained in the game) must
// beat a drawn need on the first try and at least equal it on a retry; the prize is item 2361.
//
// The ranking tellers (object 403 of map 120 and 1532 of map 215) give a random tip or show the
// player's place among all fighters.
#pragma once
#include "engine/types.h"
#include "scripts/games.h"
#include "scripts/kit.h"

#include <span>

// ---- Gates -----------------------------------------------------------------------------------

constexpr s32 GATE_AIM_OBJ = 1920;   // map 231
constexpr s32 GATE_BAIT_OBJ = 1921;  // map 200
constexpr s32 GATE_TARGET_OBJ = 513; // map 194, removed after the win
constexpr s32 GATE_RING_OBJ = 518;   // map 182
constexpr s32 RING_COMPANION = 118;  // in the party: the light ring fixes its eighth symbol
constexpr s32 TARGET_PRIZE = 2385;   // the aiming contest's prize
constexpr s32 TARGET_PORTAL = 502;   // map 194 (0, 600) to map 183, shown after the win
constexpr s32 TARGET_BARRIER = 498;  // the blocking zone hidden after the win
constexpr s32 TARGET_ARCHER = 457;   // moved on to stage 4 and placed on map 193
constexpr s32 TARGET_ARCHER_STAGE = 4;
constexpr s32 TARGET_ARCHER_MAP = 193;
constexpr s32 TARGET_ARCHER_X = 313, TARGET_ARCHER_Y = 295;
constexpr s32 TARGET_ARCHER_FRAME = -38202;

// The gate of slot 896 as it runs now: the light ring's symbols by the party.
StationGate light_ring_gate_now();

// ---- The fishing contest ---------------------------------------------------------------------

constexpr s32 HOST_OBJ = 1091;
// The host's ATTR_VAR_A: not yet invited (raised to 1 by a pair of city residents), invited,
// failed or declined, won, and the delivery errand of the shops.
constexpr s32 HOST_NEW = 0;
constexpr s32 HOST_INVITED = 1;
constexpr s32 HOST_RETRY = 2;
constexpr s32 HOST_WON = 3;
constexpr s32 HOST_DELIVERY = 60;
constexpr s32 HOST_FISH = 1842;
constexpr s32 HOST_ROD_LO = 2230, HOST_ROD_HI = 2239;
constexpr s32 HOST_BAIT = 2240; // only this bait counts, not the others of 2241-2249
constexpr s32 HOST_PRIZE = 2361;
constexpr s32 HOST_NEED_MIN = 4;
constexpr s32 HOST_NEED_SPREAD = 5; // the need is 4 + a draw below 5: 4..8
constexpr s32 HOST_REACH = 300;

// The fish in the first inventory entry that holds item 1842 (0 when none does).
s32 host_fish_count();
// Whether a catch wins against the need: more than the need on the first try, at least the need
// on a retry (pure).
bool host_catch_wins(s32 caught, s32 need, bool retry);

// ---- Frames ----------------------------------------------------------------------------------

// Calls visit(frame) for every frame these scripts show beyond the objects' first frames (the
// tellers' idle and turns, the host's idle, the archer placed after the aiming contest).
void gates_and_tellers_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0169(); // the ranking teller of map 120 (also slot 818, map 215)
void object_event_0680(); // the fishing contest host of the city
void object_event_0815(); // the aiming gate of map 231
void object_event_0816(); // the bait-catch gate of the city
void object_event_0818(); // the ranking teller of map 215
void object_event_0891(); // the aiming contest of map 194
void object_event_0896(); // the light-ring gate of map 182

constexpr const char* TOWN_GATES_OWNER = "town gates and ranking tellers";
std::span<const ScriptSlot> town_gates_slots();
ScriptRegion town_gates_region();
