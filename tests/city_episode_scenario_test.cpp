// The city episode as a player meets it, headless on the placeholder archive on a new game's
// world, by real input: the calendar's launcher with its introduction, the real scene set-up and
// the real field loop. The player walks from the city's gate to the hall of candidates, passes the
// guide's test and follows the guide into the trial room on real frames, and clicks the trial
// station four times: the music quiz, the grid points by their click coordinates, the picture
// question and the tile swap behind its seam. Through the opened exit the player reaches the hall
// of honour, whose ceremony plays with the placeholder's short piece. The clock is then set to
// 14:59 once; the 15:00 close plays the finale, with its performance on another short piece, and
// the launcher takes the player back to the hub.
#include "calendar/calendar_register.h"
#include "calendar/launchers.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/save.h"
#include "platform/harness.h"
#include "scripts/script_seams.h"
#include "tests/dialog_driver.h"
#include "tests/map_walk.h"
#include "tests/scenario_game.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr s32 WATCHER = 4094; // a test object whose timer runs every frame on any map
constexpr s32 CITY = 200, HALL = 230, TRIAL_ROOM = 225, HONOUR_HALL = 224, FINALE_MAP = 227;
constexpr s32 DOOR_TO_HALL = 1377, DOOR_TO_TRIAL_ROOM = 1385, TRIAL_EXIT = 1387;
constexpr s32 GUIDE = 1121, STATION = 1122, CEREMONY_ZONE = 1134, DIRECTOR = 1097;
constexpr s32 PERFORMER = 1145;
constexpr s32 TRIALS_FLAG = 97, OUTCOME_FLAG = 98;

// The grid points of the three boards, in screen coordinates: the board is drawn at (224, 143)
// and the points' coordinates (the same for columns and rows) run 5, 16, 26, ... 194.
constexpr s32 GRID[] = {5,   16,  26,  37,  47,  58,  68,  79,  89, 100,
                        110, 121, 131, 142, 152, 163, 173, 184, 194};
constexpr s32 BOARD_X = 224, BOARD_Y = 143;
struct GridPoint {
    s32 column, row;
};
constexpr GridPoint RIGHT_POINTS[] = {{6, 8}, {8, 9}, {10, 7}};

// The player's part, one step a frame.
struct Visit {
    enum Step {
        TO_HALL,
        TO_GUIDE,
        GUIDE_WALKS,
        TO_TRIAL_ROOM,
        TO_GUIDE_AGAIN,
        STATION_QUIZ,
        STATION_GRID,
        STATION_PICTURE,
        STATION_TILES,
        TO_EXIT,
        TO_CEREMONY,
        CEREMONY_DONE,
        CLOSING,
    };
    Step step = TO_HALL;
    s32 guide_frames_walking = 0; // field frames the guide walked on
    s32 station_stage_seen = -1;
};
Visit visit;
MapWalk walker;

void next(Visit::Step s) {
    visit.step = s;
    walker.new_step();
}

s32 stage_of(s32 obj) {
    return attr_get(obj, ATTR_VAR_A);
}

// The station's stage moved on since the click: the next stage's click.
void station_click(Visit::Step then) {
    walker.click_beside(STATION);
    if (stage_of(STATION) != visit.station_stage_seen) next(then);
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    const s32 map = world_state.current_map;
    switch (visit.step) {
    case Visit::TO_HALL:
        if (map == HALL) return next(Visit::TO_GUIDE);
        walker.through_door(DOOR_TO_HALL);
        return;
    case Visit::TO_GUIDE:
        walker.click_beside(GUIDE);
        if (stage_of(GUIDE) >= 1) next(Visit::GUIDE_WALKS);
        return;
    case Visit::GUIDE_WALKS:
        // The guide walks ahead on the field frames and opens the door of the trial room.
        visit.guide_frames_walking++;
        if (attr_get(DOOR_TO_TRIAL_ROOM, ATTR_ACTIVE) == 1) next(Visit::TO_TRIAL_ROOM);
        return;
    case Visit::TO_TRIAL_ROOM:
        if (stage_of(GUIDE) < 5) visit.guide_frames_walking++;
        if (map == TRIAL_ROOM && stage_of(GUIDE) == 5) return next(Visit::TO_GUIDE_AGAIN);
        if (map != TRIAL_ROOM) walker.through_door(DOOR_TO_TRIAL_ROOM);
        return;
    case Visit::TO_GUIDE_AGAIN:
        walker.click_beside(GUIDE);
        if (attr_get(STATION, ATTR_ACTIVE) == 1) {
            next(Visit::STATION_QUIZ);
            visit.station_stage_seen = stage_of(STATION);
            dialog_answers({0}); // the drawn piece is the first of the six
        }
        return;
    case Visit::STATION_QUIZ:
        station_click(Visit::STATION_GRID);
        if (visit.step == Visit::STATION_GRID) {
            visit.station_stage_seen = stage_of(STATION);
            // The guide's line before the boards is clicked away, then the three right points.
            dialog_real_input([](const TranscriptEntry&) {
                dialog_timed_click(320, 240);
                for (const GridPoint& p : RIGHT_POINTS)
                    dialog_timed_click(BOARD_X + GRID[p.column], BOARD_Y + GRID[p.row]);
            });
        }
        return;
    case Visit::STATION_GRID:
        station_click(Visit::STATION_PICTURE);
        if (visit.step == Visit::STATION_PICTURE) {
            visit.station_stage_seen = stage_of(STATION);
            dialog_answers({2}); // the third picture
        }
        return;
    case Visit::STATION_PICTURE:
        station_click(Visit::STATION_TILES);
        if (visit.step == Visit::STATION_TILES) visit.station_stage_seen = stage_of(STATION);
        return;
    case Visit::STATION_TILES:
        station_click(Visit::TO_EXIT);
        return;
    case Visit::TO_EXIT:
        if (map == HONOUR_HALL) return next(Visit::TO_CEREMONY);
        walker.through_door(TRIAL_EXIT);
        return;
    case Visit::TO_CEREMONY:
        if (player_record.story_flags[TRIALS_FLAG] == 1) {
            // The clock jumps to the last minute before the close.
            world_state.hour = 14;
            world_state.minute = 59;
            return next(Visit::CEREMONY_DONE);
        }
        walker.toward(attr_get(CEREMONY_ZONE, ATTR_X), attr_get(CEREMONY_ZONE, ATTR_Y), 4);
        return;
    case Visit::CEREMONY_DONE:
        if (world_state.hour >= 15) next(Visit::CLOSING);
        return;
    case Visit::CLOSING:
        return;
    }
}

