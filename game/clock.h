// Time in the game: the field clock jumped forward by scripts (`clock_advance`), the timetabled
// residents re-placed for the current quarter hour, and the calendar turn of six days with its
// end-of-turn processing.
#pragma once
#include "engine/types.h"

// The mood that `hub_end_turn` last saw; 1000 = not yet set (not saved).
extern s32 mood_last_seen;

// Moves the clock forward by `minutes` (the day never changes; the minute is rounded down to its
// quarter hour), re-places the timetabled residents between 6:00 and 17:59 from the entry of the
// new quarter, and charges fatigue and fullness. Zero or fewer minutes change nothing.
void clock_advance(s32 minutes);
// Re-places the timetabled residents for the current clock time (only between 6:00 and 17:59).
void clock_apply();
// One calendar turn: six days later (months of 30 days), `calendar_turn` + 1.
void calendar_step();
// End-of-turn processing for `turns` turns (at most the calendar's 250), then the dashboard is
// drawn (not presented).
void hub_end_turn(s32 turns);
// A blackout of 0.6 s between two scenes.
void fade_pause();
