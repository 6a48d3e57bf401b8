// The tile-swap picture puzzle: its layout and rules on a state of our own, and whole boards
// played headless through the real loop with clicks planned from the puzzle's state.
#include "minigames/tile_swap.h"

#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/transcript.h"
#include "engine/world/staging.h"
#include "game/game_start.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Scripted deal draws: each call hands out the next value of the list (and records its bound).
std::vector<s32> draw_script;
size_t draw_next = 0;
std::vector<s32> draw_bounds;
s32 scripted_draw(s32 n) {
    draw_bounds.push_back(n);
    if (draw_next >= draw_script.size()) throw std::runtime_error("deal asked for more draws");
    return draw_script[draw_next++];
}
void script_draws(std::vector<s32> values) {
    draw_script = std::move(values);
    draw_next = 0;
    draw_bounds.clear();
    tile_swap_rand = scripted_draw;
}
// A deal that puts tile `tiles[c]` into cell c.
void script_deal(const s32 (&tiles)[TILE_SWAP_CELLS]) {
    script_draws(std::vector<s32>(tiles, tiles + TILE_SWAP_CELLS));
}

void cell_middle(s32 cell, s32* x, s32* y) {
    *x = tile_swap_cell_x(cell) + 45;
    *y = tile_swap_cell_y(cell) + 50;
}

TileSwapState state_with(const s32 (&tiles)[TILE_SWAP_CELLS], s32 held = -1) {
    TileSwapState s{};
    std::memcpy(s.cell, tiles, sizeof s.cell);
    s.held = held;
    return s;
}

constexpr s32 SOLVED[TILE_SWAP_CELLS] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                         12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
constexpr s32 CROSSED[TILE_SWAP_CELLS] = {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
                                          0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11};
constexpr s32 REVERSED[TILE_SWAP_CELLS] = {23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12,
                                           11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1,  0};
constexpr s32 FINISH_X = 16, FINISH_Y = 440;

} // namespace

TEST(TileSwapRules, StepBySkillCellsButtonsAndImages) {
    const struct {
        s32 skill, step;
    } steps[] = {{0, 2000},  {19, 2000}, {20, 1500}, {39, 1500}, {40, 1000},
                 {59, 1000}, {60, 800},  {79, 800},  {80, 600},  {100, 600}};
    for (const auto& c : steps) EXPECT_EQ(tile_swap_step_for_skill(c.skill), c.step) << c.skill;

    // Cell boxes reach 89 px right and 101 px down of their corner, bounds inclusive; the first
    // cell in order wins where boxes touch.
    const struct {
        s32 x, y, cell;
    } hits[] = {{43, 37, 0},    {132, 138, 0},  {133, 37, 1},   {42, 37, -1},  {43, 36, -1},
                {312, 37, 2},   {313, 37, -1},  {320, 100, -1}, {321, 37, 12}, {501, 343, 23},
                {590, 444, 23}, {591, 444, -1}, {590, 445, -1}, {223, 241, 8}, {43, 138, 0},
                {43, 139, 3},   {133, 139, 4},  {411, 241, 19}};
    for (const auto& h : hits) EXPECT_EQ(tile_swap_cell_at(h.x, h.y), h.cell) << h.x << "," << h.y;

    const struct {
        s32 x, y;
        bool finish;
    } buttons[] = {{2, 312, true},  {30, 412, true}, {31, 400, false}, {1, 400, false},
                   {2, 311, false}, {2, 413, false}, {2, 417, false},  {2, 418, true},
                   {30, 468, true}, {2, 469, false}, {16, 362, true}};
    for (const auto& b : buttons)
        EXPECT_EQ(tile_swap_finish_hit(b.x, b.y), b.finish) << b.x << "," << b.y;

    // Picture p joins block p (tiles 0..11) with block p + 1 (tiles 12..23).
    EXPECT_EQ(tile_swap_tile_image(9, 10, 0), 62781);
    EXPECT_EQ(tile_swap_tile_image(9, 10, 11), 62792);
    EXPECT_EQ(tile_swap_tile_image(9, 10, 12), 62801);
    EXPECT_EQ(tile_swap_tile_image(9, 10, 23), 62812);
    EXPECT_EQ(tile_swap_tile_image(0, 1, 12), tile_swap_tile_image(1, 2, 0));
}

