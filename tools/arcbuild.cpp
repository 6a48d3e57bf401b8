#include "tools/arcbuild.h"
#include "tools/placeholder_minigames.h"

#include "tools/glyph_font.h"
#include "tools/placeholder_battle.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_maps.h"
#include "tools/placeholder_world.h"
#include "tools/text_writer.h"

#include "tools/wav.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An open file that closes itself; every failure throws with the path and the system's reason.
class ArcFile {
  public:
    ArcFile(const std::string& path, int flags) : path_(path) {
        fd_ = open(path.c_str(), flags | O_CLOEXEC, 0644);
        if (fd_ < 0) fail("open");
    }
    ~ArcFile() {
        if (fd_ >= 0) close(fd_);
    }
    ArcFile(const ArcFile&) = delete;
    ArcFile& operator=(const ArcFile&) = delete;

    void write_at(u64 pos, const void* bytes, size_t count) {
        const u8* p = static_cast<const u8*>(bytes);
        while (count > 0) {
            ssize_t done = pwrite(fd_, p, count, off_t(pos));
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) fail("write");
            p += done;
            pos += u64(done);
            count -= size_t(done);
        }
    }
    size_t read_at(u64 pos, void* bytes, size_t count) {
        u8* p = static_cast<u8*>(bytes);
        size_t total = 0;
        while (total < count) {
            ssize_t done = pread(fd_, p + total, count - total, off_t(pos + total));
            if (done < 0 && errno == EINTR) continue;
            if (done < 0) fail("read");
            if (done == 0) break;
            total += size_t(done);
        }
        return total;
    }
    u64 size() {
        struct stat st;
        if (fstat(fd_, &st) != 0) fail("stat");
        return u64(st.st_size);
    }
    void resize(u64 size) {
        if (ftruncate(fd_, off_t(size)) != 0) fail("truncate");
    }

    int fd() const { return fd_; }
    [[noreturn]] void fail(const char* what) {
        throw std::runtime_error("arcbuild: " + std::string(what) + " " + path_ + ": " +
                                 std::strerror(errno));
    }

  private:
    std::string path_;
    int fd_ = -1;
};

void store_le32(u8* p, u32 v) {
    p[0] = u8(v);
    p[1] = u8(v >> 8);
    p[2] = u8(v >> 16);
    p[3] = u8(v >> 24);
}

u32 load_le32(const u8* p) {
    return u32(p[0]) | (u32(p[1]) << 8) | (u32(p[2]) << 16) | (u32(p[3]) << 24);
}

u64 index_pos(u32 id) {
    return u64(ARC_INDEX_OFFSET) + u64(sizeof(ArchiveEntry)) * id;
}

// Hands out space for entry data: below the index while it has room (when both sides are used)
// and after the index.
class Space {
  public:
    explicit Space(bool both_sides) : both_sides_(both_sides) {}

    // Space for `bytes` bytes of entry number k (counting non-empty entries in placing order).
    u64 take(u64 k, u64 bytes) {
        if (both_sides_ && k % 2 == 0 && low_ + bytes <= ARC_INDEX_OFFSET) {
            u64 at = low_;
            low_ += bytes;
            return at;
        }
        u64 at = high_;
        high_ += bytes;
        return at;
    }
    u64 low_end() const { return low_; }
    u64 high_end() const { return high_; }

  private:
    bool both_sides_;
    u64 low_ = 0;
    u64 high_ = ARC_INDEX_END;
};

// The data of both regions, assembled in memory and written with one call each.
struct Regions {
    std::vector<u8> low;  // file bytes 0 .. low.size()
    std::vector<u8> high; // file bytes ARC_INDEX_END ..
    explicit Regions(const Space& space)
        : low(space.low_end(), 0), high(space.high_end() - ARC_INDEX_END, 0) {}
    u8* at(u64 pos) { return pos < ARC_INDEX_END ? &low[pos] : &high[pos - ARC_INDEX_END]; }
};

u32 file_offset(u64 pos) {
    if (pos > 0xFFFFFFFFull) throw std::runtime_error("arcbuild: archive larger than 4 GB");
    return u32(pos);
}

