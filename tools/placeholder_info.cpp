// Placeholder pictures of the character screen, its pages and the companion visit: framed boxes
// sized as the screens draw them, each showing its id. Our own content.
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/sprite_writer.h"

#include <string>
#include <utility>

namespace {

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;

// An outline with its id in the bottom-left corner and a see-through inside: for the frame that
// is drawn over another picture at the same place, so the picture's own id stays readable.
std::vector<u8> outline(s32 id, s32 w, s32 h) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.cells.assign(size_t(w * h), SPRITE_CLEAR);
    constexpr s16 FRAME = 1, INK = 2;
    for (s32 x = 0; x < w; ++x) s.cells[size_t(x)] = s.cells[size_t((h - 1) * w + x)] = FRAME;
    for (s32 y = 0; y < h; ++y) s.cells[size_t(y * w)] = s.cells[size_t(y * w + w - 1)] = FRAME;
    s32 x0 = 3;
    for (const char d : std::to_string(id)) {
        for (s32 r = 0; r < 5; ++r)
            for (s32 c = 0; c < 3; ++c)
                if (placeholder_digit_rows[d - '0'][r][c] == '#')
                    s.cells[size_t((h - 8 + r) * w + x0 + c)] = INK;
        x0 += 4;
    }
    std::array<u16, 256> palette{};
    palette[FRAME] = 0x6318;
    palette[INK] = 0x7FFF;
    s.palettes.push_back(palette);
    return sprite_writer_encode(s);
}

// The known entries whose pictures the placeholder archive holds ({list, id}); the game starts
// with no known entry, so these are the ones the tests show.
constexpr std::pair<s32, s32> KNOWN_SHOWN[] = {{2, 50}, {2, 51}, {2, 52}, {3, 50}, {9, 50}};

ImageList make_info_images() {
    ImageList list;
    const auto box = [&list](s32 id, s32 w, s32 h) {
        list.emplace_back(id, placeholder_box_sprite(id, w, h));
    };
    const auto boxes = [&box](s32 first, s32 last, s32 w, s32 h) {
        for (s32 id = first; id <= last; ++id) box(id, w, h);
    };
    // The status page: its picture, the hp and stamina bar columns, the aura's four families of
    // seven frames, the tab row plain and highlighted, the system menu's buttons, the quit
    // confirmation and the clock dial's 24 steps.
    list.emplace_back(900, placeholder_backdrop_sprite(900, 640, 480)); // under dark texts
    list.emplace_back(800, sprite_writer_solid(1, 8, 0, 0, 0x7C00));
    list.emplace_back(801, sprite_writer_solid(1, 8, 0, 0, 0x03E0));
    boxes(941, 968, 200, 180);
    boxes(901, 905, 72, 68);
    // The highlighted tabs, light under their dark blue captions.
    for (s32 id = 906; id <= 910; ++id) list.emplace_back(id, placeholder_paper_sprite(id, 84, 76));
    boxes(888, 889, 60, 52);
    boxes(890, 891, 50, 52);
    boxes(893, 894, 32, 32);
    box(895, 190, 40);
    // The clock dial's steps, light under the dark labels printed around the dial.
    for (s32 id = 971; id <= 994; ++id)
        list.emplace_back(id, placeholder_paper_sprite(id, 100, 80));
    // The pages: their picture, the item grid's panels, category tabs and page arrows, the album,
    // the acquaintance card with its arrows, and the companion's choose-label backdrop.
    box(939, 640, 480);
    box(915, 490, 50);
    box(911, 470, 150);
    // The hovered item's panel: its picture, and the description and count in dark type.
    list.emplace_back(929, placeholder_paper_sprite(929, 295, 208));
    boxes(916, 928, 30, 36);
    box(912, 24, 24);
    box(995, 24, 24);
    box(913, 26, 25);
    box(996, 26, 25);
    list.emplace_back(930, placeholder_paper_sprite(930, 408, 170)); // album: blue names
    boxes(997, 998, 8, 12);
    list.emplace_back(933, placeholder_paper_sprite(933, 470, 275)); // card: dark name, label
    box(937, 340, 240);
    box(938, 36, 80);
    for (const s32 id : {914, 931, 932, 940}) box(id, 14, 16);
    // The arts page: panel, hovered and selected cells, the entry frame with its arrows, the empty
    // entry and the entries shown.
    box(850, 270, 150);
    boxes(851, 874, 30, 30);
    boxes(700, 723, 30, 30);
    list.emplace_back(875, outline(875, 360, 228));
    boxes(876, 879, 15, 15);
    box(49999, 360, 228);
    for (const auto& [known_list, id] : KNOWN_SHOWN) box(50000 + 100 * known_list + id, 360, 228);
    return list;
}

} // namespace

void image_put_placeholder_info(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const ImageList images = make_info_images();
    for (const auto& [image, bytes] : images) builder.put(u32(ARC_IMAGE_BASE + image), bytes);
}
