// The player's attack command and the special arts with their field effects.
//
// The command runs its own frame loop: it shows the art's reach and the cell under the pointer,
// and by the art's area shape waits for a click on an opponent (one cell), a click that fires the
// line toward the pointer, strikes the cross or every opponent at once, or plays a special art.
#include "battle/battle_special.h"

#include "battle/battle.h"
#include "battle/battle_anim.h"
#include "battle/battle_attack.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_setup.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/growth.h"
#include "game/player.h"

#include <algorithm>
#include <cstdint>

s32 field_turns = 0;
s32 field_kind = 0;
s32 field_bonus = 0;

namespace {

constexpr s32 BUTTON_LEFT = 1;
constexpr s32 BUTTON_RIGHT = 2;
constexpr s32 GAUGE_CELLS = 50;
constexpr s32 HEAL_GAUGE_STEP_MS = 80;
constexpr s32 AREA_SQUARE = 0;
constexpr s32 AREA_LINE = 1;
constexpr s32 AREA_CROSS = 2;
constexpr s32 AREA_ALL = 4;
constexpr s32 AREA_SINGLE = 5;

bool is_opponent(s32 slot) {
    return slot >= BATTLE_SIDE && slot < BATTLE_SLOTS;
}

void marks_clear() {
    for (auto& row : battle_marks) std::fill(std::begin(row), std::end(row), -1);
}

// Marks every cell within `lo`..reach of the area map that holds an opponent, appending its
// point to slot 0's hit lists in row order; returns how many were marked.
s32 mark_opponents_in_area(s32 lo, s32 reach) {
    s32 marked = 0;
    for (s32 row = 0; row < GRID; ++row)
        for (s32 col = 0; col < GRID; ++col) {
            const s32 d = battle_dist[2][row][col];
            if (d < lo || d > reach) continue;
            if (!is_opponent(battle_slot_at(col, row))) continue;
            battle_marks[row][col] = d;
            battle_hits_append(0, col, row);
            ++marked;
        }
    return marked;
}

// Marks every live opponent's cell with 1 and appends its point.
s32 mark_all_opponents() {
    s32 marked = 0;
    for (s32 s = BATTLE_SIDE; s < BATTLE_SLOTS; ++s) {
        if (battle_slots[s].character == -1) continue;
        s32 col = 0, row = 0;
        if (battle_point_cell(battle_slots[s].x, battle_slots[s].y, &col, &row) != 0) continue;
        battle_marks[row][col] = 1;
        battle_hits_append(0, col, row);
        ++marked;
    }
    return marked;
}

// Consumes the press the command has read (its button bits and its click word); returns
// `result`.
s32 take_press(s32 result) {
    mouse_buttons = 0;
    click_kind = 0;
    return result;
}

void command_frame() {
    battle_draw_background();
    battle_draw_overlay();
    battle_dist_build(0, 1);
    battle_show_reach(2);
    battle_draw_pointer_cell();
    anim_play();
    battle_draw_hovered();
    screen_present();
}

// Heal of the own side: gauges rise from the old hp to the new one cell per frame.
void heal_own_side(s32 level, s32 e) {
    s32 shown[BATTLE_SIDE];
    s32 old_cells[BATTLE_SIDE];
    s32 new_cells[BATTLE_SIDE];
    const s32 amount = level * 4 * e / 10;
    for (s32 s = 0; s < BATTLE_SIDE; ++s) {
        shown[s] = -1;
        old_cells[s] = new_cells[s] = 0;
        if (battle_slots[s].character == -1) continue;
        shown[s] = battle_hp(s);
        old_cells[s] = battle_gauge_cells(battle_hp(s), battle_hp_max(s), GAUGE_CELLS);
        battle_hp_add(s, amount);
        new_cells[s] = battle_gauge_cells(battle_hp(s), battle_hp_max(s), GAUGE_CELLS);
    }
    battle_heal_flash(shown);
    for (s32 step = 0; step <= GAUGE_CELLS; ++step) {
        bool moving = false;
        battle_draw_background();
        battle_draw_overlay();
        anim_play();
        for (s32 s = 0; s < BATTLE_SIDE; ++s) {
            if (shown[s] == -1) continue;
            const s32 cells = std::min(old_cells[s] + step, new_cells[s]);
            if (cells < new_cells[s]) moving = true;
            const s32 max = battle_hp_max(s);
            // The smallest hp that shows this many cells.
            const s32 hp = max > 0 ? (cells * max + GAUGE_CELLS - 1) / GAUGE_CELLS : 0;
            battle_draw_gauge(s, cells >= new_cells[s] ? battle_hp(s) : hp);
        }
        screen_present();
        if (!moving) break;
        wait_ms(HEAL_GAUGE_STEP_MS);
    }
    battle_draw_gauges();
    screen_present();
}

// Cure of the own side in slot order until the first failed draw.
void cure_own_side(s32 e) {
    const s32 limit = player_record.skill[0] * e / 10;
    for (s32 s = 0; s < BATTLE_SIDE; ++s) {
        BattleSlot& f = battle_slots[s];
        if (f.character == -1) continue;
        if (rand_below(100) > limit) return;
        if (s == 0) {
            player_record.affliction = 0;
            player_record.poison = 0;
            continue;
        }
        f.poison = 0;
        if (f.character >= 0 && f.character < ROSTER_SIZE) roster[f.character].poison = 0;
        f.stunned = 0;
    }
}

} // namespace

