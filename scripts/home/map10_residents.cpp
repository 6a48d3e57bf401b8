#include "scripts/home/map10_residents.h"

#include "data/hub_block.h"
#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/zones.h"

#include <limits>

namespace {

using namespace cell;

constexpr s32 TALK_FAR = 300;

// ---- Bystanders and the performer's neighbours -----------------------------------------------

constexpr Cell BYSTANDER_TALK[] = {
    stage(0, EVERY_STAGE),
    S(10857_t),
};
static_assert(cells_valid(BYSTANDER_TALK));
constexpr TalkRow BYSTANDER{
    .far = TALK_FAR, .frames = {-32882, 32882, -32884, 32884}, .cells = BYSTANDER_TALK};

// Both neighbours put the performer back to the start of its loop before they talk.
constexpr Cell LEFT_NEIGHBOUR_TALK[] = {
    stage(0, EVERY_STAGE),
    frame_of(ObjId(PERFORMER_OBJ), FrameId(PERFORMER_REST)),
    S(20388_t),
};
static_assert(cells_valid(LEFT_NEIGHBOUR_TALK));
constexpr TalkRow LEFT_NEIGHBOUR{.far = TALK_FAR,
                                 .clear = CLEAR_PLAYER,
                                 .frames = {-32886, 32886, -32888, 32888},
                                 .cells = LEFT_NEIGHBOUR_TALK};

// clang-format off
constexpr Cell RIGHT_NEIGHBOUR_TALK[] = {
    stage(0), frame_of(ObjId(PERFORMER_OBJ), FrameId(PERFORMER_REST)),
        run(20396_t, 20403_t, SELF, PLAYER), to(1),
    stage(1, EVERY_STAGE), frame_of(ObjId(PERFORMER_OBJ), FrameId(PERFORMER_REST)), S(20396_t),
};
// clang-format on
static_assert(cells_valid(RIGHT_NEIGHBOUR_TALK));
constexpr TalkRow RIGHT_NEIGHBOUR{.far = TALK_FAR,
                                  .clear = CLEAR_PLAYER,
                                  .frames = {-32890, 32890, -32892, 32892},
                                  .keep_frame = false,
                                  .end_frame = 32890,
                                  .cells = RIGHT_NEIGHBOUR_TALK};

// ---- The performer ---------------------------------------------------------------------------

// The act: frames 33100..33182 by 2 every 10 frames, a pause of 35 at the start of the loop.
constexpr IdleCycle PERFORMER_LOOP{
    .rearm = 10, .start = PERFORMER_REST, .limit = 33182, .step = 2, .pause = 35};
constexpr TurnFrames PERFORMER_TURN{-33100, 33100, -33184, 33184};
// The frame shown at the click, before the performer turned.
s32 performer_click_frame = PERFORMER_REST;

bool act_caught() {
    return performer_caught(performer_click_frame);
}
void performer_frame_again() {
    frame_restore(script_self(), performer_click_frame);
}

constexpr Lesson CATCH_REWARD{.growth = 25, .exp = 200};

// clang-format off
constexpr Cell PERFORMER_TALK[] = {
    stage(0), S(10589_t), P(10590_t), S(10591_t),
        when(test(act_caught)), run(10593_t, 10601_t, PLAYER, SELF), teach(CATCH_REWARD),
            give(901_item, 1), to(2), f(FrameId(PERFORMER_REST)),
        otherwise(), P(10592_t), to(1), call(performer_frame_again),
        end(),
    stage(1), S(10589_t),
        when(test(act_caught)), run(10593_t, 10601_t, PLAYER, SELF), teach(CATCH_REWARD),
            give(901_item, 1), to(2), f(FrameId(PERFORMER_REST)),
        otherwise(), P(10592_t), call(performer_frame_again),
        end(),
    stage(2), S(10602_t), P(10603_t), f(FrameId(PERFORMER_REST)),
};
// clang-format on
static_assert(cells_valid(PERFORMER_TALK));

// ---- The pair of map 10 and their step area --------------------------------------------------

constexpr s32 PAIR_LEFT = 229;
constexpr s32 PAIR_RIGHT = 230;

constexpr Cell PAIR_LEFT_TALK[] = {
    stage(0, EVERY_STAGE),
    B(ObjId(PAIR_RIGHT), 20429_t),
};
static_assert(cells_valid(PAIR_LEFT_TALK));
constexpr Cell PAIR_RIGHT_TALK[] = {
    stage(0, EVERY_STAGE),
    S(20429_t),
};
static_assert(cells_valid(PAIR_RIGHT_TALK));
constexpr TalkRow PAIR_LEFT_ROW{
    .far = TALK_FAR, .clear = CLEAR_PLAYER, .turn = TURN_PLAYER_ONLY, .cells = PAIR_LEFT_TALK};
constexpr TalkRow PAIR_RIGHT_ROW{
    .far = TALK_FAR, .clear = CLEAR_PLAYER, .turn = TURN_PLAYER_ONLY, .cells = PAIR_RIGHT_TALK};

constexpr Cue PAIR_REACTS[] = {
    cue::show_frame(ObjId(PAIR_LEFT), 33280_f),  cue::show_frame(ObjId(PAIR_RIGHT), 33284_f),
    cue::bubble(ObjId(PAIR_RIGHT), 20429_t),     cue::show_frame(ObjId(PAIR_LEFT), 33278_f),
    cue::show_frame(ObjId(PAIR_RIGHT), 33282_f),
};
static_assert(cues_valid(PAIR_REACTS));
constexpr StepZone PAIR_ZONE{.kind = ZONE_LIVE, .cues = PAIR_REACTS};

// ---- Residents with a remark ----------------------------------------------------------------

// Object 214: its remark loop runs only at stage 1, which no script gives it.
constexpr IdleCycle WATCHER_REMARKS{.rearm = 10,
                                    .start = -32708,
                                    .limit = -32716,
                                    .step = -2,
                                    .pause = 500,
                                    .remark_frame = -32708,
                                    .remark_text = 20502,
                                    .remark_dx = -160,
                                    .remark_dy = -110,
                                    .remark_ms = 3000};
constexpr s32 WATCHER_REARM = 10;
constexpr Cell WATCHER_TALK[] = {
    stage(0),
    S(10503_t),
};
static_assert(cells_valid(WATCHER_TALK));
constexpr TalkRow WATCHER{.far = TALK_FAR,
                          .clear = CLEAR_PLAYER,
                          .frames = {-32708, 32708, -32708, 32708},
                          .cells = WATCHER_TALK};

constexpr s32 GREETER_OBJ = 266;
constexpr TurnFrames GREETER_TURN{5002, 5002, 5002, 5002};
constexpr s32 GREETER_REARM = 500;
constexpr s32 GREETER_MAP = 10;
// clang-format off
constexpr Cell GREETER_TALK[] = {
    stage(0), run(10504_t, 10509_t, SELF, PLAYER), to(1),
    stage(1, EVERY_STAGE), S(10510_t),
};
// clang-format on
static_assert(cells_valid(GREETER_TALK));
constexpr TalkRow GREETER{
    .far = TALK_FAR, .clear = CLEAR_PLAYER, .frames = GREETER_TURN, .cells = GREETER_TALK};

constexpr Cue GREETER_CALLS[] = {
    cue::turn_toward(ObjId(GREETER_OBJ)),
    cue::face(ObjId(GREETER_OBJ), GREETER_TURN),
    cue::bubble(ObjId(GREETER_OBJ), 10511_t),
};
static_assert(cues_valid(GREETER_CALLS));
constexpr StepZone GREETER_ZONE{.kind = ZONE_LIVE, .cues = GREETER_CALLS};

constexpr s32 SITTER_OBJ = 267;
// clang-format off
constexpr Cell SITTER_TALK[] = {
    stage(0), S(10545_t), P(3, 10546_t), S(10547_t), P(3, 10548_t), S(10549_t), to(1),
    stage(1, EVERY_STAGE), S(10550_t),
};
// clang-format on
static_assert(cells_valid(SITTER_TALK));
constexpr TalkRow SITTER{
    .far = TALK_FAR, .clear = CLEAR_PLAYER, .turn = TURN_NOBODY, .cells = SITTER_TALK};

constexpr Cue SITTER_CALLS[] = {
    cue::turn_toward(ObjId(SITTER_OBJ)),
    cue::face(ObjId(SITTER_OBJ), {33898, -33898, 33896, -33898}),
    cue::bubble(ObjId(SITTER_OBJ), 10551_t),
};
static_assert(cues_valid(SITTER_CALLS));
constexpr StepZone SITTER_ZONE{.kind = ZONE_LIVE, .cues = SITTER_CALLS};

// ---- The lesson of map 40 --------------------------------------------------------------------

constexpr s32 MASTER = 274;
constexpr s32 PUPIL_A = 275;
constexpr s32 PUPIL_B = 276;
constexpr s32 MASTER_PORTRAIT = 1148;
constexpr s32 LESSON_MUSIC = 10061;
constexpr s32 PUPIL_REARM = 10;
constexpr s32 LESSON_FAR = 150;

constexpr IdleCycle MASTER_IDLE{
    .rearm = 10, .start = 34126, .limit = 34136, .step = 1, .pause = 100};
constexpr TurnFrames MASTER_TURN{34126, 34126, 34126, 34126};

// Where the master's own box goes at stage 2: the player's position of this click's turn.
TalkTurn master_turn{};
void master_own_box() {
    say(master_turn.pos, MASTER_PORTRAIT, 10854);
}

// The camera looks at the pupils for the demonstration and comes back where it was.
s32 lesson_camera_x = 0;
s32 lesson_camera_y = 0;
void lesson_camera_note() {
    lesson_camera_x = world_state.camera_x;
    lesson_camera_y = world_state.camera_y;
}
void lesson_camera_back() {
    camera_pan(lesson_camera_x, lesson_camera_y, 10);
}

// Fifteen pairs of frames, k = 0, 2, ..., 28, 200 ms each.
constexpr CueTrack DEMONSTRATION[] = {
    cue::track(ObjId(PUPIL_A)).frames(34167_f, 2),
    cue::track(ObjId(PUPIL_B)).frames(34227_f, 2),
};
constexpr Cue LESSON_SCENE[] = {
    cue::cursor(2),
    cue::call(lesson_camera_note),
    cue::pan_to(218, 1056, 10),
    cue::keys(14, 200, DEMONSTRATION),
    cue::pairs(10844_t, 10848_t, cue::bubble_of(ObjId(PUPIL_A)), cue::bubble_of(ObjId(PUPIL_B))),
    cue::call(lesson_camera_back),
};
static_assert(cues_valid(LESSON_SCENE));
constexpr Cue LESSON_CURSOR_BACK[] = {cue::cursor(MENU_CURSOR)};
static_assert(cues_valid(LESSON_CURSOR_BACK));

constexpr Lesson MASTER_LESSON{.growth = 10, .exp = 100, .known_list = 10, .known_id = 0};

// clang-format off
constexpr Cell MASTER_TALK[] = {
    stage(0), P(10839_t),
    stage(1), P(10840_t), N(ImageId(MASTER_PORTRAIT), 10841_t), P(10842_t),
        N(ImageId(MASTER_PORTRAIT), 10843_t), scene(LESSON_SCENE),
        run(10849_t, 10854_t, PLAYER, person(ImageId(MASTER_PORTRAIT))), to(2),
        hide(ObjId(PUPIL_A)), hide(ObjId(PUPIL_B)), teach(MASTER_LESSON),
        scene(LESSON_CURSOR_BACK),
    stage(2), P(10840_t), call(master_own_box),
};
// clang-format on
static_assert(cells_valid(MASTER_TALK));

// The two pupils share one talk; 275 starts the music before the master's line, 276 after it.
// clang-format off
constexpr Cell PUPIL_TALK[] = {
    stage(0), P(10823_t), B(ObjId(PUPIL_A), 10824_t), B(ObjId(PUPIL_B), 10825_t),
        B(ObjId(PUPIL_A), 10826_t), B(ObjId(PUPIL_B), 10827_t), P(10828_t),
        B(ObjId(PUPIL_A), 10829_t), B(ObjId(PUPIL_B), 10830_t), P(10831_t),
        B(ObjId(PUPIL_A), 10832_t), P(10833_t),
        when(clicked(ObjId(PUPIL_A))), play_music(LESSON_MUSIC), B(ObjId(MASTER), 10834_t),
        otherwise(), B(ObjId(MASTER), 10834_t), play_music(LESSON_MUSIC),
        end(),
        show_frame_of(ObjId(PUPIL_A), 34195_f), show_frame_of(ObjId(PUPIL_B), 34255_f),
        P(10835_t), B(ObjId(PUPIL_A), 10836_t), B(ObjId(PUPIL_B), 10837_t),
        obj_to(ObjId(PUPIL_A), 1), obj_to(ObjId(PUPIL_B), 1), obj_to(ObjId(MASTER), 1),
    stage(1), S(10836_t),
};
// clang-format on
static_assert(cells_valid(PUPIL_TALK));

// A pupil: its idle cycle (at stage 0) and its talk before and after the lesson. Before it the
// other pupil turns toward the player first; after it the pupil turns with its lesson frame.
struct Pupil {
    IdleCycle idle;
    TalkRow before;
    TalkRow after;
};
constexpr TurnFrames PUPIL_A_TURN{34145, 34145, 34145, 34145};
constexpr TurnFrames PUPIL_B_TURN{34197, 34197, 34197, 34197};
constexpr Pupil PUPILS[] = {
    {.idle = {.rearm = PUPIL_REARM,
              .start = 34137,
              .limit = 34151,
              .step = 2,
              .pause = 100,
              .remark_frame = 34137,
              .remark_text = 10821,
              .remark_dx = -48,
              .remark_dy = -100,
              .remark_ms = 5000,
              .remark2_text = 10855,
              .remark2_dx = -80,
              .remark2_dy = -100,
              .remark2_ms = 3000},
     .before = {.far = LESSON_FAR,
                .frames = PUPIL_A_TURN,
                .keep_frame = false,
                .cells = PUPIL_TALK,
                .first_turn = PUPIL_B,
                .first_turn_frames = PUPIL_B_TURN},
     .after = {.far = LESSON_FAR,
               .frames = {34195, 34195, 34195, 34195},
               .keep_frame = false,
               .cells = PUPIL_TALK}},
    {.idle = {.rearm = PUPIL_REARM,
              .start = 34197,
              .limit = 34211,
              .step = 2,
              .pause = 100,
              .remark_frame = 34197,
              .remark_text = 10822,
              .remark_dx = -112,
              .remark_dy = -100,
              .remark_ms = 5000,
              .remark2_text = 10856,
              .remark2_dx = -96,
              .remark2_dy = -100,
              .remark2_ms = 3000},
     .before = {.far = LESSON_FAR,
                .frames = PUPIL_B_TURN,
                .keep_frame = false,
                .cells = PUPIL_TALK,
                .first_turn = PUPIL_A,
                .first_turn_frames = PUPIL_A_TURN},
     .after = {.far = LESSON_FAR,
               .frames = {34255, 34255, 34255, 34255},
               .keep_frame = false,
               .cells = PUPIL_TALK}},
};

void pupil_run(const Pupil& p) {
    const s32 self = script_self();
    const s32 stage_now = script_stage(self);
    if (script_on(TRIG_TIMER)) {
        if (stage_now == 0)
            idle_cycle(p.idle);
        else
            attr_set(self, ATTR_TIMER, PUPIL_REARM);
    }
    if (!script_on(TRIG_CLICK)) return;
    if (stage_now == 0) talk_run(p.before);
    if (stage_now == 1) talk_run(p.after);
}

// ---- The companion's farewell ----------------------------------------------------------------

constexpr s32 FAREWELL_MAP = 3;
constexpr Cue FAREWELL[] = {
    cue::fade_out_of_scene(),
    cue::map_change(MapId(FAREWELL_MAP), 248, 328),
    cue::frame(0_obj, 418_f),
    cue::on(ObjId(COMPANION_FAREWELL_OBJ)),
    cue::place_on(ObjId(COMPANION_FAREWELL_OBJ), MapId(FAREWELL_MAP), 313, 291, -4002_f),
    cue::fade_into_scene(),
    cue::say(2, 1000_img, 26597_t),
    cue::say(3, 1203_img, 26598_t),
    cue::pairs(26599_t, 26604_t, cue::box(3, 1203_img), cue::box(2, 1000_img)),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(ObjId(COMPANION_FAREWELL_OBJ), 248, 328, 15)),
    cue::off(ObjId(COMPANION_FAREWELL_OBJ)),
};
static_assert(cues_valid(FAREWELL));

