// Placeholder pictures of the night target game, each a framed box showing its id, sized as the
// game draws them.
#include "tools/placeholder_minigames.h"

#include <initializer_list>

void image_put_placeholder_aim_night(ArcBuilder& builder) {
    // The figure and its strike and hit frames are drawn at the figure's point and carry the
    // spots, which lie up to (372, 266) + 26 from it.
    for (s32 id : {7250, 7251, 7252, 7254, 7255, 7256}) minigame_put_box(builder, id, 400, 300);
    minigame_put_box(builder, 7259, 14, 13); // a spot at 0, drawn at its centre
    // Pictures the aiming games and the time bars share.
    minigame_put_shared_box(builder, 1427, 640, 480); // the night backdrop
    minigame_put_shared_box(builder, 25092, 26, 26);  // an open spot
    for (s32 id = 25087; id <= 25091; ++id)
        minigame_put_shared_box(builder, id, 35, 32); // a rising shot
    minigame_put_shared_box(builder, 25079, 32, 32);  // impact
    minigame_put_shared_box(builder, 25013, 1, 3);    // a column of a spot's bar
    minigame_put_shared_box(builder, 25010, 1, 12);   // a column of the player's bar
    minigame_put_shared_box(builder, 25011, 1, 12);   // a column of the bar losing points
}
