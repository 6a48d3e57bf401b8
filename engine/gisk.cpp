// The archive reader. See gisk.h for the file layout.
//
// Failure messages (all through shell_fatal):
//   "gisk init"          neither "notavaliasble" nor "VERORIRE" can be opened
//   "gisk<=12mb"         the opened file is shorter than 0xC00000 bytes
//   "gisk gfs %d"        gisk_size: no archive open, id outside 0..0xFFFFF, negative size field
//   "gisk lf %d"         gisk_load: no archive open, id outside 0..0xFFFFF
//   "gisk lf(sznm) %d"   gisk_load: negative size field, entry data or a block outside the file,
//                        or a read that came up short
//
// Chained entries are checked block by block. A block whose next-block offset is followed must
// lie whole inside the file (offset + 256 <= file size). The last block of an entry only needs
// its data bytes inside the file (offset + bytes used <= file size), so a chain may end in a
// short block exactly at the end of the file; its next-block field is never read.
#include "engine/gisk.h"

#include "engine/shell.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int gisk_fd = -1;
s32 gisk_plain = 0; // 1 = plain layout, 0 = chained
u64 gisk_file_size = 0;

// Index pages, read from the file on first use and kept while the archive stays open (the file
// does not change under a running game). The 8 MB buffer is allocated once; only the pages
// that are used ever get touched.
constexpr u32 GISK_INDEX_BYTES = ARC_INDEX_END - ARC_INDEX_OFFSET;
constexpr u32 GISK_INDEX_PAGE = 4096;
constexpr u32 GISK_INDEX_PAGES = GISK_INDEX_BYTES / GISK_INDEX_PAGE;
static_assert(GISK_INDEX_BYTES % GISK_INDEX_PAGE == 0);
static_assert(GISK_INDEX_PAGE % sizeof(ArchiveEntry) == 0);
std::unique_ptr<u8[]> gisk_index;
u8 gisk_index_loaded[GISK_INDEX_PAGES];

// Blocks of a chain pass through this window. While a chain runs on block after block in file
// order, as much of the rest of it as fits is read with one call (system calls cost more than
// copying here); after a jump only the next block is read, until the chain runs on in file order
// again. The window is emptied at the start of every load.
//
// A run longer than the window is read straight into the destination instead and compacted in
// place (each block's data moved down over the next-block offsets before it), which saves the
// copy through the window. Only whole blocks that the entry still needs in full are read that
// way, so the destination is never written past the entry's size.
constexpr u32 GISK_WINDOW_SIZE = 256 * 1024;
static_assert(GISK_WINDOW_SIZE % ARC_BLOCK_SIZE == 0);
u8 gisk_window[GISK_WINDOW_SIZE];
u64 gisk_window_start = 0;
u64 gisk_window_length = 0;

u32 read_le32(const u8* p) {
    return u32(p[0]) | (u32(p[1]) << 8) | (u32(p[2]) << 16) | (u32(p[3]) << 24);
}

