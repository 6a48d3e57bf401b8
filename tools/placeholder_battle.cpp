// Our own content: the battle's placeholder pictures. Each is encoded once per process (test
// fixtures build the placeholder archive again and again), and families of ids that look alike
// share one picture through aliases.
#include "tools/placeholder_battle.h"

#include "engine/anim.h"
#include "engine/gisk.h"
#include "engine/sprite.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/sprite_writer.h"

#include <array>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Palette index of the inside of `placeholder_box_sprite`'s boxes.
constexpr s32 BOX_PAPER_INDEX = 4;

constexpr u16 GROUND = 0x1546, GROUND_LINE = 0x2A8A;
constexpr u16 FIGHTER_WALK = 0x2D7F, FIGHTER_STAND = 0x1EA7, FIGHTER_STRIKE = 0x5CA7;
constexpr u16 EFFECT = 0x7F40, SHADOW = 0x0842, PANEL = 0x5294, PORTRAIT = 0x5A0C;

void put_le16(std::vector<u8>& bytes, size_t at, u32 v) {
    bytes[at] = u8(v);
    bytes[at + 1] = u8(v >> 8);
}

// A framed box showing `label`, its hotspot at (hot_x, hot_y) and its inside in `paper`.
std::vector<u8> box(s32 label, s32 w, s32 h, s32 hot_x, s32 hot_y, u16 paper) {
    std::vector<u8> bytes = placeholder_box_sprite(label, w, h);
    put_le16(bytes, 4, u32(hot_x));
    put_le16(bytes, 6, u32(hot_y));
    put_le16(bytes, size_t(SPRITE_HEADER_SIZE + 2 * BOX_PAPER_INDEX), paper);
    return bytes;
}

std::array<u16, 256> palette(std::initializer_list<u16> colours) {
    std::array<u16, 256> p{};
    s32 i = 1;
    for (u16 c : colours) p[size_t(i++)] = c;
    return p;
}

// A see-through frame of 2 px showing `label` in digits of `scale` px: small in the archive
// however large it is, since only the frame and the digits are stored.
std::vector<u8> outline(s32 label, s32 w, s32 h, s32 scale, u16 colour) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.cells.assign(size_t(w * h), SPRITE_CLEAR);
    for (s32 y = 0; y < h; ++y)
        for (s32 x = 0; x < w; ++x)
            if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2) s.cells[size_t(y * w + x)] = 1;
    s32 x0 = 5;
    for (char d : std::to_string(label)) {
        for (s32 r = 0; r < 5; ++r)
            for (s32 c = 0; c < 3; ++c)
                if (placeholder_digit_rows[d - '0'][r][c] == '#')
                    for (s32 dy = 0; dy < scale; ++dy)
                        for (s32 dx = 0; dx < scale; ++dx) {
                            const s32 x = x0 + c * scale + dx, y = 5 + r * scale + dy;
                            if (x < w && y < h) s.cells[size_t(y * w + x)] = 1;
                        }
        x0 += 4 * scale;
    }
    s.palettes.push_back(palette({colour}));
    return sprite_writer_encode(s);
}

// The battle ground: the 12 x 12 cells' outlines over a plain field.
std::vector<u8> ground() {
    SpriteSource s;
    s.width = 640;
    s.height = 480;
    s.cells.assign(size_t(640 * 480), 1);
    for (s32 row = 0; row < 12; ++row)
        for (s32 col = 0; col < 12; ++col) {
            if ((row < 3 && col - row >= 9) || (col < 3 && row - col >= 9)) continue;
            const s32 cx = (row - col) * 36 + 317, cy = (row + col) * 18 + 64;
            for (s32 dx = -36; dx <= 36; ++dx) {
                const s32 dy = (36 - (dx < 0 ? -dx : dx)) / 2;
                for (s32 y : {cy - dy, cy + dy}) {
                    const s32 x = cx + dx;
                    if (x >= 0 && x < 640 && y >= 0 && y < 480) s.cells[size_t(y * 640 + x)] = 2;
                }
            }
        }
    s.palettes.push_back(palette({GROUND, GROUND_LINE}));
    return sprite_writer_encode(s);
}

