// Placeholder pictures of the opening events and their screens, sized as the screens draw them.
// The pictures a screen checks an answer on are drawn from that screen's own tables, so that a
// player who only looks can answer: the teaching and grid boards, the intersection marker, the
// point search's lesson and search pictures, the picture pair's overview and viewed cells, and
// the pictures of the picture lesson and the entry test. The closing animation and the closing
// picture are framed boxes showing their ids.
#include "tools/placeholder_cal_opening.h"

#include "calendar/opening.h"
#include "calendar/opening_screens.h"
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_canvas.h"
#include "tools/placeholder_images.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;

// Palette indices of the pictures.
enum : s16 {
    ANSWER = 1,
    POINT,
    LINE,
    HOVER,
    WOOD,
    PAPER,
    FRAME,
    FIGURE,
    PANEL,
    SHAPE_FIRST, // .. SHAPE_FIRST + 8: the picture pair's shapes
};

// Our own colours (5-5-5) besides the ones the header names.
constexpr u16 WOOD_COLOUR = 0x6A8C, PAPER_COLOUR = 0x7378, FRAME_COLOUR = 0x4210;
constexpr u16 FIGURE_COLOUR = 0x5AFB, PANEL_COLOUR = 0x7BDC;
constexpr u16 SHAPE_COLOURS[9] = {0x195C, 0x1286, 0x7AC2, 0x48D6, 0x0A94,
                                  0x4144, 0x0890, 0x4242, 0x7194};

PlaceholderCanvas canvas(s32 w, s32 h, s16 fill) {
    PlaceholderCanvas c(w, h, fill);
    c.colour(ANSWER, OPENING_PIC_ANSWER);
    c.colour(POINT, OPENING_PIC_POINT);
    c.colour(LINE, OPENING_PIC_LINE);
    c.colour(HOVER, OPENING_PIC_HOVER);
    c.colour(WOOD, WOOD_COLOUR);
    c.colour(PAPER, PAPER_COLOUR);
    c.colour(FRAME, FRAME_COLOUR);
    c.colour(FIGURE, FIGURE_COLOUR);
    c.colour(PANEL, PANEL_COLOUR);
    for (s16 k = 0; k < 9; ++k) c.colour(s16(SHAPE_FIRST + k), SHAPE_COLOURS[k]);
    return c;
}

// The picture's id in small digits, for the developer, at its bottom right.
void id_label(PlaceholderCanvas& c, s32 id, s16 ink) {
    const std::string text = std::to_string(id);
    c.digits(c.width() - 2 - PlaceholderCanvas::digits_width(text, 1), c.height() - 7, text, 1,
             ink);
}

// ---- Grid boards -------------------------------------------------------------------------------

constexpr s32 GRID_W = 200, GRID_H = 200;

// Where line k crosses in the board picture: the middle of its pointer window.
constexpr s32 grid_line(s32 k) {
    return GRID_POINT_OFFSETS[k] + GRID_POINT_WINDOW_X + GRID_POINT_WINDOW / 2 - GRID_POINT_BOARD_X;
}
static_assert(grid_line(0) == GRID_POINT_OFFSETS[0] + GRID_POINT_WINDOW_Y + GRID_POINT_WINDOW / 2 -
                                  GRID_POINT_BOARD_Y,
              "the same list for both axes");

// A board of 19 x 19 lines with a disc as large as an intersection's window on (column, row).
std::vector<u8> grid_board(s32 id, s32 column, s32 row) {
    PlaceholderCanvas c = canvas(GRID_W, GRID_H, WOOD);
    const s32 first = grid_line(0), last = grid_line(GRID_POINT_LINES - 1);
    for (s32 k = 0; k < GRID_POINT_LINES; ++k) {
        c.fill(grid_line(k), first, 1, last - first + 1, LINE);
        c.fill(first, grid_line(k), last - first + 1, 1, LINE);
    }
    c.disc(grid_line(column), grid_line(row), GRID_POINT_WINDOW / 2, ANSWER);
    id_label(c, id, LINE);
    return c.encode();
}

// The intersection marker: a ring around the window, centred on the intersection it marks.
std::vector<u8> grid_marker() {
    constexpr s32 cx = GRID_POINT_WINDOW_X + GRID_POINT_WINDOW / 2 - GRID_POINT_MARK_X;
    constexpr s32 cy = GRID_POINT_WINDOW_Y + GRID_POINT_WINDOW / 2 - GRID_POINT_MARK_Y;
    constexpr s32 r = GRID_POINT_WINDOW / 2 + 3;
    PlaceholderCanvas c = canvas(2 * cx + 1, 2 * cy + 1, SPRITE_CLEAR);
    c.ring(cx, cy, r, 2, HOVER);
    return c.encode();
}

// ---- Point search ------------------------------------------------------------------------------

