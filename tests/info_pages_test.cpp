// The character screen's pages driven by real clicks: which items the item page lists by category
// and page, what a click on an item does from the hub and from a map, the arts page's lists and
// arrows, the album's pages up to the album's end, and the acquaintances with their arrows.
#include "game/info_pages.h"

#include "data/items.h"
#include "engine/gisk.h"
#include "engine/text.h"
#include "game/companion_visit.h"
#include "game/info_screen.h"
#include "game/player.h"
#include "tests/info_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

constexpr s32 TAB_Y = 60;
constexpr s32 ITEMS_TAB_X = 80, ALBUM_TAB_X = 195, ARTS_TAB_X = 325, PEOPLE_TAB_X = 460;
constexpr s32 CLOSE_TAB_X = 565;
constexpr s32 COLUMN0_X = 529, COLUMN_Y = 200;

class InfoPagesTest : public InfoTest {
  protected:
    void SetUp() override {
        InfoTest::SetUp();
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
    }
    static void hold_items(const std::vector<InventoryEntry>& items) {
        for (size_t i = 0; i < items.size(); ++i) player_record.inventory[i] = items[i];
    }
    static s32 held(s32 item) {
        for (const InventoryEntry& e : player_record.inventory)
            if (e.item == item) return e.count;
        return 0;
    }
    static Step close_tab() { return {CLOSE_TAB_X, TAB_Y}; }
    // The item names printed in a frame, in order.
    static std::vector<s32> names(const std::vector<TranscriptEntry>& f) {
        std::vector<s32> out;
        for (const TranscriptEntry& e : f)
            if (e.kind == TRANSCRIPT_PRINT && e.text[0] >= TEXT_ITEM_NAME &&
                e.text[0] < TEXT_ITEM_DESC && (e.y == 147 || e.y == 148))
                out.push_back(e.text[0] - TEXT_ITEM_NAME);
        return out;
    }
};

TEST_F(InfoPagesTest, ACategoryOfSixteenItemsShowsFifteenAndThenOne) {
    std::vector<InventoryEntry> items = {{2060, 1}};
    for (s32 i = 0; i < 16; ++i) items.push_back({1200 + i, 1});
    items.push_back({905, 3});
    hold_items(items);
    script({
        {ITEMS_TAB_X, TAB_Y},
        {378, 115},    // category tab 5: items 1200..1299
        {118, 200},    // next page
        {554, 207},    // previous page
        {300, 200, 2}, // a right click on the grid ends the page
        close_tab(),
    });
    info_screen(1);
    ASSERT_TRUE(script_done());

    // Every frame that shows category 5 shows one of its two pages.
    const std::vector<size_t> shown =
        frames_where([](const auto& f) { return printed_at(f, 3325, 547, 148); });
    ASSERT_FALSE(shown.empty());
    std::vector<s32> first_page;
    for (s32 i = 0; i < 15; ++i) first_page.push_back(1200 + i);
    bool saw_first = false, saw_second = false;
    for (const size_t k : shown) {
        const std::vector<TranscriptEntry> f = frame(k);
        const std::vector<s32> listed = names(f);
        if (listed == first_page) {
            saw_first = true;
            EXPECT_TRUE(drew(f, 913) || drew(f, 996)) << "frame " << k << ": the next arrow";
            EXPECT_FALSE(drew(f, 912) || drew(f, 995)) << "frame " << k;
        } else {
            ASSERT_EQ(listed, std::vector<s32>{1215}) << "frame " << k;
            saw_second = true;
            EXPECT_TRUE(drew(f, 912) || drew(f, 995)) << "frame " << k << ": the previous arrow";
            EXPECT_FALSE(drew(f, 913) || drew(f, 996)) << "frame " << k;
        }
    }
    EXPECT_TRUE(saw_first);
    EXPECT_TRUE(saw_second);
    // Before the category took effect the whole inventory was listed, 2060 first.
    const std::vector<size_t> grid = frames_where([](const auto& f) { return drew(f, 915); });
    ASSERT_FALSE(grid.empty());
    EXPECT_EQ(names(frame(grid.front())).front(), 2060);
    EXPECT_EQ(info_tab_items, 0);
}

