// Placeholder pictures of the opening events and their screens. The pictures of the screens show
// what the screens check, drawn from the screens' own tables: the grid boards their right
// intersection, the picture pair the one cell that differs, the point search its sought point
// among the others, and the entry test's pictures the option that names them.
#pragma once
#include "engine/types.h"

// 5-5-5 colours of those pictures. Each screen's answer is drawn in ANSWER and nothing else on
// them is: the right intersection's disc, the differing cell's mark, the sought point, the
// entry test's count of marks. The point search's other points are drawn in POINT.
constexpr u16 OPENING_PIC_ANSWER = 0x7C00; // red
constexpr u16 OPENING_PIC_POINT = 0x1088;  // dark blue-grey
constexpr u16 OPENING_PIC_LINE = 0x1882;   // the grid boards' lines
constexpr u16 OPENING_PIC_HOVER = 0x7FE0;  // the intersection marker: yellow