constexpr s32 SEARCH_W = 307, SEARCH_H = 206;

// A standing figure of our own, the points lying on it: head, neck, body, arms and legs.
void search_figure(PlaceholderCanvas& c) {
    c.disc(154, 24, 14, FIGURE);
    c.fill(148, 36, 13, 10, FIGURE);
    c.fill(132, 44, 45, 89, FIGURE);
    c.line(134, 50, 112, 120, 11, FIGURE);
    c.line(174, 50, 196, 120, 11, FIGURE);
    c.line(144, 130, 126, 200, 13, FIGURE);
    c.line(164, 130, 182, 200, 13, FIGURE);
}

PicturePoint search_point(s32 i) {
    return {PICTURE_POINTS[i].x - POINT_SEARCH_X0, PICTURE_POINTS[i].y - POINT_SEARCH_Y0};
}

// The search: every point as a small cross, the sought one as a red dot.
std::vector<u8> search_picture(s32 id) {
    PlaceholderCanvas c = canvas(SEARCH_W, SEARCH_H, PAPER);
    c.outline(0, 0, SEARCH_W, SEARCH_H, FRAME);
    search_figure(c);
    for (s32 i = 0; i < PICTURE_POINT_COUNT; ++i) {
        if (i == PICTURE_POINT_SOUGHT) continue;
        const PicturePoint p = search_point(i);
        c.fill(p.x - 1, p.y, 3, 1, POINT);
        c.fill(p.x, p.y - 1, 1, 3, POINT);
    }
    const PicturePoint s = search_point(PICTURE_POINT_SOUGHT);
    c.disc(s.x, s.y, 3, ANSWER);
    id_label(c, id, FRAME);
    return c.encode();
}

// The lesson before it: the same figure with only the sought point, ringed.
std::vector<u8> search_lesson(s32 id) {
    PlaceholderCanvas c = canvas(SEARCH_W, SEARCH_H, PAPER);
    c.outline(0, 0, SEARCH_W, SEARCH_H, FRAME);
    search_figure(c);
    const PicturePoint s = search_point(PICTURE_POINT_SOUGHT);
    c.disc(s.x, s.y, 2, ANSWER);
    c.ring(s.x, s.y, 8, 2, ANSWER);
    id_label(c, id, FRAME);
    return c.encode();
}

// ---- Picture pair ------------------------------------------------------------------------------

constexpr s32 CELL_W = PAIR_CELL_W + 1, CELL_H = PAIR_CELL_H + 1; // the bounds are inclusive
constexpr s32 OVERVIEW_W = 352, OVERVIEW_H = 232;
constexpr s32 VIEW_W = 176, VIEW_H = 232, VIEW_SCALE = 3;

// Cell picture k (0..8) at (x, y), `scale` pixels a unit of the 57 x 75 cell; the differing
// cell of the first grid carries a red mark that no other cell has.
void pair_cell(PlaceholderCanvas& c, s32 x, s32 y, s32 scale, s32 k, bool marked) {
    const s16 ink = s16(SHAPE_FIRST + k);
    auto rect = [&](s32 u, s32 v, s32 w, s32 h) {
        c.fill(x + u * scale, y + v * scale, w * scale, h * scale, ink);
    };
    auto disc = [&](s32 u, s32 v, s32 r, s16 v_ink) {
        c.disc(x + u * scale + scale / 2, y + v * scale + scale / 2, r * scale, v_ink);
    };
    auto tri = [&](s32 u0, s32 v0, s32 u1, s32 v1, s32 u2, s32 v2) {
        c.triangle(x + u0 * scale, y + v0 * scale, x + u1 * scale, y + v1 * scale, x + u2 * scale,
                   y + v2 * scale, ink);
    };
    c.fill(x, y, CELL_W * scale, CELL_H * scale, PANEL);
    c.outline(x, y, CELL_W * scale, CELL_H * scale, FRAME);
    switch (k) {
    case 0:
        disc(28, 37, 16, ink);
        break;
    case 1:
        rect(13, 22, 31, 31);
        break;
    case 2:
        tri(28, 18, 10, 54, 46, 54);
        break;
    case 3:
        tri(28, 15, 10, 37, 46, 37);
        tri(28, 59, 10, 37, 46, 37);
        break;
    case 4:
        rect(23, 19, 11, 37);
        rect(10, 32, 37, 11);
        break;
    case 5:
        disc(28, 37, 17, ink);
        disc(28, 37, 10, PANEL);
        break;
    case 6:
        rect(10, 24, 37, 9);
        rect(10, 42, 37, 9);
        break;
    case 7:
        disc(16, 37, 7, ink);
        disc(28, 37, 7, ink);
        disc(40, 37, 7, ink);
        break;
    default:
        tri(28, 56, 10, 20, 46, 20);
        break;
    }
    if (marked) disc(45, 10, 5, ANSWER);
}

