// The teachers of the interiors on the script harness: the board teacher's quiz and first meeting,
// the riddle teacher's quiz, the dish teacher's menu, the walking teacher's walk over three maps
// and its lesson, the meeting scene of map 40 and the board teacher's pacing.
#include "scripts/home/teachers.h"

#include "engine/gisk.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/home_script_fixture.h"
#include "tests/script_harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 BOARD_ROOM = 32, HALL = 40, DISH_ROOM = 48;

s32 count_of(const Lines& lines, const std::string& l) {
    return s32(std::count(lines.begin(), lines.end(), l));
}

// The pool and the value of a growth index together: a lesson changes one of them.
struct Growth {
    s32 index;
    s32 pool, value;
    explicit Growth(s32 i) : index(i), pool(growth_pool(i)), value(growth_value(i)) {}
    bool taught() const { return growth_pool(index) != pool || growth_value(index) != value; }
};

class Teachers : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            for (const s32 m : {BOARD_ROOM, HALL, DISH_ROOM, 43})
                world_put_map(b, m, 1600, 1200, ground, 500);
        });
        scripts_register_all();
        init_player();
        sh_clock(10, 0);
    }
    // A standing teacher; with `timer` its timer is armed (0: off, so that only a click runs).
    static void teacher(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 slot, s32 stage = 0,
                        s32 timer = 0) {
        sh_object(obj, {.map = map,
                        .x = x,
                        .y = y,
                        .frame = frame,
                        .slot = slot,
                        .var_a = stage,
                        .timer = timer,
                        .click = true,
                        .cursor = 13});
    }
};

// ---- The board teacher (object 188) ---------------------------------------------------------

TEST_F(Teachers, BoardQuizScoresByTheFirstWrongAnswer) {
    constexpr s32 RIGHT[] = {2, 3, 2, 0, 1, 0, 0, 2, 1, 2};
    // wrong_at 10: every answer right.
    for (s32 wrong_at = 0; wrong_at <= 10; ++wrong_at) {
        init_player();
        teacher(BOARD_TEACHER, BOARD_ROOM, 344, 265, 4872, 95);
        sh_player(400, 320, BOARD_ROOM);
        sh_clock(11, 0);
        sh_clear_lines();
        sh_answers({0});
        for (s32 q = 0; q < 10 && q <= wrong_at; ++q)
            sh_answers({q == wrong_at ? (RIGHT[q] + 1) % 4 : RIGHT[q]});
        const Growth g(12);
        sh_fire(BOARD_TEACHER, TRIG_CLICK);

        const Lines said = home_talk_lines();
        const bool passed = wrong_at >= 9;
        const bool middling = wrong_at >= 4 && wrong_at <= 8;
        EXPECT_EQ(board_quiz_score, std::min(wrong_at, 9)) << wrong_at;
        EXPECT_EQ(count_of(said, "say_at 188 10920"), wrong_at) << wrong_at;
        if (wrong_at < 10) {
            // The wrong line of the question, then the player's reply.
            const auto wrong = std::find(said.begin(), said.end(),
                                         "say_at 188 " + std::to_string(10910 + wrong_at));
            ASSERT_TRUE(wrong != said.end() && wrong + 1 != said.end()) << wrong_at;
            EXPECT_TRUE(wrong[1].starts_with("say ") && wrong[1].ends_with(" 1000 10921"))
                << wrong_at;
        }
        EXPECT_EQ(count_of(said, "say_at 188 10930"), passed ? 1 : 0) << wrong_at;
        EXPECT_EQ(count_of(said, "say_at 188 10926"), middling ? 1 : 0) << wrong_at;
        EXPECT_EQ(script_stage(BOARD_TEACHER), middling ? 2 : 0) << wrong_at;
        EXPECT_EQ(known_has(12, 0), passed ? 1 : 0) << wrong_at;
        EXPECT_EQ(g.taught(), passed) << wrong_at;
        EXPECT_EQ(sh_only(said, {"choose"}).size(), size_t(1 + std::min(wrong_at + 1, 10)))
            << wrong_at;
    }
}

