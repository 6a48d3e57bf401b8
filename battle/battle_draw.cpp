// PENDING: battle screen drawing (being written).
#include "battle/battle_draw.h"

s32 bar_offset = 0;

void battle_draw_background() {}
void battle_draw_overlay() {}
void battle_draw_pointer_cell() {}
void battle_draw_gauge(s32, s32) {}
void battle_draw_gauges() {}
void battle_hp_panel(s32, s32) {}
void battle_mp_panel(s32, s32) {}
void battle_gauge_anim(s32, s32, s32) {}
void battle_gauges_fall(s32, const s32*, const s32*, s32) {}
void battle_item_flash(s32) {}
void battle_reaction_flash(s32) {}
void battle_heal_flash(const s32[6]) {}
void battle_float_text(s32) {}
s32 battle_draw_portrait(s32) {
    return -1;
}
void battle_draw_hovered() {}
s32 battle_gauge_cells(s32, s32, s32) {
    return 0;
}
