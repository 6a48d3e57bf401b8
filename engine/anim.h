// The animation library and its player.
//
// Fighters' moves, hits and effects in the battle are multi-part animations: every frame places
// several images (body, shadow, weapon trails, sparks) and may start sounds. The library is one
// block of bytes holding 4096 numbered slots; `anim_offsets`[i] .. `anim_offsets`[i + 1] is the
// span of slot i, empty when the two are equal.
//
// A slot's record (little-endian, packed): a frame count byte, then each frame as an `AnimFrame`
// directly followed by its `part_count` `AnimPart`s. A record fills its span exactly.
//
// `anim_play` draws one step of twelve tracks (one per battle slot): a shadow pass, a body pass
// in painter's order by y, and the overlay animation a frame links to (a hit effect) at up to six
// points per track. The battle fills the track arrays and calls it once per drawn frame.
//
// The program embeds a library generated at build time from data/animations.txt; tests install
// small libraries of their own with `anim_install`.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 ANIM_SLOTS = 4096;
constexpr s32 ANIM_TRACKS = 12;
constexpr s32 ANIM_HIT_POINTS = 6;

// Frame header: 8 bytes, followed by `part_count` parts.
struct AnimFrame {
    s16 dx;         // offset of the whole frame (added as is, also when mirrored)
    s16 dy;         // offset of the whole frame
    u16 link;       // slot of an overlay animation that starts at this frame; 0 = none
    u16 part_count; // parts that follow
};
static_assert(sizeof(AnimFrame) == 8);
static_assert(offsetof(AnimFrame, dx) == 0);
static_assert(offsetof(AnimFrame, dy) == 2);
static_assert(offsetof(AnimFrame, link) == 4);
static_assert(offsetof(AnimFrame, part_count) == 6);

// One placed image or sound: 8 bytes.
struct AnimPart {
    s16 dx;      // from the frame position; negated when the track is mirrored
    s16 dy;      // from the frame position
    u32 kind_id; // bits 24-31 the kind (ANIM_KIND_*), bits 0-23 the image id (sound id for sounds)
};
static_assert(sizeof(AnimPart) == 8);
static_assert(offsetof(AnimPart, dx) == 0);
static_assert(offsetof(AnimPart, dy) == 2);
static_assert(offsetof(AnimPart, kind_id) == 4);

constexpr u32 anim_part_kind(u32 kind_id) {
    return kind_id >> 24;
}
constexpr u32 anim_part_id(u32 kind_id) {
    return kind_id & 0xFFFFFF;
}
constexpr u32 anim_kind_id(u32 kind, u32 id) {
    return kind << 24 | (id & 0xFFFFFF);
}

// Part kinds. Body parts are drawn in the body pass (dimmed with the track), shadow parts in the
// shadow pass (blend mode 3, never dimmed), a sound part plays in whichever pass meets it.
constexpr u32 ANIM_KIND_BODY = 0x00;            // image, mirrored with the track
constexpr u32 ANIM_KIND_ADD = 0x01;             // image added to the background
constexpr u32 ANIM_KIND_BODY_MIRRORED = 0x80;   // image mirrored relative to the track
constexpr u32 ANIM_KIND_ADD_MIRRORED = 0x81;    // mirrored relative to the track, added
constexpr u32 ANIM_KIND_SOUND = 0x33;           // plays the sound id once; nothing drawn
constexpr u32 ANIM_KIND_SHADOW = 0x40;          // shadow image, mirrored with the track
constexpr u32 ANIM_KIND_SHADOW_MIRRORED = 0x41; // shadow image mirrored relative to the track
constexpr u32 ANIM_KIND_HIDDEN = 0x20;          // never drawn; any other kind is ignored too

