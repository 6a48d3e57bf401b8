// The world's initial population (checked as data over every region's rows, and once on the real
// field loop), the door scripts and the registration of the object scripts.
#include "data/timetables.h"
#include "data/world_population.h"
#include "engine/image.h"
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "game/player.h"
#include "game/world_populate.h"
#include "platform/harness.h"
#include "scripts/home/portals.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"
#include "tests/world_harness.h"
#include "tests/world_spans.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_maps.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// ---- The population as data -----------------------------------------------------------------

struct PopRow {
    const WorldRow* row;
    const char* table;
};

// Every row of both regions' tables, in table order.
std::vector<PopRow> population_rows() {
    std::vector<PopRow> rows;
    for (size_t i = 0; i < world_population_home_count; i++)
        rows.push_back({&world_population_home[i], "home"});
    for (size_t i = 0; i < world_population_towns_count; i++)
        rows.push_back({&world_population_towns[i], "towns"});
    return rows;
}

// The creating row of every object number (nullptr for a free number).
std::map<s32, const WorldRow*> rows_by_object() {
    std::map<s32, const WorldRow*> by;
    for (const PopRow& r : population_rows()) by[r.row->obj] = r.row;
    return by;
}

bool is_portal(const WorldRow& r) {
    return r.op == WR_PORTAL || r.op == WR_PORTAL_FIXED;
}
bool created_hidden(const WorldRow& r) {
    return (r.op == WR_NPC_VIS || r.op == WR_NPC_VIS_TIMED) && r.visible == 0;
}
bool hidden_at_start(const WorldRow& r) {
    return created_hidden(r) || (r.settings & WS_HIDE) != 0;
}
bool timed(const WorldRow& r) {
    return r.op == WR_NPC_TIMED || r.op == WR_NPC_VIS_TIMED || r.op == WR_TIMER;
}
bool own_slot(s32 slot) {
    return slot != 6 && slot != 7 && slot != 60 && slot != 800;
}

TEST(WorldPopulationRows, EveryRowCreatesOneObjectOnceInItsSpan) {
    std::map<s32, s32> seen;
    for (const PopRow& r : population_rows()) {
        const WorldRow& row = *r.row;
        EXPECT_TRUE(world_row_creates(row)) << r.table << " row of object " << row.obj;
        EXPECT_EQ(++seen[row.obj], 1) << "object " << row.obj << " is created twice";
        const bool home = row.obj >= 1 && row.obj <= 276;
        const bool home_extra = row.obj >= 996 && row.obj <= 1002;
        EXPECT_EQ(std::string(r.table) == "home", home || home_extra)
            << "object " << row.obj << " is in the " << r.table << " table";
        EXPECT_TRUE(row.obj >= 1 && row.obj <= 3748) << "object " << row.obj;
        EXPECT_TRUE(row.event >= 0 && row.event < OBJECT_EVENT_COUNT)
            << "object " << row.obj << " slot " << row.event;
        EXPECT_EQ(row.settings & ~u32(WS_ALL & ~WS_TIMER10 & ~WS_SHADOW), 0u)
            << "object " << row.obj << " has a setting the population never uses";
        if (row.op != WR_TIMER) {
            EXPECT_GT(row.map, 0) << "object " << row.obj << " stands on no map";
            EXPECT_TRUE(row.x >= 0 && row.x < 16384 && row.y >= 0 && row.y < 16384)
                << "object " << row.obj << " at (" << row.x << "," << row.y << ")";
        }
    }
    EXPECT_EQ(seen.size(), 823u);
    EXPECT_EQ(seen.count(118) + seen.count(262), 0u); // free numbers inside the home span
}

