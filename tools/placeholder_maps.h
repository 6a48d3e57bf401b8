// Placeholder maps for the placeholder archive: every map number 0..255 (the range a portal's
// destination byte can name; the game's maps lie in it) is one shared 16,384 x 16,384 grid of
// four shared zones - plain grounds of different colours with a faint grid every 64 pixels so
// that movement shows, walkable on every plane everywhere, each with its own footstep sound
// (sounds 101..104). Grid and zones are stored once and aliased.
#pragma once
#include "engine/types.h"

#include <vector>

class ArcBuilder;

constexpr s32 PLACEHOLDER_MAP_COUNT = 256;
constexpr s32 PLACEHOLDER_ZONE_FIRST = 1; // zone ids 1..4
constexpr s32 PLACEHOLDER_ZONE_COUNT = 4;
constexpr s32 PLACEHOLDER_MAP_SIDE = 16384;

// The RGB 256 x 256 ground picture of placeholder zone k (0..3).
std::vector<u8> placeholder_zone_picture(s32 k);
// Puts the grid (as map 0, aliased by maps 1..255) and the four zones into the builder.
void map_put_placeholder_maps(ArcBuilder& builder);
