#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <sys/stat.h>

namespace {

u32 le32(const std::vector<u8>& v, size_t at) {
    return u32(v[at]) | (u32(v[at + 1]) << 8) | (u32(v[at + 2]) << 16) | (u32(v[at + 3]) << 24);
}

// ---- WAV
// -----------------------------------------------------------------------------------------

TEST(ArcbuildWav, ToneLastsItsDurationInEveryFormat) {
    struct Case {
        WavFormat format;
        u32 ms;
    };
    const Case cases[] = {
        {{1, 22050, 16}, 150},
        {{2, 44100, 16}, 250},
        {{1, 11025, 8}, 3}, // 33 bytes of data: the chunk gets a pad byte
        {{2, 8000, 8}, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.rate);
        std::vector<u8> wav = wav_tone(c.format, c.ms, 440);
        u32 data = wav_data_size(c.format, c.ms);
        EXPECT_EQ(wav.size(), 44 + data + (data & 1));
        EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
        EXPECT_EQ(le32(wav, 4), wav.size() - 8);
        EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(le32(wav, 40), data);
        EXPECT_EQ(harness_wav_duration_ms(wav.data(), s32(wav.size())), c.ms);
    }
}

TEST(ArcbuildWav, SamplesAreKeptAndBadFormatsRefused) {
    std::vector<u8> samples = {1, 2, 3, 4, 5, 6};
    std::vector<u8> wav = wav_encode({1, 8000, 16}, samples);
    EXPECT_EQ(std::vector<u8>(wav.begin() + 44, wav.end()), samples);
    EXPECT_THROW(wav_encode({3, 8000, 16}, samples), std::invalid_argument);
    EXPECT_THROW(wav_encode({1, 8000, 12}, samples), std::invalid_argument);
    EXPECT_THROW(wav_encode({1, 0, 16}, samples), std::invalid_argument);
}

// ---- Container
// -----------------------------------------------------------------------------------

class ArcbuildTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness_reset();
        gisk_close();
    }
    void TearDown() override { gisk_close(); }
    HarnessTempDir dir;
};

TEST_F(ArcbuildTest, IdsAndSizesOutsideTheIndexAreRefused) {
    ArcBuilder b;
    EXPECT_THROW(b.put(u32(ARC_MAX_ID) + 1, {1}), std::invalid_argument);
    EXPECT_THROW(b.put_raw_entry(u32(ARC_MAX_ID) + 1, 0, 1), std::invalid_argument);
    EXPECT_NO_THROW(b.put(u32(ARC_MAX_ID), {1}));
}

// Block and entry placement: nothing overlaps the index or anything else, shuffling scatters,
// and the file is sparse.
TEST_F(ArcbuildTest, PlacementKeepsClearOfTheIndexAndOfItself) {
    ArcBuilder b;
    for (u32 i = 0; i < 60; ++i) b.put(1000 + i, std::vector<u8>(100 + 97 * i, u8(i)));
    ArcWriteOptions options;
    options.shuffle = true;
    options.both_sides = true;
    options.seed = 3;

    ArcWriteResult chained = arc_write_chained(b, "chained", options);
    std::set<u32> seen;
    bool jumps = false;
    for (const auto& [id, placed] : chained.entries) {
        EXPECT_EQ(placed.offset, placed.blocks.front());
        EXPECT_EQ(placed.blocks.size(), (b.entries().at(id).size() + 251) / 252);
        for (size_t k = 0; k < placed.blocks.size(); ++k) {
            u32 p = placed.blocks[k];
            EXPECT_TRUE(p + 256 <= ARC_INDEX_OFFSET || p >= ARC_INDEX_END) << p;
            EXPECT_EQ(p % 256, 0u);
            EXPECT_TRUE(seen.insert(p).second) << "block used twice: " << p;
            if (k > 0 && p != placed.blocks[k - 1] + 256) jumps = true;
        }
    }
    EXPECT_TRUE(jumps);

    ArcWriteResult plain = arc_write_plain(b, "plain", options);
    std::vector<std::pair<u32, u32>> spans; // [start, end) of every entry's data
    bool low = false, high = false;
    for (const auto& [id, placed] : plain.entries) {
        u32 end = placed.offset + u32(b.entries().at(id).size());
        EXPECT_TRUE(end <= ARC_INDEX_OFFSET || placed.offset >= ARC_INDEX_END) << id;
        low = low || end <= ARC_INDEX_OFFSET;
        high = high || placed.offset >= ARC_INDEX_END;
        spans.push_back({placed.offset, end});
    }
    EXPECT_TRUE(low && high);
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i) EXPECT_LE(spans[i - 1].second, spans[i].first);

    // 12 MB long, but only the data and the used index pages take room on disk.
    struct stat st;
    ASSERT_EQ(stat("plain", &st), 0);
    EXPECT_GE(u64(st.st_size), ARC_MIN_FILE_SIZE);
    EXPECT_LT(u64(st.st_blocks) * 512, 2u << 20);
}

