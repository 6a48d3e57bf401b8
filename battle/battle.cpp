// PENDING: the round loop (being written).
#include "battle/battle.h"

BattleSlot battle_slots[BATTLE_SLOTS];
TurnEntry turn_order[BATTLE_ORDER];
s32 battle_encounter = 0;
s32 battle_active_slot = BATTLE_NO_SLOT;
s32 battle_step = 0;
s32 battle_reaction = -1;
s32 battle_reaction_value = 0;

s32 (*battle_run_seam)(s32 encounter) = battle_run;

s32 battle_run(s32) {
    return BATTLE_LOST;
}
void battle_turn_order() {}
s32 battle_loop_step() {
    return BATTLE_LOST;
}
s32 battle_slot_of_step(s32) {
    return BATTLE_NO_SLOT;
}
s32 battle_side_alive(s32) {
    return 0;
}
