#include "scripts/towns/city_item_errands.h"

#include "data/hub_block.h"
#include "engine/world/object.h"
#include "game/clock.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/routes.h"

#include <array>
#include <limits>

namespace {

using namespace cell;

constexpr s32 TALK_FAR = 300;

// ---- The frame after a talk ------------------------------------------------------------------

// After a talk the frame from before the click returns, unless the stage that was played set a
// frame of its own (`frame_after<F>`): that one is shown instead, so that an idle cycle that
// follows by stage goes on from it.
s32 frame_after_talk = 0;
template <s32 F> void frame_after() {
    frame_after_talk = F;
}

// A talk whose row keeps no frame of its own: the frame is put back here. With `one_side` the
// other person's boxes stand at the turn's position too, beside the player's.
void errand_talk(const TalkRow& row, bool one_side = false) {
    const s32 self = script_self();
    TalkRow r = row;
    r.keep_frame = false;
    if (one_side) {
        if (row.far > 0 && too_far_guard(row.far)) return;
    }
    const s32 kept = frame_keep(self);
    if (one_side) {
        const TalkTurn turn = turn_to_talk(row.frames);
        r.far = 0;
        r.turn = TURN_NOBODY;
        r.fixed = {.pos = turn.pos, .other = turn.pos};
    }
    frame_after_talk = 0;
    talk_run(r);
    frame_restore(self, frame_after_talk != 0 ? frame_after_talk : kept);
}

// ---- Residents by stage ----------------------------------------------------------------------

// What a resident does from one stage upwards: its idle cycle and how it turns to talk.
struct StageBand {
    s32 from = 0;
    IdleCycle idle{};
    TurnMode turn = TURN_BOTH;
    TurnFrames frames{};
};
constexpr s32 BANDS = 3;
// A resident of one slot: up to three bands (the first from stage 0, ascending; unused bands
// have `from` EVERY_STAGE) and its talk.
struct ErrandRow {
    s32 slot = 0;
    std::array<StageBand, BANDS> bands{};
    std::span<const Cell> cells{};
};
constexpr StageBand UNUSED{.from = EVERY_STAGE};

const StageBand& band_of(const ErrandRow& row, s32 stage) {
    size_t k = 0;
    for (size_t i = 1; i < row.bands.size(); ++i)
        if (stage >= row.bands[i].from) k = i;
    return row.bands[k];
}

void run_errand_row(const ErrandRow& row) {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) idle_cycle(band_of(row, script_stage(self)).idle);
    if (!script_on(TRIG_CLICK)) return;
    const StageBand& b = band_of(row, script_stage(self));
    // Without a turn the player's boxes of these talks stand at position 3.
    errand_talk({.far = TALK_FAR,
                 .turn = b.turn,
                 .frames = b.frames,
                 .fixed = {.pos = 3, .other = 0},
                 .cells = row.cells});
}

constexpr IdleCycle idle10(s32 start, s32 limit, s32 step, s32 pause) {
    return {.rearm = 10, .start = start, .limit = limit, .step = step, .pause = pause};
}
constexpr std::array<StageBand, BANDS> one_band(IdleCycle idle, TurnFrames frames) {
    return {StageBand{.from = 0, .idle = idle, .turn = TURN_BOTH, .frames = frames}, UNUSED,
            UNUSED};
}

// One cell table out of several parts, so that a block said at several stages is written once.
template <size_t... N> constexpr auto join_cells(const std::array<Cell, N>&... parts) {
    std::array<Cell, (N + ... + 0)> out{};
    size_t k = 0;
    auto append = [&](const auto& part) {
        for (const Cell& c : part) out[k++] = c;
    };
    (append(parts), ...);
    return out;
}

// ---- Talks -----------------------------------------------------------------------------------

void hide_self() {
    attr_set(script_self(), ATTR_ACTIVE, 0);
}
// The hub may now draw the event of 1066's handover.
void open_pool_entry() {
    static_assert(CITY_ERRAND_POOL_B_ENTRY < HUB_POOL_B_SIZE);
    hub_block.encounter_pool_b[CITY_ERRAND_POOL_B_ENTRY].on = 1;
}

// 1140 leaves behind a fade.
constexpr Cue DEPARTURE[] = {cue::fade_out_of_scene(), cue::call(hide_self),
                             cue::fade_into_scene()};

// clang-format off
// 1065 takes the item of the keeper of shop 21.
constexpr Cell TALK_1065[] = {
    stage(0), S(25100_t), S(25101_t), to(1),
    stage(1), S(25101_t),
        when(has_item(2295_item)),
            P(25105_t), S(25106_t), give(1151_item, 1), take(2295_item, 1), to(2),
        end(),
    stage(2, EVERY_STAGE), S(25107_t),
};
static_assert(cells_valid(TALK_1065));

