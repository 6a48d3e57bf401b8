// The player's attack command by the area shape of the protagonist's art, and the special arts
// that set a field effect for some rounds.
#pragma once
#include "engine/types.h"

extern s32 field_turns; // rounds left, 0 = none
extern s32 field_kind;  // the art's special value 0..5
extern s32 field_bonus;

// 1 when the protagonist acted (turn ends), 0 when cancelled with the right button.
s32 battle_cmd_attack();
// The special art of the protagonist's current art (area shape 3); 1 when it acted, 0 when the
// right button cancelled, -1 when it waits for the next frame (unknown kind: nothing happens).
s32 battle_special_art();
// Field bonus strength for kinds 0, 1, 3 at `level` with mp factor e.
s32 battle_field_bonus(s32 kind, s32 level, s32 e);
// e of the special arts: 10 with enough mp for cost c, else mp x 10 / c + 1.
s32 battle_special_e(s32 mp, s32 cost);
