// Gift preferences: what each of the 300 characters likes to be given. A favourite item pleases
// most, an item inside a liked range of item numbers less, anything else gives no gift bonus.
// Built by `init_gift_prefs` at every program start (as the last step of the item tables) and
// never saved.
#pragma once
#include "engine/types.h"

constexpr s32 GIFT_PEOPLE = 300;    // indexed by roster character number
constexpr s32 GIFT_FAVOURITES = 10; // favourites per character, packed from slot 0
constexpr s32 GIFT_RANGES = 2;      // liked ranges per character
constexpr s32 GIFT_NO_FAVOURITE = -1;
// An empty range is {-2 .. -1}: it contains no item number, so it never matches.
constexpr s32 GIFT_RANGE_EMPTY_LOW = -2;
constexpr s32 GIFT_RANGE_EMPTY_HIGH = -1;

// Affection gained by a gift (the companion-visit screen adds it).
constexpr s32 GIFT_BONUS_FAVOURITE = 15;
constexpr s32 GIFT_BONUS_RANGE = 5;       // while the affection is below 80
constexpr s32 GIFT_BONUS_RANGE_CLOSE = 3; // at affection 80 or more
constexpr s32 GIFT_RANGE_CLOSE_AFFECTION = 80;

extern s32 gift_favourites[GIFT_PEOPLE][GIFT_FAVOURITES];
extern s32 gift_range_b[GIFT_PEOPLE][GIFT_RANGES]; // lower bound of each liked range
extern s32 gift_range_a[GIFT_PEOPLE][GIFT_RANGES]; // upper bound of each liked range

void init_gift_prefs();

// The gift bonus of item `item` given to character `person` whose affection is `affection`:
// 15 for a favourite; otherwise 5 (3 at affection 80 or more) for the first liked range, range 0
// before range 1, that holds the item; otherwise 0. A person outside the table or a
// negative item gets 0.
s32 gift_affection_bonus(s32 person, s32 item, s32 affection);
