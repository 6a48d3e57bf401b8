// The quiz block: questions asked in order, the first wrong answer ends it, the number right is
// returned; the praise, the wrong-answer line (base + question) and the player's reply.
#include "scripts/quiz.h"

#include "tests/home_script_fixture.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 ASKER = 50;
constexpr QuizQuestion QUESTIONS[] = {
    {.bubbles = {100, 101}, .options = {110, 111, 112, 113}, .right = 1},
    {.bubbles = {102, QUIZ_NONE}, .options = {114, 115, 116, QUIZ_NONE}, .right = 2},
    {.bubbles = {103, QUIZ_NONE}, .options = {117, 118, 119, 120}, .right = 0},
};
constexpr Quiz QUIZ{
    .questions = QUESTIONS, .right_line = 130, .wrong_base = 140, .wrong_player = 150};

class Quizzes : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        sh_object(ASKER, {.x = 100, .y = 100, .frame = 40000});
        sh_player(150, 150);
    }
};

TEST_F(Quizzes, AsksInOrderAndStopsAtTheFirstWrongAnswer) {
    const Lines q0 = {"say_at 50 100", "say_at 50 101"};
    const Lines q1 = {"say_at 50 102"};
    const Lines q2 = {"say_at 50 103"};
    struct Case {
        std::vector<s32> answers;
        s32 right;
        Lines said; // without the choices
    };
    const Case cases[] = {
        {{1, 2, 0},
         3,
         {q0[0], q0[1], "say_at 50 130", q1[0], "say_at 50 130", q2[0], "say_at 50 130"}},
        {{0}, 0, {q0[0], q0[1], "say_at 50 140", "say 2 1000 150"}},
        {{1, 0}, 1, {q0[0], q0[1], "say_at 50 130", q1[0], "say_at 50 141", "say 2 1000 150"}},
        {{1, 2, 3},
         2,
         {q0[0], q0[1], "say_at 50 130", q1[0], "say_at 50 130", q2[0], "say_at 50 142",
          "say 2 1000 150"}},
    };
    for (const Case& c : cases) {
        sh_clear_lines();
        for (const s32 a : c.answers) sh_answers({a});
        EXPECT_EQ(quiz_run(QUIZ, ASKER, 2), c.right) << c.answers.size();
        EXPECT_EQ(sh_only(home_talk_lines(), {"say"}), c.said) << c.answers.size();
        EXPECT_EQ(sh_only(home_talk_lines(), {"choose"}).size(), c.answers.size());
    }
}

TEST_F(Quizzes, ShowsThreeOrFourOptionsInTheBoxOfItsPosition) {
    sh_answers({1, 0});
    EXPECT_EQ(quiz_run(QUIZ, ASKER, 1), 1);
    const Lines asked = sh_only(home_talk_lines(), {"choose"});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], "choose 1 1000 110 111 112 113 -> 1");
    EXPECT_EQ(asked[1], "choose 1 1000 114 115 116 -> 0");
}

TEST_F(Quizzes, LinesLeftOutSayNothingAndAMalformedTableAsksNothing) {
    constexpr Quiz PLAIN{.questions = QUESTIONS};
    sh_answers({1, 1});
    EXPECT_EQ(quiz_run(PLAIN, ASKER, 3), 1);
    EXPECT_EQ(sh_only(home_talk_lines(), {"say"}),
              (Lines{"say_at 50 100", "say_at 50 101", "say_at 50 102"}));

    constexpr QuizQuestion TWO_OPTIONS[] = {
        {.bubbles = {100, QUIZ_NONE}, .options = {110, 111, QUIZ_NONE, QUIZ_NONE}, .right = 0}};
    constexpr QuizQuestion RIGHT_ABSENT[] = {
        {.bubbles = {100, QUIZ_NONE}, .options = {110, 111, 112, QUIZ_NONE}, .right = 3}};
    constexpr QuizQuestion GAP[] = {
        {.bubbles = {100, QUIZ_NONE}, .options = {110, QUIZ_NONE, 112, 113}, .right = 0}};
    static_assert(!quiz_valid(Quiz{.questions = TWO_OPTIONS}));
    static_assert(!quiz_valid(Quiz{.questions = RIGHT_ABSENT}));
    static_assert(!quiz_valid(Quiz{.questions = GAP}));
    static_assert(!quiz_valid(Quiz{}));
    sh_clear_lines();
    EXPECT_EQ(quiz_run(Quiz{.questions = GAP}, ASKER, 3), 0);
    EXPECT_TRUE(home_talk_lines().empty());
}

} // namespace
