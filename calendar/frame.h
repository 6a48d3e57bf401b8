// The handler frame: what every calendar handler is built from.
//
// - Small typed ids (text, person, picture, sound, music, growth value) so that a swapped
//   argument does not compile; the literals 11000_t, 40_p, 60400_pic, 600_snd, 10045_mus.
// - Lines: a dialogue run over the dashboard written as a table row with named fields
//   (designated initialisers, in the order the fields are declared):
//       {.travel = true, .backdrop = 60406_pic, .text = 13508_t, .to = 13510_t, .right = {20_p}}
//   and run by `cal_lines`. A row does what its fields name in the order they are declared:
//   fade out, sound, travel, backdrop, music, then its run of texts, then its choice.
// - The summary queue: the up to four lines of the box that ends a handler.
// - Growth: a gain or a loss of a growth value with its summary line.
// - The injury step and the words of a battle's result.
// - Entries of the pools and places, schedule writes, menu and place buttons.
// - The return protocol (what the hub reads when a handler returns) and the launcher protocol
//   (the hand-over into a map episode and back).
#pragma once
#include "data/hub_block.h"
#include "engine/types.h"

#include <initializer_list>
#include <span>
#include <type_traits>

// ---- Typed ids ---------------------------------------------------------------------------------

enum class CalText : s32 {};    // a text id; 0 = none
enum class CalPerson : s32 {};  // a person number: portrait 62000 + n; 0 the protagonist, -1 nobody
enum class CalPicture : s32 {}; // an image id; 0 = none
enum class CalSound : s32 {};   // 0 = none
enum class CalMusic : s32 {};   // 0 = none
enum class CalGrowth : s32 {};  // a growth index (growth_index), 0..33

constexpr CalPerson CAL_HERO = CalPerson{0};    // the protagonist
constexpr CalPerson CAL_NOBODY = CalPerson{-1}; // an empty side

// The literals, for the handler files (`using namespace cal_literals;`).
namespace cal_literals {
constexpr CalText operator""_t(unsigned long long v) {
    return CalText(s32(v));
}
constexpr CalPerson operator""_p(unsigned long long v) {
    return CalPerson(s32(v));
}
constexpr CalPicture operator""_pic(unsigned long long v) {
    return CalPicture(s32(v));
}
constexpr CalSound operator""_snd(unsigned long long v) {
    return CalSound(s32(v));
}
constexpr CalMusic operator""_mus(unsigned long long v) {
    return CalMusic(s32(v));
}
} // namespace cal_literals

// The number inside a typed id.
template <typename Id>
requires std::is_enum_v<Id>
constexpr s32 cal_id(Id v) {
    return s32(v);
}

// skill i is growth index i (0..24); attribute i is growth index 25 + i (0..5).
constexpr CalGrowth cal_skill(s32 i) {
    return CalGrowth{i};
}
constexpr CalGrowth cal_attr(s32 i) {
    return CalGrowth{25 + i};
}

// ---- Lines -------------------------------------------------------------------------------------

// A short list written as a braced list ({40_p, 30_p}); entries past N are dropped.
template <typename T, s32 N> struct CalList {
    T item[N] = {};
    s32 count = 0;
    constexpr CalList() = default;
    constexpr CalList(std::initializer_list<T> list) {
        for (T v : list)
            if (count < N) item[count++] = v;
    }
};

// The persons of one side of a run, in the order they take the lines.
constexpr s32 CAL_CAST_MAX = 10;
struct CalCast : CalList<CalPerson, CAL_CAST_MAX> {
    using CalList::CalList;
    // The person of line `line` of a run: the persons take the lines in turn; nobody when empty.
    constexpr CalPerson at(s32 line) const { return count == 0 ? CAL_NOBODY : item[line % count]; }
};

// Who speaks the lines of a run (the caption picture 60323 + caption).
enum class CalSpeaker : s32 {
    // The figure at the right when the line has one (caption 1), else narration (caption 0).
    Auto,
    // The figure at the left, the protagonist in most runs (caption 0).
    Left,
};

