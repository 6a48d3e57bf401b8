// The calendar handler table: 224 argument-less handlers named `calendar_event_NNN` by slot. The
// saved schedules and pools hold slot numbers only. Slots are filled by registration from the
// calendar layer's start-up function (`calendar_register_all`, which the program calls after
// `game_register`); a slot nobody registers holds `calendar_event_none`, and a second claim of a
// slot is refused and recorded.
#pragma once
#include "engine/types.h"

#include <array>

using CalendarHandler = void (*)();

constexpr s32 CALENDAR_EVENT_COUNT = 224;

extern std::array<CalendarHandler, CALENDAR_EVENT_COUNT> calendar_event_table;

// The handler of every empty slot: returns at once.
void calendar_event_none();
// Runs the handler of `slot`; a slot outside 0..223 runs `calendar_event_none`.
void calendar_event_run(s32 slot);

// Puts `fn` into `slot` for `owner` (a string literal). 0 when done; -1 (recorded as a conflict)
// when the slot is out of range, `fn` is null or the slot is taken: the first claim stays.
s32 calendar_event_register(s32 slot, CalendarHandler fn, const char* owner);
// Gives the slot back to `calendar_event_none` (tests that borrowed a slot).
void calendar_event_unregister(s32 slot);

// A slot lent to another handler for a while (a test that must not run the game's handler of a
// slot the calendar layer may already hold): what the slot held before, to be put back.
struct CalendarLoan {
    s32 slot = -1; // -1: nothing was lent
    CalendarHandler handler = nullptr;
    const char* owner = nullptr;
};
// Puts `fn` into `slot` under `owner` whether or not the slot is taken, and returns what it held.
// A slot outside the table or a null `fn` lends nothing (the loan's slot is -1); no conflict is
// recorded either way.
CalendarLoan calendar_event_borrow(s32 slot, CalendarHandler fn, const char* owner);
// Gives a lent slot back to the handler and owner it held before the loan.
void calendar_event_restore(const CalendarLoan& loan);
const char* calendar_event_owner(s32 slot); // nullptr for an empty slot
s32 calendar_event_conflict_count();        // refused registrations since program start

constexpr s32 CALENDAR_CONFLICT_MAX = 32; // conflicts kept for inspection; more are only counted
struct CalendarConflict {
    s32 slot;
    const char* owner;          // the refused registration
    const char* previous_owner; // the owner that holds the slot (nullptr when out of range)
};
// Refused registration number `index` (< min(count, CALENDAR_CONFLICT_MAX)); slot -1 otherwise.
const CalendarConflict& calendar_event_conflict(s32 index);
// Forgets the conflicts after the first `count` (tests that provoke one on purpose).
void calendar_event_conflicts_truncate(s32 count);
