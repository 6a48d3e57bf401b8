// The dashboard, its menu bar and the affection screen, observed through the recorded draws and
// prints of the transcript on the placeholder archive.
#include "game/dashboard.h"

#include "data/hub_block.h"
#include "data/item_tables.h"
#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "tests/hub_fixture.h"

#include <algorithm>
#include <cstdlib>

namespace {

class DashboardTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        dialog_record_draws(true);
        dashboard_anim = 0;
        dashboard_title = 0;
    }
    // The draws and prints of one `hub_draw`.
    std::vector<TranscriptEntry> frame() {
        dialog_transcript_clear();
        hub_draw();
        return dialog_transcript();
    }
    static s64 count_draws(const std::vector<TranscriptEntry>& t, s32 id) {
        return std::count_if(t.begin(), t.end(), [id](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_DRAW && e.id == id;
        });
    }
    static bool drawn(const std::vector<TranscriptEntry>& t, s32 id, s32 x, s32 y) {
        return std::any_of(t.begin(), t.end(), [=](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_DRAW && e.id == id && e.x == x && e.y == y;
        });
    }
    static bool printed(const std::vector<TranscriptEntry>& t, s32 text, s32 x, s32 y) {
        return std::any_of(t.begin(), t.end(), [=](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_PRINT && e.text[0] == text && e.x == x && e.y == y;
        });
    }
    // The texts printed in the month column (x 550), top to bottom, digits as -(value + 1).
    static std::vector<s32> month_column(const std::vector<TranscriptEntry>& t) {
        std::vector<s32> column;
        for (const TranscriptEntry& e : t)
            if (e.x == 550 && e.kind == TRANSCRIPT_PRINT)
                column.push_back(e.text[0]);
            else if (e.x == 550 && e.kind == TRANSCRIPT_PRINT_NUMBER)
                column.push_back(-(e.number + 1));
        return column;
    }
    // Every picture drawn lies in a table the dashboard knows, or is the empty entry asked for.
    static s32 portrait_drawn(const std::vector<TranscriptEntry>& t) {
        for (const TranscriptEntry& e : t)
            if (e.kind == TRANSCRIPT_DRAW && e.x == 27 && e.y == 11) return e.id;
        return -1;
    }
};

TEST_F(DashboardTest, StaminaGaugeFillsUpTo133OfIts135Columns) {
    struct Case {
        s32 stamina, filled;
    };
    for (const Case c : {Case{1000, 133}, Case{999, 132}, Case{8, 1}, Case{7, 0}, Case{0, 0},
                         Case{5000, 133}, Case{-40, 0}}) {
        player_record.stamina = c.stamina;
        const auto t = frame();
        EXPECT_EQ(count_draws(t, DASH_GAUGE_EMPTY), 135) << c.stamina;
        EXPECT_EQ(count_draws(t, DASH_GAUGE_FULL), c.filled) << c.stamina;
        if (c.filled > 0) {
            EXPECT_TRUE(drawn(t, DASH_GAUGE_FULL, 119 + c.filled - 1, 23)) << c.stamina;
            EXPECT_FALSE(drawn(t, DASH_GAUGE_FULL, 119 + c.filled, 23)) << c.stamina;
        }
    }
}

TEST_F(DashboardTest, PortraitFollowsConditionThenMoodAndAnimatesPerFrame) {
    struct Case {
        s32 condition, mood, anim, picture;
    };
    const Case cases[] = {
        {6, 1, 0, 60308},  {6, 4, 39, 60311}, {5, 0, 15, 60313}, {0, 0, 20, 60303},
        {0, 1, 35, 60305}, {0, 2, 0, 60306},  {0, 3, 0, 60307},  {4, 4, 30, 60319},
        {0, 5, 0, -1},     {0, -1, 0, -1},    {6, 0, 77, 60308}, // damaged counter restarts at 0
    };
    for (const Case& c : cases) {
        player_record.condition = c.condition;
        player_record.mood = c.mood;
        dashboard_anim = c.anim;
        EXPECT_EQ(portrait_drawn(frame()), c.picture)
            << c.condition << " " << c.mood << " " << c.anim;
    }
    dashboard_anim = 38;
    frame();
    EXPECT_EQ(dashboard_anim, 39);
    frame();
    EXPECT_EQ(dashboard_anim, 0);
}

