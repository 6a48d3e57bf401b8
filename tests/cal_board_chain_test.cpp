// The board course of place 1.3: its boards played headless on the tile-swap core with clicks
// planned from the puzzle's own state, the experience of a solve at a known bar step, the
// course's entry switching step by step, and the final challenge of four boards on one clock.
#include "calendar/board_chain.h"
#include "calendar/frame.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/tile_swap.h"
#include "platform/harness.h"
#include "tests/cal_checks.h"
#include "tests/calendar_fixture.h"
#include "tests/text_runs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

// The deal of every board: tile deal[c] into cell c.
std::vector<s32> deal;
size_t deal_next = 0;
s32 dealt_draw(s32) {
    const s32 v = deal[deal_next % deal.size()];
    ++deal_next;
    return v;
}

std::vector<s32> in_order() {
    std::vector<s32> d;
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) d.push_back(c);
    return d;
}
std::vector<s32> reversed() {
    std::vector<s32> d;
    for (s32 c = TILE_SWAP_CELLS - 1; c >= 0; --c) d.push_back(c);
    return d;
}

constexpr s32 FINISH_X = 16, FINISH_Y = 440;

void cell_middle(s32 cell, s32* x, s32* y) {
    *x = tile_swap_cell_x(cell) + 45;
    *y = tile_swap_cell_y(cell) + 50;
}

// How a board is played: put every tile home (or leave the deal as it lies), wait until the bar
// stands at `finish_step`, then press a finish button; or, with `run_out`, jump the clock past
// the bar's end instead.
struct BoardPlan {
    bool solve = true;
    s32 finish_step = 0;
    bool run_out = false;
    bool own_steps = false; // finish_step counts from the bar's steps when the board started
};

class BoardChainTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        deal = in_order();
        deal_next = 0;
        tile_swap_rand = dealt_draw;
        hub_block.place_events[1][3][0] = {78, 1};
        for (s32 k = 1; k <= 9; ++k) hub_block.place_events[1][3][k] = {44 + k, 0};
        hub_block.place_events[1][3][10] = {54, 0};
        hub_block.place_events[1][3][11] = {55, 0};
        hub_block.hub_third_avail[3][1] = 1;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        tile_swap_rand = rand_below;
        CalendarHandlerTest::TearDown();
    }

    // Plays every board by `plan_for(board)` (boards counted from 0 in the order they start);
    // records the blocks of each board.
    void play_boards(std::function<BoardPlan(s32)> plan_for) {
        plan_for_ = std::move(plan_for);
        board_ = -1;
        harness_on_present([this](const u16*, u64) {
            const TileSwapState& s = tile_swap_state;
            if (s.frames == 0 || s.finished) return;
            if (s.frames == 1) {
                ++board_;
                blocks.push_back({s.block_first, s.block_second});
                start_steps.push_back(s.steps);
            }
            if (harness_pending_input() != 0) return;
            const BoardPlan plan = plan_for_(board_);
            s32 x = -1, y = -1;
            if (plan.solve && s.held >= 0) cell_middle(s.held, &x, &y);
            for (s32 c = 0; plan.solve && x < 0 && c < TILE_SWAP_CELLS; ++c)
                if (s.cell[c] != c) cell_middle(c, &x, &y);
            if (x >= 0) {
                harness_click(x, y);
                return;
            }
            if (plan.run_out) {
                // Past the bar's last step: the board ends on the next frame at step 101.
                harness_advance(u32(s.step_ms) * u32(TILE_SWAP_LAST_STEP + 1 - s.steps));
                return;
            }
            const s32 from = plan.own_steps ? start_steps.back() : 0;
            if (s.steps >= from + plan.finish_step)
                harness_click(FINISH_X, FINISH_Y);
            else if (plan.own_steps)
                harness_advance(u32(s.step_ms)); // a step of waiting a frame, to keep it short
        });
    }
    void play_all(BoardPlan plan) {
        play_boards([plan](s32) { return plan; });
    }

    static void expect_record(const PlayerRecord& want) {
        EXPECT_EQ(player_record.skill[13], want.skill[13]);
        EXPECT_EQ(player_record.skill_exp[13], want.skill_exp[13]);
        EXPECT_EQ(player_record.mood, want.mood);
        EXPECT_EQ(player_record.mood_turns, want.mood_turns);
        EXPECT_EQ(player_record.affection[150], want.affection[150]);
        EXPECT_EQ(std::memcmp(&player_record, &want, sizeof want), 0) << "another field changed";
    }
    static s32 on(s32 k) { return hub_block.place_events[1][3][k].on; }

    std::vector<std::pair<s32, s32>> blocks;
    std::vector<s32> start_steps; // the bar's steps at each board's first frame

  private:
    std::function<BoardPlan(s32)> plan_for_;
    s32 board_ = -1;
};

} // namespace

