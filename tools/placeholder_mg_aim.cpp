// Placeholder pictures of the aiming games, each a framed box of the size the games draw it and
// showing its id. The overlay is open over the field, so that the targets drawn under it show.
#include "engine/gisk.h"
#include "minigames/aim.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"
#include "tools/sprite_writer.h"

#include <string>

namespace {

// The overlay: the whole screen in a light frame colour with its id, see-through over the field.
std::vector<u8> overlay_sprite(s32 id) {
    enum : s16 { INK = 1, FILL = 2, FRAME = 3 };
    SpriteSource s;
    s.width = 640;
    s.height = 480;
    s.cells.assign(size_t(640 * 480), FILL);
    const FrameBox f = AIM_FIELD_BOX;
    for (s32 y = f.y0; y <= f.y1; ++y)
        for (s32 x = f.x0; x <= f.x1; ++x) s.cells[size_t(y * 640 + x)] = SPRITE_CLEAR;
    for (s32 x = 0; x < 640; ++x) s.cells[size_t(x)] = s.cells[size_t(479 * 640 + x)] = FRAME;
    for (s32 y = 0; y < 480; ++y) s.cells[size_t(y * 640)] = s.cells[size_t(y * 640 + 639)] = FRAME;
    s32 x0 = 4;
    for (const char d : std::to_string(id)) {
        for (s32 r = 0; r < 5; ++r)
            for (s32 c = 0; c < 3; ++c)
                if (placeholder_digit_rows[d - '0'][r][c] == '#')
                    s.cells[size_t((468 + r) * 640 + x0 + c)] = INK;
        x0 += 4;
    }
    std::array<u16, 256> palette{};
    palette[INK] = 0x0421;
    palette[FILL] = 0x6B12; // beige
    palette[FRAME] = 0x6318;
    s.palettes.push_back(palette);
    return sprite_writer_encode(s);
}

// Each target kind's picture size (its hit and escape pictures share it); kind 3 reaches down
// past its lowest spot.
struct KindSize {
    s32 w, h;
};
constexpr KindSize KIND_SIZES[AIM_KINDS] = {{30, 50},   {84, 56},  {90, 100}, {150, 190},
                                            {170, 180}, {116, 64}, {130, 100}};

} // namespace

void image_put_placeholder_aim(ArcBuilder& builder) {
    builder.put(u32(ARC_IMAGE_BASE + 25078), overlay_sprite(25078));
    minigame_put_box(builder, 25077, 278, 290); // the field, as large as the shooting box
    minigame_put_box(builder, 25094, 330, 140); // behind the tool names
    minigame_put_box(builder, 25032, 60, 14);   // hit-point bar frame around 50 columns
    minigame_put_box(builder, 25013, 1, 6);     // one hit-point column
    // Kinds 0 and 1: the picture and three hit frames; kinds 2, 3, 5 and 6: the picture, three
    // escape frames and three hit frames; the duel's main target likewise.
    struct Run {
        s32 first, last, kind;
    };
    // clang-format off
    constexpr Run RUNS[] = {
        {25033, 25036, 0}, {25037, 25040, 1}, {25041, 25047, 2}, {25048, 25054, 3},
        {25188, 25194, 3}, {25055, 25061, 5}, {25080, 25086, 6},
        {25062, 25076, 4}, // the board: stages, escape and hits, all at (209, 27)
    };
    // clang-format on
    for (const Run& r : RUNS)
        for (s32 id = r.first; id <= r.last; ++id)
            minigame_put_box(builder, id, KIND_SIZES[r.kind].w, KIND_SIZES[r.kind].h);
    // Shared with the night target game: the impact, the shot's five flight frames, the spots.
    minigame_put_shared_box(builder, 25079, 32, 30);
    for (s32 id = 25087; id <= 25091; ++id) minigame_put_shared_box(builder, id, 36, 26);
    minigame_put_shared_box(builder, 25092, AIM_SPOT_SIZE + 1, AIM_SPOT_SIZE + 1);
    minigame_put_box(builder, 25093, AIM_SPOT_SIZE + 1, AIM_SPOT_SIZE + 1);
}
