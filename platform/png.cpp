// Frame files for people and tests: binary PPM, and PNG with stored (uncompressed) deflate blocks
// so no compression library is needed.
#include "platform/png.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

u32 crc32_of(const u8* data, size_t n, u32 crc = 0xFFFFFFFFu) {
    static const std::array<u32, 256> table = [] {
        std::array<u32, 256> t{};
        for (u32 i = 0; i < 256; ++i) {
            u32 c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void put_be32(std::vector<u8>& out, u32 v) {
    out.push_back(u8(v >> 24));
    out.push_back(u8(v >> 16));
    out.push_back(u8(v >> 8));
    out.push_back(u8(v));
}

void put_chunk(std::vector<u8>& out, const char* type, const std::vector<u8>& data) {
    put_be32(out, u32(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_be32(out, crc32_of(out.data() + start, out.size() - start) ^ 0xFFFFFFFFu);
}

void write_file(const std::string& path, const std::vector<u8>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    size_t n = std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    if (n != bytes.size()) throw std::runtime_error("short write " + path);
}

} // namespace

std::vector<u8> frame_to_rgb(const u16* pixels, s32 w, s32 h, bool is565) {
    std::vector<u8> rgb(size_t(w) * h * 3);
    for (s32 i = 0; i < w * h; ++i) {
        u16 p = pixels[i];
        u32 r = is565 ? (p >> 11) & 31 : (p >> 10) & 31;
        u32 g = is565 ? (p >> 5) & 63 : ((p >> 5) & 31) << 1;
        u32 b = p & 31;
        rgb[size_t(i) * 3 + 0] = u8(r << 3 | r >> 2);
        rgb[size_t(i) * 3 + 1] = u8(g << 2 | g >> 4);
        rgb[size_t(i) * 3 + 2] = u8(b << 3 | b >> 2);
    }
    return rgb;
}

void ppm_write_rgb(const std::string& path, const u8* rgb, s32 w, s32 h) {
    std::string header = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
    std::vector<u8> out(header.begin(), header.end());
    out.insert(out.end(), rgb, rgb + size_t(w) * h * 3);
    write_file(path, out);
}

void png_write_rgb(const std::string& path, const u8* rgb, s32 w, s32 h) {
    // Raw scanlines, each with filter byte 0.
    std::vector<u8> raw;
    raw.reserve((size_t(w) * 3 + 1) * h);
    for (s32 y = 0; y < h; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb + size_t(y) * w * 3, rgb + size_t(y + 1) * w * 3);
    }
    // zlib stream of stored blocks.
    std::vector<u8> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(u8(n));
        z.push_back(u8(n >> 8));
        z.push_back(u8(~n));
        z.push_back(u8(~n >> 8));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    u32 a = 1, b = 0;
    for (u8 c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put_be32(z, (b << 16) | a);

    std::vector<u8> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<u8> ihdr;
    put_be32(ihdr, u32(w));
    put_be32(ihdr, u32(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    put_chunk(out, "IHDR", ihdr);
    put_chunk(out, "IDAT", z);
    put_chunk(out, "IEND", {});
    write_file(path, out);
}

void frame_write(const std::string& path, const u16* pixels, s32 w, s32 h, bool is565) {
    std::vector<u8> rgb = frame_to_rgb(pixels, w, h, is565);
    bool png = path.size() >= 4 && path.compare(path.size() - 4, 4, ".png") == 0;
    if (png)
        png_write_rgb(path, rgb.data(), w, h);
    else
        ppm_write_rgb(path, rgb.data(), w, h);
}
