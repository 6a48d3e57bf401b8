// The text table: every game text, numbered, loaded whole from the archive at start-up.
#pragma once
#include "engine/types.h"

constexpr s32 TEXT_TABLE_SIZE = 1048576;

extern u8 text_table[TEXT_TABLE_SIZE];
// 1 while printed texts are stored scrambled (bytes of 0x80 and above XORed with the text key).
extern s32 text_scrambled;

// Loads the archive's text table into `text_table`; an entry larger than the table is fatal.
void text_table_load();
