// Yearly events, the fixed-turn scenes of the first year and the switching stubs.
//
// Three themes come back once a year on fixed turns: the reward reckoning (before turns 80, 140
// and 200: slots 165, 166, 167), the talk with the household (before 57, 117 and 177: slots 168,
// 169, 170) and the showing of a piece of known list 23 (before 40, 160 and 220: slots 171, 172,
// 173). Slots 162, 163 and 164 are the scenes after turns 45, 70 and 90; slot 158 is the short
// scene that slot 044 puts after turn 114. The stubs (121, 122, 123, 126, 127, 128, 153, 156,
// 161) only switch pool entries, place entries and place buttons on fixed turns: one table, run
// by one function.
#pragma once
#include "calendar/calendar_register.h"
#include "calendar/frame.h"
#include "engine/types.h"

#include <span>

// ---- Reward reckoning --------------------------------------------------------------------------

constexpr s32 YEARLY_HOUSEHOLD = 205; // the person whose affection counts in the income
// 30 x affection[205] + 30 x chivalry + 10 x (skills 10..13) + 20 x fame, as it stands now.
s32 yearly_income();
constexpr s32 YEARLY_REWARD_FLAG = 96; // slot 165: 1 good year, 2 bad year
constexpr s32 YEARLY_BONUS_GOOD = 5000, YEARLY_BONUS_BAD = -2000;
constexpr s32 YEARLY_BATTLE_BONUS_BEST = 5000, YEARLY_BATTLE_BONUS_SOME = 2000;
// Slot 166: the bonus by the household's hp after its three battles: 5000 when the last is at
// least both earlier ones, 2000 when it is at least one of them, else 0.
s32 yearly_battle_bonus(s32 h1, s32 h2, s32 h3);

// ---- Household talk ----------------------------------------------------------------------------

// The seven skills of the third year's talk, in the order they are walked.
constexpr s32 YEARLY_BEST_SKILLS[] = {10, 11, 12, 13, 21, 22, 23};
// The best of them: a skill is taken whenever its value is at least the best so far (from 0), so
// the last of the highest wins ties.
s32 yearly_best_skill();

// ---- Showing -----------------------------------------------------------------------------------

constexpr s32 YEARLY_SHOWING_LIST = 23;
constexpr s32 YEARLY_SHOWING_FLAG[3] = {71, 72, 73}; // the id shown each year, -2 none
constexpr s32 YEARLY_SHOWN_NOTHING = -2;
constexpr s32 YEARLY_SHOWING_LEVEL = 50;       // a piece of this level succeeds
constexpr s32 YEARLY_SHOWING_EMPTY_SKILL = 60; // first year, nothing known: skill 23 at least
constexpr s32 YEARLY_SHOWING_PEOPLE[] = {203, 204, 205};
constexpr s32 YEARLY_SHOWING_AFFECTION = 5;
constexpr s32 YEARLY_SHOWING_MOOD = 3;

// ---- Switching stubs ---------------------------------------------------------------------------

enum class YearlySwitchOp : s32 { Open, Close, Empty, PlaceButtonOn };
struct YearlySwitch {
    YearlySwitchOp op;
    CalEntry entry{};        // Open, Close, Empty
    s32 button = 0, set = 0; // PlaceButtonOn: hub_third_avail[button][set] := 1
};
constexpr s32 YEARLY_STUB_SWITCHES = 8;
using YearlySwitches = CalList<YearlySwitch, YEARLY_STUB_SWITCHES>;

struct YearlyStub {
    s32 slot;
    bool (*when)() = nullptr; // the condition of `met`; null: always met
    s32 flag = -1;            // story flag := 1 when met (-1: none)
    YearlySwitches met{};     // when the condition holds, in order
    YearlySwitches always{};  // then in every case
};

// The stubs' table.
std::span<const YearlyStub> yearly_stubs();
// Runs the stub of `slot` (nothing for a slot the table lacks).
void yearly_stub_run(s32 slot);

void calendar_event_121();
void calendar_event_122();
void calendar_event_123();
void calendar_event_126();
void calendar_event_127();
void calendar_event_128();
void calendar_event_153();
void calendar_event_156();
void calendar_event_158();
void calendar_event_161();
void calendar_event_162();
void calendar_event_163();
void calendar_event_164();
void calendar_event_165();
void calendar_event_166();
void calendar_event_167();
void calendar_event_168();
void calendar_event_169();
void calendar_event_170();
void calendar_event_171();
void calendar_event_172();
void calendar_event_173();

constexpr const char* YEARLY_EVENTS_OWNER = "calendar yearly events";
std::span<const CalendarSlot> yearly_events_slots();
void register_yearly_events();
