// Reads sprite bytes back into their grid and palettes, independently of the blitter: for tests
// that check what a writer or the placeholder archive made.
#pragma once
#include "tools/sprite_writer.h"

#include <array>

inline SpriteSource sprite_decode(const u8* b) {
    const auto rd16 = [](const u8* p) { return u16(p[0] | p[1] << 8); };
    SpriteSource s;
    s.width = rd16(b);
    s.height = rd16(b + 2);
    s.hot_x = s16(rd16(b + 4));
    s.hot_y = s16(rd16(b + 6));
    const s32 palettes = b[8];
    const u8* p = b + 16;
    for (s32 i = 0; i < palettes; ++i) {
        std::array<u16, 256> pal;
        for (s32 c = 0; c < 256; ++c, p += 2) pal[size_t(c)] = rd16(p);
        s.palettes.push_back(pal);
    }
    s.cells.assign(size_t(s.width) * size_t(s.height), SPRITE_CLEAR);
    for (s32 r = 0; r < s.height; ++r) {
        const u8* end = p + 2 + rd16(p);
        p += 2;
        s32 col = 0;
        while (p < end) {
            col += p[0];
            const s32 n = p[1];
            p += 2;
            for (s32 k = 0; k < n; ++k, ++col)
                s.cells[size_t(r) * size_t(s.width) + size_t(col)] = palettes ? *p++ : 0;
        }
    }
    return s;
}
