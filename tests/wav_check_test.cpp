// The sound entry check: well-formed WAVs of every taken format pass; entries whose chunks run
// past the entry, whose format is unknown or whose fields disagree are no sound.
#include "engine/wav_check.h"

#include "tools/wav.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void put16(std::vector<u8>& v, u32 x) {
    v.push_back(u8(x));
    v.push_back(u8(x >> 8));
}
void put32(std::vector<u8>& v, u32 x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

struct Fmt {
    u16 tag = 1, channels = 1;
    u32 rate = 22050;
    u16 block_align = 2, bits = 16;
    std::vector<u8> extension; // cbSize and what follows, when not empty
};

std::vector<u8> fmt_body(const Fmt& f) {
    std::vector<u8> v;
    put16(v, f.tag);
    put16(v, f.channels);
    put32(v, f.rate);
    put32(v, f.rate * f.block_align);
    put16(v, f.block_align);
    put16(v, f.bits);
    v.insert(v.end(), f.extension.begin(), f.extension.end());
    return v;
}

std::vector<u8> chunk(const char* id, const std::vector<u8>& body, s64 declared = -1) {
    std::vector<u8> v(id, id + 4);
    put32(v, declared < 0 ? u32(body.size()) : u32(declared));
    v.insert(v.end(), body.begin(), body.end());
    if (body.size() % 2) v.push_back(0);
    return v;
}

std::vector<u8> riff(const std::vector<std::vector<u8>>& chunks, s64 extra_riff = 0) {
    std::vector<u8> body = {'W', 'A', 'V', 'E'};
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    std::vector<u8> v = {'R', 'I', 'F', 'F'};
    put32(v, u32(s64(body.size()) + extra_riff));
    v.insert(v.end(), body.begin(), body.end());
    return v;
}

std::vector<u8> wav(const Fmt& f, size_t data_bytes = 400) {
    return riff({chunk("fmt ", fmt_body(f)), chunk("data", std::vector<u8>(data_bytes, 0x80))});
}

// ADPCM extension: cbSize 2 and the samples per block.
std::vector<u8> adpcm_extension(u16 samples_per_block) {
    std::vector<u8> v;
    put16(v, 2);
    put16(v, samples_per_block);
    return v;
}

// Extensible extension: cbSize 22, valid bits, channel mask, sub-format GUID.
std::vector<u8> extensible(u16 sub_tag, u16 bits, bool standard_guid = true) {
    std::vector<u8> v;
    put16(v, 22);
    put16(v, bits);
    put32(v, 0);
    put16(v, sub_tag);
    const u8 tail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    v.insert(v.end(), tail, tail + 14);
    if (!standard_guid) v.back() ^= 1;
    return v;
}

s32 check(const std::vector<u8>& bytes) {
    // An exactly-sized copy, so a read past the entry is caught.
    std::unique_ptr<u8[]> copy(new u8[bytes.size() + (bytes.empty() ? 1 : 0)]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    return wav_check(copy.get(), s32(bytes.size()));
}

TEST(WavCheck, TheWritersSoundsPass) {
    for (u16 channels : {1, 2})
        for (u16 bits : {8, 16})
            for (u32 rate : {8000u, 22050u, 44100u}) {
                SCOPED_TRACE(testing::Message() << channels << "/" << bits << "/" << rate);
                EXPECT_EQ(check(wav_tone(WavFormat{channels, rate, bits}, 120, 440)), 1);
            }
}

TEST(WavCheck, FormatsAndTheirFields) {
    struct Case {
        const char* what;
        Fmt fmt;
        s32 expected;
    };
    const Case cases[] = {
        {"pcm 16 mono", {}, 1},
        {"pcm 24 stereo", {1, 2, 48000, 6, 24, {}}, 1},
        {"pcm 32 stereo", {1, 2, 96000, 8, 32, {}}, 1},
        {"float 32", {3, 1, 44100, 4, 32, {}}, 1},
        {"float 64 stereo", {3, 2, 44100, 16, 64, {}}, 1},
        {"a-law", {6, 1, 8000, 1, 8, {}}, 1},
        {"mu-law stereo", {7, 2, 8000, 2, 8, {}}, 1},
        {"ms adpcm", {2, 1, 22050, 256, 4, adpcm_extension(500)}, 1},
        {"ms adpcm stereo", {2, 2, 22050, 512, 4, adpcm_extension(500)}, 1},
        {"ima adpcm", {0x11, 1, 22050, 256, 4, adpcm_extension(505)}, 1},
        {"ima adpcm stereo", {0x11, 2, 22050, 512, 4, adpcm_extension(505)}, 1},
        {"extensible pcm", {0xFFFE, 2, 44100, 4, 16, extensible(1, 16)}, 1},
        {"extensible float", {0xFFFE, 1, 44100, 4, 32, extensible(3, 32)}, 1},
        {"lowest rate", {1, 1, 4000, 2, 16, {}}, 1},
        {"highest rate", {1, 1, 192000, 2, 16, {}}, 1},
        {"eight channels", {1, 8, 44100, 16, 16, {}}, 1},
        // Refused.
        {"mp3 in wav", {0x55, 1, 44100, 1, 0, {}}, 0},
        {"unknown tag", {0x1234, 1, 22050, 2, 16, {}}, 0},
        {"no channels", {1, 0, 22050, 0, 16, {}}, 0},
        {"nine channels", {1, 9, 22050, 18, 16, {}}, 0},
        {"rate 0", {1, 1, 0, 2, 16, {}}, 0},
        {"rate 3999", {1, 1, 3999, 2, 16, {}}, 0},
        {"rate 192001", {1, 1, 192001, 2, 16, {}}, 0},
        {"pcm 12 bits", {1, 1, 22050, 2, 12, {}}, 0},
        {"pcm 0 bits", {1, 1, 22050, 0, 0, {}}, 0},
        {"block too small", {1, 2, 22050, 2, 16, {}}, 0},
        {"block too large", {1, 1, 22050, 4000, 16, {}}, 0},
        {"float 16", {3, 1, 22050, 2, 16, {}}, 0},
        {"a-law 16 bits", {6, 1, 8000, 2, 16, {}}, 0},
        {"ms adpcm without extension", {2, 1, 22050, 256, 4, {}}, 0},
        {"ms adpcm wrong samples", {2, 1, 22050, 256, 4, adpcm_extension(65535)}, 0},
        {"ms adpcm block within header", {2, 1, 22050, 7, 4, adpcm_extension(2)}, 0},
        {"ima adpcm three channels", {0x11, 3, 22050, 768, 4, adpcm_extension(505)}, 0},
        {"ima adpcm 8 bits", {0x11, 1, 22050, 256, 8, adpcm_extension(505)}, 0},
        {"extensible other guid", {0xFFFE, 1, 44100, 2, 16, extensible(1, 16, false)}, 0},
        {"extensible adpcm", {0xFFFE, 1, 44100, 256, 4, extensible(2, 4)}, 0},
        {"extensible short", {0xFFFE, 1, 44100, 2, 16, adpcm_extension(0)}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(check(wav(c.fmt, 1024)), c.expected);
    }
}

TEST(WavCheck, ChunksMustLieInsideTheEntry) {
    const std::vector<u8> fmt = chunk("fmt ", fmt_body({}));
    const std::vector<u8> samples(3500, 0x10);
    struct Case {
        const char* what;
        std::vector<u8> bytes;
        s32 expected;
    };
    std::vector<Case> cases = {
        {"plain", riff({fmt, chunk("data", samples)}), 1},
        {"a list chunk before the data",
         riff({fmt, chunk("LIST", {1, 2, 3}), chunk("data", samples)}), 1},
        {"odd chunk padded", riff({chunk("junk", {9}), fmt, chunk("data", samples)}), 1},
        {"data declares 2.8 GB", riff({fmt, chunk("data", samples, 0xA6E49C00)}), 0},
        {"data one byte past", riff({fmt, chunk("data", samples, 3501)}), 0},
        {"fmt runs past", riff({chunk("fmt ", fmt_body({}), 0x7FFFFFFF)}), 0},
        {"list runs past", riff({fmt, chunk("LIST", {1, 2}, 0xFFFFFFF0), chunk("data", samples)}),
         0},
        {"riff size past the entry", riff({fmt, chunk("data", samples)}, 1), 0},
        {"riff size ends before the data", riff({fmt, chunk("data", samples)}, -3000), 0},
        {"riff size 0", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, 0},
        {"data before fmt", riff({chunk("data", samples), fmt}), 0},
        {"no data", riff({fmt}), 0},
        {"no fmt", riff({chunk("data", samples)}), 0},
        {"data shorter than a block", riff({fmt, chunk("data", {1})}), 0},
        {"fmt of 14 bytes",
         riff({chunk("fmt ", std::vector<u8>(fmt.begin() + 8, fmt.begin() + 22)),
               chunk("data", samples)}),
         0},
        {"not riff", std::vector<u8>(100, 0x41), 0},
        {"ogg", {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"riff but not wave", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, 0},
        {"empty", {}, 0},
        {"eleven bytes", {'R', 'I', 'F', 'F', 3, 0, 0, 0, 'W', 'A', 'V'}, 0},
    };
    // Every cut of a good entry is refused (its RIFF size runs past the cut).
    const std::vector<u8> whole = riff({fmt, chunk("data", std::vector<u8>(64, 1))});
    for (size_t n = 0; n < whole.size(); ++n)
        cases.push_back({"cut", std::vector<u8>(whole.begin(), whole.begin() + long(n)), 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << " " << c.bytes.size());
        EXPECT_EQ(check(c.bytes), c.expected);
    }
    EXPECT_EQ(wav_check(nullptr, 100), 0);
}

} // namespace
