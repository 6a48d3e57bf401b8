#include "scripts/towns/city_trials.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/episode_kit.h"
#include "scripts/games.h"
#include "scripts/routes.h"
#include "scripts/script_seams.h"
#include "scripts/zones.h"

#include <iterator>

namespace {

constexpr s32 PLAYER_PORTRAIT_ID = 1000;
constexpr s32 PERSON_PORTRAIT = 1234;
constexpr s32 GUIDE_FRAME = 39702;
constexpr s32 GUIDE_STANDING = 39722;
constexpr s32 GUIDE_WALK_FIRST = 39702, GUIDE_WALK_LAST = 39737; // its walking block
constexpr s32 GUIDE_SPEED = 5;
constexpr s32 GUIDE_REARM = 3;
constexpr s32 BOX_POSITION = 2; // the player's answers
constexpr s32 HALL_BARRIER_TRIAL = 1123, HALL_BLOCK_TRIAL = 1128, HALL_DOOR_TRIAL = 1385;
constexpr s32 HALL_BARRIER_HONOUR = 1124, HALL_BLOCK_HONOUR = 1127, HALL_DOOR_HONOUR = 1383;
constexpr s32 TRIAL_ROOM = 225;
constexpr s32 TRIAL_ROOM_X = 437, TRIAL_ROOM_Y = 331;
constexpr s32 GRID_CURSOR = 18;
constexpr s32 TILE_PICTURES = 10;

// The lines of the station, all in the guide's bubble.
constexpr s32 LINE_QUIZ_A = 25450, LINE_QUIZ_B = 25451, LINE_GRID = 25452, LINE_PICTURE = 25453,
              LINE_TILES = 25454, LINE_RIGHT = 25455, LINE_SOLVED = 25456, LINE_WRONG = 25457,
              LINE_EXIT_CLOSED = 25468;
constexpr s32 QUIZ_OPTION_FIRST = 25458;
constexpr s32 PICTURE_OPTION_FIRST = 25464;

// The picture question's screen: the background, the question and the four answers.
constexpr s32 PICTURE_BACK = 99, PICTURE_QUESTION = 39218, PICTURE_ANSWER_FIRST = 39219;
constexpr s32 PICTURE_QUESTION_X = 180, PICTURE_QUESTION_Y = 15;
constexpr s32 PICTURE_ANSWER_X = 212, PICTURE_ANSWER_Y = 75, PICTURE_ANSWER_DY = 30;
constexpr s32 PICTURE_ANSWERS = 4;

// The ceremony's gestures.
constexpr s32 PERSON_FIRST = 46641;
constexpr s32 GESTURE_A_FIRST = 46642, GESTURE_A_STEPS = 2, GESTURE_A_MS = 500;
constexpr s32 GESTURE_B_FIRST = 46650, GESTURE_B_LAST = 46659, GESTURE_B_MS = 300;
constexpr s32 PERSON_AFTER = 46644;
constexpr s32 CEREMONY_ALBUM = 5;

// ---- The guide ------------------------------------------------------------------------------

bool guide_skills_pass() {
    for (s32 k = TRIALS_SKILL_FIRST; k <= TRIALS_SKILL_LAST; ++k)
        if (player_record.skill[size_t(k)] < TRIALS_SKILL_NEEDED) return false;
    return true;
}

// At the end of its walk through the hall the guide goes on in the trial room, keeping its frame.
void guide_into_trial_room() {
    attr_set(TRIALS_GUIDE, ATTR_MAP, TRIAL_ROOM);
    attr_set(TRIALS_GUIDE, ATTR_X, TRIAL_ROOM_X);
    attr_set(TRIALS_GUIDE, ATTR_Y, TRIAL_ROOM_Y);
}

constexpr RouteStep GUIDE_STEPS[] = {
    route::hold(GUIDE_UNTESTED, route::at_frame(FrameId(GUIDE_STANDING))),
    route::go(1, 207, 351),
    route::go(2, 190, 344, route::act(guide_into_trial_room),
              route::obj_off(ObjId(HALL_BARRIER_TRIAL)), route::obj_off(ObjId(HALL_BLOCK_TRIAL)),
              route::obj_on(ObjId(HALL_DOOR_TRIAL))),
    route::go(3, 392, 314),
    route::go(4, 465, 250, route::at_frame(FrameId(-GUIDE_STANDING))),
    route::hold(GUIDE_WAITING, route::at_frame(FrameId(-GUIDE_STANDING))).through(GUIDE_FAILED),
    route::go(GUIDE_HONOUR_WALK, 380, 285),
    route::go(10, 462, 310, route::at_frame(FrameId(-GUIDE_STANDING))),
    route::hold(11, route::at_frame(FrameId(-GUIDE_STANDING))),
};
constexpr RouteWindow GUIDE_WINDOWS[] = {route::always(GUIDE_STEPS)};
constexpr Route GUIDE_ROUTE{
    .interval = GUIDE_REARM, .speed = GUIDE_SPEED, .windows = GUIDE_WINDOWS};

using namespace cell;

// clang-format off
constexpr Cell GUIDE_TALK[] = {
    stage(GUIDE_UNTESTED), P(33036_t), S(33037_t), P(33038_t),
        when(test(guide_skills_pass)), S(33039_t), to(1),
        otherwise(), S(33022_t), obj_to(ObjId(TRIALS_MEETING_POINT), 5), to(GUIDE_REFUSED),
        end(),
    stage(1, 4), S(33039_t),
    stage(GUIDE_WAITING), show(ObjId(TRIALS_STATION)), S(33040_t), P(33041_t), S(33042_t),
        to(GUIDE_INTRODUCED),
    stage(GUIDE_INTRODUCED), S(33042_t),
    stage(GUIDE_PASSED), S(33043_t),
    stage(GUIDE_FAILED), S(33081_t), P(33082_t),
    stage(GUIDE_HONOUR_WALK, 11), S(33080_t),
    stage(GUIDE_REFUSED), S(33023_t),
};
// clang-format on
static_assert(cells_valid(GUIDE_TALK));
constexpr TalkRow GUIDE_CLICK{
    .far = 200,
    .frames = {-GUIDE_FRAME, GUIDE_FRAME, -GUIDE_STANDING, GUIDE_STANDING},
    .cells = GUIDE_TALK,
};

// ---- The trial station ----------------------------------------------------------------------

void guide_says(s32 text) {
    say_at(TRIALS_GUIDE, text);
}

// A wrong answer: the guide says so, the station goes for good and the meeting point takes its
// failure stage; past the music quiz the guide takes its failure stage too.
void station_wrong(bool guide_fails) {
    guide_says(LINE_WRONG);
    if (guide_fails) script_set_stage(TRIALS_GUIDE, GUIDE_FAILED);
    attr_set(TRIALS_STATION, ATTR_ACTIVE, 0);
    script_set_stage(TRIALS_MEETING_POINT, 5);
}

void station_music_quiz() {
    guide_says(LINE_QUIZ_A);
    guide_says(LINE_QUIZ_B);
    const s32 k = script_rand(s32(TRIALS_QUIZ_PIECES.size()));
    if (k >= 0 && k < s32(TRIALS_QUIZ_PIECES.size()))
        mssw_play_music(TRIALS_QUIZ_PIECES[size_t(k)], 1);
    const s32 answer = choose(BOX_POSITION, PLAYER_PORTRAIT_ID, QUIZ_OPTION_FIRST,
                              QUIZ_OPTION_FIRST + 1, QUIZ_OPTION_FIRST + 2, QUIZ_OPTION_FIRST + 3,
                              QUIZ_OPTION_FIRST + 4, QUIZ_OPTION_FIRST + 5);
    if (answer == k) {
        script_set_stage(TRIALS_STATION, STATION_GRID);
        guide_says(LINE_RIGHT);
    } else {
        attr_set(TRIALS_STATION, ATTR_ACTIVE, 0); // the quiz hides the station before the line
        station_wrong(false);
    }
    mssw_play_music(TRIALS_AFTER_QUIZ_PIECE, 0);
}

bool in_box(s32 p, s32 coord, s32 d) {
    return p >= coord + d && p <= coord + d + GRID_BOX_SIZE - 1;
}

// The board's click area and the hover marks' boxes.
constexpr s32 GRID_AREA_LEFT = 223, GRID_AREA_RIGHT = 422;
constexpr s32 GRID_AREA_TOP = 143, GRID_AREA_BOTTOM = 341;
constexpr s32 GRID_MARK_DX = 217, GRID_MARK_DY = 135;

void grid_draw_marks() {
    const s32 px = pointer_x, py = pointer_y;
    for (s32 i = 0; i < GRID_POINTS; ++i) {
        if (!in_box(px, GRID_COORDS[size_t(i)], GRID_BOX_DX)) continue;
        for (s32 j = 0; j < GRID_POINTS; ++j)
            if (in_box(py, GRID_COORDS[size_t(j)], GRID_BOX_DY))
                draw_image(GRID_COORDS[size_t(i)] + GRID_MARK_DX,
                           GRID_COORDS[size_t(j)] + GRID_MARK_DY, GRID_MARK, 0);
    }
}

// The puzzle's own loop: each pass draws the board and the hover mark, reads one click and
// presents; it ends on a wrong point or after the third right one (or with the game, which
// unwinds the presents when it quits).
void station_grid() {
    guide_says(LINE_GRID);
    mouse_buttons = 0;
    cursor_select(GRID_CURSOR);
    s32 count = 0;
    while (count >= 0) {
        const GridBoard& board = GRID_BOARDS[size_t(count)];
        draw_image(GRID_BOARD_X, GRID_BOARD_Y, board.image, 0);
        grid_draw_marks();
        if (mouse_buttons == 1) {
            mouse_buttons = 0;
            const s32 hit = grid_point_at(click_x, click_y);
            if (hit == board.col * GRID_POINTS + board.row) {
                ++count;
            } else if (hit >= 0) {
                station_wrong(true);
                mouse_buttons = 0;
                count = -1;
            }
        }
        screen_present();
        if (count == s32(GRID_BOARDS.size())) {
            guide_says(LINE_RIGHT);
            script_set_stage(TRIALS_STATION, STATION_PICTURE);
            mouse_buttons = 0;
            count = -1;
        }
    }
    // The click that ended the puzzle must not reach the figure under it.
    modal_return();
}

void station_picture() {
    guide_says(LINE_PICTURE);
    draw_image(0, 0, PICTURE_BACK, 0);
    draw_image(PICTURE_QUESTION_X, PICTURE_QUESTION_Y, PICTURE_QUESTION, 0);
    for (s32 k = 0; k < PICTURE_ANSWERS; ++k)
        draw_image(PICTURE_ANSWER_X, PICTURE_ANSWER_Y + PICTURE_ANSWER_DY * k,
                   PICTURE_ANSWER_FIRST + k, 0);
    const s32 answer =
        choose(BOX_POSITION, PLAYER_PORTRAIT_ID, PICTURE_OPTION_FIRST, PICTURE_OPTION_FIRST + 1,
               PICTURE_OPTION_FIRST + 2, PICTURE_OPTION_FIRST + 3);
    if (answer == TRIALS_PICTURE_RIGHT) {
        guide_says(LINE_RIGHT);
        script_set_stage(TRIALS_STATION, STATION_TILES);
    } else {
        station_wrong(true);
    }
    screen_present();
}

void station_tiles() {
    guide_says(LINE_TILES);
    const s32 result = game_call({GAME_TILE_SWAP, {script_rand(TILE_PICTURES)}});
    if (result == 1) {
        guide_says(LINE_SOLVED);
        script_set_stage(TRIALS_STATION, STATION_PASSED);
        attr_set(TRIALS_STATION, ATTR_ACTIVE, 0);
        script_set_stage(TRIALS_GUIDE, GUIDE_PASSED);
        attr_set(TRIALS_EXIT_DOOR, ATTR_ACTIVE, 1);
        attr_set(TRIALS_EXIT_GUARD, ATTR_ACTIVE, 0);
    } else {
        station_wrong(true);
    }
}

// The station's stages in order; from STATION_PASSED on a click does nothing.
constexpr void (*STATION_STAGES[])() = {station_music_quiz, station_grid, station_picture,
                                        station_tiles};
static_assert(std::size(STATION_STAGES) == STATION_PASSED);

// ---- The exit guard -------------------------------------------------------------------------

void exit_closed() {
    const s32 kept = frame_keep(TRIALS_GUIDE);
    obj_show_frame(TRIALS_GUIDE, -GUIDE_FRAME);
    guide_says(LINE_EXIT_CLOSED);
    frame_restore(TRIALS_GUIDE, kept);
}
constexpr StepZone EXIT_GUARD{.kind = ZONE_LIVE, .scene = exit_closed};

// ---- The ceremony ---------------------------------------------------------------------------

// The second gesture cycles while the piece plays; its end is seen only when the cycle wraps.
void ceremony_second_gesture() {
    music_frames({.obj = TRIALS_PERSON,
                  .piece = CEREMONY_MUSIC,
                  .first = GESTURE_B_FIRST,
                  .last = GESTURE_B_LAST,
                  .step = 1,
                  .ms = GESTURE_B_MS,
                  .end_at_wrap = true});
    mssw_stop_music();
}

void ceremony_marks() {
    player_record.story_flags[TRIALS_PASSED_FLAG] = 1;
    album_add(CEREMONY_ALBUM);
}

constexpr ObjId PERSON{TRIALS_PERSON};
constexpr ObjId GUIDE{TRIALS_GUIDE};
constexpr ImageId ME{PLAYER_PORTRAIT_ID};
constexpr ImageId HOST{PERSON_PORTRAIT};

// clang-format off
constexpr Cue CEREMONY[] = {
    cue::say(1, ME, 33050_t),
    cue::walk(0, cue::mover(ObjId(0), 251, 319, 5)),
    cue::pairs(33051_t, 33056_t, cue::box(1, ME), cue::box(1, HOST)),
    cue::say(1, HOST, 33057_t),
    cue::pairs(33058_t, 33063_t, cue::box(1, ME), cue::box(1, HOST)),
    cue::attr(PERSON, ATTR_CLICK, 1),
    // The first gesture: 46642, 46643, then 46650, half a second each.
    cue::frame_steps(PERSON, FrameId(GESTURE_A_FIRST), 1, GESTURE_A_STEPS, GESTURE_A_MS),
    cue::show_frame(PERSON, FrameId(GESTURE_B_FIRST)),
    cue::wait(GESTURE_A_MS),
    cue::music(CEREMONY_MUSIC, 1),
    cue::call(ceremony_second_gesture),
    cue::music(TRIALS_AFTER_QUIZ_PIECE, 0),
    cue::show_frame(PERSON, FrameId(PERSON_AFTER)),
    cue::say(1, ME, 33064_t),
    cue::say(1, HOST, 33065_t),
    // The guide comes in through the door of the trial room.
    cue::place_on(GUIDE, MapId(224), 146, 351, FrameId(GUIDE_FRAME)),
    cue::on(GUIDE),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(GUIDE, 290, 288, 7)),
    cue::frame(GUIDE, FrameId(GUIDE_STANDING)),
    cue::bubble(GUIDE, 33066_t),
    cue::pairs(33067_t, 33073_t, cue::box(1, HOST), cue::box(1, ME)),
    cue::bubble(GUIDE, 33074_t),
    cue::say(1, HOST, 33075_t),
    cue::bubble(GUIDE, 33076_t),
    cue::say(1, ME, 33077_t),
    cue::say(1, HOST, 33078_t),
    cue::call(ceremony_marks),
    cue::stage(GUIDE, GUIDE_HONOUR_WALK),
    cue::stage(ObjId(TRIALS_MEETING_POINT), 4),
    cue::off(ObjId(HALL_BARRIER_HONOUR)),
    cue::off(ObjId(HALL_BLOCK_HONOUR)),
    cue::on(ObjId(HALL_DOOR_HONOUR)),
};
// clang-format on
static_assert(cues_valid(CEREMONY));
// The zone hides itself before the scene, so nothing in it can fire it again.
constexpr StepZone CEREMONY_ZONE{.kind = ZONE_ONCE, .cues = CEREMONY};

