// The calendar slots as a file format: which slots hold handlers after the calendar layer's
// registration, the slots that stay empty for good, and that no slot is claimed twice.
#include "calendar/calendar_register.h"
#include "game/calendar_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The slots that hold handlers of their own. Saved schedules and pools name handlers by these
// numbers: a slot may be added here when its handler is written, never renumbered.
const std::vector<s32> LIVE_SLOTS = {
    0,   1,   2,   4,   5,   6,   7,   8,   9,   10,  11,  12,  15,  17,  19,  20,  21,  24,  25,
    27,  32,  33,  38,  39,  40,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,
    56,  57,  58,  59,  60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  75,
    76,  77,  78,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,
    96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114,
    115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133,
    134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152,
    153, 154, 155, 156, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171,
    172, 173, 174, 175, 190, 191, 192, 193, 194, 196, 197, 198, 201, 202, 203, 204, 205, 206, 207,
    208, 209, 210, 211, 212, 213, 214, 215, 216, 218, 219, 220, 221, 222, 223};

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
