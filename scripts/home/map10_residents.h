// The stationary residents of map 10 and the lesson hall of map 40: bystanders with a line or a
// short talk, the performer whose act is caught at the right moment (slot 120) and its two
// neighbours, a pair and the step areas that make residents speak, and the three residents of
// map 40 who give a scripted lesson. Also the companion's farewell scene, which the shop keeper
// of map 18 and two scripts of the open world call.
//
// The talks are tables of cells (scripts/cells.h); the step areas and the scenes are cue tables
// (scripts/cues.h).
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The performer of map 10 and its act: the loop of frames and the frames that count as caught.
constexpr s32 PERFORMER_OBJ = 224;
constexpr s32 PERFORMER_REST = 33100;
// Whether a click on the performer's frame `frame` (taken before it turns) catches the act.
bool performer_caught(s32 frame);

// The companion (object 2100) parts from the protagonist on map 3. Acts only when story flag 40
// has reached 3; for any other value it returns at once, without even a fade. The protagonist
// stays on map 3 at (248, 328).
constexpr s32 COMPANION_FAREWELL_FLAG = 40;
constexpr s32 COMPANION_FAREWELL_OBJ = 2100;
void companion_leave_scene();

void object_event_0116();
void object_event_0117();
void object_event_0118();
void object_event_0120();
void object_event_0127();
void object_event_0128();
void object_event_0129();
void object_event_0138();
void object_event_0139();
void object_event_0140();
void object_event_0141();
void object_event_0142();
void object_event_0146();
void object_event_0147();
void object_event_0148();

// Every frame that these scripts show or set beyond an object's first frame, so that the
// placeholder archive can be checked to hold a picture for each.
void map10_residents_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* HOME_MAP10_RESIDENTS_OWNER = "home map 10 residents";
std::span<const ScriptSlot> home_map10_residents_slots();
ScriptRegion home_map10_residents_region();
