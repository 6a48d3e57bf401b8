#include "scripts/home/residents.h"

#include "engine/world/object.h"
#include "engine/world/walk.h"
#include "scripts/cells.h"

#include <limits>

namespace {

using namespace cell;
using namespace route;

// Object 6 hands over to the routine resident 223 on map 40 and waits for the arrival scene's
// object 237 before the day starts.
constexpr s32 ROUTINE_PARTNER = 223;
constexpr s32 ARRIVAL_SCENE = 237;

// ---- The dining room of map 22 ---------------------------------------------------------------

// The guest at the table: the same line at every stage.
constexpr Cell DINER_TALK[] = {
    stage(0, EVERY_STAGE),
    N(1147_img, 10207_t),
};
static_assert(cells_valid(DINER_TALK));
constexpr Resident DINER{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 2498, .limit = 2513, .step = 1, .pause = 10},
    .talk = {.frames = {2514, 2514, 2515, 2514},
             .posed_slot = RESIDENTS_MEAL_POSE,
             .posed_self = 2514,
             .posed_faces = true,
             .cells = DINER_TALK},
};

// The cook shows the dish (frames 2516-2532, 200 ms each) before the meal lesson.
void cook_shows_dish() {
    frame_steps(script_self(), 2516, 1, 17, 200);
}

// The appetite lesson at the first talk during a meal.
constexpr Lesson MEAL_LESSON{.growth = 22, .exp = 200, .known_list = 22, .known_id = 0};

// clang-format off
constexpr Cell COOK_TALK[] = {
    stage(0), when(posed(SlotId(RESIDENTS_MEAL_POSE))), call(cook_shows_dish),
            run(10643_t, 10646_t, person(1038_img), PLAYER),
            run(10648_t, 10658_t, person(1038_img), PLAYER),
            teach(MEAL_LESSON), to(1),
        otherwise(), N(1038_img, 10643_t),
        end(),
    stage(1), N(1038_img, 10660_t),
};
static_assert(cells_valid(COOK_TALK));
// clang-format on
constexpr Resident COOK{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 2516, .limit = 2532, .step = 1, .pause = 10},
    .talk = {.frames = {2516, 2516, 2516, 2516},
             .posed_slot = RESIDENTS_MEAL_POSE,
             .posed_self = 2516,
             .posed_faces = true,
             .keep_frame = false,
             .cells = COOK_TALK},
};

// ---- Residents of map 10 ---------------------------------------------------------------------

// clang-format off
constexpr Cell GOSSIP_TALK[] = {
    stage(0), run(10097_t, 10101_t, PLAYER, SELF), to(1),
    stage(1), S(10098_t),
    stage(2), S(13677_t),
};
static_assert(cells_valid(GOSSIP_TALK));
// clang-format on
constexpr Resident GOSSIP{
    .idle_on = true,
    .idle = {.rearm = 15, .start = 30440, .limit = 30477, .step = 2, .pause = 500},
    .talk = {.far = 150,
             .clear = CLEAR_PLAYER,
             .frames = {30440, 30440, 30440, 30440},
             .cells = GOSSIP_TALK},
};

// The teacher of list 12: once the player knows entry 12/58 it records 12/57.
constexpr Lesson LIST12_LESSON{.known_list = 12, .known_id = 57};
// clang-format off
constexpr Cell SCHOLAR_TALK[] = {
    stage(0), album(1, S(10962_t)), S(10152_t), P(10153_t), S(10946_t), P(10947_t), S(10948_t),
        to(1),
    stage(1), album(1, S(10962_t)),
        when(knows(12, 58)), run(16269_t, 16277_t, PLAYER, SELF), teach(LIST12_LESSON), to(2),
        otherwise(), S(10152_t),
        end(),
    stage(2), album(1, S(10962_t)), S(10152_t),
};
static_assert(cells_valid(SCHOLAR_TALK));
// clang-format on
constexpr Resident SCHOLAR{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 33300, .limit = 33338, .step = 2, .pause = 50},
    .talk = {.far = 150, .frames = {-33344, 33344, -33342, 33342}, .cells = SCHOLAR_TALK},
};

