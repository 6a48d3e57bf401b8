// The opening turns as a player meets them, headless on the placeholder archive: a new game plays
// its first day (the day's director stands in and ends it at once), the game is saved at turn 1,
// and the test loads that save and plays on by real input: each dashboard is answered by a click
// on rest, every handler's line by a click, its choices from a queue and its screens by clicks on
// their answers. A good student reaches turn 35 with the full menus open; a poor one fails the
// entry test of turn 10, and the program ends.
#include "calendar/calendar_register.h"
#include "calendar/first_day.h"
#include "calendar/frame.h"
#include "calendar/opening.h"
#include "calendar/opening_screens.h"
#include "data/hub_block.h"
#include "data/schedule.h"
#include "engine/math.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/dashboard.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/opening_player.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Every random draw of the handlers: the first value (the arrival's cure comes).
s32 first_value(s32) {
    return 0;
}

void day_ends_at_once() {
    player_record.turn_done = 0;
    world_state.field_active = 0;
}

class OpeningScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        HarnessConfig c;
        c.budget_ms = 40 * 60 * 1000;
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
        cal_rand_seam = rand_below;
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

OpeningClick grid_point(s32 kind, s32 column_shift = 0) {
    const GridBoard& b = GRID_BOARDS[kind - 1];
    return {GRID_POINT_OFFSETS[b.column + column_shift] + GRID_POINT_WINDOW_X + 4,
            GRID_POINT_OFFSETS[b.row] + GRID_POINT_WINDOW_Y + 4};
}

// The text ids the hub's dialogue showed, in order.
std::vector<s32> hub_texts() {
    std::vector<s32> out;
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == TRANSCRIPT_HUB_SHOW || e.kind == TRANSCRIPT_HUB_SAY) out.push_back(e.text[0]);
    return out;
}

// 1 when `seq` appears in `all` in this order (not necessarily next to each other).
bool in_order(const std::vector<s32>& all, const std::vector<s32>& seq) {
    auto it = all.begin();
    for (s32 id : seq) {
        it = std::find(it, all.end(), id);
        if (it == all.end()) return false;
        ++it;
    }
    return true;
}

} // namespace

