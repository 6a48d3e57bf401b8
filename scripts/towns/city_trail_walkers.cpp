#include "scripts/towns/city_trail_walkers.h"

#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/world/object.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/episode_kit.h"
#include "scripts/routes.h"
#include "scripts/towns/gates_and_tellers.h"
#include "scripts/zones.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

using namespace cell;

constexpr s32 REMARK_MS = 2000;

constexpr IdleCycle idle(s32 rearm, s32 start, s32 limit, s32 step, s32 pause) {
    return {.rearm = rearm, .start = start, .limit = limit, .step = step, .pause = pause};
}
// An idle cycle with a remark at one of its frames (shown while the player is on its map).
constexpr IdleCycle remarked(IdleCycle c, s32 frame, s32 text, s32 dx, s32 dy) {
    c.remark_frame = frame;
    c.remark_text = text;
    c.remark_dx = dx;
    c.remark_dy = dy;
    c.remark_ms = REMARK_MS;
    return c;
}
constexpr TalkRow talk(TurnFrames frames, std::span<const Cell> cells) {
    return {.far = 300, .frames = frames, .cells = cells};
}

// ---- The fortune teller (1010) and resident 1060 --------------------------------------------

constexpr s32 CONSTITUTION_STEP = 5;
constexpr s32 CONSTITUTION_MAX = 100;
constexpr s32 TEXT_CONSTITUTION_UP = 486, TEXT_CONSTITUTION_DOWN = 487;
constexpr s32 TEXT_ATTR_UP = 430;
constexpr s32 ATTR_MAX = 100;

void constitution_up() {
    s32& c = player_record.constitution;
    c = std::min(c + CONSTITUTION_STEP, CONSTITUTION_MAX);
    log_text_number(TEXT_CONSTITUTION_UP, c);
}
void constitution_down() {
    s32& c = player_record.constitution;
    c = std::max(c - CONSTITUTION_STEP, 0);
    log_text_number(TEXT_CONSTITUTION_DOWN, c);
}
void sixth_attribute_up() {
    s32& a = player_record.attr[5];
    a = std::min(a + 5, ATTR_MAX);
    log_text_number(TEXT_ATTR_UP, a);
}

// clang-format off
constexpr Cell TALK_1008[] = {stage(0, EVERY_STAGE), S(33340_t)};
static_assert(cells_valid(TALK_1008));
constexpr Cell TALK_1009[] = {
    stage(0), S(33341_t),
    stage(1, EVERY_STAGE), S(29127_t),
};
static_assert(cells_valid(TALK_1009));
// The fortune is told once, at an even chance either way.
constexpr Cell TALK_1010[] = {
    stage(0), S(33421_t), choice(33422_t, 33423_t),
        option(0),
            when(chance(5, 10)), S(33424_t), call(constitution_up),
            otherwise(), S(33425_t), call(constitution_down),
            end(),
            to(1),
        end(),
    stage(1, EVERY_STAGE), S(33426_t),
};
static_assert(cells_valid(TALK_1010));
constexpr Cell TALK_1015[] = {stage(0, EVERY_STAGE), S(33520_t)};
static_assert(cells_valid(TALK_1015));
constexpr Cell TALK_1026[] = {
    stage(0), S(25539_t), to(1),
    stage(1), S(25544_t),
        when(has_item(2269_item)),
            P(25548_t), S(25549_t), P(25550_t), to(2), take(2269_item, 1), give(2373_item, 1),
        end(),
    stage(2), S(25551_t),
    stage(3), S(29131_t),
};
static_assert(cells_valid(TALK_1026));
constexpr Cell TALK_1033[] = {stage(0, EVERY_STAGE), S(33640_t)};
static_assert(cells_valid(TALK_1033));
// The seller offers its item on every click while the money lasts.
constexpr Cell TALK_1043[] = {
    stage(0, EVERY_STAGE), S(26523_t), S(33214_t),
        when(money_from(20)),
            choice(33215_t, 33216_t),
                option(0), give(2375_item, 1), money(-20),
            end(),
        otherwise(), P(2, 33217_t),
        end(),
};
static_assert(cells_valid(TALK_1043));
constexpr Cell TALK_1060[] = {
    stage(0),
        B(1061_obj, 34910_t), S(34911_t), B(1061_obj, 34912_t), B(1061_obj, 34913_t),
        B(1061_obj, 34914_t), B(1061_obj, 34915_t), B(1061_obj, 34916_t),
        S(34917_t), S(34918_t), S(34919_t), S(34920_t), S(34921_t), S(34922_t), S(34923_t),
        B(1061_obj, 34924_t), S(34925_t),
        to(1), obj_to(1061_obj, 1), call(sixth_attribute_up),
    stage(1, EVERY_STAGE), S(34900_t),
};
static_assert(cells_valid(TALK_1060));
// clang-format on

