// NPC timetables and map music: the fill-forward, the quarter-hour reader that stays inside a
// resident's row, mirrored frames as valid entries, and the door music rule.
#include "data/timetables.h"

#include <gtest/gtest.h>

namespace {

constexpr s32 E = TIMETABLE_EMPTY;

class Timetables : public ::testing::Test {
  protected:
    void SetUp() override {
        // What a previous build or a stray write left behind must not survive the build.
        for (auto& row : npc_timetable_map)
            for (s32& v : row) v = 777;
        map_music[14] = 12345;
        init_npc_timetables();
    }
};

struct EntryCase {
    s32 resident;
    s32 k;
    NpcTimetableEntry expected;
};

// Written entries, the entries the fill-forward copies, and the entries before a resident's
// first written one, which stay empty.
const EntryCase ENTRY_CASES[] = {
    {0, 0, {E, E, E, E, E}},
    {0, 1, {E, E, E, E, E}},
    {0, 2, {10, 2250, 700, 33004, 4}},
    {0, 3, {10, 2250, 700, 33004, 4}},
    {0, 6, {10, 2250, 700, 33004, 4}},
    {0, 7, {10, 2250, 700, 4202, 5}},
    {0, 8, {40, 661, 861, 4202, 10}},
    {0, 23, {40, 661, 861, 4202, 10}},
    {0, 47, {10, 4582, 2203, 4202, 21}},
    {1, 17, {10, 2264, 946, -5322, 11}}, // a mirrored frame is a written value
    {1, 47, {28, 236, 301, 30270, 26}},
    {2, 0, {E, E, E, E, E}}, // resident 2 has no written entry
    {2, 47, {E, E, E, E, E}},
    {3, 35, {13, 388, 311, -5422, 43}},
    {3, 36, {10, 5344, 1670, 32764, 47}},
    {5, 16, {10, 2342, 393, 32826, 12}},
    {5, 17, {10, 2342, 393, -5872, 13}},
    {7, 15, {E, E, E, E, E}},
    {7, 16, {10, 5632, 1685, -5202, 6}},
    {7, 19, {10, 5632, 1685, -5202, 6}}, // a mirrored frame is filled forward too
    {7, 47, {10, 900, 650, -5202, 44}},
    {10, 23, {E, E, E, E, E}},
    {10, 24, {10, 2264, 946, 33872, 16}},
    {10, 35, {19, 422, 357, 5352, 30}},
    {10, 47, {23, 425, 334, 33346, 46}},
    {11, 47, {E, E, E, E, E}},
    {19, 20, {E, E, E, E, E}},
};

void expect_entry(const NpcTimetableEntry& got, const NpcTimetableEntry& want) {
    EXPECT_EQ(got.map, want.map);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.frame, want.frame);
    EXPECT_EQ(got.var_a, want.var_a);
}

TEST_F(Timetables, FilledForwardFromTheFirstWrittenEntry) {
    for (const EntryCase& c : ENTRY_CASES) {
        SCOPED_TRACE(::testing::Message() << "resident " << c.resident << " entry " << c.k);
        expect_entry(timetable_entry(c.resident, c.k), c.expected);
        // The accessor reads the tables themselves.
        EXPECT_EQ(npc_timetable_map[c.resident][c.k], c.expected.map);
        EXPECT_EQ(npc_timetable_frame[c.resident][c.k], c.expected.frame);
    }
}

TEST_F(Timetables, RowsHaveNoGapAfterTheirFirstEntry) {
    // Every field is either empty in all five tables (before the first written entry) or
    // holds a value, so a reader never meets a half-filled entry.
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        bool started = false;
        for (s32 k = 0; k < TIMETABLE_QUARTERS; ++k) {
            const NpcTimetableEntry e = timetable_entry(i, k);
            const bool any = e.map != E || e.x != E || e.y != E || e.frame != E || e.var_a != E;
            const bool all = e.map != E && e.x != E && e.y != E && e.frame != E && e.var_a != E;
            EXPECT_EQ(any, all) << i << " " << k;
            if (started) {
                EXPECT_TRUE(all) << "gap at resident " << i << " entry " << k;
            }
            started = started || all;
        }
        EXPECT_EQ(started, i <= 10 && i != 2) << "resident " << i;
    }
}

