// The character screen's four pages, the item grid that the item page shares with the gift
// picker, and the acquaintance card that the people page shares with the companion visit.
#include "game/info_pages.h"

#include "data/items.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "game/dashboard.h"
#include "game/info_screen.h"
#include "game/item_use.h"
#include "game/player.h"

#include <algorithm>

const InfoCategoryTab INFO_CATEGORY_TAB[INFO_CATEGORY_TABS] = {
    {3320, 215, 235, 199, 93, 0, 2499},    {3321, 247, 273, 240, 96, 800, 899},
    {3322, 281, 304, 275, 99, 900, 999},   {3323, 311, 332, 309, 97, 1000, 1099},
    {3324, 338, 360, 335, 98, 1100, 1199}, {3325, 367, 390, 363, 97, 1200, 1299},
    {3326, 397, 415, 394, 98, 1300, 1399}, {3327, 420, 436, 417, 99, 1400, 1699},
    {3328, 442, 463, 438, 98, 0, 799},     {3329, 470, 491, 465, 95, 1700, 1799},
    {3330, 500, 524, 496, 97, 1800, 1899}, {3331, 532, 554, 527, 97, 1900, 2099},
    {3332, 563, 587, 559, 97, 2100, 2499},
};

const InfoArtsCell INFO_ARTS_CELL[INFO_ARTS_LISTS] = {
    {260, 114}, {290, 114},                         // 0, 1
    {200, 144}, {230, 144}, {260, 144}, {290, 144}, // 2..5
    {200, 174}, {230, 174}, {260, 174}, {290, 174}, // 6..9
    {359, 114}, {329, 114},                         // 10, 11
    {419, 144}, {389, 144}, {359, 144}, {329, 144}, // 12..15
    {419, 174}, {389, 174}, {359, 174}, {329, 174}, // 16..19
    {419, 204}, {389, 204}, {359, 204}, {329, 204}, // 20..23
};

