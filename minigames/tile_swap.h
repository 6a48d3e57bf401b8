// The tile-swap picture puzzle.
#pragma once
#include "engine/types.h"

// picture 0..9; 1 when the boards are solved at the end, else 2.
s32 game_tile_swap(s32 picture);
