// The picture course of place 1.2: the lesson sheet, the test and the course's handlers.
#include "calendar/picture_lessons.h"

#include "calendar/frame.h"
#include "calendar/home_place.h"
#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/player.h"
#include "minigames/frame.h"

using namespace cal_literals;

PictureScreen picture_screen;

namespace {

constexpr s32 COURSE_SET = 1, COURSE_PLACE = 2;
constexpr s32 COURSE_BACKDROP = 60421;
constexpr s32 TEST_STEP = 4; // entry 4 holds the test
// The lesson sheets of steps 0..3: the first set comes back in step 3.
constexpr s32 LESSON_SETS[TEST_STEP] = {0, 1, 2, 0};

// Text sizes (our own choice): the names fit the 24-pixel grid of the lesson sheet.
constexpr s32 NAME_SIZE = 16, LINE_SIZE = 24, TEXT_STYLE = 1;

constexpr CalPerson TEACHER = CalPerson{PICTURE_TEACHER};

s32 cell_x(s32 i) {
    return PICTURE_CELL_X + PICTURE_CELL_STEP * (i % PICTURE_COLUMNS);
}
s32 cell_y(s32 i) {
    return PICTURE_CELL_Y + PICTURE_CELL_STEP * (i / PICTURE_COLUMNS);
}

bool in_quit(s32 x, s32 y) {
    return x >= PICTURE_QUIT_X0 && x <= PICTURE_QUIT_X1 && y >= PICTURE_QUIT_Y0 &&
           y <= PICTURE_QUIT_Y1;
}

void line_text(s32 r, s32 g, s32 b) {
    text_style(TEXT_STYLE);
    text_size(LINE_SIZE);
    text_colour(r, g, b);
}

// Background, the teacher and every cell's picture.
void draw_board() {
    draw_image(0, 0, PICTURE_BACKGROUND, 0);
    draw_image(PICTURE_TEACHER_X, PICTURE_TEACHER_Y, PICTURE_TEACHER_IMAGE, 0);
    for (s32 i = 0; i < PICTURE_CELLS; i++)
        draw_image(cell_x(i), cell_y(i), PICTURE_IMAGE + picture_screen.cells[i], 0);
}

void draw_frame(s32 cell) {
    if (cell >= 0) draw_image(cell_x(cell), cell_y(cell), PICTURE_FRAME, 0);
}

void print_name(s32 cell) {
    const s32 c = cell % PICTURE_COLUMNS, r = cell / PICTURE_COLUMNS;
    print_text_seen(PICTURE_NAME_X + PICTURE_NAME_STEP * c, PICTURE_NAME_Y + PICTURE_NAME_STEP * r,
                    PICTURE_NAME + picture_screen.cells[cell]);
}

// One frame of the lesson sheet; true when the quit label was clicked.
bool lesson_frame() {
    PictureScreen& s = picture_screen;
    ++s.passes;
    const s32 px = pointer_x, py = pointer_y;
    draw_board();
    line_text(0, 0, 0);
    print_text_seen(PICTURE_QUIT_X0, PICTURE_QUIT_Y0, PICTURE_QUIT_TEXT);
    text_size(NAME_SIZE);
    for (s32 i = 0; i < PICTURE_CELLS; i++) print_name(i);
    const s32 pointed = picture_cell_at(px, py);
    if (pointed >= 0) {
        draw_frame(pointed);
        text_colour(25, 5, 0);
        print_name(pointed);
    }
    if (in_quit(px, py)) {
        line_text(25, 5, 0);
        print_text_seen(PICTURE_QUIT_X0, PICTURE_QUIT_Y0, PICTURE_QUIT_TEXT);
    }
    s32 cx = 0, cy = 0;
    const bool quit = frame_take_click(&cx, &cy) == 1 && in_quit(cx, cy);
    screen_present();
    return quit;
}

// The asked name and a line under it over the board.
void print_question(s32 text) {
    line_text(0, 0, 0);
    print_text_seen(PICTURE_NAME_X, PICTURE_ASK_Y, text);
    text_colour(25, 5, 0);
    print_text_seen(PICTURE_NAME_X, PICTURE_NAME_Y, PICTURE_NAME + picture_screen.asked);
}

void click_wait() {
    picture_screen.waiting = true;
    frame_click_wait({.x = PICTURE_MARKER_X, .y = PICTURE_MARKER_Y});
    picture_screen.waiting = false;
}

// A new question: the asked picture (one of the 96 of the lesson sets) in a drawn cell, every
// other cell a different picture of all 100.
void deal() {
    PictureScreen& s = picture_screen;
    bool taken[PICTURE_COUNT] = {};
    s.asked = cal_rand(PICTURE_ASKED);
    taken[s.asked] = true;
    s.target = cal_rand(PICTURE_CELLS);
    for (s32 i = 0; i < PICTURE_CELLS; i++) {
        if (i == s.target) {
            s.cells[i] = s.asked;
            continue;
        }
        s.cells[i] = cal_draw_new(taken);
    }
}

// Frames of the question until a cell is clicked; returns that cell.
s32 ask() {
    PictureScreen& s = picture_screen;
    s.passes = 0;
    s32 chosen = -1;
    while (chosen < 0) {
        ++s.passes;
        const s32 px = pointer_x, py = pointer_y;
        draw_board();
        print_question(PICTURE_ASK_TEXT);
        draw_frame(picture_cell_at(px, py));
        s32 cx = 0, cy = 0;
        if (frame_take_click(&cx, &cy) == 1) chosen = picture_cell_at(cx, cy);
        screen_present();
    }
    return chosen;
}

void answered_right() {
    PictureScreen& s = picture_screen;
    s.right++;
    s.streak++;
    cal_train(cal_skill(PICTURE_ANSWER_SKILL), PICTURE_ANSWER_EXP);
    line_text(0, 0, 0);
    print_text_seen(PICTURE_NAME_X, PICTURE_RIGHT_Y, PICTURE_RIGHT_TEXT);
    click_wait();
    if (growth_value(PICTURE_SKILL) < CAL_VALUE_MAX)
        cal_train(cal_skill(PICTURE_SKILL),
                  cal_rand(PICTURE_BONUS_SPREAD) + PICTURE_STREAK_EXP * s.streak);
}

// The board again with the frame over the right cell.
void answered_wrong() {
    PictureScreen& s = picture_screen;
    s.streak = 0;
    draw_board();
    draw_frame(s.target);
    print_question(PICTURE_WRONG_TEXT);
    click_wait();
}

} // namespace

