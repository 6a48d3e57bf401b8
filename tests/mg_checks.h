// Readings the mini-game tests share: how many of an item the inventory holds over all its
// entries, and the game clock in minutes of the day.
#pragma once
#include "engine/types.h"
#include "engine/world_state.h"
#include "game/player.h"

inline s32 inv_count(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

inline s32 clock_minutes() {
    return world_state.hour * 60 + world_state.minute;
}
