// Blows and their numbers, the value changers and rest.
//
// Every number taken from data (art index, equipment offsets, roster characters, known-list
// positions) is checked before it indexes a table: an art outside `arts_table` reads as the empty
// art, an equipment offset outside its table as nothing equipped, a character outside the roster
// is not copied back.
#include "battle/battle_attack.h"

#include "battle/battle.h"
#include "battle/battle_anim.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_setup.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"

#include <algorithm>
#include <climits>

s32 double_strike = 0;

namespace {

constexpr s32 MP_MAX_BATTLE_LIMIT = 1000; // the battle grows an mp maximum up to this
constexpr s32 SKILL_MASTERY = 100;        // skill level from which equipment counts more
constexpr s32 SKILL_EQUIPMENT = 17;
constexpr s32 SKILL_POISON = 15;
constexpr s32 SKILL_THROWING = 8;
constexpr s32 SKILL_APPETITE = 22;
constexpr s32 FOOD_BONUS_FIRST = 2050;
constexpr s32 FOOD_BONUS_LAST = 2069;
constexpr s32 ART_USE_COUNTED = 15; // uses per art that still give art points
constexpr s32 ART_USE_MAX = 100;
constexpr s32 MAX_TARGETS = BATTLE_HITS;

bool slot_valid(s32 slot) {
    return slot >= 0 && slot < BATTLE_SLOTS;
}
bool slot_live(s32 slot) {
    return slot_valid(slot) && battle_slots[slot].character != -1;
}
s32 side_of(s32 slot) {
    return slot / BATTLE_SIDE;
}

s32 clamp32(s64 v) {
    return static_cast<s32>(std::clamp<s64>(v, INT_MIN, INT_MAX));
}

bool equipment_mastery() {
    return player_record.skill[SKILL_EQUIPMENT] >= SKILL_MASTERY;
}

// Weapon (slot 0), throwing weapon (slot 2) and the equipment of slots 1 and 3 by offset.
const EquipEntry* held_weapon() {
    return equip_entry(0, player_record.equip[0]);
}
const EquipEntry* held_throwing() {
    return equip_entry(2, player_record.equip[2]);
}
const EquipExtraEntry* worn_b() {
    return equip_b_entry(player_record.equip[1]);
}
const EquipSlot3Entry* worn_c() {
    return equip_c_entry(player_record.equip[3]);
}
bool weapon_is(s32 item) {
    return player_record.equip[0] == item - EQUIP_SLOT_FIRST_ITEM[0];
}

// Art variety with the slot-3 bonus (half as much again with equipment mastery).
s32 art_variety_total() {
    s64 v = player_record.art_variety;
    if (const EquipSlot3Entry* c = worn_c()) {
        v += c->art_variety_bonus;
        if (equipment_mastery()) v += static_cast<s64>(c->art_variety_bonus) * 15 / 10;
    }
    return clamp32(v);
}

s32 tier_of(s32 v, const s32 (&steps)[5]) {
    // steps: the thresholds for 5, 4, 3, 2, 1.
    for (s32 i = 0; i < 5; ++i)
        if (v >= steps[i]) return 5 - i;
    return 0;
}

// e of the protagonist's blows: bonus / 100 + levels / 25 + t1 + t2 + t3.
s32 protagonist_e(const ArtEntry& art) {
    PlayerRecord& p = player_record;
    s64 bonus = 0;
    for (const ArtTerm& t : art.bonus) {
        if (t.growth < 0) continue;
        if (t.growth < PLAYER_SKILLS) {
            bonus += static_cast<s64>(p.skill[t.growth]) * t.value;
            if (t.growth == SKILL_APPETITE) {
                bonus += static_cast<s64>(p.fullness) * 3;
                if (p.skill[SKILL_APPETITE] >= SKILL_MASTERY &&
                    inv_has_range(FOOD_BONUS_FIRST, FOOD_BONUS_LAST)) {
                    inv_remove_range(FOOD_BONUS_FIRST, FOOD_BONUS_LAST, 1);
                    bonus += 1000;
                }
            }
        } else if (t.growth <= 29) {
            bonus += static_cast<s64>(p.attr[t.growth - GROWTH_ATTR_FIRST]) * t.value;
        }
    }
    s64 levels = 0;
    for (const KnownEntry& k : p.known[0])
        if (k.id >= ART_FIRST_ID) levels += k.level;
    const s32 a2 = p.attr[2];
    const s32 t1 = a2 >= 100 ? 3 : a2 >= 75 ? 2 : a2 >= 50 ? 1 : 0;
    const s32 t2 = tier_of(p.combat_level, {100, 91, 76, 51, 31});
    const s32 t3 = tier_of(art_variety_total(), {120, 100, 76, 51, 31});
    return clamp32(bonus / 100 + levels / 25 + t1 + t2 + t3);
}

// Defence of a target: the protagonist's from attributes, skill 0 and equipment.
s32 defence_of(s32 slot) {
    if (slot != 0) return battle_slots[slot].defence;
    const PlayerRecord& p = player_record;
    s64 d = (static_cast<s64>(p.attr[3]) + p.skill[0]) * 6 / 10;
    if (const EquipExtraEntry* b = worn_b()) d += b->guard / 2;
    if (const EquipSlot3Entry* c = worn_c()) d += c->guard;
    d += art_variety_total() / 3;
    return clamp32(d);
}

// Power p of the attacker's blow before level scaling (steps 4 and 5 of the formula).
s32 blow_power(s32 attacker, const ArtEntry& art) {
    s64 p = art.power;
    if (field_turns != 0) {
        if (field_kind == 0 && side_of(attacker) == 0) p += field_bonus;
        if (field_kind == 4 && attacker == 0) p = field_bonus;
    }
    if (attacker != 0) return clamp32(p);
    const bool mastery = equipment_mastery();
    if (art_list >= 5 && art_list <= 7) {
        if (const EquipEntry* w = held_weapon()) {
            p += w->power;
            if (mastery) p += static_cast<s64>(w->power) * 5 / 10;
        }
    } else if (art_list == 8) {
        if (const EquipEntry* w = held_throwing()) {
            p += w->power;
            PlayerRecord& pr = player_record;
            if (pr.equip[2] == THROWING_PAID_STRIKE - THROWING_FIRST &&
                pr.skill[SKILL_THROWING] >= SKILL_MASTERY && pr.money >= PAID_STRIKE_PRICE) {
                p += PAID_STRIKE_POWER;
                money_add(-PAID_STRIKE_PRICE);
                pr.paid_strike_count = std::min(pr.paid_strike_count + 1, PAID_STRIKE_LIMIT);
                if (pr.paid_strike_count >= PAID_STRIKE_LIMIT && !title_has(PAID_STRIKE_TITLE))
                    title_add(PAID_STRIKE_TITLE);
            }
            if (mastery) p += static_cast<s64>(w->power) * 5 / 10;
        }
    }
    if (const EquipSlot3Entry* c = worn_c()) {
        p += c->power;
        if (mastery) p += static_cast<s64>(c->power) * 5 / 10;
    }
    return clamp32(p);
}

// Poison the protagonist's weapon adds to each hit.
s32 weapon_poison() {
    const EquipEntry* w = nullptr;
    if (art_list >= 5 && art_list <= 7)
        w = held_weapon();
    else if (art_list == 8)
        w = held_throwing();
    if (!w) return 0;
    s64 q = w->poison_dealt;
    if (equipment_mastery()) q += static_cast<s64>(w->poison_dealt) * 15 / 10;
    return clamp32(q);
}

struct Technique {
    bool power = false, guard = false, dodge = false, counter = false, stun = false;
};

Technique techniques_available(s32 attacker, bool protagonist_hit) {
    Technique t;
    bool known[TECHNIQUE_DOUBLE_STRIKE + 1] = {};
    for (const KnownEntry& k : player_record.known[TECHNIQUE_LIST])
        if (k.id >= 0 && k.id <= TECHNIQUE_DOUBLE_STRIKE) known[k.id] = true;
    const PlayerRecord& p = player_record;
    const ArtEntry& art = battle_slot_art(attacker);
    const bool mp50 = p.mp >= REACTION_MP_COST;
    if (attacker == 0) {
        t.power = known[0] && art.area == 0 && p.hp <= p.hp_max / 2 && mp50;
        t.stun = known[4] && art_list == 3 && mp50;
    } else if (protagonist_hit && art.area == 0) {
        t.guard = known[1];
        t.dodge = known[2] && mp50;
        t.counter = known[3] && mp50 && battle_slot_art(0).area != ART_AREA_FIELD;
    }
    return t;
}

void slot_fall(s32 slot) {
    BattleSlot& s = battle_slots[slot];
    s32 col = 0, row = 0;
    if (battle_point_cell(s.x, s.y, &col, &row) == 0) battle_marks[row][col] = -1;
    s.character = -1;
}

// Used up throwing weapon: the next of the inventory, or bare hands. 1 when one is still held.
bool throwing_used() {
    PlayerRecord& p = player_record;
    const s32 item = THROWING_FIRST + p.equip[2];
    inv_remove(item, 1);
    if (inv_has(item)) {
        p.equip[2] = item - THROWING_FIRST;
        return true;
    }
    p.equip[2] = -1;
    for (const InventoryEntry& e : p.inventory) {
        if (e.item == -1) break;
        if (e.item >= THROWING_FIRST && e.item <= THROWING_LAST) {
            p.equip[2] = e.item - THROWING_FIRST;
            return true;
        }
    }
    // Bare hands: the best art of lists 2..4; when none is known, the pair names no art and the
    // protagonist fights with the bare-handed fallback art.
    art_best_level = -1;
    static constexpr s32 BARE_LISTS[3] = {2, 3, 4};
    if (!battle_art_search(BARE_LISTS, 3)) {
        art_list = BARE_LISTS[0];
        art_entry = -1;
    }
    battle_protagonist_take_art();
    return false;
}

// Facing of the attacker toward what it strikes.
void face_blow(s32 slot, const ArtEntry& art) {
    BattleSlot& s = battle_slots[slot];
    if (art.area == 1 || art.area == 2) {
        s32 acol = 0, arow = 0;
        if (battle_point_cell(s.x, s.y, &acol, &arow) != 0) return;
        for (s32 row = 0; row < GRID; ++row)
            for (s32 col = 0; col < GRID; ++col) {
                if (battle_marks[row][col] < 0) continue;
                if (row > arow) s.facing = FACE_ROW11;
                if (row < arow) s.facing = FACE_ROW0;
                if (col > acol) s.facing = FACE_COL11;
                if (col < acol) s.facing = FACE_COL0;
                return;
            }
        return;
    }
    if (s.hit_x[0] < s.x)
        s.facing = s.hit_y[0] > s.y ? FACE_COL11 : FACE_ROW0;
    else
        s.facing = s.hit_y[0] > s.y ? FACE_ROW11 : FACE_COL0;
}

// One pass of a blow; false when no further pass may follow.
bool attack_pass(s32 slot) {
    BattleSlot& s = battle_slots[slot];
    const ArtEntry& art = battle_slot_art(slot);
    face_blow(slot, art);
    s.anim = battle_anim_for(s.art, s.art_level, s.facing);

    battle_hits_clear(slot);
    s32 targets[MAX_TARGETS];
    s32 hp_before[MAX_TARGETS];
    s32 count = 0;
    const s32 other = 1 - side_of(slot);
    for (s32 t = other * BATTLE_SIDE; t < (other + 1) * BATTLE_SIDE; ++t) {
        if (!slot_live(t)) continue;
        s32 col = 0, row = 0;
        if (battle_point_cell(battle_slots[t].x, battle_slots[t].y, &col, &row) != 0) continue;
        if (battle_marks[row][col] < 0) continue;
        if (count < MAX_TARGETS) {
            targets[count] = t;
            hp_before[count] = battle_hp(t);
            ++count;
        }
        battle_hits_append(slot, col, row);
    }
    if (count == 0) return false;

    PlayerRecord& p = player_record;
    if (s.character == 0) {
        battle_art_practice();
        if (art_list >= 0 && art_list < PLAYER_SKILLS) {
            p.skill_exp[art_list] += 10;
            grow(art_list);
        }
        p.combat_exp += 10;
        grow(GROWTH_COMBAT);
    }
    if (s.art >= 0 && s.art < PLAYER_ARTS && p.hp > 0 && p.art_use_count[s.art] < ART_USE_COUNTED) {
        p.art_use_count[s.art] = std::min(p.art_use_count[s.art] + 1, ART_USE_MAX);
        p.art_points += 4;
        grow(GROWTH_ART_VARIETY);
    }

    const s32 own_hp_before = battle_hp(slot);
    battle_damage(slot);

    if (slot == 0 && (battle_reaction == REACT_POWER ||
                      (battle_reaction == REACT_STUN && battle_reaction_value > 0)))
        battle_anim_special();
    else
        battle_anim_attack(slot);
    if (slot == 0 && weapon_is(WEAPON_DRAINING))
        battle_gauges_fall_drain(slot, targets, hp_before, count, own_hp_before);
    else
        battle_gauges_fall(slot, targets, hp_before, count);

    bool again = true;
    if (slot == 0 && p.equip[0] == -1 && held_throwing()) again = throwing_used();

    for (s32 t = 0; t < BATTLE_SLOTS; ++t) {
        if (!slot_live(t)) continue;
        if (t == 0) {
            if (p.hp < 1) slot_fall(0);
            continue;
        }
        battle_roster_copy(t);
        if (battle_slots[t].hp < 1) slot_fall(t);
    }

    battle_draw_background();
    battle_draw_overlay();
    for (s32 i = 0; i < count; ++i)
        if (slot_live(targets[i]))
            anim_track_dim[targets[i]] = battle_slots[targets[i]].stunned > 0;
    anim_play();
    screen_present();
    return again;
}

} // namespace

