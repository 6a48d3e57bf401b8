// The archive builder's writer of glyph masters: encodes a 96 x 96 one-bit bitmap as the
// run-length stream the glyph engine decodes (engine/kanji.h) and puts it under its font entry.
//
// The stream always covers the whole bitmap: runs alternate white and ink from the top-left
// pixel on, row after row; a run longer than 63 pixels continues after an empty run of the other
// colour; the last group is padded with empty runs.
#pragma once
#include "engine/kanji.h"
#include "engine/types.h"

#include <array>
#include <vector>

class ArcBuilder;

// A decoded master: 96 rows of 12 bytes, most significant bit first, 1 = ink.
using GlyphMaster = std::array<u8, GLYPH_MASTER_BYTES>;

inline bool glyph_master_get(const GlyphMaster& m, s32 x, s32 y) {
    return (m[size_t(y * GLYPH_ROW_BYTES + (x >> 3))] >> (7 - (x & 7))) & 1;
}
inline void glyph_master_set(GlyphMaster& m, s32 x, s32 y, bool ink = true) {
    u8& byte = m[size_t(y * GLYPH_ROW_BYTES + (x >> 3))];
    const u8 bit = u8(0x80 >> (x & 7));
    byte = ink ? u8(byte | bit) : u8(byte & ~bit);
}
// Sets every pixel of the rectangle (x, y, w, h) to ink.
void glyph_master_fill(GlyphMaster& m, s32 x, s32 y, s32 w, s32 h);

// The run-length stream of a master, whatever its length.
std::vector<u8> glyph_writer_encode(const GlyphMaster& master);

// The stream of the master or, when that is longer than the glyph load buffer (2,048 bytes), of
// a simplified copy: white gaps inside a row are closed, the narrowest first (1 pixel, then 2...),
// until the stream fits. A row of solid ink always fits, so this always ends.
std::vector<u8> glyph_writer_encode_fit(const GlyphMaster& master);

// The font entry id of glyph `index` in `style`: ARC_FONT_BASE + 13816 x style + index.
u32 glyph_writer_entry_id(s32 style, s32 index);

// Puts an encoded stream under the font entry of (style, index). Fatal ("glyph_writer: ...") for
// a style outside 0..7, an index outside 0..13815 or a stream larger than the load buffer.
void glyph_writer_put(ArcBuilder& builder, s32 style, s32 index, std::vector<u8> stream);
