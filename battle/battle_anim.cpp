// The battle's side of the animation tracks: track t always shows the fighter of slot t.
#include "battle/battle_anim.h"

#include "battle/battle.h"
#include "battle/battle_attack.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "data/battle_tables.h"
#include "engine/anim.h"
#include "engine/image.h"
#include "engine/screen.h"
#include "engine/world/staging.h"
#include "game/player.h"

namespace {

constexpr u32 FLAGS_MIRROR = 0x8000;
constexpr s32 STEP_MS = 60;
constexpr s32 TEXT_POWER = 994, TEXT_GUARD = 995, TEXT_DODGE = 996, TEXT_COUNTER = 997,
              TEXT_STUN = 998;
// No animation of the library runs longer than 59 frames plus a linked one of 59: a sequence
// that is still not done after this many steps has a track that never ends, and stops.
constexpr s32 MAX_STEPS = 512;
constexpr s32 MAX_STEP_VALUE = 23;      // step maps count at most 23 steps
constexpr s32 COUNTER_FALL_FRAMES = 11; // the countered attacker's gauge: a cell per 11 frames

bool slot_ok(s32 slot) {
    return slot >= 0 && slot < BATTLE_SLOTS;
}
bool slot_live(s32 slot) {
    return slot_ok(slot) && battle_slots[slot].character != -1;
}

// The animation of a slot's art for its level and facing; -1 (off) for an art outside the table.
s32 anim_for_facing(s32 slot) {
    const BattleSlot& s = battle_slots[slot];
    if (s.art < 0 || s.art >= ARTS_COUNT) return -1;
    const s32 d = (s.facing == FACE_COL11 || s.facing == FACE_ROW11) ? 1 : 0;
    return arts_table[s.art].anim[art_tier(s.art_level) * 2 + d];
}

// The cell of a screen point; false when the point is no cell's point.
bool point_cell(s32 x, s32 y, s32* col, s32* row) {
    const s32 sum2 = y - 64, diff2 = x - 317; // 18 (row + col), 36 (row - col)
    if (sum2 % 18 != 0 || diff2 % 36 != 0) return false;
    const s32 sum = sum2 / 18, diff = diff2 / 36;
    if ((sum + diff) % 2 != 0) return false;
    *row = (sum + diff) / 2;
    *col = (sum - diff) / 2;
    return cell_on_grid(*col, *row);
}

bool on_marked_cell(s32 slot) {
    s32 col = 0, row = 0;
    return point_cell(battle_slots[slot].x, battle_slots[slot].y, &col, &row) &&
           battle_marks[row][col] >= 0;
}

void present_step() {
    anim_play();
    screen_present();
    wait_ms(STEP_MS);
}

} // namespace

void battle_sync_anim() {
    for (s32 t = 0; t < BATTLE_SLOTS; ++t) {
        const BattleSlot& s = battle_slots[t];
        anim_track_dim[t] = s.stunned >= 1 ? 1 : 0;
        if (s.character == -1) {
            anim_track_anim[t] = -1;
            continue;
        }
        anim_track_x[t] = s.x;
        anim_track_y[t] = s.y;
        for (s32 h = 0; h < BATTLE_HITS; ++h) {
            anim_track_hit_x[t][h] = s.hit_x[h];
            anim_track_hit_y[t][h] = s.hit_y[h];
        }
        anim_track_anim[t] = s.anim;
        anim_track_mirror[t] = (s.facing == FACE_COL0 || s.facing == FACE_COL11) ? 1 : 0;
    }
}

s32 battle_face_toward(s32 slot) {
    if (!slot_ok(slot)) return battle_slots[0].facing;
    const BattleSlot& me = battle_slots[0];
    const BattleSlot& other = battle_slots[slot];
    if (me.x < other.x) return me.y < other.y ? FACE_ROW11 : FACE_COL0;
    return me.y < other.y ? FACE_COL11 : FACE_ROW0;
}

