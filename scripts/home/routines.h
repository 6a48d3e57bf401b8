// The daily routines of the home map: nine residents walk their day across map 10 and into the
// interiors on their timers, stage by stage (ATTR_VAR_A), gated by the clock, and talk by the
// stage they have reached. The stages are the ones the NPC timetables give, so a jump of the clock
// puts a resident at a resting point from which its routine goes on.
//
//   slot  object  resident
//   113   217     walks to the fields, the hall, the kitchen and to bed; hands 218 its stages
//   114   218     walks beside 217
//   115   219     walks to the north gate and back
//   119   223     walks to the hall, to the kitchen and off; hands stages back and forth with 6
//   121   225     a visitor from 10:00, speaks in its own box; the meetings with person 167
//   122   226     the visitor's companion
//   123   227     the visitor's second companion
//   126   123     walks to the workshop and ends the day there; the walker quest (story flag 1)
//   130   232     comes down from its home at noon; the task of item 1844 (story flag 0)
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"
#include "scripts/routes.h"

#include <span>

void object_event_0113();
void object_event_0114();
void object_event_0115();
void object_event_0119();
void object_event_0121();
void object_event_0122();
void object_event_0123();
void object_event_0126();
void object_event_0130();

// The talk distance of every resident here.
constexpr s32 ROUTINE_TALK_FAR = 300;
// Person 167 (the visitor, portrait 1167) and the entry of 232's relation counter.
constexpr s32 ROUTINE_VISITOR_PERSON = 167;
constexpr s32 ROUTINE_VISITOR_PORTRAIT = 1167;
constexpr s32 ROUTINE_HOME_RELATION = 300;

// The route of a resident's object (217, 218, 219, 223, 225, 226, 227, 123, 232), or nullptr.
const Route* routine_route(s32 obj);

constexpr const char* HOME_ROUTINES_OWNER = "home routines";
std::span<const ScriptSlot> home_routines_slots();
ScriptRegion home_routines_region();
