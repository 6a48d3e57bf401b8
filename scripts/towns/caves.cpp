// The caves. The four sentry pairs are one table run by a small state machine on their timers; the
// pedestals are one table; the picture room and the placement puzzle are loops of their own that
// present every pass (a present unwinds the game thread when the game is quitting); the four
// ambush timers are one table around `battle_block`.
#include "scripts/towns/caves.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "scripts/cues.h"
#include "scripts/script_ids.h"
#include "scripts/zones.h"

#include <algorithm>

namespace {

constexpr s32 LOCK_CURSOR = 18;
constexpr s32 PLAYER_PORTRAIT = 1000;

void show(s32 obj) {
    attr_set(obj, ATTR_ACTIVE, 1);
}
void hide(s32 obj) {
    attr_set(obj, ATTR_ACTIVE, 0);
}

// ---- Sentry pairs ------------------------------------------------------------------------------
//
// A leader and a mirrored follower. The follower steps its (negative) frame through run P0 or P1
// by its phase (ATTR_VAR_A) and flips the phase at the end of the run; the leader (its state in
// its own ATTR_VAR_A) plays run A while the follower is in phase 0 and run B while it is in
// phase 1, pausing at each wrap. The map-98 leader holds the last frame of its run instead of
// looping and changes runs only when the follower's phase changes.

struct SentryRun {
    s32 first = 0, last = 0;
    constexpr bool holds(s32 frame) const { return frame >= first && frame <= last; }
};

constexpr s32 FOLLOWER_REARM = 10;
constexpr s32 LEADER_LONG_PAUSE = 20;
constexpr s32 LEADER_SHORT_PAUSE = 5;
constexpr s32 SENTRY_LINE = 33183;

struct SentryPair {
    SlotId slot; // the leader's
    s32 leader = -1, follower = -1;
    s32 rearm_a = 10, rearm_b = 10; // the leader's step re-arm in state 0 and in state 1
    SentryRun a, b;                 // the leader's runs for follower phase 0 and 1
    SentryRun p0, p1;               // the follower's runs, shown mirrored
    s32 pause_to_p1 = 20, pause_to_p0 = 20;
    Voice click{};                  // who says the line when the leader is clicked
    bool holds_runs = false;        // the map-98 leader
    const StepZone* zone = nullptr; // step zones that share the leader's slot
};

void turn_toward_self() {
    player_turn_toward(script_self());
}
// Step zones 1445 and 1446 of map 99: the first step onto either silences both.
constexpr Cue ENTRANCE_STEP[] = {
    cue::off(1445_obj),
    cue::off(1446_obj),
    cue::call(turn_toward_self),
    cue::say(0, 1044_img, TextId(SENTRY_LINE)),
};
static_assert(cues_valid(ENTRANCE_STEP));
constexpr StepZone ENTRANCE_ZONE{.kind = ZONE_ONCE, .cues = ENTRANCE_STEP};

constexpr SentryPair SENTRIES[] = {
    {.slot = SlotId(801),
     .leader = 1440,
     .follower = 1441,
     .a = {39058, 39069},
     .b = {44740, 44745},
     .p0 = {44760, 44765},
     .p1 = {39002, 39009},
     .click = {.obj = -1, .position = 0, .portrait = 1044},
     .zone = &ENTRANCE_ZONE},
    {.slot = SlotId(804),
     .leader = 1448,
     .follower = 1449,
     .a = {39022, 39031},
     .b = {44726, 44730},
     .p0 = {44766, 44770},
     .p1 = {39012, 39016},
     .click = {.obj = -1, .position = 2, .portrait = 1042}},
    {.slot = SlotId(806),
     .leader = 1450,
     .follower = 1451,
     .rearm_a = 8,
     .rearm_b = 8,
     .a = {44731, 44736},
     .b = {39072, 39081},
     .p0 = {39012, 39016},
     .p1 = {44766, 44770},
     .click = {.obj = -1, .position = 1, .portrait = 1043}},
    {.slot = SlotId(808),
     .leader = 1452,
     .follower = 1453,
     .rearm_a = 10,
     .rearm_b = 2,
     .a = {44751, 44755},
     .b = {39034, 39055},
     .p0 = {39002, 39009},
     .p1 = {44760, 44765},
     .pause_to_p1 = 20,
     .pause_to_p0 = 10,
     .click = {.obj = 1452},
     .holds_runs = true},
};

struct SentryFollower {
    SlotId slot;
    size_t pair = 0;
};
constexpr SentryFollower FOLLOWERS[] = {
    {SlotId(802), 0},
    {SlotId(805), 1},
    {SlotId(807), 2},
    {SlotId(809), 3},
};
static_assert(std::all_of(std::begin(FOLLOWERS), std::end(FOLLOWERS),
                          [](const SentryFollower& f) { return f.pair < std::size(SENTRIES); }));

// The leader's step: the new frame and state, and the pause when the run switched (0: the
// re-arm stays). The run ends when the next frame leaves it on either side, not only above its
// last frame: a leader that holds the last frame of A (state 1) when the follower turns to phase
// 1 would otherwise count up from there toward B's end through every image between the runs.
struct LeaderStep {
    s32 frame = 0, state = 0, pause = 0;
};
LeaderStep leader_step(const SentryPair& p, s32 frame, s32 state, s32 phase) {
    const s32 next = frame + 1;
    if (p.holds_runs) {
        if (state == 0) {
            if (phase == 1) return {p.b.first, 1, LEADER_SHORT_PAUSE};
            return {std::clamp(next, p.a.first, p.a.last), 0, 0};
        }
        if (phase == 0) return {p.a.first, 0, LEADER_SHORT_PAUSE};
        return {std::clamp(next, p.b.first, p.b.last), 1, 0};
    }
    if (state == 0) {
        if (!p.a.holds(next) || phase == 1)
            return {phase == 0 ? p.a.last : p.b.first, 1, LEADER_LONG_PAUSE};
        return {next, 0, 0};
    }
    if (!p.b.holds(next) || phase == 0)
        return {phase == 0 ? p.a.first : p.b.last, 0, LEADER_SHORT_PAUSE};
    return {next, 1, 0};
}

void sentry_leader_timer(const SentryPair& p) {
    const s32 self = script_self();
    const s32 state = script_stage(self) == 0 ? 0 : 1;
    attr_set(self, ATTR_TIMER, state == 0 ? p.rearm_a : p.rearm_b);
    const LeaderStep s =
        leader_step(p, obj_get_frame(self), state, script_stage(p.follower) == 0 ? 0 : 1);
    obj_set_frame(self, s.frame);
    script_set_stage(self, s.state);
    if (s.pause > 0) attr_set(self, ATTR_TIMER, s.pause);
}

void sentry_leader(const SentryPair& p) {
    if (script_on(TRIG_TIMER)) {
        sentry_leader_timer(p);
    } else if (script_on(TRIG_CLICK)) {
        const s32 self = script_self();
        const s32 kept = frame_keep(self);
        player_turn_toward(self);
        voice_say(p.click, SENTRY_LINE);
        frame_restore(self, kept);
    } else if (script_on(TRIG_STEP) && p.zone != nullptr) {
        step_zone(*p.zone);
    }
}

void sentry_follower(const SentryFollower& f) {
    if (!script_on(TRIG_TIMER)) return;
    const SentryPair& p = SENTRIES[f.pair];
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER, FOLLOWER_REARM);
    const s32 phase = script_stage(self) == 0 ? 0 : 1;
    const SentryRun& run = phase == 0 ? p.p0 : p.p1;
    const s32 next = obj_get_frame(self) - 1; // mirrored: the magnitude grows
    if (run.holds(-next)) {
        obj_set_frame(self, next);
        return;
    }
    obj_set_frame(self, -(phase == 0 ? p.p1 : p.p0).first);
    script_set_stage(self, 1 - phase);
    attr_set(self, ATTR_TIMER, phase == 0 ? p.pause_to_p1 : p.pause_to_p0);
}

