// Title awards: every achievement met and just missed at both standings, titles already held,
// the counted conditions, kinds outside the table, and the announcement with its fame.
#include "game/titles.h"

#include "game/inventory.h"
#include "game/player.h"
#include "tests/dialog_driver.h"
#include "tests/rules_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

class TitlesTest : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        clear_lists();
    }
    // Empty known lists and tallies; the base title only; no fame.
    static void clear_lists() {
        PlayerRecord& p = player_record;
        for (auto& list : p.known)
            for (KnownEntry& k : list) k = {-1, 0, 0};
        for (s32& t : p.item_tally) t = 0;
        for (s32& f : p.story_flags) f = 0;
        for (s32& s : p.skill) s = 0;
        for (s32& a : p.attr) a = 0;
        for (s32& t : p.titles) t = -1;
        p.titles[0] = 0;
        for (s32& a : p.album) a = -1;
        p.fame = 0;
        p.chivalry = 50;
    }
    static std::vector<s32> titles() {
        std::vector<s32> out;
        for (s32 t : player_record.titles)
            if (t != -1) out.push_back(t);
        return out;
    }
};

// Known ids first..last of a list, each at `level`.
void known_run(s32 list, s32 first, s32 last, s32 level) {
    KnownEntry* slots = player_record.known[list];
    s32 free = 0;
    while (slots[free].id != -1) ++free;
    for (s32 id = first; id <= last; ++id) slots[free++] = {id, level, 0};
}
void items_run(s32 lo, s32 hi, s32 tally = 1) {
    for (s32 i = lo; i <= hi; ++i) player_record.item_tally[i] = tally;
}
void skill(s32 k, s32 v) {
    player_record.skill[k] = v;
}

struct AwardCase {
    const char* what;
    s32 kind;
    std::function<void()> setup;
    s32 good; // title at chivalry 40 or more; -1 = nothing is awarded
    s32 low;  // title at chivalry below 40
};