TEST_F(BoardChainTest, StagesAndStepsFollowTheirTables) {
    const s32 stage_blocks[BOARD_STAGES][2] = {{10, 11}, {12, 13}, {0, 9},   {16, 17}, {18, 14},
                                               {15, 16}, {20, 22}, {19, 23}, {21, 23}};
    play_all({});
    for (s32 stage = 0; stage < BOARD_STAGES; ++stage) {
        EXPECT_EQ(tile_board_game(stage), 1) << stage; // solved on the first frame: steps 0
        EXPECT_EQ(tile_swap_state.block_first, stage_blocks[stage][0]);
        EXPECT_EQ(tile_swap_state.block_second, stage_blocks[stage][1]);
    }
    // Every stage's tiles are in the placeholder archive.
    for (const BoardStage& st : BOARD_STAGE_TABLE)
        for (s32 t = 0; t < TILE_SWAP_CELLS; ++t)
            EXPECT_GT(gisk_size(ARC_IMAGE_BASE +
                                tile_swap_tile_image(st.block_first, st.block_second, t)),
                      0);
    // Tile t of the second picture comes from block B's first twelve images.
    EXPECT_EQ(tile_swap_tile_image(19, 23, 12), 62601 + 20 * 23);
    EXPECT_EQ(tile_swap_tile_image(19, 23, 11), 62601 + 20 * 19 + 11);
    // The growth rule, including the loss of a slow solve at a low skill.
    EXPECT_EQ(board_experience(40, 1), 200 + 792);
    EXPECT_EQ(board_experience(3, 102), 15 - 16);
    EXPECT_EQ(board_experience(4, 102), 4);
}

TEST_F(BoardChainTest, ASolveAtAKnownBarStepGivesItsExperience) {
    // Skill 13 at 10: a bar step of 2000 ms. The reversed deal is put right by clicks, and the
    // finish button is pressed at bar step 7: r = 8, experience 5 x 10 + 8 x 92 = 786.
    deal = reversed();
    player_record.skill[13] = 10;
    player_record.mood = 3;
    const PlayerRecord want = record_after([] {
        skill_gain(13, 786, true);
        player_record.mood = 0;
        player_record.mood_turns = 0;
        affection_add(150, 2);
    });
    play_all({.finish_step = 7});
    const size_t m = mark();
    run_slot(45);
    EXPECT_EQ(tile_swap_state.steps, 7);
    EXPECT_TRUE(tile_swap_state.solved);
    EXPECT_EQ(texts_from(m),
              text_join({text_runs({55630, -55633}), text_runs({55635, -55640}), {213, 234}}));
    expect_record(want);
    EXPECT_EQ(hub_block.scene_backdrop, 60421);
    EXPECT_EQ(on(1), 0);
    EXPECT_EQ(on(2), 1);
}

TEST_F(BoardChainTest, TimedOutBoardsStillCountWhenSolvedAndTheSlowestLosesExperience) {
    // The bar runs out on solved boards: r = 102, 5 x 3 - 16 = -1 at skill 13 of 3. At skill 100
    // nothing grows, but the summary still shows 213 and 234.
    const struct {
        s32 skill;
        s32 exp;
    } cases[] = {{3, -1}, {100, 0}};
    for (const auto& c : cases) {
        player_record.skill[13] = c.skill;
        player_record.skill_exp[13] = 5;
        const PlayerRecord want = record_after([&] {
            skill_gain(13, c.exp, true);
            player_record.mood = 0;
            player_record.mood_turns = 0;
            affection_add(150, 2);
        });
        play_all({.run_out = true});
        EXPECT_EQ(tile_board_game(3), 102);
        hub_block.place_events[1][3][2].on = 1;
        const size_t m = mark();
        play_all({.run_out = true});
        run_slot(46);
        EXPECT_EQ(texts_from(m),
                  text_join({text_runs({55630, -55633}), text_runs({55635, -55640}), {213, 234}}));
        expect_record(want);
        EXPECT_EQ(player_record.skill_exp[13], c.skill == 100 ? 5 : 4) << c.skill;
    }
}

