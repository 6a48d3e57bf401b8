// The towns' part of a new game's population (town A, the city, the caves, map 231 and the
// episode maps' doors): the counts of each span of object numbers, the closed passages, the
// timers, the stated portals and telling rows, and, on the real field loop, a closed door of the
// trial hall that holds the player back until its passage opens.
#include "data/world_population.h"
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "game/world_rows.h"
#include "platform/harness.h"
#include "scripts/scripts_register.h"
#include "tests/world_harness.h"
#include "tests/world_spans.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

void populate_towns() {
    std::memset(object_table, 0, sizeof object_table);
    std::memset(&world_state, 0, sizeof world_state);
    world_rows_run(world_population_towns, world_population_towns_count);
}

std::string obj_name(s32 obj) {
    return "object " + std::to_string(obj);
}

bool generic_slot(s32 slot) {
    return slot == 6 || slot == 7 || slot == 60 || slot == 800;
}

// The spans of the towns' part: all but the home region's 1-276 and 996-1002.
std::vector<WorldSpan> spans() {
    std::vector<WorldSpan> out;
    for (const WorldSpan& s : world_spans())
        if (s.first != 1 && s.first != 996) out.push_back(s);
    return out;
}

} // namespace

// Every row creates one object inside one of the spans, in ascending order, and each span holds
// exactly its objects by creator, its own slots, its hidden objects and its countdowns.
TEST(WorldPopulationTowns, SpansHoldTheirObjectsSlotsHiddenAndCountdowns) {
    s32 previous = 0;
    for (size_t i = 0; i < world_population_towns_count; i++) {
        const WorldRow& r = world_population_towns[i];
        ASSERT_TRUE(world_row_creates(r)) << "row " << i;
        EXPECT_GT(r.obj, previous) << "row " << i << " is out of order";
        previous = r.obj;
        bool inside = false;
        for (const WorldSpan& s : spans()) inside |= r.obj >= s.first && r.obj <= s.last;
        EXPECT_TRUE(inside) << obj_name(r.obj) << " lies outside the towns' spans";
    }
    populate_towns();
    for (const WorldSpan& s : spans()) {
        SCOPED_TRACE("objects " + std::to_string(s.first) + "-" + std::to_string(s.last));
        std::map<WorldOp, s32> creators;
        for (size_t i = 0; i < world_population_towns_count; i++) {
            const WorldRow& r = world_population_towns[i];
            if (r.obj >= s.first && r.obj <= s.last) creators[r.op]++;
        }
        EXPECT_EQ(creators, s.creators);

        s32 hidden = 0;
        std::map<s32, s32> countdowns;
        std::map<s32, s32> own;
        for (s32 obj = s.first; obj <= s.last; obj++) {
            if (!attr_get(obj, ATTR_IN_USE)) continue;
            if (!attr_get(obj, ATTR_ACTIVE)) hidden++;
            if (attr_get(obj, ATTR_TIMER_ON)) countdowns[attr_get(obj, ATTR_TIMER)]++;
            const s32 slot = attr_get(obj, ATTR_EVENT);
            if (!generic_slot(slot)) own[slot]++;
        }
        EXPECT_EQ(hidden, s.hidden);
        EXPECT_EQ(countdowns, s.countdowns);
        std::set<s32> used;
        for (auto [slot, n] : own) used.insert(slot);
        EXPECT_EQ(used, s.slots());
        // Own slots belong to one object each, except 615 (a resident and its step area) and 801
        // (the sentry leader of map 99 and its two step areas).
        for (auto [slot, n] : own) {
            const s32 expected = slot == 615 ? 2 : slot == 801 ? 3 : 1;
            EXPECT_EQ(n, expected) << "slot " << slot;
        }
    }
}

