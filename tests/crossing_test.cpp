// The crossing of maps 130-139 on the script harness, with the episode's objects made by the real
// scene set-up and the world population: the fights on the way as one table of wins and losses,
// the outpost's second battle, the passage by its stages, the chests, the meeting with person 193
// and the final with and without him.
#include "scripts/episodes/crossing.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/scenes.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The world population's objects that the episode uses.
constexpr s32 WORLD_OBJECTS[] = {163, 374, 375, 381, 382, 383, 384, 385, 386, 387, 388, 391, 392};
constexpr s32 MONEY = 1234;

bool active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE) == 1;
}
s32& flag(s32 n) {
    return player_record.story_flags[n];
}
bool said(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
// The lines of the battle fake, in order.
Lines battles() {
    Lines out;
    for (const std::string& c : sh_calls())
        if (c.rfind("battle", 0) == 0) out.push_back(c);
    return out;
}

void no_field_loop() {}

class Crossing : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            world_put_map(b, 139, 2800, 2400, ground, 1);
            world_put_map(b, 130, 1800, 2600, ground, 200);
            world_put_map(b, 131, 640, 480, ground, 420);
            world_put_map(b, 138, 800, 480, ground, 430);
            world_put_map(b, 10, 3400, 1200, ground, 440);
        });
        sh_register_all();
        reset();
    }
    // A new game's player and the episode's objects as the scene and the population make them,
    // the player at his start on map 139 with some money.
    static void reset() {
        sh_new_player();
        sh_populate(WORLD_OBJECTS);
        world_state.field_active = 0;
        world_state.current_map = 299; // off every map of the scene, as the launcher leaves it
        scene_field_loop_seam = no_field_loop;
        scene_play_044();
        scene_field_loop_seam = field_loop;
        change_map(139, 153, 2137);
        player_record.money = MONEY;
        world_state.field_active = 1;
        sh_clear_lines();
        sh_clear_calls();
    }
    // The player on obj's map and place, then obj's step.
    static void step_on(s32 obj) {
        const s32 x = attr_get(obj, ATTR_X), y = attr_get(obj, ATTR_Y);
        if (world_state.current_map != attr_get(obj, ATTR_MAP))
            change_map(attr_get(obj, ATTR_MAP), x, y);
        attr_set(0, ATTR_X, x);
        attr_set(0, ATTR_Y, y);
        sh_fire(obj, TRIG_STEP);
    }
};

TEST_F(Crossing, TheOpeningTimerShowsTheWayAndTheCompanionJoinsThePlayer) {
    EXPECT_TRUE(active(CROSSING_COMPANION_OBJ));
    sh_frames(4);
    EXPECT_EQ(sh_talk_lines(), (Lines{sh_box(0, 1203, 24100), sh_box(0, 1203, 24101),
                                      sh_box(1, 1000, 24102), sh_box(0, 1203, 24103)}));
    EXPECT_FALSE(active(348));
    EXPECT_FALSE(active(CROSSING_COMPANION_OBJ));
    EXPECT_EQ(attr_get(CROSSING_COMPANION_OBJ, ATTR_X), 153);
    EXPECT_EQ(attr_get(CROSSING_COMPANION_OBJ, ATTR_Y), 2137);
}

// ---- The fights on the way
// -----------------------------------------------------------------------

struct WayCase {
    s32 zone;
    s32 encounter;
    std::vector<s32> group;
    s32 challenger, challenge;
    s32 defeat_over;
    std::vector<s32> part, full; // hp 201 after a partial heal, hp_max after a full one
    s32 fame;
};
const WayCase WAY_CASES[] = {
    {350, 66, {337, 338, 339}, 339, 24104, 339, {203}, {250, 251, 252}, 1},
    {351, 66, {340, 341, 342}, 340, 24105, 340, {203}, {250, 251, 252}, 0},
    {371, 70, {360, 361, 362, 363, 364}, 364, 24153, 371, {203}, {250, 251, 252}, 0},
    {372, 70, {367, 368}, 367, 24154, 372, {203}, {250, 251, 252}, 0},
    {373, 71, {369, 370}, 369, 24155, 373, {203}, {253, 254}, 0},
};

