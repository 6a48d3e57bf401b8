// The daily routines of the home map: each resident's timer part at chosen times and stages, its
// talk by stage, and the promise to the NPC timetables.
#include "scripts/home/routines.h"

#include "data/timetables.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/clock.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 HOME = 10;
constexpr s32 PX = 1000;
constexpr s32 PY = 1000;

struct Resident {
    s32 obj;
    s32 slot;
};
constexpr Resident RESIDENTS[] = {
    {217, 113}, {218, 114}, {219, 115}, {223, 119}, {225, 121},
    {226, 122}, {227, 123}, {123, 126}, {232, 130},
};
s32 slot_of(s32 obj) {
    for (const Resident& r : RESIDENTS)
        if (r.obj == obj) return r.slot;
    return 0;
}

// The lines a test looks at: speech, choices and remarks.
Lines said() {
    Lines out;
    for (const std::string& l : sh_lines())
        if (l.rfind("say", 0) == 0 || l.rfind("choose", 0) == 0 || l.rfind("label", 0) == 0)
            out.push_back(l);
    return out;
}

class Routines : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        init_npc_timetables();
        sh_player(PX, PY);
        world_state.current_map = HOME;
        // The objects the residents switch, hand stages to or float remarks over.
        for (s32 o : {6, 11, 72, 100, 122, 228, 235, 236, 217, 218}) sh_object(o, {.map = HOME});
    }
    // Puts a resident at a place with a stage and a frame.
    void put(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 stage) {
        sh_object(obj, {.map = map,
                        .x = x,
                        .y = y,
                        .frame = frame,
                        .slot = slot_of(obj),
                        .var_a = stage,
                        .click = true,
                        .cursor = 13});
    }
    // `runs` timer runs at hour:minute.
    void tick(s32 obj, s32 hour, s32 minute, s32 runs = 1) {
        sh_clock(hour, minute);
        for (s32 i = 0; i < runs; ++i) sh_fire(obj, TRIG_TIMER);
    }
};

// ---- Timer part ------------------------------------------------------------------------------

struct Where {
    s32 map, x, y, frame, stage;
};
struct RouteCase {
    const char* what;
    s32 obj;
    Where from;
    s32 hour, minute;
    s32 player_map;
    Where to;
    Lines lines;
    s32 timer; // ATTR_TIMER after the run
};

