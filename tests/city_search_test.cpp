// The city's search errand as the new game's population makes it: the three finds in every
// order, the meeting point held while the search runs and restored after it, the talks that
// follow by the errand's stage, the giver's tight guard and the frames these scripts show.
#include "scripts/towns/city_search.h"

#include "engine/world/object.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 GIVER = CITY_SEARCH_GIVER;
constexpr s32 COMPANION = 1080;
constexpr s32 POINT = CITY_SEARCH_MEETING_POINT;
constexpr s32 LAST = CITY_SEARCH_LAST_PERSON;
constexpr s32 OBJECTS[] = {1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, 1090, 1138, 1141};
constexpr s32 FAMILY[] = {1077, 1078, 1079};
constexpr s32 TURNED = 3;

std::string you(s32 text) {
    return sh_box(TURNED, 1000, text);
}
const std::string ACCEPT = "choose 3 1000 33436 33437 -> 0";

s32 stage(s32 obj) {
    return attr_get(obj, ATTR_VAR_A);
}
s32 active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE);
}

class CitySearch : public PopulatedScriptTest<OBJECTS> {
  protected:
    // The giver asked and accepted.
    static Lines accept() { return sh_click(GIVER, {0}); }
};

// ---- The finds -------------------------------------------------------------------------------

TEST_F(CitySearch, EveryOrderOfFindsGathersTheFamilyOnlyAtTheLast) {
    const std::array<s32, 3> orders[] = {{1073, 1074, 1076}, {1073, 1076, 1074},
                                         {1074, 1073, 1076}, {1074, 1076, 1073},
                                         {1076, 1073, 1074}, {1076, 1074, 1073}};
    for (const auto& order : orders) {
        SCOPED_TRACE(std::to_string(order[0]) + " " + std::to_string(order[1]) + " " +
                     std::to_string(order[2]));
        populate();
        EXPECT_EQ(accept(),
                  (Lines{sh_bubble(GIVER, 33433), you(33434), sh_bubble(GIVER, 33435), ACCEPT}));
        EXPECT_EQ(stage(GIVER), CITY_SEARCH_RUNNING);
        EXPECT_EQ(active(GIVER), 0);
        for (size_t i = 0; i < order.size(); ++i) {
            const s32 found = order[i];
            const bool last = i + 1 == order.size();
            Lines said{sh_bubble(COMPANION, 33441), sh_bubble(found, 33442)};
            if (last) {
                said.insert(said.end(),
                            {sh_bubble(GIVER, 33444), sh_bubble(GIVER, 33446), you(33447)});
            } else {
                said.push_back(sh_bubble(COMPANION, 33443));
            }
            EXPECT_EQ(sh_click(found), said) << "find " << i;
            EXPECT_EQ(active(found), 0);
            EXPECT_EQ(active(COMPANION), 0);
            EXPECT_EQ(inv_has(CITY_SEARCH_REWARD), last ? 1 : 0) << "find " << i;
            EXPECT_EQ(stage(GIVER), last ? CITY_SEARCH_GATHERED : CITY_SEARCH_RUNNING);
            for (const s32 kin : FAMILY) EXPECT_EQ(active(kin), last ? 1 : 0) << kin;
            EXPECT_EQ(active(GIVER), last ? 1 : 0);
        }
        EXPECT_EQ(attr_get(GIVER, ATTR_X), 2667);
        EXPECT_EQ(attr_get(GIVER, ATTR_Y), 2876);
        // A found person is not found twice: its click does nothing once the family gathered.
        EXPECT_EQ(sh_click(order[0]), Lines{});
    }
}

// ---- The meeting point -----------------------------------------------------------------------

TEST_F(CitySearch, MeetingPointIsHeldWhileSearchingAndRestoredByItsKeptStage) {
    struct Case {
        s32 stage;
        s32 active;
        s32 stage_after;
        s32 active_after;
    };
    const Case cases[] = {
        {0, 1, 0, 1},               // not met: back to 0
        {1, 1, 2, 1},               // met: stays barred
        {4, 1, 4, 0},               // a farewell stage: hidden with it
        {5, 1, 5, 0}, {0, 0, 0, 1}, // hidden at the acceptance: shown again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stage " + std::to_string(c.stage) + " active " + std::to_string(c.active));
        populate();
        attr_set(POINT, ATTR_VAR_A, c.stage);
        attr_set(POINT, ATTR_ACTIVE, c.active);
        accept();
        EXPECT_EQ(stage(POINT), CITY_SEARCH_HELD_STAGE);
        EXPECT_EQ(attr_get(POINT, ATTR_VAR_B), c.stage);
        EXPECT_EQ(active(POINT), 1);
        // Two found already: the next find is the last.
        attr_set(1073, ATTR_ACTIVE, 0);
        attr_set(1076, ATTR_ACTIVE, 0);
        sh_click(1074);
        ASSERT_EQ(stage(GIVER), CITY_SEARCH_GATHERED);
        EXPECT_EQ(stage(POINT), c.stage_after);
        EXPECT_EQ(active(POINT), c.active_after);
    }
}

