// Dialogue boxes and choices: the blocking services through which every conversation on the map
// goes. Each draws its box over the current back buffer, prints a text of the text table page by
// page, presents its own frames and returns only once the player has answered (a key or a mouse
// button for a page, a left click on an option for a choice). A transcript observer
// (engine/transcript.h) sees every call and may answer the waits in place of the player.
#pragma once
#include "engine/types.h"

// ---- Layout -------------------------------------------------------------------------------------
// Box, portrait and text positions of `say` and `choose` by box position 0..3 (top left, top
// right, bottom left, bottom right); any other position takes the layout of 3 with its own box
// image and mirror (`dialog_layout`).
struct DialogLayout {
    s32 box_x, box_y;
    s32 portrait_x, portrait_y;
    s32 text_x, text_y;
    s32 box_image;        // image id (already including the box style)
    bool portrait_mirror; // the portrait is drawn mirrored
};
DialogLayout dialog_layout(s32 position);

constexpr s32 DIALOG_BOX_IMAGE = 120;    // + 3 x style (+ 1 for the right-hand layouts)
constexpr s32 DIALOG_BUBBLE_IMAGE = 122; // + 3 x style
constexpr s32 DIALOG_ARROW_IMAGE = 85;   // the continue arrow: 85..88
constexpr s32 DIALOG_NOTICE_IMAGE = 8;   // `say_center` boxes 128, 256, 384, 512 wide: 8..11
constexpr s32 DIALOG_NOTICE_MARKER = 12; // its blinking marker: 12..15
constexpr s32 DIALOG_ARROW_W = 13;       // the area the continue arrow saves and restores
constexpr s32 DIALOG_ARROW_H = 24;
constexpr s32 DIALOG_BLINK_MS = 100;   // one picture of the arrow or marker
constexpr s32 DIALOG_LINE_CHARS = 14;  // characters a line, boxes and bubbles
constexpr s32 DIALOG_BOX_LINES = 6;    // lines a page of `say`
constexpr s32 DIALOG_BUBBLE_LINES = 4; // lines a page of `say_at`
constexpr s32 DIALOG_TEXT_COLOUR = 15; // 5-5-5 dark blue of `say` and `say_at`
constexpr s32 DIALOG_ROW_H = 24;       // one option row of `choose`
constexpr s32 DIALOG_ROWS_TOP = 20;    // first row below the box top
constexpr s32 DIALOG_ROW_W = 336;      // the pointer counts up to text x + 336
constexpr s32 DIALOG_OPTIONS = 6;
constexpr s32 DIALOG_NOTICE_Y = 228; // `say_center`: 240 - (2 x size 4 + 4)
constexpr s32 DIALOG_NOTICE_MAX_W = 512;

// The bubble of `say_at` (obj): its top-left on the screen from the object's map position and the
// camera (x limited to 0..250; above the object from screen y 240 on, else below it; y outside
// 0..356 becomes 0).
void dialog_bubble_position(s32 obj, s32* x, s32* y);

// ---- Menu colours -------------------------------------------------------------------------------
extern s32 menu_highlight_colour; // 5-5-5 colour of the option under the pointer (red at start)
extern s32 menu_normal_colour;    // of the other options (black at start)
void menu_colours(s32 highlight_colour, s32 normal_colour);

// ---- Services -----------------------------------------------------------------------------------
// Blinks the continue arrow at screen (x, y) until a key or a mouse button goes down. The area
// under the arrow is kept and put back between pictures (only its part on the screen); the last
// picture stays in the back buffer.
void wait_key_blink(s32 x, s32 y);
// Box at `position` with a portrait image; the text in pages of 6 lines of 14 characters, each
// page acknowledged. The back buffer and the cursor are as before when it returns.
void say(s32 position, s32 portrait_image, s32 text_id);
// Speech bubble near obj; pages of 4 lines.
void say_at(s32 obj, s32 text_id);
// One centred box around a literal string (printed as it stands, never as a format; Big5 bytes
// are taken as scrambled); waits once. The box stays in the back buffer.
void say_center(const char* text);
// Up to six options (a text id below 0 leaves the option out) in the box of `position`; returns
// the index 0..5 of the option left-clicked. Right clicks and clicks beside the options are
// ignored. The map scene is rendered over the box before it returns.
s32 choose(s32 position, s32 portrait_image, s32 t0, s32 t1 = -1, s32 t2 = -1, s32 t3 = -1,
           s32 t4 = -1, s32 t5 = -1);
// The option row under the pointer at (px, py) for rows from (text_x, y0), or -1 (outside, or the
// option there is absent).
s32 choose_row_at(s32 px, s32 py, s32 text_x, s32 y0, const s32* texts);
// One option: text_id on one line at (x, y0 + 24 x index), in the highlight colour when index is
// `highlighted`. Nothing for text_id < 0.
void choose_draw_option(s32 x, s32 y0, s32 text_id, s32 index, s32 highlighted);
// `world_state.cursor_id` := cursor, then `cursor_apply`.
void cursor_select(s32 cursor);

// Start values of the module (menu colours).
void dialog_reset();
