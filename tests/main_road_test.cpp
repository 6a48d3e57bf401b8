// The main road through the game, headless on the placeholder archive in an empty game directory:
// the real game start with a name typed by clicks through the phonetic input, the first day as
// turn 0's event, then turns of the calendar hub played by clicks on the dashboard (rest, and a
// menu path to the character screen), with the autosave, the music, the end of each turn and a
// save/load round trip checked on the files and the state.
#include "data/hub_block.h"
#include "data/schedule.h"
#include "engine/mssw.h"
#include "engine/name_entry.h"
#include "engine/text.h"
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
#include "tests/dialog_driver.h"
#include "tests/name_entry_clicks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Syllables by (initial, medial, final, tone) as the phonetic strip numbers them.
constexpr s32 ZHONG[4] = {15, 2, 12, 1}; // zhong1
constexpr s32 DE[4] = {5, 0, 3, 2};      // de, neutral tone

std::string candidate(const s32 (&s)[4], s32 i) {
    u8 lead[CANDIDATE_MAX], trail[CANDIDATE_MAX];
    const s32 n = syllable_find(syllable_table, syllable_table_size, s[0] * 5 + s[3] - 1,
                                s[1] * 16 + s[2], lead, trail, CANDIDATE_MAX);
    if (i >= n) return {};
    return {char(lead[i]), char(trail[i])};
}

std::vector<u8> file_bytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

s32 le32(const std::vector<u8>& b, size_t at) {
    return s32(u32(b[at]) | u32(b[at + 1]) << 8 | u32(b[at + 2]) << 16 | u32(b[at + 3]) << 24);
}

constexpr size_t HUB_BLOCK_AT = 271784; // the hub record's place in a save image
constexpr size_t INDEX_SLOT_3 = 72;

s32 first_day_runs = 0;
s32 info_screen_calls = 0;
s32 info_screen_from_hub = -1;

class MainRoadTest : public ::testing::Test, protected NameEntryClicks {
  protected:
    void SetUp() override {
        HarnessConfig c;
        c.budget_ms = 10 * 60 * 1000;
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_start(b, c);
        // A program that has just started: nothing set up, no load, no turn played.
        state_reset();
        hub_seams_reset();
        hub_clear_save_index_seam = save_index_clear;
        save_index_clear();
        hub_restart = 0;
        dialog_real_mode(DialogWaitAnswer::Click);
        first_day_runs = 0;
        info_screen_calls = 0;
        info_screen_from_hub = -1;
        // Turn 0's after-turn event is the first day; this road counts its run instead of playing
        // it, whether or not the calendar layer has registered the real handler already.
        first_day_loan = calendar_event_borrow(
            0, [] { ++first_day_runs; }, "main road test");
        ASSERT_EQ(first_day_loan.slot, 0);
        // The before-turn events of the turns this road plays (turns 1, 3, 20 and 21: the arrival,
        // the cure, the payment and the first art) are the calendar's own business: held out the
        // same way, so that the road is the same whether or not the calendar layer has registered
        // its handlers in this process.
        for (size_t k = 0; k < std::size(ROAD_EVENTS); ++k) {
            road_loans[k] = calendar_event_borrow(
                ROAD_EVENTS[k], [] {}, "main road test");
            ASSERT_EQ(road_loans[k].slot, ROAD_EVENTS[k]);
        }
        info_screen_seam = [](s32 from_hub) {
            ++info_screen_calls;
            info_screen_from_hub = from_hub;
        };
    }
    void TearDown() override {
        calendar_event_restore(first_day_loan);
        for (const CalendarLoan& loan : road_loans) calendar_event_restore(loan);
        dialog_driver_stop();
        hub_seams_reset();
        save_index_clear();
        world_stop();
    }

