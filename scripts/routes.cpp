#include "scripts/routes.h"

#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world/walk.h"
#include "engine/world_state.h"

namespace {

constexpr s32 MINUTES_PER_HOUR = 60;
constexpr s32 QUARTER_MINUTES = 15;

s32 stage_attr(const Route& r) {
    return r.stage_var == STAGE_VAR_B ? ATTR_VAR_B : ATTR_VAR_A;
}

// Does one action for self; `next_stage` is where the stage goes afterwards.
void action_run(s32 self, const RouteAction& a, s32* next_stage) {
    const s32 target = a.obj < 0 ? self : a.obj;
    if (!script_obj_valid(target)) return;
    switch (a.op) {
    case ACTION_FRAME:
        obj_set_frame(self, a.value);
        break;
    case ACTION_STAGE:
        *next_stage = a.value;
        break;
    case ACTION_REMARK: {
        const s32 map = a.map == ROUTE_SELF_MAP ? attr_get(target, ATTR_MAP) : a.map;
        if (map == world_state.current_map) label_add(target, a.text, a.dx, a.dy, a.ms);
        break;
    }
    case ACTION_OBJ_STAGE:
        attr_set(target, ATTR_VAR_A, a.value);
        break;
    case ACTION_OBJ_ACTIVE:
        attr_set(target, ATTR_ACTIVE, a.value);
        break;
    case ACTION_UNLABEL:
        label_remove(target);
        break;
    case ACTION_CALL:
        if (a.fn != nullptr) a.fn();
        break;
    case ACTION_PLACE:
        attr_set(target, ATTR_MAP, a.map);
        obj_place(target, a.x, a.y, a.value);
        break;
    case ACTION_REARM:
        attr_set(target, ATTR_TIMER, a.value);
        break;
    case ACTION_OBJ_VAR_B:
        attr_set(target, ATTR_VAR_B, a.value);
        break;
    default:
        break;
    }
}

// Runs the actions; returns the stage that follows (k + 1 unless an action names one).
s32 actions_run(s32 self, const RouteStep& s) {
    s32 next = s.stage + 1;
    for (const RouteAction& a : s.actions) action_run(self, a, &next);
    return next;
}

// One step of the route for self; returns true when the stage changed.
bool step_run(s32 self, const Route& r, const RouteStep& s) {
    const s32 attr = stage_attr(r);
    const s32 speed = s.step_speed > 0 ? s.step_speed : r.speed;
    if (s.step_rearm > 0) attr_set(self, ATTR_TIMER, s.step_rearm);
    s32 unused = 0;
    action_run(self, s.first, &unused);
    s32 next = s.stage;
    switch (s.op) {
    case ROUTE_GO:
        if (obj_step_to(self, s.x, s.y, speed) == 1) next = actions_run(self, s);
        break;
    case ROUTE_STAY:
        if (obj_step_to(self, s.x, s.y, speed) == 1) actions_run(self, s);
        break;
    case ROUTE_STEP:
        obj_step_to(self, s.x, s.y, speed);
        next = s.stage + 1;
        break;
    case ROUTE_FACE:
        obj_set_frame(self, s.frame);
        next = actions_run(self, s);
        break;
    case ROUTE_NEXT:
        next = actions_run(self, s);
        break;
    case ROUTE_MAP:
        attr_set(self, ATTR_MAP, s.map);
        obj_place(self, s.x, s.y, s.frame);
        next = actions_run(self, s);
        break;
    case ROUTE_IDLE: {
        bool wrapped = false;
        idle_cycle_on(self, s.cycle, &wrapped);
        if (s.wrap_next && wrapped) next = actions_run(self, s);
        break;
    }
    case ROUTE_HOLD:
        actions_run(self, s);
        break;
    case ROUTE_CUSTOM:
        if (s.fn != nullptr) s.fn();
        return attr_get(self, attr) != s.stage;
    default:
        break;
    }
    if (next == s.stage) return false;
    attr_set(self, attr, next);
    return true;
}

// The window of the clock time (minute of the day) that is not `always`, or nullptr.
const RouteWindow* route_window_at(const Route& r, s32 day_minute) {
    for (const RouteWindow& w : r.windows)
        if (w.from != ROUTE_ALWAYS && day_minute >= w.from && day_minute <= w.to) return &w;
    return nullptr;
}

// Whether a step is the step of `stage` (its own stage, or within its `through` range).
bool route_step_holds(const RouteStep& s, s32 stage) {
    return s.stage == stage ||
           (s.stage_last > s.stage && stage >= s.stage && stage <= s.stage_last);
}

// Whether a step's condition on another object's stage holds now (true without one).
bool route_step_when(const RouteStep& s) {
    if (s.when_obj < 0) return true;
    if (!script_obj_valid(s.when_obj)) return false;
    const s32 stage = attr_get(s.when_obj, ATTR_VAR_A);
    return stage >= s.when_lo && stage <= s.when_hi;
}

} // namespace

