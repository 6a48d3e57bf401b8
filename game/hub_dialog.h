// The hub's own dialogue services, drawn over the dashboard: caption picture, two large
// portraits (62000 + n; a negative number leaves that side empty), text in the lower band,
// choices of up to four rows; the travel animation and the two transitions.
//
// Every service reports itself to the transcript observer (engine/transcript.h): the says, the
// choices and the line summaries with their captions, portraits and texts; their waits are
// TRANSCRIPT_WAIT entries that only a mouse button ends, and a choice may be answered by the
// observer.
#pragma once
#include "engine/types.h"

// Layout of the dialogue layer.
constexpr s32 HUB_CAPTION_IMAGE = 60323; // + caption, at (0, 328)
constexpr s32 HUB_CAPTION_X = 0, HUB_CAPTION_Y = 328;
constexpr s32 HUB_PORTRAIT_IMAGE = 62000; // + portrait number
constexpr s32 HUB_LEFT_X = 265, HUB_RIGHT_X = 384, HUB_PORTRAIT_Y = 172;
constexpr s32 HUB_TEXT_X = 9, HUB_TEXT_Y = 377, HUB_LINE_H = 24;
constexpr s32 HUB_TEXT_LIMIT = 25; // characters a line
constexpr s32 HUB_CHOICE_ROWS = 4;
constexpr s32 HUB_CHOICE_LEFT = 9, HUB_CHOICE_RIGHT = 608; // a click counts inside both edges
constexpr s32 HUB_TRAVEL_FRAMES = 24;
constexpr s32 HUB_TRANSITION_IMAGE = 61150; // six frames; the short notice: 61156, 61157
constexpr s32 HUB_TRANSITION_X = 212, HUB_TRANSITION_Y = 112;
constexpr s32 HUB_TRANSITION_MS = 200;

void hub_show(s32 caption, s32 left, s32 right, s32 text);
void hub_say(s32 caption, s32 left, s32 right, s32 text);
void hub_say_pic(s32 caption, s32 x, s32 y, s32 picture, s32 left, s32 right, s32 text);
void hub_say_pic_over(s32 caption, s32 x, s32 y, s32 picture, s32 left, s32 right, s32 text);
// The row clicked, 0..3 (only a present option, id > 0, can be chosen). A choice without any
// present option cannot be answered: it shows its layer once and returns 0.
s32 hub_choose(s32 caption, s32 left, s32 right, s32 t0, s32 t1, s32 t2, s32 t3);
s32 hub_choose_pic(s32 caption, s32 left, s32 right, s32 x, s32 y, s32 picture, s32 t0, s32 t1,
                   s32 t2, s32 t3);
s32 hub_choose_pic_over(s32 caption, s32 left, s32 right, s32 x, s32 y, s32 picture, s32 t0, s32 t1,
                        s32 t2, s32 t3);
// The summary box: one more line per click; ids of 0 or below are skipped without a wait.
void hub_say_lines(s32 t0, s32 t1, s32 t2, s32 t3);
void hub_travel();
// Twelve frames of the transition, then the backdrop of `kind` (0..7; any other keeps it).
void hub_transition(s32 kind);
// The short notice: four frames, nothing while a field loop runs.
void hub_transition_short();
// The backdrop `hub_transition` sets for kind, or -1 when it leaves the backdrop as it is.
s32 hub_transition_backdrop(s32 kind);
