#include "game/makers.h"

#include "engine/world/object.h"
#include "engine/world/staging.h"

namespace {

void make_portal_with(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x,
                      s32 dest_y, s32 event) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
    attr_set(obj, ATTR_TIMER_ANYMAP, 1);
    attr_set(obj, ATTR_STEP, 1);
    attr_set(obj, ATTR_MAP, map);
    attr_set(obj, ATTR_X, x);
    attr_set(obj, ATTR_Y, y);
    obj_set_frame(obj, frame);
    attr_set(obj, ATTR_EVENT, event);
    attr_set(obj, ATTR_DEST_MAP, dest_map);
    attr_set(obj, ATTR_VAR_A, dest_x);
    attr_set(obj, ATTR_VAR_B, dest_y);
}

} // namespace

void make_portal(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x, s32 dest_y) {
    make_portal_with(obj, map, x, y, frame, dest_map, dest_x, dest_y, PORTAL_EVENT);
}

void make_portal_fixed(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x,
                       s32 dest_y) {
    make_portal_with(obj, map, x, y, frame, dest_map, dest_x, dest_y, PORTAL_FIXED_EVENT);
}

void make_npc_vis(s32 obj, s32 visible, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame,
                  s32 clickable) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, visible);
    attr_set(obj, ATTR_TIMER_ANYMAP, 1);
    attr_set(obj, ATTR_CLICK, clickable);
    attr_set(obj, ATTR_LAYER, 3);
    if (cursor < 0) {
        attr_set(obj, ATTR_HOVER_CURSOR, 0);
    } else {
        attr_set(obj, ATTR_HOVER_CURSOR, 1);
        attr_set(obj, ATTR_CURSOR, cursor);
    }
    attr_set(obj, ATTR_MAP, map);
    attr_set(obj, ATTR_X, x);
    attr_set(obj, ATTR_Y, y);
    obj_set_frame(obj, frame);
    attr_set(obj, ATTR_EVENT, event);
}

void make_npc_vis_timed(s32 obj, s32 visible, s32 map, s32 x, s32 y, s32 event, s32 cursor,
                        s32 frame, s32 clickable, s32 countdown) {
    make_npc_vis(obj, visible, map, x, y, event, cursor, frame, clickable);
    attr_set(obj, ATTR_TIMER_ON, 1);
    attr_set(obj, ATTR_TIMER, countdown);
}

void no_op() {}

s32 player_face_frame(s32 x1, s32 y1, s32 x2, s32 y2) {
    // A player posed by a script keeps its pose.
    if (attr_get(0, ATTR_TIMER_ON)) return obj_get_frame(0);
    s32 dx = x1 - x2, dy = y1 - y2;
    if (dx == 0) return dy > 0 ? 420 : 422;
    // Truncated before the absolute value; wide, so no pair of points overflows.
    s64 quotient = s64(dy) * 10 / dx;
    s64 s = quotient < 0 ? -quotient : quotient;
    if (s > 30) return dy > 0 ? 420 : 422;
    if (s < 3) return dx > 0 ? -416 : 416;
    if (dx >= 0 && dy <= 0) return -424;
    if (dx >= 0 && dy >= 0) return -418;
    if (dx <= 0 && dy >= 0) return 418;
    return 424;
}

s32 obj_face(s32 target, s32 who, s32 f0, s32 f1, s32 f2, s32 f3) {
    s32 dx = attr_get(target, ATTR_X) - attr_get(who, ATTR_X);
    s32 dy = attr_get(target, ATTR_Y) - attr_get(who, ATTR_Y);
    if (dx >= 0 && dy < 0) {
        obj_show_frame(who, f1);
        return 1;
    }
    if (dx > 0 && dy >= 0) {
        obj_show_frame(who, f3);
        return 3;
    }
    if (dx <= 0 && dy > 0) {
        obj_show_frame(who, f2);
        return 2;
    }
    if (dx < 0 && dy <= 0) {
        obj_show_frame(who, f0);
        return 0;
    }
    return 4; // the same point
}
