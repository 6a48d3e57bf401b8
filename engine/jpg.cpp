#include "engine/jpg.h"

#include "engine/blit.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

u16* jpg_target = nullptr;
s32 jpg_target_width = 640;

const u8* jpg_source_pos = nullptr;
const u8* jpg_source_end = nullptr;

u16 jpg_error_rows[JPG_ERROR_SPARE + 2 * JPG_ERROR_ROW_TERMS];

namespace {

constexpr s32 JPG_SCREEN_W = 640;
constexpr s32 JPG_SCREEN_H = 480;
// The decoder's memory for one stream (whole-image buffers of multi-scan streams included) is
// capped, so a hostile header cannot make it take gigabytes; a 1024-pixel-wide multi-scan
// picture needs about 6 KB a row.
constexpr long JPG_MAX_DECODER_MEMORY = 64L << 20;

// The library's error manager followed by the jump buffer of the decoding function.
struct JpgErrorMgr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// The library's source manager extended by the start-of-file flag and the fill buffer.
struct JpgSourceMgr {
    jpeg_source_mgr pub;
    boolean start_of_file;
    JOCTET* buffer;
};

// One decode: the decompressor, its error manager and where the rows go. It lives in memory the
// jump back cannot clobber (the caller's frame, reached through a pointer).
struct JpgJob {
    jpeg_decompress_struct cinfo;
    JpgErrorMgr err;
    u16* zone_dst; // non-null: decode into this zone tile; null: draw onto `jpg_target`
    s32 x, y, mirror;
    s32 result;
};

// One packed image row, before it is stored.
u16 jpg_row_out[JPG_MAX_WIDTH];

JpgSourceMgr* jpg_source(j_decompress_ptr cinfo) {
    return reinterpret_cast<JpgSourceMgr*>(cinfo->src);
}

// Stores packed image row `row` (width pixels at px): into the zone tile without the border
// columns and rows, or onto the screen, clipped, black transparent.
void jpg_store_row(const JpgJob& job, s32 row, const u16* px, s32 width) {
    if (job.zone_dst) {
        // The stream is 258 x 258 (checked before decoding).
        if (row == 0 || row == JPG_ZONE_STREAM_SIDE - 1) return;
        std::memcpy(job.zone_dst + (row - 1) * JPG_ZONE_SIDE, px + 1, JPG_ZONE_SIDE * sizeof(u16));
        return;
    }
    const s64 sy = static_cast<s64>(job.y) + row;
    if (sy < 0 || sy >= JPG_SCREEN_H) return;
    const s64 columns = std::min(JPG_SCREEN_W, jpg_target_width);
    u16* line = jpg_target + sy * jpg_target_width;
    const s64 step = job.mirror ? -1 : 1;
    const s64 x0 = job.mirror ? static_cast<s64>(job.x) + width - 1 : job.x;
    for (s32 i = 0; i < width; ++i) {
        const s64 sx = x0 + step * i;
        if (px[i] != 0 && sx >= 0 && sx < columns) line[sx] = px[i];
    }
}

// Everything between creating the decompressor and finishing it; an error anywhere in here
// leaves through `jpg_error_exit` back to `jpg_run`. Sets job->result to 1 when the whole stream
// was decoded; returns early with 0 when the stream is refused.
__attribute__((noinline)) void jpg_run_body(JpgJob* job) {
    j_decompress_ptr cinfo = &job->cinfo;
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = JPG_MAX_DECODER_MEMORY;
    jpg_src_init(cinfo);
    jpeg_read_header(cinfo, TRUE);

    // Refuse before any output: three colour components at most `JPG_MAX_WIDTH` wide, and a
    // zone picture exactly 258 x 258.
    if (cinfo->num_components != 3 || cinfo->image_width > static_cast<u32>(JPG_MAX_WIDTH)) return;
    if (job->zone_dst && (cinfo->image_width != static_cast<u32>(JPG_ZONE_STREAM_SIDE) ||
                          cinfo->image_height != static_cast<u32>(JPG_ZONE_STREAM_SIDE)))
        return;
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3 || cinfo->output_width != cinfo->image_width ||
        cinfo->output_height != cinfo->image_height)
        return;

