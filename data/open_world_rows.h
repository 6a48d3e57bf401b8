// The rows of the open world: its door network, the residents shared by the three routes and
// each route's own objects.
#pragma once
#include "data/world_content.h"

// Calls `visit` for every table of open-world rows.
void open_world_rows_visit(WorldTableVisitor visit, void* context);
