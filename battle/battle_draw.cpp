// The battle screen besides the fighters' animations. Every maximum a gauge or panel divides by
// may be 0 (a roster entry without hp, a record not filled yet): such a bar simply has no cells.
#include "battle/battle_draw.h"

#include "battle/battle.h"
#include "battle/battle_grid.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "engine/anim.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/staging.h"
#include "game/player.h"

s32 bar_offset = 0;

namespace {

constexpr u32 FLAGS_POINTER_CELL = 0x3800; // blend weight 7
constexpr u32 FLAGS_ADDITIVE = 0x6000;
constexpr s32 SOUND_EFFECT = 500;
constexpr s32 PORTRAIT_BASE = 1000;
constexpr s32 NAME_TEXT_BASE = 1000;
constexpr s32 LAST_PORTRAIT_CHARACTER = 238;
constexpr s32 DRAIN_WEAPON = 1447 - 1400; // `equip`[0] of the weapon that drains hp
constexpr s32 FALL_STEP_FRAMES = 6;       // a falling gauge moves one cell per 6 frames

bool slot_ok(s32 slot) {
    return slot >= 0 && slot < BATTLE_SLOTS;
}
bool slot_live(s32 slot) {
    return slot_ok(slot) && battle_slots[slot].character != -1;
}

// Live values: slot 0 is the player record's.
s32 hp_of(s32 slot) {
    return slot == 0 ? player_record.hp : battle_slots[slot].hp;
}
s32 hp_max_of(s32 slot) {
    return slot == 0 ? player_record.hp_max : battle_slots[slot].hp_max;
}
s32 poison_of(s32 slot) {
    return slot == 0 ? player_record.poison : battle_slots[slot].poison;
}

// The small style of the panels' numbers, and back to the battle's own.
void small_style() {
    text_style(4);
    text_colour(27, 31, 1);
    text_size(8);
}
void battle_style() {
    text_style(5);
    text_colour(0, 0, 15);
    text_size(16);
}

void number_down(s32 x, s32 y, s32 value, s32 digits) {
    transcript_print_number(value, digits, x, y);
    print_number_vertical(x, y, value, digits);
}

// Hp panel tier image of a poison value: 0 not poisoned, else poison / 40 + 1 (at most 3).
s32 hp_panel_image(s32 poison) {
    if (poison <= 0) return BATTLE_IMG_HP_CELL;
    const s32 tier = poison / 40 + 1;
    return BATTLE_IMG_HP_CELL + (tier > 3 ? 3 : tier);
}

s32 cells_of(s32 slot, s32 hp) {
    return battle_gauge_cells(hp, hp_max_of(slot), BATTLE_GAUGE_WIDTH);
}

s32 step_toward(s32 v, s32 target) {
    return v < target ? v + 1 : v > target ? v - 1 : v;
}

void flash_frames(const s32* slots, s32 count, s32 dy, s32 ms) {
    screen_save();
    for (s32 i = 0; i < BATTLE_FLASH_FRAMES; ++i) {
        screen_restore();
        for (s32 k = 0; k < count; ++k) {
            const BattleSlot& s = battle_slots[slots[k]];
            draw_image(s.x, s.y + dy, BATTLE_IMG_FLASH + i, FLAGS_ADDITIVE);
        }
        screen_present();
        wait_ms(u32(ms));
    }
}

// The cell whose diamond holds screen point (px, py), later rows winning on a shared border; -1
// when no cell holds it.
s32 cell_under(s32 px, s32 py, s32* col, s32* row) {
    s32 found = -1;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) {
            const s32 dx = px - cell_x(c, r), dy = py - cell_y(c, r);
            if ((dx < 0 ? -dx : dx) + 2 * (dy < 0 ? -dy : dy) <= 36) {
                *col = c;
                *row = r;
                found = 0;
                break; // the first column of a row; a later row still wins
            }
        }
    return found;
}

// Set by the background, which draws the overlay itself, so that a caller drawing both in a row
// does not lay the overlay twice.
bool overlay_just_drawn = false;

