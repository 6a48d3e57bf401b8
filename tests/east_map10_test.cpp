// The residents of eastern map 10 and map 51: the group talk of four started from each member,
// its talk distances at the limit and one past it, the pair's talk from either side, the single
// residents as one case list, the group's second remark and the two step-on scenes with the state
// they leave.
#include "scripts/home/east_map10.h"

#include "engine/gisk.h"
#include "engine/math.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 MAP = 10;

struct Figure {
    s32 obj, slot, x, y, frame;
};
constexpr Figure G191{191, 96, 2454, 560, 32080};
constexpr Figure G192{192, 97, 2414, 545, 32112};
constexpr Figure G193{193, 98, 2380, 556, 32200};
constexpr Figure G194{194, 99, 2335, 570, 32144};
constexpr Figure GROUP[] = {G191, G192, G193, G194};
constexpr Figure R195{195, 100, 2816, 777, 32246};
constexpr Figure R196{196, 101, 421, 311, 32304};
constexpr Figure R197{197, 102, 380, 325, 32344};
constexpr Figure R198{198, 103, 536, 474, 32378};
constexpr Figure R202{202, 106, 5465, 1692, 32450};
constexpr Figure R203{203, 107, 5411, 1678, 32500};
constexpr Figure R216{216, 112, 5539, 1722, 32718};
constexpr Figure PAIR_A{205, 109, 3409, 1095, 32600};
constexpr Figure PAIR_B{206, 110, 3489, 1115, 32630};
constexpr Figure GROUP_ZONE{201, 105, 2230, 443, 3093};
constexpr Figure CROWD_ZONE{215, 111, 4475, 1618, 3094};
constexpr Figure CROWD[] = {
    {207, 7, 4135, 1911, 32660}, {208, 7, 4201, 1914, 4952},    {209, 7, 4030, 1981, 5002},
    {210, 7, 3976, 1976, 5052},  {211, 7, 4062, 1943, 5102},    {212, 7, 4120, 1955, 5102},
    {213, 7, 4022, 1883, 32706}, {214, 138, 4055, 1865, 32708},
};

class EastMap10 : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            world_put_map(
                b, MAP, 4608, 2048, [](s32, s32) { return WORLD_GROUND; }, 300);
        });
        scripts_register_all();
    }
    static void place(const Figure& f, s32 stage = 0) {
        sh_object(f.obj, {.map = MAP,
                          .x = f.x,
                          .y = f.y,
                          .frame = f.frame,
                          .slot = f.slot,
                          .var_a = stage,
                          .click = true});
    }
    // The figures at their points, the player below right of `near` (its boxes at 3, the
    // resident's own at 0) unless moved.
    static void reset(const Figure& near, s32 dx = 20, s32 dy = 20) {
        init_player();
        for (const Figure& f : GROUP) place(f);
        for (const Figure& f : {R195, R196, R197, R198, R202, R203, R216, PAIR_A, PAIR_B}) place(f);
        sh_player(near.x + dx, near.y + dy, MAP);
    }
    static Lines says(s32 obj, s32 trigger) {
        sh_clear_lines();
        sh_fire(obj, trigger);
        return sh_only(sh_lines(), {"say", "label"});
    }
};

std::string label(s32 obj, s32 text, s32 dx, s32 dy, s32 ms) {
    return "label " + std::to_string(obj) + " " + std::to_string(text) + " " + std::to_string(dx) +
           " " + std::to_string(dy) + " " + std::to_string(ms);
}
const std::string TOO_FAR = label(0, 10000, -112, -108, 2000);

// The whole talk of the group, the player below right of the clicked member.
const Lines GROUP_LINES{sh_box(3, 1000, 20321), sh_box(0, 1109, 20322), sh_box(3, 1000, 20323),
                        sh_box(0, 1124, 20324), sh_box(3, 1000, 20325), sh_box(0, 1177, 20326),
                        sh_box(3, 1000, 20327), sh_box(0, 1092, 20328), sh_box(3, 1000, 20329),
                        sh_bubble(192, 20330)};

