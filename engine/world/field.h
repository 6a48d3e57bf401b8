// The field loop and the in-game clock.
//
// While the player walks a map the game thread sits in `field_loop`. One pass is one field frame
// of at least 33 ms: the mouse becomes a map point, the camera follows the player, the scene is
// drawn, the hover cursor is shown, the player handler walks or clicks, object timers count down
// and fire, the frame is presented and the clock advances. A script (or scene code) ends the loop
// by clearing `world_state.field_active`; the loop returns at the end of that frame without
// presenting it.
#pragma once
#include "engine/types.h"

constexpr u32 FIELD_FRAME_MS = 33;           // shortest field frame
constexpr u32 FIELD_TICK_STIR = 0x91827465u; // mixed into the random counter after each wait

// Map point of the frame: this frame's click position, or the pointer, plus the camera of the
// previous frame. Read by the camera and by the player handler.
extern s32 field_point_x;
extern s32 field_point_y;
// `mouse_buttons` as read at the start of the frame; bit 1 (right button held) asks to walk.
extern u32 field_buttons;
// Tick count at the end of the previous frame's wait.
extern u32 field_frame_stamp;

// Runs field frames from the player's map until a frame ends with `world_state.field_active` 0.
void field_loop();

// One field frame after the start steps; returns 0 when the loop is to end (the frame was not
// presented), 1 otherwise. `field_loop` is this in a loop; exposed for tests.
s32 field_frame();

// The object pass of a frame: the player handler for object 0 (with the frame's click kind), then
// the countdown of every other object whose timer is due, firing `TRIG_TIMER` when it reaches 0.
void field_objects_pass(u32 frame_click_kind);

// Advances the in-game clock by one field frame (does nothing while
// `world_state.frames_per_minute` is 0): frame counters, then minute, hour, day (30 a month),
// month (12 a year) and year, each carried only when the unit below it wrapped.
void clock_advance_frame();
