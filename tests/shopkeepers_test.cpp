// The shopkeepers of the home region: every keeper's talk as one case list (stage x click ->
// lines, shop screens, next stage), the side stories as tables (the first-day sale reward, the
// collection counter across visits, the forging job), the portrait quiz's hit table and its
// screen, the props and remarks of the idle loops, and a picture for every frame shown.
#include "scripts/home/shopkeepers.h"

#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/math.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "platform/harness.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;

struct Figure {
    s32 obj, slot, frame;
};
constexpr Figure SHOP9{8, 8, 2051};
constexpr Figure SHOP7{9, 9, 2074};
constexpr Figure SMITH{24, 22, 30220};
constexpr Figure SHOP0{25, 23, 2560};
constexpr Figure SHOP1{73, 30, 33364};
constexpr Figure SHOP2{74, 31, 31700};
constexpr Figure SHOP8{75, 32, 2023};
constexpr Figure SHOP3{77, 34, 31024};
constexpr Figure SHOP5{78, 35, 30980};
constexpr s32 SHOP0_PROP = 70;
constexpr s32 GLOW = 117;
// What the shop-5 keeper's story touches.
constexpr s32 REST_ATTENDANT = 112;
constexpr s32 GUEST = 98;
constexpr s32 EPISODE_PERSON = 2004;
constexpr s32 REST_SERVICE = 111;

// The quiz answers the fake hands out, in order.
std::deque<s32> quiz_answers;
s32 fake_quiz() {
    if (quiz_answers.empty()) {
        ADD_FAILURE() << "quiz asked with no answer queued";
        return QUIZ_WRONG;
    }
    const s32 a = quiz_answers.front();
    quiz_answers.pop_front();
    return a;
}

class Shopkeepers : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        for (const s32 o : {SHOP0_PROP, GLOW, REST_ATTENDANT, GUEST, EPISODE_PERSON, REST_SERVICE})
            sh_object(o, {});
        portrait_quiz_seam = fake_quiz;
        quiz_answers.clear();
    }
    void TearDown() override {
        portrait_quiz_seam = portrait_quiz;
        ScriptTest::TearDown();
    }
    // The figure right of the player (the player's boxes at 0, the keeper's own at 3), stage set.
    static void place(const Figure& f, s32 stage) {
        sh_object(f.obj, {.x = PX + 50,
                          .y = PY,
                          .frame = f.frame,
                          .slot = f.slot,
                          .var_a = stage,
                          .click = true});
    }
    static Lines click(s32 obj) {
        sh_clear_lines();
        sh_clear_calls();
        sh_fire(obj, TRIG_CLICK);
        return spoken(sh_lines());
    }
    // Lines said, chosen and floated; growth's log lines are checked by state.
    static Lines spoken(const Lines& all) {
        Lines out;
        for (const std::string& l : all)
            if (l.rfind("log", 0) != 0) out.push_back(l);
        return out;
    }
};

std::string menu(std::initializer_list<s32> texts, s32 answer) {
    std::string s = "choose 0 1000";
    for (const s32 t : texts) s += " " + std::to_string(t);
    return s + " -> " + std::to_string(answer);
}

