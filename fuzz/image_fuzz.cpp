// Fuzz target for images: the input is the bytes of one image entry. It is put into a small
// chained archive at ARC_IMAGE_BASE + FUZZ_IMAGE_ID, loaded with `image_load` and drawn with
// `draw_image_depth` at positions that straddle every edge of the target, straight and mirrored,
// in every blend kind, with and without the depth test and the show-through grid, as a light and
// (for mask sprites) in a fill colour; then probed with `blit_hit` and built into a cursor. All
// of it once for each pixel layout.
//
// Out-of-bounds accesses are made visible to AddressSanitizer:
// - the image lives in the ring, inside one large pool allocation, so while it is drawn the ring
//   memory after the bytes the entry may be read is poisoned (after a malformed entry, which
//   the loader replaces by the 16-byte empty image, everything after those 16 bytes);
// - sprites and raw bitmaps are drawn onto the 640 x 480 back buffer and also onto a 37 x 23
//   target whose pixels and occlusion plane are heap blocks of exactly that size; JPEG pictures
//   are drawn onto a heap block of exactly 640 x 480 pixels.
// Fatal errors (PlatFatal) are acceptable answers; crashes and sanitizer reports are bugs.
//
// Seeds: fuzz/seeds/image_fuzz_seeds.cpp.
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/jpg.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/sprite.h"
#include "fuzz/ring_poison.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tools/arcbuild.h"

#include <sanitizer/asan_interface.h>

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr s32 FUZZ_IMAGE_ID = 77;
constexpr size_t FUZZ_MAX_ENTRY = 1 << 20;
// The small heap target: odd sizes, so no row or column count is a power of two.
constexpr s32 SMALL_W = 37;
constexpr s32 SMALL_H = 23;

// Flag words and depth arguments of the sprite draws: every kind of row routine (opaque,
// translucent, subtractive, additive, each plain, depth-tested and with show-through; light;
// mask fill), straight and mirrored, with tints, brightness levels and palette numbers varied
// along the way; and the blend modes that draw nothing (mask sprites still fill with 13).
struct DrawMode {
    u32 flags;
    u32 depth;
};
std::vector<DrawMode> sprite_modes() {
    std::vector<DrawMode> modes;
    const u32 blends[] = {BLEND_OPAQUE, 5, BLEND_SUB, BLEND_ADD};
    const u32 depths[] = {0, 0x40, DEPTH_SHOW_THROUGH | 0x10};
    u32 n = 0;
    for (u32 blend : blends) {
        for (u32 depth : depths) {
            for (bool mirror : {false, true}) {
                // Tint and brightness on every third draw, palette 1 or 255 on every other.
                const u32 tint = n % 3 == 1 ? 8 : 0, brightness = n % 3 == 2 ? 20 : 0;
                const u32 palette = n % 2 == 0 ? 1 : 255;
                modes.push_back({blit_flags(tint, brightness, blend, mirror, palette), depth});
                ++n;
            }
        }
    }
    for (bool mirror : {false, true})
        modes.push_back({blit_flags(3, 0, 0, mirror, 0) | BLIT_LIGHT, 0x20});
    modes.push_back({blit_flags(0, 0, 13, false, 0), 0x7C00}); // only a mask sprite: in red
    modes.push_back({blit_flags(0, 0, BLEND_HIDDEN, true, 0), 0x7C1F});
    return modes;
}
const std::vector<DrawMode> SPRITE_MODES = sprite_modes();

bool engine_ready = false;
s32 engine_layout = -1;
std::vector<u16> jpeg_screen(static_cast<size_t>(SCREEN_PIXELS));
std::vector<u16> small_target(size_t(SMALL_W) * SMALL_H);
std::vector<u8> small_plane(size_t(SMALL_W) * SMALL_H);
std::vector<u8> plane_pattern; // the screen's occlusion plane at the start of every layout

u16 rd16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}

// The engine as the image tests set it up; again after a fatal error, which releases the pool,
// the canvas and the archive.
void engine_setup() {
    HarnessConfig c;
    c.physical_memory = 16ull << 20;
    harness_reset(c);
    shell_shutdown();
    if (!plat_window_open("image fuzz")) __builtin_trap();
    canvas_init();
    pool_init();
    engine_ready = true;
    engine_layout = -1;
}

// The lookup tables that `blit_init` builds, kept for each layout: rebuilding them costs more
// than the rest of an input, and both layouts run for every input.
struct LayoutTables {
    ByteEntry tint[8][32][256];
    BlendSet blend[10];
    ByteEntry brightness[32][256];
};
static_assert(sizeof(LayoutTables::tint) == sizeof tint_table);
static_assert(sizeof(LayoutTables::blend) == sizeof blend_sets);
static_assert(sizeof(LayoutTables::brightness) == sizeof brightness_table);
LayoutTables layout_tables[2];
bool layout_tables_built = false;

void use_layout(s32 layout) {
    if (!layout_tables_built) {
        for (s32 l = 0; l < 2; ++l) {
            display_565 = l;
            blit_init();
            LayoutTables& t = layout_tables[l];
            std::memcpy(t.tint, tint_table, sizeof t.tint);
            std::memcpy(t.blend, blend_sets, sizeof t.blend);
            std::memcpy(t.brightness, brightness_table, sizeof t.brightness);
        }
        layout_tables_built = true;
        engine_layout = -1;
    }
    display_565 = layout;
    blit_target_screen();
    if (engine_layout != layout) {
        const LayoutTables& t = layout_tables[layout];
        std::memcpy(tint_table, t.tint, sizeof t.tint);
        std::memcpy(blend_sets, t.blend, sizeof t.blend);
        std::memcpy(brightness_table, t.brightness, sizeof t.brightness);
        blit_routines_install(layout);
    }
    engine_layout = layout;
}

