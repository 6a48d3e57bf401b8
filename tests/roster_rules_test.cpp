// Roster rules: growth with fixed draws and the rank bands, the per-turn growth by year, the
// roster adjusters, healing selections, the reward of a won battle, group training of the known
// arts and the score of an art.
#include "game/roster_rules.h"

#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/roster.h"
#include "engine/math.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr u32 SEED = 12345;

void seed_draws(u32 seed) {
    rt_srand(seed);
    rand_counter = RAND_COUNTER_START;
}

// The draws that `rand_below` gives for these bounds from `seed`; the generator is seeded again
// afterwards so that the code under test sees the same draws.
std::vector<s32> draws_for(u32 seed, const std::vector<s32>& bounds) {
    seed_draws(seed);
    std::vector<s32> out;
    for (s32 n : bounds) out.push_back(rand_below(n));
    seed_draws(seed);
    return out;
}

RosterEntry plain_entry() {
    RosterEntry e{};
    e.rank = 4;
    e.hp = 150;
    e.hp_max = 200;
    e.mp_max = 100;
    e.mp = 60;
    e.attack = 40;
    e.defence = 50;
    e.art_level = 30;
    e.poison = 20;
    return e;
}

// Every character the same plain entry; a cleared player with empty lists.
void reset_state() {
    for (RosterEntry& e : roster) e = plain_entry();
    std::memset(&player_record, 0, sizeof player_record);
    for (auto& list : player_record.known)
        for (KnownEntry& k : list) k = {-1, 0, 0};
    for (s32& id : player_record.party) id = -1;
    for (s32& slot : player_record.equip) slot = -1;
    player_record.hp_max = 300;
    player_record.mp_max = 100;
    world_state.year = 1;
    battle_active = 0;
}

class RosterRulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        world_put_basics(b);
        world_start(b);
        world_place_player(1, 500, 400);
        reset_state();
        init_battle_tables();
        dialog_transcript_mode();
        seed_draws(SEED);
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    HarnessTempDir dir;
};

// ---- Growth -------------------------------------------------------------------------------------

