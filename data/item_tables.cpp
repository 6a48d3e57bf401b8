#include "data/item_tables.h"

#include "data/gifts.h"

#include <optional>

EquipEntry equip_table[EQUIP_TABLE_COUNT];
EquipExtraEntry equip_table_b[EQUIP_TABLE_B_COUNT];
EquipSlot3Entry equip_table_c[EQUIP_TABLE_C_COUNT];
ConsumableEntry consumable_table[CONSUMABLE_COUNT];
FoodEntry food_table[FOOD_COUNT];
s32 price_steps[PRICE_STEP_COUNT];

namespace {

using Field = std::optional<s32>; // a value that differs from the record's default

struct SkillMark {
    s32 growth = -1; // -1: no mark
    s32 value = 0;
};

// A weapon row: the item and the fields that differ from the defaults.
struct WeaponRow {
    s32 item;
    Field craft_value = {};
    Field power = {};
    Field poison_dealt = {};
    Field speed_bonus = {};
    Field extra = {};
    SkillMark marks[2] = {};
};

struct GuardRow {
    s32 item;
    Field guard = {};
    Field poison_taken = {};
    Field speed_bonus = {};
};

struct Slot3Row {
    s32 item;
    Field poison_taken = {};
    Field reserved_d = {};
    Field art_variety_bonus = {};
};

struct IngredientRow {
    s32 item = -1;
    s32 count = 0;
};

struct ConsumableRow {
    s32 item;
    IngredientRow ingredients[INGREDIENT_COUNT] = {};
    s32 hp = 0;
    s32 mp_tenths = 0;
    s32 mp_max = 0;
    s32 growth0 = 0;
    s32 poison = 0;
};

struct FoodRow {
    s32 item;
    s32 stamina;
    s32 hp;
    s32 mp;
    s32 satiety;
};

// clang-format off

constexpr WeaponRow WEAPONS[] = {
    {.item = 1400, .power = 3},
    {.item = 1401, .craft_value = 10},
    {.item = 1402, .craft_value = 17, .power = 2},
    {.item = 1403, .craft_value = 30, .power = 8, .speed_bonus = -25, .extra = 500},
    {.item = 1408, .power = 4, .marks = {{5, 50}, {17, 70}}},
    {.item = 1409, .power = 4, .poison_dealt = 7, .marks = {{5, 50}, {17, 60}}},
    {.item = 1412, .power = 5},
    {.item = 1413, .power = 7, .speed_bonus = -10, .extra = 300},
    {.item = 1414, .power = 6},
    {.item = 1415, .craft_value = 40, .power = 12, .marks = {{5, 50}}},
    {.item = 1418, .power = 13, .marks = {{17, 80}}},
    {.item = 1419, .power = 22, .speed_bonus = -25, .extra = 400},
    {.item = 1421, .power = 9, .marks = {{5, 90}, {17, 50}}},
    {.item = 1422, .power = 18, .speed_bonus = -15, .extra = 300},
    {.item = 1423, .craft_value = 50, .power = 25, .speed_bonus = -10},
    {.item = 1430, .craft_value = 14, .power = 2},
    {.item = 1432, .craft_value = 19, .power = 3},
    {.item = 1441, .craft_value = 25, .power = 6, .speed_bonus = -10, .marks = {{6, 30}}},
    {.item = 1442, .power = 10, .marks = {{6, 30}, {17, 40}}},
    {.item = 1444, .power = 8, .speed_bonus = -25, .extra = 300},
    {.item = 1447, .craft_value = 45, .power = 15, .speed_bonus = -10, .marks = {{6, 60}}},
    {.item = 1448, .power = 20, .marks = {{6, 75}, {17, 70}}},
    {.item = 1449, .power = 12, .poison_dealt = 10, .speed_bonus = -10},
    {.item = 1450, .craft_value = 48, .power = 23, .marks = {{6, 90}}},
    {.item = 1460, .power = 3},
    {.item = 1461, .power = 4},
    {.item = 1462, .power = 5},
    {.item = 1463, .craft_value = 15, .power = 6, .speed_bonus = -10, .extra = 300},
    {.item = 1464, .craft_value = 35, .power = 35, .poison_dealt = 5, .speed_bonus = -10, .extra = 400, .marks = {{7, 60}}},
    {.item = 1465, .power = 4},
    {.item = 1466, .power = 40},
    {.item = 1468, .power = 45, .speed_bonus = -10, .extra = 400, .marks = {{7, 70}}},
    {.item = 1552, .power = 2},
    {.item = 1553, .power = 5, .marks = {{8, 30}}},
    {.item = 1554, .craft_value = 24, .power = 8, .poison_dealt = 4, .marks = {{8, 40}}},
    {.item = 1555, .power = 7, .marks = {{8, 80}}},
    {.item = 1556, .power = 50},
};

constexpr GuardRow GUARDS[] = {
    {.item = 1470, .guard = 5},
    {.item = 1476, .guard = 70},
    {.item = 1480, .guard = 40, .poison_taken = -10, .speed_bonus = -25},
    {.item = 1481, .guard = 35},
    {.item = 1482, .guard = 50},
};

constexpr Slot3Row SLOT3_ITEMS[] = {
    {.item = 1506, .poison_taken = -100},
    {.item = 1507, .reserved_d = 20},
    {.item = 1508, .art_variety_bonus = 30},
};

constexpr ConsumableRow CONSUMABLES[] = {
    {.item = 1250, .ingredients = {{1207, 3}, {1212, 4}}, .hp = 300},
    {.item = 1253, .ingredients = {{1227, 5}, {1215, 6}, {1226, 7}, {1230, 2}, {1231, 2}}, .hp = 800, .mp_tenths = 6, .poison = -80},
    {.item = 1254, .ingredients = {{1236, 5}, {1201, 3}}, .mp_tenths = 2},
    {.item = 1255, .ingredients = {{1214, 4}, {1205, 4}}, .poison = -40},
    {.item = 1257, .ingredients = {{1211, 5}, {1213, 4}, {1218, 3}}, .hp = 600},
    {.item = 1258, .ingredients = {{1200, 3}, {1203, 6}, {1220, 4}}, .mp_tenths = 4},
    {.item = 1259, .ingredients = {{1216, 7}, {1217, 8}}, .poison = -60},
    {.item = 1263, .ingredients = {{1219, 5}, {1221, 6}, {1231, 2}, {1232, 2}, {1235, 7}}, .hp = 600, .mp_tenths = 5},
    {.item = 1270, .hp = 1000},
    {.item = 1271, .hp = 800, .mp_tenths = 8},
    {.item = 1274, .hp = 500, .mp_tenths = 5},
    {.item = 1275, .hp = 1000, .mp_tenths = 10, .poison = -100},
    {.item = 1281, .mp_tenths = 10, .mp_max = 200, .growth0 = 20},
};

// Item, stamina, hp, mp, satiety.
constexpr FoodRow DISHES[] = {
    {2050, 200, 50, 30, 20},
    {2051, 100, 50, 15, 10},
    {2052, 100, 100, 5, 5},
    {2053, 200, 50, 10, 8},
    {2054, 300, 300, 5, 15},
    {2055, 400, 300, 20, 45},
    {2056, 350, 250, 35, 35},
    {2057, 500, 350, 45, 55},
    {2058, 360, 300, 20, 40},
    {2059, 200, 250, 15, 25},
    {2060, 550, 400, 65, 10},
    {2061, 300, 100, 50, 5},
    {2062, 300, 200, 15, 8},
    {2063, 300, 300, 5, 15},
    {2064, 600, 500, 90, 75},
};

// clang-format on

void apply(s32& field, const Field& value) {
    if (value) field = *value;
}

} // namespace

