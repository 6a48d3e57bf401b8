// The timed action game.
#include "calendar/timed_action_game.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "minigames/frame.h"

#include <algorithm>

TimedActionState timed_action_state;
s32 (*timed_action_rand)(s32 n) = rand_below;

namespace {

constexpr s32 TA_MUSIC = 10020;
constexpr s32 TA_CURSOR = 18;
constexpr s32 TA_RECT_MARGIN = 5;

constexpr s32 TA_BACKGROUND = 25900;
constexpr s32 TA_ANIM_X = 204, TA_ANIM_Y = 70;
constexpr s32 TA_ANIM_FRAMES = 10; // frames per animation image
// The animation's runs by the number of topped tracks: first image, and the image that wraps.
constexpr s32 TA_ANIM_FIRST[3] = {25901, 25921, 25911};
constexpr s32 TA_ANIM_END[3] = {25910, 25930, 25920};
constexpr s32 TA_PORTRAIT = 1000, TA_PORTRAIT_X = 466, TA_PORTRAIT_Y = 292;
constexpr s32 TA_BAR_FRAME = 25009, TA_BAR_X = 339, TA_BAR_Y = 290;
constexpr s32 TA_BAR_COLUMN = 25012, TA_COLUMN_X = 349, TA_COLUMN_Y = 301;
constexpr s32 TA_LAST_SCREEN_STEP = 99; // from here the screen shows only the background

constexpr s32 TA_TEXT_NEAR = 25912; // + j: the line of the j-th topped track
constexpr s32 TA_TEXT_X = 56, TA_TEXT_Y = 338, TA_LINE_H = 24;
constexpr s32 TA_TEXT_NEAR_Y = 358;
constexpr s32 TA_TEXT_IDLE_A = 25918, TA_TEXT_IDLE_B = 25919;
constexpr s32 TA_IDLE_X = 51, TA_IDLE_A_Y = 358, TA_IDLE_B_Y = 382;
constexpr s32 TA_TEXT_WON = 25917, TA_WON_Y = 410;
constexpr s32 TA_MARKER_X = 609, TA_MARKER_Y = 449;

// The carried clocks: track, its stopwatch (index into the carried state) and constant.
constexpr s32 TA_CARRIED_TRACK[2] = {5, 6};
constexpr s32 TA_CARRIED_CONSTANT[2] = {4750, 5000};

// The tracks held cleared by level (1..3); level 4 holds none.
constexpr bool TA_HELD[4][TIMED_TRACKS] = {
    {true, false, true, false, false, true, false},
    {true, false, true, false, false, false, false},
    {true, false, false, false, false, false, false},
    {false, false, false, false, false, false, false},
};

u32 (*const TA_START[5])() = {timer0_start, timer1_start, timer2_start, timer3_start, timer4_start};
u32 (*const TA_ELAPSED[5])() = {timer0_elapsed, timer1_elapsed, timer2_elapsed, timer3_elapsed,
                                timer4_elapsed};

s32 draw_below(s32 n) {
    const s32 v = timed_action_rand(n);
    return v < 0 || v >= n ? 0 : v;
}

s32 threshold(const TimedActionState& s, s32 t) {
    const TimedTrack& tr = TIMED_TRACK_TABLE[t];
    return draw_below(tr.spread) + tr.floor - s.delay;
}

// One step forward: a cleared track comes in at position 0; the top is where a track stays,
// counted the first time it gets there.
void step_track(TimedActionState& s, s32 t) {
    s32& p = s.pos[t];
    if (p == TIMED_CLEARED)
        p = 0;
    else if (p < TIMED_TOP)
        ++p;
    if (p == TIMED_TOP && !s.counted[t]) {
        s.counted[t] = true;
        ++s.topped;
    }
}

void pick_delay(TimedActionState& s) {
    if (s.pace == 1) s.delay = 0;
    if (s.pace == 2) s.delay = 500 + draw_below(500);
    if (s.pace == 3) s.delay = 1000 + draw_below(500);
}

void draw_bonus(TimedActionState& s) {
    if (s.skill < 25) {
        s.bonus = 0;
    } else if (s.skill < 50) {
        if (draw_below(6) == 3) s.bonus = 1;
    } else if (s.skill < 75) {
        if (draw_below(6) == 3)
            s.bonus = 1;
        else if (draw_below(6) == 5)
            s.bonus = 2;
    } else {
        if (draw_below(6) == 2)
            s.bonus = 1;
        else if (draw_below(6) == 3)
            s.bonus = 2;
        else if (draw_below(6) == 4)
            s.bonus = 3;
    }
}

void animate(TimedActionState& s) {
    if (++s.anim_frames >= TA_ANIM_FRAMES) {
        s.anim_frames = 0;
        ++s.anim;
    }
    if (s.topped == 1 && !s.jumped_one) {
        s.jumped_one = true;
        s.anim = TA_ANIM_FIRST[1];
    }
    if (s.topped == 2 && !s.jumped_two) {
        s.jumped_two = true;
        s.anim = TA_ANIM_FIRST[2];
    }
    const s32 run = std::clamp(s.topped, 0, 2);
    if (s.anim >= TA_ANIM_END[run]) s.anim = TA_ANIM_FIRST[run];
}

// The bar: one step per 700 ms of stopwatch 0, carried over the restarts of that stopwatch.
void advance_bar(TimedActionState& s) {
    const s32 e = s32(TA_ELAPSED[0]());
    if (s.bar_carry + e - s.bar_mark >= TIMED_BAR_STEP_MS) {
        s.bar_running = true;
        ++s.steps;
        ++s.bar_count;
    }
    if (s.bar_running) {
        s.bar_carry = e - TIMED_BAR_STEP_MS * s.bar_count;
        s.bar_mark = e;
    }
}

// Tracks 0..4: a step when the track's own stopwatch reaches the threshold, then the stopwatch
// starts again, and the clocks carried on it start their count afresh.
void restarted_clock(TimedActionState& s, s32 t) {
    if (s32(TA_ELAPSED[t]()) < threshold(s, t)) return;
    step_track(s, t);
    TA_START[t]();
    if (t == 0) {
        s.bar_running = false;
        s.bar_mark = 0;
        s.bar_count = 0;
    }
    if (t == 3 || t == 4) {
        const s32 c = t == 4 ? 0 : 1; // track 5 rides on stopwatch 4, track 6 on 3
        s.running[c] = false;
        s.mark[c] = 0;
        s.count[c] = 0;
    }
}

// Tracks 5 and 6 on stopwatches 4 and 3, carried over the restarts by tracks 4 and 3.
void carried_clock(TimedActionState& s, s32 c) {
    const s32 t = TA_CARRIED_TRACK[c];
    const s32 e = s32(TA_ELAPSED[t == 5 ? 4 : 3]());
    if (s.carry[c] + e - s.mark[c] >= threshold(s, t)) {
        step_track(s, t);
        s.running[c] = true;
        ++s.count[c];
    }
    if (s.running[c]) {
        s.mark[c] = e;
        s.carry[c] = e - TA_CARRIED_CONSTANT[c] * s.count[c];
    }
}

void run_clocks(TimedActionState& s) {
    restarted_clock(s, 0);
    restarted_clock(s, 1);
    restarted_clock(s, 2);
    carried_clock(s, 1); // track 6
    restarted_clock(s, 3);
    carried_clock(s, 0); // track 5
    restarted_clock(s, 4);
    const bool* held = TA_HELD[std::clamp(s.level, 1, 4) - 1];
    for (s32 t = 0; t < TIMED_TRACKS; ++t)
        if (held[t]) s.pos[t] = TIMED_CLEARED;
}

void draw_track(const TimedActionState& s, s32 t) {
    const TimedTrack& tr = TIMED_TRACK_TABLE[t];
    draw_image(tr.x, tr.y, timed_track_image(t, s.pos[t]), 0);
}

// Two tracks that cross: the one further along lies over the other.
void draw_pair(const TimedActionState& s, s32 a, s32 b, bool a_over_when_cleared) {
    const s32 pa = s.pos[a], pb = s.pos[b];
    const bool a_over = pa > pb || (pa == pb && (pa != TIMED_CLEARED || a_over_when_cleared));
    draw_track(s, a_over ? b : a);
    draw_track(s, a_over ? a : b);
}

bool any_at(const TimedActionState& s, s32 lo, s32 hi) {
    for (s32 t = 0; t < TIMED_TRACKS; ++t)
        if (s.pos[t] >= lo && s.pos[t] <= hi) return true;
    return false;
}

void draw_frame(const TimedActionState& s) {
    draw_image(0, 0, TA_BACKGROUND, 0);
    draw_pair(s, 0, 1, false); // a cleared track 0 lies under track 1
    draw_track(s, 2);
    draw_track(s, 3);
    draw_track(s, 4);
    draw_pair(s, 5, 6, true);
    draw_image(TA_ANIM_X, TA_ANIM_Y, s.anim, 0);
    draw_image(TA_PORTRAIT_X, TA_PORTRAIT_Y, TA_PORTRAIT, 0);
    draw_image(TA_BAR_X, TA_BAR_Y, TA_BAR_FRAME, 0);
    for (s32 i = std::max(s.steps, 0); i < TIMED_BAR_STEPS; ++i)
        draw_image(TA_COLUMN_X + i, TA_COLUMN_Y, TA_BAR_COLUMN, 0);

    bool topped_lines = false;
    if (s.steps >= TA_LAST_SCREEN_STEP) {
        draw_image(0, 0, TA_BACKGROUND, 0);
    } else if (any_at(s, TIMED_TOP, TIMED_TOP)) {
        for (s32 j = 1; j <= s.topped; ++j)
            print_text_seen(TA_TEXT_X, TA_TEXT_Y + TA_LINE_H * j, TA_TEXT_NEAR + j);
        topped_lines = s.topped > 0;
    }
    if (any_at(s, 5, 6)) {
        if (s.steps < TA_LAST_SCREEN_STEP && s.topped < TIMED_TOPPED_LOSE)
            print_text_seen(TA_TEXT_X, TA_TEXT_NEAR_Y + TA_LINE_H * s.topped, TA_TEXT_NEAR);
    } else if (!topped_lines) {
        print_text_seen(TA_IDLE_X, TA_IDLE_A_Y, TA_TEXT_IDLE_A);
        print_text_seen(TA_IDLE_X, TA_IDLE_B_Y, TA_TEXT_IDLE_B);
    }
}

} // namespace

