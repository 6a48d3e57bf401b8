// The shop screens played headless: scripted clicks (with hold counts) on the spots the screens
// answer, driven by the screen's own pass count; state deltas of money, inventory and stock, the
// log lines, and the draws of single passes where the layout is the behaviour.
#include "game/shop.h"

#include "data/items.h"
#include "data/shops.h"
#include "engine/transcript.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "tests/hub_fixture.h"
#include "tests/screen_clicks.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// Where the screens answer (both edges of every box count).
constexpr s32 ROW_CLICK_Y = 100;
constexpr s32 row_x(s32 r) {
    return 336 - 24 * r;
}
constexpr s32 minus_x(s32 j) {
    return 560 - 37 * j;
}
constexpr s32 plus_x(s32 j) {
    return 575 - 37 * j;
}
constexpr s32 BASKET_BUTTON_Y = 462;
constexpr s32 LIST_NEXT_X = 45, LIST_PREV_X = 399, LIST_ARROW_Y = 134;
constexpr s32 BUTTON_X = 304, LEAVE_Y = 334, CONFIRM_Y = 414;

ScriptedClick row(s32 pass, s32 r, s32 button = 1) {
    return {pass, row_x(r), ROW_CLICK_Y, button};
}
ScriptedClick minus(s32 pass, s32 j, s32 hold = 1) {
    return {pass, minus_x(j), BASKET_BUTTON_Y, 1, hold};
}
ScriptedClick plus(s32 pass, s32 j, s32 hold = 1) {
    return {pass, plus_x(j), BASKET_BUTTON_Y, 1, hold};
}
ScriptedClick list_next(s32 pass) {
    return {pass, LIST_NEXT_X, LIST_ARROW_Y};
}
ScriptedClick list_prev(s32 pass) {
    return {pass, LIST_PREV_X, LIST_ARROW_Y};
}
ScriptedClick leave(s32 pass) {
    return {pass, BUTTON_X, LEAVE_Y};
}
ScriptedClick confirm(s32 pass) {
    return {pass, BUTTON_X, CONFIRM_Y};
}

// The items of a shop's list in slot order.
std::vector<s32> stock_items(s32 shop) {
    std::vector<s32> items;
    for (s32 s = 0; s < shop_goods_count(shop); ++s) items.push_back(shop_slot_item(shop, s));
    return items;
}

// Item -> (price, pieces) over a shop's list: what leaving must restore, whatever the order.
std::map<s32, std::pair<s32, s32>> stock_goods(s32 shop) {
    std::map<s32, std::pair<s32, s32>> goods;
    for (s32 s = 0; s < shop_goods_count(shop); ++s)
        goods[shop_slot_item(shop, s)] = {shop_stock[shop][s].price, shop_stock[shop][s].stock};
    return goods;
}

bool same_inventory(const InventoryEntry* a, const InventoryEntry* b) {
    return std::memcmp(a, b, sizeof(InventoryEntry) * PLAYER_ITEMS) == 0;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
size_t count_suffix(const std::vector<std::string>& lines, const std::string& suffix) {
    return size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.size() >= suffix.size() &&
               l.compare(l.size() - suffix.size(), suffix.size(), suffix) == 0;
    }));
}
size_t count_prefix(const std::vector<std::string>& lines, const std::string& prefix) {
    return size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.compare(0, prefix.size(), prefix) == 0;
    }));
}

class ShopTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        dialog_record_draws(true);
        player_record.money = 5000;
        shop_screen = ShopScreen{};
    }

    // Runs a screen with the clicks. The lines of each pass are kept by pass number (a pass's
    // draws end with its present), `after_pass` sees the screen's state at the end of each pass,
    // and `end_lines` holds what the screen did after its last present (its log lines present
    // frames of their own, so they are cut from the whole transcript, not from the passes).
    void run(bool selling, s32 shop, std::vector<ScriptedClick> clicks,
             std::function<void(s32)> after_pass = nullptr) {
        dialog_transcript_clear();
        pass_lines.clear();
        std::map<s32, size_t> marks;
        shop_screen.passes = 0;
        {
            ClickScript script(&shop_screen.passes, std::move(clicks));
            script.busy_while([] { return shop_screen.full; });
            script.on_pass([&](s32 p) {
                marks[p] = dialog_transcript().size();
                if (after_pass) after_pass(p);
            });
            if (selling)
                shop_sell(shop);
            else
                shop_buy(shop);
        }
        const std::vector<std::string> all = dialog_lines();
        const s32 last = shop_screen.passes;
        size_t from = 0;
        for (s32 p = 1; p < last; ++p) {
            const size_t to = marks.count(p) ? marks[p] : from;
            pass_lines[p].assign(all.begin() + ptrdiff_t(from), all.begin() + ptrdiff_t(to));
            from = to;
        }
        end_lines.assign(all.begin() + ptrdiff_t(from), all.end());
    }

    void hold(s32 item, s32 count, s32 at) {
        player_record.inventory[at] = {item, count};
        player_record.item_tally[item] = 1;
    }

    std::map<s32, std::vector<std::string>> pass_lines;
    std::vector<std::string> end_lines; // what the screen did after its last present

    // A new game's player record and shop stock, for each case of a table.
    static void fresh_game() {
        init_player();
        init_shop_stock();
        player_record.money = 5000;
    }
};

} // namespace

TEST(ShopTerms, EveryShopTheScreensOpen) {
    struct Case {
        std::vector<s32> shops;
        ShopTerms terms;
    };
    const Case cases[] = {
        {{0, 26, 35}, {1200, 1200, 1299, true}},
        {{1}, {2100, 2100, 2199, false}},
        {{2, 14, 27}, {2200, 2200, 2299, false}},
        {{3, 15, 28}, {2400, 800, 1199, false}},
        {{4, 16}, {2000, 2000, 2099, false}},
        {{5, 17}, {2300, 2300, 2359, false}},
        {{6, 18, 30}, {1400, 1400, 1599, false}},
        {{7, 19}, {1860, 1860, 1889, false}},
        {{8, 20}, {1840, 1840, 1859, false}},
        {{9}, {1800, 1800, 1819, false}},
        {{12}, {0, 0, 2359, true}},
        {{13}, {2282, 2282, 2288, false}},
        {{21}, {2289, 2289, 2295, false}},
        {{22}, {1000, 1000, 1049, false}},
        {{24}, {2275, 2275, 2281, false}},
        {{25}, {2296, 2296, 2299, false}},
    };
    std::vector<s32> opened;
    for (const Case& c : cases) {
        for (const s32 shop : c.shops) {
            ShopTerms t{};
            ASSERT_TRUE(shop_terms(shop, &t)) << shop;
            EXPECT_EQ(t.base, c.terms.base) << shop;
            EXPECT_EQ(t.sell_first, c.terms.sell_first) << shop;
            EXPECT_EQ(t.sell_last, c.terms.sell_last) << shop;
            EXPECT_EQ(t.after_column, c.terms.after_column) << shop;
            opened.push_back(shop);
        }
    }
    for (s32 shop = -1; shop <= SHOP_COUNT; ++shop) {
        if (std::count(opened.begin(), opened.end(), shop) != 0) continue;
        ShopTerms t{-7, -7, -7, true};
        EXPECT_FALSE(shop_terms(shop, &t)) << shop;
        EXPECT_EQ(t.base, -7) << shop;
    }
}

TEST_F(ShopTest, LastPieceLeavesTheListAndComesBackAtItsEnd) {
    // Shop 1 holds one piece of each good: 2150, 2151, 2160, 2161, 2101.
    const auto goods_before = stock_goods(1);
    const InventoryEntry* inv = player_record.inventory;
    std::vector<InventoryEntry> inv_before(inv, inv + PLAYER_ITEMS);
    std::map<s32, std::vector<s32>> items_at;
    std::map<s32, s32> source_at;
    run(false, 1, {row(2, 1), minus(4, 0), row(5, 4), leave(7)}, [&](s32 p) {
        items_at[p] = stock_items(1);
        source_at[p] = shop_screen.basket_count > 0 ? shop_screen.basket[0].source : -2;
    });

    EXPECT_EQ(items_at[2], (std::vector<s32>{2150, 2160, 2161, 2101}));
    EXPECT_EQ(shop_stock[1][29].offset, -1);
    EXPECT_EQ(source_at[2], -1);
    // The entry whose row is gone shows its minus button but no plus button.
    EXPECT_TRUE(has(pass_lines[3], "draw 814 553 455"));
    EXPECT_EQ(count_prefix(pass_lines[3], "draw 813 "), 0u);
    EXPECT_EQ(count_prefix(pass_lines[3], "draw 818 "), 0u);
    // Put back: appended at the end of the list, not at its old place.
    EXPECT_EQ(items_at[4], (std::vector<s32>{2150, 2160, 2161, 2101, 2151}));
    EXPECT_EQ(source_at[4], -2);
    EXPECT_EQ(items_at[5], (std::vector<s32>{2150, 2160, 2161, 2101}));

    // Leaving restores every piece; money and inventory never changed.
    EXPECT_EQ(stock_goods(1), goods_before);
    EXPECT_EQ(stock_items(1), (std::vector<s32>{2150, 2160, 2161, 2101, 2151}));
    EXPECT_EQ(player_record.money, 5000);
    EXPECT_TRUE(same_inventory(inv, inv_before.data()));
}

