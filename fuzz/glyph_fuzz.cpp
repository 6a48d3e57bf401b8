// Fuzz target for the glyph decoder: arbitrary bytes are a glyph master entry. The entry is
// decoded from a heap block of exactly its size into a bitmap of exactly 1152 bytes, the bitmap
// is written again by the archive builder's encoder and must decode to itself, and it is scaled
// and drawn into a small target of exactly its size. Any read or write outside these blocks is
// a sanitizer report; a round trip that changes the bitmap traps.
//
// Input: bytes 0..7 choose the drawing (byte 0 bit 0 the layout, byte 1 the size step, byte 2
// the mode, bytes 3..4 the pen and 5..7 the clip as signed bytes); the rest is the entry. An
// input shorter than 8 bytes is all entry, drawn with the defaults.
#include "engine/blit.h"
#include "engine/kanji.h"
#include "tools/glyph_writer.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr s32 W = 40;
constexpr s32 H = 36;
constexpr size_t CONTROL = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    const bool has_control = size >= CONTROL;
    const u8* entry = has_control ? data + CONTROL : data;
    const size_t entry_size = has_control ? size - CONTROL : size;

    std::unique_ptr<u8[]> src(new u8[entry_size + 1]);
    if (entry_size) std::memcpy(src.get(), entry, entry_size);
    std::unique_ptr<u8[]> master(new u8[GLYPH_MASTER_BYTES]);
    kanji_decode_master(src.get(), s32(entry_size), master.get());

    // The writer's stream of the decoded bitmap decodes to the same bitmap.
    GlyphMaster copy;
    std::memcpy(copy.data(), master.get(), GLYPH_MASTER_BYTES);
    const std::vector<u8> again = glyph_writer_encode(copy);
    std::unique_ptr<u8[]> round(new u8[GLYPH_MASTER_BYTES]);
    kanji_decode_master(again.data(), s32(again.size()), round.get());
    if (std::memcmp(round.get(), master.get(), GLYPH_MASTER_BYTES) != 0) __builtin_trap();

    std::unique_ptr<u16[]> pixels(new u16[W * H]);
    std::memset(pixels.get(), 0x5A, sizeof(u16) * W * H);
    kanji_reset();
    if (has_control) {
        display_565 = data[0] & 1;
        kanji_size = s8(data[1]);
        kanji_mode = data[2] & 7; // 4..7 draw as mode 0
        kanji_pen_x = s8(data[3]);
        kanji_pen_y = s8(data[4]);
        kanji_clip_left = s8(data[5]);
        kanji_clip_top = s8(data[6]);
        kanji_clip_right = s8(data[7]) + 100; // often wider than the target
        kanji_clip_bottom = 479;
        kanji_set_colour(KANJI_COLOUR_MAIN, data[0] * 129);
    }
    blit_target_set(pixels.get(), W, H, W * 2);
    glyph_current = master.get();
    kanji_draw_glyph();
    glyph_current = nullptr;
    kanji_reset();
    blit_target_screen();
    return 0;
}
