// Placeholder pictures of the falling-object catch game, each a framed box showing its id at the
// size the game draws it.
#include "engine/gisk.h"
#include "minigames/falling_catch.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_falling_catch(ArcBuilder& builder) {
    minigame_put_box(builder, 6360, 640, 480);      // backdrop
    minigame_put_box(builder, FALLING_BAD, 24, 24); // the objects, also lying about the ledge
    minigame_put_box(builder, FALLING_GOOD, 24, 24);
    // The thrower: walking 6361..6366, throwing a bad object 6368..6369, a good one 6353..6354.
    for (s32 id = 6361; id <= 6366; ++id) minigame_put_box(builder, id, 40, 64);
    for (const s32 id : {6368, 6369, 6353, 6354}) minigame_put_box(builder, id, 40, 64);
    // The catcher, moving right or at rest 6370..6378, moving left 6380..6388; as wide as its
    // reach plus an object.
    for (s32 k = 0; k < FALLING_CATCHER_FRAMES; ++k) {
        minigame_put_box(builder, FALLING_CATCHER_IMAGE + k, 90, 70);
        minigame_put_box(builder, FALLING_CATCHER_IMAGE + FALLING_LEFT_OFFSET + k, 90, 70);
    }
    minigame_put_shared_box(builder, 25011, 1, 8); // the time bar's empty and full columns
    minigame_put_shared_box(builder, 25012, 1, 8);
    // The time bar's frame, shared with other games.
    minigame_put_shared_box(builder, 25009, 122, 26);
}
