// The route interpreter over a sample daily routine and a sample timetable.
#include "scripts/routes.h"

#include "data/timetables.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/clock.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace route;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 FIG = SH_FIGURE_FIRST;
constexpr s32 WALKER = 500;

// A sample routine in the route-table notation. (Route tables keep one window a line.)
// clang-format off
constexpr RouteStep ALWAYS[] = {
    go(1, PX + 40, PY, say_remark(20473_t, -100, -110, 3000), at_frame(-FrameId(FIG))),
    go(2, PX + 40, PY + 40),
};
constexpr RouteStep EARLY[] = {
    go(3, PX + 200, PY + 40, at_frame(FrameId(FIG + 20))),
    idle_remark(idle(4, FrameId(FIG + 20), FrameId(FIG + 24)), FrameId(FIG + 22), 20466_t, -25, -80, 2000),
};
constexpr RouteStep MORNING[] = {
    face(4, FrameId(FIG + 2)),
    stay(5, PX, PY, at_frame(FrameId(FIG + 4)), obj_stage(501_obj, 8)),
};
constexpr RouteStep NOON[] = {
    go(5, PX, PY, at_frame(0_f)),
    to_map(6, 2_map, 100, 100, FrameId(FIG + 6), say_remark(20468_t, -100, -130, 3000)),
    step(7, 400, 100),
    next(8, obj_off(502_obj)),
    go(9, 150, 100, then_stage(20)).speed(20),
};
constexpr RouteWindow WINDOWS[] = {
    always(ALWAYS),
    window(6, 30, 6, 59, EARLY),
    window(10, 0, 10, 59, MORNING),
    window(11, 0, 11, 59, NOON),
};
// clang-format on
constexpr Route ROUTINE{.interval = 6, .speed = 9, .windows = WINDOWS};

using Lines = std::vector<std::string>;

class RouteRun : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        const s32 slot = sh_script([] { route_run(ROUTINE); });
        sh_object(WALKER, {.x = PX, .y = PY, .frame = FIG, .slot = slot, .timer = 1});
        sh_object(501, {});
        sh_object(502, {});
    }
    void TearDown() override {
        init_npc_timetables();
        ScriptTest::TearDown();
    }
    // One timer run of the walker at hour:minute with its stage.
    void run_at(s32 hour, s32 minute, s32 stage_now) {
        attr_set(WALKER, ATTR_VAR_A, stage_now);
        run_at(hour, minute);
    }
    void run_at(s32 hour, s32 minute) {
        sh_clock(hour, minute);
        attr_set(WALKER, ATTR_TIMER, 1);
        sh_frames(1);
    }
    s32 stage() { return attr_get(WALKER, ATTR_VAR_A); }
    s32 x() { return attr_get(WALKER, ATTR_X); }
};

TEST_F(RouteRun, StepsActOnlyInTheirWindow) {
    struct Case {
        s32 hour, minute, stage;
        bool moves; // the walker's place changes
    };
    const Case cases[] = {
        {6, 0, 3, false}, // before the first window: only the always-part acts
        {6, 30, 3, true},   {6, 59, 3, true}, {7, 0, 3, false}, // after 6:59: waits for tomorrow
        {10, 30, 5, false},                                     // stay: already there
        {11, 0, 5, false},                                      // go: already there, arrives
        {12, 0, 7, false},                                      // outside every window
    };
    for (const Case& c : cases) {
        attr_set(WALKER, ATTR_X, PX);
        attr_set(WALKER, ATTR_Y, PY);
        run_at(c.hour, c.minute, c.stage);
        EXPECT_EQ(x() != PX, c.moves) << c.hour << ":" << c.minute << " stage " << c.stage;
        EXPECT_EQ(attr_get(WALKER, ATTR_TIMER), ROUTINE.interval);
    }
}

TEST_F(RouteRun, GoWalksArrivesWithItsActionsAndMovesOn) {
    run_at(6, 0, 1);
    EXPECT_EQ(stage(), 1);
    EXPECT_GT(x(), PX);
    for (s32 i = 0; i < 20 && stage() == 1; ++i) run_at(6, 0);
    EXPECT_EQ(stage(), 2);
    EXPECT_EQ(x(), PX + 40);
    EXPECT_EQ(obj_get_frame(WALKER), -FIG);
    EXPECT_EQ(sh_lines(), Lines{"label 500 20473 -100 -110 3000"});

    // On another map than the player's the remark is not shown, and the stage still moves on.
    sh_clear_lines();
    attr_set(WALKER, ATTR_MAP, SH_MAP + 1);
    run_at(6, 0, 1);
    EXPECT_EQ(stage(), 2);
    EXPECT_TRUE(sh_lines().empty());
}

