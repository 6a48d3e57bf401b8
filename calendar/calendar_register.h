// Registration of the calendar handlers into `calendar_event_table` (the registry stays in the game
// core, game/calendar_table.h; this layer fills it). Every handler file ends in one table of its
// slots, installed by its `register_...()` function, and `calendar_register_all` calls each of
// those functions. The program calls it once at start-up, after the game registers itself; tests
// that need the real handlers call it too. There are no static registrars.
//
// Slot numbers are part of the saved-game format: the schedules and pools of a saved game hold
// them. Slots 74 and 176 to 189 never hold a handler (`calendar_event_none`).
#pragma once
#include "engine/types.h"
#include "game/calendar_table.h"

#include <span>

// One row of a handler file's slot table.
struct CalendarSlot {
    s32 slot;
    CalendarHandler handler;
};

// The slots that stay `calendar_event_none` for good.
constexpr s32 CALENDAR_NONE_SLOTS[] = {74,  176, 177, 178, 179, 180, 181, 182,
                                       183, 184, 185, 186, 187, 188, 189};
// 1 when `slot` is one of them.
s32 calendar_slot_reserved_empty(s32 slot);

// Installs a file's table under `owner` (the file's name). A slot that must stay empty is refused
// and recorded as a conflict, as a slot already taken is by the registry. Returns the number of
// rows refused.
s32 calendar_install(std::span<const CalendarSlot> slots, const char* owner);

// Registers every calendar handler once per program run (later calls register nothing again) and
// fills the hub's seams into this layer at every call (`hub_seams_reset` puts them back).
void calendar_register_all();
