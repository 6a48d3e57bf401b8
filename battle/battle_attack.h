// Blows and their numbers: `battle_attack` turns the marked cells into targets and plays the
// blow, `battle_damage` holds the damage formula with the protagonist's reactions, mp cost and
// poison; the three value changers and the rest action.
#pragma once
#include "engine/types.h"

enum BattleReaction : s32 {
    REACT_NONE = -1,
    REACT_POWER = 0,
    REACT_GUARD = 1,
    REACT_DODGE = 2,
    REACT_COUNTER = 3,
    REACT_STUN = 4,
};

extern s32 double_strike; // 6 when the protagonist knows technique 6, else 0

void battle_attack(s32 slot);
void battle_damage(s32 attacker);
void battle_hp_add(s32 slot, s32 n);
void battle_mp_add(s32 slot, s32 n);
void battle_poison_add(s32 slot, s32 n);
void battle_rest(s32 slot);

// Live values of any slot (slot 0 reads the player record).
s32 battle_hp(s32 slot);
s32 battle_hp_max(s32 slot);
s32 battle_mp(s32 slot);
s32 battle_mp_max(s32 slot);
s32 battle_poison(s32 slot);
// Level scaling percent of an art level (20, 40, 60, 80, 90, 100, 120).
s32 battle_level_percent(s32 level);
// Defence factor f of a defence value (before the guard field), +2 .. -7.
s32 battle_defence_factor(s32 defence);
