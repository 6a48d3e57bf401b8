// Encounters and the martial-arts table (see battle_tables.h). The literal records are in
// data/encounter_content.cpp and data/arts_content.cpp.
#include "data/battle_tables.h"

EncounterRecord encounters[ENCOUNTER_COUNT];
ArtEntry arts_table[ARTS_COUNT];

namespace {

void init_encounters() {
    // Every record starts cleared, so the background is 0 unless a literal record sets it, and a
    // second build in the same run restores what battles and scripts changed, as a program start
    // does.
    for (EncounterRecord& e : encounters) {
        e = {};
        e.round_limit = ENCOUNTER_NO_LIMIT;
        for (s32 i = 0; i < ENCOUNTER_FIGHTERS; ++i) {
            e.fighter[i] = ENCOUNTER_NO_FIGHTER;
            e.col[i] = ENCOUNTER_RANDOM_CELL;
            e.row[i] = ENCOUNTER_RANDOM_CELL;
        }
    }
    for (const EncounterLiteral& lit : encounter_literals) {
        EncounterRecord& e = encounters[lit.encounter];
        e.background = lit.background;
        e.round_limit = lit.round_limit;
        for (s32 i = 0; i < ENCOUNTER_SIDE; ++i) {
            e.fighter[i] = lit.own.fighter[i];
            e.fighter[ENCOUNTER_SIDE + i] = lit.opponents.fighter[i];
        }
    }
}

void init_arts() {
    // Every entry starts cleared: animation, style, area, reach, power, costs, gain and
    // difficulty are 0 unless a literal record sets them, also when the tables are rebuilt after
    // play has changed them.
    for (s32 i = 0; i < ARTS_COUNT; ++i) {
        ArtEntry& a = arts_table[i];
        a = {};
        for (ArtTerm& t : a.bonus) t = {ART_NO_TERM, 0};
        for (ArtTerm& t : a.require) t = {ART_NO_TERM, -1};
        a.poison_chance = 0;
        a.reserved0 = 0;
        a.reserved1 = 0;
        a.special = ART_NO_SPECIAL;
        a.last_level = 0;
        a.name_text = art_name_text(i);
    }
    for (const ArtLiteral& lit : art_literals) {
        ArtEntry& a = arts_table[lit.index];
        for (s32 k = 0; k < 2 * ART_TIERS; ++k) a.anim[k] = lit.anim[k];
        a.style = lit.style;
        a.area = lit.area;
        a.reach = lit.reach;
        a.power = lit.power;
        a.mp_cost = lit.mp_cost;
        a.mp_gain = lit.mp_gain;
        a.difficulty = lit.difficulty;
        for (s32 k = 0; k < ART_TERMS; ++k) {
            a.bonus[k] = {lit.bonus[k].growth, lit.bonus[k].weight};
            a.require[k] = {lit.require[k].growth, lit.require[k].minimum};
        }
        a.poison_chance = lit.poison_chance;
        a.special = lit.special;
    }
}

} // namespace

void init_battle_tables() {
    init_encounters();
    init_arts();
}
