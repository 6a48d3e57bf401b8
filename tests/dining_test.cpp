// The seated services of the home region on the script harness: the paid practice of object 4,
// the dining room with its waiter and the first taste of each dish, and the served table of the
// food shop.
#include "scripts/home/dining.h"

#include "data/item_tables.h"
#include "data/items.h"
#include "data/shops.h"
#include "engine/gisk.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/home_script_fixture.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// All three places stand on one interior map here; their scripts never look at the map.
constexpr s32 ROOM = 22;
constexpr s32 SPOT = 165, TUTOR = 4;
constexpr s32 TABLE = 166, WAITER = 167, DISH_A = 168, DISH_B = 169, COOK = 22;
constexpr s32 KEEPER = 170, SERVED_TABLE = 177, SERVER = 178, SERVING_A = 179, SERVING_B = 180;
constexpr s32 PRICE = 80; // every row of both price lists

Lines concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class Dining : public ScriptTest {
  protected:
    void SetUp() override {
        home_start(ROOM);
        scripts_register_all();
        init_item_master(); // the dishes are food
        init_food_table();
        world();
    }
    // The objects as the world population makes them (timers off, so that only the script under
    // test runs), and one price for every practice kind and dish.
    static void world() {
        init_player();
        sh_object(SPOT, {.map = ROOM,
                         .x = 313,
                         .y = 201,
                         .frame = 3086,
                         .slot = 73,
                         .click = true,
                         .cursor = 11});
        sh_object(TUTOR, {.map = ROOM, .x = 345, .y = 335, .frame = 30400, .slot = 7});
        sh_object(TABLE, {.map = ROOM,
                          .x = 241,
                          .y = 295,
                          .frame = 3088,
                          .slot = 75,
                          .click = true,
                          .cursor = 10});
        sh_object(WAITER, {.map = ROOM,
                           .x = 372,
                           .y = 280,
                           .frame = 31244,
                           .slot = 77,
                           .click = true,
                           .cursor = 13});
        sh_object(KEEPER, {.map = ROOM,
                           .x = 402,
                           .y = 258,
                           .frame = 31116,
                           .slot = 78,
                           .click = true,
                           .cursor = 13});
        sh_object(SERVED_TABLE, {.map = ROOM,
                                 .x = 133,
                                 .y = 266,
                                 .frame = 3087,
                                 .slot = 85,
                                 .click = true,
                                 .cursor = 10});
        sh_object(SERVER, {.map = ROOM,
                           .x = 268,
                           .y = 263,
                           .frame = 31450,
                           .slot = 87,
                           .click = true,
                           .cursor = 13});
        for (const s32 o : {DISH_A, DISH_B, SERVING_A, SERVING_B})
            sh_object(o, {.map = ROOM, .x = 290, .y = 309, .frame = 1349, .active = false});
        sh_object(COOK, {.map = ROOM, .x = 150, .y = 150, .frame = 2498});
        for (const s32 shop : {PRACTICE_SHOP, DINING_SHOP})
            for (s32 row = 0; row < SERVICE_KINDS; row++) shop_stock[shop][row].price = PRICE;
        player_record.money = 1000;
        player_record.fullness = 20;
        player_record.skill[GROWTH_APPETITE] = 50;
    }
    static void order_from_table(s32 dish) {
        sh_player(294, 330, ROOM);
        sh_answers({0, dish - 1});
        sh_fire(TABLE, TRIG_CLICK);
    }
};

// ---- Payment ---------------------------------------------------------------------------------

TEST_F(Dining, OnlyMoneyAboveThePricePaysForADish) {
    struct Case {
        s32 money;
        bool served;
    };
    for (const Case c : {Case{PRICE - 1, false}, Case{PRICE, false}, Case{PRICE + 1, true}}) {
        world();
        player_record.money = c.money;
        sh_clear_lines();
        order_from_table(3);
        const Lines asked = {"say_at 167 20120", "choose 2 1000 20121 20122 -> 0",
                             "say_at 167 20104", "say_at 167 20125",
                             "choose 2 1000 10614 10615 10616 10617 10618 -> 2"};
        EXPECT_EQ(home_talk_lines(),
                  concat(asked, {c.served ? "say_at 167 20046" : "say_at 167 10642"}))
            << c.money;
        EXPECT_EQ(player_record.money, c.served ? 1 : c.money) << c.money;
        EXPECT_EQ(attr_get(TABLE, ATTR_VAR_B), c.served ? 3 : 0) << c.money;
        EXPECT_EQ(attr_get(TABLE, ATTR_CLICK), c.served ? 0 : 1) << c.money;
        EXPECT_EQ(attr_get(WAITER, ATTR_VAR_B), c.served ? SERVING_COUNTDOWN : 0) << c.money;
        // Refused: the waiter is back at its place and the player stands again.
        EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), c.served ? 1 : 0) << c.money;
        EXPECT_EQ(attr_get(WAITER, ATTR_X), c.served ? 480 : 372) << c.money;
    }
    // A closed menu (no option) pays nothing.
    player_record.money = 1000;
    EXPECT_FALSE(service_pay(DINING_SHOP, -1));
    EXPECT_FALSE(service_pay(DINING_SHOP, SERVICE_KINDS));
    EXPECT_EQ(player_record.money, 1000);
}

