#include "engine/wav_check.h"

#include <cstring>

namespace {

// The fields of a "fmt " chunk that the check reads (little-endian in the entry).
struct WavFmt {
    u16 tag;
    u16 channels;
    u32 rate;
    u16 block_align;
    u16 bits;
    u16 samples_per_block; // ADPCM: from the extension; 0 when the chunk has none
    u16 sub_tag;           // extensible: the first two bytes of the sub-format GUID
    bool sub_guid_ok;      // extensible: the rest of the GUID is the standard one
};

u16 rd16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}
u32 rd32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

// The GUID of an extensible format after its two tag bytes.
constexpr u8 WAV_SUB_GUID_TAIL[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Reads a fmt chunk of len bytes at p (already known to lie inside the entry).
bool read_fmt(const u8* p, u32 len, WavFmt* f) {
    if (len < 16) return false;
    *f = {};
    f->tag = rd16(p);
    f->channels = rd16(p + 2);
    f->rate = rd32(p + 4);
    f->block_align = rd16(p + 12);
    f->bits = rd16(p + 14);
    const u16 extra = len >= 18 ? rd16(p + 16) : 0;
    if (extra >= 2 && len >= 20) f->samples_per_block = rd16(p + 18);
    if (f->tag == WAV_FORMAT_EXTENSIBLE) {
        if (extra < 22 || len < 40) return false;
        f->sub_tag = rd16(p + 24);
        f->sub_guid_ok = std::memcmp(p + 26, WAV_SUB_GUID_TAIL, sizeof WAV_SUB_GUID_TAIL) == 0;
    }
    return true;
}

// Samples and block sizes of uncompressed formats: whole bytes per sample, one frame a block.
bool plain_ok(const WavFmt& f, bool floating) {
    const bool bits_ok = floating ? (f.bits == 32 || f.bits == 64)
                                  : (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    return bits_ok && u32(f.block_align) == u32(f.channels) * (f.bits / 8);
}

// ADPCM: four bits a sample, mono or stereo, and the samples per block that the block size
// holds after its per-channel header (header_bytes a channel, header_samples taken from it).
bool adpcm_ok(const WavFmt& f, u32 header_bytes, u32 header_samples) {
    if (f.bits != 4 || f.channels > 2) return false;
    const u32 header = header_bytes * f.channels;
    if (f.block_align <= header) return false;
    const u32 samples = (f.block_align - header) * 8 / (4u * f.channels) + header_samples;
    return f.samples_per_block == samples;
}

bool fmt_ok(const WavFmt& f) {
    if (f.channels < 1 || f.channels > WAV_MAX_CHANNELS) return false;
    if (f.rate < WAV_MIN_RATE || f.rate > WAV_MAX_RATE) return false;
    switch (f.tag) {
    case WAV_FORMAT_PCM:
        return plain_ok(f, false);
    case WAV_FORMAT_FLOAT:
        return plain_ok(f, true);
    case WAV_FORMAT_ALAW:
    case WAV_FORMAT_MULAW:
        return f.bits == 8 && f.block_align == f.channels;
    case WAV_FORMAT_MS_ADPCM:
        return adpcm_ok(f, 7, 2);
    case WAV_FORMAT_IMA_ADPCM:
        return adpcm_ok(f, 4, 1);
    case WAV_FORMAT_EXTENSIBLE:
        if (!f.sub_guid_ok) return false;
        if (f.sub_tag == WAV_FORMAT_PCM) return plain_ok(f, false);
        if (f.sub_tag == WAV_FORMAT_FLOAT) return plain_ok(f, true);
        return false;
    default:
        return false; // not a format the loader is given
    }
}

} // namespace

s32 wav_check(const u8* data, s32 size) {
    if (data == nullptr || size < 12) return 0;
    if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return 0;
    const u64 riff_end = 8 + u64(rd32(data + 4));
    if (riff_end < 12 || riff_end > u64(size)) return 0;

    WavFmt fmt{};
    bool have_fmt = false;
    u64 pos = 12;
    while (pos + 8 <= riff_end) {
        const u8* chunk = data + pos;
        const u64 len = rd32(chunk + 4);
        if (len > riff_end - pos - 8) return 0; // runs past the RIFF size
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !have_fmt) {
            if (!read_fmt(chunk + 8, u32(len), &fmt) || !fmt_ok(fmt)) return 0;
            have_fmt = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // The samples follow the format, and hold at least one whole block.
            return have_fmt && len >= fmt.block_align ? 1 : 0;
        }
        pos += 8 + len + (len & 1);
    }
    return 0;
}
