#include "scripts/home/household.h"

#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/makers.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/script_ids.h"

#include <algorithm>

// ---- Opening scene
// -------------------------------------------------------------------------------

namespace {

constexpr s32 CAM_STAYS = CUE_CAMERA_STAYS; // walks that leave the camera where it is
constexpr s32 CAM_PLAYER = 0;
constexpr ObjId PLAYER_OBJ{0};

constexpr s32 OPENING_CURSOR = 2;
constexpr s32 OPENING_MONEY = 570;
constexpr s32 OPENING_PERSON = 163;
constexpr s32 OPENING_PERSON_BONUS = 50;
constexpr s32 OPENING_CLOCK_RATE = 900;
constexpr s32 OPENING_HOUR = 6;
constexpr s32 OPENING_MINUTE = 30;
constexpr s32 OPENING_ALBUM = 0;

// The end of the opening: the house's gift and acquaintance, the clock starts at 6:30.
void opening_settle() {
    money_add(OPENING_MONEY);
    acquaint_add(OPENING_PERSON, OPENING_PERSON_BONUS);
    world_state.frames_per_minute = u16(OPENING_CLOCK_RATE);
    world_state.hour = u8(OPENING_HOUR);
    world_state.minute = u8(OPENING_MINUTE);
    player_record.clock_rate_copy = OPENING_CLOCK_RATE;
    cursor_select(0);
    album_add(OPENING_ALBUM);
}

constexpr ImageId ME{HOUSE_PLAYER_PORTRAIT};
constexpr ImageId MATE{HOUSE_COMPANION_PORTRAIT};
constexpr ImageId MASTER{HOUSE_MASTER_PORTRAIT};
constexpr ObjId MATE_OBJ{HOUSE_COMPANION};
constexpr ObjId MASTER_OBJ{HOUSE_MASTER};
constexpr ObjId MEMBER_OBJ{HOUSE_MEMBER};

// clang-format off
namespace opening_rows {
using namespace cue;
constexpr Cue OPENING[] = {
    // The walk up the road, the companion joins.
    walk(CAM_PLAYER, mover(PLAYER_OBJ, 2370, 654, 15)), show_frame(PLAYER_OBJ, 424_f), say(2, ME, 10037_t),
    walk(CAM_STAYS, mover(MATE_OBJ, 2326, 672, 15)), show_frame(MATE_OBJ, 4022_f), say(2, MATE, 10038_t),
    show_frame(PLAYER_OBJ, -424_f), show_frame(MATE_OBJ, 4002_f), pairs(10040_t, 10048_t, box(1, ME), box(2, MATE)),
    walk(CAM_PLAYER, mover(PLAYER_OBJ, 2028, 548, 15), mover(MATE_OBJ, 2062, 534, 15)),
    // Into the master's house.
    fade_out_of_scene(), map_change(12_map, 395, 233), frame(PLAYER_OBJ, 2000_f),
    attr(PLAYER_OBJ, ATTR_SHADOW, 0), attr(PLAYER_OBJ, ATTR_LAYER, 2),
    attr(MATE_OBJ, ATTR_MAP, 12), place(MATE_OBJ, 326, 276, 2011_f), attr(MATE_OBJ, ATTR_SHADOW, 0),
    fade_into_scene(),
    // The second member of the household comes forward, bows and goes back.
    show_frame(MEMBER_OBJ, 4072_f), stride(MEMBER_OBJ, 348, 325, 2790_f, 3, -10, 2, 5, 400),
    frames(MEMBER_OBJ, 2800_f, 2822_f, 2, 400),
    stride(MEMBER_OBJ, 360, 285, 2047_f, -3, 10, 1, 4, 400),
    place_show(MEMBER_OBJ, 348, 325, -4072_f, 400), place_show(MEMBER_OBJ, 345, 335, 4072_f, 400),
    // Greetings.
    frames(MATE_OBJ, 2011_f, 2021_f, 1, 100), say(2, MATE, 10049_t),
    frames(PLAYER_OBJ, 2000_f, 2009_f, 1, 100), say(0, ME, 10050_t), say(2, MATE, 10051_t),
    frames(MASTER_OBJ, 2088_f, 2099_f, 1, 100), say(1, MASTER, 10052_t),
    // The talk with the master.
    show_frame(PLAYER_OBJ, 2010_f), show_frame(MATE_OBJ, 2022_f),
    say(2, MATE, 10053_t), pairs(10054_t, 10062_t, box(1, MASTER), box(0, ME)),
    show_frame(PLAYER_OBJ, 2000_f), say(0, ME, 10063_t), pairs(10064_t, 10068_t, box(2, MATE), box(1, MASTER)),
    show_frame(PLAYER_OBJ, 2010_f), pairs(10069_t, 10071_t, box(0, ME), box(1, MASTER)),
    show_frame(MATE_OBJ, 2011_f), say(2, MATE, 10072_t),
    show_frame(PLAYER_OBJ, 2000_f), say(0, ME, 10073_t), say(2, MATE, 10074_t),
    say(1, MASTER, 10075_t), say(0, ME, 10076_t),
    // The companion leaves; the member goes back to its place.
    frame(MASTER_OBJ, 2088_f), walk(HOUSE_MEMBER, mover(MEMBER_OBJ, 360, 285, 5)),
    attr(MATE_OBJ, ATTR_SHADOW, 1), place_show(MATE_OBJ, 311, 285, 4022_f),
    walk(HOUSE_COMPANION, mover(MATE_OBJ, 470, 390, 10)),
    attr(MATE_OBJ, ATTR_ACTIVE, 0), place(MATE_OBJ, 7480, 2491, 4022_f), attr(MATE_OBJ, ATTR_VAR_A, 1),
    walk(HOUSE_MEMBER, mover(MEMBER_OBJ, 345, 335, 5)), frame(MEMBER_OBJ, 30400_f), say(0, ME, 10077_t),
    // The player is free to walk and click.
    attr(PLAYER_OBJ, ATTR_SHADOW, 1), attr(PLAYER_OBJ, ATTR_LAYER, 3),
    place_show(PLAYER_OBJ, 437, 245, 424_f), attr(PLAYER_OBJ, ATTR_CLICK, 1),
    call(opening_settle),
};
static_assert(cues_valid(OPENING));
// clang-format on
} // namespace opening_rows
using opening_rows::OPENING;

} // namespace

