// Two groups of residents that talk as a group:
//
// - the couple of map 10 (objects 12 and 13, persons 180 and 179): a click on either turns both
//   toward the player; their stages carry a first meeting with a hand game, a recipe errand with
//   three items and two visits of the open world;
// - the guests of the guest house of map 24 (objects 17-21 and 27): they talk by stage, answer
//   differently while the player lies in the rest service of the room (pose 46) or has just been
//   woken (pose 48), and introduce persons 81 and 33.
//
// The talks are tables of cells (scripts/cells.h).
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The couple.
constexpr s32 COUPLE_HUSBAND_OBJ = 12; // person 180
constexpr s32 COUPLE_WIFE_OBJ = 13;    // person 179
constexpr s32 COUPLE_REARM = 10;
// The recipe errand: one of each item and the cooking skill at this level.
constexpr s32 ERRAND_ITEMS[] = {1230, 1232, 1234};
constexpr s32 ERRAND_SKILL = 14;
constexpr s32 ERRAND_SKILL_LEVEL = 70;
// Whether the player holds the three items and has the skill for the errand.
bool couple_errand_ready();
// Where person 180's box goes in its wife's talk when the player's box is at `pos` (0..4).
s32 couple_husband_box(s32 pos);

// The guest house of map 24.
constexpr s32 GUEST_A_OBJ = 17;
constexpr s32 GUEST_B_OBJ = 18;
constexpr s32 GUEST_HOST_OBJ = 19; // person 81
constexpr s32 GUEST_C_OBJ = 20;
constexpr s32 GUEST_33_OBJ = 21; // person 33
constexpr s32 ROOM_KEEPER_OBJ = 27;
// What the room keeper opens: the thing to look at in map 25 goes off, the step area stops
// blocking.
constexpr s32 ROOM_SIGHT_OBJ = 99;
constexpr s32 ROOM_PASSAGE_OBJ = 101;

void object_event_0012();
void object_event_0013();
void object_event_0015();
void object_event_0016();
void object_event_0017();
void object_event_0018();
void object_event_0019();
void object_event_0025();

// Every frame that these scripts show or set beyond an object's first frame, so that the
// placeholder archive can be checked to hold a picture for each.
void couple_guests_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* HOME_COUPLE_GUESTS_OWNER = "home couple and guests";
std::span<const ScriptSlot> home_couple_guests_slots();
ScriptRegion home_couple_guests_region();
