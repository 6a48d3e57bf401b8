#include "tools/placeholder_canvas.h"

#include "tools/placeholder_images.h"

#include <algorithm>
#include <cstdlib>

PlaceholderCanvas::PlaceholderCanvas(s32 width, s32 height, s16 fill)
    : w_(width), h_(height), cells_(size_t(width) * size_t(height), fill) {}

void PlaceholderCanvas::colour(s16 index, u16 colour_555) {
    palette_[size_t(index & 0xFF)] = colour_555;
}

void PlaceholderCanvas::put(s32 x, s32 y, s16 v) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) cells_[size_t(y) * size_t(w_) + size_t(x)] = v;
}

s16 PlaceholderCanvas::at(s32 x, s32 y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return SPRITE_CLEAR;
    return cells_[size_t(y) * size_t(w_) + size_t(x)];
}

void PlaceholderCanvas::fill(s32 x, s32 y, s32 w, s32 h, s16 v) {
    for (s32 j = y; j < y + h; ++j)
        for (s32 i = x; i < x + w; ++i) put(i, j, v);
}

void PlaceholderCanvas::outline(s32 x, s32 y, s32 w, s32 h, s16 v) {
    fill(x, y, w, 1, v);
    fill(x, y + h - 1, w, 1, v);
    fill(x, y, 1, h, v);
    fill(x + w - 1, y, 1, h, v);
}

void PlaceholderCanvas::disc(s32 cx, s32 cy, s32 r, s16 v) {
    for (s32 dy = -r; dy <= r; ++dy)
        for (s32 dx = -r; dx <= r; ++dx)
            if (dx * dx + dy * dy <= r * r) put(cx + dx, cy + dy, v);
}

void PlaceholderCanvas::ring(s32 cx, s32 cy, s32 r, s32 thickness, s16 v) {
    const s32 inner = std::max(r - thickness, 0);
    for (s32 dy = -r; dy <= r; ++dy)
        for (s32 dx = -r; dx <= r; ++dx) {
            const s32 d = dx * dx + dy * dy;
            if (d <= r * r && d > inner * inner) put(cx + dx, cy + dy, v);
        }
}

void PlaceholderCanvas::line(s32 x0, s32 y0, s32 x1, s32 y1, s32 width, s16 v) {
    const s32 steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (s32 i = 0; i <= steps; ++i) {
        const s32 x = steps == 0 ? x0 : x0 + (x1 - x0) * i / steps;
        const s32 y = steps == 0 ? y0 : y0 + (y1 - y0) * i / steps;
        disc(x, y, width / 2, v);
    }
}

void PlaceholderCanvas::triangle(s32 x0, s32 y0, s32 x1, s32 y1, s32 x2, s32 y2, s16 v) {
    // A cell is inside when it lies on the same side of all three edges.
    auto side = [](s32 ax, s32 ay, s32 bx, s32 by, s32 px, s32 py) {
        return s64(bx - ax) * (py - ay) - s64(by - ay) * (px - ax);
    };
    const s32 left = std::min({x0, x1, x2}), right = std::max({x0, x1, x2});
    const s32 top = std::min({y0, y1, y2}), bottom = std::max({y0, y1, y2});
    for (s32 y = top; y <= bottom; ++y)
        for (s32 x = left; x <= right; ++x) {
            const s64 a = side(x0, y0, x1, y1, x, y), b = side(x1, y1, x2, y2, x, y),
                      c = side(x2, y2, x0, y0, x, y);
            if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) put(x, y, v);
        }
}

void PlaceholderCanvas::digits(s32 x, s32 y, std::string_view text, s32 scale, s16 v) {
    for (char ch : text) {
        if (ch >= '0' && ch <= '9')
            for (s32 r = 0; r < 5; ++r)
                for (s32 c = 0; c < 3; ++c)
                    if (placeholder_digit_rows[ch - '0'][r][c] == '#')
                        fill(x + c * scale, y + r * scale, scale, scale, v);
        x += 4 * scale;
    }
}

s32 PlaceholderCanvas::digits_width(std::string_view text, s32 scale) {
    return text.empty() ? 0 : s32(text.size()) * 4 * scale - scale;
}

std::vector<u8> PlaceholderCanvas::encode(s32 hot_x, s32 hot_y) const {
    SpriteSource s;
    s.width = w_;
    s.height = h_;
    s.hot_x = hot_x;
    s.hot_y = hot_y;
    s.cells = cells_;
    s.palettes.push_back(palette_);
    return sprite_writer_encode(s);
}