constexpr ResidentRow RESIDENTS[] = {
    {605,
     {.idle_on = true,
      .idle = remarked(idle(10, 43500, 43557, 2, 10), 43540, 35042, -150, -113),
      .talk = talk({43500, 43556, 43552, 43554}, TALK_1008)}},
    {606,
     {.idle_on = true,
      .idle = idle(10, 43002, 43048, 2, 10),
      .talk = talk({43050, -43050, -43002, 43002}, TALK_1009)}},
    {607,
     {.idle_on = true,
      .idle = remarked(idle(10, 43300, 43348, 2, 10), 43322, 33420, -20, -113),
      .talk = talk({43324, 43334, 43326, 43324}, TALK_1010)}},
    {612,
     {.idle_on = true,
      .idle = idle(20, 40569, 40584, 1, 60),
      .talk = talk({40585, 40584, 40585, 40584}, TALK_1015)}},
    {623,
     {.idle_on = true,
      .idle = idle(10, 40740, 40774, 2, 60),
      .talk = talk({40776, 40780, 40780, 40778}, TALK_1026)}},
    {630,
     {.idle_on = true,
      .idle = idle(10, 39350, 39362, 2, 20),
      .talk = talk({39350, 39350, 39350, 39350}, TALK_1033)}},
    {639,
     {.idle_on = true,
      .idle = remarked(idle(10, 43200, 43228, 2, 20), 43212, 33213, -150, -120),
      .talk = talk({43230, 43230, 43228, 43232}, TALK_1043)}},
    {649,
     {.idle_on = true,
      .idle = idle(10, 43700, 43736, 2, 20),
      .talk = talk({43740, 43742, 43700, 43738}, TALK_1060)}},
};

// The gang of map 208 (a scene of the city plays them) and the idler of map 200.
constexpr IdleRow FIGURES[] = {
    {600, idle(10, 45710, 45723, 1, 10)}, {601, idle(10, 45740, 45753, 1, 10)},
    {602, idle(10, 45650, 45663, 1, 10)}, {603, idle(10, 45680, 45693, 1, 10)},
    {615, idle(10, 41278, 41316, 2, 20)}, // 1018, and step zone 1039 that does nothing
};

// ---- Pairs -----------------------------------------------------------------------------------

