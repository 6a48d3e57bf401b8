// The picture course of place 2 of place set 1: one teacher, four lessons in which the
// protagonist looks at a sheet of 24 named pictures, then a test of ten questions that comes
// back at every visit until skill 12 reaches 100 and then closes the place. The course is opened
// by a pool B event (slot 076).
//
// Both screens are full-screen loops over their own background: they draw, present and poll the
// mouse themselves.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// The sheet: 24 cells in 4 rows of 6; cell i shows its image at (126 + 64 c, 21 + 64 r) and
// answers x .. x + 63, y .. y + 63.
constexpr s32 PICTURE_CELLS = 24, PICTURE_COLUMNS = 6;
constexpr s32 PICTURE_CELL_X = 126, PICTURE_CELL_Y = 21, PICTURE_CELL_STEP = 64;
constexpr s32 PICTURE_CELL_SIZE = 64;
// Picture n (0..99) is image 36000 + n with the name text 36000 + n; a lesson sheet of set k
// shows pictures 24 k + i. Only the 96 pictures of sets 0..3 are asked.
constexpr s32 PICTURE_COUNT = 100, PICTURE_ASKED = 96, PICTURE_SETS = 4;
constexpr s32 PICTURE_IMAGE = 36000, PICTURE_NAME = 36000;
// The name of cell i on the lesson sheet: (89 + 24 c, 355 + 24 r).
constexpr s32 PICTURE_NAME_X = 89, PICTURE_NAME_Y = 355, PICTURE_NAME_STEP = 24;
// Furniture of both screens.
constexpr s32 PICTURE_BACKGROUND = 62599, PICTURE_FRAME = 62598;
constexpr s32 PICTURE_TEACHER_IMAGE = 1152, PICTURE_TEACHER_X = 468, PICTURE_TEACHER_Y = 306;
constexpr s32 PICTURE_TEACHER = 305; // the teacher's person number in the dialogue
// The lesson's quit label: text 331 at (410, 427), answering x 410..458, y 427..451.
constexpr s32 PICTURE_QUIT_TEXT = 331, PICTURE_QUIT_X0 = 410, PICTURE_QUIT_Y0 = 427;
constexpr s32 PICTURE_QUIT_X1 = 458, PICTURE_QUIT_Y1 = 451;
// The test's texts: the question at (89, 379), the asked name at (89, 355), the praise at
// (89, 403); the continue marker at (434, 432).
constexpr s32 PICTURE_TEST_QUESTIONS = 10;
constexpr s32 PICTURE_ASK_TEXT = 55685, PICTURE_RIGHT_TEXT = 55686, PICTURE_WRONG_TEXT = 55690;
constexpr s32 PICTURE_ASK_Y = 379, PICTURE_RIGHT_Y = 403;
constexpr s32 PICTURE_MARKER_X = 434, PICTURE_MARKER_Y = 432;
constexpr s32 PICTURE_SKILL = 12;       // what the course teaches
constexpr s32 PICTURE_ANSWER_SKILL = 3; // what a right answer trains too
constexpr s32 PICTURE_LESSON_EXP = 500, PICTURE_ANSWER_EXP = 30;
constexpr s32 PICTURE_STREAK_EXP = 50, PICTURE_BONUS_SPREAD = 50;
constexpr s32 PICTURE_FRIEND = 152; // whose affection the test raises by right / 3

// The cell whose box holds (x, y), or -1.
s32 picture_cell_at(s32 x, s32 y);

// What the screens show, for tests that follow them.
struct PictureScreen {
    s32 passes = 0;                // frames of the current sheet or question, from 1
    s32 question = -1;             // 0..9 in the test; -1 on the lesson sheet
    s32 cells[PICTURE_CELLS] = {}; // the picture in each cell
    s32 asked = -1, target = -1;   // the asked picture and its cell
    s32 right = 0, streak = 0;     // the test's count of right answers and the current run
    bool waiting = false;          // in a click wait after an answer
};
extern PictureScreen picture_screen;

// The lesson sheet of set 0..3 (any other set shows nothing): lines, then the sheet until the quit
// label is clicked, then skill 12 gains 500 experience whatever its level.
void picture_lesson(s32 set);
// The test of ten questions with its own switching: at skill 12 of 100 it closes the course
// instead.
void picture_test();

// The stage function of place 1.2: step 0..3 the lessons of sets 0, 1, 2 and 0 again (set 3 is
// asked in the test but never shown in a lesson), step 4 the test.
void picture_course_stage(s32 step);

void calendar_event_056();
void calendar_event_057();
void calendar_event_058();
void calendar_event_059();
void calendar_event_060();
void calendar_event_076();

constexpr const char* PICTURE_LESSONS_OWNER = "calendar picture lessons";
std::span<const CalendarSlot> picture_lessons_slots();
void register_picture_lessons();
