// Floating labels, the message log on the virtual clock, and presenting: the presented frame
// carries the log lines while the back buffer never keeps them.
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/text_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr u16 GREY = 0x7BEF; // 5-6-5 mid grey: darkened squares differ from it

class LabelsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HarnessConfig c;
        c.physical_memory = 16ull << 20;
        harness_reset(c);
        shell_shutdown();
        std::string long_text;
        for (s32 i = 0; i < 100; ++i) long_text += "\xA4\x40";
        ArcBuilder b;
        b.put(ARC_TEXT_TABLE, text_table_write({{1, "Hi"},
                                                {2, "\xAE\xA7"}, // stored with lead byte 0x80
                                                {3, "A" + long_text},
                                                {4, long_text}}));
        arc_write_chained(b, GISK_CHAINED_FILE);
        shell_startup("test");
        game_drawing_setup();
        text_table_load();
        cursor_shown = 0;
        text_scrambled = 1;
        kanji_spacing = 0;
        label_clear();
        log_clear();
        for (s32 i = 0; i < SCREEN_PIXELS; ++i) back_buffer[i] = GREY;
        harness_on_present(
            [this](const u16* frame, u64) { presented.assign(frame, frame + SCREEN_PIXELS); });
    }
    void TearDown() override {
        harness_on_present(nullptr);
        shell_shutdown();
    }
    // Pixels of the presented frame in the rows of log line i (16 rows from y 432 + 16 i) that
    // differ from the grey background.
    s32 changed_in_line(s32 i) const {
        s32 n = 0;
        for (s32 y = LOG_TOP + LOG_LINE_STEP * i; y < LOG_TOP + LOG_LINE_STEP * (i + 1); ++y)
            for (s32 x = 0; x < SCREEN_W; ++x) n += presented[size_t(y * SCREEN_W + x)] != GREY;
        return n;
    }
    std::vector<u16> presented;
    HarnessTempDir dir;
};

TEST_F(LabelsTest, LabelsTakeTheFirstFreeSlotAndAreRemovedByObject) {
    label_add(5, 1, -10, 20, 2000);
    EXPECT_EQ(label_table[0].countdown, 50);
    EXPECT_EQ(label_table[0].object, 5);
    EXPECT_EQ(label_table[0].dx, -10);
    EXPECT_EQ(label_table[0].dy, 20);
    EXPECT_STREQ(label_table[0].text, "Hi");
    label_add(5000, 1, 300, 40, 999); // a screen label
    label_add(5, 1, 0, 0, 1000);
    label_add(6, 1, 0, 0, 1000);
    EXPECT_EQ(label_table[1].object, 5000);
    EXPECT_EQ(label_table[1].countdown, 24);

    label_remove(5);
    EXPECT_EQ(label_table[0].countdown, 0);
    EXPECT_EQ(label_table[2].countdown, 0);
    EXPECT_NE(label_table[1].countdown, 0);
    EXPECT_NE(label_table[3].countdown, 0);

    // Freed slots are taken again first; a full table drops the new label.
    label_add(7, 1, 0, 0, 1000);
    EXPECT_EQ(label_table[0].object, 7);
    for (s32 i = 0; i < LABEL_COUNT; ++i) label_add(8, 1, 0, 0, 1000);
    for (const FloatingLabel& l : label_table) EXPECT_NE(l.countdown, 0);
    s32 eights = 0;
    for (const FloatingLabel& l : label_table) eights += l.object == 8;
    EXPECT_EQ(eights, LABEL_COUNT - 3);
}

TEST_F(LabelsTest, LabelTextIsCutAtACharacterBoundary) {
    label_add(1, 3, 0, 0, 1000); // "A" and 100 characters: 201 bytes
    EXPECT_EQ(std::strlen(label_table[0].text), 119u);
    label_add(1, 4, 0, 0, 1000); // 100 characters: 118 bytes of whole characters fit
    EXPECT_EQ(std::strlen(label_table[1].text), 118u);
    EXPECT_EQ(label_table[1].text[LABEL_TEXT_SIZE - 1], 0);
}

TEST_F(LabelsTest, PresentedFrameCarriesTheLogAndTheBackBufferDoesNot) {
    log_text_number(1, 42); // presents
    ASSERT_EQ(presented.size(), size_t(SCREEN_PIXELS));
    EXPECT_GT(changed_in_line(2), 0);
    EXPECT_EQ(changed_in_line(0), 0);
    EXPECT_EQ(changed_in_line(1), 0);
    for (s32 i = 0; i < SCREEN_PIXELS; ++i) ASSERT_EQ(back_buffer[i], GREY) << i;
    // A save taken after the present holds no log either; a plain present still shows it.
    screen_save();
    for (s32 i = 0; i < SCREEN_PIXELS; ++i) ASSERT_EQ(save_buffer[i], GREY) << i;
    presented.clear();
    screen_present();
    EXPECT_GT(changed_in_line(2), 0);
    // The overlay leaves the caller's text state as it was.
    EXPECT_EQ(kanji_size, 4);
    EXPECT_EQ(kanji_style, 0);
    EXPECT_EQ(kanji_mode, KANJI_MODE_SMOOTH);
    EXPECT_EQ(kanji_pen_x, 0);
}