TEST_F(BoardChainTest, StepsSwitchTheCourseEntryByEntry) {
    // Each step closes its own entry and opens the next; steps 3, 6 and 9 add a line of person 7,
    // and the last one closes the place's button. Slots 048 and 051 wait for skill 13 at 50 and 80.
    struct Case {
        s32 slot, step, skill;
        std::vector<s32> extra; // texts after the summary
    };
    const Case cases[] = {
        {45, 1, 0, {}},  {46, 2, 0, {}},  {47, 3, 0, {55656}},
        {48, 4, 50, {}}, {49, 5, 50, {}}, {50, 6, 50, {55657}},
        {51, 7, 80, {}}, {52, 8, 80, {}}, {53, 9, 80, {55658}},
    };
    play_all({});
    for (const Case& c : cases) {
        player_record.skill[13] = c.skill;
        hub_block.place_events[1][3][c.step].on = 1;
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(
            texts_from(m),
            text_join(
                {text_runs({55630, -55633}), text_runs({55635, -55640}), {213, 234}, c.extra}))
            << c.slot;
        EXPECT_EQ(on(c.step), 0) << c.slot;
        EXPECT_EQ(on(c.step + 1), 1) << c.slot;
        EXPECT_EQ(hub_block.hub_third_avail[3][1], c.step == 9 ? 0 : 1) << c.slot;
    }
    EXPECT_EQ(blocks.size(), 9u);
    EXPECT_EQ(blocks[8], (std::pair<s32, s32>{21, 23}));
}

TEST_F(BoardChainTest, AFailedBoardOrAWaitingTeacherChangesNoEntry) {
    // A board left unsolved: lines 55641-55645 with person 7, summary 284 and a worse mood.
    deal = reversed();
    play_all({.solve = false});
    hub_block.place_events[1][3][5].on = 1;
    player_record.mood = 1;
    const PlayerRecord want = record_after([] { mood_add(-1); });
    size_t m = mark();
    run_slot(49);
    EXPECT_EQ(texts_from(m),
              text_join({text_runs({55630, -55633}), text_runs({55641, -55645}), {284}}));
    expect_record(want);
    EXPECT_EQ(on(5), 1);
    EXPECT_EQ(on(6), 0);

    // Slots 048 and 051 below skill 50 and 80 answer with one line and keep their entry.
    const struct {
        s32 slot, entry, skill, text;
    } waits[] = {{48, 4, 49, 55646}, {51, 7, 79, 55647}};
    for (const auto& w : waits) {
        hub_block.place_events[1][3][w.entry].on = 1;
        player_record.skill[13] = w.skill;
        const u32 frames = tile_swap_state.frames;
        const s32 next = on(w.entry + 1);
        m = mark();
        run_slot(w.slot);
        EXPECT_EQ(texts_from(m), std::vector<s32>{w.text});
        EXPECT_EQ(on(w.entry), 1);
        EXPECT_EQ(on(w.entry + 1), next);
        EXPECT_EQ(tile_swap_state.frames, frames); // no board
    }
}

TEST_F(BoardChainTest, FirstBoardOpensTheStepAfterOrTheRepeatOfItsStage) {
    const struct {
        bool solved;
        s32 opened;
        std::vector<s32> texts;
    } cases[] = {
        {true, 2, {55611, 55612, 55613, 55614, 55615, 55616, 213, 234}},
        {false, 1, {55620, 55621, 55622, 55623, 55624, 55625, 284}},
    };
    for (const auto& c : cases) {
        deal = c.solved ? in_order() : reversed();
        play_all({.solve = c.solved});
        hub_block.place_events[1][3][0].on = 1;
        hub_block.place_events[1][3][1].on = 0;
        hub_block.place_events[1][3][2].on = 0;
        hub_block.hub_menu_avail[5][3] = 0;
        hub_block.hub_menu_avail[0][4] = 0;
        const size_t m = mark();
        run_slot(78);
        EXPECT_EQ(texts_from(m),
                  text_join({{55600, 55601, 55602}, text_runs({55603, -55610}), c.texts}));
        EXPECT_EQ(lines_from(m)[1], "hub_travel");
        EXPECT_EQ(blocks.back(), (std::pair<s32, s32>{10, 11}));
        EXPECT_EQ(on(0), 0);
        EXPECT_EQ(on(c.opened), 1);
        EXPECT_EQ(on(3 - c.opened), 0);
        EXPECT_EQ(hub_block.hub_menu_avail[5][3], 1);
        EXPECT_EQ(hub_block.hub_menu_avail[0][4], 1);
    }
}

