// Fuzz target for the text walkers: arbitrary bytes become the text table and the name slots,
// and every walker runs on what they hold: the lookup and the expansion, each printer, the
// measurer (on whole expansions and on the raw table bytes: it shares the printers' walk without
// drawing), the number buffer, the floating labels and the message log. The drawing printers get
// the first bytes of each expansion only, since every character they draw costs a glyph scaling.
// No input may crash, hang, read or write out of bounds, or end in a fatal error (the drawing
// target is always set).
//
// Input: byte 0 holds switches (bit 0 text_scrambled, bits 1-2 the draw mode, bits 3-7 the line
// length), byte 1 the count n of name slot bytes that follow (the sixteen slots from their
// start, the rest 0), then the n bytes, then the text table: a short input reaches the table.
//
// Seeds: fuzz/seeds/text_fuzz_seeds.cpp.
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/text.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tools/arcbuild.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t SLOT_BYTES = sizeof world_state.name_slots;
constexpr s32 MAX_IDS = 4;
constexpr s32 MAX_PAGES = 4;
constexpr s32 PRINT_BYTES = 64;

void start_once() {
    static bool started = false;
    if (started) return;
    started = true;
    static HarnessTempDir dir;
    HarnessConfig c;
    c.physical_memory = 16ull << 20;
    c.budget_ms = u64(1) << 60; // a long run presents many frames
    c.budget_presents = u64(1) << 60;
    harness_reset(c);
    ArcBuilder b;
    b.put(ARC_TEXT_TABLE, std::vector<u8>(4, 0)); // glyphs: every entry empty (blank)
    arc_write_chained(b, GISK_CHAINED_FILE);
    if (!plat_window_open("fuzz")) __builtin_trap();
    gisk_init();
    canvas_init();
    pool_init();
    ring_reset();
    blit_target_screen();
    blit_init();
}

// Every printer over one text.
void print_all(const char* text, u8 switches) {
    kanji_reset();
    kanji_spacing = 0;
    kanji_mode = (switches >> 1) & 3;
    kanji_pen_x = 320;
    kanji_pen_y = 200;
    kanji_print(text);
    kanji_pen_x = 0;
    kanji_pen_y = 100;
    kanji_print_line(text);
    kanji_line_chars = switches >> 3;
    kanji_print_reveal(10, 10, text);
    kanji_print_vertical(600, 10, text);
    kanji_line_chars = 0;
    kanji_measure(text);
    // The dialogue boxes' paging: page after page from where the last one stopped.
    kanji_cursor = text;
    for (s32 page = 0; page < MAX_PAGES && *kanji_cursor != 0; ++page)
        kanji_print_box(100, 300, kanji_cursor, 14, 6);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    start_once();
    if (size < 2) return 0;
    const u8 switches = data[0];
    const size_t slot_bytes = data[1];
    data += 2;
    size -= 2;
    std::memset(world_state.name_slots, 0, SLOT_BYTES);
    const size_t slots = std::min({size, SLOT_BYTES, slot_bytes});
    std::memcpy(world_state.name_slots, data, slots);
    data += slots;
    size -= slots;
    std::memset(text_table, 0, sizeof text_table);
    std::memcpy(text_table, data, std::min(size, size_t(TEXT_TABLE_SIZE)));
    text_scrambled = switches & 1;
    number_clear();
    label_clear();
    log_clear();

    // The ids of the first records, a missing id and the number buffer.
    std::vector<s32> ids = {0, 65535};
    for (size_t pos = 0; pos + 4 <= size && ids.size() < size_t(MAX_IDS) + 2;) {
        const u32 length = u32(data[pos]) | u32(data[pos + 1]) << 8;
        if (length == 0) break;
        ids.push_back(s32(u32(data[pos + 2]) | u32(data[pos + 3]) << 8));
        pos += length;
    }

    static char copy[EXPANDED_TEXT_SIZE];
    for (size_t k = 0; k < ids.size(); ++k) {
        const s32 id = ids[k];
        const char* expanded = text_expand(id);
        const size_t length = std::strlen(expanded);
        if (length >= size_t(EXPANDED_TEXT_SIZE)) __builtin_trap();
        // Drawing is the glyph engine's cost: the printers get the first bytes of the expansion,
        // cut anywhere (mid-character and mid-markup cuts are cases of their own).
        const size_t cut = std::min(length, size_t(PRINT_BYTES) - k * 7);
        std::memcpy(copy, expanded, cut);
        copy[cut] = 0;
        print_all(copy, switches);
        // The whole expansion and the raw table bytes, walked where they lie (up to the table's
        // end and its guard) by the measurer, which shares the printers' walk without drawing.
        kanji_measure(expanded);
        const char* raw = text_find(id);
        kanji_measure(raw);
        kanji_print_box(100, 300, raw, 14, 1);
        number_append_text(id);
        if (number_length >= NUMBER_BUFFER_SIZE || number_buffer[number_length] != 0)
            __builtin_trap();
        label_add(id, id, 0, 0, 2000);
    }
    const s32 short_id = ids[2 % ids.size()];
    if (std::strlen(text_expand(short_id)) <= size_t(PRINT_BYTES)) {
        text_reveal_limit = switches >> 3;
        print_text(0, 0, short_id);
        print_text_vertical(600, 0, short_id);
        text_reveal_limit = 0;
    }
    print_number(0, 0, s32(size * 7919) - 50000, s32(switches % 24));
    for (const FloatingLabel& l : label_table)
        if (l.text[LABEL_TEXT_SIZE - 1] != 0) __builtin_trap();
    // One log line built from two texts, presented with the overlay.
    log_text_text(ids.back(), ids[ids.size() / 2]);
    if (std::strlen(log_lines[LOG_LINES - 1]) >= size_t(LOG_LINE_SIZE)) __builtin_trap();
    return 0;
}
