// Walking: the player handler of the field loop, the walking step with wall sliding, the terrain
// test and the scripted step of any object.
#include "engine/world/walk.h"

#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdint>

const u32 walk_masks[4] = {1, 3, 7, 15};
const u8 walk_mirror[8] = {0, 0, 0, 1, 1, 1, 0, 0};
const s32 walk_groups[8] = {0, 16, 32, 16, 0, 64, 48, 64};
const s32 stand_frames[8] = {160, 162, 164, 162, 160, 168, 166, 168};

u32 walk_counter = 0;

namespace {

// Never switched on by the game: makes the walking code print its points and wait for a key.
s32 walk_debug = 0;

// The last point `walkable_at` answered for, and its answer.
bool memo_valid = false;
s32 memo_x = 0;
s32 memo_y = 0;
s32 memo_answer = 0;

constexpr s32 IDLE_AFTER_CLICK = 99;
constexpr s32 IDLE_STAND_AFTER = 8;
constexpr s32 ARRIVE_WINDOW = 8;      // within 7 pixels on both axes counts as arrived
constexpr s32 PLAYER_RUN_LIMIT = 416; // player frames from here on are standing or set-1 frames

// The sector is saved with the game, so a damaged save must not index the tables past their end.
s32 current_sector() {
    return world_state.walk_sector & 7;
}

void show_standing(s32 sector) {
    attr_set(0, ATTR_MIRROR, walk_mirror[sector]);
    attr_set(0, ATTR_FRAME, player_image_base() + stand_frames[sector]);
}

// Rounds a 16.16 coordinate to the nearest whole pixel.
s32 to_pixel(s64 fixed) {
    return s32((fixed + 0x8000) >> 16);
}

// Steps `count` times from (x, y) by (sx, sy) in 16.16, taking each step whose rounded point is
// walkable; returns the rounded end point.
void try_steps(s32 x, s32 y, s32 sx, s32 sy, s32 count, u32 mask, s32& end_x, s32& end_y) {
    s64 cx = s64(x) << 16;
    s64 cy = s64(y) << 16;
    for (s32 i = 0; i < count; ++i) {
        s64 nx = cx + sx;
        s64 ny = cy + sy;
        if (walkable_at(to_pixel(nx), to_pixel(ny), mask) == 1) {
            cx = nx;
            cy = ny;
        }
    }
    end_x = to_pixel(cx);
    end_y = to_pixel(cy);
}

bool point_walkable(s32 x, s32 y, u32 mask) {
    terrain_at(x, y);
    return world_state.terrain_walk_all != 0 || (world_state.terrain_class & mask) != 0;
}

} // namespace

void walk_reset() {
    memo_valid = false;
    memo_x = memo_y = memo_answer = 0;
    walk_counter = 0;
}

s32 player_image_base() {
    return world_state.player_sprite_set != 0 ? PLAYER_BASE_ALT : PLAYER_BASE;
}

void player_frame(u32 kind) {
    if (kind == 1) {
        s32 obj = hit_test(field_point_x, field_point_y, TRIG_CLICK);
        if (obj >= 0) {
            event_fire(obj, TRIG_CLICK);
            world_state.idle_frames = IDLE_AFTER_CLICK;
            return;
        }
    }
    if (attr_get(0, ATTR_TIMER_ON) != 0) {
        s32 timer = attr_get(0, ATTR_TIMER);
        if (timer > 0) --timer;
        attr_set(0, ATTR_TIMER, timer);
        if (timer == 0) event_fire(0, TRIG_TIMER);
        return;
    }
    if (field_buttons & 2) {
        player_move();
        return;
    }
    if (world_state.idle_frames != IDLE_AFTER_CLICK) {
        u32 before = world_state.idle_frames;
        world_state.idle_frames = before + 1;
        if (before > IDLE_STAND_AFTER) {
            world_state.idle_frames = 0;
            show_standing(current_sector());
        }
    }
}

