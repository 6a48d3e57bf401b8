// The pace of the game thread's polls of the input words. A screen that waits for the player
// polls in a loop that neither presents nor reads the clock; left alone such a loop keeps a core
// busy for as long as the screen waits. The rule: a poll that finds new input, and the first
// poll after the game has handed the window thread a request (a present, a cursor change), goes
// on at once; every POLL_PACE_IDLE-th poll in a row that finds nothing new naps for
// POLL_PACE_NAP_MS. A loop that waits so answers within a millisecond and costs next to nothing;
// a screen that does real work between its presents polls far fewer times than that and never
// naps.
#pragma once
#include "engine/types.h"

constexpr u32 POLL_PACE_IDLE = 64;
constexpr u32 POLL_PACE_NAP_MS = 1;

class PollPace {
  public:
    // A poll that sees input generation `generation` (a count the window thread raises with
    // every input event): true when the caller should nap before it returns.
    bool poll(u64 generation) {
        if (generation != seen_) {
            seen_ = generation;
            idle_ = 0;
            return false;
        }
        if (++idle_ < POLL_PACE_IDLE) return false;
        idle_ = 0;
        return true;
    }
    // The game handed the window thread a request: it is not waiting.
    void busy() { idle_ = 0; }

  private:
    u64 seen_ = 0;
    u32 idle_ = 0;
};
