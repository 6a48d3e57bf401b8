// The routines that pool handlers share:
//
// - `sum_guess_game`: the number-calling game over the dashboard. The protagonist and partner 165
//   each show a hidden hand of 0 to 5 and call the total (0 to 10) on a grid of twelve buttons;
//   the last button leaves. A call only the protagonist got right raises the person's affection,
//   one only the partner got right makes the protagonist drink; past the capacity drawn from
//   skill 22 the game ends, and with affection 50 and skill 22 at 80 a friendship ends it.
// - `light_ring_battle`: the common body of slots 204 and 205: the offer, a light-ring game, a
//   fight, and after a won fight the follow-up (slot 124) five turns later.
// - `item_picker`: picks one owned item of 1400 to 1423 from a vertical list of names.
#pragma once
#include "engine/types.h"

// ---- Number-calling game -----------------------------------------------------------------------

constexpr s32 SUM_GUESS_BUTTONS = 12; // calls 0..10 and leave
constexpr s32 SUM_GUESS_LEAVE = 11;
constexpr s32 SUM_GUESS_BUTTON_X = 34, SUM_GUESS_BUTTON_DX = 104, SUM_GUESS_BUTTON_COLUMNS = 5;
constexpr s32 SUM_GUESS_BUTTON_Y = 403, SUM_GUESS_BUTTON_DY = 20;
constexpr s32 SUM_GUESS_BUTTON_W = 96, SUM_GUESS_BUTTON_H = 16; // box from the corner, edges in
constexpr s32 SUM_GUESS_BUTTON_TEXT = 11329;                    // + button
constexpr s32 SUM_GUESS_PROMPT = 11327;
constexpr s32 SUM_GUESS_OWN_CALL = 11350;     // + the protagonist's call
constexpr s32 SUM_GUESS_PARTNER_CALL = 11370; // + the partner's call
constexpr s32 SUM_GUESS_PARTNER = 165;        // the partner's portrait
constexpr s32 SUM_GUESS_HAND_IMAGE = 60094;   // + hand 0..5
constexpr s32 SUM_GUESS_SKILL = 22;
constexpr s32 SUM_GUESS_FLAG = 2; // the friendship's story flag

enum SumGuessOutcome : s32 {
    SUM_GUESS_PLAYING = 0,
    SUM_GUESS_OVER_CAPACITY = 1,
    SUM_GUESS_STOPPED = 2,
    SUM_GUESS_LEFT = 3,
    SUM_GUESS_FRIENDSHIP = 4,
};

// The values of the last (or the running) game, for tests and the screens' own reading.
struct SumGuessState {
    s32 capacity = 0, drink = 0, wins = 0, losses = 0;
    s32 outcome = SUM_GUESS_PLAYING;
    s32 calls = 0;        // calls played (a leave is not a call)
    bool picking = false; // the choosing screen is up, waiting for a button
};
extern SumGuessState sum_guess_state;

// The button (0..11) whose box holds (x, y), or -1.
s32 sum_guess_button_at(s32 x, s32 y);
// The hand shown for call k (0..10), drawing through `cal_rand`: 0 for call 0, rand(k) for calls
// 1..5, k - 5 + rand(11 - k) for calls 6..10.
s32 sum_guess_hand(s32 call);
// The game with `person` (whose affection changes).
void sum_guess_game(s32 person);

// ---- Ring-game battle --------------------------------------------------------------------------

constexpr s32 RING_BATTLE_ENCOUNTER = 5;
constexpr s32 RING_BATTLE_FOLLOW_UP = 124; // after-turn slot, five turns on
constexpr s32 RING_BATTLE_DELAY = 5;
void light_ring_battle();

// ---- Item picker -------------------------------------------------------------------------------

constexpr s32 ITEM_PICKER_FIRST = 1400, ITEM_PICKER_LAST = 1423;
constexpr s32 ITEM_PICKER_PANEL = 121; // at (50, 298)
constexpr s32 ITEM_PICKER_X = 70, ITEM_PICKER_DX = 25, ITEM_PICKER_Y = 315;
constexpr s32 ITEM_PICKER_NAMES = 5000; // + item id
// The clicked item id; -1 at once when none of the items is owned (the list would be empty and
// the picker has no other way out).
s32 item_picker();
