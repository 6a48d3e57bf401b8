// The city's residents as the new game's population makes them: their talks as one case list
// (the group of map 213 whoever is clicked, the pairs, the talks by stage), the three-talk round
// of 1106 and the frame it ends on, the quiz-giver's verdicts by the number of right answers, the
// remark of 1099 that belongs to its own map and frame, and the walker 1064 that waits for walker
// 1041 before it leaves.
#include "scripts/towns/city_residents.h"

#include "data/world_population.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 OBJECTS[] = {1060, 1061, 1064, 1068, 1069, 1070, 1071, 1072, 1081, 1082, 1083, 1085,
                           1086, 1087, 1088, 1089, 1092, 1094, 1095, 1098, 1099, 1100, 1101, 1103,
                           1104, 1105, 1106, 1107, 1108, 1109, 1110, 1116, 1117, 1118, 1119, 1132};
constexpr s32 CITY_MAP = 200;
constexpr s32 TOO_FAR_LINE_DX = 305;

// The player's box, beside the resident on its right.
std::string player(s32 text) {
    return "say 3 1000 " + std::to_string(text);
}
const std::string TOO_FAR = "label 0 10000 -112 -108 2000";

using CityResidents = PopulatedScriptTest<OBJECTS>;

// ---- Talks -----------------------------------------------------------------------------------

