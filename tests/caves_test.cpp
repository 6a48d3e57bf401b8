// The caves on the script harness, with their objects made by the new game's population rows: the
// pedestals filled in several orders (wrong items take nothing, a filled pedestal only greets),
// the placement puzzle driven by clicks on the board, the picture room's answers, the ambushes on
// the field loop with each battle result, and the sentry pairs' coupled animation.
#include "scripts/towns/caves.h"

#include "data/roster.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 CAVE_OBJECTS[] = {
    1058, 1059, 1395, 1397, 1399, 1440, 1441, 1445, 1446, 1447, 1448, 1449, 1450,
    1451, 1452, 1453, 1454, 1455, 1456, 1457, 1458, 1459, 1460, 1461, 1462, 1463,
    1464, 1465, 1466, 2022, 2023, 2024, 2025, 2026, 2027, 2028, 2029, 2066, 2067,
};

bool active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE) == 1;
}
size_t count_prefix(const Lines& lines, const std::string& prefix) {
    return size_t(std::count_if(lines.begin(), lines.end(),
                                [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// Clicks the board at each point in turn, one after each present once the one before is done:
// as a player clicks the next slot only after answering the question of the last one.
void click_board_in_turn(const std::vector<std::array<s32, 2>>& points) {
    auto next = std::make_shared<size_t>(0);
    harness_on_present([points, next](const u16*, u64) {
        if (*next < points.size() && harness_pending_input() == 0) {
            harness_click(points[*next][0], points[*next][1]);
            ++*next;
        }
    });
}

class Caves : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        sh_populate(CAVE_OBJECTS);
        sh_player(SH_MAP_W / 2, SH_MAP_H / 2);
    }
};

// ---- Pedestals -------------------------------------------------------------------------------

constexpr s32 PEDESTAL_WANTS[] = {2365, 2361, 2364}; // by pedestal 1454, 1455, 1456
constexpr s32 PEDESTAL_OPTION[] = {5, 1, 4};
constexpr s32 PEDESTAL_SPRITE[] = {1462, 1461, 1460};
constexpr s32 WRONG_OPTION = 0; // item 2360, which no pedestal wants

TEST_F(Caves, PedestalsOpenThePortalAtTheThirdRightItemInAnyOrder) {
    const std::array<std::array<s32, 3>, 3> orders = {{{0, 1, 2}, {2, 0, 1}, {1, 2, 0}}};
    for (const auto& order : orders) {
        sh_populate(CAVE_OBJECTS);
        for (const s32 item : {2360, 2361, 2364, 2365}) {
            inv_remove(item, 99);
            inv_add(item, 1);
        }
        s32 placed = 0;
        for (const s32 p : order) {
            SCOPED_TRACE("pedestal " + std::to_string(CAVE_PEDESTAL_OBJS[p]));
            const s32 obj = CAVE_PEDESTAL_OBJS[p];
            // A wrong item first: nothing taken, the pedestal stays empty, the lock stays.
            sh_click(obj, {WRONG_OPTION});
            EXPECT_EQ(script_stage(obj), 0);
            EXPECT_EQ(inv_has(2360), 1);
            EXPECT_EQ(inv_has(PEDESTAL_WANTS[p]), 1);
            EXPECT_FALSE(active(PEDESTAL_SPRITE[p]));
            EXPECT_FALSE(active(CAVE_PORTAL_TO_172));
            // Then the right one.
            sh_click(obj, {PEDESTAL_OPTION[p]});
            ++placed;
            EXPECT_EQ(script_stage(obj), 1);
            EXPECT_EQ(inv_has(PEDESTAL_WANTS[p]), 0);
            EXPECT_TRUE(active(PEDESTAL_SPRITE[p]));
            EXPECT_EQ(active(CAVE_PORTAL_TO_172), placed == 3);
            EXPECT_EQ(active(CAVE_BARRIER_161), placed < 3);
        }
        EXPECT_EQ(inv_has(2360), 1);
    }
}

TEST_F(Caves, FilledPedestalOnlyGreetsAndAnEmptyHandIsTold) {
    for (const s32 item : {2360, 2361, 2362, 2363, 2364, 2365}) inv_remove(item, 99);
    const Lines empty = sh_click(1454);
    EXPECT_EQ(empty, (Lines{sh_bubble(1454, 25200), sh_box(2, 1000, 25199)}));
    EXPECT_EQ(script_stage(1454), 0);

    inv_add(2365, 2);
    script_set_stage(1455, 1);
    const Lines filled = sh_click(1455);
    EXPECT_EQ(filled, (Lines{sh_bubble(1455, 25201)}));
    EXPECT_EQ(inv_has_count(2365, 2), 1);

    // Only the held items are offered, each by its own text.
    const Lines offered = sh_click(1454, {5});
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1], "choose 1 1000 -1 -1 -1 -1 -1 7365 -> 5");
    EXPECT_EQ(inv_has_count(2365, 1), 1);
}

