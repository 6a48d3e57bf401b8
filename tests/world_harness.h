// Test harness for the world: built maps and sprites, an engine start for world tests, test
// scripts in free slots of the script table, placing objects, and a driver that runs the real
// field loop on the virtual clock.
//
// The driver ends the loop through scripts: a test's own script clears
// `world_state.field_active`, and a watchdog timer object ends it after a frame limit so that a
// test that never reaches its end fails instead of running on. A script that blocks waiting for
// input that never comes spends the harness budget; the driver reports that as a failure.
#pragma once
#include "engine/types.h"
#include "engine/world/events.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"

#include <functional>
#include <initializer_list>
#include <vector>

// ---- Archive content --------------------------------------------------------------------------
// A sprite of w x h opaque pixels of one 5-5-5 colour with its hotspot.
std::vector<u8> world_solid_sprite(s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour);
// Puts a solid sprite as image `image_id` and a smaller one as its shadow (image_id + 1).
void world_put_sprite(ArcBuilder& b, s32 image_id, s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour);
// Short music tracks (8 kHz, 8-bit tones of `ms` milliseconds at `hz`) as sound entries `ids`.
void world_put_tracks(ArcBuilder& b, std::initializer_list<s32> ids, u32 ms, u32 hz = 330);
// Every image of both player sprite sets (256..431 and 512..687): a 20 x 40 sprite standing on
// its foot point, and its shadow.
void world_put_player_images(ArcBuilder& b);

// Terrain attribute (24 bits) of map pixel (x, y).
using WorldTerrain = std::function<u32(s32 x, s32 y)>;
// Terrain class 1, walkable on every plane's mask, footstep 0, shade 0, depth 0.
constexpr u32 WORLD_GROUND = 1;
// A map of width x height pixels (640..16384 x 480..16384). Every covered zone gets its own
// entry (zone ids from first_zone on): a 258 x 258 picture of one colour that changes from zone
// to zone, occlusion depth 0 and the terrain that `terrain` gives per pixel (runs of equal
// attributes, at most 63 a row).
void world_put_map(ArcBuilder& b, s32 map, s32 width, s32 height, const WorldTerrain& terrain,
                   s32 first_zone = 1);
// Placeholder content (texts, sounds, cursors), player images and a plain walkable map.
void world_put_basics(ArcBuilder& b, s32 map = 1, s32 width = 1024, s32 height = 768);

// ---- Engine start -----------------------------------------------------------------------------
// Writes the archive into the working directory (the caller keeps a HarnessTempDir) and starts
// every engine module a field loop needs, with every world table, the input words, the labels,
// the log and the test scripts reset.
void world_start(const ArcBuilder& b, HarnessConfig config = {});
// Only the engine's start-up on the archive of `b` (written to the working directory), as the
// program runs it before the game: harness reset, window, archive, canvas, pool, sound, ring,
// drawing set-up; then what a program holds before its game starts: every saved record cleared
// (`state_reset`), no transcript observer, the text words and menu colours at their start values
// and the hub's seams at their defaults. The default 256 MB of physical memory is taken as 16 MB
// (the smallest pool).
void engine_start(const ArcBuilder& b, HarnessConfig config = {});
// Releases the test scripts and hooks and shuts the engine down.
void world_stop();

// ---- Test scripts -----------------------------------------------------------------------------
// Puts `body` into a free slot of `object_event_table` (searched from the top) and returns the
// slot. Up to 16 scripts at a time; all are released by `world_start` and `world_stop`.
s32 world_script(std::function<void()> body);
// A script that ends the field loop (field_active := 0), registered on first use.
s32 world_end_slot();

// ---- Placing ----------------------------------------------------------------------------------
// Makes `map` current (grid and sizes), puts the player (object 0) there at (x, y) in use and
// active with its standing frame and shadow, layer 3, and centres the camera on it.
void world_place_player(s32 map, s32 x, s32 y);
// Object obj in use and active on `map` at (x, y), showing `frame` (0: not drawn) on `layer`,
// running script `slot`. Other attributes are cleared first.
void world_place_object(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 slot, s32 layer = 3);
// Arms the object's timer: ATTR_TIMER_ON, ATTR_TIMER := frames (and ATTR_TIMER_ANYMAP).
void world_arm_timer(s32 obj, s32 frames, bool anymap = false);
// Fires a trigger on an object as the field loop would.
void world_fire(s32 obj, s32 kind);

// ---- Input plans ------------------------------------------------------------------------------
// Runs `action` after `presents` more presented frames (0: at the next present), inside the
// present hook, where `world_state.camera_x/y` hold the camera that the next frame's map point
// uses.
void world_after_presents(u64 presents, std::function<void()> action);
// Holds the right button from now for `frames` presented frames with the pointer kept over map
// point (x, y) as the camera moves, then releases it.
void world_hold_right_toward(s32 x, s32 y, s32 frames);
// Left click on map point (x, y) with the current camera.
void world_click_map(s32 x, s32 y);
// Frames presented since the last `world_start`.
u64 world_presents();

// ---- Driver -----------------------------------------------------------------------------------
struct WorldRun {
    bool ended = false;        // the loop returned
    bool watchdog = false;     // ended by the frame limit, not by a test script
    bool budget_spent = false; // a wait ran out of budget (a script blocked without input)
    u64 presents = 0;          // frames presented during the run
};
constexpr s32 WORLD_WATCHDOG_OBJECT = 4095;
// Runs the real `field_loop` until a script clears `world_state.field_active`. A watchdog timer
// on object 4095 ends it after `frame_limit` frames (reported as a failure of the test), and a
// spent harness budget is reported too.
WorldRun world_run_field(s32 frame_limit = 1000);
