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

// What the route starts write.
constexpr s32 OPEN_WORLD_TURN = 235;          // calendar_turn of the open world
constexpr s32 OPEN_WORLD_MUSIC = 10050;       // PlayerRecord.music_id at the start
constexpr s32 OPEN_WORLD_PLAYER_EVENT = 1300; // the player's script in the open world
constexpr s32 OPEN_WORLD_CLOCK_RATE = 30;     // field frames per game minute
constexpr s32 OPEN_WORLD_BAG_ITEM = 1253;     // route 3's bag entry 0 of every roster record

// The field loop that a route start enters (`field_loop`); tests point it elsewhere.
extern void (*open_world_field_loop_seam)();
