// Gift preferences (see gifts.h).
#include "data/gifts.h"

s32 gift_favourites[GIFT_PEOPLE][GIFT_FAVOURITES];
s32 gift_range_b[GIFT_PEOPLE][GIFT_RANGES];
s32 gift_range_a[GIFT_PEOPLE][GIFT_RANGES];

namespace {

// A run of item numbers first..last; the default is the empty run.
struct ItemRun {
    s32 first = 0;
    s32 last = -1;
};

// One character's preferences: the favourites as runs of item numbers, stored into slots 0, 1,
// 2, ... in this order, and liked range 0. Range 1 is empty for everybody.
struct GiftRow {
    s32 person;
    ItemRun favourites[4];
    ItemRun range;
};

// clang-format off
constexpr GiftRow GIFT_ROWS[] = {
    {11, {{1900, 1903}}, {1950, 1999}},
    {33, {{1053, 1059}, {1061, 1063}}, {1000, 1063}},
    {38, {{2000, 2007}}, {2050, 2064}},
    {40, {{2321, 2321}}, {2296, 2299}},
    {47, {{1106, 1108}}, {1820, 1824}},
    {50, {{2313, 2313}, {2322, 2325}}, {2300, 2349}},
    {51, {{2307, 2307}, {2314, 2314}, {2315, 2315}, {2317, 2317}}, {2300, 2349}},
    {55, {{2100, 2104}}, {2150, 2151}},
    {71, {{2100, 2104}}, {2150, 2151}},
    {75, {{1704, 1704}}, {1701, 1799}},
    {78, {{1150, 1155}, {1159, 1159}}, {2300, 2349}},
    {81, {{2305, 2305}, {2306, 2306}, {2308, 2311}, {2318, 2318}}, {2300, 2349}},
    {83, {{2065, 2069}}, {2050, 2064}},
    {84, {{950, 953}}, {900, 949}},
    {87, {{1904, 1907}}, {1950, 1999}},
    {89, {{1050, 1052}}, {1050, 1063}},
    {118, {{2300, 2304}, {2312, 2312}}, {2300, 2349}},
    {121, {{1150, 1155}, {1159, 1159}}, {2300, 2349}},
    {132, {{2215, 2215}}, {2211, 2216}},
    {146, {{2307, 2307}, {2314, 2314}, {2315, 2315}, {2317, 2317}}, {2300, 2349}},
    {163, {{1900, 1909}}, {1900, 1999}},
    {167, {{1053, 1059}, {1061, 1063}}, {1000, 1063}},
    {180, {{2275, 2275}}, {2275, 2281}},
    {193, {{2305, 2305}, {2306, 2306}, {2308, 2311}, {2318, 2318}}, {2300, 2349}},
    {200, {{2295, 2295}}, {2289, 2295}},
};
// clang-format on

constexpr bool gift_rows_fit() {
    for (const GiftRow& row : GIFT_ROWS) {
        if (row.person < 0 || row.person >= GIFT_PEOPLE) return false;
        if (row.range.first < 0 || row.range.last < row.range.first) return false;
        s32 count = 0;
        for (const ItemRun& run : row.favourites)
            if (run.last >= run.first) count += run.last - run.first + 1;
        if (count < 1 || count > GIFT_FAVOURITES) return false;
    }
    return true;
}
static_assert(gift_rows_fit(), "every row names a character, a range and 1..10 favourites");

} // namespace

void init_gift_prefs() {
    for (s32 p = 0; p < GIFT_PEOPLE; ++p) {
        for (s32 r = 0; r < GIFT_RANGES; ++r) {
            gift_range_b[p][r] = GIFT_RANGE_EMPTY_LOW;
            gift_range_a[p][r] = GIFT_RANGE_EMPTY_HIGH;
        }
        for (s32& item : gift_favourites[p]) item = GIFT_NO_FAVOURITE;
    }
    for (const GiftRow& row : GIFT_ROWS) {
        s32 slot = 0;
        for (const ItemRun& run : row.favourites)
            for (s32 item = run.first; item <= run.last; ++item)
                gift_favourites[row.person][slot++] = item;
        gift_range_b[row.person][0] = row.range.first;
        gift_range_a[row.person][0] = row.range.last;
    }
}

s32 gift_affection_bonus(s32 person, s32 item, s32 affection) {
    // No item number is negative: -1 and -2 would otherwise match empty slots and ranges.
    if (person < 0 || person >= GIFT_PEOPLE || item < 0) return 0;
    for (s32 favourite : gift_favourites[person])
        if (favourite == item) return GIFT_BONUS_FAVOURITE;
    for (s32 r = 0; r < GIFT_RANGES; ++r) {
        if (gift_range_b[person][r] <= item && item <= gift_range_a[person][r])
            return affection < GIFT_RANGE_CLOSE_AFFECTION ? GIFT_BONUS_RANGE
                                                          : GIFT_BONUS_RANGE_CLOSE;
    }
    return 0;
}
