// The timed action game of the training ground: seven tracks creep, each on its own random clock,
// from their start toward their end, and the player holds them back by clicking the leading point
// of each track. The game is won when the time bar (100 steps of 700 ms) runs out before three
// tracks have reached their ends. The level sets how many tracks move (3 + level), the pace
// shortens every track's step, and the skill gives a chance that a click throws a track further
// back. The calendar's training handlers and the open world's skill challenge call it.
//
// The game keeps the caller's music, pointer shape and text colour and gives them back when it
// returns. It has no frame pacing of its own: every clock is a stopwatch read each frame, and the
// frame rate is that of `screen_present`.
#pragma once
#include "engine/types.h"

constexpr s32 TIMED_TRACKS = 7;
constexpr s32 TIMED_POSITIONS = 7; // positions 0..6 with a click rectangle each
constexpr s32 TIMED_TOP = 7;       // the end of a track
constexpr s32 TIMED_CLEARED = -1;  // no leading point on the track
constexpr s32 TIMED_BAR_STEP_MS = 700;
constexpr s32 TIMED_BAR_STEPS = 100; // the game is won once the bar's steps exceed 99
constexpr s32 TIMED_TOPPED_LOSE = 3;

// One track: its images, where it is drawn, its clock and the random part of its step.
struct TimedTrack {
    s32 base;    // image of position k is base + k, of the top base + 7
    s32 cleared; // image with no leading point
    s32 x, y;
    s32 start;  // position at the start (TIMED_CLEARED or 0)
    s32 spread; // a step's threshold: rand_below(spread) + floor - delay
    s32 floor;
};
inline constexpr TimedTrack TIMED_TRACK_TABLE[TIMED_TRACKS] = {
    {25931, 25939, 287, 70, TIMED_CLEARED, 1500, 2500},
    {25941, 25940, 201, 101, TIMED_CLEARED, 1750, 2250},
    {25951, 25950, 288, 229, TIMED_CLEARED, 1500, 2500},
    {25960, 25959, 382, 173, 0, 1250, 2500},
    {25970, 25969, 385, 197, 0, 2000, 2500},
    {25981, 25980, 203, 163, TIMED_CLEARED, 500, 2000},
    {25990, 25989, 202, 183, 0, 2500, 2000},
};

// Click rectangle (x1, y1, x2, y2) of track t, position k; a click at (x, y) lies in it when
// x1 - 5 <= x < x2 + 5 and y1 - 5 <= y < y2 + 5.
struct TimedRect {
    s32 x1, y1, x2, y2;
};
inline constexpr TimedRect TIMED_RECTS[TIMED_TRACKS][TIMED_POSITIONS] = {
    {{378, 70, 386, 78},
     {360, 70, 373, 86},
     {353, 75, 363, 89},
     {338, 84, 346, 96},
     {317, 97, 325, 104},
     {300, 107, 308, 118},
     {297, 124, 313, 135}},
    {{213, 111, 220, 122},
     {229, 110, 238, 121},
     {245, 109, 254, 122},
     {262, 110, 271, 122},
     {279, 110, 290, 122},
     {296, 111, 306, 128},
     {305, 132, 316, 142}},
    {{294, 315, 306, 323},
     {298, 305, 309, 317},
     {301, 293, 311, 305},
     {302, 285, 312, 294},
     {301, 275, 313, 287},
     {303, 260, 314, 272},
     {305, 250, 314, 260}},
    {{446, 188, 450, 198},
     {435, 188, 444, 195},
     {430, 187, 438, 195},
     {421, 186, 431, 195},
     {412, 185, 421, 194},
     {398, 184, 410, 194},
     {387, 185, 399, 194}},
    {{447, 209, 452, 219},
     {439, 205, 447, 215},
     {435, 204, 442, 213},
     {425, 202, 434, 211},
     {412, 202, 419, 210},
     {401, 201, 411, 211},
     {393, 201, 402, 210}},
    {{211, 167, 219, 176},
     {222, 169, 228, 178},
     {232, 170, 242, 180},
     {251, 174, 260, 183},
     {267, 177, 276, 186},
     {279, 180, 287, 189},
     {288, 182, 295, 192}},
    {{209, 187, 217, 196},
     {218, 189, 224, 196},
     {224, 189, 231, 196},
     {230, 189, 240, 196},
     {243, 189, 253, 196},
     {259, 187, 271, 196},
     {283, 183, 291, 195}},
};

bool timed_rect_has(const TimedRect& r, s32 x, s32 y);

// The whole state of the running (or last) game, readable by tests.
struct TimedActionState {
    s32 level = 1, pace = 1, skill = 0;
    s32 pos[TIMED_TRACKS] = {};      // TIMED_CLEARED, 0..6 or TIMED_TOP
    bool counted[TIMED_TRACKS] = {}; // the track has been counted into `topped`
    s32 topped = 0;                  // tracks that have reached their top
    s32 delay = 0;                   // ms taken off every threshold, by pace
    s32 bonus = 0;                   // extra positions a click throws a track back
    s32 steps = 0;                   // the time bar's count
    s32 bar_carry = 0, bar_mark = 0, bar_count = 0;
    bool bar_running = false;
    // The carried clocks of tracks 5 and 6 (index 0 track 5, 1 track 6).
    s32 carry[2] = {}, mark[2] = {}, count[2] = {};
    bool running[2] = {};
    s32 anim = 0;        // the background animation's image
    s32 anim_frames = 0; // frames toward its next image
    bool jumped_one = false, jumped_two = false;
    s32 state = 0; // 0 running, 1 lost, 2 won
    u32 frames = 0;
};
extern TimedActionState timed_action_state;

// The source of the game's random draws (rand_below unless a test replaces it).
extern s32 (*timed_action_rand)(s32 n);

// The image of track t at position pos (cleared, 0..6, top).
s32 timed_track_image(s32 t, s32 pos);
// Acts on a left click at (x, y): draws the bonus by the skill, then throws back every track
// whose leading point the click hits.
void timed_action_click(TimedActionState& s, s32 x, s32 y);

// level 1..4, pace 1..3, skill 0..100 -> 1 won, 0 lost.
s32 timed_action_game(s32 level, s32 pace, s32 skill);
