// PENDING: the grid (being written).
#include "battle/battle_grid.h"

BattleCursor battle_cursor = {-1, -1, -1, -1};
s32 battle_dist[DIST_LAYERS][GRID][GRID];
s32 battle_marks[GRID][GRID];
s32 move_allowance = 0;

void battle_cell_at(s32, s32, s32) {}
s32 battle_slot_cell(s32, s32*, s32*) {
    return -1;
}
void battle_dists_clear() {}
void battle_marks_clear() {}
void battle_dist_build(s32, s32) {}
void battle_dist_build_dir(s32, s32, s32) {}
void battle_show_reach(s32) {}
void battle_move_to(s32, s32, s32) {}
void battle_cmd_move() {}
s32 battle_protagonist_speed() {
    return 0;
}
s32 battle_turn_allowance(s32) {
    return 1;
}
