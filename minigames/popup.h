// The pop-up target game.
#pragma once
#include "engine/types.h"

void game_popup_targets(s32 mode);
// Draws one figure of kinds 2..8 at step t.
void game_popup_frame(s32 t, s32 face, s32 life, s32 x, s32 y, s32 effect);