TEST_F(InfoPagesTest, AClickOnAnItemUsesItByTheRulesOfWhereTheScreenWasOpened) {
    struct Case {
        const char* what;
        s32 from_hub, item;
        bool used;   // the page closes and the item's effect shows
        s32 caption; // the kind caption while hovered, -1 none
    };
    const Case cases[] = {
        {"a consumable from the hub", 1, 1250, false, -1},
        {"food from the hub", 1, 2060, false, -1},
        {"equipment from the hub", 1, 1470, true, 710},
        {"a special item from the hub", 1, 1880, true, -1},
        {"a consumable on a map", 0, 1250, true, 701},
        {"food on a map", 0, 2060, true, 704},
        {"an item of no kind on a map", 0, 905, false, -1},
    };
    for (const Case& c : cases) {
        player_record.equip[1] = -1;
        player_record.mp_max = 50;
        player_record.fullness = 0;
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        hold_items({{c.item, 2}});
        const size_t mark = all().size();
        // A page that stays open needs one more close click before the screen closes.
        script({{ITEMS_TAB_X, TAB_Y}, {COLUMN0_X, COLUMN_Y, 1, 2}, close_tab(), close_tab()});
        info_screen(c.from_hub);
        EXPECT_EQ(script_done(), !c.used) << c.what << ": the page closed on the click";
        const std::vector<TranscriptEntry> seen = since(mark);
        EXPECT_EQ(printed_at(seen, c.caption, 460, 284), c.caption >= 0) << c.what;
        for (const s32 other : {699, 701, 704, 710})
            if (other != c.caption) {
                EXPECT_FALSE(printed_at(seen, other, 460, 284)) << c.what;
            }
        switch (c.item) {
        case 1470:
            EXPECT_EQ(player_record.equip[1], c.used ? 0 : -1) << c.what;
            break;
        case 1880:
            EXPECT_EQ(player_record.mp_max, c.used ? 53 : 50) << c.what;
            EXPECT_EQ(held(c.item), c.used ? 1 : 2) << c.what;
            break;
        default:
            EXPECT_EQ(held(c.item), c.used ? 1 : 2) << c.what;
        }
    }
}

TEST_F(InfoPagesTest, AnEquippedItemIsCaptionedAsWorn) {
    hold_items({{1470, 1}});
    player_record.equip[1] = 0;
    Step hover = {COLUMN0_X, COLUMN_Y, 2, 2}; // a right click on the column ends the page
    script({{ITEMS_TAB_X, TAB_Y}, hover, close_tab()});
    info_screen(1);
    EXPECT_TRUE(script_done());
    EXPECT_TRUE(printed_at(all(), 699, 460, 284));
    EXPECT_EQ(player_record.equip[1], 0) << "a right click uses nothing";
}

