// The hub's load menu over the dashboard, driven by real clicks: the empty list and its one way
// out, the refusals that bring the list back, a load of the autosave, and a load that fails.
#include "data/hub_block.h"
#include "data/schedule.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/load_menu.h"
#include "game/save.h"
#include "game/slot_list.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/hub_fixture.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr s32 ROW_X = 300;

class LoadMenuTest : public HubMenuTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        // The dashboard with submenu 6 open and its load button picked, as command 42 finds it.
        hub_block.hub_menu_level = 6;
        hub_block.hub_menu_pick = 2;
        hub_block.hub_command = HUB_CMD_LOAD;
        hub_draw();
        hub_menu_draw();
    }

    void save_at(s32 slot, s32 turn) {
        hub_block.calendar_turn = turn;
        ASSERT_EQ(save_game(slot), 1) << "slot " << slot;
    }
    static void click(s32 x, s32 y, s32 button = 1) { harness_click(x, y, button); }
    static void click_row(s32 slot) { click(ROW_X, slot_row_y(slot) + 8); }
    static void click_yes() { click(398, 330); }
    static void click_no() { click(430, 330); }
    static void expect_script_used() {
        harness_advance(50);
        harness_pump();
        EXPECT_EQ(harness_pending_input(), 0u) << "the menu ended before the script";
    }
    static void expect_menu_state(s32 command, s32 level, s32 pick) {
        EXPECT_EQ(hub_block.hub_command, command);
        EXPECT_EQ(hub_block.hub_menu_level, level);
        EXPECT_EQ(hub_block.hub_menu_pick, pick);
    }
};

TEST_F(LoadMenuTest, AnEmptyListLeavesOnlyByARightClickOnThePanel) {
    hub_block.hub_third_open = 1;
    hub_block.hub_third_pick = 3;
    click_row(0);       // no row to pick
    click(300, 300, 1); // a left click anywhere does nothing
    click(457, 300, 2); // right of the panel
    click(300, 350, 2); // below it
    click(456, 349, 2); // its corner closes the menu
    EXPECT_EQ(hub_load_menu(), -1);
    expect_script_used();
    expect_menu_state(HUB_CMD_NONE, 0, -1);
    EXPECT_EQ(hub_block.hub_third_open, 0);
    EXPECT_EQ(hub_block.hub_third_pick, 0);
}

TEST_F(LoadMenuTest, ARefusalAtTheConfirmationKeepsTheCommandForTheList) {
    ASSERT_NO_FATAL_FAILURE(save_at(3, 4));
    struct Case {
        const char* what;
        s32 x, y, button;
    };
    const Case cases[] = {
        {"text 327", 430, 330, 1},
        {"a right click inside the confirmation", 213, 390, 2},
    };
    for (const Case& c : cases) {
        hub_block.calendar_turn = 8;
        click_row(3);
        click(600, 450, 2); // outside the confirmation: nothing
        click(c.x, c.y, c.button);
        EXPECT_EQ(hub_load_menu(), -1) << c.what;
        expect_script_used();
        expect_menu_state(HUB_CMD_LOAD, 6, 2);
        EXPECT_EQ(hub_block.calendar_turn, 8) << c.what << ": nothing loaded";
    }
}

TEST_F(LoadMenuTest, LoadingTheAutosaveReplacesTheGameAndEndsTheHubField) {
    ASSERT_NO_FATAL_FAILURE(save_at(2, 6));
    ASSERT_NO_FATAL_FAILURE(save_at(3, 4));
    hub_block.calendar_turn = 8;
    world_state.field_active = 1;
    const s32 loads = save_load_count;
    click_row(2);
    click_no(); // refused: the hub opens the menu again, as command 42 still stands
    EXPECT_EQ(hub_load_menu(), -1);
    click_row(3);
    click_yes();
    EXPECT_EQ(hub_load_menu(), 4);
    expect_script_used();
    EXPECT_EQ(hub_block.calendar_turn, 4);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(save_load_count, loads + 1);
}

TEST_F(LoadMenuTest, ASlotSavedInAMapEpisodePutsThePlayerBackOnItsMap) {
    world_state.field_active = 1;
    attr_set(0, ATTR_MAP, 1);
    attr_set(0, ATTR_X, 300);
    attr_set(0, ATTR_Y, 40);
    ASSERT_NO_FATAL_FAILURE(save_at(1, 4));
    world_state.field_active = 0;
    attr_set(0, ATTR_MAP, 10);
    hub_block.calendar_turn = 8;
    click_row(1);
    click_yes();
    EXPECT_EQ(hub_load_menu(), 2);
    expect_script_used();
    const std::vector<std::string> lines = dialog_lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "change_map 1 300 40"), lines.end());
    EXPECT_EQ(world_state.field_active, 1);
    EXPECT_EQ(hub_block.calendar_turn, 4);
    EXPECT_EQ(hub_restart, 1) << "another turn was loaded";
}

TEST_F(LoadMenuTest, AFailedLoadIsNoLoad) {
    ASSERT_NO_FATAL_FAILURE(save_at(1, 4));
    std::remove("QuorSave.100");
    hub_block.calendar_turn = 8;
    const s32 loads = save_load_count;
    click_row(1);
    click_yes();
    EXPECT_EQ(hub_load_menu(), -1) << "the pass goes on";
    expect_script_used();
    const std::vector<std::string> lines = dialog_lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "say_center Load Error!!!"), lines.end());
    EXPECT_EQ(hub_block.calendar_turn, 8);
    EXPECT_EQ(save_load_count, loads);
    expect_menu_state(HUB_CMD_LOAD, 6, 2); // the list opens again
}

} // namespace
