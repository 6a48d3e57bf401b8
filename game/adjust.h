// Value adjusters of the player record: each adds a signed amount to one field, clamps the result
// to the field's range (after the addition, never before) and, for the values the player
// watches, plays a sound and writes a message-log line. Amounts of any size and sign are
// accepted (the sums are taken in 64 bits, so no amount can wrap a field); none of them fails.
//
// Sounds: 500 marks a gain, 507 a loss. "White" is text_colour(31, 31, 31) before the log line.
#pragma once
#include "engine/types.h"

constexpr s32 SOUND_GAIN = 500;
constexpr s32 SOUND_LOSS = 507;

constexpr s32 MONEY_MAX = 99999;
constexpr s32 FAME_MAX = 999;
constexpr s32 STAMINA_MAX = 1000;
constexpr s32 MP_MAX_LIMIT = 9999;
constexpr s32 MOOD_WORST = 4;

// Log texts of the adjusters.
constexpr s32 TEXT_MONEY_GAINED = 465;  // with the amount
constexpr s32 TEXT_MONEY_SPENT = 466;   // with the amount
constexpr s32 TEXT_FAME_UP = 484;       // with the new fame
constexpr s32 TEXT_FAME_DOWN = 485;     // with the new fame (also for 0)
constexpr s32 TEXT_CHIVALRY_UP = 480;   // with the new chivalry
constexpr s32 TEXT_CHIVALRY_DOWN = 481; // with the new chivalry (also for 0)
constexpr s32 TEXT_AFFECTION_UP = 482;  // after the person's name
constexpr s32 TEXT_AFFECTION_DOWN = 483;
constexpr s32 TEXT_REST_STILL_TIRED = 453;
constexpr s32 TEXT_REST_RESTED = 454;
constexpr s32 TEXT_REST_NOT_TIRED = 455;
constexpr s32 TEXT_PERSON_NAME = 1000; // name of person p is text 1000 + p

// money 0..99999; white log 465 with n for n > 0, 466 with -n for n < 0, nothing for 0.
void money_add(s32 n);
// fame 0..999; log 484 (n > 0) or 485 with the new fame, in the current text colour.
void fame_add(s32 n);
// fame_exp += n, then grow_quiet of the fame.
void fame_exp_add(s32 n);
// chivalry 0..100; white log 480 (n > 0) or 481 with the new chivalry.
void chivalry_add(s32 n);
// mood -= n (a positive n improves it), 0..4; mood_turns := 0; sound 500 for n > 0, else 507.
void mood_add(s32 n);
// hp 0..hp_max.
void hp_add(s32 n);
// mp += n; past mp_max a 30% chance raises mp_max by 1 (at most 9999) and mp := mp_max; an mp
// below 0 becomes 1.
void mp_add(s32 n);
// The same with mp_max * n / 10.
void mp_add_scaled(s32 n);
// n > 0 only: mp_max += n (at most 9999, below 0 becomes 1), then mp := mp_max.
void mp_max_add(s32 n);
// stamina 0..1000.
void stamina_add(s32 n);
// Spends stamina (n negative, at most 1000 afterwards). When it runs out (0 or less) the player
// may be injured: the result is the injury turns (2..11, more the further it went below 0) when
// the constitution roll fails, else 0; stamina is then 0. The roll is drawn on every call.
s32 stamina_spend(s32 n);
// Sleep of n minutes: with sleep_need above 100, stamina += 10 n; else sleep_need -= n (floor 0)
// and stamina += 5 n. stamina at most 1000.
void stamina_recover(s32 n);
// Rest: when fatigue is above 100, stamina += n (at most 1000) and white log 453 (still above 100
// after the rest) or 454; otherwise white log 455. Then fatigue -= n (floor 0).
void fatigue_rest(s32 n);
void poison_add(s32 n);     // poison += 5 n, 0..100
void poison_add_raw(s32 n); // poison += n, 0..100
void affliction_add(s32 n); // 0..100
void growth0_add(s32 n);    // skill[0] += n, 0..100; no pool, no growth call
// affection[person] += n plus the aptitude bonus (social aptitude 80 or more: a 50% chance of
// 1..3 more, for every n), then white, sound 500 and log (name, 482) for n > 0, else sound 507
// and (name, 483), then the clamp to 0..100. A person outside 0..499: nothing.
void affection_add(s32 person, s32 n);
// The same change and bonus without sound or log.
void affection_add_quiet(s32 person, s32 n);
// spare_a := v; the game never calls it.
void unused_value_set(s32 v);