const RouteStep* route_step_of(const RouteWindow& w, s32 stage) {
    for (const RouteStep& s : w.steps)
        if (route_step_holds(s, stage)) return &s;
    return nullptr;
}

s32 route_stage(const Route& r, s32 obj) {
    return attr_get(obj, stage_attr(r));
}

namespace {
// Runs the window's step of obj's stage, if it has one; a ranged step acts as the step of the
// stage obj holds.
void window_run(s32 obj, const Route& r, const RouteWindow& w) {
    const s32 now = route_stage(r, obj);
    for (const RouteStep& s : w.steps) {
        if (!route_step_holds(s, now) || !route_step_when(s)) continue;
        RouteStep own = s;
        own.stage = now;
        step_run(obj, r, own);
        return;
    }
}
} // namespace

void route_run_on(s32 obj, const Route& r) {
    if (!script_obj_valid(obj)) return;
    if (r.interval != ROUTE_NO_REARM) attr_set(obj, ATTR_TIMER, r.interval);
    for (const RouteWindow& w : r.windows)
        if (w.from == ROUTE_ALWAYS) window_run(obj, r, w);
    const s32 now = world_state.hour * MINUTES_PER_HOUR + world_state.minute;
    if (const RouteWindow* w = route_window_at(r, now)) window_run(obj, r, *w);
}

void route_run(const Route& r) {
    route_run_on(script_self(), r);
}

s32 route_timetable_row(s32 obj) {
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i)
        if (timetable_npcs[i] == obj) return i;
    return -1;
}

NpcTimetableEntry route_timetable_now(s32 obj) {
    return timetable_entry(route_timetable_row(obj),
                           timetable_quarter(world_state.hour, world_state.minute));
}

namespace {
// Counts the written timetable entries of obj whose stage `served(window, minute)` finds in no
// window of the route (the always-window serves every time).
template <class Served> s32 unserved_entries(const Route& r, s32 obj, Served served) {
    const s32 row = route_timetable_row(obj);
    if (row < 0) return 0;
    s32 count = 0;
    for (s32 q = 0; q < TIMETABLE_QUARTERS; ++q) {
        const NpcTimetableEntry e = timetable_entry(row, q);
        if (!timetable_has(e.var_a)) continue;
        const s32 minute = TIMETABLE_FIRST_HOUR * MINUTES_PER_HOUR + q * QUARTER_MINUTES;
        bool listed = false;
        for (const RouteWindow& w : r.windows) {
            const bool serves = w.from == ROUTE_ALWAYS || served(w, minute);
            if (serves && route_step_of(w, e.var_a) != nullptr) listed = true;
        }
        if (!listed) ++count;
    }
    return count;
}
} // namespace

s32 route_timetable_mismatches(const Route& r, s32 obj) {
    // The window that holds the quarter's start (the first one, as route_window_at finds it).
    return unserved_entries(r, obj, [&r](const RouteWindow& w, s32 minute) {
        return &w == route_window_at(r, minute);
    });
}

s32 route_timetable_stalls(const Route& r, s32 obj) {
    return unserved_entries(r, obj,
                            [](const RouteWindow& w, s32 minute) { return w.to >= minute; });
}
