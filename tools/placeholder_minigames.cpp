#include "tools/placeholder_minigames.h"

#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

void minigame_put_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
}

void minigame_put_shared_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    const u32 key = u32(ARC_IMAGE_BASE + id);
    if (builder.entries().count(key) == 0 && builder.aliases().count(key) == 0)
        minigame_put_box(builder, id, w, h);
}

void image_put_placeholder_minigames(ArcBuilder& builder) {
    image_put_placeholder_hands(builder);
    image_put_placeholder_dice(builder);
    image_put_placeholder_light_ring(builder);
    image_put_placeholder_popup(builder);
    image_put_placeholder_tile_swap(builder);
    image_put_placeholder_light_puzzle(builder);
    image_put_placeholder_aim(builder);
    image_put_placeholder_aim_night(builder);
    image_put_placeholder_tracks(builder);
    image_put_placeholder_falling_catch(builder);
    image_put_placeholder_bait_catch(builder);
}
