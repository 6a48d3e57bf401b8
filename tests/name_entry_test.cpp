// Name entry: the syllable dictionary's layout, the bounded lookup, the hover geometry, and whole
// entries typed by scripted pointer moves and clicks through the headless harness.
#include "engine/name_entry.h"

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
#include "tests/name_entry_clicks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/glyph_font.h"
#include "tools/text_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// ---- The dictionary
// ------------------------------------------------------------------------------

s32 table_u16(s32 at) {
    return s32(syllable_table[at]) | (s32(syllable_table[at + 1]) << 8);
}

// The Big5 characters of a syllable in the committed table, as strings of two bytes.
std::vector<std::string> candidates_of(s32 initial, s32 medial, s32 final_, s32 tone) {
    u8 lead[CANDIDATE_MAX], trail[CANDIDATE_MAX];
    const s32 n = syllable_find(syllable_table, syllable_table_size, initial * 5 + tone - 1,
                                medial * 16 + final_, lead, trail, CANDIDATE_MAX);
    std::vector<std::string> out;
    for (s32 i = 0; i < n; ++i) out.push_back(std::string{char(lead[i]), char(trail[i])});
    return out;
}

TEST(SyllableTable, LayoutAndLimitsHold) {
    ASSERT_GT(syllable_table_size, SYLLABLE_ENTRIES_START);
    ASSERT_LE(syllable_table_size, 0xFFFF);
    EXPECT_EQ(table_u16(0), SYLLABLE_ENTRIES_START);
    EXPECT_EQ(table_u16(2 * SYLLABLE_RANGES), syllable_table_size);
    s32 syllables = 0, characters = 0;
    for (s32 k = 0; k < SYLLABLE_RANGES; ++k) {
        const s32 begin = table_u16(2 * k), end = table_u16(2 * k + 2);
        ASSERT_LE(begin, end) << "range " << k;
        s32 at = begin, last_key = -1;
        while (at < end) {
            const s32 key = syllable_table[at++];
            ASSERT_LT(key, SYLLABLE_KEY_LIMIT) << "range " << k << " byte " << at - 1;
            ASSERT_GT(key, last_key) << "keys ascend in range " << k;
            ASSERT_LT(key & 15, SYLLABLE_FINALS);
            last_key = key;
            std::set<u32> seen;
            s32 n = 0;
            while (at < end && syllable_table[at] >= SYLLABLE_KEY_LIMIT) {
                ASSERT_LT(at + 1, end);
                const u32 code = u32(syllable_table[at]) << 8 | syllable_table[at + 1];
                ASSERT_GE(syllable_table[at + 1], SYLLABLE_KEY_LIMIT);
                ASSERT_NE(kanji_glyph_index(code), KANJI_NO_GLYPH) << std::hex << code;
                ASSERT_TRUE(seen.insert(code).second) << "repeated " << std::hex << code;
                at += 2;
                ++n;
            }
            ASSERT_GE(n, 1);
            ASSERT_LE(n, SYLLABLE_CANDIDATES_MAX);
            ++syllables;
            characters += n;
        }
    }
    EXPECT_GT(syllables, 1000);
    EXPECT_GT(characters, 13000);
    // Most used first: the common reading's character leads its syllable.
    EXPECT_EQ(candidates_of(15, 2, 12, 1).at(0), "\xA4\xA4"); // zhong1
    EXPECT_EQ(candidates_of(5, 0, 3, 2).at(0), "\xAA\xBA");   // de, neutral tone
}

TEST(SyllableTable, PhoneticSymbolsAreTheZhuyinCodesInInputOrder) {
    const u16 expected_first[] = {0xA374, 0xA3B8, 0xA3AB};
    const s32 first_index[] = {0, PHONETIC_FIRST_MEDIAL, PHONETIC_FIRST_FINAL};
    const s32 counts[] = {21, 3, 13};
    for (s32 g = 0; g < 3; ++g)
        for (s32 i = 0; i < counts[g]; ++i) {
            const u16 want = u16(expected_first[g] + i +
                                 (expected_first[g] == 0xA374 && i > 10 ? 0xA1 - 0x7F : 0));
            const char* s = phonetic_symbols[first_index[g] + i];
            EXPECT_EQ(u16(u8(s[0]) << 8 | u8(s[1])), want) << "symbol " << first_index[g] + i;
            EXPECT_EQ(s[2] | s[3] | s[4], 0);
        }
    const u16 tones[] = {0xA3BC, 0xA3BB, 0xA3BD, 0xA3BE, 0xA3BF};
    for (s32 t = 0; t < 5; ++t) {
        const char* s = phonetic_symbols[PHONETIC_FIRST_TONE + t];
        EXPECT_EQ(u16(u8(s[0]) << 8 | u8(s[1])), tones[t]);
    }
}

