#include "scripts/home/posed_services.h"

#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "scripts/home/walker_quest.h"

namespace {

constexpr s32 LAYER_TOP = 2;
constexpr s32 LAYER_STANDING = 3;

// Runs one frame of a frame run: the switches and the bubble of its hooks, then the frame shown.
void frame_hooks(const Act& a, s32 frame) {
    for (const ActAt& at : a.at) {
        if (at.frame != frame) continue;
        if (script_obj_valid(at.obj)) attr_set(at.obj, ATTR_ACTIVE, at.active);
    }
    obj_show_frame(a.obj, frame);
    for (const ActAt& at : a.at)
        if (at.frame == frame && at.text > 0 && script_obj_valid(at.obj_says))
            say_at(at.obj_says, at.text);
    wait_ms(u32(a.d));
}

// Calls f(frame) for each frame of a frame run; a run whose step does not move toward its last
// frame has its first frame only.
template <class F> void each_frame(const Act& a, F f) {
    if (a.c == 0 || (a.c > 0) != (a.b >= a.a)) {
        f(a.a);
        return;
    }
    for (s32 frame = a.a; a.c > 0 ? frame <= a.b : frame >= a.b; frame += a.c) f(frame);
}

void frames_run(const Act& a) {
    each_frame(a, [&a](s32 frame) { frame_hooks(a, frame); });
}

} // namespace

void acts_run(std::span<const Act> acts) {
    s32 noted_x = 0, noted_y = 0;
    for (const Act& a : acts) {
        const bool needs_obj = a.op != ACT_WAIT && a.op != ACT_SAY && a.op != ACT_PAN &&
                               a.op != ACT_CURSOR && a.op != ACT_POSE_ENTER &&
                               a.op != ACT_POSE_LEAVE;
        if (needs_obj && !script_obj_valid(a.obj)) continue;
        switch (a.op) {
        case ACT_WALK:
            walk1(0, a.obj, a.a, a.b, a.c);
            break;
        case ACT_NOTE:
            noted_x = attr_get(a.obj, ATTR_X);
            noted_y = attr_get(a.obj, ATTR_Y);
            break;
        case ACT_WALK_BACK:
            walk1(0, a.obj, noted_x, noted_y, a.a);
            break;
        case ACT_FRAME:
            obj_show_frame(a.obj, a.a);
            break;
        case ACT_FRAMES:
            frames_run(a);
            break;
        case ACT_ON_TOP:
            attr_set(a.obj, ATTR_LAYER, a.a != 0 ? LAYER_TOP : LAYER_STANDING);
            attr_set(a.obj, ATTR_SHADOW, a.a != 0 ? 0 : 1);
            break;
        case ACT_SAY_AT:
            say_at(a.obj, a.a);
            break;
        case ACT_SAY:
            say(a.a, a.b, a.c);
            break;
        case ACT_WAIT:
            wait_ms(u32(a.a));
            break;
        case ACT_PAN:
            camera_pan(world_state.camera_x + a.a, world_state.camera_y + a.b, a.c);
            break;
        case ACT_ACTIVE:
            attr_set(a.obj, ATTR_ACTIVE, a.a);
            break;
        case ACT_CLICKABLE:
            attr_set(a.obj, ATTR_CLICK, a.a);
            attr_set(a.obj, ATTR_CURSOR, a.b);
            break;
        case ACT_STAGE:
            attr_set(a.obj, ATTR_VAR_A, a.a);
            break;
        case ACT_VAR_B:
            attr_set(a.obj, ATTR_VAR_B, a.a);
            break;
        case ACT_UNLABEL:
            label_remove(a.obj);
            break;
        case ACT_CURSOR:
            cursor_select(a.a);
            break;
        case ACT_POSE_ENTER:
            pose_enter(a.enter);
            break;
        case ACT_POSE_LEAVE:
            pose_leave(a.leave);
            break;
        case ACT_EVENT:
            attr_set(a.obj, ATTR_EVENT, a.a);
            break;
        default:
            break;
        }
    }
}