TEST_F(Routines, EachResidentFollowsItsRouteByTheClock) {
    const RouteCase cases[] = {
        // 217
        {"217 arrives at its first point",
         217,
         {HOME, 213, 1781, 5402, 1},
         6,
         0,
         HOME,
         {HOME, 213, 1781, 5402, 2},
         {},
         5},
        {"217 at the path end floats its remark",
         217,
         {HOME, 1387, 1167, 5402, 2},
         6,
         0,
         HOME,
         {HOME, 1387, 1167, -5402, 3},
         {"label 217 20473 -100 -110 3000"},
         5},
        {"217 before its first window waits",
         217,
         {HOME, 1387, 1167, -5402, 3},
         6,
         29,
         HOME,
         {HOME, 1387, 1167, -5402, 3},
         {},
         5},
        {"217 reaches the field",
         217,
         {HOME, 2871, 832, 5402, 6},
         6,
         45,
         HOME,
         {HOME, 2871, 832, 33812, 7},
         {},
         5},
        {"217 works the field",
         217,
         {HOME, 2871, 832, 33812, 7},
         8,
         0,
         HOME,
         {HOME, 2871, 832, 33814, 7},
         {},
         10},
        {"217 turns to leave at ten",
         217,
         {HOME, 2871, 832, 33820, 7},
         10,
         0,
         HOME,
         {HOME, 2871, 832, 5402, 8},
         {},
         5},
        {"217 waits at the hall door",
         217,
         {HOME, 2221, 681, 5402, 10},
         10,
         30,
         HOME,
         {HOME, 2221, 681, 5422, 10},
         {},
         5},
        {"217 vanishes at the door",
         217,
         {HOME, 2507, 267, 5422, 10},
         11,
         0,
         HOME,
         {HOME, 2507, 267, 0, 11},
         {},
         5},
        {"217 appears in the hall",
         217,
         {HOME, 2507, 267, 0, 11},
         11,
         0,
         HOME,
         {40, 624, 1614, 5402, 12},
         {},
         5},
        {"217 sits down in the kitchen and calls 218",
         217,
         {51, 361, 364, 5402, 23},
         12,
         10,
         HOME,
         {51, 361, 364, 33812, 24},
         {},
         5},
        {"217 goes to bed and sends 218 off",
         217,
         {25, 602, 301, 5402, 59},
         20,
         0,
         HOME,
         {25, 602, 301, 0, 59},
         {},
         5},
        // 218
        {"218 stands by its bed",
         218,
         {25, 605, 348, 5452, 48},
         17,
         0,
         HOME,
         {25, 605, 348, -5452, 48},
         {},
         5},
        {"218 waits in the kitchen",
         218,
         {51, 422, 430, 5472, 17},
         12,
         30,
         HOME,
         {51, 422, 430, 5452, 17},
         {},
         5},
        // 219
        {"219 idles at home early",
         219,
         {HOME, 5447, 1655, 32800, 0},
         6,
         10,
         HOME,
         {HOME, 5447, 1655, 32802, 0},
         {},
         6},
        {"219 sets off at half past six",
         219,
         {HOME, 5447, 1655, 32810, 0},
         6,
         30,
         HOME,
         {HOME, 5447, 1655, -5872, 1},
         {},
         6},
        {"219 comes home",
         219,
         {HOME, 5447, 1655, 5872, 23},
         10,
         45,
         HOME,
         {HOME, 5447, 1655, 32800, 24},
         {},
         6},
        {"219's home loop wraps with its pause",
         219,
         {HOME, 5447, 1655, 32874, 24},
         15,
         0,
         HOME,
         {HOME, 5447, 1655, 32800, 24},
         {},
         20},
        // 223
        {"223's field loop and its remark",
         223,
         {HOME, 2220, 684, 32908, 4},
         6,
         40,
         HOME,
         {HOME, 2220, 684, 32910, 4},
         {"label 223 20467 -95 -105 2000"},
         10},
        {"223 enters the hall unseen from map 10",
         223,
         {HOME, 2478, 267, 0, 6},
         9,
         0,
         HOME,
         {40, 625, 1610, 5152, 7},
         {},
         4},
        {"223 enters the hall in sight",
         223,
         {HOME, 2478, 267, 0, 6},
         9,
         0,
         40,
         {40, 625, 1610, 5152, 7},
         {"label 223 20468 -100 -130 3000"},
         4},
        {"223 talks to 6 while it waits",
         223,
         {40, 700, 990, 5152, 8},
         9,
         0,
         40,
         {40, 700, 990, 5152, 8},
         {"label 223 20470 -110 -100 4000"},
         4},
        {"223 leaves the kitchen at noon",
         223,
         {51, 570, 415, 32940, 15},
         12,
         0,
         HOME,
         {51, 570, 415, 5152, 16},
         {},
         10},
        {"223 comes back to 6",
         223,
         {40, 825, 938, 5152, 20},
         13,
         0,
         40,
         {40, 825, 938, 5152, 21},
         {"label 223 20471 -80 -115 3000"},
         4},
        // 225
        {"225 calls out on its way",
         225,
         {HOME, 7239, 2343, 5202, 2},
         10,
         20,
         HOME,
         {HOME, 7239, 2343, 5202, 3},
         {"label 225 20406 -150 -110 6000"},
         6},
        {"225 arrives at the well with 11",
         225,
         {HOME, 2291, 1078, 5202, 38},
         13,
         30,
         HOME,
         {HOME, 2291, 1078, 33438, 39},
         {"label 225 20415 -50 -110 4000", "label 11 20414 -50 -110 4000"},
         6},
        {"225 says goodbye to 72",
         225,
         {HOME, 1265, 1035, 5202, 43},
         15,
         10,
         HOME,
         {HOME, 1265, 1035, 5202, 44},
         {"label 225 20417 -150 -110 10000", "label 72 20418 -112 -110 5000"},
         6},
        // 226 and 227
        {"226 skips a stage on arrival",
         226,
         {HOME, 7280, 2397, 5202, 0},
         10,
         0,
         HOME,
         {HOME, 7280, 2397, 5252, 2},
         {},
         6},
        {"226 has no step for stage 1",
         226,
         {HOME, 7280, 2397, 5202, 1},
         10,
         0,
         HOME,
         {HOME, 7280, 2397, 5202, 1},
         {},
         6},
        {"226 sits down in the kitchen",
         226,
         {51, 325, 374, 5252, 25},
         12,
         30,
         HOME,
         {51, 325, 374, -5252, 27},
         {},
         6},
        {"227 has no step for stage 4",
         227,
         {HOME, 5626, 1719, 5252, 4},
         10,
         30,
         HOME,
         {HOME, 5626, 1719, 5252, 4},
         {},
         6},
        {"227 reaches the square",
         227,
         {HOME, 5626, 1719, 5252, 3},
         10,
         30,
         HOME,
         {HOME, 5626, 1719, 33036, 6},
         {},
         6},
        // 123
        {"123 does nothing at ten sharp",
         123,
         {HOME, 2756, 1078, 33204, 5},
         10,
         0,
         HOME,
         {HOME, 2756, 1078, 33204, 5},
         {},
         6},
        {"123 moves on at one past ten",
         123,
         {HOME, 2756, 1078, 33204, 5},
         10,
         1,
         HOME,
         {HOME, 2756, 1078, 5322, 6},
         {},
         6},
        {"123 reaches the workshop",
         123,
         {28, 236, 301, 5302, 26},
         12,
         0,
         HOME,
         {28, 236, 301, 30270, 27},
         {},
         6},
        {"123 works on after its talks",
         123,
         {28, 236, 301, 30270, 28},
         20,
         0,
         HOME,
         {28, 236, 301, 30272, 28},
         {},
         10},
        // 232
        {"232 comes out at noon",
         232,
         {23, 425, 334, 33346, 0},
         12,
         0,
         HOME,
         {23, 425, 334, -5352, 1},
         {},
         6},
        {"232 is back home",
         232,
         {23, 425, 334, 5372, 46},
         15,
         30,
         HOME,
         {23, 425, 334, 33346, 47},
         {},
         6},
        {"232 keeps its frame in the evening",
         232,
         {23, 425, 334, 33350, 47},
         18,
         0,
         HOME,
         {23, 425, 334, 33350, 47},
         {},
         6},
        {"232's home loop steps by one",
         232,
         {23, 425, 334, 33350, 47},
         9,
         0,
         HOME,
         {23, 425, 334, 33351, 47},
         {},
         6},
        {"232's home loop wraps with its pause",
         232,
         {23, 425, 334, 33361, 47},
         9,
         0,
         HOME,
         {23, 425, 334, 33346, 47},
         {},
         35},
    };
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.what);
        world_state.current_map = u16(c.player_map);
        put(c.obj, c.from.map, c.from.x, c.from.y, c.from.frame, c.from.stage);
        sh_clear_lines();
        tick(c.obj, c.hour, c.minute);
        EXPECT_EQ(attr_get(c.obj, ATTR_MAP), c.to.map);
        EXPECT_EQ(attr_get(c.obj, ATTR_X), c.to.x);
        EXPECT_EQ(attr_get(c.obj, ATTR_Y), c.to.y);
        EXPECT_EQ(obj_get_frame(c.obj), c.to.frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.to.stage);
        EXPECT_EQ(said(), c.lines);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
    }
}