void draw_field_overlay() {
    if (field_turns <= 0) return;
    s32 image = -1;
    if (field_kind == 0) image = BATTLE_IMG_FIELD_OVERLAY;
    if (field_kind == 1) image = BATTLE_IMG_FIELD_OVERLAY + 1;
    if (field_kind == 3) image = BATTLE_IMG_FIELD_OVERLAY + 2;
    if (image >= 0) draw_image(bar_offset, 0, image, 0);
}

} // namespace

void battle_draw_gauge_cells(s32 slot, s32 n, s32 image) {
    if (!slot_ok(slot)) return;
    const BattleSlot& s = battle_slots[slot];
    draw_image(s.x - 25, s.y - 110, BATTLE_IMG_GAUGE_FRAME, 0);
    if (image < 0) image = battle_gauge_cell_image(poison_of(slot));
    for (s32 i = 0; i < n; ++i) draw_image(s.x - 23 + i, s.y - 108, image, 0);
}

void battle_set_bar_offset() {
    bar_offset = battle_slots[0].x < 351 ? 0 : 380;
}

s32 battle_gauge_cells(s32 hp, s32 hp_max, s32 width) {
    if (hp_max <= 0 || hp <= 0 || width <= 0) return 0;
    s64 n = s64(hp) * width / hp_max;
    if (n < 1) n = 1;
    if (n > width) n = width;
    return s32(n);
}

s32 battle_gauge_cell_image(s32 poison) {
    if (poison <= 0) return BATTLE_IMG_GAUGE_CELL;
    const s32 tier = poison / 40;
    return BATTLE_IMG_GAUGE_POISON + (tier > 2 ? 2 : tier);
}

void battle_draw_background() {
    if (battle_encounter >= 0 && battle_encounter < ENCOUNTER_COUNT) {
        const s32 background = encounters[battle_encounter].background;
        if (background > 0) draw_image(0, 0, background, 0);
    }
    draw_field_overlay();
    overlay_just_drawn = true;
}

void battle_draw_overlay() {
    if (overlay_just_drawn) {
        overlay_just_drawn = false; // the background has just drawn it
        return;
    }
    draw_field_overlay();
}

void battle_draw_pointer_cell() {
    s32 col = 0, row = 0;
    if (cell_under(pointer_x, pointer_y, &col, &row) != 0 || cell_cut(col, row)) return;
    draw_image(cell_x(col, row), cell_y(col, row), BATTLE_IMG_CELL, FLAGS_POINTER_CELL);
}

void battle_draw_gauge(s32 slot, s32 hp) {
    if (!slot_ok(slot)) return;
    battle_draw_gauge_cells(slot, cells_of(slot, hp));
}

void battle_draw_gauges() {
    for (s32 slot = 0; slot < BATTLE_SLOTS; ++slot) {
        if (!slot_live(slot)) continue;
        const BattleSlot& s = battle_slots[slot];
        const s32 max = hp_max_of(slot), hp = hp_of(slot);
        s32 n = max > 0 && hp > 0 ? s32(s64(hp) * BATTLE_GAUGE_WIDTH / max) : 0;
        if (n > BATTLE_GAUGE_WIDTH) n = BATTLE_GAUGE_WIDTH;
        for (s32 i = 0; i < n; ++i) draw_image(s.x - 24 + i, s.y - 109, BATTLE_IMG_GAUGE_CELL, 0);
    }
}

void battle_hp_panel(s32 hp, s32 raised) {
    if (!slot_live(0)) return;
    const s32 x0 = 430 - bar_offset, y = raised ? 245 : 105;
    draw_image(x0 + 63, y, BATTLE_IMG_PANEL, 0);
    box_blend(x0 + 175, y - 7, 10, 32, 0, 5);
    small_style();
    number_down(x0 + 176, y - 9, hp, 4);
    battle_style();
    const s32 n = battle_gauge_cells(hp, player_record.hp_max, BATTLE_PANEL_WIDTH);
    const s32 image = hp_panel_image(player_record.poison);
    for (s32 i = 0; i < n; ++i) draw_image(x0 + 68 + i, y + 4, image, 0);
}

