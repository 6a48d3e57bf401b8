// Town A's day on the script harness, over the objects of a new game's world: the presentation's
// score by hour and growth with its outcome and rewards, the 11:00 scene (its first line by map,
// a lost fight changing only one line, played once), the close of the day with and without the
// gift, the arrival, a presentation in the frame the clock reaches 15:00, and the pictures of
// every frame the scenes show.
#include "scripts/towns/town_a_director.h"

#include "data/hub_block.h"
#include "engine/gisk.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_populate.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 DIRECTOR = TOWN_A_DIRECTOR_OBJ;
constexpr s32 ARRIVAL = TOWN_A_ARRIVAL_OBJ;
constexpr s32 HOST = TOWN_A_HOST_OBJ;
constexpr s32 GUEST = TOWN_A_GUEST_OBJ;
constexpr s32 FRIEND = TOWN_A_FRIEND_OBJ;
constexpr s32 GIFT = TOWN_A_GIFT_ITEM;
constexpr s32 OUTCOME = TOWN_A_OUTCOME_FLAG;

bool has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
Lines talk() {
    return sh_only(sh_lines(), {"say", "choose"});
}
s32 known_level(s32 list, s32 id) {
    for (const KnownEntry& e : player_record.known[list])
        if (e.id == id) return e.level;
    return -1;
}

class TownADirector : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            world_put_map(b, 102, 2048, 2048, ground, 300);
            for (const s32 map : {103, 123, 183, 193}) world_put_map(b, map, 640, 480, ground, 400);
        });
        scripts_register_all();
        reset();
    }
    // A new game's world at the start of the walk: the player at the gate of map 102 at 10:00.
    static void reset() {
        init_player();
        obj_clear_all();
        world_populate();
        // Only the script under test runs on the frame stepper.
        for (s32 obj = 1; obj < OBJECT_COUNT; obj++) attr_set(obj, ATTR_TIMER_ON, 0);
        sh_player(385, 799, 102);
        sh_clock(10, 0);
        world_state.field_active = 1;
    }
    // The director's own frame, as the field loop fires it.
    static void director() {
        attr_set(DIRECTOR, ATTR_ACTIVE, 1);
        sh_fire(DIRECTOR, TRIG_TIMER);
    }
};

// ---- The presentation ------------------------------------------------------------------------

TEST_F(TownADirector, ThePresentationScoresTheHourAndGrowthAndDecidesTheDay) {
    struct Case {
        s32 hour, growth;
        s32 verdict; // 409's line
        s32 outcome; // story_flag_84
    };
    const Case cases[] = {
        {13, 0, 16604, 1},  {13, 50, 16603, 1}, {14, 24, 16604, 2}, {14, 25, 16604, 1},
        {14, 75, 16603, 1}, {15, 49, 16606, 2}, {15, 50, 16605, 1}, {16, 74, 16605, 2},
        {16, 75, 16605, 1}, {16, 25, 16606, 2},
    };
    const s32 verdicts[] = {16603, 16604, 16605, 16606};
    for (const Case& c : cases) {
        SCOPED_TRACE("hour " + std::to_string(c.hour) + ", growth " + std::to_string(c.growth));
        init_player();
        hub_block.turn_events_after[151] = -1;
        player_record.story_flags[52] = 1;
        player_record.skill[23] = c.growth;
        player_record.affection[87] = 10;
        inv_add(GIFT, 1);
        sh_clock(c.hour, 30);
        world_state.field_active = 1;
        sh_clear_lines();
        town_a_presentation();
        const Lines said = talk();
        for (const s32 v : verdicts) EXPECT_EQ(has(said, sh_bubble(GUEST, v)), v == c.verdict) << v;
        EXPECT_EQ(player_record.story_flags[OUTCOME], c.outcome);
        EXPECT_EQ(inv_has(GIFT), 0);
        EXPECT_EQ(world_state.field_active, 0);
        const bool pleased = c.outcome == 1;
        EXPECT_EQ(hub_block.turn_events_after[151], pleased ? 211 : -1);
        EXPECT_EQ(known_has(23, 52), pleased ? 1 : 0);
        EXPECT_EQ(player_record.affection[87] > 10, pleased);
        ASSERT_FALSE(said.empty());
        // The good end closes on person 87's line, the other on the parting talk.
        EXPECT_EQ(said.back(), pleased ? sh_box(3, 1087, 58890) : sh_box(1, 1087, 58941));
        EXPECT_EQ(has(said, sh_bubble(GUEST, 58932)), !pleased);
    }
}

