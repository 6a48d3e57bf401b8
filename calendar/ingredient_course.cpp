// The ingredient course of place 1.4: spot questions, the drill, the gate, the symbol lessons and
// tests, and the handlers of the place's fourteen entries.
#include "calendar/ingredient_course.h"

#include "calendar/frame.h"
#include "calendar/opening_screens.h"
#include "data/item_tables.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/frame.h"

#include <cstdlib>

using namespace cal_literals;

const SymbolRow SYMBOL_ROW_TABLE[SYMBOL_ROWS] = {
    {{7, 11, 12, 13, 18, 19, 27}, 7},
    {{0, 1, 3, 15, 20, 21, 36}, 7},
    {{5, 14, 16, 17, 26}, 5},
    {{28, 29, 30, 31, 32, 33, 35}, 7},
};

const CourseRecipe COURSE_RECIPE_TABLE[COURSE_RECIPES] = {
    {50, 40, 0}, {54, 40, 4}, {55, 40, 5},  {57, 60, 7},
    {58, 60, 8}, {59, 60, 9}, {63, 80, 13}, {53, 90, 3},
};

SpotQuizState spot_quiz_state;
SymbolScreenState symbol_screen_state;

namespace {

constexpr s32 IC_SET = 1, IC_PLACE = 4; // place 1.4
constexpr s32 IC_GATE_FLAG_ENTRY = 14;  // its `on` field: 0 warning not shown yet, -1 shown
constexpr s32 IC_SKILL = 14;            // the course's skill
constexpr s32 IC_TRAINING_SKILL = 15;   // the training ground's
constexpr s32 IC_GATE_SKILL = 50;
constexpr s32 IC_KNOWN_LIST = 14;
constexpr CalPicture IC_BACKDROP = 60421_pic;
constexpr CalPerson IC_TEACHER = 130_p;
constexpr CalMusic IC_GATE_MUSIC = 10023_mus;
constexpr s32 IC_SPOT_CURSOR = 1;
constexpr s32 IC_DRILL_QUESTIONS = 15; // the drill asks points 0..14
constexpr s32 IC_DRILL_RIGHT = 4;
constexpr s32 IC_CHANCE = 10, IC_CHANCE_EVENT = 8; // 80 %: the visit's own event

// The symbol screens.
constexpr s32 SY_BACKGROUND = 62599;
constexpr s32 SY_TEACHER = 1149, SY_TEACHER_X = 468, SY_TEACHER_Y = 306;
constexpr s32 SY_IMAGE = 25350; // + symbol
constexpr s32 SY_X = 144, SY_Y = 117, SY_STEP = 50, SY_BOX_BOTTOM = 184;
constexpr s32 SY_FRAME = 25295, SY_FRAME_RIGHT = 25294, SY_FRAME_DX = -5, SY_FRAME_DY = -5;
constexpr s32 SY_TEXT_X = 89, SY_LINE1_Y = 355, SY_LINE2_Y = 379, SY_LINE3_Y = 403;
constexpr s32 SY_LESSON_LINE_CHARS = 14;
constexpr s32 SY_NAME_TEXT = 6200;    // + symbol
constexpr s32 SY_ITEM_TEXT = 5000;    // + item
constexpr s32 SY_DESCRIPTION = 55270; // + symbol
constexpr s32 SY_ASK_TEXT = 55223, SY_WRONG_TEXT = 55224;
constexpr s32 SY_MARKER_X = 434, SY_MARKER_Y = 432;
constexpr s32 SY_RANDOM_QUESTIONS = 3;
constexpr s32 SY_LESSON_EXP = 500, SY_ANSWER_EXP = 100;

CalEntry entry(s32 k) {
    return cal_place(IC_SET, IC_PLACE, k);
}

// Skill 14 grows with `grow`; the summary lines are the handler's own business.
void gain14(CalSummary& sum, s32 n) {
    cal_gain_loud(sum, cal_skill(IC_SKILL), n);
}
void gain14(s32 n) {
    CalSummary unshown;
    gain14(unshown, n);
}

void teacher(CalText text, CalText to = {}) {
    cal_lines({{.text = text, .to = to, .right = {IC_TEACHER}}});
}

// ---- Symbol screens ----------------------------------------------------------------------------

void draw_furniture() {
    draw_image(0, 0, SY_BACKGROUND, 0);
    draw_image(SY_TEACHER_X, SY_TEACHER_Y, SY_TEACHER, 0);
}

void draw_symbols(const s32* symbols, s32 n) {
    for (s32 j = 0; j < n; ++j)
        if (symbols[j] >= 0) draw_image(SY_X + SY_STEP * j, SY_Y, SY_IMAGE + symbols[j], 0);
}

void draw_frame_on(s32 j, s32 image) {
    draw_image(SY_X + SY_STEP * j + SY_FRAME_DX, SY_Y + SY_FRAME_DY, image, 0);
}

void wait_for_click(SymbolScreenState& s) {
    s.up = 2;
    frame_click_wait({SY_MARKER_X, SY_MARKER_Y});
    s.up = 0;
}

// The item of ingredient k of a consumable, -1 when it holds none (or an item that is no
// ingredient, which the symbols cannot show).
s32 ingredient_item(const ConsumableEntry* c, s32 k) {
    if (c == nullptr || k < 0 || k >= INGREDIENT_COUNT) return -1;
    const s32 item = c->ingredients[k].item;
    const bool ingredient =
        item >= SYMBOL_FIRST_ITEM && item < SYMBOL_FIRST_ITEM + SYMBOL_INGREDIENTS;
    return ingredient ? item : -1;
}

// One question: the right symbol at a random position, the other six drawn until not taken.
void deal_choices(SymbolScreenState& s, s32 right, s32 wrong_range) {
    bool taken[SYMBOL_COUNT] = {};
    for (s32& c : s.choice) c = -1;
    s.right = right;
    s.right_at = cal_rand(SYMBOL_CHOICES);
    s.choice[s.right_at] = right;
    taken[right] = true;
    for (s32 p = 0; p < SYMBOL_CHOICES; ++p) {
        if (p == s.right_at) continue;
        s32 v;
        do {
            v = cal_rand(wrong_range);
        } while (v < 0 || v >= SYMBOL_COUNT || taken[v]);
        taken[v] = true;
        s.choice[p] = v;
    }
}

// Shows the question until a symbol box is clicked; returns the box.
s32 ask_symbol(SymbolScreenState& s, s32 asked_text) {
    mouse_buttons = 0;
    s.chosen = -1;
    s.up = 1;
    while (s.chosen < 0) {
        draw_furniture();
        text_colour(0, 0, 15);
        print_text_seen(SY_TEXT_X, SY_LINE1_Y, SY_ASK_TEXT);
        text_colour(25, 5, 0);
        print_text_seen(SY_TEXT_X, SY_LINE2_Y, asked_text);
        draw_symbols(s.choice, SYMBOL_CHOICES);
        const s32 pointed = symbol_box_at(pointer_x, pointer_y);
        if (pointed >= 0) draw_frame_on(pointed, SY_FRAME);
        screen_present();
        ++s.frames;
        s32 x = 0, y = 0;
        if (frame_take_click(&x, &y)) s.chosen = symbol_box_at(x, y);
    }
    s.up = 0;
    return s.chosen;
}

// ---- Visits ------------------------------------------------------------------------------------

// The start of a visit: the backdrop, the gate (when `gated`), then the visit's own event with
// 80 % chance; otherwise the drill, and the entry stays as it is. True for the own event.
bool own_event(bool gated) {
    hub_block.scene_backdrop = cal_id(IC_BACKDROP);
    if (gated && course_gate() != 0) return false;
    if (cal_rand(IC_CHANCE) < IC_CHANCE_EVENT) return true;
    spot_drill();
    return false;
}

// The way out of an excursion: 55196 with person 2 at the left, then the journey.
constexpr CalLine GOING_OUT = {.text = 55196_t, .left = {2_p}};

void symbol_lesson_visit(s32 own, s32 row) {
    hub_block.scene_backdrop = cal_id(IC_BACKDROP);
    if (course_gate() != 0) return;
    symbol_lesson(row);
    cal_close(entry(own));
    for (s32 k = 7; k <= 10; ++k)
        if (cal_is_off(entry(k)) == 0) return;
    cal_open(entry(11));
}

} // namespace

