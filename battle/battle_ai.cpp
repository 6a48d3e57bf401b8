// The computer's turn: a fighter takes a medicine when low, or picks a target, walks toward it
// within its move allowance and strikes with its art, or rests when nothing is in reach. How it
// approaches depends on its art's area: line, cross, or square (every other area).
#include "battle/battle_ai.h"

#include "battle/battle.h"
#include "battle/battle_anim.h"
#include "battle/battle_attack.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "game/item_use.h"
#include "game/player.h"

s32 (*battle_ai_rand)(s32 n) = rand_below;
void (*battle_ai_strike)(s32 slot) = battle_attack;
void (*battle_ai_rest)(s32 slot) = battle_rest;

namespace {

constexpr s32 CANDIDATES = 50;
constexpr s32 DRAW_TRIES = 1000; // a scripted or broken draw never spins forever
constexpr s32 AREA_LINE = 1;
constexpr s32 AREA_CROSS = 2;
constexpr s32 SPEED_PER_STEP = 25;

struct Candidate {
    s32 col, row, value;
};
Candidate candidates[CANDIDATES];
s32 candidate_count = 0;

void candidates_clear() {
    for (Candidate& c : candidates) c = {-1, -1, -1};
    candidate_count = 0;
}
void candidate_add(s32 col, s32 row, s32 value) {
    if (candidate_count < CANDIDATES) candidates[candidate_count++] = {col, row, value};
}

bool live(s32 slot) {
    return slot >= 0 && slot < BATTLE_SLOTS && battle_slots[slot].character != -1;
}
bool foes(s32 a, s32 b) {
    return a / BATTLE_SIDE != b / BATTLE_SIDE;
}
s32 foe_first(s32 slot) {
    return slot < BATTLE_SIDE ? BATTLE_SIDE : 0;
}
// The live fighter of the other side standing on a cell; -1 when there is none.
s32 foe_at(s32 slot, s32 col, s32 row) {
    const s32 s = battle_slot_at(col, row);
    return s >= 0 && foes(slot, s) ? s : -1;
}

s32& L(s32 layer, s32 col, s32 row) {
    return battle_dist[layer][row][col];
}

// No neighbour of the cell has a step value of 0 or more in layer 1.
bool boxed_in(s32 col, s32 row) {
    constexpr s32 dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    for (s32 n = 0; n < 4; ++n) {
        const s32 c = col + dc[n], r = row + dr[n];
        if (cell_on_grid(c, r) && L(1, c, r) >= 0) return false;
    }
    return true;
}

void hits_clear(s32 slot) {
    for (s32 i = 0; i < BATTLE_HITS; ++i) {
        battle_slots[slot].hit_x[i] = -1;
        battle_slots[slot].hit_y[i] = -1;
    }
}
// Appends a cell's point to the first free entry of the hit lists (a full list drops it).
void hit_append(s32 slot, s32 col, s32 row) {
    BattleSlot& s = battle_slots[slot];
    for (s32 i = 0; i < BATTLE_HITS; ++i)
        if (s.hit_x[i] == -1) {
            s.hit_x[i] = cell_x(col, row);
            s.hit_y[i] = cell_y(col, row);
            return;
        }
}
// The hit lists := the points of the marked cells in row order; returns the number marked.
s32 hits_from_marks(s32 slot) {
    hits_clear(slot);
    s32 marked = 0;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c)
            if (battle_marks[r][c] >= 0) {
                hit_append(slot, c, r);
                ++marked;
            }
    return marked;
}

// Marks the fighters of the other side on the half-line from the mover toward the target whose
// layer-2 distance lies in 0..reach.
void mark_half_line(s32 slot, s32 mc, s32 mr, s32 tc, s32 tr, s32 reach) {
    s32 dc = 0, dr = 0;
    if (tc < mc)
        dc = -1;
    else if (tc > mc)
        dc = 1;
    else if (tr < mr)
        dr = -1;
    else
        dr = 1;
    for (s32 c = mc + dc, r = mr + dr; cell_on_grid(c, r); c += dc, r += dr) {
        const s32 v = L(2, c, r);
        if (v >= 0 && v <= reach && foe_at(slot, c, r) >= 0) battle_marks[r][c] = v;
    }
}

