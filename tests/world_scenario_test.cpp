// End to end on the real field loop: the player walks across a built map with the right button
// held, a left click on a resident runs the resident's registered script, which turns the two
// toward each other and ends the loop.
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "platform/harness.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr s32 MAP = 3;
constexpr s32 RESIDENT = 20;
constexpr s32 RESIDENT_IMAGE = 3000; // our own test sprites: 3000 standing, 3002..3008 facings

class WorldScenarioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        arc_put_placeholder_content(b);
        world_put_player_images(b);
        // A wide map that scrolls: 1600 x 768, walkable everywhere.
        world_put_map(b, MAP, 1600, 768, [](s32, s32) { return WORLD_GROUND; });
        for (s32 i = 0; i < 5; i++)
            world_put_sprite(b, RESIDENT_IMAGE + 2 * i, 30, 50, 15, 49, u16(0x001F + i));
        world_start(b);
    }
    void TearDown() override { world_stop(); }
    HarnessTempDir dir;
    ArcBuilder b;
};

TEST_F(WorldScenarioTest, WalkAcrossClickAResidentAndEndTheLoop) {
    struct Seen {
        s32 runs = 0;
        s32 object = -1;
        s32 kind = -1;
        s32 player_x = -1;
        s32 facing = -1;
    } seen;
    const s32 resident_script = world_script([&] {
        seen.runs++;
        seen.object = world_state.event_object;
        seen.kind = world_state.trigger_kind;
        seen.player_x = attr_get(0, ATTR_X);
        const s32 self = world_state.event_object;
        obj_set_frame(0, player_face_frame(attr_get(0, ATTR_X), attr_get(0, ATTR_Y),
                                           attr_get(self, ATTR_X), attr_get(self, ATTR_Y)));
        seen.facing = obj_face(0, self, RESIDENT_IMAGE + 2, RESIDENT_IMAGE + 4, RESIDENT_IMAGE + 6,
                               RESIDENT_IMAGE + 8);
        world_state.field_active = 0;
    });
    make_player(MAP, 100, 400, world_script([] {}), 0);
    make_npc(RESIDENT, MAP, 1200, 400, resident_script, 1, RESIDENT_IMAGE, 1);
    world_place_player(MAP, 100, 400);

    // Walk right across two screens, stop, then click the resident's body.
    world_hold_right_toward(1150, 400, 150);
    world_after_presents(160, [] { world_click_map(1200, 380); });
    const WorldRun run = world_run_field(400);

    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(seen.object, RESIDENT);
    EXPECT_EQ(seen.kind, TRIG_CLICK);
    // Arrived within the pointer's dead zone: 8 pixels, horizontal distances counting 3/4.
    EXPECT_NEAR(seen.player_x, 1150, 11);
    EXPECT_GT(world_state.camera_x, 500); // the camera followed
    EXPECT_EQ(seen.facing, 0);            // the player stands left of the resident
    EXPECT_EQ(attr_get(RESIDENT, ATTR_FRAME), RESIDENT_IMAGE + 2);
    EXPECT_EQ(u32{world_state.idle_frames}, 99u); // the click keeps the pose the script gave
    bool footstep = false;
    for (const SoundCall& c : harness_sound_log()) footstep |= c.op == "play";
    EXPECT_TRUE(footstep);
}

} // namespace
