// The calendar slots as a file format: which slots hold handlers after the calendar layer's
// registration, the slots that stay empty for good, and that no slot is claimed twice.
#include "calendar/calendar_register.h"
#include "game/calendar_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The slots that hold handlers of their own. Saved schedules and pools name handlers by these
// numbers: a slot may be added here when its handler is written, never renumbered.
const std::vector<s32> LIVE_SLOTS = {0, 1, 2, 4, 5, 6, 7, 10, 11, 12, 15, 17, 24};

s32 runs = 0;
void sample_a() {
    runs += 1;
}
void sample_b() {
    runs += 10;
}

} // namespace

TEST(CalendarRegister, LiveSlotsAreTheListedOnesAndTheEmptyOnesStayEmpty) {
    calendar_register_all();
    calendar_register_all(); // a second start-up call registers nothing again
    EXPECT_EQ(calendar_event_conflict_count(), 0)
        << "slot " << calendar_event_conflict(0).slot << " claimed by "
        << calendar_event_conflict(0).owner;
    std::vector<s32> live;
    for (s32 s = 0; s < CALENDAR_EVENT_COUNT; s++) {
        ASSERT_NE(calendar_event_table[size_t(s)], nullptr) << "slot " << s;
        if (calendar_event_owner(s) != nullptr && calendar_event_table[size_t(s)] != nullptr)
            live.push_back(s);
        else
            EXPECT_EQ(calendar_event_table[size_t(s)], &calendar_event_none) << "slot " << s;
    }
    // Tests borrow only the empty slots 176..189, so every live slot here is the game's.
    std::vector<s32> game_live;
    for (s32 s : live)
        if (calendar_slot_reserved_empty(s) == 0) game_live.push_back(s);
    EXPECT_EQ(game_live, LIVE_SLOTS);
    EXPECT_EQ(calendar_slot_reserved_empty(74), 1);
    for (s32 s = 176; s <= 189; s++) EXPECT_EQ(calendar_slot_reserved_empty(s), 1) << s;
    EXPECT_EQ(calendar_slot_reserved_empty(75), 0);
    EXPECT_EQ(calendar_slot_reserved_empty(175), 0);
    EXPECT_EQ(calendar_slot_reserved_empty(190), 0);
}

TEST(CalendarRegister, InstallRefusesEmptySlotsAndSecondClaims) {
    calendar_register_all();
    // Two free slots that may hold handlers.
    std::vector<s32> free;
    for (s32 s = 0; s < CALENDAR_EVENT_COUNT && free.size() < 2; s++)
        if (calendar_event_owner(s) == nullptr && calendar_slot_reserved_empty(s) == 0)
            free.push_back(s);
    ASSERT_EQ(free.size(), 2u);
    const s32 conflicts = calendar_event_conflict_count();

    const CalendarSlot first[] = {{free[0], sample_a}, {74, sample_a}, {183, sample_a}};
    const CalendarSlot second[] = {{free[0], sample_b}, {free[1], sample_b}};
    EXPECT_EQ(calendar_install(first, "first file"), 2);
    EXPECT_EQ(calendar_install(second, "second file"), 1);

    EXPECT_EQ(calendar_event_table[74], &calendar_event_none);
    EXPECT_EQ(calendar_event_table[183], &calendar_event_none);
    EXPECT_STREQ(calendar_event_owner(free[0]), "first file");
    EXPECT_STREQ(calendar_event_owner(free[1]), "second file");
    ASSERT_EQ(calendar_event_conflict_count(), conflicts + 3);
    EXPECT_EQ(calendar_event_conflict(conflicts).slot, 74);
    EXPECT_EQ(calendar_event_conflict(conflicts + 1).slot, 183);
    EXPECT_EQ(calendar_event_conflict(conflicts + 2).slot, free[0]);
    EXPECT_STREQ(calendar_event_conflict(conflicts + 2).previous_owner, "first file");

    runs = 0;
    calendar_event_run(free[0]);
    calendar_event_run(free[1]);
    EXPECT_EQ(runs, 11);

    calendar_event_unregister(free[0]);
    calendar_event_unregister(free[1]);
    calendar_event_conflicts_truncate(conflicts);
}
