// Helpers for tables of calendar handler cases: the game state a handler changes (player record,
// hub block, roster), kept after a fixture's set-up so that each case of a table starts from the
// same new game without building the world again.
#pragma once
#include "data/hub_block.h"
#include "data/roster.h"
#include "game/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <iterator>

class CalCaseState {
  public:
    // Keeps the state now; `reset` puts a test's own fakes back before every case but the first.
    void keep(std::function<void()> reset = {}) {
        reset_ = std::move(reset);
        player_ = player_record;
        hub_ = hub_block;
        std::copy(std::begin(roster), std::end(roster), std::begin(roster_));
    }
    void restore() const {
        player_record = player_;
        hub_block = hub_;
        std::copy(std::begin(roster_), std::end(roster_), std::begin(roster));
        if (reset_) reset_();
    }
    // Runs `body` for every case (traced by its `name`, or by its value), each from the kept state.
    template <typename Case, std::size_t N, typename Body>
    void each(const Case (&cases)[N], Body body) const {
        for (std::size_t i = 0; i < N; i++) {
            if constexpr (requires { cases[i].name; }) {
                SCOPED_TRACE(cases[i].name);
                if (i > 0) restore();
                body(cases[i]);
            } else {
                SCOPED_TRACE(cases[i]);
                if (i > 0) restore();
                body(cases[i]);
            }
        }
    }

  private:
    PlayerRecord player_{};
    HubBlock hub_{};
    RosterEntry roster_[ROSTER_SIZE]{};
    std::function<void()> reset_;
};
