// The falling-object catch game.
#include "minigames/falling_catch.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "minigames/frame.h"

#include <algorithm>

const s32 FALLING_LEDGE_X[FALLING_LEDGE_POSITIONS] = {
    0,   15,  22,  31,  41,  48,  61,  76,  89,  104, 113, 126, 136, 148, 158, 168, 178, 189,
    196, 204, 214, 224, 235, 252, 260, 270, 280, 290, 302, 310, 322, 335, 347, 360, 370, 380,
    392, 405, 417, 427, 440, 447, 455, 463, 473, 483, 493, 505, 514, 521, 534, 546, 556, 569};
const s32 FALLING_LEDGE_Y[FALLING_LEDGE_POSITIONS] = {
    54, 56, 56, 58, 58, 58, 59, 59, 56, 56, 56, 56, 58, 54, 51, 49, 49, 49,
    49, 46, 48, 46, 48, 48, 48, 46, 43, 43, 41, 41, 41, 41, 46, 46, 44, 44,
    44, 48, 51, 53, 51, 51, 49, 51, 49, 49, 49, 49, 47, 47, 47, 47, 47, 44};

FallingState falling_state;
s32 (*falling_draw_seam)(s32 n) = rand_below;

namespace {

constexpr s32 IMG_BACKDROP = 6360;
constexpr s32 IMG_BAR_FRAME = 25009;
constexpr s32 IMG_BAR_EMPTY = 25011;
constexpr s32 IMG_BAR_FULL = 25012;
// Images after the last of each animation that turn back to the first walking image.
constexpr s32 THROWER_WRAPS[] = {6367, 6355, 6370};

struct Point {
    s32 x, y;
};
// The objects lying about the ledge.
constexpr Point GOOD_SCENERY[] = {{21, 84},  {53, 91},  {115, 89}, {149, 89}, {187, 83},
                                  {242, 81}, {279, 81}, {355, 78}, {404, 78}, {443, 81},
                                  {473, 81}, {525, 83}, {558, 79}, {64, 101}, {130, 96},
                                  {203, 94}, {255, 89}, {338, 86}, {442, 94}, {582, 84}};
constexpr Point BAD_SCENERY[] = {{0, 108},   {25, 111},  {87, 108},  {90, 104},  {177, 110},
                                 {223, 103}, {308, 98},  {327, 93},  {386, 100}, {419, 103},
                                 {500, 101}, {555, 107}, {609, 104}, {102, 115}, {160, 115},
                                 {282, 107}, {367, 105}, {474, 107}, {526, 107}};

void draw_top() {
    draw_image(0, 0, IMG_BACKDROP, 0);
    for (const Point& p : GOOD_SCENERY) draw_image(p.x, p.y, FALLING_GOOD, 0);
    for (const Point& p : BAD_SCENERY) draw_image(p.x, p.y, FALLING_BAD, 0);
    draw_image(505, 7, FALLING_GOOD, 0);
    print_number(540, 11, falling_state.score, 2);
    draw_image(255, 2, IMG_BAR_FRAME, 0);
}

// A left click starts a move of three positions to the left, a right click one to the right; a
// running move takes one step a frame.
void move_catcher() {
    FallingState& s = falling_state;
    const u32 buttons = mouse_buttons;
    if (buttons == 1 || buttons == 2) {
        mouse_buttons = 0;
        s.move = FALLING_MOVE;
        s.move_dir = buttons == 1 ? -1 : 1;
    }
    s.moved_left = false;
    if (s.move <= 0) return;
    s.catcher_image = s.catcher_image >= FALLING_CATCHER_IMAGE + FALLING_CATCHER_FRAMES - 1
                          ? FALLING_CATCHER_IMAGE
                          : s.catcher_image + 1;
    s.catcher = std::clamp(s.catcher + s.move_dir, 0, FALLING_CATCHER_POSITIONS - 1);
    s.moved_left = s.move_dir < 0;
    --s.move;
}

// A walk of 5..14 positions; one toward an edge the thrower is too close to turns round.
void draw_walk() {
    FallingState& s = falling_state;
    const s32 w = falling_draw_seam(10);
    s.walk_dir = falling_draw_seam(10) < 5 ? 1 : -1;
    s.walk = w + 5;
    if ((s.walk_dir < 0 && s.thrower < 4) || (s.walk_dir > 0 && s.thrower > 50))
        s.walk_dir = -s.walk_dir;
    s.walk_pending = true;
}

// A throw goes into the first free slot. With every slot busy (slow frames let objects pile up)
// the throw is left out: the thrower walks on without throwing.
void throw_object() {
    FallingState& s = falling_state;
    FallingObject* slot = nullptr;
    for (FallingObject& o : s.objects)
        if (o.kind < 0) {
            slot = &o;
            break;
        }
    if (!slot) {
        ++s.dropped;
        return;
    }
    const bool bad = falling_draw_seam(10) < FALLING_BAD_CHANCE;
    s.thrower_image = bad ? FALLING_THROWER_BAD : FALLING_THROWER_GOOD;
    *slot = {bad ? FALLING_BAD : FALLING_GOOD, FALLING_LEDGE_X[s.thrower], FALLING_THROW_Y};
    ++s.thrown;
}

void thrower_tick() {
    FallingState& s = falling_state;
    ++s.thrower_image;
    for (const s32 wrap : THROWER_WRAPS)
        if (s.thrower_image == wrap) s.thrower_image = FALLING_THROWER_WALK;
    if (s.walk > 0) {
        s.thrower = std::clamp(s.thrower + s.walk_dir, 0, FALLING_LEDGE_POSITIONS - 1);
        --s.walk;
        if (s.thrower == 0 || s.thrower == FALLING_LEDGE_POSITIONS - 1) s.walk = 0;
        return;
    }
    throw_object();
    s.walk_pending = false;
}

void fall_tick() {
    FallingState& s = falling_state;
    const s32 cx = s.catcher * FALLING_CATCHER_STEP_X;
    for (FallingObject& o : s.objects) {
        if (o.kind < 0) continue;
        o.y += FALLING_FALL;
        const bool in_reach = o.y > FALLING_CATCH_ABOVE && o.y < FALLING_CATCH_BELOW &&
                              o.x > cx - FALLING_CATCH_LEFT && o.x < cx + FALLING_CATCH_RIGHT;
        if (in_reach) {
            if (o.kind == FALLING_GOOD) {
                ++s.score;
                ++s.caught_good;
            } else {
                s.score = std::max(0, s.score - 1);
                ++s.caught_bad;
            }
            o = FallingObject{};
        } else if (o.y > FALLING_GONE_Y) {
            o = FallingObject{};
        }
    }
}

void draw_bottom() {
    const FallingState& s = falling_state;
    for (s32 i = 0; i < FALLING_STEPS; ++i) draw_image(265 + i, 13, IMG_BAR_EMPTY, 0);
    for (s32 i = 0; i < s.steps + 1; ++i) draw_image(265 + i, 13, IMG_BAR_FULL, 0);
    for (const FallingObject& o : s.objects)
        if (o.kind >= 0) draw_image(o.x + 15, o.y, o.kind, 0);
    draw_image(FALLING_LEDGE_X[s.thrower], FALLING_LEDGE_Y[s.thrower], s.thrower_image, 0);
    draw_image(s.catcher * FALLING_CATCHER_STEP_X, FALLING_CATCHER_Y,
               s.catcher_image + (s.moved_left ? FALLING_LEFT_OFFSET : 0), 0);
}

void play_frame() {
    FallingState& s = falling_state;
    draw_top();
    move_catcher();
    if (!s.walk_pending) draw_walk();
    if (timer0_elapsed() >= u32(FALLING_WALK_MS)) {
        timer0_start();
        thrower_tick();
    }
    if (timer1_elapsed() >= u32(FALLING_FALL_MS)) {
        timer1_start();
        fall_tick();
    }
    if (timer2_elapsed() >= u32(FALLING_STEP_MS)) {
        timer2_start();
        ++s.steps;
    }
    draw_bottom();
    screen_present();
    ++s.frames;
}

} // namespace

s32 game_falling_catch() {
    FallingState& s = falling_state;
    s = FallingState{};
    timer0_start();
    timer1_start();
    timer2_start();
    frame_enter(FALLING_CURSOR, false);
    mouse_buttons = 0;
    text_colour(0, 31, 0);
    while (s.steps < FALLING_STEPS) play_frame();
    return s.score;
}
