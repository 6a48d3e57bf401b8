// The shopkeepers of the home map and its interiors. Each keeper is a resident whose talk (a table
// of cells) ends in a menu of buy, sell and leave over the shop screens of its shop number; most
// introduce themselves first and some teach at the first talk. Their side stories:
//
// - the shop-7 keeper (map 10) rewards selling item 1864 or 1881 on the first day;
// - the shop-8 keeper (map 10) counts the items 1844 sold to it in affection entry 302 (which is
//   no person) and pays ten items 2241 once the count reaches 5;
// - the smith (map 14) takes on a forging job through the two-track timing game while item 1571
//   is held, and lights its glow (object 117) during its hammer loop;
// - the shop-3 keeper (map 15) asks the portrait quiz once the bench sitter of map 10 has sent
//   the player;
// - the shop-1 keeper (map 18) raises the farewell counter (story flag 40) and plays the
//   companion's farewell scene in the open world.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// ---- The portrait quiz -----------------------------------------------------------------------

// Fifteen portraits (image 1000 + person) on a 5 x 3 grid; each cell is 126 x 151 pixels from its
// corner, both edges included.
constexpr s32 QUIZ_COLUMNS = 5;
constexpr s32 QUIZ_ROWS = 3;
constexpr s32 QUIZ_CELL_W = 125; // the last column inside a cell is x + 125
constexpr s32 QUIZ_CELL_H = 150; // the last row inside a cell is y + 150
constexpr s32 QUIZ_COLUMN_X[QUIZ_COLUMNS] = {3, 130, 257, 384, 511};
constexpr s32 QUIZ_ROW_Y[QUIZ_ROWS] = {8, 165, 322};
constexpr s32 QUIZ_PERSONS[QUIZ_COLUMNS * QUIZ_ROWS] = {29,  39,  40,  72,  74, 75,  104, 112,
                                                        146, 148, 180, 200, 12, 234, 53};
constexpr s32 QUIZ_RIGHT_CELL = 8; // person 146, middle row, fourth column
constexpr s32 QUIZ_RIGHT = 1;
constexpr s32 QUIZ_WRONG = 2;
constexpr s32 QUIZ_MISS = 0;

// The answer of a left click at screen (x, y): QUIZ_RIGHT on the right cell, QUIZ_WRONG on any
// other, QUIZ_MISS outside every cell (the gaps between them included). Pure.
s32 portrait_quiz_hit(s32 x, s32 y);
// The quiz screen: draws the portraits, then waits for a left click on a cell and returns its
// answer (1 right, 2 wrong); the buttons and the click are cleared on return. The caller redraws
// the scene.
s32 portrait_quiz();
// The shop-3 keeper asks the quiz through this (portrait_quiz unless a test puts a fake in).
extern s32 (*portrait_quiz_seam)();

// ---- Side stories ----------------------------------------------------------------------------

// The counter of items 1844 sold to shop 8 (a new game starts it at -1) and its goal.
constexpr s32 COLLECTION_COUNTER = 302;
constexpr s32 COLLECTION_GOAL = 5;
// The farewell counter raised by the shop-1 keeper at its open-world stage.
constexpr s32 FAREWELL_FLAG = 40;

// ---- Frames ---------------------------------------------------------------------------------

// Calls visit(frame) for every frame the keepers and their props show (idle loops, turns, the
// end frames and the smith's glow), so that a picture can be supplied for each.
void shopkeepers_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0008(); // shop 9, map 10
void object_event_0009(); // shop 7, map 10: the first-day sale reward
void object_event_0022(); // the smith, shop 6, map 14: the forging job
void object_event_0023(); // shop 0, map 19, and its prop (object 70)
void object_event_0030(); // shop 1, map 18: the companion's farewell
void object_event_0031(); // shop 2, map 11
void object_event_0032(); // shop 8, map 10: the collection counter
void object_event_0034(); // shop 3, map 15: the portrait quiz
void object_event_0035(); // shop 5, map 13

constexpr const char* HOME_SHOPKEEPERS_OWNER = "home shopkeepers";
std::span<const ScriptSlot> home_shopkeepers_slots();
ScriptRegion home_shopkeepers_region();
