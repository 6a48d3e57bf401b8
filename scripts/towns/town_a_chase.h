// Town A's northern side story: the fall in the north of map 102 (step zone 470 and objects 465,
// 468), person 122 and the pair that gathers at the seller 405, the chase of person 121 through
// map 121 and the hidden passage to map 190, and the duel there (step zone 478) that writes
// `story_flag_83`. The watchers 411 and 412 and person 120 (413) stand along the way.
//
// All objects belong to the world population; the scripts only show, hide, move and restage them.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The outcome of the duel: 1 the player fought person 121 (won or lost), 2 the player declined.
constexpr s32 CHASE_DUEL_FLAG = 83;
constexpr s32 CHASE_DUEL_FOUGHT = 1;
constexpr s32 CHASE_DUEL_DECLINED = 2;
// What the seller 405 sells (the quest of the four gifts needs its second stock).
constexpr s32 CHASE_SELLER_OBJ = 405;
constexpr s32 CHASE_SELLER_ITEM = 2382;

// The step zone in the north of map 102 and the slots it takes on the way: the fall, then the
// chase (given by the seller's stage-2 talk), then the blocking remark.
constexpr s32 CHASE_ZONE_OBJ = 470;
constexpr s32 CHASE_SLOT_FALL = 867;
constexpr s32 CHASE_SLOT_CHASE = 898;
constexpr s32 CHASE_SLOT_REMARK = 899;

// Calls visit(frame) for every frame these scripts show beyond the objects' first.
void town_a_chase_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

void object_event_0171(); // the seller 405
void object_event_0177(); // the watcher 411
void object_event_0178(); // the watcher 412
void object_event_0179(); // person 120 (413) on map 121
void object_event_0188(); // 422 of the pair at the seller
void object_event_0189(); // 423 of the pair at the seller
void object_event_0867(); // zone 470: the fall
void object_event_0868(); // the fallen object 468
void object_event_0869(); // person 122 (466)
void object_event_0870(); // spot 472: the passage
void object_event_0871(); // spot 473
void object_event_0872(); // zone 478: the duel
void object_event_0898(); // zone 470: the chase
void object_event_0899(); // the blocking remark (470 after the chase, 479 after the duel)

constexpr const char* TOWN_A_CHASE_OWNER = "town A northern chase";
std::span<const ScriptSlot> town_a_chase_slots();
ScriptRegion town_a_chase_region();