// A picture behind (`over` false) or over the portraits, for `hub_say_pic` / `hub_say_pic_over`
// and the picture forms of `hub_choose`.
struct CalPic {
    CalPicture id{};
    s32 x = 0, y = 0;
    bool over = false;
};

// Up to four options of a choice; absent ones are 0.
using CalOptions = CalList<CalText, 4>;

// One row of lines. Everything is optional; a row without text only makes its scene changes.
//
// The caption and portraits of each line of a run (our rule): line i of the run shows
// right.at(i) at the right and left.at(i) at the left, so the persons of a side take the lines
// in turn, from the first named; the left side defaults to the protagonist, `.left = {CAL_NOBODY}`
// leaves it empty. The caption is 1 (the figure at the right speaks) when the line has someone
// at the right, else 0 (narration); `.speaker = CalSpeaker::Left` gives every line caption 0 (the
// figure at the left speaks). A choice always takes caption 0: the options are the player's own
// words; its portraits are those of the run's first line.
struct CalLine {
    bool fade_out = false; // `fade_out` first
    CalSound sound{};      // mssw_play_sound(sound, 1)
    bool travel = false;   // `hub_travel`
    CalPicture backdrop{}; // scene_backdrop := backdrop: the new place, from the next line on
    CalMusic music{};      // music_id := music and mssw_play_music(music, 0)
    bool show = false;     // the first line on the faded screen with `hub_show`, then `fade_in`
    CalText text{};        // first text of the run
    CalText to{};          // last text of the run; 0 (or below `text`): a run of one line
    CalCast right{};
    CalCast left{CAL_HERO};
    CalSpeaker speaker = CalSpeaker::Auto;
    CalPic pic{};        // `hub_say_pic` / `_over` for every line, the picture forms of the choice
    CalOptions choose{}; // a choice after the run
};

// The longest run a row may name; a longer one is cut here (a mistyped range must not say
// thousands of texts).
constexpr s32 CAL_RUN_MAX = 200;

// Runs the rows in order. Returns the answer (0..3) of the last row with a choice, -1 when no
// row asked one.
s32 cal_lines(std::span<const CalLine> rows);
s32 cal_lines(std::initializer_list<CalLine> rows);

// The caption, left and right portrait of line `line` (0-based) of a row's run, by the rule above.
struct CalFace {
    s32 caption, left, right;
};
CalFace cal_line_face(const CalLine& row, s32 line);

// ---- Random draws ------------------------------------------------------------------------------

// Every random draw of a handler: 0 .. n-1 through `cal_rand_seam` (rand_below unless a test
// forces the values).
extern s32 (*cal_rand_seam)(s32 n);
s32 cal_rand(s32 n);

// ---- Music played once -------------------------------------------------------------------------

// Plays `piece` once (mssw_play_music(piece, 1), music_id unchanged) and waits, on the tick clock,
// while that piece is the one in the music slot and still plays. A piece that did not start (an
// empty or broken entry keeps the previous music, which may loop for ever) ends the wait at once,
// as does silence.
void cal_play_once_and_wait(CalMusic piece);
// Waits, on the tick clock, while `piece` is the one in the music slot and still plays: the wait
// of `cal_play_once_and_wait` for a piece started earlier (lines shown while it plays). A piece
// that did not start, or silence, ends the wait at once.
void cal_wait_piece(CalMusic piece);

// ---- Summary -----------------------------------------------------------------------------------

// The summary box at the end of a handler: up to four lines, in the order they were queued.
constexpr s32 CAL_SUMMARY_LINES = 4;
struct CalSummary {
    s32 text[CAL_SUMMARY_LINES] = {};
    s32 count = 0;
};
// Queues text t; an id of 0 or below is skipped. A fifth line shows the four queued ones at once
// and starts a new box with it, so that no line is lost.
void cal_summary_add(CalSummary& sum, CalText t);
// One `hub_say_lines` with the queued lines (nothing when none is queued); empties the queue.
void cal_summary_show(CalSummary& sum);

// ---- Growth ------------------------------------------------------------------------------------

