// The first year's story after the opening:
// - 025 (pool A 7): a fight for a stranger (battles 19 and 20) that opens pool B 16;
// - 032 (pool B 16): its sequel, whose coin alone decides the stranger's regard; opens pool B 17;
// - 027 (after 36): a choice between two friends that may put slot 136 before turn 59;
// - 038 (place 0.0 entry 5): a long outing with destinations, a sparring match and a lesson;
// - 039 (before 25): one of three arts with its weapon; opens place 0.0 entry 6;
// - 040 (after 14): a lesson that opens the hub's menu entries;
// - 043 (before 51, 111, 171, 231): the yearly visits of the persons who think most of the
//   protagonist, each with a gift given once; nobody comes: the music trial once, else loneliness;
// - 174 (pool A 13): the prize quiz (calendar/prize_quiz.h).
// And `training_aftermath`, the exhaustion after a failed effort in training.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

void calendar_event_025();
void calendar_event_027();
void calendar_event_032();
void calendar_event_038();
void calendar_event_039();
void calendar_event_040();
void calendar_event_043();
void calendar_event_174();

// ---- Yearly visits -----------------------------------------------------------------------------

constexpr s32 YEARLY_VISITORS = 6;
// The persons in the order they come.
constexpr s32 YEARLY_VISITOR[YEARLY_VISITORS] = {200, 132, 40, 146, 180, 75};
// Affection a visitor needs to come; the last needs less.
constexpr s32 YEARLY_VISIT_AFFECTION = 90;
constexpr s32 YEARLY_VISIT_AFFECTION_LAST = 70;
// From the third visitor that comes on, each arrives after a walk (`hub_travel`).
constexpr s32 YEARLY_VISIT_TRAVEL_FROM = 2;
// Nobody came: the music trial is held in this year while pool B entry 0's on word is 0 (the
// entry never holds a slot; its on word := -1 marks the trial as held), else the lonely line.
constexpr s32 YEARLY_MUSIC_TRIAL_YEAR = 2;
constexpr s32 YEARLY_MUSIC_TRIAL_HELD = -1;
constexpr s32 YEARLY_LONELY_TEXT = 16695;
constexpr s32 YEARLY_LONELY_MOOD = -5;
constexpr s32 YEARLY_TITLE_KIND = 24;

// ---- Training aftermath ------------------------------------------------------------------------

constexpr s32 AFTERMATH_PICKS = 3;      // different values of 0..5
constexpr s32 AFTERMATH_VALUES = 6;     // 0..4 the attributes 25..29, 5 the base value (0)
constexpr s32 AFTERMATH_LOSS_MIN = 250; // + rand_below(150) per value
constexpr s32 AFTERMATH_LOSS_SPREAD = 150;
constexpr s32 AFTERMATH_STAMINA = -300;
constexpr s32 AFTERMATH_SUMMARY = 283;
constexpr s32 AFTERMATH_MOOD = 4;

// The exhaustion after a failed training effort (every caller passes flag 1): three different
// values of the five attributes 25..29 and the base value lose levels (`grow_lower` by 250 to
// 399 each), stamina falls by 300 and the mood drops to its worst; the summary box lists the
// three losses (in ascending order of attribute, the base value last) and 283. Any other flag
// does nothing.
void training_aftermath(s32 flag);

// ---- Registration ------------------------------------------------------------------------------

constexpr const char* FIRST_YEAR_OWNER = "calendar first year";
std::span<const CalendarSlot> first_year_slots();
void register_first_year();
