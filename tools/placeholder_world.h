// Placeholder pictures for the world's objects: every image that a row of world content names
// (the population, the map-episode scenes, the open world) and the archive does not hold yet gets
// a framed box showing its id. An object whose image is missing would load the engine's empty
// image: zero size, so it is never drawn, never clicked and never stepped on - a door could not be
// entered and a resident not be talked to. With these boxes every such object works on the
// placeholder archive.
#pragma once
#include "engine/types.h"

#include <vector>

class ArcBuilder;

// Step areas and doors: a small opaque box around the object's point, which the player's foot
// point enters by walking onto that point. Small enough that arriving through a door (next to the
// partner door) does not stand on the partner's area.
constexpr s32 PLACEHOLDER_AREA_W = 24, PLACEHOLDER_AREA_H = 16;
// Everything else (residents, props, click areas): a standing box with its foot point at the
// middle of its bottom row.
constexpr s32 PLACEHOLDER_FIGURE_W = 40, PLACEHOLDER_FIGURE_H = 72;

// The placeholder of image `image_id`: an area box (hotspot in its middle) or a figure box.
std::vector<u8> placeholder_world_sprite(s32 image_id, bool area);
// The image ids (|frame|, never 0) that world content rows show, with 1 for an id that some row
// uses as a step area's or a door's shape and 0 for the others.
std::vector<std::pair<s32, bool>> placeholder_world_images();
// Puts a placeholder for every such image that the builder does not hold yet (an entry or an
// alias), so it goes after the archive's other content.
void image_put_placeholder_world(ArcBuilder& builder);
// Our own content: the player's figure in both sprite sets, every walking and standing frame a
// figure box showing its id (so a step shows as a change of number), each with its shadow, a
// flat dark band, in the next image.
void image_put_placeholder_player(ArcBuilder& builder);
// Puts a figure box for every frame that the home region's residents, teachers and walkers show
// beyond their first one and that the builder does not hold yet.
void image_put_placeholder_residents(ArcBuilder& builder);
