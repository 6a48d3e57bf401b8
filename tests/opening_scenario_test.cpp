// The opening turns as a player meets them, headless on the placeholder archive: a new game plays
// its first day (the day's director stands in and ends it at once), the hub saves turn 1, and the
// test loads that save and plays turns 1 to 35 by real input: each dashboard is answered by a
// click on rest, every handler's line by a click, its choices from a queue and its screens by
// clicks on their answers. The run ends after turn 35 with the full menus open.
#include "calendar/calendar_register.h"
#include "calendar/first_day.h"
#include "data/hub_block.h"
#include "data/schedule.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/dashboard.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/save.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr s32 REST_BUTTON = 7;
constexpr s32 SAVE_SLOT = 1;

// The player at the dashboard: one click on rest a turn, queued at the turn's first dashboard
// frame (one that draws the bar of menu buttons).
size_t seen_draws = 0;
s32 rests = 0;
s32 rested_turn = -1;
void player_at_dashboard(const u16*, u64) {
    const std::vector<TranscriptEntry>& all = dialog_transcript();
    bool bar = false;
    for (size_t i = seen_draws; i < all.size(); ++i) {
        const TranscriptEntry& e = all[i];
        if (e.kind == TRANSCRIPT_DRAW && e.id >= MENU_BUTTON_IMAGE && e.id <= MENU_BUTTON_LAST)
            bar = true;
    }
    seen_draws = all.size();
    if (!bar || rested_turn == hub_block.calendar_turn) return;
    rested_turn = hub_block.calendar_turn;
    harness_click(MENU_BUTTON_X0 + MENU_BUTTON_STEP * REST_BUTTON + MENU_BUTTON_W / 2,
                  MENU_BUTTON_Y + MENU_BUTTON_H / 2);
    rests++;
}

void day_ends_at_once() {
    player_record.turn_done = 0;
    world_state.field_active = 0;
}

class OpeningScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        HarnessConfig c;
        c.budget_ms = 4 * 60 * 60 * 1000;
        c.budget_presents = 400000;
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_put_player_images(b);
        world_put_map(b, 21, 1024, 768, [](s32, s32) { return WORLD_GROUND; });
        world_start(b, c);
        calendar_register_all();
        state_reset();
        hub_seams_reset();
        hub_clear_save_index_seam = save_index_clear;
        save_index_clear();
        game_tables_init();
        game_new_world();
        seen_draws = 0;
        rests = 0;
        rested_turn = -1;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        dialog_driver_stop();
        hub_seams_reset();
        save_index_clear();
        world_stop();
    }
    // Turn 0: the first day, its director replaced by one that ends the day at once; the hub is
    // then at turn 1 and the game is saved there.
    void first_day_then_save() {
        world_place_player(21, 500, 400);
        world_place_object(FIRST_DAY_DIRECTOR, 21, 0, 0, 0, world_script(day_ends_at_once), 0);
        attr_set(FIRST_DAY_DIRECTOR, ATTR_ACTIVE, 0);
        world_arm_timer(FIRST_DAY_DIRECTOR, 1, true);
        hub_restart = 0;
        dialog_transcript_mode();
        hub_pass();
        ASSERT_EQ(hub_block.calendar_turn, 1);
        ASSERT_EQ(save_game(SAVE_SLOT), 1);
    }
    HarnessTempDir dir;
};

TEST_F(OpeningScenario, TurnsOneToThirtyFivePlayFromTheSavedFirstTurn) {
    first_day_then_save();
    // A fresh program state, then the save of turn 1.
    state_reset();
    game_tables_init();
    ASSERT_EQ(load_game(SAVE_SLOT), 1);
    ASSERT_EQ(hub_block.calendar_turn, 1);
    dialog_real_mode(DialogWaitAnswer::Click);
    dialog_record_draws(true);
    harness_on_present(player_at_dashboard);
    while (hub_block.calendar_turn <= 35) {
        const s32 turn = hub_block.calendar_turn;
        hub_pass();
        ASSERT_GT(hub_block.calendar_turn, turn) << "turn " << turn << " did not pass";
    }
    EXPECT_EQ(hub_block.calendar_turn, 36);
    EXPECT_EQ(rests, 35);
}

} // namespace
