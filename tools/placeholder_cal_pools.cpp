// Placeholder pictures of the number-calling game of the event pools: the six hands (0 to 5
// fingers) that its reveal shows side by side at (244, 140) and (326, 140), each a framed box
// showing its id. The size is our own: narrower than the 82 pixels between the two hands.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

namespace {

constexpr s32 HAND_FIRST = 60094, HAND_LAST = 60099;
constexpr s32 HAND_W = 80, HAND_H = 100;

} // namespace

void image_put_placeholder_cal_pools(ArcBuilder& builder) {
    for (s32 id = HAND_FIRST; id <= HAND_LAST; ++id)
        builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, HAND_W, HAND_H));
}
