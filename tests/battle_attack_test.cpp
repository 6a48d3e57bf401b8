// Blows and damage: the damage chain for computer and protagonist attackers, the reactions with
// scripted draws, the paid strike, whole blows (targets, experience, double strike, throwing
// weapons, casualties), the value changers and rest.
#include "battle/battle_attack.h"
#include "data/item_tables.h"
#include "engine/anim.h"
#include "game/inventory.h"
#include "tests/blow_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr s32 ATTACKER_ART = 300;

class BattleAttackTest : public BlowTest {};

TEST_F(BattleAttackTest, ComputerBlowFollowsDistanceLevelAndDefence) {
    struct Case {
        const char* what;
        s32 level, power, defence, mark, mp, cost;
        s32 want_dmg, want_mp;
    };
    // Power 90 at level 99 is a base of 90; defence 30..49 is factor 0, so 90 x 10 / 3 = 300.
    for (const Case& c : std::vector<Case>{
             {"distance 1", 99, 90, 40, 1, 100, 0, 300, 100},
             {"distance 2", 99, 90, 40, 2, 100, 0, 300, 100},
             {"distance 3 halves", 99, 90, 40, 3, 100, 0, 150, 100},
             {"distance 4 thirds", 99, 90, 40, 4, 100, 0, 100, 100},
             {"level 100 is 120 %", 100, 90, 40, 1, 100, 0, 360, 100},
             {"level 19 is 20 %", 19, 90, 40, 1, 100, 0, 60, 100},
             {"defence 50 is factor -1", 99, 90, 50, 1, 100, 0, 270, 100},
             {"defence 9 is factor +2", 99, 90, 9, 1, 100, 0, 360, 100},
             {"defence 400 is factor -7", 99, 90, 400, 1, 100, 0, 90, 100},
             {"pays its cost", 99, 90, 40, 1, 100, 4, 300, 60},
             {"no mp still full power", 99, 90, 40, 1, 0, 4, 300, 0},
         }) {
        reset_battle();
        make_art(ATTACKER_ART, 1, 5, c.power, c.cost);
        put_fighter(6, 5, 2, 20, ATTACKER_ART, c.level, 500, 0);
        battle_slots[6].mp = c.mp;
        put_fighter(1, 5, 2 + c.mark, 21, ATTACKER_ART, 0, 5000, c.defence);
        mark(5, 2 + c.mark, c.mark);
        battle_damage(6);
        EXPECT_EQ(5000 - battle_slots[1].hp, c.want_dmg) << c.what;
        EXPECT_EQ(battle_slots[6].mp, c.want_mp) << c.what;
    }
}

TEST_F(BattleAttackTest, GuardFieldLowersTheOpponentsFactorOnly) {
    make_art(ATTACKER_ART, 0, 1, 90, 0);
    field_kind = FIELD_GUARD;
    field_turns = 1;
    field_bonus = 3;
    put_fighter(6, 5, 5, 20, ATTACKER_ART, 99, 5000, 40);
    put_fighter(1, 5, 6, 21, ATTACKER_ART, 99, 5000, 40);
    mark(5, 6, 1);
    battle_damage(6);
    EXPECT_EQ(5000 - battle_slots[1].hp, 210); // factor 0 - 3: 90 x 7 / 3

    for (auto& row : battle_marks) std::fill(std::begin(row), std::end(row), -1);
    mark(5, 5, 1);
    battle_damage(1); // an own-side blow keeps its factor
    EXPECT_EQ(5000 - battle_slots[6].hp, 300);
}