TEST(RosterRank, BandsOfTheMeanOfAttackAndDefence) {
    struct Case {
        s32 attack, defence, rank;
    };
    const Case cases[] = {
        {0, 9, 0},    {50, 59, 5},  {80, 81, 8},  {81, 82, 9},  {84, 85, 9},    {85, 86, 10},
        {87, 88, 10}, {88, 89, 11}, {89, 90, 11}, {90, 91, 12}, {92, 93, 12},   {93, 94, 13},
        {95, 96, 13}, {96, 97, 14}, {98, 99, 14}, {99, 99, 15}, {100, 100, 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roster_rank_for(c.attack, c.defence), c.rank) << c.attack << "+" << c.defence;
}

// Four draws in the order attack, defence, mp max, art level, each scaled by the amount; the hp
// maximum grows by 5 x amount and the rank follows the new attack and defence.
TEST_F(RosterRulesTest, GrowTakesFourDrawsInOrder) {
    for (s32 amount : {1, 3, 10}) {
        for (u32 seed = 1; seed <= 20; ++seed) {
            roster[7] = plain_entry();
            const s32 h = amount / 2;
            const std::vector<s32> d =
                draws_for(seed, {amount + 1, amount + 1, 5 * amount, amount + 1, 1000});
            roster_grow(7, amount);
            const RosterEntry& e = roster[7];
            EXPECT_EQ(e.attack, 40 + d[0] + h + 1);
            EXPECT_EQ(e.defence, 50 + d[1] + h + 1);
            EXPECT_EQ(e.mp_max, 100 + d[2] + 2 * amount + 1);
            EXPECT_EQ(e.art_level, 30 + d[3] + h + 1);
            EXPECT_EQ(e.hp_max, 200 + 5 * amount);
            EXPECT_EQ(e.hp, 150);
            EXPECT_EQ(e.rank, roster_rank_for(e.attack, e.defence));
            EXPECT_EQ(rand_below(1000), d[4]); // nothing else was drawn
        }
    }
    // Amount 1: attack, defence and art level +1 or +2, mp max +3..7.
    roster[8] = plain_entry();
    roster_grow(8, 1);
    EXPECT_GE(roster[8].attack, 41);
    EXPECT_LE(roster[8].attack, 42);
    EXPECT_GE(roster[8].mp_max, 103);
    EXPECT_LE(roster[8].mp_max, 107);
}

TEST_F(RosterRulesTest, GrowHoldsTheCapsAndTheHpMaxFloor) {
    RosterEntry& e = roster[9];
    e.attack = 100;
    e.defence = 99;
    e.art_level = 100;
    e.mp_max = 999;
    roster_grow(9, 1);
    EXPECT_EQ(e.attack, 100);
    EXPECT_EQ(e.defence, 100);
    EXPECT_EQ(e.art_level, 100);
    EXPECT_EQ(e.mp_max, 1000);
    EXPECT_EQ(e.rank, 15);

    e.hp_max = -20;
    roster_grow(9, 2);
    EXPECT_EQ(e.hp_max, 1);
}

TEST_F(RosterRulesTest, PeopleOutsideTheRosterAreIgnoredWithoutDrawing) {
    const std::vector<RosterEntry> before(roster, roster + ROSTER_SIZE);
    const s32 next = draws_for(SEED, {1000})[0];
    for (s32 person : {-1, 300, 100000}) {
        roster_grow(person, 5);
        roster_hp_add(person, 10);
        roster_hp_max_add(person, 10);
        roster_mp_add(person, 1000);
        roster_poison_add(person, 3);
        heal_full(-1, person);
        heal_part(-1, person);
    }
    EXPECT_EQ(std::memcmp(before.data(), roster, sizeof roster), 0);
    EXPECT_EQ(rand_below(1000), next);
}

// Restores everybody, then: the year-bound characters draw 3..6 in 10 in years 2..5 and not at
// all otherwise; everybody else 1 in 5; 203 and 204 once more 1 in 4.
TEST_F(RosterRulesTest, TurnGrowthFollowsTheYearAndDrawsInRosterOrder) {
    const std::vector<s32> grow_bounds = {2, 2, 5, 2};
    for (s32 year : {1, 2, 3, 5, 6}) {
        reset_state();
        world_state.year = u8(year);
        player_record.hp = 3;
        player_record.mp = 4;
        player_record.poison = 50;

        // The expected growers from the same draws, consuming the growth draws as they come.
        seed_draws(SEED + u32(year));
        std::vector<s32> grows(ROSTER_SIZE, 0);
        auto grow_draws = [&] {
            for (s32 n : grow_bounds) rand_below(n);
        };
        for (s32 i = 0; i < ROSTER_SIZE; ++i) {
            bool bound = false;
            for (s32 id : roster_year_bound) bound = bound || id == i;
            bool hit;
            if (bound)
                hit = year >= 2 && year <= 5 && rand_below(10) < year + 1;
            else
                hit = rand_below(5) == 1;
            if (hit) {
                ++grows[i];
                grow_draws();
            }
        }
        for (s32 i : {203, 204}) {
            if (rand_below(4) == 0) {
                ++grows[i];
                grow_draws();
            }
        }
        const s32 next = rand_below(1000);

        seed_draws(SEED + u32(year));
        roster_turn_growth();
        s32 grown_bound = 0;
        for (s32 i = 0; i < ROSTER_SIZE; ++i) {
            const RosterEntry& e = roster[i];
            EXPECT_EQ(e.hp_max, 200 + 5 * grows[i]) << "year " << year << " person " << i;
            // Restored before the growth draw, so a grown character stays below its new maxima.
            EXPECT_EQ(e.hp, 200);
            EXPECT_EQ(e.mp, 100);
            EXPECT_EQ(e.poison, 0);
            for (s32 id : roster_year_bound)
                if (id == i && id != 203 && id != 204) grown_bound += grows[i];
        }
        EXPECT_EQ(rand_below(1000), next) << "year " << year;
        EXPECT_EQ(player_record.hp, 300);
        EXPECT_EQ(player_record.mp, 100);
        EXPECT_EQ(player_record.poison, 0);
        if (year == 1 || year == 6) {
            EXPECT_EQ(grown_bound, 0) << "year " << year;
        }
    }
}

// ---- Adjusters ----------------------------------------------------------------------------------

TEST_F(RosterRulesTest, AdjustersClamp) {
    RosterEntry& e = roster[5];
    roster_hp_add(5, 100);
    EXPECT_EQ(e.hp, 200);
    roster_hp_add(5, -500);
    EXPECT_EQ(e.hp, 0);
    roster_hp_max_add(5, -50);
    EXPECT_EQ(e.hp_max, 150);
    EXPECT_EQ(e.hp, 0);
    roster_hp_max_add(5, -150);
    EXPECT_EQ(e.hp_max, 1);

    roster_mp_add(5, -500);
    EXPECT_EQ(e.mp, 0); // the roster's floor is 0, not 1 as for the player
    roster_mp_add(5, 30);
    EXPECT_EQ(e.mp, 30);

    roster_poison_add(5, 3);
    EXPECT_EQ(e.poison, 35);
    roster_poison_add(5, 30);
    EXPECT_EQ(e.poison, 100);
    roster_poison_add(5, -21);
    EXPECT_EQ(e.poison, 0);
}

// An overflow widens mp max by one on a draw of 7..9, up to 1000, and fills mp to the maximum.
TEST_F(RosterRulesTest, MpOverflowSometimesRaisesTheMaximum) {
    s32 widened = 0, kept = 0;
    for (u32 seed = 1; seed <= 40; ++seed) {
        for (s32 start_max : {100, 1000}) {
            RosterEntry& e = roster[6];
            e = plain_entry();
            e.mp_max = start_max;
            const s32 d = draws_for(seed, {10})[0];
            roster_mp_add(6, start_max);
            const s32 expected = d >= 7 && start_max < 1000 ? start_max + 1 : start_max;
            EXPECT_EQ(e.mp_max, expected);
            EXPECT_EQ(e.mp, expected);
            if (start_max == 100) (d >= 7 ? widened : kept)++;
        }
    }
    EXPECT_GT(widened, 0);
    EXPECT_GT(kept, 0);
    // No overflow, no draw.
    const s32 next = draws_for(SEED, {1000})[0];
    roster[6] = plain_entry();
    roster_mp_add(6, 10);
    EXPECT_EQ(rand_below(1000), next);
}

// ---- Healing ------------------------------------------------------------------------------------

TEST_F(RosterRulesTest, HealSelectsThePlayerAndCharacters) {
    struct Case {
        std::vector<s32> args; // who, then ids
        bool player;
        std::vector<s32> healed;
    };
    const Case cases[] = {
        {{0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, true, {}},
        {{-1, 5, 0}, false, {5}},
        {{0, 89, 250, 251}, true, {89, 250, 251}},
        {{12, 0, 0, 7, -3, 8, 9, 10, 11, 13, 14, 15}, false, {12, 7, 8, 9, 10, 11, 13, 14, 15}},
    };
    for (bool full : {true, false}) {
        for (const Case& c : cases) {
            reset_state();
            player_record.hp = 10;
            player_record.mp = 10;
            player_record.poison = 40;
            std::vector<s32> a = c.args;
            a.resize(12, -1);
            if (full)
                heal_full(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11]);
            else
                heal_part(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11]);
            const std::string what = (full ? "full " : "part ") + std::to_string(c.args[0]);
            // Full: to the maxima and poison 0; part: +200 each (hp held at its maximum, the
            // player's mp overflowing to its maximum), poison untouched.
            EXPECT_EQ(player_record.hp, c.player ? (full ? 300 : 210) : 10) << what;
            EXPECT_GE(player_record.mp, c.player ? 100 : 10) << what;
            EXPECT_LE(player_record.mp, c.player ? 101 : 10) << what;
            EXPECT_EQ(player_record.poison, c.player && full ? 0 : 40) << what;
            for (s32 i = 0; i < ROSTER_SIZE; ++i) {
                bool healed = false;
                for (s32 id : c.healed) healed = healed || id == i;
                const RosterEntry& e = roster[i];
                EXPECT_EQ(e.hp, healed ? 200 : 150) << what << " person " << i;
                if (healed) {
                    EXPECT_GE(e.mp, 100) << what << " person " << i;
                } else {
                    EXPECT_EQ(e.mp, 60) << what << " person " << i;
                }
                EXPECT_EQ(e.poison, healed && full ? 0 : 20) << what << " person " << i;
            }
        }
    }
}

