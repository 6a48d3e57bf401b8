#include "scripts/towns/city_scenes.h"

#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/episode_kit.h"
#include "scripts/towns/city_finale.h"
#include "scripts/towns/city_trail_walkers.h"
#include "scripts/zones.h"

#include <array>

namespace {

using namespace cell;

constexpr s32 WALK_SPEED = 5;

// The lines of a dialogue whose texts run from `first` one by one, said by the voices in order.
template <size_t N>
constexpr std::array<DialogueLine, N> lines_from(s32 first, const std::array<s32, N>& voices) {
    std::array<DialogueLine, N> out{};
    for (size_t i = 0; i < N; ++i) out[i] = DialogueLine{voices[i], first + s32(i)};
    return out;
}
// The same speakers as `lines` with texts from `first` on, one by one.
template <size_t N>
constexpr std::array<DialogueLine, N> retexted(const std::array<DialogueLine, N>& lines,
                                               s32 first) {
    std::array<DialogueLine, N> out{};
    for (size_t i = 0; i < N; ++i) out[i] = DialogueLine{lines[i].speaker, first + s32(i)};
    return out;
}

// Both companions walk onto the player's spot as it is now.
void companions_walk_in() {
    const s32 x = attr_get(0, ATTR_X);
    const s32 y = attr_get(0, ATTR_Y);
    walk2(CUE_CAMERA_STAYS, CITY_COMPANION_B, x, y, WALK_SPEED, CITY_COMPANION_A, x, y, WALK_SPEED);
}

// ---- The meeting point (slot 679) ------------------------------------------------------------

// Every box of the meeting point stands at position 2.
enum MeetVoice : s32 { M_PLAYER = 0, M_150 = 1, M_152 = 2, M_1008 = 3 };
constexpr Speaker MEET_VOICES[] = {player_at(2), person_at(1150_img, 2), person_at(1152_img, 2),
                                   bubble_of(1008_obj)};

// clang-format off
constexpr Cue MEETING_WALK[] = {
    cue::place_at_player(1058_obj, 45202_f), cue::on(1058_obj),
    cue::place_at_player(1059_obj, 45302_f), cue::on(1059_obj),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(0_obj, 1389, 2561, WALK_SPEED),
              cue::mover(1059_obj, 1292, 2640, WALK_SPEED),
              cue::mover(1058_obj, 1353, 2654, WALK_SPEED)),
    cue::turn_toward(1058_obj),
    cue::frame(1058_obj, 45202_f), cue::frame(1059_obj, 45302_f),
    cue::bubble(1008_obj, 33000_t),
};
constexpr auto MEETING_LINES = lines_from<18>(33001, {
    M_PLAYER, M_150, M_152, M_152, M_PLAYER, M_150, M_1008, M_1008, M_152,
    M_152, M_PLAYER, M_150, M_PLAYER, M_150, M_1008, M_PLAYER, M_152, M_PLAYER});
// Once met, the point blocks the way further up.
constexpr Cue MEETING_MOVES[] = {
    cue::attr(1090_obj, ATTR_BLOCK, 1),
    cue::attr(1090_obj, ATTR_X, 1292), cue::attr(1090_obj, ATTR_Y, 2488),
};
constexpr Cue STILL_BLOCKING[] = {cue::turn_toward(1059_obj)};
constexpr Cue BLOCK_ON[] = {cue::attr(1090_obj, ATTR_BLOCK, 1)};
constexpr Cue BARRED[] = {
    cue::walk(0, cue::mover(0_obj, 1249, 2693, WALK_SPEED)),
    cue::turn_toward(1008_obj),
    cue::bubble(1008_obj, 33000_t),
};
constexpr Cue CLOSED[] = {cue::off(1090_obj)};

constexpr Cue FAREWELL_OPEN[] = {cue::turn_toward(1059_obj), cue::attr(1090_obj, ATTR_BLOCK, 0)};
constexpr auto PASSED_LINES = lines_from<11>(33025, {
    M_PLAYER, M_150, M_PLAYER, M_152, M_PLAYER, M_150, M_PLAYER, M_152, M_150, M_152, M_150});
