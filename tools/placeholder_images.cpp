#include "tools/placeholder_images.h"

#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/sprite_writer.h"

#include <string>

namespace {

// Palette indices of the placeholder pictures.
enum : s16 { INK = 1, FILL = 2, FRAME = 3, PAPER = 4 };

std::array<u16, 256> placeholder_palette(u16 fill) {
    std::array<u16, 256> p{};
    p[INK] = 0x0421; // near black: 0 would be transparent in a cursor
    p[FILL] = fill;
    p[FRAME] = 0x6318; // light grey
    p[PAPER] = 0x1084; // dark grey
    return p;
}

// 3 x 5 digit shapes, one row per string, '#' set.
const char* const digit_rows[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

} // namespace

std::vector<u8> placeholder_cursor_sprite(s32 slot) {
    // Each slot gets its own fill colour so the slots can be told apart.
    static const u16 fills[8] = {0x7FFF, 0x7FE0, 0x03FF, 0x7C1F, 0x03E0, 0x7E00, 0x5EF7, 0x7E73};
    SpriteSource s;
    s.width = 12;
    s.height = 19;
    s.cells.assign(size_t(s.width * s.height), SPRITE_CLEAR);
    auto set = [&](s32 r, s32 c, bool edge) { s.cells[size_t(r * 12 + c)] = edge ? INK : FILL; };
    for (s32 r = 0; r < 12; ++r) // the head: a right triangle with its tip at (0, 0)
        for (s32 c = 0; c <= r; ++c) set(r, c, c == 0 || c == r || r == 11);
    for (s32 r = 12; r < 19; ++r) // the stem
        for (s32 c = 4; c <= 6; ++c) set(r, c, c == 4 || c == 6 || r == 18);
    s.palettes.push_back(placeholder_palette(fills[slot & 7]));
    return sprite_writer_encode(s);
}

std::vector<u8> placeholder_box_sprite(s32 image_id, s32 w, s32 h) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.cells.assign(size_t(w * h), PAPER);
    for (s32 x = 0; x < w; ++x) s.cells[size_t(x)] = s.cells[size_t((h - 1) * w + x)] = FRAME;
    for (s32 y = 0; y < h; ++y) s.cells[size_t(y * w)] = s.cells[size_t(y * w + w - 1)] = FRAME;
    std::string digits = std::to_string(image_id);
    s32 x0 = 3, y0 = 3;
    for (char d : digits) {
        for (s32 r = 0; r < 5; ++r)
            for (s32 c = 0; c < 3; ++c) {
                s32 x = x0 + c, y = y0 + r;
                if (x < w - 1 && y < h - 1 && digit_rows[d - '0'][r][c] == '#')
                    s.cells[size_t(y * w + x)] = FILL;
            }
        x0 += 4;
    }
    s.palettes.push_back(placeholder_palette(0x7FFF));
    return sprite_writer_encode(s);
}

void image_put_placeholder_cursors(ArcBuilder& builder) {
    for (s32 slot = 0; slot < 32; ++slot)
        builder.put(u32(ARC_IMAGE_BASE + 32 + slot), placeholder_cursor_sprite(slot));
}

void image_put_placeholder_boxes(ArcBuilder& builder) {
    // The left-hand and right-hand dialogue boxes of style 0 (images 120 and 121).
    for (s32 image : {120, 121})
        builder.put(u32(ARC_IMAGE_BASE + image), placeholder_box_sprite(image, 560, 190));
}