// ---- Medicine ---------------------------------------------------------------------------------

// A companion or opponent at a quarter of its hp or less takes the first medicine of its roster
// bag. The roster entry is the fighter's own store: the dose is taken from it and the slot's
// copy of the bag follows it.
bool take_bag_medicine(s32 slot) {
    BattleSlot& s = battle_slots[slot];
    if (s.hp > s.hp_max / 4) return false;
    if (s.character < 0 || s.character >= ROSTER_SIZE) return false;
    RosterEntry& e = roster[s.character];
    for (s32 i = 0; i < ROSTER_BAG_SLOTS; ++i) {
        const s32 item = e.bag[i].item;
        if (item < AI_BAG_FIRST || item > AI_BAG_LAST || e.bag[i].count < 1) continue;
        const s32 hp_before = s.hp;
        const ConsumableEntry* medicine = consumable_for(item);
        battle_hp_add(slot, medicine ? medicine->hp : 0);
        battle_item_flash(slot);
        battle_gauge_anim(slot, hp_before, -1);
        if (--e.bag[i].count <= 0) {
            for (s32 j = i; j + 1 < ROSTER_BAG_SLOTS; ++j) e.bag[j] = e.bag[j + 1];
            e.bag[ROSTER_BAG_SLOTS - 1] = {ROSTER_NO_ITEM, 0};
        }
        for (s32 j = 0; j < ROSTER_BAG_SLOTS; ++j) {
            s.bag[j][0] = e.bag[j].item;
            s.bag[j][1] = e.bag[j].count;
        }
        return true;
    }
    return false;
}

bool listed(const s32 (&list)[7], s32 item) {
    for (s32 i : list)
        if (i == item) return true;
    return false;
}

// The computer-played protagonist at a quarter of its hp or mp or less uses the first fitting
// medicine of the inventory: low hp takes only the hp list, else only the mp list.
bool take_inventory_medicine() {
    PlayerRecord& p = player_record;
    const bool hp_low = p.hp <= p.hp_max / 4;
    if (!hp_low && p.mp > p.mp_max / 4) return false;
    for (const InventoryEntry& e : p.inventory) {
        if (e.item < AI_BAG_FIRST || e.item > AI_BAG_LAST || e.count < 1) continue;
        if (!listed(hp_low ? AI_HP_MEDICINES : AI_MP_MEDICINES, e.item)) continue;
        const s32 hp_before = p.hp, mp_before = p.mp;
        item_use(e.item);
        battle_item_flash(0);
        battle_gauge_anim(0, hp_before, mp_before);
        return true;
    }
    return false;
}

// ---- Target -----------------------------------------------------------------------------------

// The value a target rule compares: 1, 2 hp; 3, 4 attack; 5, 6 defence.
s32 target_value(s32 s, s32 r) {
    if (s == 0) {
        const PlayerRecord& p = player_record;
        if (r <= 2) return p.hp;
        if (r <= 4) return battle_slot_art(0).power;
        return (p.attr[3] + p.skill[0]) / 2;
    }
    const BattleSlot& b = battle_slots[s];
    return r <= 2 ? b.hp : r <= 4 ? b.attack : b.defence;
}

// A live fighter of the other side drawn at random (slots 0..11 drawn for the opponents' foes,
// 0..5 for the own side's).
s32 draw_target(s32 slot) {
    const s32 first = foe_first(slot);
    for (s32 tries = 0; tries < DRAW_TRIES; ++tries) {
        const s32 t = first == BATTLE_SIDE ? battle_ai_rand(BATTLE_SLOTS) : battle_ai_rand(6);
        if (t >= first && t < first + BATTLE_SIDE && live(t)) return t;
    }
    for (s32 t = first; t < first + BATTLE_SIDE; ++t)
        if (live(t)) return t;
    return -1;
}

