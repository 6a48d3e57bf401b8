#include "engine/kanji.h"

#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/ring.h"
#include "engine/shell.h"

#include <algorithm>
#include <array>
#include <cstring>

// ---- Glyph numbering ----------------------------------------------------------------------------

s32 kanji_glyph_index(u32 code) {
    const u32 lead = code >> 8;
    const u32 trail = code & 0xFF;
    if (lead < 0xA1 || lead > 0xF8) return KANJI_NO_GLYPH;
    s32 t;
    if (trail >= 0x40 && trail <= 0x7E)
        t = s32(trail) - 0x40;
    else if (trail >= 0xA1 && trail <= 0xFE)
        t = s32(trail) - 0x62;
    else
        return KANJI_NO_GLYPH;
    return s32(lead - 0xA1) * KANJI_TRAILS + t;
}

// clang-format off
const u16 fullwidth_codes[128] = {
    // 0..32: control bytes and the blank
    0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140,
    0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140,
    0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140,
    0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140, 0xA140,
    0xA140,
    // 33..47: ! " # $ % & ' ( ) * + , - . /
    0xA149, 0xA1AA, 0xA1AD, 0xA243, 0xA24D, 0xA1AE, 0xA1AC, 0xA15D,
    0xA15E, 0xA1B8, 0xA1DE, 0xA141, 0xA1DF, 0xA145, 0xA241,
    // 48..57: digits
    0xA2AF, 0xA2B0, 0xA2B1, 0xA2B2, 0xA2B3, 0xA2B4, 0xA2B5, 0xA2B6, 0xA2B7, 0xA2B8,
    // 58..64: : ; < = > ? @
    0xA14A, 0xA146, 0xA1E0, 0xA1E2, 0xA1E1, 0xA148, 0xA249,
    // 65..90: capital letters
    0xA2CF, 0xA2D0, 0xA2D1, 0xA2D2, 0xA2D3, 0xA2D4, 0xA2D5, 0xA2D6, 0xA2D7, 0xA2D8,
    0xA2D9, 0xA2DA, 0xA2DB, 0xA2DC, 0xA2DD, 0xA2DE, 0xA2DF, 0xA2E0, 0xA2E1, 0xA2E2,
    0xA2E3, 0xA2E4, 0xA2E5, 0xA2E6, 0xA2E7, 0xA2E8,
    // 91..96: [ \ ] ^ _ `
    0xA165, 0xA242, 0xA166, 0xA173, 0xA1C5, 0xA1AB,
    // 97..122: small letters
    0xA2E9, 0xA2EA, 0xA2EB, 0xA2EC, 0xA2ED, 0xA2EE, 0xA2EF, 0xA2F0, 0xA2F1, 0xA2F2,
    0xA2F3, 0xA2F4, 0xA2F5, 0xA2F6, 0xA2F7, 0xA2F8, 0xA2F9, 0xA2FA, 0xA2FB, 0xA2FC,
    0xA2FD, 0xA2FE, 0xA340, 0xA341, 0xA342, 0xA343,
    // 123..127: { | } ~ DEL
    0xA161, 0xA155, 0xA162, 0xA1E3, 0xA1BD,
};
// clang-format on

// ---- Master format ------------------------------------------------------------------------------

namespace {

constexpr u32 MASTER_BITS = GLYPH_SIDE * GLYPH_SIDE;

// Sets `count` bits of the bitmap from bit `pos` on (most significant bit of a byte first).
void set_bits(u8* dst, u32 pos, u32 count) {
    while (count > 0) {
        const u32 off = pos & 7;
        const u32 take = std::min<u32>(8 - off, count);
        dst[pos >> 3] |= u8((0xFFu >> off) & (0xFFu << (8 - off - take)));
        pos += take;
        count -= take;
    }
}

// The blank master: what invalid codes, styles and entries draw.
const u8 blank_master[GLYPH_MASTER_BYTES] = {};

} // namespace

