#include "scripts/home/pairs_and_map16.h"

#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "scripts/cells.h"
#include "scripts/script_seams.h"

#include <array>
#include <iterator>

namespace {

using namespace cell;

// ---- Phased idle routines --------------------------------------------------------------------

// A remark floated over the resident when the new frame of its phase equals `frame` and the
// player is on the resident's map. With `alt_text` the remark is `text` when script_rand(10) is
// above 5, else `alt_text` at its own offset. With `hourly` the text is text + 2 x hour.
struct PhaseRemark {
    s32 frame = 0; // 0: none
    s32 text = 0;
    s32 dx = 0, dy = 0, ms = 0;
    s32 alt_text = 0;
    s32 alt_dx = 0, alt_dy = 0;
    bool hourly = false;
};

constexpr s32 WRAP_BACK =
    -1; // four in ten back to phase 0 at its first frame, else this phase again
constexpr s32 NO_PAUSE = -1; // the wrap keeps the re-arm

// One phase: frames first..last by step; past the last, the wrap shows `wrap_frame` and moves to
// `wrap_phase` (or WRAP_BACK), with ATTR_TIMER := pause + script_rand(pause_rand).
struct Phase {
    s32 first = 0, last = 0, step = 1;
    std::array<PhaseRemark, 3> remarks{};
    s32 wrap_frame = 0;
    s32 wrap_phase = 0;
    s32 pause = NO_PAUSE;
    s32 pause_rand = 0;
};

constexpr s32 PHASES_MAX = 3;
// A resident's routine. With more than one phase the phase is kept in ATTR_VAR_B; a routine of
// one phase leaves ATTR_VAR_B alone.
struct Routine {
    s32 map = 0;
    s32 rearm = 8;
    s32 count = 1;
    std::array<Phase, PHASES_MAX> phases{};
};

// One timer run of self's routine.
void routine_step(const Routine& r) {
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER, r.rearm);
    const s32 count = r.count < 1 ? 1 : (r.count > PHASES_MAX ? PHASES_MAX : r.count);
    s32 phase = count > 1 ? attr_get(self, ATTR_VAR_B) : 0;
    if (phase < 0 || phase >= count) phase = 0;
    const Phase& p = r.phases[size_t(phase)];
    s32 frame = obj_get_frame(self) + p.step;
    if (frame > p.last) {
        s32 next = p.wrap_phase;
        frame = p.wrap_frame;
        if (p.wrap_phase == WRAP_BACK) {
            const bool back = script_rand(10) < 4;
            next = back ? 0 : phase;
            frame = back ? r.phases[0].first : p.first;
        }
        if (p.pause >= 0)
            attr_set(self, ATTR_TIMER,
                     p.pause + (p.pause_rand > 0 ? script_rand(p.pause_rand) : 0));
        if (count > 1) attr_set(self, ATTR_VAR_B, next >= 0 && next < count ? next : 0);
    } else if (world_state.current_map == r.map) {
        for (const PhaseRemark& m : p.remarks) {
            if (m.frame == 0 || m.frame != frame) continue;
            const s32 hour = m.hourly ? 2 * s32(world_state.hour) : 0;
            if (m.alt_text == 0 || script_rand(10) > 5)
                label_add(self, m.text + hour, m.dx, m.dy, m.ms);
            else
                label_add(self, m.alt_text + hour, m.alt_dx, m.alt_dy, m.ms);
        }
    }
    obj_set_frame(self, frame);
}

constexpr s32 MAP16 = 16;
constexpr s32 MAP16_REARM = 8;

