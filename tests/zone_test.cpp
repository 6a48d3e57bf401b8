// Maps, zones and terrain: the terrain lookup table, refused grid and zone entries, the zone
// cache, the frame refresh of map_load, and the zone painter at cameras that are not multiples
// of 256 (also left of and above the map, and past the grid) in both pixel layouts.
#include "engine/world/zone.h"

#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/jpg.h"
#include "engine/math.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/jpeg_writer.h"
#include "tools/map_writer.h"
#include "tools/placeholder_maps.h"
#include "tools/sprite_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

std::vector<u8> two_colour_tile(const u8 left[3], const u8 right[3]) {
    std::vector<u8> rgb(size_t(256 * 256 * 3));
    for (s32 i = 0; i < 256 * 256; ++i) {
        const u8* c = (i % 256) < 128 ? left : right;
        std::memcpy(&rgb[size_t(i * 3)], c, 3);
    }
    return jpeg_writer_zone(rgb.data(), 95);
}

std::vector<u8> grey_tile() {
    const u8 grey[3] = {128, 128, 128};
    return two_colour_tile(grey, grey);
}

// An attribute with every field set: class 5, kind 2, every plane, bits 7-8 = 3, shade 5,
// footstep 9, depth 200.
constexpr u32 FULL = 5 | 2 << 4 | 1 << 6 | 3 << 7 | 5 << 9 | 9 << 12 | 200u << 16;
constexpr u32 T1 = 0x110001;
constexpr u32 T2 = 0x220002;
constexpr u32 T0 = 0x010003;

// The terrain zone: row 0 one run of FULL, row 1 {100 x T1, 156 x T2}, row 2 a short row
// {50 x T1}, row 3 runs past 256 columns {200 x T1, 200 x T2, 200 x T1}, every other row T0.
ZoneSource terrain_zone() {
    ZoneSource z = zone_source_uniform(0, T0, grey_tile());
    z.terrain[0] = zone_row_uniform(FULL);
    z.terrain[1] = {{100, T1}, {156, T2}};
    z.terrain[2] = {{50, T1}};
    z.terrain[3] = {{200, T1}, {200, T2}, {200, T1}};
    return z;
}

constexpr s32 TERRAIN_ZONE = 5;
constexpr u16 RED = 0x7C00;

// Map 1: 1024 x 768; cell (0, 0) red, cell (0, 1) the terrain zone, the rest colours.
void put_terrain_map(ArcBuilder& b) {
    const std::vector<u8> zone = map_write_zone(terrain_zone());
    b.put(ARC_ZONE_BASE + TERRAIN_ZONE, zone);
    MapGridSource g;
    g.width = 1024;
    g.height = 768;
    g.cells.fill(map_cell_colour(0x03E0));
    g.cells[0] = map_cell_colour(RED);
    g.cells[1] = map_cell(TERRAIN_ZONE, s32(terrain_zone().jpeg.size()));
    b.put(ARC_MAP_BASE + 1, map_write_grid(g));
}

class ZoneTest : public ::testing::Test {
  protected:
    void start(const ArcBuilder& b, s32 layout_565 = 0) {
        HarnessConfig c;
        c.display_565 = layout_565;
        engine_start(b, c);
        object_reset();
        std::memset(&map_grid, 0, sizeof map_grid);
    }
    void TearDown() override { shell_shutdown(); }
    HarnessTempDir dir;
};