// The protagonist strikes one opponent with defence 40 (factor 0): power 90 at level 99.
TEST_F(BattleAttackTest, ProtagonistBlowAddsEquipmentBonusesAndPaysMp) {
    struct Case {
        const char* what;
        std::function<void()> setup;
        s32 want_dmg, want_mp, want_hp;
    };
    const auto weapon = [](s32 list, s32 offset, s32 power) {
        art_list = list;
        player_record.known[list][0] = {ART_FIRST_ID, 99, 0};
        battle_slots[0].art = art_index(list, ART_FIRST_ID);
        arts_table[battle_slots[0].art] = arts_table[art_index(2, ART_FIRST_ID)];
        player_record.equip[0] = offset;
        equip_table[offset].power = power;
        equip_table[offset].poison_dealt = 0;
    };
    for (const Case& c : std::vector<Case>{
             {"plain", [] {}, 300, 460, 1000},
             {"30 mp for a 40-mp art", [] { player_record.mp = 30; }, 210, 0, 1000},
             {"e from terms, levels and tiers",
              [] {
                  PlayerRecord& p = player_record;
                  arts_table[battle_slots[0].art].bonus[0] = {3, 10}; // skill 3 x 10 / 100
                  p.skill[3] = 100;                                   // 10
                  p.known[0][0] = {ART_FIRST_ID, 50, 0};              // levels 100 / 25: 4
                  p.known[0][1] = {ART_FIRST_ID + 1, 50, 0};
                  p.known[0][2] = {7, 100, 0}; // not an art: not counted
                  p.attr[2] = 50;              // t1 1
                  p.combat_level = 91;         // t2 4
                  p.art_variety = 31;          // t3 1
              },
              900, 460, 1000},
             {"weapon power", [&] { weapon(5, 3, 10); }, 333, 460, 1000},
             {"weapon power with skill 17",
              [&] {
                  weapon(5, 3, 10);
                  player_record.skill[17] = 100;
              },
              350, 460, 1000},
             {"weapon of another family adds nothing", [&] { weapon(2, 3, 10); }, 300, 460, 1000},
             {"power field",
              [] {
                  field_kind = FIELD_POWER;
                  field_turns = 2;
                  field_bonus = 10;
              },
              333, 460, 1000},
             {"strike-all field replaces the power",
              [] {
                  field_kind = FIELD_STRIKE_ALL;
                  field_turns = 1;
                  field_bonus = 30;
              },
              100, 460, 1000},
             {"technique 5 of list 9",
              [] {
                  player_record.known[9][4] = {5, 0, 0};
              },
              200, 460, 1000},
             {"draining weapon",
              [&] {
                  weapon(5, 47, 0);
                  player_record.hp = 500;
              },
              300, 460, 800},
             {"double strike halves the cost", [] { double_strike = 6; }, 300, 480, 1000},
         }) {
        reset_battle();
        put_protagonist(5, 8, 2, 99, 0, 1, 90, 4);
        put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 5000, 40);
        mark(5, 7, 1);
        c.setup();
        battle_damage(0);
        EXPECT_EQ(5000 - battle_slots[6].hp, c.want_dmg) << c.what;
        EXPECT_EQ(player_record.mp, c.want_mp) << c.what;
        EXPECT_EQ(player_record.hp, c.want_hp) << c.what;
    }
}

TEST_F(BattleAttackTest, ReactionsToABlowOnTheProtagonist) {
    struct Case {
        const char* what;
        s32 technique, power, mp;
        s32 want_reaction, want_hp, want_mp, want_attacker_hp, want_value;
    };
    // The protagonist's defence is 0 (factor +2): power p at level 99 hits for 4 p.
    for (const Case& c : std::vector<Case>{
             {"guard takes mp instead", 1, 50, 50, REACT_GUARD, 1000, 10, 5000, 0},
             {"guard against 300 with 50 mp fails", 1, 75, 50, REACT_NONE, 700, 50, 5000, 0},
             {"guard fails when its cost equals the mp", 1, 50, 40, REACT_NONE, 800, 40, 5000, 0},
             {"dodge", 2, 75, 100, REACT_DODGE, 1000, 50, 5000, 0},
             {"counter", 3, 75, 100, REACT_COUNTER, 1000, 50, 4700, 5000},
             {"dodge needs 50 mp", 2, 75, 49, REACT_NONE, 700, 49, 5000, 0},
         }) {
        reset_battle();
        put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
        make_art(ATTACKER_ART, 0, 1, c.power, 0);
        put_fighter(6, 5, 7, 20, ATTACKER_ART, 99, 5000, 40);
        player_record.known[10][3] = {c.technique, 0, 0};
        player_record.mp = c.mp;
        mark(5, 8, 1);
        seed_draws({{5, 1}});
        battle_damage(6);
        EXPECT_EQ(battle_reaction, c.want_reaction) << c.what;
        EXPECT_EQ(player_record.hp, c.want_hp) << c.what;
        EXPECT_EQ(player_record.mp, c.want_mp) << c.what;
        EXPECT_EQ(battle_slots[6].hp, c.want_attacker_hp) << c.what;
        EXPECT_EQ(battle_reaction_value, c.want_value) << c.what;
        // A hit that lands costs stamina by the whole damage / 5.
        EXPECT_EQ(player_record.stamina, 1000 - (1000 - c.want_hp) / 5) << c.what;
    }
}