namespace {

constexpr s32 PAGE_IMAGE = 939;

struct Box {
    s32 x0, y0, x1, y1;
};
constexpr bool box_has(const Box& b, s32 x, s32 y) {
    return x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1;
}
bool pointer_in(const Box& b) {
    return box_has(b, pointer_x, pointer_y);
}

// The pass's mouse input: 1 a left click (its point in *x, *y), 2 a right click (point too), 0
// nothing. The buttons are cleared when a click is taken.
s32 take_click(s32* x, s32* y) {
    const u32 buttons = mouse_buttons;
    if (buttons != 1 && buttons != 2) return 0;
    mouse_buttons = 0;
    *x = click_x;
    *y = click_y;
    return s32(buttons);
}

// Ends a page by its own hand (a right click, an item used): its tab and the open page go.
void page_end(s32& tab_flag) {
    tab_flag = 0;
    info_page_open = 0;
}

// Every page starts its pass with its picture over the status page and the tab row.
void page_frame() {
    draw_image(0, 0, PAGE_IMAGE, 0);
    info_tabs_draw();
}

// ---- Item grid ----------------------------------------------------------------------------------

constexpr Box PREV_PAGE_BOX = {543, 196, 566, 219};
constexpr Box NEXT_PAGE_BOX = {106, 189, 131, 213};
constexpr Box GRID_EXIT_BOXES[3] = {
    {153, 92, 638, 138}, {103, 130, 567, 272}, {213, 268, 496, 476}};

// One listed inventory entry.
struct GridRow {
    s32 item, count, slot;
};
// The grid's list and where it stands. Static: 2,500 rows are too many for the stack.
struct Grid {
    GridRow rows[PLAYER_ITEMS];
    s32 count;
    s32 category;
    s32 page;
    s32 pending; // the category tab clicked in the last pass (-1 none), applied in the next
};
Grid grid;

void grid_fill(s32 category) {
    const InfoCategoryTab& tab = INFO_CATEGORY_TAB[category];
    grid.count = 0;
    for (s32 i = 0; i < PLAYER_ITEMS; ++i) {
        const InventoryEntry& e = player_record.inventory[i];
        if (e.item < tab.first || e.item > tab.last) continue;
        grid.rows[grid.count++] = {e.item, e.count, i};
    }
    grid.category = category;
    grid.page = 0;
}

s32 category_at(s32 x, s32 y) {
    if (y < INFO_CATEGORY_Y0 || y > INFO_CATEGORY_Y1) return -1;
    for (s32 k = 0; k < INFO_CATEGORY_TABS; ++k)
        if (x >= INFO_CATEGORY_TAB[k].x0 && x <= INFO_CATEGORY_TAB[k].x1) return k;
    return -1;
}

Box column_box(s32 p) {
    const s32 x0 = INFO_COLUMN_RIGHT_X - INFO_COLUMN_STEP * p;
    return {x0, INFO_COLUMN_Y0, x0 + INFO_COLUMN_W - 1, INFO_COLUMN_Y1};
}

// The list entry of the column at (x, y), or -1 where no column shows an entry.
s32 entry_at(s32 x, s32 y) {
    for (s32 p = 0; p < INFO_ITEM_COLUMNS; ++p) {
        const s32 entry = INFO_ITEM_COLUMNS * grid.page + p;
        if (entry < grid.count && box_has(column_box(p), x, y)) return entry;
    }
    return -1;
}

bool prev_page_shown() {
    return grid.page > 0;
}
bool next_page_shown() {
    return (grid.page + 1) * INFO_ITEM_COLUMNS < grid.count;
}

bool item_equipped(s32 item) {
    for (s32 s = 0; s < PLAYER_EQUIP; ++s) {
        const s32 e = player_record.equip[s];
        if (e >= 0 && EQUIP_BASE[s] + e == item) return true;
    }
    return false;
}

// The kind caption of a hovered item, or -1 for none.
s32 kind_caption(s32 item, s32 from_hub) {
    const s32 kind = item_master[item].kind;
    if (kind == ITEM_KIND_EQUIPMENT) return item_equipped(item) ? 699 : TEXT_ITEM_KIND + kind;
    if (kind >= 1 && kind <= 9 && from_hub == 0) return TEXT_ITEM_KIND + kind;
    return -1;
}

void draw_hovered_item(const GridRow& row, s32 p, const InfoItemGridFlags& flags) {
    text_style(5);
    text_colour(31, 31, 0);
    print_text_vertical_seen(522 - INFO_COLUMN_STEP * p, 147, TEXT_ITEM_NAME + row.item);
    draw_image(211, 269, IMAGE_ITEM_BASE + row.item, 0);
    if (flags.kind_caption) {
        const s32 caption = kind_caption(row.item, flags.from_hub);
        text_colour(25, 5, 0);
        if (caption >= 0) print_text_vertical_seen(460, 284, caption);
    }
    if (row.count > 1) {
        text_colour(0, 0, 0);
        print_text_vertical_seen(222, 372, 538);
        print_number_vertical_seen(222, 420, row.count, 3);
    }
    text_style(2);
    text_colour(2, 11, 1);
    text_reveal_limit = 10;
    print_text_vertical_seen(436, 295, TEXT_ITEM_DESC + row.item);
    text_reveal_limit = 0;
}

void grid_draw(const InfoItemGridFlags& flags) {
    if (flags.page_frame)
        page_frame();
    else
        hub_draw();
    draw_image(149, 89, 915, 0);
    draw_image(98, 123, 911, 0);
    draw_image(204, 269, 929, 0);
    const s32 hovered_tab = category_at(pointer_x, pointer_y);
    if (hovered_tab >= 0) {
        const InfoCategoryTab& t = INFO_CATEGORY_TAB[hovered_tab];
        draw_image(t.pic_x, t.pic_y, INFO_CATEGORY_IMAGE + hovered_tab, 0);
    }
    if (grid.pending >= 0) {
        grid_fill(grid.pending);
        grid.pending = -1;
    }
    if (prev_page_shown()) draw_image(543, 196, pointer_in(PREV_PAGE_BOX) ? 995 : 912, 0);
    if (next_page_shown()) draw_image(106, 189, pointer_in(NEXT_PAGE_BOX) ? 996 : 913, 0);
    // The screens around the grid leave other sizes behind; its texts are 16 pixels.
    text_size(16);
    text_style(6);
    text_colour(23, 30, 17);
    print_text_vertical_seen(547, 148, INFO_CATEGORY_TAB[grid.category].caption);
    for (s32 p = 0; p < INFO_ITEM_COLUMNS; ++p) {
        const s32 entry = INFO_ITEM_COLUMNS * grid.page + p;
        if (entry >= grid.count) break;
        const GridRow& row = grid.rows[entry];
        if (pointer_in(column_box(p))) {
            draw_hovered_item(row, p, flags);
            continue;
        }
        text_style(1);
        text_colour(31, 31, 31);
        print_text_vertical_seen(522 - INFO_COLUMN_STEP * p, 148, TEXT_ITEM_NAME + row.item);
    }
}

// A left click on the grid: the item taken, an end, or -3 to go on.
constexpr s32 GRID_GO_ON = -3;
s32 grid_left_click(const InfoItemGridFlags& flags, s32 x, s32 y) {
    const s32 r = flags.page_frame ? info_tabs_click(INFO_PAGE_ITEMS) : 0;
    const s32 tab = category_at(x, y);
    if (tab >= 0) grid.pending = tab;
    if (prev_page_shown() && box_has(PREV_PAGE_BOX, x, y))
        --grid.page;
    else if (next_page_shown() && box_has(NEXT_PAGE_BOX, x, y))
        ++grid.page;
    const s32 entry = entry_at(x, y);
    if (entry >= 0) {
        const s32 item = grid.rows[entry].item;
        if (!flags.use_rule || info_item_usable(item, flags.from_hub)) return item;
    }
    return r == 1 ? INFO_GRID_TAB_END : GRID_GO_ON;
}

// ---- Arts page ----------------------------------------------------------------------------------

constexpr Box ARTS_PREV_BOX = {464, 440, 478, 454};
constexpr Box ARTS_NEXT_BOX = {165, 440, 179, 454};
constexpr Box ARTS_EXIT_BOXES[2] = {{181, 107, 454, 252}, {148, 257, 492, 470}};
constexpr s32 ARTS_NO_ENTRY_IMAGE = 49999;
constexpr s32 ARTS_ENTRY_BASE = 50000; // + 100 x list + id: picture and text
constexpr s32 ARTS_FRAME_IMAGE = 875;
constexpr s32 ARTS_CELL_IMAGE = 700;  // + list, the selected cell
constexpr s32 ARTS_HOVER_IMAGE = 851; // + list, the cell under the pointer
constexpr s32 ARTS_NO_LEVEL_LIST = 9;

// The ids of one known list in order, with the slot each came from. Every entry past the last id
// is -1, so a shorter list never shows what a longer one left behind.
struct ArtsList {
    s32 id[KNOWN_SLOTS];
    s32 slot[KNOWN_SLOTS];
};

void arts_rebuild(ArtsList& a, s32 list) {
    std::fill(std::begin(a.id), std::end(a.id), -1);
    std::fill(std::begin(a.slot), std::end(a.slot), -1);
    if (list < 0) return;
    s32 n = 0;
    for (s32 s = 0; s < KNOWN_SLOTS; ++s) {
        const s32 id = player_record.known[list][s].id;
        if (id < 0) continue;
        a.id[n] = id;
        a.slot[n] = s;
        ++n;
    }
}

s32 arts_cell_at(s32 x, s32 y) {
    for (s32 i = 0; i < INFO_ARTS_LISTS; ++i) {
        const InfoArtsCell& c = INFO_ARTS_CELL[i];
        if (box_has({c.x, c.y, c.x + INFO_ARTS_CELL_SIZE - 1, c.y + INFO_ARTS_CELL_SIZE - 1}, x, y))
            return i;
    }
    return -1;
}

// Draws the selected list's entry at `position`; returns which arrows were drawn.
struct ArtsArrows {
    bool prev, next;
};
ArtsArrows arts_draw_entry(const ArtsList& a, s32 list, s32 position, ArtsArrows exists) {
    const InfoArtsCell& cell = INFO_ARTS_CELL[list];
    draw_image(cell.x, cell.y, ARTS_CELL_IMAGE + list, 0);
    const s32 id = a.id[position];
    if (id < 0) {
        draw_image(136, 246, ARTS_NO_ENTRY_IMAGE, 0);
        draw_image(136, 246, ARTS_FRAME_IMAGE, 0);
        return {false, false};
    }
    const s32 entry = ARTS_ENTRY_BASE + 100 * list + id;
    draw_image(136, 246, entry, 0);
    draw_image(136, 246, ARTS_FRAME_IMAGE, 0);
    text_style(5);
    text_colour(3, 8, 1);
    text_reveal_limit = 10;
    print_text_vertical_seen(449, 276, entry);
    if (exists.prev) draw_image(464, 440, pointer_in(ARTS_PREV_BOX) ? 878 : 876, 0);
    if (exists.next) draw_image(165, 440, pointer_in(ARTS_NEXT_BOX) ? 879 : 877, 0);
    const s32 level = player_record.known[list][a.slot[position]].level;
    if (level > 0 && list != ARTS_NO_LEVEL_LIST) {
        text_colour(25, 5, 0);
        print_number_vertical_seen(465, 390, level, 3);
    }
    return exists;
}

void arts_draw_hover() {
    const s32 i = arts_cell_at(pointer_x, pointer_y);
    if (i < 0) return;
    const InfoArtsCell& c = INFO_ARTS_CELL[i];
    text_style(5);
    draw_image(c.x, c.y, ARTS_HOVER_IMAGE + i, 0);
    text_colour(31, 31, 31);
    print_text_seen(205, 214, 550 + i);
    if (i == ARTS_NO_LEVEL_LIST) return;
    print_text_seen(237, 214, 546);
    print_text_seen(301, 214, 547);
    text_colour(31, 31, 0);
    print_number_seen(253, 214, player_record.skill[i], 3);
}

// ---- Album page ---------------------------------------------------------------------------------

constexpr Box ALBUM_PREV_BOX = {540, 199, 547, 210};
constexpr Box ALBUM_NEXT_BOX = {183, 199, 190, 210};
constexpr Box ALBUM_EXIT_BOX = {160, 120, 566, 285};
constexpr s32 ALBUM_TEXT_BASE = 65300;
constexpr s32 ALBUM_ENTRY_X[3] = {510, 398, 286};

// Album entry i; an index past the album is an empty entry.
s32 album_at(s32 i) {
    return i >= 0 && i < PLAYER_ALBUM ? player_record.album[i] : -1;
}

// ---- Acquaintance card --------------------------------------------------------------------------

constexpr Box PERSON_PREV_BOX = {211, 343, 222, 355};
constexpr Box PERSON_NEXT_BOX = {230, 343, 241, 355};
constexpr Box PEOPLE_EXIT_BOX = {98, 123, 549, 373};

} // namespace

