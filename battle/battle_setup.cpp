// PENDING: the set-up (being written).
#include "battle/battle_setup.h"

s32 art_list = 0;
s32 art_entry = 0;
s32 art_best_level = -1;
s32 weapon_family = 0;
s32 family_usable[5] = {};

void battle_slots_clear() {}
void battle_setup() {}
s32 battle_art_search(const s32*, s32) {
    return 0;
}
s32 battle_protagonist_art_valid() {
    return 0;
}
void battle_protagonist_take_art() {}
s32 battle_anim_for(s32, s32, s32) {
    return 0;
}
