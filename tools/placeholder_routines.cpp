// Placeholder pictures of the daily routines of the home map: the walking blocks of the nine
// residents (standing frames 2 and 22 and walking frames 4..19 and 24..39 of each block of 50)
// and the frames their routes and talks show (idle loops, poses, turns), as figure boxes.
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_world.h"

#include <set>

namespace {

struct ImageRange {
    s32 first, last;
};
// The walking blocks: 223, 225, 226 and 227, 123, 232, 217, 218, 219 (two blocks).
constexpr s32 WALK_BLOCKS[] = {5150, 5200, 5250, 5300, 5350, 5400, 5450, 32800, 32850};
constexpr s32 WALK_FIRST = 2, WALK_LAST = 39;
// The routes' own frames: idle loops with their first and last frames, poses and turns.
constexpr ImageRange ROUTE_FRAMES[] = {
    {33812, 33834}, {32764, 32786}, {32800, 32874}, {32826, 32844}, {5872, 5872},
    {32900, 32924}, {32928, 32962}, {33400, 33438}, {33060, 33080}, {33036, 33056},
    {33442, 33480}, {33200, 33220}, {33224, 33252}, {33256, 33274}, {30270, 30302},
    {33346, 33363}, {33872, 33892}, {33842, 33868}, {33900, 33928},
};

} // namespace

std::vector<s32> placeholder_routines_images() {
    std::set<s32> ids;
    for (s32 b : WALK_BLOCKS)
        for (s32 f = b + WALK_FIRST; f <= b + WALK_LAST; ++f) ids.insert(f);
    for (const ImageRange& r : ROUTE_FRAMES)
        for (s32 f = r.first; f <= r.last; ++f) ids.insert(f);
    return {ids.begin(), ids.end()};
}

void image_put_placeholder_routines(ArcBuilder& builder) {
    for (s32 image : placeholder_routines_images()) {
        const u32 id = u32(ARC_IMAGE_BASE + image);
        if (builder.entries().count(id) || builder.aliases().count(id)) continue;
        builder.put(id, placeholder_world_sprite(image, false));
    }
}
