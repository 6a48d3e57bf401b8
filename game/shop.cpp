// The buy and sell screens of the shops.
#include "game/shop.h"

#include "data/items.h"
#include "data/shops.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "game/adjust.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"

#include <algorithm>
#include <climits>

ShopScreen shop_screen;

namespace {

struct TermsRow {
    ShopTerms terms;
    s32 shops[3]; // -1 pads
};

// clang-format off
// Shop numbers and what each deals in: stock base, the inventory items it buys, after column.
constexpr TermsRow SHOP_TERMS[] = {
    {{1200, 1200, 1299, true},  {0, 26, 35}},
    {{2100, 2100, 2199, false}, {1, -1, -1}},
    {{2200, 2200, 2299, false}, {2, 14, 27}},
    {{2400,  800, 1199, false}, {3, 15, 28}}, // the antique shops buy the player's curios
    {{2000, 2000, 2099, false}, {4, 16, -1}},
    {{2300, 2300, 2359, false}, {5, 17, -1}},
    {{1400, 1400, 1599, false}, {6, 18, 30}},
    {{1860, 1860, 1889, false}, {7, 19, -1}},
    {{1840, 1840, 1859, false}, {8, 20, -1}},
    {{1800, 1800, 1819, false}, {9, -1, -1}},
    {{   0,    0, 2359, true},  {SHOP_MARKET, -1, -1}},
    {{2282, 2282, 2288, false}, {13, -1, -1}},
    {{2289, 2289, 2295, false}, {21, -1, -1}},
    {{1000, 1000, 1049, false}, {22, -1, -1}},
    {{2275, 2275, 2281, false}, {24, -1, -1}},
    {{2296, 2296, 2299, false}, {25, -1, -1}},
};
// clang-format on

// ---- Layout ------------------------------------------------------------------------------------

// Boxes include both edges.
struct Box {
    s32 x0, y0, x1, y1;
    bool has(s32 x, s32 y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

constexpr s32 ROW_TOP = 39, ROW_BOTTOM = 234;
// Goods row r: x 326 - 24r .. 347 - 24r; printed from x 329 - 24r.
constexpr s32 ROW_X0 = 326, ROW_X1 = 347, ROW_PRINT_X = 329, ROW_STEP = 24;
constexpr s32 ROW_Y = 49, ROW_Y_HOVER = 48, ROW_PRICE_Y = 129, ROW_UNIT_DY = 161;
constexpr s32 PRICE_DIGITS = 5;
constexpr s32 APPRAISAL_FIRST_PIECE = 20; // appraisal experience for an item never held before

constexpr Box LIST_PREV = {390, 126, 408, 143}; // the text runs right to left: right goes back
constexpr Box LIST_NEXT = {36, 126, 54, 143};
constexpr Box BASKET_PREV = {593, 346, 611, 363};
constexpr Box BASKET_NEXT = {339, 346, 357, 363};
constexpr Box BUTTON_LEAVE = {289, 300, 320, 369};
constexpr Box BUTTON_CONFIRM = {289, 380, 320, 449};
constexpr s32 BASKET_BUTTON_TOP = 455, BASKET_BUTTON_BOTTOM = 469;
constexpr s32 COLUMN_STEP = 37;

constexpr s32 IMG_BACK_LEFT = 802, IMG_BACK_BOTTOM = 804, IMG_LIST_PANEL = 803;
constexpr s32 IMG_NEXT = 805, IMG_PREV = 806, IMG_NEXT_LIT = 807, IMG_PREV_LIT = 808;
constexpr s32 IMG_BASKET_NEXT = 809, IMG_BASKET_PREV = 810;
constexpr s32 IMG_PLUS = 813, IMG_MINUS = 814, IMG_COLUMN = 815;
constexpr s32 IMG_LEAVE = 816, IMG_CONFIRM = 817, IMG_PLUS_LIT = 818, IMG_MINUS_LIT = 819;

Box minus_box(s32 j) {
    return {553 - COLUMN_STEP * j, BASKET_BUTTON_TOP, 567 - COLUMN_STEP * j, BASKET_BUTTON_BOTTOM};
}
Box plus_box(s32 j) {
    return {568 - COLUMN_STEP * j, BASKET_BUTTON_TOP, 582 - COLUMN_STEP * j, BASKET_BUTTON_BOTTOM};
}
Box row_box(s32 r) {
    return {ROW_X0 - ROW_STEP * r, ROW_TOP, ROW_X1 - ROW_STEP * r, ROW_BOTTOM};
}

// The goods row of the page under a point, 0..11, or -1.
s32 row_at(s32 x, s32 y) {
    for (s32 r = 0; r < SHOP_PAGE_ROWS; ++r)
        if (row_box(r).has(x, y)) return r;
    return -1;
}

s32 clamp_s32(s64 v) {
    return s32(std::clamp<s64>(v, INT_MIN, INT_MAX));
}

// ---- The goods list ----------------------------------------------------------------------------
// The buy screen lists the shop's own slots in `shop_stock`, the sell screen its own rows.

ShopScreen& S = shop_screen;

s32 list_length() {
    return S.selling ? s32(S.rows.size()) : shop_goods_count(S.shop);
}

// The item of goods row i; -1 for a row outside the list or one whose item has no record (a
// damaged stock slot).
s32 row_item(s32 i) {
    if (i < 0 || i >= list_length()) return -1;
    if (S.selling) return S.rows[size_t(i)].item;
    const s32 offset = shop_stock[S.shop][i].offset;
    if (offset < 0 || offset >= ITEM_COUNT - S.terms.base) return -1;
    return S.terms.base + offset;
}

s32 row_price(s32 i) {
    return S.selling ? S.rows[size_t(i)].price : shop_stock[S.shop][i].price;
}

s32& row_count(s32 i) {
    return S.selling ? S.rows[size_t(i)].count : shop_stock[S.shop][i].stock;
}

// A row that holds goods: an item with a record and pieces left.
bool row_has_goods(s32 i) {
    return row_item(i) >= 0 && row_count(i) > 0;
}

// Appends a row for returned pieces; false when the shop's list has no room left (the buy screen
// only: its list is the shop's thirty slots).
bool row_append(s32 item, s32 price, s32 count) {
    if (S.selling) {
        S.rows.push_back({item, price, count});
        return true;
    }
    const s32 n = shop_goods_count(S.shop);
    if (n >= SHOP_SLOTS) return false;
    shop_stock[S.shop][n] = {item - S.terms.base, price, count};
    return true;
}

// Row i has run out: the rows behind it move up and every basket entry follows its row.
void row_remove(s32 i) {
    if (S.selling) {
        S.rows.erase(S.rows.begin() + i);
    } else {
        ShopSlot* slots = shop_stock[S.shop];
        for (s32 k = i; k < SHOP_SLOTS - 1; ++k) slots[k] = slots[k + 1];
        slots[SHOP_SLOTS - 1] = {-1, 0, 0};
    }
    for (s32 e = 0; e < S.basket_count; ++e) {
        s32& source = S.basket[e].source;
        if (source == i)
            source = -1;
        else if (source > i)
            --source;
    }
}

// ---- The basket --------------------------------------------------------------------------------

s32 basket_find(s32 item) {
    for (s32 e = 0; e < S.basket_count; ++e)
        if (S.basket[e].item == item) return e;
    return -1;
}

// Pieces of the item the player holds now, over every inventory entry.
s32 held_pieces(s32 item) {
    s64 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return clamp_s32(n);
}

// One piece from goods row i into the basket.
void take_piece(s32 i) {
    if (!row_has_goods(i)) return;
    const s32 item = row_item(i);
    s32 e = basket_find(item);
    if (e >= 0) {
        ShopBasketEntry& b = S.basket[e];
        ++b.moved;
        b.after += S.selling ? -1 : 1;
        S.total += b.price;
    } else {
        if (S.selling && S.kinds >= SHOP_KINDS_MAX) {
            S.full = true;
            return;
        }
        if (S.basket_count >= SHOP_BASKET_SIZE) return; // each row is a kind; never reached
        e = S.basket_count++;
        ShopBasketEntry& b = S.basket[e];
        b.item = item;
        b.moved = 1;
        b.source = i;
        b.price = row_price(i);
        b.after = S.selling ? row_count(i) - 1 : held_pieces(item) + 1;
        S.total += b.price;
        if (S.selling) ++S.kinds;
    }
    S.basket_page = e / SHOP_BASKET_COLUMNS;
    if (--row_count(i) == 0) row_remove(i);
}

// One piece of basket entry e back to its row.
void return_piece(s32 e) {
    ShopBasketEntry& b = S.basket[e];
    if (b.source < 0) {
        if (!row_append(b.item, b.price, 1)) return;
        b.source = list_length() - 1;
    } else {
        ++row_count(b.source);
    }
    --b.moved;
    b.after += S.selling ? 1 : -1;
    S.total -= b.price;
    if (b.moved > 0) return;
    for (s32 k = e; k < S.basket_count - 1; ++k) S.basket[k] = S.basket[k + 1];
    --S.basket_count;
    if (S.selling) --S.kinds;
}

// ---- Ending the screen -------------------------------------------------------------------------

// Leaving the buy screen: every piece in the basket goes back to the shop.
void buy_return_all() {
    for (s32 e = 0; e < S.basket_count; ++e) {
        const ShopBasketEntry& b = S.basket[e];
        if (b.source < 0)
            row_append(b.item, b.price, b.moved);
        else
            shop_stock[S.shop][b.source].stock += b.moved;
    }
}

// The first used inventory entry holding the item, or -1.
s32 inventory_entry(s32 item, s32 used) {
    for (s32 i = 0; i < used; ++i)
        if (player_record.inventory[i].item == item) return i;
    return -1;
}

// Paying: false (and nothing changed) when the money is short or the inventory has no room for
// the kinds not held yet; the screen then shows its refusal.
bool buy_confirm() {
    PlayerRecord& p = player_record;
    if (S.total > p.money) return false;
    s32 used = inv_used_count();
    s32 new_kinds = 0;
    for (s32 e = 0; e < S.basket_count; ++e)
        if (inventory_entry(S.basket[e].item, used) < 0) ++new_kinds;
    if (new_kinds > PLAYER_ITEMS - used) return false;

    money_add(-clamp_s32(S.total));
    for (s32 e = 0; e < S.basket_count; ++e) {
        const ShopBasketEntry& b = S.basket[e];
        const s32 i = inventory_entry(b.item, used);
        if (i >= 0) {
            // The pieces join the first entry; `after` counts every entry holding the item.
            p.inventory[i].count = clamp_s32(s64(p.inventory[i].count) + b.moved);
            continue;
        }
        p.inventory[used++] = {b.item, b.after};
        if (p.item_tally[b.item] == 0) {
            // The first piece of an item ever held teaches something about appraising goods.
            p.item_tally[b.item] = 1;
            growth_pool(GROWTH_APPRAISAL) += APPRAISAL_FIRST_PIECE;
            grow(GROWTH_APPRAISAL);
        }
    }
    return true;
}

// Being paid: each item sold keeps the pieces left after the deal in the first entry that offered
// it, its other entries are emptied (the goods row counted them all), and entries sold out leave
// the inventory. An item taken off is one no entry holds any more.
void sell_confirm() {
    PlayerRecord& p = player_record;
    InventoryEntry* inv = p.inventory;
    money_add(clamp_s32(S.total));
    const s32 used = inv_used_count();
    for (s32 e = 0; e < S.basket_count; ++e) {
        const ShopBasketEntry& b = S.basket[e];
        bool first = true;
        for (s32 i = 0; i < used; ++i) {
            if (inv[i].item != b.item || inv[i].count <= 0) continue;
            inv[i].count = first ? b.after : 0;
            first = false;
        }
    }
    for (s32 i = used - 1; i >= 0; --i) {
        if (inv[i].count != 0) continue;
        if (held_pieces(inv[i].item) > 0) {
            std::copy(inv + i + 1, inv + PLAYER_ITEMS, inv + i);
            inv[PLAYER_ITEMS - 1] = {-1, 0};
        } else {
            inv_drop_entry(i);
        }
    }
}

// ---- One pass ----------------------------------------------------------------------------------

struct PassInput {
    u32 buttons;
    s32 x, y;   // the click
    s32 px, py; // the pointer
};

PassInput pass_input() {
    return {mouse_buttons, click_x, click_y, pointer_x, pointer_y};
}

void print_vertical(s32 x, s32 y, s32 text_id) {
    print_text_vertical_seen(x, y, text_id);
}
void print_count(s32 x, s32 y, s64 value, s32 digits) {
    print_number_vertical_seen(x, y, clamp_s32(value), digits);
}

bool list_prev_shown() {
    return S.page > 0;
}
bool list_next_shown() {
    return (S.page + 1) * SHOP_PAGE_ROWS < list_length();
}
bool basket_prev_shown() {
    return S.basket_page > 0;
}
bool basket_next_shown() {
    return (S.basket_page + 1) * SHOP_BASKET_COLUMNS < S.basket_count;
}

// The goods row index shown as row r of the page, or -1 when the row holds no goods to show.
s32 page_row(s32 r) {
    const s32 i = S.page * SHOP_PAGE_ROWS + r;
    if (!S.selling && i >= SHOP_SLOTS) return -1;
    return row_item(i) >= 0 ? i : -1;
}

void draw_frame() {
    draw_image(19, 9, IMG_BACK_LEFT, 0);
    draw_image(11, 268, IMG_BACK_BOTTOM, 0);
    text_style(2);
    text_colour(0, 0, 15);
    print_vertical(392, 22, S.selling ? TEXT_SHOP_TITLE_SELL : TEXT_SHOP_TITLE_BUY);
    text_style(5);
    text_colour(2, 11, 1);
    print_vertical(353, 49, 3335);
    print_vertical(353, 194, 3336);
}

void draw_arrows(const PassInput& in) {
    if (list_prev_shown())
        draw_image(389, 125, LIST_PREV.has(in.px, in.py) ? IMG_PREV_LIT : IMG_PREV, 0);
    if (list_next_shown())
        draw_image(35, 125, LIST_NEXT.has(in.px, in.py) ? IMG_NEXT_LIT : IMG_NEXT, 0);
    if (basket_prev_shown())
        draw_image(592, 345, BASKET_PREV.has(in.px, in.py) ? IMG_PREV_LIT : IMG_BASKET_PREV, 0);
    if (basket_next_shown())
        draw_image(338, 345, BASKET_NEXT.has(in.px, in.py) ? IMG_NEXT_LIT : IMG_BASKET_NEXT, 0);
}

void draw_headings() {
    print_vertical(583, 302, 578);
    if (S.terms.after_column) {
        print_vertical(583, 368, 579);
        print_vertical(583, 405, S.selling ? 592 : 581);
        print_vertical(599, 405, S.selling ? 591 : 580);
    } else {
        print_vertical(583, 405, 579);
    }
}

void draw_basket(const PassInput& in) {
    text_style(1);
    for (s32 j = 0; j < SHOP_BASKET_COLUMNS; ++j) {
        const s32 e = S.basket_page * SHOP_BASKET_COLUMNS + j;
        if (e >= S.basket_count) break;
        const ShopBasketEntry& b = S.basket[e];
        const s32 x = 560 - COLUMN_STEP * j;
        text_colour(0, 0, 0);
        draw_image(555 - COLUMN_STEP * j, 300, IMG_COLUMN, 0);
        const Box minus = minus_box(j), plus = plus_box(j);
        draw_image(minus.x0, minus.y0, minus.has(in.px, in.py) ? IMG_MINUS_LIT : IMG_MINUS, 0);
        if (b.source >= 0)
            draw_image(plus.x0, plus.y0, plus.has(in.px, in.py) ? IMG_PLUS_LIT : IMG_PLUS, 0);
        print_vertical(x, 302, TEXT_ITEM_NAME + b.item);
        print_vertical(x, 392, 548);
        print_vertical(x, 444, 549);
        text_colour(0, 0, 15);
        if (S.terms.after_column) {
            print_count(x, S.selling ? 368 : 352, b.moved, S.selling ? 2 : 3);
            print_count(x, 400, b.after, 3);
        } else if (S.selling) {
            print_count(x, 400, b.moved, 3);
        } else {
            print_count(x, 384, b.moved, 4);
        }
    }
}

void draw_buttons(const PassInput& in) {
    draw_image(BUTTON_LEAVE.x0, BUTTON_LEAVE.y0, IMG_LEAVE, 0);
    draw_image(BUTTON_CONFIRM.x0, BUTTON_CONFIRM.y0, IMG_CONFIRM, 0);
    text_style(6);
    const auto lit = [&](const Box& b) {
        if (b.has(in.px, in.py))
            text_colour(25, 5, 0);
        else
            text_colour(31, 31, 31);
    };
    lit(BUTTON_LEAVE);
    print_vertical(297, 317, 3338);
    lit(BUTTON_CONFIRM);
    print_vertical(297, 398, 3339);
}

void draw_summary() {
    text_size(16);
    text_style(5);
    text_colour(15, 7, 1);
    print_vertical(212, 308, S.selling ? 593 : 574);
    text_colour(0, 0, 15);
    print_count(190, 324, S.basket_count, 2);
    text_colour(15, 7, 1);
    print_vertical(190, 356, 575);
    print_vertical(168, 324, 576);
    if (!S.selling && S.total > player_record.money)
        text_colour(25, 5, 0);
    else
        text_colour(0, 0, 15);
    print_count(168, 356, S.total, 5);
    text_colour(15, 7, 1);
    print_vertical(168, 436, 3337);
    print_vertical(124, 308, 577);
    text_colour(0, 0, 15);
    print_count(102, 356, player_record.money, 5);
    text_colour(15, 7, 1);
    print_vertical(102, 436, 3337);
}

void draw_goods(s32 hovered) {
    text_style(1);
    draw_image(445, 0, IMG_LIST_PANEL, 0);
    for (s32 r = 0; r < SHOP_PAGE_ROWS; ++r) {
        const s32 i = page_row(r);
        if (i < 0) continue;
        const s32 item = row_item(i);
        s32 y = ROW_Y;
        if (r == hovered) {
            draw_image(452, 0, IMAGE_ITEM_BASE + item, 0);
            text_reveal_limit = 6;
            text_style(2);
            text_colour(2, 11, 1);
            print_vertical(573, 193, TEXT_ITEM_DESC + item);
            text_reveal_limit = 0;
            text_style(1);
            text_colour(25, 5, 0);
            y = ROW_Y_HOVER;
        } else {
            text_colour(0, 0, 0);
        }
        const s32 x = ROW_PRINT_X - ROW_STEP * r;
        print_vertical(x, y, TEXT_ITEM_NAME + item);
        print_count(x, ROW_PRICE_Y, row_price(i), PRICE_DIGITS);
        print_vertical(x, y + ROW_UNIT_DY, 3337);
    }
}

// The sell screen's refusal: text 595 and the continue mark until a button goes down.
void full_wait() {
    text_colour(25, 5, 0);
    text_style(5);
    print_vertical(267, 279, TEXT_SHOP_FULL);
    u16 kept[HUB_MARK_SIZE * HUB_MARK_SIZE];
    screen_get_rect(SHOP_WAIT_X, SHOP_WAIT_Y, HUB_MARK_SIZE, HUB_MARK_SIZE, kept);
    cursor_hide();
    mouse_buttons = 0;
    hub_click_wait_at(SHOP_WAIT_X, SHOP_WAIT_Y, kept);
    mouse_buttons = 0;
    cursor_show();
    S.full = false;
}

enum class Outcome { Stay, Leave, Confirm };

// The pass's left or right click, acted on by every test in turn.
Outcome handle_input(const PassInput& in) {
    if (in.buttons == 2) {
        mouse_buttons = 0;
        if (in.y < ROW_TOP || in.y > ROW_BOTTOM) return Outcome::Stay;
        const s32 r = row_at(in.x, in.y);
        const s32 i = r < 0 ? -1 : page_row(r);
        if (i < 0) return Outcome::Stay;
        const s32 e = basket_find(row_item(i));
        if (e >= 0) return_piece(e);
        return Outcome::Stay;
    }
    if (in.buttons != 1) return Outcome::Stay;

    // Arrows, each only while shown.
    const bool lp = list_prev_shown(), ln = list_next_shown();
    const bool bp = basket_prev_shown(), bn = basket_next_shown();
    if (lp && LIST_PREV.has(in.x, in.y)) {
        --S.page;
        mouse_buttons = 0;
    }
    if (ln && LIST_NEXT.has(in.x, in.y)) {
        ++S.page;
        mouse_buttons = 0;
    }
    if (bp && BASKET_PREV.has(in.x, in.y)) {
        --S.basket_page;
        mouse_buttons = 0;
    }
    if (bn && BASKET_NEXT.has(in.x, in.y)) {
        ++S.basket_page;
        mouse_buttons = 0;
    }

    // Goods rows.
    if (in.y >= ROW_TOP && in.y <= ROW_BOTTOM) {
        mouse_buttons = 0;
        const s32 r = row_at(in.x, in.y);
        const s32 i = r < 0 ? -1 : page_row(r);
        if (i >= 0) take_piece(i);
    }

    // Basket buttons: they leave the button word alone, so they act at every pass it stays down.
    if (in.y < BASKET_BUTTON_TOP || in.y > BASKET_BUTTON_BOTTOM) {
        mouse_buttons = 0;
    } else {
        for (s32 j = 0; j < SHOP_BASKET_COLUMNS; ++j) {
            const s32 e = S.basket_page * SHOP_BASKET_COLUMNS + j;
            if (e >= S.basket_count) break;
            if (minus_box(j).has(in.x, in.y)) {
                return_piece(e);
                break;
            }
            if (plus_box(j).has(in.x, in.y)) {
                if (S.basket[e].source >= 0) take_piece(S.basket[e].source);
                break;
            }
        }
    }

    // The two big buttons.
    if (BUTTON_LEAVE.has(in.x, in.y)) {
        mouse_buttons = 0;
        return Outcome::Leave;
    }
    if (BUTTON_CONFIRM.has(in.x, in.y)) {
        mouse_buttons = 0;
        return Outcome::Confirm;
    }
    return Outcome::Stay;
}

// Builds the sell screen's list: every used inventory entry in the shop's range with pieces, in
// inventory order. An item held in two entries is one row at its first entry, with the pieces of
// both: a row is an item, as the basket's entries are.
void sell_rows_build() {
    S.rows.clear();
    for (const InventoryEntry& e : player_record.inventory) {
        if (e.item == -1) break;
        if (e.item < S.terms.sell_first || e.item > S.terms.sell_last || e.count <= 0) continue;
        const auto same = [&e](const ShopRow& r) { return r.item == e.item; };
        const auto row = std::find_if(S.rows.begin(), S.rows.end(), same);
        if (row != S.rows.end()) {
            row->count = clamp_s32(s64(row->count) + e.count);
            continue;
        }
        const s32 value = item_entry(e.item).value;
        S.rows.push_back({e.item, value < 0 ? 1 : value, e.count});
    }
}

void shop_run(s32 shop, bool selling) {
    ShopTerms terms{};
    if (!shop_terms(shop, &terms)) return;
    mouse_buttons = 0;
    text_reveal_limit = 0;
    cursor_select(0);
    text_size(16);
    S = ShopScreen{};
    S.shop = shop;
    S.selling = selling;
    S.terms = terms;
    if (selling) {
        sell_rows_build();
        S.kinds = shop_goods_count(shop);
    }

    for (;;) {
        ++S.passes;
        const PassInput in = pass_input();
        draw_frame();
        s32 hovered = -1;
        if (in.py >= ROW_TOP && in.py <= ROW_BOTTOM) hovered = row_at(in.px, in.py);
        draw_arrows(in);
        draw_headings();
        draw_basket(in);
        draw_buttons(in);

        const Outcome outcome = handle_input(in);
        if (outcome == Outcome::Leave) {
            if (!selling) buy_return_all();
            break;
        }
        if (outcome == Outcome::Confirm) {
            if (selling) {
                sell_confirm();
                break;
            }
            if (buy_confirm()) break;
            S.error_passes = SHOP_ERROR_PASSES;
        }

        draw_summary();
        if (!selling && S.error_passes > 0) {
            text_colour(25, 5, 0);
            print_vertical(267, 295, TEXT_SHOP_REFUSED);
            --S.error_passes;
        }
        draw_goods(hovered);
        if (selling && S.full) full_wait();
        screen_present();
    }
    mouse_buttons = 0;
}

} // namespace

bool shop_terms(s32 shop, ShopTerms* terms) {
    for (const TermsRow& row : SHOP_TERMS) {
        for (const s32 s : row.shops) {
            if (s >= 0 && s == shop) {
                *terms = row.terms;
                return true;
            }
        }
    }
    return false;
}

void shop_buy(s32 shop) {
    shop_run(shop, false);
}

void shop_sell(s32 shop) {
    shop_run(shop, true);
}