void kanji_decode_master(const u8* src, s32 size, u8* dst) {
    std::memset(dst, 0, GLYPH_MASTER_BYTES);
    if (src == nullptr || size <= 0) return;
    u32 pos = 0;
    for (s32 g = 0; g < size && pos < MASTER_BITS; g += 3) {
        // A group cut short by the entry's end reads its missing bytes as 0: empty runs.
        u32 v = src[g];
        if (g + 1 < size) v |= u32(src[g + 1]) << 8;
        if (g + 2 < size) v |= u32(src[g + 2]) << 16;
        for (u32 r = 0; r < 4 && pos < MASTER_BITS; ++r) {
            const u32 run = (v >> (6 * r)) & GLYPH_RUN_MAX;
            if (r & 1) set_bits(dst, pos, std::min(run, MASTER_BITS - pos));
            pos += run;
        }
    }
}

// ---- Text state ---------------------------------------------------------------------------------

s32 kanji_style = 0;
s32 kanji_size = 4;
s32 kanji_mode = KANJI_MODE_SMOOTH;
s32 kanji_pen_x = 0;
s32 kanji_pen_y = 0;
s32 kanji_clip_left = 0;
s32 kanji_clip_top = 0;
s32 kanji_clip_right = 639;
s32 kanji_clip_bottom = 479;
u16 kanji_colour_main = 0x7FFF;
u16 kanji_colour_second = 0x001F;
u16 kanji_colour_outline = 0;
s32 kanji_colour_main_555 = 0x7FFF;
s32 kanji_colour_second_555 = 0x001F;
s32 kanji_colour_outline_555 = 0;

s32 glyph_next = 0;
const u8* glyph_current = blank_master;
u8 glyph_load_buffer[GLYPH_LOAD_BUFFER_SIZE];

void kanji_reset() {
    kanji_style = 0;
    kanji_size = 4;
    kanji_mode = KANJI_MODE_SMOOTH;
    kanji_pen_x = 0;
    kanji_pen_y = 0;
    kanji_clip_left = 0;
    kanji_clip_top = 0;
    kanji_clip_right = 639;
    kanji_clip_bottom = 479;
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x7FFF);
    kanji_set_colour(KANJI_COLOUR_SECOND, 0x001F);
    kanji_set_colour(KANJI_COLOUR_OUTLINE, 0);
    glyph_next = 0;
    glyph_current = blank_master;
}

void kanji_set_colour(s32 which, s32 colour) {
    const u16 shown =
        display_565 ? u16(((u32(colour) << 1) & 0xFFC0) | (u32(colour) & 0x3F)) : u16(colour);
    switch (which) {
    case KANJI_COLOUR_SECOND:
        kanji_colour_second_555 = colour;
        kanji_colour_second = shown;
        break;
    case KANJI_COLOUR_OUTLINE:
        kanji_colour_outline_555 = colour;
        kanji_colour_outline = shown;
        break;
    default:
        kanji_colour_main_555 = colour;
        kanji_colour_main = shown;
        break;
    }
}

// ---- Glyph cache --------------------------------------------------------------------------------

void kanji_glyph(s32 index) {
    if (index < 0 || index >= KANJI_GLYPHS || kanji_style < 0 || kanji_style >= KANJI_STYLES) {
        glyph_current = blank_master;
        return;
    }
    if (glyph_keys == nullptr || glyph_bitmaps == nullptr || glyph_slot_count <= 0)
        shell_fatal("kanji:cache not set!");
    const s32 key = KANJI_GLYPHS * kanji_style + index;
    for (s32 slot = 0; slot < glyph_slot_count; ++slot) {
        if (glyph_keys[slot] == key) {
            glyph_current = glyph_bitmaps + size_t(slot) * GLYPH_MASTER_BYTES;
            return;
        }
    }
    // Miss: the slot after the one filled last, whatever it holds.
    const s32 slot = (glyph_next >= 0 && glyph_next < glyph_slot_count) ? glyph_next : 0;
    u8* bitmap = glyph_bitmaps + size_t(slot) * GLYPH_MASTER_BYTES;
    glyph_next = (slot + 1) % glyph_slot_count;
    glyph_current = bitmap;
    // The slot holds no key while it is loaded, so a load that ends the run halfway never leaves
    // a key over another character's bits.
    glyph_keys[slot] = -1;
    // An entry that does not fit the load buffer (-1) or an empty one (0) decodes to blank.
    const s32 got =
        gisk_load_bounded(ARC_FONT_BASE + key, glyph_load_buffer, GLYPH_LOAD_BUFFER_SIZE);
    kanji_decode_master(glyph_load_buffer, got, bitmap);
    glyph_keys[slot] = key;
}

