// The short text columns of the game's screens, for the placeholder texts: texts printed top to
// bottom (or a line of labels side by side) with little room before whatever the screen prints
// next in the same column or line. The
// placeholder text of such an id takes a shorter form that still shows the id (see
// `text_placeholder_form`). Our own content.
#pragma once
#include "engine/types.h"

#include <span>
#include <string>

struct TextColumn {
    s32 first, last; // text ids first..last
    s32 size;        // the type size the screens print them in, in pixels
    s32 room;        // pixels along the column before the next thing in it
    // Every screen prints these ids in `size`: the form may print its digits smaller and set the
    // size back to `size` after them. Otherwise the form keeps the size it is printed in.
    bool one_size;
};

std::span<const TextColumn> text_short_columns();

// The placeholder text of `id`: the word "文字" (Big5) and the id in digits; in a short column
// the id alone, or the id in smaller digits ("$S" markup, the size set back after it), or where
// not even that fits the id's last digits that fit in the smallest type.
std::string text_placeholder_form(s32 id);
