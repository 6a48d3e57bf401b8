// The lists of the player record and the small operations every subsystem uses on them: the
// inventory, the 25 known lists, the album, the titles, the acquaintances (with their first
// affection). All lists live in `player_record`, are searched linearly from entry 0, use -1 as
// the free marker and are never sorted.
//
// The inventory stays compact: used entries first, every entry after the first free one free.
// `inv_replace` rewrites an entry's item in place and may leave two entries with the same id; the
// operations below then act on the first of them. (An appraised antique joins the entry that
// already holds its result.)
//
// Ids that would index a table of the record out of range (an item outside 0..2499, a person
// outside 0..499, a known list outside 0..24) change nothing and test as absent.
#pragma once
#include "engine/types.h"

// Log texts of the list operations.
constexpr s32 TEXT_ITEM_RECEIVED = 457; // followed by the item's name
constexpr s32 TEXT_KNOWN_ADDED = 338;
constexpr s32 TEXT_KNOWN_ADDED_ART = 339; // second line for lists 0..9
constexpr s32 SOUND_ITEM_RECEIVED = 501;

// Known entries with an id of 50 or more are the ones that count as known (arts, manuals...).
constexpr s32 KNOWN_FIRST_COUNTED = 50;
// An earned title t also adds album entry t + TITLE_ALBUM_OFFSET.
constexpr s32 TITLE_ALBUM_OFFSET = 100;

// ---- Inventory --------------------------------------------------------------------------------
// Adds count of the item to the first entry holding it, or else to the first free entry, and
// marks the item as obtained (`item_tally` 1 when it was 0 or less). Sound 501 and the white log
// line "received" + name are given only when the item is stored: a count below 1, or a full
// inventory with no entry for the item, does nothing at all.
void inv_add(s32 item, s32 count);
// Takes n from the first entry holding the item; at a count of 0 or less the item is unequipped
// and the entry removed (later entries move down, the last becomes {-1, 0}). Not held: nothing.
void inv_remove(s32 item, s32 n);
// The same on the first entry (in list order) whose item lies in lo..hi.
void inv_remove_range(s32 lo, s32 hi, s32 n);
// The first entry holding old now holds new_item with its count; no log, no tally change.
void inv_replace(s32 old_item, s32 new_item);
s32 inv_has(s32 item);              // 1 if some entry holds the item
s32 inv_has_count(s32 item, s32 n); // 1 if some entry holds it with a count of at least n
s32 inv_has_range(s32 lo, s32 hi);  // 1 if some entry's item lies in lo..hi (inclusive)
s32 inv_find_range_count(s32 lo, s32 hi, s32 n); // first such entry with count >= n, else -1
// Removes entry i (0..2499) whatever its count: the item is unequipped, the entries behind move
// down one place and the last entry becomes free, so the list stays compact.
void inv_drop_entry(s32 i);
// The used entries: the index of the first free entry (2500 when none is free).
s32 inv_used_count();
// Clears every equipment slot that holds the item.
void unequip_item(s32 item);

// ---- Known lists ------------------------------------------------------------------------------
// Stores the id at the first free entry of the list unless it is already there, logging 338 (and
// 339 for lists 0..9); the entry keeps the level and experience its free slot held. A full list
// does nothing.
void known_add(s32 list, s32 id);
s32 known_has(s32 list, s32 id);
// 1 if the first entry with the id has a level of at least `level`.
s32 known_has_level(s32 list, s32 id, s32 level);
// 1 if some entry of the list has an id of 50 or more.
s32 known_any(s32 list);

// ---- Album and titles -------------------------------------------------------------------------
void album_add(s32 id); // first free entry, duplicates allowed; a full album drops it
s32 album_has(s32 id);
// Stores the title at the first free entry (a full list drops it), then adds album entry
// title + 100 in every case.
void title_add(s32 title);
s32 title_has(s32 title);
// Titles earned after the base title: the index of the first free entry minus 1 (29 when full).
s32 title_count();

// ---- Acquaintances ----------------------------------------------------------------------------
// Stores a person not yet met at the first free entry and raises its affection by
// bonus + 1 + (social_aptitude - 50) / 2, unclamped. Already met, or a full list: nothing.
void acquaint_add(s32 person, s32 bonus);
// 1 if the person is stored before the first free entry.
s32 acquaint_has(s32 person);
