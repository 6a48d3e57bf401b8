// The dashboard: the calendar hub's one screen (portrait, stamina gauge, title, name, statistics,
// date, season, equipment and best arts around the backdrop), the bar of eight menu buttons and
// the affection screen.
#pragma once
#include "engine/types.h"

// Frame counter 0..39 of the dashboard's animated pictures, advanced by `hub_draw` (not saved).
extern s32 dashboard_anim;
// Index into `player_record.titles` of the earned title the dashboard shows (not saved).
extern s32 dashboard_title;

// Draws the whole dashboard into the back buffer; no present.
void hub_draw();
// Draws the current bar of menu buttons (only the usable ones); no present.
void hub_menu_draw();
// Command 41: five affection gauges over the dashboard until a button is pressed.
void affection_screen();
// The blinking continue mark at (609, 449) until any mouse button is held: keeps the 24 x 24
// pixels there (already presented frame), redraws them and image 12 + counter / 10 each frame.
// Shared by the hub's rest and its dialogue waits.
void hub_click_wait();
