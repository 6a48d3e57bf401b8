// The hub's dialogue services over the dashboard, the travel animation and the transitions.
#include "game/hub_dialog.h"

#include "data/hub_block.h"
#include "engine/blit.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/dashboard.h"

#include <climits>

namespace {

// Picture base + n, or -1 (drawn as nothing) when the sum leaves the id range.
s32 picture_id(s32 base, s32 n) {
    const s64 id = s64(base) + n;
    return id >= 0 && id <= INT_MAX ? s32(id) : -1;
}

void draw_picture(s32 x, s32 y, s32 image, u32 flags) {
    if (image >= 0) draw_image(x, y, image, flags);
}

void draw_portraits(s32 left, s32 right) {
    if (left >= 0)
        draw_picture(HUB_LEFT_X, HUB_PORTRAIT_Y, picture_id(HUB_PORTRAIT_IMAGE, left), BLIT_MIRROR);
    if (right >= 0)
        draw_picture(HUB_RIGHT_X, HUB_PORTRAIT_Y, picture_id(HUB_PORTRAIT_IMAGE, right), 0);
}

void draw_caption(s32 caption) {
    draw_picture(HUB_CAPTION_X, HUB_CAPTION_Y, picture_id(HUB_CAPTION_IMAGE, caption), 0);
}

void print_line(s32 row, s32 text_id) {
    const s32 y = HUB_TEXT_Y + HUB_LINE_H * row;
    transcript_print(text_id, HUB_TEXT_X, y);
    print_text(HUB_TEXT_X, y, text_id);
}

// Where the extra picture of the `_pic` forms goes among the layers.
enum class Pic { None, Under, Over };

struct Layer {
    s32 caption = 0, left = -1, right = -1;
    Pic pic = Pic::None;
    s32 x = 0, y = 0, picture = -1;
};

// The dashboard, the portraits, the caption and the extra picture in the service's order.
void draw_layer(const Layer& l) {
    hub_draw();
    if (l.pic == Pic::Under) draw_picture(l.x, l.y, l.picture, 0);
    draw_portraits(l.left, l.right);
    draw_caption(l.caption);
    if (l.pic == Pic::Over) draw_picture(l.x, l.y, l.picture, 0);
}

TranscriptEntry layer_note(s32 kind, const Layer& l) {
    TranscriptEntry e;
    e.kind = kind;
    e.caption = l.caption;
    e.left = l.left;
    e.right = l.right;
    if (l.pic != Pic::None) {
        e.id = l.picture;
        e.x = l.x;
        e.y = l.y;
        e.number = l.pic == Pic::Over ? TRANSCRIPT_PIC_OVER : TRANSCRIPT_PIC_UNDER;
    }
    return e;
}

void text_setup() {
    text_reveal_limit = HUB_TEXT_LIMIT;
    text_size(24);
}

// Layer and text; `wait` presents and waits for a mouse button over the mark's kept pixels.
void say_layer(const Layer& l, s32 text, bool wait) {
    TranscriptEntry note = layer_note(wait ? TRANSCRIPT_HUB_SAY : TRANSCRIPT_HUB_SHOW, l);
    note.text[0] = text;
    transcript_note(note);

    draw_layer(l);
    u16 kept[HUB_MARK_SIZE * HUB_MARK_SIZE];
    screen_get_rect(HUB_MARK_X, HUB_MARK_Y, HUB_MARK_SIZE, HUB_MARK_SIZE, kept);
    text_setup();
    print_line(0, text);
    if (!wait) return;
    screen_present();
    hub_click_wait_over(kept);
}

// The row 0..3 at (px, py) whose option is present, or -1; the rows' bounds are inclusive at both
// ends here, so y 401 belongs to row 0.
s32 row_at(s32 px, s32 py, const s32* t) {
    if (px < HUB_CHOICE_LEFT || px > HUB_CHOICE_RIGHT) return -1;
    for (s32 k = 0; k < HUB_CHOICE_ROWS; ++k) {
        const s32 top = HUB_TEXT_Y + HUB_LINE_H * k;
        if (py >= top && py <= top + HUB_LINE_H && t[k] > 0) return k;
    }
    return -1;
}

void draw_options(const Layer& l, const s32* t) {
    draw_layer(l);
    text_setup();
    const s32 px = pointer_x, py = pointer_y;
    for (s32 k = 0; k < HUB_CHOICE_ROWS; ++k) {
        if (t[k] <= 0) continue;
        const s32 top = HUB_TEXT_Y + HUB_LINE_H * k;
        // The highlight's rows end before the next row starts.
        const bool under =
            px >= HUB_CHOICE_LEFT && px <= HUB_CHOICE_RIGHT && py >= top && py < top + HUB_LINE_H;
        if (under)
            text_colour(31, 31, 31);
        else
            text_colour(9, 9, 10);
        print_line(k, t[k]);
    }
}

s32 choose_layer(const Layer& l, s32 t0, s32 t1, s32 t2, s32 t3) {
    const s32 t[HUB_CHOICE_ROWS] = {t0, t1, t2, t3};
    bool any = false;
    for (s32 v : t) any = any || v > 0;
    if (!any) {
        // Nothing could ever be clicked: show the layer and go on rather than wait forever.
        draw_options(l, t);
        screen_present();
        return 0;
    }

    TranscriptEntry note = layer_note(TRANSCRIPT_HUB_CHOOSE, l);
    for (s32 k = 0; k < HUB_CHOICE_ROWS; ++k) note.text[k] = t[k];
    s32 result = -1;
    const s32 answer = transcript_note(note);
    if (answer >= 0 && answer < HUB_CHOICE_ROWS && t[answer] > 0) {
        draw_options(l, t);
        result = answer;
    } else {
        mouse_buttons = 0;
        while (result < 0) {
            draw_options(l, t);
            screen_present();
            if (mouse_buttons == 1) {
                mouse_buttons = 0;
                result = row_at(pointer_x, pointer_y, t);
            }
        }
    }

    TranscriptEntry chosen;
    chosen.kind = TRANSCRIPT_CHOSEN;
    chosen.choice = result;
    transcript_note(chosen);
    return result;
}

Layer layer(s32 caption, s32 left, s32 right) {
    Layer l;
    l.caption = caption;
    l.left = left;
    l.right = right;
    return l;
}

Layer pic_layer(s32 caption, s32 left, s32 right, Pic pic, s32 x, s32 y, s32 picture) {
    Layer l = layer(caption, left, right);
    l.pic = pic;
    l.x = x;
    l.y = y;
    l.picture = picture;
    return l;
}

void note_animation(s32 kind, s32 number) {
    TranscriptEntry e;
    e.kind = kind;
    e.number = number;
    transcript_note(e);
}

void transition_frames(s32 first, s32 frames) {
    for (s32 round = 0; round < 2; ++round)
        for (s32 i = 0; i < frames; ++i) {
            hub_draw();
            draw_image(HUB_TRANSITION_X, HUB_TRANSITION_Y, first + i, 0);
            screen_present();
            wait_ms(HUB_TRANSITION_MS);
        }
}

} // namespace