// ---- The companions on map 98 ------------------------------------------------------------------

constexpr Cue COMPANIONS_98[] = {
    cue::on(1058_obj),
    cue::on(1059_obj),
    cue::place_on(1058_obj, 98_map, 197, 495, 45202_f),
    cue::place_on(1059_obj, 98_map, 263, 498, 45302_f),
    cue::place(0_obj, 237, 529, 424_f),
    cue::turn_toward(1447_obj),
    cue::say(2, 1152_img, 33184_t),
    cue::say(2, 1150_img, 33185_t),
    cue::say(2, 1152_img, 33186_t),
    cue::say(2, 1152_img, 33187_t),
    cue::say(2, 1150_img, 33188_t),
    cue::say(2, 1152_img, 33189_t),
    cue::off(1058_obj),
    cue::off(1059_obj),
    cue::off(1447_obj),
};
static_assert(cues_valid(COMPANIONS_98));

void object_event_0803() {
    if (!script_on(TRIG_CLICK) || too_far_guard(300)) return;
    cues_run(COMPANIONS_98);
}

// ---- Item pedestals ----------------------------------------------------------------------------

struct Pedestal {
    SlotId slot;
    s32 obj = -1;
    s32 greeting = 0;
    s32 option = 0; // the wanted item's index among the pedestal items
    s32 sprite = -1;
};
constexpr Pedestal PEDESTALS[] = {
    {SlotId(810), CAVE_PEDESTAL_OBJS[0], 25200, 5, 1462},
    {SlotId(811), CAVE_PEDESTAL_OBJS[1], 25201, 1, 1461},
    {SlotId(812), CAVE_PEDESTAL_OBJS[2], 25202, 4, 1460},
};
constexpr s32 PEDESTAL_NOTHING = 25199;

