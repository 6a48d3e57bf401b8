#include "tools/wav.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

void check_format(const WavFormat& format) {
    if (format.channels < 1 || format.channels > 2 || (format.bits != 8 && format.bits != 16) ||
        format.rate == 0)
        throw std::invalid_argument("wav: unsupported format");
}

// Writes little-endian fields and tags into a buffer sized in advance.
struct HeaderWriter {
    u8* p;
    void u16_le(u32 v) {
        *p++ = u8(v);
        *p++ = u8(v >> 8);
    }
    void u32_le(u32 v) {
        u16_le(v & 0xFFFF);
        u16_le(v >> 16);
    }
    void tag(const char* t) {
        std::memcpy(p, t, 4);
        p += 4;
    }
};

} // namespace

u32 wav_data_size(const WavFormat& format, u32 duration_ms) {
    check_format(format);
    u64 frames = u64(format.rate) * duration_ms / 1000;
    return u32(frames * format.channels * (format.bits / 8));
}

std::vector<u8> wav_encode(const WavFormat& format, const std::vector<u8>& samples) {
    check_format(format);
    u32 block_align = u32(format.channels) * (format.bits / 8);
    u32 data_size = u32(samples.size());
    u32 pad = data_size & 1; // chunks are padded to an even length
    std::vector<u8> out(44 + data_size + pad, 0);
    HeaderWriter w{out.data()};
    w.tag("RIFF");
    w.u32_le(36 + data_size + pad);
    w.tag("WAVE");
    w.tag("fmt ");
    w.u32_le(16);
    w.u16_le(1); // PCM
    w.u16_le(format.channels);
    w.u32_le(format.rate);
    w.u32_le(format.rate * block_align);
    w.u16_le(block_align);
    w.u16_le(format.bits);
    w.tag("data");
    w.u32_le(data_size);
    if (data_size) std::memcpy(w.p, samples.data(), data_size);
    return out;
}

std::vector<u8> wav_tone(const WavFormat& format, u32 duration_ms, u32 frequency_hz,
                         u32 amplitude_percent) {
    u32 bytes = wav_data_size(format, duration_ms);
    u32 frame_bytes = u32(format.channels) * (format.bits / 8);
    u32 frames = bytes / frame_bytes;
    u32 fade = format.rate / 200; // 5 ms
    if (fade > frames / 2) fade = frames / 2;
    double amplitude = (amplitude_percent > 100 ? 100 : amplitude_percent) / 100.0;
    const double two_pi = 6.283185307179586;
    std::vector<u8> samples;
    samples.reserve(bytes);
    for (u32 i = 0; i < frames; ++i) {
        double envelope = 1.0;
        if (i < fade) envelope = double(i) / fade;
        if (frames - 1 - i < fade) envelope = double(frames - 1 - i) / fade;
        double v = amplitude * envelope * std::sin(two_pi * frequency_hz * i / format.rate);
        for (u32 c = 0; c < format.channels; ++c) {
            if (format.bits == 8) {
                samples.push_back(u8(128 + std::lround(v * 127)));
            } else {
                u16 s = u16(s16(std::lround(v * 32767)));
                samples.push_back(u8(s));
                samples.push_back(u8(s >> 8));
            }
        }
    }
    return wav_encode(format, samples);
}
