// Route 1 of the episode of the two camps on the script harness, with the objects made by the
// route's real scene rows: the patrol and person 112's talk, the meeting's three branches (and a
// lost battle 44), the guide's stages with the player left on map 64 or already gone, and the two
// finales with their answers and battle results.
#include "scripts/episodes/camps_route1.h"

#include "data/roster.h"
#include "data/scene_rows.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "platform/harness.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PATROL = ROUTE1_PATROL;
constexpr s32 ZONE = ROUTE1_MEETING_ZONE;
constexpr s32 P112 = ROUTE1_PERSON_112;
constexpr s32 GUIDE = ROUTE1_GUIDE;
constexpr s32 FLAG = ROUTE1_OUTCOME_FLAG;

s32 active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE);
}
bool has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
std::vector<s32> battles() {
    std::vector<s32> out;
    for (const std::string& c : sh_calls())
        if (c.rfind("battle ", 0) == 0) out.push_back(std::stoi(c.substr(7)));
    return out;
}

class CampsRoute1 : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            for (const s32 map : {63, 64, 65, 66}) world_put_map(b, map, 2048, 2048, ground, 400);
        });
        sh_register_all();
        set_up();
    }
    // The episode's objects as the route-1 set-up makes them, the player at its start on map 63.
    static void set_up() {
        sh_new_player();
        const SceneDescriptor& d = scene_descriptor(SCENE_129_1);
        for (const SceneRows& part : d.objects) {
            for (size_t i = 0; i < part.count; ++i)
                std::memset(&object_table[part.rows[i].obj], 0, sizeof object_table[0]);
            world_rows_run(part.rows, part.count);
        }
        for (const s32 person : {112, 150, 200}) {
            roster[person].hp_max = 500;
            roster[person].hp = 500;
        }
        sh_player(1584, 1178, 63);
        world_state.field_active = 1;
        sh_clear_calls();
        sh_clear_lines();
    }
};

// ---- Patrol and talk -------------------------------------------------------------------------

TEST_F(CampsRoute1, ThePatrolWalksItsTwoLegsOnItsTimer) {
    const std::array<std::array<s32, 2>, 2> ends = {{{569, 717}, {365, 778}}};
    for (s32 leg = 0; leg < 2; ++leg) {
        ASSERT_EQ(attr_get(PATROL, ATTR_VAR_A), leg);
        for (s32 run = 0; run < 200 && attr_get(PATROL, ATTR_VAR_A) == leg; ++run) {
            sh_fire(PATROL, TRIG_TIMER);
            EXPECT_EQ(attr_get(PATROL, ATTR_TIMER), 3);
        }
        EXPECT_EQ(attr_get(PATROL, ATTR_X), ends[size_t(leg)][0]);
        EXPECT_EQ(attr_get(PATROL, ATTR_Y), ends[size_t(leg)][1]);
    }
    EXPECT_EQ(attr_get(PATROL, ATTR_VAR_A), 0);
}

TEST_F(CampsRoute1, Person112AnswersByStageFromAnyDistanceAndThePatrolNotAtAll) {
    struct Case {
        s32 obj, stage;
        Lines said;
    };
    const Case cases[] = {
        {P112, 0, {sh_box(0, 1112, 61427), sh_box(3, 1000, 61428)}},
        {P112, 1, {sh_box(2, 1112, 61429)}},
        {PATROL, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.obj) + " stage " + std::to_string(c.stage));
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        EXPECT_EQ(sh_click(c.obj, {}, 900), c.said);
    }
}

// ---- The meeting -----------------------------------------------------------------------------

