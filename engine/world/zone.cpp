// Maps, zones and terrain: the grid buffer, the zone loader with its ring cache, the zone painter
// and the terrain lookup.
#include "engine/world/zone.h"

#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/jpg.h"
#include "engine/math.h"
#include "engine/rect.h"
#include "engine/ring.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"

#include <cstring>

MapGrid map_grid;

namespace {

// The largest zone entry read: an attribute part of two full row sets plus the longest JPEG
// stream the cell word can name, with room to spare.
constexpr s32 ZONE_ENTRY_MAX = 262144;
// The archive read buffer of the zone loader and the map loader.
u8 zone_read_buffer[ZONE_ENTRY_MAX];

u32 read_u32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

// Offset of the tile in a decoded block: the attribute part's size rounded up to four bytes,
// so that the tile's pixels are aligned whatever size the attribute part has.
s32 tile_offset(const u8* zone) {
    return s32((read_u32(zone + 4 * ZONE_WORD_TILE) + 3) & ~3u);
}

// Checks a zone entry of `size` bytes whose JPEG stream is `jpeg_length` bytes long: the attribute
// part holds its four words, word 3 names its end, and both row sets lie inside it. The rows are
// walked by their count bytes only; the run walks bound themselves later.
bool zone_entry_sound(const u8* entry, s32 size, s32 jpeg_length) {
    const s32 attr_size = size - jpeg_length;
    if (attr_size < ZONE_HEADER_BYTES) return false;
    if (read_u32(entry + 4 * ZONE_WORD_TILE) != u32(attr_size)) return false;
    for (s32 word : {ZONE_WORD_OCCLUSION, ZONE_WORD_TERRAIN}) {
        const u32 at = read_u32(entry + 4 * word);
        if (at < u32(ZONE_HEADER_BYTES) || at >= u32(attr_size)) return false;
        if (occlusion_rows_size(entry + at, attr_size - s32(at)) < 0) return false;
    }
    return true;
}

bool cell_in_grid(s32 row, s32 col) {
    return row >= 0 && row < MAP_GRID_SIDE && col >= 0 && col < MAP_GRID_SIDE;
}

} // namespace

void map_load(s32 map) {
    world_state.current_map = u16(map);
    const s32 size = gisk_load_bounded(ARC_MAP_BASE + map, zone_read_buffer, MAP_GRID_BYTES);
    if (size < MAP_GRID_MIN_BYTES) {
        shell_fatal("zone:map %d size %d", map, size < 0 ? gisk_size(ARC_MAP_BASE + map) : size);
    }
    std::memset(&map_grid, 0, sizeof map_grid);
    std::memcpy(&map_grid, zone_read_buffer, size_t(size));
    world_state.map_width = s16(map_grid.width);
    world_state.map_height = s16(map_grid.height);
    // Objects of the new map take width, height and hotspot from their images.
    for (s32 i = 0; i < OBJECT_COUNT; ++i) attr_set(i, ATTR_FRAME, attr_get(i, ATTR_FRAME));
}

u8* zone_load(u32 cell) {
    const s32 jpeg_length = s32(cell & 0xFFFF);
    const s32 zone = s32(cell >> 16);
    if (jpeg_length == 0) shell_fatal("zone:this can not happen!");
    rand_stir(u32(rt_rand()));
    const s32 key = ARC_ZONE_BASE + zone;
    if (u8* held = ring_find(key)) return held;

    const s32 size = gisk_load_bounded(key, zone_read_buffer, ZONE_ENTRY_MAX);
    if (size < 0 || !zone_entry_sound(zone_read_buffer, size, jpeg_length)) {
        shell_fatal("zone:%d bad entry", zone);
    }
    const s32 attr_size = size - jpeg_length;
    const s32 tile_at = (attr_size + 3) & ~3;
    u8* block = ring_alloc(key, tile_at + ZONE_TILE_BYTES);
    std::memcpy(block, zone_read_buffer, size_t(attr_size));
    std::memset(block + attr_size, 0, size_t(tile_at - attr_size + ZONE_TILE_BYTES));
    // A stream that is not 258 x 258 is refused by the decoder before it writes: the tile stays
    // black. A stream that breaks off keeps what was decoded.
    jpg_decode_zone(zone_read_buffer + attr_size, jpeg_length,
                    reinterpret_cast<u16*>(block + tile_at));
    return block;
}