// ---- Placement puzzle ------------------------------------------------------------------------

// A point inside each slot's hit box.
constexpr std::array<std::array<s32, 2>, 4> SLOT_POINT = {
    {{295, 100}, {410, 100}, {295, 170}, {355, 170}}};

struct PuzzleCase {
    const char* name;
    std::vector<std::array<s32, 2>> clicks; // screen points, in order
    std::vector<s32> answers;               // the piece chosen at each hit
    bool solved;
};

TEST_F(Caves, PlacementPuzzleByClicks) {
    const auto at = [](s32 slot) { return SLOT_POINT[size_t(slot)]; };
    const PuzzleCase cases[] = {
        {"solving assignment", {at(0), at(1), at(2), at(3)}, {3, 2, 0, 1}, true},
        {"solving assignment, slots in another order",
         {at(3), at(2), at(1), at(0)},
         {1, 0, 2, 3},
         true},
        {"wrong assignment", {at(0), at(1), at(2), at(3)}, {2, 3, 0, 1}, false},
        // Outside every slot, on a slot's bound, and on a filled slot: no question is asked.
        {"misses and a filled slot",
         {{100, 300}, {270, 100}, {321, 100}, at(0), at(0), {295, 77}, at(1), at(2), at(3)},
         {3, 2, 0, 1},
         true},
    };
    for (const PuzzleCase& c : cases) {
        SCOPED_TRACE(c.name);
        sh_populate(CAVE_OBJECTS);
        sh_clear_lines();
        click_board_in_turn(c.clicks);
        for (const s32 a : c.answers) sh_answers({a});
        sh_fire(CAVE_PUZZLE_OBJ, TRIG_CLICK);
        harness_on_present(nullptr);
        const Lines lines = sh_talk_lines();
        EXPECT_EQ(count_prefix(lines, "choose"), c.answers.size());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), sh_bubble(CAVE_PUZZLE_OBJ, 25216));
        EXPECT_EQ(lines.back(), sh_box(2, 1000, c.solved ? 25221 : 25222));
        for (const s32 obj : {1464, 1465, CAVE_PORTAL_TO_162})
            EXPECT_EQ(active(obj), c.solved) << obj;
        EXPECT_EQ(active(CAVE_PUZZLE_ZONE), !c.solved);
        EXPECT_EQ(active(CAVE_PUZZLE_OBJ), !c.solved);
        EXPECT_EQ(harness_pending_input(), 0u);
    }
}

TEST_F(Caves, PuzzleOffersOnlyThePiecesLeftInTheTray) {
    click_board_in_turn({SLOT_POINT.begin(), SLOT_POINT.end()});
    sh_answers({3, 2, 0, 1});
    sh_fire(CAVE_PUZZLE_OBJ, TRIG_CLICK);
    harness_on_present(nullptr);
    const Lines choices = sh_only(sh_lines(), {"choose"});
    EXPECT_EQ(choices, (Lines{"choose 2 1000 25217 25218 25219 25220 -> 3",
                              "choose 2 1000 25217 25218 25219 -> 2",
                              "choose 2 1000 25217 25218 -> 0", "choose 2 1000 -1 25218 -> 1"}));
}