// ---- Item grid and item page --------------------------------------------------------------------

bool info_item_usable(s32 item, s32 from_hub) {
    if (item < 0 || item >= ITEM_COUNT) return false;
    const s32 kind = item_master[item].kind;
    if (kind < 1 || kind > ITEM_KIND_EQUIPMENT) return false;
    return from_hub == 0 || kind == ITEM_KIND_EQUIPMENT || kind == ITEM_KIND_SPECIAL ||
           kind == ITEM_KIND_ANTIQUE;
}

s32 info_item_grid(const InfoItemGridFlags& flags) {
    grid_fill(0);
    grid.pending = -1;
    for (;;) {
        grid_draw(flags);
        screen_present();
        s32 x = 0, y = 0;
        const s32 click = take_click(&x, &y);
        if (click == 1) {
            const s32 r = grid_left_click(flags, x, y);
            if (r != GRID_GO_ON) return r;
        } else if (click == 2 && flags.right_exit) {
            for (const Box& b : GRID_EXIT_BOXES)
                if (box_has(b, x, y)) return INFO_GRID_RIGHT_END;
        }
    }
}

void info_page_items(s32 from_hub) {
    const s32 r = info_item_grid({.page_frame = true,
                                  .kind_caption = true,
                                  .right_exit = true,
                                  .use_rule = true,
                                  .from_hub = from_hub});
    if (r >= 0) item_use(r);
    // A tab click has already set the tabs for what comes next.
    if (r != INFO_GRID_TAB_END) page_end(info_tab_items);
}

