#include "tools/glyph_font.h"

#include "tools/arcbuild.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iconv.h>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

constexpr s32 EM_PIXELS = 92;  // em square of the rendering, centred in the 96-pixel master
constexpr s32 BASELINE_Y = 83; // master row of the baseline: 7/8 of the em square down from 2
constexpr const char* FONT_FILE = "uming.ttc";
constexpr const char* FONT_FAMILY = "AR PL UMing TW";

// A Unicode code point outside the private use areas, or 0.
bool usable(u32 cp) {
    if (cp == 0 || cp > 0x10FFFF) return false;
    if (cp >= 0xE000 && cp <= 0xF8FF) return false;
    if (cp >= 0xF0000) return false;
    return true;
}

} // namespace

u16 glyph_font_code(s32 index) {
    const s32 lead = 0xA1 + index / KANJI_TRAILS;
    const s32 t = index % KANJI_TRAILS;
    const s32 trail = t < 63 ? 0x40 + t : 0x62 + t;
    return u16(lead << 8 | trail);
}

std::string glyph_font_path() {
    const std::filesystem::path known = "/usr/share/fonts/truetype/arphic/uming.ttc";
    std::error_code ec;
    if (std::filesystem::is_regular_file(known, ec)) return known.string();
    std::filesystem::recursive_directory_iterator it(
        "/usr/share/fonts", std::filesystem::directory_options::skip_permission_denied, ec);
    for (; !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->path().filename() == FONT_FILE) return it->path().string();
    }
    throw std::runtime_error("glyph_font: AR PL UMing (uming.ttc) not found under "
                             "/usr/share/fonts; install fonts-arphic-uming");
}

struct GlyphFont::State {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    iconv_t big5 = iconv_t(-1);
    iconv_t hkscs = iconv_t(-1);

    ~State() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
        if (big5 != iconv_t(-1)) iconv_close(big5);
        if (hkscs != iconv_t(-1)) iconv_close(hkscs);
    }

    // The one code point of a Big5 code through converter cd, or 0.
    static u32 convert(iconv_t cd, u16 code) {
        if (cd == iconv_t(-1)) return 0;
        char in[2] = {char(code >> 8), char(code & 0xFF)};
        u32 out[2] = {0, 0};
        char* inp = in;
        char* outp = reinterpret_cast<char*>(out);
        size_t in_left = 2;
        size_t out_left = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &in_left, &outp, &out_left) == size_t(-1)) return 0;
        if (in_left != 0 || sizeof out - out_left != 4) return 0; // one character, no more
        return out[0];
    }

    u32 unicode(u16 code) const {
        u32 cp = convert(big5, code);
        if (!usable(cp)) cp = convert(hkscs, code);
        return usable(cp) ? cp : 0;
    }
};

GlyphFont::GlyphFont(const std::string& path) : state_(std::make_unique<State>()) {
    if (FT_Init_FreeType(&state_->library) != 0)
        throw std::runtime_error("glyph_font: FreeType does not start");
    FT_Long faces = 1;
    for (FT_Long i = 0; i < faces; ++i) {
        FT_Face face = nullptr;
        if (FT_New_Face(state_->library, path.c_str(), i, &face) != 0) break;
        faces = face->num_faces;
        if (face->family_name && std::strcmp(face->family_name, FONT_FAMILY) == 0) {
            state_->face = face;
            break;
        }
        // Another face of the collection: keep the first as a fallback.
        if (state_->face == nullptr)
            state_->face = face;
        else
            FT_Done_Face(face);
    }
    if (state_->face == nullptr) throw std::runtime_error("glyph_font: cannot open " + path);
    if (FT_Set_Pixel_Sizes(state_->face, EM_PIXELS, EM_PIXELS) != 0)
        throw std::runtime_error("glyph_font: cannot size " + path);
    state_->big5 = iconv_open("UTF-32LE", "BIG5");
    state_->hkscs = iconv_open("UTF-32LE", "BIG5-HKSCS");
    if (state_->big5 == iconv_t(-1))
        throw std::runtime_error("glyph_font: iconv has no BIG5 converter");
}

GlyphFont::~GlyphFont() = default;

