// The archive builder's writer of raw 16-bit bitmaps: a header with size, hotspot and the
// raw-bitmap marker, then the pixels row by row in 5-5-5.
#pragma once
#include "engine/types.h"

#include <vector>

// Encodes width x height 5-5-5 pixels (rows top first). The marker at byte 8 makes the entry a
// raw bitmap; bytes 6..9 can never read "JFIF".
std::vector<u8> bitmap_writer_encode(s32 width, s32 height, s32 hot_x, s32 hot_y,
                                     const std::vector<u16>& pixels);
