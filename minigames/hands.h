// The hand game: one match against an opponent who changes hands every second frame.
#pragma once
#include "engine/types.h"

constexpr s32 HANDS_TO_WIN = 3;
constexpr s32 HANDS_BAR_STEP_MS = 300; // one column of the time bar
constexpr s32 HANDS_BAR_FULL = 100;    // the hand is lost once the bar holds more columns
constexpr s32 HANDS_GROWTH = 25;       // the attribute the match feeds
constexpr s32 HANDS_WIN_EXP = 20;      // per won hand
constexpr s32 HANDS_SWEEP_EXP = 100;   // for a match won 3 to 0

// Outcome of one hand, from the player's side.
enum HandsOutcome : s32 { HANDS_LOST = -1, HANDS_DRAWN = 0, HANDS_WON = 1 };

// The whole state of the running match (readable by tests; reset at every call).
struct HandsState {
    s32 wins, losses; // hands won by the player and by the opponent
    s32 hand;         // the opponent's current hand 0..2
    s32 previous;     // the hand it showed before
    s32 hold;         // frames until the opponent changes hands
    s32 t;            // columns of the time bar this frame
    s32 pick;         // menu row of the last decided hand (0: none, a time-out)
    s32 outcome;      // HandsOutcome of the last decided hand
    s32 hands;        // hands decided (draws included)
    s32 timeouts;     // hands lost to the time bar
    s32 top, bottom;  // result texts of the last decided hand
    s32 waiting;      // 1 while the result waits for a click
    s32 done;
};
extern HandsState hands_state;

// The source of the opponent's hands and the taunt choice (rand_below by default); tests point it
// at scripted draws.
extern s32 (*hands_draw_seam)(s32 n);

// Plays one match; returns the player's won hands minus the opponent's (3, 2, 1, -1, -2, -3).
s32 game_hands();