std::span<const Cue> household_opening_cues() {
    return OPENING;
}

void object_event_0001() {
    if (!script_on(TRIG_STEP)) return;
    attr_set(script_self(), ATTR_ACTIVE, 0); // once only
    cursor_select(OPENING_CURSOR);
    cues_run(OPENING);
}

// ---- Collector of offerings
// ----------------------------------------------------------------------

namespace {

constexpr s32 COLLECTOR_FAR = 150;
constexpr s32 COLLECTOR_FRAME = 10200;
constexpr s32 GIFT_SMALL = 1000;
constexpr s32 GIFT_LARGE = 2000;
constexpr s32 OFFERING_ATTR = 5;

// An offering was made: the next stage, attribute 5 one lower (not below 0), log line 280.
void offering_made() {
    const s32 self = script_self();
    script_set_stage(self, script_stage(self) + 1);
    s32& a = player_record.attr[OFFERING_ATTR];
    a = std::max(a - 1, 0);
    log_text(HOUSE_OFFERING_LOG);
}

// clang-format off
namespace collector_rows {
using namespace cell;
constexpr Cell COLLECTOR[] = {
    stage(0), run(11530_t, 11546_t, SELF, PLAYER), to(1),
    stage(1, 4), S(11547_t), choice(11548_t, 11549_t),
        option(0), when(money_from(GIFT_SMALL)), money(-GIFT_SMALL), S(11549_t).plus_stage(),
                       call(offering_made),
                   otherwise(), S(11555_t), end(),
        end(),
    stage(5), S(11554_t),
    stage(6, 8), S(13750_t), choice(11548_t, 11549_t),
        option(0), when(money_from(GIFT_LARGE)), money(-GIFT_LARGE), S(13745_t).plus_stage(),
                       call(offering_made),
                   otherwise(), S(11555_t), end(),
        end(),
    stage(9), S(11554_t),
};
static_assert(cells_valid(COLLECTOR));
// clang-format on
} // namespace collector_rows
using collector_rows::COLLECTOR;

constexpr TalkRow COLLECTOR_ROW{
    .far = COLLECTOR_FAR,
    .frames = {-10202, 10202, -10200, 10200},
    .keep_frame = false,
    .end_frame = COLLECTOR_FRAME,
    .cells = COLLECTOR,
};

} // namespace

