// The building blocks of the object scripts. Every script of the home region, the towns, the map
// episodes and the open world is composed of the same few blocks: the trigger test, the guard
// against clicks from too far away, the player and the object turning to each other, frame
// keeping, idle animations and walks on the object's timer, timers that wait for a moment of the
// story, the per-minute upkeep of the player's body, menus, picture views, battles with their
// healing, the services that pose the player, lessons and meetings, and the end of an episode or
// of the game. Each block is defined once here, as a plain function over a small row of
// parameters, so that a script (or a table of cells, scripts/cells.h) names the block and its
// numbers and nothing else.
//
// A script finds its object in `world_state.event_object` (self; 0 is the player) and the
// trigger in `world_state.trigger_kind`. `ATTR_VAR_A` is the script's stage, `ATTR_VAR_B` its
// second variable, `ATTR_TIMER` the countdown in field frames that fires TRIG_TIMER once.
#pragma once
#include "engine/text.h" // TEXT_TOO_FAR
#include "engine/types.h"
#include "engine/world/events.h"

#include <array>
#include <iterator>
#include <span>
#include <utility>

// ---- Context ---------------------------------------------------------------------------------

s32 script_self();              // world_state.event_object
bool script_obj_valid(s32 obj); // 0..4095: an object number that data may hand over
bool script_on(s32 trigger);    // world_state.trigger_kind == trigger
s32 script_stage(s32 obj);      // ATTR_VAR_A of obj
void script_set_stage(s32 obj, s32 stage);

// ---- Registration ----------------------------------------------------------------------------

// One slot of `object_event_table` and its script. Every region file ends in one table of these.
struct ScriptSlot {
    s32 slot;
    EventScript script;
};
// Installs every row of a region's table under `owner` (a string literal); a slot that is taken
// already is refused by the registry and recorded as a conflict.
void scripts_install(std::span<const ScriptSlot> table, const char* owner);

// The name of slot N's script, "object_event_NNNN" (four digits), for reports: the script of a
// row has no function name of its own. A slot outside the table reads "object_event_????".
struct ScriptName {
    std::array<char, 18> text{};
    const char* c_str() const { return text.data(); }
};
constexpr ScriptName object_event_name(s32 slot) {
    ScriptName n;
    constexpr const char* PREFIX = "object_event_";
    size_t i = 0;
    for (; PREFIX[i] != '\0'; i++) n.text[i] = PREFIX[i];
    const bool ok = slot >= 0 && slot < OBJECT_EVENT_COUNT;
    for (s32 d = 1000; d > 0; d /= 10) n.text[i++] = ok ? char('0' + slot / d % 10) : '?';
    n.text[i] = '\0';
    return n;
}

// A slot table in which no slot appears twice (for a static_assert next to the table).
constexpr bool slots_distinct(std::span<const ScriptSlot> table) {
    for (size_t i = 0; i < table.size(); i++)
        for (size_t j = i + 1; j < table.size(); j++)
            if (table[i].slot == table[j].slot) return false;
    return true;
}

// Row families. A family is a constexpr table of rows, each with a `slot` member (s32 or SlotId),
// and one runner `void run(const Row&)` that plays a row as the script of its slot. `family_slots`
// turns the table into slot-table entries, one script per row, so that no slot needs a function
// written by hand; `&row_script<ROWS, RUN, SLOT>` is the script of one slot where a file needs it
// by itself, and does not compile when the family has no row for that slot.
// A row's slot as a number: a plain s32, or a typed id (SlotId) through its value.
template <typename Slot> constexpr s32 family_slot_value(const Slot& slot) {
    if constexpr (requires { slot.v; })
        return slot.v;
    else
        return slot;
}

template <typename Rows> constexpr size_t family_row_index(const Rows& rows, s32 slot) {
    size_t i = 0;
    for (; i < std::size(rows); i++)
        if (family_slot_value(rows[i].slot) == slot) break;
    return i;
}

template <typename Rows> constexpr bool family_slots_distinct(const Rows& rows) {
    for (size_t i = 0; i < std::size(rows); i++)
        if (family_row_index(rows, family_slot_value(rows[i].slot)) != i) return false;
    return true;
}

// The script of slot SLOT: runs the family's row of that slot.
template <const auto& ROWS, auto RUN, s32 SLOT> void row_script() {
    constexpr size_t I = family_row_index(ROWS, SLOT);
    static_assert(I < std::size(ROWS), "the family has no row for this slot");
    RUN(ROWS[I]);
}