// 1066's handover of item 2351; it then walks out of the city from the walk's first frame.
constexpr std::array HANDOVER{
    take(2351_item, 1),
    run(34503_t, 34515_t, PLAYER, person(1200_img)),
    give(2360_item, 1), meet(200_person, 50), to(4), call(open_pool_entry),
    call(frame_after<39802>),
};
// A click at stage 2 with the item plays the handover at once, without the opening lines.
constexpr auto TALK_1066 = join_cells(
    std::array{stage(0, 1),
        N(1200_img, 34500_t), P(34501_t), N(1200_img, 34502_t),
        when(has_item(2351_item))}, HANDOVER,
    std::array{otherwise(), P(34520_t), N(1200_img, 34521_t), to(2),
        end(),
    stage(2),
        when(has_item(2351_item))}, HANDOVER,
    std::array{otherwise(), N(1200_img, 34525_t), P(34526_t),
        end(),
    stage(3)}, HANDOVER,
    std::array{stage(4, EVERY_STAGE), N(1200_img, 25608_t)});
static_assert(cells_valid(TALK_1066));

// clang-format off
// The spot of item 2376: taken, it is gone.
constexpr Cell TALK_1067[] = {
    stage(0), S(33611_t), P(0, 33612_t), S(33613_t), P(0, 33614_t), S(33615_t),
        choice_at(0, 1000_img, 33616_t, 33617_t),
            option(0), call(hide_self), give(2376_item, 1), to(1),
        end(),
    stage(1, EVERY_STAGE), S(33634_t),
        choice_at(0, 1000_img, 33616_t, 33617_t),
            option(0), call(hide_self), give(2376_item, 1),
        end(),
};
static_assert(cells_valid(TALK_1067));

// 1111 sends item 2285 to 1113 and rewards its return.
constexpr Cell TALK_1111[] = {
    stage(0), run(13820_t, 13842_t, PLAYER, SELF), to(1), obj_to(1113_obj, 2),
        give(2285_item, 1),
    stage(1), S(13843_t),
    stage(2), run(13854_t, 13859_t, PLAYER, SELF), chivalry(3), give(2362_item, 1),
        set_flag(32_flag, 1), to(3),
    stage(3), S(13857_t),
    stage(4), when(flag_is(32_flag, 1)), S(26521_t), otherwise(), S(26522_t), end(),
};
static_assert(cells_valid(TALK_1111));

// 1112 is shown item 2376 (the player keeps it) and sends the keeper 1011 on.
constexpr std::array GIVING_2376{
    run(33618_t, 33625_t, PLAYER, SELF), obj_to(1011_obj, 1), to(2), set_flag(36_flag, 1),
};
constexpr std::array THANKS_1112{
    run(27455_t, 27461_t, player_at(3), SELF), give(2391_item, 1), to(3),
};
constexpr auto TALK_1112 = join_cells(
    std::array{stage(0), when(has_item(2376_item))}, GIVING_2376,
    std::array{otherwise(), run(33660_t, 33666_t, PLAYER, SELF), to(1), end(),
    stage(1), when(has_item(2376_item))}, GIVING_2376,
    std::array{otherwise(), S(33658_t), end(),
    stage(2), S(33658_t),
    stage(3), S(26522_t),
    stage(4), run(27440_t, 27453_t, SELF, player_at(3)), to(5),
    stage(5),
        when(has_item(2393_item)), take(2393_item, 1)}, THANKS_1112,
    std::array{orwhen(has_item(2321_item)), take(2321_item, 1)}, THANKS_1112,
    std::array{otherwise(), S(27454_t),
        end()});
static_assert(cells_valid(TALK_1112));

constexpr Cell TALK_1113[] = {
    stage(0), run(33680_t, 33686_t, PLAYER, SELF), to(1),
    stage(1), S(33691_t),
    stage(2),
        when(has_item(2285_item)),
            run(13844_t, 13852_t, PLAYER, SELF), to(3), obj_to(1111_obj, 2),
            take(2285_item, 1),
        otherwise(), S(33691_t),
        end(),
    stage(3), S(13853_t),
    stage(4), S(33691_t),
};
static_assert(cells_valid(TALK_1113));

// 1114 gives item 2260 for 2372, or for nothing to a player whose growth value 14 is 60 or more.
constexpr Cell TALK_1114[] = {
    stage(0), S(25527_t),
        when(has_item(2372_item)),
            P(25529_t), S(25530_t), P(25531_t), take(2372_item, 1), give(2260_item, 1), to(1),
        orwhen(record_from(REC_SKILL, 14, 60)),
            P(25528_t), call(fade_pause), S(25530_t), P(25531_t), give(2260_item, 1), to(1),
        end(),
    stage(1, EVERY_STAGE), S(25532_t),
};
static_assert(cells_valid(TALK_1114));

