// JPEG decoding of zone tiles and JPEG pictures. A stream is decoded straight from memory with
// libjpeg (6b interface) through the module's own data source and error exit, and its 24-bit
// colour is turned into the display's 16-bit layout (`display_565`) with Floyd-Steinberg error
// diffusion: into a 256 x 256 zone tile (`jpg_decode_zone`) or onto `jpg_target` at a screen
// position (`jpg_draw`).
//
// Every stream is untrusted: the source never reads outside [jpeg, jpeg + size) and feeds an
// end-of-image marker after the last byte; only three-component streams at most
// `JPG_MAX_WIDTH` pixels wide and `JPG_MAX_HEIGHT` high are decoded, and a zone stream must be
// exactly 258 x 258. A refused stream writes nothing; a stream that turns out corrupt while
// decoding stops there (what was written so far stays) and the decoder is released either way.
// Drawing on the screen stops at the first row that reaches its bottom edge, and a picture
// wholly off the screen is not decoded. The library's messages go to the debug log, never to the
// standard error stream.
//
// Game thread only: the source position, the error rows and the output are module globals.
#pragma once
#include "engine/types.h"

#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

constexpr s32 JPG_FILL_BYTES = 4096;                    // bytes the source hands over per fill
constexpr s32 JPG_MAX_WIDTH = 1024;                     // widest stream the error rows hold
constexpr s32 JPG_MAX_HEIGHT = 2048;                    // tallest stream decoded
constexpr s32 JPG_ERROR_ROW_TERMS = 3084;               // error terms per row, three per pixel
constexpr s32 JPG_ERROR_SPARE = 3;                      // spare terms before the first row
constexpr s32 JPG_ZONE_SIDE = 256;                      // stored tile: 256 x 256 pixels
constexpr s32 JPG_ZONE_STREAM_SIDE = JPG_ZONE_SIDE + 2; // zone stream: one border pixel around

// Where `jpg_draw` draws: null until `game_main` points it at `back_buffer` (rows of
// `jpg_target_width` pixels; drawing clips to 640 x 480).
extern u16* jpg_target;
extern s32 jpg_target_width;

// Next unread byte of the stream and the end of the memory that holds it.
extern const u8* jpg_source_pos;
extern const u8* jpg_source_end;

// Two rows of error terms (red, green, blue per pixel) after `JPG_ERROR_SPARE` spare terms.
extern u16 jpg_error_rows[JPG_ERROR_SPARE + 2 * JPG_ERROR_ROW_TERMS];

// Image rows the last decode read from its stream.
extern s32 jpg_rows_decoded;

// Decodes the size bytes at jpeg, a 258 x 258 picture, into the 256 x 256 tile at dst (rows of
// 256): the outermost rows and columns take part in the diffusion but are not stored. Returns 1
// when the whole stream was decoded, 0 when it was refused (nothing written) or stopped by an
// error.
s32 jpg_decode_zone(const u8* jpeg, s32 size, u16* dst);

// Decodes the size bytes at jpeg and draws the picture with its top-left corner at (x, y) of
// `jpg_target`, mirrored left to right when mirror is non-zero (the rightmost image column then
// lands at x). Black (packed 0) is transparent; pixels outside 640 x 480 are skipped, and rows
// from the screen's bottom edge on are not decoded (none, for a picture wholly off the screen).
// Returns 1 when every row above that edge was decoded, 0 when the stream was refused (nothing
// drawn) or stopped by an error.
s32 jpg_draw(s32 x, s32 y, const u8* jpeg, s32 size, s32 mirror);

// One image row of the error diffusion: packs the width RGB pixels at rgb into out in the
// display layout, taking the carried errors from current (read only, but for the three terms
// past the row, which receive the last pixel's share) and writing the errors for the following
// row into next: its terms -3 .. 3 x width + 2 are overwritten, as if cleared and then collected.
// current and next must allow index -3 .. 3 x width + 2.
void jpg_diffuse_row(const u8* rgb, s32 width, u16* current, u16* next, u16* out);

// The memory source: installs it on a decoder, reading from `jpg_source_pos` up to
// `jpg_source_end`. The callbacks are called only by the library.
void jpg_src_init(j_decompress_ptr cinfo);
void jpg_src_start(j_decompress_ptr cinfo);
boolean jpg_src_fill(j_decompress_ptr cinfo);
void jpg_src_skip(j_decompress_ptr cinfo, long count);
void jpg_src_term(j_decompress_ptr cinfo);

// The library's message output: the formatted message goes to the debug log.
void jpg_output_message(j_common_ptr cinfo);
// The error exit: passes the library's message on and jumps back into the decoding function.
[[noreturn]] void jpg_error_exit(j_common_ptr cinfo);
