// Records of the items that do more than sit in the inventory: the equipment of the four
// equipment slots, the consumables (medicines with their ingredients and effects) and the food,
// plus a price ladder that nothing reads. Rebuilt at every program start and never saved, so a
// loaded game always sees these values.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 GROWTH_COUNT = 25; // growth indexes 0..24 that the skill marks follow

// Equipment slots and the items they take: slot s holds items EQUIP_SLOT_FIRST_ITEM[s] onward,
// EQUIP_SLOT_ITEMS[s] of them, and `PlayerRecord.equip`[s] holds item - first (-1 = nothing).
// Slot 0 (1400-1469) reads `equip_table`[index], slot 1 (1470-1499) `equip_table_b`[index],
// slot 2 (1550-1569) `equip_table`[index + 150], slot 3 (1500-1549) `equip_table_c`[index].
constexpr s32 EQUIP_SLOT_COUNT = 4;
constexpr s32 EQUIP_SLOT_FIRST_ITEM[EQUIP_SLOT_COUNT] = {1400, 1470, 1550, 1500};
constexpr s32 EQUIP_SLOT_ITEMS[EQUIP_SLOT_COUNT] = {70, 30, 20, 50};

// Item 1400 + index, for the weapons of slots 0 and 2 (and items up to 1599).
struct EquipEntry {
    s32 item;         // the record's item number
    s32 reserved_a;   // 1; read by nothing
    s32 craft_value;  // difficulty of making it in the two-track crafting game
    s32 power;        // attack bonus; also compared between slots 0 and 2 on the dashboard
    s32 poison_dealt; // added to the poison the wielder's art inflicts
    s32 speed_bonus;  // added to battle speed; negative for heavy weapons
    s32 reserved_b;
    s32 reserved_c;
    s32 extra;                     // set for eight heavy weapons, read by nothing
    s32 skill_marks[GROWTH_COUNT]; // per growth index, read by nothing
};
static_assert(sizeof(EquipEntry) == 136);
static_assert(offsetof(EquipEntry, item) == 0);
static_assert(offsetof(EquipEntry, reserved_a) == 4);
static_assert(offsetof(EquipEntry, craft_value) == 8);
static_assert(offsetof(EquipEntry, power) == 12);
static_assert(offsetof(EquipEntry, poison_dealt) == 16);
static_assert(offsetof(EquipEntry, speed_bonus) == 20);
static_assert(offsetof(EquipEntry, reserved_b) == 24);
static_assert(offsetof(EquipEntry, reserved_c) == 28);
static_assert(offsetof(EquipEntry, extra) == 32);
static_assert(offsetof(EquipEntry, skill_marks) == 36);

// Item 1470 + index, slot 1.
struct EquipExtraEntry {
    s32 reserved_a;
    s32 guard;        // half of it, dropped toward zero, is added to the defence
    s32 poison_taken; // added to the poison an art inflicts on the wearer; negative protects
    s32 reserved_b;
    s32 speed_bonus;
    s32 skill_marks[GROWTH_COUNT];
};
static_assert(sizeof(EquipExtraEntry) == 120);
static_assert(offsetof(EquipExtraEntry, reserved_a) == 0);
static_assert(offsetof(EquipExtraEntry, guard) == 4);
static_assert(offsetof(EquipExtraEntry, poison_taken) == 8);
static_assert(offsetof(EquipExtraEntry, reserved_b) == 12);
static_assert(offsetof(EquipExtraEntry, speed_bonus) == 16);
static_assert(offsetof(EquipExtraEntry, skill_marks) == 20);

// Item 1500 + index, slot 3.
struct EquipSlot3Entry {
    s32 reserved_a; // 1
    s32 power;      // added to the attack like a weapon's power
    s32 guard;      // added whole to the defence
    s32 speed_bonus;
    s32 reserved_b;
    s32 poison_taken;
    s32 reserved_c;
    s32 reserved_d;        // 20 for item 1507, read by nothing
    s32 art_variety_bonus; // added to the art variety on the status pages and in battle
    s32 skill_marks[GROWTH_COUNT];
};
static_assert(sizeof(EquipSlot3Entry) == 136);
static_assert(offsetof(EquipSlot3Entry, reserved_a) == 0);
static_assert(offsetof(EquipSlot3Entry, power) == 4);
static_assert(offsetof(EquipSlot3Entry, guard) == 8);
static_assert(offsetof(EquipSlot3Entry, speed_bonus) == 12);
static_assert(offsetof(EquipSlot3Entry, reserved_b) == 16);
static_assert(offsetof(EquipSlot3Entry, poison_taken) == 20);
static_assert(offsetof(EquipSlot3Entry, reserved_c) == 24);
static_assert(offsetof(EquipSlot3Entry, reserved_d) == 28);
static_assert(offsetof(EquipSlot3Entry, art_variety_bonus) == 32);
static_assert(offsetof(EquipSlot3Entry, skill_marks) == 36);

