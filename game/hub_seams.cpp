// Seams from the calendar hub to the subsystems that are built elsewhere. The player-facing
// defaults tell the player that the command is not there yet and return, so the hub stays usable
// whatever is still missing.
#include "game/hub_seams.h"

#include "game/activity.h"
#include "game/companion_visit.h"
#include "game/info_screen.h"
#include "game/market.h"
#include "game/meal.h"
#include "game/open_world.h"

#include "engine/dialog.h"
#include "game/dashboard.h"

#include <cstdio>

void hub_unavailable(const char* what) {
    // One short line in a centred box over the dashboard; the widest box holds about 40
    // characters, so the name is cut to keep the line inside it.
    char line[48];
    std::snprintf(line, sizeof line, "%.20s: not available yet", what != nullptr ? what : "?");
    hub_draw();
    say_center(line);
}

namespace {

void game_aim_default(s32, s32, s32, s32, s32, s32) {
    hub_unavailable("Aiming game");
}
void game_bait_catch_default(s32) {
    hub_unavailable("Catch game");
}
void game_popup_targets_default(s32) {
    hub_unavailable("Pop-up game");
}
void game_light_ring_default(s32, s32, s32, s32, s32, s32, s32, s32) {
    hub_unavailable("Light-ring game");
}
s32 recipe_screen_default() {
    hub_unavailable("Recipe screen");
    return -1;
}

} // namespace

void (*activity_run_seam)(s32 code) = activity_run;
void (*hub_cmd_recipes_seam)() = hub_cmd_recipes;
void (*hub_cmd_popup_seam)() = hub_cmd_popup;
void (*hub_cmd_aim_seam)() = hub_cmd_aim;
void (*hub_cmd_catch_seam)() = hub_cmd_catch;
void (*hub_cmd_light_ring_seam)() = hub_cmd_light_ring;
void (*info_screen_seam)(s32 from_hub) = info_screen;
void (*market_visit_seam)() = market_visit;
void (*companion_visit_screen_seam)() = companion_visit_screen;
void (*meal_screen_seam)() = meal_screen;
void (*manuals_sync_seam)() = manuals_sync;
void (*open_world_start_seam)(s32 route) = open_world_start;
void (*game_aim_seam)(s32, s32, s32, s32, s32, s32) = game_aim_default;
void (*game_bait_catch_seam)(s32) = game_bait_catch_default;
void (*game_popup_targets_seam)(s32) = game_popup_targets_default;
void (*game_light_ring_seam)(s32, s32, s32, s32, s32, s32, s32, s32) = game_light_ring_default;
s32 (*recipe_screen_seam)() = recipe_screen_default;

void hub_seams_reset() {
    activity_run_seam = activity_run;
    hub_cmd_recipes_seam = hub_cmd_recipes;
    hub_cmd_popup_seam = hub_cmd_popup;
    hub_cmd_aim_seam = hub_cmd_aim;
    hub_cmd_catch_seam = hub_cmd_catch;
    hub_cmd_light_ring_seam = hub_cmd_light_ring;
    info_screen_seam = info_screen;
    market_visit_seam = market_visit;
    companion_visit_screen_seam = companion_visit_screen;
    meal_screen_seam = meal_screen;
    manuals_sync_seam = manuals_sync;
    open_world_start_seam = open_world_start;
    game_aim_seam = game_aim_default;
    game_bait_catch_seam = game_bait_catch_default;
    game_popup_targets_seam = game_popup_targets_default;
    game_light_ring_seam = game_light_ring_default;
    recipe_screen_seam = recipe_screen_default;
}