// Objects 140-144 of map 16, in slot order 61-65.
constexpr Routine MAP16_ROUTINES[] = {
    {.map = MAP16,
     .rearm = MAP16_REARM,
     .count = 2,
     .phases = {{{.first = 30478,
                  .last = 30501,
                  .step = 1,
                  .remarks = {{{.frame = 30480, .text = 10273, .dx = -70, .dy = -85, .ms = 1000},
                               {.frame = 30488, .text = 10274, .dx = -40, .dy = -85, .ms = 1000},
                               {.frame = 30497, .text = 10274, .dx = -40, .dy = -85, .ms = 1000}}},
                  .wrap_frame = 30810,
                  .wrap_phase = 1,
                  .pause = 100,
                  .pause_rand = 200},
                 {.first = 30810,
                  .last = 30818,
                  .step = 1,
                  .remarks = {},
                  .wrap_frame = 0,
                  .wrap_phase = WRAP_BACK,
                  .pause = 100,
                  .pause_rand = 100}}}},
    {.map = MAP16,
     .rearm = MAP16_REARM,
     .count = 2,
     .phases = {{{.first = 30505,
                  .last = 30552,
                  .step = 2,
                  .remarks = {{{.frame = 30547, .text = 10275, .dx = -84, .dy = -100, .ms = 3000}}},
                  .wrap_frame = 30819,
                  .wrap_phase = 1,
                  .pause = 100,
                  .pause_rand = 200},
                 {.first = 30819,
                  .last = 30844,
                  .step = 2,
                  .remarks = {},
                  .wrap_frame = 0,
                  .wrap_phase = WRAP_BACK,
                  .pause = 100,
                  .pause_rand = 100}}}},
    {.map = MAP16,
     .rearm = MAP16_REARM,
     .count = 2,
     .phases = {{{.first = 30557,
                  .last = 30588,
                  .step = 2,
                  .remarks = {{{.frame = 30579,
                                .text = 10276,
                                .dx = -56,
                                .dy = -95,
                                .ms = 4000,
                                .alt_text = 10277,
                                .alt_dx = -36,
                                .alt_dy = -95}}},
                  .wrap_frame = 30845,
                  .wrap_phase = 1,
                  .pause = 200},
                 {.first = 30845,
                  .last = 30866,
                  .step = 2,
                  .remarks = {},
                  .wrap_frame = 30557,
                  .wrap_phase = 0,
                  .pause = 100}}}},
    {.map = MAP16,
     .rearm = MAP16_REARM,
     .count = 2,
     .phases = {{{.first = 30600,
                  .last = 30631,
                  .step = 2,
                  .remarks = {{{.frame = 30606, .text = 10278, .dx = -48, .dy = -102, .ms = 5000}}},
                  .wrap_frame = 30867,
                  .wrap_phase = 1,
                  .pause = 200},
                 {.first = 30867,
                  .last = 30888,
                  .step = 2,
                  .remarks = {},
                  .wrap_frame = 30600,
                  .wrap_phase = 0,
                  .pause = 100}}}},
    // Created on frame 30700, so its very first pass of phase 0 runs 30702-30808.
    {.map = MAP16,
     .rearm = MAP16_REARM,
     .count = 3,
     .phases = {{{.first = 30768,
                  .last = 30808,
                  .step = 2,
                  .remarks = {{{.frame = 30780, .text = 10279, .dx = -70, .dy = -105, .ms = 3000}}},
                  .wrap_frame = 30700,
                  .wrap_phase = 1,
                  .pause = NO_PAUSE},
                 {.first = 30700,
                  .last = 30762,
                  .step = 2,
                  .remarks = {{{.frame = 30752, .text = 10280, .dx = -42, .dy = -105, .ms = 3000}}},
                  .wrap_frame = 30889,
                  .wrap_phase = 2,
                  .pause = 100,
                  .pause_rand = 200},
                 {.first = 30889,
                  .last = 30898,
                  .step = 2,
                  .remarks = {},
                  .wrap_frame = 0,
                  .wrap_phase = WRAP_BACK,
                  .pause = 100,
                  .pause_rand = 100}}}},
};

