// Using an item from the inventory, eating a served meal and the random present of a mini-game.
//
// `item_use` acts by the item's kind in the item master: a consumable applies its effects, a
// special item raises the mp maximum, food is eaten, an antique is appraised, equipment is put on
// or taken off. Every use sets the text colour to white first. The callers offer only held items.
#pragma once
#include "engine/types.h"

// Log texts of item use and meals.
constexpr s32 TEXT_FOOD_FINE = 450;
constexpr s32 TEXT_FOOD_FULL = 451;     // fullness more than 20 above the appetite
constexpr s32 TEXT_FOOD_OVERFULL = 452; // more than 40 above
constexpr s32 TEXT_APPRAISAL_LOW = 461; // appraisal skill below the antique's requirement
constexpr s32 TEXT_ANTIQUE_JUNK = 462;
constexpr s32 TEXT_ANTIQUE_GENUINE = 463; // followed by the new item's name
constexpr s32 TEXT_EQUIP_NO_ART = 464;    // no known art of the weapon's list

// Special items 1880..1889 and the mp maximum each one adds.
constexpr s32 SPECIAL_FIRST = 1880;
constexpr s32 SPECIAL_COUNT = 10;
extern const s32 SPECIAL_MP_MAX[SPECIAL_COUNT];

// Fullness a served meal can reach; the count of meals of one dish stops at MEAL_TALLY_MAX.
constexpr s32 MEAL_FULLNESS_MAX = 150;
constexpr s32 MEAL_TALLY_MAX = 100;

// The prize list of `random_gift`.
constexpr s32 GIFT_PRIZE_COUNT = 14;
extern const s32 GIFT_PRIZES[GIFT_PRIZE_COUNT];

// One row of the equipment rules: items first..last go into `slot` at item - EQUIP_BASE[slot];
// putting one on needs an entry with id 50 or more in known list `need_list` (-1 = nothing).
struct EquipRule {
    s32 first;
    s32 last;
    s32 slot;
    s32 need_list;
};
constexpr s32 EQUIP_RULE_COUNT = 7;
extern const EquipRule EQUIP_RULES[EQUIP_RULE_COUNT];

// Uses one held item by its kind (kinds 2, 6..9, 0 and unknown kinds do nothing):
// - consumable: hp, stamina, mp (tenths of the maximum), base value, mp maximum, affliction and
//   poison by its record, then one is removed;
// - special: the mp maximum rises by the item's amount, then one is removed;
// - food: fullness rises without a cap; the log line tells how full; gains only when the
//   appetite is at least fullness - 20; 5 x satiety appetite experience; one is removed;
// - antique: too little appraisal skill logs 461; junk logs 462 and is removed; a genuine one
//   turns the whole stack into the result item (log 463 + its name), added into the entry that
//   already holds the result when there is one; both pay appraisal experience;
// - equipment: equipped -> taken off; else put on when its art need is met (or log 464).
void item_use(s32 item);
// A served meal (the dish is not taken from the inventory): fullness at most 150, the same log
// line and gain rule as eating from the inventory, the dish's meal count + 1 (at most 100), and
// 10 x satiety appetite experience only while that count is below 100, fullness below twice the
// appetite and at most 99. Anything but food: nothing.
void food_eat(s32 item);
// A 20% chance of one of the prize items not obtained before; otherwise 1,000..3,400 money.
void random_gift();
