// The slot list with its confirmation, shared by the title menu's load page, the hub's load menu
// and the character screen's load page: used slots of `save_index` as rows over panel 892, a
// pick, and the confirmation of texts 325 / 326 / 327.
#pragma once
#include "engine/types.h"

// Row y of slot s (223, 244, 273, 294).
s32 slot_row_y(s32 slot);
// Prints slot s's row at y in the current colour (date, turn of the month, area, hour or mark).
void slot_row_draw(s32 slot, s32 y);
// Which used row the point hits (x 191..447, y row - 2 .. row + 18), or -1.
s32 slot_row_hit(s32 x, s32 y);
