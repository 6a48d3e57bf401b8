#include "engine/dialog.h"

#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/image.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/transcript.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world_state.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

s32 menu_highlight_colour = 0x7C00;
s32 menu_normal_colour = 0;

namespace {

// The text being paged: a copy of the expansion, so that nothing printed or presented between
// pages (the message log, an observer) can change the rest of it.
char dialog_text[EXPANDED_TEXT_SIZE];

void text_settings() {
    kanji_style = 0;
    kanji_size = 4;
    kanji_mode = KANJI_MODE_SMOOTH;
    text_scrambled = 1;
    kanji_spacing = 0;
    kanji_line_chars = 0;
}

// Busy-waits one blink picture, stirring the random counter on every spin.
void blink_wait() {
    const u32 start = plat_ticks();
    while (plat_ticks() - start < u32(DIALOG_BLINK_MS)) rand_stir(1);
}

bool input_arrived() {
    return key_code != 0 || click_kind != 0;
}

s32 box_style() {
    // The style only selects among the box images; keep the sum inside the image ids.
    return s32(std::min<u32>(world_state.box_style, 10000));
}

// Prints the copied text page by page at (x, y), each page over a fresh copy of the saved screen
// with its box drawn by `draw_box`, and waits for the player after each page.
template <class DrawBox> void page_text(s32 x, s32 y, s32 lines, DrawBox draw_box) {
    const char* page = dialog_text;
    while (true) {
        screen_restore();
        draw_box();
        kanji_set_colour(KANJI_COLOUR_MAIN, DIALOG_TEXT_COLOUR);
        const u32 end = kanji_print_box(x, y, page, DIALOG_LINE_CHARS, lines);
        const char* next = kanji_cursor;
        // The arrow goes where the page's last character ended; a page without one (only blanks
        // or markup) shows it at the text's start.
        const s32 arrow_x = end != 0 ? s32(end >> 16) : x;
        const s32 arrow_y = end != 0 ? s32(end & 0xFFFF) : y;
        wait_key_blink(arrow_x, arrow_y);
        if (*next == 0 || next == page) break; // no text left (or none consumed: never loop)
        page = next;
    }
}

void expand_into_dialog_text(s32 text_id) {
    std::memcpy(dialog_text, text_expand(text_id), sizeof dialog_text);
    dialog_text[sizeof dialog_text - 1] = 0;
}

} // namespace

DialogLayout dialog_layout(s32 position) {
    const s32 style3 = 3 * box_style();
    switch (position) {
    case 0:
        return {10, 10, 163, 28, 190, 30, DIALOG_BOX_IMAGE + style3, true};
    case 1:
        return {70, 10, 470, 28, 106, 30, DIALOG_BOX_IMAGE + 1 + style3, false};
    case 2:
        return {10, 280, 163, 298, 190, 300, DIALOG_BOX_IMAGE + style3, true};
    case 3:
        return {70, 280, 470, 298, 106, 300, DIALOG_BOX_IMAGE + 1 + style3, false};
    default: {
        const bool even = (position & 1) == 0;
        return {70, 280, 470, 298, 106, 300, DIALOG_BOX_IMAGE + style3 + (position & 1), even};
    }
    }
}

void dialog_bubble_position(s32 obj, s32* x, s32* y) {
    s32 bx = attr_get(obj, ATTR_X) - world_state.camera_x - 190;
    bx = std::clamp(bx, 0, 250);
    const s32 sy = attr_get(obj, ATTR_Y) - world_state.camera_y;
    s32 by = sy >= 240 ? sy - 240 : sy + 10;
    if (by < 0 || by > 356) by = 0;
    *x = bx;
    *y = by;
}

void menu_colours(s32 highlight_colour, s32 normal_colour) {
    menu_highlight_colour = highlight_colour;
    menu_normal_colour = normal_colour;
}

void dialog_reset() {
    menu_highlight_colour = 0x7C00;
    menu_normal_colour = 0;
}

