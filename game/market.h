// The market visit of the calendar hub: once a turn the player may buy from the market's stall
// list (shop 12 of `shop_stock`), refilled with a random assortment at every buying visit, or sell
// to the market, which buys any item 0..2359 and empties the stall list. The visit uses no turn.
#pragma once
#include "engine/types.h"

// Slots of the stall list that `market_fill_wanted` fills.
constexpr s32 MARKET_MEDICINE_SLOTS = 5; // slots 0..4: five different goods of 1200..1237
constexpr s32 MARKET_MEDICINE_FIRST = 1200;
constexpr s32 MARKET_MEDICINE_KINDS = 38;
constexpr s32 MARKET_MEDICINE_SKIPPED = 1204; // never offered; 1205 comes in its place
constexpr s32 MARKET_WANTED_SLOT = 10;

// The wanted goods: a rare offer in slot 10 of an item the player has never had.
constexpr s32 MARKET_WANTED_COUNT = 14;
extern const s32 MARKET_WANTED[MARKET_WANTED_COUNT];

// Hub texts and pictures of the visit.
constexpr s32 MARKET_BACKDROP = 60424;
constexpr s32 MARKET_PORTRAIT = 170;
constexpr s32 TEXT_MARKET_GREETING = 11384;
constexpr s32 TEXT_MARKET_BUY = 11385, TEXT_MARKET_SELL = 11386;
constexpr s32 MARKET_TITLE_KIND = 17; // the title award checked after every visit

// Hub command 53: the greeting, buy or sell, then the title check. Uses up the market's menu
// entry for this turn.
void market_visit();
// Refills the stall list (draws `rand_below` in a fixed order; every price is twice the item's
// value).
void market_fill_wanted();