// The pair of map 10 (171, 172): one phase each, the remarks of the two answering each other.
constexpr Routine MAP10_PAIR_ROUTINES[] = {
    {.map = 10,
     .rearm = 8,
     .count = 1,
     .phases =
         {{{.first = 31156,
            .last = 31198,
            .step = 2,
            .remarks = {{{.frame = 31158, .text = 20116, .dx = -150, .dy = -120, .ms = 3000},
                         {.frame = 31178, .text = 20118, .dx = -200, .dy = -120, .ms = 5000}}},
            .wrap_frame = 31156,
            .wrap_phase = 0,
            .pause = 300}}}},
    {.map = 10,
     .rearm = 8,
     .count = 1,
     .phases =
         {{{.first = 31200,
            .last = 31243,
            .step = 2,
            .remarks = {{{.frame = 31218, .text = 20117, .dx = -170, .dy = -120, .ms = 3000},
                         {.frame = 31238, .text = 20119, .dx = -160, .dy = -120, .ms = 5000}}},
            .wrap_frame = 31200,
            .wrap_phase = 0,
            .pause = 300}}}},
};

// The pair of map 12 (173, 174): the remark tells the hour (text + 2 x hour).
constexpr Routine MAP12_PAIR_ROUTINES[] = {
    {.map = 12,
     .rearm = 15,
     .count = 1,
     .phases = {{{.first = 31322,
                  .last = 31355,
                  .step = 1,
                  .remarks = {{{.frame = 31340,
                                .text = 10960,
                                .dx = -100,
                                .dy = -110,
                                .ms = 10000,
                                .alt_text = 0,
                                .alt_dx = 0,
                                .alt_dy = 0,
                                .hourly = true}}},
                  .wrap_frame = 31322,
                  .wrap_phase = 0,
                  .pause = 100}}}},
    {.map = 12,
     .rearm = 15,
     .count = 1,
     .phases = {{{.first = 31358,
                  .last = 31391,
                  .step = 1,
                  .remarks = {{{.frame = 31377,
                                .text = 10961,
                                .dx = -140,
                                .dy = -120,
                                .ms = 9000,
                                .alt_text = 0,
                                .alt_dx = 0,
                                .alt_dy = 0,
                                .hourly = true}}},
                  .wrap_frame = 31358,
                  .wrap_phase = 0,
                  .pause = 100}}}},
};

// ---- The group of map 16 ---------------------------------------------------------------------

// Object 140 at stage 2: the hint of when the guessing game is played.
void clock_hint() {
    const s32 hint = clock_hint_value(world_state.hour, world_state.minute);
    say_at(script_self(), 13652 + hint);
    attr_set(CLOCK_HINT_OBJ, ATTR_VAR_B, hint);
}

// Object 142's first line is drawn anew on every click.
bool first_of_two() {
    return script_rand(10) > 5;
}

// clang-format off
constexpr Cell TALK_140[] = {
    stage(0), run(20140_t, 20144_t, PLAYER, SELF), to(1),
    stage(1), S(20145_t),
    stage(2), call(clock_hint),
};
static_assert(cells_valid(TALK_140));
constexpr Cell TALK_141[] = {
    stage(0), run(20146_t, 20150_t, SELF, PLAYER), to(1),
    stage(1), S(20151_t),
    stage(2), S(13657_t),
};
static_assert(cells_valid(TALK_141));
constexpr Cell TALK_142[] = {
    stage(0), when(test(first_of_two)), S(20153_t), otherwise(), S(20154_t), end(),
    stage(1), S(13658_t),
    stage(2), S(29099_t), when(stage_of(26_obj, 0, 0)), obj_to(26_obj, 1), end(),
};
static_assert(cells_valid(TALK_142));
constexpr Cell TALK_143[] = {
    stage(0), run(20155_t, 20161_t, SELF, PLAYER), to(1),
    stage(1), S(20162_t),
};
static_assert(cells_valid(TALK_143));
constexpr Cell TALK_144[] = {
    stage(0), run(20163_t, 20166_t, SELF, PLAYER), to(1),
    stage(1), S(20167_t),
};
static_assert(cells_valid(TALK_144));
// clang-format on

// A resident of the group: its routine, its rest frame and talk, and the one it restarts.
struct GroupMember {
    s32 obj = -1;
    s32 rest = 0;
    TalkRow talk{};
    s32 restarts = -1; // index into GROUP of the resident restarted with it (-1: none)
};

