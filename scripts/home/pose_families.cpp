#include "scripts/home/pose_families.h"

#include "engine/world/events.h"
#include "engine/world/object.h"

namespace {

constexpr s32 SHOWN = 1, HIDDEN = 0;

constexpr PoseFamilyRow POSE_ROWS[] = {
    {POSE_SLOT_BATH, {.first = 2648, .last = 2674, .step = 1, .pause = 20}},
    {POSE_SLOT_REST,
     {.first = 2966, .last = 2980, .step = 1, .pause = 50, .click_opens_screen = false}},
    {POSE_SLOT_WAKE, {.first = 2900, .last = 2923, .step = 1, .pause = 100}},
    {POSE_SLOT_PRACTICE, {.first = 2000, .last = 2009, .step = 1, .pause = 10}},
    // The two dishes of the dining table go and come back while the player eats.
    {POSE_SLOT_DINING,
     {.first = 31070,
      .last = 31089,
      .step = 1,
      .pause = 10,
      .switches = {{{31071, 168, HIDDEN},
                    {31084, 168, SHOWN},
                    {31085, 169, HIDDEN},
                    {31089, 169, SHOWN}}}}},
    // The same with the two dishes of the served table.
    {POSE_SLOT_SERVED,
     {.first = 31514,
      .last = 31533,
      .step = 1,
      .pause = 10,
      .switches = {{{31516, 179, HIDDEN},
                    {31528, 179, SHOWN},
                    {31530, 180, HIDDEN},
                    {31533, 180, SHOWN}}}}},
    {POSE_SLOT_SEAT, {.first = 31601, .last = 31641, .step = 2, .pause = 10}},
};

constexpr s32 NO_PAUSE = -1;
// The smith's sparks (slot 51) have no last frame: the smith shows the object for a few steps
// and puts its frame back each time. The cycle still wraps at the largest frame an object can
// hold, so that a sparks object left shown never runs its frame out of the attribute.
constexpr s32 FRAME_MAX = s32(attr_mask[ATTR_FRAME]);

constexpr IdleFamilyRow IDLE_ROWS[] = {
    {14, {.rearm = 8, .start = 2700, .limit = 2742, .step = 2, .pause = 10}},
    {44, {.rearm = 8, .start = 20000, .limit = 20006, .step = 1, .pause = NO_PAUSE}},
    {49, {.rearm = 8, .start = 30144, .limit = 30182, .step = 2, .pause = 20}},
    {51, {.rearm = 8, .start = 20007, .limit = FRAME_MAX, .step = 1, .pause = NO_PAUSE}},
    {53, {.rearm = 8, .start = 20023, .limit = 20029, .step = 1, .pause = NO_PAUSE}},
    {54, {.rearm = 8, .start = 20030, .limit = 20036, .step = 1, .pause = NO_PAUSE}},
    {55, {.rearm = 8, .start = 20037, .limit = 20043, .step = 1, .pause = NO_PAUSE}},
    {57, {.rearm = 5, .start = 1314, .limit = 1318, .step = 1, .pause = NO_PAUSE}},
    {59, {.rearm = 10, .start = 1331, .limit = 1333, .step = 1, .pause = NO_PAUSE}},
    {66, {.rearm = 10, .start = 1319, .limit = 1321, .step = 1, .pause = NO_PAUSE}},
    {67, {.rearm = 10, .start = 1322, .limit = 1324, .step = 1, .pause = NO_PAUSE}},
    {68, {.rearm = 10, .start = 1325, .limit = 1330, .step = 1, .pause = NO_PAUSE}},
    {69, {.rearm = 10, .start = 1334, .limit = 1336, .step = 1, .pause = NO_PAUSE}},
    {70, {.rearm = 10, .start = 1337, .limit = 1339, .step = 1, .pause = NO_PAUSE}},
    {71, {.rearm = 10, .start = 1340, .limit = 1342, .step = 1, .pause = NO_PAUSE}},
    {72, {.rearm = 10, .start = 1343, .limit = 1345, .step = 1, .pause = NO_PAUSE}},
    {83, {.rearm = 10, .start = 1351, .limit = 1354, .step = 1, .pause = NO_PAUSE}},
};

} // namespace

std::span<const PoseFamilyRow> pose_family_rows() {
    return POSE_ROWS;
}

std::span<const IdleFamilyRow> idle_family_rows() {
    return IDLE_ROWS;
}

const PoseLoop* pose_family_loop(s32 slot) {
    for (const PoseFamilyRow& r : POSE_ROWS)
        if (r.slot == slot) return &r.loop;
    return nullptr;
}

const IdleCycle* idle_family_cycle(s32 slot) {
    for (const IdleFamilyRow& r : IDLE_ROWS)
        if (r.slot == slot) return &r.cycle;
    return nullptr;
}

namespace {

// The runners of the two families: one row is one run of its slot's script.
void run_pose_row(const PoseFamilyRow& r) {
    pose_loop_step(r.loop);
}

void run_idle_row(const IdleFamilyRow& r) {
    if (script_on(TRIG_TIMER)) idle_cycle(r.cycle);
}

} // namespace

void pose_family_run(s32 slot) {
    for (const PoseFamilyRow& r : POSE_ROWS)
        if (r.slot == slot) run_pose_row(r);
}

void idle_family_run(s32 slot) {
    for (const IdleFamilyRow& r : IDLE_ROWS)
        if (r.slot == slot) run_idle_row(r);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {

constexpr auto SLOTS =
    join_slots(family_slots<POSE_ROWS, run_pose_row>(), family_slots<IDLE_ROWS, run_idle_row>());
static_assert(slots_distinct(SLOTS));

// Slots 52 and 56 among the decorations are named by nothing and stay empty.
constexpr SlotRange COMPLETE[] = {
    {14, 14}, {41, 41}, {44, 44}, {46, 46}, {48, 49}, {51, 57}, {59, 59},
    {66, 72}, {74, 74}, {76, 76}, {83, 83}, {86, 86}, {88, 88},
};

} // namespace

std::span<const ScriptSlot> home_pose_families_slots() {
    return SLOTS;
}

ScriptRegion home_pose_families_region() {
    return {
        .owner = HOME_POSE_FAMILIES_OWNER, .slots = home_pose_families_slots, .complete = COMPLETE};
}
