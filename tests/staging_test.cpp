// Staging services: walks and their arrival rules, pans and fades on the virtual clock, map
// changes, placing, distances and stopwatches.
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world/walk.h"
#include "engine/world_state.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr s32 MAP = 1;
constexpr s32 DARK_MAP = 2; // ground of shade 5
constexpr s32 WALKER_IMAGES = 2000;

class StagingTest : public ::testing::Test {
  protected:
    void start(HarnessConfig config = {}) {
        ArcBuilder b;
        world_put_basics(b, MAP, 1024, 768);
        world_put_map(
            b, DARK_MAP, 2048, 1024, [](s32, s32) { return WORLD_GROUND | (5u << 9); }, 30);
        for (s32 id = WALKER_IMAGES; id < WALKER_IMAGES + 50; id += 2)
            world_put_sprite(b, id, 20, 40, 10, 39, 0x03E0);
        world_start(b, config);
        world_place_player(MAP, 300, 300);
    }
    void TearDown() override { world_stop(); }
    void walker(s32 obj, s32 x, s32 y) { world_place_object(obj, MAP, x, y, WALKER_IMAGES + 2, 0); }
    s32 x_of(s32 obj) { return attr_get(obj, ATTR_X); }
    s32 y_of(s32 obj) { return attr_get(obj, ATTR_Y); }
    HarnessTempDir dir;
};

} // namespace

TEST_F(StagingTest, WalkOfAnArrivedMoverRendersOneFrame) {
    start();
    walker(5, 400, 400);
    const u64 presents = harness_presents();
    const u64 t = harness_elapsed_ms();
    walk1(-1, 5, 405, 394, 10);
    EXPECT_EQ(harness_presents() - presents, 1u);
    EXPECT_GE(harness_elapsed_ms() - t, u64(WALK_FRAME_MS));
    EXPECT_EQ(x_of(5), 400);
    EXPECT_EQ(y_of(5), 400);
}

TEST_F(StagingTest, SlowWalksStillArrive) {
    HarnessConfig c;
    c.budget_presents = 2000;
    start(c);
    // A step that rounds to nothing creeps a pixel at a time; so does a walk without a usable
    // speed (a negative one would otherwise walk away for ever).
    for (s32 speed : {0, 1, -1, -40, INT32_MIN}) {
        walker(5, 400, 400);
        walk1(-1, 5, 430, 380, speed);
        EXPECT_EQ(x_of(5), 430) << speed;
        EXPECT_EQ(y_of(5), 380) << speed;
    }
}

TEST_F(StagingTest, FastWalksDoNotSwingAcrossTheirTarget) {
    HarnessConfig c;
    c.budget_presents = 2000;
    start(c);
    struct Case {
        s32 speed, tx, ty;
    };
    // A step of 16 pixels from 8 away would land 8 past the target, then 8 before it, and so on.
    const Case cases[] = {{23, 408, 400}, {23, 400, 392}, {100, 437, 345}, {400, 300, 470}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.speed);
        walker(5, 400, 400);
        walk1(-1, 5, k.tx, k.ty, k.speed);
        EXPECT_EQ(x_of(5), k.tx);
        EXPECT_EQ(y_of(5), k.ty);
    }
}

TEST_F(StagingTest, WalkAllWaitsForTheSlowestAndWalkAnyForTheFastest) {
    start();
    walker(5, 400, 400);
    walker(6, 400, 500);
    const u64 presents = harness_presents();
    walk2(-1, 5, 600, 400, 40, 6, 600, 500, 10);
    EXPECT_EQ(x_of(5), 600);
    EXPECT_EQ(x_of(6), 600);
    // The slow one moves 7 a step: its 28th step lands within the window and snaps, and the
    // next pass reports the arrival.
    EXPECT_EQ(harness_presents() - presents, 29u);
    EXPECT_EQ(attr_get(5, ATTR_FRAME), WALKER_IMAGES + 2); // stands meanwhile

    walker(5, 400, 400);
    walker(6, 400, 500);
    walk2_any(-1, 5, 600, 400, 40, 6, 600, 500, 10);
    EXPECT_EQ(x_of(5), 600);
    EXPECT_GT(x_of(6), 400);
    EXPECT_LT(x_of(6), 600 - 7);

    // Nobody to arrive: one frame, not an endless walk.
    const s32 none[] = {-1};
    const u64 before = harness_presents();
    walk_any(none, -1);
    walk_all(none, -1);
    EXPECT_EQ(harness_presents() - before, 2u);
}

TEST_F(StagingTest, WalkKeepsTheCameraOnTheChosenObject) {
    start();
    walker(5, 400, 400);
    world_state.camera_x = 7;
    world_state.camera_y = 9;
    walk1(-1, 5, 500, 400, 40);
    EXPECT_EQ(world_state.camera_x, 7);
    EXPECT_EQ(world_state.camera_y, 9);
    walk1(5, 5, 600, 700, 40);
    EXPECT_EQ(x_of(5), 600);
    EXPECT_EQ(y_of(5), 700);
    EXPECT_EQ(world_state.camera_x, 600 - 320);
    EXPECT_EQ(world_state.camera_y, 768 - 480); // clamped to the map
}