TEST(CavePuzzleSlots, HitBoxesExcludeTheirBounds) {
    const std::array<bool, CAVE_PUZZLE_PIECES> none{};
    struct Case {
        s32 x, y, slot;
    };
    for (const Case& c :
         {Case{270, 100, -1}, Case{271, 100, 0}, Case{320, 127, 0}, Case{321, 100, -1},
          Case{300, 77, -1}, Case{300, 128, -1}, Case{391, 78, 1}, Case{437, 100, -1},
          Case{271, 147, 2}, Case{300, 198, -1}, Case{334, 147, 3}, Case{382, 160, -1},
          Case{360, 100, -1}})
        EXPECT_EQ(cave_puzzle_slot_at(c.x, c.y, none), c.slot) << c.x << "," << c.y;
    std::array<bool, CAVE_PUZZLE_PIECES> first_filled{};
    first_filled[0] = true;
    EXPECT_EQ(cave_puzzle_slot_at(295, 100, first_filled), -1);
}

// ---- Picture room ----------------------------------------------------------------------------

TEST_F(Caves, PictureRoomOpensOnlyOnTheFirstAnswer) {
    for (const s32 answer : {1, 2, 0}) {
        SCOPED_TRACE(answer);
        sh_clear_lines();
        const u64 shown = harness_elapsed_ms();
        const Lines lines = sh_click(CAVE_PICTURE_ROOM_OBJ, {answer});
        EXPECT_EQ(lines, (Lines{sh_bubble(CAVE_PICTURE_ROOM_OBJ, 25210),
                                "choose 2 1000 25211 25212 25213 -> " + std::to_string(answer),
                                sh_box(2, 1000, answer == 0 ? 25214 : 25215)}));
        EXPECT_GE(harness_elapsed_ms() - shown, 5000u); // five pictures of a second each
        EXPECT_EQ(active(CAVE_PORTAL_TO_161), answer == 0);
        EXPECT_EQ(active(CAVE_BARRIER_160), answer != 0);
        EXPECT_EQ(active(CAVE_PICTURE_ROOM_OBJ), answer != 0);
    }
}

TEST_F(Caves, AClickWhileTheLastPictureShowsStaysOffTheMap) {
    // The verdict comes with the fifth picture, which then stays a second: a click in that second
    // ends with the screen, so the field loop does not see it on the object under the pointer.
    harness_click(300, 200, 1, at_time(harness_elapsed_ms() + 4500));
    sh_click(CAVE_PICTURE_ROOM_OBJ, {1});
    EXPECT_EQ(click_kind.peek(), 0u);
    EXPECT_EQ(mouse_buttons.peek(), 0u);
}

// ---- Ambushes --------------------------------------------------------------------------------

struct AmbushCase {
    s32 timer, map, encounter;
    s32 portrait, text; // the line before the battle
    std::vector<s32> ambushers;
};
const AmbushCase AMBUSH_CASES[] = {
    {2028, 160, 36, 1066, 14500, {2022, 2023}},
    {2029, 161, 37, 1064, 14501, {2024, 2025}},
    {2066, 172, 38, 1060, 14502, {2026}},
    {2067, 162, 39, 1061, 14503, {2027}},
};

// The player steps through a portal onto a cave map (the harness has only its own map loaded).
void arrive(s32 map) {
    attr_set(0, ATTR_MAP, map);
    world_state.current_map = u16(map);
}

