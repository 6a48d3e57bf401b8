// Printing a full dialogue page: 14 x 6 Big5 characters at 24 pixels through the box printer
// with a warm glyph cache (smooth mode, real font drawings), against filling the same 336 x 144
// area with `box_blend`, timed in the same run. The counters give the time per page of each and
// `ratio` = print / blend.
#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/rect.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/glyph_font.h"
#include "tools/glyph_writer.h"
#include "tools/text_writer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <set>
#include <string>

namespace {

// Our own sample dialogue (Big5), repeated to fill the page.
const char* const SAMPLE = "\xA4\xB5\xA4\xD1\xA4\xD1\xAE\xF0\xAB\xDC\xA6\x6E\xA7\xDA\xAD\xCC"
                           "\xA4\x40\xB0\x5F\xA5\x68\xA4\x73\xA4\x57\xBD\x6D\xA5\x5C\xA7\x61";

void BM_PrintDialoguePage(benchmark::State& state) {
    HarnessTempDir dir;
    harness_reset();
    shell_shutdown();

    std::string page;
    while (page.size() < 2 * 84) page += SAMPLE;
    page.resize(2 * 84);

    // Real drawings of the page's characters where the font is installed, a striped square
    // otherwise.
    ArcBuilder b;
    b.put(ARC_TEXT_TABLE, std::vector<u8>(4, 0));
    std::set<u16> codes;
    for (size_t i = 0; i < page.size(); i += 2)
        codes.insert(u16(u8(page[i]) << 8 | u8(page[i + 1])));
    std::unique_ptr<GlyphFont> font;
    try {
        font = std::make_unique<GlyphFont>();
    } catch (const std::exception&) {
    }
    for (u16 code : codes) {
        GlyphMaster m{};
        if (!font || !font->render(code, m))
            for (s32 y = 8; y < 88; y += 12) glyph_master_fill(m, 8, y, 80, 6);
        glyph_writer_put(b, 0, kanji_glyph_index(code), glyph_writer_encode_fit(m));
    }
    arc_write_chained(b, GISK_CHAINED_FILE);
    gisk_init();
    pool_init();
    ring_reset();
    blit_target_screen();
    blit_init();
    kanji_reset();
    kanji_spacing = 0;
    const std::string stored = text_scramble(page);

    constexpr s32 X = 152, Y = 300, W = 14 * BOX_ADVANCE, H = 6 * BOX_ADVANCE;
    kanji_print_box(X, Y, stored.c_str(), 14, 6); // warms the glyph cache

    using Clock = std::chrono::steady_clock;
    Clock::duration print{}, blend{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(kanji_print_box(X, Y, stored.c_str(), 14, 6));
        auto t1 = Clock::now();
        box_blend(X, Y, W, H, 0x0010, 5);
        auto t2 = Clock::now();
        print += t1 - t0;
        blend += t2 - t1;
        benchmark::ClobberMemory();
    }
    shell_shutdown();

    const double pages = double(state.iterations());
    const double print_ns = std::chrono::duration<double, std::nano>(print).count() / pages;
    const double blend_ns = std::chrono::duration<double, std::nano>(blend).count() / pages;
    state.counters["print_ns"] = print_ns;
    state.counters["blend_ns"] = blend_ns;
    state.counters["ratio"] = print_ns / blend_ns;
}

BENCHMARK(BM_PrintDialoguePage);

} // namespace