TEST(TileSwapRules, DealDrawsUntilAnUndealtTileComes) {
    // Cell c takes 23 - c, but each cell after the first first draws tiles already dealt.
    std::vector<s32> draws;
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) {
        if (c > 0) draws.insert(draws.end(), {23, 23 - (c - 1)});
        draws.push_back(23 - c);
    }
    script_draws(draws);
    TileSwapState s{};
    s.held = 5;
    tile_swap_deal(s);
    tile_swap_rand = rand_below;
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) EXPECT_EQ(s.cell[c], REVERSED[c]) << c;
    EXPECT_EQ(s.held, -1);
    EXPECT_EQ(draw_next, draws.size());
    for (s32 n : draw_bounds) EXPECT_EQ(n, 24);

    // The real generator deals every tile once.
    rt_srand(7);
    tile_swap_deal(s);
    bool seen[TILE_SWAP_CELLS] = {};
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) {
        ASSERT_TRUE(s.cell[c] >= 0 && s.cell[c] < TILE_SWAP_CELLS);
        EXPECT_FALSE(seen[s.cell[c]]);
        seen[s.cell[c]] = true;
    }
}

TEST(TileSwapRules, ClicksPickUpSwapAndPutDown) {
    TileSwapState s = state_with(REVERSED);
    s32 x, y;
    cell_middle(5, &x, &y);
    EXPECT_FALSE(tile_swap_click(s, x, y)); // pick up tile 18
    EXPECT_EQ(s.held, 18);
    EXPECT_EQ(s.cell[5], -1);
    cell_middle(18, &x, &y);
    EXPECT_FALSE(tile_swap_click(s, x, y)); // put 18 down, take 5 up
    EXPECT_EQ(s.cell[18], 18);
    EXPECT_EQ(s.held, 5);
    cell_middle(5, &x, &y);
    EXPECT_FALSE(tile_swap_click(s, x, y)); // into the empty cell: the hand empties
    EXPECT_EQ(s.cell[5], 5);
    EXPECT_EQ(s.held, -1);

    // With an empty hand an empty cell gives nothing; a click on no cell changes nothing.
    s.cell[7] = -1;
    s.held = -1;
    cell_middle(7, &x, &y);
    EXPECT_FALSE(tile_swap_click(s, x, y));
    EXPECT_EQ(s.cell[7], -1);
    EXPECT_EQ(s.held, -1);
    const TileSwapState before = s;
    EXPECT_FALSE(tile_swap_click(s, 316, 200));
    EXPECT_EQ(std::memcmp(&before, &s, sizeof s), 0);
    // The finish buttons end the board and leave cells and hand alone.
    s.held = 16;
    EXPECT_TRUE(tile_swap_click(s, 2, 312));
    EXPECT_TRUE(tile_swap_click(s, 30, 468));
    EXPECT_EQ(s.held, 16);
    EXPECT_EQ(s.cell[7], -1);
}

TEST(TileSwapRules, SolvedWithEitherPictureOnEitherBoard) {
    EXPECT_TRUE(tile_swap_is_solved(state_with(SOLVED)));
    EXPECT_TRUE(tile_swap_is_solved(state_with(CROSSED)));
    EXPECT_FALSE(tile_swap_is_solved(state_with(REVERSED)));
    // Two tiles of one board changed places.
    TileSwapState s = state_with(SOLVED);
    std::swap(s.cell[3], s.cell[4]);
    EXPECT_FALSE(tile_swap_is_solved(s));
    // The left board holds its own picture, the right board the left one's tiles in order:
    // each board matches a different arrangement.
    s32 halves[TILE_SWAP_CELLS];
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) halves[c] = c % TILE_SWAP_BOARD;
    EXPECT_FALSE(tile_swap_is_solved(state_with(halves)));
    // A tile in the hand leaves one cell empty.
    s = state_with(SOLVED, 9);
    s.cell[9] = -1;
    EXPECT_FALSE(tile_swap_is_solved(s));
}

