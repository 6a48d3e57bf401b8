#include "scripts/home/east_map10.h"

#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/zones.h"

#include <limits>

namespace {

using namespace cell;

constexpr s32 TALK_FAR = 300;
constexpr s32 SCENE_CURSOR = 2;

constexpr Cue CURSOR_BUSY[] = {cue::cursor(SCENE_CURSOR)};
static_assert(cues_valid(CURSOR_BUSY));
constexpr Cue CURSOR_BACK[] = {cue::cursor(MENU_CURSOR)};
static_assert(cues_valid(CURSOR_BACK));

// ---- The group of four of map 10 -------------------------------------------------------------

// Whoever of the four is clicked first plays the whole talk of the group and moves all four on;
// afterwards each says its own line in its own box.
// clang-format off
constexpr Cell GROUP_TALK[] = {
    stage(0), unlabel(191_obj), unlabel(192_obj), unlabel(193_obj), unlabel(194_obj),
        unlabel(0_obj), scene(CURSOR_BUSY),
        P(20321_t), N(1109_img, 20322_t), P(20323_t), N(1124_img, 20324_t), P(20325_t),
        N(1177_img, 20326_t), P(20327_t), N(1092_img, 20328_t), P(20329_t), B(192_obj, 20330_t),
        obj_to(191_obj, 1), obj_to(192_obj, 1), obj_to(193_obj, 1), obj_to(194_obj, 1),
        scene(CURSOR_BACK),
    stage(1),
        when(clicked(191_obj)), N(1092_img, 20328_t),
        orwhen(clicked(192_obj)), N(1177_img, 20326_t),
        orwhen(clicked(193_obj)), N(1124_img, 20324_t),
        otherwise(), N(1109_img, 20322_t),
        end(),
};
// clang-format on
static_assert(cells_valid(GROUP_TALK));

// A member of the group: its idle loop with its remark, a second remark at another frame of the
// loop (0: none), and its click part with the frames of its later turns. At stage 0 the member
// keeps the frame it shows while the player turns to it.
struct GroupMember {
    IdleCycle idle;
    s32 late_frame = 0;
    s32 late_text = 0, late_dx = 0, late_dy = 0, late_ms = 0;
    TalkRow talk;
};
constexpr s32 GROUP_REARM = 10;
constexpr s32 GROUP_REMARK_MS = 2000;
constexpr GroupMember GROUP[] = {
    {.idle = {.rearm = GROUP_REARM,
              .start = 32080,
              .limit = 32108,
              .step = 2,
              .pause = 10,
              .remark_frame = 32082,
              .remark_text = 20304,
              .remark_dx = -30,
              .remark_dy = -113,
              .remark_ms = GROUP_REMARK_MS},
     .late_frame = 32102,
     .late_text = 20307,
     .late_dx = -30,
     .late_dy = -113,
     .late_ms = GROUP_REMARK_MS,
     .talk = {.far = GROUP_NEAR, .frames = {-32110, 32110, 32080, -32080}, .cells = GROUP_TALK}},
    {.idle = {.rearm = GROUP_REARM,
              .start = 32112,
              .limit = 32140,
              .step = 2,
              .pause = 10,
              .remark_frame = 32122,
              .remark_text = 20305,
              .remark_dx = -125,
              .remark_dy = -120,
              .remark_ms = GROUP_REMARK_MS},
     .late_frame = 32136,
     .late_text = 20308,
     .late_dx = -120,
     .late_dy = -120,
     .late_ms = GROUP_REMARK_MS,
     .talk = {.far = GROUP_WIDE, .frames = {-32142, 32142, 32112, -32112}, .cells = GROUP_TALK}},
    {.idle = {.rearm = GROUP_REARM,
              .start = 32200,
              .limit = 32242,
              .step = 2,
              .pause = 10,
              .remark_frame = 32220,
              .remark_text = 20309,
              .remark_dx = -185,
              .remark_dy = -110,
              .remark_ms = GROUP_REMARK_MS},
     .talk = {.far = GROUP_WIDE, .frames = {-32244, 32244, -32200, 32200}, .cells = GROUP_TALK}},
    {.idle = {.rearm = GROUP_REARM,
              .start = 32144,
              .limit = 32184,
              .step = 2,
              .pause = 10,
              .remark_frame = 32176,
              .remark_text = 20306,
              .remark_dx = -225,
              .remark_dy = -88,
              .remark_ms = GROUP_REMARK_MS},
     .talk = {.far = GROUP_NEAR, .frames = {-32186, 32186, -32144, 32144}, .cells = GROUP_TALK}},
};

void group_run(const GroupMember& m) {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) {
        const s32 frame = idle_cycle(m.idle);
        if (m.late_frame != 0 && frame == m.late_frame &&
            attr_get(self, ATTR_MAP) == world_state.current_map)
            label_add(self, m.late_text, m.late_dx, m.late_dy, m.late_ms);
    }
    if (!script_on(TRIG_CLICK)) return;
    TalkRow row = m.talk;
    if (script_stage(self) == 0) {
        const s32 frame = obj_get_frame(self);
        row.frames = {frame, frame, frame, frame};
    }
    talk_run(row);
}

