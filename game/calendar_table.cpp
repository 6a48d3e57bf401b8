// The calendar handler table and its registry.
#include "game/calendar_table.h"

#include <array>

void calendar_event_none() {}

namespace {

constexpr std::array<CalendarHandler, CALENDAR_EVENT_COUNT> empty_calendar_table() {
    std::array<CalendarHandler, CALENDAR_EVENT_COUNT> t{};
    for (auto& e : t) e = &calendar_event_none;
    return t;
}

constinit const char* calendar_owners[CALENDAR_EVENT_COUNT] = {};
constinit CalendarConflict calendar_conflict_list[CALENDAR_CONFLICT_MAX] = {};
constinit s32 calendar_conflicts_seen = 0;

bool calendar_slot_valid(s32 slot) {
    return slot >= 0 && slot < CALENDAR_EVENT_COUNT;
}

void calendar_conflict_add(s32 slot, const char* owner, const char* previous) {
    if (calendar_conflicts_seen < CALENDAR_CONFLICT_MAX)
        calendar_conflict_list[calendar_conflicts_seen] = {slot, owner, previous};
    calendar_conflicts_seen++;
}

} // namespace

// Constant-initialised, so it is complete before any start-up code registers a handler.
constinit std::array<CalendarHandler, CALENDAR_EVENT_COUNT> calendar_event_table =
    empty_calendar_table();

void calendar_event_run(s32 slot) {
    // Slots come from the saved schedules and pools: a value past the table gets the empty
    // handler rather than a read past the table.
    CalendarHandler fn = calendar_slot_valid(slot) ? calendar_event_table[size_t(slot)] : nullptr;
    if (fn == nullptr) fn = &calendar_event_none;
    fn();
}

s32 calendar_event_register(s32 slot, CalendarHandler fn, const char* owner) {
    if (!calendar_slot_valid(slot) || fn == nullptr) {
        calendar_conflict_add(slot, owner, nullptr);
        return -1;
    }
    if (calendar_owners[slot] != nullptr) {
        calendar_conflict_add(slot, owner, calendar_owners[slot]);
        return -1;
    }
    calendar_owners[slot] = owner != nullptr ? owner : "?";
    calendar_event_table[size_t(slot)] = fn;
    return 0;
}

void calendar_event_unregister(s32 slot) {
    if (!calendar_slot_valid(slot) || calendar_owners[slot] == nullptr) return;
    calendar_owners[slot] = nullptr;
    calendar_event_table[size_t(slot)] = &calendar_event_none;
}

CalendarLoan calendar_event_borrow(s32 slot, CalendarHandler fn, const char* owner) {
    if (!calendar_slot_valid(slot) || fn == nullptr) return {};
    const CalendarLoan loan{slot, calendar_event_table[size_t(slot)], calendar_owners[slot]};
    calendar_owners[slot] = owner != nullptr ? owner : "?";
    calendar_event_table[size_t(slot)] = fn;
    return loan;
}

void calendar_event_restore(const CalendarLoan& loan) {
    if (!calendar_slot_valid(loan.slot)) return;
    calendar_owners[loan.slot] = loan.owner;
    calendar_event_table[size_t(loan.slot)] =
        loan.handler != nullptr ? loan.handler : &calendar_event_none;
}

const char* calendar_event_owner(s32 slot) {
    return calendar_slot_valid(slot) ? calendar_owners[slot] : nullptr;
}

s32 calendar_event_conflict_count() {
    return calendar_conflicts_seen;
}

const CalendarConflict& calendar_event_conflict(s32 index) {
    static const CalendarConflict none{-1, nullptr, nullptr};
    if (index < 0 || index >= calendar_conflicts_seen || index >= CALENDAR_CONFLICT_MAX)
        return none;
    return calendar_conflict_list[index];
}

void calendar_event_conflicts_truncate(s32 count) {
    if (count >= 0 && count < calendar_conflicts_seen) calendar_conflicts_seen = count;
}
