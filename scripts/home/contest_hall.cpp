#include "scripts/home/contest_hall.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/kanji_print.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/party.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/episode_kit.h"
#include "scripts/games.h"
#include "scripts/routes.h"

#include <array>
#include <iterator>

namespace {
using namespace cell;

// ---- The contest master ----------------------------------------------------------------------

constexpr IdleCycle MASTER_IDLE{.rearm = 8,
                                .start = 30636,
                                .limit = 30650,
                                .step = 1,
                                .pause = 100,
                                .pause_rand = 200,
                                .remark_frame = 30640,
                                .remark_text = 10220,
                                .remark_dx = -90,
                                .remark_dy = -100,
                                .remark_ms = 3000};

void plain_dice() {
    game_call({GAME_DICE, {0, 50}});
}

s32 high_result = 0;
void high_dice() {
    high_result = game_call({GAME_DICE_HIGH, {0, 500}});
    scene_render();
}
bool high_won() {
    return high_result == 1;
}

// clang-format off
constexpr Cell MASTER_TALK[] = {
    stage(MASTER_PLAIN), N(1024_img, 0, 10223_t), call(plain_dice),
    stage(MASTER_INVITED), P(3, 27053_t), N(1024_img, 2, 27054_t),
        choice_at(3, 1000_img, 27055_t, 27056_t),
            option(0), N(1024_img, 2, 27057_t), P(3, 27058_t), call(high_dice),
                when(test(high_won)), N(1024_img, 2, 27066_t), to(MASTER_HIGH_WON),
                otherwise(), N(1024_img, 2, 27059_t), to(MASTER_HIGH_LOST),
                end(),
        end(),
    stage(MASTER_HIGH_LOST),
        choice_at(3, 1000_img, 27061_t, 27062_t, 27063_t),
            option(0), N(1024_img, 2, 27064_t), call(high_dice),
                when(test(high_won)), N(1024_img, 2, 27066_t), to(MASTER_HIGH_WON),
                otherwise(), N(1024_img, 2, 27059_t),
                end(),
            option(1), call(plain_dice),
        end(),
    stage(MASTER_HIGH_WON),
        when(hour_in(0, TOURNAMENT_FROM_HOUR - 1)), N(1024_img, 0, 10223_t), call(plain_dice),
        otherwise(), N(1024_img, 0, 27067_t),
            choice_at(3, 1000_img, 27068_t, 27069_t),
                option(0), to(MASTER_ENTERED), call(tournament_run),
            end(),
        end(),
    stage(MASTER_ENTERED), N(1024_img, 0, 10223_t), call(plain_dice),
};
// clang-format on
static_assert(cells_valid(MASTER_TALK));

constexpr Resident MASTER{
    .idle_on = true,
    .idle = MASTER_IDLE,
    .talk = {.frames = {30651, 30653, 30652, 30636},
             .keep_frame = false,
             .end_frame = 30636,
             .cells = MASTER_TALK},
};

// ---- The tournament --------------------------------------------------------------------------

constexpr std::array<s32, TOURNAMENT_CANDIDATE_COUNT> CANDIDATES = {
    5,   54,  31,  38,  46,  50,  51,  69,  70,  78,  83,  84,  88,  89,  93,  104, 114,
    121, 131, 142, 143, 144, 145, 154, 156, 161, 166, 167, 171, 172, 188, 193, 55};
static_assert([] {
    for (const s32 c : CANDIDATES)
        if (c <= 0 || c >= ROSTER_SIZE) return false;
    return true;
}());

constexpr s32 SPECIAL_DAYS[] = {1, 5, 9, 13, 17, 21, 25, 29};

void special_fought() {
    player_record.story_flags[SPECIAL_FLAG] = 1;
    party_leave(SPECIAL_CHAMPION);
}

namespace special_scene {
using namespace cue;

// Person 4 takes the player's place in the arena of map 144, where its host awaits it.
// clang-format off
constexpr Cue SPECIAL_OPENING[] = {
    fade_out_of_scene(),
    map_change(144_map, 301, 399),
    frame(0_obj, 418_f),
    place_on(2215_obj, 144_map, 275, 336, 7430_f),
    on(2215_obj),
    on(2106_obj),
    fade_into_scene(),
    pairs(27075_t, 27082_t, box(2, 1004_img), box(3, 1105_img)),
    say(2, 1004_img, 27083_t),
};
// clang-format on
static_assert(cues_valid(SPECIAL_OPENING));

// Whatever the result: the talk after the bout, the host sent home and the player back in the
// hall; person 4 leaves the party.
// clang-format off
constexpr Cue SPECIAL_CLOSING[] = {
    render(),
    say(3, 1105_img, 27084_t),
    say(2, 1004_img, 27085_t),
    say(3, 1105_img, 27086_t),
    pairs(27087_t, 27090_t, box(3, 1000_img), box(2, 1004_img)),
    say(3, 1000_img, 27091_t),
    fade_out_of_scene(),
    off(2106_obj),
    place_on(2215_obj, 95_map, 651, 267, -7430_f),
    stage(2215_obj, 3),
    map_change(16_map, 193, 334),
    frame(0_obj, 418_f),
    cue::call(special_fought),
    fade_into_scene(),
};
// clang-format on
static_assert(cues_valid(SPECIAL_CLOSING));

} // namespace special_scene

// The line-up is written before the bout; nobody is healed after it.
constexpr BattleBlock TOURNAMENT_BOUT{.encounter = TOURNAMENT_ENCOUNTER,
                                      .party = false,
                                      .heal_full = {},
                                      .heal_part = {},
                                      .loss = LOSS_NONE};

bool candidate_eligible(s32 k) {
    const s32 id = CANDIDATES[size_t(k)];
    return party_has(id) == 0 && roster[id].presence != 0;
}

// Draws up to `wanted` opponents into fighters 6.. of the rows; returns how many were drawn.
s32 draw_opponents(s32 wanted, std::array<LineupRow, LINEUP_FIGHTERS + 2>& rows, size_t& n) {
    std::array<s32, LINEUP_FOE_LAST - LINEUP_FOE_FIRST + 1> picks{};
    const s32 count = wanted < s32(picks.size()) ? wanted : s32(picks.size());
    const s32 drawn = draw_distinct(TOURNAMENT_CANDIDATE_COUNT, candidate_eligible,
                                    std::span<s32>(picks.data(), size_t(count)));
    for (s32 i = 0; i < drawn; i++)
        rows[n++] = lineup::fighter(LINEUP_FOE_FIRST + i, CANDIDATES[size_t(picks[size_t(i)])]);
    return drawn;
}

// ---- The dice partner and archery teacher ----------------------------------------------------

// Waiting on map 41 until 17:00, before the lesson and after it. The arrival at the last
// way-point shows its own frame first: one step a run.
constexpr IdleCycle WAITING_IDLE{
    .rearm = 6, .start = 33932, .limit = 33980, .step = 2, .pause = 100, .pause_rand = 200};
constexpr s32 WAITING_UNTIL_HOUR = 17;
void waiting_idle() {
    if (world_state.hour < WAITING_UNTIL_HOUR) idle_cycle(WAITING_IDLE);
}

// The idle loops of the partner pause 100 + a draw of 200 frames at the wrap.
constexpr RouteStep paused(RouteStep s) {
    s.cycle.pause_rand = 200;
    return s;
}
// clang-format off
constexpr RouteStep PARTNER_ALWAYS[] = {
    paused(route::idle_remark(route::idle(PARTNER_FIRST, 30654_f, 30684_f, 2, 6, 100), 30664_f,
                              10272_t, -20, -65, 5000)).through(PARTNER_LOST),
    route::go(3, 466, 368),
    route::go(4, 487, 385, route::place_self(10_map, 4392, 1678, 5922_f)),
    route::go(5, 4471, 1742),
    route::go(6, 4741, 1548),
    route::go(7, 3982, 1136),
    route::go(8, 6264, 90, route::place_self(42_map, 0, 818, 5902_f)),
    route::go(9, 768, 510),
    route::go(10, 1366, 608, route::place_self(41_map, 153, 1293, 5902_f)),
    route::go(11, 747, 1200),
    route::go(12, 903, 918),
    // The last way-point: the walking teacher of map 45 sets out on its own walk.
    route::go(13, 651, 858, route::at_frame(33932_f), route::obj_stage(187_obj, 2),
              route::place(187_obj, 45_map, 298, 236, 5972_f)),
    route::custom(PARTNER_WAITING, waiting_idle).through(PARTNER_TAUGHT),
};
// clang-format on
constexpr RouteWindow PARTNER_WINDOWS[] = {route::always(PARTNER_ALWAYS)};
constexpr Route PARTNER_ROUTE{.interval = 6, .speed = 10, .windows = PARTNER_WINDOWS};

s32 practice_result = 0;
void practice() {
    practice_result = game_call({GAME_DICE_PRACTICE, {}});
    scene_render();
    text_size(24);
    text_style(2);
    text_colour(0, 0, 0);
}
bool practice_won() {
    return practice_result == 1;
}
void regard_after_loss() {
    player_record.affection[PARTNER_REGARD] = PARTNER_REGARD_LOST;
}
void aiming_game() {
    game_call({GAME_AIM_FRAMED, {}});
    player_record.affection[PARTNER_REGARD] = PARTNER_REGARD_TAUGHT;
    scene_render();
}

constexpr Lesson AIM_LESSON{.growth = AIM_GROWTH, .exp = AIM_EXP};

// clang-format off
constexpr Cell PARTNER_TALK[] = {
    stage(PARTNER_FIRST), run(20168_t, 20174_t, SELF, PLAYER),
        choice(20175_t, 20176_t),
            option(0), call(practice),
                when(test(practice_won)), f(-5902_f), run(10305_t, 10308_t, PLAYER, SELF),
                    to(PARTNER_WALK_FIRST),
                otherwise(), P(10309_t), S(10310_t), to(PARTNER_LOST), f(30654_f),
                    call(regard_after_loss),
                end(),
            option(1), to(PARTNER_DECLINED), f(30654_f),
        end(),
    stage(PARTNER_DECLINED), S(20177_t),
        choice(20175_t, 20176_t),
            option(0), call(practice),
                when(test(practice_won)), f(-5902_f), run(10305_t, 10308_t, PLAYER, SELF),
                    to(PARTNER_WALK_FIRST),
                otherwise(), P(10309_t), S(10310_t), to(PARTNER_LOST), f(30654_f),
                end(),
            option(1), f(30654_f),
        end(),
    stage(PARTNER_LOST), S(10311_t), f(30654_f),
    stage(PARTNER_WALK_FIRST, PARTNER_WALK_LAST), S(10314_t),
    stage(PARTNER_WAITING), run(10315_t, 10323_t, SELF, PLAYER),
        give(ItemId(AIM_TOOL_ITEM), 1), give(ItemId(AIM_AMMO_ITEM), AIM_AMMO_COUNT),
        teach(AIM_LESSON), call(aiming_game),
        run(10324_t, 10329_t, PLAYER, SELF), f(33932_f), to(PARTNER_TAUGHT), learn(AIM_GROWTH, 0),
    stage(PARTNER_TAUGHT),
        when(!knows(AIM_GROWTH, 55)), S(10330_t),
        otherwise(), S(11510_t),
        end(),
        f(33932_f),
};
// clang-format on
static_assert(cells_valid(PARTNER_TALK));

constexpr TalkRow PARTNER_ROW{
    .clear = CLEAR_PLAYER,
    .turn = TURN_PLAYER_ONLY,
    .fixed = {.pos = 3, .other = 0},
    .keep_frame = false,
    .cells = PARTNER_TALK,
};

// ---- The hall resident -----------------------------------------------------------------------

constexpr Cell RESIDENT_TALK[] = {stage(0), S(20178_t)};
static_assert(cells_valid(RESIDENT_TALK));

constexpr Resident HALL_RESIDENT{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 30900, .limit = 30963, .step = 2, .pause = 200},
    .talk = {.frames = {30970, 30966, 30900, 30968},
             .keep_frame = false,
             .end_frame = 30900,
             .cells = RESIDENT_TALK},
};

} // namespace

