// Everything the battle shows besides the fighters: background and field overlay, gauges,
// the protagonist's hp and mp panels, portraits, flashes and floating reaction texts.
#pragma once
#include "engine/types.h"

extern s32 bar_offset; // 0 when slot 0's x is below 351, else 380

// The encounter's background at (0, 0), then the field overlay while a field effect lasts.
void battle_draw_background();
void battle_draw_overlay();
// The cell marker under the pointer (image 25765, flags 0x3800) unless it is a cut corner.
void battle_draw_pointer_cell();
void battle_draw_gauge(s32 slot, s32 hp);
void battle_draw_gauges();
void battle_hp_panel(s32 hp, s32 raised);
void battle_mp_panel(s32 mp_shown, s32 raised);
void battle_gauge_anim(s32 slot, s32 old_hp, s32 old_mp);
// The falling gauges after a blow: targets[] slots with their hp before it.
void battle_gauges_fall(s32 attacker, const s32* targets, const s32* hp_before, s32 count);
void battle_item_flash(s32 slot);
void battle_reaction_flash(s32 kind);
void battle_heal_flash(const s32 shown[6]);
void battle_float_text(s32 text);
s32 battle_draw_portrait(s32 slot);
// The portrait and gauge of a fighter of slots 1..11 standing on the pointer's cell.
void battle_draw_hovered();
// Gauge cell number n for hp of hp_max (hp x width / hp_max, at least 1 when hp > 0, 0 when
// hp_max is 0).
s32 battle_gauge_cells(s32 hp, s32 hp_max, s32 width);
