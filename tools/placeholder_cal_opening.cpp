// Placeholder pictures of the opening events and their screens, each a framed box showing its
// id, sized as the screens draw them: the teaching boards and the grid boards, the intersection
// marker, the lesson pictures, the picture pair grids and their cells, the point search picture,
// the closing animation over the dashboard and the closing picture.
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

#include <utility>
#include <vector>

namespace {

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;

struct Run {
    s32 first, last, w, h;
};

// Sizes are ours where the screens give only a place: the boards fill the click area at
// (224, 143) (x 223..422, y 143..341); the marker is centred on an intersection's 9 x 9 window;
// the pair overview covers both grids from (150, 128); a viewed cell fills one half from (147,
// 128) or (328, 128); the lesson pictures stand at (270, 148) between the portraits; the search
// picture covers its click area from (169, 141); the closing animation takes the travel road's
// place at (149, 126).
constexpr Run RUNS[] = {
    {60000, 60008, 200, 200}, // teaching boards 60000..60002, grid boards 60003..60008
    {60050, 60050, 15, 15},   // the intersection marker
    {60062, 60063, 307, 206}, // the lesson picture of turn 12 and the point search picture
    {60070, 60070, 352, 232}, // the pair overview
    {60071, 60080, 176, 232}, // the viewed cells
    {60081, 60083, 100, 150}, // the picture lesson and the entry test's last question
    {60100, 60103, 350, 190}, // the closing animation
    {63500, 63500, 640, 480}, // the closing picture, full screen
};

ImageList make_opening_images() {
    ImageList list;
    for (const Run& r : RUNS)
        for (s32 id = r.first; id <= r.last; ++id)
            list.emplace_back(id, placeholder_box_sprite(id, r.w, r.h));
    return list;
}

} // namespace

void image_put_placeholder_cal_opening(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const ImageList images = make_opening_images();
    for (const auto& [image, bytes] : images) builder.put(u32(ARC_IMAGE_BASE + image), bytes);
}
