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
void screen_present();
