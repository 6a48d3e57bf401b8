// PENDING: the scenes' rows (being written).
#include "data/scene_rows.h"

void scene_rows_visit(WorldTableVisitor, void*) {}
