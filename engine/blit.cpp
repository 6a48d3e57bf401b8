#include "engine/blit.h"

#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/sprite.h"

#include <algorithm>
#include <array>

s32 display_565 = 0;

u16* target_pixels = nullptr;
s32 target_width = SCREEN_W;
s32 target_height = SCREEN_H;
s32 target_pitch = SCREEN_W * 2;
u32 row_offsets[TARGET_MAX_ROWS];
u8* occlusion_plane = nullptr;
u16 key_colour = KEY_COLOUR_555;

const s32 tint_colours[8][3] = {
    {0, 0, 0}, {0, 0, 8}, {0, 8, 0}, {0, 8, 8}, {8, 0, 0}, {8, 0, 8}, {8, 8, 0}, {8, 8, 8},
};

ByteEntry tint_table[8][32][256];
BlendSet blend_sets[10];

const s32 brightness_rows[32][6] = {
    {0, 0, 0, 0, 0, 0},    {0, 0, 0, 0, 0, 21},   {0, 0, 0, 0, 21, 0},   {0, 0, 0, 0, 21, 21},
    {0, 0, 0, 21, 0, 0},   {0, 0, 0, 21, 0, 21},  {0, 0, 0, 21, 21, 0},  {0, 0, 0, 21, 21, 21},
    {0, 0, 0, 10, 10, 10}, {0, 0, 0, 10, 10, 31}, {0, 0, 0, 10, 31, 10}, {0, 0, 0, 10, 31, 31},
    {0, 0, 0, 31, 10, 10}, {0, 0, 0, 31, 10, 31}, {0, 0, 0, 31, 31, 10}, {0, 0, 0, 31, 31, 31},
    {0, 0, 0, 0, 0, 0},    {0, 0, 8, 0, 0, 0},    {0, 8, 0, 0, 0, 0},    {0, 8, 8, 0, 0, 0},
    {8, 0, 0, 0, 0, 0},    {8, 0, 8, 0, 0, 0},    {8, 8, 0, 0, 0, 0},    {8, 8, 8, 0, 0, 0},
    {0, 0, 0, 0, 0, 0},    {0, 0, 16, 0, 0, 0},   {0, 16, 0, 0, 0, 0},   {0, 16, 16, 0, 0, 0},
    {16, 0, 0, 0, 0, 0},   {16, 0, 16, 0, 0, 0},  {16, 16, 0, 0, 0, 0},  {16, 16, 16, 0, 0, 0},
};

ByteEntry brightness_table[32][256];
u16 work_palette[256];
BlendSet work_blend;

namespace {

constexpr std::array<u16, 256> make_light_source_table() {
    std::array<u16, 256> t{};
    for (u32 i = 0; i < 256; ++i) t[i] = u16(((i & 0xE0) << 8) | (i & 0x1F));
    return t;
}

// The channel parts of one byte and the packing of a colour, for one layout.
struct Layout {
    bool is_565;
    s32 cap_gl;   // largest green part of a low byte (3 or 7)
    s32 cap_gh;   // largest green part of a high byte (28 or 24)
    s32 green_hi; // the green bits a high byte can hold (0x1C or 0x18)
    s32 green_lo; // the green bits a low byte can hold (3 or 7)