constexpr auto FAILED_LINES = lines_from<4>(33084, {M_150, M_152, M_PLAYER, M_152});
// The companions leave for good, and the trial rooms of map 230 close.
constexpr Cue FAREWELL_CLOSE[] = {
    cue::call(companions_walk_in),
    cue::attr(1058_obj, ATTR_MAP, 200), cue::off(1058_obj),
    cue::attr(1059_obj, ATTR_MAP, 200), cue::off(1059_obj),
    cue::attr(1090_obj, ATTR_X, 1262), cue::attr(1090_obj, ATTR_Y, 2549), cue::off(1090_obj),
    cue::on(1123_obj), cue::on(1124_obj), cue::on(1127_obj), cue::on(1128_obj),
    cue::off(1383_obj), cue::off(1385_obj),
};
// clang-format on
static_assert(cues_valid(MEETING_WALK) && cues_valid(MEETING_MOVES) && cues_valid(BARRED) &&
              cues_valid(FAREWELL_OPEN) && cues_valid(FAREWELL_CLOSE));

constexpr Dialogue MEETING_TALK{MEET_VOICES, MEETING_LINES, {}};
constexpr Dialogue FAREWELL_PASSED{MEET_VOICES, PASSED_LINES, {}};
constexpr Dialogue FAREWELL_FAILED{MEET_VOICES, FAILED_LINES, {}};

// clang-format off
constexpr Cell MEETING[] = {
    stage(MEETING_NOT_MET),
        scene(MEETING_WALK), dialogue(&MEETING_TALK), scene(MEETING_MOVES), to(MEETING_MET),
    stage(MEETING_MET), scene(STILL_BLOCKING), N(1150_img, 2, 33019_t), scene(BLOCK_ON),
    stage(MEETING_BARRED), scene(BARRED), P(2, 25300_t),
    stage(MEETING_CLOSED), scene(CLOSED),
    stage(MEETING_FAREWELL_PASSED),
        scene(FAREWELL_OPEN), dialogue(&FAREWELL_PASSED), scene(FAREWELL_CLOSE),
    stage(MEETING_FAREWELL_FAILED),
        scene(FAREWELL_OPEN), dialogue(&FAREWELL_FAILED), scene(FAREWELL_CLOSE),
};
// clang-format on
static_assert(cells_valid(MEETING));

void meeting_scene() {
    cells_run_stage(MEETING, TalkContext{.self = script_self(), .turn = {2, 2}, .partner = -1});
}
constexpr StepZone MEETING_ZONE{.kind = ZONE_LIVE, .scene = meeting_scene};

// ---- The west edge (slot 651) ----------------------------------------------------------------

constexpr Cue WEST_EDGE[] = {cue::frame(1060_obj, 43700_f), cue::bubble(1060_obj, 34900_t)};
static_assert(cues_valid(WEST_EDGE));
// The zone blocks the player too; 1060 speaks in its talking frame and goes on as it was.
void west_edge_scene() {
    const s32 kept = frame_keep(1060);
    cues_run(WEST_EDGE);
    frame_restore(1060, kept);
}
constexpr StepZone WEST_EDGE_ZONE{.kind = ZONE_LIVE, .scene = west_edge_scene};

// ---- The gang (slot 669) ---------------------------------------------------------------------

// The player's boxes at position 2, the gang's at position 3.
enum GangVoice : s32 { G_PLAYER = 0, G_177 = 1, G_124 = 2, G_109 = 3, G_92 = 4 };
constexpr Speaker GANG_VOICES[] = {player_at(2), person_at(1177_img, 3), person_at(1124_img, 3),
                                   person_at(1109_img, 3), person_at(1092_img, 3)};