constexpr GroupMember GROUP[] = {
    {.obj = 140,
     .rest = 30478,
     .talk = {.frames = {-30503, 30503, 30504, 30502},
              .keep_frame = false,
              .end_frame = 30478,
              .cells = TALK_140}},
    {.obj = 141,
     .rest = 30505,
     .talk = {.frames = {30505, -30505, -30555, 30555},
              .keep_frame = false,
              .end_frame = 30505,
              .cells = TALK_141}},
    {.obj = 142,
     .rest = 30557,
     .talk = {.turn = TURN_NOBODY, .keep_frame = false, .end_frame = 30557, .cells = TALK_142},
     .restarts = 3},
    {.obj = 143,
     .rest = 30600,
     .talk = {.frames = {-30634, 30634, -30632, 30632},
              .keep_frame = false,
              .end_frame = 30600,
              .cells = TALK_143},
     .restarts = 2},
    {.obj = 144,
     .rest = 30768,
     .talk = {.frames = {30768, 30764, -30766, 30766},
              .keep_frame = false,
              .end_frame = 30768,
              .cells = TALK_144}},
};
static_assert(std::size(GROUP) == std::size(MAP16_ROUTINES));

// A resident of the group back at the start of its routine: rest frame, phase 0, no remark.
void group_rest(s32 obj, s32 frame) {
    obj_set_frame(obj, frame);
    attr_set(obj, ATTR_VAR_B, 0);
    label_remove(obj);
}

void group_run(size_t i) {
    if (script_on(TRIG_TIMER)) routine_step(MAP16_ROUTINES[i]);
    if (!script_on(TRIG_CLICK)) return;
    const GroupMember& m = GROUP[i];
    talk_run(m.talk); // ends on the rest frame
    group_rest(script_self(), m.rest);
    if (m.restarts >= 0 && size_t(m.restarts) < std::size(GROUP)) {
        const GroupMember& other = GROUP[size_t(m.restarts)];
        group_rest(other.obj, other.rest);
        attr_set(other.obj, ATTR_TIMER, MAP16_REARM);
    }
}

// ---- The pair of map 10 ----------------------------------------------------------------------

constexpr Cell TALK_171[] = {stage(0), S(10303_t)};
static_assert(cells_valid(TALK_171));
constexpr Cell TALK_172[] = {stage(0), S(10304_t)};
static_assert(cells_valid(TALK_172));
// Both keep the frame they turned to.
constexpr TalkRow MAP10_PAIR_TALKS[] = {
    {.frames = {31156, 31194, 31156, 31194}, .keep_frame = false, .cells = TALK_171},
    {.frames = {31240, 31240, 31200, 31200}, .keep_frame = false, .cells = TALK_172},
};

void map10_pair_run(size_t i) {
    if (script_on(TRIG_TIMER)) routine_step(MAP10_PAIR_ROUTINES[i]);
    if (script_on(TRIG_CLICK)) talk_run(MAP10_PAIR_TALKS[i]);
}

// ---- The pair of map 12 ----------------------------------------------------------------------

constexpr s32 HOUR_TELLER = 173;
constexpr s32 HOUR_ANSWER = 174;

// The answer to "what time is it": each of the two says its line of the hour.
void tell_the_hour() {
    const s32 hour = 2 * s32(world_state.hour);
    say_at(HOUR_TELLER, 20698 + hour);
    say_at(HOUR_ANSWER, 20699 + hour);
}

bool before_day_ten() {
    return world_state.day < 10;
}

// clang-format off
constexpr Cell MAP12_PAIR_TALK[] = {
    stage(0), S(20700_t), P(20701_t), S(20702_t), P(20703_t), pair_to(1),
    stage(1), S(20704_t), menu(20705_t, 20706_t),
        option(0), call(tell_the_hour),
    end(),
    stage(2), when(test(before_day_ten)),
        B(173_obj, 29095_t), B(174_obj, 29096_t), B(173_obj, 29097_t), B(174_obj, 29098_t),
        when(stage_of(26_obj, 0, 0)), obj_to(26_obj, 1), end(),
    otherwise(),
        B(173_obj, 29066_t), B(174_obj, 29067_t),
    end(),
};
// clang-format on
static_assert(cells_valid(MAP12_PAIR_TALK));
constexpr PairTalk MAP12_PAIR{
    .members = {{{.obj = HOUR_TELLER, .frames = {31357, 31357, 31322, 31356}},
                 {.obj = HOUR_ANSWER, .frames = {31358, 31392, 31392, 31358}}}},
    .talk = {.cells = MAP12_PAIR_TALK},
};

