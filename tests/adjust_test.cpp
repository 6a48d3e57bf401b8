// The value adjusters: each one's clamp (taken after the addition), its sound and log line read
// from the transcript, the mp overflow chance, the injury bands of spending stamina and the
// aptitude bonus of affection, the random draws replayed from a fixed seed.
#include "game/adjust.h"
#include "tests/rules_fixture.h"

#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "game/player.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class AdjustTest : public RulesTest {};

// The same random sequence again from a seed.
void seed(u32 s) {
    rt_srand(s * 2654435761u); // spread: neighbouring small seeds start alike
    rand_counter = RAND_COUNTER_START;
}

TEST_F(AdjustTest, MoneyLogsTheAmountAndClampsAfterAdding) {
    struct Case {
        s32 held, n, want;
        Lines lines;
    };
    for (const Case& c : std::vector<Case>{
             {300, 0, 300, {}},
             {300, -500, 0, {"log_number 466 500"}},
             {99990, 50, 99999, {"log_number 465 50"}},
             {99999, INT_MAX, 99999, {"log_number 465 2147483647"}},
             {100, INT_MIN, 0, {"log_number 466 2147483647"}},
         }) {
        dialog_transcript_mode();
        text_colour(1, 2, 3);
        player_record.money = c.held;
        money_add(c.n);
        EXPECT_EQ(player_record.money, c.want) << c.held << " + " << c.n;
        EXPECT_EQ(dialog_lines(), c.lines) << c.held << " + " << c.n;
        EXPECT_EQ(kanji_colour_main_555, 0x7FFF);
    }
}

TEST_F(AdjustTest, FameAndChivalryLogTheNewValue) {
    struct Case {
        std::function<void(s32)> add;
        s32* field;
        s32 held, n, want;
        std::string line;
        bool white;
    };
    PlayerRecord& p = player_record;
    for (const Case& c : std::vector<Case>{
             {fame_add, &p.fame, 5, -10, 0, "log_number 485 0", false},
             {fame_add, &p.fame, 5, 0, 5, "log_number 485 5", false},
             {fame_add, &p.fame, 990, 2000, 999, "log_number 484 999", false},
             {chivalry_add, &p.chivalry, 50, 80, 100, "log_number 480 100", true},
             {chivalry_add, &p.chivalry, 50, 0, 50, "log_number 481 50", true},
             {chivalry_add, &p.chivalry, 10, -200, 0, "log_number 481 0", true},
         }) {
        dialog_transcript_mode();
        text_colour(1, 2, 3); // fame takes the current colour, chivalry sets white
        *c.field = c.held;
        c.add(c.n);
        EXPECT_EQ(*c.field, c.want) << c.line;
        EXPECT_EQ(dialog_lines(), Lines{c.line});
        EXPECT_EQ(kanji_colour_main_555, c.white ? 0x7FFF : (1 << 10 | 2 << 5 | 3)) << c.line;
    }
}

TEST_F(AdjustTest, MoodMovesOppositeToTheAmountAndAlwaysResetsItsTurns) {
    struct Case {
        s32 held, n, want;
        std::string sound;
    };
    for (const Case& c : std::vector<Case>{{0, 1, 0, "sound 500 1"},
                                           {2, 1, 1, "sound 500 1"},
                                           {2, -9, 4, "sound 507 1"},
                                           {3, 0, 3, "sound 507 1"}}) {
        dialog_transcript_mode();
        player_record.mood = c.held;
        player_record.mood_turns = 6;
        mood_add(c.n);
        EXPECT_EQ(player_record.mood, c.want);
        EXPECT_EQ(player_record.mood_turns, 0);
        EXPECT_EQ(dialog_lines(), Lines{c.sound});
    }
}

TEST_F(AdjustTest, QuietAdjustersClampToTheirRanges) {
    PlayerRecord& p = player_record;
    struct Case {
        std::function<void(s32)> add;
        s32* field;
        s32 held, n, want;
    };
    p.hp_max = 300;
    for (const Case& c : std::vector<Case>{
             {hp_add, &p.hp, 100, 500, 300},
             {hp_add, &p.hp, 100, -101, 0},
             {hp_add, &p.hp, 100, INT_MIN, 0},
             {stamina_add, &p.stamina, 900, 200, 1000},
             {stamina_add, &p.stamina, 100, -200, 0},
             {poison_add, &p.poison, 10, 3, 25},
             {poison_add, &p.poison, 10, 30, 100},
             {poison_add, &p.poison, 10, -3, 0},
             {poison_add, &p.poison, 10, INT_MAX, 100},
             {poison_add_raw, &p.poison, 10, 3, 13},
             {poison_add_raw, &p.poison, 10, -30, 0},
             {affliction_add, &p.affliction, 99, 5, 100},
             {affliction_add, &p.affliction, 5, -9, 0},
             {growth0_add, &p.skill[0], 30, 120, 100},
             {growth0_add, &p.skill[0], 30, -31, 0},
         }) {
        *c.field = c.held;
        c.add(c.n);
        EXPECT_EQ(*c.field, c.want) << c.held << " + " << c.n;
    }
    EXPECT_EQ(p.hp_max, 300); // the base value does not re-derive hp_max by itself
    EXPECT_TRUE(dialog_lines().empty());
    unused_value_set(77);
    EXPECT_EQ(p.spare_a, 77);
}

