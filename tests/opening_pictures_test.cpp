// The opening screens played by looking: each screen's placeholder picture is drawn, the answer
// is read off its pixels as a person would (the red mark, the cell pair that differs, the number
// and count of marks), and that answer is played on the real screen, which must take it.
#include "calendar/opening_screens.h"

#include "calendar/opening.h"
#include "engine/blit.h"
#include "engine/image.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "tests/opening_player.h"
#include "tools/placeholder_cal_opening.h"
#include "tools/placeholder_canvas.h"
#include "tools/placeholder_images.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr s32 LEFT = 1, RIGHT = 2;
constexpr u16 BACKGROUND = 0x0842; // a colour none of the pictures uses

// A picture as it looks on the screen, drawn at (0, 0) over a plain background.
struct Look {
    s32 w = 0, h = 0;
    std::vector<u16> pixels;

    explicit Look(s32 image) {
        const auto* header = reinterpret_cast<const SpriteImage*>(image_load(image));
        w = header->width;
        h = header->height;
        std::fill(back_buffer, back_buffer + SCREEN_PIXELS, BACKGROUND);
        draw_image(header->hot_x, header->hot_y, image, 0);
        for (s32 y = 0; y < h; ++y)
            pixels.insert(pixels.end(), back_buffer + y * SCREEN_W, back_buffer + y * SCREEN_W + w);
    }
    bool is(s32 x, s32 y, u16 colour_555) const {
        return x >= 0 && y >= 0 && x < w && y < h &&
               pixels[size_t(y * w + x)] == colour_for_display(colour_555);
    }
    bool same(s32 x0, s32 y0, const Look& other, s32 x1, s32 y1, s32 cw, s32 ch) const {
        for (s32 y = 0; y < ch; ++y)
            for (s32 x = 0; x < cw; ++x)
                if (pixels[size_t((y0 + y) * w + x0 + x)] !=
                    other.pixels[size_t((y1 + y) * other.w + x1 + x)])
                    return false;
        return true;
    }
};

// A connected patch of one colour: its bounds and middle.
struct Blob {
    s32 x0, y0, x1, y1;
    PicturePoint middle() const { return {(x0 + x1) / 2, (y0 + y1) / 2}; }
};

std::vector<Blob> blobs(const Look& look, u16 colour_555) {
    std::vector<u8> seen(look.pixels.size(), 0);
    std::vector<Blob> out;
    for (s32 y = 0; y < look.h; ++y)
        for (s32 x = 0; x < look.w; ++x) {
            if (seen[size_t(y * look.w + x)] || !look.is(x, y, colour_555)) continue;
            Blob b{x, y, x, y};
            std::vector<PicturePoint> todo = {{x, y}};
            seen[size_t(y * look.w + x)] = 1;
            while (!todo.empty()) {
                const PicturePoint p = todo.back();
                todo.pop_back();
                b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x),
                     std::max(b.y1, p.y)};
                for (const PicturePoint d : {PicturePoint{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const s32 nx = p.x + d.x, ny = p.y + d.y;
                    if (!look.is(nx, ny, colour_555) || seen[size_t(ny * look.w + nx)]) continue;
                    seen[size_t(ny * look.w + nx)] = 1;
                    todo.push_back({nx, ny});
                }
            }
            out.push_back(b);
        }
    return out;
}

// The middle of the one red mark of a picture, as a point of the screen when the picture
// stands at (x, y); false when the picture has no such single mark.
bool the_mark(s32 image, s32 x, s32 y, OpeningClick& click) {
    const std::vector<Blob> marks = blobs(Look(image), OPENING_PIC_ANSWER);
    if (marks.size() != 1) return false;
    click.x = x + marks[0].middle().x;
    click.y = y + marks[0].middle().y;
    return true;
}

// The digits written in `colour` on a picture, read in the 3 x 5 shapes at the scale their
// height shows.
std::string read_number(const Look& look, u16 colour_555) {
    s32 x0 = look.w, y0 = look.h, x1 = -1, y1 = -1;
    for (s32 y = 0; y < look.h; ++y)
        for (s32 x = 0; x < look.w; ++x)
            if (look.is(x, y, colour_555)) {
                x0 = std::min(x0, x), y0 = std::min(y0, y);
                x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
    if (x1 < 0) return "";
    const s32 scale = (y1 - y0 + 1) / 5;
    std::string out;
    for (s32 left = x0; left < x1; left += 4 * scale) {
        char found = '?';
        for (s32 d = 0; d < 10; ++d) {
            bool all = true;
            for (s32 r = 0; r < 5; ++r)
                for (s32 c = 0; c < 3; ++c)
                    all = all && look.is(left + c * scale + scale / 2, y0 + r * scale + scale / 2,
                                         colour_555) == (placeholder_digit_rows[d][r][c] == '#');
            if (all) found = char('0' + d);
        }
        out += found;
    }
    return out;
}

class OpeningPicturesTest : public OpeningTest {};

} // namespace

// Every grid board shows one red disc; clicking its middle is the board's right answer, and
// the disc covers no other intersection's window.
TEST_F(OpeningPicturesTest, GridBoardsAreSolvedByClickingTheirRedDisc) {
    for (s32 kind = 1; kind <= GRID_POINT_KINDS; ++kind) {
        SCOPED_TRACE(kind);
        const GridBoard& board = GRID_BOARDS[kind - 1];
        const std::vector<Blob> marks = blobs(Look(board.picture), OPENING_PIC_ANSWER);
        ASSERT_EQ(marks.size(), 1u);
        EXPECT_LE(marks[0].x1 - marks[0].x0, GRID_POINT_WINDOW);
        EXPECT_LE(marks[0].y1 - marks[0].y0, GRID_POINT_WINDOW);
        OpeningClick click;
        ASSERT_TRUE(the_mark(board.picture, GRID_POINT_BOARD_X, GRID_POINT_BOARD_Y, click));
        opening_play({{click}});
        EXPECT_EQ(grid_point_puzzle(kind), 1);
    }
}

