// Staging services: scripted walks, shown and placed frames, waits, camera pans, fades, map
// changes, distances and stopwatches.
#include "engine/world/staging.h"

#include "engine/labels.h"
#include "engine/math.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/transcript.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/walk.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "platform/platform.h"

#include <cstring>
#include <initializer_list>

s32 walk_movers[WALK_MOVERS_MAX * 4 + 1] = {-1};
u32 stopwatches[STOPWATCH_COUNT] = {};

namespace {

// Busy-waits until `period` ms have passed since `start`, stirring the random counter per spin.
void spin_until(u32 start, u32 period) {
    while (plat_ticks() - start < period) rand_stir(1);
}

// Centres the camera on obj as the camera follow does, without weather or walking outputs.
void camera_centre_on(s32 obj) {
    s32 cx = attr_get(obj, ATTR_X) - SCREEN_W / 2;
    if (cx < 0) cx = 0;
    if (cx > world_state.map_width - SCREEN_W) cx = world_state.map_width - SCREEN_W;
    s32 cy = attr_get(obj, ATTR_Y) - attr_get(obj, ATTR_Z) - SCREEN_H / 2;
    if (cy < 0) cy = 0;
    if (cy > world_state.map_height - SCREEN_H) cy = world_state.map_height - SCREEN_H;
    world_state.camera_x = s16(cx);
    world_state.camera_y = s16(cy);
}

// One walk frame: steps every mover, keeps the camera, draws, presents and waits out the frame.
// Reports whether all movers and whether any mover had arrived.
void walk_pass(const s32* movers, s32 camera_obj, bool& all, bool& any) {
    const u32 t = tick_count_now();
    all = true;
    any = false;
    for (s32 i = 0; i < WALK_MOVERS_MAX && movers[4 * i] != -1; ++i) {
        const s32* q = movers + 4 * i;
        const s32 arrived = obj_step_to(q[0], q[1], q[2], q[3]);
        all = all && arrived == 1;
        any = any || arrived == 1;
    }
    if (camera_obj >= 0 && camera_obj < OBJECT_COUNT) camera_centre_on(camera_obj);
    scene_render();
    screen_present();
    spin_until(t, WALK_FRAME_MS);
}

bool list_empty(const s32* movers) {
    return movers[0] == -1;
}

// Fills `walk_movers` from `count` quadruples and ends the list.
void fill_movers(std::initializer_list<s32> quads) {
    s32 i = 0;
    for (s32 v : quads) walk_movers[i++] = v;
    walk_movers[i] = -1;
}

// One fade step: the kept picture darkened to `level`, presented, then the rest of 100 ms waited
// out (fades do not stir the random counter).
void fade_step(u32 level) {
    const u32 t = tick_count_now();
    screen_restore();
    fade_rect(0, 0, SCREEN_W, SCREEN_H, level);
    screen_present();
    while (plat_ticks() - t < u32(FADE_STEP_MS)) {
    }
}

s16 clamp_s16(s32 v) {
    if (v < -32768) return -32768;
    if (v > 32767) return 32767;
    return s16(v);
}

// Moves one camera axis toward its target by at most speed.
s16 pan_axis(s16 from, s16 to, s32 speed) {
    const s32 d = s32(to) - s32(from);
    if (d >= -speed && d <= speed) return to;
    return s16(d > 0 ? from + speed : from - speed);
}

} // namespace

void walk_all(const s32* movers, s32 camera_obj) {
    bool all = false, any = false;
    do {
        walk_pass(movers, camera_obj, all, any);
    } while (!all);
}

void walk_any(const s32* movers, s32 camera_obj) {
    // An empty list has nobody who could arrive: one frame, as `walk_all` does for it.
    const bool empty = list_empty(movers);
    bool all = false, any = false;
    do {
        walk_pass(movers, camera_obj, all, any);
    } while (!any && !empty);
}

void walk1(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1) {
    fill_movers({o1, x1, y1, v1});
    walk_all(walk_movers, cam);
}
void walk2(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2});
    walk_all(walk_movers, cam);
}
void walk3(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3, s32 x3,
           s32 y3, s32 v3) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3});
    walk_all(walk_movers, cam);
}
void walk4(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3, s32 x3,
           s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3, o4, x4, y4, v4});
    walk_all(walk_movers, cam);
}
void walk5(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3, s32 x3,
           s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5, s32 y5, s32 v5) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3, o4, x4, y4, v4, o5, x5, y5, v5});
    walk_all(walk_movers, cam);
}
void walk6(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3, s32 x3,
           s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5, s32 y5, s32 v5, s32 o6,
           s32 x6, s32 y6, s32 v6) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3,
                 o4, x4, y4, v4, o5, x5, y5, v5, o6, x6, y6, v6});
    walk_all(walk_movers, cam);
}
void walk1_any(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1) {
    fill_movers({o1, x1, y1, v1});
    walk_any(walk_movers, cam);
}
void walk2_any(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2});
    walk_any(walk_movers, cam);
}
void walk3_any(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
               s32 x3, s32 y3, s32 v3) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3});
    walk_any(walk_movers, cam);
}
void walk4_any(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
               s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3, o4, x4, y4, v4});
    walk_any(walk_movers, cam);
}
void walk5_any(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
               s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5, s32 y5,
               s32 v5) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3, o4, x4, y4, v4, o5, x5, y5, v5});
    walk_any(walk_movers, cam);
}
void walk6_any(s32 cam, s32 o1, s32 x1, s32 y1, s32 v1, s32 o2, s32 x2, s32 y2, s32 v2, s32 o3,
               s32 x3, s32 y3, s32 v3, s32 o4, s32 x4, s32 y4, s32 v4, s32 o5, s32 x5, s32 y5,
               s32 v5, s32 o6, s32 x6, s32 y6, s32 v6) {
    fill_movers({o1, x1, y1, v1, o2, x2, y2, v2, o3, x3, y3, v3,
                 o4, x4, y4, v4, o5, x5, y5, v5, o6, x6, y6, v6});
    walk_any(walk_movers, cam);
}

