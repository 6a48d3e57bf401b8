#include "engine/transcript.h"

TranscriptObserver transcript_observer = nullptr;
bool transcript_draws = false;

s32 transcript_note(const TranscriptEntry& entry) {
    if (!transcript_observer) return TRANSCRIPT_RUN;
    return transcript_observer(entry);
}

void transcript_label(s32 obj, s32 text_id, s32 dx, s32 dy, s32 duration_ms) {
    TranscriptEntry e;
    e.kind = TRANSCRIPT_LABEL;
    e.object = obj;
    e.text[0] = text_id;
    e.x = dx;
    e.y = dy;
    e.number = duration_ms;
    transcript_note(e);
}

void transcript_log(s32 kind, s32 text_id, s32 second) {
    TranscriptEntry e;
    e.kind = kind;
    e.text[0] = text_id;
    if (kind == TRANSCRIPT_LOG_TEXT_TEXT)
        e.text[1] = second;
    else if (kind == TRANSCRIPT_LOG_TEXT_NUMBER)
        e.number = second;
    transcript_note(e);
}

void transcript_sound(s32 kind, s32 id, s32 loop_count) {
    TranscriptEntry e;
    e.kind = kind;
    e.id = id;
    e.number = loop_count;
    transcript_note(e);
}

void transcript_change_map(s32 map, s32 x, s32 y) {
    TranscriptEntry e;
    e.kind = TRANSCRIPT_CHANGE_MAP;
    e.id = map;
    e.x = x;
    e.y = y;
    transcript_note(e);
}

void transcript_draw(s32 image_id, s32 x, s32 y, u32 flags) {
    if (!transcript_observer || !transcript_draws) return;
    TranscriptEntry e;
    e.kind = TRANSCRIPT_DRAW;
    e.id = image_id;
    e.x = x;
    e.y = y;
    e.number = s32(flags);
    transcript_note(e);
}

void transcript_print(s32 text_id, s32 x, s32 y) {
    if (!transcript_observer || !transcript_draws) return;
    TranscriptEntry e;
    e.kind = TRANSCRIPT_PRINT;
    e.text[0] = text_id;
    e.x = x;
    e.y = y;
    transcript_note(e);
}

void transcript_print_number(s32 value, s32 digits, s32 x, s32 y) {
    if (!transcript_observer || !transcript_draws) return;
    TranscriptEntry e;
    e.kind = TRANSCRIPT_PRINT_NUMBER;
    e.number = value;
    e.id = digits;
    e.x = x;
    e.y = y;
    transcript_note(e);
}
