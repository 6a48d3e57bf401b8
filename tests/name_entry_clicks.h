// Scripted clicks on the name entry's two pickers, on the virtual clock: each click is pressed for
// 40 ms, 100 ms after the one before (long enough for the entry to have handled and redrawn it).
#pragma once
#include "engine/name_entry.h"
#include "platform/harness.h"

#include <algorithm>

struct NameEntryClicks {
    u64 next_ms = 0;

    void tap(s32 x, s32 y) {
        next_ms = std::max<u64>(next_ms, harness_elapsed_ms()) + 100;
        harness_move(x, y, at_time(next_ms));
        harness_button_down(1, at_time(next_ms));
        harness_button_up(1, at_time(next_ms + 40));
    }
    // Phonetic symbol i of the bottom row.
    void symbol(s32 i) { tap(15 * i + 7, 470); }
    // A syllable {initial, medial, final, tone} (0 = none for the first three).
    void type(const s32 (&s)[4]) {
        if (s[0]) symbol(s[0] - 1);
        if (s[1]) symbol(PHONETIC_FIRST_MEDIAL - 1 + s[1]);
        if (s[2]) symbol(PHONETIC_FIRST_FINAL - 1 + s[2]);
        symbol(PHONETIC_FIRST_TONE - 1 + s[3]);
    }
    // Candidate i of the shown page.
    void pick(s32 i) { tap(20 + 24 * i + 12, 470); }
    void ok() { tap(616, 444); }
    void backspace() { tap(568, 444); }
    void composed() { tap(496, 444); }
};