template <const auto& ROWS, auto RUN> constexpr auto family_slots() {
    static_assert(family_slots_distinct(ROWS), "a slot has two rows in the family");
    return []<size_t... I>(std::index_sequence<I...>) {
        return std::array<ScriptSlot, sizeof...(I)>{
            ScriptSlot{family_slot_value(ROWS[I].slot),
                       &row_script<ROWS, RUN, family_slot_value(ROWS[I].slot)>}...};
    }
    (std::make_index_sequence<std::size(ROWS)>{});
}

// One slot table out of several parts (families and rows written by hand, as std::array).
template <size_t... N>
constexpr std::array<ScriptSlot, (N + ... + 0)>
join_slots(const std::array<ScriptSlot, N>&... parts) {
    std::array<ScriptSlot, (N + ... + 0)> out{};
    size_t k = 0;
    auto append = [&](const auto& part) {
        for (const ScriptSlot& s : part) out[k++] = s;
    };
    (append(parts), ...);
    return out;
}

// A run of slots, both ends included.
struct SlotRange {
    s32 first;
    s32 last;
};
// A calendar slot that a script writes into the schedule while the game runs, or an object-script
// slot that a script writes into an object's ATTR_EVENT, and who writes it.
struct ScheduleWrite {
    s32 slot;
    const char* by;
};

// What a region file states about itself: its owner in the registry, its slot table, the ranges
// of slots whose every named slot has its script in that table (unnamed slots among them stay
// empty), the schedule writes its scripts make and the object-script slots its scripts write
// into objects while the game runs (slots that no content row names). Each region header declares
// one function that returns this; scripts_register.cpp lists those functions.
struct ScriptRegion {
    const char* owner = nullptr;
    std::span<const ScriptSlot> (*slots)() = nullptr;
    std::span<const SlotRange> complete{};
    std::span<const ScheduleWrite> schedule_writes{};
    std::span<const ScheduleWrite> slot_writes{};
};

// ---- too_far_guard ---------------------------------------------------------------------------

constexpr s32 TOO_FAR_DX = -112;
constexpr s32 TOO_FAR_DY = -108;
constexpr s32 TOO_FAR_MS = 2000;

// The talk distance of a script: a click from farther than `limit` only floats text 10000 over
// the player. The distance may equal the limit, except for the rows that count the limit itself
// as too far (`limit_is_far`); `ms` is how long the remark floats.
struct FarRule {
    s32 limit = 0;
    bool limit_is_far = false;
    s32 ms = TOO_FAR_MS;
};
// True when `distance` is too far by the rule (pure).
bool too_far(s32 distance, const FarRule& rule);
// The guard against the distance from the player to self: true (after the remark) when the click
// is too far and the script is to end; false when the talk may go on. Frames are left alone.
bool too_far_guard(s32 limit);
bool too_far_guard_rule(const FarRule& rule);
// The same against a fixed map point (a resident bound to a spot, a click area).
bool too_far_guard_point(s32 x, s32 y, s32 limit);

// ---- turn_to_talk and frame keeping ----------------------------------------------------------

// Who turns before a talk.
enum TurnMode : s32 {
    TURN_BOTH = 0,        // the player turns, then self turns to the player
    TURN_PLAYER_ONLY = 1, // self keeps its frame; the positions are the row's constants
    TURN_NOBODY = 2,
};
// The frames of self for the player up-left, up-right, down-left and down-right of it.
struct TurnFrames {
    s32 f0 = 0, f1 = 0, f2 = 0, f3 = 0;
};
// Where the two speakers' boxes go after a turn.
struct TalkTurn {
    s32 pos = 3;   // the player's box position (and that of `choose`): 0..3, or 4 on one spot
    s32 other = 0; // self's own box: the mirror of pos
};
// Self's box position when it speaks in a box of its own: 3, 2, 1, 0 for pos 0..3, 1 for 4.
s32 mirror_position(s32 pos);
// Turns the player toward self, then self toward the player (obj_face with the four frames);
// returns the positions. `turn_to_talk_mode` with TURN_PLAYER_ONLY / TURN_NOBODY takes the
// positions `fixed` instead of self's turn.
TalkTurn turn_to_talk(const TurnFrames& frames);
TalkTurn turn_to_talk_mode(TurnMode mode, const TurnFrames& frames, TalkTurn fixed = {});
// The same for another object than self (a pair facing the player, a keeper behind a counter).
TalkTurn turn_other_to_talk(s32 obj, const TurnFrames& frames);
// Only obj turns toward the player (obj_face); the player keeps its frame (a posed player).
TalkTurn face_player(s32 obj, const TurnFrames& frames);
// The player's half of the turn: the player shows its frame toward obj's foot point / a map
// point (player_face_frame); obj outside 0..4095 changes nothing.
void player_turn_toward(s32 obj);
void player_turn_toward_point(s32 x, s32 y);