TEST(WorldPopulationRows, CreatorsSettingsCursorsAndClicksAddUp) {
    std::map<WorldOp, s32> creators;
    std::map<u32, s32> settings;
    std::map<std::string, s32> tally;
    for (const PopRow& r : population_rows()) {
        const WorldRow& row = *r.row;
        creators[row.op]++;
        for (u32 bit = 1; bit <= WS_ALL; bit <<= 1)
            if (row.settings & bit) settings[bit]++;
        const std::string op = row.op == WR_NPC_TIMED       ? "timed"
                               : row.op == WR_NPC           ? "npc"
                               : row.op == WR_NPC_VIS       ? "vis"
                               : row.op == WR_NPC_VIS_TIMED ? "vis_timed"
                                                            : "";
        if (!op.empty()) {
            const s32 c = row.cursor;
            // Each cursor by its value, and the hover cursors 4..15 as one group too.
            tally[op + " cursor " + (c < 0 ? std::string("none") : std::to_string(c))]++;
            if (c >= 4 && c <= 15) tally[op + " cursor 4-15"]++;
            if (row.clickable == 1) tally[op + " clickable"]++;
            EXPECT_TRUE(row.clickable == 0 || row.clickable == 1) << "object " << row.obj;
        }
        if (row.frame < 0) tally["negative frames"]++;
        if (row.settings & WS_BRIGHT11) {
            EXPECT_TRUE(row.settings & WS_LAYER1) << "object " << row.obj;
            EXPECT_TRUE(row.map == 98 || row.map == 99) << "object " << row.obj;
        }
        if (row.settings & WS_NO_SHADOW) {
            EXPECT_TRUE(row.op == WR_NPC_TIMED || row.op == WR_NPC) << "object " << row.obj;
        }
    }
    const std::pair<WorldOp, s32> creator_counts[] = {
        {WR_NPC_TIMED, 294}, {WR_PORTAL, 299},       {WR_NPC_VIS, 97}, {WR_NPC, 61},
        {WR_STEP, 41},       {WR_NPC_VIS_TIMED, 19}, {WR_TIMER, 8},    {WR_PORTAL_FIXED, 4}};
    for (const auto& [op, n] : creator_counts) EXPECT_EQ(creators[op], n) << "creator " << int(op);
    const std::pair<WorldSetting, s32> setting_counts[] = {
        {WS_NO_SHADOW, 90}, {WS_HIDE, 88},     {WS_LAYER1, 70}, {WS_LAYER0, 35},
        {WS_LAYER2, 5},     {WS_BRIGHT11, 40}, {WS_BLOCK, 24},  {WS_BLEND12, 8},
        {WS_MIRROR, 5},     {WS_NO_CLICK, 2},  {WS_FRAME0, 1}};
    for (const auto& [bit, n] : setting_counts) EXPECT_EQ(settings[bit], n) << "setting " << bit;
    const std::pair<const char*, s32> tallies[] = {
        {"timed cursor 13", 271},   {"timed clickable", 273}, {"npc cursor 18", 40},
        {"npc cursor 13", 14},      {"npc cursor 0", 7},      {"npc clickable", 18},
        {"vis cursor none", 35},    {"vis cursor 0", 21},     {"vis cursor 3", 20},
        {"vis cursor 4-15", 21},    {"vis clickable", 53},    {"vis_timed cursor none", 19},
        {"vis_timed clickable", 0}, {"negative frames", 32}};
    // 32 mirrored starts, not the round 27 of the world's summary: the town keepers 458 and 1037
    // and the sentries 1441, 1449, 1451 and 1453 run mirrored frames by their own scripts' tables
    // (counting down from a negative frame), and the objects' own facts hold over the total.
    for (const auto& [name, n] : tallies) EXPECT_EQ(tally[name], n) << name;
}

TEST(WorldPopulationRows, EachSpanHoldsItsCreatorsSlotsHiddenAndCountdowns) {
    s32 in_spans = 0;
    for (const WorldSpan& span : world_spans()) {
        std::map<WorldOp, s32> creators;
        std::set<s32> slots;
        s32 hidden = 0;
        std::map<s32, s32> countdowns;
        for (const PopRow& r : population_rows()) {
            const WorldRow& row = *r.row;
            if (row.obj < span.first || row.obj > span.last) continue;
            in_spans++;
            creators[row.op]++;
            if (own_slot(row.event)) slots.insert(row.event);
            hidden += hidden_at_start(row) ? 1 : 0;
            if (timed(row)) countdowns[row.countdown]++;
        }
        const std::set<s32> want_slots = span.slots();
        const std::string name = std::to_string(span.first) + "-" + std::to_string(span.last);
        EXPECT_EQ(creators, span.creators) << "creators of " << name;
        for (s32 s : want_slots)
            EXPECT_TRUE(slots.count(s)) << "slot " << s << " unused in " << name;
        for (s32 s : slots) EXPECT_TRUE(want_slots.count(s)) << "slot " << s << " not of " << name;
        EXPECT_EQ(hidden, span.hidden) << "hidden in " << name;
        EXPECT_EQ(countdowns, span.countdowns) << "countdowns of " << name;
    }
    EXPECT_EQ(in_spans, 823) << "objects outside every span";
}

