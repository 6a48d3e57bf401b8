// Placeholder pictures of the frames that the posed services of the home region show and no world
// content row names: the player's poses (bath, lying, waking, seated), the walker's bath service
// and idle loop, the seat keeper's and the quest giver's loops, and the rest place's attendant and
// sleepers. Each is a standing figure box showing its id, as the world objects' placeholders are.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_world.h"

namespace {

struct FrameRun {
    s32 first, last, step;
};

// clang-format off
constexpr FrameRun POSED_FRAMES[] = {
    {2646, 2674, 1},   // the player leaving and in the bath
    {2966, 2983, 1},   // lying at the rest place, getting up
    {2900, 2923, 1},   // woken
    {31601, 31641, 2}, // seated
    {2832, 2894, 2},   // the walker serving the bath and idling at the ends of its walk
    {4252, 4252, 1}, {4272, 4272, 1}, {4302, 4302, 1}, {4322, 4322, 1},
    {2100, 2122, 1},   // the seat keeper
    {31537, 31575, 2}, // the quest giver of map 31
    {30000, 30106, 2}, // the rest place's attendant: idle, waking the player, clearing away
    {4352, 4352, 1}, {4372, 4372, 1}, {4402, 4402, 1}, {4452, 4452, 1}, {4472, 4472, 1},
    {2179, 2196, 1}, {2251, 2259, 1}, {2272, 2284, 1}, // the sleepers of map 24 waking
    {2287, 2287, 1}, {2289, 2290, 1}, {2294, 2294, 1}, {2298, 2298, 1},
    {2000, 2009, 1},   // the player's paid practice pose loop
    {31070, 31089, 1}, // the pose loops at the two dining tables
    {31514, 31533, 1},
};
// clang-format on

} // namespace

void image_put_placeholder_posed(ArcBuilder& builder) {
    for (const FrameRun& r : POSED_FRAMES) {
        for (s32 id = r.first; id <= r.last; id += r.step) {
            const u32 entry = u32(ARC_IMAGE_BASE + id);
            if (builder.entries().count(entry) || builder.aliases().count(entry)) continue;
            builder.put(entry, placeholder_world_sprite(id, false));
        }
    }
}
