// The dice games: one state machine behind the plain game, the high-stakes game and the practice.
#pragma once
#include "engine/types.h"

void game_dice(s32 mode, s32 stake);
// 1 or 2 (1 is success).
s32 game_dice_high(s32 mode, s32 stake);
// 1 when the player reached 300 chips, 0 when the chips ran out.
s32 game_dice_practice();
