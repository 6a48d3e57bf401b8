// The two-track timing game and the contest routine.
#include "minigames/tracks.h"

#include "data/item_tables.h"
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
#include "game/player.h"
#include "minigames/frame.h"

#include <algorithm>

const s32 TRACKS_X[TRACKS_COUNT] = {72, 128};

TracksState tracks_state;
s32 (*tracks_draw_seam)(s32 n) = rand_below;

namespace {

// By cv / 5 (10 and more share the last column).
constexpr s32 RULE_COLUMNS = 11;
constexpr s32 BASES[RULE_COLUMNS] = {500, 550, 600, 650, 700, 750, 800, 850, 900, 950, 1000};
constexpr s32 STEPS[RULE_COLUMNS] = {3, 3, 4, 4, 5, 5, 6, 6, 7, 8, 9};
// Score per hit by skill 16 / 10.
constexpr s32 GAINS[11] = {4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 20};

constexpr s32 IMG_BACKDROP = 25600;
constexpr s32 IMG_ANVIL = 25601; // the centre picture; 25602..25606 are its hit flashes
constexpr s32 IMG_LEFT_FLASH = 25613;
constexpr s32 IMG_RIGHT_FLASH = 25619;
constexpr s32 IMG_BUTTON_GLOW = 25625;
constexpr s32 IMG_TIME_SEGMENT = 25631;
constexpr s32 IMG_PROGRESS = 25646;
constexpr s32 IMG_GRADE_GOOD = 25662;
constexpr s32 IMG_GRADE_BEST = 25663;
constexpr s32 IMG_MARKER = 12;

constexpr s32 BAR_X = 468, PROGRESS_Y = 36, TIME_Y = 105, SEGMENT_W = 7;
constexpr s32 SEGMENTS_MAX = 15; // segment numbers 0..14
constexpr s32 FULL_SEGMENTS = 14;
constexpr s32 GRADE_X = 566, GRADE_Y = 0;

constexpr s32 TEXT_MAKING = 20612;
constexpr s32 TEXT_END_A = 20516, TEXT_END_B = 20515;
constexpr s32 TEXT_FAILED = 20607, TEXT_MADE = 20608;

// The rows of labels under the tracks: red ones, then blue ones.
struct Label {
    s32 text, x, y;
};
constexpr Label RED_LABELS[] = {
    {20601, 170, 332}, {20603, 325, 332}, {20601, 170, 352}, {20606, 325, 352}};
constexpr Label BLUE_LABELS[] = {{20600, 60, 332}, {20602, 200, 332}, {20604, 355, 332},
                                 {20605, 60, 352}, {20602, 200, 352}, {20604, 355, 352},
                                 {20609, 60, 372}};

void draw_grade() {
    const TracksState& s = tracks_state;
    const s32 u = s.rules.unit;
    if (s.score >= 95 * u)
        draw_image(GRADE_X, GRADE_Y, IMG_GRADE_BEST, 0);
    else if (s.score >= 50 * u)
        draw_image(GRADE_X, GRADE_Y, IMG_GRADE_GOOD, 0);
}

// The progress bar: its first piece once the score passes 3 units, then one segment for every
// 7 units reached (segment c is image 25646 + c, at most segment 14).
void draw_progress() {
    const TracksState& s = tracks_state;
    const s32 u = s.rules.unit;
    if (s.score > 3 * u) draw_image(BAR_X, PROGRESS_Y, IMG_PROGRESS, 0);
    if (u <= 0 || s.score < 0) return;
    const s32 segments = std::min((s.score + 1) / (7 * u), SEGMENTS_MAX);
    for (s32 c = 0; c < segments; ++c)
        draw_image(BAR_X + SEGMENT_W * c, PROGRESS_Y, IMG_PROGRESS + c, 0);
}

// The time bar: one segment for each whole 7 seconds left (segment c is image 25631 + c, at
// most segment 14; given-back seconds can leave more than 100).
void draw_time() {
    const s32 left = TRACKS_SECONDS - tracks_state.secs;
    if (left <= 0) return;
    const s32 segments = std::min(left / 7, SEGMENTS_MAX);
    for (s32 c = 0; c < segments; ++c)
        draw_image(BAR_X + SEGMENT_W * c, TIME_Y, IMG_TIME_SEGMENT + c, 0);
}

// What the play and end screens share: backdrop, centre picture, portrait, skill 16, the item's
// name with the making line and the grade mark. The labels show only during play.
void draw_common(bool labels) {
    const TracksState& s = tracks_state;
    draw_image(0, 0, IMG_BACKDROP, 0);
    draw_image(182, 36, IMG_ANVIL, 0);
    frame_player_portrait(false);
    text_style(6);
    text_size(16);
    if (labels) {
        text_colour(25, 10, 10);
        for (const Label& l : RED_LABELS) print_text(l.x, l.y, l.text);
    }
    text_colour(0, 7, 31);
    print_number_vertical(586, 218, growth_value(TRACKS_SKILL), 3);
    if (labels)
        for (const Label& l : BLUE_LABELS) print_text(l.x, l.y, l.text);
    text_size(24);
    text_colour(0, 0, 0);
    print_text(468, 174, TRACKS_NAME_TEXT + s.n);
    print_text(468, 243, TEXT_MAKING);
    draw_grade();
}

void draw_flashes() {
    TracksState& s = tracks_state;
    for (s32 t = 0; t < TRACKS_COUNT; ++t) {
        TracksTrack& track = s.tracks[t];
        if (track.flash < 0) continue;
        const s32 f = track.flash / 6;
        if (t == 0)
            draw_image(65, 6, IMG_LEFT_FLASH + f, 0);
        else
            draw_image(122, 0, IMG_RIGHT_FLASH + f, 0);
        draw_image(182, 36, IMG_ANVIL + 5 - f, 0);
        draw_image(t == 0 ? 71 : 123, 302, IMG_BUTTON_GLOW, 0);
        if (++track.flash >= TRACKS_FLASH_FRAMES) track.flash = -1;
    }
}

void hit(TracksTrack& track, TracksMark& mark) {
    TracksState& s = tracks_state;
    mssw_play_sound(TRACKS_SOUND_HIT, 1);
    growth_pool(TRACKS_SKILL) += s.rules.step;
    growth_pool(TRACKS_ATTR) += s.rules.step / 2;
    --s.penalty;
    mark = TracksMark{};
    track.flash = 0;
    ++track.hits;
    s.score += s.rules.gain;
}

// A press of the track's button: every mark of the track inside the band is hit.
void press(TracksTrack& track) {
    for (TracksMark& m : track.marks)
        if (m.moving && m.y > TRACKS_BAND_ABOVE && m.y < TRACKS_BAND_BELOW) hit(track, m);
}

void take_presses() {
    TracksState& s = tracks_state;
    const u32 buttons = mouse_buttons;
    if (buttons < 1 || buttons > 3) return;
    mouse_buttons = 0;
    ++s.presses;
    s.penalty += buttons == 3 ? 2 : 1;
    if (buttons & 1) press(s.tracks[0]);
    if (buttons & 2) press(s.tracks[1]);
}

void draw_and_climb_marks() {
    TracksState& s = tracks_state;
    for (s32 t = 0; t < TRACKS_COUNT; ++t)
        for (TracksMark& m : s.tracks[t].marks) {
            if (!m.moving) continue;
            game_tracks_note(m.y, s.phase + 3 * t, TRACKS_X[t]);
            m.y -= TRACKS_RISE;
        }
}

// Frame 8 of every cycle may move each track on to its next mark, the right track first.
void advance_cycle() {
    TracksState& s = tracks_state;
    if (s.cycle % 6 == 5) s.phase = (s.phase + 1) % 3;
    if (s.cycle == TRACKS_LAUNCH_FRAME)
        for (s32 t = TRACKS_COUNT - 1; t >= 0; --t) {
            TracksTrack& track = s.tracks[t];
            const bool chance = tracks_draw_seam(100) < TRACKS_LAUNCH_CHANCE;
            if (chance && track.marks[track.current].y <= TRACKS_LAUNCH_Y)
                track.current = (track.current + 1) % TRACKS_MARKS;
        }
    s.cycle = (s.cycle + 1) % TRACKS_CYCLE;
}

void retire_passed_marks() {
    TracksState& s = tracks_state;
    for (TracksTrack& track : s.tracks)
        for (TracksMark& m : track.marks) {
            if (!m.moving || m.y >= TRACKS_GONE_Y) continue;
            m = TracksMark{};
            ++track.misses;
            if (s.cv >= TRACKS_MISS_CV) s.score -= TRACKS_MISS_COST;
        }
}

void play_frame() {
    TracksState& s = tracks_state;
    take_presses();
    for (TracksTrack& track : s.tracks) track.marks[track.current].moving = true;

    draw_common(true);
    draw_progress();
    draw_time();
    draw_and_climb_marks();
    draw_flashes();

    screen_present();
    ++s.frames;
    grow(TRACKS_SKILL);
    grow(TRACKS_ATTR);
    advance_cycle();
    retire_passed_marks();
}

// The end screen, until the right button alone is held: the item is shown as made when the score
// reached the target.
void end_screen() {
    TracksState& s = tracks_state;
    s.ending = true;
    s.end_marker = 0;
    do {
        draw_common(false);
        if (s.score > s.rules.target) {
            draw_image(BAR_X, PROGRESS_Y, IMG_PROGRESS, 0);
            for (s32 c = 0; c < FULL_SEGMENTS; ++c)
                draw_image(BAR_X + SEGMENT_W + SEGMENT_W * c, PROGRESS_Y, IMG_PROGRESS + 1 + c, 0);
        } else {
            draw_progress();
        }
        text_style(6);
        text_size(24);
        text_colour(25, 0, 0);
        print_text(56, 341, TEXT_END_A);
        text_colour(0, 0, 0);
        print_text(150, 341, TEXT_END_B);
        if (s.made) {
            text_colour(25, 0, 0);
            print_text_seen(56, 371, TEXT_MADE);
            print_text_seen(225, 371, TRACKS_NAME_TEXT + s.n);
        } else {
            print_text_seen(56, 371, TEXT_FAILED);
        }
        draw_image(440, 417, IMG_MARKER + s.end_marker / 6, 0);
        screen_present();
        s.end_marker = (s.end_marker + 1) % 24;
    } while (mouse_buttons != 2);
    mouse_buttons = 0;
    s.ending = false;
}

} // namespace

