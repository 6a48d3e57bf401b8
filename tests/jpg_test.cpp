// JPEG decoding: the error diffusion step, zone tiles and screen drawing checked against a
// reference written here (plain libjpeg decode to RGB, then the diffusion pixel by pixel), and
// the refusals and damaged streams. Every stream is made by the archive builder's JPEG writer.
#include "engine/blit.h"
#include "engine/jpg.h"
#include "platform/harness.h"
#include "tools/jpeg_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr s32 W = 640;
constexpr s32 H = 480;
constexpr u16 SENTINEL = 0x5A5A;

struct Rgb {
    s32 width = 0, height = 0;
    std::vector<u8> bytes;
};

Rgb flat_picture(s32 width, s32 height, u8 r, u8 g, u8 b) {
    Rgb p{width, height, {}};
    for (s32 i = 0; i < width * height; ++i) p.bytes.insert(p.bytes.end(), {r, g, b});
    return p;
}

// Smooth random colours, kept away from black so that every pixel draws.
Rgb random_picture(s32 width, s32 height, u32 seed) {
    std::mt19937 rng(seed);
    Rgb p{width, height, {}};
    const s32 cr = static_cast<s32>(rng() % 160), cg = static_cast<s32>(rng() % 160);
    for (s32 y = 0; y < height; ++y)
        for (s32 x = 0; x < width; ++x) {
            const s32 n = static_cast<s32>(rng() % 24);
            p.bytes.push_back(static_cast<u8>(64 + (cr + x * 3 + n) % 190));
            p.bytes.push_back(static_cast<u8>(64 + (cg + y * 5 + n) % 190));
            p.bytes.push_back(static_cast<u8>(64 + (x * y + n) % 190));
        }
    return p;
}

std::vector<u8> encode(const Rgb& p, s32 quality = 90) {
    JpegWriteOptions o;
    o.quality = quality;
    return jpeg_writer_encode(p.bytes.data(), p.width, p.height, o);
}

// The stream in a heap block of exactly its size, so that a read past its end is caught.
struct ExactBytes {
    std::unique_ptr<u8[]> data;
    s32 size;
    ExactBytes(const std::vector<u8>& v, size_t n)
        : data(new u8[std::max<size_t>(n, 1)]), size(static_cast<s32>(n)) {
        std::memcpy(data.get(), v.data(), n);
    }
};

