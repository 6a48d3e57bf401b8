#include "tools/placeholder_minigames.h"

void image_put_placeholder_minigames(ArcBuilder& builder) {
    image_put_placeholder_hands(builder);
    image_put_placeholder_dice(builder);
    image_put_placeholder_light_ring(builder);
    image_put_placeholder_popup(builder);
    image_put_placeholder_tile_swap(builder);
    image_put_placeholder_light_puzzle(builder);
    image_put_placeholder_bait_catch(builder);
}
