// Registration of every calendar handler file, in slot order of the files.
#include "calendar/calendar_register.h"

#include "calendar/board_chain.h"
#include "calendar/calendar_end.h"
#include "calendar/event_pools.h"
#include "calendar/first_day.h"
#include "calendar/first_year.h"
#include "calendar/home_place.h"
#include "calendar/ingredient_course.h"
#include "calendar/launchers.h"
#include "calendar/lessons.h"
#include "calendar/music_course.h"
#include "calendar/opening.h"
#include "calendar/picture_lessons.h"
#include "calendar/pool_b_events.h"
#include "calendar/recipe_screen.h"
#include "calendar/repeating_visits.h"
#include "calendar/smith_course.h"
#include "calendar/story_events.h"
#include "calendar/training_ground.h"
#include "calendar/yearly_events.h"

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
    // The hub's seams into this layer: at every call, as hub_seams_reset puts them back.
    recipe_screen_fill_seam();
    static bool registered = false;
    if (registered) return;
    registered = true;
    // One call per handler file, each installing that file's slot table:
    //     register_opening();
    // (the handler files are added here as they are written).
    register_first_day();
    register_launchers();
    register_calendar_end();
    register_repeating_visits();
    register_music_course();
    register_smith_course();
    register_board_chain();
    register_ingredient_course();
    register_training_ground();
    register_home_place();
    register_picture_lessons();
    register_lessons();
    register_yearly_events();
    register_story_events();
    register_event_pools();
    register_pool_b_events();
    register_first_year();
    register_opening();
}