TEST_F(OpeningScenario, AGoodStudentPlaysTurnsOneToThirtyFiveAndHasTheFullMenus) {
    first_day_then_save();
    // A fresh program state, then the save of turn 1.
    state_reset();
    game_tables_init();
    ASSERT_EQ(load_game(SAVE_SLOT), 1);
    ASSERT_EQ(hub_block.calendar_turn, 1);
    ASSERT_GT(player_record.sick_turns, 0) << "the first day leaves the protagonist ill";
    cal_rand_seam = first_value;
    dialog_transcript_mode();
    dialog_record_draws(true);
    // Turn 3: stay to be cured; turn 4: no second demonstration, the right note; turn 21: the
    // second art; turn 25: the third weapon.
    dialog_answers({0, 0, 0, 1, 2});
    // Turn 6: the three boards right; turn 14: the sought point at once.
    opening_play(
        {{grid_point(1)},
         {grid_point(2)},
         {grid_point(3)},
         {{PICTURE_POINTS[PICTURE_POINT_SOUGHT].x, PICTURE_POINTS[PICTURE_POINT_SOUGHT].y}}},
        [] { player_at_dashboard(nullptr, 0); });
    while (hub_block.calendar_turn <= 35) {
        const s32 turn = hub_block.calendar_turn;
        hub_pass();
        ASSERT_GT(hub_block.calendar_turn, turn) << "turn " << turn << " did not pass";
    }
    EXPECT_EQ(hub_block.calendar_turn, 36);
    EXPECT_EQ(rests, 35) << "one rest a turn";
    EXPECT_EQ(dialog_answers_left(), 0u);

    // Every opening event ran once, in the order of its turn, and the right branches were taken.
    const std::vector<s32> texts = hub_texts();
    const std::vector<s32> firsts = {11000, 30461, 30471, 11066, 11085, 11030, 11048,
                                     56120, 11141, 11172, 11186, 11055, 30948, 30952,
                                     15600, 42051, 15610, 15617, 15622, 15629, 15661};
    EXPECT_TRUE(in_order(texts, firsts));
    // The arrival shows its first line on the faded screen, then says it.
    for (s32 id : firsts)
        EXPECT_EQ(std::count(texts.begin(), texts.end(), id), id == 11000 ? 2 : 1) << id;
    for (s32 id : {30472, 30473, 11087, 11052, 11206, 11187, 30959})
        EXPECT_EQ(std::count(texts.begin(), texts.end(), id), 0) << id;

    // What the opening built: the relations, the cure, the arts chosen and the gifts.
    const PlayerRecord& p = player_record;
    EXPECT_EQ(p.affection[OPENING_HOST], 56);
    EXPECT_EQ(p.affection[OPENING_SEARCH], 55);
    EXPECT_EQ(p.affection[OPENING_TEACHER], 54);
    EXPECT_EQ(p.affection[OPENING_SMITH], 50);
    EXPECT_EQ(p.sick_turns, 0);
    EXPECT_EQ(p.story_flags[OPENING_ART_FLAG], 1);
    EXPECT_EQ(p.story_flags[78], 2);
    EXPECT_EQ(known_has(2, 51), 1);
    EXPECT_EQ(known_has(7, 50), 1);
    EXPECT_EQ(known_has(0, 50), 1);
    EXPECT_EQ(inv_has(1460), 1);

    // Turn 35 opened the full menus and the places of set 0.
    const HubBlock& h = hub_block;
    auto open = [&](s32 level, s32 first, s32 last) {
        for (s32 b = first; b <= last; ++b)
            EXPECT_EQ(h.hub_menu_avail[level][b], 1) << "menu " << level << " " << b;
    };
    open(0, 0, 1);
    open(0, 5, 7);
    open(1, 0, 7);
    open(2, 0, 5);
    open(6, 0, 2);
    open(6, 4, 4);
    open(7, 0, 0);
    open(7, 2, 7);
    for (s32 place = 0; place <= 3; ++place) EXPECT_EQ(h.hub_third_avail[place][0], 1) << place;
    EXPECT_EQ(h.place_events[0][0][5].on, 1);
    EXPECT_EQ(h.place_events[0][3][0].on, 1) << "the smith's place, opened at turn 7";
}

TEST_F(OpeningScenario, APoorStudentFailsTheEntryTestAndTheProgramEnds) {
    first_day_then_save();
    state_reset();
    game_tables_init();
    ASSERT_EQ(load_game(SAVE_SLOT), 1);
    cal_rand_seam = first_value;
    exit_code = 0;
    dialog_transcript_mode();
    dialog_record_draws(true);
    // Turn 3: go on while ill; turn 4: the wrong note; turn 10: the test's question answered
    // wrong. The teacher's regard is then 48, inside the band that the test decides.
    dialog_answers({1, 0, 1, 1});
    // Turn 6: the first board wrong.
    opening_play({{grid_point(1, 1)}}, [] { player_at_dashboard(nullptr, 0); });
    bool ended = false;
    while (!ended && hub_block.calendar_turn <= 10) {
        const s32 turn = hub_block.calendar_turn;
        try {
            hub_pass();
        } catch (const PlatUnwind&) {
            ended = true;
            EXPECT_EQ(turn, 10);
            break;
        }
        ASSERT_GT(hub_block.calendar_turn, turn) << "turn " << turn << " did not pass";
    }
    ASSERT_TRUE(ended) << "the program went on past turn 10";
    EXPECT_EQ(player_record.affection[OPENING_TEACHER], 48);
    const std::vector<s32> texts = hub_texts();
    EXPECT_TRUE(in_order(texts, {11087, 11052, 11172, 11187, 11203, 11204, 11215}));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), 11196), 0) << "no pass";
    const std::vector<u32>& posted = harness_posted_messages();
    EXPECT_EQ(std::count(posted.begin(), posted.end(), u32(WM_CLOSE)), 1);
    EXPECT_EQ(exit_code, 0) << "the follow-up program is not started";
    EXPECT_EQ(rests, 9) << "turns 1 to 9";
}