TEST_F(BattleAttackTest, ProtagonistReactionsPowerAndStun) {
    // Power strike: square art, hp at most half, 50 mp; double damage and 50 mp.
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
    put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 5000, 40);
    mark(5, 7, 1);
    player_record.known[10][0] = {0, 0, 0};
    player_record.hp = 500;
    seed_draws({{5, 1}});
    battle_damage(0);
    EXPECT_EQ(battle_reaction, REACT_POWER);
    EXPECT_EQ(5000 - battle_slots[6].hp, 600);
    EXPECT_EQ(player_record.mp, 450);

    // Stunning strike: list 3; the first target is always stunned 2 more turns.
    reset_battle();
    put_protagonist(5, 8, 3, 99, 1, 3, 90, 0);
    put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 5000, 40);
    mark(5, 7, 1);
    battle_slots[6].stunned = 1;
    player_record.known[10][0] = {4, 0, 0};
    seed_draws({{5, 1}});
    battle_damage(0);
    EXPECT_EQ(battle_reaction, REACT_STUN);
    EXPECT_EQ(battle_reaction_value, 1);
    EXPECT_EQ(battle_slots[6].stunned, 3);
    EXPECT_EQ(5000 - battle_slots[6].hp, 300);
}

TEST_F(BattleAttackTest, PaidStrikeCountsToTenAndGivesTheTitleOnce) {
    put_protagonist(5, 8, 8, 99, 0, 1, 90, 0);
    put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 50000, 40);
    mark(5, 7, 1);
    PlayerRecord& p = player_record;
    p.equip[2] = 0; // item 1550
    equip_table[150].power = 10;
    equip_table[150].poison_dealt = 0;
    p.skill[8] = 100;
    p.money = 5000;
    p.paid_strike_count = 9;
    battle_damage(0);
    EXPECT_EQ(p.paid_strike_count, 10);
    EXPECT_EQ(p.money, 3000);
    EXPECT_EQ(50000 - battle_slots[6].hp, 466); // (90 + 10 + 40) x 10 / 3
    EXPECT_TRUE(title_has(62));

    battle_damage(0);
    battle_damage(0); // money 1000: no paid strike
    EXPECT_EQ(p.paid_strike_count, 10);
    EXPECT_EQ(p.money, 1000);
    EXPECT_EQ(std::count(std::begin(p.titles), std::end(p.titles), 62), 1);
    EXPECT_EQ(50000 - battle_slots[6].hp, 466 + 466 + 333);
}

TEST_F(BattleAttackTest, BlowWithoutTargetCostsAndGivesNothing) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 4);
    put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 5000, 40);
    put_fighter(1, 4, 8, 21, ATTACKER_ART, 0, 5000, 40);
    mark(6, 7, 1); // an empty cell
    mark(4, 8, 1); // an own-side fighter
    battle_attack(0);
    EXPECT_EQ(player_record.mp, 500);
    EXPECT_EQ(player_record.known[2][0].exp, 0);
    EXPECT_EQ(player_record.combat_exp, 0);
    EXPECT_EQ(player_record.art_points, 0);
    EXPECT_EQ(battle_slots[6].hp, 5000);
    EXPECT_EQ(battle_slots[1].hp, 5000);
}

TEST_F(BattleAttackTest, DoubleStrikeHitsSurvivorsAtHalfCost) {
    ArtEntry& art = put_protagonist(5, 8, 2, 99, 0, 1, 90, 4);
    art.difficulty = 5;
    player_record.skill[2] = 3;
    put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 100, 40);
    put_fighter(7, 6, 8, 21, ATTACKER_ART, 0, 1000, 40);
    roster[21].hp = 1000;
    mark(5, 7, 1);
    mark(6, 8, 1);
    double_strike = 6;
    battle_attack(0);

    EXPECT_EQ(battle_slots[6].character, -1); // fell in the first pass
    EXPECT_EQ(battle_marks[7][5], -1);
    EXPECT_EQ(roster[20].hp, 0);
    EXPECT_EQ(battle_slots[7].hp, 400); // two hits of 300
    EXPECT_EQ(roster[21].hp, 400);
    EXPECT_EQ(player_record.mp, 460); // 20 a pass
    // Each pass: skill 2 + (25 - 5) x 2 = 43 experience for the art, 10 for skill and combat.
    EXPECT_EQ(player_record.known[2][0].exp, 2 * 43);
    EXPECT_EQ(player_record.known[2][0].level, 99);
    EXPECT_EQ(player_record.art_use_count[battle_slots[0].art], 2);
    EXPECT_EQ(player_record.art_points, 8);
}

