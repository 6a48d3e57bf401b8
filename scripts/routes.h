// The route interpreter: walkers and daily routines written as tables of way-point steps and run
// by one interpreter on the object's timer.
//
// A route is a list of windows; a window is a clock range (inclusive, hour:minute) or `always`,
// and holds the steps of the stages that act in it. One timer run re-arms the object with the
// route's interval, runs the always-window's step of the current stage (if any), then finds the
// first clock window that holds the time and runs its step of the (possibly new) stage. At most
// one step acts per window and run. A stage that its window does not list, or a time outside
// every window, leaves the object standing. The stage is ATTR_VAR_A (or ATTR_VAR_B for walkers
// that keep their talk stage apart).
//
// A route whose interval is ROUTE_NO_REARM does not re-arm the object itself: its steps do (a
// walk's `.rearm(n)`, an idle cycle's own re-arm), so a stage without a step leaves the timer off
// until another script arms it again, as a walker that has reached its standing value.
//
// Every run is bounded: each window acts at most once, so one run does at most one step a window,
// and a step's actions are at most four (and the one `.before` action).
//
// Steps, as the route tables write them:
//   go(k, x, y, ...)     k (x,y): obj_step_to toward the point; on arrival the actions, then
//                        stage k + 1 (or the stage an action names)
//   stay(k, x, y, ...)   k stay (x,y): the same, but the stage stays k and the actions are done on
//                        every run after arrival
//   step(k, x, y)        one step toward the point, then stage k + 1 at once
//   face(k, F, ...)      frame F, the actions, stage k + 1 at once
//   next(k, ...)         the actions, stage k + 1 at once
//   to_map(k, M, x, y, F, ...)  ATTR_MAP := M, obj_place at (x,y) with frame F, the actions,
//                        stage k + 1 at once
//   idle(k, cycle)       the idle cycle of the kit; the stage stays (with `.next_at_wrap()` it
//                        moves on when the cycle wraps)
//   custom(k, fn)        a step of the script's own
//   hold(k, ...)         the actions on every run, the stage stays k (nothing moves)
// `.when_stage(o, lo, hi)` makes a step the step of its stage only while ATTR_VAR_A of object o
// lies in lo..hi; the first step of the stage whose condition holds acts (an onlooker that walks
// by another figure's stage).
// `.through(hi)` makes a step the step of every stage k..hi (an idle loop that plays whatever the
// stage, a resting loop for a stage and all above it).
// Actions: at_frame(F), then_stage(n), say_remark(t, dx, dy, ms) (self's remark, shown only while
// the player is on self's map), remark_on(o, t, dx, dy, ms, m) (another object's, while the
// player is on map m), obj_stage(o, n), obj_var_b(o, n), obj_on(o), obj_off(o), self_off(),
// unlabel(o), place(o, m, x, y, F) and place_self(m, x, y, F) (ATTR_MAP := m, then x, y and the
// signed frame; ATTR_ACTIVE is left as it is), rearm_to(n) (self's ATTR_TIMER := n, after the
// route's and the step's re-arm: a pause at a way-point), act(fn).
// `.speed(v)` changes a step's speed, `.rearm(n)` its re-arm, `.before(action)` adds an action
// done on every run before the step.
//
// Daily routines and the NPC timetables share their stage numbers: when the clock jumps, the
// timetable puts a resident at a resting point with the stage that rests there, and the route
// goes on from it. `route_timetable_mismatches` checks that promise for one resident.
#pragma once
#include "data/timetables.h"
#include "engine/types.h"
#include "scripts/kit.h"
#include "scripts/script_ids.h"

#include <array>
#include <span>

constexpr s32 ROUTE_SPEED = 9;
constexpr s32 ROUTE_IDLE_REARM = 10;
constexpr s32 ROUTE_IDLE_PAUSE = 20;
constexpr s32 ROUTE_ACTIONS = 4;
constexpr s32 ROUTE_SELF_MAP = -1;     // a remark shown while the player is on the object's own map
constexpr s32 ROUTE_NO_REARM = 0;      // a route interval: the steps re-arm, the route does not
constexpr s32 ROUTE_STAGE_MAX = 32767; // ATTR_VAR_A is 16 bits: the top of an open stage range

enum RouteOp : s32 {
    ROUTE_GO = 0,
    ROUTE_STAY,
    ROUTE_STEP,
    ROUTE_FACE,
    ROUTE_NEXT,
    ROUTE_MAP,
    ROUTE_IDLE,
    ROUTE_CUSTOM,
    ROUTE_HOLD,
};
enum RouteActionOp : s32 {
    ACTION_NONE = 0,
    ACTION_FRAME,
    ACTION_STAGE,
    ACTION_REMARK,
    ACTION_OBJ_STAGE,
    ACTION_OBJ_ACTIVE,
    ACTION_UNLABEL,
    ACTION_CALL,
    ACTION_PLACE,
    ACTION_REARM,
    ACTION_OBJ_VAR_B,
};