void battle_mp_panel(s32 mp_shown, s32 raised) {
    if (!slot_live(0)) return;
    const s32 x0 = 430 - bar_offset, y0 = raised ? 0 : -140;
    draw_image(x0 + 73, 270 + y0, BATTLE_IMG_PANEL, 0);
    box_blend(x0 + 62, 260 + y0, 10, 32, 0, 5);
    small_style();
    number_down(x0 + 63, 258 + y0, player_record.mp, 4);
    battle_style();
    const s32 max = player_record.mp_max;
    const s32 all = battle_gauge_cells(player_record.mp, max, BATTLE_PANEL_WIDTH);
    for (s32 i = 0; i < all; ++i) draw_image(x0 + 78 + i, 274 + y0, BATTLE_IMG_MP_SPEND, 0);
    const s32 kept = battle_gauge_cells(mp_shown, max, BATTLE_PANEL_WIDTH);
    for (s32 i = 0; i < kept; ++i) draw_image(x0 + 78 + i, 274 + y0, BATTLE_IMG_MP_KEEP, 0);
}

void battle_gauge_anim(s32 slot, s32 old_hp, s32 old_mp) {
    if (!slot_ok(slot)) return;
    if (slot != 0) {
        if (old_hp == hp_of(slot)) return;
        s32 shown = cells_of(slot, old_hp);
        const s32 target = cells_of(slot, hp_of(slot));
        screen_save();
        for (;;) {
            screen_restore();
            battle_draw_gauge_cells(slot, shown);
            screen_present();
            wait_ms(50);
            if (shown == target) break;
            shown = step_toward(shown, target);
        }
        return;
    }
    const PlayerRecord& p = player_record;
    if (!slot_live(0) || (old_hp == p.hp && old_mp == p.mp)) return;
    const s32 x0 = 430 - bar_offset;
    // Both bars move in percent, one per frame, toward the new values.
    s32 hp = battle_gauge_cells(old_hp, p.hp_max, BATTLE_PANEL_WIDTH);
    s32 mp = battle_gauge_cells(old_mp, p.mp_max, BATTLE_PANEL_WIDTH);
    const s32 hp_to = old_hp == p.hp ? hp : battle_gauge_cells(p.hp, p.hp_max, BATTLE_PANEL_WIDTH);
    const s32 mp_to = old_mp == p.mp ? mp : battle_gauge_cells(p.mp, p.mp_max, BATTLE_PANEL_WIDTH);
    const s32 hp_image = hp_panel_image(p.poison);
    draw_image(396 - bar_offset, 0, BATTLE_IMG_BAR, 0);
    screen_save();
    for (;;) {
        screen_restore();
        draw_image(x0 + 63, 105, BATTLE_IMG_PANEL, 0);
        draw_image(x0 + 73, 130, BATTLE_IMG_PANEL, 0);
        for (s32 i = 0; i < hp; ++i) draw_image(x0 + 68 + i, 109, hp_image, 0);
        for (s32 i = 0; i < mp; ++i) draw_image(x0 + 78 + i, 134, BATTLE_IMG_MP_KEEP, 0);
        box_blend(x0 + 175, 98, 10, 32, 0, 5);
        box_blend(x0 + 62, 120, 10, 32, 0, 5);
        small_style();
        number_down(x0 + 176, 96, s32(s64(hp) * p.hp_max / 100), 4);
        number_down(x0 + 63, 118, s32(s64(mp) * p.mp_max / 100), 4);
        battle_style();
        screen_present();
        if (hp == hp_to && mp == mp_to) break;
        hp = step_toward(hp, hp_to);
        mp = step_toward(mp, mp_to);
        wait_ms(30);
    }
    screen_restore();
    battle_hp_panel(p.hp, 0);
    battle_mp_panel(p.mp, 0);
    screen_present();
    wait_ms(200);
}

void battle_gauges_fall(s32 attacker, const s32* targets, const s32* hp_before, s32 count) {
    battle_gauges_fall_drain(attacker, targets, hp_before, count, -1);
}

