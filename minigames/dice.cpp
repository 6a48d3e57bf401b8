// The dice games: three dice against a host, a bet on big (pips total 11 or more) or small. One
// loop serves the three variants; the variant decides the purse, the menu rows, the loaded dice,
// the win and loss effects, how the call ends, the clock and the music.
#include "minigames/dice.h"

#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/player.h"
#include "minigames/frame.h"

DiceState dice_state;
s32 (*dice_draw_seam)(s32 n) = rand_below;

namespace {

constexpr s32 DICE_MUSIC = 10011;
constexpr s32 DICE_HOST_PORTRAIT = 1024;
constexpr s32 DICE_BACKDROP = 25030;
constexpr s32 DICE_TRAY = 25031;
constexpr s32 DICE_FACE_FIRST = 25014;
constexpr s32 DICE_ROLL_A = 25020, DICE_ROLL_B = 25023;
constexpr s32 DICE_X[3] = {182, 265, 348};
constexpr s32 DICE_Y = 174;
constexpr s32 DICE_FLAG_CAP = 10000;
constexpr s32 DICE_GROWTH = 26;
constexpr s32 DICE_WINS_TO_END_HIGH = 5;

bool dice_money_variant() {
    return dice_state.variant != DICE_PRACTICE;
}

s32& dice_purse() {
    return dice_money_variant() ? player_record.money : dice_state.chips;
}

void dice_font(s32 size, s32 style, s32 r, s32 g, s32 b) {
    text_size(size);
    text_style(style);
    text_colour(r, g, b);
}

void dice_draw_screen() {
    const DiceState& d = dice_state;
    draw_image(0, 0, DICE_BACKDROP, 0);
    frame_opponent_portrait(DICE_HOST_PORTRAIT);
    frame_player_portrait(false);

    dice_font(24, 2, 0, 0, 0);
    if (d.state <= 1) {
        print_text_seen(TOP_LINE_X, TOP_LINE_Y, d.state == 0 && d.broke ? 671 : 660);
    } else {
        const s32 faces[3] = {d.d1, d.d2, d.d3};
        for (s32 i = 0; i < 3; ++i) {
            print_number(TOP_LINE_X + 24 * i, TOP_LINE_Y, faces[i] + 1, 1);
            transcript_print_number(faces[i] + 1, 1, TOP_LINE_X + 24 * i, TOP_LINE_Y);
        }
        dice_font(48, 2, 25, 5, 0);
        print_text_seen(261, TOP_LINE_Y, 651 + d.result);
        dice_font(24, 2, 0, 0, 0);
        if (d.state == 3)
            print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, d.won ? 659 : (d.pick == 1 ? 657 : 658));
    }

    dice_font(16, 1, 0, 0, 0);
    static constexpr struct {
        s32 text, x, y;
    } labels[] = {{668, 134, 209}, {669, 119, 209}, {670, 102, 209},  {650, 83, 209},
                  {3337, 83, 305}, {-1, 545, 154},  {3337, 545, 264}, {665, 517, 154},
                  {653, 517, 264}, {666, 497, 154}, {653, 497, 264}};
    for (const auto& l : labels)
        print_text_vertical_seen(l.x, l.y,
                                 l.text >= 0 ? l.text : (dice_money_variant() ? 582 : 649));
    text_colour(0, 0, 15);
    print_text_vertical_seen(153, 231, 667);
    print_number_vertical_seen(83, 257, d.stake, 3);
    print_number_vertical_seen(545, 186, dice_purse(), 5);
    print_number_vertical_seen(517, 186, d.bets_won, 5);
    print_number_vertical_seen(497, 186, d.bets_lost, 5);

    const s32 faces[3] = {d.d1, d.d2, d.d3};
    for (s32 i = 0; i < 3; ++i) draw_image(DICE_X[i], DICE_Y, DICE_FACE_FIRST + faces[i], 0);

