// Encounters and the martial-arts table: defaults, the game's own rows, the rules our content
// keeps, art numbering and levels, and a rebuild that restores what play changed.
#include "data/battle_tables.h"
#include "tests/ranges.h"

#include "data/roster.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

const std::set<s32> LEARNABLE = expand({{100, 103},
                                        {105, 105},
                                        {107, 110},
                                        {150, 151},
                                        {153, 153},
                                        {200, 202},
                                        {250, 253},
                                        {300, 302},
                                        {350, 352},
                                        {400, 400}});
const std::set<s32> FIGHTERS_ONLY =
    expand({{115, 149}, {160, 168}, {210, 216}, {260, 278}, {310, 329}, {360, 376}, {410, 425}});

class BattleTables : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(encounters, 0x5A, sizeof encounters); // what an earlier run left
        std::memset(arts_table, 0x5A, sizeof arts_table);
        init_battle_tables();
    }
};

std::vector<s32> side(const EncounterRecord& e, s32 from) {
    return std::vector<s32>(e.fighter + from, e.fighter + from + ENCOUNTER_SIDE);
}

TEST_F(BattleTables, EncounterDefaults) {
    for (s32 n = 0; n < ENCOUNTER_COUNT; ++n) {
        SCOPED_TRACE(n);
        const EncounterRecord& e = encounters[n];
        EXPECT_EQ(e.round_limit, (n == 29 || n == 90 || n == 98) ? 3 : -1);
        for (s32 i = 0; i < ENCOUNTER_FIGHTERS; ++i) {
            EXPECT_EQ(e.col[i], -1);
            EXPECT_EQ(e.row[i], -1);
        }
        if (n >= 154) {
            EXPECT_EQ(e.background, 0);
            for (s32 f : e.fighter) EXPECT_EQ(f, -1);
        } else {
            EXPECT_GE(e.background, 25810);
            EXPECT_LE(e.background, 25864);
        }
    }
}

TEST_F(BattleTables, EncounterTellingRows) {
    struct Row {
        s32 n, background, limit;
        std::vector<s32> own, opponents;
    };
    const s32 _ = -1;
    const Row rows[] = {
        {0, 25810, -1, {0, _, _, _, _, _}, {203, _, _, _, _, _}},
        {3, 25816, -1, {0, 71, _, _, _, _}, {250, 251, 252, _, _, _}},
        {21, 25814, -1, {_, 33, 89, 81, 87, _}, {156, 143, 131, 144, _, _}},
        {29, 25814, 3, {_, 3, 9, 77, _, _}, {233, _, _, _, _, _}},
        {74, 25842, -1, {0, 193, 91, 93, _, _}, {60, 61, 62, 63, 64, 65}},
        {146, 25829, -1, {_, _, _, _, _, _}, {155, 157, 158, 159, 1, 71}},
        {40, encounters[40].background, -1, {0, _, _, _, _, _}, {_, _, _, _, _, _}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.n);
        EXPECT_EQ(encounters[r.n].background, r.background);
        EXPECT_EQ(encounters[r.n].round_limit, r.limit);
        EXPECT_EQ(side(encounters[r.n], 0), r.own);
        EXPECT_EQ(side(encounters[r.n], ENCOUNTER_SIDE), r.opponents);
    }
}

TEST_F(BattleTables, EncounterLineUpsKeepTheContentRules) {
    s32 with_protagonist = 0, empty_side = 0, roster_side = 0;
    std::vector<s32> without_fighters;
    for (s32 n = 0; n < 154; ++n) {
        SCOPED_TRACE(n);
        const EncounterRecord& e = encounters[n];
        bool own_any = false, any = false;
        for (s32 i = 0; i < ENCOUNTER_FIGHTERS; ++i) {
            const s32 f = e.fighter[i];
            // -1, the protagonist in entry 0 only, or a present roster character.
            EXPECT_GE(f, -1);
            EXPECT_LT(f, ROSTER_SIZE);
            if (f == 0) {
                EXPECT_EQ(i, 0);
            }
            if (f >= 0 && i < ENCOUNTER_SIDE) own_any = true;
            if (f >= 0) any = true;
        }
        if (e.fighter[0] == 0)
            ++with_protagonist;
        else if (own_any)
            ++roster_side;
        else
            ++empty_side;
        if (!any) without_fighters.push_back(n);
    }
    EXPECT_EQ(with_protagonist, 107);
    EXPECT_EQ(roster_side, 24);
    EXPECT_EQ(empty_side, 23);
    EXPECT_EQ(without_fighters, (std::vector<s32>{99, 126, 149, 153}));
    for (s32 n : {100, 109, 140, 141, 142, 143, 144, 145, 146, 147, 148})
        EXPECT_EQ(side(encounters[n], 0), std::vector<s32>(6, -1)) << n;
}

