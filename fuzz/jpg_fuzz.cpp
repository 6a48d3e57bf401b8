// Fuzz target for the JPEG decoder: a stream (whole, or the data after a header made from a
// template, see fuzz/jpg_fuzz_input.h) goes through both decoding functions: into a zone tile
// and onto a screen at positions that straddle its edges, mirrored and not, in the layout the
// input picks. The stream lies in a heap block of exactly its size, so any read past it is
// caught; writes outside the tile or the screen land outside their heap blocks.
//
// Seeds: fuzz/seeds/jpg_fuzz_seeds.cpp.
#include "engine/blit.h"
#include "engine/jpg.h"
#include "fuzz/jpg_fuzz_input.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<u16> screen(640 * 480);
    static std::vector<u16> tile(65536);
    if (size < JPG_FUZZ_CONTROL || size > (1u << 22)) return 0;
    const std::vector<u8> built = jpg_fuzz_stream(data, size);
    const s32 n = static_cast<s32>(built.size());
    std::unique_ptr<u8[]> stream(new u8[std::max<size_t>(built.size(), 1)]);
    if (!built.empty()) std::memcpy(stream.get(), built.data(), built.size());

    display_565 = data[0] & 1;
    jpg_target = screen.data();
    jpg_target_width = 640;
    jpg_decode_zone(stream.get(), n, tile.data());
    jpg_draw(-7, -5, stream.get(), n, 0);
    jpg_draw(600, 450, stream.get(), n, 1);
    if (data[0] & 8) {
        // The bottom rows of a tall picture: every row above them is decoded.
        const s32 height = 1 + (data[3] | data[4] << 8) % (JPG_MAX_HEIGHT + 8);
        jpg_draw(3, 470 - height, stream.get(), n, (data[0] >> 4) & 1);
    }
    jpg_target = nullptr;
    return 0;
}
