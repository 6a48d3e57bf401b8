#include "game/adjust.h"

#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "game/growth.h"
#include "game/player.h"

#include <climits>

namespace {

// field + n held to lo..hi; the sum is taken wide so that no amount wraps.
s32 add_clamped(s32 field, s64 n, s64 lo, s64 hi) {
    s64 v = s64(field) + n;
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return s32(v);
}

void white() {
    text_colour(31, 31, 31);
}

// The overflow rule of mp gains: past the maximum there is a 30% chance that the maximum rises
// by one; mp then stands at the maximum. A negative mp becomes 1, not 0.
void mp_gain(s64 n) {
    PlayerRecord& p = player_record;
    p.mp = add_clamped(p.mp, n, INT_MIN, INT_MAX);
    if (p.mp > p.mp_max) {
        if (rand_below(10) >= 7 && p.mp_max < MP_MAX_LIMIT) p.mp_max += 1;
        p.mp = p.mp_max;
    }
    if (p.mp < 0) p.mp = 1;
}

// The raw affection change with the aptitude bonus, before any clamp.
s64 affection_with_bonus(s32 person, s32 n) {
    s64 v = s64(player_record.affection[person]) + n;
    if (player_record.social_aptitude >= 80 && rand_below(10) >= 5) v += 1 + rand_below(3);
    return v;
}

s32 affection_clamped(s64 v) {
    return s32(v < 0 ? 0 : v > 100 ? 100 : v);
}

bool person_valid(s32 person) {
    return person >= 0 && person < PLAYER_PEOPLE;
}

// Injury turns by how far stamina went below zero.
s32 injury_turns(s32 stamina) {
    if (stamina > -50) return 2 + rand_below(2);
    if (stamina > -100) return 3 + rand_below(4);
    if (stamina > -150) return 4 + rand_below(6);
    return 4 + rand_below(8);
}

} // namespace

void money_add(s32 n) {
    player_record.money = add_clamped(player_record.money, n, 0, MONEY_MAX);
    white();
    if (n > 0) log_text_number(TEXT_MONEY_GAINED, n);
    // -n of the most negative int does not fit: the line shows the largest amount instead.
    if (n < 0) log_text_number(TEXT_MONEY_SPENT, n == INT_MIN ? INT_MAX : -n);
}

void fame_add(s32 n) {
    player_record.fame = add_clamped(player_record.fame, n, 0, FAME_MAX);
    log_text_number(n > 0 ? TEXT_FAME_UP : TEXT_FAME_DOWN, player_record.fame);
}

void fame_exp_add(s32 n) {
    player_record.fame_exp = add_clamped(player_record.fame_exp, n, INT_MIN, INT_MAX);
    grow_quiet(GROWTH_FAME);
}

void chivalry_add(s32 n) {
    player_record.chivalry = add_clamped(player_record.chivalry, n, 0, 100);
    white();
    log_text_number(n > 0 ? TEXT_CHIVALRY_UP : TEXT_CHIVALRY_DOWN, player_record.chivalry);
}

void mood_add(s32 n) {
    player_record.mood = add_clamped(player_record.mood, -s64(n), 0, MOOD_WORST);
    player_record.mood_turns = 0;
    mssw_play_sound(n > 0 ? SOUND_GAIN : SOUND_LOSS, 1);
}

void hp_add(s32 n) {
    PlayerRecord& p = player_record;
    p.hp = add_clamped(p.hp, n, INT_MIN, INT_MAX);
    if (p.hp > p.hp_max) p.hp = p.hp_max;
    if (p.hp < 0) p.hp = 0;
}

void mp_add(s32 n) {
    mp_gain(n);
}

void mp_add_scaled(s32 n) {
    mp_gain(s64(player_record.mp_max) * n / 10);
}

void mp_max_add(s32 n) {
    if (n <= 0) return;
    PlayerRecord& p = player_record;
    p.mp_max = add_clamped(p.mp_max, n, INT_MIN, MP_MAX_LIMIT);
    if (p.mp_max < 0) p.mp_max = 1;
    p.mp = p.mp_max;
}

void stamina_add(s32 n) {
    player_record.stamina = add_clamped(player_record.stamina, n, 0, STAMINA_MAX);
}

s32 stamina_spend(s32 n) {
    PlayerRecord& p = player_record;
    const s32 roll = p.constitution * 3 + 280 - rand_below(800);
    p.stamina = add_clamped(p.stamina, n, INT_MIN, STAMINA_MAX);
    if (p.stamina > 0) return 0;
    const s32 turns = roll < 0 ? injury_turns(p.stamina) : 0;
    p.stamina = 0;
    return turns;
}

void stamina_recover(s32 n) {
    PlayerRecord& p = player_record;
    if (p.sleep_need > 100) {
        p.stamina = add_clamped(p.stamina, 10 * s64(n), INT_MIN, STAMINA_MAX);
    } else {
        p.sleep_need = add_clamped(p.sleep_need, -s64(n), 0, INT_MAX);
        p.stamina = add_clamped(p.stamina, 5 * s64(n), INT_MIN, STAMINA_MAX);
    }
}

void fatigue_rest(s32 n) {
    PlayerRecord& p = player_record;
    white();
    if (p.fatigue > 100) {
        p.stamina = add_clamped(p.stamina, n, INT_MIN, STAMINA_MAX);
        log_text(s64(p.fatigue) - n > 100 ? TEXT_REST_STILL_TIRED : TEXT_REST_RESTED);
    } else {
        log_text(TEXT_REST_NOT_TIRED);
    }
    p.fatigue = add_clamped(p.fatigue, -s64(n), 0, INT_MAX);
}

void poison_add(s32 n) {
    player_record.poison = add_clamped(player_record.poison, 5 * s64(n), 0, 100);
}

void poison_add_raw(s32 n) {
    player_record.poison = add_clamped(player_record.poison, n, 0, 100);
}

void affliction_add(s32 n) {
    player_record.affliction = add_clamped(player_record.affliction, n, 0, 100);
}

void growth0_add(s32 n) {
    player_record.skill[0] = add_clamped(player_record.skill[0], n, 0, 100);
}

void affection_add(s32 person, s32 n) {
    if (!person_valid(person)) return;
    const s64 v = affection_with_bonus(person, n);
    white();
    mssw_play_sound(n > 0 ? SOUND_GAIN : SOUND_LOSS, 1);
    log_text_text(TEXT_PERSON_NAME + person, n > 0 ? TEXT_AFFECTION_UP : TEXT_AFFECTION_DOWN);
    player_record.affection[person] = affection_clamped(v);
}

void affection_add_quiet(s32 person, s32 n) {
    if (!person_valid(person)) return;
    player_record.affection[person] = affection_clamped(affection_with_bonus(person, n));
}

void unused_value_set(s32 v) {
    player_record.spare_a = v;
}
