// Placeholder pictures of the battle screen, our own content: framed boxes showing their ids (the
// fighters' frames show their frame number), sized and anchored as the battle draws them.
#pragma once
#include "engine/types.h"

class ArcBuilder;

// Battle grounds 25810..25864 (one shared 640 x 480 picture with the grid's cells), the cell
// highlight 25765 (a 72 x 36 diamond centred on its point), field overlays 25766..25768, the
// command bar 25735 with its buttons 25736..25743, 25762, 25763, the list panel and its buttons
// 25744..25754 and 25758, gauge 25755..25761, panels 25769..25775, guard pictures 25776 and
// 25777, the effect flash 20882..20898, portraits 1000..1299, and every image that a part of the
// embedded animation library names (fighters standing on their point, effects centred on theirs).
// Shared pictures are written once and the other ids alias them.
void battle_put_placeholder_content(ArcBuilder& builder);

// The first ids of the battle grounds that the encounters name.
constexpr s32 PLACEHOLDER_GROUND_FIRST = 25810, PLACEHOLDER_GROUND_LAST = 25864;
