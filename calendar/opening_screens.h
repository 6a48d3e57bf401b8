// The small screens of the opening events over the dashboard: a point on a grid board, a pair of
// picture grids with one difference, the three-stage entry test, a short animation of the
// dashboard's centre picture, and the search for one point in a picture. Each is a synchronous
// loop that draws, presents, polls the mouse and returns a plain integer.
#pragma once
#include "engine/types.h"

// A point of the picture of `picture_point_search`, in screen coordinates.
struct PicturePoint {
    s32 x, y;
};
constexpr s32 PICTURE_POINT_COUNT = 16;
constexpr PicturePoint PICTURE_POINTS[PICTURE_POINT_COUNT] = {
    {323, 161}, {323, 172}, {312, 197}, {309, 203}, {323, 204}, {323, 209}, {323, 214}, {337, 220},
    {323, 224}, {317, 233}, {324, 246}, {353, 222}, {356, 226}, {362, 255}, {297, 329}, {323, 229},
};
constexpr s32 PICTURE_POINT_SOUGHT = 8; // (323, 224)

// kind 1..6: 1 for the right intersection, -1 for a wrong one.
s32 grid_point_puzzle(s32 kind);
// 1 when the answer is the right cell, else 0.
s32 picture_pair_game();
// 1 passed, 0 failed.
s32 entry_test();
// Shows pictures first .. first + count - 1 in the dashboard's centre.
void dashboard_animation(s32 first, s32 count);
// The number of point hits, counting the final right one, capped at 10.
s32 picture_point_search();

// ---- The grid board ----------------------------------------------------------------------------

// The offset of column or row k (0..18) from the board's corner, the same for both axes.
constexpr s32 GRID_POINT_LINES = 19;
constexpr s32 GRID_POINT_OFFSETS[GRID_POINT_LINES] = {
    5, 16, 26, 37, 47, 58, 68, 79, 89, 100, 110, 121, 131, 142, 152, 163, 173, 184, 194};
// An intersection (i, j) takes the pointer in x offset[i] + 220 .. + 228 and y offset[j] + 139 ..
// + 147 (a 9 x 9 window); its marker stands at (offset[i] + 217, offset[j] + 135).
constexpr s32 GRID_POINT_WINDOW_X = 220, GRID_POINT_WINDOW_Y = 139, GRID_POINT_WINDOW = 8;
constexpr s32 GRID_POINT_MARK = 60050;
constexpr s32 GRID_POINT_MARK_X = 217, GRID_POINT_MARK_Y = 135;
// The board at (224, 143); clicks count inside x 223..422, y 143..341.
constexpr s32 GRID_POINT_BOARD_X = 224, GRID_POINT_BOARD_Y = 143;
constexpr s32 GRID_POINT_CLICK_X0 = 223, GRID_POINT_CLICK_X1 = 422;
constexpr s32 GRID_POINT_CLICK_Y0 = 143, GRID_POINT_CLICK_Y1 = 341;
constexpr s32 GRID_POINT_TEXT = 11029;

struct GridBoard {
    s32 picture;
    s32 column, row; // the right intersection
};
constexpr s32 GRID_POINT_KINDS = 6;
constexpr GridBoard GRID_BOARDS[GRID_POINT_KINDS] = {
    {60003, 9, 10}, {60004, 14, 0}, {60005, 9, 9}, {60006, 7, 0}, {60007, 9, 7}, {60008, 9, 16},
};

// ---- The picture pair grids --------------------------------------------------------------------

// Cell c (0..8) of the first grid at (151 + 58 (c mod 3), 132 + 76 (c div 3)), cell 9 + c of the
// second at x 328 + 58 (c mod 3); each takes x .. x + 56 and y .. y + 74 (inclusive).
constexpr s32 PAIR_CELLS = 18;
constexpr s32 PAIR_FIRST_X = 151, PAIR_SECOND_X = 328, PAIR_Y = 132;
constexpr s32 PAIR_STEP_X = 58, PAIR_STEP_Y = 76, PAIR_CELL_W = 56, PAIR_CELL_H = 74;
constexpr s32 PAIR_RIGHT_CELL = 5;
constexpr s32 PAIR_TEXT = 11107;
constexpr s32 PAIR_OVERVIEW = 60070;
constexpr s32 PAIR_OVERVIEW_X = 150, PAIR_OVERVIEW_Y = 128;
constexpr s32 PAIR_CELL_PICTURE = 60071;                           // + (cell mod 9), at both places
constexpr s32 PAIR_RIGHT_FIRST = 60076, PAIR_RIGHT_SECOND = 60080; // cell 5 or 14
constexpr s32 PAIR_VIEW_FIRST_X = 147, PAIR_VIEW_SECOND_X = 328, PAIR_VIEW_Y = 128;

// The top-left corner of cell c (0..17).
constexpr PicturePoint pair_cell_corner(s32 c) {
    const s32 k = c % 9;
    return {(c < 9 ? PAIR_FIRST_X : PAIR_SECOND_X) + PAIR_STEP_X * (k % 3),
            PAIR_Y + PAIR_STEP_Y * (k / 3)};
}

// ---- The point search --------------------------------------------------------------------------

constexpr s32 POINT_SEARCH_PICTURE = 60063; // at (169, 141)
constexpr s32 POINT_SEARCH_X0 = 169, POINT_SEARCH_X1 = 475;
constexpr s32 POINT_SEARCH_Y0 = 141, POINT_SEARCH_Y1 = 346;
constexpr s32 POINT_SEARCH_REACH = 4; // a click within 4 px in x and in y hits a point
constexpr s32 POINT_SEARCH_MAX_HITS = 10;

// ---- The entry test and the closing animation --------------------------------------------------

constexpr s32 ENTRY_TEST_BOARD_FIRST = 4; // grid boards 4..6
// The last question shows picture k (0..2) and asks for it among the options: option k names it.
constexpr s32 ENTRY_TEST_PICTURE = 60081; // + k
constexpr s32 ENTRY_TEST_PICTURE_X = 270, ENTRY_TEST_PICTURE_Y = 148;
constexpr s32 ENTRY_TEST_CHOICES = 3;
constexpr s32 ENTRY_TEST_OPTIONS = 11207; // + k
constexpr s32 DASHBOARD_ANIMATION_MS = 200;

// What the screens last did, for their callers' checks and the tests: the intersection under the
// pointer (the marker's), the pair game's viewed cell and answer, the search's hits, and the
// frames the running screen has presented.
struct OpeningScreenState {
    s32 hover_column = -1, hover_row = -1;
    s32 view = -1, answer = -1;
    s32 hits = 0;
    s32 frames = 0;
};
extern OpeningScreenState opening_screen_state;
