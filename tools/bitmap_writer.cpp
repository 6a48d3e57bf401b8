#include "tools/bitmap_writer.h"

#include "engine/sprite.h"

#include <stdexcept>

std::vector<u8> bitmap_writer_encode(s32 width, s32 height, s32 hot_x, s32 hot_y,
                                     const std::vector<u16>& pixels) {
    if (width < 0 || width > 65535 || height < 0 || height > 65535 ||
        pixels.size() != size_t(width) * size_t(height))
        throw std::invalid_argument("bitmap_writer: size and pixels disagree");
    std::vector<u8> out;
    out.reserve(16 + pixels.size() * 2);
    auto put16 = [&](u32 v) {
        out.push_back(u8(v));
        out.push_back(u8(v >> 8));
    };
    put16(u32(width));
    put16(u32(height));
    put16(u32(u16(s16(hot_x))));
    put16(u32(u16(s16(hot_y))));
    put16(RAW_BITMAP_MAGIC & 0xFFFF);
    put16(RAW_BITMAP_MAGIC >> 16);
    put16(0);
    put16(0);
    for (u16 p : pixels) put16(p);
    return out;
}
