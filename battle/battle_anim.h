// What the battle writes into the engine's twelve animation tracks (track t shows slot t): the
// sync, the attack sequence with its hit blink, and the protagonist's reactions.
#pragma once
#include "engine/types.h"

void battle_sync_anim();
void battle_anim_attack(s32 slot);
void battle_anim_special();
void battle_anim_counter(s32 attacker);
// The point the protagonist dodges to; its own cell's point when no free cell qualifies.
void battle_dodge_cell(s32 attacker, s32* x_out, s32* y_out);
s32 battle_face_toward(s32 slot);
