// New-game state of the calendar hub: menu availability, menu state, the calendar schedules of
// before-turn and after-turn events with their notice flags, the random-event pools, the start
// date and the probe of the save index. The values are slot numbers of `calendar_event_table`;
// the handlers in those slots later rewrite the schedules and switch pool entries on and off.
#pragma once
#include "data/hub_block.h"
#include "engine/types.h"

// Start date of a new game: turn 0 is day 1 of month 9 of year 1, at 6:00. Six days a turn and
// five turns a month put turn 235, where the open-world phase begins, on day 1 of month 8, year 5.
constexpr s32 HUB_START_YEAR = 1;
constexpr s32 HUB_START_MONTH = 9;
constexpr s32 HUB_START_DAY = 1;
constexpr s32 HUB_START_HOUR = 6;

// The save index file (".\zanthsave": the working directory's "zanthsave"), which the save
// module writes and reads (game/save.h) and a new game probes.
constexpr const char* SAVE_INDEX_NAME = "zanthsave";

// The in-memory save index belongs to the save module; the hub's set-up clears it through this
// hook, which marks all four in-memory save headers unused (used, year, month, day and area := 0).
// The default does nothing until the save module installs its own; tests replace it.
extern void (*hub_clear_save_index_seam)();

// Fills `hub_block` for a new game (the last of the new-game builders), sets the start date in
// `world_state` and clears the in-memory save index when no index file can be opened.
void init_hub_state();
// Stores the start entries of the event pools; the pools must already be emptied.
void init_event_pools();
// True when the save index file can be opened for reading (it is closed again at once).
bool hub_save_index_present();
