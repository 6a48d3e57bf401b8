// PENDING: placeholder bodies until the hub dialogue lands (owner replaces this whole file).
#include "game/hub_dialog.h"

void hub_show(s32, s32, s32, s32) {}
void hub_say(s32, s32, s32, s32) {}
void hub_say_pic(s32, s32, s32, s32, s32, s32, s32) {}
void hub_say_pic_over(s32, s32, s32, s32, s32, s32, s32) {}
s32 hub_choose(s32, s32, s32, s32, s32, s32, s32) { return 0; }
s32 hub_choose_pic(s32, s32, s32, s32, s32, s32, s32, s32, s32, s32) { return 0; }
s32 hub_choose_pic_over(s32, s32, s32, s32, s32, s32, s32, s32, s32, s32) { return 0; }
void hub_say_lines(s32, s32, s32, s32) {}
void hub_travel() {}
void hub_transition(s32) {}
void hub_transition_short() {}
