// PENDING: placeholder bodies until the clock module lands (owner replaces this whole file).
#include "game/clock.h"

s32 mood_last_seen = 1000;
void clock_advance(s32) {}
void clock_apply() {}
void calendar_step() {}
void hub_end_turn(s32) {}
void fade_pause() {}
