#pragma once
// The director of the city episode: timer object 1097 (slot 685), shown by the episode's scene
// set-up, runs on every field frame on every map until the episode ends.
//
// Each frame, in this order: the home region's first-day director (object 5) is kept hidden; the
// clock stands still in the caves and runs at 300 frames a minute elsewhere; the director re-arms
// for the next frame; the body's minute upkeep; resident 1065 is present only from 6:00 to 10:59
// and from 15:00; on day 2 of a month some residents change; and at minute 0 of an hour from
// 15:00 the episode closes: with the city finale when the trials are passed (`story_flag_97`),
// otherwise with one closing line and the end of the field loop (`story_flag_98` untouched).
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr const char* CITY_DIRECTOR_OWNER = "city director";

constexpr s32 CITY_DIRECTOR_OBJ = 1097;
constexpr s32 CITY_FIRST_DAY_DIRECTOR = 5; // the home region's, silent during the episode
constexpr s32 CITY_PART_TIME_RESIDENT = 1065;
constexpr s32 CITY_CLOCK_RATE = 300; // field frames a game minute outside the caves
constexpr s32 CITY_CLOSE_HOUR = 15;
constexpr s32 CITY_MET_GROUP_FLAG = 95;
constexpr s32 CITY_TRIALS_FLAG = 97;

// The maps on which the clock stands still (the caves beyond the city).
bool city_clock_stops_on(s32 map);

void object_event_0685(); // the director (timer only)

std::span<const ScriptSlot> city_director_slots();
ScriptRegion city_director_region();
