// The hub's own dialogue services, drawn over the dashboard: caption picture, two large
// portraits (62000 + n; a negative number leaves that side empty), text in the lower band,
// choices of up to four rows; the travel animation and the two transitions.
#pragma once
#include "engine/types.h"

void hub_show(s32 caption, s32 left, s32 right, s32 text);
void hub_say(s32 caption, s32 left, s32 right, s32 text);
void hub_say_pic(s32 caption, s32 x, s32 y, s32 picture, s32 left, s32 right, s32 text);
void hub_say_pic_over(s32 caption, s32 x, s32 y, s32 picture, s32 left, s32 right, s32 text);
s32 hub_choose(s32 caption, s32 left, s32 right, s32 t0, s32 t1, s32 t2, s32 t3);
s32 hub_choose_pic(s32 caption, s32 left, s32 right, s32 x, s32 y, s32 picture, s32 t0, s32 t1,
                   s32 t2, s32 t3);
s32 hub_choose_pic_over(s32 caption, s32 left, s32 right, s32 x, s32 y, s32 picture, s32 t0,
                        s32 t1, s32 t2, s32 t3);
void hub_say_lines(s32 t0, s32 t1, s32 t2, s32 t3);
void hub_travel();
void hub_transition(s32 kind);
void hub_transition_short();