// The fishing contest's invitation: the host is invited (stage 1), or, while the delivery errand
// has it parked, its stage to come back is made the invited one.
// clang-format off
constexpr Cell TALK_1013_1014[] = {
    stage(0),
        B(1014_obj, 34970_t), B(1013_obj, 34971_t), B(1014_obj, 34972_t), B(1013_obj, 34973_t),
        B(1014_obj, 34974_t), B(1013_obj, 34975_t), B(1013_obj, 34976_t), B(1014_obj, 34976_t),
        pair_to(1),
    stage(1, EVERY_STAGE),
        when(clicked(1013_obj)), S(34977_t), otherwise(), S(34978_t), end(),
};
static_assert(cells_valid(TALK_1013_1014));
constexpr Cell TALK_1016_1017[] = {
    stage(0),
        B(1016_obj, 33540_t), B(1017_obj, 33541_t), B(1016_obj, 33542_t), B(1017_obj, 33543_t),
        B(1016_obj, 33544_t),
    stage(1, EVERY_STAGE), run(29132_t, 29137_t, bubble_of(1016_obj), bubble_of(1017_obj)),
};
static_assert(cells_valid(TALK_1016_1017));
constexpr Cell TALK_1021_1022[] = {
    stage(0),
        B(1021_obj, 35000_t), B(1021_obj, 35001_t), B(1022_obj, 35002_t), B(1021_obj, 35003_t),
        B(1022_obj, 35004_t), B(1021_obj, 35005_t),
        pair_to(1),
        when(stage_of(ObjId(HOST_OBJ), HOST_DELIVERY, HOST_DELIVERY)),
            var_b_to(ObjId(HOST_OBJ), HOST_INVITED),
        otherwise(), obj_to(ObjId(HOST_OBJ), HOST_INVITED),
        end(),
    stage(1, EVERY_STAGE),
        when(clicked(1021_obj)), S(35011_t), otherwise(), S(35012_t), end(),
};
static_assert(cells_valid(TALK_1021_1022));
constexpr Cell TALK_1023_1024[] = {
    stage(0),
        B(1023_obj, 34990_t), B(1024_obj, 34991_t), B(1023_obj, 34992_t), B(1024_obj, 34993_t),
        B(1023_obj, 34994_t),
        pair_to(1),
    stage(1), when(clicked(1023_obj)), S(34995_t), otherwise(), S(34996_t), end(),
    stage(2),
        when(flag_is(38_flag, 2)),
            B(1023_obj, 29090_t), B(1024_obj, 29091_t), B(1023_obj, 29092_t),
        otherwise(), B(1023_obj, 29093_t), B(1024_obj, 29094_t),
        end(),
};
static_assert(cells_valid(TALK_1023_1024));
// The long first talk of 1027 and 1028 turns nobody; the second turns the clicked one.
constexpr Cell TALK_1027_1028_FIRST[] = {
    stage(0),
        B(1027_obj, 34930_t), B(1028_obj, 34931_t), B(1027_obj, 34932_t), B(1027_obj, 34929_t),
        B(1027_obj, 34933_t), B(1028_obj, 34934_t), B(1028_obj, 34935_t), B(1027_obj, 34936_t),
        B(1028_obj, 34937_t), B(1027_obj, 34938_t), B(1027_obj, 34939_t), B(1028_obj, 34940_t),
        B(1027_obj, 34941_t), B(1028_obj, 34942_t), B(1028_obj, 34943_t), B(1027_obj, 34944_t),
        B(1028_obj, 34945_t), B(1028_obj, 34946_t), B(1027_obj, 34947_t), B(1027_obj, 34948_t),
        B(1028_obj, 34949_t), B(1027_obj, 34950_t), B(1028_obj, 34951_t), B(1027_obj, 34952_t),
        B(1028_obj, 34953_t),
        pair_to(1),
};
static_assert(cells_valid(TALK_1027_1028_FIRST));
constexpr Cell TALK_1027_1028[] = {
    stage(1),
        B(1028_obj, 34960_t), P(34961_t), B(1028_obj, 34962_t), B(1027_obj, 34963_t),
        B(1028_obj, 34964_t), B(1027_obj, 34965_t),
        pair_to(2),
    stage(2, EVERY_STAGE), B(1027_obj, 34966_t), B(1028_obj, 34967_t),
};
static_assert(cells_valid(TALK_1027_1028));
// clang-format on