// ---- Choreographies --------------------------------------------------------------------------

namespace {

using namespace act;

constexpr s32 WALKER = 10;
constexpr s32 BATH_PROP_A = 96; // the bath's props of map 10, created off
constexpr s32 BATH_PROP_B = 97;
constexpr s32 REST_PLACE = 111;
constexpr s32 REST_ATTENDANT = 112;
constexpr s32 REST_PROP_A = 113; // props of map 24, created off
constexpr s32 REST_PROP_B = 114;
constexpr s32 GUEST_OF_MAP_24 = 27;
constexpr s32 SLEEPER_A = 17, SLEEPER_B = 18, SLEEPER_C = 19, SLEEPER_D = 21;
constexpr s32 POSE_BATH = 41, POSE_LYING = 46, POSE_AWAKE = 48, POSE_SEATED = 88;

// The walker serves the bath: the player gets in, the walker fills it and goes back.
constexpr Act BATH_IN[] = {
    enter({.x = 2474, .y = 1373, .frame = 2648, .slot = POSE_BATH, .on_top = true}),
    stage(WALKER, 1),
    frame(WALKER, 4302),
    note(WALKER),
    unlabel(WALKER),
    walk(WALKER, 2388, 1348, 8),
    on_top(WALKER, true),
    frames(WALKER, 2832, 2850, 2, 400, {{{2836, BATH_PROP_B, 1}, {2850, BATH_PROP_A, 1}}}),
    frame(WALKER, 4272),
    on_top(WALKER, false),
    walk_back(WALKER, 8),
};
// The player gets out, the walker clears the bath away.
constexpr Act BATH_OUT[] = {
    frame(0, 2646),
    frame(WALKER, 4252),
    note(WALKER),
    unlabel(WALKER),
    walk(WALKER, 2388, 1348, 8),
    on_top(WALKER, true),
    frames(WALKER, 2850, 2862, 2, 400,
           {{{2852, BATH_PROP_A, 0}, {2856, BATH_PROP_B, 0}, {2860, -1, 0, WALKER, 10239}}}),
    frame(WALKER, 4322),
    on_top(WALKER, false),
    walk_back(WALKER, 8),
    leave({.x = 2520, .y = 1338, .frame = 418, .on_top = true, .rest = 200}),
};

constexpr Act SEAT_SIT[] = {
    walk(0, 2384, 1140, 10),
    enter({.frame = 31601, .slot = POSE_SEATED, .on_top = false}),
};
constexpr Act SEAT_STAND[] = {
    leave({.frame = 420, .on_top = false, .rest = 200}),
};

constexpr Act REST_APPROACH[] = {walk(REST_ATTENDANT, 432, 375, 8)};
// The player lies down; the attendant leaves the room until the rest is over.
constexpr Act REST_LIE_DOWN[] = {
    cursor(2),
    bubble(REST_ATTENDANT, 20104),
    enter({.x = 550, .y = 451, .frame = 2981, .slot = 0, .on_top = true}),
    walk(REST_ATTENDANT, 479, 414, 8),
    frame(0, 2966),
};
constexpr Act REST_LIE_DOWN_DONE[] = {
    walk(REST_ATTENDANT, 572, 299, 8),     frame(REST_ATTENDANT, 0), clickable(REST_PLACE, 0, 0),
    var_b(REST_ATTENDANT, REST_COUNTDOWN), event(0, POSE_LYING),
};
constexpr Act REST_DECLINED[] = {
    walk(REST_ATTENDANT, 292, 324, 8),
    frame(REST_ATTENDANT, 30000),
};
constexpr Act REST_STAY[] = {frame(REST_ATTENDANT, 30000)};
// The player gets up; the attendant clears the props away and goes back to its place.
constexpr Act REST_GET_UP[] = {
    cursor(2),
    frame(0, 2981),
    frame(REST_ATTENDANT, 4472),
    walk(REST_ATTENDANT, 479, 414, 8),
    walk(REST_ATTENDANT, 438, 460, 8),
    walk(REST_ATTENDANT, 497, 483, 8),
    frames(REST_ATTENDANT, 30096, 30106, 2, 400,
           {{{30098, REST_PROP_B, 0}, {30102, REST_PROP_A, 0}}}),
    frame(REST_ATTENDANT, 4402),
    walk(REST_ATTENDANT, 438, 460, 8),
    walk(REST_ATTENDANT, 572, 299, 8),
    frame(REST_ATTENDANT, 0),
    wait(100),
    frame(REST_ATTENDANT, 4372),
    walk(REST_ATTENDANT, 414, 366, 8),
    walk(REST_ATTENDANT, 292, 324, 8),
    frame(REST_ATTENDANT, 30000),
    leave({.x = 514, .y = 395, .frame = -424, .on_top = true, .rest = 500}),
    cursor(13),
};
// The rest is over: the attendant comes back, sets out the props and wakes the player.
constexpr Act REST_WAKE_UP[] = {
    frame(REST_ATTENDANT, 4402),
    walk(REST_ATTENDANT, 438, 460, 8),
    walk(REST_ATTENDANT, 497, 483, 8),
    frames(REST_ATTENDANT, 30076, 30096, 2, 400,
           {{{30092, REST_PROP_A, 1}, {30096, REST_PROP_B, 1}}}),
    bubble(REST_ATTENDANT, 20047),
    frame(REST_ATTENDANT, -4452),
    walk(REST_ATTENDANT, 438, 460, 8),
    walk(REST_ATTENDANT, 466, 410, 8),
    walk(REST_ATTENDANT, 292, 324, 8),
    frame(REST_ATTENDANT, 30000),
    frame(0, 2900),
    event(0, POSE_AWAKE),
    frames(0, 2900, 2922, 1, 200),
    frame(0, 2900),
    cursor(13),
};
// The first time only: the other sleepers of the room wake up too.
constexpr Act ROOM_WAKES[] = {
    pan(-100, 0, 5),
    frames(SLEEPER_B, 2179, 2187, 1, 200),
    frame(SLEEPER_B, 2294),
    bubble(SLEEPER_B, 20062),
    frames(SLEEPER_A, 2188, 2196, 1, 200),
    frame(SLEEPER_A, 2298),
    bubble(SLEEPER_A, 20063),
    frames(SLEEPER_B, 2179, 2187, 1, 200),
    frame(SLEEPER_B, 2294),
    bubble(SLEEPER_B, 20064),
    frames(SLEEPER_A, 2188, 2196, 1, 200),
    frame(SLEEPER_A, 2298),
    bubble(SLEEPER_A, 20065),
    frames(SLEEPER_C, 2251, 2259, 1, 200),
    frame(SLEEPER_C, 2289),
    box(0, 1081, 20066),
    pan(200, 0, 5),
    frame(SLEEPER_C, 2287),
    box(0, 1081, 20102),
    frames(SLEEPER_D, 2272, 2284, 1, 200),
    frame(SLEEPER_D, 2290),
    box(3, 1033, 20067),
    pan(-100, 0, 5),
    stage(SLEEPER_C, 1),
    stage(SLEEPER_D, 1),
};
constexpr Act REST_WAKE_DONE[] = {
    clickable(REST_PLACE, 1, 9),
    stage(REST_PLACE, SERVICE_HELD),
    stage(REST_ATTENDANT, 1),
    stage(GUEST_OF_MAP_24, 1),
};

void bath_in() {
    acts_run(BATH_IN);
}
void bath_out() {
    acts_run(BATH_OUT);
}
void seat_sit() {
    acts_run(SEAT_SIT);
}
void seat_stand() {
    acts_run(SEAT_STAND);
}
void rest_approach() {
    acts_run(REST_APPROACH);
}
void rest_lie_down() {
    acts_run(REST_LIE_DOWN);
}
void rest_lie_down_done() {
    acts_run(REST_LIE_DOWN_DONE);
}
void rest_declined() {
    acts_run(REST_DECLINED);
}
void rest_stay() {
    acts_run(REST_STAY);
}
void rest_get_up() {
    acts_run(REST_GET_UP);
}

// ---- The services' talks ---------------------------------------------------------------------

using namespace cell;

// clang-format off
constexpr Cell BATH_TALK[] = {
    stage(SERVICE_FREE), B(10_obj, 10151_t), menu(10233_t, 10234_t),
        option(0), call(walker_quest_bath_taken), call(bath_in), to(SERVICE_HELD),
        end(),
    stage(SERVICE_HELD), B(10_obj, 10235_t), menu(10237_t, 10238_t),
        option(1), call(bath_out), to(SERVICE_FREE),
        end(), obj_to(10_obj, 2),
};
static_assert(cells_valid(BATH_TALK));
constexpr Cell SEAT_TALK[] = {
    stage(SERVICE_FREE), album(1, S(10963_t)), S(10146_t), menu(10147_t, 10148_t),
        option(0), call(seat_sit), to(SERVICE_HELD),
        end(),
    stage(SERVICE_HELD), S(20041_t), menu(20228_t, 10960_t, 20229_t),
        option(2), S(20230_t), call(seat_stand), to(SERVICE_FREE),
        end(),
};
static_assert(cells_valid(SEAT_TALK));
constexpr Cell REST_TALK[] = {
    stage(SERVICE_FREE), call(rest_approach),
        when(stage_of(112_obj, 2, 2)), B(112_obj, 20105_t), otherwise(), B(112_obj, 20038_t), end(),
        menu(20039_t, 20040_t),
        option(0), call(rest_lie_down), B(112_obj, 20044_t), P(20045_t), B(112_obj, 20046_t),
            call(rest_lie_down_done), obj_to(27_obj, 3), var_b(1),
        option(1), call(rest_declined),
        end(),
    stage(SERVICE_HELD), B(112_obj, 20041_t), menu(20042_t, 20043_t),
        option(0), call(rest_stay),
        option(1), call(rest_get_up), obj_to(112_obj, 2),
            when(is_active(99_obj)), obj_to(27_obj, 0), otherwise(), obj_to(27_obj, 2), end(),
            to(SERVICE_FREE),
        end(),
};
static_assert(cells_valid(REST_TALK));
// clang-format on

} // namespace

