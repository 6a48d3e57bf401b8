// PENDING: the attack command and special arts (being written).
#include "battle/battle_special.h"

s32 field_turns = 0;
s32 field_kind = 0;
s32 field_bonus = 0;

s32 battle_cmd_attack() {
    return 1;
}
s32 battle_special_art() {
    return 1;
}
s32 battle_field_bonus(s32, s32, s32) {
    return 0;
}
s32 battle_special_e(s32, s32) {
    return 10;
}
