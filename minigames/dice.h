// The dice games: one big-or-small state machine against a host behind the plain game (money at a
// fixed stake for as long as the player likes), the high-stakes game (money, ends at the first
// loss or the fifth win) and the practice (chips from 50, ends at 0 or at 300).
#pragma once
#include "engine/types.h"

enum DiceVariant : s32 { DICE_PLAIN = 0, DICE_HIGH = 1, DICE_PRACTICE = 2 };

constexpr s32 DICE_HISTORY = 7;
constexpr s32 DICE_CHIPS_START = 50;
constexpr s32 DICE_CHIPS_GOAL = 300;

// The whole state of the running call (readable by tests; reset at every call).
struct DiceState {
    s32 variant;
    s32 stake;
    s32 chips;   // the practice's purse (the money variants use PlayerRecord.money)
    s32 state;   // 0 prompt, 1 betting, 2 dice shown, 3 result shown
    s32 betting; // 1 while the bet menu is up
    s32 pick;    // 1 big, 2 small, 3 leave (0: no row)
    s32 d1, d2, d3;
    s32 result; // 0 big, 1 small
    s32 won;
    s32 bets_won, bets_lost;
    s32 period_wins, period_losses;
    s32 clock_spent;
    s32 broke;
    s32 history[DICE_HISTORY]; // 0 empty, 1 big, 2 small; oldest first
    s32 end_state;
    s32 rolling; // 1 while the dice animation runs
};
extern DiceState dice_state;

// The source of the three dice draws (rand_below(n) by default); tests point it at scripted draws.
extern s32 (*dice_draw_seam)(s32 n);

// Faces (0..5 each) to result: 0 big (pips total 11 or more), 1 small.
s32 dice_result_of(s32 d1, s32 d2, s32 d3);

// Callers pass (0, 50).
void game_dice(s32 mode, s32 stake);
// 1 or 2 (1 is success). Callers pass (0, 500).
s32 game_dice_high(s32 mode, s32 stake);
// 1 when the player reached 300 chips, 0 when the chips ran out.
s32 game_dice_practice();
