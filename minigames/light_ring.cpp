// PENDING: the light-ring game (being written).
#include "minigames/light_ring.h"

void game_light_ring(s32, s32, s32, s32, s32, s32, s32, s32) {}
