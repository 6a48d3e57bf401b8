// The residents, teachers and walkers of the home region: every talk as one case list (the stage
// set, the click fired, the transcript and the state afterwards), the idle loops as a table of
// timer runs, and the two walkers' legs and stops as tables.
#include "scripts/home/residents.h"

#include "data/timetables.h"
#include "engine/image.h"
#include "engine/math.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/clock.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 MEAL_SEAT_FRAME = 31070;

// Where each resident stands and the slot its object carries.
struct Figure {
    s32 obj, slot, frame;
};
constexpr Figure DINER{22, 20, 2500};
constexpr Figure COOK{23, 21, 2520};
constexpr Figure GOSSIP{72, 27, 30450};
constexpr Figure ROUTE_WALKER{6, 28, 4202};
constexpr Figure PACER{7, 29, 4522};
constexpr Figure SCHOLAR{76, 33, 33310};
constexpr Figure WELL{79, 36, 32570};
constexpr Figure GUEST{98, 42, 2930};
constexpr Figure SIGHT{99, 43, 1303};
constexpr Figure IDLER{116, 50, 30190};
constexpr Figure BENCH{138, 58, 30370};

class Residents : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        for (const Figure& f :
             {DINER, COOK, GOSSIP, ROUTE_WALKER, PACER, SCHOLAR, WELL, GUEST, SIGHT, IDLER, BENCH})
            place(f, 50, 0);
        sh_object(77, {});  // the shop-3 keeper
        sh_object(111, {}); // the rest place of map 24
        sh_object(223, {}); // the routine resident of map 40
        sh_object(237, {}); // the arrival scene
        sh_object(ROUTE_WALKER.obj + 1, {});
    }
    // The figure at (dx, dy) from the player, clickable, stage 0.
    static void place(const Figure& f, s32 dx, s32 dy) {
        sh_object(f.obj,
                  {.x = PX + dx, .y = PY + dy, .frame = f.frame, .slot = f.slot, .click = true});
    }
    static Lines fire(s32 obj, s32 trigger) {
        sh_clear_lines();
        sh_fire(obj, trigger);
        return sh_lines();
    }
};

// Lines said, chosen and floated; message-log lines of growth are checked by state instead.
Lines spoken(const Lines& all) {
    Lines out;
    for (const std::string& l : all)
        if (l.rfind("log", 0) != 0) out.push_back(l);
    return out;
}

// The archive holds a picture for a frame that a figure shows (0: the figure is not drawn).
bool pictured(s32 frame) {
    if (frame == 0) return true;
    s32 size = 0;
    return image_load(frame < 0 ? -frame : frame, &size) != empty_image;
}

s32 skill_sum(s32 i) {
    return player_record.skill[i] * 100000 + player_record.skill_exp[i];
}

// ---- Talks -----------------------------------------------------------------------------------

struct TalkCase {
    const char* name;
    Figure who;
    s32 stage;
    std::function<void()> setup; // flags, known lists, other objects, a pose
    std::vector<s32> answers;
    Lines lines;
    s32 next_stage;
    s32 frame_after; // self's frame after the talk
    std::function<void()> check = {};
};

void seated() {
    pose_enter({POSE_NO_PLACE, 0, MEAL_SEAT_FRAME, RESIDENTS_MEAL_POSE, true});
}

