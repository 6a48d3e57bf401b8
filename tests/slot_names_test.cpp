// The script slots against every place that names them. Objects name their object-script slot
// in ATTR_EVENT through the world content rows (population, map-episode scenes, open world), the
// scenes' player, the portal makers and the services that pose the player; the calendar names
// its handler slots in the before-turn and after-turn schedules, the outing pools and the place
// pools of a new game. A registered slot that nothing names can never run; a named slot that
// nothing registers runs the empty script. Most town, episode and open-world scripts are still
// to be written, so their named slots are only counted and reported; the slot ranges that each
// region declares complete (and the calendar ranges listed below) must hold a script for every
// slot named in them.
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
#include "game/open_world.h"
#include "scripts/home/pose_families.h"
#include "scripts/scripts_register.h"
#include "tests/rules_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

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
    name_slot(names, OPEN_WORLD_PLAYER_EVENT, "the open world's player (the route starts)");
    name_slot(names, PORTAL_EVENT, "make_portal");
    name_slot(names, PORTAL_FIXED_EVENT, "make_portal_fixed");
    // Scripts that hand an object another script while the game runs.
    for (const ScriptRegion& r : script_regions())
        for (const ScheduleWrite& w : r.slot_writes)
            name_slot(names, w.slot, std::string("a run-time write by ") + w.by);
    // The services put the player into these slots (pose_enter): no row names them.
    for (const PoseFamilyRow& p : pose_family_rows()) name_slot(names, p.slot, "pose of a service");
    return names;
}

// Slots that calendar handlers write into the schedule while the game runs (slot, written by).
// The writes of object scripts are stated by their regions (`ScriptRegion::schedule_writes`).
constexpr ScheduleWrite CALENDAR_SCHEDULE_WRITES[] = {
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
};
// Writes of object scripts whose region is still to be written; each moves into its region's
// declaration with its scripts.
constexpr std::span<const ScheduleWrite> PENDING_SCRIPT_SCHEDULE_WRITES{};

Names calendar_slot_names() {
    init_hub_state();
    Names names;
    name_slot(names, 0, "turn 0");
    auto writes = [&](std::span<const ScheduleWrite> list) {
        for (const ScheduleWrite& w : list)
            name_slot(names, w.slot, std::string("a schedule write by ") + w.by);
    };
    writes(CALENDAR_SCHEDULE_WRITES);
    writes(PENDING_SCRIPT_SCHEDULE_WRITES);
    for (const ScriptRegion& r : script_regions()) writes(r.schedule_writes);
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
    // That no slot is taken twice is checked here over the regions' tables, and where the
    // registries are: ScriptRegistration.EveryScriptTakesItsOwnSlot, ScriptRegions.* and
    // CalendarRegister.*.
    scripts_register_all();
    const Names names = object_slot_names();
    for (const auto& [slot, where] : names)
        EXPECT_TRUE(slot >= 0 && slot < OBJECT_EVENT_COUNT) << where << " names slot " << slot;
    for (const RegionFault& f : script_region_faults(script_regions(), names))
        ADD_FAILURE() << f.text;

    std::set<s32> registered, named_registered, named_missing;
    for (const ScriptRegion& r : script_regions())
        for (const ScriptSlot& s : r.slots()) registered.insert(s.slot);
    for (const auto& [slot, where] : names)
        (registered.contains(slot) ? named_registered : named_missing).insert(slot);
    std::cout << "[ object slots ] named and registered (" << named_registered.size()
              << "): " << slot_list(named_registered) << "\n"
              << "[ object slots ] named, not yet registered: " << named_missing.size() << "\n";
}

// Stretches of slots whose every slot has its script: each slot lies in a complete range of the
// regions and is registered, but for the slots that nothing carries or names, which stay empty.
struct Stretch {
    const char* name;
    std::vector<SlotRange> ranges;
    std::vector<s32> empty;
    std::vector<s32> later{}; // slots of the stretch whose scripts are still to be written
};

TEST_F(SlotNames, EveryFinishedStretchIsComplete) {
    const Stretch stretches[] = {
        {"home region", {{0, 148}, {1051, 1053}}, {39, 52, 56, 134}},
        {"town A", {{166, 214}, {850, 899}}, {176, 205, 207, 208, 852, 857, 873, 875, 880, 892}},
        // 652: no object of the city carries it and nothing names it.
        {"the city", {{600, 721}}, {638, 640, 652, 682, 690}},
        {"the caves", {{800, 818}, {1047, 1050}}, {}},
        {"the crossing of maps 130-139", {{149, 165}}, {}},
        // 1213 belongs to the episode of maps 186 and 173-175.
        {"the two camps of maps 61-66", {{1200, 1212}, {1214, 1217}}, {}},
    };
    std::set<s32> complete, registered;
    for (const ScriptRegion& r : script_regions()) {
        for (const SlotRange& range : r.complete)
            for (s32 slot = range.first; slot <= range.last; ++slot) complete.insert(slot);
        for (const ScriptSlot& s : r.slots()) registered.insert(s.slot);
    }
    for (const Stretch& st : stretches) {
        auto among = [](const std::vector<s32>& list, s32 slot) {
            return std::find(list.begin(), list.end(), slot) != list.end();
        };
        for (const SlotRange& range : st.ranges)
            for (s32 slot = range.first; slot <= range.last; ++slot) {
                if (among(st.later, slot)) continue;
                if (among(st.empty, slot)) {
                    EXPECT_FALSE(registered.contains(slot))
                        << st.name << ": slot " << slot << " is meant to stay empty";
                    continue;
                }
                EXPECT_TRUE(complete.contains(slot))
                    << st.name << ": slot " << slot << " is in no complete range";
                EXPECT_TRUE(registered.contains(slot))
                    << st.name << ": slot " << slot << " has no script";
            }
    }
}

