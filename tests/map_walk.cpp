#include "tests/map_walk.h"

#include "engine/world/object.h"
#include "engine/world_state.h"
#include "tests/world_harness.h"

#include <cstdlib>

namespace {

constexpr s32 MARGIN = 24; // the feet's give around a box, and the walk's swerve off the line

struct Box {
    s32 x0, y0, x1, y1;
    bool holds(s32 x, s32 y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

std::vector<Box> obstacles(s32 x0, s32 y0, s32 x1, s32 y1) {
    std::vector<Box> boxes;
    for (s32 o = 1; o < OBJECT_COUNT; o++) {
        if (!attr_get(o, ATTR_IN_USE) || !attr_get(o, ATTR_ACTIVE)) continue;
        if (attr_get(o, ATTR_MAP) != world_state.current_map) continue;
        if (!attr_get(o, ATTR_STEP) && !attr_get(o, ATTR_BLOCK)) continue;
        const s32 left = attr_get(o, ATTR_X) - attr_get(o, ATTR_HOT_X);
        const s32 top = attr_get(o, ATTR_Y) - attr_get(o, ATTR_Z) - attr_get(o, ATTR_HOT_Y);
        const Box b{left - MARGIN, top - MARGIN, left + attr_get(o, ATTR_WIDTH) + MARGIN,
                    top + attr_get(o, ATTR_HEIGHT) + MARGIN};
        if (b.holds(x0, y0) || b.holds(x1, y1)) continue;
        boxes.push_back(b);
    }
    return boxes;
}

bool clear(const std::vector<Box>& boxes, MapPoint a, MapPoint b) {
    const s32 steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) / 8 + 1;
    for (s32 i = 0; i <= steps; i++) {
        const s32 x = a.x + (b.x - a.x) * i / steps, y = a.y + (b.y - a.y) * i / steps;
        for (const Box& box : boxes)
            if (box.holds(x, y)) return false;
    }
    return true;
}

bool clear_path(const std::vector<Box>& boxes, const std::vector<MapPoint>& path, MapPoint from) {
    for (const MapPoint& p : path) {
        if (p.x < 0 || p.y < 0 || !clear(boxes, from, p)) return false;
        from = p;
    }
    return true;
}

} // namespace

std::vector<MapPoint> walk_plan(s32 x0, s32 y0, s32 x1, s32 y1) {
    const std::vector<Box> boxes = obstacles(x0, y0, x1, y1);
    const MapPoint from{x0, y0}, to{x1, y1};
    std::vector<std::vector<MapPoint>> tries = {{to}, {{x1, y0}, to}, {{x0, y1}, to}};
    // Round a mark: along a row or a column off the straight way, in widening steps.
    for (s32 d = 48; d <= 960; d += 48)
        for (const s32 s : {d, -d}) {
            tries.push_back({{x0, y0 + s}, {x1, y0 + s}, to});
            tries.push_back({{x0, y1 + s}, {x1, y1 + s}, to});
            tries.push_back({{x0 + s, y0}, {x0 + s, y1}, to});
            tries.push_back({{x1 + s, y0}, {x1 + s, y1}, to});
        }
    for (const std::vector<MapPoint>& path : tries)
        if (clear_path(boxes, path, from)) return path;
    return {};
}

void MapWalk::reset() {
    *this = MapWalk();
}

bool MapWalk::toward(s32 x, s32 y, s32 reach) {
    ++frames_;
    const s32 px = attr_get(0, ATTR_X), py = attr_get(0, ATTR_Y);
    if (std::abs(px - x) <= reach && std::abs(py - y) <= reach) return true;
    if (target_.x != x || target_.y != y || map_ != world_state.current_map) {
        target_ = {x, y};
        map_ = world_state.current_map;
        legs_ = walk_plan(px, py, x, y);
        if (legs_.empty()) legs_ = {{x, y}}; // nothing clear: straight on
        leg_ = 0;
        held_until_ = 0;
    }
    // The next corner once the player stands at this one.
    while (leg_ + 1 < legs_.size() && std::abs(px - legs_[leg_].x) <= reach &&
           std::abs(py - legs_[leg_].y) <= reach) {
        ++leg_;
        held_until_ = 0;
    }
    if (frames_ < held_until_) return false;
    world_hold_right_toward(legs_[leg_].x, legs_[leg_].y, 120);
    held_until_ = frames_ + 121;
    return false;
}

void MapWalk::click_beside(s32 obj) {
    const s32 x = attr_get(obj, ATTR_X), y = attr_get(obj, ATTR_Y);
    if (!toward(x + 80, y) || clicked_) return;
    clicked_ = true;
    world_click_map(x, y - 10);
}

void MapWalk::through_door(s32 door) {
    const s32 x = attr_get(door, ATTR_X), y = attr_get(door, ATTR_Y);
    if (below_door_ || toward(x, y + 60)) {
        below_door_ = true;
        toward(x, y - 20, 4);
    }
}

void MapWalk::new_step() {
    clicked_ = false;
    below_door_ = false;
}