constexpr s32 CAL_GAIN_SUMMARY = 200;  // + growth index
constexpr s32 CAL_LOWER_SUMMARY = 250; // + growth index
constexpr s32 CAL_VALUE_MAX = 100;

// A gain: when growth value g (a skill or attribute, 0..30) is below 100, adds n to its experience
// pool (growth_pool, which keeps the stored order of the pools of 27 and 28), applies it with
// `grow_quiet` (`grow` for cal_gain_loud) and queues summary 200 + g. Returns 1 then, else 0
// (nothing changes, nothing is queued; also for an index outside 0..30). The pool saturates at the
// top of its range.
s32 cal_gain(CalSummary& sum, CalGrowth g, s32 n);
s32 cal_gain_loud(CalSummary& sum, CalGrowth g, s32 n);
// A loss: `grow_lower`(1, g, amount) and summary 250 + g (g in 0..30, else nothing).
void cal_lower(CalSummary& sum, CalGrowth g, s32 amount);

// ---- Injury and battle results -----------------------------------------------------------------

constexpr s32 CAL_INJURY_SPREAD = 3; // sick turns 2 + rand_below(3)
constexpr s32 CAL_INJURY_MIN_TURNS = 2;
constexpr s32 CAL_INJURY_CONDITION = 5;
constexpr s32 CAL_INJURY_SUMMARY = 468;            // + sick turns
constexpr CalText CAL_INJURY_EXTRA = CalText{281}; // "injury +281"

// The injury step: sick_turns := 2 + rand_below(spread), condition := 5, and summary
// 468 + sick_turns queued (shown with the handler's summary box). A spread below 1 counts as 1.
void cal_injury(CalSummary& sum, s32 spread = CAL_INJURY_SPREAD);

// Fights `encounter` through `battle_run_seam` and returns its result: 0 lost, 1 won, 2 round
// limit. In the tables "won" is result 1 and "not won" covers 0 and 2; "lost" is result 0 and
// the round limit counts as not lost.
s32 cal_battle(s32 encounter);
constexpr bool cal_won(s32 result) {
    return result == 1;
}
constexpr bool cal_not_won(s32 result) {
    return result != 1;
}
constexpr bool cal_lost(s32 result) {
    return result == 0;
}

// ---- Entries, schedules and buttons ------------------------------------------------------------

// Where an entry stands: pool A k, pool B k, pool C k, or place s.p entry k.
enum class CalEntryKind : s32 { PoolA, PoolB, PoolC, Place };
struct CalEntry {
    CalEntryKind kind;
    s32 set = 0, place = 0; // places only
    s32 index = 0;
};
constexpr CalEntry cal_pool_a(s32 k) {
    return {CalEntryKind::PoolA, 0, 0, k};
}
constexpr CalEntry cal_pool_b(s32 k) {
    return {CalEntryKind::PoolB, 0, 0, k};
}
constexpr CalEntry cal_pool_c(s32 k) {
    return {CalEntryKind::PoolC, 0, 0, k};
}
constexpr CalEntry cal_place(s32 set, s32 place, s32 k) {
    return {CalEntryKind::Place, set, place, k};
}

// The entry in `hub_block`, or nullptr when the address lies outside its table.
EventEntry* cal_entry(const CalEntry& e);
void cal_open(const CalEntry& e);  // on := 1
void cal_close(const CalEntry& e); // on := 0
void cal_empty(const CalEntry& e); // slot := -1, on := 0
// 1 when the entry can be drawn (slot >= 0 and on == 1); 0 otherwise or out of range.
s32 cal_is_open(const CalEntry& e);
// on == 0 (a closed entry, whatever its slot); 0 out of range.
s32 cal_is_off(const CalEntry& e);

// Schedule writes: entry `turn` (0..249) of turn_events_before / _after := slot. A turn outside
// the schedule writes nothing and returns -1 (a late turn + n must not write past the table);
// 0 when written.
s32 cal_schedule_before(s32 turn, s32 slot);
s32 cal_schedule_after(s32 turn, s32 slot);

