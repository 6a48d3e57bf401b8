// The player's turn: the command bar with move, attack, weapon, items, rest and art, and the
// list screens of weapon, items and art.
#pragma once
#include "engine/types.h"

void battle_player_turn();
// Hovered button 1..6, -1 none, or the command 11..16 of a clicked button.
s32 battle_command_bar();
void battle_cmd_weapon();
s32 battle_cmd_item();
void battle_cmd_art();
