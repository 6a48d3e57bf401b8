// The calendar hub's saved state: menu availability and menu state, the turn counter, the
// before-turn and after-turn schedules with their notice flags, and the four kinds of random-event
// pools. The record is written into and read from a saved game byte for byte (8,560 bytes of
// little-endian 32-bit integers, no padding), so every offset below is part of the save format.
//
// `hub_block` is defined beside its new-game builder (data/schedule.cpp); the hub's main loop, the
// event pickers and the calendar handlers read and rewrite it.
#pragma once
#include "engine/types.h"

#include <bit>
#include <cstddef>

static_assert(std::endian::native == std::endian::little, "saved records are little-endian");

constexpr s32 HUB_MENU_LEVELS = 8;  // row 0 the top bar, rows 1..7 the submenus
constexpr s32 HUB_MENU_BUTTONS = 8; // column 7: rest (row 0) or back (rows 1..7)
constexpr s32 HUB_PLACES = 8;       // seven places of the third-level bar and its close button
constexpr s32 HUB_PLACE_SETS = 2;
constexpr s32 HUB_TURNS = 250;
constexpr s32 HUB_POOL_A_SIZE = 100;
constexpr s32 HUB_POOL_B_SIZE = 100;
constexpr s32 HUB_POOL_C_SIZE = 30;
constexpr s32 HUB_PLACE_POOL_PLACES = 7;
constexpr s32 HUB_PLACE_POOL_SIZE = 30;

// One entry of an event pool: a slot of `calendar_event_table` (-1 = empty) and whether it may be
// drawn. Only slot >= 0 together with on == 1 is drawable; handlers store 0 or -1 to close one.
struct EventEntry {
    s32 slot;
    s32 on;
};
static_assert(sizeof(EventEntry) == 8);
static_assert(offsetof(EventEntry, slot) == 0);
static_assert(offsetof(EventEntry, on) == 4);

struct HubBlock {
    s32 hub_menu_avail[HUB_MENU_LEVELS][HUB_MENU_BUTTONS]; // [level][button]: 1 = usable
    s32 scene_backdrop;       // picture id of the dashboard's backdrop (60400..60427)
    s32 hub_backdrop_variant; // 0 at a new game; the dashboard always shows 60400
    s32 hub_menu_level;       // 0 top bar, 1..7 that submenu
    s32 hub_menu_pick;        // button picked in the submenu, -1 none
    s32 hub_third_open;       // 1 = the third-level bar is shown
    s32 hub_third_pick;       // place picked in the third-level bar
    s32 hub_command;          // command chosen this turn, -1 none
    s32 calendar_turn;        // 0 at a new game, +1 per calendar step
    s32 dashboard_page;       // stats page 0 or 1
    s32 turns_consumed;       // turns the current action uses
    s32 hub_third_avail[HUB_PLACES][HUB_PLACE_SETS]; // [place][place set]: 1 = usable
    s32 turn_events_before[HUB_TURNS]; // per turn, handler slot run before the choice; <0 none
    s32 turn_events_after[HUB_TURNS];  // per turn, handler slot run after the choice; <0 none
    s32 turn_event_notice[HUB_TURNS];  // per turn, 1 = notice animation before its event
    EventEntry encounter_pool_a[HUB_POOL_A_SIZE]; // drawn by command 50
    EventEntry encounter_pool_b[HUB_POOL_B_SIZE]; // drawn by command 51
    EventEntry encounter_pool_c[HUB_POOL_C_SIZE]; // drawn by command 52 (entries 0..9 only)
    // [place set][place][entry], drawn by command 56
    EventEntry place_events[HUB_PLACE_SETS][HUB_PLACE_POOL_PLACES][HUB_PLACE_POOL_SIZE];
};
static_assert(sizeof(HubBlock) == 8560);
static_assert(offsetof(HubBlock, hub_menu_avail) == 0);
static_assert(offsetof(HubBlock, scene_backdrop) == 256);
static_assert(offsetof(HubBlock, hub_backdrop_variant) == 260);
static_assert(offsetof(HubBlock, hub_menu_level) == 264);
static_assert(offsetof(HubBlock, hub_menu_pick) == 268);
static_assert(offsetof(HubBlock, hub_third_open) == 272);
static_assert(offsetof(HubBlock, hub_third_pick) == 276);
static_assert(offsetof(HubBlock, hub_command) == 280);
static_assert(offsetof(HubBlock, calendar_turn) == 284);
static_assert(offsetof(HubBlock, dashboard_page) == 288);
static_assert(offsetof(HubBlock, turns_consumed) == 292);
static_assert(offsetof(HubBlock, hub_third_avail) == 296);
static_assert(offsetof(HubBlock, turn_events_before) == 360);
static_assert(offsetof(HubBlock, turn_events_after) == 1360);
static_assert(offsetof(HubBlock, turn_event_notice) == 2360);
static_assert(offsetof(HubBlock, encounter_pool_a) == 3360);
static_assert(offsetof(HubBlock, encounter_pool_b) == 4160);
static_assert(offsetof(HubBlock, encounter_pool_c) == 4960);
static_assert(offsetof(HubBlock, place_events) == 5200);

extern HubBlock hub_block;
