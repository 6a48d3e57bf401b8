// Rectangles, raw bitmaps and zone tiles on a 640 x 480 target with its occlusion plane: the
// clipping of every routine at every edge (against a plain per-pixel reference), the colour
// key, the translucency, fade and tint levels, the 5-6-5 colour conversion, and the decoding of
// occlusion rows, including rows whose pairs run past the zone's 256 columns.
#include "engine/blit.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/sprite.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr s32 W = 640;
constexpr s32 H = 480;

class Rect : public ::testing::Test {
  protected:
    std::vector<u16> px = std::vector<u16>(W * H);
    std::vector<u8> plane = std::vector<u8>(W * H);

    void use_layout(s32 layout_565) {
        display_565 = layout_565;
        blit_init();
        blit_target_set(px.data(), W, H, W * 2);
        occlusion_plane = plane.data();
    }
    void SetUp() override { use_layout(0); }
    void TearDown() override {
        // Back to the usual target, so that no later test draws into freed buffers.
        display_565 = 0;
        blit_init();
        blit_target_screen();
        occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    }
    u16& at(s32 x, s32 y) { return px[size_t(y * W + x)]; }
    u8& plane_at(s32 x, s32 y) { return plane[size_t(y * W + x)]; }
    s32 changed(u16 background) const {
        return s32(std::count_if(px.begin(), px.end(), [&](u16 p) { return p != background; }));
    }
};

// A raw bitmap in a heap block of exactly its size.
struct Bitmap {
    std::unique_ptr<u8[]> bytes;
    s32 width, height;
    Bitmap(s32 w, s32 h, u16 (*pixel)(s32 x, s32 y))
        : bytes(new u8[size_t(16 + 2 * w * h)]()), width(w), height(h) {
        RawBitmap hdr{u16(w), u16(h), 0, 0, RAW_BITMAP_MAGIC, {}};
        std::memcpy(bytes.get(), &hdr, 16);
        for (s32 y = 0; y < h; ++y)
            for (s32 x = 0; x < w; ++x) {
                const u16 v = pixel(x, y);
                std::memcpy(bytes.get() + 16 + 2 * (y * w + x), &v, 2);
            }
    }
};

// Pixel (x, y) of a bitmap: a value that names its column and row.
u16 named(s32 x, s32 y) {
    return u16(1 + x + 64 * y);
}

TEST_F(Rect, BlitBitmapClipsAtTheLeftAndMirrorsLeftward) {
    const Bitmap b(10, 10, named);
    blit_bitmap(-3, 0, b.bytes.get(), 0);
    for (s32 c = 0; c <= 6; ++c) EXPECT_EQ(at(c, 0), named(c + 3, 0));
    EXPECT_EQ(at(7, 0), 0);
    std::fill(px.begin(), px.end(), 0);
    blit_bitmap(5, 0, b.bytes.get(), BLIT_MIRROR | 0x7FFF); // only bit 15 counts
    for (s32 c = 0; c <= 5; ++c) EXPECT_EQ(at(5 - c, 0), named(c, 0));
    EXPECT_EQ(changed(0), 6 * 10);
}

TEST_F(Rect, BlitBitmapMatchesAPerPixelReferenceAtEveryEdge) {
    // A small target, so that most bitmaps straddle one or two of its edges.
    constexpr s32 TW = 96, TH = 64;
    std::vector<u16> small(TW * TH);
    std::mt19937 rng(5);
    for (const s32 layout : {0, 1}) {
        use_layout(layout);
        blit_target_set(small.data(), TW, TH, TW * 2);
        static u16 key;
        key = key_colour;
        for (s32 iter = 0; iter < 400; ++iter) {
            const s32 w = s32(1 + rng() % 120), h = s32(1 + rng() % 90);
            // Every fourth pixel is the layout's colour key.
            const Bitmap b(w, h, [](s32 x, s32 y) { return (x + y) % 4 == 0 ? key : named(x, y); });
            const s32 x = s32(rng() % 260) - 130, y = s32(rng() % 180) - 90;
            const bool mirror = rng() % 2;
            std::vector<u16> want(TW * TH, 0x1111);
            small = want;
            for (s32 r = 0; r < h; ++r)
                for (s32 c = 0; c < w; ++c) {
                    const s32 X = mirror ? x - c : x + c, Y = y + r;
                    if (X < 0 || X >= TW || Y < 0 || Y >= TH || (c + r) % 4 == 0) continue;
                    want[size_t(Y * TW + X)] = named(c, r);
                }
            blit_bitmap(x, y, b.bytes.get(), mirror ? BLIT_MIRROR : 0);
            ASSERT_EQ(small, want)
                << w << "x" << h << " at " << x << "," << y << " mirror " << mirror;
        }
    }
}