// A small table: every range empty except the ones the cases fill. `bytes` may run past `size`
// so that a lookup reading beyond the table would find more characters there.
struct TinyTable {
    std::vector<u8> bytes;
    s32 size = 0;
};
TinyTable tiny(const std::vector<std::pair<s32, std::vector<u8>>>& ranges,
               const std::vector<u8>& beyond = {}) {
    TinyTable t;
    t.bytes.assign(SYLLABLE_ENTRIES_START, 0);
    std::vector<u8> body;
    for (s32 k = 0; k <= SYLLABLE_RANGES; ++k) {
        for (const auto& r : ranges)
            if (r.first == k - 1) body.insert(body.end(), r.second.begin(), r.second.end());
        const s32 off = SYLLABLE_ENTRIES_START + s32(body.size());
        t.bytes[size_t(2 * k)] = u8(off);
        t.bytes[size_t(2 * k + 1)] = u8(off >> 8);
    }
    t.bytes.insert(t.bytes.end(), body.begin(), body.end());
    t.size = s32(t.bytes.size());
    t.bytes.insert(t.bytes.end(), beyond.begin(), beyond.end());
    return t;
}

TEST(SyllableTable, LookupStaysInsideItsRangeAndTheTable) {
    const s32 last = SYLLABLE_RANGES - 1;
    struct Case {
        const char* what;
        TinyTable table;
        s32 range, key, max;
        std::vector<u8> want_leads;
    };
    TinyTable past_end = tiny({{3, {0x01, 0xA4, 0x40}}});
    past_end.bytes[2 * 4] = u8(past_end.size + 2); // range 3 claims bytes past the table
    past_end.bytes[2 * 4 + 1] = u8((past_end.size + 2) >> 8);
    TinyTable reversed = tiny({{3, {0x01, 0xA4, 0x40}}});
    std::swap(reversed.bytes[2 * 3], reversed.bytes[2 * 4]);
    std::swap(reversed.bytes[2 * 3 + 1], reversed.bytes[2 * 4 + 1]);
    const std::vector<Case> cases = {
        {"the last range ends at the table's end, not at the next key byte",
         tiny({{last, {0x05, 0xA4, 0x40, 0xA4, 0x41}}}, {0xA5, 0x40, 0xA5, 0x41, 0x00}),
         last,
         5,
         CANDIDATE_MAX,
         {0xA4, 0xA4}},
        {"a later key in a range",
         tiny({{7, {0x01, 0xB0, 0x40, 0xB0, 0x41, 0x12, 0xC0, 0x40}}}),
         7,
         0x12,
         CANDIDATE_MAX,
         {0xC0}},
        {"a range stops at the next range's first key",
         tiny({{7, {0x01, 0xB0, 0x40}}, {8, {0x01, 0xC0, 0x40}}}),
         7,
         1,
         CANDIDATE_MAX,
         {0xB0}},
        {"a key of another range is not found",
         tiny({{8, {0x03, 0xC0, 0x40}}}),
         7,
         3,
         CANDIDATE_MAX,
         {}},
        {"an absent key", tiny({{7, {0x01, 0xB0, 0x40}}}), 7, 2, CANDIDATE_MAX, {}},
        {"a lone byte at the range's end is dropped",
         tiny({{last, {0x01, 0xB0, 0x40, 0xB1}}}, {0x40}),
         last,
         1,
         CANDIDATE_MAX,
         {0xB0}},
        {"at most max characters",
         tiny({{2, {0x01, 0xB0, 0x40, 0xB0, 0x41, 0xB0, 0x42}}}),
         2,
         1,
         2,
         {0xB0, 0xB0}},
        {"an end offset past the table", past_end, 3, 1, CANDIDATE_MAX, {}},
        {"offsets out of order", reversed, 3, 1, CANDIDATE_MAX, {}},
        {"a range number outside the table",
         tiny({{0, {0x00, 0xB0, 0x40}}}),
         SYLLABLE_RANGES,
         0,
         CANDIDATE_MAX,
         {}},
        {"a negative range number", tiny({{0, {0x00, 0xB0, 0x40}}}), -1, 0, CANDIDATE_MAX, {}},
    };
    for (const Case& c : cases) {
        u8 lead[CANDIDATE_MAX] = {}, trail[CANDIDATE_MAX] = {};
        const s32 n =
            syllable_find(c.table.bytes.data(), c.table.size, c.range, c.key, lead, trail, c.max);
        EXPECT_EQ(std::vector<u8>(lead, lead + n), c.want_leads) << c.what;
    }
    // A table too short for its offsets gives nothing.
    u8 lead[4], trail[4];
    const u8 short_table[8] = {};
    EXPECT_EQ(syllable_find(short_table, 8, 0, 0, lead, trail, 4), 0);
}

