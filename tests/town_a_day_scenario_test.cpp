// The free walk in town A as a player meets it, headless on the placeholder archive on a new
// game's world, by real input: the calendar's launcher with its introduction, the real scene
// set-up and the real field loop. The arrival scene plays; the morning passes (the clock is set
// to 10:59 once, as the first day's scenario does with its afternoon); the 11:00 scene plays on
// real frames with its fight behind the battle's seam; the player, given the four gifts, hands
// them to the guest on map 193, walks through the pair's house into town and into the house of
// the two on map 113, on to the resident of the square and to the found gift, and back through
// the house to the guest before 13:00, whose presentation ends the walk.
#include "battle/battle.h"
#include "calendar/calendar_register.h"
#include "calendar/launchers.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
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
#include "scripts/towns/town_a_director.h"
#include "scripts/towns/town_a_gifts.h"
#include "tests/dialog_driver.h"
#include "tests/map_walk.h"
#include "tests/scenario_game.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr s32 WATCHER = 4094; // a test object whose timer runs every frame on any map
constexpr s32 TOWN = 102, HOUSE = 103, YARD = 193, TWINS_HOUSE = 113;
constexpr s32 HOST = 408, GUEST = 409, TWIN = 433, FINDER = 444, FOUND_GIFT = 519;
constexpr s32 DOOR_YARD_TO_HOUSE = 483, DOOR_HOUSE_TO_TOWN = 278, DOOR_TOWN_TO_TWINS = 297;
constexpr s32 DOOR_TWINS_TO_TOWN = 298, DOOR_TOWN_TO_HOUSE = 277, DOOR_HOUSE_TO_YARD = 482;
constexpr s32 PERSON_205 = 205;
constexpr s32 ALBUM_FRIENDS = 7;

// The player's part, one step a frame.
struct Visit {
    enum Step {
        ARRIVING,
        MORNING,
        TO_GUEST,
        GIFTS_GIVEN,
        TO_HOUSE,
        TO_TOWN,
        TO_TWINS,
        TO_TWIN,
        TWIN_TALKED,
        OUT_OF_TWINS,
        TO_FINDER,
        FINDER_TALKED,
        TO_FOUND_GIFT,
        BACK_TO_HOUSE,
        BACK_TO_YARD,
        TO_GUEST_AGAIN,
        PRESENTING,
    };
    Step step = ARRIVING;
    s32 frames = 0;
    s32 battles = 0;
    s32 eleven_scenes = 0; // 11:00 scenes seen (by the guest's stage going to 4)
    s32 hour_at_gift = -1; // the hour when the guest was given the presentation's gift
};
Visit visit;
MapWalk walker;