void player_move() {
    memo_valid = false;
    world_state.idle_frames = 0;
    const s32 x = attr_get(0, ATTR_X);
    const s32 y = attr_get(0, ATTR_Y);
    const u32 mask = walk_masks[attr_get(0, ATTR_PLANE) & 3];
    const s32 sector = current_sector();
    const s32 base = player_image_base();

    s32 end_x = x;
    s32 end_y = y;
    if (world_state.walk_speed != 0) {
        const s32 count = world_state.walk_speed + 1;
        try_steps(x, y, world_state.step_x, world_state.step_y, count, mask, end_x, end_y);
        if (end_x == x && end_y == y)
            try_steps(x, y, slide_first_x, slide_first_y, count, mask, end_x, end_y);
        if (end_x == x && end_y == y)
            try_steps(x, y, slide_second_x, slide_second_y, count, mask, end_x, end_y);
        if (walk_debug) {
            debug_print("(%d,%d)\n(%d,%d) ", x, y, world_state.step_x, world_state.step_y);
            debug_wait_key();
        }
    }

    const s32 step_obj = hit_test(end_x, end_y, TRIG_STEP);
    const s32 blocker = hit_test(end_x, end_y, TRIG_BLOCK);
    if (blocker >= 0) {
        end_x = x;
        end_y = y;
    }

    terrain_at(end_x, end_y);
    attr_set(0, ATTR_X, end_x);
    attr_set(0, ATTR_Y, end_y);
    attr_set(0, ATTR_TINT, world_state.terrain_shade);
    attr_set(0, ATTR_MIRROR, walk_mirror[sector]);

    if (end_x != x || end_y != y) {
        ++walk_counter;
        if (walk_counter & 1) {
            const s32 step = (attr_get(0, ATTR_FRAME) + 2) & 14;
            const s32 walking = base + walk_groups[sector] + step;
            const bool running = world_state.walk_speed > 8;
            attr_set(0, ATTR_FRAME, running ? walking + PLAYER_RUN_OFFSET : walking);
            const u32 footstep_bits = running ? 15 : 31;
            if ((walk_counter & footstep_bits) == footstep_bits)
                mssw_play_sound(FOOTSTEP_SOUND_BASE + world_state.terrain_footstep, 1);
        }
    } else {
        attr_set(0, ATTR_FRAME, base + stand_frames[sector]);
    }

    if (step_obj >= 0) {
        event_fire(step_obj, TRIG_STEP);
        world_state.idle_frames = IDLE_AFTER_CLICK;
        show_standing(current_sector());
    }
}

s32 walkable_at(s32 x, s32 y, u32 mask) {
    if (memo_valid && memo_x == x && memo_y == y) return memo_answer;
    static constexpr s32 probe[5][2] = {{0, 0}, {-1, -1}, {1, 1}, {1, -1}, {-1, 1}};
    s32 count = 0;
    for (const auto& p : probe)
        if (point_walkable(x + p[0], y + p[1], mask)) ++count;
    if (walk_debug) {
        debug_print("check(%d,%d)[%d]", x, y, count);
        debug_wait_key();
    }
    memo_valid = true;
    memo_x = x;
    memo_y = y;
    memo_answer = count >= 3 ? 1 : 0;
    return memo_answer;
}

