// The input layout of the JPEG target (fuzz/jpg_fuzz.cpp), shared with its seed writer.
//
// Byte 0 holds switches: bit 0 the pixel layout, bits 1-2 the form of the stream, bit 3 one more
// draw that shows the picture's bottom rows, bit 4 mirrors it. Bytes 1..4 are the frame's width
// and height (u16 each) for the baseline and progressive forms. The bytes from
// JPG_FUZZ_CONTROL on are:
// - JPG_FUZZ_WHOLE: the whole stream;
// - JPG_FUZZ_BASELINE, JPG_FUZZ_PROGRESSIVE, JPG_FUZZ_ZONE: the entropy-coded data after a
//   header made here (tables, frame and first scan header of a template picture), so that the
//   mutations work on the decoding rather than on getting a header past the parser. The
//   baseline and progressive frames take the input's width (1..JPG_MAX_WIDTH) and height
//   (1..JPG_MAX_HEIGHT + 8); the zone header is the template's 258 x 258.
#pragma once
#include "engine/jpg.h"
#include "engine/types.h"
#include "tools/jpeg_writer.h"

#include <array>
#include <cstddef>
#include <vector>

constexpr size_t JPG_FUZZ_CONTROL = 5;
constexpr s32 JPG_FUZZ_WHOLE = 0;
constexpr s32 JPG_FUZZ_BASELINE = 1;
constexpr s32 JPG_FUZZ_PROGRESSIVE = 2;
constexpr s32 JPG_FUZZ_ZONE = 3;

// A template stream cut after its first scan header.
struct JpgFuzzTemplate {
    std::vector<u8> header; // up to and including the first scan header
    std::vector<u8> scan;   // the rest, without the end-of-image marker
    size_t frame = 0;       // offset of the frame header's height field in `header`
    s32 width = 0, height = 0;
};

inline JpgFuzzTemplate jpg_fuzz_split(const std::vector<u8>& stream, s32 width, s32 height) {
    JpgFuzzTemplate t;
    t.width = width;
    t.height = height;
    for (size_t i = 2; i + 4 < stream.size(); ++i) {
        if (stream[i] != 0xFF) continue;
        const u8 marker = stream[i + 1];
        if ((marker == 0xC0 || marker == 0xC2) && t.frame == 0) t.frame = i + 5;
        if (marker == 0xDA) {
            const size_t end = i + 2 + (size_t(stream[i + 2]) << 8 | stream[i + 3]);
            t.header.assign(stream.begin(), stream.begin() + long(end));
            t.scan.assign(stream.begin() + long(end), stream.end() - 2);
            break;
        }
    }
    return t;
}

// The template of a form (JPG_FUZZ_BASELINE .. JPG_FUZZ_ZONE), made once from fixed pictures.
inline const JpgFuzzTemplate& jpg_fuzz_template(s32 form) {
    static const std::array<JpgFuzzTemplate, 3> templates = [] {
        std::vector<u8> rgb(size_t(258) * 258 * 3);
        for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = u8((i * 7 + (i / 774) * 3) % 251);
        JpegWriteOptions progressive;
        progressive.progressive = true;
        progressive.quality = 60;
        return std::array<JpgFuzzTemplate, 3>{
            jpg_fuzz_split(jpeg_writer_encode(rgb.data(), 64, 48), 64, 48),
            jpg_fuzz_split(jpeg_writer_encode(rgb.data(), 40, 24, progressive), 40, 24),
            jpg_fuzz_split(jpeg_writer_zone_full(rgb.data(), 70), 258, 258),
        };
    }();
    return templates[size_t(form - 1)];
}

// The stream an input stands for (empty for an input shorter than JPG_FUZZ_CONTROL bytes).
inline std::vector<u8> jpg_fuzz_stream(const u8* data, size_t size) {
    if (size < JPG_FUZZ_CONTROL) return {};
    const s32 form = (data[0] >> 1) & 3;
    const u8* rest = data + JPG_FUZZ_CONTROL;
    const size_t rest_size = size - JPG_FUZZ_CONTROL;
    if (form == JPG_FUZZ_WHOLE) return std::vector<u8>(rest, rest + rest_size);
    const JpgFuzzTemplate& t = jpg_fuzz_template(form);
    std::vector<u8> stream = t.header;
    if (form != JPG_FUZZ_ZONE && t.frame != 0) {
        const u32 width = 1 + u32(data[1] | data[2] << 8) % u32(JPG_MAX_WIDTH);
        const u32 height = 1 + u32(data[3] | data[4] << 8) % u32(JPG_MAX_HEIGHT + 8);
        stream[t.frame] = u8(height >> 8);
        stream[t.frame + 1] = u8(height);
        stream[t.frame + 2] = u8(width >> 8);
        stream[t.frame + 3] = u8(width);
    }
    stream.insert(stream.end(), rest, rest + rest_size);
    return stream;
}

// The control bytes of an input of the given form with the frame size it gives (the inverse of
// the width and height taken by jpg_fuzz_stream, for sizes in range).
inline std::vector<u8> jpg_fuzz_control(u8 switches, s32 form, s32 width, s32 height) {
    const u32 w = u32(width - 1), h = u32(height - 1);
    return {u8((switches & ~6u) | u32(form) << 1), u8(w), u8(w >> 8), u8(h), u8(h >> 8)};
}