TEST_F(ShopTest, HeldPlusTakesAPiecePerPassUntilTheRowIsEmpty) {
    // Shop 0's last good is 1221 x 4 (slot 12: row 0 of the second page), at 124 a piece.
    ShopSlot before[SHOP_SLOTS];
    std::memcpy(before, shop_stock[0], sizeof before);
    std::map<s32, s32> moved_at, stock_at, page_at;
    run(false, 0, {list_next(2), row(3, 0), plus(4, 0, 6), list_prev(10), leave(11)}, [&](s32 p) {
        page_at[p] = shop_screen.page;
        moved_at[p] = shop_screen.basket_count > 0 ? shop_screen.basket[0].moved : 0;
        stock_at[p] = shop_goods_count(0) > 12 ? shop_stock[0][12].stock : 0;
    });
    EXPECT_EQ(moved_at[3], 1);
    EXPECT_EQ(stock_at[3], 3);
    EXPECT_EQ(moved_at[4], 2);
    EXPECT_EQ(moved_at[5], 3);
    EXPECT_EQ(moved_at[6], 4);
    EXPECT_EQ(stock_at[6], 0); // the slot is gone: 12 goods left
    EXPECT_EQ(moved_at[9], 4); // still held, but there is nothing left to take
    EXPECT_EQ(shop_screen.total, 4 * 124);
    EXPECT_TRUE(has(pass_lines[6], "print_number 496 5 168 356"));
    EXPECT_EQ(page_at[9], 1);
    EXPECT_EQ(page_at[10], 0);
    // Leaving puts the four pieces back as the last slot, where they were.
    EXPECT_EQ(std::memcmp(before, shop_stock[0], sizeof before), 0);
    EXPECT_EQ(player_record.money, 5000);
}

TEST_F(ShopTest, BasketColumnsShowPiecesAndHoldingsByLayoutGroup) {
    hold(1201, 3, 0);
    hold(1400, 1, 1);
    // Group A (shop 0): pieces taken at y 352 and pieces held after the deal at y 400.
    // (A pass draws the basket before it takes its click: the second piece shows in pass 4.)
    run(false, 0, {row(2, 0), row(3, 0), leave(5)});
    const auto& a = pass_lines[4];
    EXPECT_TRUE(has(a, "print 6201 560 302"));
    EXPECT_TRUE(has(a, "print_number 2 3 560 352"));
    EXPECT_TRUE(has(a, "print_number 5 3 560 400")); // held 3, taking 2
    for (const char* heading :
         {"print 578 583 302", "print 579 583 368", "print 581 583 405", "print 580 599 405"})
        EXPECT_TRUE(has(a, heading)) << heading;
    EXPECT_TRUE(has(pass_lines[3], "print_number 1 2 190 324")); // entries, not pieces
    // Group B (shop 6): only the pieces, four digits at y 384.
    run(false, 6, {row(2, 0), leave(4)});
    const auto& b = pass_lines[3];
    EXPECT_TRUE(has(b, "print_number 1 4 560 384"));
    EXPECT_TRUE(has(b, "print 579 583 405"));
    EXPECT_FALSE(has(b, "print 579 583 368"));
    EXPECT_EQ(count_suffix(b, " 560 400"), 0u);
    EXPECT_EQ(count_suffix(b, " 560 352"), 0u);
}

