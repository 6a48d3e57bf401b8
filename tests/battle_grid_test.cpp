// The battle grid: cells and screen points, distance maps, allowances, walking and the move
// command.
#include "tests/battle_grid_fixture.h"

#include "engine/shell.h"
#include "engine/transcript.h"

#include <cstdlib>
#include <utility>

namespace {

// ---- Cells and screen points ------------------------------------------------------------------

TEST(BattleCells, CornersAndEveryCellRoundTrip) {
    struct Case {
        s32 col, row, x, y;
    };
    const Case corners[] = {
        {0, 0, 317, 64}, {11, 11, 317, 460}, {11, 0, -79, 262}, {0, 11, 713, 262}};
    for (const Case& k : corners) {
        EXPECT_EQ(cell_x(k.col, k.row), k.x) << k.col << "," << k.row;
        EXPECT_EQ(cell_y(k.col, k.row), k.y) << k.col << "," << k.row;
    }
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) {
            s32 fc = -1, fr = -1;
            ASSERT_EQ(battle_screen_cell(cell_x(c, r), cell_y(c, r), &fc, &fr), 0);
            EXPECT_EQ(std::pair(fc, fr), std::pair(c, r));
            // 17 pixels left of the centre and 9 below still lie inside its diamond
            ASSERT_EQ(battle_screen_cell(cell_x(c, r) - 17, cell_y(c, r) + 9, &fc, &fr), 0);
            EXPECT_EQ(std::pair(fc, fr), std::pair(c, r));
        }
}

TEST(BattleCells, SharedBordersGoToTheLaterRowAndTheFirstColumn) {
    struct Case {
        s32 x, y, col, row;
    };
    const Case cases[] = {
        // (3, 4) and (3, 5) share the border: the later row
        {(cell_x(3, 4) + cell_x(3, 5)) / 2, (cell_y(3, 4) + cell_y(3, 5)) / 2, 3, 5},
        // (3, 4) and (4, 4), one row: the first column
        {(cell_x(3, 4) + cell_x(4, 4)) / 2, (cell_y(3, 4) + cell_y(4, 4)) / 2, 3, 4},
        // the corner of (3, 4), (4, 4), (3, 5) and (4, 5): row 5, column 3
        {353, 208, 3, 5},
    };
    for (const Case& k : cases) {
        battle_cursor = {-1, -1, -1, -1};
        battle_cell_at(k.x, k.y, 1);
        EXPECT_EQ(battle_cursor.col, k.col) << k.x << "," << k.y;
        EXPECT_EQ(battle_cursor.row, k.row) << k.x << "," << k.y;
        EXPECT_EQ(battle_cursor.x, cell_x(k.col, k.row));
        EXPECT_EQ(battle_cursor.y, cell_y(k.col, k.row));
    }
}

TEST(BattleCells, CursorModes) {
    battle_cell_at(7, 2, 0);
    EXPECT_EQ(battle_cursor.col, 7);
    EXPECT_EQ(battle_cursor.row, 2);
    EXPECT_EQ(battle_cursor.x, cell_x(7, 2));
    EXPECT_EQ(battle_cursor.y, cell_y(7, 2));
    // a point on no cell keeps the previous cell; an unknown mode does nothing
    battle_cell_at(5, 5, 1);
    battle_cell_at(cell_x(1, 1), cell_y(1, 1), 2);
    EXPECT_EQ(battle_cursor.col, 7);
    EXPECT_EQ(battle_cursor.row, 2);
    EXPECT_EQ(battle_cursor.x, cell_x(7, 2));
    s32 c = 99, r = 99;
    EXPECT_EQ(battle_screen_cell(5, 5, &c, &r), -1);
    EXPECT_EQ(c, 99);
}