TEST(WorldPopulationRows, SlotsAreSharedOnlyAsTheWorldSays) {
    std::map<s32, std::vector<s32>> users;
    for (const PopRow& r : population_rows()) {
        const WorldRow& row = *r.row;
        users[row.event].push_back(row.obj);
        if (row.op == WR_PORTAL) {
            EXPECT_EQ(row.event, 6) << "portal " << row.obj;
        }
        if (row.op == WR_PORTAL_FIXED) {
            EXPECT_EQ(row.event, 60) << "portal " << row.obj;
        }
        if (row.event == 6 || row.event == 60) {
            EXPECT_TRUE(is_portal(row)) << "object " << row.obj << " runs a door script";
        }
    }
    EXPECT_EQ(users[6].size(), 299u);
    EXPECT_EQ(users[60].size(), 4u);
    EXPECT_EQ(users[7].size(), 72u);
    EXPECT_EQ(users[800].size(), 75u);
    const std::map<s32, size_t> shared = {{14, 3}, {173, 3}, {801, 3}, {44, 2}, {615, 2}};
    s32 own = 0;
    size_t own_objects = 0;
    for (const auto& [slot, objs] : users) {
        if (!own_slot(slot)) continue;
        own++;
        own_objects += objs.size();
        const auto it = shared.find(slot);
        EXPECT_EQ(objs.size(), it == shared.end() ? 1u : it->second)
            << "slot " << slot << " is run by " << objs.size() << " objects, first " << objs[0];
    }
    EXPECT_EQ(own, 365);
    EXPECT_EQ(own_objects, 373u);
}

// The visitor of the episodes' closings waits hidden and inert on map 241; the city gate's two
// guards stand beside the gate zone 1007 and answer clicks through slot 173.
TEST(WorldPopulationRows, TheVisitorWaitsHiddenAndTheCityGuardsStandAtTheGate) {
    const auto by = rows_by_object();
    const WorldRow& visitor = *by.at(999);
    EXPECT_EQ(std::vector<s32>({visitor.map, visitor.x, visitor.y, visitor.frame, visitor.event}),
              std::vector<s32>({241, 108, 431, 1902, 7}));
    EXPECT_TRUE(hidden_at_start(visitor));
    EXPECT_EQ(visitor.settings & u32(WS_LAYER0 | WS_LAYER1 | WS_LAYER2), 0u);
    const std::pair<s32, s32> guards[] = {{1001, 42940}, {1002, 42944}};
    for (const auto& [obj, frame] : guards) {
        SCOPED_TRACE(obj);
        const WorldRow& g = *by.at(obj);
        EXPECT_EQ(std::vector<s32>({g.map, g.frame, g.event, g.cursor, g.clickable}),
                  std::vector<s32>({200, frame, 173, 13, 1}));
        EXPECT_FALSE(hidden_at_start(g));
        EXPECT_EQ(g.settings & u32(WS_LAYER0 | WS_LAYER1 | WS_LAYER2), 0u);
        EXPECT_LE(std::abs(g.x - 2774), 100);
        EXPECT_LE(std::abs(g.y - 2710), 100);
    }
}

