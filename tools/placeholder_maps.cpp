// Placeholder maps: plain walkable grounds, with the doors, portals and step areas of the world
// content marked on the maps that have them, and arrows toward those marks.
#include "tools/placeholder_maps.h"

#include "data/world_content.h"
#include "engine/gisk.h"
#include "engine/sprite.h"
#include "engine/world/zone.h"
#include "tools/arcbuild.h"
#include "tools/jpeg_writer.h"
#include "tools/map_writer.h"
#include "tools/placeholder_canvas.h"
#include "tools/placeholder_world.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr s32 SIDE = ZONE_SIDE_PIXELS;
constexpr s32 CELLS = MAP_GRID_SIDE;
constexpr s32 JPEG_QUALITY = 60;

// Our own ground colours (RGB) of the four placeholder zones: grass, sand, stone, earth.
constexpr u8 ZONE_COLOURS[PLACEHOLDER_ZONE_COUNT][3] = {
    {72, 128, 56}, {196, 176, 120}, {128, 128, 136}, {120, 88, 56}};

// Zones in blocks of 4 x 4 cells so that a screen shows at most two kinds of ground.
s32 ground_of(s32 row, s32 column) {
    return ((row / 4) + (column / 4)) % PLACEHOLDER_ZONE_COUNT;
}

// Walkable on every plane (class 15 and the every-plane bit), footstep sound 101 + k.
u32 ground_terrain(s32 k) {
    return terrain_attribute(15, 0, 1, 0, u32(1 + k), 0);
}

// ---- The marks ---------------------------------------------------------------------------------

// The box of image `image` if the builder holds a sprite for it: width, height and hotspot.
bool sprite_box(const ArcBuilder& builder, s32 image, SpriteImage& box) {
    u32 id = u32(ARC_IMAGE_BASE + image);
    if (const auto alias = builder.aliases().find(id); alias != builder.aliases().end())
        id = alias->second;
    const auto it = builder.entries().find(id);
    if (it == builder.entries().end()) return false;
    const std::vector<u8>& bytes = it->second;
    if (!sprite_validate(bytes.data(), s32(bytes.size()))) return false;
    // A JPEG picture or a raw bitmap validates too; only a sprite's header is a box.
    if (bytes.size() >= 10 && bytes[6] == 'J' && bytes[7] == 'F' && bytes[8] == 'I' &&
        bytes[9] == 'F')
        return false;
    if (bytes.size() >= 12 &&
        u32(bytes[8] | bytes[9] << 8 | bytes[10] << 16 | u32(bytes[11]) << 24) == RAW_BITMAP_MAGIC)
        return false;
    box.width = u16(bytes[0] | bytes[1] << 8);
    box.height = u16(bytes[2] | bytes[3] << 8);
    box.hot_x = s16(bytes[4] | bytes[5] << 8);
    box.hot_y = s16(bytes[6] | bytes[7] << 8);
    return true;
}

struct Collect {
    const ArcBuilder& builder;
    std::vector<PlaceholderMapMark>& marks;
};

void collect(const char*, const WorldRow* rows, size_t count, void* context) {
    Collect& c = *static_cast<Collect*>(context);
    for (size_t i = 0; i < count; ++i) {
        const WorldRow& r = rows[i];
        const bool door = r.op == WR_PORTAL || r.op == WR_PORTAL_FIXED;
        if (!door && r.op != WR_STEP) continue;
        if (r.map < 0 || r.map >= PLACEHOLDER_MAP_COUNT) continue;
        const s32 image = r.frame < 0 ? -r.frame : r.frame;
        SpriteImage box{};
        if (!sprite_box(c.builder, image, box)) {
            box.width = u16(PLACEHOLDER_AREA_W);
            box.height = u16(PLACEHOLDER_AREA_H);
            box.hot_x = s16(PLACEHOLDER_AREA_W / 2);
            box.hot_y = s16(PLACEHOLDER_AREA_H / 2);
        }
        if (box.width == 0 || box.height == 0) continue; // nothing to step on
        PlaceholderMapMark m;
        m.map = r.map;
        m.x = r.x;
        m.y = r.y;
        // The foot point hits the image where the scene's hit test looks: a mirrored image
        // stands with its hotspot counted from the right.
        m.x0 = r.frame < 0 ? r.x + box.hot_x - box.width + 1 : r.x - box.hot_x;
        m.y0 = r.y - box.hot_y;
        m.w = box.width;
        m.h = box.height;
        m.door = door;
        m.hidden = (r.settings & WS_HIDE) != 0;
        if (std::find(c.marks.begin(), c.marks.end(), m) == c.marks.end()) c.marks.push_back(m);
    }
}

// ---- Drawing -----------------------------------------------------------------------------------

