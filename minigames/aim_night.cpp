// The night target game.
#include "minigames/aim_night.h"

#include "engine/image.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/clock.h"
#include "game/growth.h"
#include "game/player.h"
#include "minigames/frame.h"

#include <algorithm>

const AimNightOffset AIM_NIGHT_SPOT_OFFSETS[AIM_NIGHT_SPOTS][AIM_NIGHT_OFFSETS] = {
    {{146, 125}, {170, 135}, {147, 162}}, {{87, 167}, {119, 196}, {121, 153}},
    {{209, 137}, {244, 135}, {224, 164}}, {{231, 266}, {221, 221}, {212, 262}},
    {{316, 113}, {296, 142}, {325, 154}}, {{372, 152}, {337, 194}, {369, 196}},
};

AimNightState aim_night_state;
s32 (*aim_night_rand)(s32 n) = rand_below;

namespace {

constexpr s32 MUSIC_TRACK = 10018;
constexpr s32 MUSIC_AFTER = 10041;
constexpr s32 CURSOR = 1;
constexpr s32 SKILL = GROWTH_AIMING;
constexpr s32 SKILL_PER_HIT = 10;
constexpr s32 CLOCK_MINUTES = 60;
constexpr s32 SOUND_SHOT = 548;
constexpr s32 SOUND_HIT = 547;

constexpr s32 IMG_BACKDROP = 1427;
constexpr s32 IMG_FIGURE = 7250;
constexpr s32 IMG_STRIKE = 7251;     // + 0..1
constexpr s32 IMG_FIGURE_HIT = 7254; // + 0..2
constexpr s32 IMG_SPOT_DOWN = 7259;
constexpr s32 IMG_SPOT = 25092;
constexpr s32 IMG_SHOT = 25086; // + stage 1..5
constexpr s32 IMG_IMPACT = 25079;
constexpr s32 IMG_SPOT_BAR = 25013;
constexpr s32 IMG_BAR = 25010;
constexpr s32 IMG_BAR_DRAIN = 25011;

constexpr s32 SCREEN_BOTTOM = 480;
constexpr s32 SHOT_HALF_W = 17;
constexpr s32 BAR_X = 30, BAR_Y = 460;
constexpr s32 HIT_FRAMES = 3, HIT_WAIT_MS = 20;
constexpr s32 STRIKE_FRAMES = 2, STRIKE_WAIT_MS = 200, STRIKE_DX = 10;
constexpr s32 DRAIN_WAIT_MS = 10;
constexpr s32 UNHIT_FOR_STRIKE = 2;

// The figure's walk: steps below 200 px, x held to -80..230 and y to -100..160.
constexpr s32 MOVE_RANGE = 200;
constexpr s32 X_MIN = -80, X_MAX = 230, X_TURN_LOW = -30, X_TURN_HIGH = 180;
constexpr s32 Y_MIN = -100, Y_MAX = 160;

// Each shot is timed by its own stopwatch (shot i by stopwatch i).
u32 (*const SHOT_ELAPSED[AIM_NIGHT_SHOTS])() = {timer0_elapsed, timer1_elapsed, timer2_elapsed};
u32 (*const SHOT_RESTART[AIM_NIGHT_SHOTS])() = {timer0_start, timer1_start, timer2_start};

// A draw below n that never leaves 0..n-1, whatever the draw source answers.
s32 draw_below(s32 n) {
    return std::clamp(aim_night_rand(n), 0, n - 1);
}

// With a draw below 10 under 5, x steps toward its low end while above -30 (else up); otherwise
// it steps up while below 180 (else down). Every step is a draw below 200.
void move_figure(AimNightState& s) {
    bool down;
    if (draw_below(10) < 5)
        down = s.x > X_TURN_LOW;
    else
        down = s.x >= X_TURN_HIGH;
    const s32 dx = draw_below(MOVE_RANGE);
    s.x = down ? std::max(X_MIN, s.x - dx) : std::min(X_MAX, s.x + dx);
    const bool lower = draw_below(10) < 5; // toward the top of the screen
    const s32 dy = draw_below(MOVE_RANGE);
    s.y = lower ? std::max(Y_MIN, s.y - dy) : std::min(Y_MAX, s.y + dy);
}

void place_spots(AimNightState& s) {
    for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i) {
        AimNightSpot& spot = s.spots[i];
        spot.offset = draw_below(AIM_NIGHT_OFFSETS);
        spot.x = s.x + AIM_NIGHT_SPOT_OFFSETS[i][spot.offset].dx;
        spot.y = s.y + AIM_NIGHT_SPOT_OFFSETS[i][spot.offset].dy;
    }
}