// clang-format off
constexpr std::array<DialogueLine, 16> ASKED_FLAG1{{
    {G_PLAYER, 34530}, {G_177, 34531}, {G_124, 34532}, {G_109, 34533}, {G_92, 34534},
    {G_177, 34535}, {G_PLAYER, 34536}, {G_92, 34537}, {G_92, 34538}, {G_177, 34539},
    {G_124, 34540}, {G_PLAYER, 34541}, {G_109, 34542}, {G_PLAYER, 34550}, {G_109, 34551},
    {G_PLAYER, 34552},
}};
constexpr std::array<DialogueLine, 12> ASKED_FLAG2{{
    {G_PLAYER, 34560}, {G_177, 34561}, {G_124, 34562}, {G_109, 34563}, {G_92, 34564},
    {G_177, 34565}, {G_PLAYER, 34566}, {G_PLAYER, 34567}, {G_124, 34568}, {G_PLAYER, 34569},
    {G_92, 34570}, {G_109, 34571},
}};
constexpr std::array<DialogueLine, 11> ASKED_OTHER{{
    {G_177, 34580}, {G_124, 34581}, {G_PLAYER, 34582}, {G_109, 34583}, {G_PLAYER, 34584},
    {G_124, 34585}, {G_PLAYER, 34586}, {G_109, 34587}, {G_92, 34588}, {G_PLAYER, 34589},
    {G_124, 34590},
}};
constexpr auto PLAIN_FLAG1 = retexted(ASKED_FLAG1, 34600);
constexpr auto PLAIN_FLAG2 = retexted(ASKED_FLAG2, 34640);
constexpr auto PLAIN_OTHER = retexted(ASKED_OTHER, 34670);

constexpr DialogueLine WON_ASKED[] = {
    {G_177, 34553}, {G_177, 34554}, {G_124, 34555}, {G_109, 34556}, {G_92, 34557},
    {G_PLAYER, 34558}, {G_177, 34559},
};
constexpr DialogueLine WON_PLAIN[] = {
    {G_177, 34620}, {G_124, 34621}, {G_109, 34622}, {G_124, 34623}, {G_PLAYER, 34624},
    {G_177, 34625}, {G_PLAYER, 34626}, {G_124, 34627}, {G_PLAYER, 34628}, {G_177, 34629},
    {G_PLAYER, 34630}, {G_177, 34631},
};
// The last plain wording leaves out 34627 and 34628.
constexpr DialogueLine WON_PLAIN_SHORT[] = {
    {G_177, 34620}, {G_124, 34621}, {G_109, 34622}, {G_124, 34623}, {G_PLAYER, 34624},
    {G_177, 34625}, {G_PLAYER, 34626}, {G_177, 34629}, {G_PLAYER, 34630}, {G_177, 34631},
};
// clang-format on

// One wording of the confrontation: its talk, whether a fight follows, and the talk after a win.
struct GangWording {
    Dialogue talk;
    bool fights;
    Dialogue won;
};
constexpr GangWording GANG[] = {
    {{GANG_VOICES, ASKED_FLAG1, {}}, false, {GANG_VOICES, WON_ASKED, {}}},
    {{GANG_VOICES, ASKED_FLAG2, {}}, true, {GANG_VOICES, WON_ASKED, {}}},
    {{GANG_VOICES, ASKED_OTHER, {}}, true, {GANG_VOICES, WON_ASKED, {}}},
    {{GANG_VOICES, PLAIN_FLAG1, {}}, false, {GANG_VOICES, WON_PLAIN, {}}},
    {{GANG_VOICES, PLAIN_FLAG2, {}}, true, {GANG_VOICES, WON_PLAIN, {}}},
    {{GANG_VOICES, PLAIN_OTHER, {}}, true, {GANG_VOICES, WON_PLAIN_SHORT, {}}},
};
constexpr bool gang_valid() {
    for (const GangWording& g : GANG)
        if (!dialogue_valid(g.talk) || !dialogue_valid(g.won)) return false;
    return true;
}
static_assert(gang_valid());

// Everyone who stood in the fight is healed whatever its result.
constexpr BattleBlock GANG_FIGHT{
    .encounter = 35,
    .party = false,
    .heal_full = {.who = 0, .ids = {150, 152, 109, 124, 177, 92, -1, -1, -1, -1, -1}},
    .heal_part = {},
    .loss = LOSS_NOT_WON,
};

