// The item errands of the city as the new game's population makes them: the trades at their
// thresholds and with the items held or not, the chain from item 2372 to item 2365 as one walk of
// clicks, 1066's handover (also at once after it has asked for the item) and its walk out of the
// city, and the frames these scripts show.
#include "scripts/towns/city_item_errands.h"

#include "data/hub_block.h"
#include "data/world_population.h"
#include "engine/world/object.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 OBJECTS[] = {1011, 1019, 1065, 1066, 1067, 1111, 1112, 1113,
                           1114, 1115, 1120, 1137, 1138, 1139, 1140};
// Where the player's boxes go with the player standing to the right of a figure that turns.
constexpr s32 TURNED = 3;

std::string you(s32 text) {
    return sh_box(TURNED, 1000, text);
}
// Texts first..last, one a line, a and b alternating from a.
Lines alternate(s32 first, s32 last, const std::function<std::string(s32)>& a,
                const std::function<std::string(s32)>& b) {
    Lines out;
    for (s32 t = first; t <= last; ++t) out.push_back((t - first) % 2 == 0 ? a(t) : b(t));
    return out;
}
std::function<std::string(s32)> by(s32 obj) {
    return [obj](s32 t) { return sh_bubble(obj, t); };
}
const std::function<std::string(s32)> YOU = [](s32 t) { return you(t); };
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using CityItemErrands = PopulatedScriptTest<OBJECTS>;

// ---- Trades by stage, money, growth and the items held ---------------------------------------

TEST_F(CityItemErrands, EachTradeTakesAndGivesOnlyWhatItsCaseAllows) {
    struct Case {
        const char* name;
        s32 obj;
        s32 stage;
        s32 money;
        std::vector<s32> held;
        std::vector<s32> answers;
        Lines lines;
        s32 next_stage;
        s32 money_after;
        std::vector<s32> held_after; // of `held` and the rewards: what the player holds after
        std::vector<s32> gone_after; // what the player no longer holds
        s32 chivalry_gain = 0;
        s32 skill14 = 0;
    };
    const Lines offer_1139 = alternate(25513, 25518, by(1139), YOU);
    const Case cases[] = {
        {"1139 with 500 buys",
         1139,
         0,
         500,
         {},
         {0},
         offer_1139 + Lines{"choose 3 1000 25519 25520 -> 0", you(25521), sh_bubble(1139, 25522),
                            you(25523), sh_bubble(1139, 25526)},
         2,
         0,
         {2372},
         {},
         3},
        {"1139 with 500 declines",
         1139,
         0,
         500,
         {},
         {1},
         offer_1139 + Lines{"choose 3 1000 25519 25520 -> 1"},
         0,
         500,
         {},
         {2372}},
        {"1139 with 499",
         1139,
         0,
         499,
         {},
         {},
         offer_1139 + Lines{you(25524), sh_bubble(1139, 25525)},
         1,
         499,
         {},
         {2372}},
        {"1139 again with 500",
         1139,
         1,
         500,
         {},
         {0},
         Lines{sh_bubble(1139, 25513), "choose 3 1000 25519 25520 -> 0", you(25521),
               sh_bubble(1139, 25522), you(25523), sh_bubble(1139, 25526)},
         2,
         0,
         {2372},
         {},
         3},
        {"1114 by growth takes nothing",
         1114,
         0,
         50,
         {},
         {},
         {sh_bubble(1114, 25527), you(25528), sh_bubble(1114, 25530), you(25531)},
         1,
         50,
         {2260},
         {},
         0,
         60},
        {"1114 below the growth",
         1114,
         0,
         50,
         {},
         {},
         {sh_bubble(1114, 25527)},
         0,
         50,
         {},
         {2260},
         0,
         59},
        {"1114 with 2372",
         1114,
         0,
         50,
         {2372},
         {},
         {sh_bubble(1114, 25527), you(25529), sh_bubble(1114, 25530), you(25531)},
         1,
         50,
         {2260},
         {2372},
         0,
         60},
        {"1120 with 5",
         1120,
         0,
         5,
         {},
         {0},
         {sh_bubble(1120, 33380), "choose 3 1000 33381 33382 -> 0", sh_bubble(1120, 33383)},
         1,
         0,
         {},
         {}},
        {"1120 with 4",
         1120,
         0,
         4,
         {},
         {0},
         {sh_bubble(1120, 33380), "choose 3 1000 33381 33382 -> 0"},
         0,
         4,
         {},
         {}},
        {"1120 declines",
         1120,
         0,
         5,
         {},
         {1},
         {sh_bubble(1120, 33380), "choose 3 1000 33381 33382 -> 1"},
         0,
         5,
         {},
         {}},
        {"1112 is shown 2376 and keeps asking without it",
         1112,
         1,
         0,
         {},
         {},
         {sh_bubble(1112, 33658)},
         1,
         0,
         {},
         {2376}},
        {"1112 is shown 2376, which stays",
         1112,
         1,
         0,
         {2376},
         {},
         alternate(33618, 33625, YOU, by(1112)),
         2,
         0,
         {2376},
         {}},
        {"1138 with 2375 alone",
         1138,
         0,
         0,
         {2375},
         {},
         {sh_bubble(1138, 25552), you(25554), sh_bubble(1138, 25560)},
         0,
         0,
         {2375},
         {2374}},
        {"1065 with 2295",
         1065,
         1,
         0,
         {2295},
         {},
         {sh_bubble(1065, 25101), you(25105), sh_bubble(1065, 25106)},
         2,
         0,
         {1151},
         {2295}},
        {"1065 without", 1065, 1, 0, {}, {}, {sh_bubble(1065, 25101)}, 1, 0, {}, {1151}},
        {"1115 with 2389 moves 1019 on",
         1115,
         4,
         0,
         {2389},
         {},
         alternate(
             27118, 27129, [](s32 t) { return sh_box(3, 1000, t); }, by(1115)),
         5,
         0,
         {2389},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        player_record.money = c.money;
        player_record.skill[14] = c.skill14;
        const s32 chivalry = player_record.chivalry;
        for (const s32 item : c.held) inv_add(item, 1);
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        const s32 frame = attr_get(c.obj, ATTR_FRAME);
        attr_set(0, ATTR_X, attr_get(c.obj, ATTR_X) + 40);
        attr_set(0, ATTR_Y, attr_get(c.obj, ATTR_Y));
        sh_clear_lines();
        for (const s32 a : c.answers) sh_answers({a});
        sh_fire(c.obj, TRIG_CLICK);
        EXPECT_EQ(sh_only(sh_lines(), {"say", "choose", "label"}), c.lines);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.next_stage);
        EXPECT_EQ(player_record.money, c.money_after);
        EXPECT_EQ(player_record.chivalry - chivalry, c.chivalry_gain);
        for (const s32 item : c.held_after) EXPECT_EQ(inv_has(item), 1) << item;
        for (const s32 item : c.gone_after) EXPECT_EQ(inv_has(item), 0) << item;
        if (c.obj == 1112 && c.next_stage == 2) {
            EXPECT_EQ(attr_get(1011, ATTR_VAR_A), 1);
            EXPECT_EQ(player_record.story_flags[36], 1);
        }
        if (c.obj == 1115 && c.next_stage == 5) {
            EXPECT_EQ(attr_get(1019, ATTR_VAR_A), 1);
        }
        if (c.obj == 1138) {
            EXPECT_EQ(attr_get(c.obj, ATTR_FRAME), 46412);
        } else {
            EXPECT_EQ(attr_get(c.obj, ATTR_FRAME), frame);
        }
    }
}