TEST(NameEntryHover, PointerPositionsMapToItems) {
    struct P {
        s32 x, y, want;
    };
    for (const P& p : std::vector<P>{{0, 457, 0},
                                     {14, 479, 0},
                                     {15, 470, 1},
                                     {629, 470, 41},
                                     {639, 470, 41},
                                     {300, 456, 99},
                                     {593, 433, 44},
                                     {592, 440, 43},
                                     {545, 455, 43},
                                     {544, 440, 42},
                                     {449, 440, 42},
                                     {448, 440, 99},
                                     {600, 432, 99},
                                     {100, 440, 99}})
        EXPECT_EQ(phonetic_hover(p.x, p.y), p.want) << p.x << "," << p.y;
    struct C {
        s32 x, y, page, count, want;
    };
    for (const C& c : std::vector<C>{{10, 460, 0, 30, 99},
                                     {10, 460, 25, 30, 61},
                                     {19, 460, 25, 30, 61},
                                     {621, 460, 0, 60, 62},
                                     {621, 460, 50, 60, 99},
                                     {620, 460, 0, 60, 99},
                                     {619, 460, 0, 60, 24},
                                     {20, 457, 0, 3, 0},
                                     {91, 460, 0, 3, 2},
                                     {92, 460, 0, 3, 99},
                                     {43, 460, 25, 30, 0},
                                     {44, 460, 25, 30, 1},
                                     {140, 460, 25, 30, 99},
                                     {30, 456, 0, 30, 99},
                                     {449, 440, 0, 30, 42},
                                     {448, 440, 0, 30, 99}})
        EXPECT_EQ(candidate_hover(c.x, c.y, c.page, c.count), c.want)
            << c.x << "," << c.y << " page " << c.page << " of " << c.count;
}

// ---- Whole entries through the harness
// -------------------------------------------------------------

constexpr s32 ZHONG[4] = {15, 2, 12, 1}; // zhong1
constexpr s32 DE[4] = {5, 0, 3, 2};      // de, neutral tone
constexpr s32 YI4[4] = {0, 1, 0, 5};     // yi4: a syllable of many pages

class NameEntryTest : public ::testing::Test, protected NameEntryClicks {
  protected:
    void start(const std::vector<s32>& glyphs = {}) {
        HarnessConfig c;
        c.budget_ms = 120'000; // an entry that never ends fails instead of hanging
        ArcBuilder b;
        b.put(ARC_TEXT_TABLE, text_table_write({{1, "`a"}}));
        if (!glyphs.empty()) glyph_put_placeholder_glyphs(b, glyphs);
        engine_start(b, c);
        text_table_load();
        text_scrambled = 1;
        kanji_spacing = 0;
        mouse_buttons = 0;
        for (s32 i = 0; i < SCREEN_PIXELS; ++i) back_buffer[i] = u16(i * 37);
    }
    void TearDown() override {
        harness_on_present(nullptr);
        shell_shutdown();
    }

    static std::string first(const s32 (&s)[4], size_t i = 0) {
        return candidates_of(s[0], s[1], s[2], s[3]).at(i);
    }
    // Runs the entry over the queued script; every scripted click must have been used.
    std::string run(s32 max_chars) {
        name_entry(max_chars);
        harness_advance(50); // the last click's release
        harness_pump();
        EXPECT_EQ(harness_pending_input(), 0u) << "the entry ended before the script";
        return name_entry_buffer;
    }
    HarnessTempDir dir;
};

TEST_F(NameEntryTest, TypedSyllablesBecomeTheNameAndTheStripIsRestored) {
    start();
    const std::vector<u16> before(back_buffer, back_buffer + SCREEN_PIXELS);
    type(ZHONG);
    pick(0);
    type(DE);
    pick(1);
    ok();
    EXPECT_EQ(run(2), first(ZHONG) + first(DE, 1));
    EXPECT_EQ(name_entry_length, 2);
    EXPECT_EQ(text_scrambled, 1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), back_buffer)) << "strip not restored";
}

TEST_F(NameEntryTest, ClearingTheSyllableStartsItAgain) {
    start();
    symbol(0);  // an initial...
    composed(); // ...cleared by a click on the composed syllable
    type(ZHONG);
    pick(0);
    composed(); // leaves the candidates without a character
    ok();
    EXPECT_EQ(run(16), first(ZHONG));
}

TEST_F(NameEntryTest, AToneFirstOrAnUnknownSyllableAddsNothing) {
    start();
    // A tone alone looks up key 0 under initial 0, which no syllable uses; b + u-umlaut + eng
    // is no syllable either. Both return to the symbols with the syllable cleared, so the next
    // clicks compose from scratch: were the candidates still up, they would pick characters.
    ASSERT_TRUE(candidates_of(0, 0, 0, 1).empty());
    ASSERT_TRUE(candidates_of(1, 3, 12, 5).empty());
    symbol(PHONETIC_FIRST_TONE);
    type(ZHONG);
    pick(0);
    symbol(0);
    symbol(PHONETIC_FIRST_MEDIAL + 2);
    symbol(PHONETIC_FIRST_FINAL + 11);
    symbol(PHONETIC_FIRST_TONE + 4);
    type(DE);
    pick(0);
    ok();
    EXPECT_EQ(run(16), first(ZHONG) + first(DE));
}

