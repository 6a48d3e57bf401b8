// The pick screens of the hub's activities: the grid of known entries, the recipe grid and the
// practice screen.
#include "game/pick_screens.h"

#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"

namespace {

bool inside(s32 px, s32 py, s32 x0, s32 y0, s32 x1, s32 y1) {
    return px >= x0 && px <= x1 && py >= y0 && py <= y1;
}

// ---- The grid ---------------------------------------------------------------------------------

// A grid over one known list: the usable test and the name of an entry, the highlight rule, and
// the bottom-row cell that leaves it (x < 0: none).
struct PickGrid {
    s32 list;
    s32 name_base; // name text = name_base + id
    bool (*usable)(s32 list, s32 id);
    bool highlight_unusable; // an unusable entry also lights up under the pointer
    s32 exit_x;              // the back or cancel cell on the bottom row, -1 none
};

// The requirements of an art of lists 0..9; an id that names no art of its list is not usable.
bool art_usable(s32 list, s32 id) {
    if (list >= ART_LISTS) return true;
    if (id < ART_FIRST_ID || id >= ART_FIRST_ID + ART_LIST_SIZE) return false;
    for (const ArtTerm& t : arts_table[art_index(list, id)].require)
        if (!growth_meets(t.growth, t.value)) return false;
    return true;
}

// A recipe can be chosen while every ingredient of its consumable is held.
bool recipe_usable(s32, s32 id) {
    const s32 record = id - KNOWN_FIRST_COUNTED;
    if (record < 0 || record >= CONSUMABLE_COUNT) return false;
    for (const Ingredient& g : consumable_table[record].ingredients)
        if (g.item >= 0 && !inv_has_count(g.item, g.count)) return false;
    return true;
}

bool in_cell(s32 px, s32 py, s32 x, s32 y, s32 w) {
    return inside(px, py, x, y, x + w, y + PICK_CELL_H);
}

s32 pick_on_grid(PickGrid g) {
    const KnownEntry* list = player_record.known[g.list];
    s32 slot[PICK_CELLS];
    bool usable[PICK_CELLS];
    s32 cells = 0;
    bool any_usable = false;
    for (s32 i = 0; i < KNOWN_SLOTS && cells < PICK_CELLS; ++i) {
        if (list[i].id < KNOWN_FIRST_COUNTED) continue;
        slot[cells] = i;
        usable[cells] = g.usable(g.list, list[i].id);
        any_usable = any_usable || usable[cells];
        ++cells;
    }
    if (cells == 0) return -1;
    // With nothing usable on offer the grid could never be left: the cancel cell shows then.
    if (g.exit_x < 0 && !any_usable) g.exit_x = PICK_CANCEL_X;

    const s32 exit_y = PICK_ROW_Y[2];
    for (;;) {
        hub_draw();
        // The click is taken first in the frame, as the dashboard takes its own; its place is
        // read before the button is cleared, after which the next click may overwrite it.
        const bool clicked = mouse_buttons == 1;
        const s32 cx = clicked ? s32(click_x) : -1, cy = clicked ? s32(click_y) : -1;
        if (clicked) mouse_buttons = 0;

        text_size(16);
        text_style(1);
        const s32 px = pointer_x, py = pointer_y;
        for (s32 c = 0; c < cells; ++c) {
            const s32 x = pick_cell_x(c), y = pick_cell_y(c);
            const KnownEntry& e = list[slot[c]];
            const bool lit =
                in_cell(px, py, x, y, PICK_CELL_W) && (usable[c] || g.highlight_unusable);
            pick_print(lit, x, y, g.name_base + e.id);
            if (!lit && !usable[c]) draw_image(x, y + 8, PICK_UNUSABLE_IMAGE, 0);
            if (e.level > 0) {
                text_colour(0, 0, 15);
                print_number_seen(x, y + 16, e.level, 3);
            }
        }
        if (g.exit_x >= 0)
            pick_print(in_cell(px, py, g.exit_x, exit_y, PICK_BACK_W), g.exit_x, exit_y,
                       PICK_BACK_TEXT);
        if (clicked) {
            for (s32 c = 0; c < cells; ++c)
                if (usable[c] && in_cell(cx, cy, pick_cell_x(c), pick_cell_y(c), PICK_CELL_W))
                    return slot[c];
            if (g.exit_x >= 0 && in_cell(cx, cy, g.exit_x, exit_y, PICK_BACK_W)) return -1;
        }
        screen_present();
    }
}

// ---- The practice screen -------------------------------------------------------------------

// Our own content: the tasks' patterns, toggle k in bit k.
constexpr u32 PRACTICE_PATTERNS[PRACTICE_VARIANTS] = {
    0b0001, 0b0010, 0b0100, 0b1000,         // one toggle
    0b0011, 0b0101, 0b1001, 0b0110, 0b1100, // two
    0b0111, 0b1101,                         // three
};

constexpr s32 PRACTICE_PORTRAIT = 1000;
constexpr s32 TEXT_TASK = 11730, TEXT_RIGHT = 11732, TEXT_WRONG = 11734, TEXT_SHOWN = 11736;
constexpr s32 TEXT_X = 88, TEXT_Y0 = 343, TEXT_Y1 = 367;

// Picture id base + offset, or -1 (drawn as nothing) when it would leave the id range.
s32 piece_picture(s32 n, s32 offset) {
    const s64 id = s64(PRACTICE_PIECE_IMAGE) + 20ll * n + offset;
    return id >= 0 && id <= 0x7FFFFFFF ? s32(id) : -1;
}

void draw_toggles(u32 on) {
    for (s32 k = 0; k < PRACTICE_TOGGLES; ++k)
        if (on & (1u << k))
            draw_image(PRACTICE_TOGGLE_X0, PRACTICE_TOGGLE_Y[k], PRACTICE_TOGGLE_IMAGE + 3 * k, 0);
}

// Background, portrait at (portrait_x, 294), the piece's picture and two lines (0: none).
void practice_layer(s32 portrait_x, s32 picture, s32 t0, s32 t1) {
    draw_image(0, 0, PRACTICE_SCREEN_IMAGE, 0);
    draw_image(portrait_x, 294, PRACTICE_PORTRAIT, 0);
    if (picture >= 0) draw_image(PRACTICE_PIECE_X, PRACTICE_PIECE_Y, picture, 0);
    // Our own text setting: the lines in the size and style of the hub's dialogue, in white.
    text_size(24);
    text_style(2);
    text_colour(31, 31, 31);
    if (t0 > 0) print_text_seen(TEXT_X, TEXT_Y0, t0);
    if (t1 > 0) print_text_seen(TEXT_X, TEXT_Y1, t1);
}

void practice_wait() {
    screen_present();
    u16 kept[HUB_MARK_SIZE * HUB_MARK_SIZE];
    screen_get_rect(PRACTICE_MARK_X, PRACTICE_MARK_Y, HUB_MARK_SIZE, HUB_MARK_SIZE, kept);
    hub_click_wait_at(PRACTICE_MARK_X, PRACTICE_MARK_Y, kept);
}

} // namespace

