#include "tests/frames_shown.h"

#include "tests/world_harness.h"
#include "tools/arcbuild.h"

FramesShown frames_shown(FramesVisitor frames) {
    ArcBuilder b;
    arc_put_placeholder_content(b);
    world_put_player_images(b);
    std::vector<s32> visited;
    frames([](s32 f, void* ctx) { static_cast<std::vector<s32>*>(ctx)->push_back(f); }, &visited);
    FramesShown shown{.count = visited.size()};
    for (const s32 f : visited) {
        const u32 id = u32(ARC_IMAGE_BASE + (f < 0 ? -f : f));
        if (b.entries().count(id) + b.aliases().count(id) == 0) shown.missing.push_back(f);
    }
    return shown;
}