TEST_F(ArcbuildTest, IndexListsWhatWasWrittenRawEntriesIncluded) {
    ArcBuilder b;
    b.put(7, {1, 2, 3});
    b.put(8, {});
    b.put(u32(ARC_MAX_ID), std::vector<u8>(300, 9));
    b.put_raw_entry(9, 0xDEADBEEF, -5);
    b.put_raw_entry(7, 0x1234, 3); // a raw entry wins over the written one
    ArcWriteResult written = arc_write_chained(b, GISK_CHAINED_FILE);
    std::vector<ArcIndexRow> rows = arc_read_index(GISK_CHAINED_FILE);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].id, 7u);
    EXPECT_EQ(rows[0].offset, 0x1234u);
    EXPECT_EQ(rows[1].id, 9u);
    EXPECT_EQ(rows[1].offset, 0xDEADBEEFu);
    EXPECT_EQ(rows[1].size, -5);
    EXPECT_EQ(rows[2].id, u32(ARC_MAX_ID));
    EXPECT_EQ(rows[2].offset, written.entries.at(u32(ARC_MAX_ID)).offset);
    EXPECT_EQ(rows[2].size, 300);
}

// ---- Placeholder archive
// -------------------------------------------------------------------------

TEST_F(ArcbuildTest, AliasesShareTheirSourcesData) {
    for (bool plain : {false, true}) {
        SCOPED_TRACE(plain);
        ArcBuilder b;
        b.put(10, std::vector<u8>(600, 7));
        b.alias(11, 10);
        b.alias(12, 99); // a source without data leaves the alias empty
        b.alias(13, 10);
        b.put(13, {1, 2, 3}); // a later put replaces the alias
        std::string file = plain ? GISK_PLAIN_FILE : GISK_CHAINED_FILE;
        if (plain)
            arc_write_plain(b, file);
        else
            arc_write_chained(b, file);
        gisk_init();
        std::vector<u8> got(600);
        EXPECT_EQ(gisk_load(11, got.data()), 600);
        EXPECT_EQ(got, std::vector<u8>(600, 7));
        EXPECT_EQ(gisk_size(12), 0);
        EXPECT_EQ(gisk_size(13), 3);
        gisk_close();
        std::remove(file.c_str());
    }
}