TEST_F(Residents, EachTalkSaysItsStageAndLeavesItsState) {
    // The figures stand right of the player: the player's boxes at 0, the figures' own at 3.
    const auto no_lesson = [] {
        EXPECT_EQ(known_has(22, 0), 0);
        EXPECT_EQ(known_has(23, 51), 0);
        EXPECT_EQ(known_has(12, 57), 0);
    };
    const s32 appetite = skill_sum(22);
    const s32 growth23 = skill_sum(23);
    const TalkCase cases[] = {
        {"guest at the table", DINER, 0, {}, {}, {"say 3 1147 10207"}, 0, DINER.frame},
        {"guest at the table, any stage", DINER, 9, {}, {}, {"say 3 1147 10207"}, 9, DINER.frame},
        {"guest talks to the seated player without turning it",
         DINER,
         0,
         [] {
             seated();
             attr_set(DINER.obj, ATTR_X, PX - 30); // the player up-right of it: boxes at 1 and 2
             attr_set(DINER.obj, ATTR_Y, PY + 30);
         },
         {},
         {"say 2 1147 10207"},
         0,
         DINER.frame,
         [] { EXPECT_EQ(obj_get_frame(0), MEAL_SEAT_FRAME); }},
        {"cook before the meal: no lesson",
         COOK,
         0,
         {},
         {},
         {"say 3 1038 10643"},
         0,
         2516,
         [&] {
             EXPECT_EQ(known_has(22, 0), 0);
             EXPECT_EQ(skill_sum(22), appetite);
         }},
        {"cook at the meal: the dish and the appetite lesson",
         COOK,
         0,
         seated,
         {},
         {"say 3 1038 10643", "say 0 1000 10644", "say 3 1038 10645", "say 0 1000 10646",
          "say 3 1038 10648", "say 0 1000 10649", "say 3 1038 10650", "say 0 1000 10651",
          "say 3 1038 10652", "say 0 1000 10653", "say 3 1038 10654", "say 0 1000 10655",
          "say 3 1038 10656", "say 0 1000 10657", "say 3 1038 10658"},
         1,
         2532, // the last frame of the dish
         [&] {
             EXPECT_EQ(known_has(22, 0), 1);
             EXPECT_NE(skill_sum(22), appetite);
             EXPECT_EQ(obj_get_frame(0), MEAL_SEAT_FRAME);
         }},
        {"cook at the meal after the lesson",
         COOK,
         1,
         [] {
             seated();
             known_add(22, 0);
         },
         {},
         {"say 3 1038 10660"},
         1,
         2516,
         [&] { EXPECT_EQ(skill_sum(22), appetite); }},
        {"cook after the lesson, standing", COOK, 1, {}, {}, {"say 3 1038 10660"}, 1, 2516},
        {"gossip first",
         GOSSIP,
         0,
         {},
         {},
         {"say 0 1000 10097", "say_at 72 10098", "say 0 1000 10099", "say_at 72 10100",
          "say 0 1000 10101"},
         1,
         GOSSIP.frame},
        {"gossip again", GOSSIP, 1, {}, {}, {"say_at 72 10098"}, 1, GOSSIP.frame},
        {"gossip in the map-10 episode", GOSSIP, 2, {}, {}, {"say_at 72 13677"}, 2, GOSSIP.frame},
        {"route walker before the day", ROUTE_WALKER, 0, {}, {}, {}, 0, ROUTE_WALKER.frame},
        {"route walker 1", ROUTE_WALKER, 1, {}, {}, {"say_at 6 10347"}, 1, ROUTE_WALKER.frame},
        {"route walker 3", ROUTE_WALKER, 3, {}, {}, {"say_at 6 10347"}, 3, ROUTE_WALKER.frame},
        {"route walker 4", ROUTE_WALKER, 4, {}, {}, {"say_at 6 10349"}, 4, ROUTE_WALKER.frame},
        {"route walker 5", ROUTE_WALKER, 5, {}, {}, {"say_at 6 10351"}, 5, ROUTE_WALKER.frame},
        {"route walker 7", ROUTE_WALKER, 7, {}, {}, {"say_at 6 10351"}, 7, ROUTE_WALKER.frame},
        {"route walker 8", ROUTE_WALKER, 8, {}, {}, {"say_at 6 10355"}, 8, ROUTE_WALKER.frame},
        {"route walker 9", ROUTE_WALKER, 9, {}, {}, {"say_at 6 10355"}, 9, ROUTE_WALKER.frame},
        {"route walker 10", ROUTE_WALKER, 10, {}, {}, {"say_at 6 10353"}, 10, ROUTE_WALKER.frame},
        {"route walker 15", ROUTE_WALKER, 15, {}, {}, {"say_at 6 10353"}, 15, ROUTE_WALKER.frame},
        {"route walker 16", ROUTE_WALKER, 16, {}, {}, {"say_at 6 10358"}, 16, ROUTE_WALKER.frame},
        {"route walker 17", ROUTE_WALKER, 17, {}, {}, {"say_at 6 10353"}, 17, ROUTE_WALKER.frame},
        {"route walker 21", ROUTE_WALKER, 21, {}, {}, {"say_at 6 10353"}, 21, ROUTE_WALKER.frame},
        {"route walker gone", ROUTE_WALKER, 22, {}, {}, {}, 22, ROUTE_WALKER.frame},
        {"pacer first",
         PACER,
         0,
         {},
         {},
         {"say_at 7 10078", "say 0 1000 10079", "say_at 7 10080", "say 0 1000 10081",
          "say_at 7 10082", "say 0 1000 10083", "say_at 7 10084", "say 0 1000 10085",
          "say_at 7 10086", "say 0 1000 10087", "say_at 7 10088"},
         1,
         PACER.frame},
        {"pacer again", PACER, 1, {}, {}, {"say_at 7 10089"}, 1, PACER.frame},
        {"scholar first",
         SCHOLAR,
         0,
         {},
         {},
         {"say_at 76 10152", "say 0 1000 10153", "say_at 76 10946", "say 0 1000 10947",
          "say_at 76 10948"},
         1,
         SCHOLAR.frame},
        {"scholar first, with the album picture",
         SCHOLAR,
         0,
         [] { album_add(1); },
         {},
         {"say_at 76 10962", "say 0 1000 10968", "say_at 76 10152", "say 0 1000 10153",
          "say_at 76 10946", "say 0 1000 10947", "say_at 76 10948"},
         1,
         SCHOLAR.frame},
        {"scholar before the player knows 12/58",
         SCHOLAR,
         1,
         {},
         {},
         {"say_at 76 10152"},
         1,
         SCHOLAR.frame,
         no_lesson},
        {"scholar teaches list 12",
         SCHOLAR,
         1,
         [] { known_add(12, 58); },
         {},
         {"say 0 1000 16269", "say_at 76 16270", "say 0 1000 16271", "say_at 76 16272",
          "say 0 1000 16273", "say_at 76 16274", "say 0 1000 16275", "say_at 76 16276",
          "say 0 1000 16277"},
         2,
         SCHOLAR.frame,
         [] { EXPECT_EQ(known_has(12, 57), 1); }},
        {"scholar afterwards", SCHOLAR, 2, {}, {}, {"say_at 76 10152"}, 2, SCHOLAR.frame},
        {"well first",
         WELL,
         0,
         {},
         {},
         {"say_at 79 10227", "say 0 1000 10228", "say_at 79 10229"},
         1,
         WELL.frame},
        {"well again", WELL, 1, {}, {}, {"say_at 79 10230"}, 1, WELL.frame},
        {"well in the open world", WELL, 2, {}, {}, {"say_at 79 29174"}, 2, WELL.frame},
        {"guest of map 28, rest service unused, asks",
         GUEST,
         0,
         {},
         {0},
         {"say_at 98 20011", "choose 0 1000 20012 20013 -> 0", "say_at 98 20014",
          "say 0 1000 20015"},
         0,
         GUEST.frame,
         no_lesson},
        {"guest of map 28, rest service unused, declines",
         GUEST,
         0,
         {},
         {1},
         {"say_at 98 20011", "choose 0 1000 20012 20013 -> 1", "say_at 98 20016",
          "say 0 1000 20017", "say_at 98 20018"},
         2,
         GUEST.frame},
        {"guest of map 28, service used but the well not talked to: the lesson waits",
         GUEST,
         0,
         [] { attr_set(111, ATTR_VAR_B, 1); },
         {0},
         {"say_at 98 20011", "choose 0 1000 20019 20013 -> 0", "say_at 98 20020",
          "say 0 1000 20021", "say_at 98 20022"},
         0,
         GUEST.frame,
         no_lesson},
        {"guest of map 28 teaches growth 23",
         GUEST,
         0,
         [] {
             attr_set(111, ATTR_VAR_B, 1);
             attr_set(WELL.obj, ATTR_VAR_A, 1);
         },
         {0},
         {"say_at 98 20011", "choose 0 1000 20019 20013 -> 0", "say_at 98 20020",
          "say 0 1000 20023", "say_at 98 20024", "say 0 1000 20025", "say_at 98 20026"},
         1,
         GUEST.frame,
         [&] {
             EXPECT_EQ(known_has(23, 51), 1);
             EXPECT_NE(skill_sum(23), growth23);
         }},
        {"guest of map 28, service used, declines",
         GUEST,
         0,
         [] { attr_set(111, ATTR_VAR_B, 1); },
         {1},
         {"say_at 98 20011", "choose 0 1000 20019 20013 -> 1", "say_at 98 20016",
          "say 0 1000 20017", "say_at 98 20018"},
         2,
         GUEST.frame,
         no_lesson},
        {"guest of map 28 after the lesson", GUEST, 1, {}, {}, {"say_at 98 20030"}, 1, GUEST.frame},
        {"guest of map 28 after declining", GUEST, 2, {}, {}, {"say_at 98 20029"}, 2, GUEST.frame},
        {"guest of map 28 sent by the shop-5 keeper",
         GUEST,
         3,
         {},
         {},
         {"say_at 98 13612"},
         3,
         GUEST.frame},
        {"idler of map 10",
         IDLER,
         0,
         {},
         {},
         {"say_at 116 10271"},
         0,
         30184,
         [] { EXPECT_EQ(attr_get(IDLER.obj, ATTR_TIMER), 8); }},
        {"bench sitter",
         BENCH,
         0,
         {},
         {},
         {"say_at 138 10271"},
         0,
         30362,
         [] { EXPECT_EQ(attr_get(BENCH.obj, ATTR_TIMER), 8); }},
        {"bench sitter opens the shop-3 keeper's quiz",
         BENCH,
         1,
         {},
         {},
         {"say 3 1000 13572", "say_at 138 13573", "say 3 1000 13574", "say_at 138 13575",
          "say 3 1000 13576"},
         0,
         30362,
         [] { EXPECT_EQ(attr_get(77, ATTR_VAR_A), 1); }},
    };
    for (const TalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        sh_player(PX, PY);
        place(c.who, 50, 0);
        attr_set(c.who.obj, ATTR_VAR_A, c.stage);
        attr_set(77, ATTR_VAR_A, 0);
        attr_set(111, ATTR_VAR_B, 0);
        attr_set(WELL.obj, ATTR_VAR_A, c.who.obj == WELL.obj ? c.stage : 0);
        attr_set(0, ATTR_TIMER_ON, 0); // no pose left over from the case before
        attr_set(0, ATTR_EVENT, 0);
        if (c.setup) c.setup();
        for (const s32 a : c.answers) sh_answers({a});
        EXPECT_EQ(spoken(fire(c.who.obj, TRIG_CLICK)), c.lines);
        EXPECT_EQ(attr_get(c.who.obj, ATTR_VAR_A), c.next_stage);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.frame_after);
        if (c.check) c.check();
    }
}

