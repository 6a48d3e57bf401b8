// The rows of the open world: its door network, the residents shared by the three routes and
// each route's own objects.
#pragma once
#include "data/world_content.h"

// Calls `visit` for every table of open-world rows.
void open_world_rows_visit(WorldTableVisitor visit, void* context);

struct WorldRowSpan {
    const WorldRow* rows;
    size_t count;
};

// Clearing the calendar phase away: the 656 hidden objects, the bed area's script, the wall of
// object 1062 and the two objects shown beside it.
extern const WorldRowSpan open_world_calendar_rows;

// The 96 doors in 48 pairs (door n on one map, door n + 1 on the other, leading back), door 694
// hidden after its creation.
extern const WorldRowSpan open_world_door_rows;
constexpr s32 OPEN_WORLD_DOOR_FIRST = 600;
constexpr s32 OPEN_WORLD_DOOR_LAST = 697;

// One of two persons by a story flag: `if_one` when the flag is 1, else `otherwise`.
struct OpenWorldPick {
    s32 story_flag;
    WorldRow if_one;
    WorldRow otherwise;
};
constexpr s32 OPEN_WORLD_PICKS = 4;
// The residents, props and timers of all three routes, run as part 0, pick 0, part 1, pick 1,
// ..., pick 3, part 4.
extern const WorldRowSpan open_world_shared_parts[OPEN_WORLD_PICKS + 1];
extern const OpenWorldPick open_world_picks[OPEN_WORLD_PICKS];

// Changes to objects that exist before the open world: hidden and shown objects, the bed area's
// script and the residents' talk stages.
extern const WorldRowSpan open_world_change_rows;

// A route's start: its companion (party entry 0), the player's place and signed frame, the area,
// the doors and objects closed before the player is made, and the route's own objects with
// their settings (and, for route 2, the final hiding of five shared persons).
struct OpenWorldRoute {
    s32 companion;
    s32 map, x, y, frame;
    s32 area;
    WorldRowSpan closes;
    WorldRowSpan objects;
};
constexpr s32 OPEN_WORLD_ROUTES = 3;
extern const OpenWorldRoute open_world_routes[OPEN_WORLD_ROUTES];

// Route 1 keeps door 603 open only when this story flag is 1.
constexpr s32 OPEN_WORLD_DOOR_603 = 603;
constexpr s32 OPEN_WORLD_DOOR_603_FLAG = 93;
