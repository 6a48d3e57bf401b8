#include "scripts/home/walker_quest.h"

#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/walk.h"
#include "game/player.h"
#include "scripts/cells.h"

namespace {

using namespace cell;

constexpr FlagId QUEST{WALKER_QUEST_FLAG};
constexpr ItemId QUEST_ITEM{WALKER_QUEST_ITEM};

// ---- The walker's beat -----------------------------------------------------------------------

// One beat: a walk to (x, y) that shows `arrive_frame` there, or the idle loop; then `next`.
struct Beat {
    bool walk;
    s32 x, y;
    s32 next;
};
constexpr Beat BEAT_TABLE[BEATS] = {
    {true, 2208, 1204, BEAT_IDLE_WEST},
    {false, 0, 0, BEAT_WALK_EAST},
    {true, 2318, 1291, BEAT_IDLE_EAST},
    {false, 0, 0, BEAT_WALK_WEST},
};
constexpr s32 WALKER_REARM = 7;
constexpr s32 WALKER_SPEED = 10;
constexpr s32 WALKER_ARRIVE_FRAME = 2864;
// The idle loop at each end: from the arrival frame in steps of 2 up to 2894, then the standing
// frame 4252 and a pause of 100 frames before the next walk; the remark at frame 2868.
constexpr IdleCycle WALKER_IDLE{
    .rearm = WALKER_REARM,
    .start = 4252,
    .limit = 2894,
    .step = 2,
    .pause = 100,
    .remark_frame = 2868,
    .remark_text = 10035,
    .remark_dx = -80,
    .remark_dy = -100,
    .remark_ms = 3500,
};

void walker_beat() {
    const s32 self = script_self();
    const s32 beat = attr_get(self, ATTR_VAR_B);
    if (beat < 0 || beat >= BEATS) return; // any other value does nothing
    const Beat& b = BEAT_TABLE[beat];
    if (b.walk) {
        attr_set(self, ATTR_TIMER, WALKER_REARM);
        if (obj_step_to(self, b.x, b.y, WALKER_SPEED) == 0) return;
        obj_set_frame(self, WALKER_ARRIVE_FRAME);
        attr_set(self, ATTR_VAR_B, b.next);
        return;
    }
    bool wrapped = false;
    idle_cycle_on(self, WALKER_IDLE, &wrapped);
    if (wrapped) attr_set(self, ATTR_VAR_B, b.next);
}

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
    if (script_on(TRIG_TIMER)) walker_beat();
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
} // namespace

std::span<const ScriptSlot> home_walker_slots() {
    return SLOTS;
}

void home_walker_register() {
    scripts_install(SLOTS, HOME_WALKER_OWNER);
}
