// The two-track timing game that makes a piece of equipment (item 1400 + n): marks climb two
// tracks and the player presses the left button for the left track, the right button for the
// right track, or both, while a mark crosses the hit line. Hits fill the score; reaching the
// item's required score within 100 seconds makes the item. Every hit grows skill 16 and
// attribute 28. Also the contest routine of the hub's contest commands.
#pragma once
#include "engine/types.h"

constexpr s32 TRACKS_COUNT = 2;       // 0 the left track (left button), 1 the right one
constexpr s32 TRACKS_MARKS = 5;       // marks per track
constexpr s32 TRACKS_START_Y = 279;   // where an idle mark waits
constexpr s32 TRACKS_RISE = 2;        // pixels a moving mark climbs per frame
constexpr s32 TRACKS_BAND_ABOVE = 20; // the hit band: TRACKS_BAND_ABOVE < y < TRACKS_BAND_BELOW
constexpr s32 TRACKS_BAND_BELOW = 34;
constexpr s32 TRACKS_GONE_Y = 14;   // a mark above this (y < 14) has passed unhit
constexpr s32 TRACKS_SECONDS = 100; // length of a game
constexpr s32 TRACKS_FLASH_FRAMES = 30;
constexpr s32 TRACKS_CYCLE = 18;       // frames of the launch cycle
constexpr s32 TRACKS_LAUNCH_FRAME = 8; // the cycle frame that may launch the next marks
constexpr s32 TRACKS_LAUNCH_CHANCE = 25;
constexpr s32 TRACKS_LAUNCH_Y = 254; // the current mark must have climbed to here first
constexpr s32 TRACKS_MISS_CV = 40;   // from this craft value on a missed mark costs score
constexpr s32 TRACKS_MISS_COST = 10;
constexpr s32 TRACKS_SOUND_HIT = 555;
constexpr s32 TRACKS_MUSIC = 10019;
constexpr s32 TRACKS_CURSOR = 16;
constexpr s32 TRACKS_SKILL = 16; // growth index of the smithing skill
constexpr s32 TRACKS_ATTR = 28;  // growth index of the attribute hits feed
constexpr s32 TRACKS_STAMINA_COST = 100;
constexpr s32 TRACKS_ITEM_BASE = 1400;
constexpr s32 TRACKS_BULK_FROM = 150; // from this index on a success gives TRACKS_BULK items
constexpr s32 TRACKS_BULK = 20;
constexpr s32 TRACKS_NAME_TEXT = 6400; // + n: the item's name
constexpr s32 TRACKS_NOTE_IMAGE = 25607;
extern const s32 TRACKS_X[TRACKS_COUNT]; // 72 and 128

// What an item of craft value cv demands at a skill 16 of `skill`.
struct TracksRules {
    s32 base, step; // by cv / 5
    s32 target;     // the required score
    s32 unit;       // one hundredth of the target (rounded down), the grade marks' unit
    s32 gain;       // score per hit, by skill 16 / 10
};
TracksRules tracks_rules(s32 cv, s32 skill);

struct TracksMark {
    bool moving = false;
    s32 y = TRACKS_START_Y;
};

struct TracksTrack {
    TracksMark marks[TRACKS_MARKS];
    s32 current = 0; // the mark that starts next when idle
    s32 flash = -1;  // frames the hit flash has shown (0..29), -1 none
    s32 hits = 0;
    s32 misses = 0; // marks that passed the band unhit
};

// The whole state of the running (or last) game.
struct TracksState {
    s32 n = 0;  // the equipment index
    s32 cv = 0; // its craft value
    TracksRules rules{};
    TracksTrack tracks[TRACKS_COUNT];
    s32 score = 0;
    s32 penalty = 0;     // seconds added to the clock (presses) and given back (hits)
    s32 secs = 0;        // seconds spent: stopwatch 1 in whole seconds plus the penalty
    s32 cycle = 0;       // frame of the launch cycle 0..17
    s32 phase = 0;       // mark animation phase 0..2
    s32 presses = 0;     // presses taken (both buttons at once count one)
    s32 frames = 0;      // frames of play presented
    bool ending = false; // the end screen is up
    s32 end_marker = 0;  // the end screen's marker count 0..23
    bool made = false;
};
extern TracksState tracks_state;

// The launch draws of the game; rand_below unless a test replaces it.
extern s32 (*tracks_draw_seam)(s32 n);

// Plays one making of item 1400 + n (n 0..199); returns 1 when the item was made and given, else
// 0. An index outside 0..199 makes nothing and returns 0 at once.
s32 game_tracks(s32 n);
// Draws one mark: image 25607 + image at (x, y) when y > 13, else nothing.
void game_tracks_note(s32 y, s32 image, s32 x);
// The contests of the hub's contest commands have no game of their own: 0 for every contest.
s32 contest_stub(s32 contest);
