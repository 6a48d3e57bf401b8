// The light-ring betting game.
#pragma once
#include "engine/types.h"

// Eight prize ids or -1; slot i takes argument a(8 - i).
void game_light_ring(s32 a1, s32 a2, s32 a3, s32 a4, s32 a5, s32 a6, s32 a7, s32 a8);
