// The dashboard: the calendar hub's one screen (portrait, stamina gauge, title, name, statistics,
// date, season, equipment and best arts around the backdrop), the bar of eight menu buttons and
// the affection screen.
//
// Every value taken from the saved state (mood, condition, backdrop, page, menu level and pick,
// title index, equipment, known ids, date) is checked before it picks a picture or a table
// record: a damaged value draws nothing in its place and never reads outside a table.
#pragma once
#include "engine/types.h"

// Frame counter 0..39 of the dashboard's animated pictures, advanced by `hub_draw` (not saved).
extern s32 dashboard_anim;
// Index into `player_record.titles` of the earned title the dashboard shows (not saved).
extern s32 dashboard_title;

// Pictures and places of the dashboard.
constexpr s32 DASH_FRAME_IMAGE = 60300;
constexpr s32 DASH_GAUGE_EMPTY = 60320, DASH_GAUGE_FULL = 60321;
constexpr s32 DASH_GAUGE_X = 119, DASH_GAUGE_Y = 23, DASH_GAUGE_COLUMNS = 135;
constexpr s32 DASH_GAUGE_FILL = 133; // columns at stamina 1000
constexpr s32 DASH_BACKDROP_X = 139, DASH_BACKDROP_Y = 120;
constexpr s32 DASH_BACKDROP_FIRST = 60400, DASH_BACKDROP_LAST = 60427;
constexpr s32 DASH_PORTRAIT_X = 27, DASH_PORTRAIT_Y = 11;
constexpr s32 DASH_SEASON_IMAGE = 60325, DASH_SEASON_X = 518, DASH_SEASON_Y = 324;
constexpr s32 DASH_TRAVEL_BACKDROP = 60390, DASH_TRAVEL_X = 149, DASH_TRAVEL_Y = 126;
constexpr s32 DASH_TRAVEL_FIGURE = 60391; // + frame mod 4, at (500 - 15 frame, 208)
constexpr s32 DASH_NO_ENTRY_TEXT = 313;   // "none" in the equipment column

// The bar of menu buttons: button i at (77i + 14, 347), 74 x 119 (both edges inside).
constexpr s32 MENU_BUTTON_IMAGE = 60600; // + 16 x level + i; under the pointer + 8
constexpr s32 MENU_THIRD_IMAGE = 60728;  // + 16 x place set + i; under the pointer + 8
constexpr s32 MENU_BUTTON_LAST = 60759;  // the last button picture
constexpr s32 MENU_BUTTON_X0 = 14, MENU_BUTTON_STEP = 77, MENU_BUTTON_Y = 347;
constexpr s32 MENU_BUTTON_W = 74, MENU_BUTTON_H = 119;

// The blinking continue mark.
constexpr s32 HUB_MARK_IMAGE = 12; // 12..15, each for ten frames
constexpr s32 HUB_MARK_X = 609, HUB_MARK_Y = 449, HUB_MARK_SIZE = 24;
constexpr s32 HUB_MARK_FRAME_MS = 10; // ten frames make the 100 ms of one picture

// The text of the player's title line: the earned title `dashboard_title` when titles were
// earned, else the base title by fame and chivalry; -1 for a damaged title index (print nothing).
// The dashboard and the character screen show it.
s32 dashboard_title_text();

// Draws the whole dashboard into the back buffer; no present.
void hub_draw();
// The dashboard of travel frame f: as `hub_draw`, with the road picture in place of the backdrop
// and the walking figure before the frame picture; no present.
void hub_draw_travel(s32 frame);
// The dashboard of the closing animation: `picture` at (149, 126) in place of the backdrop, one
// fixed set of statistics (attributes, art variety, combat level, fame, chivalry; no page switch),
// the best art where the best skill stands and "none" where the best art stands; no present.
constexpr s32 DASH_CLOSING_X = 149, DASH_CLOSING_Y = 126;
void hub_draw_closing(s32 picture);
// Draws the current bar of menu buttons (only the usable ones); no present.
void hub_menu_draw();
// Command 41: five affection gauges over the dashboard until a button is pressed.
void affection_screen();
// The blinking continue mark at (609, 449) until any mouse button is held: keeps the 24 x 24
// pixels there (already presented frame), redraws them and image 12 + counter / 10 each frame,
// ten frames a picture. Shared by the hub's rest and its dialogue waits. The buttons are cleared
// when the wait starts and again when a click has ended it.
void hub_click_wait();
// The same wait over pixels kept earlier (24 x 24, packed rows) from the mark's place. Both
// return false when the transcript observer ended the wait at once (the input words are then
// untouched), true when a mouse button ended it.
bool hub_click_wait_over(const u16* kept);
// The same wait with the mark at (x, y), over the 24 x 24 pixels kept from there (the shops'
// refusal puts it elsewhere).
bool hub_click_wait_at(s32 x, s32 y, const u16* kept);
bool hub_click_wait_kept();
