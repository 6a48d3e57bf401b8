// The residents of town A as the new game's population makes them: their talks and the pairs'
// shared talks as one case list, the idle loops by their wraps, the pair that marks who has
// spoken, the gift that depends on the player's attribute at the first talk, the gate's pass with
// and without the pass item, and the last hiding place of the search for person 89.
#include "scripts/towns/town_a_residents.h"

#include "data/world_population.h"
#include "engine/gisk.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 CITY_GUARD = 1002;
// The objects of these scripts, and the city guard that shares slot 173.
constexpr s32 OBJECTS[] = {400, 401, 404, 406, 407, 414, 417, 420, 424, 425, 427,
                           431, 432, 435, 436, 437, 438, 440, 445, 446, 447, 449,
                           455, 459, 460, 461, 462, 463, 486, 515, 516, 517, CITY_GUARD};

std::string player3(s32 text) {
    return sh_box(3, 1000, text);
}
// Texts first..last, one a line, a and b alternating from a.
Lines alternate(s32 first, s32 last, const std::function<std::string(s32)>& a,
                const std::function<std::string(s32)>& b) {
    Lines out;
    for (s32 t = first; t <= last; ++t) out.push_back((t - first) % 2 == 0 ? a(t) : b(t));
    return out;
}
std::function<std::string(s32)> by(s32 obj) {
    return [obj](s32 t) { return sh_bubble(obj, t); };
}

using TownAResidents = PopulatedScriptTest<OBJECTS>;

// ---- Talkers and pairs -----------------------------------------------------------------------

