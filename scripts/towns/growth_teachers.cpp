#include "scripts/towns/growth_teachers.h"

#include "data/hub_block.h"
#include "engine/world/object.h"
#include "game/player.h"
#include "scripts/cells.h"

namespace {
using namespace cell;

constexpr Speaker ME = player_at(3);
constexpr s32 ANY_STAGE = 1000;

// 500 to skill 23's experience and its growth, with the known entry of list 23 when given.
constexpr Lesson pay(s32 known_id = LESSON_NO_KNOWN) {
    return Lesson{.growth = GROWTH_TEACHER_SKILL,
                  .exp = 500,
                  .known_list = known_id == LESSON_NO_KNOWN ? LESSON_NO_KNOWN : 23,
                  .known_id = known_id == LESSON_NO_KNOWN ? 0 : known_id};
}

// Nobody turns: the player's boxes stay at position 3.
constexpr TalkRow talk(s32 far, std::span<const Cell> cells) {
    return TalkRow{.far = far, .turn = TURN_NOBODY, .cells = cells};
}

// ---- The lessons ------------------------------------------------------------------------------

// 421's lesson stays where it is: the player keeps its layer and shadow and ends on frame 422 at
// the training spot.
constexpr Cue LESSON_421[] = {
    cue::fade_out_of_scene(),
    cue::place(ObjId(0), 2095, 1667, 31601_f),
    cue::fade_into_scene(),
    cue::frame_steps(ObjId(0), 31601_f, 2, 21, GROWTH_LESSON_FRAME_MS),
};
static_assert(cues_valid(LESSON_421));
constexpr Cue LESSON_421_END[] = {cue::frame(ObjId(0), 422_f)};
static_assert(cues_valid(LESSON_421_END));

constexpr GrowthLesson AT_426{
    .spot_x = 1499, .spot_y = 938, .first = -2900, .prop = 439, .back_x = 1434, .back_y = 910};
constexpr GrowthLesson AT_428{
    .spot_x = 363, .spot_y = 433, .first = -2900, .prop = 441, .back_x = 293, .back_y = 391};
constexpr GrowthLesson AT_443{
    .spot_x = 2363, .spot_y = 2099, .first = 2900, .prop = 456, .back_x = 2259, .back_y = 2064};
constexpr GrowthLesson AT_1529_FIRST{
    .spot_x = 372, .spot_y = 486, .first = 2900, .prop = 1531, .back_x = 271, .back_y = 450};
constexpr GrowthLesson AT_1529_SECOND{
    .spot_x = 372, .spot_y = 486, .first = 2900, .prop = 1530, .back_x = 271, .back_y = 450};

constexpr auto START_426 = growth_lesson_start(AT_426);
constexpr auto END_426 = growth_lesson_end(AT_426);
constexpr auto START_428 = growth_lesson_start(AT_428);
constexpr auto END_428 = growth_lesson_end(AT_428);
constexpr auto START_443 = growth_lesson_start(AT_443);
constexpr auto END_443 = growth_lesson_end(AT_443);
constexpr auto START_1529_FIRST = growth_lesson_start(AT_1529_FIRST);
constexpr auto END_1529_FIRST = growth_lesson_end(AT_1529_FIRST);
constexpr auto START_1529_SECOND = growth_lesson_start(AT_1529_SECOND);
constexpr auto END_1529_SECOND = growth_lesson_end(AT_1529_SECOND);
static_assert(cues_valid(START_426) && cues_valid(START_428) && cues_valid(START_443) &&
              cues_valid(START_1529_FIRST) && cues_valid(START_1529_SECOND));

// 428's lesson also opens the after-turn event 211 of turn 151 when story flag 52 is 1 then.
constexpr s32 AFTER_TURN = 151;
constexpr s32 AFTER_TURN_SLOT = 211;
void open_after_turn() {
    hub_block.turn_events_after[AFTER_TURN] = AFTER_TURN_SLOT;
}

// clang-format off
#define LESSON_426                                                                                 \
    run(24209_t, 24212_t, SELF, ME), scene(START_426),                                             \
    run(24213_t, 24217_t, ME, SELF), P(3, 24218_t), scene(END_426)
#define TALK_426 run(24204_t, 24208_t, SELF, ME)
#define LESSON_428                                                                                 \
    run(24229_t, 24234_t, SELF, ME), scene(START_428), run(24235_t, 24236_t, SELF, ME),            \
    scene(END_428)
#define PAY_428 teach(pay(52)), when(flag_is(52_flag, 1)), call(open_after_turn), end()

// ---- 421: one lesson -------------------------------------------------------------------------
constexpr Cell TALK_421[] = {
    stage(0),
        run(24260_t, 24263_t, SELF, ME), scene(LESSON_421), run(24264_t, 24266_t, ME, SELF),
        scene(LESSON_421_END), to(1), teach(pay()),
    stage(1, ANY_STAGE), S(24224_t),
};
static_assert(cells_valid(TALK_421));

// ---- 426: a talk and a lesson by menu ----------------------------------------------------------
constexpr Cell TALK_426_CELLS[] = {
    stage(0), S(24200_t), choice_at(3, 1000_img, 24201_t, 24202_t, 24203_t),
        option(0), TALK_426, to(1),
        option(1), LESSON_426, to(2), teach(pay(53)),
        end(),
    stage(1), S(24200_t), choice_at(3, 1000_img, 24222_t, 24223_t),
        option(0), LESSON_426, to(3), teach(pay(53)),
        end(),
    stage(2), S(24200_t), choice_at(3, 1000_img, 24221_t, 24223_t),
        option(0), TALK_426, to(3),
        end(),
    stage(3, ANY_STAGE), S(24224_t),
};
static_assert(cells_valid(TALK_426_CELLS));

// ---- 428: a talk and a lesson by menu ----------------------------------------------------------
constexpr Cell TALK_428_CELLS[] = {
    stage(0), S(24225_t), choice_at(3, 1000_img, 24226_t, 24227_t, 24228_t),
        option(0), LESSON_428, to(1), PAY_428,
        option(1), S(24237_t), to(2),
        end(),
    stage(1), S(24225_t), choice_at(3, 1000_img, 24240_t, 24241_t),
        option(0), S(24237_t), to(3),
        end(),
    stage(2), S(24225_t), choice_at(3, 1000_img, 24239_t, 24241_t),
        option(0), LESSON_428, to(3), PAY_428,
        end(),
    stage(3, ANY_STAGE), S(24224_t),
};
static_assert(cells_valid(TALK_428_CELLS));

// ---- 443: one lesson, and two attributes besides ------------------------------------------------
constexpr Cell TALK_443[] = {
    stage(0),
        run(24242_t, 24247_t, SELF, ME), scene(START_443), run(24248_t, 24250_t, ME, SELF),
        scene(END_443),
        teach(pay()),
        teach({.growth = 28, .exp = 200}),
        teach({.growth = 27, .exp = 200}),
        to(1),
    stage(1, ANY_STAGE), S(24224_t),
};
static_assert(cells_valid(TALK_443));

// ---- 1529: two lessons ---------------------------------------------------------------------------
constexpr Cell TALK_1529[] = {
    stage(0),
        run_by_parity(26250_t, 26257_t, SELF, ME), scene(START_1529_FIRST),
        run(26258_t, 26260_t, ME, SELF), scene(END_1529_FIRST), to(1), teach(pay(54)),
    stage(1),
        run_by_parity(26261_t, 26267_t, ME, SELF), scene(START_1529_SECOND),
        run_by_parity(26268_t, 26274_t, ME, SELF), scene(END_1529_SECOND), to(2), teach(pay(55)),
    stage(2, ANY_STAGE), S(26275_t),
};
static_assert(cells_valid(TALK_1529));
// clang-format on
#undef LESSON_426
#undef TALK_426
#undef LESSON_428
#undef PAY_428

constexpr TalkRow ROW_421 = talk(250, TALK_421);
constexpr TalkRow ROW_426 = talk(250, TALK_426_CELLS);
constexpr TalkRow ROW_428 = talk(100, TALK_428_CELLS);
constexpr TalkRow ROW_443 = talk(100, TALK_443);
constexpr TalkRow ROW_1529 = talk(100, TALK_1529);

constexpr IdleCycle IDLE_421{.rearm = 8, .start = 21340, .limit = 21362, .step = 1, .pause = 20};

// ---- The walks ---------------------------------------------------------------------------------

constexpr WayPoint WAY_426[] = {{.x = 1459, .y = 907}, {.x = 1390, .y = 955}};
constexpr WayPoint WAY_428[] = {
    {.x = 340, .y = 284}, {.x = 444, .y = 342}, {.x = 340, .y = 284}, {.x = 283, .y = 315}};
constexpr WayPoint WAY_443[] = {{.x = 2206, .y = 2121}, {.x = 2313, .y = 2176}};
// 1529 walks out and back once; its leg 2 has no point, so it stands from then on.
constexpr WayPoint WAY_1529[] = {{.x = 333, .y = 430}, {.x = 271, .y = 422}};
constexpr s32 LEG_STANDING = 2;

constexpr LegWalk WALK_426{.legs = WAY_426};
constexpr LegWalk WALK_428{.legs = WAY_428};
constexpr LegWalk WALK_443{.legs = WAY_443};
constexpr LegWalk WALK_1529{.legs = WAY_1529, .after_last = LEG_STANDING};

void walker(const LegWalk& walk, const TalkRow& row) {
    if (script_on(TRIG_TIMER)) leg_walk(walk);
    if (script_on(TRIG_CLICK)) talk_run(row);
}

} // namespace