    s32 gl(s32 b) const { return is_565 ? b >> 6 : b >> 5; }
    s32 bl(s32 b) const { return b & 31; }
    s32 r(s32 b) const { return is_565 ? b >> 3 : (b >> 2) & 31; }
    s32 gh(s32 b) const { return is_565 ? (b & 7) << 2 : (b & 3) << 3; }
    u16 pack(s32 r, s32 g, s32 b) const {
        return is_565 ? u16(r << 11 | g << 6 | b) : u16(r << 10 | g << 5 | b);
    }
};

Layout current_layout() {
    if (display_565) return {true, 3, 28, 0x1C, 3};
    return {false, 7, 24, 0x18, 7};
}

void build_tint_table(const Layout& lay) {
    for (s32 c = 0; c < 8; ++c) {
        const s32 tr = tint_colours[c][0], tg = tint_colours[c][1], tb = tint_colours[c][2];
        for (s32 j = 0; j < 32; ++j) {
            auto s = [j](s32 v) { return (v * (32 - j) + 16) / 32; };
            for (s32 b = 0; b < 256; ++b) {
                ByteEntry& e = tint_table[c][j][b];
                if (j == 31) {
                    e = {0, 0};
                    continue;
                }
                const s32 g_lo = std::min(lay.cap_gl, s(lay.gl(b) + (tg & lay.green_lo)));
                const s32 b_lo = std::min(31, s(lay.bl(b) + tb));
                const s32 r_hi = std::min(31, s(lay.r(b) + tr));
                const s32 g_hi = std::min(lay.cap_gh, s(lay.gh(b) + (tg & lay.green_hi)));
                e.low = lay.pack(0, g_lo, b_lo);
                e.high = lay.pack(r_hi, g_hi, 0);
            }
        }
    }
}

void build_blend_sets(const Layout& lay) {
    for (s32 m = 0; m < 10; ++m) {
        for (s32 part = 0; part < 2; ++part) {
            const s32 w = part == 0 ? 10 - m : m;
            u16* low = blend_sets[m].part[part * 2];
            u16* high = blend_sets[m].part[part * 2 + 1];
            for (s32 b = 0; b < 256; ++b) {
                low[b] = lay.pack(0, lay.gl(b) * w / 10, lay.bl(b) * w / 10);
                high[b] = lay.pack(lay.r(b) * w / 10, lay.gh(b) * w / 10, 0);
            }
        }
    }
}

void build_brightness_table(const Layout& lay) {
    for (s32 j = 0; j < 32; ++j) {
        const s32* row = brightness_rows[j];
        for (s32 b = 0; b < 256; ++b) {
            ByteEntry& e = brightness_table[j][b];
            if (j == 15) {
                e = {0, 0}; // black: every entry 0
            } else if (j < 15) {
                auto mix = [row](s32 ch, s32 lum) {
                    return std::min(31, row[ch] + (row[ch + 3] - row[ch]) * lum / 3100);
                };
                const s32 lum_lo = 59 * lay.gl(b) + 11 * lay.bl(b);
                const s32 lum_hi = 30 * lay.r(b) + 59 * lay.gh(b);
                // The low-byte entry keeps only what fits in a low byte (low green bits, blue).
                e.low = u16(lay.pack(mix(0, lum_lo), mix(1, lum_lo), mix(2, lum_lo)) & 0xFF);
                e.high = lay.pack(mix(0, lum_hi), mix(1, lum_hi), mix(2, lum_hi));
            } else {
                e.low = lay.pack(0, std::min(lay.cap_gl, lay.gl(b) + (row[1] & lay.green_lo)),
                                 std::min(31, lay.bl(b) + row[2]));
                e.high = lay.pack(std::min(31, lay.r(b) + row[0]),
                                  std::min(lay.cap_gh, lay.gh(b) + (row[1] & lay.green_hi)), 0);
            }
        }
    }
}

} // namespace

const std::array<u16, 256> light_source_table = make_light_source_table();

void rows_setup() {
    if (target_height < 0 || target_height > TARGET_MAX_ROWS)
        shell_fatal("blit: target rows(%d)", target_height);
    for (s32 i = 0; i < target_height; ++i) row_offsets[i] = u32(i) * u32(target_pitch);
    key_colour = display_565 ? KEY_COLOUR_565 : KEY_COLOUR_555;
}

void blit_target_set(u16* pixels, s32 width, s32 height, s32 pitch) {
    target_pixels = pixels;
    target_width = width;
    target_height = height;
    target_pitch = pitch;
    rows_setup();
}

void blit_target_screen() {
    blit_target_set(back_buffer, SCREEN_W, SCREEN_H, SCREEN_W * 2);
}

void blit_init() {
    const Layout lay = current_layout();
    build_tint_table(lay);
    build_blend_sets(lay);
    build_brightness_table(lay);
    blit_routines_install(display_565);
}
