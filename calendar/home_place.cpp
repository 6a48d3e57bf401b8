// The events of the home place and the stage convention of the place chains.
#include "calendar/home_place.h"

#include "calendar/calendar_seams.h"
#include "calendar/frame.h"
#include "data/hub_block.h"
#include "data/roster.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"

using namespace cal_literals;

void place_chain_advance(s32 set, s32 place, s32 step) {
    cal_close(cal_place(set, place, step));
    cal_open(cal_place(set, place, step + 1));
}

namespace {

constexpr CalEntry home_entry(s32 k) {
    return cal_place(HOME_SET, HOME_PLACE, k);
}

constexpr CalPerson TEACHER = 40_p;
constexpr CalPerson PAIR_B = 70_p;

// ---- Slot 008 ----------------------------------------------------------------------------------

constexpr CalPic PAIR_OVERVIEW = {60070_pic, 150, 128};
constexpr CalPic PAIR_ANSWER = {60076_pic, 236, 128};

constexpr CalLine PAIR_INTRO[] = {
    {.backdrop = CalPicture{HOME_BACKDROP},
     .text = 11090_t,
     .to = 11106_t,
     .right = {TEACHER, CAL_NOBODY, PAIR_B},
     .left = {CAL_NOBODY, PAIR_B}},
};
constexpr CalLine PAIR_PASSED[] = {
    {.text = 11108_t, .to = 11109_t, .right = {CAL_NOBODY, PAIR_B}, .pic = PAIR_OVERVIEW},
    {.text = 11110_t,
     .to = 11119_t,
     .right = {TEACHER, PAIR_B, CAL_NOBODY},
     .left = {CAL_NOBODY, PAIR_B},
     .pic = PAIR_OVERVIEW},
};
constexpr CalLine PAIR_FAILED[] = {
    {.text = 11121_t, .to = 11122_t, .right = {PAIR_B}, .left = {CAL_NOBODY}, .pic = PAIR_ANSWER},
    {.text = 11110_t,
     .to = 11112_t,
     .right = {TEACHER, CAL_NOBODY, PAIR_B},
     .left = {CAL_NOBODY, PAIR_B},
     .pic = PAIR_ANSWER},
    {.text = 11123_t,
     .to = 11124_t,
     .right = {TEACHER, CAL_NOBODY, PAIR_B},
     .left = {CAL_NOBODY, PAIR_B},
     .pic = PAIR_ANSWER},
};

// ---- Slot 009 ----------------------------------------------------------------------------------

constexpr CalLine SHOP_VISIT[] = {
    {.backdrop = CalPicture{HOME_BACKDROP},
     .text = 11125_t,
     .to = 11126_t,
     .right = {CAL_NOBODY, TEACHER}},
    {.text = 11127_t, .to = 11133_t, .right = {TEACHER}, .pic = {60091_pic, 139, 120}},
    {.travel = true,
     .text = 11134_t,
     .to = 11136_t,
     .right = {TEACHER},
     .pic = {60090_pic, 139, 120}},
    // The last four lines in this order: 11140 comes before 11139.
    {.text = 11137_t, .to = 11138_t, .right = {TEACHER}},
    {.text = 11140_t, .right = {TEACHER}},
    {.text = 11139_t, .right = {TEACHER}},
};
constexpr s32 SHOP_VISIT_ITEM = 1063;

// ---- Slot 077 ----------------------------------------------------------------------------------

constexpr CalLine WALK_TO_THE_SCHOOL[] = {
    {.text = 11800_t},
    {.travel = true,
     .backdrop = CalPicture{HOME_BACKDROP},
     .text = 11801_t,
     .to = 11812_t,
     .right = {140_p, CAL_NOBODY},
     .left = {TEACHER}},
    {.travel = true, .text = 11813_t, .to = 11817_t, .right = {TEACHER}},
};

// ---- Slot 125 ----------------------------------------------------------------------------------

constexpr CalLine GUEST_TALK[] = {
    {.text = 55900_t},
    {.travel = true,
     .backdrop = CalPicture{HOME_BACKDROP},
     .text = 55901_t,
     .to = 55932_t,
     .right = {280_p, CAL_NOBODY, CAL_HERO},
     .left = {TEACHER}},
};
constexpr s32 GUEST_TALK_LIST = 20, GUEST_TALK_ART = 50;
constexpr s32 GUEST_TALK_TURN = 95, GUEST_TALK_NEXT = 196;

// ---- Slot 160 ----------------------------------------------------------------------------------

constexpr s32 SPARRING_OPENING = 16672; // + r for r 0..3
constexpr s32 SPARRING_BOUT_OPENING = 16676;
constexpr s32 SPARRING_SKILL_TESTS = 4;
constexpr s32 SPARRING_FIRST_LINE = 16680, SPARRING_FIRST_AFTER = 16687;   // + story_flag_79
constexpr s32 SPARRING_SECOND_LINE = 16684, SPARRING_SECOND_AFTER = 16691; // + k
constexpr s32 SPARRING_SECOND_DRAWN = 3; // story_flag_78 at 3: k is drawn from 0..2

void say_teacher(s32 text) {
    cal_lines({{.text = CalText{text}, .right = {TEACHER}}});
}

// The art lesson after a passed sparring: two lines, a walk, two more lines.
void sparring_lesson(s32 line, s32 after) {
    cal_lines({
        {.text = 16679_t, .right = {TEACHER}},
        {.text = CalText{line}, .right = {TEACHER}},
        {.travel = true, .text = CalText{after}, .right = {TEACHER}},
        {.text = 16694_t, .right = {TEACHER}},
    });
}

// The two art lists, each taught once. A flag outside 0..3 (4 once taught; a negative value
// is never stored by the game) teaches nothing from its list.
void sparring_teach() {
    PlayerRecord& p = player_record;
    if (p.affection[SPARRING_FRIEND] < SPARRING_TEACH_AFFECTION ||
        hub_block.calendar_turn < SPARRING_TEACH_TURN)
        return;
    s32& first = p.story_flags[SPARRING_FLAG_FIRST];
    s32& second = p.story_flags[SPARRING_FLAG_SECOND];
    if (first >= 0 && first < SPARRING_TAUGHT) {
        sparring_lesson(SPARRING_FIRST_LINE + first, SPARRING_FIRST_AFTER + first);
        known_add(SPARRING_FIRST_ARTS[first].list, SPARRING_FIRST_ARTS[first].id);
        first = SPARRING_TAUGHT;
        return;
    }
    if (first < SPARRING_TAUGHT || second < 0 || second >= SPARRING_TAUGHT) return;
    const s32 k = second == SPARRING_SECOND_DRAWN ? cal_rand(SPARRING_SECOND_DRAWN) : second;
    sparring_lesson(SPARRING_SECOND_LINE + k, SPARRING_SECOND_AFTER + k);
    known_add(SPARRING_SECOND_ARTS[k].list, SPARRING_SECOND_ARTS[k].id);
    second = SPARRING_TAUGHT;
}

} // namespace

