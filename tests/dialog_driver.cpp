// The dialogue driver: transcript recording and the two ways of answering.
#include "tests/dialog_driver.h"

#include "engine/dialog.h"
#include "game/hub_dialog.h"
#include "platform/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <sstream>

namespace {

enum class AnswerKind { Choice, Key, Click, Plan };

struct Answer {
    AnswerKind kind = AnswerKind::Choice;
    s32 index = 0;
    u32 vk = 0;
    s32 button = 1, x = 0, y = 0;
    std::function<void(const TranscriptEntry&)> plan;
};

enum class Mode { Off, Transcript, Real };

struct Driver {
    Mode mode = Mode::Off;
    DialogWaitAnswer default_wait = DialogWaitAnswer::Key;
    std::deque<Answer> answers;
    std::vector<TranscriptEntry> transcript;
    u64 timed_next = 0; // the earliest virtual time of the next timed click
};

Driver& drv() {
    static Driver d;
    return d;
}

[[noreturn]] void fail(const TranscriptEntry& e, const std::string& why) {
    const std::string message = "dialogue driver: " + dialog_describe(e) + ": " + why;
    ADD_FAILURE() << message;
    throw DialogDriverError(message);
}

bool is_box(s32 kind) {
    return kind == TRANSCRIPT_SAY || kind == TRANSCRIPT_SAY_AT || kind == TRANSCRIPT_SAY_CENTER ||
           kind == TRANSCRIPT_HUB_SAY || kind == TRANSCRIPT_HUB_SAY_LINES;
}

bool is_choice(s32 kind) {
    return kind == TRANSCRIPT_CHOOSE || kind == TRANSCRIPT_HUB_CHOOSE;
}

// Options of a choice entry: `choose` leaves absent ones below 0, the hub's choice 0 or below.
bool option_present(const TranscriptEntry& e, s32 index) {
    if (e.kind == TRANSCRIPT_HUB_CHOOSE) return index < HUB_CHOICE_ROWS && e.text[index] > 0;
    return e.text[index] >= 0;
}

s32 on_wait(const TranscriptEntry& e) {
    Driver& d = drv();
    std::vector<TranscriptEntry>& t = d.transcript;
    // The box the wait belongs to: the last entry that is not a recorded draw or print.
    auto box = std::find_if(t.rbegin(), t.rend(), [](const TranscriptEntry& x) {
        return x.kind != TRANSCRIPT_DRAW && x.kind != TRANSCRIPT_PRINT &&
               x.kind != TRANSCRIPT_PRINT_NUMBER;
    });
    if (box != t.rend() && is_box(box->kind))
        ++box->pages;
    else
        t.push_back(e);
    if (d.mode == Mode::Transcript) return TRANSCRIPT_SKIP;

    // Real input: the next queued wait answer, or the default one.
    Answer a;
    if (!d.answers.empty() && d.answers.front().kind != AnswerKind::Choice) {
        a = d.answers.front();
        d.answers.pop_front();
    } else {
        // A wait that only a mouse button ends (the hub's) takes a click whatever the default.
        const bool key = d.default_wait == DialogWaitAnswer::Key && !e.mouse_only;
        a.kind = key ? AnswerKind::Key : AnswerKind::Click;
        a.vk = DIALOG_KEY_SPACE;
        a.x = 320;
        a.y = 240;
    }
    switch (a.kind) {
    case AnswerKind::Key:
        harness_key(a.vk, gated());
        break;
    case AnswerKind::Click:
        harness_click(a.x, a.y, a.button, gated());
        break;
    case AnswerKind::Plan:
        a.plan(e);
        break;
    case AnswerKind::Choice:
        break;
    }
    return TRANSCRIPT_RUN;
}

s32 on_choose(const TranscriptEntry& e) {
    Driver& d = drv();
    d.transcript.push_back(e);
    if (d.answers.empty()) fail(e, "no answer queued for this choice");
    const Answer a = d.answers.front();
    d.answers.pop_front();
    if (a.kind == AnswerKind::Plan) {
        if (d.mode == Mode::Transcript) fail(e, "an input plan needs the real-input mode");
        a.plan(e);
        return TRANSCRIPT_RUN;
    }
    if (a.kind != AnswerKind::Choice) fail(e, "the next answer is meant for a wait, not a choice");
    if (a.index < 0 || a.index >= TRANSCRIPT_OPTIONS)
        fail(e, "answer " + std::to_string(a.index) + " is not an option index 0..5");
    if (!option_present(e, a.index)) fail(e, "option " + std::to_string(a.index) + " is absent");
    if (d.mode == Mode::Transcript) return a.index;
    s32 x = 0, y = 0;
    if (e.kind == TRANSCRIPT_HUB_CHOOSE) {
        // The hub's choice reads the buttons once a frame: a held press.
        dialog_hub_option_point(a.index, &x, &y);
        dialog_timed_click(x, y, 1);
        return TRANSCRIPT_RUN;
    }
    dialog_option_point(e.position, a.index, &x, &y);
    harness_click(x, y, 1, gated());
    return TRANSCRIPT_RUN;
}

s32 observe(const TranscriptEntry& e) {
    Driver& d = drv();
    switch (e.kind) {
    case TRANSCRIPT_WAIT:
        return on_wait(e);
    case TRANSCRIPT_CHOOSE:
    case TRANSCRIPT_HUB_CHOOSE:
        return on_choose(e);
    case TRANSCRIPT_CHOSEN:
        for (auto it = d.transcript.rbegin(); it != d.transcript.rend(); ++it)
            if (is_choice(it->kind)) {
                it->choice = e.choice;
                break;
            }
        return TRANSCRIPT_RUN;
    default:
        d.transcript.push_back(e);
        return TRANSCRIPT_RUN;
    }
}

void start(Mode mode, DialogWaitAnswer default_wait) {
    Driver& d = drv();
    d.mode = mode;
    d.default_wait = default_wait;
    d.answers.clear();
    d.transcript.clear();
    d.timed_next = 0;
    transcript_draws = false;
    transcript_observer = observe;
}

} // namespace

