// The handler frame of the calendar handlers: lines, summary, growth, injury, battle results,
// entries and schedules, and the return and launcher protocols.
#include "calendar/frame.h"

#include "battle/battle.h"
#include "data/schedule.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/clock.h"
#include "game/growth.h"
#include "game/hub.h"
#include "game/hub_dialog.h"
#include "game/player.h"
#include "game/save.h"
#include "platform/platform.h"

#include <cstdint>

namespace {

constexpr s32 SAVE_SLOT_BACK_AT_HUB = 2;
constexpr s32 CAL_GROWTH_LAST = 30; // skills and attributes: levels 0..100 with a summary line

// ---- Lines -------------------------------------------------------------------------------------

// The number of lines of a row's run: none without a text, one when `to` is not past `text`,
// never more than CAL_RUN_MAX.
s32 run_length(const CalLine& row) {
    const s32 first = cal_id(row.text);
    if (first <= 0) return 0;
    const s32 last = cal_id(row.to);
    if (last <= first) return 1;
    const s64 n = s64(last) - first + 1;
    return n > CAL_RUN_MAX ? CAL_RUN_MAX : s32(n);
}

void say_line(const CalLine& row, s32 line, s32 text) {
    const CalFace f = cal_line_face(row, line);
    const s32 picture = cal_id(row.pic.id);
    if (picture <= 0)
        hub_say(f.caption, f.left, f.right, text);
    else if (row.pic.over)
        hub_say_pic_over(f.caption, row.pic.x, row.pic.y, picture, f.left, f.right, text);
    else
        hub_say_pic(f.caption, row.pic.x, row.pic.y, picture, f.left, f.right, text);
}

s32 ask(const CalLine& row) {
    const CalFace f = cal_line_face(row, 0);
    s32 t[4];
    for (s32 i = 0; i < 4; i++) t[i] = cal_id(row.choose.item[i]);
    const s32 picture = cal_id(row.pic.id);
    // The player's own words: caption 0.
    if (picture <= 0) return hub_choose(0, f.left, f.right, t[0], t[1], t[2], t[3]);
    if (row.pic.over)
        return hub_choose_pic_over(0, f.left, f.right, row.pic.x, row.pic.y, picture, t[0], t[1],
                                   t[2], t[3]);
    return hub_choose_pic(0, f.left, f.right, row.pic.x, row.pic.y, picture, t[0], t[1], t[2],
                          t[3]);
}

// One row in the order of its fields: scene changes, the run, the choice (its answer, or -1
// without one).
s32 run_row(const CalLine& row) {
    if (row.fade_out) fade_out();
    if (cal_id(row.sound) > 0) mssw_play_sound(cal_id(row.sound), 1);
    if (row.travel) hub_travel();
    if (cal_id(row.backdrop) > 0) hub_block.scene_backdrop = cal_id(row.backdrop);
    if (cal_id(row.music) > 0) {
        player_record.music_id = cal_id(row.music);
        mssw_play_music(cal_id(row.music), 0);
    }
    const s32 n = run_length(row);
    if (n > 0 && row.show) {
        const CalFace f = cal_line_face(row, 0);
        hub_show(f.caption, f.left, f.right, cal_id(row.text));
        fade_in();
    }
    for (s32 i = 0; i < n; i++) say_line(row, i, cal_id(row.text) + i);
    return row.choose.count > 0 ? ask(row) : -1;
}

// ---- Growth ------------------------------------------------------------------------------------

bool growth_has_summary(CalGrowth g) {
    return cal_id(g) >= 0 && cal_id(g) <= CAL_GROWTH_LAST;
}

s32 gain(CalSummary& sum, CalGrowth g, s32 n, int (*apply)(s32)) {
    if (!growth_has_summary(g)) return 0;
    const s32 index = cal_id(g);
    if (growth_value(index) >= CAL_VALUE_MAX) return 0;
    // A pool read from a saved game may be near the top of its range: the sum saturates rather
    // than wraps.
    s32& pool = growth_pool(index);
    const s64 sum_exp = s64(pool) + n;
    pool = sum_exp > INT32_MAX ? INT32_MAX : sum_exp < INT32_MIN ? INT32_MIN : s32(sum_exp);
    apply(index);
    cal_summary_add(sum, CalText{CAL_GAIN_SUMMARY + index});
    return 1;
}

// ---- Entries -----------------------------------------------------------------------------------

bool in(s32 v, s32 size) {
    return v >= 0 && v < size;
}

s32* schedule_entry(s32* schedule, s32 turn) {
    return in(turn, HUB_TURNS) ? &schedule[turn] : nullptr;
}

} // namespace

