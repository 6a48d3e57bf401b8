// The layout of the world's initial population: the spans of object numbers with the objects
// each holds by creator, its own script slots (slots other than the shared 6, 7, 60 and 800),
// its hidden objects and its countdowns (value -> objects).
#pragma once
#include "data/world_rows.h"
#include "engine/types.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

struct WorldSpan {
    s32 first, last;
    std::map<WorldOp, s32> creators;
    std::vector<std::pair<s32, s32>> own_slots; // inclusive runs
    s32 hidden;
    std::map<s32, s32> countdowns;

    std::set<s32> slots() const {
        std::set<s32> out;
        for (const auto& [a, b] : own_slots)
            for (s32 s = a; s <= b; s++) out.insert(s);
        return out;
    }
    bool holds(s32 obj) const { return obj >= first && obj <= last; }
};

inline const std::vector<WorldSpan>& world_spans() {
    static const std::vector<WorldSpan> spans = {
        {1,
         276,
         {{WR_NPC_TIMED, 108},
          {WR_PORTAL, 92},
          {WR_NPC_VIS, 34},
          {WR_NPC_VIS_TIMED, 19},
          {WR_STEP, 13},
          {WR_PORTAL_FIXED, 4},
          {WR_NPC, 3},
          {WR_TIMER, 1}},
         {{1, 1},
          {3, 5},
          {8, 38},
          {40, 40},
          {42, 45},
          {47, 47},
          {49, 51},
          {53, 55},
          {57, 59},
          {61, 73},
          {75, 75},
          {77, 85},
          {87, 87},
          {89, 131},
          {133, 133},
          {135, 148}},
         28,
         {{3, 62}, {8, 35}, {10, 19}, {5, 6}, {7, 3}, {12, 1}, {15, 1}, {100, 1}}},
        {277, 326, {{WR_PORTAL, 50}}, {}, 0, {}},
        {327, 392, {{WR_PORTAL, 16}, {WR_NPC_VIS, 11}}, {{159, 162}}, 1, {}},
        {400,
         525,
         {{WR_NPC_TIMED, 76},
          {WR_NPC_VIS, 12},
          {WR_PORTAL, 11},
          {WR_STEP, 9},
          {WR_NPC, 7},
          {WR_TIMER, 2}},
         {{166, 175},
          {177, 204},
          {206, 206},
          {209, 214},
          {850, 851},
          {853, 856},
          {858, 872},
          {874, 874},
          {876, 879},
          {881, 891},
          {893, 897}},
         39,
         {{8, 75}, {5, 2}, {10, 1}}},
        // The hidden pair is 998 and 999.
        {996, 1002, {{WR_NPC, 3}, {WR_NPC_VIS, 4}}, {{2, 2}, {173, 173}, {1052, 1053}}, 2, {}},
        {1003,
         1145,
         {{WR_NPC_TIMED, 100}, {WR_NPC_VIS, 19}, {WR_STEP, 15}, {WR_NPC, 2}, {WR_TIMER, 1}},
         {{600, 637}, {639, 639}, {641, 651}, {653, 681}, {683, 689}, {691, 721}},
         20,
         {{4, 92}, {3, 9}}},
        {1337, 1390, {{WR_PORTAL, 54}}, {}, 6, {}},
        {1391,
         1532,
         {{WR_NPC, 40}, {WR_NPC_VIS, 15}, {WR_PORTAL, 14}, {WR_NPC_TIMED, 10}, {WR_STEP, 4}},
         {{801, 814}, {817, 818}},
         10,
         {{4, 8}, {8, 1}, {10, 1}}},
        {1902, 1921, {{WR_PORTAL, 18}, {WR_NPC_VIS, 2}}, {{815, 816}}, 0, {}},
        {2022, 2067, {{WR_NPC, 6}, {WR_TIMER, 4}}, {{1047, 1050}}, 0, {{5, 4}}},
        {3000, 3748, {{WR_PORTAL, 44}}, {}, 2, {}},
    };
    return spans;
}