// Writes the data regions, the index and the raw entries, then sizes the file.
u64 finish_file(const ArcBuilder& builder, const std::string& path, Regions& regions,
                const std::map<u32, ArchiveEntry>& index, const ArcWriteOptions& options) {
    ArcFile file(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (!regions.low.empty()) file.write_at(0, regions.low.data(), regions.low.size());
    if (!regions.high.empty())
        file.write_at(ARC_INDEX_END, regions.high.data(), regions.high.size());

    // Index entries of consecutive ids go out in one write; the rest of the index stays a hole
    // (zeros: empty entries).
    std::map<u32, ArchiveEntry> all = index;
    for (const auto& [id, source] : builder.aliases()) {
        auto found = index.find(source);
        if (found != index.end()) all[id] = found->second;
    }
    for (const auto& [id, entry] : builder.raw_entries()) all[id] = entry;
    std::vector<u8> run;
    u32 run_first = 0;
    auto flush = [&] {
        if (!run.empty()) file.write_at(index_pos(run_first), run.data(), run.size());
        run.clear();
    };
    for (const auto& [id, entry] : all) {
        if (!run.empty() && id != run_first + run.size() / sizeof(ArchiveEntry)) flush();
        if (run.empty()) run_first = id;
        u8 raw[sizeof(ArchiveEntry)];
        store_le32(raw, entry.offset);
        store_le32(raw + 4, u32(entry.size));
        run.insert(run.end(), raw, raw + sizeof raw);
    }
    flush();

    u64 size = file.size();
    if (size < options.min_file_size) {
        file.resize(options.min_file_size);
        size = options.min_file_size;
    }
    return size;
}

// The ids of the non-empty entries, in id order.
std::vector<u32> stored_ids(const ArcBuilder& builder) {
    std::vector<u32> ids;
    for (const auto& [id, bytes] : builder.entries())
        if (!bytes.empty()) ids.push_back(id);
    return ids;
}

} // namespace

namespace {

// A word-at-a-time 64-bit mix: fast enough to run over every byte put into a builder.
u64 bytes_digest(const std::vector<u8>& bytes) {
    constexpr u64 MUL = 0x9E3779B97F4A7C15ull;
    u64 h = 0x243F6A8885A308D3ull ^ (u64(bytes.size()) * MUL);
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        u64 w;
        std::memcpy(&w, bytes.data() + i, 8);
        h = (h ^ w) * MUL;
        h ^= h >> 29;
    }
    u64 tail = 0;
    for (size_t k = 0; i + k < bytes.size(); ++k) tail |= u64(bytes[i + k]) << (8 * k);
    h = (h ^ tail) * MUL;
    return h ^ (h >> 32);
}

u64 mix(u64 h, u64 v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

} // namespace

ArcBytes::ArcBytes(std::vector<u8> bytes) {
    const u64 digest = bytes_digest(bytes);
    blob_ = std::make_shared<const Blob>(Blob{std::move(bytes), digest});
}

const std::vector<u8>& ArcBytes::empty_bytes() {
    static const std::vector<u8> none;
    return none;
}

void ArcBuilder::put(u32 id, std::vector<u8> bytes) {
    if (id > u32(ARC_MAX_ID)) throw std::invalid_argument("arcbuild: id outside the index");
    if (bytes.size() > 0x7FFFFFFFu) throw std::invalid_argument("arcbuild: entry too large");
    aliases_.erase(id);
    entries_[id] = ArcBytes(std::move(bytes));
}

u64 ArcBuilder::digest() const {
    u64 h = mix(0, entries_.size());
    for (const auto& [id, bytes] : entries_) h = mix(mix(h, id), bytes.digest());
    h = mix(h, aliases_.size());
    for (const auto& [id, source] : aliases_) h = mix(mix(h, id), source);
    h = mix(h, raw_entries_.size());
    for (const auto& [id, entry] : raw_entries_)
        h = mix(mix(mix(h, id), entry.offset), u64(u32(entry.size)));
    return h;
}

void ArcBuilder::alias(u32 id, u32 source) {
    if (id > u32(ARC_MAX_ID) || source > u32(ARC_MAX_ID))
        throw std::invalid_argument("arcbuild: id outside the index");
    entries_.erase(id);
    aliases_[id] = source;
}

void ArcBuilder::put_raw_entry(u32 id, u32 offset, s32 size) {
    if (id > u32(ARC_MAX_ID)) throw std::invalid_argument("arcbuild: id outside the index");
    raw_entries_[id] = ArchiveEntry{offset, size};
}