TEST_F(InfoPagesTest, TheArtsPageListsOneKnownListAtATimeAndNothingOfTheListBefore) {
    PlayerRecord& p = player_record;
    // List 2: ids 50, 51, 52 spread over its slots, 51 at level 7; list 3: id 50 alone.
    p.known[2][0] = {50, 0, 0};
    p.known[2][3] = {51, 7, 0};
    p.known[2][7] = {52, 0, 0};
    p.known[3][5] = {50, 3, 0};
    p.skill[3] = 42;
    const Step next = {170, 445};
    script({
        {ARTS_TAB_X, TAB_Y},
        {215, 159},       // cell 2
        next,             // 51
        next,             // 52
        {245, 159, 1, 2}, // cell 3, hovered for two passes first
        next,             // no next entry: nothing
        {300, 300, 2},    // a right click ends the page
        close_tab(),
    });
    info_screen(1);
    ASSERT_TRUE(script_done());
    const std::vector<TranscriptEntry> seen = all();
    for (const s32 id : {50, 51, 52}) EXPECT_TRUE(drew_at(seen, 50200 + id, 136, 246)) << id;
    EXPECT_TRUE(drew_at(seen, 702, 200, 144)) << "the selected cell";
    // The level shows for the entry that has one.
    const std::vector<size_t> level7 =
        frames_where([](const auto& f) { return number_at(f, 465, 390) == 7; });
    ASSERT_FALSE(level7.empty());
    for (const size_t k : level7) EXPECT_TRUE(drew(frame(k), 50251)) << "frame " << k;
    // List 3 shows its one entry and no arrow to a next one, and nothing else is ever shown.
    const std::vector<size_t> list3 = frames_where([](const auto& f) { return drew(f, 50350); });
    ASSERT_FALSE(list3.empty());
    for (const size_t k : list3) {
        EXPECT_FALSE(drew(frame(k), 877) || drew(frame(k), 879)) << "frame " << k;
        EXPECT_EQ(number_at(frame(k), 465, 390), 3) << "frame " << k;
    }
    EXPECT_FALSE(drew(seen, 50351));
    EXPECT_FALSE(drew(seen, 50352));
    // The hovered cell names its list and the player's skill of it.
    EXPECT_TRUE(drew_at(seen, 854, 230, 144));
    const std::vector<size_t> hover3 =
        frames_where([](const auto& f) { return printed_at(f, 553, 205, 214); });
    ASSERT_FALSE(hover3.empty());
    EXPECT_EQ(number_at(frame(hover3.front()), 253, 214), 42);
}

TEST_F(InfoPagesTest, TheAlbumEndsWithItsLastEntry) {
    // 499 entries: the last page holds entry 498 alone. The two words after the album (the
    // first affections) hold ids that must never show as entries.
    PlayerRecord& p = player_record;
    for (s32 i = 0; i < PLAYER_ALBUM; ++i) p.album[i] = i < 499 ? 200 + i : -1;
    p.affection[0] = 7;
    p.affection[1] = 8;
    std::vector<Step> steps = {{ALBUM_TAB_X, TAB_Y}};
    for (s32 i = 0; i < 167; ++i) steps.push_back({186, 204, 1, 0}); // one more than there are
    steps.push_back(close_tab());
    steps.push_back(close_tab());
    script(steps);
    info_screen(1);
    ASSERT_TRUE(script_done());

    const std::vector<size_t> album = frames_where([](const auto& f) { return drew(f, 930); });
    ASSERT_FALSE(album.empty());
    const std::vector<TranscriptEntry> first = frame(album.front());
    EXPECT_TRUE(printed_at(first, 65500, 510, 141));
    EXPECT_FALSE(drew(first, 998)) << "the first pass shows no arrow";
    EXPECT_TRUE(drew(frame(album.front() + 1), 998));

    const std::vector<TranscriptEntry> last = frame(album.back());
    EXPECT_TRUE(printed_at(last, 65300 + 200 + 498, 510, 141));
    EXPECT_EQ(std::count_if(last.begin(), last.end(),
                            [](const TranscriptEntry& e) {
                                return e.kind == TRANSCRIPT_PRINT && e.y == 141;
                            }),
              1)
        << "entries 499 and 500 are empty";
    EXPECT_TRUE(drew(last, 997));
    EXPECT_FALSE(drew(last, 998)) << "no page after the album's end";
    for (const s32 stray : {65307, 65308, 65309}) EXPECT_FALSE(printed(all(), stray)) << stray;
}

