// The recipe screen: the protagonist's recipes (known list 16, ids 50..63) in a grid over the
// dashboard. A recipe whose materials (items 1570..1576) are all held can be chosen; its
// materials are taken and the two-track timing game makes its piece of equipment. The hub's
// recipe command reaches it through `recipe_screen_seam`, which the calendar layer fills at
// start-up (`recipe_screen_fill_seam`, from `calendar_register_all`).
#pragma once
#include "engine/types.h"

constexpr s32 RECIPE_LIST = 16;     // known list of the recipes
constexpr s32 RECIPE_FIRST_ID = 50; // recipe r is known id 50 + r
constexpr s32 RECIPE_COUNT = 14;    // recipes 0..13
constexpr s32 RECIPE_MATERIALS = 7; // items 1570 + i
constexpr s32 RECIPE_MATERIAL_FIRST = 1570;
constexpr s32 RECIPE_NAME_TEXT = 54000; // + known id
constexpr s32 RECIPE_MARK = 60395;      // over a recipe that cannot be made
constexpr s32 RECIPE_QUIT_TEXT = 330;

// Per recipe: the equipment number of the timing game and the amount of each material.
struct RecipeRow {
    s32 equip;
    s32 amount[RECIPE_MATERIALS];
};
extern const RecipeRow RECIPE_TABLE[RECIPE_COUNT];

// The grid: fifteen cells in three rows of five; cells 0..13 hold recipes, cell 14 the quit label.
constexpr s32 RECIPE_CELLS = 15;
constexpr s32 RECIPE_RECIPE_CELLS = 14;
constexpr s32 RECIPE_COLUMNS = 5;
constexpr s32 RECIPE_CELL_X[RECIPE_COLUMNS] = {34, 138, 242, 346, 450};
constexpr s32 RECIPE_ROW_Y[3] = {379, 410, 456};
constexpr s32 RECIPE_CELL_W = 96, RECIPE_CELL_H = 16; // a recipe cell: x..x+96, y..y+16
constexpr s32 RECIPE_QUIT_X = 450, RECIPE_QUIT_Y = 456;
constexpr s32 RECIPE_QUIT_W = 48, RECIPE_QUIT_H = 16; // the quit label: 450..498, 456..472
constexpr s32 RECIPE_MARK_DY = 8;
constexpr s32 RECIPE_LEVEL_DY = 16;
constexpr s32 RECIPE_LEVEL_DIGITS = 3;

constexpr s32 RECIPE_QUIT = -1; // the result of a quit

struct RecipeCell {
    s32 entry = -1; // index in known list 16; -1 empty
    s32 usable = 0; // 1 when every material is held in its amount
};

// The screen's state, left as the last screen had it (tests read it).
struct RecipeScreenState {
    RecipeCell cells[RECIPE_RECIPE_CELLS];
    s32 passes = 0;  // frames drawn
    s32 chosen = -1; // the recipe chosen, -1 none
};
extern RecipeScreenState recipe_state;

// The cell at (x, y): 0..13 a recipe cell, 14 the quit label, -1 none (bounds inclusive).
s32 recipe_cell_at(s32 x, s32 y);
// Fills the cells from known list 16 and the inventory (steps 1 and 2 of the screen).
void recipe_fill_cells();

// The timing game that makes the chosen recipe's equipment; `game_tracks` unless a test
// replaces it.
extern s32 (*recipe_game_seam)(s32 equip);

// 1 the timing game was won, 0 lost, -1 the player quit.
s32 recipe_screen();

// Points the hub's `recipe_screen_seam` at `recipe_screen` (at start-up, and again after
// `hub_seams_reset`).
void recipe_screen_fill_seam();
