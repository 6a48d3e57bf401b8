#include "engine/rect.h"

#include "engine/blit.h"

#include <algorithm>
#include <cstring>

namespace {

// A rectangle cut to the target; empty when nothing of it lies inside.
struct Clipped {
    s32 x = 0;
    s32 y = 0;
    s32 w = 0;
    s32 h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
};

Clipped clip_to_target(s32 x, s32 y, s32 w, s32 h) {
    const s64 x0 = std::max<s64>(x, 0), y0 = std::max<s64>(y, 0);
    const s64 x1 = std::min<s64>(s64(x) + w, target_width);
    const s64 y1 = std::min<s64>(s64(y) + h, target_height);
    if (x1 <= x0 || y1 <= y0) return {};
    return {s32(x0), s32(y0), s32(x1 - x0), s32(y1 - y0)};
}

u16* pixel_at(s32 x, s32 y) {
    return target_pixels + row_offsets[y] / 2 + x;
}
u8* plane_at(s32 x, s32 y) {
    return occlusion_plane + row_offsets[y] / 2 + x;
}

// Every pixel of the clipped rectangle through one level of a byte-split table.
void rect_through(s32 x, s32 y, s32 w, s32 h, const ByteEntry* level) {
    const Clipped c = clip_to_target(x, y, w, h);
    if (c.empty()) return;
    for (s32 r = 0; r < c.h; ++r) {
        u16* d = pixel_at(c.x, c.y + r);
        for (s32 i = 0; i < c.w; ++i) d[i] = colour_through(level, d[i]);
    }
}

// The part of a 256-wide (or 256-high) zone span at `pos` that a target `limit` wide shows:
// the first source column, the first target column and the count.
struct ZoneSpan {
    s32 src = 0;
    s32 dst = 0;
    s32 count = 0;
};

ZoneSpan zone_span(s32 pos, s32 limit) {
    if (pos <= -ZONE_SIZE || pos >= limit) return {};
    ZoneSpan s;
    if (pos < 0) {
        s.src = -pos;
        s.dst = 0;
    } else {
        s.dst = pos;
    }
    s.count = std::min(ZONE_SIZE - s.src, limit - s.dst);
    return s;
}

} // namespace

void blit_bitmap(s32 x, s32 y, const void* image, u32 mirror) {
    RawBitmap hdr;
    std::memcpy(&hdr, image, sizeof hdr);
    const u8* pixels = static_cast<const u8*>(image) + sizeof(RawBitmap);
    const s32 W = target_width, H = target_height;
    const s32 width = hdr.width, height = hdr.height;

    if (y >= H) return;
    s32 skip = 0;
    if (y < 0) {
        skip = s32(std::min<s64>(-s64(y), height));
        y = 0;
        if (skip >= height) return;
    }
    const s32 rows = std::min(height - skip, H - y);

    s32 lead = 0;
    s32 count = 0;
    s32 step = 1;
    if ((mirror & BLIT_MIRROR) == 0) {
        if (x >= W) return;
        if (x < 0) {
            lead = s32(std::min<s64>(-s64(x), width));
            x = 0;
            if (lead >= width) return;
        }
        count = std::min(width - lead, W - x);
    } else {
        if (x < 0) return;
        if (x >= W) {
            lead = s32(std::min<s64>(s64(x) - W + 1, width));
            x = W - 1;
            if (lead >= width) return;
        }
        count = std::min(width - lead, x + 1);
        step = -1;
    }

    const u16 key = key_colour;
    for (s32 r = 0; r < rows; ++r) {
        const u8* src = pixels + (s64(skip + r) * width + lead) * 2;
        u16* d = pixel_at(x, y + r);
        for (s32 k = 0; k < count; ++k, d += step) {
            u16 v;
            std::memcpy(&v, src + 2 * k, 2);
            if (v != key) *d = v;
        }
    }
}

void fill_rect(s32 x, s32 y, s32 w, s32 h, u32 colour) {
    const Clipped c = clip_to_target(x, y, w, h);
    if (c.empty()) return;
    const u16 v = colour_for_display(colour);
    for (s32 r = 0; r < c.h; ++r) std::fill_n(pixel_at(c.x, c.y + r), c.w, v);
}

