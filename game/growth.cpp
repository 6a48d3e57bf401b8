// The growth rule: levels bought with experience, tier by tier, the derived hit-point maximum,
// requirement tests and the levels of known-list entries.
#include "game/growth.h"

#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/shell.h"
#include "game/makers.h"
#include "game/player.h"

const s32 GROWTH_STEPS_MAIN[GROWTH_TIERS] = {15, 25, 40, 60, 85, 120, 150, 200, 250, 350};
const s32 GROWTH_STEPS_SKILL[GROWTH_TIERS] = {10, 20, 40, 60, 80, 100, 120, 150, 200, 270};
const s32 GROWTH_STEPS_QUIET[GROWTH_TIERS] = {10, 20, 40, 60, 80, 100, 120, 140, 160, 180};
const s32 KNOWN_STEPS[GROWTH_TIERS] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
const s32 HP_MAX_WEIGHTS[HP_MAX_WEIGHT_COUNT] = {6, 7, 8, 9, 10, 12};

namespace {

constexpr s32 LEVEL_CAP = 100;
constexpr s32 HP_MAX_CAP = 1000;
constexpr s32 TEXT_GROWTH = 400;      // + index, for 0..31
constexpr s32 TEXT_COMBAT = 434;      // index 32
constexpr s32 TEXT_ART_VARIETY = 435; // index 33
constexpr s32 TEXT_KNOWN_LEVEL = 440;
constexpr s32 TEXT_KNOWN_VALUE = 441;
constexpr s32 TEXT_KNOWN_NAMES = 52500; // + 100 x list + entry id

// Threshold tables of each index under grow, grow_quiet and grow_lower.
const s32* grow_table(s32 index) {
    return index >= 10 && index <= 24 ? GROWTH_STEPS_SKILL : GROWTH_STEPS_MAIN;
}
const s32* grow_quiet_table(s32 index) {
    return index >= 10 && index <= 24 ? GROWTH_STEPS_QUIET : GROWTH_STEPS_MAIN;
}
const s32* grow_lower_table(s32 index) {
    return index <= 9 ? GROWTH_STEPS_QUIET : GROWTH_STEPS_MAIN;
}

// Buys levels while the value is below the cap and the pool pays its tier's threshold.
int step_loop(s32& value, s32& pool, const s32* steps) {
    int gained = 0;
    while (value < LEVEL_CAP) {
        const s32 cost = steps[growth_tier(value)];
        if (pool < cost) break;
        value += 1;
        pool -= cost;
        gained = 1;
    }
    return gained;
}

bool attr30_bonus() {
    return player_record.equip[3] == EQUIP_ATTR30_BONUS_OFFSET;
}

// The value as logged: attribute 30 shows the bonus of its equipment.
s32 shown_value(s32 index) {
    s32 v = growth_value(index);
    if (index == GROWTH_ATTR_LAST && attr30_bonus()) v += EQUIP_ATTR30_BONUS;
    return v;
}

void log_gain(s32 text, s32 index) {
    text_colour(31, 31, 31);
    log_text_number(text, shown_value(index));
}

s32 log_text_of(s32 index) {
    if (index == GROWTH_COMBAT) return TEXT_COMBAT;
    if (index == GROWTH_ART_VARIETY) return TEXT_ART_VARIETY;
    return TEXT_GROWTH + index;
}

// One hit-point term: value x weight of its own value / divisor.
s64 hp_term(s32 value, s32 divisor) {
    int w = value / 20;
    if (w < 0) w = 0;
    if (w >= HP_MAX_WEIGHT_COUNT) w = HP_MAX_WEIGHT_COUNT - 1;
    return s64(value) * HP_MAX_WEIGHTS[w] / divisor;
}

} // namespace

int growth_tier(s32 value) {
    const s32 tier = value / 10;
    if (tier < 0) return 0;
    if (tier >= GROWTH_TIERS) return GROWTH_TIERS - 1;
    return tier;
}

s32& growth_value(s32 index) {
    PlayerRecord& p = player_record;
    if (index >= 0 && index <= 24) return p.skill[index];
    if (index >= GROWTH_ATTR_FIRST && index <= GROWTH_ATTR_LAST)
        return p.attr[index - GROWTH_ATTR_FIRST];
    if (index == GROWTH_FAME) return p.fame;
    if (index == GROWTH_COMBAT) return p.combat_level;
    if (index == GROWTH_ART_VARIETY) return p.art_variety;
    shell_fatal("growth_value: index %d out of range", index);
}

