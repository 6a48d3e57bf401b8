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
#include "scripts/script_ids.h"

#include <algorithm>

namespace {

// ---- Beat notation
// -------------------------------------------------------------------------------

constexpr ObjId CAM_STAYS{-1}; // walks that leave the camera where it is
constexpr ObjId PLAYER_OBJ{0};

namespace beat {
constexpr Beat line(s32 position, ImageId portrait, TextId t) {
    return {.op = BEAT_SAY, .a = position, .b = portrait.v, .c = t.v};
}
constexpr Beat bubble(ObjId o, TextId t) {
    return {.op = BEAT_SAY_AT, .a = o.v, .c = t.v};
}
// Texts first..last, speakers (pa, ia) and (pb, ib) alternating from the first.
constexpr Beat run(TextId first, TextId last, s32 pa, ImageId ia, s32 pb, ImageId ib) {
    return {.op = BEAT_RUN, .a = pa, .b = ia.v, .c = first.v, .d = last.v, .e = pb, .f = ib.v};
}
constexpr Beat frame(ObjId o, FrameId f) {
    return {.op = BEAT_FRAME, .a = o.v, .b = f.v};
}
constexpr Beat show(ObjId o, FrameId f) {
    return {.op = BEAT_SHOW, .a = o.v, .b = f.v};
}
constexpr Beat frames(ObjId o, FrameId first, FrameId last, s32 step, s32 ms) {
    return {.op = BEAT_FRAMES, .a = o.v, .b = first.v, .c = last.v, .d = ms, .e = step};
}
constexpr Beat place(ObjId o, s32 x, s32 y, FrameId f) {
    return {.op = BEAT_PLACE, .a = o.v, .b = x, .c = y, .d = f.v};
}
constexpr Beat place_show(ObjId o, s32 x, s32 y, FrameId f, s32 ms = 0) {
    return {.op = BEAT_PLACE_SHOW, .a = o.v, .b = x, .c = y, .d = f.v, .e = ms};
}
// count steps from (x, y) with frame f, each moving by (dx, dy) and the frame by df.
constexpr Beat stride(ObjId o, s32 x, s32 y, FrameId f, s32 dx, s32 dy, s32 df, s32 count, s32 ms) {
    return {.op = BEAT_STRIDE,
            .a = o.v,
            .b = x,
            .c = y,
            .d = f.v,
            .e = dx,
            .f = dy,
            .g = df,
            .h = count,
            .i = ms};
}
// count steps: `second` shows second_first + i for its first `second_count` steps, `lead` shows
// lead_first + i; ms each.
constexpr Beat pair(ObjId lead, FrameId lead_first, ObjId second, FrameId second_first, s32 count,
                    s32 second_count, s32 ms) {
    return {.op = BEAT_PAIR,
            .a = lead.v,
            .b = lead_first.v,
            .c = second.v,
            .d = second_first.v,
            .e = count,
            .f = second_count,
            .g = ms};
}
constexpr Beat wait(s32 ms) {
    return {.op = BEAT_WAIT, .a = ms};
}
constexpr Beat walk1(ObjId camera, ObjId o, s32 x, s32 y, s32 speed) {
    return {.op = BEAT_WALK1, .a = camera.v, .b = o.v, .c = x, .d = y, .e = speed};
}
constexpr Beat walk2(ObjId camera, ObjId o1, s32 x1, s32 y1, s32 v1, ObjId o2, s32 x2, s32 y2,
                     s32 v2) {
    return {.op = BEAT_WALK2,
            .a = camera.v,
            .b = o1.v,
            .c = x1,
            .d = y1,
            .e = v1,
            .f = o2.v,
            .g = x2,
            .h = y2,
            .i = v2};
}
constexpr Beat attr(ObjId o, s32 attribute, s32 value) {
    return {.op = BEAT_ATTR, .a = o.v, .b = attribute, .c = value};
}
constexpr Beat fade_out() {
    return {.op = BEAT_FADE_OUT};
}
constexpr Beat fade_in() {
    return {.op = BEAT_FADE_IN};
}
constexpr Beat map(MapId m, s32 x, s32 y) {
    return {.op = BEAT_MAP, .a = m.v, .b = x, .c = y};
}
constexpr Beat music(s32 track) {
    return {.op = BEAT_MUSIC, .a = track};
}
constexpr Beat play_once(s32 track) {
    return {.op = BEAT_PLAY, .a = track, .b = 1};
}
constexpr Beat cursor(s32 n) {
    return {.op = BEAT_CURSOR, .a = n};
}
constexpr Beat call(void (*fn)()) {
    return {.op = BEAT_CALL, .fn = fn};
}
} // namespace beat

// Steps of a frame run from first to last (inclusive) by step, at most HOUSE_BEAT_STEPS_MAX.
s32 frame_run_steps(s32 first, s32 last, s32 step) {
    if (step == 0) return 1;
    const s64 span = step > 0 ? s64(last) - first : s64(first) - last;
    if (span < 0) return 0;
    const s64 n = span / (step > 0 ? step : -s64(step)) + 1;
    return s32(std::min<s64>(n, HOUSE_BEAT_STEPS_MAX));
}

s32 bounded_steps(s32 n) {
    return std::clamp(n, 0, HOUSE_BEAT_STEPS_MAX);
}

bool obj_ok(s32 obj) {
    return script_obj_valid(obj);
}

void beat_run(const Beat& b) {
    switch (b.op) {
    case BEAT_SAY:
        say(b.a, b.b, b.c);
        break;
    case BEAT_SAY_AT:
        if (obj_ok(b.a)) say_at(b.a, b.c);
        break;
    case BEAT_RUN:
        alternate_lines(b.c, std::min(b.d, b.c + HOUSE_BEAT_STEPS_MAX - 1),
                        Voice{.position = b.a, .portrait = b.b},
                        Voice{.position = b.e, .portrait = b.f});
        break;
    case BEAT_FRAME:
        if (obj_ok(b.a)) obj_set_frame(b.a, b.b);
        break;
    case BEAT_SHOW:
        if (obj_ok(b.a)) obj_show_frame(b.a, b.b);
        break;
    case BEAT_FRAMES:
        if (obj_ok(b.a)) frame_steps(b.a, b.b, b.e, frame_run_steps(b.b, b.c, b.e), b.d);
        break;
    case BEAT_PLACE:
        if (obj_ok(b.a)) obj_place(b.a, b.b, b.c, b.d);
        break;
    case BEAT_PLACE_SHOW:
        if (!obj_ok(b.a)) break;
        obj_place_show(b.a, b.b, b.c, b.d);
        if (b.e > 0) wait_ms(u32(b.e));
        break;
    case BEAT_STRIDE:
        if (!obj_ok(b.a)) break;
        for (s32 i = 0; i < bounded_steps(b.h); i++) {
            obj_place_show(b.a, b.b + i * b.e, b.c + i * b.f, b.d + i * b.g);
            wait_ms(u32(b.i));
        }
        break;
    case BEAT_PAIR:
        if (!obj_ok(b.a) || !obj_ok(b.c)) break;
        for (s32 i = 0; i < bounded_steps(b.e); i++) {
            if (i < b.f) obj_set_frame(b.c, b.d + i);
            obj_show_frame(b.a, b.b + i);
            wait_ms(u32(b.g));
        }
        break;
    case BEAT_WAIT:
        wait_ms(u32(b.a));
        break;
    case BEAT_WALK1:
        if (obj_ok(b.b)) ::walk1(b.a, b.b, b.c, b.d, b.e);
        break;
    case BEAT_WALK2:
        if (obj_ok(b.b) && obj_ok(b.f)) ::walk2(b.a, b.b, b.c, b.d, b.e, b.f, b.g, b.h, b.i);
        break;
    case BEAT_ATTR:
        if (obj_ok(b.a)) attr_set(b.a, b.b, b.c);
        break;
    case BEAT_FADE_OUT:
        fade_out_scene();
        break;
    case BEAT_FADE_IN:
        fade_in_scene();
        break;
    case BEAT_MAP:
        change_map(b.a, b.b, b.c);
        break;
    case BEAT_MUSIC:
        player_record.music_id = b.a;
        mssw_play_music(b.a, b.b);
        break;
    case BEAT_PLAY:
        mssw_play_music(b.a, b.b);
        break;
    case BEAT_CURSOR:
        cursor_select(b.a);
        break;
    case BEAT_CALL:
        if (b.fn != nullptr) b.fn();
        break;
    default:
        break;
    }
}

} // namespace

