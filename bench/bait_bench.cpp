// The bait catch game: one whole game (303 seconds on the virtual clock, about 12,000 frames)
// played headless by a scripted angler - rod and bait taken, a walk along the bank, casts at
// depth 15 into zone 0, careful fights, each landed catch's picture clicked away, the final
// screen ended by the right button - against a baseline of the same number of bare presents,
// timed in the same run. Counters: `game_ms` and `bare_ms` in wall-clock milliseconds, `frames`
// presented per game, `landed` catches per game, `ratio` = game / bare.
#include "bench/bench_game.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/game_start.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/bait_catch.h"
#include "platform/harness.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr s32 CAST_FROM_X = 180, CAST_DEPTH = 15;

// The angler's memory between presents.
struct Angler {
    bool walking = false, left = false, final_left = false;
};
Angler angler;

void careful_fight(const BaitState& s) {
    if (s.held && angler.left) {
        if (s.y < 41 || s.tension > 120) {
            harness_button_up(1);
            angler.left = false;
        }
    } else if (!s.held && !angler.left && s.slack_b >= s.slack_a + s.strength / 40) {
        harness_button_down(1);
        angler.left = true;
    }
}

void ready(const BaitState& s) {
    if (angler.left) {
        harness_button_up(1);
        angler.left = false;
    } else if (angler.walking) {
        if (s.player_x == CAST_FROM_X) {
            harness_button_up(2);
            angler.walking = false;
        }
    } else if (s.player_x != CAST_FROM_X) {
        harness_move(CAST_FROM_X, 300);
        harness_button_down(2);
        angler.walking = true;
    } else {
        harness_click(490, 260);
    }
}

void on_present() {
    const BaitState& s = bait_state;
    if (harness_pending_input() != 0) return;
    switch (s.screen) {
    case BaitScreen::Gauge:
        if (s.gauge_step == CAST_DEPTH - 1) harness_click(320, 240);
        return;
    case BaitScreen::Picture:
        harness_click(320, 240);
        return;
    case BaitScreen::Final:
        harness_click(320, 240, 2);
        return;
    case BaitScreen::Play:
        if (s.phase == BAIT_READY) ready(s);
        if (s.phase == BAIT_PLAYING) careful_fight(s);
        return;
    default:
        return;
    }
}

void stock() {
    for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
    inv_add(2230, 1);
    inv_add(2240, 60);
    player_record.stamina = 1000;
    angler = Angler{};
}

void BM_BaitCatchGame(benchmark::State& state) {
    HarnessTempDir dir;
    bench_game_start(0, false);
    game_tables_init();
    game_new_world();
    mouse_buttons = 0;
    click_kind = 0;
    harness_on_present([](const u16*, u64) { on_present(); });

    using Clock = std::chrono::steady_clock;
    Clock::duration game{}, bare{};
    u64 frames = 0;
    s32 landed = 0;
    for (auto _ : state) {
        stock();
        const u64 presents = harness_presents();
        const auto t0 = Clock::now();
        game_bait_catch(0);
        const auto t1 = Clock::now();
        const u64 n = harness_presents() - presents;
        harness_on_present(nullptr);
        for (u64 i = 0; i < n; ++i) screen_present();
        const auto t2 = Clock::now();
        harness_on_present([](const u16*, u64) { on_present(); });
        benchmark::ClobberMemory();
        game += t1 - t0;
        bare += t2 - t1;
        frames += n;
        landed += bait_state.landed;
        if (bait_state.end != BAIT_END_TIME) state.SkipWithError("the game did not run its time");
    }
    harness_on_present(nullptr);
    const double n = double(state.iterations());
    const double game_ms = std::chrono::duration<double, std::milli>(game).count() / n;
    const double bare_ms = std::chrono::duration<double, std::milli>(bare).count() / n;
    state.counters["game_ms"] = game_ms;
    state.counters["bare_ms"] = bare_ms;
    state.counters["frames"] = double(frames) / n;
    state.counters["landed"] = double(landed) / n;
    state.counters["ratio"] = game_ms / bare_ms;
    shell_shutdown();
}

BENCHMARK(BM_BaitCatchGame)->Unit(benchmark::kMillisecond);

} // namespace