// Reads up to len bytes at pos; returns the bytes read (fewer only at the end of the file or on
// a read error).
u64 read_at(void* dst, u64 len, u64 pos) {
    u8* out = static_cast<u8*>(dst);
    u64 done = 0;
    while (done < len) {
        ssize_t got = pread(gisk_fd, out + done, len - done, off_t(pos + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += u64(got);
    }
    return done;
}

// Opens name for reading; -1 when it cannot be opened or is a directory.
int open_archive_file(const char* name, u64* size) {
    int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return -1;
    }
    *size = u64(st.st_size);
    return fd;
}

bool id_valid(s32 id) {
    return gisk_fd >= 0 && id >= 0 && id <= ARC_MAX_ID;
}

// Reads the index entry of a valid id; false when the read came up short.
bool read_entry(s32 id, ArchiveEntry* entry) {
    u32 at = u32(sizeof(ArchiveEntry)) * u32(id);
    u32 page = at / GISK_INDEX_PAGE;
    u8* bytes = gisk_index.get() + u64(page) * GISK_INDEX_PAGE;
    if (!gisk_index_loaded[page]) {
        u64 pos = u64(ARC_INDEX_OFFSET) + u64(page) * GISK_INDEX_PAGE;
        if (read_at(bytes, GISK_INDEX_PAGE, pos) != GISK_INDEX_PAGE) return false;
        gisk_index_loaded[page] = 1;
    }
    entry->offset = read_le32(gisk_index.get() + at);
    entry->size = s32(read_le32(gisk_index.get() + at + 4));
    return true;
}

// The index entry for gisk_load and gisk_load_bounded, with the id and size checks.
ArchiveEntry load_entry(s32 id) {
    if (!id_valid(id)) shell_fatal("gisk lf %d", id);
    ArchiveEntry entry;
    if (!read_entry(id, &entry) || entry.size < 0) shell_fatal("gisk lf(sznm) %d", id);
    return entry;
}

void load_plain(s32 id, const ArchiveEntry& entry, u8* dst) {
    u64 size = u64(entry.size);
    if (u64(entry.offset) + size > gisk_file_size) shell_fatal("gisk lf(sznm) %d", id);
    if (read_at(dst, size, entry.offset) != size) shell_fatal("gisk lf(sznm) %d", id);
}

// Reads a run of whole blocks from pos straight into dst and compacts it, following the chain
// while it runs on in file order. Returns the blocks taken (0: nothing read, leave it to the
// window); sets *next to where the chain goes on and *in_order to whether that is the block
// after the last one taken.
u64 load_run_direct(u8* dst, u64 remaining, u64 pos, u64* next, bool* in_order) {
    if (pos > gisk_file_size) return 0;
    u64 blocks = remaining / ARC_BLOCK_SIZE; // all of them full and followed by another
    blocks = std::min<u64>(blocks, (gisk_file_size - pos) / ARC_BLOCK_SIZE);
    if (blocks < GISK_WINDOW_SIZE / ARC_BLOCK_SIZE) return 0;
    u64 arrived = read_at(dst, blocks * ARC_BLOCK_SIZE, pos) / ARC_BLOCK_SIZE;
    *next = pos;
    *in_order = true;
    for (u64 b = 0; b < arrived; ++b) {
        // Block b still lies at b x 256: the blocks before it moved below b x 252 + 252.
        const u8* block = dst + b * ARC_BLOCK_SIZE;
        u64 link = read_le32(block + ARC_BLOCK_DATA);
        if (b > 0) std::memmove(dst + b * ARC_BLOCK_DATA, block, ARC_BLOCK_DATA);
        *next = link;
        if (link != pos + (b + 1) * ARC_BLOCK_SIZE) {
            *in_order = false;
            return b + 1;
        }
    }
    return arrived;
}

void load_chained(s32 id, const ArchiveEntry& entry, u8* dst) {
    gisk_window_start = 0;
    gisk_window_length = 0;
    u64 remaining = u64(entry.size);
    u64 pos = entry.offset;
    bool in_order = true; // the chain reached `pos` from the block just before it
    while (remaining > 0) {
        if (in_order && remaining > GISK_WINDOW_SIZE) {
            u64 next = 0;
            u64 taken = load_run_direct(dst, remaining, pos, &next, &in_order);
            if (taken > 0) {
                dst += taken * ARC_BLOCK_DATA;
                remaining -= taken * ARC_BLOCK_DATA;
                pos = next;
                continue;
            }
        }
        bool last = remaining <= u64(ARC_BLOCK_DATA);
        u64 used = last ? remaining : u64(ARC_BLOCK_DATA);
        // A block whose next-block offset is followed must lie whole inside the file; the last
        // block only needs its data bytes.
        u64 needed = last ? used : u64(ARC_BLOCK_SIZE);
        if (pos + needed > gisk_file_size) shell_fatal("gisk lf(sznm) %d", id);
        if (pos < gisk_window_start || pos + needed > gisk_window_start + gisk_window_length) {
            u64 want = u64(ARC_BLOCK_SIZE);
            if (in_order) {
                u64 blocks_left = (remaining + ARC_BLOCK_DATA - 1) / ARC_BLOCK_DATA;
                want = std::min<u64>(blocks_left * ARC_BLOCK_SIZE, GISK_WINDOW_SIZE);
            }
            want = std::min(want, gisk_file_size - pos);
            u64 got = read_at(gisk_window, want, pos);
            if (got < needed) shell_fatal("gisk lf(sznm) %d", id);
            gisk_window_start = pos;
            gisk_window_length = got;
        }
        const u8* block = gisk_window + (pos - gisk_window_start);
        std::memcpy(dst, block, used);
        dst += used;
        remaining -= used;
        if (!last) {
            u64 next = read_le32(block + ARC_BLOCK_DATA);
            in_order = next == pos + ARC_BLOCK_SIZE;
            pos = next;
        }
    }
}

s32 load_entry_data(s32 id, const ArchiveEntry& entry, void* dst) {
    if (entry.size == 0) return 0;
    u8* out = static_cast<u8*>(dst);
    if (gisk_plain)
        load_plain(id, entry, out);
    else
        load_chained(id, entry, out);
    return entry.size;
}

} // namespace

