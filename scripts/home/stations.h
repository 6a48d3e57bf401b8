// The fixed click areas of the home region that serve the player without a resident: the
// activity stations of maps 41 and 43 (a mini-game, when the player carries its tools and has the
// strength), the aptitude spot of map 51 (a special item turned into one permanent boost, chosen
// once) and the beds (whole hours of sleep within the bed's daily limit). Their objects are
// undrawn (layer 0) and marked by a hover cursor; stations and beds answer a click from anywhere,
// the aptitude spot only from near its point.
//
// Stations and beds are rows of one table each, run by one function; every station goes through
// the kit's `station_gate`, so the game's closing click never reaches the station again.
#pragma once
#include "engine/types.h"
#include "scripts/games.h"
#include "scripts/kit.h"

#include <span>

// ---- Stations --------------------------------------------------------------------------------

constexpr s32 STATION_COACH = 250;          // the aiming coach, person 250
constexpr s32 STATION_COACH_RELATION = 301; // the affection entry the coach's teacher raises
constexpr s32 STATION_COACH_FROM = 51;      // the coach comes from this value on
constexpr s32 STATION_NO_COACH = -1;

struct StationRow {
    s32 slot = 0;
    StationGate gate;
    bool coached = false; // the game's second argument is the coach (or STATION_NO_COACH)
};
std::span<const StationRow> station_rows();
// The gate of a row as it runs now: the coach filled in from the relation counter.
StationGate station_gate_now(const StationRow& row);
// A click on a station: its gate, and the game when every check passes.
void station_run(const StationRow& row);

// ---- The aptitude spot -----------------------------------------------------------------------

// The spot's ATTR_VAR_A: not yet used, readied, spent (2 and above).
constexpr s32 APTITUDE_FRESH = 0;
constexpr s32 APTITUDE_READY = 1;
constexpr s32 APTITUDE_SPENT = 2;
constexpr s32 APTITUDE_X = 597, APTITUDE_Y = 363, APTITUDE_REACH = 100;
constexpr s32 APTITUDE_ITEM_LO = 2160, APTITUDE_ITEM_HI = 2169;
constexpr s32 APTITUDE_ADVISER = 196; // person 14, a resident of map 51

// ---- Beds ------------------------------------------------------------------------------------

constexpr s32 BED_MAX_HOURS = 5;
constexpr s32 BED_OFFER_TEXT = 10741;
constexpr s32 BED_FIRST_OPTION = 10742; // option i (one hour more each) is text 10742 + i

struct BedRow {
    s32 slot = 0;
    s32 last_hour = 0; // the player may sleep until last_hour + 1:00 at the latest
    s32 refusal = 0;   // said when not one whole hour is left
};
std::span<const BedRow> bed_rows();
// The whole hours a bed offers at hour:minute (0 or fewer: none), at most five (pure).
s32 bed_hours(s32 last_hour, s32 hour, s32 minute);
// A click on a bed: the offer, the hours chosen slept through (clock and stamina), or the refusal.
void bed_sleep(const BedRow& row);

// The bed of the home (map 26): object 273 at (345, 160), slot 145, awake by 15:00.
constexpr s32 HOME_BED_OBJ = 273;
constexpr s32 HOME_BED_MAP = 26;
constexpr s32 HOME_BED_X = 345, HOME_BED_Y = 160;

// ---- Frames ----------------------------------------------------------------------------------

// Calls visit(frame) for every frame these scripts show beyond the objects' own (the player's
// animation at the aptitude spot).
void stations_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0144(); // the aptitude spot of map 51

constexpr const char* HOME_STATIONS_OWNER = "home stations and beds";
std::span<const ScriptSlot> home_stations_slots();
ScriptRegion home_stations_region();
