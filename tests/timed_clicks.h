// Scripted left clicks on the virtual clock for screens that poll the buttons frame by frame:
// a quarter second apart, the first shortly after `start_clicks`, each pressed for 100 ms, so
// the screen takes every one of them once whatever it reads between its frames.
#pragma once
#include "engine/types.h"
#include "platform/harness.h"

inline u64 next_click_ms = 0, last_click_ms = 0;

inline void start_clicks() {
    harness_advance(150); // a release still queued from before goes through first
    harness_pump();
    next_click_ms = harness_elapsed_ms() + 50;
    last_click_ms = 0;
}

inline void click(s32 x, s32 y) {
    harness_move(x, y, at_time(next_click_ms));
    harness_button_down(1, at_time(next_click_ms));
    harness_button_up(1, at_time(next_click_ms + 100));
    last_click_ms = next_click_ms;
    next_click_ms += 250;
}

// The screen ran until its last scripted click was due (and so did not end before it).
inline bool all_clicks_taken() {
    return harness_elapsed_ms() >= last_click_ms;
}
