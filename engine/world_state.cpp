#include "engine/world_state.h"

WorldState world_state;