void pick_print(bool lit, s32 x, s32 y, s32 text) {
    if (lit)
        text_colour(31, 5, 0);
    else
        text_colour(31, 31, 31);
    print_text_seen(x, y, text);
}

s32 pick_cell_x(s32 c) {
    return PICK_CELL_X0 + PICK_CELL_STEP * (c % PICK_CELL_COLUMNS);
}

s32 pick_cell_y(s32 c) {
    return PICK_ROW_Y[(c / PICK_CELL_COLUMNS) % 3];
}

s32 known_pick(s32 list) {
    if (list < 0 || list >= KNOWN_LISTS) return -1;
    return pick_on_grid({list, PICK_NAME_TEXT + 100 * list, art_usable, true, -1});
}

s32 item_pick() {
    return pick_on_grid({PICK_RECIPE_LIST, PICK_RECIPE_TEXT, recipe_usable, false, PICK_BACK_X});
}

u32 art_practice_pattern(s32 v) {
    return v >= 0 && v < PRACTICE_VARIANTS ? PRACTICE_PATTERNS[v] : 0;
}

s32 art_practice(s32 n) {
    const s32 level = n >= 0 && n < KNOWN_SLOTS ? player_record.known[PRACTICE_LIST][n].level : 0;
    const s32 v = level < 50 ? rand_below(4) : rand_below(PRACTICE_VARIANTS);
    const s32 task = piece_picture(n, 1 + v);
    u32 on = 0;

    mouse_buttons = 0;
    for (bool done = false; !done;) {
        practice_layer(465, task, TEXT_TASK, TEXT_TASK + 1);
        draw_toggles(on);
        if (mouse_buttons == 1) {
            // The place first: once the button is cleared the next click may overwrite it.
            const s32 cx = click_x, cy = click_y;
            mouse_buttons = 0;
            bool flipped = false;
            for (s32 k = 0; k < PRACTICE_TOGGLES && !flipped; ++k)
                if (inside(cx, cy, PRACTICE_TOGGLE_X0, PRACTICE_TOGGLE_Y[k], PRACTICE_TOGGLE_X1,
                           PRACTICE_TOGGLE_Y[k] + PRACTICE_TOGGLE_H)) {
                    on ^= 1u << k;
                    flipped = true;
                }
            if (!flipped &&
                inside(cx, cy, PRACTICE_OK_X0, PRACTICE_OK_Y0, PRACTICE_OK_X1, PRACTICE_OK_Y1)) {
                draw_image(PRACTICE_OK_X0, PRACTICE_OK_Y0, PRACTICE_OK_IMAGE, 0);
                done = true;
            }
        }
        if (!done) screen_present();
    }

    const u32 pattern = art_practice_pattern(v);
    const bool right = on == pattern;
    if (right) {
        practice_layer(466, piece_picture(n, 0), TEXT_RIGHT, TEXT_RIGHT + 1);
        draw_toggles(on);
        practice_wait();
    } else {
        practice_layer(466, task, TEXT_WRONG, TEXT_WRONG + 1);
        practice_wait();
        // The second screen: the task again with the right pattern on the toggles.
        practice_layer(466, task, TEXT_SHOWN, 0);
        draw_toggles(pattern);
        practice_wait();
    }
    mouse_buttons = 0;
    return right ? 1 : 0;
}