    dice_font(16, 5, 0, 0, 15);
    s32 last = -1;
    for (s32 i = 0; i < DICE_HISTORY; ++i) {
        if (d.history[i] == 0) continue;
        print_text_vertical_seen(59, 209 + 16 * i, 650 + d.history[i]);
        last = i;
    }
    if (last >= 0) {
        text_colour(25, 5, 0);
        print_text_vertical_seen(59, 209 + 16 * last, 650 + d.history[last]);
    }

    if (d.state == 1) {
        dice_font(24, 2, 0, 0, 0);
        print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, 661);
        const s32 money_rows[3] = {662, 663, 664};
        const s32 practice_rows[3] = {662, 663, -1};
        const s32* rows = dice_money_variant() ? money_rows : practice_rows;
        frame_draw_menu(rows);
        for (s32 i = 0; i < 3; ++i)
            if (rows[i] >= 0) transcript_print(rows[i], MENU_X, MENU_Y[i]);
    }
}

// One die for a bet on `pick`: loaded toward the bet by attribute 26 in the money variants.
s32 dice_roll_one(s32 pick) {
    const s32 attr = growth_value(DICE_GROWTH);
    if (dice_money_variant() && attr >= 100)
        return pick == 1 ? dice_draw_seam(4) + 2 : dice_draw_seam(4);
    if (dice_money_variant() && attr >= 80)
        return pick == 1 ? dice_draw_seam(5) + 1 : dice_draw_seam(5);
    return dice_draw_seam(6);
}

// Keeps a drawn face inside the six faces whatever the draw source returned.
s32 dice_face(s32 v) {
    return v < 0 ? 0 : (v > 5 ? 5 : v);
}

// The dice tumble and stop one by one at 1.5, 2.5 and 3.5 seconds.
void dice_animate() {
    dice_state.rolling = 1;
    timer0_start();
    s32 base[3] = {DICE_ROLL_A, DICE_ROLL_A, DICE_ROLL_A};
    const s32 faces[3] = {dice_state.d1, dice_state.d2, dice_state.d3};
    static constexpr s32 stop_at[3] = {3, 5, 7};
    s32 phase = 0, count = 0;
    for (bool done = false; !done;) {
        draw_image(182, 154, DICE_TRAY, 0);
        const s32 s = static_cast<s32>(timer0_elapsed() / 500);
        for (s32 i = 0; i < 3; ++i) {
            const bool stopped = s >= stop_at[i];
            draw_image(DICE_X[i], DICE_Y, stopped ? DICE_FACE_FIRST + faces[i] : base[i] + phase,
                       0);
            if (i == 2 && stopped) done = true;
        }
        if (++count == 3) {
            count = 0;
            if (++phase == 3) {
                phase = 0;
                for (s32& b : base) b = rand_below(2) == 0 ? DICE_ROLL_A : DICE_ROLL_B;
            }
        }
        screen_present();
    }
    dice_state.rolling = 0;
}

void dice_settle() {
    DiceState& d = dice_state;
    d.state = 2;
    d.betting = 0;
    s32& purse = dice_purse();
    s32& flags_wins = player_record.story_flags[STORY_DICE_WINS];
    s32& flags_losses = player_record.story_flags[STORY_DICE_LOSSES];
    if (d.result + 1 == d.pick) {
        mssw_play_sound(559, 1);
        d.won = 1;
        ++d.bets_won;
        purse += d.stake;
        ++d.period_wins;
        if (d.variant == DICE_PRACTICE) {
            growth_pool(DICE_GROWTH) += 10;
        } else {
            if (flags_wins < DICE_FLAG_CAP) ++flags_wins;
            growth_pool(DICE_GROWTH) += 5;
        }
        grow(DICE_GROWTH);
        if (d.variant == DICE_HIGH && d.bets_won >= DICE_WINS_TO_END_HIGH) d.end_state = 1;
    } else {
        mssw_play_sound(558, 1);
        d.won = 0;
        ++d.bets_lost;
        purse -= d.stake;
        ++d.period_losses;
        if (d.variant == DICE_PLAIN && flags_losses < DICE_FLAG_CAP) ++flags_losses;
        if (d.variant == DICE_HIGH) d.end_state = 2;
    }
    s32 slot = 0;
    while (slot < DICE_HISTORY && d.history[slot] != 0) ++slot;
    if (slot == DICE_HISTORY) {
        for (s32 i = 0; i + 1 < DICE_HISTORY; ++i) d.history[i] = d.history[i + 1];
        slot = DICE_HISTORY - 1;
    }
    d.history[slot] = d.result + 1;
}

