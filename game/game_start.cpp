#include "game/game_start.h"

#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "data/items.h"
#include "data/roster.h"
#include "data/schedule.h"
#include "data/shops.h"
#include "data/timetables.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/name_entry.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/creators.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/save.h"
#include "game/slot_list.h"
#include "game/world_populate.h"

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
    world_populate();
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

namespace {

constexpr s32 TITLE_MUSIC = 10076;
constexpr s32 TITLE_PICTURE = 60111; // eight pictures, one drawn at random

// The two rows of the title menu's first page.
constexpr s32 TITLE_ROW_NEW = 223;
constexpr s32 TITLE_ROW_LOAD = 273;

void title_text_setup() {
    text_style(2);
    text_size(16);
    text_colour(0, 0, 15);
}

bool title_row_over(s32 x, s32 y, s32 row, s32 left) {
    return x >= left && x <= 447 && y >= row - 2 && y <= row + 18;
}

void title_row_draw(s32 row, s32 text_id, const SlotInput& in) {
    if (title_row_over(in.px, in.py, row, 190))
        text_colour(25, 5, 0);
    else
        text_colour(0, 0, 15);
    print_text(191, row, text_id);
}

// The first page: 0 for a new game, 1 for the load page.
s32 title_first_page() {
    for (;;) {
        const SlotInput in = slot_input_read();
        draw_image(SLOT_PANEL_X, SLOT_PANEL_Y, SLOT_PANEL_IMAGE, 0);
        title_row_draw(TITLE_ROW_NEW, 328, in);
        title_row_draw(TITLE_ROW_LOAD, 329, in);
        screen_present();
        if (in.buttons == 1) {
            mouse_buttons = 0;
            if (title_row_over(in.x, in.y, TITLE_ROW_NEW, 191)) return 0;
            if (title_row_over(in.x, in.y, TITLE_ROW_LOAD, 191)) return 1;
        }
    }
}

// One name strip: darkened under its text.
void name_strip(s32 x, s32 y, s32 w, s32 text_id) {
    box_blend(x, y, w, 24, 0, 6);
    print_text(x, y, text_id);
}

void name_text_setup() {
    text_size(24);
    text_colour(31, 31, 31);
    text_style(2);
}

} // namespace

void game_start() {
    game_tables_init();
    mssw_sfx_volume = 71;
    mssw_music_volume = 63;
    if (title_load_menu() != 0) return;
    new_game_name_entry();
    game_new_world();
}

s32 title_load_menu() {
    title_text_setup();
    if (!hub_save_index_present()) return 0;
    mssw_play_music(TITLE_MUSIC, 0);
    const s32 picture = TITLE_PICTURE + rand_below(8);
    draw_image(0, 0, picture, 0);
    for (;;) {
        if (title_first_page() == 0) {
            // A new game keeps the slots already on disk listed: every save rewrites the whole
            // index from memory, so the index must be the file's, not an empty one.
            if (!save_index_read()) save_index_clear();
            return 0;
        }
        // The load page. An index that cannot be read whole, or that lists no used slot, would
        // leave a list with no row and no way out; the first page stays instead.
        if (!save_index_read() || !slot_list_any_used()) {
            save_index_clear();
            continue;
        }
        title_text_setup();
        draw_image(0, 0, picture, 0);
        s32 pick = -1;
        do {
            pick = slot_list_pick({.restore_screen = false, .can_close = false});
        } while (!slot_confirm(pick));
        mouse_buttons = 0;
        click_kind = 0;
        cursor_show();
        if (load_game(pick)) {
            slot_place_after_load(pick);
            return pick + 1;
        }
        // Nothing was loaded and no game is set up: never go on to the hub from here. The list
        // has no way back, so a list whose every slot fails would hold the player for good: the
        // first page comes back instead, with its new game. The click that closed the messages
        // is spent, and the title picture covers them again.
        mouse_buttons = 0;
        click_kind = 0;
        title_text_setup();
        draw_image(0, 0, picture, 0);
    }
}

// One screen of the name entry: the title picture, the first strip with `first`, and, when
// `second` is given, the second strip with it in yellow; presented.
static void name_screen(s32 picture, s32 first, s32 second) {
    draw_image(0, 0, picture, 0);
    name_text_setup();
    name_strip(140, 228, 336, first);
    if (second > 0) {
        text_colour(31, 31, 0);
        name_strip(116, 258, 384, second);
    }
    screen_present();
}

void new_game_name_entry() {
    mssw_play_music(TITLE_MUSIC, 0);
    const s32 picture = TITLE_PICTURE + rand_below(8);

    name_screen(picture, 300, 0);
    name_entry(2);
    name_store(0);
    mouse_buttons = 0;

    name_screen(picture, 317, 301);
    name_entry(2);
    name_store(1);
    mouse_buttons = 0;

    name_screen(picture, 317, 318);
    mouse_buttons = 0;
    wait_ms(1000);
    mouse_buttons = 0;
}
