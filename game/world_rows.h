// The one executor of world content rows (data/world_rows.h): creators with their settings and
// changes to existing objects, in row order.
#pragma once
#include "data/world_rows.h"

// Runs rows[0..count) in order. A row whose object or slot lies outside the tables (objects
// 0..4095, slots 0..1839, a range whose last object is below its first) is reported through the
// fatal reporter: content rows are constants, so such a row is a fault of the data.
void world_rows_run(const WorldRow* rows, size_t count);

template <size_t N> void world_rows_run(const WorldRow (&rows)[N]) {
    world_rows_run(rows, N);
}