TEST_F(ZoneTest, TerrainAtFollowsTheRunsAndReadsZeroWhereNothingCovers) {
    ArcBuilder b;
    put_terrain_map(b);
    start(b);
    map_load(1);
    ASSERT_EQ(world_state.map_width, 1024);
    ASSERT_EQ(world_state.map_height, 768);

    struct Case {
        s32 x, y;
        u32 attribute;
    };
    const Case cases[] = {
        {256, 0, FULL}, {511, 0, FULL}, // one run of 256 covers the whole row
        {356, 1, T2},   {355, 1, T1},   // run boundary at 100
        {300, 2, T1},   {306, 2, 0},    // a short row: uncovered pixels read 0
        {456, 3, T2},   {511, 3, T2},   // runs past 256 columns stop at the row's end
        {300, 200, T0}, {10, 10, 0},    // an ordinary row; an empty (colour) cell
        {-1, 10, 0},    {1024, 10, 0},  // left of and right of the map
        {300, -1, 0},   {300, 768, 0},  // above and below the map
    };
    for (const Case& c : cases) {
        std::memset(&world_state.terrain_word, 0xAA, 10); // stale fields must be cleared
        terrain_at(c.x, c.y);
        EXPECT_EQ(world_state.terrain_word, u16(c.attribute)) << c.x << "," << c.y;
        EXPECT_EQ(world_state.terrain_depth, u8(c.attribute >> 16)) << c.x << "," << c.y;
        if (c.attribute == 0) {
            EXPECT_EQ(world_state.terrain_kind_mask, 0) << c.x << "," << c.y;
            EXPECT_EQ(world_state.terrain_shade, 0) << c.x << "," << c.y;
        }
    }

    terrain_at(300, 0);
    EXPECT_EQ(world_state.terrain_class, 5);
    EXPECT_EQ(world_state.terrain_kind, 2);
    EXPECT_EQ(world_state.terrain_kind_mask, 7);
    EXPECT_EQ(world_state.terrain_walk_all, 1);
    EXPECT_EQ(world_state.terrain_bits78, 3);
    EXPECT_EQ(world_state.terrain_shade, 20);
    EXPECT_EQ(world_state.terrain_footstep, 9);
    EXPECT_EQ(world_state.terrain_depth, 200);
}

TEST_F(ZoneTest, TerrainAtPastTheGridOfATallMapReadsZero) {
    ArcBuilder b;
    put_terrain_map(b);
    start(b);
    map_load(1);
    world_state.map_width = 17000; // taller and wider than 64 zones
    world_state.map_height = 17000;
    for (s32 r = 0; r < MAP_GRID_SIDE; ++r) map_grid.cells[r][63] = map_grid.cells[0][1];
    terrain_at(16500, 300);
    EXPECT_EQ(world_state.terrain_word, 0);
    terrain_at(300, 16500);
    EXPECT_EQ(world_state.terrain_word, 0);
    terrain_at(63 * 256 + 10, 300);
    EXPECT_EQ(world_state.terrain_word, u16(T0));
}

TEST_F(ZoneTest, GridEntriesThatDoNotFitTheBufferAreRefused) {
    ArcBuilder b;
    put_terrain_map(b);
    std::vector<u8> grid = b.entries().at(ARC_MAP_BASE + 1);
    std::vector<u8> big = grid;
    big.push_back(0);
    b.put(ARC_MAP_BASE + 3, big);
    b.put(ARC_MAP_BASE + 4, std::vector<u8>(grid.begin(), grid.begin() + 16389));
    b.put(ARC_MAP_BASE + 6, std::vector<u8>(grid.begin(), grid.begin() + 16390));
    const std::pair<s32, const char*> refused[] = {
        {3, "zone:map 3 size 16449"}, {4, "zone:map 4 size 16389"}, {5, "zone:map 5 size 0"}};
    for (const auto& [refused_map, message] : refused) {
        const s32 map = refused_map;
        start(b);
        map_load(1);
        EXPECT_EQ(harness_fatal_message([map] { map_load(map); }), message);
        // The grid in use is untouched by a refused entry.
        EXPECT_EQ(map_grid.width, 1024);
        EXPECT_EQ(map_grid.cells[0][0], map_cell_colour(RED));
    }
    // A grid that just reaches the height field is taken.
    start(b);
    map_load(6);
    EXPECT_EQ(world_state.map_height, 768);
}