void init_equip_tables() {
    for (s32 i = 0; i < EQUIP_TABLE_COUNT; ++i) {
        equip_table[i] = {};
        equip_table[i].item = 1400 + i;
        equip_table[i].reserved_a = 1;
        equip_table[i].craft_value = 1;
        equip_table[i].power = 1;
    }
    for (const WeaponRow& row : WEAPONS) {
        EquipEntry& e = equip_table[row.item - 1400];
        apply(e.craft_value, row.craft_value);
        apply(e.power, row.power);
        apply(e.poison_dealt, row.poison_dealt);
        apply(e.speed_bonus, row.speed_bonus);
        apply(e.extra, row.extra);
        for (const SkillMark& m : row.marks) {
            if (m.growth >= 0) e.skill_marks[m.growth] = m.value;
        }
    }

    for (EquipExtraEntry& e : equip_table_b) {
        e = {};
        e.guard = 1;
    }
    for (const GuardRow& row : GUARDS) {
        EquipExtraEntry& e = equip_table_b[row.item - 1470];
        apply(e.guard, row.guard);
        apply(e.poison_taken, row.poison_taken);
        apply(e.speed_bonus, row.speed_bonus);
    }

    for (EquipSlot3Entry& e : equip_table_c) {
        e = {};
        e.reserved_a = 1;
    }
    for (const Slot3Row& row : SLOT3_ITEMS) {
        EquipSlot3Entry& e = equip_table_c[row.item - 1500];
        apply(e.poison_taken, row.poison_taken);
        apply(e.reserved_d, row.reserved_d);
        apply(e.art_variety_bonus, row.art_variety_bonus);
    }
}

