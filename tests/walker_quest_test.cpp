// The walker of map 10 and its quest (story flag 1): the quest's stages as one table of clicks on
// the walker and the quest giver of map 31, and the walker's beat as a table of timer runs.
#include "scripts/home/walker_quest.h"

#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/home/posed_services.h"
#include "scripts/scripts_register.h"
#include "tests/home_script_fixture.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 HOME = HOME_MAP;
constexpr s32 GIVER_MAP = 31;
constexpr s32 SIDE_MAP = GIVER_MAP;
constexpr s32 WALKER = 10;
constexpr s32 GIVER = 80;

class WalkerQuest : public ScriptTest {
  protected:
    void SetUp() override {
        home_start(SIDE_MAP);
        scripts_register_all();
        world();
    }
    static void world() {
        sh_object(WALKER,
                  {.map = HOME, .x = 2403, .y = 1290, .frame = 4252, .slot = 10, .click = true});
        sh_object(
            GIVER,
            {.map = GIVER_MAP, .x = 325, .y = 285, .frame = 31541, .slot = 37, .click = true});
    }
};

// ---- The quest's stages ----------------------------------------------------------------------

TEST_F(WalkerQuest, StagesOfTheQuestMoveOnByTheTable) {
    struct Case {
        const char* name;
        s32 obj;   // the walker or the quest giver, the player 50 right and 30 below it (pos 3)
        s32 stage; // the object's talk stage
        s32 flag;  // story flag 1 before
        bool item; // item 2387 held before
        bool album;
        std::vector<s32> answers;
        Lines lines;
        s32 flag_after;
        bool item_after;
        s32 chivalry_delta;
        s32 stage_after;
    };
    Lines handing = {};
    for (s32 t = 16312; t <= 16329; ++t)
        handing.push_back((t % 2 == 0 ? "say 3 1000 " : "say_at 10 ") + std::to_string(t));
    const Lines asked = {"say 3 1000 16300", "say_at 80 16301", "say 3 1000 16302",
                         "say_at 80 16303"};
    auto then = [](Lines a, const Lines& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // clang-format off
    const Case cases[] = {
        // The quest giver of map 31.
        {"giver, first meeting", GIVER, 0, 0, false, false, {}, {"say_at 80 10231"}, 0, false, 0, 1},
        {"giver before any bath", GIVER, 1, 0, false, false, {}, {"say_at 80 10232"}, 0, false, 0, 1},
        {"giver after the bath: item taken", GIVER, 1, 1, false, false, {0},
         then(asked, {"choose 3 1000 16305 16306 -> 0", "say 3 1000 16307", "say_at 80 16308",
                      "say 3 1000 16309", "say_at 80 16310", "say 3 1000 16311"}),
         2, true, 0, 1},
        {"giver after the bath: refused", GIVER, 1, 1, false, false, {1},
         then(asked, {"choose 3 1000 16305 16306 -> 1", "say 3 1000 16353", "say_at 80 16354"}),
         6, false, -2, 1},
        {"giver with the item handed on", GIVER, 1, 3, false, false, {}, {"say_at 80 10232"}, 3, false, 0, 1},
        {"giver in the map-10 episode", GIVER, 2, 1, false, false, {}, {"say_at 80 10231"}, 1, false, 0, 2},
        {"giver in the open world", GIVER, 3, 0, false, false, {}, {"say_at 80 10231"}, 0, false, 0, 3},
        // The walker.
        {"walker, first meeting", WALKER, 0, 0, false, false, {}, {"say_at 10 10150"}, 0, false, 0, 0},
        {"walker, album entry 1", WALKER, 0, 0, false, true, {},
         {"say_at 10 10964", "say 3 1000 10968", "say_at 10 10150"}, 0, false, 0, 0},
        {"walker after the first bath", WALKER, 1, 1, true, false, {}, {"say_at 10 10236"}, 1, true, 0, 1},
        {"walker takes the item", WALKER, 2, 2, true, false, {}, handing, 3, false, 2, 2},
        {"walker: item sold or used", WALKER, 2, 2, false, false, {}, {"say_at 10 10264"}, 2, false, 0, 2},
        {"walker: routine's first step", WALKER, 2, 4, false, false, {},
         {"say 3 1000 16351", "say_at 10 16352"}, 4, false, 0, 2},
        {"walker closes the quest", WALKER, 2, 5, false, false, {},
         {"say 3 1000 16349", "say_at 10 16350"}, 6, false, 3, 2},
        {"walker, closed, album entry 1", WALKER, 2, 6, false, true, {},
         {"say_at 10 10964", "say 3 1000 10968", "say_at 10 10264"}, 6, false, 0, 2},
    };
    // clang-format on
    for (const Case& c : cases) {
        init_player();
        world();
        const s32 map = c.obj == WALKER ? HOME : GIVER_MAP;
        sh_player(attr_get(c.obj, ATTR_X) + 50, attr_get(c.obj, ATTR_Y) + 30, map);
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        player_record.story_flags[WALKER_QUEST_FLAG] = c.flag;
        if (c.item) inv_add(WALKER_QUEST_ITEM, 1);
        if (c.album) album_add(1);
        player_record.chivalry = 50;
        const s32 frame = obj_get_frame(c.obj);
        for (const s32 a : c.answers) sh_answers({a});
        sh_clear_lines();
        sh_fire(c.obj, TRIG_CLICK);
        EXPECT_EQ(home_talk_lines(), c.lines) << c.name;
        EXPECT_EQ(walker_quest(), c.flag_after) << c.name;
        EXPECT_EQ(inv_has(WALKER_QUEST_ITEM), c.item_after ? 1 : 0) << c.name;
        EXPECT_EQ(player_record.chivalry, 50 + c.chivalry_delta) << c.name;
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.stage_after) << c.name;
        EXPECT_EQ(obj_get_frame(c.obj), frame) << c.name << ": the kept frame";
    }
}