void dice_bet() {
    DiceState& d = dice_state;
    s32 x = 0, y = 0;
    if (!frame_take_click(&x, &y)) return;
    d.pick = frame_menu_row(x, y);
    // The practice has no leave row: a click where it would be is no bet.
    if (d.variant == DICE_PRACTICE && d.pick == 3) d.pick = 0;
    if (d.pick == 0) return;
    if (d.pick == 3) {
        d.end_state = 1;
        return;
    }
    if (dice_purse() < d.stake) {
        d.betting = 0;
        d.state = 0;
        d.broke = 1;
        return;
    }
    d.d1 = dice_face(dice_roll_one(d.pick));
    d.d2 = dice_face(dice_roll_one(d.pick));
    d.d3 = dice_face(dice_roll_one(d.pick));
    d.result = dice_result_of(d.d1, d.d2, d.d3);
    dice_animate();
    dice_settle();
}

s32 dice_run(s32 variant, s32 stake) {
    dice_state = DiceState{};
    DiceState& d = dice_state;
    d.variant = variant;
    d.stake = stake;
    d.chips = DICE_CHIPS_START;
    frame_enter(0, true);
    FrameMusic music;
    if (dice_money_variant())
        frame_music_start(music, DICE_MUSIC);
    else
        mssw_play_music(DICE_MUSIC, 0);

    while (d.end_state == 0) {
        if (d.variant == DICE_PRACTICE &&
            (d.chips < DICE_CHIPS_START || d.chips >= DICE_CHIPS_GOAL))
            d.end_state = 1;
        dice_draw_screen();
        if (d.state != 1) {
            FrameWait wait;
            wait.x = d.state == 3 ? 441 : 564;
            wait.y = d.state == 3 ? 419 : 118;
            wait.keep_buttons = true;
            wait.clear_click = true;
            frame_click_wait(wait);
            if (d.state == 0) {
                d.state = 1;
                d.betting = 1;
            } else {
                d.state = d.state == 2 ? 3 : 0;
            }
            mouse_buttons = 0;
            click_x = 0;
            click_y = 0;
        } else {
            dice_bet();
        }
        screen_present();
        if (dice_money_variant()) {
            if (d.period_wins + d.period_losses >= 15) {
                d.period_wins = d.period_losses = 0;
                d.clock_spent = 1;
                frame_clock_spend();
            }
            if (world_state.hour >= 15 && hub_block.calendar_turn == 0) d.end_state = 1;
        }
    }

    if (dice_money_variant()) {
        if (!d.clock_spent) frame_clock_spend();
        frame_music_restore(music);
    } else {
        mssw_play_music(player_record.music_id, 0);
    }
    return d.end_state;
}

} // namespace

s32 dice_result_of(s32 d1, s32 d2, s32 d3) {
    return d1 + d2 + d3 + 3 > 10 ? 0 : 1;
}

void game_dice(s32 /*mode*/, s32 stake) {
    dice_run(DICE_PLAIN, stake);
}

s32 game_dice_high(s32 /*mode*/, s32 stake) {
    return dice_run(DICE_HIGH, stake);
}

s32 game_dice_practice() {
    dice_run(DICE_PRACTICE, 50);
    return dice_state.chips >= DICE_CHIPS_START ? 1 : 0;
}
