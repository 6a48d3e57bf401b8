// The one scene table: each kind of cue row against the transcript and the objects' state after
// it, the frame run with its hooks, runs of lines by alternation and by parity, poses, placing,
// and the bound that stops a mistyped run.
#include "scripts/cues.h"

#include "engine/transcript.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/home/household.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace cue;
using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr ObjId FIG{20};  // down-right of the player, on
constexpr ObjId OFF{21};  // off
constexpr ObjId ON{22};   // on
constexpr ObjId AWAY{23}; // another map, off

// What a check reads besides an attribute.
constexpr s32 SIGNED_FRAME = -1;
constexpr s32 CAMERA_X = -2;
constexpr s32 CAMERA_Y = -3;
constexpr s32 KEPT_MUSIC = -4;
constexpr s32 CALLED = -5;

s32 calls = 0;
void count_call() {
    ++calls;
}

struct Check {
    s32 obj;
    s32 what; // an attribute, or one of the readings above
    s32 value;
};

s32 read(const Check& c) {
    switch (c.what) {
    case SIGNED_FRAME:
        return obj_get_frame(c.obj);
    case CAMERA_X:
        return world_state.camera_x;
    case CAMERA_Y:
        return world_state.camera_y;
    case KEPT_MUSIC:
        return player_record.music_id;
    case CALLED:
        return calls;
    default:
        return attr_get(c.obj, c.what);
    }
}

class SceneTable : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        stage_objects();
    }
    // The same four figures and a standing player before every case.
    void stage_objects() {
        sh_player(PX, PY);
        attr_set(0, ATTR_TIMER_ON, 0);
        attr_set(0, ATTR_EVENT, 0);
        obj_set_frame(0, 418);
        sh_object(FIG.v, {.x = PX + 100, .y = PY + 50, .frame = 40001});
        sh_object(OFF.v, {.x = PX - 100, .y = PY, .frame = 40002, .active = false});
        sh_object(ON.v, {.x = PX, .y = PY - 100, .frame = 40003});
        sh_object(AWAY.v, {.map = 7, .x = 10, .y = 20, .frame = 40004, .active = false});
        world_state.camera_x = 0;
        world_state.camera_y = 0;
        player_record.music_id = 0;
        calls = 0;
        sh_clear_lines();
    }
    Lines play(std::span<const Cue> scene) {
        sh_clear_lines();
        cues_run(scene);
        return sh_only(sh_lines(), {"say", "label", "music", "sound", "change_map"});
    }
};

// ---- The rows

constexpr CueHook HOOKS[] = {
    hook_on(40102_f, OFF),
    hook_off(40106_f, ON),
    hook_says(40104_f, bubble_of(FIG), 700_t),
    hook_says(40108_f, box(2, 1000_img), 701_t),
};

constexpr Cue PAIRS_ALTERNATE[] = {pairs(500_t, 503_t, box(1, 1000_img), bubble_of(FIG))};
constexpr Cue PAIRS_PARITY[] = {pairs_by_parity(501_t, 503_t, box(2, 1000_img), box(1, 1071_img))};
constexpr Cue SAY_AND_BUBBLE[] = {say(3, 1163_img, 600_t), bubble(FIG, 601_t),
                                  bubble(ObjId(4096), 602_t)};
constexpr Cue LABELS[] = {label(FIG, 10000_t, -112, -108, 1500), unlabel(FIG)};
constexpr Cue MUSIC_PLAIN[] = {music(10018, 1)};
constexpr Cue MUSIC_KEPT[] = {kept_music(10057)};
constexpr Cue SOUND[] = {sound(500, 1)};
constexpr Cue MAP[] = {fade_out_of_scene(), map_change(MapId(SH_MAP), 300, 200), fade_into_scene()};
constexpr Cue FRAME_RUN[] = {frames(FIG, 40100_f, 40110_f, 2, 0).with(HOOKS)};
constexpr Cue FRAME_RUN_BACKWARD[] = {frames(FIG, 40100_f, 40090_f, 2, 0).with(HOOKS)};
constexpr Cue PLACE_AT_PLAYER[] = {place_at_player(AWAY, -40005_f)};
constexpr Cue PLACE_ON_MAP[] = {place_on(FIG, MapId(7), 300, 400, -40006_f)};
constexpr Cue MOVE_ON_MAP[] = {move_on(FIG, MapId(7), 300, 400)};
constexpr Cue POSE_ENTER[] = {
    enter({.x = 500, .y = 600, .frame = 40010, .slot = 41, .on_top = true})};
