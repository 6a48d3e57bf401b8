#include "engine/text.h"

#include "engine/gisk.h"
#include "engine/shell.h"
#include "engine/world_state.h"

#include <cstring>

u8 text_table[TEXT_TABLE_SIZE + TEXT_TABLE_GUARD];
s32 text_scrambled = 1;
char number_buffer[NUMBER_BUFFER_SIZE];
s32 number_length;
char expanded_text[EXPANDED_TEXT_SIZE];

void text_table_load() {
    // A table shorter than the buffer is followed by zeros, which end every walk.
    std::memset(text_table, 0, sizeof text_table);
    // The table must end with a zero record length inside the buffer; the bounded load refuses
    // an entry that would overrun it.
    if (gisk_load_bounded(ARC_TEXT_TABLE, text_table, TEXT_TABLE_SIZE) < 0)
        shell_fatal("text: table(%d) too large", gisk_size(ARC_TEXT_TABLE));
}

const char* text_find(s32 text_id) {
    if (text_id <= 0 || text_id > 65535) return number_buffer;
    // Every header read lies inside the table; a walk that reaches its end without a zero length
    // finds nothing. The guard after the table ends the last text should it lack its 0.
    for (s32 pos = 0; pos + s32(sizeof(TextRecord)) <= TEXT_TABLE_SIZE;) {
        u32 length = u32(text_table[pos]) | u32(text_table[pos + 1]) << 8;
        if (length == 0) break;
        u32 id = u32(text_table[pos + 2]) | u32(text_table[pos + 3]) << 8;
        if (id == u32(text_id)) return reinterpret_cast<const char*>(text_table + pos + 4);
        pos += s32(length);
    }
    return TEXT_MISSING;
}

namespace {

// Appends the element of `count` bytes at `src` to the expansion when it fits with room for the
// closing 0; false when it does not (the expansion ends there, at a character boundary).
bool expand_put(s32& out, const u8* src, s32 count) {
    if (out + count > EXPANDED_TEXT_SIZE - 1) return false;
    std::memcpy(expanded_text + out, src, size_t(count));
    out += count;
    return true;
}

// Appends a name slot's bytes, whole characters only: at most `NAME_SLOT_MAX` bytes, up to its
// 0; a lead byte whose trail would lie beyond them is dropped.
bool expand_name(s32& out, s32 slot) {
    const u8* name = reinterpret_cast<const u8*>(world_state.name_slots[slot]);
    for (s32 i = 0; i < NAME_SLOT_MAX && name[i] != 0;) {
        s32 count = 1;
        if (text_is_lead(name[i])) {
            if (i + 1 >= NAME_SLOT_MAX || name[i + 1] == 0) break;
            count = 2;
        }
        if (!expand_put(out, name + i, count)) return false;
        i += count;
    }
    return true;
}

} // namespace

const char* text_expand(s32 text_id) {
    const u8* p = reinterpret_cast<const u8*>(text_find(text_id));
    s32 out = 0;
    while (*p != 0) {
        u8 b = *p;
        if (text_is_lead(b)) {
            // A lead byte (0x80 included, as the printers take it) and its trail byte; a lead
            // byte right before the closing 0 is dropped rather than paired with it.
            if (p[1] == 0 || !expand_put(out, p, 2)) break;
            p += 2;
        } else if (b == TEXT_ESCAPE) {
            // A backquote right before the closing 0 ends the text there.
            if (p[1] == 0 || !expand_name(out, text_escape_slot(p[1]))) break;
            p += 2;
        } else {
            if (!expand_put(out, p, 1)) break;
            p += 1;
        }
    }
    expanded_text[out] = 0;
    return expanded_text;
}

void text_trim_partial(char* text) {
    u8* t = reinterpret_cast<u8*>(text);
    for (s32 i = 0; t[i] != 0;) {
        if (!text_is_lead(t[i])) {
            ++i;
        } else if (t[i + 1] == 0) {
            t[i] = 0;
            break;
        } else {
            i += 2;
        }
    }
}
