// Walking: the terrain test, the player's walking step with wall sliding, blockers, footsteps and
// step triggers driven by held right buttons through the real field loop, the player handler's
// click, idle and posed cases, and the scripted step.
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/world/events.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/walk.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "tests/world_harness.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr s32 OPEN_MAP = 1;
constexpr s32 DIAGONAL_MAP = 2; // walkable on and below the line x = y of the first zone
constexpr s32 CORNER_MAP = 3;   // the same, and only down to y = 200
constexpr s32 POINTS_MAP = 4;   // a few single walkable points
constexpr s32 SOLID_IMAGE = 3000;
constexpr s32 BLOCK_IMAGES = 2000; // one block of 50 frames of a scripted walker
constexpr s32 END_OBJECT = 4000;
constexpr u32 FOOTSTEP = 3;
constexpr u32 SHADE = 2;
constexpr u32 GROUND_SOUNDING = WORLD_GROUND | (SHADE << 9) | (FOOTSTEP << 12);

bool in_points(s32 x, s32 y) {
    // (10, 50) has 3 of its 5 test points walkable, (30, 50) only 2.
    static const s32 pts[][2] = {{10, 50}, {9, 49}, {11, 51}, {30, 50}, {29, 49}};
    for (const auto& p : pts)
        if (p[0] == x && p[1] == y) return true;
    return false;
}

class WalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        world_put_basics(b, OPEN_MAP);
        world_put_map(
            b, OPEN_MAP, 1024, 768, [](s32, s32) { return GROUND_SOUNDING; }, 1);
        world_put_map(
            b, DIAGONAL_MAP, 640, 480, [](s32 x, s32 y) { return x <= y ? WORLD_GROUND : 0u; }, 20);
        world_put_map(
            b, CORNER_MAP, 640, 480,
            [](s32 x, s32 y) { return x <= y && y <= 200 ? WORLD_GROUND : 0u; }, 40);
        world_put_map(
            b, POINTS_MAP, 640, 480,
            [](s32 x, s32 y) { return in_points(x, y) ? WORLD_GROUND : 0u; }, 60);
        world_put_sprite(b, SOLID_IMAGE, 40, 40, 20, 39, 0x7C00);
        for (s32 id = BLOCK_IMAGES; id < BLOCK_IMAGES + 50; id += 2)
            world_put_sprite(b, id, 20, 40, 10, 39, 0x03E0);
        b.put(ARC_SOUND_BASE + 100 + FOOTSTEP, wav_tone(WavFormat{}, 50, 440));
        world_start(b);
        walk_reset();
    }
    void TearDown() override { world_stop(); }

    // Ends the field loop after `frames` frames (the frame in which the timer fires is not
    // presented).
    void end_after(s32 map, s32 frames) {
        world_place_object(END_OBJECT, map, 0, 0, 0, world_end_slot(), 0);
        world_arm_timer(END_OBJECT, frames);
    }
    s32 px() { return attr_get(0, ATTR_X); }
    s32 py() { return attr_get(0, ATTR_Y); }

    // Sets the walking outputs of the camera as if the pointer lay in direction `dir`.
    void aim(s32 dir, s32 speed) {
        world_state.step_x = dir_step_x_of(dir);
        world_state.step_y = dir_step_y_of(dir);
        world_state.walk_speed = u8(speed);
        world_state.walk_sector = u8(((dir + 22) % 360) / 45);
        slide_first_x = dir_step_x_of((dir + 338) % 360);
        slide_first_y = dir_step_y_of((dir + 338) % 360);
        slide_second_x = dir_step_x_of((dir + 382) % 360);
        slide_second_y = dir_step_y_of((dir + 382) % 360);
    }
    static s32 dir_step_x_of(s32 dir) { return dir_step_x[size_t(dir)]; }
    static s32 dir_step_y_of(s32 dir) { return dir_step_y[size_t(dir)]; }
    bool effect_playing(s32 id) {
        return std::find(std::begin(mssw_effect_ids), std::end(mssw_effect_ids), id) !=
               std::end(mssw_effect_ids);
    }
    HarnessTempDir dir;
};

} // namespace

