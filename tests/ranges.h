// Sets of numbers written as inclusive runs, as the game's tables list them.
#pragma once
#include "engine/types.h"

#include <initializer_list>
#include <set>
#include <utility>

inline std::set<s32> expand(std::initializer_list<std::pair<s32, s32>> runs) {
    std::set<s32> out;
    for (const auto& [first, last] : runs)
        for (s32 c = first; c <= last; ++c) out.insert(c);
    return out;
}