TEST_F(DashboardTest, MonthColumnPushesDownForTwoPartMonths) {
    struct Case {
        s32 month, day;
        std::vector<s32> column; // texts; a digit d as -(d + 1)
    };
    const Case cases[] = {
        {3, 1, {-4, 304, 314}},
        {10, 7, {309, 304, 305, 308}},
        {11, 13, {309, -2, 304, 306, 308}},
        {12, 24, {309, -3, 304, 307, 308}},
        {9, 25, {-10, 304, 315}},
    };
    for (const Case& c : cases) {
        world_state.month = u8(c.month);
        world_state.day = u8(c.day);
        const auto t = frame();
        EXPECT_EQ(month_column(t), c.column) << c.month << "/" << c.day;
        // Each entry one step of 32 below the one before it, from y 163.
        s32 y = 163;
        for (const TranscriptEntry& e : t)
            if (e.x == 550 && (e.kind == TRANSCRIPT_PRINT || e.kind == TRANSCRIPT_PRINT_NUMBER)) {
                EXPECT_EQ(e.y, y);
                y += 32;
            }
        EXPECT_TRUE(drawn(t, 60325 + (c.month - 1) / 3, 518, 324)) << c.month;
    }
    world_state.month = 13; // a damaged month draws no season and reads no table
    const auto t = frame();
    for (s32 id = 60325; id <= 60329; ++id) EXPECT_EQ(count_draws(t, id), 0);
}

TEST_F(DashboardTest, TitleLineByFameAndChivalryUntilATitleIsEarned) {
    for (s32& title : player_record.titles) title = -1;
    player_record.titles[0] = 4;
    struct Case {
        s32 fame, chivalry, k;
    };
    for (const Case c :
         {Case{29, 0, 0}, Case{30, 90, 1}, Case{99, 0, 1}, Case{100, 30, 2}, Case{100, 29, 6},
          Case{250, 50, 3}, Case{399, 10, 8}, Case{400, 30, 5}, Case{999, 0, 9}}) {
        player_record.fame = c.fame;
        player_record.chivalry = c.chivalry;
        EXPECT_TRUE(printed(frame(), 3004 + c.k, 113, 50)) << c.fame << " " << c.chivalry;
    }
    player_record.titles[1] = 17;
    player_record.titles[2] = 21;
    dashboard_title = 2;
    EXPECT_TRUE(printed(frame(), 3021, 113, 50));
    for (s32 damaged : {-1, 30, 1 << 30}) {
        dashboard_title = damaged;
        const auto t = frame();
        EXPECT_FALSE(std::any_of(t.begin(), t.end(), [](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_PRINT && e.x == 113 && e.y == 50;
        })) << damaged;
    }
}

TEST_F(DashboardTest, EquipmentColumnShowsWeaponBestSkillAndBestArt) {
    for (auto& list : player_record.known)
        for (KnownEntry& e : list) e = {-1, 0, 0};
    player_record.equip[0] = player_record.equip[2] = -1;
    auto t = frame();
    EXPECT_TRUE(printed(t, 313, 54, 221));
    EXPECT_TRUE(printed(t, 313, 84, 221));
    EXPECT_TRUE(printed(t, 313, 24, 221));

    // Weapon: the stronger of slots 0 and 2, slot 0 on a tie; a damaged slot counts as empty.
    equip_table[3].power = 10;
    equip_table[150 + 2].power = 12;
    player_record.equip[0] = 3;
    player_record.equip[2] = 2;
    EXPECT_TRUE(printed(frame(), 5000 + 1550 + 2, 54, 221));
    equip_table[150 + 2].power = 10;
    EXPECT_TRUE(printed(frame(), 5000 + 1400 + 3, 54, 221));
    player_record.equip[0] = 9999;
    EXPECT_TRUE(printed(frame(), 5000 + 1550 + 2, 54, 221));
    player_record.equip[2] = -7;
    EXPECT_TRUE(printed(frame(), 313, 54, 221));

    // Known list 0: highest level, the first on a tie; ids of 49 or below are not known entries.
    player_record.known[0][0] = {49, 100, 0};
    player_record.known[0][1] = {55, 20, 0};
    player_record.known[0][2] = {60, 30, 0};
    player_record.known[0][3] = {61, 30, 0};
    EXPECT_TRUE(printed(frame(), 52560, 84, 221));
}

TEST_F(DashboardTest, StatisticsPagesShowTheirColumns) {
    player_record.attr[0] = 17;
    player_record.skill[23] = 88;
    player_record.fame = 321;
    hub_block.dashboard_page = 0;
    auto t = frame();
    auto number_at = [&t](s32 x) {
        for (const TranscriptEntry& e : t)
            if (e.kind == TRANSCRIPT_PRINT_NUMBER && e.x == x && e.y == 57) return e.number;
        return -1;
    };
    EXPECT_TRUE(printed(t, 533, 280, 9));
    EXPECT_TRUE(printed(t, 545, 280, 41));
    EXPECT_EQ(number_at(280), 17);
    EXPECT_TRUE(printed(t, 504, 610, 9));
    hub_block.dashboard_page = 1;
    t = frame();
    EXPECT_EQ(number_at(290 + 20 * 13), 88);
    EXPECT_EQ(number_at(580), 321);
    hub_block.dashboard_page = 77; // anything but 1 is page 0
    t = frame();
    EXPECT_EQ(number_at(280), 17);
}

