// What a battle is made of: the 160 encounter set-ups (`encounters`, named by their number in
// every call of `battle_run`) and the 500 martial arts (`arts_table`).
//
// `init_battle_tables` builds both at every program start, for new and loaded games alike; they
// are never saved. The battle writes random start cells into encounter records (it counts the
// round limit down on a copy of its own, so a record keeps the limit its caller wrote) and
// `last_level` into field-effect arts, scripts write line-ups, round limits and raise the power
// of single arts; all of that lasts until the program ends.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 ENCOUNTER_COUNT = 160;
constexpr s32 ENCOUNTER_FIGHTERS = 12; // entries 0..5 the player's side, 6..11 the opponents
constexpr s32 ENCOUNTER_SIDE = 6;
constexpr s32 ENCOUNTER_NO_LIMIT = -1;    // round_limit: no limit
constexpr s32 ENCOUNTER_NO_FIGHTER = -1;  // fighter: empty
constexpr s32 ENCOUNTER_RANDOM_CELL = -1; // col / row: chosen when the battle is set up
constexpr s32 ENCOUNTER_PROTAGONIST = 0;  // fighter 0 in entry 0: the player record's fighter

// 38 s32 in this order.
struct EncounterRecord {
    s32 background;                  // image id of the battle background, 0 = none
    s32 round_limit;                 // rounds before the battle ends with result 2; -1 = no limit
    s32 fighter[ENCOUNTER_FIGHTERS]; // roster character numbers, -1 = none
    s32 col[ENCOUNTER_FIGHTERS];     // start column 0..11, -1 = random
    s32 row[ENCOUNTER_FIGHTERS];     // start row 0..11 (0..5 opponents' half), -1 = random
};
static_assert(sizeof(EncounterRecord) == 38 * 4);
static_assert(offsetof(EncounterRecord, background) == 0);
static_assert(offsetof(EncounterRecord, round_limit) == 4);
static_assert(offsetof(EncounterRecord, fighter) == 8);
static_assert(offsetof(EncounterRecord, col) == 56);
static_assert(offsetof(EncounterRecord, row) == 104);

constexpr s32 ARTS_COUNT = 500;
constexpr s32 ART_LISTS = 10;    // an art is named by a list 0..9 ...
constexpr s32 ART_FIRST_ID = 50; // ... and an id 50..99 within the list
constexpr s32 ART_LIST_SIZE = 50;
constexpr s32 ART_TERMS = 4;       // bonus and requirement terms
constexpr s32 ART_NO_TERM = -1;    // growth index of an unused term
constexpr s32 ART_NO_SPECIAL = -1; // special of an ordinary art
constexpr s32 ART_AREA_FIELD = 3;  // area of the field-effect arts
constexpr s32 ART_TIERS = 3;       // animation tiers: levels 0-39, 40-79, 80-100
constexpr s32 ART_NAME_TEXT_BASE = 52500;

struct ArtTerm {
    s32 growth; // growth index, -1 = no term
    s32 value;  // bonus: weight; requirement: minimum value
};

// 35 s32 in this order.
struct ArtEntry {
    s32 anim[2 * ART_TIERS];  // per tier: the slot shown facing 1 or 3, then the one for 2 or 4
    s32 style;                // 0..7; read by nothing
    s32 area;                 // 0 one cell, 1 line, 2 row and column, 3 field effect, 4 all, 5 as 0
    s32 reach;                // largest distance in cells
    s32 power;                // base strength, scaled by the user's level of the art
    s32 reserved0;            // 0
    s32 name_text;            // text id of the name: 52500 + 100 x list + id
    s32 mp_cost;              // inner power per use: (level / 10 + 1) x mp_cost
    s32 mp_gain;              // inner-power methods: maximum inner power gained by one practice
    s32 difficulty;           // lowers the experience of practice and use
    ArtTerm bonus[ART_TERMS]; // {growth index, weight}
    ArtTerm require[ART_TERMS]; // {growth index, minimum}
    s32 poison_chance;          // 0 none; else a hit poisons with chance n in 20
    s32 reserved1;              // 0
    s32 special;                // -1 ordinary; 0..5 the field effect of an area-3 art
    s32 last_level;             // written by the battle when a field-effect art is used
};
static_assert(sizeof(ArtTerm) == 8);
static_assert(sizeof(ArtEntry) == 35 * 4);
static_assert(offsetof(ArtEntry, anim) == 0);
static_assert(offsetof(ArtEntry, style) == 24);
static_assert(offsetof(ArtEntry, area) == 28);
static_assert(offsetof(ArtEntry, reach) == 32);
static_assert(offsetof(ArtEntry, power) == 36);
static_assert(offsetof(ArtEntry, reserved0) == 40);
static_assert(offsetof(ArtEntry, name_text) == 44);
static_assert(offsetof(ArtEntry, mp_cost) == 48);
static_assert(offsetof(ArtEntry, mp_gain) == 52);
static_assert(offsetof(ArtEntry, difficulty) == 56);
static_assert(offsetof(ArtEntry, bonus) == 60);
static_assert(offsetof(ArtEntry, require) == 92);
static_assert(offsetof(ArtEntry, poison_chance) == 124);
static_assert(offsetof(ArtEntry, reserved1) == 128);
static_assert(offsetof(ArtEntry, special) == 132);
static_assert(offsetof(ArtEntry, last_level) == 136);

