// The city's story scenes as the new game's population makes them: the gang's wordings with and
// without the fight and its three results, the meeting point at each of its stages (its farewell
// closes the trial rooms), the group meeting's three answers, the ferryman's two crossings, the
// way out of the caves with and without the trials passed, and the frames these scenes show.
#include "scripts/towns/city_scenes.h"

#include "data/roster.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 OBJECTS[] = {
    999,  1003, 1004, 1005, 1006, 1008, 1034, 1044, 1058, 1059, 1060, 1061, 1062,
    1066, 1081, 1082, 1083, 1084, 1090, 1101, 1102, 1103, 1123, 1124, 1127, 1128,
    1136, 1142, 1143, 1383, 1385, 1402, 1407, 1440, 1441, 1448, 1453, 1097, 1145,
};

bool has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
s32 held(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}
s32 active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE);
}
bool near(s32 obj, s32 x, s32 y) {
    return std::abs(attr_get(obj, ATTR_X) - x) <= 7 && std::abs(attr_get(obj, ATTR_Y) - y) <= 7;
}

class CityScenes : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            world_put_map(b, 200, 2048, 3072, ground, 300);
            world_put_map(b, 99, 1280, 1280, ground, 500);
            s32 zone = 600;
            for (const s32 map : {162, 208, 211, 213, 220}) {
                world_put_map(b, map, 640, 480, ground, zone);
                zone += 20;
            }
            world_put_map(b, 226, 1600, 640, ground, 900);
            world_put_map(b, 227, 1600, 1280, ground, 950);
        });
        scripts_register_all();
        reset();
    }
    static void reset() {
        init_player();
        sh_populate(OBJECTS);
        world_state.field_active = 1;
    }
    // Fires obj's script with the player on obj's map at (x, y); returns what was said.
    static Lines step(s32 obj, s32 x, s32 y) {
        sh_player(x, y, attr_get(obj, ATTR_MAP));
        sh_clear_lines();
        sh_clear_calls();
        sh_fire(obj, TRIG_STEP);
        return sh_only(sh_lines(), {"say", "choose"});
    }
};

// ---- The gang --------------------------------------------------------------------------------

TEST_F(CityScenes, TheGangFightsOrNotByItsWordingAndIsGoneWhateverTheOutcome) {
    // The first line and whether a fight follows, by wording.
    struct Wording {
        std::string first;
        bool fights;
    };
    const Wording wordings[] = {
        {sh_box(2, 1000, 34530), false}, {sh_box(2, 1000, 34560), true},
        {sh_box(3, 1177, 34580), true},  {sh_box(2, 1000, 34600), false},
        {sh_box(2, 1000, 34640), true},  {sh_box(3, 1177, 34670), true},
    };
    for (const s32 flag11 : {0, 1, 2})
        for (const bool asked : {true, false})
            for (const s32 result : {0, 1, 2}) {
                SCOPED_TRACE("flag 11 = " + std::to_string(flag11) + (asked ? ", asked" : "") +
                             ", battle " + std::to_string(result));
                reset();
                player_record.story_flags[11] = flag11;
                attr_set(1066, ATTR_VAR_A, asked ? 2 : 1);
                sh_battle_results({result});
                const s32 fame = player_record.fame;
                const s32 v = city_gang_variant(flag11, asked);
                const Lines lines = step(CITY_GANG_ZONE, 345, 410);

                ASSERT_FALSE(lines.empty());
                EXPECT_EQ(lines.front(), wordings[v].first);
                const Lines battle{"battle 35 -> " + std::to_string(result)};
                EXPECT_EQ(sh_only(sh_calls(), {"battle"}), wordings[v].fights ? battle : Lines{});
                const bool won = !wordings[v].fights || result == 1;
                EXPECT_EQ(held(2351), won ? 1 : 0);
                EXPECT_EQ(player_record.fame - fame, won ? 3 : 0);
                EXPECT_EQ(world_state.current_map, won ? 208 : 220);
                if (won) {
                    EXPECT_EQ(lines.back(), sh_box(3, 1177, v < 3 ? 34559 : 34631));
                    EXPECT_EQ(has(lines, sh_box(3, 1124, 34627)), v == 3 || v == 4);
                } else {
                    const Lines found{sh_box(2, 1000, 34702), sh_bubble(1034, 34703),
                                      sh_box(2, 1000, 34704)};
                    EXPECT_EQ(Lines(lines.end() - 3, lines.end()), found);
                }
                for (const s32 o : {1044, 1003, 1004, 1005, 1006}) EXPECT_EQ(active(o), 0) << o;
            }
}