bool timed_rect_has(const TimedRect& r, s32 x, s32 y) {
    return x >= r.x1 - TA_RECT_MARGIN && x < r.x2 + TA_RECT_MARGIN && y >= r.y1 - TA_RECT_MARGIN &&
           y < r.y2 + TA_RECT_MARGIN;
}

s32 timed_track_image(s32 t, s32 pos) {
    if (t < 0 || t >= TIMED_TRACKS) return 0;
    const TimedTrack& tr = TIMED_TRACK_TABLE[t];
    if (pos == TIMED_CLEARED) return tr.cleared;
    return tr.base + std::clamp(pos, 0, TIMED_TOP);
}

void timed_action_click(TimedActionState& s, s32 x, s32 y) {
    draw_bonus(s);
    for (s32 t = 0; t < TIMED_TRACKS; ++t)
        for (s32 k = 0; k < TIMED_POSITIONS; ++k) {
            if (s.pos[t] != k || !timed_rect_has(TIMED_RECTS[t][k], x, y)) continue;
            const s32 back = k - 1 - s.bonus;
            s.pos[t] = back < 0 ? TIMED_CLEARED : back;
        }
}

s32 timed_action_game(s32 level, s32 pace, s32 skill) {
    TimedActionState& s = timed_action_state;
    s = TimedActionState{};
    s.level = level;
    s.pace = pace;
    s.skill = skill;
    for (s32 t = 0; t < TIMED_TRACKS; ++t) s.pos[t] = TIMED_TRACK_TABLE[t].start;

    // The caller's pointer shape and text colour come back on the way out.
    const s32 cursor_before = s32(world_state.cursor_id);
    const s32 colour_before = kanji_colour_main_555;
    FrameMusic music;
    frame_music_start(music, TA_MUSIC);
    cursor_select(TA_CURSOR);
    mouse_buttons = 0;
    for (u32 (*start)() : TA_START) start();
    text_colour(31, 31, 31);
    s.anim = TA_ANIM_FIRST[0];

    while (s.state == 0) {
        pick_delay(s);
        s32 x = 0, y = 0;
        if (frame_take_click(&x, &y)) timed_action_click(s, x, y);
        animate(s);
        advance_bar(s);
        run_clocks(s);
        draw_frame(s);
        screen_present();
        ++s.frames;
        if (s.topped >= TIMED_TOPPED_LOSE) s.state = 1;
        if (s.steps > TIMED_BAR_STEPS - 1) s.state = 2;
    }
    if (s.state == 2) print_text_seen(TA_TEXT_X, TA_WON_Y, TA_TEXT_WON);
    frame_click_wait({TA_MARKER_X, TA_MARKER_Y});

    frame_music_restore(music);
    cursor_select(cursor_before);
    kanji_set_colour(KANJI_COLOUR_MAIN, colour_before);
    return s.state - 1;
}
