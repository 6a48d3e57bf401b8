// Text markup and the printers: every visible text goes through one of them. A text is walked
// byte by byte; markup changes the text state on the way, blanks and half blanks move the pen,
// and every other byte or byte pair is a character drawn by the glyph engine (engine/kanji.h).
//
// Bytes of a text:
//   0             end of text (no walk ever steps over it)
//   0x20          blank: one advance (`kanji_spacing`, or 8 + 4 S when it is 0); 2 units
//   0x5F "_"      half blank: `kanji_spacing` / 2, or 4 + 2 S; 1 unit
//   0x0A          line break (per printer)
//   other < 0x20  control: the free, overlay and box printers move the pen x to 9999; the
//                 line-length printers ignore it
//   0x24 "$"      markup: "$" + a letter + a fixed number of digit bytes (each byte - 0x30,
//                 unchecked); never draws, never counts toward a line
//   0x21..0x7F    a character: its full-width form (`fullwidth_codes`); 2 units
//   0x80..0xFF    lead byte of a two-byte Big5 character; unscrambled with the text key when
//                 `text_scrambled` is 1 (the box printer always unscrambles)
//
// Markup: "$@"n style, "$D"n mode, "$G"nn spacing, "$S"nn size in pixels ((n - 8) / 4), "$X"nnn
// and "$Y"nnn pen, "$F"/"$B"/"$O" rrggbb the main, second and outline colour (5-bit channels). Any
// other "$" pair does nothing. The box printer knows "$@", "$B", "$D", "$F", "$O" and "$S" only.
#pragma once
#include "engine/types.h"

// ---- Printer state
// -------------------------------------------------------------------------------
extern s32 kanji_spacing;        // advance per character and blank; 0 = by size (8 + 4 S)
extern const char* kanji_cursor; // next byte of the text being walked; after `kanji_print_box`,
                                 // the first byte not printed
extern s32 kanji_line_chars;     // line length of the line-length printers; 0 = no limit
extern s32 text_reveal_limit;    // line length `print_text` applies; 0 or below = no limit
constexpr s32 PRINTF_BUFFER_SIZE = 1000;
extern char printf_buffer[PRINTF_BUFFER_SIZE];

constexpr s32 KANJI_PEN_AWAY = 9999; // pen x after a control byte: the rest of the line is unseen
constexpr s32 BOX_ADVANCE = 24;      // the box printer's fixed advance

// ---- Printers
// ------------------------------------------------------------------------------------ Every
// printer checks the drawing target first: without one the run ends with the fatal "kanji:canvas
// not set!". Every printer sets the clip rectangle to the whole target.

// Free printer at the current pen; a newline returns to the starting x one line lower.
void kanji_print(const char* text);
// As `kanji_print`, darkening the 16 x 16 square at the pen (tint level 8) before each character.
void kanji_print_line(const char* text);
// Horizontal printer from (x, y) with `kanji_line_chars` full-width characters per line. 0.
s32 kanji_print_reveal(s32 x, s32 y, const char* text);
// Top-to-bottom printer from (x, y); columns of `kanji_line_chars` run right to left. 0.
s32 kanji_print_vertical(s32 x, s32 y, const char* text);
// Paged box printer: size 24, fixed advances of 24, `width_chars` characters per line and at
// most `lines` lines. Leaves `kanji_cursor` on the first byte not printed (the next page's start)
// and returns (pen x << 16) + pen y after the last character drawn, 0 when none was drawn.
u32 kanji_print_box(s32 x, s32 y, const char* text, s32 width_chars, s32 lines);
// `kanji_print_reveal` of `text_expand` (text_id), scrambled, with `text_reveal_limit` as the line
// length for this call only. 0.
s32 print_text(s32 x, s32 y, s32 text_id);
s32 print_text_vertical(s32 x, s32 y, s32 text_id);
// Formats into `printf_buffer` (cut at a character boundary when it would not fit) and prints it
// with `kanji_print`.
void kanji_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Width in pixels of the text on one line at the current size and spacing; "$S" changes the size
// as printing would, no other markup takes effect.
s32 kanji_measure(const char* text);
// Reads up to `digits` digit bytes at `kanji_cursor` (each byte - 0x30, unchecked) as a decimal
// number and moves the cursor past them; stops early at a 0 byte, which it never passes.
s32 kanji_read_number(s32 digits);
// Clip right and bottom := the target's last column and row (start-up).
void kanji_clip_reset();

// ---- Numbers
// -------------------------------------------------------------------------------------
void number_clear();
// Appends value right-aligned in `digits` full-width characters (texts 65500 + d for the digits,
// 65499 for blanks and the sign); `digits` outside 0..20 becomes 1. Leading digits beyond
// `digits` are lost; a negative value shows no sign. Stops when the buffer is full.
void number_append_digits(s32 value, s32 digits);
// Appends the expanded text whole (cut at a character boundary when the buffer is full).
void number_append_text(s32 text_id);
s32 print_number(s32 x, s32 y, s32 value, s32 digits);
s32 print_number_vertical(s32 x, s32 y, s32 value, s32 digits);
// The same printers, also telling a transcript observer what was printed where (screens whose
// tests follow their texts).
void print_text_seen(s32 x, s32 y, s32 text_id);
void print_text_vertical_seen(s32 x, s32 y, s32 text_id);
void print_number_seen(s32 x, s32 y, s32 value, s32 digits);
void print_number_vertical_seen(s32 x, s32 y, s32 value, s32 digits);

// ---- Setters
// -------------------------------------------------------------------------------------
void text_style(s32 style);            // 0 when outside 0..7
void text_size(s32 pixels);            // step (pixels - 8) / 4, or 4 when below 0 or above 22
void text_mode(s32 mode);              // 3 when outside 0..3
void text_colour(s32 r, s32 g, s32 b); // main colour from 5-bit channels (unmasked)
void cursor_show();
void cursor_hide();
// Resets the text state (style 0, size 24, mode 0, pen (0, 0), black on white), prints the
// formatted text and presents the frame.
void debug_print(const char* format, ...) __attribute__((format(printf, 1, 2)));
