#include "data/schedule.h"

#include "engine/world_state.h"
#include "platform/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> seam_calls;

void record_clear() {
    seam_calls.push_back("clear index");
}

class Schedule : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&hub_block, 0x5A, sizeof hub_block); // what an earlier game left
        std::memset(&world_state, 0x5A, sizeof world_state);
        seam_calls.clear();
        saved_clear_ = hub_clear_save_index_seam;
        hub_clear_save_index_seam = record_clear;
    }
    void TearDown() override { hub_clear_save_index_seam = saved_clear_; }
    HarnessTempDir dir_; // no save index unless a test writes one

  private:
    void (*saved_clear_)() = nullptr;
};

TEST_F(Schedule, MenuAvailabilityAndState) {
    init_hub_state();
    const s32 menu[8][8] = {
        {0, 0, 0, 0, 0, 1, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1},
        {0, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1},
        {1, 1, 1, 0, 1, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1},
    };
    for (s32 l = 0; l < 8; ++l) {
        for (s32 b = 0; b < 8; ++b) {
            EXPECT_EQ(hub_block.hub_menu_avail[l][b], menu[l][b]) << l << "," << b;
        }
    }
    for (s32 p = 0; p < 8; ++p) {
        for (s32 s = 0; s < 2; ++s) {
            EXPECT_EQ(hub_block.hub_third_avail[p][s], p == 7 ? 1 : 0) << p << "," << s;
        }
    }
    EXPECT_EQ(hub_block.scene_backdrop, 60400);
    EXPECT_EQ(hub_block.hub_backdrop_variant, 0);
    EXPECT_EQ(hub_block.hub_menu_level, 0);
    EXPECT_EQ(hub_block.hub_menu_pick, 0);
    EXPECT_EQ(hub_block.hub_third_open, 0);
    EXPECT_EQ(hub_block.hub_third_pick, -1);
    EXPECT_EQ(hub_block.hub_command, -1);
    EXPECT_EQ(hub_block.dashboard_page, 0);
    EXPECT_EQ(hub_block.calendar_turn, 0);
    EXPECT_EQ(hub_block.turns_consumed, 0x5A5A5A5A); // the hub sets it at every turn start
}

TEST_F(Schedule, TurnSchedules) {
    init_hub_state();
    const struct {
        s32 turn, before, after, notice;
    } cases[] = {
        {0, -1, 0, 1}, // the first day is the after-turn event of turn 0
        {1, 24, -1, 1},    {2, -1, -1, 1},    {14, 11, 40, 1},   {21, 15, -1, 1},
        {35, 17, -1, 0},   {49, 121, -1, 0},  {51, 43, -1, 1},   {74, -1, 126, 0},
        {79, -1, 122, 0},  {99, 127, -1, 0},  {111, 43, -1, 1},  {130, -1, 203, 0},
        {168, -1, 212, 0}, {169, 123, -1, 0}, {171, 43, -1, 1},  {199, -1, 161, 0},
        {220, 173, -1, 1}, {231, 43, -1, 1},  {233, -1, 198, 1}, {234, -1, 159, 1},
        {235, -1, -1, 1},  {249, -1, -1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hub_block.turn_events_before[c.turn], c.before) << "turn " << c.turn;
        EXPECT_EQ(hub_block.turn_events_after[c.turn], c.after) << "turn " << c.turn;
        EXPECT_EQ(hub_block.turn_event_notice[c.turn], c.notice) << "turn " << c.turn;
    }
    s32 before = 0, after = 0, silent = 0;
    for (s32 t = 0; t < HUB_TURNS; ++t) {
        before += hub_block.turn_events_before[t] >= 0;
        after += hub_block.turn_events_after[t] >= 0;
        silent += hub_block.turn_event_notice[t] == 0;
        EXPECT_LT(hub_block.turn_events_before[t], 224);
        EXPECT_LT(hub_block.turn_events_after[t], 224);
    }
    EXPECT_EQ(before, 30);
    EXPECT_EQ(after, 27);
    EXPECT_EQ(silent, 14);
}

void expect_pool(const EventEntry* pool, s32 size, const std::vector<EventEntry>& start,
                 const char* name) {
    for (s32 i = 0; i < size; ++i) {
        const EventEntry want = i < static_cast<s32>(start.size()) ? start[i] : EventEntry{-1, 0};
        EXPECT_EQ(pool[i].slot, want.slot) << name << " entry " << i;
        EXPECT_EQ(pool[i].on, want.on) << name << " entry " << i;
    }
}

