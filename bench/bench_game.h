// The game started on the headless platform for a benchmark: the placeholder archive written,
// unlimited budgets, the engine and the game's tables up, a new game's state, no input pending.
#pragma once
#include "engine/types.h"

// tick_step_ms: how far the virtual clock moves on every tick read (0 keeps the harness default).
// with_maps: also puts the placeholder maps into the archive.
void bench_game_start(u32 tick_step_ms, bool with_maps);
