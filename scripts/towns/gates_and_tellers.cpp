#include "scripts/towns/gates_and_tellers.h"

#include "engine/dialog.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/script_seams.h"
#include "scripts/towns/shops_and_delivery.h"

#include <array>

// ---- Gates -----------------------------------------------------------------------------------

namespace {

constexpr ItemGate AIM_TOOLS{2210, 2219, 10560, -112};
constexpr ItemGate AIM_SHOTS{2200, 2209, 10564, -128};

// The aiming gate of map 231: mode 0 without a coach, two slots, main kind 3, skill 30 at 150.
constexpr StationGate AIM_GATE{.tool = AIM_TOOLS,
                               .supply = AIM_SHOTS,
                               .stamina = 150,
                               .game = {GAME_AIM, {0, -1, 2, 3, 30, 150}}};
// The bait-catch gate of the city.
constexpr StationGate BAIT_GATE{.tool = {2230, 2239, 10562, -112},
                                .supply = {2240, 2249, 10565, -88},
                                .stamina = 100,
                                .game = {GAME_BAIT_CATCH, {0}}};
// The aiming contest of map 194: one target of 600 points.
constexpr StationGate TARGET_GATE{.tool = AIM_TOOLS,
                                  .supply = AIM_SHOTS,
                                  .stamina = GATE_NO_STAMINA,
                                  .game = {GAME_AIM_TARGET, {102, -1, 1, 3, 0, 0}}};
// The light-ring gate of map 182; its symbols are filled in by the party.
constexpr StationGate RING_GATE{.tool = {2250, 2259, 10561, -120},
                                .supply = {},
                                .stamina = GATE_NO_STAMINA,
                                .game = {GAME_LIGHT_RING, {}}};
constexpr s32 RING_DRAWN = -1;
constexpr std::array<s32, 8> RING_WITH_COMPANION{RING_DRAWN, RING_DRAWN, RING_DRAWN, RING_DRAWN,
                                                 RING_DRAWN, RING_DRAWN, RING_DRAWN, 4};
constexpr std::array<s32, 8> RING_ALONE{19,         RING_DRAWN, RING_DRAWN, RING_DRAWN,
                                        RING_DRAWN, RING_DRAWN, RING_DRAWN, RING_DRAWN};

void target_prize() {
    inv_add(TARGET_PRIZE, 1);
}

// The win at the aiming contest: the prize, the click area gone, the way to map 183 open and the
// archer of map 193 moved on.
namespace target_win {
using namespace cue;
constexpr Cue SCENE[] = {
    render(),
    say(3, 1000_img, 25844_t),
    call(target_prize),
    off(ObjId(GATE_TARGET_OBJ)),
    say(2, 1087_img, 25841_t),
    fade_out_of_scene(),
    off(ObjId(GATE_TARGET_OBJ)),
    on(ObjId(TARGET_PORTAL)),
    off(ObjId(TARGET_BARRIER)),
    stage(ObjId(TARGET_ARCHER), TARGET_ARCHER_STAGE),
    fade_into_scene(),
    say(3, 1000_img, 25842_t),
    on(ObjId(TARGET_ARCHER)),
    place_on(ObjId(TARGET_ARCHER), MapId(TARGET_ARCHER_MAP), TARGET_ARCHER_X, TARGET_ARCHER_Y,
             FrameId(TARGET_ARCHER_FRAME)),
    show_frame(ObjId(TARGET_ARCHER), FrameId(TARGET_ARCHER_FRAME)),
};
static_assert(cues_valid(SCENE));
} // namespace target_win

} // namespace

StationGate light_ring_gate_now() {
    bool companion = false;
    for (const s32 member : player_record.party) companion = companion || member == RING_COMPANION;
    StationGate gate = RING_GATE;
    gate.game.args = companion ? RING_WITH_COMPANION : RING_ALONE;
    return gate;
}

void object_event_0815() {
    if (script_on(TRIG_CLICK)) station_gate(AIM_GATE);
}

void object_event_0816() {
    if (script_on(TRIG_CLICK)) station_gate(BAIT_GATE);
}

// Only a fallen target wins; any other result leaves everything as it was, to be tried again.
void object_event_0891() {
    if (!script_on(TRIG_CLICK)) return;
    s32 result = 0;
    if (station_gate(TARGET_GATE, &result) && result == 1) cues_run(target_win::SCENE);
}

void object_event_0896() {
    if (script_on(TRIG_CLICK)) station_gate(light_ring_gate_now());
}

// ---- The fishing contest ---------------------------------------------------------------------

s32 host_fish_count() {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == HOST_FISH) return e.count;
    return 0;
}

bool host_catch_wins(s32 caught, s32 need, bool retry) {
    return retry ? caught >= need : caught > need;
}