TEST_F(CityResidents, EachTalkSaysItsLinesAndMovesTheStagesOn) {
    const Lines hall_group{sh_bubble(1083, 33181), sh_bubble(1083, 33182)};
    Lines hall_230;
    for (s32 t = 33490; t <= 33497; ++t) hall_230.push_back(sh_bubble(t % 2 == 0 ? 1088 : 1089, t));
    Lines west_pair{sh_bubble(1061, 34910), sh_bubble(1060, 34911)};
    for (s32 t = 34912; t <= 34916; ++t) west_pair.push_back(sh_bubble(1061, t));
    for (s32 t = 34917; t <= 34923; ++t) west_pair.push_back(sh_bubble(1060, t));
    west_pair.push_back(sh_bubble(1061, 34924));
    west_pair.push_back(sh_bubble(1060, 34925));
    auto pair_opening = [](s32 answer) {
        return Lines{sh_bubble(1104, 25388), sh_bubble(1105, 25389), sh_bubble(1104, 25390),
                     sh_bubble(1104, 25391),
                     "choose 3 1000 25392 25393 -> " + std::to_string(answer)};
    };
    auto with = [](Lines a, const Lines& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* name;
        s32 obj;
        s32 stage;
        Lines lines;
        s32 next_stage;
        s32 other = -1; // another object whose stage the talk moves, and its stage afterwards
        s32 other_stage = 0;
        s32 answer = -1;
        s32 dx = 40;
    };
    const Case cases[] = {
        {"1081 of the group", 1081, 0, hall_group, 0},
        {"1082 of the group", 1082, 0, hall_group, 0},
        {"1083 of the group", 1083, 0, hall_group, 0},
        {"1101 of the group", 1101, 0, hall_group, 0},
        {"1103 of the group, at any stage", 1103, 5, hall_group, 5},
        {"1103 at the guard's distance", 1103, 0, hall_group, 0, -1, 0, -1, 300},
        {"1103 from too far", 1103, 0, {TOO_FAR}, 0, -1, 0, -1, TOO_FAR_LINE_DX},
        {"1087",
         1087,
         0,
         {sh_bubble(1087, 33477), sh_bubble(1088, 33478), sh_bubble(1087, 33479),
          sh_bubble(1089, 33480), sh_bubble(1088, 33481), sh_bubble(1089, 33482)},
         0},
        {"1088", 1088, 0, hall_230, 0},
        {"1089", 1089, 0, hall_230, 0},
        {"1092 says its own",
         1092,
         0,
         {sh_bubble(1092, 33500), sh_bubble(1092, 33501), sh_bubble(1092, 33502)},
         0},
        {"1098 says its own",
         1098,
         0,
         {sh_bubble(1098, 33500), sh_bubble(1098, 33501), sh_bubble(1098, 33502)},
         0},
        {"1095 of the two",
         1095,
         0,
         {sh_bubble(1094, 33473), sh_bubble(1095, 33474), sh_bubble(1094, 33475),
          sh_bubble(1095, 33476)},
         0},
        {"1100", 1100, 0, {sh_bubble(1100, 25311)}, 0},
        {"1110", 1110, 0, {sh_bubble(1110, 25402)}, 0},
        {"1116", 1116, 0, {sh_bubble(1116, 33691)}, 0},
        {"1117", 1117, 0, {sh_bubble(1118, 34885), sh_bubble(1117, 34886)}, 0},
        {"1118", 1118, 0, {sh_bubble(1118, 34885), sh_bubble(1117, 34886)}, 0},
        {"1119", 1119, 0, {player(33650), sh_bubble(1119, 33651), player(33652)}, 0},
        {"1064", CITY_WALKER, 0, {sh_bubble(CITY_WALKER, 34401)}, 0},
        {"1061 first", 1061, 0, west_pair, 1, 1060, 1},
        {"1061 again", 1061, 1, {sh_bubble(1061, 34901)}, 1},
        {"1061 later", 1061, 2, {}, 2},
        {"1107", 1107, 1, {sh_bubble(1107, 25387)}, 1},
        {"1107 later", 1107, 2, {}, 2},
        {"1108", 1108, 0, {sh_bubble(1107, 25384), player(25385), sh_bubble(1107, 25386)}, 0},
        {"1108 later", 1108, 2, {}, 2},
        {"1104, first option", 1104, 0,
         with(pair_opening(0), {sh_bubble(1104, 25394), sh_bubble(1105, 25395)}), 0, -1, 0, 0},
        {"1105, second option", 1105, 3, with(pair_opening(1), {sh_bubble(1104, 25396)}), 3, -1, 0,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        if (c.answer >= 0) sh_answers({c.answer});
        const s32 frame = obj_get_frame(c.obj);
        EXPECT_EQ(sh_click(c.obj, {}, c.dx), c.lines);
        EXPECT_EQ(obj_get_frame(c.obj), frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.next_stage);
        if (c.other >= 0) {
            EXPECT_EQ(attr_get(c.other, ATTR_VAR_A), c.other_stage);
        }
    }
}

// Three talks in turn, round again, and frame 46900 after each whatever it showed before.
TEST_F(CityResidents, TheThreeTalksOf1106GoRoundAndEndOnItsFirstFrame) {
    constexpr s32 OBJ = 1106;
    const Lines talks[] = {{sh_bubble(OBJ, 25380), player(25381)},
                           {sh_bubble(OBJ, 25382), player(25383)},
                           {sh_bubble(OBJ, 25397)},
                           {sh_bubble(OBJ, 25380), player(25381)}};
    const s32 stages[] = {1, 2, 0, 1};
    for (size_t i = 0; i < std::size(talks); ++i) {
        SCOPED_TRACE(i);
        obj_set_frame(OBJ, 46930 + s32(i) * 2);
        EXPECT_EQ(sh_click(OBJ), talks[i]);
        EXPECT_EQ(attr_get(OBJ, ATTR_VAR_A), stages[i]);
        EXPECT_EQ(obj_get_frame(OBJ), 46900);
    }
}

// ---- The quiz --------------------------------------------------------------------------------

TEST_F(CityResidents, TheQuizVerdictFollowsTheNumberOfRightAnswers) {
    constexpr s32 RIGHT[] = {1, 3, 0, 3, 3, 0, 2, 3};
    constexpr s32 Q = CITY_QUIZ_GIVER;
    const Lines greeting{sh_bubble(Q, 25000), player(25001), sh_bubble(Q, 25002)};
    struct Case {
        s32 right;
        s32 stage;
        s32 last_line;
    };
    const Case cases[] = {{0, 1, 25007}, {1, 1, 25007}, {2, 3, 25007}, {4, 3, 25007},
                          {5, 2, 25007}, {7, 2, 25007}, {8, 2, 25006}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.right);
        populate();
        sh_beside(Q, 40);
        sh_clear_lines();
        std::vector<s32> answers{0};
        for (s32 q = 0; q < 8 && q <= c.right; ++q)
            answers.push_back(q < c.right ? RIGHT[q] : (RIGHT[q] + 1) % 4);
        for (const s32 a : answers) sh_answers({a});
        sh_fire(Q, TRIG_CLICK);
        const Lines said = sh_only(sh_lines(), {"say", "choose"});
        ASSERT_GE(said.size(), greeting.size() + 2);
        EXPECT_TRUE(std::equal(greeting.begin(), greeting.end(), said.begin()));
        // The offer, then one choice a question asked, and the verdict.
        EXPECT_EQ(sh_only(said, {"choose"}).size(), answers.size());
        EXPECT_EQ(said.back(), sh_bubble(Q, c.last_line));
        EXPECT_EQ(attr_get(Q, ATTR_VAR_A), c.stage);
        EXPECT_EQ(inv_has(CITY_QUIZ_PRIZE), c.right == 8 ? 1 : 0);
        EXPECT_EQ(inv_has_count(CITY_QUIZ_PRIZE, 2), 0);
        EXPECT_EQ(obj_get_frame(Q), 47200);
    }
    // The fifth question is two bubbles.
    populate();
    sh_beside(Q, 40);
    sh_clear_lines();
    sh_answers({0, 1, 3, 0, 3, 0});
    sh_fire(Q, TRIG_CLICK);
    const Lines said = sh_only(sh_lines(), {"say_at"});
    EXPECT_NE(std::find(said.begin(), said.end(), sh_bubble(Q, 25032)), said.end());
}

