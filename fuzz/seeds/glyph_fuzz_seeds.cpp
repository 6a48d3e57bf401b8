// Seeds of the glyph target: glyph masters written by the archive builder's glyph writer (blank,
// filled, a frame, strokes, a checkerboard), with control bytes that draw them at several sizes,
// modes, pens and clips (see fuzz/glyph_fuzz.cpp for the layout).
#include "fuzz/seeds/seed_dir.h"
#include "tools/glyph_writer.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    std::vector<GlyphMaster> masters(5);
    for (GlyphMaster& m : masters) m.fill(0);
    glyph_master_fill(masters[1], 0, 0, 96, 96);
    glyph_master_fill(masters[2], 0, 0, 96, 4);
    glyph_master_fill(masters[2], 0, 92, 96, 4);
    glyph_master_fill(masters[2], 0, 0, 4, 96);
    glyph_master_fill(masters[2], 92, 0, 4, 96);
    glyph_master_fill(masters[3], 10, 40, 76, 8);
    glyph_master_fill(masters[3], 44, 5, 8, 86);
    for (s32 y = 0; y < 96; ++y)
        for (s32 x = 0; x < 96; ++x) glyph_master_set(masters[4], x, y, (x / 3 + y / 5) % 2 == 0);
    const std::vector<std::vector<u8>> controls = {
        {0, 0, 0, 0, 0, 0, 0, 0},
        {1, 4, 1, 2, 3, 0, 0, 0},
        {0, 8, 2, u8(-10), u8(-7), u8(-20), 5, 0},
        {1, 2, 3, 30, 20, 0, 0, u8(-100)},
    };
    for (size_t m = 0; m < masters.size(); ++m) {
        const std::vector<u8> entry = glyph_writer_encode(masters[m]);
        for (size_t c = 0; c < controls.size(); ++c) {
            std::vector<u8> in = controls[c];
            in.insert(in.end(), entry.begin(), entry.end());
            seed_write(dir, "glyph" + std::to_string(m) + "_" + std::to_string(c), in);
        }
    }
    return 0;
}