// The farthest offset along one axis that the engine's distance (an approximate square root)
// still counts as `limit`, so that the case holds at the real edge.
s32 edge_offset(s32 limit) {
    s32 dx = limit;
    while (isqrt(u32((dx + 1) * (dx + 1))) <= limit) ++dx;
    return dx;
}

TEST_F(Residents, TalkDistancesAndTheThingToLookAt) {
    struct Case {
        const char* name;
        Figure who;
        s32 limit; // 0: none
    };
    const Case cases[] = {
        {"gossip", GOSSIP, 150},   {"route walker", ROUTE_WALKER, 150},
        {"scholar", SCHOLAR, 150}, {"well", WELL, 300},
        {"pacer", PACER, 0},       {"guest", GUEST, 0},
        {"bench", BENCH, 0},       {"diner", DINER, 0},
    };
    const Lines too_far{"label 0 10000 -112 -108 2000"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const s32 edge = c.limit > 0 ? edge_offset(c.limit) : 900;
        place(c.who, edge, 0);
        attr_set(c.who.obj, ATTR_VAR_A, 1);
        const Lines near = fire(c.who.obj, TRIG_CLICK);
        ASSERT_FALSE(near.empty());
        EXPECT_NE(near, too_far);
        if (c.limit == 0) continue;
        place(c.who, edge + 1, 0);
        attr_set(c.who.obj, ATTR_VAR_A, 1);
        EXPECT_EQ(fire(c.who.obj, TRIG_CLICK), too_far);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.who.frame); // a click from too far turns nobody
        EXPECT_EQ(attr_get(c.who.obj, ATTR_VAR_A), 1);
    }

    // The thing to look at measures from its spot (435,225), not from its figure; its talk is a
    // remark over the player; only a click reaches it.
    place(SIGHT, 900, 0);
    sh_player(435 + edge_offset(50), 225);
    EXPECT_EQ(fire(SIGHT.obj, TRIG_CLICK), Lines{"label 0 20152 -112 -108 1000"});
    sh_player(435 + edge_offset(50) + 1, 225);
    EXPECT_EQ(fire(SIGHT.obj, TRIG_CLICK), too_far);
    sh_player(435, 225);
    EXPECT_EQ(fire(SIGHT.obj, TRIG_TIMER), Lines{});
    EXPECT_EQ(fire(SIGHT.obj, TRIG_STEP), Lines{});
}

