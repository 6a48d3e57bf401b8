// The light puzzle: five lamps in a ring on a picture. Clicking a dark lamp lights it and flips
// its two linked neighbours; the puzzle is solved when all five are lit. A button gives up. The
// screen under the puzzle is kept and given back when it ends. No music, no clock, no rewards.
#pragma once
#include "engine/types.h"

constexpr s32 LAMP_COUNT = 5;
constexpr s32 LAMP_PATTERN_COUNT = 10;
constexpr s32 LAMP_BOX_W = 78, LAMP_BOX_H = 64; // a lamp's box runs from (x, y) to (x + w, y + h)

struct LampSpec {
    s32 x, y;    // top-left of the box and of the lit image
    s32 image;   // shown while lit
    s32 link[2]; // the lamps flipped when this one is lit by a click
};
// Kept in the header (constexpr) so the placeholder pictures can be sized from it.
inline constexpr LampSpec lamp_specs[LAMP_COUNT] = {
    {274, 29, 1401, {4, 1}},  {396, 102, 1402, {0, 2}}, {378, 226, 1403, {1, 3}},
    {208, 231, 1404, {2, 4}}, {168, 112, 1405, {3, 0}},
};
// Start patterns, 1 = lit, lamps 0..4; `rand_below`(10) picks one.
inline constexpr u8 lamp_patterns[LAMP_PATTERN_COUNT][LAMP_COUNT] = {
    {0, 1, 0, 1, 0}, {1, 0, 1, 0, 1}, {1, 1, 1, 0, 0}, {0, 0, 0, 1, 1}, {1, 0, 1, 1, 0},
    {0, 1, 0, 0, 1}, {0, 0, 1, 0, 0}, {1, 1, 0, 1, 1}, {0, 0, 0, 0, 0}, {0, 1, 1, 0, 1},
};

constexpr s32 LAMP_BACKDROP_IMAGE = 99, LAMP_BOARD_IMAGE = 1400;
constexpr s32 LAMP_TEXT_TITLE = 59814, LAMP_TEXT_HINT = 59815, LAMP_TEXT_GIVE_UP = 331;
constexpr s32 LAMP_GIVE_UP_X0 = 530, LAMP_GIVE_UP_Y0 = 400, LAMP_GIVE_UP_X1 = 550,
              LAMP_GIVE_UP_Y1 = 440;

struct LightPuzzleState {
    s32 pattern = -1;        // the start pattern drawn for this call
    u8 lit[LAMP_COUNT] = {}; // 1 = lit
    s32 clicks = 0;          // clicks that lit a lamp
    s32 frames = 0;          // frames presented
    s32 result = -1;         // -1 while running, then 1 solved or 0 given up
};
extern LightPuzzleState light_puzzle_state;

// The lamp whose box holds (x, y), bounds inclusive; -1 when none.
s32 lamp_at(s32 x, s32 y);
// A click on `lamp`: a dark lamp lights and flips its two links; a lit lamp (or an index outside
// 0..4) changes nothing. True when something changed.
bool lamp_click(u8 lit[LAMP_COUNT], s32 lamp);
bool lamps_all_lit(const u8 lit[LAMP_COUNT]);

// 1 when all lamps are lit, 0 when the player gave up.
s32 game_light_puzzle();
