// The first day as a player meets it, headless on the placeholder archive in an empty game
// directory: the name entry typed by clicks (no saved game, so the title goes straight to it), the
// hub's turn 0 handing over to the first day, the arrival scene, a walk on the home map with a
// click on a resident and a door to map 14 and back, the director ending the day at 15:00, and
// the hub's starting state at turn 1. Then the day's start, saved in slot 0, loads back.
#include "calendar/calendar_register.h"
#include "calendar/first_day.h"
#include "data/hub_block.h"
#include "data/schedule.h"
#include "data/timetables.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/save.h"
#include "game/state.h"
#include "platform/harness.h"
#include "scripts/home/household.h"
#include "scripts/scripts_register.h"
#include "tests/dialog_driver.h"
#include "tests/name_entry_clicks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr s32 ZHONG[4] = {15, 2, 12, 1}; // zhong1

constexpr s32 WATCHER = 4094;   // a test object whose timer runs every frame on any map
constexpr s32 OPENING_STEP = 1; // the step area on map 10 that starts the opening scene
constexpr s32 DOOR_OUT = 33;    // the master's house (map 12) to map 10
constexpr s32 DOOR_BACK = 32;   // map 10 back into the house

std::vector<u8> file_bytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

s32 count_of(const std::vector<std::string>& all, const std::string& line) {
    return s32(std::count(all.begin(), all.end(), line));
}

// Lines of the transcript that say text `id` (a say, say_at or say_center line ends in it).
s32 says(const std::vector<std::string>& all, s32 id) {
    const std::string tail = " " + std::to_string(id);
    return s32(std::count_if(all.begin(), all.end(), [&](const std::string& l) {
        return l.rfind("say", 0) == 0 && l.size() > tail.size() &&
               l.compare(l.size() - tail.size(), tail.size(), tail) == 0;
    }));
}

// What the walk saw, step by step.
struct Walk {
    enum Step { ARRIVING, OPENING, TALKING, TO_DOOR, ON_10, BACK_ON_12, EVENING } step = ARRIVING;
    s32 frames = 0;
    s32 day_map = -1, day_x = -1, day_y = -1, day_hour = -1, day_minute = -1;
    s32 on10_x = -1, on10_y = -1, back_x = -1, back_y = -1;
};
Walk walk;

// The player record as the first day's handler left it.
PlayerRecord handed_over;
s32 handed_over_turns = -1;
// The registered handler, run by the hub with the state it hands back noted.
void first_day_noted() {
    calendar_event_000();
    handed_over = player_record;
    handed_over_turns = hub_block.turns_consumed;
}

class FirstDayScenario : public ::testing::Test, protected NameEntryClicks {
  protected:
    void SetUp() override {
        HarnessConfig c;
        c.budget_ms = 60 * 60 * 1000;
        c.budget_presents = 8000;
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_put_player_images(b);
        map_put_placeholder_maps(b);
        world_start(b, c);
        scripts_register_all();
        calendar_register_all();
        state_reset();
        hub_seams_reset();
        hub_clear_save_index_seam = save_index_clear;
        save_index_clear();
        hub_restart = 0;
        dialog_real_mode(DialogWaitAnswer::Click);
        walk = {};
        handed_over = {};
        handed_over_turns = -1;
    }
    void TearDown() override {
        calendar_event_restore(loan);
        dialog_driver_stop();
        hub_seams_reset();
        save_index_clear();
        world_stop();
    }
    HarnessTempDir dir;
    CalendarLoan loan;
};