class TileSwapGame : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_start(b, harness_settings());
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
        tile_swap_rand = rand_below;
        player_record.music_id = mssw_music_id;
    }
    void TearDown() override {
        tile_swap_rand = rand_below;
        harness_on_present(nullptr);
        dialog_driver_stop();
        world_stop();
    }
    virtual HarnessConfig harness_settings() const {
        HarnessConfig c;
        c.budget_ms = 300'000; // past the longest bar (202 s)
        return c;
    }
    // Plans clicks at each present from the puzzle's state: put right what lies wrong, carry
    // the hand's tile to its home cell, and press the finish button once both boards are whole.
    void solve_by_clicks() {
        harness_on_present([this](const u16*, u64) {
            const TileSwapState& s = tile_swap_state;
            if (s.finished || harness_pending_input() != 0) return;
            s32 x = FINISH_X, y = FINISH_Y;
            if (s.held >= 0) {
                cell_middle(s.held, &x, &y);
            } else {
                for (s32 c = 0; c < TILE_SWAP_CELLS; ++c)
                    if (s.cell[c] != c) {
                        cell_middle(c, &x, &y);
                        break;
                    }
            }
            if (x == FINISH_X) ++finish_clicks;
            harness_click(x, y);
        });
    }
    s32 finish_clicks = 0;
    HarnessTempDir dir;
};

TEST_F(TileSwapGame, SolvedByClicksReturnsOneAndTouchesNothingElse) {
    rt_srand(1234);
    player_record.skill[13] = 10;
    const PlayerRecord before = player_record;
    const s32 music_before = mssw_music_id;
    harness_sound_log_clear();
    solve_by_clicks();
    EXPECT_EQ(game_tile_swap(3), 1);
    const TileSwapState& s = tile_swap_state;
    EXPECT_TRUE(s.solved);
    EXPECT_EQ(s.step_ms, 2000);
    EXPECT_LE(s.steps, TILE_SWAP_LAST_STEP); // ended by the button, not the bar
    EXPECT_EQ(finish_clicks, 1);
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) EXPECT_EQ(s.cell[c], c);
    EXPECT_EQ(s.held, -1);
    EXPECT_EQ(s.block_first, 3);
    EXPECT_EQ(s.block_second, 4);
    // No music, no clock, no growth: the player record and the music are as they were.
    EXPECT_EQ(std::memcmp(&before, &player_record, sizeof before), 0);
    EXPECT_EQ(mssw_music_id, music_before);
    for (const SoundCall& call : harness_sound_log()) EXPECT_NE(call.op, "play");
}

TEST_F(TileSwapGame, BarEndsTheBoardAfterItsLastStep) {
    // The result judges the boards as they lie when the bar runs full: a whole deal still wins,
    // a shuffled one or one with a tile in hand loses.
    // The game itself at skill 80 (a 600 ms step), then the board core with a short step.
    const struct {
        const s32* deal;
        bool pick_up;
        s32 step_ms; // 0: game_tile_swap with skill 13 at 80
        s32 result;
    } cases[] = {{REVERSED, false, 0, 2},
                 {SOLVED, false, 40, 1},
                 {CROSSED, false, 40, 1},
                 {SOLVED, true, 40, 2}};
    for (const auto& c : cases) {
        s32 deal[TILE_SWAP_CELLS];
        std::memcpy(deal, c.deal, sizeof deal);
        script_deal(deal);
        // Clicks waiting before the board starts are dropped with the buttons it clears, so the
        // pick-up is pressed after the first frame.
        harness_on_present(nullptr);
        if (c.pick_up)
            harness_on_present([first = harness_presents() + 1](const u16*, u64 n) {
                if (n != first) return;
                s32 x, y;
                cell_middle(4, &x, &y);
                harness_click(x, y);
            });
        player_record.skill[13] = 80;
        const u64 start = harness_elapsed_ms();
        TileSwapSetup setup;
        setup.step_ms = c.step_ms;
        EXPECT_EQ(c.step_ms == 0 ? game_tile_swap(0) : (tile_swap_run(setup).solved ? 1 : 2),
                  c.result);
        const TileSwapState& s = tile_swap_state;
        const u32 step = c.step_ms == 0 ? 600 : u32(c.step_ms);
        EXPECT_EQ(s.step_ms, s32(step));
        EXPECT_EQ(s.steps, TILE_SWAP_LAST_STEP + 1);
        EXPECT_GE(harness_elapsed_ms() - start, step * 101u);
        EXPECT_LT(harness_elapsed_ms() - start, step * 102u);
        EXPECT_EQ(s.held, c.pick_up ? 4 : -1);
    }
}

