// The sprite blitter against a slow reference renderer written here: the sprite's bytes are
// decoded back into a grid and plotted pixel by pixel with the drawing rules (placement about the
// hotspot, mirror, palettes, brightness then tint, the blend kinds, depth test, show-through grid,
// light, mask sprites), for random sprites at positions that straddle every edge of a small
// target, in both layouts. Then the telling cases one by one, `blit_hit`, the sprite writer and
// `sprite_validate`, including random damage to valid sprites: whatever passes validation is
// drawn inside exact-size buffers, so a read or write outside the image or the target fails.
#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "platform/harness.h"
#include "tests/sprite_decode.h"
#include "tools/sprite_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

// A drawing target with its occlusion plane, both exactly their size.
struct Scene {
    s32 w, h;
    std::vector<u16> pixels;
    std::vector<u8> plane;
    Scene(s32 width, s32 height)
        : w(width), h(height), pixels(size_t(width * height)), plane(size_t(width * height)) {}
};

// Back to the usual target, so that no later test draws into a freed scene.
void restore_screen_target() {
    display_565 = 0;
    blit_init();
    blit_target_screen();
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
}

void use_scene(Scene& sc, s32 layout_565) {
    display_565 = layout_565;
    blit_init();
    blit_target_set(sc.pixels.data(), sc.w, sc.h, sc.w * 2);
    occlusion_plane = sc.plane.data();
}

// The entry bytes in a heap block of exactly their size.
struct Entry {
    std::unique_ptr<u8[]> bytes;
    s32 size;
    explicit Entry(const std::vector<u8>& v) : bytes(new u8[v.size()]), size(s32(v.size())) {
        std::memcpy(bytes.get(), v.data(), v.size());
    }
};

u16 rd16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}

struct Rgb {
    s32 r, g, b;
};
Rgb channels(u16 c) {
    if (display_565) return {c >> 11, (c >> 6) & 31, c & 31};
    return {(c >> 10) & 31, (c >> 5) & 31, c & 31};
}
u16 pack(Rgb c) {
    return display_565 ? u16(c.r << 11 | c.g << 6 | c.b) : u16(c.r << 10 | c.g << 5 | c.b);
}

// Draws what `blit_sprite` should draw, one source pixel at a time.
void reference_draw(Scene& sc, const SpriteSource& src, s32 x, s32 y, u32 flags, u32 depth) {
    const u32 blend = (flags >> 11) & 15;
    if (blend == 10 || (src.width == 0 && src.height == 0)) return;
    const bool mask = src.palettes.empty();
    const bool light = !mask && (flags & BLIT_LIGHT) != 0;
    if (!mask && !light && blend >= 13) return;

    u16 colours[256] = {};
    if (light) {
        const u32 cut = flags & 31;
        for (u32 i = 0; i < 256; ++i) {
            const u16 v = u16((i & 0xE0) << 8 | (i & 0x1F));
            colours[i] = (i & 0x1F) < cut ? 0 : u16(v - cut);
        }
    } else if (!mask) {
        u32 p = (flags >> 16) & 0xFF;
        if (p >= src.palettes.size()) p = 0;
        const u32 bright = (flags >> 6) & 31, tint = flags & 31;
        for (u32 i = 0; i < 256; ++i) {
            u16 c = src.palettes[p][i];
            if (bright) c = colour_through(brightness_table[bright], c);
            if (tint) c = colour_through(tint_table[0][tint], c);
            colours[i] = c;
        }
    }
    const u16 fill = display_565 ? colour_555_to_565(depth & 0x7FFF) : u16(depth & 0x7FFF);
    const u32 depth_bits = depth & 0xFFFF;
    const bool tested = depth_bits != 0, show = depth_bits >= 0x8000;
    const u8 level = u8(depth);
    const bool mirror = (flags & BLIT_MIRROR) != 0;
    const s64 top = s64(y) - src.hot_y;
    const s64 first_row = std::max<s64>(top, 0);

    for (s32 r = 0; r < src.height; ++r)
        for (s32 c = 0; c < src.width; ++c) {
            const s16 cell = src.cells[size_t(r) * size_t(src.width) + size_t(c)];
            if (cell == SPRITE_CLEAR) continue;
            const s64 X = mirror ? s64(x) + src.hot_x - c : s64(x) - src.hot_x + c;
            const s64 Y = top + r;
            if (X < 0 || X >= sc.w || Y < 0 || Y >= sc.h) continue;
            u16& d = sc.pixels[size_t(Y * sc.w + X)];
            u8& q = sc.plane[size_t(Y * sc.w + X)];
            if (mask) {
                d = fill;
                continue;
            }
            const u16 s = colours[cell];
            if (light) {
                const s32 dark = std::max(0, (q & 0x1F) - (s & 0xFF));
                q = u8(dark | (s >> 8) | (q & 0xE0));
                continue;
            }
            if (tested) {
                const bool open = show && ((u64(y) + u64(Y - first_row)) & 1) == 0;
                if (!(open && (X & 1) == 0) && level < q) continue;
            }
            const Rgb a = channels(d), b = channels(s);
            switch (blend) {
            case 0:
                d = s;
                break;
            case 11:
                d = pack({std::max(0, a.r - b.r), std::max(0, a.g - b.g), std::max(0, a.b - b.b)});
                break;
            case 12:
                d = pack(
                    {std::min(31, a.r + b.r), std::min(31, a.g + b.g), std::min(31, a.b + b.b)});
                break;
            default: {
                const BlendSet& wb = blend_sets[blend];
                d = u16(wb.part[0][s & 0xFF] + wb.part[1][s >> 8] + wb.part[2][d & 0xFF] +
                        wb.part[3][d >> 8]);
            }
            }
        }
}

