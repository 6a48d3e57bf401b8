// The repeating visits of places 0.1, 0.2 and 0.4 (the sparring partners' talk, scene and bouts,
// the riddles and the gifts) and the after-turn event of turn 38.
#include "calendar/frame.h"
#include "calendar/repeating_visits.h"
#include "data/roster.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/aim.h"
#include "tests/cal_cases.h"
#include "tests/calendar_fixture.h"
#include "tests/text_runs.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<s32>;

std::vector<std::string> aim_calls;
s32 aim_result = 0;
s32 fake_aim(s32 a, s32 b, s32 c, s32 d, s32 e, s32 f) {
    std::string s;
    for (s32 v : {a, b, c, d, e, f}) s += std::to_string(v) + ' ';
    aim_calls.push_back(s);
    return aim_result;
}

class RepeatingVisitsTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        aim_calls.clear();
        aim_result = 0;
        turn38_aim_seam = fake_aim;
        state.keep([] {
            aim_calls.clear();
            aim_result = 0;
        });
    }
    void TearDown() override {
        turn38_aim_seam = game_aim_target;
        CalendarHandlerTest::TearDown();
    }
    CalCaseState state;
};

} // namespace

// ---- Sparring -----------------------------------------------------------------------------------

TEST_F(RepeatingVisitsTest, SparringVisitsTalkHoldTheSceneOnceThenFight) {
    struct Case {
        const char* name;
        s32 slot;
        s32 turn, affection, scene_flag, growth_flag;
        s32 stamina;
        s32 partner_hp; // -1: full
        s32 attr5, equip3, base;
        std::vector<s32> choices, results, draws;
        Texts said;
        s32 grown_skill; // the scene's skill, -1 none
        bool passed, lost;
        s32 sick_turns; // 0 none
        s32 move;       // known list 9 id taught, -1 none
    };
    const Texts intro117 = {56450, 56451, 56452, 56453};
    const Texts intro118 = text_runs({56510, -56513});
    // clang-format off
    const Case cases[] = {
        {"117 before turn 31", 117, 30, 90, 0, 0, 500, -1, 0, 0, 0, {}, {}, {},
         {56450, 56454, 56455}, -1, false, false, 0, -1},
        {"118 before turn 31", 118, 0, 90, 0, 0, 500, -1, 0, 0, 0, {}, {}, {},
         text_join({{56480}, text_runs({56481, -56484}), {56488, 56489}}), -1, false, false, 0, -1},
        {"117 scene, flag 79 at 2", 117, 31, 65, 0, 2, 500, -1, 0, 0, 0, {}, {}, {},
         {15300, 15301, 15303, 15305, 15306}, 3, false, false, 0, -1},
        {"117 scene, flag 79 at 7", 117, 40, 65, 0, 7, 500, -1, 0, 0, 0, {}, {}, {},
         {15300, 15301, 15303, 15305, 15306}, 0, false, false, 0, -1},
        {"118 scene, flag 78 at 1", 118, 40, 80, 0, 1, 500, -1, 0, 0, 0, {}, {}, {},
         {15300, 15302, 15304, 15305, 15306}, 6, false, false, 0, -1},
        {"117 declines the bout", 117, 40, 65, 1, 0, 500, -1, 0, 0, 0, {1}, {}, {},
         text_join({intro117, {56469}}), -1, false, false, 0, -1},
        {"117 won", 117, 40, 50, 0, 0, 500, -1, 0, 0, 0, {0}, {1}, {},
         text_join({intro117, text_runs({56460, -56463})}), -1, true, false, 0, -1},
        {"118 lost but the partner below a quarter", 118, 40, 50, 1, 0, 500, 0, 0, 0, 0, {}, {0}, {},
         text_join({intro118, text_runs({56520, -56522})}), -1, true, false, 0, -1},
        {"117 lost, fond partner teaches", 117, 40, 100, 1, 0, 500, -2, 0, 0, 70, {0}, {2}, {4},
         text_join({intro117, text_runs({56464, -56468}), text_runs({56540, -56547})}), -1, false, true, 0, 1},
        {"117 lost, the draw denies the move", 117, 40, 100, 1, 0, 500, -2, 0, 0, 70, {0}, {0}, {5},
         text_join({intro117, text_runs({56464, -56468})}), -1, false, true, 0, -1},
        {"117 lost, spent and ill", 117, 40, 100, 1, 0, 250, -2, 0, 0, 70, {0}, {0}, {2, 1},
         text_join({intro117, text_runs({56464, -56468}), {471}}), -1, false, true, 3, -1},
        {"117 lost, spent, not ill, not fond", 117, 40, 99, 1, 0, 250, -2, 0, 0, 70, {0}, {0}, {3},
         text_join({intro117, text_runs({56464, -56468})}), -1, false, true, 0, -1},
        {"118 lost, presence 50 with the bonus item", 118, 40, 100, 1, 0, 500, -2, 50, 7, 0, {}, {0}, {0},
         text_join({intro118, text_runs({56530, -56532}), text_runs({56550, -56552})}), -1, false, true, 0, 0},
        {"118 lost, presence 60 without it", 118, 40, 100, 1, 0, 500, -2, 60, 6, 0, {}, {0}, {0},
         text_join({intro118, text_runs({56530, -56532})}), -1, false, true, 0, -1},
    };
    // clang-format on
    state.each(cases, [&](const Case& c) {
        PlayerRecord& p = player_record;
        const s32 partner = c.slot == 117 ? 203 : 204;
        const s32 scene_flag = c.slot == 117 ? 20 : 21;
        const s32 growth_flag = c.slot == 117 ? 79 : 78;
        hub_block.calendar_turn = c.turn;
        p.affection[partner] = c.affection;
        p.story_flags[scene_flag] = c.scene_flag;
        p.story_flags[growth_flag] = c.growth_flag;
        p.stamina = c.stamina;
        p.attr[5] = c.attr5;
        p.equip[3] = c.equip3;
        p.skill[0] = c.base;
        p.sick_turns = 0;
        p.condition = 0;
        RosterEntry& r = roster[partner];
        r.hp_max = 400;
        // 0: one below a quarter; -2: just a quarter (not below); -1: full.
        r.hp = c.partner_hp == 0 ? 99 : c.partner_hp == -2 ? 100 : 400;
        p.hp = 1;
        s32 skills[25];
        std::copy(std::begin(p.skill), std::end(p.skill), skills);
        dialog_answers(c.choices);
        for (s32 v : c.results) battles({v});
        for (s32 d : c.draws) draws({d});
        const size_t fights = fought().size();
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), c.said);
        EXPECT_EQ(hub_block.scene_backdrop, 60401);
        const bool fought_bout = !c.results.empty();
        EXPECT_EQ(std::vector<s32>(fought().begin() + long(fights), fought().end()),
                  fought_bout ? std::vector<s32>{c.slot == 117 ? 0 : 1} : std::vector<s32>{});
        EXPECT_EQ(p.story_flags[scene_flag], c.grown_skill >= 0 ? 1 : c.scene_flag);
        for (s32 s = 0; s < 25; s++)
            if (s == c.grown_skill)
                EXPECT_GT(p.skill[s], skills[s]) << s;
            else
                EXPECT_EQ(p.skill[s], skills[s]) << s;
        const s32 stamina_change = c.passed ? -100 : c.lost ? -300 : 0;
        EXPECT_EQ(p.stamina, std::max(0, c.stamina + stamina_change));
        EXPECT_EQ(r.hp_max, c.passed ? 405 : 400);
        EXPECT_EQ(r.hp, r.hp_max); // healed after every visit
        EXPECT_EQ(p.hp, p.hp_max);
        EXPECT_EQ(p.sick_turns, c.sick_turns);
        EXPECT_EQ(p.condition, c.sick_turns > 0 ? 5 : 0);
        for (s32 id : {0, 1}) EXPECT_EQ(known_has(9, id), id == c.move ? 1 : 0) << id;
        EXPECT_EQ(draws_left(), 0u);
    });
}