void pedestal(const Pedestal& p) {
    if (!script_on(TRIG_CLICK)) return;
    const s32 self = script_self();
    cursor_select(LOCK_CURSOR);
    player_turn_toward(self);
    say_at(self, p.greeting);
    if (script_stage(self) != 0) return;
    std::array<s32, CAVE_PEDESTAL_ITEMS> options{};
    bool any = false;
    for (s32 i = 0; i < CAVE_PEDESTAL_ITEMS; ++i) {
        const bool held = inv_has(CAVE_PEDESTAL_ITEM_FIRST + i) == 1;
        options[size_t(i)] = held ? CAVE_PEDESTAL_OPTION_FIRST + i : -1;
        any = any || held;
    }
    if (!any) {
        say(2, PLAYER_PORTRAIT, PEDESTAL_NOTHING);
        return;
    }
    const s32 index = choose(1, PLAYER_PORTRAIT, options[0], options[1], options[2], options[3],
                             options[4], options[5]);
    if (index == p.option) {
        script_set_stage(self, 1);
        inv_remove(CAVE_PEDESTAL_ITEM_FIRST + p.option, 1);
        show(p.sprite);
    } else {
        script_set_stage(self, 0);
    }
    if (std::all_of(std::begin(PEDESTALS), std::end(PEDESTALS),
                    [](const Pedestal& q) { return script_stage(q.obj) == 1; })) {
        show(CAVE_PORTAL_TO_172);
        hide(CAVE_BARRIER_161);
    }
}

// ---- Picture room ------------------------------------------------------------------------------

constexpr s32 PICTURE_QUESTION = 63300;
constexpr s32 PICTURE_BASES[] = {63301, 63306, 63311}; // by answer; five pictures each
constexpr s32 PICTURES_SHOWN = 5;
constexpr u32 PICTURE_MS = 1000;
constexpr s32 PICTURE_X = 200;
constexpr s32 PICTURE_Y = 0;
constexpr s32 PICTURE_QUESTION_Y = -20;

void object_event_0813() {
    if (!script_on(TRIG_CLICK)) return;
    cursor_select(LOCK_CURSOR);
    player_turn_toward(CAVE_PICTURE_ROOM_OBJ);
    say_at(script_self(), 25210);
    draw_image(PICTURE_X, PICTURE_QUESTION_Y, PICTURE_QUESTION, 0);
    const s32 answer = std::clamp(choose(2, PLAYER_PORTRAIT, 25211, 25212, 25213), 0,
                                  s32(std::size(PICTURE_BASES)) - 1);
    // Each picture stays a second from the start of its pass; the verdict comes with the last.
    for (s32 i = 0; i < PICTURES_SHOWN; ++i) {
        timer0_start();
        draw_image(PICTURE_X, PICTURE_Y, PICTURE_BASES[answer] + i, 0);
        screen_present();
        if (i == PICTURES_SHOWN - 1) {
            if (answer == 0) {
                say(2, PLAYER_PORTRAIT, 25214);
                show(CAVE_PORTAL_TO_161);
                hide(CAVE_BARRIER_160);
                hide(CAVE_PICTURE_ROOM_OBJ);
            } else {
                say(2, PLAYER_PORTRAIT, 25215);
            }
        }
        while (timer0_elapsed() < PICTURE_MS) {
        }
    }
    modal_return(); // a click while the pictures showed stays off the map
}