std::array<u16, 256> random_palette(std::mt19937& rng) {
    std::array<u16, 256> p;
    for (u16& c : p) c = u16(display_565 ? rng() : rng() & 0x7FFF);
    return p;
}

SpriteSource random_sprite(std::mt19937& rng) {
    SpriteSource s;
    const bool empty = rng() % 40 == 0;
    s.width = empty ? 0 : s32(1 + rng() % 70);
    s.height = empty ? 0 : s32(1 + rng() % 50);
    s.hot_x = s32(rng() % u32(s.width + 21)) - 10;
    s.hot_y = s32(rng() % u32(s.height + 21)) - 10;
    const u32 density = 1 + rng() % 4; // 1 in density pixels is transparent
    for (s32 i = 0; i < s.width * s.height; ++i)
        s.cells.push_back(rng() % density == 0 ? SPRITE_CLEAR : s16(rng() % 256));
    const u32 palettes = rng() % 5 == 0 ? 0 : 1 + rng() % 3;
    for (u32 i = 0; i < palettes; ++i) s.palettes.push_back(random_palette(rng));
    return s;
}

u32 random_flags(std::mt19937& rng) {
    static const u32 blends[] = {0, 0, 0, 0, 1, 3, 5, 9, 10, 11, 11, 12, 12, 13, 15};
    const u32 tint = rng() % 2 ? 0 : rng() % 32;
    const u32 bright = rng() % 2 ? 0 : rng() % 32;
    u32 f = blit_flags(tint, bright, blends[rng() % std::size(blends)], rng() % 2, rng() % 5);
    if (rng() % 10 == 0) f |= BLIT_LIGHT;
    return f;
}

u32 random_depth(std::mt19937& rng) {
    switch (rng() % 4) {
    case 0:
        return 0;
    case 1:
        return 1 + rng() % 255;
    case 2:
        return DEPTH_SHOW_THROUGH | (rng() % 256);
    default:
        return rng(); // any bits: only the low 16 count (a mask sprite's fill colour)
    }
}

void fill_random(Scene& sc, std::mt19937& rng) {
    for (u16& p : sc.pixels) p = u16(display_565 ? rng() : rng() & 0x7FFF);
    for (u8& q : sc.plane) q = u8(rng());
}

class SpriteProperty : public ::testing::TestWithParam<s32> {
  protected:
    void TearDown() override { restore_screen_target(); }
};
INSTANTIATE_TEST_SUITE_P(Layouts, SpriteProperty, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "L565" : "L555"; });

