// The player's turn driven by scripted pointer moves and clicks: the command bar, moving, the
// attack that ends the turn, the list screens, and the hand-over to the computer.
#include "battle/battle_attack.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_player.h"
#include "engine/shell.h"
#include "game/inventory.h"
#include "tests/battle_fixture.h"

#include <deque>
#include <vector>

namespace {

constexpr s32 E = 3;
constexpr s32 BAR = 25735;
constexpr s32 CELL_MARK = 25765;

// Centre of a command bar button (1 move .. 5 rest, 6 art) with the bar offset.
void bar_point(s32 button, s32 offset, s32* x, s32* y) {
    static constexpr s32 R[6][4] = {{534, 17, 46, 20}, {506, 42, 46, 20}, {558, 42, 46, 20},
                                    {506, 69, 46, 20}, {558, 69, 46, 20}, {434, 18, 24, 84}};
    *x = R[button - 1][0] + R[button - 1][2] / 2 - offset;
    *y = R[button - 1][1] + R[button - 1][3] / 2;
}

// Input by screens: each click waits for a frame of its screen (the bar's frame, a list screen's
// frame, or any other: the move and attack commands), so that a screen which clears the buttons
// when it opens never eats it.
enum class Screen { Bar, List, Other };
struct Step {
    Screen screen;
    s32 x, y, button;
};
std::deque<Step> plan;
size_t draws_seen = 0;

void watch_frames() {
    world_after_presents(0, [] {
        const auto& t = dialog_transcript();
        bool bar = false, list = false;
        for (size_t i = draws_seen; i < t.size(); ++i) {
            if (t[i].kind != TRANSCRIPT_DRAW) continue;
            bar |= t[i].id == BAR;
            list |= t[i].id == 25744;
        }
        draws_seen = t.size();
        const Screen shown = bar ? Screen::Bar : list ? Screen::List : Screen::Other;
        if (!plan.empty() && plan.front().screen == shown) {
            harness_click(plan.front().x, plan.front().y, plan.front().button);
            plan.pop_front();
        }
        watch_frames();
    });
}

void bar(s32 button, s32 offset = 0) {
    s32 x, y;
    bar_point(button, offset, &x, &y);
    plan.push_back({Screen::Bar, x, y, 1});
}
void on_grid(s32 col, s32 row) {
    plan.push_back({Screen::Other, cell_x(col, row), cell_y(col, row), 1});
}
void in_list(s32 x, s32 y, s32 button = 1) {
    plan.push_back({Screen::List, x, y, button});
}

void clear_transcript() {
    dialog_transcript_clear();
    draws_seen = 0;
}

std::vector<TranscriptEntry> draws_of(s32 image) {
    std::vector<TranscriptEntry> out;
    for (const TranscriptEntry& d : dialog_draws())
        if (d.id == image) out.push_back(d);
    return out;
}

class BattlePlayerTest : public BattleTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 600'000; // a turn left waiting for a click fails instead of hanging
        return c;
    }
    // The protagonist at (6, 6) (screen x 317: the bar on the right) with one square art of
    // reach 2 at level 50, speed 74 (allowance 3); one opponent at (9, 5) with plenty of hp.
    void SetUp() override {
        BattleTest::SetUp();
        for (auto& list : player_record.known)
            for (KnownEntry& k : list) k = {-1, 0, 0};
        player_record.known[2][0] = {50, 50, 0};
        arts_table[art_index(2, 50)].area = 0;
        arts_table[art_index(2, 50)].reach = 2;
        player_record.equip[0] = player_record.equip[1] = -1;
        player_record.equip[2] = player_record.equip[3] = -1;
        player_record.attr[4] = 74;
        player_record.hp = player_record.hp_max = 500;
        player_record.mp = player_record.mp_max = 500;
        line_up(E, {0}, {232});
        place(E, 0, 6, 6);
        place(E, 6, 9, 5);
        roster[232].hp = roster[232].hp_max = 100000;
        battle_enter(E);
        battle_active_slot = 0;
        dialog_record_draws(true);
        plan.clear();
        draws_seen = 0;
        watch_frames();
    }
};

TEST_F(BattlePlayerTest, MovesTwiceWhileTheAllowanceLastsThenTheAttackEndsTheTurn) {
    bar(1);
    on_grid(7, 6);
    bar(1);
    on_grid(8, 6);
    bar(2);
    on_grid(9, 5);
    battle_player_turn();
    EXPECT_EQ(battle_slots[0].x, cell_x(8, 6));
    EXPECT_EQ(battle_slots[0].y, cell_y(8, 6));
    EXPECT_EQ(move_allowance, 1);
    EXPECT_LT(battle_slots[6].hp, 100000);
    EXPECT_TRUE(plan.empty());
}

