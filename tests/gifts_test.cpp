// Gift preferences: the tables of the listed characters and the bonus a gift gives.
#include "data/gifts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Gifts : public ::testing::Test {
  protected:
    void SetUp() override {
        gift_favourites[0][0] = 1900; // left over from an earlier build
        gift_range_a[5][1] = 3000;
        init_gift_prefs();
    }
};

std::vector<s32> favourites_of(s32 person) {
    return std::vector<s32>(gift_favourites[person], gift_favourites[person] + GIFT_FAVOURITES);
}

TEST_F(Gifts, GiftBonusOfListedCharacters) {
    struct Case {
        s32 person, item, affection, bonus;
    };
    const Case cases[] = {
        {84, 951, 0, 15},                    // favourite
        {84, 949, 79, 5},                    // in the liked range 900-949
        {84, 949, 80, 3},                    // in the range at affection 80 or more
        {84, 900, 100, 3},  {84, 954, 0, 0}, // neither
        {84, 953, 90, 15},                   // a favourite gives 15 at any affection
        {89, 1050, 0, 15}, // favourites inside the range: the favourite test comes first
        {89, 1052, 95, 15}, {89, 1053, 10, 5},
        {89, 1064, 10, 0},  {38, 2000, 0, 15}, // favourites outside the range
        {38, 2007, 0, 15},  {38, 2008, 0, 0},
        {38, 2050, 0, 5},   {38, 2064, 85, 3},
        {33, 1060, 0, 5}, // the one number of 1053-1063 that is no favourite
        {33, 1059, 0, 15},  {33, 1061, 0, 15},
        {163, 1909, 0, 15}, // ten favourites fill every slot
        {163, 1910, 0, 5},  {200, 2295, 0, 15},
        {200, 2289, 0, 5},  {0, 1900, 0, 0}, // characters without preferences
        {0, 951, 80, 0},    {299, 2300, 0, 0},
        {-1, 951, 0, 0},                   // outside the table
        {300, 951, 0, 0},   {0, -1, 0, 0}, // empty slots and ranges never match
        {0, -2, 0, 0},      {84, -1, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gift_affection_bonus(c.person, c.item, c.affection), c.bonus)
            << "person " << c.person << " item " << c.item << " affection " << c.affection;
}

TEST_F(Gifts, FavouritesArePackedInListedOrder) {
    EXPECT_EQ(favourites_of(33),
              (std::vector<s32>{1053, 1054, 1055, 1056, 1057, 1058, 1059, 1061, 1062, 1063}));
    EXPECT_EQ(favourites_of(81),
              (std::vector<s32>{2305, 2306, 2308, 2309, 2310, 2311, 2318, -1, -1, -1}));
    EXPECT_EQ(favourites_of(50),
              (std::vector<s32>{2313, 2322, 2323, 2324, 2325, -1, -1, -1, -1, -1}));
    EXPECT_EQ(favourites_of(40), (std::vector<s32>{2321, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(favourites_of(0), std::vector<s32>(GIFT_FAVOURITES, -1));
}

TEST_F(Gifts, Ranges) {
    struct Case {
        s32 person, low, high;
    };
    const Case cases[] = {{11, 1950, 1999},  {33, 1000, 1063},  {40, 2296, 2299}, {75, 1701, 1799},
                          {132, 2211, 2216}, {200, 2289, 2295}, {0, -2, -1},      {5, -2, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(gift_range_b[c.person][0], c.low) << c.person;
        EXPECT_EQ(gift_range_a[c.person][0], c.high) << c.person;
    }
    // 25 characters have preferences; range 1 is empty for everybody.
    s32 with_preferences = 0;
    for (s32 p = 0; p < GIFT_PEOPLE; ++p) {
        EXPECT_EQ(gift_range_b[p][1], -2) << p;
        EXPECT_EQ(gift_range_a[p][1], -1) << p;
        const bool has_range = gift_range_b[p][0] >= 0;
        EXPECT_EQ(has_range, gift_favourites[p][0] >= 0) << p;
        with_preferences += has_range;
    }
    EXPECT_EQ(with_preferences, 25);
}

} // namespace