TEST_F(Crossing, EachFightOnTheWayHealsItsListsAndTakesItsGroupOrAllTheMoney) {
    for (const WayCase& c : WAY_CASES) {
        for (const s32 result : {1, 2, 0}) {
            SCOPED_TRACE("zone " + std::to_string(c.zone) + " result " + std::to_string(result));
            reset();
            const s32 fame = player_record.fame;
            sh_on_call("battle", [&c] {
                for (const auto* ids : {&c.part, &c.full}) {
                    for (const s32 id : *ids) {
                        roster[id].hp_max = 5000;
                        roster[id].hp = 1;
                    }
                }
            });
            sh_battle_results({result});
            step_on(c.zone);
            sh_on_call("battle", {});
            EXPECT_FALSE(active(c.zone));
            EXPECT_EQ(battles(), Lines{"battle " + std::to_string(c.encounter) + " -> " +
                                       std::to_string(result)});
            for (const s32 id : c.part) EXPECT_EQ(roster[id].hp, 201) << id;
            for (const s32 id : c.full) EXPECT_EQ(roster[id].hp, 5000) << id;
            const Lines talk = sh_talk_lines();
            ASSERT_FALSE(talk.empty());
            EXPECT_EQ(talk.front(), sh_bubble(c.challenger, c.challenge));
            if (result == 0) {
                EXPECT_EQ(talk.back(), sh_bubble(c.defeat_over, 11500));
                EXPECT_EQ(player_record.money, 0);
                EXPECT_EQ(flag(CROSSING_OUTCOME_FLAG), CROSSING_LOST);
                EXPECT_EQ(world_state.field_active, 0);
                for (const s32 obj : c.group) EXPECT_TRUE(active(obj)) << obj;
            } else {
                EXPECT_EQ(player_record.money, MONEY);
                EXPECT_EQ(flag(CROSSING_OUTCOME_FLAG), 0);
                EXPECT_EQ(world_state.field_active, 1);
                EXPECT_EQ(player_record.fame, fame + c.fame);
                for (const s32 obj : c.group) EXPECT_FALSE(active(obj)) << obj;
            }
            if (c.zone == 373) {
                EXPECT_EQ(active(375), result != 0) << "the way to the side caves";
            }
        }
    }
}

// ---- The outpost
// ---------------------------------------------------------------------------------

TEST_F(Crossing, TheOutpostLostOnceGoesOnToTheSecondBattleAndRestoresBothCompanions) {
    sh_on_call("battle", [] {
        for (const s32 id : {203, 171}) {
            roster[id].hp_max = 5000;
            roster[id].hp = 1;
            roster[id].mp_max = 900;
            roster[id].mp = 0;
        }
    });
    sh_battle_results({0, 1});
    step_on(352);
    EXPECT_EQ(battles(), (Lines{"battle 67 -> 0", "battle 68 -> 1"}));
    EXPECT_EQ(roster[203].hp, 1 + 200 + 300); // the partial heal, then 300
    EXPECT_EQ(roster[203].mp, 200 + 900 / 3);
    EXPECT_EQ(roster[171].hp, 1 + 600);
    EXPECT_EQ(roster[171].mp, 900 / 2);
    const Lines talk = sh_talk_lines();
    EXPECT_TRUE(said(talk, sh_box(3, 1203, 11502)));
    EXPECT_TRUE(said(talk, sh_box(1, 1000, 24113)));
    EXPECT_EQ(player_record.money, MONEY);
    EXPECT_EQ(world_state.field_active, 1);
    EXPECT_FALSE(active(CROSSING_COMPANION_OBJ));
    EXPECT_EQ(attr_get(345, ATTR_X), 1634);
}

TEST_F(Crossing, TheOutpostLostTwiceOrTheLeaderLostTakesAllTheMoney) {
    struct Case {
        s32 zone;
        std::vector<s32> results;
    };
    for (const Case& c : {Case{352, {0, 0}}, Case{353, {0}}}) {
        SCOPED_TRACE(c.zone);
        reset();
        for (const s32 r : c.results) sh_battle_results({r});
        step_on(c.zone);
        EXPECT_EQ(sh_talk_lines().back(), sh_box(2, 1172, 11503));
        EXPECT_EQ(player_record.money, 0);
        EXPECT_EQ(flag(CROSSING_OUTCOME_FLAG), CROSSING_LOST);
        EXPECT_EQ(world_state.field_active, 0);
    }
}

// ---- The talk at zone 358 and the passage
// --------------------------------------------------------

TEST_F(Crossing, ThePassageGoesByItsStagesAndTheItemOfTheTalkTakesThePlayerToMap130) {
    const Lines first = sh_click(CROSSING_PASSAGE_OBJ);
    EXPECT_EQ(first.front(), sh_box(2, 1203, 24121));
    EXPECT_EQ(first.back(), sh_box(2, 1203, 24125));
    EXPECT_EQ(script_stage(CROSSING_PASSAGE_OBJ), PASSAGE_TALKED);
    EXPECT_FALSE(active(CROSSING_COMPANION_OBJ));

    EXPECT_EQ(sh_click(CROSSING_PASSAGE_OBJ), Lines{sh_box(3, 1000, 24124)});

    step_on(358);
    EXPECT_FALSE(active(358));
    EXPECT_FALSE(active(357));
    EXPECT_TRUE(inv_has(CROSSING_PASSAGE_ITEM));
    EXPECT_EQ(script_stage(CROSSING_PASSAGE_OBJ), PASSAGE_ITEM_HELD);

    const Lines through = sh_click(CROSSING_PASSAGE_OBJ);
    EXPECT_TRUE(said(through, sh_bubble(CROSSING_PASSAGE_OBJ, 24150)));
    EXPECT_FALSE(inv_has(CROSSING_PASSAGE_ITEM));
    EXPECT_FALSE(active(CROSSING_PASSAGE_OBJ));
    EXPECT_EQ(world_state.current_map, 130);
    EXPECT_EQ(attr_get(0, ATTR_X), 455);
    EXPECT_EQ(attr_get(0, ATTR_Y), 2445);
    EXPECT_TRUE(active(0));
}