void object_event_0002() {
    if (script_on(TRIG_CLICK)) talk_run(COLLECTOR_ROW);
}

// ---- The household: turning to the player
// --------------------------------------------------------

namespace {

constexpr s32 HOUSE_LABELS[] = {173, 174};

// The household's turn: the remarks of objects 173 and 174 vanish, self turns to the player
// (its own boxes at the mirror of the player's), and the player turns to self, unless the player
// sits in the practice pose: then the player shows `posed_player` and self `posed_self` (0: self
// keeps the frame of its turn).
TalkContext household_turn(const TurnFrames& frames, s32 posed_player, s32 posed_self) {
    const s32 self = script_self();
    for (const s32 o : HOUSE_LABELS) label_remove(o);
    const s32 pos = obj_face(0, self, frames.f0, frames.f1, frames.f2, frames.f3);
    if (attr_get(0, ATTR_EVENT) == HOUSE_PRACTICE_POSE) {
        obj_show_frame(0, posed_player);
        if (posed_self != 0) obj_show_frame(self, posed_self);
    } else {
        turn_to_talk_mode(TURN_PLAYER_ONLY, frames);
    }
    return TalkContext{self, TalkTurn{pos, mirror_position(pos)}};
}

// ---- The master
// ----------------------------------------------------------------------------------

constexpr IdleCycle MASTER_IDLE{.rearm = 7, .start = 2088, .limit = 2098, .step = 1, .pause = 150};
constexpr TurnFrames MASTER_TURN{2088, 2088, 2088, 2088};
constexpr s32 MASTER_POSED_PLAYER = 2010;
constexpr s32 MASTER_POSED_SELF = 2099;
constexpr s32 MASTER_REARM = 7;
constexpr s32 MASTER_LEAVE = 4;
constexpr s32 MASTER_MENU_MAX = 256; // rounds of the menu at most (the player leaves by option 4)

// One menu of the master's stages 0-3: bit 0 of the stage turns option 0's text 10245 into
// 10250, bit 1 option 2's 10247 into 10251; stages 0 and 2 greet first, stages 0 and 1 set the
// menu idiom's colours and cursor, 2 and 3 reuse them.
struct MasterMenu {
    bool greet;
    bool idiom;
    TextId o0, o2;
};
constexpr MasterMenu MASTER_MENUS[4] = {
    {true, true, 10245_t, 10247_t},
    {false, true, 10250_t, 10247_t},
    {true, false, 10245_t, 10251_t},
    {false, false, 10250_t, 10251_t},
};
constexpr TextId MASTER_GREETING = 10244_t;
constexpr TextId MASTER_O1 = 10246_t, MASTER_O3 = 10248_t, MASTER_O4 = 10249_t;

constexpr ImageId MASTER_IMG{HOUSE_MASTER_PORTRAIT};
constexpr Lesson MASTER_LESSON{
    .growth = 21, .exp = 300, .known_list = 21, .known_id = 0, .once = true};

namespace master_rows {
using namespace cell;
// What options 0 to 3 do, by the stage (0..3) they were taken in.
constexpr Cond MASTER_AT(s32 stage_value) {
    return stage_of(ObjId(HOUSE_MASTER), stage_value, stage_value);
}
// clang-format off
constexpr Cell MASTER_OPTION0[] = {
    when(MASTER_AT(0)), N(MASTER_IMG, 10252_t), to(1),
    orwhen(MASTER_AT(1)), N(MASTER_IMG, 10261_t), to(0),
    orwhen(MASTER_AT(2)), N(MASTER_IMG, 10252_t), to(3),
    otherwise(), N(MASTER_IMG, 10261_t), to(2),
    end(),
};
static_assert(cells_valid(MASTER_OPTION0));
constexpr Cell MASTER_OPTION1[] = {N(MASTER_IMG, 10253_t)};
static_assert(cells_valid(MASTER_OPTION1));
constexpr Cell MASTER_OPTION2[] = {
    when(MASTER_AT(0)), N(MASTER_IMG, 10254_t), to(2),
    orwhen(MASTER_AT(1)), N(MASTER_IMG, 10254_t), to(3),
    otherwise(), N(MASTER_IMG, 10255_t), P(10256_t), N(MASTER_IMG, 10257_t), P(10258_t),
        N(MASTER_IMG, 10259_t),
        when(MASTER_AT(2)), to(0), teach(MASTER_LESSON),
        otherwise(), to(1), end(),
    end(),
};
static_assert(cells_valid(MASTER_OPTION2));
constexpr Cell MASTER_OPTION3[] = {N(MASTER_IMG, 10260_t)};
static_assert(cells_valid(MASTER_OPTION3));
// clang-format on
} // namespace master_rows
using master_rows::MASTER_OPTION0;
using master_rows::MASTER_OPTION1;
using master_rows::MASTER_OPTION2;
using master_rows::MASTER_OPTION3;
constexpr std::span<const Cell> MASTER_OPTIONS[] = {MASTER_OPTION0, MASTER_OPTION1, MASTER_OPTION2,
                                                    MASTER_OPTION3};

// Later phases: one question, then the player leaves.
namespace later_rows {
using namespace cell;
constexpr Cell MASTER_LATER[] = {
    stage(4, 5),
    N(MASTER_IMG, 14900_t),
    choice(14901_t, 14902_t, 14903_t),
    option(0),
    when(stage_of(3_obj, 4, 4)),
    N(MASTER_IMG, 14920_t).plus_rand(10),
    otherwise(),
    N(MASTER_IMG, 18990_t).plus_rand(10),
    end(),
    option(1),
    N(MASTER_IMG, 14909_t),
    ranking(),
    end(),
};
static_assert(cells_valid(MASTER_LATER));
} // namespace later_rows
using later_rows::MASTER_LATER;

} // namespace
void object_event_0003() {
    if (script_on(TRIG_TIMER)) idle_cycle(MASTER_IDLE);
    if (!script_on(TRIG_CLICK)) return;
    const TalkContext ctx = household_turn(MASTER_TURN, MASTER_POSED_PLAYER, MASTER_POSED_SELF);
    attr_set(ctx.self, ATTR_TIMER, MASTER_REARM);
    const s32 stage_now = script_stage(ctx.self);
    if (stage_now < 0 || stage_now > 3) {
        cells_run_stage(MASTER_LATER, ctx);
        return;
    }
    // Stages 0-3: the menu again after every answer, until the player leaves.
    for (s32 round = 0; round < MASTER_MENU_MAX; round++) {
        const s32 stage_value = script_stage(ctx.self);
        if (stage_value < 0 || stage_value > 3) return;
        const MasterMenu& m = MASTER_MENUS[stage_value];
        if (m.greet) say(ctx.turn.other, HOUSE_MASTER_PORTRAIT, MASTER_GREETING.v);
        const s32 pos = ctx.turn.pos;
        const s32 answer = m.idiom ? menu_choice(pos, HOUSE_PLAYER_PORTRAIT, m.o0.v, MASTER_O1.v,
                                                 m.o2.v, MASTER_O3.v, MASTER_O4.v)
                                   : choose(pos, HOUSE_PLAYER_PORTRAIT, m.o0.v, MASTER_O1.v, m.o2.v,
                                            MASTER_O3.v, MASTER_O4.v);
        if (answer < 0 || answer >= MASTER_LEAVE) return;
        cells_run(MASTER_OPTIONS[answer], ctx);
    }
}