TEST_F(WalkTest, APointIsWalkableWhenThreeOfItsFivePointsAre) {
    world_place_player(POINTS_MAP, 100, 100);
    struct Case {
        s32 x, y, mask, walkable;
    } cases[] = {
        {10, 50, 1, 1},  // 3 of 5
        {30, 50, 1, 0},  // 2 of 5
        {10, 50, 2, 0},  // class 1 is not on mask 2
        {-1, -1, 1, 0},  // off the map
        {10, 50, 1, 1},  // memo
        {700, 50, 1, 0}, // past the map's width
    };
    for (const Case& c : cases)
        EXPECT_EQ(walkable_at(c.x, c.y, u32(c.mask)), c.walkable) << c.x << "," << c.y;
}

TEST_F(WalkTest, WalkAnimatesEverySecondFrameAndSoundsFootstepsByPace) {
    struct Case {
        s32 speed, frame_offset;
        u32 footstep_count;
    } cases[] = {{5, 0, 31}, {10, 80, 15}};
    for (const Case& c : cases) {
        world_place_player(OPEN_MAP, 300, 300);
        walk_reset();
        mssw_stop_all();
        aim(0, c.speed);
        drawlist_build();
        s32 last_x = px();
        for (u32 n = 1; n <= c.footstep_count; ++n) {
            const s32 before = attr_get(0, ATTR_FRAME);
            EXPECT_FALSE(effect_playing(100 + FOOTSTEP)) << n;
            player_move();
            EXPECT_EQ(px() - last_x, c.speed + 1) << n;
            last_x = px();
            const s32 frame = attr_get(0, ATTR_FRAME);
            if (n % 2 == 1)
                EXPECT_EQ(frame, PLAYER_BASE + c.frame_offset + ((before + 2) & 14)) << n;
            else
                EXPECT_EQ(frame, before) << n;
        }
        EXPECT_TRUE(effect_playing(100 + FOOTSTEP)) << c.speed;
        EXPECT_EQ(attr_get(0, ATTR_TINT), s32(SHADE * 4));
        EXPECT_EQ(attr_get(0, ATTR_MIRROR), 0);
        EXPECT_EQ(u32(world_state.idle_frames), 0u);
    }
}

TEST_F(WalkTest, ABlockedStepSlidesAtMinusOrPlusTwentyTwoDegrees) {
    // The wall x = y runs at 315 degrees; the player stands on it.
    struct Case {
        s32 dir, end_x, end_y;
    } cases[] = {
        {337, 158, 158}, // direct refused, -22 degrees (315) runs along the wall
        {113, 142, 142}, // direct and -22 (91) refused, +22 degrees (135) runs along it
        {270, 150, 161}, // away from the wall: the direct step
    };
    for (const Case& c : cases) {
        world_place_player(DIAGONAL_MAP, 150, 150);
        aim(c.dir, 10);
        drawlist_build();
        player_move();
        EXPECT_EQ(px(), c.end_x) << c.dir;
        EXPECT_EQ(py(), c.end_y) << c.dir;
    }
}

TEST_F(WalkTest, HeldRightButtonSlidesAlongADiagonalWall) {
    world_place_player(DIAGONAL_MAP, 100, 102);
    // About 337 degrees: into the wall; without sliding the player would stop at it within
    // the first frame.
    world_hold_right_toward(639, 330, 100);
    end_after(DIAGONAL_MAP, 8);
    WorldRun run = world_run_field(50);
    ASSERT_TRUE(run.ended && !run.watchdog && !run.budget_spent);
    EXPECT_GT(py(), 102 + 20);
    EXPECT_LE(px() - py(), 0);
    EXPECT_EQ(walkable_at(px(), py(), 1), 1);
}