void draw_spot_bar(const AimNightSpot& spot) {
    for (s32 k = 0; k <= spot.hp; ++k) draw_image(spot.x - 20 + k, spot.y + 23, IMG_SPOT_BAR, 0);
}

// The marks every showing frame ends with: a spot at 0 gets its mark, a hit spot its bar.
void draw_spot_states(const AimNightState& s) {
    for (const AimNightSpot& spot : s.spots) {
        if (spot.hp < 1)
            draw_image(spot.x + 12, spot.y + 13, IMG_SPOT_DOWN, 0);
        else if (spot.hit)
            draw_spot_bar(spot);
    }
}

void draw_bar(s32 image, s32 value) {
    for (s32 k = 0; k < value; ++k) draw_image(BAR_X + k, BAR_Y, image, 0);
}

void present_phase(AimNightState& s, AimNightPhase phase, s32 frame, s32 wait) {
    s.phase = phase;
    s.anim_frame = frame;
    screen_present();
    wait_ms(u32(wait));
    s.phase = AIM_NIGHT_PLAY;
    s.anim_frame = 0;
}

void update_showing(AimNightState& s) {
    const u32 t = timer3_elapsed();
    if (t < AIM_NIGHT_SHOW_MS) {
        if (!s.visible) aim_night_show(s);
        return;
    }
    s.visible = false;
    if (t > AIM_NIGHT_CYCLE_MS) timer3_start();
}

// A left click launches the first free shot from the pointer; shots beyond those allowed are
// freed again, so a click that found only such a shot free launches nothing.
void take_click(AimNightState& s, s32 px, s32 py) {
    if (!frame_take_click(nullptr, nullptr)) return;
    mssw_play_sound(SOUND_SHOT, 1);
    for (s32 i = 0; i < AIM_NIGHT_SHOTS; ++i) {
        AimNightShot& shot = s.shots[i];
        if (shot.stage >= 0) continue;
        shot.stage = 0;
        shot.x = px - SHOT_HALF_W;
        shot.y = SCREEN_BOTTOM;
        shot.step = (SCREEN_BOTTOM - py) / AIM_NIGHT_LAST_STAGE;
        if (i < s.allowed) ++s.shots_fired;
        break;
    }
    for (s32 i = s.allowed; i < AIM_NIGHT_SHOTS; ++i) s.shots[i].stage = -1;
}

void advance_shots(AimNightState& s) {
    for (s32 i = 0; i < AIM_NIGHT_SHOTS; ++i) {
        AimNightShot& shot = s.shots[i];
        if (shot.stage < 0 || SHOT_ELAPSED[i]() <= u32(s.step_ms)) continue;
        SHOT_RESTART[i]();
        if (shot.stage >= AIM_NIGHT_LAST_STAGE) {
            shot.stage = -1;
            continue;
        }
        ++shot.stage;
        shot.y = SCREEN_BOTTOM - shot.step * shot.stage;
    }
}

void draw_figure_and_shots(const AimNightState& s) {
    if (s.visible) {
        draw_image(s.x, s.y, IMG_FIGURE, 0);
        for (const AimNightSpot& spot : s.spots) draw_image(spot.x, spot.y, IMG_SPOT, 0);
    }
    for (const AimNightShot& shot : s.shots)
        if (shot.stage >= 1) draw_image(shot.x, shot.y, IMG_SHOT + shot.stage, 0);
}

// Shots in their last stage land on the first spot they meet while the figure shows. True when
// any landed.
bool land_shots(AimNightState& s) {
    if (!s.visible) return false;
    bool any = false;
    for (AimNightShot& shot : s.shots) {
        if (shot.stage != AIM_NIGHT_LAST_STAGE) continue;
        for (AimNightSpot& spot : s.spots) {
            if (!aim_night_spot_hit_by(spot, shot.x, shot.y)) continue;
            shot.stage = -1;
            spot.hit = true;
            spot.hp = std::max(0, spot.hp - s.damage);
            draw_image(shot.x + 2, shot.y - 15, IMG_IMPACT, 0);
            if (spot.hp > 0) draw_spot_bar(spot);
            ++s.hits;
            any = true;
            break;
        }
    }
    return any;
}

