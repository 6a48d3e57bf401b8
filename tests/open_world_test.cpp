// The open world's set-up and the three route starts, on a new game's state with the field loop
// replaced by a recorder; the data rows' own rules (slots, doors, counts); and a walk through the
// city's door and back on the real field loop.
#include "data/hub_block.h"
#include "data/open_world_rows.h"
#include "data/roster.h"
#include "engine/mssw.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/open_world.h"
#include "game/player.h"
#include "game/state.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/hub_fixture.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr s32 STORY_FLAG_PICK_90 = 90;
constexpr s32 STORY_FLAG_PICK_81 = 81;
constexpr s32 STORY_FLAG_PICK_93 = 93;
constexpr s32 OTHER_TRACK = 10023;

// The field loop stand-in: counts its calls and runs the test's check inside the loop.
s32 loop_calls = 0;
std::function<void()> in_loop;
void recording_loop() {
    ++loop_calls;
    if (in_loop) in_loop();
}

bool in_use(s32 obj) {
    return attr_get(obj, ATTR_IN_USE) != 0;
}
bool active(s32 obj) {
    return in_use(obj) && attr_get(obj, ATTR_ACTIVE) != 0;
}
// An object as world population would leave it: in use and shown.
void make_shown(s32 obj) {
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
}

class OpenWorldTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        loop_calls = 0;
        in_loop = nullptr;
        open_world_field_loop_seam = recording_loop;
    }
    void TearDown() override {
        in_loop = nullptr;
        open_world_field_loop_seam = field_loop;
        HubTest::TearDown();
    }
    void add_content(ArcBuilder& b) const override {
        for (s32 track : {OPEN_WORLD_MUSIC, OTHER_TRACK})
            b.put(u32(ARC_SOUND_BASE + track), wav_tone({}, 200, 440));
    }
};

// ---- The route starts ---------------------------------------------------------------------------

struct RouteCase {
    s32 route;
    s32 companion;
    s32 map, x, y, frame;
    s32 area;
    s32 opening_timer, opening_slot;
    bool day_clock;
};

class OpenWorldRouteTest : public OpenWorldTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(OpenWorldRouteTest, StartsTheRouteAndEntersTheFieldLoop) {
    const RouteCase& c = GetParam();
    // What the calendar phase left: a full party, another date, a year, other music and bags.
    for (s32 i = 0; i < PLAYER_PARTY; ++i) player_record.party[i] = 10 + i;
    hub_block.calendar_turn = 234;
    world_state.year = 3;
    world_state.month = 2;
    world_state.day = 17;
    world_state.hour = 13;
    world_state.minute = 41;
    world_state.cursor_id = 7;
    player_record.music_id = OTHER_TRACK;
    for (RosterEntry& e : roster) e.bag[0] = {1000, 9};
    const RosterEntry grown_before = roster[204];

    s32 music_in_loop = -1;
    u32 cursor_in_loop = 0;
    in_loop = [&] {
        music_in_loop = mssw_music_id;
        cursor_in_loop = u32{world_state.cursor_id};
    };
    open_world_start(c.route);

    EXPECT_EQ(loop_calls, 1);
    EXPECT_EQ(music_in_loop, OPEN_WORLD_MUSIC);
    EXPECT_EQ(cursor_in_loop, 7u);             // the cursor is chosen after the loop returns
    EXPECT_EQ(u32{world_state.cursor_id}, 0u); // ... as cursor 0
    EXPECT_EQ(player_record.story_flags[STORY_ROUTE], c.route);

    EXPECT_EQ(hub_block.calendar_turn, 235);
    EXPECT_EQ(world_state.month, 8);
    EXPECT_EQ(world_state.day, 1);
    EXPECT_EQ(world_state.hour, 7);
    EXPECT_EQ(world_state.minute, 0);
    EXPECT_EQ(world_state.year, 3);
    EXPECT_EQ(player_record.area, c.area);
    EXPECT_EQ(player_record.music_id, OPEN_WORLD_MUSIC);

    EXPECT_EQ(player_record.party[0], c.companion);
    for (s32 i = 1; i < PLAYER_PARTY; ++i) EXPECT_EQ(player_record.party[i], -1) << i;

