// The episode of the two camps on maps 61 to 66, route 2: the crowd, the barred ways, the three
// ambushes, the finale and the closing visit, on the objects the route-2 set-up makes.
#include "scripts/episodes/camps.h"

#include "data/scene_rows.h"
#include "engine/gisk.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

bool active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE) != 0;
}

std::string label(s32 obj, s32 text) {
    return "label " + std::to_string(obj) + " " + std::to_string(text) + " -52 -108 1000";
}

class Camps : public ScriptTest {
  protected:
    void SetUp() override {
        // Maps 61 to 66 share the harness map's grid.
        sh_start([](ArcBuilder& b) {
            for (s32 map = 61; map <= 66; ++map)
                b.alias(u32(ARC_MAP_BASE + map), u32(ARC_MAP_BASE + SH_MAP));
        });
        sh_register_all();
        sh_new_player();
        sh_player(1584, 1178, 61);
        const SceneDescriptor& d = scene_descriptor(SCENE_129_2);
        for (const SceneRows& part : d.objects)
            if (part.count != 0) world_rows_run(part.rows, part.count);
        world_state.field_active = 1;
        sh_clear_lines();
        sh_clear_calls();
    }
    static void step_on(s32 zone) {
        sh_player(attr_get(zone, ATTR_X), attr_get(zone, ATTR_Y), attr_get(zone, ATTR_MAP));
        sh_fire(zone, TRIG_STEP);
    }
};

// ---- The crowd ---------------------------------------------------------------------------------

struct CrowdCase {
    s32 slot;
    s32 n;
    s32 near_wrap, wrapped; // a timer run from the first frame shows the second
};

TEST_F(Camps, CrowdShoutsAfterMoreThanNRunsOfItsSlotWhereverTheyRan) {
    const CrowdCase cases[] = {
        {1206, 30, -52548, -52532},
        {1207, 25, -52568, -52552},
        {1208, 25, 52661, 52653},
        {1209, 30, 52661, 52653},
    };
    for (const CrowdCase& c : cases) {
        SCOPED_TRACE(c.slot);
        const CrowdRow* row = nullptr;
        for (const CrowdRow& r : camps_crowd())
            if (r.slot == c.slot) row = &r;
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->shout_after, c.n);
        const s32 a = row->map61[0];
        const s32 b = row->map63[1];
        EXPECT_EQ(attr_get(a, ATTR_EVENT), c.slot);
        EXPECT_EQ(attr_get(b, ATTR_EVENT), c.slot);
        sh_clear_lines();
        // Members of both maps share one count; the runs on map 62 count too.
        world_state.current_map = 61;
        for (s32 i = 0; i < c.n - 5; ++i) sh_fire(i % 2 == 0 ? a : b, TRIG_CLICK);
        world_state.current_map = 62;
        for (s32 i = 0; i < 10; ++i) sh_fire(b, TRIG_CLICK);
        EXPECT_EQ(sh_talk_lines(), Lines{});
        world_state.current_map = 63;
        sh_fire(b, TRIG_CLICK);
        EXPECT_EQ(sh_talk_lines(), Lines{label(b, row->shout)});
        EXPECT_EQ(*row->count, 0);
        // A click run does not animate; a timer run steps the cycle, wraps and re-arms 3.
        obj_set_frame(a, c.near_wrap);
        sh_fire(a, TRIG_CLICK);
        EXPECT_EQ(obj_get_frame(a), c.near_wrap);
        sh_fire(a, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(a), c.wrapped);
        EXPECT_EQ(attr_get(a, ATTR_TIMER), 3);
    }
}

