// The city trials on the new game's objects of maps 230, 225 and 224: the guide's test and walk,
// the four stages of the trial station, the closed exit and the ceremony.
#include "scripts/towns/city_trials.h"

#include "engine/gisk.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "game/inventory.h"
#include "game/player.h"
#include "platform/harness.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tests/timed_clicks.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 MEETING = TRIALS_MEETING_POINT;
constexpr s32 OBJECTS[] = {TRIALS_GUIDE,
                           TRIALS_STATION,
                           1123,
                           1124,
                           1127,
                           1128,
                           TRIALS_EXIT_GUARD,
                           TRIALS_PERSON,
                           TRIALS_CEREMONY,
                           1383,
                           1385,
                           TRIALS_EXIT_DOOR,
                           MEETING};
constexpr s32 TRACK_MS = 4000;

s32 stage(s32 obj) {
    return attr_get(obj, ATTR_VAR_A);
}
s32 active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE);
}
void set_skills(s32 value) {
    for (s32 k = TRIALS_SKILL_FIRST; k <= TRIALS_SKILL_LAST; ++k)
        player_record.skill[size_t(k)] = value;
}

// The screen point in the middle of grid point (col, row).
s32 grid_x(s32 col) {
    return GRID_COORDS[size_t(col)] + GRID_BOX_DX + GRID_BOX_SIZE / 2;
}
s32 grid_y(s32 row) {
    return GRID_COORDS[size_t(row)] + GRID_BOX_DY + GRID_BOX_SIZE / 2;
}

class CityTrials : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            b.put(ARC_SOUND_BASE + CEREMONY_MUSIC, wav_tone(WavFormat{}, TRACK_MS, 440));
            for (const s32 piece : {10060, 10062})
                b.put(ARC_SOUND_BASE + piece, wav_tone(WavFormat{}, 200, 330));
        });
        scripts_register_all();
        sh_player(SH_MAP_W / 2, SH_MAP_H / 2);
        sh_populate(OBJECTS);
        script_set_stage(MEETING, 2);
    }
    void TearDown() override { sh_stop(); }

    // The station at `s` with the guide introduced and the player beside it.
    void at_station(s32 s) {
        script_set_stage(TRIALS_GUIDE, GUIDE_INTRODUCED);
        attr_set(TRIALS_STATION, ATTR_ACTIVE, 1);
        script_set_stage(TRIALS_STATION, s);
    }
    // The station fails for good; the guide keeps `guide` and the meeting point takes 5.
    void expect_failed(s32 guide) {
        EXPECT_EQ(active(TRIALS_STATION), 0);
        EXPECT_EQ(stage(TRIALS_GUIDE), guide);
        EXPECT_EQ(stage(MEETING), 5);
    }
    HarnessTempDir dir;
};

TEST_F(CityTrials, TheGuideLetsThroughOnlyWhenAllFourGrowthValuesReachThirty) {
    const Lines asked = {sh_box(3, 1000, 33036), sh_bubble(TRIALS_GUIDE, 33037),
                         sh_box(3, 1000, 33038)};
    struct Case {
        s32 low_skill; // -1: all at 30
        bool passes;
    };
    for (const Case c :
         {Case{-1, true}, Case{10, false}, Case{11, false}, Case{12, false}, Case{13, false}}) {
        SCOPED_TRACE(c.low_skill);
        script_set_stage(TRIALS_GUIDE, GUIDE_UNTESTED);
        script_set_stage(MEETING, 2);
        set_skills(TRIALS_SKILL_NEEDED);
        if (c.low_skill >= 0) player_record.skill[size_t(c.low_skill)] = TRIALS_SKILL_NEEDED - 1;
        Lines want = asked;
        want.push_back(sh_bubble(TRIALS_GUIDE, c.passes ? 33039 : 33022));
        EXPECT_EQ(sh_click(TRIALS_GUIDE), want);
        EXPECT_EQ(stage(TRIALS_GUIDE), c.passes ? 1 : GUIDE_REFUSED);
        EXPECT_EQ(stage(MEETING), c.passes ? 2 : 5);
        EXPECT_EQ(obj_get_frame(TRIALS_GUIDE), 39702); // the frame from before the click
    }
    // Refused for good.
    set_skills(100);
    script_set_stage(TRIALS_GUIDE, GUIDE_REFUSED);
    EXPECT_EQ(sh_click(TRIALS_GUIDE), Lines{sh_bubble(TRIALS_GUIDE, 33023)});
    EXPECT_EQ(stage(TRIALS_GUIDE), GUIDE_REFUSED);
}