// The player's part, one step a frame: after the arrival's hand-over, onto the step area that
// starts the opening; once the opening has started the clock, a click on the household's second
// member, through the master's door to map 10 and back; then the afternoon.
void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    ++walk.frames;
    switch (walk.step) {
    case Walk::ARRIVING:
        if (attr_get(0, ATTR_EVENT) == 132) return;
        walk.step = Walk::OPENING;
        world_hold_right_toward(attr_get(OPENING_STEP, ATTR_X), attr_get(OPENING_STEP, ATTR_Y),
                                3000);
        return;
    case Walk::OPENING:
        if (world_state.frames_per_minute == 0) return;
        walk.day_map = world_state.current_map;
        walk.day_x = attr_get(0, ATTR_X);
        walk.day_y = attr_get(0, ATTR_Y);
        walk.day_hour = world_state.hour;
        walk.day_minute = world_state.minute;
        walk.step = Walk::TALKING;
        world_click_map(attr_get(HOUSE_MEMBER, ATTR_X), attr_get(HOUSE_MEMBER, ATTR_Y) - 10);
        return;
    case Walk::TALKING:
        walk.step = Walk::TO_DOOR;
        world_hold_right_toward(attr_get(DOOR_OUT, ATTR_X), attr_get(DOOR_OUT, ATTR_Y), 1000);
        return;
    case Walk::TO_DOOR:
        if (world_state.current_map != 10) return;
        walk.on10_x = attr_get(0, ATTR_X);
        walk.on10_y = attr_get(0, ATTR_Y);
        walk.step = Walk::ON_10;
        // Aimed a little past the door's foot point, into its box.
        world_hold_right_toward(attr_get(DOOR_BACK, ATTR_X), attr_get(DOOR_BACK, ATTR_Y) - 8, 1000);
        return;
    case Walk::ON_10:
        if (world_state.current_map != 12) return;
        walk.back_x = attr_get(0, ATTR_X);
        walk.back_y = attr_get(0, ATTR_Y);
        walk.step = Walk::BACK_ON_12;
        return;
    case Walk::BACK_ON_12:
        // The afternoon passes uneventfully: the clock is set to the last frames before 15:00
        // and runs there by frames (the director looks at the hour every frame).
        world_state.hour = u8(HOUSE_EVENING_HOUR - 1);
        world_state.minute = 59;
        world_state.minute_frames = u16(world_state.frames_per_minute - 5);
        walk.step = Walk::EVENING;
        return;
    case Walk::EVENING:
        return;
    }
}