struct RouteAction {
    s32 op = ACTION_NONE;
    s32 obj = -1;  // -1: self
    s32 value = 0; // frame, stage, active, timer
    s32 text = 0, dx = 0, dy = 0, ms = 0;
    s32 map = ROUTE_SELF_MAP;
    s32 x = 0, y = 0; // ACTION_PLACE
    void (*fn)() = nullptr;
};

struct RouteStep {
    s32 stage = 0;
    s32 op = ROUTE_GO;
    s32 x = 0, y = 0;
    s32 step_speed = 0; // 0: the route's speed
    s32 step_rearm = 0; // 0: the route's interval
    s32 frame = 0;      // ROUTE_FACE and ROUTE_MAP
    s32 map = 0;        // ROUTE_MAP
    IdleCycle cycle{};  // ROUTE_IDLE
    bool wrap_next = false;
    std::array<RouteAction, ROUTE_ACTIONS> actions{};
    RouteAction first{}; // done on every run before the step
    void (*fn)() = nullptr;
    s32 stage_last = -1; // above `stage`: the step of every stage stage..stage_last
    s32 when_obj = -1;   // 0 and above: the step holds only while that object's stage is in
    s32 when_lo = 0, when_hi = 0; // when_lo..when_hi

    constexpr RouteStep speed(s32 v) const {
        RouteStep s = *this;
        s.step_speed = v;
        return s;
    }
    constexpr RouteStep rearm(s32 n) const {
        RouteStep s = *this;
        s.step_rearm = n;
        return s;
    }
    constexpr RouteStep before(RouteAction a) const {
        RouteStep s = *this;
        s.first = a;
        return s;
    }
    constexpr RouteStep through(s32 last) const {
        RouteStep s = *this;
        s.stage_last = last;
        return s;
    }
    constexpr RouteStep when_stage(ObjId o, s32 lo, s32 hi) const {
        RouteStep s = *this;
        s.when_obj = o.v;
        s.when_lo = lo;
        s.when_hi = hi;
        return s;
    }
    constexpr RouteStep next_at_wrap() const {
        RouteStep s = *this;
        s.wrap_next = true;
        return s;
    }
};

constexpr s32 ROUTE_ALWAYS = -1;
struct RouteWindow {
    s32 from = ROUTE_ALWAYS; // minute of the day (hour x 60 + minute), or ROUTE_ALWAYS
    s32 to = ROUTE_ALWAYS;   // inclusive
    std::span<const RouteStep> steps{};
};
constexpr s32 STAGE_VAR_A = 0;
constexpr s32 STAGE_VAR_B = 1;
struct Route {
    s32 interval = 6;
    s32 speed = ROUTE_SPEED;
    s32 stage_var = STAGE_VAR_A;
    std::span<const RouteWindow> windows{};
};