// Blit flags the parts add (see engine/blit.h).
constexpr u32 ANIM_FLAGS_DIM = 15u << 6;           // brightness level 15 on dimmed body parts
constexpr u32 ANIM_FLAGS_ADD = 0x6000;             // blend mode 12, additive
constexpr u32 ANIM_FLAGS_MIRRORED = 0x8000;        // the part's own mirror bit
constexpr u32 ANIM_FLAGS_ADD_MIRRORED = 0xE000;    // both
constexpr u32 ANIM_FLAGS_SHADOW = 0x1800;          // blend mode 3: 7/10 image, 3/10 background
constexpr u32 ANIM_FLAGS_SHADOW_MIRRORED = 0x9800; // blend mode 3 and the part's mirror bit

// ---- The library --------------------------------------------------------------------------------
extern const u8* anim_library;  // the installed library's bytes
extern const u32* anim_offsets; // ANIM_SLOTS + 1 byte offsets into it; the last is its size

// The library the program embeds (generated at build time from data/animations.txt).
extern const u8 anim_builtin_library[];
extern const u32 anim_builtin_size;
extern const u32 anim_builtin_offsets[ANIM_SLOTS + 1];

// Installs a library: `size` bytes and ANIM_SLOTS + 1 offsets, both copied. Fatal
// ("anim_install: ...") unless the offsets rise from 0 to `size` and every non-empty slot's
// record fills its span exactly, so playback never reads outside a slot.
void anim_install(const u8* bytes, u32 size, const u32* offsets);
// Installs the embedded library again (checked like any other).
void anim_install_builtin();

// Byte span of slot `anim`: true and [begin, end) for a slot 0..4095 with at least one frame.
bool anim_slot_span(s32 anim, u32* begin, u32* end);
// Frame count of slot `anim`; 0 for a slot outside 0..4095, empty or without frames.
s32 anim_frame_count(s32 anim);

// ---- Tracks (written by the battle, read by anim_play) ------------------------------------------
extern s32 anim_track_anim[ANIM_TRACKS];   // slot; outside 0..4095 (the battle stores -1): off
extern s32 anim_track_frame[ANIM_TRACKS];  // frame shown; negative or past the end: the last
extern s32 anim_track_x[ANIM_TRACKS];      // screen position
extern s32 anim_track_y[ANIM_TRACKS];      // screen position and painter's sort key
extern s32 anim_track_mirror[ANIM_TRACKS]; // non-zero: drawn mirrored
extern s32 anim_track_dim[ANIM_TRACKS];    // non-zero: body parts at brightness level 15
extern s32 anim_track_wait[ANIM_TRACKS];   // non-zero: anim_all_done waits for this track
extern s32 anim_track_hit_x[ANIM_TRACKS][ANIM_HIT_POINTS]; // overlay points; x -1 = unused
extern s32 anim_track_hit_y[ANIM_TRACKS][ANIM_HIT_POINTS];
// Set by anim_play: 1 when every waited-for track shows its last frame and its overlay has ended.
extern s32 anim_all_done;

// Puts the module back to its start state: every track off with its hit points unused, frames,
// positions and flags 0, `anim_all_done` 0, and the embedded library installed.
void anim_reset();

// ---- Playback -----------------------------------------------------------------------------------
// Draws one step of all 12 tracks into the drawing target (no present) and sets `anim_all_done`.
void anim_play();
// Draws the parts of the frame at byte offset `frame` of the library and returns the offset of
// the next frame. shadow_pass 1 draws the shadow parts, 0 the body parts; sound parts play in
// both. The frame must lie inside an installed slot (anim_play only passes such frames).
u32 anim_draw_frame(s32 x, s32 y, u32 frame, s32 shadow_pass, s32 mirror, s32 dim);
// Index of the first frame of slot `anim` that links an overlay; 0 when none does, the slot is
// empty or `anim` is outside 0..4095. A link to a slot above 4095 counts as no link.
s32 anim_link_frame(s32 anim);
// Image id of the first part of the first frame; 0 for an empty slot, a slot without frames or
// parts, or `anim` outside 0..4095.
s32 anim_first_image(s32 anim);
// The body pass's order: the 12 track numbers sorted by `anim_track_y` ascending by an exchange
// sort (each position j takes in every later k with a smaller y), as anim_play draws them.
void anim_track_order(s32 order[ANIM_TRACKS]);
