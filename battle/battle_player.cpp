// PENDING: the player's turn (being written).
#include "battle/battle_player.h"

void battle_player_turn() {}
s32 battle_command_bar() {
    return -1;
}
void battle_cmd_weapon() {}
s32 battle_cmd_item() {
    return 0;
}
void battle_cmd_art() {}
