// Sprite drawing: `blit_sprite` of a 64 x 96 paletted sprite (a figure: about one pixel in six
// transparent, in runs) into the 640 x 480 back buffer, timed in the same run against
// - a plain row-by-row memcpy of the same 64 x 96 pixels into the same buffer (a floor), and
// - SDL2's `SDL_BlitSurface` of the same picture as an RGB565 colour-keyed surface into a
//   640 x 480 RGB565 surface, once as a plain colour-keyed surface and once RLE-accelerated
//   (`SDL_SetSurfaceRLE`, SDL's fastest colour-key path, which like our sprite walks runs).
// Every benchmark draws the same 64 positions with each. The counters give the time per draw of
// each and the ratios ours / baseline: `ratio_sdl` against the plain colour-keyed blit (goal: at
// most 1), `ratio_sdl_rle` against the RLE one, `ratio_memcpy` against the copy. The translucent
// benchmark also times SDL's colour-keyed blit with a surface alpha of 128 (RLE-accelerated), the
// nearest SDL has to our translucent modes: `ratio_sdl_alpha`. SDL cannot mirror a surface blit,
// so the mirrored draw is compared with the straight SDL blit.
#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "tools/sprite_writer.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#if MORVANTA_BENCH_SDL
#include <SDL.h>
#endif

namespace {

constexpr s32 SPRITE_W = 64;
constexpr s32 SPRITE_H = 96;
constexpr s32 DRAWS = 64;
// The colour key of the SDL surfaces: no opaque pixel of the figure has this colour.
constexpr u16 SDL_KEY = 0xF81F;

// The figure as an indexed grid and its palette (RGB565, as on a 5-6-5 display).
struct Figure {
    std::vector<s16> cells;
    std::array<u16, 256> palette{};
};

Figure make_figure() {
    Figure f;
    std::mt19937 rng(3);
    for (s32 y = 0; y < SPRITE_H; ++y) {
        // A body a little narrower than the box, with a few holes.
        const s32 margin = 2 + (y * 7) % 5;
        for (s32 x = 0; x < SPRITE_W; ++x) {
            const bool clear = x < margin || x >= SPRITE_W - margin || rng() % 16 == 0;
            f.cells.push_back(clear ? SPRITE_CLEAR : s16(rng() % 256));
        }
    }
    for (u16& c : f.palette) {
        c = u16(rng());
        if (c == SDL_KEY) c ^= 0x20;
    }
    return f;
}

std::vector<u8> figure_sprite(const Figure& f) {
    SpriteSource s;
    s.width = SPRITE_W;
    s.height = SPRITE_H;
    s.hot_x = SPRITE_W / 2;
    s.hot_y = SPRITE_H - 1;
    s.cells = f.cells;
    s.palettes.push_back(f.palette);
    return sprite_writer_encode(s);
}

// Where draw i puts the hotspot; the sprite's top-left corner is then (x - 32, y - 95).
s32 draw_x(s32 i) {
    return 100 + i * 7;
}
s32 draw_y(s32 i) {
    return 200 + i;
}

using Clock = std::chrono::steady_clock;

#if MORVANTA_BENCH_SDL
// The figure as RGB565 SDL surfaces (plain colour key, RLE colour key) and their target.
struct SdlBaseline {
    SDL_Surface* plain = nullptr;
    SDL_Surface* rle = nullptr;
    SDL_Surface* screen = nullptr;

    explicit SdlBaseline(const Figure& f) {
        plain = figure_surface(f);
        rle = figure_surface(f);
        SDL_SetSurfaceRLE(rle, 1);
        screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
        SDL_FillRect(screen, nullptr, 0);
    }
    ~SdlBaseline() {
        SDL_FreeSurface(plain);
        SDL_FreeSurface(rle);
        SDL_FreeSurface(screen);
    }
    SdlBaseline(const SdlBaseline&) = delete;
    SdlBaseline& operator=(const SdlBaseline&) = delete;

    static SDL_Surface* figure_surface(const Figure& f) {
        SDL_Surface* s =
            SDL_CreateRGBSurfaceWithFormat(0, SPRITE_W, SPRITE_H, 16, SDL_PIXELFORMAT_RGB565);
        for (s32 y = 0; y < SPRITE_H; ++y) {
            u16* row = reinterpret_cast<u16*>(static_cast<u8*>(s->pixels) + y * s->pitch);
            for (s32 x = 0; x < SPRITE_W; ++x) {
                const s16 cell = f.cells[size_t(y * SPRITE_W + x)];
                row[x] = cell == SPRITE_CLEAR ? SDL_KEY : f.palette[size_t(cell)];
            }
        }
        SDL_SetColorKey(s, SDL_TRUE, SDL_KEY);
        return s;
    }