void wait_key_blink(s32 x, s32 y) {
    // Only the part of the arrow's area that lies on the screen is kept and put back: a page may
    // end at the screen's edge (or past it, after a control byte moved the pen away).
    const s32 left = s32(std::clamp<s64>(x, 0, SCREEN_W));
    const s32 right = s32(std::clamp<s64>(s64(x) + DIALOG_ARROW_W, 0, SCREEN_W));
    const s32 top = s32(std::clamp<s64>(y, 0, SCREEN_H));
    const s32 bottom = s32(std::clamp<s64>(s64(y) + DIALOG_ARROW_H, 0, SCREEN_H));
    const s32 w = right - left, h = bottom - top;
    u16 kept[DIALOG_ARROW_W * DIALOG_ARROW_H];
    if (w > 0 && h > 0) screen_get_rect(left, top, w, h, kept);
    key_code = 0;
    click_kind = 0;

    TranscriptEntry note;
    note.kind = TRANSCRIPT_WAIT;
    note.x = x;
    note.y = y;
    if (transcript_note(note) != TRANSCRIPT_RUN) return;

    s32 k = 0;
    do {
        if (w > 0 && h > 0) screen_put_rect(left, top, w, h, kept);
        draw_image(x, y, DIALOG_ARROW_IMAGE + k, 0);
        screen_present();
        blink_wait();
        k = (k + 1) & 3;
    } while (!input_arrived());
    key_code = 0;
    click_kind = 0;
}

void say(s32 position, s32 portrait_image, s32 text_id) {
    TranscriptEntry note;
    note.kind = TRANSCRIPT_SAY;
    note.position = position;
    note.portrait = portrait_image;
    note.text[0] = text_id;
    transcript_note(note);

    const s32 shown = cursor_shown;
    if (shown) shell_send_cursor_show(0);
    const DialogLayout l = dialog_layout(position);
    screen_save();
    text_settings();
    expand_into_dialog_text(text_id);
    page_text(l.text_x, l.text_y, DIALOG_BOX_LINES, [&l, portrait_image] {
        draw_image(l.box_x, l.box_y, l.box_image, 0);
        draw_image(l.portrait_x, l.portrait_y, portrait_image, l.portrait_mirror ? BLIT_MIRROR : 0);
    });
    screen_restore();
    if (shown) shell_send_cursor_show(1);
}

void say_at(s32 obj, s32 text_id) {
    s32 bx = 0, by = 0;
    dialog_bubble_position(obj, &bx, &by);
    TranscriptEntry note;
    note.kind = TRANSCRIPT_SAY_AT;
    note.object = obj;
    note.text[0] = text_id;
    note.x = bx;
    note.y = by;
    transcript_note(note);

    const s32 shown = cursor_shown;
    if (shown) shell_send_cursor_show(0);
    const s32 image = DIALOG_BUBBLE_IMAGE + 3 * box_style();
    screen_save();
    text_settings();
    expand_into_dialog_text(text_id);
    page_text(bx + 24, by + 20, DIALOG_BUBBLE_LINES, [=] { draw_image(bx, by, image, 0); });
    screen_restore();
    if (shown) shell_send_cursor_show(1);
}

