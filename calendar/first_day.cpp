#include "calendar/first_day.h"

#include "calendar/frame.h"
#include "data/hub_block.h"
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "game/save.h"

namespace {

// The map phase: the home map's area, the director switched on, the clock stopped until the
// opening scene starts it, the field loop marked running and the day's start saved.
void prepare_day() {
    player_record.area = FIRST_DAY_AREA;
    player_record.clock_rate_copy = 0;
    attr_set(FIRST_DAY_DIRECTOR, ATTR_ACTIVE, 1);
    world_state.frames_per_minute = 0;
    menu_colours(FIRST_DAY_MENU_HIGHLIGHT, 0);
    cursor_hide();
    world_state.field_active = 1;
    save_game(FIRST_DAY_SAVE_SLOT);
    mssw_stop_music();
}

// The hub's starting state after the day.
void hand_back() {
    player_record.music_id = FIRST_DAY_MUSIC;
    mssw_play_music(FIRST_DAY_MUSIC, 0);
    cursor_show();
    cursor_select(FIRST_DAY_CURSOR);
    PlayerRecord& p = player_record;
    p.area = AREA_HUB;
    p.condition = FIRST_DAY_CONDITION;
    p.mood = FIRST_DAY_MOOD;
    p.stamina = FIRST_DAY_STAMINA;
    p.sick_turns = FIRST_DAY_SICK_TURNS;
    cal_menu(0, FIRST_DAY_TOP_BUTTON, 1);
    for (s32 level = 0; level < FIRST_DAY_MENU_LEVELS; level++)
        cal_menu(level, FIRST_DAY_BACK_BUTTON, 1);
    cal_turns(1);
    fade_out();
}

} // namespace

void calendar_event_000() {
    if (world_state.field_active != 1) prepare_day();
    // A new game has no track yet (-1 plays nothing); a resumed day goes on with its saved one.
    mssw_play_music(player_record.music_id, 0);
    field_loop();
    // A game of another turn (or slot 2 or 3) was loaded during the day: it keeps its own state.
    if (cal_loaded()) return;
    hand_back();
}

// ---- Slots
// ---------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {0, calendar_event_000},
};
} // namespace

std::span<const CalendarSlot> first_day_slots() {
    return SLOTS;
}

void register_first_day() {
    calendar_install(SLOTS, FIRST_DAY_OWNER);
}
