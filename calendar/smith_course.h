// The smith's course of place 0.3 (set 0, place 3): the master (person 50) hands out the first
// materials and recipes and lets the protagonist try the recipe screen; three later visits teach
// further recipes once skill 16 has reached 40, 60 and 80, the last by the protagonist's
// strongest of skills 5, 6 and 7. A visit below the requirement keeps its entry open.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 SMITH_MASTER = 50; // person
constexpr s32 SMITH_SET = 0, SMITH_PLACE = 3;
constexpr s32 SMITH_SKILL = 16; // growth index the visits wait for
constexpr s32 SMITH_FIRST_MATERIAL = 1570;
constexpr s32 SMITH_FIRST_AMOUNT = 100;
constexpr s32 SMITH_QUIT_AFFECTION = 206; // person whose affection a quit costs
constexpr s32 SMITH_LAST_STEP = 3;        // entry 3 (slot 116) ends the course
constexpr s32 SMITH_MASTERY_SKILL = 80;   // skill 16 the last visit waits for

void calendar_event_113();
void calendar_event_114();
void calendar_event_115();
void calendar_event_116();

constexpr const char* SMITH_COURSE_OWNER = "calendar smith course";
std::span<const CalendarSlot> smith_course_slots();
void register_smith_course();
