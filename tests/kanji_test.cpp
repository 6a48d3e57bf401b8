// The glyph engine: Big5 code to glyph index, the full-width forms of ASCII, the run-length
// masters and their writer, the round-robin glyph cache, the box-filter scaler against a plain
// reference, the four draw modes in both pixel layouts, the clip, and the entries that must draw
// blank (invalid codes and styles, oversize, empty and unfinished masters). Last, a handful of
// characters of the placeholder font rendered from the real font file.
#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/ring.h"
#include "engine/shell.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/glyph_font.h"
#include "tools/glyph_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

GlyphMaster random_master(std::mt19937& rng, s32 density_percent) {
    GlyphMaster m{};
    std::uniform_int_distribution<s32> d(0, 99);
    for (s32 y = 0; y < GLYPH_SIDE; ++y)
        for (s32 x = 0; x < GLYPH_SIDE; ++x)
            if (d(rng) < density_percent) glyph_master_set(m, x, y);
    return m;
}

// Decodes `bytes` from a heap block of exactly their size into a block of exactly 1152 bytes, so
// that a read past the entry or a write past the bitmap is a sanitizer report.
GlyphMaster decode_exact(const std::vector<u8>& bytes) {
    std::unique_ptr<u8[]> src(new u8[bytes.size() + 1]); // never empty
    if (!bytes.empty()) std::memcpy(src.get(), bytes.data(), bytes.size());
    std::unique_ptr<u8[]> dst(new u8[GLYPH_MASTER_BYTES]);
    std::memset(dst.get(), 0xA5, GLYPH_MASTER_BYTES);
    kanji_decode_master(src.get(), s32(bytes.size()), dst.get());
    GlyphMaster m;
    std::memcpy(m.data(), dst.get(), GLYPH_MASTER_BYTES);
    return m;
}

s32 ink_count(const u8* master) {
    s32 n = 0;
    for (s32 i = 0; i < GLYPH_MASTER_BYTES; ++i) n += bit_counts[master[i]];
    return n;
}

// A stream that inks its first `ink` pixels and says nothing of the rest.
std::vector<u8> leading_ink_stream(s32 ink) {
    std::vector<u8> s;
    while (ink > 0) {
        const u32 a = u32(std::min(ink, 63));
        ink -= s32(a);
        const u32 b = u32(std::min(ink, 63));
        ink -= s32(b);
        const u32 v = a << 6 | b << 18; // white 0, ink a, white 0, ink b
        s.push_back(u8(v));
        s.push_back(u8(v >> 8));
        s.push_back(u8(v >> 16));
    }
    return s;
}

// ---- Numbering ----------------------------------------------------------------------------------

