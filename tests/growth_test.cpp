// The growth rule: levels bought tier by tier under the three threshold tables, the cap, the
// art-variety steps, lowering, the swapped pools of 27 and 28, requirement tests, the derived
// hit-point maximum and the levels of known-list entries. Log lines are read from the transcript.
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The thresholds as the rules state them (not read from the code's tables).
constexpr s32 MAIN[10] = {15, 25, 40, 60, 85, 120, 150, 200, 250, 350};
constexpr s32 SKILL[10] = {10, 20, 40, 60, 80, 100, 120, 150, 200, 270};
constexpr s32 QUIET[10] = {10, 20, 40, 60, 80, 100, 120, 140, 160, 180};
constexpr s32 KNOWN[10] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

class GrowthTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        world_put_basics(b);
        world_start(b);
        battle_active = 0;
        dialog_transcript_mode();
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    HarnessTempDir dir;
};

using GrowFn = int (*)(s32);

struct StepCase {
    const char* name;
    GrowFn fn;
    s32 index;
    const s32* table;
};

} // namespace

// At each tier: one short of the threshold buys nothing, the threshold itself one level with an
// empty pool, one more one level with 1 left; a grow logs the final value once.
TEST_F(GrowthTest, StepsAtBelowAndAboveEachThreshold) {
    const StepCase cases[] = {
        {"grow base", grow, 0, MAIN},
        {"grow skill 9", grow, 9, MAIN},
        {"grow skill 10", grow, 10, SKILL},
        {"grow skill 24", grow, 24, SKILL},
        {"grow attr 25", grow, 25, MAIN},
        {"grow attr 30", grow, 30, MAIN},
        {"grow fame", grow, 31, MAIN},
        {"grow combat", grow, 32, MAIN},
        {"quiet base", grow_quiet, 0, MAIN},
        {"quiet skill 10", grow_quiet, 10, QUIET},
        {"quiet skill 24", grow_quiet, 24, QUIET},
        {"quiet attr 29", grow_quiet, 29, MAIN},
        {"quiet fame", grow_quiet, 31, MAIN},
    };
    for (const StepCase& c : cases) {
        for (s32 tier = 0; tier < 10; ++tier) {
            const s32 cost = c.table[tier];
            for (s32 extra : {-1, 0, 1}) {
                SCOPED_TRACE(std::string(c.name) + " tier " + std::to_string(tier) + " extra " +
                             std::to_string(extra));
                dialog_transcript_mode();
                const s32 value = 10 * tier + (tier == 9 ? 9 : 0); // 99 tops out at 100
                growth_value(c.index) = value;
                growth_pool(c.index) = cost + extra;
                const int r = c.fn(c.index);
                const bool gains = extra >= 0;
                EXPECT_EQ(r, gains ? 1 : 0);
                EXPECT_EQ(growth_value(c.index), gains ? value + 1 : value);
                EXPECT_EQ(growth_pool(c.index), gains ? extra : cost - 1);
                std::vector<std::string> want;
                if (gains && c.fn == grow) {
                    const s32 text = c.index == 32 ? 434 : 400 + c.index;
                    want.push_back("log_number " + std::to_string(text) + " " +
                                   std::to_string(value + 1));
                }
                EXPECT_EQ(dialog_lines(), want);
            }
        }
    }
}

// Several levels in one call cost each tier's own threshold and log once; tier 8 of a skill costs
// 200 through grow and 160 through grow_quiet.
TEST_F(GrowthTest, SeveralLevelsAndTheTablesDiffer) {
    player_record.skill[0] = 9;
    player_record.skill_exp[0] = 40;
    EXPECT_EQ(grow(0), 1);
    EXPECT_EQ(player_record.skill[0], 11);
    EXPECT_EQ(player_record.skill_exp[0], 0);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"log_number 400 11"});

    player_record.skill[12] = 80;
    player_record.skill_exp[12] = 360;
    EXPECT_EQ(grow(12), 1);
    EXPECT_EQ(player_record.skill[12], 81);
    EXPECT_EQ(player_record.skill_exp[12], 160);
    EXPECT_EQ(grow_quiet(12), 1);
    EXPECT_EQ(player_record.skill[12], 82);
    EXPECT_EQ(player_record.skill_exp[12], 0);
}

