#include "data/world_content.h"

#include "data/open_world_rows.h"
#include "data/scene_rows.h"
#include "data/world_population.h"

void world_content_visit(WorldTableVisitor visit, void* context) {
    visit("population: home", world_population_home, world_population_home_count, context);
    visit("population: towns", world_population_towns, world_population_towns_count, context);
    scene_rows_visit(visit, context);
    open_world_rows_visit(visit, context);
}
