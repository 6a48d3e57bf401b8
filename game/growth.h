// The growth rule: each of the 34 growable values (numbered by growth_index) is a level 0..100
// with an experience pool that pays a per-tier threshold (tier = level / 10). Callers add
// experience to a pool (through growth_pool) and then call grow or grow_quiet.
#pragma once
#include "engine/types.h"

// The growable values. 0..24 are `skill`[i] (0 is the base value), 25..30 `attr`[i - 25],
// 31 fame, 32 the combat level, 33 the art variety.
enum growth_index : s32 {
    GROWTH_BASE = 0,
    GROWTH_RECIPE = 16,
    GROWTH_APPRAISAL = 17,
    GROWTH_AIMING = 18,
    GROWTH_BAIT = 19,
    GROWTH_APPETITE = 22,
    GROWTH_ATTR_FIRST = 25,
    GROWTH_ATTR_LAST = 30,
    GROWTH_FAME = 31,
    GROWTH_COMBAT = 32,
    GROWTH_ART_VARIETY = 33,
    GROWTH_INDICES = 34,
};

constexpr int GROWTH_TIERS = 10;
// Experience one level costs in each tier.
extern const s32 GROWTH_STEPS_MAIN[GROWTH_TIERS];
extern const s32 GROWTH_STEPS_SKILL[GROWTH_TIERS];
extern const s32 GROWTH_STEPS_QUIET[GROWTH_TIERS];
extern const s32 KNOWN_STEPS[GROWTH_TIERS];
// hp_max weights by value / 20.
constexpr int HP_MAX_WEIGHT_COUNT = 6;
extern const s32 HP_MAX_WEIGHTS[HP_MAX_WEIGHT_COUNT];
// Art points one step of the art variety costs.
constexpr s32 ART_VARIETY_STEP = 20;
// Equipment slot 3 holding this offset (item 1507) shows and tests attribute 30 with 20 more.
constexpr s32 EQUIP_ATTR30_BONUS_OFFSET = 7;
constexpr s32 EQUIP_ATTR30_BONUS = 20;

// Tier of a value, held to 0..9 so that a value of 100 or one pushed outside 0..100 still reads
// a table entry.
int growth_tier(s32 value);

// The stored value and the experience pool of growth value index (0..33). The pools of 27 and 28
// are stored swapped (attr_exp[3] feeds 27, attr_exp[2] feeds 28); always reach a pool here.
// An index outside 0..33 is fatal.
s32& growth_value(s32 index);
s32& growth_pool(s32 index);

// Applies the pool of growth value index (0..33); returns 1 when at least one level (one step
// for 33) was gained. Always re-derives hp_max for a valid index; writes log line 400 + index
// (434 for 32, 435 for 33) with the new value on a gain. Other indices: nothing, 0.
int grow(s32 index);
// The same without log line, for indices 0..31 only.
int grow_quiet(s32 index);
// Lowers growth value index (0..31) by amount / threshold + 1 levels (not below 0); returns 1
// when levels were taken. quiet 0 writes a log line, anything else none.
int grow_lower(s32 quiet, s32 index, s32 amount);
// 1 when growth value index (0..30) is at least n; index -1 (no requirement) yields 1, any other
// index 0.
int growth_meets(s32 index, s32 n);
// Recomputes hp_max from attributes 0..4 and the base value; nothing while battle_active is 1.
void hp_max_derive();
// Applies the experience of entry slot (0..99) of known list list (0..24); returns 1 when it
// gained a level. Out-of-range list or slot: nothing, 0.
int known_level_up(s32 list, s32 slot);
