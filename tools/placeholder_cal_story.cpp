// Placeholder portraits of the scheduled story events and the yearly events: the hub's large
// portraits (62000 + person) of the persons past the archive's first 300 that these scenes are
// the first to show, in the form of the hub's other large portraits. Our own content.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

namespace {

constexpr s32 PORTRAIT_BASE = 62000;

// The persons 330 and 331 (the first year's scenes), 340, 355, 405 (the pair's scenes and the
// ring game's sequel) and the sect members 360, 367, 368, 372, 373, 377, 416 and 418.
constexpr s32 PERSONS[] = {330, 331, 340, 355, 360, 367, 368, 372, 373, 377, 405, 416, 418};

} // namespace

void image_put_placeholder_cal_story(ArcBuilder& builder) {
    for (s32 person : PERSONS) {
        const s32 image = PORTRAIT_BASE + person;
        const u32 id = u32(ARC_IMAGE_BASE + image);
        if (builder.entries().count(id) || builder.aliases().count(id)) continue;
        builder.put(id, placeholder_portrait_sprite(image));
    }
}
