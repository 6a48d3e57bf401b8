// Name entry with the phonetic input method on the bottom strip of the screen.
#include "engine/name_entry.h"

#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/world_state.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

// The 42 Big5 Zhuyin symbols in input order: initials 0xA374..0xA3AA, medials 0xA3B8..0xA3BA,
// finals 0xA3AB..0xA3B7, tone marks first, neutral, second, third, fourth.
const char phonetic_symbols[PHONETIC_SYMBOL_COUNT][PHONETIC_SYMBOL_SIZE] = {
    "\xA3\x74", "\xA3\x75", "\xA3\x76", "\xA3\x77", "\xA3\x78", "\xA3\x79", "\xA3\x7A",
    "\xA3\x7B", "\xA3\x7C", "\xA3\x7D", "\xA3\x7E", "\xA3\xA1", "\xA3\xA2", "\xA3\xA3",
    "\xA3\xA4", "\xA3\xA5", "\xA3\xA6", "\xA3\xA7", "\xA3\xA8", "\xA3\xA9", "\xA3\xAA",
    "\xA3\xB8", "\xA3\xB9", "\xA3\xBA", "\xA3\xAB", "\xA3\xAC", "\xA3\xAD", "\xA3\xAE",
    "\xA3\xAF", "\xA3\xB0", "\xA3\xB1", "\xA3\xB2", "\xA3\xB3", "\xA3\xB4", "\xA3\xB5",
    "\xA3\xB6", "\xA3\xB7", "\xA3\xBC", "\xA3\xBB", "\xA3\xBD", "\xA3\xBE", "\xA3\xBF",
};

s32 syllable_initial;
s32 syllable_medial;
s32 syllable_final;
s32 syllable_tone;

u8 candidate_lead[CANDIDATE_MAX];
u8 candidate_trail[CANDIDATE_MAX];
s32 candidate_count;

char name_entry_buffer[2 * NAME_ENTRY_MAX_CHARS + 1];
s32 name_entry_length;
s32 name_entry_max;
s32 name_entry_done;

