// The new game's arrival: the protagonist's walk-in and animation, the two visitors, the
// bystander and the onlookers' first stage, the staged scene with its key loops and its hand-back,
// and the whole arrival on the real field loop from a new game's world.
#include "scripts/home/arrival.h"

#include "engine/image.h"
#include "engine/math.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/player.h"
#include "scripts/script_seams.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

s32 count_of(const Lines& all, const std::string& line) {
    s32 n = 0;
    for (const std::string& l : all) n += l == line ? 1 : 0;
    return n;
}

struct Point {
    s32 x, y;
};
Point at(s32 obj) {
    return {attr_get(obj, ATTR_X), attr_get(obj, ATTR_Y)};
}
s32 dist(s32 obj, s32 x, s32 y) {
    return std::abs(attr_get(obj, ATTR_X) - x) + std::abs(attr_get(obj, ATTR_Y) - y);
}

// The staged scene's texts in order (the transcript's say and say_at lines).
const Lines SCENE_TEXTS = {
    "say_at 241 20444", "say_at 241 20445", "say 3 1181 20455", "say 3 1181 20456",
    "say 2 1077 20464", "say_at 243 20446", "say 2 1077 20447", "say_at 243 20448",
    "say 2 1077 20449", "say_at 243 20450", "say_at 243 20451", "say 2 1077 20452",
    "say_at 171 20462", "say_at 172 20463", "say_at 6 20457",   "say_at 223 20458",
    "say_at 218 20459", "say_at 217 20460", "say 2 1000 20454",
};

class ArrivalTest : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        sh_clock(6, 0, 0);
    }
    // The protagonist as a new game makes it: slot 132, posed (timer on), not clickable.
    void protagonist(s32 x, s32 y, s32 stage, s32 frame = 416) {
        sh_player(x, y);
        attr_set(0, ATTR_EVENT, 132);
        attr_set(0, ATTR_CLICK, 0);
        attr_set(0, ATTR_TIMER_ON, 1);
        attr_set(0, ATTR_TIMER, 0);
        script_set_stage(0, stage);
        obj_set_frame(0, frame);
    }
    // Fires obj's timer until `done` holds; returns the runs (fails past `limit`).
    s32 fire_until(s32 obj, const std::function<bool()>& done, s32 limit = 200) {
        for (s32 runs = 1; runs <= limit; ++runs) {
            sh_fire(obj, TRIG_TIMER);
            if (done()) return runs;
        }
        ADD_FAILURE() << "object " << obj << " did not get there in " << limit << " runs";
        return limit;
    }
    // The figures of the staged scene at their creation points (inert slot 7 where not ours).
    void scene_world() {
        protagonist(58, 1708, 3, 424);
        sh_object(6, {.x = 60, .y = 1790, .frame = 4202});
        sh_object(171, {.x = 206, .y = 1656, .frame = 31156});
        sh_object(172, {.x = 413, .y = 1815, .frame = 31200});
        sh_object(217, {.x = 374, .y = 1830, .frame = -5402});
        sh_object(218, {.x = 339, .y = 1859, .frame = -5452});
        sh_object(223, {.x = 88, .y = 1682, .frame = 5172});
        sh_object(237, {.x = 123, .y = 1846, .frame = 5602, .slot = 124, .var_a = 2, .timer = 1});
        sh_object(238, {.x = 40, .y = 1824, .frame = 5554, .slot = 125, .var_a = 1, .timer = 5});
        sh_object(239, {.x = 20, .y = 1739, .frame = 5522, .slot = 131, .timer = 5});
        sh_object(240, {.x = 1268, .y = 1239, .frame = -5652});
        sh_object(241, {.x = 1524, .y = 1077, .frame = -5722});
        sh_object(242, {.x = 35, .y = 1794, .frame = 0});
        sh_object(243, {.x = 1547, .y = 1090, .frame = -5722});
        sh_object(244, {.x = 132, .y = 1745, .frame = 20226, .layer = 2, .active = false});
        sh_object(245, {.x = 34, .y = 1800, .frame = 20232, .layer = 1, .active = false});
        sh_object(246, {.x = 215, .y = 1733, .frame = 20236, .active = false});
    }
};