TEST_F(BattleAttackTest, ThrowingWeaponsAreUsedUpOnePerBlow) {
    put_protagonist(5, 8, 8, 99, 0, 1, 90, 0);
    put_fighter(6, 5, 7, 20, ATTACKER_ART, 0, 50000, 40);
    PlayerRecord& p = player_record;
    for (InventoryEntry& e : p.inventory) e = {-1, 0};
    inv_add(1555, 1);
    inv_add(1560, 1);
    p.equip[2] = 5;
    for (s32 k : {151, 155, 160}) equip_table[k].power = equip_table[k].poison_dealt = 0;
    mark(5, 7, 1);
    battle_attack(0);
    EXPECT_FALSE(inv_has(1555));
    EXPECT_EQ(p.equip[2], 10); // the next throwing weapon of the inventory

    // The last one is thrown in the first pass of a double strike: no second pass follows, and
    // the best bare-handed art takes over with the even animation of its level's pair.
    p.known[3][2] = {51, 45, 0};
    make_art(art_index(3, 51), 0, 1, 10, 0).anim[2] = 77;
    double_strike = 6;
    const s32 hp = battle_slots[6].hp;
    battle_attack(0);
    EXPECT_FALSE(inv_has(1560));
    EXPECT_EQ(p.equip[2], -1);
    EXPECT_EQ(hp - battle_slots[6].hp, 300);
    EXPECT_EQ(art_list, 3);
    EXPECT_EQ(art_entry, 2);
    EXPECT_EQ(battle_slots[0].art, art_index(3, 51));
    EXPECT_EQ(battle_slots[0].art_level, 45);
    EXPECT_EQ(battle_slots[0].anim, 77);
    EXPECT_EQ(anim_track_anim[0], 77);

    // Without any bare-handed art the protagonist fights with the fallback art.
    inv_add(1551, 1);
    p.equip[2] = 1;
    p.known[3][2] = {-1, 0, 0};
    art_list = 8;
    art_entry = 0;
    battle_slots[0].art = art_index(8, ART_FIRST_ID);
    battle_attack(0);
    EXPECT_EQ(p.equip[2], -1);
    EXPECT_EQ(battle_slots[0].art, BATTLE_BARE_ART);
    EXPECT_EQ(battle_slots[0].art_level, 0);
    EXPECT_EQ(battle_protagonist_known(), nullptr);
}

TEST_F(BattleAttackTest, BlowTurnsTheAttackerTowardItsTarget) {
    struct Case {
        s32 area, dcol, drow, want;
    };
    for (const Case& c : std::vector<Case>{
             {0, 1, 0, FACE_COL11},
             {0, -1, 0, FACE_COL0},
             {0, 0, 1, FACE_ROW11},
             {0, 0, -1, FACE_ROW0},
             {1, 2, 0, FACE_COL11},
             {1, -2, 0, FACE_COL0},
             {2, 0, 3, FACE_ROW11},
             {2, 0, -1, FACE_ROW0},
         }) {
        reset_battle();
        make_art(ATTACKER_ART, c.area, 3, 10, 0);
        put_fighter(6, 5, 5, 20, ATTACKER_ART, 50, 5000, 40);
        put_fighter(1, 5 + c.dcol, 5 + c.drow, 21, ATTACKER_ART, 0, 5000, 40);
        battle_slots[6].facing = 0;
        battle_slots[6].hit_x[0] = battle_slots[1].x;
        battle_slots[6].hit_y[0] = battle_slots[1].y;
        mark(5 + c.dcol, 5 + c.drow, std::max(std::abs(c.dcol), std::abs(c.drow)));
        battle_attack(6);
        EXPECT_EQ(battle_slots[6].facing, c.want)
            << "area " << c.area << " toward " << c.dcol << ", " << c.drow;
        EXPECT_LT(battle_slots[1].hp, 5000);
        EXPECT_EQ(battle_slots[6].hit_x[0], battle_slots[1].x); // the target's point
    }
}