s32& growth_pool(s32 index) {
    PlayerRecord& p = player_record;
    if (index >= 0 && index <= 24) return p.skill_exp[index];
    // The pools of 27 and 28 are stored in each other's place.
    if (index == 27) return p.attr_exp[3];
    if (index == 28) return p.attr_exp[2];
    if (index >= GROWTH_ATTR_FIRST && index <= GROWTH_ATTR_LAST)
        return p.attr_exp[index - GROWTH_ATTR_FIRST];
    if (index == GROWTH_FAME) return p.fame_exp;
    if (index == GROWTH_COMBAT) return p.combat_exp;
    if (index == GROWTH_ART_VARIETY) return p.art_points;
    shell_fatal("growth_pool: index %d out of range", index);
}

int grow(s32 index) {
    if (u32(index) >= u32(GROWTH_INDICES)) {
        no_op();
        return 0;
    }
    PlayerRecord& p = player_record;
    int gained = 0;
    if (index == GROWTH_ART_VARIETY) {
        // One step per call at most.
        if (p.art_points >= ART_VARIETY_STEP && p.art_variety < LEVEL_CAP) {
            p.art_variety += 1;
            p.art_points -= ART_VARIETY_STEP;
            gained = 1;
        }
    } else {
        gained = step_loop(growth_value(index), growth_pool(index), grow_table(index));
    }
    hp_max_derive();
    if (gained) log_gain(log_text_of(index), index);
    return gained;
}

int grow_quiet(s32 index) {
    if (u32(index) > u32(GROWTH_FAME)) {
        no_op();
        return 0;
    }
    const int gained = step_loop(growth_value(index), growth_pool(index), grow_quiet_table(index));
    hp_max_derive();
    return gained;
}

int grow_lower(s32 quiet, s32 index, s32 amount) {
    if (u32(index) > u32(GROWTH_FAME)) {
        no_op();
        return 0;
    }
    s32& value = growth_value(index);
    // A value of 100 (or fame past 99) pays the threshold of the top tier.
    const s32 levels = amount / grow_lower_table(index)[growth_tier(value)] + 1;
    int lowered = 0;
    if (levels == 0) {
        growth_pool(index) = 0;
    } else {
        const s64 v = s64(value) - levels;
        value = v > INT32_MAX ? INT32_MAX : s32(v < 0 ? 0 : v);
        lowered = 1;
    }
    if (value < 0) value = 0;
    hp_max_derive();
    if (lowered && quiet == 0) log_gain(TEXT_GROWTH + index, index);
    return lowered;
}

int growth_meets(s32 index, s32 n) {
    const PlayerRecord& p = player_record;
    if (index == -1) return 1;
    if (index >= 0 && index <= 24) return p.skill[index] >= n;
    if (index >= GROWTH_ATTR_FIRST && index < GROWTH_ATTR_LAST)
        return p.attr[index - GROWTH_ATTR_FIRST] >= n;
    if (index == GROWTH_ATTR_LAST)
        return s64(p.attr[5]) + (attr30_bonus() ? EQUIP_ATTR30_BONUS : 0) >= n;
    no_op();
    return 0;
}

void hp_max_derive() {
    if (battle_active == 1) return;
    PlayerRecord& p = player_record;
    s64 hp = 100 + hp_term(p.attr[0], 10) + hp_term(p.attr[1], 10) + hp_term(p.attr[4], 10) +
             hp_term(p.attr[2], 5) + hp_term(p.attr[3], 5) + hp_term(p.skill[0], 5);
    if (hp > HP_MAX_CAP) hp = HP_MAX_CAP;
    if (hp < INT32_MIN) hp = INT32_MIN;
    p.hp_max = s32(hp);
}

int known_level_up(s32 list, s32 slot) {
    if (u32(list) >= u32(KNOWN_LISTS) || u32(slot) >= u32(KNOWN_SLOTS)) {
        no_op();
        return 0;
    }
    KnownEntry& e = player_record.known[list][slot];
    if (!step_loop(e.level, e.exp, KNOWN_STEPS)) return 0;
    log_text_text(TEXT_KNOWN_NAMES + 100 * list + e.id, TEXT_KNOWN_LEVEL);
    log_text_number(TEXT_KNOWN_VALUE, e.level);
    return 1;
}
