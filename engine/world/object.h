// The world object table: 4096 records of 256 bits each, into which 41 numbered attributes are
// packed. Every part of the game reads and writes an object only through `attr_get` and
// `attr_set` by attribute number; the bit layout is part of the save format.
//
// Object 0 is the player. An object is live when ATTR_IN_USE and ATTR_ACTIVE are both 1; it is
// on the scene when it is live, stands on the current map and has a non-zero ATTR_FRAME.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 OBJECT_COUNT = 4096;
constexpr s32 ATTR_COUNT = 41;

// One object: bit n is bit (n mod 8) of byte (n div 8); an attribute of width w at byte b and
// shift s is (the little-endian 32-bit word at byte b) >> s, masked to w bits. Words that start in
// bytes 28..31 run past the record; the accessors never touch bytes outside it.
struct ObjectRecord {
    u8 bits[32];
};
static_assert(sizeof(ObjectRecord) == 32);
static_assert(offsetof(ObjectRecord, bits) == 0);

// The whole table, saved and loaded as one block of 131,072 bytes; all zero at program start.
extern ObjectRecord object_table[OBJECT_COUNT];
static_assert(sizeof(ObjectRecord) * OBJECT_COUNT == 131072);

// Attribute numbers.
enum : s32 {
    ATTR_IN_USE = 0,        // record allocated (set by the creators)
    ATTR_ACTIVE = 1,        // present in the scene: drawn, hit-tested, timed
    ATTR_TIMER_ANYMAP = 2,  // the countdown runs whatever map is current
    ATTR_HOVER_CURSOR = 3,  // hovering its opaque pixels shows cursor ATTR_CURSOR
    ATTR_TOUCH = 4,         // hovering its opaque pixels fires TRIG_TOUCH every field frame
    ATTR_CLICK = 5,         // a left click on its opaque pixels fires TRIG_CLICK
    ATTR_STEP = 6,          // the player's feet on its opaque pixels fire TRIG_STEP
    ATTR_BLOCK = 7,         // the player cannot step onto its opaque pixels
    ATTR_TIMER_ON = 8,      // the countdown ATTR_TIMER is armed
    ATTR_SPARE = 9,         // no user
    ATTR_LAYER = 10,        // 0 none (hit-testable, never drawn), 1 ground, 2 top, 3 standing
    ATTR_CURSOR = 11,       // cursor slot 0..15 shown while hovering
    ATTR_TIMER = 12,        // countdown in field frames; TRIG_TIMER fires when it reaches 0
    ATTR_MAP = 13,          // map the object stands on
    ATTR_X = 14,            // map x in pixels
    ATTR_Y = 15,            // map y in pixels of the foot point
    ATTR_PLANE = 16,        // plane 0..3: walk mask and most significant part of the draw order
    ATTR_Z = 17,            // height above the ground: drawn and hit-tested at y - z
    ATTR_EVENT = 18,        // slot of object_event_table run by the object's triggers
    ATTR_FRAME = 19,        // image id shown (0 = not drawn); writing it refreshes 29..32
    ATTR_SHADOW = 20,       // a standing object also draws image ATTR_FRAME + 1 as its shadow
    ATTR_SHOW_THROUGH = 21, // parts hidden behind scenery still show, one pixel in four
    ATTR_TINT = 22,         // blit flag bits 0-4
    ATTR_HIDDEN = 23,       // blit flag bit 5: in the draw list (hit-testable) but never drawn
    ATTR_BRIGHTNESS = 24,   // blit flag bits 6-10
    ATTR_BLEND = 25,        // blit flag bits 11-14
    ATTR_MIRROR = 26,       // blit flag bit 15: drawn and hit-tested mirrored
    ATTR_PALETTE = 27,      // blit flag bits 16-23
    ATTR_DEST_MAP = 28,     // portals: destination map
    ATTR_HOT_X = 29,        // sprite hotspot x, signed 16-bit as stored (readers sign-extend)
    ATTR_HOT_Y = 30,        // sprite hotspot y, signed 16-bit as stored
    ATTR_WIDTH = 31,        // sprite width
    ATTR_HEIGHT = 32,       // sprite height
    ATTR_VAR_A_LO = 33,     // byte 28 alone
    ATTR_VAR_A_HI = 34,     // byte 29 alone
    ATTR_VAR_B_LO = 35,     // byte 30 alone
    ATTR_VAR_B_HI = 36,     // byte 31 alone
    ATTR_VAR_A = 37,        // script state; for portals the arrival x
    ATTR_VAR_B = 38,        // next way-point or sub-stage; for portals the arrival y
    ATTR_VAR_AB = 39,       // A and the low 12 bits of B together
    ATTR_BLIT_FLAGS = 40,   // attributes 22..27 as one 24-bit blit flag word
};