// clang-format off
constexpr Cue GANG_APPROACH[] = {
    cue::walk(CUE_CAMERA_STAYS, cue::mover(0_obj, 353, 414, WALK_SPEED)),
    cue::turn_toward(1003_obj),
};
constexpr Cue RENDER[] = {cue::render()};
// After a lost fight the keeper of shop 21 finds the player on map 220.
constexpr Cue GANG_LOST[] = {
    cue::fade_out_of_scene(), cue::map_change(220_map, 202, 328), cue::render(),
    cue::fade_into_scene(),
    cue::say(2, 1000_img, 34702_t), cue::bubble(1034_obj, 34703_t), cue::say(2, 1000_img, 34704_t),
};
constexpr Cue GANG_GONE[] = {
    cue::off(1044_obj), cue::off(1003_obj), cue::off(1004_obj), cue::off(1005_obj),
    cue::off(1006_obj),
};
// clang-format on
static_assert(cues_valid(GANG_APPROACH) && cues_valid(GANG_LOST) && cues_valid(GANG_GONE));

void gang_scene() {
    cues_run(GANG_APPROACH);
    const s32 v = city_gang_variant(player_record.story_flags[11], attr_get(1066, ATTR_VAR_A) == 2);
    const GangWording& g = GANG[size_t(v)];
    const TalkContext ctx{.self = script_self(), .turn = {2, 3}, .partner = -1};
    const Cell talk = dialogue(&g.talk);
    cells_run({&talk, 1}, ctx);
    const s32 result = g.fights ? battle_block(GANG_FIGHT) : 1;
    if (result == 1) {
        const Cell won[] = {scene(RENDER), fame(3), dialogue(&g.won), give(2351_item, 1)};
        cells_run(won, ctx);
    } else {
        cues_run(GANG_LOST);
    }
    cues_run(GANG_GONE);
}
constexpr StepZone GANG_ZONE{.kind = ZONE_ONCE, .scene = gang_scene};

// ---- The group on map 213 (slot 673) ---------------------------------------------------------

// Person 46's boxes at position 3, the others' at position 0.
enum GroupVoice : s32 { R_46 = 0, R_152 = 1, R_150 = 2, R_PLAYER = 3 };
constexpr Speaker GROUP_VOICES[] = {person_at(1046_img, 3), person_at(1152_img, 0),
                                    person_at(1150_img, 0), player_at(0)};
// clang-format off
constexpr auto GROUP_LINES = lines_from<13>(33153, {
    R_46, R_46, R_152, R_46, R_152, R_150, R_46, R_150, R_46, R_PLAYER, R_46, R_150, R_46});
// clang-format on
constexpr Dialogue GROUP_TALK_LINES{GROUP_VOICES, GROUP_LINES, {}};

// clang-format off
constexpr Cell GROUP_TALK[] = {
    N(1043_img, 1, 33151_t), N(1045_img, 1, 33152_t),
    dialogue(&GROUP_TALK_LINES),
    choice_at(0, 1000_img, 33166_t, 33167_t, 33168_t),
        option(0), P(0, 33169_t), N(1046_img, 3, 33170_t), P(0, 33171_t), N(1046_img, 3, 33172_t),
            chivalry(3),
        option(1), P(0, 33173_t), N(1046_img, 3, 33174_t), N(1152_img, 0, 33175_t),
            N(1046_img, 3, 33176_t), chivalry(1),
        option(2), P(0, 33177_t), N(1046_img, 3, 33178_t), N(1152_img, 0, 33179_t),
            N(1046_img, 3, 33180_t), chivalry(-2),
    end(),
    N(1046_img, 3, 33181_t), N(1046_img, 3, 33182_t),
};
constexpr Cue GROUP_APPROACH[] = {
    cue::walk(CUE_CAMERA_STAYS, cue::mover(0_obj, 263, 318, WALK_SPEED)),
    cue::turn_toward(1083_obj),
};
// The companions go back to map 200; the group, the pair and the west edge's zone are gone.
constexpr Cue GROUP_GONE[] = {
    cue::attr(1058_obj, ATTR_MAP, 200), cue::attr(1059_obj, ATTR_MAP, 200),
    cue::off(1062_obj), cue::off(1084_obj),
    cue::off(1081_obj), cue::off(1082_obj), cue::off(1083_obj), cue::off(1101_obj),
    cue::off(1102_obj), cue::off(1103_obj), cue::off(1060_obj), cue::off(1061_obj),
};
// clang-format on
static_assert(cells_valid(GROUP_TALK));
static_assert(cues_valid(GROUP_APPROACH) && cues_valid(GROUP_GONE));