TEST_F(CampsRoute1, TheMeetingLeadsToTheJourneyOrToTheRefusal) {
    struct Case {
        const char* name;
        std::vector<s32> answers;
        s32 result; // of battle 44
        bool journey;
        s32 box_57405;
    };
    const Case cases[] = {
        {"journey at once", {1}, 1, true, 1},
        {"journey after the second question", {0, 0}, 1, true, 0},
        {"journey, battle 44 lost", {1}, 0, true, 1},
        {"refusal", {0, 1}, 1, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_up();
        player_record.party[1] = 150;
        for (const s32 a : c.answers) sh_answers({a});
        sh_battle_results({c.result});
        sh_fire(ZONE, TRIG_STEP);
        const Lines said = sh_talk_lines();

        EXPECT_EQ(active(ZONE), 0); // in every branch, a lost battle included
        EXPECT_EQ(has(said, sh_box(0, 1112, 57390)), c.answers.size() == 2);
        if (!c.journey) {
            EXPECT_EQ(battles(), std::vector<s32>{});
            EXPECT_EQ(active(ROUTE1_BARRED_WAY), 1);
            EXPECT_EQ(attr_get(ROUTE1_BARRED_WAY, ATTR_X), 310);
            EXPECT_EQ(attr_get(ROUTE1_BARRED_WAY, ATTR_Y), 778);
            EXPECT_TRUE(has(said, sh_box(3, 1000, 57511)));
            EXPECT_EQ(player_record.story_flags[FLAG], 0);
            EXPECT_EQ(world_state.field_active, 1);
            continue;
        }
        EXPECT_EQ(active(ROUTE1_BARRED_WAY), 0);
        EXPECT_TRUE(has(said, sh_box(c.box_57405, 1112, 57405)));
        EXPECT_EQ(battles(), std::vector<s32>{44});
        ASSERT_FALSE(sh_battle_fighters().empty());
        const std::vector<s32>& side = sh_battle_fighters().back();
        EXPECT_NE(std::find(side.begin(), side.begin() + 6, 150), side.begin() + 6);
        EXPECT_EQ(attr_get(0, ATTR_MAP), 65);
        EXPECT_EQ(attr_get(P112, ATTR_MAP), 65);
        if (c.result == 0) {
            EXPECT_EQ(player_record.story_flags[FLAG], ROUTE1_LOST);
            EXPECT_EQ(world_state.field_active, 0);
            EXPECT_EQ(active(ROUTE1_SECOND_FINALE), 0);
            continue;
        }
        EXPECT_EQ(player_record.story_flags[FLAG], 0);
        EXPECT_EQ(active(P112), 0);
        EXPECT_EQ(active(ROUTE1_SECOND_FINALE), 1);
        EXPECT_EQ(obj_get_frame(3618), 6290);
        EXPECT_EQ(attr_get(ROUTE1_CROWD_STATE, ATTR_VAR_A), 2);
        EXPECT_EQ(attr_get(3568, ATTR_MAP), 66);
        EXPECT_EQ(obj_get_frame(3578), 6250);
        EXPECT_EQ(active(3578), 1);
        EXPECT_EQ(attr_get(3572, ATTR_MAP), 63); // not among the crowd that moves
        EXPECT_EQ(active(3613), 0);
    }
}

TEST_F(CampsRoute1, TheHealsOfBattle44TakeTheParty) {
    player_record.party[1] = 150;
    sh_answers({1});
    sh_on_call("battle", [] {
        roster[150].hp = 1;
        roster[112].hp = 1;
    });
    sh_fire(ZONE, TRIG_STEP);
    EXPECT_GT(roster[150].hp, 1);
    EXPECT_EQ(roster[112].hp, roster[112].hp_max);
}

// ---- The guide -------------------------------------------------------------------------------

// Clicks the guide from beside him on map 64, then runs his timer until his stage leaves `from`.
void guide_until_past(s32 from) {
    for (s32 run = 0; run < 400 && attr_get(GUIDE, ATTR_VAR_A) == from; ++run)
        sh_fire(GUIDE, TRIG_TIMER);
    EXPECT_EQ(attr_get(GUIDE, ATTR_TIMER), 2);
}

TEST_F(CampsRoute1, TheGuideTalksOnlyAtStage0AndFromNear) {
    sh_player(155 + 150, 212, 64);
    EXPECT_EQ(sh_click(GUIDE, {}, 150), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(attr_get(GUIDE, ATTR_VAR_A), ROUTE1_GUIDE_WAITING);

    const Lines said = sh_click(GUIDE, {}, 60);
    EXPECT_EQ(said.front(), sh_box(3, 1000, 57512));
    EXPECT_EQ(said.back(), sh_box(3, 1000, 57522));
    EXPECT_EQ(attr_get(GUIDE, ATTR_VAR_A), ROUTE1_GUIDE_LEAVING);
    for (const s32 o : {3568, 3579, 3580, 3584}) EXPECT_EQ(active(o), 1) << o;
    EXPECT_EQ(active(PATROL), 0);
    EXPECT_EQ(attr_get(P112, ATTR_X), 420);
    EXPECT_EQ(attr_get(P112, ATTR_Y), 723);

    EXPECT_EQ(sh_click(GUIDE, {}, 60), Lines{});
}

TEST_F(CampsRoute1, TheGuideBringsThePlayerBackToMap63) {
    struct Case {
        const char* name;
        s32 map, x, y;
        bool corner; // walked through (549, 435) first
    };
    const Case cases[] = {
        {"west and north of the corner", 64, 300, 300, true},
        {"north of it", 64, 700, 300, true},
        {"west of it", 64, 300, 600, true},
        {"east and south of it", 64, 700, 600, false},
        {"already on map 63", 63, 1000, 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_up();
        sh_player(200, 212, 64);
        sh_click(GUIDE, {}, 60);
        guide_until_past(ROUTE1_GUIDE_LEAVING);
        EXPECT_EQ(attr_get(GUIDE, ATTR_MAP), 63);
        EXPECT_EQ(attr_get(P112, ATTR_VAR_A), 1);

        sh_player(c.x, c.y, c.map);
        bool through_corner = false;
        harness_on_present([&](const u16*, u64) {
            if (attr_get(0, ATTR_X) == 549 && attr_get(0, ATTR_Y) == 435) through_corner = true;
        });
        sh_clear_lines();
        guide_until_past(ROUTE1_GUIDE_ON_63);
        harness_on_present({});
        EXPECT_EQ(attr_get(GUIDE, ATTR_VAR_A), ROUTE1_GUIDE_MEETING);
        EXPECT_EQ(attr_get(GUIDE, ATTR_X), 484);
        EXPECT_EQ(attr_get(GUIDE, ATTR_Y), 778);
        EXPECT_EQ(through_corner, c.corner);
        const bool left_behind = c.map == 64;
        EXPECT_EQ(has(sh_talk_lines(), sh_box(2, 1000, 57526)), left_behind);
        EXPECT_EQ(sh_only(sh_lines(), {"change_map"}),
                  left_behind ? Lines{"change_map 63 396 586"} : Lines{});
        EXPECT_EQ(attr_get(0, ATTR_MAP), 63);

        sh_clear_lines();
        sh_fire(GUIDE, TRIG_TIMER);
        EXPECT_EQ(sh_talk_lines(),
                  (Lines{sh_box(0, 1200, 57523), sh_box(3, 1000, 57524), sh_box(0, 1200, 57525)}));
        EXPECT_EQ(attr_get(GUIDE, ATTR_VAR_A), ROUTE1_GUIDE_DONE);
        EXPECT_EQ(active(GUIDE), 0);
        EXPECT_EQ(active(ROUTE1_FIRST_FINALE), 1);
        EXPECT_EQ(active(ROUTE1_BARRED_WAY), 0);
    }
}

// ---- The finales -----------------------------------------------------------------------------

TEST_F(CampsRoute1, TheFirstFinaleByAnswerAndBattleResults) {
    struct Case {
        const char* name;
        s32 answer;
        std::vector<s32> results; // battles 45, 46, 47
        std::vector<s32> fought;
        s32 outcome, loyal, affection_200;
    };
    const Case cases[] = {
        {"first answer", 0, {1, 1, 1}, {45, 46, 47}, 1, 0, 20},
        {"second answer", 2, {1, 1, 1}, {45, 46, 47}, 1, 1, 100},
        {"round limits go on", 2, {2, 2, 2}, {45, 46, 47}, 1, 1, 100},
        {"battle 46 lost", 0, {1, 0}, {45, 46}, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_up();
        player_record.affection[200] = 0;
        player_record.affection[118] = 60;
        player_record.party[0] = 150;
        for (const s32 r : c.results) sh_battle_results({r});
        sh_answers({c.answer});
        attr_set(ROUTE1_FIRST_FINALE, ATTR_ACTIVE, 1); // as the guide leaves it
        sh_fire(ROUTE1_FIRST_FINALE, TRIG_STEP);

        EXPECT_EQ(battles(), c.fought);
        ASSERT_GE(sh_battle_fighters().size(), c.fought.size());
        for (size_t i = sh_battle_fighters().size() - c.fought.size();
             i < sh_battle_fighters().size(); ++i) {
            const std::vector<s32>& side = sh_battle_fighters()[i];
            EXPECT_NE(std::find(side.begin(), side.begin() + 6, 200), side.begin() + 6);
        }
        EXPECT_EQ(player_record.story_flags[FLAG], c.outcome);
        EXPECT_EQ(player_record.story_flags[ROUTE1_LOYAL_FLAG], c.loyal);
        EXPECT_EQ(player_record.affection[200], c.affection_200);
        EXPECT_EQ(world_state.field_active, 0);
        const Lines said = sh_talk_lines();
        const bool won = c.outcome == ROUTE1_FIRST_END;
        EXPECT_EQ(player_record.affection[118], won ? 10 : 60);
        EXPECT_EQ(inv_has(1507), won ? 1 : 0);
        EXPECT_EQ(has(said, sh_box(1, 1200, 57580)), won && c.answer == 0);
        EXPECT_EQ(has(said, sh_box(1, 1200, 57590)), won && c.answer == 2);
        EXPECT_EQ(has(said, sh_box(2, 1163, 18155)), won);
        EXPECT_EQ(active(ROUTE1_FIRST_FINALE), won ? 0 : 1);
    }
}

TEST_F(CampsRoute1, TheSecondFinaleEndsWith3OrWith2WhenBattle48IsLost) {
    for (const s32 result : {1, 2, 0}) {
        SCOPED_TRACE("battle 48 -> " + std::to_string(result));
        set_up();
        sh_player(800, 500, 66);
        sh_battle_results({result});
        attr_set(ROUTE1_SECOND_FINALE, ATTR_ACTIVE, 1); // as battle 44 won leaves it
        sh_fire(ROUTE1_SECOND_FINALE, TRIG_STEP);
        EXPECT_EQ(battles(), std::vector<s32>{48});
        const bool won = result != 0;
        EXPECT_EQ(player_record.story_flags[FLAG], won ? ROUTE1_SECOND_END : ROUTE1_LOST);
        EXPECT_EQ(player_record.story_flags[ROUTE1_LOYAL_FLAG], 0);
        EXPECT_EQ(world_state.field_active, 0);
        EXPECT_EQ(attr_get(0, ATTR_MAP), won ? 63 : 66);
        EXPECT_EQ(attr_get(3539, ATTR_MAP), won ? 63 : 61);
        EXPECT_EQ(inv_has(1507), won ? 1 : 0);
        EXPECT_EQ(active(ROUTE1_SECOND_FINALE), won ? 0 : 1);
    }
}

// Every frame route 1 shows is among those the camps' own file supplies pictures for (the
// crowd's still frames, person 233 arriving, the camps' men and person 200 turned).
TEST(CampsRoute1Placeholders, EveryFrameAndPictureHasAnImage) {
    const FramesShown shown = frames_shown(camps_route1_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
