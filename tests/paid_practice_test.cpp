// The paid practice of the two towns as the new game's population and shop stock make it: the
// talk's paths (paid at exactly the price, declined, unaffordable, repeated), the counter of each
// offer and the experience it gives, the recovery by integer division, the fullness, and the city
// offer that moves object 1116 on.
#include "scripts/towns/paid_practice.h"

#include "data/items.h"
#include "data/shops.h"
#include "data/world_population.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 TOWN_A_TEACHER = 402;
constexpr s32 CITY_TEACHER = 1036;
constexpr s32 WAITER = 1116;
constexpr s32 OBJECTS[] = {TOWN_A_TEACHER, CITY_TEACHER, WAITER};

std::string question(s32 answer) {
    return "choose 3 1000 25947 25948 -> " + std::to_string(answer);
}
std::string offers(s32 first, s32 answer) {
    std::string s = "choose 3 1000";
    for (s32 k = 0; k < 6; ++k) s += " " + std::to_string(first + k);
    return s + " -> " + std::to_string(answer);
}

class PaidPractice : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        populate();
    }
    static void populate() {
        init_player();
        init_item_master(); // the prices: twice the values drawn for items 1950-1999
        init_shop_stock();
        sh_populate(OBJECTS);
        sh_player(100, 100);
        obj_set_frame(0, 422);
        player_record.fullness = 100;
        player_record.stamina = 500;
        player_record.skill[21] = 0;
    }
    static Lines click(s32 obj, std::initializer_list<s32> answers) {
        sh_answers(answers);
        sh_clear_lines();
        sh_fire(obj, TRIG_CLICK);
        return sh_only(sh_lines(), {"say", "choose"});
    }
    static s32 price(s32 shop, s32 k) { return shop_stock[shop][k].price; }
    static s32& counter(s32 shop, s32 k) {
        return player_record.item_tally[1950 + shop_stock[shop][k].offset];
    }
};

// ---- The talk ---------------------------------------------------------------------------------

