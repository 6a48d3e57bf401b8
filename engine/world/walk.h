// Walking: the player's per-frame handler (walk toward the pointer while the right button is held,
// slide along walls, stop at blockers, take the ground's shade, animate, play footsteps, fire the
// step-on triggers under its feet, or run a clicked object's script), the terrain test used by
// every step, and the simpler scripted step that moves any object toward a target point.
#pragma once
#include "engine/types.h"

// Walk mask by the player's plane: a terrain point is walkable when its class AND the mask is
// non-zero, or when its walk-on-every-plane bit is set.
extern const u32 walk_masks[4];
// By walk sector (0 right, counting in 45-degree steps counter-clockwise: 2 up, 4 left, 6 down).
extern const u8 walk_mirror[8];   // the sector's frames are drawn mirrored
extern const s32 walk_groups[8];  // first walking frame of the sector, from the sprite set base
extern const s32 stand_frames[8]; // standing frame of the sector, from the sprite set base

constexpr s32 PLAYER_BASE = 256;      // first image of sprite set 0
constexpr s32 PLAYER_BASE_ALT = 512;  // first image of sprite set 1
constexpr s32 PLAYER_RUN_OFFSET = 80; // running frames lie this far above the walking ones
constexpr s32 PLAYER_STAND_OFFSET = 160;
constexpr s32 FOOTSTEP_SOUND_BASE = 100; // footstep sound = this + the ground's footstep value

// Frames in which the player moved (drives the walk animation and the footsteps).
extern u32 walk_counter;

// Forgets the `walkable_at` memo and zeroes `walk_counter` (start of a test or a new game).
void walk_reset();

// First image of the player's current sprite set (256, or 512 when `player_sprite_set` is set).
s32 player_image_base();

// The field loop's handler for object 0, once per frame; `kind` is the frame's click kind
// (1 = left button went down).
void player_frame(u32 kind);
// One walking step of the player toward the pointer direction computed by `camera_follow`.
void player_move();
// 1 when the map point is walkable for the mask: at least 3 of the point and its four diagonal
// neighbours are walkable. The last point and answer are memorised.
s32 walkable_at(s32 x, s32 y, u32 mask);
// One scripted step of obj toward (x, y), about 0.8 x speed pixels per axis, ignoring terrain,
// blockers and step-on objects. Returns 1 (and changes nothing) when the object already stands
// within 7 pixels of the target on both axes, else 0 after the step; a step that lands within
// the window snaps to the target and shows a standing frame.
s32 obj_step_to(s32 obj, s32 x, s32 y, s32 speed);
// `obj_step_to` for the player; a step that was taken shows the running form of the frame when
// the frame is below 416.
s32 player_step_to(s32 x, s32 y, s32 speed);

// Debug aids that the game never reaches: waits for a key (stirring the random counter on every
// spin) and returns it; walkability of the player's position + (dx, dy) with mask 1.
u32 debug_wait_key();
s32 walkable_near_player(s32 dx, s32 dy);
