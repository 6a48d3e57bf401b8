// Placeholder pictures of the light-ring betting game, sized as the game draws them.
#include "engine/gisk.h"
#include "minigames/light_ring.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_light_ring(ArcBuilder& builder) {
    auto put = [&](s32 id, s32 w, s32 h) {
        builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
    };
    put(25298, 640, 480); // backdrop
    put(25299, 60, 77);   // lamp frame
    put(25292, 66, 41);   // start button, lit
    put(25293, 66, 41);   // start button, pressed
    put(25294, 60, 77);   // glowing lamp frame, two frames
    put(25295, 60, 77);
    for (s32 p = 0; p < RING_PRIZE_LIMIT; ++p) {
        put(RING_PANEL_IMAGE + p, 34, 56);
        put(RING_LAMP_IMAGE + p, 50, 67);
    }
}
