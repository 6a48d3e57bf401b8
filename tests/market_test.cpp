// The market: the stall list's rules over many seeds and the order of its draws, and whole visits
// (buying and selling) through the hub dialogue and the shop screens.
#include "game/market.h"

#include "data/hub_block.h"
#include "data/items.h"
#include "data/shops.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "game/growth.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/meal.h"
#include "game/player.h"
#include "game/shop.h"
#include "tests/hub_fixture.h"
#include "tests/screen_clicks.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const ShopSlot& stall(s32 slot) {
    return shop_stock[SHOP_MARKET][slot];
}

bool is_wanted(s32 item) {
    return std::count(MARKET_WANTED, MARKET_WANTED + MARKET_WANTED_COUNT, item) != 0;
}

class MarketTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        player_record.money = 5000;
    }
    // One visit: the answer to buy (0) or sell (1), then the clicks on the shop screen.
    void visit(s32 answer, std::vector<ScriptedClick> clicks) {
        dialog_answer(answer);
        shop_screen.passes = 0;
        ClickScript script(&shop_screen.passes, std::move(clicks));
        market_visit_seam();
    }
};

constexpr ScriptedClick LEAVE = {2, 304, 334};

} // namespace

TEST_F(MarketTest, StallListKeepsItsRulesOverManySeeds) {
    // Half of the wanted goods have been had once (a tally of 1 or more): never offered again.
    for (s32 w = 0; w < MARKET_WANTED_COUNT; w += 2) player_record.item_tally[MARKET_WANTED[w]] = w;
    player_record.item_tally[MARKET_WANTED[0]] = 1;
    std::map<s32, s32> medicine;
    std::set<s32> slot6, slot8, slot9, wanted_offered;
    s32 wanted_slots = 0;
    constexpr s32 SEEDS = 3000;
    for (s32 seed = 0; seed < SEEDS; ++seed) {
        SCOPED_TRACE(seed);
        rt_srand(u32(seed));
        market_fill_wanted();
        std::set<s32> five;
        for (s32 s = 0; s < 5; ++s) {
            const ShopSlot& g = stall(s);
            ASSERT_GE(g.offset, 1200);
            ASSERT_LE(g.offset, 1237);
            ASSERT_NE(g.offset, 1204);
            ASSERT_GE(g.stock, 0);
            ASSERT_LE(g.stock, 99);
            five.insert(g.offset);
            ++medicine[g.offset];
        }
        ASSERT_EQ(five.size(), 5u);
        ASSERT_EQ(stall(5).offset, 2200);
        ASSERT_EQ(stall(5).stock, 999);
        const std::map<s32, s32> slot6_stock = {{1572, 3}, {1573, 3},  {1575, 3},
                                                {1576, 3}, {1571, 30}, {1570, 10}};
        ASSERT_EQ(slot6_stock.count(stall(6).offset), 1u);
        ASSERT_EQ(stall(6).stock, slot6_stock.at(stall(6).offset));
        slot6.insert(stall(6).offset);
        ASSERT_TRUE((stall(7).offset == 2241 && stall(7).stock == 5) ||
                    (stall(7).offset == 2240 && stall(7).stock == 30));
        const std::set<s32> slot8_items = {2210, 2211, 2212, 2213, 2214, 2216,
                                           2220, 2230, 2231, 2232, 2250};
        ASSERT_EQ(slot8_items.count(stall(8).offset), 1u);
        ASSERT_EQ(stall(8).stock, 1);
        slot8.insert(stall(8).offset);
        const s32 n9 = stall(9).offset;
        if (n9 >= 2050 && n9 <= 2064)
            ASSERT_EQ(stall(9).stock, 2);
        else if (n9 >= 1950 && n9 <= 1966)
            ASSERT_EQ(stall(9).stock, 1);
        else if (n9 >= 1550 && n9 <= 1556)
            ASSERT_EQ(stall(9).stock, n9 == 1556 ? 1 : 30);
        else
            FAIL() << "slot 9 offers " << n9;
        slot9.insert(n9);
        if (stall(10).offset != -1) {
            ASSERT_TRUE(is_wanted(stall(10).offset));
            ASSERT_EQ(player_record.item_tally[stall(10).offset], 0);
            ASSERT_EQ(stall(10).stock, 1);
            wanted_offered.insert(stall(10).offset);
            ++wanted_slots;
        }
        for (s32 s = 0; s <= 10; ++s) {
            if (stall(s).offset == -1) continue;
            ASSERT_EQ(stall(s).price, 2 * item_master[stall(s).offset].value) << s;
        }
        for (s32 s = 11; s < SHOP_SLOTS; ++s) {
            ASSERT_EQ(stall(s).offset, -1);
            ASSERT_EQ(stall(s).price, 0);
            ASSERT_EQ(stall(s).stock, 0);
        }
    }
    // Every outcome comes up; 1205 about twice as often as any other medicine.
    EXPECT_EQ(medicine.size(), 37u);
    EXPECT_EQ(slot6.size(), 6u);
    EXPECT_EQ(slot8.size(), 11u);
    EXPECT_EQ(slot9.size(), 15u + 17u + 7u);
    EXPECT_EQ(wanted_offered.size(), 7u); // the seven never had
    // Each of the 14 is drawn 1 in 14 and offered 3 in 10: half of them are owned.
    EXPECT_NEAR(double(wanted_slots) / SEEDS, 0.3 / 2, 0.03);
    double others = 0;
    for (const auto& [item, n] : medicine)
        if (item != 1205) others += n;
    EXPECT_NEAR(medicine[1205] / (others / 36), 2.0, 0.4);
}

