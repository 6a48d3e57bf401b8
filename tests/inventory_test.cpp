// The lists of the player record: the inventory (stacking, the obtained marker, compaction and
// unequipping on removal, a full list), the known lists, the album and titles, and the
// acquaintances with their first affection. Sounds and log lines are read from the transcript.
#include "game/inventory.h"
#include "tests/rules_fixture.h"

#include "engine/kanji.h"
#include "game/player.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class InventoryTest : public RulesTest {
  protected:
    static void hold(std::vector<InventoryEntry> entries) {
        for (size_t i = 0; i < entries.size(); ++i) player_record.inventory[i] = entries[i];
    }
    static InventoryEntry at(s32 i) { return player_record.inventory[i]; }
};

void expect_entry(InventoryEntry e, s32 item, s32 count) {
    EXPECT_EQ(e.item, item);
    EXPECT_EQ(e.count, count);
}

TEST_F(InventoryTest, AddStacksOnTheHeldEntryAndMarksTheItemObtainedOnce) {
    inv_add(1250, 2);
    EXPECT_EQ(dialog_lines(), (Lines{"sound 501 1", "log_text 457 6250"}));
    EXPECT_EQ(kanji_colour_main_555, 0x7FFF); // the line is white
    expect_entry(at(0), 1250, 2);
    EXPECT_EQ(player_record.item_tally[1250], 1);

    inv_add(1300, 1);
    player_record.item_tally[1250] = 7; // a script's counter in the tally is left alone
    inv_add(1250, 3);
    expect_entry(at(0), 1250, 5);
    expect_entry(at(1), 1300, 1);
    expect_entry(at(2), -1, 0);
    EXPECT_EQ(player_record.item_tally[1250], 7);

    player_record.item_tally[1301] = -4; // 0 or less counts as never had
    inv_add(1301, 1);
    EXPECT_EQ(player_record.item_tally[1301], 1);
}

TEST_F(InventoryTest, AddOfNothingOrOfAnUnknownItemDoesNothing) {
    for (auto [item, count] :
         std::vector<std::pair<s32, s32>>{{1250, 0}, {1250, -3}, {-1, 1}, {2500, 1}, {-7, 4}}) {
        inv_add(item, count);
        EXPECT_TRUE(dialog_lines().empty()) << item << " x " << count;
        expect_entry(at(0), -1, 0);
    }
    EXPECT_EQ(player_record.item_tally[1250], 0);
}

TEST_F(InventoryTest, FullInventoryStoresNothingAndTellsNothing) {
    // Every entry used by another id: items 0..2499 without item 7 (item 8 twice).
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) player_record.inventory[i] = {i == 7 ? 8 : i, 1};
    inv_add(7, 3);
    EXPECT_TRUE(dialog_lines().empty());
    EXPECT_EQ(player_record.item_tally[7], 0);
    EXPECT_EQ(inv_has(7), 0);
    expect_entry(at(7), 8, 1);
    // An item already held still stacks on its (first) entry.
    inv_add(8, 2);
    EXPECT_EQ(dialog_lines(), (Lines{"sound 501 1", "log_text 457 5008"}));
    expect_entry(at(7), 8, 3);
    expect_entry(at(8), 8, 1);
}

TEST_F(InventoryTest, RemovalCompactsTheListAndUnequipsTheItem) {
    hold({{1400, 1}, {1250, 3}, {1470, 2}, {2050, 1}});
    player_record.equip[0] = 0; // item 1400
    player_record.equip[1] = 0; // item 1470
    player_record.item_tally[1400] = 1;

    inv_remove(1250, 1); // still held: nothing moves
    expect_entry(at(1), 1250, 2);
    inv_remove(1400, 5); // more than held: the entry goes and the weapon comes off
    EXPECT_EQ(player_record.equip[0], -1);
    EXPECT_EQ(player_record.equip[1], 0);
    expect_entry(at(0), 1250, 2);
    expect_entry(at(1), 1470, 2);
    expect_entry(at(2), 2050, 1);
    expect_entry(at(3), -1, 0);
    EXPECT_EQ(player_record.item_tally[1400], 1);

    inv_remove(1470, 2); // exactly the count
    EXPECT_EQ(player_record.equip[1], -1);
    expect_entry(at(1), 2050, 1);
    inv_remove(1999, 1); // not held
    expect_entry(at(0), 1250, 2);
    expect_entry(at(1), 2050, 1);
    EXPECT_TRUE(dialog_lines().empty());
}

