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

// ---- Arrival actions, conditions on another object's stage, routes that leave the re-arm ----

constexpr s32 OTHER = 501;
// clang-format off
constexpr RouteStep PLACE_OTHER[] = {go(0, PX, PY, place(501_obj, 3_map, 300, 400, -FrameId(FIG + 8)))};
constexpr RouteStep PLACE_SELF[] = {go(0, PX, PY, place_self(2_map, 120, 130, FrameId(FIG + 6)))};
// A partner's last way-point: its own frame, the other object's stage, the other placed.
constexpr RouteStep PARTNER[] = {
    go(13, PX, PY, at_frame(FrameId(FIG + 12)), obj_stage(501_obj, 2),
       place(501_obj, MapId(SH_MAP), 298, 236, FrameId(FIG + 14))),
};
// A walker that starts another by its second variable and pauses on arrival.
constexpr RouteStep STARTER[] = {go(15, PX, PY, obj_var_b(501_obj, 1), rearm_to(25), then_stage(2))};
constexpr RouteStep OUT_OF_RANGE[] = {
    go(0, PX, PY, place(4096_obj, 3_map, 1, 1, FrameId(FIG)), obj_var_b(4096_obj, 1), obj_stage(4096_obj, 1)),
};
// clang-format on
constexpr RouteWindow PLACE_OTHER_W[] = {always(PLACE_OTHER)};
constexpr RouteWindow PLACE_SELF_W[] = {always(PLACE_SELF)};
constexpr RouteWindow PARTNER_W[] = {always(PARTNER)};
constexpr RouteWindow STARTER_W[] = {always(STARTER)};
constexpr RouteWindow OUT_OF_RANGE_W[] = {always(OUT_OF_RANGE)};
constexpr Route R_PLACE_OTHER{.interval = 6, .windows = PLACE_OTHER_W};
constexpr Route R_PLACE_SELF{.interval = 6, .windows = PLACE_SELF_W};
constexpr Route R_PARTNER{.interval = 6, .speed = 5, .windows = PARTNER_W};
constexpr Route R_STARTER{.interval = 1, .speed = 7, .windows = STARTER_W};
constexpr Route R_OUT_OF_RANGE{.interval = 6, .windows = OUT_OF_RANGE_W};
constexpr Route R_NO_REARM{.interval = ROUTE_NO_REARM, .windows = STARTER_W};

TEST_F(RouteRun, ArrivalActionsPlaceRearmAndSetAnotherObjectsVariables) {
    struct Where {
        s32 map, x, y, frame, active;
    };
    struct Case {
        const char* name;
        const Route* route;
        s32 stage;
        s32 from_x; // the walker's x: PX arrives on the first run, PX - 100 does not
        Where self;
        s32 stage_after, timer_after;
        Where other;
        s32 other_a, other_b;
    };
    constexpr s32 WALKING = 1 << 30; // on its way: a walking frame, x between its start and PX
    const Where home{SH_MAP, PX, PY, FIG, 1};
    const Where untouched{SH_MAP, 10, 10, FIG + 1, 0};
    const Where away{SH_MAP, PX - 100, PY, WALKING, 1};
    // clang-format off
    const Case cases[] = {
        {"another object placed on a map, left hidden", &R_PLACE_OTHER, 0, PX, home, 1, 6,
         {3, 300, 400, -(FIG + 8), 0}, 0, 0},
        {"self placed on another map, left shown", &R_PLACE_SELF, 0, PX, {2, 120, 130, FIG + 6, 1}, 1, 6,
         untouched, 0, 0},
        {"nothing placed before arrival", &R_PLACE_OTHER, 0, PX - 100, away, 0, 6, untouched, 0, 0},
        {"the partner's last point: frame, stage and place of the other", &R_PARTNER, 13, PX,
         {SH_MAP, PX, PY, FIG + 12, 1}, 14, 6, {SH_MAP, 298, 236, FIG + 14, 0}, 2, 0},
        {"the starter: the other's second variable and a pause", &R_STARTER, 15, PX, home, 2, 25,
         untouched, 0, 1},
        {"the starter on its way: the route's re-arm only", &R_STARTER, 15, PX - 100,
         away, 15, 1, untouched, 0, 0},
        {"objects out of range are left alone", &R_OUT_OF_RANGE, 0, PX, home, 1, 6, untouched, 0, 0},
        {"a stage without a step of a route that leaves the re-arm", &R_NO_REARM, 3, PX, home, 3, 0,
         untouched, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Route* r = c.route;
        sh_object(WALKER, {.x = c.from_x,
                           .y = PY,
                           .frame = FIG,
                           .slot = sh_script([r] { route_run(*r); }),
                           .var_a = c.stage,
                           .timer = 1});
        sh_object(OTHER, {.x = 10, .y = 10, .frame = FIG + 1, .active = false});
        EXPECT_EQ(sh_frames(1), 1);
        auto where = [](s32 obj) {
            return Where{attr_get(obj, ATTR_MAP), attr_get(obj, ATTR_X), attr_get(obj, ATTR_Y),
                         obj_get_frame(obj), attr_get(obj, ATTR_ACTIVE)};
        };
        auto same = [&](const Where& got, const Where& want) {
            EXPECT_EQ(got.map, want.map);
            EXPECT_EQ(got.y, want.y);
            if (want.frame == WALKING) {
                EXPECT_GT(got.x, want.x);
                EXPECT_LT(got.x, PX);
            } else {
                EXPECT_EQ(got.x, want.x);
                EXPECT_EQ(got.frame, want.frame);
            }
            EXPECT_EQ(got.active, want.active);
        };
        same(where(WALKER), c.self);
        same(where(OTHER), c.other);
        EXPECT_EQ(stage(), c.stage_after);
        EXPECT_EQ(attr_get(WALKER, ATTR_TIMER), c.timer_after);
        EXPECT_EQ(attr_get(OTHER, ATTR_VAR_A), c.other_a);
        EXPECT_EQ(attr_get(OTHER, ATTR_VAR_B), c.other_b);
    }
}

TEST_F(RouteRun, AStepHeldToAnotherObjectsStageActsOnlyWhileItHolds) {
    // Stage 0 by object 501's stage: a frame for 0, another for 1..3, none above; the step held
    // to an object out of range never acts.
    static constexpr RouteStep STEPS[] = {
        face(0, FrameId(FIG + 2)).when_stage(4096_obj, 0, ROUTE_STAGE_MAX),
        face(0, FrameId(FIG + 4)).when_stage(501_obj, 0, 0),
        face(0, FrameId(FIG + 6), then_stage(0)).when_stage(501_obj, 1, 3),
    };
    static constexpr RouteWindow W[] = {always(STEPS)};
    static constexpr Route R{.interval = 5, .windows = W};
    attr_set(WALKER, ATTR_EVENT, sh_script([] { route_run(R); }));
    struct Case {
        s32 other_stage, frame, stage;
    };
    const Case cases[] = {{0, FIG + 4, 1}, {1, FIG + 6, 0}, {3, FIG + 6, 0}, {4, FIG, 0}};
    for (const Case& c : cases) {
        attr_set(OTHER, ATTR_VAR_A, c.other_stage);
        obj_set_frame(WALKER, FIG);
        run_at(8, 0, 0);
        EXPECT_EQ(obj_get_frame(WALKER), c.frame) << c.other_stage;
        EXPECT_EQ(stage(), c.stage) << c.other_stage;
    }
}

} // namespace
