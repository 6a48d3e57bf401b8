// Placeholder pictures of the dice games: the table backdrop, the dice tray, the six faces and the
// six tumbling pictures, each a framed box showing its id at the size the game draws it.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

namespace {

constexpr s32 DIE_SIZE = 64;

void put_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
}

} // namespace

void image_put_placeholder_dice(ArcBuilder& builder) {
    put_box(builder, 25030, 640, 480);
    // The tray under the three dice at (182, 174), (265, 174) and (348, 174).
    put_box(builder, 25031, 348 + DIE_SIZE - 182 + 8, 174 + DIE_SIZE - 154 + 8);
    // Faces 25014..25019, tumbling pictures 25020..25025.
    for (s32 id = 25014; id <= 25025; ++id) put_box(builder, id, DIE_SIZE, DIE_SIZE);
}
