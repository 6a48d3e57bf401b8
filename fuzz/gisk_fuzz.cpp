// Fuzz target for the archive reader: the input becomes an archive file and every entry it
// names is read. Fatal errors (PlatFatal) are the expected answer to a damaged archive; crashes,
// hangs and sanitizer reports are bugs.
//
// Input: byte 0 picks the layout (bit 0: plain), the next 16 x 8 bytes are the index entries of
// ids 0..15, the rest is a data blob. The blob is written both at the start of the file (below
// the index) and right after the index, and the file ends where the second copy ends (at least
// 12 MB: the index region is a hole). Small offsets and offsets just past 0xC00000 both hit data.
#include "engine/gisk.h"
#include "platform/harness.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t FUZZ_IDS = 16;
// Large enough for entries that the reader reads straight into the destination (> 256 KB).
constexpr s32 FUZZ_CAPACITY = 1 << 20;

void write_file(const char* name, const u8* index, size_t index_bytes, const u8* blob,
                size_t blob_bytes) {
    int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) __builtin_trap();
    bool ok = ftruncate(fd, off_t(ARC_INDEX_END + blob_bytes)) == 0;
    ok = ok && pwrite(fd, blob, blob_bytes, 0) == ssize_t(blob_bytes);
    ok = ok && pwrite(fd, blob, blob_bytes, ARC_INDEX_END) == ssize_t(blob_bytes);
    ok = ok && pwrite(fd, index, index_bytes, ARC_INDEX_OFFSET) == ssize_t(index_bytes);
    close(fd);
    if (!ok) __builtin_trap();
}

template <class F> void expect_fatal_or_return(F body) {
    try {
        body();
    } catch (const PlatFatal&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static HarnessTempDir dir; // the working directory for the whole run
    if (size < 1) return 0;
    bool plain = data[0] & 1;
    size_t index_bytes = std::min(size - 1, FUZZ_IDS * sizeof(ArchiveEntry));
    const u8* index = data + 1;
    const u8* blob = index + index_bytes;
    size_t blob_bytes = size - 1 - index_bytes;

    gisk_close();
    std::remove(GISK_PLAIN_FILE);
    std::remove(GISK_CHAINED_FILE);
    write_file(plain ? GISK_PLAIN_FILE : GISK_CHAINED_FILE, index, index_bytes, blob, blob_bytes);

    static std::vector<u8> bounded(FUZZ_CAPACITY);
    for (s32 id = 0; id < s32(FUZZ_IDS); ++id) {
        // The reader closes the archive on every fatal error: open it again for each step.
        s32 size_field = -1;
        expect_fatal_or_return([&] {
            gisk_init();
            size_field = gisk_size(id);
        });
        expect_fatal_or_return([&] {
            gisk_init();
            s32 got = gisk_load_bounded(id, bounded.data(), FUZZ_CAPACITY);
            if (got > FUZZ_CAPACITY || got < -1) __builtin_trap();
        });
        if (size_field >= 0 && size_field <= FUZZ_CAPACITY) {
            // A destination of exactly the reported size: any write past it is an ASan report.
            std::vector<u8> exact(static_cast<size_t>(size_field));
            expect_fatal_or_return([&] {
                gisk_init();
                if (gisk_load(id, exact.data()) != size_field) __builtin_trap();
            });
        }
    }
    gisk_close();
    return 0;
}