TEST_P(SpriteProperty, MatchesTheReferenceRendererAtEveryEdge) {
    Scene sc(48, 40), want(48, 40);
    use_scene(sc, GetParam());
    std::mt19937 rng(1234u + u32(GetParam()));
    for (s32 iter = 0; iter < 3000; ++iter) {
        const SpriteSource src = random_sprite(rng);
        const Entry e(sprite_writer_encode(src));
        ASSERT_TRUE(sprite_validate(e.bytes.get(), e.size));
        const s32 x = s32(rng() % 230) - 90, y = s32(rng() % 160) - 60;
        const u32 flags = random_flags(rng), depth = random_depth(rng);
        fill_random(sc, rng);
        want.pixels = sc.pixels;
        want.plane = sc.plane;
        blit_sprite(x, y, e.bytes.get(), flags, depth);
        reference_draw(want, src, x, y, flags, depth);
        ASSERT_EQ(sc.pixels, want.pixels) << "iter " << iter << " at " << x << "," << y << " flags "
                                          << std::hex << flags << " depth " << depth;
        ASSERT_EQ(sc.plane, want.plane) << "iter " << iter;
    }
}

// ---- Telling cases ---------------------------------------------------------------------------

// A sprite of one row per entry of `rows`; each char is a cell: '.' clear, else index c - 'a'.
SpriteSource sprite_of(std::initializer_list<const char*> rows, s32 hot_x, s32 hot_y,
                       s32 palettes = 1) {
    SpriteSource s;
    s.height = s32(rows.size());
    s.width = s32(std::strlen(*rows.begin()));
    s.hot_x = hot_x;
    s.hot_y = hot_y;
    for (const char* r : rows)
        for (s32 c = 0; c < s.width; ++c)
            s.cells.push_back(r[c] == '.' ? SPRITE_CLEAR : s16(r[c] - 'a'));
    for (s32 p = 0; p < palettes; ++p) {
        std::array<u16, 256> pal;
        for (u32 i = 0; i < 256; ++i) pal[i] = u16(0x100 * (p + 1) + i); // palette p, index i
        s.palettes.push_back(pal);
    }
    return s;
}

class SpriteCases : public ::testing::Test {
  protected:
    Scene sc{640, 480};
    void SetUp() override { use_scene(sc, 0); }
    void TearDown() override { restore_screen_target(); }
    void draw(const SpriteSource& s, s32 x, s32 y, u32 flags = 0, u32 depth = 0) {
        const Entry e(sprite_writer_encode(s));
        blit_sprite(x, y, e.bytes.get(), flags, depth);
    }
    u16 at(s32 x, s32 y) const { return sc.pixels[size_t(y * 640 + x)]; }
    s32 drawn() const {
        return s32(std::count_if(sc.pixels.begin(), sc.pixels.end(), [](u16 p) { return p != 0; }));
    }
};

TEST_F(SpriteCases, MirrorTurnsAboutTheHotspot) {
    const SpriteSource s = sprite_of({"abcdefghijklmnopqrst"}, 10, 0);
    draw(s, 100, 0, BLIT_MIRROR);
    EXPECT_EQ(at(110, 0), 0x100 + 0); // source column 0
    EXPECT_EQ(at(100, 0), 0x100 + 10);
    EXPECT_EQ(at(91, 0), 0x100 + 19);
    EXPECT_EQ(drawn(), 20);
    std::fill(sc.pixels.begin(), sc.pixels.end(), 0);
    draw(s, 100, 0);
    EXPECT_EQ(at(90, 0), 0x100 + 0);
    EXPECT_EQ(at(100, 0), 0x100 + 10);
}