// The rectangle routines against a reference that changes exactly the pixels inside both the
// rectangle and the target.
TEST_F(Rect, RectanglesClipToTheTarget) {
    struct Box {
        s32 x, y, w, h;
    } boxes[] = {{10, 10, 5, 5},     {-3, 4, 10, 2},  {635, 470, 20, 20}, {-50, -50, 800, 600},
                 {600, -10, 40, 15}, {700, 10, 5, 5}, {10, 500, 5, 5},    {-20, 10, 20, 5},
                 {5, 5, 0, 3},       {5, 5, 3, -2},   {0, 479, 640, 1},   {639, 0, 1, 480}};
    auto inside = [](const Box& b, s32 x, s32 y) {
        return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
    };
    const u16 bg = 0x7FFF; // white
    for (const Box& b : boxes) {
        struct Op {
            const char* name;
            void (*draw)(const Box&);
            u16 expect;
        } ops[] = {
            {"fill_rect", [](const Box& b) { fill_rect(b.x, b.y, b.w, b.h, 0x001F); }, 0x001F},
            {"box_blend", [](const Box& b) { box_blend(b.x, b.y, b.w, b.h, 0, 5); }, 15 * 0x0421},
            {"fade_rect", [](const Box& b) { fade_rect(b.x, b.y, b.w, b.h, 31); }, 0},
            {"tint_rect", [](const Box& b) { tint_rect(b.x, b.y, b.w, b.h, 16); }, 16 * 0x0421},
            {"brightness_rect", [](const Box& b) { brightness_rect(b.x, b.y, b.w, b.h, 47); }, 0},
        };
        for (const Op& op : ops) {
            std::fill(px.begin(), px.end(), bg);
            op.draw(b);
            s32 wrong = 0;
            for (s32 y = 0; y < H; ++y)
                for (s32 x = 0; x < W; ++x) wrong += at(x, y) != (inside(b, x, y) ? op.expect : bg);
            EXPECT_EQ(wrong, 0) << op.name << " " << b.x << "," << b.y << " " << b.w << "x" << b.h;
        }
    }
}

TEST_F(Rect, BlendFadeAndTintLevels) {
    for (const s32 layout : {0, 1}) {
        use_layout(layout);
        const u16 white = layout ? 0xFFDF : 0x7FFF;
        std::fill(px.begin(), px.end(), 0x1234);
        box_blend(0, 0, 4, 4, 0x7C00, 0); // weight 0: the colour itself
        EXPECT_EQ(at(3, 3), layout ? 0xF800 : 0x7C00);
        box_blend(0, 0, 4, 4, 0x7FFF, 10); // weight 10: nothing
        box_blend(0, 0, 4, 4, 0x7FFF, -1);
        EXPECT_EQ(at(3, 3), layout ? 0xF800 : 0x7C00);

        // Level 0 keeps every pixel but the 5-6-5 lowest green bit; level byte 0x80 is tint
        // colour 4 (red) at level 0.
        for (u32 c = 0; c < 0x10000; c += 3) px[c % (W * H)] = u16(c);
        std::vector<u16> before = px;
        fade_rect(0, 0, W, H, 0);
        for (size_t i = 0; i < px.size(); ++i)
            ASSERT_EQ(px[i], layout ? u16(before[i] & ~0x20u) : u16(before[i] & 0x7FFF)) << i;
        at(0, 0) = 0;
        fade_rect(0, 0, 1, 1, 0x80);
        EXPECT_EQ(at(0, 0), layout ? 8 << 11 : 8 << 10);

        at(1, 0) = white;
        tint_rect(1, 0, 1, 1, 8); // the text backdrop: 31 x 24/32 = 23.25
        EXPECT_EQ(at(1, 0), layout ? (23 << 11 | 23 << 6 | 23) : (23 << 10 | 23 << 5 | 23));
    }
}

TEST_F(Rect, ZoneTileDrawClipsToTheScreen) {
    std::vector<u16> tile(256 * 256);
    for (s32 y = 0; y < 256; ++y)
        for (s32 x = 0; x < 256; ++x) tile[size_t(y * 256 + x)] = u16(1 + x + 256 * y);
    struct Case {
        s32 x, y;
    } cases[] = {{-100, 300}, {0, 0},   {384, 224}, {500, 400}, {-255, -255}, {639, 479},
                 {-256, 0},   {640, 0}, {0, -256},  {0, 480},   {200, -10}};
    for (const Case& c : cases) {
        std::fill(px.begin(), px.end(), 0);
        zone_tile_draw(c.x, c.y, tile.data());
        s32 wrong = 0;
        for (s32 y = 0; y < H; ++y)
            for (s32 x = 0; x < W; ++x) {
                const s32 tx = x - c.x, ty = y - c.y;
                const bool in = tx >= 0 && tx < 256 && ty >= 0 && ty < 256;
                wrong += at(x, y) != (in ? tile[size_t(ty * 256 + tx)] : 0);
            }
        EXPECT_EQ(wrong, 0) << c.x << "," << c.y;
    }
    // The telling case: tile columns 100..255 on screen 0..155, rows 0..179 on 300..479.
    std::fill(px.begin(), px.end(), 0);
    zone_tile_draw(-100, 300, tile.data());
    EXPECT_EQ(at(0, 300), tile[100]);
    EXPECT_EQ(at(155, 479), tile[179 * 256 + 255]);
    EXPECT_EQ(at(156, 300), 0);
}

