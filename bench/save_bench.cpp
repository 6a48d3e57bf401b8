// Saving and loading a game against plain file I/O of the same size in the same directory, timed
// in the same run: `save_game` (two files written whole, flushed to disk and renamed) against one
// plain fwrite of 407,144 bytes, and `load_game` (read whole, checked, committed) against one
// fread of 407,144 bytes. The counters give the time of each and `ratio` = game / plain; the save
// also reports `ratio_synced` against the same fwrite followed by fsync, the part of the cost that
// a save which survives a crash cannot avoid.
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "game/game_start.h"
#include "game/save.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The engine on the placeholder archive and a new game, in a temporary game directory.
struct BenchGame {
    HarnessTempDir dir;
    BenchGame() {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        arc_write_chained(b, GISK_CHAINED_FILE);
        HarnessConfig c;
        c.physical_memory = 16ull << 20;
        c.budget_ms = u64(1) << 60;
        c.budget_presents = u64(1) << 60;
        harness_reset(c);
        shell_shutdown();
        shell_startup("save bench");
        game_drawing_setup();
        text_table_load();
        mssw_reset();
        mssw_init();
        state_reset();
        game_tables_init();
        game_new_world();
    }
    ~BenchGame() { shell_shutdown(); }
};

void report(benchmark::State& state, Clock::duration game, Clock::duration plain) {
    const double n = double(state.iterations());
    const double game_us = std::chrono::duration<double, std::micro>(game).count() / n;
    const double plain_us = std::chrono::duration<double, std::micro>(plain).count() / n;
    state.counters["game_us"] = game_us;
    state.counters["plain_us"] = plain_us;
    state.counters["ratio"] = game_us / plain_us;
    state.SetBytesProcessed(s64(n * SAVE_IMAGE_SIZE));
}

void write_plain(const std::vector<u8>& bytes, bool sync) {
    std::FILE* f = std::fopen("plain.bin", "wb");
    benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), f));
    std::fflush(f);
    if (sync) fsync(fileno(f));
    std::fclose(f);
}

void BM_SaveGame(benchmark::State& state) {
    BenchGame g;
    std::vector<u8> bytes(SAVE_IMAGE_SIZE, 0x11);
    Clock::duration game{}, plain{}, synced{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (save_game(3) != 1) state.SkipWithError("save failed");
        const auto t1 = Clock::now();
        write_plain(bytes, false);
        const auto t2 = Clock::now();
        write_plain(bytes, true);
        const auto t3 = Clock::now();
        game += t1 - t0;
        plain += t2 - t1;
        synced += t3 - t2;
    }
    report(state, game, plain);
    state.counters["ratio_synced"] = double(game.count()) / double(synced.count());
}

void BM_LoadGame(benchmark::State& state) {
    BenchGame g;
    if (save_game(3) != 1) state.SkipWithError("save failed");
    std::vector<u8> bytes(SAVE_IMAGE_SIZE);
    Clock::duration game{}, plain{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (load_game(3) != 1) state.SkipWithError("load failed");
        const auto t1 = Clock::now();
        std::FILE* f = std::fopen("QuorSave.300", "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        const auto t2 = Clock::now();
        game += t1 - t0;
        plain += t2 - t1;
        benchmark::ClobberMemory();
    }
    report(state, game, plain);
}

BENCHMARK(BM_SaveGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMicrosecond);

} // namespace
