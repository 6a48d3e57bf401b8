// The printers: pen advances and line breaks (checked on the pen, without pixels), the box
// printer's paging, reveal limits, markup, the number printers, the bounded buffers and the
// walkers' stop at the closing 0.
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/glyph_writer.h"
#include "tools/text_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string CHAR_PLAIN = "\xA4\x40"; // glyph 471, drawn as a solid square here
const std::string CHAR_STORED = text_scramble(CHAR_PLAIN);

std::string repeat(const std::string& s, s32 n) {
    std::string r;
    for (s32 i = 0; i < n; ++i) r += s;
    return r;
}

class KanjiPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HarnessConfig c;
        c.physical_memory = 16ull << 20;
        harness_reset(c);
        shell_shutdown();
        ArcBuilder b;
        std::vector<TextSource> texts = {{1, repeat(CHAR_PLAIN, 45)}, {2, "A_B"}};
        for (TextSource& t : text_placeholder_sources()) texts.push_back(std::move(t));
        b.put(ARC_TEXT_TABLE, text_table_write(texts));
        GlyphMaster solid{};
        glyph_master_fill(solid, 0, 0, GLYPH_SIDE, GLYPH_SIDE);
        glyph_writer_put(b, 0, kanji_glyph_index(0xA440), glyph_writer_encode(solid));
        arc_write_chained(b, GISK_CHAINED_FILE);
        shell_startup("test");
        game_drawing_setup();
        text_table_load();
        std::memset(screen_buffers, 0, sizeof screen_buffers);
        std::memset(world_state.name_slots, 0, sizeof world_state.name_slots);
        cursor_shown = 0;
        text_scrambled = 1;
        kanji_spacing = 0;
        kanji_line_chars = 0;
        text_reveal_limit = 0;
        number_clear();
    }
    void TearDown() override { shell_shutdown(); }
    // Resets the pen and the size-related state for one case.
    static void fresh(s32 x = 0, s32 y = 0) {
        kanji_pen_x = x;
        kanji_pen_y = y;
        kanji_size = 4;
        kanji_spacing = 0;
    }
    HarnessTempDir dir;
};

TEST_F(KanjiPrintTest, AdvancesOfCharactersBlanksAndMarkup) {
    struct Case {
        const char* text;
        s32 printed; // pen x after kanji_print from 0
        s32 measured;
    };
    const Case cases[] = {
        {"AB", 48, 48},
        {"A_B", 60, 60},
        {"A B", 72, 72},
        {"$G20AB", 40, 48}, // measuring ignores the spacing markup
        {"$G20A_B", 50, 60},
        {"$G21_", 10, 12}, // half of an odd spacing rounds toward zero
        {"\xA4\x40\xA4\x40", 48, 48},
        {"$S16AB", 32, 32}, // 16-pixel glyphs
        {"$S05AB", 16, 16}, // step 0
        {"$S00AB", 0, 0},   // step -2: advance 0
        {"$QAB", 48, 48},   // an unknown code is a two-byte no-op
        {"$$A", 24, 24},    // "$" is never a character
        {"$@3$D1$F311100$B000031$O010101A", 24, 24},
    };
    for (const Case& c : cases) {
        fresh();
        kanji_print(c.text);
        EXPECT_EQ(kanji_pen_x, c.printed) << c.text;
        EXPECT_EQ(kanji_pen_y, 0) << c.text;
        fresh();
        EXPECT_EQ(kanji_measure(c.text), c.measured) << c.text;
    }
    // Markup reached its state; "$S" in a measured text stays.
    fresh();
    kanji_print("$@3$D1$F311100$B000031$O010101");
    EXPECT_EQ(kanji_style, 3);
    EXPECT_EQ(kanji_mode, 1);
    EXPECT_EQ(kanji_colour_main_555, 31 << 10 | 11 << 5);
    EXPECT_EQ(kanji_colour_second_555, 31);
    EXPECT_EQ(kanji_colour_outline_555, 1 << 10 | 1 << 5 | 1);
    fresh();
    kanji_measure("$S16");
    EXPECT_EQ(kanji_size, 2);
}

