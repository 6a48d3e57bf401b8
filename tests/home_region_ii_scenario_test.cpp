// The home region's seated services as a player meets them, headless on the placeholder archive
// on a new game's world, by real input in the real field loop: through the door of map 10 into
// the dining room of map 22, a dish ordered by clicks on the table and on the choice rows, the
// frames passing until the waiter serves it with the first-taste scene, a click that clears the
// table, and then out again and through the next door of map 10 to the bed of map 26, where two
// hours of sleep are chosen by clicks.
#include "data/shops.h"
#include "data/timetables.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/state.h"
#include "platform/harness.h"
#include "scripts/home/dining.h"
#include "scripts/home/stations.h"
#include "scripts/routes.h"
#include "scripts/scripts_register.h"
#include "tests/dialog_driver.h"
#include "tests/scenario_game.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr s32 WATCHER = 4094; // a test object whose timer runs every frame on any map
constexpr s32 HOME = 10, DINING_MAP = 22;
constexpr s32 DOOR_X = 1800, DOOR_Y = 2600; // the door of map 10 into the dining room
constexpr s32 TABLE = 166, WAITER = 167;
constexpr s32 DISH = 1;                                     // the first row of the menu
constexpr s32 DINING_EXIT_X = 320, DINING_EXIT_Y = 460;     // the door of map 22 back to map 10
constexpr s32 BEDROOM_DOOR_X = 2400, BEDROOM_DOOR_Y = 2600; // the door of map 10 into map 26
constexpr s32 BEDROOM_MAP = 26;

s32 day_minute() {
    return world_state.hour * 60 + world_state.minute;
}

// The player's part, one step a frame.
struct Visit {
    enum Step {
        TO_DOOR,
        IN_ROOM,
        AT_TABLE,
        ORDERED,
        EATING,
        CLEARING,
        TO_EXIT,
        ALONG_STREET,
        TO_BEDROOM,
        IN_BEDROOM,
        SLEEPING,
        DONE
    } step = TO_DOOR;
    s32 frames = 0;
    s32 step_frame = 0;
    s32 waited_frames = -1; // frames from the order to the serving
    bool served_while_away = false;
    s32 clock_before_sleep = -1; // minute of the day when the bed was clicked
};
Visit visit;

void next(Visit::Step s) {
    visit.step = s;
    visit.step_frame = visit.frames;
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    ++visit.frames;
    switch (visit.step) {
    case Visit::TO_DOOR:
        if (world_state.current_map != DINING_MAP) return;
        next(Visit::IN_ROOM);
        world_hold_right_toward(300, 345, 200);
        return;
    case Visit::IN_ROOM:
        if (visit.frames - visit.step_frame < 210) return;
        next(Visit::AT_TABLE);
        world_click_map(attr_get(TABLE, ATTR_X), attr_get(TABLE, ATTR_Y) - 10);
        return;
    case Visit::AT_TABLE:
        if (attr_get(WAITER, ATTR_VAR_B) != SERVING_COUNTDOWN) return;
        next(Visit::ORDERED);
        return;
    case Visit::ORDERED:
        if (!(attr_get(0, ATTR_EVENT) == 76 && attr_get(0, ATTR_TIMER_ON) == 1)) {
            visit.served_while_away |= attr_get(TABLE, ATTR_VAR_A) != 0;
            return;
        }
        visit.waited_frames = visit.frames - visit.step_frame;
        next(Visit::EATING);
        world_click_map(attr_get(TABLE, ATTR_X), attr_get(TABLE, ATTR_Y) - 10);
        return;
    case Visit::EATING:
        if (attr_get(TABLE, ATTR_VAR_A) != 0) return;
        next(Visit::CLEARING);
        return;
    case Visit::CLEARING:
        next(Visit::TO_EXIT);
        world_hold_right_toward(DINING_EXIT_X, DINING_EXIT_Y + 20, 300);
        return;
    case Visit::TO_EXIT:
        if (world_state.current_map != HOME) return;
        // Along the street first, below the dining room's door, then up to the next door.
        next(Visit::ALONG_STREET);
        world_hold_right_toward(BEDROOM_DOOR_X, attr_get(0, ATTR_Y), 400);
        return;
    case Visit::ALONG_STREET:
        if (std::abs(attr_get(0, ATTR_X) - BEDROOM_DOOR_X) > 16) return;
        next(Visit::TO_BEDROOM);
        world_hold_right_toward(BEDROOM_DOOR_X, BEDROOM_DOOR_Y - 20, 200);
        return;
    case Visit::TO_BEDROOM:
        if (world_state.current_map != BEDROOM_MAP) return;
        next(Visit::IN_BEDROOM);
        world_hold_right_toward(HOME_BED_X, HOME_BED_Y + 50, 250);
        return;
    case Visit::IN_BEDROOM:
        if (visit.frames - visit.step_frame < 260) return;
        next(Visit::SLEEPING);
        visit.clock_before_sleep = day_minute();
        world_click_map(HOME_BED_X, HOME_BED_Y - 36);
        return;
    case Visit::SLEEPING:
        if (day_minute() - visit.clock_before_sleep < 100) return;
        next(Visit::DONE);
        world_state.field_active = 0;
        return;
    case Visit::DONE:
        return;
    }
}

class HomeRegionIIScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario_new_game(60 * 60 * 1000, 8000);
        init_npc_timetables();
        visit = {};
    }
    void TearDown() override { scenario_end(); }
    HarnessTempDir dir;
};

TEST_F(HomeRegionIIScenario, ADinnerIsOrderedServedTastedAndClearedThenTwoHoursOfSleep) {
    // An empty stomach, so that the table serves, and some money saved up (a new game starts
    // with less than a dish costs); the rest is the new game's.
    player_record.fullness = 0;
    player_record.money = 1000;
    const s32 money = player_record.money;
    const s32 price = shop_stock[DINING_SHOP][DISH - 1].price;
    ASSERT_GT(money, price);
    ASSERT_EQ(player_record.item_tally[DISH_TALLY_BASE + DISH], 0);

    world_place_player(HOME, DOOR_X, DOOR_Y + 90);
    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, HOME, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    // The table's offer (20121), the first dish, later leaving (20129), and two hours of sleep
    // on the bed, each clicked on its row; every other box waits for a click.
    dialog_answers({0, DISH - 1, 1, 1});
    world_hold_right_toward(DOOR_X, DOOR_Y, 150);
    const WorldRun run = world_run_field(6000);

    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_FALSE(run.budget_spent);
    ASSERT_EQ(visit.step, Visit::DONE) << "the visit stopped at step " << visit.step;
    EXPECT_EQ(dialog_answers_left(), 0u);
    EXPECT_FALSE(visit.served_while_away);
    // Five timer runs of ten frames at least (the waiter may have been in its idle pause).
    EXPECT_GE(visit.waited_frames, 4 * SERVING_REARM);

    EXPECT_EQ(player_record.money, money - price);
    // The first taste marks the dish, and eating it counts it once more.
    EXPECT_EQ(player_record.item_tally[DISH_TALLY_BASE + DISH], 2);
    const std::vector<std::string> lines = dialog_lines();
    for (const char* line : {"say_at 167 20047", "say 1 1000 10620", "say 2 1147 10621",
                             "say 1 1000 10624", "say_at 167 20127"})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(line)), 1) << line;
    // Cleared: the player stood again and walked away, the table is free, the waiter at its
    // place.
    EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), 0);
    EXPECT_EQ(attr_get(0, ATTR_EVENT), 0);
    EXPECT_EQ(attr_get(TABLE, ATTR_VAR_A), 0);
    EXPECT_EQ(attr_get(TABLE, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(WAITER, ATTR_VAR_A), 2);
    EXPECT_EQ(attr_get(WAITER, ATTR_X), 372);
    EXPECT_EQ(attr_get(WAITER, ATTR_Y), 280);

    // Two hours of sleep on the bed of map 26: the clock jumps from its quarter hour, and every
    // timetabled resident who is shown stands where its timetable puts it at the new time.
    EXPECT_EQ(world_state.current_map, BEDROOM_MAP);
    ASSERT_GE(visit.clock_before_sleep, 0);
    EXPECT_EQ(day_minute(), visit.clock_before_sleep / 15 * 15 + 120);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string("say_at 273 10741")), 1);
    s32 placed = 0;
    for (const s32 npc : timetable_npcs) {
        if (npc <= 0 || attr_get(npc, ATTR_ACTIVE) != 1) continue; // hidden ones keep their place
        const NpcTimetableEntry e = route_timetable_now(npc);
        if (!timetable_has(e.map)) continue;
        EXPECT_EQ(attr_get(npc, ATTR_MAP), e.map) << "object " << npc;
        EXPECT_EQ(attr_get(npc, ATTR_X), e.x) << "object " << npc;
        EXPECT_EQ(attr_get(npc, ATTR_Y), e.y) << "object " << npc;
        ++placed;
    }
    EXPECT_GT(placed, 0);
}

} // namespace
