// The title menu and the shared slot list: the rows a header shows (every value bounded), the
// hit bands, and the menu driven by real clicks: no index, a new game over an existing index, the
// load page with its confirmation, refusals, and loads that fail.
#include "data/hub_block.h"
#include "data/schedule.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/save.h"
#include "game/slot_list.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/hub_fixture.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

// ---- Slot rows
// -----------------------------------------------------------------------------------

TEST(SlotRows, EveryHeaderValueIsBoundedBeforeItSelectsAText) {
    struct Case {
        const char* what;
        SaveSlotHeader header;
        s32 slot;
        SlotRowTexts want;
    };
    const Case cases[] = {
        {"first turn of a month, slot 0 mark", {1, 1, 9, 1, 6, 2}, 0, {320, 102, 349}},
        {"last turn of a month, slot 1 shows the hour", {1, 2, 3, 30, 23, 26}, 1, {324, 126, 373}},
        {"day 25 is the fifth turn; slots 2 and 3 show no mark",
         {1, 1, 1, 25, 6, 0},
         2,
         {324, 100, -1}},
        {"slot 3, midnight", {1, 1, 1, 7, 0, 14}, 3, {321, 114, -1}},
        {"day 0 and a negative area show nothing", {1, 1, 1, 0, 6, -1}, 1, {-1, -1, 356}},
        {"day 31 and area 100 show nothing", {1, 1, 1, 31, 6, 100}, 0, {-1, -1, 349}},
        {"hour 24 shows no mark", {1, 1, 1, 1, 24, 99}, 1, {320, 199, -1}},
        {"a negative hour shows no mark", {1, 1, 1, 1, -5, 0}, 1, {320, 100, -1}},
        {"huge values select nothing",
         {1, 9, 99, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},
         1,
         {-1, -1, -1}},
        {"most negative values select nothing",
         {1, 0, 0, s32(0x80000000), s32(0x80000000), s32(0x80000000)},
         1,
         {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        const SlotRowTexts t = slot_row_texts(c.header, c.slot);
        EXPECT_EQ(t.turn, c.want.turn) << c.what;
        EXPECT_EQ(t.area, c.want.area) << c.what;
        EXPECT_EQ(t.mark, c.want.mark) << c.what;
    }
}

TEST(SlotRows, OnlyUsedRowsAndTheAnswersAreHit) {
    const SaveSlotHeader kept[SAVE_SLOTS] = {save_index[0], save_index[1], save_index[2],
                                             save_index[3]};
    save_index_clear();
    save_index[0].used = 1;
    save_index[2].used = 1;
    save_index[3].used = 1;
    save_index[1].used = 2; // anything but 1 is empty
    struct Case {
        s32 x, y, row, hover;
    };
    const Case cases[] = {
        {191, 221, 0, 0},   {447, 241, 0, 0},   {190, 230, -1, 0},
        {448, 230, -1, -1}, {300, 220, -1, -1}, {300, 250, -1, -1}, // row 1 is not used
        {300, 271, 2, 2},   {300, 291, 2, 2},   {300, 292, 3, 3},
        {300, 312, 3, 3},   {300, 313, -1, -1}, {300, 266, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(slot_row_hit(c.x, c.y), c.row) << c.x << "," << c.y;
        EXPECT_EQ(slot_row_hover(c.x, c.y), c.hover) << c.x << "," << c.y;
    }
    EXPECT_EQ(slot_row_y(2) - slot_row_y(1), 29) << "rows 2 and 3 sit lower";

    struct Answer {
        s32 x, y, want;
    };
    const Answer answers[] = {
        {390, 321, SLOT_CONFIRM_YES},  {406, 341, SLOT_CONFIRM_YES},  {407, 330, SLOT_CONFIRM_NONE},
        {422, 321, SLOT_CONFIRM_NO},   {438, 341, SLOT_CONFIRM_NO},   {430, 342, SLOT_CONFIRM_NONE},
        {389, 330, SLOT_CONFIRM_NONE}, {439, 330, SLOT_CONFIRM_NONE},
    };
    for (const Answer& a : answers) EXPECT_EQ(slot_confirm_hit(a.x, a.y), a.want) << a.x;
    std::copy(std::begin(kept), std::end(kept), save_index);
}

// ---- The menu
// ------------------------------------------------------------------------------------

constexpr s32 ROW_X = 300;

class TitleMenuTest : public HubMenuTest {
  protected:
    // A save of the running game in `slot` at `turn` (the turn tells the loads apart).
    void save_at(s32 slot, s32 turn) {
        hub_block.calendar_turn = turn;
        world_state.day = u8(1 + 6 * (turn % 5));
        ASSERT_EQ(save_game(slot), 1) << "slot " << slot;
    }
    // The game as a fresh program would hold it before the title menu: nothing set up.
    void forget_game() {
        state_reset();
        save_index_clear();
    }
    static void click(s32 x, s32 y, s32 button = 1) { harness_click(x, y, button); }
    static void click_row(s32 slot, s32 button = 1) { click(ROW_X, slot_row_y(slot) + 8, button); }
    static void click_new_game() { click(ROW_X, 231); }
    static void click_load_page() { click(ROW_X, 281); }
    static void click_yes() { click(398, 330); }
    static void click_no() { click(430, 330); }
    static bool said(const std::string& line) {
        const std::vector<std::string> lines = dialog_lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static std::vector<u8> file_bytes(const char* name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void write_file(const char* name, const std::vector<u8>& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // Every scripted click was used by the menu.
    static void expect_script_used() {
        harness_advance(50);
        harness_pump();
        EXPECT_EQ(harness_pending_input(), 0u) << "the menu ended before the script";
    }
};

TEST_F(TitleMenuTest, WithoutAnIndexFileANewGameStartsAtOnce) {
    const u64 presents = harness_presents();
    EXPECT_EQ(title_load_menu(), 0);
    EXPECT_EQ(harness_presents(), presents) << "no title picture, no menu";
    EXPECT_TRUE(dialog_lines().empty()) << "no title music";
}

TEST_F(TitleMenuTest, ANewGameOverAnIndexKeepsTheSlotsOnDisk) {
    ASSERT_NO_FATAL_FAILURE(save_at(2, 7));
    ASSERT_NO_FATAL_FAILURE(save_at(3, 5));
    forget_game();
    click_new_game();
    EXPECT_EQ(title_load_menu(), 0);
    expect_script_used();
    EXPECT_TRUE(said("music 10076 0"));
    EXPECT_EQ(save_index[2].used, 1);
    EXPECT_EQ(save_index[3].used, 1);

    // The new game's first save lists the earlier slots beside its own.
    game_new_world();
    ASSERT_EQ(save_game(0), 1);
    const std::vector<u8> index = file_bytes(SAVE_INDEX_NAME);
    ASSERT_EQ(index.size(), sizeof save_index);
    const s32 used_at[] = {0, 24, 48, 72};
    const u8 want[] = {1, 0, 1, 1};
    for (s32 s = 0; s < SAVE_SLOTS; ++s) EXPECT_EQ(index[size_t(used_at[s])], want[s]) << s;
}

TEST_F(TitleMenuTest, TheLoadPageConfirmsAndARefusalReturnsToTheList) {
    ASSERT_NO_FATAL_FAILURE(save_at(2, 7));
    ASSERT_NO_FATAL_FAILURE(save_at(3, 5));
    forget_game();
    click_load_page();
    click_row(0);                   // not used: nothing
    click(ROW_X, 300, 2);           // a right click on the list does nothing
    click_row(3);                   // pick slot 3 ...
    click_no();                     // ... refused: back to the list
    click_row(2);                   // pick slot 2 (in the confirmation this would do nothing)
    click(600, 450, 2);             // a right click outside the box does nothing
    click(ROW_X, slot_row_y(0), 1); // a left click beside the answers does nothing
    click_yes();
    EXPECT_EQ(title_load_menu(), 3);
    expect_script_used();
    EXPECT_EQ(hub_block.calendar_turn, 7);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_TRUE(said("music 10076 0"));
}

TEST_F(TitleMenuTest, ARightClickInsideTheConfirmationReturnsToTheList) {
    ASSERT_NO_FATAL_FAILURE(save_at(2, 7));
    ASSERT_NO_FATAL_FAILURE(save_at(3, 5));
    forget_game();
    click_load_page();
    click_row(3);
    click(214, 389, 2); // inside x 213..438, y 213..390: back to the list
    click_row(2);
    click_yes();
    EXPECT_EQ(title_load_menu(), 3);
    expect_script_used();
    EXPECT_EQ(hub_block.calendar_turn, 7);
}

// The list has no way back to the first page, so after a failed load the first page comes back:
// with another slot to load, or with only the new game when every listed slot fails.
TEST_F(TitleMenuTest, AFailedLoadReturnsToTheFirstPageWithNothingLoaded) {
    struct Case {
        const char* what;
        bool good_slot_3;           // beside the broken slot 1, slot 3 holds a save of turn 5
        std::function<void()> then; // the clicks on the first page that comes back
        s32 result, turn;
    };
    const Case cases[] = {
        {"another slot from the load page", true,
         [] {
             click_load_page();
             click_row(3);
             click_yes();
         },
         4, 5},
        {"every listed slot fails: a new game", false, [] { click_new_game(); }, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        save_index_clear(); // only this case's slots are listed
        ASSERT_NO_FATAL_FAILURE(save_at(1, 9));
        if (c.good_slot_3) {
            ASSERT_NO_FATAL_FAILURE(save_at(3, 5));
        }
        std::remove("QuorSave.100");
        forget_game();
        // The two messages are closed by real clicks on the first page's new-game row: the page
        // that comes back must not take them for a choice.
        dialog_real_mode(DialogWaitAnswer::Click);
        dialog_real_input([](const TranscriptEntry&) { click_new_game(); });
        dialog_real_input([&c](const TranscriptEntry&) {
            click_new_game();
            // Half a second later, when the first page is back.
            harness_move(0, 0, at_time(harness_elapsed_ms() + 500));
            c.then();
        });
        click_load_page();
        click_row(1);
        click_yes(); // the image is gone: two messages
        EXPECT_EQ(title_load_menu(), c.result);
        expect_script_used();
        const std::vector<std::string> lines = dialog_lines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "say_center Load Error!!!"), 1);
        EXPECT_EQ(hub_block.calendar_turn, c.turn);
        EXPECT_EQ(save_index[1].used, 1) << "the broken slot stays listed";
        dialog_transcript_mode();
    }
}

TEST_F(TitleMenuTest, GameStartWithALoadedGameBuildsNoNewOne) {
    ASSERT_NO_FATAL_FAILURE(save_at(3, 5));
    forget_game();
    mssw_sfx_volume = 127;
    mssw_music_volume = 31;
    click_load_page();
    click_row(3);
    click_yes();
    game_start();
    expect_script_used();
    EXPECT_EQ(hub_block.calendar_turn, 5) << "no new game over the loaded one";
    EXPECT_EQ(hub_restart, 1);
    EXPECT_EQ(mssw_sfx_volume, 71);
    EXPECT_EQ(mssw_music_volume, 63);
}

TEST_F(TitleMenuTest, ASlotSavedInAMapEpisodePutsThePlayerBackOnItsMap) {
    world_state.field_active = 1;
    attr_set(0, ATTR_MAP, 1);
    attr_set(0, ATTR_X, 100);
    attr_set(0, ATTR_Y, 200);
    ASSERT_NO_FATAL_FAILURE(save_at(0, 3));
    forget_game();
    click_load_page();
    click_row(0);
    click_yes();
    EXPECT_EQ(title_load_menu(), 1);
    expect_script_used();
    EXPECT_TRUE(said("change_map 1 100 200"));
    EXPECT_EQ(world_state.field_active, 1) << "the episode's field loop resumes";
    EXPECT_EQ(world_state.current_map, 1);
    EXPECT_EQ(hub_block.calendar_turn, 3);
}

TEST_F(TitleMenuTest, AnIndexWithNoUsedSlotKeepsTheFirstPage) {
    struct Case {
        const char* what;
        std::vector<u8> bytes;
    };
    std::vector<u8> one_used(sizeof save_index, 0);
    one_used[48] = 1;
    const Case cases[] = {
        {"no slot used", std::vector<u8>(sizeof save_index, 0)},
        {"a short file", std::vector<u8>(one_used.begin(), one_used.begin() + 50)},
        {"an empty file", {}},
    };
    for (const Case& c : cases) {
        forget_game();
        write_file(SAVE_INDEX_NAME, c.bytes);
        click_load_page(); // nothing to list: the first page stays
        click_new_game();
        EXPECT_EQ(title_load_menu(), 0) << c.what;
        expect_script_used();
        for (s32 s = 0; s < SAVE_SLOTS; ++s) EXPECT_NE(save_index[s].used, 1) << c.what << s;
    }
}

// In the real window a press arrives while a frame is being drawn or shown, not at the moment
// the loop reads it: the confirmation must take a press that came in during its last present.
TEST_F(TitleMenuTest, TheConfirmationTakesAPressThatArrivesWhileItsFrameIsShown) {
    save_index[3] = {1, 1, 9, 1, 6, 2};
    bool sent = false;
    harness_on_present([&sent](const u16*, u64) {
        if (sent) return;
        sent = true;
        const u32 at = (331u << 16) | 398u; // on the load answer, text 326
        shell_wndproc(WM_MOUSEMOVE, 0, at);
        shell_wndproc(WM_LBUTTONDOWN, 0, at);
    });
    EXPECT_EQ(slot_confirm(3), 1);
    harness_on_present(nullptr);
}

} // namespace