s32 first_piece(s32) {
    return 0;
}
s32 tiles_solved(s32) {
    return 1;
}

bool slot2_saved() {
    char name[16];
    save_image_name(2, name);
    return std::filesystem::exists(name);
}

class CityEpisodeScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario_new_game(6 * 60 * 60 * 1000, 80000);
        calendar_register_all();
        hub_restart = -1; // the hub runs the turn's event, with no game loaded
        visit = {};
        walker.reset();
        script_rand_seam = first_piece;
        game_tile_swap_seam = tiles_solved;
    }
    void TearDown() override { scenario_end(); }
    HarnessTempDir dir;
};

TEST_F(CityEpisodeScenario, TheTrialsPassedAndTheCeremonyPlayedTheCloseEndsInTheFinale) {
    // The four growth values the guide tests, just enough.
    for (s32 g = 10; g <= 13; ++g) player_record.skill[g] = 30;
    ASSERT_EQ(player_record.story_flags[TRIALS_FLAG], 0);
    ASSERT_FALSE(slot2_saved());

    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, CITY, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    calendar_event_190();

    ASSERT_EQ(visit.step, Visit::CLOSING) << "the episode stopped at step " << visit.step;
    EXPECT_GT(visit.guide_frames_walking, 20);
    EXPECT_EQ(dialog_answers_left(), 0u);
    // The trials and the ceremony: the station passed, the guide walking in the hall of honour,
    // the hall's door to it open.
    EXPECT_EQ(player_record.story_flags[TRIALS_FLAG], 1);
    EXPECT_EQ(stage_of(STATION), 4);
    EXPECT_GE(stage_of(GUIDE), 9);
    EXPECT_EQ(attr_get(1383, ATTR_ACTIVE), 1);
    // The guide passed each of the first three stations with its praise and the tile swap with its
    // last; the ceremony and the performance each played their piece once.
    const std::vector<std::string> lines = dialog_lines();
    auto said = [&lines](const std::string& line) {
        return std::count(lines.begin(), lines.end(), line);
    };
    EXPECT_EQ(said("say_at 1121 25455"), 3);
    EXPECT_EQ(said("say_at 1121 25456"), 1);
    EXPECT_EQ(said("say_at 1121 25457"), 0);
    EXPECT_EQ(said("music 10065 1"), 1);
    EXPECT_EQ(said("music 10064 1"), 1);
    EXPECT_EQ(said("say 2 1000 33114"), 1); // the finale's last line
    // The close played the finale: the player stands on map 227, the performer and the director
    // are gone; the close leaves the outcome flag as it was.
    EXPECT_EQ(world_state.current_map, FINALE_MAP);
    EXPECT_EQ(attr_get(PERFORMER, ATTR_ACTIVE), 0);
    EXPECT_GE(obj_get_frame(PERFORMER), 39630); // it performed: its creation frame is 46620
    EXPECT_LE(obj_get_frame(PERFORMER), 39650);
    EXPECT_EQ(attr_get(DIRECTOR, ATTR_ACTIVE), 0);
    EXPECT_EQ(player_record.story_flags[OUTCOME_FLAG], 0);
    // Back in the hub, saved in slot 2.
    EXPECT_EQ(player_record.area, AREA_HUB);
    EXPECT_TRUE(slot2_saved());
}

} // namespace