TEST(BattleCells, CutCornersAreTheTwelveOffScreenCells) {
    const std::pair<s32, s32> expected[] = {{9, 0}, {10, 0}, {11, 0}, {10, 1}, {11, 1}, {11, 2},
                                            {0, 9}, {0, 10}, {0, 11}, {1, 10}, {1, 11}, {2, 11}};
    s32 count = 0;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) count += cell_cut(c, r);
    EXPECT_EQ(count, 12);
    for (auto [c, r] : expected) EXPECT_TRUE(cell_cut(c, r)) << c << "," << r;
}

// ---- Distance maps ----------------------------------------------------------------------------

TEST_F(BattleGridTest, StepMapCountsStepsAroundFighters) {
    put(1, 5, 5, 5);
    put(6, 40, 6, 5); // blocks the direct way east
    put(2, 7, 5, 7);  // an ally blocks as well
    battle_dist_build_dir(1, 1, DIST_SQUARE);
    EXPECT_EQ(layer(0, 5, 5), 5);
    EXPECT_EQ(layer(0, 6, 5), 40);
    EXPECT_EQ(layer(0, 0, 0), -1);
    EXPECT_EQ(layer(1, 5, 5), 0);
    EXPECT_EQ(layer(1, 6, 5), -1);
    EXPECT_EQ(layer(1, 5, 7), -1);
    EXPECT_EQ(layer(1, 7, 5), 4); // around the blocker
    EXPECT_EQ(layer(1, 5, 8), 5);
    EXPECT_EQ(layer(1, 4, 5), 1);
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c)
            for (s32 l = 1; l < DIST_LAYERS && cell_cut(c, r); ++l)
                EXPECT_EQ(layer(l, c, r), DIST_CUT);
}

TEST_F(BattleGridTest, BoxedInFighterReachesNothing) {
    put(1, 5, 5, 5);
    put(6, 40, 6, 5);
    put(7, 41, 4, 5);
    put(2, 7, 5, 6);
    put(8, 42, 5, 4);
    battle_dist_build_dir(1, 1, DIST_SQUARE);
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) EXPECT_EQ(layer(1, c, r) > 0, false) << c << "," << r;
}

TEST_F(BattleGridTest, StepsNeverPassThroughCutCorners) {
    // From (8, 0) with (8, 1) taken, (9, 1) is two cells away through the cut corner (9, 0);
    // the way that stays on the screen is six.
    put(1, 5, 8, 0);
    put(6, 40, 8, 1);
    battle_dist_build_dir(1, 1, DIST_SQUARE);
    EXPECT_EQ(layer(1, 9, 1), 6);
    battle_move_to(1, 9, 1);
    EXPECT_TRUE(at(1, 9, 1));
}

TEST_F(BattleGridTest, StepMapsStopAtTwentyThree) {
    // A wall of eleven fighters on column 6, rows 0..10: the way from (5, 0) to (7, 0) goes
    // round row 11 and is 24 steps long.
    put(1, 5, 5, 0);
    const s32 wall[11] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}; // any live fighter blocks
    for (s32 i = 0; i < 11; ++i) put(wall[i], 50 + i, 6, i);
    battle_dist_build_dir(1, 1, DIST_SQUARE);
    EXPECT_EQ(layer(1, 7, 1), 23);
    EXPECT_EQ(layer(1, 7, 0), -1);
    EXPECT_EQ(layer(1, 6, 11), 12);
}

TEST_F(BattleGridTest, AreaMapsByShapeSkipAllies) {
    put(1, 5, 5, 5);
    put(2, 7, 6, 6);  // ally: never written
    put(6, 40, 5, 7); // opponents on the column and the row: passed through
    put(7, 41, 5, 9);
    put(8, 42, 8, 5);
    battle_dist_build_dir(1, 1, DIST_SQUARE);
    EXPECT_EQ(layer(2, 5, 5), 0);
    EXPECT_EQ(layer(2, 6, 6), -1);
    EXPECT_EQ(layer(2, 7, 7), 2);
    EXPECT_EQ(layer(2, 0, 0), 5);
    EXPECT_EQ(layer(2, 9, 2), 4);
    EXPECT_EQ(layer(2, 11, 0), DIST_CUT);

    battle_dist_build_dir(1, 1, DIST_CROSS);
    EXPECT_EQ(layer(2, 5, 7), 2);
    EXPECT_EQ(layer(2, 5, 9), 4);
    EXPECT_EQ(layer(2, 8, 5), 3);
    EXPECT_EQ(layer(2, 0, 5), 5);
    EXPECT_EQ(layer(2, 5, 0), 5);
    EXPECT_EQ(layer(2, 6, 6), -1);
    EXPECT_EQ(layer(2, 4, 4), -1);

    // an unknown shape: the mover's own cell only
    battle_dist_build_dir(1, 1, 7);
    s32 written = 0;
    for (s32 r = 0; r < GRID; ++r)
        for (s32 c = 0; c < GRID; ++c) written += layer(2, c, r) >= 0;
    EXPECT_EQ(written, 1);
}