TEST_F(Camps, CrowdHoldsOneMemberInStateOneAndStandsStillInStateTwo) {
    const CrowdRow& r = camps_crowd()[0]; // slot 1206, held member 3539 at 6280
    script_set_stage(CROWD_STATE_OBJ, CROWD_HELD);
    obj_set_frame(r.held.obj, -52540);
    attr_set(r.held.obj, ATTR_TIMER, 0);
    sh_fire(r.held.obj, TRIG_TIMER);
    EXPECT_EQ(shout_count_1206, 0);
    EXPECT_EQ(obj_get_frame(r.held.obj), r.held.frame);
    EXPECT_EQ(attr_get(r.held.obj, ATTR_TIMER), 0);
    // Another member counts, animates and puts the held member back on its frame.
    obj_set_frame(r.held.obj, -52540);
    sh_fire(3550, TRIG_TIMER);
    EXPECT_EQ(shout_count_1206, 1);
    EXPECT_EQ(obj_get_frame(3550), -52538);
    EXPECT_EQ(obj_get_frame(r.held.obj), r.held.frame);

    script_set_stage(CROWD_STATE_OBJ, CROWD_STILL);
    obj_set_frame(3570, -52535);
    attr_set(3570, ATTR_TIMER, 0);
    sh_fire(3570, TRIG_TIMER);
    EXPECT_EQ(shout_count_1206, 1);
    EXPECT_EQ(obj_get_frame(3570), -52535);
    EXPECT_EQ(attr_get(3570, ATTR_TIMER), 0);
    const std::pair<s32, s32> still[] = {{3539, 6280}, {3550, 6270}, {3552, 6280}, {3555, 6270}};
    for (const auto& [obj, frame] : still) EXPECT_EQ(obj_get_frame(obj), frame) << obj;
}

// ---- The barred ways ---------------------------------------------------------------------------

TEST_F(Camps, BarredWaysSayTheirLineWalkBackAndStay) {
    struct Case {
        s32 zone;
        std::string line;
        s32 x, y;
    };
    const Case cases[] = {
        {3679, sh_box(3, 1118, 60435), 796, 552},
        {3613, sh_bubble(3613, 57506), 796, 552},
        {3622, sh_box(2, 1000, 57526), 946, 645},
        {3623, sh_box(2, 1000, 57526), 469, 792},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        attr_set(c.zone, ATTR_ACTIVE, 1); // 3623 waits hidden for a refusal on route 1
        sh_clear_lines();
        step_on(c.zone);
        EXPECT_EQ(sh_talk_lines(), Lines{c.line});
        EXPECT_EQ(attr_get(0, ATTR_X), c.x);
        EXPECT_EQ(attr_get(0, ATTR_Y), c.y);
        EXPECT_TRUE(active(c.zone));
    }
}

// ---- Route 2 -----------------------------------------------------------------------------------

TEST_F(Camps, AmbushesPlayInAnyOrderAndEquipTheGiftOverWhatWasThere) {
    player_record.equip[3] = 2;
    step_on(3553);
    step_on(3517);
    sh_fire(3500, TRIG_CLICK); // the first ambush answers its step only
    EXPECT_TRUE(active(3500));
    step_on(3500);
    EXPECT_EQ(sh_battle_fighters().size(), 3u);
    for (const s32 zone : {3500, 3517, 3553}) EXPECT_FALSE(active(zone)) << zone;
    EXPECT_EQ(player_record.equip[3], 6);
    EXPECT_TRUE(inv_has(1506));
    EXPECT_EQ(player_record.story_flags[ROUTE2_OUTCOME_FLAG], 0);
    EXPECT_EQ(world_state.field_active, 1);
    // The second ambush came after the third: the crowd is held.
    EXPECT_EQ(script_stage(CROWD_STATE_OBJ), CROWD_HELD);
    for (const s32 member : {3539, 3540, 3545, 3546, 3547, 3552, 3554, 3555})
        EXPECT_TRUE(active(member)) << member;
    for (const s32 bystander : {3501, 3504, 3507}) EXPECT_FALSE(active(bystander)) << bystander;
}

