#include "scripts/home/teachers.h"

#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/episode_state.h"
#include "scripts/quiz.h"
#include "scripts/routes.h"

#include <array>

EPISODE_COUNTER(board_quiz_score, 0);
EPISODE_COUNTER(riddle_quiz_right, 0);

namespace {
using namespace cell;

constexpr s32 DISH_OPTION_TEXT = 20496; // the option of dish k is this + k
constexpr s32 PLAYER_BOX = 3;           // the dish teacher's and the riddle teacher's player box
constexpr s32 BOARD_PASS = 9;           // the board quiz's passing score; ten right count as nine
constexpr s32 RIDDLES = 16;             // the riddle quiz passes with all of them right

// ---- Conditions of the teachers' own -----------------------------------------------------------

bool in_year_1() {
    return world_state.year == 1;
}
bool in_year_2() {
    return world_state.year == 2;
}
// The dish teacher's story: item 1843 never owned while story flag 31 is above 0.
bool dish_story_open() {
    return player_record.item_tally[1843] == 0 && player_record.story_flags[31] > 0;
}
bool board_passed() {
    return board_quiz_score == BOARD_PASS;
}
bool board_middling() {
    return board_quiz_score >= 4 && board_quiz_score < BOARD_PASS;
}
bool riddles_all_right() {
    return riddle_quiz_right == RIDDLES;
}

// ---- Object 182: growth 20 after a long first talk ----------------------------------------------

// clang-format off
constexpr Cell MAP42_TALK[] = {
    stage(0), run(20181_t, 20198_t, SELF, PLAYER), to(1),
    teach({.growth = 20, .exp = 100, .known_list = 20, .known_id = 3}),
    stage(1), when(test(in_year_1)), S(20199_t), orwhen(test(in_year_2)), S(19050_t), end(),
    stage(2), when(flag_is(85_flag, 1)), S(29115_t), P(3, 29116_t), otherwise(), S(18980_t), end(),
};
// clang-format on
static_assert(cells_valid(MAP42_TALK));
constexpr Resident MAP42_TEACHER{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 31770, .limit = 31820, .step = 2, .pause = 10},
    .talk = {.far = 150, .frames = {31822, 31826, 31822, 31824}, .cells = MAP42_TALK},
};

// ---- Object 183: the dish ---------------------------------------------------------------------

s32 dish_picked = -1; // the item of the dish handed over in this talk (-1: none)

// The menu of the owned dishes at fixed places; the dish picked is taken.
void dish_hand_over() {
    std::array<s32, DISH_COUNT> options{};
    for (s32 k = 0; k < DISH_COUNT; ++k)
        options[size_t(k)] = inv_has(DISH_FIRST + k) != 0 ? DISH_OPTION_TEXT + k : -1;
    const s32 k = choose(PLAYER_BOX, PLAYER_PORTRAIT, options[0], options[1], options[2],
                         options[3], options[4]);
    dish_picked = k >= 0 && k < DISH_COUNT && options[size_t(k)] >= 0 ? DISH_FIRST + k : -1;
    if (dish_picked >= 0) inv_remove(dish_picked, 1);
}
bool dish_is_the_lesson() {
    return dish_picked == DISH_LESSON;
}
bool owns_the_lesson_dish() {
    return inv_has(DISH_LESSON) != 0;
}

constexpr Cue DISH_TASTED[] = {
    cue::frame_steps(183_obj, 31828_f, 1, 10, 200),
    cue::show_frame(183_obj, 31828_f),
};
static_assert(cues_valid(DISH_TASTED));

constexpr Speaker DISH_PLAYER = player_at(PLAYER_BOX);
// Stages 4 and 5: nothing sets them yet. Stage 4 tells the story when stage 3 would (then stage
// 5) and gives the reward otherwise; stage 5 gives the reward; the reward leads back to stage 3.
// clang-format off
#define DISH_REWARD                                                                                \
    P(3, 63987_t), S(63988_t), P(3, 63989_t), S(63990_t), play_sound(566, 1), S(63991_t),          \
        P(3, 63992_t), S(63993_t), P(3, 63994_t), give(2399_item, 1)