namespace {

constexpr IdleCycle HOST_IDLE{.rearm = 10,
                              .start = 46200,
                              .limit = 46227,
                              .step = 1,
                              .pause = 20,
                              .pause_rand = 0,
                              .wrap_at_limit = false,
                              .remark_frame = 0,
                              .remark_text = 0,
                              .remark_dx = 0,
                              .remark_dy = 0,
                              .remark_ms = 0,
                              .frozen_by_var_b = false,
                              .band_lo = 46204,
                              .band_hi = 46210,
                              .band_rearm = 50};
constexpr s32 HOST_NEED_TEXT = 25327; // + the need: one of 25331-25335

// The outcome of the contest just played, for the talk's branch.
bool contest_won = false;

bool host_has_tackle() {
    return inv_has_range(HOST_ROD_LO, HOST_ROD_HI) != 0 && inv_has(HOST_BAIT) != 0;
}
bool host_contest_won() {
    return contest_won;
}

// The game, the catch counted from the fish before and after it, the drawn need said by the host.
void host_contest(bool retry) {
    const s32 before = host_fish_count();
    game_call({GAME_BAIT_CATCH, {0}});
    scene_render();
    const s32 caught = host_fish_count() - before;
    const s32 need = HOST_NEED_MIN + script_rand(HOST_NEED_SPREAD);
    say_at(script_self(), HOST_NEED_TEXT + need);
    contest_won = host_catch_wins(caught, need, retry);
}
// The talk's context, for the verdict that follows the game.
TalkContext host_ctx{};
void host_contest_first();
void host_contest_retry();

static_assert(HOST_DELIVERY == ERRAND_STAGE);
// The box position of the host's talk, for the errand's delivery.
s32 host_pos = 3;
void host_errand_delivery() {
    errand_delivery(script_self(), host_pos);
}

namespace host {
using namespace cell;
// Stage 60 is the delivery errand of the shops: the host's stage is parked in its ATTR_VAR_B.
constexpr Cell TALK[] = {
    stage(HOST_NEW),
    S(25320_t),
    stage(HOST_INVITED),
    run(25321_t, 25330_t, PLAYER, SELF),
    when(test(host_has_tackle)),
    call(host_contest_first),
    otherwise(),
    S(25301_t),
    to(HOST_RETRY),
    end(),
    stage(HOST_RETRY),
    S(25347_t),
    when(test(host_has_tackle)),
    choice(25348_t, 25349_t),
    option(0),
    call(host_contest_retry),
    end(),
    otherwise(),
    S(25301_t),
    to(HOST_RETRY),
    end(),
    stage(HOST_WON),
    S(25343_t),
    stage(HOST_DELIVERY),
    choice(25372_t, 25371_t),
    option(ERRAND_HOST_OPTION),
    call(host_errand_delivery),
    end(),
};
static_assert(cells_valid(TALK));
// The verdict after the first try and after every retry.
constexpr Cell VERDICT[] = {
    when(test(host_contest_won)),
    run(25336_t, 25342_t, PLAYER, SELF),
    give(ItemId(HOST_PRIZE), 1),
    to(HOST_WON),
    otherwise(),
    run(25345_t, 25346_t, PLAYER, SELF),
    to(HOST_RETRY),
    end(),
};
static_assert(cells_valid(VERDICT));
} // namespace host

void host_contest_first() {
    host_contest(false);
    cells_run(host::VERDICT, host_ctx);
}
void host_contest_retry() {
    host_contest(true);
    cells_run(host::VERDICT, host_ctx);
}

// The host keeps its frame while the player turns to it: obj_face with the frame it shows.
void host_click() {
    if (too_far_guard(HOST_REACH)) return;
    const s32 self = script_self();
    const s32 frame = obj_get_frame(self);
    host_ctx = {self, turn_to_talk({frame, frame, frame, frame}), -1};
    host_pos = host_ctx.turn.pos;
    cells_run_stage(host::TALK, host_ctx);
}

} // namespace

void object_event_0680() {
    if (script_on(TRIG_TIMER)) idle_cycle(HOST_IDLE);
    if (script_on(TRIG_CLICK)) host_click();
}

// ---- Ranking tellers -------------------------------------------------------------------------

namespace {

constexpr s32 TELLER_PORTRAIT = 1163;
constexpr IdleCycle TELLER_IDLE{.rearm = 8, .start = 21300, .limit = 21310, .step = 1, .pause = 20};
constexpr TurnFrames TELLER_TURN{21311, 21311, 21310, 21310};

namespace teller {
using namespace cell;
// The tellers keep no state: every stage gets the same talk.
constexpr Cell TALK[] = {
    stage(0, 0xffff),
    N(ImageId(TELLER_PORTRAIT), 14900_t),
    choice(14901_t, 14902_t, 14903_t),
    option(0),
    N(ImageId(TELLER_PORTRAIT), 14920_t).plus_rand(10),
    option(1),
    N(ImageId(TELLER_PORTRAIT), 14909_t),
    ranking(),
    end(),
};
static_assert(cells_valid(TALK));
} // namespace teller

constexpr Resident TELLER{
    .idle_on = true,
    .idle = TELLER_IDLE,
    .talk = {.far = 250,
             .clear = CLEAR_NONE,
             .turn = TURN_BOTH,
             .frames = TELLER_TURN,
             .cells = teller::TALK},
};

} // namespace

void object_event_0169() {
    resident_run(TELLER);
}

void object_event_0818() {
    resident_run(TELLER);
}

// ---- Frames ----------------------------------------------------------------------------------

void gates_and_tellers_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    for (s32 f = TELLER_IDLE.start; f <= TELLER_TURN.f0; f++) visit(f, ctx);
    for (s32 f = HOST_IDLE.start; f <= HOST_IDLE.limit; f++) visit(f, ctx);
    cues_frames(target_win::SCENE, visit, ctx);
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {169, object_event_0169}, {680, object_event_0680}, {815, object_event_0815},
    {816, object_event_0816}, {818, object_event_0818}, {891, object_event_0891},
    {896, object_event_0896},
};
static_assert(slots_distinct(SLOTS));

// 817 belongs to the caves.
constexpr SlotRange COMPLETE[] = {{169, 169}, {680, 680}, {815, 816},
                                  {818, 818}, {891, 891}, {896, 896}};
} // namespace

std::span<const ScriptSlot> town_gates_slots() {
    return SLOTS;
}

ScriptRegion town_gates_region() {
    return {.owner = TOWN_GATES_OWNER, .slots = town_gates_slots, .complete = COMPLETE};
}