TEST_F(BattleGridTest, LinesRunOneWayThroughFighters) {
    put(1, 5, 5, 5);
    put(2, 7, 3, 5); // an ally on the way toward column 0: skipped, the line goes on
    put(6, 40, 5, 7);
    put(7, 41, 5, 9);
    struct Case {
        s32 facing, dc, dr;
    };
    const Case cases[] = {
        {FACE_COL0, -1, 0}, {FACE_COL11, 1, 0}, {FACE_ROW0, 0, -1}, {FACE_ROW11, 0, 1}};
    for (const Case& k : cases) {
        battle_dist_build_dir(1, 3, DIST_LINE + k.facing); // layers 3 and 4 work alike
        s32 written = 0;
        for (s32 r = 0; r < GRID; ++r)
            for (s32 c = 0; c < GRID; ++c) {
                const s32 v = layer(4, c, r);
                if (v < 0) continue;
                ++written;
                const s32 dc = c - 5, dr = r - 5;
                const s32 d = std::abs(dc) + std::abs(dr);
                if (d == 0) continue;
                EXPECT_EQ(dc * k.dr, dr * k.dc) << "off the line, facing " << k.facing;
                EXPECT_GT(dc * k.dc + dr * k.dr, 0) << "behind the mover, facing " << k.facing;
                EXPECT_EQ(v, d);
            }
        const s32 expected[] = {0, 5, 7, 6, 7}; // the mover + cells to the edge, less the ally
        EXPECT_EQ(written, expected[k.facing]) << "facing " << k.facing;
    }
    battle_dist_build_dir(1, 3, DIST_LINE + FACE_ROW11);
    EXPECT_EQ(layer(4, 5, 7), 2);
    EXPECT_EQ(layer(4, 5, 9), 4);
    EXPECT_EQ(layer(4, 3, 5), -1);
}

TEST_F(BattleGridTest, LineArtPointsTowardThePointer) {
    set_art(1, 4);
    put(1, 5, 5, 5);
    struct Case {
        s32 col, row;     // the pointer's cell
        s32 lit_c, lit_r; // a cell that must lie on the line
    };
    const Case cases[] = {{5, 8, 5, 6}, {5, 2, 5, 4}, {8, 5, 6, 5}, {2, 5, 4, 5}};
    for (const Case& k : cases) {
        pointer_x = cell_x(k.col, k.row);
        pointer_y = cell_y(k.col, k.row);
        battle_dist_build(1, 1);
        EXPECT_EQ(layer(2, k.lit_c, k.lit_r), 1) << k.col << "," << k.row;
        EXPECT_EQ(battle_cursor.col, k.col);
        EXPECT_EQ(battle_cursor.row, k.row);
    }
}

// ---- Allowances -------------------------------------------------------------------------------

