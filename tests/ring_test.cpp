// The memory pool and the ring: tiers and layout, block sizes, keys held and the new block for a
// larger size under a held key, emptying on full space and on the 4,097th key, and the fatal
// messages.
#include "engine/ring.h"

#include "platform/harness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr u64 MB = 1048576;

// The header of the block whose data starts at `data`.
u32 block_total(const u8* data) {
    u32 v;
    std::memcpy(&v, data - 8, 4);
    return v;
}
s32 block_key(const u8* data) {
    s32 v;
    std::memcpy(&v, data - 4, 4);
    return v;
}

// A pool of the smallest tier (12 MB, ring of 12,508,928 bytes), empty ring.
class RingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HarnessConfig config;
        config.physical_memory = 16 * MB;
        harness_reset(config);
        fresh_pool();
    }
    static void fresh_pool() {
        pool_init();
        ring_reset();
    }
    void TearDown() override { pool_release(); }
};

TEST(PoolTiers, TierByPhysicalMemory) {
    struct Case {
        u64 physical;
        s32 pool_size;
        s32 glyphs;
        s32 ring_size;
    };
    // Each tier at its threshold and one byte below it; ring = pool - 1156 x glyph slots.
    const Case cases[] = {
        {256 * MB, 201326592, 2048, 198959104},     {240 * MB, 201326592, 2048, 198959104},
        {240 * MB - 1, 134217728, 2048, 131850240}, {176 * MB, 134217728, 2048, 131850240},
        {176 * MB - 1, 100663296, 1024, 99479552},  {120 * MB, 100663296, 1024, 99479552},
        {120 * MB - 1, 75497472, 768, 74609664},    {88 * MB, 75497472, 768, 74609664},
        {88 * MB - 1, 50331648, 512, 49739776},     {60 * MB, 50331648, 512, 49739776},
        {60 * MB - 1, 33554432, 192, 33332480},     {44 * MB, 33554432, 192, 33332480},
        {44 * MB - 1, 25165824, 128, 25017856},     {30 * MB, 25165824, 128, 25017856},
        {30 * MB - 1, 16777216, 96, 16666240},      {22 * MB, 16777216, 96, 16666240},
        {22 * MB - 1, 12582912, 64, 12508928},      {0, 12582912, 64, 12508928},
        {64ull << 30, 201326592, 2048, 198959104}, // beyond 4 GB: compared unsigned 64-bit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.physical);
        const PoolTier& tier = pool_tier_for(c.physical);
        EXPECT_EQ(tier.pool_size, c.pool_size);
        EXPECT_EQ(tier.glyph_slot_count, c.glyphs);
        EXPECT_EQ(tier.pool_size - 1156 * tier.glyph_slot_count, c.ring_size);
    }
}

TEST(PoolTiers, LoggedNumbersOfEachTier) {
    const s32 s32k[] = {512, 512, 256, 128, 64, 48, 32, 24, 16};
    const s32 s64k[] = {256, 256, 128, 64, 32, 24, 16, 12, 8};
    for (s32 i = 0; i < POOL_TIER_COUNT; ++i) {
        EXPECT_EQ(pool_tiers[i].log_s32k, s32k[i]);
        EXPECT_EQ(pool_tiers[i].log_s64k, s64k[i]);
    }
}

TEST(Pool, CarvesGlyphCacheAndRingFromZeroedMemory) {
    struct Case {
        u64 physical;
        s32 pool_size;
        s32 glyphs;
        s32 ring_size;
    };
    const Case cases[] = {{256 * MB, 201326592, 2048, 198959104},
                          {16 * MB, 12582912, 64, 12508928}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.physical);
        HarnessConfig config;
        config.physical_memory = c.physical;
        harness_reset(config);
        pool_init();
        ASSERT_NE(pool_base, nullptr);
        EXPECT_EQ(pool_size, c.pool_size);
        EXPECT_EQ(glyph_slot_count, c.glyphs);
        EXPECT_EQ(reinterpret_cast<u8*>(glyph_keys), pool_base);
        EXPECT_EQ(glyph_bitmaps, pool_base + 4 * c.glyphs);
        EXPECT_EQ(ring_base, pool_base + 1156 * c.glyphs);
        EXPECT_EQ(ring_size, c.ring_size);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(ring_base) % 4, 0u);
        // The glyph cache starts with every key 0 and every master blank.
        for (s32 i = 0; i < c.glyphs; ++i) ASSERT_EQ(glyph_keys[i], 0);
        for (s32 i = 0; i < c.glyphs * 1152; ++i) ASSERT_EQ(glyph_bitmaps[i], 0);
        pool_release();
    }
}

