// Seams between the object scripts and what they open: the shop's buy and sell screens, the
// ranking panel, saving, and the scripts' random draws. Each pointer starts at the real call
// (`show_ranking` for the ranking panel), and the script harness replaces every one with a
// recording fake. The
// character screen goes through `info_screen_seam` of game/hub_seams.h and battles through
// `battle_run_seam` of battle/battle.h.
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

// The scripts' random draw, through its seam.
s32 script_rand(s32 n);

// Puts every seam of this header back to its default.
void script_seams_reset();