enum : s16 { DOOR = 1, STEP, DARK };
constexpr u8 DARK_RGB[3] = {24, 24, 32};

const u8* ink_rgb(s16 ink) {
    switch (ink) {
    case DOOR:
        return PLACEHOLDER_DOOR_RGB;
    case STEP:
        return PLACEHOLDER_STEP_RGB;
    default:
        return DARK_RGB;
    }
}

// The ring around a mark: its radius from the box's middle, and how far the drawing reaches.
s32 ring_radius(const PlaceholderMapMark& m) {
    return std::max(m.w, m.h) / 2 + 14;
}
s32 mark_reach(const PlaceholderMapMark& m) {
    return ring_radius(m) + 2;
}

// A mark on its own canvas, its box's middle at the canvas's middle: the box filled (outlined
// when created switched off) with a dark edge, and a ring around it that can be seen from afar.
PlaceholderCanvas draw_mark(const PlaceholderMapMark& m) {
    const s32 reach = mark_reach(m), r = ring_radius(m);
    PlaceholderCanvas c(2 * reach + 1, 2 * reach + 1);
    const s16 ink = m.door ? DOOR : STEP;
    const s32 x = reach - m.w / 2, y = reach - m.h / 2;
    c.ring(reach, reach, r + 2, 2, DARK);
    c.ring(reach, reach, r, m.hidden ? 2 : 4, ink);
    c.fill(x - 2, y - 2, m.w + 4, m.h + 4, DARK);
    if (m.hidden) {
        c.fill(x, y, m.w, m.h, SPRITE_CLEAR);
        c.outline(x, y, m.w, m.h, ink);
        c.outline(x + 1, y + 1, m.w - 2, m.h - 2, ink);
    } else {
        c.fill(x, y, m.w, m.h, ink);
    }
    return c;
}

constexpr s32 ARROW_DIRECTIONS = 16;
constexpr double TURN = 6.283185307179586;

// An arrow on its own canvas, through its middle, in the colour of the marks it leads to,
// pointing in direction d (0 east, counting clockwise on the screen in steps of a sixteenth of a
// turn).
constexpr s32 ARROW_CANVAS = 97;
PlaceholderCanvas draw_arrow(s16 kind, s32 d) {
    PlaceholderCanvas c(ARROW_CANVAS, ARROW_CANVAS);
    const double a = TURN * d / ARROW_DIRECTIONS, ux = std::cos(a), uy = std::sin(a);
    auto at = [&](double along, double across) {
        return std::pair<s32, s32>{s32(std::lround(ARROW_CANVAS / 2 + along * ux - across * uy)),
                                   s32(std::lround(ARROW_CANVAS / 2 + along * uy + across * ux))};
    };
    for (const auto& [ink, grow] : {std::pair<s16, s32>{DARK, 2}, {kind, 0}}) {
        const auto [x0, y0] = at(-30 - grow, 0);
        const auto [x1, y1] = at(12, 0);
        c.line(x0, y0, x1, y1, 7 + 2 * grow, ink);
        const auto [tx, ty] = at(36 + 2 * grow, 0);
        const auto [lx, ly] = at(10 - grow, 15 + 2 * grow);
        const auto [rx, ry] = at(10 - grow, -15 - 2 * grow);
        c.triangle(tx, ty, lx, ly, rx, ry, ink);
    }
    return c;
}

// The direction (0..15) from (x, y) toward (tx, ty).
s32 direction(s32 x, s32 y, s32 tx, s32 ty) {
    const double a = std::atan2(double(ty - y), double(tx - x));
    const s32 d = s32(std::lround(a / TURN * ARROW_DIRECTIONS));
    return (d % ARROW_DIRECTIONS + ARROW_DIRECTIONS) % ARROW_DIRECTIONS;
}

// A zone's picture: the 256 x 256 tile inside a one-pixel border (rows of 258 RGB pixels).
constexpr s32 PICTURE = SIDE + 2;

// The ground's picture with its border repeating the tile's edge pixels.
std::vector<u8> bordered(const std::vector<u8>& tile) {
    std::vector<u8> picture(size_t(PICTURE * PICTURE * 3));
    for (s32 y = 0; y < PICTURE; ++y)
        for (s32 x = 0; x < PICTURE; ++x) {
            const s32 tx = std::clamp(x - 1, 0, SIDE - 1), ty = std::clamp(y - 1, 0, SIDE - 1);
            std::copy_n(&tile[size_t((ty * SIDE + tx) * 3)], 3,
                        &picture[size_t((y * PICTURE + x) * 3)]);
        }
    return picture;
}