constexpr Cue POSE_ROUND[] = {
    enter({.x = 500, .y = 600, .frame = 40010, .slot = 41, .on_top = true}),
    leave({.x = 510, .y = 610, .frame = -40011, .on_top = true, .rest = 0}),
};
constexpr Cue CLICKS[] = {clickable(FIG, true, 9), on_top(FIG, true)};
constexpr Cue SWITCHES[] = {on(OFF), off(ON), stage(FIG, 3), attr(FIG, ATTR_VAR_B, 4),
                            attr(FIG, ATTR_COUNT, 1)};
constexpr Cue FACE[] = {face(FIG, {40020, 40021, 40022, 40023})};
constexpr Cue TURN_TO_OBJ[] = {turn_toward(FIG)};
constexpr Cue TURN_TO_POINT[] = {turn_toward_point(PX, PY + 200)};
constexpr Cue PANS[] = {pan_to(100, 200, 0), pan_by(10, -20, 0)};
constexpr Cue PAN_HOME[] = {pan_to(100, 200, 0), pan_home(0)};
constexpr Cue PAN_ON[] = {pan_on(FIG, 0)};
constexpr Cue WALK_IN[] = {walk_into_player(FIG, 30)};
constexpr Cue WALK_BACK[] = {note(FIG), walk(CUE_CAMERA_STAYS, mover(FIG, PX + 160, PY + 50, 30)),
                             walk_back(FIG, 30, CUE_CAMERA_STAYS)};
constexpr Cue CALL[] = {call(count_call), call(nullptr), call(count_call)};

struct Case {
    const char* name;
    std::span<const Cue> scene;
    Lines lines;
    std::vector<Check> checks;
};

