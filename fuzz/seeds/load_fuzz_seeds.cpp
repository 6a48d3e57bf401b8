// Writes the seed inputs of the load fuzz target into the directory given as the first argument:
// the image of a new game made by the game's own code, the same game later in the calendar and
// inside a map episode, the third-level bar open, and a few damaged variants (cut short, one byte
// long, an event slot and an object event outside their tables).
#include "data/hub_block.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "fuzz/seeds/seed_dir.h"
#include "game/game_start.h"
#include "game/player.h"
#include "game/save.h"
#include "game/state.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<u8>;

Bytes image_of_memory() {
    Bytes out;
    for (s32 b = 0; b < STATE_BLOCK_COUNT; ++b) {
        const u8* p = static_cast<const u8*>(state_blocks[b].data);
        out.insert(out.end(), p, p + state_blocks[b].size);
    }
    const u8* items = static_cast<const u8*>(state_blocks[4].data);
    out.insert(out.end(), items, items + state_blocks[4].size);
    return out;
}

void put32(Bytes& image, size_t offset, s32 v) {
    std::memcpy(image.data() + offset, &v, 4);
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 2;
    state_reset();
    game_tables_init();
    game_new_world();

    bool ok = true;
    const Bytes fresh = image_of_memory();
    ok = ok && seed_write(dir, "new_game", fresh);

    // Later in the calendar: a few turns on, some items, a companion, a drawn pool.
    hub_block.calendar_turn = 57;
    hub_block.turns_consumed = 1;
    hub_block.hub_menu_avail[0][2] = 1;
    player_record.inventory[0] = {2210, 1};
    player_record.inventory[1] = {2201, 3};
    player_record.party[0] = 12;
    player_record.acquaintances[0] = 12;
    player_record.known[2][0] = {60, 40, 5};
    player_record.equip[0] = 5;
    player_record.music_id = 10056;
    world_state.month = 12;
    world_state.day = 25;
    ok = ok && seed_write(dir, "later", image_of_memory());

    // Inside a map episode, with the third-level bar open on place set 1.
    world_state.field_active = 1;
    world_state.current_map = 14;
    hub_block.hub_menu_level = 7;
    hub_block.hub_third_open = 1;
    hub_block.hub_menu_pick = 1;
    hub_block.hub_third_pick = 3;
    hub_block.hub_third_avail[3][1] = 1;
    ok = ok && seed_write(dir, "episode_third_bar", image_of_memory());

    Bytes cut = fresh;
    cut.resize(cut.size() - 1000);
    ok = ok && seed_write(dir, "short", cut);
    Bytes longer = fresh;
    longer.push_back(0);
    ok = ok && seed_write(dir, "long", longer);
    Bytes bad_slot = fresh;
    put32(bad_slot, SAVE_BLOCK_OFFSET[3] + offsetof(HubBlock, turn_events_before) + 4 * 3, 224);
    ok = ok && seed_write(dir, "bad_schedule_slot", bad_slot);
    Bytes bad_event = fresh;
    bad_event[SAVE_BLOCK_OFFSET[1] + 32 * 9 + attr_word[ATTR_EVENT] + 2] = 0x3; // event >= 1840
    ok = ok && seed_write(dir, "bad_object_event", bad_event);

    if (!ok) {
        std::fprintf(stderr, "could not write the seeds into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
