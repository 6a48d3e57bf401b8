// Placeholder maps for the placeholder archive: every map number 0..255 (the range a portal's
// destination byte can name; the game's maps lie in it) is a 16,384 x 16,384 grid of four shared
// zones - plain grounds of different colours with a faint grid every 64 pixels so that movement
// shows, walkable on every plane everywhere, each with its own footstep sound (sounds 101..104).
//
// A map on which the world content rows create doors, portals or step areas gets its own grid:
// each such area is marked on the ground where its box lies (filled while the area is switched
// on at its creation, outlined when it is created switched off), and every other cell of that
// map shows an arrow toward the nearest mark, so that a player can find where to walk. Maps
// without marks share one plain grid; the marked cells' zones are the map's own, the arrow zones
// are shared.
#pragma once
#include "engine/types.h"

#include <vector>

class ArcBuilder;

constexpr s32 PLACEHOLDER_MAP_COUNT = 256;
constexpr s32 PLACEHOLDER_ZONE_FIRST = 1; // zone ids 1..4: the plain grounds
constexpr s32 PLACEHOLDER_ZONE_COUNT = 4;
constexpr s32 PLACEHOLDER_MAP_SIDE = 16384;

// The colours (RGB) of the marks: doors and portals, step areas.
constexpr u8 PLACEHOLDER_DOOR_RGB[3] = {40, 200, 255};
constexpr u8 PLACEHOLDER_STEP_RGB[3] = {255, 200, 0};

// A door, portal or step area as a world content row creates it.
struct PlaceholderMapMark {
    s32 map;
    s32 x, y;   // the object's point
    s32 x0, y0; // its area's box on the map, left and top
    s32 w, h;
    bool door;   // a door or portal; else a step area
    bool hidden; // created switched off

    bool operator==(const PlaceholderMapMark&) const = default;
};

// The marks of every door, portal and step area that a world content row creates on maps
// 0..255, in row order without repeats. The box is that of the image the builder holds for the
// row's frame (mirrored as a negative frame mirrors it); a frame the builder has no sprite for
// takes the placeholder area box around the point.
std::vector<PlaceholderMapMark> placeholder_map_marks(const ArcBuilder& builder);

// The RGB 256 x 256 ground picture of placeholder zone k (0..3).
std::vector<u8> placeholder_zone_picture(s32 k);
// Puts the grids of maps 0..255 (one plain grid aliased by every map without marks) and their
// zones into the builder; marks come from `placeholder_map_marks`(builder), so the world's
// images go in first.
void map_put_placeholder_maps(ArcBuilder& builder);
