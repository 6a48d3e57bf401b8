// A quiz of a teacher or a keeper: questions asked in order, each a bubble (or two) of the asker
// and a `choose` of four or three options; a right answer may be praised with a line, a wrong one
// is answered by the line of its question (base + question) and an optional reply of the player,
// and ends the quiz. `quiz_run` returns the number answered right.
//
//     constexpr QuizQuestion QUESTIONS[] = {{.bubbles = {10860, -1},
//                                            .options = {10870, 10871, 10872, 10873},
//                                            .right = 2}, ...};
//     const s32 score = quiz_run({.questions = QUESTIONS, .right_line = 10920,
//                                 .wrong_base = 10910, .wrong_player = 10921}, self, pos);
#pragma once
#include "engine/types.h"

#include <array>
#include <span>

constexpr s32 QUIZ_NONE = -1;          // an absent bubble, option or line
constexpr s32 QUIZ_QUESTIONS_MAX = 32; // a quiz asks at most this many questions
constexpr s32 QUIZ_OPTIONS = 4;

struct QuizQuestion {
    std::array<s32, 2> bubbles{QUIZ_NONE, QUIZ_NONE}; // said by the asker before the options
    std::array<s32, QUIZ_OPTIONS> options{QUIZ_NONE, QUIZ_NONE, QUIZ_NONE, QUIZ_NONE};
    s32 right = 0; // the index of the right option
};

struct Quiz {
    std::span<const QuizQuestion> questions{};
    s32 portrait = 1000;        // the portrait of the options' box (the player's)
    bool highlight = false;     // the menu idiom (highlight colours, cursor 13) before each choice
    s32 right_line = QUIZ_NONE; // said by the asker after a right answer
    s32 wrong_base = QUIZ_NONE; // after a wrong answer to question q the asker says base + q
    s32 wrong_player = QUIZ_NONE; // then the player says this in the box of the options
};

// Whether a quiz table may be asked: at most QUIZ_QUESTIONS_MAX questions, each with at least three
// options present in a row from the first, and its right index naming a present option.
constexpr bool quiz_valid(const Quiz& q) {
    if (q.questions.empty() || q.questions.size() > size_t(QUIZ_QUESTIONS_MAX)) return false;
    for (const QuizQuestion& question : q.questions) {
        s32 n = 0;
        while (n < QUIZ_OPTIONS && question.options[size_t(n)] >= 0) ++n;
        for (s32 k = n; k < QUIZ_OPTIONS; ++k)
            if (question.options[size_t(k)] >= 0) return false;
        if (n < 3 || question.right < 0 || question.right >= n) return false;
    }
    return true;
}

// Asks the questions in order: `asker` says the question's bubbles, the options are chosen in the
// box at `position`; stops at the first wrong answer. Returns the number answered right (0 for a
// quiz that `quiz_valid` refuses, which asks nothing). An asker outside 0..4095 says no bubbles.
s32 quiz_run(const Quiz& q, s32 asker, s32 position);
