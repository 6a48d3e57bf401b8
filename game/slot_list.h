// The slot list with its confirmation, shared by the title menu's load page, the hub's load menu
// and the character screen's load page: used slots of `save_index` as rows over panel 892, a
// pick, and the confirmation of texts 325 / 326 / 327.
//
// Every value of a slot header comes from the index file on disk, so each one is bounded before
// it selects a text: a day, hour or area outside its range shows no text rather than another one.
#pragma once
#include "engine/types.h"

struct SaveSlotHeader;

constexpr s32 SLOT_PANEL_IMAGE = 892;
constexpr s32 SLOT_PANEL_X = 182;
constexpr s32 SLOT_PANEL_Y = 213;
constexpr s32 SLOT_ROW_X = 191;       // rows and clicks start here
constexpr s32 SLOT_ROW_HOVER_X = 190; // the hover band starts one pixel further left
constexpr s32 SLOT_ROW_RIGHT = 447;

// Row y of slot s (223, 244, 273, 294).
s32 slot_row_y(s32 slot);
// Prints slot s's row at y in the current colour (date, turn of the month, area, hour or mark).
void slot_row_draw(s32 slot, s32 y);
// Which used row the point hits (x 191..447, y row - 2 .. row + 18), or -1.
s32 slot_row_hit(s32 x, s32 y);
// As `slot_row_hit` for the hover highlight (x 190..447).
s32 slot_row_hover(s32 x, s32 y);

// The texts of one slot row besides the fixed 302 / 303 / 304: the turn of the month (320 +
// (day - 1) / 6), the area (100 + area) and the slot's mark (349 for slot 0, 350 + hour for slot
// 1). -1 where the header's value is out of range or the slot shows nothing there.
struct SlotRowTexts {
    s32 turn;
    s32 area;
    s32 mark;
};
SlotRowTexts slot_row_texts(const SaveSlotHeader& header, s32 slot);
constexpr s32 SLOT_AREA_MAX = 99; // area texts 100..199
constexpr s32 SLOT_HOUR_MAX = 23; // hour texts 350..373
constexpr s32 SLOT_DAY_MAX = 30;  // five turns of six days a month: texts 320..324

// Panel 892 and every used row, row `lit` (a slot, or -1 for none) highlighted. No present.
void slot_list_draw(s32 lit);

// One pass's input, read at the start of the pass before anything is drawn, so that the click a
// pass acts on and the hover it shows come from the same moment, and a click that arrives while
// the frame is drawn waits for the next pass.
struct SlotInput {
    u32 buttons; // `mouse_buttons`
    s32 x, y;    // the click
    s32 px, py;  // the pointer
};
SlotInput slot_input_read();

// How the list page behaves where the menus differ.
struct SlotListFrame {
    bool restore_screen; // restore the kept screen (`screen_save`) before each pass
    bool can_close;      // a right click inside x 182..456, y 213..349 closes the list
};
// Runs the list page until a used row is clicked (returns its slot) or, when the frame allows it,
// the close click (returns -1).
s32 slot_list_pick(const SlotListFrame& frame);

// What a click on the confirmation means: 1 yes (text 326, x 390..406), 2 no (text 327, x
// 422..438), both at y 321..341; 0 for anywhere else.
constexpr s32 SLOT_CONFIRM_NONE = 0;
constexpr s32 SLOT_CONFIRM_YES = 1;
constexpr s32 SLOT_CONFIRM_NO = 2;
s32 slot_confirm_hit(s32 x, s32 y);
// Runs the confirmation for `pick` until it is answered: 1 to load it, 0 when refused by text 327
// or by a right click inside x 213..438, y 213..390.
s32 slot_confirm(s32 pick);

// Puts the player where the loaded slot left off: slots 0 and 1 (saved inside a map episode) back
// on object 0's saved map and spot, slots 2 and 3 (saved in the hub) with the field loop ended.
void slot_place_after_load(s32 slot);

// True when at least one header of `save_index` is used.
bool slot_list_any_used();