TEST_F(Rect, ZoneFillAndOcclusionFill) {
    use_layout(1);
    zone_fill(-10, 470, 0x7FFF);
    EXPECT_EQ(at(0, 470), 0xFFDF);
    EXPECT_EQ(at(245, 479), 0xFFDF);
    EXPECT_EQ(at(246, 479), 0);
    EXPECT_EQ(changed(0), 246 * 10);

    occlusion_fill(500, -200, 9);
    EXPECT_EQ(plane_at(500, 0), 9);
    EXPECT_EQ(plane_at(639, 55), 9);
    EXPECT_EQ(plane_at(639, 56), 0);
    EXPECT_EQ(plane_at(499, 0), 0);
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 9), 140 * 56);
    occlusion_fill(-256, 0, 7);
    occlusion_fill(0, 480, 7);
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 7), 0);
}

// Occlusion rows: 256 rows of (count, pairs of (length - 1, value)).
std::vector<u8> occlusion_rows(const std::vector<std::vector<u8>>& pairs_of_row) {
    std::vector<u8> out;
    for (s32 r = 0; r < 256; ++r) {
        const std::vector<u8>& pairs = pairs_of_row[size_t(r) % pairs_of_row.size()];
        out.push_back(u8(pairs.size()));
        out.insert(out.end(), pairs.begin(), pairs.end());
    }
    return out;
}

TEST_F(Rect, OcclusionRowsDecodeAndClip) {
    // One pair of 256 columns of 40.
    std::vector<u8> rows = occlusion_rows({{255, 40}});
    occlusion_rows_draw(0, 0, rows.data());
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 40), 256 * 256);
    EXPECT_EQ(plane_at(255, 255), 40);
    EXPECT_EQ(plane_at(256, 0), 0);

    // Row r: 100 of value 1 then 156 of value 2 + (r & 1); drawn straddling each edge.
    rows = occlusion_rows({{99, 1, 155, 2}, {99, 1, 155, 3}});
    struct Case {
        s32 x, y;
    } cases[] = {{-120, -7}, {-50, 300}, {500, 250}, {384, 224}, {639, 479},
                 {-255, 0},  {-256, 0},  {640, 0},   {0, -256},  {0, 480}};
    for (const Case& c : cases) {
        std::fill(plane.begin(), plane.end(), 0);
        occlusion_rows_draw(c.x, c.y, rows.data());
        s32 wrong = 0;
        for (s32 y = 0; y < H; ++y)
            for (s32 x = 0; x < W; ++x) {
                const s32 zx = x - c.x, zy = y - c.y;
                u8 want = 0;
                if (zx >= 0 && zx < 256 && zy >= 0 && zy < 256)
                    want = zx < 100 ? 1 : u8(2 + (zy & 1));
                wrong += plane_at(x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << c.x << "," << c.y;
    }
}

TEST_F(Rect, OcclusionRowsNeverWritePastTheZone) {
    // Pairs covering 4 x 256 columns, and a stray odd byte: only the zone's 256 columns change,
    // whatever the rows claim.
    const std::vector<u8> rows = occlusion_rows({{255, 5, 255, 6, 255, 7, 255, 8, 9}});
    for (const s32 x : {0, 100, -30}) {
        std::fill(plane.begin(), plane.end(), 0);
        occlusion_rows_draw(x, 10, rows.data());
        const s32 left = std::max(x, 0), right = x + 256;
        for (s32 col = 0; col < W; ++col)
            ASSERT_EQ(plane_at(col, 10), col >= left && col < right ? 5 : 0) << x << " " << col;
        EXPECT_EQ(std::count(plane.begin(), plane.end(), 5), (right - left) * 256);
    }
    EXPECT_EQ(occlusion_rows_size(rows.data(), s32(rows.size())), s32(rows.size()));
    EXPECT_EQ(occlusion_rows_size(rows.data(), s32(rows.size()) - 1), -1);
    EXPECT_EQ(occlusion_rows_size(rows.data(), 0), -1);
}

} // namespace