void hub_show(s32 caption, s32 left, s32 right, s32 text) {
    say_layer(layer(caption, left, right), text, false);
}

void hub_say(s32 caption, s32 left, s32 right, s32 text) {
    say_layer(layer(caption, left, right), text, true);
}

void hub_say_pic(s32 caption, s32 x, s32 y, s32 picture, s32 left, s32 right, s32 text) {
    say_layer(pic_layer(caption, left, right, Pic::Under, x, y, picture), text, true);
}

void hub_say_pic_over(s32 caption, s32 x, s32 y, s32 picture, s32 left, s32 right, s32 text) {
    say_layer(pic_layer(caption, left, right, Pic::Over, x, y, picture), text, true);
}

s32 hub_choose(s32 caption, s32 left, s32 right, s32 t0, s32 t1, s32 t2, s32 t3) {
    return choose_layer(layer(caption, left, right), t0, t1, t2, t3);
}

s32 hub_choose_pic(s32 caption, s32 left, s32 right, s32 x, s32 y, s32 picture, s32 t0, s32 t1,
                   s32 t2, s32 t3) {
    return choose_layer(pic_layer(caption, left, right, Pic::Under, x, y, picture), t0, t1, t2, t3);
}

s32 hub_choose_pic_over(s32 caption, s32 left, s32 right, s32 x, s32 y, s32 picture, s32 t0, s32 t1,
                        s32 t2, s32 t3) {
    return choose_layer(pic_layer(caption, left, right, Pic::Over, x, y, picture), t0, t1, t2, t3);
}

void hub_say_lines(s32 t0, s32 t1, s32 t2, s32 t3) {
    const s32 t[HUB_CHOICE_ROWS] = {t0, t1, t2, t3};
    TranscriptEntry note;
    note.kind = TRANSCRIPT_HUB_SAY_LINES;
    for (s32 k = 0; k < HUB_CHOICE_ROWS; ++k) note.text[k] = t[k];
    transcript_note(note);

    mouse_buttons = 0;
    text_reveal_limit = HUB_TEXT_LIMIT;
    for (s32 k = 0; k < HUB_CHOICE_ROWS; ++k) {
        if (t[k] <= 0) continue;
        hub_draw();
        if (t[k] >= 470 && t[k] <= 479)
            draw_image(HUB_LEFT_X, HUB_PORTRAIT_Y, HUB_PORTRAIT_IMAGE + 1, BLIT_MIRROR);
        u16 kept[HUB_MARK_SIZE * HUB_MARK_SIZE];
        screen_get_rect(HUB_MARK_X, HUB_MARK_Y, HUB_MARK_SIZE, HUB_MARK_SIZE, kept);
        text_size(24);
        text_style(2);
        for (s32 j = 0; j <= k; ++j)
            if (t[j] > 0) print_line(j, t[j]);
        screen_present();
        hub_click_wait_over(kept);
    }
}

void hub_travel() {
    note_animation(TRANSCRIPT_HUB_TRAVEL, 0);
    for (s32 f = 0; f < HUB_TRAVEL_FRAMES; ++f) {
        hub_draw_travel(f);
        screen_present();
    }
}

s32 hub_transition_backdrop(s32 kind) {
    static const s32 backdrops[8] = {60407, 60421, 60422, 60425, 60424, 60427, 60421, 60423};
    return kind >= 0 && kind < 8 ? backdrops[kind] : -1;
}

void hub_transition(s32 kind) {
    note_animation(TRANSCRIPT_HUB_TRANSITION, kind);
    transition_frames(HUB_TRANSITION_IMAGE, 6);
    const s32 backdrop = hub_transition_backdrop(kind);
    if (backdrop >= 0) hub_block.scene_backdrop = backdrop;
}

void hub_transition_short() {
    if (world_state.field_active == 1) return;
    note_animation(TRANSCRIPT_HUB_NOTICE, 0);
    transition_frames(HUB_TRANSITION_IMAGE + 6, 2);
}
