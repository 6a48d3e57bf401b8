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

// ---- Choreographies --------------------------------------------------------------------------

namespace {

constexpr s32 WALKER = 10;
constexpr s32 REST_PLACE = 111;
constexpr s32 REST_ATTENDANT = 112;
constexpr s32 POSE_BATH = 41, POSE_LYING = 46, POSE_AWAKE = 48, POSE_SEATED = 88;

namespace choreographies {
using namespace cue;

constexpr ObjId PLAYER_OBJ{0};
constexpr ObjId WALKER_OBJ{WALKER};
constexpr ObjId BATH_PROP_A{96}; // the bath's props of map 10, created off
constexpr ObjId BATH_PROP_B{97};
constexpr ObjId REST_PLACE_OBJ{REST_PLACE};
constexpr ObjId ATTENDANT{REST_ATTENDANT};
constexpr ObjId REST_PROP_A{113}; // props of map 24, created off
constexpr ObjId REST_PROP_B{114};
constexpr ObjId GUEST_OF_MAP_24{27};
constexpr ObjId SLEEPER_A{17}, SLEEPER_B{18}, SLEEPER_C{19}, SLEEPER_D{21};

// The walker serves the bath: the player gets in, the walker fills it and goes back.
constexpr CueHook BATH_FILLED[] = {hook_on(2836_f, BATH_PROP_B), hook_on(2850_f, BATH_PROP_A)};
constexpr Cue BATH_IN[] = {
    enter({.x = 2474, .y = 1373, .frame = 2648, .slot = POSE_BATH, .on_top = true}),
    stage(WALKER_OBJ, 1),
    show_frame(WALKER_OBJ, 4302_f),
    note(WALKER_OBJ),
    unlabel(WALKER_OBJ),
    walk(0, mover(WALKER_OBJ, 2388, 1348, 8)),
    on_top(WALKER_OBJ, true),
    frames(WALKER_OBJ, 2832_f, 2850_f, 2, 400).with(BATH_FILLED),
    show_frame(WALKER_OBJ, 4272_f),
    on_top(WALKER_OBJ, false),
    walk_back(WALKER_OBJ, 8),
};
static_assert(cues_valid(BATH_IN));
// The player gets out, the walker clears the bath away.
constexpr CueHook BATH_CLEARED[] = {
    hook_off(2852_f, BATH_PROP_A),
    hook_off(2856_f, BATH_PROP_B),
    hook_says(2860_f, bubble_of(WALKER_OBJ), 10239_t),
};
constexpr Cue BATH_OUT[] = {
    show_frame(PLAYER_OBJ, 2646_f),
    show_frame(WALKER_OBJ, 4252_f),
    note(WALKER_OBJ),
    unlabel(WALKER_OBJ),
    walk(0, mover(WALKER_OBJ, 2388, 1348, 8)),
    on_top(WALKER_OBJ, true),
    frames(WALKER_OBJ, 2850_f, 2862_f, 2, 400).with(BATH_CLEARED),
    show_frame(WALKER_OBJ, 4322_f),
    on_top(WALKER_OBJ, false),
    walk_back(WALKER_OBJ, 8),
    leave({.x = 2520, .y = 1338, .frame = 418, .on_top = true, .rest = 200}),
};
static_assert(cues_valid(BATH_OUT));

constexpr Cue SEAT_SIT[] = {
    walk(0, mover(PLAYER_OBJ, 2384, 1140, 10)),
    enter({.frame = 31601, .slot = POSE_SEATED, .on_top = false}),
};
static_assert(cues_valid(SEAT_SIT));
constexpr Cue SEAT_STAND[] = {
    leave({.frame = 420, .on_top = false, .rest = 200}),
};
static_assert(cues_valid(SEAT_STAND));

constexpr Cue REST_APPROACH[] = {walk(0, mover(ATTENDANT, 432, 375, 8))};
static_assert(cues_valid(REST_APPROACH));
// The player lies down; the attendant leaves the room until the rest is over.
constexpr Cue REST_LIE_DOWN[] = {
    cursor(2),
    bubble(ATTENDANT, 20104_t),
    enter({.x = 550, .y = 451, .frame = 2981, .slot = 0, .on_top = true}),
    walk(0, mover(ATTENDANT, 479, 414, 8)),
    show_frame(PLAYER_OBJ, 2966_f),
};
static_assert(cues_valid(REST_LIE_DOWN));
constexpr Cue REST_LIE_DOWN_DONE[] = {
    walk(0, mover(ATTENDANT, 572, 299, 8)),   show_frame(ATTENDANT, 0_f),
    clickable(REST_PLACE_OBJ, false, 0),      attr(ATTENDANT, ATTR_VAR_B, REST_COUNTDOWN),
    attr(PLAYER_OBJ, ATTR_EVENT, POSE_LYING),
};
static_assert(cues_valid(REST_LIE_DOWN_DONE));
constexpr Cue REST_DECLINED[] = {
    walk(0, mover(ATTENDANT, 292, 324, 8)),
    show_frame(ATTENDANT, 30000_f),
};
static_assert(cues_valid(REST_DECLINED));
constexpr Cue REST_STAY[] = {show_frame(ATTENDANT, 30000_f)};
static_assert(cues_valid(REST_STAY));
// The player gets up; the attendant clears the props away and goes back to its place.
constexpr CueHook REST_CLEARED[] = {hook_off(30098_f, REST_PROP_B), hook_off(30102_f, REST_PROP_A)};
constexpr Cue REST_GET_UP[] = {
    cursor(2),
    show_frame(PLAYER_OBJ, 2981_f),
    show_frame(ATTENDANT, 4472_f),
    walk(0, mover(ATTENDANT, 479, 414, 8)),
    walk(0, mover(ATTENDANT, 438, 460, 8)),
    walk(0, mover(ATTENDANT, 497, 483, 8)),
    frames(ATTENDANT, 30096_f, 30106_f, 2, 400).with(REST_CLEARED),
    show_frame(ATTENDANT, 4402_f),
    walk(0, mover(ATTENDANT, 438, 460, 8)),
    walk(0, mover(ATTENDANT, 572, 299, 8)),
    show_frame(ATTENDANT, 0_f),
    wait(100),
    show_frame(ATTENDANT, 4372_f),
    walk(0, mover(ATTENDANT, 414, 366, 8)),
    walk(0, mover(ATTENDANT, 292, 324, 8)),
    show_frame(ATTENDANT, 30000_f),
    leave({.x = 514, .y = 395, .frame = -424, .on_top = true, .rest = 500}),
    cursor(13),
};
static_assert(cues_valid(REST_GET_UP));
// The rest is over: the attendant comes back, sets out the props and wakes the player.
constexpr CueHook REST_SET_OUT[] = {hook_on(30092_f, REST_PROP_A), hook_on(30096_f, REST_PROP_B)};
constexpr Cue REST_WAKE_UP[] = {
    show_frame(ATTENDANT, 4402_f),
    walk(0, mover(ATTENDANT, 438, 460, 8)),
    walk(0, mover(ATTENDANT, 497, 483, 8)),
    frames(ATTENDANT, 30076_f, 30096_f, 2, 400).with(REST_SET_OUT),
    bubble(ATTENDANT, 20047_t),
    show_frame(ATTENDANT, -4452_f),
    walk(0, mover(ATTENDANT, 438, 460, 8)),
    walk(0, mover(ATTENDANT, 466, 410, 8)),
    walk(0, mover(ATTENDANT, 292, 324, 8)),
    show_frame(ATTENDANT, 30000_f),
    show_frame(PLAYER_OBJ, 2900_f),
    attr(PLAYER_OBJ, ATTR_EVENT, POSE_AWAKE),
    frames(PLAYER_OBJ, 2900_f, 2922_f, 1, 200),
    show_frame(PLAYER_OBJ, 2900_f),
    cursor(13),
};
static_assert(cues_valid(REST_WAKE_UP));
// The first time only: the other sleepers of the room wake up too.
constexpr Cue ROOM_WAKES[] = {
    pan_by(-100, 0, 5),
    frames(SLEEPER_B, 2179_f, 2187_f, 1, 200),
    show_frame(SLEEPER_B, 2294_f),
    bubble(SLEEPER_B, 20062_t),
    frames(SLEEPER_A, 2188_f, 2196_f, 1, 200),
    show_frame(SLEEPER_A, 2298_f),
    bubble(SLEEPER_A, 20063_t),
    frames(SLEEPER_B, 2179_f, 2187_f, 1, 200),
    show_frame(SLEEPER_B, 2294_f),
    bubble(SLEEPER_B, 20064_t),
    frames(SLEEPER_A, 2188_f, 2196_f, 1, 200),
    show_frame(SLEEPER_A, 2298_f),
    bubble(SLEEPER_A, 20065_t),
    frames(SLEEPER_C, 2251_f, 2259_f, 1, 200),
    show_frame(SLEEPER_C, 2289_f),
    say(0, 1081_img, 20066_t),
    pan_by(200, 0, 5),
    show_frame(SLEEPER_C, 2287_f),
    say(0, 1081_img, 20102_t),
    frames(SLEEPER_D, 2272_f, 2284_f, 1, 200),
    show_frame(SLEEPER_D, 2290_f),
    say(3, 1033_img, 20067_t),
    pan_by(-100, 0, 5),
    stage(SLEEPER_C, 1),
    stage(SLEEPER_D, 1),
};
static_assert(cues_valid(ROOM_WAKES));
constexpr Cue REST_WAKE_DONE[] = {
    clickable(REST_PLACE_OBJ, true, 9),
    stage(REST_PLACE_OBJ, SERVICE_HELD),
    stage(ATTENDANT, 1),
    stage(GUEST_OF_MAP_24, 1),
};
static_assert(cues_valid(REST_WAKE_DONE));
} // namespace choreographies
using choreographies::BATH_IN;
using choreographies::BATH_OUT;
using choreographies::REST_APPROACH;
using choreographies::REST_DECLINED;
using choreographies::REST_GET_UP;
using choreographies::REST_LIE_DOWN;
using choreographies::REST_LIE_DOWN_DONE;
using choreographies::REST_STAY;
using choreographies::REST_WAKE_DONE;
using choreographies::REST_WAKE_UP;
using choreographies::ROOM_WAKES;
using choreographies::SEAT_SIT;
using choreographies::SEAT_STAND;

void bath_in() {
    cues_run(BATH_IN);
}
void bath_out() {
    cues_run(BATH_OUT);
}
void seat_sit() {
    cues_run(SEAT_SIT);
}
void seat_stand() {
    cues_run(SEAT_STAND);
}
void rest_approach() {
    cues_run(REST_APPROACH);
}
void rest_lie_down() {
    cues_run(REST_LIE_DOWN);
}
void rest_lie_down_done() {
    cues_run(REST_LIE_DOWN_DONE);
}
void rest_declined() {
    cues_run(REST_DECLINED);
}
void rest_stay() {
    cues_run(REST_STAY);
}
void rest_get_up() {
    cues_run(REST_GET_UP);
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
    cues_run(REST_WAKE_UP);
    if (script_stage(REST_ATTENDANT) != 2) cues_run(ROOM_WAKES);
    cues_run(REST_WAKE_DONE);
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

const std::span<const Cue> CHOREOGRAPHIES[] = {
    BATH_IN,       BATH_OUT,           SEAT_SIT,       SEAT_STAND, REST_APPROACH,
    REST_LIE_DOWN, REST_LIE_DOWN_DONE, REST_DECLINED,  REST_STAY,  REST_GET_UP,
    REST_WAKE_UP,  ROOM_WAKES,         REST_WAKE_DONE,
};

} // namespace

void posed_services_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const std::span<const Cue> scene : CHOREOGRAPHIES) cues_frames(v, scene);
    for (const PosedService& s : POSED_SERVICES) {
        frames_of_turn(v, s.frames);
        v(s.posed_self);
        v(s.posed_player);
    }
    for (const TalkRow* row : {&ATTENDANT_LYING, &ATTENDANT_AWAKE}) {
        frames_of_turn(v, row->frames);
        v(row->posed_self);
        v(row->posed_player);
    }
    frames_of_cycle(v, SEAT_IDLE);
    frames_of_cycle(v, ATTENDANT_IDLE);
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
static_assert(slots_distinct(SLOTS));

// Slot 39 is named by nothing and stays empty.
constexpr SlotRange COMPLETE[] = {{11, 11}, {39, 40}, {45, 45}, {47, 47}};
} // namespace

std::span<const ScriptSlot> home_posed_slots() {
    return SLOTS;
}

ScriptRegion home_posed_region() {
    return {.owner = HOME_POSED_OWNER, .slots = home_posed_slots, .complete = COMPLETE};
}