// ---- The tournament --------------------------------------------------------------------------

std::span<const s32> tournament_candidates() {
    return CANDIDATES;
}

bool tournament_special_day(s32 day) {
    for (const s32 d : SPECIAL_DAYS)
        if (d == day) return true;
    return false;
}

void tournament_run() {
    std::array<LineupRow, LINEUP_FIGHTERS + 2> rows{};
    size_t n = 0;
    rows[n++] = lineup::clear_all();
    rows[n++] = lineup::fighter(LINEUP_OWN_FIRST, ENCOUNTER_PROTAGONIST);
    bool special = false;
    const s32 day = world_state.day;
    if (day % 2 == 1) {
        if (player_record.story_flags[SPECIAL_FLAG] == 0 && tournament_special_day(day)) {
            rows[n++] = lineup::fighter(LINEUP_FOE_FIRST, SPECIAL_OPPONENT);
            if (party_has(SPECIAL_CHAMPION) != 0) {
                rows[n++] = lineup::fighter(1, SPECIAL_CHAMPION);
                rows[n++] = lineup::fighter(LINEUP_OWN_FIRST, -1);
                special = true;
            } else {
                script_set_stage(SPECIAL_HOST_OBJ, 2);
            }
        } else if (draw_opponents(1, rows, n) == 0) {
            return; // nobody left to fight
        }
    } else {
        s32 members = 0;
        for (const s32 p : player_record.party)
            if (p > 0) members++;
        rows[n++] = lineup::party(0, PLAYER_PARTY - 1);
        if (draw_opponents(1 + members, rows, n) == 0) return; // nobody left to fight
    }
    lineup_write(TOURNAMENT_ENCOUNTER, std::span<const LineupRow>(rows.data(), n));
    if (special) cues_run(special_scene::SPECIAL_OPENING);
    const s32 result = battle_block(TOURNAMENT_BOUT);
    if (result == 1) fame_add(TOURNAMENT_FAME);
    if (special) cues_run(special_scene::SPECIAL_CLOSING);
}

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0024() {
    resident_run(MASTER);
}