// Texts first..last, alternating from `a` to `b` (formatted speakers).
Lines alternating(s32 first, s32 last, const std::string& a, const std::string& b) {
    Lines out;
    for (s32 t = first; t <= last; ++t)
        out.push_back(((t - first) % 2 == 0 ? a : b) + " " + std::to_string(t));
    return out;
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string bubble(const Figure& f) {
    return "say_at " + std::to_string(f.obj);
}
const std::string PLAYER = "say 0 1000";

s32 skill_sum(s32 i) {
    return player_record.skill[i] * 100000 + player_record.skill_exp[i];
}

// ---- The keepers -----------------------------------------------------------------------------

struct KeeperCase {
    const char* name;
    Figure who;
    s32 stage;
    std::function<void()> setup;
    std::vector<s32> answers;
    Lines lines;
    Lines calls;
    s32 next_stage;
    std::function<void()> check = {};
};

TEST_F(Shopkeepers, EachKeeperAnswersByStageWithItsShop) {
    const s32 sword_skill = skill_sum(14);
    const s32 skill17 = skill_sum(17);
    const auto with_forge_item = [] { inv_add(1571, 1); };
    const std::string s9 = bubble(SHOP9), s7 = bubble(SHOP7), sm = bubble(SMITH);
    const std::string s0 = bubble(SHOP0), s1 = bubble(SHOP1), s2 = bubble(SHOP2);
    const std::string s8 = bubble(SHOP8), s3 = bubble(SHOP3), s5 = bubble(SHOP5);
    const std::string p3 = "say 3 1000";
    const KeeperCase cases[] = {
        {"shop 9 buys",
         SHOP9,
         0,
         {},
         {0},
         {s9 + " 10125", menu({10126, 10127}, 0)},
         {"shop_buy 9"},
         0},
        {"shop 9 with the album picture, leaving",
         SHOP9,
         0,
         [] { album_add(1); },
         {1},
         {s9 + " 10967", PLAYER + " 10968", s9 + " 10125", menu({10126, 10127}, 1)},
         {},
         0},
        {"shop 7 introduces itself",
         SHOP7,
         0,
         {},
         {},
         alternating(10138, 10142, s7, PLAYER) + Lines{PLAYER + " 10812", s7 + " 10813"},
         {},
         1},
        {"shop 7 buys",
         SHOP7,
         1,
         {},
         {0},
         {s7 + " 10143", menu({10144, 10145, 10267}, 0)},
         {"shop_buy 7"},
         1},
        {"shop 7 after the reward sells plainly",
         SHOP7,
         2,
         {},
         {1},
         {s7 + " 10818", menu({10144, 10145, 10267}, 1)},
         {"shop_sell 7"},
         2},
        {"smith introduces itself",
         SMITH,
         0,
         {},
         {},
         alternating(10175, 10185, PLAYER, sm) + Lines{PLAYER + " 10166"} +
             alternating(10186, 10188, sm, PLAYER),
         {},
         1,
         [] { EXPECT_EQ(obj_get_frame(SMITH.obj), 30214); }},
        {"smith without the forging item",
         SMITH,
         1,
         {},
         {1},
         {sm + " 10189", menu({10190, 10191, 10192}, 1)},
         {"shop_sell 6"},
         1},
        {"smith with the forging item offers the job",
         SMITH,
         1,
         with_forge_item,
         {0},
         {sm + " 10189", menu({10190, 10191, 10193, 10697}, 0)},
         {"shop_buy 6"},
         1},
        {"smith after the job offers no job",
         SMITH,
         2,
         with_forge_item,
         {2},
         {sm + " 10189", menu({10190, 10191, 10192}, 2)},
         {},
         2},
        {"shop 0 teaches at the first talk",
         SHOP0,
         0,
         [] { attr_set(SHOP0_PROP, ATTR_ACTIVE, 1); },
         {},
         alternating(10167, 10169, s0, PLAYER) + alternating(10343, 10345, s0, PLAYER),
         {},
         1,
         [&] {
             EXPECT_EQ(known_has(14, 0), 1);
             EXPECT_NE(skill_sum(14), sword_skill);
             EXPECT_EQ(attr_get(SHOP0_PROP, ATTR_ACTIVE), 0);
         }},
        {"shop 0 sells",
         SHOP0,
         1,
         {},
         {1},
         {s0 + " 10171", menu({10172, 10173, 10174}, 1)},
         {"shop_sell 0"},
         1},
        {"shop 1 introduces itself",
         SHOP1,
         0,
         {},
         {},
         alternating(10103, 10109, s1, PLAYER),
         {},
         1},
        {"shop 1 buys",
         SHOP1,
         1,
         {},
         {0},
         {s1 + " 10102", menu({10111, 10112}, 0)},
         {"shop_buy 1"},
         1},
        {"shop 1's second option only talks",
         SHOP1,
         1,
         {},
         {1},
         {s1 + " 10102", menu({10111, 10112}, 1), s1 + " 10113"},
         {},
         1},
        {"shop 1 in the open world: farewell",
         SHOP1,
         2,
         [] { player_record.story_flags[FAREWELL_FLAG] = 2; },
         {},
         alternating(26573, 26579, PLAYER, s1),
         {"companion_leave"},
         1,
         [] { EXPECT_EQ(player_record.story_flags[FAREWELL_FLAG], 3); }},
        {"shop 2 sells through a plain choice",
         SHOP2,
         0,
         {},
         {1},
         {s2 + " 10118", menu({10120, 10121, 10122}, 1)},
         {"shop_sell 2"},
         0},
        {"shop 8 introduces itself with the player at 2",
         SHOP8,
         0,
         {},
         {},
         alternating(10130, 10134, s8, "say 2 1000"),
         {},
         1},
        {"shop 8 after the reward: the sale counts nothing",
         SHOP8,
         2,
         [] {
             inv_add(1844, 3);
             sh_on_call("shop_sell", [] { inv_remove(1844, 2); });
         },
         {1},
         {s8 + " 10135", menu({10136, 10137, 10266}, 1)},
         {"shop_sell 8"},
         2,
         [] { EXPECT_EQ(player_record.affection[COLLECTION_COUNTER], -1); }},
        {"shop 3 lists sell first",
         SHOP3,
         0,
         {},
         {0},
         {s3 + " 10154", menu({10155, 10156, 10157}, 0)},
         {"shop_sell 3"},
         0},
        {"shop 3 lists buy second",
         SHOP3,
         0,
         {},
         {1},
         {s3 + " 10154", menu({10155, 10156, 10157}, 1)},
         {"shop_buy 3"},
         0},
        {"shop 3's third option only talks",
         SHOP3,
         0,
         {},
         {2},
         {s3 + " 10154", menu({10155, 10156, 10157}, 2), s3 + " 10265"},
         {},
         0},
        {"shop 3's quiz answered right",
         SHOP3,
         1,
         [] { quiz_answers = {QUIZ_RIGHT}; },
         {},
         alternating(13577, 13581, p3, s3) + alternating(13583, 13586, s3, p3),
         {},
         0,
         [] { EXPECT_EQ(attr_get(SHOP5.obj, ATTR_VAR_A), 2); }},
        {"shop 3's quiz answered wrong keeps stage 2",
         SHOP3,
         1,
         [] { quiz_answers = {QUIZ_WRONG}; },
         {},
         alternating(13577, 13581, p3, s3) + Lines{s3 + " 13582"},
         {},
         2,
         [] { EXPECT_EQ(attr_get(SHOP5.obj, ATTR_VAR_A), 0); }},
        {"shop 3's quiz asked again, wrong",
         SHOP3,
         2,
         [] { quiz_answers = {QUIZ_WRONG}; },
         {},
         {p3 + " 13587", s3 + " 13582"},
         {},
         2},
        {"shop 3's quiz asked again, right",
         SHOP3,
         2,
         [] { quiz_answers = {QUIZ_RIGHT}; },
         {},
         Lines{p3 + " 13587"} + alternating(13583, 13586, s3, p3),
         {},
         0,
         [] { EXPECT_EQ(attr_get(SHOP5.obj, ATTR_VAR_A), 2); }},
        {"shop 5 teaches at the first talk",
         SHOP5,
         0,
         {},
         {},
         alternating(10159, 10161, s5, PLAYER),
         {},
         1,
         [&] {
             EXPECT_EQ(known_has(17, 0), 1);
             EXPECT_NE(skill_sum(17), skill17);
             EXPECT_EQ(obj_get_frame(SHOP5.obj), 30972);
         }},
        {"shop 5 sells",
         SHOP5,
         1,
         {},
         {1},
         {s5 + " 10158", menu({10163, 10164, 10165}, 1)},
         {"shop_sell 5"},
         1},
        {"shop 5 after the quiz sends the player on",
         SHOP5,
         2,
         {},
         {},
         alternating(13588, 13599, PLAYER, s5),
         {},
         1,
         [] {
             EXPECT_EQ(attr_get(REST_ATTENDANT, ATTR_VAR_A), 3);
             EXPECT_EQ(attr_get(GUEST, ATTR_VAR_A), 3);
             EXPECT_EQ(attr_get(EPISODE_PERSON, ATTR_ACTIVE), 1);
             EXPECT_EQ(attr_get(REST_SERVICE, ATTR_ACTIVE), 0);
         }},
    };
    for (const KeeperCase& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        sh_player(PX, PY);
        for (const s32 o : {REST_ATTENDANT, GUEST, EPISODE_PERSON, REST_SERVICE, SHOP5.obj})
            sh_object(o, {});
        attr_set(EPISODE_PERSON, ATTR_ACTIVE, 0);
        sh_on_call("shop_sell", {});
        place(c.who, c.stage);
        if (c.setup) c.setup();
        for (const s32 a : c.answers) sh_answers({a});
        EXPECT_EQ(click(c.who.obj), c.lines);
        EXPECT_EQ(sh_calls(), c.calls);
        EXPECT_EQ(attr_get(c.who.obj, ATTR_VAR_A), c.next_stage);
        EXPECT_TRUE(quiz_answers.empty());
        if (c.check) c.check();
    }
}

// The farthest offset along one axis that the engine's distance (an approximate square root)
// still counts as `limit`.
s32 edge_offset(s32 limit) {
    s32 dx = limit;
    while (isqrt(u32((dx + 1) * (dx + 1))) <= limit) ++dx;
    return dx;
}

TEST_F(Shopkeepers, OnlyTheMapTenKeepersGuardTheirDistance) {
    struct Case {
        Figure who;
        s32 stage, leave; // a stage with a menu, and its option that leaves
    };
    const s32 edge = edge_offset(150);
    const Lines too_far{"label 0 10000 -112 -108 2000"};
    for (const Case& c : {Case{SHOP9, 0, 1}, Case{SHOP7, 1, 2}, Case{SHOP8, 1, 2}}) {
        SCOPED_TRACE(c.who.slot);
        sh_player(PX, PY);
        for (const s32 dx : {edge, edge + 1}) {
            sh_object(c.who.obj, {.x = PX + dx,
                                  .y = PY,
                                  .frame = c.who.frame,
                                  .slot = c.who.slot,
                                  .var_a = c.stage,
                                  .click = true});
            if (dx == edge) sh_answers({c.leave});
            const Lines lines = click(c.who.obj);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines == too_far, dx > edge);
        }
    }
    sh_object(SHOP1.obj,
              {.x = PX + 900, .y = PY, .frame = SHOP1.frame, .slot = SHOP1.slot, .click = true});
    EXPECT_EQ(click(SHOP1.obj).size(), 7u);
}

