// The pop-up target game.
#include "minigames/popup.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/item_use.h"
#include "game/player.h"
#include "minigames/frame.h"

#include <algorithm>

const s32 POPUP_BODY_X[POPUP_HOLES] = {157, 324, 169, 36, 56, 271, 286};
const s32 POPUP_BODY_Y[POPUP_HOLES] = {38, 128, 123, 52, 190, 199, 54};
const s32 POPUP_OWN_X[POPUP_HOLES] = {164, 329, 178, 41, 66, 278, 295};
const s32 POPUP_OWN_Y[POPUP_HOLES] = {12, 102, 97, 27, 165, 172, 29};

const PopupKind POPUP_KINDS_TABLE[POPUP_KINDS] = {
    {0, 0, 0, 0, 0, 0, -1, -1},           {0, 0, 0, 0, 0, 0, -1, -1},
    {5, 2, 1, 1, 2, 0, 20523, 1570},      {15, 8, 4, 3, 7, 10, 20521, 1571},
    {50, 25, 12, 5, 6, 15, 20520, 1575},  {70, 40, 20, 7, 5, 20, 20519, 1572},
    {100, 70, 35, 9, 4, 25, 20518, 1576}, {150, 100, 50, 11, 3, 30, 20517, 1573},
    {200, 150, 75, 13, 8, 35, 20522, -1},
};

PopupState popup_state;
s32 (*popup_rand)(s32 n) = rand_below;