// ---- The pair of map 10 ----------------------------------------------------------------------

// The pair's talk: the clicked one opens it, then the other turns to the player and the two take
// turns; the player's boxes after that turn stand where the other's turn puts them.
void pair_partner_turns();
// clang-format off
constexpr Cell PAIR_TALK[] = {
    stage(0), unlabel(205_obj), unlabel(206_obj), S(20364_t), P(20365_t), S(20366_t),
        call(pair_partner_turns),
    stage(1), unlabel(205_obj), unlabel(206_obj),
        when(clicked(205_obj)), S(20373_t), otherwise(), S(20374_t), end(),
};
// clang-format on
static_assert(cells_valid(PAIR_TALK));

// The lines after the other has turned, shared by both: voice 0 is the clicked one, 1 the
// player, 2 the other.
constexpr DialogueLine PAIR_LINES[] = {{2, 20367}, {1, 20368}, {0, 20369},
                                       {2, 20370}, {0, 20371}, {2, 20372}};
constexpr Speaker VOICES_FROM_A[] = {SELF, PLAYER, bubble_of(206_obj)};
constexpr Speaker VOICES_FROM_B[] = {SELF, PLAYER, bubble_of(205_obj)};
constexpr Dialogue PAIR_FROM_A{.voices = VOICES_FROM_A, .lines = PAIR_LINES};
constexpr Dialogue PAIR_FROM_B{.voices = VOICES_FROM_B, .lines = PAIR_LINES};
static_assert(dialogue_valid(PAIR_FROM_A) && dialogue_valid(PAIR_FROM_B));
constexpr Cell PAIR_CLOSE[] = {
    when(clicked(205_obj)),
    dialogue(&PAIR_FROM_A),
    otherwise(),
    dialogue(&PAIR_FROM_B),
    end(),
    pair_to(1),
};
static_assert(cells_valid(PAIR_CLOSE));

constexpr s32 PAIR_REARM = 8;
constexpr PairTalk PAIR{
    .members = {PairMember{.obj = PAIR_EAST_A,
                           .frames = {-32600, 32600, -32628, 32628},
                           .idle_on = true,
                           .idle = {.rearm = PAIR_REARM,
                                    .start = 32600,
                                    .limit = 32626,
                                    .step = 2,
                                    .pause = 8,
                                    .remark_frame = 32602,
                                    .remark_text = 20375,
                                    .remark_dx = -80,
                                    .remark_dy = -110,
                                    .remark_ms = 3000}},
                PairMember{.obj = PAIR_EAST_B,
                           .frames = {32656, -32656, -32658, 32658},
                           .idle_on = true,
                           .idle = {.rearm = PAIR_REARM,
                                    .start = 32630,
                                    .limit = 32656,
                                    .step = 2,
                                    .pause = 8,
                                    .remark_frame = 32644,
                                    .remark_text = 20376,
                                    .remark_dx = -55,
                                    .remark_dy = -110,
                                    .remark_ms = 3000}}},
    .talk = {.far = PAIR_EAST_FAR, .clear = CLEAR_PLAYER, .cells = PAIR_TALK},
};

void pair_partner_turns() {
    const s32 self = script_self();
    const PairMember& other = PAIR.members[self == PAIR_EAST_A ? 1 : 0];
    const s32 kept = frame_keep(other.obj);
    const TalkTurn turn = face_player(other.obj, other.frames);
    cells_run(PAIR_CLOSE, TalkContext{.self = self, .turn = turn, .partner = other.obj});
    frame_restore(other.obj, kept);
}

// ---- Single residents ------------------------------------------------------------------------