TEST_F(ShopTest, PayingStoresTheHoldingsAndTheFirstPieceTeachesAppraisal) {
    hold(1201, 3, 0);
    // What 20 appraisal experience does to a fresh record, worked out on a copy.
    const PlayerRecord start = player_record;
    growth_pool(GROWTH_APPRAISAL) += 20;
    grow(GROWTH_APPRAISAL);
    const s32 level = player_record.skill[GROWTH_APPRAISAL];
    const s32 pool = player_record.skill_exp[GROWTH_APPRAISAL];
    player_record = start;

    // Two 1201 (10 each, held already) and one 1202 (14, never held).
    run(false, 0, {row(2, 0), row(3, 0), row(4, 1), confirm(5)});
    EXPECT_EQ(player_record.money, 5000 - 34);
    EXPECT_TRUE(has(end_lines, "log_number 466 34"));
    EXPECT_EQ(player_record.inventory[0].item, 1201);
    EXPECT_EQ(player_record.inventory[0].count, 5);
    EXPECT_EQ(player_record.inventory[1].item, 1202);
    EXPECT_EQ(player_record.inventory[1].count, 1);
    EXPECT_EQ(player_record.inventory[2].item, -1);
    EXPECT_EQ(player_record.item_tally[1202], 1);
    EXPECT_EQ(player_record.skill[GROWTH_APPRAISAL], level);
    EXPECT_EQ(player_record.skill_exp[GROWTH_APPRAISAL], pool);
    EXPECT_EQ(shop_stock[0][0].stock, 96);
    EXPECT_EQ(shop_stock[0][1].stock, 24);

    // Buying it again pays nothing more.
    run(false, 0, {row(2, 1), confirm(3)});
    EXPECT_EQ(player_record.inventory[1].count, 2);
    EXPECT_EQ(player_record.skill_exp[GROWTH_APPRAISAL], pool);
    EXPECT_EQ(player_record.skill[GROWTH_APPRAISAL], level);
}

TEST_F(ShopTest, MoneyShortOfTheTotalRefusesForTwentyPasses) {
    struct Case {
        s32 money;
        bool bought;
    };
    // Two pieces of 1201 at 10: a total of 20.
    for (const Case c : {Case{19, false}, Case{20, true}, Case{21, true}}) {
        SCOPED_TRACE(c.money);
        fresh_game();
        player_record.money = c.money;
        std::vector<ScriptedClick> clicks = {row(2, 0), row(3, 0), confirm(4)};
        if (!c.bought) clicks.push_back(leave(30));
        s32 basket_at_29 = -1;
        run(false, 0, clicks, [&](s32 p) {
            if (p == 29) basket_at_29 = shop_screen.basket[0].moved;
        });
        if (c.bought) {
            EXPECT_EQ(player_record.money, c.money - 20);
            EXPECT_EQ(player_record.inventory[0].count, 2);
            continue;
        }
        s32 shown = 0;
        for (s32 p = 4; p <= 29; ++p) shown += has(pass_lines[p], "print 583 267 295") ? 1 : 0;
        EXPECT_EQ(shown, SHOP_ERROR_PASSES);
        EXPECT_TRUE(has(pass_lines[4], "print 583 267 295"));
        EXPECT_FALSE(has(pass_lines[24], "print 583 267 295"));
        EXPECT_EQ(basket_at_29, 2);
        EXPECT_EQ(player_record.money, c.money);
        EXPECT_EQ(player_record.inventory[0].item, -1);
        EXPECT_EQ(shop_stock[0][0].stock, 98);
    }
}

TEST_F(ShopTest, FullInventoryRefusesANewKindAndChangesNothing) {
    // Every entry used by another item: a new kind has nowhere to go.
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) player_record.inventory[i] = {5, 1};
    const std::vector<InventoryEntry> full(player_record.inventory,
                                           player_record.inventory + PLAYER_ITEMS);
    const PlayerRecord before = player_record;
    run(false, 0, {row(2, 0), confirm(3), leave(6)});
    EXPECT_TRUE(has(pass_lines[3], "print 583 267 295"));
    EXPECT_TRUE(same_inventory(player_record.inventory, full.data()));
    EXPECT_EQ(player_record.money, before.money);
    EXPECT_EQ(player_record.item_tally[1201], 0);
    EXPECT_EQ(std::memcmp(&before, &player_record, sizeof before), 0);
    EXPECT_EQ(shop_stock[0][0].stock, 98);

    // An item already held still fits: its entry takes the new count.
    player_record.inventory[PLAYER_ITEMS - 1] = {1201, 1};
    run(false, 0, {row(2, 0), confirm(3)});
    EXPECT_EQ(player_record.inventory[PLAYER_ITEMS - 1].count, 2);
    EXPECT_EQ(player_record.money, before.money - 10);
}

