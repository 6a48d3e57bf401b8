// The computer's turn: medicine, target choice, approach and strike by the art's area shape, or
// rest.
#pragma once
#include "engine/types.h"

// One turn of a fighter the player does not control (every companion and opponent, and the
// protagonist while it is computer-played); returns at once for slot 12 or an empty slot.
void battle_ai_turn(s32 slot);
// Move allowance of the computer-played protagonist.
s32 battle_ai_protagonist_allowance();

// The random draws of the computer turn (target rule, drawn targets, walk plan order); tests
// replace it to script them. Defaults to `rand_below`.
extern s32 (*battle_ai_rand)(s32 n);
// The blow and the rest that end a computer turn; `battle_attack` and `battle_rest` unless a
// test replaces them to watch what the turn prepared.
extern void (*battle_ai_strike)(s32 slot);
extern void (*battle_ai_rest)(s32 slot);

// Medicines a computer-played protagonist takes: with low hp only the first list, with low mp
// (and hp not low) only the second.
constexpr s32 AI_HP_MEDICINES[7] = {1250, 1253, 1257, 1263, 1270, 1271, 1275};
constexpr s32 AI_MP_MEDICINES[7] = {1253, 1254, 1258, 1263, 1271, 1275, 1281};
// Items a companion or opponent takes from its bag when low on hp.
constexpr s32 AI_BAG_FIRST = 1250;
constexpr s32 AI_BAG_LAST = 1289;
