#include "engine/jpg.h"

#include "engine/blit.h"
#include "engine/shell.h"

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
s32 jpg_rows_decoded = 0;

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

    // Refuse before any output: three colour components at most `JPG_MAX_WIDTH` wide and
    // `JPG_MAX_HEIGHT` high, and a zone picture exactly 258 x 258.
    if (cinfo->num_components != 3 || cinfo->image_width > static_cast<u32>(JPG_MAX_WIDTH) ||
        cinfo->image_height > static_cast<u32>(JPG_MAX_HEIGHT))
        return;
    if (job->zone_dst && (cinfo->image_width != static_cast<u32>(JPG_ZONE_STREAM_SIDE) ||
                          cinfo->image_height != static_cast<u32>(JPG_ZONE_STREAM_SIDE)))
        return;
    // On the screen, a picture wholly off it is not decoded at all, and the rows from the one
    // that reaches the bottom edge on are never drawn: the decode stops there (a row takes
    // errors only from the rows above it).
    s64 rows = cinfo->image_height;
    if (!job->zone_dst) {
        const s64 left = job->x, top = job->y, columns = cinfo->image_width;
        if (top >= JPG_SCREEN_H || top + rows <= 0 || left >= JPG_SCREEN_W || left + columns <= 0) {
            job->result = 1;
            return;
        }
        rows = std::min<s64>(rows, JPG_SCREEN_H - top);
    }
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

    while (cinfo->output_scanline < rows) {
        const s32 row = static_cast<s32>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, line, 1) != 1) return; // cannot happen: no suspension
        jpg_rows_decoded = row + 1;
        // The row that collected errors during the previous image row is read now; the other
        // one is overwritten with this row's errors (as if cleared first).
        std::swap(current, next);
        jpg_diffuse_row(line[0], width, current, next, jpg_row_out);
        jpg_store_row(*job, row, jpg_row_out, width);
    }
    // A decode stopped at the screen's edge is complete for its caller; the decompressor is
    // released by `jpg_run` without finishing the stream.
    if (cinfo->output_scanline == cinfo->output_height) jpeg_finish_decompress(cinfo);
    job->result = 1;
}

// Sets the jump point, runs the decode and releases the decompressor however the decode ended.
s32 jpg_run(JpgJob* job, const u8* jpeg, s32 size) {
    job->result = 0;
    jpg_rows_decoded = 0;
    if (jpeg == nullptr || size <= 0) return 0;
    jpg_source_pos = jpeg;
    jpg_source_end = jpeg + size;
    // Cleared first, so an error inside the creation finds no memory manager to release.
    std::memset(&job->cinfo, 0, sizeof job->cinfo);
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = jpg_error_exit;
    job->err.pub.output_message = jpg_output_message;
    if (setjmp(job->err.jump) == 0) jpg_run_body(job);
    jpeg_destroy_decompress(&job->cinfo);
    return job->result;
}

} // namespace

#if defined(__SSE2__)
// The step in passes. The only carry along a row is the right neighbour's share, so the chain
// pass walks the pixels in order and does little more than that chain needs: each channel's sum
// v (carried term, right neighbour's share, saturating add of the byte), stored, the share it
// hands on, and the packed pixel. The collecting pass builds the terms of next from the stored
// sums, eight terms at a time: with e the lost part of a sum, b = e >> 2 and q = e >> 4, term j
// collects b - q from term j + 3 (below left), b + q from term j (below) and q from term j - 3
// (below right). Every sum wraps at 16 bits exactly as term-by-term additions into a cleared
// next row do.
namespace {

// Zero terms before and after the sums of a row: the collecting pass reads from six terms
// before the row to eight terms past it.
constexpr s32 JPG_SUM_SPARE = 8;
constexpr s32 JPG_SUM_TERMS = JPG_SUM_SPARE + 3 * JPG_MAX_WIDTH + 16;
alignas(16) u16 jpg_row_sums[JPG_SUM_TERMS];
// Byte x 256 + carried term, saturated, per term of the row (the quick chain's input), and
// per term whether adding a right share may saturate the sum (non-zero) or cannot (0); the
// terms past the row are read as the fourth field of the last pixel and never used.
alignas(16) u16 jpg_row_high[3 * JPG_MAX_WIDTH + 8];
alignas(16) u16 jpg_row_may_saturate[3 * JPG_MAX_WIDTH + 8];

// Rows whose carried terms are all up to this bound take the quick chain: with a right share of
// at most 896 no carried term plus share wraps, and as every part is unsigned, adding the byte
// first and the share next, each with saturation, gives the saturated sum of all three. The
// decoder's own terms stay below 1,150; other callers may pass anything.
constexpr u16 JPG_QUICK_CARRY_MAX = 0xFFFF - 1024;

// The chain with the carried terms in 16-bit lanes: the three channels of a pixel side by side
// in lanes 0-2; lane 3 works on the next pixel's red term and its results are overwritten or
// dropped, never added into a term. Leaves the last pixel's right shares in right_out.
void jpg_chain_lanes(const u8* rgb, s32 width, const u16* current, u16* sums, u16 right_out[3]) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lost_mask = _mm_set1_epi16(0x7FF);
    __m128i right = zero; // share for the right neighbour (7/16)
    auto step = [&](s32 i, u32 bytes) {
        const s32 k = 3 * i;
        const __m128i high = _mm_unpacklo_epi8(zero, _mm_cvtsi32_si128(static_cast<int>(bytes)));
        const __m128i carried = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(current + k));
        const __m128i v = _mm_adds_epu16(high, _mm_add_epi16(carried, right));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(sums + k), v);
        const __m128i e = _mm_and_si128(v, lost_mask);
        right = _mm_sub_epi16(_mm_srli_epi16(e, 1), _mm_srli_epi16(e, 4));
    };
    // bytes: r, g, b and, but for the last pixel, the next red.
    for (s32 i = 0; i + 1 < width; ++i) {
        u32 bytes;
        std::memcpy(&bytes, rgb + 3 * i, 4);
        step(i, bytes);
    }
    u32 bytes = 0;
    std::memcpy(&bytes, rgb + 3 * (width - 1), 3);
    step(width - 1, bytes);
    alignas(16) u16 lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), right);
    for (s32 c = 0; c < 3; ++c) right_out[c] = lanes[c];
}