// Frame keeping: the frame to put back after the talk so that the idle animation goes on where it
// was.
s32 frame_keep(s32 obj);
void frame_restore(s32 obj, s32 frame);

// ---- idle_cycle ------------------------------------------------------------------------------

// An idle animation on the object's timer: re-arm, step the frame, wrap to `start` past `limit`
// (the last frame shown) with a pause. A negative step (mirrored figures) wraps below the limit.
struct IdleCycle {
    s32 rearm = 8;
    s32 start = 0;
    s32 limit = 0;
    s32 step = 1;
    s32 pause = 0;              // ATTR_TIMER at the wrap; below 0: no pause (the re-arm stays)
    s32 pause_rand = 0;         // above 0: the pause is pause + script_rand(pause_rand)
    bool wrap_at_limit = false; // wrap when the new frame reaches the limit (it is never shown)
    // A remark floated over self when the new frame equals `remark_frame` (0: none) and the
    // player is on self's map.
    s32 remark_frame = 0;
    s32 remark_text = 0;
    s32 remark_dx = 0, remark_dy = 0, remark_ms = 0;
    bool frozen_by_var_b = false; // skip the step (the re-arm still happens) while VAR_B != 0
    // A longer re-arm while the new frame lies in band_lo..band_hi (band_rearm 0: none).
    s32 band_lo = 0, band_hi = 0, band_rearm = 0;
    // A second remark at the same frame (remark2_text 0: none): then the first floats when
    // script_rand(10) > 5 and the second otherwise, each with its own offset and duration.
    s32 remark2_text = 0;
    s32 remark2_dx = 0, remark2_dy = 0, remark2_ms = 0;
};
// The next frame of a cycle and whether it wrapped (pure).
s32 idle_next_frame(s32 frame, const IdleCycle& c, bool* wrapped);
// Runs one step on `obj` (self as a rule); returns the frame shown, and in *wrapped whether the
// cycle wrapped (false while frozen).
s32 idle_cycle_on(s32 obj, const IdleCycle& c, bool* wrapped = nullptr);
s32 idle_cycle(const IdleCycle& c);

// ---- leg_walk --------------------------------------------------------------------------------

// One way-point of a walk: the point, the frame shown on arrival (0: keep), and a longer re-arm
// on arrival (0: none), so that a walker pauses there.
struct WayPoint {
    s32 x = 0, y = 0;
    s32 arrive_frame = 0;
    s32 arrive_rearm = 0;
};
constexpr s32 LEG_LOOP = -1; // after the last leg, back to the first
struct LegWalk {
    std::span<const WayPoint> legs;
    s32 speed = 10;
    s32 rearm = 7;
    s32 after_last = LEG_LOOP;       // or the standing leg value a walker that stops takes
    s32 leg_attr = 0;                // ATTR_VAR_B (0 here means ATTR_VAR_B); or ATTR_VAR_A
    bool hide_at_last = false;       // ATTR_ACTIVE := 0 on reaching the last way-point
    bool rearm_when_stopped = false; // a leg without a way-point still re-arms
};
// One timer run of a walker on self: returns 1 on the run that arrived at a way-point.
s32 leg_walk(const LegWalk& w);
s32 leg_walk_on(s32 obj, const LegWalk& w);

// ---- waiting_timer ---------------------------------------------------------------------------