void gisk_init() {
    gisk_close();
    u64 size = 0;
    s32 plain = 1;
    int fd = open_archive_file(GISK_PLAIN_FILE, &size);
    if (fd < 0) {
        plain = 0;
        fd = open_archive_file(GISK_CHAINED_FILE, &size);
    }
    if (fd < 0) shell_fatal("gisk init");
    if (size < ARC_MIN_FILE_SIZE) {
        close(fd);
        shell_fatal("gisk<=12mb");
    }
    gisk_fd = fd;
    gisk_plain = plain;
    gisk_file_size = size;
    if (!gisk_index) gisk_index.reset(new u8[GISK_INDEX_BYTES]);
    std::memset(gisk_index_loaded, 0, sizeof gisk_index_loaded);
    gisk_window_start = 0;
    gisk_window_length = 0;
}

void gisk_close() {
    if (gisk_fd >= 0) close(gisk_fd);
    gisk_fd = -1;
    gisk_plain = 0;
    gisk_file_size = 0;
    std::memset(gisk_index_loaded, 0, sizeof gisk_index_loaded);
}

u64 gisk_archive_size() {
    return gisk_file_size;
}

s32 gisk_size(s32 id) {
    if (!id_valid(id)) shell_fatal("gisk gfs %d", id);
    ArchiveEntry entry;
    if (!read_entry(id, &entry) || entry.size < 0) shell_fatal("gisk gfs %d", id);
    return entry.size;
}

s32 gisk_load(s32 id, void* dst) {
    ArchiveEntry entry = load_entry(id);
    return load_entry_data(id, entry, dst);
}

s32 gisk_load_bounded(s32 id, void* dst, s32 capacity) {
    ArchiveEntry entry = load_entry(id);
    if (entry.size > capacity) return -1;
    return load_entry_data(id, entry, dst);
}

// The sum wraps rather than overflows, so a wild number still reaches the id check.
static s32 offset_id(s32 base, s32 n) {
    return s32(u32(base) + u32(n));
}

s32 gisk_size_sound(s32 sound_id) {
    return gisk_size(offset_id(ARC_SOUND_BASE, sound_id));
}

s32 gisk_load_sound(s32 sound_id, void* dst) {
    return gisk_load(offset_id(ARC_SOUND_BASE, sound_id), dst);
}

s32 gisk_load_glyph(s32 n, void* dst) {
    return gisk_load(offset_id(ARC_FONT_BASE, n), dst);
}
