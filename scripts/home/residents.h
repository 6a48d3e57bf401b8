// Residents, teachers and walkers of the home map and its interiors that are neither shopkeepers
// nor services: people who talk in stages, the cook and two residents who teach once, the pacing
// walker of map 17, the daily route of object 6 across maps 10 and 40, two residents whose idle
// loops have two segments, and a thing to look at on map 25.
//
// Each talk is a table of cells (scripts/cells.h) run by the kit; the walkers are route tables
// (scripts/routes.h). The tables are exposed so that tests can read the way-points.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"
#include "scripts/routes.h"

#include <span>

// The meal pose of the dining room: while the player holds it, the two residents of map 22 talk
// to the seated player without turning it, and the cook gives its lesson.
constexpr s32 RESIDENTS_MEAL_POSE = 76;

// The daily route of object 6 and the pacing walk of object 7 (leg in ATTR_VAR_B).
extern const Route residents_daily_route;
extern const Route residents_pacing_walk;

// The two-segment idle loop of object 116: frames advance by `step`; a new frame equal to a
// jump's `from` becomes its `to`; when the shown frame is `rest_frame` the timer rests.
struct SegmentJump {
    s32 from = 0, to = 0;
};
struct SegmentLoop {
    s32 rearm = 8;
    s32 step = 2;
    SegmentJump jumps[2]{};
    s32 rest_frame = 0;
    s32 rest = 0;
};
extern const SegmentLoop residents_two_segment_loop;
// One timer run of a segment loop on obj; returns the frame shown.
s32 segment_loop_on(s32 obj, const SegmentLoop& loop);

void object_event_0020();
void object_event_0021();
void object_event_0027();
void object_event_0028();
void object_event_0029();
void object_event_0033();
void object_event_0036();
void object_event_0042();
void object_event_0043();
void object_event_0050();
void object_event_0058();

constexpr const char* HOME_RESIDENTS_OWNER = "home residents";
std::span<const ScriptSlot> home_residents_slots();
ScriptRegion home_residents_region();
