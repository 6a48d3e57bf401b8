// PENDING: placeholder bodies until the hub lands (owner replaces this whole file).
#include "game/hub_seams.h"

void hub_unavailable(const char*) {}
void (*activity_run_seam)(s32) = [](s32) {};
void (*hub_cmd_recipes_seam)() = [] {};
void (*hub_cmd_popup_seam)() = [] {};
void (*hub_cmd_aim_seam)() = [] {};
void (*hub_cmd_catch_seam)() = [] {};
void (*hub_cmd_light_ring_seam)() = [] {};
void (*info_screen_seam)(s32) = [](s32) {};
void (*market_visit_seam)() = [] {};
void (*companion_visit_screen_seam)() = [] {};
void (*meal_screen_seam)() = [] {};
void (*manuals_sync_seam)() = [] {};
void (*open_world_start_seam)(s32) = [](s32) {};
void (*world_populate_seam)() = [] {};
void hub_seams_reset() {}