// clang-format on
// clang-format off
constexpr Cell DISH_TALK[] = {
    stage(0), S(20200_t), P(3, 20201_t), S(20202_t), to(1),
    stage(1), S(20203_t),
    when(test(owns_the_lesson_dish)), menu_at(3, 1000_img, 20204_t, 20205_t, 20477_t),
        option(0), S(20481_t),
        option(1), S(20226_t),
        option(2), call(dish_hand_over),
            S(20478_t), scene(DISH_TASTED),
            when(test(dish_is_the_lesson)),
                S(20480_t), run(20482_t, 20493_t, DISH_PLAYER, SELF), to(2),
                teach({.growth = 19, .exp = 200, .known_list = 19, .known_id = 0}), learn(19, 1),
            otherwise(), S(20479_t),
            end(),
        end(),
    otherwise(), menu_at(3, 1000_img, 20204_t, 20205_t),
        option(0), S(20481_t),
        option(1), S(20226_t),
        end(),
    end(),
    stage(2), S(20495_t), choice_at(3, 1000_img, 20494_t, 20205_t),
        option(0), run(20485_t, 20493_t, SELF, DISH_PLAYER),
        end(),
    stage(3), when(test(dish_story_open)), run(29118_t, 29124_t, SELF, DISH_PLAYER),
        otherwise(), S(29125_t), end(),
    stage(4), when(test(dish_story_open)), run(29118_t, 29124_t, SELF, DISH_PLAYER), to(5),
        otherwise(), DISH_REWARD, to(3), end(),
    stage(5), DISH_REWARD, to(3),
};
// clang-format on
#undef DISH_REWARD
static_assert(cells_valid(DISH_TALK));
constexpr Resident DISH_TEACHER_ROW{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 32034, .limit = 32072, .step = 2, .pause = 10},
    .talk = {.frames = {32076, 32074, 32078, 32074},
             .keep_frame = false,
             .end_frame = 32034,
             .cells = DISH_TALK},
};

// ---- Objects 184 and 185: the fee teacher and its companion -------------------------------------

constexpr Speaker FEE_VOICE = person(1005_img);
constexpr Speaker COMPANION_VOICE = person(1055_img);
// clang-format off
constexpr Cell FEE_TALK[] = {
    stage(0), run(20252_t, 20258_t, FEE_VOICE, PLAYER), teach({.growth = 30, .exp = 100}), to(1),
    stage(1), N(1005_img, 20259_t),
    // The fee is taken whatever the money (money_add stops at 0).
    stage(2), N(1005_img, 26541_t), choice(26542_t, 26543_t),
        option(0), N(1005_img, 26544_t), P(26545_t), N(1005_img, 26546_t), money(-1000), to(3),
        end(),
    stage(3), N(1005_img, 26547_t),
        when(!is_active(2373_obj)), run(26548_t, 26551_t, PLAYER, FEE_VOICE), to(4), end(),
    stage(4), N(1005_img, 26547_t),
    stage(5), P(26566_t), N(1005_img, 26567_t),
};
// clang-format on
static_assert(cells_valid(FEE_TALK));
constexpr Resident FEE_TEACHER_ROW{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 31851, .limit = 31887, .step = 2, .pause = 10},
    .talk = {.far = 70, .frames = {-31893, 31893, 31851, -31851}, .cells = FEE_TALK},
};
// clang-format off
constexpr Cell COMPANION_TALK[] = {
    stage(0), run(20247_t, 20250_t, PLAYER, COMPANION_VOICE), to(1), meet(55_person, 50),
    stage(1), N(1055_img, 20251_t),
};
// clang-format on
static_assert(cells_valid(COMPANION_TALK));
constexpr Resident FEE_COMPANION_ROW{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 31900, .limit = 31944, .step = 2, .pause = 10},
    .talk = {.far = 70, .frames = {-31900, 31900, -31950, 31950}, .cells = COMPANION_TALK},
};

// ---- Object 186: the meeting of the two on map 40 -----------------------------------------------