void box_blend(s32 x, s32 y, s32 w, s32 h, u32 colour, s32 weight) {
    if (weight < 0 || weight > 9) return;
    work_blend = blend_sets[weight];
    const Clipped c = clip_to_target(x, y, w, h);
    if (c.empty()) return;
    const u16 v = colour_for_display(colour);
    const u16 source = u16(work_blend.part[0][v & 0xFF] + work_blend.part[1][v >> 8]);
    for (s32 r = 0; r < c.h; ++r) {
        u16* d = pixel_at(c.x, c.y + r);
        for (s32 i = 0; i < c.w; ++i)
            d[i] = u16(source + work_blend.part[2][d[i] & 0xFF] + work_blend.part[3][d[i] >> 8]);
    }
}

void fade_rect(s32 x, s32 y, s32 w, s32 h, u32 level) {
    rect_through(x, y, w, h, tint_table[(level >> 5) & 7][level & 31]);
}

void tint_rect(s32 x, s32 y, s32 w, s32 h, u32 level) {
    rect_through(x, y, w, h, tint_table[(level >> 5) & 7][level & 31]);
}

void brightness_rect(s32 x, s32 y, s32 w, s32 h, u32 level) {
    rect_through(x, y, w, h, brightness_table[level & 31]);
}

void zone_tile_draw(s32 x, s32 y, const u16* tile) {
    const ZoneSpan cols = zone_span(x, target_width);
    const ZoneSpan rows = zone_span(y, target_height);
    if (cols.count <= 0 || rows.count <= 0) return;
    for (s32 r = 0; r < rows.count; ++r)
        std::memcpy(pixel_at(cols.dst, rows.dst + r), tile + (rows.src + r) * ZONE_SIZE + cols.src,
                    size_t(cols.count) * 2);
}

void zone_fill(s32 x, s32 y, u32 colour) {
    const ZoneSpan cols = zone_span(x, target_width);
    const ZoneSpan rows = zone_span(y, target_height);
    if (cols.count <= 0 || rows.count <= 0) return;
    const u16 v = colour_for_display(colour);
    for (s32 r = 0; r < rows.count; ++r)
        std::fill_n(pixel_at(cols.dst, rows.dst + r), cols.count, v);
}

void occlusion_fill(s32 x, s32 y, u8 value) {
    const ZoneSpan cols = zone_span(x, target_width);
    const ZoneSpan rows = zone_span(y, target_height);
    if (cols.count <= 0 || rows.count <= 0) return;
    for (s32 r = 0; r < rows.count; ++r)
        std::memset(plane_at(cols.dst, rows.dst + r), value, size_t(cols.count));
}

void occlusion_rows_draw(s32 x, s32 y, const u8* rows) {
    const ZoneSpan cols = zone_span(x, target_width);
    const ZoneSpan span = zone_span(y, target_height);
    if (cols.count <= 0 || span.count <= 0) return;
    const u8* p = rows;
    for (s32 i = 0; i < span.src; ++i) p += 1 + p[0];
    const s32 first = cols.src;
    const s32 last = cols.src + cols.count; // visible source columns: first .. last - 1
    for (s32 r = 0; r < span.count; ++r) {
        const u8* q = p + 1;
        const u8* const end = q + p[0];
        p = end;
        u8* plane = plane_at(cols.dst, span.dst + r);
        s32 col = 0;
        // A pair is two bytes: an odd last byte is no pair. Past 256 columns nothing is written.
        while (end - q >= 2 && col < ZONE_SIZE) {
            const s32 len = q[0] + 1;
            const u8 value = q[1];
            q += 2;
            const s32 a = std::max(col, first);
            const s32 b = std::min(col + len, last);
            if (a < b) std::memset(plane + (a - first), value, size_t(b - a));
            col += len;
        }
    }
}

s32 occlusion_rows_size(const u8* rows, s32 size) {
    s64 at = 0;
    for (s32 r = 0; r < ZONE_SIZE; ++r) {
        if (at + 1 > size) return -1;
        at += 1 + rows[at];
        if (at > size) return -1;
    }
    return s32(at);
}