TEST_F(WalkTest, HeldRightButtonIntoACornerStands) {
    world_place_player(CORNER_MAP, 180, 196);
    world_hold_right_toward(639, 479, 100);
    end_after(CORNER_MAP, 30);
    WorldRun run = world_run_field(60);
    ASSERT_TRUE(run.ended && !run.watchdog);
    const s32 x = px(), y = py();
    EXPECT_LE(y, 200);
    EXPECT_GE(x, 190);
    // Standing still, facing down-right.
    EXPECT_EQ(world_state.walk_sector, 7);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + stand_frames[7]);
    world_state.walk_speed = 10;
    drawlist_build();
    player_move();
    EXPECT_EQ(px(), x);
    EXPECT_EQ(py(), y);
}

TEST_F(WalkTest, ABlockerUndoesTheWholeStep) {
    world_place_player(OPEN_MAP, 200, 200);
    world_place_object(5, OPEN_MAP, 260, 200, SOLID_IMAGE, 0); // covers x 240..279
    attr_set(5, ATTR_BLOCK, 1);
    world_hold_right_toward(560, 200, 100);
    end_after(OPEN_MAP, 12);
    WorldRun run = world_run_field(50);
    ASSERT_TRUE(run.ended && !run.watchdog);
    EXPECT_LT(px(), 240);
    EXPECT_GE(px(), 240 - 12);
    EXPECT_EQ(py(), 200);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + stand_frames[0]);
}

TEST_F(WalkTest, StepTriggerFiresEveryHeldFrameEvenInTheDeadZone) {
    world_place_player(OPEN_MAP, 300, 300);
    s32 fired = 0;
    const s32 slot = world_script([&] {
        ++fired;
        EXPECT_EQ(world_state.trigger_kind, TRIG_STEP);
        EXPECT_EQ(world_state.event_object, 6);
    });
    world_place_object(6, OPEN_MAP, 310, 310, SOLID_IMAGE, slot, 1);
    attr_set(6, ATTR_STEP, 1);
    // Pointer 5 pixels right of the drawn foot point: speed 0.
    world_hold_right_toward(305, 300, 100);
    end_after(OPEN_MAP, 6);
    WorldRun run = world_run_field(50);
    ASSERT_TRUE(run.ended && !run.watchdog);
    EXPECT_EQ(px(), 300);
    EXPECT_EQ(py(), 300);
    EXPECT_GE(fired, 5);
    EXPECT_LE(fired, 6);
    EXPECT_EQ(u32(world_state.idle_frames), 99u);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + stand_frames[world_state.walk_sector & 7]);
}

TEST_F(WalkTest, IdlePlayerStandsAfterTenFramesUnlessAClickPosedIt) {
    world_place_player(OPEN_MAP, 300, 300);
    field_buttons = 0;
    world_state.walk_sector = 2;
    world_state.idle_frames = 0;
    attr_set(0, ATTR_FRAME, PLAYER_BASE + 40);
    for (s32 i = 0; i < 9; ++i) player_frame(0);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + 40);
    player_frame(0);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + stand_frames[2]);
    EXPECT_EQ(u32(world_state.idle_frames), 0u);

    // A click on a clickable object runs its script; the pose it gave stays.
    s32 clicks = 0;
    const s32 slot = world_script([&] {
        ++clicks;
        attr_set(0, ATTR_FRAME, PLAYER_BASE + 44);
    });
    world_place_object(7, OPEN_MAP, 400, 300, SOLID_IMAGE, slot);
    attr_set(7, ATTR_CLICK, 1);
    drawlist_build();
    field_point_x = 400;
    field_point_y = 290;
    player_frame(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(u32(world_state.idle_frames), 99u);
    for (s32 i = 0; i < 20; ++i) player_frame(0);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + 44);
}

TEST_F(WalkTest, PosedPlayerIgnoresTheRightButtonAndFiresItsTimer) {
    world_place_player(OPEN_MAP, 300, 300);
    s32 fired = 0;
    const s32 slot = world_script([&] { ++fired; });
    attr_set(0, ATTR_EVENT, slot);
    attr_set(0, ATTR_TIMER_ON, 1);
    attr_set(0, ATTR_TIMER, 2);
    field_buttons = 2;
    aim(0, 10);
    drawlist_build();
    player_frame(0);
    EXPECT_EQ(fired, 0);
    player_frame(0);
    EXPECT_EQ(fired, 1);
    player_frame(0); // a timer left at 0 fires every frame
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(px(), 300);
}