    // Dashboard clicks on the virtual clock, spaced so that each lands while the hub waits for
    // it (a turn start with its notice animation takes well under the first delay).
    u64 at = 0;
    void start_clicks() { at = harness_elapsed_ms() + 1500; }
    void dash_click(s32 x, s32 y) {
        harness_click(x, y, 1, at_time(at));
        at += 300;
    }
    void bar_button(s32 i) { dash_click(77 * i + 14 + 36, 400); }
    // The rest's wait for a button is ended by the dialogue driver with a real click.
    void rest() { bar_button(7); }
    // One turn of the hub; every scripted click must have been used by it.
    void pass() {
        hub_pass();
        harness_advance(50);
        harness_pump();
        ASSERT_EQ(harness_pending_input(), 0u) << "the pass ended before its clicks";
    }
    static s32 music_lines(const std::string& line) {
        const std::vector<std::string> lines = dialog_lines();
        return s32(std::count(lines.begin(), lines.end(), line));
    }

    HarnessTempDir dir;
    CalendarLoan first_day_loan;
    static constexpr s32 ROAD_EVENTS[] = {24, 1, 12, 15};
    CalendarLoan road_loans[std::size(ROAD_EVENTS)];
};

TEST_F(MainRoadTest, ANewGameIsNamedAndPlaysItsTurnsWithAutosaves) {
    // ---- Game start: no index in the game directory, so the name entry comes at once.
    type(ZHONG);
    pick(0);
    type(DE);
    pick(1);
    type(ZHONG);
    pick(3); // a third character: the first name part is full, nothing is added
    ok();
    type(DE);
    pick(2);
    ok();
    game_start();
    harness_advance(50);
    harness_pump();
    ASSERT_EQ(harness_pending_input(), 0u) << "the name entry ended before its clicks";

    const std::string first = candidate(ZHONG, 0) + candidate(DE, 1), second = candidate(DE, 2);
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 2u);
    auto stored = [](const std::string& typed) {
        std::string s;
        for (char ch : typed) s += char(text_is_lead(u8(ch)) ? u8(ch) ^ TEXT_KEY : u8(ch));
        return s;
    };
    EXPECT_EQ(std::string(world_state.name_slots[0]), stored(first));
    EXPECT_EQ(std::string(world_state.name_slots[1]), stored(second));
    EXPECT_EQ(mssw_sfx_volume, 71);
    EXPECT_EQ(mssw_music_volume, 63);
    EXPECT_EQ(music_lines("music 10076 0"), 1) << "the name entry's music";
    // The new game's state: start date, turn 0, the player on map 10, the schedules in place.
    EXPECT_EQ(world_state.year, 1);
    EXPECT_EQ(world_state.month, 9);
    EXPECT_EQ(world_state.day, 1);
    EXPECT_EQ(hub_block.calendar_turn, 0);
    EXPECT_EQ(hub_block.turn_events_after[0], 0);
    EXPECT_EQ(attr_get(0, ATTR_IN_USE), 1);
    EXPECT_EQ(attr_get(0, ATTR_MAP), 10);
    EXPECT_EQ(attr_get(0, ATTR_Y), 1798);
    EXPECT_EQ(attr_get(0, ATTR_TIMER), 6);
    for (s32 s = 0; s < SAVE_SLOTS; ++s) EXPECT_NE(save_index[s].used, 1);
    EXPECT_TRUE(file_bytes(SAVE_INDEX_NAME).empty()) << "nothing saved before the first turn";

    // ---- Turn 0: no autosave, no music, no dashboard; the first day is its after-turn event.
    const size_t lines_before = dialog_lines().size();
    pass();
    EXPECT_EQ(first_day_runs, 1);
    EXPECT_EQ(hub_block.calendar_turn, 1);
    EXPECT_EQ(world_state.day, 7);
    EXPECT_TRUE(file_bytes("QuorSave.300").empty()) << "turn 0 is not autosaved";
    for (size_t i = lines_before; i < dialog_lines().size(); ++i)
        EXPECT_NE(dialog_lines()[i].rfind("music", 0), 0u) << dialog_lines()[i];

    // ---- Turns 1..3 by clicks: rest, and on turn 2 the character screen through submenu 6.
    for (s32 turn = 1; turn <= 3; ++turn) {
        player_record.hp = 1;
        player_record.mp = 0;
        const s32 day = world_state.day;
        start_clicks();
        if (turn == 2) {
            bar_button(5); // submenu 6
            bar_button(0); // the character screen: uses no turn
            bar_button(7); // back to the top bar
        }
        rest();
        pass();
        SCOPED_TRACE(turn);
        EXPECT_EQ(hub_block.calendar_turn, turn + 1);
        EXPECT_EQ(world_state.day, day + 6);
        EXPECT_EQ(player_record.hp, player_record.hp_max);
        EXPECT_EQ(player_record.mp, player_record.mp_max);
        EXPECT_EQ(player_record.area, AREA_HUB);
        EXPECT_EQ(player_record.music_id, 10056); // month 9
        // The autosave of this turn's start.
        const std::vector<u8> image = file_bytes("QuorSave.300");
        ASSERT_EQ(image.size(), size_t(SAVE_IMAGE_SIZE));
        EXPECT_EQ(le32(image, HUB_BLOCK_AT + offsetof(HubBlock, calendar_turn)), turn);
        const std::vector<u8> index = file_bytes(SAVE_INDEX_NAME);
        ASSERT_EQ(index.size(), sizeof save_index);
        EXPECT_EQ(le32(index, INDEX_SLOT_3), 1);
        EXPECT_EQ(le32(index, INDEX_SLOT_3 + 12), day);
        EXPECT_EQ(le32(index, INDEX_SLOT_3 + 8), 9);
        EXPECT_EQ(le32(index, 0), 0) << "only the autosave is listed";
    }
    EXPECT_EQ(info_screen_calls, 1);
    EXPECT_EQ(info_screen_from_hub, 1);
    EXPECT_EQ(music_lines("music 10056 0"), 3);

    // ---- Music by turn and month: the last turn of a year, then a special turn, then January.
    hub_block.calendar_turn = 19;
    world_state.month = 12;
    world_state.day = 25;
    const s32 year = world_state.year;
    start_clicks();
    rest();
    pass();
    EXPECT_EQ(player_record.music_id, 10056);
    EXPECT_EQ(world_state.month, 1);
    EXPECT_EQ(world_state.day, 1);
    EXPECT_EQ(world_state.year, year + 1);
    start_clicks();
    rest();
    pass();
    EXPECT_EQ(player_record.music_id, 10021) << "turn 20";
    start_clicks();
    rest();
    pass();
    EXPECT_EQ(player_record.music_id, 10053) << "turn 21, January";
    EXPECT_EQ(music_lines("music 10021 0"), 1);
    EXPECT_EQ(music_lines("music 10053 0"), 1);
    EXPECT_EQ(hub_block.calendar_turn, 22);

    // ---- The autosave loads back byte for byte.
    const std::vector<u8> saved = file_bytes("QuorSave.300");
    ASSERT_EQ(saved.size(), size_t(SAVE_IMAGE_SIZE));
    EXPECT_EQ(le32(saved, HUB_BLOCK_AT + offsetof(HubBlock, calendar_turn)), 21);
    state_reset();
    ASSERT_EQ(load_game(3), 1);
    EXPECT_EQ(hub_block.calendar_turn, 21);
    EXPECT_EQ(hub_restart, 1);
    ASSERT_EQ(save_game(3), 1);
    EXPECT_TRUE(file_bytes("QuorSave.300") == saved) << "a load and a save change no byte";

    // ---- The loaded turn plays without an autosave; the next one loads slot 2 from the hub's
    // load menu, which ends its pass with no end of turn.
    ASSERT_EQ(save_game(2), 1);
    const s32 day_saved = world_state.day;
    start_clicks();
    rest();
    pass();
    EXPECT_EQ(hub_block.calendar_turn, 22);
    EXPECT_TRUE(file_bytes("QuorSave.300") == saved) << "no autosave right after a load";
    start_clicks();
    bar_button(5);            // submenu 6
    bar_button(2);            // the load menu
    dash_click(300, 273 + 8); // slot 2's row
    dash_click(398, 330);     // load it
    pass();
    EXPECT_EQ(hub_restart, 1);
    EXPECT_EQ(hub_block.calendar_turn, 21) << "the loaded turn, not ended";
    EXPECT_EQ(world_state.day, day_saved);
    EXPECT_EQ(le32(file_bytes("QuorSave.300"), HUB_BLOCK_AT + offsetof(HubBlock, calendar_turn)),
              22);
}

} // namespace
