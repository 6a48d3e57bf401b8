// The calendar hub: one whole pass of `hub_pass` for a mid-calendar turn - the autosave of slot 3
// (both files written), the turn's music, the dashboard until a scripted click on the rest button,
// the rest's wait until a second click, and the end of turn - on the headless platform's virtual
// clock, so no wait costs real time. Baseline in the same run: one dashboard frame (`hub_draw`,
// `hub_menu_draw`, `screen_present`). Counters: `pass_us` and `frame_us` in wall-clock
// microseconds, `frames` presented per pass, `ratio` = pass / frame, and `save_us`, one autosave
// alone (timed apart), the part of a pass that waits on the disk. A pass must stay well under the
// 33 ms of one field frame.
#include "bench/bench_game.h"
#include "data/hub_block.h"
#include "data/schedule.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/save.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {

void setup() {
    bench_game_start(0, false);
    hub_seams_reset();
    hub_clear_save_index_seam = save_index_clear;
    save_index_clear();
    game_tables_init();
    game_new_world();
    mouse_buttons = 0;
    click_kind = 0;
}

// A pass of turn 1 (after a played turn 0: the autosave runs), the same every time.
void pass_start() {
    hub_block.calendar_turn = 1;
    hub_restart = -1;
    world_state.field_active = 0;
    world_state.day = 7;
    world_state.month = 9;
    // Rest as soon as the dashboard is up; the second click ends the rest's wait. Both go by the
    // virtual clock, so they cost frames, not time.
    const u64 now = harness_elapsed_ms();
    harness_click(77 * 7 + 50, 400, 1, at_time(now + 20));
    harness_click(320, 240, 1, at_time(now + 120));
}

void BM_HubPass(benchmark::State& state) {
    HarnessTempDir dir;
    setup();
    pass_start();
    hub_pass(); // warms the ring and creates the save files
    if (hub_block.calendar_turn != 2 || harness_pending_input() != 0) {
        state.SkipWithError("the pass did not rest and end its turn");
        shell_shutdown();
        return;
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration pass{}, frame{}, save{};
    u64 frames = 0;
    for (auto _ : state) {
        pass_start();
        const u64 presents = harness_presents();
        auto t0 = Clock::now();
        hub_pass();
        auto t1 = Clock::now();
        frames += harness_presents() - presents;
        hub_draw();
        hub_menu_draw();
        screen_present();
        auto t2 = Clock::now();
        save_game(3);
        auto t3 = Clock::now();
        benchmark::ClobberMemory();
        pass += t1 - t0;
        frame += t2 - t1;
        save += t3 - t2;
    }
    const double n = double(state.iterations());
    const double pass_us = std::chrono::duration<double, std::micro>(pass).count() / n;
    const double frame_us = std::chrono::duration<double, std::micro>(frame).count() / n;
    state.counters["pass_us"] = pass_us;
    state.counters["frame_us"] = frame_us;
    state.counters["frames"] = double(frames) / n;
    state.counters["save_us"] = std::chrono::duration<double, std::micro>(save).count() / n;
    state.counters["ratio"] = pass_us / frame_us;
    if (hub_block.calendar_turn != 2) state.SkipWithError("a timed pass did not end its turn");
    shell_shutdown();
}

BENCHMARK(BM_HubPass)->Unit(benchmark::kMicrosecond);

} // namespace
