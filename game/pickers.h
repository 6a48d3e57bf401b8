// Event pickers: a visit to a place (command 56) and three kinds of outings (50, 51, 52) draw an
// entry from their pool and run the calendar handler it names, or show a fallback.
#pragma once
#include "engine/types.h"

// Each returns 0 when a handler ran, 1 when the fallback was shown.
s32 pick_place_event(s32 set, s32 place);
s32 pick_event_a();
s32 pick_event_b();
s32 pick_event_c();