TEST_F(Teachers, BoardTeachersFirstMeetingDependsOnTheHour) {
    struct Case {
        s32 hour, minute;
        Lines tail; // what follows the opening lines
        s32 stage;
    };
    const Case cases[] = {
        {10, 59, {"say_at 188 10922"}, 1},
        {11, 0, {"say_at 188 10923", "choose"}, 1},
        {12, 59, {"say_at 188 10923", "choose"}, 1},
        {13, 0, {"say_at 188 10924"}, 2},
    };
    for (const Case& c : cases) {
        teacher(BOARD_TEACHER, BOARD_ROOM, 344, 265, 4872, 95);
        sh_player(400, 320, BOARD_ROOM);
        sh_clock(c.hour, c.minute);
        sh_clear_lines();
        sh_answers({1}); // not now
        sh_fire(BOARD_TEACHER, TRIG_CLICK);
        Lines said = home_talk_lines();
        ASSERT_EQ(said.size(), 11 + c.tail.size()) << c.hour << ":" << c.minute;
        EXPECT_EQ(said[0], "say_at 188 20332");
        EXPECT_EQ(said[5], "say_at 188 20337");
        for (size_t i = 0; i < c.tail.size(); ++i)
            EXPECT_EQ(said[11 + i].substr(0, c.tail[i].size()), c.tail[i])
                << c.hour << ":" << c.minute;
        EXPECT_EQ(script_stage(BOARD_TEACHER), c.stage) << c.hour << ":" << c.minute;
    }
}

TEST_F(Teachers, BoardTeacherPacesToTheBoardWorksThereAndComesBack) {
    teacher(BOARD_TEACHER, BOARD_ROOM, 332, 255, 4852, 95, 0, 1);
    sh_player(600, 600, BOARD_ROOM);
    s32 frames = 0;
    while (attr_get(BOARD_TEACHER, ATTR_VAR_B) == 0 && frames < 400) frames += sh_frames(1);
    EXPECT_EQ(attr_get(BOARD_TEACHER, ATTR_X), 251);
    EXPECT_EQ(attr_get(BOARD_TEACHER, ATTR_Y), 336);
    EXPECT_EQ(obj_get_frame(BOARD_TEACHER), 32010);
    EXPECT_EQ(count_of(sh_lines(), "label 188 20344 -152 -120 5000"), 1);
    // Ten work frames of twelve, then the way back.
    while (attr_get(BOARD_TEACHER, ATTR_VAR_B) == 1 && frames < 800) frames += sh_frames(1);
    EXPECT_EQ(attr_get(BOARD_TEACHER, ATTR_VAR_B), 2);
    EXPECT_EQ(obj_get_frame(BOARD_TEACHER), 4852);
    while (attr_get(BOARD_TEACHER, ATTR_VAR_B) == 2 && frames < 1200) frames += sh_frames(1);
    EXPECT_EQ(attr_get(BOARD_TEACHER, ATTR_X), 332);
    EXPECT_EQ(attr_get(BOARD_TEACHER, ATTR_Y), 255);
    EXPECT_GT(count_of(sh_lines(), "label 188 20345 -40 -120 1500"), 1);
    EXPECT_LT(frames, 1200);
}

// ---- The riddle teacher (object 204) --------------------------------------------------------

TEST_F(Teachers, RiddleQuizPassesOnlyWithAllSixteenRight) {
    for (const s32 wrong_at : {-1, 0, 7, 15}) {
        init_player();
        teacher(RIDDLE_TEACHER, HALL, 572, 770, 32540, 108);
        sh_player(620, 820, HALL);
        sh_clear_lines();
        sh_answers({0});
        for (s32 q = 0; q < 16 && (wrong_at < 0 || q <= wrong_at); ++q)
            sh_answers({q == wrong_at ? (q + 1) % 4 : q % 4});
        const Growth g(30);
        sh_fire(RIDDLE_TEACHER, TRIG_CLICK);
        const Lines said = home_talk_lines();
        const bool passed = wrong_at < 0;
        EXPECT_EQ(count_of(said, "say_at 204 10801"), passed ? 1 : 0) << wrong_at;
        EXPECT_EQ(count_of(said, "say 3 1000 10802"), passed ? 1 : 0) << wrong_at;
        EXPECT_EQ(count_of(said, "say_at 204 10803"), passed ? 0 : 1) << wrong_at;
        EXPECT_EQ(script_stage(RIDDLE_TEACHER), passed ? 1 : 2) << wrong_at;
        EXPECT_EQ(g.taught(), passed) << wrong_at;
        EXPECT_EQ(obj_get_frame(RIDDLE_TEACHER), 32532) << wrong_at;
        // The last question asked shows the options of its group of four.
        const Lines asked = sh_only(said, {"choose"});
        const s32 last = s32(asked.size()) - 2;
        EXPECT_EQ(last, passed ? 15 : wrong_at) << wrong_at;
        const std::string first = std::to_string(10784 + 4 * (last / 4));
        EXPECT_EQ(asked.back().substr(0, 19), "choose 3 1000 " + first) << wrong_at;
    }
}