// ---- The practice ----------------------------------------------------------------------------

struct PracticeCase {
    const char* name;
    bool seated;                // chosen with 20113 while seated, else with 20107
    std::array<s32, 5> tallies; // of kinds 1-5 before
    s32 month, year;            // the clock
    s32 kind;                   // 1-5
    std::vector<s32> draws;     // fullness, then experience when it grows
    s32 tally_after;            // of the kind
    bool reward;                // lines 16229-16233 and item 1901
    s32 pool_after;             // experience added to growth 21
};

TEST_F(Dining, APracticeGrowsByTheKindsTallyAndRewardsTheTenthOnce) {
    const Lines reward = {"say 3 1163 16229", "say 0 1000 16230", "say 3 1163 16231",
                          "say 0 1000 16232", "say 3 1163 16233"};
    // clang-format off
    const PracticeCase cases[] = {
        {"first practice: the lesson, 200 and 20-39", false, {0, 0, 0, 0, 0}, 3, 1, 2,
         {5, 7}, 1, false, 227},
        {"later practice outside month 9: the tally stays, it grows", true, {4, 1, 0, 0, 0}, 3, 1,
         1, {5, 19}, 4, false, 39},
        {"month 9 of year 1: the tally rises", true, {1, 0, 0, 0, 0}, 9, 1, 1, {5, 0}, 2, false,
         20},
        {"month 9 of year 2: no tally", true, {1, 0, 0, 0, 0}, 9, 2, 1, {5, 0}, 1, false, 20},
        {"the sum reaches 10: the reward", true, {3, 3, 2, 1, 0}, 9, 1, 1, {5, 0}, 4, true, 20},
        {"the sum passes 10: no reward", true, {4, 3, 2, 1, 0}, 9, 1, 1, {5, 0}, 5, false, 20},
        {"a tally at 10 no longer grows", true, {9, 0, 0, 0, 0}, 9, 1, 1, {5}, 10, true, 0},
        // With one kind at 10 the sum is 10 before the practice; the tally passes 10 on either
        // path, so the reward does not come again.
        {"one kind at 10, chosen seated", true, {10, 0, 0, 0, 0}, 9, 1, 1, {5}, 11, false, 0},
        {"one kind at 10, chosen on sitting down", false, {10, 0, 0, 0, 0}, 9, 1, 1, {5}, 11,
         false, 0},
    };
    // clang-format on
    for (const PracticeCase& c : cases) {
        SCOPED_TRACE(c.name);
        world();
        world_state.month = u8(c.month);
        world_state.year = u8(c.year);
        for (s32 k = 1; k <= 5; k++)
            player_record.item_tally[PRACTICE_TALLY_BASE + k] = c.tallies[size_t(k - 1)];
        // At the top level the experience stays in the pool, where the case can read it.
        player_record.skill[PRACTICE_GROWTH] = 100;
        growth_pool(PRACTICE_GROWTH) = 0;
        player_record.fullness = 50;
        const s32 item_before = inv_has(PRACTICE_REWARD_ITEM);
        sh_player(365, 240, ROOM);
        if (c.seated) {
            pose_enter({.x = 395, .y = 233, .frame = 2000, .slot = 74, .on_top = true});
            attr_set(SPOT, ATTR_VAR_A, 1);
            sh_answers({1, c.kind - 1});
        } else {
            sh_answers({0, c.kind - 1});
        }
        for (const s32 d : c.draws) sh_rand({d});
        sh_clear_lines();
        sh_fire(SPOT, TRIG_CLICK);

        const std::string kinds = "10661 10662 10663 10664 10665 -> " + std::to_string(c.kind - 1);
        Lines expected = c.seated
                             ? Lines{"say_at 4 20111", "choose 1 1000 20112 20113 20114 -> 1",
                                     "say_at 165 10737", "choose 1 1000 " + kinds, "say_at 4 20046"}
                             : Lines{"say_at 4 20106", "choose 1 1000 20107 20108 -> 0",
                                     "say_at 4 20109", "choose 1 1000 " + kinds, "say_at 4 20046"};
        if (c.tallies[size_t(c.kind - 1)] == 0)
            expected = concat(expected, {"say 0 1000 " + std::to_string(10666 + 2 * c.kind),
                                         "say 3 1163 " + std::to_string(10667 + 2 * c.kind)});
        if (c.reward) expected = concat(expected, reward);
        EXPECT_EQ(home_talk_lines(), expected);
        EXPECT_EQ(player_record.item_tally[PRACTICE_TALLY_BASE + c.kind], c.tally_after);
        EXPECT_EQ(inv_has(PRACTICE_REWARD_ITEM) - item_before, c.reward ? 1 : 0);
        EXPECT_EQ(growth_pool(PRACTICE_GROWTH), c.pool_after);
        EXPECT_EQ(player_record.fullness, 50 - 15);
        EXPECT_EQ(player_record.money, 1000 - PRICE);
        // Seated in pose 74 after a paid practice, the spot and object 4 at stage 1.
        EXPECT_TRUE(posed_in(74));
        EXPECT_EQ(attr_get(SPOT, ATTR_VAR_A), 1);
        EXPECT_EQ(sh_rand_left(), 0u);
        pose_leave({.frame = 422, .on_top = true});
    }
}