namespace {

constexpr s32 STRIP_PIXELS = SCREEN_W * NAME_STRIP_H;
u16 strip_keep[STRIP_PIXELS]; // the screen under the strip while the input runs

// Colours (5-5-5).
constexpr u32 STRIP_COLOUR = 15;
constexpr u32 NAME_BOX_COLOUR = 10;
constexpr s32 SYMBOL_COLOUR_A = 0x2F3F; // initials and finals
constexpr s32 SYMBOL_COLOUR_B = 0x2D5F; // medials and tones
constexpr s32 CANDIDATE_COLOUR_EVEN = 0x2B3F;
constexpr s32 CANDIDATE_COLOUR_ODD = 0x2BFF;
constexpr s32 WHITE = 0x7FFF;

// Geometry.
constexpr s32 SYMBOL_STEP = 15;
constexpr s32 SYMBOL_ROW_Y = 464;
constexpr s32 HOT_ROW_Y = 456; // top of the symbol and candidate hot row
constexpr s32 COMPOSED_X = 448;
constexpr s32 COMPOSED_STEP = 24;
constexpr s32 BACKSPACE_X = 544;
constexpr s32 OK_X = 592;
constexpr s32 CANDIDATE_X = 20;
constexpr s32 CANDIDATE_STEP = 24;
constexpr s32 PAGE_ON_X = 620;
constexpr s32 NAME_X = 4;
constexpr s32 HOVER_WEIGHT = 5;

// Backspace arrow and the OK word, the cursor mark and the page marks (Big5).
constexpr const char* BUTTONS_TEXT = "_\xA1\xF6_\xBD\x54\xA9\x77";
constexpr const char* CURSOR_MARK = "\xA2\x6C";
constexpr const char* PAGE_BACK_MARK = "\xA2\xAB";
constexpr const char* PAGE_ON_MARK = "\xA2\xA8";

s32 read_u16(const u8* p) {
    return s32(p[0]) | (s32(p[1]) << 8);
}

void print_at(s32 x, s32 y, const char* text) {
    kanji_pen_x = x;
    kanji_pen_y = y;
    kanji_print(text);
}

// The strip and the name box behind the name.
void draw_strip() {
    fill_rect(0, NAME_STRIP_Y, SCREEN_W, NAME_STRIP_H, STRIP_COLOUR);
    fill_rect(0, NAME_STRIP_Y, 432, 24, NAME_BOX_COLOUR);
}

// The composed symbols at x 448, 472, 496, 520 (each only when set), then the two buttons. The
// glyph style is reset first: the name is drawn in style 2 and the symbols in style 0.
void draw_composed_and_buttons() {
    kanji_style = 0;
    kanji_size = 4;
    kanji_set_colour(KANJI_COLOUR_MAIN, WHITE);
    const s32 symbol[4] = {
        syllable_initial > 0 ? syllable_initial - 1 : -1,
        syllable_medial > 0 ? PHONETIC_FIRST_MEDIAL - 1 + syllable_medial : -1,
        syllable_final > 0 ? PHONETIC_FIRST_FINAL - 1 + syllable_final : -1,
        syllable_tone > 0 ? PHONETIC_FIRST_TONE - 1 + syllable_tone : -1,
    };
    for (s32 i = 0; i < 4; ++i)
        if (symbol[i] >= 0 && symbol[i] < PHONETIC_SYMBOL_COUNT)
            print_at(COMPOSED_X + COMPOSED_STEP * i, NAME_STRIP_Y, phonetic_symbols[symbol[i]]);
    print_at(BACKSPACE_X, NAME_STRIP_Y, BUTTONS_TEXT);
}

void draw_name() {
    kanji_style = 2;
    kanji_set_colour(KANJI_COLOUR_MAIN, WHITE);
    print_at(NAME_X, NAME_STRIP_Y, name_entry_buffer);
    kanji_print(CURSOR_MARK);
}

// Darkens the syllable, backspace or OK box when one of them is hovered.
void darken_top_row(s32 hover) {
    if (hover == NAME_HOVER_SYLLABLE) box_blend(COMPOSED_X, NAME_STRIP_Y, 96, 24, 0, HOVER_WEIGHT);
    if (hover == NAME_HOVER_BACKSPACE)
        box_blend(BACKSPACE_X, NAME_STRIP_Y, 48, 24, 0, HOVER_WEIGHT);
    if (hover == NAME_HOVER_OK) box_blend(OK_X, NAME_STRIP_Y, 48, 24, 0, HOVER_WEIGHT);
}

// One pass of a picker's loop: a press is taken while the left button alone is held. The buttons
// are read before the pointer, so the pointer is never older than the press it goes with. Every
// pass reads the clock, as every busy loop of the game does.
struct Pass {
    bool press;
    s32 x, y;
};
Pass read_input() {
    plat_ticks();
    Pass p;
    p.press = mouse_buttons == 1;
    p.x = pointer_x;
    p.y = pointer_y;
    return p;
}

} // namespace

void syllable_clear() {
    syllable_initial = 0;
    syllable_medial = 0;
    syllable_final = 0;
    syllable_tone = 0;
}

s32 syllable_find(const u8* table, s32 size, s32 range, s32 key, u8* lead, u8* trail, s32 max) {
    if (range < 0 || range >= SYLLABLE_RANGES || size < SYLLABLE_ENTRIES_START) return 0;
    const s32 begin = read_u16(table + 2 * range);
    const s32 end = read_u16(table + 2 * (range + 1));
    if (begin < SYLLABLE_ENTRIES_START || end > size || begin > end) return 0;
    s32 at = begin;
    while (at < end && table[at] != key) {
        ++at;
        while (at < end && table[at] >= SYLLABLE_KEY_LIMIT) ++at;
    }
    if (at >= end) return 0;
    ++at;
    s32 count = 0;
    while (count < max && at + 1 < end && table[at] >= SYLLABLE_KEY_LIMIT &&
           table[at + 1] >= SYLLABLE_KEY_LIMIT) {
        lead[count] = table[at];
        trail[count] = table[at + 1];
        ++count;
        at += 2;
    }
    return count;
}

void syllable_lookup() {
    const s32 tone = syllable_tone == 0 ? 1 : syllable_tone;
    const s32 range = syllable_initial * SYLLABLE_TONES + tone - 1;
    candidate_count = syllable_find(syllable_table, syllable_table_size, range,
                                    syllable_medial * 16 + syllable_final, candidate_lead,
                                    candidate_trail, CANDIDATE_MAX);
}

