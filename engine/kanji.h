// The Big5 glyph engine: draws Traditional Chinese characters (and ASCII, shown as its full-width
// Big5 form) from the archive's own font.
//
// Every character has a 96 x 96 one-bit master in the archive (entry ARC_FONT_BASE + key, key =
// 13816 x style + glyph index). A master is a run-length bit stream: groups of three bytes, read
// as a little-endian 24-bit value, each holding four 6-bit runs (bits 0-5, 6-11, 12-17, 18-23)
// that alternate white, ink, white, ink. The runs fill the bitmap row by row, 12 bytes a row,
// most significant bit first, 1 = ink.
//
// Decoded masters live in the glyph cache carved from the memory pool (engine/ring.h:
// `glyph_keys`, `glyph_bitmaps`, `glyph_slot_count`), filled round-robin. Drawing reduces the
// master by a k x k box filter to the current size with 33 coverage levels (0..32) and writes it
// at the pen in one of four modes.
//
// Codes that are not Big5 characters of the font, styles outside 0..7 and entries that are empty
// or larger than the load buffer all give the blank master: nothing here reads or indexes outside
// its tables, whatever the text or the archive holds.
#pragma once
#include "engine/types.h"

#include <array>

// ---- Glyph numbering ----------------------------------------------------------------------------
constexpr s32 KANJI_GLYPHS = 13816;      // glyphs per style: lead bytes 0xA1..0xF8, 157 trails each
constexpr s32 KANJI_STYLES = 8;          // glyph sets in the archive
constexpr s32 KANJI_TRAILS = 157;        // trails 0x40..0x7E, then 0xA1..0xFE
constexpr s32 KANJI_NO_GLYPH = -1;       // glyph index of a code that has no glyph
constexpr u16 KANJI_BLANK_CODE = 0xA140; // the full-width blank, glyph index 0

// The glyph index of a Big5 code (lead byte << 8 | trail byte): (lead - 0xA1) x 157 + t, with
// t = trail - 0x40 for trails 0x40..0x7E and trail - 0x62 for 0xA1..0xFE. A code whose lead is
// outside 0xA1..0xF8 or whose trail is outside those two ranges gives KANJI_NO_GLYPH.
s32 kanji_glyph_index(u32 code);

// The Big5 code drawn for each ASCII byte 0..127: its full-width form; 0..32 are the blank.
extern const u16 fullwidth_codes[128];

// ---- Master format ------------------------------------------------------------------------------
constexpr s32 GLYPH_SIDE = 96;               // master pixels per side
constexpr s32 GLYPH_ROW_BYTES = 12;          // bytes per master row
constexpr s32 GLYPH_MASTER_BYTES = 1152;     // decoded master
constexpr s32 GLYPH_RUN_MAX = 63;            // longest run of one group slot
constexpr s32 GLYPH_LOAD_BUFFER_SIZE = 2048; // largest glyph entry that is drawn

// Decodes `size` bytes of a run-length master into the 1152-byte bitmap `dst`. The bitmap is
// cleared first; decoding stops when the bitmap is full (bits of a run past it are dropped) or
// when the entry's bytes end (the rest stays white; a last group cut short counts its missing
// bytes as 0). A negative size decodes nothing.
void kanji_decode_master(const u8* src, s32 size, u8* dst);

// ---- Text state (set by the printers and their markup) ------------------------------------------
extern s32 kanji_style; // 0..7 selects the glyph set; any other value draws blank glyphs
extern s32 kanji_size;  // size step S: glyphs 8 + 4 S pixels square (7 sizes exist, below)
extern s32 kanji_mode;  // draw mode: 0 two-colour, 1 plain, 2 outline, 3 smooth
extern s32 kanji_pen_x; // top-left target pixel of the next glyph
extern s32 kanji_pen_y;
// Inclusive clip rectangle of glyph pixels (always also kept inside the drawing target).
extern s32 kanji_clip_left;
extern s32 kanji_clip_top;
extern s32 kanji_clip_right;
extern s32 kanji_clip_bottom;
// Colours in the display's layout, and the 5-5-5 value last given for each.
extern u16 kanji_colour_main;
extern u16 kanji_colour_second;  // background of the two-colour mode
extern u16 kanji_colour_outline; // outline mode
extern s32 kanji_colour_main_555;
extern s32 kanji_colour_second_555;
extern s32 kanji_colour_outline_555;