TEST_F(Dining, APracticeRestoresTheBodyUpToTenTimesTheSkillPlusNine) {
    for (const s32 extra : {9, 10}) {
        world();
        world_state.month = 3;
        player_record.item_tally[PRACTICE_TALLY_BASE + 1] = 1;
        player_record.skill[PRACTICE_GROWTH] = 30;
        player_record.stamina = 10 * 30 + extra;
        player_record.hp = 10;
        player_record.mp = 10;
        pose_enter({.x = 395, .y = 233, .frame = 2000, .slot = 74, .on_top = true});
        attr_set(SPOT, ATTR_VAR_A, 1);
        sh_answers({1, 0});
        sh_rand({0, 0});
        sh_fire(SPOT, TRIG_CLICK);
        const bool restored = extra == 9;
        EXPECT_EQ(player_record.stamina, 300 + extra + (restored ? 150 : 0)) << extra;
        EXPECT_EQ(player_record.hp > 10, restored) << extra;
        EXPECT_EQ(player_record.mp > 10, restored) << extra;
        pose_leave({.frame = 422, .on_top = true});
    }
}

TEST_F(Dining, ARefusedFirstPracticeLeavesTheSpotFree) {
    player_record.money = PRICE;
    sh_player(365, 240, ROOM);
    sh_answers({0, 4});
    sh_fire(SPOT, TRIG_CLICK);
    EXPECT_EQ(home_talk_lines(),
              (Lines{"say_at 4 20106", "choose 1 1000 20107 20108 -> 0", "say_at 4 20109",
                     "choose 1 1000 10661 10662 10663 10664 10665 -> 4", "say_at 4 10736"}));
    EXPECT_EQ(attr_get(SPOT, ATTR_VAR_A), 0);
    EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), 0);
    EXPECT_EQ(attr_get(0, ATTR_X), 444);
    EXPECT_EQ(obj_get_frame(0), -424);
    EXPECT_EQ(player_record.money, PRICE);
}

// ---- The dining room -------------------------------------------------------------------------

TEST_F(Dining, TooFullAMealIsRefusedBeforeSeating) {
    struct Case {
        s32 fullness, appetite;
        bool served;
    };
    for (const Case c : {Case{99, 60, false}, Case{2 * 40 + 1, 40, false}, Case{98, 49, true}}) {
        world();
        player_record.fullness = c.fullness;
        player_record.skill[GROWTH_APPETITE] = c.appetite;
        sh_player(294, 330, ROOM);
        sh_answers({1});
        sh_clear_lines();
        sh_fire(TABLE, TRIG_CLICK);
        const Lines offered = {"say_at 167 20120", "choose 2 1000 20121 20122 -> 1"};
        const Lines refused = {"say 3 1000 10699"};
        EXPECT_EQ(home_talk_lines(), c.served ? offered : refused)
            << c.fullness << " " << c.appetite;
    }
}