void hit_animation(AimNightState& s) {
    mssw_play_sound(SOUND_HIT, 1);
    growth_pool(SKILL) += SKILL_PER_HIT;
    grow(SKILL);
    ++s.hit_frames;
    for (s32 f = 0; f < HIT_FRAMES; ++f) {
        draw_image(0, 0, IMG_BACKDROP, 0);
        draw_image(s.x, s.y, IMG_FIGURE_HIT + f, 0);
        draw_spot_states(s);
        present_phase(s, AIM_NIGHT_HIT, f, HIT_WAIT_MS);
    }
}

// Once per showing, in its last 200 ms: with two or more spots untouched the figure strikes and
// the bar loses 25..49 points, one per frame.
void counter_strike(AimNightState& s) {
    if (s.struck || timer3_elapsed() <= AIM_NIGHT_STRIKE_MS) return;
    s.struck = true;
    s32 untouched = 0;
    for (const AimNightSpot& spot : s.spots) untouched += spot.hit ? 0 : 1;
    if (untouched < UNHIT_FOR_STRIKE) return;
    ++s.strikes;
    for (s32 f = 0; f < STRIKE_FRAMES; ++f) {
        draw_image(0, 0, IMG_BACKDROP, 0);
        draw_image(s.x + STRIKE_DX, s.y, IMG_STRIKE + f, 0);
        present_phase(s, AIM_NIGHT_STRIKE, f, STRIKE_WAIT_MS);
    }
    const s32 loss = (draw_below(50) + 50) / 2;
    for (s32 f = 0; f < loss; ++f) {
        --s.bar;
        draw_image(0, 0, IMG_BACKDROP, 0);
        draw_bar(IMG_BAR_DRAIN, s.bar);
        present_phase(s, AIM_NIGHT_DRAIN, f, DRAIN_WAIT_MS);
    }
}

void play_frame(AimNightState& s) {
    const s32 px = pointer_x, py = pointer_y;
    draw_image(0, 0, IMG_BACKDROP, 0);
    update_showing(s);
    take_click(s, px, py);
    advance_shots(s);
    draw_figure_and_shots(s);
    const bool hit = land_shots(s);
    if (s.visible) draw_spot_states(s);
    if (hit) hit_animation(s);
    counter_strike(s);
    draw_bar(IMG_BAR, s.bar);
    screen_present();
    ++s.frames;
    if (aim_night_spots_down(s.spots) == AIM_NIGHT_SPOTS)
        s.result = 1;
    else if (s.bar < 1)
        s.result = 0;
}

} // namespace

void aim_night_show(AimNightState& s) {
    s.visible = true;
    s.struck = false;
    ++s.showings;
    for (AimNightSpot& spot : s.spots) {
        spot.hit = false;
        spot.hp = std::min(AIM_NIGHT_SPOT_HP, spot.hp + 10 + draw_below(10));
    }
    move_figure(s);
    place_spots(s);
}

bool aim_night_spot_hit_by(const AimNightSpot& spot, s32 x, s32 y) {
    return x > spot.x - SHOT_HALF_W && x < spot.x + 8 && y > spot.y && y < spot.y + 26;
}

s32 aim_night_spots_down(const AimNightSpot (&spots)[AIM_NIGHT_SPOTS]) {
    s32 n = 0;
    while (n < AIM_NIGHT_SPOTS && spots[n].hp < 1) ++n;
    return n;
}

s32 game_aim_night() {
    AimNightState& s = aim_night_state;
    s = AimNightState{};
    mssw_play_music(MUSIC_TRACK, 0);
    timer0_start();
    timer1_start();
    timer2_start();
    timer3_start();
    frame_enter(CURSOR, false);
    mouse_buttons = 0;
    const s32 skill = growth_value(SKILL);
    s.step_ms = 100 - skill / 2;
    s.allowed = skill < 40 ? 1 : skill < 80 ? 2 : 3;
    s.damage = std::max(1, skill / 5);
    s.bar = player_record.hp / 2;
    while (s.result < 0) play_frame(s);
    clock_advance(CLOCK_MINUTES);
    mssw_play_music(MUSIC_AFTER, 0);
    return s.result;
}
