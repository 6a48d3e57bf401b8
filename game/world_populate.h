// The world population of a new game: creates the world's initial objects (823 of them, on 161
// maps) by running the population rows of each region through the one row executor. Needs
// object_table all zero (a new game starts from there: the creators clear nothing) and no map
// loaded, so that writing the frames loads no image. A loaded game never runs it.
#pragma once

void world_populate();