TEST_F(BattleAttackTest, ValueChangersClamp) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
    put_fighter(3, 6, 8, 21, ATTACKER_ART, 0, 100, 40);
    struct Case {
        s32 start, n, want;
    };
    for (s32 slot : {0, 3}) {
        for (const Case& c : std::vector<Case>{{0, 7, 35}, {90, 3, 100}, {10, -5, 0}, {0, 0, 0}}) {
            (slot == 0 ? player_record.poison : battle_slots[3].poison) = c.start;
            battle_poison_add(slot, c.n);
            EXPECT_EQ(battle_poison(slot), c.want) << slot << ": " << c.start << " + " << c.n;
        }
        battle_hp_add(slot, 1'000'000);
        EXPECT_EQ(battle_hp(slot), battle_hp_max(slot));
        battle_hp_add(slot, -2'000'000'000);
        EXPECT_EQ(battle_hp(slot), 0);
    }
    // An empty slot changes nothing.
    battle_slots[4].hp = 5;
    battle_hp_add(4, 10);
    battle_poison_add(4, 10);
    EXPECT_EQ(battle_slots[4].hp, 5);
    EXPECT_EQ(battle_slots[4].poison, 0);
}

TEST_F(BattleAttackTest, MpPastItsMaximumSometimesRaisesIt) {
    struct Case {
        s32 max, draw, want_max;
    };
    for (const Case& c : std::vector<Case>{{100, 7, 101}, {100, 6, 100}, {1000, 9, 1000}}) {
        put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
        player_record.mp = 90;
        player_record.mp_max = c.max;
        seed_draws({{10, c.draw}});
        battle_mp_add(0, 5000);
        EXPECT_EQ(player_record.mp_max, c.want_max) << c.max << " draw " << c.draw;
        EXPECT_EQ(player_record.mp, c.want_max);
    }
    battle_mp_add(0, -1'000'000);
    EXPECT_EQ(player_record.mp, 0);
}

TEST_F(BattleAttackTest, RestForBothKinds) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
    PlayerRecord& p = player_record;
    p.skill[21] = 100; // counts 50 + 50 in both sums
    p.skill[14] = 50;
    p.skill[0] = 20;
    p.hp = 100;
    p.mp = 100;
    seed_draws({{5, 2}, {5, 3}});
    battle_rest(0);
    EXPECT_EQ(p.hp, 100 + 12 * 125 / 10);
    EXPECT_EQ(p.mp, 100 + (3 + 11 + 10) * 500 / 100);

    p.poison = 1; // poisoned: no rest
    battle_rest(0);
    EXPECT_EQ(p.hp, 250);

    put_fighter(7, 3, 3, 20, ATTACKER_ART, 0, 1000, 0);
    battle_slots[7].rank = 5;
    battle_slots[7].hp = 100;
    battle_slots[7].mp = 10;
    seed_draws({{5, 4}});
    battle_rest(7);
    EXPECT_EQ(battle_slots[7].hp, 100 + 14 * 50 / 10);
    EXPECT_EQ(battle_slots[7].mp, 20); // mp max x rank x 10 / 500
}

TEST_F(BattleAttackTest, OutOfRangeArtsAndSlotsReadNothing) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 4);
    put_fighter(6, 5, 7, 20, 9999, 99, 5000, 40);
    put_fighter(1, 5, 6, 21, -5, 99, 5000, 40);
    mark(5, 6, 1);
    battle_damage(6); // the empty art: no power, no cost
    EXPECT_EQ(battle_slots[1].hp, 5000);
    EXPECT_EQ(battle_art_cost(6), 0);
    EXPECT_EQ(battle_hp(12), 0);
    EXPECT_EQ(battle_hp(-1), 0);
    battle_hp_add(12, 5);
    battle_rest(-3);

    // A stale art pair: no experience written through it, no art use counted outside the table.
    art_entry = 250;
    battle_slots[0].art = -1;
    for (auto& row : battle_marks) std::fill(std::begin(row), std::end(row), -1);
    mark(5, 7, 1);
    battle_attack(0);
    EXPECT_EQ(player_record.known[2][0].exp, 0);
    EXPECT_EQ(player_record.art_points, 0);
    EXPECT_EQ(player_record.combat_exp, 10);
}

} // namespace