constexpr Cell SAYS_10497[] = {stage(0, EVERY_STAGE), S(10497_t)};
static_assert(cells_valid(SAYS_10497));
constexpr Cell MAP51_FIRST_TALK[] = {stage(0, EVERY_STAGE), N(1014_img, 10748_t)};
static_assert(cells_valid(MAP51_FIRST_TALK));
constexpr Cell SAYS_10748[] = {stage(0, EVERY_STAGE), S(10748_t)};
static_assert(cells_valid(SAYS_10748));
constexpr Cell SAYS_20390[] = {stage(0, EVERY_STAGE), S(20390_t)};
static_assert(cells_valid(SAYS_20390));
constexpr Cell SAYS_20389[] = {stage(0, EVERY_STAGE), S(20389_t)};
static_assert(cells_valid(SAYS_20389));
constexpr Cell SAYS_20386[] = {stage(0, EVERY_STAGE), S(20386_t)};
static_assert(cells_valid(SAYS_20386));

// Resident 198 shows its frame from before the turn again before it speaks.
s32 reader_frame = 0;
void reader_frame_back() {
    obj_set_frame(script_self(), reader_frame);
}
// clang-format off
constexpr Cell READER_TALK[] = {
    stage(0), call(reader_frame_back), P(10749_t), S(10750_t), to(1),
    stage(1), call(reader_frame_back), S(10750_t),
};
// clang-format on
static_assert(cells_valid(READER_TALK));

constexpr Resident STROLLER{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 32246, .limit = 32292, .step = 2, .pause = 10},
    .talk = {.far = TALK_FAR,
             .clear = CLEAR_PLAYER,
             .frames = {-6002, 6002, -6022, 6022},
             .cells = SAYS_10497}};
constexpr Resident MAP51_LEFT{
    .idle_on = true,
    .idle = {.rearm = 12, .start = 32304, .limit = 32340, .step = 2, .pause = 10},
    .talk = {.far = TALK_FAR,
             .clear = CLEAR_PLAYER,
             .frames = {-32342, 32342, 32340, -32340},
             .cells = MAP51_FIRST_TALK}};
constexpr Resident MAP51_RIGHT{
    .idle_on = true,
    .idle = {.rearm = 15, .start = 32344, .limit = 32370, .step = 2, .pause = 10},
    .talk = {.far = TALK_FAR,
             .clear = CLEAR_PLAYER,
             .frames = {32370, -32370, -32372, 32372},
             .cells = SAYS_10748}};
constexpr Resident READER{
    .idle_on = true,
    .idle = {.rearm = 20, .start = 32378, .limit = 32408, .step = 2, .pause = 150},
    .talk = {.far = TALK_FAR,
             .clear = CLEAR_PLAYER,
             .frames = {-32374, 32374, -32410, 32410},
             .cells = READER_TALK}};
constexpr Resident SPEAKER_202{.idle_on = true,
                               .idle = {.rearm = 10,
                                        .start = 32450,
                                        .limit = 32486,
                                        .step = 2,
                                        .pause = 60,
                                        .remark_frame = 32454,
                                        .remark_text = 20362,
                                        .remark_dx = -70,
                                        .remark_dy = -90,
                                        .remark_ms = 4000},
                               .talk = {.far = TALK_FAR,
                                        .clear = CLEAR_BOTH,
                                        .frames = {-32450, 32450, -32488, 32488},
                                        .keep_frame = false,
                                        .end_frame = 32450,
                                        .cells = SAYS_20390}};
constexpr Resident SPEAKER_203{.idle_on = true,
                               .idle = {.rearm = 10,
                                        .start = 32500,
                                        .limit = 32528,
                                        .step = 2,
                                        .pause = 30,
                                        .remark_frame = 32506,
                                        .remark_text = 20363,
                                        .remark_dx = -20,
                                        .remark_dy = -95,
                                        .remark_ms = 3500},
                               .talk = {.far = TALK_FAR,
                                        .clear = CLEAR_BOTH,
                                        .frames = {-32500, 32500, -32530, 32530},
                                        .cells = SAYS_20389}};
constexpr Resident SPEAKER_216{.idle_on = true,
                               .idle = {.rearm = 10,
                                        .start = 32718,
                                        .limit = 32758,
                                        .step = 2,
                                        .pause = 10,
                                        .remark_frame = 32722,
                                        .remark_text = 20385,
                                        .remark_dx = -35,
                                        .remark_dy = -100,
                                        .remark_ms = 2000},
                               .talk = {.far = TALK_FAR,
                                        .clear = CLEAR_BOTH,
                                        .frames = {-32760, 32760, -32762, 32762},
                                        .cells = SAYS_20386}};

