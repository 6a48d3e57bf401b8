#include "game/calendar_table.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

s32 runs_a = 0;
s32 runs_b = 0;
void handler_a() {
    runs_a++;
}
void handler_b() {
    runs_b++;
}

// A slot that no handler of the game holds while the test borrows it.
s32 free_slot() {
    for (s32 s = CALENDAR_EVENT_COUNT - 1; s >= 0; s--)
        if (calendar_event_owner(s) == nullptr) return s;
    return -1;
}

} // namespace

TEST(CalendarTable, RegistryKeepsTheFirstClaimAndRecordsRefusals) {
    const s32 conflicts = calendar_event_conflict_count();
    const s32 slot = free_slot();
    ASSERT_GE(slot, 0);
    runs_a = runs_b = 0;

    EXPECT_EQ(calendar_event_register(slot, handler_a, "first"), 0);
    EXPECT_EQ(calendar_event_register(slot, handler_b, "second"), -1);
    EXPECT_EQ(calendar_event_register(CALENDAR_EVENT_COUNT, handler_b, "past"), -1);
    EXPECT_EQ(calendar_event_register(-1, handler_b, "below"), -1);
    EXPECT_EQ(calendar_event_register(slot == 0 ? 1 : 0, nullptr, "null"), -1);

    ASSERT_EQ(calendar_event_conflict_count(), conflicts + 4);
    const CalendarConflict& c = calendar_event_conflict(conflicts);
    EXPECT_EQ(c.slot, slot);
    EXPECT_STREQ(c.owner, "second");
    EXPECT_STREQ(c.previous_owner, "first");
    EXPECT_EQ(calendar_event_conflict(conflicts + 1).previous_owner, nullptr);

    EXPECT_STREQ(calendar_event_owner(slot), "first");
    calendar_event_run(slot);
    EXPECT_EQ(runs_a, 1);
    EXPECT_EQ(runs_b, 0);

    calendar_event_unregister(slot);
    EXPECT_EQ(calendar_event_owner(slot), nullptr);
    EXPECT_EQ(calendar_event_table[size_t(slot)], &calendar_event_none);
    calendar_event_run(slot);
    EXPECT_EQ(runs_a, 1);

    calendar_event_conflicts_truncate(conflicts);
    EXPECT_EQ(calendar_event_conflict_count(), conflicts);
}

TEST(CalendarTable, SlotsOutsideTheTableRunTheEmptyHandler) {
    // The handler just past the table's end must never be reached by a slot from saved data.
    const s32 slot = free_slot();
    ASSERT_GE(slot, 0);
    ASSERT_EQ(calendar_event_register(slot, handler_a, "test"), 0);
    runs_a = 0;
    for (s32 bad : {CALENDAR_EVENT_COUNT, CALENDAR_EVENT_COUNT + 1, -1, INT_MIN, INT_MAX})
        calendar_event_run(bad);
    EXPECT_EQ(runs_a, 0);
    calendar_event_unregister(slot);
}

TEST(CalendarTable, ALentSlotRunsTheBorrowerAndGoesBackToItsHolder) {
    const s32 slot = free_slot();
    ASSERT_GE(slot, 0);
    const s32 conflicts = calendar_event_conflict_count();
    ASSERT_EQ(calendar_event_register(slot, handler_a, "holder"), 0);
    runs_a = runs_b = 0;

    const CalendarLoan loan = calendar_event_borrow(slot, handler_b, "borrower");
    EXPECT_EQ(loan.slot, slot);
    EXPECT_STREQ(calendar_event_owner(slot), "borrower");
    calendar_event_run(slot);
    EXPECT_EQ(runs_b, 1);
    EXPECT_EQ(runs_a, 0);
    calendar_event_restore(loan);
    EXPECT_STREQ(calendar_event_owner(slot), "holder");
    calendar_event_run(slot);
    EXPECT_EQ(runs_a, 1);
    EXPECT_EQ(calendar_event_conflict_count(), conflicts) << "a loan is no conflict";

    // A free slot lent and given back is free again; a bad loan lends nothing.
    calendar_event_unregister(slot);
    calendar_event_restore(calendar_event_borrow(slot, handler_b, "borrower"));
    EXPECT_EQ(calendar_event_owner(slot), nullptr);
    EXPECT_EQ(calendar_event_table[size_t(slot)], &calendar_event_none);
    EXPECT_EQ(calendar_event_borrow(CALENDAR_EVENT_COUNT, handler_b, "past").slot, -1);
    EXPECT_EQ(calendar_event_borrow(slot, nullptr, "null").slot, -1);
    EXPECT_EQ(calendar_event_owner(slot), nullptr);
}
