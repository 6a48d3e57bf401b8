// Sprite drawing: `blit_sprite` of a 64 x 96 paletted sprite (a figure: about one pixel in six
// transparent, in runs) into the 640 x 480 back buffer, against a plain row-by-row memcpy of the
// same 64 x 96 pixels into the same buffer, timed in the same run. The counters give the time per
// draw of each and `ratio` = sprite / memcpy.
#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "tools/sprite_writer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr s32 SPRITE_W = 64;
constexpr s32 SPRITE_H = 96;

std::vector<u8> figure_sprite() {
    SpriteSource s;
    s.width = SPRITE_W;
    s.height = SPRITE_H;
    s.hot_x = SPRITE_W / 2;
    s.hot_y = SPRITE_H - 1;
    std::mt19937 rng(3);
    for (s32 y = 0; y < SPRITE_H; ++y) {
        // A body a little narrower than the box, with a few holes.
        const s32 margin = 2 + (y * 7) % 5;
        for (s32 x = 0; x < SPRITE_W; ++x) {
            const bool clear = x < margin || x >= SPRITE_W - margin || rng() % 16 == 0;
            s.cells.push_back(clear ? SPRITE_CLEAR : s16(rng() % 256));
        }
    }
    s.palettes.push_back({});
    for (u32 i = 0; i < 256; ++i) s.palettes[0][i] = u16(rng());
    return sprite_writer_encode(s);
}

void sprite_vs_memcpy(benchmark::State& state, u32 flags, u32 depth) {
    display_565 = 1;
    blit_target_screen();
    blit_init();
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    std::memset(save_buffer, 0x20, SCREEN_PIXELS);
    const std::vector<u8> sprite = figure_sprite();
    std::vector<u16> source(SPRITE_W * SPRITE_H, 0x1234);
    constexpr s32 DRAWS = 64;

    using Clock = std::chrono::steady_clock;
    Clock::duration drawn{}, copied{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        for (s32 i = 0; i < DRAWS; ++i)
            blit_sprite(100 + i * 7, 200 + i, sprite.data(), flags, depth);
        auto t1 = Clock::now();
        for (s32 i = 0; i < DRAWS; ++i) {
            u16* dst =
                back_buffer + (200 + i - SPRITE_H + 1) * SCREEN_W + 100 + i * 7 - SPRITE_W / 2;
            for (s32 r = 0; r < SPRITE_H; ++r)
                std::memcpy(dst + r * SCREEN_W, source.data() + r * SPRITE_W, SPRITE_W * 2);
        }
        auto t2 = Clock::now();
        benchmark::ClobberMemory();
        drawn += t1 - t0;
        copied += t2 - t1;
    }
    const double draws = double(state.iterations()) * DRAWS;
    const double sprite_ns = std::chrono::duration<double, std::nano>(drawn).count() / draws;
    const double memcpy_ns = std::chrono::duration<double, std::nano>(copied).count() / draws;
    state.counters["sprite_ns"] = sprite_ns;
    state.counters["memcpy_ns"] = memcpy_ns;
    state.counters["ratio"] = sprite_ns / memcpy_ns;
}

void BM_SpriteOpaque(benchmark::State& state) {
    sprite_vs_memcpy(state, 0, 0);
}
void BM_SpriteMirrored(benchmark::State& state) {
    sprite_vs_memcpy(state, BLIT_MIRROR, 0);
}
void BM_SpriteTranslucent(benchmark::State& state) {
    sprite_vs_memcpy(state, blit_flags(0, 0, 5, false, 0), 0);
}
void BM_SpriteAdditive(benchmark::State& state) {
    sprite_vs_memcpy(state, blit_flags(0, 0, BLEND_ADD, false, 0), 0);
}
void BM_SpriteTintedDepthTested(benchmark::State& state) {
    sprite_vs_memcpy(state, blit_flags(8, 0, 0, false, 0), 0x40);
}
void BM_SpriteShowThrough(benchmark::State& state) {
    sprite_vs_memcpy(state, 0, DEPTH_SHOW_THROUGH | 0x10);
}

BENCHMARK(BM_SpriteOpaque);
BENCHMARK(BM_SpriteMirrored);
BENCHMARK(BM_SpriteTranslucent);
BENCHMARK(BM_SpriteAdditive);
BENCHMARK(BM_SpriteTintedDepthTested);
BENCHMARK(BM_SpriteShowThrough);

} // namespace