// Trigger kinds: the number of the attribute whose test raised the trigger; what
// `world_state.trigger_kind` holds while an event script runs. TRIG_HOVER and TRIG_BLOCK are hit
// kinds only and never reach a script.
enum : s32 {
    TRIG_HOVER = 3,
    TRIG_TOUCH = 4,
    TRIG_CLICK = 5,
    TRIG_STEP = 6,
    TRIG_BLOCK = 7,
    TRIG_TIMER = 8,
};

// Per-attribute layout: byte offset of the attribute's 32-bit word within the record, the shift
// within that word, and the mask of the attribute's width.
inline constexpr u8 attr_word[ATTR_COUNT] = {
    0,  0,  0,  0,  0,  0,  0,  0,  1,  1,  1,  1,  2,  4,  5,  7,  9,  9,  11, 13, 15,
    15, 16, 16, 16, 17, 17, 18, 19, 20, 22, 24, 26, 28, 29, 30, 31, 28, 30, 28, 16,
};
inline constexpr u8 attr_shift[ATTR_COUNT] = {
    0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 4, 0, 0, 6, 4, 2, 4, 2, 4, 6,
    7, 0, 5, 6, 3, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};
inline constexpr u32 attr_mask[ATTR_COUNT] = {
    0x1,  0x1,    0x1,    0x1,    0x1,    0x1,    0x1,       0x1,      0x1,     0x1,    0x3,
    0xF,  0xFFFF, 0x3FFF, 0x3FFF, 0x3FFF, 0x3,    0x3FFF,    0x3FFFF,  0x3FFFF, 0x1,    0x1,
    0x1F, 0x1,    0x1F,   0xF,    0x1,    0xFF,   0xFF,      0xFFFF,   0xFFFF,  0xFFFF, 0xFFFF,
    0xFF, 0xFF,   0xFF,   0xFF,   0xFFFF, 0xFFFF, 0xFFFFFFF, 0xFFFFFF,
};

// The attribute's value, zero-extended (always 0 or above: the widest attribute has 28 bits).
// An object outside 0..4095 or an attribute outside 0..40 is a fatal error.
s32 attr_get(s32 obj, s32 attr);
// Stores value truncated to the attribute's width; no other bit of the record changes. Writing
// ATTR_FRAME (below 262,144) also refreshes ATTR_WIDTH, ATTR_HEIGHT, ATTR_HOT_X and ATTR_HOT_Y
// from the image's header when the frame is non-zero, the object has ATTR_IN_USE or ATTR_ACTIVE
// set and it stands on the current map. Out-of-range numbers are fatal as for `attr_get`.
void attr_set(s32 obj, s32 attr, s32 value);

// 1 when ATTR_IN_USE and ATTR_ACTIVE are both set, else 0.
s32 obj_is_live(s32 obj);
// 1 when the object's countdown is due this frame: in use, active, timer on, ATTR_TIMER non-zero,
// and ATTR_TIMER_ANYMAP set or the object on the current map.
s32 obj_timer_due(s32 obj);
// Signed frame: ATTR_MIRROR := frame < 0, then ATTR_FRAME := |frame| (with its refresh).
void obj_set_frame(s32 obj, s32 frame);
// ATTR_FRAME, negated when ATTR_MIRROR is set.
s32 obj_get_frame(s32 obj);

// Clears every record (program start, a new game, tests).
void object_reset();