constexpr WalkOut GROUP_MEETING{
    .mates = {WalkOutMate{.obj = CITY_COMPANION_A,
                          .frame = 45202,
                          .x = 302,
                          .y = 356,
                          .offset = false,
                          .out_frame = 45222},
              WalkOutMate{.obj = CITY_COMPANION_B,
                          .frame = 45302,
                          .x = 238,
                          .y = 332,
                          .offset = false,
                          .out_frame = 45322}},
    .speed = WALK_SPEED,
    .back_speed = WALK_SPEED,
    .camera = CUE_CAMERA_STAYS,
    .turn = {0, 3},
    .cells = GROUP_TALK,
    .talk = nullptr,
};

void group_scene() {
    cues_run(GROUP_APPROACH);
    companion_walk_out(GROUP_MEETING);
    cues_run(GROUP_GONE);
    player_record.story_flags[95] = 1;
}
constexpr StepZone GROUP_ZONE{.kind = ZONE_ONCE, .scene = group_scene};

// ---- The ferryman (slot 715) -----------------------------------------------------------------

// No fade-in follows the crossing: the next field frame draws the other bank.
constexpr Cue TO_227[] = {
    cue::fade_out_of_scene(),
    cue::map_change(227_map, 161, 754),
    cue::place_on(1136_obj, 227_map, 61, 648, 46700_f),
};
constexpr Cue TO_226[] = {
    cue::fade_out_of_scene(),
    cue::map_change(226_map, 1204, 357),
    cue::place_on(1136_obj, 226_map, 1100, 300, 46700_f),
};
static_assert(cues_valid(TO_227) && cues_valid(TO_226));
// clang-format off
constexpr Cell FERRY[] = {
    stage(0), P(33127_t), S(33128_t), to(1), scene(TO_227),
    stage(1), P(33133_t), S(33134_t), to(0), scene(TO_226),
};
// clang-format on
static_assert(cells_valid(FERRY));
constexpr TalkRow FERRYMAN{
    .far = 500, .frames = {46700, 46700, 46700, 46700}, .keep_frame = true, .cells = FERRY};

// ---- The way out of the caves (slot 721) -----------------------------------------------------

// Objects first..last.
struct ObjRange {
    s32 first, last;
};
// The caves' guards and decoration, gone once the player is out.
constexpr ObjRange CAVE_CLEARED[] = {
    {1440, 1441}, {1448, 1453},                                           // guards
    {1402, 1407}, {1411, 1412}, {1415, 1417}, {1420, 1426}, {1430, 1430}, // map 99
    {1436, 1438},                                                         //
    {1501, 1505}, {1511, 1513}, {1516, 1521}, {1525, 1528},               // map 98
};
void clear_cave() {
    for (const ObjRange& r : CAVE_CLEARED)
        for (s32 o = r.first; o <= r.last; ++o) attr_set(o, ATTR_ACTIVE, 0);
}

// clang-format off
constexpr Cue CAVE_WAY_OUT[] = {
    cue::walk(0, cue::mover(0_obj, 405, 280, WALK_SPEED)),
    cue::say(2, 1000_img, 33195_t), cue::bubble(1143_obj, 33196_t),
    cue::call(clear_cave),
    cue::on(1058_obj), cue::on(1059_obj), cue::on(1083_obj),
    // Moved out of the caves; their frames change once the player is there too.
    cue::attr(1058_obj, ATTR_MAP, 99), cue::attr(1058_obj, ATTR_X, 736),
    cue::attr(1058_obj, ATTR_Y, 985),
    cue::attr(1059_obj, ATTR_MAP, 99), cue::attr(1059_obj, ATTR_X, 769),
    cue::attr(1059_obj, ATTR_Y, 965),
    cue::attr(1083_obj, ATTR_MAP, 99), cue::attr(1083_obj, ATTR_X, 644),
    cue::attr(1083_obj, ATTR_Y, 965),
    cue::attr(1143_obj, ATTR_MAP, 99), cue::attr(1143_obj, ATTR_X, 723),
    cue::attr(1143_obj, ATTR_Y, 922),
    cue::fade_out_of_scene(), cue::map_change(99_map, 799, 989), cue::present(),
    cue::fade_into_scene(),
    cue::frame(1058_obj, -45202_f), cue::frame(1059_obj, -45302_f),
    cue::frame(1083_obj, 44660_f), cue::frame(1143_obj, 44630_f),
    cue::turn_toward(1143_obj),
    cue::pairs(33197_t, 33202_t, cue::bubble_of(1083_obj), cue::bubble_of(1143_obj)),
    cue::say(2, 1000_img, 33203_t), cue::say(2, 1152_img, 33204_t),
    cue::off(1083_obj), cue::off(1143_obj),
    cue::fade_out_of_scene(), cue::present(), cue::fade_into_scene(),
    cue::frame(1058_obj, 45222_f), cue::frame(1059_obj, 45322_f),
    cue::turn_toward(1059_obj),
    // Person 163 comes to meet them.
    cue::place_on(999_obj, 99_map, 980, 1150, -1902_f), cue::on(999_obj),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(999_obj, 766, 1036, 10)),
    cue::frame(0_obj, 424_f),
    cue::pairs(18128_t, 18135_t, cue::box(2, 1163_img), cue::box(3, 1000_img)),
    cue::off(999_obj),
};
// clang-format on
static_assert(cues_valid(CAVE_WAY_OUT));