TEST_F(Schedule, OutingPools) {
    init_hub_state();
    expect_pool(hub_block.encounter_pool_a, HUB_POOL_A_SIZE,
                {{21, 1},
                 {120, 0},
                 {206, 0},
                 {207, 0},
                 {208, 1},
                 {131, 0},
                 {147, 0},
                 {25, 1},
                 {144, 0},
                 {145, 0},
                 {146, 0},
                 {150, 0},
                 {151, 0},
                 {174, 0}},
                "pool A");
    expect_pool(hub_block.encounter_pool_b, HUB_POOL_B_SIZE,
                {{-1, 0},  {75, 0},  {76, 0},  {98, 0},  {-1, 0},  {201, 0}, {202, 0},
                 {119, 1}, {204, 0}, {205, 0}, {209, 1}, {214, 1}, {215, 0}, {216, 0},
                 {132, 0}, {219, 0}, {32, 0},  {138, 0}, {139, 1}, {140, 0}, {141, 0},
                 {223, 0}, {148, 1}, {149, 0}, {152, 0}, {155, 0}},
                "pool B");
    expect_pool(hub_block.encounter_pool_c, HUB_POOL_C_SIZE, {{20, 1}, {130, 0}, {19, 0}, {143, 0}},
                "pool C");
}

std::vector<EventEntry> run(s32 first, s32 last, s32 on = 0) {
    std::vector<EventEntry> v;
    for (s32 s = first; s <= last; ++s) v.push_back({s, on});
    return v;
}
std::vector<EventEntry> join(std::vector<std::vector<EventEntry>> parts) {
    std::vector<EventEntry> v;
    for (auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

TEST_F(Schedule, PlacePools) {
    init_hub_state();
    const std::vector<EventEntry> places[2][7] = {
        {
            {{8, 1}, {77, 1}, {9, 1}, {125, 0}, {218, 0}, {38, 0}, {160, 0}},
            {{117, 1}},
            {{118, 1}},
            run(113, 116),
            {{142, 1}},
            {},
            {},
        },
        {
            run(102, 112),
            run(80, 96),
            run(56, 60),
            join({{{78, 1}}, run(45, 55)}),
            join({run(67, 73), run(61, 66), {{97, 0}}}),
            {},
            run(99, 101),
        },
    };
    EXPECT_EQ(places[1][0].size(), 11u);
    EXPECT_EQ(places[1][1].size(), 17u);
    EXPECT_EQ(places[1][3].size(), 12u);
    EXPECT_EQ(places[1][4].size(), 14u);
    for (s32 s = 0; s < 2; ++s) {
        for (s32 p = 0; p < 7; ++p) {
            const std::string name = "place " + std::to_string(s) + "." + std::to_string(p);
            expect_pool(hub_block.place_events[s][p], HUB_PLACE_POOL_SIZE, places[s][p],
                        name.c_str());
        }
    }
}

TEST_F(Schedule, StartDateAndNoIndexFile) {
    init_hub_state();
    EXPECT_EQ(seam_calls, (std::vector<std::string>{"clear index"}));
    EXPECT_EQ(world_state.year, 1);
    EXPECT_EQ(world_state.month, 9);
    EXPECT_EQ(world_state.day, 1);
    EXPECT_EQ(world_state.hour, 6);
    EXPECT_EQ(world_state.minute, 0x5A); // not part of the start date
}

TEST_F(Schedule, ExistingIndexFileIsLeftAlone) {
    const unsigned char bytes[96] = {1};
    std::FILE* f = std::fopen(SAVE_INDEX_NAME, "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(bytes, 1, sizeof bytes, f), sizeof bytes);
    std::fclose(f);

    EXPECT_TRUE(hub_save_index_present());
    init_hub_state();
    EXPECT_TRUE(seam_calls.empty());
    EXPECT_EQ(world_state.month, 9);

    unsigned char after[96] = {};
    f = std::fopen(SAVE_INDEX_NAME, "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fread(after, 1, sizeof after, f), sizeof after);
    std::fclose(f);
    EXPECT_EQ(std::memcmp(bytes, after, sizeof bytes), 0);
}

TEST_F(Schedule, PoolsAreEmptiedBeforeRefilling) {
    init_hub_state();
    hub_block.encounter_pool_a[50] = {99, 1}; // a handler's entry from an earlier game
    hub_block.place_events[0][5][3] = {12, 1};
    hub_block.turn_events_after[100] = 5;
    init_hub_state();
    EXPECT_EQ(hub_block.encounter_pool_a[50].slot, -1);
    EXPECT_EQ(hub_block.place_events[0][5][3].slot, -1);
    EXPECT_EQ(hub_block.turn_events_after[100], 222);
}

} // namespace
