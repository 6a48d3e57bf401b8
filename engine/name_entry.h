// Name entry: the player types a name with the mouse through a phonetic input method on the
// bottom strip of the screen (y 432..479). A syllable is composed from Zhuyin symbols (an
// initial, a medial, a final and a tone); the tone click looks the syllable up in
// `syllable_table` and offers its Big5 characters, 25 a page, to pick one. A backspace and an OK
// button finish the name; `name_store` files it into one of the sixteen name slots of
// `world_state` that texts insert.
//
// `syllable_table` layout (offsets from the start of the table, little-endian u16):
//   111 offsets: range k = initial x 5 + (tone - 1) for initials 0..21 and tones 1..5, then the
//   end offset; range k spans offset[k] up to offset[k + 1].
//   From byte 222 on, the entries: a key byte (medial x 16 + final, always below 64) followed by
//   that syllable's candidates, two Big5 bytes each (both 64 or above), up to the next key byte
//   or the end of the range.
#pragma once
#include "engine/types.h"

// ---- Phonetic symbols
// -----------------------------------------------------------------------------
constexpr s32 PHONETIC_SYMBOL_COUNT = 42;
constexpr s32 PHONETIC_SYMBOL_SIZE = 5; // two Big5 bytes and zero bytes
// 0-20 the initials, 21-23 the medials, 24-36 the finals, 37-41 the tone marks (first, neutral,
// second, third, fourth: input tones 1..5).
extern const char phonetic_symbols[PHONETIC_SYMBOL_COUNT][PHONETIC_SYMBOL_SIZE];
constexpr s32 PHONETIC_FIRST_MEDIAL = 21;
constexpr s32 PHONETIC_FIRST_FINAL = 24;
constexpr s32 PHONETIC_FIRST_TONE = 37;

// ---- Syllable dictionary
// --------------------------------------------------------------------------
constexpr s32 SYLLABLE_INITIALS = 22; // 0 = none, n = symbol n - 1
constexpr s32 SYLLABLE_MEDIALS = 4;   // 0 = none, n = symbol 20 + n
constexpr s32 SYLLABLE_FINALS = 14;   // 0 = none, n = symbol 23 + n
constexpr s32 SYLLABLE_TONES = 5;     // 1..5 (0 counts as 1); n = symbol 36 + n
constexpr s32 SYLLABLE_RANGES = SYLLABLE_INITIALS * SYLLABLE_TONES;
constexpr s32 SYLLABLE_ENTRIES_START = 2 * (SYLLABLE_RANGES + 1); // byte 222
constexpr s32 SYLLABLE_KEY_LIMIT = 64;       // key bytes are below it, character bytes not
constexpr s32 SYLLABLE_CANDIDATES_MAX = 132; // candidates the table gives one syllable at most

extern const u8 syllable_table[];
extern const s32 syllable_table_size;

// The composed syllable.
extern s32 syllable_initial; // 0..21
extern s32 syllable_medial;  // 0..3
extern s32 syllable_final;   // 0..13
extern s32 syllable_tone;    // 0..5

// The candidates of the last lookup, lead and trail bytes kept apart.
constexpr s32 CANDIDATE_MAX = 1056;
extern u8 candidate_lead[CANDIDATE_MAX];
extern u8 candidate_trail[CANDIDATE_MAX];
extern s32 candidate_count;

// ---- The name being entered
// -----------------------------------------------------------------------
constexpr s32 NAME_ENTRY_MAX_CHARS = 16;
constexpr s32 NAME_STORE_MAX_CHARS = 7; // a name slot keeps this many characters (14 bytes)
extern char name_entry_buffer[2 * NAME_ENTRY_MAX_CHARS + 1]; // Big5, plain, 0-ended
extern s32 name_entry_length;                                // characters
extern s32 name_entry_max;                                   // characters, 1..16
extern s32 name_entry_done;

// ---- Strip geometry
// ---------------------------------------------------------------------------------
constexpr s32 NAME_STRIP_Y = 432;
constexpr s32 NAME_STRIP_H = 48;
constexpr s32 NAME_HOVER_NONE = 99;
constexpr s32 NAME_HOVER_SYLLABLE = 42;
constexpr s32 NAME_HOVER_BACKSPACE = 43;
constexpr s32 NAME_HOVER_OK = 44;
constexpr s32 NAME_HOVER_PAGE_BACK = 61;
constexpr s32 NAME_HOVER_PAGE_ON = 62;
constexpr s32 CANDIDATES_PER_PAGE = 25;

// Runs the input until OK is clicked with a name of at least one character; max_chars outside
// 1..16 means 16. The strip is restored and `text_scrambled` is 1 again when it returns; the name
// stays in `name_entry_buffer`.
void name_entry(s32 max_chars);
// For slot 0..15 (other values do nothing): clears that name slot of `world_state` and copies
// the first min(length, 7) characters of the entered name into it, every byte of 0x80 and above
// XOR-ed with the text key.
void name_store(s32 slot);

// ---- Inner steps
// ------------------------------------------------------------------------------------
void syllable_clear();
// Fills the candidate list from the syllable table for the composed syllable (none when the
// syllable is not there).
void syllable_lookup();
// The candidates of one syllable in any table of the layout above, `size` bytes long: the
// characters after the first key byte equal to key in range k, up to the next key byte or the
// end of the range. Nothing outside the table or the range is read: offsets past the table or
// out of order give no candidates, a lone byte at a range's end is dropped, and at most `max`
// are stored. Returns the count.
s32 syllable_find(const u8* table, s32 size, s32 range, s32 key, u8* lead, u8* trail, s32 max);
// Hover index of the phonetic picker for a pointer position.
s32 phonetic_hover(s32 x, s32 y);
// Hover index of the candidate picker (page start and candidate count as given).
s32 candidate_hover(s32 x, s32 y, s32 page_start, s32 count);
void phonetic_draw(s32 hover);
void candidate_draw(s32 hover, s32 page_start);
void phonetic_pick();
void candidate_pick();