void beats_run(std::span<const Beat> beats) {
    for (const Beat& b : beats) beat_run(b);
}

// ---- Opening scene
// -------------------------------------------------------------------------------

namespace {

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
using namespace beat;
constexpr Beat OPENING[] = {
    // The walk up the road, the companion joins.
    walk1(PLAYER_OBJ, PLAYER_OBJ, 2370, 654, 15), show(PLAYER_OBJ, 424_f), line(2, ME, 10037_t),
    walk1(CAM_STAYS, MATE_OBJ, 2326, 672, 15), show(MATE_OBJ, 4022_f), line(2, MATE, 10038_t),
    show(PLAYER_OBJ, -424_f), show(MATE_OBJ, 4002_f), run(10040_t, 10048_t, 1, ME, 2, MATE),
    walk2(PLAYER_OBJ, PLAYER_OBJ, 2028, 548, 15, MATE_OBJ, 2062, 534, 15),
    // Into the master's house.
    fade_out(), map(12_map, 395, 233), frame(PLAYER_OBJ, 2000_f),
    attr(PLAYER_OBJ, ATTR_SHADOW, 0), attr(PLAYER_OBJ, ATTR_LAYER, 2),
    attr(MATE_OBJ, ATTR_MAP, 12), place(MATE_OBJ, 326, 276, 2011_f), attr(MATE_OBJ, ATTR_SHADOW, 0),
    fade_in(),
    // The second member of the household comes forward, bows and goes back.
    show(MEMBER_OBJ, 4072_f), stride(MEMBER_OBJ, 348, 325, 2790_f, 3, -10, 2, 5, 400),
    frames(MEMBER_OBJ, 2800_f, 2822_f, 2, 400),
    stride(MEMBER_OBJ, 360, 285, 2047_f, -3, 10, 1, 4, 400),
    place_show(MEMBER_OBJ, 348, 325, -4072_f, 400), place_show(MEMBER_OBJ, 345, 335, 4072_f, 400),
    // Greetings.
    frames(MATE_OBJ, 2011_f, 2021_f, 1, 100), line(2, MATE, 10049_t),
    frames(PLAYER_OBJ, 2000_f, 2009_f, 1, 100), line(0, ME, 10050_t), line(2, MATE, 10051_t),
    frames(MASTER_OBJ, 2088_f, 2099_f, 1, 100), line(1, MASTER, 10052_t),
    // The talk with the master.
    show(PLAYER_OBJ, 2010_f), show(MATE_OBJ, 2022_f),
    line(2, MATE, 10053_t), run(10054_t, 10062_t, 1, MASTER, 0, ME),
    show(PLAYER_OBJ, 2000_f), line(0, ME, 10063_t), run(10064_t, 10068_t, 2, MATE, 1, MASTER),
    show(PLAYER_OBJ, 2010_f), run(10069_t, 10071_t, 0, ME, 1, MASTER),
    show(MATE_OBJ, 2011_f), line(2, MATE, 10072_t),
    show(PLAYER_OBJ, 2000_f), line(0, ME, 10073_t), line(2, MATE, 10074_t),
    line(1, MASTER, 10075_t), line(0, ME, 10076_t),
    // The companion leaves; the member goes back to its place.
    frame(MASTER_OBJ, 2088_f), walk1(MEMBER_OBJ, MEMBER_OBJ, 360, 285, 5),
    attr(MATE_OBJ, ATTR_SHADOW, 1), place_show(MATE_OBJ, 311, 285, 4022_f),
    walk1(MATE_OBJ, MATE_OBJ, 470, 390, 10),
    attr(MATE_OBJ, ATTR_ACTIVE, 0), place(MATE_OBJ, 7480, 2491, 4022_f), attr(MATE_OBJ, ATTR_VAR_A, 1),
    walk1(MEMBER_OBJ, MEMBER_OBJ, 345, 335, 5), frame(MEMBER_OBJ, 30400_f), line(0, ME, 10077_t),
    // The player is free to walk and click.
    attr(PLAYER_OBJ, ATTR_SHADOW, 1), attr(PLAYER_OBJ, ATTR_LAYER, 3),
    place_show(PLAYER_OBJ, 437, 245, 424_f), attr(PLAYER_OBJ, ATTR_CLICK, 1),
    call(opening_settle),
};
// clang-format on
} // namespace opening_rows
using opening_rows::OPENING;

} // namespace