TEST_F(Routines, ResidentsWalkTowardTheirNextPoint) {
    struct Case {
        s32 obj;
        Where from;
        s32 hour, minute;
        s32 x, y; // the point walked to
        s32 stage;
    };
    const Case cases[] = {
        {217, {HOME, 1966 - 200, 923 + 100, 5402, 3}, 6, 30, 1966, 923, 3},
        {218, {HOME, 4876 + 300, 1477, 5452, 38}, 16, 0, 4876, 1477, 38},
        {219, {HOME, 4670 + 200, 1521, 5872, 5}, 8, 45, 4670, 1521, 5},
        {225, {HOME, 1425, 1192, 5202, 42}, 15, 10, 1265, 1035, 43}, // one step, then on
        {123, {HOME, 4666 + 100, 1577, 5322, 1}, 9, 0, 4666, 1577, 1},
        {232, {HOME, 6072, 1733, 5352, 7}, 12, 30, 5830, 1936, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.obj);
        put(c.obj, c.from.map, c.from.x, c.from.y, c.from.frame, c.from.stage);
        const auto distance = [&] {
            return std::abs(attr_get(c.obj, ATTR_X) - c.x) +
                   std::abs(attr_get(c.obj, ATTR_Y) - c.y);
        };
        const s32 before = distance();
        tick(c.obj, c.hour, c.minute);
        EXPECT_LT(distance(), before);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.stage);
    }
}

TEST_F(Routines, TheTimerRunsAtTheResidentsIntervalOnAnyMap) {
    put(217, HOME, 2871, 832, 33812, 7);
    world_arm_timer(217, 1, true);
    world_state.current_map = 40;
    sh_clock(8, 0);
    sh_frames(1);
    EXPECT_EQ(obj_get_frame(217), 33814); // the first countdown ran out
    sh_frames(9);
    EXPECT_EQ(obj_get_frame(217), 33814); // the idle loop re-armed 10
    sh_frames(1);
    EXPECT_EQ(obj_get_frame(217), 33816);
}