// A value at 100 (or pushed beyond it, or fame at 120) takes no step and keeps its pool; grow
// still derives hp_max and logs nothing. Values outside 0..100 read the tables safely.
TEST_F(GrowthTest, CapAndValuesOutsideTheRange) {
    player_record.skill[0] = 100;
    player_record.skill_exp[0] = 100000;
    player_record.hp_max = 7;
    EXPECT_EQ(grow(0), 0);
    EXPECT_EQ(player_record.skill_exp[0], 100000);
    EXPECT_EQ(player_record.hp_max, 100 + 100 * 12 / 5);
    EXPECT_TRUE(dialog_lines().empty());

    player_record.fame = 120;
    player_record.fame_exp = 100000;
    EXPECT_EQ(grow(31), 0);
    EXPECT_EQ(grow_quiet(31), 0);
    EXPECT_EQ(player_record.fame, 120);
    EXPECT_EQ(player_record.fame_exp, 100000);

    player_record.fame = 99;
    EXPECT_EQ(grow(31), 1);
    EXPECT_EQ(player_record.fame, 100);
    EXPECT_EQ(player_record.fame_exp, 100000 - MAIN[9]);

    player_record.skill[14] = 5000;
    player_record.skill_exp[14] = 100000;
    EXPECT_EQ(grow(14), 0);
    EXPECT_EQ(player_record.skill[14], 5000);

    player_record.skill[3] = -25; // tier of a negative value is the first
    player_record.skill_exp[3] = MAIN[0];
    EXPECT_EQ(grow_quiet(3), 1);
    EXPECT_EQ(player_record.skill[3], -24);
    EXPECT_EQ(player_record.skill_exp[3], 0);
}

// Indices out of range change nothing and derive nothing; grow_quiet has no 32 and 33.
TEST_F(GrowthTest, IndicesOutOfRange) {
    player_record.hp_max = 7;
    player_record.combat_exp = 100;
    player_record.art_points = 100;
    for (s32 i : {34, -1, -2147483647 - 1, 1000}) {
        EXPECT_EQ(grow(i), 0);
        EXPECT_EQ(grow_quiet(i), 0);
        EXPECT_EQ(grow_lower(0, i, 100), 0);
    }
    EXPECT_EQ(grow_quiet(32), 0);
    EXPECT_EQ(grow_quiet(33), 0);
    EXPECT_EQ(grow_lower(0, 32, 100), 0);
    EXPECT_EQ(grow_lower(0, 33, 100), 0);
    EXPECT_EQ(player_record.hp_max, 7);
    EXPECT_EQ(player_record.combat_exp, 100);
    EXPECT_EQ(player_record.art_points, 100);
    EXPECT_TRUE(dialog_lines().empty());

    EXPECT_EQ(grow(32), 1);
    EXPECT_EQ(player_record.combat_level, 6);
    EXPECT_EQ(player_record.combat_exp, 100 - 6 * 15);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"log_number 434 6"});

    EXPECT_EQ(harness_fatal_message([] { growth_pool(34); }), "growth_pool: index 34 out of range");
    EXPECT_EQ(harness_fatal_message([] { growth_value(-1); }),
              "growth_value: index -1 out of range");
}

// Art variety: one step of 20 points per call, none at 100.
TEST_F(GrowthTest, ArtVarietySteps) {
    player_record.art_points = 45;
    EXPECT_EQ(grow(33), 1);
    EXPECT_EQ(player_record.art_variety, 1);
    EXPECT_EQ(player_record.art_points, 25);
    EXPECT_EQ(grow(33), 1);
    EXPECT_EQ(player_record.art_points, 5);
    EXPECT_EQ(grow(33), 0);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{"log_number 435 1", "log_number 435 2"}));

    player_record.art_variety = 100;
    player_record.art_points = 500;
    EXPECT_EQ(grow(33), 0);
    EXPECT_EQ(player_record.art_points, 500);
}

