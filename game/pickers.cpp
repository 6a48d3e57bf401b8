// PENDING: placeholder bodies until the pickers land (owner replaces this whole file).
#include "game/pickers.h"

s32 pick_place_event(s32, s32) { return 1; }
s32 pick_event_a() { return 1; }
s32 pick_event_b() { return 1; }
s32 pick_event_c() { return 1; }
