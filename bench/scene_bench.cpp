// Map scenes: `scene_render` of a full 640 x 480 scene - the camera between zone edges so that
// all twelve zones (textured JPEG tiles with occlusion rows) are on screen, 100 standing sprites
// with shadows (a third of them translucent, a few mirrored, depth-tested against the occlusion
// plane) and 10 floating labels - against a plain copy of one 640 x 480 16-bit frame, timed in
// the same run. Counters: `scene_ns` and `copy_ns` per frame, `ratio` = scene / copy. The zones
// are decoded once before timing (they stay in the ring), as in play.
#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/jpg.h"
#include "engine/kanji.h"
#include "engine/labels.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/glyph_writer.h"
#include "tools/jpeg_writer.h"
#include "tools/map_writer.h"
#include "tools/sprite_writer.h"
#include "tools/text_writer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr s32 SPRITE_IMAGE = 200; // 24 x 48 figure; 201 its shadow

std::vector<u8> figure_sprite(s32 w, s32 h, s32 hot_x, s32 hot_y, bool oval) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.hot_x = hot_x;
    s.hot_y = hot_y;
    std::array<u16, 256> palette{};
    for (s32 i = 0; i < 256; ++i) palette[size_t(i)] = u16((i >> 3) << 10 | (i >> 4) << 5 | 8);
    s.palettes.push_back(palette);
    for (s32 y = 0; y < h; ++y) {
        for (s32 x = 0; x < w; ++x) {
            const s32 dx = 2 * x - w + 1, dy = 2 * y - h + 1;
            const bool in = !oval || dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
            s.cells.push_back(in ? s16((x * 7 + y * 3) & 255) : SPRITE_CLEAR);
        }
    }
    return sprite_writer_encode(s);
}

std::vector<u8> textured_tile(s32 seed) {
    std::vector<u8> rgb(size_t(256 * 256 * 3));
    u32 noise = u32(seed) * 2654435761u + 1;
    for (s32 i = 0; i < 256 * 256; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const s32 x = i % 256, y = i / 256;
        rgb[size_t(i * 3)] = u8(60 + x / 4 + (noise >> 28));
        rgb[size_t(i * 3 + 1)] = u8(90 + y / 5 + seed * 8);
        rgb[size_t(i * 3 + 2)] = u8(40 + ((x ^ y) & 63));
    }
    return rgb;
}

void setup() {
    ArcBuilder b;
    MapGridSource grid;
    grid.width = 1024;
    grid.height = 768;
    for (s32 k = 0; k < 12; ++k) {
        const u32 terrain = terrain_attribute(1, 0, 0, 1, 1, 40);
        ZoneSource z = zone_source_uniform(0, terrain, jpeg_writer_zone(textured_tile(k).data()));
        // Scenery: a few deep blocks in every zone, in rows of several runs.
        for (s32 y = 0; y < 256; ++y) {
            z.occlusion[size_t(y)] = (y / 32) % 2
                                         ? ZoneRow{{40, 0}, {30, 90}, {100, 0}, {30, 20}, {56, 0}}
                                         : ZoneRow{{256, 0}};
            z.terrain[size_t(y)] = {{40, terrain}, {30, terrain | 60u << 16}, {186, terrain}};
        }
        b.put(u32(ARC_ZONE_BASE + 1 + k), map_write_zone(z));
        grid.cells[size_t((k / 4) * 64 + k % 4)] = map_cell(1 + k, s32(z.jpeg.size()));
    }
    b.put(u32(ARC_MAP_BASE + 1), map_write_grid(grid));
    b.put(u32(ARC_IMAGE_BASE + SPRITE_IMAGE), figure_sprite(24, 48, 12, 47, false));
    b.put(u32(ARC_IMAGE_BASE + SPRITE_IMAGE + 1), figure_sprite(28, 10, 14, 5, true));
    // Label glyphs: a striped square for each character of the label text.
    GlyphMaster m{};
    for (s32 y = 8; y < 88; y += 12) glyph_master_fill(m, 8, y, 80, 6);
    for (const u16 code : {u16(0xA4B5), u16(0xA4D1), u16(0xAEF0)}) {
        glyph_writer_put(b, 2, kanji_glyph_index(code), glyph_writer_encode_fit(m));
    }
    arc_write_chained(b, GISK_CHAINED_FILE);

    gisk_init();
    pool_init();
    ring_reset();
    blit_target_screen();
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    blit_init();
    kanji_reset();
    object_reset();
    label_clear();
    std::memset(&world_state, 0, sizeof world_state);
    map_load(1);
    world_state.camera_x = 200; // between zone edges: 3 rows x 4 columns on screen
    world_state.camera_y = 150;
    for (s32 i = 0; i < 100; ++i) {
        const s32 obj = 1 + i;
        attr_set(obj, ATTR_IN_USE, 1);
        attr_set(obj, ATTR_ACTIVE, 1);
        attr_set(obj, ATTR_MAP, 1);
        attr_set(obj, ATTR_X, 210 + (i * 61) % 620);
        attr_set(obj, ATTR_Y, 200 + (i * 37) % 430);
        attr_set(obj, ATTR_LAYER, 3);
        attr_set(obj, ATTR_SHADOW, 1);
        attr_set(obj, ATTR_MIRROR, i % 5 == 0);
        if (i % 3 == 0) attr_set(obj, ATTR_BLEND, 5);
        attr_set(obj, ATTR_FRAME, SPRITE_IMAGE);
    }
    const std::string text = text_scramble("\xA4\xB5\xA4\xD1\xAE\xF0");
    for (s32 i = 0; i < 10; ++i) {
        FloatingLabel& l = label_table[i];
        l.countdown = 100;
        l.object = u16(1 + i * 7);
        l.dx = -20;
        l.dy = -60;
        std::strcpy(l.text, text.c_str());
    }
}

void BM_SceneRender(benchmark::State& state) {
    HarnessTempDir dir;
    harness_reset();
    shell_shutdown();
    display_565 = s32(state.range(0));
    setup();
    scene_render(); // decodes the twelve zones and warms the glyph cache
    if (draw_count != 100) {
        state.SkipWithError("not every sprite is on screen");
        return;
    }
    std::vector<u16> frame(static_cast<size_t>(SCREEN_PIXELS));
    using Clock = std::chrono::steady_clock;
    Clock::duration scene{}, copy{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        scene_render();
        auto t1 = Clock::now();
        std::memcpy(frame.data(), back_buffer, size_t(SCREEN_PIXELS) * 2);
        auto t2 = Clock::now();
        benchmark::ClobberMemory();
        scene += t1 - t0;
        copy += t2 - t1;
    }
    const double n = double(state.iterations());
    const double scene_ns = std::chrono::duration<double, std::nano>(scene).count() / n;
    const double copy_ns = std::chrono::duration<double, std::nano>(copy).count() / n;
    state.counters["scene_ns"] = scene_ns;
    state.counters["copy_ns"] = copy_ns;
    state.counters["ratio"] = scene_ns / copy_ns;
    shell_shutdown();
}

// Argument: the display layout (0 = 5-5-5, 1 = 5-6-5).
BENCHMARK(BM_SceneRender)->Arg(0)->Arg(1);

} // namespace