TEST_F(CityScenes, TheGangFightHealsTheCompanionsAndTheGangWhateverTheResult) {
    sh_battle_results({0});
    sh_on_call("battle", [] {
        for (const s32 p : {150, 177}) roster[p].hp = 1;
    });
    step(CITY_GANG_ZONE, 345, 410);
    for (const s32 p : {150, 177}) EXPECT_EQ(roster[p].hp, roster[p].hp_max) << p;
}

// ---- The meeting point -----------------------------------------------------------------------

TEST_F(CityScenes, TheMeetingPointPlaysEachStage) {
    // Stage 0: the companions walk out and the point moves up to block the way.
    attr_set(CITY_MEETING_POINT, ATTR_VAR_A, MEETING_NOT_MET);
    Lines lines = step(CITY_MEETING_POINT, 1262, 2549);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], sh_bubble(1008, 33000));
    EXPECT_EQ(lines[1], sh_box(2, 1000, 33001));
    EXPECT_EQ(lines[7], sh_bubble(1008, 33007));
    EXPECT_EQ(lines[18], sh_box(2, 1000, 33018));
    EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_VAR_A), MEETING_MET);
    EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_BLOCK), 1);
    EXPECT_TRUE(near(CITY_MEETING_POINT, 1292, 2488));
    EXPECT_TRUE(near(0, 1389, 2561));
    EXPECT_TRUE(near(1059, 1292, 2640));
    EXPECT_TRUE(near(1058, 1353, 2654));
    EXPECT_EQ(active(1058) + active(1059), 2);

    // Stage 1: one line, still blocking.
    EXPECT_EQ(step(CITY_MEETING_POINT, 1292, 2540), Lines{sh_box(2, 1150, 33019)});
    EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_VAR_A), MEETING_MET);

    // Stage 2: 1008 bars the way; the stage stays.
    attr_set(CITY_MEETING_POINT, ATTR_VAR_A, MEETING_BARRED);
    EXPECT_EQ(step(CITY_MEETING_POINT, 1292, 2540),
              (Lines{sh_bubble(1008, 33000), sh_box(2, 1000, 25300)}));
    EXPECT_TRUE(near(0, 1249, 2693));
    EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_VAR_A), MEETING_BARRED);
    EXPECT_EQ(active(CITY_MEETING_POINT), 1);

    // Stage 3: the point is gone.
    attr_set(CITY_MEETING_POINT, ATTR_VAR_A, MEETING_CLOSED);
    EXPECT_EQ(step(CITY_MEETING_POINT, 1292, 2540), Lines{});
    EXPECT_EQ(active(CITY_MEETING_POINT), 0);
}