TEST(KanjiIndex, Big5CodesMapToGlyphIndices) {
    struct Case {
        u32 code;
        s32 index;
    };
    const Case cases[] = {
        {0xA140, 0},
        {0xA17E, 62},
        {0xA1A1, 63},
        {0xA1FE, 156},
        {0xA240, 157},
        {0xA440, 471},
        {0xB0EA, 2491},
        {0xF8FE, 13815},
        // Not characters of the font: lead bytes below 0xA1 (0xA0 and the 0x80-0x9F range),
        // past 0xF8, trails outside 0x40-0x7E and 0xA1-0xFE, and codes wider than 16 bits.
        {0xA040, -1},
        {0xA0FE, -1},
        {0x8140, -1},
        {0x80A1, -1},
        {0xF940, -1},
        {0xFFFE, -1},
        {0xA13F, -1},
        {0xA17F, -1},
        {0xA180, -1},
        {0xA1A0, -1},
        {0xA1FF, -1},
        {0x0041, -1},
        {0x1A140, -1},
        {0xFFFFFFFF, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(kanji_glyph_index(c.code), c.index) << std::hex << c.code;
    // The placeholder font's inverse covers every index once.
    for (s32 i = 0; i < KANJI_GLYPHS; ++i) ASSERT_EQ(kanji_glyph_index(glyph_font_code(i)), i);
}

TEST(KanjiIndex, AsciiBytesUseTheirFullWidthForms) {
    const s32 cases[][2] = {
        {0, 0xA140},   {' ', 0xA140}, {'!', 0xA149}, {'/', 0xA241}, {'0', 0xA2AF}, {'9', 0xA2B8},
        {'@', 0xA249}, {'A', 0xA2CF}, {'Z', 0xA2E8}, {'`', 0xA1AB}, {'a', 0xA2E9}, {'v', 0xA2FE},
        {'w', 0xA340}, {'z', 0xA343}, {'{', 0xA161}, {127, 0xA1BD},
    };
    for (const auto& c : cases) EXPECT_EQ(fullwidth_codes[c[0]], c[1]) << c[0];
    for (s32 b = 0; b < 128; ++b)
        EXPECT_NE(kanji_glyph_index(fullwidth_codes[b]), KANJI_NO_GLYPH) << b;
}

// ---- Masters ------------------------------------------------------------------------------------

TEST(KanjiMaster, WriterStreamsDecodeToTheirMaster) {
    std::mt19937 rng(7);
    std::vector<GlyphMaster> masters;
    masters.push_back(GlyphMaster{}); // blank: white runs of 63 with empty ink runs between
    GlyphMaster full{};
    full.fill(0xFF);
    masters.push_back(full);
    for (s32 density : {1, 10, 50, 90}) masters.push_back(random_master(rng, density));
    GlyphMaster corner{}; // a single ink pixel at the end: 9215 white pixels before it
    glyph_master_set(corner, 95, 95);
    masters.push_back(corner);
    for (const GlyphMaster& m : masters) {
        const std::vector<u8> s = glyph_writer_encode(m);
        EXPECT_EQ(s.size() % 3, 0u);
        EXPECT_EQ(decode_exact(s), m);
    }
    // Run lengths: a blank master is 147 white runs of up to 63 (74 groups).
    EXPECT_EQ(glyph_writer_encode(GlyphMaster{}).size(), 74u * 3);
}

TEST(KanjiMaster, UnfinishedStreamsStopAtTheEntryEnd) {
    // 126 ink pixels in one group, then nothing: the rest stays white.
    GlyphMaster m = decode_exact(leading_ink_stream(126));
    EXPECT_EQ(ink_count(m.data()), 126);
    EXPECT_TRUE(glyph_master_get(m, 95, 0));
    EXPECT_TRUE(glyph_master_get(m, 29, 1));
    EXPECT_FALSE(glyph_master_get(m, 30, 1));
    // A group cut short: its missing bytes are empty runs. Byte 0x40 alone is white 0, ink 1.
    m = decode_exact({0x40});
    EXPECT_EQ(ink_count(m.data()), 1);
    EXPECT_TRUE(glyph_master_get(m, 0, 0));
    // Nothing at all, or a negative size, is blank.
    EXPECT_EQ(ink_count(decode_exact({}).data()), 0);
    u8 dst[GLYPH_MASTER_BYTES];
    std::memset(dst, 0xFF, sizeof dst);
    const u8 src[3] = {0xFF, 0xFF, 0xFF};
    kanji_decode_master(src, -3, dst);
    EXPECT_EQ(ink_count(dst), 0);
}

TEST(KanjiMaster, RunsPastTheBitmapAreDropped) {
    // Far more ink than 9216 pixels: the bitmap is full and nothing is written past it.
    const GlyphMaster m = decode_exact(leading_ink_stream(3 * GLYPH_SIDE * GLYPH_SIDE));
    EXPECT_EQ(ink_count(m.data()), GLYPH_SIDE * GLYPH_SIDE);
}

TEST(KanjiMaster, FitSimplifiesOnlyMastersThatDoNotFit) {
    // A checkerboard needs a run for every pixel: far over the load buffer.
    GlyphMaster board{};
    for (s32 y = 0; y < GLYPH_SIDE; ++y)
        for (s32 x = (y & 1); x < GLYPH_SIDE; x += 2) glyph_master_set(board, x, y);
    ASSERT_GT(glyph_writer_encode(board).size(), size_t(GLYPH_LOAD_BUFFER_SIZE));
    const std::vector<u8> fit = glyph_writer_encode_fit(board);
    ASSERT_LE(fit.size(), size_t(GLYPH_LOAD_BUFFER_SIZE));
    const GlyphMaster simpler = decode_exact(fit);
    for (s32 i = 0; i < GLYPH_MASTER_BYTES; ++i) // closing gaps only adds ink
        ASSERT_EQ(simpler[size_t(i)] & board[size_t(i)], board[size_t(i)]);
    // A master that fits is written as it is.
    std::mt19937 rng(3);
    const GlyphMaster sparse = random_master(rng, 2);
    EXPECT_EQ(glyph_writer_encode_fit(sparse), glyph_writer_encode(sparse));
}

TEST(KanjiMaster, WriterRefusesWhatTheFontCannotHold) {
    ArcBuilder b;
    EXPECT_EQ(harness_fatal_message([&] { glyph_writer_put(b, 8, 0, {}); }),
              "glyph_writer: style 8");
    EXPECT_EQ(harness_fatal_message([&] { glyph_writer_put(b, 0, KANJI_GLYPHS, {}); }),
              "glyph_writer: index 13816");
    EXPECT_EQ(harness_fatal_message(
                  [&] { glyph_writer_put(b, 2, 5, std::vector<u8>(GLYPH_LOAD_BUFFER_SIZE + 1)); }),
              "glyph_writer: glyph 5 of style 2 needs 2049 bytes");
    glyph_writer_put(b, 7, KANJI_GLYPHS - 1, std::vector<u8>(GLYPH_LOAD_BUFFER_SIZE));
    EXPECT_EQ(b.entries().count(u32(ARC_SOUND_BASE - 1)), 1u); // the last font entry
}

// ---- Scaler -------------------------------------------------------------------------------------

TEST(KanjiScale, SizeStepsPickTheirBox) {
    const s32 sides[][2] = {{0, 8},  {1, 12},  {2, 16},  {3, 8},  {4, 24}, {5, 8},
                            {6, 32}, {10, 48}, {22, 96}, {-2, 8}, {23, 8}, {99, 8}};
    for (const auto& s : sides) EXPECT_EQ(kanji_glyph_side(s[0]), s[1]) << s[0];
}

TEST(KanjiScale, CoverageCountsEveryBitOfEachBox) {
    std::mt19937 rng(11);
    for (s32 density : {3, 50, 97}) {
        const GlyphMaster m = random_master(rng, density);
        for (s32 step : {0, 1, 2, 4, 6, 10, 22}) {
            const s32 k = kanji_box_side(step);
            std::vector<u8> out(size_t(GLYPH_SIDE * GLYPH_SIDE + 1), 0xEE);
            const s32 n = kanji_scale(m.data(), step, out.data());
            ASSERT_EQ(n * k, GLYPH_SIDE);
            for (s32 j = 0; j < n; ++j)
                for (s32 i = 0; i < n; ++i) {
                    s32 count = 0;
                    for (s32 y = k * j; y < k * j + k; ++y)
                        for (s32 x = k * i; x < k * i + k; ++x) count += glyph_master_get(m, x, y);
                    ASSERT_EQ(out[size_t(j * n + i)], 32 * count / (k * k))
                        << "step " << step << " pixel " << i << "," << j;
                }
            EXPECT_EQ(out[size_t(n * n)], 0xEE); // nothing past n x n
        }
    }
}

TEST(KanjiScale, CoverageLevelsOfTellingBoxes) {
    GlyphMaster m{};
    glyph_master_fill(m, 0, 0, 4, 2);     // step 4, pixel (0, 0): 8 of 16 bits
    glyph_master_fill(m, 12, 12, 12, 12); // step 0, pixel (1, 1): a whole byte and a half
    glyph_master_fill(m, 84, 12, 12, 12); // step 0, pixel (7, 1): the last columns
    u8 out[GLYPH_SIDE * GLYPH_SIDE];
    kanji_scale(m.data(), 4, out);
    EXPECT_EQ(out[0], 16);
    kanji_scale(m.data(), 0, out);
    EXPECT_EQ(out[0], 32 * 8 / 144); // 1
    EXPECT_EQ(out[8 + 1], 32);
    EXPECT_EQ(out[8 + 7], 32);
    EXPECT_EQ(out[8 + 2], 0);
    EXPECT_EQ(coverage_levels[12][143], 31);
    EXPECT_EQ(coverage_levels[8][9], 4);
    EXPECT_EQ(coverage_levels[3][4], 14);
    EXPECT_EQ(scale_table[31][16], 15);
    EXPECT_EQ(scale_table[31][31], 30);
    EXPECT_EQ(bit_counts[0xB7], 6);
}

// ---- Cache and archive --------------------------------------------------------------------------

// The smallest pool (64 glyph slots) over an archive built by the test, and a 32 x 32 target.
class KanjiArchiveTest : public ::testing::Test {
  protected:
    void start(ArcBuilder& b) {
        arc_write_chained(b, GISK_CHAINED_FILE);
        HarnessConfig c;
        c.physical_memory = 16ull << 20;
        harness_reset(c);
        shell_shutdown();
        gisk_init();
        pool_init();
        ring_reset();
        kanji_reset();
        ASSERT_EQ(glyph_slot_count, 64);
    }
    void TearDown() override {
        shell_shutdown();
        kanji_reset();
    }
    static s32 key_of(s32 style, s32 index) { return KANJI_GLYPHS * style + index; }
    static const u8* slot_bits(s32 slot) {
        return glyph_bitmaps + size_t(slot) * GLYPH_MASTER_BYTES;
    }
    // A master whose ink count names it: the first `ink` pixels.
    static std::vector<u8> numbered(s32 ink) { return glyph_writer_encode(first_pixels(ink)); }
    static GlyphMaster first_pixels(s32 ink) {
        GlyphMaster m{};
        for (s32 p = 0; p < ink; ++p) glyph_master_set(m, p % GLYPH_SIDE, p / GLYPH_SIDE);
        return m;
    }
    HarnessTempDir dir;
};

TEST_F(KanjiArchiveTest, SlotsAreReusedRoundRobin) {
    ArcBuilder b;
    for (s32 i = 1; i <= 66; ++i) glyph_writer_put(b, 0, i, numbered(i));
    glyph_writer_put(b, 3, 1, numbered(500));
    start(b);

    kanji_glyph(1);
    EXPECT_EQ(glyph_keys[0], key_of(0, 1));
    EXPECT_EQ(glyph_current, slot_bits(0));
    EXPECT_EQ(ink_count(glyph_current), 1);
    kanji_glyph(1); // a hit takes no slot
    EXPECT_EQ(glyph_next, 1);
    EXPECT_EQ(glyph_current, slot_bits(0));
    kanji_style = 3; // the style is part of the key
    kanji_glyph(1);
    EXPECT_EQ(glyph_keys[1], key_of(3, 1));
    EXPECT_EQ(ink_count(glyph_current), 500);
    kanji_style = 0;
    for (s32 i = 2; i <= 63; ++i) kanji_glyph(i); // slots 2..63
    EXPECT_EQ(glyph_next, 0);
    // The 65th distinct character overwrites slot 0, whatever its use.
    kanji_glyph(64);
    EXPECT_EQ(glyph_keys[0], key_of(0, 64));
    EXPECT_EQ(ink_count(slot_bits(0)), 64);
    // Looking up the first character again loads it into the next slot.
    kanji_glyph(1);
    EXPECT_EQ(glyph_keys[1], key_of(0, 1));
    EXPECT_EQ(glyph_current, slot_bits(1));
    EXPECT_EQ(ink_count(glyph_current), 1);
    EXPECT_EQ(glyph_next, 2);
}

TEST_F(KanjiArchiveTest, UnusableEntriesLeaveTheSlotBlank) {
    ArcBuilder b;
    for (s32 i = 100; i < 164; ++i) glyph_writer_put(b, 0, i, numbered(9000));
    // Index 200 is empty. Index 201 holds 2049 bytes: one more than the load buffer. Index 202
    // holds exactly 2048 bytes: empty runs, one group of 5 ink pixels in the last whole group,
    // and two bytes of a group cut short.
    b.put(glyph_writer_entry_id(0, 201), std::vector<u8>(GLYPH_LOAD_BUFFER_SIZE + 1, 0x40));
    std::vector<u8> exact(GLYPH_LOAD_BUFFER_SIZE, 0);
    const std::vector<u8> tail = leading_ink_stream(5);
    std::copy(tail.begin(), tail.end(), exact.begin() + 2043);
    b.put(glyph_writer_entry_id(0, 202), exact);
    start(b);

    for (s32 i = 100; i < 164; ++i) kanji_glyph(i); // every slot full of ink
    for (s32 index : {200, 201}) {
        const s32 slot = glyph_next;
        kanji_glyph(index);
        EXPECT_EQ(glyph_keys[slot], key_of(0, index));
        EXPECT_EQ(glyph_current, slot_bits(slot));
        EXPECT_EQ(ink_count(glyph_current), 0) << index;
    }
    kanji_glyph(202);
    EXPECT_EQ(ink_count(glyph_current), 5);
}

TEST_F(KanjiArchiveTest, InvalidCodesAndStylesDrawBlankWithoutReading) {
    ArcBuilder b;
    glyph_writer_put(b, 0, 1, numbered(9216));
    // Past the last glyph of style 7 lie the sounds: an entry there must never be read.
    b.put(u32(ARC_SOUND_BASE), std::vector<u8>(30, 0xFF));
    b.put(u32(ARC_FONT_BASE + KANJI_GLYPHS * KANJI_STYLES + 5), std::vector<u8>(30, 0xFF));
    start(b);

    kanji_glyph(1);
    ASSERT_EQ(ink_count(glyph_current), 9216);
    const s32 next = glyph_next;
    struct Case {
        s32 style;
        s32 index;
    };
    const Case cases[] = {
        {0, kanji_glyph_index(0xA040)}, // lead byte 0xA0
        {0, -1},
        {0, -471},
        {7, KANJI_GLYPHS}, // would be the first sound entry
        {0, KANJI_GLYPHS * KANJI_STYLES + 5},
        {8, 5}, // a style past the font
        {-1, 5},
        {200, 0},
    };
    for (const Case& c : cases) {
        kanji_style = c.style;
        kanji_glyph(c.index);
        EXPECT_EQ(ink_count(glyph_current), 0) << c.style << " " << c.index;
        EXPECT_EQ(glyph_next, next);
    }
    kanji_style = 0;
    kanji_glyph(1);
    EXPECT_EQ(ink_count(glyph_current), 9216);
}

TEST_F(KanjiArchiveTest, NeedsACarvedPool) {
    ArcBuilder b;
    start(b);
    pool_release();
    EXPECT_EQ(harness_fatal_message([] { kanji_glyph(3); }), "kanji:cache not set!");
}

// ---- Drawing ------------------------------------------------------------------------------------

struct Rgb {
    u32 r, g, b;
    bool operator==(const Rgb&) const = default;
};
Rgb rgb(u16 p) {
    if (display_565) return {u32(p >> 11), u32((p >> 6) & 31), u32(p & 31)};
    return {u32((p >> 10) & 31), u32((p >> 5) & 31), u32(p & 31)};
}
u16 pixel(Rgb c) {
    return display_565 ? u16(c.r << 11 | c.g << 6 | c.b) : u16(c.r << 10 | c.g << 5 | c.b);
}

// Draws glyph masters into a 40 x 32 target of exactly its size, in the layout of the parameter.
class KanjiDrawTest : public ::testing::TestWithParam<s32> {
  protected:
    static constexpr s32 W = 40;
    static constexpr s32 H = 32;
    static constexpr u16 BACK = 0x0421; // 1 in each 5-5-5 channel; some pattern in 5-6-5

    void SetUp() override {
        harness_reset();
        display_565 = GetParam();
        pixels.reset(new u16[W * H]);
        std::fill(pixels.get(), pixels.get() + W * H, BACK);
        blit_target_set(pixels.get(), W, H, W * 2);
        kanji_reset();
        kanji_clip_right = 639; // as the printers leave it: wider than this target
        kanji_clip_bottom = 479;
        // Box (0, 0) full, box (1, 0) half, box (2, 0) a quarter, box (3, 0) empty, at step 4.
        glyph_master_fill(master, 0, 0, 4, 4);
        glyph_master_fill(master, 4, 0, 4, 2);
        glyph_master_fill(master, 8, 0, 2, 2);
        glyph_current = master.data();
    }
    void TearDown() override {
        kanji_reset();
        blit_target_screen();
    }
    u16 at(s32 x, s32 y) const { return pixels[size_t(y * W + x)]; }
    s32 changed() const {
        return s32(
            std::count_if(pixels.get(), pixels.get() + W * H, [](u16 p) { return p != BACK; }));
    }

    GlyphMaster master{};
    std::unique_ptr<u16[]> pixels;
};

TEST_P(KanjiDrawTest, TwoColourWritesTheWholeCell) {
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x7C00);
    kanji_set_colour(KANJI_COLOUR_SECOND, 0x001F);
    for (s32 mode : {0, 7, -1}) { // values without a mode of their own draw as mode 0
        std::fill(pixels.get(), pixels.get() + W * H, BACK);
        kanji_mode = mode;
        kanji_pen_x = 2;
        kanji_pen_y = 3;
        kanji_draw_glyph();
        EXPECT_EQ(at(2, 3), kanji_colour_main);
        EXPECT_EQ(at(3, 3), kanji_colour_main); // coverage 16 is ink
        EXPECT_EQ(at(4, 3), kanji_colour_second);
        EXPECT_EQ(at(25, 26), kanji_colour_second);
        EXPECT_EQ(at(1, 3), BACK);
        EXPECT_EQ(at(26, 3), BACK);
        EXPECT_EQ(changed(), 24 * 24);
    }
}

TEST_P(KanjiDrawTest, PlainDrawsInkOnly) {
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x03E0);
    kanji_mode = KANJI_MODE_PLAIN;
    kanji_pen_x = 5;
    kanji_pen_y = 5;
    kanji_draw_glyph();
    EXPECT_EQ(at(5, 5), kanji_colour_main);
    EXPECT_EQ(at(6, 5), kanji_colour_main);
    EXPECT_EQ(changed(), 2);
}

