#pragma once
// Town A's day: the director of the free walk (object 469), the arrival timer (object 507) and
// the presentation of the four gifts.
//
// The director runs on every field frame of the walk: the body's upkeep once a game minute, the
// scene and the fight of 11:00 (once: the minute moves on to 1 as it starts), and the close of
// the day on its first frame from 15:00 on. The arrival plays the welcome five frames into the
// walk. Both stay quiet once the walk has ended (`world_state.field_active` 0), so that a timer
// that falls due later in the pass that ended it cannot overwrite the outcome.
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr const char* TOWN_A_DIRECTOR_OWNER = "town A day director";

// The objects of the day that the director and the presentation move.
constexpr s32 TOWN_A_DIRECTOR_OBJ = 469;
constexpr s32 TOWN_A_ARRIVAL_OBJ = 507;
constexpr s32 TOWN_A_HOST_OBJ = 408;   // the host who takes the gifts
constexpr s32 TOWN_A_GUEST_OBJ = 409;  // the one who receives the presentation
constexpr s32 TOWN_A_FRIEND_OBJ = 457; // person 87, beside the player all day
constexpr s32 TOWN_A_GIFT_ITEM = 2384;
constexpr s32 TOWN_A_OUTCOME_FLAG = 84;
// The presentation pleases from this score on.
constexpr s32 TOWN_A_GOOD_SCORE = 90;

// The presentation of the gifts to the hosts: the verdict by the hour and the player's growth,
// the outcome of the walk (`story_flag_84`) and the end of the walk.
void town_a_presentation();
// The presentation's score at an hour with a value of growth 23 (pure):
// (17 - hour) x 5 + growth / 5 + 70.
s32 town_a_presentation_score(s32 hour, s32 growth23);

void object_event_0866(); // the director (timer only)
void object_event_0887(); // the arrival (timer only)

// Every frame that the director's scenes show, for the placeholder pictures.
void town_a_director_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

std::span<const ScriptSlot> town_a_director_slots();
ScriptRegion town_a_director_region();