std::span<const Beat> household_opening_beats() {
    return OPENING;
}

void object_event_0001() {
    if (!script_on(TRIG_STEP)) return;
    attr_set(script_self(), ATTR_ACTIVE, 0); // once only
    cursor_select(OPENING_CURSOR);
    beats_run(OPENING);
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
using namespace beat;
constexpr Beat EVENING[] = {
    // To map 21.
    cursor(0), fade_out(), map(21_map, 207, 313), frame(PLAYER_OBJ, 34055_f),
    attr(PLAYER_OBJ, ATTR_SHADOW, 0),
    attr(MATE_OBJ, ATTR_ACTIVE, 1), attr(MATE_OBJ, ATTR_MAP, HOUSE_EVENING_MAP),
    place(MATE_OBJ, 156, 315, 34036_f), attr(MATE_OBJ, ATTR_SHADOW, 0),
    frame(HOST_OBJ, -4722_f), music(EVENING_MUSIC), fade_in(),
    // The host serves.
    run(10702_t, 10705_t, 1, ME, 2, MATE), bubble(HOST_OBJ, 10706_t),
    walk1(PLAYER_OBJ, HOST_OBJ, 356, 326, 8), walk1(PLAYER_OBJ, HOST_OBJ, 480, 416, 8),
    show(HOST_OBJ, 0_f), wait(400), show(HOST_OBJ, -4752_f),
    walk1(PLAYER_OBJ, HOST_OBJ, 356, 326, 8), walk1(PLAYER_OBJ, HOST_OBJ, 212, 333, 8),
    frames(HOST_OBJ, 31500_f, 31504_f, 2, 200), attr(179_obj, ATTR_ACTIVE, 1),
    frames(HOST_OBJ, 31506_f, 31508_f, 2, 200), attr(180_obj, ATTR_ACTIVE, 1),
    frames(HOST_OBJ, 31510_f, 31510_f, 2, 200),
    bubble(HOST_OBJ, 20047_t), show(HOST_OBJ, 4822_f),
    walk1(PLAYER_OBJ, HOST_OBJ, 261, 322, 8), walk1(PLAYER_OBJ, HOST_OBJ, 268, 263, 8),
    show(HOST_OBJ, 31450_f),
    // The meal.
    run(10707_t, 10709_t, 2, MATE, 1, ME),
    pair(PLAYER_OBJ, 34055_f, MATE_OBJ, 34036_f, 15, 4, 400),
    run(10710_t, 10712_t, 2, MATE, 1, ME), show(PLAYER_OBJ, 34072_f), line(1, ME, 10713_t),
    play_once(EVENING_SONG), frames(PLAYER_OBJ, 34072_f, 34082_f, 1, 200),
    place(MATE_OBJ, 220, 270, 4022_f), walk1(CAM_STAYS, MATE_OBJ, 278, 300, 8),
    line(2, MATE, 10714_t),
    attr(ObjId(HOUSE_EVENING_PROP), ATTR_ACTIVE, 1), attr(ObjId(HOUSE_EVENING_PROP), ATTR_SHADOW, 0),
    stride(ObjId(HOUSE_EVENING_PROP), 353, 36, 34090_f, 0, 58, 1, 6, 200),
    line(2, MATE, 10715_t), line(1, EVENING_IMG, 10716_t),
};
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
    beats_run(EVENING);
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

std::span<const Beat> household_evening_beats() {
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
} // namespace

std::span<const ScriptSlot> home_household_slots() {
    return SLOTS;
}

void home_household_register() {
    scripts_install(SLOTS, HOME_HOUSEHOLD_OWNER);
}