TEST_F(Caves, AmbushFiresOnceWithinFiveFramesOfArriving) {
    for (const s32 result : {0, 1, 2})
        for (const AmbushCase& c : AMBUSH_CASES) {
            SCOPED_TRACE("battle " + std::to_string(c.encounter) + " result " +
                         std::to_string(result));
            sh_populate(CAVE_OBJECTS);
            player_record.story_flags[CAVE_OUTCOME_FLAG] = 0;
            player_record.fame = 100;
            for (const s32 id : {150, 152, 297}) {
                roster[id].hp_max = 1000;
                roster[id].hp = 1;
            }
            // Elsewhere the timers only re-arm; the player arrives just after a re-arm, the
            // longest wait there is.
            sh_player(500, 500);
            sh_clear_calls();
            sh_field_frames(10);
            ASSERT_EQ(attr_get(c.timer, ATTR_TIMER), 5);
            EXPECT_TRUE(sh_calls().empty());

            sh_battle_results({result});
            sh_clear_lines();
            arrive(c.map);
            const s32 ran = sh_field_frames(5);
            ASSERT_EQ(sh_calls(),
                      (std::vector<std::string>{"battle " + std::to_string(c.encounter) + " -> " +
                                                std::to_string(result)}));
            EXPECT_EQ(sh_talk_lines(), Lines{sh_box(0, c.portrait, c.text)});
            EXPECT_FALSE(active(c.timer));
            EXPECT_EQ(roster[297].hp, 1000);
            if (result == 0) {
                EXPECT_EQ(player_record.story_flags[CAVE_OUTCOME_FLAG], CAVE_AMBUSH_LOST);
                EXPECT_EQ(world_state.field_active, 0);
                EXPECT_LE(ran, 5);
                EXPECT_EQ(player_record.fame, 100);
                EXPECT_EQ(roster[150].hp, 201);
                for (const s32 obj : c.ambushers) EXPECT_TRUE(active(obj)) << obj;
            } else {
                EXPECT_EQ(player_record.story_flags[CAVE_OUTCOME_FLAG], 0);
                EXPECT_EQ(player_record.fame, 100 + CAVE_AMBUSH_FAME);
                EXPECT_EQ(roster[150].hp, 401);
                EXPECT_EQ(roster[152].hp, 401);
                for (const s32 obj : c.ambushers) EXPECT_FALSE(active(obj)) << obj;
                // Staying on the map fires nothing more.
                sh_field_frames(30);
                EXPECT_EQ(sh_calls().size(), 1u);
            }
        }
}

// ---- Sentries --------------------------------------------------------------------------------

// Runs obj's timer once, as the field loop does when its countdown ends.
s32 tick(s32 obj) {
    sh_fire(obj, TRIG_TIMER);
    return obj_get_frame(obj);
}

TEST_F(Caves, SentryFollowerFlipsPhaseAtTheEndOfItsRun) {
    // Follower 1441: phase 0 runs 44760-44765, phase 1 runs 39002-39009, shown mirrored.
    ASSERT_EQ(obj_get_frame(1441), -44760);
    for (s32 f = 44761; f <= 44765; ++f) EXPECT_EQ(tick(1441), -f);
    EXPECT_EQ(tick(1441), -39002);
    EXPECT_EQ(script_stage(1441), 1);
    EXPECT_EQ(attr_get(1441, ATTR_TIMER), 20);
    for (s32 f = 39003; f <= 39009; ++f) EXPECT_EQ(tick(1441), -f);
    EXPECT_EQ(attr_get(1441, ATTR_TIMER), 10);
    EXPECT_EQ(tick(1441), -44760);
    EXPECT_EQ(script_stage(1441), 0);
    // Map 98's follower waits 10, not 20, on its way back to phase 0.
    obj_set_frame(1453, -44765);
    script_set_stage(1453, 1);
    EXPECT_EQ(tick(1453), -39002);
    EXPECT_EQ(attr_get(1453, ATTR_TIMER), 10);
}