constexpr PairTalk PAIR_1013{
    .members = {{{.obj = 1013,
                  .frames = {43591, 43590, 43591, 43589},
                  .idle_on = true,
                  .idle = idle(40, 43589, 43590, 1, 100)},
                 {.obj = 1014,
                  .frames = {43593, 43594, 43592, 43592},
                  .idle_on = true,
                  .idle = idle(60, 43592, 43593, 1, 130)}}},
    .talk = {.far = 300, .cells = TALK_1013_1014},
};
constexpr PairTalk PAIR_1016{
    .members = {{{.obj = 1016,
                  .frames = {43817, 43819, 43817, 43818},
                  .idle_on = true,
                  .idle = remarked(idle(10, 43800, 43816, 1, 20), 43805, 35030, -80, -100)},
                 {.obj = 1017,
                  .frames = {43858, 43857, 43859, 43857},
                  .idle_on = true,
                  .idle = remarked(idle(10, 43840, 43856, 1, 20), 43852, 35031, -150, -80)}}},
    .talk = {.far = 300, .cells = TALK_1016_1017},
};
constexpr PairTalk PAIR_1021{
    .members = {{{.obj = 1021,
                  .frames = {44010, 44011, 44013, 44013},
                  .idle_on = true,
                  .idle = idle(10, 44000, 44010, 1, 20)},
                 {.obj = 1022,
                  .frames = {44033, 44033, 44031, 44030},
                  .idle_on = true,
                  .idle = idle(10, 44020, 44030, 1, 20)}}},
    .talk = {.far = 300, .cells = TALK_1021_1022},
};
constexpr PairTalk PAIR_1023{
    .members = {{{.obj = 1023,
                  .frames = {43935, 43935, 43934, 43934},
                  .idle_on = true,
                  .idle = idle(10, 43900, 43934, 1, 20)},
                 {.obj = 1024,
                  .frames = {39186, 39187, 39186, 39186},
                  .idle_on = true,
                  .idle = idle(10, 39153, 39186, 1, 20)}}},
    .talk = {.far = 300, .cells = TALK_1023_1024},
};
constexpr std::array<PairMember, 2> MEMBERS_1027{{{.obj = 1027,
                                                   .frames = {44450, 44450, 44450, 44470},
                                                   .idle_on = true,
                                                   .idle = idle(10, 44450, 44468, 2, 10)},
                                                  {.obj = 1028,
                                                   .frames = {-44489, 44489, -44475, 44475},
                                                   .idle_on = true,
                                                   .idle = idle(10, 44475, 44487, 2, 10)}}};
constexpr PairTalk PAIR_1027_FIRST{
    .members = MEMBERS_1027,
    .talk = {.far = 300, .turn = TURN_NOBODY, .cells = TALK_1027_1028_FIRST},
};
constexpr PairTalk PAIR_1027{.members = MEMBERS_1027,
                             .talk = {.far = 300, .cells = TALK_1027_1028}};

constexpr PairRow PAIRS[] = {
    {610, &PAIR_1013, 0}, {611, &PAIR_1013, 1}, {613, &PAIR_1016, 0}, {614, &PAIR_1016, 1},
    {618, &PAIR_1021, 0}, {619, &PAIR_1021, 1}, {620, &PAIR_1023, 0}, {621, &PAIR_1023, 1},
};

void pair_1027(s32 which) {
    const bool first_talk = script_stage(MEMBERS_1027[0].obj) == 0;
    pair_run(first_talk ? PAIR_1027_FIRST : PAIR_1027, which);
}

// ---- The companions (shown only in scenes) ---------------------------------------------------

constexpr s32 COMPANION_A_FRAME = 45202;
constexpr s32 COMPANION_B_FRAME = 45302;
constexpr s32 PORTRAIT_A = 1152, PORTRAIT_B = 1150;

// The companion answers in a box of its own portrait where the player's box would go.
void companion_click(s32 frame, s32 portrait) {
    if (!script_on(TRIG_CLICK) || too_far_guard(300)) return;
    const s32 self = script_self();
    const s32 kept = frame_keep(self);
    const TalkTurn turn = turn_to_talk({frame, frame, frame, frame});
    say(turn.pos, portrait, 33019);
    frame_restore(self, kept);
}

// ---- The city gate (step zone 1007) ----------------------------------------------------------

void open_gate() {
    attr_set(CITY_GATE_ZONE, ATTR_BLOCK, 0);
}

// clang-format off
constexpr Cell GATE[] = {
    stage(0, EVERY_STAGE),
    when(stage_of(ObjId(CITY_GATE_OPENER), 1, 1)),
        hide(ObjId(CITY_GATE_ZONE)),
        B(1002_obj, 28165_t), P(2, 28166_t), B(1002_obj, 28167_t),
        call(open_gate), show(ObjId(CITY_GATE_SHOWN)),
    otherwise(),
        show_frame_of(1001_obj, 42942_f), show_frame_of(1002_obj, 42946_f),
        B(1002_obj, 20429_t),
        show_frame_of(1001_obj, 42940_f), show_frame_of(1002_obj, 42944_f),
    end(),
};
static_assert(cells_valid(GATE));
// clang-format on

void gate_scene() {
    cells_run_stage(GATE, TalkContext{.self = script_self(), .turn = {}, .partner = -1});
}
constexpr StepZone GATE_ZONE{.kind = ZONE_LIVE, .scene = gate_scene};

