// PENDING: blows and damage (being written).
#include "battle/battle_attack.h"

s32 double_strike = 0;

void battle_attack(s32) {}
void battle_damage(s32) {}
void battle_hp_add(s32, s32) {}
void battle_mp_add(s32, s32) {}
void battle_poison_add(s32, s32) {}
void battle_rest(s32) {}
s32 battle_hp(s32) {
    return 0;
}
s32 battle_hp_max(s32) {
    return 0;
}
s32 battle_mp(s32) {
    return 0;
}
s32 battle_mp_max(s32) {
    return 0;
}
s32 battle_poison(s32) {
    return 0;
}
s32 battle_level_percent(s32) {
    return 100;
}
s32 battle_defence_factor(s32) {
    return 0;
}