// ---- Scaler -------------------------------------------------------------------------------------

namespace {

constexpr std::array<u8, 256> make_bit_counts() {
    std::array<u8, 256> t{};
    for (u32 v = 0; v < 256; ++v) {
        u8 n = 0;
        for (u32 b = v; b != 0; b >>= 1) n = u8(n + (b & 1));
        t[v] = n;
    }
    return t;
}

constexpr CoverageLevels make_coverage_levels() {
    CoverageLevels t{};
    for (s32 k = 1; k <= KANJI_BOX_MAX; ++k)
        for (s32 c = 0; c <= k * k; ++c) t[k][c] = u8(32 * c / (k * k));
    return t;
}

constexpr ScaleTable make_scale_table() {
    ScaleTable t{};
    for (s32 c = 0; c < 32; ++c)
        for (s32 a = 0; a < 32; ++a) t[c][a] = u8(c * a / 32);
    return t;
}

} // namespace

constinit const std::array<u8, 256> bit_counts = make_bit_counts();
constinit const CoverageLevels coverage_levels = make_coverage_levels();
constinit const ScaleTable scale_table = make_scale_table();

s32 kanji_box_side(s32 step) {
    switch (step) {
    case 1:
        return 8;
    case 2:
        return 6;
    case 4:
        return 4;
    case 6:
        return 3;
    case 10:
        return 2;
    case 22:
        return 1;
    default:
        return 12;
    }
}

s32 kanji_scale(const u8* master, s32 step, u8* coverage) {
    const s32 k = kanji_box_side(step);
    const s32 n = GLYPH_SIDE / k;
    const auto& levels = coverage_levels[k];
    s32 counts[GLYPH_SIDE];
    for (s32 j = 0; j < n; ++j) {
        std::fill(counts, counts + n, 0);
        for (s32 r = k * j; r < k * j + k; ++r) {
            // Box i's k columns start at column k * i; with the byte holding that column and
            // the next one as a 16-bit window, they are the window's top k bits once the
            // column's place in its byte is shifted out (k plus that place is at most 16 for
            // every box side). A zero byte past the row's end serves the last window.
            u8 row[GLYPH_ROW_BYTES + 1];
            std::memcpy(row, master + r * GLYPH_ROW_BYTES, GLYPH_ROW_BYTES);
            row[GLYPH_ROW_BYTES] = 0;
            for (s32 i = 0, c = 0; i < n; ++i, c += k) {
                const u32 window = u32(row[c >> 3]) << 8 | row[(c >> 3) + 1];
                const u32 top = ((window << (c & 7)) & 0xFFFF) >> (16 - k);
                counts[i] += bit_counts[top & 0xFF] + bit_counts[top >> 8];
            }
        }
        for (s32 i = 0; i < n; ++i) coverage[j * n + i] = levels[counts[i]];
    }
    return n;
}

// ---- Drawing ------------------------------------------------------------------------------------

