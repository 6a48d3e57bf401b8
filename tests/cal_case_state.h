// The game state a calendar handler changes (player record, hub block, roster), kept after a
// fixture's set-up so that each case of a table starts from the same new game without building
// the world again.
#pragma once
#include "data/hub_block.h"
#include "data/roster.h"
#include "game/player.h"

#include <algorithm>
#include <iterator>

class CalCaseState {
  public:
    void keep() {
        player_ = player_record;
        hub_ = hub_block;
        std::copy(std::begin(roster), std::end(roster), std::begin(roster_));
    }
    void restore() const {
        player_record = player_;
        hub_block = hub_;
        std::copy(std::begin(roster_), std::end(roster_), std::begin(roster));
    }

  private:
    PlayerRecord player_{};
    HubBlock hub_{};
    RosterEntry roster_[ROSTER_SIZE]{};
};