// ---- The protagonist (slot 132) --------------------------------------------------------------

TEST_F(ArrivalTest, TheProtagonistWalksInByScriptAndActsOnItsTimerOnly) {
    protagonist(0, 1798, 0);
    sh_fire(0, TRIG_CLICK);
    sh_fire(0, TRIG_STEP);
    EXPECT_EQ(dist(0, 0, 1798), 0);
    EXPECT_TRUE(sh_lines().empty());

    sh_fire(0, TRIG_TIMER);
    EXPECT_EQ(attr_get(0, ATTR_TIMER), 3);
    EXPECT_EQ(u32(world_state.cursor_id), 2u);
    EXPECT_LT(dist(0, 168, 1728), 168 + 70);
    EXPECT_EQ(script_stage(0), 0);

    fire_until(0, [] { return script_stage(0) == 1; });
    EXPECT_EQ(dist(0, 168, 1728), 0);
    EXPECT_EQ(obj_get_frame(0), ARRIVAL_FIRST_FRAME);
    const Lines music = sh_only(sh_lines(), {"music"});
    ASSERT_FALSE(music.empty());
    EXPECT_EQ(count_of(music, "music 10050 1"), s32(music.size()));
    EXPECT_TRUE(sh_only(sh_lines(), {"say"}).empty());
}

TEST_F(ArrivalTest, TheAnimationCallsEachNeighbourOnceOnItsFrameAndCallsTheVisitorAtItsEnd) {
    protagonist(168, 1728, 1, ARRIVAL_FIRST_FRAME);
    // The trigger frame of each neighbour (the animation's table as stated).
    struct Call {
        s32 obj, frame;
    };
    const Call calls[] = {{217, 33728}, {218, 33732}, {239, 33736}, {223, 33744}, {6, 33748}};
    for (const Call& c : calls) sh_object(c.obj, {.x = 10, .y = 1900, .active = false});
    sh_object(237, {.x = 0, .y = 1896, .frame = 5602, .active = false});

    s32 runs = 0;
    while (script_stage(0) == 1 && runs < 100) {
        const s32 before = obj_get_frame(0);
        sh_fire(0, TRIG_TIMER);
        ++runs;
        EXPECT_EQ(attr_get(0, ATTR_TIMER), 6);
        const s32 shown = script_stage(0) == 1 ? obj_get_frame(0) : before + 2;
        for (const Call& c : calls) {
            // Switched on by the run that showed its frame; switched off again at once, so a
            // second switch on a later run would show.
            const bool on = attr_get(c.obj, ATTR_ACTIVE) == 1;
            EXPECT_EQ(on, shown == c.frame) << "object " << c.obj << " at frame " << shown;
            attr_set(c.obj, ATTR_ACTIVE, 0);
        }
        EXPECT_EQ(attr_get(237, ATTR_ACTIVE), script_stage(0) == 2 ? 1 : 0) << shown;
    }
    EXPECT_EQ(runs, (ARRIVAL_LAST_FRAME - ARRIVAL_FIRST_FRAME) / 2);
    EXPECT_EQ(script_stage(0), 2);
    EXPECT_EQ(obj_get_frame(0), -424);
    EXPECT_EQ(sh_only(sh_lines(), {"say"}), Lines{"say 2 1000 20453"});
}