// The cell highlight: a filled 72 x 36 diamond centred on the cell's point.
std::vector<u8> diamond() {
    SpriteSource s;
    s.width = 73;
    s.height = 37;
    s.hot_x = 36;
    s.hot_y = 18;
    s.cells.assign(size_t(73 * 37), SPRITE_CLEAR);
    for (s32 y = 0; y < 37; ++y)
        for (s32 x = 0; x < 73; ++x) {
            const s32 d = (x < 36 ? 36 - x : x - 36) + 2 * (y < 18 ? 18 - y : y - 18);
            if (d <= 36) s.cells[size_t(y * 73 + x)] = d >= 34 ? 2 : 1;
        }
    s.palettes.push_back(palette({0x3DEF, 0x7FFF}));
    return sprite_writer_encode(s);
}

// A field overlay: a see-through frame of 6 px in the field's colour.
std::vector<u8> overlay(u16 colour) {
    SpriteSource s;
    s.width = 260;
    s.height = 480;
    s.cells.assign(size_t(260 * 480), SPRITE_CLEAR);
    for (s32 y = 0; y < 480; ++y)
        for (s32 x = 0; x < 260; ++x)
            if (x < 6 || y < 6 || x >= 254 || y >= 474) s.cells[size_t(y * 260 + x)] = 1;
    s.palettes.push_back(palette({colour}));
    return sprite_writer_encode(s);
}

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;
using AliasList = std::vector<std::pair<s32, s32>>; // id, source id

// Every image id that a part of the embedded animation library draws.
std::set<s32> library_images() {
    std::set<s32> ids;
    for (s32 slot = 0; slot < ANIM_SLOTS; ++slot) {
        const u32 begin = anim_builtin_offsets[slot], end = anim_builtin_offsets[slot + 1];
        if (begin >= end) continue;
        const u8* lib = anim_builtin_library;
        const s32 frames = lib[begin];
        u32 p = begin + 1;
        for (s32 f = 0; f < frames && p + 8 <= end; ++f) {
            const u32 parts = u32(lib[p + 6]) | u32(lib[p + 7]) << 8;
            p += 8;
            for (u32 k = 0; k < parts && p + 8 <= end; ++k, p += 8) {
                const u32 kind_id = u32(lib[p + 4]) | u32(lib[p + 5]) << 8 | u32(lib[p + 6]) << 16 |
                                    u32(lib[p + 7]) << 24;
                if (anim_part_kind(kind_id) != ANIM_KIND_SOUND)
                    ids.insert(s32(anim_part_id(kind_id)));
            }
        }
    }
    return ids;
}

// The shared picture an image of the library takes: the fighters' move pictures by frame (0 a
// step, 1 standing, 2.. the blow), the stance's body and weapon, hit effects by frame, trails,
// sparks, shadows; anything else one small box.
constexpr s32 FIGHTER_FRAMES = 30000, STANCE = 11000, WEAPON = 11030, EFFECTS = 28000,
              TRAIL = 29000, SPARK = 29200, SHADOWS = 29990;
s32 library_source(s32 id) {
    if (id >= FIGHTER_FRAMES) return FIGHTER_FRAMES + (id - FIGHTER_FRAMES) % 16;
    if (id >= SHADOWS) return SHADOWS;
    if (id >= SPARK) return SPARK;
    if (id >= TRAIL) return TRAIL;
    if (id >= EFFECTS) return EFFECTS + (id - EFFECTS) % 20;
    if (id >= WEAPON && id < WEAPON + 30) return WEAPON;
    if (id >= STANCE && id < WEAPON) return STANCE;
    return -1;
}

struct Content {
    ImageList images;
    AliasList aliases;
};