// ---- Person 234 -----------------------------------------------------------------------------

constexpr Cell PERSON_TALK[] = {stage(0, EVERY_STAGE), line(person_at(HOST, 1), 33079_t)};
static_assert(cells_valid(PERSON_TALK));
constexpr TalkRow PERSON_CLICK{.far = 300, .turn = TURN_PLAYER_ONLY, .cells = PERSON_TALK};

} // namespace

s32 grid_point_at(s32 x, s32 y) {
    if (x < GRID_AREA_LEFT || x > GRID_AREA_RIGHT || y < GRID_AREA_TOP || y > GRID_AREA_BOTTOM)
        return -1;
    for (s32 i = 0; i < GRID_POINTS; ++i)
        for (s32 j = 0; j < GRID_POINTS; ++j)
            if (in_box(x, GRID_COORDS[size_t(i)], GRID_BOX_DX) &&
                in_box(y, GRID_COORDS[size_t(j)], GRID_BOX_DY))
                return i * GRID_POINTS + j;
    return -1;
}

// ---- Scripts --------------------------------------------------------------------------------

void object_event_0709() {
    if (script_on(TRIG_TIMER)) route_run(GUIDE_ROUTE);
    if (script_on(TRIG_CLICK)) talk_run(GUIDE_CLICK);
}

