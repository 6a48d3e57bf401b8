#include "engine/world/object.h"

#include "engine/image.h"
#include "engine/shell.h"
#include "engine/world_state.h"

#include <bit>
#include <cstring>

ObjectRecord object_table[OBJECT_COUNT];

namespace {

// Every attribute lies inside its 32-bit word and inside the record, so only its own bits are
// ever read or written.
constexpr bool layout_fits() {
    for (s32 a = 0; a < ATTR_COUNT; a++) {
        s32 width = std::popcount(attr_mask[a]);
        if (attr_mask[a] != (u32(1) << width) - 1 && width != 32) return false;
        if (attr_shift[a] + width > 32) return false;
        if (attr_word[a] * 8 + attr_shift[a] + width > 256) return false;
    }
    return true;
}
static_assert(layout_fits());

// The bytes of the record that hold an attribute's word: four, or fewer at the record's end
// (the word's missing top bytes read as zero and are never written).
inline u32 word_bytes(u32 byte) {
    return byte <= 28 ? 4 : 32 - byte;
}

inline u32 load_word(const u8* record, u32 byte) {
    u32 word = 0;
    std::memcpy(&word, record + byte, word_bytes(byte)); // the host is little-endian
    return word;
}

inline void store_word(u8* record, u32 byte, u32 word) {
    std::memcpy(record + byte, &word, word_bytes(byte));
}

// Object and attribute numbers may come from data (scripts, saved games): a number outside the
// table is reported instead of reading or writing past it.
inline void check_numbers(const char* who, s32 obj, s32 attr) {
    if (u32(obj) >= u32(OBJECT_COUNT) || u32(attr) >= u32(ATTR_COUNT))
        shell_fatal("object: %s(%d,%d) out of range!", who, obj, attr);
}

inline u32 raw_get(const u8* record, s32 attr) {
    return (load_word(record, attr_word[attr]) >> attr_shift[attr]) & attr_mask[attr];
}

inline void raw_set(u8* record, s32 attr, u32 value) {
    u32 byte = attr_word[attr];
    u32 mask = attr_mask[attr] << attr_shift[attr];
    u32 word = load_word(record, byte);
    store_word(record, byte, (word & ~mask) | ((value << attr_shift[attr]) & mask));
}

inline u32 header_word(const u8* image, s32 at) {
    return u32(image[at]) | u32(image[at + 1]) << 8;
}

// After a non-zero frame is written: an object that is in use or active (either suffices) and
// stands on the current map takes its width, height and hotspot from the image's header. Objects
// on other maps keep stale sizes until the map is loaded and their frames are written again.
void refresh_size(u8* record, u32 frame) {
    if (frame == 0) return;
    if (raw_get(record, ATTR_IN_USE) == 0 && raw_get(record, ATTR_ACTIVE) == 0) return;
    if (raw_get(record, ATTR_MAP) != world_state.current_map) return;
    const u8* image = image_load(s32(frame)); // every image holds at least its 16-byte header
    raw_set(record, ATTR_WIDTH, header_word(image, 0));
    raw_set(record, ATTR_HEIGHT, header_word(image, 2));
    raw_set(record, ATTR_HOT_X, header_word(image, 4));
    raw_set(record, ATTR_HOT_Y, header_word(image, 6));
}

} // namespace

s32 attr_get(s32 obj, s32 attr) {
    check_numbers("attr_get", obj, attr);
    return s32(raw_get(object_table[obj].bits, attr));
}

void attr_set(s32 obj, s32 attr, s32 value) {
    check_numbers("attr_set", obj, attr);
    u8* record = object_table[obj].bits;
    raw_set(record, attr, u32(value));
    if (attr == ATTR_FRAME) refresh_size(record, u32(value) & attr_mask[ATTR_FRAME]);
}

s32 obj_is_live(s32 obj) {
    return attr_get(obj, ATTR_IN_USE) && attr_get(obj, ATTR_ACTIVE) ? 1 : 0;
}

s32 obj_timer_due(s32 obj) {
    if (!obj_is_live(obj) || !attr_get(obj, ATTR_TIMER_ON) || !attr_get(obj, ATTR_TIMER)) return 0;
    return attr_get(obj, ATTR_TIMER_ANYMAP) || attr_get(obj, ATTR_MAP) == world_state.current_map
               ? 1
               : 0;
}

void obj_set_frame(s32 obj, s32 frame) {
    attr_set(obj, ATTR_MIRROR, frame < 0 ? 1 : 0);
    // Negated in unsigned arithmetic, so even the most negative int has a magnitude.
    attr_set(obj, ATTR_FRAME, s32(frame < 0 ? 0u - u32(frame) : u32(frame)));
}

s32 obj_get_frame(s32 obj) {
    s32 frame = attr_get(obj, ATTR_FRAME);
    return attr_get(obj, ATTR_MIRROR) ? -frame : frame;
}

void object_reset() {
    std::memset(object_table, 0, sizeof object_table);
}
