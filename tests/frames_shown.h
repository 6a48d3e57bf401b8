// The placeholder check of a script file's frames: every frame a file's tables show has a
// picture in the placeholder archive, so that a person sees in a window what the script shows.
#pragma once
#include "engine/types.h"

#include <cstddef>
#include <vector>

// A script file's frame visitor (`contest_hall_frames`, `dining_frames`, ...).
using FramesVisitor = void (*)(void (*visit)(s32 frame, void* ctx), void* ctx);

struct FramesShown {
    size_t count = 0;           // frames visited
    std::vector<s32> missing{}; // frames without a picture, in visiting order
};

// Runs `frames` over the placeholder archive with the player's images: a mirrored frame (below
// 0) shows the picture of its magnitude.
FramesShown frames_shown(FramesVisitor frames);