TEST_F(Dining, TheDinnerIsOrderedServedEatenAndCleared) {
    struct Case {
        const char* name;
        s32 dish;
        s32 tally_before;
        Lines taste;
    };
    const Case cases[] = {
        {"first taste of dish 1",
         1,
         0,
         {"say 1 1000 10620", "say 2 1147 10621", "say 1 1000 10622", "say 2 1147 10623",
          "say 1 1000 10624"}},
        {"first taste of dish 5",
         5,
         0,
         {"say 1 1000 10635", "say 2 1147 10636", "say 1 1000 10637", "say 2 1147 10638",
          "say 1 1000 10639", "say 2 1147 10640"}},
        {"dish 2 tasted before", 2, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world();
        attr_set(WAITER, ATTR_TIMER, SERVING_REARM);
        attr_set(WAITER, ATTR_TIMER_ON, 1);
        player_record.item_tally[DISH_TALLY_BASE + c.dish] = c.tally_before;
        growth_value(28) = 100; // at the top level the experience stays in the pool
        const s32 pool28 = growth_pool(28);
        order_from_table(c.dish);
        ASSERT_EQ(attr_get(WAITER, ATTR_VAR_B), SERVING_COUNTDOWN);
        EXPECT_EQ(attr_get(WAITER, ATTR_LAYER), 0);

        // Away, the waiter is not drawn but still under the pointer: a click there does nothing.
        sh_clear_lines();
        const s32 money = player_record.money;
        sh_fire(WAITER, TRIG_CLICK);
        EXPECT_TRUE(home_talk_lines().empty());
        EXPECT_EQ(attr_get(TABLE, ATTR_VAR_B), c.dish);
        EXPECT_EQ(player_record.money, money);
        EXPECT_EQ(attr_get(WAITER, ATTR_VAR_B), SERVING_COUNTDOWN);

        // Five timer runs of ten frames.
        sh_frames(4 * SERVING_REARM + SERVING_REARM / 2);
        EXPECT_EQ(attr_get(0, ATTR_EVENT), 0);
        EXPECT_TRUE(home_talk_lines().empty());
        sh_frames(SERVING_REARM);
        EXPECT_EQ(home_talk_lines(), concat({"say_at 167 20047"}, c.taste));
        EXPECT_TRUE(posed_in(76));
        EXPECT_EQ(attr_get(TABLE, ATTR_VAR_A), 1);
        EXPECT_EQ(attr_get(TABLE, ATTR_CLICK), 1);
        EXPECT_EQ(attr_get(TABLE, ATTR_CURSOR), 10);
        EXPECT_EQ(attr_get(WAITER, ATTR_VAR_A), 1);
        EXPECT_EQ(attr_get(WAITER, ATTR_LAYER), 3);
        EXPECT_EQ(attr_get(DISH_A, ATTR_ACTIVE), 1);
        EXPECT_EQ(attr_get(DISH_B, ATTR_ACTIVE), 1);
        // The first taste marks the tally, and eating counts the dish once more.
        EXPECT_EQ(player_record.item_tally[DISH_TALLY_BASE + c.dish],
                  c.tally_before == 0 ? 2 : c.tally_before + 1);
        EXPECT_EQ(growth_pool(28) - pool28, c.dish == 5 && c.tally_before == 0 ? 30 : 0);

        // A click on the table clears it.
        sh_clear_lines();
        sh_answers({1});
        sh_fire(TABLE, TRIG_CLICK);
        EXPECT_EQ(home_talk_lines(), (Lines{"say_at 167 20127", "choose 2 1000 20128 20129 -> 1"}));
        EXPECT_EQ(attr_get(0, ATTR_EVENT), 0);
        EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), 0);
        EXPECT_EQ(attr_get(0, ATTR_Y), 292);
        EXPECT_EQ(attr_get(TABLE, ATTR_VAR_A), 0);
        EXPECT_EQ(attr_get(WAITER, ATTR_VAR_A), 2);
        EXPECT_EQ(attr_get(DISH_A, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(DISH_B, ATTR_ACTIVE), 0);
        EXPECT_EQ(obj_get_frame(WAITER), 31244);
    }
}

