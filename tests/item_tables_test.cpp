#include "data/item_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class ItemTables : public ::testing::Test {
  protected:
    void SetUp() override {
        // What play or an earlier run may have left in the tables.
        std::memset(equip_table, 0x11, sizeof equip_table);
        std::memset(equip_table_b, 0x22, sizeof equip_table_b);
        std::memset(equip_table_c, 0x33, sizeof equip_table_c);
        std::memset(consumable_table, 0x44, sizeof consumable_table);
        std::memset(food_table, 0x55, sizeof food_table);
        std::memset(price_steps, 0x66, sizeof price_steps);
        init_item_tables();
    }
};

struct WeaponCase {
    s32 item, craft_value, power, poison_dealt, speed_bonus, extra;
    std::vector<std::pair<s32, s32>> marks;
};

TEST_F(ItemTables, Weapons) {
    const WeaponCase cases[] = {
        {1400, 1, 3, 0, 0, 0, {}},
        {1403, 30, 8, 0, -25, 500, {}},
        {1404, 1, 1, 0, 0, 0, {}},
        {1408, 1, 4, 0, 0, 0, {{5, 50}, {17, 70}}},
        {1409, 1, 4, 7, 0, 0, {{5, 50}, {17, 60}}},
        {1423, 50, 25, 0, -10, 0, {}},
        {1448, 1, 20, 0, 0, 0, {{6, 75}, {17, 70}}},
        {1464, 35, 35, 5, -10, 400, {{7, 60}}},
        {1468, 1, 45, 0, -10, 400, {{7, 70}}},
        {1469, 1, 1, 0, 0, 0, {}},
        {1554, 24, 8, 4, 0, 0, {{8, 40}}},
        {1556, 1, 50, 0, 0, 0, {}},
        {1599, 1, 1, 0, 0, 0, {}},
    };
    for (const WeaponCase& c : cases) {
        const EquipEntry& e = equip_table[c.item - 1400];
        EXPECT_EQ(e.item, c.item);
        EXPECT_EQ(e.reserved_a, 1) << c.item;
        EXPECT_EQ(e.craft_value, c.craft_value) << c.item;
        EXPECT_EQ(e.power, c.power) << c.item;
        EXPECT_EQ(e.poison_dealt, c.poison_dealt) << c.item;
        EXPECT_EQ(e.speed_bonus, c.speed_bonus) << c.item;
        EXPECT_EQ(e.reserved_b, 0) << c.item;
        EXPECT_EQ(e.reserved_c, 0) << c.item;
        EXPECT_EQ(e.extra, c.extra) << c.item;
        s32 want[GROWTH_COUNT] = {};
        for (const auto& [growth, value] : c.marks) want[growth] = value;
        for (s32 g = 0; g < GROWTH_COUNT; ++g) EXPECT_EQ(e.skill_marks[g], want[g]) << c.item;
    }
    s32 heavy = 0;
    for (const EquipEntry& e : equip_table) heavy += e.extra != 0;
    EXPECT_EQ(heavy, 8);
}

TEST_F(ItemTables, GuardsAndSlotThree) {
    const struct {
        s32 item, guard, poison_taken, speed_bonus;
    } guards[] = {{1470, 5, 0, 0},  {1471, 1, 0, 0},  {1476, 70, 0, 0}, {1480, 40, -10, -25},
                  {1481, 35, 0, 0}, {1482, 50, 0, 0}, {1483, 1, 0, 0},  {1499, 1, 0, 0}};
    for (const auto& c : guards) {
        const EquipExtraEntry& e = equip_table_b[c.item - 1470];
        EXPECT_EQ(e.reserved_a, 0);
        EXPECT_EQ(e.guard, c.guard) << c.item;
        EXPECT_EQ(e.poison_taken, c.poison_taken) << c.item;
        EXPECT_EQ(e.reserved_b, 0);
        EXPECT_EQ(e.speed_bonus, c.speed_bonus) << c.item;
        for (s32 m : e.skill_marks) EXPECT_EQ(m, 0);
    }
    const struct {
        s32 item, poison_taken, reserved_d, art_variety_bonus;
    } charms[] = {
        {1500, 0, 0, 0}, {1506, -100, 0, 0}, {1507, 0, 20, 0}, {1508, 0, 0, 30}, {1549, 0, 0, 0}};
    for (const auto& c : charms) {
        const EquipSlot3Entry& e = equip_table_c[c.item - 1500];
        EXPECT_EQ(e.reserved_a, 1) << c.item;
        EXPECT_EQ(e.power, 0);
        EXPECT_EQ(e.guard, 0);
        EXPECT_EQ(e.speed_bonus, 0);
        EXPECT_EQ(e.poison_taken, c.poison_taken) << c.item;
        EXPECT_EQ(e.reserved_d, c.reserved_d) << c.item;
        EXPECT_EQ(e.art_variety_bonus, c.art_variety_bonus) << c.item;
        for (s32 m : e.skill_marks) EXPECT_EQ(m, 0);
    }
}

struct ConsumableCase {
    s32 item;
    std::vector<Ingredient> ingredients;
    s32 hp, mp_tenths, mp_max, growth0, poison;
};