TEST_F(BattleGridTest, AllowanceBySpeedSideAndSpeedField) {
    struct Case {
        s32 slot, speed, kind, bonus, allowance;
    };
    const Case cases[] = {
        {3, 74, 0, 0, 3},  {3, 75, 0, 0, 4}, {9, 75, 0, 0, 4},
        {3, 74, 3, 1, 4},  {9, 74, 3, 1, 3}, // the speed field helps the own side only
        {3, 74, 0, 1, 3},                    // another field kind adds nothing
        {3, -30, 0, 0, 0},                   // heavy gear: no step at all
    };
    for (const Case& k : cases) {
        battle_slots[k.slot].speed = k.speed;
        field_kind = k.kind;
        field_bonus = k.bonus;
        EXPECT_EQ(battle_turn_allowance(k.slot), k.allowance) << k.slot << " speed " << k.speed;
    }
    EXPECT_EQ(battle_turn_allowance(12), 0);
}

TEST_F(BattleGridTest, ProtagonistSpeedAddsEquipmentAndSpeedField) {
    PlayerRecord& p = player_record;
    p.attr[4] = 40;
    p.equip[0] = 5;
    p.equip[1] = 2;
    p.equip[3] = 7;
    equip_table[5].speed_bonus = 10;
    equip_table_b[2].speed_bonus = -4;
    equip_table_c[7].speed_bonus = 20;
    EXPECT_EQ(battle_protagonist_speed(), 66);
    EXPECT_EQ(battle_turn_allowance(0), 3);
    field_kind = 3;
    field_bonus = 9;
    EXPECT_EQ(battle_protagonist_speed(), 75);
    EXPECT_EQ(battle_turn_allowance(0), 4);
    // nothing equipped, or an index outside the tables: no bonus is read
    p.equip[0] = p.equip[1] = -1;
    p.equip[3] = 5000;
    field_kind = 0;
    EXPECT_EQ(battle_protagonist_speed(), 40);
}

TEST_F(BattleGridTest, ComputerPlayedProtagonistAllowanceWithMasteredGear) {
    PlayerRecord& p = player_record;
    p.attr[4] = 40;
    p.equip[0] = 5;
    p.equip[1] = 2;
    p.equip[3] = 7;
    equip_table[5].speed_bonus = 11;
    equip_table_b[2].speed_bonus = 9;
    struct Case {
        s32 skill17, accessory, allowance;
    };
    const Case cases[] = {
        {99, 10, 3},   // 40 + 11 + 9 + 10 = 70
        {100, 10, 4},  // 40 + 6 + 5 + 25 = 76
        {100, -10, 2}, // 40 + 6 + 5 - 15 = 36
        {99, -10, 3},  // 40 + 11 + 9 - 10 = 50
    };
    for (const Case& k : cases) {
        p.skill[17] = k.skill17;
        equip_table_c[7].speed_bonus = k.accessory;
        EXPECT_EQ(battle_ai_protagonist_allowance(), k.allowance)
            << k.skill17 << " " << k.accessory;
    }
}

// ---- Walking ----------------------------------------------------------------------------------

TEST_F(BattleGridTest, MoveFollowsTheShortestPathOneDrawnStepAtATime) {
    put(1, 5, 5, 5);
    std::vector<std::pair<s32, s32>> drawn;
    harness_on_present([&](const u16*, u64) {
        s32 c = -1, r = -1;
        battle_slot_cell(1, &c, &r);
        drawn.emplace_back(c, r);
    });
    const u64 start = harness_elapsed_ms();
    battle_move_to(1, 7, 7);
    harness_on_present(nullptr);
    const std::vector<std::pair<s32, s32>> path = {{5, 5}, {6, 5}, {7, 5}, {7, 6}, {7, 7}};
    EXPECT_EQ(drawn, path);
    EXPECT_TRUE(at(1, 7, 7));
    EXPECT_EQ(battle_slots[1].facing, FACE_ROW11);
    EXPECT_GE(harness_elapsed_ms() - start, 5u * 125);

    battle_move_to(1, 4, 7); // three steps toward column 0
    EXPECT_TRUE(at(1, 4, 7));
    EXPECT_EQ(battle_slots[1].facing, FACE_COL0);
}

