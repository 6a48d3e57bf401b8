// Map scene rendering: the zones under the camera, then the objects of the current map in four
// passes (shadows, ground, standing depth-tested, top), then the floating labels, all into the
// back buffer. The draw list orders the visible objects and also serves as the hit-test order of
// the pointer and the player's feet. The camera follows the player; while the right button is
// held the pointer gives the player's walk direction and speed.
//
// The weather effects (rain, snow) are not built: nothing in the game ever switches them on.
#pragma once
#include "engine/types.h"

constexpr s32 DRAW_LIST_SIZE = 512;

// Sort key of one visible object (ascending = draw order):
//   bits 30-31 ATTR_PLANE, 16-29 ATTR_Y (foot), 15 hidden with a layer other than 0,
//   13-14 ATTR_LAYER (0 when hidden), 12 zero, 0-11 object number.
using DrawListEntry = u32;
constexpr u32 DRAW_KEY_HIDDEN = 1u << 15;
constexpr u32 DRAW_KEY_LAYER_SHIFT = 13;
constexpr u32 DRAW_KEY_Y_SHIFT = 16;
constexpr u32 DRAW_KEY_PLANE_SHIFT = 30;
constexpr u32 DRAW_KEY_OBJECT_MASK = 0xFFF;

extern DrawListEntry draw_list[DRAW_LIST_SIZE];
extern s32 draw_count; // entries filled by the last drawlist_build

// 16.16 steps of the walk direction turned by -22 and +22 degrees, for wall sliding.
extern s32 slide_first_x;
extern s32 slide_first_y;
extern s32 slide_second_x;
extern s32 slide_second_y;

// Rebuilds draw_list from the objects on the scene that overlap the screen and returns the count.
// Objects past the 512th visible one are left out.
s32 drawlist_build();
// Draws draw-list entry `index`: the body (shadow_pass 0) or its shadow (shadow_pass 1, only for
// objects with ATTR_SHADOW). depth_tested compares against the occlusion plane with the ground
// depth under the object's foot.
void draw_entry(s32 index, s32 depth_tested, s32 shadow_pass);
// Draws the whole scene into the back buffer (a pending flash fills it white instead).
void scene_render();
// Places the camera on the player; with walk non-zero and the right button held, turns the
// pointer into the walk direction, speed, sector and slide steps.
void camera_follow(s32 walk);
// The topmost object of the draw list whose attribute `kind` (3..7) is set and whose sprite is
// opaque at map point (map_x, map_y); -1 when none or for another kind.
s32 hit_test(s32 map_x, s32 map_y, s32 kind);
// Draws picture ARC_PICTURE_BASE + picture as image 250 at (-50, -50). Unused by the game.
void picture_show(s32 picture);
