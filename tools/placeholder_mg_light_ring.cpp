// Placeholder pictures of the light-ring betting game, sized as the game draws them. A prize shows
// the same way on its lamps and on its panel field: its number ("P" and the prize id, the prize
// that text 6200 + id names) on a colour of its own, so a lamp can be matched to the panel; the
// lamp frames are see-through so the lamp inside them shows. The backdrop is light where the game
// prints dark text and dark where it prints white (the ring with the panel inside it, the status
// columns at the right).
#include "engine/gisk.h"
#include "minigames/light_ring.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

#include <string>

namespace {

constexpr s32 LAMP_W = 50, LAMP_H = 67, FRAME_BORDER = 5;
constexpr s32 PANEL_W = 34, PANEL_H = 56;

// Light fills, one per prize (a dozen that tell apart, repeating).
constexpr u16 PRIZE_FILLS[] = {0x7F18, 0x63FF, 0x7FF0, 0x6FEC, 0x7E7F, 0x5EFF,
                               0x7F4A, 0x4FFA, 0x7E98, 0x6B7F, 0x77B5, 0x5F7B};

u16 prize_fill(s32 prize) {
    return PRIZE_FILLS[prize % s32(std::size(PRIZE_FILLS))];
}

std::string prize_label(s32 prize) {
    return "P" + std::to_string(prize);
}

void put(ArcBuilder& builder, s32 id, std::vector<u8> bytes) {
    builder.put(u32(ARC_IMAGE_BASE + id), std::move(bytes));
}

} // namespace

void image_put_placeholder_light_ring(ArcBuilder& builder) {
    // Dark under the ring (its panel, chips and hand count print in white) and the status
    // columns; light below the ring for the black message line.
    const PlaceholderRect dark[] = {{18, 30, 452, 306}, {462, 28, 178, 262}, {600, 290, 40, 190}};
    put(builder, 25298, placeholder_backdrop_sprite(25298, 640, 480, dark));
    put(builder, 25299,
        placeholder_frame_sprite(25299, LAMP_W + 10, LAMP_H + 10, FRAME_BORDER,
                                 0x6B40)); // lamp frame: dull gold
    put(builder, 25292, placeholder_label_sprite(25292, 66, 41, "START", 2, 0x7FE0)); // lit
    put(builder, 25293, placeholder_label_sprite(25293, 66, 41, "START", 2, 0x6B00)); // pressed
    // The glowing lamp frame after a win, two frames that blink.
    put(builder, 25294,
        placeholder_frame_sprite(25294, LAMP_W + 10, LAMP_H + 10, FRAME_BORDER, 0x7FFF));
    put(builder, 25295,
        placeholder_frame_sprite(25295, LAMP_W + 10, LAMP_H + 10, FRAME_BORDER, 0x7C00));
    for (s32 p = 0; p < RING_PRIZE_LIMIT; ++p) {
        put(builder, RING_PANEL_IMAGE + p,
            placeholder_label_sprite(RING_PANEL_IMAGE + p, PANEL_W, PANEL_H, prize_label(p), 2,
                                     prize_fill(p)));
        put(builder, RING_LAMP_IMAGE + p,
            placeholder_label_sprite(RING_LAMP_IMAGE + p, LAMP_W, LAMP_H, prize_label(p), 3,
                                     prize_fill(p)));
    }
}
