// Pixel layouts, the drawing target, the blit flag word and the colour lookup tables that every
// drawing routine shares.
//
// Every buffer holds u16 pixels in the display's layout: 5-5-5 (0RRRRRGGGGGBBBBB) or 5-6-5
// (RRRRRGGGGGGBBBBB). Colour work treats every channel as five bits; on 5-6-5 the lowest green
// bit is ignored on input and comes out 0. A colour is never looked up whole: its low byte and its
// high byte index two 256-entry tables and the two results are added. Each part is computed and
// capped by itself, so the sum never carries from one channel into another.
//
// `rows_setup` and then `blit_init` run once at start-up after `display_565` has been set.
#pragma once
#include "engine/types.h"

#include <array>

// 1 when the display takes 5-6-5 pixels, 0 for 5-5-5. Written by the canvas before the tables
// are built.
extern s32 display_565;

// ---- Drawing target -----------------------------------------------------------------------------
constexpr s32 TARGET_MAX_ROWS = 480;

extern u16* target_pixels;               // first pixel of the target; normally `back_buffer`
extern s32 target_width;                 // pixels (640; 32 while a cursor shape is drawn)
extern s32 target_height;                // rows (480; 32)
extern s32 target_pitch;                 // bytes from one row to the next (1280; 64)
extern u32 row_offsets[TARGET_MAX_ROWS]; // byte offset of row i; first `target_height` valid
// One depth byte per target pixel: the byte of the pixel at byte offset o of the target is at
// `occlusion_plane` + o / 2 (rows `target_width` bytes apart). It lies in `save_buffer`.
extern u8* occlusion_plane;
extern u16 key_colour; // transparent colour of raw bitmaps: magenta of the layout

constexpr u16 KEY_COLOUR_555 = 0x7C1F;
constexpr u16 KEY_COLOUR_565 = 0xF81F;

// Fills `row_offsets` for the current target and sets `key_colour` for the layout. Call it after
// every change of the target. A target taller than `TARGET_MAX_ROWS` rows is fatal.
void rows_setup();
// Points the target at `pixels` with the given size and pitch (bytes) and runs `rows_setup`.
void blit_target_set(u16* pixels, s32 width, s32 height, s32 pitch);
// The usual target: `back_buffer`, 640 x 480, pitch 1280.
void blit_target_screen();

// ---- Blit flag word -----------------------------------------------------------------------------
// bits 0-4 tint level, 5 light, 6-10 brightness level, 11-14 blend mode, 15 mirror, 16-23 palette.
constexpr u32 BLIT_TINT_MASK = 0x1F;
constexpr u32 BLIT_LIGHT = 1u << 5;
constexpr u32 BLIT_BRIGHTNESS_SHIFT = 6;
constexpr u32 BLIT_BLEND_SHIFT = 11;
constexpr u32 BLIT_MIRROR = 1u << 15;
constexpr u32 BLIT_PALETTE_SHIFT = 16;

// Blend modes: 0 opaque; 1..9 translucent (source x (10 - m)/10 + destination x m/10);
// 10 nothing drawn; 11 subtractive; 12 additive; 13..15 nothing drawn (mask sprites still fill).
constexpr u32 BLEND_OPAQUE = 0;
constexpr u32 BLEND_HIDDEN = 10;
constexpr u32 BLEND_SUB = 11;
constexpr u32 BLEND_ADD = 12;

constexpr u32 blit_flags_tint(u32 flags) {
    return flags & BLIT_TINT_MASK;
}
constexpr u32 blit_flags_brightness(u32 flags) {
    return (flags >> BLIT_BRIGHTNESS_SHIFT) & 31;
}
constexpr u32 blit_flags_blend(u32 flags) {
    return (flags >> BLIT_BLEND_SHIFT) & 15;
}
constexpr u32 blit_flags_palette(u32 flags) {
    return (flags >> BLIT_PALETTE_SHIFT) & 0xFF;
}
// Builds a flag word from its fields (each taken modulo its width).
constexpr u32 blit_flags(u32 tint, u32 brightness, u32 blend, bool mirror, u32 palette) {
    return (tint & 31) | (brightness & 31) << BLIT_BRIGHTNESS_SHIFT |
           (blend & 15) << BLIT_BLEND_SHIFT | (mirror ? BLIT_MIRROR : 0) |
           (palette & 0xFF) << BLIT_PALETTE_SHIFT;
}

// Depth argument: bits 0-7 the depth level (any non-zero low 16 bits make the draw depth-tested:
// a pixel is drawn only where level >= the plane byte); bit 15 adds the show-through grid.
constexpr u32 DEPTH_SHOW_THROUGH = 0x8000;

// ---- Colours ------------------------------------------------------------------------------------
// A 5-5-5 colour in 5-6-5: red and green move up one bit, blue stays, the lowest green bit is 0.
constexpr u16 colour_555_to_565(u32 c) {
    return u16(((c << 1) & 0xFFC0) | (c & 0x1F));
}
// A 5-5-5 colour (bits 0-14) in the display's layout.
inline u16 colour_for_display(u32 c) {
    return display_565 ? colour_555_to_565(c & 0x7FFF) : u16(c & 0x7FFF);
}

// ---- Lookup tables ------------------------------------------------------------------------------
// One byte's contribution to a colour: `low` when the byte is a colour's low byte, `high` when
// it is its high byte.
struct ByteEntry {
    u16 low;
    u16 high;
};
static_assert(sizeof(ByteEntry) == 4);

// A translucency weight: the source scaled by (10 - m)/10 and the destination by m/10, each byte
// part by itself: [0] source low byte, [1] source high byte, [2] destination low, [3] destination
// high.
struct BlendSet {
    u16 part[4][256];
};
static_assert(sizeof(BlendSet) == 2048);

// Colour c (R, G, B): 8 where bit 4, 2, 1 of c is set (0 black ... 7 grey).
extern const s32 tint_colours[8][3];
// Colour c at level j: (colour + tint colour) x (32 - j)/32, rounded; level 31 is black.
extern ByteEntry tint_table[8][32][256];
extern BlendSet blend_sets[10];
// Per brightness level: R0 G0 B0 R1 G1 B1.
extern const s32 brightness_rows[32][6];
// Levels 1..14 recolour by luminance from (R0, G0, B0) to (R1, G1, B1); 15 is black; 16..31
// add (R0, G0, B0). Level 0 means "no brightness step" and is never looked up.
extern ByteEntry brightness_table[32][256];
extern u16 work_palette[256]; // the colours of the current sprite draw
extern BlendSet work_blend;   // the blend set of the current translucent draw
// Entry i: light colour (i AND 0xE0) in the high byte, light strength (i AND 0x1F) in the low.
extern const std::array<u16, 256> light_source_table;

// A colour through one level of a byte-split table.
inline u16 colour_through(const ByteEntry* level, u16 c) {
    return u16(level[c & 0xFF].low + level[c >> 8].high);
}

// Builds the tint, blend and brightness tables for the layout of `display_565` and installs the
// layout's subtractive and additive sprite routines.
void blit_init();