TEST_F(ShopTest, SellingEveryPieceOfAnEquippedWeaponTakesItOff) {
    // Shop 6 buys 1400..1599 at the item's value: 1401 for 50, 1402 for 200.
    hold(1401, 1, 0);
    hold(1300, 4, 1); // not dealt in here
    hold(1402, 2, 2);
    player_record.equip[0] = 1401 - EQUIP_BASE[0];
    std::vector<s32> rows_at_2;
    run(true, 6,
        {row(2, 0), row(3, 0, 2), row(4, 0), confirm(6)}, // the right click: 1402 not taken yet
        [&](s32 p) {
            if (p == 2)
                for (const ShopRow& r : shop_screen.rows) rows_at_2.push_back(r.item);
        });
    EXPECT_EQ(rows_at_2, (std::vector<s32>{1402}));
    EXPECT_TRUE(has(pass_lines[5], "print_number 1 3 523 400")); // group B: pieces at y 400
    EXPECT_EQ(player_record.money, 5000 + 250);
    EXPECT_TRUE(has(end_lines, "log_number 465 250"));
    EXPECT_EQ(player_record.equip[0], -1);
    EXPECT_EQ(player_record.inventory[0].item, 1300);
    EXPECT_EQ(player_record.inventory[1].item, 1402);
    EXPECT_EQ(player_record.inventory[1].count, 1);
    EXPECT_EQ(player_record.inventory[2].item, -1);
    // Sold goods do not enter the shop's stock.
    EXPECT_EQ(stock_items(6).size(), 13u);
}

TEST_F(ShopTest, SellListTakesTheShopsRangeInInventoryOrder) {
    struct Case {
        s32 shop;
        std::vector<s32> items; // listed, in order
    };
    const Case cases[] = {
        {3, {850, 1100, 1199}}, // the antique shops buy curios
        {SHOP_MARKET, {850, 1100, 2359, 799, 1199, 0}},
        {9, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shop);
        fresh_game();
        const InventoryEntry held[] = {{850, 2},  {2400, 1}, {1100, 1}, {2359, 1}, {799, 3},
                                       {1200, 0}, {1199, 5}, {0, 1},    {-1, 0},   {900, 1}};
        for (s32 i = 0; i < 10; ++i) player_record.inventory[i] = held[i];
        item_master[850].value = -5;
        std::vector<ShopRow> rows;
        run(true, c.shop, {leave(2)}, [&](s32 p) {
            if (p == 1) rows = shop_screen.rows;
        });
        std::vector<s32> items;
        for (const ShopRow& r : rows) items.push_back(r.item);
        EXPECT_EQ(items, c.items);
        for (const ShopRow& r : rows) {
            EXPECT_EQ(r.price, r.item == 850 ? 1 : item_master[r.item].value) << r.item;
            const std::map<s32, s32> counts = {{850, 2}, {1100, 1}, {2359, 1},
                                               {799, 3}, {1199, 5}, {0, 1}};
            EXPECT_EQ(r.count, counts.at(r.item)) << r.item;
        }
    }
}

TEST_F(ShopTest, SellKindsStopAtThirtyCountingTheShopsOwnGoods) {
    struct Case {
        s32 own_goods;
        s32 kinds_taken;
    };
    for (const Case c : {Case{13, 17}, Case{30, 0}}) {
        SCOPED_TRACE(c.own_goods);
        fresh_game();
        for (s32 s = 13; s < c.own_goods; ++s) shop_stock[0][s] = {60 + s, 2, 1};
        for (s32 i = 0; i < 18; ++i) hold(1250 + i, 1, i);
        const PlayerRecord before = player_record;
        // Row 0 is always the next kind: each taken row runs out and leaves the list.
        std::vector<ScriptedClick> clicks;
        for (s32 k = 0; k <= c.kinds_taken; ++k) clicks.push_back(row(2 + k, 0));
        const s32 refused = 2 + c.kinds_taken;
        clicks.push_back(leave(refused + 1));
        s32 basket_after_refusal = -1;
        run(true, 0, clicks, [&](s32 p) {
            if (p == refused) basket_after_refusal = shop_screen.basket_count;
        });
        EXPECT_EQ(basket_after_refusal, c.kinds_taken);
        EXPECT_TRUE(has(pass_lines[refused], "print 595 267 279"));
        EXPECT_TRUE(has(pass_lines[refused], "wait 285 448"));
        EXPECT_FALSE(has(pass_lines[refused - 1], "print 595 267 279"));
        EXPECT_EQ(std::memcmp(&before, &player_record, sizeof before), 0);
    }
}