// ---- Lookups --------------------------------------------------------------------------------

s32 battle_art_cost(s32 slot) {
    if (!slot_valid(slot)) return 0;
    return clamp32(static_cast<s64>(battle_slot_art(slot).mp_cost) *
                   (battle_slots[slot].art_level / 10 + 1));
}

KnownEntry* battle_protagonist_known() {
    if (art_list < 0 || art_list >= ART_LISTS || art_entry < 0 || art_entry >= KNOWN_SLOTS)
        return nullptr;
    KnownEntry& k = player_record.known[art_list][art_entry];
    if (k.id < ART_FIRST_ID || k.id >= ART_FIRST_ID + ART_LIST_SIZE) return nullptr;
    return &k;
}

void battle_art_practice() {
    KnownEntry* k = battle_protagonist_known();
    if (!k) return;
    const ArtEntry& art = arts_table[art_index(art_list, k->id)];
    k->exp = clamp32(static_cast<s64>(k->exp) + player_record.skill[art_list] +
                     (25 - static_cast<s64>(art.difficulty)) * 2);
    known_level_up(art_list, art_entry);
}

void battle_hits_clear(s32 slot) {
    if (!slot_valid(slot)) return;
    std::fill(std::begin(battle_slots[slot].hit_x), std::end(battle_slots[slot].hit_x), -1);
    std::fill(std::begin(battle_slots[slot].hit_y), std::end(battle_slots[slot].hit_y), -1);
}