// Plain libjpeg decode of a stream to RGB: the reference decoder output.
Rgb library_decode(const std::vector<u8>& stream) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, stream.data(), static_cast<unsigned long>(stream.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    Rgb p{static_cast<s32>(cinfo.output_width), static_cast<s32>(cinfo.output_height), {}};
    p.bytes.resize(static_cast<size_t>(p.width) * p.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &p.bytes[static_cast<size_t>(cinfo.output_scanline) * p.width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return p;
}

// Floyd-Steinberg to 16 bits as the game does it, pixel by pixel: carried errors in 16-bit
// wrapping terms, saturation of the sum, 7/16, 3/16, 5/16 and 1/16 by shifts.
std::vector<u16> reference_diffuse(const Rgb& p, bool layout_565) {
    const s32 terms = (p.width + 2) * 3;
    std::vector<u32> carry[2] = {std::vector<u32>(terms), std::vector<u32>(terms)};
    std::vector<u16> out;
    for (s32 y = 0; y < p.height; ++y) {
        std::vector<u32>& cur = carry[y % 2];
        std::vector<u32>& nxt = carry[(y + 1) % 2];
        std::fill(nxt.begin(), nxt.end(), 0u);
        for (s32 x = 0; x < p.width; ++x) {
            u32 five[3];
            for (s32 c = 0; c < 3; ++c) {
                const s32 k = 3 + 3 * x + c; // 3 spare terms on the left
                const u32 byte = p.bytes[(static_cast<size_t>(y) * p.width + x) * 3 + c];
                const u32 v = std::min<u32>(byte * 256 + cur[k], 0xFFFF);
                five[c] = v >> 11;
                const u32 e = v % 2048;
                const u32 sixteenth = e / 2 / 2 / 4;
                cur[k + 3] = (cur[k + 3] + e / 2 - sixteenth) & 0xFFFF;
                nxt[k - 3] = (nxt[k - 3] + e / 4 - sixteenth) & 0xFFFF;
                nxt[k] = (nxt[k] + e / 4 + sixteenth) & 0xFFFF;
                nxt[k + 3] = (nxt[k + 3] + sixteenth) & 0xFFFF;
            }
            out.push_back(static_cast<u16>(layout_565 ? five[0] << 11 | five[1] << 6 | five[2]
                                                      : five[0] << 10 | five[1] << 5 | five[2]));
        }
    }
    return out;
}

class JpgTest : public ::testing::TestWithParam<s32> {
  protected:
    void SetUp() override {
        harness_reset();
        display_565 = GetParam();
        screen.assign(static_cast<size_t>(W) * H, SENTINEL);
        jpg_target = screen.data();
        jpg_target_width = W;
    }
    void TearDown() override { jpg_target = nullptr; }
    bool layout_565() const { return GetParam() != 0; }
    u16 at(s32 x, s32 y) const { return screen[static_cast<size_t>(y) * W + x]; }
    // Screen pixels changed outside the rectangle 0,0 .. w-1,h-1.
    s32 written_outside(s32 w, s32 h) const {
        s32 n = 0;
        for (s32 y = 0; y < H; ++y)
            for (s32 x = 0; x < W; ++x) n += (x >= w || y >= h) && at(x, y) != SENTINEL;
        return n;
    }
    bool screen_untouched() const {
        return std::all_of(screen.begin(), screen.end(), [](u16 v) { return v == SENTINEL; });
    }

    std::vector<u16> screen;
};

INSTANTIATE_TEST_SUITE_P(Jpg, JpgTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "565" : "555"; });

// ---- The diffusion step -------------------------------------------------------------------------

TEST(JpgDiffuse, OneChannelStepTable) {
    struct Case {
        u8 byte;
        u16 carried;
        u16 right_before; // value already in the right neighbour's term
        u32 five_bits;
        u16 right, below_left, below, below_right;
    };
    const Case cases[] = {
        {128, 0, 0, 16, 0, 0, 0, 0},              // flat grey: no error at all
        {100, 0, 0, 12, 448, 192, 320, 64},       // e = 1024
        {255, 300, 0, 31, 896, 384, 638, 127},    // 65280 + 300 saturates: e = 2047
        {255, 0xFFFF, 0, 31, 896, 384, 638, 127}, // a wrapped carry saturates the same way
        {7, 0x0100, 0, 1, 0, 0, 0, 0},            // the carry lifts 7 to 8: no error
        {100, 0, 0xFFF0, 12, 432, 192, 320, 64},  // the right neighbour's term wraps at 16 bits
    };
    for (s32 layout = 0; layout < 2; ++layout) {
        display_565 = layout;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "byte " << int(c.byte) << " carried " << c.carried);
            // One pixel whose green and blue are 0; terms 3 spare + 6 (the pixel and the right).
            u16 current[3 + 6] = {}, next[3 + 6] = {};
            const u8 rgb[3] = {c.byte, 0, 0};
            current[3] = c.carried;
            current[6] = c.right_before;
            u16 out = 0;
            jpg_diffuse_row(rgb, 1, current + 3, next + 3, &out);
            EXPECT_EQ(out, c.five_bits << (layout ? 11 : 10));
            EXPECT_EQ(current[6], c.right);
            EXPECT_EQ(next[0], c.below_left);
            EXPECT_EQ(next[3], c.below);
            EXPECT_EQ(next[6], c.below_right);
        }
    }
}

TEST(JpgDiffuse, PacksWhiteIntoEachLayout) {
    const u8 rgb[3] = {255, 255, 255};
    for (s32 layout = 0; layout < 2; ++layout) {
        display_565 = layout;
        u16 current[9] = {}, next[9] = {}, out = 0;
        jpg_diffuse_row(rgb, 1, current + 3, next + 3, &out);
        EXPECT_EQ(out, layout ? 0xFFDF : 0x7FFF); // 5-6-5: green keeps 5 bits, its LSB is 0
    }
}

