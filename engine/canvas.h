// The canvas: puts finished frames on the visible surface and keeps the 32 colour-keyed software
// cursors in step with the pointer. Runs on the window thread.
#pragma once
#include "engine/types.h"

extern s32 canvas_ready;
extern s32 cursor_shown;
extern s32 cursor_hot_x[32];
extern s32 cursor_hot_y[32];
extern s32 cursor_saved_x;
extern s32 cursor_saved_y;
extern s32 cursor_last_x;
extern s32 cursor_last_y;
extern s32 cursor_last_slot;
// The 32 x 32 image that a cursor shape is drawn into before it is defined (rows of 32 pixels).
extern u16 cursor_scratch[32 * 32];
// The shapes of the 32 cursor slots; pixel value 0 is transparent.
extern u16 cursor_shapes[32][32 * 32];

void canvas_init();
void canvas_release();
void canvas_present(s32 x, s32 y, s32 slot);
void canvas_repaint();
void canvas_cursor_define(s32 slot, s32 hot_x, s32 hot_y);
void canvas_cursor_show(s32 show);
void canvas_cursor_draw(s32 which, s32 x, s32 y, s32 slot);
// The description of a display result code, for the set-up failure messages; codes the table
// does not know give "Unrecognized error value.".
const char* canvas_error_name(u32 result);