const PosedService POSED_SERVICES[SERVICE_COUNT] = {
    {
        .name = "bath",
        .slot = 40,
        .pose_slot = POSE_BATH,
        .speaker = WALKER,
        .frames = {-4252, 4252, -4272, 4272},
        .turn = SERVICE_TURN_SPEAKER,
        .far = 150,
        .far_x = 2422,
        .far_y = 1331,
        .far_when_free = true,
        .cells = BATH_TALK,
    },
    {
        .name = "seat",
        .slot = 11,
        .pose_slot = POSE_SEATED,
        .speaker = SERVICE_SELF,
        .frames = {2100, 2100, 2100, 2100},
        .turn = SERVICE_TURN_BOTH,
        .far = 110,
        .unlabel_first = SERVICE_SELF,
        .posed_self = 2100,
        .posed_player = 31601,
        .posed_pos = 2,
        .keep_frame = false,
        .cells = SEAT_TALK,
    },
    {
        .name = "rest",
        .slot = 45,
        .pose_slot = POSE_LYING,
        .speaker = REST_ATTENDANT,
        .frames = {4372, 4372, 4372, 4372},
        .turn = SERVICE_TURN_BOTH_FREE,
        .far = 80,
        .far_x = 523,
        .far_y = 434,
        .far_when_free = true,
        .drop_buttons = true,
        .unlabel_free = 0,
        .keep_frame = false,
        .cells = REST_TALK,
    },
};

