// Counters of single episodes that no save holds: quiz scores, crowd counters, a loop frame,
// puzzle and walker counters, finale guards. Each is declared once, in the file of the episode
// that owns it, with `EPISODE_COUNTER` (or `EPISODE_COUNTERS` for a row of them); the declaration
// enters it in one registry. `episode_state_reset` puts every registered counter back to its start
// value: program start calls it once, and so does the script harness at each test start. Nothing
// else resets them, so they keep their values across loads and replays within one run.
//
//     EPISODE_COUNTER(quiz_score, 0);          // s32 quiz_score, 0 at program start
//     EPISODE_COUNTERS(crowd_count, 4, 0);     // s32 crowd_count[4]
#pragma once
#include "engine/types.h"

constexpr s32 EPISODE_COUNTERS_MAX = 128;

struct EpisodeCounter {
    const char* name = nullptr;
    s32* value = nullptr;
    s32 count = 1; // consecutive counters from `value`
    s32 start = 0;
};
// Enters a counter in the registry; false (and nothing entered) when the registry is full, the
// name is taken or the counter is malformed.
bool episode_counter_add(const EpisodeCounter& c);
// Every registered counter := its start value.
void episode_state_reset();
// The registered counter of that name, nullptr when none (for tests and diagnostics).
const EpisodeCounter* episode_counter_find(const char* name);

#define EPISODE_COUNTER(var, start_value)                                                          \
    s32 var = (start_value);                                                                       \
    [[maybe_unused]] static const bool var##_entered =                                             \
        episode_counter_add(EpisodeCounter{#var, &(var), 1, (start_value)})
#define EPISODE_COUNTERS(var, n, start_value)                                                      \
    s32 var[n] = {};                                                                               \
    [[maybe_unused]] static const bool var##_entered =                                             \
        episode_counter_add(EpisodeCounter{#var, (var), (n), (start_value)})