TracksRules tracks_rules(s32 cv, s32 skill) {
    TracksRules r{};
    const s32 column = std::clamp(cv / 5, 0, RULE_COLUMNS - 1);
    r.base = BASES[column];
    r.step = STEPS[column];
    r.target = (cv + 50) * r.base / 100;
    r.unit = (cv + 50) * r.base / 10000;
    r.gain = GAINS[std::clamp(skill / 10, 0, 10)];
    return r;
}

void game_tracks_note(s32 y, s32 image, s32 x) {
    if (y >= TRACKS_GONE_Y) draw_image(x, y, TRACKS_NOTE_IMAGE + image, 0);
}

s32 game_tracks(s32 n) {
    if (n < 0 || n >= EQUIP_TABLE_COUNT) return 0;
    FrameMusic music;
    frame_music_start(music, TRACKS_MUSIC);
    frame_enter(TRACKS_CURSOR, false);
    TracksState& s = tracks_state;
    s = TracksState{};
    s.n = n;
    s.cv = equip_table[n].craft_value;
    s.rules = tracks_rules(s.cv, growth_value(TRACKS_SKILL));
    mouse_buttons = 0;
    timer1_start();
    for (;;) {
        s.score = std::max(s.score, 0);
        s.secs = s32(timer1_elapsed() / 1000) + s.penalty;
        if (s.secs >= TRACKS_SECONDS || s.score >= s.rules.target) break;
        play_frame();
    }
    s.made = s.score >= s.rules.target;
    end_screen();

    player_record.stamina = std::max(0, player_record.stamina - TRACKS_STAMINA_COST);
    frame_clock_spend();
    frame_music_restore(music);
    if (!s.made) return 0;
    growth_pool(TRACKS_SKILL) += s.cv * 20;
    grow(TRACKS_SKILL);
    inv_add(TRACKS_ITEM_BASE + n, n < TRACKS_BULK_FROM ? 1 : TRACKS_BULK);
    return 1;
}

s32 contest_stub(s32) {
    return 0;
}
