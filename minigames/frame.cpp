// The mini-game frame: the screen elements and conventions every mini-game shares.
#include "minigames/frame.h"

#include "data/hub_block.h"
#include "engine/blit.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/clock.h"
#include "game/player.h"

namespace {

constexpr s32 MARKER_SIZE = 24;
constexpr s32 MARKER_FIRST_IMAGE = 12;
constexpr s32 MARKER_FRAMES = 40; // four images, ten frames each
constexpr s32 MENU_ROW_HEIGHT = 24;
constexpr s32 MENU_X_LAST = 424;
constexpr s32 PLAYER_PORTRAIT_IMAGE = 1000;
constexpr s32 PLAYER_NAME_TEXT = 1000;
constexpr s32 QUIT_TEXT = 331;
constexpr u32 MIRRORED = 0x8000;

void highlight_colour(bool under_pointer, s32 r, s32 g, s32 b) {
    if (under_pointer)
        text_colour(25, 5, 0);
    else
        text_colour(r, g, b);
}

} // namespace

void frame_enter(s32 cursor, bool whole_texts) {
    if (whole_texts) text_reveal_limit = 0;
    cursor_select(cursor);
}

void frame_music_start(FrameMusic& music, s32 track) {
    music.kept = player_record.music_id;
    mssw_play_music(track, 0);
}

void frame_music_restore(const FrameMusic& music) {
    player_record.music_id = music.kept;
    mssw_play_music(player_record.music_id, 0);
}

void frame_clock_spend() {
    clock_advance(hub_block.calendar_turn >= 235 ? 60 : 15);
}

s32 frame_take_click(s32* x, s32* y, bool any_button) {
    const u32 buttons = mouse_buttons;
    const bool taken = any_button ? buttons != 0 : buttons == 1;
    if (!taken) return 0;
    mouse_buttons = 0;
    if (x) *x = click_x;
    if (y) *y = click_y;
    click_x = 0;
    click_y = 0;
    return 1;
}

void frame_draw_quit() {
    text_size(24);
    text_style(2);
    highlight_colour(frame_box_has(QUIT_BOX, pointer_x, pointer_y), 31, 31, 31);
    print_text_vertical(QUIT_BOX.x0, QUIT_BOX.y0, QUIT_TEXT);
}

s32 frame_menu_row(s32 x, s32 y) {
    if (x < MENU_X || x > MENU_X_LAST) return 0;
    for (s32 i = 0; i < 3; ++i)
        if (y >= MENU_Y[i] && y < MENU_Y[i] + MENU_ROW_HEIGHT) return i + 1;
    return 0;
}

void frame_draw_menu(const s32 texts[3]) {
    text_size(24);
    text_style(2);
    const s32 under = frame_menu_row(pointer_x, pointer_y);
    for (s32 i = 0; i < 3; ++i) {
        if (texts[i] < 0) continue;
        highlight_colour(under == i + 1, 0, 0, 0);
        print_text(MENU_X, MENU_Y[i], texts[i]);
    }
}

void frame_top_line(s32 text) {
    print_text(TOP_LINE_X, TOP_LINE_Y, text);
}

void frame_bottom_line(s32 text) {
    print_text(BOTTOM_LINE_X, BOTTOM_LINE_Y, text);
}

void frame_player_portrait(bool named) {
    draw_image(466, 292, PLAYER_PORTRAIT_IMAGE, 0);
    if (named) print_text(493, 257, PLAYER_NAME_TEXT);
}

void frame_opponent_portrait(s32 image) {
    draw_image(170, 40, image, MIRRORED);
}

void frame_click_wait(const FrameWait& wait) {
    screen_present();
    u16 patch[MARKER_SIZE * MARKER_SIZE] = {};
    screen_get_rect(wait.x, wait.y, MARKER_SIZE, MARKER_SIZE, patch);
    if (!wait.keep_buttons) mouse_buttons = 0;
    if (wait.hide_pointer) cursor_hide();
    s32 count = 0;
    for (;;) {
        const u32 buttons = mouse_buttons;
        if (wait.end_buttons == 0 ? buttons != 0 : buttons == static_cast<u32>(wait.end_buttons))
            break;
        screen_put_rect(wait.x, wait.y, MARKER_SIZE, MARKER_SIZE, patch);
        draw_image(wait.x, wait.y, MARKER_FIRST_IMAGE + count / 10, 0);
        screen_present();
        count = (count + 1) % MARKER_FRAMES;
    }
    if (wait.hide_pointer) cursor_show();
    mouse_buttons = 0;
    if (wait.clear_click) {
        click_x = 0;
        click_y = 0;
    }
}
