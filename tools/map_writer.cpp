// Map grid and zone entry writers.
#include "tools/map_writer.h"

#include "engine/shell.h"
#include "engine/world/zone.h"

#include <cstring>

namespace {

void put_u32(std::vector<u8>& out, size_t at, u32 v) {
    for (s32 i = 0; i < 4; ++i) out[at + size_t(i)] = u8(v >> (8 * i));
}

// Appends 256 rows framed by their count bytes; `run_bytes` is 2 (occlusion) or 4 (terrain).
void put_rows(std::vector<u8>& out, const std::vector<ZoneRow>& rows, s32 run_bytes,
              const char* what) {
    if (rows.size() != size_t(ZONE_ROWS)) shell_fatal("map_writer: %s needs 256 rows", what);
    for (const ZoneRow& row : rows) {
        const size_t count = row.size() * size_t(run_bytes);
        if (count > 255) shell_fatal("map_writer: %s row of %zu runs", what, row.size());
        out.push_back(u8(count));
        for (const ZoneRun& run : row) {
            if (run.length < 1 || run.length > 256) {
                shell_fatal("map_writer: %s run of %d pixels", what, run.length);
            }
            out.push_back(u8(run.length - 1));
            for (s32 i = 0; i < run_bytes - 1; ++i) out.push_back(u8(run.value >> (8 * i)));
        }
    }
}

} // namespace

u32 terrain_attribute(u32 terrain_class, u32 kind, u32 walk_all, u32 shade, u32 footstep,
                      u32 depth) {
    return (terrain_class & TERRAIN_CLASS_MASK) | (kind & 3) << TERRAIN_KIND_SHIFT |
           (walk_all ? TERRAIN_WALK_ALL : 0) | (shade & 7) << TERRAIN_SHADE_SHIFT |
           (footstep & 15) << TERRAIN_FOOTSTEP_SHIFT | (depth & 255) << TERRAIN_DEPTH_SHIFT;
}

ZoneRow zone_row_uniform(u32 value) {
    return ZoneRow{{256, value}};
}

ZoneSource zone_source_uniform(u8 depth, u32 terrain, std::vector<u8> jpeg) {
    ZoneSource source;
    source.occlusion.assign(size_t(ZONE_ROWS), zone_row_uniform(depth));
    source.terrain.assign(size_t(ZONE_ROWS), zone_row_uniform(terrain));
    source.jpeg = std::move(jpeg);
    return source;
}

std::vector<u8> map_write_zone(const ZoneSource& source) {
    if (source.jpeg.size() > 65535)
        shell_fatal("map_writer: zone tile of %zu bytes", source.jpeg.size());
    std::vector<u8> out(size_t(ZONE_HEADER_BYTES), 0);
    put_u32(out, 4 * ZONE_WORD_OCCLUSION, u32(out.size()));
    put_rows(out, source.occlusion, 2, "occlusion");
    put_u32(out, 4 * ZONE_WORD_TERRAIN, u32(out.size()));
    put_rows(out, source.terrain, 4, "terrain");
    put_u32(out, 4 * ZONE_WORD_TILE, u32(out.size()));
    out.insert(out.end(), source.jpeg.begin(), source.jpeg.end());
    return out;
}

u32 map_cell(s32 zone_id, s32 jpeg_length) {
    if (jpeg_length < 1 || jpeg_length > 65535)
        shell_fatal("map_writer: tile of %d bytes", jpeg_length);
    return u32(zone_id & 0xFFFF) << 16 | u32(jpeg_length);
}

u32 map_cell_colour(u16 colour_555) {
    return u32(colour_555) << 16;
}

std::vector<u8> map_write_grid(const MapGridSource& source) {
    MapGrid grid;
    std::memset(&grid, 0, sizeof grid);
    for (s32 r = 0; r < MAP_GRID_SIDE; ++r) {
        for (s32 c = 0; c < MAP_GRID_SIDE; ++c) grid.cells[r][c] = source.cells[size_t(r * 64 + c)];
    }
    grid.width = u16(source.width);
    grid.height = u16(source.height);
    std::vector<u8> out(sizeof grid);
    std::memcpy(out.data(), &grid, sizeof grid);
    return out;
}
