// The archive builder's text table writer: turns (id, Big5 text) pairs into the text table entry,
// a run of `TextRecord`s (u16 length, u16 id, the text scrambled with the text key, a 0) ended by
// a zero length. The order of the pairs is kept: for two texts with one id, the earlier wins.
#pragma once
#include "engine/types.h"

#include <string>
#include <utility>
#include <vector>

class ArcBuilder;

// One text: its id (1..65535) and its bytes in plain Big5 (markup and name escapes as the game
// writes them), without the closing 0.
using TextSource = std::pair<u16, std::string>;

// The stored form of text bytes: every byte of 0x80 and above XORed with the text key.
std::string text_scramble(const std::string& plain);

// The text table entry. Throws std::invalid_argument for an id of 0, a text holding a 0 byte, a
// record longer than 65535 bytes or a table that would not fit the 1 MB table buffer.
std::vector<u8> text_table_write(const std::vector<TextSource>& texts);

// Our own content: the placeholder texts of the placeholder archive. Every id 1..65535 gets a
// text that shows its own number (Big5 "文字" and the id in digits; in a screen's short column a
// shorter form of `text_placeholder_form` in tools/text_columns.h), except the ones the number
// printers copy: 65499 is the full-width blank and 65500..65509 the full-width digits 0..9
// (placed first in the table, so number printing finds them at once).
std::vector<TextSource> text_placeholder_sources();
// Puts the placeholder text table into the builder as entry ARC_TEXT_TABLE.
void text_put_placeholder_texts(ArcBuilder& builder);
