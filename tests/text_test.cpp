// The text table: lookup by id, the number buffer and "?!?!", name escapes, the bounds of the
// expansion, and the text table writer with the placeholder texts.
#include "engine/text.h"
#include "engine/world_state.h"
#include "tools/arcbuild.h"
#include "tools/text_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string unscramble(const std::string& stored) {
    return text_scramble(stored);
}

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(text_table, 0, sizeof text_table);
        std::memset(world_state.name_slots, 0, sizeof world_state.name_slots);
        number_length = 0;
        number_buffer[0] = 0;
    }
    static void load(const std::vector<TextSource>& texts) {
        std::vector<u8> table = text_table_write(texts);
        std::memset(text_table, 0, sizeof text_table);
        std::memcpy(text_table, table.data(), table.size());
    }
    static void name(s32 slot, const std::string& bytes) {
        std::memset(world_state.name_slots[slot], 0, 16);
        std::memcpy(world_state.name_slots[slot], bytes.data(), std::min<size_t>(bytes.size(), 16));
    }
};

TEST_F(TextTest, FindByIdNumberBufferAndMissingTexts) {
    load({{7, "seven"}, {3, "three"}, {7, "later seven"}, {65535, "last"}});
    EXPECT_STREQ(text_find(7), "seven"); // the earlier of two records wins
    EXPECT_STREQ(text_find(3), "three");
    EXPECT_STREQ(text_find(65535), "last");
    EXPECT_STREQ(text_find(4), "?!?!");
    for (s32 id : {0, -5, 65536, 1 << 20}) EXPECT_EQ(text_find(id), number_buffer) << id;

    // A table whose first record length is 0 has no texts at all.
    std::memset(text_table, 0, 4);
    text_table[2] = 7;
    EXPECT_STREQ(text_find(7), "?!?!");
}

TEST_F(TextTest, FullTableWithoutEndStaysInsideTheBuffer) {
    // Records of 256 bytes fill the whole megabyte: no zero length ends the walk, and the last
    // text has no closing 0 of its own.
    constexpr s32 record = 256;
    for (s32 pos = 0; pos < TEXT_TABLE_SIZE; pos += record) {
        const bool last = pos + record == TEXT_TABLE_SIZE;
        text_table[pos] = u8(record);
        text_table[pos + 1] = u8(record >> 8);
        text_table[pos + 2] = last ? 9 : 1;
        std::memset(text_table + pos + 4, 'x', record - 4);
        if (!last) text_table[pos + record - 1] = 0;
    }
    EXPECT_STREQ(text_find(2), "?!?!");
    EXPECT_EQ(std::strlen(text_expand(9)), size_t(record - 4));
    // A record length that steps past the end ends the walk too.
    text_table[0] = 0xFF;
    text_table[1] = 0xFF;
    EXPECT_STREQ(text_find(9), "?!?!");
}

TEST_F(TextTest, NameEscapesAreReplacedBySlotBytes) {
    name(1, text_scramble("\xA4\xFD\xA9\xFA")); // a two-character name, stored scrambled
    name(0, "Ann");
    load({{1, "<`b>"},
          {2, "<`c>"},       // an empty slot inserts nothing
          {3, "`q`a"},       // 'q' still names a slot: 0
          {4, "\xA4\x60`a"}, // trail byte 0x60 is no escape
          {5, "\xAE\x60`a"}, // stored lead 0x80 pairs with 0x60
          {6, "A\xA4"},      // a lead byte before the 0 is dropped
          {7, "AB`"}});      // a backquote before the 0 ends it
    EXPECT_EQ(unscramble(text_expand(1)), "<\xA4\xFD\xA9\xFA>");
    EXPECT_STREQ(text_expand(2), "<>");
    EXPECT_STREQ(text_expand(3), "AnnAnn");
    EXPECT_EQ(unscramble(text_expand(4)), "\xA4\x60"
                                          "Ann");
    ASSERT_EQ(u8(text_find(5)[0]), 0x80);
    EXPECT_EQ(unscramble(text_expand(5)), "\xAE\x60"
                                          "Ann");
    EXPECT_STREQ(text_expand(6), "A");
    EXPECT_STREQ(text_expand(7), "AB");
    // Expanding the number buffer (any id of 0 and below) works on its bytes.
    std::strcpy(number_buffer, "n`a");
    EXPECT_STREQ(text_expand(-1), "nAnn");
}