// Puts the canvas's drawing over a zone's picture with its top left corner at tile pixel
// (x, y); the border takes what lies just outside the tile.
void stamp(std::vector<u8>& picture, const PlaceholderCanvas& c, s32 x, s32 y) {
    for (s32 j = std::max(0, -1 - y); j < c.height() && y + j <= SIDE; ++j)
        for (s32 i = std::max(0, -1 - x); i < c.width() && x + i <= SIDE; ++i) {
            const s16 ink = c.at(i, j);
            if (ink != SPRITE_CLEAR)
                std::copy_n(ink_rgb(ink), 3,
                            &picture[size_t(((y + j + 1) * PICTURE + x + i + 1) * 3)]);
        }
}

struct Zone {
    std::vector<u8> entry;
    s32 jpeg_length;
};

// The zone of ground k with the picture: the ground's attribute part (the same for every zone
// of that ground), then the picture's JPEG stream.
Zone zone_of(const std::vector<u8>& attributes, const std::vector<u8>& picture) {
    const std::vector<u8> jpeg = jpeg_writer_zone_full(picture.data(), JPEG_QUALITY);
    Zone zone{attributes, s32(jpeg.size())};
    zone.entry.insert(zone.entry.end(), jpeg.begin(), jpeg.end());
    return zone;
}

// ---- The maps ----------------------------------------------------------------------------------

// Everything the maps put into a builder, kept per process for the same marks: the maps are
// drawn once however often a test fixture builds an archive.
struct MapEntries {
    std::vector<PlaceholderMapMark> marks;
    std::vector<std::pair<u32, std::vector<u8>>> entries;
    std::vector<std::pair<u32, u32>> aliases;
};

