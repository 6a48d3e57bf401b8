// Roster rules, healing, battle rewards, group training and art scores.
#include "game/roster_rules.h"

#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/roster.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/player.h"

const s32 roster_year_bound[ROSTER_YEAR_BOUND_COUNT] = {
    11, 12, 15,  29,  30,  33,  38,  47,  50,  51,  55,  75,  78,  81,  83,  84,
    87, 89, 118, 121, 122, 132, 146, 154, 166, 167, 180, 193, 200, 203, 204,
};

namespace {

constexpr s32 ROSTER_STAT_CAP = 100; // attack, defence, art level
constexpr s32 ROSTER_MP_CAP = 1000;  // mp_max
constexpr s32 POISON_CAP = 100;

// The roster entry of a person, or null for an index outside the roster.
RosterEntry* entry_of(s32 person) {
    if (person < 0 || person >= ROSTER_SIZE) return nullptr;
    return &roster[person];
}

s32 cap(s32 value, s32 most) {
    return value > most ? most : value;
}

void restore_player() {
    player_record.hp = player_record.hp_max;
    player_record.mp = player_record.mp_max;
    player_record.poison = 0;
}

void restore_entry(RosterEntry& e) {
    e.hp = e.hp_max;
    e.mp = e.mp_max;
    e.poison = 0;
}

bool year_bound(s32 person) {
    for (s32 id : roster_year_bound)
        if (id == person) return true;
    return false;
}

// The twelve selections of `heal_full` and `heal_part`: `who` may name the player (0), the ids
// only roster characters (above 0).
template <typename Player, typename Person>
void heal_each(s32 who, const s32 (&ids)[11], Player player, Person person) {
    if (who == 0)
        player();
    else if (who > 0)
        person(who);
    for (s32 id : ids)
        if (id > 0) person(id);
}

} // namespace

// ---- Roster adjusters -------------------------------------------------------------------------

void roster_hp_add(s32 person, s32 n) {
    RosterEntry* e = entry_of(person);
    if (!e) return;
    e->hp += n;
    if (e->hp > e->hp_max) e->hp = e->hp_max;
    if (e->hp < 0) e->hp = 0;
}

void roster_hp_max_add(s32 person, s32 n) {
    RosterEntry* e = entry_of(person);
    if (!e) return;
    e->hp_max += n;
    if (e->hp_max <= 0) e->hp_max = 1;
}

void roster_mp_add(s32 person, s32 n) {
    RosterEntry* e = entry_of(person);
    if (!e) return;
    e->mp += n;
    if (e->mp > e->mp_max) {
        // Overflowing inner power sometimes widens the vessel by one.
        if (rand_below(10) >= 7 && e->mp_max < ROSTER_MP_CAP) e->mp_max += 1;
        e->mp = e->mp_max;
    }
    if (e->mp < 0) e->mp = 0;
}

void roster_poison_add(s32 person, s32 n) {
    RosterEntry* e = entry_of(person);
    if (!e) return;
    e->poison += 5 * n;
    if (e->poison > POISON_CAP) e->poison = POISON_CAP;
    if (e->poison < 0) e->poison = 0;
}

// ---- Growth -----------------------------------------------------------------------------------

s32 roster_rank_for(s32 attack, s32 defence) {
    const s32 a = (attack + defence) / 2;
    if (a <= 80) return a / 10;
    if (a <= 84) return 9;
    if (a <= 87) return 10;
    if (a <= 89) return 11;
    if (a <= 92) return 12;
    if (a <= 95) return 13;
    if (a <= 98) return 14;
    return 15;
}

void roster_grow(s32 person, s32 amount) {
    RosterEntry* e = entry_of(person);
    if (!e) return;
    const s32 h = amount / 2;
    e->attack = cap(e->attack + rand_below(amount + 1) + h + 1, ROSTER_STAT_CAP);
    e->defence = cap(e->defence + rand_below(amount + 1) + h + 1, ROSTER_STAT_CAP);
    e->mp_max = cap(e->mp_max + rand_below(5 * amount) + 2 * amount + 1, ROSTER_MP_CAP);
    e->art_level = cap(e->art_level + rand_below(amount + 1) + h + 1, ROSTER_STAT_CAP);
    roster_hp_max_add(person, 5 * amount);
    e->rank = roster_rank_for(e->attack, e->defence);
}

void roster_turn_growth() {
    restore_player();
    const s32 year = world_state.year;
    for (s32 i = 0; i < ROSTER_SIZE; ++i) {
        restore_entry(roster[i]);
        if (year_bound(i)) {
            // Years 2..5 give 30%, 40%, 50%, 60%; other years no draw at all.
            if (year >= 2 && year <= 5 && rand_below(10) < year + 1) roster_grow(i, 1);
        } else if (rand_below(5) == 1) {
            roster_grow(i, 1);
        }
    }
    for (s32 i : {203, 204})
        if (rand_below(4) == 0) roster_grow(i, 1);
}

// ---- Healing ----------------------------------------------------------------------------------

