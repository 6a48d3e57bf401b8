// The map episodes of the calendar phase as their launchers, scene set-ups and scripts agree on
// them: each episode's launcher slot, its launcher and scene functions, and the outcome flags with
// the values its scripts may store. Episode tests check an ending against it: the episode's own
// flags hold a listed value (or what they held before), and no other episode's outcome changed.
#pragma once
#include "engine/types.h"

#include <initializer_list>
#include <span>
#include <vector>

struct EpisodeFlag {
    s32 flag = 0;
    std::vector<s32> values; // what the episode's scripts may store
};

struct EpisodeProtocol {
    s32 launcher_slot = 0;          // slot of calendar_event_table
    void (*launcher)() = nullptr;   // null: no schedule reaches the episode
    std::vector<void (*)()> scenes; // the scene set-ups (two for the two variants of slot 129)
    std::vector<EpisodeFlag> flags; // empty: the episode ends without a verdict
};

// The eighteen episodes.
std::span<const EpisodeProtocol> episode_protocols();
// The row of a launcher slot; fails the test and returns null when there is none.
const EpisodeProtocol* episode_protocol(s32 launcher_slot);

// The outcome flags of every episode, as they stand.
std::vector<s32> episode_outcomes_now();
// After an ending of the episode of `launcher_slot`: its flags hold a listed value or their value
// in `before`; every other episode's outcome flags are as in `before`. Reports through gtest.
void expect_episode_outcome(s32 launcher_slot, const std::vector<s32>& before);
