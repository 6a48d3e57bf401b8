// Blocks that the map episodes and the open world share beyond the basic kit (scripts/kit.h):
// encounter line-ups written from rows, distinct random picks that never redraw, the plain wait
// for a mouse button, frame runs on the stopwatch and loops bound to the music, and the companion
// who walks out of the player's spot for a talk and back again.
#pragma once
#include "engine/types.h"
#include "scripts/cells.h"
#include "scripts/kit.h"

#include <functional>
#include <span>

// ---- Encounter line-ups ----------------------------------------------------------------------

constexpr s32 LINEUP_FIGHTERS = 12;
constexpr s32 LINEUP_OWN_FIRST = 0; // fighters 0..5: the player's side, 0 the protagonist
constexpr s32 LINEUP_OWN_LAST = 5;
constexpr s32 LINEUP_FOE_FIRST = 6; // fighters 6..11: the opponents
constexpr s32 LINEUP_FOE_LAST = 11;
constexpr s32 LINEUP_RANDOM = -1; // a column or row of -1: placed at random

enum LineupOp : s32 {
    LINEUP_CLEAR = 0,      // fighters a..b: id, column and row := -1
    LINEUP_SET = 1,        // fighter a := id b at column c, row d
    LINEUP_SET_ALIVE = 2,  // the same, only when character b's roster hp is above 0
    LINEUP_PLACE = 3,      // fighter a's column := c, row := d (the id stays)
    LINEUP_PARTY = 4,      // party entries a..b above 0: fighter p + 1 := entry p
    LINEUP_PARTY_FREE = 5, // party entries above 0, in order, into the first of fighters a..b
                           // holding -1; a member without a free fighter is left out
    LINEUP_BACKGROUND = 6, // background image := a
};
struct LineupRow {
    s32 op = LINEUP_CLEAR;
    s32 a = 0, b = 0, c = LINEUP_RANDOM, d = LINEUP_RANDOM;
};
namespace lineup {
constexpr LineupRow clear(s32 first, s32 last) {
    return {LINEUP_CLEAR, first, last};
}
constexpr LineupRow clear_all() {
    return clear(0, LINEUP_FIGHTERS - 1);
}
constexpr LineupRow clear_own() {
    return clear(LINEUP_OWN_FIRST, LINEUP_OWN_LAST);
}
constexpr LineupRow clear_foes() {
    return clear(LINEUP_FOE_FIRST, LINEUP_FOE_LAST);
}
constexpr LineupRow fighter(s32 index, s32 id, s32 col = LINEUP_RANDOM, s32 row = LINEUP_RANDOM) {
    return {LINEUP_SET, index, id, col, row};
}
constexpr LineupRow fighter_alive(s32 index, s32 id) {
    return {LINEUP_SET_ALIVE, index, id};
}
constexpr LineupRow place(s32 index, s32 col, s32 row) {
    return {LINEUP_PLACE, index, 0, col, row};
}
// `PlayerRecord.party` entries first..last (0..4) above 0 as fighters entry + 1.
constexpr LineupRow party(s32 first = 0, s32 last = 4) {
    return {LINEUP_PARTY, first, last};
}
// The party's members above 0 into the first free of fighters first..last.
constexpr LineupRow party_free(s32 first, s32 last) {
    return {LINEUP_PARTY_FREE, first, last};
}
constexpr LineupRow background(s32 image) {
    return {LINEUP_BACKGROUND, image};
}
} // namespace lineup

// Applies the rows in order to `encounters[encounter]`; an encounter outside the table is left
// alone, and fighter and party indices are clamped to their ranges.
void lineup_write(s32 encounter, std::span<const LineupRow> rows);

// ---- Distinct draws --------------------------------------------------------------------------

constexpr s32 DRAW_CANDIDATES_MAX = 1024;
// Picks up to out.size() distinct indices among 0..count-1 that `eligible` accepts, each pick
// uniform over the accepted ones not yet picked, with one `script_rand` per pick (a partial
// shuffle: nothing is ever drawn again). When no more are accepted than wanted, every accepted
// index is returned in ascending order and nothing is drawn; none accepted returns 0. Returns the
// number written to `out`. `count` is clamped to 0..DRAW_CANDIDATES_MAX.
s32 draw_distinct(s32 count, const std::function<bool(s32)>& eligible, std::span<s32> out);