MapEntries draw_maps(std::vector<PlaceholderMapMark> marks) {
    MapEntries out;
    std::vector<std::vector<u8>> ground, attributes;
    u32 plain[PLACEHOLDER_ZONE_COUNT];
    for (s32 k = 0; k < PLACEHOLDER_ZONE_COUNT; ++k) {
        ground.push_back(bordered(placeholder_zone_picture(k)));
        attributes.push_back(map_write_zone(zone_source_uniform(0, ground_terrain(k), {})));
        Zone zone = zone_of(attributes.back(), ground.back());
        const s32 id = PLACEHOLDER_ZONE_FIRST + k;
        plain[k] = map_cell(id, zone.jpeg_length);
        out.entries.emplace_back(u32(ARC_ZONE_BASE + id), std::move(zone.entry));
    }
    MapGridSource grid;
    grid.width = PLACEHOLDER_MAP_SIDE;
    grid.height = PLACEHOLDER_MAP_SIDE;
    for (s32 r = 0; r < CELLS; ++r)
        for (s32 c = 0; c < CELLS; ++c) grid.cells[size_t(r * CELLS + c)] = plain[ground_of(r, c)];
    const std::vector<u8> plain_grid = map_write_grid(grid);

    // The arrows' zones are shared by every map; the marked cells' zones are their map's own.
    constexpr s32 ARROW_ZONE_FIRST = PLACEHOLDER_ZONE_FIRST + PLACEHOLDER_ZONE_COUNT;
    s32 next_zone = ARROW_ZONE_FIRST + PLACEHOLDER_ZONE_COUNT * 2 * ARROW_DIRECTIONS;
    std::map<s32, u32> arrow_cells; // zone id -> cell word
    std::vector<PlaceholderCanvas> arrows;
    for (const s16 kind : {DOOR, STEP})
        for (s32 d = 0; d < ARROW_DIRECTIONS; ++d) arrows.push_back(draw_arrow(kind, d));
    std::vector<u8> tile;
    auto arrow_cell = [&](s32 k, bool door, s32 d) {
        const s32 a = (door ? 0 : ARROW_DIRECTIONS) + d;
        const s32 id = ARROW_ZONE_FIRST + k * 2 * ARROW_DIRECTIONS + a;
        if (const auto it = arrow_cells.find(id); it != arrow_cells.end()) return it->second;
        tile = ground[size_t(k)];
        stamp(tile, arrows[size_t(a)], (SIDE - ARROW_CANVAS) / 2, (SIDE - ARROW_CANVAS) / 2);
        Zone zone = zone_of(attributes[size_t(k)], tile);
        out.entries.emplace_back(u32(ARC_ZONE_BASE + id), std::move(zone.entry));
        return arrow_cells[id] = map_cell(id, zone.jpeg_length);
    };

    s32 plain_map = -1;
    for (s32 map = 0; map < PLACEHOLDER_MAP_COUNT; ++map) {
        std::vector<const PlaceholderMapMark*> here;
        for (const PlaceholderMapMark& m : marks)
            if (m.map == map) here.push_back(&m);
        if (here.empty()) {
            if (plain_map < 0) {
                plain_map = map;
                out.entries.emplace_back(u32(ARC_MAP_BASE + map), plain_grid);
            } else {
                out.aliases.emplace_back(u32(ARC_MAP_BASE + map), u32(ARC_MAP_BASE + plain_map));
            }
            continue;
        }
        // Arrows lead toward the nearest mark of each kind, doors and step areas taking turns
        // from cell to cell like the squares of a chequerboard where the map has both: the
        // nearest of the areas switched on, or of any when none of that kind is.
        bool has[2] = {false, false}, on[2] = {false, false}; // [door]
        for (const PlaceholderMapMark* m : here) {
            has[m->door] = true;
            on[m->door] = on[m->door] || !m->hidden;
        }
        std::vector<PlaceholderCanvas> drawn;
        for (const PlaceholderMapMark* m : here) drawn.push_back(draw_mark(*m));
        std::vector<bool> marked(size_t(CELLS * CELLS), false);
        for (const PlaceholderMapMark* m : here) {
            const s32 reach = mark_reach(*m), cx = m->x0 + m->w / 2, cy = m->y0 + m->h / 2;
            for (s32 r = std::max(0, (cy - reach) / SIDE);
                 r <= std::min(CELLS - 1, (cy + reach) / SIDE); ++r)
                for (s32 c = std::max(0, (cx - reach) / SIDE);
                     c <= std::min(CELLS - 1, (cx + reach) / SIDE); ++c)
                    marked[size_t(r * CELLS + c)] = true;
        }
        for (s32 r = 0; r < CELLS; ++r)
            for (s32 c = 0; c < CELLS; ++c) {
                const s32 k = ground_of(r, c), x = c * SIDE, y = r * SIDE;
                u32& cell = grid.cells[size_t(r * CELLS + c)];
                if (marked[size_t(r * CELLS + c)]) {
                    tile = ground[size_t(k)];
                    for (size_t i = 0; i < here.size(); ++i) {
                        const PlaceholderMapMark& m = *here[i];
                        const s32 reach = mark_reach(m);
                        stamp(tile, drawn[i], m.x0 + m.w / 2 - reach - x,
                              m.y0 + m.h / 2 - reach - y);
                    }
                    Zone zone = zone_of(attributes[size_t(k)], tile);
                    cell = map_cell(next_zone, zone.jpeg_length);
                    out.entries.emplace_back(u32(ARC_ZONE_BASE + next_zone), std::move(zone.entry));
                    next_zone++;
                    continue;
                }
                const s32 mx = x + SIDE / 2, my = y + SIDE / 2;
                const bool door = !has[0] || (has[1] && (r + c) % 2 == 1);
                const PlaceholderMapMark* nearest = nullptr;
                s64 best = 0;
                for (const PlaceholderMapMark* m : here) {
                    if (m->door != door || (on[door] && m->hidden)) continue;
                    const s64 dx = m->x - mx, dy = m->y - my, d = dx * dx + dy * dy;
                    if (nearest == nullptr || d < best) nearest = m, best = d;
                }
                cell = arrow_cell(k, door, direction(mx, my, nearest->x, nearest->y));
            }
        out.entries.emplace_back(u32(ARC_MAP_BASE + map), map_write_grid(grid));
    }
    out.marks = std::move(marks);
    return out;
}

} // namespace

std::vector<PlaceholderMapMark> placeholder_map_marks(const ArcBuilder& builder) {
    std::vector<PlaceholderMapMark> marks;
    Collect c{builder, marks};
    world_content_visit(collect, &c);
    return marks;
}

std::vector<u8> placeholder_zone_picture(s32 k) {
    const u8* base = ZONE_COLOURS[k & 3];
    std::vector<u8> rgb(size_t(SIDE * SIDE * 3));
    for (s32 y = 0; y < SIDE; ++y) {
        for (s32 x = 0; x < SIDE; ++x) {
            // A gentle texture and a darker line every 64 pixels.
            s32 shade = ((x * 7 + y * 13) % 17) - 8;
            if (x % 64 == 0 || y % 64 == 0) shade -= 40;
            u8* p = &rgb[size_t((y * SIDE + x) * 3)];
            for (s32 c = 0; c < 3; ++c) {
                const s32 v = base[c] + shade;
                p[c] = u8(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    return rgb;
}

void map_put_placeholder_maps(ArcBuilder& builder) {
    static MapEntries kept;
    std::vector<PlaceholderMapMark> marks = placeholder_map_marks(builder);
    if (kept.entries.empty() || kept.marks != marks) kept = draw_maps(std::move(marks));
    for (const auto& [id, bytes] : kept.entries) builder.put(id, bytes);
    for (const auto& [id, source] : kept.aliases) builder.alias(id, source);
}