// ---- Frames shown ----------------------------------------------------------------------------

} // namespace

bool performer_caught(s32 frame) {
    return (frame >= 33140 && frame <= 33146) || (frame >= 33168 && frame <= 33174);
}

void companion_leave_scene() {
    if (player_record.story_flags[COMPANION_FAREWELL_FLAG] != 3) return;
    cues_run(FAREWELL);
}

void object_event_0116() {
    if (script_on(TRIG_CLICK)) talk_run(BYSTANDER);
}

void object_event_0117() {
    if (script_on(TRIG_CLICK)) talk_run(LEFT_NEIGHBOUR);
}

void object_event_0118() {
    if (script_on(TRIG_CLICK)) talk_run(RIGHT_NEIGHBOUR);
}

// The timing challenge: the act loops on the timer until it has been caught; a click judges the
// frame shown at that moment.
void object_event_0120() {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) {
        if (script_stage(self) < 2)
            idle_cycle(PERFORMER_LOOP);
        else
            obj_set_frame(self, PERFORMER_REST);
    }
    if (!script_on(TRIG_CLICK) || too_far_guard(TALK_FAR)) return;
    performer_click_frame = frame_keep(self);
    const TalkTurn turn = turn_to_talk(PERFORMER_TURN);
    cells_run_stage(PERFORMER_TALK, TalkContext{.self = self, .turn = turn, .partner = -1});
}

