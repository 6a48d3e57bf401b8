// The engine's world-side state, saved and loaded whole as one block of a saved game: field loop,
// in-game clock, map, running event, camera, last terrain lookup, walking, cursor, clock rate and
// the name slots. Every offset is part of the save format.
#pragma once
#include "engine/types.h"

#include <cstddef>

#pragma pack(push, 1)
struct WorldState {
    u8 field_active;       // 0x00: 1 while a field loop runs
    u8 minute;             // 0x01
    u8 hour;               // 0x02
    u8 day;                // 0x03
    u8 month;              // 0x04
    u8 year;               // 0x05
    u16 reserved;          // 0x06
    u16 current_map;       // 0x08
    u16 event_object;      // 0x0a: written only by the event dispatcher
    u16 minute_frames;     // 0x0c
    u8 weather_off;        // 0x0e
    u8 weather_kind;       // 0x0f
    s16 camera_x;          // 0x10
    s16 camera_y;          // 0x12
    s16 map_width;         // 0x14
    s16 map_height;        // 0x16
    u8 unused_18[3];       // 0x18
    u8 trigger_kind;       // 0x1b
    u8 unused_1c[2];       // 0x1c
    u16 terrain_word;      // 0x1e
    u8 terrain_class;      // 0x20
    u8 terrain_kind;       // 0x21
    u8 terrain_walk_all;   // 0x22
    u8 terrain_bits78;     // 0x23
    u8 terrain_shade;      // 0x24
    u8 terrain_footstep;   // 0x25
    u8 terrain_depth;      // 0x26
    u8 terrain_kind_mask;  // 0x27
    s32 step_x;            // 0x28: 16.16 fixed point
    s32 step_y;            // 0x2c
    u8 walk_sector;        // 0x30
    u8 walk_speed;         // 0x31
    u32 idle_frames;       // 0x32
    u32 cursor_id;         // 0x36: 0..31 a cursor slot, 32 and above an image id
    u16 flash;             // 0x3a
    u16 frames_per_minute; // 0x3c: 0 stops the clock
    u8 unused_3e[6];       // 0x3e
    u32 clock_frames;      // 0x44
    u32 day_frames;        // 0x48
    u32 box_style;         // 0x4c
    u32 player_sprite_set; // 0x50
    u8 unused_54[0x300 - 0x54];
    char name_slots[16][16]; // 0x300: scrambled names, each up to 15 bytes and a 0
    u8 unused_400[65536 - 0x400];
};
#pragma pack(pop)

static_assert(sizeof(WorldState) == 65536);
static_assert(offsetof(WorldState, field_active) == 0x00);
static_assert(offsetof(WorldState, minute) == 0x01);
static_assert(offsetof(WorldState, hour) == 0x02);
static_assert(offsetof(WorldState, day) == 0x03);
static_assert(offsetof(WorldState, month) == 0x04);
static_assert(offsetof(WorldState, year) == 0x05);
static_assert(offsetof(WorldState, reserved) == 0x06);
static_assert(offsetof(WorldState, current_map) == 0x08);
static_assert(offsetof(WorldState, event_object) == 0x0a);
static_assert(offsetof(WorldState, minute_frames) == 0x0c);
static_assert(offsetof(WorldState, weather_off) == 0x0e);
static_assert(offsetof(WorldState, weather_kind) == 0x0f);
static_assert(offsetof(WorldState, camera_x) == 0x10);
static_assert(offsetof(WorldState, camera_y) == 0x12);
static_assert(offsetof(WorldState, map_width) == 0x14);
static_assert(offsetof(WorldState, map_height) == 0x16);
static_assert(offsetof(WorldState, trigger_kind) == 0x1b);
static_assert(offsetof(WorldState, terrain_word) == 0x1e);
static_assert(offsetof(WorldState, terrain_class) == 0x20);
static_assert(offsetof(WorldState, terrain_kind) == 0x21);
static_assert(offsetof(WorldState, terrain_walk_all) == 0x22);
static_assert(offsetof(WorldState, terrain_bits78) == 0x23);
static_assert(offsetof(WorldState, terrain_shade) == 0x24);
static_assert(offsetof(WorldState, terrain_footstep) == 0x25);
static_assert(offsetof(WorldState, terrain_depth) == 0x26);
static_assert(offsetof(WorldState, terrain_kind_mask) == 0x27);
static_assert(offsetof(WorldState, step_x) == 0x28);
static_assert(offsetof(WorldState, step_y) == 0x2c);
static_assert(offsetof(WorldState, walk_sector) == 0x30);
static_assert(offsetof(WorldState, walk_speed) == 0x31);
static_assert(offsetof(WorldState, idle_frames) == 0x32);
static_assert(offsetof(WorldState, cursor_id) == 0x36);
static_assert(offsetof(WorldState, flash) == 0x3a);
static_assert(offsetof(WorldState, frames_per_minute) == 0x3c);
static_assert(offsetof(WorldState, clock_frames) == 0x44);
static_assert(offsetof(WorldState, day_frames) == 0x48);
static_assert(offsetof(WorldState, box_style) == 0x4c);
static_assert(offsetof(WorldState, player_sprite_set) == 0x50);
static_assert(offsetof(WorldState, name_slots) == 0x300);

extern WorldState world_state;