TEST_F(TextTest, NameSlotsGiveAtMostFifteenBytesOfWholeCharacters) {
    // Slot 3 has no 0 of its own: it ends after 15 bytes, never in slot 4.
    std::memset(world_state.name_slots[3], 'a', 16);
    std::memset(world_state.name_slots[4], 'Z', 16);
    // Slot 5: seven characters and a lead byte in the 15th byte, whose trail would be byte 16.
    std::string seven;
    for (int i = 0; i < 7; ++i) seven += "\x9a\x5b";
    name(5, seven + "\x9a"
                    "Q");
    load({{1, "`d|"}, {2, "`f|"}});
    EXPECT_EQ(std::string(text_expand(1)), std::string(15, 'a') + "|");
    EXPECT_EQ(std::string(text_expand(2)), seven + "|");
}

TEST_F(TextTest, ExpansionIsCutAtACharacterBoundary) {
    // 8,190 bytes and a two-byte character: the character would leave no room for the 0.
    load({{1, std::string(8190, 'a') + "\xA4\x40" + "tail"},
          {2, std::string(8189, 'b') + "`a" + "tail"}});
    name(0, "XYZ");
    std::string one = text_expand(1);
    EXPECT_EQ(one, std::string(8190, 'a'));
    std::string two = text_expand(2);
    EXPECT_EQ(two.size(), size_t(EXPANDED_TEXT_SIZE - 1));
    EXPECT_EQ(two.substr(8189), "XY");
}

TEST_F(TextTest, TrimPartialDropsOnlyALoneLeadByte) {
    char a[] = "ab\xA4\x40\xA4";
    text_trim_partial(a);
    EXPECT_STREQ(a, "ab\xA4\x40");
    char b[] = "ab\xA4\x40";
    text_trim_partial(b);
    EXPECT_STREQ(b, "ab\xA4\x40");
}

TEST_F(TextTest, WriterScramblesAndRefusesWhatTheTableCannotHold) {
    std::vector<u8> t = text_table_write({{0x1234, "A\xA4\x40"}});
    const std::vector<u8> expected = {8, 0, 0x34, 0x12, 'A', 0xA4 ^ 0x2E, 0x40, 0, 0, 0, 0, 0};
    EXPECT_EQ(t, expected);
    EXPECT_THROW(text_table_write({{0, "x"}}), std::invalid_argument);
    EXPECT_THROW(text_table_write({{1, std::string("a\0b", 3)}}), std::invalid_argument);
    EXPECT_THROW(text_table_write({{1, std::string(65532, 'a')}}), std::invalid_argument);
    std::vector<TextSource> many(20, {1, std::string(60000, 'a')});
    EXPECT_THROW(text_table_write(many), std::invalid_argument);
}

TEST_F(TextTest, PlaceholderTextsShowTheirIdsAndTheNumberGlyphs) {
    ArcBuilder b;
    text_put_placeholder_texts(b);
    const std::vector<u8>& table = b.entries().at(ARC_TEXT_TABLE);
    ASSERT_LE(table.size(), size_t(TEXT_TABLE_SIZE));
    std::memcpy(text_table, table.data(), table.size());
    for (s32 id : {1, 700, 5000, 10000, 19100, 65498, 65510, 65535})
        EXPECT_EQ(unscramble(text_find(id)), "\xA4\xE5\xA6\x72" + std::to_string(id)) << id;
    EXPECT_EQ(unscramble(text_find(TEXT_FULLWIDTH_BLANK)), "\xA1\x40");
    for (s32 d = 0; d < 10; ++d)
        EXPECT_EQ(unscramble(text_find(TEXT_FULLWIDTH_DIGIT + d)),
                  std::string({char(0xA2), char(0xAF + d)}));
}

} // namespace
