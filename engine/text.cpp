#include "engine/text.h"

#include "engine/gisk.h"
#include "engine/shell.h"

#include <cstring>

u8 text_table[TEXT_TABLE_SIZE];
s32 text_scrambled = 1;

void text_table_load() {
    // A table shorter than the buffer is followed by zeros, which end every walk.
    std::memset(text_table, 0, sizeof text_table);
    // The table must end with a zero record length inside the buffer; the bounded load refuses
    // an entry that would overrun it.
    if (gisk_load_bounded(ARC_TEXT_TABLE, text_table, TEXT_TABLE_SIZE) < 0)
        shell_fatal("text: table(%d) too large", gisk_size(ARC_TEXT_TABLE));
}
