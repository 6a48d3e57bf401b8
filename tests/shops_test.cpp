#include "data/shops.h"

#include "data/items.h"
#include "engine/math.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

class Shops : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_srand(4242);
        rand_counter = RAND_COUNTER_START;
        init_item_master();
        std::memset(shop_stock, 0x33, sizeof shop_stock); // an earlier game's stock
        init_shop_stock();
    }
};

// The slot of a shop that holds an item, or -1.
s32 slot_of(s32 shop, s32 item) {
    for (s32 k = 0; k < SHOP_SLOTS; ++k) {
        if (shop_slot_item(shop, k) == item) return k;
    }
    return -1;
}

TEST_F(Shops, FixedPrices) {
    const struct {
        s32 shop, item, price, stock;
    } cases[] = {
        {0, 1221, 124, 4},  {0, 1201, 10, 98},   {6, 1403, 600, 1},   {9, 1800, 4, 30},
        {9, 1801, 6, 30},   {31, 1881, 340, 15}, {31, 1880, 160, 20}, {1, 2101, -1, 1},
        {2, 2200, 2, 9999}, {2, 2266, -1, 100},  {22, 1008, 44, 1},   {24, 2275, 8, 1},
        {24, 2280, 6, 999}, {18, 1552, 10, 900}, {19, 1864, 200, 30}, {35, 1236, 24, 500},
    };
    for (const auto& c : cases) {
        const s32 k = slot_of(c.shop, c.item);
        ASSERT_GE(k, 0) << "shop " << c.shop << " item " << c.item;
        const s32 price = c.price >= 0 ? c.price : 2 * item_master[c.item].value;
        EXPECT_EQ(shop_stock[c.shop][k].price, price) << "shop " << c.shop << " item " << c.item;
        EXPECT_EQ(shop_stock[c.shop][k].stock, c.stock) << "shop " << c.shop << " item " << c.item;
    }
    // Shop 1's last good is item 2101, one piece, in slot 4.
    EXPECT_EQ(shop_slot_item(1, 4), 2101);
    EXPECT_EQ(shop_stock[1][4].stock, 1);
    EXPECT_EQ(shop_stock[1][5].offset, -1);
}

TEST_F(Shops, ListsAreCompact) {
    const std::map<s32, s32> counts = {
        {0, 13},  {1, 5},   {2, 8},  {3, 21},  {4, 5},  {5, 5},  {6, 13},  {7, 2},  {8, 2},
        {9, 2},   {10, 0},  {11, 5}, {12, 0},  {13, 7}, {14, 5}, {15, 19}, {16, 8}, {17, 6},
        {18, 13}, {19, 5},  {20, 3}, {21, 6},  {22, 6}, {23, 6}, {24, 6},  {25, 3}, {26, 15},
        {27, 6},  {28, 20}, {29, 4}, {30, 13}, {31, 5}, {32, 4}, {33, 5},  {34, 6}, {35, 22},
    };
    for (s32 shop = 0; shop < SHOP_COUNT; ++shop) {
        const auto it = counts.find(shop);
        const s32 n = it == counts.end() ? 0 : it->second;
        EXPECT_EQ(shop_goods_count(shop), n) << "shop " << shop;
        for (s32 k = 0; k < SHOP_SLOTS; ++k) {
            const ShopSlot& s = shop_stock[shop][k];
            if (k < n) {
                EXPECT_GE(s.offset, 0) << shop << "/" << k;
                EXPECT_GT(s.stock, 0) << shop << "/" << k;
                EXPECT_EQ(s.price, 2 * item_master[shop_base(shop) + s.offset].value);
            } else {
                EXPECT_EQ(s.offset, -1) << shop << "/" << k;
                EXPECT_EQ(s.price, 0) << shop << "/" << k;
                EXPECT_EQ(s.stock, 0) << shop << "/" << k;
            }
        }
    }
    EXPECT_EQ(shop_stock[10][0].offset, -1);
    EXPECT_EQ(std::memcmp(shop_stock[30], shop_stock[18], sizeof shop_stock[18]), 0);
}

TEST_F(Shops, AntiquesStockedOnceAcrossThreeShops) {
    std::map<s32, s32> seen;
    for (s32 shop : {3, 15, 28}) {
        for (s32 k = 0; k < shop_goods_count(shop); ++k) {
            const s32 item = shop_slot_item(shop, k);
            ++seen[item];
            EXPECT_GE(shop_stock[shop][k].price, 60);
            EXPECT_LE(shop_stock[shop][k].price, 218);
            EXPECT_EQ(shop_stock[shop][k].stock, 1);
        }
    }
    EXPECT_EQ(seen.size(), 60u);
    for (s32 item = 2400; item < 2460; ++item) EXPECT_EQ(seen[item], 1) << item;
}

// Rows that scripts charge for their paid services read the stock by position.
TEST_F(Shops, RowsThatScriptsReadByPosition) {
    const s32 food_stock[5] = {50, 25, 20, 10, 4};
    for (s32 k = 0; k < 5; ++k) {
        EXPECT_EQ(shop_stock[4][k].offset, 50 + k);
        EXPECT_EQ(shop_stock[4][k].price, 2 * item_master[2050 + k].value);
        EXPECT_EQ(shop_stock[4][k].stock, food_stock[k]);
        EXPECT_EQ(shop_stock[11][k].offset, 50 + k);
        EXPECT_EQ(shop_stock[11][k].price, 2 * item_master[1950 + k].value);
        EXPECT_EQ(shop_stock[11][k].stock, 30);
    }
    const s32 offsets_34[6] = {14, 7, 8, 11, 12, 13};
    const s32 offsets_23[6] = {6, 9, 10, 15, 16, 17};
    for (s32 k = 0; k < 6; ++k) {
        EXPECT_EQ(shop_stock[34][k].offset, offsets_34[k]);
        EXPECT_EQ(shop_stock[23][k].offset, offsets_23[k]);
        EXPECT_EQ(shop_stock[34][k].price, 2 * item_master[1950 + offsets_34[k]].value);
        EXPECT_EQ(shop_stock[23][k].stock, 30);
    }
}

TEST_F(Shops, BasesAndDamagedSlots) {
    const struct {
        s32 shop, base;
    } bases[] = {{0, 1200},  {1, 2100},  {3, 2400},  {10, -1},   {11, 1900}, {12, 0},
                 {13, 2282}, {21, 2289}, {25, 2296}, {29, 2000}, {33, 1000}, {34, 1950},
                 {35, 1200}, {36, -1},   {49, -1},   {50, -1},   {-1, -1}};
    for (const auto& b : bases) EXPECT_EQ(shop_base(b.shop), b.base) << "shop " << b.shop;

    shop_stock[3][0].offset = 100;  // 2500: past the item master
    shop_stock[3][1].offset = -5;   // negative but not the empty mark
    shop_stock[10][0].offset = 3;   // a shop without base
    shop_stock[0][2].offset = 1299; // 2499: the last item
    EXPECT_EQ(shop_slot_item(3, 0), -1);
    EXPECT_EQ(shop_slot_item(3, 1), -1);
    EXPECT_EQ(shop_slot_item(10, 0), -1);
    EXPECT_EQ(shop_slot_item(0, 2), 2499);
    EXPECT_EQ(shop_slot_item(0, SHOP_SLOTS), -1);
    EXPECT_EQ(shop_slot_item(SHOP_COUNT, 0), -1);
    EXPECT_EQ(shop_goods_count(-1), 0);
}

} // namespace