// ---- The second member of the household
// ----------------------------------------------------------

namespace {

constexpr IdleCycle MEMBER_IDLE{
    .rearm = 8, .start = 30400, .limit = 30439, .step = 2, .pause = 100, .pause_rand = 300};
constexpr TurnFrames MEMBER_TURN{-4052, 4052, -30400, 30400};
constexpr s32 MEMBER_POSED_PLAYER = 2000;
constexpr s32 MEMBER_END_FRAME = 30400;

// clang-format off
namespace member_rows {
using namespace cell;
constexpr Cell MEMBER[] = {
    stage(0), S(10115_t),
    stage(1), S(10738_t), P(1, 10739_t),
};
static_assert(cells_valid(MEMBER));
// clang-format on
} // namespace member_rows
using member_rows::MEMBER;

} // namespace

void object_event_0004() {
    if (script_on(TRIG_TIMER)) idle_cycle(MEMBER_IDLE);
    if (!script_on(TRIG_CLICK)) return;
    const TalkContext ctx = household_turn(MEMBER_TURN, MEMBER_POSED_PLAYER, 0);
    cells_run_stage(MEMBER, ctx);
    obj_set_frame(ctx.self, MEMBER_END_FRAME);
}

// ---- First-day director
// --------------------------------------------------------------------------

