// The archive builder: collects numbered entries in memory and writes them as an archive file in
// either layout the reader understands (see engine/gisk.h). It is the container only; content
// writers (sounds, text table, images...) produce entry bytes and `put` them here.
//
// Tests use it in-process to build their fixtures, including damaged archives; the command-line
// tool morvanta-arc uses it to write the placeholder archive and to list an archive.
#pragma once
#include "engine/gisk.h"
#include "engine/types.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct ArcWriteOptions {
    // Scatter the data: the blocks of all chains (chained layout) or the entries (plain layout)
    // are put in an order drawn from `seed` instead of one after the other in id order.
    bool shuffle = false;
    u32 seed = 1;
    // Put entry data on both sides of the index: entries alternate between the free space below
    // the index (0 .. 0x3FFFFF, while it has room) and the space after it (0xC00000 on).
    // Otherwise all data goes after the index.
    bool both_sides = false;
    // The file is extended to at least this many bytes (sparse: nothing is written there).
    u64 min_file_size = ARC_MIN_FILE_SIZE;
};

// Where the writer put one entry, so that tests can damage a file in a chosen place.
struct ArcPlacement {
    u32 offset = 0;          // the offset written into the index
    std::vector<u32> blocks; // chained layout: the offset of every block, in chain order
};

struct ArcWriteResult {
    std::map<u32, ArcPlacement> entries; // every non-empty entry
    u64 file_size = 0;
};

// The bytes of one entry, read-only and shared between copies of a builder: a copy of a builder
// that holds the whole placeholder content copies no entry data. Reads like a const byte vector.
class ArcBytes {
  public:
    ArcBytes() = default;
    explicit ArcBytes(std::vector<u8> bytes);

    const std::vector<u8>& bytes() const { return blob_ ? blob_->bytes : empty_bytes(); }
    operator const std::vector<u8>&() const { return bytes(); }
    size_t size() const { return bytes().size(); }
    bool empty() const { return bytes().empty(); }
    const u8* data() const { return bytes().data(); }
    std::vector<u8>::const_iterator begin() const { return bytes().begin(); }
    std::vector<u8>::const_iterator end() const { return bytes().end(); }
    u8 operator[](size_t i) const { return bytes()[i]; }
    // A 64-bit digest of the bytes, computed once when they were put.
    u64 digest() const { return blob_ ? blob_->digest : 0; }

  private:
    struct Blob {
        std::vector<u8> bytes;
        u64 digest;
    };
    static const std::vector<u8>& empty_bytes();
    std::shared_ptr<const Blob> blob_;
};

class ArcBuilder {
  public:
    // Sets entry id (0 .. 0xFFFFF) to bytes, replacing what it held. An empty vector makes an
    // empty entry. Throws std::invalid_argument for an id or a size the index cannot hold.
    void put(u32 id, std::vector<u8> bytes);
    // Writes this index entry verbatim after the data, whatever it points at: for damaged
    // archives in tests (offsets outside the file, negative sizes...).
    void put_raw_entry(u32 id, u32 offset, s32 size);

    // Makes entry id share the data of entry source: its index entry is written as a copy of
    // source's (empty when source is empty). Lets many ids carry the same bytes once.
    void alias(u32 id, u32 source);

    const std::map<u32, ArcBytes>& entries() const { return entries_; }
    const std::map<u32, u32>& aliases() const { return aliases_; }
    const std::map<u32, ArchiveEntry>& raw_entries() const { return raw_entries_; }

    // A digest of everything the builder holds (entries, aliases, raw entries): two builders
    // with the same digest write the same archive. Costs one step per entry, no byte reads.
    u64 digest() const;

  private:
    std::map<u32, ArcBytes> entries_;
    std::map<u32, ArchiveEntry> raw_entries_;
    std::map<u32, u32> aliases_;
};

// Writes the archive to path in the chained layout (blocks of 252 data bytes and a next-block
// offset) or in the plain layout. The file is replaced. Throws std::runtime_error on I/O errors.
ArcWriteResult arc_write_chained(const ArcBuilder& builder, const std::string& path,
                                 const ArcWriteOptions& options = {});
ArcWriteResult arc_write_plain(const ArcBuilder& builder, const std::string& path,
                               const ArcWriteOptions& options = {});

// Writes `builder` as a chained archive at `path` from `base_path`, the chained archive that
// arc_write_chained wrote of `base`: a copy of that file with the entries in which `builder`
// differs from `base` appended as new chains and the index mended. The archive reads exactly as
// a full write of `builder` would; only where the blocks lie differs. Returns false, having
// written nothing, when either builder holds raw entries or `builder` drops most of `base`
// (a full write is then the cheaper one). Throws std::runtime_error on I/O errors.
bool arc_write_chained_over(const ArcBuilder& base, const std::string& base_path,
                            const ArcBuilder& builder, const std::string& path);

// Damage and inspection helpers for existing files.
void arc_poke(const std::string& path, u64 offset, const void* bytes, size_t count);
void arc_poke_u32(const std::string& path, u64 offset, u32 value); // little-endian
void arc_truncate(const std::string& path, u64 size);

struct ArcIndexRow {
    u32 id;
    u32 offset;
    s32 size;
};
// The non-empty index entries of an archive file, in id order (either layout).
std::vector<ArcIndexRow> arc_read_index(const std::string& path);

// The placeholder archive: the content the program needs to start, until the real assets exist.
// Everything but the font and the maps: texts, sounds and every picture. An empty builder
// receives a copy of the content the process made at its first call; that first call reads it,
// with MORVANTA_PLACEHOLDER_CACHE naming a directory, from a cache that the first process of
// the same program writes there (the test suite sets it: several processes share the content).
void arc_put_placeholder_content(ArcBuilder& builder);
// Writes the whole placeholder archive, the font included, as dir + "/VERORIRE" (chained layout).
void arc_build_placeholder(const std::string& dir);