TEST_F(BattlePlayerTest, TheBarSitsAwayFromTheProtagonist) {
    struct Case {
        s32 x, bar_x, offset;
    };
    for (const Case c : {Case{350, 396, 0}, Case{351, 16, 380}}) {
        SCOPED_TRACE(c.x);
        clear_transcript();
        battle_slots[0].x = c.x;
        bar(5, c.offset); // rest ends the turn
        battle_player_turn();
        const auto bars = draws_of(BAR);
        ASSERT_FALSE(bars.empty());
        EXPECT_EQ(bars.front().x, c.bar_x);
        EXPECT_EQ(bars.front().y, 0);
        EXPECT_EQ(bar_offset, c.offset);
    }
}

TEST_F(BattlePlayerTest, HoveringMoveShowsTheRangeOnTheNextFrame) {
    s32 x, y;
    bar_point(1, 0, &x, &y);
    harness_move(x, y);
    bar_point(5, 0, &x, &y);
    harness_click(x, y, 1, at_present(harness_presents() + 4));
    battle_player_turn();
    s32 range = 0;
    for (const TranscriptEntry& d : draws_of(CELL_MARK)) range += d.number == 0x4800;
    // The protagonist's own cell and every free cell up to 3 steps away.
    EXPECT_GT(range, 3);

    // Without hovering a button no range is shown.
    clear_transcript();
    harness_move(5, 470);
    bar(5);
    battle_player_turn();
    for (const TranscriptEntry& d : draws_of(CELL_MARK)) EXPECT_NE(d.number, 0x4800);
}

TEST_F(BattlePlayerTest, AStunnedProtagonistLosesTheTurnWithoutTheBar) {
    battle_slots[0].stunned = 2;
    const u64 presents = harness_presents();
    battle_player_turn();
    EXPECT_EQ(battle_slots[0].stunned, 1);
    EXPECT_TRUE(draws_of(BAR).empty());
    EXPECT_EQ(harness_presents(), presents);
}

TEST_F(BattlePlayerTest, ItemListPagesBySixAndUsesTheChosenMedicine) {
    struct Case {
        s32 items;
        bool pages;
    };
    for (const Case c : {Case{6, false}, Case{7, true}}) {
        SCOPED_TRACE(c.items);
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        for (s32 i = 0; i < c.items; ++i) player_record.inventory[i] = {1250 + i, 1};
        clear_transcript();
        bar(4);
        if (c.pages) {
            in_list(512, 122); // page down: to the second page
            in_list(512, 122); // and it stays there
        }
        in_list(450, 145); // first row of the page
        battle_player_turn();
        const s32 used = c.pages ? 1256 : 1250;
        EXPECT_EQ(inv_has(used), 0);
        EXPECT_EQ(draws_of(25750).empty(), !c.pages);
        EXPECT_EQ(draws_of(25747).empty(), !c.pages);
        EXPECT_TRUE(plan.empty());
    }
}

TEST_F(BattlePlayerTest, RightClickLeavesAListAndTheTurnGoesOn) {
    for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
    player_record.inventory[0] = {1250, 2};
    bar(4);
    in_list(450, 145, 2);
    bar(5);
    battle_player_turn();
    EXPECT_EQ(player_record.inventory[0].count, 2);
}

TEST_F(BattlePlayerTest, WeaponAndArtChoicesChangeTheArtAndKeepTheTurn) {
    for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
    player_record.inventory[0] = {1431, 1};
    player_record.known[6][4] = {52, 70, 0};
    player_record.known[2][1] = {53, 20, 0};
    battle_enter(E); // the sword's list is usable now
    battle_active_slot = 0;
    bar(3);
    in_list(450, 145); // the sword
    bar(5);
    battle_player_turn();
    EXPECT_EQ(player_record.equip[0], 1431 - EQUIP_BASE[0]);
    EXPECT_EQ(art_list, 6);
    EXPECT_EQ(art_entry, 4);
    EXPECT_EQ(battle_slots[0].art, art_index(6, 52));
    EXPECT_EQ(battle_slots[0].art_level, 70);

    // Bare hands: the best art of lists 2-4; then the art screen picks the second row.
    bar(3);
    in_list(548, 119);
    bar(6);
    in_list(450, 161);
    bar(5);
    battle_player_turn();
    EXPECT_EQ(player_record.equip[0], -1);
    EXPECT_EQ(art_list, 2);
    EXPECT_EQ(art_entry, 1);
    EXPECT_EQ(battle_slots[0].art, art_index(2, 53));
    EXPECT_EQ(battle_slots[0].art_level, 20);
    EXPECT_TRUE(plan.empty());
}

TEST_F(BattlePlayerTest, TheComputerPlaysTheTurnWithWeapon1466) {
    for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
    player_record.inventory[0] = {1250, 1}; // a medicine the computer takes at low hp
    player_record.hp = 100;                 // a quarter of 500 or less
    computer_protagonist();
    battle_player_turn(); // returns without any input: no bar waits for the player
    EXPECT_EQ(inv_has(1250), 0);
    EXPECT_GT(player_record.hp, 100);
}

} // namespace
