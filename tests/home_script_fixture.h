// A small fixture for the home region's scripts on the script harness: the home map 10 at its
// size and one further map (an interior), and the transcript cut down to what a script says.
#pragma once
#include "engine/types.h"
#include "tests/script_harness.h"

#include <string>
#include <vector>

constexpr s32 HOME_MAP = 10;

// Starts the harness with map 10 (3072 x 2048) and `side_map` (1024 x 768), both plain ground.
inline void home_start(s32 side_map) {
    sh_start([side_map](ArcBuilder& b) {
        const auto ground = [](s32, s32) { return WORLD_GROUND; };
        world_put_map(b, HOME_MAP, 3072, 2048, ground, 300);
        world_put_map(b, side_map, 1024, 768, ground, 500);
    });
}

// What the scripts said, asked and floated, without the log lines and sounds of the adjusters.
inline std::vector<std::string> home_talk_lines() {
    std::vector<std::string> out;
    for (const std::string& l : sh_lines())
        if (l.rfind("say", 0) == 0 || l.rfind("choose", 0) == 0 || l.rfind("label", 0) == 0)
            out.push_back(l);
    return out;
}
