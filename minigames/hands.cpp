// PENDING: the hand game (being written).
#include "minigames/hands.h"

s32 game_hands() {
    return -3;
}