TEST_F(ArrivalTest, ThenItStepsAsideAndFallsSilent) {
    protagonist(168, 1728, 2, -424);
    sh_fire(0, TRIG_TIMER);
    EXPECT_EQ(attr_get(0, ATTR_TIMER), 6);
    fire_until(0, [] { return script_stage(0) == 3; });
    EXPECT_EQ(dist(0, 58, 1708), 0);
    EXPECT_EQ(obj_get_frame(0), 424);

    // Stage 3: no re-arm, no move, no change of frame.
    attr_set(0, ATTR_TIMER, 0);
    obj_set_frame(0, 418);
    sh_fire(0, TRIG_TIMER);
    EXPECT_EQ(attr_get(0, ATTR_TIMER), 0);
    EXPECT_EQ(obj_get_frame(0), 418);
    EXPECT_EQ(script_stage(0), 3);
    EXPECT_EQ(dist(0, 58, 1708), 0);
}

// ---- The visitors (slots 124 and 125) --------------------------------------------------------

TEST_F(ArrivalTest, TheFirstVisitorGreetsWalksUpAndKeepsCallingTheSecond) {
    protagonist(58, 1708, 3, -424);
    sh_object(237, {.x = 0, .y = 1896, .frame = 0, .slot = 124, .timer = 3});
    sh_object(238, {.x = 0, .y = 1840, .frame = 5554, .slot = 125, .timer = 3, .active = false});
    sh_fire(237, TRIG_CLICK);
    EXPECT_EQ(script_stage(237), 0);

    sh_fire(237, TRIG_TIMER);
    EXPECT_EQ(obj_get_frame(237), 5602);
    EXPECT_EQ(script_stage(237), 1);
    EXPECT_EQ(attr_get(237, ATTR_TIMER), 6);
    EXPECT_EQ(sh_only(sh_lines(), {"say"}), Lines{"say_at 237 20443"});

    sh_fire(237, TRIG_TIMER);
    EXPECT_EQ(attr_get(238, ATTR_ACTIVE), 0) << "called before it arrived";
    EXPECT_EQ(obj_get_frame(0), -424);
    fire_until(237, [] { return attr_get(238, ATTR_ACTIVE) == 1; });
    EXPECT_EQ(dist(237, 123, 1846), 0);
    EXPECT_EQ(obj_get_frame(0), 424);

    // Every run after the arrival does it again; the stage waits for the second visitor.
    attr_set(238, ATTR_ACTIVE, 0);
    obj_set_frame(0, 418);
    sh_fire(237, TRIG_TIMER);
    EXPECT_EQ(attr_get(238, ATTR_ACTIVE), 1);
    EXPECT_EQ(obj_get_frame(0), 424);
    EXPECT_EQ(script_stage(237), 1);
    EXPECT_EQ(sh_only(sh_lines(), {"say"}).size(), 1u);
}

TEST_F(ArrivalTest, TheSecondVisitorReleasesTheSceneOnArrival) {
    sh_object(237, {.x = 123, .y = 1846, .frame = 5602, .slot = 124, .var_a = 1});
    sh_object(238, {.x = 0, .y = 1840, .frame = 5554, .slot = 125, .timer = 3});
    sh_fire(238, TRIG_CLICK);
    sh_fire(238, TRIG_STEP);
    EXPECT_EQ(dist(238, 0, 1840), 0);
    EXPECT_EQ(attr_get(238, ATTR_TIMER), 3);
    sh_fire(238, TRIG_TIMER);
    EXPECT_EQ(attr_get(238, ATTR_TIMER), 10);
    EXPECT_EQ(script_stage(237), 1);
    fire_until(238, [] { return script_stage(238) == 1; });
    EXPECT_EQ(dist(238, 40, 1824), 0);
    EXPECT_EQ(script_stage(237), 2);

    // Its later stages do nothing but re-arm.
    script_set_stage(237, 7);
    sh_fire(238, TRIG_TIMER);
    EXPECT_EQ(script_stage(237), 7);
    EXPECT_EQ(script_stage(238), 1);
    EXPECT_EQ(attr_get(238, ATTR_TIMER), 10);
}

// ---- The onlookers' first stage and the bystander (slot 131) ---------------------------------

