// Placeholder pictures of the hand game, sized as the game draws them.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_hands(ArcBuilder& builder) {
    auto put = [&](s32 id, s32 w, s32 h) {
        builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
    };
    put(25000, 640, 480);                                      // backdrop
    for (s32 id = 25001; id <= 25006; ++id) put(id, 100, 100); // opponent's and player's hands
    put(25007, 36, 36);                                        // won-hand mark
    put(25009, 122, 26);                                       // time bar frame, 101 columns wide
    put(25010, 1, 12);                                         // one bar column
    put(1000, 160, 180);                                       // the player's portrait
    put(1179, 130, 160);                                       // the opponent's portrait
}