// A hidden portal and a step area share map, point and shape; the step area is a wall, except
// the trial room's guard 1131, which runs its own slot and lets the player pass.
TEST(WorldPopulationTowns, ClosedPassagesStandWhereTheirDoorsAre) {
    struct Passage {
        s32 portal, wall, map;
    };
    const Passage passages[] = {{501, 497, 183},   {502, 498, 194},   {1383, 1127, 230},
                                {1385, 1128, 230}, {1381, 1129, 230}, {1379, 1130, 230},
                                {1387, 1131, 225}, {1399, 1466, 172}};
    populate_towns();
    for (const Passage& p : passages) {
        SCOPED_TRACE(obj_name(p.portal) + " with " + obj_name(p.wall));
        EXPECT_EQ(attr_get(p.portal, ATTR_MAP), p.map);
        EXPECT_EQ(attr_get(p.wall, ATTR_MAP), p.map);
        EXPECT_EQ(attr_get(p.wall, ATTR_X), attr_get(p.portal, ATTR_X));
        EXPECT_EQ(attr_get(p.wall, ATTR_Y), attr_get(p.portal, ATTR_Y));
        EXPECT_EQ(obj_get_frame(p.wall), obj_get_frame(p.portal));
        EXPECT_EQ(attr_get(p.portal, ATTR_EVENT), PORTAL_EVENT);
        EXPECT_EQ(attr_get(p.portal, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(p.portal, ATTR_IN_USE), 1);
        EXPECT_EQ(attr_get(p.wall, ATTR_ACTIVE), 1);
        EXPECT_EQ(attr_get(p.wall, ATTR_STEP), 1);
        EXPECT_EQ(attr_get(p.wall, ATTR_LAYER), 0);
        const bool guard = p.wall == 1131;
        EXPECT_EQ(attr_get(p.wall, ATTR_BLOCK), guard ? 0 : 1);
        if (guard) {
            EXPECT_EQ(attr_get(p.wall, ATTR_EVENT), 711);
        }
    }
}

// The towns' timers: imageless, on no map, counting on any map; the three directors start
// hidden, the four cave watchers run from the start.
TEST(WorldPopulationTowns, TimersCountOnAnyMapFromTheirCountdowns) {
    struct Timer {
        s32 obj, slot, countdown, active;
    };
    const Timer timers[] = {{469, 866, 8, 0},   {507, 887, 5, 0},   {1097, 685, 4, 0},
                            {2028, 1047, 5, 1}, {2029, 1048, 5, 1}, {2066, 1049, 5, 1},
                            {2067, 1050, 5, 1}};
    populate_towns();
    s32 timers_made = 0;
    for (size_t i = 0; i < world_population_towns_count; i++)
        timers_made += world_population_towns[i].op == WR_TIMER;
    EXPECT_EQ(timers_made, 7);
    for (const Timer& t : timers) {
        SCOPED_TRACE(obj_name(t.obj));
        EXPECT_EQ(attr_get(t.obj, ATTR_IN_USE), 1);
        EXPECT_EQ(attr_get(t.obj, ATTR_ACTIVE), t.active);
        EXPECT_EQ(attr_get(t.obj, ATTR_EVENT), t.slot);
        EXPECT_EQ(attr_get(t.obj, ATTR_TIMER_ON), 1);
        EXPECT_EQ(attr_get(t.obj, ATTR_TIMER), t.countdown);
        EXPECT_EQ(attr_get(t.obj, ATTR_TIMER_ANYMAP), 1);
        EXPECT_EQ(attr_get(t.obj, ATTR_MAP), 0);
        EXPECT_EQ(obj_get_frame(t.obj), 0);
    }
}

// Portals whose places the towns' and episodes' scripts name: map, point, destination and
// whether they start open.
TEST(WorldPopulationTowns, NamedPortalsLeadWhereTheScriptsExpect) {
    struct Door {
        s32 obj, map, x, y, dest_map, dest_x, dest_y, open;
    };
    const Door doors[] = {
        // the caves
        {1408, 200, 0, 1279, 99, 936, 1115, 1},
        {1409, 99, 850, 1092, 200, 58, 1379, 1},
        {1391, 98, 899, 828, 99, 257, 846, 1},
        {1392, 99, 165, 701, 98, 877, 861, 1},
        {1401, 98, 614, 644, 165, 598, 410, 1},
        {1400, 165, 598, 396, 98, 688, 724, 1},
        {1393, 165, 37, 519, 160, 920, 599, 1},
        {1394, 160, 866, 544, 165, 166, 552, 1},
        {1395, 160, 275, 243, 161, 606, 485, 0},
        {1396, 161, 577, 443, 160, 375, 317, 1},
        {1397, 161, 209, 246, 172, 566, 422, 0},
        {1398, 172, 502, 399, 161, 285, 310, 1},
        {1399, 172, 181, 241, 162, 547, 440, 0},
        {1410, 162, 500, 424, 172, 290, 300, 1},
        // town A's hidden way to map 191 and the one-way portal to map 190
        {474, 121, 240, 116, 191, 377, 147, 0},
        {475, 191, 151, 204, 190, 468, 366, 1},
        {476, 191, 278, 53, 121, 264, 194, 1},
        {501, 183, 0, 0, 194, 112, 691, 0},
        {502, 194, 0, 600, 183, 90, 79, 0},
        // the outskirts of town A
        {499, 102, 3883, 2296, 182, 149, 573, 1},
        {488, 182, 914, 82, 183, 260, 400, 0},
        // the trial hall and the trail's end
        {1383, 230, 275, 266, 224, 442, 332, 0},
        {1385, 230, 161, 326, 225, 437, 331, 0},
        {1387, 225, 350, 172, 224, 146, 351, 0},
        {1389, 200, 3891, 3508, 213, 216, 347, 0},
        // episode maps
        {375, 130, 1565, 696, 136, 205, 340, 0},
        {3028, 72, 640, 400, 163, 588, 516, 0},
    };
    populate_towns();
    for (const Door& d : doors) {
        SCOPED_TRACE(obj_name(d.obj));
        EXPECT_EQ(attr_get(d.obj, ATTR_EVENT), PORTAL_EVENT);
        EXPECT_EQ(attr_get(d.obj, ATTR_MAP), d.map);
        EXPECT_EQ(attr_get(d.obj, ATTR_X), d.x);
        EXPECT_EQ(attr_get(d.obj, ATTR_Y), d.y);
        EXPECT_EQ(attr_get(d.obj, ATTR_DEST_MAP), d.dest_map);
        EXPECT_EQ(attr_get(d.obj, ATTR_VAR_A), d.dest_x);
        EXPECT_EQ(attr_get(d.obj, ATTR_VAR_B), d.dest_y);
        EXPECT_EQ(attr_get(d.obj, ATTR_ACTIVE), d.open);
    }
    // The way back from map 190 is the duel's step area, standing near where 475 arrives.
    EXPECT_EQ(attr_get(478, ATTR_MAP), 190);
    EXPECT_EQ(attr_get(478, ATTR_EVENT), 872);
    EXPECT_EQ(attr_get(478, ATTR_STEP), 1);
    EXPECT_LE(std::abs(attr_get(478, ATTR_X) - 468), 312);
    EXPECT_LE(std::abs(attr_get(478, ATTR_Y) - 366), 312);
    // Door pairs between episode maps that no script names by point.
    struct Pair {
        s32 a, map_a, map_b;
    };
    for (const Pair& p : {Pair{3000, 101, 192}, Pair{3075, 93, 180}}) {
        SCOPED_TRACE(obj_name(p.a));
        EXPECT_EQ(attr_get(p.a, ATTR_MAP), p.map_a);
        EXPECT_EQ(attr_get(p.a, ATTR_DEST_MAP), p.map_b);
        EXPECT_EQ(attr_get(p.a + 1, ATTR_MAP), p.map_b);
        EXPECT_EQ(attr_get(p.a + 1, ATTR_DEST_MAP), p.map_a);
        EXPECT_EQ(attr_get(p.a + 1, ATTR_EVENT), PORTAL_EVENT);
    }
}

// Rows whose every argument is stated, and objects whose creation state the scripts rely on.
TEST(WorldPopulationTowns, StatedRowsAreKeptVerbatim) {
    auto row_of = [](s32 obj) -> const WorldRow* {
        for (size_t i = 0; i < world_population_towns_count; i++)
            if (world_population_towns[i].obj == obj) return &world_population_towns[i];
        return nullptr;
    };
    const WorldRow stated[] = {
        npc(1402, 99, 431, 803, 800, 18, 44354, 0, WS_LAYER1 | WS_BRIGHT11),
        step_trigger(497, 183, 0, 0, 881, 3669, WS_BLOCK),
        portal(501, 183, 0, 0, 3669, 194, 112, 691, WS_HIDE),
        timer(469, 102, 866, 8, WS_HIDE),
        timer(507, 102, 887, 5, WS_HIDE),
        timer(1097, 200, 685, 4, WS_HIDE),
        timer(2028, 160, 1047, 5),
    };
    for (const WorldRow& want : stated) {
        SCOPED_TRACE(obj_name(want.obj));
        const WorldRow* got = row_of(want.obj);
        ASSERT_NE(got, nullptr);
        EXPECT_EQ(std::memcmp(got, &want, sizeof want), 0);
    }

    populate_towns();
    // A cave decoration: ground layer, brightness 11, neither hover cursor nor click.
    EXPECT_EQ(attr_get(1402, ATTR_LAYER), 1);
    EXPECT_EQ(attr_get(1402, ATTR_BRIGHTNESS), 11);
    EXPECT_EQ(attr_get(1402, ATTR_HOVER_CURSOR), 0);
    EXPECT_EQ(attr_get(1402, ATTR_CLICK), 0);
    // All forty decorations of the cave maps 98 and 99 are alike.
    s32 decorations = 0;
    for (size_t i = 0; i < world_population_towns_count; i++) {
        const WorldRow& r = world_population_towns[i];
        if (r.op != WR_NPC || r.cursor != 18 || r.event != 800) continue;
        SCOPED_TRACE(obj_name(r.obj));
        decorations++;
        EXPECT_TRUE(r.map == 98 || r.map == 99);
        EXPECT_EQ(r.settings, u32(WS_LAYER1 | WS_BRIGHT11));
        EXPECT_EQ(r.clickable, 0);
    }
    EXPECT_EQ(decorations, 40);

    struct Placed {
        s32 obj, map, x, y, frame, slot, active;
    };
    const Placed placed[] = {
        {408, 102, 564, 1692, 21097, 174, 1},   {409, 102, 579, 1645, 38302, 175, 0},
        {457, 102, 596, 1707, 38202, 858, 1},   {425, 102, 902, 1016, 21960, 191, 1},
        {485, 123, 350, 294, -64340, 889, 1},   {516, 103, 192, 148, 38454, 894, 0},
        {403, 120, 518, 337, 21300, 169, 1},    {1532, 215, 161, 328, 21300, 818, 1},
        {1121, 230, 368, 261, 39702, 709, 1},   {1122, 225, 319, 202, 3636, 710, 0},
        {1142, 162, 395, 264, 3638, 721, 1},    {1145, 227, 1000, 673, 46620, 800, 0},
        {1091, 200, 5298, 2467, 46200, 680, 1}, {1529, 208, 271, 422, 42622, 817, 1},
        {459, 102, 387, 794, 41320, 860, 0},    {463, 102, 3390, 350, 41320, 864, 1},
    };
    for (const Placed& p : placed) {
        SCOPED_TRACE(obj_name(p.obj));
        EXPECT_EQ(attr_get(p.obj, ATTR_MAP), p.map);
        EXPECT_EQ(attr_get(p.obj, ATTR_X), p.x);
        EXPECT_EQ(attr_get(p.obj, ATTR_Y), p.y);
        EXPECT_EQ(obj_get_frame(p.obj), p.frame);
        EXPECT_EQ(attr_get(p.obj, ATTR_EVENT), p.slot);
        EXPECT_EQ(attr_get(p.obj, ATTR_ACTIVE), p.active);
    }
    // The town gate's pass: a wall with its own slot beside the two guards.
    EXPECT_EQ(attr_get(449, ATTR_MAP), 102);
    EXPECT_EQ(attr_get(449, ATTR_X), 3613);
    EXPECT_EQ(attr_get(449, ATTR_Y), 1778);
    EXPECT_EQ(attr_get(449, ATTR_EVENT), 850);
    EXPECT_EQ(attr_get(449, ATTR_BLOCK), 1);
    // Inert crowd, props and ambushers keep the empty script of slot 7.
    for (s32 obj : {509,  510,  511,  520,  521, 522, 523, 524, 525, 2022, 2023,
                    2024, 2025, 2026, 2027, 374, 382, 384, 386, 388, 391,  392})
        EXPECT_EQ(attr_get(obj, ATTR_EVENT), 7) << obj_name(obj);
}

// ---- On the real field loop ------------------------------------------------------------------

namespace {

constexpr s32 HALL = 230;
constexpr s32 HALL_OF_HONOUR = 224;
constexpr s32 DOOR = 1383;
constexpr s32 WALL = 1127;
constexpr s32 SHAPE = 60; // our placeholder shapes: 60 x 60 with the hotspot in the middle

class TrialHallDoorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        arc_put_placeholder_content(b);
        world_put_player_images(b);
        world_put_map(b, HALL, 1024, 1024, [](s32, s32) { return WORLD_GROUND; });
        world_put_map(
            b, HALL_OF_HONOUR, 1024, 1024, [](s32, s32) { return WORLD_GROUND; }, 40);
        // One solid picture for every image that the two maps' objects show.
        std::set<s32> put;
        for (size_t i = 0; i < world_population_towns_count; i++) {
            const WorldRow& r = world_population_towns[i];
            if (r.map != HALL && r.map != HALL_OF_HONOUR) continue;
            const s32 image = std::abs(r.frame);
            if (image == 0 || put.count(image)) continue;
            world_put_sprite(b, image, SHAPE, SHAPE, SHAPE / 2, SHAPE / 2, u16(0x03E0));
            put.insert(image);
            put.insert(image + 1);
        }
        world_start(b);
        scripts_register_all();
        world_rows_run(world_population_towns, world_population_towns_count);
        // Only the walk is under test: no resident's countdown runs.
        for (s32 obj = 1; obj < OBJECT_COUNT; obj++) attr_set(obj, ATTR_TIMER_ON, 0);
        make_player(HALL, 275, 400, world_script([] {}), 0);
        world_place_player(HALL, 275, 400);
    }
    void TearDown() override { world_stop(); }

    struct Track {
        bool on_wall = false;
        s32 min_y = 1 << 30;
        s32 arrival_map = 0, arrival_x = -1, arrival_y = -1;
    };
    // Records the player's place into `t` at every presented frame until another track starts;
    // ends the loop on the first frame on the hall of honour.
    void track_player(Track& t) {
        active = &t;
        sample = [this, &t] {
            if (active != &t) return;
            const s32 x = attr_get(0, ATTR_X), y = attr_get(0, ATTR_Y);
            if (world_state.current_map == HALL) {
                const s32 wx = attr_get(WALL, ATTR_X), wy = attr_get(WALL, ATTR_Y);
                const bool inside = x >= wx - SHAPE / 2 && x < wx + SHAPE / 2 &&
                                    y >= wy - SHAPE / 2 && y < wy + SHAPE / 2;
                t.on_wall |= inside && attr_get(WALL, ATTR_ACTIVE) == 1;
                if (y < t.min_y) t.min_y = y;
            } else if (t.arrival_map == 0) {
                t.arrival_map = world_state.current_map;
                t.arrival_x = x;
                t.arrival_y = y;
                world_state.field_active = 0;
                return;
            }
            world_after_presents(0, sample);
        };
        world_after_presents(0, sample);
    }
    Track walk_up, through;
    Track* active = nullptr;

    HarnessTempDir dir;
    ArcBuilder b;
    std::function<void()> sample;
};

} // namespace

