// PENDING: the dice games (being written).
#include "minigames/dice.h"

void game_dice(s32, s32) {}
s32 game_dice_high(s32, s32) {
    return 2;
}
s32 game_dice_practice() {
    return 0;
}