ArcWriteResult arc_write_chained(const ArcBuilder& builder, const std::string& path,
                                 const ArcWriteOptions& options) {
    const auto& entries = builder.entries();
    // Place every block: each chain's blocks one after the other in its region.
    std::vector<u32> ids = stored_ids(builder);
    Space space(options.both_sides);
    std::vector<u64> slots; // block positions, in order of (entry id, block number)
    for (size_t k = 0; k < ids.size(); ++k) {
        u64 blocks = (entries.at(ids[k]).size() + ARC_BLOCK_DATA - 1) / ARC_BLOCK_DATA;
        u64 at = space.take(k, blocks * ARC_BLOCK_SIZE);
        for (u64 b = 0; b < blocks; ++b) slots.push_back(at + b * ARC_BLOCK_SIZE);
    }
    // Shuffling deals the same positions out to the blocks in a random order, so chains jump
    // back and forth across the whole file, and across the index when both sides are used.
    if (options.shuffle) std::shuffle(slots.begin(), slots.end(), std::mt19937(options.seed));

    Regions regions(space);
    ArcWriteResult result;
    std::map<u32, ArchiveEntry> index;
    size_t slot = 0;
    for (u32 id : ids) {
        const std::vector<u8>& bytes = entries.at(id).bytes();
        ArcPlacement& placed = result.entries[id];
        size_t blocks = (bytes.size() + ARC_BLOCK_DATA - 1) / ARC_BLOCK_DATA;
        for (size_t b = 0; b < blocks; ++b) placed.blocks.push_back(file_offset(slots[slot + b]));
        slot += blocks;
        for (size_t b = 0; b < blocks; ++b) {
            u8* block = regions.at(placed.blocks[b]);
            size_t from = b * ARC_BLOCK_DATA;
            size_t count = std::min<size_t>(ARC_BLOCK_DATA, bytes.size() - from);
            std::memcpy(block, bytes.data() + from, count);
            store_le32(block + ARC_BLOCK_DATA, b + 1 < blocks ? placed.blocks[b + 1] : 0);
        }
        placed.offset = placed.blocks[0];
        index[id] = ArchiveEntry{placed.offset, s32(bytes.size())};
    }
    result.file_size = finish_file(builder, path, regions, index, options);
    return result;
}

bool arc_write_chained_over(const ArcBuilder& base, const std::string& base_path,
                            const ArcBuilder& builder, const std::string& path) {
    if (!base.raw_entries().empty() || !builder.raw_entries().empty()) return false;
    const auto& entries = builder.entries();
    size_t dropped = 0;
    for (const auto& [id, bytes] : base.entries()) dropped += entries.count(id) == 0 ? 1 : 0;
    if (dropped * 2 > base.entries().size()) return false;

    // The copy, made by the kernel.
    {
        ArcFile from(base_path, O_RDONLY);
        ArcFile to(path, O_WRONLY | O_CREAT | O_TRUNC);
        for (u64 left = from.size(); left > 0;) {
            const ssize_t n = copy_file_range(from.fd(), nullptr, to.fd(), nullptr, left, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) to.fail("copy");
            left -= u64(n);
        }
    }
    ArcFile file(path, O_RDWR);
    std::vector<u8> index(ARC_INDEX_END - ARC_INDEX_OFFSET, 0);
    file.read_at(ARC_INDEX_OFFSET, index.data(), index.size());
    auto set_index = [&index](u32 id, u32 offset, u32 size) {
        store_le32(&index[id * sizeof(ArchiveEntry)], offset);
        store_le32(&index[id * sizeof(ArchiveEntry) + 4], size);
    };

    // Entries of the base that the builder no longer holds, as entries or as aliases, are
    // emptied; entries that are new or changed get a chain after the end of the file.
    for (const auto& [id, bytes] : base.entries())
        if (entries.count(id) == 0) set_index(id, 0, 0);
    for (const auto& [id, source] : base.aliases())
        if (builder.aliases().count(id) == 0 && entries.count(id) == 0) set_index(id, 0, 0);
    const u64 end = file.size();
    std::vector<u8> tail;
    for (const auto& [id, bytes] : entries) {
        const auto was = base.entries().find(id);
        if (was != base.entries().end() && was->second.digest() == bytes.digest() &&
            was->second.size() == bytes.size())
            continue;
        if (bytes.empty()) {
            set_index(id, 0, 0);
            continue;
        }
        const size_t blocks = (bytes.size() + ARC_BLOCK_DATA - 1) / ARC_BLOCK_DATA;
        const u64 first = end + tail.size();
        tail.resize(tail.size() + blocks * ARC_BLOCK_SIZE, 0);
        for (size_t b = 0; b < blocks; ++b) {
            u8* block = &tail[first - end + b * ARC_BLOCK_SIZE];
            const size_t from = b * ARC_BLOCK_DATA;
            std::memcpy(block, bytes.data() + from,
                        std::min<size_t>(ARC_BLOCK_DATA, bytes.size() - from));
            const u64 next = first + (b + 1) * ARC_BLOCK_SIZE;
            store_le32(block + ARC_BLOCK_DATA, b + 1 < blocks ? file_offset(next) : 0);
        }
        set_index(id, file_offset(first), u32(bytes.size()));
    }
    // Aliases take their source's index entry as the full write gives it: a stored entry's, or
    // none.
    for (const auto& [id, source] : builder.aliases()) {
        const auto found = entries.find(source);
        if (found == entries.end() || found->second.empty()) {
            set_index(id, 0, 0);
            continue;
        }
        std::memcpy(&index[id * sizeof(ArchiveEntry)], &index[source * sizeof(ArchiveEntry)],
                    sizeof(ArchiveEntry));
    }
    if (!tail.empty()) file.write_at(end, tail.data(), tail.size());
    file.write_at(ARC_INDEX_OFFSET, index.data(), index.size());
    return true;
}

