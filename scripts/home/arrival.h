// The new game's arrival on the home map. Before the player may walk, a scene plays on its own:
// the protagonist (object 0, slot 132 until the scene hands it back) walks in from the map's left
// edge and plays its arrival animation while the neighbours appear one by one; a first visitor
// (object 237, slot 124) and a second one (238, slot 125) come up, and when the second arrives the
// first plays the staged scene (three figures, a flying object and effect sprites in front of the
// gathered neighbours, who then comment). At its end the player object runs the player's own
// script again and is clickable, the neighbours are clickable and start their days, and the home
// music plays. A bystander (239, slot 131) comes and goes. All four scripts act on TRIG_TIMER only.
//
// While their own stage is 0 the neighbours 217, 218 and 223 and the bystander 239 walk toward
// their marks by the first visitor's stage (`arrival_watch`); the scene gives them stage 1.
#pragma once
#include "engine/types.h"
#include "scripts/cues.h"
#include "scripts/kit.h"
#include "scripts/routes.h"
#include "scripts/script_ids.h"

#include <array>
#include <iterator>

#include <span>

// The figures of the scene.
constexpr s32 ARRIVAL_VISITOR = 237;
constexpr s32 ARRIVAL_SECOND_VISITOR = 238;
constexpr s32 ARRIVAL_BYSTANDER = 239;

// The player's arrival animation: from this frame in steps of 2 on every run until the last.
constexpr s32 ARRIVAL_FIRST_FRAME = 33726;
constexpr s32 ARRIVAL_LAST_FRAME = 33810;
constexpr s32 ARRIVAL_STEP = 2;
// The hooks of the animation: on the run whose new frame is a hook's frame, a neighbour is
// switched on or the protagonist says a line.
std::span<const CueHook> arrival_hooks();

// A neighbour's walk while its own stage is 0, by the first visitor's stage: 0, one step toward
// (wait_x, wait_y) a run; 1, toward (mark_x, mark_y) and on arrival `mark_frame`; 2 and above,
// `mark_frame` where it stands.
struct Onlooker {
    s32 obj = -1;
    s32 speed = 9;
    s32 wait_x = 0, wait_y = 0;
    s32 mark_x = 0, mark_y = 0;
    s32 mark_frame = 0;
};
inline constexpr Onlooker ARRIVAL_ONLOOKERS[] = {
    {.obj = 217, .wait_x = 425, .wait_y = 1725, .mark_x = 374, .mark_y = 1830, .mark_frame = -5402},
    {.obj = 218, .wait_x = 428, .wait_y = 1750, .mark_x = 339, .mark_y = 1859, .mark_frame = -5452},
    {.obj = 223, .wait_x = 282, .wait_y = 1664, .mark_x = 88, .mark_y = 1682, .mark_frame = 5172},
    {.obj = ARRIVAL_BYSTANDER,
     .speed = 10,
     .wait_x = 0,
     .wait_y = 1850,
     .mark_x = 20,
     .mark_y = 1739,
     .mark_frame = 5522},
};
constexpr s32 ARRIVAL_ONLOOKER_COUNT = s32(std::size(ARRIVAL_ONLOOKERS));

// An onlooker's stage 0 as route steps, each kept to its stage of the first visitor.
constexpr std::array<RouteStep, 3> arrival_watch_steps(const Onlooker& o) {
    using namespace route;
    constexpr ObjId VISITOR{ARRIVAL_VISITOR};
    const FrameId mark{o.mark_frame};
    return {
        stay(0, o.wait_x, o.wait_y).speed(o.speed).when_stage(VISITOR, 0, 0),
        stay(0, o.mark_x, o.mark_y, at_frame(mark)).speed(o.speed).when_stage(VISITOR, 1, 1),
        hold(0, at_frame(mark)).when_stage(VISITOR, 2, ROUTE_STAGE_MAX),
    };
}
inline constexpr auto ARRIVAL_WATCH_STEPS = [] {
    std::array<std::array<RouteStep, 3>, ARRIVAL_ONLOOKER_COUNT> all{};
    for (s32 i = 0; i < ARRIVAL_ONLOOKER_COUNT; ++i)
        all[size_t(i)] = arrival_watch_steps(ARRIVAL_ONLOOKERS[i]);
    return all;
}();
// The always-window that walks onlooker obj at its stage 0 (a window without steps for an object
// without a row). An onlooker's route lists it before its own windows.
constexpr RouteWindow arrival_watch(s32 obj) {
    for (s32 i = 0; i < ARRIVAL_ONLOOKER_COUNT; ++i)
        if (ARRIVAL_ONLOOKERS[i].obj == obj) return route::always(ARRIVAL_WATCH_STEPS[size_t(i)]);
    return route::always({});
}
// One timer run of that window on obj. An object without a row does nothing. Does not re-arm: the
// onlooker's own route does.
void arrival_onlooker_on(s32 obj);

// The staged scene that the first visitor plays at its stage 2, as cues.
std::span<const Cue> arrival_staged_scene();

void object_event_0124();
void object_event_0125();
void object_event_0131();
void object_event_0132();

// The four slots (124, 125, 131, 132) and their region, installed under HOME_ARRIVAL_OWNER.
constexpr const char* HOME_ARRIVAL_OWNER = "home arrival";
std::span<const ScriptSlot> home_arrival_slots();
ScriptRegion home_arrival_region();