// ---- Lines -------------------------------------------------------------------------------------

CalFace cal_line_face(const CalLine& row, s32 line) {
    const s32 right = cal_id(row.right.at(line));
    const s32 left = cal_id(row.left.at(line));
    const s32 caption = row.speaker == CalSpeaker::Auto && right >= 0 ? 1 : 0;
    return {caption, left, right};
}

s32 cal_lines(std::span<const CalLine> rows) {
    s32 answer = -1;
    for (const CalLine& row : rows) {
        const s32 a = run_row(row);
        if (a >= 0) answer = a;
    }
    return answer;
}

s32 cal_lines(std::initializer_list<CalLine> rows) {
    return cal_lines(std::span<const CalLine>(rows.begin(), rows.size()));
}

// ---- Summary -----------------------------------------------------------------------------------

void cal_summary_add(CalSummary& sum, CalText t) {
    if (cal_id(t) <= 0) return;
    if (sum.count < 0 || sum.count > CAL_SUMMARY_LINES) sum.count = 0;
    if (sum.count == CAL_SUMMARY_LINES) cal_summary_show(sum);
    sum.text[sum.count++] = cal_id(t);
}

void cal_summary_show(CalSummary& sum) {
    if (sum.count <= 0 || sum.count > CAL_SUMMARY_LINES) {
        sum = {};
        return;
    }
    s32 t[CAL_SUMMARY_LINES] = {};
    for (s32 i = 0; i < sum.count; i++) t[i] = sum.text[i];
    sum = {};
    hub_say_lines(t[0], t[1], t[2], t[3]);
}

// ---- Growth ------------------------------------------------------------------------------------

s32 cal_gain(CalSummary& sum, CalGrowth g, s32 n) {
    return gain(sum, g, n, grow_quiet);
}

s32 cal_gain_loud(CalSummary& sum, CalGrowth g, s32 n) {
    return gain(sum, g, n, grow);
}

void cal_lower(CalSummary& sum, CalGrowth g, s32 amount) {
    if (!growth_has_summary(g)) return;
    grow_lower(1, cal_id(g), amount);
    cal_summary_add(sum, CalText{CAL_LOWER_SUMMARY + cal_id(g)});
}

// ---- Injury and battle results -----------------------------------------------------------------

void cal_injury(CalSummary& sum, s32 spread) {
    PlayerRecord& p = player_record;
    p.sick_turns = CAL_INJURY_MIN_TURNS + cal_rand(spread < 1 ? 1 : spread);
    p.condition = CAL_INJURY_CONDITION;
    cal_summary_add(sum, CalText{CAL_INJURY_SUMMARY + p.sick_turns});
}

s32 cal_battle(s32 encounter) {
    return battle_run_seam(encounter);
}

// ---- Random draws ------------------------------------------------------------------------------

s32 (*cal_rand_seam)(s32 n) = rand_below;

s32 cal_rand(s32 n) {
    return cal_rand_seam(n);
}

// ---- Music played once -------------------------------------------------------------------------

void cal_play_once_and_wait(CalMusic piece) {
    const s32 id = cal_id(piece);
    mssw_play_music(id, 1);
    cal_wait_piece(piece);
}

void cal_wait_piece(CalMusic piece) {
    const s32 id = cal_id(piece);
    while (mssw_music_id == id && mssw_music_playing() == 1) plat_ticks();
}

// ---- Entries, schedules and buttons ------------------------------------------------------------

EventEntry* cal_entry(const CalEntry& e) {
    HubBlock& h = hub_block;
    switch (e.kind) {
    case CalEntryKind::PoolA:
        return in(e.index, HUB_POOL_A_SIZE) ? &h.encounter_pool_a[e.index] : nullptr;
    case CalEntryKind::PoolB:
        return in(e.index, HUB_POOL_B_SIZE) ? &h.encounter_pool_b[e.index] : nullptr;
    case CalEntryKind::PoolC:
        return in(e.index, HUB_POOL_C_SIZE) ? &h.encounter_pool_c[e.index] : nullptr;
    case CalEntryKind::Place:
        if (!in(e.set, HUB_PLACE_SETS) || !in(e.place, HUB_PLACE_POOL_PLACES) ||
            !in(e.index, HUB_PLACE_POOL_SIZE))
            return nullptr;
        return &h.place_events[e.set][e.place][e.index];
    }
    return nullptr;
}

