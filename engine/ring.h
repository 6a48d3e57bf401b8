// The memory pool and the ring.
//
// The program makes one large zeroed allocation for the whole run, sized by the machine's
// physical memory, and carves it into the glyph cache (keys and one-bit masters) and the ring:
// a keyed area from which loaded assets take their memory. The ring never frees single blocks:
// it fills from its base, and when it is full, or holds RING_MAX_BLOCKS blocks, it empties itself
// whole and starts again. A pointer into the ring is good only until the next allocation of a
// key that the ring does not hold, so callers look their asset up by key at every use.
#pragma once
#include "engine/types.h"

#include <cstddef>

// One row of the pool tiers: the first row whose threshold the physical memory reaches wins.
struct PoolTier {
    u64 threshold;        // total physical memory at least this many bytes
    s32 pool_size;        // bytes allocated for the pool
    s32 glyph_slot_count; // glyph cache slots carved from its start
    s32 log_s32k;         // only passed to the start-up log
    s32 log_s64k;         // only passed to the start-up log
};

constexpr s32 POOL_TIER_COUNT = 9;
extern const PoolTier pool_tiers[POOL_TIER_COUNT];

constexpr s32 POOL_GLYPH_KEY_BYTES = 4; // one s32 key per glyph slot
constexpr s32 POOL_GLYPH_BYTES = 1152;  // one 96 x 96 one-bit glyph master per slot
constexpr s32 RING_MAX_BLOCKS = 4096;   // a full key table empties the ring
constexpr s32 RING_HEADER_BYTES = 8;    // u32 total, s32 key, then the data
constexpr s32 RING_MAX_TOTAL = 8388608; // a block of this many bytes or more is refused
constexpr u32 POOL_MB = 1048576;

// The tier for a machine with `physical` bytes of memory.
const PoolTier& pool_tier_for(u64 physical);

// ---- Pool ---------------------------------------------------------------------------------------
extern u8* pool_base; // null until the pool is carved and after it is released
extern s32 pool_size;
extern s32 glyph_slot_count;
extern s32* glyph_keys;   // glyph_slot_count keys (13816 x style + glyph index), 0 at start
extern u8* glyph_bitmaps; // glyph_slot_count masters of POOL_GLYPH_BYTES, blank at start

// Reads the physical memory, picks the tier, allocates the zeroed pool and carves it. Failure to
// allocate is fatal. Calling it again first releases the pool it holds.
void pool_init();
// Frees the pool if it is allocated (safe when it is not); the ring and the glyph cache go with it.
void pool_release();

// The allocator behind `pool_init`: returns `size` zeroed bytes or null. Tests may replace it to
// see the refusal; `pool_release` frees with std::free.
extern void* (*pool_allocate_seam)(size_t size);

// ---- Ring ---------------------------------------------------------------------------------------
extern u8* ring_base;
extern s32 ring_size;  // bytes from ring_base to the end of the pool
extern s32 ring_used;  // bytes handed out since the ring was last emptied
extern s32 ring_count; // blocks in the ring, 0 .. RING_MAX_BLOCKS
extern s32 ring_keys[RING_MAX_BLOCKS];
extern u8* ring_blocks[RING_MAX_BLOCKS]; // data pointer of each block, in order of allocation

// Empties the ring. Fatal "ring:ptr=NULL" when the pool has not been carved.
void ring_reset();
// Data of the first block held under `key`, or null.
u8* ring_find(s32 key);
// Data of a block for `key`: the block already held under the key when `size` fits its data part
// (its content is what was stored before), otherwise a new block whose data is not cleared. A
// held key asked for more than its block holds moves to a new block (the old contents are not
// carried over). The data part is `size` rounded down to a multiple of 4, plus 4.
u8* ring_alloc(s32 key, s32 size);