TEST_F(CityTrials, TheGuideWalksIntoTheTrialRoomOpeningItsDoorAndThenShowsTheStation) {
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_MAP), 230);
    EXPECT_EQ(active(1385), 0);
    script_set_stage(TRIALS_GUIDE, 1);
    for (s32 i = 0; i < 200 && stage(TRIALS_GUIDE) < GUIDE_WAITING; ++i) sh_frames(3);
    ASSERT_EQ(stage(TRIALS_GUIDE), GUIDE_WAITING);
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_MAP), 225);
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_X), 465);
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_Y), 250);
    EXPECT_EQ(obj_get_frame(TRIALS_GUIDE), -39722);
    EXPECT_EQ(active(1123), 0);
    EXPECT_EQ(active(1128), 0);
    EXPECT_EQ(active(1385), 1);
    EXPECT_EQ(active(1124), 1); // the hall of honour stays closed
    EXPECT_EQ(active(1383), 0);

    // The guide waits (its timer still re-armed) until clicked; the click shows the station.
    sh_frames(30);
    EXPECT_EQ(stage(TRIALS_GUIDE), GUIDE_WAITING);
    EXPECT_GT(attr_get(TRIALS_GUIDE, ATTR_TIMER), 0);
    EXPECT_EQ(active(TRIALS_STATION), 0);
    EXPECT_EQ(sh_click(TRIALS_GUIDE), (Lines{sh_bubble(TRIALS_GUIDE, 33040), sh_box(3, 1000, 33041),
                                             sh_bubble(TRIALS_GUIDE, 33042)}));
    EXPECT_EQ(active(TRIALS_STATION), 1);
    EXPECT_EQ(stage(TRIALS_GUIDE), GUIDE_INTRODUCED);

    // After the ceremony the guide walks on in the hall of honour and stands turned.
    script_set_stage(TRIALS_GUIDE, GUIDE_HONOUR_WALK);
    for (s32 i = 0; i < 200 && stage(TRIALS_GUIDE) < 11; ++i) sh_frames(3);
    ASSERT_EQ(stage(TRIALS_GUIDE), 11);
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_X), 462);
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_Y), 310);
    EXPECT_EQ(obj_get_frame(TRIALS_GUIDE), -39722);
}

TEST_F(CityTrials, TheMusicQuizAcceptsTheOptionOfTheDrawnPiece) {
    struct Case {
        s32 drawn, answer;
        bool playing_10060; // the episode's own track is the one drawn
    };
    for (const Case c : {Case{0, 0, false}, Case{5, 5, false}, Case{2, 2, true}, Case{3, 1, false},
                         Case{2, 1, true}}) {
        SCOPED_TRACE(c.drawn * 10 + c.answer);
        at_station(STATION_MUSIC);
        script_set_stage(MEETING, 2);
        if (c.playing_10060) mssw_play_music(10060, 0);
        sh_rand({c.drawn});
        const Lines said = sh_click(TRIALS_STATION, {c.answer});
        const bool right = c.drawn == c.answer;
        const Lines want = {sh_bubble(TRIALS_GUIDE, 25450), sh_bubble(TRIALS_GUIDE, 25451),
                            "choose 2 1000 25458 25459 25460 25461 25462 25463 -> " +
                                std::to_string(c.answer),
                            sh_bubble(TRIALS_GUIDE, right ? 25455 : 25457)};
        EXPECT_EQ(said, want);
        EXPECT_EQ(mssw_music_id, 10062);
        if (right) {
            EXPECT_EQ(stage(TRIALS_STATION), STATION_GRID);
            EXPECT_EQ(active(TRIALS_STATION), 1);
            EXPECT_EQ(stage(MEETING), 2);
        } else {
            expect_failed(GUIDE_INTRODUCED); // the guide keeps stage 6 after the music quiz
            EXPECT_EQ(sh_click(TRIALS_GUIDE), Lines{sh_bubble(TRIALS_GUIDE, 33042)});
        }
    }
}