void object_event_0187() {
    if (script_on(TRIG_TIMER)) idle_cycle(IDLE_421);
    if (!script_on(TRIG_CLICK)) return;
    attr_set(script_self(), ATTR_LAYER, 3);
    talk_run(ROW_421);
}

void object_event_0192() {
    walker(WALK_426, ROW_426);
}

void object_event_0194() {
    walker(WALK_428, ROW_428);
}

void object_event_0209() {
    walker(WALK_443, ROW_443);
}

void object_event_0817() {
    walker(WALK_1529, ROW_1529);
}

// ---- Frames ---------------------------------------------------------------------------------

void growth_teachers_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    frames_of_cycle(v, IDLE_421);
    // The walking blocks of 426, 428 and 1529 (42600) and of 443 (5300).
    for (const s32 block : {42600, 5300})
        frames_of_cycle(v, IdleCycle{.start = block, .limit = block + 49, .step = 1});
    for (const std::span<const Cue> scene :
         {std::span<const Cue>(LESSON_421), std::span<const Cue>(LESSON_421_END),
          std::span<const Cue>(START_426), std::span<const Cue>(END_426),
          std::span<const Cue>(START_443), std::span<const Cue>(END_443)})
        cues_frames(v, scene);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {{187, object_event_0187},
                                {192, object_event_0192},
                                {194, object_event_0194},
                                {209, object_event_0209},
                                {817, object_event_0817}};
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{187, 187}, {192, 192}, {194, 194}, {209, 209}, {817, 817}};
constexpr ScheduleWrite SCHEDULE_WRITES[] = {{AFTER_TURN_SLOT, "the lesson of teacher 428"}};
} // namespace

std::span<const ScriptSlot> growth_teachers_slots() {
    return SLOTS;
}

ScriptRegion growth_teachers_region() {
    return {.owner = GROWTH_TEACHERS_OWNER,
            .slots = growth_teachers_slots,
            .complete = COMPLETE,
            .schedule_writes = SCHEDULE_WRITES};
}
