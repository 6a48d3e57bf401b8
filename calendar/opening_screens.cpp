// The small screens of the opening events over the dashboard.
#include "calendar/opening_screens.h"

#include "calendar/frame.h"
#include "engine/blit.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/dashboard.h"
#include "game/hub_dialog.h"

OpeningScreenState opening_screen_state;

namespace {

constexpr s32 LEFT_BUTTON = 1, RIGHT_BUTTON = 2;
constexpr s32 CURSOR_SEARCH = 1, CURSOR_PLAIN = 0;
constexpr s32 SEARCH_HIT_BOX = HUB_CAPTION_IMAGE + 1;
constexpr s32 SEARCH_FIRST_HIT_TEXT = 30954, SEARCH_MORE_HITS_TEXT = 30957;
constexpr s32 SEARCH_TEXT = 11260;
constexpr s32 ENTRY_TEST_TEACHER = 40;
constexpr s32 ENTRY_TEST_OPENING = 11191, ENTRY_TEST_RIGHT = 11192, ENTRY_TEST_ASK = 11193;
constexpr s32 ENTRY_TEST_QUESTION = 11220; // .. 11223; the fourth option asks again
constexpr s32 ENTRY_TEST_SOUND = 600;

void text_only(s32 text) {
    text_reveal_limit = HUB_TEXT_LIMIT;
    text_size(24);
    print_text_seen(HUB_TEXT_X, HUB_TEXT_Y, text);
}

void text_line(s32 box, s32 text) {
    draw_image(HUB_CAPTION_X, HUB_CAPTION_Y, box, 0);
    text_only(text);
}

// A left (or right) click waiting in the input words: true once, the buttons cleared.
bool take_click(s32 button) {
    if (mouse_buttons != u32(button)) return false;
    mouse_buttons = 0;
    return true;
}

bool inside(s32 x, s32 y, s32 x0, s32 y0, s32 x1, s32 y1) {
    return x >= x0 && x <= x1 && y >= y0 && y <= y1;
}

// ---- Grid board --------------------------------------------------------------------------------

// The line k (0..18) whose window holds v, or -1.
s32 grid_line_at(s32 v, s32 window_from) {
    for (s32 k = 0; k < GRID_POINT_LINES; ++k) {
        const s32 lo = GRID_POINT_OFFSETS[k] + window_from;
        if (v >= lo && v <= lo + GRID_POINT_WINDOW) return k;
    }
    return -1;
}

void grid_frame(const GridBoard& board) {
    hub_draw();
    draw_image(HUB_LEFT_X, HUB_PORTRAIT_Y, HUB_PORTRAIT_IMAGE, BLIT_MIRROR);
    draw_image(HUB_CAPTION_X, HUB_CAPTION_Y, HUB_CAPTION_IMAGE, 0);
    draw_image(GRID_POINT_BOARD_X, GRID_POINT_BOARD_Y, board.picture, 0);
    text_only(GRID_POINT_TEXT);
    OpeningScreenState& st = opening_screen_state;
    st.hover_column = grid_line_at(pointer_x, GRID_POINT_WINDOW_X);
    st.hover_row = grid_line_at(pointer_y, GRID_POINT_WINDOW_Y);
    if (st.hover_column < 0 || st.hover_row < 0) {
        st.hover_column = st.hover_row = -1;
        return;
    }
    draw_image(GRID_POINT_OFFSETS[st.hover_column] + GRID_POINT_MARK_X,
               GRID_POINT_OFFSETS[st.hover_row] + GRID_POINT_MARK_Y, GRID_POINT_MARK, 0);
}

// ---- Picture pair game -------------------------------------------------------------------------

// The cell under (x, y), first grid's cell c before the second grid's 9 + c; -1 for none.
s32 pair_cell_at(s32 x, s32 y) {
    for (s32 c = 0; c < 9; ++c)
        for (s32 cell : {c, 9 + c}) {
            const PicturePoint p = pair_cell_corner(cell);
            if (inside(x, y, p.x, p.y, p.x + PAIR_CELL_W, p.y + PAIR_CELL_H)) return cell;
        }
    return -1;
}

void pair_frame(s32 view) {
    hub_draw();
    text_line(HUB_CAPTION_IMAGE, PAIR_TEXT);
    if (view < 0) {
        draw_image(PAIR_OVERVIEW_X, PAIR_OVERVIEW_Y, PAIR_OVERVIEW, 0);
        return;
    }
    const bool right = view % 9 == PAIR_RIGHT_CELL;
    draw_image(PAIR_VIEW_FIRST_X, PAIR_VIEW_Y,
               right ? PAIR_RIGHT_FIRST : PAIR_CELL_PICTURE + view % 9, 0);
    draw_image(PAIR_VIEW_SECOND_X, PAIR_VIEW_Y,
               right ? PAIR_RIGHT_SECOND : PAIR_CELL_PICTURE + view % 9, 0);
}

// ---- Point search ------------------------------------------------------------------------------

// The first point (index order) within reach of (x, y), or -1.
s32 point_at(s32 x, s32 y) {
    for (s32 i = 0; i < PICTURE_POINT_COUNT; ++i) {
        const PicturePoint& p = PICTURE_POINTS[i];
        if (inside(x, y, p.x - POINT_SEARCH_REACH, p.y - POINT_SEARCH_REACH,
                   p.x + POINT_SEARCH_REACH, p.y + POINT_SEARCH_REACH))
            return i;
    }
    return -1;
}

} // namespace