// ---- Placement puzzle --------------------------------------------------------------------------

constexpr s32 PUZZLE_BOARD = 39204;
constexpr s32 PUZZLE_PIECE_FIRST = 39205;
constexpr s32 PUZZLE_OPTION_FIRST = 25217;
constexpr s32 PUZZLE_TRAY_STEP = 58;
constexpr s32 PUZZLE_TRAY_X = 30;

struct PuzzleState {
    std::array<bool, CAVE_PUZZLE_PIECES> filled{};   // by slot
    std::array<s32, CAVE_PUZZLE_PIECES> in_slot{};   // by slot: the piece, -1 none
    std::array<s32, CAVE_PUZZLE_PIECES> placed_at{}; // by piece: the slot, -1 in the tray
};

void puzzle_draw(const PuzzleState& st) {
    draw_image(0, 0, PUZZLE_BOARD, 0);
    for (s32 k = 0; k < CAVE_PUZZLE_PIECES; ++k) {
        const s32 at = st.placed_at[size_t(k)];
        if (at < 0)
            draw_image(PUZZLE_TRAY_STEP * k + PUZZLE_TRAY_X, 0, PUZZLE_PIECE_FIRST + k, 0);
        else
            draw_image(CAVE_PUZZLE_SLOTS[at].place_x, CAVE_PUZZLE_SLOTS[at].place_y,
                       PUZZLE_PIECE_FIRST + k, 0);
    }
}

// Asks which piece goes to `slot`; the slot is empty again when no piece in the tray was chosen.
void puzzle_place(PuzzleState& st, s32 slot) {
    std::array<s32, CAVE_PUZZLE_PIECES> options{};
    for (s32 k = 0; k < CAVE_PUZZLE_PIECES; ++k)
        options[size_t(k)] = st.placed_at[size_t(k)] < 0 ? PUZZLE_OPTION_FIRST + k : -1;
    const s32 k = choose(2, PLAYER_PORTRAIT, options[0], options[1], options[2], options[3]);
    if (k < 0 || k >= CAVE_PUZZLE_PIECES || st.placed_at[size_t(k)] >= 0) {
        st.filled[size_t(slot)] = false;
        return;
    }
    const PuzzleSlot& s = CAVE_PUZZLE_SLOTS[slot];
    draw_image(s.place_x, s.place_y, PUZZLE_PIECE_FIRST + k, 0);
    st.placed_at[size_t(k)] = slot;
    st.in_slot[size_t(slot)] = k;
}

void puzzle_verdict(const PuzzleState& st) {
    if (st.in_slot == CAVE_PUZZLE_SOLUTION) {
        say(2, PLAYER_PORTRAIT, 25221);
        for (const s32 sprite : CAVE_PUZZLE_SPRITES) show(sprite);
        show(CAVE_PORTAL_TO_162);
        hide(CAVE_PUZZLE_ZONE);
        hide(CAVE_PUZZLE_OBJ);
    } else {
        say(2, PLAYER_PORTRAIT, 25222);
    }
}

void object_event_0814() {
    if (!script_on(TRIG_CLICK)) return;
    cursor_select(LOCK_CURSOR);
    player_turn_toward(CAVE_PUZZLE_OBJ);
    say_at(script_self(), 25216);
    PuzzleState st;
    st.in_slot.fill(-1);
    st.placed_at.fill(-1);
    // Each pass presents, and a present ends the game thread when the game is quitting.
    for (;;) {
        puzzle_draw(st);
        if (std::all_of(st.filled.begin(), st.filled.end(), [](bool f) { return f; })) {
            puzzle_verdict(st);
            modal_return();
            return;
        }
        if (mouse_buttons == 1) {
            mouse_buttons = 0;
            const s32 slot = cave_puzzle_slot_at(click_x, click_y, st.filled);
            if (slot >= 0) {
                st.filled[size_t(slot)] = true;
                puzzle_place(st, slot);
            }
        }
        screen_present();
    }
}