void object_event_0026() {
    if (script_on(TRIG_TIMER))
        route_run(PARTNER_ROUTE);
    else if (script_on(TRIG_CLICK))
        talk_run(PARTNER_ROW);
}

void object_event_0038() {
    resident_run(HALL_RESIDENT);
}

// ---- Frames ----------------------------------------------------------------------------------

void contest_hall_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    for (s32 f = 30636; f <= 30653; f++) visit(f, ctx);    // the master idling and turned
    for (s32 f = 30654; f <= 30684; f += 2) visit(f, ctx); // the partner idling
    for (s32 f = 5902; f <= 5937; f++) visit(f, ctx);      // the partner walking out
    for (s32 f = 33932; f <= 33980; f += 2) visit(f, ctx); // the teacher waiting on map 41
    for (s32 f = 30900; f <= 30970; f += 2) visit(f, ctx); // the hall resident and its turns
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {24, object_event_0024},
    {26, object_event_0026},
    {38, object_event_0038},
};
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{24, 24}, {26, 26}, {38, 38}};
} // namespace

std::span<const ScriptSlot> home_contest_hall_slots() {
    return SLOTS;
}

ScriptRegion home_contest_hall_region() {
    return {
        .owner = HOME_CONTEST_HALL_OWNER, .slots = home_contest_hall_slots, .complete = COMPLETE};
}
