// Fuzz target for maps and zones: the input describes a map grid entry and carries one zone
// entry. Layout of the input:
//   byte 0       bit 0: grid entry of an odd size (16,380 + byte 1 % 80 bytes) in place of the
//                full 16,448; bit 1: 5-6-5 display
//   bytes 1..4   map width, map height (u16)
//   bytes 5..36  eight cell words for cells (0, 0..3) and (1, 0..3); a cell with a tile length
//                names zone 1 whatever its zone id
//   bytes 37..40 camera x, camera y (s16)
//   the rest     the entry of zone 1
// The target loads the map, paints the zones under the camera and looks the terrain up at the
// corners and middles of the eight cells, around the map's edges and at input-given points.
// The decoded zone lives in the ring, inside one large pool allocation, so the ring memory after
// its block is poisoned while it is read. Fatal errors (PlatFatal) are acceptable answers;
// crashes and sanitizer reports are bugs.
//
// Seeds: fuzz/seeds/map_fuzz_seeds.cpp.
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/jpg.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "fuzz/ring_poison.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tools/arcbuild.h"
#include "tools/map_writer.h"

#include <sanitizer/asan_interface.h>

#include <cstring>
#include <vector>

namespace {

constexpr s32 FUZZ_MAP = 3;
constexpr s32 FUZZ_ZONE = 1;
constexpr size_t HEADER_BYTES = 41;
constexpr size_t FUZZ_MAX_INPUT = 1 << 19;

bool engine_ready = false;

void engine_setup() {
    HarnessConfig c;
    c.physical_memory = 16ull << 20;
    harness_reset(c);
    shell_shutdown();
    if (!plat_window_open("map fuzz")) __builtin_trap();
    canvas_init();
    pool_init();
    blit_target_screen();
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    engine_ready = true;
}

u32 rd32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}
u16 rd16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}

std::vector<u8> grid_entry(const u8* data) {
    MapGridSource g;
    g.width = rd16(data + 1);
    g.height = rd16(data + 3);
    for (s32 i = 0; i < 8; ++i) {
        u32 cell = rd32(data + 5 + 4 * i);
        if (cell & 0xFFFF) cell = (cell & 0xFFFF) | u32(FUZZ_ZONE) << 16;
        g.cells[size_t((i / 4) * 64 + i % 4)] = cell;
    }
    std::vector<u8> entry = map_write_grid(g);
    if (data[0] & 1) entry.resize(size_t(16380 + data[1] % 80));
    return entry;
}

// Where the decoded zone's block ends in the ring (null when the zone is not held).
const u8* zone_block_end() {
    const u8* block = ring_find(ARC_ZONE_BASE + FUZZ_ZONE);
    if (!block) return nullptr;
    const u32 attr = rd32(block + 4 * ZONE_WORD_TILE);
    return block + ((attr + 3) & ~3u) + ZONE_TILE_BYTES;
}

void run(const u8* data, size_t size) {
    display_565 = (data[0] >> 1) & 1;
    ring_reset();
    object_reset();
    std::memset(&world_state, 0, sizeof world_state);
    map_load(FUZZ_MAP);
    const s32 cx = s16(rd16(data + 37));
    const s32 cy = s16(rd16(data + 39));
    zone_draw(cx, cy);
    RingPoison poison(zone_block_end());
    const s32 w = world_state.map_width, h = world_state.map_height;
    for (s32 r = 0; r < 2; ++r) {
        for (s32 c = 0; c < 4; ++c) {
            for (const s32 dy : {0, 1, 128, 254, 255}) {
                for (const s32 dx : {0, 1, 127, 255}) terrain_at(c * 256 + dx, r * 256 + dy);
            }
        }
    }
    const s32 edges[][2] = {{-1, 0}, {0, -1},    {w - 1, h - 1}, {w, 0},
                            {0, h},  {w - 1, 0}, {0, h - 1}};
    for (const auto& e : edges) terrain_at(e[0], e[1]);
    for (size_t i = HEADER_BYTES; i + 4 <= size && i < HEADER_BYTES + 64; i += 4) {
        terrain_at(rd16(data + i) % 1100, rd16(data + i + 2) % 600);
    }
    zone_draw(cx + 37, cy - 91);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HarnessTempDir dir; // the working directory for the whole run
    if (size < HEADER_BYTES || size > FUZZ_MAX_INPUT) return 0;
    try {
        if (!engine_ready) engine_setup();
        ArcBuilder builder;
        builder.put(u32(ARC_MAP_BASE + FUZZ_MAP), grid_entry(data));
        builder.put(u32(ARC_ZONE_BASE + FUZZ_ZONE),
                    std::vector<u8>(data + HEADER_BYTES, data + size));
        gisk_close();
        arc_write_chained(builder, GISK_CHAINED_FILE);
        gisk_init();
        run(data, size);
    } catch (const PlatFatal&) {
        engine_ready = false; // the fatal reporter released the engine
    } catch (const HarnessBudgetExceeded&) {
        engine_ready = false;
    }
    return 0;
}