TEST_F(CityTrials, GridBoxesAreNinePixelsWithBothEdgesIncluded) {
    const s32 y = GRID_COORDS[0] + GRID_BOX_DY; // row 0's top edge
    struct Case {
        s32 x, y, hit;
    };
    for (const Case c : {Case{224, y, -1}, Case{225, y, 0}, Case{233, y, 0}, Case{234, y, -1},
                         Case{229, y - 1, -1}, Case{229, y + 8, 0}, Case{229, y + 9, -1},
                         Case{grid_x(18), grid_y(18), 18 * GRID_POINTS + 18},
                         Case{grid_x(6), grid_y(8), 6 * GRID_POINTS + 8}}) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(grid_point_at(c.x, c.y), c.hit);
    }
}

TEST_F(CityTrials, ThreeRightGridPointsPassAndClicksBetweenPointsChangeNothing) {
    at_station(STATION_GRID);
    start_clicks();
    click(234, 148); // between columns 0 and 1
    for (const GridBoard& b : GRID_BOARDS) {
        click(grid_x(b.col), grid_y(b.row));
        click(600, 400); // outside the board
    }
    sh_beside(TRIALS_STATION);
    sh_clear_lines();
    sh_fire(TRIALS_STATION, TRIG_CLICK);
    EXPECT_EQ(sh_talk_lines(),
              (Lines{sh_bubble(TRIALS_GUIDE, 25452), sh_bubble(TRIALS_GUIDE, 25455)}));
    EXPECT_EQ(stage(TRIALS_STATION), STATION_PICTURE);
    EXPECT_EQ(active(TRIALS_STATION), 1);
    EXPECT_EQ(stage(TRIALS_GUIDE), GUIDE_INTRODUCED);
    EXPECT_EQ(mouse_buttons, 0u); // the last click does not reach the map
    EXPECT_EQ(click_kind, 0u);
}

TEST_F(CityTrials, AWrongGridPointFailsAtOnce) {
    at_station(STATION_GRID);
    start_clicks();
    const GridBoard& first = GRID_BOARDS[0];
    click(grid_x(first.col), grid_y(first.row));
    click(grid_x(0), grid_y(0)); // wrong on the second board
    sh_beside(TRIALS_STATION);
    sh_clear_lines();
    sh_fire(TRIALS_STATION, TRIG_CLICK);
    EXPECT_EQ(sh_talk_lines(),
              (Lines{sh_bubble(TRIALS_GUIDE, 25452), sh_bubble(TRIALS_GUIDE, 25457)}));
    EXPECT_EQ(stage(TRIALS_STATION), STATION_GRID);
    expect_failed(GUIDE_FAILED);
    EXPECT_EQ(sh_click(TRIALS_GUIDE),
              (Lines{sh_bubble(TRIALS_GUIDE, 33081), sh_box(3, 1000, 33082)}));
}

TEST_F(CityTrials, ThePictureQuestionAcceptsOnlyTheThirdOption) {
    for (s32 answer = 0; answer < 4; ++answer) {
        SCOPED_TRACE(answer);
        at_station(STATION_PICTURE);
        script_set_stage(MEETING, 2);
        const bool right = answer == 2;
        EXPECT_EQ(sh_click(TRIALS_STATION, {answer}),
                  (Lines{sh_bubble(TRIALS_GUIDE, 25453),
                         "choose 2 1000 25464 25465 25466 25467 -> " + std::to_string(answer),
                         sh_bubble(TRIALS_GUIDE, right ? 25455 : 25457)}));
        if (right) {
            EXPECT_EQ(stage(TRIALS_STATION), STATION_TILES);
            EXPECT_EQ(stage(MEETING), 2);
        } else {
            expect_failed(GUIDE_FAILED);
        }
    }
}

