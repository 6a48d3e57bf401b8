#include "data/items.h"

#include "engine/math.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// An independent model of the game's random source: the runtime generator and the mixing
// counter, drawn the way `rand_below` draws.
struct RefRandom {
    u32 state;
    u32 counter = RAND_COUNTER_START;
    explicit RefRandom(u32 seed) : state(seed) {}
    u32 next() {
        state = state * 214013u + 2531011u;
        return (state >> 16) & 0x7FFF;
    }
    s32 below(s32 n) {
        if (n < 1) return 0;
        counter += 1;
        const u32 r = (counter & 3) != 0 ? next() : next() + next();
        return static_cast<s32>((r + counter) % static_cast<u32>(n));
    }
};

struct GroupRow {
    s32 result, requirement, others_base;
};
// The antique groups: genuine result, genuine requirement, the junk members' base.
const GroupRow GROUPS[12] = {{2301, 40, 30}, {2320, 30, 35}, {2306, 40, 40}, {2311, 65, 65},
                             {2309, 50, 50}, {2313, 70, 70}, {1055, 50, 50}, {1059, 80, 80},
                             {1152, 60, 60}, {1154, 80, 80}, {1454, 70, 70}, {940, 50, 50}};

struct RandomRow {
    s32 first, last, base, span;
};
// The random value rows in their order of draws.
const RandomRow RANDOM_ROWS[] = {
    {1900, 1949, 500, 200}, {1950, 1999, 30, 30},     {2000, 2049, 300, 200},
    {2050, 2064, 30, 30},   {2065, 2099, 200, 100},   {2100, 2149, 200, 100},
    {2260, 2274, 50, 50},   {2300, 2359, 1000, 2000}, {2360, 2399, 1, 10},
    {2400, 2499, 30, 80},   {1050, 1099, 2000, 3000}, {1150, 1199, 2000, 3000},
};

struct Expected {
    std::vector<s32> value, requirement, result;
};

// Replays the draws: one genuine member per group with the junk members' thresholds in member
// order, then every random value row in order, ascending items within a row.
Expected replay(u32 seed) {
    RefRandom r(seed);
    Expected e{std::vector<s32>(ITEM_COUNT, -1), std::vector<s32>(ITEM_COUNT, 0),
               std::vector<s32>(ITEM_COUNT, -1)};
    for (s32 g = 0; g < 12; ++g) {
        const s32 genuine = r.below(5);
        for (s32 i = 0; i < 5; ++i) {
            const s32 item = 2400 + 5 * g + i;
            if (i == genuine) {
                e.result[item] = GROUPS[g].result;
                e.requirement[item] = GROUPS[g].requirement;
            } else {
                e.requirement[item] = GROUPS[g].others_base - r.below(20);
            }
        }
    }
    for (const RandomRow& row : RANDOM_ROWS) {
        for (s32 i = row.first; i <= row.last; ++i) e.value[i] = row.base + r.below(row.span);
    }
    return e;
}

void new_game(u32 seed) {
    rt_srand(seed);
    rand_counter = RAND_COUNTER_START;
    for (ItemEntry& e : item_master) e = {7, 7, 7, 7}; // stale values of an earlier game
    init_item_master();
}

