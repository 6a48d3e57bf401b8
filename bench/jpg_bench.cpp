// Zone pictures: `jpg_decode_zone` of a 258 x 258 stream (a textured tile: gradients, stripes
// and noise, written by the zone writer at its default quality) against a plain libjpeg decode
// of the same stream to 24-bit RGB rows (`jpeg_mem_src`, `jpeg_read_scanlines` a row at a time,
// the decompressor created and destroyed per decode as ours does), timed in the same run. The
// counters give the time per decode of each and `ratio` = ours / libjpeg (goal: at most 1.5).
// `diffuse_ns` is the share of the error diffusion alone: `jpg_diffuse_row` over the 258 rows
// that the plain decode produced.
#include "engine/blit.h"
#include "engine/jpg.h"
#include "tools/jpeg_writer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <jpeglib.h>
#include <utility>
#include <vector>

namespace {

constexpr s32 TILE = JPG_ZONE_SIDE;
constexpr s32 SIDE = JPG_ZONE_STREAM_SIDE;

// A 256 x 256 RGB tile with the kind of detail a map zone has: soft gradients, a few hard edges
// and fine noise, so that the stream carries many non-zero coefficients.
std::vector<u8> textured_tile() {
    std::vector<u8> rgb(size_t(TILE) * TILE * 3);
    u32 noise = 12345;
    for (s32 y = 0; y < TILE; ++y) {
        for (s32 x = 0; x < TILE; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const s32 grain = s32(noise >> 27) - 16;
            const bool stripe = ((x + 2 * y) / 24) % 2 == 0;
            const double wave = 40.0 * std::sin(x * 0.07) * std::cos(y * 0.05);
            const s32 r = s32(90 + x / 3 + wave) + grain + (stripe ? 30 : 0);
            const s32 g = s32(120 + y / 4 - wave / 2) + grain;
            const s32 b = s32(60 + (x ^ y) / 8 + wave / 3) - grain + (stripe ? 0 : 25);
            u8* px = &rgb[(size_t(y) * TILE + size_t(x)) * 3];
            px[0] = u8(std::clamp(r, 0, 255));
            px[1] = u8(std::clamp(g, 0, 255));
            px[2] = u8(std::clamp(b, 0, 255));
        }
    }
    return rgb;
}

// The baseline: the stream decoded to RGB rows by libjpeg with its own memory source.
void libjpeg_decode(const std::vector<u8>& stream, u8* rgb) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<u8*>(stream.data()), static_cast<unsigned long>(stream.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * 3;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb + size_t(cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

void BM_ZoneDecode(benchmark::State& state) {
    display_565 = s32(state.range(0));
    const std::vector<u8> tile_rgb = textured_tile();
    const std::vector<u8> stream = jpeg_writer_zone(tile_rgb.data());
    std::vector<u16> tile(size_t(TILE) * TILE);
    std::vector<u8> rgb(size_t(SIDE) * SIDE * 3);
    std::vector<u16> errors(size_t(2) * JPG_ERROR_ROW_TERMS + 6);
    std::vector<u16> row_out(SIDE);
    if (jpg_decode_zone(stream.data(), s32(stream.size()), tile.data()) != 1) {
        state.SkipWithError("the zone stream did not decode");
        return;
    }

    using Clock = std::chrono::steady_clock;
    Clock::duration ours{}, plain{}, diffuse{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(jpg_decode_zone(stream.data(), s32(stream.size()), tile.data()));
        auto t1 = Clock::now();
        libjpeg_decode(stream, rgb.data());
        auto t2 = Clock::now();
        u16* current = errors.data() + JPG_ERROR_SPARE;
        u16* next = current + JPG_ERROR_ROW_TERMS;
        std::fill(errors.begin(), errors.end(), u16(0));
        for (s32 r = 0; r < SIDE; ++r) {
            std::swap(current, next);
            jpg_diffuse_row(rgb.data() + size_t(r) * SIDE * 3, SIDE, current, next, row_out.data());
        }
        auto t3 = Clock::now();
        benchmark::ClobberMemory();
        ours += t1 - t0;
        plain += t2 - t1;
        diffuse += t3 - t2;
    }
    const double n = double(state.iterations());
    const double ours_ns = std::chrono::duration<double, std::nano>(ours).count() / n;
    const double plain_ns = std::chrono::duration<double, std::nano>(plain).count() / n;
    state.counters["zone_ns"] = ours_ns;
    state.counters["libjpeg_ns"] = plain_ns;
    state.counters["diffuse_ns"] = std::chrono::duration<double, std::nano>(diffuse).count() / n;
    state.counters["ratio"] = ours_ns / plain_ns;
    state.counters["stream_bytes"] = double(stream.size());
}

// Argument: the display layout (0 = 5-5-5, 1 = 5-6-5).
BENCHMARK(BM_ZoneDecode)->Arg(0)->Arg(1);

} // namespace