namespace route {
constexpr RouteAction at_frame(FrameId f) {
    RouteAction a;
    a.op = ACTION_FRAME;
    a.value = f.v;
    return a;
}
constexpr RouteAction then_stage(s32 stage) {
    RouteAction a;
    a.op = ACTION_STAGE;
    a.value = stage;
    return a;
}
constexpr RouteAction say_remark(TextId t, s32 dx, s32 dy, s32 ms) {
    RouteAction a;
    a.op = ACTION_REMARK;
    a.text = t.v;
    a.dx = dx;
    a.dy = dy;
    a.ms = ms;
    return a;
}
constexpr RouteAction remark_on(ObjId o, TextId t, s32 dx, s32 dy, s32 ms, MapId m) {
    RouteAction a = say_remark(t, dx, dy, ms);
    a.obj = o.v;
    a.map = m.v;
    return a;
}
constexpr RouteAction obj_stage(ObjId o, s32 stage) {
    RouteAction a;
    a.op = ACTION_OBJ_STAGE;
    a.obj = o.v;
    a.value = stage;
    return a;
}
constexpr RouteAction obj_on(ObjId o) {
    RouteAction a;
    a.op = ACTION_OBJ_ACTIVE;
    a.obj = o.v;
    a.value = 1;
    return a;
}
constexpr RouteAction obj_off(ObjId o) {
    RouteAction a = obj_on(o);
    a.value = 0;
    return a;
}
constexpr RouteAction self_off() {
    RouteAction a;
    a.op = ACTION_OBJ_ACTIVE;
    a.value = 0;
    return a;
}
constexpr RouteAction unlabel(ObjId o) {
    RouteAction a;
    a.op = ACTION_UNLABEL;
    a.obj = o.v;
    return a;
}
constexpr RouteAction obj_var_b(ObjId o, s32 value) {
    RouteAction a;
    a.op = ACTION_OBJ_VAR_B;
    a.obj = o.v;
    a.value = value;
    return a;
}
constexpr RouteAction place(ObjId o, MapId m, s32 x, s32 y, FrameId f) {
    RouteAction a;
    a.op = ACTION_PLACE;
    a.obj = o.v;
    a.map = m.v;
    a.x = x;
    a.y = y;
    a.value = f.v;
    return a;
}
constexpr RouteAction place_self(MapId m, s32 x, s32 y, FrameId f) {
    return place(ObjId{-1}, m, x, y, f);
}
constexpr RouteAction rearm_to(s32 frames) {
    RouteAction a;
    a.op = ACTION_REARM;
    a.value = frames;
    return a;
}
constexpr RouteAction act(void (*fn)()) {
    RouteAction a;
    a.op = ACTION_CALL;
    a.fn = fn;
    return a;
}

template <class... A> constexpr RouteStep make(s32 op, s32 k, A... actions) {
    static_assert(sizeof...(A) <= ROUTE_ACTIONS, "at most four actions a step");
    RouteStep s;
    s.op = op;
    s.stage = k;
    s.actions = {actions...};
    return s;
}
template <class... A> constexpr RouteStep go(s32 k, s32 x, s32 y, A... actions) {
    RouteStep s = make(ROUTE_GO, k, actions...);
    s.x = x;
    s.y = y;
    return s;
}
template <class... A> constexpr RouteStep stay(s32 k, s32 x, s32 y, A... actions) {
    RouteStep s = go(k, x, y, actions...);
    s.op = ROUTE_STAY;
    return s;
}
constexpr RouteStep step(s32 k, s32 x, s32 y) {
    RouteStep s = go(k, x, y);
    s.op = ROUTE_STEP;
    return s;
}
template <class... A> constexpr RouteStep face(s32 k, FrameId f, A... actions) {
    RouteStep s = make(ROUTE_FACE, k, actions...);
    s.frame = f.v;
    return s;
}
template <class... A> constexpr RouteStep next(s32 k, A... actions) {
    return make(ROUTE_NEXT, k, actions...);
}
template <class... A>
constexpr RouteStep to_map(s32 k, MapId m, s32 x, s32 y, FrameId f, A... actions) {
    RouteStep s = make(ROUTE_MAP, k, actions...);
    s.map = m.v;
    s.x = x;
    s.y = y;
    s.frame = f.v;
    return s;
}
// The idle loop of a route: frames a..b in steps of `step` (2 as a rule), re-armed every
// `rearm` frames, `pause` at the wrap; a remark may be set on the returned step's cycle.
constexpr RouteStep idle(s32 k, FrameId a, FrameId b, s32 step_by = 2, s32 rearm = ROUTE_IDLE_REARM,
                         s32 pause = ROUTE_IDLE_PAUSE) {
    RouteStep s = make(ROUTE_IDLE, k);
    s.cycle.start = a.v;
    s.cycle.limit = b.v;
    s.cycle.step = step_by;
    s.cycle.rearm = rearm;
    s.cycle.pause = pause;
    return s;
}
// An idle step with a remark at one frame of the cycle.
constexpr RouteStep idle_remark(RouteStep s, FrameId at, TextId t, s32 dx, s32 dy, s32 ms) {
    s.cycle.remark_frame = at.v;
    s.cycle.remark_text = t.v;
    s.cycle.remark_dx = dx;
    s.cycle.remark_dy = dy;
    s.cycle.remark_ms = ms;
    return s;
}
template <class... A> constexpr RouteStep hold(s32 k, A... actions) {
    return make(ROUTE_HOLD, k, actions...);
}
constexpr RouteStep custom(s32 k, void (*fn)()) {
    RouteStep s = make(ROUTE_CUSTOM, k);
    s.fn = fn;
    return s;
}
constexpr RouteWindow always(std::span<const RouteStep> steps) {
    return RouteWindow{ROUTE_ALWAYS, ROUTE_ALWAYS, steps};
}
constexpr RouteWindow window(s32 h1, s32 m1, s32 h2, s32 m2, std::span<const RouteStep> steps) {
    return RouteWindow{h1 * 60 + m1, h2 * 60 + m2, steps};
}
} // namespace route

// The step of `stage` in a window (its own stage, or within its `through` range), or nullptr;
// conditions on other objects' stages are not read (the step that lists the stage first).
const RouteStep* route_step_of(const RouteWindow& w, s32 stage);
// The stage of obj by the route (ATTR_VAR_A or ATTR_VAR_B).
s32 route_stage(const Route& r, s32 obj);
// One timer run of the route on self (on obj).
void route_run(const Route& r);
void route_run_on(s32 obj, const Route& r);

// Timetables: the row of obj in `timetable_npcs` (-1 none), and the entry of the current clock
// quarter for it (all empty outside 6:00..17:59 or without a row).
s32 route_timetable_row(s32 obj);
NpcTimetableEntry route_timetable_now(s32 obj);
// The quarters (0..47) whose timetable entry for obj gives a stage that the route's window at that
// quarter's start does not list, counted; 0 when the routine resumes from every entry.
s32 route_timetable_mismatches(const Route& r, s32 obj);
// The quarters whose timetable entry gives a stage that no window from that time to the end of the
// day lists (nor the always-window), counted: a clock jump there would leave the resident standing
// for the rest of the day. A stage that only the next window lists is not counted: the resident
// stands ready and goes on when that window opens.
s32 route_timetable_stalls(const Route& r, s32 obj);
