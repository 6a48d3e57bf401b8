// The character and system screen: the status page (portrait aura, title, name, vitals, money,
// equipment, mp, values and the clock panel), the row of five tabs that opens the four pages of
// game/info_pages.h, and, when opened from a map while the player's countdown is off, the load,
// save and quit buttons of the system menu.
//
// Opened from a map (the player object's click script) with from_hub 0, from the calendar hub's
// command 40 with from_hub 1. The screen changes the game only through item use, the two requests
// below, the title shown (`dashboard_title`), a load and quitting.
#pragma once
#include "engine/types.h"

// 1 while `info_screen_loop` runs; 0 ends the screen after the current pass.
extern s32 info_running;
// The page the loop runs next; at most one of them is 1.
extern s32 info_tab_items;
extern s32 info_tab_album;
extern s32 info_tab_arts;
extern s32 info_tab_people;
// 1 while a page is open (the close tab's caption depends on it).
extern s32 info_page_open;
// Requests of the screen to the player object's script: the slot chosen on the load page + 1 (0 =
// none; the screen loads it itself, the script clears it), and 1 after the save button (the script
// saves slot 1 and clears it). Cleared at a new game.
extern s32 info_load_slot;
extern s32 info_save_request;
// The portrait aura: pass counter 0..5 and frame 0..6.
extern s32 info_anim_tick;
extern s32 info_anim_frame;

// Pages of `info_tabs_click`.
constexpr s32 INFO_PAGE_ITEMS = 1;
constexpr s32 INFO_PAGE_ALBUM = 2;
constexpr s32 INFO_PAGE_ARTS = 3;
constexpr s32 INFO_PAGE_PEOPLE = 4;

// Pictures and texts of the status page.
constexpr s32 INFO_STATUS_IMAGE = 900;
constexpr s32 INFO_HP_COLUMN = 800, INFO_STAMINA_COLUMN = 801;
constexpr s32 INFO_AURA_FRAMES = 7;
constexpr s32 INFO_LOAD_IMAGE = 888, INFO_SAVE_IMAGE = 890, INFO_QUIT_IMAGE = 893; // + 1 hovered
constexpr s32 INFO_QUIT_PANEL = 895;
constexpr s32 INFO_DIAL_IMAGE = 971; // + dial step 0..23
constexpr s32 INFO_DIAL_STEPS = 24;
constexpr s32 INFO_CLOCK_LABELS = 6;

// One tab of the row: the hover and click range (y 36..92), its plain and highlighted pictures
// and its caption (the close tab's caption while a page is open is INFO_CLOSE_CAPTION_PAGE).
struct InfoTab {
    s32 x0, x1;
    s32 plain, plain_x, plain_y;
    s32 lit, lit_x, lit_y;
    s32 caption, caption_x, caption_y;
};
constexpr s32 INFO_TABS = 5; // items, album, arts, acquaintances, close
constexpr s32 INFO_TAB_CLOSE = 4;
constexpr s32 INFO_TAB_Y0 = 36, INFO_TAB_Y1 = 92;
constexpr s32 INFO_CLOSE_CAPTION_PAGE = 590, INFO_CLOSE_CAPTION_PAGE_X = 606,
              INFO_CLOSE_CAPTION_PAGE_Y = 10;
extern const InfoTab INFO_TAB_ROW[INFO_TABS];

// The tab under (x, y), 0..4, or -1.
s32 info_tab_at(s32 x, s32 y);

// The dial step of the clock panel for hour h and minute m: 2h + m / 30 - 10 for 5..16 (day
// half), 2h + m / 30 - 34 for 17..23 and 2h + m / 30 + 14 for 0..4 (night half); -1 for an hour
// outside 0..23.
s32 info_clock_step(s32 hour, s32 minute);
// The label of the clock panel drawn lit: label c / 4 of the half that the hour falls in (day
// half 3303..3308, night half 3309, 3310, 3311, 3300, 3301, 3302); -1 for an hour outside 0..23.
s32 info_clock_lit_label(s32 hour, s32 minute);

// Opens the screen and, after it, carries out a load chosen on its load page: fade out, load;
// only when the load succeeded, slots 0 and 1 put the player back on the saved map and fade in,
// slots 2 and 3 end the running field loop.
void info_screen(s32 from_hub);
// The screen's loop: the status page each pass, its clicks, the page whose tab is set.
void info_screen_loop(s32 from_hub);
// Draws the status page (no present).
void info_page_status(s32 from_hub);
// Draws the clock panel: the date after calendar turn 234, the dial and its six labels.
void info_page_clock();
// Draws the tab row, the tab under the pointer highlighted with its caption.
void info_tabs_draw();
// A left click on the tab row while `page` is open (reads click_x, click_y): 1 when the page must
// end, else 0.
s32 info_tabs_click(s32 page);