constexpr Voice FEE_BOX = cue::box(1, 1005_img);
constexpr Voice COMPANION_BOX = cue::box(2, 1055_img);
constexpr Cue MEETING[] = {
    cue::cursor(2),
    cue::off(186_obj),
    cue::turn_toward_point(1073, 571),
    cue::pan_by(-100, 0, 5),
    cue::frames(185_obj, 31900_f, 31920_f, 2, 200),
    cue::say(2, 1055_img, 20231_t),
    cue::frames(184_obj, 31851_f, 31867_f, 2, 200),
    cue::pairs(20232_t, 20238_t, FEE_BOX, COMPANION_BOX),
    cue::pan_by(100, 0, 5),
    cue::say(3, 1000_img, 20239_t),
    cue::walk(0, cue::mover(0_obj, 1102, 590, 8)),
    cue::frame(0_obj, -418_f),
    cue::frame(185_obj, 31946_f),
    cue::say(3, 1000_img, 20240_t),
    cue::frame(185_obj, 31922_f),
    cue::say(2, 1055_img, 20241_t),
    cue::frame(185_obj, 31900_f),
    cue::frame(0_obj, 420_f),
    cue::say(3, 1000_img, 20242_t),
    cue::frames(184_obj, 31859_f, 31867_f, 2, 200),
    cue::say(1, 1005_img, 20243_t),
    cue::frame(185_obj, 31946_f),
    cue::frame(0_obj, -418_f),
    cue::say(2, 1055_img, 20244_t),
    cue::say(3, 1000_img, 20245_t),
    cue::say(1, 1005_img, 20246_t),
    cue::attr(0_obj, ATTR_SHADOW, 1),
    cue::attr(0_obj, ATTR_LAYER, 3),
    cue::attr(0_obj, ATTR_CLICK, 1),
    cue::cursor(13),
};
static_assert(cues_valid(MEETING));

// ---- Object 187: the long walk and the lesson at its end
// -----------------------------------------

constexpr s32 WALK_SPEED = 5;
constexpr s32 WALK_REARM = 6;
using namespace route;
// Stages 0-1: standing, with a drawn pause at the wrap.
constexpr RouteStep standing_idle() {
    RouteStep s = idle(0, 31952_f, 32000_f, 2, WALK_REARM, 100).through(1);
    s.cycle.pause_rand = 200;
    return s;
}
constexpr RouteStep WALK_STEPS[] = {
    standing_idle(),
    go(2, 387, 325, place_self(42_map, 564, 896, 5972_f)),
    go(3, 790, 948),
    go(4, 838, 888),
    go(5, 802, 826),
    go(6, 1166, 528),
    go(7, 1304, 612, place_self(41_map, 147, 1293, 5972_f)),
    go(8, 747, 1197),
    go(9, 840, 1023),
    go(10, 1239, 834),
    go(11, 1551, 1008),
    go(12, 1617, 891),
    go(13, 1500, 560),
    go(14, 1326, 615),
    go(15, 1143, 363),
    go(16, 1573, 217),
    go(17, 2406, 495),
    go(18, 2274, 768),
    go(19, 2268, 930),
    go(20, 2409, 1068),
    go(21, 2484, 1005, place_self(43_map, 125, 408, 5952_f)),
    go(22, 291, 415),
    go(23, 378, 300, at_frame(33982_f)),
};
// Until 18:00 the walk and the teaching idle; from 18:00 the walk only, so that the teacher
// stands still at its last spot.
constexpr auto WALK_DAY_STEPS = [] {
    std::array<RouteStep, std::size(WALK_STEPS) + 1> out{};
    for (size_t i = 0; i < std::size(WALK_STEPS); ++i) out[i] = WALK_STEPS[i];
    out.back() =
        idle(WALK_LESSON_STAGE, 33982_f, 34034_f, 2, WALK_REARM, 7).through(ROUTE_STAGE_MAX);
    return out;
}();
constexpr RouteWindow WALK_WINDOWS[] = {
    window(0, 0, 17, 59, WALK_DAY_STEPS),
    window(18, 0, 23, 59, WALK_STEPS),
};
constexpr Route WALK_ROUTE{.interval = WALK_REARM, .speed = WALK_SPEED, .windows = WALK_WINDOWS};

