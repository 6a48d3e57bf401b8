// A fixture for blows and special arts: a new game's state on the placeholder archive, every
// battle slot empty, no marks, no field effect, and a protagonist whose record adds nothing of
// its own to a blow (skills, attributes, known arts and equipment cleared). Fighters and arts
// are written straight into `battle_slots` and `arts_table`.
#pragma once
#include "battle/battle.h"
#include "battle/battle_attack.h"
#include "battle/battle_grid.h"
#include "battle/battle_setup.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/math.h"
#include "game/player.h"
#include "tests/hub_fixture.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

class BlowTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        reset_battle();
    }
    void TearDown() override {
        battle_active = 0;
        HubTest::TearDown();
    }

    // A command left waiting for input fails soon instead of running the whole default budget.
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 60'000;
        return c;
    }

    // Empties the battle and neutralises the protagonist again (for tables of cases).
    static void reset_battle() {
        battle_active = 1; // as during a battle: the hp maximum is not re-derived
        for (BattleSlot& s : battle_slots) {
            s = BattleSlot{};
            s.character = s.art = s.art_level = s.anim = s.spare_a = -1;
            s.x = s.y = s.facing = s.ai_target = s.ai_lock = -1;
            std::fill(std::begin(s.hit_x), std::end(s.hit_x), -1);
            std::fill(std::begin(s.hit_y), std::end(s.hit_y), -1);
        }
        for (auto& row : battle_marks) std::fill(std::begin(row), std::end(row), -1);
        for (auto& layer : battle_dist)
            for (auto& row : layer) std::fill(std::begin(row), std::end(row), -1);
        field_turns = field_kind = field_bonus = 0;
        double_strike = 0;
        battle_reaction = -1;
        battle_reaction_value = 0;

        PlayerRecord& p = player_record;
        std::fill(std::begin(p.skill), std::end(p.skill), 0);
        std::fill(std::begin(p.skill_exp), std::end(p.skill_exp), 0);
        std::fill(std::begin(p.attr), std::end(p.attr), 0);
        std::fill(std::begin(p.art_use_count), std::end(p.art_use_count), 0);
        std::fill(std::begin(p.equip), std::end(p.equip), -1);
        for (auto& list : p.known)
            for (KnownEntry& k : list) k = {-1, 0, 0};
        p.combat_level = p.combat_exp = p.art_variety = p.art_points = 0;
        p.fullness = 0;
        p.hp = p.hp_max = 1000;
        p.mp = p.mp_max = 500;
        p.poison = p.affliction = 0;
        p.stamina = 1000;
        p.money = 0;
        p.paid_strike_count = 0;
    }

    // An art at `index` with everything else neutral: no bonus terms, no poison, no special.
    static ArtEntry& make_art(s32 index, s32 area, s32 reach, s32 power, s32 mp_cost) {
        ArtEntry& a = arts_table[index];
        a = ArtEntry{};
        for (ArtTerm& t : a.bonus) t = {ART_NO_TERM, 0};
        for (ArtTerm& t : a.require) t = {ART_NO_TERM, -1};
        a.area = area;
        a.reach = reach;
        a.power = power;
        a.mp_cost = mp_cost;
        a.special = ART_NO_SPECIAL;
        return a;
    }

    static void place(s32 slot, s32 col, s32 row) {
        battle_slots[slot].x = cell_x(col, row);
        battle_slots[slot].y = cell_y(col, row);
    }

    // The protagonist on (col, row) fighting art id 50 of known list `list` at `level`.
    static ArtEntry& put_protagonist(s32 col, s32 row, s32 list, s32 level, s32 area, s32 reach,
                                     s32 power, s32 mp_cost) {
        player_record.known[list][0] = {ART_FIRST_ID, level, 0};
        art_list = list;
        art_entry = 0;
        BattleSlot& s = battle_slots[0];
        s.character = 0;
        s.art = art_index(list, ART_FIRST_ID);
        s.art_level = level;
        s.facing = FACE_ROW0;
        place(0, col, row);
        return make_art(s.art, area, reach, power, mp_cost);
    }

    // A computer fighter: roster character `character`, its art at `art`, level, hp, defence.
    static void put_fighter(s32 slot, s32 col, s32 row, s32 character, s32 art, s32 level, s32 hp,
                            s32 defence) {
        BattleSlot& s = battle_slots[slot];
        s.character = character;
        s.art = art;
        s.art_level = level;
        s.facing = slot < BATTLE_SIDE ? FACE_ROW0 : FACE_ROW11;
        s.hp = s.hp_max = hp;
        s.mp = s.mp_max = 100;
        s.defence = defence;
        s.rank = 1;
        place(slot, col, row);
    }

    static void mark(s32 col, s32 row, s32 distance) { battle_marks[row][col] = distance; }

    // One draw of rand_below(n) that must land in lo..hi (hi below lo: exactly lo).
    struct Draw {
        s32 n, lo, hi = -1;
    };
    // Seeds the generator so that its next draws land as listed.
    static void seed_draws(std::initializer_list<Draw> draws) {
        for (u32 seed = 1; seed < 2'000'000; ++seed) {
            rt_srand(seed * 2654435761u);
            rand_counter = RAND_COUNTER_START;
            bool ok = true;
            for (const Draw& d : draws) {
                const s32 v = rand_below(d.n);
                if (v < d.lo || v > (d.hi < d.lo ? d.lo : d.hi)) {
                    ok = false;
                    break;
                }
            }
            if (!ok) continue;
            rt_srand(seed * 2654435761u);
            rand_counter = RAND_COUNTER_START;
            return;
        }
        ADD_FAILURE() << "no seed gives these draws";
    }
};