void choose_target(s32 slot) {
    BattleSlot& me = battle_slots[slot];
    s32 r = 0;
    for (s32 tries = 0; tries < DRAW_TRIES && (r < 1 || r > 7); ++tries) r = battle_ai_rand(8);
    if (r < 1 || r > 7) r = 1;

    if (!live(me.ai_target) || !foes(slot, me.ai_target)) {
        me.ai_lock = 0;
        me.ai_target = -1;
    }
    if (me.ai_lock == 1) return;
    if (r == 7) {
        me.ai_lock = 1;
        if (me.ai_target == -1) me.ai_target = draw_target(slot);
        return;
    }
    s32 best = -1, best_value = 0;
    for (s32 s = foe_first(slot); s < foe_first(slot) + BATTLE_SIDE; ++s) {
        if (!live(s)) continue;
        me.ai_lock = 0;
        const s32 v = target_value(s, r);
        if (best == -1 || (r % 2 == 1 ? v > best_value : v < best_value)) {
            best = s;
            best_value = v;
        }
    }
    me.ai_target = best;
}

// ---- Approaches -------------------------------------------------------------------------------

void strike(s32 slot) {
    battle_ai_strike(slot);
}
void rest(s32 slot) {
    battle_ai_rest(slot);
}

void approach_line(s32 slot, s32 target, s32 reach) {
    s32 mc = 0, mr = 0, tc = 0, tr = 0;
    battle_dist_build_dir(slot, 1, DIST_CROSS);
    battle_dist_build_dir(target, 3, DIST_CROSS);
    battle_slot_cell(slot, &mc, &mr);
    battle_slot_cell(target, &tc, &tr);

    const s32 near = L(2, tc, tr);
    if (near > 0 && near < 3) {
        mark_half_line(slot, mc, mr, tc, tr, reach);
        if (hits_from_marks(slot) > 0) return strike(slot);
    }

    for (s32 k = 1; k <= DIST_MAX_STEPS; ++k) {
        const s32 cc[4] = {tc - k, tc + k, tc, tc}, cr[4] = {tr, tr, tr - k, tr + k};
        for (s32 n = 0; n < 4; ++n) {
            const s32 c = cc[n], r = cr[n];
            if (!cell_on_grid(c, r) || L(3, c, r) < 0 || L(1, c, r) >= move_allowance) continue;
            if (L(0, c, r) != -1) continue;
            candidate_add(c, r, L(4, c, r));
        }
    }
    const Candidate* chosen = nullptr;
    for (s32 i = 0; i < candidate_count && !chosen; ++i)
        if (candidates[i].value < reach) chosen = &candidates[i];

    if (chosen) {
        if (!boxed_in(mc, mr)) battle_move_to(slot, chosen->col, chosen->row);
        battle_dist_build_dir(slot, 1, DIST_CROSS);
        battle_slot_cell(slot, &mc, &mr);
        mark_half_line(slot, mc, mr, tc, tr, reach);
        if (hits_from_marks(slot) > 0) return strike(slot);
        return rest(slot);
    }

    battle_dist_build_dir(slot, 1, DIST_CROSS);
    battle_dist_build_dir(target, 3, DIST_CROSS);
    for (s32 d = 1; d <= DIST_MAX_STEPS; ++d)
        for (s32 r = 0; r < GRID; ++r)
            for (s32 c = 0; c < GRID; ++c) {
                if (cell_cut(c, r) || L(3, c, r) != d || L(1, c, r) > move_allowance) continue;
                if (!boxed_in(mc, mr)) battle_move_to(slot, c, r);
                battle_dist_build_dir(slot, 1, DIST_CROSS);
                battle_slot_cell(slot, &mc, &mr);
                mark_half_line(slot, mc, mr, tc, tr, reach);
                if (hits_from_marks(slot) > 0) strike(slot);
                return; // no rest after this step
            }
    rest(slot);
}