// ---- Riddles ------------------------------------------------------------------------------------

TEST_F(RepeatingVisitsTest, RiddlesRaiseTheCounterOrCostMood) {
    struct Case {
        const char* name;
        std::vector<s32> draws;
        s32 answer1, answer2; // -1 none
        Texts said;
        s32 counter_change, mood_after;
    };
    const Texts kinds = {56375, 56376, 56377};
    const Texts right = {56363, 56379, 234};
    const Texts wrong = {56364, 56378, 284};
    const Case cases[] = {
        {"kind 0 right", {0}, 0, -1, text_join({{56359, 56360}, kinds, right}), 1, 1},
        {"kind 0, another kind named", {0}, 2, -1, text_join({{56359, 56360}, kinds, wrong}), 0, 3},
        // a = 4 at position 2; the others draw 4 again (taken), 0, 5 and 1.
        {"kind 1 right",
         {1, 4, 2, 4, 0, 5, 1},
         1,
         2,
         text_join({{56359, 56361}, kinds, {56370, 56240, 56245, 56244, 56241}, right}),
         2,
         0},
        {"kind 1 wrong position",
         {1, 4, 2, 0, 5, 1},
         1,
         1,
         text_join({{56359, 56361}, kinds, {56370, 56240, 56245, 56244, 56241}, wrong}),
         0,
         3},
        {"kind 2, question 6 right",
         {2, 6},
         2,
         3,
         text_join({{56359, 56362}, kinds, {56410}, text_runs({56411, -56414}), right}),
         3,
         0},
        {"kind 2, question 1 wrong",
         {2, 1},
         2,
         1,
         text_join({{56359, 56362}, kinds, {56385}, text_runs({56386, -56389}), wrong}),
         0,
         3},
    };
    state.each(cases, [&](const Case& c) {
        PlayerRecord& p = player_record;
        p.mood = 2;
        p.story_flags[49] = 5;
        std::vector<s32> plan = {c.answer1};
        if (c.answer2 >= 0) plan.push_back(c.answer2);
        dialog_answers(plan);
        for (s32 d : c.draws) draws({d});
        const size_t m = mark();
        run_slot(142);
        EXPECT_EQ(texts_from(m), c.said);
        EXPECT_EQ(hub_block.scene_backdrop, 60423);
        EXPECT_EQ(p.story_flags[49], 5 + c.counter_change);
        EXPECT_EQ(p.mood, c.mood_after);
        EXPECT_EQ(draws_left(), 0u);
    });
}

