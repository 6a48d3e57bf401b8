// Placeholder pictures of the light puzzle, at the size the puzzle draws them. The board marks
// every lamp's box with its number ("DARK" until it is lit), since only lit lamps have a picture
// of their own; a lit lamp is a bright box over it. The backdrop is light for the dark texts
// below the board and marks the give-up button's box.
#include "engine/gisk.h"
#include "minigames/light_puzzle.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

#include <string>
#include <vector>

namespace {

constexpr s32 BOARD_W = 640, BOARD_H = 320; // the strip of texts below stays the backdrop's
constexpr u16 LIT_FILL = 0x7FE6;            // bright yellow

} // namespace

void image_put_placeholder_light_puzzle(ArcBuilder& builder) {
    const PlaceholderRect give_up[] = {{LAMP_GIVE_UP_X0 - 3, LAMP_GIVE_UP_Y0 - 3,
                                        LAMP_GIVE_UP_X1 - LAMP_GIVE_UP_X0 + 7,
                                        LAMP_GIVE_UP_Y1 - LAMP_GIVE_UP_Y0 + 7}};
    builder.put(u32(ARC_IMAGE_BASE + LAMP_BACKDROP_IMAGE),
                placeholder_backdrop_sprite(LAMP_BACKDROP_IMAGE, 640, 480, {}, give_up));

    std::vector<PlaceholderRect> boxes;
    std::vector<std::string> words;
    for (s32 i = 0; i < LAMP_COUNT; ++i) {
        const LampSpec& lamp = lamp_specs[i];
        boxes.push_back({lamp.x, lamp.y, LAMP_BOX_W + 1, LAMP_BOX_H + 1});
        words.push_back("DARK\n" + std::to_string(i));
    }
    std::vector<PlaceholderLabel> labels;
    for (s32 i = 0; i < LAMP_COUNT; ++i)
        labels.push_back({lamp_specs[i].x + 8, lamp_specs[i].y + 10, 3, words[size_t(i)].c_str()});
    builder.put(u32(ARC_IMAGE_BASE + LAMP_BOARD_IMAGE),
                placeholder_backdrop_sprite(LAMP_BOARD_IMAGE, BOARD_W, BOARD_H, {}, boxes, labels));

    for (s32 i = 0; i < LAMP_COUNT; ++i) {
        const LampSpec& lamp = lamp_specs[i];
        builder.put(u32(ARC_IMAGE_BASE + lamp.image),
                    placeholder_label_sprite(lamp.image, LAMP_BOX_W + 1, LAMP_BOX_H + 1,
                                             "LIT\n" + std::to_string(i), 3, LIT_FILL));
    }
}
