// Seeds of the archive target: index entries and a data blob in the target's layout
// (fuzz/gisk_fuzz.cpp): byte 0 the layout, 16 index entries, then the blob, which lies both at
// offset 0 and at ARC_INDEX_END of the file. Chained seeds hold chains of one, two and three
// blocks in either copy, one ending in a partly used block and one crossing between the copies;
// plain seeds hold entries in both copies, one ending exactly at the end of the file.
#include "engine/gisk.h"
#include "fuzz/seeds/seed_dir.h"

#include <string>
#include <vector>

namespace {

struct Entry {
    u32 offset;
    s32 size;
};

std::vector<u8> input(bool plain, const std::vector<Entry>& entries, const std::vector<u8>& blob) {
    std::vector<u8> in = {u8(plain ? 1 : 0)};
    for (size_t id = 0; id < 16; ++id) {
        const Entry e = id < entries.size() ? entries[id] : Entry{0, 0};
        seed_put32(in, e.offset);
        seed_put32(in, u32(e.size));
    }
    in.insert(in.end(), blob.begin(), blob.end());
    return in;
}

// A blob of `blocks` chained blocks: block i's data is a pattern of i, its next-block field
// the file offset given by `next` (in the low copy or the high one).
std::vector<u8> chained_blob(const std::vector<u32>& next) {
    std::vector<u8> blob;
    for (size_t i = 0; i < next.size(); ++i) {
        for (s32 k = 0; k < ARC_BLOCK_DATA; ++k) blob.push_back(u8(i * 31 + size_t(k)));
        seed_put32(blob, next[i]);
    }
    return blob;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    const u32 B = ARC_BLOCK_SIZE, HIGH = ARC_INDEX_END;
    // Blocks: 0 -> 1 (low copy), 2 alone, 3 -> 4 -> 5 (high copy), 6 -> 0 (high, then low).
    const std::vector<u8> chains = chained_blob({B, 0, 0, HIGH + 4 * B, HIGH + 5 * B, 0, 0, 0});
    seed_write(dir, "chained",
               input(false,
                     {{0, 300},
                      {2 * B, 252},
                      {HIGH + 3 * B, 700},
                      {0, 0},
                      {HIGH + 6 * B, 253},
                      {HIGH + 2 * B, 1},
                      {7 * B, 252 * 3}},
                     chains));
    std::vector<u8> data(3000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = u8(i * 7);
    seed_write(
        dir, "plain",
        input(true,
              {{0, 100}, {100, 2900}, {HIGH, 3000}, {HIGH + 2999, 1}, {0, 0}, {HIGH + 10, 3000}},
              data));
    return 0;
}
