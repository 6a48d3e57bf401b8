// Map scene rendering: draw list, the four object passes, labels, camera and hit test.
#include "engine/world/scene.h"

#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/shell.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"

#include <algorithm>
#include <vector>

DrawListEntry draw_list[DRAW_LIST_SIZE];
s32 draw_count = 0;
s32 slide_first_x = 0;
s32 slide_first_y = 0;
s32 slide_second_x = 0;
s32 slide_second_y = 0;

namespace {

constexpr s32 SCREEN_WIDTH = 640;
constexpr s32 SCREEN_HEIGHT = 480;
constexpr u32 SHADOW_BLEND = 7u << BLIT_BLEND_SHIFT; // seven tenths of the ground shows through

s32 signed16(s32 v) {
    return s32(s16(u16(v)));
}

// The layer an entry is drawn in, or -1 for a hidden entry (drawn by no pass).
s32 entry_layer(DrawListEntry key) {
    if (key & DRAW_KEY_HIDDEN) return -1;
    return s32((key >> DRAW_KEY_LAYER_SHIFT) & 3);
}

void draw_pass(s32 layer, s32 depth_tested, s32 shadow_pass) {
    for (s32 i = 0; i < draw_count; ++i) {
        if (entry_layer(draw_list[i]) == layer) draw_entry(i, depth_tested, shadow_pass);
    }
}

void draw_labels() {
    const s32 cx = world_state.camera_x;
    const s32 cy = world_state.camera_y;
    for (FloatingLabel& label : label_table) {
        if (label.countdown == 0) continue;
        s32 x = cx + label.dx;
        s32 y = cy + label.dy;
        if (label.object < OBJECT_COUNT) {
            x = attr_get(label.object, ATTR_X) + label.dx;
            y = attr_get(label.object, ATTR_Y) - attr_get(label.object, ATTR_Z) + label.dy;
        }
        label.text[LABEL_TEXT_SIZE - 2] = 0;
        label.text[LABEL_TEXT_SIZE - 1] = 0;
        kanji_style = 2;
        kanji_size = 2;
        kanji_mode = 3;
        text_scrambled = 1;
        kanji_line_chars = 0;
        text_colour(31, 31, 31);
        kanji_pen_x = x - cx;
        kanji_pen_y = y - cy;
        kanji_print_line(label.text);
    }
}

void fill_target_white() {
    for (s32 r = 0; r < target_height; ++r) {
        u16* row = target_pixels + row_offsets[r] / 2;
        std::fill(row, row + target_width, u16(0xFFFF));
    }
}

} // namespace

s32 drawlist_build() {
    const s32 cx = world_state.camera_x;
    const s32 cy = world_state.camera_y;
    const s32 map = world_state.current_map;
    s32 count = 0;
    for (s32 obj = 0; obj < OBJECT_COUNT; ++obj) {
        // In use and active are bits 0 and 1 of the record: most records fail here.
        if ((object_table[obj].bits[0] & 3) != 3) continue;
        if (attr_get(obj, ATTR_MAP) != map || attr_get(obj, ATTR_FRAME) == 0) continue;
        const s32 x = attr_get(obj, ATTR_X);
        const s32 y = attr_get(obj, ATTR_Y);
        const s32 hot_x = signed16(attr_get(obj, ATTR_HOT_X));
        const s32 hot_y = signed16(attr_get(obj, ATTR_HOT_Y));
        const s32 width = attr_get(obj, ATTR_WIDTH);
        const s32 height = attr_get(obj, ATTR_HEIGHT);
        if (attr_get(obj, ATTR_MIRROR)) {
            const s32 right = x + hot_x - cx;
            if (right < 0 || right - width + 1 >= SCREEN_WIDTH) continue;
        } else {
            const s32 left = x - hot_x;
            if (left >= cx + SCREEN_WIDTH || left + width <= cx) continue;
        }
        const s32 top = y - attr_get(obj, ATTR_Z) - hot_y;
        if (top >= cy + SCREEN_HEIGHT || top + height <= cy) continue;
        if (count >= DRAW_LIST_SIZE) continue;
        const u32 layer = u32(attr_get(obj, ATTR_LAYER));
        u32 key = u32(attr_get(obj, ATTR_PLANE)) << DRAW_KEY_PLANE_SHIFT |
                  u32(y) << DRAW_KEY_Y_SHIFT | u32(obj);
        if (attr_get(obj, ATTR_HIDDEN) && layer != 0) {
            key |= DRAW_KEY_HIDDEN;
        } else {
            key |= layer << DRAW_KEY_LAYER_SHIFT;
        }
        draw_list[count++] = key;
    }
    // Keys are unique (they carry the object number), so any ascending sort gives the one order.
    std::sort(draw_list, draw_list + count);
    draw_count = count;
    return count;
}

