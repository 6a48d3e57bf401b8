// The tile-swap picture puzzle: two pictures cut into twelve tiles each, dealt at random over two
// boards of 3 x 4 cells; the player picks tiles up and puts them down until each board shows one
// whole picture, then presses a finish button, or the time bar fills.
//
// The board core (`tile_swap_run`) takes the two image blocks, the bar's step and whether the
// stopwatch starts afresh, so that a board course and a challenge of several boards against one
// clock can reuse it.
#pragma once
#include "engine/types.h"

constexpr s32 TILE_SWAP_CELLS = 24;
constexpr s32 TILE_SWAP_BOARD = 12;      // cells (and tiles) of one board
constexpr s32 TILE_SWAP_LAST_STEP = 100; // the board ends once the bar's steps exceed this
constexpr s32 TILE_SWAP_PICTURES = 10;   // pictures 0..9 of game_tile_swap
constexpr s32 TILE_SWAP_IMAGE_BASE = 62601;
constexpr s32 TILE_SWAP_BLOCK_IDS = 20; // image ids from one block to the next

// The whole state of the board being played, readable by tests.
struct TileSwapState {
    s32 cell[TILE_SWAP_CELLS]; // the tile in each cell, 0..23, or -1 when empty
    s32 held;                  // the tile in the hand, -1 for none
    s32 step_ms;               // the time bar's step
    s32 steps;                 // bar steps counted at the last frame
    s32 block_first;           // image block of tiles 0..11
    s32 block_second;          // image block of tiles 12..23
    bool finished;             // a finish button was pressed or the bar ran full
    bool solved;               // the judgement once finished
    u32 frames;                // frames presented on this board
};
extern TileSwapState tile_swap_state;

// The source of the deal's draws (rand_below by default; tests script it).
extern s32 (*tile_swap_rand)(s32 n);

struct TileSwapSetup {
    s32 block_first = 0;         // image block of tiles 0..11
    s32 block_second = 1;        // image block of tiles 12..23
    s32 step_ms = 0;             // the bar's step; 0 or below: by skill 13
    bool start_stopwatch = true; // false: the steps count on from an earlier start of stopwatch 0
};
struct TileSwapResult {
    bool solved = false;
    s32 steps = 0; // the bar's steps when the board ended (above 100 when it ran full)
};

// The bar's step in ms for a value of skill 13 (2000, 1500, 1000, 800 or 600).
s32 tile_swap_step_for_skill(s32 skill);
// Image of tile 0..23 with the two blocks (block_first for tiles 0..11, block_second for 12..23).
s32 tile_swap_tile_image(s32 block_first, s32 block_second, s32 tile);
// Top-left corner of cell 0..23.
s32 tile_swap_cell_x(s32 cell);
s32 tile_swap_cell_y(s32 cell);
// The first cell (0..23) whose box holds (x, y), -1 when none.
s32 tile_swap_cell_at(s32 x, s32 y);
// Whether (x, y) lies on one of the two finish buttons.
bool tile_swap_finish_hit(s32 x, s32 y);
// Deals the 24 tiles into `state` (each cell draws until an undealt tile comes) and empties the
// hand.
void tile_swap_deal(TileSwapState& state);
// Acts on a left click at (x, y): a finish button finishes the board; the first cell hit takes
// the tile up (empty hand) or changes places with the hand's tile. True when the board finished.
bool tile_swap_click(TileSwapState& state, s32 x, s32 y);
// Each board shows one whole picture (either picture on either board).
bool tile_swap_is_solved(const TileSwapState& state);

// Plays one board from a fresh deal to its end.
TileSwapResult tile_swap_run(const TileSwapSetup& setup);

// picture 0..9; 1 when the boards are solved at the end, else 2.
s32 game_tile_swap(s32 picture);