TEST_F(Timetables, ResidentObjects) {
    const s32 objects[] = {6, 123, 195, 217, 218, 219, 223, 225, 226, 227, 232};
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i)
        EXPECT_EQ(timetable_npcs[i], i < 11 ? objects[i] : -1) << i;
}

TEST(TimetableQuarter, ClockTimesToEntries) {
    struct Case {
        s32 hour, minute, q;
    };
    const Case cases[] = {
        {6, 0, 0},   {6, 14, 0},   {6, 15, 1},   {6, 30, 2},   {10, 50, 19},
        {12, 0, 24}, {17, 45, 47}, {17, 59, 47}, {5, 59, -1},  {18, 0, -1},
        {0, 0, -1},  {23, 30, -1}, {10, 60, -1}, {10, -1, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(timetable_quarter(c.hour, c.minute), c.q) << c.hour;
}

TEST_F(Timetables, ReadersApplyTheEntryOfTheCurrentQuarter) {
    // At 6:30 resident 0 stands where the 6:30 entry puts it, not a quarter late.
    expect_entry(timetable_entry(0, timetable_quarter(6, 30)), {10, 2250, 700, 33004, 4});
    expect_entry(timetable_entry(0, timetable_quarter(6, 29)), {E, E, E, E, E});
    // At 6:00 resident 1 reads its own empty entry 0, never resident 0's 17:45 entry.
    expect_entry(timetable_entry(1, timetable_quarter(6, 0)), {E, E, E, E, E});
    // Indexes outside the tables give the empty entry instead of reading beside them.
    const s32 outside[][2] = {{-1, 0}, {20, 0}, {0, -1}, {0, 48}, {10, -1}, {19, 48}};
    for (const auto& o : outside) expect_entry(timetable_entry(o[0], o[1]), {E, E, E, E, E});
    expect_entry(timetable_entry(0, timetable_quarter(18, 0)), {E, E, E, E, E});
}

TEST(TimetableHas, OnlyMinusOneIsEmpty) {
    EXPECT_FALSE(timetable_has(-1));
    EXPECT_TRUE(timetable_has(-5322)); // mirrored frame
    EXPECT_TRUE(timetable_has(-2));
    EXPECT_TRUE(timetable_has(0));
    EXPECT_TRUE(timetable_has(33004));
}

TEST_F(Timetables, MapMusic) {
    const s32 tracks[][2] = {
        {9, 10094},   {10, 10057},  {60, 10153},  {77, 10047}, {80, 10048}, {101, 10031},
        {164, 10042}, {166, 10150}, {252, 10044}, {0, -1},     {14, -1},    {299, -1},
    };
    for (const auto& t : tracks) EXPECT_EQ(map_music[t[0]], t[1]) << "map " << t[0];
    s32 with_track = 0;
    for (s32 track : map_music) with_track += track >= 0;
    EXPECT_EQ(with_track, 57);
}

TEST_F(Timetables, DoorMusic) {
    struct Case {
        s32 map, playing, started;
    };
    const Case cases[] = {
        {10, -1, 10057},                     // onto map 10 with nothing playing
        {10, 10070, 10057},                  // another track playing
        {10, 10057, -1},                     // already playing: left alone
        {14, 10057, -1},                     // map 14 has no track: the current one goes on
        {100, 10031, -1},                    // maps 100 and 101 share a track
        {101, 10031, -1},   {-1, 10057, -1}, // maps outside the table have no track
        {300, 10057, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(map_music_for_door(c.map, c.playing), c.started) << "map " << c.map;
}

} // namespace
