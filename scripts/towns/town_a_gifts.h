// Town A's quest of the four gifts: the pair that asks for the gifts (objects 408 and 409), the
// persons, trades and step zones of the chains that yield them in the town, its interiors and the
// outskirts (maps 183 and 194), the talk of persons 87 and 86, and the gift that the pair finally
// takes before the presentation.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr const char* TOWN_A_GIFTS_OWNER = "town A quest of the four gifts";

// The objects the quest addresses.
constexpr s32 GIFTS_HOST_OBJ = 408;  // one of the pair that asks for the gifts
constexpr s32 GIFTS_GUEST_OBJ = 409; // the other, who takes the gifts and the presentation
constexpr s32 GIFTS_PERSON87_OBJ = 457;
constexpr s32 GIFTS_PERSON86_OBJ = 485;
constexpr s32 GIFTS_PERSON132_OBJ = 490;
constexpr s32 GIFTS_MEETING_ZONE_OBJ = 495;
constexpr s32 GIFTS_SHOTS_ZONE_OBJ = 498;
constexpr s32 GIFTS_FOUND_GIFT_OBJ = 519;

// The four gifts, the presentation's gift and the shots of the aiming game.
constexpr s32 GIFT_ITEMS[] = {1237, 2383, 2385, 2386};
constexpr s32 GIFT_PRESENTATION_ITEM = 2384;
constexpr s32 GIFT_SHOTS_ITEM = 2200;
constexpr s32 GIFT_SHOTS_GIVEN = 300;

// Whether the player holds one of each of the four gifts.
bool gifts_all_held();

// Every frame these scripts show beyond the objects' first frames (idle loops, turns, scenes),
// each passed to visit.
void town_a_gifts_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

std::span<const ScriptSlot> town_a_gifts_slots();
ScriptRegion town_a_gifts_region();