TEST(WorldPopulationRows, PortalsFormPairsLeadingNextToTheirPartners) {
    const auto by = rows_by_object();
    std::map<s32, s32> partner;
    s32 pairs = 0;
    for (const auto& [obj, row] : by) {
        if (!is_portal(*row) || partner.count(obj) || obj == 475) continue;
        s32 mate = obj + 1;
        if (obj == 474) mate = 476;
        if (obj == 1399) mate = 1410;
        const auto it = by.find(mate);
        ASSERT_TRUE(it != by.end() && is_portal(*it->second))
            << "portal " << obj << " has no partner";
        partner[obj] = mate;
        partner[mate] = obj;
        pairs++;
    }
    EXPECT_EQ(pairs, 151);
    for (const auto& [obj, mate] : partner) {
        const WorldRow& a = *by.at(obj);
        const WorldRow& b = *by.at(mate);
        EXPECT_EQ(a.dest_map, b.map)
            << "portal " << obj << " does not lead to its partner " << mate;
        EXPECT_LE(std::abs(a.dest_x - b.x), 312) << "portal " << obj;
        EXPECT_LE(std::abs(a.dest_y - b.y), 312) << "portal " << obj;
    }
    const WorldRow& one_way = *by.at(475);
    EXPECT_TRUE(one_way.op == WR_PORTAL && one_way.map == 191 && one_way.dest_map == 190);
    EXPECT_EQ(by.at(478)->event, 872); // the way back from map 190 is a step area
    // The fixed-arrival doors between maps 10, 42 and 41.
    const s32 fixed[][8] = {{132, 10, 6206, 37, 3067, 42, 67, 790},
                            {133, 42, 0, 768, 3068, 10, 6222, 118},
                            {134, 42, 1326, 555, 0, 41, 104, 1286},
                            {135, 41, 0, 1210, 0, 42, 1205, 578}};
    for (const auto& f : fixed) {
        const WorldRow& r = *by.at(f[0]);
        EXPECT_EQ(r.op, WR_PORTAL_FIXED) << "portal " << f[0];
        EXPECT_EQ(std::vector<s32>({r.map, r.x, r.y, r.dest_map, r.dest_x, r.dest_y}),
                  std::vector<s32>({f[1], f[2], f[3], f[5], f[6], f[7]}))
            << "portal " << f[0];
        if (f[4] != 0) {
            EXPECT_EQ(r.frame, f[4]) << "portal " << f[0];
        }
    }
}

TEST(WorldPopulationRows, ClosedPassagesPairAHiddenPortalWithAWall) {
    const auto by = rows_by_object();
    const s32 passages[][2] = {{497, 501},   {498, 502},   {1127, 1383}, {1128, 1385},
                               {1129, 1381}, {1130, 1379}, {1131, 1387}, {1466, 1399}};
    for (const auto& [wall_obj, portal_obj] : passages) {
        ASSERT_TRUE(by.count(wall_obj) && by.count(portal_obj)) << "passage " << wall_obj;
        const WorldRow& wall = *by.at(wall_obj);
        const WorldRow& door = *by.at(portal_obj);
        EXPECT_EQ(wall.op, WR_STEP) << "object " << wall_obj;
        EXPECT_EQ(door.op, WR_PORTAL) << "object " << portal_obj;
        EXPECT_TRUE(hidden_at_start(door)) << "portal " << portal_obj << " starts open";
        EXPECT_FALSE(hidden_at_start(wall)) << "wall " << wall_obj << " starts hidden";
        EXPECT_EQ(std::vector<s32>({wall.map, wall.x, wall.y, wall.frame}),
                  std::vector<s32>({door.map, door.x, door.y, door.frame}))
            << "passage " << wall_obj << "/" << portal_obj;
        const bool blocks = (wall.settings & WS_BLOCK) != 0;
        EXPECT_EQ(blocks, wall_obj != 1131) << "wall " << wall_obj;
    }
    EXPECT_EQ(by.at(1131)->event, 711);
}