// ---- Idle loops ------------------------------------------------------------------------------

TEST_F(Residents, IdleLoopsStepWrapAndPause) {
    struct Case {
        Figure who;
        s32 from;
        std::vector<s32> draws;
        s32 to;
        s32 timer;
    };
    const Case cases[] = {
        {DINER, 2498, {}, 2499, 8},       {DINER, 2513, {}, 2498, 10},
        {COOK, 2531, {}, 2532, 8},        {COOK, 2532, {}, 2516, 10},
        {GOSSIP, 30440, {}, 30442, 15},   {GOSSIP, 30476, {}, 30440, 500},
        {SCHOLAR, 33336, {}, 33338, 8},   {SCHOLAR, 33338, {}, 33300, 50},
        {WELL, 32568, {}, 32570, 5},      {WELL, 32592, {}, 32580, 5}, // the first run only once
        {GUEST, 2958, {}, 2924, 10},      {BENCH, 30390, {}, 30391, 8},
        {BENCH, 30391, {37}, 30362, 137}, // the pause is 100 + a draw below 300
        {IDLER, 30184, {}, 30186, 8},     {IDLER, 30212, {}, 30304, 8},
        {IDLER, 30340, {}, 30342, 200},   {IDLER, 30342, {}, 30184, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.who.obj) + " from " + std::to_string(c.from));
        obj_set_frame(c.who.obj, c.from);
        for (const s32 d : c.draws) sh_rand({d});
        fire(c.who.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.to);
        EXPECT_TRUE(pictured(c.to));
        EXPECT_EQ(attr_get(c.who.obj, ATTR_TIMER), c.timer);
        EXPECT_EQ(attr_get(c.who.obj, ATTR_VAR_A), 0);
        EXPECT_EQ(sh_rand_left(), 0u);
    }

    // The two-segment loop plays 30184-30212 and 30304-30342 and never shows what lies between.
    obj_set_frame(IDLER.obj, 30184);
    s32 wraps = 0;
    for (s32 i = 0; i < 70; ++i) {
        fire(IDLER.obj, TRIG_TIMER);
        const s32 f = obj_get_frame(IDLER.obj);
        EXPECT_TRUE((f >= 30184 && f <= 30212) || (f >= 30304 && f <= 30342)) << f;
        EXPECT_EQ(f % 2, 0);
        EXPECT_TRUE(pictured(f)) << f;
        wraps += f == 30184;
    }
    EXPECT_EQ(wraps, 2); // 35 frames a round
}

