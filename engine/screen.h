// The two screen buffers and frame presentation. Every screen draws into `back_buffer` and ends
// its frame with `screen_present`; `save_buffer` keeps a copy of the screen for boxes and markers
// and doubles as the occlusion plane of the map drawing.
#pragma once
#include "engine/types.h"

constexpr s32 SCREEN_W = 640;
constexpr s32 SCREEN_H = 480;
constexpr s32 SCREEN_PIXELS = SCREEN_W * SCREEN_H;

// Both buffers lie one after the other in `screen_buffers`.
extern u16 screen_buffers[2 * SCREEN_PIXELS];
extern u16* back_buffer;
extern u16* save_buffer;

// Shows the back buffer: asks the window thread to present it and returns once it is on screen.
// While message-log lines are shown they are printed over the bottom strip (y 432..479) for the
// present only: the strip is copied out before and back after, so the back buffer never keeps
// them.
void screen_present();

// Copies the whole back buffer into the save buffer, and back.
void screen_save();
void screen_restore();
// Copies the w x h rectangle of the back buffer at (x, y) to / from a buffer of packed rows (w
// pixels each). Rows and columns outside the screen are skipped: they neither read nor write
// anything, and the buffer keeps its layout.
void screen_get_rect(s32 x, s32 y, s32 w, s32 h, u16* dst);
void screen_put_rect(s32 x, s32 y, s32 w, s32 h, const u16* src);
