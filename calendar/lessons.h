// The lesson course of place 1 of place set 1: one teacher (person 140), an introduction, twelve
// illustrated lessons that teach skill 11, three exams that also teach skill 8, and a final exam
// that comes back until it is answered right with skill 11 at 100 and then closes the place. The
// seventeen entries of the place run strictly in order: each handler is a stub that calls the
// course's stage function with its step.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 LESSON_TEACHER = 140;
constexpr s32 LESSON_SKILL = 11;       // what the lessons and exams teach
constexpr s32 LESSON_EXAM_SKILL = 8;   // what the three course exams teach too
constexpr s32 LESSON_READING_ATTR = 5; // attribute 30, trained by reading a lesson few times
constexpr s32 LESSON_PIC_X = 200, LESSON_PIC_Y = 55; // every picture, over the portraits

// A lesson: line T [-], the teacher's lines T + 1 .. T + intro, then the pages (page j: picture
// P + j with text `page_text` + j), read again as often as the player asks.
struct IllustratedLesson {
    s32 first_text; // T
    s32 intro;      // the teacher's lines after T
    s32 page_text;  // the text of page 0
    s32 pages;
    s32 first_picture;   // P
    s32 skill_exp;       // skill 11's experience at the end
    bool trains_reading; // attribute 30 gains (4 - readings) x 100 when read fewer than 4 times
};
constexpr s32 LESSON_COUNT = 11; // illustrated_lesson(1..11)
// Row 0 is the course's first lesson (slot 081); rows 1..11 are `illustrated_lesson`(n).
constexpr IllustratedLesson ILLUSTRATED_LESSONS[LESSON_COUNT + 1] = {
    {12000, 3, 12004, 8, 63100, 500, false}, {12020, 2, 12023, 10, 63110, 200, true},
    {12040, 2, 12043, 14, 63120, 200, true}, {12060, 2, 12063, 16, 63140, 200, true},
    {12080, 2, 12083, 16, 63160, 300, true}, {12100, 2, 12103, 6, 63180, 300, true},
    {12120, 2, 12123, 10, 63190, 300, true}, {12140, 2, 12143, 12, 63200, 300, true},
    {12160, 2, 12163, 10, 63220, 400, true}, {12180, 2, 12183, 4, 63230, 400, true},
    {12200, 2, 12203, 18, 63240, 400, true}, {12240, 2, 12243, 16, 63260, 400, true},
};
constexpr s32 LESSON_READINGS_TRAINED = 4; // readings from which attribute 30 gains nothing
constexpr s32 LESSON_READING_EXP = 100;

// The exam questions q = 0..11: text 12310 + 5 q, options 12311 + 5 q .. 12314 + 5 q, the right
// option q mod 4, skill 11 required and the picture.
constexpr s32 LESSON_QUESTIONS = 12;
constexpr s32 LESSON_QUESTION_TEXT = 12310, LESSON_QUESTION_STRIDE = 5, LESSON_OPTIONS = 4;
struct LessonQuestion {
    s32 picture;
    s32 required;
};
constexpr LessonQuestion LESSON_QUESTION_TABLE[LESSON_QUESTIONS] = {
    {63104, 40}, {63110, 40}, {63130, 40}, {63140, 40}, {63162, 60}, {63180, 60},
    {63196, 60}, {63205, 60}, {63222, 80}, {63232, 80}, {63250, 80}, {63270, 80},
};

// The exam kinds: 0 the final exam, 1..3 the course exams. Each draws its question from
// first .. first + count - 1; a course exam passed closes its entry and opens the next.
struct LessonExamKind {
    s32 first_question, questions;
    s32 entry; // its place entry
};
constexpr s32 LESSON_EXAM_KINDS = 4;
constexpr LessonExamKind LESSON_EXAM_KIND_TABLE[LESSON_EXAM_KINDS] = {
    {0, 12, 16},
    {0, 4, 5},
    {4, 4, 10},
    {8, 4, 15},
};

// One lesson, n 1..11 (any other n does nothing).
void illustrated_lesson(s32 n);
// One exam question q 0..11 of kind 0..3 (anything else does nothing).
void lesson_exam(s32 q, s32 kind);

// The course's steps, entry k of the place holding step k.
enum class LessonStepKind : s32 { Intro, Lesson, Exam };
struct LessonStep {
    LessonStepKind kind;
    s32 arg; // Lesson: the row of ILLUSTRATED_LESSONS; Exam: the kind
};
constexpr s32 LESSON_STEPS = 17;
constexpr LessonStep LESSON_STEP_TABLE[LESSON_STEPS] = {
    {LessonStepKind::Intro, 0},  {LessonStepKind::Lesson, 0},  {LessonStepKind::Lesson, 1},
    {LessonStepKind::Lesson, 2}, {LessonStepKind::Lesson, 3},  {LessonStepKind::Exam, 1},
    {LessonStepKind::Lesson, 4}, {LessonStepKind::Lesson, 5},  {LessonStepKind::Lesson, 6},
    {LessonStepKind::Lesson, 7}, {LessonStepKind::Exam, 2},    {LessonStepKind::Lesson, 8},
    {LessonStepKind::Lesson, 9}, {LessonStepKind::Lesson, 10}, {LessonStepKind::Lesson, 11},
    {LessonStepKind::Exam, 3},   {LessonStepKind::Exam, 0},
};
// The stage function of place 1.1 (steps outside 0..16 do nothing).
void lesson_course_stage(s32 step);

void calendar_event_080();
void calendar_event_081();
void calendar_event_082();
void calendar_event_083();
void calendar_event_084();
void calendar_event_085();
void calendar_event_086();
void calendar_event_087();
void calendar_event_088();
void calendar_event_089();
void calendar_event_090();
void calendar_event_091();
void calendar_event_092();
void calendar_event_093();
void calendar_event_094();
void calendar_event_095();
void calendar_event_096();

constexpr const char* LESSONS_OWNER = "calendar lessons";
std::span<const CalendarSlot> lessons_slots();
void register_lessons();