// ---- The chain from 2372 to 2365 -------------------------------------------------------------

TEST_F(CityItemErrands, TheChainFromItem2372EndsIn2365AndFiveThousand) {
    player_record.money = 500;
    // Each step: the click, what the player holds afterwards and what no longer.
    struct Step {
        const char* name;
        s32 obj;
        std::vector<s32> answers;
        s32 holds;
        s32 gave; // 0: nothing taken
        s32 stage;
    };
    const Step steps[] = {
        {"1139 sells 2372", 1139, {0}, 2372, 0, 2},
        {"1114 takes 2372 for 2260", 1114, {}, 2260, 2372, 1},
        {"1137's first talk", 1137, {}, 2260, 0, 1},
        {"1137 takes 2260 for 2269", 1137, {}, 2269, 2260, 2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        std::vector<s32> a = s.answers;
        if (a.empty()) {
            sh_click(s.obj);
        } else {
            sh_click(s.obj, {a[0]});
        }
        EXPECT_EQ(inv_has(s.holds), 1);
        if (s.gave != 0) {
            EXPECT_EQ(inv_has(s.gave), 0);
        }
        EXPECT_EQ(attr_get(s.obj, ATTR_VAR_A), s.stage);
    }
    // 1137 keeps the frame of its second range, and its idle cycle goes on in that range.
    EXPECT_EQ(attr_get(1137, ATTR_FRAME), 39780);
    sh_fire(1137, TRIG_TIMER);
    EXPECT_EQ(attr_get(1137, ATTR_FRAME), 39782);
    // Resident 1026 of the city trades 2269 for 2373 in a talk of its own.
    inv_remove(2269, 1);
    inv_add(2373, 1);
    EXPECT_EQ(sh_click(1138),
              (Lines{sh_bubble(1138, 25552), you(25554)} + alternate(25555, 25559, by(1138), YOU)));
    EXPECT_EQ(inv_has(2373), 0);
    EXPECT_EQ(inv_has(2374), 1);
    EXPECT_EQ(attr_get(1138, ATTR_VAR_A), 1);
    EXPECT_EQ(attr_get(1138, ATTR_FRAME), 46412);

    const s32 money = player_record.money;
    EXPECT_EQ(sh_click(1140), (Lines{sh_bubble(1140, 25500), sh_bubble(1140, 25501)} +
                               alternate(25502, 25512, YOU, by(1140))));
    EXPECT_EQ(inv_has(2374), 0);
    EXPECT_EQ(inv_has(2365), 1);
    EXPECT_EQ(player_record.money, money + 5000);
    EXPECT_EQ(attr_get(1140, ATTR_ACTIVE), 0);
}

// ---- 1066's handover and its walk ------------------------------------------------------------

TEST_F(CityItemErrands, TheWalkerTakesItem2351AtOnceAfterAskingAndWalksOutHidden) {
    const auto person = [](s32 t) { return sh_box(TURNED, 1200, t); };
    const Lines opening{sh_box(TURNED, 1200, 34500), you(34501), sh_box(TURNED, 1200, 34502)};
    // From too far nobody turns; until the handover its timer only idles in place.
    const s32 x = attr_get(CITY_ERRAND_WALKER, ATTR_X);
    const s32 y = attr_get(CITY_ERRAND_WALKER, ATTR_Y);
    const s32 frame = attr_get(CITY_ERRAND_WALKER, ATTR_FRAME);
    EXPECT_EQ(sh_click(CITY_ERRAND_WALKER, {}, 320), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_FRAME), frame);
    sh_frames(200);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_X), x);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_Y), y);
    EXPECT_GE(attr_get(CITY_ERRAND_WALKER, ATTR_FRAME), 47100);
    EXPECT_LE(attr_get(CITY_ERRAND_WALKER, ATTR_FRAME), 47134);
    EXPECT_EQ(sh_click(CITY_ERRAND_WALKER),
              (opening + Lines{you(34520), sh_box(TURNED, 1200, 34521)}));
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_VAR_A), 2);
    EXPECT_EQ(sh_click(CITY_ERRAND_WALKER), (Lines{sh_box(TURNED, 1200, 34525), you(34526)}));

    inv_add(2351, 1);
    hub_block.encounter_pool_b[CITY_ERRAND_POOL_B_ENTRY].on = 0;
    EXPECT_EQ(sh_click(CITY_ERRAND_WALKER), alternate(34503, 34515, YOU, person));
    EXPECT_EQ(inv_has(2351), 0);
    EXPECT_EQ(inv_has(2360), 1);
    EXPECT_EQ(acquaint_has(200), 1);
    EXPECT_EQ(hub_block.encounter_pool_b[CITY_ERRAND_POOL_B_ENTRY].on, 1);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_VAR_A), 4);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_FRAME), 39802);
    EXPECT_EQ(sh_click(CITY_ERRAND_WALKER), Lines{sh_box(TURNED, 1200, 25608)});

    // The walk: bounded by far more frames than the way needs.
    for (s32 i = 0; i < 40 && attr_get(CITY_ERRAND_WALKER, ATTR_ACTIVE) != 0; ++i) sh_frames(100);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_X), 1233);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_Y), 3832);
    EXPECT_EQ(attr_get(CITY_ERRAND_WALKER, ATTR_VAR_A), 16);
}

TEST_F(CityItemErrands, TheSpotOfItem2376StaysUntilTaken) {
    const Lines opening{sh_bubble(1067, 33611), sh_box(0, 1000, 33612), sh_bubble(1067, 33613),
                        sh_box(0, 1000, 33614), sh_bubble(1067, 33615)};
    EXPECT_EQ(sh_click(1067, {1}), opening + Lines{"choose 0 1000 33616 33617 -> 1"});
    EXPECT_EQ(attr_get(1067, ATTR_ACTIVE), 1);
    EXPECT_EQ(inv_has(2376), 0);
    EXPECT_EQ(sh_click(1067, {0}), opening + Lines{"choose 0 1000 33616 33617 -> 0"});
    EXPECT_EQ(attr_get(1067, ATTR_ACTIVE), 0);
    EXPECT_EQ(inv_has(2376), 1);
    EXPECT_EQ(attr_get(1067, ATTR_VAR_A), 1);
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(CityItemErrandsPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(city_item_errands_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
