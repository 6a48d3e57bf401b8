// The city episode's story scenes that are not a person's talk: the meeting point on map 200
// where the player joins the two companions (and which later closes their part of the story),
// the blocking zone at the west edge of map 200, the gang on map 208, the group on map 213, the
// ferryman between maps 226 and 227, and the way out of the caves on map 162, which ends the
// episode well and leads to the city's finale when the trials have been passed.
//
// The zones are step zones (scripts/zones.h) whose scenes are cue tables and talk cells; the
// gang's six wordings are one table of dialogues.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The objects these scenes stand on and move.
constexpr s32 CITY_MEETING_POINT = 1090;
constexpr s32 CITY_GANG_ZONE = 1044;
constexpr s32 CITY_GROUP_ZONE = 1084;
constexpr s32 CITY_FERRYMAN = 1136;
constexpr s32 CITY_CAVE_EXIT = 1142;

// The meeting point's stages (its ATTR_VAR_A).
enum CityMeetingStage : s32 {
    MEETING_NOT_MET = 0,
    MEETING_MET = 1,    // the point blocks the way
    MEETING_BARRED = 2, // resident 1008 bars the way (set by the search errand)
    MEETING_CLOSED = 3,
    MEETING_FAREWELL_PASSED = 4, // set by the trials
    MEETING_FAREWELL_FAILED = 5,
};

// Which of the gang's six wordings plays: by story flag 11 (1, 2, else) and whether object 1066
// has asked for item 2351 (its stage 2). Wordings 0 and 3 end without a fight.
s32 city_gang_variant(s32 flag11, bool asked_for_item);

// Calls visit(frame) for every frame these scenes show.
void city_scenes_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* CITY_SCENES_OWNER = "city scenes";
std::span<const ScriptSlot> city_scenes_slots();
ScriptRegion city_scenes_region();
