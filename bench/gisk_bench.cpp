// Archive reads: loading entries from the chained archive against reading the same number of
// bytes from the same file with one plain pread per entry, timed in the same run. The counters
// give the time per entry of each and `ratio` = chained / plain (goal: within 2).
//
// "Contiguous": every chain's blocks one after the other, as the archive builder writes them.
// "Scattered": all blocks shuffled over both sides of the index (a worst case; one read per
// block is unavoidable there).
#include "engine/gisk.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

void chained_vs_plain_read(benchmark::State& state, bool scattered) {
    const size_t size = size_t(state.range(0));
    // About 4 MB of entries, so that the file stays in the page cache and many entries are read.
    const u32 count = u32(std::min<size_t>(256, std::max<size_t>(4, (4u << 20) / size)));
    HarnessTempDir dir;
    gisk_close();
    ArcBuilder builder;
    for (u32 i = 0; i < count; ++i) builder.put(1000 + i, std::vector<u8>(size, u8(i)));
    ArcWriteOptions options;
    options.shuffle = scattered;
    options.both_sides = scattered;
    ArcWriteResult written = arc_write_chained(builder, GISK_CHAINED_FILE, options);
    gisk_init();
    int fd = open(GISK_CHAINED_FILE, O_RDONLY);
    std::vector<u8> dst(size);

    using Clock = std::chrono::steady_clock;
    Clock::duration chained{}, plain{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        for (u32 i = 0; i < count; ++i)
            benchmark::DoNotOptimize(gisk_load(s32(1000 + i), dst.data()));
        auto t1 = Clock::now();
        for (u32 i = 0; i < count; ++i)
            benchmark::DoNotOptimize(
                pread(fd, dst.data(), size, off_t(written.entries.at(1000 + i).offset)));
        auto t2 = Clock::now();
        chained += t1 - t0;
        plain += t2 - t1;
        benchmark::ClobberMemory();
    }
    close(fd);
    gisk_close();

    double loads = double(state.iterations()) * count;
    double chained_ns = std::chrono::duration<double, std::nano>(chained).count() / loads;
    double plain_ns = std::chrono::duration<double, std::nano>(plain).count() / loads;
    state.counters["chained_ns"] = chained_ns;
    state.counters["plain_ns"] = plain_ns;
    state.counters["ratio"] = chained_ns / plain_ns;
    state.SetBytesProcessed(s64(loads * double(size)));
}

void BM_GiskChainedContiguous(benchmark::State& state) {
    chained_vs_plain_read(state, false);
}
void BM_GiskChainedScattered(benchmark::State& state) {
    chained_vs_plain_read(state, true);
}

// Entry sizes: a short text, a glyph master, a sprite, a zone, a long sound.
BENCHMARK(BM_GiskChainedContiguous)->Arg(253)->Arg(1200)->Arg(10007)->Arg(70000)->Arg(600000);
BENCHMARK(BM_GiskChainedScattered)->Arg(1200)->Arg(70000);

} // namespace