s32 battle_hits_append(s32 slot, s32 col, s32 row) {
    if (!slot_valid(slot)) return 0;
    BattleSlot& s = battle_slots[slot];
    for (s32 i = 0; i < BATTLE_HITS; ++i) {
        if (s.hit_x[i] != -1) continue;
        s.hit_x[i] = cell_x(col, row);
        s.hit_y[i] = cell_y(col, row);
        return 1;
    }
    return 0;
}

// ---- Live values ----------------------------------------------------------------------------

s32 battle_hp(s32 slot) {
    if (!slot_valid(slot)) return 0;
    return slot == 0 ? player_record.hp : battle_slots[slot].hp;
}
s32 battle_hp_max(s32 slot) {
    if (!slot_valid(slot)) return 0;
    return slot == 0 ? player_record.hp_max : battle_slots[slot].hp_max;
}
s32 battle_mp(s32 slot) {
    if (!slot_valid(slot)) return 0;
    return slot == 0 ? player_record.mp : battle_slots[slot].mp;
}
s32 battle_mp_max(s32 slot) {
    if (!slot_valid(slot)) return 0;
    return slot == 0 ? player_record.mp_max : battle_slots[slot].mp_max;
}
s32 battle_poison(s32 slot) {
    if (!slot_valid(slot)) return 0;
    return slot == 0 ? player_record.poison : battle_slots[slot].poison;
}