// One row of the step as written, term by term into a cleared next row: the reference for
// `jpg_diffuse_row` on arbitrary carried terms. current and next hold 3 spare terms, then the
// row's terms, then 3 more.
void reference_row(const u8* rgb, s32 width, std::vector<u16>& current, std::vector<u16>& next,
                   u16* out, bool layout_565) {
    std::fill(next.begin(), next.begin() + 3 * width + 6, u16(0));
    for (s32 x = 0; x < width; ++x) {
        u32 five[3];
        for (s32 c = 0; c < 3; ++c) {
            const s32 k = 3 + 3 * x + c;
            const u32 v = std::min<u32>(rgb[3 * x + c] * 256u + current[k], 0xFFFF);
            five[c] = v >> 11;
            const u32 e = v % 2048;
            const u32 sixteenth = e / 2 / 2 / 4;
            current[k + 3] = static_cast<u16>(current[k + 3] + e / 2 - sixteenth);
            next[k - 3] = static_cast<u16>(next[k - 3] + e / 4 - sixteenth);
            next[k] = static_cast<u16>(next[k] + e / 4 + sixteenth);
            next[k + 3] = static_cast<u16>(next[k + 3] + sixteenth);
        }
        out[x] = static_cast<u16>(layout_565 ? five[0] << 11 | five[1] << 6 | five[2]
                                             : five[0] << 10 | five[1] << 5 | five[2]);
    }
}

// Random rows of every kind against the term-by-term step: widths from 1 to the widest,
// carried terms small, near the 16-bit wrap or anything, bytes often 0 or 255 or never near it.
// Beyond the pixels and the terms, nothing around the rows may change (guards on both sides), and
// rows of different widths follow each other as they do between pictures.
TEST(JpgDiffuse, RandomRowsMatchTheStepTermByTerm) {
    std::mt19937 rng(2024);
    constexpr s32 GUARD = 16;
    constexpr u16 GUARD_VALUE = 0xA5C3;
    for (s32 round = 0; round < 600; ++round) {
        const s32 width = round < 40 ? round % 10 + 1 : static_cast<s32>(rng() % JPG_MAX_WIDTH) + 1;
        const bool layout = rng() % 2;
        display_565 = layout;
        SCOPED_TRACE(testing::Message() << "round " << round << " width " << width);
        const s32 terms = 3 * width + 6;
        std::vector<u8> rgb(static_cast<size_t>(width) * 3);
        // Bytes anywhere, often at the ends, or never near 255 (no sum can saturate).
        const s32 byte_kind = static_cast<s32>(rng() % 3);
        for (u8& b : rgb) {
            const u32 r = rng();
            b = byte_kind == 0   ? static_cast<u8>(r)
                : byte_kind == 1 ? (r % 4 == 0   ? 0
                                    : r % 4 == 1 ? 255
                                                 : static_cast<u8>(r >> 8))
                                 : static_cast<u8>(r % 241);
        }
        // Carried terms as the decoder makes them (below 2048), near the wrap, anything, or
        // small with a single large one.
        const s32 carry_kind = static_cast<s32>(rng() % 4);
        const s32 odd_term = static_cast<s32>(rng() % static_cast<u32>(terms));
        s32 term = 0;
        auto carried = [&] {
            const u32 r = rng();
            const s32 t = term++;
            if (carry_kind == 0) return static_cast<u16>(r % 2048);
            if (carry_kind == 1) return static_cast<u16>(0xFFFF - r % 1200);
            if (carry_kind == 2) return static_cast<u16>(r);
            return static_cast<u16>(t == odd_term ? 0xFFFF - r % 600 : r % 2048);
        };
        // Guarded copies for the code under test: GUARD, 3 spare, the row's terms, 3, GUARD.
        std::vector<u16> cur(static_cast<size_t>(terms) + 2 * GUARD, GUARD_VALUE);
        std::vector<u16> nxt(cur.size(), GUARD_VALUE);
        for (s32 i = 0; i < terms; ++i) {
            cur[GUARD + i] = carried();
            nxt[GUARD + i] = static_cast<u16>(rng()); // whatever the row held before
        }
        std::vector<u16> ref_cur(cur.begin() + GUARD, cur.end() - GUARD);
        std::vector<u16> before = cur;
        std::vector<u16> ref_nxt(terms, 0);
        std::vector<u16> ref_out(width), out(width + GUARD, GUARD_VALUE);
        reference_row(rgb.data(), width, ref_cur, ref_nxt, ref_out.data(), layout);
        jpg_diffuse_row(rgb.data(), width, cur.data() + GUARD + 3, nxt.data() + GUARD + 3,
                        out.data());
        ASSERT_TRUE(std::equal(ref_out.begin(), ref_out.end(), out.begin()));
        // current is read only but for the three terms past the row, which take the last
        // pixel's right share.
        std::copy(ref_cur.end() - 3, ref_cur.end(), before.end() - GUARD - 3);
        ASSERT_EQ(cur, before);
        ASSERT_TRUE(std::equal(ref_nxt.begin(), ref_nxt.end(), nxt.begin() + GUARD));
        for (s32 g = 0; g < GUARD; ++g) {
            ASSERT_EQ(nxt[g], GUARD_VALUE);
            ASSERT_EQ(nxt[GUARD + terms + g], GUARD_VALUE);
            ASSERT_EQ(out[width + g], GUARD_VALUE);
        }
    }
}