TEST_F(Caves, SentryLeaderLoopsTheRunOfTheFollowersPhase) {
    // Leader 1440: run A 39058-39069 while follower 1441 is in phase 0.
    ASSERT_EQ(obj_get_frame(1440), 39058);
    for (s32 f = 39059; f <= 39069; ++f) EXPECT_EQ(tick(1440), f);
    EXPECT_EQ(attr_get(1440, ATTR_TIMER), 10);
    EXPECT_EQ(tick(1440), 39069); // the last frame held for 20
    EXPECT_EQ(attr_get(1440, ATTR_TIMER), 20);
    EXPECT_EQ(tick(1440), 39058); // then the first for 5
    EXPECT_EQ(attr_get(1440, ATTR_TIMER), 5);
    EXPECT_EQ(script_stage(1440), 0);

    // The follower turns to phase 1 while the leader holds A's last frame: the leader goes to
    // run B and never wanders through the frames between the runs.
    for (s32 i = 0; i < 11; ++i) tick(1440);
    EXPECT_EQ(tick(1440), 39069);
    script_set_stage(1441, 1);
    EXPECT_EQ(tick(1440), 44745);
    EXPECT_EQ(tick(1440), 44740);
    EXPECT_EQ(attr_get(1440, ATTR_TIMER), 20);
    for (s32 f = 44741; f <= 44745; ++f) EXPECT_EQ(tick(1440), f);
    EXPECT_EQ(tick(1440), 44745); // B's last held for 5
    EXPECT_EQ(attr_get(1440, ATTR_TIMER), 5);
    EXPECT_EQ(tick(1440), 44740); // B's first for 20
    EXPECT_EQ(attr_get(1440, ATTR_TIMER), 20);
}

TEST_F(Caves, MapNinetyEightLeaderHoldsItsRunUntilThePhaseChanges) {
    // Leader 1452: run A 44751-44755, run B 39034-39055; re-arm 10 in A and 2 in B.
    for (s32 f = 44752; f <= 44755; ++f) EXPECT_EQ(tick(1452), f);
    for (s32 i = 0; i < 5; ++i) EXPECT_EQ(tick(1452), 44755);
    EXPECT_EQ(attr_get(1452, ATTR_TIMER), 10);
    script_set_stage(1453, 1);
    EXPECT_EQ(tick(1452), 39034);
    EXPECT_EQ(attr_get(1452, ATTR_TIMER), 5);
    for (s32 f = 39035; f <= 39055; ++f) EXPECT_EQ(tick(1452), f);
    EXPECT_EQ(attr_get(1452, ATTR_TIMER), 2);
    EXPECT_EQ(tick(1452), 39055);
    script_set_stage(1453, 0);
    EXPECT_EQ(tick(1452), 44751);
    EXPECT_EQ(attr_get(1452, ATTR_TIMER), 5);
}

TEST_F(Caves, SentryClicksAndTheEntranceZones) {
    // A leader keeps its frame through the talk; a follower ignores clicks.
    obj_set_frame(1448, 39025);
    EXPECT_EQ(sh_click(1448, {}, 2000), (Lines{sh_box(2, 1042, 33183)}));
    EXPECT_EQ(obj_get_frame(1448), 39025);
    EXPECT_EQ(sh_click(1452, {}, 2000), (Lines{sh_bubble(1452, 33183)}));
    EXPECT_TRUE(sh_click(1449).empty());

    // The first step onto either zone silences both.
    sh_clear_lines();
    sh_fire(1446, TRIG_STEP);
    EXPECT_EQ(sh_talk_lines(), (Lines{sh_box(0, 1044, 33183)}));
    EXPECT_FALSE(active(1445));
    EXPECT_FALSE(active(1446));
}

TEST_F(Caves, CompanionsTalkOnceOnMapNinetyEight) {
    EXPECT_TRUE(sh_click(1447, {}, 400).size() <= 1); // too far: only the remark
    EXPECT_TRUE(active(1447));
    const Lines lines = sh_click(1447);
    EXPECT_EQ(lines,
              (Lines{sh_box(2, 1152, 33184), sh_box(2, 1150, 33185), sh_box(2, 1152, 33186),
                     sh_box(2, 1152, 33187), sh_box(2, 1150, 33188), sh_box(2, 1152, 33189)}));
    EXPECT_EQ(attr_get(0, ATTR_X), 237);
    EXPECT_EQ(attr_get(0, ATTR_Y), 529);
    for (const s32 obj : {1058, 1059, 1447}) EXPECT_FALSE(active(obj)) << obj;
    EXPECT_EQ(attr_get(1058, ATTR_MAP), 98);
}

TEST(CavesPlaceholders, EveryFrameAndPictureHasAnImage) {
    const FramesShown shown = frames_shown(caves_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
