#pragma once
// Route 1 of the episode of the two camps on maps 61 to 66 (the start on map 63): the player sides
// with person 200. The patrol and person 112's talk, the meeting at the way west of map 63 (the
// journey through maps 66 and 65, or a refusal), the guide who leads the player back from map 64,
// and the two finales. The objects, the crowd, the barred ways and person 163's visit are those
// of scripts/episodes/camps.
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr const char* CAMPS_ROUTE1_OWNER = "the camps, route 1";

// The outcome: 1 and 3 the two good ends, 2 any lost battle; the second good answer of the first
// finale also stores 1 in the later flag.
constexpr s32 ROUTE1_OUTCOME_FLAG = 93;
constexpr s32 ROUTE1_FIRST_END = 1;
constexpr s32 ROUTE1_LOST = 2;
constexpr s32 ROUTE1_SECOND_END = 3;
constexpr s32 ROUTE1_LOYAL_FLAG = 70;

// The objects route 1 drives.
constexpr s32 ROUTE1_PATROL = 3522;        // the man on patrol, map 63
constexpr s32 ROUTE1_MEETING_ZONE = 3523;  // map 63, (310, 778)
constexpr s32 ROUTE1_PERSON_112 = 3524;    // stage 1 once the guide has led the player back
constexpr s32 ROUTE1_GUIDE = 3527;         // person 200, stages below
constexpr s32 ROUTE1_FIRST_FINALE = 3585;  // zone on map 63, hidden until the guide shows it
constexpr s32 ROUTE1_SECOND_FINALE = 3621; // zone on map 66, hidden until battle 44 is won
constexpr s32 ROUTE1_BARRED_WAY = 3623;    // zone on map 63 shown after a refusal
constexpr s32 ROUTE1_CROWD_STATE = 3500;   // its stage: 2 after a decisive fight

// The guide's stages.
enum Route1GuideStage : s32 {
    ROUTE1_GUIDE_WAITING = 0,
    ROUTE1_GUIDE_LEAVING = 1, // walking off map 64
    ROUTE1_GUIDE_ON_63 = 2,   // walking to the meeting point on map 63
    ROUTE1_GUIDE_MEETING = 3,
    ROUTE1_GUIDE_DONE = 4,
};

// Every frame and picture the file's tables and scripts show.
void camps_route1_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

std::span<const ScriptSlot> camps_route1_slots();
ScriptRegion camps_route1_region();
