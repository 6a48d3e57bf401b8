// PENDING: the computer turn (being written).
#include "battle/battle_ai.h"

void battle_ai_turn(s32) {}
s32 battle_ai_protagonist_allowance() {
    return 1;
}
