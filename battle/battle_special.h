// The player's attack command by the area shape of the protagonist's art, and the special arts
// that set a field effect for some rounds.
#pragma once
#include "engine/types.h"

extern s32 field_turns; // rounds left, 0 = none
extern s32 field_kind;  // the art's special value 0..5
extern s32 field_bonus;

// Field kinds of the special arts.
enum FieldKind : s32 {
    FIELD_POWER = 0,
    FIELD_GUARD = 1,
    FIELD_HEAL = 2,
    FIELD_SPEED = 3,
    FIELD_STRIKE_ALL = 4,
    FIELD_CURE = 5,
};
// Music of each kind, 0..5.
constexpr s32 FIELD_MUSIC[6] = {10082, 10080, 10083, 10081, 10085, 10084};

// 1 when the protagonist acted (turn ends), 0 when cancelled with the right button, or when the
// art is a special art of a kind outside 0..5 (nothing happens; the turn goes on).
s32 battle_cmd_attack();
// The special art of the protagonist's current art (area shape 3); 1 when it acted, 0 when the
// right button cancelled a strike-all art, -1 when the art's kind is outside 0..5 (then nothing
// at all is changed: no field, no mp, no experience).
s32 battle_special_art();
// Field bonus strength for kinds 0, 1, 3 at `level` with mp factor e (0 for other kinds).
s32 battle_field_bonus(s32 kind, s32 level, s32 e);
// e of the special arts: 10 with enough mp for cost c, else mp x 10 / c + 1.
s32 battle_special_e(s32 mp, s32 cost);
