// Floating labels and the message log.
//
// A floating label is a short text hanging over an object (or a fixed screen point) for a number
// of field frames; the scene draws every label whose countdown is not 0 and the field loop counts
// the countdowns down.
//
// The message log holds up to three short lines of recent events (items gained, values
// changed...), oldest first. They are drawn only while a frame is presented (`screen_present`),
// each for about three seconds after it was pushed, so the back buffer never keeps them.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 LABEL_COUNT = 64;
constexpr s32 LABEL_TEXT_SIZE = 120;
constexpr s32 LABEL_FRAME_MS = 40;        // countdown := duration_ms / 40
constexpr u32 LABEL_SCREEN_OBJECT = 4096; // object numbers above 4095 fix a label to the screen

struct FloatingLabel {
    u16 countdown; // field frames left; 0 = free
    u16 object;    // the object the label follows; above 4095 the label stands on the screen
    s16 dx;        // from the object's foot x, or from the screen's left edge
    s16 dy;        // from the object's foot y - z, or from the screen's top edge
    char text[LABEL_TEXT_SIZE]; // expanded text, 0-ended (its last byte is always 0)
};
static_assert(sizeof(FloatingLabel) == 128);
static_assert(offsetof(FloatingLabel, object) == 2);
static_assert(offsetof(FloatingLabel, dx) == 4);
static_assert(offsetof(FloatingLabel, dy) == 6);
static_assert(offsetof(FloatingLabel, text) == 8);

extern FloatingLabel label_table[LABEL_COUNT];

// Puts the expanded text in the first free label (cut at a character boundary to fit); does
// nothing when all 64 are in use.
void label_add(s32 obj, s32 text_id, s32 dx, s32 dy, s32 duration_ms);
// Frees every label that follows obj.
void label_remove(s32 obj);
// Frees every label (start-up and map changes).
void label_clear();

constexpr s32 LOG_LINES = 3;
constexpr s32 LOG_LINE_SIZE = 200;
constexpr u32 LOG_SHOW_MS = 3000; // a line is shown until this long after it was pushed
constexpr s32 LOG_TOP = 432;      // the log strip: y 432..479, one line every 16 pixels
constexpr s32 LOG_LINE_STEP = 16;

extern char log_lines[LOG_LINES][LOG_LINE_SIZE]; // oldest first; empty when byte 0 is 0
extern u32 log_stamps[LOG_LINES];                // tick count at which each line was pushed

// Push a log line built from a stored format and the expanded text(s), then present.
void log_text_number(s32 text_id, s32 number);
void log_text(s32 text_id);
void log_text_text(s32 text_id, s32 text_id2);
// Empties every log line.
void log_clear();
// Prints the log lines on the strip at the bottom of the back buffer and empties the lines that
// have expired at `now` (a line is printed one last time in the frame in which it expires).
// `screen_present` calls it around the present.
void log_draw(u32 now);
bool log_empty();
