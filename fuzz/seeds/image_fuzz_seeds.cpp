// Seeds of the image target: well-formed image entries of every kind (sprites with one and
// several palettes, a mask sprite, a raw bitmap, baseline and progressive JPEG pictures).
#include "engine/blit.h"
#include "fuzz/seeds/seed_dir.h"
#include "tools/bitmap_writer.h"
#include "tools/jpeg_writer.h"
#include "tools/sprite_writer.h"

#include <array>
#include <string>
#include <vector>

namespace {

void write_seeds(const std::string& dir) {
    SpriteSource s;
    s.width = 12;
    s.height = 9;
    s.hot_x = 5;
    s.hot_y = 8;
    for (s32 i = 0; i < s.width * s.height; ++i)
        s.cells.push_back(i % 5 == 0 ? SPRITE_CLEAR : s16((i * 37) % 256));
    std::array<u16, 256> palette{};
    for (s32 i = 0; i < 256; ++i) palette[size_t(i)] = u16(i * 131);
    s.palettes = {palette};
    seed_write(dir, "sprite", sprite_writer_encode(s));
    s.palettes = {palette, palette};
    s.palettes[1][7] = 0x7FFF;
    seed_write(dir, "sprite_two_palettes", sprite_writer_encode(s));
    s.palettes.clear();
    seed_write(dir, "mask_sprite", sprite_writer_encode(s));

    std::vector<u16> pixels(7 * 5);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i % 4 == 0 ? KEY_COLOUR_555 : u16(i);
    seed_write(dir, "raw_bitmap", bitmap_writer_encode(7, 5, 1, 1, pixels));

    std::vector<u8> rgb(size_t(20) * 12 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = u8(i * 29);
    seed_write(dir, "jpeg", jpeg_writer_encode(rgb.data(), 20, 12));
    JpegWriteOptions progressive;
    progressive.progressive = true;
    progressive.quality = 50;
    seed_write(dir, "jpeg_progressive", jpeg_writer_encode(rgb.data(), 20, 12, progressive));
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    write_seeds(dir);
    return 0;
}