// Between the mover and the target on every axis where they differ (inclusive); anywhere on an
// axis where they agree.
bool in_box(s32 c, s32 r, s32 mc, s32 mr, s32 tc, s32 tr) {
    auto between = [](s32 v, s32 a, s32 b) {
        return a == b || (v >= (a < b ? a : b) && v <= (a < b ? b : a));
    };
    return between(c, mc, tc) && between(r, mr, tr);
}

void approach_cross(s32 slot, s32 target, s32 reach) {
    s32 mc = 0, mr = 0, tc = 0, tr = 0;
    battle_dist_build(slot, 1);
    battle_dist_build_dir(target, 3, DIST_CROSS);
    battle_slot_cell(slot, &mc, &mr);
    battle_slot_cell(target, &tc, &tr);

    const s32 near = L(2, tc, tr);
    if (near > 0 && near < 3) {
        bool any = false;
        for (s32 s = foe_first(slot); s < foe_first(slot) + BATTLE_SIDE; ++s) {
            s32 c = 0, r = 0;
            if (!live(s) || battle_slot_cell(s, &c, &r) != 0) continue;
            const s32 v = L(2, c, r);
            if (v <= 0 || v >= reach) continue;
            battle_marks[r][c] = v;
            hit_append(slot, c, r);
            any = true;
        }
        if (any) strike(slot);
        return;
    }

    for (s32 k = 2; k <= 11; ++k) {
        const s32 cc[4] = {tc, tc, tc - k, tc + k}, cr[4] = {tr - k, tr + k, tr, tr};
        for (s32 n = 0; n < 4; ++n) {
            const s32 c = cc[n], r = cr[n];
            if (!cell_on_grid(c, r)) continue;
            if (L(0, c, r) != -1 && !(c == mc && r == mr)) continue;
            candidate_add(c, r, L(1, c, r));
        }
    }
    s32 goal_c = -1, goal_r = -1;
    for (s32 i = 0; i < candidate_count && goal_c == -1; ++i) {
        const Candidate& k = candidates[i];
        const s32 steps = L(1, k.col, k.row);
        if (in_box(k.col, k.row, mc, mr, tc, tr) && steps > 0 && steps <= move_allowance) {
            goal_c = k.col;
            goal_r = k.row;
        }
    }
    for (s32 r = 0; r < GRID && goal_c == -1; ++r)
        for (s32 c = 0; c < GRID && goal_c == -1; ++c)
            if (in_box(c, r, mc, mr, tc, tr) && L(1, c, r) > 0 && L(1, c, r) == move_allowance) {
                goal_c = c;
                goal_r = r;
            }
    if (goal_c == -1) return rest(slot);

    if (!boxed_in(mc, mr)) battle_move_to(slot, goal_c, goal_r);
    battle_dist_build(slot, 1);
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) {
            const s32 v = L(2, c, r);
            if (v > 0 && v <= reach && foe_at(slot, c, r) >= 0) battle_marks[r][c] = v;
        }
    if (hits_from_marks(slot) > 0) return strike(slot);
    rest(slot);
}