TEST_F(Camps, EveryLostBattleEndsTheRouteBeforeItsNextStep) {
    struct Case {
        const char* what;
        s32 zone;
        bool second;   // the loss is the second battle, the first won
        s32 untouched; // an object the next step would hide
    };
    const Case cases[] = {
        {"first ambush", 3500, false, 3502},     {"second ambush", 3517, false, 3504},
        {"third ambush", 3553, false, 3507},     {"finale, battle 42", 3563, false, 3564},
        {"finale, battle 43", 3563, true, 3562},
    };
    bool fresh = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!fresh) {
            TearDown();
            SetUp();
        }
        fresh = false;
        if (c.second) {
            sh_battle_results({1, 0});
        } else {
            sh_battle_results({0});
        }
        step_on(c.zone);
        EXPECT_EQ(sh_battle_fighters().size(), c.second ? 2u : 1u);
        EXPECT_EQ(player_record.story_flags[ROUTE2_OUTCOME_FLAG], ROUTE2_LOST);
        EXPECT_EQ(world_state.field_active, 0);
        EXPECT_TRUE(active(c.untouched));
        EXPECT_TRUE(active(c.zone));
    }
}

TEST_F(Camps, ARoundLimitResultGoesOnAsAWin) {
    sh_battle_results({2});
    step_on(3553);
    EXPECT_EQ(player_record.story_flags[ROUTE2_OUTCOME_FLAG], 0);
    EXPECT_EQ(script_stage(CROWD_STATE_OBJ), CROWD_STILL);
    EXPECT_EQ(attr_get(0, ATTR_X), 446);
    EXPECT_EQ(attr_get(0, ATTR_Y), 731);
    EXPECT_EQ(sh_talk_lines(), (Lines{sh_bubble(3553, 57311), sh_box(3, 1118, 57312)}));
}

TEST_F(Camps, FinaleWinsTheRouteAndClosesWithTheVisit) {
    const s32 money = player_record.money;
    sh_battle_results({1, 2});
    step_on(3563);
    const auto& fought = sh_battle_fighters();
    ASSERT_EQ(fought.size(), 2u);
    EXPECT_EQ(player_record.story_flags[ROUTE2_OUTCOME_FLAG], ROUTE2_WON);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(player_record.money, money + 5000);
    EXPECT_TRUE(inv_has(1281));
    EXPECT_FALSE(active(3563));
    EXPECT_FALSE(active(3562));
    EXPECT_EQ(attr_get(3561, ATTR_X), 155);
    EXPECT_EQ(obj_get_frame(3561), 6322);
    EXPECT_EQ(obj_get_frame(3560), 10228);
    EXPECT_EQ(obj_get_frame(3566), -6402);
    // The effect of the other route is not touched.
    EXPECT_FALSE(active(2070));
    EXPECT_NE(obj_get_frame(2070), 23747);

    const Lines lines = sh_talk_lines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines.front(), sh_box(3, 1118, 57313));
    // The visit of person 163: two lines of his, then five alternating from the player.
    const Lines visit(lines.end() - 7, lines.end());
    EXPECT_EQ(visit, (Lines{sh_box(2, 1163, 18162), sh_box(2, 1163, 18163), sh_box(3, 1000, 18164),
                            sh_box(2, 1163, 18165), sh_box(3, 1000, 18166), sh_box(2, 1163, 18167),
                            sh_box(3, 1000, 18168)}));
    EXPECT_EQ(attr_get(VISITOR_OBJ, ATTR_MAP), 62);
    EXPECT_EQ(attr_get(VISITOR_OBJ, ATTR_X), 293);
    EXPECT_EQ(attr_get(VISITOR_OBJ, ATTR_Y), 301);
    EXPECT_FALSE(active(VISITOR_OBJ));
    EXPECT_EQ(obj_get_frame(0), 424);
}

TEST(CampsPlaceholders, EveryFrameAndPictureHasAnImage) {
    const FramesShown shown = frames_shown(camps_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
