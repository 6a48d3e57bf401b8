// The text table: every game text, numbered, loaded whole from the archive at start-up; text
// lookup by id, the expansion of name escapes into the player-given names, the number buffer that
// stands in for text ids of 0 and below, and the scrambled storage of Big5 bytes.
//
// The table is a sequence of records: u16 length (the whole record, header included; 0 ends the
// table), u16 id, then the text ended by a 0. A text is a run of bytes: a byte of 0x80 or above
// starts a two-byte character (Big5, stored scrambled), a backquote followed by a letter a..p is
// a name escape, every other byte stands alone (ASCII and markup).
//
// Scrambled storage: every byte of 0x80 and above in the table, the name slots and the stored log
// formats is XORed with `TEXT_KEY`; bytes below 0x80 are stored plain. Lookup and expansion copy
// bytes as stored; only the printers unscramble.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 TEXT_TABLE_SIZE = 1048576;
// Zero bytes after the table that no load or walk ever writes, so that every text of the table
// ends inside the array even when the last record of a full table lacks its closing 0.
constexpr s32 TEXT_TABLE_GUARD = 4;
constexpr u8 TEXT_KEY = 0x2E;

// One record header of the table; the text follows it.
struct TextRecord {
    u16 length; // bytes of the whole record, these four included; 0 ends the table
    u16 id;     // text id 1..65535
};
static_assert(sizeof(TextRecord) == 4);
static_assert(offsetof(TextRecord, length) == 0);
static_assert(offsetof(TextRecord, id) == 2);

// Text ids shared across the game.
constexpr s32 TEXT_ITEM_KIND = 700;          // + item kind: the kind's caption
constexpr s32 TEXT_ITEM_NAME = 5000;         // + item: its name
constexpr s32 TEXT_ITEM_DESC = 7500;         // + item: its description
constexpr s32 TEXT_TOO_FAR = 10000;          // floated over the player: the person is too far
constexpr s32 TEXT_TITLE_BASE = 18000;       // + title: the title's line
constexpr s32 TEXT_QUIZ_BASE = 19100;        // + n: quiz question n
constexpr s32 TEXT_FULLWIDTH_BLANK = 65499;  // one full-width blank
constexpr s32 TEXT_FULLWIDTH_DIGIT = 65500;  // + d: full-width digit d, 0..9
constexpr const char* TEXT_MISSING = "?!?!"; // what a missing text reads as

constexpr s32 NUMBER_BUFFER_SIZE = 10000;
constexpr s32 EXPANDED_TEXT_SIZE = 8192;
constexpr s32 NAME_SLOT_COUNT = 16;
constexpr s32 NAME_SLOT_MAX = 15; // bytes of a name; its slot holds them and a 0

extern u8 text_table[TEXT_TABLE_SIZE + TEXT_TABLE_GUARD];
// 1 while printed texts are stored scrambled (bytes of 0x80 and above XORed with the text key);
// 0 only while the name entry prints its own plain characters.
extern s32 text_scrambled;
// The text that every id of 0 and below, or above 65535, refers to: built by the number printers.
extern char number_buffer[NUMBER_BUFFER_SIZE];
extern s32 number_length;
// The result of the last `text_expand`; overwritten by the next one.
extern char expanded_text[EXPANDED_TEXT_SIZE];

// Loads the archive's text table into `text_table`; an entry larger than the table is fatal.
void text_table_load();

// The text of that id inside `text_table`: `number_buffer` for ids <= 0 or > 65535, "?!?!" when
// no record has the id. The first record with the id wins.
const char* text_find(s32 text_id);

// `text_find` (text_id) with every name escape replaced by its slot's bytes (at most 15), into
// `expanded_text`. A byte of 0x80 and above is a two-byte character; the walk never steps over
// the text's closing 0 (a lone lead byte or backquote before it is dropped), and a result that
// would not fit in `expanded_text` is cut at a character boundary.
const char* text_expand(s32 text_id);

// The byte class shared by every walker: a lead byte starts a two-byte character.
constexpr bool text_is_lead(u8 b) {
    return b >= 0x80;
}
constexpr u8 TEXT_ESCAPE = 0x60; // backquote: a name escape; the next byte names the slot
// The slot an escape's second byte names (the low four bits of its distance from 'a').
constexpr s32 text_escape_slot(u8 b) {
    return (b - 0x61) & 15;
}

// Ends a formatted text before a lead byte that lost its trail byte when the formatter cut the
// text short, so the text ends at a character boundary.
void text_trim_partial(char* text);
