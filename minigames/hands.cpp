// The hand game. Each frame the opponent may change hands; a click on one of the three menu rows
// plays that hand against the opponent's current one, and a full time bar loses the hand.
#include "minigames/hands.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/staging.h"
#include "game/growth.h"
#include "minigames/frame.h"

HandsState hands_state;
s32 (*hands_draw_seam)(s32 n) = rand_below;

namespace {

constexpr s32 BACKDROP = 25000;
constexpr s32 OPPONENT_HAND_IMAGE = 25001; // + hand
constexpr s32 PLAYER_HAND_IMAGE = 25004;   // + hand
constexpr s32 WIN_MARK = 25007;
constexpr s32 BAR_FRAME = 25009;
constexpr s32 BAR_COLUMN = 25010;
constexpr s32 OPPONENT = 1179; // portrait image and name text

constexpr s32 TEXT_BAR = 598, TEXT_TOP = 599, TEXT_PROMPT = 613;
constexpr s32 MENU_TEXTS[3] = {600, 601, 602};

void draw_marks() {
    const HandsState& s = hands_state;
    for (s32 i = 0; i < s.wins; ++i) draw_image(468 + 41 * i, 213, WIN_MARK, 0);
    for (s32 i = 0; i < s.losses; ++i) draw_image(48 + 41 * i, 260, WIN_MARK, 0);
}

// The table: backdrop, both sides, the time bar (with `columns` columns), the marks and the
// opponent's hand.
void draw_table(s32 columns) {
    draw_image(0, 0, BACKDROP, 0);
    frame_opponent_portrait(OPPONENT);
    text_size(24);
    text_style(2);
    text_colour(0, 0, 15);
    print_text(73, 210, OPPONENT);
    frame_player_portrait(true);
    draw_image(470, 170, BAR_FRAME, 0);
    // Columns past a full bar would run off the frame; the hand ends in this frame anyway.
    const s32 shown = columns < HANDS_BAR_FULL + 1 ? columns : HANDS_BAR_FULL + 1;
    for (s32 i = 0; i < shown; ++i) draw_image(480 + i, 181, BAR_COLUMN, 0);
    text_size(16);
    text_style(1);
    print_text(473, 158, TEXT_BAR);
    draw_marks();
    draw_image(199, 175, OPPONENT_HAND_IMAGE + hands_state.hand, 0);
}

void change_hand() {
    HandsState& s = hands_state;
    if (s.hold != 0) {
        --s.hold;
        return;
    }
    do {
        s.hand = hands_draw_seam(3);
    } while (s.hand == s.previous);
    s.hold = 1;
    s.previous = s.hand;
}

struct Texts {
    s32 bottom, top;
};

// The result texts of the hand about to be counted (w and l before it).
Texts result_texts(s32 outcome, bool clicked, s32 w, s32 l) {
    if (outcome == HANDS_DRAWN) return {612, 612};
    if (outcome == HANDS_WON) {
        if (w == 2 && l == 2) return {627, 633};
        if (w == 2) return {627, 620};
        if (w == 1 && l == 0) return {618, 619};
        if (w == 0 && l == 0) return {616, 617};
        if (w < l) return hands_draw_seam(2) == 0 ? Texts{645, 646} : Texts{625, 626};
        return {616, 623};
    }
    if (l == 2 && w == 2) return {633, 632};
    if (l == 2) return {629, 628};
    if (!clicked) return {611, 603};
    if (w == 0 && l == 1) return {648, 647};
    if (w == 0 && l == 0) return {610, 609};
    return {605, 604};
}

// Decides, shows and counts one hand; `pick` 1..3 is the played row, 0 a time-out.
void settle(s32 pick) {
    HandsState& s = hands_state;
    s32 outcome = HANDS_LOST;
    if (pick != 0) {
        const s32 played = pick - 1;
        if (played == s.hand)
            outcome = HANDS_DRAWN;
        else if (played == (s.hand + 1) % 3)
            outcome = HANDS_WON;
    }
    draw_table(0);
    if (pick != 0) draw_image(336, 177, PLAYER_HAND_IMAGE - 1 + pick, 0);
    const Texts texts = result_texts(outcome, pick != 0, s.wins, s.losses);
    text_size(24);
    text_style(2);
    text_colour(0, 0, 0);
    frame_bottom_line(texts.bottom);
    frame_top_line(texts.top);
    if (transcript_observer) {
        transcript_print(texts.bottom, BOTTOM_LINE_X, BOTTOM_LINE_Y);
        transcript_print(texts.top, TOP_LINE_X, TOP_LINE_Y);
    }
    if (outcome == HANDS_WON) {
        growth_pool(HANDS_GROWTH) += HANDS_WIN_EXP;
        grow(HANDS_GROWTH);
        ++s.wins;
    } else if (outcome == HANDS_LOST) {
        ++s.losses;
    }
    s.pick = pick;
    s.outcome = outcome;
    s.top = texts.top;
    s.bottom = texts.bottom;
    s.hands += 1;
    if (pick == 0) s.timeouts += 1;
    draw_marks();

    FrameWait wait;
    wait.x = 306;
    wait.y = 300;
    wait.hide_pointer = true;
    s.waiting = 1;
    frame_click_wait(wait);
    s.waiting = 0;
    mouse_buttons = 0;
    click_x = 0;
    click_y = 0;
}

} // namespace

s32 game_hands() {
    HandsState& s = hands_state;
    s = HandsState{};
    s.hand = 1;
    s.previous = 1;
    s.hold = 1;
    frame_enter(0, true);
    text_size(24);
    timer0_start();
    while (!s.done) {
        s.t = static_cast<s32>(timer0_elapsed() / HANDS_BAR_STEP_MS);
        draw_table(s.t);
        change_hand();
        text_size(24);
        text_style(2);
        frame_top_line(TEXT_TOP);
        frame_bottom_line(TEXT_PROMPT);
        frame_draw_menu(MENU_TEXTS);

        const bool clicked = mouse_buttons == 1;
        const bool timed_out = s.t > HANDS_BAR_FULL;
        if (clicked || timed_out) {
            mouse_buttons = 0;
            // Only a click picks a row: a time-out never reads an earlier click's position.
            const s32 pick = clicked ? frame_menu_row(click_x, click_y) : 0;
            click_x = 0;
            click_y = 0;
            if (pick != 0 || timed_out) settle(pick);
            timer0_start();
        }

        if (s.wins >= HANDS_TO_WIN || s.losses >= HANDS_TO_WIN) {
            s.done = 1;
            if (s.wins == HANDS_TO_WIN && s.losses == 0) {
                growth_pool(HANDS_GROWTH) += HANDS_SWEEP_EXP;
                grow(HANDS_GROWTH);
            }
        }
        screen_present();
    }
    cursor_select(0);
    return s.wins - s.losses;
}