TEST_F(CityResidents, TheQuizIsOfferedAgainOnlyAfterAFailedOrDeclinedTest) {
    constexpr s32 Q = CITY_QUIZ_GIVER;
    // Declined: the next greeting is the short one, and a decline there changes nothing.
    sh_answers({1});
    sh_click(Q);
    EXPECT_EQ(attr_get(Q, ATTR_VAR_A), 1);
    sh_answers({1});
    EXPECT_EQ(sh_click(Q), (Lines{sh_bubble(Q, 25005), "choose 3 1000 25003 25004 -> 1"}));
    EXPECT_EQ(attr_get(Q, ATTR_VAR_A), 1);
    // One right answer: asked again; two: final.
    sh_answers({0, 1, 0});
    sh_click(Q);
    EXPECT_EQ(attr_get(Q, ATTR_VAR_A), 1);
    sh_answers({0, 1, 3, 1});
    sh_click(Q);
    EXPECT_EQ(attr_get(Q, ATTR_VAR_A), 3);
    EXPECT_EQ(sh_click(Q), Lines{sh_bubble(Q, 25007)});
    attr_set(Q, ATTR_VAR_A, 2);
    EXPECT_EQ(sh_click(Q), Lines{sh_bubble(Q, 25008)});
    EXPECT_EQ(sh_click(Q, {}, TOO_FAR_LINE_DX), Lines{TOO_FAR});
}

// ---- Timers ----------------------------------------------------------------------------------

TEST_F(CityResidents, IdleLoopsWrapWithTheirPausesAndTheRemarkBelongsToItsMapAndFrame) {
    struct Case {
        const char* name;
        s32 obj;
        s32 frame;
        s32 map;
        s32 next_frame;
        s32 timer;
        bool remark = false;
    };
    const Case cases[] = {
        {"figure 1070 wraps", 1070, 45144, CITY_MAP, 45100, 20},
        {"figure 1132 wraps", 1132, 45986, 230, 45970, 10},
        {"1083 steps", 1083, 46540, 213, 46542, 10},
        {"1106 wraps", 1106, 46964, CITY_MAP, 46900, 20},
        {"1105 of the pair wraps", 1105, 46884, CITY_MAP, 46860, 20},
        {"the quiz-giver wraps", CITY_QUIZ_GIVER, 47234, CITY_MAP, 47200, 20},
        {"1099 remarks at 46672", 1099, 46670, CITY_MAP, 46672, 10, true},
        {"1099 not on another map", 1099, 46670, 230, 46672, 10},
        {"1099 not at another frame", 1099, 46672, CITY_MAP, 46674, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        world_state.current_map = u16(c.map);
        obj_set_frame(c.obj, c.frame);
        attr_set(c.obj, ATTR_TIMER, 0);
        sh_clear_lines();
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.obj), c.next_frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
        const Lines remark = c.remark ? Lines{"label 1099 25310 -64 -100 2000"} : Lines{};
        EXPECT_EQ(sh_only(sh_lines(), {"label"}), remark);
    }
}

// 1064 stands where the population put it, re-arming every frame, until walker 1041 sets its
// ATTR_VAR_B; then it walks its points from the second on and hides at the last.
TEST_F(CityResidents, TheWalkerWaitsFor1041AndHidesAtItsLastPoint) {
    constexpr s32 W = CITY_WALKER;
    const s32 x = attr_get(W, ATTR_X), y = attr_get(W, ATTR_Y);
    for (int run = 0; run < 50; ++run) {
        attr_set(W, ATTR_TIMER, 0);
        sh_fire(W, TRIG_TIMER);
    }
    EXPECT_EQ(attr_get(W, ATTR_X), x);
    EXPECT_EQ(attr_get(W, ATTR_Y), y);
    EXPECT_EQ(attr_get(W, ATTR_TIMER), 1);
    EXPECT_EQ(attr_get(W, ATTR_ACTIVE), 1);

    attr_set(W, ATTR_VAR_B, 1); // what 1041 does at the end of its walk
    struct Point {
        s32 x, y;
        bool operator==(const Point&) const = default;
    };
    std::vector<Point> reached;
    s32 leg = 1;
    for (int run = 0; run < 3000 && attr_get(W, ATTR_ACTIVE) == 1; ++run) {
        attr_set(W, ATTR_TIMER, 0);
        sh_fire(W, TRIG_TIMER);
        if (attr_get(W, ATTR_VAR_B) == leg) continue;
        leg = attr_get(W, ATTR_VAR_B);
        reached.push_back({attr_get(W, ATTR_X), attr_get(W, ATTR_Y)});
        EXPECT_EQ(attr_get(W, ATTR_TIMER), 7);
    }
    EXPECT_EQ(reached, (std::vector<Point>{{4543, 2143},
                                           {4224, 2320},
                                           {4074, 2538},
                                           {3385, 3104},
                                           {2586, 2863},
                                           {CITY_WALKER_LAST_X, CITY_WALKER_LAST_Y}}));
    EXPECT_EQ(attr_get(W, ATTR_ACTIVE), 0);
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(CityResidentsPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(city_residents_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