// The largest right share: (2047 >> 1) - (2047 >> 4).
constexpr u16 JPG_RIGHT_SHARE_MAX = 896;

// Fills `jpg_row_high` and `jpg_row_may_saturate` for the row; returns false, leaving them
// unfinished, when a carried term is above `JPG_QUICK_CARRY_MAX`.
bool jpg_quick_high(const u8* rgb, s32 terms, const u16* current) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i carry_bound = _mm_set1_epi16(static_cast<short>(JPG_QUICK_CARRY_MAX));
    const __m128i high_bound = _mm_set1_epi16(static_cast<short>(0xFFFF - JPG_RIGHT_SHARE_MAX));
    __m128i carry_over = zero;
    s32 k = 0;
    for (; k + 8 <= terms; k += 8) {
        const __m128i carried = _mm_loadu_si128(reinterpret_cast<const __m128i*>(current + k));
        carry_over = _mm_or_si128(carry_over, _mm_subs_epu16(carried, carry_bound));
        const __m128i byte_high =
            _mm_unpacklo_epi8(zero, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rgb + k)));
        const __m128i high = _mm_adds_epu16(byte_high, carried);
        _mm_store_si128(reinterpret_cast<__m128i*>(jpg_row_high + k), high);
        _mm_store_si128(reinterpret_cast<__m128i*>(jpg_row_may_saturate + k),
                        _mm_subs_epu16(high, high_bound));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(carry_over, zero)) != 0xFFFF) return false;
    for (; k < terms; ++k) {
        if (current[k] > JPG_QUICK_CARRY_MAX) return false;
        const u32 high = std::min<u32>(rgb[k] * 256u + current[k], 0xFFFF);
        jpg_row_high[k] = static_cast<u16>(high);
        jpg_row_may_saturate[k] = high > 0xFFFFu - JPG_RIGHT_SHARE_MAX;
    }
    return true;
}

