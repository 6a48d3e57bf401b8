// Placeholder pictures of the pop-up target game, each a framed box showing its id.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

namespace {

void put_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
}

// Pictures other screens share (the time bar and the time-up sign): put only when no other
// game put them already.
void put_shared(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    if (builder.entries().count(u32(ARC_IMAGE_BASE + id)) == 0) put_box(builder, id, w, h);
}

} // namespace

void image_put_placeholder_popup(ArcBuilder& builder) {
    put_box(builder, 25500, 640, 480);
    put_box(builder, 25501, 440, 320);
    // The figures' bodies, their bursts and the kind 0 figure (25502..25560), one box each so
    // that every id shows.
    for (s32 id = 25502; id <= 25560; ++id) put_box(builder, id, 134, 134);
    put_shared(builder, 25009, 120, 30);
    put_shared(builder, 25010, 1, 8);
    put_shared(builder, 92, 110, 24);
}