void dialog_transcript_mode() {
    start(Mode::Transcript, DialogWaitAnswer::Key);
}

void dialog_real_mode(DialogWaitAnswer default_wait) {
    start(Mode::Real, default_wait);
}

void dialog_driver_stop() {
    transcript_observer = nullptr;
    transcript_draws = false;
    drv().mode = Mode::Off;
}

void dialog_answer(s32 index) {
    Answer a;
    a.kind = AnswerKind::Choice;
    a.index = index;
    drv().answers.push_back(a);
}

void dialog_answers(const std::vector<s32>& indices) {
    for (s32 i : indices) dialog_answer(i);
}

void dialog_real_key(u32 vk) {
    Answer a;
    a.kind = AnswerKind::Key;
    a.vk = vk;
    drv().answers.push_back(a);
}

void dialog_real_click(s32 button, s32 x, s32 y) {
    Answer a;
    a.kind = AnswerKind::Click;
    a.button = button;
    a.x = x;
    a.y = y;
    drv().answers.push_back(a);
}

void dialog_real_input(std::function<void(const TranscriptEntry&)> plan) {
    Answer a;
    a.kind = AnswerKind::Plan;
    a.plan = std::move(plan);
    drv().answers.push_back(a);
}

size_t dialog_answers_left() {
    return drv().answers.size();
}

void dialog_timed_click(s32 x, s32 y, s32 button) {
    Driver& d = drv();
    const u64 at = std::max(harness_elapsed_ms() + DIALOG_TIMED_LEAD_MS, d.timed_next);
    harness_move(x, y, at_time(at));
    harness_button_down(button, at_time(at));
    harness_button_up(button, at_time(at + DIALOG_TIMED_PRESS_MS));
    d.timed_next = at + DIALOG_TIMED_GAP_MS;
}

void dialog_option_point(s32 position, s32 index, s32* x, s32* y) {
    const DialogLayout l = dialog_layout(position);
    *x = l.text_x + DIALOG_ROW_W / 2;
    *y = l.box_y + DIALOG_ROWS_TOP + DIALOG_ROW_H * index + DIALOG_ROW_H / 2;
}

void dialog_hub_option_point(s32 index, s32* x, s32* y) {
    *x = (HUB_CHOICE_LEFT + HUB_CHOICE_RIGHT) / 2;
    *y = HUB_TEXT_Y + HUB_LINE_H * index + HUB_LINE_H / 2;
}

void dialog_record_draws(bool on) {
    transcript_draws = on;
}

std::vector<TranscriptEntry> dialog_draws() {
    std::vector<TranscriptEntry> draws;
    for (const TranscriptEntry& e : drv().transcript)
        if (e.kind == TRANSCRIPT_DRAW) draws.push_back(e);
    return draws;
}

void dialog_transcript_clear() {
    drv().transcript.clear();
}

