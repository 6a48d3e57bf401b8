// The shop keepers of town A (maps 102, 105, 108 and 118) and of the city (map 200 and its
// interiors), and the delivery errand that the city's shop-16 keeper hands out.
//
// Every keeper is one row {shop, talk distance, idle loop and remark, turn frames, greeting and
// when it is said, menu, errand option, wanted goods} run by one function: the idle loop on the
// timer; on a click the guard, the turn, the greeting, the block of the keeper's stage and the
// frame put back. Stage 0 is the plain menu over the shop screens; stage 60 is the errand, whose
// menu gains the delivery option; a few keepers have stages of their own that other city scripts
// switch on (a trade, an offer, a quiz, a small quest).
//
// The errand: accepted at keeper 1025 between 11:00 and 14:59, it parks thirteen keepers (the
// fishing host among them) at stage 60 with their stage kept in ATTR_VAR_B, gives items
// 2366-2371 and, while the street scene's step zone 1040 is still active, hides 1040, 1064 and
// 1041. A delivery of a keeper's wanted goods gives a token (item 2388) and puts the keeper's
// stage back exactly; other goods are lost. Tokens are traded back at keeper 1025 by how many are
// handed in at once. Nothing ends the errand as a whole.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The stage of a keeper while the errand runs.
constexpr s32 ERRAND_STAGE = 60;
// The errand keeper and what the errand touches.
constexpr s32 ERRAND_KEEPER = 1025;
constexpr s32 ERRAND_TOKEN = 2388;
constexpr s32 ERRAND_ZONE =
    1040; // the street scene's step zone; ATTR_VAR_B 1: hidden by the errand
constexpr s32 ERRAND_WALKER_A = 1064;
constexpr s32 ERRAND_WALKER_B = 1041;
constexpr s32 ERRAND_HOST = 1091; // the fishing host, the thirteenth keeper of the errand
constexpr s32 ERRAND_HOST_WANTS = 2062;
constexpr s32 ERRAND_HOST_OPTION = 1; // its stage-60 menu: 25372, then the errand option 25371

// The thirteen keepers that the errand parks, in the order it parks them.
constexpr s32 ERRAND_KEEPERS[] = {1011, 1012, 1020, 1032, 1057, 1091, 1019,
                                  1030, 1031, 1034, 1035, 1037, 1038};
// The goods offered for delivery, in option order (texts 25363-25368).
constexpr s32 ERRAND_GOODS[] = {2059, 2062, 2063, 2058, 2064, 2061};

// The goods keeper `obj` wants delivered (0: none; the host's included).
s32 errand_wanted(s32 obj);
// Accepting the errand: every keeper of the list parked at stage 60, the hand-out given, the scene
// of zone 1040 put off while it is still to come. Keeper 1025's own stage is the caller's.
void errand_accept();
// The delivery on keeper `keeper` at stage 60: the goods chosen at box position `pos`, then the
// token and the stage restored, the goods lost, or the player's refusal line.
void errand_delivery(s32 keeper, s32 pos);
// The token trade at keeper 1025 (the keeper speaks).
void errand_token_trade(s32 keeper);
// The prize for n tokens handed in at once: its item and count (count 0: no trade).
struct TokenPrize {
    s32 item = 0;
    s32 count = 0;
};
TokenPrize errand_token_prize(s32 n);

// Calls visit(frame) for every frame the keepers show (idle loops, turns, the walking keeper's
// steps and its sign), so that a picture can be supplied for each.
void shops_and_delivery_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0855(); // shop 35, map 102
void object_event_0859(); // shop 27, map 108 (mirrored)
void object_event_0865(); // shop 28, map 105
void object_event_0888(); // shop 30, map 118
void object_event_0608(); // 1011, shop 20: the trade of item 2376
void object_event_0609(); // 1012, shop 25: the offer of item 2321
void object_event_0616(); // 1019, shop 14: the talk that shows object 2108
void object_event_0617(); // 1020, shop 13
void object_event_0622(); // 1025, shop 16: the errand and the token trade
void object_event_0626(); // 1030, shop 19
void object_event_0627(); // 1029, shop 22, map 203: the walking keeper and its quiz
void object_event_0628(); // 1031, shop 21: the item 2280 errand
void object_event_0629(); // 1032, shop 18
void object_event_0631(); // 1034, shop 26
void object_event_0632(); // 1035, shop 15
void object_event_0634(); // 1037, shop 24 (mirrored)
void object_event_0635(); // 1038, shop 17
void object_event_0646(); // 1057, shop 9

constexpr const char* TOWN_SHOPS_OWNER = "town shops and the delivery errand";
std::span<const ScriptSlot> town_shops_slots();
ScriptRegion town_shops_region();
