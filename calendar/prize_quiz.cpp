#include "calendar/prize_quiz.h"

#include "calendar/frame.h"
#include "game/adjust.h"
#include "game/player.h"

#include <span>

using namespace cal_literals;

const QuizCategory QUIZ_TABLE[QUIZ_CATEGORIES] = {
    {31374, 8, 31402, {2, 1, 3, 2, 3, 3, 2, 1}}, {31375, 7, 31443, {2, 0, 2, 1, 3, 1, 1}},
    {31376, 6, 31479, {3, 2, 2, 1, 0, 0}},       {31377, 7, 31509, {1, 1, 1, 1, 2, 2, 0}},
    {0, 6, 31544, {3, 1, 1, 0, 1, 3}}, // the bonus
};

namespace {

constexpr CalPerson HOST = CalPerson{QUIZ_HOST};
constexpr CalPerson PRESENTER = CalPerson{QUIZ_PRESENTER};
constexpr CalPicture QUIZ_BACKDROP = 60427_pic;

bool valid_question(s32 c, s32 q) {
    return c >= 0 && c < QUIZ_CATEGORIES && q >= 0 && q < QUIZ_TABLE[c].questions;
}

// The run's state: the pot and, per category, the questions asked so far.
struct QuizRun {
    s32 pot = QUIZ_STAKE;
    bool asked[QUIZ_CATEGORIES][QUIZ_QUESTIONS_MAX] = {};
    s32 count[QUIZ_CATEGORIES] = {};

    bool finished(s32 c) const { return count[c] >= QUIZ_TABLE[c].questions; }
    bool all_finished() const {
        for (s32 c = 0; c < QUIZ_CATEGORIES; c++)
            if (!finished(c)) return false;
        return true;
    }
};

void intro() {
    cal_lines({
        {.text = 31359_t, .right = {PRESENTER}, .left = {CAL_NOBODY}},
        {.text = 31360_t, .to = 31362_t, .right = {PRESENTER}},
        {.travel = true, .backdrop = QUIZ_BACKDROP},
        {.text = 31363_t, .right = {PRESENTER}, .left = {2_p}},
        {.text = 31364_t, .right = {PRESENTER}},
        {.text = 31365_t, .left = {HOST}},
        {.text = 31366_t, .right = {PRESENTER}},
    });
    if (player_record.money >= QUIZ_STAKE) {
        cal_lines({{.text = 31367_t, .right = {PRESENTER}}});
    } else {
        cal_lines({{.text = 31368_t, .to = 31370_t, .right = {PRESENTER}}});
        money_add(QUIZ_STAKE);
    }
    cal_lines({{.text = 56626_t}});
}

// One question of category c: drawn among those not yet asked, asked, and the pot doubled or
// emptied by the answer.
void ask_question(QuizRun& run, s32 c) {
    const QuizCategory& cat = QUIZ_TABLE[c];
    const s32 q = cal_draw_new(std::span<bool>(run.asked[c], size_t(cat.questions)));
    if (q < 0) return;
    run.count[c]++;
    const s32 answer =
        cal_lines({{.text = CalText{quiz_prompt(c, q)},
                    .right = {HOST},
                    .choose = {CalText{quiz_option(c, q, 0)}, CalText{quiz_option(c, q, 1)},
                               CalText{quiz_option(c, q, 2)}, CalText{quiz_option(c, q, 3)}}}});
    if (answer == cat.right[q]) {
        cal_lines({{.sound = CalSound{QUIZ_SOUND_RIGHT}, .text = 31382_t, .right = {HOST}}});
        run.pot *= 2;
    } else {
        cal_lines({{.sound = CalSound{QUIZ_SOUND_WRONG}, .text = 31383_t, .right = {HOST}}});
        run.pot = 0;
    }
}

enum class CategoryEnd { Menu, Quiz };

// The questions of category c until the player stops or the category runs out.
CategoryEnd play_category(QuizRun& run, s32 c) {
    for (;;) {
        ask_question(run, c);
        const s32 go_on_or_stop =
            cal_lines({{.text = 31384_t, .right = {HOST}, .choose = {31385_t, 31386_t}}});
        bool go_on = true;
        bool paid = false;
        if (go_on_or_stop == 0) {
            if (run.pot == 0) {
                if (player_record.money >= QUIZ_STAKE) {
                    money_add(-QUIZ_STAKE);
                    run.pot = QUIZ_REBUY_POT;
                } else {
                    cal_lines({{.text = 31387_t, .right = {HOST}}});
                    go_on = false;
                }
            }
        } else {
            go_on = false;
            money_add(run.pot);
            paid = true;
        }
        // The category's last question pays the pot and returns to the menu; a stop on it has
        // paid the pot already and is not paid twice.
        if (run.finished(c)) {
            if (!paid) money_add(run.pot);
            return CategoryEnd::Menu;
        }
        if (!go_on) return CategoryEnd::Quiz;
    }
}

} // namespace

s32 quiz_prompt(s32 c, s32 q) {
    return valid_question(c, q) ? QUIZ_TABLE[c].first_prompt + QUIZ_TEXTS_PER_QUESTION * q : 0;
}

s32 quiz_option(s32 c, s32 q, s32 option) {
    if (!valid_question(c, q) || option < 0 || option >= QUIZ_OPTIONS) return 0;
    return quiz_prompt(c, q) + 1 + option;
}

void prize_quiz() {
    intro();
    QuizRun run;
    for (;;) {
        if (run.all_finished()) {
            cal_lines({{.text = 31398_t, .to = 31401_t, .right = {PRESENTER}}});
            return;
        }
        CalText menu[QUIZ_MENU_CATEGORIES];
        for (s32 c = 0; c < QUIZ_MENU_CATEGORIES; c++)
            menu[c] = CalText{run.finished(c) ? QUIZ_FINISHED_TEXT : QUIZ_TABLE[c].menu_text};
        s32 c = cal_lines(
            {{.text = 31373_t, .right = {HOST}, .choose = {menu[0], menu[1], menu[2], menu[3]}}});
        if (c < 0 || c >= QUIZ_MENU_CATEGORIES) c = 0;
        money_add(-QUIZ_STAKE);
        run.pot = QUIZ_STAKE;
        if (run.finished(c)) {
            if (run.finished(QUIZ_BONUS)) {
                cal_lines({{.text = 31379_t, .right = {HOST}}});
                continue;
            }
            c = QUIZ_BONUS;
        }
        if (play_category(run, c) == CategoryEnd::Quiz) return;
    }
}
