// Placeholder pictures of the picture course and the lesson course of the place bar, and of the
// home place's visit: framed boxes showing their ids, sized as the screens draw them.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

#include <utility>
#include <vector>

namespace {

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;

// The pictures of the lesson course, by first picture and count: the first lesson, the eleven
// illustrated lessons, the introduction's eight pictures.
constexpr s32 LESSON_PICTURE_RUNS[][2] = {
    {63100, 8},  {63110, 10}, {63120, 14}, {63140, 16}, {63160, 16}, {63180, 6}, {63190, 10},
    {63200, 12}, {63220, 10}, {63230, 4},  {63240, 18}, {63260, 16}, {63279, 8},
};
// Our own size for the lesson pictures shown over the portraits at (200, 55).
constexpr s32 LESSON_PICTURE_W = 240, LESSON_PICTURE_H = 240;

ImageList make_places_a_images() {
    ImageList list;
    auto put = [&list](s32 id, s32 w, s32 h) {
        list.emplace_back(id, placeholder_box_sprite(id, w, h));
    };
    // The picture sheet: 100 pictures of 64 x 64, the frame over a pointed cell, the background.
    for (s32 id = 36000; id <= 36099; ++id) put(id, 64, 64);
    put(62598, 64, 64);
    list.emplace_back(62599, placeholder_paper_sprite(62599, 640, 480));
    // The home place's visit: two pictures in the backdrop's place.
    for (s32 id : {60090, 60091}) put(id, PLACEHOLDER_BACKDROP_W, PLACEHOLDER_BACKDROP_H);
    for (const auto& run : LESSON_PICTURE_RUNS)
        for (s32 k = 0; k < run[1]; ++k) put(run[0] + k, LESSON_PICTURE_W, LESSON_PICTURE_H);
    return list;
}

} // namespace

void image_put_placeholder_cal_places_a(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const ImageList images = make_places_a_images();
    for (const auto& [image, bytes] : images) builder.put(u32(ARC_IMAGE_BASE + image), bytes);
}
