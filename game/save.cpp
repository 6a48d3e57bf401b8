// PENDING: placeholder bodies until the save module lands (owner replaces this whole file).
#include "game/save.h"

#include <cstdio>

SaveSlotHeader save_index[SAVE_SLOTS];
s32 save_load_count = 0;
void save_image_name(s32 slot, char* out) { std::snprintf(out, 16, "QuorSave.%d00", slot); }
s32 save_index_read() { return 0; }
void save_index_clear() {}
s32 save_game(s32) { return 0; }
s32 load_game(s32) { return 0; }
s32 save_image_valid(const u8*, size_t) { return 0; }
void load_and_place(s32) {}