// ---- The group's scene (step area 201) -------------------------------------------------------

constexpr s32 SCENE_PAN_SPEED = 5;
constexpr s32 SCENE_FRAME_MS = 200;
constexpr s32 SCENE_REMARK_MS = 500;

// clang-format off
constexpr Cue GROUP_SCENE[] = {
    cue::cursor(SCENE_CURSOR),
    cue::unlabel(191_obj), cue::unlabel(192_obj), cue::unlabel(193_obj), cue::unlabel(194_obj),
    cue::unlabel(0_obj),
    cue::turn_toward_point(2402, 550),
    cue::pan_to(2050, 250, SCENE_PAN_SPEED),
    cue::frames(191_obj, 32080_f, 32090_f, 2, SCENE_FRAME_MS), cue::say(3, 1092_img, 20310_t),
    cue::frames(192_obj, 32124_f, 32134_f, 2, SCENE_FRAME_MS), cue::say(1, 1177_img, 20311_t),
    cue::frames(194_obj, 32174_f, 32184_f, 2, SCENE_FRAME_MS), cue::say(2, 1109_img, 20312_t),
    cue::frames(191_obj, 32088_f, 32102_f, 2, SCENE_FRAME_MS), cue::say(3, 1092_img, 20313_t),
    cue::frames(192_obj, 32112_f, 32126_f, 2, SCENE_FRAME_MS), cue::say(1, 1177_img, 20314_t),
    cue::frames(193_obj, 32200_f, 32212_f, 2, SCENE_FRAME_MS), cue::say(0, 1124_img, 20315_t),
    cue::label(191_obj, 20316_t, -30, -113, SCENE_REMARK_MS),
    cue::label(192_obj, 20317_t, -80, -120, SCENE_REMARK_MS),
    cue::label(193_obj, 20318_t, -100, -110, SCENE_REMARK_MS),
    cue::label(194_obj, 20319_t, -120, -100, SCENE_REMARK_MS),
    cue::pan_home(SCENE_PAN_SPEED),
    cue::on_top(0_obj, false),
    cue::attr(0_obj, ATTR_CLICK, 1),
    cue::cursor(MENU_CURSOR),
};
// clang-format on
static_assert(cues_valid(GROUP_SCENE));

void group_scene_played() {
    player_record.story_flags[GROUP_SCENE_FLAG] = 1;
}
constexpr StepZone GROUP_ZONE{.kind = ZONE_ONCE, .cues = GROUP_SCENE, .scene = group_scene_played};

// ---- The crowd's scene (step area 215) -------------------------------------------------------

constexpr s32 CROWD_SPEED = 8;

// clang-format off
constexpr Cue CROWD_SCENE[] = {
    cue::cursor(SCENE_CURSOR),
    cue::show_frame(0_obj, -424_f),
    cue::pan_to(3755, 1600, SCENE_PAN_SPEED),
    cue::say(3, 1089_img, 20377_t),
    cue::frames(214_obj, 32708_f, 32716_f, 2, SCENE_FRAME_MS), cue::bubble(214_obj, 20378_t),
    cue::frames(213_obj, 32694_f, 32706_f, 2, SCENE_FRAME_MS), cue::say(0, 1037_img, 20379_t),
    cue::frames(207_obj, 32660_f, 32664_f, 2, SCENE_FRAME_MS), cue::say(3, 1089_img, 20380_t),
    cue::frames(207_obj, 32666_f, 32672_f, 2, SCENE_FRAME_MS), cue::say(3, 1089_img, 20381_t),
    cue::frames(207_obj, 32674_f, 32678_f, 2, SCENE_FRAME_MS), cue::show_frame(207_obj, 4900_f),
    cue::walk(CUE_CAMERA_STAYS,
              cue::mover(207_obj, CROWD_GOAL_X, CROWD_GOAL_Y, CROWD_SPEED),
              cue::mover(208_obj, CROWD_GOAL_X, CROWD_GOAL_Y, CROWD_SPEED),
              cue::mover(209_obj, CROWD_GOAL_X, CROWD_GOAL_Y, CROWD_SPEED),
              cue::mover(210_obj, CROWD_GOAL_X, CROWD_GOAL_Y, CROWD_SPEED),
              cue::mover(211_obj, CROWD_GOAL_X, CROWD_GOAL_Y, CROWD_SPEED),
              cue::mover(212_obj, CROWD_GOAL_X, CROWD_GOAL_Y, CROWD_SPEED)),
    cue::off(207_obj), cue::off(208_obj), cue::off(209_obj),
    cue::off(210_obj), cue::off(211_obj), cue::off(212_obj),
    cue::show_frame(213_obj, 32680_f), cue::say(2, 1037_img, 20382_t),
    cue::frames(214_obj, -32708_f, -32716_f, -2, SCENE_FRAME_MS), cue::bubble(214_obj, 20383_t),
    cue::frames(213_obj, 32680_f, 32692_f, 2, SCENE_FRAME_MS), cue::say(2, 1037_img, 20384_t),
    cue::pan_home(SCENE_PAN_SPEED),
    cue::on_top(0_obj, false),
    cue::attr(0_obj, ATTR_CLICK, 1),
    cue::off(213_obj),
    cue::place(209_obj, 4022, 1883, 5002_f),
    cue::place(214_obj, CROWD_WATCHER_X, CROWD_WATCHER_Y, FrameId(CROWD_WATCHER_END_FRAME)),
    cue::cursor(MENU_CURSOR),
};
// clang-format on
static_assert(cues_valid(CROWD_SCENE));
constexpr StepZone CROWD_ZONE{.kind = ZONE_ONCE, .cues = CROWD_SCENE};

