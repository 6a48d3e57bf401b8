// Images: kinds, loading through the ring with the one-time 5-6-5 conversion, malformed entries,
// drawing by kind, and the cursors built from images.
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/jpg.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/bitmap_writer.h"
#include "tools/jpeg_writer.h"
#include "tools/sprite_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

u16 read16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}

class ImageTest : public ::testing::Test {
  protected:
    void start(ArcBuilder& b, s32 layout_565) {
        HarnessConfig c;
        c.display_565 = layout_565;
        engine_start(b, c);
        cursor_built_image = 0;
        cursor_sent_slot = 99;
        cursor_slot = 0;
        std::memset(back_buffer, 0, size_t(SCREEN_PIXELS) * 2);
    }
    void TearDown() override { shell_shutdown(); }
    HarnessTempDir dir;
};

TEST_F(ImageTest, PalettesAreConvertedOnceOnA565Display) {
    SpriteSource s;
    s.width = 2;
    s.height = 1;
    s.cells = {0, 1};
    std::array<u16, 256> palette{};
    palette[0] = 0x7FFF;
    palette[1] = 0x7C00;
    s.palettes.push_back(palette);
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + 5, sprite_writer_encode(s));
    start(b, 1);

    const u8* first = image_load(5);
    EXPECT_EQ(read16(first + 16), 0xFFDF);
    EXPECT_EQ(read16(first + 18), 0xF800);
    const u8* again = image_load(5); // a ring hit: not converted a second time
    EXPECT_EQ(again, first);
    EXPECT_EQ(read16(again + 16), 0xFFDF);
}

TEST_F(ImageTest, PalettesStayAsStoredOnA555Display) {
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + 5, sprite_writer_solid(1, 1, 0, 0, 0x7FFF));
    start(b, 0);
    EXPECT_EQ(read16(image_load(5) + 16 + 2), 0x7FFF);
}

TEST_F(ImageTest, RawBitmapConvertsExactlyItsPixels) {
    std::vector<u8> bytes = bitmap_writer_encode(3, 2, 0, 0, std::vector<u16>(6, 0x7FFF));
    bytes.insert(bytes.end(), {0xFF, 0x7F, 0xFF, 0x7F}); // trailing bytes of the entry
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + 9, bytes);
    start(b, 1);
    const u8* image = image_load(9);
    for (s32 i = 0; i < 6; ++i) EXPECT_EQ(read16(image + 16 + 2 * i), 0xFFDF) << i;
    EXPECT_EQ(read16(image + 28), 0x7FFF);
    EXPECT_EQ(read16(image + 30), 0x7FFF);
}

TEST_F(ImageTest, EmptyAndMalformedEntriesDrawNothing) {
    std::vector<u8> bad = sprite_writer_solid(4, 4, 0, 0, 0x7FFF);
    bad[16 + 512] = 0xFF; // first row's byte length runs past the entry
    bad[16 + 512 + 1] = 0x7F;
    std::vector<u8> short_raw = bitmap_writer_encode(8, 8, 0, 0, std::vector<u16>(64, 0x7FFF));
    short_raw.resize(40); // pixels cut off
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + 1, bad);
    b.put(ARC_IMAGE_BASE + 2, short_raw);
    b.put(ARC_IMAGE_BASE + 3, {1, 2, 3}); // shorter than any header
    start(b, 1);

    EXPECT_EQ(image_load(4), empty_image); // no entry at all
    for (s32 id : {1, 2, 3, 4}) {
        for (int pass = 0; pass < 2; ++pass) { // the second pass is a ring hit
            draw_image(100, 100, id, 0);
            const u8* image = image_load(id);
            EXPECT_EQ(read16(image), 0) << id;
            EXPECT_EQ(read16(image + 2), 0) << id;
        }
    }
    for (s32 i = 0; i < SCREEN_PIXELS; ++i) ASSERT_EQ(back_buffer[i], 0) << i;
}

TEST_F(ImageTest, EachKindIsDrawnByItsOwnDrawer) {
    std::vector<u8> white(4 * 4 * 3, 255);
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + 1, sprite_writer_solid(2, 2, 1, 1, 0x001F));
    b.put(ARC_IMAGE_BASE + 2, bitmap_writer_encode(2, 2, 1, 1, std::vector<u16>(4, 0x03E0)));
    b.put(ARC_IMAGE_BASE + 3, jpeg_writer_encode(white.data(), 4, 4));
    start(b, 0);

    draw_image(10, 10, 1, 0); // a sprite lands with its hotspot at (10, 10)
    EXPECT_EQ(back_buffer[9 * 640 + 9], 0x001F);
    EXPECT_EQ(back_buffer[10 * 640 + 10], 0x001F);
    EXPECT_EQ(back_buffer[11 * 640 + 11], 0);
    draw_image(20, 20, 2, 0); // a raw bitmap ignores its hotspot
    EXPECT_EQ(back_buffer[20 * 640 + 20], 0x03E0);
    EXPECT_EQ(back_buffer[21 * 640 + 21], 0x03E0);
    EXPECT_EQ(back_buffer[19 * 640 + 19], 0);
    draw_image(30, 30, 3, 0); // a JPEG picture is decoded onto the screen
    EXPECT_EQ(back_buffer[30 * 640 + 30], 0x7FFF);
    EXPECT_EQ(back_buffer[33 * 640 + 33], 0x7FFF);
    EXPECT_EQ(back_buffer[34 * 640 + 34], 0);
}

TEST_F(ImageTest, CursorImagesAboveTheSlotsGoToSlot31Once) {
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + 40, sprite_writer_solid(40, 3, 2, 1, 0x7C00)); // wider than a cursor
    start(b, 0);
    canvas_cursor_show(0);

    world_state.cursor_id = 40;
    cursor_apply();
    EXPECT_EQ(u32(world_state.cursor_id), 31u);
    EXPECT_EQ(cursor_slot, 31);
    EXPECT_EQ(cursor_built_image, 40);
    EXPECT_EQ(cursor_hot_x[31], 2);
    EXPECT_EQ(cursor_hot_y[31], 1);
    EXPECT_EQ(cursor_shapes[31][0], 0x7C00);
    EXPECT_EQ(cursor_shapes[31][31], 0x7C00); // cut at 32 pixels
    EXPECT_EQ(cursor_shapes[31][3 * 32], 0);
    // The drawing target is the screen again.
    EXPECT_EQ(target_pixels, back_buffer);
    EXPECT_EQ(target_width, 640);
    EXPECT_EQ(target_pitch, 1280);

    // Asking for the same image again shows slot 31 without building it anew.
    cursor_shapes[31][0] = 0x1234;
    world_state.cursor_id = 40;
    cursor_apply();
    EXPECT_EQ(cursor_shapes[31][0], 0x1234);
    EXPECT_EQ(cursor_slot, 31);
}

TEST_F(ImageTest, FirstCursorApplyAlwaysSelects) {
    ArcBuilder b;
    start(b, 0);
    cursor_slot = 7;
    world_state.cursor_id = 0;
    cursor_apply();
    EXPECT_EQ(cursor_slot, 0);
    EXPECT_EQ(cursor_sent_slot, 0);
}

} // namespace
