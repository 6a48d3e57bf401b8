#include "engine/gisk.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Bytes that differ from block to block and from entry to entry, so a block read from the wrong
// place or in the wrong order shows.
std::vector<u8> pattern(size_t n, u32 seed) {
    std::vector<u8> out(n);
    u32 x = seed * 2654435761u + 12345;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345;
        out[i] = u8(x >> 16);
    }
    return out;
}

enum class Layout { Chained, Plain };

const char* file_of(Layout layout) {
    return layout == Layout::Plain ? GISK_PLAIN_FILE : GISK_CHAINED_FILE;
}

ArcWriteResult write_archive(Layout layout, const ArcBuilder& b, const ArcWriteOptions& o = {}) {
    return layout == Layout::Plain ? arc_write_plain(b, GISK_PLAIN_FILE, o)
                                   : arc_write_chained(b, GISK_CHAINED_FILE, o);
}

constexpr u8 GUARD = 0xA5;
constexpr size_t GUARD_BYTES = 64;

class GiskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness_reset();
        gisk_close();
    }
    void TearDown() override { gisk_close(); }

    // Loads id into a buffer of exactly gisk_size bytes followed by guard bytes; fails the test
    // if the load wrote past the size it reported.
    std::vector<u8> load(s32 id) {
        s32 size = gisk_size(id);
        std::vector<u8> buffer(size_t(size) + GUARD_BYTES, GUARD);
        EXPECT_EQ(gisk_load(id, buffer.data()), size);
        for (size_t i = size_t(size); i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], GUARD) << "written past the entry at " << i;
        buffer.resize(size_t(size));
        return buffer;
    }

    std::string fatal_of_load(s32 id) {
        return harness_fatal_message([&] {
            std::vector<u8> buffer(1 << 20);
            gisk_load(id, buffer.data());
        });
    }

    HarnessTempDir dir;
};

// ---- Round trips -------------------------------------------------------------------------------

struct RoundTripCase {
    Layout layout;
    bool scattered; // shuffled blocks or entries, data on both sides of the index
};

class GiskRoundTrip : public GiskTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(GiskRoundTrip, EveryEntryComesBackWhole) {
    const RoundTripCase& c = GetParam();
    // Sizes around the block's 252 data bytes, a chain longer than the reader's 256 KB window,
    // and a spread of ids from every kind's base up to the last index entry.
    const std::vector<std::pair<s32, size_t>> entries = {
        {0, 1},
        {ARC_TEXT_TABLE, 251},
        {ARC_FONT_BASE + 13816 + 5, 252},
        {ARC_SOUND_BASE + 100, 253},
        {ARC_ZONE_BASE + 3, 504},
        {ARC_MAP_BASE + 9, 505},
        {ARC_PICTURE_BASE + 1, 10007},
        {ARC_IMAGE_BASE + 77, 300001},
        {ARC_MAX_ID, 300},
        {ARC_IMAGE_BASE + 78, 0},
    };
    ArcBuilder b;
    for (size_t i = 0; i < entries.size(); ++i)
        b.put(u32(entries[i].first), pattern(entries[i].second, u32(i)));
    // Filler so that the shuffled chains have other blocks to jump over.
    for (u32 i = 0; i < 40; ++i) b.put(u32(ARC_IMAGE_BASE + 1000) + i, pattern(777 * i, 100 + i));

    ArcWriteOptions options;
    options.shuffle = c.scattered;
    options.both_sides = c.scattered;
    options.seed = 7;
    ArcWriteResult written = write_archive(c.layout, b, options);
    if (c.scattered && c.layout == Layout::Chained) {
        // The fixture really jumps: the long chain has blocks below and after the index.
        const std::vector<u32>& blocks = written.entries.at(u32(ARC_IMAGE_BASE + 77)).blocks;
        ASSERT_TRUE(
            std::any_of(blocks.begin(), blocks.end(), [](u32 p) { return p < ARC_INDEX_OFFSET; }));
        ASSERT_TRUE(
            std::any_of(blocks.begin(), blocks.end(), [](u32 p) { return p >= ARC_INDEX_END; }));
    }

