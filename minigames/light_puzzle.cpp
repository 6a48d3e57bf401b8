#include "minigames/light_puzzle.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "minigames/frame.h"

LightPuzzleState light_puzzle_state;

namespace {

constexpr s32 TEXT_STYLE = 5, TEXT_SIZE = 18;

bool in_give_up_box(s32 x, s32 y) {
    return x >= LAMP_GIVE_UP_X0 && x <= LAMP_GIVE_UP_X1 && y >= LAMP_GIVE_UP_Y0 &&
           y <= LAMP_GIVE_UP_Y1;
}

void lamp_print(s32 x, s32 y, s32 text, bool vertical) {
    if (vertical)
        print_text_vertical_seen(x, y, text);
    else
        print_text_seen(x, y, text);
}

void light_puzzle_draw(const LightPuzzleState& s) {
    draw_image(0, 0, LAMP_BACKDROP_IMAGE, 0);
    draw_image(0, 0, LAMP_BOARD_IMAGE, 0);
    for (s32 i = 0; i < LAMP_COUNT; ++i)
        if (s.lit[i]) draw_image(lamp_specs[i].x, lamp_specs[i].y, lamp_specs[i].image, 0);
    // Every frame sets its own text style and size, the first one included, so the caller's
    // leftover settings never show.
    text_style(TEXT_STYLE);
    text_size(TEXT_SIZE);
    text_colour(25, 0, 0);
    lamp_print(70, 340, LAMP_TEXT_TITLE, false);
    text_colour(0, 0, 0);
    lamp_print(70, 370, LAMP_TEXT_HINT, false);
    if (in_give_up_box(pointer_x, pointer_y))
        text_colour(25, 5, 0);
    else
        text_colour(0, 0, 15);
    lamp_print(LAMP_GIVE_UP_X0, LAMP_GIVE_UP_Y0, LAMP_TEXT_GIVE_UP, true);
}

} // namespace

s32 lamp_at(s32 x, s32 y) {
    for (s32 i = 0; i < LAMP_COUNT; ++i) {
        const LampSpec& l = lamp_specs[i];
        if (x >= l.x && x <= l.x + LAMP_BOX_W && y >= l.y && y <= l.y + LAMP_BOX_H) return i;
    }
    return -1;
}

bool lamp_click(u8 lit[LAMP_COUNT], s32 lamp) {
    if (lamp < 0 || lamp >= LAMP_COUNT || lit[lamp]) return false;
    lit[lamp] = 1;
    for (const s32 link : lamp_specs[lamp].link) lit[link] ^= 1;
    return true;
}

bool lamps_all_lit(const u8 lit[LAMP_COUNT]) {
    for (s32 i = 0; i < LAMP_COUNT; ++i)
        if (!lit[i]) return false;
    return true;
}

s32 game_light_puzzle() {
    LightPuzzleState& s = light_puzzle_state;
    s = LightPuzzleState{};
    s.pattern = rand_below(LAMP_PATTERN_COUNT);
    for (s32 i = 0; i < LAMP_COUNT; ++i) s.lit[i] = lamp_patterns[s.pattern][i];
    frame_enter(0, false);
    screen_save();
    mouse_buttons = 0;
    while (s.result < 0) {
        light_puzzle_draw(s);
        screen_present();
        ++s.frames;
        s32 x = 0, y = 0;
        if (!frame_take_click(&x, &y)) continue;
        const s32 lamp = lamp_at(x, y);
        if (lamp < 0) {
            if (in_give_up_box(x, y)) s.result = 0;
            continue;
        }
        if (lamp_click(s.lit, lamp)) ++s.clicks;
        if (lamps_all_lit(s.lit)) s.result = 1;
    }
    screen_restore();
    return s.result;
}
