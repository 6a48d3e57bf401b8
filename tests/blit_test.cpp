// Pixel layouts, the drawing target's row table and the lookup tables, in both layouts: the
// tables' telling values, the 5-6-5 rule that every table output has its lowest green bit clear,
// and the installation of the layout's subtractive and additive sprite routines by slot.
#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "platform/harness.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct Rgb {
    s32 r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Five-bit channels of a colour in the current layout (5-6-5 green without its lowest bit).
Rgb channels(u16 c) {
    if (display_565) return {c >> 11, (c >> 6) & 31, c & 31};
    return {(c >> 10) & 31, (c >> 5) & 31, c & 31};
}

u16 pack(s32 r, s32 g, s32 b) {
    return display_565 ? u16(r << 11 | g << 6 | b) : u16(r << 10 | g << 5 | b);
}

void use_layout(s32 layout_565) {
    display_565 = layout_565;
    blit_init();
}

// A colour as the layout sees it: 5-6-5 ignores the lowest green bit, 5-5-5 the top bit.
u16 significant(u16 c) {
    return display_565 ? u16(c & ~0x20u) : u16(c & 0x7FFF);
}

class BlitTables : public ::testing::TestWithParam<s32> {
  protected:
    void SetUp() override { use_layout(GetParam()); }
    void TearDown() override { use_layout(0); }
};

INSTANTIATE_TEST_SUITE_P(Layouts, BlitTables, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "L565" : "L555"; });

TEST_P(BlitTables, TintLevelsDarkenTowardBlack) {
    const u16 white = pack(31, 31, 31);
    EXPECT_EQ(channels(colour_through(tint_table[0][1], white)), (Rgb{30, 30, 30}));
    EXPECT_EQ(channels(colour_through(tint_table[0][16], white)), (Rgb{16, 16, 16}));
    for (u32 c = 0; c < 0x10000; ++c) {
        ASSERT_EQ(colour_through(tint_table[0][31], u16(c)), 0) << c;
        // Level 0 of tint colour 0 changes nothing the layout holds.
        ASSERT_EQ(colour_through(tint_table[0][0], u16(c)), significant(u16(c))) << c;
    }
    // Tint colours add 8 to their channels before the scaling: red (4), cyan (3), grey (7).
    EXPECT_EQ(channels(colour_through(tint_table[4][0], 0)), (Rgb{8, 0, 0}));
    EXPECT_EQ(channels(colour_through(tint_table[3][0], 0)), (Rgb{0, 8, 8}));
    EXPECT_EQ(channels(colour_through(tint_table[7][0], white)), (Rgb{31, 31, 31}));
    EXPECT_EQ(channels(colour_through(tint_table[7][16], 0)), (Rgb{4, 4, 4}));
}

TEST_P(BlitTables, BrightnessLevels) {
    for (u32 c = 0; c < 0x10000; ++c) {
        ASSERT_EQ(colour_through(brightness_table[15], u16(c)), 0) << c;
        ASSERT_EQ(colour_through(brightness_table[16], u16(c)), significant(u16(c))) << c;
        ASSERT_EQ(colour_through(brightness_table[24], u16(c)), significant(u16(c))) << c;
    }
    const u16 white = pack(31, 31, 31);
    // Levels 1..14 map black to (R0, G0, B0); white's two bytes are mapped apart, so it lands
    // below (R1, G1, B1), and on 5-6-5 the low byte's red share is cut off.
    EXPECT_EQ(channels(colour_through(brightness_table[7], 0)), (Rgb{0, 0, 0}));
    EXPECT_EQ(channels(colour_through(brightness_table[7], white)),
              display_565 ? (Rgb{17, 20, 20}) : (Rgb{15, 20, 20}));
    EXPECT_EQ(channels(colour_through(brightness_table[1], white)), (Rgb{0, 0, 20}));
    // Levels 17..31 add their row, capped.
    EXPECT_EQ(channels(colour_through(brightness_table[17], 0)), (Rgb{0, 0, 8}));
    EXPECT_EQ(channels(colour_through(brightness_table[31], pack(20, 5, 0))), (Rgb{31, 21, 16}));
    EXPECT_EQ(channels(colour_through(brightness_table[31], white)), (Rgb{31, 31, 31}));
}