TEST_F(PaidPractice, TheTalkPaysAtThePriceAndEndsWhereTheAnswersLeadIt) {
    struct Case {
        const char* name;
        s32 obj;
        s32 shop;
        s32 offer_text, first_line;
        s32 money_minus_price; // money before, against the price of offer 0
        std::vector<s32> answers;
        std::vector<s32> draws;
        Lines lines;
        s32 practices; // of offer 0, paid
        bool moved;
        s32 after_x = 0, after_y = 0;
    };
    const s32 a = TOWN_A_TEACHER, c = CITY_TEACHER;
    const Case cases[] = {
        {"money equal to the price pays",
         a,
         34,
         25935,
         25941,
         0,
         {0, 0, 1},
         {3},
         {sh_bubble(a, 25934), question(0), offers(25935, 0), "say 1 1163 25941",
          sh_bubble(a, 25949), question(1)},
         1,
         true,
         304,
         252},
        {"declined at the first question",
         a,
         34,
         25935,
         25941,
         50,
         {1},
         {},
         {sh_bubble(a, 25934), question(1)},
         0,
         false},
        {"unaffordable first choice still ends at the spot",
         c,
         23,
         26400,
         26410,
         -1,
         {0, 0, 0},
         {},
         {sh_bubble(c, 25934), question(0), offers(26400, 0), sh_bubble(c, 583),
          sh_bubble(c, 25949), question(0)},
         0,
         true,
         295,
         300},
        {"two practices in one talk, the second short of money",
         c,
         23,
         26400,
         26410,
         0,
         {0, 0, 0, 0, 1},
         {4},
         {sh_bubble(c, 25934), question(0), offers(26400, 0), "say 1 1163 26410",
          sh_bubble(c, 25949), question(0), offers(26400, 0), sh_bubble(c, 583),
          sh_bubble(c, 25949), question(1)},
         1,
         true,
         295,
         300},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        populate();
        ASSERT_GE(price(k.shop, 0), 60);
        const s32 money = price(k.shop, 0) + k.money_minus_price;
        player_record.money = money;
        for (const s32 d : k.draws) sh_rand({d});
        for (const s32 x : k.answers) sh_answers({x});
        const Lines lines = click(k.obj, {});
        EXPECT_EQ(lines, k.lines);
        EXPECT_EQ(player_record.money, money - k.practices * price(k.shop, 0));
        EXPECT_EQ(counter(k.shop, 0), k.practices);
        if (k.moved) {
            EXPECT_EQ(attr_get(0, ATTR_X), k.after_x);
            EXPECT_EQ(attr_get(0, ATTR_Y), k.after_y);
            EXPECT_EQ(obj_get_frame(0), -424);
            EXPECT_EQ(attr_get(0, ATTR_LAYER), 3);
            EXPECT_EQ(attr_get(0, ATTR_SHADOW), 1);
        } else {
            EXPECT_EQ(attr_get(0, ATTR_X), 100);
            EXPECT_EQ(attr_get(0, ATTR_Y), 100);
            EXPECT_EQ(obj_get_frame(0), 422);
            EXPECT_EQ(player_record.fullness, 100);
        }
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

// ---- The counter, the experience and the body ---------------------------------------------------

TEST_F(PaidPractice, EachOffersCounterGivesItsExperienceAndStopsAtTen) {
    struct Case {
        s32 before;
        std::vector<s32> draws; // fullness, then the experience draw
        s32 after;
        s32 exp; // experience paid into growth 21
        bool first_line;
    };
    const Case cases[] = {
        {0, {0}, 1, 200, true},
        {1, {0, 0}, 2, 20, false},
        {9, {0, 19}, 10, 39, false},
        {10, {0}, 10, 0, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.before);
        populate();
        player_record.money = 1000;
        counter(34, 2) = k.before;
        const PlayerRecord before = player_record;
        for (const s32 d : k.draws) sh_rand({d});
        const Lines lines = click(TOWN_A_TEACHER, {0, 2, 1});
        EXPECT_EQ(counter(34, 2), k.after);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "say 1 1163 25943"), k.first_line ? 1 : 0);
        // The same experience paid by hand to the record as it was.
        const PlayerRecord now = player_record;
        player_record = before;
        growth_pool(21) += k.exp;
        if (k.exp > 0) grow(21);
        const s32 skill = player_record.skill[21], pool = player_record.skill_exp[21];
        player_record = now;
        EXPECT_EQ(player_record.skill[21], skill);
        EXPECT_EQ(player_record.skill_exp[21], pool);
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

TEST_F(PaidPractice, TheBodyRecoversWhenTheSkillReachesATenthOfTheStamina) {
    struct Case {
        s32 stamina, fullness, draw;
        s32 stamina_after, fullness_after;
    };
    const Case cases[] = {
        {309, 100, 0, 509, 90}, // 309 / 10 = 30: recovers
        {310, 100, 9, 310, 81}, // 31: does not
        {310, 5, 2, 310, 0},    // fullness stops at 0
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.stamina);
        populate();
        player_record.money = 1000;
        player_record.skill[21] = 30;
        player_record.stamina = k.stamina;
        player_record.fullness = k.fullness;
        player_record.hp = 0;
        player_record.mp = 0;
        sh_rand({k.draw});
        click(CITY_TEACHER, {0, 0, 1});
        const bool recovered = k.stamina_after != k.stamina;
        EXPECT_EQ(player_record.stamina, k.stamina_after);
        EXPECT_EQ(player_record.fullness, k.fullness_after);
        EXPECT_EQ(player_record.hp > 0, recovered);
        EXPECT_EQ(player_record.mp > 0, recovered);
    }
}

TEST_F(PaidPractice, TheCitysSixthOfferMovesObject1116FromStage1To2) {
    struct Case {
        s32 obj, offer, stage_before, stage_after;
    };
    const Case cases[] = {
        {CITY_TEACHER, 5, 1, 2}, {CITY_TEACHER, 5, 0, 0},   {CITY_TEACHER, 5, 2, 2},
        {CITY_TEACHER, 4, 1, 1}, {TOWN_A_TEACHER, 5, 1, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.obj) + " offer " + std::to_string(k.offer) + " stage " +
                     std::to_string(k.stage_before));
        populate();
        player_record.money = 1000;
        attr_set(WAITER, ATTR_VAR_A, k.stage_before);
        sh_rand({0});
        click(k.obj, {0, k.offer, 1});
        EXPECT_EQ(attr_get(WAITER, ATTR_VAR_A), k.stage_after);
    }
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(PaidPracticePlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(paid_practice_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