TEST_F(TrialHallDoorTest, TheWallHoldsThePlayerBackUntilThePassageOpens) {
    // Walk straight at the closed door: the wall stops the player in front of it.
    {
        Track& t = walk_up;
        track_player(t);
        world_hold_right_toward(275, 240, 60);
        world_after_presents(90, [] { world_state.field_active = 0; });
        const WorldRun run = world_run_field(300);
        ASSERT_TRUE(run.ended);
        EXPECT_FALSE(run.watchdog);
        EXPECT_FALSE(t.on_wall);
        EXPECT_EQ(t.arrival_map, 0);
        EXPECT_EQ(world_state.current_map, HALL);
        EXPECT_LT(t.min_y, 340); // the player did walk up to the wall
    }
    // The trials open the door as the scripts do: the wall hidden, the portal shown.
    attr_set(WALL, ATTR_ACTIVE, 0);
    attr_set(DOOR, ATTR_ACTIVE, 1);
    world_place_player(HALL, 275, 400);
    {
        Track& t = through;
        track_player(t);
        world_hold_right_toward(275, 240, 60);
        const WorldRun run = world_run_field(300);
        ASSERT_TRUE(run.ended);
        EXPECT_FALSE(run.watchdog);
        EXPECT_EQ(t.arrival_map, HALL_OF_HONOUR);
        EXPECT_EQ(t.arrival_x, 442);
        EXPECT_EQ(t.arrival_y, 332);
    }
}
