#include "data/schedule.h"

#include "engine/world_state.h"

#include <cstdio>

HubBlock hub_block;

namespace {

void no_save_index_clear() {}

struct TurnSlot {
    s32 turn;
    s32 slot;
};

// clang-format off

// Before-turn schedule: the handler slot run at the start of these turns (every other turn: none).
constexpr TurnSlot BEFORE_TURN_EVENTS[] = {
    {1, 24},   {25, 39},  {117, 169},
    {3, 1},    {35, 17},  {140, 166},
    {4, 7},    {40, 171}, {160, 172},
    {6, 5},    {49, 121}, {169, 123},
    {7, 2},    {51, 43},  {171, 43},
    {8, 10},   {57, 168}, {177, 170},
    {10, 4},   {61, 220}, {200, 167},
    {12, 6},   {80, 165}, {220, 173},
    {14, 11},  {99, 127}, {231, 43},
    {20, 12},  {111, 43},
    {21, 15},
};

// After-turn schedule: the handler slot run after the player's choice on these turns.
constexpr TurnSlot AFTER_TURN_EVENTS[] = {
    {0, 0},    {90, 164},  {168, 212},
    {14, 40},  {100, 222}, {179, 213},
    {36, 27},  {112, 44},  {185, 129},
    {38, 33},  {120, 193}, {194, 128},
    {45, 162}, {130, 203}, {199, 161},
    {65, 221}, {135, 194}, {233, 198},
    {70, 163}, {139, 153}, {234, 159},
    {74, 126}, {154, 156},
    {75, 192}, {165, 197},
    {79, 122},
    {85, 190},
};

// Turns whose scheduled events start without the short notice animation.
constexpr s32 SILENT_TURNS[] = {35, 49, 74, 79, 99, 130, 139, 154, 168, 169, 179, 185, 194, 199};

constexpr s32 ON = 1;
constexpr s32 OFF = 0;

// Start entries of the three outing pools, from entry 0 on.
constexpr EventEntry POOL_A_START[] = {
    {21, ON}, {120, OFF}, {206, OFF}, {207, OFF}, {208, ON}, {131, OFF}, {147, OFF},
    {25, ON}, {144, OFF}, {145, OFF}, {146, OFF}, {150, OFF}, {151, OFF}, {174, OFF},
};
// Entries 0 and 4 start empty; handlers fill them later.
constexpr EventEntry POOL_B_START[] = {
    {-1, OFF}, {75, OFF}, {76, OFF}, {98, OFF}, {-1, OFF}, {201, OFF}, {202, OFF},
    {119, ON}, {204, OFF}, {205, OFF}, {209, ON}, {214, ON}, {215, OFF}, {216, OFF},
    {132, OFF}, {219, OFF}, {32, OFF}, {138, OFF}, {139, ON}, {140, OFF}, {141, OFF},
    {223, OFF}, {148, ON}, {149, OFF}, {152, OFF}, {155, OFF},
};
constexpr EventEntry POOL_C_START[] = {
    {20, ON}, {130, OFF}, {19, OFF}, {143, OFF},
};

// A run of consecutive handler slots first..last, stored in that order with the same on mark.
struct SlotRun {
    s32 first = -1; // -1 ends a place's runs
    s32 last = -1;
    s32 on = OFF;
};
struct PlacePool {
    s32 set;
    s32 place;
    SlotRun runs[8];
};

// Start entries of the place pools, [place set][place] from entry 0 on. Places not listed
// (set 0 places 5 and 6, set 1 place 5) start empty.
constexpr PlacePool PLACE_POOLS_START[] = {
    {0, 0, {{8, 8, ON}, {77, 77, ON}, {9, 9, ON}, {125, 125}, {218, 218}, {38, 38}, {160, 160}}},
    {0, 1, {{117, 117, ON}}},
    {0, 2, {{118, 118, ON}}},
    {0, 3, {{113, 113}, {114, 114}, {115, 115}, {116, 116}}},
    {0, 4, {{142, 142, ON}}},
    {1, 0, {{102, 112}}},
    {1, 1, {{80, 96}}},
    {1, 2, {{56, 60}}},
    {1, 3, {{78, 78, ON}, {45, 55}}},
    {1, 4, {{67, 73}, {61, 66}, {97, 97}}},
    {1, 6, {{99, 101}}},
};

// clang-format on

template <size_t N, size_t M> void pool_store(EventEntry (&pool)[N], const EventEntry (&start)[M]) {
    static_assert(M <= N, "more start entries than the pool holds");
    for (size_t i = 0; i < M; ++i) pool[i] = start[i];
}

} // namespace