TEST_F(KanjiPrintTest, NewlinesControlBytesAndPenMarkup) {
    fresh(100, 50);
    kanji_print("AB\nC");
    EXPECT_EQ(kanji_pen_x, 124);
    EXPECT_EQ(kanji_pen_y, 74);
    fresh(100, 50);
    kanji_print("A\x01");
    EXPECT_EQ(kanji_pen_x, KANJI_PEN_AWAY);
    fresh(100, 50);
    kanji_print("$X123$Y045A");
    EXPECT_EQ(kanji_pen_x, 147);
    EXPECT_EQ(kanji_pen_y, 45);
    // Every printer clips to the whole target.
    kanji_clip_left = kanji_clip_top = 5;
    kanji_clip_right = kanji_clip_bottom = 10;
    kanji_print("");
    EXPECT_EQ(kanji_clip_left, 0);
    EXPECT_EQ(kanji_clip_right, 639);
    EXPECT_EQ(kanji_clip_bottom, 479);
}

TEST_F(KanjiPrintTest, SettersClampAsDocumented) {
    const std::pair<s32, s32> sizes[] = {{18, 2},  {4, 4},   {7, 0},   {8, 0},  {24, 4},
                                         {96, 22}, {100, 4}, {-50, 4}, {48, 10}};
    for (auto [pixels, step] : sizes) {
        text_size(pixels);
        EXPECT_EQ(kanji_size, step) << pixels;
    }
    text_style(7);
    EXPECT_EQ(kanji_style, 7);
    text_style(8);
    EXPECT_EQ(kanji_style, 0);
    text_mode(2);
    EXPECT_EQ(kanji_mode, 2);
    text_mode(-1);
    EXPECT_EQ(kanji_mode, 3);
    text_colour(1, 2, 3);
    EXPECT_EQ(kanji_colour_main_555, 1 << 10 | 2 << 5 | 3);
}

TEST_F(KanjiPrintTest, RevealLimitBreaksLinesAndColumns) {
    // 45 characters at 20 a line: lines of 20, 20 and 5.
    text_reveal_limit = 20;
    print_text(10, 20, 1);
    EXPECT_EQ(kanji_pen_x, 10 + 5 * 24);
    EXPECT_EQ(kanji_pen_y, 20 + 2 * 24);
    EXPECT_EQ(kanji_line_chars, 0);
    print_text_vertical(600, 10, 1);
    EXPECT_EQ(kanji_pen_x, 600 - 2 * 24);
    EXPECT_EQ(kanji_pen_y, 10 + 5 * 24);
    // No limit: one line.
    text_reveal_limit = 0;
    print_text(10, 20, 1);
    EXPECT_EQ(kanji_pen_x, 10 + 45 * 24);
    EXPECT_EQ(kanji_pen_y, 20);

    // Two half blanks fill a one-character line; a newline starts the count again; control
    // bytes are ignored.
    kanji_line_chars = 1;
    kanji_print_reveal(0, 0, "__A");
    EXPECT_EQ(kanji_pen_x, 0);
    EXPECT_EQ(kanji_pen_y, 48);
    kanji_line_chars = 3;
    kanji_print_reveal(0, 0, "AB\nCD\x01");
    EXPECT_EQ(kanji_pen_x, 48);
    EXPECT_EQ(kanji_pen_y, 24);
    kanji_line_chars = 0;
}