TEST_F(DashboardTest, BackdropOutsideItsRangeIsNotDrawn) {
    hub_block.scene_backdrop = 60421;
    EXPECT_TRUE(drawn(frame(), 60421, 139, 120));
    for (s32 damaged : {0, 60399, 60428, -1}) {
        hub_block.scene_backdrop = damaged;
        const auto t = frame();
        EXPECT_FALSE(std::any_of(t.begin(), t.end(), [](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_DRAW && e.x == 139 && e.y == 120;
        })) << damaged;
    }
}

TEST_F(DashboardTest, MenuBarDrawsOnlyUsableButtonsAndTheHoveredPicture) {
    HubBlock& h = hub_block;
    for (auto& row : h.hub_menu_avail) std::fill(std::begin(row), std::end(row), 0);
    h.hub_menu_avail[3][1] = 1;
    h.hub_menu_avail[3][7] = 1;
    h.hub_menu_level = 3;
    h.hub_third_open = 0;
    harness_move(77 * 7 + 14, 347); // the top-left corner of button 7
    harness_pump();
    dialog_transcript_clear();
    hub_menu_draw();
    std::vector<std::string> lines = dialog_lines();
    EXPECT_EQ(lines,
              (std::vector<std::string>{"draw " + std::to_string(60600 + 48 + 1) + " 91 347",
                                        "draw " + std::to_string(60608 + 48 + 7) + " 553 347"}));

    // The third bar of place set 1, pointer on button 0's bottom-right corner.
    h.hub_third_open = 1;
    h.hub_menu_pick = 1;
    for (auto& place : h.hub_third_avail) place[0] = place[1] = 0;
    h.hub_third_avail[0][1] = 1;
    h.hub_third_avail[2][1] = 1;
    h.hub_third_avail[4][0] = 1; // the other set: not shown
    harness_move(87, 465);
    harness_pump();
    dialog_transcript_clear();
    hub_menu_draw();
    lines = dialog_lines();
    EXPECT_EQ(lines, (std::vector<std::string>{"draw 60752 14 347", "draw 60746 168 347"}));

    // Damaged level or pick: nothing drawn, nothing read outside the tables.
    for (s32 pick : {-1, 2, 1 << 20}) {
        h.hub_menu_pick = pick;
        dialog_transcript_clear();
        hub_menu_draw();
        EXPECT_TRUE(dialog_lines().empty()) << pick;
    }
    h.hub_third_open = 0;
    for (s32 level : {-1, 8}) {
        h.hub_menu_level = level;
        dialog_transcript_clear();
        hub_menu_draw();
        EXPECT_TRUE(dialog_lines().empty()) << level;
    }
}

TEST_F(DashboardTest, AffectionScreenPicksFacesByAffection) {
    const s32 values[5] = {70, 69, 40, 39, -1};
    for (s32 i = 0; i < 5; ++i) player_record.affection[203 + i] = values[i];
    dialog_transcript_clear();
    affection_screen();
    const auto& t = dialog_transcript();
    const s32 faces[5] = {60500, 60504, 60507, 60511, 60514};
    for (s32 i = 0; i < 5; ++i) {
        EXPECT_TRUE(drawn(t, 60515, 159 + 65 * i, 146)) << i;
        EXPECT_TRUE(drawn(t, faces[i], 168 + 65 * i, 157)) << i;
        const bool shown = std::any_of(t.begin(), t.end(), [i, &values](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_PRINT_NUMBER && e.x == 178 + 65 * i && e.y == 217 &&
                   e.number == std::max(values[i], 0);
        });
        EXPECT_TRUE(shown) << i;
    }
    EXPECT_EQ(std::count_if(t.begin(), t.end(),
                            [](const TranscriptEntry& e) { return e.kind == TRANSCRIPT_WAIT; }),
              1);
}

// A look at one dashboard frame on the placeholder archive: MORVANTA_DASH_PNG=path saves it.
TEST_F(DashboardTest, FrameOnThePlaceholderArchive) {
    hub_block.scene_backdrop = 60400;
    for (auto& row : hub_block.hub_menu_avail) std::fill(std::begin(row), std::end(row), 1);
    hub_block.hub_menu_level = 0;
    hub_block.hub_third_open = 0;
    dialog_record_draws(false);
    hub_draw();
    hub_menu_draw();
    screen_present();
    if (const char* path = std::getenv("MORVANTA_DASH_PNG")) harness_save_frame(path);
    // The backdrop shows through the frame's window, the gauge through its slot.
    const u16* screen = harness_screen();
    EXPECT_NE(screen[200 * 640 + 300], screen[100 * 640 + 100]);
}

} // namespace