// An archive written over a base reads entry for entry as the full write of the same builder:
// unchanged, replaced, added, emptied and dropped entries, aliases kept, moved, dropped, turned
// into entries and entries turned into aliases. Raw entries and a builder that drops most of the
// base are refused with nothing written.
TEST_F(ArcbuildTest, WriteOverABaseReadsAsTheFullWrite) {
    ArcBuilder base;
    for (u32 id = 100; id < 120; ++id) base.put(id, std::vector<u8>(40 + 97 * (id - 100), u8(id)));
    base.put(130, {});
    base.alias(200, 100);
    base.alias(201, 101);
    base.alias(202, 102);
    base.alias(203, 103);
    arc_write_chained(base, "base");

    ArcBuilder b = base;
    b.put(101, std::vector<u8>(700, 1)); // replaced: alias 201 follows it
    b.put(102, {});                      // emptied: alias 202 empties with it
    b.put(140, std::vector<u8>(253, 2)); // added, two blocks
    b.put(141, {3});
    b.alias(203, 104);  // moved
    b.put(200, {4, 5}); // an alias turned into an entry
    b.alias(105, 106);  // an entry turned into an alias
    b.alias(204, 140);  // a new alias of a new entry
    b.alias(205, 999);  // a source without data
    ArcBuilder minus;   // drops id 108 and alias 202
    for (const auto& [id, bytes] : b.entries())
        if (id != 108) minus.put(id, bytes.bytes());
    for (const auto& [id, source] : b.aliases())
        if (id != 202) minus.alias(id, source);

    for (const ArcBuilder* over : {&base, &b, &minus}) {
        ASSERT_TRUE(arc_write_chained_over(base, "base", *over, "over"));
        arc_write_chained(*over, "full");
        std::vector<std::vector<u8>> read[2];
        for (s32 k = 0; k < 2; ++k) {
            ASSERT_EQ(std::rename(k == 0 ? "over" : "full", GISK_CHAINED_FILE), 0);
            gisk_init();
            for (u32 id = 90; id < 260; ++id) {
                std::vector<u8> bytes(size_t(std::max(gisk_size(s32(id)), 0)));
                if (!bytes.empty()) gisk_load(s32(id), bytes.data());
                read[k].push_back(bytes);
            }
            gisk_close();
        }
        EXPECT_EQ(read[0], read[1]);
        if (over != &base) {
            EXPECT_EQ(read[0][201 - 90], std::vector<u8>(700, 1));
            EXPECT_EQ(read[0][204 - 90], std::vector<u8>(253, 2));
            EXPECT_TRUE(read[0][202 - 90].empty());
        }
        if (over == &minus) {
            EXPECT_TRUE(read[0][108 - 90].empty());
        }
    }

    ArcBuilder raw = base;
    raw.put_raw_entry(300, 5, 5);
    ArcBuilder few;
    few.put(100, {1});
    for (const ArcBuilder* refused : {&raw, &few}) {
        EXPECT_FALSE(arc_write_chained_over(base, "base", *refused, "refused"));
        struct stat st;
        EXPECT_NE(stat("refused", &st), 0);
    }
}

TEST_F(ArcbuildTest, PlaceholderArchiveHoldsWhatTheProgramLoads) {
    arc_build_placeholder(dir.path());
    gisk_init();
    // The text table fits its buffer.
    std::vector<u8> table(TEXT_TABLE_SIZE);
    EXPECT_GE(gisk_load_bounded(ARC_TEXT_TABLE, table.data(), TEXT_TABLE_SIZE), 4);
    for (s32 sound : {100, 500, 501, 507}) {
        SCOPED_TRACE(sound);
        s32 size = gisk_size_sound(sound);
        ASSERT_GT(size, 44);
        std::vector<u8> wav(size_t(size), 0);
        ASSERT_EQ(gisk_load_sound(sound, wav.data()), size);
        u32 ms = harness_wav_duration_ms(wav.data(), size);
        EXPECT_GE(ms, 50u);
        EXPECT_LE(ms, 500u);
    }
    // Real glyphs, the other styles sharing style 0's drawings.
    const s32 guo = kanji_glyph_index(0xB0EA);
    EXPECT_GT(gisk_size(ARC_FONT_BASE + guo), 100);
    EXPECT_EQ(gisk_size(ARC_FONT_BASE + 5 * KANJI_GLYPHS + guo), gisk_size(ARC_FONT_BASE + guo));
    // The dialogue boxes are well-formed sprites of their size.
    for (s32 image : {120, 121}) {
        s32 size = gisk_size(ARC_IMAGE_BASE + image);
        std::vector<u8> bytes(static_cast<size_t>(size));
        ASSERT_EQ(gisk_load(ARC_IMAGE_BASE + image, bytes.data()), size);
        EXPECT_TRUE(sprite_validate(bytes.data(), size));
        EXPECT_EQ(bytes[0] | bytes[1] << 8, 560);
    }
    // The 32 cursor images are well-formed sprites that fit a cursor.
    for (s32 image = 32; image < 64; ++image) {
        SCOPED_TRACE(image);
        s32 size = gisk_size(ARC_IMAGE_BASE + image);
        ASSERT_GT(size, 16);
        std::vector<u8> bytes(static_cast<size_t>(size));
        ASSERT_EQ(gisk_load(ARC_IMAGE_BASE + image, bytes.data()), size);
        EXPECT_TRUE(sprite_validate(bytes.data(), size));
        EXPECT_LE(bytes[0], 32);
        EXPECT_LE(bytes[2], 32);
    }
}

} // namespace