TEST_F(ZoneTest, MalformedZoneEntriesAreRefusedBeforeDecoding) {
    const std::vector<u8> good = map_write_zone(terrain_zone());
    const s32 jpeg_length = s32(terrain_zone().jpeg.size());
    const s32 attr_size = s32(good.size()) - jpeg_length;
    auto patched = [&](s32 word, u32 value) {
        std::vector<u8> z = good;
        for (s32 i = 0; i < 4; ++i) z[size_t(4 * word + i)] = u8(value >> (8 * i));
        return z;
    };
    struct Bad {
        const char* what;
        std::vector<u8> entry;
        s32 cell_length;
    };
    const Bad bad[] = {
        {"jpeg longer than the entry", good, s32(good.size()) + 1},
        {"jpeg leaves no header", good, s32(good.size()) - 8},
        {"tile offset does not match", patched(3, u32(attr_size + 4)), jpeg_length},
        {"occlusion rows outside", patched(0, u32(attr_size - 10)), jpeg_length},
        {"terrain rows outside", patched(1, u32(attr_size - 300)), jpeg_length},
        {"offset inside the header", patched(1, 4), jpeg_length},
        {"empty entry", {}, jpeg_length},
    };
    for (const Bad& z : bad) {
        ArcBuilder b;
        b.put(ARC_ZONE_BASE + 9, z.entry);
        start(b);
        const u32 cell = map_cell(9, z.cell_length);
        EXPECT_EQ(harness_fatal_message([&] { zone_load(cell); }), "zone:9 bad entry") << z.what;
    }
    EXPECT_EQ(harness_fatal_message([] { zone_load(map_cell_colour(RED)); }),
              "zone:this can not happen!");
}

TEST_F(ZoneTest, APictureThatIsNotZoneSizedLeavesTheTileBlack) {
    std::vector<u8> rgb(size_t(64 * 64 * 3), 200);
    ZoneSource z = zone_source_uniform(7, T1, jpeg_writer_encode(rgb.data(), 64, 64));
    ArcBuilder b;
    b.put(ARC_ZONE_BASE + 9, map_write_zone(z));
    start(b);
    map_grid.cells[0][0] = map_cell(9, s32(z.jpeg.size()));
    world_state.map_width = 640;
    world_state.map_height = 480;
    std::fill(back_buffer, back_buffer + SCREEN_PIXELS, u16(0x1234));
    zone_draw(0, 0);
    for (const s32 at : {0, 255, 255 * 640 + 255, 100 * 640 + 17}) {
        EXPECT_EQ(back_buffer[at], 0) << at;
        EXPECT_EQ(occlusion_plane[at], 7) << at;
    }
    terrain_at(10, 10);
    EXPECT_EQ(world_state.terrain_word, u16(T1));
}

TEST_F(ZoneTest, ZonesAreDecodedOnceWhileTheRingHoldsThemAndStirEveryTime) {
    ArcBuilder b;
    put_terrain_map(b);
    start(b);
    map_load(1);
    const u32 cell = map_grid.cells[0][1];
    u32 state = rt_rand_state;
    const u8* first = zone_load(cell);
    EXPECT_NE(rt_rand_state, state);
    const s32 blocks = ring_count;
    state = rt_rand_state;
    EXPECT_EQ(zone_load(cell), first);
    EXPECT_EQ(ring_count, blocks);
    EXPECT_NE(rt_rand_state, state);
    EXPECT_EQ(ring_find(ARC_ZONE_BASE + TERRAIN_ZONE), first);
    // After the ring empties, the zone is decoded again and reads the same.
    ring_reset();
    terrain_at(300, 1);
    EXPECT_EQ(world_state.terrain_word, u16(T1));
}

TEST_F(ZoneTest, MapLoadRefreshesTheSizesOfTheNewMapsObjects) {
    ArcBuilder b;
    put_terrain_map(b);
    b.alias(ARC_MAP_BASE + 7, ARC_MAP_BASE + 1);
    SpriteSource s;
    s.width = 30;
    s.height = 50;
    s.hot_x = 15;
    s.hot_y = -12;
    s.cells.assign(30 * 50, 1);
    s.palettes.push_back({});
    b.put(ARC_IMAGE_BASE + 40, sprite_writer_encode(s));
    start(b);
    world_state.current_map = 3;
    attr_set(9, ATTR_IN_USE, 1);
    attr_set(9, ATTR_ACTIVE, 1);
    attr_set(9, ATTR_MAP, 7);
    attr_set(9, ATTR_FRAME, 40);
    EXPECT_EQ(attr_get(9, ATTR_WIDTH), 0);
    map_load(7);
    EXPECT_EQ(world_state.current_map, 7);
    EXPECT_EQ(attr_get(9, ATTR_FRAME), 40);
    EXPECT_EQ(attr_get(9, ATTR_WIDTH), 30);
    EXPECT_EQ(attr_get(9, ATTR_HEIGHT), 50);
    EXPECT_EQ(attr_get(9, ATTR_HOT_X), 15);
    EXPECT_EQ(attr_get(9, ATTR_HOT_Y), 65536 - 12);
}

