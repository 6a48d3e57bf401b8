// The services that pose the player (the bath and the seat of map 10, the rest place of map 24),
// the attendant of the rest place and the pose loops, on the script harness.
#include "scripts/home/posed_services.h"

#include "engine/gisk.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/home/walker_quest.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/home_script_fixture.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 HOME = HOME_MAP;
constexpr s32 REST_MAP = 24;
constexpr s32 SIDE_MAP = REST_MAP;
constexpr s32 FRAME = -1000; // a check of obj_get_frame instead of an attribute
constexpr s32 QUEST = -2000; // a check of story flag 1

struct Check {
    s32 obj;
    s32 attr; // an ATTR_*, FRAME or QUEST
    s32 value;
};

void expect_checks(const std::vector<Check>& checks, const char* name) {
    for (const Check& c : checks) {
        if (c.attr == QUEST)
            EXPECT_EQ(walker_quest(), c.value) << name << ": quest flag";
        else if (c.attr == FRAME)
            EXPECT_EQ(obj_get_frame(c.obj), c.value) << name << ": frame of " << c.obj;
        else
            EXPECT_EQ(attr_get(c.obj, c.attr), c.value)
                << name << ": object " << c.obj << " attribute " << c.attr;
    }
}

class PosedServices : public ScriptTest {
  protected:
    void SetUp() override {
        home_start(SIDE_MAP);
        scripts_register_all();
        world_home();
    }
    // The objects of both services' maps as the world population makes them (timers off, so that
    // only the script under test runs).
    static void world_home() {
        sh_object(10,
                  {.map = HOME, .x = 2403, .y = 1290, .frame = 4252, .slot = 10, .click = true});
        sh_object(11,
                  {.map = HOME, .x = 2427, .y = 1046, .frame = 2100, .slot = 11, .click = true});
        sh_object(83, {.map = HOME,
                       .x = 2353,
                       .y = 1272,
                       .frame = 3044,
                       .slot = 40,
                       .layer = 0,
                       .click = true,
                       .cursor = 12});
        sh_object(96, {.map = HOME, .frame = 1300, .active = false});
        sh_object(97, {.map = HOME, .frame = 1301, .active = false});
        sh_object(111, {.map = REST_MAP,
                        .x = 477,
                        .y = 405,
                        .frame = 3059,
                        .slot = 45,
                        .layer = 0,
                        .click = true,
                        .cursor = 9});
        sh_object(112,
                  {.map = REST_MAP, .x = 292, .y = 324, .frame = 30000, .slot = 47, .click = true});
        sh_object(113, {.map = REST_MAP, .frame = 1311, .active = false});
        sh_object(114, {.map = REST_MAP, .frame = 1305, .active = false});
        for (const s32 o : {17, 18, 19, 21, 27})
            sh_object(o, {.map = REST_MAP, .x = 200 + 20 * o, .y = 300, .frame = 2100});
        sh_object(99, {.map = REST_MAP, .active = false});
    }
};

// ---- The services as one table of cases ------------------------------------------------------

// The distances of the checks are the engine's approximate square root: the cases out of reach
// stand well beyond the limits.
struct ServiceCase {
    const char* name;
    s32 obj;   // the object clicked
    s32 stage; // its stage before the click
    s32 map;   // the player's map and place before
    s32 px, py;
    std::function<void()> before; // further state (a pose, other stages)
    std::vector<s32> answers;
    Lines lines;
    s32 stage_after;
    s32 fatigue_after; // fatigue 600 and stamina 300 before every case
    s32 stamina_after;
    std::vector<Check> checks;
};

void posed(s32 slot, s32 x, s32 y, s32 frame, bool on_top) {
    pose_enter({.x = x, .y = y, .frame = frame, .slot = slot, .on_top = on_top});
}