// Stage 2 is set by no script; it is kept as it stands.
constexpr Cell TALK_1115[] = {
    stage(0), run(26420_t, 26427_t, SELF, player_at(3)), to(1),
    stage(1), S(26428_t),
    stage(2), run(26429_t, 26432_t, SELF, player_at(3)), to(3), give(1905_item, 1),
    stage(3), S(25403_t),
    stage(4),
        when(has_item(2389_item)),
            run(27118_t, 27129_t, player_at(3), SELF), to(5), obj_to(1019_obj, 1),
        otherwise(), S(27130_t),
        end(),
    stage(5), S(27130_t),
};
static_assert(cells_valid(TALK_1115));

constexpr Cell TALK_1120[] = {
    stage(0), S(33380_t),
        choice(33381_t, 33382_t),
            option(0), when(money_from(5)), S(33383_t), money(-5), to(1), end(),
        end(),
    stage(1, EVERY_STAGE), S(33384_t),
};
static_assert(cells_valid(TALK_1120));

constexpr Cell TALK_1137[] = {
    stage(0), S(25533_t), P(25534_t), S(25469_t), P(25470_t), S(25471_t), to(1),
    stage(1), S(25535_t),
        when(has_item(2260_item)),
            P(25536_t), S(25537_t), take(2260_item, 1), give(2269_item, 1), to(2),
            call(frame_after<39780>),
        end(),
    stage(2, EVERY_STAGE), S(25538_t),
};
static_assert(cells_valid(TALK_1137));

// Item 2375 alone is recognised but not taken.
constexpr Cell TALK_1138[] = {
    stage(0), S(25552_t),
        when(has_item(2373_item)),
            P(25554_t), S(25555_t), P(25556_t), S(25557_t), P(25558_t), S(25559_t), to(1),
            take(2373_item, 1), give(2374_item, 1), call(frame_after<46412>),
        orwhen(has_item(2375_item)), P(25554_t), S(25560_t), call(frame_after<46412>),
        end(),
    stage(1), S(25559_t),
    stage(2), S(25561_t), P(3, 25562_t), S(25563_t), give(2398_item, 1), to(3),
    stage(3, EVERY_STAGE), S(25559_t),
};
static_assert(cells_valid(TALK_1138));

// 1139 sells item 2372 for 500 money.
constexpr std::array OFFER_1139{
    when(money_from(500)),
        choice(25519_t, 25520_t),
            option(0), P(25521_t), S(25522_t), P(25523_t), S(25526_t), money(-500), to(2),
                chivalry(3), give(2372_item, 1),
        end(),
    otherwise(), P(25524_t), S(25525_t), to(1),
    end(),
};
constexpr auto TALK_1139 = join_cells(
    std::array{stage(0), S(25513_t), P(25514_t), S(25515_t), P(25516_t), S(25517_t),
        P(25518_t)}, OFFER_1139,
    std::array{stage(1), S(25513_t)}, OFFER_1139,
    std::array{stage(2), S(25526_t),
    stage(3, EVERY_STAGE), S(29128_t)});
static_assert(cells_valid(TALK_1139));

// 1140 takes item 2374 for 2365 and 5000 money, and is gone.
constexpr Cell TALK_1140[] = {
    stage(0, EVERY_STAGE), S(25500_t), S(25501_t),
        when(has_item(2374_item)),
            run(25502_t, 25512_t, PLAYER, SELF), scene(DEPARTURE),
            take(2374_item, 1), give(2365_item, 1), money(5000),
        end(),
};
static_assert(cells_valid(TALK_1140));
// clang-format on

// ---- Resident rows ---------------------------------------------------------------------------

constexpr IdleCycle IDLE_1137_A = idle10(39750, 39770, 2, 10);
constexpr IdleCycle IDLE_1137_B = idle10(39780, 39796, 2, 10);
constexpr IdleCycle IDLE_1138_A = idle10(46400, 46411, 1, 10);
// Stages 2 and 3 keep the range of stage 1.
constexpr IdleCycle IDLE_1138_B = idle10(46412, 46428, 1, 10);
constexpr TurnFrames same4(s32 f) {
    return {f, f, f, f};
}

