// PENDING: the open world's rows (being written).
#include "data/open_world_rows.h"

void open_world_rows_visit(WorldTableVisitor, void*) {}