TEST_F(InventoryTest, RemovalFromAFullListFreesTheLastEntry) {
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) player_record.inventory[i] = {i, 1};
    inv_remove(0, 1);
    expect_entry(at(0), 1, 1);
    expect_entry(at(PLAYER_ITEMS - 2), PLAYER_ITEMS - 1, 1);
    expect_entry(at(PLAYER_ITEMS - 1), -1, 0);
}

TEST_F(InventoryTest, RangesReplaceAndTheFirstOfTwoEqualEntries) {
    hold({{1250, 1}, {2410, 2}, {1260, 4}});
    EXPECT_EQ(inv_has_range(1251, 1270), 1);
    EXPECT_EQ(inv_has_range(1251, 1259), 0);
    EXPECT_EQ(inv_has_range(-5, 0), 1); // free entries hold -1
    EXPECT_EQ(inv_find_range_count(1250, 1299, 2), 2);
    EXPECT_EQ(inv_find_range_count(1250, 1299, 5), -1);
    EXPECT_EQ(inv_has_count(1260, 4), 1);
    EXPECT_EQ(inv_has_count(1260, 5), 0);

    inv_replace(2410, 1250); // now two entries hold 1250
    EXPECT_TRUE(dialog_lines().empty());
    EXPECT_EQ(player_record.item_tally[1250], 0);
    EXPECT_EQ(inv_has(2410), 0);
    inv_add(1250, 1);
    expect_entry(at(0), 1250, 2);
    expect_entry(at(1), 1250, 2);
    EXPECT_EQ(inv_has_count(1250, 2), 1);

    inv_remove_range(1250, 1299, 2); // the first in list order
    expect_entry(at(0), 1250, 2);
    expect_entry(at(1), 1260, 4);
    expect_entry(at(2), -1, 0);
}

TEST_F(InventoryTest, UnequipClearsOnlyTheSlotsHoldingTheItem) {
    player_record.equip[0] = 20; // 1420
    player_record.equip[2] = 0;  // 1550
    player_record.equip[3] = 7;  // 1507
    unequip_item(1550);
    unequip_item(1399); // an empty slot 0 does not stand for 1399
    EXPECT_EQ(player_record.equip[0], 20);
    EXPECT_EQ(player_record.equip[2], -1);
    EXPECT_EQ(player_record.equip[3], 7);
    unequip_item(1507);
    EXPECT_EQ(player_record.equip[3], -1);
}

TEST_F(InventoryTest, KnownListsLogNewEntriesAndKeepTheSlotsLevel) {
    player_record.known[3][0] = {-1, 12, 7}; // a free slot keeps what it held
    known_add(3, 55);
    EXPECT_EQ(dialog_lines(), (Lines{"log 338", "log 339"}));
    EXPECT_EQ(player_record.known[3][0].id, 55);
    EXPECT_EQ(player_record.known[3][0].level, 12);
    EXPECT_EQ(player_record.known[3][0].exp, 7);
    known_add(3, 55);
    known_add(12, 4);
    EXPECT_EQ(dialog_lines(), (Lines{"log 338", "log 339", "log 338"}));
    EXPECT_EQ(known_has(12, 4), 1);
    EXPECT_EQ(known_has(12, 5), 0);

    EXPECT_EQ(known_any(12), 0); // ids below 50 do not count
    known_add(12, 50);
    EXPECT_EQ(known_any(12), 1);

    player_record.known[9][0] = {2, 40, 0};
    player_record.known[9][1] = {2, 90, 0};
    EXPECT_EQ(known_has_level(9, 2, 40), 1);
    EXPECT_EQ(known_has_level(9, 2, 41), 0); // the first entry with the id decides
    EXPECT_EQ(known_has_level(9, 3, 0), 0);

    for (s32 i = 0; i < KNOWN_SLOTS; ++i) player_record.known[20][i].id = i;
    dialog_transcript_mode();
    known_add(20, 150); // full list: nothing
    known_add(25, 1);   // no such list
    known_add(-1, 1);
    EXPECT_TRUE(dialog_lines().empty());
    EXPECT_EQ(known_has(20, 150), 0);
    EXPECT_EQ(known_has(25, 1), 0);
    EXPECT_EQ(known_any(-1), 0);
}