TEST_F(PosedServices, EachServiceOffersHoldsAndReleasesThePlayer) {
    const std::vector<Check> posed_in_bath = {
        {0, ATTR_X, 2474},     {0, ATTR_Y, 1373},    {0, FRAME, 2648},     {0, ATTR_EVENT, 41},
        {0, ATTR_TIMER_ON, 1}, {0, ATTR_TIMER, 7},   {0, ATTR_LAYER, 2},   {0, ATTR_SHADOW, 0},
        {10, ATTR_VAR_A, 1},   {10, ATTR_X, 2403},   {10, ATTR_Y, 1290},   {10, FRAME, 4252},
        {10, ATTR_LAYER, 3},   {96, ATTR_ACTIVE, 1}, {97, ATTR_ACTIVE, 1},
    };
    const std::vector<Check> out_of_bath = {
        {0, ATTR_X, 2520},     {0, ATTR_Y, 1338},    {0, FRAME, 418},      {0, ATTR_EVENT, 0},
        {0, ATTR_TIMER_ON, 0}, {0, ATTR_LAYER, 3},   {0, ATTR_SHADOW, 1},  {10, ATTR_VAR_A, 2},
        {10, FRAME, 4252},     {96, ATTR_ACTIVE, 0}, {97, ATTR_ACTIVE, 0}, {10, ATTR_X, 2403},
    };
    auto in_bath = [] {
        posed(41, 2474, 1373, 2648, true);
        attr_set(96, ATTR_ACTIVE, 1);
        attr_set(97, ATTR_ACTIVE, 1);
    };
    auto awake = [] {
        posed(48, 550, 451, 2900, true);
        attr_set(112, ATTR_VAR_A, 1);
        attr_set(113, ATTR_ACTIVE, 1);
        attr_set(114, ATTR_ACTIVE, 1);
    };
    const std::vector<Check> got_up = {
        {0, ATTR_X, 514},      {0, ATTR_Y, 395},   {0, FRAME, -424},    {0, ATTR_EVENT, 0},
        {0, ATTR_TIMER_ON, 0}, {0, ATTR_LAYER, 3}, {0, ATTR_SHADOW, 1}, {112, ATTR_VAR_A, 2},
        {112, FRAME, 30000},   {112, ATTR_X, 292}, {112, ATTR_Y, 324},  {113, ATTR_ACTIVE, 0},
        {114, ATTR_ACTIVE, 0},
    };
    std::vector<Check> got_up_99_off = got_up;
    got_up_99_off.push_back({27, ATTR_VAR_A, 2});
    std::vector<Check> got_up_99_on = got_up;
    got_up_99_on.push_back({27, ATTR_VAR_A, 0});

    std::vector<Check> bath_taken = posed_in_bath;
    bath_taken.push_back({0, QUEST, QUEST_BATH_TAKEN});
    const Lines bath_offer = {"say_at 10 10151"};
    const Lines too_far = {"label 0 10000 -112 -108 2000"};
    auto then = [](Lines a, const Lines& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // clang-format off
    const ServiceCase cases[] = {
        // The bath of map 10: the walker speaks (the player down-right of it: position 3).
        {"bath taken", 83, 0, HOME, 2422, 1331, {}, {0},
         then(bath_offer, {"choose 3 1000 10233 10234 -> 0"}), 1, 600, 300, bath_taken},
        {"bath again later: the quest is only raised from 0", 83, 0, HOME, 2422, 1331,
         [] { player_record.story_flags[1] = QUEST_ITEM_HANDED; }, {0},
         then(bath_offer, {"choose 3 1000 10233 10234 -> 0"}), 1, 600, 300,
         {{0, QUEST, QUEST_ITEM_HANDED}, {0, ATTR_EVENT, 41}}},
        {"bath declined", 83, 0, HOME, 2422, 1331, {}, {1},
         then(bath_offer, {"choose 3 1000 10233 10234 -> 1"}), 0, 600, 300,
         {{0, ATTR_TIMER_ON, 0}, {10, ATTR_VAR_A, 0}, {10, FRAME, 4252}, {0, QUEST, 0}}},
        {"bath out of reach", 83, 0, HOME, 2422 + 160, 1331, {}, {}, too_far, 0, 600, 300,
         {{0, ATTR_TIMER_ON, 0}}},
        {"bath: staying in, clicked from afar", 83, 1, HOME, 2900, 1373, in_bath, {0},
         {"say_at 10 10235", "choose 3 1000 10237 10238 -> 0"}, 1, 600, 300,
         {{0, ATTR_EVENT, 41}, {0, ATTR_TIMER_ON, 1}, {10, ATTR_VAR_A, 2}, {10, FRAME, 4252}}},
        {"bath left", 83, 1, HOME, 2474, 1373, in_bath, {1},
         {"say_at 10 10235", "choose 3 1000 10237 10238 -> 1", "say_at 10 10239"}, 0, 400, 500,
         out_of_bath},

        // The seat of map 10: the keeper is self.
        {"seat taken", 11, 0, HOME, 2477, 1076, {}, {0},
         {"say_at 11 10146", "choose 3 1000 10147 10148 -> 0"}, 1, 600, 300,
         {{0, ATTR_X, 2384}, {0, ATTR_Y, 1140}, {0, FRAME, 31601}, {0, ATTR_EVENT, 88},
          {0, ATTR_TIMER_ON, 1}, {0, ATTR_LAYER, 3}, {0, ATTR_SHADOW, 1}, {11, FRAME, 2100}}},
        {"seat with album entry 1", 11, 0, HOME, 2477, 1076, [] { album_add(1); }, {1},
         {"say_at 11 10963", "say 3 1000 10968", "say_at 11 10146",
          "choose 3 1000 10147 10148 -> 1"}, 0, 600, 300, {{0, ATTR_TIMER_ON, 0}}},
        {"seat out of reach", 11, 0, HOME, 2427 + 120, 1046, {}, {}, too_far, 0, 600, 300, {}},
        {"seat: staying seated", 11, 1, HOME, 2384, 1140,
         [] {
             posed(88, 2384, 1140, 31611, false);
             obj_set_frame(11, 2110);
         },
         {1}, {"say_at 11 20041", "choose 2 1000 20228 10960 20229 -> 1"}, 1, 600, 300,
         {{0, FRAME, 31601}, {11, FRAME, 2100}, {0, ATTR_EVENT, 88}}},
        {"seat left", 11, 1, HOME, 2384, 1140, [] { posed(88, 2384, 1140, 31611, false); }, {2},
         {"say_at 11 20041", "choose 2 1000 20228 10960 20229 -> 2", "say_at 11 20230"},
         0, 400, 500, {{0, FRAME, 420}, {0, ATTR_EVENT, 0}, {0, ATTR_TIMER_ON, 0}, {0, ATTR_X, 2384}}},

        // The rest place of map 24: the attendant 112 speaks.
        {"rest taken", 111, 0, REST_MAP, 520, 430, {}, {0},
         {"say_at 112 20038", "choose 3 1000 20039 20040 -> 0", "say_at 112 20104",
          "say_at 112 20044", "say 3 1000 20045", "say_at 112 20046"}, 0, 600, 300,
         {{0, ATTR_X, 550}, {0, ATTR_Y, 451}, {0, FRAME, 2966}, {0, ATTR_EVENT, 46},
          {0, ATTR_TIMER_ON, 1}, {0, ATTR_LAYER, 2}, {0, ATTR_SHADOW, 0}, {112, FRAME, 0},
          {112, ATTR_VAR_B, REST_COUNTDOWN}, {112, ATTR_X, 572}, {111, ATTR_CLICK, 0},
          {111, ATTR_CURSOR, 0}, {111, ATTR_VAR_B, 1}, {27, ATTR_VAR_A, 3}}},
        {"rest used before: the other greeting", 111, 0, REST_MAP, 520, 430,
         [] { attr_set(112, ATTR_VAR_A, 2); }, {1},
         {"say_at 112 20105", "choose 3 1000 20039 20040 -> 1"}, 0, 600, 300,
         {{112, ATTR_X, 292}, {112, ATTR_Y, 324}, {112, FRAME, 30000}, {0, ATTR_TIMER_ON, 0},
          {111, ATTR_VAR_B, 0}}},
        {"rest out of reach", 111, 0, REST_MAP, 523 + 90, 434, {}, {}, too_far, 0, 600, 300,
         {{112, ATTR_X, 292}}},
        {"rest: staying awake in bed", 111, 1, REST_MAP, 550, 451, awake, {0},
         {"say_at 112 20041", "choose 3 1000 20042 20043 -> 0"}, 1, 600, 300,
         {{112, FRAME, 30000}, {0, ATTR_EVENT, 48}, {0, ATTR_TIMER_ON, 1}}},
        {"rest: getting up, object 99 off", 111, 1, REST_MAP, 550, 451, awake, {1},
         {"say_at 112 20041", "choose 3 1000 20042 20043 -> 1"}, 0, 100, 800, got_up_99_off},
        {"rest: getting up, object 99 on", 111, 1, REST_MAP, 550, 451,
         [&] {
             awake();
             attr_set(99, ATTR_ACTIVE, 1);
         },
         {1}, {"say_at 112 20041", "choose 3 1000 20042 20043 -> 1"}, 0, 100, 800, got_up_99_on},
    };
    // clang-format on
    for (const ServiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        world_home();
        sh_player(c.px, c.py, c.map);
        player_record.fatigue = 600;
        player_record.stamina = 300;
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        if (c.before) c.before();
        for (const s32 a : c.answers) sh_answers({a});
        sh_clear_lines();
        sh_fire(c.obj, TRIG_CLICK);
        EXPECT_EQ(home_talk_lines(), c.lines) << c.name;
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.stage_after) << c.name;
        EXPECT_EQ(player_record.fatigue, c.fatigue_after) << c.name;
        EXPECT_EQ(player_record.stamina, c.stamina_after) << c.name;
        expect_checks(c.checks, c.name);
        pose_leave({.frame = 418, .on_top = true}); // the next case starts unposed
    }
}