// From a counter of 10 a draw of 1 brings a gift instead: each test draws its own number, the
// first two gifts come once each.
TEST_F(RepeatingVisitsTest, GiftsFromACounterOfTen) {
    struct Case {
        const char* name;
        s32 counter;
        s32 arts_flag, item_flag;
        s32 base, attr5;
        std::vector<s32> draws;
        Texts said;
        s32 arts_list, arts_id; // known list 5 or 6, -1 none
        s32 item, count;        // -1 none
        bool base_grows, attr_grows, stamina_grows;
    };
    const Texts opening = {56359, 56432, 56433, 56434};
    // clang-format off
    const Case cases[] = {
        {"counter 9: a riddle", 9, 0, 0, 50, 50, {0}, {}, -1, -1, -1, 0, false, false, false},
        {"gift 1, list 5", 10, 0, 0, 50, 50, {1, 7, 0}, text_join({opening, {56438}}),
         5, 53, -1, 0, false, false, false},
        {"gift 1, list 6", 12, 0, 0, 50, 50, {1, 7, 1}, text_join({opening, {56438}}),
         6, 51, -1, 0, false, false, false},
        {"gift 1 given: the last gift", 10, 1, 0, 50, 50, {1, 7, 9, 9, 9},
         text_join({opening, {56435, 233, 222}}), -1, -1, -1, 0, false, false, true},
        {"gift 2, first item", 10, 0, 0, 50, 50, {1, 0, 5, 0}, text_join({opening, {56439}}),
         -1, -1, 1448, 1, false, false, false},
        {"gift 2, second item", 10, 0, 0, 50, 50, {1, 0, 5, 1, 0}, text_join({opening, {56439}}),
         -1, -1, 1468, 1, false, false, false},
        {"gift 2, third item", 10, 0, 0, 50, 50, {1, 0, 5, 2, 2}, text_join({opening, {56439}}),
         -1, -1, 1556, 10, false, false, false},
        {"gift 3", 10, 1, 1, 50, 50, {1, 7, 5, 4}, text_join({opening, {56436, 200}}),
         -1, -1, -1, 0, true, false, false},
        {"gift 3 at 100", 10, 1, 1, 100, 50, {1, 0, 0, 4}, text_join({opening, {56436}}),
         -1, -1, -1, 0, false, false, false},
        {"gift 4", 10, 0, 0, 50, 50, {1, 0, 0, 0, 2}, text_join({opening, {56437, 230}}),
         -1, -1, -1, 0, false, true, false},
        {"gift 4 at 100", 10, 0, 0, 50, 100, {1, 0, 0, 0, 0}, text_join({opening, {56437}}),
         -1, -1, -1, 0, false, false, false},
    };
    // clang-format on
    state.each(cases, [&](const Case& c) {
        PlayerRecord& p = player_record;
        p.story_flags[49] = c.counter;
        p.story_flags[50] = c.arts_flag;
        p.story_flags[51] = c.item_flag;
        p.skill[0] = c.base;
        growth_pool(0) = 0;
        p.attr[5] = c.attr5;
        p.stamina = 0;
        p.mood = 2;
        for (s32 i : {1448, 1468, 1556}) inv_remove(i, 1000);
        if (c.counter < 10) {
            dialog_answers({1}); // the riddle of kind 0, answered wrong
        }
        for (s32 d : c.draws) draws({d});
        const size_t m = mark();
        run_slot(142);
        if (c.counter < 10) {
            EXPECT_EQ(texts_from(m).at(1), 56360);
            return;
        }
        EXPECT_EQ(texts_from(m), c.said);
        EXPECT_EQ(p.story_flags[49], c.counter);
        EXPECT_EQ(known_has(5, 53), c.arts_list == 5 ? 1 : 0);
        EXPECT_EQ(known_has(6, 51), c.arts_list == 6 ? 1 : 0);
        EXPECT_EQ(p.story_flags[50], c.arts_list >= 0 ? 1 : c.arts_flag);
        EXPECT_EQ(p.story_flags[51], c.item >= 0 ? 1 : c.item_flag);
        for (s32 i : {1448, 1468, 1556}) EXPECT_EQ(inv_has_count(i, 1), i == c.item ? 1 : 0) << i;
        if (c.item >= 0) {
            EXPECT_EQ(inv_has_count(c.item, c.count), 1);
        }
        EXPECT_EQ(p.skill[0] > c.base, c.base_grows);
        EXPECT_EQ(p.attr[5], c.attr5 + (c.attr_grows ? 1 : 0));
        EXPECT_EQ(p.stamina > 0, c.stamina_grows);
        EXPECT_EQ(draws_left(), 0u);
    });
}

