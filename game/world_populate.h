// The world population of a new game: runs the population rows of every region in ascending
// object order. Needs object_table all zero (a new game starts from there) and no map loaded.
#pragma once

void world_populate();
