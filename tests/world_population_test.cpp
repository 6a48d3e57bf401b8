// The world's initial population (checked as data over every region's rows, and once on the real
// field loop), the door scripts and the registration of the object scripts.
#include "data/timetables.h"
#include "data/world_content.h"
#include "data/world_population.h"
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "game/player.h"
#include "game/world_populate.h"
#include "platform/harness.h"
#include "scripts/home/portals.h"
#include "scripts/scripts_register.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

#include <gtest/gtest.h>

namespace {

// ---- Door scripts -----------------------------------------------------------------------------

TEST(PortalFrames, ConvertBetweenTheTwoSpriteSetsByDirection) {
    struct Case {
        s32 frame, alt;
    };
    const Case to_alt[] = {
        {256, 672},   {271, 672},   {272, 674},   {-272, -674}, // walking groups 0 and 1
        {288, 676},   {-300, 676},  {304, 678},   {320, 680},   // groups 2, 3 (never mirrored), 4
        {-335, -680}, {352, 674},   {-415, -680},               // running frames
        {416, 672},   {-416, -672}, {418, 674},   {420, 676},   {424, 680}, {-424, -680},
        {672, 672},   {-674, -674}, {0, 0},       {255, 255},   {417, 417}, {426, 426}, // kept
    };
    for (const Case& c : to_alt)
        EXPECT_EQ(portal_frame_to_alt_set(c.frame), c.alt) << "frame " << c.frame;
    const Case to_main[] = {
        {512, 416}, {-528, -418}, {544, 420}, {560, 422},   {-660, -424}, {672, 416}, {-674, -418},
        {678, 422}, {680, 424},   {416, 416}, {-418, -418}, {0, 0},       {681, 681},
    };
    for (const Case& c : to_main)
        EXPECT_EQ(portal_frame_to_main_set(c.frame), c.alt) << "frame " << c.frame;
}

TEST(PortalAreas, ArrivalMapsNameTheirAreaAndOthersKeepIt) {
    const s32 cases[][2] = {{10, 1},  {60, 2}, {200, 4},  {73, 21}, {142, 26},
                            {14, -1}, {0, -1}, {255, -1}, {-5, -1}};
    for (const auto& c : cases) EXPECT_EQ(portal_area_for_map(c[0]), c[1]) << "map " << c[0];
}

class PortalScriptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_put_player_images(b);
        map_put_placeholder_maps(b);
        world_start(b);
        scripts_register_events();
        init_npc_timetables();
        world_place_player(10, 500, 500);
        make_player(10, 500, 500, 0, 0);
        player_record.area = 7;
        player_record.music_id = -1;
    }
    void TearDown() override { world_stop(); }
    // A door on the player's map to dest at (x, y), run with the given trigger.
    void door(s32 slot, s32 dest, s32 x, s32 y, s32 kind = TRIG_STEP) {
        if (slot == PORTAL_EVENT)
            make_portal(DOOR, world_state.current_map, 100, 100, 3001, dest, x, y);
        else
            make_portal_fixed(DOOR, world_state.current_map, 100, 100, 3001, dest, x, y);
        world_fire(DOOR, kind);
    }
    static constexpr s32 DOOR = 300;
    HarnessTempDir dir;
};

TEST_F(PortalScriptTest, StepMovesThePlayerSetsAreaAndMusic) {
    map_music[14] = 10050;
    door(PORTAL_EVENT, 14, 257, 373);
    EXPECT_EQ(world_state.current_map, 14);
    EXPECT_EQ(attr_get(0, ATTR_MAP), 14);
    EXPECT_EQ(attr_get(0, ATTR_X), 257);
    EXPECT_EQ(attr_get(0, ATTR_Y), 373);
    EXPECT_EQ(player_record.music_id, 10050);
    EXPECT_EQ(player_record.area, 7); // map 14 has no area of its own

    map_music[10] = -1;
    door(PORTAL_EVENT, 10, 5247, 1528);
    EXPECT_EQ(world_state.current_map, 10);
    EXPECT_EQ(player_record.music_id, 10050); // no track of its own: keep the music
    EXPECT_EQ(player_record.area, 1);
}

TEST_F(PortalScriptTest, OtherTriggersDoNothing) {
    for (s32 slot : {PORTAL_EVENT, PORTAL_FIXED_EVENT})
        for (s32 kind : {TRIG_CLICK, TRIG_TOUCH, TRIG_TIMER}) {
            door(slot, 14, 257, 373, kind);
            EXPECT_EQ(world_state.current_map, 10) << "slot " << slot << " trigger " << kind;
            EXPECT_EQ(attr_get(0, ATTR_X), 500);
        }
}

TEST_F(PortalScriptTest, DoorsOntoMap73SwitchTheSpriteSet) {
    obj_set_frame(0, -(256 + 16 + 5)); // walking diagonally, mirrored (group 1)
    door(PORTAL_EVENT, 73, 300, 300);
    EXPECT_EQ(world_state.player_sprite_set, 1u);
    EXPECT_EQ(obj_get_frame(0), -674);
    EXPECT_EQ(player_record.area, 21);

    obj_set_frame(0, -(512 + 16 + 3)); // walked on map 73
    door(PORTAL_EVENT, 73, 400, 300);  // 73 to 73: the set stays, the frame is not converted
    EXPECT_EQ(world_state.player_sprite_set, 1u);
    EXPECT_EQ(obj_get_frame(0), -(512 + 16 + 3));

    obj_set_frame(0, -674);
    door(PORTAL_EVENT, 10, 500, 500);
    EXPECT_EQ(world_state.player_sprite_set, 0u);
    EXPECT_EQ(obj_get_frame(0), -418);

    obj_set_frame(0, 300); // first set elsewhere: no conversion
    door(PORTAL_EVENT, 14, 100, 100);
    EXPECT_EQ(obj_get_frame(0), 300);
}

TEST_F(PortalScriptTest, FixedDoorsShowTheirArrivalFrames) {
    obj_set_frame(0, -418);
    door(PORTAL_FIXED_EVENT, 42, 67, 790);
    EXPECT_EQ(obj_get_frame(0), -418); // no map 73 on either side: the frame stays
    EXPECT_EQ(world_state.player_sprite_set, 0u);

    door(PORTAL_FIXED_EVENT, 73, 67, 790);
    EXPECT_EQ(obj_get_frame(0), PORTAL_FIXED_ENTER_FRAME);
    EXPECT_EQ(world_state.player_sprite_set, 1u);

    door(PORTAL_FIXED_EVENT, 41, 104, 1286);
    EXPECT_EQ(obj_get_frame(0), PORTAL_FIXED_LEAVE_FRAME);
    EXPECT_EQ(world_state.player_sprite_set, 0u);
    EXPECT_EQ(world_state.current_map, 41);
}

TEST(ScriptRegistration, EveryScriptTakesItsOwnSlot) {
    scripts_register_events();
    scripts_register_events(); // a second call registers nothing again
    EXPECT_EQ(event_conflict_count(), 0)
        << "slot " << event_conflict(0).slot << " claimed by " << event_conflict(0).owner
        << " after " << (event_conflict(0).previous_owner ? event_conflict(0).previous_owner : "-");
    EXPECT_EQ(object_event_table[6], &object_event_0006);
    EXPECT_EQ(object_event_table[7], &object_event_0007);
    EXPECT_EQ(object_event_table[60], &object_event_0060);
    EXPECT_EQ(object_event_table[800], &object_event_0800);
}

} // namespace