TEST_F(MarketTest, StallListDrawsInItsOrder) {
    // The stall list of a seed, rebuilt from the same draws taken in the stated order.
    for (u32 seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const s32 counter = rand_counter;
        rt_srand(seed);
        std::vector<s32> want(11 * 2, -1); // item, stock per slot
        bool taken[38] = {};
        for (s32 s = 0; s < 5; ++s) {
            s32 r;
            do {
                r = rand_below(38);
                if (r == 4) r = 5;
            } while (taken[r]);
            taken[r] = true;
            want[2 * s] = 1200 + r;
            want[2 * s + 1] = rand_below(100);
        }
        want[10] = 2200, want[11] = 999;
        const s32 a = rand_below(50);
        static const s32 rare6[4] = {1572, 1573, 1575, 1576};
        want[12] = a < 4 ? rare6[a] : a < 10 ? 1571 : 1570;
        want[13] = a < 4 ? 3 : a < 10 ? 30 : 10;
        const bool rare = rand_below(5) == 1;
        want[14] = rare ? 2241 : 2240, want[15] = rare ? 5 : 30;
        const s32 k8 = rand_below(4);
        want[16] = k8 == 0   ? 2210 + rand_below(7)
                   : k8 == 1 ? 2220
                   : k8 == 2 ? 2230 + rand_below(3)
                             : 2250;
        if (want[16] == 2215) want[16] = 2214;
        want[17] = 1;
        const s32 k9 = rand_below(3);
        want[18] = k9 == 0   ? 2050 + rand_below(15)
                   : k9 == 1 ? 1950 + rand_below(17)
                             : 1550 + rand_below(7);
        want[19] = k9 == 0 ? 2 : k9 == 1 || want[18] == 1556 ? 1 : 30;
        const s32 w = rand_below(14);
        if (rand_below(10) < 3) want[20] = MARKET_WANTED[w], want[21] = 1;
        const s32 draws_end = rand_below(1000);

        rand_counter = counter;
        rt_srand(seed);
        market_fill_wanted();
        for (s32 s = 0; s <= 10; ++s) {
            EXPECT_EQ(stall(s).offset, want[2 * s]) << "slot " << s;
            if (want[2 * s] >= 0) {
                EXPECT_EQ(stall(s).stock, want[2 * s + 1]) << "slot " << s;
            }
        }
        EXPECT_EQ(rand_below(1000), draws_end); // no draw more, none less
    }
}

