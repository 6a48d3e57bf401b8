#include "game/slot_list.h"

#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/save.h"

namespace {

void colour_normal() {
    text_colour(0, 0, 15);
}
void colour_highlight() {
    text_colour(25, 5, 0);
}

bool inside(s32 x, s32 y, s32 left, s32 top, s32 right, s32 bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

bool slot_used(s32 slot) {
    return save_index[slot].used == 1;
}

s32 row_at(s32 x, s32 y, s32 left) {
    for (s32 s = 0; s < SAVE_SLOTS; ++s) {
        const s32 row = slot_row_y(s);
        if (slot_used(s) && inside(x, y, left, row - 2, SLOT_ROW_RIGHT, row + 18)) return s;
    }
    return -1;
}

// The confirmation's two answers, each highlighted while the pointer is on it.
void confirm_answer_draw(s32 x, s32 text_id, s32 px, s32 py) {
    if (inside(px, py, x, 321, x + 16, 341))
        colour_highlight();
    else
        colour_normal();
    print_text(x, 323, text_id);
}

} // namespace

s32 slot_row_y(s32 slot) {
    return slot < 2 ? 223 + 21 * slot : 273 + 21 * (slot - 2);
}

SlotRowTexts slot_row_texts(const SaveSlotHeader& h, s32 slot) {
    SlotRowTexts t{-1, -1, -1};
    if (h.day >= 1 && h.day <= SLOT_DAY_MAX) t.turn = 320 + (h.day - 1) / 6;
    if (h.area >= 0 && h.area <= SLOT_AREA_MAX) t.area = 100 + h.area;
    if (slot == 0) t.mark = 349;
    if (slot == 1 && h.hour >= 0 && h.hour <= SLOT_HOUR_MAX) t.mark = 350 + h.hour;
    return t;
}

void slot_row_draw(s32 slot, s32 y) {
    if (slot < 0 || slot >= SAVE_SLOTS) return;
    const SaveSlotHeader& h = save_index[slot];
    const SlotRowTexts t = slot_row_texts(h, slot);
    print_text(191, y, 302);
    print_number(207, y, h.year, 1);
    print_text(223, y, 303);
    print_number(239, y, h.month, 2);
    print_text(271, y, 304);
    if (t.turn >= 0) print_text(287, y, t.turn);
    if (t.area >= 0) print_text(319, y, t.area);
    if (t.mark >= 0) print_text(399, y, t.mark);
}

s32 slot_row_hit(s32 x, s32 y) {
    return row_at(x, y, SLOT_ROW_X);
}

s32 slot_row_hover(s32 x, s32 y) {
    return row_at(x, y, SLOT_ROW_HOVER_X);
}

bool slot_list_any_used() {
    for (s32 s = 0; s < SAVE_SLOTS; ++s)
        if (slot_used(s)) return true;
    return false;
}

void slot_list_draw(s32 lit) {
    draw_image(SLOT_PANEL_X, SLOT_PANEL_Y, SLOT_PANEL_IMAGE, 0);
    for (s32 s = 0; s < SAVE_SLOTS; ++s) {
        if (!slot_used(s)) continue;
        if (s == lit)
            colour_highlight();
        else
            colour_normal();
        slot_row_draw(s, slot_row_y(s));
    }
}

SlotInput slot_input_read() {
    SlotInput in;
    in.buttons = mouse_buttons;
    in.x = click_x;
    in.y = click_y;
    in.px = pointer_x;
    in.py = pointer_y;
    return in;
}

s32 slot_list_pick(const SlotListFrame& frame) {
    for (;;) {
        const SlotInput in = slot_input_read();
        if (frame.restore_screen) screen_restore();
        slot_list_draw(slot_row_hover(in.px, in.py));
        screen_present();
        if (in.buttons != 1 && in.buttons != 2) continue;
        mouse_buttons = 0;
        if (in.buttons == 2) {
            if (frame.can_close && inside(in.x, in.y, 182, 213, 456, 349)) return -1;
        } else {
            const s32 hit = slot_row_hit(in.x, in.y);
            if (hit >= 0) return hit;
        }
    }
}

s32 slot_confirm_hit(s32 x, s32 y) {
    if (inside(x, y, 390, 321, 406, 341)) return SLOT_CONFIRM_YES;
    if (inside(x, y, 422, 321, 438, 341)) return SLOT_CONFIRM_NO;
    return SLOT_CONFIRM_NONE;
}

s32 slot_confirm(s32 pick) {
    // A press is cleared at the top of the pass after the one that read it (and on entry), never
    // at the top of every pass: in the real window a press arrives while a frame is drawn and
    // presented, and an unconditional clear before the read would drop it.
    bool clear = true;
    for (;;) {
        if (clear) mouse_buttons = 0;
        const SlotInput in = slot_input_read();
        clear = in.buttons != 0;
        slot_list_draw(pick);
        colour_normal();
        print_text(191, 323, 325);
        confirm_answer_draw(390, 326, in.px, in.py);
        confirm_answer_draw(422, 327, in.px, in.py);
        screen_present();
        if (in.buttons == 1) {
            const s32 answer = slot_confirm_hit(in.x, in.y);
            if (answer == SLOT_CONFIRM_YES) return 1;
            if (answer == SLOT_CONFIRM_NO) return 0;
        } else if (in.buttons == 2 && inside(in.x, in.y, 213, 213, 438, 390)) {
            return 0;
        }
    }
}

void slot_place_after_load(s32 slot) {
    if (slot == 0 || slot == 1)
        change_map(attr_get(0, ATTR_MAP), attr_get(0, ATTR_X), attr_get(0, ATTR_Y));
    else
        world_state.field_active = 0;
}