constexpr s32 CONSUMABLE_FIRST = 1250;
constexpr s32 CONSUMABLE_COUNT = 50;
constexpr s32 INGREDIENT_COUNT = 5;

struct Ingredient {
    s32 item; // -1 none
    s32 count;
};

// Item 1250 + index. `item_use` applies hp, stamina, mp_tenths, growth0, mp_max, affliction,
// poison in that order, then removes one.
struct ConsumableEntry {
    Ingredient ingredients[INGREDIENT_COUNT]; // goods needed before crafting offers the item
    s32 hp;
    s32 stamina;
    s32 reserved;
    s32 mp_tenths; // mp gained in tenths of mp max
    s32 mp_max;
    s32 growth0;
    s32 affliction;
    s32 poison; // negative cures
};
static_assert(sizeof(ConsumableEntry) == 72);
static_assert(offsetof(ConsumableEntry, ingredients) == 0);
static_assert(offsetof(ConsumableEntry, hp) == 40);
static_assert(offsetof(ConsumableEntry, stamina) == 44);
static_assert(offsetof(ConsumableEntry, reserved) == 48);
static_assert(offsetof(ConsumableEntry, mp_tenths) == 52);
static_assert(offsetof(ConsumableEntry, mp_max) == 56);
static_assert(offsetof(ConsumableEntry, growth0) == 60);
static_assert(offsetof(ConsumableEntry, affliction) == 64);
static_assert(offsetof(ConsumableEntry, poison) == 68);

constexpr s32 FOOD_FIRST = 2050;
constexpr s32 FOOD_COUNT = 50;

// Item 2050 + index.
struct FoodEntry {
    s32 stamina;
    s32 hp;
    s32 mp;
    s32 reserved;
    s32 satiety; // fullness gained
};
static_assert(sizeof(FoodEntry) == 20);
static_assert(offsetof(FoodEntry, stamina) == 0);
static_assert(offsetof(FoodEntry, hp) == 4);
static_assert(offsetof(FoodEntry, mp) == 8);
static_assert(offsetof(FoodEntry, reserved) == 12);
static_assert(offsetof(FoodEntry, satiety) == 16);

constexpr s32 EQUIP_TABLE_COUNT = 200;
constexpr s32 EQUIP_TABLE_B_COUNT = 30;
constexpr s32 EQUIP_TABLE_C_COUNT = 50;
constexpr s32 PRICE_STEP_COUNT = 50;

extern EquipEntry equip_table[EQUIP_TABLE_COUNT];
extern EquipExtraEntry equip_table_b[EQUIP_TABLE_B_COUNT];
extern EquipSlot3Entry equip_table_c[EQUIP_TABLE_C_COUNT];
extern ConsumableEntry consumable_table[CONSUMABLE_COUNT];
extern FoodEntry food_table[FOOD_COUNT];
extern s32 price_steps[PRICE_STEP_COUNT];

// Builds all of these tables and the gift preferences, in that order.
void init_item_tables();
void init_equip_tables();
void init_price_steps();
void init_consumables();
void init_food_table();

// Records of what `PlayerRecord.equip` holds: the index stored in a slot (item - the slot's
// first item). Null for -1 (nothing equipped) and for any index outside the slot's range, so a
// damaged save never reads outside a table.
const EquipEntry* equip_entry(s32 slot, s32 index); // slots 0 and 2; null for slots 1 and 3
const EquipExtraEntry* equip_b_entry(s32 index);    // slot 1
const EquipSlot3Entry* equip_c_entry(s32 index);    // slot 3

// Records by item number; null for an item outside the table's range.
const ConsumableEntry* consumable_for(s32 item);
const FoodEntry* food_for(s32 item);
