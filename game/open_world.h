// The open-world phase: its set-up on top of the calendar-phase world (`open_world_build`, with
// `open_world_hide_calendar`) and the three route starts, which run the field loop for the rest
// of the game.
#pragma once
#include "engine/types.h"

void open_world_hide_calendar();
void open_world_build();
void open_world_start_1();
void open_world_start_2();
void open_world_start_3();
// The start of `route` (1..3); any other value starts nothing.
void open_world_start(s32 route);
