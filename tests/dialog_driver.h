// The dialogue driver: answers the dialogue services of a scene under test and records what the
// scene says and does, in one of two modes.
//
// - Transcript mode (`dialog_transcript_mode`): nothing waits for input. Every wait of `say`,
//   `say_at` and `say_center` ends at once, and every `choose` takes the next queued answer
//   (`dialog_answer`). The boxes are still drawn and paged, so the screen ends as it would.
// - Real-input mode (`dialog_real_mode`): the answers go through the headless harness as real
//   input, each queued consume-gated when its wait or choice starts. A wait takes the next queued
//   key or click (`dialog_real_key`, `dialog_real_click`), or else the mode's default answer (a
//   key, or a left click); a `choose` takes the next queued answer: `dialog_answer` puts the
//   pointer on that option's row and left-clicks it, `dialog_real_input` runs any input plan.
//
// Both modes record the transcript: one `TranscriptEntry` per `say`, `say_at`, `say_center`,
// `choose` (with the option chosen), label, log line, music, sound and map change, in order, and
// per call of the hub's dialogue (`hub_show`, `hub_say` and its picture forms, `hub_choose` and its
// picture forms, `hub_say_lines`, the travel and transition animations). The hub's waits end only
// by a mouse button: in real-input mode they take a left click by default whatever the mode's
// default, and a hub choice is answered by a timed left click (`dialog_timed_click`) in the
// middle of the option's row. The
// waits of a box count into its entry's `pages`; a wait outside a box is an entry of its own.
//
// Failing: a `choose` with no queued answer, an answer naming an absent option or an index outside
// 0..5, or a choice meeting an answer meant for a wait, fails the test (a gtest failure) and throws
// `DialogDriverError` out of the scene with the call and the reason in its message.
#pragma once
#include "engine/transcript.h"
#include "engine/types.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

struct DialogDriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr u32 DIALOG_KEY_SPACE = 0x20;

enum class DialogWaitAnswer { Key, Click };

// Installs the driver's observer with an empty queue and transcript (either call starts over).
void dialog_transcript_mode();
void dialog_real_mode(DialogWaitAnswer default_wait = DialogWaitAnswer::Key);
// Removes the observer; the queue and the transcript stay readable.
void dialog_driver_stop();

// The next `choose` returns option `index` (real-input mode: clicked on its row).
void dialog_answer(s32 index);
void dialog_answers(const std::vector<s32>& indices);
// Real-input mode: the next wait ends by this key / by this click at (x, y).
void dialog_real_key(u32 vk = DIALOG_KEY_SPACE);
void dialog_real_click(s32 button = 1, s32 x = 320, s32 y = 240);
// Real-input mode: the next wait or choice runs `plan` when it starts (after the service has
// cleared the input words); the plan queues harness input of its own and must end the wait or the
// choice, or the test blocks until the harness budget fails it.
void dialog_real_input(std::function<void(const TranscriptEntry&)> plan);
size_t dialog_answers_left();
// Real-input mode: queues a click at (x, y) on the virtual clock, pressed for
// DIALOG_TIMED_PRESS_MS and DIALOG_TIMED_GAP_MS after the timed click queued before it (the first
// DIALOG_TIMED_LEAD_MS from now). For the screens that read the buttons once a frame and clear
// them when they act, as the hub's choice does: a press held over several frames is seen whatever
// the screen reads between its presents, and seen once. (A gated click is released as soon as
// the game has read any input word and presented a frame, which such a screen may never see.)
// A hub choice answered by `dialog_answer` is clicked this way.
constexpr u64 DIALOG_TIMED_LEAD_MS = 50, DIALOG_TIMED_PRESS_MS = 100, DIALOG_TIMED_GAP_MS = 250;
void dialog_timed_click(s32 x, s32 y, s32 button = 1);

// The screen point in the middle of option row `index` of the choice box at `position`.
void dialog_option_point(s32 position, s32 index, s32* x, s32* y);
// The middle of row `index` of the hub's choice (x 9..608, rows 24 high from y 377).
void dialog_hub_option_point(s32 index, s32* x, s32* y);

// Records every image draw and the hub screens' prints too (off at every start of a mode).
void dialog_record_draws(bool on);
// The TRANSCRIPT_DRAW entries recorded so far, in order.
std::vector<TranscriptEntry> dialog_draws();
// Forgets the transcript recorded so far (the queue stays).
void dialog_transcript_clear();

const std::vector<TranscriptEntry>& dialog_transcript();
// The transcript as lines: "say 2 1203 10703", "say_at 178 10706", "say_center Load Error!!!",
// "choose 3 1000 27055 27056 -> 0" (options up to the last present one, absent ones -1),
// "wait 190 30", "label 0 10000 0 -40 2000", "log 280", "log_number 280 5", "log_text 280 281",
// "music 10018 0", "sound 500 1", "change_map 9 100 200"; the hub's: "hub_say 0 0 -1 11840"
// (caption left right text, then " pic ID X Y" or " over ID X Y" for the picture forms),
// "hub_show 1 -1 175 11384", "hub_choose 1 0 168 t0 t1 t2 t3 -> 2", "hub_say_lines 470 0 0 0",
// "hub_travel", "hub_transition 5", "hub_transition_short"; with draws recorded:
// "draw 60300 0 0" (" flags N" when not 0), "print 313 54 221", "print_number 17 3 280 57".
std::string dialog_describe(const TranscriptEntry& entry);
std::vector<std::string> dialog_lines();
