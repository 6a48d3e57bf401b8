// The three seated services of the home region, each a clickable place and the person who serves
// there, with the player held in a pose while served:
//
// - the practice spot of the master's house (map 12, object 165): object 4 gives a paid practice
//   of one of five kinds (shop 11's prices), which trains growth index 21 and restores the body;
// - the dining table of map 22 (object 166) and its waiter (object 167): a dish of five (shop 4's
//   prices, food items 2050-2054) is ordered, brought after five timer runs of ten frames and
//   eaten; the first taste of each dish is a small scene with the cook (object 22);
// - the served table of map 21 (object 177), its server (object 178) and the food-shop keeper
//   (object 170): a free serving that changes no value.
//
// The walks and frame runs of the attendants are scenes of cues (scripts/cues.h); the pose loops
// of the seated player (slots 74, 76 and 86) are rows of the pose family.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// ---- Prices and payment ----------------------------------------------------------------------

constexpr s32 PRACTICE_SHOP = 11; // practice kind k costs the price of row k-1
constexpr s32 DINING_SHOP = 4;    // dish k costs the price of row k-1 (also the food shop's stock)
constexpr s32 SERVICE_KINDS = 5;

// The price of row `option` (0..4) of `shop`; -1 outside the table.
s32 service_price(s32 shop, s32 option);
// Pays for option 0..4 of a menu of five priced kinds: only money greater than the price pays it
// (money equal to the price refuses), and any other option (a closed menu) pays nothing. Returns
// true when paid.
bool service_pay(s32 shop, s32 option);

// ---- The practice ----------------------------------------------------------------------------

constexpr s32 PRACTICE_GROWTH = 21;
constexpr s32 PRACTICE_TALLY_BASE = 1949; // item_tally[1949 + k] counts the practices of kind k
constexpr s32 PRACTICE_TALLY_BOUND = 100; // the tally of a kind rises while below this
constexpr s32 PRACTICE_REWARD_SUM = 10;   // the five tallies at this sum give the reward
constexpr s32 PRACTICE_REWARD_ITEM = 1901;

// The practice of kind k (1-5) after its payment: object 4's exercise, the first-practice lesson
// or (in month 9 of year 1) the tally and its reward, fullness, the recovery and the growth.
void practice_run(s32 kind);

// ---- The dining room -------------------------------------------------------------------------

constexpr s32 DISH_TALLY_BASE = 2049; // item_tally[2049 + k] is the tally of dish k; food 2049 + k
constexpr s32 SERVING_COUNTDOWN = 5;  // timer runs of SERVING_REARM frames until served
constexpr s32 SERVING_REARM = 10;

// ---- Frames ---------------------------------------------------------------------------------

// Calls visit(frame) for every frame the services show (the choreographies, the idle loops and the
// turns), so that a picture can be supplied for each.
void dining_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0073(); // the practice spot of map 12
void object_event_0075(); // the dining table of map 22
void object_event_0077(); // the waiter of map 22
void object_event_0078(); // the food-shop keeper of map 21
void object_event_0085(); // the served table of map 21
void object_event_0087(); // the server of map 21

constexpr const char* HOME_DINING_OWNER = "home dining";
std::span<const ScriptSlot> home_dining_slots();
ScriptRegion home_dining_region();
