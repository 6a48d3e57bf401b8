#include "scripts/towns/town_a_director.h"

// Written with the director's scripts.
void town_a_presentation() {}
