// The archive builder's sprite writer: encodes an indexed pixel grid into a `SpriteImage` entry
// (header, palettes, run-length rows), for sprites with one or several palettes and for mask
// sprites, with their hotspot.
//
// The header's unused bytes 9..15 are always 0, so a written sprite never carries a kind marker
// ("JFIF" at byte 6 needs byte 9 = 'F'; the raw-bitmap magic at byte 8 needs bytes 9..11 non-zero)
// and is always taken as a sprite.
#pragma once
#include "engine/types.h"

#include <array>
#include <vector>

// A grid cell that is transparent.
constexpr s16 SPRITE_CLEAR = -1;

struct SpriteSource {
    s32 width = 0;  // 0..65535
    s32 height = 0; // 0..65535
    s32 hot_x = 0;  // -32768..32767
    s32 hot_y = 0;
    // width x height cells, row by row: SPRITE_CLEAR, or a palette index 0..255 (in a mask
    // sprite any index is one opaque pixel).
    std::vector<s16> cells;
    // 0..255 palettes of 256 colours, written as given; none makes a mask sprite.
    std::vector<std::array<u16, 256>> palettes;
};

// The entry bytes of the sprite. Fatal ("sprite_writer: ...") for a source the format cannot
// hold: sizes or hotspot out of range, a cell count other than width x height, a cell outside
// -1..255, more than 255 palettes, or a row longer than 65535 bytes.
std::vector<u8> sprite_writer_encode(const SpriteSource& source);

// Runs longer than 255 pixels are split: a long gap becomes runs of 255 skipped pixels and no
// count, a long stretch of pixels runs of 255 drawn pixels and no skip. Pixels after a row's last
// drawn pixel are left out (they are transparent).

// A w x h sprite of one colour (palette index 1 of a single palette) with the given hotspot.
std::vector<u8> sprite_writer_solid(s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour);