TEST_F(Residents, AFigureThatHasIdledIsStillClickedThroughTheField) {
    // The gossip steps its idle loop on the field's timer pass, then a click on the middle of its
    // figure (a placeholder box 72 high) reaches its talk.
    place(GOSSIP, 100, 0);
    obj_set_frame(GOSSIP.obj, 30440);
    world_arm_timer(GOSSIP.obj, 1, true);
    sh_frames(1);
    ASSERT_EQ(obj_get_frame(GOSSIP.obj), 30442);
    sh_clear_lines();
    click_kind = 1;
    click_x = PX + 100 - world_state.camera_x;
    click_y = PY - PLACEHOLDER_FIGURE_H / 2 - world_state.camera_y;
    sh_field_frames(1);
    EXPECT_EQ(spoken(sh_lines()), (Lines{"say 0 1000 10097", "say_at 72 10098", "say 0 1000 10099",
                                         "say_at 72 10100", "say 0 1000 10101"}));
    EXPECT_EQ(attr_get(GOSSIP.obj, ATTR_VAR_A), 1);
}

// ---- The pacing walker of map 17 -------------------------------------------------------------

TEST_F(Residents, ThePacingWalkerKeepsItsLegInVarB) {
    struct Leg {
        s32 leg;
        s32 x, y; // where it stands when the leg ends
        s32 frame;
        s32 timer;
        s32 next;
    };
    const Leg legs[] = {
        {0, 321, 248, 30108, 10, 1}, {1, 321, 248, -4522, 10, 2}, {2, 272, 283, 30130, 10, 3},
        {3, 272, 283, 4502, 10, 4},  {4, 340, 270, 4522, 10, 0},
    };
    sh_object(PACER.obj, {.map = 17, .x = 340, .y = 270, .frame = 4522, .slot = PACER.slot});
    attr_set(PACER.obj, ATTR_VAR_A, 1); // the talk stage is left alone
    for (const Leg& l : legs) {
        SCOPED_TRACE("leg " + std::to_string(l.leg));
        s32 runs = 0;
        while (attr_get(PACER.obj, ATTR_VAR_B) == l.leg && runs < 200) {
            fire(PACER.obj, TRIG_TIMER);
            ++runs;
            EXPECT_TRUE(pictured(obj_get_frame(PACER.obj))) << obj_get_frame(PACER.obj);
            // walking legs re-arm 10, idle legs 7 until their pause
            if (attr_get(PACER.obj, ATTR_VAR_B) == l.leg) {
                EXPECT_EQ(attr_get(PACER.obj, ATTR_TIMER), l.leg % 2 == 0 ? 10 : 7);
            }
        }
        EXPECT_EQ(attr_get(PACER.obj, ATTR_VAR_B), l.next);
        EXPECT_EQ(attr_get(PACER.obj, ATTR_X), l.x);
        EXPECT_EQ(attr_get(PACER.obj, ATTR_Y), l.y);
        EXPECT_EQ(obj_get_frame(PACER.obj), l.frame);
        EXPECT_EQ(attr_get(PACER.obj, ATTR_TIMER), l.timer);
    }
    EXPECT_EQ(attr_get(PACER.obj, ATTR_VAR_A), 1);
    EXPECT_TRUE(sh_lines().empty());

    attr_set(PACER.obj, ATTR_VAR_B, 5); // a leg without a step: the walker stands
    fire(PACER.obj, TRIG_TIMER);
    EXPECT_EQ(attr_get(PACER.obj, ATTR_X), 340);
    EXPECT_EQ(attr_get(PACER.obj, ATTR_VAR_B), 5);
}

