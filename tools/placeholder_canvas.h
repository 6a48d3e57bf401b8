// A small indexed canvas for placeholder pictures that show something to play by (boards,
// targets, figures, numbers), encoded as one-palette sprites. Palette index 0 is left black;
// cells start see-through or filled with one index.
#pragma once
#include "engine/types.h"
#include "tools/sprite_writer.h"

#include <array>
#include <string_view>
#include <vector>

class PlaceholderCanvas {
  public:
    PlaceholderCanvas(s32 width, s32 height, s16 fill = SPRITE_CLEAR);

    s32 width() const { return w_; }
    s32 height() const { return h_; }
    // Sets palette entry `index` (1..255) to a 5-5-5 colour.
    void colour(s16 index, u16 colour_555);
    // Cells outside the canvas are ignored on drawing and read as SPRITE_CLEAR.
    void put(s32 x, s32 y, s16 v);
    s16 at(s32 x, s32 y) const;

    void fill(s32 x, s32 y, s32 w, s32 h, s16 v);
    // A one-pixel outline of the rectangle.
    void outline(s32 x, s32 y, s32 w, s32 h, s16 v);
    // Every cell within distance r of (cx, cy) (r 0: the one cell).
    void disc(s32 cx, s32 cy, s32 r, s16 v);
    // The cells whose distance from (cx, cy) lies in r - thickness .. r (exclusive, inclusive).
    void ring(s32 cx, s32 cy, s32 r, s32 thickness, s16 v);
    // A line of the given width (a disc of radius width / 2 stamped along it).
    void line(s32 x0, s32 y0, s32 x1, s32 y1, s32 width, s16 v);
    // The triangle's cells (corners included).
    void triangle(s32 x0, s32 y0, s32 x1, s32 y1, s32 x2, s32 y2, s16 v);
    // Digits in the 3 x 5 shapes, each shape pixel `scale` x `scale`, one column between digits;
    // other characters leave a gap.
    void digits(s32 x, s32 y, std::string_view text, s32 scale, s16 v);
    // The width that `digits` takes.
    static s32 digits_width(std::string_view text, s32 scale);

    std::vector<u8> encode(s32 hot_x = 0, s32 hot_y = 0) const;

  private:
    s32 w_, h_;
    std::vector<s16> cells_;
    std::array<u16, 256> palette_{};
};