// What a waiting timer waits for.
enum WaitKind : s32 {
    WAIT_MAP = 0,        // world_state.current_map == a
    WAIT_HOUR_FROM = 1,  // world_state.hour >= a
    WAIT_FLAG_EQ = 2,    // story flag a == b
    WAIT_STAGE_EQ = 3,   // ATTR_VAR_A of object a == b
    WAIT_RAND_BELOW = 4, // script_rand(a) < b
    WAIT_ALWAYS = 5,
};
struct WaitFor {
    s32 kind = WAIT_ALWAYS;
    s32 a = 0, b = 0;
};
bool wait_condition(const WaitFor& w);
// On a timer run: ATTR_TIMER := rearm (5 as a rule), and true once the condition holds.
bool waiting_timer(s32 rearm, const WaitFor& w);
// A waiting timer that has played its scene switches itself off (timer and object).
void waiting_done();

// ---- minute_upkeep ---------------------------------------------------------------------------

// Once per game minute (when world_state.minute differs from last_minute): stamina + 10 below
// 995, fatigue + 2 and sleep need + 2 below 998, fullness - 1 not below 0. Returns 1 when it acted.
s32 minute_upkeep();

// ---- menu_choice and modal screens -----------------------------------------------------------

constexpr s32 MENU_HIGHLIGHT = 25760; // red 25, green 5, blue 0
constexpr s32 MENU_CURSOR = 13;
// The menu idiom: the highlight colours, cursor 13, then `choose`; an absent option is -1.
s32 menu_choice(s32 position, s32 portrait, s32 t0, s32 t1 = -1, s32 t2 = -1, s32 t3 = -1,
                s32 t4 = -1, s32 t5 = -1);

// After a screen that ended on a click: clear the buttons and the click, so that the closing
// click does not reach the map object under it on the next field frame.
void modal_return();
// The modal screens the scripts open, each followed by `modal_return`.
void modal_info_screen();
void modal_ranking();
void modal_shop_buy(s32 shop);
void modal_shop_sell(s32 shop);

// ---- picture_view ----------------------------------------------------------------------------

constexpr s32 PICTURE_MARKER_X = 392;
constexpr s32 PICTURE_MARKER_Y = 304;
// Draws the picture, presents, and blinks the marker (images 12..15) at (392, 304) until a
// button goes down; the buttons and the click are cleared on return.
void picture_view(s32 x, s32 y, s32 picture, s32 flags = 0);

// ---- battle_block ----------------------------------------------------------------------------