s32 battle_level_percent(s32 level) {
    if (level < 20) return 20;
    if (level < 40) return 40;
    if (level < 60) return 60;
    if (level < 80) return 80;
    if (level < 90) return 90;
    if (level < 100) return 100;
    return 120;
}

s32 battle_defence_factor(s32 d) {
    if (d < 10) return 2;
    if (d < 30) return 1;
    if (d < 50) return 0;
    if (d < 60) return -1;
    if (d < 75) return -2;
    if (d < 90) return -3;
    if (d < 100) return -4;
    if (d < 130) return -5;
    if (d < 150) return -6;
    return -7;
}

// ---- Value changers -------------------------------------------------------------------------

void battle_hp_add(s32 slot, s32 n) {
    if (!slot_live(slot)) return;
    s32& hp = slot == 0 ? player_record.hp : battle_slots[slot].hp;
    const s32 max = battle_hp_max(slot);
    s64 v = static_cast<s64>(hp) + n;
    if (v > max) v = max;
    if (v < 0) v = 0;
    hp = static_cast<s32>(v);
}

void battle_mp_add(s32 slot, s32 n) {
    if (!slot_live(slot)) return;
    s32& mp = slot == 0 ? player_record.mp : battle_slots[slot].mp;
    s32& max = slot == 0 ? player_record.mp_max : battle_slots[slot].mp_max;
    s64 v = static_cast<s64>(mp) + n;
    if (v > max) {
        if (rand_below(10) > 6 && max < MP_MAX_BATTLE_LIMIT) max += 1;
        v = max;
    }
    if (v < 0) v = 0;
    mp = static_cast<s32>(v);
}

