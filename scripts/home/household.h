// The household of the home map and the first day: the step area that starts the opening scene
// (`object_event_0001`), the collector of offerings on map 10 (`object_event_0002`), the master
// of the house on map 12 with his menu and the ranking panel (`object_event_0003`), the second
// member of the household (`object_event_0004`), and the first-day director on timer object 5
// (`object_event_0005`), which keeps the body's needs ticking every game minute, opens three
// residents at 10:00 and, from 15:00 on, plays the evening scene, assesses the day and ends the
// field loop.
//
// The long scenes are tables of cues (scripts/cues.h); the talks are tables of cells
// (scripts/cells.h).
#pragma once
#include "engine/types.h"
#include "scripts/cues.h"
#include "scripts/kit.h"

#include <span>

// Objects of the day.
constexpr s32 HOUSE_COMPANION = 2;
constexpr s32 HOUSE_MASTER = 3;
constexpr s32 HOUSE_MEMBER = 4;
constexpr s32 HOUSE_DIRECTOR = 5;
constexpr s32 HOUSE_EVENING_HOST = 178; // the figure of map 21 in the evening scene
constexpr s32 HOUSE_EVENING_PROP = 271;
constexpr s32 HOUSE_TEN_OCLOCK[] = {225, 226, 227}; // residents opened at 10:00

// Portraits.
constexpr s32 HOUSE_PLAYER_PORTRAIT = 1000;
constexpr s32 HOUSE_COMPANION_PORTRAIT = 1203;
constexpr s32 HOUSE_MASTER_PORTRAIT = 1163;
constexpr s32 HOUSE_EVENING_PORTRAIT = 1207;

// The pose of the household's practice service: while the player sits in it, the master and the
// second member show fixed frames instead of turning the player.
constexpr s32 HOUSE_PRACTICE_POSE = 74;

// The evening: the hour it starts, the map it plays on, its first line there or elsewhere.
constexpr s32 HOUSE_EVENING_HOUR = 15;
constexpr s32 HOUSE_TEN_HOUR = 10;
constexpr s32 HOUSE_EVENING_MAP = 21;
constexpr s32 HOUSE_EVENING_LINE_THERE = 10701;
constexpr s32 HOUSE_EVENING_LINE_ELSEWHERE = 10700;

// The day's assessment: attribute 5 grows by the sum of the skills 0..23, the attributes and the
// fame over 25, and by the money over 700, up to 100; log line 333 shows the result.
constexpr s32 HOUSE_ASSESS_SKILLS = 24;
constexpr s32 HOUSE_ASSESS_SUM_DIVISOR = 25;
constexpr s32 HOUSE_ASSESS_MONEY_DIVISOR = 700;
constexpr s32 HOUSE_ASSESS_CAP = 100;
constexpr s32 HOUSE_ASSESS_LOG = 333;
// The new attribute 5 after the day's assessment (pure; the record is not changed).
s32 household_assessment(s32 attr5, s32 sum, s32 money);

// The collector of offerings: log line 280 with every offering that lowers attribute 5.
constexpr s32 HOUSE_OFFERING_LOG = 280;

void object_event_0001();
void object_event_0002();
void object_event_0003();
void object_event_0004();
void object_event_0005();

// ---- Scenes ------------------------------------------------------------------------------------

// The opening and the evening as cues (for the tests).
std::span<const Cue> household_opening_cues();
std::span<const Cue> household_evening_cues();

// ---- Slots -------------------------------------------------------------------------------------

constexpr const char* HOME_HOUSEHOLD_OWNER = "home household";
std::span<const ScriptSlot> home_household_slots();
ScriptRegion home_household_region();
