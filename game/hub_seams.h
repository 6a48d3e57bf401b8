// Seams to the parts of the game that the hub calls (activities, mini-game commands, the
// character screen, meal, market and companion screens, the open-world route starts, the world
// population). Those built in the game core (the activities, the mini-game commands and the
// manuals' copy, the character screen, the companion visit, the market visit, the meal screen,
// the open-world route starts) default to their real functions; the others default to a visible
// no-op: a line over the dashboard saying that the command is not available yet. Tests and the
// subsystems that build them replace the pointers.
#pragma once
#include "engine/types.h"

extern void (*activity_run_seam)(s32 code);
extern void (*hub_cmd_recipes_seam)();
extern void (*hub_cmd_popup_seam)();
extern void (*hub_cmd_aim_seam)();
extern void (*hub_cmd_catch_seam)();
extern void (*hub_cmd_light_ring_seam)();
extern void (*info_screen_seam)(s32 from_hub);
extern void (*market_visit_seam)(); // market_visit by default
extern void (*companion_visit_screen_seam)();
extern void (*meal_screen_seam)();               // meal_screen by default
extern void (*manuals_sync_seam)();              // manuals_sync by default
extern void (*open_world_start_seam)(s32 route); // route 1..3; open_world_start by default

// The mini-games and the recipe screen that the hub's commands start. They live in layers above
// the game core; `minigames_register` (and `calendar_register_all`, for the recipe screen) fill
// these at start-up. Until then each shows the "not available yet" line.
extern void (*game_aim_seam)(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 unlock_skill,
                             s32 unlock_score);
extern void (*game_bait_catch_seam)(s32 kind);
extern void (*game_popup_targets_seam)(s32 mode);
extern void (*game_light_ring_seam)(s32 a1, s32 a2, s32 a3, s32 a4, s32 a5, s32 a6, s32 a7, s32 a8);
extern s32 (*recipe_screen_seam)();

// Shows the "not available" line for a seam that nobody has replaced (transcript: say_center).
void hub_unavailable(const char* what);
// Puts every seam back to its default (the mini-game seams and the recipe screen included: call
// minigames_register and calendar_register_all again to fill them).
void hub_seams_reset();
