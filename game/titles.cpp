// PENDING: placeholder bodies until the title awards land (owner replaces this whole file).
#include "game/titles.h"

void title_award_check(s32) {}
void title_award_show(s32) {}
