// Title awards: 25 achievements, each with a title for a player of good standing and one for a
// player of low chivalry; the first one met is announced over the dashboard.
#pragma once
#include "engine/types.h"

constexpr s32 TITLE_AWARD_KINDS = 25;

// Awards the title of achievement `kind` (0..24) when its condition holds and neither of its
// titles is held; other kinds do nothing.
void title_award_check(s32 kind);
// The ten-line announcement of `title`, then 30 fame.
void title_award_show(s32 title);
