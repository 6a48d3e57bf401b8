// The teachers of growth 23 as the new game's population makes them: each lesson paid once along
// every menu path and the closing line afterwards, a known entry already held, where the lessons
// leave the player, the after-turn entry of 428's lesson, the walks and the frames.
#include "scripts/towns/growth_teachers.h"

#include "data/hub_block.h"
#include "data/world_population.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 OBJECTS[] = {421, 426, 428, 443, 1529, 439, 441, 456, 1530, 1531};

class GrowthTeachers : public PopulatedScriptTest<OBJECTS> {
  protected:
    // The record as `lessons` payments of 500 to growth 23 (and 200 to 28 and 27 with `attrs`)
    // leave it from `before`.
    static PlayerRecord paid(const PlayerRecord& before, s32 lessons, bool attrs) {
        const PlayerRecord now = player_record;
        player_record = before;
        for (s32 i = 0; i < lessons; ++i) {
            growth_pool(23) += 500;
            grow(23);
            if (!attrs) continue;
            for (const s32 g : {28, 27}) {
                growth_pool(g) += 200;
                grow(g);
            }
        }
        const PlayerRecord expected = player_record;
        player_record = now;
        return expected;
    }
};

// ---- The lessons, once each -------------------------------------------------------------------

TEST_F(GrowthTeachers, EachLessonIsPaidOnceAndTheTeacherThenSaysItsClosingLine) {
    struct Case {
        const char* name;
        s32 obj;
        std::vector<s32> clicks; // the answer of each click before the last (-1: no question)
        s32 lessons;
        std::vector<s32> known; // ids of list 23 recorded
        s32 final_stage;
        s32 closing;
        bool attrs = false;
    };
    const Case cases[] = {
        {"421", 421, {-1}, 1, {}, 1, 24224},
        {"426 lesson, then talk", 426, {1, 0}, 1, {53}, 3, 24224},
        {"426 talk, then lesson", 426, {0, 0}, 1, {53}, 3, 24224},
        {"426 declines at every stage", 426, {2, 0, 1}, 0, {}, 1, 24200},
        {"428 lesson, then talk", 428, {0, 0}, 1, {52}, 3, 24224},
        {"428 talk, then lesson", 428, {1, 0}, 1, {52}, 3, 24224},
        {"443 with the two attributes", 443, {-1}, 1, {}, 1, 24224, true},
        {"1529 both lessons", 1529, {-1, -1}, 2, {54, 55}, 2, 26275},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        const PlayerRecord before = player_record;
        for (const s32 answer : c.clicks) {
            if (answer >= 0)
                sh_click(c.obj, {answer});
            else
                sh_click(c.obj);
        }
        const PlayerRecord expected = paid(before, c.lessons, c.attrs);
        EXPECT_EQ(player_record.skill[23], expected.skill[23]);
        EXPECT_EQ(player_record.skill_exp[23], expected.skill_exp[23]);
        EXPECT_EQ(player_record.attr[2], expected.attr[2]);
        EXPECT_EQ(player_record.attr[3], expected.attr[3]);
        EXPECT_EQ(std::memcmp(player_record.attr_exp, expected.attr_exp, sizeof expected.attr_exp),
                  0);
        for (const s32 id : {52, 53, 54, 55}) {
            const bool want = std::find(c.known.begin(), c.known.end(), id) != c.known.end();
            EXPECT_EQ(known_has(23, id), want ? 1 : 0) << id;
        }
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.final_stage);

        // The next click only speaks and pays nothing more.
        const PlayerRecord settled = player_record;
        const Lines last = c.lessons > 0 ? sh_click(c.obj) : sh_click(c.obj, {1});
        ASSERT_FALSE(last.empty());
        EXPECT_EQ(last.front(), sh_bubble(c.obj, c.closing));
        if (c.lessons > 0) {
            EXPECT_EQ(last, Lines{sh_bubble(c.obj, c.closing)});
        }
        EXPECT_EQ(std::memcmp(&player_record, &settled, sizeof settled), 0);
    }
}

TEST_F(GrowthTeachers, AKnownEntryAlreadyHeldStillPaysTheGrowth) {
    known_add(23, 53);
    const PlayerRecord before = player_record;
    sh_click(426, {1});
    const PlayerRecord expected = paid(before, 1, false);
    EXPECT_GT(player_record.skill_exp[23] + player_record.skill[23],
              before.skill_exp[23] + before.skill[23]);
    EXPECT_EQ(player_record.skill[23], expected.skill[23]);
    EXPECT_EQ(player_record.skill_exp[23], expected.skill_exp[23]);
    EXPECT_EQ(std::memcmp(player_record.known, before.known, sizeof before.known), 0);
}