TEST_F(KanjiPrintTest, BoxPrinterPagesAndResumesAtTheCursor) {
    const std::string text = repeat(CHAR_STORED, 100);
    u32 r = kanji_print_box(50, 60, text.c_str(), 14, 6);
    // Six lines of fourteen: the page ends right after character 84.
    EXPECT_EQ(kanji_cursor, text.c_str() + 2 * 84);
    EXPECT_EQ(r, u32(50 + 14 * 24) << 16 | u32(60 + 5 * 24));
    r = kanji_print_box(50, 60, kanji_cursor, 14, 6);
    EXPECT_EQ(*kanji_cursor, 0);
    EXPECT_EQ(kanji_cursor, text.c_str() + text.size());
    EXPECT_EQ(r, u32(50 + 2 * 24) << 16 | u32(60 + 24));
    EXPECT_EQ(kanji_print_box(50, 60, kanji_cursor, 14, 6), 0u); // nothing left to draw

    struct Case {
        const char* text;
        s32 lines;
        s32 stop;   // offset of the byte the page stops on
        u32 result; // pen after the last character, relative to (0, 0)
    };
    const Case cases[] = {
        {"A\nB\nC", 2, 4, 24u << 16 | 24}, // a newline uses a line
        {"A\x01"
         "B",
         1, 2, 24u << 16},         // a control byte wraps
        {"$G12", 1, 4, 48u << 16}, // "$G" is a no-op here: its digits print
        {"$X1", 1, 3, 24u << 16},
        {" _A", 1, 3, 60u << 16},    // fixed advances: 24 and 12
        {"$S16AB", 1, 6, 48u << 16}, // size changes do not touch the advance
        {"", 3, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kanji_print_box(0, 0, c.text, 14, c.lines), c.result) << c.text;
        EXPECT_EQ(kanji_cursor, c.text + c.stop) << c.text;
    }
    // The box always prints at 24 pixels; a wrap steps by the current line height.
    kanji_size = 2;
    kanji_print_box(0, 0, "AB", 2, 2);
    EXPECT_EQ(kanji_size, 4);
    EXPECT_EQ(kanji_pen_y, 24);
    kanji_print_box(0, 0, "$S16ABC", 2, 2);
    EXPECT_EQ(kanji_pen_y, 16);
}

TEST_F(KanjiPrintTest, BoxUnscramblesWhateverTheSwitchSays) {
    kanji_mode = KANJI_MODE_PLAIN;
    text_scrambled = 0;
    kanji_print_box(100, 100, CHAR_STORED.c_str(), 14, 1);
    EXPECT_EQ(back_buffer[110 * SCREEN_W + 110], kanji_colour_main);
    // The free printer follows the switch: stored bytes read plain are no character at all.
    kanji_pen_x = kanji_pen_y = 200;
    kanji_print(CHAR_STORED.c_str());
    EXPECT_EQ(back_buffer[210 * SCREEN_W + 210], 0);
    text_scrambled = 1;
    kanji_pen_x = 200;
    kanji_print(CHAR_STORED.c_str());
    EXPECT_EQ(back_buffer[210 * SCREEN_W + 210], kanji_colour_main);
}

TEST_F(KanjiPrintTest, WalkersNeverStepOverTheClosingZero) {
    // Each text ends in something that wants more bytes; the bytes after its 0 must stay unread.
    // The box printer knows no "$X": its digit prints as a character.
    const std::pair<std::string, u32> endings[] = {
        {"\xA4", 24}, {"$", 24}, {"$X1", 48}, {"$F12", 24}, {"$S", 24}};
    for (const auto& [end, box_x] : endings) {
        const std::string buffer = "A" + end + std::string(1, '\0') + "BBBBBBBBBB";
        const char* text = buffer.c_str();
        const char* zero = text + 1 + end.size();
        fresh();
        kanji_print(text);
        EXPECT_EQ(kanji_cursor, zero) << end;
        fresh();
        EXPECT_EQ(kanji_measure(text), 24) << end;
        EXPECT_EQ(kanji_cursor, zero) << end;
        fresh();
        kanji_line_chars = 1;
        kanji_print_reveal(0, 0, text);
        kanji_line_chars = 0;
        EXPECT_EQ(kanji_cursor, zero) << end;
        fresh();
        EXPECT_EQ(kanji_print_box(0, 0, text, 14, 6), box_x << 16) << end;
        EXPECT_EQ(kanji_cursor, zero) << end;
    }
}