// ---- The first-day sale reward ---------------------------------------------------------------

TEST_F(Shopkeepers, SaleRewardOnlyOnTheFirstDayAndOnlyOnce) {
    enum Sold { NONE, A, B, BOTH };
    struct Case {
        s32 turn;
        Sold sold;
        bool album_before;
    };
    for (const s32 turn : {0, 1})
        for (const Sold sold : {NONE, A, B, BOTH})
            for (const bool album_before : {false, true}) {
                const Case c{turn, sold, album_before};
                SCOPED_TRACE("turn " + std::to_string(c.turn) + " sold " + std::to_string(c.sold) +
                             " album " + std::to_string(c.album_before));
                init_player();
                sh_player(PX, PY);
                sh_turn(c.turn);
                place(SHOP7, 1);
                inv_add(1864, 2);
                inv_add(1881, 2);
                if (c.album_before) album_add(1);
                sh_on_call("shop_sell", [sold = c.sold] {
                    if (sold == A || sold == BOTH) inv_remove(1864, 1);
                    if (sold == B || sold == BOTH) inv_remove(1881, 1);
                });
                const s32 fame_exp = player_record.fame_exp;
                const s32 fame = player_record.fame;
                sh_answers({1});
                const Lines lines = click(SHOP7.obj);
                const bool rewarded = c.turn == 0 && c.sold != NONE && !c.album_before;
                Lines expected;
                if (c.album_before) expected = {bubble(SHOP7) + " 10965", PLAYER + " 10968"};
                expected =
                    expected + Lines{bubble(SHOP7) + " 10143", menu({10144, 10145, 10267}, 1)};
                if (rewarded) {
                    const bool a = c.sold == A || c.sold == BOTH;
                    expected = expected + Lines{bubble(SHOP7) + (a ? " 10814" : " 10961")} +
                               alternating(10815, 10817, PLAYER, bubble(SHOP7));
                }
                EXPECT_EQ(lines, expected);
                EXPECT_EQ(sh_calls(), Lines{"shop_sell 7"});
                EXPECT_EQ(attr_get(SHOP7.obj, ATTR_VAR_A), rewarded ? 2 : 1);
                EXPECT_EQ(album_has(1), rewarded || c.album_before ? 1 : 0);
                const bool fame_moved =
                    player_record.fame_exp != fame_exp || player_record.fame != fame;
                EXPECT_EQ(fame_moved, rewarded);
                sh_on_call("shop_sell", {});
            }
}