// The overview's two grids differ in one cell pair only, the first grid's cell carrying the red
// mark; answering the marked cell wins. Viewed side by side, only that pair's halves differ.
TEST_F(OpeningPicturesTest, PicturePairIsSolvedByTheCellThatDiffers) {
    const Look overview(PAIR_OVERVIEW);
    std::vector<s32> differing;
    for (s32 k = 0; k < 9; ++k) {
        const PicturePoint a = pair_cell_corner(k), b = pair_cell_corner(9 + k);
        if (!overview.same(a.x - PAIR_OVERVIEW_X, a.y - PAIR_OVERVIEW_Y, overview,
                           b.x - PAIR_OVERVIEW_X, b.y - PAIR_OVERVIEW_Y, PAIR_CELL_W + 1,
                           PAIR_CELL_H + 1))
            differing.push_back(k);
    }
    EXPECT_EQ(differing, std::vector<s32>{PAIR_RIGHT_CELL});

    // View every cell of the first grid, then answer the marked cell.
    std::vector<OpeningClick> play;
    for (s32 k = 0; k < 9; ++k) {
        const PicturePoint c = pair_cell_corner(k);
        play.push_back({c.x + PAIR_CELL_W / 2, c.y + PAIR_CELL_H / 2, LEFT});
        play.push_back({10, 10, LEFT});
    }
    OpeningClick answer{0, 0, RIGHT};
    ASSERT_TRUE(the_mark(PAIR_OVERVIEW, PAIR_OVERVIEW_X, PAIR_OVERVIEW_Y, answer));
    play.push_back(answer);
    std::vector<s32> halves_differ;
    opening_play({play}, [&halves_differ] {
        const s32 v = opening_screen_state.view;
        if (v < 0 ||
            std::find(halves_differ.begin(), halves_differ.end(), v) != halves_differ.end())
            return;
        for (s32 y = 0; y < 232; ++y)
            for (s32 x = 0; x < 176; ++x)
                if (back_buffer[(PAIR_VIEW_Y + y) * SCREEN_W + PAIR_VIEW_FIRST_X + x] !=
                    back_buffer[(PAIR_VIEW_Y + y) * SCREEN_W + PAIR_VIEW_SECOND_X + x]) {
                    halves_differ.push_back(v);
                    return;
                }
    });
    EXPECT_EQ(picture_pair_game(), 1);
    EXPECT_EQ(opening_screen_state.answer, PAIR_RIGHT_CELL);
    EXPECT_EQ(halves_differ, std::vector<s32>{PAIR_RIGHT_CELL});
}

// The search picture shows every point; the sought one alone is red, and clicking it finds it at
// the first try. The lesson before it rings the same point.
TEST_F(OpeningPicturesTest, PointSearchIsSolvedAtTheFirstTryByItsRedPoint) {
    const Look search(POINT_SEARCH_PICTURE);
    for (s32 i = 0; i < PICTURE_POINT_COUNT; ++i) {
        const s32 x = PICTURE_POINTS[i].x - POINT_SEARCH_X0,
                  y = PICTURE_POINTS[i].y - POINT_SEARCH_Y0;
        EXPECT_TRUE(
            search.is(x, y, i == PICTURE_POINT_SOUGHT ? OPENING_PIC_ANSWER : OPENING_PIC_POINT))
            << "point " << i;
    }
    OpeningClick sought;
    ASSERT_TRUE(the_mark(POINT_SEARCH_PICTURE, POINT_SEARCH_X0, POINT_SEARCH_Y0, sought));
    opening_play({{sought}});
    EXPECT_EQ(picture_point_search(), 1);

    const std::vector<Blob> lesson = blobs(Look(OPENING_POINT_LESSON), OPENING_PIC_ANSWER);
    ASSERT_FALSE(lesson.empty());
    for (const Blob& b : lesson) {
        EXPECT_EQ(b.middle().x + POINT_SEARCH_X0, sought.x);
        EXPECT_EQ(b.middle().y + POINT_SEARCH_Y0, sought.y);
    }
}

// Each of the entry test's pictures writes the number of one option and shows as many marks as
// that option's place: answering by either passes the test (the board solved by its red disc).
TEST_F(OpeningPicturesTest, EntryTestPicturesNameTheOptionThatPasses) {
    for (s32 k = 0; k < ENTRY_TEST_CHOICES; ++k) {
        SCOPED_TRACE(k);
        const Look picture(ENTRY_TEST_PICTURE + k);
        const s32 row = s32(blobs(picture, OPENING_PIC_ANSWER).size()) - 1;
        const std::string number = read_number(picture, OPENING_PIC_LINE);
        ASSERT_GE(row, 0);
        const GridBoard& board = GRID_BOARDS[ENTRY_TEST_BOARD_FIRST - 1 + k];
        OpeningClick click;
        ASSERT_TRUE(the_mark(board.picture, GRID_POINT_BOARD_X, GRID_POINT_BOARD_Y, click));
        answers({0, row});
        draws({k, k});
        opening_play({{click}});
        const size_t m = mark();
        EXPECT_EQ(entry_test(), 1);
        // The options as the test showed them: the one at the marks' place has the number.
        const std::vector<s32> texts = texts_from(m);
        ASSERT_GE(texts.size(), size_t(ENTRY_TEST_CHOICES));
        const std::vector<s32> options(texts.end() - ENTRY_TEST_CHOICES, texts.end());
        EXPECT_EQ(number, std::to_string(options[size_t(row)]));
    }
}
