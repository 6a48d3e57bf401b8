#include "engine/kanji_print.h"

#include "engine/blit.h"
#include "engine/kanji.h"
#include "engine/rect.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/transcript.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

s32 kanji_spacing;
const char* kanji_cursor = "";
s32 kanji_line_chars;
s32 text_reveal_limit;
char printf_buffer[PRINTF_BUFFER_SIZE];

namespace {

// One element of a text, as the shared walk hands it to a printer.
enum class Element { End, Blank, Half, Newline, Control, Char, Markup };

// Which markup codes take effect: all of them, the box printer's six, or (measuring) only "$S".
enum class MarkupSet { Full, Box, Measure };

// Pen positions and widths are kept within this distance of 0: markup with bad digits can make
// advances of a few thousand pixels, and a long text of them must not overflow the pen.
constexpr s64 PEN_LIMIT = s64(1) << 30;

s32 pen_clamp(s64 v) {
    return s32(std::clamp(v, -PEN_LIMIT, PEN_LIMIT));
}
void pen_add(s32& pen, s64 d) {
    pen = pen_clamp(s64(pen) + d);
}

s64 line_step() {
    return 8 + 4 * s64(kanji_size);
}
s64 advance() {
    return kanji_spacing != 0 ? s64(kanji_spacing) : 8 + 4 * s64(kanji_size);
}
s64 half_advance() {
    return kanji_spacing != 0 ? s64(kanji_spacing / 2) : 4 + 2 * s64(kanji_size);
}

void require_target() {
    if (target_pixels == nullptr) shell_fatal("kanji:canvas not set!");
}

void clip_whole_target() {
    kanji_clip_left = 0;
    kanji_clip_top = 0;
    kanji_clip_right = target_width - 1;
    kanji_clip_bottom = target_height - 1;
}

// Three two-digit 5-bit channels, red, green, blue, as a 5-5-5 colour (digits unchecked).
s32 read_colour() {
    s32 r = kanji_read_number(2);
    s32 g = kanji_read_number(2);
    s32 b = kanji_read_number(2);
    return s32(u32(r) << 10 | u32(g) << 5 | u32(b));
}

// Handles the markup letter whose "$" and letter the walk has consumed.
void markup(u8 letter, MarkupSet set) {
    const bool apply = set != MarkupSet::Measure;
    switch (letter) {
    case '@': {
        s32 n = kanji_read_number(1);
        if (apply) kanji_style = n;
        break;
    }
    case 'D': {
        s32 n = kanji_read_number(1);
        if (apply) kanji_mode = n;
        break;
    }
    case 'B':
    case 'F':
    case 'O': {
        s32 c = read_colour();
        if (apply)
            kanji_set_colour(letter == 'B'   ? KANJI_COLOUR_SECOND
                             : letter == 'O' ? KANJI_COLOUR_OUTLINE
                                             : KANJI_COLOUR_MAIN,
                             c);
        break;
    }
    case 'S':
        // Taken as the glyph size in pixels; not range-checked (odd sizes draw as 8 pixels).
        kanji_size = (kanji_read_number(2) - 8) / 4;
        break;
    case 'G': {
        if (set == MarkupSet::Box) break; // a two-byte no-op in the box printer
        s32 n = kanji_read_number(2);
        if (set == MarkupSet::Full) kanji_spacing = n;
        break;
    }
    case 'X':
    case 'Y': {
        if (set == MarkupSet::Box) break;
        s32 n = kanji_read_number(3);
        if (set == MarkupSet::Full) (letter == 'X' ? kanji_pen_x : kanji_pen_y) = n;
        break;
    }
    default:
        break; // any other "$" pair does nothing
    }
}

// The shared walk: takes the element at `kanji_cursor` and moves the cursor past it. At the
// text's closing 0 it returns End with the cursor on that 0; a "$" or a lead byte right before
// the 0 also ends the text there (the cursor moves onto the 0, never past it).
Element walk_next(MarkupSet set, bool unscramble, u32& code) {
    const u8* p = reinterpret_cast<const u8*>(kanji_cursor);
    const u8 b = p[0];
    if (b == 0) return Element::End;
    if (b == '$' || text_is_lead(b)) {
        if (p[1] == 0) {
            kanji_cursor += 1;
            return Element::End;
        }
        kanji_cursor += 2;
        if (b == '$') {
            markup(p[1], set);
            return Element::Markup;
        }
        u8 lead = b;
        u8 trail = p[1];
        if (unscramble) {
            lead ^= TEXT_KEY;
            if (trail >= 0x80) trail ^= TEXT_KEY;
        }
        code = u32(lead) << 8 | trail;
        return Element::Char;
    }
    kanji_cursor += 1;
    if (b == ' ') return Element::Blank;
    if (b == '_') return Element::Half;
    if (b == '\n') return Element::Newline;
    if (b < 0x20) return Element::Control;
    code = fullwidth_codes[b];
    return Element::Char;
}

void draw_char(u32 code) {
    kanji_glyph(kanji_glyph_index(code));
    kanji_draw_glyph();
}

// The free and overlay printers.
void print_free(const char* text, bool backdrop) {
    require_target();
    const s32 start_x = kanji_pen_x;
    clip_whole_target();
    const bool unscramble = text_scrambled == 1;
    kanji_cursor = text;
    for (;;) {
        u32 code = 0;
        switch (walk_next(MarkupSet::Full, unscramble, code)) {
        case Element::End:
            return;
        case Element::Blank:
            pen_add(kanji_pen_x, advance());
            break;
        case Element::Half:
            pen_add(kanji_pen_x, half_advance());
            break;
        case Element::Newline:
            kanji_pen_x = start_x;
            pen_add(kanji_pen_y, line_step());
            break;
        case Element::Control:
            kanji_pen_x = KANJI_PEN_AWAY;
            break;
        case Element::Char:
            if (backdrop) tint_rect(kanji_pen_x, kanji_pen_y, 16, 16, 8);
            draw_char(code);
            pen_add(kanji_pen_x, advance());
            break;
        case Element::Markup:
            break;
        }
    }
}

// The line-length printers: `vertical` turns the axes (advances go down, lines are columns
// that run from right to left).
void print_lines(s32 x, s32 y, const char* text, bool vertical) {
    require_target();
    clip_whole_target();
    kanji_pen_x = x;
    kanji_pen_y = y;
    const s64 limit = 2 * s64(kanji_line_chars); // half-width units per line; 0 = no limit
    s64 count = 0;
    s32& along = vertical ? kanji_pen_y : kanji_pen_x;
    const bool unscramble = text_scrambled == 1;
    kanji_cursor = text;
    for (;;) {
        u32 code = 0;
        bool line_break = false;
        switch (walk_next(MarkupSet::Full, unscramble, code)) {
        case Element::End:
            return;
        case Element::Blank:
            pen_add(along, advance());
            count += 2;
            break;
        case Element::Half:
            pen_add(along, half_advance());
            count += 1;
            break;
        case Element::Newline:
            line_break = true;
            break;
        case Element::Char:
            draw_char(code);
            pen_add(along, advance());
            count += 2;
            break;
        case Element::Control:
        case Element::Markup:
            break;
        }
        if (line_break || (limit > 0 && count >= limit)) {
            if (vertical) {
                kanji_pen_y = y;
                pen_add(kanji_pen_x, -line_step());
            } else {
                kanji_pen_x = x;
                pen_add(kanji_pen_y, line_step());
            }
            count = 0;
        }
    }
}

// Appends one whole element of `count` bytes to the number buffer; false when it does not fit
// with the closing 0.
bool number_put(const char* bytes, s32 count) {
    if (number_length + count > NUMBER_BUFFER_SIZE - 1) return false;
    std::memcpy(number_buffer + number_length, bytes, size_t(count));
    number_length += count;
    number_buffer[number_length] = 0;
    return true;
}

void format_into(char* buffer, s32 size, const char* format, va_list args) {
    s32 n = std::vsnprintf(buffer, size_t(size), format, args);
    if (n < 0)
        buffer[0] = 0;
    else if (n >= size)
        text_trim_partial(buffer); // cut short: end at a character boundary
}

} // namespace

