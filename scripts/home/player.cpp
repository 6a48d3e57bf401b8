#include "scripts/home/player.h"

#include "engine/labels.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "game/info_screen.h"
#include "scripts/script_seams.h"

void player_screen_script() {
    // Every run ends with the buttons and the click cleared: after the screen the modal helper
    // does it, on the other triggers the plain clear.
    if (script_on(TRIG_CLICK))
        modal_info_screen();
    else
        modal_return();
    // The "saved" line only follows a save that was written: a failed one has told the player.
    if (info_save_request == 1 && script_save_seam(PLAYER_SAVE_SLOT) == 1)
        log_text(TEXT_PLAYER_SAVED);
    info_save_request = 0;
    info_load_slot = 0;
}

void object_event_0000() {
    player_screen_script();
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {PLAYER_SCRIPT_SLOT, object_event_0000},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{0, 0}};
} // namespace

std::span<const ScriptSlot> home_player_slots() {
    return SLOTS;
}

ScriptRegion home_player_region() {
    return {.owner = HOME_PLAYER_OWNER, .slots = home_player_slots, .complete = COMPLETE};
}
