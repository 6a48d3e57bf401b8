// The contract between a map episode's launcher, its scene set-up and its scripts, on the episode
// of calendar slot 44 with the real launcher, scene, field loop, scripts and character screen,
// headless on the placeholder archive:
// - a game saved by the player's own script inside the episode (slot 1), loaded from the title
//   menu by a fresh program, resumes in the episode without the launcher's introduction, keeps
//   what the player had done, and closes through the launcher's normal closing;
// - a slot-2 game loaded from the character screen inside the episode ends the field loop, and
//   the launcher writes nothing after it.
// Battles answer through their seam.
#include "battle/battle.h"
#include "calendar/calendar_register.h"
#include "calendar/launchers.h"
#include "data/hub_block.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/save.h"
#include "game/slot_list.h"
#include "platform/harness.h"
#include "scripts/script_seams.h"
#include "tests/dialog_driver.h"
#include "tests/episode_protocol.h"
#include "tests/map_walk.h"
#include "tests/scenario_game.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr s32 WATCHER = 4094; // a test object whose timer runs every frame on any map
constexpr s32 TURN = 112;     // the launcher is this turn's after-turn entry
constexpr s32 EPISODE_MAP = 139;
constexpr s32 OPENING_TIMER = 348, COMPANION = 347;
constexpr s32 FIRST_ZONE = 350, SECOND_ZONE = 351;
constexpr s32 FIRST_GROUP[] = {337, 338, 339};
constexpr s32 OUTCOME_FLAG = 88;
constexpr s32 INTRO_FIRST_TEXT = 16200; // the launcher's introduction
constexpr s32 FAILURE_TEXT = 14569;     // the launcher's closing lines when the episode is lost
// The character screen's buttons and its slot list.
constexpr s32 SAVE_X = 475, SAVE_Y = 448, LOAD_X = 180, LOAD_Y = 450;
constexpr s32 ROW_X = 300, YES_X = 398, YES_Y = 330;

// ---- The player's part, one step a field frame

enum class Step { Opening, ToFirstZone, Save, Saved, ToSecondZone, Load, Done };
Step step = Step::Opening;
Step after_opening = Step::ToFirstZone;
MapWalk walker;
s32 frames_in_step = 0;
std::deque<s32> battle_results;

s32 scripted_battle(s32) {
    if (battle_results.empty()) return 1;
    const s32 r = battle_results.front();
    battle_results.pop_front();
    return r;
}

void next(Step s) {
    step = s;
    frames_in_step = 0;
    walker.new_step();
}

bool active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE) == 1;
}

// A click on the player's own figure opens the character screen.
void click_player() {
    world_click_map(attr_get(0, ATTR_X), attr_get(0, ATTR_Y) - 20);
}
void click_after(s32 x, s32 y, u64 presents) {
    harness_click(x, y, 1, at_present(harness_presents() + presents));
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    ++frames_in_step;
    switch (step) {
    case Step::Opening:
        // The opening runs on its timer three frames after the start and switches it off.
        if (frames_in_step > 5 && attr_get(OPENING_TIMER, ATTR_TIMER_ON) == 0) next(after_opening);
        return;
    case Step::ToFirstZone:
        if (!active(FIRST_ZONE)) return next(Step::Save);
        walker.toward(attr_get(FIRST_ZONE, ATTR_X), attr_get(FIRST_ZONE, ATTR_Y), 4);
        return;
    case Step::Save:
        if (frames_in_step == 2) {
            click_player();
            click_after(SAVE_X, SAVE_Y, 4);
        }
        if (save_index[1].used == 1) next(Step::Saved);
        return;
    case Step::Saved:
        // The first program is left here: its episode ends without a verdict.
        world_state.field_active = 0;
        return next(Step::Done);
    case Step::ToSecondZone:
        if (!active(SECOND_ZONE)) return next(Step::Done);
        walker.toward(attr_get(SECOND_ZONE, ATTR_X), attr_get(SECOND_ZONE, ATTR_Y), 4);
        return;
    case Step::Load:
        if (frames_in_step == 2) {
            click_player();
            click_after(LOAD_X, LOAD_Y, 4);
            click_after(ROW_X, slot_row_y(2) + 8, 10);
            click_after(YES_X, YES_Y, 16);
        }
        return;
    case Step::Done:
        return;
    }
}

void place_watcher() {
    const s32 slot = world_script(watch);
    world_place_object(WATCHER, EPISODE_MAP, 0, 0, 0, slot, 0);
    world_arm_timer(WATCHER, 1, true);
}

bool said_text(s32 text) {
    const std::string id = " " + std::to_string(text);
    const std::vector<std::string> lines = dialog_lines();
    return std::any_of(lines.begin(), lines.end(), [&id](const std::string& l) {
        return l.size() >= id.size() && l.compare(l.size() - id.size(), id.size(), id) == 0;
    });
}

