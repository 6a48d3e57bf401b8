// Placeholder pictures of the new game's arrival scene: standing boxes for the frames that the
// scene shows and that no row of world content names (the protagonist's arrival animation, the
// dance, the flight and the fall of the staged scene, the effect sprites, the bow and the
// onlookers' reactions), and for the walking frames of the figures that the scene walks (the
// frames `obj_step_to` picks from a figure's block of 50: standing 2 and 22, walking 4-19 and
// 24-39). Our own content.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_world.h"

#include <utility>
#include <vector>

namespace {

// Frames first..last in steps of `step`.
struct FrameRun {
    s32 first, last, step;
};
constexpr FrameRun ARRIVAL_FRAMES[] = {
    {33726, 33810, 2}, // the protagonist's arrival animation
    {33500, 33546, 2}, // the dance of 171
    {33548, 33594, 2}, // the dance of 172
    {33600, 33632, 2}, // the flying object 242
    {33634, 33704, 2}, // 240's leap, fall and dance
    {33706, 33724, 2}, // the second visitor's bow
    {20226, 20240, 1}, // the effect sprites 244, 245, 246
    {31156, 31198, 2}, // the reactions of 171
    {31200, 31242, 2}, // and of 172
    {33004, 33008, 2}, // and of 6
    {32900, 32906, 2}, // and of 223
    {33812, 33834, 2}, // and of 217
    {4222, 4222, 1},   // 6, 217 and 223 as the scene leaves them
    {5422, 5422, 1},   {5172, 5172, 1},
};
// The blocks of 50 of the figures that the scene walks: 239, 238, 237, 240 (three blocks), 241
// and 243.
constexpr s32 WALKING_BLOCKS[] = {5500, 5550, 5600, 5650, 5700, 5750, 5800};
constexpr s32 BLOCK_FIRST = 2, BLOCK_LAST = 39;

} // namespace

void image_put_placeholder_arrival(ArcBuilder& builder) {
    // The lists are constants, so the boxes are drawn once per run and copied into each archive.
    static const std::vector<std::pair<u32, std::vector<u8>>> boxes = [] {
        std::vector<s32> images;
        for (const FrameRun& r : ARRIVAL_FRAMES)
            for (s32 image = r.first; image <= r.last; image += r.step) images.push_back(image);
        for (const s32 block : WALKING_BLOCKS)
            for (s32 k = BLOCK_FIRST; k <= BLOCK_LAST; ++k) images.push_back(block + k);
        std::vector<std::pair<u32, std::vector<u8>>> all;
        for (const s32 image : images)
            all.emplace_back(u32(ARC_IMAGE_BASE + image), placeholder_world_sprite(image, false));
        return all;
    }();
    for (const auto& [id, sprite] : boxes) {
        if (builder.entries().count(id) || builder.aliases().count(id)) continue;
        builder.put(id, sprite);
    }
}