void posed_service_click(const PosedService& s) {
    const s32 self = script_self();
    const s32 speaker = s.speaker == SERVICE_SELF ? self : s.speaker;
    if (!script_obj_valid(speaker)) return;
    if (s.drop_buttons) mouse_buttons = 0;
    const bool free = script_stage(self) == SERVICE_FREE;
    if (s.unlabel_first != SERVICE_NO_LABEL)
        label_remove(s.unlabel_first == SERVICE_SELF ? self : s.unlabel_first);
    if (s.far > 0 && (free || !s.far_when_free)) {
        const bool far =
            s.far_x >= 0 ? too_far_guard_point(s.far_x, s.far_y, s.far) : too_far_guard(s.far);
        if (far) return;
    }
    if (free && s.unlabel_free != SERVICE_NO_LABEL) label_remove(s.unlabel_free);
    const s32 kept = frame_keep(speaker);
    TalkTurn turn;
    if (s.posed_self != 0 && posed_in(s.pose_slot)) {
        obj_show_frame(speaker, s.posed_self);
        if (s.posed_player != 0) obj_show_frame(0, s.posed_player);
        turn = TalkTurn{s.posed_pos, mirror_position(s.posed_pos)};
    } else if (s.turn == SERVICE_TURN_BOTH || (s.turn == SERVICE_TURN_BOTH_FREE && free)) {
        turn = turn_other_to_talk(speaker, s.frames);
    } else {
        const TurnFrames& f = s.frames;
        const s32 r = obj_face(0, speaker, f.f0, f.f1, f.f2, f.f3);
        turn = TalkTurn{r, mirror_position(r)};
    }
    cells_run_stage(s.cells, TalkContext{self, turn});
    if (s.keep_frame) obj_show_frame(speaker, kept);
}