s32 grid_point_puzzle(s32 kind) {
    // No caller passes another kind; one outside the boards counts as a wrong answer at once
    // rather than showing a board that does not exist (our choice).
    if (kind < 1 || kind > GRID_POINT_KINDS) return -1;
    const GridBoard& board = GRID_BOARDS[kind - 1];
    OpeningScreenState& st = opening_screen_state;
    st = {};
    mouse_buttons = 0;
    s32 result = 0;
    while (result == 0) {
        grid_frame(board);
        if (take_click(LEFT_BUTTON)) {
            const s32 x = click_x, y = click_y;
            const s32 i = grid_line_at(x, GRID_POINT_WINDOW_X);
            const s32 j = grid_line_at(y, GRID_POINT_WINDOW_Y);
            if (inside(x, y, GRID_POINT_CLICK_X0, GRID_POINT_CLICK_Y0, GRID_POINT_CLICK_X1,
                       GRID_POINT_CLICK_Y1) &&
                i >= 0 && j >= 0)
                result = i == board.column && j == board.row ? 1 : -1;
        }
        screen_present();
        st.frames++;
    }
    return result;
}

s32 picture_pair_game() {
    OpeningScreenState& st = opening_screen_state;
    st = {};
    mouse_buttons = 0;
    while (st.answer < 0) {
        if (take_click(LEFT_BUTTON))
            st.view = st.view >= 0 ? -1 : pair_cell_at(click_x, click_y);
        else if (take_click(RIGHT_BUTTON) && st.view < 0)
            st.answer = pair_cell_at(click_x, click_y);
        pair_frame(st.view);
        screen_present();
        st.frames++;
    }
    // The same place in the second grid (cell 14) is not the answer.
    return st.answer == PAIR_RIGHT_CELL ? 1 : 0;
}

s32 entry_test() {
    mssw_stop_music();
    hub_say(1, 0, ENTRY_TEST_TEACHER, ENTRY_TEST_OPENING);
    s32 answer = 3;
    while (answer == 3) {
        mssw_play_sound(ENTRY_TEST_SOUND, 1);
        answer = hub_choose(0, 0, ENTRY_TEST_TEACHER, ENTRY_TEST_QUESTION, ENTRY_TEST_QUESTION + 1,
                            ENTRY_TEST_QUESTION + 2, ENTRY_TEST_QUESTION + 3);
    }
    if (answer != 0) return 0;
    hub_say(1, 0, ENTRY_TEST_TEACHER, ENTRY_TEST_RIGHT);

    if (grid_point_puzzle(ENTRY_TEST_BOARD_FIRST + cal_rand(3)) != 1) return 0;

    const s32 k = cal_rand(ENTRY_TEST_CHOICES);
    hub_say_pic(0, ENTRY_TEST_PICTURE_X, ENTRY_TEST_PICTURE_Y, ENTRY_TEST_PICTURE + k, 0,
                ENTRY_TEST_TEACHER, ENTRY_TEST_ASK);
    const s32 chosen = hub_choose(0, 0, ENTRY_TEST_TEACHER, ENTRY_TEST_OPTIONS,
                                  ENTRY_TEST_OPTIONS + 1, ENTRY_TEST_OPTIONS + 2, -1);
    return chosen == k ? 1 : 0;
}

void dashboard_animation(s32 first, s32 count) {
    OpeningScreenState& st = opening_screen_state;
    st = {};
    for (s32 i = 0; i < count; ++i) {
        hub_draw_closing(first + i);
        screen_present();
        st.frames++;
        wait_ms(DASHBOARD_ANIMATION_MS);
    }
}

s32 picture_point_search() {
    OpeningScreenState& st = opening_screen_state;
    st = {};
    bool done = false;
    mouse_buttons = 0;
    cursor_select(CURSOR_SEARCH);
    while (!done) {
        hub_draw();
        draw_image(POINT_SEARCH_X0, POINT_SEARCH_Y0, POINT_SEARCH_PICTURE, 0);
        if (!take_click(LEFT_BUTTON)) {
            text_line(HUB_CAPTION_IMAGE, SEARCH_TEXT);
        } else if (inside(click_x, click_y, POINT_SEARCH_X0, POINT_SEARCH_Y0, POINT_SEARCH_X1,
                          POINT_SEARCH_Y1)) {
            const s32 hit = point_at(click_x, click_y);
            if (hit >= 0 && st.hits < POINT_SEARCH_MAX_HITS) st.hits++;
            if (hit == PICTURE_POINT_SOUGHT) {
                done = true;
            } else {
                if (st.hits == 1) text_line(SEARCH_HIT_BOX, SEARCH_FIRST_HIT_TEXT);
                if (st.hits > 1) text_line(SEARCH_HIT_BOX, SEARCH_MORE_HITS_TEXT);
                hub_click_wait_kept();
            }
        }
        screen_present();
        st.frames++;
    }
    cursor_select(CURSOR_PLAIN);
    return st.hits;
}