void next(Visit::Step s) {
    visit.step = s;
    walker.new_step();
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    ++visit.frames;
    const s32 map = world_state.current_map;
    switch (visit.step) {
    case Visit::ARRIVING:
        // The arrival scene has played once the pair is back home on map 103.
        if (attr_get(HOST, ATTR_MAP) != HOUSE || attr_get(TOWN_A_ARRIVAL_OBJ, ATTR_ACTIVE) != 0)
            return;
        // The morning passes uneventfully: the clock is set to the last frames before 11:00.
        world_state.hour = 10;
        world_state.minute = 59;
        world_state.minute_frames = u16(world_state.frames_per_minute - 5);
        next(Visit::MORNING);
        return;
    case Visit::MORNING:
        if (attr_get(GUEST, ATTR_VAR_A) != 4) return;
        visit.eleven_scenes++;
        // The four gifts of the quest's chains, given to the player here.
        for (const s32 item : GIFT_ITEMS) inv_add(item, 1);
        next(Visit::TO_GUEST);
        return;
    case Visit::TO_GUEST:
        if (map != YARD) return;
        walker.click_beside(GUEST);
        if (attr_get(GUEST, ATTR_VAR_A) == 5) next(Visit::GIFTS_GIVEN);
        return;
    case Visit::GIFTS_GIVEN:
        next(Visit::TO_HOUSE);
        return;
    case Visit::TO_HOUSE:
        if (map == HOUSE) return next(Visit::TO_TOWN);
        walker.through_door(DOOR_YARD_TO_HOUSE);
        return;
    case Visit::TO_TOWN:
        if (map == TOWN) return next(Visit::TO_TWINS);
        walker.through_door(DOOR_HOUSE_TO_TOWN);
        return;
    case Visit::TO_TWINS:
        if (map == TWINS_HOUSE) return next(Visit::TO_TWIN);
        walker.through_door(DOOR_TOWN_TO_TWINS);
        return;
    case Visit::TO_TWIN:
        walker.click_beside(TWIN);
        if (attr_get(FINDER, ATTR_VAR_A) == 1) next(Visit::TWIN_TALKED);
        return;
    case Visit::TWIN_TALKED:
        next(Visit::OUT_OF_TWINS);
        return;
    case Visit::OUT_OF_TWINS:
        if (map == TOWN) return next(Visit::TO_FINDER);
        walker.through_door(DOOR_TWINS_TO_TOWN);
        return;
    case Visit::TO_FINDER:
        walker.click_beside(FINDER);
        if (attr_get(FOUND_GIFT, ATTR_ACTIVE) == 1) next(Visit::FINDER_TALKED);
        return;
    case Visit::FINDER_TALKED:
        next(Visit::TO_FOUND_GIFT);
        return;
    case Visit::TO_FOUND_GIFT:
        walker.click_beside(FOUND_GIFT);
        if (inv_has(TOWN_A_GIFT_ITEM)) next(Visit::BACK_TO_HOUSE);
        return;
    case Visit::BACK_TO_HOUSE:
        if (map == HOUSE) return next(Visit::BACK_TO_YARD);
        walker.through_door(DOOR_TOWN_TO_HOUSE);
        return;
    case Visit::BACK_TO_YARD:
        if (map == YARD) return next(Visit::TO_GUEST_AGAIN);
        walker.through_door(DOOR_HOUSE_TO_YARD);
        return;
    case Visit::TO_GUEST_AGAIN:
        if (!walker.clicked()) visit.hour_at_gift = world_state.hour;
        walker.click_beside(GUEST);
        if (walker.clicked()) next(Visit::PRESENTING);
        return;
    case Visit::PRESENTING:
        return;
    }
}

s32 fight(s32) {
    visit.battles++;
    return 1;
}

class TownADayScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario_new_game(6 * 60 * 60 * 1000, 60000);
        calendar_register_all();
        hub_restart = -1; // the hub runs the turn's event, with no game loaded
        visit = {};
        walker.reset();
        battle_before = battle_run_seam;
        battle_run_seam = fight;
    }
    void TearDown() override {
        battle_run_seam = battle_before;
        scenario_end();
    }
    HarnessTempDir dir;
    s32 (*battle_before)(s32) = nullptr;
};

TEST_F(TownADayScenario, TheFourGiftsAndThePresentationBefore13MakeFriends) {
    ASSERT_EQ(player_record.story_flags[TOWN_A_OUTCOME_FLAG], 0);
    ASSERT_EQ(album_has(ALBUM_FRIENDS), 0);
    const s32 affection_before = player_record.affection[PERSON_205];

    // The watcher runs on every field frame of the walk.
    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, TOWN, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    calendar_event_222();

    ASSERT_EQ(visit.step, Visit::PRESENTING) << "the walk stopped at step " << visit.step;
    EXPECT_EQ(visit.eleven_scenes, 1);
    EXPECT_EQ(visit.battles, 1);
    EXPECT_GE(visit.hour_at_gift, 11);
    EXPECT_LT(visit.hour_at_gift, 13);
    // The presentation pleased: the gift is gone, the day is decided and the walk is over; the
    // launcher's closing adds the album entry and person 205's affection.
    EXPECT_FALSE(inv_has(TOWN_A_GIFT_ITEM));
    for (const s32 item : GIFT_ITEMS) EXPECT_FALSE(inv_has(item)) << item;
    EXPECT_EQ(player_record.story_flags[TOWN_A_OUTCOME_FLAG], 1);
    EXPECT_EQ(album_has(ALBUM_FRIENDS), 1);
    EXPECT_EQ(player_record.affection[PERSON_205], affection_before + 5);
    EXPECT_EQ(attr_get(TOWN_A_DIRECTOR_OBJ, ATTR_ACTIVE), 0);
}

} // namespace
