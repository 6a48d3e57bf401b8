// Seeds of the sound target: WAV entries of the archive builder's WAV writer (8 and 16 bits,
// mono and stereo, several rates), the same with extra chunks around the samples, and entries of
// the other formats the entry check takes (float, a-law, IMA and MS ADPCM, extensible PCM) made
// by patching the writer's header; plus a few that are no sound (a cut entry, another format).
#include "engine/wav_check.h"
#include "fuzz/seeds/seed_dir.h"
#include "tools/wav.h"

#include <string>
#include <vector>

namespace {

// The writer's entry with its "fmt " chunk replaced by `fmt` and `extra` chunks put before the
// data chunk.
std::vector<u8> rebuild(const std::vector<u8>& fmt, const std::vector<u8>& samples,
                        const std::vector<u8>& extra = {}) {
    std::vector<u8> body = {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    seed_put32(body, u32(fmt.size()));
    body.insert(body.end(), fmt.begin(), fmt.end());
    body.insert(body.end(), extra.begin(), extra.end());
    body.insert(body.end(), {'d', 'a', 't', 'a'});
    seed_put32(body, u32(samples.size()));
    body.insert(body.end(), samples.begin(), samples.end());
    if (samples.size() % 2) body.push_back(0);
    std::vector<u8> out = {'R', 'I', 'F', 'F'};
    seed_put32(out, u32(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<u8> fmt(u16 tag, u16 channels, u32 rate, u16 block_align, u16 bits,
                    const std::vector<u8>& extension = {}) {
    std::vector<u8> f;
    seed_put16(f, tag);
    seed_put16(f, channels);
    seed_put32(f, rate);
    seed_put32(f, rate * block_align);
    seed_put16(f, block_align);
    seed_put16(f, bits);
    f.insert(f.end(), extension.begin(), extension.end());
    return f;
}

std::vector<u8> adpcm_extension(u16 samples_per_block, bool ms) {
    std::vector<u8> e;
    if (!ms) {
        seed_put16(e, 2);
        seed_put16(e, samples_per_block);
        return e;
    }
    // MS ADPCM: samples per block and the seven standard coefficient pairs.
    const s16 coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                    {240, 0}, {460, -208}, {392, -232}};
    seed_put16(e, 32);
    seed_put16(e, samples_per_block);
    seed_put16(e, 7);
    for (const auto& c : coefficients) {
        seed_put16(e, u16(c[0]));
        seed_put16(e, u16(c[1]));
    }
    return e;
}

std::vector<u8> pattern(size_t n, u32 seed) {
    std::vector<u8> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = u8((i * 37 + seed) ^ (i >> 3));
    return v;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    s32 n = 0;
    auto put = [&](const std::string& name, const std::vector<u8>& bytes) {
        seed_write(dir, std::to_string(n++) + "_" + name, bytes);
    };
    for (u16 bits : {8, 16})
        for (u16 channels : {1, 2})
            for (u32 rate : {8000u, 22050u, 44100u})
                put("tone", wav_tone(WavFormat{channels, rate, bits}, 40, 300 + rate / 100));

    std::vector<u8> list = {'L', 'I', 'S', 'T'};
    seed_put32(list, 5);
    list.insert(list.end(), {'I', 'N', 'F', 'O', 'x', 0});
    put("list_chunk", rebuild(fmt(WAV_FORMAT_PCM, 1, 22050, 2, 16), pattern(800, 1), list));
    put("float", rebuild(fmt(WAV_FORMAT_FLOAT, 1, 44100, 4, 32), pattern(1600, 2)));
    put("pcm24", rebuild(fmt(WAV_FORMAT_PCM, 2, 48000, 6, 24), pattern(1200, 3)));
    put("alaw", rebuild(fmt(WAV_FORMAT_ALAW, 1, 8000, 1, 8), pattern(500, 4)));
    put("mulaw", rebuild(fmt(WAV_FORMAT_MULAW, 2, 8000, 2, 8), pattern(500, 5)));
    // ADPCM blocks: a header per channel (predictor 0, step index 0) and nibbles after it.
    std::vector<u8> ima(512, 0x17);
    ima[2] = 0, ima[3] = 0, ima[258] = 0, ima[259] = 0;
    put("ima_adpcm",
        rebuild(fmt(WAV_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, adpcm_extension(505, false)), ima));
    std::vector<u8> ms(512, 0x25);
    ms[0] = 0, ms[256] = 0;
    put("ms_adpcm",
        rebuild(fmt(WAV_FORMAT_MS_ADPCM, 1, 22050, 256, 4, adpcm_extension(500, true)), ms));
    std::vector<u8> ext;
    seed_put16(ext, 22);
    seed_put16(ext, 16);
    seed_put32(ext, 3);
    seed_put16(ext, WAV_FORMAT_PCM);
    ext.insert(ext.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    put("extensible", rebuild(fmt(WAV_FORMAT_EXTENSIBLE, 2, 44100, 4, 16, ext), pattern(800, 6)));

    const std::vector<u8> tone = wav_tone(WavFormat{}, 30, 440);
    put("cut", std::vector<u8>(tone.begin(), tone.begin() + long(tone.size() / 2)));
    std::vector<u8> ogg = pattern(400, 7);
    ogg[0] = 'O', ogg[1] = 'g', ogg[2] = 'g', ogg[3] = 'S';
    put("ogg", ogg);
    return 0;
}
