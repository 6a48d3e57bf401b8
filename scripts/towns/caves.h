// The caves beyond the city's left edge (maps 99, 98, 165, 160, 161, 172 and 162): the sentry pairs
// at the entrance, the companions' talk on map 98, the three locks that open the hidden portals
// (the picture room of map 160, the item pedestals of map 161, the placement puzzle of map 172)
// and the ambushes that start as soon as the player arrives on the four inner maps.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <array>
#include <span>

constexpr const char* CAVES_OWNER = "the caves";

// The locks and what they open.
constexpr s32 CAVE_PICTURE_ROOM_OBJ = 1457; // map 160
constexpr s32 CAVE_PUZZLE_OBJ = 1458;       // map 172
constexpr s32 CAVE_PEDESTAL_OBJS[] = {1454, 1455, 1456};
constexpr s32 CAVE_PORTAL_TO_161 = 1395;
constexpr s32 CAVE_PORTAL_TO_172 = 1397;
constexpr s32 CAVE_PORTAL_TO_162 = 1399;
constexpr s32 CAVE_BARRIER_160 = 1463;
constexpr s32 CAVE_BARRIER_161 = 1459;
constexpr s32 CAVE_PUZZLE_ZONE = 1466;
constexpr s32 CAVE_PUZZLE_SPRITES[] = {1464, 1465};

// The pedestal items: the menu offers item CAVE_PEDESTAL_ITEM_FIRST + i as text
// CAVE_PEDESTAL_OPTION_FIRST + i for each one the player holds.
constexpr s32 CAVE_PEDESTAL_ITEM_FIRST = 2360;
constexpr s32 CAVE_PEDESTAL_ITEMS = 6;
constexpr s32 CAVE_PEDESTAL_OPTION_FIRST = 7360;

// The placement puzzle: four slots on the board (hit box, bounds exclusive, and the place a piece
// is drawn at) and the piece each slot wants.
struct PuzzleSlot {
    s32 x_lo, x_hi, y_lo, y_hi;
    s32 place_x, place_y;
};
constexpr PuzzleSlot CAVE_PUZZLE_SLOTS[] = {
    {270, 321, 77, 128, 269, 75},
    {390, 437, 77, 128, 385, 75},
    {270, 321, 146, 198, 269, 145},
    {333, 382, 146, 198, 329, 143},
};
constexpr s32 CAVE_PUZZLE_PIECES = 4;
constexpr std::array<s32, CAVE_PUZZLE_PIECES> CAVE_PUZZLE_SOLUTION = {3, 2, 0, 1}; // by slot
// The slot whose hit box holds screen point (x, y) among those not yet filled; -1 for none.
s32 cave_puzzle_slot_at(s32 x, s32 y, const std::array<bool, CAVE_PUZZLE_PIECES>& filled);

// The ambushes of maps 160, 161, 172 and 162.
constexpr s32 CAVE_OUTCOME_FLAG = 98; // the city episode's outcome; 2 when an ambush is lost
constexpr s32 CAVE_AMBUSH_LOST = 2;
constexpr s32 CAVE_AMBUSH_FAME = 5;

// Every frame and picture these scripts show that no population row names, each passed to visit.
void caves_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

std::span<const ScriptSlot> caves_slots();
ScriptRegion caves_region();
