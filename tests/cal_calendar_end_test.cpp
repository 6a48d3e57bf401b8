// The end of the calendar: which marks and redeeming deeds offer the second route, and the
// handler's paths to the open world (the farewell, the offer and its answers, the departure scene
// by the result of its fight, and a game saved in the open world going straight back to it).
#include "calendar/calendar_end.h"
#include "calendar/launchers.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/player.h"
#include "tests/calendar_fixture.h"
#include "tests/text_runs.h"

#include <initializer_list>
#include <vector>

namespace {

s32 route_started = -99;
void fake_open_world(s32 route) {
    route_started = route;
}

s32& flag(s32 n) {
    return player_record.story_flags[n];
}

class CalendarEndTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        open_world_before = launcher_open_world_seam;
        launcher_open_world_seam = fake_open_world;
        route_started = -99;
        for (s32& f : player_record.story_flags) f = 0;
        player_record.chivalry = 50;
    }
    void TearDown() override {
        launcher_open_world_seam = open_world_before;
        CalendarHandlerTest::TearDown();
    }
    void (*open_world_before)(s32) = nullptr;
};

TEST_F(CalendarEndTest, MarksAndRedeemingDeedsDecideTheOffer) {
    struct Case {
        s32 f94, f81, f27, f93, chivalry;
        bool offer;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, false},   // no mark, whatever the chivalry
        {0, 0, 0, 0, 100, false}, //
        {1, 0, 0, 0, 70, true},   // each mark alone
        {0, 3, 0, 0, 70, true},   //
        {0, 0, 1, 0, 0, true},    //
        {2, 4, 2, 0, 0, false},   // other values mark nothing
        {1, 0, 0, 0, 71, false},  // chivalry 71 redeems
        {1, 0, 1, 1, 0, false},   // flag 93 = 1 or 3 redeems
        {1, 0, 0, 3, 0, false},   //
        {1, 0, 0, 2, 0, true},    // 93 = 2 does not
        {1, 1, 0, 0, 0, false},   // flag 81 = 1 or 2 redeems
        {0, 2, 1, 0, 0, false},   //
        {1, 3, 1, 0, 70, true},   // every mark, nothing redeeming
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.f94 << " " << c.f81 << " " << c.f27 << " " << c.f93 << " " << c.chivalry);
        flag(94) = c.f94;
        flag(81) = c.f81;
        flag(27) = c.f27;
        flag(93) = c.f93;
        player_record.chivalry = c.chivalry;
        EXPECT_EQ(cal_end_offers_route_two(), c.offer);
    }
}

const std::vector<s32> FAREWELL =
    text_runs({62200, 62201, 62205, -62224, 62230, 62239, -62241, 62242, 62246});
const std::vector<s32> CLOSING =
    text_runs({62280, -62285, 62265, -62269, 62278, 62279, 62346, 62347});
const std::vector<s32> DEPARTURE_WON =
    text_join({text_runs({62250, 62249, 62180, 62181, 62182, -62185, 62276, 62277}), CLOSING});
const std::vector<s32> DEPARTURE_LOST = text_join(
    {text_runs({62250, 62255, -62262, 62264, 62270, -62275, 62276, 62277}), CLOSING, {26671}});

TEST_F(CalendarEndTest, RouteByOfferAndAnswers) {
    struct Case {
        const char* name;
        bool marked;
        std::vector<s32> answers;
        std::vector<s32> results; // battles 90 and 91
        std::vector<s32> texts;
        s32 route;
    };
    const Case cases[] = {
        {"no offer", false, {}, {0, 1}, text_join({FAREWELL, {62245}, DEPARTURE_WON}), 1},
        {"no offer, departure lost",
         false,
         {},
         {1, 0},
         text_join({FAREWELL, {62245}, DEPARTURE_LOST}),
         1},
        {"round limit counts as won",
         false,
         {},
         {2, 2},
         text_join({FAREWELL, {62245}, DEPARTURE_WON}),
         1},
        {"offer declined",
         true,
         {0},
         {0, 1},
         text_join({FAREWELL, {62243, 62244}, DEPARTURE_WON}),
         1},
        {"route 2 taken",
         true,
         {1, 0},
         {1},
         text_join({FAREWELL, text_runs({62243, 62244, 62340, 62341, 62342, 62343, 62344})}),
         2},
        {"route 2 given up at the last",
         true,
         {1, 1},
         {0, 0},
         text_join(
             {FAREWELL, text_runs({62243, 62244, 62340, 62341, 62342, 62343}), DEPARTURE_LOST}),
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (s32& f : player_record.story_flags) f = 0;
        flag(27) = c.marked ? 1 : 0;
        player_record.music_id = 10061;
        world_state.field_active = 0;
        route_started = -99;
        dialog_answers(c.answers);
        for (s32 r : c.results) battles({r});
        const size_t fights = fought().size();
        const size_t m = mark();
        run_slot(159);
        EXPECT_EQ(texts_from(m), c.texts);
        std::vector<s32> encounters(fought().begin() + long(fights), fought().end());
        EXPECT_EQ(encounters, c.route == 2 ? std::vector<s32>{CAL_END_FAREWELL_BATTLE}
                                           : (std::vector<s32>{CAL_END_FAREWELL_BATTLE,
                                                               CAL_END_DEPARTURE_BATTLE}));
        EXPECT_EQ(flag(STORY_ROUTE), c.route);
        EXPECT_EQ(route_started, c.route);
        EXPECT_EQ(player_record.music_id, 10061); // the closing piece is not the stored track
    }
}

TEST_F(CalendarEndTest, SavedInTheOpenWorldGoesStraightBack) {
    for (s32 route : {1, 2, 3, 0}) {
        SCOPED_TRACE(route);
        world_state.field_active = 1;
        flag(STORY_ROUTE) = route;
        route_started = -99;
        const size_t m = mark();
        run_slot(159);
        EXPECT_TRUE(texts_from(m).empty());
        EXPECT_EQ(route_started, route); // any other value starts nothing (open_world_start)
        EXPECT_EQ(flag(STORY_ROUTE), route);
    }
}

} // namespace