TEST_F(RouteRun, AlwaysStageMayBeFollowedByTheWindowsStepInOneRun) {
    attr_set(WALKER, ATTR_X, PX + 40);
    attr_set(WALKER, ATTR_Y, PY + 40);
    run_at(6, 30, 2); // stage 2 arrives, then the window's stage 3 steps on
    EXPECT_EQ(stage(), 3);
    EXPECT_GT(x(), PX + 40);
    run_at(6, 0, 2); // before the window: stage 3 waits
    EXPECT_EQ(stage(), 3);
}

TEST_F(RouteRun, IdleCyclesWithItsRemarkAndKeepsTheStage) {
    obj_set_frame(WALKER, FIG + 20);
    run_at(6, 45, 4);
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 22);
    EXPECT_EQ(attr_get(WALKER, ATTR_TIMER), ROUTE_IDLE_REARM);
    EXPECT_EQ(sh_lines(), Lines{"label 500 20466 -25 -80 2000"});
    run_at(6, 45);
    run_at(6, 45);
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 20); // wrapped with the pause
    EXPECT_EQ(attr_get(WALKER, ATTR_TIMER), ROUTE_IDLE_PAUSE);
    EXPECT_EQ(stage(), 4);
}

TEST_F(RouteRun, FaceStayMapStepNextAndSpeed) {
    run_at(10, 0, 4); // face
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 2);
    EXPECT_EQ(stage(), 5);
    run_at(10, 0); // stay: arrived, actions on every run, the stage stays
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 4);
    EXPECT_EQ(attr_get(501, ATTR_VAR_A), 8);
    attr_set(501, ATTR_VAR_A, 0);
    run_at(10, 0);
    EXPECT_EQ(attr_get(501, ATTR_VAR_A), 8);
    EXPECT_EQ(stage(), 5);

    run_at(11, 0); // go: arrived, frame 0
    EXPECT_EQ(stage(), 6);
    EXPECT_EQ(obj_get_frame(WALKER), 0);
    run_at(11, 0); // to another map; its remark is not shown on the player's map
    EXPECT_EQ(stage(), 7);
    EXPECT_EQ(attr_get(WALKER, ATTR_MAP), 2);
    EXPECT_EQ(x(), 100);
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 6);
    run_at(11, 0); // one step, stage on at once
    EXPECT_EQ(stage(), 8);
    EXPECT_GT(x(), 100);
    EXPECT_LT(x(), 400);
    run_at(11, 0); // next with its action
    EXPECT_EQ(stage(), 9);
    EXPECT_EQ(attr_get(502, ATTR_ACTIVE), 0);
    const s32 before = x();
    run_at(11, 0); // speed 20 toward x 150: longer steps than the route's speed 9 (about 7)
    EXPECT_GE(x() - before, 12);
    for (s32 i = 0; i < 30 && stage() == 9; ++i) run_at(11, 0);
    EXPECT_EQ(stage(), 20); // the action named the stage
    for (const std::string& l : sh_lines()) EXPECT_EQ(l.find("20468"), std::string::npos);
}

TEST_F(RouteRun, AWalkerThatKeepsItsLegInVarBAndMovesOnAtTheWrap) {
    static constexpr RouteStep PACE[] = {
        go(0, PX + 30, PY, at_frame(FrameId(FIG + 10))).rearm(10),
        idle(1, -FrameId(FIG), FrameId(FIG + 14), 2, 7, 10).next_at_wrap(),
    };
    static constexpr RouteWindow PACE_W[] = {always(PACE)};
    static constexpr Route PACER{.interval = 7, .stage_var = STAGE_VAR_B, .windows = PACE_W};
    attr_set(WALKER, ATTR_EVENT, sh_script([] { route_run(PACER); }));
    attr_set(WALKER, ATTR_VAR_A, 33); // the talk stage is left alone
    for (s32 i = 0; i < 20 && attr_get(WALKER, ATTR_VAR_B) == 0; ++i) run_at(8, 0);
    EXPECT_EQ(attr_get(WALKER, ATTR_VAR_B), 1);
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 10);
    run_at(8, 0);
    run_at(8, 0);
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 14);
    EXPECT_EQ(attr_get(WALKER, ATTR_VAR_B), 1);
    run_at(8, 0); // past the limit: the wrap frame, the pause, the next leg
    EXPECT_EQ(obj_get_frame(WALKER), -FIG);
    EXPECT_EQ(attr_get(WALKER, ATTR_TIMER), 10);
    EXPECT_EQ(attr_get(WALKER, ATTR_VAR_B), 2);
    EXPECT_EQ(attr_get(WALKER, ATTR_VAR_A), 33);
}