TEST_F(FirstDayScenario, ANewGamePlaysItsFirstDayAndComesBackToTheHubIll) {
    // ---- The name entry: no index in the game directory, so it comes at once.
    type(ZHONG);
    pick(0);
    ok();
    type(ZHONG);
    pick(1);
    ok();
    game_start();
    harness_advance(50);
    harness_pump();
    ASSERT_EQ(harness_pending_input(), 0u) << "the name entry ended before its clicks";
    ASSERT_EQ(hub_block.calendar_turn, 0);
    ASSERT_EQ(attr_get(0, ATTR_MAP), 10);
    ASSERT_STREQ(calendar_event_owner(0), FIRST_DAY_OWNER);
    loan = calendar_event_borrow(0, first_day_noted, "first day scenario");
    ASSERT_EQ(loan.slot, 0);

    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, 10, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);

    // Where the new game stands before its day: the day's save keeps this.
    const s32 start_x = attr_get(0, ATTR_X), start_y = attr_get(0, ATTR_Y);
    const s32 start_hour = world_state.hour, start_minute = world_state.minute;

    // ---- Turn 0: the first day is its after-turn event.
    hub_pass();
    harness_advance(50);
    harness_pump();
    ASSERT_EQ(walk.step, Walk::EVENING) << "the walk stopped at step " << walk.step;
    EXPECT_EQ(walk.day_map, 12);
    EXPECT_EQ(walk.day_x, 437);
    EXPECT_EQ(walk.day_y, 245);
    EXPECT_EQ(walk.day_hour, 6);
    EXPECT_EQ(walk.day_minute, 30);
    EXPECT_EQ(walk.on10_x, 410);
    EXPECT_EQ(walk.on10_y, 2696);
    EXPECT_EQ(walk.back_x, 360);
    EXPECT_EQ(walk.back_y, 364);

    // The director ended the day at 15:00 with the evening on map 21, and switched itself off.
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(world_state.hour, HOUSE_EVENING_HOUR);
    EXPECT_EQ(world_state.current_map, HOUSE_EVENING_MAP);
    EXPECT_EQ(attr_get(FIRST_DAY_DIRECTOR, ATTR_ACTIVE), 0);
    const std::vector<std::string> lines = dialog_lines();
    EXPECT_EQ(count_of(lines, "say 1 1207 10716"), 1) << "the evening's last line";
    EXPECT_EQ(says(lines, 20453), 1) << "the arrival";
    EXPECT_EQ(says(lines, 10037), 1) << "the opening's first line";
    EXPECT_EQ(says(lines, 10077), 1) << "the opening's last line";
    EXPECT_EQ(says(lines, 10115), 1) << "the second member's answer to the click";
    EXPECT_EQ(says(lines, HOUSE_EVENING_LINE_ELSEWHERE), 1) << "the evening, called from map 12";
    EXPECT_EQ(count_of(lines, "music 10057 0"), 1) << "the home map's track after the arrival";

    // ---- The hand-over: the hub's starting state, one turn used.
    EXPECT_EQ(handed_over.area, AREA_HUB);
    EXPECT_EQ(handed_over.music_id, FIRST_DAY_MUSIC);
    EXPECT_EQ(handed_over.condition, FIRST_DAY_CONDITION);
    EXPECT_EQ(handed_over.mood, FIRST_DAY_MOOD);
    EXPECT_EQ(handed_over.stamina, FIRST_DAY_STAMINA);
    EXPECT_EQ(handed_over.sick_turns, FIRST_DAY_SICK_TURNS);
    EXPECT_EQ(handed_over.turn_done, 0);
    EXPECT_EQ(handed_over_turns, 1);

    // ---- Back in the hub at turn 1: turn 0's end counted the first turn of the sickness.
    const PlayerRecord& p = player_record;
    EXPECT_EQ(hub_block.calendar_turn, 1);
    EXPECT_EQ(p.area, AREA_HUB);
    EXPECT_EQ(p.music_id, FIRST_DAY_MUSIC);
    EXPECT_EQ(p.condition, FIRST_DAY_CONDITION);
    EXPECT_EQ(p.mood, FIRST_DAY_MOOD);
    EXPECT_EQ(p.stamina, FIRST_DAY_STAMINA);
    EXPECT_EQ(p.sick_turns, FIRST_DAY_SICK_TURNS - 1);
    EXPECT_EQ(p.hp, p.hp_max);
    EXPECT_EQ(hub_block.hub_menu_avail[0][FIRST_DAY_TOP_BUTTON], 1);
    for (s32 level = 0; level < FIRST_DAY_MENU_LEVELS; level++)
        EXPECT_EQ(hub_block.hub_menu_avail[level][FIRST_DAY_BACK_BUTTON], 1) << level;
    std::vector<std::string> music;
    for (const std::string& l : lines)
        if (l.rfind("music", 0) == 0) music.push_back(l);
    ASSERT_FALSE(music.empty());
    EXPECT_EQ(music.back(), "music 10061 0");

    // ---- The day's start was saved in slot 0 (and only there), and loads back into the day.
    EXPECT_EQ(file_bytes("QuorSave.000").size(), size_t(SAVE_IMAGE_SIZE));
    EXPECT_TRUE(file_bytes("QuorSave.100").empty());
    EXPECT_TRUE(file_bytes("QuorSave.300").empty()) << "turn 0 is not autosaved";
    ASSERT_EQ(save_index[0].used, 1);
    const std::vector<u8> index = file_bytes(SAVE_INDEX_NAME);
    ASSERT_EQ(index.size(), sizeof save_index);
    EXPECT_EQ(index[0], 1) << "slot 0 is listed on disk";
    // Loaded from the hub at turn 1: another turn, so the hub starts a pass of the loaded one.
    ASSERT_EQ(load_game(0), 1);
    EXPECT_EQ(hub_restart, 1);
    EXPECT_EQ(world_state.field_active, 1);
    EXPECT_EQ(hub_block.calendar_turn, 0);
    EXPECT_EQ(world_state.hour, start_hour);
    EXPECT_EQ(world_state.minute, start_minute);
    EXPECT_EQ(world_state.frames_per_minute, 0) << "stopped until the opening starts it";
    EXPECT_EQ(attr_get(0, ATTR_MAP), 10) << "the field loop opens the player's map";
    EXPECT_EQ(attr_get(0, ATTR_X), start_x);
    EXPECT_EQ(attr_get(0, ATTR_Y), start_y);
    EXPECT_EQ(attr_get(FIRST_DAY_DIRECTOR, ATTR_ACTIVE), 1);
    EXPECT_EQ(player_record.area, FIRST_DAY_AREA);
}

} // namespace
