// Registration of every calendar handler file, in slot order of the files.
#include "calendar/calendar_register.h"

#include "calendar/first_day.h"
#include "calendar/opening.h"

s32 calendar_slot_reserved_empty(s32 slot) {
    for (s32 s : CALENDAR_NONE_SLOTS)
        if (s == slot) return 1;
    return 0;
}

s32 calendar_install(std::span<const CalendarSlot> slots, const char* owner) {
    s32 refused = 0;
    for (const CalendarSlot& row : slots) {
        // The registry records a refusal of a null handler; a slot that must stay empty is
        // refused the same way.
        const CalendarHandler fn = calendar_slot_reserved_empty(row.slot) ? nullptr : row.handler;
        if (calendar_event_register(row.slot, fn, owner) != 0) refused++;
    }
    return refused;
}

void calendar_register_all() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    // One call per handler file, each installing that file's slot table:
    //     register_opening();
    // (the handler files are added here as they are written).
    register_first_day();
    register_opening();
}