// Objects 116 and 138 share one line; 138 also leads the shop-3 keeper (object 77) to its
// portrait quiz when the map-10 episode has set it up.
constexpr Cell IDLER_TALK[] = {
    stage(0),
    S(10271_t),
};
static_assert(cells_valid(IDLER_TALK));
constexpr TalkRow IDLER_ROW{
    .frames = {30354, 30354, -30352, 30352},
    .keep_frame = false,
    .end_frame = 30184,
    .end_rearm = 8,
    .cells = IDLER_TALK,
};

// clang-format off
constexpr Cell BENCH_TALK[] = {
    stage(0), S(10271_t),
    stage(1), P(3, 13572_t), S(13573_t), P(3, 13574_t), S(13575_t), P(3, 13576_t),
        obj_to(77_obj, 1), to(0),
};
static_assert(cells_valid(BENCH_TALK));
// clang-format on
constexpr Resident BENCH{
    .idle_on = true,
    .idle =
        {.rearm = 8, .start = 30362, .limit = 30391, .step = 1, .pause = 100, .pause_rand = 300},
    .talk = {.frames = {30393, 30392, 30393, 30392},
             .keep_frame = false,
             .end_frame = 30362,
             .end_rearm = 8,
             .cells = BENCH_TALK},
};

// ---- Interiors: maps 17, 25, 28 and 40 -------------------------------------------------------

// clang-format off
constexpr Cell PACER_TALK[] = {
    stage(0), run(10078_t, 10088_t, SELF, PLAYER), to(1),
    stage(1), S(10089_t),
};
static_assert(cells_valid(PACER_TALK));
// clang-format on
constexpr TalkRow PACER_ROW{.frames = {-4502, 4502, -4522, 4522}, .cells = PACER_TALK};

// clang-format off
constexpr Cell WELL_TALK[] = {
    stage(0), S(10227_t), P(10228_t), S(10229_t), to(1),
    stage(1), S(10230_t),
    stage(2), S(29174_t),
};
static_assert(cells_valid(WELL_TALK));
// clang-format on
constexpr Resident WELL{
    .idle_on = true,
    .idle = {.rearm = 5, .start = 32580, .limit = 32592, .step = 2, .pause = 5},
    .talk = {.far = 300,
             .clear = CLEAR_PLAYER,
             .frames = {-32594, 32594, -32568, 32568},
             .cells = WELL_TALK},
};

// The guest of map 28 teaches growth 23 once the rest service of map 24 (object 111) was used and
// the resident of map 40 (object 79) was talked to.
constexpr Lesson REST_LESSON{.growth = 23, .exp = 100, .known_list = 23, .known_id = 51};
// clang-format off
constexpr Cell GUEST_TALK[] = {
    stage(0), S(20011_t),
        when(var_b_of(111_obj, 1)), menu(20019_t, 20013_t),
            option(0), S(20020_t),
                when(stage_of(79_obj, 1, 1)), run(20023_t, 20026_t, PLAYER, SELF),
                    teach(REST_LESSON), to(1),
                otherwise(), P(20021_t), S(20022_t),
                end(),
            option(1), S(20016_t), P(20017_t), S(20018_t), to(2),
            end(),
        otherwise(), menu(20012_t, 20013_t),
            option(0), S(20014_t), P(20015_t),
            option(1), S(20016_t), P(20017_t), S(20018_t), to(2),
            end(),
        end(),
    stage(1), S(20030_t),
    stage(2), S(20029_t),
    stage(3), S(13612_t),
};
static_assert(cells_valid(GUEST_TALK));
// clang-format on
constexpr Resident GUEST{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 2924, .limit = 2959, .step = 2, .pause = 10},
    .talk = {.frames = {2960, 2964, 2964, 2962}, .cells = GUEST_TALK},
};