TEST_F(ZoneTest, PlaceholderMapsAreWalkableEverywhereAndShareTheirEntries) {
    ArcBuilder b;
    map_put_placeholder_maps(b);
    // Maps with doors, portals or step areas have grids of their own; the others share one.
    const std::vector<PlaceholderMapMark> marks = placeholder_map_marks(b);
    std::set<s32> marked;
    for (const PlaceholderMapMark& m : marks) marked.insert(m.map);
    ASSERT_TRUE(marked.count(10));
    EXPECT_FALSE(marked.count(5));
    EXPECT_FALSE(marked.count(255));
    std::set<u32> shared;
    for (const auto& [id, source] : b.aliases()) shared.insert(source);
    EXPECT_EQ(shared.size(), 1u);
    EXPECT_EQ(b.aliases().size(), size_t(PLACEHOLDER_MAP_COUNT - 1) - marked.size());
    start(b);
    std::set<s32> footsteps;
    for (const s32 map : {0, 5, 10, 252, 255}) {
        map_load(map);
        EXPECT_EQ(world_state.map_width, PLACEHOLDER_MAP_SIDE);
        EXPECT_EQ(world_state.map_height, PLACEHOLDER_MAP_SIDE);
        std::vector<std::pair<s32, s32>> points;
        for (const s32 at : {0, 1029, 2266, 8000, 16383}) points.emplace_back(at, at);
        for (const PlaceholderMapMark& m : marks)
            if (m.map == map) points.emplace_back(m.x, m.y);
        for (const auto& [x, y] : points) {
            terrain_at(x, y);
            EXPECT_NE(world_state.terrain_class & TERRAIN_PLANE_MASKS[0], 0)
                << map << ":" << x << "," << y;
            EXPECT_EQ(world_state.terrain_walk_all, 1);
            footsteps.insert(world_state.terrain_footstep);
        }
    }
    EXPECT_GE(footsteps.size(), size_t(2));
    EXPECT_EQ(*footsteps.begin(), 1);
    std::fill(back_buffer, back_buffer + SCREEN_PIXELS, u16(0));
    zone_draw(1000, 700);
    EXPECT_NE(back_buffer[0], 0);
    EXPECT_NE(back_buffer[SCREEN_PIXELS - 1], 0);
}

// The colour of grid cell (r, c) in the painter test.
u16 cell_colour(s32 r, s32 c) {
    return u16(((r * 5 + c) & 31) << 10 | ((c * 3) & 31) << 5 | ((r * 7 + 1) & 31));
}

class ZoneDrawTest : public ZoneTest {
  protected:
    static constexpr s32 JPEG_ZONE = 12;
    // A 16 x 12 grid of colour cells but for cell (1, 2): a JPEG zone, red left of x 128 and blue
    // from it, occlusion 10 / 20 on the same halves, rows 200 and below covering only 100 pixels
    // with depth 30.
    void start_layout(s32 layout) {
        const u8 red[3] = {255, 0, 0};
        const u8 blue[3] = {0, 0, 255};
        ZoneSource z = zone_source_uniform(0, T1, two_colour_tile(red, blue));
        for (s32 y = 0; y < 256; ++y) {
            z.occlusion[size_t(y)] = y < 200 ? ZoneRow{{128, 10}, {128, 20}} : ZoneRow{{100, 30}};
        }
        ArcBuilder b;
        b.put(ARC_ZONE_BASE + JPEG_ZONE, map_write_zone(z));
        start(b, layout);
        for (s32 r = 0; r < MAP_GRID_SIDE; ++r) {
            for (s32 c = 0; c < MAP_GRID_SIDE; ++c)
                map_grid.cells[r][c] = map_cell_colour(cell_colour(r, c));
        }
        map_grid.cells[1][2] = map_cell(JPEG_ZONE, s32(z.jpeg.size()));
        world_state.map_width = 4096;
        world_state.map_height = 3072;
        std::fill(back_buffer, back_buffer + SCREEN_PIXELS, u16(0x1234));
        std::memset(occlusion_plane, 0x55, size_t(SCREEN_PIXELS));
    }
    u16 shown(u16 c555) const { return display_565 ? colour_555_to_565(c555) : c555; }
    // Red and blue channels of a pixel on a 0..31 scale.
    void channels(u16 p, s32& r, s32& b) const {
        r = display_565 ? p >> 11 : (p >> 10) & 31;
        b = p & 31;
    }
};

