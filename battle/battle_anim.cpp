// PENDING: animation tracks (being written).
#include "battle/battle_anim.h"

void battle_sync_anim() {}
void battle_anim_attack(s32) {}
void battle_anim_special() {}
void battle_anim_counter(s32) {}
void battle_dodge_cell(s32, s32* x_out, s32* y_out) {
    *x_out = *y_out = 0;
}
s32 battle_face_toward(s32) {
    return 3;
}