// ---- The street scene (step zone 1040) -------------------------------------------------------

// The fighters' frames from before the fight, given back after it.
s32 kept_walker_frame = 0;
s32 kept_second_frame = 0;
void keep_fighters() {
    kept_walker_frame = frame_keep(CITY_STREET_WALKER);
    kept_second_frame = frame_keep(CITY_WALKER);
}
void restore_fighters() {
    frame_restore(CITY_STREET_WALKER, kept_walker_frame);
    frame_restore(CITY_WALKER, kept_second_frame);
}

// The fight, a pass every 200 ms: 1064 rises by 2 from 45900 and stays at 45936; 1041 stands at
// 45800 until 1064's frame passes 45908, then rises by 2 too; held at 45868, one pass more ends
// the fight.
constexpr s32 FIGHT_LAST_PASS = 39;
constexpr CueTrack FIGHT[] = {
    cue::track(1064_obj).ks(0, 18).frames(45900_f, 2),
    cue::track(1064_obj).ks(19, FIGHT_LAST_PASS).frames(45936_f),
    cue::track(1041_obj).ks(0, 4).frames(45800_f),
    cue::track(1041_obj).ks(5, FIGHT_LAST_PASS - 1).frames(45792_f, 2),
    cue::track(1041_obj).ks(FIGHT_LAST_PASS, FIGHT_LAST_PASS).frames(45868_f),
};

// clang-format off
constexpr Cue STREET_SCENE[] = {
    cue::say(0, 1000_img, 34355_t),
    cue::walk(0, cue::mover(0_obj, 4909, 2190, 8)),
    cue::turn_toward(1012_obj),
    cue::bubble(1012_obj, 34410_t), cue::bubble(1041_obj, 34411_t),
    cue::bubble(1012_obj, 34412_t), cue::bubble(1041_obj, 34413_t),
    cue::bubble(1012_obj, 34415_t), cue::bubble(1041_obj, 34416_t),
    cue::bubble(1064_obj, 34417_t),
    cue::call(keep_fighters),
    cue::keys(FIGHT_LAST_PASS, 200, FIGHT),
    cue::call(restore_fighters),
    cue::bubble(1012_obj, 34420_t), cue::bubble(1041_obj, 34421_t),
    cue::bubble(1012_obj, 34422_t), cue::bubble(1041_obj, 34423_t),
    cue::bubble(1012_obj, 34424_t), cue::bubble(1041_obj, 34425_t),
    cue::bubble(1064_obj, 34426_t), cue::bubble(1012_obj, 34430_t),
    cue::attr(1041_obj, ATTR_VAR_B, CITY_STREET_WALKER_FIRST_LEG),
    cue::stage(1012_obj, 1),
};
static_assert(cues_valid(STREET_SCENE));
// clang-format on
// The zone hides itself before the scene, so that nothing in it can fire it again.
constexpr StepZone STREET_ZONE{.kind = ZONE_ONCE, .cues = STREET_SCENE};

// ---- The walker 1041 -------------------------------------------------------------------------

constexpr s32 WALK_PAUSE = 25;
// clang-format off
constexpr RouteStep WALKER_LEGS[] = {
    route::go(CITY_STREET_WALKER_FIRST_LEG, 4949, 2208,
              route::obj_var_b(1064_obj, 1), route::rearm_to(WALK_PAUSE), route::then_stage(2)),
    route::go(1, 4664, 2142, route::rearm_to(WALK_PAUSE)),
    route::go(2, 4543, 2143, route::rearm_to(WALK_PAUSE)),
    route::go(3, 4224, 2320, route::rearm_to(WALK_PAUSE)),
    route::go(4, 4074, 2538, route::rearm_to(WALK_PAUSE)),
    route::go(5, 3385, 3104, route::rearm_to(WALK_PAUSE)),
    route::go(6, 2586, 2863, route::rearm_to(WALK_PAUSE)),
    route::go(7, 1238, 3847, route::rearm_to(WALK_PAUSE), route::self_off()),
};
// clang-format on
constexpr RouteWindow WALKER_WINDOWS[] = {route::always(WALKER_LEGS)};
// Re-armed every frame; a leg value without a point (0 before the street scene, 8 at the end)
// leaves it standing.
constexpr Route WALKER_ROUTE{
    .interval = 1, .speed = 7, .stage_var = STAGE_VAR_B, .windows = WALKER_WINDOWS};
