// The new game's arrival on the home map. Before the player may walk, a scene plays on its own:
// the protagonist (object 0, slot 132 until the scene hands it back) walks in from the map's left
// edge and plays its arrival animation while the neighbours appear one by one; a first visitor
// (object 237, slot 124) and a second one (238, slot 125) come up, and when the second arrives the
// first plays the staged scene (three figures, a flying object and effect sprites in front of the
// gathered neighbours, who then comment). At its end the player object runs the player's own
// script again and is clickable, the neighbours are clickable and start their days, and the home
// music plays. A bystander (239, slot 131) comes and goes. All four scripts act on TRIG_TIMER only.
//
// While their own stage is 0 the neighbours 217, 218 and 223 and the bystander 239 walk toward
// their marks by the first visitor's stage (`arrival_onlooker`); the scene gives them stage 1.
#pragma once
#include "engine/types.h"
#include "scripts/cues.h"
#include "scripts/kit.h"

#include <span>

// The figures of the scene.
constexpr s32 ARRIVAL_VISITOR = 237;
constexpr s32 ARRIVAL_SECOND_VISITOR = 238;
constexpr s32 ARRIVAL_BYSTANDER = 239;

// The player's arrival animation: from this frame in steps of 2 on every run until the last.
constexpr s32 ARRIVAL_FIRST_FRAME = 33726;
constexpr s32 ARRIVAL_LAST_FRAME = 33810;
constexpr s32 ARRIVAL_STEP = 2;
// The hooks of the animation: on the run whose new frame is a hook's frame, a neighbour is
// switched on or the protagonist says a line.
std::span<const CueHook> arrival_hooks();

// A neighbour's walk while its own stage is 0, by the first visitor's stage: 0, one step toward
// (wait_x, wait_y) a run; 1, toward (mark_x, mark_y) and on arrival `mark_frame`; 2 and above,
// `mark_frame` where it stands.
struct Onlooker {
    s32 obj = -1;
    s32 speed = 9;
    s32 wait_x = 0, wait_y = 0;
    s32 mark_x = 0, mark_y = 0;
    s32 mark_frame = 0;
};
std::span<const Onlooker> arrival_onlookers();
// The row of obj, or nullptr.
const Onlooker* arrival_onlooker_of(s32 obj);
// One timer run of an onlooker's stage 0 on obj / on self (a route's custom step). An object
// without a row does nothing. Does not re-arm: the onlooker's own script does.
void arrival_onlooker_on(s32 obj);
void arrival_onlooker();

// The staged scene that the first visitor plays at its stage 2, as cues.
std::span<const Cue> arrival_staged_scene();

void object_event_0124();
void object_event_0125();
void object_event_0131();
void object_event_0132();

// The four slots (124, 125, 131, 132) and their installation under HOME_ARRIVAL_OWNER.
constexpr const char* HOME_ARRIVAL_OWNER = "home arrival";
std::span<const ScriptSlot> home_arrival_slots();
void home_arrival_register();