TEST(Pool, AllocationFailureIsFatalWithTheSizeInMb) {
    HarnessConfig config;
    config.physical_memory = 100 * MB; // the 88 MB tier: a 72 MB pool
    harness_reset(config);
    pool_release();
    void* (*saved)(size_t) = pool_allocate_seam;
    pool_allocate_seam = [](size_t) -> void* { return nullptr; };
    const std::string message = harness_fatal_message([] { pool_init(); });
    pool_allocate_seam = saved;
    EXPECT_EQ(message, "配置72mb記憶體不足, 請關閉其他程式或是重新開機再執行");
    EXPECT_EQ(pool_base, nullptr);
}

TEST(Pool, ReleaseIsSafeTwiceAndLeavesNoRing) {
    harness_reset();
    pool_release();
    pool_release();
    EXPECT_EQ(harness_fatal_message([] { ring_reset(); }), "ring:ptr=NULL");
    // Without a pool a new block cannot be placed anywhere.
    EXPECT_EQ(harness_fatal_message([] { ring_alloc(1, 16); }), "ring:ptr=NULL");
    EXPECT_EQ(ring_find(1), nullptr);
}

TEST_F(RingTest, BlockTotalsAreTheSizeRoundedDownPlusTwelve) {
    struct Case {
        s32 size;
        u32 total;
    };
    const Case cases[] = {{1, 12}, {4, 16}, {5, 16}, {7, 16}, {8, 20}, {100, 112}};
    s32 used = 0;
    s32 key = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        u8* data = ring_alloc(key, c.size);
        // Blocks follow one another from the base without gaps.
        EXPECT_EQ(data, ring_base + used + 8);
        EXPECT_EQ(block_total(data), c.total);
        EXPECT_EQ(block_key(data), key);
        EXPECT_GE(static_cast<s32>(c.total) - 8, c.size); // the data part holds what was asked
        EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % 4, 0u);
        used += static_cast<s32>(c.total);
        EXPECT_EQ(ring_used, used);
        ++key;
    }
    EXPECT_EQ(ring_count, 6);
    EXPECT_EQ(ring_keys[2], 102);
    EXPECT_EQ(ring_blocks[2], ring_find(102));
}

TEST_F(RingTest, HeldKeyReturnsItsBlockWhenTheSizeFits) {
    u8* first = ring_alloc(7, 100); // data part 104 bytes
    std::memset(first, 0xAB, 104);
    ring_alloc(8, 10);
    const s32 used = ring_used;
    for (s32 size : {1, 100, 104, 0, -5}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(ring_alloc(7, size), first);
    }
    EXPECT_EQ(ring_used, used);
    EXPECT_EQ(ring_count, 2);
    EXPECT_EQ(first[103], 0xAB); // content kept
    EXPECT_EQ(ring_find(7), first);
}

TEST_F(RingTest, HeldKeyAskedForMoreMovesToANewBlock) {
    for (s32 size : {105, 5000}) {
        SCOPED_TRACE(size);
        fresh_pool();
        u8* small = ring_alloc(7, 100); // data part 104 bytes
        u8* neighbour = ring_alloc(8, 10);
        std::memset(neighbour, 0x5C, 12);
        const s32 used = ring_used;
        u8* grown = ring_alloc(7, size);
        EXPECT_NE(grown, small);
        EXPECT_EQ(grown, ring_base + used + 8); // a new block after the last one
        EXPECT_GE(static_cast<s32>(block_total(grown)) - 8, size);
        EXPECT_EQ(block_key(grown), 7);
        std::memset(grown, 0xEE, static_cast<size_t>(size)); // all of it is the caller's
        EXPECT_EQ(neighbour[11], 0x5C);
        // The key is held once, by the new block; the same size again hands it back.
        EXPECT_EQ(ring_count, 2);
        EXPECT_EQ(ring_find(7), grown);
        EXPECT_EQ(ring_alloc(7, size), grown);
        EXPECT_EQ(ring_find(8), neighbour);
    }
}

