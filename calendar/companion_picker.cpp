#include "calendar/companion_picker.h"

#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/dashboard.h"
#include "game/pick_screens.h"
#include "game/player.h"

PickerState picker_state;

namespace {

bool in_box(s32 px, s32 py, s32 x, s32 y, s32 w) {
    return px >= x && px <= x + w && py >= y && py <= y + PICK_CELL_H;
}

bool offered(s32 p, const s32 (&excluded)[PICKER_EXCLUDED]) {
    if (p <= 0 || p >= PLAYER_PEOPLE) return false;
    for (s32 x : excluded)
        if (x == p) return false;
    for (s32 x : PICKER_NEVER)
        if (x == p) return false;
    return player_record.affection[p] >= PICKER_MIN_AFFECTION;
}

void gather(const s32 (&excluded)[PICKER_EXCLUDED]) {
    PickerState& s = picker_state;
    s = {};
    for (s32& c : s.candidate) c = -1;
    for (s32 i = 0; i < PLAYER_ACQUAINTANCES && s.count < PICKER_CANDIDATES; ++i)
        if (offered(player_record.acquaintances[i], excluded)) s.candidate[s.count++] = i;
}

s32 person_of(s32 c) {
    return player_record.acquaintances[picker_state.candidate[c]];
}

void draw(s32 px, s32 py) {
    const PickerState& s = picker_state;
    hub_draw();
    text_size(16);
    text_style(1);
    for (s32 c = 0; c < s.count; ++c)
        pick_print(s.selected[c], pick_cell_x(c), pick_cell_y(c), PICKER_NAME_TEXT + person_of(c));
    pick_print(in_box(px, py, PICKER_DONE_X, PICKER_DONE_Y, PICKER_DONE_W), PICKER_DONE_X,
               PICKER_DONE_Y, PICKER_DONE_TEXT);
    screen_present();
}

// The party: emptied, then the selected persons in cell order from place 1 on.
void fill_party() {
    const PickerState& s = picker_state;
    for (s32& m : player_record.party) m = -1;
    s32 place = 1;
    for (s32 c = 0; c < s.count && place < PLAYER_PARTY; ++c)
        if (s.selected[c]) player_record.party[place++] = person_of(c);
}

void click_cell(s32 c) {
    PickerState& s = picker_state;
    if (s.selected[c]) {
        s.selected[c] = false;
        s.chosen--;
    } else if (s.chosen < PICKER_MAX_CHOSEN) {
        s.selected[c] = true;
        s.chosen++;
    }
}

} // namespace

s32 companion_picker(s32 x0, s32 x1, s32 x2, s32 x3, s32 x4, s32 x5, s32 x6, s32 x7) {
    gather({x0, x1, x2, x3, x4, x5, x6, x7});
    if (picker_state.count == 0) return -1;
    for (;;) {
        draw(pointer_x, pointer_y);
        if (mouse_buttons != 1) continue;
        // The place first: once the button is cleared the next click may overwrite it.
        const s32 cx = click_x, cy = click_y;
        mouse_buttons = 0;
        for (s32 c = 0; c < picker_state.count; ++c)
            if (in_box(cx, cy, pick_cell_x(c), pick_cell_y(c), PICK_CELL_W)) click_cell(c);
        if (in_box(cx, cy, PICKER_DONE_X, PICKER_DONE_Y, PICKER_DONE_W)) {
            fill_party();
            return 1;
        }
    }
}