TEST_F(CityTrials, TheTileSwapPassesTheTrialsOnlyWhenSolved) {
    for (const s32 result : {1, 2}) {
        SCOPED_TRACE(result);
        at_station(STATION_TILES);
        script_set_stage(MEETING, 2);
        attr_set(TRIALS_EXIT_GUARD, ATTR_ACTIVE, 1);
        attr_set(TRIALS_EXIT_DOOR, ATTR_ACTIVE, 0);
        sh_clear_calls();
        sh_rand({7});
        sh_results("tile_swap", {result});
        sh_games_leave_click(320, 240);
        EXPECT_EQ(sh_click(TRIALS_STATION),
                  (Lines{sh_bubble(TRIALS_GUIDE, 25454),
                         sh_bubble(TRIALS_GUIDE, result == 1 ? 25456 : 25457)}));
        EXPECT_EQ(sh_calls(), Lines{"tile_swap 7"});
        EXPECT_EQ(mouse_buttons, 0u); // the game's closing click does not reach the map
        EXPECT_EQ(click_kind, 0);
        EXPECT_EQ(active(TRIALS_STATION), 0);
        if (result == 1) {
            EXPECT_EQ(stage(TRIALS_STATION), STATION_PASSED);
            EXPECT_EQ(stage(TRIALS_GUIDE), GUIDE_PASSED);
            EXPECT_EQ(active(TRIALS_EXIT_DOOR), 1);
            EXPECT_EQ(active(TRIALS_EXIT_GUARD), 0);
            EXPECT_EQ(stage(MEETING), 2);
        } else {
            expect_failed(GUIDE_FAILED);
            EXPECT_EQ(active(TRIALS_EXIT_DOOR), 0);
            EXPECT_EQ(active(TRIALS_EXIT_GUARD), 1);
        }
    }
    // A passed station does nothing more.
    sh_clear_calls();
    script_set_stage(TRIALS_STATION, STATION_PASSED);
    attr_set(TRIALS_STATION, ATTR_ACTIVE, 1);
    EXPECT_EQ(sh_click(TRIALS_STATION), Lines{});
    EXPECT_EQ(sh_calls(), Lines{});
}

TEST_F(CityTrials, TheClosedExitGivesOnlyTheGuidesRemark) {
    obj_set_frame(TRIALS_GUIDE, -39722);
    sh_clear_lines();
    sh_fire(TRIALS_EXIT_GUARD, TRIG_STEP);
    EXPECT_EQ(sh_talk_lines(), Lines{sh_bubble(TRIALS_GUIDE, 25468)});
    EXPECT_EQ(obj_get_frame(TRIALS_GUIDE), -39722);
    EXPECT_EQ(active(TRIALS_EXIT_GUARD), 1);
    EXPECT_EQ(active(TRIALS_EXIT_DOOR), 0);
}

TEST_F(CityTrials, TheCeremonySetsItsFlagsAndOpensTheHallOfHonour) {
    ASSERT_EQ(mssw_enabled, 1);
    EXPECT_EQ(attr_get(TRIALS_PERSON, ATTR_CLICK), 0);
    script_set_stage(TRIALS_GUIDE, GUIDE_PASSED);
    sh_player(251, 319);
    sh_clear_lines();
    const u64 start = harness_elapsed_ms();
    sh_fire(TRIALS_CEREMONY, TRIG_STEP);
    const u64 took = harness_elapsed_ms() - start;
    // The first gesture (1.5 s), then the second cycles of 3 s each until the piece of 4 s has
    // ended at a wrap: two cycles.
    EXPECT_GE(took, 1500u + 6000u);
    EXPECT_LT(took, 1500u + 9000u);
    EXPECT_EQ(mssw_music_id, 10062);

    const Lines said = sh_talk_lines();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front(), sh_box(1, 1000, 33050));
    EXPECT_EQ(said.back(), sh_box(1, 1234, 33078));
    EXPECT_EQ(player_record.story_flags[TRIALS_PASSED_FLAG], 1);
    EXPECT_EQ(album_has(5), 1);
    EXPECT_EQ(stage(TRIALS_GUIDE), GUIDE_HONOUR_WALK);
    EXPECT_EQ(attr_get(TRIALS_GUIDE, ATTR_MAP), 224);
    EXPECT_EQ(stage(MEETING), 4);
    EXPECT_EQ(active(1124), 0);
    EXPECT_EQ(active(1127), 0);
    EXPECT_EQ(active(1383), 1);
    EXPECT_EQ(active(TRIALS_CEREMONY), 0);
    EXPECT_EQ(obj_get_frame(TRIALS_PERSON), 46644);

    // Person 234 now answers a click and keeps its frame.
    EXPECT_EQ(attr_get(TRIALS_PERSON, ATTR_CLICK), 1);
    EXPECT_EQ(sh_click(TRIALS_PERSON), Lines{sh_box(1, 1234, 33079)});
    EXPECT_EQ(obj_get_frame(TRIALS_PERSON), 46644);
}

TEST_F(CityTrials, EveryFrameTheseScriptsShowIsInThePlaceholderArchive) {
    const FramesShown shown = frames_shown(city_trials_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