void zone_draw(s32 camera_x, s32 camera_y) {
    // Floor division: a camera left of or above the map still finds the zones it overlaps.
    const s32 first_col = camera_x >> 8;
    const s32 first_row = camera_y >> 8;
    for (s32 i = 0; i < 3; ++i) {
        for (s32 j = 0; j < 4; ++j) {
            const s32 row = first_row + i;
            const s32 col = first_col + j;
            const s32 sx = col * ZONE_SIDE_PIXELS - camera_x;
            const s32 sy = row * ZONE_SIDE_PIXELS - camera_y;
            if (!cell_in_grid(row, col)) {
                occlusion_fill(sx, sy, 0);
                continue;
            }
            const u32 cell = map_grid.cells[row][col];
            if ((cell & 0xFFFF) == 0) {
                zone_fill(sx, sy, cell >> 16);
                occlusion_fill(sx, sy, 0);
                continue;
            }
            const u8* zone = zone_load(cell);
            zone_tile_draw(sx, sy, reinterpret_cast<const u16*>(zone + tile_offset(zone)));
            // Pixels that no occlusion run covers stay at depth 0.
            occlusion_fill(sx, sy, 0);
            occlusion_rows_draw(sx, sy, zone + read_u32(zone + 4 * ZONE_WORD_OCCLUSION));
        }
    }
}

s32 zone_terrain_attribute(const u8* zone, s32 x, s32 y) {
    // The loader checked that all 256 rows lie inside the attribute part by their count bytes.
    const u8* p = zone + read_u32(zone + 4 * ZONE_WORD_TERRAIN);
    for (s32 r = 0; r < y; ++r) p += 1 + p[0];
    const u8* q = p + 1;
    const u8* const end = q + p[0];
    s32 col = 0;
    // A run is four bytes: a shorter tail is no run. Runs past 256 columns are not read.
    while (end - q >= 4 && col < ZONE_SIDE_PIXELS) {
        col += q[0] + 1;
        if (x < col) return s32(q[1]) | s32(q[2]) << 8 | s32(q[3]) << 16;
        q += 4;
    }
    return -1;
}

void terrain_at(s32 x, s32 y) {
    WorldState& w = world_state;
    w.terrain_word = 0;
    w.terrain_class = 0;
    w.terrain_kind = 0;
    w.terrain_walk_all = 0;
    w.terrain_bits78 = 0;
    w.terrain_shade = 0;
    w.terrain_footstep = 0;
    w.terrain_depth = 0;
    w.terrain_kind_mask = 0;
    if (x < 0 || y < 0 || x >= w.map_width || y >= w.map_height) return;
    const s32 row = y >> 8;
    const s32 col = x >> 8;
    if (!cell_in_grid(row, col)) return;
    const u32 cell = map_grid.cells[row][col];
    if ((cell & 0xFFFF) == 0) return;
    const s32 found = zone_terrain_attribute(zone_load(cell), x & 255, y & 255);
    if (found < 0) return; // no run covers the pixel: as on an empty cell
    const u32 a = u32(found);
    const u32 kind = (a >> TERRAIN_KIND_SHIFT) & 3;
    w.terrain_word = u16(a);
    w.terrain_class = u8(a & TERRAIN_CLASS_MASK);
    w.terrain_kind = u8(kind);
    w.terrain_kind_mask = TERRAIN_PLANE_MASKS[kind];
    w.terrain_walk_all = (a & TERRAIN_WALK_ALL) ? 1 : 0;
    w.terrain_bits78 = u8((a >> TERRAIN_BITS78_SHIFT) & 3);
    w.terrain_shade = u8(((a >> TERRAIN_SHADE_SHIFT) & 7) * 4);
    w.terrain_footstep = u8((a >> TERRAIN_FOOTSTEP_SHIFT) & 15);
    w.terrain_depth = u8(a >> TERRAIN_DEPTH_SHIFT);
}
