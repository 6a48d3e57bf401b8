#include "minigames/tile_swap.h"

#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/player.h"

TileSwapState tile_swap_state;
s32 (*tile_swap_rand)(s32 n) = rand_below;

namespace {

constexpr s32 TS_SKILL = 13; // the skill whose value sets the bar's step
constexpr s32 TS_BACKDROP = 62589;
constexpr s32 TS_BAR_FRAME = 62584, TS_BAR_X = 267, TS_BAR_Y = 4;
constexpr s32 TS_BAR_COLUMN = 25010, TS_COLUMN_X = 270, TS_COLUMN_Y = 7;
constexpr s32 TS_CAPTION = 11608, TS_CAPTION_X = 33, TS_CAPTION_Y = 455;
constexpr s32 TS_BUTTON_UPPER = 62580, TS_BUTTON_UPPER_Y = 362;
constexpr s32 TS_BUTTON_LOWER = 62582, TS_BUTTON_LOWER_Y = 418;
constexpr s32 TS_BUTTON_X = 2;
// Finish boxes, bounds inclusive.
constexpr s32 TS_FINISH_X0 = 2, TS_FINISH_X1 = 30;
constexpr s32 TS_FINISH_UPPER_Y0 = 312, TS_FINISH_UPPER_Y1 = 412;
constexpr s32 TS_FINISH_LOWER_Y0 = 418, TS_FINISH_LOWER_Y1 = 468;
// Cells: columns of the left board, then of the right board; rows shared.
constexpr s32 TS_COLUMN_LEFT[2][3] = {{43, 133, 223}, {321, 411, 501}};
constexpr s32 TS_ROW_TOP[4] = {37, 139, 241, 343};
constexpr s32 TS_CELL_W = 89, TS_CELL_H = 101; // right and bottom edge offsets, inclusive
// The held tile is drawn so that the pointer sits near its middle.
constexpr s32 TS_HELD_DX = 45, TS_HELD_DY = 51;

bool ts_valid_cell(s32 cell) {
    return cell >= 0 && cell < TILE_SWAP_CELLS;
}

void ts_draw(const TileSwapState& s) {
    draw_image(0, 0, TS_BACKDROP, 0);
    draw_image(TS_BAR_X, TS_BAR_Y, TS_BAR_FRAME, 0);
    for (s32 i = 0; i < s.steps; ++i) draw_image(TS_COLUMN_X + i, TS_COLUMN_Y, TS_BAR_COLUMN, 0);
    print_text(TS_CAPTION_X, TS_CAPTION_Y, TS_CAPTION);
    draw_image(TS_BUTTON_X, TS_BUTTON_UPPER_Y, TS_BUTTON_UPPER, 0);
    draw_image(TS_BUTTON_X, TS_BUTTON_LOWER_Y, TS_BUTTON_LOWER, 0);
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) {
        if (s.cell[c] < 0) continue;
        draw_image(tile_swap_cell_x(c), tile_swap_cell_y(c),
                   tile_swap_tile_image(s.block_first, s.block_second, s.cell[c]), 0);
    }
    if (s.held >= 0)
        draw_image(pointer_x - TS_HELD_DX, pointer_y - TS_HELD_DY,
                   tile_swap_tile_image(s.block_first, s.block_second, s.held), 0);
}

} // namespace

s32 tile_swap_step_for_skill(s32 skill) {
    if (skill < 20) return 2000;
    if (skill < 40) return 1500;
    if (skill < 60) return 1000;
    if (skill < 80) return 800;
    return 600;
}

s32 tile_swap_tile_image(s32 block_first, s32 block_second, s32 tile) {
    if (tile < TILE_SWAP_BOARD)
        return TILE_SWAP_IMAGE_BASE + TILE_SWAP_BLOCK_IDS * block_first + tile;
    return TILE_SWAP_IMAGE_BASE + TILE_SWAP_BLOCK_IDS * block_second + tile - TILE_SWAP_BOARD;
}