TEST_F(InfoPagesTest, TheAcquaintancesPageStepsThroughThePeopleMet) {
    PlayerRecord& p = player_record;
    const s32 people[3] = {11, 84, 33};
    for (s32 i = 0; i < 3; ++i) {
        p.acquaintances[i] = people[i];
        p.affection[people[i]] = 20 + 10 * i;
    }
    const Step next = {235, 349}, prev = {216, 349};
    script({{PEOPLE_TAB_X, TAB_Y}, next, next, next, prev, {300, 200, 2}, close_tab()});
    info_screen(1);
    ASSERT_TRUE(script_done());
    struct Want {
        s32 person, affection;
        bool prev, next;
    };
    for (const Want& w :
         {Want{11, 20, false, true}, Want{84, 30, true, true}, Want{33, 40, true, false}}) {
        const std::vector<size_t> shown =
            frames_where([&](const auto& f) { return drew_at(f, 1000 + w.person, 220, 145); });
        ASSERT_FALSE(shown.empty()) << w.person;
        for (const size_t k : shown) {
            const std::vector<TranscriptEntry> f = frame(k);
            EXPECT_EQ(drew(f, 931) || drew(f, 914), w.prev) << w.person;
            EXPECT_EQ(drew(f, 932) || drew(f, 940), w.next) << w.person;
            EXPECT_EQ(number_at(f, 507, 305), w.affection) << w.person;
            EXPECT_TRUE(printed_at(f, 65000 + w.person, 484, 142)) << w.person;
            EXPECT_TRUE(printed_at(f, 1000 + w.person, 282, 311)) << w.person;
        }
    }
    EXPECT_EQ(info_tab_people, 0);
}

TEST_F(InfoPagesTest, EveryPictureOfTheScreensIsInThePlaceholderArchive) {
    // A tour of everything the screens draw: each button, value and slot hovered (right clicks
    // there do nothing), the quit question, every page with its arrows, then a gift visit.
    PlayerRecord& p = player_record;
    std::vector<InventoryEntry> items;
    for (s32 i = 0; i < 16; ++i) items.push_back({1200 + i, 2});
    hold_items(items);
    p.equip[0] = 1;
    p.mp = 700;
    for (s32 i = 0; i < 6; ++i) p.album[i] = i;
    p.known[2][0] = {50, 1, 0};
    p.known[2][1] = {51, 1, 0};
    p.acquaintances[0] = 84;
    p.acquaintances[1] = 11;
    const auto hover = [](s32 x, s32 y) { return Step{x, y, 2, 2}; };
    script({hover(180, 450),       hover(470, 450),      hover(315, 460), hover(380, 390),
            hover(320, 270),       hover(200, 200),      {315, 460},      {378, 338}, // status page
            {ITEMS_TAB_X, TAB_Y},  Step{378, 115, 1, 2}, {118, 200},      {554, 207}, // items
            {ALBUM_TAB_X, TAB_Y},  {186, 204},           {543, 204},                  // album
            {ARTS_TAB_X, TAB_Y},   {215, 159},           {170, 445},      {470, 445}, // arts
            {PEOPLE_TAB_X, TAB_Y}, {235, 349},           {216, 349},                  // people
            {CLOSE_TAB_X, TAB_Y},  {CLOSE_TAB_X, TAB_Y}});
    info_screen(0);
    ASSERT_TRUE(script_done());
    dialog_answer(1);
    script({{200, 270}, {COLUMN0_X, COLUMN_Y}}, 938);
    companion_visit_screen();
    ASSERT_TRUE(script_done());

    std::set<s32> drawn;
    for (const TranscriptEntry& e : all())
        if (e.kind == TRANSCRIPT_DRAW) drawn.insert(e.id);
    for (const s32 must : {800, 801, 875, 878, 879, 895, 938, 995, 996, 997, 998, 50250, 50251})
        EXPECT_EQ(drawn.count(must), 1u) << must << " was not drawn on the tour";
    for (const s32 id : drawn) {
        if (id >= IMAGE_ITEM_BASE && id < IMAGE_ITEM_BASE + ITEM_COUNT)
            continue; // items: elsewhere
        EXPECT_GT(gisk_size(ARC_IMAGE_BASE + id), 0) << "picture " << id;
    }
}

} // namespace
