#include "game/load_menu.h"

#include "data/hub_block.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/dashboard.h"
#include "game/hub.h"
#include "game/save.h"
#include "game/slot_list.h"

s32 hub_load_menu() {
    text_style(2);
    text_size(16);
    screen_save();
    const s32 pick = slot_list_pick({.restore_screen = true, .can_close = true});
    if (pick < 0) {
        // Closed from the list: back to the top bar.
        hub_block.hub_command = HUB_CMD_NONE;
        hub_block.hub_menu_level = 0;
        hub_block.hub_menu_pick = -1;
        hub_block.hub_third_open = 0;
        hub_block.hub_third_pick = 0;
        return -1;
    }
    // A refusal leaves `hub_command` at 42, so the hub opens the list again at once.
    if (!slot_confirm(pick)) return -1;

    fade_out();
    const s32 loaded = load_game(pick);
    mouse_buttons = 0;
    click_kind = 0;
    if (!loaded) {
        // Nothing was loaded: the game goes on as it was, so the pass must not end. The dashboard
        // comes back and, with `hub_command` still 42, the list opens again over it.
        hub_draw();
        hub_menu_draw();
        fade_in();
        return -1;
    }
    slot_place_after_load(pick);
    fade_in();
    return pick + 1;
}