constexpr Cell TALK_1041[] = {stage(0, EVERY_STAGE), S(34400_t)};
static_assert(cells_valid(TALK_1041));
constexpr TalkRow WALKER_TALK = talk({-41602, 41602, -41628, 41628}, TALK_1041);

// ---- The picture trail -----------------------------------------------------------------------

constexpr s32 TRAIL_X = 250, TRAIL_Y = 170;

// The companions come out of the player at the first picture and talk.
// clang-format off
constexpr Cue TRAIL_ARRIVAL[] = {
    cue::cursor(13),
    cue::on(1058_obj), cue::on(1059_obj),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(0_obj, 5313, 1694, 5)),
    cue::frame(1058_obj, 45202_f), cue::frame(1059_obj, 45302_f),
    cue::turn_toward(1049_obj),
};
static_assert(cues_valid(TRAIL_ARRIVAL));
constexpr Cell TRAIL_ARRIVAL_TALK[] = {
    N(1150_img, 3, 33140_t), N(1152_img, 2, 33141_t), P(2, 33142_t), N(1152_img, 2, 33143_t),
    N(1152_img, 2, 33144_t), N(1150_img, 3, 33145_t),
};
static_assert(cells_valid(TRAIL_ARRIVAL_TALK));
constexpr Cue DOOR_ARRIVAL[] = {
    cue::on(1058_obj), cue::on(1059_obj),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(0_obj, 3816, 3586, 5)),
    cue::frame(1058_obj, 45202_f), cue::frame(1059_obj, 45302_f),
    cue::turn_toward(1050_obj),
};
static_assert(cues_valid(DOOR_ARRIVAL));
constexpr Cell DOOR_TALK[] = {
    play_sound(691, 1), B(1050_obj, 33146_t), N(1152_img, 2, 33147_t),
    hide(1050_obj), show(1389_obj),
    B(1050_obj, 33148_t), P(2, 33149_t), N(1150_img, 2, 33150_t),
};
static_assert(cells_valid(DOOR_TALK));
// clang-format on

constexpr WalkOutMate mate(s32 obj, s32 frame, s32 x, s32 y) {
    return {.obj = obj, .frame = frame, .x = x, .y = y, .offset = false, .out_frame = frame};
}
constexpr WalkOut TRAIL_WALK_OUT{
    .mates = {mate(CITY_COMPANION_B, COMPANION_B_FRAME, 5401, 1702),
              mate(CITY_COMPANION_A, COMPANION_A_FRAME, 5260, 1657)},
    .cells = TRAIL_ARRIVAL_TALK,
};
constexpr WalkOut DOOR_WALK_OUT{
    .mates = {mate(CITY_COMPANION_A, COMPANION_A_FRAME, 3871, 3593),
              mate(CITY_COMPANION_B, COMPANION_B_FRAME, 3910, 3553)},
    .cells = DOOR_TALK,
};

// One picture of the trail: the guard, the player turned toward it, the picture until a click.
bool trail_picture(s32 far, s32 picture) {
    if (!script_on(TRIG_CLICK) || too_far_guard(far)) return false;
    player_turn_toward(script_self());
    picture_view(TRAIL_X, TRAIL_Y, picture);
    return true;
}
void show_obj(s32 obj) {
    attr_set(obj, ATTR_ACTIVE, 1);
}

} // namespace

void object_event_0604() {
    step_zone(GATE_ZONE);
}

void object_event_0624() {
    pair_1027(0);
}

void object_event_0625() {
    pair_1027(1);
}

void object_event_0636() {
    step_zone(STREET_ZONE);
}

void object_event_0637() {
    if (script_on(TRIG_TIMER)) route_run(WALKER_ROUTE);
    if (script_on(TRIG_CLICK)) talk_run(WALKER_TALK);
}