void object_event_0710() {
    if (!script_on(TRIG_CLICK) || too_far_guard(300)) return;
    const s32 stage = script_stage(script_self());
    if (stage >= 0 && stage < s32(std::size(STATION_STAGES))) STATION_STAGES[size_t(stage)]();
}

void object_event_0711() {
    step_zone(EXIT_GUARD);
}

void object_event_0713() {
    if (script_on(TRIG_CLICK)) talk_run(PERSON_CLICK);
}

void object_event_0714() {
    step_zone(CEREMONY_ZONE);
}

// ---- Frames ---------------------------------------------------------------------------------

void city_trials_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    frames_of_turn(v, GUIDE_CLICK.frames);
    for (s32 f = GUIDE_WALK_FIRST; f <= GUIDE_WALK_LAST; ++f) v(f);
    cues_frames(v, CEREMONY);
    for (s32 f = PERSON_FIRST; f <= GESTURE_B_LAST; ++f) v(f);
    for (const GridBoard& b : GRID_BOARDS) v(b.image);
    v(GRID_MARK);
    v(PICTURE_BACK);
    v(PICTURE_QUESTION);
    for (s32 k = 0; k < PICTURE_ANSWERS; ++k) v(PICTURE_ANSWER_FIRST + k);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {709, object_event_0709}, {710, object_event_0710}, {711, object_event_0711},
    {713, object_event_0713}, {714, object_event_0714},
};
static_assert(slots_distinct(SLOTS));
// 712 (object 1132 of map 230) belongs to the city's residents.
constexpr SlotRange COMPLETE[] = {{709, 711}, {713, 714}};
} // namespace

std::span<const ScriptSlot> city_trials_slots() {
    return SLOTS;
}

ScriptRegion city_trials_region() {
    return {.owner = CITY_TRIALS_OWNER, .slots = city_trials_slots, .complete = COMPLETE};
}
