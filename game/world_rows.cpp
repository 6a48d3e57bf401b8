#include "game/world_rows.h"

#include "engine/shell.h"
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "game/makers.h"

namespace {

bool object_ok(s32 obj) {
    return obj >= 0 && obj < OBJECT_COUNT;
}

void check_row(const WorldRow& r, size_t index) {
    bool ok = object_ok(r.obj);
    if (world_row_creates(r) && (r.event < 0 || r.event >= OBJECT_EVENT_COUNT)) ok = false;
    if (r.op == WR_SET && (r.event < 0 || r.event >= ATTR_COUNT)) ok = false;
    if (r.op == WR_HIDE_RANGE && (!object_ok(r.map) || r.map < r.obj)) ok = false;
    if (r.op >= WR_OP_COUNT || (r.settings & ~static_cast<u32>(WS_ALL)) != 0) ok = false;
    if (!ok) {
        shell_fatal("world content row %zu (object %d) is out of range", index,
                    static_cast<int>(r.obj));
    }
}

void apply_settings(s32 obj, u32 s) {
    if (s & WS_HIDE) attr_set(obj, ATTR_ACTIVE, 0);
    if (s & WS_NO_SHADOW) attr_set(obj, ATTR_SHADOW, 0);
    if (s & WS_LAYER0) attr_set(obj, ATTR_LAYER, 0);
    if (s & WS_LAYER1) attr_set(obj, ATTR_LAYER, 1);
    if (s & WS_LAYER2) attr_set(obj, ATTR_LAYER, 2);
    if (s & WS_BRIGHT11) attr_set(obj, ATTR_BRIGHTNESS, 11);
    if (s & WS_BLOCK) attr_set(obj, ATTR_BLOCK, 1);
    if (s & WS_BLEND12) attr_set(obj, ATTR_BLEND, 12);
    if (s & WS_MIRROR) attr_set(obj, ATTR_MIRROR, 1);
    if (s & WS_NO_CLICK) attr_set(obj, ATTR_CLICK, 0);
    if (s & WS_FRAME0) obj_set_frame(obj, 0);
    if (s & WS_TIMER10) {
        attr_set(obj, ATTR_TIMER_ON, 1);
        attr_set(obj, ATTR_TIMER, 10);
    }
    if (s & WS_SHADOW) attr_set(obj, ATTR_SHADOW, 1);
}

} // namespace

void world_rows_run(const WorldRow* rows, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const WorldRow& r = rows[i];
        check_row(r, i);
        switch (r.op) {
        case WR_NPC_TIMED:
            make_npc_timed(r.obj, r.map, r.x, r.y, r.event, r.cursor, r.frame, r.clickable,
                           r.countdown);
            break;
        case WR_PORTAL:
            make_portal(r.obj, r.map, r.x, r.y, r.frame, r.dest_map, r.dest_x, r.dest_y);
            break;
        case WR_NPC_VIS:
            make_npc_vis(r.obj, r.visible, r.map, r.x, r.y, r.event, r.cursor, r.frame,
                         r.clickable);
            break;
        case WR_NPC:
            make_npc(r.obj, r.map, r.x, r.y, r.event, r.cursor, r.frame, r.clickable);
            break;
        case WR_STEP:
            make_step_trigger(r.obj, r.map, r.x, r.y, r.event, r.frame);
            break;
        case WR_NPC_VIS_TIMED:
            make_npc_vis_timed(r.obj, r.visible, r.map, r.x, r.y, r.event, r.cursor, r.frame,
                               r.clickable, r.countdown);
            break;
        case WR_TIMER:
            make_timer(r.obj, r.map, r.event, r.countdown);
            break;
        case WR_PORTAL_FIXED:
            make_portal_fixed(r.obj, r.map, r.x, r.y, r.frame, r.dest_map, r.dest_x, r.dest_y);
            break;
        case WR_SET:
            attr_set(r.obj, r.event, r.frame);
            break;
        case WR_SHOW:
            attr_set(r.obj, ATTR_ACTIVE, 1);
            break;
        case WR_HIDE:
            attr_set(r.obj, ATTR_ACTIVE, 0);
            break;
        case WR_HIDE_RANGE:
            for (s32 obj = r.obj; obj <= r.map; ++obj) attr_set(obj, ATTR_ACTIVE, 0);
            break;
        case WR_FRAME:
            obj_set_frame(r.obj, r.frame);
            break;
        case WR_OP_COUNT:
            break;
        }
        if (world_row_creates(r)) apply_settings(r.obj, r.settings);
    }
}