// Each achievement met (with the least that meets it) and just missed.
const std::vector<AwardCase>& award_cases() {
    static const std::vector<AwardCase> cases = [] {
        std::vector<AwardCase> c = {
            {"attr 4 at 100", 0, [] { player_record.attr[4] = 100; }, 10, 33},
            {"attr 4 at 99", 0, [] { player_record.attr[4] = 99; }, -1, -1},
            {"attr 3 at 100", 0, [] { player_record.attr[3] = 100; }, -1, -1},
            {"skill 1, arts in both lists", 1,
             [] {
                 skill(1, 100);
                 known_run(1, 50, 51, 70);
                 known_run(10, 55, 55, 85);
             },
             19, 42},
            {"skill 1, two arts", 1,
             [] {
                 skill(1, 100);
                 known_run(1, 50, 51, 100);
             },
             -1, -1},
            {"skill 1, arts at 69 and outside 50..55", 1,
             [] {
                 skill(1, 100);
                 known_run(1, 50, 52, 69);
                 known_run(10, 56, 60, 100);
                 known_run(1, 49, 49, 100);
             },
             -1, -1},
            {"skill 1 at 99", 1,
             [] {
                 skill(1, 99);
                 known_run(1, 50, 55, 100);
             },
             -1, -1},
            {"skill 10, arts of list 10", 10,
             [] {
                 skill(10, 100);
                 known_run(10, 53, 55, 70);
             },
             19, 42},
            {"skill 10 without arts", 10, [] { skill(10, 100); }, -1, -1},
            {"dice 250 / 200", 9,
             [] {
                 player_record.story_flags[STORY_DICE_WINS] = 250;
                 player_record.story_flags[STORY_DICE_LOSSES] = 200;
             },
             18, 41},
            {"dice 260 / 215", 9,
             [] {
                 player_record.story_flags[STORY_DICE_WINS] = 260;
                 player_record.story_flags[STORY_DICE_LOSSES] = 215;
             },
             -1, -1},
            {"dice 199 / 0", 9, [] { player_record.story_flags[STORY_DICE_WINS] = 199; }, -1, -1},
            {"dice with damaged counters", 9,
             [] {
                 player_record.story_flags[STORY_DICE_WINS] = INT_MIN + 10;
                 player_record.story_flags[STORY_DICE_LOSSES] = INT_MAX;
             },
             -1, -1},
            {"skill 11, two items", 11,
             [] {
                 skill(11, 100);
                 items_run(950, 950);
                 items_run(953, 953, 7);
             },
             20, 43},
            {"skill 11, one item and a neighbour", 11,
             [] {
                 skill(11, 100);
                 items_run(951, 954);
                 items_run(952, 952, 0);
                 items_run(953, 953, -1);
             },
             -1, -1},
            {"skill 12, five items", 12,
             [] {
                 skill(12, 100);
                 items_run(1059, 1063);
             },
             21, 44},
            {"skill 12, four items", 12,
             [] {
                 skill(12, 100);
                 items_run(1060, 1064);
             },
             -1, -1},
            {"skill 13, five items", 13,
             [] {
                 skill(13, 100);
                 items_run(1150, 1154);
             },
             22, 45},
            {"skill 13, four items", 13,
             [] {
                 skill(13, 100);
                 items_run(1156, 1160);
             },
             -1, -1},
            {"skill 20, two at 100", 20,
             [] {
                 skill(20, 100);
                 known_run(20, 52, 53, 100);
             },
             29, 52},
            {"skill 20, at 99", 20,
             [] {
                 skill(20, 100);
                 known_run(20, 50, 53, 99);
             },
             -1, -1},
            {"skill 21, 18 known and 2 items", 21,
             [] {
                 skill(21, 100);
                 known_run(21, 50, 67, 0);
                 items_run(1900, 1900, 40); // counted once whatever its tally
                 items_run(1907, 1907);
             },
             30, 53},
            {"skill 21, 17 known and 2 items", 21,
             [] {
                 skill(21, 100);
                 known_run(21, 51, 68, 0); // 68 is outside the counted ids
                 items_run(1900, 1900, 40);
                 items_run(1907, 1907);
             },
             -1, -1},
            {"skill 21 at 99", 21,
             [] {
                 skill(21, 99);
                 known_run(21, 50, 67, 0);
                 items_run(1900, 1907);
             },
             -1, -1},
            {"skill 22, 12 known and 8 items", 22,
             [] {
                 skill(22, 100);
                 known_run(22, 58, 69, 0);
                 items_run(2000, 2007);
             },
             31, 54},
            {"skill 22, 19 known", 22,
             [] {
                 skill(22, 100);
                 known_run(22, 50, 68, 0);
             },
             -1, -1},
            {"skill 23, three at 70", 23,
             [] {
                 skill(23, 100);
                 known_run(23, 53, 55, 70);
             },
             32, 55},
            {"skill 23, two at 70", 23,
             [] {
                 skill(23, 100);
                 known_run(23, 54, 56, 70);
             },
             -1, -1},
            {"flags 62, 63, 66", 24,
             [] {
                 player_record.story_flags[62] = 1;
                 player_record.story_flags[63] = 1;
                 player_record.story_flags[66] = 1;
             },
             56, 56},
            {"flags 64, 68, 69", 24,
             [] {
                 for (s32 f : {64, 68, 69}) player_record.story_flags[f] = 1;
             },
             56, 56},
            {"flags 65, 66, 67 count once", 24,
             [] {
                 for (s32 f : {65, 66, 67}) player_record.story_flags[f] = 1;
             },
             -1, -1},
            {"flags 62, 63 and 64 at 2", 24,
             [] {
                 player_record.story_flags[62] = 1;
                 player_record.story_flags[63] = 1;
                 player_record.story_flags[64] = 2;
             },
             -1, -1},
        };
        // The achievements of a skill alone, met and missed.
        struct Plain {
            s32 kind, good, low;
        };
        const Plain plain[] = {{2, 11, 34},  {3, 12, 35},  {4, 13, 36},  {5, 14, 37},  {6, 15, 38},
                               {7, 16, 39},  {8, 17, 40},  {14, 23, 46}, {15, 24, 47}, {16, 25, 48},
                               {17, 26, 49}, {18, 27, 50}, {19, 28, 51}};
        for (const Plain& p : plain) {
            const s32 k = p.kind;
            c.push_back({"skill alone at 100", k, [k] { skill(k, 100); }, p.good, p.low});
            c.push_back({"skill alone at 99", k, [k] { skill(k, 99); }, -1, -1});
        }
        return c;
    }();
    return cases;
}

