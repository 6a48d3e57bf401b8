// The light-ring betting game: twenty lamps around a betting panel of eight prize symbols. The
// player bets every chip on symbols, a light runs around the ring and slows down, and the symbol
// it stops on pays its chips (times a factor growing with skill 14) as prize items. Eight spins.
#pragma once
#include "engine/types.h"

constexpr int RING_SLOTS = 8;
constexpr int RING_LAMPS = 20;
constexpr s32 RING_SPINS = 8;
constexpr s32 RING_SKILL = 14; // growth index of the betting skill
constexpr s32 RING_MUSIC = 10015;
constexpr s32 RING_PRIZE_ITEM = 1200;   // prize p is item 1200 + p
constexpr s32 RING_PRIZE_NAME = 6200;   // named by text 6200 + p
constexpr s32 RING_PANEL_IMAGE = 25300; // shown on the panel as image 25300 + p
constexpr s32 RING_LAMP_IMAGE = 25350;  // and on a lamp as image 25350 + p
// Prize ids a caller may fix: 0..49 (the lamp pictures start 50 ids after the panel's). Anything
// else, like -1, is drawn by chance.
constexpr s32 RING_PRIZE_LIMIT = 50;
constexpr s32 RING_STAMINA_COST = 80;
constexpr s32 RING_BONUS = 60000;

struct RingLamp {
    s32 x, y, slot;
};
extern const RingLamp ring_lamps[RING_LAMPS];

// Where the game is, for a test that drives it by input.
// Done: the player has left the final screen (the prizes are then handed over).
enum class RingPhase : s32 { Idle, Betting, Spinning, ResultWait, EndWait, Done };

struct LightRingState {
    s32 sym[RING_SLOTS];   // prize id of each slot
    s32 chips[RING_SLOTS]; // chips placed on each slot (stay from spin to spin)
    s32 hand;              // chips still in hand
    s32 wins[RING_SLOTS];  // prizes won per slot
    s32 spins_left;
    s32 light;     // the lamp the light is on
    s32 message;   // 0..4: bottom-line text 10679 + message
    bool bonus;    // the all-slots bonus was paid
    bool given_up; // the current spin was given up by the quit button
    bool over;
    s32 steps_left; // steps of the running light still to come
    s32 steps_run;  // lamps the light has moved in the current spin
    RingPhase phase;
};
extern LightRingState light_ring_state;

// The game's random draws; rand_below by default. Tests point it at a script.
extern s32 (*light_ring_rand_seam)(s32 n);

// Chips in hand per spin and the payout factor, both by the value of skill 14.
s32 light_ring_chips_for(s32 skill);
s32 light_ring_factor_for(s32 skill);

// Eight prize ids or -1; slot i takes argument a(8 - i) (a1 fills slot 7, a8 slot 0).
void game_light_ring(s32 a1, s32 a2, s32 a3, s32 a4, s32 a5, s32 a6, s32 a7, s32 a8);