TEST_F(CityScenes, TheFarewellSaysItsLinesByTheTrialsAndClosesTheTrialRooms) {
    struct Case {
        s32 stage;
        Lines lines;
    };
    const Case cases[] = {
        {MEETING_FAREWELL_PASSED,
         {sh_box(2, 1000, 33025), sh_box(2, 1150, 33026), sh_box(2, 1000, 33027),
          sh_box(2, 1152, 33028), sh_box(2, 1000, 33029), sh_box(2, 1150, 33030),
          sh_box(2, 1000, 33031), sh_box(2, 1152, 33032), sh_box(2, 1150, 33033),
          sh_box(2, 1152, 33034), sh_box(2, 1150, 33035)}},
        {MEETING_FAREWELL_FAILED,
         {sh_box(2, 1150, 33084), sh_box(2, 1152, 33085), sh_box(2, 1000, 33086),
          sh_box(2, 1152, 33087)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stage " + std::to_string(c.stage));
        reset();
        attr_set(CITY_MEETING_POINT, ATTR_X, 1292);
        attr_set(CITY_MEETING_POINT, ATTR_Y, 2488);
        attr_set(CITY_MEETING_POINT, ATTR_BLOCK, 1);
        attr_set(CITY_MEETING_POINT, ATTR_VAR_A, c.stage);
        for (const s32 o : {1058, 1059}) {
            attr_set(o, ATTR_ACTIVE, 1);
            attr_set(o, ATTR_X, 1340);
            attr_set(o, ATTR_Y, 2600);
        }
        EXPECT_EQ(step(CITY_MEETING_POINT, 1292, 2540), c.lines);
        for (const s32 o : {1058, 1059}) {
            EXPECT_EQ(active(o), 0) << o;
            EXPECT_EQ(attr_get(o, ATTR_MAP), 200) << o;
            EXPECT_TRUE(near(o, 1292, 2540)) << o << " walked into the player";
        }
        EXPECT_EQ(active(CITY_MEETING_POINT), 0);
        EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_BLOCK), 0);
        EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_X), 1262);
        EXPECT_EQ(attr_get(CITY_MEETING_POINT, ATTR_Y), 2549);
        for (const s32 o : {1123, 1124, 1127, 1128}) EXPECT_EQ(active(o), 1) << o;
        for (const s32 o : {1383, 1385}) EXPECT_EQ(active(o), 0) << o;
    }
}

// ---- The west edge ---------------------------------------------------------------------------

TEST_F(CityScenes, TheWestEdgeSpeaksThroughItsResidentWhoGoesOnAsItWas) {
    obj_set_frame(1060, -43712);
    EXPECT_EQ(step(1062, 300, 1640), Lines{sh_bubble(1060, 34900)});
    EXPECT_EQ(obj_get_frame(1060), -43712);
    EXPECT_EQ(active(1062), 1);
}

// ---- The group on map 213 --------------------------------------------------------------------

TEST_F(CityScenes, TheGroupMeetingsAnswersChangeChivalryAndClearMap213) {
    const s32 gains[] = {3, 1, -2};
    for (s32 answer = 0; answer < 3; ++answer) {
        SCOPED_TRACE("answer " + std::to_string(answer));
        reset();
        player_record.chivalry = 50;
        sh_answers({answer});
        const Lines lines = step(CITY_GROUP_ZONE, 231, 328);
        EXPECT_EQ(player_record.chivalry, 50 + gains[answer]);
        ASSERT_GE(lines.size(), 17u);
        EXPECT_EQ(lines[0], sh_box(1, 1043, 33151));
        EXPECT_EQ(lines[2], sh_box(3, 1046, 33153));
        EXPECT_EQ(lines[15], "choose 0 1000 33166 33167 33168 -> " + std::to_string(answer));
        EXPECT_EQ(lines[16], sh_box(0, 1000, 33169 + 4 * answer));
        EXPECT_EQ(lines.back(), sh_box(3, 1046, 33182));
        EXPECT_EQ(player_record.story_flags[95], 1);
        for (const s32 o : {1058, 1059}) {
            EXPECT_EQ(active(o), 0) << o;
            EXPECT_EQ(attr_get(o, ATTR_MAP), 200) << o;
        }
        for (const s32 o : {1062, 1084, 1081, 1082, 1083, 1101, 1102, 1103, 1060, 1061})
            EXPECT_EQ(active(o), 0) << o;
    }
}

// ---- The ferryman ----------------------------------------------------------------------------

