#include "game/world_populate.h"

#include "data/world_population.h"
#include "game/world_rows.h"

void world_populate() {
    // Each object is created by exactly one row, so the regions' order does not matter.
    world_rows_run(world_population_home, world_population_home_count);
    world_rows_run(world_population_towns, world_population_towns_count);
}
