// The light-ring betting game.
#include "minigames/light_ring.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/frame.h"

#include <algorithm>

LightRingState light_ring_state;
s32 (*light_ring_rand_seam)(s32 n) = rand_below;

// Clockwise from the top-left corner. Slots 0 and 1 have one lamp each, 2 and 3 two, 4 and 5
// three, 6 and 7 four.
const RingLamp ring_lamps[RING_LAMPS] = {
    {32, 46, 3},   {85, 46, 6},   {138, 46, 4},  {191, 46, 7},  {244, 46, 0},
    {297, 46, 6},  {350, 46, 5},  {403, 46, 2},  {403, 116, 7}, {403, 186, 4},
    {403, 256, 3}, {350, 256, 6}, {297, 256, 5}, {244, 256, 7}, {191, 256, 1},
    {138, 256, 6}, {85, 256, 4},  {32, 256, 2},  {32, 186, 7},  {32, 116, 5},
};

namespace {

constexpr s32 IMG_BACKDROP = 25298, IMG_LAMP_FRAME = 25299, IMG_START_LIT = 25292,
              IMG_START_PRESSED = 25293, IMG_LAMP_GLOW = 25294;
constexpr s32 TXT_MESSAGE = 10679, TXT_SPINS = 10684, TXT_SKILL = 10685, TXT_WINS_HEAD = 10686,
              TXT_WON = 10687, TXT_HAND = 10678, TXT_OVER = 11513;
constexpr s32 MSG_NONE = 0, MSG_CHIPS_LEFT = 1, MSG_WIN = 2, MSG_LOSS = 3, MSG_BONUS = 4;
constexpr s32 SND_STEP = 510, SND_LOSS = 592, SND_WIN = 593;
constexpr s32 LAMP_W = 50, LAMP_H = 67;
constexpr u32 BET_TINT = 3489;
constexpr FrameBox START_BOX = {328, 207, 391, 245};
constexpr s32 START_X = 327, START_Y = 206;
constexpr s32 MARK_X = 441, MARK_Y = 419, MARK_SIDE = 24;
constexpr s32 PRIZE_ID_DRAW = 37;

LightRingState& st = light_ring_state;

s32 draw(s32 n) {
    return light_ring_rand_seam(n);
}

FrameBox slot_box(s32 i) {
    return {96 + 37 * i, 126, 129 + 37 * i, 203};
}

// The slot whose panel field holds (x, y), -1 when none.
s32 slot_at(s32 x, s32 y) {
    for (s32 i = 0; i < RING_SLOTS; ++i)
        if (frame_box_has(slot_box(i), x, y)) return i;
    return -1;
}

bool prize_drawable(s32 id, const bool taken[PRIZE_ID_DRAW]) {
    return !taken[id] && (id < 26 || id == 35 || id == 36) && id != 4;
}

// Slots 7 down to 0; slot i takes args[7 - i]. Ids are marked taken as they are placed, so a
// drawn slot filled before a fixed one may repeat the fixed id.
void fill_slots(const s32 args[RING_SLOTS]) {
    bool taken[PRIZE_ID_DRAW] = {};
    for (s32 i = RING_SLOTS - 1; i >= 0; --i) {
        s32 id = args[RING_SLOTS - 1 - i];
        if (id < 0 || id >= RING_PRIZE_LIMIT) {
            do id = draw(PRIZE_ID_DRAW);
            while (id < 0 || id >= PRIZE_ID_DRAW || !prize_drawable(id, taken));
        }
        st.sym[i] = id;
        if (id < PRIZE_ID_DRAW) taken[id] = true;
    }
}

void draw_ring() {
    for (s32 c = 0; c < RING_LAMPS; ++c) {
        const RingLamp& l = ring_lamps[c];
        draw_image(l.x, l.y, RING_LAMP_IMAGE + st.sym[l.slot], 0);
        draw_image(l.x - 5, l.y - 5, IMG_LAMP_FRAME, 0);
        if (st.chips[l.slot] > 0) box_blend(l.x, l.y, LAMP_W, LAMP_H, BET_TINT, 8);
        if (c == st.light) box_blend(l.x, l.y, LAMP_W, LAMP_H, 0, 6);
    }
}

void slot_colour(s32 slot) {
    if (st.chips[slot] > 0)
        text_colour(31, 31, 2);
    else
        text_colour(31, 31, 31);
}

// The whole betting screen; `line` is the bottom-line text.
void draw_screen(s32 line) {
    draw_image(0, 0, IMG_BACKDROP, 0);
    frame_player_portrait(false);
    text_size(24);
    text_style(2);
    text_colour(0, 0, 0);
    print_text(BOTTOM_LINE_X, BOTTOM_LINE_Y, line);
    text_colour(31, 31, 31);
    print_text_vertical(609, 36, TXT_SPINS);
    print_number_vertical(609, 300, st.spins_left, 1);
    frame_draw_quit();
    draw_ring();

    text_size(16);
    text_style(1);
    text_colour(31, 31, 9);
    print_text_vertical(583, 36, TXT_SKILL);
    print_number_vertical(583, 116, growth_value(RING_SKILL), 3);
    text_colour(31, 31, 31);
    print_text_vertical(550, 36, TXT_WINS_HEAD);
    for (s32 i = 0; i < 4; ++i) {
        const s32 x = 530 - 20 * i;
        for (const s32 s : {i, i + 4}) {
            const s32 y = s < 4 ? 36 : 164;
            slot_colour(s);
            print_text_vertical(x, y, RING_PRIZE_NAME + st.sym[s]);
            text_colour(31, 31, 31);
            print_text_vertical(x, y + 64, TXT_WON);
            print_number_vertical(x, y + 80, st.wins[s], 2);
        }
    }
    print_text(109, 219, TXT_HAND);
    print_number(253, 219, st.hand, 1);
    for (s32 i = 0; i < RING_SLOTS; ++i) {
        draw_image(96 + 37 * i, 126, RING_PANEL_IMAGE + st.sym[i], 0);
        print_number(105 + 37 * i, 183, st.chips[i], 1);
    }
    if (frame_box_has(START_BOX, pointer_x, pointer_y))
        draw_image(START_X, START_Y, IMG_START_LIT, 0);
}

// Takes a pending right click: 1 with the click point in *x, *y when mouse_buttons was exactly 2.
bool take_right_click(s32* x, s32* y) {
    if (mouse_buttons != 2) return false;
    mouse_buttons = 0;
    *x = click_x;
    *y = click_y;
    click_x = 0;
    click_y = 0;
    return true;
}

// One betting phase: returns when the spin starts (true) or the quit button gave it up (false).
bool bet() {
    st.phase = RingPhase::Betting;
    st.message = MSG_NONE;
    for (;;) {
        draw_screen(TXT_MESSAGE + st.message);
        s32 x = 0, y = 0;
        bool start = false;
        if (frame_take_click(&x, &y)) {
            if (frame_box_has(QUIT_BOX, x, y)) return false;
            const s32 s = slot_at(x, y);
            if (s >= 0 && st.hand > 0) {
                ++st.chips[s];
                --st.hand;
            } else if (frame_box_has(START_BOX, x, y)) {
                if (st.hand == 0) {
                    start = true;
                    st.phase = RingPhase::Spinning;
                    draw_image(START_X, START_Y, IMG_START_PRESSED, 0);
                } else {
                    st.message = MSG_CHIPS_LEFT;
                }
            }
        } else if (take_right_click(&x, &y)) {
            const s32 s = slot_at(x, y);
            if (s >= 0 && st.chips[s] > 0) {
                --st.chips[s];
                ++st.hand;
            }
        }
        screen_present();
        if (start) return true;
    }
}

// How long a step of the light lasts: quick at first, slowing down toward the stop.
u32 step_ms(s32 step, s32 steps_left, s32 r) {
    if (step < 10) return 50;
    if (steps_left < r + 3) return 500;
    if (steps_left < r + 6) return 250;
    if (steps_left < r + 10) return 200;
    if (steps_left < r + 15) return 150;
    return 30;
}

// The light runs steps_left + 1 lamps on.
void spin() {
    st.phase = RingPhase::Spinning;
    const s32 r = draw(4);
    st.steps_run = 0;
    for (;;) {
        timer1_start();
        st.light = (st.light + 1) % RING_LAMPS;
        mssw_play_sound(SND_STEP, 1);
        draw_ring();
        screen_present();
        const u32 ms = step_ms(st.steps_run, st.steps_left, r);
        ++st.steps_run;
        while (timer1_elapsed() < ms) {
        }
        if (st.steps_left <= 0) break;
        --st.steps_left;
    }
}

void settle_spin() {
    const s32 s = ring_lamps[st.light].slot;
    if (st.given_up || st.chips[s] == 0) {
        mssw_play_sound(SND_LOSS, 1);
        st.message = MSG_LOSS;
        growth_pool(RING_SKILL) += 5 + draw(5);
    } else {
        mssw_play_sound(SND_WIN, 1);
        st.wins[s] += st.chips[s] * light_ring_factor_for(growth_value(RING_SKILL));
        st.message = MSG_WIN;
        growth_pool(RING_SKILL) += (8 - s) * 15;
        if (!st.bonus && std::all_of(st.wins, st.wins + RING_SLOTS, [](s32 w) { return w > 0; })) {
            st.bonus = true;
            st.message = MSG_BONUS;
            growth_pool(RING_SKILL) += RING_BONUS;
        }
    }
    grow(RING_SKILL);
}

// The click wait at the marker; after a win the light's lamp frame glows, after the bonus every
// lamp frame does. Ends on any button, or only on exactly `end_buttons` when that is not 0.
void ring_click_wait(u32 end_buttons) {
    const bool glow_one = !st.over && st.message == MSG_WIN;
    const bool glow_all = !st.over && st.message == MSG_BONUS;
    screen_present();
    u16 patch[MARK_SIDE * MARK_SIDE];
    screen_get_rect(MARK_X, MARK_Y, MARK_SIDE, MARK_SIDE, patch);
    mouse_buttons = 0;
    s32 count = 0;
    for (;;) {
        const u32 b = mouse_buttons;
        if (end_buttons == 0 ? b != 0 : b == end_buttons) break;
        screen_put_rect(MARK_X, MARK_Y, MARK_SIDE, MARK_SIDE, patch);
        draw_image(MARK_X, MARK_Y, 12 + count / 10, 0);
        for (s32 c = 0; c < RING_LAMPS; ++c) {
            if (!glow_all && !(glow_one && c == st.light)) continue;
            draw_image(ring_lamps[c].x - 5, ring_lamps[c].y - 5, IMG_LAMP_GLOW + count / 20, 0);
        }
        screen_present();
        count = (count + 1) % 40;
    }
    mouse_buttons = 0;
}

} // namespace