TEST_F(ArrivalTest, OnlookersWalkTowardTheirMarksByTheFirstVisitorsStage) {
    struct Row {
        s32 obj;
        Point wait, mark;
        s32 mark_frame;
        s32 speed;
    };
    // The first stage of each onlooker as the scene states it.
    const Row rows[] = {
        {217, {425, 1725}, {374, 1830}, -5402, 9},
        {218, {428, 1750}, {339, 1859}, -5452, 9},
        {223, {282, 1664}, {88, 1682}, 5172, 9},
        {239, {0, 1850}, {20, 1739}, 5522, 10},
    };
    sh_object(237, {.x = 123, .y = 1846, .frame = 5602, .active = false});
    for (const Row& r : rows) {
        SCOPED_TRACE(r.obj);
        const s32 slot = r.obj == 239 ? 131 : 7;
        auto run = [&] {
            if (slot == 131)
                sh_fire(r.obj, TRIG_TIMER);
            else
                arrival_onlooker_on(r.obj);
        };
        // Visitor at stage 0: one step toward the waiting point per run, never further.
        script_set_stage(237, 0);
        sh_object(r.obj, {.x = 200, .y = 1400, .frame = 1, .slot = slot, .timer = 5});
        const s32 far = dist(r.obj, r.wait.x, r.wait.y);
        run();
        const s32 one = far - dist(r.obj, r.wait.x, r.wait.y);
        EXPECT_GT(one, 0);
        EXPECT_LE(one, 2 * r.speed);
        EXPECT_EQ(script_stage(r.obj), 0);
        if (slot == 131) {
            EXPECT_EQ(attr_get(r.obj, ATTR_TIMER), 7);
        }

        // Stage 1: to the mark, the frame only on arrival.
        script_set_stage(237, 1);
        run();
        EXPECT_NE(obj_get_frame(r.obj), r.mark_frame);
        for (s32 runs = 0; runs < 200 && obj_get_frame(r.obj) != r.mark_frame; ++runs) run();
        EXPECT_EQ(dist(r.obj, r.mark.x, r.mark.y), 0);

        // Stage 2: the frame where it stands.
        script_set_stage(237, 2);
        sh_object(r.obj, {.x = 200, .y = 1400, .frame = 1, .slot = slot, .timer = 5});
        run();
        EXPECT_EQ(obj_get_frame(r.obj), r.mark_frame);
        EXPECT_EQ(dist(r.obj, 200, 1400), 0);
        EXPECT_EQ(script_stage(r.obj), 0) << "only the scene ends the first stage";
    }
    arrival_onlooker_on(500); // no row: nothing
    arrival_onlooker_on(-1);
}

TEST_F(ArrivalTest, TheBystanderLeavesAfterTheSceneAndSwitchesItselfOff) {
    sh_object(237, {.x = 554, .y = 1600, .var_a = 2, .active = false});
    sh_object(239, {.x = 20, .y = 1739, .frame = 5522, .slot = 131, .var_a = 1, .timer = 7});
    sh_fire(239, TRIG_CLICK);
    EXPECT_EQ(dist(239, 20, 1739), 0);
    EXPECT_EQ(script_stage(239), 1);
    fire_until(239, [] { return script_stage(239) == 2; });
    EXPECT_EQ(dist(239, 60, 1784), 0);
    EXPECT_EQ(attr_get(239, ATTR_ACTIVE), 1);
    fire_until(239, [] { return attr_get(239, ATTR_ACTIVE) == 0; });
    EXPECT_EQ(dist(239, 0, 1817), 0);
    EXPECT_EQ(script_stage(239), 2);
}

// ---- The staged scene (slot 124, stage 2) ----------------------------------------------------