void battle_dodge_cell(s32 attacker, s32* x_out, s32* y_out) {
    const BattleSlot& me = battle_slots[0];
    *x_out = me.x;
    *y_out = me.y;
    s32 mc = 0, mr = 0, ac = 0, ar = 0;
    if (!slot_ok(attacker) || !point_cell(me.x, me.y, &mc, &mr) ||
        !point_cell(battle_slots[attacker].x, battle_slots[attacker].y, &ac, &ar))
        return;
    battle_dist_build(0, 3);
    auto between = [](s32 v, s32 a, s32 b) { return (v > a && v < b) || (v > b && v < a); };
    // Step values end at 23; when no free cell qualifies the protagonist stays where it is.
    for (s32 d = 1; d <= MAX_STEP_VALUE; ++d)
        for (s32 row = 0; row < GRID; ++row)
            for (s32 col = 0; col < GRID; ++col) {
                if (cell_cut(col, row) || battle_dist[3][row][col] != d) continue;
                if (ac == mc) {
                    if (between(row, ar, mr)) continue;
                } else if (ar == mr) {
                    if (between(col, ac, mc)) continue;
                }
                *x_out = cell_x(col, row);
                *y_out = cell_y(col, row);
                return;
            }
}

void battle_anim_attack(s32 slot) {
    if (!slot_ok(slot)) return;
    BattleSlot& a = battle_slots[slot];
    BattleSlot& me = battle_slots[0];
    a.anim = anim_for_facing(slot);
    bool hit = false;
    if (me.character != -1)
        for (s32 h = 0; h < BATTLE_HITS; ++h)
            if (a.hit_x[h] != -1 && a.hit_x[h] == me.x && a.hit_y[h] == me.y) hit = true;

    battle_sync_anim();
    s32 keep_anim = anim_track_anim[0], keep_x = anim_track_x[0], keep_y = anim_track_y[0];
    const s32 link = anim_link_frame(anim_track_anim[slot]);
    for (s32 t = 0; t < ANIM_TRACKS; ++t) anim_track_wait[t] = 0;
    anim_track_wait[slot] = 1;
    anim_all_done = 0;
    anim_track_frame[slot] = 1;

    bool dodged = false;
    s32 dodge_x = 0, dodge_y = 0;
    s32 blink = 0;
    for (s32 step = 0; anim_all_done != 1 && step < MAX_STEPS; ++step) {
        battle_draw_background();
        anim_track_frame[slot] += 1;
        const bool landed = anim_track_frame[slot] >= link;
        if (hit && landed) {
            me.facing = battle_face_toward(slot);
            me.anim = anim_for_facing(0);
            battle_sync_anim();
            keep_anim = anim_track_anim[0];
            keep_x = anim_track_x[0];
            keep_y = anim_track_y[0];
            if (battle_reaction == REACT_GUARD || battle_reaction == REACT_COUNTER) {
                anim_track_anim[0] = -1;
                const s32 image = (me.facing == FACE_COL0 || me.facing == FACE_ROW0)
                                      ? BATTLE_IMG_GUARD_A
                                      : BATTLE_IMG_GUARD_B;
                const u32 flags =
                    (me.facing == FACE_COL0 || me.facing == FACE_COL11) ? FLAGS_MIRROR : 0;
                draw_image(me.x, me.y, image, flags);
            } else if (battle_reaction == REACT_DODGE) {
                if (!dodged) {
                    anim_play();
                    battle_float_text(TEXT_DODGE);
                    battle_dodge_cell(slot, &dodge_x, &dodge_y);
                    dodged = true;
                }
                anim_track_x[0] = dodge_x;
                anim_track_y[0] = dodge_y;
            }
        } else {
            anim_track_anim[0] = keep_anim;
        }
        if (landed) {
            ++blink;
            for (s32 t = 0; t < BATTLE_SLOTS; ++t) {
                if (!slot_live(t) || !on_marked_cell(t)) continue;
                if (t == 0 && battle_reaction != REACT_NONE) continue;
                anim_track_dim[t] = blink % 2;
            }
        }
        present_step();
    }

    battle_sync_anim();
    battle_draw_background();
    anim_track_anim[0] = keep_anim;
    anim_track_x[0] = keep_x;
    anim_track_y[0] = keep_y;
    anim_track_frame[slot] = 1;
    anim_play();
    screen_present();

    if (!hit) return;
    if (battle_reaction == REACT_GUARD) {
        battle_float_text(TEXT_GUARD);
        battle_reaction_flash(0);
    } else if (battle_reaction == REACT_COUNTER) {
        battle_reaction_flash(0);
        battle_float_text(TEXT_COUNTER);
        battle_anim_counter(slot);
    }
}

