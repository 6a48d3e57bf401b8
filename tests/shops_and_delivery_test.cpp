// The shop keepers of the two towns and the delivery errand, on the objects the new game's
// population makes: the errand's acceptance by the hour, the delivery by what the player holds and
// what the keeper wants (with the parked stage put back exactly), the token trade by the count,
// the keepers' own stages, the walking keeper's quiz, and the menus of town A.
#include "scripts/towns/shops_and_delivery.h"

#include "data/world_population.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/cells.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 OBJECTS[] = {454,  458,  464,  508,  1011, 1012, 1019, 1020, 1025, 1029, 1030, 1031,
                           1032, 1034, 1035, 1037, 1038, 1040, 1041, 1057, 1064, 1065, 1091};

std::string box(s32 pos, s32 text, s32 portrait = 1000) {
    return "say " + std::to_string(pos) + " " + std::to_string(portrait) + " " +
           std::to_string(text);
}

// How many of the item the player holds.
s32 held(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

class ShopsAndDelivery : public PopulatedScriptTest<OBJECTS> {
  protected:
    // A click on obj with the player beside it and the answers queued; the boxes, bubbles and
    // choices said.
    static Lines click(s32 obj, std::initializer_list<s32> answers = {}) {
        sh_click(obj, answers);
        return sh_only(sh_lines(), {"say", "choose"});
    }
};

// ---- Acceptance ------------------------------------------------------------------------------

TEST_F(ShopsAndDelivery, TheErrandIsOfferedFrom11To1459AndParksThirteenKeepers) {
    struct Case {
        const char* name;
        s32 hour, minute;
        bool zone_active; // the street scene is still to come
        bool offered;
    };
    const Case cases[] = {
        {"10:59", 10, 59, true, false},       {"11:00", 11, 0, true, true},
        {"14:59", 14, 59, true, true},        {"15:00", 15, 0, true, false},
        {"scene played", 12, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        sh_clock(c.hour, c.minute);
        attr_set(1011, ATTR_VAR_A, 1); // a pending stage of its own
        attr_set(1091, ATTR_VAR_A, 2);
        attr_set(ERRAND_ZONE, ATTR_ACTIVE, c.zone_active ? 1 : 0);
        const Lines lines = c.offered ? click(ERRAND_KEEPER, {0, 0}) : click(ERRAND_KEEPER, {1});
        if (!c.offered) {
            EXPECT_EQ(lines, (Lines{sh_bubble(1025, 25350), sh_bubble(1025, 25359),
                                    "choose 3 1000 25351 25352 -> 1"}));
            EXPECT_EQ(attr_get(ERRAND_KEEPER, ATTR_VAR_A), 0);
            EXPECT_EQ(attr_get(1011, ATTR_VAR_A), 1);
            EXPECT_EQ(held(2366), 0);
            continue;
        }
        EXPECT_EQ(lines, (Lines{sh_bubble(1025, 25353), "choose 3 1000 25354 25355 -> 0",
                                sh_bubble(1025, 25356), "choose 3 1000 25357 25358 -> 0"}));
        EXPECT_EQ(attr_get(ERRAND_KEEPER, ATTR_VAR_A), 1);
        for (const s32 obj : ERRAND_KEEPERS) {
            SCOPED_TRACE(obj);
            EXPECT_EQ(attr_get(obj, ATTR_VAR_A), ERRAND_STAGE);
        }
        EXPECT_EQ(attr_get(1011, ATTR_VAR_B), 1);
        EXPECT_EQ(attr_get(1091, ATTR_VAR_B), 2);
        EXPECT_EQ(attr_get(1012, ATTR_VAR_B), 0);
        for (s32 item = 2366; item <= 2371; ++item) EXPECT_EQ(held(item), 1) << item;
        EXPECT_EQ(attr_get(ERRAND_ZONE, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(ERRAND_WALKER_A, ATTR_ACTIVE), c.zone_active ? 0 : 1);
        EXPECT_EQ(attr_get(ERRAND_WALKER_B, ATTR_ACTIVE), c.zone_active ? 0 : 1);
        EXPECT_EQ(attr_get(ERRAND_ZONE, ATTR_VAR_B), c.zone_active ? 1 : 0);
    }
}

TEST_F(ShopsAndDelivery, DecliningTheErrandLeavesEverything) {
    sh_clock(12, 0);
    EXPECT_EQ(click(ERRAND_KEEPER, {0, 1}),
              (Lines{sh_bubble(1025, 25353), "choose 3 1000 25354 25355 -> 0",
                     sh_bubble(1025, 25356), "choose 3 1000 25357 25358 -> 1"}));
    EXPECT_EQ(attr_get(ERRAND_KEEPER, ATTR_VAR_A), 0);
    EXPECT_EQ(attr_get(1012, ATTR_VAR_A), 0);
    EXPECT_EQ(held(2366), 0);
}

// ---- Delivery --------------------------------------------------------------------------------

TEST_F(ShopsAndDelivery, ADeliveryPaysForWantedGoodsAndLosesOthers) {
    struct Case {
        const char* name;
        s32 keeper;
        s32 parked;      // the stage the errand parked
        s32 goods_index; // 0..5 of the delivery menu
        bool owned;
        s32 zone_var_b; // object 1040's ATTR_VAR_B (1: hidden by the errand)
        Lines said;     // after the menus
        s32 stage_after;
        s32 tokens;
        bool walkers_shown;
    };
    const Case cases[] = {
        {"not owned", 1012, 0, 2, false, 1, {box(3, 25373)}, 60, 0, false},
        {"unwanted", 1012, 0, 0, true, 1, {sh_bubble(1012, 25370)}, 60, 0, false},
        {"wanted by 1012, walkers back", 1012, 0, 2, true, 1, {sh_bubble(1012, 25369)}, 0, 1, true},
        {"wanted by 1012, scene played",
         1012,
         0,
         2,
         true,
         0,
         {sh_bubble(1012, 25369)},
         0,
         1,
         false},
        {"1012's pending offer back", 1012, 1, 2, true, 0, {sh_bubble(1012, 25369)}, 1, 1, false},
        {"1011's pending trade back", 1011, 1, 5, true, 1, {sh_bubble(1011, 25369)}, 1, 1, false},
        {"1032 in map 207", 1032, 0, 0, true, 1, {sh_bubble(1032, 25369)}, 0, 1, false},
        {"1030 wants none", 1030, 0, 5, true, 1, {sh_bubble(1030, 25370)}, 60, 0, false},
        {"the host", 1091, 2, 1, true, 1, {sh_bubble(1091, 25369)}, 2, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(c.keeper, ATTR_VAR_A, c.parked);
        stage_park(c.keeper, ERRAND_STAGE);
        attr_set(ERRAND_ZONE, ATTR_VAR_B, c.zone_var_b);
        for (const s32 obj : {ERRAND_ZONE, ERRAND_WALKER_A, ERRAND_WALKER_B})
            attr_set(obj, ATTR_ACTIVE, 0);
        const s32 goods = ERRAND_GOODS[c.goods_index];
        if (c.owned) inv_add(goods, 2);
        // The keeper's menu with the errand option at its index (the host's is its second).
        const s32 option = c.keeper == 1011 || c.keeper == 1030 ? 4
                           : c.keeper == 1032                   ? 3
                           : c.keeper == ERRAND_HOST            ? ERRAND_HOST_OPTION
                                                                : 2;
        const Lines lines = click(c.keeper, {option, c.goods_index});
        ASSERT_GE(lines.size(), c.said.size());
        EXPECT_EQ(Lines(lines.end() - s32(c.said.size()), lines.end()), c.said);
        EXPECT_EQ(lines[lines.size() - c.said.size() - 1],
                  "choose 3 1000 25363 25364 25365 25366 25367 25368 -> " +
                      std::to_string(c.goods_index));
        EXPECT_EQ(attr_get(c.keeper, ATTR_VAR_A), c.stage_after);
        EXPECT_EQ(held(ERRAND_TOKEN), c.tokens);
        EXPECT_EQ(held(goods), c.owned ? 1 : 0);
        for (const s32 obj : {ERRAND_ZONE, ERRAND_WALKER_A, ERRAND_WALKER_B}) {
            EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), c.walkers_shown ? 1 : 0) << obj;
        }
    }
}

// The keepers' stage-60 menus: the greeting (1011 and 1020 only in stages 0 and 60), the
// ordinary options, and the errand option at the row's index.
TEST_F(ShopsAndDelivery, ErrandMenusAppendTheDeliveryOption) {
    struct Case {
        s32 keeper;
        Lines lines;
    };
    const Case cases[] = {
        {1011, {sh_bubble(1011, 34870), "choose 3 1000 34871 34872 -1 34873 25362 -> 0"}},
        {1019, {sh_bubble(1019, 33610), "choose 3 1000 35032 35033 35034 25362 -> 0"}},
        {1031, {sh_bubble(1031, 33590), "choose 3 1000 35039 35041 25361 -> 0"}},
        {1037, {sh_bubble(1037, 33560), "choose 3 1000 35035 35041 25361 -> 0"}},
        {1091, {"choose 3 1000 25372 25371 -> 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keeper);
        populate();
        stage_park(c.keeper, ERRAND_STAGE);
        EXPECT_EQ(click(c.keeper, {0}), c.lines);
        EXPECT_EQ(attr_get(c.keeper, ATTR_VAR_A), ERRAND_STAGE);
    }
}

// ---- Tokens ----------------------------------------------------------------------------------

TEST_F(ShopsAndDelivery, TheTokenTradeGivesThePrizeOfTheCountHandedIn) {
    struct Case {
        s32 n;
        s32 prize, count;
    };
    const Case cases[] = {{0, 0, 0},    {1, 1254, 1}, {2, 1250, 1}, {3, 1258, 1},
                          {4, 2004, 1}, {5, 2003, 1}, {6, 1271, 3}, {7, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        populate();
        attr_set(ERRAND_KEEPER, ATTR_VAR_A, 1);
        if (c.n > 0) inv_add(ERRAND_TOKEN, c.n);
        const Lines lines = click(ERRAND_KEEPER, {2});
        const std::string answer = c.n == 0 ? sh_bubble(1025, 25356) : sh_bubble(1025, 25374);
        EXPECT_EQ(lines,
                  (Lines{sh_bubble(1025, 25359), "choose 3 1000 25351 25352 25360 -> 2", answer}));
        EXPECT_EQ(held(ERRAND_TOKEN), c.count > 0 ? 0 : c.n);
        if (c.count > 0) {
            EXPECT_EQ(held(c.prize), c.count);
        }
        EXPECT_EQ(attr_get(ERRAND_KEEPER, ATTR_VAR_A), 1);
    }
}

TEST_F(ShopsAndDelivery, TokensGatheredLaterTradeAgain) {
    attr_set(ERRAND_KEEPER, ATTR_VAR_A, 1);
    inv_add(ERRAND_TOKEN, 2);
    click(ERRAND_KEEPER, {2});
    inv_add(ERRAND_TOKEN, 1);
    click(ERRAND_KEEPER, {2});
    EXPECT_EQ(held(1250), 1);
    EXPECT_EQ(held(1254), 1);
    EXPECT_EQ(held(ERRAND_TOKEN), 0);
}

// ---- Keepers' own stages ---------------------------------------------------------------------

TEST_F(ShopsAndDelivery, Keeper1031TakesItem2280AndGivesItem2295AtOnce) {
    attr_set(1031, ATTR_VAR_A, 2);
    inv_add(2280, 1);
    EXPECT_EQ(click(1031), (Lines{box(3, 25103), sh_bubble(1031, 25104)}));
    EXPECT_EQ(held(2280), 0);
    EXPECT_EQ(held(2295), 1);
    EXPECT_EQ(attr_get(1031, ATTR_VAR_A), 4);
    EXPECT_EQ(attr_get(1065, ATTR_VAR_A), 1);
}

TEST_F(ShopsAndDelivery, Keeper1012OffersItem2321OnlyToASkilledPlayerWithTheMoney) {
    struct Case {
        const char* name;
        s32 skill;
        s32 money;
        std::vector<s32> answers;
        bool sold; // the sell screen opened
        s32 bought;
        s32 money_after;
    };
    const Case cases[] = {
        {"skill 69", 69, 500, {0}, true, 0, 500},
        {"skill 70, 200", 70, 500, {0, 0}, false, 1, 300},
        {"skill 70, 200 short", 70, 199, {0, 0}, false, 0, 199},
        {"skill 70, 100", 70, 100, {0, 1, 0}, false, 1, 0},
        {"skill 70, sell", 70, 100, {0, 1, 1}, true, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(1012, ATTR_VAR_A, 1);
        player_record.skill[17] = c.skill;
        player_record.money = c.money;
        attr_set(0, ATTR_X, attr_get(1012, ATTR_X) + 40);
        attr_set(0, ATTR_Y, attr_get(1012, ATTR_Y));
        for (const s32 a : c.answers) sh_answers({a});
        sh_fire(1012, TRIG_CLICK);
        const auto& calls = sh_calls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "shop_sell 25"), c.sold ? 1 : 0);
        EXPECT_EQ(held(2321), c.bought);
        EXPECT_EQ(player_record.money, c.money_after);
        EXPECT_EQ(attr_get(1012, ATTR_VAR_A), c.bought > 0 ? 0 : 1);
    }
}

TEST_F(ShopsAndDelivery, Keeper1011TradesItem2376WithoutAGreeting) {
    attr_set(1011, ATTR_VAR_A, 1);
    inv_add(2376, 1);
    EXPECT_EQ(click(1011),
              (Lines{sh_bubble(1011, 33626), box(0, 33627), sh_bubble(1011, 33628), box(0, 33629),
                     sh_bubble(1011, 33631), box(0, 33632), sh_bubble(1011, 33633)}));
    EXPECT_EQ(held(2376), 0);
    EXPECT_EQ(held(2363), 1);
    EXPECT_EQ(attr_get(1011, ATTR_VAR_A), 0);
}

// ---- The walking keeper ----------------------------------------------------------------------

TEST_F(ShopsAndDelivery, Keeper1029AsksItsQuizOnceWhateverTheResult) {
    struct Case {
        const char* name;
        s32 hour;
        std::vector<s32> answers;
        Lines tail;
        s32 prize;
    };
    const Case cases[] = {
        {"wrong at question 2",
         9,
         {0, 1, 2, 1},
         {"choose 3 1000 34809 34810 34811 -> 1", sh_bubble(1029, 34682), box(3, 34831)},
         0},
        {"all right",
         10,
         {0, 1, 2, 0, 1, 0},
         {"choose 3 1000 34817 34818 34819 -> 0", sh_bubble(1029, 34795), box(3, 34796)},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        sh_clock(c.hour, 0);
        attr_set(1029, ATTR_VAR_A, 2);
        attr_set(0, ATTR_X, attr_get(1029, ATTR_X) + 40);
        attr_set(0, ATTR_Y, attr_get(1029, ATTR_Y));
        for (const s32 a : c.answers) sh_answers({a});
        sh_clear_lines();
        sh_fire(1029, TRIG_CLICK);
        const Lines lines = sh_only(sh_lines(), {"say", "choose"});
        ASSERT_GE(lines.size(), c.tail.size());
        EXPECT_EQ(Lines(lines.end() - s32(c.tail.size()), lines.end()), c.tail);
        EXPECT_EQ(held(1058), c.prize);
        EXPECT_EQ(attr_get(1029, ATTR_VAR_A), 3);
        // Asked once: the next click in the quiz hour is the shop.
        EXPECT_EQ(click(1029, {2}),
                  (Lines{sh_bubble(1029, 34782), "choose 3 1000 35035 35033 35034 -> 2"}));
    }
}

TEST_F(ShopsAndDelivery, Keeper1029IsAShopOutsideTheQuizHour) {
    sh_clock(11, 0);
    attr_set(1029, ATTR_VAR_A, 2);
    EXPECT_EQ(click(1029, {1}),
              (Lines{sh_bubble(1029, 34782), "choose 3 1000 35035 35033 35034 -> 1"}));
    EXPECT_EQ(sh_calls(), (std::vector<std::string>{"shop_buy 22"}));
    EXPECT_EQ(attr_get(1029, ATTR_VAR_A), 2);
}

// Its walk: to the sign, the sign's frames, back to the counter, then again.
TEST_F(ShopsAndDelivery, Keeper1029WalksToItsSignAndBack) {
    attr_set(1029, ATTR_VAR_B, 0);
    s32 seen_sign = 0;
    s32 back = 0;
    s32 last = 0;
    for (s32 run = 0; run < 400 && back == 0; ++run) {
        attr_set(1029, ATTR_TIMER, 0);
        sh_fire(1029, TRIG_TIMER);
        const s32 stage = attr_get(1029, ATTR_VAR_B);
        if (stage == 1) {
            EXPECT_EQ(attr_get(1029, ATTR_X), 230);
            EXPECT_EQ(attr_get(1029, ATTR_Y), 362);
            seen_sign = 1;
        }
        if (last == 2 && stage == 0) back = 1;
        last = stage;
    }
    EXPECT_EQ(seen_sign, 1);
    EXPECT_EQ(back, 1);
    EXPECT_EQ(attr_get(1029, ATTR_X), 330);
    EXPECT_EQ(attr_get(1029, ATTR_Y), 286);
    EXPECT_EQ(obj_get_frame(1029), 4852);
}

// ---- Town A ----------------------------------------------------------------------------------

TEST_F(ShopsAndDelivery, TownAKeepersGreetAndOpenTheirShops) {
    struct Case {
        s32 keeper;
        s32 answer;
        Lines lines;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {454, 0, {sh_bubble(454, 25952), "choose 3 1000 25953 25954 -> 0"}, {"shop_sell 35"}},
        {458, 1, {sh_bubble(458, 10118), "choose 3 1000 10120 10121 10122 -> 1"}, {"shop_buy 27"}},
        {464,
         2,
         {sh_bubble(464, 10154), "choose 3 1000 10155 10156 10157 -> 2", sh_bubble(464, 10265)},
         {}},
        {508, 0, {box(2, 25955, 1201), "choose 3 1000 25956 25957 25958 -> 0"}, {"shop_sell 30"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keeper);
        populate();
        const s32 frame = obj_get_frame(c.keeper);
        EXPECT_EQ(click(c.keeper, {c.answer}), c.lines);
        EXPECT_EQ(sh_calls(), c.calls);
        EXPECT_EQ(obj_get_frame(c.keeper), frame);
        // Keeper 464's menu leaves cursor 13.
        if (c.keeper == 464) {
            EXPECT_EQ(u32(world_state.cursor_id), 13u);
        }
    }
}

TEST_F(ShopsAndDelivery, Keeper454TalksOnlyFromNear) {
    attr_set(0, ATTR_X, attr_get(454, ATTR_X) + 120);
    attr_set(0, ATTR_Y, attr_get(454, ATTR_Y));
    sh_clear_lines();
    sh_fire(454, TRIG_CLICK);
    EXPECT_EQ(sh_only(sh_lines(), {"say", "choose"}), Lines{});
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(ShopsAndDeliveryPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(shops_and_delivery_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
