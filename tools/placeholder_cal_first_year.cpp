// Placeholder pictures of the first year's story handlers: the large portrait of person 420
// (62420), the presenter of the prize quiz and a yearly visitor, in the form of the hub's other
// large portraits. Our own content.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

namespace {

constexpr s32 FIRST_YEAR_PORTRAITS[] = {62420};

} // namespace

void image_put_placeholder_cal_first_year(ArcBuilder& builder) {
    for (s32 id : FIRST_YEAR_PORTRAITS)
        builder.put(u32(ARC_IMAGE_BASE + id), placeholder_portrait_sprite(id));
}