    const s32 width = static_cast<s32>(cinfo->output_width);
    JSAMPARRAY line = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                  JPOOL_IMAGE, width * 3, 1);

    std::memset(jpg_error_rows, 0, sizeof jpg_error_rows);
    u16* current = jpg_error_rows + JPG_ERROR_SPARE;
    u16* next = current + JPG_ERROR_ROW_TERMS;

    while (cinfo->output_scanline < cinfo->output_height) {
        const s32 row = static_cast<s32>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, line, 1) != 1) return; // cannot happen: no suspension
        // The row that collected errors during the previous image row is read now; the other
        // one is overwritten with this row's errors (as if cleared first).
        std::swap(current, next);
        jpg_diffuse_row(line[0], width, current, next, jpg_row_out);
        jpg_store_row(*job, row, jpg_row_out, width);
    }
    jpeg_finish_decompress(cinfo);
    job->result = 1;
}

// Sets the jump point, runs the decode and releases the decompressor however the decode ended.
s32 jpg_run(JpgJob* job, const u8* jpeg, s32 size) {
    job->result = 0;
    if (jpeg == nullptr || size <= 0) return 0;
    jpg_source_pos = jpeg;
    jpg_source_end = jpeg + size;
    // Cleared first, so an error inside the creation finds no memory manager to release.
    std::memset(&job->cinfo, 0, sizeof job->cinfo);
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = jpg_error_exit;
    if (setjmp(job->err.jump) == 0) jpg_run_body(job);
    jpeg_destroy_decompress(&job->cinfo);
    return job->result;
}

} // namespace

// The carries stay in registers: the right neighbour's share is added to the next pixel's term
// as it is read, and each term of next is written once, when its last share (from the pixel
// below right of it) is known. Every sum wraps at 16 bits exactly as term-by-term additions do,
// so the packed pixels and the terms of next are those of the step done one term at a time
// into a cleared next row. With e the lost part: a = e >> 1, b = e >> 2, q = e >> 4.
#if defined(__SSE2__)
// The three channels of a pixel go through the step side by side in 16-bit lanes 0-2; the lost
// part of lane 3 is masked to 0, so its shares stay 0. The saturating add is the step's
// saturation.
void jpg_diffuse_row(const u8* rgb, s32 width, u16* current, u16* next, u16* out) {
    if (width <= 0) return;
    const __m128i zero = _mm_setzero_si128();
    const __m128i lost_mask = _mm_set_epi16(0, 0, 0, 0, 0, 0x7FF, 0x7FF, 0x7FF);
    // Field weights: the packed pixel is the sum of the weighted 5-bit fields (the fields do
    // not overlap, so the low 16 bits of the lane sums are exact).
    const __m128i weights = display_565 ? _mm_set_epi16(0, 0, 0, 0, 0, 1, 64, 2048)
                                        : _mm_set_epi16(0, 0, 0, 0, 0, 1, 32, 1024);
    __m128i right = zero;   // share for the right neighbour (7/16)
    __m128i below = zero;   // next[k - 3] collected so far: the pixel below left
    __m128i below_2 = zero; // next[k] collected so far: the pixel straight below
    for (s32 i = 0; i < width; ++i) {
        const s32 k = 3 * i;
        u32 bytes = 0; // r, g, b and, except for the last pixel, the next red (masked off)
        if (i + 1 < width)
            std::memcpy(&bytes, rgb + k, 4);
        else
            std::memcpy(&bytes, rgb + k, 3);
        const __m128i high = _mm_unpacklo_epi8(zero, _mm_cvtsi32_si128(static_cast<int>(bytes)));
        const __m128i carried = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(current + k));
        const __m128i v = _mm_adds_epu16(high, _mm_add_epi16(carried, right));
        const __m128i e = _mm_and_si128(v, lost_mask);
        const __m128i b = _mm_srli_epi16(e, 2);
        const __m128i q = _mm_srli_epi16(e, 4);
        right = _mm_sub_epi16(_mm_srli_epi16(e, 1), q);
        // below left (3/16) completes next[k - 3]; lane 3 writes 0 into next[k], which the next
        // pixel then writes in full.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(next + k - 3),
                         _mm_add_epi16(below, _mm_sub_epi16(b, q)));
        below = _mm_add_epi16(below_2, _mm_add_epi16(b, q)); // below (5/16)
        below_2 = q;                                         // below right (1/16)
        const __m128i fields = _mm_madd_epi16(_mm_srli_epi16(v, 11), weights);
        out[i] = static_cast<u16>(_mm_cvtsi128_si32(fields) +
                                  _mm_cvtsi128_si32(_mm_srli_si128(fields, 4)));
    }
    // The shares of the last pixel: its own term of next, and the terms beyond the row.
    alignas(16) u16 lanes[3][8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[0]), below);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[1]), below_2);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[2]), right);
    const s32 last = 3 * (width - 1);
    for (s32 c = 0; c < 3; ++c) {
        next[last + c] = lanes[0][c];
        next[last + 3 + c] = lanes[1][c];
        current[last + 3 + c] = static_cast<u16>(current[last + 3 + c] + lanes[2][c]);
    }
}
#else
void jpg_diffuse_row(const u8* rgb, s32 width, u16* current, u16* next, u16* out) {
    if (width <= 0) return;
    const u32 red_shift = display_565 ? 11 : 10;
    const u32 green_shift = display_565 ? 6 : 5;
    u32 right[3] = {0, 0, 0};   // share for the right neighbour (7/16)
    u32 below[3] = {0, 0, 0};   // next[k - 3] collected so far: the pixel below left
    u32 below_2[3] = {0, 0, 0}; // next[k] collected so far: the pixel straight below
    for (s32 i = 0; i < width; ++i) {
        u32 five[3];
        for (s32 c = 0; c < 3; ++c) {
            const s32 k = 3 * i + c;
            const u32 v = std::min<u32>(rgb[k] * 256u + ((current[k] + right[c]) & 0xFFFF), 0xFFFF);
            five[c] = v >> 11;
            const u32 e = v & 0x7FF;
            const u32 b = e >> 2, q = e >> 4;
            right[c] = (e >> 1) - q;
            next[k - 3] = static_cast<u16>(below[c] + b - q); // below left (3/16)
            below[c] = below_2[c] + b + q;                    // below (5/16)
            below_2[c] = q;                                   // below right (1/16)
        }
        out[i] = static_cast<u16>(five[0] << red_shift | five[1] << green_shift | five[2]);
    }
    const s32 last = 3 * (width - 1);
    for (s32 c = 0; c < 3; ++c) {
        next[last + c] = static_cast<u16>(below[c]);
        next[last + 3 + c] = static_cast<u16>(below_2[c]);
        current[last + 3 + c] = static_cast<u16>(current[last + 3 + c] + right[c]);
    }
}