    EXPECT_EQ(attr_get(0, ATTR_MAP), c.map);
    EXPECT_EQ(attr_get(0, ATTR_X), c.x);
    EXPECT_EQ(attr_get(0, ATTR_Y), c.y);
    EXPECT_EQ(obj_get_frame(0), c.frame);
    EXPECT_EQ(attr_get(0, ATTR_EVENT), OPEN_WORLD_PLAYER_EVENT);
    EXPECT_EQ(attr_get(0, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), 0);
    EXPECT_EQ(attr_get(0, ATTR_VAR_A), 0);

    // The opening timer fires five frames after the start, on any map.
    EXPECT_TRUE(active(c.opening_timer));
    EXPECT_EQ(attr_get(c.opening_timer, ATTR_EVENT), c.opening_slot);
    EXPECT_EQ(attr_get(c.opening_timer, ATTR_TIMER), 5);
    EXPECT_EQ(attr_get(c.opening_timer, ATTR_TIMER_ANYMAP), 1);
    EXPECT_EQ(active(2109), c.day_clock);
    if (c.day_clock) {
        EXPECT_EQ(attr_get(2109, ATTR_EVENT), 1309);
    }

    // Route 1 closes door 603 (story flag 93 is 0 here), 625, 633 and 635.
    for (s32 door : {603, 625, 633, 635}) EXPECT_EQ(active(door), c.route != 1) << door;
    // Route 2 sends the five recruits away at the very end.
    for (s32 obj = 2450; obj <= 2454; ++obj) EXPECT_EQ(active(obj), c.route != 2) << obj;

    const RosterEntry& grown = roster[204];
    if (c.route == 1) {
        EXPECT_EQ(grown.hp_max, grown_before.hp_max + 5 * 30 + 300);
        EXPECT_EQ(grown.hp, grown.hp_max);
    } else {
        EXPECT_EQ(grown.hp_max, grown_before.hp_max);
        EXPECT_EQ(grown.hp, grown_before.hp);
        EXPECT_EQ(grown.attack, grown_before.attack);
    }