void (*hub_clear_save_index_seam)() = no_save_index_clear;

bool hub_save_index_present() {
    std::FILE* f = std::fopen(SAVE_INDEX_NAME, "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

void init_event_pools() {
    pool_store(hub_block.encounter_pool_a, POOL_A_START);
    pool_store(hub_block.encounter_pool_b, POOL_B_START);
    pool_store(hub_block.encounter_pool_c, POOL_C_START);
    for (const PlacePool& p : PLACE_POOLS_START) {
        EventEntry* pool = hub_block.place_events[p.set][p.place];
        s32 k = 0;
        for (const SlotRun& run : p.runs) {
            if (run.first < 0) break;
            for (s32 slot = run.first; slot <= run.last && k < HUB_PLACE_POOL_SIZE; ++slot) {
                pool[k++] = {slot, run.on};
            }
        }
    }
}

void init_hub_state() {
    HubBlock& h = hub_block;

    // Menu availability: the rest button of the top bar and the back button of every submenu,
    // then the top bar's button 5 and the system submenu's character screen, affection screen,
    // load menu and quit.
    for (auto& row : h.hub_menu_avail) {
        for (s32& b : row) b = 0;
        row[7] = 1;
    }
    h.hub_menu_avail[0][5] = 1;
    h.hub_menu_avail[0][7] = 1;
    h.hub_menu_avail[6][0] = 1;
    h.hub_menu_avail[6][1] = 1;
    h.hub_menu_avail[6][2] = 1;
    h.hub_menu_avail[6][4] = 1;
    h.hub_menu_avail[6][7] = 1;

    // Places of the third-level bar: only the close button of both place sets.
    for (auto& place : h.hub_third_avail) {
        for (s32& s : place) s = 0;
    }
    h.hub_third_avail[7][0] = 1;
    h.hub_third_avail[7][1] = 1;

    for (s32 t = 0; t < HUB_TURNS; ++t) {
        h.turn_events_before[t] = -1;
        h.turn_events_after[t] = -1;
        h.turn_event_notice[t] = 1;
    }

    for (EventEntry& e : h.encounter_pool_a) e = {-1, 0};
    for (EventEntry& e : h.encounter_pool_b) e = {-1, 0};
    for (EventEntry& e : h.encounter_pool_c) e = {-1, 0};
    for (auto& set : h.place_events) {
        for (auto& place : set) {
            for (EventEntry& e : place) e = {-1, 0};
        }
    }
    init_event_pools();

    // Menu state. `turns_consumed` is left alone: the hub sets it at every turn start.
    h.scene_backdrop = 60400;
    h.hub_backdrop_variant = 0;
    h.hub_menu_level = 0;
    h.hub_menu_pick = 0;
    h.hub_third_open = 0;
    h.hub_third_pick = -1;
    h.hub_command = -1;
    h.dashboard_page = 0;
    h.calendar_turn = 0;

    // A new game starts with no used save slot in memory: without an index file the in-memory
    // index is cleared; with one it is left as the title menu left it (unread on this path).
    if (!hub_save_index_present()) hub_clear_save_index_seam();

    world_state.year = HUB_START_YEAR;
    world_state.month = HUB_START_MONTH;
    world_state.day = HUB_START_DAY;
    world_state.hour = HUB_START_HOUR;

    for (const TurnSlot& e : BEFORE_TURN_EVENTS) h.turn_events_before[e.turn] = e.slot;
    for (const TurnSlot& e : AFTER_TURN_EVENTS) h.turn_events_after[e.turn] = e.slot;
    for (s32 t : SILENT_TURNS) h.turn_event_notice[t] = 0;
}