namespace {

constexpr ObjId HOST_OBJ{HOUSE_EVENING_HOST};
constexpr ImageId EVENING_IMG{HOUSE_EVENING_PORTRAIT};
constexpr s32 EVENING_MUSIC = 10067;
constexpr s32 EVENING_SONG = 10023;
constexpr s32 DIRECTOR_REARM = 1;
constexpr s32 DIRECTOR_OFF_TIMER = 10;

// clang-format off
namespace evening_rows {
using namespace cue;
constexpr Cue EVENING[] = {
    // To map 21.
    cursor(0), fade_out_of_scene(), map_change(21_map, 207, 313), frame(PLAYER_OBJ, 34055_f),
    attr(PLAYER_OBJ, ATTR_SHADOW, 0),
    attr(MATE_OBJ, ATTR_ACTIVE, 1), attr(MATE_OBJ, ATTR_MAP, HOUSE_EVENING_MAP),
    place(MATE_OBJ, 156, 315, 34036_f), attr(MATE_OBJ, ATTR_SHADOW, 0),
    frame(HOST_OBJ, -4722_f), kept_music(EVENING_MUSIC), fade_into_scene(),
    // The host serves.
    pairs(10702_t, 10705_t, box(1, ME), box(2, MATE)), bubble(HOST_OBJ, 10706_t),
    walk(CAM_PLAYER, mover(HOST_OBJ, 356, 326, 8)), walk(CAM_PLAYER, mover(HOST_OBJ, 480, 416, 8)),
    show_frame(HOST_OBJ, 0_f), wait(400), show_frame(HOST_OBJ, -4752_f),
    walk(CAM_PLAYER, mover(HOST_OBJ, 356, 326, 8)), walk(CAM_PLAYER, mover(HOST_OBJ, 212, 333, 8)),
    frames(HOST_OBJ, 31500_f, 31504_f, 2, 200), attr(179_obj, ATTR_ACTIVE, 1),
    frames(HOST_OBJ, 31506_f, 31508_f, 2, 200), attr(180_obj, ATTR_ACTIVE, 1),
    frames(HOST_OBJ, 31510_f, 31510_f, 2, 200),
    bubble(HOST_OBJ, 20047_t), show_frame(HOST_OBJ, 4822_f),
    walk(CAM_PLAYER, mover(HOST_OBJ, 261, 322, 8)), walk(CAM_PLAYER, mover(HOST_OBJ, 268, 263, 8)),
    show_frame(HOST_OBJ, 31450_f),
    // The meal.
    pairs(10707_t, 10709_t, box(2, MATE), box(1, ME)),
    pair(PLAYER_OBJ, 34055_f, MATE_OBJ, 34036_f, 15, 4, 400),
    pairs(10710_t, 10712_t, box(2, MATE), box(1, ME)), show_frame(PLAYER_OBJ, 34072_f), say(1, ME, 10713_t),
    music(EVENING_SONG, 1), frames(PLAYER_OBJ, 34072_f, 34082_f, 1, 200),
    place(MATE_OBJ, 220, 270, 4022_f), walk(CAM_STAYS, mover(MATE_OBJ, 278, 300, 8)),
    say(2, MATE, 10714_t),
    attr(ObjId(HOUSE_EVENING_PROP), ATTR_ACTIVE, 1), attr(ObjId(HOUSE_EVENING_PROP), ATTR_SHADOW, 0),
    stride(ObjId(HOUSE_EVENING_PROP), 353, 36, 34090_f, 0, 58, 1, 6, 200),
    say(2, MATE, 10715_t), say(1, EVENING_IMG, 10716_t),
};
static_assert(cues_valid(EVENING));
// clang-format on
} // namespace evening_rows
using evening_rows::EVENING;

// The day's assessment into attribute 5, with its log line.
void assess_day() {
    PlayerRecord& p = player_record;
    s32 sum = p.fame;
    for (s32 i = 0; i < HOUSE_ASSESS_SKILLS; i++) sum += p.skill[i];
    for (s32 i = 0; i < PLAYER_ATTRS; i++) sum += p.attr[i];
    p.attr[OFFERING_ATTR] = household_assessment(p.attr[OFFERING_ATTR], sum, p.money);
    log_text_number(HOUSE_ASSESS_LOG, p.attr[OFFERING_ATTR]);
}

void evening() {
    const s32 self = script_self();
    say(0, HOUSE_PLAYER_PORTRAIT,
        world_state.current_map == HOUSE_EVENING_MAP ? HOUSE_EVENING_LINE_THERE
                                                     : HOUSE_EVENING_LINE_ELSEWHERE);
    cues_run(EVENING);
    attr_set(self, ATTR_TIMER_ON, 0);
    attr_set(self, ATTR_ACTIVE, 0);
    attr_set(self, ATTR_TIMER, DIRECTOR_OFF_TIMER);
    assess_day();
    // The end of the day: the field loop returns after this frame.
    player_record.turn_done = 0;
    world_state.field_active = 0;
    attr_set(HOUSE_DIRECTOR, ATTR_ACTIVE, 0);
}

} // namespace