// ---- Spot questions ----------------------------------------------------------------------------

s32 spot_point_at(s32 x, s32 y) {
    for (s32 i = 0; i < PICTURE_POINT_COUNT; ++i)
        if (std::abs(x - PICTURE_POINTS[i].x) <= SPOT_REACH &&
            std::abs(y - PICTURE_POINTS[i].y) <= SPOT_REACH)
            return i;
    return -1;
}

s32 spot_quiz(s32 asked) {
    SpotQuizState& s = spot_quiz_state;
    s = SpotQuizState{};
    s.asked = asked;
    mouse_buttons = 0;
    cursor_select(IC_SPOT_CURSOR);
    while (s.hit < 0) {
        draw_image(SPOT_PICTURE_X, SPOT_PICTURE_Y, SPOT_PICTURE, 0);
        s32 x = 0, y = 0;
        if (frame_take_click(&x, &y)) s.hit = spot_point_at(x, y);
        screen_present();
        ++s.frames;
    }
    cursor_select(0);
    return s.hit == asked ? 1 : 0;
}

void spot_drill() {
    cal_lines({{.text = 55170_t}, {.text = 55171_t, .to = 55172_t, .right = {IC_TEACHER}}});
    s32 count = 0;
    while (count < IC_DRILL_RIGHT) {
        const s32 q = cal_rand(IC_DRILL_QUESTIONS);
        teacher(CalText{12510 + q});
        if (spot_quiz(q) == 0) {
            teacher(55190_t);
            break;
        }
        teacher(55193_t);
        ++count;
        gain14(50 * (count + 1));
    }
    if (count == IC_DRILL_RIGHT) {
        teacher(55194_t, 55195_t);
        player_record.mood = 0;
        player_record.mood_turns = 0;
        affection_add(149, 2);
        return;
    }
    mood_add(-1);
    cal_lines({{.text = 55191_t, .right = {IC_TEACHER}}, {.text = 55192_t}});
}