    gisk_init();
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].first);
        std::vector<u8> expected = pattern(entries[i].second, u32(i));
        EXPECT_EQ(load(entries[i].first), expected);
        // The bounded load of an exactly fitting destination gives the same.
        std::vector<u8> exact(entries[i].second);
        EXPECT_EQ(gisk_load_bounded(entries[i].first, exact.data(), s32(exact.size())),
                  s32(expected.size()));
        EXPECT_EQ(exact, expected);
    }
    for (u32 i = 0; i < 40; ++i)
        EXPECT_EQ(load(ARC_IMAGE_BASE + 1000 + s32(i)), pattern(777 * i, 100 + i));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, GiskRoundTrip,
    ::testing::Values(RoundTripCase{Layout::Chained, false}, RoundTripCase{Layout::Chained, true},
                      RoundTripCase{Layout::Plain, false}, RoundTripCase{Layout::Plain, true}),
    [](const auto& info) {
        return std::string(info.param.layout == Layout::Plain ? "Plain" : "Chained") +
               (info.param.scattered ? "Scattered" : "InOrder");
    });

TEST_F(GiskTest, SoundAndGlyphReadersAddTheirBase) {
    ArcBuilder b;
    b.put(u32(ARC_SOUND_BASE + 7), pattern(300, 1));
    b.put(u32(ARC_FONT_BASE + 13816 * 2 + 40), pattern(90, 2));
    arc_write_chained(b, GISK_CHAINED_FILE);
    gisk_init();
    std::vector<u8> buffer(300);
    EXPECT_EQ(gisk_size_sound(7), 300);
    EXPECT_EQ(gisk_load_sound(7, buffer.data()), 300);
    EXPECT_EQ(buffer, pattern(300, 1));
    EXPECT_EQ(gisk_load_glyph(13816 * 2 + 40, buffer.data()), 90);
    EXPECT_EQ(std::vector<u8>(buffer.begin(), buffer.begin() + 90), pattern(90, 2));
    EXPECT_EQ(gisk_size_sound(8), 0);
    // A sound number that would carry the id past the index is refused, not wrapped into it.
    EXPECT_EQ(harness_fatal_message([] { gisk_size_sound(0x7FFFFFFF); }),
              "gisk gfs " + std::to_string(s32(u32(ARC_SOUND_BASE) + 0x7FFFFFFFu)));
}

// ---- Opening
// -------------------------------------------------------------------------------------

TEST_F(GiskTest, FileSizeBoundaryAtTheEndOfTheIndex) {
    for (Layout layout : {Layout::Chained, Layout::Plain}) {
        for (u64 size : {u64(ARC_MIN_FILE_SIZE) - 1, u64(ARC_MIN_FILE_SIZE)}) {
            SCOPED_TRACE(std::string(file_of(layout)) + " " + std::to_string(size));
            std::remove(GISK_PLAIN_FILE);
            std::remove(GISK_CHAINED_FILE);
            ArcBuilder b;
            b.put(5, pattern(600, 5)); // the first entry goes below the index
            ArcWriteOptions options;
            options.both_sides = true;
            options.min_file_size = size;
            ASSERT_EQ(write_archive(layout, b, options).file_size, size);
            if (size < ARC_MIN_FILE_SIZE) {
                EXPECT_EQ(harness_fatal_message([] { gisk_init(); }), "gisk<=12mb");
                EXPECT_EQ(fatal_of_load(5), "gisk lf 5"); // and nothing stays open
            } else {
                gisk_init();
                EXPECT_EQ(load(5), pattern(600, 5));
            }
        }
    }
}

TEST_F(GiskTest, PlainFileTakesPrecedence) {
    ArcBuilder chained, plain;
    chained.put(9, pattern(100, 1));
    plain.put(9, pattern(100, 2));
    arc_write_chained(chained, GISK_CHAINED_FILE);
    arc_write_plain(plain, GISK_PLAIN_FILE);
    gisk_init();
    EXPECT_EQ(load(9), pattern(100, 2));

    // With the plain file present the chained one is not looked at: a chained file too short to
    // be accepted does not matter.
    arc_truncate(GISK_CHAINED_FILE, 1);
    gisk_init();
    EXPECT_EQ(load(9), pattern(100, 2));
}

TEST_F(GiskTest, ChainedFileAloneAndNeitherFile) {
    EXPECT_EQ(harness_fatal_message([] { gisk_init(); }), "gisk init");

    // A directory of the plain file's name is no archive: the chained file is used.
    ASSERT_EQ(mkdir(GISK_PLAIN_FILE, 0755), 0);
    EXPECT_EQ(harness_fatal_message([] { gisk_init(); }), "gisk init");
    ArcBuilder b;
    b.put(9, pattern(100, 1));
    arc_write_chained(b, GISK_CHAINED_FILE);
    gisk_init();
    EXPECT_EQ(load(9), pattern(100, 1));
}

