// Placeholder pictures of the map-episode launchers: the large portrait of person 305 (62305),
// who speaks over the dashboard in an episode's intro, in the form of the other large portraits.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

constexpr s32 LAUNCHER_PORTRAIT = 62305;

void image_put_placeholder_cal_launchers(ArcBuilder& builder) {
    builder.put(u32(ARC_IMAGE_BASE + LAUNCHER_PORTRAIT),
                placeholder_portrait_sprite(LAUNCHER_PORTRAIT));
}
