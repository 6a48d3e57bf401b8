// Arbitrary bytes as a JPEG stream, through both decoding functions: into a zone tile and onto a
// screen at positions that straddle its edges, mirrored and not, in the layout the input's
// length picks. The input is libFuzzer's own exactly-sized copy, so any read past the stream is
// caught; writes outside the tile or the screen land outside their heap blocks.
#include "engine/blit.h"
#include "engine/jpg.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<u16> screen(640 * 480);
    static std::vector<u16> tile(65536);
    if (size > (1u << 24)) return 0;
    const s32 n = static_cast<s32>(size);
    display_565 = static_cast<s32>(size & 1);
    jpg_target = screen.data();
    jpg_target_width = 640;
    jpg_decode_zone(data, n, tile.data());
    jpg_draw(-7, -5, data, n, 0);
    jpg_draw(600, 450, data, n, 1);
    jpg_target = nullptr;
    return 0;
}