TEST_F(ItemTables, Consumables) {
    const ConsumableCase cases[] = {
        {1250, {{1207, 3}, {1212, 4}}, 300, 0, 0, 0, 0},
        {1251, {}, 0, 0, 0, 0, 0}, // no record of its own: used up without effect
        {1253, {{1227, 5}, {1215, 6}, {1226, 7}, {1230, 2}, {1231, 2}}, 800, 6, 0, 0, -80},
        {1255, {{1214, 4}, {1205, 4}}, 0, 0, 0, 0, -40},
        {1263, {{1219, 5}, {1221, 6}, {1231, 2}, {1232, 2}, {1235, 7}}, 600, 5, 0, 0, 0},
        {1275, {}, 1000, 10, 0, 0, -100},
        {1281, {}, 0, 10, 200, 20, 0},
        {1299, {}, 0, 0, 0, 0, 0},
    };
    for (const ConsumableCase& c : cases) {
        const ConsumableEntry& e = consumable_table[c.item - 1250];
        for (s32 k = 0; k < INGREDIENT_COUNT; ++k) {
            const Ingredient want =
                k < static_cast<s32>(c.ingredients.size()) ? c.ingredients[k] : Ingredient{-1, 0};
            EXPECT_EQ(e.ingredients[k].item, want.item) << c.item << " ingredient " << k;
            EXPECT_EQ(e.ingredients[k].count, want.count) << c.item << " ingredient " << k;
        }
        EXPECT_EQ(e.hp, c.hp) << c.item;
        EXPECT_EQ(e.stamina, 0) << c.item;
        EXPECT_EQ(e.reserved, 0) << c.item;
        EXPECT_EQ(e.mp_tenths, c.mp_tenths) << c.item;
        EXPECT_EQ(e.mp_max, c.mp_max) << c.item;
        EXPECT_EQ(e.growth0, c.growth0) << c.item;
        EXPECT_EQ(e.affliction, 0) << c.item;
        EXPECT_EQ(e.poison, c.poison) << c.item;
    }
    for (const ConsumableEntry& e : consumable_table) {
        for (const Ingredient& g : e.ingredients) {
            if (g.item != -1) {
                EXPECT_GE(g.item, 1200);
                EXPECT_LE(g.item, 1236);
                EXPECT_GT(g.count, 0);
            }
        }
    }
}

TEST_F(ItemTables, FoodAndPriceSteps) {
    const struct {
        s32 item, stamina, hp, mp, satiety;
    } cases[] = {{2050, 200, 50, 30, 20},  {2052, 100, 100, 5, 5}, {2060, 550, 400, 65, 10},
                 {2064, 600, 500, 90, 75}, {2065, 0, 0, 0, 0},     {2099, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        const FoodEntry& e = food_table[c.item - 2050];
        EXPECT_EQ(e.stamina, c.stamina) << c.item;
        EXPECT_EQ(e.hp, c.hp) << c.item;
        EXPECT_EQ(e.mp, c.mp) << c.item;
        EXPECT_EQ(e.reserved, 0) << c.item;
        EXPECT_EQ(e.satiety, c.satiety) << c.item;
    }
    const struct {
        s32 index, price;
    } steps[] = {{0, 150}, {4, 150}, {5, 600}, {9, 600}, {10, 330}, {11, 360}, {49, 1500}};
    for (const auto& s : steps) EXPECT_EQ(price_steps[s.index], s.price) << s.index;
}

TEST_F(ItemTables, EquippedIndexesNeverReadOutside) {
    const struct {
        s32 slot, index, item; // item -1: no record
    } cases[] = {{0, -1, -1}, {0, 0, 1400}, {0, 69, 1469}, {0, 70, -1}, {2, 0, 1550}, {2, 19, 1569},
                 {2, 20, -1}, {2, -1, -1},  {1, 0, -1},    {3, 0, -1},  {4, 0, -1},   {-1, 0, -1}};
    for (const auto& c : cases) {
        const EquipEntry* e = equip_entry(c.slot, c.index);
        if (c.item < 0) {
            EXPECT_EQ(e, nullptr) << c.slot << "/" << c.index;
        } else {
            ASSERT_NE(e, nullptr) << c.slot << "/" << c.index;
            EXPECT_EQ(e->item, c.item);
        }
    }
    EXPECT_EQ(equip_b_entry(10)->guard, 40); // item 1480
    EXPECT_EQ(equip_b_entry(-1), nullptr);
    EXPECT_EQ(equip_b_entry(30), nullptr);
    EXPECT_EQ(equip_c_entry(8)->art_variety_bonus, 30); // item 1508
    EXPECT_EQ(equip_c_entry(-1), nullptr);
    EXPECT_EQ(equip_c_entry(50), nullptr);
    EXPECT_EQ(consumable_for(1250)->hp, 300);
    EXPECT_EQ(consumable_for(1249), nullptr);
    EXPECT_EQ(consumable_for(1300), nullptr);
    EXPECT_EQ(food_for(2064)->satiety, 75);
    EXPECT_EQ(food_for(2049), nullptr);
    EXPECT_EQ(food_for(2100), nullptr);
}

// The tables are rebuilt at every start, so what play changed does not outlast the program.
TEST_F(ItemTables, RebuildRestoresEveryValue) {
    std::vector<u8> before(sizeof equip_table);
    std::memcpy(before.data(), equip_table, sizeof equip_table);
    const FoodEntry food = food_table[5];
    equip_table[3].power = 99;
    equip_table_b[10].guard = 0;
    consumable_table[0].hp = 1;
    food_table[5].hp = -7;
    price_steps[0] = 0;
    init_item_tables();
    EXPECT_EQ(std::memcmp(before.data(), equip_table, sizeof equip_table), 0);
    EXPECT_EQ(equip_table_b[10].guard, 40);
    EXPECT_EQ(consumable_table[0].hp, 300);
    EXPECT_EQ(food_table[5].hp, food.hp);
    EXPECT_EQ(price_steps[0], 150);
}

} // namespace