TEST(WorldPopulationRows, HiddenObjectsAndTimers) {
    s32 hidden = 0, portals = 0, timers = 0, steps = 0, created = 0, both = 0;
    for (const PopRow& r : population_rows()) {
        const WorldRow& row = *r.row;
        if (!hidden_at_start(row)) continue;
        hidden++;
        portals += is_portal(row) ? 1 : 0;
        timers += row.op == WR_TIMER ? 1 : 0;
        steps += row.op == WR_STEP ? 1 : 0;
        created += created_hidden(row) ? 1 : 0;
        both += created_hidden(row) && (row.settings & WS_HIDE) ? 1 : 0;
    }
    EXPECT_EQ(hidden, 108);
    EXPECT_EQ(created, 23);
    EXPECT_EQ(both, 3);
    // 16 doors, not the summary's 15: each of them is named closed at the start by the script
    // that opens it (the object's own fact holds over the total; the 108 still hold).
    EXPECT_EQ(portals, 16);
    EXPECT_EQ(timers, 4);
    EXPECT_EQ(steps, 3);

    const auto by = rows_by_object();
    const s32 timer_rows[][5] = {{5, 10, 5, 5, 1},        {469, 102, 866, 8, 1},
                                 {507, 102, 887, 5, 1},   {1097, 200, 685, 4, 1},
                                 {2028, 160, 1047, 5, 0}, {2029, 161, 1048, 5, 0},
                                 {2066, 172, 1049, 5, 0}, {2067, 162, 1050, 5, 0}};
    for (const auto& t : timer_rows) {
        ASSERT_TRUE(by.count(t[0])) << "timer " << t[0];
        const WorldRow& r = *by.at(t[0]);
        EXPECT_EQ(r.op, WR_TIMER) << "timer " << t[0];
        EXPECT_EQ(std::vector<s32>({r.map, r.event, r.countdown, hidden_at_start(r) ? 1 : 0}),
                  std::vector<s32>({t[1], t[2], t[3], t[4]}))
            << "timer " << t[0];
    }
}

// The object table after the population of a new game.
class WorldPopulated : public ::testing::Test {
  protected:
    void SetUp() override {
        obj_clear_all();
        world_state.current_map = 0;
        world_populate();
    }
    void TearDown() override { obj_clear_all(); }
};

TEST_F(WorldPopulated, ExactlyThePopulationIsInUse) {
    const auto by = rows_by_object();
    s32 in_use = 0;
    for (s32 obj = 0; obj < OBJECT_COUNT; obj++) {
        if (attr_get(obj, ATTR_IN_USE)) in_use++;
        if (!by.count(obj)) {
            const ObjectRecord zero{};
            EXPECT_EQ(std::memcmp(&object_table[obj], &zero, sizeof zero), 0)
                << "object " << obj << " is not all zero";
        } else {
            EXPECT_EQ(attr_get(obj, ATTR_IN_USE), 1) << "object " << obj;
            EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), hidden_at_start(*by.at(obj)) ? 0 : 1)
                << "object " << obj;
        }
    }
    EXPECT_EQ(in_use, 823);
}

TEST_F(WorldPopulated, ObjectsTakeTheirLookAndPresence) {
    for (s32 obj : {71, 101, 102, 124, 164, 231, 268, 269})
        EXPECT_EQ(attr_get(obj, ATTR_BLOCK), 1) << "object " << obj;
    for (s32 obj : {103, 120, 121, 122, 236})
        EXPECT_EQ(attr_get(obj, ATTR_BLEND), 12) << "object " << obj;
    for (s32 obj : {83, 111}) EXPECT_EQ(attr_get(obj, ATTR_LAYER), 0) << "object " << obj;
    for (s32 obj : {139, 145, 146, 147, 160, 161, 162, 163, 175})
        EXPECT_EQ(attr_get(obj, ATTR_LAYER), 1) << "object " << obj;
    for (s32 obj : {75, 236}) EXPECT_EQ(attr_get(obj, ATTR_LAYER), 2) << "object " << obj;
    for (s32 obj : {3, 8, 9, 11, 17, 18, 19, 20, 21, 22, 23, 25, 26, 27, 73, 75, 138})
        EXPECT_EQ(attr_get(obj, ATTR_SHADOW), 0) << "object " << obj;
    EXPECT_EQ(attr_get(24, ATTR_SHADOW), 1);
    for (s32 obj : {5, 6, 223, 237, 271}) {
        EXPECT_EQ(attr_get(obj, ATTR_IN_USE), 1) << "object " << obj;
        EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 0) << "object " << obj;
    }
    // The first-day director: off, counting from 5, on no map, on every map once switched on.
    EXPECT_EQ(attr_get(5, ATTR_TIMER), 5);
    EXPECT_EQ(attr_get(5, ATTR_MAP), 0);
    EXPECT_EQ(attr_get(5, ATTR_TIMER_ANYMAP), 1);
    EXPECT_EQ(obj_timer_due(5), 0);
    // The flying object: in use, active and timed, but without an image.
    EXPECT_EQ(obj_is_live(242), 1);
    EXPECT_EQ(attr_get(242, ATTR_FRAME), 0);
    EXPECT_EQ(attr_get(242, ATTR_TIMER_ON), 1);
    // A clickable, mirrored resident with hover cursor 13.
    EXPECT_EQ(obj_get_frame(123), -5322);
    EXPECT_EQ(attr_get(123, ATTR_HOVER_CURSOR), 1);
    EXPECT_EQ(attr_get(123, ATTR_CURSOR), 13);
    EXPECT_EQ(attr_get(123, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(123, ATTR_TIMER), 10);
    // Door 28 and the collector of slot 2.
    EXPECT_EQ(attr_get(28, ATTR_EVENT), 6);
    EXPECT_EQ(attr_get(28, ATTR_DEST_MAP), 14);
    EXPECT_EQ(attr_get(28, ATTR_VAR_A), 257);
    EXPECT_EQ(attr_get(28, ATTR_VAR_B), 373);
    EXPECT_EQ(attr_get(1000, ATTR_EVENT), 2);
    EXPECT_EQ(attr_get(1000, ATTR_MAP), 10);
    // A cave decoration: no hover cursor, no click, on the ground layer (so its shadow bit draws
    // nothing), brightened.
    EXPECT_EQ(attr_get(1402, ATTR_HOVER_CURSOR), 0);
    EXPECT_EQ(attr_get(1402, ATTR_CLICK), 0);
    EXPECT_EQ(attr_get(1402, ATTR_LAYER), 1);
    EXPECT_EQ(attr_get(1402, ATTR_BRIGHTNESS), 11);
    EXPECT_EQ(attr_get(1402, ATTR_EVENT), 800);
}