// ---- Frames shown ----------------------------------------------------------------------------

// The walkers of the crowd walk in their blocks of 50 frames from 4900 on.
constexpr s32 CROWD_WALK_FIRST = 4900;
constexpr s32 CROWD_WALK_LAST = 5149;

} // namespace

void object_event_0096() {
    group_run(GROUP[0]);
}
void object_event_0097() {
    group_run(GROUP[1]);
}
void object_event_0098() {
    group_run(GROUP[2]);
}
void object_event_0099() {
    group_run(GROUP[3]);
}

void object_event_0100() {
    resident_run(STROLLER);
}
void object_event_0101() {
    resident_run(MAP51_LEFT);
}
void object_event_0102() {
    resident_run(MAP51_RIGHT);
}
void object_event_0103() {
    if (script_on(TRIG_CLICK)) reader_frame = obj_get_frame(script_self());
    resident_run(READER);
}

void object_event_0105() {
    step_zone(GROUP_ZONE);
}

void object_event_0106() {
    resident_run(SPEAKER_202);
}
void object_event_0107() {
    resident_run(SPEAKER_203);
}

void object_event_0109() {
    pair_run(PAIR, 0);
}
void object_event_0110() {
    pair_run(PAIR, 1);
}

void object_event_0111() {
    step_zone(CROWD_ZONE);
}

void object_event_0112() {
    resident_run(SPEAKER_216);
}

void east_map10_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const GroupMember& m : GROUP) {
        frames_of_cycle(v, m.idle);
        frames_of_turn(v, m.talk.frames);
    }
    for (const PairMember& m : PAIR.members) {
        frames_of_cycle(v, m.idle);
        frames_of_turn(v, m.frames);
    }
    for (const Resident* r : {&STROLLER, &MAP51_LEFT, &MAP51_RIGHT, &READER, &SPEAKER_202,
                              &SPEAKER_203, &SPEAKER_216}) {
        frames_of_cycle(v, r->idle);
        frames_of_turn(v, r->talk.frames);
    }
    v(SPEAKER_202.talk.end_frame);
    cues_frames(v, GROUP_SCENE);
    cues_frames(v, CROWD_SCENE);
    for (s32 frame = CROWD_WALK_FIRST; frame <= CROWD_WALK_LAST; ++frame) v(frame);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {96, object_event_0096},  {97, object_event_0097},  {98, object_event_0098},
    {99, object_event_0099},  {100, object_event_0100}, {101, object_event_0101},
    {102, object_event_0102}, {103, object_event_0103}, {105, object_event_0105},
    {106, object_event_0106}, {107, object_event_0107}, {109, object_event_0109},
    {110, object_event_0110}, {111, object_event_0111}, {112, object_event_0112},
};
static_assert(slots_distinct(SLOTS));

// Slots 104 and 108 belong to the teachers of the interiors.
constexpr SlotRange COMPLETE[] = {{96, 103}, {105, 107}, {109, 112}};
} // namespace

std::span<const ScriptSlot> home_east_map10_slots() {
    return SLOTS;
}

ScriptRegion home_east_map10_region() {
    return {.owner = HOME_EAST_MAP10_OWNER, .slots = home_east_map10_slots, .complete = COMPLETE};
}