void cal_open(const CalEntry& e) {
    if (EventEntry* p = cal_entry(e)) p->on = 1;
}

void cal_close(const CalEntry& e) {
    if (EventEntry* p = cal_entry(e)) p->on = 0;
}

void cal_empty(const CalEntry& e) {
    if (EventEntry* p = cal_entry(e)) *p = {-1, 0};
}

s32 cal_is_open(const CalEntry& e) {
    const EventEntry* p = cal_entry(e);
    return p != nullptr && p->slot >= 0 && p->on == 1 ? 1 : 0;
}

s32 cal_is_off(const CalEntry& e) {
    const EventEntry* p = cal_entry(e);
    return p != nullptr && p->on == 0 ? 1 : 0;
}

s32 cal_schedule_before(s32 turn, s32 slot) {
    s32* entry = schedule_entry(hub_block.turn_events_before, turn);
    if (entry == nullptr) return -1;
    *entry = slot;
    return 0;
}

s32 cal_schedule_after(s32 turn, s32 slot) {
    s32* entry = schedule_entry(hub_block.turn_events_after, turn);
    if (entry == nullptr) return -1;
    *entry = slot;
    return 0;
}

void cal_menu(s32 level, s32 button, s32 on) {
    if (in(level, HUB_MENU_LEVELS) && in(button, HUB_MENU_BUTTONS))
        hub_block.hub_menu_avail[level][button] = on;
}

void cal_place_button(s32 button, s32 set, s32 on) {
    if (in(button, HUB_PLACES) && in(set, HUB_PLACE_SETS))
        hub_block.hub_third_avail[button][set] = on;
}

s32 cal_place_button_on(s32 button, s32 set) {
    if (!in(button, HUB_PLACES) || !in(set, HUB_PLACE_SETS)) return 0;
    return hub_block.hub_third_avail[button][set] == 1 ? 1 : 0;
}

// ---- Return protocol ---------------------------------------------------------------------------

void cal_turns(s32 n) {
    hub_block.turns_consumed = n;
}

void cal_end_turn(s32 n) {
    hub_block.turns_consumed = n;
    player_record.turn_done = 1;
    hub_end_turn(n);
}

void cal_back_to_hub() {
    player_record.area = AREA_HUB;
    save_game(SAVE_SLOT_BACK_AT_HUB);
}

s32 cal_loaded() {
    return hub_restart != -1 ? 1 : 0;
}

// ---- Launcher protocol -------------------------------------------------------------------------

CalLaunch cal_launch(const CalLauncher& l) {
    const bool resumed = world_state.field_active == 1;
    if (!resumed && l.intro != nullptr && !l.intro()) return CalLaunch::Declined;
    if (l.scene != nullptr) l.scene();
    if (cal_loaded()) return CalLaunch::Loaded;
    const bool end_first = l.order == CalEndOrder::EndFirst ||
                           l.order == CalEndOrder::EndAfterFadeUnlessResumed ||
                           (l.order == CalEndOrder::OutroFirstUnlessResumed && resumed);
    if (l.order == CalEndOrder::EndAfterFadeUnlessResumed && !resumed) fade_out();
    if (end_first) cal_end_turn(l.turns);
    if (l.outro != nullptr) l.outro(resumed);
    if (cal_loaded()) return CalLaunch::Loaded;
    if (!end_first) cal_end_turn(l.turns);
    cal_back_to_hub();
    return CalLaunch::Done;
}

// ---- Training whatever the level ---------------------------------------------------------------

void cal_train(CalGrowth g, s32 n) {
    if (!growth_has_summary(g)) return;
    s32& pool = growth_pool(cal_id(g));
    const s64 sum_exp = s64(pool) + n;
    pool = sum_exp > INT32_MAX ? INT32_MAX : sum_exp < INT32_MIN ? INT32_MIN : s32(sum_exp);
    grow(cal_id(g));
}

// ---- Draws without repeats ---------------------------------------------------------------------

s32 cal_draw_new(std::span<bool> taken) {
    const s32 n = s32(taken.size());
    s32 free = -1;
    for (s32 v = n - 1; v >= 0; v--)
        if (!taken[size_t(v)]) free = v;
    if (free < 0) return -1;
    for (s32 tries = 0; tries < CAL_DRAW_TRIES; tries++) {
        const s32 v = cal_rand(n);
        if (v >= 0 && v < n && !taken[size_t(v)]) {
            taken[size_t(v)] = true;
            return v;
        }
    }
    taken[size_t(free)] = true;
    return free;
}