ArcWriteResult arc_write_plain(const ArcBuilder& builder, const std::string& path,
                               const ArcWriteOptions& options) {
    const auto& entries = builder.entries();
    // Shuffling places the entries in a random order.
    std::vector<u32> ids = stored_ids(builder);
    if (options.shuffle) std::shuffle(ids.begin(), ids.end(), std::mt19937(options.seed));
    Space space(options.both_sides);
    ArcWriteResult result;
    std::map<u32, ArchiveEntry> index;
    for (size_t k = 0; k < ids.size(); ++k) {
        u64 at = space.take(k, entries.at(ids[k]).size());
        result.entries[ids[k]].offset = file_offset(at);
    }
    Regions regions(space);
    for (const auto& [id, placed] : result.entries) {
        const std::vector<u8>& bytes = entries.at(id).bytes();
        std::memcpy(regions.at(placed.offset), bytes.data(), bytes.size());
        index[id] = ArchiveEntry{placed.offset, s32(bytes.size())};
    }
    result.file_size = finish_file(builder, path, regions, index, options);
    return result;
}

void arc_poke(const std::string& path, u64 offset, const void* bytes, size_t count) {
    ArcFile file(path, O_WRONLY);
    file.write_at(offset, bytes, count);
}

void arc_poke_u32(const std::string& path, u64 offset, u32 value) {
    u8 raw[4];
    store_le32(raw, value);
    arc_poke(path, offset, raw, sizeof raw);
}

void arc_truncate(const std::string& path, u64 size) {
    ArcFile file(path, O_WRONLY);
    file.resize(size);
}

std::vector<ArcIndexRow> arc_read_index(const std::string& path) {
    ArcFile file(path, O_RDONLY);
    std::vector<u8> index(ARC_INDEX_END - ARC_INDEX_OFFSET, 0);
    size_t got = file.read_at(ARC_INDEX_OFFSET, index.data(), index.size());
    std::vector<ArcIndexRow> rows;
    for (size_t pos = 0; pos + sizeof(ArchiveEntry) <= got; pos += sizeof(ArchiveEntry)) {
        s32 size = s32(load_le32(&index[pos + 4]));
        if (size == 0) continue;
        rows.push_back(ArcIndexRow{u32(pos / sizeof(ArchiveEntry)), load_le32(&index[pos]), size});
    }
    return rows;
}