// ---- Placeholder pictures and the populated world on the real field loop ---------------------

// The engine on the placeholder archive (with the shared placeholder maps and the player's
// images), the object scripts registered and a new game's population in place.
class PopulatedWorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start_placeholder_world();
        world_state.current_map = 0;
        world_populate();
    }
    void TearDown() override { world_stop(); }
    HarnessTempDir dir;
};

TEST_F(PopulatedWorldTest, EveryImageTheWorldShowsIsAPictureOfThePlaceholderArchive) {
    const auto images = placeholder_world_images();
    ASSERT_GT(images.size(), 100u);
    for (const auto& [image, area] : images) {
        s32 size = 0;
        const u8* data = image_load(image, &size);
        ASSERT_NE(data, empty_image) << "image " << image << " is missing";
        const s32 w = data[0] | data[1] << 8;
        const s32 h = data[2] | data[3] << 8;
        EXPECT_TRUE(w > 0 && h > 0) << "image " << image;
    }
    // Objects on their map take their size from the box: the door of map 10 and the collector.
    world_place_player(10, 5000, 1400);
    EXPECT_EQ(attr_get(28, ATTR_WIDTH), PLACEHOLDER_AREA_W);
    EXPECT_EQ(attr_get(28, ATTR_HOT_X), PLACEHOLDER_AREA_W / 2);
    EXPECT_EQ(attr_get(1000, ATTR_HEIGHT), PLACEHOLDER_FIGURE_H);
    EXPECT_EQ(attr_get(1000, ATTR_HOT_Y), PLACEHOLDER_FIGURE_H - 1);
}

TEST(PlaceholderWorld, ArrivalsNeverStandOnAStepArea) {
    // Arriving on a step area would fire it at the first step: a door would send the player
    // straight back. Every door's arrival point lies outside every area box of its map.
    const auto rows = population_rows();
    for (const PopRow& d : rows) {
        if (!is_portal(*d.row)) continue;
        for (const PopRow& a : rows) {
            const WorldRow& area = *a.row;
            if (!(is_portal(area) || area.op == WR_STEP) || area.map != d.row->dest_map) continue;
            const bool inside = std::abs(d.row->dest_x - area.x) <= PLACEHOLDER_AREA_W / 2 &&
                                std::abs(d.row->dest_y - area.y) <= PLACEHOLDER_AREA_H / 2;
            EXPECT_FALSE(inside) << "door " << d.row->obj << " arrives on object " << area.obj;
        }
    }
}