TEST_F(ArrivalTest, TheStagedSceneSaysItsLinesAndHandsThePlayerBack) {
    scene_world();
    sh_fire(237, TRIG_TIMER);

    EXPECT_EQ(sh_only(sh_lines(), {"say"}), SCENE_TEXTS);
    const Lines music = sh_only(sh_lines(), {"music"});
    EXPECT_EQ(music, (Lines{"music 10066 0", "music 10057 0"}));
    EXPECT_EQ(player_record.music_id, 10057);
    EXPECT_EQ(u32(world_state.cursor_id), 0u);

    // The player is handed back to its own script.
    EXPECT_EQ(dist(0, 168, 1798), 0);
    EXPECT_EQ(obj_get_frame(0), 418);
    EXPECT_EQ(attr_get(0, ATTR_EVENT), 0);
    EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), 0);
    EXPECT_EQ(attr_get(0, ATTR_CLICK), 1);

    // Who is still there, where, and in which frame (a figure that walked last shows its
    // walking frame: ANY).
    constexpr s32 ANY = 1 << 30;
    struct Left {
        s32 obj;
        s32 active;
        Point p;
        s32 frame;
        s32 clickable;
        s32 stage;
    };
    const Left left[] = {
        {6, 1, {60, 1790}, 4222, 1, 1},     {171, 1, {213, 1665}, 31198, 1, 0},
        {172, 1, {393, 1776}, 31242, 1, 0}, {217, 1, {374, 1830}, -5422, 1, 1},
        {218, 1, {339, 1859}, 5452, 1, 1},  {223, 1, {88, 1682}, 5172, 1, 1},
        {237, 0, {554, 1600}, ANY, 0, 2},   {238, 0, {739, 1536}, ANY, 0, 1},
        {239, 1, {20, 1739}, 5522, 0, 1},   {240, 0, {504, 1620}, ANY, 0, 0},
        {241, 0, {485, 1586}, ANY, 0, 0},   {243, 0, {465, 1666}, ANY, 0, 0},
        {242, 0, {43, 1809}, 33632, 0, 0},  {244, 1, {132, 1745}, 0, 0, 0},
        {245, 0, {34, 1800}, 20235, 0, 0},  {246, 0, {215, 1733}, 20240, 0, 0},
    };
    for (const Left& l : left) {
        SCOPED_TRACE(l.obj);
        EXPECT_EQ(attr_get(l.obj, ATTR_ACTIVE), l.active);
        EXPECT_EQ(dist(l.obj, l.p.x, l.p.y), 0) << at(l.obj).x << "," << at(l.obj).y;
        if (l.frame != ANY) {
            EXPECT_EQ(obj_get_frame(l.obj), l.frame);
        }
        EXPECT_EQ(attr_get(l.obj, ATTR_CLICK), l.clickable);
        EXPECT_EQ(script_stage(l.obj), l.stage);
    }
    EXPECT_EQ(attr_get(242, ATTR_Z), 0);
    EXPECT_EQ(attr_get(244, ATTR_Z), 200);
}