s32 light_ring_chips_for(s32 skill) {
    if (skill < 10) return 3;
    if (skill < 30) return 4;
    if (skill < 50) return 5;
    if (skill < 70) return 6;
    if (skill < 90) return 7;
    if (skill < 100) return 8;
    return 9;
}

s32 light_ring_factor_for(s32 skill) {
    if (skill < 50) return 1;
    if (skill < 80) return 2;
    if (skill < 100) return 3;
    return 4;
}

void game_light_ring(s32 a1, s32 a2, s32 a3, s32 a4, s32 a5, s32 a6, s32 a7, s32 a8) {
    FrameMusic music;
    frame_music_start(music, RING_MUSIC);
    st = {};
    const s32 args[RING_SLOTS] = {a1, a2, a3, a4, a5, a6, a7, a8};
    fill_slots(args);
    cursor_select(0);
    st.hand = light_ring_chips_for(growth_value(RING_SKILL));
    st.spins_left = RING_SPINS;
    st.light = draw(RING_LAMPS);
    if (st.light < 0 || st.light >= RING_LAMPS) st.light = 0;

    while (!st.over) {
        st.given_up = !bet();
        if (!st.given_up) {
            st.steps_left = draw(20) + 100;
            spin();
        }
        settle_spin();
        if (--st.spins_left <= 0 || st.given_up) st.over = true;
        draw_screen(st.over ? TXT_OVER : TXT_MESSAGE + st.message);
        screen_present();
        s32 x = 0, y = 0;
        if (!st.over && frame_take_click(&x, &y) && frame_box_has(QUIT_BOX, x, y)) st.over = true;
        if (!st.over) {
            st.phase = RingPhase::ResultWait;
            ring_click_wait(0);
        }
    }

    st.phase = RingPhase::EndWait;
    ring_click_wait(2);
    st.phase = RingPhase::Done;
    for (s32 i = 0; i < RING_SLOTS; ++i)
        if (st.wins[i] > 0) inv_add(RING_PRIZE_ITEM + st.sym[i], st.wins[i]);
    player_record.stamina = std::max(0, player_record.stamina - RING_STAMINA_COST);
    frame_clock_spend();
    frame_music_restore(music);
}
