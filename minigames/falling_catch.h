// The falling-object catch game: a thrower walks along a ledge at the top of the screen and
// throws good and bad objects down; the player moves a catcher along the bottom with the two
// buttons. A caught good object adds a point, a bad one takes one away (not below 0). The game
// runs 100 steps of 900 ms and returns the score; it has no music, clock, growth or reward.
#pragma once
#include "engine/types.h"

constexpr s32 FALLING_LEDGE_POSITIONS = 54;   // thrower positions 0..53
constexpr s32 FALLING_CATCHER_POSITIONS = 58; // catcher positions 0..57, x = 10 x position
constexpr s32 FALLING_CATCHER_STEP_X = 10;
constexpr s32 FALLING_CATCHER_Y = 364;
constexpr s32 FALLING_START = 20; // where the thrower and the catcher start
constexpr s32 FALLING_MOVE = 3;   // positions one click moves the catcher, one a frame
constexpr s32 FALLING_SLOTS = 15; // objects in flight at most
constexpr s32 FALLING_THROW_Y = 120;
constexpr s32 FALLING_FALL = 3;          // pixels an object falls per fall tick
constexpr s32 FALLING_CATCH_ABOVE = 379; // caught while 379 < y < 426 ..
constexpr s32 FALLING_CATCH_BELOW = 426;
constexpr s32 FALLING_CATCH_LEFT = 15; // .. and catcher x - 15 < x < catcher x + 50
constexpr s32 FALLING_CATCH_RIGHT = 50;
constexpr s32 FALLING_GONE_Y = 469; // an object further down is gone
constexpr s32 FALLING_STEPS = 100;
constexpr s32 FALLING_WALK_MS = 50;
constexpr s32 FALLING_FALL_MS = 15;
constexpr s32 FALLING_STEP_MS = 900;
constexpr s32 FALLING_CURSOR = 18;
constexpr s32 FALLING_BAD = 6350; // object kinds, also their images
constexpr s32 FALLING_GOOD = 6351;
constexpr s32 FALLING_BAD_CHANCE = 6;       // in 10
constexpr s32 FALLING_THROWER_WALK = 6361;  // walking images 6361..6366
constexpr s32 FALLING_THROWER_BAD = 6368;   // throwing a bad object: 6368, 6369
constexpr s32 FALLING_THROWER_GOOD = 6353;  // throwing a good one: 6353, 6354
constexpr s32 FALLING_CATCHER_IMAGE = 6370; // 6370..6378; + 10 while moving left
constexpr s32 FALLING_CATCHER_FRAMES = 9;
constexpr s32 FALLING_LEFT_OFFSET = 10;

extern const s32 FALLING_LEDGE_X[FALLING_LEDGE_POSITIONS];
extern const s32 FALLING_LEDGE_Y[FALLING_LEDGE_POSITIONS];

struct FallingObject {
    s32 kind = -1; // -1 free, FALLING_BAD or FALLING_GOOD
    s32 x = 0, y = 0;
};

// The whole state of the running (or last) game.
struct FallingState {
    FallingObject objects[FALLING_SLOTS];
    s32 catcher = FALLING_START;
    s32 catcher_image = FALLING_CATCHER_IMAGE;
    s32 move = 0;            // steps left of the catcher's move
    s32 move_dir = 0;        // -1 left, 1 right
    bool moved_left = false; // the catcher stepped left this frame (drawn with the left images)
    s32 thrower = FALLING_START;
    s32 thrower_image = FALLING_THROWER_WALK;
    s32 walk = 0;              // positions left of the thrower's walk
    s32 walk_dir = 0;          // -1 left, 1 right
    bool walk_pending = false; // false: a new walk is drawn in the next frame
    s32 score = 0;
    s32 steps = 0;
    s32 thrown = 0;  // objects thrown
    s32 dropped = 0; // throws that found every slot busy and were left out
    s32 caught_good = 0, caught_bad = 0;
    s32 frames = 0; // frames presented
};
extern FallingState falling_state;

// The game's random draws (walks and kinds); rand_below unless a test replaces it.
extern s32 (*falling_draw_seam)(s32 n);

// Plays one game of 100 steps; returns the score (0 or more).
s32 game_falling_catch();
