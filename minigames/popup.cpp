// PENDING: the pop-up target game (being written).
#include "minigames/popup.h"

void game_popup_targets(s32) {}
void game_popup_frame(s32, s32, s32, s32, s32, s32) {}