TEST(Items, KindsByRange) {
    new_game(1);
    const struct {
        s32 item, kind;
    } cases[] = {
        {0, 0},     {1249, 0},  {1250, 1},  {1299, 1},  {1300, 0},  {1399, 0},
        {1400, 10}, {1469, 10}, {1470, 10}, {1500, 10}, {1550, 10}, {1569, 10},
        {1570, 0},  {1599, 0},  {1819, 0},  {1820, 2},  {1829, 2},  {1830, 0},
        {1879, 0},  {1880, 3},  {1889, 3},  {1890, 0},  {2049, 0},  {2050, 4},
        {2099, 4},  {2100, 0},  {2399, 0},  {2400, 5},  {2460, 5},  {2499, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(item_master[c.item].kind, c.kind) << "item " << c.item;
}

TEST(Items, FixedValues) {
    new_game(1);
    const struct {
        s32 item, value;
    } cases[] = {
        {0, 0},       {899, 0},     {900, 10},     {904, 2000},   {905, 0},     {940, 3000},
        {950, 500},   {953, 2000},  {1000, 18},    {1008, 22},    {1009, 0},    {1049, 0},
        {1200, 2},    {1201, 5},    {1219, 124},   {1221, 62},    {1237, 23},   {1238, 0},
        {1250, 500},  {1251, 0},    {1275, 3000},  {1281, 1800},  {1299, 0},    {1400, 150},
        {1403, 300},  {1409, 1000}, {1423, 10000}, {1476, 20000}, {1506, 3000}, {1507, 1000},
        {1556, 1000}, {1569, 1000}, {1570, 2},     {1576, 400},   {1577, 1000}, {1599, 1000},
        {1600, 0},    {1800, 2},    {1801, 3},     {1840, 300},   {1846, 65},   {1860, 2},
        {1864, 100},  {1880, 80},   {1881, 170},   {1883, 500},   {1884, 0},    {1889, 0},
        {1890, 150},  {2150, 330},  {2151, 150},   {2160, 5},     {2161, 8},    {2200, 1},
        {2210, 8},    {2217, 300},  {2220, 10},    {2230, 7},     {2232, 30},   {2240, 1},
        {2241, 2},    {2250, 5},    {2275, 4},     {2282, 27},    {2299, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(item_master[c.item].value, c.value) << "item " << c.item;
}

// Values worked out by hand from the generator for seed 1.
TEST(Items, SeedOneDrawsWorkedByHand) {
    new_game(1);
    const s32 genuine[12] = {2400, 2407, 2410, 2417, 2421, 2425,
                             2433, 2435, 2441, 2447, 2454, 2456};
    for (s32 g = 0; g < 12; ++g) {
        EXPECT_EQ(item_master[genuine[g]].result, GROUPS[g].result) << "group " << g;
    }
    const s32 req[10] = {40, 13, 25, 29, 13, 22, 33, 30, 33, 32}; // items 2400..2409
    for (s32 i = 0; i < 10; ++i) EXPECT_EQ(item_master[2400 + i].requirement, req[i]);
    const struct {
        s32 item, value;
    } values[] = {{1900, 579},  {1901, 636}, {1949, 585}, {1950, 50},   {2050, 43},  {2054, 44},
                  {2300, 2896}, {2400, 84},  {2459, 88},  {1050, 4679}, {1199, 4502}};
    for (const auto& v : values) EXPECT_EQ(item_master[v.item].value, v.value) << v.item;
    EXPECT_EQ(rand_counter, 13573093); // 60 antique draws and 565 value draws
}

TEST(Items, EveryDrawFollowsTheOrder) {
    for (u32 seed : {1u, 77u, 2024u, 0xDEADBEEFu}) {
        new_game(seed);
        const Expected e = replay(seed);
        for (s32 i = 2400; i < 2460; ++i) {
            EXPECT_EQ(item_master[i].requirement, e.requirement[i]) << "seed " << seed << " " << i;
            EXPECT_EQ(item_master[i].result, e.result[i]) << "seed " << seed << " " << i;
        }
        for (s32 i = 0; i < ITEM_COUNT; ++i) {
            if (e.value[i] >= 0) {
                EXPECT_EQ(item_master[i].value, e.value[i]) << "seed " << seed << " " << i;
            }
        }
    }
}

TEST(Items, AntiqueGroups) {
    for (u32 seed : {3u, 4u, 5u, 123456u}) {
        new_game(seed);
        for (s32 g = 0; g < 12; ++g) {
            s32 genuine = 0;
            for (s32 i = 0; i < 5; ++i) {
                const ItemEntry& e = item_master[2400 + 5 * g + i];
                if (e.result != -1) {
                    ++genuine;
                    EXPECT_EQ(e.result, GROUPS[g].result);
                    EXPECT_EQ(e.requirement, GROUPS[g].requirement);
                } else {
                    EXPECT_GE(e.requirement, GROUPS[g].others_base - 19);
                    EXPECT_LE(e.requirement, GROUPS[g].others_base);
                }
            }
            EXPECT_EQ(genuine, 1) << "group " << g;
        }
        for (s32 i = 2460; i <= 2499; ++i) {
            EXPECT_EQ(item_master[i].result, -1);
            EXPECT_EQ(item_master[i].requirement, 0);
        }
        for (s32 i = 0; i < 2400; ++i) {
            ASSERT_EQ(item_master[i].result, -1) << i;
            ASSERT_EQ(item_master[i].requirement, 0) << i;
        }
        for (const RandomRow& row : RANDOM_ROWS) {
            for (s32 i = row.first; i <= row.last; ++i) {
                EXPECT_GE(item_master[i].value, row.base);
                EXPECT_LT(item_master[i].value, row.base + row.span);
            }
        }
    }
}

TEST(Items, TwoNewGamesShareTheFixedPartsOnly) {
    new_game(11);
    std::vector<ItemEntry> first(item_master, item_master + ITEM_COUNT);
    new_game(12);
    s32 value_diffs = 0;
    std::set<s32> genuine_a, genuine_b;
    for (s32 i = 0; i < ITEM_COUNT; ++i) {
        EXPECT_EQ(item_master[i].kind, first[i].kind);
        if (first[i].result != -1) genuine_a.insert(i);
        if (item_master[i].result != -1) genuine_b.insert(i);
        if (item_master[i].value != first[i].value) ++value_diffs;
    }
    EXPECT_GT(value_diffs, 400);
    EXPECT_NE(genuine_a, genuine_b);
    EXPECT_EQ(genuine_a.size(), 12u);
}

TEST(Items, OutOfRangeReadsTheEmptyRecord) {
    new_game(1);
    for (s32 item : {-1, ITEM_COUNT, 1 << 30, -2147483647 - 1}) {
        const ItemEntry& e = item_entry(item);
        EXPECT_EQ(e.value, 0);
        EXPECT_EQ(e.requirement, 0);
        EXPECT_EQ(e.result, -1);
        EXPECT_EQ(e.kind, ITEM_KIND_NONE);
    }
    EXPECT_EQ(&item_entry(2499), &item_master[2499]);
    EXPECT_EQ(&item_entry(0), &item_master[0]);
}

} // namespace