// ---- The scene of a lesson --------------------------------------------------------------------

TEST_F(GrowthTeachers, ALessonSaysItsLinesAroundTheAnimationAndLeavesThePlayerAtItsPlace) {
    // 426's lesson chosen at the first click: its words, the lesson, the words after it.
    EXPECT_EQ(
        sh_click(426, {1}),
        (Lines{sh_bubble(426, 24200), "choose 3 1000 24201 24202 24203 -> 1", sh_bubble(426, 24209),
               "say 3 1000 24210", sh_bubble(426, 24211), "say 3 1000 24212", "say 3 1000 24213",
               sh_bubble(426, 24214), "say 3 1000 24215", sh_bubble(426, 24216), "say 3 1000 24217",
               "say 3 1000 24218"}));

    struct Case {
        const char* name;
        s32 obj;
        s32 x, y, frame;
        s32 prop;
    };
    const Case cases[] = {
        // 421 leaves the player at its training spot, on frame 422, layer and shadow as they were.
        {"421", 421, 2095, 1667, 422, -1},    {"426", 426, 1434, 910, -424, 439},
        {"428", 428, 293, 391, -424, 441},    {"443", 443, 2259, 2064, -424, 456},
        {"1529", 1529, 271, 450, -424, 1531},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(0, ATTR_LAYER, 3);
        attr_set(0, ATTR_SHADOW, 1);
        if (c.obj == 426)
            sh_click(c.obj, {1});
        else if (c.obj == 428)
            sh_click(c.obj, {0});
        else
            sh_click(c.obj);
        EXPECT_EQ(attr_get(0, ATTR_X), c.x);
        EXPECT_EQ(attr_get(0, ATTR_Y), c.y);
        EXPECT_EQ(obj_get_frame(0), c.frame);
        EXPECT_EQ(attr_get(0, ATTR_LAYER), 3);
        EXPECT_EQ(attr_get(0, ATTR_SHADOW), 1);
        if (c.prop >= 0) {
            EXPECT_EQ(attr_get(c.prop, ATTR_ACTIVE), 0);
        }
    }
}

TEST_F(GrowthTeachers, TheLessonOf428OpensTheAfterTurnEventOnlyWithStoryFlag52) {
    for (const s32 flag : {0, 1, 2}) {
        SCOPED_TRACE(flag);
        populate();
        hub_block.turn_events_after[151] = -1;
        player_record.story_flags[52] = flag;
        sh_click(428, {0});
        EXPECT_EQ(hub_block.turn_events_after[151], flag == 1 ? 211 : -1);
    }
    // The talk alone writes nothing.
    populate();
    hub_block.turn_events_after[151] = -1;
    player_record.story_flags[52] = 1;
    sh_click(428, {1});
    EXPECT_EQ(hub_block.turn_events_after[151], -1);
}

TEST_F(GrowthTeachers, FarClicksOnlyFloatTheRemark) {
    for (const auto& [obj, far] : {std::pair{421, 250}, std::pair{426, 250}, std::pair{428, 100},
                                   std::pair{443, 100}, std::pair{1529, 100}}) {
        SCOPED_TRACE(obj);
        populate();
        EXPECT_EQ(sh_click(obj, {}, far + 5), Lines{"label 0 10000 -112 -108 2000"});
        EXPECT_EQ(attr_get(obj, ATTR_VAR_A), 0);
    }
}

// ---- The walks --------------------------------------------------------------------------------

TEST_F(GrowthTeachers, TheWalkersPaceTheirPointsAnd1529StandsAfterItsWayBack) {
    attr_set(0, ATTR_X, 0);
    attr_set(0, ATTR_Y, 0);
    sh_frames(400);
    // 1529 went out to (333, 430) and back, and stands with its timer off.
    EXPECT_EQ(attr_get(1529, ATTR_VAR_B), 2);
    EXPECT_EQ(attr_get(1529, ATTR_X), 271);
    EXPECT_EQ(attr_get(1529, ATTR_Y), 422);
    EXPECT_EQ(attr_get(1529, ATTR_TIMER), 0);
    const s32 x = attr_get(1529, ATTR_X);
    sh_frames(50);
    EXPECT_EQ(attr_get(1529, ATTR_X), x);
    // The others keep walking.
    for (const s32 obj : {426, 428, 443}) {
        EXPECT_GT(attr_get(obj, ATTR_TIMER), 0) << obj;
    }
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(GrowthTeachersPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(growth_teachers_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