// The first picture. At the first click the companions arrive and talk before it; afterwards a
// click shows the picture alone.
void object_event_0641() {
    if (!script_on(TRIG_CLICK) || too_far_guard(300)) return;
    const s32 self = script_self();
    if (script_stage(self) == 0) {
        cues_run(TRAIL_ARRIVAL);
        script_set_stage(self, 1);
        companion_walk_out(TRAIL_WALK_OUT);
    }
    player_turn_toward(self);
    picture_view(TRAIL_X, TRAIL_Y, CITY_TRAIL_PICTURE);
    show_obj(CITY_TRAIL_SECOND);
    attr_set(CITY_COMPANION_A, ATTR_ACTIVE, 0);
    attr_set(CITY_COMPANION_B, ATTR_ACTIVE, 0);
}

void object_event_0642() {
    if (!trail_picture(200, CITY_TRAIL_GROUND)) return;
    script_set_stage(CITY_TRAIL_LAST, 1);
    attr_set(CITY_TRAIL_LAST, ATTR_CLICK, 1);
    attr_set(CITY_TRAIL_LAST, ATTR_CURSOR, 3);
}

void object_event_0643() {
    if (trail_picture(200, CITY_TRAIL_GROUND)) show_obj(CITY_TRAIL_THIRD);
}

void object_event_0644() {
    if (trail_picture(200, CITY_TRAIL_GROUND)) show_obj(CITY_TRAIL_SECOND);
}

// The last picture uncovers the doorway; before the third picture it does nothing.
void object_event_0645() {
    if (!script_on(TRIG_CLICK) || script_stage(script_self()) != 1 || too_far_guard(300)) return;
    cues_run(DOOR_ARRIVAL);
    companion_walk_out(DOOR_WALK_OUT);
}

void object_event_0647() {
    companion_click(COMPANION_A_FRAME, PORTRAIT_A);
}

void object_event_0648() {
    companion_click(COMPANION_B_FRAME, PORTRAIT_B);
}

// ---- Frames ---------------------------------------------------------------------------------

void city_trail_walkers_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const ResidentRow& r : RESIDENTS) {
        frames_of_cycle(v, r.r.idle);
        frames_of_turn(v, r.r.talk.frames);
    }
    for (const IdleRow& r : FIGURES) frames_of_cycle(v, r.idle);
    for (const PairTalk* p : {&PAIR_1013, &PAIR_1016, &PAIR_1021, &PAIR_1023, &PAIR_1027})
        for (const PairMember& m : p->members) {
            frames_of_cycle(v, m.idle);
            frames_of_turn(v, m.frames);
        }
    frames_of_turn(v, WALKER_TALK.frames);
    for (const s32 f : {42940, 42942, 42944, 42946}) v(f); // the guards and their refusal
    cues_frames(v, STREET_SCENE);
    cues_frames(v, TRAIL_ARRIVAL);
    v(COMPANION_A_FRAME);
    v(COMPANION_B_FRAME);
    v(CITY_TRAIL_GROUND);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr std::array<ScriptSlot, 12> OWN_SLOTS{{
    {604, object_event_0604},
    {624, object_event_0624},
    {625, object_event_0625},
    {636, object_event_0636},
    {637, object_event_0637},
    {641, object_event_0641},
    {642, object_event_0642},
    {643, object_event_0643},
    {644, object_event_0644},
    {645, object_event_0645},
    {647, object_event_0647},
    {648, object_event_0648},
}};
constexpr auto SLOTS =
    join_slots(family_slots<RESIDENTS, run_resident_row>(), family_slots<FIGURES, run_idle_row>(),
               family_slots<PAIRS, run_pair_row>(), OWN_SLOTS);
static_assert(slots_distinct(SLOTS));

// Carried by no object, so they stay empty: 638 (a walker over way-points with remarks) and 640
// (the first picture of the trail once more, then object 1046 shown).
constexpr SlotRange COMPLETE[] = {{600, 607}, {610, 615}, {618, 621}, {623, 625},
                                  {630, 630}, {636, 645}, {647, 649}};
} // namespace

std::span<const ScriptSlot> city_trail_walkers_slots() {
    return SLOTS;
}

ScriptRegion city_trail_walkers_region() {
    return {
        .owner = CITY_TRAIL_WALKERS_OWNER, .slots = city_trail_walkers_slots, .complete = COMPLETE};
}