// On real field frames: a click on the keeper opens its talk; the sell screen that the counted
// sale opens closes on a click over the keeper, and the next frames must not take that click for
// a new click on the keeper.
TEST_F(Shopkeepers, TheCountedSalesClosingClickDoesNotReopenTheTalk) {
    init_player();
    sh_player(PX, PY);
    sh_turn(1);
    place(SHOP7, 1);
    const s32 x = PX + 50 - world_state.camera_x;
    const s32 y = PY - PLACEHOLDER_FIGURE_H / 2 - world_state.camera_y;
    sh_screens_leave_click(x, y);
    sh_answers({1});
    sh_clear_lines();
    sh_clear_calls();
    click_kind = 1;
    click_x = x;
    click_y = y;
    sh_field_frames(1);
    EXPECT_EQ(sh_only(sh_lines(), {"say", "choose"}),
              (Lines{bubble(SHOP7) + " 10143", menu({10144, 10145, 10267}, 1)}));
    EXPECT_EQ(sh_calls(), Lines{"shop_sell 7"});
    sh_clear_lines();
    sh_field_frames(2);
    EXPECT_EQ(sh_only(sh_lines(), {"say", "choose"}), Lines{}) << "the closing click reopened it";
    EXPECT_EQ(sh_calls(), Lines{"shop_sell 7"});
}

