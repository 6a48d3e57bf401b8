#include "scripts/towns/city_residents.h"

#include "engine/dialog.h"
#include "engine/world/object.h"
#include "game/inventory.h"
#include "scripts/cells.h"
#include "scripts/quiz.h"
#include "scripts/routes.h"

#include <array>
#include <iterator>
#include <limits>

namespace {

using namespace cell;

constexpr s32 IDLE_REARM = 10;
constexpr s32 TALK_FAR = 300;

constexpr IdleCycle idle(s32 start, s32 limit, s32 step, s32 pause) {
    return {.rearm = IDLE_REARM, .start = start, .limit = limit, .step = step, .pause = pause};
}
constexpr TurnFrames facing(s32 frame) {
    return {frame, frame, frame, frame};
}

constexpr Resident resident(IdleCycle cycle, TurnFrames turn, std::span<const Cell> cells) {
    return {
        .idle_on = true, .idle = cycle, .talk = {.far = TALK_FAR, .frames = turn, .cells = cells}};
}

// ---- Figures that only move ------------------------------------------------------------------

constexpr IdleRow FIGURES[] = {
    {659, idle(45100, 45144, 2, 20)}, // 1070-1072: hidden, and nothing shows them
    {660, idle(45000, 45050, 2, 20)}, {661, idle(44900, 44950, 2, 20)},
    {674, idle(45880, 45888, 2, 20)}, // the hall of map 230
    {675, idle(45890, 45898, 2, 20)}, {712, idle(45970, 45986, 2, 10)},
};

// ---- Talks -----------------------------------------------------------------------------------

// clang-format off
// The group of map 213: whoever is clicked, 1083 speaks.
constexpr Cell TALK_HALL_GROUP[] = {stage(0, EVERY_STAGE), B(1083_obj, 33181_t), B(1083_obj, 33182_t)};
static_assert(cells_valid(TALK_HALL_GROUP));
// The hidden 1087 and the three of map 230.
constexpr Cell TALK_1087[] = {
    stage(0, EVERY_STAGE), B(1087_obj, 33477_t), B(1088_obj, 33478_t), B(1087_obj, 33479_t),
        B(1089_obj, 33480_t), B(1088_obj, 33481_t), B(1089_obj, 33482_t),
};
static_assert(cells_valid(TALK_1087));
constexpr Cell TALK_1088_1089[] = {
    stage(0, EVERY_STAGE), run(33490_t, 33497_t, bubble_of(1088_obj), bubble_of(1089_obj)),
};
static_assert(cells_valid(TALK_1088_1089));
constexpr Cell TALK_1092_1098[] = {stage(0, EVERY_STAGE), S(33500_t), S(33501_t), S(33502_t)};
static_assert(cells_valid(TALK_1092_1098));
constexpr Cell TALK_1094_1095[] = {
    stage(0, EVERY_STAGE), run(33473_t, 33476_t, bubble_of(1094_obj), bubble_of(1095_obj)),
};
static_assert(cells_valid(TALK_1094_1095));
constexpr Cell TALK_1099[] = {stage(0, EVERY_STAGE), S(25312_t)};
static_assert(cells_valid(TALK_1099));
constexpr Cell TALK_1100[] = {stage(0, EVERY_STAGE), S(25311_t)};
static_assert(cells_valid(TALK_1100));
constexpr Cell TALK_1109[] = {stage(0, EVERY_STAGE), S(25401_t)};
static_assert(cells_valid(TALK_1109));
constexpr Cell TALK_1110[] = {stage(0, EVERY_STAGE), S(25402_t)};
static_assert(cells_valid(TALK_1110));
constexpr Cell TALK_1116[] = {stage(0, EVERY_STAGE), S(33691_t)};
static_assert(cells_valid(TALK_1116));
constexpr Cell TALK_1117_1118[] = {stage(0, EVERY_STAGE), B(1118_obj, 34885_t), B(1117_obj, 34886_t)};
static_assert(cells_valid(TALK_1117_1118));
constexpr Cell TALK_1119[] = {stage(0, EVERY_STAGE), P(33650_t), S(33651_t), P(33652_t)};
static_assert(cells_valid(TALK_1119));

// 1061 and 1060 at the west edge: the long exchange once, both to stage 1 (1060's own script
// plays the same).
constexpr Cell TALK_1061[] = {
    stage(0), S(34910_t), B(1060_obj, 34911_t), run(34912_t, 34916_t, SELF, SELF),
        run(34917_t, 34923_t, bubble_of(1060_obj), bubble_of(1060_obj)), S(34924_t),
        B(1060_obj, 34925_t), to(1), obj_to(1060_obj, 1),
    stage(1), S(34901_t),
};
static_assert(cells_valid(TALK_1061));
// Three talks in turn, and round again.
constexpr Cell TALK_1106[] = {
    stage(0), S(25380_t), P(25381_t), to(1),
    stage(1), S(25382_t), P(25383_t), to(2),
    stage(2), S(25397_t), to(0),
};
static_assert(cells_valid(TALK_1106));
constexpr Cell TALK_1107[] = {stage(0, 1), S(25387_t)};
static_assert(cells_valid(TALK_1107));
constexpr Cell TALK_1108[] = {stage(0, 1), B(1107_obj, 25384_t), P(25385_t), B(1107_obj, 25386_t)};
static_assert(cells_valid(TALK_1108));
// The pair 1104 and 1105: one talk whoever is clicked, and no stage.
constexpr Cell TALK_1104_1105[] = {
    stage(0, EVERY_STAGE), B(1104_obj, 25388_t), B(1105_obj, 25389_t), B(1104_obj, 25390_t),
        B(1104_obj, 25391_t),
        choice(25392_t, 25393_t),
            option(0), B(1104_obj, 25394_t), B(1105_obj, 25395_t),
            option(1), B(1104_obj, 25396_t),
        end(),
};
static_assert(cells_valid(TALK_1104_1105));
// clang-format on

constexpr ResidentRow RESIDENTS[] = {
    {650, resident(idle(44700, 44724, 2, 20), facing(44700), TALK_1061)},
    {670, resident(idle(46460, 46472, 1, 20), facing(46460), TALK_HALL_GROUP)},
    {671, resident(idle(46480, 46495, 1, 20), facing(46480), TALK_HALL_GROUP)},
    {672, resident(idle(46540, 46590, 2, 20), {46594, 46592, 46598, 46596}, TALK_HALL_GROUP)},
    {689, resident(idle(46600, 46618, 1, 20), facing(46600), TALK_HALL_GROUP)},
    {691, resident(idle(46430, 46458, 2, 20), facing(46430), TALK_HALL_GROUP)},
    {676, resident(idle(46070, 46083, 1, 20), facing(46070), TALK_1087)},
    {677, resident(idle(46100, 46113, 1, 20), facing(46100), TALK_1088_1089)},
    {678, resident(idle(46120, 46133, 1, 20), facing(46120), TALK_1088_1089)},
    {681, resident(idle(46230, 46238, 1, 20), facing(46230), TALK_1092_1098)},
    {686, resident(idle(46340, 46354, 1, 20), facing(46340), TALK_1092_1098)},
    {683, resident(idle(46250, 46261, 1, 20), facing(46250), TALK_1094_1095)},
    {684, resident(idle(46270, 46282, 1, 20), facing(46270), TALK_1094_1095)},
    {687,
     {.idle_on = true,
      .idle = {.rearm = IDLE_REARM,
               .start = 46660,
               .limit = 46698,
               .step = 2,
               .pause = 20,
               .remark_frame = 46672,
               .remark_text = 25310,
               .remark_dx = -64,
               .remark_dy = -100,
               .remark_ms = 2000},
      .talk = {.far = TALK_FAR, .frames = facing(46660), .cells = TALK_1099}}},
    {688, resident(idle(46800, 46826, 2, 20), facing(46800), TALK_1100)},
    {697, resident(idle(47020, 47056, 2, 10), facing(47020), TALK_1109)},
    {698, resident(idle(47060, 47097, 2, 10), facing(47060), TALK_1110)},
    {704, resident(idle(39530, 39542, 1, 10), {-39543, 39543, -39544, 39544}, TALK_1116)},
    {705, resident(idle(41828, 41854, 2, 10), {-41854, 41854, -41856, 41856}, TALK_1117_1118)},
    {706, resident(idle(41900, 41926, 2, 10), {-41926, 41926, -41928, 41928}, TALK_1117_1118)},
    {707, resident(idle(41740, 41792, 2, 10), {-41796, 41796, 41792, 41794}, TALK_1119)},
    // Whatever frame it had, 1106 ends every talk on 46900.
    {694,
     {.idle_on = true,
      .idle = idle(46900, 46964, 2, 20),
      .talk = {.far = TALK_FAR,
               .frames = {-46966, 46966, 46900, 46900},
               .keep_frame = false,
               .end_frame = 46900,
               .cells = TALK_1106}}},
    // 1107 does not turn: the player turns to it and it keeps its frame.
    {695,
     {.idle_on = true,
      .idle = idle(46970, 46986, 2, 10),
      .talk = {.far = TALK_FAR, .turn = TURN_PLAYER_ONLY, .cells = TALK_1107}}},
    {696, resident(idle(47000, 47014, 2, 10), facing(47000), TALK_1108)},
};

constexpr PairTalk PAIR_1104{
    .members = {{{.obj = 1104,
                  .frames = facing(46830),
                  .idle_on = true,
                  .idle = idle(46830, 46854, 2, 20)},
                 {.obj = 1105,
                  .frames = facing(46860),
                  .idle_on = true,
                  .idle = idle(46860, 46884, 2, 20)}}},
    .talk = {.far = TALK_FAR, .cells = TALK_1104_1105},
};
constexpr PairRow PAIRS[] = {{692, &PAIR_1104, 0}, {693, &PAIR_1104, 1}};

// ---- The walker 1064 -------------------------------------------------------------------------

// It re-arms itself on every frame and stands while its ATTR_VAR_B is 0; walker 1041 sets it to
// 1 when its own walk ends, and from there it walks point by point, pausing 7 frames at each, and
// hides at the last. It starts at leg 1: the first point of its way, (4664, 2142), lies beside its
// starting place and is never walked to.
constexpr s32 WALKER_SPEED = 7;
constexpr s32 WALKER_PAUSE = 7;
constexpr RouteStep WALKER_STEPS[] = {
    route::go(1, 4543, 2143, route::rearm_to(WALKER_PAUSE)),
    route::go(2, 4224, 2320, route::rearm_to(WALKER_PAUSE)),
    route::go(3, 4074, 2538, route::rearm_to(WALKER_PAUSE)),
    route::go(4, 3385, 3104, route::rearm_to(WALKER_PAUSE)),
    route::go(5, 2586, 2863, route::rearm_to(WALKER_PAUSE)),
    route::go(6, CITY_WALKER_LAST_X, CITY_WALKER_LAST_Y, route::self_off(),
              route::rearm_to(WALKER_PAUSE)),
};
constexpr RouteWindow WALKER_WINDOWS[] = {route::always(WALKER_STEPS)};
constexpr Route WALKER_ROUTE{
    .interval = 1, .speed = WALKER_SPEED, .stage_var = STAGE_VAR_B, .windows = WALKER_WINDOWS};

constexpr Cell TALK_1064[] = {stage(0, EVERY_STAGE), S(34401_t)};
static_assert(cells_valid(TALK_1064));
constexpr TalkRow WALKER_TALK{
    .far = TALK_FAR, .frames = {-39302, 39302, -39322, 39322}, .cells = TALK_1064};
// Frames 39300..39349: the walking block its steps show.
constexpr s32 WALKER_BLOCK = 39300;
constexpr s32 WALKING_BLOCK_SIZE = 50;

// ---- The quiz-giver 1068 ---------------------------------------------------------------------

// clang-format off
constexpr QuizQuestion QUIZ_QUESTIONS[] = {
    {.bubbles = {25011, QUIZ_NONE}, .options = {25012, 25013, 25014, 25015}, .right = 1},
    {.bubbles = {25016, QUIZ_NONE}, .options = {25017, 25018, 25019, 25020}, .right = 3},
    {.bubbles = {25021, QUIZ_NONE}, .options = {25022, 25023, 25024, 25025}, .right = 0},
    {.bubbles = {25026, QUIZ_NONE}, .options = {25027, 25028, 25029, 25030}, .right = 3},
    {.bubbles = {25031, 25032},     .options = {25033, 25034, 25035, 25036}, .right = 3},
    {.bubbles = {25037, QUIZ_NONE}, .options = {25038, 25039, 25040, 25041}, .right = 0},
    {.bubbles = {25042, QUIZ_NONE}, .options = {25043, 25044, 25045, 25046}, .right = 2},
    {.bubbles = {25047, QUIZ_NONE}, .options = {25048, 25049, 25050, 25051}, .right = 3},
};
// clang-format on
constexpr Quiz QUIZ{.questions = QUIZ_QUESTIONS};
static_assert(quiz_valid(QUIZ));

// The verdict by the count, which starts at 1 and gains one for each right answer. Up to one
// right answer the test may be taken again (stage 1); from two on the stage is final.
struct Verdict {
    s32 lo, hi; // the count
    s32 stage;
    s32 text;
    s32 item; // given once, 0: none
};
constexpr Verdict VERDICTS[] = {
    {1, 2, 1, 25007, 0},
    {3, 5, 3, 25007, 0},
    {6, 8, 2, 25007, 0},
    {9, 9, 2, 25006, CITY_QUIZ_PRIZE},
};

s32 quiz_talk_pos = 3; // the player's box of the talk under way

void quiz_test() {
    const s32 self = script_self();
    const s32 count = 1 + quiz_run(QUIZ, self, quiz_talk_pos);
    for (const Verdict& v : VERDICTS) {
        if (count < v.lo || count > v.hi) continue;
        script_set_stage(self, v.stage);
        say_at(self, v.text);
        if (v.item != 0) inv_add(v.item, 1);
        return;
    }
}

// clang-format off
constexpr Cell TALK_QUIZ[] = {
    stage(0), S(25000_t), P(25001_t), S(25002_t),
        choice(25003_t, 25004_t), option(0), call(quiz_test), option(1), to(1), end(),
    stage(1), S(25005_t),
        choice(25003_t, 25004_t), option(0), call(quiz_test), option(1), to(1), end(),
    stage(2), S(25008_t),
    stage(3), S(25007_t),
};
// clang-format on
static_assert(cells_valid(TALK_QUIZ));
constexpr IdleCycle QUIZ_IDLE = idle(47200, 47234, 2, 20);
constexpr TurnFrames QUIZ_TURN{-47236, 47236, -47238, 47238};

void quiz_click() {
    if (too_far_guard(TALK_FAR)) return;
    const s32 self = script_self();
    const s32 kept = frame_keep(self);
    const TalkContext ctx{.self = self, .turn = turn_to_talk(QUIZ_TURN), .partner = -1};
    quiz_talk_pos = ctx.turn.pos;
    cells_run_stage(TALK_QUIZ, ctx);
    frame_restore(self, kept);
}

} // namespace