// ---- The daily route of object 6 -------------------------------------------------------------

class DailyRoute : public Residents {
  protected:
    void SetUp() override {
        Residents::SetUp();
        sh_object(ROUTE_WALKER.obj, {.x = 0, .y = 1829, .frame = 4202, .slot = ROUTE_WALKER.slot});
    }
    static s32 stage() { return attr_get(ROUTE_WALKER.obj, ATTR_VAR_A); }
    static s32 x() { return attr_get(ROUTE_WALKER.obj, ATTR_X); }
    static s32 y() { return attr_get(ROUTE_WALKER.obj, ATTR_Y); }
    // Timer runs at hour:minute until `done` holds (at most `limit` runs); returns the runs.
    static s32 run_until(s32 hour, s32 minute, const std::function<bool()>& done,
                         s32 limit = 2000) {
        sh_clock(hour, minute);
        s32 runs = 0;
        while (!done() && runs < limit) {
            sh_fire(ROUTE_WALKER.obj, TRIG_TIMER);
            ++runs;
            const s32 f = obj_get_frame(ROUTE_WALKER.obj);
            EXPECT_TRUE(pictured(f)) << f;
        }
        return runs;
    }
    static void run_once(s32 hour, s32 minute) {
        run_until(
            hour, minute, [] { return false; }, 1);
    }
};