namespace {

// The clip rectangle kept inside the drawing target, and the pen, for one glyph draw.
struct DrawArea {
    s64 left, top, right, bottom;
    s64 pen_x, pen_y;
};

inline u16* target_pixel(s64 x, s64 y) {
    return reinterpret_cast<u16*>(reinterpret_cast<u8*>(target_pixels) + row_offsets[y]) + x;
}

inline bool inside(const DrawArea& a, s64 x, s64 y) {
    return x >= a.left && x <= a.right && y >= a.top && y <= a.bottom;
}

// Colour where the coverage reaches the ink threshold, shifted by (dx, dy); nothing elsewhere.
void draw_plain(const DrawArea& a, const u8* coverage, s32 n, u16 colour, s32 dx, s32 dy) {
    for (s32 j = 0; j < n; ++j) {
        const s64 y = a.pen_y + j + dy;
        if (y < a.top || y > a.bottom) continue;
        for (s32 i = 0; i < n; ++i) {
            if (coverage[j * n + i] < KANJI_INK_THRESHOLD) continue;
            const s64 x = a.pen_x + i + dx;
            if (x >= a.left && x <= a.right) *target_pixel(x, y) = colour;
        }
    }
}

// 5-bit channels of a display pixel; on 5-6-5 green is its upper five bits.
inline void channels(u16 p, u32& r, u32& g, u32& b) {
    if (display_565) {
        r = p >> 11;
        g = (p >> 6) & 31;
    } else {
        r = (p >> 10) & 31;
        g = (p >> 5) & 31;
    }
    b = p & 31;
}

inline u16 pack(u32 r, u32 g, u32 b) {
    return display_565 ? u16(r << 11 | g << 6 | b) : u16(r << 10 | g << 5 | b);
}

} // namespace

void kanji_draw_glyph() {
    if (target_pixels == nullptr) shell_fatal("kanji:canvas not set!");
    DrawArea a;
    a.left = std::max<s64>(kanji_clip_left, 0);
    a.top = std::max<s64>(kanji_clip_top, 0);
    a.right = std::min<s64>(kanji_clip_right, s64(target_width) - 1);
    a.bottom = std::min<s64>({kanji_clip_bottom, s64(target_height) - 1, TARGET_MAX_ROWS - 1});
    a.pen_x = kanji_pen_x;
    a.pen_y = kanji_pen_y;
    // A glyph (at most one master wide, plus a pixel of outline) wholly outside the clip draws
    // nothing: skip the scaling.
    if (a.pen_x > a.right + 1 || a.pen_y > a.bottom + 1 || a.pen_x + GLYPH_SIDE + 1 < a.left ||
        a.pen_y + GLYPH_SIDE + 1 < a.top)
        return;
    u8 coverage[GLYPH_SIDE * GLYPH_SIDE];
    const s32 n = kanji_scale(glyph_current ? glyph_current : blank_master, kanji_size, coverage);

    switch (kanji_mode) {
    case KANJI_MODE_PLAIN:
        draw_plain(a, coverage, n, kanji_colour_main, 0, 0);
        break;
    case KANJI_MODE_OUTLINE:
        draw_plain(a, coverage, n, kanji_colour_outline, -1, 0);
        draw_plain(a, coverage, n, kanji_colour_outline, 1, 0);
        draw_plain(a, coverage, n, kanji_colour_outline, 0, 1);
        draw_plain(a, coverage, n, kanji_colour_outline, 0, -1);
        draw_plain(a, coverage, n, kanji_colour_main, 0, 0);
        break;
    case KANJI_MODE_SMOOTH: {
        u32 mr, mg, mb;
        channels(kanji_colour_main, mr, mg, mb);
        for (s32 j = 0; j < n; ++j) {
            const s64 y = a.pen_y + j;
            for (s32 i = 0; i < n; ++i) {
                const u32 c = coverage[j * n + i];
                const s64 x = a.pen_x + i;
                if (c == 0 || !inside(a, x, y)) continue;
                u16* p = target_pixel(x, y);
                if (c >= KANJI_COVERAGE_FULL) {
                    *p = kanji_colour_main;
                    continue;
                }
                u32 dr, dg, db;
                channels(*p, dr, dg, db);
                const u32 rest = KANJI_COVERAGE_FULL - c;
                *p = pack(scale_table[mr][c] + scale_table[dr][rest],
                          scale_table[mg][c] + scale_table[dg][rest],
                          scale_table[mb][c] + scale_table[db][rest]);
            }
        }
        break;
    }
    default: // two-colour, and any mode value without its own drawing
        for (s32 j = 0; j < n; ++j) {
            const s64 y = a.pen_y + j;
            for (s32 i = 0; i < n; ++i) {
                const s64 x = a.pen_x + i;
                if (!inside(a, x, y)) continue;
                *target_pixel(x, y) = coverage[j * n + i] >= KANJI_INK_THRESHOLD
                                          ? kanji_colour_main
                                          : kanji_colour_second;
            }
        }
        break;
    }
}