TEST_F(SceneTable, EachRowSaysAndWritesWhatItNames) {
    const Case cases[] = {
        {"pairs by alternation, a box and a bubble",
         PAIRS_ALTERNATE,
         {"say 1 1000 500", "say_at 20 501", "say 1 1000 502", "say_at 20 503"},
         {}},
        {"pairs by parity: the even texts to the first speaker",
         PAIRS_PARITY,
         {"say 1 1071 501", "say 2 1000 502", "say 1 1071 503"},
         {}},
        {"a box, a bubble, a bubble of no object",
         SAY_AND_BUBBLE,
         {"say 3 1163 600", "say_at 20 601"},
         {}},
        {"a label added and removed", LABELS, {"label 20 10000 -112 -108 1500"}, {}},
        {"plain music leaves the kept music", MUSIC_PLAIN, {"music 10018 1"}, {{0, KEPT_MUSIC, 0}}},
        {"kept music", MUSIC_KEPT, {"music 10057 0"}, {{0, KEPT_MUSIC, 10057}}},
        {"a sound", SOUND, {"sound 500 1"}, {}},
        {"fades around a map change",
         MAP,
         {"change_map 1 300 200"},
         {{0, ATTR_X, 300}, {0, ATTR_Y, 200}}},
        {"a frame run switches and speaks at its hooks",
         FRAME_RUN,
         {"say_at 20 700", "say 2 1000 701"},
         {{FIG.v, SIGNED_FRAME, 40110}, {OFF.v, ATTR_ACTIVE, 1}, {ON.v, ATTR_ACTIVE, 0}}},
        {"a frame run whose step leads away shows its first frame only",
         FRAME_RUN_BACKWARD,
         {},
         {{FIG.v, SIGNED_FRAME, 40100}, {OFF.v, ATTR_ACTIVE, 0}, {ON.v, ATTR_ACTIVE, 1}}},
        {"placed at the player's map and place, still off",
         PLACE_AT_PLAYER,
         {},
         {{AWAY.v, ATTR_MAP, SH_MAP},
          {AWAY.v, ATTR_X, PX},
          {AWAY.v, ATTR_Y, PY},
          {AWAY.v, SIGNED_FRAME, -40005},
          {AWAY.v, ATTR_ACTIVE, 0}}},
        {"placed on a map with a signed frame, still on",
         PLACE_ON_MAP,
         {},
         {{FIG.v, ATTR_MAP, 7},
          {FIG.v, ATTR_X, 300},
          {FIG.v, ATTR_Y, 400},
          {FIG.v, SIGNED_FRAME, -40006},
          {FIG.v, ATTR_ACTIVE, 1}}},
        {"moved to a map, keeping its frame",
         MOVE_ON_MAP,
         {},
         {{FIG.v, ATTR_MAP, 7},
          {FIG.v, ATTR_X, 300},
          {FIG.v, ATTR_Y, 400},
          {FIG.v, SIGNED_FRAME, 40001},
          {FIG.v, ATTR_ACTIVE, 1}}},
        {"pose entered",
         POSE_ENTER,
         {},
         {{0, ATTR_X, 500},
          {0, ATTR_Y, 600},
          {0, SIGNED_FRAME, 40010},
          {0, ATTR_EVENT, 41},
          {0, ATTR_TIMER_ON, 1},
          {0, ATTR_LAYER, 2},
          {0, ATTR_SHADOW, 0}}},
        {"pose entered and left",
         POSE_ROUND,
         {},
         {{0, ATTR_X, 510},
          {0, ATTR_Y, 610},
          {0, SIGNED_FRAME, -40011},
          {0, ATTR_EVENT, 0},
          {0, ATTR_TIMER_ON, 0},
          {0, ATTR_LAYER, 3},
          {0, ATTR_SHADOW, 1}}},
        {"click, cursor and layer",
         CLICKS,
         {},
         {{FIG.v, ATTR_CLICK, 1},
          {FIG.v, ATTR_CURSOR, 9},
          {FIG.v, ATTR_LAYER, 2},
          {FIG.v, ATTR_SHADOW, 0}}},
        {"switches, stage and attributes; an attribute out of range is skipped",
         SWITCHES,
         {},
         {{OFF.v, ATTR_ACTIVE, 1},
          {ON.v, ATTR_ACTIVE, 0},
          {FIG.v, ATTR_VAR_A, 3},
          {FIG.v, ATTR_VAR_B, 4}}},
        {"a figure faces the player up-left of it", FACE, {}, {{FIG.v, SIGNED_FRAME, 40020}}},
        {"the player turns toward a figure", TURN_TO_OBJ, {}, {{0, SIGNED_FRAME, 424}}},
        {"the player turns toward a point below", TURN_TO_POINT, {}, {{0, SIGNED_FRAME, 422}}},
        {"the camera to a point, then by an offset",
         PANS,
         {},
         {{0, CAMERA_X, 110}, {0, CAMERA_Y, 180}}},
        {"the camera back on the player",
         PAN_HOME,
         {},
         {{0, CAMERA_X, PX - 320}, {0, CAMERA_Y, PY - 240}}},
        {"the camera centred on a figure",
         PAN_ON,
         {},
         {{0, CAMERA_X, PX + 100 - 320}, {0, CAMERA_Y, PY + 50 - 240}}},
        {"a figure walks onto the player and is hidden",
         WALK_IN,
         {},
         {{FIG.v, ATTR_X, PX}, {FIG.v, ATTR_Y, PY}, {FIG.v, ATTR_ACTIVE, 0}}},
        {"a figure walks back to its noted place",
         WALK_BACK,
         {},
         {{FIG.v, ATTR_X, PX + 100}, {FIG.v, ATTR_Y, PY + 50}}},
        {"calls, an empty one skipped", CALL, {}, {{0, CALLED, 2}}},
    };
    for (const Case& c : cases) {
        stage_objects();
        EXPECT_EQ(play(c.scene), c.lines) << c.name;
        for (const Check& k : c.checks)
            EXPECT_EQ(read(k), k.value) << c.name << ": object " << k.obj << " reading " << k.what;
    }
}