TEST_F(BattleTables, ArtDefaultsAndNameTexts) {
    const ArtEntry& a = arts_table[3]; // list 0, id 53: defaults only
    EXPECT_EQ(a.name_text, 52553);
    EXPECT_EQ(a.power, 0);
    EXPECT_EQ(a.special, -1);
    for (s32 k = 0; k < ART_TERMS; ++k) {
        EXPECT_EQ(a.bonus[k].growth, -1);
        EXPECT_EQ(a.bonus[k].value, 0);
        EXPECT_EQ(a.require[k].growth, -1);
        EXPECT_EQ(a.require[k].value, -1);
    }
    EXPECT_EQ(arts_table[art_index(1, 50)].name_text, 52650);
    EXPECT_EQ(arts_table[art_index(2, 50)].name_text, 52750);
    EXPECT_EQ(art_index(2, 50), 100);
    EXPECT_EQ(art_index(8, 99), 449);
    // Screens compute the name from list and id; the table holds the same number everywhere.
    for (s32 list = 0; list < ART_LISTS; ++list)
        for (s32 id = 50; id < 100; ++id) {
            const ArtEntry& art = arts_table[art_index(list, id)];
            EXPECT_EQ(art.name_text, 52500 + 100 * list + id) << list << " " << id;
            EXPECT_EQ(art.reserved0, 0);
            EXPECT_EQ(art.reserved1, 0);
            EXPECT_EQ(art.last_level, 0);
        }
}

TEST(ArtLevels, TiersAndCosts) {
    const s32 tiers[][2] = {{0, 0},  {39, 0},  {40, 1}, {79, 1},
                            {80, 2}, {100, 2}, {-5, 0}, {200, 2}};
    for (const auto& t : tiers) EXPECT_EQ(art_tier(t[0]), t[1]) << t[0];
    ArtEntry art{};
    art.mp_cost = 6;
    EXPECT_EQ(art_use_cost(art, 35), 24); // (35 / 10 + 1) x 6
    EXPECT_EQ(art_use_cost(art, 0), 6);
    EXPECT_EQ(art_use_cost(art, 100), 66);
}