s32 obj_step_to(s32 obj, s32 tx, s32 ty, s32 speed) {
    const s32 x = attr_get(obj, ATTR_X);
    const s32 y = attr_get(obj, ATTR_Y);
    const s32 dx = tx - x;
    const s32 dy = ty - y;
    if (dx > -ARRIVE_WINDOW && dx < ARRIVE_WINDOW && dy > -ARRIVE_WINDOW && dy < ARRIVE_WINDOW)
        return 1;

    const s32 dir = direction_of(dx, dy) % 360;
    // The 16.16 unit step shifted down to -8..8, scaled by speed / 10 (truncating), in 64 bits
    // so that no speed overflows. A speed of 0 or less takes no such step: a negative one would
    // walk away from the target for ever.
    s32 nx = x, ny = y;
    if (speed > 0) {
        const auto moved = [speed](s32 from, s32 unit) {
            const s64 to = s64(from) + s64(unit >> 13) * speed / 10;
            return s32(std::clamp<s64>(to, INT32_MIN, INT32_MAX));
        };
        nx = moved(x, dir_step_x[size_t(dir)]);
        ny = moved(y, dir_step_y[size_t(dir)]);
    }
    // A step that rounds to nothing (a speed of 1 or less, or a slow steep walk) would leave the
    // walk waiting for an arrival that never comes: creep one pixel toward the target instead.
    if (nx == x && ny == y) {
        nx = x + (dx > 0) - (dx < 0);
        ny = y + (dy > 0) - (dy < 0);
    }

    const s32 frame = attr_get(obj, ATTR_FRAME);
    s32 new_frame;
    s32 mirror;
    s32 group = 0;
    if (obj == 0) {
        const s32 step = (frame + 2) & 14;
        mirror = 0;
        if (dir >= 22 && dir < 68) {
            group = 16;
        } else if (dir >= 68 && dir < 112) {
            group = 32;
        } else if (dir >= 112 && dir < 158) {
            group = 16;
            mirror = 1;
        } else if (dir >= 158 && dir < 202) {
            group = 0;
            mirror = 1;
        } else if (dir >= 202 && dir < 248) {
            group = 64;
            mirror = 1;
        } else if (dir >= 248 && dir < 292) {
            group = 48;
        } else if (dir >= 292 && dir < 338) {
            group = 64;
        }
        new_frame = player_image_base() + step + group;
    } else {
        s32 t = (frame % 50 + 2) % 20;
        if (t < 4) t = 4;
        new_frame = frame / 50 * 50 + t + (dir >= 180 ? 20 : 0);
        mirror = (dir >= 90 && dir < 270) ? 1 : 0;
    }

    // A fast step that carries past the target and out of the arrival window would swing across
    // the target for ever: on an axis where it passes the target, it stops on the target's line.
    const auto passes = [](s32 from, s32 to, s32 target) {
        return (from < target && to > target) || (from > target && to < target);
    };
    const bool lands = nx - tx > -ARRIVE_WINDOW && nx - tx < ARRIVE_WINDOW &&
                       ny - ty > -ARRIVE_WINDOW && ny - ty < ARRIVE_WINDOW;
    if (!lands) {
        if (passes(x, nx, tx)) nx = tx;
        if (passes(y, ny, ty)) ny = ty;
    }

    const s32 rx = tx - nx;
    const s32 ry = ty - ny;
    if (rx > -ARRIVE_WINDOW && rx < ARRIVE_WINDOW && ry > -ARRIVE_WINDOW && ry < ARRIVE_WINDOW) {
        nx = tx;
        ny = ty;
        if (obj == 0) {
            new_frame = player_image_base() + PLAYER_STAND_OFFSET + 2 * (group / 16);
        } else {
            const s32 block = new_frame / 50 * 50;
            new_frame = block + (new_frame % 50 >= 20 ? 22 : 2);
        }
    }

    attr_set(obj, ATTR_X, nx);
    attr_set(obj, ATTR_Y, ny);
    attr_set(obj, ATTR_MIRROR, mirror);
    attr_set(obj, ATTR_FRAME, new_frame);
    return 0;
}

s32 player_step_to(s32 x, s32 y, s32 speed) {
    const s32 result = obj_step_to(0, x, y, speed);
    if (result == 0) {
        const s32 frame = attr_get(0, ATTR_FRAME);
        if (frame < PLAYER_RUN_LIMIT) attr_set(0, ATTR_FRAME, frame + PLAYER_RUN_OFFSET);
    }
    return result;
}

u32 debug_wait_key() {
    key_code = 0;
    u32 key;
    while ((key = key_code) == 0) {
        plat_ticks(); // lets the platform notice a stop request
        rand_stir(1);
    }
    key_code = 0;
    return key;
}

s32 walkable_near_player(s32 dx, s32 dy) {
    return walkable_at(attr_get(0, ATTR_X) + dx, attr_get(0, ATTR_Y) + dy, 1);
}
