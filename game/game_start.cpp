#include "game/game_start.h"

#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/items.h"
#include "data/roster.h"
#include "data/schedule.h"
#include "data/shops.h"
#include "data/timetables.h"
#include "engine/shell.h"
#include "engine/world/creators.h"
#include "engine/world/object.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/save.h"

void game_register() {
    game_start_seam = game_start;
    hub_main_seam = [] { hub_main(); };
    hub_clear_save_index_seam = save_index_clear;
}

void game_tables_init() {
    init_npc_timetables();
    init_battle_tables();
    init_item_tables();
}

void game_new_world() {
    world_populate_seam();
    init_item_master();
    init_player();
    init_roster();
    init_shop_stock();
    init_hub_state();
    make_player(10, 0, 1798, 132, 3);
    attr_set(0, ATTR_CLICK, 0);
    attr_set(0, ATTR_TIMER_ON, 1);
    attr_set(0, ATTR_TIMER, 6);
    attr_set(0, ATTR_VAR_A, 0);
}

// PENDING: the title menu and the name entry (owner replaces these bodies).
void game_start() {
    game_tables_init();
    game_new_world();
}
s32 title_load_menu() { return 0; }
void new_game_name_entry() {}
