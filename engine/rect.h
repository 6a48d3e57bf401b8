// Plain-rectangle drawing into the drawing target: raw 16-bit bitmaps with a colour key, solid,
// translucent, darkened and brightened rectangles through the lookup tables, and the 256 x 256
// map zones: a zone's tile into the target and its occlusion rows into the occlusion plane.
//
// Positions are target pixels; colours are 5-5-5 unless said otherwise and are converted for a
// 5-6-5 display. Every routine clips to the target, so a call partly or wholly outside draws only
// what lies inside.
#pragma once
#include "engine/types.h"

// The header of a `RawBitmap`: width x height pixels in the display's layout follow at byte 16,
// row by row; pixels equal to `key_colour` are transparent. The hotspot is not used for drawing.
struct RawBitmap {
    u16 width;
    u16 height;
    s16 hot_x;
    s16 hot_y;
    u32 magic; // RAW_BITMAP_MAGIC
    u8 reserved[4];
};
static_assert(sizeof(RawBitmap) == 16);
static_assert(offsetof(RawBitmap, magic) == 8);

constexpr s32 ZONE_SIZE = 256; // a zone tile is 256 x 256 pixels

// Draws a raw bitmap with its top-left corner at (x, y); with `mirror` bit 15 set, (x, y) is its
// top-right corner and every row runs leftward. `image` must have passed `sprite_validate`.
void blit_bitmap(s32 x, s32 y, const void* image, u32 mirror);
// Solid rectangle of a 5-5-5 colour.
void fill_rect(s32 x, s32 y, s32 w, s32 h, u32 colour);
// colour x (10 - weight)/10 + pixel x weight/10 per channel part; a weight outside 0..9 draws
// nothing.
void box_blend(s32 x, s32 y, s32 w, s32 h, u32 colour, s32 weight);
// Every pixel through `tint_table`: the level byte selects colour (level >> 5) at level
// (level AND 31).
void fade_rect(s32 x, s32 y, s32 w, s32 h, u32 level);
// As `fade_rect`, for the text printers' backdrops.
void tint_rect(s32 x, s32 y, s32 w, s32 h, u32 level);
// Every pixel through `brightness_table` level (level AND 31).
void brightness_rect(s32 x, s32 y, s32 w, s32 h, u32 level);

// Copies a 256 x 256 tile (rows of 256 pixels) with its top-left corner at (x, y).
void zone_tile_draw(s32 x, s32 y, const u16* tile);
// Fills the 256 x 256 area at (x, y) with a 5-5-5 colour.
void zone_fill(s32 x, s32 y, u32 colour);
// Fills the occlusion-plane bytes of the 256 x 256 area at (x, y) with `value`.
void occlusion_fill(s32 x, s32 y, u8 value);
// Decodes a zone's occlusion rows into the plane bytes of the area at (x, y). The rows: 256 of
// them, each a u8 byte count c and c bytes of (u8 length - 1, u8 value) pairs covering the zone's
// columns left to right. A row's pairs never write past its 256 columns.
void occlusion_rows_draw(s32 x, s32 y, const u8* rows);
// The bytes that the 256 occlusion rows at `rows` take, or -1 when they do not all lie inside
// `size` bytes. The zone loader checks the rows with it once.
s32 occlusion_rows_size(const u8* rows, s32 size);