TEST_F(SpriteCases, LeftEdgeAndWiderThanTheTarget) {
    draw(sprite_of({"abcdefghij"}, 0, 0), -5, 3);
    EXPECT_EQ(at(0, 3), 0x100 + 5); // from its sixth source column
    EXPECT_EQ(at(4, 3), 0x100 + 9);
    EXPECT_EQ(drawn(), 5);

    // 700 columns from -30: exactly the target's 640 columns, straight and mirrored.
    SpriteSource wide;
    wide.width = 700;
    wide.height = 1;
    wide.palettes.push_back({});
    for (s32 c = 0; c < 700; ++c) {
        wide.cells.push_back(s16(c % 256));
        wide.palettes[0][size_t(c % 256)] = u16(1 + c % 256);
    }
    for (const u32 flags : {0u, BLIT_MIRROR}) {
        std::fill(sc.pixels.begin(), sc.pixels.end(), 0);
        draw(wide, flags ? 669 : -30, 0, flags);
        EXPECT_EQ(drawn(), 640);
        EXPECT_EQ(at(0, 0), flags ? 1 + 669 % 256 : 1 + 30);
        EXPECT_EQ(at(639, 0), flags ? 1 + 30 : 1 + 669 % 256);
    }
}

TEST_F(SpriteCases, PaletteNumberOutsideTheSpriteTakesPaletteZero) {
    const SpriteSource s = sprite_of({"c"}, 0, 0, 2);
    draw(s, 0, 0, blit_flags(0, 0, 0, false, 1));
    EXPECT_EQ(at(0, 0), 0x200 + 2);
    draw(s, 0, 0, blit_flags(0, 0, 0, false, 2));
    EXPECT_EQ(at(0, 0), 0x100 + 2);
}

TEST_F(SpriteCases, HiddenBlendModes) {
    struct Case {
        u32 blend;
        s32 palettes;
        bool drawn;
    } cases[] = {{10, 1, false}, {10, 0, false}, {13, 1, false}, {14, 1, false},
                 {15, 1, false}, {13, 0, true},  {15, 0, true}};
    for (const Case& c : cases) {
        std::fill(sc.pixels.begin(), sc.pixels.end(), 0);
        draw(sprite_of({"bb", "bb"}, 0, 0, c.palettes), 5, 5, blit_flags(0, 0, c.blend, false, 0),
             0x1234);
        EXPECT_EQ(drawn(), c.drawn ? 4 : 0) << c.blend << " palettes " << c.palettes;
    }
}

TEST_F(SpriteCases, MaskSpriteFillsTheDepthColourInEitherLayout) {
    const SpriteSource mask = sprite_of({"a.a"}, 0, 0, 0);
    draw(mask, 0, 0, 0, 0x7C00);
    EXPECT_EQ(at(0, 0), 0x7C00);
    EXPECT_EQ(at(1, 0), 0);
    use_scene(sc, 1);
    draw(mask, 0, 1, BLIT_LIGHT, 0xFFFF7C00); // light and high bits do not matter to a mask
    EXPECT_EQ(at(2, 1), 0xF800);
}

TEST_F(SpriteCases, ShowThroughLeavesAGridOfOnePixelInFour) {
    std::fill(sc.plane.begin(), sc.plane.end(), 255); // scenery in front everywhere
    const SpriteSource s = sprite_of({"bbbb", "bbbb", "bbbb", "bbbb"}, 0, 0);
    for (const s32 y : {10, 11}) {
        std::fill(sc.pixels.begin(), sc.pixels.end(), 0);
        draw(s, 20, y, 0, DEPTH_SHOW_THROUGH | 5);
        for (s32 r = 0; r < 4; ++r)
            for (s32 c = 0; c < 4; ++c) {
                const bool shown = (r % 2 == (y % 2)) && c % 2 == 0;
                EXPECT_EQ(at(20 + c, y + r) != 0, shown) << "y " << y << " r " << r << " c " << c;
            }
        // The phase follows the call's y, not the first row left after clipping at the top.
        std::fill(sc.pixels.begin(), sc.pixels.end(), 0);
        draw(s, 20, y - 12, 0, DEPTH_SHOW_THROUGH | 5);
        if (y == 10)
            EXPECT_NE(at(20, 0), 0); // first drawn row open (y - 12 even)
        else
            EXPECT_EQ(at(20, 0), 0);
    }
    // Plain depth test: nothing where the scenery is higher, all where it is not.
    std::fill(sc.pixels.begin(), sc.pixels.end(), 0);
    draw(s, 20, 10, 0, 200);
    EXPECT_EQ(drawn(), 0);
    std::fill(sc.plane.begin(), sc.plane.end(), 200);
    draw(s, 20, 10, 0, 200);
    EXPECT_EQ(drawn(), 16);
}