// ---- The attendant of the rest place ---------------------------------------------------------

namespace {

// clang-format off
constexpr Cell ATTENDANT_TALK[] = {
    stage(0), S(20032_t),
    stage(1), S(20048_t), menu(20049_t, 20050_t),
        option(0), S(20051_t),
            repeat(), choice(20052_t, 20053_t, 20054_t),
                option(0), S(20056_t),
                option(1), S(20058_t),
                option(2), leave(),
            end(), end(),
        end(),
    stage(2), S(20103_t),
    stage(3), run(13600_t, 13610_t, SELF, player_at(3)), to(4),
    stage(4), S(13611_t),
    stage(5), S(26670_t),
};
static_assert(cells_valid(ATTENDANT_TALK));
// clang-format on

constexpr TurnFrames ATTENDANT_FRAMES{-4352, 4352, -4372, 4372};
// While the player lies: nobody turns, the player's box at the bottom left.
constexpr TalkRow ATTENDANT_LYING{
    .frames = ATTENDANT_FRAMES,
    .posed_slot = POSE_LYING,
    .posed_self = 4372,
    .posed_player = 2966,
    .posed_pos = 2,
    .cells = ATTENDANT_TALK,
};
constexpr TalkRow ATTENDANT_AWAKE{
    .frames = ATTENDANT_FRAMES,
    .posed_slot = POSE_AWAKE,
    .posed_self = 4372,
    .posed_player = 2983,
    .posed_pos = 2,
    .cells = ATTENDANT_TALK,
};
constexpr IdleCycle ATTENDANT_IDLE{
    .rearm = REST_ATTENDANT_REARM,
    .start = 30000,
    .limit = 30075,
    .step = 2,
    .pause = REST_ATTENDANT_REARM,
};

void attendant_timer() {
    const s32 self = script_self();
    const s32 countdown = attr_get(self, ATTR_VAR_B);
    if (countdown == 0) {
        idle_cycle(ATTENDANT_IDLE);
        return;
    }
    attr_set(self, ATTR_TIMER, REST_ATTENDANT_REARM);
    attr_set(self, ATTR_VAR_B, countdown - 1);
    if (countdown - 1 != 0) return;
    acts_run(REST_WAKE_UP);
    if (script_stage(REST_ATTENDANT) != 2) acts_run(ROOM_WAKES);
    acts_run(REST_WAKE_DONE);
}

constexpr IdleCycle SEAT_IDLE{
    .rearm = 7,
    .start = 2100,
    .limit = 2122,
    .step = 1,
    .pause = 150,
    .remark_frame = 2102,
    .remark_text = 10263,
    .remark_dx = -80,
    .remark_dy = -100,
    .remark_ms = 2000,
};

} // namespace