// ---- Ambushes ----------------------------------------------------------------------------------

struct Ambush {
    SlotId slot;
    s32 map = -1;
    s32 portrait = 0;
    s32 text = 0;
    s32 encounter = 0;
    std::array<s32, 2> ambushers{-1, -1};
};
constexpr Ambush AMBUSHES[] = {
    {SlotId(1047), 160, 1066, 14500, 36, {2022, 2023}},
    {SlotId(1048), 161, 1064, 14501, 37, {2024, 2025}},
    {SlotId(1049), 172, 1060, 14502, 38, {2026, -1}},
    {SlotId(1050), 162, 1061, 14503, 39, {2027, -1}},
};
constexpr s32 AMBUSH_REARM = 5;

// The three ambush fighters healed in full, the player and the two companions in part; the
// encounter is the row's.
constexpr BattleBlock AMBUSH_FIGHT{
    .encounter = 0,
    .party = false,
    .heal_full = {.who = -1, .ids = {297, 298, 299, -1, -1, -1, -1, -1, -1, -1, -1}},
    .heal_part = {.who = 0, .ids = {150, 152, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
    .loss = LOSS_ZERO,
};

void ambush(const Ambush& a) {
    if (!script_on(TRIG_TIMER)) return;
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER, AMBUSH_REARM);
    if (world_state.current_map != a.map) return;
    hide(self); // before the battle, so that it fires once whatever comes
    say(0, a.portrait, a.text);
    BattleBlock fight = AMBUSH_FIGHT;
    fight.encounter = a.encounter;
    const s32 result = battle_block(fight);
    if (battle_lost(result, fight.loss)) {
        end_episode(CAVE_OUTCOME_FLAG, CAVE_AMBUSH_LOST);
        return;
    }
    fame_add(CAVE_AMBUSH_FAME);
    heal_part(0, 150, 152);
    for (const s32 obj : a.ambushers)
        if (script_obj_valid(obj)) hide(obj);
}

// ---- Registration ------------------------------------------------------------------------------

constexpr auto SLOTS =
    join_slots(family_slots<SENTRIES, sentry_leader>(), family_slots<FOLLOWERS, sentry_follower>(),
               family_slots<PEDESTALS, pedestal>(), family_slots<AMBUSHES, ambush>(),
               std::array<ScriptSlot, 3>{
                   {{803, object_event_0803}, {813, object_event_0813}, {814, object_event_0814}}});
static_assert(slots_distinct(SLOTS));
// Slot 800, the empty script of the decorations, is the home region's.
constexpr SlotRange COMPLETE[] = {{801, 814}, {1047, 1050}};

} // namespace

s32 cave_puzzle_slot_at(s32 x, s32 y, const std::array<bool, CAVE_PUZZLE_PIECES>& filled) {
    for (s32 i = 0; i < CAVE_PUZZLE_PIECES; ++i) {
        const PuzzleSlot& s = CAVE_PUZZLE_SLOTS[i];
        if (!filled[size_t(i)] && x > s.x_lo && x < s.x_hi && y > s.y_lo && y < s.y_hi) return i;
    }
    return -1;
}

void caves_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    auto run = [&](const SentryRun& r, s32 sign) {
        for (s32 f = r.first; f <= r.last; ++f) v(sign * f);
    };
    for (const SentryPair& p : SENTRIES) {
        run(p.a, 1);
        run(p.b, 1);
        run(p.p0, -1);
        run(p.p1, -1);
    }
    cues_frames(v, COMPANIONS_98);
    v(PICTURE_QUESTION);
    for (const s32 base : PICTURE_BASES)
        for (s32 i = 0; i < PICTURES_SHOWN; ++i) v(base + i);
    v(PUZZLE_BOARD);
    for (s32 k = 0; k < CAVE_PUZZLE_PIECES; ++k) v(PUZZLE_PIECE_FIRST + k);
}

std::span<const ScriptSlot> caves_slots() {
    return SLOTS;
}

ScriptRegion caves_region() {
    return {.owner = CAVES_OWNER, .slots = caves_slots, .complete = COMPLETE};
}
