// The games and battles that scripts start, and the stations that start a game only when the
// player carries its tools and has the strength for it.
//
// A game is one row, `GameCall` {game, arguments}, run by `game_call`: the game runs through its
// seam (scripts/script_seams.h, or the hub's game seams) and returns through `modal_return`, so
// the click that closed its last screen never reaches the map object under it. Battles return the
// same way inside `battle_block` (scripts/kit.h).
//
//     const s32 solved = game_call({GAME_TILE_SWAP, {3}});
//     game_call({GAME_LIGHT_RING, {-1, -1, -1, -1, -1, -1, -1, 4}});
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <array>

enum GameKind : s32 {
    GAME_NONE = 0,           // nothing runs (a gate that only refuses)
    GAME_TRACKS,             // game_tracks(a0) -> its result
    GAME_DICE,               // game_dice(a0 mode, a1 stake) -> 0
    GAME_DICE_HIGH,          // game_dice_high(a0, a1) -> 1 success, 2 not
    GAME_DICE_PRACTICE,      // game_dice_practice() -> 1 at 300 chips, else 0
    GAME_HANDS,              // game_hands() -> its result
    GAME_AIM,                // game_aim(a0..a5) -> 0
    GAME_AIM_FRAMED,         // game_aim_framed() -> 0
    GAME_AIM_TARGET,         // game_aim_target(a0..a5) -> 1 the target fell, else 0
    GAME_AIM_NIGHT,          // game_aim_night() -> 1 with six hits, else 0
    GAME_BAIT_CATCH,         // game_bait_catch(a0 kind) -> 0
    GAME_LIGHT_RING,         // game_light_ring(a0..a7), -1 a drawn symbol -> 0
    GAME_POPUP_TARGETS,      // game_popup_targets(a0 mode) -> 0
    GAME_TILE_SWAP,          // game_tile_swap(a0 picture) -> 1 solved, 2 not
    GAME_FALLING_CATCH,      // game_falling_catch() -> the score
    GAME_LIGHT_PUZZLE,       // game_light_puzzle() -> 1 solved, 0 given up
    GAME_TIMED_ACTION,       // timed_action_game(a0 level, a1 pace, a2 skill) -> 1 won, 0 lost
    GAME_ART_PRACTICE,       // art_practice(a0 piece) -> 1 right, 0 wrong
    GAME_TRAINING_AFTERMATH, // training_aftermath(a0 flag) -> 0
    GAME_KINDS,
};

struct GameCall {
    s32 game = GAME_NONE;
    std::array<s32, 8> args{};
};

// Runs the game of the row and clears the closing click; returns the game's result (0 for the
// games that give none, and for a kind outside the table, which runs nothing).
s32 game_call(const GameCall& call);

// ---- station_gate ----------------------------------------------------------------------------

constexpr s32 GATE_LABEL_DY = -108;
constexpr s32 GATE_LABEL_MS = 2000;
constexpr s32 TEXT_TOO_TIRED = 10558;
constexpr s32 TOO_TIRED_DX = -80;
constexpr s32 GATE_NO_STAMINA = -1;

// An item range the player must hold (`inv_has_range`), and the refusal floated over the player
// when none is held; lo below 0: no such range.
struct ItemGate {
    s32 lo = -1, hi = -1;
    s32 text = 0;
    s32 dx = 0;
};
// A station or a game gate: the tool range, the supply range (ammunition, bait), the stamina it
// needs (at least; GATE_NO_STAMINA: none; refused with text 10558 at dx -80), and the game.
// `clear_click` clears the buttons and the click before the checks as well, and again after a
// refusal.
struct StationGate {
    ItemGate tool;
    ItemGate supply;
    s32 stamina = GATE_NO_STAMINA;
    GameCall game;
    bool clear_click = false;
};
// The checks in order tool, supply, stamina; the first that fails floats its refusal with
// label_add(0, text, dx, -108, 2000) and nothing else happens (false). When all pass the game
// runs through `game_call` (true) and its result is left in *result.
bool station_gate(const StationGate& gate, s32* result = nullptr);
// Which check refuses (0 tool, 1 supply, 2 stamina), or -1 when the game may run (pure).
s32 station_refusal(const StationGate& gate);