// ---- Frames ---------------------------------------------------------------------------------

namespace {

const std::span<const Act> CHOREOGRAPHIES[] = {
    BATH_IN,       BATH_OUT,           SEAT_SIT,       SEAT_STAND, REST_APPROACH,
    REST_LIE_DOWN, REST_LIE_DOWN_DONE, REST_DECLINED,  REST_STAY,  REST_GET_UP,
    REST_WAKE_UP,  ROOM_WAKES,         REST_WAKE_DONE,
};

void visit_turn(const TurnFrames& f, void (*visit)(s32, void*), void* ctx) {
    for (const s32 frame : {f.f0, f.f1, f.f2, f.f3}) visit(frame, ctx);
}

void visit_cycle(const IdleCycle& c, void (*visit)(s32, void*), void* ctx) {
    visit(c.start, ctx);
    for (s32 frame = c.start; c.step > 0 && frame <= c.limit; frame += c.step) visit(frame, ctx);
}

} // namespace

void posed_services_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    auto shown = [&](s32 frame) {
        if (frame != 0) visit(frame, ctx);
    };
    for (const std::span<const Act> acts : CHOREOGRAPHIES) {
        for (const Act& a : acts) {
            if (a.op == ACT_FRAME) shown(a.a);
            if (a.op == ACT_FRAMES) each_frame(a, shown);
            if (a.op == ACT_POSE_ENTER) shown(a.enter.frame);
            if (a.op == ACT_POSE_LEAVE) shown(a.leave.frame);
        }
    }
    for (const PosedService& s : POSED_SERVICES) {
        visit_turn(s.frames, visit, ctx);
        shown(s.posed_self);
        shown(s.posed_player);
    }
    for (const TalkRow* row : {&ATTENDANT_LYING, &ATTENDANT_AWAKE}) {
        visit_turn(row->frames, visit, ctx);
        shown(row->posed_self);
        shown(row->posed_player);
    }
    visit_cycle(SEAT_IDLE, visit, ctx);
    visit_cycle(ATTENDANT_IDLE, visit, ctx);
}

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0011() {
    if (script_on(TRIG_TIMER)) idle_cycle(SEAT_IDLE);
    if (script_on(TRIG_CLICK)) posed_service_click(POSED_SERVICES[SERVICE_SEAT]);
}

void object_event_0040() {
    if (script_on(TRIG_CLICK)) posed_service_click(POSED_SERVICES[SERVICE_BATH]);
}

void object_event_0045() {
    if (script_on(TRIG_CLICK)) posed_service_click(POSED_SERVICES[SERVICE_REST]);
}

void object_event_0047() {
    if (script_on(TRIG_CLICK)) talk_run(posed_in(POSE_AWAKE) ? ATTENDANT_AWAKE : ATTENDANT_LYING);
    if (script_on(TRIG_TIMER)) attendant_timer();
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {11, object_event_0011},
    {40, object_event_0040},
    {45, object_event_0045},
    {47, object_event_0047},
};
} // namespace

std::span<const ScriptSlot> home_posed_slots() {
    return SLOTS;
}

void home_posed_register() {
    scripts_install(SLOTS, HOME_POSED_OWNER);
}
