#include "tools/glyph_writer.h"

#include "engine/gisk.h"
#include "engine/shell.h"
#include "tools/arcbuild.h"

#include <utility>

namespace {

constexpr s32 MASTER_BITS = GLYPH_SIDE * GLYPH_SIDE;

// Collects run lengths into groups of four slots (white, ink, white, ink) of three bytes.
class RunPacker {
  public:
    // Adds a run of `length` pixels of the given colour.
    void run(bool ink, s32 length) {
        while (length > 0) {
            if (slot_is_ink() != ink) push(0);
            const s32 take = length < GLYPH_RUN_MAX ? length : GLYPH_RUN_MAX;
            push(take);
            length -= take;
        }
    }
    std::vector<u8> finish() {
        while (slot_ != 0) push(0);
        return std::move(out_);
    }

  private:
    bool slot_is_ink() const { return slot_ & 1; }
    void push(s32 length) {
        group_ |= u32(length) << (6 * slot_);
        if (++slot_ == 4) {
            out_.push_back(u8(group_ & 0xFF));
            out_.push_back(u8((group_ >> 8) & 0xFF));
            out_.push_back(u8((group_ >> 16) & 0xFF));
            group_ = 0;
            slot_ = 0;
        }
    }

    std::vector<u8> out_;
    u32 group_ = 0;
    s32 slot_ = 0;
};

bool bit_at(const GlyphMaster& m, s32 pos) {
    return (m[size_t(pos >> 3)] >> (7 - (pos & 7))) & 1;
}

// Closes every white gap of at most `width` pixels that lies between two ink pixels of a row.
void close_row_gaps(GlyphMaster& m, s32 width) {
    for (s32 y = 0; y < GLYPH_SIDE; ++y) {
        s32 last_ink = -1;
        for (s32 x = 0; x < GLYPH_SIDE; ++x) {
            if (!glyph_master_get(m, x, y)) continue;
            if (last_ink >= 0 && x - last_ink - 1 <= width)
                for (s32 g = last_ink + 1; g < x; ++g) glyph_master_set(m, g, y);
            last_ink = x;
        }
    }
}

} // namespace

void glyph_master_fill(GlyphMaster& m, s32 x, s32 y, s32 w, s32 h) {
    for (s32 row = y; row < y + h; ++row)
        for (s32 col = x; col < x + w; ++col)
            if (row >= 0 && row < GLYPH_SIDE && col >= 0 && col < GLYPH_SIDE)
                glyph_master_set(m, col, row);
}

std::vector<u8> glyph_writer_encode(const GlyphMaster& master) {
    RunPacker packer;
    s32 pos = 0;
    while (pos < MASTER_BITS) {
        const bool ink = bit_at(master, pos);
        s32 end = pos + 1;
        while (end < MASTER_BITS && bit_at(master, end) == ink) ++end;
        packer.run(ink, end - pos);
        pos = end;
    }
    return packer.finish();
}

std::vector<u8> glyph_writer_encode_fit(const GlyphMaster& master) {
    std::vector<u8> stream = glyph_writer_encode(master);
    GlyphMaster simpler = master;
    for (s32 gap = 1; s32(stream.size()) > GLYPH_LOAD_BUFFER_SIZE && gap < GLYPH_SIDE; ++gap) {
        close_row_gaps(simpler, gap);
        stream = glyph_writer_encode(simpler);
    }
    return stream;
}

u32 glyph_writer_entry_id(s32 style, s32 index) {
    return u32(ARC_FONT_BASE + KANJI_GLYPHS * style + index);
}

void glyph_writer_put(ArcBuilder& builder, s32 style, s32 index, std::vector<u8> stream) {
    if (style < 0 || style >= KANJI_STYLES) shell_fatal("glyph_writer: style %d", style);
    if (index < 0 || index >= KANJI_GLYPHS) shell_fatal("glyph_writer: index %d", index);
    if (s32(stream.size()) > GLYPH_LOAD_BUFFER_SIZE)
        shell_fatal("glyph_writer: glyph %d of style %d needs %d bytes", index, style,
                    s32(stream.size()));
    builder.put(glyph_writer_entry_id(style, index), std::move(stream));
}