// ---- The group of four -----------------------------------------------------------------------

TEST_F(EastMap10, AnyOfTheGroupStartsTheWholeTalkAndLaterSaysOnlyItsOwnLine) {
    const std::pair<Figure, std::string> own[] = {{G191, sh_box(0, 1092, 20328)},
                                                  {G192, sh_box(0, 1177, 20326)},
                                                  {G193, sh_box(0, 1124, 20324)},
                                                  {G194, sh_box(0, 1109, 20322)}};
    for (const auto& [who, line] : own) {
        SCOPED_TRACE(who.obj);
        reset(who);
        obj_set_frame(who.obj, who.frame + 4); // mid-loop: kept through the talk
        EXPECT_EQ(says(who.obj, TRIG_CLICK), GROUP_LINES);
        for (const Figure& f : GROUP) EXPECT_EQ(attr_get(f.obj, ATTR_VAR_A), 1) << f.obj;
        EXPECT_EQ(obj_get_frame(who.obj), who.frame + 4);
        for (const Figure& other : GROUP) {
            if (other.obj == who.obj) continue;
            EXPECT_EQ(obj_get_frame(other.obj), other.frame) << other.obj;
        }
        EXPECT_EQ(says(who.obj, TRIG_CLICK), Lines{line});
        EXPECT_EQ(obj_get_frame(who.obj), who.frame + 4);
    }
}

// An offset below right whose distance by the engine's square root is exactly `distance`.
std::pair<s32, s32> offset_at(s32 distance) {
    for (s32 dx = distance / 2; dx <= distance; ++dx)
        for (s32 dy = 1; dy <= distance; ++dy)
            if (isqrt(u32(dx * dx + dy * dy)) == distance) return {dx, dy};
    return {distance, 0};
}

TEST_F(EastMap10, TheGroupTalksAtItsDistanceAndNotOnePixelFarther) {
    const std::pair<Figure, s32> limits[] = {
        {G191, GROUP_NEAR}, {G192, GROUP_WIDE}, {G193, GROUP_WIDE}, {G194, GROUP_NEAR}};
    for (const auto& [who, d] : limits)
        for (const s32 extra : {0, 1}) {
            SCOPED_TRACE(std::to_string(who.obj) + " at " + std::to_string(d + extra));
            const auto [dx, dy] = offset_at(d + extra);
            ASSERT_GT(dy, 0);
            reset(who, dx, dy);
            ASSERT_EQ(obj_distance(0, who.obj), d + extra);
            EXPECT_EQ(says(who.obj, TRIG_CLICK), extra == 0 ? GROUP_LINES : Lines{TOO_FAR});
            EXPECT_EQ(attr_get(who.obj, ATTR_VAR_A), extra == 0 ? 1 : 0);
        }
}

TEST_F(EastMap10, TheGroupFloatsBothRemarksOfItsLoopOnlyOnItsMap) {
    struct Case {
        Figure who;
        s32 frame_before;
        s32 map;
        Lines lines;
    };
    const Case cases[] = {
        {G191, 32080, MAP, {label(191, 20304, -30, -113, 2000)}},
        {G191, 32100, MAP, {label(191, 20307, -30, -113, 2000)}},
        {G191, 32100, 51, {}},
        {G192, 32134, MAP, {label(192, 20308, -120, -120, 2000)}},
        {G193, 32218, MAP, {label(193, 20309, -185, -110, 2000)}},
        {G194, 32176, MAP, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.who.obj) + " " + std::to_string(c.frame_before));
        reset(c.who);
        world_state.current_map = c.map;
        obj_set_frame(c.who.obj, c.frame_before);
        EXPECT_EQ(says(c.who.obj, TRIG_TIMER), c.lines);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.frame_before + 2);
        EXPECT_EQ(attr_get(c.who.obj, ATTR_TIMER), 10);
    }
}

// ---- The pair --------------------------------------------------------------------------------