// The zone is not hidden: the episode ends here either way.
// clang-format off
constexpr Cell CAVE_EXIT[] = {
    scene(CAVE_WAY_OUT),
    set_flag(98_flag, 1), fame(30), album_entry(4),
    N(1152_img, 2, 25603_t), P(2, 25604_t),
    when(flag_is(97_flag, 1)), call(city_finale_with_companions),
    otherwise(), end_ep(98_flag, 1),
    end(),
};
// clang-format on
static_assert(cells_valid(CAVE_EXIT));

void cave_exit_scene() {
    cells_run(CAVE_EXIT, TalkContext{.self = script_self(), .turn = {2, 2}, .partner = -1});
}
constexpr StepZone CAVE_EXIT_ZONE{.kind = ZONE_LIVE, .scene = cave_exit_scene};

// Frames the walkers show while they walk: the 50-image blocks from their standing frames.
constexpr s32 WALK_BLOCKS[] = {45200, 45300, 1900};
constexpr s32 WALK_BLOCK_SIZE = 50;

} // namespace

s32 city_gang_variant(s32 flag11, bool asked_for_item) {
    const s32 by_flag = flag11 == 1 ? 0 : flag11 == 2 ? 1 : 2;
    return asked_for_item ? by_flag : by_flag + 3;
}

void object_event_0679() {
    step_zone(MEETING_ZONE);
}
void object_event_0651() {
    step_zone(WEST_EDGE_ZONE);
}
void object_event_0669() {
    step_zone(GANG_ZONE);
}
void object_event_0673() {
    step_zone(GROUP_ZONE);
}
void object_event_0715() {
    if (script_on(TRIG_CLICK)) talk_run(FERRYMAN);
}
void object_event_0721() {
    step_zone(CAVE_EXIT_ZONE);
}

// ---- Frames ---------------------------------------------------------------------------------

void city_scenes_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const std::span<const Cue> cues :
         {std::span<const Cue>(MEETING_WALK), std::span<const Cue>(CAVE_WAY_OUT),
          std::span<const Cue>(TO_227)})
        cues_frames(v, cues);
    frames_of_turn(v, FERRYMAN.frames);
    for (const WalkOutMate& m : GROUP_MEETING.mates) {
        v(m.frame);
        v(m.out_frame);
    }
    for (s32 first : WALK_BLOCKS)
        for (s32 f = first; f < first + WALK_BLOCK_SIZE; ++f) v(f);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {651, object_event_0651}, {669, object_event_0669}, {673, object_event_0673},
    {679, object_event_0679}, {715, object_event_0715}, {721, object_event_0721},
};
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{651, 651}, {669, 669}, {673, 673},
                                  {679, 679}, {715, 715}, {721, 721}};
} // namespace

std::span<const ScriptSlot> city_scenes_slots() {
    return SLOTS;
}

ScriptRegion city_scenes_region() {
    return {.owner = CITY_SCENES_OWNER, .slots = city_scenes_slots, .complete = COMPLETE};
}
