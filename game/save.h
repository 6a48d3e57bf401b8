// Saved games: the save index "zanthsave" (four slot headers) and one image file per slot,
// "QuorSave.N00", holding the eight saved blocks byte for byte (407,144 bytes).
#pragma once
#include "data/schedule.h"
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
// The index file's name, SAVE_INDEX_NAME, stands with the new game's probe of it (data/schedule.h).

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

// Saves the game into `slot` (0..3; other slots do nothing). Each file is written whole into a
// temporary file in the same directory, flushed to disk and renamed over the real name, the image
// first and the index second; `save_index` takes the new header only when both succeeded. Returns 1
// on success; on failure the previous files stay whole, the in-memory state is unchanged and the
// player is told.
s32 save_game(s32 slot);
// Loads `slot` (0..3). Returns 1 when a valid image was loaded; 0 when the slot is out of range,
// the file is missing, of the wrong size or fails validation (then nothing changes and, except
// for an out-of-range slot, the player sees the file name and "Load Error!!!").
s32 load_game(s32 slot);
// Checks a whole save image (`size` bytes) before anything is committed: 1 when every index-like
// field lies in its table. Exposed for the fuzz target and tests.
s32 save_image_valid(const u8* image, size_t size);
// The first check that the image fails, as a short phrase ("size", "object event", ...), or null
// when it is valid.
const char* save_image_fault(const u8* image, size_t size);
// fade_out_scene, load_game, change_map to object 0's saved place, fade_in_scene (never called by
// the game).
void load_and_place(s32 slot);

// The eight blocks of the image: offset and size of each within the file. Blocks 1..7 are the
// records of `state_blocks` in order; block 8 is `item_master` again and is read last.
constexpr s32 SAVE_BLOCKS = 8;
constexpr size_t SAVE_BLOCK_OFFSET[SAVE_BLOCKS] = {0,      65536,  196608, 271784,
                                                   280344, 320344, 338344, 367144};
constexpr size_t SAVE_BLOCK_SIZE[SAVE_BLOCKS] = {65536, 131072, 75176, 8560,
                                                 40000, 18000,  28800, 40000};
static_assert(SAVE_BLOCK_OFFSET[7] + SAVE_BLOCK_SIZE[7] == size_t(SAVE_IMAGE_SIZE));

// Commits an image that `save_image_valid` accepts exactly as `load_game` does after reading the
// file of `slot`: all records replaced, `hub_restart`, music, cursor and `save_load_count`. Returns
// 1, or 0 (nothing changed, nothing shown) when the image is refused or the slot is outside 0..3.
s32 load_image_commit(s32 slot, const u8* image, size_t size);

// The step that puts a finished temporary file in place of the real one (default: rename(2)).
// Returns 0 on success like rename. Tests replace it to simulate a crash or a failed rename.
extern int (*save_rename_seam)(const char* from, const char* to);
// A save of file `path` writes `path` + SAVE_TEMP_SUFFIX first.
constexpr const char* SAVE_TEMP_SUFFIX = ".tmp";
