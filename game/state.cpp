#include "game/state.h"

#include "data/hub_block.h"
#include "data/items.h"
#include "data/roster.h"
#include "data/shops.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"

#include <cstring>

const StateBlock state_blocks[STATE_BLOCK_COUNT] = {
    {"world_state", &world_state, sizeof(world_state)},
    {"object_table", object_table, sizeof(object_table)},
    {"player_record", &player_record, sizeof(player_record)},
    {"hub_block", &hub_block, sizeof(hub_block)},
    {"item_master", item_master, sizeof(item_master)},
    {"shop_stock", shop_stock, sizeof(shop_stock)},
    {"roster", roster, sizeof(roster)},
};

void state_reset() {
    for (const StateBlock& b : state_blocks) std::memset(b.data, 0, b.size);
}
