// Scheduled story events: dialogue handlers that the hub runs before or after the action of one
// turn because a schedule entry names their slot. Most are written into the schedule while the
// game runs by the handler or script that opens their story thread, and several end by
// scheduling the next step of that thread:
//
//   slot 208 -> before 84: 210
//   three town scripts -> after 151: 211 -> (piece 52 of list 23 at level 70+) after 210: 175
//   slot 132 -> before 109: 133 -> (battle won) before 129: 134
//   slot 027 -> before 59: 136 -> (skill 15 at 10+) after 125: 137
//   slot 192 -> after 79: 154; slot 194 -> after 137: 157
//   the ring-game battle won on turn t -> after t + 5: 124
//   a new game: after 168: 212, after 179: 213, before 61: 220
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// Story flags the threads pass on.
constexpr s32 STORY_FLAG_THREAD_47 = 5;     // slot 210: 1 helped, 0 refused
constexpr s32 STORY_FLAG_HELPED_47 = 52;    // slot 210: 1 when helped
constexpr s32 STORY_FLAG_MET_PAIR = 6;      // slot 212: 1 when the pair's scene ran
constexpr s32 STORY_FLAG_PAIR_ANSWER = 7;   // slot 213: 1 first answer, 2 second
constexpr s32 STORY_FLAG_RING_OUTCOME = 12; // slot 124: 1 won, 2 not won

// Schedule steps written by the handlers of this file.
constexpr s32 STORY_TURN_175 = 210; // after, by slot 211
constexpr s32 STORY_TURN_134 = 129; // before, by slot 133
constexpr s32 STORY_TURN_137 = 125; // after, by slot 136

// The companion of slot 124: battle 6 with the best-liked acquaintance at fighter 1.
constexpr s32 STORY_RING_ENCOUNTER = 6;
constexpr s32 STORY_COMPANION_FIGHTER = 1;    // the first place after the protagonist
constexpr s32 STORY_COMPANION_AFFECTION = 60; // at least
constexpr s32 STORY_COMPANION_EXCLUDED = 40;  // never the companion

// The person the companion search of slot 124 finds: among the acquaintances (entries above 0,
// in list order) with affection 60 or more, a hub portrait above 0 and a roster entry, other than
// person 40, the one with the highest affection; a later one replaces the kept one only with a
// strictly higher affection. -1 when nobody qualifies.
s32 story_companion_search();

void calendar_event_124();
void calendar_event_133();
void calendar_event_134();
void calendar_event_136();
void calendar_event_137();
void calendar_event_154();
void calendar_event_157();
void calendar_event_175();
void calendar_event_210();
void calendar_event_211();
void calendar_event_212();
void calendar_event_213();
void calendar_event_220();

constexpr const char* STORY_EVENTS_OWNER = "calendar story events";
std::span<const CalendarSlot> story_events_slots();
void register_story_events();
