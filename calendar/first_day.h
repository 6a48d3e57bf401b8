// The first day: turn 0's after-turn handler. It puts the protagonist on the walkable home map,
// saves the day's start into slot 0, runs the field loop until the first-day director (object 5)
// ends the day, and then hands the protagonist to the hub in its starting state: ill for five
// turns, with only the top bar's buttons 5 and 7 offered meanwhile. A game saved during the day
// (slot 0 or 1) comes back with the field loop marked running; the handler then skips the
// preparation and resumes the day on the loaded state.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// Before the day.
constexpr s32 FIRST_DAY_AREA = 1;               // the home map's area code
constexpr s32 FIRST_DAY_DIRECTOR = 5;           // the director's timer object
constexpr s32 FIRST_DAY_MENU_HIGHLIGHT = 25760; // the choice boxes' highlight on the map
constexpr s32 FIRST_DAY_SAVE_SLOT = 0;
// After the day: the hub's starting state.
constexpr s32 FIRST_DAY_MUSIC = 10061;
constexpr s32 FIRST_DAY_CURSOR = 13;
constexpr s32 FIRST_DAY_CONDITION = 6;
constexpr s32 FIRST_DAY_MOOD = 3;
constexpr s32 FIRST_DAY_STAMINA = 100;
constexpr s32 FIRST_DAY_SICK_TURNS = 5;
constexpr s32 FIRST_DAY_TOP_BUTTON = 5;  // hub_menu_avail[0][5]
constexpr s32 FIRST_DAY_BACK_BUTTON = 7; // hub_menu_avail[i][7] for every level i
constexpr s32 FIRST_DAY_MENU_LEVELS = 7;

void calendar_event_000();

constexpr const char* FIRST_DAY_OWNER = "calendar first day";
std::span<const CalendarSlot> first_day_slots();
void register_first_day();
