// The prize quiz of pool A: a host (person 200) asks four-option questions of four categories
// offered on a menu and a bonus category, for a pot that every right answer doubles. Each
// category costs 100 to enter; a wrong answer empties the pot, and going on after it costs 100
// more. Stopping pays the pot and ends the quiz; reaching a category's last question pays the pot
// and returns to the menu. A question is asked once per run.
#pragma once
#include "engine/types.h"

constexpr s32 QUIZ_CATEGORIES = 5; // the four of the menu, then the bonus
constexpr s32 QUIZ_MENU_CATEGORIES = 4;
constexpr s32 QUIZ_BONUS = 4;
constexpr s32 QUIZ_QUESTIONS_MAX = 8;
constexpr s32 QUIZ_OPTIONS = 4;
constexpr s32 QUIZ_TEXTS_PER_QUESTION = 5; // the prompt, then its four options

struct QuizCategory {
    s32 menu_text;    // 0 for the bonus, which the menu does not offer
    s32 questions;    // 1..QUIZ_QUESTIONS_MAX
    s32 first_prompt; // question q: prompt first_prompt + 5q, options the four texts after it
    s32 right[QUIZ_QUESTIONS_MAX]; // the right option (0..3) of each question
};
extern const QuizCategory QUIZ_TABLE[QUIZ_CATEGORIES];

constexpr s32 QUIZ_STAKE = 100;       // entry to a category, and the pot it starts
constexpr s32 QUIZ_REBUY_POT = 200;   // the pot after paying to go on from an empty one
constexpr s32 QUIZ_HOST = 200;        // the person who asks
constexpr s32 QUIZ_PRESENTER = 420;   // the person of the intro and the close
constexpr s32 QUIZ_SOUND_RIGHT = 697; // mssw_play_sound(.., 1)
constexpr s32 QUIZ_SOUND_WRONG = 680;
constexpr s32 QUIZ_FINISHED_TEXT = 31378; // a finished category on the menu

// The prompt and option texts of question q of category c (0 for an index outside the table).
s32 quiz_prompt(s32 c, s32 q);
s32 quiz_option(s32 c, s32 q, s32 option);

// One run of the quiz over the dashboard, from the intro to its end (the handler then closes its
// entry and stores the turns used).
void prize_quiz();
