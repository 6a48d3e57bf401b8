// Shared by the tests of the event pools, their routines and the pool B meetings: the calendar
// handler fixture with exact affection gains (no social bonus), a meal screen and the mini-games
// that the meetings start replaced by recorders, a field loop that plays an episode's end, and the
// changes of the pool and place entries as words ("A5 off", "B14 on", "A12 empty", "P0.0.4 on"),
// and the texts a handler showed with its travels among them.
#pragma once
#include "calendar/event_pools.h"
#include "data/hub_block.h"
#include "engine/types.h"
#include "tests/calendar_fixture.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Texts first..last, and runs put together.
inline std::vector<s32> run(s32 first, s32 last) {
    std::vector<s32> t;
    for (s32 v = first; v <= last; ++v) t.push_back(v);
    return t;
}
inline std::vector<s32> cat(std::initializer_list<std::vector<s32>> parts) {
    std::vector<s32> out;
    for (const std::vector<s32>& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A travel (`hub_travel`) in a record of texts and travels (`steps_from`): no text has this id.
constexpr s32 TRAVEL = -1;

// Every entry of the three pools and of place 0.0, to compare before and after a handler.
struct PoolSnapshot {
    std::vector<EventEntry> a, b, c, place;
};
PoolSnapshot pool_snapshot();
// The entries that differ between `before` and now, in pool order A, B, C, place 0.0.
std::vector<std::string> pool_changes(const PoolSnapshot& before);

class PoolHandlerTest : public CalendarHandlerTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The new game's player record and hub block again (cheaper than a new world for a table of
    // cases), with exact affection gains.
    static void fresh();

    // As `texts_from`, with a TRAVEL in its place for every travel between the texts.
    static std::vector<s32> steps_from(size_t mark);

    // Calls of the replaced screens and games so far.
    static s32 meals();
    // Arguments of each light-ring game (eight each) and each aiming game (six each).
    static const std::vector<std::vector<s32>>& ring_games();
    static const std::vector<std::vector<s32>>& aim_games();
    // What the next ring game does (it may give items); the next aiming game's score (left in
    // turn_done as the game leaves it) and the next target game's result.
    static void on_ring_game(std::function<void()> f);
    static void next_aim_score(s32 score);
    static void next_aim_target(s32 result);
    // The field loop of the episodes: runs `f` (which ends the episode or loads a game) and
    // counts the runs.
    static void on_field_loop(std::function<void()> f);
    static s32 field_loops();
};

// Clicks the number-calling game's buttons in order, one each time its choosing screen waits.
void sum_guess_plan(std::vector<s32> buttons);
// Stops clicking (the present hook removed).
void sum_guess_plan_stop();
