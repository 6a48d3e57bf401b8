// The five residents of map 16 with their phased idle routines (objects 140-144), the pair of
// map 10 whose remarks answer each other (171, 172), the pair of map 12 who tell the hour and
// share one talk (173, 174), and the resident of map 33 (176).
//
// The idle routines of all but the last are rows of one phase table run by one function; the
// talks are tables of cells (scripts/cells.h), the pair of map 12 through `pair_run`.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// Object 140 at its stage 2 tells when the guessing game of the map-10 episode is played and
// leaves the hint (1..4) in ATTR_VAR_B of the episode's guesser.
constexpr s32 CLOCK_HINT_OBJ = 2008;
// The hint for a time of day: 1 (hour 9, minute 0-30), 2 (hour 9, minute 31-59), 3 (another
// hour, minute 0-30) or 4 (another hour, minute 31-59). Pure.
constexpr s32 clock_hint_value(s32 hour, s32 minute) {
    return (hour == 9 ? 1 : 3) + (minute <= 30 ? 0 : 1);
}

void object_event_0061();
void object_event_0062();
void object_event_0063();
void object_event_0064();
void object_event_0065();
void object_event_0079();
void object_event_0080();
void object_event_0081();
void object_event_0082();
void object_event_0084();

// Every frame that these scripts show or set beyond an object's first frame, so that the
// placeholder archive can be checked to hold a picture for each.
void pairs_and_map16_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* HOME_PAIRS_MAP16_OWNER = "home pairs and map 16";
std::span<const ScriptSlot> home_pairs_map16_slots();
ScriptRegion home_pairs_map16_region();