TEST_F(AdjustTest, MpOverflowRaisesTheMaximumOnThreeDrawsInTen) {
    PlayerRecord& p = player_record;
    bool raised = false, kept = false;
    for (u32 s = 1; s <= 60; ++s) {
        seed(s);
        const bool up = rand_below(10) >= 7;
        seed(s);
        p.mp = 90;
        p.mp_max = 100;
        mp_add(30);
        EXPECT_EQ(p.mp_max, up ? 101 : 100) << s;
        EXPECT_EQ(p.mp, p.mp_max);
        (up ? raised : kept) = true;
    }
    EXPECT_TRUE(raised && kept);

    // The maximum never passes 9999, even with a lucky draw.
    for (u32 s = 1; s <= 30; ++s) {
        seed(s);
        p.mp = 9999;
        p.mp_max = 9999;
        mp_add_scaled(10);
        EXPECT_EQ(p.mp_max, 9999);
        EXPECT_EQ(p.mp, 9999);
    }
}

TEST_F(AdjustTest, MpBelowZeroBecomesOneAndScaledGainsAreTenths) {
    PlayerRecord& p = player_record;
    p.mp = 20;
    p.mp_max = 100;
    mp_add(-999);
    EXPECT_EQ(p.mp, 1);
    p.mp = 10;
    const u32 state = rt_rand_state;
    mp_add_scaled(3); // 100 * 3 / 10, no overflow: no draw either
    EXPECT_EQ(p.mp, 40);
    EXPECT_EQ(rt_rand_state, state);
    p.mp_max = 55;
    mp_add_scaled(-5); // 55 * -5 / 10 truncates to -27
    EXPECT_EQ(p.mp, 13);
    mp_add_scaled(-5);
    EXPECT_EQ(p.mp, 1);
    EXPECT_EQ(p.mp_max, 55);
}

TEST_F(AdjustTest, MpMaxTakesOnlyPositiveAmountsAndRefills) {
    PlayerRecord& p = player_record;
    p.mp = 20;
    p.mp_max = 100;
    mp_max_add(0);
    mp_max_add(-40);
    EXPECT_EQ(p.mp_max, 100);
    EXPECT_EQ(p.mp, 20);
    mp_max_add(5);
    EXPECT_EQ(p.mp_max, 105);
    EXPECT_EQ(p.mp, 105);
    mp_max_add(INT_MAX);
    EXPECT_EQ(p.mp_max, 9999);
    EXPECT_EQ(p.mp, 9999);
}

TEST_F(AdjustTest, StaminaSpentAboveZeroInjuresNobodyButStillRolls) {
    seed(5);
    rand_below(800);
    const u32 after_one_draw = rt_rand_state;
    seed(5);
    player_record.stamina = 500;
    EXPECT_EQ(stamina_spend(-150), 0);
    EXPECT_EQ(player_record.stamina, 350);
    EXPECT_EQ(rt_rand_state, after_one_draw);
    player_record.stamina = 900;
    EXPECT_EQ(stamina_spend(300), 0); // a gain is held at 1000
    EXPECT_EQ(player_record.stamina, 1000);
}

TEST_F(AdjustTest, StaminaRunningOutInjuresByHowFarItWentBelowZero) {
    struct Band {
        s32 below; // stamina after the spend
        s32 base, spread;
    };
    PlayerRecord& p = player_record;
    for (const Band b : {Band{0, 2, 2}, Band{-49, 2, 2}, Band{-50, 3, 4}, Band{-99, 3, 4},
                         Band{-100, 4, 6}, Band{-149, 4, 6}, Band{-150, 4, 8}, Band{-5000, 4, 8}}) {
        for (s32 con : {40, 100}) {
            bool hurt = false, spared = false;
            for (u32 s = 1; s <= 40; ++s) {
                seed(s);
                const s32 roll = con * 3 + 280 - rand_below(800);
                const s32 want = roll < 0 ? b.base + rand_below(b.spread) : 0;
                seed(s);
                p.constitution = con;
                p.stamina = 100;
                const s32 turns = stamina_spend(b.below - 100);
                EXPECT_EQ(turns, want) << b.below << " con " << con << " seed " << s;
                EXPECT_EQ(p.stamina, 0);
                (want ? hurt : spared) = true;
            }
            EXPECT_TRUE(hurt && spared) << b.below << " con " << con;
        }
    }
}

