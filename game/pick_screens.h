// The pick screens of the hub's activities, drawn over the dashboard: a grid of the first ten
// known entries of one known list (`known_pick`), the same grid over the recipes with a back cell
// (`item_pick`), and the practice screen of a practice piece (`art_practice`).
//
// Every screen waits for a left click on something it offers; none of them can be left without
// one. A grid whose entries are all unusable shows a cancel cell, so it always has a way out.
#pragma once
#include "engine/types.h"

// The grid: cell c (0..9) at (34 + 104 (c mod 5), 379 / 410 for c / 5 = 0 / 1), its box 96 x 16
// from there (both edges inside); the bottom row (y 456) holds the back and cancel cells.
constexpr s32 PICK_CELLS = 10;
constexpr s32 PICK_CELL_X0 = 34, PICK_CELL_STEP = 104, PICK_CELL_COLUMNS = 5;
constexpr s32 PICK_ROW_Y[3] = {379, 410, 456};
constexpr s32 PICK_CELL_W = 96, PICK_CELL_H = 16;
constexpr s32 PICK_UNUSABLE_IMAGE = 60395; // over an unusable entry's name, at (x, y + 8)
constexpr s32 PICK_BACK_TEXT = 330;
constexpr s32 PICK_BACK_X = 34, PICK_CANCEL_X = 450; // both on the bottom row, 48 x 16
constexpr s32 PICK_BACK_W = 48;
constexpr s32 PICK_NAME_TEXT = 52500;   // + 100 x list + id
constexpr s32 PICK_RECIPE_TEXT = 53900; // + id
constexpr s32 PICK_RECIPE_LIST = 14;

// The practice screen.
constexpr s32 PRACTICE_TOGGLES = 4;
constexpr s32 PRACTICE_VARIANTS = 11;        // v 0..10; below level 50 only 0..3
constexpr s32 PRACTICE_SCREEN_IMAGE = 62500; // at (0, 0)
constexpr s32 PRACTICE_TOGGLE_IMAGE = 62503; // + 3k, toggle k shown on
constexpr s32 PRACTICE_OK_IMAGE = 62531;     // the pressed OK button at (483, 233)
constexpr s32 PRACTICE_PIECE_IMAGE = 63401;  // + 20n the piece itself, + 20n + 1 + v a task
constexpr s32 PRACTICE_PIECE_X = 149, PRACTICE_PIECE_Y = 16;
constexpr s32 PRACTICE_TOGGLE_X0 = 481, PRACTICE_TOGGLE_X1 = 549, PRACTICE_TOGGLE_H = 32;
constexpr s32 PRACTICE_TOGGLE_Y[PRACTICE_TOGGLES] = {23, 74, 125, 176};
constexpr s32 PRACTICE_OK_X0 = 483, PRACTICE_OK_Y0 = 233, PRACTICE_OK_X1 = 546,
              PRACTICE_OK_Y1 = 270;
constexpr s32 PRACTICE_MARK_X = 433, PRACTICE_MARK_Y = 420;
constexpr s32 PRACTICE_LIST = 20;

// Top-left corner of grid cell c (0..9; 10..14 lie on the bottom row, as the companion picker's
// cells do).
s32 pick_cell_x(s32 c);
s32 pick_cell_y(s32 c);
// A cell's text in the grid's colours: (31, 5, 0) when lit (under the pointer, or chosen), else
// white.
void pick_print(bool lit, s32 x, s32 y, s32 text);

// The player picks one of the first ten known entries (id > 49) of known list `list` (0..24);
// returns its index in the list (0..99). -1 when the list holds no known entry (at once, no
// screen), for a list outside 0..24, and when the player clicks the cancel cell, which is shown
// only while none of the offered entries is usable. In lists 0..9 an entry is usable when its
// art's requirements are met; in the others every entry is.
s32 known_pick(s32 list);
// The same over the recipes (known list 14): an entry is usable when every ingredient is held.
// -1 when no recipe is known or the player clicks the back cell.
s32 item_pick();
// The practice screen of piece n (id - 50 of a known list 20 entry): the player sets four
// toggles to the task's pattern and presses OK. Returns 1 for the right answer, else 0 (then a
// second screen shows the right pattern).
s32 art_practice(s32 n);
// The right toggles of task v (bit k = toggle k on); 0 for a v outside 0..10.
u32 art_practice_pattern(s32 v);