// The check itself, over a few made-up regions: a slot named in a complete range without a
// script, a slot in two tables, a script nothing names, a range over another region's slot and a
// row outside the table are each reported once; a named slot outside every complete range is
// only pending.
void fake_script() {}
constexpr ScriptSlot FAKE_HALL[] = {{10, fake_script}, {12, fake_script}};
constexpr ScriptSlot FAKE_YARD[] = {{20, fake_script}};
constexpr ScriptSlot FAKE_TWICE[] = {{12, fake_script}};
constexpr ScriptSlot FAKE_OUTSIDE[] = {{OBJECT_EVENT_COUNT, fake_script}};
std::span<const ScriptSlot> fake_hall() {
    return FAKE_HALL;
}
std::span<const ScriptSlot> fake_yard() {
    return FAKE_YARD;
}
std::span<const ScriptSlot> fake_twice() {
    return FAKE_TWICE;
}
std::span<const ScriptSlot> fake_outside() {
    return FAKE_OUTSIDE;
}
constexpr SlotRange HALL_10_12[] = {{10, 12}};
constexpr SlotRange HALL_10_10_12_12[] = {{10, 10}, {12, 12}};
constexpr SlotRange YARD_OVER_HALL[] = {{12, 20}};

TEST(SlotRegionCheck, EachFaultOfAFakeRegionListIsReported) {
    const ScriptRegion hall{.owner = "hall", .slots = fake_hall, .complete = HALL_10_12};
    const ScriptRegion hall_gapped{
        .owner = "hall", .slots = fake_hall, .complete = HALL_10_10_12_12};
    const ScriptRegion yard{.owner = "yard", .slots = fake_yard};
    const ScriptRegion yard_over{.owner = "yard", .slots = fake_yard, .complete = YARD_OVER_HALL};
    const ScriptRegion twice{.owner = "twice", .slots = fake_twice};
    const ScriptRegion outside{.owner = "outside", .slots = fake_outside};
    const Names named_all{{10, "a"}, {12, "b"}, {20, "c"}, {30, "d"}};
    const Names named_gap{{10, "a"}, {11, "the gap's object"}, {12, "b"}, {20, "c"}};
    const Names named_not_yard{{10, "a"}, {12, "b"}};

    struct Fault {
        RegionFaultKind kind;
        s32 slot;
        std::string owner;
        bool operator==(const Fault&) const = default;
    };
    struct Case {
        const char* what;
        std::vector<ScriptRegion> regions;
        Names named;
        std::vector<Fault> faults;
    };
    const Case cases[] = {
        {"clean; 30 is named and pending", {hall, yard}, named_all, {}},
        {"named gap in a complete range",
         {hall, yard},
         named_gap,
         {{REGION_NAMED_EMPTY, 11, "hall"}}},
        {"the same gap outside the declared ranges", {hall_gapped, yard}, named_gap, {}},
        {"a slot in two tables",
         {hall, yard, twice},
         named_all,
         {{REGION_SLOT_TWICE, 12, "twice"}}},
        {"a script nothing names",
         {hall, yard},
         named_not_yard,
         {{REGION_SLOT_UNNAMED, 20, "yard"}}},
        {"a range over another region's slot",
         {hall, yard_over},
         named_all,
         {{REGION_RANGE_FOREIGN, 12, "yard"}}},
        {"a row outside the table",
         {hall, yard, outside},
         named_all,
         {{REGION_SLOT_OUTSIDE, OBJECT_EVENT_COUNT, "outside"}}},
    };
    for (const Case& c : cases) {
        std::vector<Fault> got;
        for (const RegionFault& f : script_region_faults(c.regions, c.named)) {
            got.push_back({f.kind, f.slot, f.owner});
            EXPECT_NE(f.text.find(f.owner), std::string::npos) << f.text;
        }
        EXPECT_EQ(got, c.faults) << c.what;
    }
    // The report names the slot's script as the object scripts are named.
    const std::vector<RegionFault> gap = script_region_faults(std::vector{hall, yard}, named_gap);
    ASSERT_EQ(gap.size(), 1u);
    EXPECT_NE(gap[0].text.find("the gap's object names object_event_0011"), std::string::npos)
        << gap[0].text;
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
