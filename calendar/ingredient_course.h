// The ingredient course of place 1.4: a teacher (person 130) about the 37 ingredient items
// 1200..1236 and the consumables made from them. After an introduction with a spot question and a
// first lesson, nine entries open at once: four excursions with a spot question each, four
// lessons that show rows of ingredient symbols and a step toward the training ground. The symbol
// lessons open the final tests, which ask for the ingredients of a consumable not yet known; the
// last of them opens a farewell that closes the place. Any visit may instead bring a short drill
// of spot questions, and a gate closes the whole course once the training is under way and
// skill 15 has reached 50.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// ---- Spot questions ----------------------------------------------------------------------------

constexpr s32 SPOT_PICTURE = 60063, SPOT_PICTURE_X = 169, SPOT_PICTURE_Y = 141;
constexpr s32 SPOT_REACH = 4; // a click hits a point within 4 px in x and in y
// The point (0..15) a click at (x, y) hits first, -1 when none.
s32 spot_point_at(s32 x, s32 y);

struct SpotQuizState {
    s32 asked = -1;
    s32 hit = -1; // the point hit, -1 while none
    u32 frames = 0;
};
extern SpotQuizState spot_quiz_state;

// 1 when the first point hit is `asked`, else 0; clicks that hit no point are ignored.
s32 spot_quiz(s32 asked);
// Up to four spot questions in a row, skill 14 growing with each right answer.
void spot_drill();
// The gate of the gated handlers: 0 go on, 1 the place was closed, 2 the warning was shown.
s32 course_gate();

// ---- Symbol screens ----------------------------------------------------------------------------

constexpr s32 SYMBOL_COUNT = 38;       // symbols 0..37 stand for items 1200..1237
constexpr s32 SYMBOL_INGREDIENTS = 37; // the ingredient items 1200..1236
constexpr s32 SYMBOL_FIRST_ITEM = 1200;
constexpr s32 SYMBOL_ROWS = 4;
constexpr s32 SYMBOL_ROW_MAX = 7;
constexpr s32 SYMBOL_CHOICES = 7;

struct SymbolRow {
    s32 symbol[SYMBOL_ROW_MAX];
    s32 count;
};
extern const SymbolRow SYMBOL_ROW_TABLE[SYMBOL_ROWS];

// The symbol box j (0..6) that holds (x, y), -1 when none; where two boxes meet the lower j wins.
s32 symbol_box_at(s32 x, s32 y);

struct SymbolScreenState {
    s32 shown = -1;                  // the lesson: the symbol index framed; the test: -1
    s32 question = 0;                // the test: questions answered right so far (k)
    s32 right = -1;                  // the test: the right symbol of the question
    s32 right_at = -1;               // the test: its position p
    s32 choice[SYMBOL_CHOICES] = {}; // the test: the symbols offered
    s32 chosen = -1;                 // the test: the box clicked last
    s32 up = 0; // what waits for the player: 0 nothing, 1 a question, 2 a click
    u32 frames = 0;
};
extern SymbolScreenState symbol_screen_state;

// The symbols of row 0..3, one after the other with name and description (a row outside does
// only the lines).
void symbol_lesson(s32 row);
// The ingredients of consumable `recipe` one by one (recipe -1: three random symbols): 1 passed,
// 0 failed.
s32 symbol_test(s32 recipe);

// ---- Final-test recipes ------------------------------------------------------------------------

struct CourseRecipe {
    s32 known_id;  // the entry of known list 14 that marks it known
    s32 min_skill; // skill 14 must be above this
    s32 recipe;
};
constexpr s32 COURSE_RECIPES = 8;
extern const CourseRecipe COURSE_RECIPE_TABLE[COURSE_RECIPES];
// The first candidate not known with skill 14 above its threshold, -1 when none.
s32 course_recipe();

void calendar_event_061();
void calendar_event_062();
void calendar_event_063();
void calendar_event_064();
void calendar_event_065();
void calendar_event_066();
void calendar_event_067();
void calendar_event_068();
void calendar_event_069();
void calendar_event_070();
void calendar_event_071();
void calendar_event_072();
void calendar_event_073();
void calendar_event_097();

constexpr const char* INGREDIENT_COURSE_OWNER = "calendar ingredient course";
std::span<const CalendarSlot> ingredient_course_slots();
void register_ingredient_course();
