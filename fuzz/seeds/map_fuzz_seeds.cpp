// Seeds of the map target: a grid with colour cells and cells of zone 1, a narrow map with the
// camera off its left edge, and the 5-6-5 layout, each carrying a well-formed zone entry (JPEG
// tile, terrain runs and occlusion runs). The input layout is the target's (fuzz/map_fuzz.cpp).
#include "engine/world/zone.h"
#include "fuzz/seeds/seed_dir.h"
#include "tools/jpeg_writer.h"
#include "tools/map_writer.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr s32 FUZZ_ZONE = 1;
constexpr size_t HEADER_BYTES = 41;

void write_seeds(const std::string& dir) {
    std::vector<u8> rgb(size_t(256 * 256 * 3));
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = u8(i * 13 / 7);
    ZoneSource z = zone_source_uniform(3, terrain_attribute(15, 1, 1, 2, 3, 40),
                                       jpeg_writer_zone(rgb.data(), 40));
    z.terrain[5] = {{10, 1}, {20, 0x123456}, {226, 7}};
    z.occlusion[7] = {{100, 9}, {50, 200}};
    const std::vector<u8> zone = map_write_zone(z);
    for (s32 variant = 0; variant < 3; ++variant) {
        std::vector<u8> in(HEADER_BYTES, 0);
        in[0] = u8(variant == 2 ? 2 : 0);
        const u16 w = variant == 1 ? 500 : 1024, h = 600;
        in[1] = u8(w), in[2] = u8(w >> 8), in[3] = u8(h), in[4] = u8(h >> 8);
        for (s32 i = 0; i < 8; ++i) {
            const u32 cell = (i + variant) % 3 == 0 ? map_cell_colour(0x7C00)
                                                    : map_cell(FUZZ_ZONE, s32(z.jpeg.size()));
            for (s32 k = 0; k < 4; ++k) in[size_t(5 + 4 * i + k)] = u8(cell >> (8 * k));
        }
        const s16 cam[2] = {s16(variant == 1 ? -70 : 300), s16(100)};
        std::memcpy(&in[37], cam, 4);
        in.insert(in.end(), zone.begin(), zone.end());
        const char* names[] = {"plain", "narrow", "layout565"};
        seed_write(dir, names[variant], in);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    write_seeds(dir);
    return 0;
}
