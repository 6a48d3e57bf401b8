// The city's delivery errand as a player meets it, headless on the placeholder archive on a new
// game's world, by real input in the real field loop on map 200 and its interiors: at 11:00 the
// player goes into the shop of map 216 and takes the errand from its keeper, which parks the
// thirteen keepers and puts the street scene's figures off; back on the street the player hands
// item 2063 to keeper 1012, which brings the figures back, goes into the shop of map 207 and
// hands item 2059 to its keeper, and returns to the errand's keeper to trade the two tokens for
// item 1250. Every choice is answered by a click on its row.
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/state.h"
#include "platform/harness.h"
#include "scripts/script_seams.h"
#include "scripts/scripts_register.h"
#include "scripts/towns/shops_and_delivery.h"
#include "tests/dialog_driver.h"
#include "tests/map_walk.h"
#include "tests/scenario_game.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr s32 WATCHER = 4094; // a test object whose timer runs every frame on any map
constexpr s32 CITY = 200, ERRAND_SHOP = 216, SHOP_207 = 207;
constexpr s32 DOOR_TO_216 = 1365, DOOR_FROM_216 = 1366, DOOR_TO_207 = 1349, DOOR_FROM_207 = 1350;
constexpr s32 KEEPER_1012 = 1012, KEEPER_1032 = 1032;
constexpr s32 GOODS_FOR_1012 = 2063, GOODS_FOR_1032 = 2059;
constexpr s32 PRIZE_OF_TWO = 1250;

// The player's part, one step a frame.
struct Visit {
    enum Step {
        TO_SHOP,
        TO_KEEPER,
        ACCEPTED,
        OUT_OF_SHOP,
        TO_1012,
        TO_207,
        TO_1032,
        OUT_OF_207,
        BACK_TO_SHOP,
        TO_TRADE,
        DONE,
    };
    Step step = TO_SHOP;
    bool figures_off_after_accepting = false;
    std::vector<s32> parked_before; // the keepers' stages when the errand began
};
Visit visit;
MapWalk walker;

void next(Visit::Step s) {
    visit.step = s;
    walker.new_step();
}

bool figures_shown() {
    return attr_get(ERRAND_ZONE, ATTR_ACTIVE) == 1 && attr_get(ERRAND_WALKER_A, ATTR_ACTIVE) == 1 &&
           attr_get(ERRAND_WALKER_B, ATTR_ACTIVE) == 1;
}
bool figures_hidden() {
    return attr_get(ERRAND_ZONE, ATTR_ACTIVE) == 0 && attr_get(ERRAND_WALKER_A, ATTR_ACTIVE) == 0 &&
           attr_get(ERRAND_WALKER_B, ATTR_ACTIVE) == 0;
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    const s32 map = world_state.current_map;
    switch (visit.step) {
    case Visit::TO_SHOP:
        if (map == ERRAND_SHOP) return next(Visit::TO_KEEPER);
        walker.through_door(DOOR_TO_216);
        return;
    case Visit::TO_KEEPER:
        if (visit.parked_before.empty())
            for (const s32 k : ERRAND_KEEPERS)
                visit.parked_before.push_back(attr_get(k, ATTR_VAR_A));
        walker.click_beside(ERRAND_KEEPER);
        if (attr_get(ERRAND_KEEPER, ATTR_VAR_A) == 1) next(Visit::ACCEPTED);
        return;
    case Visit::ACCEPTED:
        visit.figures_off_after_accepting = figures_hidden();
        return next(Visit::OUT_OF_SHOP);
    case Visit::OUT_OF_SHOP:
        if (map == CITY) return next(Visit::TO_1012);
        walker.through_door(DOOR_FROM_216);
        return;
    case Visit::TO_1012:
        walker.click_beside(KEEPER_1012);
        if (attr_get(KEEPER_1012, ATTR_VAR_A) != ERRAND_STAGE) next(Visit::TO_207);
        return;
    case Visit::TO_207:
        if (map == SHOP_207) return next(Visit::TO_1032);
        walker.through_door(DOOR_TO_207);
        return;
    case Visit::TO_1032:
        walker.click_beside(KEEPER_1032);
        if (attr_get(KEEPER_1032, ATTR_VAR_A) != ERRAND_STAGE) next(Visit::OUT_OF_207);
        return;
    case Visit::OUT_OF_207:
        if (map == CITY) return next(Visit::BACK_TO_SHOP);
        walker.through_door(DOOR_FROM_207);
        return;
    case Visit::BACK_TO_SHOP:
        if (map == ERRAND_SHOP) return next(Visit::TO_TRADE);
        walker.through_door(DOOR_TO_216);
        return;
    case Visit::TO_TRADE:
        walker.click_beside(ERRAND_KEEPER);
        if (inv_has(PRIZE_OF_TWO)) {
            next(Visit::DONE);
            world_state.field_active = 0;
        }
        return;
    case Visit::DONE:
        return;
    }
}

class CityErrandScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario_new_game(4 * 60 * 60 * 1000, 30000);
        visit = {};
        walker.reset();
    }
    void TearDown() override { scenario_end(); }
    HarnessTempDir dir;
};

TEST_F(CityErrandScenario, TwoWantedDeliveriesRestoreTheKeepersAndTradeForItem1250) {
    ASSERT_TRUE(figures_shown());
    // The two goods, bought beforehand; the errand's day at 11:00.
    inv_add(GOODS_FOR_1012, 1);
    inv_add(GOODS_FOR_1032, 1);
    world_state.hour = 11;
    world_state.minute = 0;

    world_place_player(CITY, attr_get(DOOR_TO_216, ATTR_X) + 40,
                       attr_get(DOOR_TO_216, ATTR_Y) + 160);
    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, CITY, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    // The errand's offer and its confirmation (first rows); at 1012 the errand row (third) and
    // item 2063 (third of the goods); at 1032 the errand row (fourth) and item 2059 (first); at
    // the errand's keeper the token trade (third row).
    dialog_answers({0, 0, 2, 2, 3, 0, 2});
    const WorldRun run = world_run_field(20000);

    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_FALSE(run.budget_spent);
    ASSERT_EQ(visit.step, Visit::DONE) << "the errand stopped at step " << visit.step;
    EXPECT_EQ(dialog_answers_left(), 0u);
    EXPECT_TRUE(visit.figures_off_after_accepting);

    // The two keepers that were given their goods are back at the stage they had; the others
    // keep the errand.
    ASSERT_EQ(visit.parked_before.size(), std::size(ERRAND_KEEPERS));
    for (size_t i = 0; i < std::size(ERRAND_KEEPERS); i++) {
        const s32 k = ERRAND_KEEPERS[i];
        const bool delivered = k == KEEPER_1012 || k == KEEPER_1032;
        EXPECT_EQ(attr_get(k, ATTR_VAR_A), delivered ? visit.parked_before[i] : ERRAND_STAGE)
            << "keeper " << k;
    }
    // The street scene's figures are back; the goods went, the two tokens went for the prize.
    EXPECT_TRUE(figures_shown());
    EXPECT_FALSE(inv_has(GOODS_FOR_1012));
    EXPECT_FALSE(inv_has(GOODS_FOR_1032));
    EXPECT_FALSE(inv_has(ERRAND_TOKEN));
    EXPECT_TRUE(inv_has_count(PRIZE_OF_TWO, 1) && !inv_has_count(PRIZE_OF_TWO, 2));
    for (s32 item = 2366; item <= 2371; item++) EXPECT_TRUE(inv_has(item)) << item;
}

} // namespace
