// The paid practice of growth 21 (skill 21) in the two towns: object 402 of map 120 (town A,
// shop 34's prices) and object 1036 of map 215 (the city, shop 23's prices) run one script with
// their own constants. The player picks one of six offers, pays its price, holds an eleven-frame
// practice pose, gets hungrier, may recover stamina, hp and mp, and gains experience that shrinks
// after the first practice of each offer and stops after ten. Practices repeat until the player
// stops or the money runs out.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr s32 PRACTICE_SKILL = 21;
constexpr s32 PRACTICE_OFFERS = 6;          // the first six rows of the teacher's shop
constexpr s32 PRACTICE_COUNTER_BASE = 1950; // item_tally[1950 + the row's item offset]
constexpr s32 PRACTICE_COUNTER_LAST = 10;   // an offer taken ten times gives no more experience
constexpr s32 PRACTICE_POSE_FRAMES = 11;
constexpr s32 PRACTICE_ROUNDS_MAX = 200; // practices of one talk at most

// The city teacher's sixth offer moves object 1116 on from this stage to the next.
constexpr s32 PRACTICE_WAITER = 1116;
constexpr s32 PRACTICE_WAITER_STAGE = 1;

// Calls visit(frame) for every frame these scripts show (the idle loop, the player's poses and
// standing frame), so that a picture can be supplied for each.
void paid_practice_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

void object_event_0168(); // 402 of map 120
void object_event_0633(); // 1036 of map 215

constexpr const char* PAID_PRACTICE_OWNER = "paid practice of the towns";
std::span<const ScriptSlot> paid_practice_slots();
ScriptRegion paid_practice_region();
