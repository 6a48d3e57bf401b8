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

void pose_family_run(s32 slot) {
    if (const PoseLoop* p = pose_family_loop(slot)) pose_loop_step(*p);
}

void idle_family_run(s32 slot) {
    if (!script_on(TRIG_TIMER)) return;
    if (const IdleCycle* c = idle_family_cycle(slot)) idle_cycle(*c);
}

// clang-format off
void object_event_0041() { pose_family_run(41); }
void object_event_0046() { pose_family_run(46); }
void object_event_0048() { pose_family_run(48); }
void object_event_0074() { pose_family_run(74); }
void object_event_0076() { pose_family_run(76); }
void object_event_0086() { pose_family_run(86); }
void object_event_0088() { pose_family_run(88); }

void object_event_0014() { idle_family_run(14); }
void object_event_0044() { idle_family_run(44); }
void object_event_0049() { idle_family_run(49); }
void object_event_0051() { idle_family_run(51); }
void object_event_0053() { idle_family_run(53); }
void object_event_0054() { idle_family_run(54); }
void object_event_0055() { idle_family_run(55); }
void object_event_0057() { idle_family_run(57); }
void object_event_0059() { idle_family_run(59); }
void object_event_0066() { idle_family_run(66); }
void object_event_0067() { idle_family_run(67); }
void object_event_0068() { idle_family_run(68); }
void object_event_0069() { idle_family_run(69); }
void object_event_0070() { idle_family_run(70); }
void object_event_0071() { idle_family_run(71); }
void object_event_0072() { idle_family_run(72); }
void object_event_0083() { idle_family_run(83); }
// clang-format on

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {41, object_event_0041}, {46, object_event_0046}, {48, object_event_0048},
    {74, object_event_0074}, {76, object_event_0076}, {86, object_event_0086},
    {88, object_event_0088}, {14, object_event_0014}, {44, object_event_0044},
    {49, object_event_0049}, {51, object_event_0051}, {53, object_event_0053},
    {54, object_event_0054}, {55, object_event_0055}, {57, object_event_0057},
    {59, object_event_0059}, {66, object_event_0066}, {67, object_event_0067},
    {68, object_event_0068}, {69, object_event_0069}, {70, object_event_0070},
    {71, object_event_0071}, {72, object_event_0072}, {83, object_event_0083},
};
} // namespace

std::span<const ScriptSlot> home_pose_families_slots() {
    return SLOTS;
}

void home_pose_families_register() {
    scripts_install(SLOTS, HOME_POSE_FAMILIES_OWNER);
}