// A picture drawn by a row is a draw of the transcript.
TEST_F(SceneTable, ImageRowDrawsThePicture) {
    static constexpr Cue SCENE[] = {image(180, 0, 63482_img), image(10, 20, 63483_img, 2)};
    transcript_draws = true;
    sh_clear_lines();
    cues_run(SCENE);
    transcript_draws = false;
    EXPECT_EQ(sh_only(sh_lines(), {"draw 6348"}),
              (Lines{"draw 63482 180 0", "draw 63483 10 20 flags 2"}));
}

// A mistyped range stops after CUE_RUN_MAX steps and says nothing more; objects outside
// 0..4095 are skipped without a word.
TEST_F(SceneTable, MistypedRunsStopAtTheBound) {
    static constexpr CueTrack SLIDE[] = {track(FIG).at_x(0, 1)};
    static constexpr Cue SCENE[] = {
        frames(ON, 1_f, 1000000_f, 1, 0),
        frame_steps(OFF, 10_f, 2, 100000, 0),
        stride(AWAY, 0, 0, 5_f, 1, 2, 3, 100000, 0),
        keys(1000000, 0, SLIDE),
        pairs(1_t, 2000000000_t, box(1, 1000_img), bubble_of(FIG)),
        frame(ObjId(4096), 1_f),
        on(ObjId(-1)),
        frames(ObjId(5000), 1_f, 9_f, 1, 0),
    };
    cues_run(SCENE);
    EXPECT_EQ(obj_get_frame(ON.v), CUE_RUN_MAX);
    EXPECT_EQ(obj_get_frame(OFF.v), 10 + 2 * (CUE_RUN_MAX - 1));
    EXPECT_EQ(attr_get(AWAY.v, ATTR_X), CUE_RUN_MAX - 1);
    EXPECT_EQ(attr_get(AWAY.v, ATTR_Y), 2 * (CUE_RUN_MAX - 1));
    EXPECT_EQ(obj_get_frame(AWAY.v), 5 + 3 * (CUE_RUN_MAX - 1));
    EXPECT_EQ(attr_get(FIG.v, ATTR_X), CUE_RUN_MAX - 1);
    // A run of lines past the bound says nothing, as a mistyped run in a talk table does.
    EXPECT_TRUE(sh_only(sh_lines(), {"say"}).empty());
}

// The compile-time check of a scene table refuses each mistyped run and passes the tables the
// scripts use.
TEST_F(SceneTable, TheTableCheckRefusesMistypedRuns) {
    static constexpr CueTrack SLIDE[] = {track(FIG).at_x(0, 1)};
    struct Case {
        const char* what;
        Cue row;
        bool valid;
    };
    const Case cases[] = {
        {"a run of lines", pairs(10_t, 13_t, box(1, 1000_img), bubble_of(FIG)), true},
        {"a reversed run of lines", pairs(13_t, 10_t, box(1, 1000_img), bubble_of(FIG)), false},
        {"a run of lines past the bound", pairs(1_t, 2000_t, box(1, 1000_img), bubble_of(FIG)),
         false},
        {"a frame run", frames(ON, 10_f, 20_f, 2, 0), true},
        {"a frame run stepping away", frames(ON, 10_f, 20_f, -2, 0), false},
        {"a frame run without a step", frames(ON, 10_f, 20_f, 0, 0), false},
        {"a frame run past the bound", frames(ON, 1_f, 1000_f, 1, 0), false},
        {"frame steps", frame_steps(OFF, 10_f, 2, 5, 0), true},
        {"no frame steps", frame_steps(OFF, 10_f, 2, 0, 0), false},
        {"a stride past the bound", stride(AWAY, 0, 0, 5_f, 1, 2, 3, 100, 0), false},
        {"a key loop", keys(10, 0, SLIDE), true},
        {"a key loop past the bound", keys(1000, 0, SLIDE), false},
        {"a plain row", frame(FIG, 1_f), true},
    };
    for (const Case& c : cases) EXPECT_EQ(cue_valid(c.row), c.valid) << c.what;
    EXPECT_TRUE(cues_valid(household_opening_cues()));
    EXPECT_TRUE(cues_valid(household_evening_cues()));
}

} // namespace
