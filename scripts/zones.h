// Step zones: undrawn objects (layer 0) whose frame gives the shape of the ground that fires
// TRIG_STEP when the player's feet come onto it. Each zone is one row run by `step_zone`:
//
// - ZONE_ONCE: hides itself first (ATTR_ACTIVE := 0, before anything else, so that nothing the
//   scene does can fire it again), then plays its scene.
// - ZONE_BAR: says its line (a bubble or a box), walks the player back (to a point, or by a
//   distance from where the player stands) and stays live.
// - ZONE_LIVE: plays its scene and stays live. A blocking zone (ATTR_BLOCK and ATTR_STEP
//   together) is one: it fires when the player walks against it, the player staying outside,
//   and its scene decides whether to open it (ATTR_BLOCK := 0) or to hide it.
//
// A scene is a span of cues (scripts/cues.h), played first, and/or a routine, called after.
// A zone has one trigger only, so the executor does not test it.
#pragma once
#include "engine/types.h"
#include "scripts/cues.h"
#include "scripts/kit.h"

#include <span>

enum ZoneKind : s32 {
    ZONE_ONCE = 0,
    ZONE_BAR = 1,
    ZONE_LIVE = 2,
};

constexpr s32 ZONE_BACK_SPEED = 10;

struct StepZone {
    s32 kind = ZONE_ONCE;
    std::span<const Cue> cues{};
    void (*scene)() = nullptr;
    // The barring zone: its line, and where the player is walked back to: the point (back_x,
    // back_y), or the player's place plus (back_x, back_y) when `back_by`.
    Voice voice{};
    s32 text = -1;
    bool back_by = false;
    s32 back_x = 0, back_y = 0;
    s32 back_speed = ZONE_BACK_SPEED;
};

// Runs the zone of the row on self.
void step_zone(const StepZone& zone);
// The same on another object than self (a zone whose slot several zones share).
void step_zone_on(s32 obj, const StepZone& zone);