// The thing to look at on map 25: a remark over the player, from within 50 of its spot.
constexpr Cell SIGHT_TALK[] = {
    stage(0),
    remark(0_obj, 20152_t, TOO_FAR_DX, TOO_FAR_DY, 1000),
};
static_assert(cells_valid(SIGHT_TALK));
constexpr TalkRow SIGHT_ROW{
    .far = 50,
    .far_x = 435,
    .far_y = 225,
    .turn = TURN_NOBODY,
    .keep_frame = false,
    .cells = SIGHT_TALK,
};

// ---- The daily route of object 6 -------------------------------------------------------------

// clang-format off
constexpr Cell ROUTE_WALKER_TALK[] = {
    stage(1, 3), S(10347_t),
    stage(4), S(10349_t),
    stage(5, 7), S(10351_t),
    stage(8, 9), S(10355_t),
    stage(10, 15), stage(17, 21), S(10353_t),
    stage(16), S(10358_t),
};
static_assert(cells_valid(ROUTE_WALKER_TALK));
// clang-format on
constexpr TalkRow ROUTE_WALKER_ROW{
    .far = 150,
    .clear = CLEAR_PLAYER,
    .frames = {-4202, 4202, -4222, 4222},
    .cells = ROUTE_WALKER_TALK,
};

// Before the day starts (stage 0) object 6 follows the arrival scene by object 237's stage.
void route_walker_waits() {
    const s32 self = script_self();
    switch (script_stage(ARRIVAL_SCENE)) {
    case 0:
        obj_step_to(self, 294, 1692, ROUTE_SPEED);
        break;
    case 1:
        if (obj_step_to(self, 115, 1698, ROUTE_SPEED) == 1) obj_set_frame(self, 4222);
        break;
    case 2:
        obj_set_frame(self, 4222);
        break;
    default:
        break;
    }
}

// At noon object 6 leads the routine resident 223 (at its stage 21) to (771,971); when 223 is
// there both move on.
void route_walker_leads_partner() {
    if (script_stage(ROUTINE_PARTNER) != 21) return;
    if (obj_step_to(ROUTINE_PARTNER, 771, 971, ROUTE_SPEED) == 0) return;
    script_set_stage(ROUTINE_PARTNER, 22);
    script_set_stage(script_self(), 11);
}

// clang-format off
constexpr RouteStep DAY_ALWAYS[] = {
    custom(0, route_walker_waits),
    go(1, 180, 1763),
    go(2, 1164, 1307, at_frame(-4202_f), say_remark(20465_t, -35, -80, 2000)),
};
constexpr RouteStep MORNING_IDLE =
    idle_remark(idle(4, 33004_f, 33034_f), 33008_f, 20466_t, -25, -80, 2000);
constexpr RouteStep DAY_DAWN[] = {
    go(3, 2250, 700, at_frame(33004_f)),
    MORNING_IDLE,
};
constexpr RouteStep DAY_EARLY[] = {
    MORNING_IDLE,
};
constexpr RouteStep DAY_MORNING[] = {
    face(4, 4202_f),
    go(5, 2507, 267, at_frame(0_f)),
    to_map(6, 40_map, 667, 1615, 4202_f),
    stay(7, 774, 942, at_frame(-4222_f), say_remark(20469_t, -50, -80, 4000),
         obj_stage(ObjId(ROUTINE_PARTNER), 8)),
    go(8, 700, 880, obj_stage(ObjId(ROUTINE_PARTNER), 9)),
    go(9, 661, 861),
};
constexpr RouteStep DAY_NOON[] = {
    stay(10, 738, 990, act(route_walker_leads_partner)),
    go(11, 620, 1645, at_frame(0_f)),
    to_map(12, 10_map, 2465, 311, 4222_f),
    go(13, 3023, 976),
    go(14, 3546, 1213),
    go(15, 4059, 1322),
    stay(16, 5315, 1656, at_frame(4202_f)),
};
constexpr RouteStep DAY_AFTERNOON[] = {
    go(16, 5182, 1739),
    go(17, 4886, 1621),
    go(18, 4236, 1907),
    go(19, 3838, 2178),
    go(20, 4254, 2368),
    go(21, 4582, 2203, self_off()),
};
constexpr RouteWindow DAY_WINDOWS[] = {
    always(DAY_ALWAYS),
    window(6, 30, 6, 59, DAY_DAWN),
    window(7, 0, 7, 59, DAY_EARLY),
    window(8, 0, 11, 59, DAY_MORNING),
    window(12, 0, 14, 59, DAY_NOON),
    window(15, 0, 23, 59, DAY_AFTERNOON),
};

