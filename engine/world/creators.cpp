#include "engine/world/creators.h"

#include "engine/world/object.h"

namespace {

// The hover cursor of the standing creators: written only for a cursor slot 0..15; any other
// value leaves both cursor attributes as they were.
void set_hover_cursor(s32 obj, s32 cursor) {
    if (cursor < 0 || cursor > 15) return;
    attr_set(obj, ATTR_HOVER_CURSOR, 1);
    attr_set(obj, ATTR_CURSOR, cursor);
}

void place(s32 obj, s32 map, s32 x, s32 y) {
    attr_set(obj, ATTR_MAP, map);
    attr_set(obj, ATTR_X, x);
    attr_set(obj, ATTR_Y, y);
}

} // namespace

void make_player(s32 map, s32 x, s32 y, s32 event, s32 cursor) {
    attr_set(0, ATTR_IN_USE, 1);
    attr_set(0, ATTR_ACTIVE, 1);
    attr_set(0, ATTR_TIMER_ANYMAP, 1);
    attr_set(0, ATTR_CLICK, 1);
    attr_set(0, ATTR_LAYER, 3);
    set_hover_cursor(0, cursor);
    place(0, map, x, y);
    obj_set_frame(0, 256); // the first standing frame of sprite set 0
    attr_set(0, ATTR_EVENT, event);
    attr_set(0, ATTR_SHADOW, 1);
    attr_set(0, ATTR_SHOW_THROUGH, 1);
}

void make_step_trigger(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 frame) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
    attr_set(obj, ATTR_STEP, 1);
    place(obj, map, x, y);
    obj_set_frame(obj, frame);
    attr_set(obj, ATTR_EVENT, event);
}

void make_npc(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame, s32 clickable) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
    attr_set(obj, ATTR_TIMER_ANYMAP, 1);
    attr_set(obj, ATTR_CLICK, clickable);
    attr_set(obj, ATTR_LAYER, 3);
    set_hover_cursor(obj, cursor);
    place(obj, map, x, y);
    obj_set_frame(obj, frame);
    attr_set(obj, ATTR_EVENT, event);
    attr_set(obj, ATTR_SHADOW, 1);
}

void make_npc_timed(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame, s32 clickable,
                    s32 countdown) {
    make_npc(obj, map, x, y, event, cursor, frame, clickable);
    attr_set(obj, ATTR_TIMER_ON, 1);
    attr_set(obj, ATTR_TIMER, countdown);
}

void make_timer(s32 obj, s32 /*map*/, s32 event, s32 countdown) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
    attr_set(obj, ATTR_TIMER_ANYMAP, 1);
    attr_set(obj, ATTR_TIMER_ON, 1);
    attr_set(obj, ATTR_TIMER, countdown);
    attr_set(obj, ATTR_EVENT, event);
}

void make_clickable(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 event) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
    attr_set(obj, ATTR_TIMER_ANYMAP, 1);
    attr_set(obj, ATTR_CLICK, 1);
    attr_set(obj, ATTR_LAYER, 3);
    attr_set(obj, ATTR_HOVER_CURSOR, 1);
    attr_set(obj, ATTR_CURSOR, 14);
    place(obj, map, x, y);
    obj_set_frame(obj, frame);
    attr_set(obj, ATTR_EVENT, event);
}
