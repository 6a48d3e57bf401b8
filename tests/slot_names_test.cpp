// The script slots against every place that names them. Objects name their object-script slot
// in ATTR_EVENT through the world content rows (population, map-episode scenes, open world), the
// scenes' player, the portal makers and the services that pose the player; the calendar names
// its handler slots in the before-turn and after-turn schedules, the outing pools and the place
// pools of a new game. A registered slot that nothing names can never run; a named slot that
// nothing registers runs the empty script. Most town, episode and open-world scripts are still
// to be written, so their named slots are only counted and reported; the slot ranges listed as
// complete below must hold a script for every slot named in them.
#include "calendar/calendar_register.h"
#include "data/hub_block.h"
#include "data/scene_rows.h"
#include "data/schedule.h"
#include "data/world_content.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "game/calendar_table.h"
#include "game/game_start.h"
#include "game/makers.h"
#include "scripts/home/pose_families.h"
#include "scripts/scripts_register.h"
#include "tests/rules_fixture.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>

namespace {

struct SlotRange {
    s32 first;
    s32 last;
};

// Object-script slots whose every named slot has its script: the runs of the home map's slots
// registered today (portals, player, pose and idle loops, arrival, routines, household, posed
// services, walker and residents). The home slots between them are named by residents and
// services still to be written. A range is added or widened when its scripts are written.
constexpr SlotRange COMPLETE_OBJECT_SLOTS[] = {
    {0, 7},     {10, 11},   {14, 14},   {20, 21},   {27, 29},   {33, 33}, {36, 37},
    {39, 60},   {66, 72},   {74, 74},   {76, 76},   {83, 83},   {86, 86}, {88, 88},
    {113, 115}, {119, 119}, {121, 126}, {130, 132}, {800, 800},
};

// Calendar slots whose every named slot has its handler (slot 0, the first day, runs at turn 0).
constexpr SlotRange COMPLETE_CALENDAR_SLOTS[] = {
    {0, 21},  {24, 25},  {27, 27},   {32, 33},   {38, 40},   {43, 73},
    {75, 78}, {80, 175}, {190, 194}, {196, 198}, {201, 216}, {218, 223},
};

template <size_t N> bool in_ranges(const SlotRange (&ranges)[N], s32 slot) {
    for (const SlotRange& r : ranges)
        if (slot >= r.first && slot <= r.last) return true;
    return false;
}

// Named slot -> the first place that names it.
using Names = std::map<s32, std::string>;

void name_slot(Names& names, s32 slot, const std::string& where) {
    names.emplace(slot, where);
}

void name_rows(const char* table, const WorldRow* rows, size_t count, void* context) {
    Names& names = *static_cast<Names*>(context);
    for (size_t i = 0; i < count; i++) {
        const WorldRow& row = rows[i];
        const std::string where = std::string(table) + " object " + std::to_string(row.obj);
        if (world_row_creates(row))
            name_slot(names, row.event, where);
        else if (row.op == WR_SET && row.event == ATTR_EVENT)
            name_slot(names, row.frame, where + " (set)");
    }
}

Names object_slot_names() {
    Names names;
    world_content_visit(name_rows, &names);
    for (s32 s = 0; s < SCENE_COUNT; s++)
        name_slot(names, scene_descriptor(s).event,
                  std::string("scene ") + scene_descriptor(s).name + " player");
    // A new game makes the player in the arrival scene's slot.
    game_tables_init();
    game_new_world();
    name_slot(names, attr_get(0, ATTR_EVENT), "the new game's player");
    name_slot(names, PORTAL_EVENT, "make_portal");
    name_slot(names, PORTAL_FIXED_EVENT, "make_portal_fixed");
    // The services put the player into these slots (pose_enter): no row names them.
    for (const PoseFamilyRow& p : pose_family_rows()) name_slot(names, p.slot, "pose of a service");
    return names;
}

std::map<s32, const char*> registered_object_slots() {
    std::map<s32, const char*> slots;
    for (const ScriptRegion& r : script_regions())
        for (const ScriptSlot& s : r.slots()) slots.emplace(s.slot, r.owner);
    return slots;
}

// Slots that handlers and scripts write into the schedule while the game runs (slot, written by).
struct RuntimeWrite {
    s32 slot;
    const char* by;
};
constexpr RuntimeWrite RUNTIME_SCHEDULE_WRITES[] = {
    {124, "the ring-game battle"},
    {133, "slot 132"},
    {134, "slot 133"},
    {135, "slot 216"},
    {136, "slot 027"},
    {137, "slot 136"},
    {154, "slot 192"},
    {157, "slot 194"},
    {158, "slot 044"},
    {175, "slot 211"},
    {191, "slot 152"},
    {196, "slot 125"},
    {210, "slot 208"},
    {211, "the town scripts"},
};

Names calendar_slot_names() {
    init_hub_state();
    Names names;
    name_slot(names, 0, "turn 0");
    for (const RuntimeWrite& w : RUNTIME_SCHEDULE_WRITES)
        name_slot(names, w.slot, std::string("a schedule write by ") + w.by);
    for (s32 t = 0; t < HUB_TURNS; t++) {
        if (hub_block.turn_events_before[t] >= 0)
            name_slot(names, hub_block.turn_events_before[t], "before turn " + std::to_string(t));
        if (hub_block.turn_events_after[t] >= 0)
            name_slot(names, hub_block.turn_events_after[t], "after turn " + std::to_string(t));
    }
    auto pool = [&](const EventEntry* entries, s32 size, const std::string& where) {
        for (s32 i = 0; i < size; i++)
            if (entries[i].slot >= 0)
                name_slot(names, entries[i].slot, where + " entry " + std::to_string(i));
    };
    pool(hub_block.encounter_pool_a, HUB_POOL_A_SIZE, "pool A");
    pool(hub_block.encounter_pool_b, HUB_POOL_B_SIZE, "pool B");
    pool(hub_block.encounter_pool_c, HUB_POOL_C_SIZE, "pool C");
    for (s32 set = 0; set < HUB_PLACE_SETS; set++)
        for (s32 place = 0; place < HUB_PLACE_POOL_PLACES; place++)
            pool(hub_block.place_events[set][place], HUB_PLACE_POOL_SIZE,
                 "place " + std::to_string(set) + "/" + std::to_string(place));
    return names;
}

std::string slot_list(const std::set<s32>& slots) {
    std::string out;
    for (s32 s : slots) out += (out.empty() ? "" : " ") + std::to_string(s);
    return out;
}

// A new game's world reads its pictures: the engine runs on the placeholder archive.
class SlotNames : public RulesTest {};

TEST_F(SlotNames, EveryObjectScriptSlotIsNamedAndTheCompleteRangesAreRegistered) {
    // That no slot is taken twice is checked where the registries are:
    // ScriptRegistration.EveryScriptTakesItsOwnSlot, ScriptRegions.* and CalendarRegister.*.
    scripts_register_all();
    const Names names = object_slot_names();
    const std::map<s32, const char*> registered = registered_object_slots();
    for (const auto& [slot, where] : names)
        EXPECT_TRUE(slot >= 0 && slot < OBJECT_EVENT_COUNT) << where << " names slot " << slot;

    std::set<s32> named_registered, named_missing;
    for (const auto& [slot, where] : names) {
        if (registered.contains(slot)) {
            named_registered.insert(slot);
            continue;
        }
        named_missing.insert(slot);
        EXPECT_FALSE(in_ranges(COMPLETE_OBJECT_SLOTS, slot))
            << where << " names slot " << slot << ", in a complete range, with no script";
    }
    for (const auto& [slot, owner] : registered) {
        EXPECT_TRUE(names.contains(slot)) << owner << " registers slot " << slot
                                          << ", which no object, scene, maker or pose names";
    }
    std::cout << "[ object slots ] named and registered (" << named_registered.size()
              << "): " << slot_list(named_registered) << "\n"
              << "[ object slots ] named, not yet registered: " << named_missing.size() << "\n";
}

TEST_F(SlotNames, EveryCalendarSlotIsNamedAndTheCompleteRangesAreRegistered) {
    calendar_register_all();
    const Names names = calendar_slot_names();
    for (const auto& [slot, where] : names) {
        EXPECT_TRUE(slot >= 0 && slot < CALENDAR_EVENT_COUNT) << where << " names slot " << slot;
        EXPECT_EQ(calendar_slot_reserved_empty(slot), 0)
            << where << " names slot " << slot << ", which stays empty for good";
    }
    std::set<s32> named_registered, named_missing;
    for (const auto& [slot, where] : names) {
        if (calendar_event_owner(slot) != nullptr) {
            named_registered.insert(slot);
            continue;
        }
        named_missing.insert(slot);
        EXPECT_FALSE(in_ranges(COMPLETE_CALENDAR_SLOTS, slot))
            << where << " names slot " << slot << ", in a complete range, with no handler";
    }
    // Tests borrow only the slots that stay empty, so every other owned slot is the game's.
    for (s32 s = 0; s < CALENDAR_EVENT_COUNT; s++)
        if (calendar_event_owner(s) != nullptr && calendar_slot_reserved_empty(s) == 0) {
            EXPECT_TRUE(names.contains(s)) << calendar_event_owner(s) << " registers slot " << s
                                           << ", which no schedule, pool or place entry names";
        }
    std::cout << "[ calendar slots ] named and registered (" << named_registered.size()
              << "): " << slot_list(named_registered) << "\n"
              << "[ calendar slots ] named, not yet registered: " << named_missing.size() << "\n";
}

} // namespace
