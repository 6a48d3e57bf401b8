#include "scripts/towns/town_a_residents.h"

#include "engine/world/object.h"
#include "scripts/cells.h"
#include "scripts/zones.h"

#include <array>
#include <iterator>
#include <limits>

namespace {

using namespace cell;

// ---- Talkers ---------------------------------------------------------------------------------

// clang-format off
constexpr Cell TALK_404[] = {
    stage(0), S(25965_t), P(3, 25966_t), S(25967_t), to(1),
    stage(1), S(25968_t),
    stage(2), when(flag_is(84_flag, 1)), S(29150_t), otherwise(), S(29151_t), end(),
};
static_assert(cells_valid(TALK_404));
constexpr Cell TALK_414[] = {stage(0, EVERY_STAGE), S(25933_t)};
static_assert(cells_valid(TALK_414));
constexpr Cell TALK_417[] = {stage(0, EVERY_STAGE), S(25961_t)};
static_assert(cells_valid(TALK_417));
constexpr Cell TALK_420[] = {
    stage(0), S(25951_t),
    stage(1, EVERY_STAGE), S(29058_t),
};
static_assert(cells_valid(TALK_420));
constexpr Cell TALK_424[] = {
    stage(0), S(46560_t), to(1),
    stage(1), S(46561_t),
    stage(2), S(29157_t),
};
static_assert(cells_valid(TALK_424));
// Self says the odd texts of the run.
constexpr Cell TALK_425[] = {
    stage(0), run(25969_t, 25977_t, SELF, player_at(3)), to(1),
    stage(1), S(25978_t),
    stage(2), S(29040_t),
};
static_assert(cells_valid(TALK_425));
// Both lines again on every click: the stage stays 0.
constexpr Cell TALK_427[] = {stage(0), S(58200_t), S(58201_t)};
static_assert(cells_valid(TALK_427));
constexpr Cell TALK_435[] = {
    stage(0), S(46093_t), to(1),
    stage(1), S(46094_t), to(2),
    stage(2), S(46095_t),
};
static_assert(cells_valid(TALK_435));
constexpr Cell TALK_436[] = {
    stage(0), S(46096_t), to(1),
    stage(1), S(46097_t), to(2),
    stage(2), S(46098_t),
};
static_assert(cells_valid(TALK_436));
constexpr Cell TALK_440[] = {stage(0, EVERY_STAGE), S(25950_t)};
static_assert(cells_valid(TALK_440));
constexpr Cell TALK_445[] = {stage(0, EVERY_STAGE), S(25889_t), P(3, 25890_t)};
static_assert(cells_valid(TALK_445));
constexpr Cell TALK_446[] = {stage(0, EVERY_STAGE), N(1026_img, 2, 24219_t)};
static_assert(cells_valid(TALK_446));
constexpr Cell TALK_447[] = {stage(0, EVERY_STAGE), N(1238_img, 2, 24219_t)};
static_assert(cells_valid(TALK_447));

// Object 455 gives its gift only when the player's sixth attribute is 50 or more at the first
// talk; below that it settles at stage 2 for good.
constexpr Lesson GIFT_LESSON{.growth = 12, .exp = 300};
constexpr Cell TALK_455[] = {
    stage(0), P(3, 25861_t), S(25862_t), P(3, 25863_t), S(25864_t),
        when(attr_from(5, 50)),
            P(3, 25865_t), S(25866_t), P(3, 25867_t), S(25868_t), P(3, 25869_t), to(1),
            give(1050_item, 1), teach(GIFT_LESSON),
        otherwise(), P(3, 25871_t), S(25872_t), to(2),
        end(),
    stage(1), S(25870_t),
    stage(2), S(25873_t),
};
static_assert(cells_valid(TALK_455));
constexpr Cell TALK_486[] = {stage(0), S(46419_t)};
static_assert(cells_valid(TALK_486));
// The gate guards. Slot 173 also stands on the city guards 1001 and 1002: their click speaks in
// a bubble at object 407's place, as it always has.
constexpr Cell TALK_406[] = {stage(0, EVERY_STAGE), B(406_obj, 46584_t)};
static_assert(cells_valid(TALK_406));
constexpr Cell TALK_407[] = {stage(0, EVERY_STAGE), B(407_obj, 46584_t)};
static_assert(cells_valid(TALK_407));
// clang-format on

// ---- The search for person 89 (objects 459-463; nothing in play shows them) ------------------

constexpr s32 SEARCH_FIRST = 459;
constexpr s32 SEARCH_SECOND = 460;
constexpr s32 SEARCH_HIDDEN[] = {461, 462, 463};

void hide_self() {
    attr_set(script_self(), ATTR_ACTIVE, 0);
}
// The last of the three hiding places has been found.
bool search_done() {
    for (const s32 obj : SEARCH_HIDDEN)
        if (attr_get(obj, ATTR_ACTIVE) != 0) return false;
    return true;
}

// clang-format off
constexpr Cell TALK_459[] = {
    stage(0, EVERY_STAGE),
        when(flag_is(18_flag, 0)), run(59301_t, 59305_t, person(1089_img), PLAYER),
        orwhen(flag_is(18_flag, 1)), run(59320_t, 59326_t, person(1089_img), PLAYER),
        end(),
        hide(459_obj),
};
static_assert(cells_valid(TALK_459));
constexpr Cell TALK_460[] = {
    stage(0, EVERY_STAGE),
        when(stage_of(ObjId(SEARCH_FIRST), 0, 0)), N(1089_img, 25618_t),
        orwhen(stage_of(ObjId(SEARCH_FIRST), 1, 1)), N(1089_img, 59310_t),
            choice(59311_t, 59312_t),
                option(0), N(1089_img, 59313_t),
                option(1), N(1089_img, 59314_t),
            end(),
        orwhen(stage_of(ObjId(SEARCH_FIRST), 2, 2)),
            run(59330_t, 59331_t, person(1089_img), PLAYER),
            run(59340_t, 59348_t, person(1089_img), PLAYER),
            hide(ObjId(SEARCH_SECOND)),
            show(461_obj), show(462_obj), show(463_obj),
            obj_to(461_obj, 1), obj_to(462_obj, 1), obj_to(463_obj, 1),
        end(),
};
static_assert(cells_valid(TALK_460));
constexpr Cell TALK_HIDING[] = {
    stage(0),
        when(clicked(461_obj)), S(25615_t),
        orwhen(clicked(462_obj)), S(25616_t),
        otherwise(), S(25617_t),
        end(),
    stage(1), N(1089_img, 59350_t), call(hide_self),
        when(test(search_done)), N(1089_img, 25619_t), P(25620_t), P(25628_t), end(),
};
static_assert(cells_valid(TALK_HIDING));
// clang-format on

constexpr IdleCycle SEARCH_IDLE{
    .rearm = 10, .start = 41320, .limit = 41382, .step = 2, .pause = 20};
constexpr TurnFrames SEARCH_TURN{41388, 41386, 41382, 41384};
constexpr Resident searcher(std::span<const Cell> cells) {
    return {.idle_on = true,
            .idle = SEARCH_IDLE,
            .talk = {.far = 100, .frames = SEARCH_TURN, .cells = cells}};
}

// ---- Resident rows ---------------------------------------------------------------------------

constexpr IdleCycle idle8(s32 start, s32 limit, s32 step, s32 pause) {
    return {.rearm = 8, .start = start, .limit = limit, .step = step, .pause = pause};
}
constexpr IdleCycle idle10(s32 start, s32 limit, s32 step, s32 pause) {
    return {.rearm = 10, .start = start, .limit = limit, .step = step, .pause = pause};
}
// A click part without guard in which nobody turns.
constexpr TalkRow still(s32 far, std::span<const Cell> cells) {
    return {.far = far, .turn = TURN_NOBODY, .cells = cells};
}

constexpr ResidentRow RESIDENTS[] = {
    {170, {.idle_on = true, .idle = idle8(21622, 21635, 2, 20), .talk = still(0, TALK_404)}},
    {172, {.talk = still(0, TALK_406)}},
    {173, {.talk = still(0, TALK_407)}},
    {180, {.talk = still(250, TALK_414)}},
    {183, {.idle_on = true, .idle = idle8(21547, 21592, 2, 20), .talk = still(250, TALK_417)}},
    {190, {.talk = {.far = 150, .frames = {-21950, 21950, -21952, 21952}, .cells = TALK_424}}},
    {191, {.idle_on = true, .idle = idle8(21960, 21993, 1, 20), .talk = still(250, TALK_425)}},
    {193, {.talk = {.far = 150, .frames = {22033, 22033, 22031, 22032}, .cells = TALK_427}}},
    {201,
     {.idle_on = true,
      .idle = idle8(21764, 21775, 1, 20),
      .talk = {.far = 150, .frames = {21778, 21778, 21776, 21777}, .cells = TALK_435}}},
    {202,
     {.idle_on = true,
      .idle = idle8(21779, 21790, 1, 20),
      .talk = {.far = 150, .frames = {21792, 21791, 21793, 21793}, .cells = TALK_436}}},
    {206,
     {.idle_on = true,
      .idle = idle8(21250, 21297, 2, 20),
      .talk = {.far = 150, .frames = {-21298, 21298, 21250, -21250}, .cells = TALK_440}}},
    {211, {.talk = {.far = 150, .frames = {-22270, 22270, -22274, 22274}, .cells = TALK_445}}},
    {212,
     {.idle_on = true,
      .idle = idle10(22476, 22491, 1, 10),
      .talk = {.far = 100, .frames = {22493, 22492, 22494, 22494}, .cells = TALK_446}}},
    {213,
     {.idle_on = true,
      .idle = idle10(22340, 22355, 1, 10),
      .talk = {.far = 100, .frames = {22358, 22358, 22356, 22357}, .cells = TALK_447}}},
    {856,
     {.idle_on = true,
      .idle = idle10(37330, 37344, 2, 10),
      .talk = {.far = 400, .frames = {37348, 37348, 37346, 37344}, .cells = TALK_455}}},
    {860, searcher(TALK_459)},
    {861, searcher(TALK_460)},
    {862, searcher(TALK_HIDING)},
    {863, searcher(TALK_HIDING)},
    {864, searcher(TALK_HIDING)},
    // A mirrored figure: its frames run downwards and wrap below the limit.
    {874, {.idle_on = true, .idle = idle8(-52920, -52931, -1, 100), .talk = still(0, TALK_486)}},
};

constexpr IdleRow FIGURES[] = {
    {893, idle8(38472, 38489, 2, 100)}, // hidden for good by a trade of object 448
    {894, idle8(38454, 38457, 1, 8)},   // shown by the day's director
    {895, idle8(38450, 38453, 1, 8)},   // shown by the talk of objects 429 and 430
};

// ---- Pairs -----------------------------------------------------------------------------------

// Objects 400 and 401 mark in their VAR_B that they have spoken before; every click that passes
// the guard ends with the mark set. The first talk moves the other one to stage 1.
// clang-format off
constexpr Cell TALK_400_401[] = {
    stage(0), when(my_var_b(0)), S(46331_t), otherwise(), S(46332_t), end(),
        partner_to(1), var_b(1),
    stage(1), when(my_var_b(0)), S(46333_t), otherwise(), S(46334_t), end(), var_b(1),
    stage(2), B(400_obj, 29035_t), B(401_obj, 29036_t), B(400_obj, 29037_t),
        B(401_obj, 29038_t), B(400_obj, 29039_t), var_b(1),
    stage(3, EVERY_STAGE), var_b(1),
};
static_assert(cells_valid(TALK_400_401));
// 431 says the odd texts of the first talk and the even ones of the open-world talk.
constexpr Cell TALK_431_432[] = {
    stage(0), run(25891_t, 25900_t, bubble_of(431_obj), bubble_of(432_obj)), pair_to(1),
    stage(1), when(clicked(431_obj)), B(431_obj, 25901_t), otherwise(), B(431_obj, 25902_t), end(),
    stage(2), run(29000_t, 29007_t, bubble_of(431_obj), bubble_of(432_obj)),
};
static_assert(cells_valid(TALK_431_432));
constexpr Cell TALK_437_438[] = {
    stage(0), run(25921_t, 25930_t, bubble_of(437_obj), bubble_of(438_obj)), pair_to(1),
    stage(1), when(clicked(437_obj)), B(437_obj, 25931_t), otherwise(), B(437_obj, 25932_t), end(),
};
static_assert(cells_valid(TALK_437_438));
// clang-format on

constexpr PairTalk PAIR_400{
    .members = {{{.obj = 400,
                  .frames = {22078, 22080, 22078, 22079},
                  .idle_on = true,
                  .idle = idle8(22067, 22077, 1, 20)},
                 {.obj = 401,
                  .frames = {22093, 22092, 22094, 22094},
                  .idle_on = true,
                  .idle = idle8(22081, 22091, 1, 20)}}},
    .talk = {.far = 150, .keep_frame = false, .cells = TALK_400_401},
};
constexpr PairTalk PAIR_431{
    .members = {{{.obj = 431,
                  .frames = {22060, 22062, 22060, 22061},
                  .idle_on = true,
                  .idle = idle8(22052, 22059, 1, 20)},
                 {.obj = 432, .frames = {22066, 22064, 22065, 22064}}}},
    .talk = {.far = 250, .cells = TALK_431_432},
};
constexpr PairTalk PAIR_437{
    .members = {{{.obj = 437,
                  .frames = {22317, 22319, 22317, 22318},
                  .idle_on = true,
                  .idle = idle8(22300, 22316, 1, 20)},
                 {.obj = 438,
                  .frames = {22338, 22337, 22339, 22337},
                  .idle_on = true,
                  .idle = idle8(22320, 22336, 1, 20)}}},
    .talk = {.far = 150, .cells = TALK_437_438},
};

constexpr PairRow PAIRS[] = {
    {166, &PAIR_400, 0}, {167, &PAIR_400, 1}, {197, &PAIR_431, 0},
    {198, &PAIR_431, 1}, {203, &PAIR_437, 0}, {204, &PAIR_437, 1},
};

// ---- The walker of map 124 (object 420) ------------------------------------------------------

constexpr WayPoint WALKER_LEGS[] = {{.x = 310, .y = 330}, {.x = 220, .y = 275}};
constexpr LegWalk WALKER{.legs = WALKER_LEGS, .speed = 10, .rearm = 7};
// It keeps the frame it turned to.
constexpr TalkRow WALKER_TALK{
    .far = 450, .frames = {-21800, 21800, -21828, 21828}, .keep_frame = false, .cells = TALK_420};

// ---- The gate's pass (step zone 449) ---------------------------------------------------------

void open_gate() {
    attr_set(TOWN_A_GATE_ZONE, ATTR_BLOCK, 0);
}

// With the pass the zone opens for good; without it the guards refuse on every step and the zone
// keeps blocking.
// clang-format off
constexpr Cell GATE_PASS[] = {
    stage(0, EVERY_STAGE),
    when(has_item(ItemId(TOWN_A_GATE_PASS_ITEM))),
        hide(ObjId(TOWN_A_GATE_ZONE)),
        B(406_obj, 28085_t), P(3, 28086_t), B(406_obj, 28087_t), P(3, 28088_t),
        B(406_obj, 28089_t),
        call(open_gate),
    otherwise(),
        show_frame_of(406_obj, 21336_f), show_frame_of(407_obj, 21332_f),
        B(406_obj, 20429_t),
        show_frame_of(406_obj, 21334_f), show_frame_of(407_obj, 21330_f),
    end(),
};
static_assert(cells_valid(GATE_PASS));
// clang-format on

void gate_scene() {
    cells_run_stage(GATE_PASS, TalkContext{.self = script_self(), .turn = {}, .partner = -1});
}
constexpr StepZone GATE{.kind = ZONE_LIVE, .scene = gate_scene};

} // namespace

