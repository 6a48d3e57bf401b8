// The sprite blitter: draws run-length, paletted sprites (`SpriteImage`) into the drawing target
// with the blit flag word and the depth argument, and answers whether a pixel of an image is
// opaque.
//
// Every per-draw decision is taken before a pixel is touched: the palette goes through the
// brightness and tint tables into `work_palette`, the blend set is copied into `work_blend`, and
// one of 112 specialised row routines is picked from `blit_routines` by kind, clip case and
// direction. The routine then only walks the runs.
#pragma once
#include "engine/types.h"

#include <array>

// The header of a `SpriteImage` (little-endian). Palettes of 256 colours follow at byte 16
// (palette p at 16 + 512 x p, colours in the display's layout once loaded), then `height` rows:
// each a u16 byte length n and n bytes of runs (u8 skip, u8 count, then count u8 palette indices;
// a mask sprite, palette_count 0, has no indices). Pixels after a row's last run are transparent.
struct SpriteImage {
    u16 width;
    u16 height;
    s16 hot_x;
    s16 hot_y;
    u8 palette_count; // 0: mask sprite, drawn in one fill colour
    u8 reserved[7];
};
static_assert(sizeof(SpriteImage) == 16);
static_assert(offsetof(SpriteImage, hot_x) == 4);
static_assert(offsetof(SpriteImage, hot_y) == 6);
static_assert(offsetof(SpriteImage, palette_count) == 8);

constexpr s32 SPRITE_HEADER_SIZE = 16;
constexpr s32 SPRITE_PALETTE_BYTES = 512;

// Image kind markers shared by every image format: a JPEG picture has "JFIF" at byte 6, a raw
// bitmap the u32 RAW_BITMAP_MAGIC at byte 8; anything else is a sprite.
constexpr u32 RAW_BITMAP_MAGIC = 0x19700328;

// Draws the sprite `image` with its hotspot at (x, y). Nothing is reported; what lies outside
// the target is cut off. `image` must have passed `sprite_validate`.
void blit_sprite(s32 x, s32 y, const void* image, u32 flags, u32 depth);

// 1 when pixel (col, row) of the image, counted from its top-left corner, is opaque, else 0. JPEG
// pictures and raw bitmaps answer 1 for every pixel. A row outside the sprite answers 0.
s32 blit_hit(s32 col, s32 row, const void* image);

// True when the `size` bytes at `data` are an image that the blitters can draw without reading
// outside it: a sprite whose palettes and rows lie inside the entry, every row's runs inside its
// byte length and every row's skips and counts within the width; or a raw bitmap whose pixels lie
// inside the entry; or a JPEG picture (its decoder checks the stream). Anything shorter than the
// 16-byte header is invalid.
bool sprite_validate(const u8* data, s32 size);

// ---- Row routines -------------------------------------------------------------------------------
// Slot = kind base + clip case (+56 when mirrored). Kind bases: 0 opaque, 4 translucent, 8
// subtractive, 12 additive, 16..28 the same four depth-tested, 32 light, 36 mask, 40..52 the first
// four depth-tested with show-through. Clip cases: 0 none, 1 lead, 2 count, 3 both.
constexpr s32 BLIT_SLOTS = 112;
constexpr s32 BLIT_MIRROR_SLOTS = 56;

// What `blit_sprite` hands to the row routine.
struct BlitDrawState {
    u32 dest_offset; // byte offset from `target_pixels` of the first pixel to draw
    const u8* rows;  // the first row to draw
    s32 row_count;   // rows to draw
    s32 lead;        // source columns passed over at the start of every row (cases 1, 3)
    s32 count;       // source columns drawn at most (cases 2, 3)
    s32 y;           // the call's y: its parity sets the show-through phase
    u32 level;       // depth level, or a mask sprite's fill colour
};
extern BlitDrawState blit_state;

using BlitRoutine = void (*)();
extern std::array<BlitRoutine, BLIT_SLOTS> blit_routines;

// Puts the subtractive and additive routines of the layout into their slots (8-15, 24-31, 48-55
// and the mirrored 64-71, 80-87, 104-111); every other slot is the same for both layouts.
void blit_routines_install(s32 layout_565);