// ---- Id checks, empty entries, closing
// -----------------------------------------------------------

TEST_F(GiskTest, IdsOutsideTheIndexAreFatal) {
    ArcBuilder b;
    b.put(u32(ARC_MAX_ID), pattern(10, 3));
    arc_write_chained(b, GISK_CHAINED_FILE);
    gisk_init();
    EXPECT_EQ(load(ARC_MAX_ID), pattern(10, 3));
    u8 buffer[16];
    for (s32 id : {ARC_MAX_ID + 1, -1}) {
        std::string n = std::to_string(id);
        EXPECT_EQ(harness_fatal_message([&] { gisk_load(id, buffer); }), "gisk lf " + n);
        EXPECT_EQ(harness_fatal_message([&] { gisk_load_bounded(id, buffer, 16); }),
                  "gisk lf " + n);
        gisk_init(); // the fatal reporter may have closed the archive
        EXPECT_EQ(harness_fatal_message([&] { gisk_size(id); }), "gisk gfs " + n);
        gisk_init();
    }
}

TEST_F(GiskTest, ReadsWithNothingOpenAreFatalAndCloseIsAlwaysSafe) {
    gisk_close();
    gisk_close();
    u8 buffer[16];
    EXPECT_EQ(harness_fatal_message([&] { gisk_size(ARC_TEXT_TABLE); }), "gisk gfs 63");
    EXPECT_EQ(harness_fatal_message([&] { gisk_load(ARC_TEXT_TABLE, buffer); }), "gisk lf 63");
    EXPECT_EQ(harness_fatal_message([&] { gisk_load_bounded(0, buffer, 16); }), "gisk lf 0");

    ArcBuilder b;
    b.put(ARC_TEXT_TABLE, pattern(4, 0));
    arc_write_chained(b, GISK_CHAINED_FILE);
    gisk_init();
    EXPECT_EQ(gisk_size(ARC_TEXT_TABLE), 4);
    gisk_close();
    gisk_close();
    EXPECT_EQ(harness_fatal_message([&] { gisk_load(ARC_TEXT_TABLE, buffer); }), "gisk lf 63");
}

TEST_F(GiskTest, EmptyEntryWritesNothing) {
    for (Layout layout : {Layout::Chained, Layout::Plain}) {
        ArcBuilder b;
        b.put(20, {});
        b.put(21, pattern(10, 1));
        write_archive(layout, b);
        gisk_init();
        for (s32 id : {20, 22}) { // put empty, never put
            std::vector<u8> buffer(32, GUARD);
            EXPECT_EQ(gisk_size(id), 0);
            EXPECT_EQ(gisk_load(id, buffer.data()), 0);
            EXPECT_EQ(gisk_load_bounded(id, buffer.data(), 0), 0);
            EXPECT_EQ(buffer, std::vector<u8>(32, GUARD));
        }
        gisk_close();
        std::remove(GISK_PLAIN_FILE);
    }
}

TEST_F(GiskTest, BoundedLoadRefusesLargerEntriesWithoutWriting) {
    for (Layout layout : {Layout::Chained, Layout::Plain}) {
        ArcBuilder b;
        b.put(30, pattern(505, 4));
        write_archive(layout, b);
        gisk_init();
        for (s32 capacity : {504, 0, -1}) {
            std::vector<u8> buffer(600, GUARD);
            EXPECT_EQ(gisk_load_bounded(30, buffer.data(), capacity), -1);
            EXPECT_EQ(buffer, std::vector<u8>(600, GUARD));
        }
        std::vector<u8> buffer(505);
        EXPECT_EQ(gisk_load_bounded(30, buffer.data(), 505), 505);
        EXPECT_EQ(buffer, pattern(505, 4));
        gisk_close();
        std::remove(GISK_PLAIN_FILE);
    }
}

// ---- Damaged archives
// ----------------------------------------------------------------------------