TEST_F(LabelsTest, ThreeLinesScrollAndTheOldestIsDropped) {
    log_text(1);
    log_text_number(1, -7);
    log_text_text(1, 2);
    for (s32 i = 0; i < LOG_LINES; ++i) EXPECT_GT(changed_in_line(i), 0) << i;
    const std::string f = text_scramble("\xA1\x69\xB0\x54\xAE\xA7\xA1\x6A"); // the lead words
    EXPECT_EQ(std::string(log_lines[0]), f + "Hi");
    EXPECT_EQ(std::string(log_lines[1]), f + "Hi" + text_scramble("\xA1\x47") + "-7");
    EXPECT_EQ(std::string(log_lines[2]),
              f + "Hi" + text_scramble("\xA1\x47") + text_scramble("\xAE\xA7"));
    log_text(2);
    EXPECT_EQ(std::string(log_lines[0]), f + "Hi" + text_scramble("\xA1\x47") + "-7");
    EXPECT_EQ(std::string(log_lines[2]), f + text_scramble("\xAE\xA7"));
}

TEST_F(LabelsTest, LinesExpireThreeSecondsAfterTheirPush) {
    log_text(1);
    const u32 pushed = log_stamps[2];
    harness_advance(LOG_SHOW_MS - 100);
    screen_present();
    EXPECT_NE(log_lines[2][0], 0); // still within its time
    // Without presents a line stays however long it waits.
    harness_advance(10000);
    EXPECT_NE(log_lines[2][0], 0);
    // The next present prints it one last time and empties it.
    presented.clear();
    screen_present();
    EXPECT_GT(changed_in_line(2), 0);
    EXPECT_EQ(log_lines[2][0], 0);
    presented.clear();
    screen_present();
    EXPECT_EQ(changed_in_line(2), 0);
    EXPECT_GT(harness_now() - pushed, LOG_SHOW_MS);

    // A stamp ahead of the clock (the tick counter wrapped) expires at once.
    HarnessConfig c;
    c.physical_memory = 16ull << 20;
    c.clock_start = 0xFFFFFF00u;
    harness_reset(c);
    shell_startup("test");
    log_clear();
    log_text(1);
    harness_advance(0x200); // the counter wraps past 0
    screen_present();
    EXPECT_EQ(log_lines[2][0], 0);
}

TEST_F(LabelsTest, LogLinesAreCutAtACharacterBoundary) {
    // The format's 8 bytes and 200 bytes of characters: 190 whole bytes fit in 199.
    log_text(4);
    EXPECT_EQ(std::strlen(log_lines[2]), 198u);
    log_text(3); // one byte more: 199 bytes, the last character whole
    EXPECT_EQ(std::strlen(log_lines[2]), 199u);
}

TEST_F(LabelsTest, RectangleCopiesKeepPackedRowsAndStayOnScreen) {
    for (s32 i = 0; i < SCREEN_PIXELS; ++i) back_buffer[i] = u16(i);
    std::vector<u16> rect(size_t(4 * 3), 0xEEEE);
    screen_get_rect(10, 20, 4, 3, rect.data());
    EXPECT_EQ(rect[0], u16(20 * SCREEN_W + 10));
    EXPECT_EQ(rect[4 * 2 + 3], u16(22 * SCREEN_W + 13));
    // A rectangle over the corner: only its on-screen part is copied, in place in the rows.
    std::fill(rect.begin(), rect.end(), 0xEEEE);
    screen_get_rect(638, 478, 4, 3, rect.data());
    EXPECT_EQ(rect[0], u16(478 * SCREEN_W + 638));
    EXPECT_EQ(rect[5], u16(479 * SCREEN_W + 639));
    EXPECT_EQ(rect[2], 0xEEEE);
    EXPECT_EQ(rect[8], 0xEEEE);
    std::vector<u16> ones(size_t(4 * 3), 1);
    screen_put_rect(-2, -1, 4, 3, ones.data());
    EXPECT_EQ(back_buffer[0], 1);
    EXPECT_EQ(back_buffer[SCREEN_W + 1], 1);
    EXPECT_EQ(back_buffer[2], 2);
    screen_put_rect(700, 0, 4, 3, ones.data()); // wholly off screen: nothing
    screen_put_rect(0, 0, -4, 3, ones.data());
    // Whole-screen save and restore.
    screen_save();
    std::memset(back_buffer, 0, size_t(SCREEN_PIXELS) * 2);
    screen_restore();
    EXPECT_EQ(back_buffer[1000], 1000);
}

} // namespace
