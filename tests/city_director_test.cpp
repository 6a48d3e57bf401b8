// The city episode's director on the script harness, over the objects it touches as a new game
// makes them: the clock by the player's map, resident 1065 by the hour, the day-2 changes, and
// the close at minute 0 of an hour from 15:00 with and without the trials.
#include "scripts/towns/city_director.h"

#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "scripts/towns/city_finale.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 DIRECTOR = CITY_DIRECTOR_OBJ;
constexpr s32 CITY = 200;
constexpr s32 CAVE = 162;

Lines said() {
    return sh_only(sh_lines(), {"say"});
}

class CityDirector : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            for (const s32 map : {CITY, CAVE, 211, 227})
                world_put_map(b, map, 2048, 2048, ground, 400);
        });
        scripts_register_all();
        reset();
    }
    // The objects as a new game makes them, the director shown and due on the next frame, the
    // player in the city at 9:00 of day 1.
    static void reset() {
        init_player();
        const s32 objects[] = {5,    DIRECTOR, 1065, 1068, 1075, 1104, 1105,
                               1107, 1108,     1109, 1110, 1141, 1142, 1145};
        sh_populate(objects);
        attr_set(5, ATTR_ACTIVE, 1);
        attr_set(DIRECTOR, ATTR_ACTIVE, 1);
        attr_set(DIRECTOR, ATTR_TIMER, 1);
        sh_player(400, 300, CITY);
        sh_clock(9, 0, CITY_CLOCK_RATE);
        world_state.day = 1;
        world_state.field_active = 1;
        sh_clear_lines();
    }
    static void director() { sh_fire(DIRECTOR, TRIG_TIMER); }
};

