// Placeholder pictures of the pop-up target game, each a framed box showing its id.
#include "tools/placeholder_minigames.h"

void image_put_placeholder_popup(ArcBuilder& builder) {
    minigame_put_box(builder, 25500, 640, 480);
    minigame_put_box(builder, 25501, 440, 320);
    // The figures' bodies, their bursts and the kind 0 figure (25502..25560), one box each so
    // that every id shows.
    for (s32 id = 25502; id <= 25560; ++id) minigame_put_box(builder, id, 134, 134);
    minigame_put_shared_box(builder, 25009, 120, 30);
    minigame_put_shared_box(builder, 25010, 1, 8);
    minigame_put_shared_box(builder, 92, 110, 24);
}