void battle_anim_special() {
    BattleSlot& me = battle_slots[0];
    me.anim = anim_for_facing(0);
    battle_sync_anim();
    for (s32 t = 0; t < ANIM_TRACKS; ++t) anim_track_wait[t] = 0;
    battle_float_text(battle_reaction == REACT_POWER ? TEXT_POWER : TEXT_STUN);
    anim_track_wait[0] = 1;
    anim_all_done = 0;
    anim_track_frame[0] = 1;
    const s32 link = anim_link_frame(anim_track_anim[0]);
    const s32 target = me.ai_target;
    const bool blinks = slot_ok(target) && target != 0;
    s32 blink = 0;
    for (s32 step = 0; anim_all_done != 1 && step < MAX_STEPS; ++step) {
        battle_draw_background();
        if (blinks && anim_track_frame[0] >= link) anim_track_dim[target] = ++blink % 2;
        anim_track_frame[0] += 1;
        present_step();
    }
    battle_draw_background();
    if (blinks) anim_track_dim[target] = battle_slots[target].stunned >= 1 ? 1 : 0;
    anim_track_frame[0] = 1;
    anim_play();
    screen_present();
}

void battle_anim_counter(s32 attacker) {
    if (attacker <= 0 || attacker >= BATTLE_SLOTS) return;
    BattleSlot& a = battle_slots[attacker];
    BattleSlot& me = battle_slots[0];
    const s32 max = a.hp_max;
    s32 shown = max > 0 ? s32(s64(battle_reaction_value) * BATTLE_GAUGE_WIDTH / max) : 0;
    if (shown > BATTLE_GAUGE_WIDTH) shown = BATTLE_GAUGE_WIDTH;
    if (shown < 0) shown = 0;

    if (a.x < me.x)
        me.facing = a.y < me.y ? FACE_ROW0 : FACE_COL11;
    else
        me.facing = a.y < me.y ? FACE_COL0 : FACE_ROW11;
    me.anim = anim_for_facing(0);
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) battle_marks[r][c] = -1;
    s32 ac = 0, ar = 0;
    if (point_cell(a.x, a.y, &ac, &ar)) battle_marks[ar][ac] = 2;
    for (s32 h = 0; h < BATTLE_HITS; ++h) me.hit_x[h] = me.hit_y[h] = -1;
    me.hit_x[0] = a.x;
    me.hit_y[0] = a.y;
    battle_sync_anim();
    battle_anim_attack(0);

    battle_draw_background();
    anim_track_frame[0] = 1;
    anim_play();
    screen_present();

    // The attacker's gauge falls from its hp before the blow to its hp now.
    const s32 target = battle_gauge_cells(a.hp, max, BATTLE_GAUGE_WIDTH);
    // Plain cells until the poison reaches 40, then the tier's.
    const s32 tier = a.poison / 40;
    const s32 image =
        tier <= 0 ? BATTLE_IMG_GAUGE_CELL : BATTLE_IMG_GAUGE_POISON + (tier > 2 ? 2 : tier);
    screen_save();
    for (s32 frame = 1;; ++frame) {
        screen_restore();
        battle_draw_gauge_cells(attacker, shown, image);
        screen_present();
        if (shown <= target) break;
        if (frame % COUNTER_FALL_FRAMES == 0) --shown;
    }
    for (s32 t = 0; t < BATTLE_SLOTS; ++t)
        if (slot_live(t) && battle_slots[t].stunned >= 1) anim_track_dim[t] = 1;
}
