#include "game/item_use.h"

#include "data/item_tables.h"
#include "data/items.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/makers.h"
#include "game/player.h"

#include <algorithm>
#include <climits>

const s32 SPECIAL_MP_MAX[SPECIAL_COUNT] = {3, 12, 30, 20, 30, 30, 30, 30, 30, 30};

const s32 GIFT_PRIZES[GIFT_PRIZE_COUNT] = {2305, 2310, 2217, 2005, 1900, 1700, 1421,
                                           1158, 1153, 1061, 1452, 904,  1853, 1053};

const EquipRule EQUIP_RULES[EQUIP_RULE_COUNT] = {
    {1400, 1429, 0, 5},  {1430, 1450, 0, 6},  {1451, 1459, 0, 1}, {1460, 1469, 0, 7},
    {1470, 1499, 1, -1}, {1500, 1549, 3, -1}, {1550, 1569, 2, 8},
};

namespace {

constexpr s32 WHITE = 31;
constexpr s32 APPRAISAL_JUNK_EXP = 100;
constexpr s32 APPRAISAL_GENUINE_EXP = 200;
constexpr s32 FOOD_EXP_EATEN = 5;   // per point of satiety, eating from the inventory
constexpr s32 FOOD_EXP_SERVED = 10; // per point of satiety, a served meal

void white() {
    text_colour(WHITE, WHITE, WHITE);
}

// The log line of a meal by how far fullness stands above the appetite, and the food's gains
// unless the stomach is overfull.
void food_effects(const FoodEntry& f) {
    const PlayerRecord& p = player_record;
    const s32 appetite = p.skill[GROWTH_APPETITE];
    if (p.fullness - 40 > appetite)
        log_text(TEXT_FOOD_OVERFULL);
    else if (p.fullness - 20 > appetite)
        log_text(TEXT_FOOD_FULL);
    else
        log_text(TEXT_FOOD_FINE);
    if (appetite >= p.fullness - 20) {
        stamina_add(f.stamina);
        hp_add(f.hp);
        mp_add(f.mp);
    }
}

void use_consumable(s32 item) {
    const ConsumableEntry* c = consumable_for(item);
    if (!c) return no_op();
    hp_add(c->hp);
    stamina_add(c->stamina);
    mp_add_scaled(c->mp_tenths);
    growth0_add(c->growth0);
    mp_max_add(c->mp_max);
    affliction_add(c->affliction);
    poison_add_raw(c->poison);
    inv_remove(item, 1);
}

void use_special(s32 item) {
    const s32 k = item - SPECIAL_FIRST;
    if (k < 0 || k >= SPECIAL_COUNT) return no_op();
    mp_max_add(SPECIAL_MP_MAX[k]);
    inv_remove(item, 1);
}

void use_food(s32 item) {
    const FoodEntry* f = food_for(item);
    if (!f) return no_op();
    PlayerRecord& p = player_record;
    p.fullness += f->satiety;
    food_effects(*f);
    p.skill_exp[GROWTH_APPETITE] += FOOD_EXP_EATEN * f->satiety;
    grow(GROWTH_APPETITE);
    inv_remove(item, 1);
}

// The first inventory entry holding the item other than entry `skip`, or -1.
s32 inventory_index(s32 item, s32 skip) {
    for (s32 i = 0; i < PLAYER_ITEMS; ++i)
        if (i != skip && player_record.inventory[i].item == item) return i;
    return -1;
}

void use_antique(s32 item) {
    const ItemEntry& e = item_entry(item);
    PlayerRecord& p = player_record;
    if (p.skill[GROWTH_APPRAISAL] < e.requirement) {
        log_text(TEXT_APPRAISAL_LOW);
        return;
    }
    if (e.result == -1) {
        log_text(TEXT_ANTIQUE_JUNK);
        inv_remove(item, 1);
        p.skill_exp[GROWTH_APPRAISAL] += APPRAISAL_JUNK_EXP;
        grow(GROWTH_APPRAISAL);
        return;
    }
    // A result outside the item range (a damaged item master) would plant an id that indexes
    // nothing: such an antique stays as it is.
    if (!item_valid(e.result)) return no_op();
    const s32 from = inventory_index(item, -1);
    if (from < 0) return no_op();
    // A result already held takes the pieces into its own entry, so that one item never stands in
    // two entries (the shops and the counts read one entry per item).
    const s32 into = inventory_index(e.result, from);
    if (into >= 0) {
        InventoryEntry* inv = p.inventory;
        inv[into].count = s32(std::min<s64>(s64(inv[into].count) + inv[from].count, INT_MAX));
        inv_drop_entry(from);
    } else {
        p.inventory[from].item = e.result;
    }
    log_text_text(TEXT_ANTIQUE_GENUINE, TEXT_ITEM_NAME + e.result);
    p.skill_exp[GROWTH_APPRAISAL] += APPRAISAL_GENUINE_EXP;
    grow(GROWTH_APPRAISAL);
}

void use_equipment(s32 item) {
    for (const EquipRule& r : EQUIP_RULES) {
        if (item < r.first || item > r.last) continue;
        s32& slot = player_record.equip[r.slot];
        const s32 offset = item - EQUIP_BASE[r.slot];
        if (slot == offset) {
            slot = -1; // taking it off never needs anything
        } else if (r.need_list < 0 || known_any(r.need_list)) {
            slot = offset;
        } else {
            log_text(TEXT_EQUIP_NO_ART);
        }
        return;
    }
    no_op();
}

} // namespace

void item_use(s32 item) {
    white();
    switch (item_entry(item).kind) {
    case ITEM_KIND_CONSUMABLE:
        use_consumable(item);
        break;
    case ITEM_KIND_SPECIAL:
        use_special(item);
        break;
    case ITEM_KIND_FOOD:
        use_food(item);
        break;
    case ITEM_KIND_ANTIQUE:
        use_antique(item);
        break;
    case ITEM_KIND_EQUIPMENT:
        use_equipment(item);
        break;
    default:
        no_op();
        break;
    }
}

void food_eat(s32 item) {
    white();
    const FoodEntry* f = item_entry(item).kind == ITEM_KIND_FOOD ? food_for(item) : nullptr;
    if (!f) return no_op();
    PlayerRecord& p = player_record;
    p.fullness += f->satiety;
    if (p.fullness > MEAL_FULLNESS_MAX) p.fullness = MEAL_FULLNESS_MAX;
    food_effects(*f);
    s32& tally = p.item_tally[item];
    if (tally < MEAL_TALLY_MAX) tally += 1;
    const s32 appetite = p.skill[GROWTH_APPETITE];
    if (tally < MEAL_TALLY_MAX && p.fullness < 2 * appetite && p.fullness <= 99)
        p.skill_exp[GROWTH_APPETITE] += FOOD_EXP_SERVED * f->satiety;
    grow(GROWTH_APPETITE);
}

void random_gift() {
    if (rand_below(10) < 2) {
        const s32 item = GIFT_PRIZES[rand_below(GIFT_PRIZE_COUNT)];
        if (player_record.item_tally[item] == 0) {
            inv_add(item, 1);
            player_record.item_tally[item] = 1;
            return;
        }
    }
    money_add(100 * (rand_below(25) + 10));
}