void heal_full(s32 who, s32 id1, s32 id2, s32 id3, s32 id4, s32 id5, s32 id6, s32 id7, s32 id8,
               s32 id9, s32 id10, s32 id11) {
    const s32 ids[11] = {id1, id2, id3, id4, id5, id6, id7, id8, id9, id10, id11};
    heal_each(who, ids, restore_player, [](s32 person) {
        if (RosterEntry* e = entry_of(person)) restore_entry(*e);
    });
}

void heal_part(s32 who, s32 id1, s32 id2, s32 id3, s32 id4, s32 id5, s32 id6, s32 id7, s32 id8,
               s32 id9, s32 id10, s32 id11) {
    const s32 ids[11] = {id1, id2, id3, id4, id5, id6, id7, id8, id9, id10, id11};
    heal_each(
        who, ids,
        [] {
            hp_add(HEAL_PART_AMOUNT);
            mp_add(HEAL_PART_AMOUNT);
        },
        [](s32 person) {
            roster_hp_add(person, HEAL_PART_AMOUNT);
            roster_mp_add(person, HEAL_PART_AMOUNT);
        });
}

// ---- Battle reward ----------------------------------------------------------------------------

void battle_reward(s32 encounter) {
    if (encounter < 0 || encounter >= ENCOUNTER_COUNT) return;
    const s32* ids = encounters[encounter].fighter;
    s32 joined = 0;
    for (s32 k = 0; k < ENCOUNTER_FIGHTERS; ++k)
        if (ids[k] == 0) joined = 1;
    s32 ranks = 0;
    for (s32 k = ENCOUNTER_SIDE; k < ENCOUNTER_FIGHTERS; ++k)
        if (ids[k] > 0)
            if (const RosterEntry* e = entry_of(ids[k])) ranks += e->rank;
    if (joined) {
        for (s32 index = 25; index <= 28; ++index) growth_pool(index) += 10 * ranks;
        growth_pool(29) += 5 * ranks;
        // Stays in the pool until the battle's next growth call for the combat level.
        player_record.combat_exp += 20 * ranks;
        for (s32 index = 25; index <= 29; ++index) grow_quiet(index);
        log_text(BATTLE_REWARD_TEXT);
    }
    for (s32 k = 1; k < ENCOUNTER_FIGHTERS; ++k)
        if (ids[k] > 0) roster_grow(ids[k], 1);
}

// ---- Training ---------------------------------------------------------------------------------

void known_train_all(s32 amount) {
    for (s32 list = 1; list <= 8; ++list) {
        for (s32 slot = 0; slot < KNOWN_SLOTS; ++slot) {
            KnownEntry& k = player_record.known[list][slot];
            if (k.id < ART_FIRST_ID) continue;
            k.exp += amount;
            known_level_up(list, slot);
            player_record.skill_exp[list] += amount;
            grow(list);
        }
    }
}

// ---- Art score --------------------------------------------------------------------------------

s32 art_score(s32 art, s32 level) {
    if (art < 0 || art >= ARTS_COUNT) return 0;
    const PlayerRecord& p = player_record;
    s32 score = 0;

    // The art itself, weighted by how far it is mastered.
    const s32 m = level < 20    ? 20
                  : level < 40  ? 40
                  : level < 60  ? 60
                  : level < 80  ? 80
                  : level < 90  ? 90
                  : level < 100 ? 100
                                : 120;
    score += arts_table[art].power * m;

    // The weapon in hand.
    if (const EquipEntry* w = equip_entry(0, p.equip[0])) score += 100 * w->power;

    // Every 25 levels of base arts.
    s32 base_levels = 0;
    for (const KnownEntry& k : p.known[0])
        if (k.id >= ART_FIRST_ID) base_levels += k.level;
    score += 100 * (base_levels / 25);

    const s32 a27 = p.attr[2];
    if (a27 >= 100)
        score += 300;
    else if (a27 >= 75)
        score += 200;
    else if (a27 >= 50)
        score += 100;

    if (a27 >= 70)
        score += 200;
    else if (p.combat_level > 50)
        score += 100;

    const s32 cl = p.combat_level;
    if (cl >= 100)
        score += 500;
    else if (cl > 90)
        score += 400;
    else if (cl > 75)
        score += 300;
    else if (cl > 50)
        score += 200;
    else if (cl > 30)
        score += 100;

    const s32 av = p.art_variety;
    if (av >= 120)
        score += 400;
    else if (av >= 100)
        score += 300;
    else if (av > 90)
        score += 200;
    else if (av > 70)
        score += 100;

    const s32 base = p.skill[0];
    if (base >= 120)
        score += 500;
    else if (base > 100)
        score += 400;
    else if (base > 75)
        score += 300;
    else if (base > 50)
        score += 200;
    else if (base > 30)
        score += 100;

    // Mastery awards: 500 each, award 6 another 1,500.
    for (const KnownEntry& k : p.known[9]) {
        if (k.id >= 0) score += 500;
        if (k.id == 6) score += 1500;
    }
    return score;
}
