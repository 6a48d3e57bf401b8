#include "scripts/towns/city_search.h"

#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "scripts/cells.h"
#include "scripts/cues.h"

#include <array>

namespace {

using namespace cell;

constexpr ObjId GIVER{CITY_SEARCH_GIVER};
constexpr ObjId COMPANION{1080};
constexpr ObjId MEETING_POINT{CITY_SEARCH_MEETING_POINT};
constexpr ObjId LAST_PERSON{CITY_SEARCH_LAST_PERSON};
constexpr ObjId FAMILY_1077{1077};
constexpr ObjId FAMILY_1078{1078};
constexpr ObjId FAMILY_1079{1079};
constexpr ObjId ERRAND_1138{1138};

constexpr s32 WALK_SPEED = 5;
constexpr s32 COMPANION_FRAME = 45602;
// The companion's walking block (its frame's block of 50).
constexpr s32 COMPANION_WALK_FIRST = 45600;
constexpr s32 COMPANION_WALK_LAST = 45649;
// After the last find the companion stops this far below the player.
constexpr s32 COMPANION_BELOW = 30;

constexpr s32 SOUGHT[] = {1073, 1074, 1076};

constexpr IdleCycle idle10(s32 start, s32 limit, s32 step, s32 pause) {
    return {.rearm = 10, .start = start, .limit = limit, .step = step, .pause = pause};
}
constexpr TurnFrames same4(s32 f) {
    return {f, f, f, f};
}

// ---- Steps a table cannot say (they walk to where somebody stands now) ----------------------

bool any_sought_shown() {
    for (const s32 obj : SOUGHT)
        if (attr_get(obj, ATTR_ACTIVE) == 1) return true;
    return false;
}
// The player walks to the giver's place, the camera staying where it is.
void player_walks_to_giver() {
    walk1(CUE_CAMERA_STAYS, 0, attr_get(GIVER.v, ATTR_X), attr_get(GIVER.v, ATTR_Y), WALK_SPEED);
}
void companion_walks_below_player() {
    walk1(CUE_CAMERA_STAYS, COMPANION.v, attr_get(0, ATTR_X), attr_get(0, ATTR_Y) + COMPANION_BELOW,
          WALK_SPEED);
}

// The meeting point after the last find (below).
void restore_meeting_point();

// ---- The finds -------------------------------------------------------------------------------

// The companion appears at the player, both walk up to the one found, who speaks and is gone.
constexpr std::array<Cue, 8> find_scene(ObjId found, s32 px, s32 py, s32 qx, s32 qy,
                                        FrameId companion) {
    return {cue::place_at_player(COMPANION, FrameId(COMPANION_FRAME)),
            cue::on(COMPANION),
            cue::walk(CUE_CAMERA_STAYS, cue::mover(0_obj, px, py, WALK_SPEED),
                      cue::mover(COMPANION, qx, qy, WALK_SPEED)),
            cue::turn_toward(found),
            cue::show_frame(COMPANION, companion),
            cue::bubble(COMPANION, 33441_t),
            cue::bubble(found, 33442_t),
            cue::off(found)};
}
constexpr auto FIND_1073 = find_scene(1073_obj, 1704, 993, 1664, 938, 45602_f);
constexpr auto FIND_1074 = find_scene(1074_obj, 2469, 2695, 2488, 2661, 45602_f);
constexpr auto FIND_1076 = find_scene(1076_obj, 3281, 1292, 3217, 1355, -45602_f);
static_assert(cues_valid(FIND_1073) && cues_valid(FIND_1074) && cues_valid(FIND_1076));

// After every find the companion walks back into the player.
constexpr Cue COMPANION_BACK[] = {cue::walk_into_player(COMPANION, WALK_SPEED)};
// After the last one it comes out again and the giver speaks.
constexpr Cue COMPANION_OUT[] = {
    cue::on(COMPANION),          cue::call(companion_walks_below_player),
    cue::turn_toward(COMPANION), cue::frame(COMPANION, FrameId(COMPANION_FRAME)),
    cue::bubble(GIVER, 33444_t), cue::bubble(GIVER, 33446_t),
};
// The family gathers in its new place.
constexpr Cue FAMILY_GATHERS[] = {
    cue::place(FAMILY_1077, 2633, 2886, 45350_f), cue::on(FAMILY_1077),
    cue::place(FAMILY_1078, 2637, 2912, 45370_f), cue::on(FAMILY_1078),
    cue::place(GIVER, 2667, 2876, 45390_f),       cue::on(GIVER),
    cue::place(FAMILY_1079, 2674, 2905, 45410_f), cue::on(FAMILY_1079),
};

// The talk of one of the three sought, by the errand's stage: its own line before the errand,
// the find while it runs.
// clang-format off
constexpr auto sought_talk(TextId own, std::span<const Cue> find) {
    return std::array{
        stage(0, EVERY_STAGE),
        when(stage_of(GIVER, CITY_SEARCH_ASKING, CITY_SEARCH_ASKING)), S(own),
        orwhen(stage_of(GIVER, CITY_SEARCH_RUNNING, CITY_SEARCH_RUNNING)), scene(find),
            when(test(any_sought_shown)), B(COMPANION, 33443_t), end(),
            scene(COMPANION_BACK),
            when(!test(any_sought_shown)),
                scene(COMPANION_OUT), P(33447_t), give(ItemId(CITY_SEARCH_REWARD), 1),
                hide(COMPANION), scene(FAMILY_GATHERS), obj_to(GIVER, CITY_SEARCH_GATHERED),
                call(restore_meeting_point),
            end(),
        end(),
    };
}
// clang-format on
constexpr auto TALK_1073 = sought_talk(33432_t, FIND_1073);
constexpr auto TALK_1074 = sought_talk(33430_t, FIND_1074);
constexpr auto TALK_1076 = sought_talk(33431_t, FIND_1076);
static_assert(cells_valid(TALK_1073) && cells_valid(TALK_1074) && cells_valid(TALK_1076));

// ---- The giver -------------------------------------------------------------------------------

// clang-format off
// Accepted, the errand holds the meeting point at its barred stage (shown again if it was
// hidden) and the giver leaves its place.
constexpr Cell TALK_1075[] = {
    stage(CITY_SEARCH_ASKING), S(33433_t), P(33434_t), S(33435_t),
        choice(33436_t, 33437_t),
            option(0),
                when(!is_active(MEETING_POINT)), show(MEETING_POINT), end(),
                park(MEETING_POINT, CITY_SEARCH_HELD_STAGE), to(CITY_SEARCH_RUNNING),
                call(player_walks_to_giver), hide(GIVER),
        end(),
    stage(CITY_SEARCH_GATHERED, CITY_SEARCH_THANKED), S(33448_t), to(CITY_SEARCH_THANKED),
};
static_assert(cells_valid(TALK_1075));

// ---- The family ------------------------------------------------------------------------------

// Stages 6 and 7 of the errand: an exchange of 1078 and 1079 with the player. No script of the
// episode sets them; they are kept as the family's talk would play them.
constexpr Speaker EXCHANGE_VOICES[] = {bubble_of(FAMILY_1079), bubble_of(FAMILY_1078), player_at(3)};
constexpr DialogueLine EXCHANGE_LINES[] = {
    {0, 63947}, {1, 63948}, {0, 63949}, {2, 63950}, {1, 63951}, {2, 63952}, {1, 63953},
    {2, 63954}, {0, 63955}, {2, 63956}, {1, 63957}, {2, 63958}, {0, 63959},
};
constexpr Dialogue EXCHANGE{.voices = EXCHANGE_VOICES, .lines = EXCHANGE_LINES, .actions = {}};
static_assert(dialogue_valid(EXCHANGE));

// One of the family, by the errand's stage: its own line, the request that sends the player to
// map 213, and (1078 and 1079 only) the exchange.
constexpr auto family_talk(TextId own) {
    return std::array{
        stage(0, EVERY_STAGE),
        when(stage_of(GIVER, CITY_SEARCH_GATHERED, CITY_SEARCH_GATHERED)),
            S(own), obj_to(GIVER, CITY_SEARCH_THANKED),
        orwhen(stage_of(GIVER, CITY_SEARCH_THANKED, CITY_SEARCH_THANKED)), S(own),
        orwhen(stage_of(GIVER, CITY_SEARCH_REQUEST, CITY_SEARCH_REQUEST)),
            B(FAMILY_1077, 33455_t), P(33456_t), B(FAMILY_1078, 33457_t), B(FAMILY_1079, 33458_t),
            B(FAMILY_1077, 33459_t), P(33460_t), B(FAMILY_1078, 33461_t), B(FAMILY_1079, 33462_t),
            obj_to(GIVER, CITY_SEARCH_SENT), show(LAST_PERSON),
        orwhen(stage_of(GIVER, CITY_SEARCH_SENT, CITY_SEARCH_SENT)), S(33463_t),
        orwhen(stage_of(GIVER, 6, 6)),
            when(!clicked(FAMILY_1077)),
                dialogue(&EXCHANGE), obj_to(FAMILY_1079, 7), obj_to(FAMILY_1078, 7),
                when(stage_of(ERRAND_1138, 1, 1)), obj_to(ERRAND_1138, 2), end(),
            end(),
        orwhen(stage_of(GIVER, 7, 7)),
            when(!clicked(FAMILY_1077)), S(63960_t), end(),
        end(),
    };
}
constexpr auto TALK_1077 = family_talk(33449_t);
constexpr auto TALK_1078 = family_talk(33450_t);
constexpr auto TALK_1079 = family_talk(33451_t);
static_assert(cells_valid(TALK_1077) && cells_valid(TALK_1078) && cells_valid(TALK_1079));

// ---- The person on map 213 -------------------------------------------------------------------

// Only the player turns; the person keeps its frame. Its talk brings the giver back.
constexpr Cell TALK_1141[] = {
    stage(0, EVERY_STAGE),
        P(1, 33464_t), P(1, 33465_t), S(33466_t), S(33467_t), P(1, 33468_t), S(33469_t),
        hide(LAST_PERSON), obj_to(GIVER, CITY_SEARCH_THANKED), show(GIVER),
        to(CITY_SEARCH_LAST_PERSON_DONE),
};
static_assert(cells_valid(TALK_1141));
// clang-format on

// ---- Rows ------------------------------------------------------------------------------------

constexpr Resident resident(IdleCycle idle, s32 far, s32 turn_frame, std::span<const Cell> cells) {
    return {.idle_on = true,
            .idle = idle,
            .talk = {.far = far, .frames = same4(turn_frame), .cells = cells}};
}

constexpr ResidentRow ROWS[] = {
    {662, resident(idle10(45550, 45565, 1, 20), 200, 45565, TALK_1073)},
    {663, resident(idle10(45525, 45546, 1, 20), 200, 45544, TALK_1074)},
    {664, resident(idle10(45390, 45404, 2, 20), 100, 45390, TALK_1075)},
    {665, resident(idle10(45500, 45524, 1, 20), 300, 45520, TALK_1076)},
    {666, resident(idle10(45350, 45364, 2, 20), 300, 45350, TALK_1077)},
    {667, resident(idle10(45370, 45384, 2, 20), 300, 45370, TALK_1078)},
    {668, resident(idle10(45410, 45424, 2, 20), 300, 45410, TALK_1079)},
    {720,
     {.idle_on = true,
      .idle = idle10(39100, 39114, 2, 10),
      .talk = {.far = 300,
               .turn = TURN_PLAYER_ONLY,
               .fixed = {.pos = 1, .other = 2},
               .cells = TALK_1141}}},
};

// The meeting point after the last find, from the stage kept in its ATTR_VAR_B: what its stage
// becomes and whether it is hidden. A kept stage of 1 to 3 has no row: the point stays at the
// barred stage, as the errand left it.
struct MeetingRestore {
    s32 kept = 0;
    s32 stage = 0;
    bool hide = false;
};
constexpr MeetingRestore MEETING_RESTORES[] = {
    {.kept = 0, .stage = 0, .hide = false},
    {.kept = 4, .stage = 4, .hide = true},
    {.kept = 5, .stage = 5, .hide = true},
};

// The kit's `stage_unpark` gives every kept stage back; this restore keeps some of them at the
// barred stage and hides the point with others, so it is a table of its own.
void restore_meeting_point() {
    const s32 kept = attr_get(MEETING_POINT.v, ATTR_VAR_B);
    for (const MeetingRestore& r : MEETING_RESTORES) {
        if (r.kept != kept) continue;
        if (r.hide) attr_set(MEETING_POINT.v, ATTR_ACTIVE, 0);
        attr_set(MEETING_POINT.v, ATTR_VAR_A, r.stage);
        return;
    }
}

} // namespace

// ---- Frames ---------------------------------------------------------------------------------

void city_search_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const ResidentRow& r : ROWS) {
        frames_of_cycle(v, r.r.idle);
        if (r.r.talk.turn == TURN_BOTH) frames_of_turn(v, r.r.talk.frames);
    }
    for (const auto& find : {std::span<const Cue>(FIND_1073), std::span<const Cue>(FIND_1074),
                             std::span<const Cue>(FIND_1076)})
        cues_frames(v, find);
    cues_frames(v, COMPANION_OUT);
    cues_frames(v, FAMILY_GATHERS);
    for (s32 f = COMPANION_WALK_FIRST; f <= COMPANION_WALK_LAST; ++f) v(f);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr auto SLOTS = family_slots<ROWS, run_resident_row>();
static_assert(slots_distinct(SLOTS));

// Every slot of these ranges is carried by an object of the city or of map 213.
constexpr SlotRange COMPLETE[] = {{662, 668}, {720, 720}};
} // namespace

std::span<const ScriptSlot> city_search_slots() {
    return SLOTS;
}

ScriptRegion city_search_region() {
    return {.owner = CITY_SEARCH_OWNER, .slots = city_search_slots, .complete = COMPLETE};
}