TEST_F(AdjustTest, SleepAndRest) {
    PlayerRecord& p = player_record;
    struct Sleep {
        s32 need, stamina, minutes, want_stamina, want_need;
    };
    for (const Sleep c : {Sleep{120, 100, 60, 700, 120}, Sleep{30, 100, 60, 400, 0},
                          Sleep{100, 100, 60, 400, 40}, Sleep{101, 900, 360, 1000, 101}}) {
        p.sleep_need = c.need;
        p.stamina = c.stamina;
        stamina_recover(c.minutes);
        EXPECT_EQ(p.stamina, c.want_stamina) << c.need;
        EXPECT_EQ(p.sleep_need, c.want_need) << c.need;
    }
    EXPECT_TRUE(dialog_lines().empty());

    struct Rest {
        s32 fatigue, stamina, n, want_fatigue, want_stamina;
        std::string line;
    };
    for (const Rest& c : std::vector<Rest>{{130, 500, 50, 80, 550, "log 454"},
                                           {200, 500, 50, 150, 550, "log 453"},
                                           {151, 980, 50, 101, 1000, "log 453"},
                                           {90, 500, 50, 40, 500, "log 455"},
                                           {30, 500, 50, 0, 500, "log 455"}}) {
        dialog_transcript_mode();
        text_colour(1, 2, 3);
        p.fatigue = c.fatigue;
        p.stamina = c.stamina;
        fatigue_rest(c.n);
        EXPECT_EQ(p.fatigue, c.want_fatigue) << c.fatigue;
        EXPECT_EQ(p.stamina, c.want_stamina) << c.fatigue;
        EXPECT_EQ(dialog_lines(), Lines{c.line});
        EXPECT_EQ(kanji_colour_main_555, 0x7FFF);
    }
}

TEST_F(AdjustTest, AffectionLogsByNameAndClampsAfterTheBonus) {
    PlayerRecord& p = player_record;
    p.social_aptitude = 79; // no bonus below 80
    p.affection[12] = 50;
    affection_add(12, -5);
    EXPECT_EQ(p.affection[12], 45);
    EXPECT_EQ(dialog_lines(), (Lines{"sound 507 1", "log_text 1012 483"}));
    EXPECT_EQ(kanji_colour_main_555, 0x7FFF);
    dialog_transcript_mode();
    affection_add(12, 60);
    EXPECT_EQ(p.affection[12], 100);
    EXPECT_EQ(dialog_lines(), (Lines{"sound 500 1", "log_text 1012 482"}));
    p.affection[30] = -1; // never met
    affection_add_quiet(30, 10);
    EXPECT_EQ(p.affection[30], 9);
    affection_add_quiet(30, -50);
    EXPECT_EQ(p.affection[30], 0);

    dialog_transcript_mode();
    affection_add(500, 5); // no such person
    affection_add_quiet(-1, 5);
    EXPECT_TRUE(dialog_lines().empty());
}

TEST_F(AdjustTest, AptitudeOfEightyAddsOneToThreeOnHalfTheDraws) {
    PlayerRecord& p = player_record;
    p.social_aptitude = 80;
    struct Case {
        s32 held, n;
        bool quiet;
    };
    for (const Case c :
         {Case{50, -5, false}, Case{50, 0, true}, Case{98, 1, false}, Case{2, -5, true}}) {
        bool bonus_seen = false, none_seen = false;
        for (u32 s = 1; s <= 40; ++s) {
            seed(s);
            s32 bonus = rand_below(10) >= 5 ? 1 + rand_below(3) : 0;
            const s32 raw = c.held + c.n + bonus;
            const s32 want = raw < 0 ? 0 : raw > 100 ? 100 : raw;
            seed(s);
            p.affection[7] = c.held;
            if (c.quiet)
                affection_add_quiet(7, c.n);
            else
                affection_add(7, c.n);
            EXPECT_EQ(p.affection[7], want) << c.held << " + " << c.n << " seed " << s;
            (bonus ? bonus_seen : none_seen) = true;
        }
        EXPECT_TRUE(bonus_seen && none_seen);
    }
}

TEST_F(AdjustTest, FameExperienceGrowsFameQuietly) {
    player_record.fame = 0;
    player_record.fame_exp = 0;
    fame_exp_add(40); // 15 a level in the first tier
    EXPECT_EQ(player_record.fame, 2);
    EXPECT_EQ(player_record.fame_exp, 10);
    EXPECT_TRUE(dialog_lines().empty());
}

} // namespace
