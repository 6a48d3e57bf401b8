// The game's saved state as one list: every record that a saved game carries, in one place, so
// that saving, loading and a full reset walk the same records and none can be forgotten.
#pragma once
#include "engine/types.h"

#include <cstddef>

struct StateBlock {
    const char* name; // short name for messages and tests
    void* data;
    size_t size;
};

// The seven saved records in the order of the save image: `world_state`, `object_table`,
// `player_record`, `hub_block`, `item_master`, `shop_stock`, `roster`. (The save image repeats
// `item_master` as its eighth block; that repeat belongs to the save format, not to this list.)
constexpr s32 STATE_BLOCK_COUNT = 7;
extern const StateBlock state_blocks[STATE_BLOCK_COUNT];

// Clears every saved record to zero bytes: the state of a program that has not started a game.
void state_reset();
