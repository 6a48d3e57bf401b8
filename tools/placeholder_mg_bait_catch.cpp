// Placeholder pictures of the bait catch game, sized as the game draws them and showing their
// ids. The backdrop leaves the water clear: the fight draws the water first and the backdrop over
// it.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"
#include "tools/sprite_writer.h"

#include <string>

namespace {

constexpr s32 WATER_X = 149, WATER_Y = 16, WATER_W = 310, WATER_H = 237;

// The 640 x 480 backdrop: a framed dark field with its id, clear over the water.
std::vector<u8> backdrop_sprite(s32 id) {
    enum : s16 { DIGIT = 1, FRAME = 2, FIELD = 3 };
    SpriteSource s;
    s.width = 640;
    s.height = 480;
    s.cells.assign(size_t(640 * 480), FIELD);
    for (s32 y = 0; y < 480; ++y)
        for (s32 x = 0; x < 640; ++x) {
            const bool edge = x == 0 || y == 0 || x == 639 || y == 479;
            const bool water =
                x >= WATER_X && x < WATER_X + WATER_W && y >= WATER_Y && y < WATER_Y + WATER_H;
            if (edge) s.cells[size_t(y * 640 + x)] = FRAME;
            if (water) s.cells[size_t(y * 640 + x)] = SPRITE_CLEAR;
        }
    const std::string digits = std::to_string(id);
    for (size_t i = 0; i < digits.size(); ++i)
        for (s32 r = 0; r < 5; ++r)
            for (s32 c = 0; c < 3; ++c)
                if (placeholder_digit_rows[digits[i] - '0'][r][c] == '#')
                    s.cells[size_t((3 + r) * 640 + 3 + s32(i) * 4 + c)] = DIGIT;
    std::array<u16, 256> palette{};
    palette[DIGIT] = 0x7FFF;
    palette[FRAME] = 0x6318;
    palette[FIELD] = 0x1084;
    s.palettes.push_back(palette);
    return sprite_writer_encode(s);
}

} // namespace

void image_put_placeholder_bait_catch(ArcBuilder& builder) {
    builder.put(u32(ARC_IMAGE_BASE + 25103), backdrop_sprite(25103));
    for (s32 id = 25100; id <= 25102; ++id) minigame_put_box(builder, id, 32, 64); // the player
    minigame_put_box(builder, 25104, WATER_W, 57);                                 // the far bank
    for (s32 id = 25105; id <= 25108; ++id) minigame_put_box(builder, id, WATER_W, 180); // water
    for (s32 id = 25109; id <= 25121; ++id)
        minigame_put_box(builder, id, 24, 32); // float: cast, bob, bite
    for (s32 id = 25122; id <= 25125; ++id)
        minigame_put_box(builder, id, WATER_W, WATER_H);                            // fight water
    for (s32 id = 25126; id <= 25128; ++id) minigame_put_box(builder, id, 20, 229); // line, reeling
    for (s32 id = 25129; id <= 25130; ++id) minigame_put_box(builder, id, 28, 254); // line, slack
    minigame_put_box(builder, 25131, 40, 176);                                      // the gauge
    for (s32 id = 25132; id <= 25151; ++id) minigame_put_box(builder, id, 30, 8);   // its segments
    minigame_put_box(builder, 25152, 330, 140);                                     // the chooser
    minigame_put_box(builder, 25153, 58, 70); // rod button lit
    minigame_put_box(builder, 25154, 58, 72); // bait button lit
    minigame_put_box(builder, 25155, 64, 38); // cast button
    minigame_put_box(builder, 25156, 64, 38); // and lit
    for (s32 k = 0; k < 7; ++k) {
        const s32 base = 25401 + 10 * k;
        for (s32 f = 0; f < 3; ++f) {
            minigame_put_box(builder, base + f, 36, 48);       // slack
            minigame_put_box(builder, base + 3 + f, 120, 48);  // reeled
            minigame_put_box(builder, base + 6 + f, 200, 150); // landed picture
        }
    }
    minigame_put_shared_box(builder, 25009, 122, 26);
    minigame_put_shared_box(builder, 25010, 1, 12);
    minigame_put_shared_box(builder, 1000, 160, 180);
}