s32 battle_special_e(s32 mp, s32 cost) {
    if (cost <= 0 || mp >= cost) return 10;
    return std::max(mp, 0) * 10 / cost + 1;
}

s32 battle_field_bonus(s32 kind, s32 level, s32 e) {
    switch (kind) {
    case FIELD_POWER:
        return level * e / 50;
    case FIELD_GUARD:
        return level * e / 330;
    case FIELD_SPEED:
        return level * e / 20;
    default:
        return 0;
    }
}

s32 battle_special_art() {
    BattleSlot& s0 = battle_slots[0];
    const ArtEntry& art = battle_slot_art(0);
    const s32 kind = art.special;
    if (kind < FIELD_POWER || kind > FIELD_CURE) return -1;

    const s32 level = std::clamp(s0.art_level, 0, 100);
    const s32 cost = static_cast<s32>(
        std::clamp<s64>(static_cast<s64>(art.mp_cost) * (level / 10 + 1), 0, INT32_MAX));
    const s32 e = battle_special_e(player_record.mp, cost);
    field_turns = player_record.skill[0] / 33 + 1;
    field_kind = kind;
    if (s0.art >= 0 && s0.art < ARTS_COUNT) arts_table[s0.art].last_level = s0.art_level;
    battle_hits_clear(0);

    if (kind != FIELD_STRIKE_ALL) {
        battle_mp_add(0, -std::min(cost, player_record.mp));
        battle_art_practice();
    }

    switch (kind) {
    case FIELD_POWER:
    case FIELD_GUARD:
    case FIELD_SPEED:
        mssw_play_music(FIELD_MUSIC[kind], 0);
        battle_anim_attack(0);
        field_bonus = battle_field_bonus(kind, level, e);
        return 1;
    case FIELD_HEAL:
        mssw_play_music(FIELD_MUSIC[kind], 0);
        battle_anim_attack(0);
        heal_own_side(level, e);
        field_turns = field_kind = field_bonus = 0;
        return 1;
    case FIELD_STRIKE_ALL:
        mssw_play_music(FIELD_MUSIC[kind], 0);
        if (mouse_buttons & BUTTON_RIGHT) return 0;
        field_bonus = art.power;
        marks_clear();
        mark_all_opponents();
        battle_attack(0);
        return 1;
    default: // FIELD_CURE
        mssw_play_music(FIELD_MUSIC[kind], 0);
        battle_anim_attack(0);
        cure_own_side(e);
        return 1;
    }
}

s32 battle_cmd_attack() {
    battle_hits_clear(0);
    // A press is taken by its button bit or by the click word, so a press released before this
    // frame's poll is still seen; both are cleared first so the press that chose the command
    // does not count.
    take_press(0);
    for (;;) {
        command_frame();
        const u32 buttons = mouse_buttons;
        const u32 kind = click_kind;
        const bool right = (buttons & BUTTON_RIGHT) || kind == BUTTON_RIGHT;
        const bool left = (buttons & BUTTON_LEFT) || kind == BUTTON_LEFT;
        const ArtEntry& art = battle_slot_art(0);
        const s32 reach = art.reach;
        marks_clear();
        switch (art.area) {
        case AREA_SQUARE:
        case AREA_SINGLE: {
            if (right) return take_press(0);
            if (!left) continue;
            take_press(0);
            s32 col = 0, row = 0;
            // A click beside the grid takes no cell (the cursor's last cell would be a stale one).
            if (battle_screen_cell(click_x, click_y, &col, &row) != 0) continue;
            battle_cell_at(col, row, 0);
            const s32 d = battle_dist[2][row][col];
            const s32 target = battle_slot_at(col, row);
            if (d < 0 || d > reach || !is_opponent(target)) continue;
            if (art.area == AREA_SQUARE) battle_slots[0].ai_target = target;
            battle_marks[row][col] = d;
            battle_hits_clear(0);
            battle_hits_append(0, col, row);
            break;
        }
        case AREA_LINE:
            if (right) return take_press(0);
            if (!left) continue;
            take_press(0);
            battle_hits_clear(0);
            if (mark_opponents_in_area(0, reach) == 0) continue;
            break;
        case AREA_CROSS:
            if (right) return take_press(0);
            battle_hits_clear(0);
            if (mark_opponents_in_area(0, reach) == 0) continue;
            break;
        case AREA_ALL:
            battle_hits_clear(0);
            mark_all_opponents();
            break;
        case ART_AREA_FIELD: {
            if (right) return take_press(0);
            const s32 r = battle_special_art();
            return r < 0 ? 0 : r;
        }
        default:
            continue;
        }
        battle_attack(0);
        return 1;
    }
}