// ---- The collection counter ------------------------------------------------------------------

TEST_F(Shopkeepers, CollectionCounterPaysOnTheThirdVisitOfTwoItems) {
    init_player();
    sh_player(PX, PY);
    place(SHOP8, 1);
    ASSERT_EQ(player_record.affection[COLLECTION_COUNTER], -1); // kept: a new game starts at -1
    inv_add(1844, 6);
    sh_on_call("shop_sell", [] { inv_remove(1844, 2); });
    const Lines visit{bubble(SHOP8) + " 10135", menu({10136, 10137, 10266}, 1)};
    for (const s32 counter : {1, 3}) {
        sh_answers({1});
        EXPECT_EQ(click(SHOP8.obj), visit);
        EXPECT_EQ(player_record.affection[COLLECTION_COUNTER], counter);
        EXPECT_EQ(attr_get(SHOP8.obj, ATTR_VAR_A), 1);
    }
    sh_answers({1});
    EXPECT_EQ(click(SHOP8.obj),
              visit + alternating(11520, 11526, bubble(SHOP8), PLAYER) + Lines{"sound 501 1"});
    EXPECT_EQ(player_record.affection[COLLECTION_COUNTER], 5);
    EXPECT_EQ(inv_has_count(2241, 10), 1);
    EXPECT_EQ(attr_get(SHOP8.obj, ATTR_VAR_A), 2);

    // A sell screen left without selling counts nothing.
    place(SHOP8, 1);
    player_record.affection[COLLECTION_COUNTER] = 3;
    sh_on_call("shop_sell", {});
    sh_answers({1});
    EXPECT_EQ(click(SHOP8.obj), visit);
    EXPECT_EQ(player_record.affection[COLLECTION_COUNTER], 3);
}

// ---- The forging job -------------------------------------------------------------------------

TEST_F(Shopkeepers, ForgingJobEndsTheSameWhateverTheGame) {
    for (const s32 result : {1, 0}) {
        SCOPED_TRACE(result);
        init_player();
        sh_player(PX, PY);
        place(SMITH, 1);
        inv_add(1571, 1);
        sh_results("tracks", {result});
        sh_answers({2});
        const std::string sm = bubble(SMITH);
        EXPECT_EQ(click(SMITH.obj),
                  (Lines{sm + " 10189", menu({10190, 10191, 10193, 10697}, 2), sm + " 10195",
                         sm + (result == 1 ? " 10695" : " 10696")}));
        EXPECT_EQ(sh_calls(), Lines{"tracks 1"});
        EXPECT_EQ(attr_get(SMITH.obj, ATTR_VAR_A), 2);
        EXPECT_EQ(inv_has(1571), 0);
        EXPECT_EQ(known_has(16, 50), 1);
        EXPECT_EQ(obj_get_frame(SMITH.obj), 30214);
    }
}

// ---- The portrait quiz -----------------------------------------------------------------------