enum : s32 {
    KANJI_MODE_TWO_COLOUR = 0, // opaque cell: main colour on the second colour
    KANJI_MODE_PLAIN = 1,      // main colour where the coverage is at least half
    KANJI_MODE_OUTLINE = 2,    // plain in the outline colour shifted by one pixel, then plain
    KANJI_MODE_SMOOTH = 3,     // main colour blended into the target by coverage
};
constexpr s32 KANJI_INK_THRESHOLD = 16; // coverage from which modes 0-2 draw ink
constexpr s32 KANJI_COVERAGE_FULL = 32;

// Colour selectors of `kanji_set_colour`.
enum : s32 { KANJI_COLOUR_MAIN = 0, KANJI_COLOUR_SECOND = 1, KANJI_COLOUR_OUTLINE = 2 };

// Sets the text state, the cache cursor and `glyph_current` to their start values (style 0, size
// step 4, mode 3, pen (0, 0), clip 0, 0, 639, 479, main white, second blue, outline black) with
// the colours in the layout of `display_565`. The cache memory itself belongs to the pool.
void kanji_reset();

// ---- Glyph cache --------------------------------------------------------------------------------
extern s32 glyph_next;          // slot the next miss fills
extern const u8* glyph_current; // master of the last looked-up character (a blank one at start)
extern u8 glyph_load_buffer[GLYPH_LOAD_BUFFER_SIZE];

// Makes `glyph_current` the master of glyph `index` in `kanji_style`, from the cache or loaded
// into the slot `glyph_next` (round-robin). An index outside 0..13815 or a style outside 0..7
// gives the blank master without touching the cache. An empty entry, or one larger than the
// load buffer, leaves the slot blank. Fatal "kanji:cache not set!" when the pool is not carved.
void kanji_glyph(s32 index);

// ---- Scaler -------------------------------------------------------------------------------------
// Box side k and glyph side n = 96 / k of a size step: steps 0, 1, 2, 4, 6, 10, 22 give 8, 12,
// 16, 24, 32, 48, 96 pixels; any other step draws as step 0 (8 pixels).
s32 kanji_box_side(s32 step);
inline s32 kanji_glyph_side(s32 step) {
    return GLYPH_SIDE / kanji_box_side(step);
}

// Reduces a master to n x n coverage levels (n = kanji_glyph_side(step), rows top first): each
// output pixel is floor(32 x ink bits of its k x k box / k^2). Returns n.
s32 kanji_scale(const u8* master, s32 step, u8* coverage);

// Supporting tables.
constexpr s32 KANJI_BOX_MAX = 12;
using CoverageLevels =
    std::array<std::array<u8, KANJI_BOX_MAX * KANJI_BOX_MAX + 1>, KANJI_BOX_MAX + 1>;
using ScaleTable = std::array<std::array<u8, 32>, 32>;
extern const std::array<u8, 256> bit_counts; // set bits of each byte value
// [k][count] = floor(32 x count / k^2) for box sides k 1..12 and counts 0..k^2 (row 0 unused).
extern const CoverageLevels coverage_levels;
extern const ScaleTable scale_table; // [c][a] = floor(c x a / 32), c a 5-bit channel

// ---- Drawing ------------------------------------------------------------------------------------
// Scales `glyph_current` to `kanji_size` and draws it with its top-left at the pen, in
// `kanji_mode` (values other than 1..3 draw as mode 0) and the current colours, pixel by pixel
// inside the clip rectangle. Does not move the pen.
void kanji_draw_glyph();

// which: KANJI_COLOUR_SECOND, KANJI_COLOUR_OUTLINE, anything else the main colour. `colour` is
// 5-5-5; on a 5-6-5 display it is stored as ((c << 1) AND 0xFFC0) OR (c AND 0x3F).
void kanji_set_colour(s32 which, s32 colour);