TEST_F(ZoneDrawTest, CellsLandWhereTheCameraPutsThemInBothLayouts) {
    for (const s32 layout : {0, 1}) {
        start_layout(layout);
        const s32 cx = 300, cy = 200; // neither a multiple of 256
        zone_draw(cx, cy);
        for (const auto& [sx, sy] : std::vector<std::pair<s32, s32>>{
                 {0, 0}, {211, 55}, {212, 56}, {639, 479}, {467, 311}, {468, 312}, {5, 470}}) {
            const s32 mx = cx + sx, my = cy + sy;
            const s32 r = my / 256, c = mx / 256;
            if (r == 1 && c == 2) continue;
            EXPECT_EQ(back_buffer[sy * 640 + sx], shown(cell_colour(r, c)))
                << layout << ":" << sx << "," << sy;
            EXPECT_EQ(occlusion_plane[sy * 640 + sx], 0) << sx << "," << sy;
        }
        // The JPEG zone covers map 512..767 x 256..511, screen 212..467 x 56..311.
        s32 red = 0, blue = 0;
        channels(back_buffer[100 * 640 + 212 + 60], red, blue);
        EXPECT_GT(red, 25) << layout;
        EXPECT_LT(blue, 6) << layout;
        channels(back_buffer[100 * 640 + 212 + 200], red, blue);
        EXPECT_LT(red, 6) << layout;
        EXPECT_GT(blue, 25) << layout;
        EXPECT_EQ(occlusion_plane[100 * 640 + 212 + 127], 10);
        EXPECT_EQ(occlusion_plane[100 * 640 + 212 + 128], 20);
        EXPECT_EQ(occlusion_plane[(56 + 210) * 640 + 212 + 99], 30);
        EXPECT_EQ(occlusion_plane[(56 + 210) * 640 + 212 + 100], 0); // uncovered
        EXPECT_EQ(occlusion_plane[(56 + 255) * 640 + 212 + 255], 0);
    }
}

TEST_F(ZoneDrawTest, ACameraOutsideTheGridSkipsTheCellsThere) {
    for (const s32 layout : {0, 1}) {
        start_layout(layout);
        zone_draw(-100, -60); // left of and above the map
        EXPECT_EQ(back_buffer[30 * 640 + 50], 0x1234);
        EXPECT_EQ(back_buffer[30 * 640 + 150], 0x1234);
        EXPECT_EQ(back_buffer[80 * 640 + 50], 0x1234);
        EXPECT_EQ(occlusion_plane[30 * 640 + 50], 0);
        EXPECT_EQ(back_buffer[60 * 640 + 100], shown(cell_colour(0, 0)));
        EXPECT_EQ(back_buffer[60 * 640 + 356], shown(cell_colour(0, 1)));
        EXPECT_EQ(back_buffer[316 * 640 + 100], shown(cell_colour(1, 0)));

        start_layout(layout);
        zone_draw(64 * 256 - 400, 64 * 256 - 300); // past the 64th column and row
        EXPECT_EQ(back_buffer[0], shown(cell_colour(62, 62)));
        EXPECT_EQ(back_buffer[299 * 640 + 399], shown(cell_colour(63, 63)));
        EXPECT_EQ(back_buffer[299 * 640 + 400], 0x1234);
        EXPECT_EQ(back_buffer[300 * 640 + 399], 0x1234);
        EXPECT_EQ(occlusion_plane[479 * 640 + 639], 0);
    }
}

} // namespace
