// Readings the calendar handler tests share: the player record as it should stand after a list of
// adjuster calls, and a handler's skill gain.
#pragma once
#include "engine/types.h"
#include "game/growth.h"
#include "game/player.h"

#include <functional>

// The record after `ops` on the record as it stands; the record itself stays as it is.
inline PlayerRecord record_after(const std::function<void()>& ops) {
    const PlayerRecord before = player_record;
    ops();
    const PlayerRecord want = player_record;
    player_record = before;
    return want;
}

// A handler's gain of skill `index`: below 100, n into its pool and `grow` (`grow_quiet` when
// quiet).
inline void skill_gain(s32 index, s32 n, bool quiet = false) {
    if (player_record.skill[index] >= 100) return;
    growth_pool(index) += n;
    if (quiet)
        grow_quiet(index);
    else
        grow(index);
}
