// The game's own object makers (portals and residents whose visibility is given at creation),
// the facing rules of the player and of any object, and `no_op`, the explicit empty case of the
// rules' and scripts' switches. The makers follow the engine's creators: they write only their
// own attributes, in order, and clear nothing; frames are signed (negative = mirrored).
#pragma once
#include "engine/types.h"

// Script slots of the two portal kinds: on TRIG_STEP they take the player to ATTR_DEST_MAP at
// (ATTR_VAR_A, ATTR_VAR_B).
constexpr s32 PORTAL_EVENT = 6;
constexpr s32 PORTAL_FIXED_EVENT = 60;

// An undrawn step-on portal (layer untouched) to dest_map at (dest_x, dest_y), script slot 6.
void make_portal(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x, s32 dest_y);
// The same with script slot 60.
void make_portal_fixed(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x,
                       s32 dest_y);
// A standing resident, shown when visible is 1; no shadow is written. A negative cursor clears
// the hover cursor; any other value sets it and is stored in ATTR_CURSOR (truncated to 4 bits).
void make_npc_vis(s32 obj, s32 visible, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame,
                  s32 clickable);
// As `make_npc_vis`, then the countdown armed with countdown frames.
void make_npc_vis_timed(s32 obj, s32 visible, s32 map, s32 x, s32 y, s32 event, s32 cursor,
                        s32 frame, s32 clickable, s32 countdown);

// Does nothing: the case of a switch in which nothing happens.
void no_op();

// The player's signed standing frame (416, 418, 420, 422, 424 or the negation of 416, 418, 424)
// for the offset dx = x1 - x2, dy = y1 - y2: 420 when dy > 0 and 422 otherwise for a steep or
// vertical offset, 416 (negated when dx > 0) for a flat one, and 418 or 424 signed by the
// quadrant in between. Scripts pass the player's point first and the other's second. Only
// computed, not shown. While the player's ATTR_TIMER_ON is 1 (posed by a script) its current
// signed frame.
s32 player_face_frame(s32 x1, s32 y1, s32 x2, s32 y2);
// Shows on object who (with `obj_show_frame`) the one of f0 (target left or up-left), f1 (up or
// up-right), f2 (down or down-left), f3 (right or down-right) that faces object target and
// returns 0..3; 4, with nothing shown, when both stand on the same point.
s32 obj_face(s32 target, s32 who, s32 f0, s32 f1, s32 f2, s32 f3);
