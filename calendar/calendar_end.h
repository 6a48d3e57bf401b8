// The end of the calendar: the farewell scene after the last turn, the choice of the open-world
// route and the hand-over to the open-world phase. Marks that the map episodes left (and no
// redeeming deed or a high chivalry) offer the second route; everyone else leaves on the first
// through a closing scene with a fight.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 CAL_END_FAREWELL_BATTLE = 90;    // its result changes nothing
constexpr s32 CAL_END_DEPARTURE_BATTLE = 91;   // its result picks the closing scene's lines
constexpr s32 CAL_END_REDEEMING_CHIVALRY = 70; // above this, no offer

// 1 when the second route is offered: a mark (story flag 94 = 1, 81 = 3 or 27 = 1) and no
// redeeming condition (flag 93 = 1 or 3, flag 81 = 1 or 2, chivalry above 70).
bool cal_end_offers_route_two();

// The closing scene that leads to route 1; stores route := 1.
void route1_departure();

void calendar_event_159();

constexpr const char* CALENDAR_END_OWNER = "calendar end";
std::span<const CalendarSlot> calendar_end_slots();
void register_calendar_end();