namespace {

constexpr s32 MUSIC_TRACK = 10010;
constexpr s32 CURSOR = 7;
constexpr s32 SOUND_HIT = 520;
constexpr s32 SOUND_WRONG = 521;
constexpr s32 SKILL = 16;
constexpr s32 ATTR_A = 25;
constexpr s32 ATTR_B = 28;
constexpr s32 MODE_ONE_PRIZE = 2390;
constexpr s32 STAMINA_COST = 120;

constexpr s32 IMG_BACKDROP = 25500;
constexpr s32 IMG_FIELD = 25501;
constexpr s32 IMG_BODY = 25502;
constexpr s32 IMG_EFFECT = 25513;
constexpr s32 IMG_KIND0 = 25526;
constexpr s32 IMG_KIND0_HIT = 25528;
constexpr s32 IMG_KIND0_HIT_LATE = 25529;
constexpr s32 IMG_BAR = 25009;
constexpr s32 IMG_BAR_COLUMN = 25010;
constexpr s32 IMG_TIME_UP = 92;
constexpr s32 IMG_MARKER = 12;

constexpr s32 TEXT_QUIT = 331;
constexpr s32 TEXT_GOOD_HIT = 20505;
constexpr s32 TEXT_WRONG_HIT = 20508;
constexpr s32 TEXT_END_A = 20516;
constexpr s32 TEXT_END_B = 20515;
constexpr s32 LINE_X = 56, LINE_Y = 341, NAME_X = 140, END_B_X = 150;

// The column labels and the counters beside them, printed top to bottom.
struct Column {
    s32 text, tx, ty, nx, ny;
};
constexpr Column LABELS[] = {
    {20506, 620, 100, -1, -1},  {20504, 580, 60, 580, 110},  {20513, 560, 60, 560, 110},
    {20512, 540, 60, 540, 110}, {20511, 520, 60, 520, 110},  {20510, 500, 60, 500, 110},
    {20509, 480, 60, 480, 110}, {20514, 580, 170, 580, 220},
};

void draw_quit() {
    text_style(1);
    text_size(24);
    if (frame_box_has(QUIT_BOX, pointer_x, pointer_y))
        text_colour(25, 5, 0);
    else
        text_colour(31, 31, 31);
    print_text_vertical(QUIT_BOX.x0, QUIT_BOX.y0, TEXT_QUIT);
}

// The labels and the counters: skill 16 beside the first label, the hits of kinds 2..8 beside
// the others.
void draw_counters() {
    text_style(1);
    text_size(16);
    text_colour(31, 31, 31);
    for (const Column& c : LABELS) print_text_vertical(c.tx, c.ty, c.text);
    print_number_vertical(620, 170, growth_value(SKILL), 3);
    for (s32 k = 2; k < POPUP_KINDS; ++k) {
        const Column& c = LABELS[k - 1];
        print_number_vertical(c.nx, c.ny, popup_state.hits[k], 3);
    }
}

void draw_play_screen() {
    draw_image(0, 0, IMG_BACKDROP, 0);
    draw_image(31, 28, IMG_FIELD, 0);
    frame_player_portrait(false);
    draw_quit();
    draw_image(494, 0, IMG_BAR, 0);
    const s32 columns = std::clamp(popup_state.time_left, 0, POPUP_SECONDS);
    for (s32 i = 0; i < columns; ++i) draw_image(504 + i, 11, IMG_BAR_COLUMN, 0);
    draw_counters();
}

void line_style(s32 r, s32 g, s32 b) {
    text_style(3);
    text_size(24);
    text_colour(r, g, b);
}

void pay(s32 kind) {
    const PopupKind& k = POPUP_KINDS_TABLE[kind];
    growth_pool(SKILL) += k.skill16;
    grow(SKILL);
    growth_pool(ATTR_A) += k.attr25;
    grow(ATTR_A);
    growth_pool(ATTR_B) += k.attr28;
    grow(ATTR_B);
    popup_state.score += k.score;
    ++popup_state.hits[kind];
}

void new_figure() {
    PopupFigure& f = popup_state.figure;
    s32 kind = -1;
    while (kind < 0) {
        f.hole = std::clamp(popup_rand(POPUP_HOLES), 0, POPUP_HOLES - 1);
        kind = popup_kind_of(popup_rand(100));
    }
    f.kind = kind;
    f.t = 0;
    f.life = POPUP_LIFE;
    f.hit = false;
}

void run_kind0(PopupFigure& f) {
    const s32 x = POPUP_OWN_X[f.hole], y = POPUP_OWN_Y[f.hole];
    if (!f.hit) {
        s32 b = 4;
        if (f.t <= 1)
            b = 0;
        else if (f.t <= 3)
            b = 1;
        else if (f.t <= 10)
            b = 2;
        draw_image(x, y, IMG_KIND0 + b, 0);
        if (f.t == f.life - 1) popup_state.penalty += POPUP_MISS_PENALTY;
        return;
    }
    if (f.t < 27 || f.t > 38) return;
    draw_image(x, y, f.t <= 29 ? IMG_KIND0_HIT : IMG_KIND0_HIT_LATE, 0);
    draw_image(x, y, IMG_EFFECT + std::min((f.t - 27) / 2, 5), 0);
    if (f.t == 33 || f.t == 34) mssw_play_sound(SOUND_HIT, 1);
}

void run_kind1(PopupFigure& f) {
    const s32 x = POPUP_BODY_X[f.hole], y = POPUP_BODY_Y[f.hole];
    s32 b = 18;
    if (f.t <= 2)
        b = 0;
    else if (f.t <= 5)
        b = 1;
    else if (f.t <= 30)
        b = 9;
    draw_image(x, y, IMG_BODY + b, 0);
    if (!f.hit) return;
    if (f.t >= 27) {
        s32 e = 5;
        if (f.t <= 30)
            e = 0;
        else if (f.t <= 38)
            e = (f.t - 31) / 2 + 1;
        draw_image(x, y, IMG_EFFECT + e, 0);
        if (f.t == 35 || f.t == 36) mssw_play_sound(SOUND_WRONG, 1);
    }
    if (f.t > 33) {
        line_style(0, 0, 0);
        print_text(LINE_X, LINE_Y, TEXT_WRONG_HIT);
        ++popup_state.wrong_hits;
        popup_state.score -= POPUP_WRONG_SCORE;
    }
}

void run_paying(PopupFigure& f) {
    const PopupKind& k = POPUP_KINDS_TABLE[f.kind];
    game_popup_frame(f.t, k.face, f.life, POPUP_BODY_X[f.hole], POPUP_BODY_Y[f.hole], k.effect);
    if (!f.hit) return;
    if (f.t > (f.kind == 2 ? 32 : 33)) {
        line_style(0, 0, 0);
        print_text(LINE_X, LINE_Y, TEXT_GOOD_HIT);
        text_colour(25, 0, 0);
        print_text(NAME_X, LINE_Y, k.name_text);
    }
    if (f.t == POPUP_REWARD_T) {
        mssw_play_sound(SOUND_HIT, 1);
        pay(f.kind);
    }
}

void play_frame() {
    PopupState& s = popup_state;
    PopupFigure& f = s.figure;
    draw_play_screen();
    s.time_left = POPUP_SECONDS - (s32(timer1_elapsed() / 1000) + s.penalty);

    s32 x = 0, y = 0;
    if (frame_take_click(&x, &y)) {
        if (frame_box_has(QUIT_BOX, x, y)) {
            s.time_left = -1;
        } else if (popup_figure_hit_by(f, x, y)) {
            f.hit = true;
            f.t = POPUP_HIT_T;
            f.life = POPUP_HIT_LIFE;
        }
    }
    if (f.kind < 0) new_figure();
    if (f.kind == 0)
        run_kind0(f);
    else if (f.kind == 1)
        run_kind1(f);
    else
        run_paying(f);

    screen_present();
    ++s.frames;
    if (++f.t >= f.life) f = PopupFigure{};
}

// The end screen; the time-up sign is drawn over the backdrop so that it shows.
void end_screen() {
    PopupState& s = popup_state;
    s.ending = true;
    s.end_marker = 0;
    do {
        draw_image(0, 0, IMG_BACKDROP, 0);
        draw_image(31, 28, IMG_FIELD, 0);
        frame_player_portrait(false);
        draw_image(494, 0, IMG_BAR, 0);
        draw_image(505, 10, IMG_TIME_UP, 0);
        draw_counters();
        text_style(2);
        text_size(24);
        text_colour(25, 0, 0);
        print_text(LINE_X, LINE_Y, TEXT_END_A);
        text_colour(0, 0, 0);
        print_text(END_B_X, LINE_Y, TEXT_END_B);
        draw_image(440, 417, IMG_MARKER + s.end_marker / 6, 0);
        screen_present();
        s.end_marker = (s.end_marker + 1) % 24;
    } while (mouse_buttons != 2);
    mouse_buttons = 0;
    s.ending = false;
}

void give_prizes() {
    const PopupState& s = popup_state;
    for (s32 k = 2; k < POPUP_KINDS - 1; ++k)
        if (s.hits[k] > 0) inv_add(POPUP_KINDS_TABLE[k].item, s.hits[k]);
    if (s.hits[8] > 0) {
        if (s.mode == 1)
            inv_add(MODE_ONE_PRIZE, 1);
        else
            for (s32 i = 0; i < s.hits[8]; ++i) random_gift();
    }
    player_record.stamina = std::max(0, player_record.stamina - STAMINA_COST);
}

} // namespace