void approach_square(s32 slot, s32 target, s32 reach) {
    BattleSlot& me = battle_slots[slot];
    s32 mc = 0, mr = 0, tc = 0, tr = 0;
    battle_dist_build(slot, 1);
    battle_dist_build_dir(target, 3, 1); // the target's step map only
    battle_slot_cell(slot, &mc, &mr);
    battle_slot_cell(target, &tc, &tr);
    battle_marks[tr][tc] = L(2, tc, tr);
    me.hit_x[0] = cell_x(tc, tr);
    me.hit_y[0] = cell_y(tc, tr);
    if (L(2, tc, tr) > 0 && L(2, tc, tr) < 3) return strike(slot);

    battle_dist_build_dir(target, 3, DIST_SQUARE);
    s32 best = DIST_MAX_STEPS + 1, pc = mc, pr = mr;
    const s32 order = battle_ai_rand(2);
    constexpr s32 dc[2][4] = {{1, -1, 0, 0}, {0, 0, 1, -1}};
    constexpr s32 dr[2][4] = {{0, 0, 1, -1}, {1, -1, 0, 0}};
    const s32 o = order == 1 ? 1 : 0;
    while (move_allowance > 0) {
        s32 nc_best = pc, nr_best = pr;
        for (s32 n = 0; n < 4; ++n) {
            const s32 c = pc + dc[o][n], r = pr + dr[o][n];
            if (!cell_on_grid(c, r) || L(0, c, r) != -1) continue;
            if (L(3, c, r) < 0 || L(3, c, r) >= best) continue;
            best = L(3, c, r);
            nc_best = c;
            nr_best = r;
        }
        pc = nc_best;
        pr = nr_best;
        --move_allowance;
        if (L(3, pc, pr) < 3) break;
    }
    if (L(2, tc, tr) > 2 && !boxed_in(mc, mr)) battle_move_to(slot, pc, pr);

    battle_dist_build(slot, 1);
    const s32 dist = L(2, tc, tr);
    if (dist > 0 && dist <= reach) {
        battle_marks[tr][tc] = dist;
        return strike(slot);
    }

    battle_marks_clear();
    hits_clear(slot);
    for (s32 d = 1; d <= reach; ++d)
        for (s32 r = 0; r < GRID; ++r)
            for (s32 c = 0; c < GRID; ++c) {
                if (L(0, c, r) == -1 || L(2, c, r) != d) continue;
                const s32 foe = foe_at(slot, c, r);
                if (foe < 0) continue;
                me.hit_x[0] = cell_x(c, r);
                me.hit_y[0] = cell_y(c, r);
                me.ai_target = foe;
                battle_marks[r][c] = d;
                return strike(slot);
            }
    rest(slot);
}

bool any_foe(s32 slot) {
    for (s32 s = foe_first(slot); s < foe_first(slot) + BATTLE_SIDE; ++s)
        if (live(s)) return true;
    return false;
}

} // namespace

s32 battle_ai_protagonist_allowance() {
    const PlayerRecord& p = player_record;
    const EquipEntry* weapon = equip_entry(0, p.equip[0]);
    const EquipExtraEntry* body = equip_b_entry(p.equip[1]);
    const EquipSlot3Entry* extra = equip_c_entry(p.equip[3]);
    s32 w = weapon ? weapon->speed_bonus : 0;
    s32 b = body ? body->speed_bonus : 0;
    s32 v = extra ? extra->speed_bonus : 0;
    if (p.skill[17] >= 100) {
        w -= w / 2;
        b -= b / 2;
        v = v >= 0 ? v + v * 15 / 10 : v + v / 2;
    }
    const s32 field = field_kind == 3 ? field_bonus : 0;
    return (p.attr[4] + field + w + b + v) / SPEED_PER_STEP + 1;
}

void battle_ai_turn(s32 slot) {
    if (!live(slot)) return;
    BattleSlot& me = battle_slots[slot];
    if (me.stunned > 0) {
        --me.stunned;
        return;
    }
    move_allowance = slot == 0 ? battle_ai_protagonist_allowance() : battle_turn_allowance(slot);

    battle_draw_background();
    battle_draw_overlay();
    battle_sync_anim();
    anim_play();
    screen_present();
    candidates_clear();
    battle_marks_clear();
    hits_clear(slot);

    if (slot == 0 ? take_inventory_medicine() : take_bag_medicine(slot)) return;
    if (!any_foe(slot)) return;

    choose_target(slot);
    const s32 target = me.ai_target;
    s32 c = 0, r = 0;
    if (!live(target) || battle_slot_cell(target, &c, &r) != 0 ||
        battle_slot_cell(slot, &c, &r) != 0)
        return;

    const ArtEntry& art = battle_slot_art(slot);
    if (art.area == AREA_LINE)
        approach_line(slot, target, art.reach);
    else if (art.area == AREA_CROSS)
        approach_cross(slot, target, art.reach);
    else
        approach_square(slot, target, art.reach);
}