s32 course_gate() {
    for (const CalEntry& e : {entry(13), cal_pool_b(3), cal_place(1, 6, 0)}) {
        const EventEntry* p = cal_entry(e);
        if (p != nullptr && p->on != 0) return 0;
    }
    EventEntry* flag = cal_entry(entry(IC_GATE_FLAG_ENTRY));
    const bool warned = flag->on != 0;
    if (player_record.skill[IC_TRAINING_SKILL] < IC_GATE_SKILL) {
        if (warned) return 0;
        mssw_play_music(cal_id(IC_GATE_MUSIC), 1);
        teacher(12500_t, 12504_t);
        flag->on = -1;
        mood_add(-1);
        return 2;
    }
    mssw_play_music(cal_id(IC_GATE_MUSIC), 1);
    if (!warned) {
        teacher(12500_t, 12503_t);
        teacher(12505_t);
        flag->on = -1;
    } else {
        teacher(12506_t);
    }
    // Every entry of the place closes, the gate's flag with them.
    for (s32 k = 0; k < HUB_PLACE_POOL_SIZE; ++k) cal_close(entry(k));
    cal_place_button(IC_PLACE, IC_SET, 0);
    mood_add(-1);
    return 1;
}

// ---- Symbol screens ----------------------------------------------------------------------------

s32 symbol_box_at(s32 x, s32 y) {
    if (y < SY_Y || y > SY_BOX_BOTTOM) return -1;
    for (s32 j = 0; j < SYMBOL_CHOICES; ++j)
        if (x >= SY_X + SY_STEP * j && x <= SY_X + SY_STEP * (j + 1)) return j;
    return -1;
}

void symbol_lesson(s32 row) {
    if (row < 0 || row >= SYMBOL_ROWS) return;
    cal_lines({{.text = 55210_t}, {.text = 55211_t, .right = {IC_TEACHER}}});
    teacher(CalText{55212 + row});
    const SymbolRow& r = SYMBOL_ROW_TABLE[row];
    SymbolScreenState& s = symbol_screen_state;
    s = SymbolScreenState{};
    // The texts wrap after 14 characters here; the caller's line length comes back afterwards.
    const s32 limit_before = text_reveal_limit;
    for (s32 i = 0; i < r.count; ++i) {
        s.shown = i;
        draw_furniture();
        draw_symbols(r.symbol, r.count);
        draw_frame_on(i, SY_FRAME);
        text_reveal_limit = SY_LESSON_LINE_CHARS;
        text_colour(25, 5, 0);
        print_text_seen(SY_TEXT_X, SY_LINE1_Y, SY_NAME_TEXT + r.symbol[i]);
        text_colour(0, 0, 15);
        print_text_seen(SY_TEXT_X, SY_LINE2_Y, SY_DESCRIPTION + r.symbol[i]);
        ++s.frames;
        wait_for_click(s);
    }
    text_reveal_limit = limit_before;
    teacher(55216_t);
    gain14(SY_LESSON_EXP);
}

