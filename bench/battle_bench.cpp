// The battle: one round and one whole battle of twelve fighters, every one of them played by the
// computer (the protagonist with weapon 1466), on the headless platform. The virtual clock steps
// a whole second on every tick read, so every wait of the battle (walks, blinks, flashes) ends at
// its first tick read and costs no time; what is timed is the battle's own work and its drawing
// into the back buffer and the presents. Baseline in the same run: one full field scene render
// (`scene_render` over the placeholder map's zones with the player object). Counters, in
// wall-clock microseconds: `round_us` (set-up and one round of twelve steps), `battle_us` (a
// whole battle to its result), `scene_us`, `steps` and `presents` per battle, and the ratios of
// the round and the battle to the scene. Presents stay in (a frame copy each on this platform).
#include "battle/battle.h"
#include "battle/battle_setup.h"
#include "bench/bench_game.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/gisk.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/player.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr s32 ENCOUNTER = 74;
constexpr s32 STEP_CAP = 12 * 1000;

struct Snapshot {
    PlayerRecord player;
    std::vector<RosterEntry> roster_copy;
    EncounterRecord encounter;
};

Snapshot snapshot;

void setup() {
    bench_game_start(1000, true);
    anim_reset();
    game_tables_init();
    game_new_world();
    mouse_buttons = 0;
    click_kind = 0;

    // Six a side, every cell drawn at random once and then kept.
    EncounterRecord& e = encounters[ENCOUNTER];
    const s32 own[6] = {0, 193, 91, 93, 3, 4};
    for (s32 i = 0; i < 6; ++i) e.fighter[i] = own[i];
    for (s32 i = 0; i < 6; ++i) e.fighter[6 + i] = 60 + i;
    e.round_limit = -1;
    player_record.equip[0] = 1466 - EQUIP_BASE[0];
    player_record.hp = player_record.hp_max;
    snapshot.player = player_record;
    snapshot.roster_copy.assign(roster, roster + ROSTER_SIZE);
    snapshot.encounter = e;
}

void restore() {
    player_record = snapshot.player;
    std::copy(snapshot.roster_copy.begin(), snapshot.roster_copy.end(), roster);
    encounters[ENCOUNTER] = snapshot.encounter;
    rt_srand(12345);
}

// A whole battle with the step cap; the number of steps, or -1 when it did not end.
s32 whole_battle() {
    battle_enter(ENCOUNTER);
    for (s32 n = 1; n <= STEP_CAP; ++n)
        if (battle_loop_step() != -1) return n;
    return -1;
}

void BM_Battle(benchmark::State& state) {
    HarnessTempDir dir;
    setup();
    map_load(1);
    attr_set(0, ATTR_MAP, 1);
    attr_set(0, ATTR_X, 400);
    attr_set(0, ATTR_Y, 300);
    world_state.camera_x = 100; // between zone edges: several zones on screen
    world_state.camera_y = 100;
    world_state.current_map = 1;
    restore();
    if (whole_battle() < 0) { // warms the ring
        state.SkipWithError("the battle did not end");
        shell_shutdown();
        return;
    }
    scene_render();
    using Clock = std::chrono::steady_clock;
    Clock::duration round{}, battle{}, scene{};
    u64 steps = 0, presents = 0;
    for (auto _ : state) {
        restore();
        auto t0 = Clock::now();
        battle_enter(ENCOUNTER);
        for (s32 i = 0; i < BATTLE_SLOTS; ++i) battle_loop_step();
        auto t1 = Clock::now();
        restore();
        const u64 p0 = harness_presents();
        auto t2 = Clock::now();
        const s32 n = whole_battle();
        auto t3 = Clock::now();
        presents += harness_presents() - p0;
        scene_render();
        auto t4 = Clock::now();
        benchmark::ClobberMemory();
        if (n < 0) {
            state.SkipWithError("a timed battle did not end");
            break;
        }
        steps += u64(n);
        round += t1 - t0;
        battle += t3 - t2;
        scene += t4 - t3;
    }
    battle_active = 0;
    const double n = double(state.iterations());
    const double round_us = std::chrono::duration<double, std::micro>(round).count() / n;
    const double battle_us = std::chrono::duration<double, std::micro>(battle).count() / n;
    const double scene_us = std::chrono::duration<double, std::micro>(scene).count() / n;
    state.counters["round_us"] = round_us;
    state.counters["battle_us"] = battle_us;
    state.counters["scene_us"] = scene_us;
    state.counters["steps"] = double(steps) / n;
    state.counters["presents"] = double(presents) / n;
    state.counters["round_ratio"] = round_us / scene_us;
    state.counters["battle_ratio"] = battle_us / scene_us;
    shell_shutdown();
}

BENCHMARK(BM_Battle)->Unit(benchmark::kMillisecond);

} // namespace
