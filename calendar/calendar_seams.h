// Calls from one calendar handler file into a screen or routine of another, through pointers
// that tests replace with fakes. Each points at the real routine; `calendar_seams_reset` puts
// them back.
#pragma once
#include "engine/types.h"

// The picture pair game over the dashboard: 1 when the answer is the right cell, else 0.
extern s32 (*picture_pair_game_seam)();
// The aftermath of a lost training (flag 1 from every caller).
extern void (*training_aftermath_seam)(s32 flag);
// The music course's listening trial.
extern void (*music_trial_seam)();

void calendar_seams_reset();