// clang-format off
constexpr Cell WALKER_TALK[] = {
    stage(0), run(20260_t, 20268_t, SELF, PLAYER), to(1),
    stage(1), S(20268_t),
    stage(2, 23), S(10331_t),
    stage(24), run(10332_t, 10340_t, PLAYER, SELF), to(25), give(2220_item, 1),
        teach({.growth = 16, .exp = 100}),
    stage(25), S(10341_t),
};
// clang-format on
static_assert(cells_valid(WALKER_TALK));
constexpr TalkRow WALKER_STILL{.frames = {32008, 32008, 32004, 32006}, .cells = WALKER_TALK};
constexpr TalkRow WALKER_ON_ITS_WAY{.frames = {-5952, 5952, -5972, 5972}, .cells = WALKER_TALK};
// ---- Object 188: the board quiz and the pacing -------------------------------------------------

constexpr TurnFrames BOARD_TURN{-4852, 4852, -4872, 4872};
constexpr std::array<s32, 10> BOARD_RIGHT{2, 3, 2, 0, 1, 0, 0, 2, 1, 2};
constexpr auto BOARD_QUESTIONS = [] {
    std::array<QuizQuestion, BOARD_RIGHT.size()> out{};
    for (s32 q = 0; q < s32(out.size()); ++q) {
        QuizQuestion& x = out[size_t(q)];
        x.bubbles[0] = 10860 + q;
        for (s32 k = 0; k < QUIZ_OPTIONS; ++k) x.options[size_t(k)] = 10870 + 4 * q + k;
        x.right = BOARD_RIGHT[size_t(q)];
    }
    return out;
}();
constexpr Quiz BOARD_QUIZ{
    .questions = BOARD_QUESTIONS, .right_line = 10920, .wrong_base = 10910, .wrong_player = 10921};
static_assert(quiz_valid(BOARD_QUIZ));

s32 board_talk_pos = 3; // the player's box of the talk under way

void board_quiz() {
    const s32 right = quiz_run(BOARD_QUIZ, script_self(), board_talk_pos);
    board_quiz_score = right < BOARD_PASS ? right : BOARD_PASS;
}

#define BOARD_PASS_LINES run(10930_t, 10945_t, SELF, PLAYER), teach({.growth = 12, .exp = 200})
// clang-format off
constexpr Cell BOARD_TALK[] = {
    stage(0), run(20332_t, 20336_t, SELF, PLAYER), run(20337_t, 20342_t, SELF, PLAYER),
        when(hour_in(0, 10)), S(10922_t), to(1),
        orwhen(hour_in(11, 12)), S(10923_t), menu(20274_t, 20275_t),
            option(0), call(board_quiz),
                when(test(board_passed)), BOARD_PASS_LINES, learn(12, 0),
                orwhen(test(board_middling)), S(10926_t), to(2), end(),
            option(1), to(1),
            end(),
        otherwise(), S(10924_t), to(2),
        end(),
    stage(1), when(hour_in(11, 12)), S(10929_t), menu(20274_t, 20275_t),
            option(0), call(board_quiz),
                when(test(board_passed)), BOARD_PASS_LINES, learn(12, 0), learn(12, 58),
                orwhen(test(board_middling)), S(10926_t), to(2), end(),
            end(),
        otherwise(), S(10925_t), end(),
    stage(2), when(knows(12, 57)), run(16278_t, 16281_t, PLAYER, SELF), P(16283_t), S(16284_t),
            teach({.growth = 12, .exp = 200}), to(3),
        otherwise(), S(10925_t), end(),
    stage(3), S(10925_t),
};
// clang-format on
#undef BOARD_PASS_LINES
static_assert(cells_valid(BOARD_TALK));

void board_click() {
    const s32 self = script_self();
    label_remove(self);
    const s32 kept = frame_keep(self);
    const TalkContext ctx{.self = self, .turn = turn_to_talk(BOARD_TURN), .partner = -1};
    board_talk_pos = ctx.turn.pos;
    cells_run_stage(BOARD_TALK, ctx);
    frame_restore(self, kept);
}