TEST_F(InventoryTest, TitlesAddTheirAlbumEntryEvenWhenFull) {
    EXPECT_EQ(title_count(), 0);
    EXPECT_EQ(title_has(0), 1);
    title_add(4);
    title_add(9);
    EXPECT_EQ(title_count(), 2);
    EXPECT_EQ(player_record.titles[2], 9);
    EXPECT_EQ(album_has(104), 1);
    EXPECT_EQ(album_has(109), 1);

    for (s32 i = 3; i < PLAYER_TITLES; ++i) title_add(10 + i);
    EXPECT_EQ(title_count(), 29);
    title_add(77);
    EXPECT_EQ(title_has(77), 0);
    EXPECT_EQ(album_has(177), 1);
    EXPECT_EQ(title_count(), 29);
}

TEST_F(InventoryTest, AlbumKeepsDuplicatesAndDropsWhenFull) {
    album_add(3);
    album_add(3);
    EXPECT_EQ(player_record.album[0], 3);
    EXPECT_EQ(player_record.album[1], 3);
    EXPECT_EQ(album_has(4), 0);
    for (s32 i = 2; i < PLAYER_ALBUM; ++i) album_add(1000 + i);
    album_add(5);
    EXPECT_EQ(album_has(5), 0);
    EXPECT_EQ(player_record.album[PLAYER_ALBUM - 1], 1000 + PLAYER_ALBUM - 1);
}

TEST_F(InventoryTest, AcquaintanceSetsTheFirstAffectionByAptitude) {
    struct Case {
        s32 aptitude, bonus, before, after;
    };
    // affection + bonus + 1 + (aptitude - 50) / 2, truncated toward zero, unclamped.
    for (const Case c : {Case{80, 50, -1, 65}, Case{50, 50, -1, 50}, Case{49, 35, -1, 35},
                         Case{47, 70, -1, 69}, Case{100, 70, 40, 136}}) {
        init_player();
        player_record.social_aptitude = c.aptitude;
        player_record.affection[12] = c.before;
        acquaint_add(12, c.bonus);
        EXPECT_EQ(player_record.affection[12], c.after) << c.aptitude << " " << c.bonus;
        acquaint_add(12, c.bonus); // already met: nothing
        EXPECT_EQ(player_record.affection[12], c.after);
        EXPECT_EQ(acquaint_has(12), 1);
        EXPECT_EQ(player_record.acquaintances[1], -1);
    }
    acquaint_add(500, 50); // no such person
    acquaint_add(-1, 50);
    EXPECT_EQ(player_record.acquaintances[1], -1);
}

TEST_F(InventoryTest, AcquaintancesAreSeenOnlyBeforeTheFirstFreeEntry) {
    player_record.acquaintances[0] = 4;
    player_record.acquaintances[2] = 9; // behind a free entry
    EXPECT_EQ(acquaint_has(4), 1);
    EXPECT_EQ(acquaint_has(9), 0);
    acquaint_add(9, 50); // but it is in the list: not added again
    EXPECT_EQ(player_record.acquaintances[1], -1);

    for (s32 i = 0; i < PLAYER_ACQUAINTANCES; ++i) player_record.acquaintances[i] = 100 + i;
    acquaint_add(3, 50); // full
    EXPECT_EQ(player_record.affection[3], -1);
}

} // namespace