TEST_F(Crossing, ThePassageClickedFromTooFarOnlySaysSo) {
    sh_beside(CROSSING_PASSAGE_OBJ, 600);
    sh_fire(CROSSING_PASSAGE_OBJ, TRIG_CLICK);
    EXPECT_EQ(sh_talk_lines(), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(script_stage(CROSSING_PASSAGE_OBJ), PASSAGE_FIRST_TALK);
}

// ---- The chests
// ----------------------------------------------------------------------------------

TEST_F(Crossing, EachChestOpensOnceAndGivesItsItems) {
    struct Case {
        s32 chest, picture;
        std::vector<std::pair<s32, s32>> items;
    };
    const Case cases[] = {
        {381, 382, {{903, 1}}},
        {383, 384, {{2200, 300}, {2001, 1}, {2323, 1}}},
        {385, 386, {{2005, 1}, {2067, 1}}},
        {387, 388, {{1903, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chest);
        sh_beside(c.chest, 400);
        sh_fire(c.chest, TRIG_CLICK);
        EXPECT_TRUE(active(c.chest)) << "too far";
        sh_click(c.chest);
        EXPECT_FALSE(active(c.chest));
        EXPECT_EQ(attr_get(c.picture, ATTR_LAYER), 1);
        for (const auto& [item, count] : c.items) {
            EXPECT_TRUE(inv_has_count(item, count)) << item;
            EXPECT_FALSE(inv_has_count(item, count + 1)) << item;
        }
    }
}

// ---- Person 193 and the final
// --------------------------------------------------------------------

TEST_F(Crossing, PersonJoinsOnTheFirstAnswerAndStaysBehindOnTheSecond) {
    for (const s32 answer : {0, 1}) {
        SCOPED_TRACE(answer);
        reset();
        sh_answers({answer});
        step_on(389);
        const bool joined = answer == 0;
        EXPECT_FALSE(active(389));
        EXPECT_FALSE(active(CROSSING_COMPANION_OBJ));
        EXPECT_EQ(attr_get(391, ATTR_BLOCK), joined ? 0 : 1);
        EXPECT_EQ(active(CROSSING_ALLY_OBJ), !joined);
        EXPECT_EQ(flag(CROSSING_ALLY_FLAG), joined ? 1 : 0);
        if (joined) {
            EXPECT_EQ(player_record.party[0], 203);
            EXPECT_EQ(player_record.party[1], 193);
            EXPECT_EQ(player_record.party[2], -1);
            EXPECT_TRUE(said(sh_talk_lines(), sh_box(2, 1193, 47023)));
        }
    }
}

TEST_F(Crossing, TheFinalFightsWithPersonOnlyWhenHeJoinedAndSendsTheWinnerHome) {
    const s32 before = encounters[CROSSING_FINAL_ENCOUNTER].fighter[2];
    ASSERT_NE(before, 193);

    // Declined: he stays on map 138 and the record keeps its fighter.
    sh_battle_results({1});
    step_on(398);
    ASSERT_EQ(sh_battle_fighters().size(), 1u);
    EXPECT_EQ(sh_battle_fighters().back()[2], before);
    EXPECT_EQ(attr_get(CROSSING_ALLY_OBJ, ATTR_MAP), 138);
    EXPECT_EQ(player_record.money, MONEY + CROSSING_PRIZE);
    EXPECT_EQ(flag(CROSSING_OUTCOME_FLAG), CROSSING_WON);
    EXPECT_EQ(world_state.current_map, 10);
    EXPECT_EQ(world_state.field_active, 0);
    const Lines visit = sh_talk_lines();
    const Lines tail(visit.end() - 7, visit.end());
    EXPECT_EQ(tail, (Lines{sh_box(2, 1163, 18148), sh_box(3, 1000, 18149), sh_box(2, 1163, 18150),
                           sh_box(3, 1000, 18151), sh_box(2, 1163, 18152), sh_box(2, 1163, 18153),
                           sh_box(3, 1000, 18154)}));
    EXPECT_FALSE(active(999));
    EXPECT_TRUE(active(399));

    // Joined: he fights as fighter 2; a lost final costs no money.
    reset();
    flag(CROSSING_ALLY_FLAG) = 1;
    attr_set(CROSSING_ALLY_OBJ, ATTR_ACTIVE, 0);
    sh_battle_results({0});
    step_on(398);
    ASSERT_EQ(sh_battle_fighters().size(), 2u);
    EXPECT_EQ(sh_battle_fighters().back()[2], 193);
    EXPECT_EQ(attr_get(CROSSING_ALLY_OBJ, ATTR_MAP), 131);
    EXPECT_EQ(player_record.money, MONEY);
    EXPECT_EQ(flag(CROSSING_OUTCOME_FLAG), CROSSING_LOST);
    EXPECT_EQ(world_state.field_active, 0);
}

TEST(CrossingPlaceholders, EveryFrameAndPictureHasAnImage) {
    const FramesShown shown = frames_shown(crossing_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
