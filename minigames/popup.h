// The pop-up target game: seven holes, one figure at a time pops up for a few frames and the
// player clicks it. Hits pay growth of skill 16 and attributes 25 and 28, and prize items after
// the game; a game lasts 100 seconds, less 5 for every kind 0 figure let go.
#pragma once
#include "engine/types.h"

constexpr s32 POPUP_HOLES = 7;
constexpr s32 POPUP_KINDS = 9;        // 0..8
constexpr s32 POPUP_LIFE = 14;        // frames a figure stays up
constexpr s32 POPUP_HIT_LIFE = 48;    // its life once hit
constexpr s32 POPUP_HIT_T = 26;       // its frame t once hit
constexpr s32 POPUP_REWARD_T = 33;    // the frame that pays a hit
constexpr s32 POPUP_SECONDS = 100;    // length of a game
constexpr s32 POPUP_MISS_PENALTY = 5; // seconds a missed kind 0 costs
constexpr s32 POPUP_WRONG_SCORE = 5;  // score a hit kind 1 costs per frame

// The body point of each hole, and the point kind 0 figures are drawn at.
extern const s32 POPUP_BODY_X[POPUP_HOLES];
extern const s32 POPUP_BODY_Y[POPUP_HOLES];
extern const s32 POPUP_OWN_X[POPUP_HOLES];
extern const s32 POPUP_OWN_Y[POPUP_HOLES];

// One paying kind (2..8): growth paid into skill 16 and attributes 25 and 28, score, the body
// image offset while up, the effect base, the name text and the prize item (kind 8's prize
// depends on the game's mode instead).
struct PopupKind {
    s32 skill16, attr25, attr28, score, face, effect, name_text, item;
};
extern const PopupKind POPUP_KINDS_TABLE[POPUP_KINDS];

struct PopupFigure {
    s32 kind = -1; // -1: none shown
    s32 hole = 0;
    s32 t = 0;
    s32 life = POPUP_LIFE;
    bool hit = false;
};

// The whole state of the running (or last) game.
struct PopupState {
    s32 mode = 0;
    PopupFigure figure;
    s32 hits[POPUP_KINDS] = {}; // counts of paid hits per kind (2..8 used)
    s32 score = 0;
    s32 wrong_hits = 0;
    s32 penalty = 0; // seconds taken off the game
    s32 time_left = POPUP_SECONDS;
    bool ending = false; // the end screen is up
    s32 end_marker = 0;  // the end screen's marker count 0..23
    s32 frames = 0;      // frames of play presented
};
extern PopupState popup_state;

// The random draws of the game (hole and number); rand_below unless a test replaces it.
extern s32 (*popup_rand)(s32 n);

// The kind a drawn number gives under the current state, or -1 when it gives none (draw again).
s32 popup_kind_of(s32 number);
// 1 when a click at (x, y) hits the figure shown (not hit yet, frame t 4 up to life - 2).
bool popup_figure_hit_by(const PopupFigure& figure, s32 x, s32 y);

// Plays one game. `mode` 1 gives item 2390 once for kind 8 hits, any other a random gift each.
void game_popup_targets(s32 mode);
// Draws one figure of kinds 2..8 at step t.
void game_popup_frame(s32 t, s32 face, s32 life, s32 x, s32 y, s32 effect);