void obj_show_frame(s32 obj, s32 frame) {
    obj_set_frame(obj, frame);
    scene_render();
    screen_present();
}

void obj_place(s32 obj, s32 x, s32 y, s32 frame) {
    attr_set(obj, ATTR_X, x);
    attr_set(obj, ATTR_Y, y);
    obj_set_frame(obj, frame);
}

void obj_place_show(s32 obj, s32 x, s32 y, s32 frame) {
    obj_place(obj, x, y, frame);
    scene_render();
    screen_present();
}

u32 wait_ms(u32 ms) {
    const u32 start = plat_ticks();
    u32 now;
    while ((now = plat_ticks()) - start < ms) rand_stir(1);
    return now - start;
}

u32 tick_count_now() {
    return plat_ticks();
}

void camera_pan(s32 x, s32 y, s32 speed) {
    // The camera is a 16-bit pair: a target outside it could never be reached.
    const s16 tx = clamp_s16(x);
    const s16 ty = clamp_s16(y);
    do {
        const u32 t = tick_count_now();
        if (speed <= 0) {
            // No usable speed: a jump to the target in one frame instead of a pan that never ends.
            world_state.camera_x = tx;
            world_state.camera_y = ty;
        } else {
            world_state.camera_x = pan_axis(world_state.camera_x, tx, speed);
            world_state.camera_y = pan_axis(world_state.camera_y, ty, speed);
        }
        scene_render();
        screen_present();
        spin_until(t, PAN_FRAME_MS);
    } while (world_state.camera_x != tx || world_state.camera_y != ty);
}

void fade_out_scene() {
    scene_render();
    fade_out();
}

void fade_out() {
    screen_save();
    for (u32 level = 0; level <= 30; level += 2) fade_step(level);
    std::memset(back_buffer, 0, size_t(SCREEN_PIXELS) * sizeof(u16));
    screen_present();
}

void fade_in_scene() {
    scene_render();
    fade_in();
}

void fade_in() {
    screen_save();
    for (s32 level = 30; level >= 0; level -= 2) fade_step(u32(level));
}

void change_map(s32 map, s32 x, s32 y) {
    if (transcript_observer) transcript_change_map(map, x, y);
    map_load(map);
    attr_set(0, ATTR_MAP, map);
    attr_set(0, ATTR_X, x);
    attr_set(0, ATTR_Y, y);
    terrain_at(x, y);
    attr_set(0, ATTR_TINT, world_state.terrain_shade);
    attr_set(0, ATTR_PLANE, 0);
    attr_set(0, ATTR_Z, 0);
    camera_follow(0);
    label_clear();
}

s32 obj_distance(s32 obj_a, s32 obj_b) {
    const s32 dx = attr_get(obj_a, ATTR_X) - attr_get(obj_b, ATTR_X);
    const s32 dy = attr_get(obj_a, ATTR_Y) - attr_get(obj_b, ATTR_Y);
    return isqrt(u32(dx * dx + dy * dy));
}

s32 player_distance(s32 x, s32 y) {
    // Any point may be asked for: square in 64 bits and saturate instead of wrapping.
    const s64 dx = s64(x) - attr_get(0, ATTR_X);
    const s64 dy = s64(y) - attr_get(0, ATTR_Y);
    const u64 sq = u64(dx * dx) + u64(dy * dy);
    return isqrt(sq > 0xFFFFFFFFull ? 0xFFFFFFFFu : u32(sq));
}

u32 timer0_start() {
    return stopwatches[0] = plat_ticks();
}
u32 timer1_start() {
    return stopwatches[1] = plat_ticks();
}
u32 timer2_start() {
    return stopwatches[2] = plat_ticks();
}
u32 timer3_start() {
    return stopwatches[3] = plat_ticks();
}
u32 timer4_start() {
    return stopwatches[4] = plat_ticks();
}
u32 timer0_elapsed() {
    return plat_ticks() - stopwatches[0];
}
u32 timer1_elapsed() {
    return plat_ticks() - stopwatches[1];
}
u32 timer2_elapsed() {
    return plat_ticks() - stopwatches[2];
}
u32 timer3_elapsed() {
    return plat_ticks() - stopwatches[3];
}
u32 timer4_elapsed() {
    return plat_ticks() - stopwatches[4];
}

void obj_clear(s32 obj) {
    if (obj < 0 || obj >= OBJECT_COUNT) return;
    std::memset(&object_table[obj], 0, sizeof(ObjectRecord));
}

void obj_clear_all() {
    std::memset(object_table, 0, sizeof object_table);
}
