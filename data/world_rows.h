// Rows of world content: one row creates one object through one of the object creators (with the
// creator's own argument order) and carries the settings that follow that creation at once; a
// few row kinds change objects that already exist. The world population, the map-episode scenes
// and the open-world set-up are tables of these rows run by one executor (game/world_rows).
#pragma once
#include "engine/types.h"

#include <cstddef>

enum WorldOp : u8 {
    // Creators, in the argument orders of their functions.
    WR_NPC_TIMED,     // make_npc_timed(obj, map, x, y, event, cursor, frame, clickable, countdown)
    WR_PORTAL,        // make_portal(obj, map, x, y, frame, dest_map, dest_x, dest_y)
    WR_NPC_VIS,       // make_npc_vis(obj, visible, map, x, y, event, cursor, frame, clickable)
    WR_NPC,           // make_npc(obj, map, x, y, event, cursor, frame, clickable)
    WR_STEP,          // make_step_trigger(obj, map, x, y, event, frame)
    WR_NPC_VIS_TIMED, // make_npc_vis_timed(obj, visible, map, x, y, event, cursor, frame,
                      //                    clickable, countdown)
    WR_TIMER,         // make_timer(obj, map, event, countdown)
    WR_PORTAL_FIXED,  // make_portal_fixed(obj, map, x, y, frame, dest_map, dest_x, dest_y)
    // Changes to existing objects.
    WR_SET,        // attr_set(obj, attr, value): attr in `event`, value in `frame`
    WR_SHOW,       // ATTR_ACTIVE := 1
    WR_HIDE,       // ATTR_ACTIVE := 0
    WR_HIDE_RANGE, // ATTR_ACTIVE := 0 on obj..map (inclusive)
    WR_FRAME,      // obj_set_frame(obj, frame)
    WR_OP_COUNT,
};

// Settings that follow a creation, applied in the order of the bits.
enum WorldSetting : u32 {
    WS_HIDE = 1u << 0,      // ATTR_ACTIVE := 0
    WS_NO_SHADOW = 1u << 1, // ATTR_SHADOW := 0
    WS_LAYER0 = 1u << 2,    // ATTR_LAYER := 0 (never drawn; its shape counts for clicks)
    WS_LAYER1 = 1u << 3,    // ATTR_LAYER := 1 (ground)
    WS_LAYER2 = 1u << 4,    // ATTR_LAYER := 2 (top)
    WS_BRIGHT11 = 1u << 5,  // ATTR_BRIGHTNESS := 11
    WS_BLOCK = 1u << 6,     // ATTR_BLOCK := 1
    WS_BLEND12 = 1u << 7,   // ATTR_BLEND := 12 (additive)
    WS_MIRROR = 1u << 8,    // ATTR_MIRROR := 1
    WS_NO_CLICK = 1u << 9,  // ATTR_CLICK := 0
    WS_FRAME0 = 1u << 10,   // obj_set_frame(obj, 0)
    WS_TIMER10 = 1u << 11,  // ATTR_TIMER_ON := 1, ATTR_TIMER := 10
    WS_SHADOW = 1u << 12,   // ATTR_SHADOW := 1
    WS_ALL = (1u << 13) - 1,
};

struct WorldRow {
    WorldOp op;
    s32 obj;
    s32 visible; // make_npc_vis*: 1 shown, 0 hidden
    s32 map;     // WR_HIDE_RANGE: the last object of the range
    s32 x, y;
    s32 event;  // script slot; WR_SET: the attribute
    s32 cursor; // hover cursor; outside 0..15 none
    s32 frame;  // signed image id (negative = mirrored); WR_SET: the value
    s32 clickable;
    s32 countdown;
    s32 dest_map, dest_x, dest_y;
    u32 settings; // WorldSetting bits
};

// ---- Builders: the creators' argument orders, then the settings ----------------------------

constexpr WorldRow npc_timed(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame,
                             s32 clickable, s32 countdown, u32 settings = 0) {
    return {WR_NPC_TIMED, obj,       0,         map, x, y, event,   cursor,
            frame,        clickable, countdown, 0,   0, 0, settings};
}
constexpr WorldRow portal(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x,
                          s32 dest_y, u32 settings = 0) {
    return {WR_PORTAL, obj, 0, map, x, y, 6, -1, frame, 0, 0, dest_map, dest_x, dest_y, settings};
}
constexpr WorldRow portal_fixed(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 dest_map, s32 dest_x,
                                s32 dest_y, u32 settings = 0) {
    return {WR_PORTAL_FIXED, obj, 0, map,      x,      y,      60,      -1,
            frame,           0,   0, dest_map, dest_x, dest_y, settings};
}
constexpr WorldRow npc_vis(s32 obj, s32 visible, s32 map, s32 x, s32 y, s32 event, s32 cursor,
                           s32 frame, s32 clickable, u32 settings = 0) {
    return {WR_NPC_VIS, obj,       visible, map, x, y, event,   cursor,
            frame,      clickable, 0,       0,   0, 0, settings};
}
constexpr WorldRow npc_vis_timed(s32 obj, s32 visible, s32 map, s32 x, s32 y, s32 event, s32 cursor,
                                 s32 frame, s32 clickable, s32 countdown, u32 settings = 0) {
    return {WR_NPC_VIS_TIMED, obj,       visible, map, x, y,       event, cursor, frame,
            clickable,        countdown, 0,       0,   0, settings};
}
constexpr WorldRow npc(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 cursor, s32 frame,
                       s32 clickable, u32 settings = 0) {
    return {WR_NPC, obj, 0, map, x, y, event, cursor, frame, clickable, 0, 0, 0, 0, settings};
}
constexpr WorldRow step_trigger(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 frame,
                                u32 settings = 0) {
    return {WR_STEP, obj, 0, map, x, y, event, -1, frame, 0, 0, 0, 0, 0, settings};
}
constexpr WorldRow timer(s32 obj, s32 map, s32 event, s32 countdown, u32 settings = 0) {
    return {WR_TIMER, obj, 0, map, 0, 0, event, -1, 0, 0, countdown, 0, 0, 0, settings};
}
constexpr WorldRow set_attr(s32 obj, s32 attr, s32 value) {
    return {WR_SET, obj, 0, 0, 0, 0, attr, -1, value, 0, 0, 0, 0, 0, 0};
}
constexpr WorldRow show(s32 obj) {
    return {WR_SHOW, obj, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0};
}
constexpr WorldRow hide(s32 obj) {
    return {WR_HIDE, obj, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0};
}
constexpr WorldRow hide_range(s32 first, s32 last) {
    return {WR_HIDE_RANGE, first, 0, last, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0};
}
constexpr WorldRow set_frame(s32 obj, s32 frame) {
    return {WR_FRAME, obj, 0, 0, 0, 0, 0, -1, frame, 0, 0, 0, 0, 0, 0};
}

// 1 for the rows that create an object.
constexpr bool world_row_creates(const WorldRow& row) {
    return row.op <= WR_PORTAL_FIXED;
}