TEST_P(BlitTables, BlendSetsWeighBothSides) {
    const u16 white = pack(31, 31, 31);
    auto blend = [](s32 m, u16 s, u16 d) {
        const BlendSet& b = blend_sets[m];
        return u16(b.part[0][s & 0xFF] + b.part[1][s >> 8] + b.part[2][d & 0xFF] +
                   b.part[3][d >> 8]);
    };
    // Each byte part is divided by itself: white at half is 15, not 16.
    EXPECT_EQ(channels(blend(5, white, 0)), (Rgb{15, 15, 15}));
    EXPECT_EQ(channels(blend(5, 0, white)), (Rgb{15, 15, 15}));
    EXPECT_EQ(channels(blend(1, white, 0)), (Rgb{27, 27, 27}));
    EXPECT_EQ(channels(blend(9, white, 0)), (Rgb{3, 2, 3})); // green parts 0 + 2
    for (u32 c = 0; c < 0x10000; c += 7) {
        ASSERT_EQ(blend(0, u16(c), 0xFFFF), significant(u16(c))) << c;
        // A colour over itself comes out at most two steps below in a channel (one per byte
        // part), never above: no part carries into its neighbour.
        const Rgb in = channels(u16(c));
        for (s32 m = 1; m < 10; ++m) {
            const Rgb o = channels(blend(m, u16(c), u16(c)));
            ASSERT_TRUE(o.r <= in.r && o.r >= in.r - 1 && o.b <= in.b && o.b >= in.b - 1 &&
                        o.g <= in.g && o.g >= in.g - 2)
                << c << " " << m;
        }
    }
}

TEST(Blit565, EveryTableOutputHasTheLowestGreenBitClear) {
    use_layout(1);
    auto clear = [](u16 v) { return (v & 0x20) == 0; };
    for (auto& colour : tint_table)
        for (auto& level : colour)
            for (const ByteEntry& e : level) ASSERT_TRUE(clear(e.low) && clear(e.high));
    for (auto& level : brightness_table)
        for (const ByteEntry& e : level) ASSERT_TRUE(clear(e.low) && clear(e.high));
    for (const BlendSet& set : blend_sets)
        for (auto& part : set.part)
            for (u16 v : part) ASSERT_TRUE(clear(v));
    use_layout(0);
}

TEST(BlitTarget, RowsSetupFollowsTheTarget) {
    display_565 = 0;
    std::vector<u16> pixels(640 * 480);
    blit_target_set(pixels.data(), 640, 480, 1280);
    EXPECT_EQ(key_colour, KEY_COLOUR_555);
    EXPECT_EQ(row_offsets[0], 0u);
    EXPECT_EQ(row_offsets[479], 479u * 1280);
    // A 32-row target fills only 32 entries; the rest keep what they held.
    display_565 = 1;
    blit_target_set(pixels.data(), 32, 32, 64);
    EXPECT_EQ(key_colour, KEY_COLOUR_565);
    EXPECT_EQ(row_offsets[31], 31u * 64);
    EXPECT_EQ(row_offsets[32], 32u * 1280);
    blit_target_screen();
    EXPECT_EQ(target_pixels, back_buffer);
    display_565 = 0;
}

TEST(BlitTarget, TooManyRowsIsFatal) {
    harness_reset();
    std::vector<u16> pixels(640 * 481);
    EXPECT_EQ(harness_fatal_message([&] { blit_target_set(pixels.data(), 640, 481, 1280); }),
              "blit: target rows(481)");
    blit_target_screen();
}

TEST(BlitLight, SourceTable) {
    EXPECT_EQ(light_source_table[0], 0);
    EXPECT_EQ(light_source_table[0x1F], 0x001F);
    EXPECT_EQ(light_source_table[0x20], 0x2000);
    EXPECT_EQ(light_source_table[0xFF], 0xE01F);
}

TEST(BlitRoutines, LayoutInstallsOnlyTheSubtractiveAndAdditiveSlots) {
    use_layout(0);
    const auto r555 = blit_routines;
    use_layout(1);
    const auto r565 = blit_routines;
    std::set<s32> changed;
    for (s32 slot = 0; slot < BLIT_SLOTS; ++slot)
        if (r555[size_t(slot)] != r565[size_t(slot)]) changed.insert(slot);
    std::set<s32> expected;
    for (s32 base : {8, 24, 48, 64, 80, 104})
        for (s32 i = 0; i < 8; ++i) expected.insert(base + i);
    EXPECT_EQ(changed, expected);
    // Every slot holds its own routine.
    EXPECT_EQ(std::set<BlitRoutine>(r555.begin(), r555.end()).size(), size_t(BLIT_SLOTS));
    use_layout(0);
    EXPECT_EQ(blit_routines, r555);
}

} // namespace