TEST_F(CityScenes, TheFerrymanTakesThePlayerAcrossAndBackInTurn) {
    struct Crossing {
        Lines lines;
        s32 map, x, y;        // where the player lands
        s32 ferry_x, ferry_y; // where the ferryman waits then
        s32 stage;
    };
    const Crossing crossings[] = {
        {{sh_box(3, 1000, 33127), sh_bubble(CITY_FERRYMAN, 33128)}, 227, 161, 754, 61, 648, 1},
        {{sh_box(3, 1000, 33133), sh_bubble(CITY_FERRYMAN, 33134)}, 226, 1204, 357, 1100, 300, 0},
        {{sh_box(3, 1000, 33127), sh_bubble(CITY_FERRYMAN, 33128)}, 227, 161, 754, 61, 648, 1},
    };
    sh_player(1200, 300, 226);
    for (const Crossing& c : crossings) {
        obj_set_frame(CITY_FERRYMAN, 46702);
        EXPECT_EQ(sh_click(CITY_FERRYMAN), c.lines);
        EXPECT_EQ(world_state.current_map, c.map);
        EXPECT_TRUE(near(0, c.x, c.y));
        EXPECT_EQ(attr_get(CITY_FERRYMAN, ATTR_MAP), c.map);
        EXPECT_TRUE(near(CITY_FERRYMAN, c.ferry_x, c.ferry_y));
        EXPECT_EQ(attr_get(CITY_FERRYMAN, ATTR_VAR_A), c.stage);
        EXPECT_EQ(obj_get_frame(CITY_FERRYMAN), 46702) << "the frame from before the click";
    }
}

// ---- The way out of the caves ----------------------------------------------------------------

class CityCaveExit : public CityScenes {
  protected:
    Lines leave(s32 trials) {
        player_record.story_flags[97] = trials;
        fame = player_record.fame;
        return step(CITY_CAVE_EXIT, 395, 264);
    }
    s32 fame = 0;
};

TEST_F(CityCaveExit, WithoutTheTrialsTheEpisodeEndsWellAfterTheLastLine) {
    const Lines lines = leave(0);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(player_record.story_flags[98], 1);
    EXPECT_EQ(player_record.fame - fame, 30);
    EXPECT_EQ(album_has(4), 1);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), sh_box(2, 1000, 25604));
    EXPECT_FALSE(has(lines, sh_box(2, 1150, 25605)));
    EXPECT_TRUE(has(lines, sh_box(2, 1163, 18128)));
    EXPECT_TRUE(has(lines, sh_box(3, 1000, 18135)));
    EXPECT_EQ(world_state.current_map, 99);
    // The cave is cleared, the visitor has gone, and the zone itself stays (nothing hides it).
    for (const s32 o : {1440, 1441, 1448, 1453, 1402, 1407, 999, 1083, 1143})
        EXPECT_EQ(active(o), 0) << o;
    EXPECT_EQ(active(CITY_CAVE_EXIT), 1);
    for (const s32 o : {1058, 1059}) {
        EXPECT_EQ(active(o), 1) << o;
        EXPECT_EQ(attr_get(o, ATTR_MAP), 99) << o;
    }
    EXPECT_TRUE(near(1058, 736, 985));
    EXPECT_EQ(obj_get_frame(1058), 45222);
    EXPECT_EQ(obj_get_frame(1059), 45322);
    EXPECT_TRUE(near(999, 766, 1036));
}

TEST_F(CityCaveExit, WithTheTrialsTheFinalePlays) {
    const Lines lines = leave(1);
    EXPECT_EQ(player_record.story_flags[98], 1);
    EXPECT_EQ(player_record.fame - fame, 30);
    const auto at = std::find(lines.begin(), lines.end(), sh_box(2, 1000, 25604));
    ASSERT_NE(at, lines.end());
    ASSERT_GE(lines.end() - at, 5);
    EXPECT_EQ(Lines(at + 1, at + 5), (Lines{sh_box(2, 1150, 25605), sh_box(2, 1152, 25606),
                                            sh_box(2, 1150, 25607), sh_box(2, 1000, 25600)}));
    // The finale's own end: in the hall, its last line said, the episode over.
    EXPECT_EQ(lines.back(), sh_box(2, 1000, 33114));
    EXPECT_EQ(world_state.current_map, 227);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(active(1097), 0);
}

// ---- Frames ----------------------------------------------------------------------------------

TEST(CityScenesFrames, EveryFrameTheScenesShowHasAPlaceholderPicture) {
    const FramesShown shown = frames_shown(city_scenes_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
