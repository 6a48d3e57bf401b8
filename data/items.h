// The item master: one record per item number 0..2499 with its base price, its kind and, for
// antiques, the appraisal threshold and what the antique turns into. Built by code at every new
// game and saved with the game (twice in the save image), so the random prices and the genuine
// member of each antique group stay fixed within one game.
#pragma once
#include "engine/text.h"
#include "engine/types.h"

#include <cstddef>

constexpr s32 ITEM_COUNT = 2500;

// Item kinds: what using an item does.
enum : s32 {
    ITEM_KIND_NONE = 0,       // not usable from the item page
    ITEM_KIND_CONSUMABLE = 1, // 1250-1299: consumable effects, removes one
    ITEM_KIND_NO_EFFECT = 2,  // 1820-1829: clickable, no action
    ITEM_KIND_SPECIAL = 3,    // 1880-1889: raises mp max, removes one
    ITEM_KIND_FOOD = 4,       // 2050-2099: eaten
    ITEM_KIND_ANTIQUE = 5,    // 2400-2499: appraised
    ITEM_KIND_EQUIPMENT = 10, // 1400-1569: equipped into one of four slots
};

// Texts and pictures of item n: name TEXT_ITEM_NAME + n, description TEXT_ITEM_DESC + n (the text
// table's id conventions), picture 27500 + n; the kind caption is text TEXT_ITEM_KIND + kind (699
// for an item currently equipped).
constexpr s32 IMAGE_ITEM_BASE = 27500;
// The character screen's equipment slots show the same item pictures.
constexpr s32 IMAGE_EQUIP_BASE = IMAGE_ITEM_BASE;
// Image 1000 + person number is that person's portrait (the frame's player portrait is 1000).
constexpr s32 PORTRAIT_BASE = 1000;

// Antiques: 2400..2499 in twenty groups of five. In each of the first twelve groups exactly one
// member is genuine; the rest of the range is junk.
constexpr s32 ANTIQUE_FIRST = 2400;
constexpr s32 ANTIQUE_LAST = 2499;
constexpr s32 ANTIQUE_GROUP_SIZE = 5;
constexpr s32 ANTIQUE_GENUINE_GROUPS = 12;

struct ItemEntry {
    s32 value;       // base price; shops sell at twice this
    s32 requirement; // antiques: appraisal skill needed; 0 for everything else
    s32 result;      // antiques: the item a genuine antique becomes; -1 junk and non-antiques
    s32 kind;        // ITEM_KIND_*
};
static_assert(sizeof(ItemEntry) == 16);
static_assert(offsetof(ItemEntry, value) == 0);
static_assert(offsetof(ItemEntry, requirement) == 4);
static_assert(offsetof(ItemEntry, result) == 8);
static_assert(offsetof(ItemEntry, kind) == 12);

extern ItemEntry item_master[ITEM_COUNT];
static_assert(sizeof(item_master) == 40000);

// Builds the whole table for a new game, drawing the random parts with `rand_below`.
void init_item_master();

// True for an item number that has a record.
inline bool item_valid(s32 item) {
    return item >= 0 && item < ITEM_COUNT;
}
// The record of an item; a number outside 0..2499 (for example from a damaged save) reads as the
// empty record {value 0, requirement 0, result -1, kind 0}.
const ItemEntry& item_entry(s32 item);
