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
