// Placeholder maps: one walkable grid shared by every map number, four shared zones.
#include "tools/placeholder_maps.h"

#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/jpeg_writer.h"
#include "tools/map_writer.h"

namespace {

// Our own ground colours (RGB) of the four placeholder zones: grass, sand, stone, earth.
constexpr u8 ZONE_COLOURS[PLACEHOLDER_ZONE_COUNT][3] = {
    {72, 128, 56}, {196, 176, 120}, {128, 128, 136}, {120, 88, 56}};

} // namespace

std::vector<u8> placeholder_zone_picture(s32 k) {
    const u8* base = ZONE_COLOURS[k & 3];
    std::vector<u8> rgb(size_t(256 * 256 * 3));
    for (s32 y = 0; y < 256; ++y) {
        for (s32 x = 0; x < 256; ++x) {
            // A gentle texture and a darker line every 64 pixels.
            s32 shade = ((x * 7 + y * 13) % 17) - 8;
            if (x % 64 == 0 || y % 64 == 0) shade -= 40;
            u8* p = &rgb[size_t((y * 256 + x) * 3)];
            for (s32 c = 0; c < 3; ++c) {
                const s32 v = base[c] + shade;
                p[c] = u8(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    return rgb;
}

void map_put_placeholder_maps(ArcBuilder& builder) {
    MapGridSource grid;
    grid.width = PLACEHOLDER_MAP_SIDE;
    grid.height = PLACEHOLDER_MAP_SIDE;
    u32 cells[PLACEHOLDER_ZONE_COUNT];
    for (s32 k = 0; k < PLACEHOLDER_ZONE_COUNT; ++k) {
        const std::vector<u8> rgb = placeholder_zone_picture(k);
        // Walkable on every plane (class 15 and the every-plane bit), footstep sound 101 + k.
        const u32 terrain = terrain_attribute(15, 0, 1, 0, u32(1 + k), 0);
        const ZoneSource zone = zone_source_uniform(0, terrain, jpeg_writer_zone(rgb.data(), 60));
        const s32 id = PLACEHOLDER_ZONE_FIRST + k;
        builder.put(u32(ARC_ZONE_BASE + id), map_write_zone(zone));
        cells[k] = map_cell(id, s32(zone.jpeg.size()));
    }
    // Zones in blocks of 4 x 4 cells so that a screen shows at most two kinds of ground.
    for (s32 r = 0; r < 64; ++r) {
        for (s32 c = 0; c < 64; ++c)
            grid.cells[size_t(r * 64 + c)] = cells[((r / 4) + (c / 4)) % 4];
    }
    builder.put(u32(ARC_MAP_BASE), map_write_grid(grid));
    for (s32 map = 1; map < PLACEHOLDER_MAP_COUNT; ++map) {
        builder.alias(u32(ARC_MAP_BASE + map), u32(ARC_MAP_BASE));
    }
}