void kanji_print(const char* text) {
    print_free(text, false);
}

void kanji_print_line(const char* text) {
    print_free(text, true);
}

s32 kanji_print_reveal(s32 x, s32 y, const char* text) {
    print_lines(x, y, text, false);
    return 0;
}

s32 kanji_print_vertical(s32 x, s32 y, const char* text) {
    print_lines(x, y, text, true);
    return 0;
}

u32 kanji_print_box(s32 x, s32 y, const char* text, s32 width_chars, s32 lines) {
    require_target();
    kanji_size = 4;
    kanji_pen_x = x;
    kanji_pen_y = y;
    clip_whole_target();
    u32 result = 0;
    const s64 right = s64(x) + s64(BOX_ADVANCE) * width_chars;
    kanji_cursor = text;
    while (*kanji_cursor != 0 && lines > 0) {
        u32 code = 0;
        switch (walk_next(MarkupSet::Box, true, code)) {
        case Element::End:
            return result;
        case Element::Blank:
            pen_add(kanji_pen_x, BOX_ADVANCE);
            break;
        case Element::Half:
            pen_add(kanji_pen_x, BOX_ADVANCE / 2);
            break;
        case Element::Newline:
            kanji_pen_x = x;
            pen_add(kanji_pen_y, BOX_ADVANCE);
            --lines;
            break;
        case Element::Control:
            kanji_pen_x = KANJI_PEN_AWAY;
            break;
        case Element::Char:
            draw_char(code);
            pen_add(kanji_pen_x, BOX_ADVANCE);
            result = (u32(kanji_pen_x) << 16) + u32(kanji_pen_y);
            break;
        case Element::Markup:
            break;
        }
        if (kanji_pen_x >= right) {
            kanji_pen_x = x;
            pen_add(kanji_pen_y, line_step());
            --lines;
        }
    }
    return result;
}

s32 print_text(s32 x, s32 y, s32 text_id) {
    kanji_line_chars = text_reveal_limit >= 1 ? text_reveal_limit : 0;
    text_scrambled = 1;
    kanji_print_reveal(x, y, text_expand(text_id));
    kanji_line_chars = 0;
    return 0;
}