TEST_F(TownADirector, TheGoodEndWritesTheScheduleOnlyAfterTheEarlierEventAndSetsTheArtTo40) {
    struct Case {
        s32 flag52;
        s32 level_before; // -1: art 52 not known
        s32 schedule;     // turn_events_after[151] afterwards
    };
    const Case cases[] = {{1, -1, 211}, {0, -1, -1}, {2, 60, -1}, {1, 10, 211}};
    for (const Case& c : cases) {
        SCOPED_TRACE("flag 52 " + std::to_string(c.flag52) + ", level " +
                     std::to_string(c.level_before));
        init_player();
        hub_block.turn_events_after[151] = -1;
        player_record.story_flags[52] = c.flag52;
        if (c.level_before >= 0) {
            known_add(23, 52);
            for (KnownEntry& e : player_record.known[23])
                if (e.id == 52) e.level = c.level_before;
        }
        const s32 level_of_free_entry = player_record.known[23][0].level;
        inv_add(GIFT, 1);
        sh_clock(12, 0);
        town_a_presentation();
        EXPECT_EQ(player_record.story_flags[OUTCOME], 1);
        EXPECT_EQ(hub_block.turn_events_after[151], c.schedule);
        EXPECT_EQ(known_level(23, 52), c.level_before >= 0 ? 40 : level_of_free_entry);
    }
}

// ---- The 11:00 scene -------------------------------------------------------------------------

TEST_F(TownADirector, TheElevenOClockScenePlaysOnceAndALostFightChangesOnlyTheLine) {
    struct Case {
        s32 map;    // where the player is at 11:00
        s32 result; // battle 77
        std::string first, fight;
    };
    const Case cases[] = {
        {102, 1, sh_box(3, 1000, 25962), sh_box(1, 1156, 58659)},
        {103, 0, sh_bubble(GUEST, 25963), sh_box(1, 1156, 58658)},
        {193, 2, sh_box(3, 1000, 25962), sh_box(1, 1156, 58659)},
    };
    std::vector<std::vector<s32>> after; // the day's stages and switches after each case
    for (const Case& c : cases) {
        SCOPED_TRACE("map " + std::to_string(c.map) + ", result " + std::to_string(c.result));
        reset();
        sh_player(400, 320, c.map);
        sh_clock(11, 0);
        sh_battle_results({c.result});
        sh_clear_lines();
        sh_clear_calls();
        director();
        const Lines said = talk();
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.front(), c.first);
        EXPECT_TRUE(has(said, c.fight));
        EXPECT_FALSE(has(said, c.result == 0 ? sh_box(1, 1156, 58659) : sh_box(1, 1156, 58658)));
        EXPECT_EQ(said.back(), sh_box(3, 1000, 25719));
        EXPECT_EQ(sh_calls(), std::vector<std::string>{"battle 77 -> " + std::to_string(c.result)});
        EXPECT_EQ(world_state.minute, 1);
        EXPECT_EQ(world_state.field_active, 1);
        after.push_back({script_stage(HOST), script_stage(GUEST), script_stage(FRIEND),
                         script_stage(485), script_stage(415), script_stage(416), script_stage(429),
                         script_stage(430), script_stage(504), attr_get(512, ATTR_ACTIVE),
                         attr_get(FRIEND, ATTR_MAP), attr_get(GUEST, ATTR_MAP),
                         attr_get(491, ATTR_ACTIVE), attr_get(492, ATTR_ACTIVE),
                         player_record.story_flags[OUTCOME]});
        // The next director frames of the same minute play nothing.
        sh_clear_lines();
        director();
        director();
        EXPECT_TRUE(talk().empty());
        EXPECT_EQ(sh_calls().size(), 1u);
    }
    const std::vector<s32> expected = {4, 4, 2, 2, 1, 1, 1, 1, 1, 0, 183, 193, 0, 0, 0};
    for (const auto& a : after) EXPECT_EQ(a, expected);
}

// ---- The close of the day --------------------------------------------------------------------

