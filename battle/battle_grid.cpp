// The battle grid: cells and screen points, distance maps, move allowances and walking.
#include "battle/battle_grid.h"

#include "battle/battle.h"
#include "battle/battle_anim.h"
#include "battle/battle_draw.h"
#include "battle/battle_setup.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "engine/anim.h"
#include "engine/image.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/player.h"

#include <cstdlib>

BattleCursor battle_cursor = {-1, -1, -1, -1};
s32 battle_dist[DIST_LAYERS][GRID][GRID];
s32 battle_marks[GRID][GRID];
s32 move_allowance = 0;

namespace {

constexpr s32 CELL_HIGHLIGHT = 25765;
constexpr u32 BLEND_REACH = 0x4800;
constexpr u32 STEP_WAIT_MS = 125;
constexpr s32 SPEED_PER_STEP = 25;

// The four neighbours in the order the step maps spread: column + 1, column - 1, row + 1, row - 1.
constexpr s32 SPREAD_DC[4] = {1, -1, 0, 0};
constexpr s32 SPREAD_DR[4] = {0, 0, 1, -1};
// The order a path is traced back: row + 1, row - 1, column + 1, column - 1.
constexpr s32 TRACE_DC[4] = {0, 0, 1, -1};
constexpr s32 TRACE_DR[4] = {1, -1, 0, 0};

// The art of a slot without one: no power, reach, cost, bonus terms, animations or special.
ArtEntry make_empty_art() {
    ArtEntry a{};
    for (ArtTerm& t : a.bonus) t = {ART_NO_TERM, 0};
    for (ArtTerm& t : a.require) t = {ART_NO_TERM, -1};
    for (s32& n : a.anim) n = -1;
    a.special = ART_NO_SPECIAL;
    return a;
}
const ArtEntry empty_art = make_empty_art();

bool slot_live(s32 slot) {
    return slot >= 0 && slot < BATTLE_SLOTS && battle_slots[slot].character != -1;
}

void fill_layer(s32 layer, s32 value) {
    for (auto& row : battle_dist[layer])
        for (s32& v : row) v = value;
}

// 1 when the cell holds a live fighter of the mover's side (the mover included).
bool holds_ally(s32 mover, s32 col, s32 row) {
    const s32 s = battle_slot_at(col, row);
    return s >= 0 && s / BATTLE_SIDE == mover / BATTLE_SIDE;
}

// Step map from (mc, mr) into `layer`: steps through free cells only; cut corners are never
// entered, so every value traces back to the mover along cells that hold a value.
void build_steps(s32 layer, s32 mc, s32 mr) {
    auto& steps = battle_dist[layer];
    steps[mr][mc] = 0;
    for (s32 d = 0; d < DIST_MAX_STEPS; ++d) {
        bool spread = false;
        for (s32 r = 0; r < GRID; ++r)
            for (s32 c = 0; c < GRID; ++c) {
                if (steps[r][c] != d) continue;
                for (s32 n = 0; n < 4; ++n) {
                    const s32 nc = c + SPREAD_DC[n], nr = r + SPREAD_DR[n];
                    if (!cell_on_grid(nc, nr) || cell_cut(nc, nr)) continue;
                    if (battle_dist[0][nr][nc] != -1 || steps[nr][nc] != -1) continue;
                    steps[nr][nc] = d + 1;
                    spread = true;
                }
            }
        if (!spread) break;
    }
}

void build_area(s32 mover, s32 layer, s32 shape, s32 mc, s32 mr) {
    auto& area = battle_dist[layer];
    area[mr][mc] = 0;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) {
            if ((c == mc && r == mr) || holds_ally(mover, c, r)) continue;
            const s32 dc = std::abs(c - mc), dr = std::abs(r - mr);
            switch (shape) {
            case DIST_SQUARE:
                area[r][c] = dc > dr ? dc : dr;
                break;
            case DIST_CROSS:
                if (r == mr || c == mc) area[r][c] = dc + dr;
                break;
            case DIST_LINE + FACE_COL0:
                if (r == mr && c < mc) area[r][c] = dc;
                break;
            case DIST_LINE + FACE_COL11:
                if (r == mr && c > mc) area[r][c] = dc;
                break;
            case DIST_LINE + FACE_ROW0:
                if (c == mc && r < mr) area[r][c] = dr;
                break;
            case DIST_LINE + FACE_ROW11:
                if (c == mc && r > mr) area[r][c] = dr;
                break;
            default:
                break;
            }
        }
}

// The half-line toward the pointer's cell (which moves the cursor there).
s32 pointer_facing(s32 slot) {
    battle_cell_at(pointer_x, pointer_y, 1);
    const BattleSlot& s = battle_slots[slot];
    if (battle_cursor.x >= s.x) return battle_cursor.y >= s.y ? FACE_ROW11 : FACE_COL0;
    return battle_cursor.y >= s.y ? FACE_COL11 : FACE_ROW0;
}

