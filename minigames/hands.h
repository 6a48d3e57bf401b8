// The hand game: one match against an opponent who changes hands every second frame.
#pragma once
#include "engine/types.h"

// Plays one match; returns the player's won hands minus the opponent's (3, 2, 1, -1, -2, -3).
s32 game_hands();