// The pacing, by ATTR_VAR_B: 0 to the board, 1 working there, 2 back.
constexpr s32 BOARD_MAP = 32;
constexpr s32 BOARD_WORK_FIRST = 32010, BOARD_WORK_LAST = 32028, BOARD_STANDING = 4852;
void board_reached() {
    const s32 self = script_self();
    if (world_state.current_map != BOARD_MAP || attr_get(self, ATTR_VAR_B) != 0) return;
    label_add(self, 20344, -152, -120, 5000);
    obj_set_frame(self, BOARD_WORK_FIRST);
    attr_set(self, ATTR_VAR_B, 1);
}
void board_work() {
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER, 12);
    const s32 frame = obj_get_frame(self) + 2;
    if (frame > BOARD_WORK_LAST) {
        obj_set_frame(self, BOARD_STANDING);
        attr_set(self, ATTR_VAR_B, 2);
    } else {
        obj_set_frame(self, frame);
    }
}
constexpr RouteStep PACING_STEPS[] = {
    stay(0, 251, 336, act(board_reached)),
    custom(1, board_work),
    go(2, 332, 255, at_frame(FrameId(BOARD_STANDING)), then_stage(0))
        .before(remark_on(188_obj, 20345_t, -40, -120, 1500, MapId(BOARD_MAP))),
};
constexpr RouteWindow PACING_WINDOWS[] = {always(PACING_STEPS)};
constexpr Route PACING{
    .interval = 10, .speed = 12, .stage_var = STAGE_VAR_B, .windows = PACING_WINDOWS};

// ---- Object 200: the item exchange
// ---------------------------------------------------------------

constexpr TurnFrames ITEM_TURN{32449, 32449, 32447, 32448};
void item_teacher_turns() {
    turn_to_talk(ITEM_TURN);
}
constexpr Cue ITEM_SHOWN[] = {cue::frame_steps(200_obj, 32412_f, 1, 14, 200)};
static_assert(cues_valid(ITEM_SHOWN));
// clang-format off
constexpr Cell ITEM_TALK[] = {
    stage(0), run(20346_t, 20349_t, SELF, PLAYER), scene(ITEM_SHOWN),
        run(20350_t, 20351_t, SELF, PLAYER), call(item_teacher_turns),
        run(20352_t, 20358_t, SELF, PLAYER), to(1),
    stage(1), S(10566_t),
        when(has_item(901_item)), menu(10567_t, 10568_t),
            option(0), run(10569_t, 10587_t, SELF, PLAYER), give(950_item, 1), take(901_item, 1),
                teach({.growth = 11, .exp = 100}), to(2), learn(11, 0),
            end(),
        end(),
    stage(2), S(10588_t), to(3),
    stage(3), run(10604_t, 10606_t, SELF, PLAYER), menu(10607_t, 10608_t, 10609_t, 10610_t),
            option(2), S(10611_t), teach({.growth = 11, .exp = 100}),
            option(0), S(10612_t),
            option(1), S(10612_t),
            option(3), S(10612_t),
        end(), to(4),
    stage(4), S(10588_t),
    stage(5), S(29173_t),
};
// clang-format on
static_assert(cells_valid(ITEM_TALK));
constexpr IdleCycle ITEM_IDLE{.rearm = 10, .start = 32412, .limit = 32446, .step = 1, .pause = 20};
constexpr TalkRow ITEM_ROW{.frames = ITEM_TURN, .cells = ITEM_TALK};

// ---- Object 204: the riddles
// ----------------------------------------------------------------------

constexpr auto RIDDLE_QUESTIONS = [] {
    std::array<QuizQuestion, RIDDLES> out{};
    for (s32 q = 0; q < RIDDLES; ++q) {
        QuizQuestion& x = out[size_t(q)];
        x.bubbles[0] = 10768 + q;
        for (s32 k = 0; k < QUIZ_OPTIONS; ++k) x.options[size_t(k)] = 10784 + 4 * (q / 4) + k;
        x.right = q % 4;
    }
    return out;
}();
constexpr Quiz RIDDLE_QUIZ{.questions = RIDDLE_QUESTIONS};
static_assert(quiz_valid(RIDDLE_QUIZ));
void riddle_quiz() {
    riddle_quiz_right = quiz_run(RIDDLE_QUIZ, script_self(), PLAYER_BOX);
}
// clang-format off
constexpr Cell RIDDLE_TALK[] = {
    stage(0), S(10765_t), choice_at(3, 1000_img, 10766_t, 10767_t),
        option(0), call(riddle_quiz),
            when(test(riddles_all_right)), S(10801_t), P(3, 10802_t), to(1),
                teach({.growth = 30, .exp = 50}),
            otherwise(), S(10803_t), P(3, 10804_t), to(2), end(),
        option(1), S(10805_t),
        end(),
    stage(1), S(10801_t),
    stage(2), S(10806_t),
};
// clang-format on
static_assert(cells_valid(RIDDLE_TALK));
constexpr Resident RIDDLE_TEACHER_ROW{
    .idle_on = true,
    .idle = {.rearm = 5, .start = 32548, .limit = 32564, .step = 2, .pause = 5},
    .talk = {.far = 300,
             .clear = CLEAR_PLAYER,
             .frames = {-32566, 32566, -32532, 32532},
             .keep_frame = false,
             .end_frame = 32532,
             .cells = RIDDLE_TALK},
};

} // namespace

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0089() {
    resident_run(MAP42_TEACHER);
}