TEST_F(PosedServices, TheRestPlaceDropsTheButtonsOnEveryClick) {
    sh_player(523 + 200, 434, REST_MAP); // too far: the buttons are dropped all the same
    mouse_buttons = 1;
    sh_fire(111, TRIG_CLICK);
    EXPECT_EQ(mouse_buttons.peek(), 0u);
}

TEST_F(PosedServices, TheSeatKeeperIdlesWithItsRemark) {
    struct Case {
        s32 frame, map;
        s32 next, timer;
        bool remark;
    };
    const Case cases[] = {
        {2101, HOME, 2102, 7, true},
        {2101, REST_MAP, 2102, 7, false}, // the player elsewhere: no remark
        {2110, HOME, 2111, 7, false},
        {2122, HOME, 2100, 150, false},
    };
    for (const Case& c : cases) {
        sh_player(100, 100, c.map);
        obj_set_frame(11, c.frame);
        sh_clear_lines();
        sh_fire(11, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(11), c.next) << c.frame;
        EXPECT_EQ(attr_get(11, ATTR_TIMER), c.timer) << c.frame;
        EXPECT_EQ(home_talk_lines(), c.remark ? Lines{"label 11 10263 -80 -100 2000"} : Lines{})
            << c.frame << " on map " << c.map;
    }
}

