// The visits of places 0.1, 0.2 and 0.4, which never close and so come at every visit, and the
// after-turn event of turn 38.
// - Places 0.1 and 0.2: a sparring partner (person 203 or 204). Before turn 31 they only talk;
//   then, once their affection reaches 65, a talk scene with a growth gain comes once; otherwise
//   a bout. A bout is passed when the battle is won or the partner is left below a quarter of his
//   hit points. A bout not passed may make the protagonist ill, or else, with a fond partner, may
//   teach a special move (known list 9). Both are fully healed after every visit.
// - Place 0.4: a companion (person 99) sets riddles that raise `story_flag_49`; from 10 on she
//   sometimes hands out a gift instead, two of them once only.
// - Turn 38: the ingredient course of place 1.4 opens, after a shot at a target with the
//   protagonist's tools, if any.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// Sparring.
constexpr s32 SPARRING_TALK_TURN = 31; // before this turn the partners only talk
constexpr s32 SPARRING_SCENE_AFFECTION = 65;
constexpr s32 SPARRING_SCENE_EXP = 200;
constexpr s32 SPARRING_WIN_STAMINA = -100;
constexpr s32 SPARRING_LOSS_STAMINA = -300;
constexpr s32 SPARRING_ILL_CHANCE = 3; // of 10, when stamina is spent
constexpr s32 SPARRING_ILL_SPREAD = 4; // sick turns 2 + rand_below(4)
constexpr s32 SPARRING_MOVE_AFFECTION = 100;
constexpr s32 SPARRING_MOVE_CHANCE = 5; // of 10
constexpr s32 SPARRING_MOVE_VALUE = 70;
constexpr s32 SPARRING_MOVE_LIST = 9;

// Riddles.
constexpr s32 RIDDLE_COUNTER_FLAG = 49;
constexpr s32 RIDDLE_ARTS_FLAG = 50; // gift 1 given
constexpr s32 RIDDLE_ITEM_FLAG = 51; // gift 2 given
constexpr s32 RIDDLE_GIFT_FROM = 10; // the counter from which gifts may come
constexpr s32 RIDDLE_KINDS = 3;
constexpr s32 RIDDLE_OPTIONS = 4;
constexpr s32 RIDDLE_NUMBERS = 6;    // the values of the second kind: texts 56240 + v
constexpr s32 RIDDLE_QUESTIONS = 10; // questions of the third kind
// The right option of question q of the third kind.
constexpr s32 RIDDLE_ANSWERS[RIDDLE_QUESTIONS] = {0, 2, 1, 1, 2, 0, 3, 0, 3, 1};

// Turn 38.
constexpr s32 TURN38_GUIDE_REGARD = 149; // PlayerRecord.affection index set by the shot
constexpr s32 TURN38_WON_REGARD = 60, TURN38_OTHER_REGARD = 50;

// The target duel of the turn-38 event: `game_aim_target` unless a test replaces it.
extern s32 (*turn38_aim_seam)(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 a5, s32 a6);

// The options of a riddle of the second kind: the right value at position `right_at`, the other
// positions distinct values below 6 drawn through `cal_rand`.
struct RiddleNumbers {
    s32 value[RIDDLE_OPTIONS];
};
RiddleNumbers riddle_numbers(s32 right, s32 right_at);

void calendar_event_033();
void calendar_event_117();
void calendar_event_118();
void calendar_event_142();

constexpr const char* REPEATING_VISITS_OWNER = "calendar repeating visits";
std::span<const CalendarSlot> repeating_visits_slots();
void register_repeating_visits();