// ---- The fee teacher (object 184) ------------------------------------------------------------

TEST_F(Teachers, FeeIsTakenWithoutAMoneyTestAndTheRoadWaitsForTheTimerObject) {
    struct Case {
        s32 stage, money;
        bool timer_object_on;
        s32 stage_after, money_after;
        s32 last; // the last text said
    };
    const Case cases[] = {
        {2, 5000, true, 3, 4000, 26546},
        {2, 500, true, 3, 0, 26546}, // less than the fee: money_add stops at 0
        {3, 500, true, 3, 500, 26547},
        {3, 500, false, 4, 500, 26551},
    };
    for (const Case& c : cases) {
        teacher(FEE_TEACHER, HALL, 1090, 557, 31851, 91, c.stage);
        sh_object(2373, {.map = HALL, .x = 10, .y = 10, .active = c.timer_object_on});
        sh_player(1120, 590, HALL);
        player_record.money = c.money;
        sh_clear_lines();
        sh_answers({0});
        sh_fire(FEE_TEACHER, TRIG_CLICK);
        EXPECT_EQ(script_stage(FEE_TEACHER), c.stage_after) << c.stage << " " << c.money;
        EXPECT_EQ(player_record.money, c.money_after) << c.stage << " " << c.money;
        const Lines said = sh_only(home_talk_lines(), {"say"});
        ASSERT_FALSE(said.empty());
        EXPECT_TRUE(said.back().ends_with(" " + std::to_string(c.last))) << said.back();
    }
}

// ---- The dish teacher (object 183) ----------------------------------------------------------

TEST_F(Teachers, DishMenuListsOwnedDishesAndTakesTheOnePicked) {
    struct Case {
        std::vector<s32> owned;
        std::vector<s32> answers;
        Lines asked;
        s32 reply; // the teacher's line after tasting
        s32 stage;
    };
    const Case cases[] = {
        {{2050, 2052, 2054},
         {2, 4},
         {"choose 3 1000 20204 20205 20477 -> 2", "choose 3 1000 20496 -1 20498 -1 20500 -> 4"},
         20480,
         2},
        {{2050, 2052, 2054},
         {2, 2},
         {"choose 3 1000 20204 20205 20477 -> 2", "choose 3 1000 20496 -1 20498 -1 20500 -> 2"},
         20479,
         1},
        {{2050, 2053}, {0}, {"choose 3 1000 20204 20205 -> 0"}, 0, 1},
    };
    for (const Case& c : cases) {
        init_player();
        for (const s32 item : c.owned) inv_add(item, 1);
        teacher(DISH_TEACHER, DISH_ROOM, 352, 269, 32040, 90, 1);
        sh_player(400, 320, DISH_ROOM);
        sh_clear_lines();
        for (const s32 a : c.answers) sh_answers({a});
        const Growth g(19);
        sh_fire(DISH_TEACHER, TRIG_CLICK);
        const Lines said = home_talk_lines();
        EXPECT_EQ(sh_only(said, {"choose"}), c.asked);
        EXPECT_EQ(said.front(), "say_at 183 20203");
        if (c.reply != 0) {
            EXPECT_EQ(count_of(said, "say_at 183 20478"), 1);
            EXPECT_EQ(count_of(said, "say_at 183 " + std::to_string(c.reply)), 1);
            const s32 picked = 2050 + c.answers[1];
            EXPECT_EQ(inv_has(picked), 0) << picked;
        } else {
            EXPECT_EQ(said.back(), "say_at 183 20481");
        }
        EXPECT_EQ(script_stage(DISH_TEACHER), c.stage);
        EXPECT_EQ(g.taught(), c.stage == 2);
        EXPECT_EQ(known_has(19, 1), c.stage == 2 ? 1 : 0);
        EXPECT_EQ(obj_get_frame(DISH_TEACHER), 32034);
    }
}

// ---- The walking teacher (object 187) -------------------------------------------------------