// ---- The rest: lying, the countdown, the wake-up ----------------------------------------------

TEST_F(PosedServices, TheRestCountsDownAndWakesThePlayerTheRoomOnlyTheFirstTime) {
    struct Case {
        const char* name;
        s32 attendant_stage; // 2 after a first use
        Lines wake_lines;
        s32 sleepers_after; // the stage of objects 19 and 21
    };
    const Case cases[] = {
        {"first use",
         0,
         {"say_at 112 20047", "say_at 18 20062", "say_at 17 20063", "say_at 18 20064",
          "say_at 17 20065", "say 0 1081 20066", "say 0 1081 20102", "say 3 1033 20067"},
         1},
        {"used before", 2, {"say_at 112 20047"}, 7},
    };
    for (const Case& c : cases) {
        init_player();
        world_home();
        world_arm_timer(112, 3, true);
        attr_set(112, ATTR_VAR_A, c.attendant_stage);
        attr_set(19, ATTR_VAR_A, 7);
        attr_set(21, ATTR_VAR_A, 7);
        sh_player(520, 430, REST_MAP);
        sh_answers({0});
        sh_fire(111, TRIG_CLICK);
        ASSERT_TRUE(posed_in(46)) << c.name;
        sh_clear_lines();

        // Five timer runs of 10 frames each.
        sh_frames(3 + 3 * REST_ATTENDANT_REARM);
        EXPECT_TRUE(posed_in(46)) << c.name;
        EXPECT_TRUE(home_talk_lines().empty()) << c.name;
        sh_frames(REST_ATTENDANT_REARM);
        EXPECT_EQ(home_talk_lines(), c.wake_lines) << c.name;
        EXPECT_TRUE(posed_in(48)) << c.name;
        expect_checks({{111, ATTR_CLICK, 1},
                       {111, ATTR_CURSOR, 9},
                       {111, ATTR_VAR_A, 1},
                       {112, ATTR_VAR_A, 1},
                       {112, ATTR_VAR_B, 0},
                       {112, FRAME, 30000},
                       {27, ATTR_VAR_A, 1},
                       {19, ATTR_VAR_A, c.sleepers_after},
                       {21, ATTR_VAR_A, c.sleepers_after},
                       {113, ATTR_ACTIVE, 1},
                       {114, ATTR_ACTIVE, 1}},
                      c.name);
        pose_leave({.frame = 418});
    }
}

// ---- The attendant's talk ----------------------------------------------------------------------