TEST_F(GiskTest, NegativeSizeIsFatal) {
    for (Layout layout : {Layout::Chained, Layout::Plain}) {
        ArcBuilder b;
        b.put_raw_entry(40, ARC_INDEX_END, -1);
        b.put_raw_entry(41, 0, s32(0x80000000u));
        write_archive(layout, b);
        for (s32 id : {40, 41}) {
            std::string n = std::to_string(id);
            u8 buffer[16];
            gisk_init();
            EXPECT_EQ(harness_fatal_message([&] { gisk_size(id); }), "gisk gfs " + n);
            gisk_init();
            EXPECT_EQ(harness_fatal_message([&] { gisk_load(id, buffer); }), "gisk lf(sznm) " + n);
            gisk_init();
            EXPECT_EQ(harness_fatal_message([&] { gisk_load_bounded(id, buffer, 16); }),
                      "gisk lf(sznm) " + n);
        }
        gisk_close();
        std::remove(GISK_PLAIN_FILE);
    }
}

TEST_F(GiskTest, PlainDataPastTheEndOfTheFileIsFatal) {
    ArcBuilder b;
    b.put(1, pattern(10, 1));
    u64 size = arc_write_plain(b, GISK_PLAIN_FILE).file_size;
    // Rewrite the index entries by hand: data that ends exactly at the end of the file loads.
    ArcBuilder damaged = b;
    damaged.put_raw_entry(2, u32(size - 10), 10);
    damaged.put_raw_entry(3, u32(size - 10), 11);
    damaged.put_raw_entry(4, 0xFFFFFFFFu, 1);
    ASSERT_EQ(arc_write_plain(damaged, GISK_PLAIN_FILE).file_size, size);
    gisk_init();
    EXPECT_EQ(load(2).size(), 10u);
    EXPECT_EQ(fatal_of_load(3), "gisk lf(sznm) 3");
    gisk_init();
    EXPECT_EQ(fatal_of_load(4), "gisk lf(sznm) 4");
}

// A chained archive whose entries end after the index, the last block of the last entry at the
// very end of the file.
class GiskChainTest : public GiskTest {
  protected:
    void SetUp() override {
        GiskTest::SetUp();
        build();
    }
    void build() {
        ArcBuilder b;
        b.put(50, pattern(252, 50)); // one block
        b.put(51, pattern(505, 51)); // three blocks
        b.put(52, pattern(253, 52)); // two blocks, the second one using one byte; last in file
        written = arc_write_chained(b, GISK_CHAINED_FILE);
        blocks50 = written.entries.at(50).blocks;
        blocks51 = written.entries.at(51).blocks;
        blocks52 = written.entries.at(52).blocks;
        ASSERT_EQ(blocks50.size(), 1u);
        ASSERT_EQ(blocks51.size(), 3u);
        ASSERT_EQ(blocks52.size(), 2u);
        ASSERT_EQ(u64(blocks52[1]) + ARC_BLOCK_SIZE, written.file_size);
    }
    void set_link(u32 block, u32 next) {
        arc_poke_u32(GISK_CHAINED_FILE, u64(block) + ARC_BLOCK_DATA, next);
    }
    ArcWriteResult written;
    std::vector<u32> blocks50, blocks51, blocks52;
};

TEST_F(GiskChainTest, LastBlockLinkIsNeverFollowed) {
    set_link(blocks50[0], 0xFFFFFFFFu);
    set_link(blocks51[2], 0xFFFFFFFFu);
    gisk_init();
    EXPECT_EQ(load(50), pattern(252, 50));
    EXPECT_EQ(load(51), pattern(505, 51));
}

TEST_F(GiskChainTest, LinkOutsideTheFileIsFatal) {
    const u32 file_end = u32(written.file_size);
    // A block that is followed further must fit whole: 255 bytes before the end is too little,
    // however few of its data bytes the chain still needs from it.
    for (u32 next : {0xFFFFFFFFu, file_end, file_end - 255, file_end - 100}) {
        SCOPED_TRACE(next);
        set_link(blocks51[0], next);
        gisk_init();
        EXPECT_EQ(fatal_of_load(51), "gisk lf(sznm) 51");
    }
    // The index's offset is checked the same way.
    ArcBuilder b;
    b.put_raw_entry(53, 0xFFFFFF00u, 10);
    b.put_raw_entry(54, ARC_MIN_FILE_SIZE - 9, 10);
    ASSERT_EQ(arc_write_chained(b, GISK_CHAINED_FILE).file_size, ARC_MIN_FILE_SIZE);
    for (s32 id : {53, 54}) {
        gisk_init();
        EXPECT_EQ(fatal_of_load(id), "gisk lf(sznm) " + std::to_string(id));
    }
}