// hub_menu_avail[level][button] := on / hub_third_avail[button][set] := on (out of range: nothing).
void cal_menu(s32 level, s32 button, s32 on);
void cal_place_button(s32 button, s32 set, s32 on);
s32 cal_place_button_on(s32 button, s32 set); // 1 when open; 0 otherwise or out of range

// ---- Return protocol ---------------------------------------------------------------------------

// What the hub reads when a handler returns:
// - turns_consumed: the turns the action uses; the hub passes it to hub_end_turn.
// - turn_done 1: the handler ended the turn itself; the hub skips its own end of turn from
//   turn 10 on.
// - field_active 1 after a before-turn handler: an episode is to be resumed by the after-turn
//   handler; the dashboard is skipped.
// - hub_restart != -1: a game was loaded while the handler ran; the hub drops the rest of the
//   turn.

// turns_consumed := n (1..3 in the tables; stored as given).
void cal_turns(s32 n);
// The handler's own end of turn: turns_consumed := n, turn_done := 1, hub_end_turn(n).
void cal_end_turn(s32 n);
// Back at the hub after an episode: area := AREA_HUB and save_game(2).
void cal_back_to_hub();
// 1 when a game was loaded while the handler ran (hub_restart != -1).
s32 cal_loaded();

// ---- Launcher protocol -------------------------------------------------------------------------

// When a launcher ends the turn: before its outro lines, after them, or after them unless the
// episode was resumed from a save (then before). EndAfterFadeUnlessResumed: `fade_out` first, then
// the end of turn, then the outro (which then starts on the faded screen); resumed: the end of
// turn before the outro as EndFirst.
enum class CalEndOrder : s32 {
    EndFirst,
    OutroFirst,
    OutroFirstUnlessResumed,
    EndAfterFadeUnlessResumed
};

struct CalLauncher {
    // The intro over the dashboard; returns true to start the episode. false: the intro was an
    // ordinary dialogue handler (declined, lost a test) and the launcher returns with it. Null:
    // no intro, the episode always starts. Skipped when resuming.
    bool (*intro)() = nullptr;
    void (*scene)() = nullptr; // the episode's scene function
    // The outro: its lines (a `show` row first, usually with `.fade_out`) and effects, by the
    // outcome flag. `resumed` is true when the episode was resumed from a save. Null: none.
    void (*outro)(bool resumed) = nullptr;
    s32 turns = 1; // turns_consumed of the episode
    CalEndOrder order = CalEndOrder::EndFirst;
};

enum class CalLaunch : s32 {
    Declined, // the intro did not start the episode; nothing more was done
    Done,     // episode, outro, end of turn and the slot-2 save
    Loaded,   // a game was loaded during the episode: nothing was done after it
};

// The hand-over: intro (unless field_active is already 1: a save made in this episode is being
// resumed), the scene function, then at once back when a game was loaded during it; else the
// outro and the end of turn in the launcher's order, area := AREA_HUB and save_game(2). An outro
// that runs a field loop of its own (the open world) may see a load too: then nothing more is done
// after it either, so the loaded game is not overwritten.
CalLaunch cal_launch(const CalLauncher& l);

// ---- Training whatever the level ---------------------------------------------------------------

// Experience given by a lesson or a screen: adds n to the pool of growth value g (0..30; the sum
// saturates) and runs `grow`, whatever the value's level and without a summary line. An index
// outside 0..30 does nothing.
void cal_train(CalGrowth g, s32 n);

// ---- Draws without repeats ---------------------------------------------------------------------

// Draws that a run of a handler repeats until it finds a value not drawn before.
constexpr s32 CAL_DRAW_TRIES = 1000;

// A value 0..n-1 (n = taken.size()) whose `taken` entry is false, by repeated `cal_rand`(n); the
// value is marked taken. After CAL_DRAW_TRIES draws that all met taken values the lowest free
// value is taken, so that a forced or broken random source cannot hold the game. Every value
// taken (or n = 0): -1, and nothing is drawn.
s32 cal_draw_new(std::span<bool> taken);
