#include "tools/jpeg_writer.h"

#include "engine/shell.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>

namespace {

constexpr s32 WRITER_MAX_SIDE = 65500; // the library's largest dimension
constexpr size_t WRITER_CHUNK = 4096;
constexpr s32 ZONE_TILE = 256;
constexpr s32 ZONE_PICTURE = ZONE_TILE + 2;
constexpr u32 RAW_BITMAP_MAGIC = 0x19700328;

// One compression: the compressor, its error manager with the jump back, and the destination
// that appends to the output vector.
struct WriterJob {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    std::jmp_buf jump;
    jpeg_destination_mgr dest;
    JOCTET chunk[WRITER_CHUNK];
    std::vector<u8>* out;
    const u8* pixels;
    s32 width, height;
    JpegWriteOptions options;
    char message[JMSG_LENGTH_MAX];
    s32 finished;
};

WriterJob* writer_job(j_common_ptr cinfo) {
    return static_cast<WriterJob*>(cinfo->client_data);
}

[[noreturn]] void writer_error_exit(j_common_ptr cinfo) {
    WriterJob* job = writer_job(cinfo);
    (*cinfo->err->format_message)(cinfo, job->message);
    std::longjmp(job->jump, 1);
}

void writer_dest_init(j_compress_ptr cinfo) {
    WriterJob* job = writer_job(reinterpret_cast<j_common_ptr>(cinfo));
    job->dest.next_output_byte = job->chunk;
    job->dest.free_in_buffer = WRITER_CHUNK;
}

boolean writer_dest_empty(j_compress_ptr cinfo) {
    WriterJob* job = writer_job(reinterpret_cast<j_common_ptr>(cinfo));
    job->out->insert(job->out->end(), job->chunk, job->chunk + WRITER_CHUNK);
    job->dest.next_output_byte = job->chunk;
    job->dest.free_in_buffer = WRITER_CHUNK;
    return TRUE;
}

void writer_dest_term(j_compress_ptr cinfo) {
    WriterJob* job = writer_job(reinterpret_cast<j_common_ptr>(cinfo));
    job->out->insert(job->out->end(), job->chunk,
                     job->chunk + (WRITER_CHUNK - job->dest.free_in_buffer));
}

// The compression proper; an error inside leaves through `writer_error_exit`.
__attribute__((noinline)) void writer_run_body(WriterJob* job) {
    j_compress_ptr cinfo = &job->cinfo;
    jpeg_create_compress(cinfo);
    cinfo->client_data = job;
    job->dest.init_destination = writer_dest_init;
    job->dest.empty_output_buffer = writer_dest_empty;
    job->dest.term_destination = writer_dest_term;
    cinfo->dest = &job->dest;

    cinfo->image_width = static_cast<JDIMENSION>(job->width);
    cinfo->image_height = static_cast<JDIMENSION>(job->height);
    cinfo->input_components = job->options.components;
    cinfo->in_color_space = job->options.components == 1   ? JCS_GRAYSCALE
                            : job->options.components == 4 ? JCS_CMYK
                                                           : JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, job->options.quality, TRUE);
    // Every colour space gets the JFIF marker (the library leaves it out for CMYK) unless the
    // caller asked for a stream without it.
    cinfo->write_JFIF_header = job->options.jfif_marker ? TRUE : FALSE;
    if (job->options.progressive) jpeg_simple_progression(cinfo);

    jpeg_start_compress(cinfo, TRUE);
    const size_t stride =
        static_cast<size_t>(job->width) * static_cast<size_t>(cinfo->input_components);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(job->pixels + stride * cinfo->next_scanline);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
}

// Returns 1 when the compression finished, 0 when the library stopped it (message in the job).
s32 writer_run(WriterJob* job) {
    std::memset(&job->cinfo, 0, sizeof job->cinfo);
    job->cinfo.err = jpeg_std_error(&job->err);
    job->err.error_exit = writer_error_exit;
    job->cinfo.client_data = job;
    job->message[0] = 0;
    job->finished = 0;
    if (setjmp(job->jump) == 0) {
        writer_run_body(job);
        job->finished = 1;
    }
    jpeg_destroy_compress(&job->cinfo);
    return job->finished;
}

u32 read_u32(const std::vector<u8>& bytes, size_t at) {
    return static_cast<u32>(bytes[at]) | static_cast<u32>(bytes[at + 1]) << 8 |
           static_cast<u32>(bytes[at + 2]) << 16 | static_cast<u32>(bytes[at + 3]) << 24;
}

} // namespace

s32 jpeg_writer_is_jpeg_kind(const std::vector<u8>& stream) {
    return stream.size() >= 10 && std::memcmp(stream.data() + 6, "JFIF", 4) == 0 ? 1 : 0;
}

std::vector<u8> jpeg_writer_encode(const u8* pixels, s32 width, s32 height,
                                   const JpegWriteOptions& options) {
    if (width < 1 || height < 1 || width > WRITER_MAX_SIDE || height > WRITER_MAX_SIDE)
        shell_fatal("jpeg_writer: picture size %dx%d", width, height);
    if (options.components != 1 && options.components != 3 && options.components != 4)
        shell_fatal("jpeg_writer: %d components", options.components);
    if (pixels == nullptr) shell_fatal("jpeg_writer: no pixels");

    std::vector<u8> out;
    auto job = std::make_unique<WriterJob>();
    job->out = &out;
    job->pixels = pixels;
    job->width = width;
    job->height = height;
    job->options = options;
    job->options.quality = options.quality < 1 ? 1 : options.quality > 100 ? 100 : options.quality;
    if (!writer_run(job.get())) shell_fatal("jpeg_writer: %s", job->message);

    // The kind markers: a JFIF stream must be of JPEG kind, a stream without the marker (asked
    // for) must not be; neither may look like a raw bitmap.
    const s32 jpeg_kind = jpeg_writer_is_jpeg_kind(out);
    if (jpeg_kind != (options.jfif_marker ? 1 : 0) ||
        (out.size() >= 12 && read_u32(out, 8) == RAW_BITMAP_MAGIC))
        shell_fatal("jpeg_writer: stream collides with an image kind marker");
    return out;
}

std::vector<u8> jpeg_writer_zone_full(const u8* rgb_picture, s32 quality) {
    JpegWriteOptions options;
    options.quality = quality;
    return jpeg_writer_encode(rgb_picture, ZONE_PICTURE, ZONE_PICTURE, options);
}

std::vector<u8> jpeg_writer_zone(const u8* rgb_tile, s32 quality) {
    if (rgb_tile == nullptr) shell_fatal("jpeg_writer: no pixels");
    std::vector<u8> picture(static_cast<size_t>(ZONE_PICTURE) * ZONE_PICTURE * 3);
    for (s32 y = 0; y < ZONE_PICTURE; ++y) {
        const s32 ty = y == 0 ? 0 : y == ZONE_PICTURE - 1 ? ZONE_TILE - 1 : y - 1;
        for (s32 x = 0; x < ZONE_PICTURE; ++x) {
            const s32 tx = x == 0 ? 0 : x == ZONE_PICTURE - 1 ? ZONE_TILE - 1 : x - 1;
            std::memcpy(&picture[(static_cast<size_t>(y) * ZONE_PICTURE + x) * 3],
                        &rgb_tile[(static_cast<size_t>(ty) * ZONE_TILE + tx) * 3], 3);
        }
    }
    return jpeg_writer_zone_full(picture.data(), quality);
}