TEST_F(NameEntryTest, OkAndBackspaceOnAnEmptyNameDoNothing) {
    start();
    ok();
    backspace();
    type(ZHONG);
    pick(0);
    backspace();
    ok(); // empty again: nothing
    type(DE);
    pick(0);
    ok();
    EXPECT_EQ(run(16), first(DE));
}

TEST_F(NameEntryTest, AtTheMaximumLengthAPickAddsNothing) {
    start();
    type(ZHONG);
    pick(0);
    type(DE);
    pick(0); // the name is full: back to the symbols without a character
    type(DE);
    pick(2);
    ok();
    EXPECT_EQ(run(1), first(ZHONG));
    EXPECT_EQ(name_entry_length, 1);
}

TEST_F(NameEntryTest, MaximumOutsideOneToSixteenMeansSixteen) {
    start();
    for (const auto& [arg, want] :
         std::vector<std::pair<s32, s32>>{{0, 16}, {-3, 16}, {17, 16}, {1, 1}, {16, 16}, {9, 9}}) {
        type(ZHONG);
        pick(0);
        ok();
        run(arg);
        EXPECT_EQ(name_entry_max, want) << arg;
    }
}

TEST_F(NameEntryTest, PageMarksTurnThePagesAndEachTurnIsDrawn) {
    const std::vector<std::string> all = candidates_of(YI4[0], YI4[1], YI4[2], YI4[3]);
    ASSERT_GT(all.size(), 100u);
    std::vector<s32> glyphs;
    for (const std::string& c : all) glyphs.push_back(kanji_glyph_index(u8(c[0]) << 8 | u8(c[1])));
    start(glyphs);
    // The first candidate cell of every frame drawn while the candidates are up.
    std::set<std::vector<u16>> cells;
    harness_on_present([&](const u16* frame, u64) {
        if (syllable_tone == 0) return;
        std::vector<u16> cell;
        for (s32 y = 456; y < 480; ++y)
            cell.insert(cell.end(), frame + y * SCREEN_W + 20, frame + y * SCREEN_W + 44);
        cells.insert(cell);
    });
    type(YI4);
    tap(10, 470);                              // no previous page yet: nothing
    for (s32 i = 0; i < 3; ++i) tap(630, 470); // pages 25, 50, 75 (pointer kept)
    tap(10, 470);                              // back to 50
    pick(3);
    ok();
    EXPECT_EQ(run(16), all.at(53));
    EXPECT_EQ(cells.size(), 4u) << "pages 0, 25, 50 and 75 each drawn";
}

// ---- Storing
// -------------------------------------------------------------------------------------

TEST_F(NameEntryTest, StoredNamesAreScrambledCutToSevenAndReadBackThroughEscapes) {
    start();
    // Ten characters, among them trail bytes below 0x80 that stay plain.
    const std::string name = "\xA4\xA4\xA4\x4B\xAA\xBA\xA4\x40\xB0\x41\xA6\x61\xA7\x51"
                             "\xA5\xDF\xBB\xF5\xA9\xF6";
    std::memcpy(name_entry_buffer, name.c_str(), name.size() + 1);
    name_entry_length = 10;
    std::memset(world_state.name_slots[3], 0x55, 16);
    name_store(3);
    const char* slot = world_state.name_slots[3];
    for (s32 i = 0; i < 14; ++i) {
        const u8 typed = u8(name[size_t(i)]);
        EXPECT_EQ(u8(slot[i]), typed >= 0x80 ? u8(typed ^ TEXT_KEY) : typed) << i;
    }
    EXPECT_EQ(slot[14] | slot[15], 0);
    // Slot 0 through the name escape: the expanded text unscrambles to the typed characters.
    name_store(0);
    std::string read = text_expand(1);
    for (char& c : read)
        if (u8(c) >= 0x80) c = char(u8(c) ^ TEXT_KEY);
    EXPECT_EQ(read, name.substr(0, 14));
    // A short name, then slots outside 0..15 change nothing.
    name_entry_length = 1;
    name_store(3);
    EXPECT_EQ(std::string(world_state.name_slots[3]), text_scramble(name.substr(0, 2)));
    const WorldState kept = world_state;
    name_store(16);
    name_store(-1);
    EXPECT_EQ(std::memcmp(&kept, &world_state, sizeof(kept)), 0);
}

} // namespace
