// The rows of the map-episode scenes (objects and settings of each episode).
#pragma once
#include "data/world_content.h"

// Calls `visit` for every table of scene rows.
void scene_rows_visit(WorldTableVisitor visit, void* context);
