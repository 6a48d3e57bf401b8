// The four pages behind the tabs of the character screen: items (used from here), album, arts and
// acquaintances. Each page draws its full-screen picture 939 over the status page and the tab row
// in every pass, hands left clicks on the tab row to `info_tabs_click`, and runs until a tab click
// or a right click in its area ends it (the item page also ends when an item is used).
//
// The item grid (thirteen category tabs, fifteen columns a page, page arrows, the hovered item's
// picture, count and description) and the acquaintance card are shared with the companion visit,
// whose gift picker and person chooser draw them over the dashboard.
#pragma once
#include "engine/types.h"

// ---- Item grid ----------------------------------------------------------------------------------

// One category tab: caption text, the pointer's x range (y 100..130), where its hover picture
// (916 + tab) goes, and the item numbers it lists.
struct InfoCategoryTab {
    s32 caption;
    s32 x0, x1;
    s32 pic_x, pic_y;
    s32 first, last;
};
constexpr s32 INFO_CATEGORY_TABS = 13;
constexpr s32 INFO_CATEGORY_Y0 = 100, INFO_CATEGORY_Y1 = 130;
constexpr s32 INFO_CATEGORY_IMAGE = 916; // + tab, while the pointer is on it
extern const InfoCategoryTab INFO_CATEGORY_TAB[INFO_CATEGORY_TABS];

constexpr s32 INFO_ITEM_COLUMNS = 15;
// Column p of the grid spans x 520 - 25p .. 538 - 25p, y 144..265.
constexpr s32 INFO_COLUMN_RIGHT_X = 520, INFO_COLUMN_STEP = 25, INFO_COLUMN_W = 19;
constexpr s32 INFO_COLUMN_Y0 = 144, INFO_COLUMN_Y1 = 265;

// Where the item page and the gift picker differ.
struct InfoItemGridFlags {
    bool page_frame;   // picture 939 and the tab row behind the grid (else the dashboard), and
                       // clicks on the tab row may end it
    bool kind_caption; // the hovered item's kind caption
    bool right_exit;   // a right click in the grid's areas ends it
    bool use_rule;     // only items that may be used are taken (else any listed item is)
    s32 from_hub;      // for the use rule and the kind caption
};
// What `info_item_grid` ended with besides an item (0..2499).
constexpr s32 INFO_GRID_TAB_END = -1;   // a click on the tab row ended it
constexpr s32 INFO_GRID_RIGHT_END = -2; // a right click in its areas

// Runs the item grid over the whole inventory until a listed item is clicked (returns the item)
// or, where the flags allow, a tab click or a right click ends it.
s32 info_item_grid(const InfoItemGridFlags& flags);
// 1 when the item page uses the item on a click: kinds 1..10, and from the hub only equipment,
// special items and antiques.
bool info_item_usable(s32 item, s32 from_hub);

// ---- Acquaintance card --------------------------------------------------------------------------

// Acquaintances before the first free entry (or an entry that names no person), at most 50.
s32 info_people_count();
// The card of acquaintance j of n (pictures 933 and 937 are the caller's): portrait, name, the
// affection with its label, the name line, and the arrows to the previous and next person.
void info_person_draw(s32 j, s32 n);
// The person after a left click at (x, y): j - 1 on the previous arrow (j > 0), else j + 1 on the
// next arrow (j < n - 1), else j.
s32 info_person_step(s32 x, s32 y, s32 j, s32 n);

// ---- Arts cells ---------------------------------------------------------------------------------

// Cell of known list 0..23 on the arts page: its top-left corner; each is 30 x 30.
struct InfoArtsCell {
    s32 x, y;
};
constexpr s32 INFO_ARTS_LISTS = 24;
constexpr s32 INFO_ARTS_CELL_SIZE = 30;
extern const InfoArtsCell INFO_ARTS_CELL[INFO_ARTS_LISTS];

// ---- Pages --------------------------------------------------------------------------------------

void info_page_items(s32 from_hub);
void info_page_arts();
void info_page_album();
void info_page_people();
