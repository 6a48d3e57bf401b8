// The contest hall's dice partner as a player meets it, headless on the placeholder archive on a
// new game's world, by real input in the real field loop: a click on the partner in the hall of
// map 16, its offer taken on the choice row and its practice game won (through the game's seam),
// then the partner's walk out of the hall across map 10 and map 42 to its waiting place on map
// 41, which sends the walking teacher of map 45 off; the player follows through the hall's door
// and the two portals, clicks the waiting partner and is given the bow, the arrows and the
// archery lesson around the aiming game (through its seam).
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/state.h"
#include "platform/harness.h"
#include "scripts/home/contest_hall.h"
#include "scripts/script_seams.h"
#include "scripts/scripts_register.h"
#include "tests/dialog_driver.h"
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
constexpr s32 HALL = 16, HOME = 10, PASSAGE = 42, FIELD = 41, TEACHER_MAP = 45;
constexpr s32 HALL_EXIT_X = 320, HALL_EXIT_Y = 460;  // the hall's door onto map 10
constexpr s32 PORTAL_10_X = 6206, PORTAL_10_Y = 37;  // map 10 to map 42
constexpr s32 PORTAL_42_X = 1326, PORTAL_42_Y = 555; // map 42 to map 41
constexpr s32 WAITING_X = 651, WAITING_Y = 858;      // the partner's last way-point

// The lesson's lines said so far, in order.
std::vector<s32> lesson_lines() {
    std::vector<s32> lines;
    for (const TranscriptEntry& e : dialog_transcript())
        if ((e.kind == TRANSCRIPT_SAY || e.kind == TRANSCRIPT_SAY_AT) && e.text[0] >= 10315 &&
            e.text[0] <= 10329)
            lines.push_back(e.text[0]);
    return lines;
}

// The player's part, one step a frame.
struct Visit {
    enum Step {
        OFFER,
        WALKING_OUT,
        TO_HALL_DOOR,
        ACROSS_HOME,
        ACROSS_PASSAGE,
        WAITING,
        LESSON,
        DONE
    };
    Step step = OFFER;
    s32 frames = 0;
    s32 held_until = 0; // the frame the current hold of the right button ends
    s32 practice_games = 0;
    s32 aiming_games = 0;
    bool equipped_at_game = false; // the bow and the arrows were given before the aiming game
    s32 lines_before_game = -1;    // the lesson's lines said before the aiming game
    std::vector<s32> partner_maps; // the maps the partner was on, in order, once beaten
    s32 teacher_stage_at_arrival = -1;
};
Visit visit;

void next(Visit::Step s) {
    visit.step = s;
}

// Holds the right button toward a map point, again whenever the last hold has run out.
void walk_toward(s32 x, s32 y) {
    if (visit.frames < visit.held_until) return;
    world_hold_right_toward(x, y, 120);
    visit.held_until = visit.frames + 121;
}

void note_partner_map() {
    const s32 map = attr_get(PARTNER_OBJ, ATTR_MAP);
    if (visit.partner_maps.empty() || visit.partner_maps.back() != map)
        visit.partner_maps.push_back(map);
}

void click_on(s32 obj) {
    world_click_map(attr_get(obj, ATTR_X), attr_get(obj, ATTR_Y) - 10);
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    ++visit.frames;
    if (script_stage(PARTNER_OBJ) >= PARTNER_WALK_FIRST) note_partner_map();
    switch (visit.step) {
    case Visit::OFFER:
        if (visit.frames == 2) click_on(PARTNER_OBJ);
        if (script_stage(PARTNER_OBJ) == PARTNER_WALK_FIRST) next(Visit::WALKING_OUT);
        return;
    case Visit::WALKING_OUT:
        // The partner leaves the hall first; the player follows once it is out of sight.
        if (attr_get(PARTNER_OBJ, ATTR_MAP) == HALL) return;
        next(Visit::TO_HALL_DOOR);
        visit.held_until = 0;
        return;
    case Visit::TO_HALL_DOOR:
        if (world_state.current_map == HOME) {
            next(Visit::ACROSS_HOME);
            visit.held_until = 0;
            return;
        }
        walk_toward(HALL_EXIT_X, HALL_EXIT_Y);
        return;
    case Visit::ACROSS_HOME:
        if (world_state.current_map == PASSAGE) {
            next(Visit::ACROSS_PASSAGE);
            visit.held_until = 0;
            return;
        }
        // Along the street below the houses first, then up to the portal.
        if (std::abs(attr_get(0, ATTR_X) - PORTAL_10_X) > 16)
            walk_toward(PORTAL_10_X, attr_get(0, ATTR_Y));
        else
            walk_toward(PORTAL_10_X, PORTAL_10_Y - 20);
        return;
    case Visit::ACROSS_PASSAGE:
        if (world_state.current_map == FIELD) {
            next(Visit::WAITING);
            visit.held_until = 0;
            return;
        }
        // Below the portal first, then straight up onto it.
        if (std::abs(attr_get(0, ATTR_X) - PORTAL_42_X) > 16)
            walk_toward(PORTAL_42_X, PORTAL_42_Y + 60);
        else
            walk_toward(PORTAL_42_X, PORTAL_42_Y - 20);
        return;
    case Visit::WAITING:
        // Up to the waiting place, just below it; the lesson starts once the partner waits there.
        if (script_stage(PARTNER_OBJ) != PARTNER_WAITING ||
            std::abs(attr_get(0, ATTR_X) - WAITING_X) > 16 ||
            std::abs(attr_get(0, ATTR_Y) - (WAITING_Y + 60)) > 16) {
            walk_toward(WAITING_X, WAITING_Y + 60);
            return;
        }
        if (visit.frames < visit.held_until) return;
        visit.teacher_stage_at_arrival = script_stage(WALKING_TEACHER_OBJ);
        next(Visit::LESSON);
        click_on(PARTNER_OBJ);
        return;
    case Visit::LESSON:
        if (script_stage(PARTNER_OBJ) != PARTNER_TAUGHT) return;
        next(Visit::DONE);
        world_state.field_active = 0;
        return;
    case Visit::DONE:
        return;
    }
}

class HomeRegionIIIScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario_new_game(4 * 60 * 60 * 1000, 40000);
        visit = {};
        // The games answer through their seams: the practice is won (300 chips reached); the
        // aiming game notes what the player carries when it starts.
        game_dice_practice_seam = [] {
            visit.practice_games++;
            return 1;
        };
        game_aim_framed_seam = [] {
            visit.aiming_games++;
            visit.equipped_at_game =
                inv_has_count(AIM_TOOL_ITEM, 1) && inv_has_count(AIM_AMMO_ITEM, AIM_AMMO_COUNT);
            visit.lines_before_game = s32(lesson_lines().size());
        };
    }
    void TearDown() override { scenario_end(); }
    HarnessTempDir dir;
};

TEST_F(HomeRegionIIIScenario, ThePartnerBeatenAtDiceWalksToMap41AndTeachesArcheryThere) {
    ASSERT_EQ(attr_get(PARTNER_OBJ, ATTR_MAP), HALL);
    ASSERT_EQ(script_stage(PARTNER_OBJ), PARTNER_FIRST);
    ASSERT_EQ(inv_has_count(AIM_TOOL_ITEM, 1), 0);
    const s32 known_before = known_has(AIM_GROWTH, 0);
    ASSERT_EQ(known_before, 0);
    const s32 value = growth_value(AIM_GROWTH);
    const s32 pool = growth_pool(AIM_GROWTH);

    // In the hall, a step below the partner.
    world_place_player(HALL, attr_get(PARTNER_OBJ, ATTR_X), attr_get(PARTNER_OBJ, ATTR_Y) + 70);
    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, HALL, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    // The offer's choice: the practice (its first row). Every box waits for a click.
    dialog_answers({0});
    const WorldRun run = world_run_field(30000);

    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_FALSE(run.budget_spent);
    ASSERT_EQ(visit.step, Visit::DONE) << "the visit stopped at step " << visit.step;
    EXPECT_EQ(dialog_answers_left(), 0u);
    EXPECT_EQ(visit.practice_games, 1);

    // The walk: out of the hall over map 10 and map 42 to map 41, where it waits at its place;
    // the walking teacher was sent off from there.
    EXPECT_EQ(visit.partner_maps, (std::vector<s32>{HALL, HOME, PASSAGE, FIELD}));
    EXPECT_EQ(attr_get(PARTNER_OBJ, ATTR_X), WAITING_X);
    EXPECT_EQ(attr_get(PARTNER_OBJ, ATTR_Y), WAITING_Y);
    EXPECT_EQ(visit.teacher_stage_at_arrival, 2);
    EXPECT_EQ(attr_get(WALKING_TEACHER_OBJ, ATTR_MAP), TEACHER_MAP);

    // The lesson: nine pages, the aiming game with the bow and the arrows in hand, six pages.
    EXPECT_EQ(visit.aiming_games, 1);
    EXPECT_TRUE(visit.equipped_at_game);
    EXPECT_EQ(visit.lines_before_game, 9);
    const std::vector<s32> lesson = lesson_lines();
    std::vector<s32> expected;
    for (s32 t = 10315; t <= 10329; t++) expected.push_back(t);
    EXPECT_EQ(lesson, expected);

    EXPECT_TRUE(inv_has_count(AIM_TOOL_ITEM, 1) && !inv_has_count(AIM_TOOL_ITEM, 2));
    EXPECT_TRUE(inv_has_count(AIM_AMMO_ITEM, AIM_AMMO_COUNT) &&
                !inv_has_count(AIM_AMMO_ITEM, AIM_AMMO_COUNT + 1));
    EXPECT_TRUE(growth_value(AIM_GROWTH) > value || growth_pool(AIM_GROWTH) == pool + AIM_EXP);
    EXPECT_EQ(known_has(AIM_GROWTH, 0), 1);
    EXPECT_EQ(player_record.affection[PARTNER_REGARD], PARTNER_REGARD_TAUGHT);
    EXPECT_EQ(script_stage(PARTNER_OBJ), PARTNER_TAUGHT);
}

} // namespace
