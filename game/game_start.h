// Game start: the tables every program start rebuilds, the title menu (new game or a saved slot)
// and the new game with its name entry and its initial state.
#pragma once
#include "engine/types.h"

// Installs the game into the engine's start-up (game start and hub seams, the save index hook).
// The program calls it before the shell starts.
void game_register();
// The step between the engine's start-up and the hub.
void game_start();
// 0 for a new game, or slot + 1 after loading that slot.
s32 title_load_menu();
void new_game_name_entry();
// The tables every start rebuilds (saved games do not carry them), in their fixed order.
void game_tables_init();
// The new game's state after the name entry, in its fixed order: world population, item master,
// player record, roster, shop stock, hub state, player object.
void game_new_world();