TEST_F(BattleGridTest, MoveRefusesCellsItCannotReach) {
    put(1, 5, 5, 5);
    put(6, 40, 6, 5);
    put(7, 41, 1, 1);
    put(8, 42, 0, 1);
    put(9, 43, 1, 0); // (0, 0) is walled in
    const std::pair<s32, s32> refused[] = {{5, 5}, {6, 5}, {12, 3}, {-1, 4}, {11, 0}, {0, 0}};
    for (auto [c, r] : refused) {
        const u64 presents = harness_presents();
        battle_move_to(1, c, r);
        EXPECT_TRUE(at(1, 5, 5)) << c << "," << r;
        EXPECT_EQ(harness_presents(), presents) << c << "," << r;
    }
    battle_move_to(12, 3, 3); // no such slot
    battle_slots[1].character = -1;
    battle_move_to(1, 4, 5); // a fallen fighter stays where it fell
    EXPECT_TRUE(at(1, 5, 5));
}

// A press held until the command takes it (the command clears the buttons itself).
void press(s32 x, s32 y, s32 button = 1) {
    harness_move(x, y);
    harness_button_down(button);
}

TEST_F(BattleGridTest, MoveCommandTakesOnlyFreeReachableCellsWithinTheAllowance) {
    put(0, 0, 5, 8);
    put(6, 40, 5, 7);
    battle_active_slot = 0;
    move_allowance = 3;
    battle_cell_at(5, 9, 0);             // a stale cursor on a reachable cell is no click target
    press(5, 5);                         // beside the grid
    press(cell_x(5, 7), cell_y(5, 7));   // occupied
    press(cell_x(11, 0), cell_y(11, 0)); // cut corner
    press(cell_x(5, 4), cell_y(5, 4));   // 6 steps round the opponent
    press(cell_x(7, 9), cell_y(7, 9));   // exactly 3 steps
    battle_cmd_move();
    EXPECT_EQ(harness_pending_input(), 0u);
    EXPECT_TRUE(at(0, 7, 9));
    EXPECT_EQ(move_allowance, 0);
}

TEST_F(BattleGridTest, MoveCommandRightButtonLeavesWithoutMoving) {
    put(0, 0, 5, 8);
    battle_active_slot = 0;
    move_allowance = 3;
    press(cell_x(5, 6), cell_y(5, 6), 2);
    battle_cmd_move();
    EXPECT_TRUE(at(0, 5, 8));
    EXPECT_EQ(move_allowance, 3);
}

TEST_F(BattleGridTest, MoveCommandTakesQuickClicksButNotTheClickThatChoseIt) {
    put(0, 0, 5, 8);
    battle_active_slot = 0;
    move_allowance = 3;
    // the press on the command bar left its click word behind, on a reachable cell
    click_kind = 1;
    click_x = cell_x(5, 9);
    click_y = cell_y(5, 9);
    // pressed and released within one frame
    harness_click(cell_x(6, 8), cell_y(6, 8));
    battle_cmd_move();
    EXPECT_TRUE(at(0, 6, 8));
    EXPECT_EQ(move_allowance, 2);
    harness_click(cell_x(6, 6), cell_y(6, 6), 2);
    battle_cmd_move();
    EXPECT_TRUE(at(0, 6, 8));
}

TEST_F(BattleGridTest, ReachShowsCellsWithinAllowanceOrArtReach) {
    set_art(0, 1);
    put(1, 5, 5, 5);
    battle_active_slot = 1;
    move_allowance = 2;
    battle_dist_build(1, 1);
    static std::vector<std::pair<s32, s32>> lit;
    lit.clear();
    transcript_draws = true;
    transcript_observer = [](const TranscriptEntry& e) {
        if (e.kind == TRANSCRIPT_DRAW && e.id == 25765 && e.number == 0x4800)
            lit.emplace_back(e.x, e.y);
        return TRANSCRIPT_RUN;
    };
    battle_show_reach(1);
    EXPECT_EQ(lit.size(), 13u); // the own cell and the 12 cells within two steps
    lit.clear();
    battle_show_reach(2);
    EXPECT_EQ(lit.size(), 9u); // the square of reach 1
    transcript_observer = nullptr;
    transcript_draws = false;
}

} // namespace
