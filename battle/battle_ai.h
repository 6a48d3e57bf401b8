// The computer's turn: medicine, target choice, approach and strike by the art's area shape, or
// rest.
#pragma once
#include "engine/types.h"

void battle_ai_turn(s32 slot);
// Move allowance of the computer-played protagonist.
s32 battle_ai_protagonist_allowance();
