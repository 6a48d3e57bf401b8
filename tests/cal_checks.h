// Readings the calendar handler tests share: runs of text ids as the tables write them, and the
// player record as it should stand after a list of adjuster calls.
#pragma once
#include "engine/types.h"
#include "game/growth.h"
#include "game/player.h"

#include <functional>
#include <initializer_list>
#include <vector>

// Texts from .. to, in order.
inline std::vector<s32> text_run(s32 from, s32 to) {
    std::vector<s32> v;
    for (s32 t = from; t <= to; ++t) v.push_back(t);
    return v;
}
// The parts one after the other.
inline std::vector<s32> texts_cat(std::initializer_list<std::vector<s32>> parts) {
    std::vector<s32> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

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