std::span<const Cue> household_evening_cues() {
    return EVENING;
}

s32 household_assessment(s32 attr5, s32 sum, s32 money) {
    s64 v = s64(attr5) + sum / HOUSE_ASSESS_SUM_DIVISOR;
    v += money / HOUSE_ASSESS_MONEY_DIVISOR;
    return v > HOUSE_ASSESS_CAP ? HOUSE_ASSESS_CAP : s32(v);
}

void object_event_0005() {
    attr_set(script_self(), ATTR_TIMER, DIRECTOR_REARM);
    PlayerRecord& p = player_record;
    if (p.hp > p.hp_max) p.hp = p.hp_max;
    minute_upkeep();
    if (world_state.hour == HOUSE_TEN_HOUR)
        for (const s32 o : HOUSE_TEN_OCLOCK) attr_set(o, ATTR_ACTIVE, 1);
    if (world_state.hour >= HOUSE_EVENING_HOUR) evening();
}

// ---- Slots
// ---------------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {1, object_event_0001}, {2, object_event_0002}, {3, object_event_0003},
    {4, object_event_0004}, {5, object_event_0005},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{1, 5}};
} // namespace

std::span<const ScriptSlot> home_household_slots() {
    return SLOTS;
}

ScriptRegion home_household_region() {
    return {.owner = HOME_HOUSEHOLD_OWNER, .slots = home_household_slots, .complete = COMPLETE};
}
