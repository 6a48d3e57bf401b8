// The world's initial population: the rows that `world_populate` runs for a new game, in two
// tables by region (our own content for every value the game's rules leave open: points, frames
// and countdowns; the object numbers, creators, maps, slots, cursors, click flags, hidden state,
// pairs and settings keep the world's stated counts and rules).
#pragma once
#include "data/world_rows.h"

// Objects 1-276 and 996-1002: the home map 10 with its interiors.
extern const WorldRow world_population_home[];
extern const size_t world_population_home_count;

// Objects 277-526 and 1003-3748: town A (map 102) with its interiors and outskirts, the first
// episode maps, the city (map 200) with its interiors, the caves, map 231 and the portals of the
// episode maps.
extern const WorldRow world_population_towns[];
extern const size_t world_population_towns_count;