s32 popup_kind_of(s32 n) {
    const PopupState& s = popup_state;
    const s32 skill = growth_value(SKILL);
    if (n < 0) return -1;
    if (n <= 4) return 0;
    if (n <= 14) return 1;
    if (n <= 49) return 2;
    if (n <= 59) return skill >= 20 ? 3 : -1;
    if (n <= 65) {
        const bool drawn = n == 60 || player_record.constitution > 70;
        const bool open = s.wrong_hits == 0 && s.time_left < 10 && s.score >= 30;
        return drawn && open ? 8 : -1;
    }
    if (n <= 67) return skill >= 50 ? 4 : -1;
    if (n <= 69) return skill >= 60 ? 5 : -1;
    if (n <= 71) return skill >= 70 ? 6 : -1;
    if (n <= 73) return skill >= 80 ? 7 : -1;
    return -1;
}

bool popup_figure_hit_by(const PopupFigure& f, s32 x, s32 y) {
    if (f.kind < 0 || f.hit || f.t < 4 || f.t > f.life - 2) return false;
    if (f.hole < 0 || f.hole >= POPUP_HOLES) return false;
    const s32 bx = POPUP_BODY_X[f.hole], by = POPUP_BODY_Y[f.hole];
    return x >= bx + 25 && x <= bx + 109 && y >= by - 10 && y <= by + 124;
}

void game_popup_frame(s32 t, s32 face, s32 life, s32 x, s32 y, s32 effect) {
    s32 b = 17;
    if (t <= 1)
        b = 0;
    else if (t <= 3)
        b = 1;
    else if (t <= 30)
        b = face;
    draw_image(x, y, IMG_BODY + b, 0);
    if (t > 26 && t <= life) {
        // Six shared frames of the burst, then five of the kind's own.
        const s32 e = t <= 38 ? (t - 27) / 2 : effect + 8 + std::min((t - 39) / 2, 4);
        draw_image(x, y, IMG_EFFECT + e, 0);
    }
}

void game_popup_targets(s32 mode) {
    FrameMusic music;
    frame_music_start(music, MUSIC_TRACK);
    frame_enter(CURSOR, false);
    popup_state = PopupState{};
    popup_state.mode = mode;
    timer1_start();
    while (popup_state.time_left >= 0) play_frame();
    end_screen();
    give_prizes();
    frame_clock_spend();
    cursor_select(0);
    frame_music_restore(music);
}
