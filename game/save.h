// Saved games: the save index "zanthsave" (four slot headers) and one image file per slot,
// "QuorSave.N00", holding the eight saved blocks byte for byte (407,144 bytes).
#pragma once
#include "engine/types.h"

#include <cstddef>

struct SaveSlotHeader {
    s32 used; // 1 = the slot holds a save
    s32 year;
    s32 month;
    s32 day;
    s32 hour;
    s32 area; // the load menus show area text 100 + area
};
static_assert(sizeof(SaveSlotHeader) == 24);
static_assert(offsetof(SaveSlotHeader, used) == 0);
static_assert(offsetof(SaveSlotHeader, year) == 4);
static_assert(offsetof(SaveSlotHeader, month) == 8);
static_assert(offsetof(SaveSlotHeader, day) == 12);
static_assert(offsetof(SaveSlotHeader, hour) == 16);
static_assert(offsetof(SaveSlotHeader, area) == 20);

constexpr s32 SAVE_SLOTS = 4;
constexpr s32 SAVE_IMAGE_SIZE = 407144;
constexpr const char* SAVE_INDEX_NAME = "zanthsave";

// The in-memory save index (the master copy once the title menu has run).
extern SaveSlotHeader save_index[SAVE_SLOTS];
// Successful loads since program start: the hub compares it across a pass to learn whether a
// game was loaded anywhere inside the pass (a load menu, the character screen, a route start).
extern s32 save_load_count;

// "QuorSave.N00" for slot N (0..3) into `out` (at least 16 bytes).
void save_image_name(s32 slot, char* out);
// Reads the index file into `save_index`; returns 1 when it was read whole, 0 when it cannot be
// opened or is short (then `save_index` is unchanged).
s32 save_index_read();
// Marks all four in-memory headers unused (used, year, month, day, area := 0).
void save_index_clear();

// Saves the game into `slot` (0..3; other slots do nothing). Returns 1 on success; on failure the
// previous files stay whole, the in-memory state is unchanged and the player is told.
s32 save_game(s32 slot);
// Loads `slot` (0..3). Returns 1 when a valid image was loaded; 0 when the slot is out of range,
// the file is missing, of the wrong size or fails validation (then nothing changes and, except
// for an out-of-range slot, the player sees the file name and "Load Error!!!").
s32 load_game(s32 slot);
// Checks a whole save image (`size` bytes) before anything is committed: 1 when every index-like
// field lies in its table. Exposed for the fuzz target and tests.
s32 save_image_valid(const u8* image, size_t size);
// fade_out_scene, load_game, change_map to object 0's saved place, fade_in_scene (never called by
// the game).
void load_and_place(s32 slot);
