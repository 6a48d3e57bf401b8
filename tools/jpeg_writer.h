// The archive builder's JPEG writers: encode a pixel grid into a JPEG stream with libjpeg's
// compressor, for JPEG pictures (image entries of JPEG kind) and for the 258 x 258 pictures that
// zones carry.
//
// A JPEG picture entry is told from the other image kinds by "JFIF" at byte 6, and a raw bitmap
// by 0x19700328 at byte 8. The writers always produce the JFIF marker right after the start of
// the stream, so their pictures are of JPEG kind; only a caller that asks for it
// (`JpegWriteOptions::jfif_marker` false) gets a stream without it, which then is not of JPEG
// kind. A stream that would still collide with a kind marker is a fatal error.
#pragma once
#include "engine/types.h"

#include <vector>

struct JpegWriteOptions {
    s32 quality = 90;         // libjpeg quality 1..100 (values outside are clamped)
    s32 components = 3;       // bytes per pixel of the grid: 3 RGB, 1 grey, 4 CMYK
    bool jfif_marker = true;  // false only to make a JPEG stream that is not of JPEG kind
    bool progressive = false; // a multi-scan stream in place of a baseline one
};

// Encodes width x height pixels (options.components bytes each, rows top first, no padding)
// into a JPEG stream. Fatal ("jpeg_writer: ...") for a size outside 1..65500 or a component
// count other than 1, 3 or 4.
std::vector<u8> jpeg_writer_encode(const u8* pixels, s32 width, s32 height,
                                   const JpegWriteOptions& options = {});

// Zone picture from a 256 x 256 RGB tile (rows of 768 bytes): the stream is 258 x 258, its
// outermost rows and columns repeat the tile's edge pixels (the decoder reads them for the
// error diffusion and does not store them).
std::vector<u8> jpeg_writer_zone(const u8* rgb_tile, s32 quality = 90);

// Zone picture from a whole 258 x 258 RGB picture, border included (rows of 774 bytes).
std::vector<u8> jpeg_writer_zone_full(const u8* rgb_picture, s32 quality = 90);

// 1 when the bytes would be taken as a JPEG picture ("JFIF" at byte 6), else 0.
s32 jpeg_writer_is_jpeg_kind(const std::vector<u8>& stream);