TEST_F(GiskChainTest, ShortLastBlockOnlyAtTheEndOfTheFile) {
    // The last block of entry 52 needs one byte: the file may end right after it...
    arc_truncate(GISK_CHAINED_FILE, u64(blocks52[1]) + 1);
    gisk_init();
    EXPECT_EQ(load(52), pattern(253, 52));
    // ...but not before it.
    arc_truncate(GISK_CHAINED_FILE, blocks52[1]);
    gisk_init();
    EXPECT_EQ(fatal_of_load(52), "gisk lf(sznm) 52");
}

TEST_F(GiskChainTest, FileShrunkAfterOpeningIsFatal) {
    // Cut before the chain, or inside its second block: a read that comes up short is fatal,
    // also when the blocks before it arrived.
    for (u64 cut : {u64(ARC_MIN_FILE_SIZE), u64(blocks51[1]) + 100}) {
        SCOPED_TRACE(cut);
        build();
        gisk_init();
        arc_truncate(GISK_CHAINED_FILE, cut);
        EXPECT_EQ(fatal_of_load(51), "gisk lf(sznm) 51");
    }
}

TEST_F(GiskChainTest, LoopingChainEndsWithTheSize) {
    // A chain that links back to its own block repeats that block's data until the size is
    // reached; it does not run on for ever.
    set_link(blocks51[0], blocks51[0]);
    gisk_init();
    const std::vector<u8> first = pattern(252, 51); // the data of the chain's first block
    std::vector<u8> expected = first;
    expected.insert(expected.end(), first.begin(), first.end());
    expected.push_back(first[0]);
    EXPECT_EQ(load(51), expected);
}

// A long chain (longer than the reader's window, so it is read in long runs) that jumps
// elsewhere partway: at a chosen block its next-block offset is bent to a second chain holding
// the same remaining bytes. The load must give the original bytes whichever block jumps, and
// never write past the entry.
TEST_F(GiskTest, LongChainJumpingMidRunLoadsTheRightBytes) {
    const size_t size = 300001; // 1191 blocks
    const std::vector<u8> bytes = pattern(size, 60);
    for (u32 jump_after : {0u, 1u, 500u, 1170u, 1171u, 1189u}) {
        SCOPED_TRACE(jump_after);
        ArcBuilder b;
        b.put(60, bytes);
        size_t rest_from = size_t(jump_after + 1) * ARC_BLOCK_DATA;
        b.put(61, std::vector<u8>(bytes.begin() + long(rest_from), bytes.end()));
        ArcWriteResult written = arc_write_chained(b, GISK_CHAINED_FILE);
        arc_poke_u32(GISK_CHAINED_FILE,
                     u64(written.entries.at(60).blocks[jump_after]) + ARC_BLOCK_DATA,
                     written.entries.at(61).offset);
        // Scrub the blocks that are no longer part of entry 60's chain.
        for (size_t k = jump_after + 1; k < written.entries.at(60).blocks.size(); ++k)
            arc_poke(GISK_CHAINED_FILE, written.entries.at(60).blocks[k],
                     std::vector<u8>(ARC_BLOCK_SIZE, 0xEE).data(), ARC_BLOCK_SIZE);
        gisk_init();
        EXPECT_EQ(load(60), bytes);
        gisk_close();
    }
}

TEST_F(GiskTest, LongChainCutShortIsFatal) {
    ArcBuilder b;
    b.put(62, pattern(300001, 62));
    ArcWriteResult written = arc_write_chained(b, GISK_CHAINED_FILE);
    const std::vector<u32>& blocks = written.entries.at(62).blocks;
    // The file ends inside the long run, inside the last window, and one byte short of the data
    // of the last block (which uses 300001 - 1190 x 252 = 121 bytes).
    for (u64 cut : {u64(blocks[600]) + 10, u64(blocks[1180]), u64(blocks[1190]) + 120}) {
        SCOPED_TRACE(cut);
        arc_write_chained(b, GISK_CHAINED_FILE);
        gisk_init();
        arc_truncate(GISK_CHAINED_FILE, cut);
        EXPECT_EQ(fatal_of_load(62), "gisk lf(sznm) 62");
    }
}

} // namespace
