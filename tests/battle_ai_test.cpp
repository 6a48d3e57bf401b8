// The computer's turn: stun, medicines, target rules and the three approaches, with scripted
// random draws and the blow and rest recorded.
#include "tests/battle_grid_fixture.h"

#include <utility>

namespace {

constexpr s32 MOVER = 6; // an opponent plays unless a test says otherwise

class BattleAiTest : public BattleGridTest {
  protected:
    // The scripted draws of the turn, in order.
    static void draws(std::initializer_list<s32> values) {
        for (s32 v : values) ai_record.draws.push_back(v);
    }
    static const AiStrike& only_strike() {
        EXPECT_EQ(ai_record.strikes.size(), 1u);
        static const AiStrike none{-1, {}, {}, {}};
        return ai_record.strikes.empty() ? none : ai_record.strikes.front();
    }
    static std::vector<std::pair<s32, s32>> marked(const AiStrike& s) {
        std::vector<std::pair<s32, s32>> cells;
        for (s32 r = 0; r < GRID; ++r)
            for (s32 c = 0; c < GRID; ++c)
                if (s.marks[r][c] >= 0) cells.emplace_back(c, r);
        return cells;
    }
};

// ---- Stun and medicines -----------------------------------------------------------------------

TEST_F(BattleAiTest, StunnedFighterOnlyCountsDown) {
    set_art(0, 1);
    put(MOVER, 40, 5, 3);
    put(1, 5, 5, 4);
    battle_slots[MOVER].stunned = 2;
    const u64 presents = harness_presents();
    battle_ai_turn(MOVER);
    EXPECT_EQ(battle_slots[MOVER].stunned, 1);
    EXPECT_EQ(battle_slots[MOVER].ai_target, -1);
    EXPECT_TRUE(ai_record.strikes.empty());
    EXPECT_TRUE(ai_record.rests.empty());
    EXPECT_TRUE(ai_record.draw_bounds.empty());
    EXPECT_EQ(harness_presents(), presents);
}

TEST_F(BattleAiTest, EmptySlotsDoNothing) {
    battle_ai_turn(BATTLE_NO_SLOT);
    battle_ai_turn(-1);
    battle_ai_turn(3);
    EXPECT_TRUE(ai_record.draw_bounds.empty());
}

TEST_F(BattleAiTest, QuarterHpTakesTheBagMedicineFromTheRosterAndTheSlotCopyFollows) {
    set_art(0, 1);
    struct Case {
        s32 hp;
        bool takes;
    };
    for (const Case k : {Case{25, true}, Case{26, false}}) {
        put(MOVER, 40, 5, 3);
        put(1, 5, 5, 4);
        battle_slots[MOVER].hp = k.hp;
        battle_slots[MOVER].hp_max = 100;
        RosterEntry& e = roster[40];
        e.bag[0] = {1290, 3}; // no medicine: passed over
        e.bag[1] = {1250, 2};
        e.bag[2] = {1263, 1};
        e.bag[3] = e.bag[4] = {ROSTER_NO_ITEM, 0};
        for (s32 i = 0; i < ROSTER_BAG_SLOTS; ++i) // the set-up's copy
            battle_slots[MOVER].bag[i][0] = e.bag[i].item,
            battle_slots[MOVER].bag[i][1] = e.bag[i].count;
        ai_record = {};
        draws({1});
        battle_ai_turn(MOVER);
        EXPECT_EQ(e.bag[1].count, k.takes ? 1 : 2) << "hp " << k.hp;
        EXPECT_EQ(battle_slots[MOVER].bag[1][1], e.bag[1].count) << "hp " << k.hp;
        EXPECT_EQ(battle_slots[MOVER].hp, k.takes ? 100 : 26) << "hp " << k.hp; // 1250 heals 300
        EXPECT_EQ(ai_record.strikes.size(), k.takes ? 0u : 1u) << "hp " << k.hp;
        EXPECT_EQ(ai_record.draw_bounds.empty(), k.takes) << "hp " << k.hp;
    }
}

TEST_F(BattleAiTest, LastDoseEmptiesTheBagEntryAndTheRestMoveUp) {
    set_art(0, 1);
    put(3, 12, 5, 8);
    put(MOVER, 40, 5, 2);
    battle_slots[3].hp = 10;
    battle_slots[3].hp_max = 100;
    RosterEntry& e = roster[12];
    e.bag[0] = {1250, 1};
    e.bag[1] = {1263, 3};
    e.bag[2] = {1257, 2};
    e.bag[3] = e.bag[4] = {ROSTER_NO_ITEM, 0};
    battle_ai_turn(3);
    const std::pair<s32, s32> expected[ROSTER_BAG_SLOTS] = {
        {1263, 3}, {1257, 2}, {-1, 0}, {-1, 0}, {-1, 0}};
    for (s32 i = 0; i < ROSTER_BAG_SLOTS; ++i) {
        EXPECT_EQ(std::pair(e.bag[i].item, e.bag[i].count), expected[i]) << i;
        EXPECT_EQ(std::pair(battle_slots[3].bag[i][0], battle_slots[3].bag[i][1]), expected[i])
            << i;
    }
    // five more doses at low hp, then the bag is dry and the fighter fights
    for (s32 turn = 0; turn < 6; ++turn) {
        battle_slots[3].hp = 10;
        battle_ai_turn(3);
    }
    EXPECT_EQ(e.bag[0].item, ROSTER_NO_ITEM);
    EXPECT_FALSE(ai_record.strikes.empty() && ai_record.rests.empty());
}

TEST_F(BattleAiTest, ComputerPlayedProtagonistPicksMedicineByWhatIsLow) {
    set_art(0, 1);
    PlayerRecord& p = player_record;
    struct Case {
        s32 hp, mp;
        s32 used; // the item that must be gone, -1 none
    };
    const Case cases[] = {
        {25, 10, 1250}, // both low: hp medicines only, the mp one first in the bag is skipped
        {80, 10, 1254}, // mp low
        {80, 90, -1},   // nothing low
    };
    for (const Case& k : cases) {
        put(0, 0, 5, 8);
        put(MOVER, 40, 5, 7);
        for (InventoryEntry& e : p.inventory) e = {-1, 0};
        p.inventory[0] = {1254, 1};
        p.inventory[1] = {1250, 1};
        p.hp_max = 100;
        p.hp = k.hp;
        p.mp_max = 100;
        p.mp = k.mp;
        ai_record = {};
        draws({1});
        battle_ai_turn(0);
        const bool has1250 = p.inventory[0].item == 1250 || p.inventory[1].item == 1250;
        const bool has1254 = p.inventory[0].item == 1254 || p.inventory[1].item == 1254;
        EXPECT_EQ(has1250, k.used != 1250) << k.hp << "/" << k.mp;
        EXPECT_EQ(has1254, k.used != 1254) << k.hp << "/" << k.mp;
        EXPECT_EQ(ai_record.strikes.size(), k.used == -1 ? 1u : 0u) << k.hp << "/" << k.mp;
    }
}

// ---- Targets ----------------------------------------------------------------------------------

TEST_F(BattleAiTest, TargetRuleByDraw) {
    set_art(0, 1);
    // the protagonist (hp 300, its art's power 10, defence (40 + 20) / 2) and three companions
    // round an opponent; all stand within two cells, so the turn strikes at once
    put(MOVER, 40, 5, 5);
    put(0, 0, 5, 7);
    put(1, 5, 4, 5);
    put(2, 6, 6, 5);
    put(3, 7, 5, 4);
    player_record.hp = 300;
    player_record.attr[3] = 40;
    player_record.skill[0] = 20;
    const s32 hp[] = {0, 500, 100, 500}, attack[] = {0, 5, 10, 30}, defence[] = {0, 30, 40, 30};
    for (s32 s = 1; s <= 3; ++s) {
        battle_slots[s].hp = hp[s];
        battle_slots[s].attack = attack[s];
        battle_slots[s].defence = defence[s];
    }
    struct Case {
        s32 r, target;
    };
    const Case cases[] = {
        {1, 1}, // highest hp: slots 1 and 3 tie, the first wins
        {2, 2}, // lowest hp
        {3, 3}, // highest attack
        {4, 1}, // lowest attack
        {5, 2}, // highest defence
        {6, 0}, // lowest defence: the protagonist, slots 1 and 3 tie at 30, the first wins
    };
    for (const Case& k : cases) {
        battle_slots[MOVER].ai_target = -1;
        battle_slots[MOVER].ai_lock = 0;
        ai_record = {};
        draws({0, k.r}); // a 0 is drawn again
        battle_ai_turn(MOVER);
        EXPECT_EQ(battle_slots[MOVER].ai_target, k.target) << "r " << k.r;
        EXPECT_EQ(ai_record.draw_bounds.size(), 2u);
        EXPECT_EQ(ai_record.draw_bounds[0], 8);
    }
}

TEST_F(BattleAiTest, LockedTargetIsKeptUntilItFalls) {
    set_art(0, 3);
    put(1, 5, 5, 8); // a companion plays: its foes are slots 6..11
    put(6, 40, 5, 6);
    put(7, 41, 4, 6);
    put(8, 42, 6, 6);
    battle_slots[7].hp = 2000;
    // r = 7: draws among slots 0..11 until a live opponent: 3 (own side), 10 (empty), 8
    draws({7, 3, 10, 8});
    battle_ai_turn(1);
    EXPECT_EQ(battle_slots[1].ai_target, 8);
    EXPECT_EQ(battle_slots[1].ai_lock, 1);
    EXPECT_EQ(ai_record.draw_bounds, (std::vector<s32>{8, 12, 12, 12}));
    // r = 1 would pick the fighter with the most hp; the lock keeps 8
    draws({1});
    battle_ai_turn(1);
    EXPECT_EQ(battle_slots[1].ai_target, 8);
    // once it falls the lock goes and the rule picks again
    battle_slots[8].character = -1;
    draws({1});
    battle_ai_turn(1);
    EXPECT_EQ(battle_slots[1].ai_target, 7);
    EXPECT_EQ(battle_slots[1].ai_lock, 0);
}

TEST_F(BattleAiTest, OpponentDrawsAmongTheOwnSideAndAnUnlockedLiveTargetStays) {
    set_art(0, 3);
    put(MOVER, 40, 5, 4);
    put(0, 0, 5, 6);
    put(2, 6, 4, 6);
    draws({7, 4, 2}); // slot 4 is empty, slot 2 stands
    battle_ai_turn(MOVER);
    EXPECT_EQ(battle_slots[MOVER].ai_target, 2);
    EXPECT_EQ(ai_record.draw_bounds, (std::vector<s32>{8, 6, 6}));
    // r = 7 again with the lock off: the stored live target is kept without a draw
    battle_slots[MOVER].ai_lock = 0;
    ai_record.draw_bounds.clear();
    draws({7});
    battle_ai_turn(MOVER);
    EXPECT_EQ(battle_slots[MOVER].ai_target, 2);
    EXPECT_EQ(battle_slots[MOVER].ai_lock, 1);
    EXPECT_EQ(ai_record.draw_bounds, (std::vector<s32>{8}));
}

TEST_F(BattleAiTest, WithTheRealBlowAndRestTheTurnChangesTheFight) {
    battle_ai_strike = battle_attack;
    battle_ai_rest = battle_rest;
    set_art(0, 1);
    arts_table[TEST_ART].power = 60;
    put(MOVER, 40, 5, 5);
    put(1, 5, 5, 6);
    battle_slots[MOVER].art_level = 100;
    battle_slots[1].defence = 0;
    draws({1});
    battle_ai_turn(MOVER);
    EXPECT_LT(battle_slots[1].hp, 1000);
    EXPECT_EQ(roster[5].hp, battle_slots[1].hp);

    // nothing within reach after the walk: the fighter rests and regains hp
    put(1, 5, 5, 11);
    battle_slots[MOVER].hp = 500;
    battle_slots[MOVER].rank = 10;
    draws({1, 0});
    battle_ai_turn(MOVER);
    EXPECT_TRUE(at(MOVER, 5, 8));
    EXPECT_GT(battle_slots[MOVER].hp, 500);
}

TEST_F(BattleAiTest, ComputerPlayedProtagonistWinsAWholeBattle) {
    battle_ai_rand = rand_below;
    battle_ai_strike = battle_attack;
    battle_ai_rest = battle_rest;
    // weapon item 1466 hands the protagonist to the computer; it fights with an art of list 7
    PlayerRecord& p = player_record;
    p.equip[0] = 66;
    p.known[7][0] = {50, 60, 0};
    p.hp = p.hp_max = 500;
    ArtEntry& art = arts_table[art_index(7, 50)];
    art = ArtEntry{};
    art.area = 0;
    art.reach = 2;
    art.power = 200;
    EncounterRecord& e = encounters[0];
    e.round_limit = 40;
    for (s32 i = 0; i < ENCOUNTER_FIGHTERS; ++i) e.fighter[i] = e.col[i] = e.row[i] = -1;
    e.fighter[0] = 0;
    e.col[0] = 5;
    e.row[0] = 9;
    for (s32 i = 6; i < 8; ++i) {
        const s32 who = 34 + i;
        e.fighter[i] = who;
        e.col[i] = i;
        e.row[i] = 1;
        roster[who].hp = roster[who].hp_max = 60;
        roster[who].defence = 0;
        roster[who].art = TEST_ART;
        for (RosterBagSlot& b : roster[who].bag) b = {ROSTER_NO_ITEM, 0};
    }
    set_art(0, 1);
    arts_table[TEST_ART].power = 1;
    EXPECT_EQ(battle_run(0), BATTLE_WON);
    EXPECT_EQ(battle_active, 0);
    EXPECT_EQ(roster[40].hp, 0);
    EXPECT_EQ(roster[41].hp, 0);
    EXPECT_GT(p.hp, 0);
}

// ---- Square and other areas -------------------------------------------------------------------

TEST_F(BattleAiTest, SquareArtStrikesATargetTwoCellsAwayWhateverItsReach) {
    set_art(0, 1);
    put(MOVER, 40, 5, 3);
    put(1, 5, 7, 5); // two cells diagonally
    draws({1});
    battle_ai_turn(MOVER);
    const AiStrike& s = only_strike();
    EXPECT_EQ(marked(s), (std::vector<std::pair<s32, s32>>{{7, 5}}));
    EXPECT_EQ(s.marks[5][7], 2);
    EXPECT_EQ(s.hit_x[0], cell_x(7, 5));
    EXPECT_EQ(s.hit_y[0], cell_y(7, 5));
    EXPECT_TRUE(at(MOVER, 5, 3));
}

TEST_F(BattleAiTest, SquareArtWalksItsPlanThenStrikesOrRests) {
    struct Case {
        s32 reach;
        bool strikes;
    };
    for (const Case k : {Case{1, false}, Case{7, true}}) {
        set_art(0, k.reach);
        put(MOVER, 40, 5, 0);
        put(1, 5, 5, 10);
        battle_slots[MOVER].speed = 50; // three steps
        ai_record = {};
        draws({1, 0});
        battle_ai_turn(MOVER);
        EXPECT_TRUE(at(MOVER, 5, 3)) << "reach " << k.reach;
        EXPECT_EQ(ai_record.strikes.size(), k.strikes ? 1u : 0u);
        EXPECT_EQ(ai_record.rests.size(), k.strikes ? 0u : 1u);
        if (k.strikes) {
            EXPECT_EQ(ai_record.strikes[0].marks[10][5], 7);
        }
        EXPECT_EQ(move_allowance, 0);
    }
}

TEST_F(BattleAiTest, SquareArtTurnsOnAnotherFoeInReach) {
    set_art(0, 2);
    put(MOVER, 40, 5, 0);
    put(1, 5, 5, 11); // the rule's choice, far away
    put(2, 6, 7, 4);  // within two cells of where the walk ends
    battle_slots[1].hp = 2000;
    battle_slots[MOVER].speed = 50;
    draws({1, 1});
    battle_ai_turn(MOVER);
    EXPECT_TRUE(at(MOVER, 5, 3));
    EXPECT_EQ(battle_slots[MOVER].ai_target, 2);
    const AiStrike& s = only_strike();
    EXPECT_EQ(marked(s), (std::vector<std::pair<s32, s32>>{{7, 4}}));
    EXPECT_EQ(s.hit_x[0], cell_x(7, 4));
    EXPECT_EQ(s.hit_y[0], cell_y(7, 4));
}

TEST_F(BattleAiTest, BoxedInFighterDoesNotWalk) {
    set_art(0, 1);
    put(MOVER, 40, 5, 0);
    put(7, 41, 4, 0);
    put(8, 42, 6, 0);
    put(9, 43, 5, 1);
    put(1, 5, 5, 10);
    draws({1, 0});
    battle_ai_turn(MOVER);
    EXPECT_TRUE(at(MOVER, 5, 0));
    EXPECT_EQ(ai_record.rests.size(), 1u);
}

// ---- Line -------------------------------------------------------------------------------------

TEST_F(BattleAiTest, LineArtStrikesThroughTheTargetAlongItsRow) {
    set_art(1, 4);
    put(MOVER, 40, 3, 5);
    put(1, 5, 5, 5);  // the target, two cells toward column 11
    put(2, 6, 7, 5);  // behind it, within reach
    put(3, 7, 3, 7);  // on the column: not on the half-line
    put(4, 8, 10, 5); // beyond the reach
    battle_slots[MOVER].ai_lock = 1;
    battle_slots[MOVER].ai_target = 1;
    draws({1});
    battle_ai_turn(MOVER);
    const AiStrike& s = only_strike();
    EXPECT_EQ(marked(s), (std::vector<std::pair<s32, s32>>{{5, 5}, {7, 5}}));
    EXPECT_EQ(s.marks[5][5], 2);
    EXPECT_EQ(s.marks[5][7], 4);
    EXPECT_EQ(s.hit_x[0], cell_x(5, 5));
    EXPECT_EQ(s.hit_x[1], cell_x(7, 5));
    EXPECT_EQ(s.hit_x[2], -1);
}

TEST_F(BattleAiTest, LineArtWalksToACandidateInLineWithTheTarget) {
    set_art(1, 4);
    put(MOVER, 40, 4, 2);
    put(1, 5, 6, 6);
    battle_slots[MOVER].speed = 75; // allowance 4
    draws({1});
    battle_ai_turn(MOVER);
    // the cells 1 and 2 from the target in its row and column are 4 or more steps away; at 3,
    // (6, 3) is 3 steps away and 3 cells from the target, below the reach of 4
    EXPECT_TRUE(at(MOVER, 6, 3));
    const AiStrike& s = only_strike();
    EXPECT_EQ(marked(s), (std::vector<std::pair<s32, s32>>{{6, 6}}));
    EXPECT_EQ(s.marks[6][6], 3);
}

TEST_F(BattleAiTest, LineArtWithoutCandidate) {
    // Reach 1 leaves no candidate (a candidate needs a distance below the reach).
    set_art(1, 1);
    struct Case {
        bool target_boxed_in;
    };
    for (const Case k : {Case{true}, Case{false}}) {
        for (BattleSlot& s : battle_slots) s.character = -1;
        put(MOVER, 40, 5, 8);
        put(1, 5, 5, 2);
        if (k.target_boxed_in) {
            put(2, 6, 4, 2);
            put(3, 7, 6, 2);
            put(4, 8, 5, 1);
            put(5, 9, 5, 3);
        }
        battle_slots[MOVER].speed = 30; // allowance 2
        battle_slots[MOVER].ai_target = 1;
        battle_slots[MOVER].ai_lock = 1;
        ai_record = {};
        draws({1});
        battle_ai_turn(MOVER);
        EXPECT_TRUE(ai_record.strikes.empty());
        if (k.target_boxed_in) {
            EXPECT_EQ(ai_record.rests.size(), 1u);
            EXPECT_TRUE(at(MOVER, 5, 8));
        } else {
            // the first cell in row order closest to the target within two steps: (5, 6);
            // nothing is in reach from there, and the turn ends without a rest
            EXPECT_TRUE(ai_record.rests.empty());
            EXPECT_TRUE(at(MOVER, 5, 6));
        }
    }
}

// ---- Cross ------------------------------------------------------------------------------------

TEST_F(BattleAiTest, CrossArtNearTargetStrikesFoesStrictlyInsideItsReach) {
    set_art(2, 3);
    put(MOVER, 40, 5, 5);
    put(1, 5, 7, 5); // the target, 2 along the row
    put(2, 6, 5, 8); // 3 along the column: not below the reach
    put(3, 7, 4, 5); // 1 along the row
    battle_slots[MOVER].ai_target = 1;
    battle_slots[MOVER].ai_lock = 1;
    draws({1});
    battle_ai_turn(MOVER);
    const AiStrike& s = only_strike();
    EXPECT_EQ(marked(s), (std::vector<std::pair<s32, s32>>{{4, 5}, {7, 5}}));
    // appended in slot order
    EXPECT_EQ(s.hit_x[0], cell_x(7, 5));
    EXPECT_EQ(s.hit_x[1], cell_x(4, 5));
    EXPECT_TRUE(ai_record.rests.empty());
}

TEST_F(BattleAiTest, CrossArtWalksInsideTheBoxTowardTheTarget) {
    struct Case {
        s32 reach;
        bool strikes;
    };
    for (const Case k : {Case{4, true}, Case{3, false}}) {
        set_art(2, k.reach);
        put(MOVER, 40, 5, 9);
        put(1, 5, 3, 3);
        battle_slots[MOVER].speed = 75; // allowance 4
        battle_slots[MOVER].ai_target = 1;
        battle_slots[MOVER].ai_lock = 1;
        ai_record = {};
        draws({1});
        battle_ai_turn(MOVER);
        // (3, 5), (5, 3) and (3, 6) are too far; (3, 7) is the first candidate within four steps
        EXPECT_TRUE(at(MOVER, 3, 7)) << "reach " << k.reach;
        EXPECT_EQ(ai_record.strikes.size(), k.strikes ? 1u : 0u);
        EXPECT_EQ(ai_record.rests.size(), k.strikes ? 0u : 1u);
    }
}

} // namespace
