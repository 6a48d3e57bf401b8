// Maps, zones and terrain.
//
// A map is a grid of up to 64 x 64 square zones of 256 x 256 pixels. The grid entry (archive id
// ARC_MAP_BASE + map) gives, per cell, the byte length of the zone's JPEG tile (low 16 bits) and
// the zone id (high 16 bits); a cell whose length is 0 is empty and its high half is the 5-5-5
// colour that fills it. A zone entry (ARC_ZONE_BASE + zone id) is an attribute part - four u32
// offsets, then the occlusion rows and the terrain rows - followed by the JPEG tile, exactly L
// bytes at the end of the entry.
//
// Both row sets hold 256 rows; a row is a count byte n and n bytes of runs. An occlusion run is
// (length - 1, depth); a terrain run is (length - 1) and a 24-bit little-endian attribute. Row
// walks stop at the count byte and at 256 columns; pixels no run covers read 0.
//
// Decoded zones live in the ring under their archive id: a copy of the attribute part followed
// by the 256 x 256 tile in the display's layout, so word 3 is also the tile's offset.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 MAP_GRID_SIDE = 64;         // cells per grid row and column
constexpr s32 MAP_GRID_BYTES = 16448;     // the grid buffer; a grid entry must fit it
constexpr s32 MAP_GRID_MIN_BYTES = 16390; // a grid entry must reach the height field
constexpr s32 ZONE_SIDE_PIXELS = 256;
constexpr s32 ZONE_ROWS = 256;
constexpr s32 ZONE_HEADER_BYTES = 16;          // the four offsets of the attribute part
constexpr s32 ZONE_TILE_BYTES = 256 * 256 * 2; // the decoded tile
constexpr s32 ZONE_WORD_OCCLUSION = 0;         // offset words of the attribute part
constexpr s32 ZONE_WORD_TERRAIN = 1;
constexpr s32 ZONE_WORD_TILE = 3;

// The grid buffer as it lies in the archive entry (little-endian).
#pragma pack(push, 1)
struct MapGrid {
    u32 cells[MAP_GRID_SIDE][MAP_GRID_SIDE]; // [row][column]; cell (r, c) covers x 256c.., y 256r..
    u16 width;                               // map width in pixels
    u16 reserved_1;
    u16 height; // map height in pixels
    u8 reserved_2[MAP_GRID_BYTES - 16390];
};
#pragma pack(pop)
static_assert(sizeof(MapGrid) == MAP_GRID_BYTES);
static_assert(offsetof(MapGrid, width) == 16384);
static_assert(offsetof(MapGrid, height) == 16388);

extern MapGrid map_grid;

// Terrain attribute fields (24 bits).
constexpr u32 TERRAIN_CLASS_MASK = 0x0F;   // bits 0-3: walkable on plane p when class & mask[p]
constexpr u32 TERRAIN_KIND_SHIFT = 4;      // bits 4-5
constexpr u32 TERRAIN_WALK_ALL = 1u << 6;  // bit 6: walkable on every plane
constexpr u32 TERRAIN_BITS78_SHIFT = 7;    // bits 7-8
constexpr u32 TERRAIN_SHADE_SHIFT = 9;     // bits 9-11: shade 0..7
constexpr u32 TERRAIN_FOOTSTEP_SHIFT = 12; // bits 12-15: sound 100 + value
constexpr u32 TERRAIN_DEPTH_SHIFT = 16;    // bits 16-23: ground depth level
// Walk mask per plane (and per terrain kind for `world_state.terrain_kind_mask`).
constexpr u8 TERRAIN_PLANE_MASKS[4] = {1, 3, 7, 15};

// Makes map `map` current: world_state.current_map, the grid, map_width and map_height, then
// writes every object's ATTR_FRAME back so that the new map's objects take their image sizes.
// Fatal "zone:map %d size %d" for a grid entry larger than the buffer or too short to hold the
// height field; the current grid is then untouched.
void map_load(s32 map);

// The decoded zone block of a non-empty cell (ring, key ARC_ZONE_BASE + zone id); stirs
// rand_counter on every call. Fatal "zone:this can not happen!" for an empty cell, and
// "zone:%d bad entry" for an entry whose parts do not lie inside it (JPEG longer than the
// entry, attribute part not matching, rows outside the attribute part). A picture that is not
// 258 x 258 is refused by the decoder before it writes: the tile stays black.
u8* zone_load(u32 cell);

// Paints the 3 rows x 4 columns of zones under the camera into the drawing target and the
// occlusion plane. Cells outside the grid (a camera left of or above the map, or past its
// 64th column or row) are not drawn; their occlusion bytes are 0.
void zone_draw(s32 camera_x, s32 camera_y);

// Fills the nine terrain fields of world_state for map pixel (x, y); all 0 outside the map,
// outside the grid, on an empty cell or on a pixel no terrain run covers.
void terrain_at(s32 x, s32 y);

// The terrain attribute of pixel (x, y) of a zone (0..255 each) from the decoded zone block:
// the row walk of terrain_at, bounded by the row's count byte and 256 columns. -1 when no run
// covers the pixel.
s32 zone_terrain_attribute(const u8* zone, s32 x, s32 y);