TEST_F(CityDirector, TheClockStandsStillInTheCavesAndRunsAt300Elsewhere) {
    struct Case {
        s32 map, rate;
    };
    const Case cases[] = {{98, 0},  {99, 0},  {160, 0},   {161, 0},   {162, 0},
                          {165, 0}, {172, 0}, {200, 300}, {213, 300}, {97, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE("map " + std::to_string(c.map));
        reset();
        attr_set(0, ATTR_MAP, c.map);
        world_state.frames_per_minute = 77;
        player_record.clock_rate_copy = 77;
        director();
        EXPECT_EQ(world_state.frames_per_minute, c.rate);
        EXPECT_EQ(player_record.clock_rate_copy, c.rate);
        EXPECT_EQ(attr_get(5, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(DIRECTOR, ATTR_TIMER), 1);
    }
    // Other triggers do nothing.
    reset();
    sh_fire(DIRECTOR, TRIG_CLICK);
    EXPECT_EQ(attr_get(5, ATTR_ACTIVE), 1);

    // On the field frames: in a cave 14:59 never turns to 15:00, so the close cannot come there.
    reset();
    sh_player(400, 300, CAVE);
    sh_clock(14, 59, CITY_CLOCK_RATE);
    EXPECT_EQ(sh_frames(700), 700);
    EXPECT_EQ(world_state.minute, 59);
    EXPECT_TRUE(said().empty());
}

TEST_F(CityDirector, Resident1065IsPresentFrom6To10AndFrom15) {
    const s32 present_at[24] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0,
                                0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (s32 hour = 0; hour < 24; ++hour) {
        SCOPED_TRACE("hour " + std::to_string(hour));
        reset();
        attr_set(CITY_PART_TIME_RESIDENT, ATTR_ACTIVE, 1 - present_at[hour]);
        sh_clock(hour, 30, CITY_CLOCK_RATE);
        director();
        EXPECT_EQ(attr_get(CITY_PART_TIME_RESIDENT, ATTR_ACTIVE), present_at[hour]);
    }
}

TEST_F(CityDirector, OnDay2TheResidentsChangeOnEveryFrame) {
    const auto state = [] {
        std::vector<s32> s;
        for (const s32 obj : {1068, 1104, 1105, 1109, 1110})
            s.push_back(attr_get(obj, ATTR_ACTIVE));
        for (const s32 obj : {1107, 1108}) s.push_back(script_stage(obj));
        return s;
    };
    const std::vector<s32> created = state();
    director();
    EXPECT_EQ(state(), created); // day 1: nothing changes
    world_state.day = 2;
    director();
    const std::vector<s32> day_two = {1, 0, 0, 1, 1, 1, 1};
    EXPECT_NE(created, day_two);
    EXPECT_EQ(state(), day_two);
    // A script that hides the quiz-giver on day 2 sees it back on the next frame.
    attr_set(1068, ATTR_ACTIVE, 0);
    script_set_stage(1107, 3);
    director();
    EXPECT_EQ(state(), day_two);

    // The errand giver leaves on day 2 only when the cave exit is hidden and the errand's last
    // person is not at 50; nothing hides the cave exit in the episode.
    struct Case {
        s32 day, exit_active, last_stage;
        bool leaves;
    };
    const Case cases[] = {{2, 1, 0, false}, {2, 0, 0, true}, {2, 0, 50, false}, {1, 0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("day " + std::to_string(c.day) + ", exit " + std::to_string(c.exit_active) +
                     ", stage " + std::to_string(c.last_stage));
        reset();
        world_state.day = u8(c.day);
        attr_set(1142, ATTR_ACTIVE, c.exit_active);
        script_set_stage(1141, c.last_stage);
        const s32 stage_before = script_stage(1075);
        ASSERT_EQ(attr_get(1075, ATTR_ACTIVE), 1);
        director();
        EXPECT_EQ(attr_get(1075, ATTR_ACTIVE), c.leaves ? 0 : 1);
        EXPECT_EQ(script_stage(1075), c.leaves ? 4 : stage_before);
    }
}

TEST_F(CityDirector, TheCloseComesAtMinute0From15WithTheFinaleOrOneLine) {
    struct Case {
        s32 hour, minute;
        s32 trials, met_group;
        s32 first; // the close's first line; 0: no close
    };
    const Case cases[] = {
        {14, 0, 0, 0, 0},     {15, 1, 1, 0, 0},     {15, 0, 0, 0, 14498}, {15, 0, 0, 1, 14499},
        {18, 0, 0, 0, 14498}, {15, 0, 1, 0, 14496}, {16, 0, 1, 1, 14497},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hour) + ":" + std::to_string(c.minute) + " trials " +
                     std::to_string(c.trials) + " met " + std::to_string(c.met_group));
        reset();
        player_record.story_flags[97] = c.trials;
        player_record.story_flags[95] = c.met_group;
        player_record.story_flags[98] = 3; // whatever the caves left; the close never writes it
        sh_clock(c.hour, c.minute, CITY_CLOCK_RATE);
        director();
        const Lines lines = said();
        EXPECT_EQ(player_record.story_flags[98], 3);
        if (c.first == 0) {
            EXPECT_TRUE(lines.empty());
            EXPECT_EQ(world_state.field_active, 1);
            EXPECT_EQ(attr_get(1075, ATTR_ACTIVE), 1);
            continue;
        }
        EXPECT_EQ(world_state.field_active, 0);
        EXPECT_EQ(attr_get(DIRECTOR, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(1075, ATTR_ACTIVE), 0);
        ASSERT_FALSE(lines.empty());
        if (c.trials == 0) {
            EXPECT_EQ(lines, Lines{sh_box(0, 1000, c.first)});
            EXPECT_EQ(world_state.minute, 1);
            EXPECT_EQ(attr_get(0, ATTR_MAP), CITY);
            continue;
        }
        // The companions' four lines whoever the player met, then the finale in the hall.
        const Lines head(lines.begin(), lines.begin() + std::min<size_t>(6, lines.size()));
        EXPECT_EQ(head,
                  (Lines{sh_box(2, 1150, c.first), sh_box(1, 1000, 25604), sh_box(2, 1150, 25605),
                         sh_box(2, 1152, 25606), sh_box(2, 1150, 25607), sh_box(2, 1000, 25600)}));
        EXPECT_EQ(lines.back(), sh_box(2, 1000, 33114));
        EXPECT_EQ(attr_get(0, ATTR_MAP), 227);
    }
}

TEST_F(CityDirector, AClockThatJumpsPast15ClosesAtTheNextFullHour) {
    sh_clock(16, 30, CITY_CLOCK_RATE);
    EXPECT_EQ(sh_frames(5), 5);
    EXPECT_TRUE(said().empty());
    sh_clock(16, 59, CITY_CLOCK_RATE);
    const s32 run = sh_frames(2 * CITY_CLOCK_RATE);
    EXPECT_LT(run, 2 * CITY_CLOCK_RATE);
    EXPECT_EQ(world_state.hour, 17);
    EXPECT_EQ(said(), Lines{sh_box(0, 1000, 14498)});
}

} // namespace