TEST_P(KanjiDrawTest, OutlineRingsTheInk) {
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x7FFF);
    kanji_set_colour(KANJI_COLOUR_OUTLINE, 0x7C00);
    kanji_mode = KANJI_MODE_OUTLINE;
    kanji_pen_x = 5;
    kanji_pen_y = 5;
    kanji_draw_glyph();
    const u16 main = kanji_colour_main;
    const u16 line = kanji_colour_outline;
    EXPECT_EQ(at(5, 5), main);
    EXPECT_EQ(at(6, 5), main);
    for (auto [x, y] : {std::pair{4, 5}, {7, 5}, {5, 4}, {6, 4}, {5, 6}, {6, 6}})
        EXPECT_EQ(at(x, y), line) << x << "," << y;
    EXPECT_EQ(at(7, 6), BACK); // no diagonal
    EXPECT_EQ(changed(), 8);
}

TEST_P(KanjiDrawTest, SmoothBlendsByCoverage) {
    kanji_set_colour(KANJI_COLOUR_MAIN, 31 << 10 | 31 << 5 | 31);
    kanji_mode = KANJI_MODE_SMOOTH;
    const Rgb dest{10, 20, 5};
    u16 back = pixel(dest);
    if (display_565) back |= 0x20; // the lowest green bit is ignored
    std::fill(pixels.get(), pixels.get() + W * H, back);
    kanji_pen_x = 0;
    kanji_pen_y = 0;
    kanji_draw_glyph();
    EXPECT_EQ(at(0, 0), kanji_colour_main);                   // 32: the main colour itself
    EXPECT_EQ(rgb(at(1, 0)), (Rgb{15 + 5, 15 + 10, 15 + 2})); // 16: half and half
    EXPECT_EQ(rgb(at(2, 0)), (Rgb{7 + 7, 7 + 15, 7 + 3}));    // 8: a quarter
    EXPECT_EQ(at(3, 0), back);                                // 0: untouched
    EXPECT_EQ(at(1, 0) & (display_565 ? 0x20 : 0x8000), 0);   // green's low bit, or bit 15
}