// ---- Zone tiles ---------------------------------------------------------------------------------

TEST_P(JpgTest, FlatGreyZoneIsOneColour) {
    const Rgb tile = flat_picture(256, 256, 128, 128, 128);
    const std::vector<u8> stream = jpeg_writer_zone(tile.bytes.data());
    std::vector<u16> dst(65536 + 64, SENTINEL);
    ASSERT_EQ(jpg_decode_zone(stream.data(), static_cast<s32>(stream.size()), dst.data()), 1);
    const u16 grey = layout_565() ? (16 << 11 | 16 << 6 | 16) : (16 << 10 | 16 << 5 | 16);
    EXPECT_EQ(std::count(dst.begin(), dst.begin() + 65536, grey), 65536);
    EXPECT_EQ(std::count(dst.begin() + 65536, dst.end(), SENTINEL), 64); // nothing past the tile
    EXPECT_TRUE(
        std::all_of(jpg_error_rows, std::end(jpg_error_rows), [](u16 v) { return v == 0; }));
}

TEST_P(JpgTest, ZoneMatchesReferenceWithoutBorder) {
    Rgb picture = random_picture(258, 258, 7);
    const std::vector<u8> stream = jpeg_writer_zone_full(picture.bytes.data(), 80);
    const Rgb decoded = library_decode(stream);
    ASSERT_EQ(decoded.width, 258);
    const std::vector<u16> ref = reference_diffuse(decoded, layout_565());
    std::vector<u16> dst(65536, SENTINEL);
    ASSERT_EQ(jpg_decode_zone(stream.data(), static_cast<s32>(stream.size()), dst.data()), 1);
    s32 mismatches = 0;
    for (s32 r = 0; r < 256; ++r)
        for (s32 c = 0; c < 256; ++c)
            mismatches += dst[r * 256 + c] != ref[(r + 1) * 258 + (c + 1)];
    EXPECT_EQ(mismatches, 0);
}

TEST(JpgZoneWriter, RepeatsTheTileEdgeAsBorder) {
    Rgb tile{256, 256, {}};
    for (s32 y = 0; y < 256; ++y)
        for (s32 x = 0; x < 256; ++x)
            tile.bytes.insert(tile.bytes.end(), {u8(x), u8(y), u8(255 - (x + y) / 2)});
    const Rgb decoded = library_decode(jpeg_writer_zone(tile.bytes.data(), 100));
    ASSERT_EQ(decoded.width, 258);
    ASSERT_EQ(decoded.height, 258);
    // A smooth tile at quality 100 keeps colours within a few steps: the border pixels repeat
    // their edge neighbours (a frame of any other colour would stand out).
    auto px = [&](s32 x, s32 y, s32 c) { return s32(decoded.bytes[(y * 258 + x) * 3 + c]); };
    for (s32 i = 1; i < 257; i += 37)
        for (s32 c = 0; c < 3; ++c) {
            EXPECT_NEAR(px(0, i, c), px(1, i, c), 4);
            EXPECT_NEAR(px(257, i, c), px(256, i, c), 4);
            EXPECT_NEAR(px(i, 0, c), px(i, 1, c), 4);
            EXPECT_NEAR(px(i, 257, c), px(i, 256, c), 4);
        }
}