TEST_F(Teachers, WalkingTeacherChangesMapsAtItsArrivals) {
    struct Case {
        s32 stage, map, x, y; // where it starts, a few steps from its way-point
        s32 next_stage, next_map, next_x, next_y, next_frame;
    };
    const Case cases[] = {
        {2, 45, 298, 236, 3, 42, 564, 896, 5972},
        {7, 42, 1290, 600, 8, 41, 147, 1293, 5972},
        {21, 41, 2470, 1010, 22, 43, 125, 408, 5952},
        {23, 43, 370, 305, 24, 43, 378, 300, 33982},
    };
    sh_player(100, 100, HALL);
    for (const Case& c : cases) {
        teacher(WALKING_TEACHER, c.map, c.x, c.y, 5972, 94, c.stage, 1);
        s32 frames = 0;
        while (script_stage(WALKING_TEACHER) == c.stage && frames < 400) frames += sh_frames(1);
        EXPECT_EQ(script_stage(WALKING_TEACHER), c.next_stage) << c.stage;
        EXPECT_EQ(attr_get(WALKING_TEACHER, ATTR_MAP), c.next_map) << c.stage;
        EXPECT_EQ(attr_get(WALKING_TEACHER, ATTR_X), c.next_x) << c.stage;
        EXPECT_EQ(attr_get(WALKING_TEACHER, ATTR_Y), c.next_y) << c.stage;
        EXPECT_EQ(obj_get_frame(WALKING_TEACHER), c.next_frame) << c.stage;
        EXPECT_EQ(attr_get(WALKING_TEACHER, ATTR_TIMER), 6) << c.stage;
    }
    // At its spot it idles until 18:00 and then stands still.
    for (const s32 hour : {17, 18}) {
        sh_clock(hour, hour == 17 ? 59 : 0);
        obj_set_frame(WALKING_TEACHER, 33990);
        world_arm_timer(WALKING_TEACHER, 1, true);
        sh_frames(1);
        EXPECT_EQ(obj_get_frame(WALKING_TEACHER), hour == 17 ? 33992 : 33990);
    }
}

TEST_F(Teachers, WalkingTeacherAnswersOnItsWayAndTeachesAtItsLastSpot) {
    teacher(WALKING_TEACHER, 43, 378, 300, 5972, 94, 10);
    sh_player(400, 340, 43);
    sh_fire(WALKING_TEACHER, TRIG_CLICK);
    EXPECT_EQ(home_talk_lines(), (Lines{"say_at 187 10331"}));
    EXPECT_EQ(obj_get_frame(WALKING_TEACHER), 5972);

    script_set_stage(WALKING_TEACHER, WALK_LESSON_STAGE);
    obj_set_frame(WALKING_TEACHER, 33990);
    sh_clear_lines();
    const Growth g(16);
    sh_fire(WALKING_TEACHER, TRIG_CLICK);
    const Lines said = home_talk_lines();
    ASSERT_EQ(said.size(), 9u);
    EXPECT_EQ(said[1], "say_at 187 10333");
    EXPECT_EQ(script_stage(WALKING_TEACHER), 25);
    EXPECT_EQ(inv_has(2220), 1);
    EXPECT_TRUE(g.taught());
    EXPECT_EQ(obj_get_frame(WALKING_TEACHER), 33990);
}

// ---- The meeting scene of map 40 (object 186) -----------------------------------------------

TEST_F(Teachers, MeetingScenePlaysOnceAndGivesThePlayerBack) {
    teacher(FEE_TEACHER, HALL, 1090, 557, 31851, 91);
    teacher(FEE_COMPANION, HALL, 1049, 585, 31900, 92);
    sh_object(MEETING_AREA, {.map = HALL, .x = 1120, .y = 560, .frame = 3090, .slot = 93});
    sh_player(1120, 560, HALL);
    sh_fire(MEETING_AREA, TRIG_STEP);
    const Lines said = sh_only(home_talk_lines(), {"say"});
    const Lines expected = {
        "say 2 1055 20231", "say 1 1005 20232", "say 2 1055 20233", "say 1 1005 20234",
        "say 2 1055 20235", "say 1 1005 20236", "say 2 1055 20237", "say 1 1005 20238",
        "say 3 1000 20239", "say 3 1000 20240", "say 2 1055 20241", "say 3 1000 20242",
        "say 1 1005 20243", "say 2 1055 20244", "say 3 1000 20245", "say 1 1005 20246"};
    EXPECT_EQ(said, expected);
    EXPECT_EQ(attr_get(MEETING_AREA, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(0, ATTR_X), 1102);
    EXPECT_EQ(attr_get(0, ATTR_Y), 590);
    EXPECT_EQ(obj_get_frame(0), -418);
    EXPECT_EQ(obj_get_frame(FEE_COMPANION), 31946);
    EXPECT_EQ(attr_get(0, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(0, ATTR_LAYER), 3);
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(TeachersPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(teachers_frames);
    EXPECT_GT(shown.count, 100u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