std::vector<char> slot_file(s32 slot) {
    char name[16];
    save_image_name(slot, name);
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EpisodeProtocol044 : public ::testing::Test {
  protected:
    void SetUp() override { start_program(); }
    void TearDown() override { scenario_end(); }
    // A program start: the engine, every script and calendar slot, a new game, the seams.
    static void start_program() {
        scenario_new_game(3 * 60 * 60 * 1000, 60000);
        calendar_register_all();
        battle_run_seam = scripted_battle;
        battle_results.clear();
        walker.reset();
        step = Step::Opening;
        after_opening = Step::ToFirstZone;
        frames_in_step = 0;
    }
    // The game at the turn whose after-turn entry is the launcher, with the companion fond enough
    // of the player for the episode to take place and nothing before the turn.
    static void at_the_episodes_turn() {
        hub_block.calendar_turn = TURN;
        hub_block.turn_events_before[TURN] = -1;
        hub_block.turn_events_after[TURN] = 44;
        affection_add(203, 100);
        player_record.money = 700;
        hub_restart = -1;
    }
    HarnessTempDir dir;
};

TEST_F(EpisodeProtocol044, ASaveMadeInsideTheEpisodeResumesThereInAFreshProgramAndClosesNormally) {
    at_the_episodes_turn();
    place_watcher();
    calendar_event_044();
    ASSERT_EQ(step, Step::Done) << "the first program stopped before its save";
    ASSERT_EQ(save_index[1].used, 1);
    EXPECT_TRUE(said_text(INTRO_FIRST_TEXT));

    // A fresh program loads slot 1 from the title menu and runs the hub's pass.
    scenario_end();
    start_program();
    ASSERT_EQ(hub_block.calendar_turn, 0) << "the fresh program starts with no game";
    harness_click(ROW_X, 281); // the load page
    harness_click(ROW_X, slot_row_y(1) + 8);
    harness_click(YES_X, YES_Y);
    game_start();
    ASSERT_EQ(hub_restart, 1);
    ASSERT_EQ(world_state.field_active, 1);
    ASSERT_EQ(hub_block.calendar_turn, TURN);
    dialog_transcript_clear();
    const std::vector<s32> before = episode_outcomes_now();
    // What the player had done is there: the opening played, the first group beaten.
    EXPECT_EQ(attr_get(OPENING_TIMER, ATTR_TIMER_ON), 0);
    EXPECT_FALSE(active(COMPANION));
    EXPECT_FALSE(active(FIRST_ZONE));
    for (const s32 obj : FIRST_GROUP) EXPECT_FALSE(active(obj)) << obj;
    EXPECT_TRUE(active(SECOND_ZONE));

    // The second fight is lost: the episode ends with its loss, and the launcher closes the turn.
    place_watcher();
    next(Step::ToSecondZone);
    battle_results = {0};
    hub_pass();
    EXPECT_EQ(step, Step::Done);
    EXPECT_FALSE(said_text(INTRO_FIRST_TEXT)) << "the introduction played again";
    EXPECT_TRUE(said_text(FAILURE_TEXT)) << "the launcher's closing for a loss";
    EXPECT_EQ(player_record.story_flags[OUTCOME_FLAG], 2);
    EXPECT_EQ(player_record.money, 0);
    expect_episode_outcome(44, before);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(player_record.area, AREA_HUB);
    EXPECT_EQ(hub_block.calendar_turn, TURN + 3) << "the episode takes three turns";
    EXPECT_EQ(save_index[2].used, 1) << "the launcher saved the game after the episode";
}

TEST_F(EpisodeProtocol044, ASlotTwoGameLoadedInsideTheEpisodeEndsItAndTheLauncherWritesNothing) {
    // Slot 2 holds a game of another turn, in the hub.
    hub_block.calendar_turn = 40;
    ASSERT_EQ(save_game(2), 1);
    const std::vector<char> slot2 = slot_file(2);
    at_the_episodes_turn();
    const std::vector<s32> before = episode_outcomes_now();
    place_watcher();
    after_opening = Step::Load;
    calendar_event_044();

    EXPECT_EQ(hub_restart, 1);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(hub_block.calendar_turn, 40) << "the loaded game stands";
    EXPECT_FALSE(said_text(FAILURE_TEXT)) << "the launcher closed a turn that was left";
    EXPECT_EQ(slot_file(2), slot2) << "the launcher saved over the loaded game";
    expect_episode_outcome(44, before);
}

// The table itself: every launcher is the calendar's entry for its slot, and no two episodes
// share an outcome flag (the check of an ending could not tell them apart).
TEST(EpisodeProtocolTable, LaunchersAreTheCalendarsAndFlagsAreOwnedOnce) {
    EXPECT_EQ(episode_protocols().size(), 18u);
    std::set<s32> slots, flags;
    for (const EpisodeProtocol& e : episode_protocols()) {
        EXPECT_TRUE(slots.insert(e.launcher_slot).second) << e.launcher_slot;
        EXPECT_FALSE(e.scenes.empty()) << e.launcher_slot;
        for (const EpisodeFlag& f : e.flags) {
            EXPECT_TRUE(flags.insert(f.flag).second) << "flag " << f.flag;
            EXPECT_FALSE(f.values.empty()) << "flag " << f.flag;
        }
    }
}

} // namespace