// The pools of 27 and 28 lie in each other's place; every other attribute pool in its own.
TEST_F(GrowthTest, SwappedPools) {
    EXPECT_EQ(&growth_pool(25), &player_record.attr_exp[0]);
    EXPECT_EQ(&growth_pool(26), &player_record.attr_exp[1]);
    EXPECT_EQ(&growth_pool(27), &player_record.attr_exp[3]);
    EXPECT_EQ(&growth_pool(28), &player_record.attr_exp[2]);
    EXPECT_EQ(&growth_pool(29), &player_record.attr_exp[4]);
    EXPECT_EQ(&growth_pool(30), &player_record.attr_exp[5]);
    EXPECT_EQ(&growth_value(27), &player_record.attr[2]);
    EXPECT_EQ(&growth_value(28), &player_record.attr[3]);

    player_record.attr_exp[3] = 15;
    EXPECT_EQ(grow(28), 0);
    EXPECT_EQ(grow(27), 1);
    EXPECT_EQ(player_record.attr[2], 1);
    EXPECT_EQ(player_record.attr[3], 0);
    EXPECT_EQ(player_record.attr_exp[3], 0);

    player_record.attr_exp[2] = 15;
    EXPECT_EQ(grow_quiet(28), 1);
    EXPECT_EQ(player_record.attr[3], 1);
    EXPECT_EQ(player_record.attr_exp[2], 0);

    // A lowering too small to take a level clears the pool of its own index.
    player_record.attr_exp[2] = 9;
    player_record.attr_exp[3] = 8;
    EXPECT_EQ(grow_lower(1, 27, -MAIN[0]), 0);
    EXPECT_EQ(player_record.attr_exp[3], 0);
    EXPECT_EQ(player_record.attr_exp[2], 9);
}

// Lowering: levels = amount / threshold + 1 on the lowering table (quiet for 0..9, main for
// 10..31), not below 0; a value of 100 and fame above 99 pay the top tier.
TEST_F(GrowthTest, LowerLevels) {
    struct Case {
        s32 index, value, amount, want, taken;
    } cases[] = {
        {27, 35, 100, 33, 1},        // tier 3 costs 60: 2 levels
        {27, 1, 100, 0, 1},          // held at 0
        {25, 100, 100, 99, 1},       // value 100: top tier 350
        {0, 100, 180, 98, 1},        // base value 100: quiet top tier 180
        {31, 500, 350, 498, 1},      // fame far above 99: top tier 350
        {31, 100, 349, 99, 1},       //
        {5, 75, 140, 73, 1},         // quiet table: 140 at tier 7
        {15, 75, 140, 74, 1},        // main table: 200 at tier 7
        {10, 250, 50, 249, 1},       // pushed above 100 by a caller
        {3, -5, 50, 0, 1},           // negative value: first tier, floor 0
        {26, 30, -60, 30, 0},        // levels 0: the pool is cleared
        {26, 30, -119, 30, 0},       //
        {26, 30, -120, 31, 1},       // negative levels raise the value
        {26, 30, -59, 29, 1},        //
        {29, 100, 2147483647, 0, 1}, // a huge amount
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("index " + std::to_string(c.index) + " value " + std::to_string(c.value) +
                     " amount " + std::to_string(c.amount));
        dialog_transcript_mode();
        growth_value(c.index) = c.value;
        growth_pool(c.index) = 33;
        EXPECT_EQ(grow_lower(1, c.index, c.amount), c.taken);
        EXPECT_EQ(growth_value(c.index), c.want);
        EXPECT_EQ(growth_pool(c.index), c.taken ? 33 : 0);
        EXPECT_TRUE(dialog_lines().empty());
    }

    // quiet 0 logs the new value; attribute 30 shows the bonus of item 1507 in slot 3.
    dialog_transcript_mode();
    player_record.attr[5] = 50;
    player_record.equip[3] = 7;
    EXPECT_EQ(grow_lower(0, 30, 100), 1);
    EXPECT_EQ(player_record.attr[5], 49);
    player_record.attr_exp[5] = 1000;
    EXPECT_EQ(grow(30), 1); // 49 -> 50 for 85, then seven levels of 120
    EXPECT_EQ(player_record.attr[5], 57);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{"log_number 430 69", "log_number 430 77"}));
}