// Weapon (slot 0 of the equipment), body (slot 1) and accessory (slot 3) speed bonuses.
s32 weapon_speed() {
    const EquipEntry* e = equip_entry(0, player_record.equip[0]);
    return e ? e->speed_bonus : 0;
}
s32 body_speed() {
    const EquipExtraEntry* e = equip_b_entry(player_record.equip[1]);
    return e ? e->speed_bonus : 0;
}
s32 accessory_speed() {
    const EquipSlot3Entry* e = equip_c_entry(player_record.equip[3]);
    return e ? e->speed_bonus : 0;
}

s32 speed_field() {
    return field_kind == 3 ? field_bonus : 0;
}

} // namespace

void battle_cell_at(s32 a, s32 b, s32 mode) {
    if (mode == 0) {
        battle_cursor.col = a;
        battle_cursor.row = b;
    } else if (mode == 1) {
        battle_screen_cell(a, b, &battle_cursor.col, &battle_cursor.row);
    } else {
        return;
    }
    if (battle_cursor.col == -1 && battle_cursor.row == -1) return; // nothing located yet
    battle_cursor.x = cell_x(battle_cursor.col, battle_cursor.row);
    battle_cursor.y = cell_y(battle_cursor.col, battle_cursor.row);
}

s32 battle_screen_cell(s32 px, s32 py, s32* col, s32* row) {
    s32 found = -1;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) {
            if (std::abs(px - cell_x(c, r)) + 2 * std::abs(py - cell_y(c, r)) > 36) continue;
            *col = c;
            *row = r;
            found = 0;
            break; // the first column of a row; a later row still wins
        }
    return found;
}

s32 battle_slot_cell(s32 slot, s32* col, s32* row) {
    if (slot < 0 || slot >= BATTLE_SLOTS) return -1;
    return battle_point_cell(battle_slots[slot].x, battle_slots[slot].y, col, row);
}

s32 battle_point_cell(s32 x, s32 y, s32* col, s32* row) {
    const s32 dx = x - 317, dy = y - 64;
    // dx = (row - col) x 36, dy = (row + col) x 18
    if (dx % 36 != 0 || dy % 18 != 0) return -1;
    const s32 diff = dx / 36, sum = dy / 18;
    if ((diff + sum) % 2 != 0) return -1;
    const s32 r = (sum + diff) / 2, c = (sum - diff) / 2;
    if (!cell_on_grid(c, r)) return -1;
    *col = c;
    *row = r;
    return 0;
}

s32 battle_slot_at(s32 col, s32 row) {
    if (!cell_on_grid(col, row)) return -1;
    for (s32 s = 0; s < BATTLE_SLOTS; ++s) {
        s32 c = -1, r = -1;
        if (slot_live(s) && battle_slot_cell(s, &c, &r) == 0 && c == col && r == row) return s;
    }
    return -1;
}

const ArtEntry& battle_slot_art(s32 slot) {
    if (slot < 0 || slot >= BATTLE_SLOTS) return empty_art;
    const s32 art = battle_slots[slot].art;
    return art >= 0 && art < ARTS_COUNT ? arts_table[art] : empty_art;
}

void battle_dists_clear() {
    for (s32 l = 0; l < DIST_LAYERS; ++l) fill_layer(l, -1);
}

void battle_marks_clear() {
    for (auto& row : battle_marks)
        for (s32& v : row) v = -1;
}

void battle_dist_build_dir(s32 slot, s32 layer, s32 shape) {
    if (layer != 1 && layer != 3) return;
    fill_layer(0, -1);
    fill_layer(layer, -1);
    fill_layer(layer + 1, -1);
    for (s32 s = 0; s < BATTLE_SLOTS; ++s) {
        s32 c = 0, r = 0;
        if (slot_live(s) && battle_slot_cell(s, &c, &r) == 0)
            battle_dist[0][r][c] = battle_slots[s].character;
    }
    s32 mc = 0, mr = 0;
    if (slot_live(slot) && battle_slot_cell(slot, &mc, &mr) == 0) {
        build_steps(layer, mc, mr);
        build_area(slot, layer + 1, shape, mc, mr);
    }
    for (s32 l = 1; l < DIST_LAYERS; ++l)
        for (s32 r = 0; r < GRID; ++r)
            for (s32 c = 0; c < GRID; ++c)
                if (cell_cut(c, r)) battle_dist[l][r][c] = DIST_CUT;
}

void battle_dist_build(s32 slot, s32 layer) {
    s32 shape = DIST_SQUARE;
    if (slot_live(slot)) {
        const s32 area = battle_slot_art(slot).area;
        if (area == 1) shape = DIST_LINE + pointer_facing(slot);
        if (area == 2) shape = DIST_CROSS;
    }
    battle_dist_build_dir(slot, layer, shape);
}