TEST_F(MarketTest, BuyingVisitRefillsTheStallAndSells) {
    // Slot 5 always holds 2200 (price 2): take two and pay. Mastered appraisal earns the
    // visit's title.
    player_record.skill[GROWTH_APPRAISAL] = 100;
    visit(0, {{2, 336 - 24 * 5, 100}, {3, 336 - 24 * 5, 100}, {4, 304, 414}});
    EXPECT_EQ(hub_block.hub_menu_avail[7][5], 0);
    EXPECT_EQ(hub_block.scene_backdrop, MARKET_BACKDROP);
    const std::vector<std::string> lines = dialog_lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "hub_say 1 -1 170 11384");
    EXPECT_EQ(lines[1], "hub_choose 0 0 170 11385 11386 -1 -1 -> 0");
    EXPECT_EQ(stall(5).offset, 2200);
    EXPECT_EQ(stall(5).stock, 997);
    EXPECT_EQ(player_record.money, 5000 - 4);
    EXPECT_EQ(player_record.inventory[0].item, 2200);
    EXPECT_EQ(player_record.inventory[0].count, 2);
    EXPECT_TRUE(title_has(26) || title_has(49));
}

TEST_F(MarketTest, SellingVisitEmptiesTheStallAndTheNextBuyingVisitRefillsIt) {
    market_fill_wanted();
    player_record.inventory[0] = {2400, 1};
    player_record.inventory[1] = {1401, 3};
    std::vector<s32> listed;
    {
        dialog_answer(1);
        shop_screen.passes = 0;
        ClickScript script(&shop_screen.passes, {{2, 336, 100}, {3, 304, 414}});
        script.on_pass([&](s32 p) {
            if (p != 1) return;
            for (const ShopRow& r : shop_screen.rows) listed.push_back(r.item);
        });
        market_visit();
    }
    EXPECT_EQ(listed, (std::vector<s32>{1401})); // 2400 lies outside 0..2359
    for (s32 s = 0; s < SHOP_SLOTS; ++s) EXPECT_EQ(stall(s).offset, -1) << s;
    EXPECT_EQ(player_record.money, 5000 + item_master[1401].value);
    EXPECT_EQ(player_record.inventory[1].count, 2);

    visit(0, {LEAVE});
    EXPECT_GE(shop_goods_count(SHOP_MARKET), 10);
    EXPECT_EQ(stall(5).offset, 2200);
}

TEST_F(MarketTest, TheHubsMarketAndMealCommandsOpenTheRealScreens) {
    EXPECT_EQ(market_visit_seam, &market_visit);
    EXPECT_EQ(meal_screen_seam, &meal_screen);
}

TEST_F(MarketTest, EveryItemAShopOrTheMarketCanOfferHasItsPicture) {
    ArcBuilder b;
    arc_put_placeholder_content(b);
    const auto has_picture = [&](s32 item) {
        return b.entries().count(u32(ARC_IMAGE_BASE + IMAGE_ITEM_BASE + item)) == 1;
    };
    std::set<s32> items(MARKET_WANTED, MARKET_WANTED + MARKET_WANTED_COUNT);
    for (s32 shop = 0; shop < SHOP_COUNT; ++shop)
        for (s32 s = 0; s < shop_goods_count(shop); ++s) items.insert(shop_slot_item(shop, s));
    for (u32 seed = 0; seed < 500; ++seed) {
        rt_srand(seed);
        market_fill_wanted();
        for (s32 s = 0; s < shop_goods_count(SHOP_MARKET); ++s) items.insert(stall(s).offset);
    }
    for (const s32 item : {1253, 1274, 1063, 1401, 1472}) items.insert(item); // the rich start
    for (const s32 item : items) EXPECT_TRUE(has_picture(item)) << item;
    for (s32 id = 802; id <= 819; ++id)
        EXPECT_EQ(b.entries().count(u32(ARC_IMAGE_BASE + id)), 1u) << id;
}
