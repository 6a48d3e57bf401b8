#include "scripts/towns/city_finale.h"

#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/cues.h"
#include "scripts/episode_kit.h"

#include <span>

namespace {

using namespace cue;

constexpr ObjId ME{0};
constexpr ObjId PERFORMER{CITY_FINALE_PERFORMER};
constexpr ObjId DIRECTOR{1097};
constexpr MapId STREET{211};
constexpr MapId HALL{227};
constexpr s32 WALK_IN_PIECE = 10061;

constexpr Cue me_says(TextId t) {
    return say(2, 1000_img, t);
}
constexpr Cue host_says(s32 pos, TextId t) {
    return say(pos, 1234_img, t);
}

// From the call to the greeting in the hall.
constexpr Cue ARRIVAL[] = {
    me_says(25600_t),
    fade_out_of_scene(),
    map_change(STREET, 370, 308),
    present(),
    fade_into_scene(),
    on(PERFORMER), // shown while the player is still on map 211: first seen in the hall
    me_says(25601_t),
    fade_out_of_scene(),
    map_change(HALL, 444, 1194),
    frame(ME, 418_f),
    present(),
    fade_into_scene(),
    music(WALK_IN_PIECE, 0),
    walk(0, mover(ME, 774, 801, 15)),
    walk(0, mover(ME, 947, 710, 15)),
    turn_toward(PERFORMER),
    host_says(2, 33090_t),
    me_says(33091_t),
};
static_assert(cues_valid(ARRIVAL));

constexpr Cue ANSWER_LONG[] = {me_says(33093_t)};
constexpr Cue ANSWER_SHORT[] = {me_says(33094_t)};
constexpr Cue HOST_ASKS[] = {host_says(3, 33095_t)};
constexpr Cue SECOND_LONG[] = {me_says(33096_t), me_says(33097_t)};
static_assert(cues_valid(ANSWER_LONG) && cues_valid(ANSWER_SHORT) && cues_valid(HOST_ASKS) &&
              cues_valid(SECOND_LONG));

constexpr Cue TALK[] = {
    me_says(33098_t),      host_says(3, 33099_t), me_says(33100_t),
    pan_to(900, 0, 15),    host_says(3, 33101_t), me_says(33102_t),
    pan_to(1270, 0, 15),   host_says(3, 33103_t), pan_to(627, 510, 15),
    me_says(33104_t),      host_says(3, 33105_t), me_says(33106_t),
    host_says(3, 33107_t), me_says(33108_t),      music(CITY_FINALE_PIECE, 1),
};
static_assert(cues_valid(TALK));

constexpr Cue FAREWELL[] = {
    me_says(33111_t), host_says(3, 33112_t), me_says(33113_t), fade_out_of_scene(),
    off(PERFORMER),   fade_into_scene(),     me_says(33114_t), off(DIRECTOR),
};
static_assert(cues_valid(FAREWELL));

constexpr Cue COMPANIONS_LEAD_IN[] = {
    say(2, 1150_img, 25605_t),
    say(2, 1152_img, 25606_t),
    say(2, 1150_img, 25607_t),
};
static_assert(cues_valid(COMPANIONS_LEAD_IN));

// The performance: every 300 ms the performer's frame + 2, wrapping from above 39650 to 39630 (so
// it starts at 39630), while the piece plays; the end is tested between steps.
constexpr MusicFrames PERFORMANCE{.obj = CITY_FINALE_PERFORMER,
                                  .piece = CITY_FINALE_PIECE,
                                  .first = CITY_FINALE_FIRST_FRAME,
                                  .last = CITY_FINALE_LAST_FRAME,
                                  .step = 2,
                                  .ms = CITY_FINALE_STEP_MS};

} // namespace

void city_finale() {
    cues_run(ARRIVAL);
    const bool long_wording = player_record.attr[CITY_FINALE_GROWTH] >= CITY_FINALE_LONG_FROM;
    cues_run(long_wording ? std::span<const Cue>(ANSWER_LONG) : std::span<const Cue>(ANSWER_SHORT));
    cues_run(HOST_ASKS);
    if (long_wording) cues_run(SECOND_LONG);
    cues_run(TALK);
    music_frames(PERFORMANCE);
    cues_run(FAREWELL);
    world_state.field_active = 0;
}

void city_finale_with_companions() {
    cues_run(COMPANIONS_LEAD_IN);
    city_finale();
}

void city_finale_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    cues_frames(ARRIVAL, visit, ctx);
    for (s32 f = CITY_FINALE_FIRST_FRAME; f <= CITY_FINALE_LAST_FRAME; f += 2) visit(f, ctx);
}