#endif

void jpg_src_init(j_decompress_ptr cinfo) {
    if (cinfo->src == nullptr) {
        auto common = reinterpret_cast<j_common_ptr>(cinfo);
        auto* src = static_cast<JpgSourceMgr*>(
            (*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(JpgSourceMgr)));
        src->buffer = static_cast<JOCTET*>(
            (*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, JPG_FILL_BYTES));
        cinfo->src = &src->pub;
    }
    JpgSourceMgr* src = jpg_source(cinfo);
    src->pub.init_source = jpg_src_start;
    src->pub.fill_input_buffer = jpg_src_fill;
    src->pub.skip_input_data = jpg_src_skip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = jpg_src_term;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
}

void jpg_src_start(j_decompress_ptr cinfo) {
    jpg_source(cinfo)->start_of_file = TRUE;
}

// Hands the library the next bytes of the stream, at most `JPG_FILL_BYTES`; once the stream is
// used up, an end-of-image marker, as often as the library asks.
boolean jpg_src_fill(j_decompress_ptr cinfo) {
    JpgSourceMgr* src = jpg_source(cinfo);
    size_t count = 0;
    if (jpg_source_pos < jpg_source_end) {
        count = std::min(static_cast<size_t>(jpg_source_end - jpg_source_pos),
                         static_cast<size_t>(JPG_FILL_BYTES));
        std::memcpy(src->buffer, jpg_source_pos, count);
        jpg_source_pos += count;
    } else {
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        count = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = count;
    src->start_of_file = FALSE;
    return TRUE;
}

void jpg_src_skip(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    JpgSourceMgr* src = jpg_source(cinfo);
    while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        const bool used_up = jpg_source_pos >= jpg_source_end;
        jpg_src_fill(cinfo);
        if (used_up) return; // skipped past the stream: only the end marker is left
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

void jpg_src_term(j_decompress_ptr) {}

void jpg_error_exit(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<JpgErrorMgr*>(cinfo->err)->jump, 1);
}

s32 jpg_decode_zone(const u8* jpeg, s32 size, u16* dst) {
    if (dst == nullptr) return 0;
    JpgJob job;
    job.zone_dst = dst;
    job.x = job.y = job.mirror = 0;
    return jpg_run(&job, jpeg, size);
}

s32 jpg_draw(s32 x, s32 y, const u8* jpeg, s32 size, s32 mirror) {
    if (jpg_target == nullptr || jpg_target_width <= 0) return 0;
    JpgJob job;
    job.zone_dst = nullptr;
    job.x = x;
    job.y = y;
    job.mirror = mirror;
    return jpg_run(&job, jpeg, size);
}