void object_event_0090() {
    dish_picked = -1;
    resident_run(DISH_TEACHER_ROW);
}

void object_event_0091() {
    resident_run(FEE_TEACHER_ROW);
}

void object_event_0092() {
    resident_run(FEE_COMPANION_ROW);
}

void object_event_0093() {
    if (script_on(TRIG_STEP)) cues_run(MEETING);
}

void object_event_0094() {
    if (script_on(TRIG_TIMER)) route_run(WALK_ROUTE);
    if (script_on(TRIG_CLICK))
        talk_run(script_stage(script_self()) < WALK_FIRST_STAGE ? WALKER_STILL : WALKER_ON_ITS_WAY);
}

void object_event_0095() {
    if (script_on(TRIG_TIMER)) route_run(PACING);
    if (script_on(TRIG_CLICK)) board_click();
}

void object_event_0104() {
    if (script_on(TRIG_TIMER)) idle_cycle(ITEM_IDLE);
    if (!script_on(TRIG_CLICK)) return;
    TalkRow row = ITEM_ROW;
    if (script_stage(script_self()) == 0) {
        const s32 own = obj_get_frame(script_self());
        row.frames = {own, own, own, own};
    }
    talk_run(row);
}

void object_event_0108() {
    resident_run(RIDDLE_TEACHER_ROW);
}

// ---- Frames ----------------------------------------------------------------------------------

namespace {
struct FrameSpan {
    s32 first, last, step;
};
// The idle loops, the runs and the walking blocks; the turns and scenes are visited from their
// rows.
constexpr FrameSpan SHOWN_RUNS[] = {
    {31770, 31820, 2}, {32034, 32072, 2}, {31828, 31837, 1}, {31851, 31887, 2},
    {31900, 31944, 2}, {31952, 32000, 2}, {33982, 34034, 2}, {32010, 32028, 2},
    {32412, 32446, 1}, {32532, 32564, 2}, {4850, 4899, 1},   {5950, 5999, 1},
};
} // namespace

void teachers_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const FrameSpan& r : SHOWN_RUNS)
        for (s32 f = r.first; f <= r.last; f += r.step) visit(f, ctx);
    for (const TalkRow* row : {&MAP42_TEACHER.talk, &DISH_TEACHER_ROW.talk, &FEE_TEACHER_ROW.talk,
                               &FEE_COMPANION_ROW.talk, &WALKER_STILL, &WALKER_ON_ITS_WAY,
                               &ITEM_ROW, &RIDDLE_TEACHER_ROW.talk})
        frames_of_turn(v, row->frames);
    frames_of_turn(v, BOARD_TURN);
    for (const s32 f : {5972, 5952, 33982, 4852, 32034, 32532}) visit(f, ctx);
    for (const std::span<const Cue> scene :
         {std::span<const Cue>(MEETING), std::span<const Cue>(DISH_TASTED),
          std::span<const Cue>(ITEM_SHOWN)})
        cues_frames(v, scene);
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {89, object_event_0089}, {90, object_event_0090},  {91, object_event_0091},
    {92, object_event_0092}, {93, object_event_0093},  {94, object_event_0094},
    {95, object_event_0095}, {104, object_event_0104}, {108, object_event_0108},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{89, 95}, {104, 104}, {108, 108}};
} // namespace

std::span<const ScriptSlot> home_teachers_slots() {
    return SLOTS;
}

ScriptRegion home_teachers_region() {
    return {.owner = HOME_TEACHERS_OWNER, .slots = home_teachers_slots, .complete = COMPLETE};
}