// The key loops of the scene pass by pass: the throw, the flight and the fall.
TEST_F(ArrivalTest, TheFlightAndTheFallMoveTheirFiguresPassByPass) {
    scene_world();
    std::vector<std::span<const CueTrack>> loops;
    for (const Cue& q : arrival_staged_scene())
        if (q.op == CUE_KEYS) loops.push_back(q.tracks);
    ASSERT_EQ(loops.size(), 8u); // the dance, its hold, turn and close; throw, flight, fall, glow
    const size_t THROW = 4, FLIGHT = 5, FALL = 6;

    struct Expect {
        size_t loop;
        s32 k;
        s32 obj;
        s32 attr; // ATTR_FRAME stands for the signed frame
        s32 value;
    };
    const Expect cases[] = {
        {THROW, 1, 242, ATTR_X, 40},       {THROW, 1, 242, ATTR_Y, 1791},
        {THROW, 1, 242, ATTR_Z, 14},       {THROW, 1, 242, ATTR_FRAME, 33602},
        {FLIGHT, 6, 244, ATTR_ACTIVE, 0},  {FLIGHT, 7, 244, ATTR_ACTIVE, 1},
        {FLIGHT, 7, 244, ATTR_Z, 200},     {FLIGHT, 7, 244, ATTR_FRAME, 20226},
        {FLIGHT, 7, 242, ATTR_X, 94},      {FLIGHT, 7, 242, ATTR_Z, 133},
        {FLIGHT, 7, 240, ATTR_X, 175},     {FLIGHT, 7, 240, ATTR_Y, 1723},
        {FLIGHT, 7, 240, ATTR_Z, 112},     {FLIGHT, 7, 240, ATTR_FRAME, 33648},
        {FALL, 0, 240, ATTR_Z, 130},       {FALL, 1, 240, ATTR_Z, 74},
        {FALL, 3, 240, ATTR_Z, 0},         {FALL, 3, 240, ATTR_X, 194},
        {FALL, 6, 240, ATTR_X, 194},       {FALL, 6, 240, ATTR_Y, 1717},
        {FALL, 6, 240, ATTR_Z, 0},         {FALL, 6, 240, ATTR_FRAME, 33662},
        {FALL, 7, 242, ATTR_X, 43},        {FALL, 7, 242, ATTR_Y, 1809},
        {FALL, 7, 242, ATTR_FRAME, 33632}, {FALL, 6, 242, ATTR_FRAME, 33632},
        {FALL, 2, 244, ATTR_FRAME, 20229}, {FALL, 4, 244, ATTR_FRAME, 0},
        {FALL, 6, 245, ATTR_ACTIVE, 0},    {FALL, 6, 245, ATTR_FRAME, 0},
        {FALL, 7, 245, ATTR_ACTIVE, 1},    {FALL, 7, 245, ATTR_FRAME, 20232},
        {FALL, 2, 246, ATTR_ACTIVE, 0},    {FALL, 2, 246, ATTR_FRAME, 20236},
        {FALL, 3, 246, ATTR_ACTIVE, 1},    {FALL, 3, 246, ATTR_FRAME, 20236},
        {FALL, 7, 246, ATTR_FRAME, 20240},
    };
    for (const Expect& e : cases) {
        scene_world();
        // The loops before, whole, then this loop up to pass k.
        for (size_t i = THROW; i < e.loop; ++i)
            for (s32 k = 0; k <= 7; ++k) cue_keys_pass(loops[i], k);
        for (s32 k = 0; k <= e.k; ++k) cue_keys_pass(loops[e.loop], k);
        const s32 got = e.attr == ATTR_FRAME ? obj_get_frame(e.obj) : attr_get(e.obj, e.attr);
        EXPECT_EQ(got, e.value) << "loop " << e.loop << " pass " << e.k << " object " << e.obj
                                << " attribute " << e.attr;
    }
}

// Every frame that the arrival shows is a picture of the placeholder archive, so the scene can be
// watched there.
TEST_F(ArrivalTest, EveryFrameTheArrivalShowsIsInThePlaceholderArchive) {
    std::set<s32> frames;
    for (s32 f = ARRIVAL_FIRST_FRAME; f <= ARRIVAL_LAST_FRAME; f += ARRIVAL_STEP) frames.insert(f);
    for (const Cue& q : arrival_staged_scene()) {
        switch (q.op) {
        case CUE_FRAME:
        case CUE_SHOW_FRAME:
            frames.insert(q.a);
            break;
        case CUE_PLACE:
            frames.insert(q.c);
            break;
        case CUE_FRAME_STEPS:
            for (s32 i = 0; i < q.c; ++i) frames.insert(q.a + q.b * i);
            break;
        case CUE_KEYS:
            for (const CueTrack& t : q.tracks)
                for (s32 k = t.k_from; k <= std::min(t.k_to, q.a); ++k)
                    if (t.frame.set) frames.insert(t.frame.base + t.frame.per * k);
            break;
        default:
            break;
        }
    }
    frames.erase(0);
    EXPECT_GT(frames.size(), 200u);
    for (const s32 f : frames) EXPECT_NE(image_load(std::abs(f)), empty_image) << f;
}

