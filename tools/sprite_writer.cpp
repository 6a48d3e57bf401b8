#include "tools/sprite_writer.h"

#include "engine/shell.h"

namespace {

void put16(std::vector<u8>& out, u32 v) {
    out.push_back(u8(v & 0xFF));
    out.push_back(u8((v >> 8) & 0xFF));
}

// The runs of one row: (skip, count[, indices]) until the last opaque pixel.
std::vector<u8> encode_row(const s16* cells, s32 width, bool indexed) {
    std::vector<u8> runs;
    s32 col = 0;
    while (true) {
        s32 gap = 0;
        while (col + gap < width && cells[col + gap] == SPRITE_CLEAR) ++gap;
        if (col + gap >= width) break; // only transparent pixels remain
        col += gap;
        while (gap > 255) {
            runs.push_back(255);
            runs.push_back(0);
            gap -= 255;
        }
        s32 len = 0;
        while (col + len < width && cells[col + len] != SPRITE_CLEAR && len < 255) ++len;
        runs.push_back(u8(gap));
        runs.push_back(u8(len));
        if (indexed)
            for (s32 k = 0; k < len; ++k) runs.push_back(u8(cells[col + k]));
        col += len;
    }
    return runs;
}

} // namespace

std::vector<u8> sprite_writer_encode(const SpriteSource& s) {
    if (s.width < 0 || s.width > 0xFFFF || s.height < 0 || s.height > 0xFFFF)
        shell_fatal("sprite_writer: size %dx%d", s.width, s.height);
    if (s.hot_x < -32768 || s.hot_x > 32767 || s.hot_y < -32768 || s.hot_y > 32767)
        shell_fatal("sprite_writer: hotspot (%d,%d)", s.hot_x, s.hot_y);
    if (s.cells.size() != size_t(s.width) * size_t(s.height))
        shell_fatal("sprite_writer: %zu cells for %dx%d", s.cells.size(), s.width, s.height);
    if (s.palettes.size() > 255) shell_fatal("sprite_writer: %zu palettes", s.palettes.size());
    for (s16 c : s.cells)
        if (c < SPRITE_CLEAR || c > 255) shell_fatal("sprite_writer: cell %d", c);

    const bool indexed = !s.palettes.empty();
    std::vector<u8> out;
    put16(out, u32(s.width));
    put16(out, u32(s.height));
    put16(out, u32(s.hot_x) & 0xFFFF);
    put16(out, u32(s.hot_y) & 0xFFFF);
    out.push_back(u8(s.palettes.size()));
    out.resize(16, 0); // bytes 9..15 unused, always 0
    for (const auto& palette : s.palettes)
        for (u16 colour : palette) put16(out, colour);
    for (s32 r = 0; r < s.height; ++r) {
        const std::vector<u8> runs =
            encode_row(s.cells.data() + size_t(r) * size_t(s.width), s.width, indexed);
        if (runs.size() > 0xFFFF) shell_fatal("sprite_writer: row %d of %zu bytes", r, runs.size());
        put16(out, u32(runs.size()));
        out.insert(out.end(), runs.begin(), runs.end());
    }
    return out;
}

std::vector<u8> sprite_writer_solid(s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.hot_x = hot_x;
    s.hot_y = hot_y;
    s.cells.assign(size_t(w) * size_t(h), 1);
    std::array<u16, 256> palette{};
    palette[1] = colour;
    s.palettes.push_back(palette);
    return sprite_writer_encode(s);
}