TEST_P(KanjiDrawTest, PixelsOutsideTheClipAreDropped) {
    glyph_master_fill(master, 0, 0, 96, 96);
    kanji_mode = KANJI_MODE_TWO_COLOUR;
    // At pen x -4 the four left columns are lost; the target's edges clip the rest.
    kanji_pen_x = -4;
    kanji_pen_y = 20;
    kanji_draw_glyph();
    EXPECT_EQ(changed(), 20 * 12);
    EXPECT_EQ(at(0, 20), kanji_colour_main);
    EXPECT_EQ(at(20, 20), BACK);
    // A clip rectangle inside the target.
    std::fill(pixels.get(), pixels.get() + W * H, BACK);
    kanji_clip_left = 10;
    kanji_clip_top = 2;
    kanji_clip_right = 12;
    kanji_clip_bottom = 3;
    kanji_pen_x = 0;
    kanji_pen_y = 0;
    for (s32 mode = 0; mode < 4; ++mode) {
        kanji_mode = mode;
        kanji_draw_glyph();
    }
    EXPECT_EQ(changed(), 3 * 2);
    EXPECT_NE(at(10, 2), BACK);
    EXPECT_NE(at(12, 3), BACK);
    // Far away, or a clip wholly outside the target: nothing.
    std::fill(pixels.get(), pixels.get() + W * H, BACK);
    kanji_clip_left = -100;
    kanji_clip_top = -100;
    kanji_clip_right = 100000;
    kanji_clip_bottom = 100000;
    for (auto [x, y] : {std::pair{9999, 0}, {0, 9999}, {-30, 0}, {0x7FFFFFF0, 0x7FFFFFF0}}) {
        kanji_pen_x = x;
        kanji_pen_y = y;
        kanji_draw_glyph();
    }
    EXPECT_EQ(changed(), 0);
}

