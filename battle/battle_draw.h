// Everything the battle shows besides the fighters: background and field overlay, gauges,
// the protagonist's hp and mp panels, portraits, flashes and floating reaction texts.
#pragma once
#include "engine/types.h"

extern s32 bar_offset; // 0 when slot 0's x is below 351, else 380

// Image ids of the battle screen.
constexpr s32 BATTLE_IMG_BAR = 25735;           // the command bar
constexpr s32 BATTLE_IMG_GAUGE_CELL = 25755;    // gauge cell, not poisoned
constexpr s32 BATTLE_IMG_GAUGE_FRAME = 25756;   // frame of a fighter's gauge
constexpr s32 BATTLE_IMG_GAUGE_POISON = 25759;  // + poison / 40: poisoned gauge cells
constexpr s32 BATTLE_IMG_CELL = 25765;          // cell highlight (72 x 36 diamond)
constexpr s32 BATTLE_IMG_FIELD_OVERLAY = 25766; // 25766..25768: field kinds 0, 1, 3
constexpr s32 BATTLE_IMG_PANEL = 25769;         // frame of the hp and mp panels
constexpr s32 BATTLE_IMG_MP_KEEP = 25770;       // mp panel cell: mp that stays
constexpr s32 BATTLE_IMG_MP_SPEND = 25771;      // mp panel cell: mp an art would spend
constexpr s32 BATTLE_IMG_HP_CELL = 25772;       // + poison tier 0..3: hp panel cells
constexpr s32 BATTLE_IMG_GUARD_B = 25776;       // guard picture, facings 2 and 4
constexpr s32 BATTLE_IMG_GUARD_A = 25777;       // guard picture, facings 1 and 3
constexpr s32 BATTLE_IMG_FLASH = 20882;         // 17 frames of the effect flash
constexpr s32 BATTLE_FLASH_FRAMES = 17;
constexpr s32 BATTLE_GAUGE_WIDTH = 50;  // cells of a fighter's gauge
constexpr s32 BATTLE_PANEL_WIDTH = 100; // cells of a panel bar

// Sets `bar_offset` from slot 0's x (the command bar and panels sit away from the protagonist).
void battle_set_bar_offset();
// The encounter's background at (0, 0), then the field overlay while a field effect lasts: the
// start of every battle frame.
void battle_draw_background();
// The field overlay alone (at (bar_offset, 0) while a field effect lasts). Called right after
// battle_draw_background it draws nothing, since the background has already laid it.
void battle_draw_overlay();
// The cell marker under the pointer (image 25765, flags 0x3800) unless it is a cut corner or the
// pointer is on no cell.
void battle_draw_pointer_cell();
void battle_draw_gauge(s32 slot, s32 hp);
// A fighter's gauge frame with n cells of `image` (below 0: the image its poison gives).
void battle_draw_gauge_cells(s32 slot, s32 n, s32 image = -1);
void battle_draw_gauges();
void battle_hp_panel(s32 hp, s32 raised);
void battle_mp_panel(s32 mp_shown, s32 raised);
void battle_gauge_anim(s32 slot, s32 old_hp, s32 old_mp);
// The falling gauges after a blow: targets[] slots with their hp before it.
void battle_gauges_fall(s32 attacker, const s32* targets, const s32* hp_before, s32 count);
// The same; with weapon 1447 the protagonist's drained gauge rises from attacker_hp_before (its hp
// before the blow; below 0: from its current hp) toward its current hp.
void battle_gauges_fall_drain(s32 attacker, const s32* targets, const s32* hp_before, s32 count,
                              s32 attacker_hp_before);
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
// Gauge cell image of a poison value: 25755 not poisoned, else 25759 + poison / 40 (clamped).
s32 battle_gauge_cell_image(s32 poison);
