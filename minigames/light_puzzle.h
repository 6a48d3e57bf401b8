// The light puzzle.
#pragma once
#include "engine/types.h"

// 1 when all lamps are lit, 0 when the player gave up.
s32 game_light_puzzle();
