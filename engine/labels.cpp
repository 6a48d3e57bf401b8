#include "engine/labels.h"

#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/text.h"
#include "engine/transcript.h"
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

FloatingLabel label_table[LABEL_COUNT];
char log_lines[LOG_LINES][LOG_LINE_SIZE];
u32 log_stamps[LOG_LINES];

namespace {

// Our own content: the three stored log formats, Big5 in the text table's scrambled form (every
// byte of 0x80 and above XORed with the text key). Plain, they read
//   "【訊息】%s：%d"  (a text and a number),
//   "【訊息】%s"      (a text alone),
//   "【訊息】%s：%s"  (two texts).
constexpr char LOG_FORMAT_NUMBER[] = "\x8f"
                                     "i"
                                     "\x9e"
                                     "T"
                                     "\x80\x89\x8f"
                                     "j%s"
                                     "\x8f"
                                     "G%d";
constexpr char LOG_FORMAT_TEXT[] = "\x8f"
                                   "i"
                                   "\x9e"
                                   "T"
                                   "\x80\x89\x8f"
                                   "j%s";
constexpr char LOG_FORMAT_TEXT_TEXT[] = "\x8f"
                                        "i"
                                        "\x9e"
                                        "T"
                                        "\x80\x89\x8f"
                                        "j%s"
                                        "\x8f"
                                        "G%s";

// Drops the oldest line, formats the new one as line 2 (cut at a character boundary when it would
// not fit), stamps it and presents.
void log_push(const char* format, ...) __attribute__((format(printf, 1, 2)));
void log_push(const char* format, ...) {
    for (s32 i = 0; i + 1 < LOG_LINES; ++i) {
        std::memcpy(log_lines[i], log_lines[i + 1], LOG_LINE_SIZE);
        log_stamps[i] = log_stamps[i + 1];
    }
    char* line = log_lines[LOG_LINES - 1];
    va_list args;
    va_start(args, format);
    s32 n = std::vsnprintf(line, LOG_LINE_SIZE, format, args);
    va_end(args);
    if (n < 0)
        line[0] = 0;
    else if (n >= LOG_LINE_SIZE)
        text_trim_partial(line);
    log_stamps[LOG_LINES - 1] = plat_ticks();
    screen_present();
}

} // namespace

void label_add(s32 obj, s32 text_id, s32 dx, s32 dy, s32 duration_ms) {
    if (transcript_observer) transcript_label(obj, text_id, dx, dy, duration_ms);
    for (FloatingLabel& label : label_table) {
        if (label.countdown != 0) continue;
        label.countdown = u16(duration_ms / LABEL_FRAME_MS);
        label.object = u16(obj);
        label.dx = s16(dx);
        label.dy = s16(dy);
        // Whole characters only, and the record's last byte stays 0.
        const char* text = text_expand(text_id);
        std::memset(label.text, 0, sizeof label.text);
        for (s32 i = 0; text[i] != 0;) {
            const s32 count = text_is_lead(u8(text[i])) ? 2 : 1;
            if (i + count > LABEL_TEXT_SIZE - 1) break;
            std::memcpy(label.text + i, text + i, size_t(count));
            i += count;
        }
        return;
    }
}

void label_remove(s32 obj) {
    for (FloatingLabel& label : label_table)
        if (label.object == u16(obj)) label.countdown = 0;
}

void label_clear() {
    std::memset(label_table, 0, sizeof label_table);
}

void log_text_number(s32 text_id, s32 number) {
    if (transcript_observer) transcript_log(TRANSCRIPT_LOG_TEXT_NUMBER, text_id, number);
    log_push(LOG_FORMAT_NUMBER, text_expand(text_id), number);
}

void log_text(s32 text_id) {
    if (transcript_observer) transcript_log(TRANSCRIPT_LOG_TEXT, text_id, 0);
    log_push(LOG_FORMAT_TEXT, text_expand(text_id));
}

void log_text_text(s32 text_id, s32 text_id2) {
    if (transcript_observer) transcript_log(TRANSCRIPT_LOG_TEXT_TEXT, text_id, text_id2);
    // One expansion buffer: keep the first text while the second is expanded.
    static char first[EXPANDED_TEXT_SIZE];
    std::memcpy(first, text_expand(text_id), sizeof first);
    log_push(LOG_FORMAT_TEXT_TEXT, first, text_expand(text_id2));
}

void log_clear() {
    std::memset(log_lines, 0, sizeof log_lines);
    std::memset(log_stamps, 0, sizeof log_stamps);
}

bool log_empty() {
    for (const char* line : log_lines)
        if (line[0] != 0) return false;
    return true;
}

void log_draw(u32 now) {
    // The overlay's own text settings; the caller's come back afterwards.
    const s32 size = kanji_size, scrambled = text_scrambled, line_chars = kanji_line_chars;
    const s32 style = kanji_style, mode = kanji_mode, pen_x = kanji_pen_x, pen_y = kanji_pen_y;
    const u16 main = kanji_colour_main;
    const s32 main_555 = kanji_colour_main_555;
    kanji_size = 2;
    text_scrambled = 1;
    kanji_line_chars = 0;
    kanji_style = 2;
    kanji_mode = KANJI_MODE_SMOOTH;
    kanji_set_colour(KANJI_COLOUR_MAIN, 0x7FFF); // white
    for (s32 i = 0; i < LOG_LINES; ++i) {
        if (log_lines[i][0] != 0) {
            kanji_pen_x = 0;
            kanji_pen_y = LOG_TOP + LOG_LINE_STEP * i;
            kanji_print_line(log_lines[i]);
        }
        if (now < log_stamps[i] || now - log_stamps[i] > LOG_SHOW_MS) log_lines[i][0] = 0;
    }
    kanji_size = size;
    text_scrambled = scrambled;
    kanji_line_chars = line_chars;
    kanji_style = style;
    kanji_mode = mode;
    kanji_pen_x = pen_x;
    kanji_pen_y = pen_y;
    kanji_colour_main = main;
    kanji_colour_main_555 = main_555;
}
