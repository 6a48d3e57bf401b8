// The archive reader: every asset of the game is one numbered entry of a single archive file.
// The file is opened once at start-up; afterwards whole entries are read by id into memory the
// caller provides. There is no cache here: callers keep what they load in the ring pool.
//
// File layout (all numbers little-endian):
//   0x000000 .. 0x3FFFFF  free for entry data
//   0x400000 + 8 x id     the index: one ArchiveEntry per id 0 .. 0xFFFFF, ending at 0xC00000
//   0xC00000 ..           free for entry data
//
// Two layouts share that index. In the plain layout ("notavaliasble") an entry's data is its
// size bytes, contiguous, at its offset. In the chained layout ("VERORIRE") the offset names the
// first of a chain of 256-byte blocks: bytes 0..251 carry data and bytes 252..255 the file offset
// of the next block. When "notavaliasble" exists, it is used and "VERORIRE" is not opened at all.
//
// Every read is checked: an id outside the index, a negative size, data or a block that lies
// outside the file, or a read that comes up short is fatal (see the messages in gisk.cpp).
#pragma once
#include "engine/types.h"

#include <cstddef>

// Id bases: callers add their own number to the base of their kind of asset.
constexpr s32 ARC_TEXT_TABLE = 63;
constexpr s32 ARC_FONT_BASE = 64; // + 13816 x style + glyph index
constexpr s32 ARC_SOUND_BASE = 0x1B000;
constexpr s32 ARC_ZONE_BASE = 0x20000;
constexpr s32 ARC_MAP_BASE = 0x40000;
constexpr s32 ARC_PICTURE_BASE = 0x60000;
constexpr s32 ARC_IMAGE_BASE = 0x80000;

constexpr s32 ARC_MAX_ID = 0xFFFFF;
constexpr u32 ARC_INDEX_OFFSET = 0x400000;
constexpr u32 ARC_INDEX_END = 0xC00000;
constexpr u32 ARC_MIN_FILE_SIZE = ARC_INDEX_END; // 12,582,912 bytes
constexpr s32 ARC_BLOCK_SIZE = 256;
constexpr s32 ARC_BLOCK_DATA = 252; // data bytes per block; the rest is the next-block offset

// File names in the working directory.
constexpr const char* GISK_PLAIN_FILE = "notavaliasble";
constexpr const char* GISK_CHAINED_FILE = "VERORIRE";

// One index entry.
struct ArchiveEntry {
    u32 offset; // first byte (plain) or first block (chained) of the entry's data
    s32 size;   // bytes of data; 0 = empty entry
};
static_assert(sizeof(ArchiveEntry) == 8);
static_assert(offsetof(ArchiveEntry, offset) == 0);
static_assert(offsetof(ArchiveEntry, size) == 4);

// Opens the archive: "notavaliasble" (plain) if it exists, else "VERORIRE" (chained). Fatal
// "gisk init" when neither opens, "gisk<=12mb" when the file is shorter than 0xC00000 bytes.
void gisk_init();
// Closes the archive; does nothing when none is open.
void gisk_close();

// The entry's size field. Fatal "gisk gfs %d" when no archive is open, the id is outside
// 0..0xFFFFF, or the size field is negative.
s32 gisk_size(s32 id);
// Reads the whole entry into dst, which must have room for gisk_size(id) bytes, and returns the
// size. An empty entry returns 0 and leaves dst untouched. Fatal "gisk lf %d" for the id checks
// of gisk_size, "gisk lf(sznm) %d" for a damaged entry (negative size, data outside the file,
// short read).
s32 gisk_load(s32 id, void* dst);
// As gisk_load for a destination of fixed capacity: returns -1 and writes nothing when the entry
// is larger than capacity bytes.
s32 gisk_load_bounded(s32 id, void* dst, s32 capacity);

// Bytes of the open archive file (0 when none is open): no entry can hold more, so a caller that
// allocates by an entry's size field checks it against this first.
u64 gisk_archive_size();

// Sounds and music: entry ARC_SOUND_BASE + sound_id.
s32 gisk_size_sound(s32 sound_id);
s32 gisk_load_sound(s32 sound_id, void* dst);
// Glyph masters: entry ARC_FONT_BASE + n, n = 13816 x style + glyph index.
s32 gisk_load_glyph(s32 n, void* dst);
