// The two shop screens: `shop_buy`, where the player takes goods from a shop's stock into a basket
// and pays for them, and `shop_sell`, where the player takes goods the shop deals in from the
// inventory and is paid for them. Both are full-screen loops of vertical text (columns from right
// to left) over the back buffer, one pass per presented frame, until the player confirms or
// leaves; nothing changes hands before the confirmation.
//
// While the buy screen is open the pieces in the basket are out of `shop_stock` (a slot whose last
// piece was taken leaves the list at once); leaving puts them back, confirming keeps them out.
// The sell screen's goods list is its own, built from the inventory at opening; sold goods do not
// enter the shop's stock.
#pragma once
#include "engine/types.h"

#include <vector>

// Layout counts and limits.
constexpr s32 SHOP_PAGE_ROWS = 12;     // goods rows a list page
constexpr s32 SHOP_BASKET_COLUMNS = 6; // basket entries a basket page
constexpr s32 SHOP_BASKET_SIZE = 30;   // basket entries
constexpr s32 SHOP_KINDS_MAX = 30;     // the sell screen's kinds: the shop's goods + the basket's
constexpr s32 SHOP_ERROR_PASSES = 20;  // passes the buy screen shows its refusal
constexpr s32 SHOP_WAIT_X = 285, SHOP_WAIT_Y = 448; // the sell screen's continue mark

// Texts of the screens.
constexpr s32 TEXT_SHOP_TITLE_BUY = 596, TEXT_SHOP_TITLE_SELL = 597;
constexpr s32 TEXT_SHOP_REFUSED = 583; // the buy screen's refusal (not enough money)
constexpr s32 TEXT_SHOP_FULL = 595;    // the sell screen's refusal (too many kinds)

// What a shop number deals in: the base of its stock (item = base + slot offset), the inventory
// items it buys, and whether its basket shows the pieces held after the deal (the medicine shops
// and the market).
struct ShopTerms {
    s32 base;
    s32 sell_first, sell_last;
    bool after_column;
};
// The terms of a shop the screens open; false (and *terms untouched) for a shop number without
// them (10, 11, 23, 29, 31..34, 36 and above, negative numbers).
bool shop_terms(s32 shop, ShopTerms* terms);

// One row of the sell screen's goods list.
struct ShopRow {
    s32 item;
    s32 price; // the unit price paid: the item's value, 1 when the value is negative
    s32 count; // pieces still offered
};

// One basket entry.
struct ShopBasketEntry {
    s32 item;
    s32 moved;  // pieces bought or sold
    s32 after;  // pieces the player will hold after the deal
    s32 source; // the goods row the pieces came from; -1 once that row is gone
    s32 price;  // unit price
};

// The state of the open screen (nothing of it is saved). Tests read it, and drive their clicks by
// `passes`.
struct ShopScreen {
    s32 shop = -1;
    bool selling = false;
    ShopTerms terms{};
    std::vector<ShopRow> rows; // the sell screen's goods list; grows as pieces come back
    s32 page = 0;              // list page
    s32 basket_page = 0;
    ShopBasketEntry basket[SHOP_BASKET_SIZE]{};
    s32 basket_count = 0;
    s64 total = 0;
    s32 error_passes = 0; // buy: passes left showing the refusal
    s32 kinds = 0;        // sell: the shop's own goods plus the kinds in the basket
    bool full = false;    // sell: a new kind was refused; the screen waits for a click
    s32 passes = 0;       // passes since the screen opened, counted at the start of each
};
extern ShopScreen shop_screen;

// The buy screen of a shop; returns when the player leaves or has paid. A shop without terms
// returns at once.
void shop_buy(s32 shop);
// The sell screen of a shop; returns when the player leaves or has been paid.
void shop_sell(s32 shop);
