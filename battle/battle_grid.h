// The battle grid: 12 x 12 cells in isometric view, cell <-> screen mapping, the distance maps
// from which every move and attack area is decided, move allowances, walking, the move command.
#pragma once
#include "engine/types.h"

struct ArtEntry;

constexpr s32 GRID = 12;
constexpr s32 DIST_LAYERS = 5;
constexpr s32 DIST_UNREACHABLE = -1;
constexpr s32 DIST_CUT = -2;
constexpr s32 DIST_MAX_STEPS = 23; // step maps never hold more

// Area shapes of `battle_dist_build_dir`: square, cross, and the half-line toward a facing
// (DIST_LINE + facing 1..4).
constexpr s32 DIST_SQUARE = 0;
constexpr s32 DIST_CROSS = 2;
constexpr s32 DIST_LINE = 10;

struct BattleCursor {
    s32 col, row, x, y;
};
extern BattleCursor battle_cursor;
extern s32 battle_dist[DIST_LAYERS][GRID][GRID]; // [layer][row][column]
extern s32 battle_marks[GRID][GRID];             // [row][column], -1 = not hit
extern s32 move_allowance;

// Screen point of a cell: x = (row - col) x 36 + 317, y = (row + col) x 18 + 64.
constexpr s32 cell_x(s32 col, s32 row) {
    return (row - col) * 36 + 317;
}
constexpr s32 cell_y(s32 col, s32 row) {
    return (row + col) * 18 + 64;
}
// The twelve cells outside the screen.
constexpr bool cell_cut(s32 col, s32 row) {
    return (row < 3 && col - row >= 9) || (col < 3 && row - col >= 9);
}
constexpr bool cell_on_grid(s32 col, s32 row) {
    return col >= 0 && col < GRID && row >= 0 && row < GRID;
}

// Mode 0: cursor := (a, b) as column and row; mode 1: the cell holding screen point (a, b) (later
// rows win on a shared border; no cell keeps the previous one). Both then set the cursor point.
void battle_cell_at(s32 a, s32 b, s32 mode);
// The cell holding screen point (px, py) by the same rule as mode 1; 0 when found, -1 when the
// point lies on no cell (col and row untouched then).
s32 battle_screen_cell(s32 px, s32 py, s32* col, s32* row);
// The cell whose screen point is exactly (x, y); 0 when found, -1 otherwise.
s32 battle_point_cell(s32 x, s32 y, s32* col, s32* row);
// The cell of a slot (from its x, y); 0 when found, -1 when the slot stands on no cell.
s32 battle_slot_cell(s32 slot, s32* col, s32* row);
// The first live slot standing on a cell; -1 when none (or the cell is off the grid).
s32 battle_slot_at(s32 col, s32 row);
// The art a slot fights with; an empty record (no power, reach, cost, bonus terms or special)
// when its art index lies outside `arts_table` or the slot does not exist.
const ArtEntry& battle_slot_art(s32 slot);

void battle_dists_clear();
void battle_marks_clear();
// Step map of the slot into `layer` (1 or 3) and the area map of its art into `layer` + 1 (line
// arts toward the pointer's cell, cross arts as a cross, every other area as a square).
void battle_dist_build(s32 slot, s32 layer);
// The same with the area shape given: DIST_SQUARE, DIST_CROSS, DIST_LINE + facing 1..4; any
// other value leaves the area map empty but for the mover's own cell.
void battle_dist_build_dir(s32 slot, s32 layer, s32 shape);
void battle_show_reach(s32 layer);
// Walks a fighter along its shortest path to a free reachable cell, one drawn step per 125 ms;
// refuses (does nothing) otherwise. Does not check the allowance.
void battle_move_to(s32 slot, s32 col, s32 row);
void battle_cmd_move();

// The protagonist's speed (attribute 4 + equipment + speed field).
s32 battle_protagonist_speed();
// Move allowance at the start of a turn of `slot` (the player-played protagonist's for slot 0).
s32 battle_turn_allowance(s32 slot);
