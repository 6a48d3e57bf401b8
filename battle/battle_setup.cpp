// Battle set-up: the fighters of the encounter placed on the grid (random cells drawn and written
// back into the record), the protagonist's weapon family and art, roster values, animations.
#include "battle/battle_setup.h"

#include "battle/battle.h"
#include "battle/battle_grid.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/math.h"
#include "game/player.h"

s32 art_list = 0;
s32 art_entry = 0;
s32 art_best_level = -1;
s32 weapon_family = 0;
s32 family_usable[5] = {};

namespace {

// Draws of one random cell before the search falls back to the first free cell in row order.
constexpr s32 CELL_DRAWS = 10000;

bool cell_valid(s32 col, s32 row) {
    return cell_on_grid(col, row) && !cell_cut(col, row);
}

bool weapon_in(s32 lo, s32 hi) {
    const s32 w = player_record.equip[0];
    return w != -1 && w + EQUIP_BASE[0] >= lo && w + EQUIP_BASE[0] <= hi;
}

bool no_weapon() {
    return player_record.equip[0] == -1;
}

bool throwing_weapon() {
    const s32 t = player_record.equip[2];
    return t != -1 && t + EQUIP_BASE[2] >= 1550 && t + EQUIP_BASE[2] <= 1569;
}

// An opponent's cell clashes with another opponent whose column is set in the record.
bool opponent_clash(const EncounterRecord& e, s32 slot, s32 col, s32 row) {
    for (s32 j = BATTLE_SIDE; j < BATTLE_SLOTS; ++j) {
        if (j != slot && e.col[j] != -1 && e.col[j] == col && e.row[j] == row) return true;
    }
    return false;
}

bool own_clash(const EncounterRecord& e, s32 slot, s32 col, s32 row) {
    for (s32 j = 0; j < BATTLE_SIDE; ++j) {
        if (j != slot && e.fighter[j] != -1 && e.col[j] == col && e.row[j] == row) return true;
    }
    return false;
}

void place_opponent(EncounterRecord& e, s32 slot) {
    s32 col = 0, row = 0;
    for (s32 n = 0; n < CELL_DRAWS; ++n) {
        col = rand_below(GRID);
        row = rand_below(BATTLE_SIDE);
        if (cell_valid(col, row) && !opponent_clash(e, slot, col, row)) {
            e.col[slot] = col;
            e.row[slot] = row;
            return;
        }
    }
    for (row = 0; row < BATTLE_SIDE; ++row)
        for (col = 0; col < GRID; ++col)
            if (cell_valid(col, row) && !opponent_clash(e, slot, col, row)) {
                e.col[slot] = col;
                e.row[slot] = row;
                return;
            }
}

void place_own(EncounterRecord& e, s32 slot) {
    s32 row = e.row[slot];
    if (row >= GRID) row = -1;
    while (row < BATTLE_SIDE) row = rand_below(GRID);
    for (s32 n = 0; n < CELL_DRAWS; ++n) {
        const s32 col = rand_below(GRID);
        if (cell_valid(col, row) && !own_clash(e, slot, col, row)) {
            e.col[slot] = col;
            e.row[slot] = row;
            return;
        }
    }
    for (row = BATTLE_SIDE; row < GRID; ++row)
        for (s32 col = 0; col < GRID; ++col)
            if (cell_valid(col, row) && !own_clash(e, slot, col, row)) {
                e.col[slot] = col;
                e.row[slot] = row;
                return;
            }
}

// A start cell that cannot be used as it stands (off the grid) is drawn like an unset one.
bool cell_unset(const EncounterRecord& e, s32 slot) {
    return e.col[slot] == -1 || !cell_on_grid(e.col[slot], e.row[slot]);
}

} // namespace

void battle_slots_clear() {
    for (BattleSlot& s : battle_slots) {
        s = BattleSlot{};
        s.character = s.art = s.art_level = s.anim = s.spare_a = -1;
        s.x = s.y = s.facing = s.ai_target = s.ai_lock = -1;
        for (s32 h = 0; h < BATTLE_HITS; ++h) s.hit_x[h] = s.hit_y[h] = -1;
        s.stunned = 0;
        s.spare_b = 0;
        for (auto& b : s.bag) b[0] = -1, b[1] = 0;
    }
}

s32 battle_art_search(const s32* lists, s32 count) {
    s32 found = 0;
    for (s32 i = 0; i < count; ++i) {
        const s32 list = lists[i];
        if (list < 0 || list >= ART_LISTS) continue;
        for (s32 entry = 0; entry < KNOWN_SLOTS; ++entry) {
            const KnownEntry& k = player_record.known[list][entry];
            if (k.id >= ART_FIRST_ID && k.id < ART_FIRST_ID + ART_LIST_SIZE &&
                k.level > art_best_level) {
                art_list = list;
                art_entry = entry;
                art_best_level = k.level;
                found = 1;
            }
        }
    }
    return found;
}

s32 battle_protagonist_art_valid() {
    if (art_list < 0 || art_list >= ART_LISTS || art_entry < 0 || art_entry >= KNOWN_SLOTS)
        return 0;
    const s32 id = player_record.known[art_list][art_entry].id;
    return id >= ART_FIRST_ID && id < ART_FIRST_ID + ART_LIST_SIZE ? 1 : 0;
}

s32 battle_protagonist_art() {
    if (!battle_protagonist_art_valid()) return BATTLE_BARE_ART;
    return art_index(art_list, player_record.known[art_list][art_entry].id);
}

