// PENDING: placeholder bodies until the slot list lands (owner replaces this whole file).
#include "game/slot_list.h"

s32 slot_row_y(s32 slot) { return slot < 2 ? 223 + 21 * slot : 273 + 21 * (slot - 2); }
void slot_row_draw(s32, s32) {}
s32 slot_row_hit(s32, s32) { return -1; }