TEST_P(JpgTest, ZoneRefusesAnyOtherSize) {
    const s32 sizes[][2] = {{256, 256}, {258, 259}, {259, 258}, {512, 512}, {1, 1}};
    for (const auto& wh : sizes) {
        const std::vector<u8> stream = encode(random_picture(wh[0], wh[1], 1));
        std::vector<u16> dst(65536, SENTINEL);
        EXPECT_EQ(jpg_decode_zone(stream.data(), static_cast<s32>(stream.size()), dst.data()), 0)
            << wh[0] << "x" << wh[1];
        EXPECT_EQ(std::count(dst.begin(), dst.end(), SENTINEL), 65536);
    }
}

// ---- Drawing onto the screen ----------------------------------------------------------------

// Every shape, from one pixel up, decodes to exactly the reference's pixels.
TEST_P(JpgTest, DrawMatchesReference) {
    const s32 shapes[][2] = {{1, 1}, {1, 9}, {2, 3}, {3, 2}, {5, 5}, {17, 4}, {61, 37}, {640, 3}};
    for (const auto& wh : shapes) {
        const s32 w = wh[0], h = wh[1];
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const std::vector<u8> stream =
            encode(random_picture(w, h, static_cast<u32>(w * 100 + h)), 75);
        const std::vector<u16> ref = reference_diffuse(library_decode(stream), layout_565());
        std::fill(screen.begin(), screen.end(), SENTINEL);
        ASSERT_EQ(jpg_draw(0, 50, stream.data(), static_cast<s32>(stream.size()), 0), 1);
        s32 mismatches = 0;
        for (s32 y = 0; y < h; ++y)
            for (s32 x = 0; x < w; ++x) mismatches += at(x, 50 + y) != ref[y * w + x];
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(written_outside(w, 50 + h), 0);
    }
}

// Position and mirror: which image column lands on which screen column, and that nothing
// outside 640 x 480 is written (nor wraps into the neighbouring row).
TEST_P(JpgTest, DrawClipsAndMirrors) {
    const s32 w = 32, h = 8;
    const std::vector<u8> stream = encode(random_picture(w, h, 5));
    const std::vector<u16> ref = reference_diffuse(library_decode(stream), layout_565());
    struct Case {
        s32 x, y, mirror;
    };
    const Case cases[] = {{-10, 5, 0}, {-10, 5, 1}, {100, 5, 1}, {630, 475, 0}, {630, 475, 1},
                          {5, -3, 0},  {-40, 5, 0}, {640, 5, 0}, {5, 480, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << "," << c.y << " mirror " << c.mirror);
        std::fill(screen.begin(), screen.end(), SENTINEL);
        ASSERT_EQ(jpg_draw(c.x, c.y, stream.data(), static_cast<s32>(stream.size()), c.mirror), 1);
        std::vector<u16> expected(static_cast<size_t>(W) * H, SENTINEL);
        for (s32 iy = 0; iy < h; ++iy)
            for (s32 ix = 0; ix < w; ++ix) {
                const s32 sx = c.mirror ? c.x + w - 1 - ix : c.x + ix;
                const s32 sy = c.y + iy;
                if (sx >= 0 && sx < W && sy >= 0 && sy < H)
                    expected[sy * W + sx] = ref[iy * w + ix];
            }
        EXPECT_TRUE(screen == expected);
    }
    // Mirrored, the rightmost image column lands at x.
    std::fill(screen.begin(), screen.end(), SENTINEL);
    jpg_draw(200, 10, stream.data(), static_cast<s32>(stream.size()), 1);
    EXPECT_EQ(at(200, 10), ref[w - 1]);
    EXPECT_EQ(at(200 + w - 1, 10), ref[0]);
}

TEST_P(JpgTest, BlackIsTransparent) {
    // All black: nothing is written.
    const std::vector<u8> black = encode(flat_picture(40, 20, 0, 0, 0));
    ASSERT_EQ(jpg_draw(0, 0, black.data(), static_cast<s32>(black.size()), 0), 1);
    EXPECT_TRUE(screen_untouched());
    // Nearly black (4 of 255): where the diffusion packs all three fields to 0 the screen keeps
    // its pixel, elsewhere the dithered colour is written.
    const std::vector<u8> dark = encode(flat_picture(40, 20, 4, 4, 4));
    const std::vector<u16> ref = reference_diffuse(library_decode(dark), layout_565());
    ASSERT_EQ(jpg_draw(0, 0, dark.data(), static_cast<s32>(dark.size()), 0), 1);
    s32 kept = 0, drawn = 0;
    for (s32 y = 0; y < 20; ++y)
        for (s32 x = 0; x < 40; ++x) {
            const u16 r = ref[y * 40 + x];
            EXPECT_EQ(at(x, y), r == 0 ? SENTINEL : r);
            (r == 0 ? kept : drawn) += 1;
        }
    EXPECT_GT(kept, 0);
    EXPECT_GT(drawn, 0);
}

