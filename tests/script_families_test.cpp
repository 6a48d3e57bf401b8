// Row families: a table of rows becomes slot-table entries, each running its own row, and a slot's
// script named by itself is the one the table installs. Slot scripts are named object_event_NNNN.
#include "scripts/kit.h"
#include "scripts/script_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct BellRow {
    s32 slot;
    s32 tone;
};
// Out of slot order on purpose: entries follow the rows, not the slots.
constexpr BellRow BELLS[] = {{30, 300}, {12, 120}, {27, 270}};

struct LampRow { // a family keyed by the typed id
    SlotId slot;
    s32 glow;
};
constexpr LampRow LAMPS[] = {{5_slot, -50}};

std::vector<s32> rung; // what the rows played, in order

void ring(const BellRow& r) {
    rung.push_back(r.tone);
}

void light(const LampRow& r) {
    rung.push_back(r.glow);
}

TEST(ScriptFamilies, EachEntryRunsItsOwnRowAndTheNamedScriptIsTheInstalledOne) {
    constexpr auto bells = family_slots<BELLS, ring>();
    constexpr auto table = join_slots(bells, family_slots<LAMPS, light>());
    static_assert(slots_distinct(table));
    const s32 slots[] = {30, 12, 27, 5};
    ASSERT_EQ(table.size(), std::size(slots));
    rung.clear();
    for (size_t i = 0; i < table.size(); i++) {
        EXPECT_EQ(table[i].slot, slots[i]) << i;
        table[i].script();
    }
    EXPECT_EQ(rung, (std::vector<s32>{300, 120, 270, -50}));

    EXPECT_EQ(bells[1].script, (&row_script<BELLS, ring, 12>));
    EXPECT_EQ(bells[2].script, (&row_script<BELLS, ring, 27>));
    EXPECT_NE(bells[1].script, bells[2].script);
}

TEST(ScriptFamilies, ATableWithASlotTwiceIsNotDistinct) {
    constexpr ScriptSlot twice[] = {{3, nullptr}, {4, nullptr}, {3, nullptr}};
    constexpr ScriptSlot once[] = {{3, nullptr}, {4, nullptr}};
    static_assert(!slots_distinct(twice));
    static_assert(slots_distinct(once));
    static_assert(!family_slots_distinct(std::to_array<BellRow>({{8, 1}, {9, 2}, {8, 3}})));
}

TEST(ScriptFamilies, SlotScriptNames) {
    struct Case {
        s32 slot;
        const char* name;
    };
    const Case cases[] = {
        {0, "object_event_0000"},   {41, "object_event_0041"},
        {800, "object_event_0800"}, {1839, "object_event_1839"},
        {-1, "object_event_????"},  {OBJECT_EVENT_COUNT, "object_event_????"},
    };
    for (const Case& c : cases) EXPECT_STREQ(object_event_name(c.slot).c_str(), c.name) << c.slot;
}

} // namespace