// ---- Arts page ----------------------------------------------------------------------------------

void info_page_arts() {
    ArtsList a;
    arts_rebuild(a, -1);
    s32 list = -1, position = 0;
    ArtsArrows exists{false, false};
    text_size(16);
    for (;;) {
        page_frame();
        draw_image(187, 101, 850, 0);
        text_style(6);
        text_colour(29, 31, 9);
        print_text_seen(214, 122, 3333);
        print_text_seen(403, 122, 3334);
        ArtsArrows shown{false, false};
        if (list >= 0) shown = arts_draw_entry(a, list, position, exists);
        arts_draw_hover();

        s32 x = 0, y = 0;
        const s32 click = take_click(&x, &y);
        if (click == 1) {
            if (info_tabs_click(INFO_PAGE_ARTS) == 1) return;
            if (shown.next && box_has(ARTS_NEXT_BOX, x, y))
                ++position;
            else if (shown.prev && box_has(ARTS_PREV_BOX, x, y))
                --position;
            const s32 cell = arts_cell_at(x, y);
            if (cell >= 0) {
                if (cell != list) arts_rebuild(a, cell);
                list = cell;
                position = 0;
            }
        } else if (click == 2) {
            for (const Box& b : ARTS_EXIT_BOXES)
                if (box_has(b, x, y)) return page_end(info_tab_arts);
        }
        screen_present();
        exists.prev = position > 0 && a.id[position - 1] >= 0;
        exists.next = position < KNOWN_SLOTS - 1 && a.id[position + 1] >= 0;
    }
}

