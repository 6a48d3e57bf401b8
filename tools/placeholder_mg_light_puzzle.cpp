// Placeholder pictures of the light puzzle: the full-screen backdrop, the board and the five lit
// lamps, each a framed box showing its id at the size the puzzle draws it.
#include "minigames/light_puzzle.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_light_puzzle(ArcBuilder& builder) {
    builder.put(u32(ARC_IMAGE_BASE + LAMP_BACKDROP_IMAGE),
                placeholder_box_sprite(LAMP_BACKDROP_IMAGE, 640, 480));
    // The board leaves the strip of texts below it on the backdrop.
    builder.put(u32(ARC_IMAGE_BASE + LAMP_BOARD_IMAGE),
                placeholder_box_sprite(LAMP_BOARD_IMAGE, 640, 320));
    for (const LampSpec& lamp : lamp_specs)
        builder.put(u32(ARC_IMAGE_BASE + lamp.image),
                    placeholder_box_sprite(lamp.image, LAMP_BOX_W + 1, LAMP_BOX_H + 1));
}