TEST_P(KanjiDrawTest, SizesScaleTheCell) {
    glyph_master_fill(master, 0, 0, 96, 96);
    kanji_mode = KANJI_MODE_PLAIN;
    for (auto [step, side] : {std::pair{0, 8}, {1, 12}, {2, 16}, {6, 32}, {-2, 8}}) {
        std::fill(pixels.get(), pixels.get() + W * H, BACK);
        kanji_size = step;
        kanji_draw_glyph();
        EXPECT_EQ(changed(), side * side) << step;
    }
}

TEST_P(KanjiDrawTest, ColoursAreStoredInTheDisplayLayout) {
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x7FFF);
    EXPECT_EQ(kanji_colour_main, display_565 ? 0xFFFF : 0x7FFF);
    kanji_set_colour(KANJI_COLOUR_SECOND, 0x7C1F);
    EXPECT_EQ(kanji_colour_second, display_565 ? 0xF81F : 0x7C1F);
    kanji_set_colour(KANJI_COLOUR_OUTLINE, 0x03E0);
    EXPECT_EQ(kanji_colour_outline, display_565 ? 0x07E0 : 0x03E0); // green's low bit copied
    kanji_set_colour(9, 0x0001); // any other selector is the main colour
    EXPECT_EQ(kanji_colour_main, 0x0001);
    EXPECT_EQ(kanji_colour_main_555, 1);
    EXPECT_EQ(kanji_colour_second_555, 0x7C1F);
    EXPECT_EQ(kanji_colour_outline_555, 0x03E0);
}

