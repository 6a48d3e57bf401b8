// A fixture for the battle grid and the computer turn: the engine on the placeholder content, the
// battle, item and roster tables and a new player record, every slot empty, the grid's maps
// cleared, and the computer turn's random draws, blow and rest replaced by recorders.
#pragma once
#include "battle/battle.h"
#include "battle/battle_ai.h"
#include "battle/battle_attack.h"
#include "battle/battle_grid.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/items.h"
#include "data/roster.h"
#include "engine/math.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <vector>

// What a computer turn handed to its blow: the slot, the marked cells and the hit lists.
struct AiStrike {
    s32 slot;
    std::array<std::array<s32, GRID>, GRID> marks;
    std::array<s32, BATTLE_HITS> hit_x, hit_y;
};

struct AiRecord {
    std::deque<s32> draws;         // scripted answers of the turn's random draws, in order
    std::vector<s32> draw_bounds;  // the n of every draw taken
    std::vector<AiStrike> strikes; // every blow
    std::vector<s32> rests;        // every rest
};
inline AiRecord ai_record;

inline s32 ai_scripted_rand(s32 n) {
    ai_record.draw_bounds.push_back(n);
    if (ai_record.draws.empty()) return rand_below(n);
    const s32 v = ai_record.draws.front();
    ai_record.draws.pop_front();
    return v;
}
inline void ai_record_strike(s32 slot) {
    AiStrike s{slot, {}, {}, {}};
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) s.marks[r][c] = battle_marks[r][c];
    for (s32 i = 0; i < BATTLE_HITS; ++i) {
        s.hit_x[i] = battle_slots[slot].hit_x[i];
        s.hit_y[i] = battle_slots[slot].hit_y[i];
    }
    ai_record.strikes.push_back(s);
}
inline void ai_record_rest(s32 slot) {
    ai_record.rests.push_back(slot);
}

class BattleGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        HarnessConfig config;
        config.budget_ms = 120'000;
        world_start(b, config);
        init_battle_tables();
        init_item_tables();
        init_item_master();
        init_player();
        init_roster();
        for (BattleSlot& s : battle_slots) {
            s = BattleSlot{};
            s.character = -1;
            s.art = s.art_level = s.anim = s.spare_a = s.x = s.y = s.facing = -1;
            s.ai_target = s.ai_lock = -1;
            for (s32 i = 0; i < BATTLE_HITS; ++i) s.hit_x[i] = s.hit_y[i] = -1;
            for (auto& pair : s.bag) pair[0] = -1, pair[1] = 0;
        }
        battle_dists_clear();
        battle_marks_clear();
        battle_cursor = {-1, -1, -1, -1};
        battle_active_slot = BATTLE_NO_SLOT;
        move_allowance = 0;
        field_turns = field_kind = field_bonus = 0;
        ai_record = {};
        battle_ai_rand = ai_scripted_rand;
        battle_ai_strike = ai_record_strike;
        battle_ai_rest = ai_record_rest;
    }
    void TearDown() override {
        battle_ai_rand = rand_below;
        battle_ai_strike = battle_attack;
        battle_ai_rest = battle_rest;
        world_stop();
    }

    // A live fighter on (col, row) with an art of its own (arts_table entry `art`), facing row 11.
    static void put(s32 slot, s32 character, s32 col, s32 row, s32 art = TEST_ART) {
        BattleSlot& s = battle_slots[slot];
        s.character = character;
        s.x = cell_x(col, row);
        s.y = cell_y(col, row);
        s.facing = FACE_ROW11;
        s.art = art;
        s.art_level = 0;
        s.hp = s.hp_max = 1000;
        s.mp = s.mp_max = 100;
        s.speed = 50; // allowance 3
        s.ai_target = -1;
        s.ai_lock = 0;
    }
    static void set_art(s32 area, s32 reach, s32 art = TEST_ART) {
        arts_table[art] = ArtEntry{};
        arts_table[art].area = area;
        arts_table[art].reach = reach;
        arts_table[art].power = 10;
    }
    static s32 layer(s32 l, s32 col, s32 row) { return battle_dist[l][row][col]; }
    static bool at(s32 slot, s32 col, s32 row) {
        return battle_slots[slot].x == cell_x(col, row) && battle_slots[slot].y == cell_y(col, row);
    }

    static constexpr s32 TEST_ART = 499; // an entry no content fills
    HarnessTempDir dir;
};