void battle_gauges_fall_drain(s32 attacker, const s32* targets, const s32* hp_before, s32 count,
                              s32 attacker_hp_before) {
    if (count < 0) count = 0;
    if (count > BATTLE_HITS) count = BATTLE_HITS;
    s32 slots[BATTLE_HITS] = {}, shown[BATTLE_HITS] = {}, target[BATTLE_HITS] = {};
    s32 used = 0;
    for (s32 k = 0; k < count; ++k) {
        if (!slot_ok(targets[k])) continue;
        slots[used] = targets[k];
        shown[used] = cells_of(targets[k], hp_before[k]);
        target[used] = cells_of(targets[k], hp_of(targets[k]));
        ++used;
    }
    const bool drain = attacker == 0 && player_record.equip[0] == DRAIN_WEAPON && slot_live(0);
    s32 drain_shown = 0, drain_to = 0;
    if (drain) {
        drain_to = cells_of(0, player_record.hp);
        drain_shown = attacker_hp_before < 0 ? drain_to : cells_of(0, attacker_hp_before);
    }
    screen_save();
    for (s32 frame = 1;; ++frame) {
        screen_restore();
        for (s32 k = 0; k < used; ++k)
            if (!(slots[k] == 0 && battle_reaction == 3))
                battle_draw_gauge_cells(slots[k], shown[k]);
        if (drain && rand_below(2) == 0) battle_draw_gauge_cells(0, drain_shown);
        screen_present();
        bool arrived = !drain || drain_shown >= drain_to;
        for (s32 k = 0; k < used; ++k) arrived = arrived && shown[k] <= target[k];
        if (arrived) break;
        if (frame % FALL_STEP_FRAMES == 0) {
            for (s32 k = 0; k < used; ++k)
                if (shown[k] > target[k]) --shown[k];
            if (drain && drain_shown < drain_to) ++drain_shown;
        }
    }
}

void battle_item_flash(s32 slot) {
    if (!slot_ok(slot)) return;
    battle_draw_background();
    anim_play();
    mssw_play_sound(SOUND_EFFECT, 1);
    flash_frames(&slot, 1, -50, 90);
}

void battle_reaction_flash(s32 kind) {
    if (kind != 0) return;
    const s32 slot = 0;
    flash_frames(&slot, 1, -50, 90);
}

void battle_heal_flash(const s32 shown[6]) {
    s32 slots[BATTLE_SIDE], count = 0;
    for (s32 s = 0; s < BATTLE_SIDE; ++s)
        if (shown[s] != -1) slots[count++] = s;
    flash_frames(slots, count, 0, 100);
}

void battle_float_text(s32 text) {
    mssw_play_sound(SOUND_EFFECT, 1);
    screen_save();
    const BattleSlot& s = battle_slots[0];
    for (s32 i = 0; i < 15; ++i) {
        screen_restore();
        text_colour(12, 25, 25);
        transcript_print(text, s.x - 35, s.y - 100 - i);
        print_text(s.x - 35, s.y - 100 - i, text);
        screen_present();
        wait_ms(50);
    }
    screen_restore();
}

s32 battle_draw_portrait(s32 slot) {
    if (slot <= 0 || slot >= BATTLE_SLOTS) return -1;
    const s32 c = battle_slots[slot].character;
    if (c < 0 || c > LAST_PORTRAIT_CHARACTER || c == 155 || (c >= 157 && c <= 159)) return -1;
    draw_image(0, 330, PORTRAIT_BASE + c, 0);
    if (slot < BATTLE_SIDE)
        text_colour(0, 0, 15);
    else
        text_colour(25, 5, 0);
    transcript_print(NAME_TEXT_BASE + c, 130, 330);
    print_text_vertical(130, 330, NAME_TEXT_BASE + c);
    return 1;
}

void battle_draw_hovered() {
    s32 col = 0, row = 0;
    if (cell_under(pointer_x, pointer_y, &col, &row) != 0) return;
    for (s32 slot = 1; slot < BATTLE_SLOTS; ++slot) {
        const BattleSlot& s = battle_slots[slot];
        if (s.character == -1 || s.x != cell_x(col, row) || s.y != cell_y(col, row)) continue;
        battle_draw_portrait(slot);
        battle_draw_gauge(slot, hp_of(slot));
        return;
    }
}