TEST_F(SpriteCases, AdditiveAndSubtractiveCapAndFloor) {
    SpriteSource s = sprite_of({"a"}, 0, 0);
    s.palettes[0][0] = 0x7C00; // red
    std::fill(sc.pixels.begin(), sc.pixels.end(), 0x7C00);
    draw(s, 0, 0, blit_flags(0, 0, BLEND_ADD, false, 0));
    EXPECT_EQ(at(0, 0), 0x7C00);
    s.palettes[0][0] = 0x7FFF;
    draw(s, 1, 0, blit_flags(0, 0, BLEND_SUB, false, 0));
    EXPECT_EQ(at(1, 0), 0x0000);
    sc.pixels[2] = 0;
    draw(s, 2, 0, blit_flags(0, 0, BLEND_SUB, false, 0));
    EXPECT_EQ(at(2, 0), 0x0000);

    // 5-6-5: green 20 + 20 caps at 31 in its own six bits, through the show-through routine of
    // both directions.
    use_scene(sc, 1);
    s.palettes[0][0] = 20 << 6;
    for (const u32 mirror : {0u, BLIT_MIRROR}) {
        sc.pixels[3] = u16(20 << 6 | 1);
        sc.plane[3] = 0;
        draw(s, 3, 0, blit_flags(0, 0, BLEND_ADD, mirror, 0), DEPTH_SHOW_THROUGH | 1);
        EXPECT_EQ(at(3, 0), 0x07C0 | 1);
        sc.pixels[3] = u16(25 << 6 | 0x1F);
        draw(s, 3, 0, blit_flags(0, 0, BLEND_SUB, mirror, 0), DEPTH_SHOW_THROUGH | 1);
        EXPECT_EQ(at(3, 0), (5 << 6) | 0x1F);
    }
}

// ---- blit_hit ---------------------------------------------------------------------------------

TEST(SpriteHit, AnswersEveryCellOfRandomSprites) {
    std::mt19937 rng(77);
    display_565 = 0;
    for (s32 iter = 0; iter < 200; ++iter) {
        const SpriteSource s = random_sprite(rng);
        const Entry e(sprite_writer_encode(s));
        for (s32 r = 0; r < s.height; ++r)
            for (s32 c = 0; c < s.width; ++c)
                ASSERT_EQ(blit_hit(c, r, e.bytes.get()),
                          s.cells[size_t(r * s.width + c)] != SPRITE_CLEAR ? 1 : 0);
        // Past the last run, and rows outside the sprite, are transparent.
        EXPECT_EQ(blit_hit(s.width + 300, 0, e.bytes.get()), 0);
        EXPECT_EQ(blit_hit(0, s.height, e.bytes.get()), 0);
        EXPECT_EQ(blit_hit(0, -1, e.bytes.get()), 0);
    }
}

TEST(SpriteHit, PicturesAndRawBitmapsAreOpaqueEverywhere) {
    u8 jpeg[16] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'};
    u8 raw[16] = {4, 0, 4, 0, 0, 0, 0, 0, 0x28, 0x03, 0x70, 0x19};
    EXPECT_EQ(blit_hit(3, 3, jpeg), 1);
    EXPECT_EQ(blit_hit(3, 3, raw), 1);
}

// ---- Writer -------------------------------------------------------------------------------------