TEST_F(KanjiPrintTest, NumberPrinting) {
    const std::string blank = text_scramble("\xA1\x40");
    auto digit = [](s32 d) { return text_scramble(std::string{char(0xA2), char(0xAF + d)}); };
    struct Case {
        s32 value, digits;
        std::string expected;
    };
    const Case cases[] = {
        {1234, 6, blank + blank + digit(1) + digit(2) + digit(3) + digit(4)},
        {1234, 2, digit(3) + digit(4)},
        {-5, 3, blank + blank + digit(5)},
        {7, 0, ""},
        {123, 25, digit(3)},
        {123, -1, digit(3)},
        {0, 1, digit(0)},
        {-2147483647 - 1, 11,
         blank + digit(2) + digit(1) + digit(4) + digit(7) + digit(4) + digit(8) + digit(3) +
             digit(6) + digit(4) + digit(8)},
    };
    for (const Case& c : cases) {
        fresh();
        EXPECT_EQ(print_number(0, 0, c.value, c.digits), 0);
        EXPECT_EQ(std::string(number_buffer), c.expected) << c.value << "/" << c.digits;
        EXPECT_EQ(number_length, s32(c.expected.size()));
        EXPECT_EQ(kanji_pen_x, 12 * s32(c.expected.size())) << c.value << "/" << c.digits;
    }
    print_number_vertical(300, 0, 42, 3);
    EXPECT_EQ(kanji_pen_y, 72);
    number_clear();
    number_append_text(2);
    number_append_digits(9, 1);
    EXPECT_EQ(std::string(number_buffer), "A_B" + digit(9));
}

TEST_F(KanjiPrintTest, BuffersAreCutAtCharacterBoundaries) {
    // The number buffer fills up and stays 0-ended at a character boundary.
    number_clear();
    for (s32 i = 0; i < 300; ++i) number_append_digits(i, 20);
    EXPECT_EQ(number_length, NUMBER_BUFFER_SIZE - 2);
    EXPECT_EQ(number_buffer[number_length], 0);
    number_clear();
    for (s32 i = 0; i < 400; ++i) number_append_text(1); // 90 bytes each
    EXPECT_EQ(number_length % 2, 0);
    EXPECT_LE(number_length, NUMBER_BUFFER_SIZE - 1);

    // 1,200 bytes of characters formatted into 1,000: 499 whole characters remain.
    const std::string big = repeat(CHAR_STORED, 600);
    fresh();
    kanji_printf("%s", big.c_str());
    EXPECT_EQ(std::strlen(printf_buffer), 998u);
    EXPECT_EQ(kanji_pen_x, 499 * 24);
    fresh();
    kanji_printf("%d:%s", 7, "AB");
    EXPECT_STREQ(printf_buffer, "7:AB");
    EXPECT_EQ(kanji_pen_x, 4 * 24);
}

TEST_F(KanjiPrintTest, PrintersNeedADrawingTarget) {
    target_pixels = nullptr;
    const char* message = "kanji:canvas not set!";
    EXPECT_EQ(harness_fatal_message([] { kanji_print("A"); }), message);
    EXPECT_EQ(harness_fatal_message([] { kanji_print_line("A"); }), message);
    EXPECT_EQ(harness_fatal_message([] { kanji_print_reveal(0, 0, "A"); }), message);
    EXPECT_EQ(harness_fatal_message([] { kanji_print_vertical(0, 0, "A"); }), message);
    EXPECT_EQ(harness_fatal_message([] { kanji_print_box(0, 0, "A", 14, 6); }), message);
    EXPECT_EQ(harness_fatal_message([] { print_number(0, 0, 1, 1); }), message);
}

} // namespace