TEST_F(GrowthTest, Meets) {
    player_record.skill[24] = 30;
    player_record.attr[4] = 60;
    player_record.attr[5] = 45;
    player_record.fame = 500;
    struct Case {
        s32 index, n, equip3, want;
    } cases[] = {
        {-1, 1000, -1, 1}, {24, 30, -1, 1}, {24, 31, -1, 0}, {29, 60, -1, 1},  {29, 61, -1, 0},
        {30, 60, 7, 1},    {30, 60, -1, 0}, {30, 65, 7, 1},  {30, 66, 7, 0},   {30, 60, 6, 0},
        {31, 1, -1, 0},    {-2, 0, -1, 0},  {33, 0, -1, 0},  {1000, 0, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("index " + std::to_string(c.index) + " n " + std::to_string(c.n));
        player_record.equip[3] = c.equip3;
        EXPECT_EQ(growth_meets(c.index, c.n), c.want);
    }
}

// hp_max = 100 + the attribute and base terms, each weighted by its own value / 20, at most 1000;
// nothing while a battle runs.
TEST_F(GrowthTest, HpMaxDerive) {
    auto set_all = [](s32 v) {
        for (s32& a : player_record.attr) a = v;
        player_record.skill[0] = v;
    };
    for (auto [v, want] :
         {std::pair{0, 100}, {50, 460}, {100, 1000}, {19, 100 + 3 * 11 + 3 * 22}}) {
        set_all(v);
        hp_max_derive();
        EXPECT_EQ(player_record.hp_max, want) << "all " << v;
    }
    // attr[5] takes no part; values beyond 100 weigh like 100, negative ones like 0.
    set_all(0);
    player_record.attr[5] = 100;
    player_record.attr[2] = 20; // weight 7: 28
    player_record.attr[0] = 39; // weight 7: 27
    hp_max_derive();
    EXPECT_EQ(player_record.hp_max, 155);
    player_record.attr[2] = 0;
    player_record.attr[0] = 0;
    player_record.skill[0] = 300;
    hp_max_derive();
    EXPECT_EQ(player_record.hp_max, 820);
    player_record.skill[0] = -50;
    hp_max_derive();
    EXPECT_EQ(player_record.hp_max, 40); // no lower clamp

    // Blocked while battle_active: neither the derivation nor a growth changes it.
    set_all(50);
    player_record.hp_max = 123;
    battle_active = 1;
    hp_max_derive();
    EXPECT_EQ(player_record.hp_max, 123);
    player_record.attr_exp[0] = 1000;
    EXPECT_EQ(grow(25), 1);
    EXPECT_EQ(player_record.hp_max, 123);
    battle_active = 0;
    EXPECT_EQ(grow(25), 0);
    EXPECT_NE(player_record.hp_max, 123);
}

// Known entries step on their own table (cap 100) and log the entry's name, then the new level.
TEST_F(GrowthTest, KnownLevelUp) {
    KnownEntry& e = player_record.known[3][7];
    e = {55, 9, 10 + 20 + 5};
    EXPECT_EQ(known_level_up(3, 7), 1);
    EXPECT_EQ(e.level, 11);
    EXPECT_EQ(e.exp, 5);
    EXPECT_EQ(dialog_lines(),
              (std::vector<std::string>{"log_text 52855 440", "log_number 441 11"}));

    for (s32 tier = 0; tier < 10; ++tier) {
        e = {60, 10 * tier + (tier == 9 ? 9 : 0), KNOWN[tier] - 1};
        EXPECT_EQ(known_level_up(3, 7), 0) << tier;
        e.exp += 1;
        EXPECT_EQ(known_level_up(3, 7), 1) << tier;
        EXPECT_EQ(e.exp, 0);
    }
    dialog_transcript_mode();
    e = {60, 100, 100000};
    EXPECT_EQ(known_level_up(3, 7), 0);
    e = {60, 150, 100000}; // pushed beyond the cap
    EXPECT_EQ(known_level_up(3, 7), 0);
    EXPECT_EQ(known_level_up(25, 0), 0);
    EXPECT_EQ(known_level_up(-1, 0), 0);
    EXPECT_EQ(known_level_up(0, 100), 0);
    EXPECT_TRUE(dialog_lines().empty());
    player_record.hp_max = 7;
    e = {60, 0, 10};
    EXPECT_EQ(known_level_up(3, 7), 1);
    EXPECT_EQ(player_record.hp_max, 7);
}
