// The opening events: the before-turn handlers of the first 35 turns. The arrival at the hub
// after the first day, the first lessons and tests (a sound lesson, a grid-board lesson, a picture
// lesson, a point search), the entry test of turn 10 on which the game can end, a payment, the
// choice of a first art, and at turn 35 the opening of the full hub menus.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// People whose relation the opening builds.
constexpr s32 OPENING_HOST = 203;    // met on arrival
constexpr s32 OPENING_SEARCH = 204;  // the point search's figure
constexpr s32 OPENING_TEACHER = 205; // the teacher of the lessons and the entry test
constexpr s32 OPENING_SMITH = 206;   // met at turn 7

// The entry test: at or above PASS the teacher passes the protagonist without the test, at or
// below FAIL the game ends; between them the test decides.
constexpr s32 OPENING_ENTRY_PASS = 54, OPENING_ENTRY_FAIL = 46;

// Turn 6 shows three teaching boards (OPENING_TEACHING_BOARD + 0..2) before its grid boards;
// turn 12 shows the point search's figure with the sought point, at the search picture's place.
constexpr s32 OPENING_TEACHING_BOARD = 60000, OPENING_TEACHING_BOARDS = 3;
constexpr s32 OPENING_POINT_LESSON = 60062;

// The first art chosen at turn 21 (0..3) is kept in this story flag.
constexpr s32 OPENING_ART_FLAG = 79;

void calendar_event_001();
void calendar_event_002();
void calendar_event_004();
void calendar_event_005();
void calendar_event_006();
void calendar_event_007();
void calendar_event_010();
void calendar_event_011();
void calendar_event_012();
void calendar_event_015();
void calendar_event_017();
void calendar_event_024();

constexpr const char* OPENING_OWNER = "calendar opening";
std::span<const CalendarSlot> opening_slots();
void register_opening();