namespace {

void put_placeholder_content(ArcBuilder& builder) {
    // Our own content: a text for every id, showing its own number.
    text_put_placeholder_texts(builder);

    // Our own content: short tones for the sounds the engine and the rules play most: 100 a
    // footstep (101..104 the placeholder ground's footsteps), 500 a gain, 501 an item received,
    // 507 a loss; and two pieces that scenes pace their pictures by, so that those play visibly:
    // 10064 the city's performance, 10065 the trials' ceremony.
    struct Tone {
        u32 sound_id;
        u32 duration_ms;
        u32 frequency_hz;
    };
    const Tone tones[] = {{100, 60, 180},     {101, 60, 200},    {102, 60, 160},  {103, 60, 220},
                          {104, 60, 140},     {500, 150, 880},   {501, 200, 660}, {507, 200, 220},
                          {10064, 4000, 392}, {10065, 3000, 440}};
    WavFormat format; // 22,050 Hz, mono, 16 bits
    for (const Tone& t : tones)
        builder.put(u32(ARC_SOUND_BASE) + t.sound_id,
                    wav_tone(format, t.duration_ms, t.frequency_hz));

    // Our own content: the 32 cursor images (arrows) and framed boxes for the dialogue boxes.
    image_put_placeholder_cursors(builder);
    image_put_placeholder_boxes(builder);
    // Our own content: framed boxes for the title menu's and the calendar hub's pictures.
    image_put_placeholder_screens(builder);
    image_put_placeholder_shop(builder);
    image_put_placeholder_info(builder);
    image_put_placeholder_activity(builder);
    image_put_placeholder_arrival(builder);
    image_put_placeholder_cal_launchers(builder);
    image_put_placeholder_cal_opening(builder);
    // Our own content: framed boxes for the battle's pictures and the animations' images.
    battle_put_placeholder_content(builder);
    // Our own content: the mini-games' pictures, sized as each game draws them.
    image_put_placeholder_minigames(builder);
    image_put_placeholder_cal_timed(builder);
    // Our own content: framed boxes for the world objects' images that nothing above supplies.
    image_put_placeholder_world(builder);
    image_put_placeholder_player(builder);
    image_put_placeholder_routines(builder);
    image_put_placeholder_posed(builder);
    image_put_placeholder_residents(builder);
    image_put_placeholder_cal_places_a(builder);
    image_put_placeholder_cal_story(builder);
    image_put_placeholder_cal_pools(builder);
    image_put_placeholder_cal_first_year(builder);
}

// The placeholder content takes seconds to draw and encode, and every test process of the
// suite starts from it. With MORVANTA_PLACEHOLDER_CACHE naming a directory, the content that an
// empty builder receives is kept there in one file, stamped with the running program's size and
// modification time, and read back by the next process of the same program. Anything amiss
// with the file (another program, a short or damaged file) makes the content drawn anew.
constexpr char CACHE_MAGIC[8] = {'M', 'P', 'H', 'C', 'A', 'C', 'H', '1'};

struct CacheStamp {
    u64 size = 0;
    s64 mtime_ns = 0;
};

bool program_stamp(CacheStamp& stamp) {
    struct stat st {};
    if (stat("/proc/self/exe", &st) != 0) return false;
    stamp.size = u64(st.st_size);
    stamp.mtime_ns = s64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

void cache_put_u32(std::string& out, u32 v) {
    u8 raw[4];
    store_le32(raw, v);
    out.append(reinterpret_cast<const char*>(raw), sizeof raw);
}
void cache_put_u64(std::string& out, u64 v) {
    cache_put_u32(out, u32(v));
    cache_put_u32(out, u32(v >> 32));
}

// A bounded reader over the cache file's bytes.
struct CacheReader {
    const std::string& bytes;
    size_t pos = 0;
    bool ok = true;
    u64 take(int n) {
        if (!ok || bytes.size() - pos < size_t(n)) {
            ok = false;
            return 0;
        }
        u64 v = 0;
        for (int i = 0; i < n; ++i) v |= u64(u8(bytes[pos + size_t(i)])) << (8 * i);
        pos += size_t(n);
        return v;
    }
};

bool cache_read(const std::string& path, const CacheStamp& stamp, ArcBuilder& builder) {
    std::string bytes;
    {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        char buf[1 << 16];
        for (ssize_t got; (got = read(fd, buf, sizeof buf)) > 0;) bytes.append(buf, size_t(got));
        close(fd);
    }
    if (bytes.size() < sizeof CACHE_MAGIC ||
        std::memcmp(bytes.data(), CACHE_MAGIC, sizeof CACHE_MAGIC) != 0)
        return false;
    CacheReader r{bytes, sizeof CACHE_MAGIC};
    if (r.take(8) != stamp.size || s64(r.take(8)) != stamp.mtime_ns) return false;
    ArcBuilder loaded;
    const u64 entries = r.take(4);
    for (u64 i = 0; r.ok && i < entries; ++i) {
        const u32 id = u32(r.take(4));
        const u64 len = r.take(4);
        if (!r.ok || bytes.size() - r.pos < len || id > u32(ARC_MAX_ID)) return false;
        loaded.put(id, std::vector<u8>(bytes.begin() + std::ptrdiff_t(r.pos),
                                       bytes.begin() + std::ptrdiff_t(r.pos + len)));
        r.pos += size_t(len);
    }
    const u64 aliases = r.take(4);
    for (u64 i = 0; r.ok && i < aliases; ++i) {
        const u32 id = u32(r.take(4));
        const u32 source = u32(r.take(4));
        if (!r.ok || id > u32(ARC_MAX_ID) || source > u32(ARC_MAX_ID)) return false;
        loaded.alias(id, source);
    }
    if (!r.ok || r.pos != bytes.size()) return false;
    builder = std::move(loaded);
    return true;
}

void cache_write(const std::string& path, const CacheStamp& stamp, const ArcBuilder& builder) {
    std::string out(CACHE_MAGIC, sizeof CACHE_MAGIC);
    cache_put_u64(out, stamp.size);
    cache_put_u64(out, u64(stamp.mtime_ns));
    cache_put_u32(out, u32(builder.entries().size()));
    for (const auto& [id, data] : builder.entries()) {
        cache_put_u32(out, id);
        cache_put_u32(out, u32(data.size()));
        out.append(reinterpret_cast<const char*>(data.data()), data.size());
    }
    cache_put_u32(out, u32(builder.aliases().size()));
    for (const auto& [id, source] : builder.aliases()) {
        cache_put_u32(out, id);
        cache_put_u32(out, source);
    }
    // Written aside and renamed into place, so a process reading at the same time sees the old
    // file or the whole new one.
    const std::string temp = path + "." + std::to_string(getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    bool ok = true;
    for (size_t done = 0; ok && done < out.size();) {
        const ssize_t n = write(fd, out.data() + done, out.size() - done);
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = close(fd) == 0 && ok;
    if (!ok || rename(temp.c_str(), path.c_str()) != 0) unlink(temp.c_str());
}

} // namespace

namespace {

// Fills an empty builder: from the cache file when MORVANTA_PLACEHOLDER_CACHE names a directory
// and the file there is this program's, otherwise drawn (and then kept in the cache file).
void fill_placeholder_content(ArcBuilder& builder) {
    const char* dir = std::getenv("MORVANTA_PLACEHOLDER_CACHE");
    CacheStamp stamp;
    if (dir == nullptr || *dir == 0 || !program_stamp(stamp)) {
        put_placeholder_content(builder);
        return;
    }
    mkdir(dir, 0755);
    const std::string path = std::string(dir) + "/placeholder_content";
    // Processes that start together wait for the first one to draw the content instead of all
    // drawing it at once.
    const int lock = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock >= 0)
        while (flock(lock, LOCK_EX) != 0 && errno == EINTR) {
        }
    if (!cache_read(path, stamp, builder)) {
        put_placeholder_content(builder);
        if (builder.raw_entries().empty()) cache_write(path, stamp, builder);
    }
    if (lock >= 0) close(lock);
}

} // namespace

void arc_put_placeholder_content(ArcBuilder& builder) {
    const bool empty =
        builder.entries().empty() && builder.aliases().empty() && builder.raw_entries().empty();
    if (!empty) {
        put_placeholder_content(builder);
        return;
    }
    // An empty builder gets a copy of the process's one placeholder content: the entries' bytes
    // are shared, so later copies cost a step per entry.
    static const ArcBuilder content = [] {
        ArcBuilder b;
        fill_placeholder_content(b);
        return b;
    }();
    builder = content;
}

void arc_build_placeholder(const std::string& dir) {
    ArcBuilder builder;
    arc_put_placeholder_content(builder);
    // Our own content: every Big5 glyph, drawn from a real font, and one walkable map that every
    // map number shares.
    glyph_put_placeholder_font(builder);
    map_put_placeholder_maps(builder);
    arc_write_chained(builder, dir + "/" + GISK_CHAINED_FILE);
}