// ---- The pacing walk of object 7 (leg in ATTR_VAR_B) -----------------------------------------

constexpr RouteStep PACING_LEGS[] = {
    go(0, 321, 248, at_frame(30108_f)),
    idle(1, -4522_f, 30128_f, 2, 7, 10).next_at_wrap(),
    go(2, 272, 283, at_frame(30130_f)),
    idle(3, 4502_f, 30143_f, 2, 7, 10).next_at_wrap(),
    go(4, 340, 270, at_frame(4522_f), then_stage(0)),
};
constexpr RouteWindow PACING_WINDOWS[] = {
    always(PACING_LEGS),
};
// clang-format on

} // namespace

const Route residents_daily_route{.interval = 4, .speed = ROUTE_SPEED, .windows = DAY_WINDOWS};
const Route residents_pacing_walk{
    .interval = 10, .speed = ROUTE_SPEED, .stage_var = STAGE_VAR_B, .windows = PACING_WINDOWS};

const SegmentLoop residents_two_segment_loop{
    .rearm = 8,
    .step = 2,
    .jumps = {{30214, 30304}, {30344, 30184}},
    .rest_frame = 30342,
    .rest = 200,
};

s32 segment_loop_on(s32 obj, const SegmentLoop& loop) {
    attr_set(obj, ATTR_TIMER, loop.rearm);
    s32 frame = obj_get_frame(obj) + loop.step;
    for (const SegmentJump& j : loop.jumps) {
        if (frame != j.from) continue;
        frame = j.to;
        break;
    }
    obj_set_frame(obj, frame);
    if (frame == loop.rest_frame) attr_set(obj, ATTR_TIMER, loop.rest);
    return frame;
}

void object_event_0020() {
    resident_run(DINER);
}

void object_event_0021() {
    resident_run(COOK);
}

void object_event_0027() {
    resident_run(GOSSIP);
}

void object_event_0028() {
    if (script_on(TRIG_TIMER)) route_run(residents_daily_route);
    if (script_on(TRIG_CLICK)) talk_run(ROUTE_WALKER_ROW);
}

void object_event_0029() {
    if (script_on(TRIG_TIMER)) route_run(residents_pacing_walk);
    if (script_on(TRIG_CLICK)) talk_run(PACER_ROW);
}

void object_event_0033() {
    resident_run(SCHOLAR);
}

void object_event_0036() {
    resident_run(WELL);
}

void object_event_0042() {
    resident_run(GUEST);
}

void object_event_0043() {
    if (script_on(TRIG_CLICK)) talk_run(SIGHT_ROW);
}

void object_event_0050() {
    if (script_on(TRIG_TIMER)) segment_loop_on(script_self(), residents_two_segment_loop);
    if (script_on(TRIG_CLICK)) talk_run(IDLER_ROW);
}

void object_event_0058() {
    resident_run(BENCH);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {20, object_event_0020}, {21, object_event_0021}, {27, object_event_0027},
    {28, object_event_0028}, {29, object_event_0029}, {33, object_event_0033},
    {36, object_event_0036}, {42, object_event_0042}, {43, object_event_0043},
    {50, object_event_0050}, {58, object_event_0058},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{20, 21}, {27, 29}, {33, 33}, {36, 36},
                                  {42, 43}, {50, 50}, {58, 58}};
} // namespace

std::span<const ScriptSlot> home_residents_slots() {
    return SLOTS;
}

ScriptRegion home_residents_region() {
    return {.owner = HOME_RESIDENTS_OWNER, .slots = home_residents_slots, .complete = COMPLETE};
}
