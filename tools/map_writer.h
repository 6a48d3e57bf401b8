// The archive builder's map writers: map grid entries (64 x 64 cell words, width and height) and
// zone entries (the four offsets, occlusion rows, terrain rows, then the 258 x 258 JPEG tile).
// The entry formats are the ones engine/world/zone.h reads.
#pragma once
#include "engine/types.h"

#include <array>
#include <vector>

// One run of a zone row: `length` pixels (1..256) of one value (an occlusion depth 0..255, or a
// 24-bit terrain attribute).
struct ZoneRun {
    s32 length;
    u32 value;
};
using ZoneRow = std::vector<ZoneRun>;

struct ZoneSource {
    // 256 rows each; a row's runs should cover its 256 pixels (the writer does not insist, so
    // tests can write short rows). An occlusion row holds at most 127 runs, a terrain row 63.
    std::vector<ZoneRow> occlusion;
    std::vector<ZoneRow> terrain;
    std::vector<u8> jpeg; // the tile stream (jpeg_writer_zone), at most 65535 bytes
};

struct MapGridSource {
    s32 width = 640;                  // pixels, 0..65535
    s32 height = 480;                 // pixels, 0..65535
    std::array<u32, 64 * 64> cells{}; // row-major; map_cell / map_cell_colour words
};

// A terrain attribute from its fields (each masked to its width).
u32 terrain_attribute(u32 terrain_class, u32 kind, u32 walk_all, u32 shade, u32 footstep,
                      u32 depth);
// A row of one run covering all 256 pixels.
ZoneRow zone_row_uniform(u32 value);
// A zone whose every occlusion pixel is `depth` and every terrain pixel `terrain`.
ZoneSource zone_source_uniform(u8 depth, u32 terrain, std::vector<u8> jpeg);

// The zone entry bytes. Fatal ("map_writer: ...") for a row count other than 256, a run length
// outside 1..256, too many runs in a row, or a JPEG stream longer than 65535 bytes.
std::vector<u8> map_write_zone(const ZoneSource& source);
// The cell word of a zone with a JPEG stream of `jpeg_length` bytes (1..65535).
u32 map_cell(s32 zone_id, s32 jpeg_length);
// The cell word of an empty cell filled with a 5-5-5 colour.
u32 map_cell_colour(u16 colour_555);
// The grid entry bytes (16,448, the size of the reader's grid buffer).
std::vector<u8> map_write_grid(const MapGridSource& source);