TEST_F(PosedServices, TheAttendantTalksByStageAndFromThePlayersPose) {
    struct Case {
        const char* name;
        s32 stage;
        s32 pose; // 0: standing at (520, 430), down-right of the attendant
        std::vector<s32> answers;
        Lines lines;
        s32 stage_after;
        s32 player_frame; // 0: not checked
    };
    Lines gossip = {"say_at 112 13600"};
    for (s32 t = 13601; t <= 13610; ++t)
        gossip.push_back((t % 2 == 1 ? "say 3 1000 " : "say_at 112 ") + std::to_string(t));
    const Case cases[] = {
        {"first meeting", 0, 0, {}, {"say_at 112 20032"}, 0, 0},
        {"questions until the last option",
         1,
         0,
         {0, 1, 0, 2},
         {"say_at 112 20048", "choose 3 1000 20049 20050 -> 0", "say_at 112 20051",
          "choose 3 1000 20052 20053 20054 -> 1", "say_at 112 20058",
          "choose 3 1000 20052 20053 20054 -> 0", "say_at 112 20056",
          "choose 3 1000 20052 20053 20054 -> 2"},
         1,
         0},
        {"no questions", 1, 0, {1}, {"say_at 112 20048", "choose 3 1000 20049 20050 -> 1"}, 1, 0},
        {"lying: box at 2",
         1,
         46,
         {1},
         {"say_at 112 20048", "choose 2 1000 20049 20050 -> 1"},
         1,
         2966},
        {"awake: box at 2", 2, 48, {}, {"say_at 112 20103"}, 2, 2983},
        {"the shop keeper's news", 3, 0, {}, gossip, 4, 0},
        {"after the news", 4, 0, {}, {"say_at 112 13611"}, 4, 0},
        {"open world", 5, 0, {}, {"say_at 112 26670"}, 5, 0},
        {"unknown stage", 9, 0, {}, {}, 9, 0},
    };
    for (const Case& c : cases) {
        sh_player(520, 430, REST_MAP);
        if (c.pose != 0) posed(c.pose, 550, 451, 2900, true);
        obj_set_frame(112, 30010);
        attr_set(112, ATTR_VAR_A, c.stage);
        for (const s32 a : c.answers) sh_answers({a});
        sh_clear_lines();
        sh_fire(112, TRIG_CLICK);
        EXPECT_EQ(home_talk_lines(), c.lines) << c.name;
        EXPECT_EQ(attr_get(112, ATTR_VAR_A), c.stage_after) << c.name;
        EXPECT_EQ(obj_get_frame(112), 30010) << c.name << ": the kept frame";
        if (c.player_frame != 0) {
            EXPECT_EQ(obj_get_frame(0), c.player_frame) << c.name;
        }
        pose_leave({.frame = 418});
    }
}

// The character screen opened from a pose loop ends on a click; that click must not reach the
// map object under it on the next field frame (here the walker beside the bath). The bath's pose
// loop (frames 2648-2674, pause 20) runs through the kit as the pose loops' table runs it.
TEST_F(PosedServices, TheClickThatClosesTheScreenInTheBathDoesNotReachTheWalker) {
    sh_player(2422, 1331, HOME);
    sh_answers({0});
    sh_fire(83, TRIG_CLICK);
    ASSERT_TRUE(posed_in(41));
    static constexpr PoseLoop BATH_LOOP{.first = 2648, .last = 2674, .step = 1, .pause = 20};
    attr_set(0, ATTR_EVENT, sh_script([] { pose_loop_step(BATH_LOOP); }));
    sh_field_frames(1); // the camera settles on the posed player
    const s32 wx = attr_get(10, ATTR_X) - world_state.camera_x;
    const s32 wy = attr_get(10, ATTR_Y) - 10 - world_state.camera_y;
    sh_screens_leave_click(wx, wy);
    sh_clear_lines();
    sh_fire(0, TRIG_CLICK); // the posed player clicked: the loop opens the character screen
    EXPECT_EQ(sh_calls(), Lines{"info_screen 0"});
    sh_field_frames(1);
    EXPECT_TRUE(home_talk_lines().empty()) << "the closing click reached the walker";

    // The same click made on purpose reaches the walker (the road of the test is sound).
    click_kind = 1;
    click_x = wx;
    click_y = wy;
    sh_field_frames(1);
    EXPECT_EQ(home_talk_lines(), Lines{"say_at 10 10236"}); // its stage after the bath
}

// The rows name the slots that this region registers.
TEST_F(PosedServices, TheTablesNameTheSlotsOfThisRegion) {
    for (const PosedService& s : POSED_SERVICES)
        EXPECT_STREQ(event_owner(s.slot), HOME_POSED_OWNER) << s.name;
}

} // namespace

namespace {

// Every frame that the services show has a picture in the placeholder archive, so that a posed
// player and the attendants stay visible (a missing image loads as empty: not drawn, not
// clickable).
TEST(PosedServicesPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(posed_services_frames);
    EXPECT_GT(shown.count, 100u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
