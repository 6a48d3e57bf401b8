// PENDING: placeholder bodies until the calendar table lands (owner replaces this whole file).
#include "game/calendar_table.h"

void calendar_event_none() {}
std::array<CalendarHandler, CALENDAR_EVENT_COUNT> calendar_event_table = [] {
    std::array<CalendarHandler, CALENDAR_EVENT_COUNT> t{};
    t.fill(calendar_event_none);
    return t;
}();
void calendar_event_run(s32) {}
s32 calendar_event_register(s32, CalendarHandler, const char*) { return -1; }
void calendar_event_unregister(s32) {}
const char* calendar_event_owner(s32) { return nullptr; }
s32 calendar_event_conflict_count() { return 0; }
