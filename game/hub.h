// The calendar hub: the main loop of the calendar phase, one pass per turn (autosave, music,
// before-turn event, dashboard with its menus, after-turn event, title check, end of turn), the
// menu availability, the rest action and the command dispatcher.
#pragma once
#include "engine/types.h"

// Hub command codes.
enum HubCommand : s32 {
    HUB_CMD_NONE = -1,
    HUB_CMD_RECIPES = 24,
    HUB_CMD_POPUP = 25,
    HUB_CMD_AIM = 27,
    HUB_CMD_CATCH = 28,
    HUB_CMD_LIGHT_RING = 30,
    HUB_CMD_INFO = 40,
    HUB_CMD_AFFECTION = 41,
    HUB_CMD_LOAD = 42,
    HUB_CMD_QUIT = 44,
    HUB_CMD_REST = 49,
    HUB_CMD_POOL_A = 50,
    HUB_CMD_POOL_B = 51,
    HUB_CMD_POOL_C = 52,
    HUB_CMD_MARKET = 53,
    HUB_CMD_COMPANION = 54,
    HUB_CMD_PLACE = 56,
};

// -1 during a normal turn, 1 after a load that replaces the turn, 0 at program start.
extern s32 hub_restart;

// The endless loop: `hub_pass` forever. Never returns.
[[noreturn]] void hub_main();
// One pass of the loop: one calendar turn (or the open-world start from turn 235).
void hub_pass();
// Recomputes the menu availability that follows from the player's state.
void hub_menu_update();
// Command 49: rest.
void hub_rest();
// Runs command `code` as the dashboard loop does; returns 1 when the command ends the loop.
s32 hub_dispatch(s32 code);