void draw_entry(s32 index, s32 depth_tested, s32 shadow_pass) {
    const s32 obj = s32(draw_list[index] & DRAW_KEY_OBJECT_MASK);
    const s32 x = attr_get(obj, ATTR_X);
    const s32 y = attr_get(obj, ATTR_Y);
    const u32 flags = u32(attr_get(obj, ATTR_BLIT_FLAGS)) & ~BLIT_LIGHT;
    const s32 frame = attr_get(obj, ATTR_FRAME);
    u32 depth = 0;
    if (depth_tested) {
        terrain_at(x, y);
        depth = world_state.terrain_depth;
        if (attr_get(obj, ATTR_SHOW_THROUGH)) depth += DEPTH_SHOW_THROUGH;
    }
    const s32 cx = world_state.camera_x;
    const s32 cy = world_state.camera_y;
    if (shadow_pass == 0) {
        draw_image_depth(x - cx, y - attr_get(obj, ATTR_Z) - cy, frame, flags, depth);
    } else if (attr_get(obj, ATTR_SHADOW) == 1) {
        draw_image_depth(x - cx, y - cy, frame + 1, (flags & BLIT_MIRROR) | SHADOW_BLEND, depth);
    }
}

void scene_render() {
    if (world_state.flash != 0) {
        fill_target_white();
        world_state.flash = 0;
        return;
    }
    zone_draw(world_state.camera_x, world_state.camera_y);
    drawlist_build();
    draw_pass(3, 1, 1); // shadows of the standing objects
    draw_pass(1, 0, 0); // ground
    draw_pass(3, 1, 0); // standing, behind the scenery where it is deeper
    draw_pass(2, 0, 0); // top
    draw_labels();
}

void camera_follow(s32 walk) {
    WorldState& w = world_state;
    const s32 x = attr_get(0, ATTR_X);
    const s32 y = attr_get(0, ATTR_Y);
    const s32 z = attr_get(0, ATTR_Z);
    s32 cx = x - 320;
    if (cx < 0) cx = 0;
    if (cx > w.map_width - SCREEN_WIDTH) cx = w.map_width - SCREEN_WIDTH;
    s32 cy = y - z - 240;
    if (cy < 0) cy = 0;
    if (cy > w.map_height - SCREEN_HEIGHT) cy = w.map_height - SCREEN_HEIGHT;
    w.camera_x = s16(cx);
    w.camera_y = s16(cy);

    const s32 dx = field_point_x - x;
    const s32 dy = field_point_y - (y - z);
    const s64 dxs = s64(dx) * 240 / 320; // horizontal distances count three quarters
    if (walk == 0 || (field_buttons & 2) == 0) return;

    const s32 dir = direction_of(dx, dy);
    const u64 sum = u64(dxs * dxs) + u64(s64(dy) * dy);
    const s32 dist = isqrt(u32(std::min<u64>(sum, 0xFFFFFFFFu)));
    if (dist <= 8) {
        w.step_x = 0;
        w.step_y = 0;
        w.walk_speed = 0;
        return;
    }
    w.walk_speed = dist > 160 ? 10 : 5;
    if (w.player_sprite_set != 0) w.walk_speed = 4;
    w.step_x = dir_step_x[size_t(dir)];
    w.step_y = dir_step_y[size_t(dir)];
    const size_t first = size_t((dir + 338) % 360);
    const size_t second = size_t((dir + 382) % 360);
    slide_first_x = dir_step_x[first];
    slide_first_y = dir_step_y[first];
    slide_second_x = dir_step_x[second];
    slide_second_y = dir_step_y[second];
    u8 sector = 7;
    if (dir < 22 || dir >= 338) {
        sector = 0;
    } else if (dir < 68) {
        sector = 1;
    } else if (dir < 112) {
        sector = 2;
    } else if (dir < 158) {
        sector = 3;
    } else if (dir < 202) {
        sector = 4;
    } else if (dir < 248) {
        sector = 5;
    } else if (dir < 292) {
        sector = 6;
    }
    w.walk_sector = sector;
}

s32 hit_test(s32 map_x, s32 map_y, s32 kind) {
    if (kind < ATTR_HOVER_CURSOR || kind > ATTR_BLOCK) return -1;
    for (s32 i = draw_count - 1; i >= 0; --i) {
        const s32 obj = s32(draw_list[i] & DRAW_KEY_OBJECT_MASK);
        if (attr_get(obj, kind) == 0) continue;
        const s32 x = attr_get(obj, ATTR_X);
        const s32 hot_x = signed16(attr_get(obj, ATTR_HOT_X));
        const s32 hot_y = signed16(attr_get(obj, ATTR_HOT_Y));
        const s32 top = attr_get(obj, ATTR_Y) - attr_get(obj, ATTR_Z) - hot_y;
        const s32 u = attr_get(obj, ATTR_MIRROR) ? (x + hot_x) - map_x : map_x - (x - hot_x);
        const s32 v = map_y - top;
        if (u < 0 || u >= attr_get(obj, ATTR_WIDTH) || v < 0 || v >= attr_get(obj, ATTR_HEIGHT)) {
            continue;
        }
        if (blit_hit(u, v, image_load(attr_get(obj, ATTR_FRAME)))) return obj;
    }
    return -1;
}

void picture_show(s32 picture) {
    rand_stir(u32(rt_rand()));
    if (picture < 0 || picture > 65535) shell_fatal("jpg:%d,or", picture);
    // The picture's bytes are never shown (image 250 is), so they are not read: only an empty
    // entry is refused. Nothing is allocated by the size its index entry declares.
    if (gisk_size(ARC_PICTURE_BASE + picture) == 0) shell_fatal("jpg:#%d size=0", picture);
    draw_image(-50, -50, 250, 1);
}