TEST_F(StagingTest, CameraPanStepsBySpeedAndJumpsWithoutOne) {
    start();
    std::vector<s32> seen;
    harness_on_present([&](const u16*, u64) { seen.push_back(world_state.camera_x); });
    world_state.camera_x = 0;
    world_state.camera_y = 40;
    const u64 t = harness_elapsed_ms();
    camera_pan(25, 40, 10);
    EXPECT_EQ(seen, (std::vector<s32>{10, 20, 25}));
    EXPECT_GE(harness_elapsed_ms() - t, 3u * PAN_FRAME_MS);

    for (s32 speed : {0, -5}) {
        seen.clear();
        camera_pan(-100, 3000, speed); // not clamped to the map
        EXPECT_EQ(seen, (std::vector<s32>{-100})) << speed;
        EXPECT_EQ(world_state.camera_y, 3000);
    }
    harness_on_present(nullptr);
}

TEST_F(StagingTest, WaitsStirTheRandomCounterAndFadesDoNot) {
    start();
    s32 before = rand_counter;
    const u32 waited = wait_ms(100);
    EXPECT_GE(waited, 100u);
    EXPECT_LT(waited, 110u);
    EXPECT_NE(rand_counter, before);

    std::memset(back_buffer, 0x55, size_t(SCREEN_PIXELS) * 2);
    before = rand_counter;
    fade_out();
    fade_in();
    EXPECT_EQ(rand_counter, before);
}

TEST_F(StagingTest, FadeOutEndsBlackAndFadeInEndsOnThePicture) {
    start();
    // Colours the 32 fade levels keep exactly (the lowest green bit of 5-6-5 clear).
    for (s32 i = 0; i < SCREEN_PIXELS; ++i) back_buffer[i] = u16((0x1234 + i % 97) & 0xFFDF);
    std::vector<u16> picture(back_buffer, back_buffer + SCREEN_PIXELS);

    u64 presents = harness_presents();
    u64 t = harness_elapsed_ms();
    fade_in();
    EXPECT_EQ(harness_presents() - presents, u64(FADE_STEPS));
    EXPECT_GE(harness_elapsed_ms() - t, u64(FADE_STEPS * FADE_STEP_MS));
    EXPECT_EQ(std::memcmp(back_buffer, picture.data(), picture.size() * 2), 0);

    presents = harness_presents();
    fade_out();
    EXPECT_EQ(harness_presents() - presents, u64(FADE_STEPS + 1));
    std::vector<u16> black(size_t(SCREEN_PIXELS), 0);
    EXPECT_EQ(std::memcmp(back_buffer, black.data(), black.size() * 2), 0);
    fade_in();
    EXPECT_EQ(std::memcmp(back_buffer, black.data(), black.size() * 2), 0);
}

TEST_F(StagingTest, ChangeMapResetsPlaneHeightTintAndLabels) {
    start();
    attr_set(0, ATTR_PLANE, 3);
    attr_set(0, ATTR_Z, 20);
    attr_set(0, ATTR_TINT, 31);
    label_table[0].countdown = 5;
    label_table[0].object = 0;
    label_table[63].countdown = 9;
    label_table[63].object = u16(LABEL_SCREEN_OBJECT);
    change_map(DARK_MAP, 1500, 900);
    EXPECT_EQ(world_state.current_map, DARK_MAP);
    EXPECT_EQ(attr_get(0, ATTR_MAP), DARK_MAP);
    EXPECT_EQ(x_of(0), 1500);
    EXPECT_EQ(y_of(0), 900);
    EXPECT_EQ(attr_get(0, ATTR_PLANE), 0);
    EXPECT_EQ(attr_get(0, ATTR_Z), 0);
    EXPECT_EQ(attr_get(0, ATTR_TINT), 20);
    EXPECT_EQ(world_state.camera_x, 1500 - 320);
    EXPECT_EQ(world_state.camera_y, 1024 - 480);
    for (const FloatingLabel& l : label_table) EXPECT_EQ(l.countdown, 0);
}

TEST_F(StagingTest, PlaceShowDistancesAndClear) {
    start();
    walker(5, 400, 400);
    obj_place(5, 100, 200, -(WALKER_IMAGES + 30));
    EXPECT_EQ(x_of(5), 100);
    EXPECT_EQ(y_of(5), 200);
    EXPECT_EQ(attr_get(5, ATTR_FRAME), WALKER_IMAGES + 30);
    EXPECT_EQ(attr_get(5, ATTR_MIRROR), 1);
    const u64 presents = harness_presents();
    obj_show_frame(5, WALKER_IMAGES + 4);
    obj_place_show(5, 130, 240, WALKER_IMAGES + 6);
    EXPECT_EQ(harness_presents() - presents, 2u);
    EXPECT_EQ(obj_get_frame(5), WALKER_IMAGES + 6);

    attr_set(5, ATTR_Z, 99); // height does not count
    EXPECT_EQ(obj_distance(5, 0), isqrt(170u * 170u + 60u * 60u));
    EXPECT_EQ(player_distance(330, 340), isqrt(2500));
    EXPECT_EQ(player_distance(-2000000000, 300), isqrt(0xFFFFFFFFu)); // saturates

    obj_clear(5);
    obj_clear(-1);   // ignored
    obj_clear(4096); // ignored
    for (u8 byte : object_table[5].bits) EXPECT_EQ(byte, 0);
    EXPECT_EQ(x_of(0), 300);
}

TEST_F(StagingTest, StopwatchesMeasureAcrossTheTickWrap) {
    HarnessConfig c;
    c.clock_start = 0xFFFFFFF0u;
    start(c);
    const u32 started = timer0_start();
    timer3_start();
    harness_advance(100);
    const u32 elapsed = timer0_elapsed();
    EXPECT_GE(elapsed, 100u);
    EXPECT_LT(elapsed, 120u);
    EXPECT_GE(timer3_elapsed(), elapsed);
    EXPECT_EQ(stopwatches[0], started);
}