s32 phonetic_hover(s32 x, s32 y) {
    if (y >= 457 && y <= 479 && x >= 0) return std::min(x / SYMBOL_STEP, PHONETIC_SYMBOL_COUNT - 1);
    if (y >= 433 && y <= 455) {
        if (x > OK_X) return NAME_HOVER_OK;
        if (x > BACKSPACE_X) return NAME_HOVER_BACKSPACE;
        if (x > COMPOSED_X) return NAME_HOVER_SYLLABLE;
    }
    return NAME_HOVER_NONE;
}

s32 candidate_hover(s32 x, s32 y, s32 page_start, s32 count) {
    if (y > HOT_ROW_Y) {
        const s32 shown = std::min(CANDIDATES_PER_PAGE, count - page_start);
        if (x < CANDIDATE_X && page_start > 0) return NAME_HOVER_PAGE_BACK;
        if (x > PAGE_ON_X && page_start + CANDIDATES_PER_PAGE < count) return NAME_HOVER_PAGE_ON;
        if (x >= CANDIDATE_X && x < PAGE_ON_X) {
            const s32 i = (x - CANDIDATE_X) / CANDIDATE_STEP;
            if (i < shown) return i;
        }
        return NAME_HOVER_NONE;
    }
    if (y >= 433 && y <= 455 && x > COMPOSED_X) return NAME_HOVER_SYLLABLE;
    return NAME_HOVER_NONE;
}

void phonetic_draw(s32 hover) {
    draw_strip();
    kanji_style = 0;
    kanji_size = 2;
    for (s32 i = 0; i < PHONETIC_SYMBOL_COUNT; ++i) {
        const bool a =
            i < PHONETIC_FIRST_MEDIAL || (i >= PHONETIC_FIRST_FINAL && i < PHONETIC_FIRST_TONE);
        kanji_set_colour(KANJI_COLOUR_MAIN, a ? SYMBOL_COLOUR_A : SYMBOL_COLOUR_B);
        print_at(SYMBOL_STEP * i, SYMBOL_ROW_Y, phonetic_symbols[i]);
    }
    draw_composed_and_buttons();
    draw_name();
    if (hover >= 0 && hover < PHONETIC_SYMBOL_COUNT)
        box_blend(SYMBOL_STEP * hover, HOT_ROW_Y, SYMBOL_STEP, 24, 0, HOVER_WEIGHT);
    darken_top_row(hover);
    screen_present();
}

void candidate_draw(s32 hover, s32 page_start) {
    const s32 shown = std::min(CANDIDATES_PER_PAGE, candidate_count - page_start);
    draw_strip();
    kanji_style = 0;
    kanji_size = 4;
    for (s32 i = 0; i < shown; ++i) {
        const char c[3] = {char(candidate_lead[page_start + i]),
                           char(candidate_trail[page_start + i]), 0};
        kanji_set_colour(KANJI_COLOUR_MAIN,
                         i % 2 == 0 ? CANDIDATE_COLOUR_EVEN : CANDIDATE_COLOUR_ODD);
        print_at(CANDIDATE_X + CANDIDATE_STEP * i, HOT_ROW_Y, c);
    }
    draw_composed_and_buttons();
    if (page_start > 0) print_at(0, HOT_ROW_Y, PAGE_BACK_MARK);
    if (page_start + CANDIDATES_PER_PAGE < candidate_count)
        print_at(PAGE_ON_X, HOT_ROW_Y, PAGE_ON_MARK);
    draw_name();
    if (hover >= 0 && hover < CANDIDATES_PER_PAGE)
        box_blend(CANDIDATE_X + CANDIDATE_STEP * hover, HOT_ROW_Y, CANDIDATE_STEP, 24, 0,
                  HOVER_WEIGHT);
    darken_top_row(hover);
    if (hover == NAME_HOVER_PAGE_BACK) box_blend(0, HOT_ROW_Y, 20, 24, 0, HOVER_WEIGHT);
    if (hover == NAME_HOVER_PAGE_ON) box_blend(PAGE_ON_X, HOT_ROW_Y, 20, 24, 0, HOVER_WEIGHT);
    screen_present();
}

