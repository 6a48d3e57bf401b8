// Placeholder pictures of the map-episode launchers that the hub's screens leave out: the large
// portrait of person 305 (62305, past the hub's 62000..62299), who speaks over the dashboard in an
// episode's intro. A framed box showing its id, sized as the other large portraits (our size).
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

constexpr s32 LAUNCHER_PORTRAIT = 62305;
constexpr s32 LARGE_PORTRAIT_W = 120, LARGE_PORTRAIT_H = 156;

void image_put_placeholder_cal_launchers(ArcBuilder& builder) {
    builder.put(u32(ARC_IMAGE_BASE + LAUNCHER_PORTRAIT),
                placeholder_box_sprite(LAUNCHER_PORTRAIT, LARGE_PORTRAIT_W, LARGE_PORTRAIT_H));
}
