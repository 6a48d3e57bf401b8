// The input layout of the animation target (fuzz/anim_fuzz.cpp), shared with its seed writer.
//
// Byte 0: bits 0-2 the number k - 1 of animations the input carries (k = 1..8), bit 3 one more
// animation for slot 4095, bits 4-5 the number of playback steps - 1, bit 7 the raw form (below).
// Then ANIM_TRACKS groups of ANIM_FUZZ_TRACK_BYTES, one per track: the slot (byte % (k + 3): 0 the
// empty slot 0, 1..k the input's, k + 1 slot 4095, k + 2 off), the frame (s8), the position (x =
// (low nibble) x 48 - 60, y = (high nibble) x 36 - 50), and flags (bit 0 mirror, bit 1 dim, bit 2
// wait, bits 3-5 the hit points in use, 0..6, at positions around the track's). The rest holds the
// animations back to back, for slots 1..k (and 4095): each slot spans the bytes its own frame and
// part counts give, and the mutations work on the playback rather than on the install check. A
// record that runs out of bytes keeps only its whole frames, and image ids are folded into the
// archive's image id space, unless the raw form is asked for: then the record keeps its counts and
// spans the bytes left (the library is refused), and every id is drawn as it is. Bytes after the
// last animation are not part of the library.
#pragma once
#include "engine/anim.h"
#include "engine/types.h"

#include <cstddef>

constexpr size_t ANIM_FUZZ_TRACK_BYTES = 4;
constexpr s32 ANIM_FUZZ_MAX_SLOTS = 8;

// Bytes before the animations.
constexpr size_t ANIM_FUZZ_HEADER_BYTES = 1 + ANIM_TRACKS * ANIM_FUZZ_TRACK_BYTES;
