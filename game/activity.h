// The hub's planned activities: training an attribute, a skill or an art, studying, working,
// resting with a pastime. Each costs or restores stamina, feeds experience pools, may change
// affection and mood, plays a short animation over the dashboard and reports up to four lines.
// Also the five mini-game commands with the award checks that follow them, and the copy of the
// owned manuals into their known list.
#pragma once
#include "engine/types.h"

// The animation of an activity: its first picture and frame count (frames 0: none).
struct ActivityAnimation {
    s32 first;
    s32 frames;
};
constexpr s32 ACTIVITY_ANIM_X = 212, ACTIVITY_ANIM_Y = 112;
constexpr s32 ACTIVITY_ANIM_MS = 200;

// Runs hub command `code` as an activity (every code the hub does not handle itself; a code
// without an activity of its own plays only the common close) and uses one turn.
void activity_run(s32 code);
// The animation `activity_run` plays for `code` with the player's current values.
ActivityAnimation activity_animation(s32 code);
// The mood bonus b (mood 0 .. 4: +3, +1, 0, -1, -2) and the level tier T of the current player.
s32 activity_mood_bonus();
s32 activity_level_tier();

// Award 6 of known list 9 once skills 10..13 all reach 100, with its announcement.
void award_check();
// Copies the owned manuals (items 2100..2149) into known list 24 (id = item - 2050) and opens
// the manuals' buttons once the list holds one.
void manuals_sync();

// The mini-game commands: the aiming game (27), the catching game (28), the pop-up targets (25),
// the light ring (30) and the recipe screen (24), each with its award and title checks.
void hub_cmd_aim();
void hub_cmd_catch();
void hub_cmd_popup();
void hub_cmd_light_ring();
void hub_cmd_recipes();