TEST_F(PopulatedWorldTest, WalkingThroughDoor28AndBack) {
    struct Seen {
        s32 on14_x = -1, on14_y = -1, back_x = -1, back_y = -1;
        bool left_10 = false;
    } seen;
    // A watcher that runs every frame on any map: it notes each arrival, steers the player onto
    // door 29 once on map 14, and ends the loop back on map 10.
    constexpr s32 WATCHER = 4000;
    const s32 watcher = world_script([&] {
        attr_set(WATCHER, ATTR_TIMER, 1);
        if (!seen.left_10 && world_state.current_map == 14) {
            seen.left_10 = true;
            seen.on14_x = attr_get(0, ATTR_X);
            seen.on14_y = attr_get(0, ATTR_Y);
            world_hold_right_toward(205, 340, 200);
        } else if (seen.left_10 && world_state.current_map == 10) {
            seen.back_x = attr_get(0, ATTR_X);
            seen.back_y = attr_get(0, ATTR_Y);
            world_state.field_active = 0;
        }
    });
    world_place_object(WATCHER, 10, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    make_player(10, 5140, 1465, 0, 0);
    world_place_player(10, 5140, 1465);
    player_record.area = 0;

    world_hold_right_toward(5225, 1465, 200);
    const WorldRun run = world_run_field(600);
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_TRUE(seen.left_10);
    EXPECT_EQ(seen.on14_x, 257);
    EXPECT_EQ(seen.on14_y, 373);
    EXPECT_EQ(seen.back_x, 5247);
    EXPECT_EQ(seen.back_y, 1528);
    EXPECT_EQ(attr_get(0, ATTR_MAP), 10);
    EXPECT_EQ(player_record.area, 1); // map 10 is area 1
}

// ---- Door scripts -----------------------------------------------------------------------------

TEST(PortalFrames, ConvertBetweenTheTwoSpriteSetsByDirection) {
    struct Case {
        s32 frame, alt;
    };
    const Case to_alt[] = {
        {256, 672},   {271, 672},   {272, 674},   {-272, -674}, // walking groups 0 and 1
        {288, 676},   {-300, 676},  {304, 678},   {320, 680},   // groups 2, 3 (never mirrored), 4
        {-335, -680}, {352, 674},   {-415, -680},               // running frames
        {416, 672},   {-416, -672}, {418, 674},   {420, 676},   {424, 680}, {-424, -680},
        {672, 672},   {-674, -674}, {0, 0},       {255, 255},   {417, 417}, {426, 426}, // kept
    };
    for (const Case& c : to_alt)
        EXPECT_EQ(portal_frame_to_alt_set(c.frame), c.alt) << "frame " << c.frame;
    const Case to_main[] = {
        {512, 416}, {-528, -418}, {544, 420}, {560, 422},   {-660, -424}, {672, 416}, {-674, -418},
        {678, 422}, {680, 424},   {416, 416}, {-418, -418}, {0, 0},       {681, 681},
    };
    for (const Case& c : to_main)
        EXPECT_EQ(portal_frame_to_main_set(c.frame), c.alt) << "frame " << c.frame;
}

TEST(PortalAreas, ArrivalMapsNameTheirAreaAndOthersKeepIt) {
    const s32 cases[][2] = {{10, 1},  {60, 2}, {200, 4},  {73, 21}, {142, 26},
                            {14, -1}, {0, -1}, {255, -1}, {-5, -1}};
    for (const auto& c : cases) EXPECT_EQ(portal_area_for_map(c[0]), c[1]) << "map " << c[0];
}

class PortalScriptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start_placeholder_world();
        world_place_player(10, 500, 500);
        make_player(10, 500, 500, 0, 0);
        player_record.area = 7;
        player_record.music_id = -1;
    }
    void TearDown() override { world_stop(); }
    // A door on the player's map to dest at (x, y), run with the given trigger.
    void door(s32 slot, s32 dest, s32 x, s32 y, s32 kind = TRIG_STEP) {
        if (slot == PORTAL_EVENT)
            make_portal(DOOR, world_state.current_map, 100, 100, 3001, dest, x, y);
        else
            make_portal_fixed(DOOR, world_state.current_map, 100, 100, 3001, dest, x, y);
        world_fire(DOOR, kind);
    }
    static constexpr s32 DOOR = 300;
    HarnessTempDir dir;
};