TEST_F(RouteRun, TheTimetablePutsTheResidentWhereItsRoutineGoesOn) {
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        timetable_npcs[i] = -1;
        for (s32 q = 0; q < TIMETABLE_QUARTERS; ++q) {
            npc_timetable_map[i][q] = TIMETABLE_EMPTY;
            npc_timetable_x[i][q] = TIMETABLE_EMPTY;
            npc_timetable_y[i][q] = TIMETABLE_EMPTY;
            npc_timetable_frame[i][q] = TIMETABLE_EMPTY;
            npc_timetable_var_a[i][q] = TIMETABLE_EMPTY;
        }
    }
    timetable_npcs[3] = WALKER;
    const s32 q10 = timetable_quarter(10, 0);
    npc_timetable_map[3][q10] = SH_MAP;
    npc_timetable_x[3][q10] = PX + 300;
    npc_timetable_y[3][q10] = PY;
    npc_timetable_frame[3][q10] = FIG + 30;
    npc_timetable_var_a[3][q10] = 4; // the morning's first stage
    EXPECT_EQ(route_timetable_row(WALKER), 3);
    EXPECT_EQ(route_timetable_mismatches(ROUTINE, WALKER), 0);

    sh_clock(9, 50);
    attr_set(WALKER, ATTR_VAR_A, 3);
    clock_advance(10); // the clock jumps to 10:00 and the timetable places the walker
    EXPECT_EQ(route_timetable_now(WALKER).var_a, 4);
    EXPECT_EQ(x(), PX + 300);
    EXPECT_EQ(stage(), 4);
    run_at(10, 0); // the routine goes on from there
    EXPECT_EQ(obj_get_frame(WALKER), FIG + 2);
    EXPECT_EQ(stage(), 5);

    // An entry with a stage that its time's window does not list leaves the resident standing.
    npc_timetable_var_a[3][timetable_quarter(12, 0)] = 9;
    npc_timetable_var_a[3][timetable_quarter(6, 30)] = 4;
    EXPECT_EQ(route_timetable_mismatches(ROUTINE, WALKER), 1);
    EXPECT_EQ(route_timetable_row(WALKER + 1), -1);
    EXPECT_EQ(route_timetable_mismatches(ROUTINE, WALKER + 1), 0);
}

TEST_F(RouteRun, HoldActsOnEveryRunAndARangedStepServesEveryStageOfItsRange) {
    static constexpr RouteStep STEPS[] = {
        hold(3, obj_stage(501_obj, 8)),
        idle(10, FrameId(FIG), FrameId(FIG + 4)).through(20),
    };
    static constexpr RouteWindow W[] = {window(8, 0, 8, 59, STEPS)};
    static constexpr Route R{.interval = 5, .windows = W};
    attr_set(WALKER, ATTR_EVENT, sh_script([] { route_run(R); }));
    for (s32 i = 0; i < 2; ++i) {
        attr_set(501, ATTR_VAR_A, 0);
        run_at(8, 0, 3);
        EXPECT_EQ(attr_get(501, ATTR_VAR_A), 8);
        EXPECT_EQ(stage(), 3);
        EXPECT_EQ(x(), PX);
    }
    for (const s32 s : {10, 15, 20}) {
        obj_set_frame(WALKER, FIG);
        run_at(8, 0, s);
        EXPECT_EQ(obj_get_frame(WALKER), FIG + 2) << s;
        EXPECT_EQ(stage(), s);
    }
    obj_set_frame(WALKER, FIG);
    run_at(8, 0, 21);
    EXPECT_EQ(obj_get_frame(WALKER), FIG);
}

TEST_F(RouteRun, StallsCountOnlyStagesNoLaterWindowPicksUp) {
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        timetable_npcs[i] = -1;
        for (s32 q = 0; q < TIMETABLE_QUARTERS; ++q) npc_timetable_var_a[i][q] = TIMETABLE_EMPTY;
    }
    timetable_npcs[0] = WALKER;
    npc_timetable_var_a[0][timetable_quarter(10, 45)] = 6; // ready for 11:00: a mismatch only
    EXPECT_EQ(route_timetable_mismatches(ROUTINE, WALKER), 1);
    EXPECT_EQ(route_timetable_stalls(ROUTINE, WALKER), 0);
    npc_timetable_var_a[0][timetable_quarter(11, 30)] = 4; // 4 is listed only before 11:00
    EXPECT_EQ(route_timetable_stalls(ROUTINE, WALKER), 1);
    npc_timetable_var_a[0][timetable_quarter(17, 0)] = 1; // the always-window serves it
    EXPECT_EQ(route_timetable_stalls(ROUTINE, WALKER), 1);
    EXPECT_EQ(route_timetable_stalls(ROUTINE, WALKER + 1), 0);
}

} // namespace