s32 picture_cell_at(s32 x, s32 y) {
    for (s32 i = 0; i < PICTURE_CELLS; i++) {
        const s32 cx = cell_x(i), cy = cell_y(i);
        if (x >= cx && x <= cx + PICTURE_CELL_SIZE - 1 && y >= cy &&
            y <= cy + PICTURE_CELL_SIZE - 1)
            return i;
    }
    return -1;
}

void picture_lesson(s32 set) {
    if (set < 0 || set >= PICTURE_SETS) return;
    picture_screen = {};
    cal_lines({{.text = 55680_t}, {.text = 55681_t, .to = 55683_t, .right = {TEACHER}}});
    mouse_buttons = 0;
    for (s32 i = 0; i < PICTURE_CELLS; i++) picture_screen.cells[i] = PICTURE_CELLS * set + i;
    while (!lesson_frame()) {
    }
    cal_train(cal_skill(PICTURE_SKILL), PICTURE_LESSON_EXP);
}

void picture_test() {
    picture_screen = {};
    if (growth_value(PICTURE_SKILL) >= CAL_VALUE_MAX) {
        cal_close(cal_place(COURSE_SET, COURSE_PLACE, TEST_STEP));
        cal_place_button(COURSE_PLACE, COURSE_SET, 0);
        cal_lines({{.text = 55700_t, .to = 55706_t, .right = {TEACHER}}});
        return;
    }
    cal_lines({{.text = 55680_t},
               {.text = 55681_t, .to = 55682_t, .right = {TEACHER}},
               {.text = 55684_t, .right = {TEACHER}}});
    mouse_buttons = 0;
    PictureScreen& s = picture_screen;
    for (s.question = 0; s.question < PICTURE_TEST_QUESTIONS; s.question++) {
        deal();
        if (ask() == s.target)
            answered_right();
        else
            answered_wrong();
    }
    affection_add(PICTURE_FRIEND, s.right / 3);
    if (s.streak == PICTURE_TEST_QUESTIONS) {
        cal_lines({{.text = 55686_t, .right = {TEACHER}}});
        player_record.mood = 0;
        player_record.mood_turns = 0;
    }
    cal_lines({{.text = 55687_t, .to = 55688_t, .right = {TEACHER}}});
}

void picture_course_stage(s32 step) {
    if (step < 0 || step > TEST_STEP) return;
    hub_block.scene_backdrop = COURSE_BACKDROP;
    if (step == TEST_STEP) {
        picture_test();
        return;
    }
    picture_lesson(LESSON_SETS[step]);
    place_chain_advance(COURSE_SET, COURSE_PLACE, step);
}

void calendar_event_056() {
    picture_course_stage(0);
}
void calendar_event_057() {
    picture_course_stage(1);
}
void calendar_event_058() {
    picture_course_stage(2);
}
void calendar_event_059() {
    picture_course_stage(3);
}
void calendar_event_060() {
    picture_course_stage(TEST_STEP);
}

// Pool B entry 2: the teacher's invitation opens the course.
void calendar_event_076() {
    cal_lines({{.backdrop = 60423_pic, .text = 55660_t, .to = 55662_t},
               {.text = 55663_t, .to = 55676_t, .right = {TEACHER}, .left = {CAL_NOBODY}}});
    cal_close(cal_pool_b(2));
    cal_open(cal_place(COURSE_SET, COURSE_PLACE, 0));
    cal_place_button(COURSE_PLACE, COURSE_SET, 1);
    cal_turns(1);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {56, calendar_event_056}, {57, calendar_event_057}, {58, calendar_event_058},
    {59, calendar_event_059}, {60, calendar_event_060}, {76, calendar_event_076},
};
} // namespace

std::span<const CalendarSlot> picture_lessons_slots() {
    return SLOTS;
}

void register_picture_lessons() {
    calendar_install(SLOTS, PICTURE_LESSONS_OWNER);
}
