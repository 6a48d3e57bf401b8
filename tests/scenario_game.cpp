#include "tests/scenario_game.h"

#include "game/game_start.h"
#include "game/hub_seams.h"
#include "game/state.h"
#include "platform/harness.h"
#include "scripts/script_seams.h"
#include "scripts/scripts_register.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"

void scenario_new_game(u64 budget_ms, u64 budget_presents) {
    HarnessConfig c;
    c.budget_ms = budget_ms;
    c.budget_presents = budget_presents;
    ArcBuilder b;
    arc_put_placeholder_content(b);
    world_put_player_images(b);
    map_put_placeholder_maps(b);
    world_start(b, c);
    scripts_register_all();
    state_reset();
    hub_seams_reset();
    script_seams_reset();
    game_tables_init();
    game_new_world();
    dialog_real_mode(DialogWaitAnswer::Click);
}

void scenario_end() {
    dialog_driver_stop();
    script_seams_reset();
    hub_seams_reset();
    world_stop();
}