// ---- The whole arrival on the field loop -----------------------------------------------------

class ArrivalField : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            world_put_map(
                b, 10, 2048, 2048, [](s32, s32) { return WORLD_GROUND; }, 200);
        });
        scripts_register_all();
        // The whole home map runs: its residents' idle pauses draw at random.
        script_rand_seam = rand_below;
        game_tables_init();
        game_new_world();
        map_load(10);
        camera_follow(0);
        sh_clear_lines();
    }
    void TearDown() override { sh_stop(); }
    HarnessTempDir dir;
};

TEST_F(ArrivalField, ANewGameArrivesAndIsHandedToThePlayer) {
    ASSERT_EQ(world_state.current_map, 10);
    for (const s32 obj : {0, 217, 218, 223}) EXPECT_EQ(attr_get(obj, ATTR_CLICK), 0) << obj;

    // A timer that counts its runs, one a field frame: the scene runs within one frame, and no
    // other timer runs while it plays.
    s32 counted = 0;
    const s32 counter = sh_script([&] {
        ++counted;
        attr_set(script_self(), ATTR_TIMER, 1);
    });
    sh_object(4000, {.map = 10, .x = 1000, .y = 1000, .slot = counter, .timer = 1});

    // The right button held toward the far right: the posed protagonist does not walk by it.
    mouse_buttons = 2;
    pointer_x = 630;
    pointer_y = 240;
    s32 frames = 0;
    while (script_stage(0) == 0 && frames < 400) {
        frames += sh_field_frames(1);
        EXPECT_LE(attr_get(0, ATTR_X), 168);
    }
    mouse_buttons = 0;
    EXPECT_EQ(dist(0, 168, 1728), 0);

    while (attr_get(0, ATTR_EVENT) == 132 && frames < 2000) {
        frames += sh_field_frames(1);
        if (attr_get(0, ATTR_EVENT) == 132) {
            for (const s32 obj : {0, 217, 218, 223})
                ASSERT_EQ(attr_get(obj, ATTR_CLICK), 0) << obj << " at frame " << frames;
        }
    }
    ASSERT_EQ(attr_get(0, ATTR_EVENT), 0) << "no hand-over in " << frames << " frames";
    EXPECT_EQ(counted, frames);

    Lines says = {"say 2 1000 20453", "say_at 237 20443"};
    says.insert(says.end(), SCENE_TEXTS.begin(), SCENE_TEXTS.end());
    EXPECT_EQ(sh_only(sh_lines(), {"say"}), says);
    EXPECT_EQ(sh_only(sh_lines(), {"music"}).front(), "music 10050 1");
    EXPECT_EQ(sh_only(sh_lines(), {"music"}).back(), "music 10057 0");
    EXPECT_EQ(player_record.music_id, 10057);

    EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), 0);
    EXPECT_EQ(attr_get(0, ATTR_CLICK), 1);
    EXPECT_EQ(dist(0, 168, 1798), 0);
    for (const s32 obj : {6, 171, 172, 217, 218, 223}) {
        EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 1) << obj;
        EXPECT_EQ(attr_get(obj, ATTR_CLICK), 1) << obj;
    }
    for (const s32 obj : {237, 238, 240, 241, 242, 243})
        EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 0) << obj;
    EXPECT_EQ(script_stage(239), 1);

    // The bystander walks off and switches itself off on the following frames.
    s32 more = 0;
    while (attr_get(239, ATTR_ACTIVE) == 1 && more < 400) more += sh_field_frames(1);
    EXPECT_EQ(attr_get(239, ATTR_ACTIVE), 0);
    EXPECT_EQ(dist(239, 0, 1817), 0);
}

} // namespace