    // DRAWS blits of src at the sprite's positions.
    void draws(SDL_Surface* src) const {
        for (s32 i = 0; i < DRAWS; ++i) {
            SDL_Rect at{draw_x(i) - SPRITE_W / 2, draw_y(i) - (SPRITE_H - 1), SPRITE_W, SPRITE_H};
            SDL_BlitSurface(src, nullptr, screen, &at);
        }
    }
};
#endif

double per_draw_ns(Clock::duration d, const benchmark::State& state) {
    return std::chrono::duration<double, std::nano>(d).count() /
           (double(state.iterations()) * DRAWS);
}

void sprite_vs_baselines(benchmark::State& state, u32 flags, u32 depth, bool alpha_baseline) {
    display_565 = 1;
    blit_target_screen();
    blit_init();
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    std::memset(save_buffer, 0x20, SCREEN_PIXELS);
    const Figure figure = make_figure();
    const std::vector<u8> sprite = figure_sprite(figure);
    std::vector<u16> source(SPRITE_W * SPRITE_H, 0x1234);
#if MORVANTA_BENCH_SDL
    SdlBaseline sdl(figure);
    if (alpha_baseline) {
        // Here the first surface becomes the translucent baseline: RLE with a surface alpha of
        // 128; the opaque RLE surface stays as the common baseline.
        SDL_SetSurfaceAlphaMod(sdl.plain, 128);
        SDL_SetSurfaceBlendMode(sdl.plain, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceRLE(sdl.plain, 1);
    }
    // The first blits set up SDL's blit maps and RLE encodings outside the timing.
    sdl.draws(sdl.plain);
    sdl.draws(sdl.rle);
#else
    (void)alpha_baseline;
#endif

    Clock::duration drawn{}, copied{}, sdl_plain{}, sdl_rle{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        for (s32 i = 0; i < DRAWS; ++i)
            blit_sprite(draw_x(i), draw_y(i), sprite.data(), flags, depth);
        auto t1 = Clock::now();
        for (s32 i = 0; i < DRAWS; ++i) {
            u16* dst =
                back_buffer + (draw_y(i) - SPRITE_H + 1) * SCREEN_W + draw_x(i) - SPRITE_W / 2;
            for (s32 r = 0; r < SPRITE_H; ++r)
                std::memcpy(dst + r * SCREEN_W, source.data() + r * SPRITE_W, SPRITE_W * 2);
        }
        auto t2 = Clock::now();
#if MORVANTA_BENCH_SDL
        sdl.draws(sdl.plain);
        auto t3 = Clock::now();
        sdl.draws(sdl.rle);
        auto t4 = Clock::now();
        sdl_plain += t3 - t2;
        sdl_rle += t4 - t3;
#endif
        benchmark::ClobberMemory();
        drawn += t1 - t0;
        copied += t2 - t1;
    }
    const double sprite_ns = per_draw_ns(drawn, state);
    const double memcpy_ns = per_draw_ns(copied, state);
    state.counters["sprite_ns"] = sprite_ns;
    state.counters["memcpy_ns"] = memcpy_ns;
    state.counters["ratio_memcpy"] = sprite_ns / memcpy_ns;
#if MORVANTA_BENCH_SDL
    const double plain_ns = per_draw_ns(sdl_plain, state);
    const double rle_ns = per_draw_ns(sdl_rle, state);
    if (alpha_baseline) {
        state.counters["sdl_alpha_ns"] = plain_ns;
        state.counters["ratio_sdl_alpha"] = sprite_ns / plain_ns;
    } else {
        state.counters["sdl_ns"] = plain_ns;
        state.counters["ratio_sdl"] = sprite_ns / plain_ns;
    }
    state.counters["sdl_rle_ns"] = rle_ns;
    state.counters["ratio_sdl_rle"] = sprite_ns / rle_ns;
#endif
}

void BM_SpriteOpaque(benchmark::State& state) {
    sprite_vs_baselines(state, 0, 0, false);
}
void BM_SpriteMirrored(benchmark::State& state) {
    sprite_vs_baselines(state, BLIT_MIRROR, 0, false);
}
void BM_SpriteTranslucent(benchmark::State& state) {
    sprite_vs_baselines(state, blit_flags(0, 0, 5, false, 0), 0, false);
}
void BM_SpriteTranslucentVsSdlAlpha(benchmark::State& state) {
    sprite_vs_baselines(state, blit_flags(0, 0, 5, false, 0), 0, true);
}
void BM_SpriteAdditive(benchmark::State& state) {
    sprite_vs_baselines(state, blit_flags(0, 0, BLEND_ADD, false, 0), 0, false);
}
void BM_SpriteSubtractive(benchmark::State& state) {
    sprite_vs_baselines(state, blit_flags(0, 0, BLEND_SUB, false, 0), 0, false);
}
void BM_SpriteAdditiveMirroredDepthTested(benchmark::State& state) {
    sprite_vs_baselines(state, blit_flags(0, 0, BLEND_ADD, true, 0), 0x40, false);
}
void BM_SpriteTintedDepthTested(benchmark::State& state) {
    sprite_vs_baselines(state, blit_flags(8, 0, 0, false, 0), 0x40, false);
}
void BM_SpriteShowThrough(benchmark::State& state) {
    sprite_vs_baselines(state, 0, DEPTH_SHOW_THROUGH | 0x10, false);
}

BENCHMARK(BM_SpriteOpaque);
BENCHMARK(BM_SpriteMirrored);
BENCHMARK(BM_SpriteTranslucent);
BENCHMARK(BM_SpriteTranslucentVsSdlAlpha);
BENCHMARK(BM_SpriteAdditive);
BENCHMARK(BM_SpriteSubtractive);
BENCHMARK(BM_SpriteAdditiveMirroredDepthTested);
BENCHMARK(BM_SpriteTintedDepthTested);
BENCHMARK(BM_SpriteShowThrough);

} // namespace