void battle_poison_add(s32 slot, s32 n) {
    if (!slot_live(slot)) return;
    s32& poison = slot == 0 ? player_record.poison : battle_slots[slot].poison;
    poison = static_cast<s32>(std::clamp<s64>(poison + static_cast<s64>(n) * 5, 0, 100));
}

void battle_rest(s32 slot) {
    if (!slot_live(slot) || battle_poison(slot) > 0) return;
    if (slot == 0) {
        const s32* sk = player_record.skill;
        s32 h = sk[21] * 5 / 10 + sk[14] * 5 / 10;
        if (sk[21] == 100) h += 50;
        if (sk[14] == 100) h += 50;
        battle_hp_add(0, (rand_below(5) + 10) * h / 10);
        s32 m = sk[0] * 5 / 10 + sk[21] * 5 / 10;
        if (sk[0] == 100) m += 50;
        if (sk[21] == 100) m += 50;
        battle_mp_add(
            0, clamp32(static_cast<s64>(rand_below(5) + m / 10 + 10) * player_record.mp_max / 100));
        return;
    }
    const BattleSlot& s = battle_slots[slot];
    const s64 r = static_cast<s64>(s.rank) * 10;
    battle_hp_add(slot, clamp32((rand_below(5) + 10) * r / 10));
    battle_mp_add(slot, clamp32(static_cast<s64>(s.mp_max) * r / 500));
}

// ---- The blow -------------------------------------------------------------------------------