Content make_content() {
    Content c;
    auto put = [&](s32 id, std::vector<u8> bytes) { c.images.emplace_back(id, std::move(bytes)); };

    put(PLACEHOLDER_GROUND_FIRST, ground());
    for (s32 id = PLACEHOLDER_GROUND_FIRST + 1; id <= PLACEHOLDER_GROUND_LAST; ++id)
        c.aliases.emplace_back(id, PLACEHOLDER_GROUND_FIRST);
    put(25765, diamond());
    put(25766, overlay(0x7D00)); // power: red
    put(25767, overlay(0x03FF)); // guard: cyan
    put(25768, overlay(0x7FE0)); // speed: yellow

    // The command bar and its buttons (hover and pressed pictures are drawn 2 px up and left).
    put(25735, box(25735, 214, 106, 0, 0, PANEL));
    for (s32 id = 25736; id <= 25743; ++id) put(id, box(id, 50, 24, 0, 0, PANEL + 0x0421));
    for (s32 id : {25762, 25763}) put(id, box(id, 50, 24, 0, 0, PANEL + 0x0421));
    // The list screens: panel, close, page up and down, bare hands.
    put(25744, box(25744, 182, 150, 0, 0, PANEL));
    for (s32 id : {25745, 25746}) put(id, box(id, 32, 20, 0, 0, PANEL + 0x0842));
    for (s32 id = 25747; id <= 25752; ++id) put(id, box(id, 19, 16, 0, 0, PANEL + 0x0842));
    for (s32 id : {25753, 25754, 25758}) put(id, box(id, 50, 20, 0, 0, PANEL + 0x0842));
    // Gauges: frame 54 x 7 with 1 x 3 cells at (2, 2); cells by poison tier.
    for (s32 id : {25756, 25757}) put(id, box(id, 54, 7, 0, 0, SHADOW));
    const std::pair<s32, u16> gauge_cells[] = {
        {25755, 0x03E0}, {25759, 0x6F60}, {25760, 0x7DC0}, {25761, 0x5C17}};
    for (auto [id, colour] : gauge_cells) put(id, sprite_writer_solid(1, 3, 0, 0, colour));
    // Panels: frame 110 x 12 with 1 x 4 cells at (5, 4); hp cells by poison tier, mp cells.
    put(25769, box(25769, 110, 12, 0, 0, SHADOW));
    const std::pair<s32, u16> panel_cells[] = {{25770, 0x021F}, {25771, 0x7E73}, {25772, 0x7C00},
                                               {25773, 0x7DC0}, {25774, 0x5C17}, {25775, 0x380E}};
    for (auto [id, colour] : panel_cells) put(id, sprite_writer_solid(1, 4, 0, 0, colour));
    // Guard pictures stand on the protagonist's point.
    for (s32 id : {25776, 25777}) put(id, box(id, 40, 84, 20, 83, FIGHTER_STAND));
    // The effect flash: 17 growing boxes centred on their point.
    for (s32 i = 0; i < 17; ++i) {
        const s32 side = 16 + 4 * i;
        put(20882 + i, box(20882 + i, side, side, side / 2, side / 2, EFFECT));
    }
    // Portraits of every roster character.
    for (s32 id = 1000; id < 1300; ++id) put(id, outline(id, 120, 150, 3, PORTRAIT));

    // The animation library's pictures: fighters stand on their point and show their frame
    // number; effects are centred on theirs.
    for (s32 f = 0; f < 16; ++f) {
        const u16 paper = f == 0 ? FIGHTER_WALK : f == 1 ? FIGHTER_STAND : FIGHTER_STRIKE;
        const s32 w = f >= 2 ? 44 : 36;
        put(FIGHTER_FRAMES + f, box(f, w, 84, w / 2, 83, paper));
    }
    put(STANCE, box(1, 36, 84, 18, 83, FIGHTER_STAND));
    put(WEAPON, box(0, 8, 34, 4, 33, PANEL));
    for (s32 j = 0; j < 20; ++j) {
        const s32 side = j < 10 ? 12 + 4 * j : 20;
        put(EFFECTS + j, box(j, side, side, side / 2, side / 2, EFFECT));
    }
    put(TRAIL, box(0, 24, 8, 12, 4, EFFECT));
    put(SPARK, box(0, 16, 16, 8, 8, EFFECT));
    put(SHADOWS, box(0, 40, 12, 20, 6, SHADOW));
    std::set<s32> own;
    for (const auto& [id, bytes] : c.images) own.insert(id);
    s32 generic = -1;
    for (s32 id : library_images()) {
        if (own.count(id)) continue;
        s32 source = library_source(id);
        if (source < 0) {
            if (generic < 0) {
                generic = id;
                put(id, box(0, 16, 16, 8, 8, EFFECT));
                own.insert(id);
                continue;
            }
            source = generic;
        }
        c.aliases.emplace_back(id, source);
    }
    return c;
}

} // namespace

void battle_put_placeholder_content(ArcBuilder& builder) {
    static const Content content = make_content();
    for (const auto& [image, bytes] : content.images)
        builder.put(u32(ARC_IMAGE_BASE + image), bytes);
    for (const auto& [image, source] : content.aliases)
        builder.alias(u32(ARC_IMAGE_BASE + image), u32(ARC_IMAGE_BASE + source));
}