TEST_F(BattleTables, ArtTellingRows) {
    struct Row {
        s32 index;
        std::vector<s32> anim;
        s32 style, area, reach, power, mp_cost, difficulty;
        std::vector<s32> bonus; // growth, weight pairs; the rest unused
    };
    const Row rows[] = {
        {100, {106, 291, 107, 292, 108, 293}, 0, 1, 4, 18, 6, 3, {2, 6, 27, 4}},
        {141, {563, 561, 563, 561, 563, 561}, 0, 0, 4, 120, 15, 0, {}},
        {400, {127, 724, 128, 725, 129, 726}, 5, 4, 5, 15, 3, 10, {8, 4, 25, 3, 11, 2}},
        {214, {476, 178, 476, 178, 476, 178}, 3, 0, 3, 45, 6, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        const ArtEntry& a = arts_table[r.index];
        EXPECT_EQ(std::vector<s32>(a.anim, a.anim + 6), r.anim);
        EXPECT_EQ(a.style, r.style);
        EXPECT_EQ(a.area, r.area);
        EXPECT_EQ(a.reach, r.reach);
        EXPECT_EQ(a.power, r.power);
        EXPECT_EQ(a.mp_cost, r.mp_cost);
        EXPECT_EQ(a.difficulty, r.difficulty);
        for (s32 k = 0; k < ART_TERMS; ++k) {
            const bool used = 2 * k < static_cast<s32>(r.bonus.size());
            EXPECT_EQ(a.bonus[k].growth, used ? r.bonus[2 * k] : -1);
            EXPECT_EQ(a.bonus[k].value, used ? r.bonus[2 * k + 1] : 0);
        }
    }
    // The inner-power methods of list 0.
    const s32 gains[] = {10, 30, 40};
    for (s32 i = 0; i < 3; ++i) EXPECT_EQ(arts_table[i].mp_gain, gains[i]);
    EXPECT_EQ(arts_table[0].require[0].growth, -1);
    EXPECT_EQ(arts_table[1].require[0].growth, 30);
    EXPECT_EQ(arts_table[1].require[0].value, 70);
    EXPECT_EQ(arts_table[2].require[0].growth, 30);
    EXPECT_EQ(arts_table[2].require[0].value, 80);
    // The field-effect arts of list 1.
    const s32 difficulty[] = {10, 6, 10, 15, 6, 20};
    const s32 special[] = {1, 3, 0, 2, 5, 4};
    for (s32 i = 0; i < 6; ++i) {
        SCOPED_TRACE(50 + i);
        const ArtEntry& a = arts_table[50 + i];
        EXPECT_EQ(std::vector<s32>(a.anim, a.anim + 6),
                  (std::vector<s32>{538, 536, 538, 536, 538, 536}));
        EXPECT_EQ(a.area, 3);
        EXPECT_EQ(a.reach, 3);
        EXPECT_EQ(a.mp_cost, 20);
        EXPECT_EQ(a.difficulty, difficulty[i]);
        EXPECT_EQ(a.special, special[i]);
        EXPECT_EQ(a.power, i == 5 ? 40 : 0);
    }
    EXPECT_EQ(arts_table[55].bonus[0].growth, 0);
    EXPECT_EQ(arts_table[55].bonus[0].value, 3);
    EXPECT_EQ(arts_table[55].bonus[1].growth, 10);
    EXPECT_EQ(arts_table[55].bonus[1].value, 3);
}

TEST_F(BattleTables, ArtsKeepTheContentRules) {
    const std::set<s32> area1 = {100, 102, 107, 110, 150, 151, 252, 351, 352};
    std::set<s32> literal;
    for (const ArtLiteral& l : art_literals) literal.insert(l.index);
    std::set<s32> expected = {0, 1, 2, 50, 51, 52, 53, 54, 55};
    expected.insert(LEARNABLE.begin(), LEARNABLE.end());
    expected.insert(FIGHTERS_ONLY.begin(), FIGHTERS_ONLY.end());
    EXPECT_EQ(literal, expected);
    EXPECT_EQ(literal.size(), 158u);

    std::set<s32> poisoning;
    for (s32 i = 100; i < ARTS_COUNT; ++i) {
        SCOPED_TRACE(i);
        const ArtEntry& a = arts_table[i];
        if (!literal.count(i)) {
            EXPECT_EQ(a.power, 0);
            EXPECT_EQ(a.reach, 0);
            continue;
        }
        EXPECT_GE(a.power, 0);
        EXPECT_LE(a.power, 120);
        EXPECT_GE(a.reach, 2);
        EXPECT_LE(a.reach, 5);
        EXPECT_GE(a.mp_cost, 1);
        EXPECT_LE(a.mp_cost, 30);
        EXPECT_GE(a.style, 0);
        EXPECT_LE(a.style, 7);
        EXPECT_EQ(a.area, i == 400 ? 4 : area1.count(i) ? 1 : 0);
        EXPECT_EQ(a.special, -1);
        if (a.poison_chance != 0) {
            poisoning.insert(i);
            EXPECT_GE(a.poison_chance, 3);
            EXPECT_LE(a.poison_chance, 10);
        }
        const std::vector<s32> tier0(a.anim, a.anim + 2), tier1(a.anim + 2, a.anim + 4),
            tier2(a.anim + 4, a.anim + 6);
        if (LEARNABLE.count(i)) {
            EXPECT_GE(a.difficulty, 3);
            EXPECT_LE(a.difficulty, 22);
            EXPECT_EQ(a.bonus[0].growth, i / 50); // the list's own growth index leads
            EXPECT_GT(a.bonus[0].value, 0);
            EXPECT_NE(tier0, tier1);
            EXPECT_NE(tier1, tier2);
            EXPECT_NE(tier0, tier2);
        } else {
            EXPECT_EQ(a.difficulty, 0);
            for (const ArtTerm& t : a.bonus) EXPECT_EQ(t.growth, -1);
            EXPECT_EQ(tier0, tier1);
            EXPECT_EQ(tier1, tier2);
        }
    }
    EXPECT_EQ(poisoning.size(), 16u);
    for (s32 i : {137, 139, 153, 372}) EXPECT_EQ(arts_table[i].poison_chance, 10) << i;
}

TEST_F(BattleTables, RosterFightersUseArtsWithValues) {
    for (const RosterLiteral& r : roster_literals) {
        EXPECT_TRUE(FIGHTERS_ONLY.count(r.art)) << r.character;
        EXPECT_GT(arts_table[r.art].power, 0) << r.character;
    }
    EXPECT_GT(arts_table[ROSTER_DEFAULT_ART].power, 0);
}

TEST_F(BattleTables, RebuildRestoresWhatPlayChanged) {
    std::vector<unsigned char> enc_before(sizeof encounters), arts_before(sizeof arts_table);
    std::memcpy(enc_before.data(), encounters, sizeof encounters);
    std::memcpy(arts_before.data(), arts_table, sizeof arts_table);

    // A battle's random placement and remaining rounds, scripts' line-ups and training.
    encounters[98].round_limit = 6;
    encounters[29].round_limit = 1;
    encounters[3].col[1] = 4;
    encounters[3].row[1] = 9;
    encounters[62].fighter[2] = 81;
    encounters[149].background = 25863;
    encounters[155].background = 25810;
    encounters[155].fighter[6] = 204;
    for (s32 i : {263, 265, 317, 319, 260}) arts_table[i].power += 10;
    arts_table[50].last_level = 40;
    arts_table[3].power = 5; // an art without literal values

    init_battle_tables();
    EXPECT_EQ(std::memcmp(encounters, enc_before.data(), sizeof encounters), 0);
    EXPECT_EQ(std::memcmp(arts_table, arts_before.data(), sizeof arts_table), 0);
    EXPECT_EQ(encounters[98].round_limit, 3);
    EXPECT_EQ(arts_table[3].power, 0);
}

} // namespace