void phonetic_pick() {
    syllable_clear();
    mouse_buttons = 0;
    s32 shown_hover = -1; // nothing drawn yet: the first pass draws
    for (;;) {
        const Pass p = read_input();
        const s32 h = phonetic_hover(p.x, p.y);
        bool acted = false;
        if (p.press) {
            mouse_buttons = 0;
            acted = true;
            if (h < PHONETIC_FIRST_MEDIAL) {
                syllable_initial = h + 1;
            } else if (h < PHONETIC_FIRST_FINAL) {
                syllable_medial = h - (PHONETIC_FIRST_MEDIAL - 1);
            } else if (h < PHONETIC_FIRST_TONE) {
                syllable_final = h - (PHONETIC_FIRST_FINAL - 1);
            } else if (h < PHONETIC_SYMBOL_COUNT) {
                syllable_tone = h - (PHONETIC_FIRST_TONE - 1);
                return;
            } else if (h == NAME_HOVER_SYLLABLE) {
                syllable_clear();
            } else if (h == NAME_HOVER_BACKSPACE) {
                if (name_entry_length > 0) {
                    --name_entry_length;
                    name_entry_buffer[2 * name_entry_length] = 0;
                }
            } else if (h == NAME_HOVER_OK) {
                if (name_entry_length > 0) {
                    name_entry_done = 1;
                    return;
                }
            }
        }
        if (h != shown_hover || acted) {
            shown_hover = h;
            phonetic_draw(h);
        }
    }
}

// Leaves back to the phonetic picker (which clears the syllable) after a character is picked, or
// at once when the syllable has no candidates.
void candidate_pick() {
    syllable_lookup();
    if (candidate_count == 0) return;
    s32 page_start = 0;
    s32 shown_hover = -1;
    for (;;) {
        const Pass p = read_input();
        s32 h = candidate_hover(p.x, p.y, page_start, candidate_count);
        bool acted = false;
        if (p.press) {
            mouse_buttons = 0;
            if (h >= 0 && h < CANDIDATES_PER_PAGE) {
                const s32 c = page_start + h;
                if (name_entry_length < name_entry_max) {
                    name_entry_buffer[2 * name_entry_length] = char(candidate_lead[c]);
                    name_entry_buffer[2 * name_entry_length + 1] = char(candidate_trail[c]);
                    ++name_entry_length;
                    name_entry_buffer[2 * name_entry_length] = 0;
                }
                return;
            }
            if (h == NAME_HOVER_SYLLABLE) return;
            if (h == NAME_HOVER_PAGE_BACK) page_start -= CANDIDATES_PER_PAGE;
            if (h == NAME_HOVER_PAGE_ON) page_start += CANDIDATES_PER_PAGE;
            // A turned page is drawn even when the pointer still hovers the same mark.
            acted = h == NAME_HOVER_PAGE_BACK || h == NAME_HOVER_PAGE_ON;
            h = candidate_hover(p.x, p.y, page_start, candidate_count);
        }
        if (h != shown_hover || acted) {
            shown_hover = h;
            candidate_draw(h, page_start);
        }
    }
}

void name_entry(s32 max_chars) {
    screen_get_rect(0, NAME_STRIP_Y, SCREEN_W, NAME_STRIP_H, strip_keep);
    text_scrambled = 0;
    kanji_style = 0;
    kanji_size = 2;
    kanji_mode = KANJI_MODE_SMOOTH;
    kanji_line_chars = 0;
    name_entry_done = 0;
    name_entry_length = 0;
    name_entry_buffer[0] = 0;
    name_entry_max =
        max_chars >= 1 && max_chars <= NAME_ENTRY_MAX_CHARS ? max_chars : NAME_ENTRY_MAX_CHARS;
    do {
        phonetic_pick();
        if (!name_entry_done) candidate_pick();
    } while (!name_entry_done);
    text_scrambled = 1;
    screen_put_rect(0, NAME_STRIP_Y, SCREEN_W, NAME_STRIP_H, strip_keep);
}

void name_store(s32 slot) {
    if (slot < 0 || slot >= NAME_SLOT_COUNT) return;
    char* dst = world_state.name_slots[slot];
    std::memset(dst, 0, sizeof(world_state.name_slots[slot]));
    const s32 bytes = 2 * std::min(name_entry_length, NAME_STORE_MAX_CHARS);
    for (s32 i = 0; i < bytes; ++i) {
        const u8 b = u8(name_entry_buffer[i]);
        dst[i] = char(text_is_lead(b) ? u8(b ^ TEXT_KEY) : b);
    }
}
