// PENDING: placeholder pictures (being written).
#include "tools/placeholder_minigames.h"

void image_put_placeholder_tile_swap(ArcBuilder&) {}
