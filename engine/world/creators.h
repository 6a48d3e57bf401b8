// Object creators: each sets, in a fixed order, the attributes of one record of `object_table`
// for a role (the player, a standing person or thing, the same with a running timer, an invisible
// step-on zone, an invisible timer). A creator writes only its own attributes and clears nothing:
// a re-used object number keeps every attribute the creator does not write. The frame is always
// written after the map and position, so an object created on the current map gets its size and
// hotspot from its image at once. Frames are signed (negative = mirrored).
#pragma once
#include "engine/types.h"

// Object 0: in use, active, timer on every map, clickable, standing layer; hover cursor when
// cursor is 0..15; on map at (x, y); standing frame 256 unmirrored; script slot event; shadow and
// show-through.
void make_player(s32 map, s32 x, s32 y, s32 event, s32 cursor);
// An undrawn step-on zone (layer untouched): the frame's opaque pixels are where the player's
// feet fire TRIG_STEP.
void make_step_trigger(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 frame);
// A standing person or thing with a shadow; clickable when clickable is 1; hover cursor only for
// cursor 0..15 (any other value leaves both cursor attributes as they were).
void make_npc(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame, s32 clickable);
// As `make_npc`, then the countdown armed with countdown frames.
void make_npc_timed(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame, s32 clickable,
                    s32 countdown);
// An invisible timer that counts down on every map; map is not used and ATTR_MAP not written.
void make_timer(s32 obj, s32 map, s32 event, s32 countdown);
// A clickable standing thing with hover cursor 14 and no shadow; kept for completeness, the game
// itself does not use it.
void make_clickable(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 event);