TEST_F(EastMap10, ThePairSharesOneTalkFromEitherSideAndTheOthersTurnPlacesThePlayersBox) {
    // The player stands below right of 205 (boxes at 3) and below left of 206 (boxes at 2).
    constexpr s32 PX = 3460;
    constexpr s32 PY = 1150;
    struct Case {
        Figure clicked, other;
        s32 pos, other_pos;
        s32 later;
    };
    const Case cases[] = {{PAIR_A, PAIR_B, 3, 2, 20373}, {PAIR_B, PAIR_A, 2, 3, 20374}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicked.obj);
        reset(PAIR_A);
        sh_player(PX, PY, MAP);
        const s32 me = c.clicked.obj;
        const s32 it = c.other.obj;
        const Lines first{sh_bubble(me, 20364),
                          sh_box(c.pos, 1000, 20365),
                          sh_bubble(me, 20366),
                          sh_bubble(it, 20367),
                          sh_box(c.other_pos, 1000, 20368),
                          sh_bubble(me, 20369),
                          sh_bubble(it, 20370),
                          sh_bubble(me, 20371),
                          sh_bubble(it, 20372)};
        EXPECT_EQ(says(me, TRIG_CLICK), first);
        EXPECT_EQ(attr_get(me, ATTR_VAR_A), 1);
        EXPECT_EQ(attr_get(it, ATTR_VAR_A), 1);
        EXPECT_EQ(obj_get_frame(me), c.clicked.frame);
        EXPECT_EQ(obj_get_frame(it), c.other.frame);
        EXPECT_EQ(says(me, TRIG_CLICK), Lines{sh_bubble(me, c.later)});
        EXPECT_EQ(says(it, TRIG_CLICK), Lines{sh_bubble(it, c.later == 20373 ? 20374 : 20373)});
    }
}

// ---- Single residents ------------------------------------------------------------------------

TEST_F(EastMap10, EachSingleResidentSaysItsStageAndKeepsOrEndsItsFrame) {
    struct Case {
        const char* name;
        Figure who;
        s32 stage;
        Lines lines;
        s32 next_stage;
        s32 frame_after; // 0: the frame from before the click
    };
    const Case cases[] = {
        {"195", R195, 0, {sh_bubble(195, 10497)}, 0, 0},
        {"196 in its own box", R196, 0, {sh_box(0, 1014, 10748)}, 0, 0},
        {"197", R197, 3, {sh_bubble(197, 10748)}, 3, 0},
        {"198 first", R198, 0, {sh_box(3, 1000, 10749), sh_bubble(198, 10750)}, 1, 0},
        {"198 again: the last line of the first talk", R198, 1, {sh_bubble(198, 10750)}, 1, 0},
        {"202 ends on its first frame", R202, 0, {sh_bubble(202, 20390)}, 0, 32450},
        {"203", R203, 0, {sh_bubble(203, 20389)}, 0, 0},
        {"216", R216, 0, {sh_bubble(216, 20386)}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset(c.who);
        attr_set(c.who.obj, ATTR_VAR_A, c.stage);
        obj_set_frame(c.who.obj, c.who.frame + 6);
        EXPECT_EQ(says(c.who.obj, TRIG_CLICK), c.lines);
        EXPECT_EQ(attr_get(c.who.obj, ATTR_VAR_A), c.next_stage);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.frame_after != 0 ? c.frame_after : c.who.frame + 6);
    }
}

// ---- The two scenes --------------------------------------------------------------------------

void player_posed_on_top() {
    attr_set(0, ATTR_LAYER, 2);
    attr_set(0, ATTR_SHADOW, 0);
    attr_set(0, ATTR_CLICK, 0);
}
void expect_player_released() {
    EXPECT_EQ(attr_get(0, ATTR_LAYER), 3);
    EXPECT_EQ(attr_get(0, ATTR_SHADOW), 1);
    EXPECT_EQ(attr_get(0, ATTR_CLICK), 1);
}

