// The mini-game frame: the conventions and screen elements every mini-game shares (the quit
// button, the continue marker and its click wait, the three-line menu, the top and bottom lines,
// the portraits, the click rule, the music keep-and-restore and the clock rule).
#pragma once
#include "engine/types.h"

// Boxes are inclusive on both ends.
struct FrameBox {
    s32 x0, y0, x1, y1;
};
constexpr bool frame_box_has(const FrameBox& b, s32 x, s32 y) {
    return x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1;
}

constexpr FrameBox QUIT_BOX = {609, 420, 633, 468};
constexpr s32 MENU_X = 88;
constexpr s32 MENU_Y[3] = {366, 390, 414};
constexpr s32 TOP_LINE_X = 189, TOP_LINE_Y = 43;
constexpr s32 BOTTOM_LINE_X = 88, BOTTOM_LINE_Y = 342;

// Entry: text_reveal_limit := 0 (when `whole_texts`), the game's pointer shape.
void frame_enter(s32 cursor, bool whole_texts);

// Music: keeps PlayerRecord.music_id and starts `track` (not stored); the restore writes the kept
// value back and plays it again. One keeper per game call.
struct FrameMusic {
    s32 kept = -1;
};
void frame_music_start(FrameMusic& music, s32 track);
void frame_music_restore(const FrameMusic& music);

// The clock rule of a game that spends time: clock_advance(60) from calendar turn 235 on, else
// clock_advance(15).
void frame_clock_spend();

// The click rule: 1 when mouse_buttons equals exactly 1 (or is non-zero when `any_button`); then
// mouse_buttons := 0 and the click point is returned in *x, *y while click_x/click_y := 0.
s32 frame_take_click(s32* x, s32* y, bool any_button = false);

// The quit button: text 331 vertical at (609, 420), size 24, style 2, colour (25, 5, 0) under
// the pointer, else (31, 31, 31).
void frame_draw_quit();

// The three-line menu: texts[i] at (88, 366 + 24 i), size 24, style 2, the row under the pointer
// in (25, 5, 0), the others (0, 0, 0); a text id below 0 leaves its row empty.
void frame_draw_menu(const s32 texts[3]);
// Menu row 1..3 that holds (x, y), 0 when none.
s32 frame_menu_row(s32 x, s32 y);

void frame_top_line(s32 text);
void frame_bottom_line(s32 text);
// Image 1000 at (466, 292); with `named`, text 1000 at (493, 257).
void frame_player_portrait(bool named);
// The opponent's portrait image mirrored at (170, 40).
void frame_opponent_portrait(s32 image);

// The click wait with the continue marker at (x, y): presents the finished screen, keeps the
// 24 x 24 patch under the marker, clears mouse_buttons (unless keep_buttons), then loops until
// mouse_buttons is non-zero (or exactly `end_buttons` when that is not 0): patch back, marker
// image 12 + count / 10 (count 0..39), present. Clears mouse_buttons afterwards (and the click
// point when clear_click). With hide_pointer the pointer is hidden during the wait.
struct FrameWait {
    s32 x = 0, y = 0;
    s32 end_buttons = 0; // 0: any button; 2: the right button alone
    bool keep_buttons = false;
    bool clear_click = false;
    bool hide_pointer = false;
};
void frame_click_wait(const FrameWait& wait);