TEST_P(JpgTest, NoTargetDrawsNothing) {
    const std::vector<u8> stream = encode(random_picture(8, 8, 2));
    jpg_target = nullptr;
    EXPECT_EQ(jpg_draw(0, 0, stream.data(), static_cast<s32>(stream.size()), 0), 0);
    EXPECT_TRUE(screen_untouched());
}

// ---- Refused and damaged streams -----------------------------------------------------------

TEST_P(JpgTest, RefusesWideAndNonColourStreams) {
    struct Case {
        const char* what;
        s32 width, components;
    };
    const Case cases[] = {
        {"1025 wide", 1025, 3}, {"2000 wide", 2000, 3}, {"grey", 16, 1}, {"cmyk", 16, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<u8> pixels(static_cast<size_t>(c.width) * 4 * c.components, 200);
        JpegWriteOptions o;
        o.components = c.components;
        const std::vector<u8> stream = jpeg_writer_encode(pixels.data(), c.width, 4, o);
        std::fill(std::begin(jpg_error_rows), std::end(jpg_error_rows), u16{0x1234});
        EXPECT_EQ(jpg_draw(0, 0, stream.data(), static_cast<s32>(stream.size()), 0), 0);
        EXPECT_TRUE(screen_untouched());
        EXPECT_TRUE(std::all_of(std::begin(jpg_error_rows), std::end(jpg_error_rows),
                                [](u16 v) { return v == 0x1234; }));
    }
    // 1024 wide is the widest taken; what lies right of 640 is clipped.
    std::vector<u8> pixels(1024 * 2 * 3, 200);
    const std::vector<u8> wide = jpeg_writer_encode(pixels.data(), 1024, 2);
    EXPECT_EQ(jpg_draw(0, 0, wide.data(), static_cast<s32>(wide.size()), 0), 1);
    EXPECT_NE(at(639, 1), SENTINEL);
    EXPECT_EQ(at(0, 2), SENTINEL);
}

TEST_P(JpgTest, TruncatedStreamsStayInsideTheirBytes) {
    const std::vector<u8> stream = encode(random_picture(64, 48, 9));
    const s32 n = static_cast<s32>(stream.size());
    ASSERT_EQ(jpg_draw(0, 0, stream.data(), n, 0), 1);
    const std::vector<u16> whole = screen;
    // Without the end-of-image marker the source supplies one: the picture is complete.
    {
        ExactBytes cut(stream, static_cast<size_t>(n - 2));
        std::fill(screen.begin(), screen.end(), SENTINEL);
        EXPECT_EQ(jpg_draw(0, 0, cut.data.get(), cut.size, 0), 1);
        EXPECT_TRUE(screen == whole);
    }
    // Cut anywhere else: the decode never reads past the bytes (the block is exactly that big)
    // and writes only inside the picture's place.
    for (s32 len : {0, 1, 2, 3, 20, 150, n / 3, n / 2, n - 40, n - 3}) {
        SCOPED_TRACE(len);
        ExactBytes cut(stream, static_cast<size_t>(len));
        std::fill(screen.begin(), screen.end(), SENTINEL);
        jpg_draw(0, 0, cut.data.get(), cut.size, 0);
        EXPECT_EQ(written_outside(64, 48), 0);
        std::vector<u16> tile(65536, SENTINEL);
        EXPECT_EQ(jpg_decode_zone(cut.data.get(), cut.size, tile.data()), 0);
    }
    EXPECT_EQ(jpg_draw(0, 0, stream.data(), -5, 0), 0);
    EXPECT_EQ(jpg_draw(0, 0, nullptr, 100, 0), 0);
}

TEST_P(JpgTest, CorruptStreamsEndTheDecodeCleanly) {
    const std::vector<u8> stream = encode(random_picture(48, 48, 4));
    // A marker segment claiming more bytes than the stream holds: skipped past the end.
    {
        std::vector<u8> bytes = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 1, 2, 3, 4};
        ExactBytes b(bytes, bytes.size());
        EXPECT_EQ(jpg_draw(0, 0, b.data.get(), b.size, 0), 0);
    }
    // No JPEG at all, and a broken frame header: refused by the library, nothing drawn.
    {
        std::vector<u8> bytes(300, 0x41);
        ExactBytes b(bytes, bytes.size());
        EXPECT_EQ(jpg_draw(0, 0, b.data.get(), b.size, 0), 0);
        std::vector<u8> broken = stream;
        for (size_t i = 0; i + 1 < broken.size(); ++i)
            if (broken[i] == 0xFF && broken[i + 1] == 0xC0) {
                broken[i + 5] = 0; // frame height 0
                broken[i + 6] = 0;
                break;
            }
        EXPECT_EQ(jpg_draw(0, 0, broken.data(), static_cast<s32>(broken.size()), 0), 0);
        EXPECT_TRUE(screen_untouched());
    }
    // Garbage in the entropy-coded data: whatever happens stays inside the picture's place.
    size_t data_start = 0;
    for (size_t i = 0; i + 3 < stream.size() && data_start == 0; ++i)
        if (stream[i] == 0xFF && stream[i + 1] == 0xDA)
            data_start = i + 2 + (size_t(stream[i + 2]) << 8 | stream[i + 3]);
    ASSERT_GT(data_start, 0u);
    ASSERT_LT(data_start + 40, stream.size());
    std::mt19937 rng(17);
    for (s32 round = 0; round < 40; ++round) {
        std::vector<u8> bytes = stream;
        for (s32 i = 0; i < 6; ++i)
            bytes[data_start + rng() % (bytes.size() - 2 - data_start)] = u8(rng());
        ExactBytes b(bytes, bytes.size());
        std::fill(screen.begin(), screen.end(), SENTINEL);
        jpg_draw(0, 0, b.data.get(), b.size, 0);
        EXPECT_EQ(written_outside(48, 48), 0);
    }
}