void battle_damage(s32 attacker) {
    if (!slot_live(attacker)) return;
    // 1. Targets: marked cells in row order holding a fighter of the other side, at most six.
    s32 targets[MAX_TARGETS];
    s32 divisor[MAX_TARGETS];
    s32 count = 0;
    bool protagonist_hit = false;
    for (s32 row = 0; row < GRID && count < MAX_TARGETS; ++row)
        for (s32 col = 0; col < GRID && count < MAX_TARGETS; ++col) {
            const s32 mark = battle_marks[row][col];
            if (mark < 0) continue;
            const s32 t = battle_slot_at(col, row);
            if (t < 0 || side_of(t) == side_of(attacker)) continue;
            targets[count] = t;
            divisor[count] = mark < 3 ? 1 : mark - 1;
            if (t == 0) protagonist_hit = true;
            ++count;
        }
    if (count == 0) return;

    // 2-3. Reactions.
    battle_reaction = REACT_NONE;
    battle_reaction_value = 0;
    if (protagonist_hit || attacker == 0) {
        const Technique t = techniques_available(attacker, protagonist_hit);
        if (attacker == 0) {
            if (t.stun && rand_below(5) == 1) {
                battle_reaction = REACT_STUN;
            } else if (t.power && rand_below(5) == 1) {
                battle_reaction = REACT_POWER;
                battle_mp_add(0, -REACTION_MP_COST);
            }
        } else if (t.counter && rand_below(5) == 1) {
            battle_reaction = REACT_COUNTER;
            battle_mp_add(0, -REACTION_MP_COST);
        } else if (t.dodge && rand_below(5) == 1) {
            battle_reaction = REACT_DODGE;
            battle_mp_add(0, -REACTION_MP_COST);
        } else if (t.guard && rand_below(5) == 1) {
            battle_reaction = REACT_GUARD;
        }
    }

    // 4-8. Power, level scaling, power strike, the protagonist's e.
    const ArtEntry& art = battle_slot_art(attacker);
    const s32 level = battle_slots[attacker].art_level;
    const s64 p = blow_power(attacker, art);
    s64 base = p * battle_level_percent(level) / 100;
    if (battle_reaction == REACT_POWER) base *= 2;
    if (attacker == 0) base = base * (static_cast<s64>(protagonist_e(art)) + 10) / 10;

    // 9. Defence per target.
    s64 dmg[MAX_TARGETS];
    const bool halved = known_has(9, 5);
    for (s32 i = 0; i < count; ++i) {
        s64 f = battle_defence_factor(defence_of(targets[i]));
        if (side_of(attacker) == 1 && field_kind == 1 && field_turns > 0) f -= field_bonus;
        if (f < -7) f = -7;
        dmg[i] = base * (f + 10) / 3;
        if (halved) dmg[i] = dmg[i] * 2 / 3;
    }

    const s32 chance = art.poison_chance;
    const s32 cost = battle_art_cost(attacker);
    PlayerRecord& pr = player_record;
    if (attacker == 0) {
        // 10. The protagonist's blow: stuns, mp cost and its lack, hp, drain and poison.
        if (weapon_is(WEAPON_STUNNING))
            for (s32 i = 0; i < count; ++i)
                if (rand_below(4) == 1) battle_slots[targets[i]].stunned += 2;
        if (battle_reaction == REACT_STUN) {
            for (s32 i = 0; i < count; ++i)
                if (i == 0 || rand_below(5) == 1) battle_slots[targets[i]].stunned += 2;
            battle_reaction_value = 1;
        }
        if (cost > 0 && pr.mp < cost) {
            const s64 k = std::max<s64>(static_cast<s64>(std::max(pr.mp, 0)) * 10 / cost, 1);
            for (s32 i = 0; i < count; ++i) dmg[i] = dmg[i] * k / 10;
        }
        battle_mp_add(0, double_strike == TECHNIQUE_DOUBLE_STRIKE ? -(cost / 2) : -cost);
        const s32 extra_poison = weapon_poison();
        for (s32 i = 0; i < count; ++i) {
            const s32 t = targets[i];
            const s32 hit = clamp32(dmg[i] / divisor[i]);
            battle_hp_add(t, -hit);
            if (weapon_is(WEAPON_DRAINING)) battle_hp_add(0, hit);
            s32 q = 0;
            if (chance > 0 && rand_below(20) < chance + pr.skill[SKILL_POISON] / 10 &&
                battle_slots[t].resistance < static_cast<s64>(chance) * 10)
                q = chance;
            battle_poison_add(t, clamp32(static_cast<s64>(q) + extra_poison));
        }
        return;
    }

    // 11. Any other attacker pays its cost whatever its mp.
    battle_mp_add(attacker, -cost);
    for (s32 i = 0; i < count; ++i) {
        const s32 t = targets[i];
        const s32 hit = clamp32(dmg[i] / divisor[i]);
        if (t == 0 && battle_reaction == REACT_COUNTER) {
            battle_reaction_value = battle_hp(attacker);
            battle_hp_add(attacker, -hit);
            if (chance > 0 && rand_below(20) < chance) battle_poison_add(attacker, chance);
            continue;
        }
        if (t == 0 && battle_reaction == REACT_GUARD) {
            if (hit / 5 < pr.mp) {
                battle_mp_add(0, -(hit / 5));
                continue;
            }
            battle_reaction = REACT_NONE;
        }
        if (t == 0 && battle_reaction == REACT_DODGE) continue;
        if (t == 0) {
            battle_hp_add(0, -hit);
            stamina_add(clamp32(-(dmg[i] / 5)));
            s64 q = 0;
            if (chance > 0 && rand_below(20) < chance &&
                pr.skill[SKILL_POISON] < static_cast<s64>(chance) * 10)
                q = chance;
            if (const EquipExtraEntry* b = worn_b()) q += b->poison_taken;
            if (const EquipSlot3Entry* c = worn_c()) q += c->poison_taken;
            battle_poison_add(0, clamp32(q));
            continue;
        }
        battle_hp_add(t, -hit);
        if (chance > 0 && rand_below(20) < chance &&
            battle_slots[t].resistance < static_cast<s64>(chance) * 10)
            battle_poison_add(t, chance);
    }
}

void battle_attack(s32 slot) {
    if (!slot_live(slot)) return;
    const s32 passes = (slot == 0 && double_strike == TECHNIQUE_DOUBLE_STRIKE) ? 2 : 1;
    for (s32 pass = 0; pass < passes; ++pass) {
        if (!slot_live(slot)) return;
        if (!attack_pass(slot)) return;
    }
}