TEST_F(RingTest, HeldKeyAskedForMoreEmptiesAFullRing) {
    ring_alloc(1, 100);
    ring_alloc(2, 8388592);
    ring_alloc(3, ring_size - ring_used - 12); // fills the ring exactly
    u8* grown = ring_alloc(1, 200);
    EXPECT_EQ(grown, ring_base + 8); // emptied, then placed at the base
    EXPECT_EQ(ring_used, 212);
    EXPECT_EQ(ring_count, 1);
    EXPECT_EQ(ring_find(1), grown);
    EXPECT_EQ(ring_find(2), nullptr);
    EXPECT_EQ(ring_find(3), nullptr);
    EXPECT_EQ(block_total(grown), 212u);
}

TEST_F(RingTest, SizeErrors) {
    struct Case {
        s32 key;
        s32 size;
        const char* message;
    };
    const Case cases[] = {
        {3, 0, "ring: alloc#(3) size<0(0) error!"},
        {4, -5, "ring: alloc#(4) size<0(-5) error!"},
        {5, 8388596, "ring: alloc#(5) size>max(8388608) error!"},
        {6, 8388599, "ring: alloc#(6) size>max(8388608) error!"},
        // A size near the top of the s32 range is refused, not wrapped into a small block.
        {9, INT32_MAX, "ring: alloc#(9) size>max(2147483647) error!"},
        {10, INT32_MAX - 15, "ring: alloc#(10) size>max(2147483644) error!"},
    };
    for (const Case& c : cases) {
        fresh_pool(); // the fatal reporter releases the pool
        EXPECT_EQ(harness_fatal_message([&] { ring_alloc(c.key, c.size); }), c.message);
    }
    // The largest block passes: total 8,388,604.
    fresh_pool();
    u8* big = ring_alloc(11, 8388595);
    EXPECT_EQ(block_total(big), 8388604u);
}

TEST_F(RingTest, ExactFitDoesNotEmptyButOneByteMoreDoes) {
    ASSERT_EQ(ring_size, 12508928);
    u8* a = ring_alloc(1, 8388592); // total 8,388,604
    const s32 rest = ring_size - ring_used;
    u8* b = ring_alloc(2, rest - 12); // total exactly the rest: ends at ring_size
    EXPECT_EQ(ring_used, ring_size);
    EXPECT_EQ(ring_count, 2);
    EXPECT_EQ(ring_find(1), a);
    EXPECT_EQ(ring_find(2), b);

    u8* c = ring_alloc(3, 1); // would end past ring_size
    EXPECT_EQ(c, ring_base + 8);
    EXPECT_EQ(ring_count, 1);
    EXPECT_EQ(ring_used, 12);
    EXPECT_EQ(ring_find(1), nullptr);
    EXPECT_EQ(ring_find(2), nullptr);
    EXPECT_EQ(ring_find(3), c);
}

TEST_F(RingTest, The4097thKeyEmptiesTheRing) {
    for (s32 key = 0; key < RING_MAX_BLOCKS; ++key) ring_alloc(key * 3 + 1, 1);
    EXPECT_EQ(ring_count, 4096);
    EXPECT_EQ(ring_used, 4096 * 12);
    // A key already held does not count as a new block.
    ring_alloc(1, 1);
    EXPECT_EQ(ring_count, 4096);

    u8* data = ring_alloc(-7, 20);
    EXPECT_EQ(ring_count, 1);
    EXPECT_EQ(data, ring_base + 8);
    EXPECT_EQ(ring_used, 32);
    for (s32 key = 0; key < RING_MAX_BLOCKS; ++key) ASSERT_EQ(ring_find(key * 3 + 1), nullptr);
    EXPECT_EQ(ring_find(-7), data);
}

TEST_F(RingTest, ResetEmptiesTheRing) {
    ring_alloc(1, 10);
    ring_alloc(2, 10);
    ring_reset();
    EXPECT_EQ(ring_count, 0);
    EXPECT_EQ(ring_used, 0);
    EXPECT_EQ(ring_find(1), nullptr);
    EXPECT_EQ(ring_alloc(2, 10), ring_base + 8);
}

} // namespace
