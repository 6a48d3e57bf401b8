// Rules that change the roster's fighting values, and the player-side rules that go with them:
// the roster's hit-point, inner-power and poison adjusters, the growth of one character and the
// per-turn restoration and growth of everybody, full and partial healing of the player and up to
// eleven characters at once, the reward of a won battle, the training of every known art at
// once and the score of a martial art in the player's hands.
//
// Every person argument is a roster index; an index outside 0..299 is ignored (the call does
// nothing), so a bad id from a script or a damaged table never reaches outside the roster.
#pragma once
#include "engine/types.h"

// The characters whose growth is bound to the year of the clock (`roster_turn_growth`).
constexpr s32 ROSTER_YEAR_BOUND_COUNT = 31;
extern const s32 roster_year_bound[ROSTER_YEAR_BOUND_COUNT];

// Hit points and inner power given by a partial heal.
constexpr s32 HEAL_PART_AMOUNT = 200;
// Log line of a won battle's experience.
constexpr s32 BATTLE_REWARD_TEXT = 438;

// ---- Roster adjusters -------------------------------------------------------------------------
// hp += n, then clamped to 0..hp_max.
void roster_hp_add(s32 person, s32 n);
// hp_max += n; a result of 0 or less becomes 1. hp is left as it is.
void roster_hp_max_add(s32 person, s32 n);
// mp += n; above mp_max: a 30% draw raises mp_max by 1 (at most 1000) and mp := mp_max; then a
// negative mp becomes 0.
void roster_mp_add(s32 person, s32 n);
// poison += 5 x n, clamped to 0..100.
void roster_poison_add(s32 person, s32 n);

// ---- Growth and healing -----------------------------------------------------------------------
// Raises attack, defence, mp_max and art level by random amounts scaled by `amount` (four draws
// in that order), hp_max by 5 x amount, and recomputes the rank from attack and defence.
void roster_grow(s32 person, s32 amount);
// Rank 0..15 of a character with this attack and defence.
s32 roster_rank_for(s32 attack, s32 defence);
// Restores the player and every character (hp and mp to their maxima, poison 0) and grows the
// roster by chance: the year-bound characters by the year of the clock, everybody else by 20%,
// characters 203 and 204 once more by 25%.
void roster_turn_growth();

// who 0 = the player, above 0 = that character, below 0 = nobody; each further id above 0 is a
// character (an id of 0 there is not the player). Restores hp and mp to their maxima and clears
// poison.
void heal_full(s32 who, s32 id1 = -1, s32 id2 = -1, s32 id3 = -1, s32 id4 = -1, s32 id5 = -1,
               s32 id6 = -1, s32 id7 = -1, s32 id8 = -1, s32 id9 = -1, s32 id10 = -1,
               s32 id11 = -1);
// The same selection; each gets 200 hp and 200 mp through the adjusters.
void heal_part(s32 who, s32 id1 = -1, s32 id2 = -1, s32 id3 = -1, s32 id4 = -1, s32 id5 = -1,
               s32 id6 = -1, s32 id7 = -1, s32 id8 = -1, s32 id9 = -1, s32 id10 = -1,
               s32 id11 = -1);

// The reward of a won battle of encounter set-up `encounter`: when the player fought, experience
// by the sum of the opponents' ranks to attributes 25..29 and the combat pool, and log line 438;
// in every case one growth step for every roster fighter of slots 1..11. An encounter outside
// 0..159 gives nothing.
void battle_reward(s32 encounter);

// Adds `amount` of experience to every known art (id 50 or more) of lists 1..8, levels it, and
// adds the same to the list's skill pool with a growth call, once per art.
void known_train_all(s32 amount);

// Score of `arts_table` record `art` used at `level` by the player: the art's power scaled by
// the level, plus terms for the weapon, the base arts, attributes, combat level, art variety,
// the base value and the mastery awards. An art outside 0..499 scores 0.
s32 art_score(s32 art, s32 level);