TEST_F(EastMap10, TheGroupsSceneQuarrelsOnceAndSetsItsFlag) {
    reset(GROUP_ZONE);
    sh_object(GROUP_ZONE.obj, {.map = MAP,
                               .x = GROUP_ZONE.x,
                               .y = GROUP_ZONE.y,
                               .frame = GROUP_ZONE.frame,
                               .slot = GROUP_ZONE.slot,
                               .layer = 0});
    player_posed_on_top();
    const Lines expected{sh_box(3, 1092, 20310),
                         sh_box(1, 1177, 20311),
                         sh_box(2, 1109, 20312),
                         sh_box(3, 1092, 20313),
                         sh_box(1, 1177, 20314),
                         sh_box(0, 1124, 20315),
                         label(191, 20316, -30, -113, 500),
                         label(192, 20317, -80, -120, 500),
                         label(193, 20318, -100, -110, 500),
                         label(194, 20319, -120, -100, 500)};
    EXPECT_EQ(says(GROUP_ZONE.obj, TRIG_STEP), expected);
    EXPECT_EQ(attr_get(GROUP_ZONE.obj, ATTR_ACTIVE), 0);
    EXPECT_EQ(player_record.story_flags[GROUP_SCENE_FLAG], 1);
    EXPECT_EQ(obj_get_frame(191), 32102);
    EXPECT_EQ(obj_get_frame(193), 32212);
    for (const Figure& f : GROUP) EXPECT_EQ(attr_get(f.obj, ATTR_VAR_A), 0) << f.obj;
    expect_player_released();
}

TEST_F(EastMap10, TheCrowdWalksOffTogetherOnceAndLeavesTheWatcherAtItsNewPlace) {
    reset(CROWD_ZONE);
    for (const Figure& f : CROWD)
        sh_object(f.obj, {.map = MAP, .x = f.x, .y = f.y, .frame = f.frame, .slot = f.slot});
    sh_object(CROWD_ZONE.obj, {.map = MAP,
                               .x = CROWD_ZONE.x,
                               .y = CROWD_ZONE.y,
                               .frame = CROWD_ZONE.frame,
                               .slot = CROWD_ZONE.slot,
                               .layer = 0});
    player_posed_on_top();
    const Lines expected{sh_box(3, 1089, 20377), sh_bubble(214, 20378),  sh_box(0, 1037, 20379),
                         sh_box(3, 1089, 20380), sh_box(3, 1089, 20381), sh_box(2, 1037, 20382),
                         sh_bubble(214, 20383),  sh_box(2, 1037, 20384)};
    EXPECT_EQ(says(CROWD_ZONE.obj, TRIG_STEP), expected);
    EXPECT_EQ(attr_get(CROWD_ZONE.obj, ATTR_ACTIVE), 0);
    // All six reached the goal before any was switched off.
    for (s32 obj = CROWD_FIRST_OBJ; obj < CROWD_TALKER_OBJ; ++obj) {
        SCOPED_TRACE(obj);
        EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 0);
        if (obj == 209) continue; // placed back afterwards
        EXPECT_NEAR(attr_get(obj, ATTR_X), CROWD_GOAL_X, 7);
        EXPECT_NEAR(attr_get(obj, ATTR_Y), CROWD_GOAL_Y, 7);
    }
    EXPECT_EQ(attr_get(CROWD_TALKER_OBJ, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(209, ATTR_X), 4022);
    EXPECT_EQ(attr_get(209, ATTR_Y), 1883);
    EXPECT_EQ(obj_get_frame(209), 5002);
    EXPECT_EQ(attr_get(CROWD_WATCHER_OBJ, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(CROWD_WATCHER_OBJ, ATTR_X), CROWD_WATCHER_X);
    EXPECT_EQ(attr_get(CROWD_WATCHER_OBJ, ATTR_Y), CROWD_WATCHER_Y);
    EXPECT_EQ(obj_get_frame(CROWD_WATCHER_OBJ), CROWD_WATCHER_END_FRAME);
    EXPECT_EQ(obj_get_frame(0), -424);
    expect_player_released();
}

} // namespace

// Every frame these residents show has a picture in the placeholder archive.
TEST(EastMap10Placeholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(east_map10_frames);
    EXPECT_GT(shown.count, 300u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}