// ---- Battle reward ------------------------------------------------------------------------------

void set_fighters(s32 encounter, const std::vector<s32>& ids) {
    for (s32 k = 0; k < ENCOUNTER_FIGHTERS; ++k)
        encounters[encounter].fighter[k] = k < s32(ids.size()) ? ids[k] : -1;
}

// With the player in the fight: experience by the opponents' ranks (ids above 0 in slots 6..11),
// log line 438; every id above 0 of slots 1..11 grows once.
TEST_F(RosterRulesTest, BattleRewardPaysByOpponentRanksAndGrowsEveryFighter) {
    // Attributes at 100 keep their pools, so the amounts stay visible.
    for (s32 i = 0; i < 5; ++i) player_record.attr[i] = 100;
    roster[20].rank = 3;
    roster[21].rank = 5;
    roster[22].rank = 7; // a companion: not counted
    set_fighters(30, {0, 22, -1, -1, -1, -1, 20, -1, 21, 0, 300, -1});
    battle_reward(30);
    const s32 ranks = 8;
    EXPECT_EQ(player_record.attr_exp[0], 10 * ranks);
    EXPECT_EQ(player_record.attr_exp[1], 10 * ranks);
    EXPECT_EQ(player_record.attr_exp[2], 10 * ranks);
    EXPECT_EQ(player_record.attr_exp[3], 10 * ranks);
    EXPECT_EQ(player_record.attr_exp[4], 5 * ranks);
    EXPECT_EQ(player_record.attr_exp[5], 0);
    EXPECT_EQ(player_record.combat_exp, 20 * ranks);
    EXPECT_EQ(player_record.combat_level, 0);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"log 438"});
    for (s32 id : {20, 21, 22}) EXPECT_EQ(roster[id].hp_max, 205) << id;
    EXPECT_EQ(roster[0].hp_max, 200);
}

