// The two families of frame loops that the home region's services and decorations run on a
// timer, each a table of rows that one runner steps.
//
// Pose loops: while a service (a bath, a bed, a meal, a seat) holds the player, object 0 runs one
// of these slots instead of its own script. Each run (any trigger) re-arms the player's timer
// with 7, steps the player's frame through the pose's range (wrapping to the first frame with a
// pause), switches the dishes that some meals show and hide at given frames, and, on a click on
// the posed player, opens the character screen (not for the rest of the guest house), clearing
// the click that closes it. The save request of the screen is left for the player's own script.
//
// Idle loops: decorative objects that only animate (fires, lamps, smoke, water) step their frame
// on each timer run and wrap to the first frame past the last, some with a pause.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The pose slots, by the service that sets them.
constexpr s32 POSE_SLOT_BATH = 41;     // the bath of map 10
constexpr s32 POSE_SLOT_REST = 46;     // lying down in the guest house of map 24
constexpr s32 POSE_SLOT_WAKE = 48;     // waking up there
constexpr s32 POSE_SLOT_PRACTICE = 74; // the paid practice spot
constexpr s32 POSE_SLOT_DINING = 76;   // eating in the dining room
constexpr s32 POSE_SLOT_SERVED = 86;   // eating at the served table
constexpr s32 POSE_SLOT_SEAT = 88;     // the seat of map 10

struct PoseFamilyRow {
    s32 slot;
    PoseLoop loop;
};
struct IdleFamilyRow {
    s32 slot;
    IdleCycle cycle;
};
std::span<const PoseFamilyRow> pose_family_rows();
std::span<const IdleFamilyRow> idle_family_rows();
// The row of a slot, or nullptr for a slot of neither family.
const PoseLoop* pose_family_loop(s32 slot);
const IdleCycle* idle_family_cycle(s32 slot);

// One run of the pose loop of `slot` on the player (any trigger).
void pose_family_run(s32 slot);
// One run of the idle loop of `slot` on self: acts on TRIG_TIMER only.
void idle_family_run(s32 slot);

// Each row is the script of its slot (`object_event_NNNN` for slot NNNN); no script is written
// by hand.
constexpr const char* HOME_POSE_FAMILIES_OWNER = "home pose families";
std::span<const ScriptSlot> home_pose_families_slots();
ScriptRegion home_pose_families_region();