// A draw source that keeps giving one value must not hold the second kind's options in a loop:
// after its tries each option takes the smallest value still free.
TEST_F(RepeatingVisitsTest, RiddleOptionsStayDistinctWhateverTheDraws) {
    cal_rand_seam = [](s32) { return 3; };
    const RiddleNumbers n = riddle_numbers(3, 0);
    EXPECT_EQ(std::vector<s32>(std::begin(n.value), std::end(n.value)),
              (std::vector<s32>{3, 0, 1, 2}));
    const RiddleNumbers m = riddle_numbers(5, 3);
    EXPECT_EQ(std::vector<s32>(std::begin(m.value), std::end(m.value)),
              (std::vector<s32>{3, 0, 1, 5}));
}

// ---- Turn 38 ------------------------------------------------------------------------------------

TEST_F(RepeatingVisitsTest, Turn38ShotDecidesTheRegardAndOpensTheCourse) {
    struct Case {
        const char* name;
        bool tool_a, tool_b; // an item of 2210..2219, of 2200..2209
        s32 aim;
        Texts middle;
        s32 regard;
    };
    const Texts lost = {42389, 42390, 42392, 42393};
    const Case cases[] = {
        {"no tools", false, false, 0, {11420, 42390, 42392, 42393}, 50},
        {"one range only", true, false, 1, {11420, 42390, 42392, 42393}, 50},
        {"tools, won", true, true, 1, text_join({{42368}, text_runs({42369, -42371}), {42372}}),
         60},
        {"tools, missed", true, true, 0, text_join({{42368}, lost}), 50},
    };
    const Texts start = text_join(
        {{42352}, text_runs({42353, -42356}), {42359, 244}, text_runs({42360, -42366}), {42367}});
    const Texts end = text_join({text_runs({42373, -42379}), {42383, 42384}});
    state.each(cases, [&](const Case& c) {
        PlayerRecord& p = player_record;
        for (s32 i = 2200; i <= 2219; i++) inv_remove(i, 1000);
        if (c.tool_a) inv_add(2214, 1);
        if (c.tool_b) inv_add(2200, 1);
        p.affection[203] = 40;
        p.affection[149] = -1;
        aim_result = c.aim;
        hub_block.turns_consumed = 3;
        const size_t m = mark();
        run_slot(33);
        EXPECT_EQ(texts_from(m), text_join({start, c.middle, end}));
        const bool shot = c.tool_a && c.tool_b;
        EXPECT_EQ(aim_calls,
                  shot ? std::vector<std::string>{"0 -1 1 3 0 0 "} : std::vector<std::string>{});
        const std::vector<std::string> lines = lines_from(m);
        const bool sound = std::find(lines.begin(), lines.end(), "sound 698 1") != lines.end();
        EXPECT_EQ(sound, !(shot && c.aim == 1));
        EXPECT_EQ(p.affection[149], c.regard);
        EXPECT_GT(p.affection[203], 40);
        EXPECT_EQ(hub_block.scene_backdrop, 60423);
        EXPECT_EQ(hub_block.place_events[1][4][0].on, 1);
        EXPECT_EQ(cal_place_button_on(4, 1), 1);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    });
}
