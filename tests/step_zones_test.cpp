// Step zones walked onto by the player with the right button held: the one-shot zone hides itself
// before its scene and fires once, the barring zone says its line, walks the player back and
// stays live, the blocking zone fires when the player walks against it and keeps him outside.
#include "scripts/zones.h"

#include "engine/world/object.h"
#include "engine/world_state.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 FIG = SH_FIGURE_FIRST;
constexpr s32 ZONE = 90;
constexpr s32 ZONE_X = PX + 100; // the zone covers x ZONE_X - 20 .. ZONE_X + 19
constexpr s32 ZONE_LEFT = ZONE_X - SH_FIGURE_W / 2;

using Lines = std::vector<std::string>;

s32 scene_runs = 0;
s32 active_in_scene = -1;
void count_scene() {
    ++scene_runs;
    active_in_scene = attr_get(ZONE, ATTR_ACTIVE);
}

using namespace cue;
constexpr Cue ONCE_CUES[] = {bubble(91_obj, 700_t)};
constexpr StepZone ONCE{.kind = ZONE_ONCE, .cues = ONCE_CUES, .scene = count_scene};
constexpr StepZone LIVE{.kind = ZONE_LIVE, .cues = {}, .scene = count_scene};

class StepZones : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scene_runs = 0;
        active_in_scene = -1;
        sh_object(91, {.x = PX - 200, .y = PY, .frame = FIG});
    }
    // A zone of layer 0 in front of the player, running `row` on its step.
    void zone(const StepZone& row, bool blocks = false) {
        const StepZone* r = &row;
        const s32 slot = sh_script([r] { step_zone(*r); });
        sh_object(ZONE, {.x = ZONE_X, .y = PY, .frame = FIG, .slot = slot, .layer = 0});
        attr_set(ZONE, ATTR_STEP, 1);
        attr_set(ZONE, ATTR_BLOCK, blocks ? 1 : 0);
    }
    // The player walks right past the zone with the right button held.
    void walk_right(s32 frames = 40) {
        world_hold_right_toward(PX + 400, PY, frames);
        sh_field_frames(frames + 2);
    }
};

TEST_F(StepZones, OneShotZoneHidesItselfFirstAndFiresOnce) {
    zone(ONCE);
    walk_right();
    EXPECT_EQ(scene_runs, 1);
    EXPECT_EQ(active_in_scene, 0) << "the zone was still live while its scene played";
    EXPECT_EQ(attr_get(ZONE, ATTR_ACTIVE), 0);
    EXPECT_EQ(sh_only(sh_lines(), {"say"}), Lines{"say_at 91 700"});
    EXPECT_GT(attr_get(0, ATTR_X), ZONE_X + SH_FIGURE_W / 2) << "the player walked on across";
}

TEST_F(StepZones, BarringZoneSaysItsLineWalksThePlayerBackAndStaysLive) {
    struct Case {
        const char* name;
        StepZone row;
        s32 back_x; // where the player stands after the bar
    };
    const Case cases[] = {
        {"back to a point",
         {.kind = ZONE_BAR,
          .voice = {.obj = -1, .position = 2, .portrait = 1000},
          .text = 701,
          .back_by = false,
          .back_x = PX - 30,
          .back_y = PY},
         PX - 30},
        {"back by a distance",
         {.kind = ZONE_BAR,
          .voice = {.obj = ZONE, .position = 0, .portrait = -1},
          .text = 701,
          .back_by = true,
          .back_x = -60,
          .back_y = 0},
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sh_player(PX, PY);
        sh_clear_lines();
        zone(c.row);
        for (s32 round = 1; round <= 2; ++round) {
            walk_right();
            const Lines said = sh_only(sh_lines(), {"say"});
            ASSERT_EQ(said.size(), size_t(round)) << "one line a walk onto the zone";
            EXPECT_EQ(said.back(), c.row.voice.portrait < 0 ? "say_at 90 701" : "say 2 1000 701");
            const s32 x = attr_get(0, ATTR_X);
            EXPECT_LT(x, ZONE_LEFT) << "the player stands off the zone";
            if (c.back_x >= 0) {
                EXPECT_EQ(x, c.back_x);
            } else {
                EXPECT_LE(x, ZONE_LEFT - 60 + SH_FIGURE_W);
            }
            EXPECT_EQ(attr_get(ZONE, ATTR_ACTIVE), 1);
        }
    }
}

TEST_F(StepZones, BlockingZoneFiresWhenWalkedAgainstAndKeepsThePlayerOutside) {
    zone(LIVE, true);
    walk_right(20);
    EXPECT_GE(scene_runs, 1);
    EXPECT_EQ(active_in_scene, 1);
    EXPECT_LT(attr_get(0, ATTR_X), ZONE_LEFT);
    EXPECT_EQ(attr_get(ZONE, ATTR_ACTIVE), 1);

    // Opened by its scene (the block dropped), it lets the player through.
    attr_set(ZONE, ATTR_BLOCK, 0);
    walk_right();
    EXPECT_GT(attr_get(0, ATTR_X), ZONE_X);
}

} // namespace