TEST_F(TileSwapGame, FinishButtonWorksOnTheLastStepOfTheBar) {
    // The core counts on from an earlier start of the stopwatch (a board of a longer challenge):
    // the bar stands at its last step and a finish press still ends the board, solved.
    script_deal(CROSSED);
    timer0_start();
    harness_advance(100 * 1000 + 10);
    harness_click(FINISH_X, FINISH_Y);
    TileSwapSetup setup;
    setup.block_first = 7;
    setup.block_second = 8;
    setup.step_ms = 1000;
    setup.start_stopwatch = false;
    const TileSwapResult r = tile_swap_run(setup);
    EXPECT_TRUE(r.solved);
    EXPECT_EQ(r.steps, TILE_SWAP_LAST_STEP);
    EXPECT_EQ(tile_swap_state.step_ms, 1000);
}

TEST_F(TileSwapGame, DrawsBoardsBarAndTheHeldTileAtThePointer) {
    script_deal(SOLVED);
    player_record.skill[13] = 80;
    dialog_record_draws(true);
    // Pick up the tile of cell 0 after the first frame, move the pointer, then finish.
    harness_on_present([first = harness_presents() + 1](const u16*, u64 n) {
        if (n == first) {
            s32 x, y;
            cell_middle(0, &x, &y);
            harness_click(x, y);
            harness_move(300, 200);
        }
        if (n == first + 150) harness_click(FINISH_X, FINISH_Y);
    });
    EXPECT_EQ(game_tile_swap(9), 2); // a tile still in hand
    const std::vector<TranscriptEntry> draws = dialog_draws();
    ASSERT_FALSE(draws.empty());
    // The first frame, from the backdrop to the last tile, in order.
    std::vector<s32> first;
    for (const TranscriptEntry& e : draws) {
        if (!first.empty() && e.id == 62589) break;
        first.push_back(e.id);
    }
    std::vector<s32> expected = {62589, 62584, 62580, 62582};
    for (s32 t = 0; t < 12; ++t) expected.push_back(62781 + t);
    for (s32 t = 0; t < 12; ++t) expected.push_back(62801 + t);
    EXPECT_EQ(first, expected);
    // The held tile 62781 follows the pointer: under it at (300, 200), and last drawn under the
    // finish button's click.
    bool at_moved_pointer = false;
    for (const TranscriptEntry& e : draws)
        if (e.id == 62781 && e.x == 300 - 45 && e.y == 200 - 51) at_moved_pointer = true;
    EXPECT_TRUE(at_moved_pointer);
    const TranscriptEntry& last = draws.back();
    EXPECT_EQ(last.id, 62781);
    EXPECT_EQ(last.x, FINISH_X - 45);
    EXPECT_EQ(last.y, FINISH_Y - 51);
    // The bar's columns at x 270 + i, y 7.
    s32 columns = 0;
    for (const TranscriptEntry& e : draws)
        if (e.id == 25010) {
            EXPECT_EQ(e.y, 7);
            EXPECT_GE(e.x, 270);
            ++columns;
        }
    EXPECT_GT(columns, 0);
}

TEST_F(TileSwapGame, PictureOutsideItsRangeTakesTheNearestPicture) {
    // Picture p names blocks p and p + 1; a number past 0..9 would name tiles past the last block.
    const struct {
        s32 picture, first, second;
    } cases[] = {{-4, 0, 1}, {0, 0, 1}, {9, 9, 10}, {10, 9, 10}, {1000, 9, 10}};
    for (const auto& c : cases) {
        harness_on_present([first = harness_presents() + 1](const u16*, u64 n) {
            if (n == first) harness_click(FINISH_X, FINISH_Y);
        });
        const s32 result = game_tile_swap(c.picture);
        EXPECT_EQ(result, tile_swap_is_solved(tile_swap_state) ? 1 : 2);
        EXPECT_EQ(tile_swap_state.block_first, c.first) << c.picture;
        EXPECT_EQ(tile_swap_state.block_second, c.second) << c.picture;
        EXPECT_LE(tile_swap_state.steps, 1);
    }
}