s32 print_text_vertical(s32 x, s32 y, s32 text_id) {
    kanji_line_chars = text_reveal_limit >= 1 ? text_reveal_limit : 0;
    text_scrambled = 1;
    kanji_print_vertical(x, y, text_expand(text_id));
    kanji_line_chars = 0;
    return 0;
}

void kanji_printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    format_into(printf_buffer, PRINTF_BUFFER_SIZE, format, args);
    va_end(args);
    kanji_print(printf_buffer);
}

s32 kanji_measure(const char* text) {
    s64 width = 0;
    kanji_cursor = text;
    for (;;) {
        u32 code = 0;
        switch (walk_next(MarkupSet::Measure, false, code)) {
        case Element::End:
            return pen_clamp(width);
        case Element::Blank:
        case Element::Char:
            width = pen_clamp(width + advance());
            break;
        case Element::Half:
            width = pen_clamp(width + half_advance());
            break;
        case Element::Newline:
        case Element::Control:
        case Element::Markup:
            break;
        }
    }
}

s32 kanji_read_number(s32 digits) {
    u32 n = 0; // wraps rather than overflows on absurd digit bytes or counts
    for (s32 i = 0; i < digits && *kanji_cursor != 0; ++i) {
        n = n * 10 + u32(s32(u8(*kanji_cursor)) - 0x30);
        ++kanji_cursor;
    }
    return s32(n);
}

void kanji_clip_reset() {
    kanji_clip_right = target_width - 1;
    kanji_clip_bottom = target_height - 1;
}

void number_clear() {
    number_length = 0;
    number_buffer[0] = 0;
}

void number_append_digits(s32 value, s32 digits) {
    char scratch[32];
    std::snprintf(scratch, sizeof scratch, "%30d", value);
    if (digits < 0 || digits > 20) digits = 1;
    for (s32 i = 30 - digits; i < 30; ++i) {
        const char c = scratch[i];
        const s32 id =
            c >= '0' && c <= '9' ? TEXT_FULLWIDTH_DIGIT + (c - '0') : TEXT_FULLWIDTH_BLANK;
        // The first two bytes of the text (fewer when it is shorter).
        const char* t = text_expand(id);
        const s32 count = t[0] == 0 ? 0 : t[1] == 0 ? 1 : 2;
        if (count > 0 && !number_put(t, count)) return;
    }
}

void number_append_text(s32 text_id) {
    const char* t = text_expand(text_id);
    for (s32 i = 0; t[i] != 0;) {
        // Expanded texts hold whole characters only.
        const s32 count = text_is_lead(u8(t[i])) ? 2 : 1;
        if (!number_put(t + i, count)) return;
        i += count;
    }
}

s32 print_number(s32 x, s32 y, s32 value, s32 digits) {
    number_clear();
    number_append_digits(value, digits);
    return print_text(x, y, 0);
}

s32 print_number_vertical(s32 x, s32 y, s32 value, s32 digits) {
    number_clear();
    number_append_digits(value, digits);
    return print_text_vertical(x, y, 0);
}

void text_style(s32 style) {
    kanji_style = style >= 0 && style <= 7 ? style : 0;
}

void text_size(s32 pixels) {
    const s64 step = (s64(pixels) - 8) / 4;
    kanji_size = step < 0 || step > 22 ? 4 : s32(step);
}

void text_mode(s32 mode) {
    kanji_mode = mode >= 0 && mode <= 3 ? mode : 3;
}

void text_colour(s32 r, s32 g, s32 b) {
    kanji_set_colour(KANJI_COLOUR_MAIN, s32(u32(r) << 10 | u32(g) << 5 | u32(b)));
}

void cursor_show() {
    shell_send_cursor_show(1);
}

void cursor_hide() {
    shell_send_cursor_show(0);
}

void debug_print(const char* format, ...) {
    kanji_style = 0;
    kanji_size = 4;
    kanji_mode = 0;
    kanji_pen_x = 0;
    kanji_pen_y = 0;
    kanji_set_colour(KANJI_COLOUR_MAIN, 0);
    kanji_set_colour(KANJI_COLOUR_SECOND, 0x7FFF);
    char buffer[PRINTF_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    format_into(buffer, PRINTF_BUFFER_SIZE, format, args);
    va_end(args);
    kanji_print(buffer);
    screen_present();
}

void print_text_seen(s32 x, s32 y, s32 text_id) {
    transcript_print(text_id, x, y);
    print_text(x, y, text_id);
}

void print_text_vertical_seen(s32 x, s32 y, s32 text_id) {
    transcript_print(text_id, x, y);
    print_text_vertical(x, y, text_id);
}

void print_number_seen(s32 x, s32 y, s32 value, s32 digits) {
    transcript_print_number(value, digits, x, y);
    print_number(x, y, value, digits);
}

void print_number_vertical_seen(s32 x, s32 y, s32 value, s32 digits) {
    transcript_print_number(value, digits, x, y);
    print_number_vertical(x, y, value, digits);
}
