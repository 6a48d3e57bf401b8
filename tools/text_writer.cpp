#include "tools/text_writer.h"

#include "engine/gisk.h"
#include "engine/text.h"
#include "tools/arcbuild.h"
#include "tools/text_columns.h"

#include <stdexcept>

std::string text_scramble(const std::string& plain) {
    std::string stored = plain;
    for (char& c : stored)
        if (u8(c) >= 0x80) c = char(u8(c) ^ TEXT_KEY);
    return stored;
}

std::vector<u8> text_table_write(const std::vector<TextSource>& texts) {
    std::vector<u8> table;
    for (const auto& [id, text] : texts) {
        if (id == 0) throw std::invalid_argument("text_writer: text id 0");
        if (text.find('\0') != std::string::npos)
            throw std::invalid_argument("text_writer: text " + std::to_string(id) +
                                        " holds a 0 byte");
        const size_t length = sizeof(TextRecord) + text.size() + 1;
        if (length > 0xFFFF)
            throw std::invalid_argument("text_writer: text " + std::to_string(id) + " too long");
        table.push_back(u8(length));
        table.push_back(u8(length >> 8));
        table.push_back(u8(id));
        table.push_back(u8(id >> 8));
        const std::string stored = text_scramble(text);
        table.insert(table.end(), stored.begin(), stored.end());
        table.push_back(0);
    }
    table.insert(table.end(), sizeof(TextRecord), 0); // a zero length ends the table
    if (table.size() > size_t(TEXT_TABLE_SIZE))
        throw std::invalid_argument("text_writer: table of " + std::to_string(table.size()) +
                                    " bytes does not fit");
    return table;
}

std::vector<TextSource> text_placeholder_sources() {
    // Our own content. Big5 full-width blank A140, digits A2AF..A2B8, and the word "文字" (text)
    // with the id, shorter in the screens' short columns.
    std::vector<TextSource> texts;
    texts.reserve(65535);
    texts.emplace_back(u16(TEXT_FULLWIDTH_BLANK), std::string("\xA1\x40"));
    for (s32 d = 0; d < 10; ++d)
        texts.emplace_back(u16(TEXT_FULLWIDTH_DIGIT + d), std::string{char(0xA2), char(0xAF + d)});
    for (s32 id = 1; id <= 65535; ++id) {
        if (id == TEXT_FULLWIDTH_BLANK ||
            (id >= TEXT_FULLWIDTH_DIGIT && id < TEXT_FULLWIDTH_DIGIT + 10))
            continue;
        texts.emplace_back(u16(id), text_placeholder_form(id));
    }
    return texts;
}

void text_put_placeholder_texts(ArcBuilder& builder) {
    builder.put(ARC_TEXT_TABLE, text_table_write(text_placeholder_sources()));
}
