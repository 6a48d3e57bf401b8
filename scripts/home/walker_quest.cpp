#include "scripts/home/walker_quest.h"

#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/walk.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/routes.h"
#include "scripts/script_ids.h"

namespace {

using namespace cell;

constexpr FlagId QUEST{WALKER_QUEST_FLAG};
constexpr ItemId QUEST_ITEM{WALKER_QUEST_ITEM};

// ---- The walker's beat -----------------------------------------------------------------------

// The beat is a route on ATTR_VAR_B: a walk to each end showing the arrival frame there, and the
// idle loop at that end from the arrival frame in steps of 2 up to 2894, then the standing frame
// 4252 and a pause of 100 frames before the next walk; the remark at frame 2868. The walks re-arm
// every 7 frames and the idle loop re-arms itself, so a beat without a step leaves the walker
// standing with its timer off.
namespace beat {
using namespace route;

constexpr s32 REARM = 7;
constexpr s32 SPEED = 10;
constexpr FrameId ARRIVE = 2864_f;
constexpr RouteStep IDLE =
    idle_remark(idle(0, 4252_f, 2894_f, 2, REARM, 100), 2868_f, 10035_t, -80, -100, 3500);
constexpr RouteStep at_end(s32 k, s32 next) {
    RouteStep s = IDLE.next_at_wrap();
    s.stage = k;
    s.actions = {then_stage(next)};
    return s;
}

constexpr RouteStep STEPS[] = {
    go(BEAT_WALK_WEST, 2208, 1204, at_frame(ARRIVE)).rearm(REARM),
    at_end(BEAT_IDLE_WEST, BEAT_WALK_EAST),
    go(BEAT_WALK_EAST, 2318, 1291, at_frame(ARRIVE)).rearm(REARM),
    at_end(BEAT_IDLE_EAST, BEAT_WALK_WEST),
};
constexpr RouteWindow WINDOWS[] = {always(STEPS)};
constexpr Route ROUTE{
    .interval = ROUTE_NO_REARM, .speed = SPEED, .stage_var = STAGE_VAR_B, .windows = WINDOWS};
} // namespace beat

// ---- Talks -----------------------------------------------------------------------------------

// clang-format off
constexpr Cell WALKER_TALK[] = {
    stage(0), album(1, S(10964_t)), S(10150_t),
    stage(1), S(10236_t),
    stage(2),
        when(flag_is(QUEST, QUEST_ROUTINE_SECOND)), P(16349_t), S(16350_t),
            set_flag(QUEST, QUEST_CLOSED), chivalry(3),
        orwhen(flag_is(QUEST, QUEST_ROUTINE_FIRST)), P(16351_t), S(16352_t),
        orwhen(has_item(QUEST_ITEM)), run(16312_t, 16329_t, PLAYER, SELF), take(QUEST_ITEM, 1),
            chivalry(2), set_flag(QUEST, QUEST_ITEM_HANDED),
        otherwise(), album(1, S(10964_t)), S(10264_t),
        end(),
};
static_assert(cells_valid(WALKER_TALK));
constexpr Cell GIVER_TALK[] = {
    stage(0), S(10231_t), to(1),
    stage(1),
        when(flag_is(QUEST, QUEST_BATH_TAKEN)), run(16300_t, 16303_t, PLAYER, SELF),
            choice(16305_t, 16306_t),
            option(0), run(16307_t, 16311_t, PLAYER, SELF), set_flag(QUEST, QUEST_ITEM_RECEIVED),
                give(QUEST_ITEM, 1),
            option(1), P(16353_t), S(16354_t), set_flag(QUEST, QUEST_CLOSED), chivalry(-2),
            end(),
        otherwise(), S(10232_t),
        end(),
    stage(2, 3), S(10231_t),
};
static_assert(cells_valid(GIVER_TALK));
// clang-format on

constexpr TalkRow WALKER_ROW{
    .far = 150,
    .frames = {-4252, 4252, -4272, 4272},
    .cells = WALKER_TALK,
};
constexpr Resident GIVER{
    .idle_on = true,
    .idle = {.rearm = 15, .start = 31537, .limit = 31571, .step = 2, .pause = 20},
    .talk = {.frames = {31575, 31575, 31573, 31537}, .cells = GIVER_TALK},
};

} // namespace

s32 walker_quest() {
    return player_record.story_flags[WALKER_QUEST_FLAG];
}

void walker_quest_bath_taken() {
    if (walker_quest() == QUEST_NOT_STARTED)
        player_record.story_flags[WALKER_QUEST_FLAG] = QUEST_BATH_TAKEN;
}

void object_event_0010() {
    if (script_on(TRIG_TIMER)) route_run(beat::ROUTE);
    if (script_on(TRIG_CLICK)) talk_run(WALKER_ROW);
}

void object_event_0037() {
    resident_run(GIVER);
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {10, object_event_0010},
    {37, object_event_0037},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{10, 10}, {37, 37}};
} // namespace

std::span<const ScriptSlot> home_walker_slots() {
    return SLOTS;
}

ScriptRegion home_walker_region() {
    return {.owner = HOME_WALKER_OWNER, .slots = home_walker_slots, .complete = COMPLETE};
}
