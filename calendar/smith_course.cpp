// The smith's course of place 0.3.
#include "calendar/smith_course.h"

#include "calendar/frame.h"
#include "calendar/recipe_screen.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"

using namespace cal_literals;

namespace {

constexpr CalPerson MASTER = CalPerson{SMITH_MASTER};
constexpr CalPicture FORGE = 60403_pic;

CalEntry step_entry(s32 k) {
    return cal_place(SMITH_SET, SMITH_PLACE, k);
}

void next_step(s32 k) {
    cal_close(step_entry(k));
    cal_open(step_entry(k + 1));
}

// A visit before the skill is there: the master sends the protagonist back to practise.
bool not_ready(s32 skill_needed) {
    if (player_record.skill[SMITH_SKILL] >= skill_needed) return false;
    cal_lines({{.text = 56159_t, .to = 56160_t, .right = {MASTER}}});
    return true;
}

// Steps 1 and 2: the skill they wait for and the recipes they teach.
struct SmithLesson {
    s32 skill;
    s32 recipes[3];
    s32 count;
};
constexpr SmithLesson LESSONS[] = {
    {40, {52, 53, 54}, 3},
    {60, {55, 56}, 2},
};

void lesson_visit(s32 step) {
    const SmithLesson& l = LESSONS[step - 1];
    cal_lines({{.backdrop = FORGE}});
    if (not_ready(l.skill)) return;
    cal_lines({
        {.text = 56161_t, .to = 56162_t, .right = {MASTER}},
        {.travel = true, .text = 56163_t, .to = 56165_t, .right = {MASTER}},
    });
    for (s32 i = 0; i < l.count; i++) known_add(RECIPE_LIST, l.recipes[i]);
    next_step(step);
}

// The last recipe by the strongest of skills 5, 6 and 7 (the first of equals): two to choose
// from at random for 5 and 6, one for 7.
struct SmithMastery {
    s32 skill;
    CalText line[2];
    s32 recipe[2];
    s32 choices;
};
constexpr SmithMastery MASTERY[] = {
    {5, {56173_t, 56177_t}, {58, 61}, 2},
    {6, {56174_t, 56178_t}, {59, 62}, 2},
    {7, {56175_t, 56175_t}, {60, 60}, 1},
};

} // namespace

// The first visit: materials, three recipes and a first try at the recipe screen.
void calendar_event_113() {
    cal_lines({
        {.backdrop = FORGE, .text = 56130_t},
        {.text = 56131_t, .to = 56135_t, .right = {MASTER}},
        {.travel = true},
    });
    inv_add(SMITH_FIRST_MATERIAL, SMITH_FIRST_AMOUNT);
    known_add(RECIPE_LIST, 50);
    known_add(RECIPE_LIST, 51);
    known_add(RECIPE_LIST, 57);
    cal_lines({{.text = 56140_t, .to = 56143_t, .right = {MASTER}}});
    const s32 made = recipe_screen();
    if (made == RECIPE_QUIT) {
        cal_lines({{.text = 56157_t, .to = 56158_t, .right = {MASTER}}});
        affection_add(SMITH_QUIT_AFFECTION, -1);
    } else if (made == 0) {
        cal_lines({{.text = 56153_t, .to = 56156_t, .right = {MASTER}}});
    } else {
        cal_lines({{.text = 56150_t, .to = 56152_t, .right = {MASTER}}});
    }
    next_step(0);
}

void calendar_event_114() {
    lesson_visit(1);
}

void calendar_event_115() {
    lesson_visit(2);
}

// The last visit ends the course; the place stays on the bar.
void calendar_event_116() {
    cal_lines({{.backdrop = FORGE}});
    if (not_ready(SMITH_MASTERY_SKILL)) return;
    cal_lines({{.text = 56171_t, .to = 56172_t, .right = {MASTER}}});
    const SmithMastery* best = &MASTERY[0];
    for (const SmithMastery& m : MASTERY)
        if (player_record.skill[m.skill] > player_record.skill[best->skill]) best = &m;
    const s32 pick = best->choices > 1 ? cal_rand(best->choices) : 0;
    cal_lines({{.text = best->line[pick], .right = {MASTER}}});
    known_add(RECIPE_LIST, best->recipe[pick]);
    cal_close(step_entry(SMITH_LAST_STEP));
}

// ---- Slots --------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {113, calendar_event_113},
    {114, calendar_event_114},
    {115, calendar_event_115},
    {116, calendar_event_116},
};
} // namespace

std::span<const CalendarSlot> smith_course_slots() {
    return SLOTS;
}

void register_smith_course() {
    calendar_install(SLOTS, SMITH_COURSE_OWNER);
}
