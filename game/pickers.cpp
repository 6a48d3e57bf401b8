// Event pickers: a roll decides whether the player finds anything at all, then uniform draws with
// replacement over the pool's whole range (drawable entries or not) until one is drawable or the
// misses run out; the handler of the drawn entry runs, or else the fallback scene is shown.
#include "game/pickers.h"

#include "data/schedule.h"
#include "engine/math.h"
#include "game/calendar_table.h"
#include "game/hub_dialog.h"
#include "game/hub_seams.h"
#include "game/titles.h"

namespace {

constexpr s32 PICK_CHANCE = 90;      // percent, pools A, B and the places
constexpr s32 PICK_CHANCE_C = 50;    // percent, pool C
constexpr s32 PICK_MISS_LIMIT = 500; // the draw after the 500th miss is the last
constexpr s32 PICK_MISS_LIMIT_C = 2000;
constexpr s32 POOL_C_DRAWN = 10;     // only entries 0..9 of pool C are drawn
constexpr s32 FALLBACK_TEXT = 11840; // "nothing happened"
constexpr s32 BACKDROP_PLACES_0 = 60407;
constexpr s32 BACKDROP_PLACES_1 = 60421;
constexpr s32 BACKDROP_POOL_A = 60427;
constexpr s32 BACKDROP_POOL_B = 60421;
constexpr s32 BACKDROP_POOL_C = 60422;
constexpr s32 TITLE_KIND_OUTINGS = 22;

// A slot outside the handler table is never drawable: the draw goes on as after a miss.
bool entry_drawable(const EventEntry& e) {
    return e.slot >= 0 && e.slot < CALENDAR_EVENT_COUNT && e.on == 1;
}

// Steps 1 and 2 of every picker: the roll, then up to `miss_limit` + 1 draws. Returns true when a
// handler ran.
bool pick_from(const EventEntry* pool, s32 size, s32 chance, s32 miss_limit, bool notice) {
    if (rand_below(100) >= chance) return false;
    s32 misses = 0;
    for (;;) {
        const EventEntry& e = pool[rand_below(size)];
        if (entry_drawable(e)) {
            if (notice) hub_transition_short();
            calendar_event_run(e.slot);
            return true;
        }
        misses++;
        if (misses > miss_limit) return false;
    }
}

void fallback_say(s32 backdrop) {
    hub_block.scene_backdrop = backdrop;
    hub_say(0, 0, -1, FALLBACK_TEXT);
}

} // namespace

s32 pick_place_event(s32 set, s32 place) {
    const s32 backdrop = set == 1 ? BACKDROP_PLACES_1 : BACKDROP_PLACES_0;
    // Both come from the saved menu state; a pair outside the place pools finds nothing.
    if (set < 0 || set >= HUB_PLACE_SETS || place < 0 || place >= HUB_PLACE_POOL_PLACES) {
        fallback_say(backdrop);
        return 1;
    }
    if (pick_from(hub_block.place_events[set][place], HUB_PLACE_POOL_SIZE, PICK_CHANCE,
                  PICK_MISS_LIMIT, true))
        return 0;
    fallback_say(backdrop);
    return 1;
}

s32 pick_event_a() {
    if (pick_from(hub_block.encounter_pool_a, HUB_POOL_A_SIZE, PICK_CHANCE, PICK_MISS_LIMIT, false))
        return 0;
    fallback_say(BACKDROP_POOL_A);
    return 1;
}

s32 pick_event_b() {
    if (pick_from(hub_block.encounter_pool_b, HUB_POOL_B_SIZE, PICK_CHANCE, PICK_MISS_LIMIT, false))
        return 0;
    fallback_say(BACKDROP_POOL_B);
    return 1;
}

s32 pick_event_c() {
    s32 result = 0;
    if (!pick_from(hub_block.encounter_pool_c, POOL_C_DRAWN, PICK_CHANCE_C, PICK_MISS_LIMIT_C,
                   false)) {
        hub_block.scene_backdrop = BACKDROP_POOL_C;
        meal_screen_seam();
        result = 1;
    }
    title_award_check(TITLE_KIND_OUTINGS);
    return result;
}
