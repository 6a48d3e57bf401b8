#include "scripts/home/stations.h"

#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/clock.h"
#include "game/inventory.h"
#include "game/player.h"

#include <array>
#include <iterator>

// ---- Stations --------------------------------------------------------------------------------

namespace {

// The light-ring tables of map 41 draw all eight prizes.
constexpr StationGate LIGHT_RING_GATE{.tool = {2250, 2259, 10561, -120},
                                      .supply = {},
                                      .stamina = 100,
                                      .game = {GAME_LIGHT_RING, {-1, -1, -1, -1, -1, -1, -1, -1}}};

constexpr StationRow STATIONS[] = {
    // The aiming station of map 41: mode 0, the coach, two slots, main kind 3, unlock skill 30
    // at a score of 150.
    {.slot = 133,
     .gate = {.tool = {2210, 2219, 10560, -112},
              .supply = {2200, 2209, 10564, -128},
              .stamina = 150,
              .game = {GAME_AIM, {0, STATION_NO_COACH, 2, 3, 30, 150}}},
     .coached = true},
    {.slot = 135, .gate = LIGHT_RING_GATE},
    {.slot = 136, .gate = LIGHT_RING_GATE},
    // The bait-catch station of map 41, the plain variant.
    {.slot = 137,
     .gate = {.tool = {2230, 2239, 10562, -112},
              .supply = {2240, 2249, 10565, -88},
              .stamina = 100,
              .game = {GAME_BAIT_CATCH, {0}}}},
    // The pop-up targets of map 43 clear the click before their checks and after.
    {.slot = 143,
     .gate = {.tool = {2220, 2229, 10563, -112},
              .supply = {},
              .stamina = 200,
              .game = {GAME_POPUP_TARGETS, {0}},
              .clear_click = true}},
};

void run_station_row(const StationRow& row) {
    if (script_on(TRIG_CLICK)) station_run(row);
}

} // namespace

std::span<const StationRow> station_rows() {
    return STATIONS;
}

StationGate station_gate_now(const StationRow& row) {
    StationGate gate = row.gate;
    if (row.coached) {
        const bool coach = player_record.affection[STATION_COACH_RELATION] >= STATION_COACH_FROM;
        gate.game.args[1] = coach ? STATION_COACH : STATION_NO_COACH;
    }
    return gate;
}

void station_run(const StationRow& row) {
    station_gate(station_gate_now(row));
}

// ---- The aptitude spot -----------------------------------------------------------------------

namespace {

constexpr s32 APTITUDE_NO_ITEM_TEXT = 10740;
constexpr s32 APTITUDE_NO_ITEM_DX = -88;
constexpr s32 APTITUDE_FRAME_FIRST = 34100, APTITUDE_FRAME_LAST = 34124, APTITUDE_FRAME_STEP = 2;
constexpr s32 APTITUDE_FRAME_MS = 200;
constexpr s32 APTITUDE_BOOST = 20;
constexpr s32 APTITUDE_ATTR_LAST = 4; // option 1 raises entries 0..4, the adviser entry 5
constexpr s32 APTITUDE_ADVISER_PORTRAIT = 1014;
constexpr TurnFrames APTITUDE_ADVISER_TURN{-32342, 32342, 32300, -32300};
constexpr s32 APTITUDE_NO_LOG = -1;

void set_constitution() {
    player_record.constitution = 80;
}
void raise_body() {
    for (s32 i = 0; i <= APTITUDE_ATTR_LAST; i++) player_record.attr[i] += APTITUDE_BOOST;
    player_record.stamina = 1000;
}
void set_social() {
    player_record.social_aptitude = 80;
}
// The adviser talks the player through it, then raises the last attribute.
void adviser_talk() {
    say(2, 1000, 10952);
    say(0, APTITUDE_ADVISER_PORTRAIT, 10756);
    const s32 kept = frame_keep(APTITUDE_ADVISER);
    const TalkTurn turn = turn_other_to_talk(APTITUDE_ADVISER, APTITUDE_ADVISER_TURN);
    alternate_lines(
        10757, 10763, Voice{.obj = -1, .position = turn.pos, .portrait = 1000},
        Voice{.obj = -1, .position = turn.other, .portrait = APTITUDE_ADVISER_PORTRAIT});
    player_record.attr[APTITUDE_ATTR_LAST + 1] += APTITUDE_BOOST;
    frame_restore(APTITUDE_ADVISER, kept);
}

// One option of the choice: white text first (when `white`), a log line, the effect, a second
// log line.
struct AptitudeOption {
    bool white = true;
    s32 log_before = APTITUDE_NO_LOG;
    void (*effect)() = nullptr;
    s32 log_after = APTITUDE_NO_LOG;
};
constexpr AptitudeOption APTITUDE_OPTIONS[] = {
    {.white = true, .log_before = 459, .effect = set_constitution, .log_after = 334},
    {.white = true, .log_before = 460, .effect = raise_body, .log_after = 335},
    {.white = true, .log_before = 458, .effect = set_social, .log_after = 336},
    {.white = false, .log_before = APTITUDE_NO_LOG, .effect = adviser_talk, .log_after = 337},
};

void aptitude_choose() {
    const s32 k = choose(3, 1000, 10751, 10752, 10753, 10754);
    if (k < 0 || k >= s32(std::size(APTITUDE_OPTIONS))) return;
    const AptitudeOption& o = APTITUDE_OPTIONS[k];
    if (o.white) text_colour(31, 31, 31);
    if (o.log_before != APTITUDE_NO_LOG) log_text(o.log_before);
    o.effect();
    if (o.log_after != APTITUDE_NO_LOG) log_text(o.log_after);
}

// The spot with an item at hand: the animation, the step of the spot's state, one item spent.
void aptitude_use(s32 spot) {
    frame_steps(0, APTITUDE_FRAME_FIRST, APTITUDE_FRAME_STEP,
                (APTITUDE_FRAME_LAST - APTITUDE_FRAME_FIRST) / APTITUDE_FRAME_STEP + 1,
                APTITUDE_FRAME_MS);
    const s32 state = script_stage(spot);
    if (state == APTITUDE_FRESH) {
        script_set_stage(spot, APTITUDE_READY);
    } else if (state == APTITUDE_READY) {
        aptitude_choose();
        script_set_stage(spot, APTITUDE_SPENT);
    }
    inv_remove_range(APTITUDE_ITEM_LO, APTITUDE_ITEM_HI, 1);
}

} // namespace