void object_event_0127() {
    if (script_on(TRIG_CLICK)) talk_run(PAIR_LEFT_ROW);
}

void object_event_0128() {
    if (script_on(TRIG_CLICK)) talk_run(PAIR_RIGHT_ROW);
}

void object_event_0129() {
    step_zone(PAIR_ZONE);
}

void object_event_0138() {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) {
        attr_set(self, ATTR_TIMER, WATCHER_REARM);
        if (script_stage(self) == 1) {
            // The loop starts at its first frame when the watcher shows another one.
            const s32 frame = obj_get_frame(self);
            if (frame > WATCHER_REMARKS.start || frame < WATCHER_REMARKS.limit)
                obj_set_frame(self, WATCHER_REMARKS.start);
            idle_cycle(WATCHER_REMARKS);
        }
    }
    if (script_on(TRIG_CLICK)) talk_run(WATCHER);
}

// Object 266 floats its greeting only on the first day, while the player is on map 10.
void object_event_0139() {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) {
        attr_set(self, ATTR_TIMER, GREETER_REARM);
        if (script_stage(self) == 1 && world_state.current_map == GREETER_MAP &&
            hub_block.calendar_turn == 0)
            label_add(self, 20501, -160, -110, 3000);
    }
    if (script_on(TRIG_CLICK)) talk_run(GREETER);
}

