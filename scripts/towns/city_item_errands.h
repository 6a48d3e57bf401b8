// The item errands of the city (map 200) and its interiors (map 231): residents who ask for an
// item and give another, money, chivalry or a story value for it, several of them in chains in
// which one resident's reward is what the next one asks for; the spot on map 200 where item 2376
// lies; and object 1066, which walks out of the city on its own timer after its handover.
//
// Each talk is a table of cells (scripts/cells.h); 1066's walk-off is a route (scripts/routes.h).
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The resident who walks out of the city after taking item 2351, and the entry of the hub's
// second event pool that its handover switches on.
constexpr s32 CITY_ERRAND_WALKER = 1066;
constexpr s32 CITY_ERRAND_POOL_B_ENTRY = 15;

// Calls visit(frame) for every frame these scripts show (idle loops, turns, frames set after a
// talk, the walker's walking block), so that a picture can be supplied for each.
void city_item_errands_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* CITY_ITEM_ERRANDS_OWNER = "city item errands";
std::span<const ScriptSlot> city_item_errands_slots();
ScriptRegion city_item_errands_region();
