// PENDING: the home region's population rows (being written).
#include "data/world_population.h"

const WorldRow world_population_home[] = {timer(5, 10, 5, 5, WS_HIDE)};
const size_t world_population_home_count = sizeof(world_population_home) / sizeof(WorldRow);