const std::vector<TranscriptEntry>& dialog_transcript() {
    return drv().transcript;
}

std::string dialog_describe(const TranscriptEntry& e) {
    std::ostringstream s;
    switch (e.kind) {
    case TRANSCRIPT_SAY:
        s << "say " << e.position << ' ' << e.portrait << ' ' << e.text[0];
        break;
    case TRANSCRIPT_SAY_AT:
        s << "say_at " << e.object << ' ' << e.text[0];
        break;
    case TRANSCRIPT_SAY_CENTER:
        s << "say_center " << e.literal;
        break;
    case TRANSCRIPT_CHOOSE: {
        s << "choose " << e.position << ' ' << e.portrait;
        s32 last = 0;
        for (s32 i = 0; i < TRANSCRIPT_OPTIONS; ++i)
            if (e.text[i] >= 0) last = i;
        for (s32 i = 0; i <= last; ++i) s << ' ' << e.text[i];
        s << " -> " << e.choice;
        break;
    }
    case TRANSCRIPT_CHOSEN:
        s << "chosen " << e.choice;
        break;
    case TRANSCRIPT_WAIT:
        s << "wait " << e.x << ' ' << e.y;
        break;
    case TRANSCRIPT_LABEL:
        s << "label " << e.object << ' ' << e.text[0] << ' ' << e.x << ' ' << e.y << ' '
          << e.number;
        break;
    case TRANSCRIPT_LOG_TEXT:
        s << "log " << e.text[0];
        break;
    case TRANSCRIPT_LOG_TEXT_NUMBER:
        s << "log_number " << e.text[0] << ' ' << e.number;
        break;
    case TRANSCRIPT_LOG_TEXT_TEXT:
        s << "log_text " << e.text[0] << ' ' << e.text[1];
        break;
    case TRANSCRIPT_MUSIC:
        s << "music " << e.id << ' ' << e.number;
        break;
    case TRANSCRIPT_SOUND:
        s << "sound " << e.id << ' ' << e.number;
        break;
    case TRANSCRIPT_CHANGE_MAP:
        s << "change_map " << e.id << ' ' << e.x << ' ' << e.y;
        break;
    case TRANSCRIPT_HUB_SHOW:
    case TRANSCRIPT_HUB_SAY:
        s << (e.kind == TRANSCRIPT_HUB_SHOW ? "hub_show " : "hub_say ") << e.caption << ' '
          << e.left << ' ' << e.right << ' ' << e.text[0];
        if (e.id >= 0)
            s << (e.number == TRANSCRIPT_PIC_OVER ? " over " : " pic ") << e.id << ' ' << e.x << ' '
              << e.y;
        break;
    case TRANSCRIPT_HUB_CHOOSE:
        s << "hub_choose " << e.caption << ' ' << e.left << ' ' << e.right;
        for (s32 i = 0; i < HUB_CHOICE_ROWS; ++i) s << ' ' << e.text[i];
        if (e.id >= 0)
            s << (e.number == TRANSCRIPT_PIC_OVER ? " over " : " pic ") << e.id << ' ' << e.x << ' '
              << e.y;
        s << " -> " << e.choice;
        break;
    case TRANSCRIPT_HUB_SAY_LINES:
        s << "hub_say_lines";
        for (s32 i = 0; i < HUB_CHOICE_ROWS; ++i) s << ' ' << e.text[i];
        break;
    case TRANSCRIPT_HUB_TRAVEL:
        s << "hub_travel";
        break;
    case TRANSCRIPT_HUB_TRANSITION:
        s << "hub_transition " << e.number;
        break;
    case TRANSCRIPT_HUB_NOTICE:
        s << "hub_transition_short";
        break;
    case TRANSCRIPT_DRAW:
        s << "draw " << e.id << ' ' << e.x << ' ' << e.y;
        if (e.number != 0) s << " flags " << e.number;
        break;
    case TRANSCRIPT_PRINT:
        s << "print " << e.text[0] << ' ' << e.x << ' ' << e.y;
        break;
    case TRANSCRIPT_PRINT_NUMBER:
        s << "print_number " << e.number << ' ' << e.id << ' ' << e.x << ' ' << e.y;
        break;
    default:
        s << "kind " << e.kind;
        break;
    }
    return s.str();
}

std::vector<std::string> dialog_lines() {
    std::vector<std::string> lines;
    for (const TranscriptEntry& e : drv().transcript) lines.push_back(dialog_describe(e));
    return lines;
}