TEST_F(WalkerQuest, TheWalkerAnswersWithinItsTalkDistanceOnly) {
    struct Case {
        s32 dx;
        Lines lines;
    };
    // The engine's distance is an approximate square root: 160 is well beyond the limit.
    const Case cases[] = {
        {150, {"say_at 10 10150"}},
        {160, {"label 0 10000 -112 -108 2000"}},
    };
    for (const Case& c : cases) {
        sh_player(2403 + c.dx, 1290, HOME);
        sh_clear_lines();
        sh_fire(WALKER, TRIG_CLICK);
        EXPECT_EQ(home_talk_lines(), c.lines) << c.dx;
    }
}

TEST_F(WalkerQuest, OnlyTheFirstBathStartsTheQuest) {
    const s32 want[] = {QUEST_BATH_TAKEN,  QUEST_BATH_TAKEN,    QUEST_ITEM_RECEIVED,
                        QUEST_ITEM_HANDED, QUEST_ROUTINE_FIRST, QUEST_ROUTINE_SECOND,
                        QUEST_CLOSED};
    for (s32 flag = QUEST_NOT_STARTED; flag <= QUEST_CLOSED; ++flag) {
        player_record.story_flags[WALKER_QUEST_FLAG] = flag;
        walker_quest_bath_taken();
        EXPECT_EQ(walker_quest(), want[flag]) << flag;
    }
}

// ---- The walker's beat -----------------------------------------------------------------------

TEST_F(WalkerQuest, TheWalkersBeatByItsSecondVariable) {
    struct Case {
        const char* name;
        s32 beat, x, y, frame, map;               // before; map is the map shown
        s32 beat_after, frame_after, timer_after; // frame_after 0: a walking frame
        bool remark;
    };
    const Case cases[] = {
        {"walking west", BEAT_WALK_WEST, 2403, 1290, 4252, HOME, BEAT_WALK_WEST, 0, 7, false},
        {"arrived west", BEAT_WALK_WEST, 2208, 1204, 4252, HOME, BEAT_IDLE_WEST, 2864, 7, false},
        {"idle", BEAT_IDLE_WEST, 2208, 1204, 2864, HOME, BEAT_IDLE_WEST, 2866, 7, false},
        {"remark", BEAT_IDLE_WEST, 2208, 1204, 2866, HOME, BEAT_IDLE_WEST, 2868, 7, true},
        {"remark unseen elsewhere", BEAT_IDLE_WEST, 2208, 1204, 2866, GIVER_MAP, BEAT_IDLE_WEST,
         2868, 7, false},
        {"idle over", BEAT_IDLE_WEST, 2208, 1204, 2894, HOME, BEAT_WALK_EAST, 4252, 100, false},
        {"arrived east", BEAT_WALK_EAST, 2318, 1291, 4252, HOME, BEAT_IDLE_EAST, 2864, 7, false},
        {"idle over east", BEAT_IDLE_EAST, 2318, 1291, 2894, HOME, BEAT_WALK_WEST, 4252, 100,
         false},
        {"unknown beat", 9, 2318, 1291, 2870, HOME, 9, 2870, 0, false},
    };
    for (const Case& c : cases) {
        world();
        sh_player(100, 100, c.map);
        attr_set(WALKER, ATTR_X, c.x);
        attr_set(WALKER, ATTR_Y, c.y);
        obj_set_frame(WALKER, c.frame);
        attr_set(WALKER, ATTR_VAR_B, c.beat);
        sh_clear_lines();
        sh_fire(WALKER, TRIG_TIMER);
        EXPECT_EQ(attr_get(WALKER, ATTR_VAR_B), c.beat_after) << c.name;
        if (c.frame_after != 0)
            EXPECT_EQ(obj_get_frame(WALKER), c.frame_after) << c.name;
        else
            EXPECT_LT(attr_get(WALKER, ATTR_X), c.x) << c.name << ": a step west";
        EXPECT_EQ(attr_get(WALKER, ATTR_TIMER), c.timer_after) << c.name;
        EXPECT_EQ(home_talk_lines(), c.remark ? Lines{"label 10 10035 -80 -100 3500"} : Lines{})
            << c.name;
    }
}

TEST_F(WalkerQuest, TheWalkerGoesBackAndForthOnItsTimer) {
    world_arm_timer(WALKER, 7, true);
    sh_player(100, 100, GIVER_MAP);
    s32 frames = 0;
    s32 seen = 0; // beats seen in order, starting with the first walk
    const s32 order[] = {BEAT_IDLE_WEST, BEAT_WALK_EAST, BEAT_IDLE_EAST, BEAT_WALK_WEST};
    while (seen < 4 && frames < 5000) {
        sh_frames(1);
        ++frames;
        if (attr_get(WALKER, ATTR_VAR_B) == order[seen]) ++seen;
    }
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(attr_get(WALKER, ATTR_X), 2318);
    EXPECT_EQ(attr_get(WALKER, ATTR_Y), 1291);
}

} // namespace
