// The companion visit over the dashboard: nobody to visit, the person chooser's arrows and its one
// way out, keeping company by the affection reached, and the gift outcomes by the person's taste
// (favourite, liked range, nothing) with the piece given away and the line logged.
#include "game/companion_visit.h"

#include "data/hub_block.h"
#include "game/hub_seams.h"
#include "game/info_screen.h"
#include "game/player.h"
#include "tests/info_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr s32 KEEP_COMPANY = 0, GIVE_GIFT = 1;

class CompanionVisitTest : public InfoTest {
  protected:
    static constexpr s32 CHOOSER = 938; // the picture only the person chooser draws
    const Step CHOOSE = {200, 270};     // the choose label
    const Step COLUMN0 = {529, 200};    // the gift picker's first column
    void SetUp() override {
        InfoTest::SetUp();
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        player_record.social_aptitude = 50; // no chance bonus on top of a gain
    }
    static void meet(const std::vector<s32>& people, s32 affection) {
        for (size_t i = 0; i < people.size(); ++i) {
            player_record.acquaintances[i] = people[i];
            player_record.affection[people[i]] = affection;
        }
    }
    static s32 held(s32 item) {
        for (const InventoryEntry& e : player_record.inventory)
            if (e.item == item) return e.count;
        return 0;
    }
    static size_t count_lines(const std::string& line) {
        const std::vector<std::string> lines = dialog_lines();
        return size_t(std::count(lines.begin(), lines.end(), line));
    }
    static bool has_line_starting(const std::string& prefix) {
        const std::vector<std::string> lines = dialog_lines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }
};

TEST_F(CompanionVisitTest, WithNobodyMetOnlyTheNoticeIsSaidAndTheVisitIsUsedUp) {
    hub_block.hub_menu_avail[7][6] = 1;
    const PlayerRecord before = player_record;
    dialog_answer(GIVE_GIFT);
    companion_visit_screen();
    EXPECT_EQ(count_lines("hub_say 1 -1 175 11387"), 1u);
    EXPECT_TRUE(has_line_starting("hub_choose 0 0 175 11388 11389"));
    EXPECT_EQ(count_lines("hub_say 1 0 175 11391"), 1u);
    EXPECT_EQ(count_lines("hub_say 1 0 175 11393"), 1u);
    EXPECT_FALSE(has_line_starting("log_number 433"));
    EXPECT_EQ(hub_block.hub_menu_avail[7][6], 0);
    EXPECT_EQ(hub_block.scene_backdrop, COMPANION_BACKDROP);
    EXPECT_TRUE(std::equal(std::begin(before.affection), std::end(before.affection),
                           std::begin(player_record.affection)));
}

TEST_F(CompanionVisitTest, ThePlayerMustChooseAPersonAndTheArrowsLeadThere) {
    meet({11, 84, 33}, 40);
    dialog_answer(KEEP_COMPANY);
    const Step next = {235, 349};
    script({next, {300, 200, 2} /* no way back */, next, CHOOSE}, CHOOSER);
    companion_visit_screen();
    EXPECT_TRUE(script_done());
    EXPECT_EQ(player_record.affection[33], 43);
    EXPECT_EQ(player_record.affection[11], 40);
    EXPECT_EQ(player_record.affection[84], 40);
    EXPECT_EQ(count_lines("log_number 433 43"), 1u);
    EXPECT_TRUE(drew_at(all(), 1033, 220, 145));
    EXPECT_TRUE(printed_at(all(), COMPANION_CHOOSE_TEXT, 192, 251));
}

TEST_F(CompanionVisitTest, KeepingCompanyGainsLessTheCloserThePersonIs) {
    struct Case {
        s32 affection, after;
    };
    for (const Case& c : {Case{59, 62}, Case{60, 62}, Case{69, 71}, Case{70, 71}, Case{100, 100}}) {
        meet({84}, c.affection);
        dialog_answer(KEEP_COMPANY);
        script({CHOOSE}, CHOOSER);
        companion_visit_screen();
        EXPECT_EQ(player_record.affection[84], c.after) << c.affection;
        EXPECT_EQ(count_lines("log_number 433 " + std::to_string(c.after)), 1u) << c.affection;
        dialog_transcript_clear();
    }
}

TEST_F(CompanionVisitTest, AGiftPleasesByThePersonsTaste) {
    struct Case {
        const char* what;
        s32 person, item, affection, after;
    };
    const Case cases[] = {
        {"a favourite", 84, 951, 85, 100},
        {"a liked item, close already", 84, 949, 85, 88},
        {"a liked item", 84, 949, 50, 55},
        {"an item outside both", 84, 954, 50, 50},
        {"a favourite inside the liked range", 89, 1050, 20, 35},
        {"someone without preferences", 0, 951, 30, 30},
    };
    for (const Case& c : cases) {
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        player_record.inventory[0] = {c.item, 2};
        player_record.inventory[1] = {1250, 1};
        meet({c.person}, c.affection);
        dialog_answer(GIVE_GIFT);
        const size_t mark = all().size();
        script({CHOOSE, COLUMN0}, CHOOSER);
        companion_visit_screen();
        EXPECT_TRUE(script_done()) << c.what;
        EXPECT_EQ(player_record.affection[c.person], c.after) << c.what;
        EXPECT_EQ(held(c.item), 1) << c.what << ": one piece given";
        EXPECT_EQ(held(1250), 1) << c.what;
        EXPECT_EQ(count_lines("hub_say 1 0 175 11392"), 1u) << c.what;
        EXPECT_EQ(count_lines("log_number 433 " + std::to_string(c.after)), 1u) << c.what;
        // The picker is the item page's grid over the dashboard, without the tab row and the
        // kind caption.
        const std::vector<TranscriptEntry> seen = since(mark);
        EXPECT_TRUE(drew(seen, 915) && drew(seen, 911) && drew(seen, 929)) << c.what;
        EXPECT_TRUE(printed_at(seen, 5000 + c.item, 522, 147)) << c.what << ": hovered name";
        for (const s32 tab : {901, 902, 903, 904, 905}) EXPECT_FALSE(drew(seen, tab)) << c.what;
        EXPECT_FALSE(std::any_of(seen.begin(), seen.end(), [](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_PRINT && e.x == 460 && e.y == 284;
        })) << c.what;
        dialog_transcript_clear();
    }
}

TEST_F(CompanionVisitTest, AGiftVisitWithNothingToGiveKeepsCompany) {
    meet({84}, 50);
    dialog_answer(GIVE_GIFT);
    script({CHOOSE}, CHOOSER);
    companion_visit_screen();
    EXPECT_EQ(count_lines("hub_say 1 0 175 11394"), 1u);
    EXPECT_EQ(count_lines("hub_say 0 0 175 11395"), 1u);
    EXPECT_EQ(count_lines("hub_say 1 0 175 11392"), 0u);
    EXPECT_EQ(player_record.affection[84], 53);
    EXPECT_EQ(count_lines("log_number 433 53"), 1u);
}

TEST(CompanionVisitSeams, TheHubOpensTheRealScreens) {
    hub_seams_reset();
    EXPECT_EQ(companion_visit_screen_seam, &companion_visit_screen);
    EXPECT_EQ(info_screen_seam, &info_screen);
}

} // namespace
