// The transcript observer: one optional hook that sees what a scene says and does (dialogue boxes,
// bubbles, notices, choices, the waits for the player, floating labels, message-log lines, music,
// sounds and map changes), each as a `TranscriptEntry`, so that a scene can be followed without
// looking at pixels. Without an observer (the game itself) every notification is one null test.
//
// How the observer short-circuits the waits
// ------------------------------------------
// The dialogue services wait for the player in three places only: the continue arrow
// (`wait_key_blink`), the marker of `say_center` and the polling loop of `choose`. Each of them,
// once its box is drawn and the input words are cleared, tells the observer first:
//   - TRANSCRIPT_WAIT: the observer returns TRANSCRIPT_RUN to let the wait poll the input as usual,
//     or any other value to end the wait at once (nothing is presented, no input is read or
//     cleared afterwards).
//   - TRANSCRIPT_CHOOSE: the observer returns the answer 0..5, and `choose` skips its loop and
//     returns it (then redraws the scene as it always does). An index outside 0..5 or of an
//     absent option, and TRANSCRIPT_RUN, run the loop as usual.
// Everything else (drawing, paging, restoring the screen) runs the same either way, so the back
// buffer ends up as it would with real input. Every `choose` ends with TRANSCRIPT_CHOSEN carrying
// the index returned, however it was answered. The other kinds are notifications whose return
// value is ignored. An observer may also throw (a test failing on an unexpected dialogue): the
// exception leaves the service where it stands.
#pragma once
#include "engine/types.h"

enum TranscriptKind : s32 {
    TRANSCRIPT_SAY = 1,         // position, portrait, text[0]
    TRANSCRIPT_SAY_AT,          // object, text[0]; x, y the bubble's top-left on the screen
    TRANSCRIPT_SAY_CENTER,      // literal; x, y the box's top-left
    TRANSCRIPT_CHOOSE,          // position, portrait, text[0..5] (below 0: absent)
    TRANSCRIPT_CHOSEN,          // choice: the index `choose` returns
    TRANSCRIPT_WAIT,            // x, y where the continue arrow or marker blinks
    TRANSCRIPT_LABEL,           // object, text[0]; x, y = dx, dy; number = duration in ms
    TRANSCRIPT_LOG_TEXT,        // text[0]
    TRANSCRIPT_LOG_TEXT_NUMBER, // text[0], number
    TRANSCRIPT_LOG_TEXT_TEXT,   // text[0], text[1]
    TRANSCRIPT_MUSIC,           // id, number = loop count
    TRANSCRIPT_SOUND,           // id, number = loop count
    TRANSCRIPT_CHANGE_MAP,      // id = map, x, y
    // The calendar hub's dialogue over the dashboard. caption, left, right as passed (a portrait
    // below 0 is none); id = the extra picture of the `_pic` forms (-1 none) at x, y; number =
    // TRANSCRIPT_PIC_UNDER (picture under the portraits) or TRANSCRIPT_PIC_OVER.
    TRANSCRIPT_HUB_SHOW,       // text[0]; never waits
    TRANSCRIPT_HUB_SAY,        // text[0]; one wait follows
    TRANSCRIPT_HUB_CHOOSE,     // text[0..3] as passed (0 or below: absent); answered like CHOOSE
    TRANSCRIPT_HUB_SAY_LINES,  // text[0..3] as passed (0 or below: absent); one wait per line
    TRANSCRIPT_HUB_TRAVEL,     // the travel animation
    TRANSCRIPT_HUB_TRANSITION, // number = kind
    TRANSCRIPT_HUB_NOTICE,     // the short notice animation
    // Drawing, reported only while `transcript_draws` is set.
    TRANSCRIPT_DRAW,         // id = image, x, y, number = blit flags
    TRANSCRIPT_PRINT,        // text[0] printed at x, y (the hub's screens)
    TRANSCRIPT_PRINT_NUMBER, // number printed at x, y; id = digit count (the hub's screens)
};

constexpr s32 TRANSCRIPT_PIC_UNDER = 1;
constexpr s32 TRANSCRIPT_PIC_OVER = 2;

constexpr s32 TRANSCRIPT_RUN = -1; // observer answer: let the service run as usual
constexpr s32 TRANSCRIPT_SKIP = 0; // observer answer to a wait: end it at once
constexpr s32 TRANSCRIPT_OPTIONS = 6;
constexpr s32 TRANSCRIPT_LITERAL_SIZE = 80;

struct TranscriptEntry {
    s32 kind = 0;
    s32 position = -1;                                       // box position of `say` and `choose`
    s32 portrait = -1;                                       // portrait image of `say` and `choose`
    s32 object = -1;                                         // the object of a bubble or a label
    s32 text[TRANSCRIPT_OPTIONS] = {-1, -1, -1, -1, -1, -1}; // text ids; unused ones -1
    s32 x = 0, y = 0;                                        // per kind (above)
    s32 number = 0;                                          // per kind (above)
    s32 id = -1;                                             // map, music or sound id
    s32 choice = -1;                         // TRANSCRIPT_CHOSEN: the index returned
    s32 pages = 0;                           // left to the observer (a recorder counts waits here)
    s32 caption = -1, left = -1, right = -1; // the hub's dialogue: caption and portraits
    bool mouse_only = false; // TRANSCRIPT_WAIT: only a mouse button ends it, a key does not
    char literal[TRANSCRIPT_LITERAL_SIZE] = {}; // `say_center`'s text, cut to fit, 0-ended
};

using TranscriptObserver = s32 (*)(const TranscriptEntry& entry);

// The observer; null (the default) observes nothing.
extern TranscriptObserver transcript_observer;
// Set by an observer that wants every image draw (TRANSCRIPT_DRAW) and the hub screens' prints
// (TRANSCRIPT_PRINT, TRANSCRIPT_PRINT_NUMBER) too; off by default, so ordinary transcripts only
// hold what a scene says and does.
extern bool transcript_draws;

// Hands the entry to the observer and returns its answer; TRANSCRIPT_RUN without an observer.
s32 transcript_note(const TranscriptEntry& entry);

// One-line notifications for the services outside the dialogue module (each caller tests
// `transcript_observer` first, so the game pays one null test).
void transcript_label(s32 obj, s32 text_id, s32 dx, s32 dy, s32 duration_ms);
void transcript_log(s32 kind, s32 text_id, s32 second); // second: the number or the second text
void transcript_sound(s32 kind, s32 id, s32 loop_count);
void transcript_change_map(s32 map, s32 x, s32 y);
// Drawing notes; each returns at once unless an observer is set and `transcript_draws` is on.
void transcript_draw(s32 image_id, s32 x, s32 y, u32 flags);
void transcript_print(s32 text_id, s32 x, s32 y);
void transcript_print_number(s32 value, s32 digits, s32 x, s32 y);
