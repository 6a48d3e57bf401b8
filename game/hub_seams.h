// Seams to the parts of the game that the hub calls but that are built elsewhere (activities,
// mini-game commands, the character screen, meal, market and companion screens, the open-world
// route starts, the world population). Each defaults to a visible no-op: a line over the
// dashboard saying that the command is not available yet. Tests and the subsystems that build
// them replace the pointers.
#pragma once
#include "engine/types.h"

extern void (*activity_run_seam)(s32 code);
extern void (*hub_cmd_recipes_seam)();
extern void (*hub_cmd_popup_seam)();
extern void (*hub_cmd_aim_seam)();
extern void (*hub_cmd_catch_seam)();
extern void (*hub_cmd_light_ring_seam)();
extern void (*info_screen_seam)(s32 from_hub);
extern void (*market_visit_seam)();
extern void (*companion_visit_screen_seam)();
extern void (*meal_screen_seam)();
extern void (*manuals_sync_seam)();           // silent no-op by default
extern void (*open_world_start_seam)(s32 route); // route 1..3; open_world_start by default

// Shows the "not available" line for a seam that nobody has replaced (transcript: say_center).
void hub_unavailable(const char* what);
// Puts every seam back to its default.
void hub_seams_reset();