void object_event_0653() {
    if (script_on(TRIG_TIMER)) route_run(WALKER_ROUTE);
    if (script_on(TRIG_CLICK)) talk_run(WALKER_TALK);
}

void object_event_0657() {
    if (script_on(TRIG_TIMER)) idle_cycle(QUIZ_IDLE);
    if (script_on(TRIG_CLICK)) quiz_click();
}

// The step zone 1069 carries this empty script; it is created hidden and nothing shows it.
void object_event_0658() {}

// ---- Frames ----------------------------------------------------------------------------------

void city_residents_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const IdleRow& r : FIGURES) frames_of_cycle(v, r.idle);
    for (const ResidentRow& r : RESIDENTS) frames_of_resident(v, r.r);
    frames_of_pair(v, PAIR_1104);
    frames_of_turn(v, WALKER_TALK.frames);
    for (s32 f = WALKER_BLOCK; f < WALKER_BLOCK + WALKING_BLOCK_SIZE; ++f) v(f);
    frames_of_cycle(v, QUIZ_IDLE);
    frames_of_turn(v, QUIZ_TURN);
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr std::array<ScriptSlot, 3> OWN_SLOTS{
    {{653, object_event_0653}, {657, object_event_0657}, {658, object_event_0658}}};
constexpr auto SLOTS =
    join_slots(family_slots<RESIDENTS, run_resident_row>(), family_slots<FIGURES, run_idle_row>(),
               family_slots<PAIRS, run_pair_row>(), OWN_SLOTS);
static_assert(slots_distinct(SLOTS));

// Carried by no object, so they stay empty: 682 (a figure idling on 46240-46248) and 690 (a
// member of the map-213 group idling on 46500-46530).
constexpr SlotRange COMPLETE[] = {{650, 650}, {653, 653}, {657, 661}, {670, 672}, {674, 678},
                                  {681, 684}, {686, 698}, {704, 707}, {712, 712}};
} // namespace

std::span<const ScriptSlot> city_residents_slots() {
    return SLOTS;
}

ScriptRegion city_residents_region() {
    return {.owner = CITY_RESIDENTS_OWNER, .slots = city_residents_slots, .complete = COMPLETE};
}
