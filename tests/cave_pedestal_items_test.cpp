// The three items that the pedestals of map 161 want, each won from its own script: item 2361
// from the fishing host's contest, item 2365 from the end of the chain of trades at object 1140,
// and item 2364 from the search errand's last find. Laid on their pedestals, they open portal
// 1397 toward map 172.
#include "engine/world/object.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "scripts/towns/caves.h"
#include "scripts/towns/city_search.h"
#include "scripts/towns/gates_and_tellers.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

namespace {

constexpr s32 OBJECTS[] = {
    HOST_OBJ, 1140, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080,
    1090,     1397, 1454, 1455, 1456, 1459, 1460, 1461, 1462,
};
constexpr s32 CHAIN_TOKEN = 2374;            // what 1140 takes for item 2365
constexpr s32 PEDESTAL_OPTION[] = {5, 1, 4}; // items 2365, 2361, 2364 in the menu of 2360-2365

class CavePedestalItems : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        sh_player(SH_MAP_W / 2, SH_MAP_H / 2);
        init_player();
        sh_populate(OBJECTS);
    }
};

TEST_F(CavePedestalItems, TheItemsWonFromThreeScriptsOpenThePortalTo172) {
    // The fishing host's contest, won on the first try: nine fish against a need of eight.
    attr_set(HOST_OBJ, ATTR_VAR_A, HOST_INVITED);
    inv_add(HOST_ROD_LO, 1);
    inv_add(HOST_BAIT, 1);
    sh_on_call("bait_catch", [] { inv_add(HOST_FISH, 9); });
    sh_rand({4});
    sh_click(HOST_OBJ);
    sh_on_call("bait_catch", {});
    ASSERT_EQ(inv_has(HOST_PRIZE), 1);

    // The last trade of the chain.
    inv_add(CHAIN_TOKEN, 1);
    sh_click(1140);
    ASSERT_EQ(inv_has(2365), 1);

    // The search errand: accepted, and the three found.
    sh_click(CITY_SEARCH_GIVER, {0});
    for (const s32 sought : {1073, 1074, 1076}) sh_click(sought);
    ASSERT_EQ(inv_has(CITY_SEARCH_REWARD), 1);

    // The three pedestals: the portal opens and the barrier goes with the third.
    for (size_t i = 0; i < std::size(CAVE_PEDESTAL_OBJS); ++i) {
        EXPECT_EQ(attr_get(CAVE_PORTAL_TO_172, ATTR_ACTIVE), 0) << i;
        sh_click(CAVE_PEDESTAL_OBJS[i], {PEDESTAL_OPTION[i]});
    }
    EXPECT_EQ(attr_get(CAVE_PORTAL_TO_172, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(1459, ATTR_ACTIVE), 0);
    for (const s32 item : {2361, 2364, 2365}) EXPECT_EQ(inv_has(item), 0) << item;
}

} // namespace
