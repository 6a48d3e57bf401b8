// Expected text ids written as runs, for the calendar handler tests: in `text_runs`, a negative
// entry -b continues the previous id up to b ({13508, -13510} is 13508, 13509, 13510);
// `text_join` puts several lists one after the other.
#pragma once
#include "engine/types.h"

#include <initializer_list>
#include <vector>

inline std::vector<s32> text_runs(std::initializer_list<s32> list) {
    std::vector<s32> out;
    for (s32 v : list) {
        if (v < 0 && !out.empty())
            for (s32 t = out.back() + 1; t <= -v; ++t) out.push_back(t);
        else
            out.push_back(v);
    }
    return out;
}

inline std::vector<s32> text_join(std::initializer_list<std::vector<s32>> parts) {
    std::vector<s32> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
