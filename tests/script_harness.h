// The script harness: what every test of an object script uses.
//
// - A world builder: the engine on the placeholder content with one plain map, a new game's
//   player record, objects with exact attributes (`ScriptObject`), the player's place, the
//   calendar turn and the clock.
// - `sh_fire(object, trigger)` runs an object's script as the dispatcher does.
// - Frame steppers: `sh_frames(n)` runs the field loop's object pass and the clock n times without
//   drawing (the player's handler sees this frame's click, timers count down and fire);
//   `sh_field_frames(n)` runs whole field frames (scene, hit tests, present) for click roads.
// - The dialogue transcript with queued answers (tests/dialog_driver.h, transcript mode).
// - A scripted random queue behind `script_rand_seam`.
// - Recording fakes behind the seams of the battle, the mini-games of the hub, the shop screens,
//   the character screen, the ranking panel and saving: every call is one line of `sh_calls()`
//   ("battle 12 -> 1", "shop_buy 3", "info_screen 0", "ranking", "save 1", "aim 1 2 3 4 5 6",
//   "bait_catch 2", "popup 1", "light_ring 1 2 3 4 5 6 7 8", "recipes"), and behind the games
//   and routines that scripts start ("dice 0 50", "dice_high 0 500", "dice_practice",
//   "tracks 3", "hands", "aim_framed", "aim_target 102 -1 1 3 0 0", "aim_night", "tile_swap 3",
//   "falling_catch", "light_puzzle", "timed_action 1 2 40", "art_practice 4",
//   "training_aftermath 1", "companion_leave"). Each takes its next queued result and runs the
//   effect set for it at the call.
// - `sh_expect_end` runs a body that ends the game and reports how it ended.
#pragma once
#include "engine/types.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

constexpr s32 SH_MAP = 1;
constexpr s32 SH_MAP_W = 2048;
constexpr s32 SH_MAP_H = 2048;
// Images 40000..40199: a 40 x 60 figure standing on its foot point (the objects' frames).
constexpr s32 SH_FIGURE_FIRST = 40000;
constexpr s32 SH_FIGURE_COUNT = 200;
constexpr s32 SH_FIGURE_W = 40;
constexpr s32 SH_FIGURE_H = 60;

// Starts the engine and a new game's state with every fake installed and the transcript on;
// `extra` may add archive content.
void sh_start(const std::function<void(ArcBuilder&)>& extra = {});
void sh_stop();
// The engine for the game's own maps and scripts (no fakes): the placeholder archive with the
// shared placeholder maps and both player sprite sets, every object script registered and the
// timetables (with the maps' music) built. Stop it with `world_stop`.
void sh_start_placeholder_world();

// ---- World builder ---------------------------------------------------------------------------

struct ScriptObject {
    s32 map = SH_MAP;
    s32 x = 0, y = 0;
    s32 frame = 0; // signed
    s32 slot = 7;
    s32 layer = 3;
    s32 var_a = 0, var_b = 0;
    s32 timer = 0; // above 0: armed with this countdown
    bool anymap = true;
    bool click = false;
    s32 cursor = 0;
    bool active = true;
};
void sh_object(s32 obj, const ScriptObject& o);
void sh_player(s32 x, s32 y, s32 map = SH_MAP);
void sh_clock(s32 hour, s32 minute, s32 frames_per_minute = 0);
void sh_turn(s32 turn);
// These objects as the new game's population makes them: each cleared, then the rows of both
// population tables that address one of them run in order (a row that hides a range of objects
// is left out). Returns the rows run.
size_t sh_populate(std::span<const s32> objects);
// Every script of the program registered (scripts_register_all); a new game's player record.
void sh_register_all();
void sh_new_player();
// The player stands dx to the right of obj (the map does not count for the distance).
void sh_beside(s32 obj, s32 dx = 40);

// ---- Running ---------------------------------------------------------------------------------