s32 sparring_passed(s32 r) {
    const s32 turn = hub_block.calendar_turn;
    if (r >= 0 && r < SPARRING_SKILL_TESTS)
        return player_record.skill[SPARRING_SKILL_FIRST + r] >= turn / 2 ? 1 : 0;
    return roster[SPARRING_FRIEND].hp <= SPARRING_HP_TOP - SPARRING_HP_PER_TURN * turn ? 1 : 0;
}

void calendar_event_008() {
    cal_lines(PAIR_INTRO);
    CalSummary sum;
    if (picture_pair_game_seam() == 1) {
        cal_lines(PAIR_PASSED);
        cal_gain(sum, cal_skill(13), 50);
        cal_gain(sum, cal_attr(0), 100);
        affection_add(PAIR_TEST_FRIEND, 2);
        cal_summary_add(sum, 240_t);
    } else {
        cal_lines(PAIR_FAILED);
        cal_gain(sum, cal_skill(13), 10);
        affection_add(PAIR_TEST_FRIEND, -1);
        cal_summary_add(sum, 290_t);
    }
    cal_summary_show(sum);
    cal_place_button(3, 1, 1);
    cal_close(home_entry(0));
    // Pool B entry 4 holds no slot: opening it makes nothing drawable.
    cal_open(cal_pool_b(4));
    cal_turns(1);
}

void calendar_event_009() {
    cal_lines(SHOP_VISIT);
    CalSummary sum;
    cal_gain(sum, cal_skill(12), 30);
    cal_summary_show(sum);
    cal_menu(5, 2, 1);
    cal_menu(0, 4, 1);
    cal_open(cal_pool_b(2));
    cal_close(home_entry(2));
    inv_add(SHOP_VISIT_ITEM, 1);
    cal_turns(1);
}

void calendar_event_077() {
    cal_lines(WALK_TO_THE_SCHOOL);
    cal_close(home_entry(1));
    cal_open(cal_place(1, 1, 0));
    cal_place_button(1, 1, 1);
    cal_turns(1);
}

void calendar_event_125() {
    cal_lines(GUEST_TALK);
    known_add(GUEST_TALK_LIST, GUEST_TALK_ART);
    cal_close(home_entry(3));
    cal_schedule_after(GUEST_TALK_TURN, GUEST_TALK_NEXT);
}

// The entry stays open: the sparring repeats at every visit that draws it.
void calendar_event_160() {
    const s32 r = cal_rand(SPARRING_DRAWS);
    cal_lines({{.backdrop = CalPicture{HOME_BACKDROP},
                .text = 16665_t,
                .to = 16671_t,
                .right = {TEACHER}}});
    say_teacher(r < SPARRING_SKILL_TESTS ? SPARRING_OPENING + r : SPARRING_BOUT_OPENING);
    cal_lines({{.travel = true}});
    // The bout's result is not read: the friend's remaining hit points decide.
    if (r >= SPARRING_SKILL_TESTS) cal_battle(SPARRING_ENCOUNTER);
    if (sparring_passed(r) == 0) {
        say_teacher(16678);
        affection_add(SPARRING_FRIEND, -2);
        return;
    }
    say_teacher(16677);
    affection_add(SPARRING_FRIEND, 2);
    sparring_teach();
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {8, calendar_event_008},   {9, calendar_event_009},   {77, calendar_event_077},
    {125, calendar_event_125}, {160, calendar_event_160},
};
} // namespace

std::span<const CalendarSlot> home_place_slots() {
    return SLOTS;
}

void register_home_place() {
    calendar_install(SLOTS, HOME_PLACE_OWNER);
}