TEST(SpriteWriter, EncodesHeaderRunsAndLongSpans) {
    SpriteSource s;
    s.width = 600;
    s.height = 2;
    s.hot_x = -3;
    s.hot_y = 0x464A; // "JF" at byte 6 must not make a JPEG picture
    s.cells.assign(1200, SPRITE_CLEAR);
    for (s32 c = 300; c < 600; ++c) s.cells[size_t(c)] = 7; // row 0: 300 clear, 300 drawn
    s.cells[600] = 1;                                       // row 1: one pixel, then clear
    s.palettes.assign(2, {});
    const std::vector<u8> b = sprite_writer_encode(s);
    ASSERT_TRUE(sprite_validate(b.data(), s32(b.size())));
    EXPECT_EQ(b[8], 2);
    EXPECT_TRUE(std::all_of(b.begin() + 9, b.begin() + 16, [](u8 v) { return v == 0; }));
    EXPECT_EQ(s16(rd16(&b[4])), -3);
    EXPECT_NE(std::memcmp(&b[6], "JFIF", 4), 0);
    const u8* row = &b[16 + 1024];
    // (255, 0) then (45, 255 + indices) then (0, 45 + indices).
    EXPECT_EQ(rd16(row), 2 + 2 + 255 + 2 + 45);
    EXPECT_EQ(row[2], 255);
    EXPECT_EQ(row[3], 0);
    EXPECT_EQ(row[4], 45);
    EXPECT_EQ(row[5], 255);
    EXPECT_EQ(row[6 + 255], 0);
    EXPECT_EQ(row[7 + 255], 45);
    const u8* row1 = row + 2 + rd16(row);
    EXPECT_EQ(rd16(row1), 3); // trailing clear pixels are left out
    const SpriteSource back = sprite_decode(b.data());
    EXPECT_EQ(back.cells, s.cells);
    EXPECT_EQ(back.hot_y, s.hot_y);
}

TEST(SpriteWriter, RefusesWhatTheFormatCannotHold) {
    harness_reset();
    SpriteSource s;
    s.width = 2;
    s.height = 1;
    s.cells = {0};
    EXPECT_EQ(harness_fatal_message([&] { sprite_writer_encode(s); }),
              "sprite_writer: 1 cells for 2x1");
    s.cells = {0, 256};
    EXPECT_EQ(harness_fatal_message([&] { sprite_writer_encode(s); }), "sprite_writer: cell 256");
    s.cells = {0, 1};
    s.hot_x = 40000;
    EXPECT_EQ(harness_fatal_message([&] { sprite_writer_encode(s); }),
              "sprite_writer: hotspot (40000,0)");
}

// ---- Validation ---------------------------------------------------------------------------------

TEST(SpriteValidate, RefusesEveryKindOfDamage) {
    // 3 x 2, one palette: "ab." / ".c." -> row 0 (0, 2, a, b), row 1 (1, 1, c); 539 bytes.
    const std::vector<u8> good = sprite_writer_encode(sprite_of({"ab.", ".c."}, 0, 0));
    ASSERT_EQ(good.size(), 539u);
    constexpr size_t ROW0 = 16 + 512, ROW1 = ROW0 + 6;
    struct Case {
        const char* what;
        void (*damage)(std::vector<u8>&);
        bool valid;
    } cases[] = {
        {"as written", [](std::vector<u8>&) {}, true},
        {"shorter than the header", [](std::vector<u8>& b) { b.resize(15); }, false},
        {"last row cut short", [](std::vector<u8>& b) { b.pop_back(); }, false},
        {"palettes past the entry", [](std::vector<u8>& b) { b[8] = 2; }, false},
        {"no rows, palettes past the entry",
         [](std::vector<u8>& b) { b[2] = 0, b[8] = 2, b.resize(600); }, false},
        {"a row missing", [](std::vector<u8>& b) { b[2] = 3; }, false},
        {"narrower than its runs", [](std::vector<u8>& b) { b[0] = 1; }, false},
        {"wider than its runs", [](std::vector<u8>& b) { b[0] = 200; }, true},
        {"skip + count past the width", [](std::vector<u8>& b) { b[ROW1 + 2] = 3; }, false},
        {"skip + count at the width", [](std::vector<u8>& b) { b[ROW1 + 2] = 2; }, true},
        {"indices past the row", [](std::vector<u8>& b) { b[ROW0] = 3; }, false},
        {"half a run at the row's end",
         [](std::vector<u8>& b) {
             b[ROW0] = 5;
             b.insert(b.begin() + ROW0 + 6, 0);
         },
         false},
        {"a skip-only run", [](std::vector<u8>& b) { b[ROW1 + 3] = 0, b[ROW1] = 2, b.pop_back(); },
         true},
        {"mask sprite: runs without indices",
         [](std::vector<u8>& b) {
             b = {3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 1, 1, 1};
         },
         true},
        {"mask sprite: runs read as indexed",
         [](std::vector<u8>& b) {
             b = {3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 4};
         },
         false},
        {"raw bitmap with all its pixels",
         [](std::vector<u8>& b) {
             b.assign(16 + 2 * 2 * 3, 0);
             b[0] = 2, b[2] = 3, b[8] = 0x28, b[9] = 0x03, b[10] = 0x70, b[11] = 0x19;
         },
         true},
        {"raw bitmap one byte short",
         [](std::vector<u8>& b) {
             b.assign(16 + 2 * 2 * 3 - 1, 0);
             b[0] = 2, b[2] = 3, b[8] = 0x28, b[9] = 0x03, b[10] = 0x70, b[11] = 0x19;
         },
         false},
        {"JPEG picture", [](std::vector<u8>& b) { std::memcpy(&b[6], "JFIF", 4); }, true},
        {"empty image", [](std::vector<u8>& b) { b.assign(16, 0); }, true},
    };
    for (const Case& c : cases) {
        std::vector<u8> b = good;
        c.damage(b);
        const Entry e(b);
        EXPECT_EQ(sprite_validate(e.bytes.get(), e.size), c.valid) << c.what;
    }
    EXPECT_FALSE(sprite_validate(nullptr, 100));
}