TEST_F(RosterRulesTest, BattleRewardWithoutThePlayerOnlyGrowsTheFighters) {
    roster[40].rank = 9;
    set_fighters(31, {-1, 41, -1, -1, -1, -1, 40});
    battle_reward(31);
    EXPECT_EQ(player_record.attr_exp[0], 0);
    EXPECT_EQ(player_record.combat_exp, 0);
    EXPECT_TRUE(dialog_lines().empty());
    EXPECT_EQ(roster[40].hp_max, 205);
    EXPECT_EQ(roster[41].hp_max, 205);

    // An encounter outside the table changes nothing.
    battle_reward(-1);
    battle_reward(ENCOUNTER_COUNT);
    EXPECT_EQ(roster[40].hp_max, 205);
}

// The pools feed the attributes through the quiet growth: a gained level shows in the value, not
// in the log.
TEST_F(RosterRulesTest, BattleRewardGrowsTheAttributesQuietly) {
    roster[20].rank = 2; // 20 to each of 25..28: one level on the main table (15)
    set_fighters(32, {0, -1, -1, -1, -1, -1, 20});
    battle_reward(32);
    for (s32 i = 0; i < 4; ++i) {
        EXPECT_EQ(player_record.attr[i], 1) << i;
        EXPECT_EQ(player_record.attr_exp[i], 5) << i;
    }
    EXPECT_EQ(player_record.attr[4], 0);
    EXPECT_EQ(player_record.attr_exp[4], 10);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"log 438"});
}

// ---- Training -----------------------------------------------------------------------------------