TEST(PortraitQuiz, HitTable) {
    struct Case {
        s32 x, y, answer;
    };
    const Case cases[] = {
        {3, 8, QUIZ_WRONG},     // the first cell's corner
        {128, 158, QUIZ_WRONG}, // its far edges, x + 125 and y + 150
        {129, 100, QUIZ_MISS},  // the gaps between the columns
        {256, 100, QUIZ_MISS},  //
        {383, 100, QUIZ_MISS},  //
        {510, 100, QUIZ_MISS},  //
        {130, 100, QUIZ_WRONG}, // the second column starts right after
        {600, 159, QUIZ_MISS},  // the gaps between the rows
        {600, 164, QUIZ_MISS},  //
        {600, 316, QUIZ_MISS},  //
        {600, 321, QUIZ_MISS},  //
        {600, 322, QUIZ_WRONG}, //
        {384, 165, QUIZ_RIGHT}, // cell 8: the middle row, fourth column
        {509, 315, QUIZ_RIGHT}, //
        {383, 240, QUIZ_MISS},  // just left of it
        {384, 164, QUIZ_MISS},  // just above it
        {511, 240, QUIZ_WRONG}, // its right neighbour
        {384, 322, QUIZ_WRONG}, // the cell below it
        {2, 100, QUIZ_MISS},    // outside the grid
        {637, 100, QUIZ_MISS},  //
        {300, 473, QUIZ_MISS},  //
    };
    for (const Case& c : cases)
        EXPECT_EQ(portrait_quiz_hit(c.x, c.y), c.answer) << c.x << "," << c.y;
}

TEST_F(Shopkeepers, QuizScreenIgnoresGapsAndClearsTheClick) {
    portrait_quiz_seam = portrait_quiz;
    // A click into a gap, then one on the right portrait.
    harness_click(256, 240, 1, at_present(harness_presents() + 20));
    harness_click(400, 200);
    EXPECT_EQ(portrait_quiz(), QUIZ_RIGHT);
    EXPECT_EQ(mouse_buttons.peek(), 0u);
    EXPECT_EQ(click_kind.peek(), 0u);

    harness_click(20, 20, 1, at_present(harness_presents() + 20));
    EXPECT_EQ(portrait_quiz(), QUIZ_WRONG);
}

// ---- Idle loops, props and remarks -----------------------------------------------------------

TEST_F(Shopkeepers, IdleLoopsMoveTheirPropsAndFloatTheirRemarks) {
    struct Case {
        const char* name;
        Figure who;
        s32 frame_before;
        std::vector<s32> draws;
        s32 frame_after;
        Lines lines;
        s32 glow_active, prop_active; // -1: not looked at
    };
    sh_player(PX, PY);
    const Case cases[] = {
        {"smith lights the glow", SMITH, 30258, {}, 30260, {}, 1, -1},
        {"smith puts it out", SMITH, 30266, {}, 30268, {}, 0, -1},
        {"shop 0's prop on", SHOP0, 2583, {}, 2584, {}, -1, 1},
        {"shop 0's prop still on", SHOP0, 2590, {}, 2591, {}, -1, 1},
        {"shop 0's prop off", SHOP0, 2591, {}, 2592, {}, -1, 0},
        {"shop 9's first remark", SHOP9, 2064, {6}, 2065, {"label 8 10033 -64 -100 5000"}, -1, -1},
        {"shop 9's second remark", SHOP9, 2064, {5}, 2065, {"label 8 10034 -56 -100 3000"}, -1, -1},
        {"shop 7's remark", SHOP7, 2086, {9}, 2087, {"label 9 10029 -128 -95 3000"}, -1, -1},
        {"shop 8's remark", SHOP8, 2026, {0}, 2027, {"label 75 10032 -80 -100 5000"}, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        attr_set(GLOW, ATTR_ACTIVE, c.glow_active == 1 ? 0 : 1);
        attr_set(SHOP0_PROP, ATTR_ACTIVE, c.prop_active == 1 ? 0 : 1);
        sh_object(c.who.obj, {.frame = c.frame_before, .slot = c.who.slot});
        for (const s32 d : c.draws) sh_rand({d});
        sh_clear_lines();
        sh_fire(c.who.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.frame_after);
        EXPECT_EQ(sh_only(sh_lines(), {"label"}), c.lines);
        EXPECT_EQ(sh_rand_left(), 0u);
        if (c.glow_active >= 0) {
            EXPECT_EQ(attr_get(GLOW, ATTR_ACTIVE), c.glow_active);
        }
        if (c.glow_active == 1) {
            EXPECT_EQ(attr_get(GLOW, ATTR_BLEND), 12);
            EXPECT_EQ(obj_get_frame(GLOW), 20007);
        }
        if (c.prop_active >= 0) {
            EXPECT_EQ(attr_get(SHOP0_PROP, ATTR_ACTIVE), c.prop_active);
        }
    }
}

} // namespace

// Every frame the keepers show has a picture in the placeholder archive.
TEST(ShopkeepersPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(shopkeepers_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}