void say_center(const char* text) {
    if (text == nullptr) text = "";
    kanji_size = 4;
    text_scrambled = 1;
    kanji_line_chars = 0;
    kanji_spacing = 0;
    const s32 w = std::min(kanji_measure(text) + 24, DIALOG_NOTICE_MAX_W);
    kanji_style = 0;
    kanji_mode = KANJI_MODE_SMOOTH;
    const s32 k = (w - 1) / 128;
    const s32 box_x = 320 - 64 * (k + 1);

    TranscriptEntry note;
    note.kind = TRANSCRIPT_SAY_CENTER;
    note.x = box_x;
    note.y = DIALOG_NOTICE_Y;
    std::strncpy(note.literal, text, sizeof note.literal - 1);
    text_trim_partial(note.literal);
    transcript_note(note);

    kanji_pen_x = 320 - w / 2;
    kanji_pen_y = DIALOG_NOTICE_Y;
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x7FFF);
    kanji_set_colour(KANJI_COLOUR_SECOND, 15);
    kanji_set_colour(KANJI_COLOUR_OUTLINE, 0x3C00);
    draw_image(box_x, DIALOG_NOTICE_Y, DIALOG_NOTICE_IMAGE + k, 0);
    // The text is a message, not a format: a "%" in it prints as itself.
    kanji_printf("%s", text);

    key_code = 0;
    click_kind = 0;
    const s32 shown = cursor_shown;
    if (shown) shell_send_cursor_show(0);
    TranscriptEntry wait;
    wait.kind = TRANSCRIPT_WAIT;
    wait.x = box_x + 128 * k + 104;
    wait.y = DIALOG_NOTICE_Y;
    if (transcript_note(wait) == TRANSCRIPT_RUN) {
        s32 j = 0;
        do {
            draw_image(wait.x, wait.y, DIALOG_NOTICE_MARKER + j, 0);
            screen_present();
            blink_wait();
            j = (j + 1) & 3;
        } while (!input_arrived());
    }
    if (shown) shell_send_cursor_show(1);
    key_code = 0;
    click_kind = 0;
}

s32 choose_row_at(s32 px, s32 py, s32 text_x, s32 y0, const s32* texts) {
    const s32 dy = py - y0;
    if (dy < 0 || dy >= DIALOG_ROW_H * DIALOG_OPTIONS) return -1;
    if (px < text_x || px > text_x + DIALOG_ROW_W) return -1;
    const s32 row = dy / DIALOG_ROW_H;
    return texts[row] < 0 ? -1 : row;
}

void choose_draw_option(s32 x, s32 y0, s32 text_id, s32 index, s32 highlighted) {
    if (text_id < 0) return;
    text_settings();
    kanji_set_colour(KANJI_COLOUR_MAIN,
                     index == highlighted ? menu_highlight_colour : menu_normal_colour);
    kanji_print_reveal(x, y0 + DIALOG_ROW_H * index, text_expand(text_id));
}

s32 choose(s32 position, s32 portrait_image, s32 t0, s32 t1, s32 t2, s32 t3, s32 t4, s32 t5) {
    const s32 texts[DIALOG_OPTIONS] = {t0, t1, t2, t3, t4, t5};
    const DialogLayout l = dialog_layout(position);
    draw_image(l.box_x, l.box_y, l.box_image, 0);
    draw_image(l.portrait_x, l.portrait_y, portrait_image, l.portrait_mirror ? BLIT_MIRROR : 0);
    screen_save();
    click_kind = 0;
    const s32 y0 = l.box_y + DIALOG_ROWS_TOP;

    TranscriptEntry note;
    note.kind = TRANSCRIPT_CHOOSE;
    note.position = position;
    note.portrait = portrait_image;
    std::copy(texts, texts + DIALOG_OPTIONS, note.text);
    const s32 answer = transcript_note(note);

    s32 row = -1;
    if (answer >= 0 && answer < DIALOG_OPTIONS && texts[answer] >= 0) {
        row = answer;
    } else {
        s32 prev = -9999;
        while (true) {
            // The pointer is read before the click is cleared: a click is judged where the
            // pointer stood when it was seen, not where input arriving meanwhile moved it.
            const u32 c = click_kind;
            const s32 px = pointer_x, py = pointer_y;
            click_kind = 0;
            row = choose_row_at(px, py, l.text_x, y0, texts);
            if (row != prev) {
                screen_restore();
                for (s32 i = 0; i < DIALOG_OPTIONS; ++i)
                    choose_draw_option(l.text_x, y0, texts[i], i, row);
                screen_present();
            }
            prev = row;
            if (c == 1 && row != -1) break;
        }
    }

    scene_render();
    screen_present();
    click_kind = 0;
    TranscriptEntry chosen;
    chosen.kind = TRANSCRIPT_CHOSEN;
    chosen.choice = row;
    transcript_note(chosen);
    return row;
}

void cursor_select(s32 cursor) {
    world_state.cursor_id = u32(cursor);
    cursor_apply();
}