TEST_F(Routines, HandshakesAndSwitchesOfOtherObjects) {
    put(217, 51, 361, 364, 5402, 23);
    put(218, 51, 391, 376, 5452, 17);
    tick(217, 12, 10);
    EXPECT_EQ(attr_get(218, ATTR_VAR_A), 18);

    put(217, 25, 602, 301, 0, 59);
    tick(217, 20, 0);
    EXPECT_EQ(attr_get(218, ATTR_VAR_A), 49);

    put(218, 25, 605, 348, 5452, 48);
    tick(218, 17, 0);
    EXPECT_EQ(attr_get(100, ATTR_ACTIVE), 0);
    put(218, 25, 620, 315, 5452, 49);
    tick(218, 17, 0);
    EXPECT_EQ(attr_get(100, ATTR_ACTIVE), 1);
    EXPECT_EQ(obj_get_frame(218), 0);

    // 223 keeps telling 6 its stage until 6 moves it on; its return gives 6 stage 10.
    put(223, 40, 735, 990, 5152, 8);
    attr_set(6, ATTR_VAR_A, 7);
    tick(223, 9, 0);
    EXPECT_EQ(attr_get(6, ATTR_VAR_A), 8);
    attr_set(6, ATTR_VAR_A, 0);
    tick(223, 9, 0);
    EXPECT_EQ(attr_get(6, ATTR_VAR_A), 8);
    EXPECT_EQ(attr_get(223, ATTR_VAR_A), 8);
    put(223, 40, 825, 938, 5152, 20);
    tick(223, 13, 0);
    EXPECT_EQ(attr_get(6, ATTR_VAR_A), 10);

    // Who switches itself off at the end of its day.
    const Where last[] = {{HOME, 4565, 2198, 5152, 32}, {HOME, 900, 650, 5202, 44}};
    const s32 who[] = {223, 225};
    for (s32 i = 0; i < 2; ++i) {
        put(who[i], last[i].map, last[i].x, last[i].y, last[i].frame, last[i].stage);
        tick(who[i], 15, 30);
        EXPECT_EQ(attr_get(who[i], ATTR_ACTIVE), 0) << who[i];
    }
    for (s32 o : {226, 227}) {
        put(o, HOME, 900, 650, 5252, 44);
        tick(o, 15, 30);
        EXPECT_EQ(attr_get(o, ATTR_ACTIVE), 0) << o;
    }

    // 123 in its workshop: 228 off, 122 on.
    attr_set(122, ATTR_ACTIVE, 0);
    put(123, 28, 236, 301, 5302, 26);
    tick(123, 11, 30);
    EXPECT_EQ(attr_get(228, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(122, ATTR_ACTIVE), 1);
}

TEST_F(Routines, ResidentAtHomeAndAway) {
    // Away (stages 1..46) objects 235 and 236 are off, even in the morning's home loop, which
    // draws 232 on layer 2 without its shadow whatever its stage.
    put(232, 23, 425, 334, 33346, 30);
    tick(232, 9, 0);
    EXPECT_EQ(attr_get(235, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(236, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(232, ATTR_LAYER), 2);
    EXPECT_EQ(attr_get(232, ATTR_SHADOW), 0);
    EXPECT_EQ(obj_get_frame(232), 33347);

    // Leaving at noon: shadow and the walking layer.
    put(232, 23, 425, 334, 33346, 0);
    attr_set(235, ATTR_ACTIVE, 1);
    tick(232, 12, 0);
    EXPECT_EQ(attr_get(235, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(232, ATTR_LAYER), 3);
    EXPECT_EQ(attr_get(232, ATTR_SHADOW), 1);

    // Home again: 235 and 236 on, then the home loop on layer 2.
    put(232, 23, 425, 334, 5372, 46);
    tick(232, 15, 30);
    EXPECT_EQ(attr_get(235, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(236, ATTR_ACTIVE), 1);
    tick(232, 15, 31);
    EXPECT_EQ(attr_get(232, ATTR_LAYER), 2);
    EXPECT_EQ(attr_get(232, ATTR_SHADOW), 0);
    EXPECT_EQ(attr_get(235, ATTR_ACTIVE), 1);
}

// ---- Click part ------------------------------------------------------------------------------

struct TalkCase {
    s32 obj, stage;
    Lines lines;
    s32 stage_after; // -1: unchanged
};

class RoutineTalk : public Routines {
  protected:
    // A click on the resident standing right of the player (the player's boxes at 0, the
    // resident's own at 3).
    Lines talk(s32 obj, s32 stage, s32 frame = 5000) {
        put(obj, HOME, PX + 50, PY, frame, stage);
        sh_clear_lines();
        sh_fire(obj, TRIG_CLICK);
        return said();
    }
    void check(const TalkCase& c) {
        EXPECT_EQ(talk(c.obj, c.stage), c.lines) << c.obj << " stage " << c.stage;
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.stage_after < 0 ? c.stage : c.stage_after)
            << c.obj << " stage " << c.stage;
    }
    static Lines bubble(s32 obj, s32 text) {
        return {"say_at " + std::to_string(obj) + " " + std::to_string(text)};
    }
    // Alternating lines first..last, self's bubble first.
    static Lines run(s32 obj, s32 first, s32 last, bool self_first = true) {
        Lines out;
        for (s32 t = first; t <= last; ++t) {
            const bool self = ((t - first) % 2 == 0) == self_first;
            out.push_back(self ? "say_at " + std::to_string(obj) + " " + std::to_string(t)
                               : "say 0 1000 " + std::to_string(t));
        }
        return out;
    }
};

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(RoutineTalk, TheHouseholdTalksByItsStage) {
    const TalkCase cases[] = {
        {217, 0, {}, -1},
        {217, 3, bubble(217, 10359), -1},
        {217, 50, bubble(217, 10359), -1},
        {217, 10, bubble(217, 10366), -1},
        {217, 12, bubble(217, 10368), -1},
        {217, 16, bubble(217, 10370), -1},
        {217, 24, bubble(217, 10372), -1},
        {217, 40, {}, -1},
        {217, 47, bubble(217, 10381), -1},
        {217, 60, {}, -1},
        {218, 0, {}, -1},
        {218, 2, bubble(218, 10360), -1},
        {218, 5, bubble(218, 10365), -1},
        {218, 7, bubble(218, 10364), -1},
        {218, 10, bubble(218, 10364), -1},
        {218, 16, bubble(218, 10371), -1},
        {218, 24, bubble(218, 10373), -1},
        {218, 30, bubble(218, 10365), -1},
        {218, 40, {}, -1},
        {218, 42, bubble(218, 10364), -1},
        {218, 47, bubble(218, 10383), -1},
        {218, 59, bubble(218, 10365), -1},
        {218, 60, {}, -1},
        {219, 0, bubble(219, 20387), -1},
        {219, 24, bubble(219, 20387), -1},
        {219, 99, bubble(219, 20387), -1},
        {223, 0, {}, -1},
        {223, 2, bubble(223, 10346), -1},
        {223, 4, bubble(223, 10348), -1},
        {223, 5, bubble(223, 10350), -1},
        {223, 10, bubble(223, 10352), -1},
        {223, 15, bubble(223, 10354), -1},
        {223, 20, bubble(223, 10352), -1},
        {223, 25, bubble(223, 10356), -1},
        {223, 27, bubble(223, 10357), -1},
        {223, 32, bubble(223, 10356), -1},
        {223, 33, {}, -1},
    };
    for (const TalkCase& c : cases) check(c);
}

TEST_F(RoutineTalk, LessonsOf217) {
    // Stage 7: the lesson of skill 13 while it is below 5.
    EXPECT_EQ(talk(217, 7), (Lines{"say_at 217 10361", "say 0 1000 10362", "say_at 217 10363"}));
    EXPECT_EQ(known_has(13, 0), 1);
    player_record.skill[13] = 5; // no lesson from 5 on
    const s32 exp13 = player_record.skill_exp[13];
    talk(217, 7);
    EXPECT_EQ(player_record.skill_exp[13], exp13);
    EXPECT_EQ(player_record.skill[13], 5);

    // Stages 41-42: the run, the lesson of skill 17 below 15, and known entry (17, 1) once.
    EXPECT_EQ(talk(217, 41), run(217, 10374, 10379));
    EXPECT_EQ(known_has(17, 1), 1);
    player_record.skill[17] = 15;
    const s32 exp17 = player_record.skill_exp[17];
    talk(217, 42);
    EXPECT_EQ(player_record.skill_exp[17], exp17);
}

TEST_F(RoutineTalk, TheVisitorsTalkByStageGroupAndAcquaintance) {
    struct Case {
        s32 obj, stage, affection;
        s32 text;
    };
    constexpr s32 NEW = 0, CLOSE = 50, KNOWN = 10;
    const Case cases[] = {
        {225, 3, NEW, 10422},    {225, 0, CLOSE, 10422},  {225, 5, KNOWN, 10422},
        {225, 6, CLOSE, 10452},  {225, 6, KNOWN, 10446},  {225, 10, NEW, 10422},
        {225, 10, CLOSE, 10455}, {225, 44, KNOWN, 10446}, {225, 60, CLOSE, 10455},
        {225, 17, CLOSE, 10457}, {225, 27, CLOSE, 10461}, {225, 39, CLOSE, 10457},
        {225, 39, KNOWN, 10446}, {226, 2, CLOSE, 10424},  {226, 6, NEW, 10425},
        {226, 6, CLOSE, 10453},  {226, 6, KNOWN, 10447},  {226, 20, NEW, 10424},
        {226, 20, CLOSE, 10456}, {226, 17, NEW, 10450},   {226, 17, CLOSE, 10458},
        {226, 27, NEW, 10482},   {226, 27, KNOWN, 10447}, {226, 39, CLOSE, 10487},
        {226, 39, KNOWN, 10447}, {227, 4, KNOWN, 10423},  {227, 6, NEW, 10426},
        {227, 6, CLOSE, 10448},  {227, 6, KNOWN, 10450},  {227, 30, CLOSE, 10449},
        {227, 17, NEW, 10468},   {227, 17, KNOWN, 10450}, {227, 27, CLOSE, 10483},
        {227, 39, NEW, 10488},   {227, 45, KNOWN, 10450},
    };
    for (const Case& c : cases) {
        player_record.affection[ROUTINE_VISITOR_PERSON] = c.affection;
        const Lines want =
            c.obj == 225 ? Lines{"say 3 1167 " + std::to_string(c.text)} : bubble(c.obj, c.text);
        EXPECT_EQ(talk(c.obj, c.stage), want)
            << c.obj << " stage " << c.stage << " affection " << c.affection;
    }
}

TEST_F(RoutineTalk, TheVisitorsMeetings) {
    auto visitor = [](s32 t) { return "say 3 1167 " + std::to_string(t); };
    auto player = [](s32 t) { return "say 0 1000 " + std::to_string(t); };
    const Lines run_x = {visitor(10430),     player(10431),  visitor(10432),
                         player(10433),      visitor(10434), player(10435),
                         "say_at 226 10436", visitor(10437), player(10438)};
    const Lines run_y = {visitor(10474), player(10475), visitor(10476), player(10477),
                         visitor(10478), player(10479), visitor(10480), player(10481)};
    sh_object(226, {.map = HOME, .x = PX + 80, .y = PY});
    struct Case {
        s32 stage, answer;
        Lines lines;
        bool meets_167, meets_180;
        s32 chivalry; // change
    };
    const Case cases[] = {
        {6, 0,
         Lines{visitor(10427), "choose 0 1000 10428 10429 -> 0", visitor(10439), player(10440),
               visitor(10495), player(10441), visitor(10442), player(10443), visitor(10444),
               player(10445)},
         true, false, -3},
        {6, 1, Lines{visitor(10427), "choose 0 1000 10428 10429 -> 1"} + run_x, false, true, 3},
        {17, 0,
         Lines{visitor(10469), player(10470), visitor(10471), "choose 0 1000 10472 10473 -> 0"} +
             run_y,
         true, false, 0},
        {17, 1,
         Lines{visitor(10469), player(10470), visitor(10471), "choose 0 1000 10472 10473 -> 1"} +
             run_x,
         false, false, 0},
        {27, 0,
         Lines{visitor(10484), player(10485), visitor(10486), "choose 0 1000 10472 10473 -> 0"} +
             run_y,
         true, false, 0},
        {27, 1,
         Lines{visitor(10484), player(10485), visitor(10486), "choose 0 1000 10472 10473 -> 1"} +
             run_x,
         false, false, 0},
        {39, 0,
         Lines{visitor(10489), player(10490), visitor(10491), "choose 0 1000 10492 10493 -> 0",
               visitor(10494)} +
             Lines(run_y.begin() + 1, run_y.end()),
         true, false, 0},
        {39, 1,
         Lines{visitor(10489), player(10490), visitor(10491), "choose 0 1000 10492 10493 -> 1"} +
             run_x,
         false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " answer " << c.answer);
        for (s32& e : player_record.acquaintances) e = -1;
        player_record.affection[ROUTINE_VISITOR_PERSON] = 0;
        player_record.affection[180] = 0;
        const s32 chivalry = player_record.chivalry;
        sh_answers({c.answer});
        EXPECT_EQ(talk(225, c.stage), c.lines);
        EXPECT_EQ(acquaint_has(ROUTINE_VISITOR_PERSON), c.meets_167 ? 1 : 0);
        EXPECT_EQ(acquaint_has(180), c.meets_180 ? 1 : 0);
        EXPECT_EQ(player_record.chivalry - chivalry, c.chivalry);
        EXPECT_EQ(attr_get(225, ATTR_VAR_A), c.stage);
    }
}

TEST_F(RoutineTalk, TheWorkshopKeeperAndTheWalkerQuest) {
    auto player = [](s32 t) { return "say 0 1000 " + std::to_string(t); };
    const Lines long_talk = run(123, 20431, 20438) + Lines{"say_at 123 20441", player(20439),
                                                           "say_at 123 20442", player(20440)};
    const Lines quest_done =
        run(123, 16340, 16345, false) + Lines{player(16347), "say_at 123 16348"};
    struct Case {
        s32 stage, flag;
        bool item;
        Lines lines;
        s32 stage_after, flag_after;
        bool item_after;
    };
    const Case cases[] = {
        {0, 0, false, bubble(123, 10412), 0, 0, false},
        {3, 0, false, bubble(123, 10402), 3, 0, false},
        {5, 0, false, bubble(123, 10403), 5, 0, false},
        {10, 0, false, run(123, 10404, 10410), 10, 0, false},
        {14, 0, false, bubble(123, 10411), 14, 0, false},
        {20, 0, false, bubble(123, 10402), 20, 0, false},
        {27, 0, false, long_talk, 28, 0, false},
        {27, 4, false, long_talk, 28, 4, false}, // the quest's item is missing
        {27, 4, true, quest_done, 27, 5, false},
        {27, 3, false, run(123, 16330, 16333, false) + run(123, 16337, 16339, false), 27, 4, false},
        {28, 3, false, run(123, 16330, 16334, false), 28, 4, false},
        {28, 4, true, quest_done, 28, 5, false},
        {28, 0, false, bubble(123, 11512), 28, 0, false},
        {29, 3, false, {}, 29, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " flag " << c.flag);
        player_record.story_flags[1] = c.flag;
        while (inv_has(1203) != 0) inv_remove(1203, 1);
        if (c.item) inv_add(1203, 1);
        const s32 exp = player_record.skill_exp[23] + player_record.skill[23] * 1000;
        EXPECT_EQ(talk(123, c.stage), c.lines);
        EXPECT_EQ(attr_get(123, ATTR_VAR_A), c.stage_after);
        EXPECT_EQ(player_record.story_flags[1], c.flag_after);
        EXPECT_EQ(inv_has(1203) != 0, c.item_after);
        const bool grew = c.lines == long_talk || c.lines == quest_done;
        EXPECT_EQ(player_record.skill_exp[23] + player_record.skill[23] * 1000 != exp, grew);
    }
}

TEST_F(RoutineTalk, TheNeighbourAndTheTaskOfItem1844) {
    s32& relation = player_record.affection[ROUTINE_HOME_RELATION];
    struct Case {
        s32 stage, var_b, flag, relation;
        bool item;
        s32 answer;
        Lines lines;
        s32 var_b_after, flag_after, relation_after;
    };
    const Case cases[] = {
        {0, 0, 0, 0, false, -1, run(232, 10513, 10527), 1, 0, 1},
        {47, 0, 0, 2, false, -1, run(232, 10513, 10527), 1, 0, 2},
        {47, 1, 0, 1, false, -1, bubble(232, 10528), 1, 0, 1},
        {0, 1, 0, 1, true, 0,
         bubble(232, 10528) + Lines{"choose 0 1000 10552 10553 -> 0"} + run(232, 10529, 10535), 1,
         1, 51},
        {47, 1, 0, 1, true, 1,
         bubble(232, 10528) + Lines{"choose 0 1000 10552 10553 -> 1", "say 0 1000 10516"}, 1, 0, 1},
        {47, 1, 1, 51, false, -1, bubble(232, 10536), 1, 1, 51},
        {47, 1, 2, 51, false, -1, {}, 1, 2, 51},
        {5, 0, 0, 0, false, -1, bubble(232, 10537), 0, 0, 1},
        {5, 0, 0, 2, false, -1, bubble(232, 10537), 0, 0, 2},
        {20, 0, 0, 0, false, -1, bubble(232, 10538), 0, 0, 1},
        {30, 0, 0, 1, false, -1, run(232, 10539, 10543), 0, 0, 2},
        {30, 0, 0, -1, false, -1, bubble(232, 10538), 0, 0, 1},
        {30, 0, 0, 20, false, -1, bubble(232, 10544), 0, 0, 20},
        {46, 0, 0, 50, false, -1, bubble(232, 10536), 0, 0, 50},
        {48, 0, 0, 0, false, -1, {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " relation " << c.relation);
        relation = c.relation;
        player_record.story_flags[0] = c.flag;
        while (inv_has(1844) != 0) inv_remove(1844, 1);
        if (c.item) inv_add(1844, 1);
        if (c.answer >= 0) sh_answers({c.answer});
        put(232, 23, PX + 50, PY, 33346, c.stage);
        attr_set(232, ATTR_VAR_B, c.var_b);
        sh_clear_lines();
        sh_fire(232, TRIG_CLICK);
        EXPECT_EQ(said(), c.lines);
        EXPECT_EQ(attr_get(232, ATTR_VAR_B), c.var_b_after);
        EXPECT_EQ(player_record.story_flags[0], c.flag_after);
        EXPECT_EQ(relation, c.relation_after);
        if (c.flag_after == 1 && c.flag == 0) {
            EXPECT_EQ(inv_has(1844), 0);
            EXPECT_EQ(known_has(23, 50), 1);
        }
        EXPECT_EQ(obj_get_frame(232), 33346); // the frame from before the click
    }
}

TEST_F(RoutineTalk, AClickFromFarOnlyFloatsTheRemark) {
    put(217, HOME, PX + 400, PY, 5402, 3);
    sh_clear_lines();
    sh_fire(217, TRIG_CLICK);
    EXPECT_EQ(said(), (Lines{"label 0 10000 -112 -108 2000"}));
    put(217, HOME, PX + 250, PY, 5402, 3);
    sh_clear_lines();
    sh_fire(217, TRIG_CLICK);
    EXPECT_EQ(said(), bubble(217, 10359));
}

// Every entry of the timetables names a stage that the resident's routine goes on from: at that
// time, or (standing ready) when a later window of the same day opens.
TEST_F(Routines, EveryTimetableEntryResumesItsRoutine) {
    for (const Resident& r : RESIDENTS) {
        const Route* route = routine_route(r.obj);
        ASSERT_NE(route, nullptr) << r.obj;
        const s32 row = route_timetable_row(r.obj);
        ASSERT_GE(row, 0) << r.obj;
        std::ostringstream stalled;
        for (s32 q = 0; q < TIMETABLE_QUARTERS; ++q) {
            const NpcTimetableEntry e = timetable_entry(row, q);
            const s32 minute = TIMETABLE_FIRST_HOUR * 60 + q * 15;
            bool later = false;
            for (const RouteWindow& w : route->windows)
                later = later || ((w.from == ROUTE_ALWAYS || w.to >= minute) &&
                                  route_step_of(w, e.var_a) != nullptr);
            if (timetable_has(e.var_a) && !later)
                stalled << ' ' << minute / 60 << ':' << minute % 60 << '/' << e.var_a;
        }
        EXPECT_EQ(route_timetable_stalls(*route, r.obj), 0) << r.obj << stalled.str();
    }
    EXPECT_EQ(routine_route(6), nullptr);
}

// A clock jump puts a resident at a stage that its table handed to no later window of the day; the
// routine now goes on from there instead of leaving it standing.
TEST_F(Routines, AfterAClockJumpTheRoutineGoesOn) {
    struct Case {
        s32 obj;
        s32 hour, minute, advance; // the clock before the jump, the minutes jumped
        s32 stage;                 // given by the timetable
        s32 runs;
        s32 stage_after, active_after;
    };
    const Case cases[] = {
        {217, 6, 50, 20, 6, 1, 7, 1},    // at its field point: the field loop starts
        {219, 8, 50, 25, 5, 1, 5, 1},    // walks on toward the gate
        {225, 14, 30, 95, 44, 1, 44, 0}, // leaves at its last point
        {226, 14, 30, 95, 44, 1, 44, 0}, {227, 14, 30, 95, 44, 1, 44, 0},
        {232, 14, 30, 95, 46, 1, 47, 1}, // goes in: 235 and 236 shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.obj);
        put(c.obj, HOME, 0, 0, 0, 0);
        attr_set(235, ATTR_ACTIVE, 0);
        sh_clock(c.hour, c.minute);
        clock_advance(c.advance);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.stage);
        const s32 x = attr_get(c.obj, ATTR_X);
        for (s32 i = 0; i < c.runs; ++i) sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.stage_after);
        EXPECT_EQ(attr_get(c.obj, ATTR_ACTIVE), c.active_after);
        if (c.obj == 219) {
            EXPECT_NE(attr_get(c.obj, ATTR_X), x);
        }
        if (c.obj == 232) {
            EXPECT_EQ(attr_get(235, ATTR_ACTIVE), 1);
        }
    }
}

// The placeholder archive holds every frame a route shows, so the residents are drawn (and
// clickable) on it.
TEST(RoutinePlaceholders, EveryFrameARouteShowsHasAnImage) {
    std::set<s32> images;
    for (s32 id : placeholder_routines_images()) images.insert(id);
    for (const auto& [id, area] : placeholder_world_images()) images.insert(id);
    for (const Resident& r : RESIDENTS) {
        for (const RouteWindow& w : routine_route(r.obj)->windows)
            for (const RouteStep& st : w.steps) {
                std::vector<s32> shown = {st.frame};
                for (const RouteAction& a : st.actions)
                    if (a.op == ACTION_FRAME) shown.push_back(a.value);
                if (st.op == ROUTE_IDLE)
                    for (s32 f = st.cycle.start; f <= st.cycle.limit; f += st.cycle.step)
                        shown.push_back(f);
                for (s32 f : shown)
                    if (f != 0) {
                        EXPECT_TRUE(images.count(std::abs(f))) << r.obj << " frame " << f;
                    }
            }
    }
}

} // namespace