TEST_F(BoardChainTest, FinalBelowFullSkillTakesTheLostOutcomeWithoutABoard) {
    // Entry 10 below skill 13 of 100 plays no board; it ends lost, so entry 11 opens the
    // challenge for later visits.
    player_record.skill[13] = 99;
    hub_block.place_events[1][3][10].on = 1;
    play_all({});
    const size_t m = mark();
    run_slot(54);
    EXPECT_EQ(texts_from(m), text_join({text_runs({55650, -55654}), {11822}}));
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(on(10), 0);
    EXPECT_EQ(on(11), 1);
    EXPECT_EQ(hub_block.hub_third_avail[3][1], 1);
}

TEST_F(BoardChainTest, FinalChallengePlaysFourBoardsOnOneClock) {
    // Won: four boards solved, blocks (7, 8) down to (1, 2), every board's bar at 2000 ms
    // whatever the skill; the clock runs on from board to board.
    player_record.skill[13] = 100;
    hub_block.place_events[1][3][10].on = 1;
    deal = reversed();
    play_all({.finish_step = 0});
    size_t m = mark();
    run_slot(54);
    const std::vector<std::pair<s32, s32>> four = {{7, 8}, {5, 6}, {3, 4}, {1, 2}};
    EXPECT_EQ(blocks, four);
    EXPECT_EQ(tile_swap_state.step_ms, 2000);
    EXPECT_EQ(texts_from(m), text_join({{55650, 11820, 11821}, text_runs({11823, -11826})}));
    EXPECT_EQ(on(10), 0);
    EXPECT_EQ(on(11), 0);
    EXPECT_EQ(hub_block.hub_third_avail[3][1], 0);
    EXPECT_EQ(known_has(2, 59), 1);

    // The repeat: the third board finished on the bar's last step is solved, but the clock
    // started on the first board, so its steps are the challenge's. The last board running out
    // solved still wins.
    struct Case {
        std::function<BoardPlan(s32)> plan;
        size_t boards;
        bool won;
    };
    const Case cases[] = {
        // A board left unsolved loses at once.
        {[](s32 b) { return BoardPlan{.solve = b != 1}; }, 2, false},
        // The time runs out on a solved second board: lost before the third.
        {[](s32 b) { return BoardPlan{.run_out = b == 1}; }, 2, false},
        // The time runs out on the solved last board: won.
        {[](s32 b) { return BoardPlan{.run_out = b == 3}; }, 4, true},
    };
    for (const Case& c : cases) {
        blocks.clear();
        play_boards(c.plan);
        hub_block.place_events[1][3][11].on = 1;
        hub_block.hub_third_avail[3][1] = 1;
        player_record.skill[13] = 0;
        m = mark();
        run_slot(55);
        EXPECT_EQ(blocks.size(), c.boards);
        EXPECT_EQ(texts_from(m),
                  text_join({{11830, 11831},
                             c.won ? text_runs({11823, -11826}) : std::vector<s32>{11822}}));
        EXPECT_EQ(on(11), c.won ? 0 : 1);
        EXPECT_EQ(hub_block.hub_third_avail[3][1], c.won ? 0 : 1);
    }
}

TEST_F(BoardChainTest, FinalBoardsShareOneClockOfOneHundredSteps) {
    // Each board is solved and finished 35 steps after it started: alone each would be in time,
    // but the clock runs on from board to board, so the third runs out at step 101 and loses.
    hub_block.place_events[1][3][11].on = 1;
    deal = reversed();
    play_all({.finish_step = 35, .own_steps = true});
    const size_t m = mark();
    run_slot(55);
    const std::vector<std::pair<s32, s32>> three = {{7, 8}, {5, 6}, {3, 4}};
    EXPECT_EQ(blocks, three);
    ASSERT_EQ(start_steps.size(), 3u);
    EXPECT_EQ(start_steps[0], 0);
    EXPECT_GE(start_steps[1], 35);
    EXPECT_GE(start_steps[2], 70);
    EXPECT_GT(tile_swap_state.steps, TILE_SWAP_LAST_STEP);
    EXPECT_EQ(texts_from(m), (std::vector<s32>{11830, 11831, 11822}));
    EXPECT_EQ(on(11), 1);
    EXPECT_EQ(hub_block.hub_third_avail[3][1], 1);
    EXPECT_EQ(known_has(2, 59), 0);
}
