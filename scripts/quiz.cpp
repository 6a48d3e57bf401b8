#include "scripts/quiz.h"

#include "engine/dialog.h"
#include "scripts/kit.h"

namespace {
void asker_says(s32 asker, s32 text) {
    if (text >= 0 && script_obj_valid(asker)) say_at(asker, text);
}
} // namespace

s32 quiz_run(const Quiz& q, s32 asker, s32 position) {
    if (!quiz_valid(q)) return 0;
    s32 right = 0;
    for (const QuizQuestion& question : q.questions) {
        for (const s32 bubble : question.bubbles) asker_says(asker, bubble);
        const auto& o = question.options;
        const s32 answer = q.highlight ? menu_choice(position, q.portrait, o[0], o[1], o[2], o[3])
                                       : choose(position, q.portrait, o[0], o[1], o[2], o[3]);
        if (answer != question.right) {
            if (q.wrong_base >= 0) asker_says(asker, q.wrong_base + right);
            if (q.wrong_player >= 0) say(position, q.portrait, q.wrong_player);
            return right;
        }
        ++right;
        asker_says(asker, q.right_line);
    }
    return right;
}