void sh_fire(s32 obj, s32 trigger);
// n frames of the object pass and the clock; returns the frames run (fewer when a script ended
// the field loop, which the stepper keeps running until then: field_active is set at the start).
s32 sh_frames(s32 n);
// n whole field frames; returns the frames run.
s32 sh_field_frames(s32 n);
// Puts a test script into a free slot (world_script) and returns the slot.
s32 sh_script(std::function<void()> body);

// ---- Transcript and random draws -------------------------------------------------------------

std::vector<std::string> sh_lines();
// The lines of `all` that start with one of the prefixes (boxes, bubbles, choices, logs), in order.
std::vector<std::string> sh_only(const std::vector<std::string>& all,
                                 std::initializer_list<const char*> prefixes);
void sh_clear_lines();
// The boxes, bubbles, choices and labels said since the last clear.
std::vector<std::string> sh_talk_lines();
// Lines as the transcript writes them: obj's bubble ("say_at OBJ TEXT") and the box at `pos` with
// `portrait` ("say POS PORTRAIT TEXT").
std::string sh_bubble(s32 obj, s32 text);
std::string sh_box(s32 pos, s32 portrait, s32 text);
// A click on obj with the player beside it and the answers queued; what it said (sh_talk_lines).
std::vector<std::string> sh_click(s32 obj, std::initializer_list<s32> answers = {}, s32 dx = 40);
void sh_answers(std::initializer_list<s32> answers);
// The next draws of `script_rand`; a draw with the queue empty fails the test and returns 0.
void sh_rand(std::initializer_list<s32> draws);
size_t sh_rand_left();

// ---- Fakes -----------------------------------------------------------------------------------

const std::vector<std::string>& sh_calls();
void sh_clear_calls();
// The results of the next battles (1, a win, when none is queued).
void sh_battle_results(std::initializer_list<s32> results);
// What the fake save returns from now on (1, written, unless set; 0 is a failed save).
void sh_save_result(s32 result);
// The fake screens (character screen, ranking, shops) end as a real screen ends on a click: they
// leave the left button held and a click at screen (x, y) in the input words.
void sh_screens_leave_click(s32 x, s32 y);

// The results of the next calls of one fake, by its line's first word ("dice_high", "tile_swap",
// "battle", "save", "recipes", ...). A call with none queued returns 0 (a battle: 1, a win; a
// save: what `sh_save_result` set).
void sh_results(const std::string& fake, std::initializer_list<s32> results);
// An effect that the fake runs at each of its calls, before it returns (the sell screen removes
// what it sold, the bait game adds fish, a battle lowers hp); an empty function removes it.
void sh_on_call(const std::string& fake, std::function<void()> effect);
// The fighters (fighter 0..11 of the encounter record, -1 none) of each battle, as they stood at
// the call, in the order of the calls.
const std::vector<std::vector<s32>>& sh_battle_fighters();
// The fake games and battles end as a real one ends on a click: they leave the left button held
// and a click at screen (x, y) in the input words (what the field loop would read next).
void sh_games_leave_click(s32 x, s32 y);

// How a body that ends the game ended: `ended` when `game_quit` unwound it, with the exit code
// then, and `hand_over` when the program was asked to close with exit code 99 (the hand-over to
// the follow-up program after the window closes).
struct ShEnd {
    bool ended = false;
    s32 exit_code = 0;
    bool hand_over = false;
};
// Runs body with exit_code 0 and reports its end; exit_code is 0 again afterwards.
ShEnd sh_expect_end(const std::function<void()>& body);

// A gtest fixture that starts and stops the harness.
class ScriptTest : public ::testing::Test {
  protected:
    void SetUp() override { sh_start(); }
    void TearDown() override { sh_stop(); }
    HarnessTempDir dir;
};

// Every script registered, the player in the middle of the harness map and the population's rows
// of OBJECTS run; `populate()` makes them anew with a new game's player and no fake calls.
template <const auto& OBJECTS> class PopulatedScriptTest : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        sh_register_all();
        sh_player(SH_MAP_W / 2, SH_MAP_H / 2);
        populate();
    }
    static void populate() {
        sh_new_player();
        sh_populate(OBJECTS);
        sh_clear_calls();
    }
};