TEST_F(TownAResidents, EachTalkSaysItsStageAndMovesTheStagesOn) {
    struct Case {
        const char* name;
        s32 obj;
        s32 stage;
        Lines lines;
        s32 next_stage;
        s32 partner = -1; // the other of a pair, and its stage afterwards
        s32 partner_stage = 0;
        s32 dx = 40;
        s32 flag84 = 0;
        bool keeps_frame = true; // false: it keeps the frame it turned to
    };
    const Case cases[] = {
        {"404 first", 404, 0, {sh_bubble(404, 25965), player3(25966), sh_bubble(404, 25967)}, 1},
        {"404 again", 404, 1, {sh_bubble(404, 25968)}, 1},
        {"404 open world, won", 404, 2, {sh_bubble(404, 29150)}, 2, -1, 0, 40, 1},
        {"404 open world, not won", 404, 2, {sh_bubble(404, 29151)}, 2, -1, 0, 40, 2},
        {"414 at any stage", 414, 3, {sh_bubble(414, 25933)}, 3},
        {"414 from too far", 414, 0, {"label 0 10000 -112 -108 2000"}, 0, -1, 0, 255},
        {"417", 417, 0, {sh_bubble(417, 25961)}, 0, -1, 0, 250},
        {"420 first", 420, 0, {sh_bubble(420, 25951)}, 0, -1, 0, 450, 0, false},
        {"420 open world", 420, 2, {sh_bubble(420, 29058)}, 2, -1, 0, 40, 0, false},
        {"424 first", 424, 0, {sh_bubble(424, 46560)}, 1, -1, 0, 150},
        {"424 from too far", 424, 0, {"label 0 10000 -112 -108 2000"}, 0, -1, 0, 155},
        {"424 open world", 424, 2, {sh_bubble(424, 29157)}, 2},
        {"425 first", 425, 0, alternate(25969, 25977, by(425), player3), 1},
        {"425 open world", 425, 2, {sh_bubble(425, 29040)}, 2},
        {"427 repeats", 427, 0, {sh_bubble(427, 58200), sh_bubble(427, 58201)}, 0},
        {"435 second", 435, 1, {sh_bubble(435, 46094)}, 2},
        {"436 last", 436, 2, {sh_bubble(436, 46098)}, 2},
        {"440", 440, 1, {sh_bubble(440, 25950)}, 1},
        {"445", 445, 0, {sh_bubble(445, 25889), player3(25890)}, 0},
        {"446", 446, 0, {sh_box(2, 1026, 24219)}, 0, -1, 0, 100},
        {"447", 447, 0, {sh_box(2, 1238, 24219)}, 0},
        {"486 repeats", 486, 0, {sh_bubble(486, 46419)}, 0, -1, 0, 3000},
        {"486 at another stage", 486, 1, {}, 1},
        {"gate guard", 406, 0, {sh_bubble(406, 46584)}, 0},
        {"second guard", 407, 0, {sh_bubble(407, 46584)}, 0},
        {"city guard speaks at 407", CITY_GUARD, 0, {sh_bubble(407, 46584)}, 0},
        {"431 first", 431, 0, alternate(25891, 25900, by(431), by(432)), 1, 432, 1},
        {"432 first", 432, 0, alternate(25891, 25900, by(431), by(432)), 1, 431, 1},
        {"431 again", 431, 1, {sh_bubble(431, 25901)}, 1},
        {"432 again", 432, 1, {sh_bubble(431, 25902)}, 1},
        {"432 open world", 432, 2, alternate(29000, 29007, by(431), by(432)), 2},
        {"438 first", 438, 0, alternate(25921, 25930, by(437), by(438)), 1, 437, 1},
        {"437 again", 437, 1, {sh_bubble(437, 25931)}, 1},
        {"438 again", 438, 1, {sh_bubble(437, 25932)}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        player_record.story_flags[84] = c.flag84;
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        const s32 frame = obj_get_frame(c.obj);
        EXPECT_EQ(sh_click(c.obj, {}, c.dx), c.lines);
        EXPECT_EQ(obj_get_frame(c.obj) == frame, c.keeps_frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.next_stage);
        if (c.partner >= 0) {
            EXPECT_EQ(attr_get(c.partner, ATTR_VAR_A), c.partner_stage);
        }
    }
}

TEST_F(TownAResidents, IdleLoopsWrapWithTheirPauses) {
    struct Case {
        const char* name;
        s32 obj;
        s32 frame;
        s32 next_frame;
        s32 timer;
    };
    const Case cases[] = {
        {"404 steps", 404, 21622, 21624, 8},
        {"404 wraps", 404, 21634, 21622, 20},
        {"446 shows its limit", 446, 22490, 22491, 10},
        {"mirrored 486 steps down", 486, -52920, -52921, 8},
        {"mirrored 486 shows its limit", 486, -52930, -52931, 8},
        {"mirrored 486 wraps", 486, -52931, -52920, 100},
        {"401 of a pair", 401, 22091, 22081, 20},
        {"432 stands still", 432, 22063, 22063, 0},
        {"515 wraps", 515, 38488, 38472, 100},
        {"517 wraps", 517, 38453, 38450, 8},
        {"455 wraps", 455, 37344, 37330, 10},
        {"search figure", 461, 41380, 41382, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        obj_set_frame(c.obj, c.frame);
        attr_set(c.obj, ATTR_TIMER, 0);
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.obj), c.next_frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
    }
}

// The walker of map 124 goes between its two points and back, a step on each timer run.
TEST_F(TownAResidents, TheWalkerOfMap124PacesBetweenItsPoints) {
    constexpr s32 WALKER = 420;
    struct Point {
        s32 x, y;
        bool operator==(const Point&) const = default;
    };
    std::vector<Point> reached;
    s32 leg = attr_get(WALKER, ATTR_VAR_B);
    for (int run = 0; run < 300 && reached.size() < 3; ++run) {
        attr_set(WALKER, ATTR_TIMER, 0);
        sh_fire(WALKER, TRIG_TIMER);
        ASSERT_EQ(attr_get(WALKER, ATTR_TIMER), 7);
        if (attr_get(WALKER, ATTR_VAR_B) == leg) continue;
        leg = attr_get(WALKER, ATTR_VAR_B);
        reached.push_back({attr_get(WALKER, ATTR_X), attr_get(WALKER, ATTR_Y)});
    }
    EXPECT_EQ(reached, (std::vector<Point>{{310, 330}, {220, 275}, {310, 330}}));
}

// The first talk of 400 moves 401 on, so 401 answers its first click with its stage-1 line; each
// one's second click says the line of one who has spoken.
TEST_F(TownAResidents, ThePairOfMap120MarksWhoHasSpoken) {
    const Lines expected[] = {{sh_bubble(400, 46331)},
                              {sh_bubble(401, 46333)},
                              {sh_bubble(400, 46332)},
                              {sh_bubble(401, 46334)}};
    const s32 order[] = {400, 401, 400, 401};
    for (size_t i = 0; i < std::size(order); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sh_click(order[i]), expected[i]);
        EXPECT_EQ(attr_get(order[i], ATTR_VAR_B), 1);
    }
    EXPECT_EQ(attr_get(400, ATTR_VAR_A), 0);
    EXPECT_EQ(attr_get(401, ATTR_VAR_A), 1);
    EXPECT_EQ(obj_get_frame(400), 22079); // turned to the player on its right, and kept

    // A click from too far leaves the mark alone.
    populate();
    EXPECT_EQ(sh_click(401, {}, 155), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(attr_get(401, ATTR_VAR_B), 0);
    EXPECT_EQ(attr_get(400, ATTR_VAR_A), 0);

    // The open-world talk, and the mark set there too.
    attr_set(401, ATTR_VAR_A, 2);
    EXPECT_EQ(sh_click(401), alternate(29035, 29039, by(400), by(401)));
    EXPECT_EQ(attr_get(401, ATTR_VAR_B), 1);
}

// ---- The gift of object 455 ------------------------------------------------------------------

TEST_F(TownAResidents, TheGiftDependsOnTheAttributeAtTheFirstTalkOnly) {
    constexpr s32 GROWTH = 12;
    const Lines opening{player3(25861), sh_bubble(455, 25862), player3(25863),
                        sh_bubble(455, 25864)};
    for (const s32 attr : {49, 50}) {
        SCOPED_TRACE(attr);
        populate();
        player_record.attr[5] = attr;
        const s32 value = growth_value(GROWTH);
        const s32 pool = growth_pool(GROWTH);
        const bool gift = attr >= 50;
        Lines said = opening;
        if (gift) {
            for (const std::string& l : {player3(25865), sh_bubble(455, 25866), player3(25867),
                                         sh_bubble(455, 25868), player3(25869)})
                said.push_back(l);
        } else {
            said.push_back(player3(25871));
            said.push_back(sh_bubble(455, 25872));
        }
        EXPECT_EQ(sh_click(455), said);
        EXPECT_EQ(attr_get(455, ATTR_VAR_A), gift ? 1 : 2);
        EXPECT_EQ(inv_has(1050), gift ? 1 : 0);
        EXPECT_EQ(inv_has_count(1050, 2), 0);
        EXPECT_EQ(growth_value(GROWTH) != value || growth_pool(GROWTH) != pool, gift);

        // Later the attribute no longer matters.
        player_record.attr[5] = 100;
        EXPECT_EQ(sh_click(455), Lines{sh_bubble(455, gift ? 25870 : 25873)});
        EXPECT_EQ(inv_has_count(1050, 2), 0);
    }
}

// ---- The gate's pass -------------------------------------------------------------------------

TEST_F(TownAResidents, TheGateLetsThroughOnlyWithThePass) {
    constexpr s32 ZONE = TOWN_A_GATE_ZONE;
    ASSERT_EQ(attr_get(ZONE, ATTR_EVENT), 850);
    ASSERT_EQ(attr_get(ZONE, ATTR_BLOCK), 1);
    // Without it the guards refuse on every step and the zone keeps blocking.
    for (int step = 0; step < 2; ++step) {
        SCOPED_TRACE(step);
        sh_clear_lines();
        sh_fire(ZONE, TRIG_STEP);
        EXPECT_EQ(sh_only(sh_lines(), {"say"}), Lines{sh_bubble(406, 20429)});
        EXPECT_EQ(obj_get_frame(406), 21334);
        EXPECT_EQ(obj_get_frame(407), 21330);
        EXPECT_EQ(attr_get(ZONE, ATTR_ACTIVE), 1);
        EXPECT_EQ(attr_get(ZONE, ATTR_BLOCK), 1);
    }
    inv_add(TOWN_A_GATE_PASS_ITEM, 1);
    sh_clear_lines();
    sh_fire(ZONE, TRIG_STEP);
    EXPECT_EQ(sh_only(sh_lines(), {"say"}),
              (Lines{sh_bubble(406, 28085), player3(28086), sh_bubble(406, 28087), player3(28088),
                     sh_bubble(406, 28089)}));
    EXPECT_EQ(attr_get(ZONE, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(ZONE, ATTR_BLOCK), 0);
    EXPECT_EQ(inv_has(TOWN_A_GATE_PASS_ITEM), 1);
}

// ---- The search for person 89 ----------------------------------------------------------------

TEST_F(TownAResidents, TheLastHidingPlaceFoundEndsTheSearch) {
    for (const s32 obj : {461, 462, 463}) attr_set(obj, ATTR_VAR_A, 1);
    const Lines found{sh_box(0, 1089, 59350)};
    EXPECT_EQ(sh_click(462), found);
    EXPECT_EQ(sh_click(461), found);
    EXPECT_EQ(attr_get(461, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(462, ATTR_ACTIVE), 0);
    EXPECT_EQ(sh_click(463), (Lines{sh_box(0, 1089, 59350), sh_box(0, 1089, 25619), player3(25620),
                                    player3(25628)}));
    EXPECT_EQ(attr_get(463, ATTR_ACTIVE), 0);
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(TownAResidentsPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(town_a_residents_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
