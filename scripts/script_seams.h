// Seams between the object scripts and what they open: the shop's buy and sell screens, the
// ranking panel, saving, the scripts' random draws, and the games and routines that scripts
// start. Each pointer starts at the real call (`show_ranking` for the ranking panel, `game_dice`
// for the dice game, ...), and the script harness replaces every one with a recording fake. The
// character screen goes through `info_screen_seam` of game/hub_seams.h, battles through
// `battle_run_seam` of battle/battle.h, the aiming, catch, light-ring and pop-up games through the
// hub's game seams (game/hub_seams.h) and the aftermath of a hard training through
// `training_aftermath_seam` of calendar/calendar_seams.h. Scripts start all of them through the
// game calls of scripts/games.h, which return through `modal_return`.
#pragma once
#include "engine/types.h"

// The buy and the sell screen of shop k (0..49).
extern void (*script_shop_buy_seam)(s32 shop);
extern void (*script_shop_sell_seam)(s32 shop);
// The ranking panel: the player's place among the roster's fighters; returns after a click.
extern void (*script_ranking_seam)();
// Writes the game into save slot `slot`; the result of `save_game` (1 written, 0 failed).
extern s32 (*script_save_seam)(s32 slot);
// 0 .. n-1 for the scripts' draws (`rand_below` by default).
extern s32 (*script_rand_seam)(s32 n);

// ---- Games and routines that scripts start ---------------------------------------------------

extern s32 (*game_tracks_seam)(s32 n);                  // the two-track timing game
extern void (*game_dice_seam)(s32 mode, s32 stake);     // callers pass (0, 50)
extern s32 (*game_dice_high_seam)(s32 mode, s32 stake); // 1 success, 2 not
extern s32 (*game_dice_practice_seam)();                // 1 reached 300 chips, else 0
extern s32 (*game_hands_seam)();                        // the hand game
extern void (*game_aim_framed_seam)();                  // the coached aiming game
extern s32 (*game_aim_target_seam)(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 a5,
                                   s32 a6);     // 1 when the target fell, else 0
extern s32 (*game_tile_swap_seam)(s32 picture); // 1 solved, 2 not solved
extern s32 (*game_falling_catch_seam)();        // the score
extern s32 (*game_light_puzzle_seam)();         // 1 solved, 0 given up
extern s32 (*game_aim_night_seam)();            // 1 with six hits, else 0
extern s32 (*timed_action_game_seam)(s32 level, s32 pace, s32 skill); // 1 won, 0 lost
extern s32 (*art_practice_seam)(s32 n);                               // 1 the right pattern, else 0
// The companion's farewell scene of the home region (acts only when story flag 40 is 3).
extern void (*companion_leave_scene_seam)();

// The scripts' random draw, through its seam.
s32 script_rand(s32 n);

// Puts every seam of this header back to its default.
void script_seams_reset();