void map12_pair_run(size_t i) {
    if (script_on(TRIG_TIMER)) routine_step(MAP12_PAIR_ROUTINES[i]);
    if (script_on(TRIG_CLICK)) {
        label_remove(HOUR_TELLER);
        label_remove(HOUR_ANSWER);
    }
    pair_run(MAP12_PAIR, s32(i));
}

// ---- The resident of map 33 ------------------------------------------------------------------

// clang-format off
constexpr Cell TALK_176[] = {
    stage(0), run(20132_t, 20139_t, SELF, PLAYER), to(1),
    stage(1), S(20138_t),
    stage(2), S(29172_t),
};
// clang-format on
static_assert(cells_valid(TALK_176));
constexpr Resident MAP33_RESIDENT{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 31400, .limit = 31446, .step = 2, .pause = 100},
    .talk = {.frames = {31446, 31448, 31446, 31448}, .keep_frame = false, .cells = TALK_176},
};

} // namespace

void object_event_0061() {
    group_run(0);
}
void object_event_0062() {
    group_run(1);
}
void object_event_0063() {
    group_run(2);
}
void object_event_0064() {
    group_run(3);
}
void object_event_0065() {
    group_run(4);
}
void object_event_0079() {
    map10_pair_run(0);
}
void object_event_0080() {
    map10_pair_run(1);
}
void object_event_0081() {
    map12_pair_run(0);
}
void object_event_0082() {
    map12_pair_run(1);
}
void object_event_0084() {
    resident_run(MAP33_RESIDENT);
}

// ---- Frames ---------------------------------------------------------------------------------

void pairs_and_map16_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const auto routine = [&](const Routine& r) {
        for (s32 i = 0; i < r.count && i < PHASES_MAX; ++i) {
            const Phase& p = r.phases[size_t(i)];
            for (s32 f = p.first; f <= p.last; f += p.step) visit(f, ctx);
            if (p.wrap_frame != 0) visit(p.wrap_frame, ctx);
        }
    };
    const auto turn = [&](const TurnFrames& t) {
        for (const s32 f : {t.f0, t.f1, t.f2, t.f3})
            if (f != 0) visit(f, ctx);
    };
    for (const Routine& r : MAP16_ROUTINES) routine(r);
    for (const Routine& r : MAP10_PAIR_ROUTINES) routine(r);
    for (const Routine& r : MAP12_PAIR_ROUTINES) routine(r);
    for (const GroupMember& m : GROUP) turn(m.talk.frames);
    // Object 144's first pass starts from its creation frame.
    for (s32 f = 30700; f <= 30766; f += 2) visit(f, ctx);
    for (const TalkRow& t : MAP10_PAIR_TALKS) turn(t.frames);
    for (const PairMember& m : MAP12_PAIR.members) turn(m.frames);
    const IdleCycle& idle = MAP33_RESIDENT.idle;
    for (s32 f = idle.start; f <= idle.limit; f += idle.step) visit(f, ctx);
    turn(MAP33_RESIDENT.talk.frames);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {61, object_event_0061}, {62, object_event_0062}, {63, object_event_0063},
    {64, object_event_0064}, {65, object_event_0065}, {79, object_event_0079},
    {80, object_event_0080}, {81, object_event_0081}, {82, object_event_0082},
    {84, object_event_0084},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{61, 65}, {79, 82}, {84, 84}};
} // namespace

std::span<const ScriptSlot> home_pairs_map16_slots() {
    return SLOTS;
}

ScriptRegion home_pairs_map16_region() {
    return {.owner = HOME_PAIRS_MAP16_OWNER, .slots = home_pairs_map16_slots, .complete = COMPLETE};
}