extern EncounterRecord encounters[ENCOUNTER_COUNT];
extern ArtEntry arts_table[ARTS_COUNT];

// Builds both tables from scratch: encounter defaults and literal line-ups, art defaults, name
// texts and literal values. Uses no random numbers.
void init_battle_tables();

// ---- Art numbering and levels ----------------------------------------------------------------

// Index of art `id` (50..99) of list `list` (0..9): 50 x list + id - 50.
constexpr s32 art_index(s32 list, s32 id) {
    return ART_LIST_SIZE * list + id - ART_FIRST_ID;
}

// Text id of the name of art `index`: 52500 + 100 x list + id.
constexpr s32 art_name_text(s32 index) {
    return ART_NAME_TEXT_BASE + 100 * (index / ART_LIST_SIZE) + index % ART_LIST_SIZE +
           ART_FIRST_ID;
}

// Animation tier of an art level: 0 for 0-39, 1 for 40-79, 2 for 80-100 (clamped to 0..2).
constexpr s32 art_tier(s32 level) {
    const s32 tier = level / 40;
    return tier < 0 ? 0 : tier >= ART_TIERS ? ART_TIERS - 1 : tier;
}

// Inner power that one use of `art` costs at `level`: (level / 10 + 1) x mp_cost.
constexpr s32 art_use_cost(const ArtEntry& art, s32 level) {
    return (level / 10 + 1) * art.mp_cost;
}

// ---- Content ------------------------------------------------------------------------------

// One side of an encounter: six roster character numbers, -1 where empty.
struct EncounterSide {
    s32 fighter[ENCOUNTER_SIDE];
};

// The literal values of one encounter record.
struct EncounterLiteral {
    s32 encounter;
    s32 background;
    s32 round_limit;
    EncounterSide own;       // fighters 0..5
    EncounterSide opponents; // fighters 6..11
};

// A bonus or requirement term of a literal art; terms left out are unused ({-1, 0} for a bonus,
// {-1, -1} for a requirement).
struct ArtBonusLiteral {
    s32 growth = ART_NO_TERM;
    s32 weight = 0;
};
struct ArtRequireLiteral {
    s32 growth = ART_NO_TERM;
    s32 minimum = -1;
};

// The literal values of one art; name text, reserved words and last level are not literal.
struct ArtLiteral {
    s32 index;
    s32 anim[2 * ART_TIERS];
    s32 style;
    s32 area;
    s32 reach;
    s32 power;
    s32 mp_cost;
    s32 mp_gain;
    s32 difficulty;
    ArtBonusLiteral bonus[ART_TERMS];
    ArtRequireLiteral require[ART_TERMS];
    s32 poison_chance;
    s32 special;
};

constexpr s32 ENCOUNTER_LITERAL_COUNT = 154; // records 0..153; 154..159 stay empty
constexpr s32 ART_LITERAL_COUNT = 158;
// In ascending order (data/encounter_content.cpp, data/arts_content.cpp).
extern const EncounterLiteral encounter_literals[ENCOUNTER_LITERAL_COUNT];
extern const ArtLiteral art_literals[ART_LITERAL_COUNT];
