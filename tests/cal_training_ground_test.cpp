// The training ground of place 1.6: its opener in pool B and the three trainings, each playing
// the real timed action game headless (lost by standing still, won by clicking back every track
// that comes near its end), with the training aftermath replaced by a fake.
#include "calendar/calendar_seams.h"
#include "calendar/frame.h"
#include "calendar/timed_action_game.h"
#include "calendar/training_ground.h"
#include "engine/math.h"
#include "game/growth.h"
#include "game/player.h"
#include "game/titles.h"
#include "platform/harness.h"
#include "tests/cal_checks.h"
#include "tests/calendar_fixture.h"
#include "tests/text_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

std::vector<s32> aftermath_calls;
void fake_aftermath(s32 flag) {
    aftermath_calls.push_back(flag);
}
s32 lowest_draw(s32) {
    return 0;
}

class TrainingGroundTest : public CalendarHandlerTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.present_step_ms = 40; // fewer frames for the same seventy seconds of play
        c.budget_ms = 20 * 60 * 1000;
        return c;
    }
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        aftermath_calls.clear();
        training_aftermath_seam = fake_aftermath;
        timed_action_rand = lowest_draw;
        // Plays each game: standing still, or clicking back every track two positions in; then
        // the continue marker.
        harness_on_present([this](const u16*, u64) {
            const TimedActionState& s = timed_action_state;
            if (s.frames == 0 && s.state == 0) return;
            if (s.state == 0) {
                continued_ = false;
                if (!win || harness_pending_input() != 0) return;
                for (s32 t = 0; t < TIMED_TRACKS; ++t) {
                    const s32 k = s.pos[t];
                    if (k >= 1 && k < TIMED_POSITIONS) {
                        const TimedRect& r = TIMED_RECTS[t][k];
                        harness_click((r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2);
                        return;
                    }
                }
            } else if (!continued_ && harness_pending_input() == 0) {
                continued_ = true;
                harness_click(609, 449);
            }
        });
    }
    void TearDown() override {
        harness_on_present(nullptr);
        timed_action_rand = rand_below;
        CalendarHandlerTest::TearDown();
    }
    static s32 on(s32 k) { return hub_block.place_events[1][6][k].on; }
    static void expect_record(const PlayerRecord& want) {
        EXPECT_EQ(player_record.skill[15], want.skill[15]);
        EXPECT_EQ(player_record.skill_exp[15], want.skill_exp[15]);
        EXPECT_EQ(std::memcmp(&player_record, &want, sizeof want), 0) << "another field changed";
    }

    bool win = false;

  private:
    bool continued_ = false;
};

} // namespace

TEST_F(TrainingGroundTest, OpenerLeadsFromTheCourseToTheTrainingGround) {
    hub_block.encounter_pool_b[3] = {98, 1};
    const size_t m = mark();
    run_slot(98);
    EXPECT_EQ(texts_from(m), text_runs({55790, -55814}));
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_EQ(lines[1], "sound 686 1");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "hub_travel"), 2);
    EXPECT_EQ(hub_block.scene_backdrop, 60423);
    EXPECT_EQ(player_record.affection[164], 50);
    EXPECT_EQ(hub_block.encounter_pool_b[3].on, 0);
    EXPECT_EQ(on(0), 1);
    EXPECT_EQ(hub_block.hub_third_avail[6][1], 1);
}

TEST_F(TrainingGroundTest, FirstTrainingGrowsOnAWinAndEndsInTheAftermathOnALoss) {
    const struct {
        bool win;
        std::vector<s32> texts;
        s32 growth;
        size_t aftermaths;
    } cases[] = {
        {true, text_join({text_runs({55820, -55827}), text_runs({55830, -55833})}), 200, 0},
        {false, text_join({text_runs({55820, -55827}), text_runs({55840, -55844})}), 0, 1},
    };
    for (const auto& c : cases) {
        hub_block.place_events[1][6][0].on = 1;
        hub_block.place_events[1][6][1].on = 0;
        player_record.skill[0] = 33;
        player_record.skill[15] = 20;
        win = c.win;
        aftermath_calls.clear();
        const PlayerRecord want = record_after([&] { skill_gain(15, c.growth); });
        const size_t m = mark();
        run_slot(99);
        EXPECT_EQ(texts_from(m), c.texts);
        expect_record(want);
        EXPECT_EQ(aftermath_calls, std::vector<s32>(c.aftermaths, 1));
        const TimedActionState& s = timed_action_state;
        EXPECT_EQ(s.level, 1);
        EXPECT_EQ(s.pace, 1);
        EXPECT_EQ(s.skill, 33);
        EXPECT_EQ(on(0), 0);
        EXPECT_EQ(on(1), 1);
        EXPECT_EQ(hub_block.scene_backdrop, 60421);
    }
}