// ---- Waiting for a button --------------------------------------------------------------------

// Presents the screen as it stands, clears the buttons, then presents again (so that input keeps
// arriving) until a mouse button goes down; the buttons and the click are cleared on return. No
// marker is drawn: the caption slides, the game-over screen and the lost screens wait so.
void wait_button();

// ---- Stopwatch frames and the music ----------------------------------------------------------

constexpr s32 STOPWATCH_STEP_MS = 300;
constexpr s32 MUSIC_ROUNDS_MAX = 1000;
// obj shows first + step x i for i = 0..count-1, each frame after the stopwatch (timer0) has
// counted `ms` from the start of its step. With `piece` at 0 or above the whole run is repeated
// while that music is the current one and playing (tested before each round), at most `rounds`
// times; the first round is played in any case.
struct FrameRun {
    s32 obj = 0;
    s32 first = 0, step = 2, count = 1;
    s32 ms = STOPWATCH_STEP_MS;
    s32 piece = -1;
    s32 rounds = MUSIC_ROUNDS_MAX;
};
// Returns the rounds played.
s32 stopwatch_frames(const FrameRun& run);
// 1 while `piece` is the current music and has not finished.
bool music_still_playing(s32 piece);
// Calls round(i) for i = 0, 1, ... while `piece` is the current music and playing (tested before
// each round), at most max_rounds times; returns the rounds run.
s32 music_loop(s32 piece, s32 max_rounds, const std::function<void(s32)>& round);
// Waits while `piece` is the current music and playing, at most max_ms; returns the ms waited.
u32 music_wait(s32 piece, u32 max_ms);

// A frame loop paced by the music: every `ms` the object shows its current frame + `step`, and a
// frame above `last` wraps to `first`, while `piece` is the current music and playing.
// - `end_at_wrap` false: the piece is tested before every step, and each step waits its `ms`
//   before it shows the frame; a piece that is not playing shows nothing.
// - `end_at_wrap` true: the piece is tested only when the run wraps, and each step shows its frame
//   before it waits; the run plays at least up to its first wrap.
// A track that never ends is bounded by `max_ms` of virtual time. Returns the frames shown.
constexpr u32 MUSIC_FRAMES_MAX_MS = 600000; // ten minutes: longer than any piece of the game
struct MusicFrames {
    s32 obj = 0;
    s32 piece = -1;
    s32 first = 0, last = 0;
    s32 step = 2;
    s32 ms = STOPWATCH_STEP_MS;
    bool end_at_wrap = false;
    u32 max_ms = MUSIC_FRAMES_MAX_MS;
};
s32 music_frames(const MusicFrames& m);

// ---- Companion walk-out ----------------------------------------------------------------------

// One or two companions come out of the player: each is moved onto the player's map and spot,
// shows `frame` and is switched on; all walk out together (speed clamped to 5..10) to their point
// (beside the player by offset, or a map point) and show `out_frame` (0: keep); the talk runs
// (the cells as one block with self = the first companion and the boxes at `turn`, then `talk`);
// all walk back onto the player's spot as it is then, at `back_speed`, and are switched off.
struct WalkOutMate {
    s32 obj = -1; // -1: no such companion
    s32 frame = 0;
    s32 x = 0, y = 0;
    bool offset = true; // (x, y) is an offset from the player; else a map point
    s32 out_frame = 0;
};
constexpr s32 WALK_OUT_SPEED_MIN = 5;
constexpr s32 WALK_OUT_SPEED_MAX = 10;
struct WalkOut {
    WalkOutMate mates[2]{};
    s32 speed = WALK_OUT_SPEED_MIN;
    s32 back_speed = WALK_OUT_SPEED_MIN;
    s32 camera = -1; // walk's camera object: 0 follows the player, -1 stays
    TalkTurn turn{};
    std::span<const Cell> cells{};
    void (*talk)() = nullptr;
};
void companion_walk_out(const WalkOut& w);
