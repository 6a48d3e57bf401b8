// The field clock jumped forward by scripts, the timetabled residents re-placed for the current
// quarter hour, the calendar step of six days and the end-of-turn processing.
#include "game/clock.h"

#include "data/hub_block.h"
#include "data/timetables.h"
#include "engine/math.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/player.h"
#include "game/roster_rules.h"

s32 mood_last_seen = 1000;

namespace {

constexpr s32 MOOD_UNSET = 1000;
constexpr s32 FATIGUE_MAX = 1000;
constexpr s32 CALENDAR_DAYS = 30; // every month of the calendar has 30 days
constexpr s32 CALENDAR_MONTHS = 12;
constexpr s32 CALENDAR_STEP_DAYS = 6;
constexpr s32 CONDITION_RECOVERED = 4; // the condition after a sickness ends
constexpr s32 MOOD_AFTER_SICKNESS = 3;
constexpr s32 PARTY_KEPT_FROM_TURN = 234; // companions stay across turns from this turn on
constexpr s32 MENU_BASIC_FROM_TURN = 10;
constexpr s32 MENU_FULL_FROM_TURN = 35;
constexpr s32 FADE_PAUSE_MS = 600;

// Mood drift: a mood that has lasted n >= 3 turns moves when rand_below(range) < n.
struct MoodDrift {
    s32 range;
    s32 to; // the new mood; -1 = a further rand_below(2) picks 3 (0) or 1
};
constexpr s32 MOOD_COUNT = 5;
constexpr s32 MOOD_DRIFT_MIN_TURNS = 3;
constexpr MoodDrift mood_drift_table[MOOD_COUNT] = {
    {10, 1}, // 0
    {8, 2},  // 1
    {6, -1}, // 2: one step either way
    {8, 2},  // 3
    {10, 3}, // 4
};

void residents_place() {
    const s32 q = timetable_quarter(world_state.hour, world_state.minute);
    if (q < 0) return;
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        const s32 obj = timetable_npcs[i];
        if (obj < 0 || obj >= OBJECT_COUNT) continue;
        if (attr_get(obj, ATTR_ACTIVE) != 1) continue; // a hidden resident keeps its place
        const NpcTimetableEntry e = timetable_entry(i, q);
        if (timetable_has(e.map)) attr_set(obj, ATTR_MAP, e.map);
        if (timetable_has(e.x)) attr_set(obj, ATTR_X, e.x);
        if (timetable_has(e.y)) attr_set(obj, ATTR_Y, e.y);
        // A negative frame other than the empty marker is the image mirrored.
        if (timetable_has(e.frame)) obj_set_frame(obj, e.frame);
        if (timetable_has(e.var_a)) attr_set(obj, ATTR_VAR_A, e.var_a);
    }
}

void mood_drift() {
    PlayerRecord& p = player_record;
    const s32 n = p.mood_turns;
    if (n < MOOD_DRIFT_MIN_TURNS || p.mood < 0 || p.mood >= MOOD_COUNT) return;
    const MoodDrift& d = mood_drift_table[p.mood];
    if (rand_below(d.range) >= n) return;
    p.mood = d.to >= 0 ? d.to : (rand_below(2) == 0 ? 3 : 1);
    p.mood_turns = 0;
}

void sickness_end() {
    HubBlock& h = hub_block;
    const s32 turn = h.calendar_turn;
    if (turn >= MENU_BASIC_FROM_TURN) {
        h.hub_menu_avail[0][0] = 1;
        h.hub_menu_avail[0][1] = 1;
    }
    if (turn >= MENU_FULL_FROM_TURN) {
        h.hub_menu_avail[0][5] = 1;
        h.hub_menu_avail[0][6] = 1;
        h.hub_menu_avail[0][7] = 1;
        h.hub_menu_avail[7][0] = 1; // [7][1] stays as it is
        for (s32 b = 2; b < HUB_MENU_BUTTONS; ++b) h.hub_menu_avail[7][b] = 1;
    }
    player_record.condition = CONDITION_RECOVERED;
    player_record.mood = MOOD_AFTER_SICKNESS;
}

void end_one_turn() {
    PlayerRecord& p = player_record;
    p.hp = p.hp_max;
    p.mp = p.mp_max;
    mood_drift();
    p.mood_turns += 1;
    if (p.mood != mood_last_seen) {
        // A drift, or a change made by a script since the last turn, starts the count again.
        mood_last_seen = p.mood;
        p.mood_turns = 0;
    }
    if (p.condition > CONDITION_RECOVERED || p.sick_turns > 0) {
        p.sick_turns -= 1;
        if (p.sick_turns <= 0) sickness_end();
    }
    if (hub_block.calendar_turn < PARTY_KEPT_FROM_TURN)
        for (s32& slot : p.party) slot = -1;
    calendar_step();
    roster_turn_growth();
}

} // namespace

void clock_advance(s32 minutes) {
    // Only forward: a zero or negative amount would wind the hour bytes below 0.
    if (minutes <= 0) return;
    const s32 hours = minutes / 60;
    const s32 rest = minutes - 60 * hours;
    // Whole days are dropped before the bytes are written: the day never changes here.
    s32 hour = world_state.hour + hours % 24;
    s32 minute = world_state.minute + rest;
    if (minute >= 60) {
        hour += 1;
        minute -= 60;
    }
    if (hour >= 24) hour -= 24;
    world_state.hour = u8(hour);
    world_state.minute = u8(minute - minute % 15);
    if (hour >= TIMETABLE_FIRST_HOUR && hour <= TIMETABLE_LAST_HOUR) residents_place();

    PlayerRecord& p = player_record;
    p.fatigue = p.fatigue > FATIGUE_MAX - minutes ? FATIGUE_MAX : p.fatigue + minutes;
    p.fullness = p.fullness < minutes ? 0 : p.fullness - minutes;
}

void clock_apply() {
    const s32 hour = world_state.hour;
    if (hour < TIMETABLE_FIRST_HOUR || hour > TIMETABLE_LAST_HOUR) return;
    residents_place();
}

void calendar_step() {
    s32 day = world_state.day + CALENDAR_STEP_DAYS;
    s32 month = world_state.month;
    if (day > CALENDAR_DAYS) {
        day = 1;
        month += 1;
    }
    if (month > CALENDAR_MONTHS) {
        month = 1;
        world_state.year = u8(world_state.year + 1);
    }
    world_state.day = u8(day);
    world_state.month = u8(month);
    hub_block.calendar_turn += 1;
}

void hub_end_turn(s32 turns) {
    PlayerRecord& p = player_record;
    if (mood_last_seen == MOOD_UNSET) mood_last_seen = p.mood;
    hub_block.hub_command = -1;
    hub_block.hub_menu_level = 0;
    hub_block.hub_menu_pick = -1;
    if (turns > 1 && p.sick_turns > 0) p.sick_turns = 1; // a sickness ends within a long action
    p.fatigue = 0;
    p.fullness = 0;
    p.sleep_need = 0;
    // The calendar has no more turns than this; a damaged count must not run on for ages.
    const s32 count = turns < HUB_TURNS ? turns : HUB_TURNS;
    for (s32 t = 0; t < count; ++t) end_one_turn();
    hub_draw();
}

void fade_pause() {
    fade_out_scene();
    wait_ms(FADE_PAUSE_MS);
    fade_in_scene();
}
