// PENDING: the towns' population rows (being written).
#include "data/world_population.h"

const WorldRow world_population_towns[] = {timer(2028, 160, 1047, 5)};
const size_t world_population_towns_count = sizeof(world_population_towns) / sizeof(WorldRow);