s32 symbol_test(s32 recipe) {
    // A recipe outside the consumables is taken as no recipe: random questions.
    const ConsumableEntry* c = recipe >= 0 ? consumable_for(CONSUMABLE_FIRST + recipe) : nullptr;
    const bool random = c == nullptr;
    SymbolScreenState& s = symbol_screen_state;
    s = SymbolScreenState{};
    for (;;) {
        s32 right, asked_text;
        if (random) {
            if (s.question >= SY_RANDOM_QUESTIONS) return 1;
            right = cal_rand(SYMBOL_INGREDIENTS);
            asked_text = SY_NAME_TEXT + right;
            deal_choices(s, right, SYMBOL_COUNT);
        } else {
            const s32 item = ingredient_item(c, s.question);
            if (item < 0) return 1; // five asked, or the recipe holds no more ingredients
            right = item - SYMBOL_FIRST_ITEM;
            asked_text = SY_ITEM_TEXT + item;
            deal_choices(s, right, SYMBOL_INGREDIENTS);
        }
        if (ask_symbol(s, asked_text) != s.right_at) {
            draw_frame_on(s.right_at, SY_FRAME_RIGHT);
            print_text_seen(SY_TEXT_X, SY_LINE3_Y, SY_WRONG_TEXT);
            wait_for_click(s);
            return 0;
        }
        ++s.question;
        gain14(SY_ANSWER_EXP);
    }
}

s32 course_recipe() {
    for (const CourseRecipe& r : COURSE_RECIPE_TABLE)
        if (known_has(IC_KNOWN_LIST, r.known_id) == 0 &&
            player_record.skill[IC_SKILL] > r.min_skill)
            return r.recipe;
    return -1;
}

// ---- Handlers ----------------------------------------------------------------------------------

void calendar_event_067() {
    hub_block.scene_backdrop = cal_id(IC_BACKDROP);
    cal_lines({{.text = 55100_t}, {.text = 55101_t, .to = 55105_t, .right = {170_p}}});
    if (spot_quiz(2) == 1) {
        cal_lines({{.text = 55110_t, .to = 55113_t, .right = {170_p}}});
        gain14(500);
        cal_lines({
            {.travel = true,
             .text = 55114_t,
             .to = 55116_t,
             .right = {125_p},
             .left = {CAL_NOBODY}},
            {.travel = true,
             .text = 55120_t,
             .to = 55137_t,
             .right = {IC_TEACHER, CAL_NOBODY, 125_p},
             .left = {CAL_NOBODY, 125_p}},
            {.travel = true,
             .text = 55138_t,
             .to = 55140_t,
             .right = {IC_TEACHER},
             .left = {125_p, CAL_NOBODY}},
        });
        acquaint_add(40, 60);
        cal_open(cal_pool_b(8));
    } else {
        cal_lines({
            {.text = 55150_t, .to = 55151_t, .right = {170_p, CAL_NOBODY}, .left = {125_p}},
            {.travel = true, .text = 55152_t, .to = 55153_t, .right = {170_p}, .left = {125_p}},
            {.travel = true,
             .text = 55154_t,
             .to = 55164_t,
             .right = {125_p, IC_TEACHER},
             .left = {CAL_NOBODY, 125_p}},
        });
        acquaint_add(40, 50);
        cal_open(cal_pool_b(9));
    }
    cal_open(cal_pool_a(2));
    cal_close(entry(0));
    cal_open(entry(1));
}

void calendar_event_068() {
    hub_block.scene_backdrop = cal_id(IC_BACKDROP);
    teacher(11640_t, 11655_t);
    CalSummary sum;
    gain14(sum, 500);
    for (s32 k = 2; k <= 6; ++k) known_add(IC_KNOWN_LIST, k);
    cal_summary_show(sum);
    cal_close(entry(1));
    for (s32 k : {2, 3, 4, 6, 7, 8, 9, 10, 13}) cal_open(entry(k));
}

void calendar_event_069() {
    if (!own_event(true)) return;
    cal_lines({GOING_OUT,
               {.travel = true, .text = 11672_t, .to = 11675_t, .right = {75_p}},
               {.sound = 666_snd, .text = 11676_t, .to = 11677_t, .right = {75_p}}});
    if (spot_quiz(9) == 0) {
        cal_lines({{.text = 11678_t, .right = {75_p}}, {.text = 11639_t, .right = {75_p}}});
    } else {
        cal_lines({{.text = 11679_t, .right = {75_p}},
                   {.text = 11638_t},
                   {.text = 11680_t, .to = 11683_t, .right = {75_p}},
                   {.travel = true, .text = 11684_t, .to = 11685_t, .right = {75_p}}});
        CalSummary sum;
        gain14(sum, 500);
        cal_summary_show(sum);
    }
    cal_close(entry(2));
}