void battle_show_reach(s32 layer) {
    if (layer < 1 || layer >= DIST_LAYERS) return;
    const s32 limit = layer % 2 == 1 ? move_allowance : battle_slot_art(battle_active_slot).reach;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) {
            const s32 v = battle_dist[layer][r][c];
            if (v >= 0 && v <= limit)
                draw_image(cell_x(c, r), cell_y(c, r), CELL_HIGHLIGHT, BLEND_REACH);
        }
}

void battle_move_to(s32 slot, s32 col, s32 row) {
    if (!slot_live(slot)) return;
    battle_dist_build(slot, 1);
    s32 mc = 0, mr = 0;
    if (battle_slot_cell(slot, &mc, &mr) != 0) return;
    if (!cell_on_grid(col, row) || cell_cut(col, row) || (col == mc && row == mr)) return;
    if (battle_dist[0][row][col] != -1) return;
    const s32 d = battle_dist[1][row][col];
    if (d < 1) return;

    s32 path_c[DIST_MAX_STEPS + 1], path_r[DIST_MAX_STEPS + 1];
    path_c[d] = col;
    path_r[d] = row;
    for (s32 k = d - 1; k >= 0; --k) {
        bool found = false;
        for (s32 n = 0; n < 4 && !found; ++n) {
            const s32 nc = path_c[k + 1] + TRACE_DC[n], nr = path_r[k + 1] + TRACE_DR[n];
            if (!cell_on_grid(nc, nr) || battle_dist[1][nr][nc] != k) continue;
            path_c[k] = nc;
            path_r[k] = nr;
            found = true;
        }
        if (!found) return; // no trace back: the map and the target disagree, stay put
    }

    BattleSlot& s = battle_slots[slot];
    for (s32 k = 0; k <= d; ++k) {
        battle_draw_background();
        battle_draw_overlay();
        s.x = cell_x(path_c[k], path_r[k]);
        s.y = cell_y(path_c[k], path_r[k]);
        if (k > 0) {
            if (path_c[k] < path_c[k - 1]) s.facing = FACE_COL0;
            if (path_c[k] > path_c[k - 1]) s.facing = FACE_COL11;
            if (path_r[k] < path_r[k - 1]) s.facing = FACE_ROW0;
            if (path_r[k] > path_r[k - 1]) s.facing = FACE_ROW11;
        }
        s.anim = battle_anim_for(s.art, s.art_level, s.facing);
        anim_track_frame[slot] = 1;
        battle_sync_anim();
        anim_play();
        screen_present();
        battle_dist_build(slot, 1);
        wait_ms(STEP_WAIT_MS);
    }
}

void battle_cmd_move() {
    // A press is taken by its button bit or by the click word, so a press released before this
    // frame's poll is still seen; both are cleared first so the press that chose the command
    // does not count.
    mouse_buttons = 0;
    click_kind = 0;
    const s32 slot = battle_active_slot;
    if (!slot_live(slot)) return;
    for (;;) {
        battle_draw_background();
        battle_draw_overlay();
        battle_dist_build(slot, 1);
        battle_show_reach(1);
        battle_draw_pointer_cell();
        anim_play();
        battle_draw_hovered();
        screen_present();

        const u32 buttons = mouse_buttons;
        const u32 kind = click_kind;
        if ((buttons & 2) || kind == 2) {
            mouse_buttons = 0;
            click_kind = 0;
            return;
        }
        if (!(buttons & 1) && kind != 1) continue;
        mouse_buttons = 0;
        click_kind = 0;
        s32 c = 0, r = 0;
        // A click beside the grid takes no cell (the cursor's last cell would be a stale one).
        if (battle_screen_cell(click_x, click_y, &c, &r) != 0) continue;
        battle_cell_at(c, r, 0);
        if (cell_cut(c, r) || battle_dist[0][r][c] != -1) continue;
        const s32 steps = battle_dist[1][r][c];
        if (steps < 1 || steps > move_allowance) continue;
        move_allowance -= steps;
        battle_move_to(slot, c, r);
        return;
    }
}

s32 battle_protagonist_speed() {
    return player_record.attr[4] + weapon_speed() + accessory_speed() + body_speed() +
           speed_field();
}

s32 battle_turn_allowance(s32 slot) {
    if (slot == 0) return battle_protagonist_speed() / SPEED_PER_STEP + 1;
    if (slot < 0 || slot >= BATTLE_SLOTS) return 0;
    s32 speed = battle_slots[slot].speed;
    if (slot < BATTLE_SIDE) speed += speed_field();
    return speed / SPEED_PER_STEP + 1;
}
