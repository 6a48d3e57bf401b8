// Placeholder pictures of the night target game, each a framed box showing its id, sized as the
// game draws them.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

namespace {

void put_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
}

// Pictures the aiming games and the time bars share: put only when no other game put them.
void put_shared(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    if (builder.entries().count(u32(ARC_IMAGE_BASE + id)) == 0) put_box(builder, id, w, h);
}

} // namespace

void image_put_placeholder_aim_night(ArcBuilder& builder) {
    // The figure and its strike and hit frames are drawn at the figure's point and carry the
    // spots, which lie up to (372, 266) + 26 from it.
    put_box(builder, 7250, 400, 300);
    for (s32 id : {7251, 7252, 7254, 7255, 7256}) put_box(builder, id, 400, 300);
    put_box(builder, 7259, 14, 13); // a spot at 0, drawn at its centre
    put_shared(builder, 1427, 640, 480);
    put_shared(builder, 25092, 26, 26);                                      // an open spot
    for (s32 id = 25087; id <= 25091; ++id) put_shared(builder, id, 35, 32); // rising shot
    put_shared(builder, 25079, 32, 32);                                      // impact
    put_shared(builder, 25013, 1, 3);  // a column of a spot's bar
    put_shared(builder, 25010, 1, 12); // a column of the player's bar
    put_shared(builder, 25011, 1, 12); // a column of the bar while it loses points
}
