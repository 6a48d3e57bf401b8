#include "engine/ring.h"

#include "engine/shell.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// MB = 1,048,576 bytes. Ring sizes that follow: pool_size - 1156 x glyph_slot_count.
const PoolTier pool_tiers[POOL_TIER_COUNT] = {
    // threshold    pool_size   glyphs  s32k  s64k
    {251658240ull, 201326592, 2048, 512, 256}, // 240 MB -> 192 MB
    {184549376ull, 134217728, 2048, 512, 256}, // 176 MB -> 128 MB
    {125829120ull, 100663296, 1024, 256, 128}, // 120 MB -> 96 MB
    {92274688ull, 75497472, 768, 128, 64},     //  88 MB -> 72 MB
    {62914560ull, 50331648, 512, 64, 32},      //  60 MB -> 48 MB
    {46137344ull, 33554432, 192, 48, 24},      //  44 MB -> 32 MB
    {31457280ull, 25165824, 128, 32, 16},      //  30 MB -> 24 MB
    {23068672ull, 16777216, 96, 24, 12},       //  22 MB -> 16 MB
    {0ull, 12582912, 64, 16, 8},               //  less  -> 12 MB
};

u8* pool_base = nullptr;
s32 pool_size = 0;
s32 glyph_slot_count = 0;
s32* glyph_keys = nullptr;
u8* glyph_bitmaps = nullptr;

u8* ring_base = nullptr;
s32 ring_size = 0;
s32 ring_used = 0;
s32 ring_count = 0;
s32 ring_keys[RING_MAX_BLOCKS];
u8* ring_blocks[RING_MAX_BLOCKS];

static void* pool_calloc(size_t size) {
    return std::calloc(1, size);
}
void* (*pool_allocate_seam)(size_t size) = pool_calloc;

const PoolTier& pool_tier_for(u64 physical) {
    for (const PoolTier& tier : pool_tiers) {
        if (physical >= tier.threshold) return tier;
    }
    return pool_tiers[POOL_TIER_COUNT - 1]; // the last row's threshold is 0: never reached
}

void pool_init() {
    pool_release();
    const u64 physical = plat_physical_memory();
    debug_log("\n PhysTotal= %d(%dk)", static_cast<s32>(physical),
              static_cast<s32>(physical / 1024));
    const PoolTier& tier = pool_tier_for(physical);
    debug_log("\n Alloc Mem(%d), kanji(%d), s32k(%d), s64k(%d)", tier.pool_size,
              tier.glyph_slot_count, tier.log_s32k, tier.log_s64k);

    u8* base = static_cast<u8*>(pool_allocate_seam(static_cast<size_t>(tier.pool_size)));
    if (base == nullptr) {
        shell_fatal("配置%dmb記憶體不足, 請關閉其他程式或是重新開機再執行",
                    static_cast<s32>(tier.pool_size / POOL_MB));
    }
    pool_base = base;
    pool_size = tier.pool_size;
    glyph_slot_count = tier.glyph_slot_count;
    glyph_keys = reinterpret_cast<s32*>(pool_base);
    glyph_bitmaps = pool_base + POOL_GLYPH_KEY_BYTES * glyph_slot_count;
    ring_base = glyph_bitmaps + POOL_GLYPH_BYTES * glyph_slot_count;
    ring_size = pool_size - static_cast<s32>(ring_base - pool_base);
    ring_used = 0;
    ring_count = 0;
}

void pool_release() {
    if (pool_base != nullptr) std::free(pool_base);
    pool_base = nullptr;
    pool_size = 0;
    glyph_slot_count = 0;
    glyph_keys = nullptr;
    glyph_bitmaps = nullptr;
    ring_base = nullptr;
    ring_size = 0;
    ring_used = 0;
    ring_count = 0;
}

void ring_reset() {
    if (ring_base == nullptr) shell_fatal("ring:ptr=NULL");
    ring_used = 0;
    ring_count = 0;
}

u8* ring_find(s32 key) {
    for (s32 i = 0; i < ring_count; ++i) {
        if (ring_keys[i] == key) return ring_blocks[i];
    }
    return nullptr;
}

// Bytes of data a held block offers: its total less the header.
static s32 ring_data_bytes(const u8* data) {
    u32 total;
    std::memcpy(&total, data - RING_HEADER_BYTES, sizeof total);
    return static_cast<s32>(total) - RING_HEADER_BYTES;
}

u8* ring_alloc(s32 key, s32 size) {
    s32 held_index = -1;
    for (s32 i = 0; i < ring_count; ++i) {
        if (ring_keys[i] == key) {
            held_index = i;
            break;
        }
    }
    // A key already held hands back its block when the asked size fits its data part. A larger
    // request gets a new block under the same key below: handing back the small block would let
    // the caller write past it into its neighbours.
    if (held_index >= 0 && size <= ring_data_bytes(ring_blocks[held_index]))
        return ring_blocks[held_index];
    if (size <= 0) shell_fatal("ring: alloc#(%d) size<0(%d) error!", key, size);
    // Worked out in 64 bits so that a size near the top of the s32 range cannot wrap into a
    // small or negative total and slip past the limit.
    const s64 wide_total = static_cast<s64>(size & ~3) + 12;
    if (wide_total >= RING_MAX_TOTAL) {
        shell_fatal("ring: alloc#(%d) size>max(%d) error!", key,
                    static_cast<s32>(std::min<s64>(wide_total, INT32_MAX)));
    }
    const s32 total = static_cast<s32>(wide_total);
    if (ring_base == nullptr) shell_fatal("ring:ptr=NULL");

    // Out of room or out of keys: forget everything and start again at the base. Every tier's
    // ring is larger than RING_MAX_TOTAL, so the block always fits an emptied ring.
    if (ring_count >= RING_MAX_BLOCKS || ring_used + total > ring_size) {
        ring_used = 0;
        ring_count = 0;
        held_index = -1;
    }
    u8* block = ring_base + ring_used;
    const u32 total_field = static_cast<u32>(total);
    std::memcpy(block, &total_field, sizeof total_field);
    std::memcpy(block + 4, &key, sizeof key);
    ring_used += total;
    if (held_index >= 0) {
        // The key moves to the new block; the old one is left unused until the ring empties.
        ring_blocks[held_index] = block + RING_HEADER_BYTES;
    } else {
        ring_keys[ring_count] = key;
        ring_blocks[ring_count] = block + RING_HEADER_BYTES;
        ring_count += 1;
    }
    return block + RING_HEADER_BYTES;
}