void calendar_event_070() {
    if (!own_event(true)) return;
    cal_lines({GOING_OUT, {.travel = true, .text = 11690_t, .to = 11695_t, .right = {175_p}}});
    if (spot_quiz(11) == 0) {
        cal_lines({{.text = 11696_t, .right = {175_p}}, {.text = 11639_t, .right = {175_p}}});
    } else {
        cal_lines({{.text = 11697_t, .to = 11699_t, .right = {175_p}}});
        CalSummary sum;
        gain14(sum, 500);
        inv_add(1907, 1);
        cal_summary_show(sum);
    }
    cal_close(entry(3));
}

void calendar_event_071() {
    if (!own_event(true)) return;
    cal_lines({GOING_OUT, {.travel = true, .text = 11700_t, .to = 11704_t, .right = {180_p}}});
    const s32 right = spot_quiz(1);
    cal_lines({{.text = 11705_t, .to = 11710_t, .right = {180_p}}});
    if (right == 1) cal_open(entry(5));
    cal_close(entry(4));
}

void calendar_event_072() {
    if (!own_event(true)) return;
    cal_lines({GOING_OUT, {.travel = true, .text = 11711_t, .to = 11716_t, .right = {180_p}}});
    CalSummary sum;
    cal_summary_add(sum, 234_t);
    inv_add(2066, 1);
    gain14(sum, 500);
    player_record.mood = 0;
    player_record.mood_turns = 0;
    cal_summary_show(sum);
    cal_close(entry(5));
}

void calendar_event_073() {
    if (!own_event(true)) return;
    cal_lines({GOING_OUT, {.travel = true, .text = 11720_t, .to = 11724_t, .right = {80_p}}});
    if (spot_quiz(15) == 0) {
        cal_lines({{.text = 11725_t, .right = {80_p}}, {.text = 11639_t, .right = {80_p}}});
    } else {
        cal_lines({{.text = 11726_t, .to = 11729_t, .right = {80_p}}});
        cal_close(cal_pool_b(0)); // the music course's flag
        CalSummary sum;
        gain14(sum, 500);
        inv_add(1881, 5);
        cal_summary_show(sum);
    }
    cal_close(entry(6));
}

void calendar_event_061() {
    symbol_lesson_visit(7, 0);
}
void calendar_event_062() {
    symbol_lesson_visit(8, 1);
}
void calendar_event_063() {
    symbol_lesson_visit(9, 2);
}
void calendar_event_064() {
    symbol_lesson_visit(10, 3);
}

void calendar_event_065() {
    hub_block.scene_backdrop = cal_id(IC_BACKDROP);
    if (course_gate() != 0) return;
    const s32 r = course_recipe();
    cal_lines({{.text = 55220_t}, {.text = 55221_t, .to = 55222_t, .right = {IC_TEACHER}}});
    if (symbol_test(r) == 0) {
        teacher(55225_t);
        return;
    }
    if (r < 0) {
        cal_lines({{.travel = true, .text = 55227_t, .right = {IC_TEACHER}}});
        return;
    }
    cal_lines({{.travel = true, .text = 55226_t, .right = {IC_TEACHER}}});
    teacher(CalText{55350 + r});
    teacher(55349_t);
    known_add(IC_KNOWN_LIST, 50 + r);
    gain14(500);
    if (r == 3) {
        cal_close(entry(11));
        cal_open(entry(12));
    }
}

void calendar_event_066() {
    hub_block.scene_backdrop = cal_id(IC_BACKDROP);
    cal_lines({{.text = 55260_t}, {.text = 55261_t, .to = 55262_t, .right = {IC_TEACHER}}});
    cal_close(entry(12));
    cal_place_button(IC_PLACE, IC_SET, 0);
}

void calendar_event_097() {
    if (!own_event(false)) return;
    cal_lines({
        {.text = 55750_t, .to = 55758_t, .right = {CAL_NOBODY, IC_TEACHER}, .left = {170_p}},
        {.travel = true, .text = 55759_t, .to = 55765_t, .right = {IC_TEACHER}},
    });
    cal_close(entry(13));
    cal_open(cal_pool_b(3));
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {61, calendar_event_061}, {62, calendar_event_062}, {63, calendar_event_063},
    {64, calendar_event_064}, {65, calendar_event_065}, {66, calendar_event_066},
    {67, calendar_event_067}, {68, calendar_event_068}, {69, calendar_event_069},
    {70, calendar_event_070}, {71, calendar_event_071}, {72, calendar_event_072},
    {73, calendar_event_073}, {97, calendar_event_097},
};
} // namespace

std::span<const CalendarSlot> ingredient_course_slots() {
    return SLOTS;
}

void register_ingredient_course() {
    calendar_install(SLOTS, INGREDIENT_COURSE_OWNER);
}
