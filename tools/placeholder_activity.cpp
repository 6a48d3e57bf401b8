// Placeholder pictures of the hub's activities, each a framed box showing its id, sized as the
// activity screens draw them: the activity animations, the unusable-entry mark of the pick
// grids, the practice screen and the practice pieces.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

#include <utility>
#include <vector>

namespace {

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;

// The pictures of every activity animation, by first picture and frame count (codes 8..14 with
// their three tiers each).
constexpr s32 ANIMATIONS[][2] = {
    {60800, 4},  {60804, 4},  {60808, 5},  {60813, 3},  {60816, 3},  {60819, 4},  {60825, 4},
    {60829, 13}, {60842, 4},  {60846, 13}, {60859, 20}, {60879, 13}, {60892, 5},  {60900, 6},
    {60906, 10}, {60916, 9},  {60926, 6},  {60932, 15}, {60947, 5},  {60952, 11}, {60963, 4},
    {60967, 7},  {60974, 6},  {60980, 6},  {60986, 6},  {61000, 9},  {61009, 5},  {61014, 8},
    {61022, 5},  {61027, 10}, {61037, 7},  {61044, 9},  {61053, 7},  {61060, 14}, {61074, 11},
    {61100, 3},  {61103, 4},  {61107, 3},  {61110, 3},  {61116, 1},  {61173, 12}, {61185, 3},
    {61188, 7},
};
constexpr s32 PRACTICE_PIECES = 4; // pieces 50..53 are the ones the game hands out

ImageList make_activity_images() {
    ImageList list;
    auto put = [&list](s32 id, s32 w, s32 h) {
        list.emplace_back(id, placeholder_box_sprite(id, w, h));
    };
    for (const auto& a : ANIMATIONS)
        for (s32 f = 0; f < a[1]; ++f) put(a[0] + f, 216, 160); // at (212, 112)
    put(60395, 96, 9); // across the lower half of a 96 x 16 grid cell
    put(62500, 640, 480);
    // The toggles (62503 + 3k drawn; the pictures between them kept the same size) and the
    // pressed OK button.
    for (s32 id = 62501; id <= 62530; ++id) put(id, 69, 33);
    put(62531, 64, 38);
    // Piece n: its picture 63401 + 20n and its eleven tasks 63402 + 20n + v, at (149, 16).
    for (s32 n = 0; n < PRACTICE_PIECES; ++n)
        for (s32 v = 0; v <= 11; ++v) put(63401 + 20 * n + v, 320, 320);
    return list;
}

} // namespace

void image_put_placeholder_activity(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const ImageList images = make_activity_images();
    for (const auto& [image, bytes] : images) builder.put(u32(ARC_IMAGE_BASE + image), bytes);
}
