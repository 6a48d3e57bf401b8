// The recipe screen over the dashboard.
#include "calendar/recipe_screen.h"

#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/dashboard.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/tracks.h"

const RecipeRow RECIPE_TABLE[RECIPE_COUNT] = {
    {1, {30, 0, 0, 0, 0, 0, 0}},    {30, {45, 0, 0, 0, 0, 0, 0}},   {2, {60, 15, 0, 0, 0, 0, 0}},
    {32, {80, 30, 0, 0, 0, 0, 0}},  {63, {100, 0, 0, 0, 0, 0, 0}},  {3, {150, 50, 0, 0, 0, 0, 0}},
    {41, {120, 40, 0, 0, 0, 0, 0}}, {154, {50, 20, 5, 0, 0, 0, 0}}, {15, {30, 0, 0, 0, 0, 5, 0}},
    {47, {50, 0, 0, 0, 0, 10, 0}},  {64, {50, 0, 10, 10, 0, 0, 0}}, {23, {30, 0, 0, 0, 0, 10, 10}},
    {50, {50, 0, 10, 10, 0, 0, 0}}, {0, {0, 0, 0, 0, 0, 0, 0}},
};

RecipeScreenState recipe_state;

s32 (*recipe_game_seam)(s32 equip) = game_tracks;

namespace {

s32 cell_x(s32 c) {
    return RECIPE_CELL_X[c % RECIPE_COLUMNS];
}
s32 cell_y(s32 c) {
    return RECIPE_ROW_Y[c / RECIPE_COLUMNS];
}

const KnownEntry& known_entry(s32 entry) {
    return player_record.known[RECIPE_LIST][entry];
}

// The recipe a known id names, or -1 for an id outside the table.
s32 recipe_of(s32 id) {
    const s32 r = id - RECIPE_FIRST_ID;
    return r >= 0 && r < RECIPE_COUNT ? r : -1;
}

s32 recipe_in(const RecipeCell& c) {
    return c.entry < 0 ? -1 : recipe_of(known_entry(c.entry).id);
}

s32 materials_held(const RecipeRow& row) {
    for (s32 i = 0; i < RECIPE_MATERIALS; i++)
        if (row.amount[i] > 0 && inv_has_count(RECIPE_MATERIAL_FIRST + i, row.amount[i]) == 0)
            return 0;
    return 1;
}

void draw_frame(s32 px, s32 py) {
    hub_draw();
    text_size(16);
    text_style(1);
    const s32 pointed = recipe_cell_at(px, py);
    for (s32 c = 0; c < RECIPE_RECIPE_CELLS; c++) {
        const RecipeCell& cell = recipe_state.cells[c];
        if (cell.entry < 0) continue;
        const KnownEntry& k = known_entry(cell.entry);
        const s32 x = cell_x(c), y = cell_y(c);
        if (c == pointed) {
            text_colour(31, 5, 0);
            print_text_seen(x, y, RECIPE_NAME_TEXT + k.id);
        } else {
            text_colour(31, 31, 31);
            print_text_seen(x, y, RECIPE_NAME_TEXT + k.id);
            if (cell.usable == 0) draw_image(x, y + RECIPE_MARK_DY, RECIPE_MARK, 0);
        }
        if (k.level > 0) {
            text_colour(0, 0, 15);
            print_number_seen(x, y + RECIPE_LEVEL_DY, k.level, RECIPE_LEVEL_DIGITS);
        }
    }
    text_size(16);
    text_style(1);
    if (pointed == RECIPE_RECIPE_CELLS)
        text_colour(31, 5, 0);
    else
        text_colour(31, 31, 31);
    print_text_seen(RECIPE_QUIT_X, RECIPE_QUIT_Y, RECIPE_QUIT_TEXT);
    screen_present();
}

} // namespace

s32 recipe_cell_at(s32 x, s32 y) {
    if (x >= RECIPE_QUIT_X && x <= RECIPE_QUIT_X + RECIPE_QUIT_W && y >= RECIPE_QUIT_Y &&
        y <= RECIPE_QUIT_Y + RECIPE_QUIT_H)
        return RECIPE_RECIPE_CELLS;
    for (s32 c = 0; c < RECIPE_RECIPE_CELLS; c++) {
        const s32 cx = cell_x(c), cy = cell_y(c);
        if (x >= cx && x <= cx + RECIPE_CELL_W && y >= cy && y <= cy + RECIPE_CELL_H) return c;
    }
    return -1;
}

void recipe_fill_cells() {
    for (RecipeCell& c : recipe_state.cells) c = {};
    s32 next = 0;
    for (s32 e = 0; e < KNOWN_SLOTS && next < RECIPE_RECIPE_CELLS; e++) {
        // An id past the table (a damaged list) names no recipe and gets no cell.
        const s32 r = recipe_of(known_entry(e).id);
        if (r < 0) continue;
        recipe_state.cells[next++] = {e, materials_held(RECIPE_TABLE[r])};
    }
}

s32 recipe_screen() {
    recipe_state.passes = 0;
    recipe_state.chosen = -1;
    recipe_fill_cells();
    mouse_buttons = 0;
    for (;;) {
        ++recipe_state.passes;
        const u32 buttons = mouse_buttons;
        const s32 cx = click_x, cy = click_y;
        draw_frame(pointer_x, pointer_y);
        if (buttons != 1) continue;
        mouse_buttons = 0;
        const s32 c = recipe_cell_at(cx, cy);
        if (c == RECIPE_RECIPE_CELLS) return RECIPE_QUIT;
        if (c < 0) continue;
        const RecipeCell& cell = recipe_state.cells[c];
        const s32 r = recipe_in(cell);
        if (r >= 0 && cell.usable == 1) {
            recipe_state.chosen = r;
            break;
        }
    }
    const RecipeRow& row = RECIPE_TABLE[recipe_state.chosen];
    for (s32 i = 0; i < RECIPE_MATERIALS; i++)
        if (row.amount[i] > 0) inv_remove(RECIPE_MATERIAL_FIRST + i, row.amount[i]);
    return recipe_game_seam(row.equip);
}

void recipe_screen_fill_seam() {
    recipe_screen_seam = recipe_screen;
}