TEST_F(ShopTest, RefusalWaitsForAClickUnderTheBlinkingMark) {
    // A shop whose own list is full buys nothing new; the refusal waits for a real click.
    for (s32 s = 13; s < SHOP_SLOTS; ++s) shop_stock[0][s] = {60 + s, 2, 1};
    hold(1250, 1, 0);
    dialog_real_mode(DialogWaitAnswer::Click);
    dialog_record_draws(true);
    dialog_real_input([](const TranscriptEntry&) {
        harness_click(320, 240, 1, at_present(harness_presents() + 3));
    });
    run(true, 0, {row(2, 0), leave(3)});
    EXPECT_TRUE(has(pass_lines[2], "print 595 267 279"));
    // The mark blinks over its own frames until the click (three presents later) ends the wait.
    const auto& waited = pass_lines[2];
    EXPECT_GE(std::count(waited.begin(), waited.end(), "draw 12 285 448"), 3);
    EXPECT_EQ(shop_screen.basket_count, 0);
    EXPECT_EQ(player_record.inventory[0].count, 1);
}

TEST_F(ShopTest, BasketPagesFollowTheEntryTaken) {
    for (s32 i = 0; i < 8; ++i) hold(1250 + i, 1, i);
    // Shop 0 owns 13 goods, so up to 17 kinds may be sold; take 7 and page the basket back.
    std::vector<ScriptedClick> clicks;
    for (s32 k = 0; k < 7; ++k) clicks.push_back(row(2 + k, 0));
    clicks.push_back({9, 602, 354});   // the basket's previous page
    clicks.push_back(minus(10, 5, 1)); // entry 5 back: its row comes back at the end
    clicks.push_back(leave(11));
    std::map<s32, s32> page_at;
    run(true, 0, clicks, [&](s32 p) { page_at[p] = shop_screen.basket_page; });
    EXPECT_EQ(page_at[7], 0);
    EXPECT_EQ(page_at[8], 1); // entry 6 opened the second page
    // Pass 9 draws that page (its arrow under the pointer, which is about to click it).
    EXPECT_TRUE(has(pass_lines[9], "print 6256 560 302"));
    EXPECT_TRUE(has(pass_lines[9], "draw 808 592 345"));
    EXPECT_EQ(count_prefix(pass_lines[9], "draw 809 "), 0u);
    EXPECT_EQ(page_at[9], 0); // drawn from the next pass on
    EXPECT_TRUE(has(pass_lines[10], "draw 809 338 345"));
    EXPECT_TRUE(has(pass_lines[10], "print 6255 375 302"));
    EXPECT_EQ(shop_screen.basket_count, 6);
    EXPECT_EQ(shop_screen.rows.back().item, 1255);
}