// ---- Talks by the errand's stage -------------------------------------------------------------

TEST_F(CitySearch, TalksFollowTheErrandsStage) {
    struct Case {
        const char* name;
        s32 obj;
        s32 giver_stage;
        s32 stage_1138;
        Lines lines;
        s32 giver_after;
        s32 last_person_active; // 1141 afterwards
        s32 stage_1138_after;
        s32 answer = -1; // the choice taken, when the talk offers one
    };
    const Lines request{
        sh_bubble(1077, 33455), you(33456), sh_bubble(1078, 33457), sh_bubble(1079, 33458),
        sh_bubble(1077, 33459), you(33460), sh_bubble(1078, 33461), sh_bubble(1079, 33462)};
    const Lines exchange{sh_bubble(1079, 63947), sh_bubble(1078, 63948), sh_bubble(1079, 63949),
                         sh_box(3, 1000, 63950), sh_bubble(1078, 63951), sh_box(3, 1000, 63952),
                         sh_bubble(1078, 63953), sh_box(3, 1000, 63954), sh_bubble(1079, 63955),
                         sh_box(3, 1000, 63956), sh_bubble(1078, 63957), sh_box(3, 1000, 63958),
                         sh_bubble(1079, 63959)};
    const Case cases[] = {
        {"a sought before the errand", 1073, 0, 0, {sh_bubble(1073, 33432)}, 0, 0, 0},
        {"the giver declined",
         1075,
         0,
         0,
         {sh_bubble(GIVER, 33433), you(33434), sh_bubble(GIVER, 33435),
          "choose 3 1000 33436 33437 -> 1"},
         0,
         0,
         0,
         1},
        {"the giver's thanks", 1075, 2, 0, {sh_bubble(GIVER, 33448)}, 3, 0, 0},
        {"the giver at the request", 1075, 4, 0, {}, 4, 0, 0},
        {"the family gathered", 1078, 2, 0, {sh_bubble(1078, 33450)}, 3, 0, 0},
        {"the family thanked", 1079, 3, 0, {sh_bubble(1079, 33451)}, 3, 0, 0},
        {"the family's request", 1079, 4, 0, request, 5, 1, 0},
        {"the player sent", 1077, 5, 0, {sh_bubble(1077, 33463)}, 5, 0, 0},
        {"the exchange", 1078, 6, 1, exchange, 6, 0, 2},
        {"the exchange leaves 1138 past 1", 1079, 6, 3, exchange, 6, 0, 3},
        {"no exchange with 1077", 1077, 6, 1, {}, 6, 0, 1},
        {"after the exchange", 1079, 7, 0, {sh_bubble(1079, 63960)}, 7, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(GIVER, ATTR_VAR_A, c.giver_stage);
        attr_set(1138, ATTR_VAR_A, c.stage_1138);
        EXPECT_EQ(c.answer >= 0 ? sh_click(c.obj, {c.answer}) : sh_click(c.obj), c.lines);
        EXPECT_EQ(stage(GIVER), c.giver_after);
        EXPECT_EQ(active(LAST), c.last_person_active);
        EXPECT_EQ(stage(1138), c.stage_1138_after);
        if (c.giver_stage == 6 && c.obj != 1077) {
            EXPECT_EQ(stage(1078), 7);
            EXPECT_EQ(stage(1079), 7);
        }
    }
}

TEST_F(CitySearch, LastPersonBringsTheGiverBack) {
    attr_set(GIVER, ATTR_VAR_A, CITY_SEARCH_SENT);
    attr_set(GIVER, ATTR_ACTIVE, 0);
    attr_set(LAST, ATTR_ACTIVE, 1);
    const s32 frame = attr_get(LAST, ATTR_FRAME);
    EXPECT_EQ(sh_click(LAST),
              (Lines{sh_box(1, 1000, 33464), sh_box(1, 1000, 33465), sh_bubble(LAST, 33466),
                     sh_bubble(LAST, 33467), sh_box(1, 1000, 33468), sh_bubble(LAST, 33469)}));
    EXPECT_EQ(attr_get(LAST, ATTR_FRAME), frame);
    EXPECT_EQ(active(LAST), 0);
    EXPECT_EQ(stage(LAST), CITY_SEARCH_LAST_PERSON_DONE);
    EXPECT_EQ(stage(GIVER), CITY_SEARCH_THANKED);
    EXPECT_EQ(active(GIVER), 1);
}

// The giver talks from 100 px, where every other person of the city still would; farther off
// (110: the engine's square root is coarse) it only floats the remark.
TEST_F(CitySearch, GiverTalksOnlyFromWithin100Pixels) {
    EXPECT_EQ(sh_click(GIVER, {1}, 110), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(stage(GIVER), 0);
    const Lines near = sh_click(GIVER, {1}, 100);
    ASSERT_FALSE(near.empty());
    EXPECT_EQ(near.front(), sh_bubble(GIVER, 33433));
}

TEST_F(CitySearch, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(city_search_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