TEST_F(TitlesTest, EachAchievementAwardsItsTitleByStanding) {
    for (s32 chivalry : {40, 39}) {
        for (const AwardCase& c : award_cases()) {
            clear_lists();
            player_record.chivalry = chivalry;
            c.setup();
            title_award_check(c.kind);
            const s32 want = chivalry >= 40 ? c.good : c.low;
            const std::string at = std::string(c.what) + ", kind " + std::to_string(c.kind) +
                                   ", chivalry " + std::to_string(chivalry);
            if (want < 0) {
                EXPECT_EQ(titles(), std::vector<s32>{0}) << at;
                EXPECT_EQ(player_record.fame, 0) << at;
            } else {
                EXPECT_EQ(titles(), (std::vector<s32>{0, want})) << at;
                EXPECT_EQ(album_has(want + TITLE_ALBUM_OFFSET), 1) << at;
                EXPECT_EQ(player_record.fame, 30) << at;
            }
            // A second check of the same achievement awards nothing more.
            title_award_check(c.kind);
            EXPECT_EQ(titles().size(), want < 0 ? 1u : 2u) << at;
        }
    }
}

// Holding either title of an achievement closes it; kinds 1 and 10 share their pair of titles.
TEST_F(TitlesTest, AHeldTitleClosesItsAchievement) {
    struct Case {
        s32 kind, held;
    };
    for (const Case& c : {Case{0, 33}, Case{0, 10}, Case{1, 19}, Case{1, 42}, Case{10, 19},
                          Case{24, 56}, Case{9, 41}}) {
        clear_lists();
        title_add(c.held);
        skill(1, 100);
        skill(10, 100);
        player_record.attr[4] = 100;
        known_run(1, 50, 55, 100);
        for (s32 f : {62, 63, 64}) player_record.story_flags[f] = 1;
        player_record.story_flags[STORY_DICE_WINS] = 300;
        title_award_check(c.kind);
        EXPECT_EQ(titles(), (std::vector<s32>{0, c.held})) << "kind " << c.kind;
        EXPECT_EQ(player_record.fame, 0) << "kind " << c.kind;
    }
    // Kind 10 awarded first leaves nothing for kind 1.
    clear_lists();
    skill(1, 100);
    skill(10, 100);
    known_run(10, 50, 52, 70);
    title_award_check(10);
    title_award_check(1);
    EXPECT_EQ(titles(), (std::vector<s32>{0, 19}));
    EXPECT_EQ(player_record.fame, 30);
}

TEST_F(TitlesTest, KindsOutsideTheTableDoNothing) {
    for (s32& s : player_record.skill) s = 100;
    for (s32& a : player_record.attr) a = 100;
    for (s32 f = 62; f <= 69; ++f) player_record.story_flags[f] = 1;
    for (s32 kind : {25, -1, 26, 1000, INT_MIN, INT_MAX}) {
        title_award_check(kind);
        EXPECT_EQ(titles(), std::vector<s32>{0}) << "kind " << kind;
    }
    EXPECT_EQ(player_record.fame, 0);
    EXPECT_TRUE(dialog_transcript().empty());
}

// What a scene said, without the waits.
std::vector<std::string> said() {
    std::vector<std::string> out;
    for (const std::string& l : dialog_lines())
        if (l.rfind("wait", 0) != 0) out.push_back(l);
    return out;
}

std::vector<std::string> announcement(s32 title, s32 standing_text, s32 fame) {
    std::vector<std::string> out;
    const s32 texts[10] = {18001,         18006, 18007, 18008, 18000 + title,
                           standing_text, 18096, 18097, 18098, 18099};
    for (s32 i = 0; i < 10; ++i)
        out.push_back("hub_say " + std::to_string(i % 2 == 0 ? 1 : 0) + " 0 168 " +
                      std::to_string(texts[i]));
    out.push_back("log_number 484 " + std::to_string(fame));
    return out;
}

// The ten lines over the dashboard name the title and tell a first title from a further one,
// counted before the new title is stored; then the fame (logged with its new value).
TEST_F(TitlesTest, AnnouncementNamesTheTitleThenGivesFame) {
    player_record.fame = 980;
    skill(5, 100);
    skill(6, 100);
    title_award_check(5);
    EXPECT_EQ(said(), announcement(14, 18094, 999));
    EXPECT_EQ(player_record.fame, 999);
    EXPECT_EQ(titles(), (std::vector<s32>{0, 14}));

    dialog_transcript_mode();
    player_record.chivalry = 10;
    title_award_check(6);
    EXPECT_EQ(said(), announcement(38, 18095, 999));
    EXPECT_EQ(titles(), (std::vector<s32>{0, 14, 38}));

    // The announcement alone stores nothing.
    dialog_transcript_mode();
    player_record.fame = 0;
    title_award_show(3);
    EXPECT_EQ(said(), announcement(3, 18095, 30));
    EXPECT_EQ(titles(), (std::vector<s32>{0, 14, 38}));
}

} // namespace