std::vector<u8> pair_overview() {
    PlaceholderCanvas c = canvas(OVERVIEW_W, OVERVIEW_H, PAPER);
    for (s32 cell = 0; cell < PAIR_CELLS; ++cell) {
        const PicturePoint p = pair_cell_corner(cell);
        pair_cell(c, p.x - PAIR_OVERVIEW_X, p.y - PAIR_OVERVIEW_Y, 1, cell % 9,
                  cell == PAIR_RIGHT_CELL);
    }
    return c.encode();
}

// One viewed cell, enlarged: the viewed picture of cell k, or the first grid's differing cell.
std::vector<u8> pair_view(s32 id, s32 k, bool marked) {
    PlaceholderCanvas c = canvas(VIEW_W, VIEW_H, PAPER);
    pair_cell(c, (VIEW_W - CELL_W * VIEW_SCALE) / 2, (VIEW_H - CELL_H * VIEW_SCALE) / 2, VIEW_SCALE,
              k, marked);
    id_label(c, id, FRAME);
    return c.encode();
}

// ---- The entry test's pictures -----------------------------------------------------------------

constexpr s32 ENTRY_W = 100, ENTRY_H = 150;

// Picture k: the number of the option that names it, as the option shows it, and k + 1 dots
// for its place among the options.
std::vector<u8> entry_picture(s32 k) {
    PlaceholderCanvas c = canvas(ENTRY_W, ENTRY_H, PAPER);
    c.outline(0, 0, ENTRY_W, ENTRY_H, FRAME);
    const std::string name = std::to_string(ENTRY_TEST_OPTIONS + k);
    c.digits((ENTRY_W - PlaceholderCanvas::digits_width(name, 3)) / 2, 24, name, 3, LINE);
    constexpr s32 step = 26;
    for (s32 i = 0; i <= k; ++i) c.disc(ENTRY_W / 2 + (2 * i - k) * step / 2, 90, 9, ANSWER);
    id_label(c, ENTRY_TEST_PICTURE + k, FRAME);
    return c.encode();
}

// ---- The rest: framed boxes --------------------------------------------------------------------

struct Run {
    s32 first, last, w, h;
};

// Sizes are ours where the screens give only a place: the closing animation takes the travel
// road's place at (149, 126); the closing picture is full screen.
constexpr Run BOXES[] = {
    {60100, 60103, 350, 190},
    {63500, 63500, 640, 480},
};

// Our own examples on the teaching boards.
constexpr s32 TEACHING_POINTS[OPENING_TEACHING_BOARDS][2] = {{3, 15}, {9, 9}, {15, 3}};

ImageList make_opening_images() {
    ImageList list;
    for (s32 k = 0; k < OPENING_TEACHING_BOARDS; ++k)
        list.emplace_back(
            OPENING_TEACHING_BOARD + k,
            grid_board(OPENING_TEACHING_BOARD + k, TEACHING_POINTS[k][0], TEACHING_POINTS[k][1]));
    for (const GridBoard& b : GRID_BOARDS)
        list.emplace_back(b.picture, grid_board(b.picture, b.column, b.row));
    list.emplace_back(GRID_POINT_MARK, grid_marker());
    list.emplace_back(OPENING_POINT_LESSON, search_lesson(OPENING_POINT_LESSON));
    list.emplace_back(POINT_SEARCH_PICTURE, search_picture(POINT_SEARCH_PICTURE));
    list.emplace_back(PAIR_OVERVIEW, pair_overview());
    // The differing cell shows its two pictures side by side, the first grid's marked.
    list.emplace_back(PAIR_RIGHT_FIRST, pair_view(PAIR_RIGHT_FIRST, PAIR_RIGHT_CELL, true));
    list.emplace_back(PAIR_RIGHT_SECOND, pair_view(PAIR_RIGHT_SECOND, PAIR_RIGHT_CELL, false));
    for (s32 k = 0; k < 9; ++k) {
        const s32 id = PAIR_CELL_PICTURE + k;
        if (id != PAIR_RIGHT_FIRST && id != PAIR_RIGHT_SECOND)
            list.emplace_back(id, pair_view(id, k, false));
    }
    for (s32 k = 0; k < ENTRY_TEST_CHOICES; ++k)
        list.emplace_back(ENTRY_TEST_PICTURE + k, entry_picture(k));
    for (const Run& r : BOXES)
        for (s32 id = r.first; id <= r.last; ++id)
            list.emplace_back(id, placeholder_box_sprite(id, r.w, r.h));
    return list;
}

} // namespace

void image_put_placeholder_cal_opening(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const ImageList images = make_opening_images();
    for (const auto& [image, bytes] : images) builder.put(u32(ARC_IMAGE_BASE + image), bytes);
}
