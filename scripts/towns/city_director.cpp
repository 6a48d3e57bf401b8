#include "scripts/towns/city_director.h"

#include "engine/dialog.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/cues.h"
#include "scripts/towns/city_finale.h"

#include <algorithm>
#include <span>

namespace {

using namespace cue;

constexpr s32 CAVE_MAPS[] = {98, 99, 160, 161, 162, 165, 172};

constexpr ObjId ERRAND_GIVER{1075}; // the giver of the search errand
constexpr s32 ERRAND_LAST_PERSON = 1141;
constexpr s32 ERRAND_LAST_DONE = 50; // the last person's stage once the errand is over
constexpr s32 CAVE_EXIT = 1142;
constexpr s32 ERRAND_GIVER_GONE = 4;

// Day 2 of a month: the quiz-giver comes out, the talking pair leaves, two residents come out and
// two more move to their second talk. Played on every director frame of that day.
constexpr Cue DAY_TWO[] = {
    on(ObjId(1068)), off(ObjId(1104)),      off(ObjId(1105)),      on(ObjId(1109)),
    on(ObjId(1110)), stage(ObjId(1108), 1), stage(ObjId(1107), 1),
};
static_assert(cues_valid(DAY_TWO));

void close_episode() {
    attr_set(ERRAND_GIVER.v, ATTR_ACTIVE, 0);
    world_state.minute = 1; // the close cannot start twice in one minute
    const bool met_group = player_record.story_flags[CITY_MET_GROUP_FLAG] == 1;
    scene_render();
    if (player_record.story_flags[CITY_TRIALS_FLAG] == 1) {
        // The opening line by whether the player met the group of map 213, then the finale.
        ::say(2, 1150, met_group ? 14497 : 14496);
        ::say(1, 1000, 25604);
        city_finale_with_companions();
        return;
    }
    ::say(0, 1000, met_group ? 14499 : 14498);
    end_episode(END_NO_FLAG, 0);
    attr_set(CITY_DIRECTOR_OBJ, ATTR_ACTIVE, 0);
    // The keepers parked by the delivery errand (1011, 1012, 1020, 1032, 1057, 1091 at stage 60,
    // and 1019, 1030, 1031, 1034, 1035, 1037, 1038) are not restored here: the episode's close
    // never gave them back their stages, so they keep them in the saved game.
}

} // namespace

bool city_clock_stops_on(s32 map) {
    return std::find(std::begin(CAVE_MAPS), std::end(CAVE_MAPS), map) != std::end(CAVE_MAPS);
}

void object_event_0685() {
    if (!script_on(TRIG_TIMER)) return;
    attr_set(CITY_FIRST_DAY_DIRECTOR, ATTR_ACTIVE, 0);
    const s32 rate = city_clock_stops_on(attr_get(0, ATTR_MAP)) ? 0 : CITY_CLOCK_RATE;
    world_state.frames_per_minute = u16(rate);
    player_record.clock_rate_copy = rate;
    attr_set(script_self(), ATTR_TIMER, 1);
    minute_upkeep();

    const s32 hour = world_state.hour;
    const bool present = (hour >= 6 && hour <= 10) || hour >= CITY_CLOSE_HOUR;
    attr_set(CITY_PART_TIME_RESIDENT, ATTR_ACTIVE, present ? 1 : 0);

    if (world_state.day == 2) cues_run(DAY_TWO);
    // Kept as it reads: nothing hides the cave exit during the episode, so this is not reached.
    if (world_state.day == 2 && attr_get(CAVE_EXIT, ATTR_ACTIVE) == 0 &&
        script_stage(ERRAND_LAST_PERSON) != ERRAND_LAST_DONE) {
        attr_set(ERRAND_GIVER.v, ATTR_ACTIVE, 0);
        script_set_stage(ERRAND_GIVER.v, ERRAND_GIVER_GONE);
    }

    if (world_state.hour >= CITY_CLOSE_HOUR && world_state.minute == 0) close_episode();
}

namespace {
constexpr ScriptSlot SLOTS[] = {{685, object_event_0685}};
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{685, 685}};
} // namespace

std::span<const ScriptSlot> city_director_slots() {
    return SLOTS;
}

ScriptRegion city_director_region() {
    return {.owner = CITY_DIRECTOR_OWNER, .slots = city_director_slots, .complete = COMPLETE};
}