// Each known art (id 50+) of lists 1..8 gains the amount and levels; the list's skill gains the
// amount once per art with a growth call each time.
TEST_F(RosterRulesTest, TrainAllLevelsEveryKnownArtOfTheFightingLists) {
    player_record.known[1][0] = {50, 0, 0};
    player_record.known[1][1] = {10, 0, 0}; // not an art
    player_record.known[1][3] = {60, 0, 5};
    player_record.known[8][99] = {99, 0, 0};
    player_record.known[0][0] = {50, 0, 0}; // base arts: not trained
    player_record.known[9][0] = {70, 0, 0}; // outside 1..8
    known_train_all(10);

    EXPECT_EQ((std::vector<s32>{player_record.known[1][0].level, player_record.known[1][0].exp}),
              (std::vector<s32>{1, 0}));
    EXPECT_EQ(player_record.known[1][1].exp, 0);
    EXPECT_EQ((std::vector<s32>{player_record.known[1][3].level, player_record.known[1][3].exp}),
              (std::vector<s32>{1, 5}));
    EXPECT_EQ(player_record.known[8][99].level, 1);
    EXPECT_EQ(player_record.known[0][0].exp, 0);
    EXPECT_EQ(player_record.known[9][0].exp, 0);
    // Skill 1: 20 experience in two calls; the second pays the first level (15).
    EXPECT_EQ(player_record.skill[1], 1);
    EXPECT_EQ(player_record.skill_exp[1], 5);
    EXPECT_EQ(player_record.skill_exp[8], 10);
    EXPECT_EQ(player_record.skill[8], 0);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{
                                  "log_text 52650 440",
                                  "log_number 441 1",
                                  "log_text 52660 440",
                                  "log_number 441 1",
                                  "log_number 401 1",
                                  "log_text 53399 440",
                                  "log_number 441 1",
                              }));
}

// ---- Art score ----------------------------------------------------------------------------------

TEST_F(RosterRulesTest, ArtScoreScalesThePowerByTheLevel) {
    arts_table[3].power = 10;
    struct Case {
        s32 level, score;
    };
    const Case cases[] = {{0, 200},   {19, 200},  {20, 400},   {39, 400},  {40, 600},
                          {59, 600},  {60, 800},  {79, 800},   {80, 900},  {89, 900},
                          {90, 1000}, {99, 1000}, {100, 1200}, {150, 1200}};
    for (const Case& c : cases) EXPECT_EQ(art_score(3, c.level), c.score) << c.level;
    EXPECT_EQ(art_score(-1, 100), 0);
    EXPECT_EQ(art_score(ARTS_COUNT, 100), 0);
}

TEST_F(RosterRulesTest, ArtScoreAddsEveryTerm) {
    arts_table[3].power = 0;
    init_equip_tables();
    PlayerRecord& p = player_record;
    const s32 weapon = 5;
    p.equip[0] = weapon;
    equip_table[weapon].power = 7;
    const s32 weapon_term = 700;
    // Base arts: levels 30 + 24 (id 50+) = 54 -> 2 steps of 25; id 10 does not count.
    p.known[0][0] = {50, 30, 0};
    p.known[0][4] = {51, 24, 0};
    p.known[0][5] = {10, 99, 0};
    p.known[9][0] = {2, 0, 0};
    p.known[9][7] = {6, 0, 0};
    struct Case {
        s32 attr2, combat, variety, base, extra;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0},
        {50, 31, 71, 31, 100 + 100 + 100 + 100},
        {70, 51, 91, 51, 100 + 200 + 200 + 200 + 200},
        {69, 51, 0, 0, 100 + 100 + 200},
        {75, 76, 100, 76, 200 + 200 + 300 + 300 + 300},
        {100, 91, 119, 101, 300 + 200 + 400 + 300 + 400},
        {100, 100, 120, 120, 300 + 200 + 500 + 400 + 500},
        {49, 30, 70, 30, 0},
    };
    for (const Case& c : cases) {
        p.attr[2] = c.attr2;
        p.combat_level = c.combat;
        p.art_variety = c.variety;
        p.skill[0] = c.base;
        EXPECT_EQ(art_score(3, 50), weapon_term + 200 + 2500 + c.extra)
            << c.attr2 << " " << c.combat << " " << c.variety << " " << c.base;
    }
    // An equipment index outside the weapon table counts nothing.
    p.equip[0] = 70;
    p.attr[2] = p.combat_level = p.art_variety = p.skill[0] = 0;
    EXPECT_EQ(art_score(3, 50), 200 + 2500);
    init_equip_tables();
}

} // namespace