TEST_F(DailyRoute, TheDayFromStopToStop) {
    struct Stop {
        const char* what;
        s32 hour, minute;
        s32 stage; // the stage walked
        s32 x, y, map;
        s32 frame; // shown on arrival (0: the figure is not drawn); ANY: the walking frame
        s32 next;
    };
    constexpr s32 HOME = SH_MAP;
    constexpr s32 ANY = -1;
    const Stop stops[] = {
        {"to the lane", 5, 0, 1, 180, 1763, HOME, ANY, 2},
        {"to the square", 5, 0, 2, 1164, 1307, HOME, -4202, 3},
        {"to the morning spot", 6, 30, 3, 2250, 700, HOME, 33004, 4},
        {"turns to leave", 8, 0, 4, 2250, 700, HOME, 4202, 5},
        {"out of the map", 8, 0, 5, 2507, 267, HOME, 0, 6},
        {"onto map 40", 8, 0, 6, 667, 1615, 40, 4202, 7},
        {"with resident 223", 8, 0, 8, 700, 880, 40, ANY, 9},
        {"to the noon spot", 8, 0, 9, 661, 861, 40, ANY, 10},
        {"out of map 40", 12, 0, 11, 620, 1645, 40, 0, 12},
        {"back onto map 10", 12, 0, 12, 2465, 311, 10, 4222, 13},
        {"east 1", 12, 0, 13, 3023, 976, 10, ANY, 14},
        {"east 2", 12, 0, 14, 3546, 1213, 10, ANY, 15},
        {"east 3", 12, 0, 15, 4059, 1322, 10, ANY, 16},
        {"afternoon 1", 15, 0, 16, 5182, 1739, 10, ANY, 17},
        {"afternoon 2", 15, 0, 17, 4886, 1621, 10, ANY, 18},
        {"afternoon 3", 15, 0, 18, 4236, 1907, 10, ANY, 19},
        {"afternoon 4", 15, 0, 19, 3838, 2178, 10, ANY, 20},
        {"afternoon 5", 15, 0, 20, 4254, 2368, 10, ANY, 21},
        {"leaves the scene", 15, 0, 21, 4582, 2203, 10, ANY, 22},
    };
    attr_set(237, ATTR_VAR_A, 3);
    for (const Stop& s : stops) {
        SCOPED_TRACE(s.what);
        attr_set(ROUTE_WALKER.obj, ATTR_VAR_A, s.stage);
        run_until(s.hour, s.minute, [&] { return stage() != s.stage; });
        EXPECT_EQ(stage(), s.next);
        EXPECT_EQ(x(), s.x);
        EXPECT_EQ(y(), s.y);
        EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_MAP), s.map);
        if (s.frame != ANY) {
            EXPECT_EQ(obj_get_frame(ROUTE_WALKER.obj), s.frame);
        }
        EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_TIMER), 4);
    }
    EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(223, ATTR_VAR_A), 9); // set on the way to (700,880)
    // Of the remarks only the square's was shown: map 40 and the later map 10 were not the
    // player's map.
    EXPECT_EQ(sh_lines(), Lines{"label 6 20465 -35 -80 2000"});
}

TEST_F(DailyRoute, StandingStopsAndTheHandOverWithResident223) {
    // Stage 7: at the spot the remark is floated on every run while map 40 is shown, and 223 is
    // given stage 8, until 223 moves this object on.
    sh_object(
        ROUTE_WALKER.obj,
        {.map = 40, .x = 667, .y = 1615, .frame = 4202, .slot = ROUTE_WALKER.slot, .var_a = 7});
    world_state.current_map = 40;
    run_until(9, 0, [] { return x() == 774 && y() == 942; });
    sh_clear_lines();
    for (s32 i = 0; i < 3; ++i) {
        attr_set(223, ATTR_VAR_A, 0);
        run_once(9, 0);
        EXPECT_EQ(attr_get(223, ATTR_VAR_A), 8);
    }
    EXPECT_EQ(sh_lines(), Lines(3, "label 6 20469 -50 -80 4000"));
    EXPECT_EQ(obj_get_frame(ROUTE_WALKER.obj), -4222);
    EXPECT_EQ(stage(), 7);

    // Stage 10: at its spot it waits for 223 at stage 21, then leads it to (771,971).
    sh_object(
        ROUTE_WALKER.obj,
        {.map = 40, .x = 738, .y = 990, .frame = 4202, .slot = ROUTE_WALKER.slot, .var_a = 10});
    sh_object(223, {.map = 40, .x = 700, .y = 1000, .var_a = 20});
    run_until(
        12, 30, [] { return false; }, 5);
    EXPECT_EQ(stage(), 10);
    EXPECT_EQ(attr_get(223, ATTR_X), 700);
    attr_set(223, ATTR_VAR_A, 21);
    const s32 runs = run_until(12, 30, [] { return stage() != 10; });
    EXPECT_GT(runs, 1);
    EXPECT_EQ(stage(), 11);
    EXPECT_EQ(attr_get(223, ATTR_VAR_A), 22);
    EXPECT_EQ(attr_get(223, ATTR_X), 771);
    EXPECT_EQ(attr_get(223, ATTR_Y), 971);
    EXPECT_EQ(x(), 738);

    // Stage 16: reached before 15:00 it waits with frame 4202 and walks on at 15:00.
    sh_object(
        ROUTE_WALKER.obj,
        {.map = 10, .x = 4059, .y = 1322, .frame = 4202, .slot = ROUTE_WALKER.slot, .var_a = 16});
    run_until(14, 0, [] { return x() == 5315 && y() == 1656; });
    run_once(14, 59);
    EXPECT_EQ(stage(), 16);
    EXPECT_EQ(obj_get_frame(ROUTE_WALKER.obj), 4202);
    EXPECT_EQ(x(), 5315);
    run_once(15, 0);
    EXPECT_NE(x(), 5315);
    EXPECT_EQ(stage(), 16);
}

