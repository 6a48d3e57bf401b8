// The companion picker: a screen over the dashboard on which the player picks up to four
// companions for an episode among the well-disposed acquaintances. The names stand in a grid of
// fifteen cells (the last one is the done button); a click selects or deselects a name, done puts
// the selected persons into the party in cell order.
#pragma once
#include "engine/types.h"

constexpr s32 PICKER_CELLS = 15; // cells 0..13 candidates, 14 the done button
constexpr s32 PICKER_CANDIDATES = 14;
// The cells are the pick grid's (pick_cell_x / pick_cell_y, 96 x 16 with both edges inside).
constexpr s32 PICKER_DONE_TEXT = 331;
constexpr s32 PICKER_DONE_X = 450, PICKER_DONE_Y = 456, PICKER_DONE_W = 48;
constexpr s32 PICKER_NAME_TEXT = 1000; // + person
constexpr s32 PICKER_MAX_CHOSEN = 4;
constexpr s32 PICKER_MIN_AFFECTION = 70;
constexpr s32 PICKER_EXCLUDED = 8;
// Never offered, whatever their affection.
constexpr s32 PICKER_NEVER[2] = {163, 40};

// What the screen holds while it runs (for tests reading the screen's own state).
struct PickerState {
    s32 candidate[PICKER_CANDIDATES]; // acquaintance-list indices, -1 = none
    bool selected[PICKER_CANDIDATES];
    s32 count;  // candidates
    s32 chosen; // selected, 0..4
};
extern PickerState picker_state;

// Offers every acquaintance (in list order, at most fourteen) that is none of the excluded ids
// (-1 = no id), not 163 or 40, and at affection 70 or more. Nobody: returns -1 at once, nothing
// shown, party untouched. Else the player picks up to four and presses done: party[0..4] := -1,
// then the chosen persons in cell order into party[1], [2], ...; returns 1.
s32 companion_picker(s32 x0, s32 x1, s32 x2, s32 x3, s32 x4, s32 x5, s32 x6, s32 x7);
