#include "game/inventory.h"

#include "data/items.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "game/player.h"

namespace {

bool person_valid(s32 person) {
    return person >= 0 && person < PLAYER_PEOPLE;
}

bool list_valid(s32 list) {
    return list >= 0 && list < KNOWN_LISTS;
}

// Takes n from inventory entry i and removes the entry when its count has run out.
void inv_take(s32 i, s32 n) {
    InventoryEntry* inv = player_record.inventory;
    inv[i].count -= n;
    if (inv[i].count > 0) return;
    inv_drop_entry(i);
}

s32 inv_find(s32 item) {
    for (s32 i = 0; i < PLAYER_ITEMS; ++i)
        if (player_record.inventory[i].item == item) return i;
    return -1;
}

s32 inv_find_range(s32 lo, s32 hi) {
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) {
        const s32 item = player_record.inventory[i].item;
        if (item >= lo && item <= hi) return i;
    }
    return -1;
}

} // namespace

// ---- Inventory --------------------------------------------------------------------------------

void inv_add(s32 item, s32 count) {
    if (count < 1 || !item_valid(item)) return;
    // Room first: the first entry that holds the item or is free (the list is compact). With
    // none, the player must not be told of an item that was never stored.
    s32 slot = -1;
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) {
        const s32 held = player_record.inventory[i].item;
        if (held == item || held == -1) {
            slot = i;
            break;
        }
    }
    if (slot < 0) return;
    mssw_play_sound(SOUND_ITEM_RECEIVED, 1);
    text_colour(31, 31, 31);
    log_text_text(TEXT_ITEM_RECEIVED, TEXT_ITEM_NAME + item);
    InventoryEntry& e = player_record.inventory[slot];
    e.item = item;
    e.count += count;
    if (player_record.item_tally[item] <= 0) player_record.item_tally[item] = 1;
}

void inv_remove(s32 item, s32 n) {
    const s32 i = inv_find(item);
    if (i >= 0) inv_take(i, n);
}

void inv_remove_range(s32 lo, s32 hi, s32 n) {
    const s32 i = inv_find_range(lo, hi);
    if (i >= 0) inv_take(i, n);
}

void inv_replace(s32 old_item, s32 new_item) {
    const s32 i = inv_find(old_item);
    if (i >= 0) player_record.inventory[i].item = new_item;
}

s32 inv_has(s32 item) {
    return inv_find(item) >= 0 ? 1 : 0;
}

s32 inv_has_count(s32 item, s32 n) {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item && e.count >= n) return 1;
    return 0;
}

s32 inv_has_range(s32 lo, s32 hi) {
    return inv_find_range(lo, hi) >= 0 ? 1 : 0;
}

s32 inv_find_range_count(s32 lo, s32 hi, s32 n) {
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) {
        const InventoryEntry& e = player_record.inventory[i];
        if (e.item >= lo && e.item <= hi && e.count >= n) return i;
    }
    return -1;
}

void inv_drop_entry(s32 i) {
    if (i < 0 || i >= PLAYER_ITEMS) return;
    InventoryEntry* inv = player_record.inventory;
    unequip_item(inv[i].item);
    for (s32 k = i; k < PLAYER_ITEMS - 1; ++k) inv[k] = inv[k + 1];
    inv[PLAYER_ITEMS - 1] = {-1, 0};
}

s32 inv_used_count() {
    s32 n = 0;
    while (n < PLAYER_ITEMS && player_record.inventory[n].item != -1) ++n;
    return n;
}

void unequip_item(s32 item) {
    for (s32 s = 0; s < PLAYER_EQUIP; ++s) {
        s32& slot = player_record.equip[s];
        if (slot != -1 && slot + EQUIP_BASE[s] == item) slot = -1;
    }
}

// ---- Known lists ------------------------------------------------------------------------------

void known_add(s32 list, s32 id) {
    if (!list_valid(list) || known_has(list, id)) return;
    for (KnownEntry& e : player_record.known[list]) {
        if (e.id != -1) continue;
        log_text(TEXT_KNOWN_ADDED);
        if (list < 10) log_text(TEXT_KNOWN_ADDED_ART);
        e.id = id;
        return;
    }
}

s32 known_has(s32 list, s32 id) {
    if (!list_valid(list)) return 0;
    for (const KnownEntry& e : player_record.known[list])
        if (e.id == id) return 1;
    return 0;
}

s32 known_has_level(s32 list, s32 id, s32 level) {
    if (!list_valid(list)) return 0;
    for (const KnownEntry& e : player_record.known[list])
        if (e.id == id) return e.level >= level ? 1 : 0;
    return 0;
}

s32 known_any(s32 list) {
    if (!list_valid(list)) return 0;
    for (const KnownEntry& e : player_record.known[list])
        if (e.id >= KNOWN_FIRST_COUNTED) return 1;
    return 0;
}

// ---- Album and titles -------------------------------------------------------------------------

void album_add(s32 id) {
    for (s32& e : player_record.album) {
        if (e != -1) continue;
        e = id;
        return;
    }
}

s32 album_has(s32 id) {
    for (s32 e : player_record.album)
        if (e == id) return 1;
    return 0;
}

void title_add(s32 title) {
    for (s32& e : player_record.titles) {
        if (e != -1) continue;
        e = title;
        break;
    }
    album_add(title + TITLE_ALBUM_OFFSET);
}

s32 title_has(s32 title) {
    for (s32 e : player_record.titles)
        if (e == title) return 1;
    return 0;
}

s32 title_count() {
    for (s32 i = 0; i < PLAYER_TITLES; ++i)
        if (player_record.titles[i] == -1) return i - 1;
    return PLAYER_TITLES - 1;
}

// ---- Acquaintances ----------------------------------------------------------------------------

void acquaint_add(s32 person, s32 bonus) {
    if (!person_valid(person)) return;
    for (s32 e : player_record.acquaintances)
        if (e == person) return;
    for (s32& e : player_record.acquaintances) {
        if (e != -1) continue;
        e = person;
        player_record.affection[person] += bonus + 1 + (player_record.social_aptitude - 50) / 2;
        return;
    }
}

s32 acquaint_has(s32 person) {
    for (s32 e : player_record.acquaintances) {
        if (e == -1) return 0;
        if (e == person) return 1;
    }
    return 0;
}