// Who a heal list heals: `who` (0 the player, above 0 a character, below 0 nobody) and up to
// eleven further characters (-1 empty). With `with_party` the five entries of the player's party
// (as they stand after the battle) follow the given ids in the first empty places, so that
// `heal_part(0, party[0..4])` is `HealList{.who = 0, .ids = {}, .with_party = true}` or
// `heal_with_party(0)`.
struct HealList {
    s32 who = -1;
    std::array<s32, 11> ids{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    bool with_party = false;
};
constexpr HealList heal_with_party(s32 who) {
    HealList h;
    h.who = who;
    h.with_party = true;
    return h;
}
// The ids a list heals after `who`: the given ids, then (with_party) the party's entries in the
// empty places; an entry that finds no empty place is left out.
std::array<s32, 11> heal_list_ids(const HealList& h);
// Which battle results count as a loss.
enum LossRule : s32 {
    LOSS_ZERO = 0,    // only 0 (a round-limit result 2 goes on as a win)
    LOSS_NOT_WON = 1, // anything but 1
    LOSS_NONE = 2,    // the result is not read
};
struct BattleBlock {
    s32 encounter = 0;
    bool party = false; // party_to_battle first, so that the party fights beside the player
    HealList heal_full;
    HealList heal_part;
    s32 loss = LOSS_ZERO;
};
// Fights through `battle_run_seam` and heals; returns the battle's result.
s32 battle_block(const BattleBlock& b);
bool battle_lost(s32 result, s32 loss_rule);

// ---- end_episode and the end of the game -----------------------------------------------------

constexpr s32 END_NO_FLAG = -1;
// Stores value in the episode's outcome flag (none for END_NO_FLAG) and ends the field loop after
// the current frame.
void end_episode(s32 flag, s32 value);
// Ends the whole game: an ending that completes it sets exit_code 99 first. Does not return.
[[noreturn]] void game_end(bool completed);

// ---- Posed services --------------------------------------------------------------------------

constexpr s32 POSE_REARM = 7;
constexpr s32 POSE_NO_PLACE = -1;
// A service puts the player into a pose: placed at (x, y) unless x is POSE_NO_PLACE, drawn on top
// without a shadow when `on_top`, showing `frame`, and the player's timer runs pose slot `slot`.
struct PoseEnter {
    s32 x = POSE_NO_PLACE, y = 0;
    s32 frame = 0;
    s32 slot = 0;
    bool on_top = true;
};
void pose_enter(const PoseEnter& p);
// Leaving the service: timer off, the player's own script back, shadow and layer 3 back when
// `on_top`, the standing frame, placed at (x, y) unless POSE_NO_PLACE, and fatigue_rest(rest)
// when rest is above 0.
struct PoseLeave {
    s32 x = POSE_NO_PLACE, y = 0;
    s32 frame = 0;
    bool on_top = true;
    s32 rest = 0;
};
void pose_leave(const PoseLeave& p);
// 1 while the player holds a pose of slot `slot` (object 0's ATTR_EVENT).
bool posed_in(s32 slot);

// The pose loop that runs as the player's script while a service holds it.
struct PoseSwitch {
    s32 frame = 0; // at this new frame...
    s32 obj = -1;  // ...this object is shown (1) or hidden (0)
    s32 active = 0;
};
struct PoseLoop {
    s32 first = 0, last = 0, step = 1;
    s32 pause = 0;
    bool click_opens_screen = true;
    std::array<PoseSwitch, 4> switches{};
};
// One run (any trigger): re-arm 7, step (wrapping to first past last with the pause), the
// switches at their frames, the frame shown; then on TRIG_CLICK the character screen, and the
// closing click cleared.
void pose_loop_step(const PoseLoop& p);

// ---- Lessons and meetings --------------------------------------------------------------------

constexpr s32 LESSON_NO_KNOWN = -1;
// A teacher's lesson: experience into growth pool `growth` (0..33) and `grow`, then the known
// entry (list, id) recorded unless held. With `once`, nothing happens when the entry is held.
struct Lesson {
    s32 growth = -1; // -1: no experience, only the known entry
    s32 exp = 0;
    s32 known_list = LESSON_NO_KNOWN;
    s32 known_id = 0;
    bool once = false;
};
// Returns 1 when the lesson was given.
s32 lesson(const Lesson& l);
// A meeting: acquaint_add(person, bonus); with `only_new`, only when the person is not known yet.
void meeting(s32 person, s32 bonus, bool only_new = true);

// ---- Alternating lines -----------------------------------------------------------------------

// A speaker of the line runs: a bubble of an object (portrait < 0) or a box at a position with a
// portrait.
struct Voice {
    s32 obj = -1;
    s32 position = 0;
    s32 portrait = -1;
};
// Says one line in the voice; a bubble of an object outside 0..4095 is skipped.
void voice_say(const Voice& v, s32 text);
// A run of lines says at most this many; a reversed run or a longer one says nothing.
constexpr s32 LINE_RUN_MAX = 64;
// Whether first..last is a run that may be said (pure).
constexpr bool line_run_ok(s32 first, s32 last) {
    return last >= first && last - first < LINE_RUN_MAX;
}
// Texts first..last, one per box, speakers alternating a, b, a, ... starting with a; a run that
// `line_run_ok` refuses says nothing.
// With `by_parity` a says the even texts and b the odd ones.
void alternate_lines(s32 first, s32 last, const Voice& a, const Voice& b, bool by_parity = false);

// ---- Frame steps -----------------------------------------------------------------------------

// obj shows first + step x i for i = 0..count-1, each followed by wait_ms(ms).
void frame_steps(s32 obj, s32 first, s32 step, s32 count, s32 ms);

// ---- Frames shown ----------------------------------------------------------------------------

// Each script file lists the frames its tables show through a visitor of its own
// (`<file>_frames(visit, ctx)`) for the placeholder check. These visit what a turn and an idle
// cycle show; frame 0 ("unchanged") is skipped. `cues_frames` does it for a scene.
struct FrameVisit {
    void (*visit)(s32 frame, void* ctx);
    void* ctx;
    void operator()(s32 frame) const {
        if (frame != 0) visit(frame, ctx);
    }
};
void frames_of_turn(const FrameVisit& v, const TurnFrames& f);
// From start toward the limit by the step, either way; at most FRAME_RUN_MAX frames.
void frames_of_cycle(const FrameVisit& v, const IdleCycle& c);
constexpr s32 FRAME_RUN_MAX = 4096;