// The quick chain: the three channels side by side in the 16-bit fields of one 64-bit register
// (red lowest), one operation serving all three. Where no field's sum can pass 0xFFFF (the
// pixel's terms in `jpg_row_may_saturate` are 0), the fields are added at once and none carries
// into the next; elsewhere each field is added and saturated on its own. The shares come from
// the sums masked to the lost part's bits in their own field, and e >> 1 is never below
// e >> 4, so the subtraction borrows from no field. The fourth field works on the next pixel's
// red term: its share is masked to 0 and its sum is overwritten or cleared. Needs
// `jpg_row_high` and `jpg_row_may_saturate` for the row.
template <bool layout_565> void jpg_chain_fields(s32 width, u16* sums, u16* out, u16 right_out[3]) {
    constexpr u64 half_mask = 0x03FF03FF03FFull;
    constexpr u64 sixteenth_mask = 0x007F007F007Full;
    // The top five bits of each sum are gathered by one multiplication into bits 32-47: 5-6-5
    // moves red to bit 43, green to bit 38 (16 + 22) and blue to bit 32; 5-5-5 to 42, 37 and
    // 32. Every other copy of a field lies below bit 27 or above bit 47.
    constexpr u64 pack_factor =
        layout_565 ? (1ull << 43) + (1ull << 22) + 1 : (1ull << 42) + (1ull << 21) + 1;
    const u16* high = jpg_row_high;
    u64 right = 0; // shares for the right neighbour (7/16)
    for (s32 i = 0; i < width; ++i) {
        const s32 k = 3 * i;
        u64 v, may_saturate;
        std::memcpy(&v, high + k, sizeof v);
        std::memcpy(&may_saturate, jpg_row_may_saturate + k, sizeof may_saturate);
        if (may_saturate == 0) {
            v += right;
        } else {
            u64 fields = 0;
            for (s32 c = 0; c < 3; ++c) {
                const u64 sum = ((v >> 16 * c) & 0xFFFF) + ((right >> 16 * c) & 0xFFFF);
                fields |= std::min<u64>(sum, 0xFFFF) << 16 * c;
            }
            v = fields;
        }
        std::memcpy(sums + k, &v, sizeof v);
        // e >> 1 and e >> 4 straight from the sums: bits 1-10 and 4-10 of each field.
        right = ((v >> 1) & half_mask) - ((v >> 4) & sixteenth_mask);
        const u64 five = (v >> 11) & 0x001F001F001Full;
        out[i] = static_cast<u16>((five * pack_factor) >> 32);
    }
    right_out[0] = static_cast<u16>(right);
    right_out[1] = static_cast<u16>(right >> 16);
    right_out[2] = static_cast<u16>(right >> 32);
}

// Terms -3 .. terms + 2 of next from the sums (zero beyond the row), eight at a time; the last
// group ends at terms + 2 and may go over terms already written (with the same values).
void jpg_collect_next(const u16* sums, s32 terms, u16* next) {
    const __m128i lost_mask = _mm_set1_epi16(0x7FF);
    auto group = [&](s32 j) {
        const __m128i e_left = _mm_and_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + j - 3)), lost_mask);
        const __m128i e_here =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + j)), lost_mask);
        const __m128i e_right = _mm_and_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + j + 3)), lost_mask);
        const __m128i q_left = _mm_srli_epi16(e_left, 4);
        const __m128i q_here = _mm_srli_epi16(e_here, 4);
        const __m128i q_right = _mm_srli_epi16(e_right, 4);
        const __m128i from_right = _mm_sub_epi16(_mm_srli_epi16(e_right, 2), q_right);
        const __m128i from_here = _mm_add_epi16(_mm_srli_epi16(e_here, 2), q_here);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(next + j),
                         _mm_add_epi16(_mm_add_epi16(from_right, from_here), q_left));
    };
    const s32 last_group = terms + 3 - 8; // terms + 6 >= 9 terms in all
    for (s32 j = -3; j < last_group; j += 8) group(j);
    group(last_group);
}

// The packed pixels from the sums: the top five bits of each channel's sum.
void jpg_pack(const u16* sums, s32 width, u16* out) {
    const u32 red_shift = display_565 ? 11 : 10;
    const u32 green_shift = display_565 ? 6 : 5;
    for (s32 i = 0; i < width; ++i) {
        const u16* v = sums + 3 * i;
        out[i] =
            static_cast<u16>((v[0] >> 11) << red_shift | (v[1] >> 11) << green_shift | v[2] >> 11);
    }
}

} // namespace

void jpg_diffuse_row(const u8* rgb, s32 width, u16* current, u16* next, u16* out) {
    if (width <= 0 || width > JPG_MAX_WIDTH) return;
    u16* sums = jpg_row_sums + JPG_SUM_SPARE;
    const s32 terms = 3 * width;
    u16 right[3];
    if (!jpg_quick_high(rgb, terms, current)) {
        jpg_chain_lanes(rgb, width, current, sums, right);
        jpg_pack(sums, width, out);
    } else if (display_565) {
        jpg_chain_fields<true>(width, sums, out, right);
    } else {
        jpg_chain_fields<false>(width, sums, out, right);
    }
    // The last pixel's right shares go into the terms past the row.
    for (s32 c = 0; c < 3; ++c)
        current[terms + c] = static_cast<u16>(current[terms + c] + right[c]);
    std::memset(sums + terms, 0, 8 * sizeof(u16));
    jpg_collect_next(sums, terms, next);
}
#else
// The carries stay in registers: the right neighbour's share is added to the next pixel's term
// as it is read, and each term of next is written once, when its last share (from the pixel
// below right of it) is known. Every sum wraps at 16 bits exactly as term-by-term additions do.
// With e the lost part: b = e >> 2, q = e >> 4.
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

void jpg_output_message(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    debug_log("jpg: %s", text);
}

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