void object_event_0186() {
    if (script_on(TRIG_TIMER)) leg_walk(WALKER);
    if (script_on(TRIG_CLICK)) talk_run(WALKER_TALK);
}

void object_event_0850() {
    step_zone(GATE);
}

// ---- Frames ---------------------------------------------------------------------------------

void town_a_residents_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const ResidentRow& r : RESIDENTS) frames_of_resident(v, r.r);
    for (const IdleRow& r : FIGURES) frames_of_cycle(v, r.idle);
    for (const PairTalk* p : {&PAIR_400, &PAIR_431, &PAIR_437}) frames_of_pair(v, *p);
    frames_of_turn(v, WALKER_TALK.frames);
    for (const s32 f : {21330, 21332, 21334, 21336}) v(f); // the guards' poses
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr std::array<ScriptSlot, 2> OWN_SLOTS{{{186, object_event_0186}, {850, object_event_0850}}};
constexpr auto SLOTS =
    join_slots(family_slots<RESIDENTS, run_resident_row>(), family_slots<FIGURES, run_idle_row>(),
               family_slots<PAIRS, run_pair_row>(), OWN_SLOTS);
static_assert(slots_distinct(SLOTS));

// Carried by no object, so they stay empty: 176 (a talk with person 122), 205 and 207 (a bubble
// over objects 439 and 441), 208 (a talk over object 442), 852, 857, 875 (an item and the object
// hidden) and 892 (an aiming station).
constexpr SlotRange COMPLETE[] = {{166, 167}, {170, 170}, {172, 173}, {180, 180}, {183, 183},
                                  {186, 186}, {190, 191}, {193, 193}, {197, 198}, {201, 204},
                                  {206, 206}, {211, 213}, {850, 850}, {856, 856}, {860, 864},
                                  {874, 874}, {893, 895}};
} // namespace

std::span<const ScriptSlot> town_a_residents_slots() {
    return SLOTS;
}

ScriptRegion town_a_residents_region() {
    return {.owner = TOWN_A_RESIDENTS_OWNER, .slots = town_a_residents_slots, .complete = COMPLETE};
}
