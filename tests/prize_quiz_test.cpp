// The prize quiz (slot 174) played through the calendar table with scripted answers and forced
// question draws: its paying rule (the doubling pot, the paid way on from an empty pot, the stop,
// the category's end, paid once when the stop falls on the last question), the menu's finished
// categories and the bonus, the intro's gift to a poor player and the close after every question.
#include "calendar/prize_quiz.h"
#include "data/hub_block.h"
#include "game/player.h"
#include "tests/cal_first_year_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The question data as the quiz master wrote it: first prompt and the right options.
struct Category {
    s32 first_prompt;
    std::vector<s32> right;
};
const Category CATEGORY[5] = {
    {31402, {2, 1, 3, 2, 3, 3, 2, 1}}, {31443, {2, 0, 2, 1, 3, 1, 1}}, {31479, {3, 2, 2, 1, 0, 0}},
    {31509, {1, 1, 1, 1, 2, 2, 0}},    {31544, {3, 1, 1, 0, 1, 3}}, // the bonus
};
constexpr s32 BONUS = 4;

// A scripted run: the menu rows chosen, the questions drawn, the answers and go-on choices.
struct Script {
    std::vector<s32> answers, draws, prompts;

    Script& menu(s32 row) {
        answers.push_back(row);
        return *this;
    }
    // Question q of category c, answered right or wrong, then go on or stop; `redraws` are drawn
    // first (questions asked already).
    Script& ask(s32 c, s32 q, bool right, bool go_on, std::vector<s32> redraws = {}) {
        draws.insert(draws.end(), redraws.begin(), redraws.end());
        draws.push_back(q);
        const s32 r = CATEGORY[c].right[size_t(q)];
        answers.push_back(right ? r : (r + 1) % 4);
        answers.push_back(go_on ? 0 : 1);
        prompts.push_back(CATEGORY[c].first_prompt + 5 * q);
        return *this;
    }
    // Every question of category c in order, all right and going on after each, but the last,
    // which is answered right or wrong by `last_right` and goes on or stops by `last_go_on`.
    Script& all(s32 c, bool last_go_on = true, bool last_right = true) {
        const s32 n = s32(CATEGORY[c].right.size());
        for (s32 q = 0; q < n; q++) ask(c, q, q < n - 1 || last_right, q < n - 1 || last_go_on);
        return *this;
    }
    // Ends the quiz: category c's next question answered wrong, then stop (pays the empty pot).
    Script& quit(s32 c, s32 q) {
        menu(c);
        return ask(c, q, false, false);
    }
};

class PrizeQuiz : public CalFirstYearBase {
  protected:
    void start() override {
        hub_block.encounter_pool_a[13] = {174, 1};
        hub_block.turns_consumed = 3;
    }
    // Plays the script from `money`; returns the texts shown.
    static std::vector<s32> play(const Script& s, s32 money) {
        player_record.money = money;
        dialog_answers(s.answers);
        for (s32 d : s.draws) draws({d});
        const size_t m = mark();
        run_slot(174);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(dialog_answers_left(), 0u);
        EXPECT_EQ(hub_block.encounter_pool_a[13].on, 0);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        return texts_from(m);
    }
};

bool is_prompt(s32 t) {
    for (const Category& c : CATEGORY)
        for (size_t q = 0; q < c.right.size(); q++)
            if (t == c.first_prompt + 5 * s32(q)) return true;
    return false;
}

s32 count_of(const std::vector<s32>& texts, s32 t) {
    return s32(std::ranges::count(texts, t));
}

