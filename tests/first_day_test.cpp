// The first day's handler: the map phase with its slot-0 save, the field loop until the day is
// ended, the hub's starting state afterwards, a resumed day and a load during the day.
#include "calendar/first_day.h"

#include "calendar/calendar_register.h"
#include "data/hub_block.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/save.h"
#include "scripts/home/household.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// What the day's last script saw when it ran.
struct Seen {
    s32 runs = 0;
    s32 field_active = -1;
    s32 slot0_used = -1;
    s32 frames_per_minute = -1;
    s32 area = -1;
};
Seen seen;
bool load_during_day = false;

// Stands in for the director: ends the day on its first run (as a load of another turn would
// when `load_during_day`).
void end_of_day() {
    seen.runs++;
    seen.field_active = world_state.field_active;
    seen.slot0_used = save_index[0].used;
    seen.frames_per_minute = world_state.frames_per_minute;
    seen.area = player_record.area;
    if (load_during_day) hub_restart = 1;
    player_record.turn_done = 0;
    world_state.field_active = 0;
}

constexpr s32 WATCHDOG = 4095;

class FirstDay : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            world_put_map(
                b, 21, 1024, 768, [](s32, s32) { return WORLD_GROUND; }, 300);
        });
        seen = {};
        load_during_day = false;
        save_index_clear();
        hub_restart = -1;
        world_state.field_active = 0;
        player_record.music_id = -1;
        player_record.area = AREA_HUB;
        player_record.clock_rate_copy = 900;
        for (auto& level : hub_block.hub_menu_avail)
            for (s32& b : level) b = 0;
        hub_block.turns_consumed = 3;
        sh_clock(8, 0, 900);
        // The director's object, created off; a watchdog ends a day that nothing ends.
        sh_object(FIRST_DAY_DIRECTOR, {.map = SH_MAP,
                                       .slot = sh_script(end_of_day),
                                       .layer = 0,
                                       .timer = 1,
                                       .active = false});
        sh_object(WATCHDOG, {.map = SH_MAP, .slot = world_end_slot(), .layer = 0, .timer = 600});
    }
    void expect_starting_state() {
        const PlayerRecord& p = player_record;
        EXPECT_EQ(p.music_id, 10061);
        EXPECT_EQ(p.area, AREA_HUB);
        EXPECT_EQ(p.condition, 6);
        EXPECT_EQ(p.mood, 3);
        EXPECT_EQ(p.stamina, 100);
        EXPECT_EQ(p.sick_turns, 5);
        for (s32 level = 0; level < HUB_MENU_LEVELS; level++)
            for (s32 b = 0; b < HUB_MENU_BUTTONS; b++) {
                const bool open = (level == 0 && b == 5) || (b == 7 && level <= 6);
                EXPECT_EQ(hub_block.hub_menu_avail[level][b], open ? 1 : 0) << level << " " << b;
            }
        EXPECT_EQ(hub_block.turns_consumed, 1);
        const std::vector<std::string> lines = sh_lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "music 10061 0");
    }
    void expect_not_watchdog() {
        EXPECT_GT(attr_get(WATCHDOG, ATTR_TIMER), 0) << "the day never ended";
    }
};

TEST_F(FirstDay, ANewGameSavesTheDayStartRunsTheDayAndHandsBackIll) {
    calendar_event_000();
    expect_not_watchdog();
    EXPECT_EQ(seen.runs, 1);
    // Before the first frame of the day: the map phase, saved in slot 0 with the loop running.
    EXPECT_EQ(seen.field_active, 1);
    EXPECT_EQ(seen.slot0_used, 1);
    EXPECT_EQ(seen.frames_per_minute, 0);
    EXPECT_EQ(seen.area, FIRST_DAY_AREA);
    EXPECT_EQ(player_record.clock_rate_copy, 0);
    EXPECT_EQ(attr_get(FIRST_DAY_DIRECTOR, ATTR_ACTIVE), 1);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(player_record.turn_done, 0);
    expect_starting_state();
    // No track before the day: the only music is the hub's.
    const std::vector<std::string> lines = sh_lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("music", 0) == 0; }),
              2); // "music -1 0" and the hub's track
    EXPECT_EQ(lines.front(), "music -1 0");
}

TEST_F(FirstDay, ASavedDayResumesWithoutPreparationAndEndsTheSameWay) {
    world_state.field_active = 1; // a day saved in slot 0 or 1 was loaded
    attr_set(FIRST_DAY_DIRECTOR, ATTR_ACTIVE, 1);
    player_record.music_id = 10057;
    player_record.area = 7;
    calendar_event_000();
    expect_not_watchdog();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(seen.slot0_used, 0) << "no new save of the day's start";
    EXPECT_EQ(seen.frames_per_minute, 900) << "the loaded clock runs on";
    EXPECT_EQ(seen.area, 7);
    EXPECT_EQ(player_record.clock_rate_copy, 900);
    EXPECT_EQ(sh_lines().front(), "music 10057 0");
    expect_starting_state();
}

TEST_F(FirstDay, ALoadOfAnotherTurnDuringTheDayKeepsTheLoadedState) {
    load_during_day = true;
    player_record.condition = 1;
    player_record.sick_turns = 0;
    calendar_event_000();
    expect_not_watchdog();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(player_record.condition, 1);
    EXPECT_EQ(player_record.sick_turns, 0);
    EXPECT_EQ(player_record.area, FIRST_DAY_AREA);
    EXPECT_EQ(hub_block.turns_consumed, 3);
    EXPECT_EQ(hub_block.hub_menu_avail[0][5], 0);
    EXPECT_NE(player_record.music_id, 10061);
}

TEST_F(FirstDay, TheDirectorEndsTheDayThroughTheRegisteredHandler) {
    calendar_register_all();
    scripts_register_all();
    ASSERT_STREQ(calendar_event_owner(0), FIRST_DAY_OWNER);
    // The real director on object 5, at the first frame of the evening.
    sh_object(FIRST_DAY_DIRECTOR,
              {.map = SH_MAP, .slot = 5, .layer = 0, .timer = 1, .active = false});
    sh_object(HOUSE_COMPANION, {.map = 12, .slot = 7, .active = false});
    sh_object(HOUSE_EVENING_HOST, {.map = 21, .x = 268, .y = 263, .slot = 7});
    sh_clock(15, 0, 0);
    player_record.turn_done = 1;
    calendar_event_run(0);
    expect_not_watchdog();
    EXPECT_EQ(attr_get(FIRST_DAY_DIRECTOR, ATTR_ACTIVE), 0) << "the director switched itself off";
    EXPECT_EQ(world_state.current_map, HOUSE_EVENING_MAP);
    EXPECT_EQ(player_record.turn_done, 0);
    const std::vector<std::string> lines = sh_lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "say 1 1207 10716"), lines.end());
    expect_starting_state();
}

} // namespace
