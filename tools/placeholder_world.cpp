#include "tools/placeholder_world.h"

#include "data/world_content.h"
#include "engine/gisk.h"
#include "engine/world/walk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/sprite_writer.h"

#include <map>

namespace {

bool is_area(const WorldRow& r) {
    return r.op == WR_PORTAL || r.op == WR_PORTAL_FIXED || r.op == WR_STEP;
}

// Collects the image of every row that shows one: the creators and the frame changes (a
// setting row's `frame` is the attribute's value, not an image).
void collect(const char*, const WorldRow* rows, size_t count, void* context) {
    auto& images = *static_cast<std::map<s32, bool>*>(context);
    for (size_t i = 0; i < count; ++i) {
        const WorldRow& r = rows[i];
        if (!world_row_creates(r) && r.op != WR_FRAME) continue;
        const s32 image = r.frame < 0 ? -r.frame : r.frame;
        if (image == 0) continue;
        images[image] = images[image] || is_area(r);
    }
}

void put_u16(std::vector<u8>& bytes, size_t at, s32 value) {
    bytes[at] = u8(value & 0xFF);
    bytes[at + 1] = u8((value >> 8) & 0xFF);
}

} // namespace

std::vector<u8> placeholder_world_sprite(s32 image_id, bool area) {
    const s32 w = area ? PLACEHOLDER_AREA_W : PLACEHOLDER_FIGURE_W;
    const s32 h = area ? PLACEHOLDER_AREA_H : PLACEHOLDER_FIGURE_H;
    std::vector<u8> sprite = placeholder_box_sprite(image_id, w, h);
    // The box's hotspot (header bytes 4..7): the middle of an area, the foot point of a figure.
    put_u16(sprite, 4, w / 2);
    put_u16(sprite, 6, area ? h / 2 : h - 1);
    return sprite;
}

std::vector<std::pair<s32, bool>> placeholder_world_images() {
    std::map<s32, bool> images;
    world_content_visit(collect, &images);
    return {images.begin(), images.end()};
}

void image_put_placeholder_world(ArcBuilder& builder) {
    // The rows are constants, so the boxes are drawn once per run and copied into each archive.
    static const std::vector<std::pair<u32, std::vector<u8>>> boxes = [] {
        std::vector<std::pair<u32, std::vector<u8>>> all;
        for (const auto& [image, area] : placeholder_world_images())
            all.emplace_back(u32(ARC_IMAGE_BASE + image), placeholder_world_sprite(image, area));
        return all;
    }();
    for (const auto& [id, sprite] : boxes) {
        if (builder.entries().count(id) || builder.aliases().count(id)) continue;
        builder.put(id, sprite);
    }
}

void image_put_placeholder_player(ArcBuilder& builder) {
    // The walking groups take frames 0..79 of a set and the standing frames 160..169.
    static const std::vector<std::pair<u32, std::vector<u8>>> frames = [] {
        std::vector<std::pair<u32, std::vector<u8>>> all;
        const std::vector<u8> shadow =
            sprite_writer_solid(PLACEHOLDER_FIGURE_W, 6, PLACEHOLDER_FIGURE_W / 2, 3, 0x0000);
        for (const s32 base : {PLAYER_BASE, PLAYER_BASE_ALT})
            for (s32 frame = 0; frame < 170; frame += 2) {
                if (frame >= 80 && frame < 160) continue;
                all.emplace_back(u32(ARC_IMAGE_BASE + base + frame),
                                 placeholder_world_sprite(base + frame, false));
                all.emplace_back(u32(ARC_IMAGE_BASE + base + frame + 1), shadow);
            }
        return all;
    }();
    for (const auto& [id, sprite] : frames) {
        if (builder.entries().count(id) || builder.aliases().count(id)) continue;
        builder.put(id, sprite);
    }
}
