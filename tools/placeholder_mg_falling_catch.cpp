// Placeholder pictures of the falling-object catch game, each a framed box showing its id at the
// size the game draws it.
#include "engine/gisk.h"
#include "minigames/falling_catch.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_falling_catch(ArcBuilder& builder) {
    auto put = [&](s32 id, s32 w, s32 h) {
        builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
    };
    put(6360, 640, 480);      // backdrop
    put(FALLING_BAD, 24, 24); // the objects, also lying about the ledge
    put(FALLING_GOOD, 24, 24);
    // The thrower: walking 6361..6366, throwing a bad object 6368..6369, a good one 6353..6354.
    for (s32 id = 6361; id <= 6366; ++id) put(id, 40, 64);
    for (const s32 id : {6368, 6369, 6353, 6354}) put(id, 40, 64);
    // The catcher, moving right or at rest 6370..6378, moving left 6380..6388; as wide as its
    // reach plus an object.
    for (s32 k = 0; k < FALLING_CATCHER_FRAMES; ++k) {
        put(FALLING_CATCHER_IMAGE + k, 90, 70);
        put(FALLING_CATCHER_IMAGE + FALLING_LEFT_OFFSET + k, 90, 70);
    }
    put(25011, 1, 8); // the time bar's empty and full columns
    put(25012, 1, 8);
    // The time bar's frame, shared with other games.
    if (builder.entries().count(u32(ARC_IMAGE_BASE + 25009)) == 0) put(25009, 122, 26);
}
