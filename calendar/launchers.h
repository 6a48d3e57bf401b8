// The map-episode launchers: the after-turn handlers that hand the game over to a story episode
// on its own maps and take it back. Every launcher is one row of a table run by one function on
// the frame's launcher protocol (`cal_launch`): the intro over the dashboard (skipped when a game
// saved inside the episode is resuming), the episode's scene function, the outro by the outcome
// flag that the episode's scripts left, the end of the turn and the slot-2 save. Three launchers
// hand their outro to an outcome routine of their own; on route 3 the last one starts the
// open-world phase itself.
#pragma once
#include "calendar/calendar_register.h"
#include "calendar/frame.h"
#include "engine/types.h"

#include <span>

using LauncherScene = void (*)();

// One outcome branch of an outro: the lines (the first of them is shown on the faded screen when
// no common line came before) and the effects.
constexpr s32 LAUNCH_OTHER = -9999; // the branch of every value no other branch names
struct LauncherOutcome {
    s32 value = LAUNCH_OTHER;
    std::span<const CalLine> lines{};
    void (*effects)(bool resumed) = nullptr;
};

// How the outro starts.
enum class LauncherFade : s32 {
    Always,      // fade_out first
    NotOnResume, // fade_out unless the episode was resumed from a save
    None,        // no outro: nothing is faded
};

struct LauncherRow {
    s32 slot = -1;
    // The intro: its lines, or a routine with the intro's branches (returns true to start the
    // episode; false: the handler ends as an ordinary dialogue handler). Skipped when resuming.
    std::span<const CalLine> intro_lines{};
    bool (*intro)() = nullptr;
    // The episode's scene function, or a routine that picks the variant's (also when resuming).
    LauncherScene scene = nullptr;
    LauncherScene (*scene_of)() = nullptr;
    // Right after the episode, unless a game was loaded inside it.
    void (*after)() = nullptr;
    // The outro: a common head and the branches by the outcome (story flag `flag`, or the value
    // that `outcome` returns), or an outcome routine in their place.
    LauncherFade fade = LauncherFade::Always;
    std::span<const CalLine> head{};
    bool head_skipped_on_resume = false;
    s32 flag = -1;
    s32 (*outcome)() = nullptr;
    std::span<const LauncherOutcome> outcomes{};
    void (*outro)() = nullptr;
    s32 turns = 1;
    CalEndOrder order = CalEndOrder::EndFirst;
    // The launcher's last step, on every path on which no game was loaded.
    void (*last)() = nullptr;
};

// The fourteen launchers in the order of their turns.
std::span<const LauncherRow> launcher_rows();
// The row of `slot`, nullptr when no launcher stands there.
const LauncherRow* launcher_row(s32 slot);
// Runs a launcher on the frame's protocol.
CalLaunch launcher_run(const LauncherRow& row);
// The outcome branches: the branch of `value` (or LAUNCH_OTHER), its lines with the first one
// shown on the faded screen when `show_first`, then its effects. Nothing when no branch fits.
void launcher_play_outcome(std::span<const LauncherOutcome> cases, s32 value, bool show_first,
                           bool resumed);

// The scene call of every launcher (`scene()`); tests replace it to play an episode's end.
extern void (*launcher_scene_seam)(LauncherScene scene);
// The open-world start of a route (`open_world_start`), for route 3 here and the end of the
// calendar; tests replace it.
extern void (*launcher_open_world_seam)(s32 route);

// The outcome routines.
void episode_outcome_191();
void episode_outcome_222();
void route_three_outcome();

// Intro branches and outcome flags.
constexpr s32 LAUNCH_DIRECT_AFFECTION = 80; // slot 192: person 205 at this or more goes at once
constexpr s32 LAUNCH_REFUSE_AFFECTION = 60; // slot 192: below this no episode
constexpr s32 LAUNCH_TEST_BATTLE = 1;       // slot 192's test fight
constexpr s32 LAUNCH_POOL_AFFECTION = 70;   // slot 192: person 40's affection that opens pools
constexpr s32 LAUNCH_044_AFFECTION = 70;    // person 203
constexpr s32 LAUNCH_203_AFFECTION = 80;    // person 71
constexpr s32 LAUNCH_194_AFFECTION = 70;    // person 204
constexpr s32 LAUNCH_191_SKILL = 17;        // the growth value of outcome 6
constexpr s32 LAUNCH_191_SKILL_MIN = 70;
constexpr s32 LAUNCH_ROUTE_THREE = 3;
constexpr s32 LAUNCH_CALENDAR_GOES_ON = 2; // story_flag_80 of the episode on turn 233

// The excluded persons of the companion picker in the two launchers that call it.
constexpr s32 LAUNCH_129_EXCLUDED[8] = {118, 200, 146, 75, 132, 180, -1, -1};
constexpr s32 LAUNCH_135_EXCLUDED[8] = {81, 87, 167, 121, -1, -1, -1, -1};

void calendar_event_044();
void calendar_event_129();
void calendar_event_135();
void calendar_event_190();
void calendar_event_191();
void calendar_event_192();
void calendar_event_193();
void calendar_event_194();
void calendar_event_196();
void calendar_event_197();
void calendar_event_198();
void calendar_event_203();
void calendar_event_221();
void calendar_event_222();

constexpr const char* LAUNCHERS_OWNER = "calendar launchers";
std::span<const CalendarSlot> launchers_slots();
void register_launchers();