TEST_F(PrizeQuiz, PayingRule) {
    struct Case {
        const char* name;
        Script script;
        s32 money_before, money_after;
        s32 out_of_money; // times line 31387 (no money to go on) shows
        s32 finished;     // times a finished category shows on the menu (31378)
        s32 refused;      // times a finished category with the bonus finished is refused (31379)
        bool closing;     // every question asked: the closing lines
    };
    const Case cases[] = {
        {"a right answer doubles the pot, the stop pays it",
         Script().menu(0).ask(0, 0, true, false), 500, 500 - 100 + 200, 0, 0, 0, false},
        {"100, 200, 400, 800: every right answer doubles",
         Script().menu(1).ask(1, 3, true, true).ask(1, 0, true, true, {3}).ask(1, 6, true, false),
         500, 500 - 100 + 800, 0, 0, 0, false},
        {"a wrong answer empties the pot; the stop pays nothing",
         Script().menu(0).ask(0, 5, false, false), 500, 400, 0, 0, 0, false},
        {"going on from an empty pot without 100 ends the quiz unpaid",
         Script().menu(0).ask(0, 0, false, true), 150, 50, 1, 0, 0, false},
        {"going on from an empty pot pays 100 for a pot of 200",
         Script().menu(3).ask(3, 2, false, true).ask(3, 3, true, false, {2, 2}), 500,
         500 - 100 - 100 + 400, 0, 0, 0, false},
        {"the last question gone on from pays the pot and returns to the menu",
         Script().menu(2).all(2).quit(0, 0), 1000, 1000 - 100 + 6400 - 100, 0, 1, 0, false},
        {"a stop on the last question pays the pot once and returns to the menu",
         Script().menu(2).all(2, false).quit(0, 0), 1000, 1000 - 100 + 6400 - 100, 0, 1, 0, false},
        // Kept as the rule stands: the 100 paid to go on from the empty pot of the last question
        // buys a pot of 200 that the category's end pays at once.
        {"the last question answered wrong, then gone on from",
         Script().menu(2).all(2, true, false).quit(1, 0), 1000, 1000 - 100 - 100 + 200 - 100, 0, 1,
         0, false},
        // The out-of-money line, yet the category's end leads back to the menu, whose entry takes
        // the 100 from the 50 left.
        {"out of money after the last question", Script().menu(2).all(2, true, false).quit(1, 0),
         150, 0, 1, 1, 0, false},
        {"a finished category chosen costs 100 and plays the bonus",
         Script().menu(2).all(2).menu(2).ask(BONUS, 4, true, false), 1000,
         1000 - 100 + 6400 - 100 + 200, 0, 1, 0, false},
        {"with the bonus finished too it costs 100 and leads back to the menu",
         Script().menu(2).all(2).menu(2).all(BONUS).menu(2).quit(0, 7), 1000,
         1000 - 100 + 6400 - 100 + 6400 - 100 - 100, 0, 3, 1, false},
        {"every question asked: the closing lines",
         Script().menu(0).all(0).menu(1).all(1).menu(2).all(2).menu(3).all(3).menu(1).all(BONUS),
         1000, 1000 - 500 + 25600 + 12800 + 6400 + 12800 + 6400, 0, 1 + 2 + 3 + 4, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        const std::vector<s32> texts = play(c.script, c.money_before);
        EXPECT_EQ(player_record.money, c.money_after);
        std::vector<s32> prompts;
        for (s32 t : texts)
            if (is_prompt(t)) prompts.push_back(t);
        EXPECT_EQ(prompts, c.script.prompts);
        EXPECT_EQ(count_of(texts, 31387), c.out_of_money);
        EXPECT_EQ(count_of(texts, QUIZ_FINISHED_TEXT), c.finished);
        EXPECT_EQ(count_of(texts, 31379), c.refused);
        EXPECT_EQ(count_of(texts, 31398) + count_of(texts, 31401), c.closing ? 2 : 0);
    }
}

TEST_F(PrizeQuiz, OneQuestionTranscript) {
    const size_t m = mark();
    play(Script().menu(0).ask(0, 1, true, false), 500);
    std::vector<std::string> says;
    for (const std::string& l : lines_from(m))
        if (l.starts_with("hub_") || l.starts_with("sound 6")) says.push_back(l);
    const std::vector<std::string> expect = {
        "hub_say 1 -1 420 31359",
        "hub_say 1 0 420 31360",
        "hub_say 1 0 420 31361",
        "hub_say 1 0 420 31362",
        "hub_travel",
        "hub_say 1 2 420 31363",
        "hub_say 1 0 420 31364",
        "hub_say 0 200 -1 31365",
        "hub_say 1 0 420 31366",
        "hub_say 1 0 420 31367",
        "hub_say 0 0 -1 56626",
        "hub_say 1 0 200 31373",
        "hub_choose 0 0 200 31374 31375 31376 31377 -> 0",
        "hub_say 1 0 200 31407",
        "hub_choose 0 0 200 31408 31409 31410 31411 -> 1",
        "sound 697 1",
        "hub_say 1 0 200 31382",
        "hub_say 1 0 200 31384",
        "hub_choose 0 0 200 31385 31386 0 0 -> 1",
    };
    EXPECT_EQ(says, expect);
    EXPECT_EQ(hub_block.scene_backdrop, 60427);
    EXPECT_EQ(player_record.money, 500 - 100 + 200);
}

TEST_F(PrizeQuiz, APoorPlayerIsGivenTheStakeAndAWrongAnswerSoundsSo) {
    const size_t m = mark();
    const std::vector<s32> texts = play(Script().menu(0).ask(0, 0, false, false), 40);
    EXPECT_EQ(count_of(texts, 31367), 0);
    for (s32 t : {31368, 31369, 31370, 31383}) EXPECT_EQ(count_of(texts, t), 1) << t;
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_NE(std::ranges::find(lines, "sound 680 1"), lines.end());
    EXPECT_EQ(player_record.money, 40 + 100 - 100);
}

} // namespace