TEST_F(WalkTest, ScriptedStepArrivesSnapsAndStands) {
    world_place_player(OPEN_MAP, 300, 300);
    // 7 pixels off on both axes: arrived, nothing changes.
    attr_set(0, ATTR_FRAME, PLAYER_BASE + 2);
    EXPECT_EQ(obj_step_to(0, 293, 307, 10), 1);
    EXPECT_EQ(px(), 300);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + 2);

    // 8 pixels left: one step of 8 lands in the window, snaps, stands facing left (mirrored).
    EXPECT_EQ(obj_step_to(0, 292, 300, 10), 0);
    EXPECT_EQ(px(), 292);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + 160);
    EXPECT_EQ(attr_get(0, ATTR_MIRROR), 1);
    EXPECT_EQ(obj_step_to(0, 292, 300, 10), 1);

    // Far up: 0.8 x speed per step (7 x 20 / 10 on the positive axis, 8 x 20 / 10 up).
    EXPECT_EQ(obj_step_to(0, 292, 100, 20), 0);
    EXPECT_EQ(py(), 300 - 16);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + 32 + 2);
    EXPECT_EQ(attr_get(0, ATTR_MIRROR), 0);
    EXPECT_EQ(obj_step_to(0, 492, 284, 20), 0);
    EXPECT_EQ(px(), 292 + 14);
}

TEST_F(WalkTest, ScriptedStepOfOtherObjectsUsesBlocksOfFifty) {
    world_place_player(OPEN_MAP, 300, 300);
    world_place_object(9, OPEN_MAP, 300, 300, 0, 0);
    struct Case {
        s32 from_frame, tx, ty, frame, mirror;
    } cases[] = {
        {2002, 400, 300, 2004, 0},                            // right: first half, t at least 4
        {2016, 400, 300, 2018, 0}, {2018, 400, 300, 2004, 0}, // wraps within the half
        {2004, 200, 250, 2006, 1},                            // up-left: mirrored, upper half
        {2004, 200, 300, 2026, 1},                            // left (180): mirrored, lower half
        {2004, 300, 400, 2026, 0},                            // down: second half
        {2004, 250, 400, 2026, 1},
    };
    for (const Case& c : cases) {
        attr_set(9, ATTR_X, 300);
        attr_set(9, ATTR_Y, 300);
        attr_set(9, ATTR_FRAME, c.from_frame);
        EXPECT_EQ(obj_step_to(9, c.tx, c.ty, 10), 0);
        EXPECT_EQ(attr_get(9, ATTR_FRAME), c.frame) << c.from_frame << " " << c.tx;
        EXPECT_EQ(attr_get(9, ATTR_MIRROR), c.mirror) << c.from_frame << " " << c.tx;
    }
    // Landing in the window stands: block + 22 from the second half, block + 2 from the first.
    attr_set(9, ATTR_X, 300);
    attr_set(9, ATTR_Y, 300);
    attr_set(9, ATTR_FRAME, 2024);
    EXPECT_EQ(obj_step_to(9, 300, 310, 10), 0);
    EXPECT_EQ(attr_get(9, ATTR_FRAME), 2022);
    EXPECT_EQ(obj_step_to(9, 310, 310, 10), 0);
    EXPECT_EQ(attr_get(9, ATTR_FRAME), 2002);
}

TEST_F(WalkTest, PlayerStepRunsOnlyWithSpriteSetZero) {
    world_place_player(OPEN_MAP, 300, 300);
    EXPECT_EQ(player_step_to(500, 300, 10), 0);
    EXPECT_EQ(attr_get(0, ATTR_FRAME), PLAYER_BASE + 2 + 80);
    world_state.player_sprite_set = 1;
    EXPECT_EQ(player_step_to(700, 300, 10), 0);
    EXPECT_GE(attr_get(0, ATTR_FRAME), PLAYER_BASE_ALT);
    EXPECT_LT(attr_get(0, ATTR_FRAME), PLAYER_BASE_ALT + 16);
    EXPECT_EQ(player_step_to(px(), 300, 10), 1);
}
