// Shop stock: fifty shops of up to thirty goods, each with its price and the pieces left. Filled
// once per new game from the item master's values and saved with the game, so what was bought
// stays bought. Shop 12 is the market, whose list the market visit rewrites; it is not filled here.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 SHOP_COUNT = 50;
constexpr s32 SHOP_SLOTS = 30;
constexpr s32 SHOP_MARKET = 12;

struct ShopSlot {
    s32 offset; // item number minus the shop's base id; -1 = empty slot (ends the list)
    s32 price;  // price of one piece
    s32 stock;  // pieces left
};
static_assert(sizeof(ShopSlot) == 12);
static_assert(offsetof(ShopSlot, offset) == 0);
static_assert(offsetof(ShopSlot, price) == 4);
static_assert(offsetof(ShopSlot, stock) == 8);

// [shop][slot]. A shop's list is compact: goods in slots 0..n-1, then offset -1.
extern ShopSlot shop_stock[SHOP_COUNT][SHOP_SLOTS];
static_assert(sizeof(shop_stock) == 18000);

// Fills every shop's list for a new game; prices are twice the item master's values, so it must
// run after `init_item_master`.
void init_shop_stock();

// The base id of a shop's goods (item = base + offset); 0 for the market; -1 for a shop number
// that has no base (10, 36..49, and any number outside 0..49).
s32 shop_base(s32 shop);
// The item in a slot: base + offset; -1 for an empty slot, a shop without base, a position
// outside the table or an item number outside 0..2499 (a damaged save).
s32 shop_slot_item(s32 shop, s32 slot);
// The number of goods in a shop's list (the slots before the first empty one).
s32 shop_goods_count(s32 shop);