// Top-left corners that put the w x h box across each edge and corner of a W x H target, inside
// it, and wholly outside.
std::vector<std::pair<s32, s32>> corners(s32 w, s32 h, s32 W, s32 H) {
    return {{0, 0},          {-w / 2, -h / 2}, {W - w / 2, H - h / 2},
            {W - 1, -h + 1}, {-w + 1, H - 1},  {(W - w) / 2, H / 3},
            {W, 0},          {-w - 3, -h - 3}};
}

// Draws the image at every corner in every mode of its kind onto the current target.
void draw_everywhere(const u8* image, s32 readable, s32 W, s32 H, bool with_jpeg) {
    const s32 w = rd16(image), h = rd16(image + 2);
    const s32 hx = s16(rd16(image + 4)), hy = s16(rd16(image + 6));
    if (image_is_jpeg(image, readable)) {
        if (!with_jpeg) return;
        // Every draw decodes the whole stream: two draws, one of them mirrored.
        const auto at = corners(w, h, W, H);
        draw_image_depth(at[1].first, at[1].second, FUZZ_IMAGE_ID, 0, 0);
        draw_image_depth(at[2].first, at[2].second, FUZZ_IMAGE_ID, BLIT_MIRROR, 0);
        return;
    }
    const bool raw = image_is_raw_bitmap(image, readable);
    for (const auto& [left, top] : corners(w, h, W, H)) {
        if (raw) {
            draw_image_depth(left, top, FUZZ_IMAGE_ID, 0, 0);
            draw_image_depth(left + w - 1, top, FUZZ_IMAGE_ID, BLIT_MIRROR, 0);
            continue;
        }
        for (const DrawMode& m : SPRITE_MODES) {
            // A mirrored sprite's hotspot column is counted from its right edge on screen.
            const s32 x = (m.flags & BLIT_MIRROR) ? left + w - 1 - hx : left + hx;
            draw_image_depth(x, top + hy, FUZZ_IMAGE_ID, m.flags, m.depth);
        }
    }
    // Extreme positions: the placement arithmetic must not overflow.
    draw_image_depth(0x7FFFFFFF, 0x7FFFFFFF, FUZZ_IMAGE_ID, 0, 0);
    draw_image_depth(-0x7FFFFFFF - 1, -0x7FFFFFFF - 1, FUZZ_IMAGE_ID, BLIT_MIRROR, 0);
}

void run_layout(s32 layout, const u8* data, size_t size) {
    use_layout(layout);
    ring_reset();
    std::memset(back_buffer, 0x55, size_t(SCREEN_PIXELS) * 2);
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    if (plane_pattern.empty()) {
        plane_pattern.resize(size_t(SCREEN_PIXELS));
        for (size_t i = 0; i < plane_pattern.size(); ++i) plane_pattern[i] = u8(i * 7);
    }
    std::memcpy(occlusion_plane, plane_pattern.data(), plane_pattern.size());
    jpg_target = jpeg_screen.data();
    jpg_target_width = SCREEN_W;

    s32 loaded_size = 0;
    const u8* image = image_load(FUZZ_IMAGE_ID, &loaded_size);
    // What may be read of the loaded image: the whole entry when it is a well-formed image, else
    // the 16-byte empty image. A JPEG picture is handed to the decoder with the size of its ring
    // block (the entry rounded up to whole words), so the block's few slack bytes may be read too.
    const bool valid = sprite_validate(data, s32(size));
    const s32 readable = !valid                           ? s32(sizeof empty_image)
                         : image_is_jpeg(data, s32(size)) ? loaded_size
                                                          : s32(size);
    if (!valid && std::memcmp(image, empty_image, sizeof empty_image) != 0) __builtin_trap();
    if (loaded_size < readable) __builtin_trap();
    // The ring past the image's readable bytes (an image outside the ring poisons nothing).
    RingPoison poison(image + readable);

    draw_everywhere(image, readable, SCREEN_W, SCREEN_H, true);

    blit_target_set(small_target.data(), SMALL_W, SMALL_H, SMALL_W * 2);
    occlusion_plane = small_plane.data();
    std::memset(small_plane.data(), 0x30, small_plane.size());
    draw_everywhere(image, readable, SMALL_W, SMALL_H, false);
    blit_target_screen();

    const s32 w = rd16(image), h = rd16(image + 2);
    if (w > 0 && h > 0 && !image_is_jpeg(image, readable)) {
        s32 opaque = 0;
        const std::pair<s32, s32> probes[] = {{0, 0}, {w - 1, h - 1}, {w / 2, h / 2}};
        for (const auto& [col, row] : probes) opaque += blit_hit(col, row, image);
        if (opaque < 0 || opaque > 3) __builtin_trap();
    }
    cursor_build(31, FUZZ_IMAGE_ID);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HarnessTempDir dir; // the working directory for the whole run
    if (size > FUZZ_MAX_ENTRY) return 0;
    try {
        if (!engine_ready) engine_setup();
        ArcBuilder builder;
        builder.put(u32(ARC_IMAGE_BASE + FUZZ_IMAGE_ID), std::vector<u8>(data, data + size));
        gisk_close();
        arc_write_chained(builder, GISK_CHAINED_FILE);
        gisk_init();
        run_layout(0, data, size);
        run_layout(1, data, size);
    } catch (const PlatFatal&) {
        engine_ready = false; // the fatal reporter released the engine
    } catch (const HarnessBudgetExceeded&) {
        engine_ready = false; // the virtual clock ran out: start a fresh harness
    }
    return 0;
}