TEST_P(JpgTest, TallPicturesDecodeOnlyTheRowsTheScreenCanShow) {
    const std::vector<u8> tall = encode(flat_picture(16, 1200, 150, 90, 60));
    struct Case {
        s32 x, y;
        s32 rows;       // rows read from the stream
        s32 first, end; // screen rows drawn
    };
    const Case cases[] = {
        {0, 0, 480, 0, 480}, {5, 100, 380, 100, 480}, {0, -1000, 1200, 0, 200},
        {0, -1200, 0, 0, 0}, {0, 480, 0, 0, 0},       {640, 0, 0, 0, 0},
        {-16, 0, 0, 0, 0},   {-15, 479, 1, 479, 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        std::fill(screen.begin(), screen.end(), SENTINEL);
        EXPECT_EQ(jpg_draw(c.x, c.y, tall.data(), static_cast<s32>(tall.size()), 0), 1);
        EXPECT_EQ(jpg_rows_decoded, c.rows);
        const s32 column = std::clamp(c.x, 0, W - 1);
        for (s32 y = 0; y < H; ++y)
            ASSERT_EQ(at(column, y) != SENTINEL, y >= c.first && y < c.end) << y;
    }
    // The rows shown are those of the whole decode: the diffusion above them still ran.
    const std::vector<u8> varied = encode(random_picture(16, 1200, 12), 75);
    const std::vector<u16> ref = reference_diffuse(library_decode(varied), layout_565());
    std::fill(screen.begin(), screen.end(), SENTINEL);
    ASSERT_EQ(jpg_draw(0, -1000, varied.data(), static_cast<s32>(varied.size()), 0), 1);
    s32 mismatches = 0;
    for (s32 y = 0; y < 200; ++y)
        for (s32 x = 0; x < 16; ++x) mismatches += at(x, y) != ref[(1000 + y) * 16 + x];
    EXPECT_EQ(mismatches, 0);
}

TEST_P(JpgTest, RefusesPicturesTallerThanTheLimit) {
    const std::vector<u8> limit = encode(flat_picture(8, JPG_MAX_HEIGHT, 150, 90, 60));
    EXPECT_EQ(jpg_draw(0, -JPG_MAX_HEIGHT + 10, limit.data(), static_cast<s32>(limit.size()), 0),
              1);
    EXPECT_EQ(jpg_rows_decoded, JPG_MAX_HEIGHT);
    std::fill(screen.begin(), screen.end(), SENTINEL);
    const std::vector<u8> over = encode(flat_picture(8, JPG_MAX_HEIGHT + 1, 150, 90, 60));
    EXPECT_EQ(jpg_draw(0, -JPG_MAX_HEIGHT, over.data(), static_cast<s32>(over.size()), 0), 0);
    EXPECT_EQ(jpg_rows_decoded, 0);
    // A small stream whose frame header declares 1024 x 65500: refused before any row.
    std::vector<u8> declared = encode(random_picture(32, 32, 5));
    bool patched = false;
    for (size_t i = 0; i + 8 < declared.size() && !patched; ++i)
        if (declared[i] == 0xFF && declared[i + 1] == 0xC0) {
            declared[i + 5] = 0xFF, declared[i + 6] = 0xDC; // height 65500
            declared[i + 7] = 0x04, declared[i + 8] = 0x00; // width 1024
            patched = true;
        }
    ASSERT_TRUE(patched);
    EXPECT_EQ(jpg_draw(0, -30000, declared.data(), static_cast<s32>(declared.size()), 0), 0);
    EXPECT_EQ(jpg_rows_decoded, 0);
    EXPECT_TRUE(screen_untouched());
}

TEST_P(JpgTest, LibraryMessagesStayOffTheErrorStream) {
    const std::vector<u8> stream = encode(random_picture(40, 40, 6));
    testing::internal::CaptureStderr();
    // A cut stream (the library warns of the early end) and garbage (it gives up).
    ExactBytes cut(stream, stream.size() / 2);
    jpg_draw(0, 0, cut.data.get(), cut.size, 0);
    std::vector<u8> garbage(200, 0x41);
    EXPECT_EQ(jpg_draw(0, 0, garbage.data(), static_cast<s32>(garbage.size()), 0), 0);
    std::vector<u8> tile(65536 * 2);
    jpg_decode_zone(cut.data.get(), cut.size, reinterpret_cast<u16*>(tile.data()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// ---- The writer's kind markers ------------------------------------------------------------

TEST(JpgWriter, StreamsAreOfJpegKindUnlessAsked) {
    const Rgb p = random_picture(16, 16, 8);
    const std::vector<u8> jfif = jpeg_writer_encode(p.bytes.data(), 16, 16);
    EXPECT_EQ(jpeg_writer_is_jpeg_kind(jfif), 1);
    EXPECT_EQ(std::memcmp(jfif.data() + 6, "JFIF", 4), 0);

    JpegWriteOptions o;
    o.jfif_marker = false;
    const std::vector<u8> bare = jpeg_writer_encode(p.bytes.data(), 16, 16, o);
    EXPECT_EQ(jpeg_writer_is_jpeg_kind(bare), 0);
    // Still a JPEG stream for the decoder.
    std::vector<u16> screen(W * H, 0);
    jpg_target = screen.data();
    jpg_target_width = W;
    EXPECT_EQ(jpg_draw(0, 0, bare.data(), static_cast<s32>(bare.size()), 0), 1);
    jpg_target = nullptr;

    o = {};
    o.progressive = true;
    EXPECT_EQ(jpeg_writer_is_jpeg_kind(jpeg_writer_encode(p.bytes.data(), 16, 16, o)), 1);
}

TEST(JpgWriter, BadPicturesAreFatal) {
    harness_reset();
    const u8 px[3] = {1, 2, 3};
    EXPECT_EQ(harness_fatal_message([&] { jpeg_writer_encode(px, 0, 5); }),
              "jpeg_writer: picture size 0x5");
    EXPECT_EQ(harness_fatal_message([&] { jpeg_writer_encode(px, 70000, 1); }),
              "jpeg_writer: picture size 70000x1");
    JpegWriteOptions o;
    o.components = 2;
    EXPECT_EQ(harness_fatal_message([&] { jpeg_writer_encode(px, 1, 1, o); }),
              "jpeg_writer: 2 components");
}

} // namespace
