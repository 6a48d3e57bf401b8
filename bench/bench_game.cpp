#include "bench/bench_game.h"

#include "engine/gisk.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

void bench_game_start(u32 tick_step_ms, bool with_maps) {
    ArcBuilder b;
    arc_put_placeholder_content(b);
    if (with_maps) map_put_placeholder_maps(b);
    arc_write_chained(b, GISK_CHAINED_FILE);
    HarnessConfig config;
    config.physical_memory = 16ull << 20;
    if (tick_step_ms != 0) config.tick_step_ms = tick_step_ms;
    config.budget_ms = ~0ull >> 2;
    config.budget_presents = ~0ull >> 2;
    harness_reset(config);
    shell_shutdown();
    shell_startup("bench");
    game_drawing_setup();
    text_table_load();
    mssw_reset();
    mssw_init();
    label_clear();
    state_reset();
}