s32 battle_protagonist_art_level() {
    if (!battle_protagonist_art_valid()) return 0;
    const s32 level = player_record.known[art_list][art_entry].level;
    return level < 0 ? 0 : level > 100 ? 100 : level;
}

s32 battle_protagonist_art_name() {
    return art_name_text(battle_protagonist_art());
}

s32 battle_anim_for(s32 art, s32 art_level, s32 facing) {
    if (art < 0 || art >= ARTS_COUNT) return -1;
    const s32 d = facing == FACE_COL11 || facing == FACE_ROW11 ? 1 : 0;
    return arts_table[art].anim[art_tier(art_level) * 2 + d];
}

void battle_protagonist_take_art() {
    BattleSlot& s = battle_slots[0];
    s.art = battle_protagonist_art();
    s.art_level = battle_protagonist_art_level();
    // The even animation of the level's pair, as after a change of art.
    s.anim = battle_anim_for(s.art, s.art_level, FACE_ROW0);
    if (s.character != -1) anim_track_anim[0] = s.anim;
}

void battle_setup() {
    if (battle_encounter < 0 || battle_encounter >= ENCOUNTER_COUNT) return;
    EncounterRecord& e = encounters[battle_encounter];

    // 1-3: cells; random ones are drawn and stored into the record.
    for (s32 slot = BATTLE_SIDE; slot < BATTLE_SLOTS; ++slot) {
        battle_slots[slot].facing = FACE_ROW11;
        if (e.fighter[slot] != -1 && cell_unset(e, slot)) place_opponent(e, slot);
    }
    for (s32 slot = 0; slot < BATTLE_SIDE; ++slot) {
        battle_slots[slot].facing = FACE_ROW0;
        if (e.fighter[slot] != -1 && cell_unset(e, slot)) place_own(e, slot);
    }

    // 4: families whose list holds a known art.
    for (s32 i = 0; i < 5; ++i) {
        family_usable[i] = 0;
        for (s32 entry = 0; entry < KNOWN_SLOTS; ++entry)
            if (player_record.known[FAMILY_LISTS[i]][entry].id >= ART_FIRST_ID)
                family_usable[i] = 1;
    }

    // 5: the weapon family, first matching row; none keeps the previous one.
    if (no_weapon() && player_record.equip[2] == -1)
        weapon_family = 3;
    else if (weapon_in(1400, 1429) && family_usable[0])
        weapon_family = 0;
    else if (weapon_in(1430, 1450) && family_usable[1])
        weapon_family = 1;
    else if (weapon_in(1460, 1469) && family_usable[2])
        weapon_family = 2;
    else if (weapon_in(1451, 1459) && family_usable[4])
        weapon_family = 4;
    else if (no_weapon() && throwing_weapon() && family_usable[3])
        weapon_family = 5;

    // 6: the art search over the family's lists.
    static constexpr s32 FAMILY_SEARCH[6][3] = {{5}, {6}, {7}, {2, 3, 4}, {1}, {8}};
    art_best_level = -1;
    battle_art_search(FAMILY_SEARCH[weapon_family], weapon_family == 3 ? 3 : 1);

    // 7-8: the fighters.
    for (s32 slot = 0; slot < BATTLE_SLOTS; ++slot) {
        BattleSlot& s = battle_slots[slot];
        const s32 id = e.fighter[slot];
        // A character outside the roster cannot fight: its slot stays empty.
        s.character = id >= 0 && id < ROSTER_SIZE ? id : -1;
        if (s.character == -1) continue;
        if (s.character == 0) {
            s.art = battle_protagonist_art();
            s.art_level = battle_protagonist_art_level();
        } else {
            const RosterEntry& r = roster[s.character];
            s.art = r.art >= 0 && r.art < ARTS_COUNT ? r.art : BATTLE_BARE_ART;
            s.art_level = r.art_level;
        }
        s.anim = battle_anim_for(s.art, s.art_level, s.facing);
        s.x = cell_x(e.col[slot], e.row[slot]);
        s.y = cell_y(e.col[slot], e.row[slot]);
        if (slot == 0) continue;
        const RosterEntry& r = roster[s.character];
        s.rank = r.rank;
        s.hp = r.hp;
        s.hp_max = r.hp_max;
        s.mp_max = r.mp_max;
        s.mp = r.mp;
        s.attack = r.attack;
        s.defence = r.defence;
        s.speed = r.speed;
        s.resistance = r.resistance;
        s.poison = r.poison;
        for (s32 b = 0; b < BATTLE_BAG; ++b) {
            s.bag[b][0] = r.bag[b].item;
            s.bag[b][1] = r.bag[b].count;
        }
    }

    // 9: the tracks, then one step drawn.
    for (s32 slot = 0; slot < BATTLE_SLOTS; ++slot) {
        const BattleSlot& s = battle_slots[slot];
        anim_track_wait[slot] = 0;
        for (s32 h = 0; h < ANIM_HIT_POINTS; ++h) {
            anim_track_hit_x[slot][h] = -1;
            anim_track_hit_y[slot][h] = -1;
        }
        if (s.character == -1) {
            anim_track_anim[slot] = -1;
            continue;
        }
        anim_track_x[slot] = s.x;
        anim_track_y[slot] = s.y;
        anim_track_dim[slot] = 0;
        anim_track_mirror[slot] = s.facing == FACE_COL0 || s.facing == FACE_COL11;
        anim_track_anim[slot] = s.anim;
        anim_track_frame[slot] = 1;
    }
    anim_play();
}