bool GlyphFont::render(u16 code, GlyphMaster& master) {
    master.fill(0);
    const u32 cp = state_->unicode(code);
    if (cp == 0) return false;
    FT_Face face = state_->face;
    const FT_UInt gid = FT_Get_Char_Index(face, cp);
    if (gid == 0) return false;
    if (FT_Load_Glyph(face, gid, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING | FT_LOAD_TARGET_MONO) != 0)
        return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return false;
    const FT_Bitmap& bm = face->glyph->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO) return false;
    const s32 advance = s32(face->glyph->advance.x >> 6);
    const s32 origin_x = (GLYPH_SIDE - advance) / 2;
    const s32 left = origin_x + face->glyph->bitmap_left;
    const s32 top = BASELINE_Y - face->glyph->bitmap_top;
    for (s32 row = 0; row < s32(bm.rows); ++row) {
        const s32 y = top + row;
        if (y < 0 || y >= GLYPH_SIDE) continue;
        const u8* src = bm.buffer + row * bm.pitch;
        for (s32 col = 0; col < s32(bm.width); ++col) {
            const s32 x = left + col;
            if (x < 0 || x >= GLYPH_SIDE) continue;
            if ((src[col >> 3] >> (7 - (col & 7))) & 1) glyph_master_set(master, x, y);
        }
    }
    return true;
}

GlyphMaster glyph_font_embolden(const GlyphMaster& master) {
    GlyphMaster out = master;
    for (s32 y = 0; y < GLYPH_SIDE; ++y) {
        const u8* row = master.data() + y * GLYPH_ROW_BYTES;
        for (s32 b = 0; b < GLYPH_ROW_BYTES; ++b) {
            // One pixel to the right: the byte shifted right, with the carry from the byte before.
            const u8 carry = b > 0 ? u8(row[b - 1] << 7) : 0;
            const u8 right = u8(row[b] >> 1 | carry);
            out[size_t(y * GLYPH_ROW_BYTES + b)] |= right;
            if (y + 1 < GLYPH_SIDE) {
                out[size_t((y + 1) * GLYPH_ROW_BYTES + b)] |= u8(row[b] | right);
            }
        }
    }
    return out;
}

void glyph_put_placeholder_glyphs(ArcBuilder& builder, const std::vector<s32>& indices) {
    const std::string path = glyph_font_path();
    const size_t count = indices.size();
    std::vector<std::vector<u8>> regular(count);
    std::vector<std::vector<u8>> bold(count);

    // Indices are handed out in chunks to one worker per core, each with its own font.
    constexpr size_t CHUNK = 64;
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failure_lock;
    auto work = [&] {
        try {
            GlyphFont font(path);
            GlyphMaster master;
            for (size_t first = next.fetch_add(CHUNK); first < count;
                 first = next.fetch_add(CHUNK)) {
                for (size_t k = first; k < std::min(first + CHUNK, count); ++k) {
                    const s32 index = indices[k];
                    if (index < 0 || index >= KANJI_GLYPHS)
                        throw std::invalid_argument("glyph_font: glyph index outside the font");
                    font.render(glyph_font_code(index), master);
                    regular[k] = glyph_writer_encode_fit(master);
                    bold[k] = glyph_writer_encode_fit(glyph_font_embolden(master));
                }
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(failure_lock);
            if (!failure) failure = std::current_exception();
        }
    };
    const size_t chunks = (count + CHUNK - 1) / CHUNK;
    const size_t workers =
        std::clamp<size_t>(std::min<size_t>(std::thread::hardware_concurrency(), chunks), 1, 16);
    std::vector<std::thread> threads;
    for (size_t t = 1; t < workers; ++t) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);

    // Our own choice of styles: 0 regular, 1 bold, the others share the regular drawings (their
    // index entries point at style 0's data).
    for (size_t k = 0; k < count; ++k) {
        glyph_writer_put(builder, 0, indices[k], std::move(regular[k]));
        glyph_writer_put(builder, GLYPH_FONT_BOLD_STYLE, indices[k], std::move(bold[k]));
        for (s32 style = GLYPH_FONT_BOLD_STYLE + 1; style < KANJI_STYLES; ++style)
            builder.alias(glyph_writer_entry_id(style, indices[k]),
                          glyph_writer_entry_id(0, indices[k]));
    }
}

void glyph_put_placeholder_font(ArcBuilder& builder) {
    std::vector<s32> all(KANJI_GLYPHS);
    for (s32 i = 0; i < KANJI_GLYPHS; ++i) all[size_t(i)] = i;
    glyph_put_placeholder_glyphs(builder, all);
}