TEST_F(ShopTest, SellListHoldsEveryKindTheMarketLists) {
    // Two hundred kinds at the market (1400..1599), far more than a basket or a shop's list.
    for (s32 i = 0; i < 200; ++i) hold(1400 + i, i == 199 ? 2 : 1, i);
    for (ShopSlot& s : shop_stock[SHOP_MARKET]) s = {-1, 0, 0};
    player_record.money = 0;
    std::vector<ScriptedClick> clicks;
    for (s32 k = 0; k < 16; ++k) clicks.push_back(list_next(2 + k)); // to page 16: 192..199
    clicks.push_back({18, row_x(7), ROW_CLICK_Y, 0});                // the pointer on row 7 (1599)
    clicks.push_back(row(19, 7));                                    // one of two
    clicks.push_back(row(20, 7));                                    // the second: the row is gone
    clicks.push_back(minus(21, 0));                                  // back: appended at the end
    clicks.push_back(row(22, 7));
    clicks.push_back(confirm(23));
    std::map<s32, size_t> rows_at;
    run(true, SHOP_MARKET, clicks, [&](s32 p) { rows_at[p] = shop_screen.rows.size(); });
    EXPECT_EQ(rows_at[1], 200u);
    EXPECT_TRUE(has(pass_lines[1], "draw 805 35 125"));
    // The last page: the previous-page arrow only; the hovered row 7 shows its picture and
    // description and is printed one pixel higher than the others.
    const auto& last_page = pass_lines[18];
    EXPECT_TRUE(has(last_page, "draw 806 389 125"));
    EXPECT_EQ(count_prefix(last_page, "draw 805 "), 0u);
    EXPECT_TRUE(has(last_page, "print 6598 185 49"));
    EXPECT_TRUE(has(last_page, "draw 29099 452 0"));
    EXPECT_TRUE(has(last_page, "print 9099 573 193"));
    EXPECT_TRUE(has(last_page, "print 6599 161 48"));
    EXPECT_TRUE(has(last_page, "print 3337 161 209"));
    // Group A at the sell screen: pieces (2 digits) at y 368, holdings after at y 400.
    EXPECT_TRUE(has(pass_lines[20], "print_number 1 2 560 368"));
    EXPECT_TRUE(has(pass_lines[20], "print_number 1 3 560 400"));
    EXPECT_EQ(rows_at[19], 200u);
    EXPECT_EQ(rows_at[20], 199u);
    EXPECT_EQ(rows_at[21], 200u);
    EXPECT_EQ(rows_at[22], 199u);
    EXPECT_EQ(player_record.money, 2 * item_master[1599].value);
    EXPECT_EQ(inv_has(1599), 0);
    EXPECT_EQ(player_record.inventory[198].item, 1598);
    EXPECT_EQ(player_record.inventory[199].item, -1);
}

TEST_F(ShopTest, AnItemHeldInTwoEntriesIsOneRowAndMovesOnlyThePiecesDealt) {
    // 1401 stands in entries 0 and 2 (as `inv_replace` can leave it); it is equipped.
    const auto two_entries = [this] {
        fresh_game();
        hold(1401, 3, 0);
        hold(1300, 1, 1);
        hold(1401, 2, 2);
        player_record.equip[0] = 1401 - EQUIP_BASE[0];
    };
    const auto pieces = [](s32 item) {
        s32 n = 0;
        for (const InventoryEntry& e : player_record.inventory)
            if (e.item == item) n += e.count;
        return n;
    };

    // Selling one piece: one row of five, four left over the two entries, still equipped.
    two_entries();
    std::vector<ShopRow> rows;
    run(true, 6, {row(2, 0), confirm(3)}, [&](s32 p) {
        if (p == 1) rows = shop_screen.rows;
    });
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].item, 1401);
    EXPECT_EQ(rows[0].count, 5);
    EXPECT_EQ(player_record.money, 5000 + 50);
    EXPECT_EQ(pieces(1401), 4);
    EXPECT_EQ(player_record.inventory[0].item, 1401);
    EXPECT_EQ(player_record.inventory[1].item, 1300);
    EXPECT_EQ(player_record.inventory[2].item, -1);
    EXPECT_EQ(player_record.equip[0], 1401 - EQUIP_BASE[0]);

    // Selling all five empties both entries and takes the weapon off.
    two_entries();
    run(true, 6, {row(2, 0), row(3, 0), row(4, 0), row(5, 0), row(6, 0), confirm(7)});
    EXPECT_EQ(player_record.money, 5000 + 5 * 50);
    EXPECT_EQ(pieces(1401), 0);
    EXPECT_EQ(player_record.inventory[0].item, 1300);
    EXPECT_EQ(player_record.inventory[1].item, -1);
    EXPECT_EQ(player_record.equip[0], -1);

    // Buying one piece of a medicine held in two entries: the basket shows the six held after
    // the deal, and six is what the player then holds.
    fresh_game();
    hold(1201, 3, 0);
    hold(1300, 1, 1);
    hold(1201, 2, 2);
    run(false, 0, {row(2, 0), confirm(4)});
    EXPECT_TRUE(has(pass_lines[3], "print_number 6 3 560 400"));
    EXPECT_EQ(player_record.money, 5000 - 10);
    EXPECT_EQ(pieces(1201), 6);
    EXPECT_EQ(player_record.inventory[3].item, -1);
}
