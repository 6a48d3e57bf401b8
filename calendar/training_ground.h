// The training ground of place 1.6, reached from the ingredient course through pool B entry 3:
// a trainer (person 265) runs the timed action game as a first training, as a training that
// repeats until skill 15 reaches 95, and as a final test that closes the place. A lost training
// ends in the training aftermath.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 TRAINING_DONE_SKILL = 95; // skill 15 that ends the repeating training

// The repeating training's settings by skill 15: opening line (first + a draw below 5), level and
// pace (pace_first + a draw below pace_spread; a spread of 1 draws nothing).
struct TrainingSetting {
    s32 below_skill; // the row holds for skill 15 below this
    s32 line_first;
    s32 level;
    s32 pace_first, pace_spread;
};
constexpr s32 TRAINING_SETTINGS = 5;
extern const TrainingSetting TRAINING_SETTING_TABLE[TRAINING_SETTINGS];

void calendar_event_098();
void calendar_event_099();
void calendar_event_100();
void calendar_event_101();

constexpr const char* TRAINING_GROUND_OWNER = "calendar training ground";
std::span<const CalendarSlot> training_ground_slots();
void register_training_ground();
