// The character and system screen driven by real clicks: which buttons exist where, the load page
// with its missing index, its loads and its failed loads, the save request, the quit confirmation,
// the tab row from the status page and from a page; and the status page's and the clock panel's
// layout where it carries the game's values.
#include "game/info_screen.h"

#include "data/hub_block.h"
#include "data/item_tables.h"
#include "data/items.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/save.h"
#include "game/slot_list.h"
#include "platform/platform.h"
#include "tests/info_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace {

constexpr s32 LOAD_X = 180, LOAD_Y = 450;
constexpr s32 SAVE_X = 470, SAVE_Y = 450;
constexpr s32 QUIT_X = 315, QUIT_Y = 460;
constexpr s32 TAB_Y = 60;
constexpr s32 ITEMS_TAB_X = 80, ALBUM_TAB_X = 195, CLOSE_TAB_X = 565;

bool has_line(const std::string& line) {
    const std::vector<std::string> lines = dialog_lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class InfoScreenTest : public InfoTest {
  protected:
    void save_at(s32 slot, s32 turn) {
        hub_block.calendar_turn = turn;
        ASSERT_EQ(save_game(slot), 1) << "slot " << slot;
    }
    static Step row(s32 slot) { return {300, slot_row_y(slot) + 8}; }
    static Step yes() { return {398, 330}; }
    static Step no() { return {430, 330}; }
    static Step close_tab(s32 hold = 1) { return {CLOSE_TAB_X, TAB_Y, 1, hold}; }
};

TEST_F(InfoScreenTest, TheSystemButtonsExistOnlyOnAMapWithThePlayersCountdownOff) {
    struct Case {
        const char* what;
        s32 from_hub, countdown;
        bool offered;
    };
    const Case cases[] = {
        {"from the hub", 1, 0, false},
        {"on a map while the countdown runs", 0, 1, false},
        {"on a map", 0, 0, true},
    };
    for (const Case& c : cases) {
        attr_set(0, ATTR_TIMER_ON, c.countdown);
        info_save_request = 0;
        const size_t mark = all().size();
        // Load (no index on disk: the two messages), quit and its refusal, then save; where the
        // buttons are inert every click falls through to the close tab.
        script({{LOAD_X, LOAD_Y}, {QUIT_X, QUIT_Y}, {378, 338}, {SAVE_X, SAVE_Y}, close_tab()});
        info_screen(c.from_hub);
        const std::vector<TranscriptEntry> seen = since(mark);
        for (const s32 image : {888, 890, 893})
            EXPECT_EQ(drew(seen, image), c.offered) << c.what << ": picture " << image;
        EXPECT_EQ(drew(seen, 895), c.offered) << c.what << ": the quit confirmation";
        EXPECT_EQ(
            std::count_if(seen.begin(), seen.end(),
                          [](const TranscriptEntry& e) { return e.kind == TRANSCRIPT_SAY_CENTER; }),
            c.offered ? 2 : 0)
            << c.what << ": the load page's messages";
        EXPECT_EQ(info_save_request, c.offered ? 1 : 0) << c.what;
        EXPECT_EQ(script_done(), !c.offered) << c.what << ": the save button ends the screen";
        EXPECT_EQ(info_running, 0);
    }
}

TEST_F(InfoScreenTest, AMissingSaveIndexShowsTwoMessagesAndTheScreenStays) {
    script({{LOAD_X, LOAD_Y}, close_tab()});
    info_screen(0);
    EXPECT_TRUE(has_line(std::string("say_center ") + SAVE_INDEX_NAME));
    EXPECT_TRUE(has_line("say_center Load Error!!!"));
    EXPECT_FALSE(drew(all(), SLOT_PANEL_IMAGE)) << "no load page without the index";
    EXPECT_TRUE(script_done()) << "the screen went on to the close tab";
    EXPECT_EQ(info_load_slot, 0);
}

TEST_F(InfoScreenTest, ALoadReplacesTheGameAndPlacesThePlayerBySlot) {
    // Slot 1 was saved on map 1 at (300, 40) inside an episode; slot 3 in the hub, but with the
    // field flag set in its image, so only the placement after the load can clear it.
    world_state.field_active = 1;
    attr_set(0, ATTR_MAP, 1);
    attr_set(0, ATTR_X, 300);
    attr_set(0, ATTR_Y, 40);
    ASSERT_NO_FATAL_FAILURE(save_at(1, 4));
    ASSERT_NO_FATAL_FAILURE(save_at(3, 6));

    struct Case {
        s32 slot;
        s32 turn;
        u8 field_active;
        bool placed_on_map;
    };
    for (const Case& c : {Case{1, 4, 1, true}, Case{3, 6, 0, false}}) {
        attr_set(0, ATTR_MAP, 10);
        world_state.field_active = 1;
        hub_block.calendar_turn = 8;
        info_load_slot = 0;
        const size_t mark = dialog_lines().size();
        script({{LOAD_X, LOAD_Y}, row(c.slot), yes()});
        info_screen(0);
        EXPECT_TRUE(script_done());
        EXPECT_EQ(info_load_slot, c.slot + 1);
        EXPECT_EQ(hub_block.calendar_turn, c.turn) << "slot " << c.slot;
        EXPECT_EQ(world_state.field_active, c.field_active) << "slot " << c.slot;
        const std::vector<std::string> lines = dialog_lines();
        const bool placed = std::find(lines.begin() + long(mark), lines.end(),
                                      "change_map 1 300 40") != lines.end();
        EXPECT_EQ(placed, c.placed_on_map) << "slot " << c.slot;
        EXPECT_EQ(hub_restart, 1) << "another turn was loaded";
        hub_restart = -1;
    }
}

TEST_F(InfoScreenTest, AFailedLoadLeavesTheRunningMapAsItWas) {
    ASSERT_NO_FATAL_FAILURE(save_at(1, 4));
    ASSERT_NO_FATAL_FAILURE(save_at(3, 4));
    for (const s32 slot : {1, 3}) {
        char name[16];
        save_image_name(slot, name);
        std::remove(name);
    }
    for (const s32 slot : {1, 3}) {
        world_state.field_active = 1;
        hub_block.calendar_turn = 8;
        hub_restart = -1;
        attr_set(0, ATTR_MAP, 10);
        const s32 loads = save_load_count;
        const size_t mark = dialog_lines().size();
        script({{LOAD_X, LOAD_Y}, row(slot), yes()});
        info_screen(0);
        const std::vector<std::string> lines = dialog_lines();
        EXPECT_NE(std::find(lines.begin() + long(mark), lines.end(), "say_center Load Error!!!"),
                  lines.end());
        EXPECT_EQ(save_load_count, loads);
        EXPECT_EQ(world_state.field_active, 1) << "slot " << slot << ": the episode goes on";
        EXPECT_EQ(hub_restart, -1) << "slot " << slot;
        EXPECT_EQ(attr_get(0, ATTR_MAP), 10) << "slot " << slot << ": no map change";
        EXPECT_EQ(std::count_if(lines.begin() + long(mark), lines.end(),
                                [](const std::string& l) { return l.rfind("change_map", 0) == 0; }),
                  0);
    }
}

TEST_F(InfoScreenTest, TheLoadAnswerCountsOnlyWhileThePlayersCountdownIsOff) {
    ASSERT_NO_FATAL_FAILURE(save_at(2, 4));
    hub_block.calendar_turn = 8;
    world_state.field_active = 1;
    // The countdown starts while the question is open: the load answer does nothing, the refusal
    // goes back to the screen.
    Step answer = yes();
    answer.before = [] { attr_set(0, ATTR_TIMER_ON, 1); };
    Step refuse = no();
    refuse.before = [] { attr_set(0, ATTR_TIMER_ON, 0); };
    script({{LOAD_X, LOAD_Y}, row(2), answer, refuse, close_tab()});
    info_screen(0);
    EXPECT_TRUE(script_done());
    EXPECT_EQ(info_load_slot, 0);
    EXPECT_EQ(hub_block.calendar_turn, 8);
    EXPECT_EQ(world_state.field_active, 1);
}

TEST_F(InfoScreenTest, QuittingIsConfirmedFirst) {
    script({{QUIT_X, QUIT_Y}, {378, 338}, {QUIT_X, QUIT_Y}, {338, 338}});
    EXPECT_THROW(info_screen(0), PlatUnwind);
    EXPECT_TRUE(script_done());
    const std::vector<u32>& posted = harness_posted_messages();
    EXPECT_EQ(std::count(posted.begin(), posted.end(), u32(WM_CLOSE)), 1);
    EXPECT_GE(draw_count(all(), 895), 2u) << "asked twice";
}

TEST_F(InfoScreenTest, TheCloseTabLeavesAPageForTheStatusPageAndTheStatusPageForGood) {
    script({
        {ITEMS_TAB_X, TAB_Y}, // the item page
        {ALBUM_TAB_X, TAB_Y}, // straight on to the album page
        close_tab(2),         // back to the status page
        close_tab(2),         // the screen closes
    });
    info_screen(1);
    EXPECT_TRUE(script_done()) << "the close tab on a page only left the page";
    EXPECT_EQ(info_running, 0);
    for (const s32 flag : {info_tab_items, info_tab_album, info_tab_arts, info_tab_people})
        EXPECT_EQ(flag, 0);
    EXPECT_EQ(info_page_open, 0);
    const std::vector<TranscriptEntry> seen = all();
    EXPECT_TRUE(drew(seen, 915)) << "the item page ran";
    EXPECT_TRUE(drew(seen, 930)) << "the album page ran";
    EXPECT_TRUE(printed_at(seen, 590, 606, 10)) << "the close caption over a page";
    EXPECT_TRUE(printed_at(seen, 3319, 606, 32)) << "the close caption over the status page";
    // The album page came straight from the item page: no frame between them shows the status
    // page alone.
    const std::vector<size_t> items = frames_where([](const auto& f) { return drew(f, 915); });
    const std::vector<size_t> album = frames_where([](const auto& f) { return drew(f, 930); });
    ASSERT_FALSE(items.empty());
    ASSERT_FALSE(album.empty());
    ASSERT_LT(items.back(), album.front());
    for (size_t k = items.back() + 1; k < album.front(); ++k)
        EXPECT_FALSE(drew(frame(k), INFO_STATUS_IMAGE)) << "frame " << k;
}

TEST_F(InfoScreenTest, TheStatusPageShowsTheValuesAsTheyStand) {
    PlayerRecord& p = player_record;
    p.attr[5] = 30;
    p.art_variety = 12;
    p.equip[3] = 1507 - EQUIP_BASE[3];
    p.equip[0] = 1401 - EQUIP_BASE[0];
    p.stamina = 555;
    const size_t mark = all().size();
    info_page_status(1);
    const std::vector<TranscriptEntry> f = since(mark);
    EXPECT_EQ(number_at(f, 550, 407), 50) << "item 1507 shows attribute 5 raised by 20";
    EXPECT_EQ(number_at(f, 506, 407), 12 + equip_table_c[7].art_variety_bonus);
    EXPECT_TRUE(drew_at(f, IMAGE_EQUIP_BASE + 1401, 117, 106));
    EXPECT_TRUE(drew_at(f, IMAGE_EQUIP_BASE + 1507, 383, 211));
    EXPECT_EQ(draw_count(f, INFO_STAMINA_COLUMN), 55u);
    EXPECT_EQ(number_at(f, 239, 423), 555);
}

TEST_F(InfoScreenTest, TheHpBarNeverRunsPastItsHundredColumns) {
    struct Case {
        s32 hp, hp_max;
        size_t columns;
    };
    const Case cases[] = {{50, 100, 50}, {300, 100, 100}, {50, 0, 0}, {50, -4, 0}, {-5, 100, 0}};
    for (const Case& c : cases) {
        player_record.hp = c.hp;
        player_record.hp_max = c.hp_max;
        const size_t mark = all().size();
        info_page_status(1);
        const std::vector<TranscriptEntry> f = since(mark);
        EXPECT_EQ(draw_count(f, INFO_HP_COLUMN), c.columns) << c.hp << " / " << c.hp_max;
    }
}

TEST_F(InfoScreenTest, TheAuraFollowsTheMpInSixPassesAFrame) {
    struct Case {
        s32 mp;
        s32 first; // -1: no aura
    };
    for (const Case& c :
         {Case{0, -1}, Case{99, 941}, Case{299, 948}, Case{599, 955}, Case{950, 962}}) {
        player_record.mp = c.mp;
        info_anim_tick = 0;
        info_anim_frame = 0;
        const size_t mark = all().size();
        for (s32 pass = 0; pass < 6 * INFO_AURA_FRAMES; ++pass) info_page_status(1);
        std::multiset<s32> aura;
        for (size_t i = mark; i < all().size(); ++i)
            if (all()[i].kind == TRANSCRIPT_DRAW && all()[i].id >= 941 && all()[i].id <= 968)
                aura.insert(all()[i].id);
        if (c.first < 0) {
            EXPECT_TRUE(aura.empty()) << "mp 0 draws no aura";
            continue;
        }
        // Frames 1..6, then 0, each for six passes.
        for (s32 k = 0; k < INFO_AURA_FRAMES; ++k)
            EXPECT_EQ(aura.count(c.first + k), 6u) << "mp " << c.mp << " frame " << k;
        EXPECT_EQ(aura.size(), size_t(6 * INFO_AURA_FRAMES));
    }
}

TEST_F(InfoScreenTest, TheClockPanelShowsTheHalfHourAndItsLabel) {
    struct Case {
        s32 hour, minute, step, lit;
    };
    const Case cases[] = {
        {16, 59, 23, 3308}, {17, 0, 0, 3309},   {5, 0, 0, 3303},    {4, 59, 23, 3302},
        {0, 0, 14, 3300},   {23, 30, 13, 3300}, {12, 31, 15, 3306},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(info_clock_step(c.hour, c.minute), c.step) << c.hour << ":" << c.minute;
        EXPECT_EQ(info_clock_lit_label(c.hour, c.minute), c.lit) << c.hour << ":" << c.minute;
        world_state.hour = u8(c.hour);
        world_state.minute = u8(c.minute);
        const size_t mark = all().size();
        info_page_clock();
        const std::vector<TranscriptEntry> f = since(mark);
        EXPECT_TRUE(drew_at(f, INFO_DIAL_IMAGE + c.step, 39, 155)) << c.hour << ":" << c.minute;
        EXPECT_TRUE(printed(f, c.lit));
    }
    EXPECT_EQ(info_clock_step(24, 0), -1);
    world_state.hour = 24;
    const size_t mark = all().size();
    info_page_clock();
    EXPECT_EQ(all().size(), mark) << "a damaged hour draws no dial";
}

TEST_F(InfoScreenTest, TheDateShowsOnlyInTheOpenWorldWithTheDaySpelled) {
    world_state.month = 3;
    world_state.hour = 8;
    hub_block.calendar_turn = 234;
    size_t mark = all().size();
    info_page_clock();
    EXPECT_FALSE(printed(since(mark), 304));
    hub_block.calendar_turn = 235;
    // What stands at (87, 128) and (111, 128): a text id, or a digit as -(digit + 1).
    struct Case {
        s32 day, first, second;
    };
    const Case cases[] = {{5, 320, -6},  {10, 320, 309}, {15, 309, -6},
                          {20, -3, 309}, {25, -3, -6},   {30, 65503, 309}};
    for (const Case& c : cases) {
        world_state.day = u8(c.day);
        mark = all().size();
        info_page_clock();
        const std::vector<TranscriptEntry> f = since(mark);
        EXPECT_EQ(number_at(f, 39, 128), 3);
        EXPECT_TRUE(printed_at(f, 304, 63, 128));
        for (const auto& [x, want] : {std::pair{87, c.first}, std::pair{111, c.second}}) {
            if (want >= 0)
                EXPECT_TRUE(printed_at(f, want, x, 128)) << "day " << c.day << " x " << x;
            else
                EXPECT_EQ(number_at(f, x, 128), -want - 1) << "day " << c.day << " x " << x;
        }
    }
}

} // namespace