TEST_P(SpriteProperty, DamagedSpritesThatPassValidationStayInside) {
    Scene sc(40, 30), want(40, 30);
    use_scene(sc, GetParam());
    std::mt19937 rng(99u + u32(GetParam()));
    s32 passed = 0;
    for (s32 iter = 0; iter < 2000; ++iter) {
        std::vector<u8> b = sprite_writer_encode(random_sprite(rng));
        const s32 hits = s32(1 + rng() % 4);
        for (s32 i = 0; i < hits; ++i) {
            // Mostly the header and the first row bytes, where damage tells most.
            const size_t at = rng() % 2 ? rng() % std::min<size_t>(b.size(), 20) : rng() % b.size();
            b[at] = u8(rng() % 3 ? rng() : b[at] ^ (1u << (rng() % 8)));
        }
        if (rng() % 4 == 0) b.resize(rng() % (b.size() + 1));
        const Entry e(b);
        if (!sprite_validate(e.bytes.get(), e.size)) continue;
        if (e.size >= 16 && (std::memcmp(&b[6], "JFIF", 4) == 0 ||
                             (b[8] == 0x28 && b[9] == 0x03 && b[10] == 0x70 && b[11] == 0x19)))
            continue; // not a sprite
        ++passed;
        const SpriteSource src = sprite_decode(e.bytes.get());
        const bool compare = s64(src.width) * src.height <= 200000;
        for (s32 k = 0; k < 4; ++k) {
            const s32 x = s32(rng() % 200) - 80, y = s32(rng() % 150) - 60;
            const u32 flags = random_flags(rng), depth = random_depth(rng);
            fill_random(sc, rng);
            want.pixels = sc.pixels;
            want.plane = sc.plane;
            blit_sprite(x, y, e.bytes.get(), flags, depth);
            for (s32 r = 0; r < std::min<s32>(src.height, 8); ++r)
                for (s32 c = 0; c < std::min<s32>(src.width, 8); ++c) blit_hit(c, r, e.bytes.get());
            if (!compare) continue;
            reference_draw(want, src, x, y, flags, depth);
            ASSERT_EQ(sc.pixels, want.pixels) << "iter " << iter;
            ASSERT_EQ(sc.plane, want.plane) << "iter " << iter;
        }
    }
    EXPECT_GT(passed, 300) << passed; // the damage left many drawable sprites to try
}

} // namespace