TEST_P(KanjiDrawTest, NeedsADrawingTarget) {
    target_pixels = nullptr;
    EXPECT_EQ(harness_fatal_message([] { kanji_draw_glyph(); }), "kanji:canvas not set!");
}

INSTANTIATE_TEST_SUITE_P(Layouts, KanjiDrawTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "565" : "555"; });

// ---- Placeholder font ---------------------------------------------------------------------------

TEST_F(KanjiArchiveTest, PlaceholderGlyphsComeFromTheFont) {
    const s32 guo = kanji_glyph_index(0xB0EA); // a full character
    const s32 letter = kanji_glyph_index(fullwidth_codes[s32('A')]);
    const s32 reserved = kanji_glyph_index(0xA3C0); // no character has this code
    const std::vector<s32> indices = {0, guo, letter, reserved};
    ArcBuilder b;
    glyph_put_placeholder_glyphs(b, indices);
    // Styles 0 and 1 carry data; the others share style 0's.
    EXPECT_EQ(b.entries().size(), indices.size() * 2);
    EXPECT_EQ(b.aliases().size(), indices.size() * (KANJI_STYLES - 2));
    for (const auto& [id, bytes] : b.entries()) EXPECT_LE(bytes.size(), 2048u) << id;
    EXPECT_THROW(glyph_put_placeholder_glyphs(b, {KANJI_GLYPHS}), std::invalid_argument);
    start(b);

    GlyphFont font;
    GlyphMaster rendered;
    EXPECT_FALSE(font.render(0xA3C0, rendered));
    ASSERT_TRUE(font.render(0xB0EA, rendered));
    const s32 ink = ink_count(rendered.data());
    EXPECT_GT(ink, 500);
    kanji_glyph(guo);
    EXPECT_EQ(std::memcmp(glyph_current, rendered.data(), GLYPH_MASTER_BYTES), 0);
    kanji_style = GLYPH_FONT_BOLD_STYLE; // bolder: more ink, covering the regular drawing
    kanji_glyph(guo);
    EXPECT_GT(ink_count(glyph_current), ink);
    for (s32 i = 0; i < GLYPH_MASTER_BYTES; ++i)
        ASSERT_EQ(glyph_current[i] & rendered[size_t(i)], rendered[size_t(i)]);
    kanji_style = 5; // the other styles repeat the regular drawing
    kanji_glyph(guo);
    EXPECT_EQ(std::memcmp(glyph_current, rendered.data(), GLYPH_MASTER_BYTES), 0);
    kanji_style = 0;
    kanji_glyph(letter);
    EXPECT_GT(ink_count(glyph_current), 100);
    EXPECT_EQ(glyph_keys[3], key_of(0, letter));
    kanji_glyph(reserved);
    EXPECT_EQ(ink_count(glyph_current), 0);
    EXPECT_EQ(glyph_keys[4], key_of(0, reserved));
    kanji_glyph(0); // the full-width blank (key 0 is held blank by every unused slot)
    EXPECT_EQ(ink_count(glyph_current), 0);
}

} // namespace