s32 tile_swap_cell_x(s32 cell) {
    if (!ts_valid_cell(cell)) return 0;
    return TS_COLUMN_LEFT[cell / TILE_SWAP_BOARD][cell % 3];
}

s32 tile_swap_cell_y(s32 cell) {
    if (!ts_valid_cell(cell)) return 0;
    return TS_ROW_TOP[(cell % TILE_SWAP_BOARD) / 3];
}

s32 tile_swap_cell_at(s32 x, s32 y) {
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) {
        const s32 x0 = tile_swap_cell_x(c), y0 = tile_swap_cell_y(c);
        if (x >= x0 && x <= x0 + TS_CELL_W && y >= y0 && y <= y0 + TS_CELL_H) return c;
    }
    return -1;
}

bool tile_swap_finish_hit(s32 x, s32 y) {
    if (x < TS_FINISH_X0 || x > TS_FINISH_X1) return false;
    return (y >= TS_FINISH_UPPER_Y0 && y <= TS_FINISH_UPPER_Y1) ||
           (y >= TS_FINISH_LOWER_Y0 && y <= TS_FINISH_LOWER_Y1);
}

void tile_swap_deal(TileSwapState& state) {
    bool dealt[TILE_SWAP_CELLS] = {};
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) {
        s32 t;
        do {
            t = tile_swap_rand(TILE_SWAP_CELLS);
        } while (t < 0 || t >= TILE_SWAP_CELLS || dealt[t]);
        dealt[t] = true;
        state.cell[c] = t;
    }
    state.held = -1;
}

bool tile_swap_click(TileSwapState& state, s32 x, s32 y) {
    if (tile_swap_finish_hit(x, y)) return true;
    const s32 c = tile_swap_cell_at(x, y);
    if (c < 0) return false;
    const s32 lying = state.cell[c];
    state.cell[c] = state.held;
    state.held = lying;
    return false;
}

bool tile_swap_is_solved(const TileSwapState& state) {
    bool straight = true, crossed = true;
    for (s32 c = 0; c < TILE_SWAP_CELLS; ++c) {
        if (state.cell[c] != c) straight = false;
        if (state.cell[c] != (c + TILE_SWAP_BOARD) % TILE_SWAP_CELLS) crossed = false;
    }
    return straight || crossed;
}

TileSwapResult tile_swap_run(const TileSwapSetup& setup) {
    TileSwapState& s = tile_swap_state;
    s = TileSwapState{};
    s.block_first = setup.block_first;
    s.block_second = setup.block_second;
    tile_swap_deal(s);
    if (setup.start_stopwatch) timer0_start();
    text_size(24);
    mouse_buttons = 0;
    s.step_ms =
        setup.step_ms > 0 ? setup.step_ms : tile_swap_step_for_skill(player_record.skill[TS_SKILL]);
    while (!s.finished) {
        s.steps = s32(timer0_elapsed() / u32(s.step_ms));
        ts_draw(s);
        if (mouse_buttons == 1) {
            mouse_buttons = 0;
            // The click point stays as it is: a later frame without a new press acts on nothing.
            if (tile_swap_click(s, click_x, click_y)) s.finished = true;
        }
        screen_present();
        ++s.frames;
        if (s.steps > TILE_SWAP_LAST_STEP) s.finished = true;
    }
    s.solved = tile_swap_is_solved(s);
    return {s.solved, s.steps};
}

s32 game_tile_swap(s32 picture) {
    // Blocks p and p + 1 carry picture p; a picture outside 0..9 would name images past the last
    // block, so it is taken as the nearest picture.
    if (picture < 0) picture = 0;
    if (picture >= TILE_SWAP_PICTURES) picture = TILE_SWAP_PICTURES - 1;
    TileSwapSetup setup;
    setup.block_first = picture;
    setup.block_second = picture + 1;
    return tile_swap_run(setup).solved ? 1 : 2;
}