void object_event_0144() {
    if (!script_on(TRIG_CLICK)) return;
    mouse_buttons = 0;
    const s32 kept = frame_keep(0);
    if (!too_far_guard_point(APTITUDE_X, APTITUDE_Y, APTITUDE_REACH)) {
        if (inv_has_range(APTITUDE_ITEM_LO, APTITUDE_ITEM_HI) == 0)
            label_add(0, APTITUDE_NO_ITEM_TEXT, APTITUDE_NO_ITEM_DX, GATE_LABEL_DY, GATE_LABEL_MS);
        else
            aptitude_use(script_self());
    }
    frame_restore(0, kept);
}

// ---- Beds ------------------------------------------------------------------------------------

namespace {

constexpr BedRow BEDS[] = {
    {.slot = 145, .last_hour = 14, .refusal = 10990},  // the home bed
    {.slot = 1051, .last_hour = 10, .refusal = 10991}, // the home bed on a free morning
    {.slot = 1052, .last_hour = 16, .refusal = 10992}, // the beds of the journey
    {.slot = 1053, .last_hour = 16, .refusal = 10992},
};

constexpr s32 BED_WAKE_MS = 500;

void run_bed_row(const BedRow& row) {
    if (script_on(TRIG_CLICK)) bed_sleep(row);
}

} // namespace

std::span<const BedRow> bed_rows() {
    return BEDS;
}

s32 bed_hours(s32 last_hour, s32 hour, s32 minute) {
    const s32 h = last_hour - hour + (minute == 0 ? 1 : 0);
    return h < BED_MAX_HOURS ? h : BED_MAX_HOURS;
}

void bed_sleep(const BedRow& row) {
    cursor_select(0);
    mouse_buttons = 0;
    const s32 hours = bed_hours(row.last_hour, world_state.hour, world_state.minute);
    if (hours <= 0) {
        say(2, 1000, row.refusal);
        return;
    }
    say_at(script_self(), BED_OFFER_TEXT);
    s32 t[BED_MAX_HOURS + 1];
    for (s32 i = 0; i <= BED_MAX_HOURS; i++) t[i] = i < hours ? BED_FIRST_OPTION + i : -1;
    const s32 i = choose(3, 1000, t[0], t[1], t[2], t[3], t[4], t[5]);
    if (i < 0 || i >= hours) return;
    const s32 minutes = 60 * (i + 1);
    fade_out_scene();
    clock_advance(minutes);
    stamina_recover(minutes);
    wait_ms(BED_WAKE_MS);
    fade_in_scene();
}

// ---- Frames ----------------------------------------------------------------------------------

void stations_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    for (s32 f = APTITUDE_FRAME_FIRST; f <= APTITUDE_FRAME_LAST; f += APTITUDE_FRAME_STEP)
        visit(f, ctx);
    for (const s32 f : {APTITUDE_ADVISER_TURN.f0, APTITUDE_ADVISER_TURN.f1,
                        APTITUDE_ADVISER_TURN.f2, APTITUDE_ADVISER_TURN.f3})
        visit(f, ctx);
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr std::array<ScriptSlot, 1> OWN_SLOTS = {{{144, object_event_0144}}};
constexpr auto SLOTS = join_slots(family_slots<STATIONS, run_station_row>(),
                                  family_slots<BEDS, run_bed_row>(), OWN_SLOTS);
static_assert(slots_distinct(SLOTS));

// Slot 134 is named by nothing and stays empty; 138-142 belong to the residents of maps 10 and 40.
constexpr SlotRange COMPLETE[] = {{133, 137}, {143, 145}, {1051, 1053}};
} // namespace

std::span<const ScriptSlot> home_stations_slots() {
    return SLOTS;
}

ScriptRegion home_stations_region() {
    return {.owner = HOME_STATIONS_OWNER, .slots = home_stations_slots, .complete = COMPLETE};
}