TEST_F(TownADirector, TheCloseFromThreeOClockEndsTheWalkWithOrWithoutTheGift) {
    struct Case {
        s32 map, hour, growth;
        bool gift;
        std::string call; // the player's first line
        s32 outcome;
    };
    const Case cases[] = {
        {102, 15, 100, false, sh_box(3, 1000, 16609), 2},
        {193, 15, 100, false, sh_box(3, 1000, 16608), 2},
        {103, 15, 50, true, sh_box(3, 1000, 16608), 1},
        {102, 15, 49, true, sh_box(3, 1000, 16609), 2},
        {102, 16, 75, true, sh_box(3, 1000, 16609), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("map " + std::to_string(c.map) + ", " + std::to_string(c.hour) +
                     (c.gift ? ":00 with the gift" : ":00 without the gift"));
        reset();
        sh_player(400, 320, c.map);
        sh_clock(c.hour, 7);
        player_record.skill[23] = c.growth;
        if (c.gift) inv_add(GIFT, 1);
        sh_clear_lines();
        director();
        const Lines said = talk();
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.front(), c.call);
        // Without the gift the guest answers with 16611 and the parting talk follows.
        EXPECT_EQ(has(said, sh_bubble(GUEST, 16611)), !c.gift);
        EXPECT_EQ(has(said, sh_bubble(GUEST, 25836)), c.gift);
        EXPECT_EQ(has(said, sh_bubble(GUEST, 58932)), c.outcome == 2);
        EXPECT_EQ(player_record.story_flags[OUTCOME], c.outcome);
        EXPECT_EQ(world_state.field_active, 0);
        EXPECT_EQ(attr_get(DIRECTOR, ATTR_ACTIVE), 0);
        EXPECT_EQ(inv_has(GIFT), 0);
    }
}

// The player's presentation and the director's first frame from 15:00 fall in one pass: the
// presentation ends the walk, and the director, later in the pass, must not run the close and
// overwrite the outcome.
TEST_F(TownADirector, APresentationInTheFrameTheClockReachesThreeKeepsItsOutcome) {
    const s32 presenting = sh_script([] {
        if (script_stage(script_self()) == 5 && inv_has(GIFT)) town_a_presentation();
    });
    attr_set(GUEST, ATTR_EVENT, presenting);
    attr_set(GUEST, ATTR_ACTIVE, 1);
    script_set_stage(GUEST, 5);
    for (const s32 obj : {GUEST, DIRECTOR}) {
        attr_set(obj, ATTR_ACTIVE, 1);
        attr_set(obj, ATTR_TIMER, 1);
        attr_set(obj, ATTR_TIMER_ON, 1);
    }
    player_record.skill[23] = 50; // 90 at 15:00
    inv_add(GIFT, 1);
    sh_clock(15, 0);
    sh_clear_lines();
    EXPECT_EQ(sh_frames(3), 1);
    const Lines said = talk();
    EXPECT_TRUE(has(said, sh_bubble(GUEST, 16605)));
    EXPECT_FALSE(has(said, sh_box(3, 1000, 16609)));
    EXPECT_FALSE(has(said, sh_box(0, 1000, 16612)));
    EXPECT_EQ(player_record.story_flags[OUTCOME], 1);
}

// ---- The arrival -----------------------------------------------------------------------------

TEST_F(TownADirector, TheArrivalLeavesThePairAtHomeAndPerson87AtTheInnOnlyWhileTheWalkRuns) {
    attr_set(ARRIVAL, ATTR_ACTIVE, 1);
    world_state.field_active = 0;
    sh_fire(ARRIVAL, TRIG_TIMER);
    EXPECT_TRUE(talk().empty());
    EXPECT_EQ(attr_get(ARRIVAL, ATTR_ACTIVE), 1);

    world_state.field_active = 1;
    sh_fire(ARRIVAL, TRIG_TIMER);
    const Lines said = talk();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front(), sh_box(0, 1000, 25850));
    EXPECT_EQ(said.back(), sh_box(2, 1000, 58592));
    EXPECT_EQ(attr_get(ARRIVAL, ATTR_ACTIVE), 0);
    EXPECT_FALSE(obj_get_frame(0) >= 38080 && obj_get_frame(0) <= 38086); // the bow is over
    EXPECT_EQ(obj_get_frame(GUEST), 38458);
    EXPECT_EQ(
        std::vector<s32>({attr_get(HOST, ATTR_MAP), script_stage(HOST), attr_get(HOST, ATTR_SHADOW),
                          attr_get(GUEST, ATTR_MAP), attr_get(516, ATTR_ACTIVE),
                          attr_get(FRIEND, ATTR_MAP), attr_get(FRIEND, ATTR_ACTIVE)}),
        std::vector<s32>({103, 9, 0, 103, 1, 123, 1}));
}

// ---- Pictures --------------------------------------------------------------------------------

TEST(TownADirectorPlaceholders, EveryFrameTheScenesShowHasAPicture) {
    const FramesShown shown = frames_shown(town_a_director_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