TEST_F(TrainingGroundTest, RepeatingTrainingTakesItsSettingsFromSkill15) {
    struct Case {
        s32 skill15;
        std::initializer_list<s32> draws;
        bool win;
        s32 line, level, pace;
        bool done; // skill 15 at 95 afterwards: entry 2 opens
    };
    const Case cases[] = {
        {29, {2}, false, 55847, 1, 1, false},    {30, {0}, false, 55845, 1, 2, false},
        {49, {4}, false, 55849, 1, 3, false},    {50, {1, 0}, true, 55851, 2, 1, false},
        {79, {0, 2}, false, 55850, 2, 3, false}, {80, {3, 1}, false, 55858, 3, 3, false},
        {95, {4, 0}, false, 55859, 3, 2, true},
    };
    for (const Case& c : cases) {
        hub_block.place_events[1][6][1].on = 1;
        hub_block.place_events[1][6][2].on = 0;
        player_record.skill[15] = c.skill15;
        player_record.skill_exp[15] = 0;
        draws(c.draws);
        win = c.win;
        aftermath_calls.clear();
        const PlayerRecord want = record_after(
            [&] { skill_gain(15, c.win ? 200 * c.level + 50 * c.pace : 50 * c.level); });
        const size_t m = mark();
        run_slot(100);
        const std::vector<s32> outcome =
            c.win ? text_runs({55864, -55867}) : text_runs({55840, -55844});
        EXPECT_EQ(texts_from(m), text_join({{c.line}, outcome})) << c.skill15;
        expect_record(want);
        EXPECT_EQ(timed_action_state.level, c.level) << c.skill15;
        EXPECT_EQ(timed_action_state.pace, c.pace) << c.skill15;
        EXPECT_EQ(aftermath_calls.size(), c.win ? 0u : 1u);
        EXPECT_EQ(on(1), c.done ? 0 : 1) << c.skill15;
        EXPECT_EQ(on(2), c.done ? 1 : 0) << c.skill15;
        EXPECT_EQ(draws_left(), 0u);
    }
}

TEST_F(TrainingGroundTest, FinalTestClosesThePlaceWhenWon) {
    const struct {
        bool win;
        std::vector<s32> texts;
        s32 growth;
        s32 own_after, button_after;
    } cases[] = {
        {false, text_join({text_runs({55880, -55883}), text_runs({55840, -55844})}), 0, 1, 1},
        {true, text_join({text_runs({55880, -55883}), text_runs({55884, -55895})}), 10000, 0, 0},
    };
    for (const auto& c : cases) {
        hub_block.place_events[1][6][2].on = 1;
        hub_block.hub_third_avail[6][1] = 1;
        player_record.skill[15] = 96;
        player_record.skill[0] = 0;
        win = c.win;
        aftermath_calls.clear();
        const PlayerRecord want = record_after([&] {
            skill_gain(15, c.growth);
            title_award_check(15);
        });
        const size_t m = mark();
        run_slot(101);
        // A won test at skill 15 of 100 may also award a title: its lines come after.
        const std::vector<s32> texts = texts_from(m);
        ASSERT_GE(texts.size(), c.texts.size());
        EXPECT_EQ(std::vector<s32>(texts.begin(), texts.begin() + long(c.texts.size())), c.texts);
        if (c.win) {
            const std::vector<std::string> lines = lines_from(m);
            const auto last = std::find(lines.begin(), lines.end(), "hub_say 0 0 -1 55895");
            ASSERT_NE(last, lines.end());
            EXPECT_EQ(*(last - 1), "hub_travel");
        }
        expect_record(want);
        EXPECT_EQ(timed_action_state.level, 4);
        EXPECT_EQ(timed_action_state.pace, 3);
        EXPECT_EQ(aftermath_calls.size(), c.win ? 0u : 1u);
        EXPECT_EQ(on(2), c.own_after);
        EXPECT_EQ(hub_block.hub_third_avail[6][1], c.button_after);
    }
}
