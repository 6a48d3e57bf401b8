// The walker of map 10 (object 10, also the bath's attendant) and its small quest, kept in story
// flag 1: the first bath starts it, the quest giver of map 31 (object 80) hands over item 2387 or
// is refused, the walker takes the item, a daily-routine resident of map 10 moves it on twice and
// the walker closes it.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr s32 WALKER_QUEST_FLAG = 1;
constexpr s32 WALKER_QUEST_ITEM = 2387;

// The quest's values of story flag 1.
enum WalkerQuest : s32 {
    QUEST_NOT_STARTED = 0,
    QUEST_BATH_TAKEN = 1,
    QUEST_ITEM_RECEIVED = 2,
    QUEST_ITEM_HANDED = 3,
    QUEST_ROUTINE_FIRST = 4, // moved on by the routine resident of map 10
    QUEST_ROUTINE_SECOND = 5,
    QUEST_CLOSED = 6, // refused or finished
};
s32 walker_quest();
// The first bath starts the quest; later baths leave it alone.
void walker_quest_bath_taken();

// The walker's beat, its route's stage in ATTR_VAR_B: a walk to one end, an idle loop there, a
// walk to the other end, an idle loop there, and again. Any other value leaves it standing.
enum WalkerBeat : s32 { BEAT_WALK_WEST = 0, BEAT_IDLE_WEST, BEAT_WALK_EAST, BEAT_IDLE_EAST };

void object_event_0010(); // the walker and bath attendant
void object_event_0037(); // the quest giver of map 31

constexpr const char* HOME_WALKER_OWNER = "home walker quest";
std::span<const ScriptSlot> home_walker_slots();
ScriptRegion home_walker_region();