TEST_F(PortalScriptTest, StepMovesThePlayerSetsAreaAndMusic) {
    map_music[14] = 10050;
    door(PORTAL_EVENT, 14, 257, 373);
    EXPECT_EQ(world_state.current_map, 14);
    EXPECT_EQ(attr_get(0, ATTR_MAP), 14);
    EXPECT_EQ(attr_get(0, ATTR_X), 257);
    EXPECT_EQ(attr_get(0, ATTR_Y), 373);
    EXPECT_EQ(player_record.music_id, 10050);
    EXPECT_EQ(player_record.area, 7); // map 14 has no area of its own

    map_music[10] = -1;
    door(PORTAL_EVENT, 10, 5247, 1528);
    EXPECT_EQ(world_state.current_map, 10);
    EXPECT_EQ(player_record.music_id, 10050); // no track of its own: keep the music
    EXPECT_EQ(player_record.area, 1);
}

TEST_F(PortalScriptTest, OtherTriggersDoNothing) {
    for (s32 slot : {PORTAL_EVENT, PORTAL_FIXED_EVENT})
        for (s32 kind : {TRIG_CLICK, TRIG_TOUCH, TRIG_TIMER}) {
            door(slot, 14, 257, 373, kind);
            EXPECT_EQ(world_state.current_map, 10) << "slot " << slot << " trigger " << kind;
            EXPECT_EQ(attr_get(0, ATTR_X), 500);
        }
}

TEST_F(PortalScriptTest, DoorsOntoMap73SwitchTheSpriteSet) {
    obj_set_frame(0, -(256 + 16 + 5)); // walking diagonally, mirrored (group 1)
    door(PORTAL_EVENT, 73, 300, 300);
    EXPECT_EQ(world_state.player_sprite_set, 1u);
    EXPECT_EQ(obj_get_frame(0), -674);
    EXPECT_EQ(player_record.area, 21);

    obj_set_frame(0, -(512 + 16 + 3)); // walked on map 73
    door(PORTAL_EVENT, 73, 400, 300);  // 73 to 73: the set stays, the frame is not converted
    EXPECT_EQ(world_state.player_sprite_set, 1u);
    EXPECT_EQ(obj_get_frame(0), -(512 + 16 + 3));

    obj_set_frame(0, -674);
    door(PORTAL_EVENT, 10, 500, 500);
    EXPECT_EQ(world_state.player_sprite_set, 0u);
    EXPECT_EQ(obj_get_frame(0), -418);

    obj_set_frame(0, 300); // first set elsewhere: no conversion
    door(PORTAL_EVENT, 14, 100, 100);
    EXPECT_EQ(obj_get_frame(0), 300);
}

TEST_F(PortalScriptTest, FixedDoorsShowTheirArrivalFrames) {
    obj_set_frame(0, -418);
    door(PORTAL_FIXED_EVENT, 42, 67, 790);
    EXPECT_EQ(obj_get_frame(0), -418); // no map 73 on either side: the frame stays
    EXPECT_EQ(world_state.player_sprite_set, 0u);

    door(PORTAL_FIXED_EVENT, 73, 67, 790);
    EXPECT_EQ(obj_get_frame(0), PORTAL_FIXED_ENTER_FRAME);
    EXPECT_EQ(world_state.player_sprite_set, 1u);

    door(PORTAL_FIXED_EVENT, 41, 104, 1286);
    EXPECT_EQ(obj_get_frame(0), PORTAL_FIXED_LEAVE_FRAME);
    EXPECT_EQ(world_state.player_sprite_set, 0u);
    EXPECT_EQ(world_state.current_map, 41);
}

TEST(ScriptRegistration, EveryScriptTakesItsOwnSlot) {
    scripts_register_all();
    scripts_register_all(); // a second call registers nothing again
    EXPECT_EQ(event_conflict_count(), 0)
        << "slot " << event_conflict(0).slot << " claimed by " << event_conflict(0).owner
        << " after " << (event_conflict(0).previous_owner ? event_conflict(0).previous_owner : "-");
    EXPECT_EQ(object_event_table[6], &object_event_0006);
    EXPECT_EQ(object_event_table[7], &object_event_0007);
    EXPECT_EQ(object_event_table[60], &object_event_0060);
    EXPECT_EQ(object_event_table[800], &object_event_0800);
}

} // namespace
