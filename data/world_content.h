// Every table of world content rows (population, map-episode scenes, open world), for the tools
// and checks that look at all of them at once (the placeholder archive's images for every frame
// they name, the slot and range invariants).
#pragma once
#include "data/world_rows.h"

using WorldTableVisitor = void (*)(const char* name, const WorldRow* rows, size_t count,
                                   void* context);

// Calls `visit` once for every table of world rows, in a fixed order.
void world_content_visit(WorldTableVisitor visit, void* context);