TEST_F(DailyRoute, StagesActOnlyInTheirWindows) {
    struct Case {
        s32 hour, minute, stage;
        bool moves;
    };
    const Case cases[] = {
        {6, 29, 3, false},  {6, 30, 3, true},    {7, 0, 3, false}, // stage 3 waits for tomorrow
        {5, 0, 5, false},   {8, 0, 5, true},     {11, 59, 10, false},
        {12, 0, 10, true},  {14, 59, 17, false}, {15, 0, 17, true},
        {23, 59, 18, true}, {0, 0, 18, false},   {12, 0, 22, false}, // after the route
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hour) + ":" + std::to_string(c.minute) + " stage " +
                     std::to_string(c.stage));
        sh_object(ROUTE_WALKER.obj, {.map = 10,
                                     .x = 1000,
                                     .y = 1000,
                                     .frame = 4202,
                                     .slot = ROUTE_WALKER.slot,
                                     .var_a = c.stage});
        run_once(c.hour, c.minute);
        EXPECT_EQ(x() != 1000 || y() != 1000, c.moves);
        EXPECT_EQ(stage(), c.stage);
        EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_TIMER), 4);
    }

    // The morning idle at its spot, with its remark at frame 33008.
    sh_object(ROUTE_WALKER.obj,
              {.x = 2250, .y = 700, .frame = 33006, .slot = ROUTE_WALKER.slot, .var_a = 4});
    sh_clear_lines();
    run_once(7, 15);
    EXPECT_EQ(obj_get_frame(ROUTE_WALKER.obj), 33008);
    EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_TIMER), 10);
    EXPECT_EQ(sh_lines(), Lines{"label 6 20466 -25 -80 2000"});
    obj_set_frame(ROUTE_WALKER.obj, 33034);
    run_once(6, 45);
    EXPECT_EQ(obj_get_frame(ROUTE_WALKER.obj), 33004);
    EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_TIMER), 20);
    EXPECT_EQ(stage(), 4);
}

TEST_F(DailyRoute, BeforeTheDayItFollowsTheArrivalScene) {
    struct Case {
        s32 scene; // object 237's stage
        s32 x, y;  // where it starts
        s32 to_x, to_y;
        s32 frame;
    };
    const Case cases[] = {
        {0, 294, 1692, 294, 1692, 4202}, // at the point: no arrival handling
        {0, 0, 1829, -1, -1, -1},        // steps toward (294,1692)
        {1, 115, 1698, 115, 1698, 4222}, {2, 500, 500, 500, 500, 4222}, // turns where it stands
        {3, 500, 500, 500, 500, 4202},                                  // nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("scene stage " + std::to_string(c.scene));
        sh_object(ROUTE_WALKER.obj, {.x = c.x, .y = c.y, .frame = 4202, .slot = ROUTE_WALKER.slot});
        attr_set(237, ATTR_VAR_A, c.scene);
        run_once(12, 0);
        EXPECT_EQ(stage(), 0);
        if (c.to_x < 0) {
            EXPECT_GT(x(), c.x);
            EXPECT_LT(y(), c.y);
        } else {
            EXPECT_EQ(x(), c.to_x);
            EXPECT_EQ(y(), c.to_y);
            EXPECT_EQ(obj_get_frame(ROUTE_WALKER.obj), c.frame);
        }
    }
}

TEST_F(DailyRoute, AClockJumpPlacesItWhereItsRouteGoesOn) {
    // The timetable rests object 6 on map 40 at the noon spot with stage 10 from 8:00; the route
    // leaves it standing there until noon and then goes on from that stage.
    init_npc_timetables();
    attr_set(ROUTE_WALKER.obj, ATTR_VAR_A, 9);
    sh_clock(7, 50);
    clock_advance(10);
    EXPECT_EQ(attr_get(ROUTE_WALKER.obj, ATTR_MAP), 40);
    EXPECT_EQ(x(), 661);
    EXPECT_EQ(y(), 861);
    EXPECT_EQ(stage(), 10);
    run_once(9, 0);
    EXPECT_EQ(x(), 661);
    run_once(12, 0);
    EXPECT_NE(x(), 661);
    EXPECT_EQ(stage(), 10);
}

} // namespace