// Seated and eating, the player orders a second dish from the waiter. While the waiter is away
// (not drawn, yet still under the pointer) a click at its place takes no order over the first.
TEST_F(Dining, ASecondDishComesOnceAndTheAwayWaiterTakesNoFurtherOrder) {
    sh_player(314, 345, ROOM);
    pose_enter({.x = 314, .y = 345, .frame = 31070, .slot = 76, .on_top = false});
    attr_set(TABLE, ATTR_VAR_A, 1);
    attr_set(TABLE, ATTR_VAR_B, 1);
    attr_set(WAITER, ATTR_VAR_A, 1);
    attr_set(WAITER, ATTR_TIMER, SERVING_REARM);
    attr_set(WAITER, ATTR_TIMER_ON, 1);
    sh_answers({0, 1});
    sh_fire(WAITER, TRIG_CLICK);
    EXPECT_EQ(home_talk_lines(),
              (Lines{"say_at 167 20041", "choose 2 1000 20130 20131 -> 0", "say_at 167 20125",
                     "choose 2 1000 10614 10615 10616 10617 10618 -> 1", "say_at 167 20046"}));
    EXPECT_EQ(player_record.money, 1000 - PRICE);
    EXPECT_EQ(attr_get(TABLE, ATTR_VAR_B), 2);
    EXPECT_EQ(attr_get(WAITER, ATTR_VAR_B), SERVING_COUNTDOWN);

    sh_clear_lines();
    sh_answers({0, 3});
    sh_fire(WAITER, TRIG_CLICK);
    EXPECT_TRUE(home_talk_lines().empty());
    EXPECT_EQ(dialog_answers_left(), 2u) << "no menu was offered";
    EXPECT_EQ(player_record.money, 1000 - PRICE);
    EXPECT_EQ(attr_get(TABLE, ATTR_VAR_B), 2);
    EXPECT_EQ(attr_get(WAITER, ATTR_VAR_B), SERVING_COUNTDOWN);

    // Served like the first: dish 2 is tasted for the first time.
    sh_frames(5 * SERVING_REARM);
    EXPECT_EQ(home_talk_lines(), (Lines{"say_at 167 20047", "say 1 1000 10625", "say 2 1147 10626",
                                        "say 1 1000 10627", "say 2 1147 10628"}));
    EXPECT_TRUE(posed_in(76));
    EXPECT_EQ(player_record.item_tally[DISH_TALLY_BASE + 2], 2);
}

// ---- The food shop ---------------------------------------------------------------------------

TEST_F(Dining, TheServedTableServesForNothingAndTheKeeperOnlyGreetsTheSeated) {
    sh_player(181, 295, ROOM);
    attr_set(SERVER, ATTR_TIMER, SERVING_REARM);
    attr_set(SERVER, ATTR_TIMER_ON, 1);
    sh_answers({0});
    sh_fire(SERVED_TABLE, TRIG_CLICK);
    EXPECT_EQ(obj_get_frame(SERVER), 0);
    EXPECT_EQ(attr_get(KEEPER, ATTR_CLICK), 0);
    EXPECT_EQ(attr_get(SERVED_TABLE, ATTR_CLICK), 0);
    EXPECT_EQ(player_record.money, 1000);
    sh_frames(5 * SERVING_REARM);
    EXPECT_TRUE(posed_in(86));
    EXPECT_EQ(attr_get(KEEPER, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(SERVING_A, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(SERVING_B, ATTR_ACTIVE), 1);
    EXPECT_EQ(player_record.money, 1000);

    sh_clear_lines();
    obj_set_frame(KEEPER, 31130);
    sh_fire(KEEPER, TRIG_CLICK);
    EXPECT_EQ(home_talk_lines(), (Lines{"say_at 170 20331"}));
    EXPECT_EQ(obj_get_frame(KEEPER), 31114);
    EXPECT_TRUE(sh_calls().empty());
}

TEST_F(Dining, TheKeeperSellsFromShopFourAndSendsTheServer) {
    sh_player(402, 300, ROOM);
    sh_answers({1});
    sh_fire(KEEPER, TRIG_CLICK);
    sh_answers({2});
    sh_fire(KEEPER, TRIG_CLICK);
    EXPECT_EQ(sh_calls(), (std::vector<std::string>{"shop_buy 4", "shop_sell 4"}));
    sh_clear_lines();
    sh_answers({0});
    sh_fire(KEEPER, TRIG_CLICK);
    EXPECT_EQ(home_talk_lines(), (Lines{"say_at 170 20179", "choose 2 1000 10500 10501 10502 -> 0",
                                        "say_at 178 20180"}));
}

// The waiter, the keeper and the server idle on their timers while no serving is on its way.
TEST_F(Dining, TheAttendantsIdleOnTheirTimers) {
    struct Case {
        s32 obj, frame;
        s32 next, timer;
    };
    const Case cases[] = {
        {WAITER, 31244, 31246, 10},  {WAITER, 31316, 31244, 100}, {KEEPER, 31146, 31148, 8},
        {KEEPER, 31148, 31114, 100}, {SERVER, 31496, 31498, 10},  {SERVER, 31498, 31450, 100},
    };
    for (const Case& c : cases) {
        obj_set_frame(c.obj, c.frame);
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.obj), c.next) << c.obj << " at " << c.frame;
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer) << c.obj << " at " << c.frame;
    }
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(DiningPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(dining_frames);
    EXPECT_GT(shown.count, 100u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