constexpr ErrandRow ERRANDS[] = {
    {654, one_band(idle10(46360, 46388, 2, 20), {46388, 46372, 46388, 46372}), TALK_1065},
    {699, one_band(idle10(43350, 43376, 2, 10), {-43380, 43380, -43378, 43378}), TALK_1111},
    {700, one_band(idle10(43400, 43420, 2, 10), {-43424, 43424, -43422, 43422}), TALK_1112},
    {701, one_band(idle10(39560, 39574, 2, 10), {39578, 39574, 39580, 39576}), TALK_1113},
    {702, one_band(idle10(39600, 39624, 2, 10), {-39626, 39626, -39624, 39624}), TALK_1114},
    {703, one_band(idle10(39500, 39524, 2, 10), {-39528, 39528, -39526, 39526}), TALK_1115},
    {708, one_band(idle10(44126, 44174, 2, 10), {44154, 44124, 44174, 44180}), TALK_1120},
    {716,
     {StageBand{.from = 0, .idle = IDLE_1137_A, .turn = TURN_BOTH, .frames = same4(39750)},
      StageBand{.from = 1, .idle = IDLE_1137_A, .turn = TURN_BOTH, .frames = same4(39780)},
      StageBand{.from = 2, .idle = IDLE_1137_B, .turn = TURN_NOBODY, .frames = {}}},
     TALK_1137},
    {717,
     {StageBand{.from = 0, .idle = IDLE_1138_A, .turn = TURN_BOTH, .frames = same4(46400)},
      StageBand{.from = 1, .idle = IDLE_1138_B, .turn = TURN_BOTH, .frames = same4(46423)},
      StageBand{.from = 2, .idle = IDLE_1138_B, .turn = TURN_NOBODY, .frames = {}}},
     TALK_1138},
    {718, one_band(idle10(46300, 46328, 2, 10), same4(46300)), TALK_1139},
    {719, one_band(idle10(46760, 46788, 2, 10), same4(46760)), TALK_1140},
};

// ---- 1066 and its walk out of the city -------------------------------------------------------

using route::go;
using route::rearm_to;
using route::self_off;

constexpr s32 WALK_SPEED = 7;
constexpr s32 WALK_REARM = 1;
constexpr s32 ARRIVAL_REARM = 7;
constexpr s32 WALK_FIRST_FRAME = 39800;
constexpr s32 WALK_LAST_FRAME = 39849;

constexpr RouteStep WALKER_STEPS[] = {
    route::idle(0, 47100_f, 47134_f, 2, 10, 10).through(3),
    go(4, 4029, 1143, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(5, 4226, 1276, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(6, 4587, 1465, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(7, 4555, 1513, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(8, 5122, 1702, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(9, 4587, 2123, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(10, 4506, 2124, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(11, 4208, 2313, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(12, 4050, 2528, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(13, 3342, 3078, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    go(14, 2617, 2833, rearm_to(ARRIVAL_REARM)).rearm(WALK_REARM),
    // The last point: hidden for good (the stage after it has no step, so nothing re-arms).
    go(15, 1233, 3832, rearm_to(ARRIVAL_REARM), self_off()).rearm(WALK_REARM),
};
constexpr RouteWindow WALKER_WINDOWS[] = {route::always(WALKER_STEPS)};
constexpr Route WALKER_ROUTE{
    .interval = ROUTE_NO_REARM, .speed = WALK_SPEED, .windows = WALKER_WINDOWS};
constexpr TalkRow WALKER_TALK{
    .far = TALK_FAR, .frames = {47140, 47138, 47134, 47136}, .cells = TALK_1066};

constexpr TalkRow SPOT_TALK{.turn = TURN_NOBODY, .keep_frame = false, .cells = TALK_1067};

} // namespace

void object_event_0655() {
    if (script_on(TRIG_TIMER)) route_run(WALKER_ROUTE);
    if (script_on(TRIG_CLICK)) errand_talk(WALKER_TALK, true);
}

void object_event_0656() {
    if (script_on(TRIG_CLICK)) talk_run(SPOT_TALK);
}

// ---- Frames ---------------------------------------------------------------------------------

void city_item_errands_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const ErrandRow& r : ERRANDS)
        for (const StageBand& b : r.bands) {
            if (b.from == EVERY_STAGE) continue;
            frames_of_cycle(v, b.idle);
            if (b.turn == TURN_BOTH) frames_of_turn(v, b.frames);
        }
    frames_of_cycle(v, WALKER_STEPS[0].cycle);
    frames_of_turn(v, WALKER_TALK.frames);
    for (s32 f = WALK_FIRST_FRAME; f <= WALK_LAST_FRAME; ++f) v(f);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr std::array<ScriptSlot, 2> OWN_SLOTS{{{655, object_event_0655}, {656, object_event_0656}}};
constexpr auto SLOTS = join_slots(family_slots<ERRANDS, run_errand_row>(), OWN_SLOTS);
static_assert(slots_distinct(SLOTS));

// Every slot of these ranges is carried by an object of the city or of map 231.
constexpr SlotRange COMPLETE[] = {{654, 656}, {699, 703}, {708, 708}, {716, 719}};
} // namespace

std::span<const ScriptSlot> city_item_errands_slots() {
    return SLOTS;
}

ScriptRegion city_item_errands_region() {
    return {
        .owner = CITY_ITEM_ERRANDS_OWNER, .slots = city_item_errands_slots, .complete = COMPLETE};
}