void init_price_steps() {
    for (s32 i = 0; i < PRICE_STEP_COUNT; ++i) price_steps[i] = 30 * (i + 1);
    for (s32 i = 0; i < 5; ++i) price_steps[i] = 150;
    for (s32 i = 5; i < 10; ++i) price_steps[i] = 600;
}

void init_consumables() {
    for (ConsumableEntry& e : consumable_table) {
        e = {};
        for (Ingredient& g : e.ingredients) g = {-1, 0};
    }
    for (const ConsumableRow& row : CONSUMABLES) {
        ConsumableEntry& e = consumable_table[row.item - CONSUMABLE_FIRST];
        for (s32 k = 0; k < INGREDIENT_COUNT; ++k) {
            e.ingredients[k] = {row.ingredients[k].item, row.ingredients[k].count};
        }
        e.hp = row.hp;
        e.mp_tenths = row.mp_tenths;
        e.mp_max = row.mp_max;
        e.growth0 = row.growth0;
        e.poison = row.poison;
    }
}

void init_food_table() {
    for (FoodEntry& e : food_table) e = {};
    for (const FoodRow& row : DISHES) {
        food_table[row.item - FOOD_FIRST] = {row.stamina, row.hp, row.mp, 0, row.satiety};
    }
}

void init_item_tables() {
    init_equip_tables();
    init_price_steps();
    init_consumables();
    init_food_table();
    init_gift_prefs();
}

const EquipEntry* equip_entry(s32 slot, s32 index) {
    if (slot != 0 && slot != 2) return nullptr;
    if (index < 0 || index >= EQUIP_SLOT_ITEMS[slot]) return nullptr;
    return &equip_table[EQUIP_SLOT_FIRST_ITEM[slot] - 1400 + index];
}

const EquipExtraEntry* equip_b_entry(s32 index) {
    if (index < 0 || index >= EQUIP_SLOT_ITEMS[1]) return nullptr;
    return &equip_table_b[index];
}

const EquipSlot3Entry* equip_c_entry(s32 index) {
    if (index < 0 || index >= EQUIP_SLOT_ITEMS[3]) return nullptr;
    return &equip_table_c[index];
}

const ConsumableEntry* consumable_for(s32 item) {
    const s32 i = item - CONSUMABLE_FIRST;
    return i >= 0 && i < CONSUMABLE_COUNT ? &consumable_table[i] : nullptr;
}

const FoodEntry* food_for(s32 item) {
    const s32 i = item - FOOD_FIRST;
    return i >= 0 && i < FOOD_COUNT ? &food_table[i] : nullptr;
}