void object_event_0140() {
    if (script_on(TRIG_CLICK)) talk_run(SITTER);
}

void object_event_0141() {
    step_zone(GREETER_ZONE);
}

void object_event_0142() {
    step_zone(SITTER_ZONE);
}

void object_event_0146() {
    if (script_on(TRIG_TIMER)) idle_cycle(MASTER_IDLE);
    if (!script_on(TRIG_CLICK) || too_far_guard(LESSON_FAR)) return;
    master_turn = turn_to_talk(MASTER_TURN);
    cells_run_stage(MASTER_TALK, TalkContext{.self = script_self(), .turn = master_turn});
}

void object_event_0147() {
    pupil_run(PUPILS[0]);
}

void object_event_0148() {
    pupil_run(PUPILS[1]);
}

void map10_residents_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const TalkRow* row : {&BYSTANDER, &LEFT_NEIGHBOUR, &RIGHT_NEIGHBOUR, &WATCHER, &GREETER})
        frames_of_turn(v, row->frames);
    v(RIGHT_NEIGHBOUR.end_frame);
    frames_of_turn(v, PERFORMER_TURN);
    frames_of_cycle(v, PERFORMER_LOOP);
    frames_of_cycle(v, WATCHER_REMARKS);
    frames_of_turn(v, MASTER_TURN);
    frames_of_cycle(v, MASTER_IDLE);
    for (const Pupil& p : PUPILS) {
        frames_of_cycle(v, p.idle);
        frames_of_turn(v, p.before.frames);
        frames_of_turn(v, p.after.frames);
    }
    for (const std::span<const Cue> cues :
         {std::span<const Cue>(PAIR_REACTS), std::span<const Cue>(GREETER_CALLS),
          std::span<const Cue>(SITTER_CALLS), std::span<const Cue>(LESSON_SCENE)})
        cues_frames(v, cues);
    // The companion walks in its block of frames; the protagonist's frame 418 comes with the
    // player's own set.
    for (s32 frame = 4000; frame < 4050; ++frame) v(frame);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {116, object_event_0116}, {117, object_event_0117}, {118, object_event_0118},
    {120, object_event_0120}, {127, object_event_0127}, {128, object_event_0128},
    {129, object_event_0129}, {138, object_event_0138}, {139, object_event_0139},
    {140, object_event_0140}, {141, object_event_0141}, {142, object_event_0142},
    {146, object_event_0146}, {147, object_event_0147}, {148, object_event_0148},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{116, 118}, {120, 120}, {127, 129}, {138, 142}, {146, 148}};
} // namespace

std::span<const ScriptSlot> home_map10_residents_slots() {
    return SLOTS;
}

ScriptRegion home_map10_residents_region() {
    return {.owner = HOME_MAP10_RESIDENTS_OWNER,
            .slots = home_map10_residents_slots,
            .complete = COMPLETE};
}
