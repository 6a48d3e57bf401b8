// Integer math, random numbers and directions. Expected random values are worked out by hand
// from the generator's formula (state := state x 214013 + 2531011 mod 2^32, result bits 16..30),
// not taken from the code's output.
#include "engine/math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>

namespace {

void reset_random(u32 seed, s32 counter) {
    rt_srand(seed);
    rand_counter = counter;
}

TEST(RtRand, FollowsTheLinearCongruentialFormula) {
    // Seed 1: 1 x 214013 + 2531011 = 2745024, bits 16..30 = 41; the next states give 18467, 6334.
    rt_srand(1);
    EXPECT_EQ(rt_rand(), 41);
    EXPECT_EQ(rt_rand(), 18467);
    EXPECT_EQ(rt_rand(), 6334);
    EXPECT_EQ(rt_rand(), 26500);
    // Bit 31 of the state never shows: a state with the top bit set still gives 0..32767.
    rt_srand(0xFFFFFFFFu);
    for (s32 i = 0; i < 1000; ++i) {
        const s32 r = rt_rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(RandBelow, KnownSeedSequence) {
    // Seed 12345: raw draws 7584, 19164, 25795, 22125, 5828, 23405, ...
    // counter 13572469 (low bits 01): 7584 + 13572469 = 13580053, mod 100 = 53
    // counter 13572470 (10): 19164 + 13572470 = 13591634 -> 34
    // counter 13572471 (11): 25795 + 13572471 = 13598266 -> 66
    // counter 13572472 (00): two draws 22125 + 5828 = 27953; + 13572472 = 13600425 -> 25
    // counter 13572473 (01): 23405 + 13572473 = 13595878, mod 6 = 4
    reset_random(12345, RAND_COUNTER_START);
    const s32 bounds[] = {100, 100, 100, 100, 6};
    const s32 expected[] = {53, 34, 66, 25, 4};
    for (s32 i = 0; i < 5; ++i) EXPECT_EQ(rand_below(bounds[i]), expected[i]) << i;
    EXPECT_EQ(rand_counter, RAND_COUNTER_START + 5);
}

TEST(RandBelow, CounterAtThreeDrawsTwice) {
    // The counter becomes 4 (low bits 00): r = 41 + 18467 with seed 1; (18508 + 4) mod 1000.
    reset_random(1, 3);
    EXPECT_EQ(rand_below(1000), 512);
    EXPECT_EQ(rt_rand(), 6334); // the third draw of seed 1: exactly two were taken
    // Counter at 4 becomes 5: one draw.
    reset_random(1, 4);
    EXPECT_EQ(rand_below(1000), (41 + 5) % 1000);
    EXPECT_EQ(rt_rand(), 18467);
}

TEST(RandBelow, BoundsBelowOneTouchNothing) {
    for (s32 n : {0, -3, INT32_MIN}) {
        reset_random(1, 77);
        EXPECT_EQ(rand_below(n), 0);
        EXPECT_EQ(rand_counter, 77);
        EXPECT_EQ(rt_rand(), 41); // no draw was taken
    }
    reset_random(1, 77);
    EXPECT_EQ(rand_below(1), 0);
    EXPECT_EQ(rand_counter, 78);
    EXPECT_EQ(rt_rand(), 18467);
}

TEST(RandBelow, CounterWrapsModulo2To32) {
    // 0x7FFFFFFF + 1 wraps to 0x80000000 (low bits 00: two draws, 41 + 18467 = 18508); the sum
    // is taken unsigned: 2147483648 + 18508 = 2147502156, mod 1000 = 156.
    reset_random(1, INT32_MAX);
    EXPECT_EQ(rand_below(1000), 156);
    EXPECT_EQ(rand_counter, INT32_MIN);
    // -1 + 1 = 0 (two draws): 41 + 18467 = 18508, mod 7 = 0.
    reset_random(1, -1);
    EXPECT_EQ(rand_below(7), 18508 % 7);
    // The stirring the engine's loops do wraps the same way.
    rand_counter = INT32_MAX;
    rand_stir(0x91827465u);
    EXPECT_EQ(static_cast<u32>(rand_counter), 0x7FFFFFFFu + 0x91827465u);
    // A large bound: r + counter unsigned, never negative.
    reset_random(1, INT32_MAX - 1);
    EXPECT_EQ(rand_below(INT32_MAX), static_cast<s32>((41u + 0x7FFFFFFFu) % 0x7FFFFFFFu));
}

TEST(Isqrt, TableValues) {
    struct Case {
        u32 n;
        s32 root;
    };
    const Case cases[] = {
        {0, 0},
        {1, 1},
        {2, 1},
        {3, 1},
        {4, 2},
        {15, 3},
        {16, 4},
        {63, 7},
        {64, 8},
        {255, 15},
        {256, 16},
        {4096, 64},
        {10000, 99},
        {16384, 128},
        {65535, 255},
        {65536, 256},
        {1000000, 996},
        {1u << 30, 32768},
        {UINT32_MAX, 65280},
    };
    for (const Case& c : cases) EXPECT_EQ(isqrt(c.n), c.root) << c.n;
}

TEST(Isqrt, NeverAboveTheTrueRootAndCloseToIt) {
    // Eight significant bits: at most about 6 % below the true root, never above it.
    for (u64 n = 0; n <= UINT32_MAX; n = n < 70000 ? n + 1 : n * 17 / 16 + 1) {
        const double root = std::floor(std::sqrt(static_cast<double>(n)));
        const s32 got = isqrt(static_cast<u32>(n));
        ASSERT_LE(got, root) << n;
        ASSERT_GE(got, root * 0.94 - 1) << n;
    }
}

TEST(DirectionOf, KnownVectors) {
    struct Case {
        s32 dx, dy, angle;
    };
    const Case cases[] = {
        {1, -1, 45},
        {-1, -1, 135},
        {-1, 1, 225},
        {1, 1, 315},
        {1, 0, 0},
        {100, 1, 0},
        {100, -1, 0},
        {-1, 0, 180},
        {0, -5, 90},
        {1, -100, 90},
        {0, 5, 270},
        {0, 0, 90},
        {-100, -1, 180},
        {-100, 1, 180},
        {-1, -100, 90},
        {1, 100, 270},
        {-1, 100, 270},
        {2, -1, 26},
        {-2, -1, 154},
        {-2, 1, 206},
        {2, 1, 334},
        // Far beyond map distances the direction is still the true one.
        {40000, -40000, 45},
        {1, -40000, 90},
        {-1, 40000, 270},
        {-70000, 0, 180},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(direction_of(c.dx, c.dy), c.angle) << c.dx << "," << c.dy;
    }
}

TEST(DirectionOf, StoredTangentsAreTheThresholds) {
    // tan(6 degrees) x 65536 is 6888.1; the stored threshold is 6887, so a quotient of 6887 is
    // already 6 degrees (up and right: i - 1 with i = 7).
    EXPECT_EQ(dir_tangents[6], 6887);
    EXPECT_EQ(dir_tangents[45], 65535);
    EXPECT_EQ(dir_tangents[89], 3753406);
    EXPECT_EQ(direction_of(65536, -6887), 6);
    EXPECT_EQ(direction_of(65536, -6886), 5);
    // A quotient equal to tangent 45 is not below it: 45 degrees.
    EXPECT_EQ(direction_of(65536, -65535), 45);
    EXPECT_EQ(direction_of(65536, -65534), 44);
}

TEST(DirectionOf, ResultsAreValidStepIndices) {
    // Never 89, 91, 269 or 271: within a degree of vertical is exactly 90 or 270.
    std::set<s32> seen;
    for (s32 dy = -120; dy <= 120; ++dy) {
        for (s32 dx = -120; dx <= 120; ++dx) {
            const s32 a = direction_of(dx, dy);
            ASSERT_GE(a, 0);
            ASSERT_LE(a, 359);
            seen.insert(a);
        }
    }
    for (s32 a : {89, 91, 269, 271}) EXPECT_EQ(seen.count(a), 0u) << a;
    for (s32 a : {0, 88, 90, 92, 180, 268, 270, 272, 359}) EXPECT_EQ(seen.count(a), 1u) << a;
}

TEST(StepTables, TellingRows) {
    struct Row {
        s32 a, x, y;
    };
    // Axis rows are exact; the others may differ from these stored values by one unit.
    const Row exact[] = {
        {0, 65535, 0}, {90, 0, -65535}, {180, -65535, 0}, {270, 0, 65535}, {60, 32768, -56755}};
    for (const Row& r : exact) {
        EXPECT_EQ(dir_step_x[r.a], r.x) << r.a;
        EXPECT_EQ(dir_step_y[r.a], r.y) << r.a;
    }
    const Row near[] = {
        {1, 65526, -1143}, {45, 46341, -46340}, {315, 46340, 46340}, {359, 65526, 1143}};
    for (const Row& r : near) {
        EXPECT_NEAR(dir_step_x[r.a], r.x, 1) << r.a;
        EXPECT_NEAR(dir_step_y[r.a], r.y, 1) << r.a;
    }
    // The products that are whole numbers stay whole: sin(30) = 0.5.
    EXPECT_EQ(dir_step_y[30], -32768);
    EXPECT_EQ(dir_step_x[120], -32768);
}

TEST(StepTables, StraightRightMovesRightNeverDown) {
    const s32 a = direction_of(250, 0);
    ASSERT_EQ(a, 0);
    EXPECT_GT(dir_step_x[a], 0);
    EXPECT_EQ(dir_step_y[a], 0);
    // Walking moves by ((entry >> 13) x speed) / 10 pixels per axis.
    EXPECT_EQ((dir_step_y[a] >> 13) * 10 / 10, 0);
    EXPECT_EQ((dir_step_x[a] >> 13) * 10 / 10, 7);
}

TEST(TrigTables, BuildsTablesAndCamera) {
    u16 back[4];
    u16 save[4];
    trig_tables_init(back, save);
    EXPECT_EQ(trig_target, back);
    EXPECT_EQ(trig_depth, save);
    EXPECT_FLOAT_EQ(trig_sine[0], 0.0f);
    EXPECT_FLOAT_EQ(trig_cosine[0], 1.0f);
    EXPECT_NEAR(trig_sine[1024], 1.0f, 1e-5);    // a quarter turn
    EXPECT_NEAR(trig_cosine[2048], -1.0f, 1e-5); // half a turn
    EXPECT_FLOAT_EQ(trig_eye[2], -350.0f);
    EXPECT_FLOAT_EQ(trig_look_at[0], 0.0f);
    EXPECT_FLOAT_EQ(trig_up[1], 1.0f);
}

} // namespace