    std::map<s32, s32> counts;
    for (const RosterEntry& e : roster) {
        if (c.route == 3) {
            EXPECT_EQ(e.bag[0].item, OPEN_WORLD_BAG_ITEM);
            ++counts[e.bag[0].count];
        } else {
            EXPECT_EQ(e.bag[0].item, 1000);
        }
    }
    if (c.route == 3) {
        // One or two per record, drawn per record: both occur among 300 draws.
        EXPECT_EQ(counts.size(), 2u);
        EXPECT_GT(counts[1], 0);
        EXPECT_GT(counts[2], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Routes, OpenWorldRouteTest,
    ::testing::Values(RouteCase{1, 203, 2, 348, 282, -416, 2, 2102, 1301, true},
                      RouteCase{2, 204, 252, 680, 1126, -418, 23, 2113, 1313, true},
                      RouteCase{3, 237, 9, 507, 574, 418, 20, 2123, 1323, false}));

// Story flags choose one of two persons (and route 1's door 603): with 1 the first, with any
// other value the second, which is then the only one created.
TEST_F(OpenWorldTest, StoryFlagsChooseOneOfTwoPersons) {
    struct Case {
        s32 flag_value;
        std::vector<std::pair<s32, s32>> made; // object, map
        std::vector<s32> not_made;
        bool door_603_open;
    };
    const Case cases[] = {
        {1, {{2241, 174}, {2249, 192}, {2255, 192}, {2282, 64}}, {2242, 2250, 2256, 2283}, true},
        {2, {{2242, 174}, {2250, 52}, {2256, 123}, {2283, 64}}, {2241, 2249, 2255, 2282}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag_value);
        std::memset(object_table, 0, sizeof object_table);
        world_state.field_active = 0;
        for (s32 flag : {STORY_FLAG_PICK_90, STORY_FLAG_PICK_81, STORY_FLAG_PICK_93})
            player_record.story_flags[flag] = c.flag_value;
        open_world_start_1();
        for (const auto& [obj, map] : c.made) {
            EXPECT_TRUE(active(obj)) << obj;
            EXPECT_EQ(attr_get(obj, ATTR_MAP), map) << obj;
            EXPECT_EQ(attr_get(obj, ATTR_EVENT), obj - 800) << obj;
        }
        for (s32 obj : c.not_made) EXPECT_FALSE(in_use(obj)) << obj;
        EXPECT_EQ(active(603), c.door_603_open);
    }
}

// A game saved in the open world comes back with field_active 1: the start only plays the saved
// music and enters the loop, with every saved record as it was.
TEST_F(OpenWorldTest, ResumeChangesNothingButTheMusic) {
    world_state.field_active = 1;
    player_record.music_id = OTHER_TRACK;
    player_record.story_flags[STORY_ROUTE] = 2;
    hub_block.calendar_turn = 235;
    world_state.day = 12;
    make_shown(2450);
    std::vector<std::vector<u8>> before;
    for (const StateBlock& b : state_blocks) {
        const u8* p = static_cast<const u8*>(b.data);
        before.emplace_back(p, p + b.size);
    }
    s32 music_in_loop = -1;
    in_loop = [&] {
        music_in_loop = mssw_music_id;
        for (s32 i = 0; i < STATE_BLOCK_COUNT; ++i)
            EXPECT_EQ(std::memcmp(state_blocks[i].data, before[i].data(), state_blocks[i].size), 0)
                << state_blocks[i].name;
    };
    open_world_start(2);
    EXPECT_EQ(loop_calls, 1);
    EXPECT_EQ(music_in_loop, OTHER_TRACK);
    EXPECT_EQ(u32{world_state.cursor_id}, 0u);
}

TEST_F(OpenWorldTest, AnyOtherRouteStartsNothing) {
    for (s32 route : {0, 4, -1}) open_world_start(route);
    EXPECT_EQ(loop_calls, 0);
    EXPECT_EQ(hub_block.calendar_turn, 0);
    EXPECT_FALSE(in_use(600));
}

// ---- The build ----------------------------------------------------------------------------------

TEST_F(OpenWorldTest, BuildRestoresThePlayerAndStartsTheClock) {
    player_record.poison = 40;
    player_record.hp_max = 500;
    player_record.hp = 1;
    player_record.mp_max = 300;
    player_record.mp = 0;
    world_state.frames_per_minute = 0;
    open_world_build();
    EXPECT_EQ(player_record.poison, 0);
    EXPECT_EQ(player_record.hp, 500);
    EXPECT_EQ(player_record.mp, 300);
    EXPECT_EQ(world_state.frames_per_minute, 30);
    EXPECT_EQ(player_record.clock_rate_copy, 30);
    EXPECT_EQ(world_state.field_active, 1);
    EXPECT_EQ(loop_calls, 0);
}

TEST_F(OpenWorldTest, BuildClearsTheCalendarAwayAndShowsWhatComesBack) {
    std::memset(object_table, 0, sizeof object_table);
    for (s32 obj = 1120; obj <= 1140; ++obj) make_shown(obj);
    // Kept in the state their episodes left; the portal to the feud ground closes.
    for (s32 obj : {3642, 3643, 3644, 3645, 3000, 1060, 1061, 1062, 273}) make_shown(obj);
    attr_set(1060, ATTR_ACTIVE, 0);
    open_world_build();

    for (s32 obj = 1123; obj <= 1131; ++obj) EXPECT_TRUE(active(obj)) << obj;
    for (s32 obj : {1122, 1132, 1133, 1134, 1135, 1136, 3642, 3645, 3000})
        EXPECT_FALSE(active(obj)) << obj;
    for (s32 obj : {3643, 3644, 1060, 1061}) EXPECT_TRUE(active(obj)) << obj;
    EXPECT_EQ(attr_get(1062, ATTR_BLOCK), 1);
    EXPECT_EQ(attr_get(273, ATTR_EVENT), 1052);
    // A listed number that nobody created stays an empty record.
    static const ObjectRecord empty{};
    EXPECT_EQ(std::memcmp(&object_table[3010], &empty, sizeof empty), 0);
    // Shared persons by their kinds: a hidden one, a prop, a timer, a bed area, an item spot.
    EXPECT_FALSE(active(2220));
    EXPECT_EQ(attr_get(2321, ATTR_EVENT), 7);
    EXPECT_EQ(attr_get(2321, ATTR_CLICK), 0);
    EXPECT_EQ(attr_get(2319, ATTR_EVENT), 1619);
    EXPECT_EQ(attr_get(2319, ATTR_TIMER), 5);
    EXPECT_EQ(attr_get(2455, ATTR_EVENT), 1052);
    EXPECT_EQ(attr_get(2455, ATTR_LAYER), 0);
    EXPECT_TRUE(in_use(2592));
    EXPECT_FALSE(active(2592));
    EXPECT_EQ(attr_get(2592, ATTR_BLOCK), 1);
}

TEST_F(OpenWorldTest, DoorsComeInPairsThatLeadBack) {
    open_world_build();
    EXPECT_FALSE(in_use(682));
    EXPECT_FALSE(in_use(683));
    EXPECT_TRUE(in_use(694));
    EXPECT_FALSE(active(694));
    // Step-area shapes 3300 + n, but for the swapped and exchanged pairs.
    const std::map<s32, s32> shapes = {{602, 3903}, {603, 3902}, {606, 3907}, {607, 3906},
                                       {666, 3968}, {667, 3969}, {668, 3966}, {669, 3967}};
    s32 pairs = 0;
    for (s32 n = OPEN_WORLD_DOOR_FIRST; n < OPEN_WORLD_DOOR_LAST; n += 2) {
        if (n == 682) continue;
        SCOPED_TRACE(n);
        ++pairs;
        EXPECT_EQ(attr_get(n, ATTR_DEST_MAP), attr_get(n + 1, ATTR_MAP));
        EXPECT_EQ(attr_get(n + 1, ATTR_DEST_MAP), attr_get(n, ATTR_MAP));
        EXPECT_NE(attr_get(n, ATTR_MAP), attr_get(n + 1, ATTR_MAP));
        for (s32 door : {n, n + 1}) {
            EXPECT_EQ(attr_get(door, ATTR_EVENT), 6) << door;
            const auto s = shapes.find(door);
            EXPECT_EQ(obj_get_frame(door), s == shapes.end() ? 3300 + door : s->second) << door;
            if (door != 694) {
                EXPECT_TRUE(active(door)) << door;
            }
        }
    }
    EXPECT_EQ(pairs, 48);
    // The city's pair with the travel map.
    EXPECT_EQ(attr_get(601, ATTR_VAR_A), 1112);
    EXPECT_EQ(attr_get(601, ATTR_VAR_B), 3795);
}

// ---- The rows' own rules
// --------------------------------------------------------------------------

s32 slot_by_number(s32 obj) {
    return obj < 2300 ? obj - 800 : obj - 700;
}

TEST(OpenWorldRows, EveryScriptSlotFollowsTheNumberRule) {
    const std::map<s32, s32> exceptions = {{2101, 1302}, {2102, 1301}, {2455, 1052}};
    std::vector<WorldRowSpan> spans(open_world_shared_parts,
                                    open_world_shared_parts + OPEN_WORLD_PICKS + 1);
    for (const OpenWorldPick& p : open_world_picks) {
        spans.push_back({&p.if_one, 1});
        spans.push_back({&p.otherwise, 1});
    }
    for (const OpenWorldRoute& r : open_world_routes) spans.push_back(r.objects);
    for (const WorldRowSpan& s : spans) {
        for (size_t i = 0; i < s.count; ++i) {
            const WorldRow& row = s.rows[i];
            if (!world_row_creates(row)) continue;
            SCOPED_TRACE(row.obj);
            const auto e = exceptions.find(row.obj);
            if (e != exceptions.end()) {
                EXPECT_EQ(row.event, e->second);
            } else if (row.obj >= 2580 && row.obj <= 2592) {
                EXPECT_EQ(row.event, 1830);
            } else if (row.event != 7) {
                EXPECT_EQ(row.event, slot_by_number(row.obj));
            }
            // Props (slot 7, not clickable) show no hover cursor but shape 0.
            if (row.event == 7 && row.clickable == 0) {
                EXPECT_EQ(row.cursor, 0);
            }
        }
    }
}

TEST(OpenWorldRows, RoutesCreateTheirStatedNumberOfObjectsOnce) {
    const size_t expected[OPEN_WORLD_ROUTES] = {106, 49, 39};
    for (s32 r = 0; r < OPEN_WORLD_ROUTES; ++r) {
        SCOPED_TRACE(r + 1);
        std::map<s32, s32> made;
        const WorldRowSpan& s = open_world_routes[r].objects;
        for (size_t i = 0; i < s.count; ++i)
            if (world_row_creates(s.rows[i])) ++made[s.rows[i].obj];
        EXPECT_EQ(made.size(), expected[r]);
        for (const auto& [obj, times] : made) EXPECT_EQ(times, 1) << obj;
    }
}

// Arrival points lie near the partner door: 80 of the 96 within 100 pixels on either axis, and
// none farther than door 601's 641.
TEST(OpenWorldRows, ArrivalPointsLieNearThePartnerDoor) {
    std::map<s32, const WorldRow*> doors;
    const WorldRowSpan& s = open_world_door_rows;
    for (size_t i = 0; i < s.count; ++i)
        if (s.rows[i].op == WR_PORTAL) doors[s.rows[i].obj] = &s.rows[i];
    ASSERT_EQ(doors.size(), 96u);
    s32 near = 0;
    s32 farthest = -1;
    s32 farthest_offset = 0;
    for (const auto& [n, row] : doors) {
        const WorldRow* partner = doors.at(n ^ 1);
        const s32 off =
            std::max(std::abs(row->dest_x - partner->x), std::abs(row->dest_y - partner->y));
        if (off <= 100) ++near;
        if (off > farthest_offset) {
            farthest_offset = off;
            farthest = n;
        }
    }
    EXPECT_EQ(near, 80);
    EXPECT_EQ(farthest, 601);
    EXPECT_EQ(farthest_offset, 641);
}

// ---- Through the city's door and back on the real field loop
// -------------------------------------

constexpr s32 CITY_MAP = 200;
constexpr s32 TRAVEL_MAP = 73;
constexpr s32 WATCHER = 4000;

class OpenWorldDoorWalkTest : public OpenWorldTest {
  protected:
    void add_content(ArcBuilder& b) const override {
        OpenWorldTest::add_content(b);
        world_put_player_images(b);
        world_put_map(
            b, CITY_MAP, 1280, 3968, [](s32, s32) { return WORLD_GROUND; }, 1);
        world_put_map(
            b, TRAVEL_MAP, 2560, 1920, [](s32, s32) { return WORLD_GROUND; }, 200);
        // The step areas of doors 600 and 601: 40 x 40 standing on the door's point.
        world_put_sprite(b, 3900, 40, 40, 20, 39, 0x7C00);
        world_put_sprite(b, 3901, 40, 40, 20, 39, 0x03E0);
    }
};

TEST_F(OpenWorldDoorWalkTest, ThroughDoor600ToTheTravelMapAndBackThrough601) {
    scripts_register_all();
    world_rows_run(open_world_door_rows.rows, open_world_door_rows.count);

    // Every map change the player makes, with the point of arrival; the walk on the travel map
    // starts once the player is there, and arriving back in the city ends the loop.
    struct Arrival {
        s32 map, x, y;
    };
    std::vector<Arrival> arrivals;
    s32 last_map = CITY_MAP;
    const s32 watcher = world_script([&] {
        attr_set(WATCHER, ATTR_TIMER, 1);
        if (world_state.current_map == last_map) return;
        last_map = world_state.current_map;
        arrivals.push_back({last_map, attr_get(0, ATTR_X), attr_get(0, ATTR_Y)});
        if (last_map == TRAVEL_MAP) world_hold_right_toward(2248, 1300, 8);
        if (last_map == CITY_MAP) world_state.field_active = 0;
    });
    world_place_object(WATCHER, CITY_MAP, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);

    world_place_player(CITY_MAP, 471, 3870);
    world_state.field_active = 1;
    world_hold_right_toward(471, 3600, 8); // north, across door 600's step area
    const WorldRun run = world_run_field(600);

    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    ASSERT_EQ(arrivals.size(), 2u);
    // Door 600 puts the player beside door 601 on the travel map (its second sprite set) ...
    EXPECT_EQ(arrivals[0].map, TRAVEL_MAP);
    EXPECT_EQ(arrivals[0].x, 2250);
    EXPECT_EQ(arrivals[0].y, 1521);
    // ... and door 601 leads back to the city.
    EXPECT_EQ(arrivals[1].map, CITY_MAP);
    EXPECT_EQ(arrivals[1].x, 1112);
    EXPECT_EQ(arrivals[1].y, 3795);
    EXPECT_EQ(u32{world_state.player_sprite_set}, 0u);
    EXPECT_EQ(player_record.area, 4); // the city's area
}

} // namespace