// ---- Album page ---------------------------------------------------------------------------------

void info_page_album() {
    text_reveal_limit = 8;
    s32 a = 0;
    bool prev = false, next = false;
    for (;;) {
        page_frame();
        draw_image(159, 117, 930, 0);
        // Set in every pass: the tab row's caption leaves its own colour behind.
        text_colour(12, 11, 30);
        for (s32 k = 0; k < 3; ++k) {
            const s32 entry = album_at(3 * a + k);
            if (entry >= 0)
                print_text_vertical_seen(ALBUM_ENTRY_X[k], 141, ALBUM_TEXT_BASE + entry);
        }
        if (prev) draw_image(540, 199, 997, 0);
        if (next) draw_image(183, 199, 998, 0);
        screen_present();

        s32 x = 0, y = 0;
        const s32 click = take_click(&x, &y);
        if (click == 2 && box_has(ALBUM_EXIT_BOX, x, y)) return page_end(info_tab_album);
        if (click == 1) {
            if (a > 0 && box_has(ALBUM_PREV_BOX, x, y))
                --a;
            else if (album_at(3 * a + 3) >= 0 && box_has(ALBUM_NEXT_BOX, x, y))
                ++a;
            if (info_tabs_click(INFO_PAGE_ALBUM) == 1) return;
        }
        prev = a > 0;
        next = album_at(3 * a + 3) >= 0;
    }
}

// ---- Acquaintances ------------------------------------------------------------------------------

s32 info_people_count() {
    s32 n = 0;
    while (n < PLAYER_ACQUAINTANCES) {
        const s32 p = player_record.acquaintances[n];
        if (p < 0 || p >= PLAYER_PEOPLE) break;
        ++n;
    }
    return n;
}

void info_person_draw(s32 j, s32 n) {
    if (j < 0 || j >= n || n > PLAYER_ACQUAINTANCES) return;
    const s32 p = player_record.acquaintances[j];
    if (p < 0 || p >= PLAYER_PEOPLE) return;
    draw_image(220, 145, PORTRAIT_BASE + p, 0);
    text_reveal_limit = 13;
    text_colour(0, 0, 0);
    text_size(16);
    text_style(1);
    print_text_vertical_seen(484, 142, 65000 + p);
    text_reveal_limit = 0;
    text_style(6);
    text_colour(0, 0, 15);
    print_text_vertical_seen(507, 241, 587);
    print_number_vertical_seen(507, 305, player_record.affection[p], 3);
    text_size(24);
    text_style(2);
    print_text_seen(282, 311, 1000 + p);
    if (j > 0) draw_image(210, 341, pointer_in(PERSON_PREV_BOX) ? 914 : 931, 0);
    if (j < n - 1) draw_image(227, 341, pointer_in(PERSON_NEXT_BOX) ? 940 : 932, 0);
}

s32 info_person_step(s32 x, s32 y, s32 j, s32 n) {
    if (j > 0 && box_has(PERSON_PREV_BOX, x, y)) return j - 1;
    if (j < n - 1 && box_has(PERSON_NEXT_BOX, x, y)) return j + 1;
    return j;
}

void info_page_people() {
    const s32 n = info_people_count();
    s32 j = 0;
    for (;;) {
        page_frame();
        draw_image(83, 103, 933, 0);
        if (n > 0) {
            draw_image(181, 121, 937, 0);
            info_person_draw(j, n);
        }
        screen_present();

        s32 x = 0, y = 0;
        const s32 click = take_click(&x, &y);
        if (click == 2 && box_has(PEOPLE_EXIT_BOX, x, y)) return page_end(info_tab_people);
        if (click == 1) {
            if (info_tabs_click(INFO_PAGE_PEOPLE) == 1) return;
            j = info_person_step(x, y, j, n);
        }
    }
}
