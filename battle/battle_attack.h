// Blows and their numbers: `battle_attack` turns the marked cells into targets and plays the
// blow, `battle_damage` holds the damage formula with the protagonist's reactions, mp cost and
// poison; the three value changers and the rest action.
#pragma once
#include "engine/types.h"

struct ArtEntry;
struct KnownEntry;

enum BattleReaction : s32 {
    REACT_NONE = -1,
    REACT_POWER = 0,
    REACT_GUARD = 1,
    REACT_DODGE = 2,
    REACT_COUNTER = 3,
    REACT_STUN = 4,
};

// Battle techniques: ids of known list 10.
constexpr s32 TECHNIQUE_LIST = 10;
constexpr s32 TECHNIQUE_DOUBLE_STRIKE = 6;
constexpr s32 REACTION_MP_COST = 50;

// Items with rules of their own in a blow.
constexpr s32 WEAPON_STUNNING = 1408;
constexpr s32 WEAPON_DRAINING = 1447;
constexpr s32 THROWING_PAID_STRIKE = 1550;
constexpr s32 THROWING_FIRST = 1550;
constexpr s32 THROWING_LAST = 1569;
constexpr s32 PAID_STRIKE_PRICE = 2000;
constexpr s32 PAID_STRIKE_POWER = 40;
constexpr s32 PAID_STRIKE_LIMIT = 10;
constexpr s32 PAID_STRIKE_TITLE = 62;

extern s32 double_strike; // 6 when the protagonist knows technique 6, else 0

void battle_attack(s32 slot);
void battle_damage(s32 attacker);
void battle_hp_add(s32 slot, s32 n);
void battle_mp_add(s32 slot, s32 n);
void battle_poison_add(s32 slot, s32 n);
void battle_rest(s32 slot);

// Live values of any slot (slot 0 reads the player record); 0 for a slot outside 0..11.
s32 battle_hp(s32 slot);
s32 battle_hp_max(s32 slot);
s32 battle_mp(s32 slot);
s32 battle_mp_max(s32 slot);
s32 battle_poison(s32 slot);
// Level scaling percent of an art level (20, 40, 60, 80, 90, 100, 120).
s32 battle_level_percent(s32 level);
// Defence factor f of a defence value (before the guard field), +2 .. -7.
s32 battle_defence_factor(s32 defence);

// Inner power one use of the slot's art costs: mp_cost x (art_level / 10 + 1).
s32 battle_art_cost(s32 slot);
// The protagonist's known entry named by art_list/art_entry when it holds an art (id >= 50);
// null otherwise, so nothing is read or written through a stale pair.
KnownEntry* battle_protagonist_known();
// Sets every hit point of the slot to -1.
void battle_hits_clear(s32 slot);
// Appends a cell's screen point to the slot's hit lists (at most six); 1 when stored.
s32 battle_hits_append(s32 slot, s32 col, s32 row);
// Adds experience of one use of the protagonist's art to its known entry and levels it.
void battle_art_practice();
