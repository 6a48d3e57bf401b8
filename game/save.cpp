// Saved games: the index file and the per-slot image files, written atomically and loaded only
// after the whole image has been read and every field that indexes a table has been checked.
#include "game/save.h"

#include "data/battle_tables.h"
#include "data/hub_block.h"
#include "data/item_tables.h"
#include "data/items.h"
#include "data/roster.h"
#include "data/shops.h"
#include "engine/dialog.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/state.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

SaveSlotHeader save_index[SAVE_SLOTS];
s32 save_load_count = 0;
int (*save_rename_seam)(const char* from, const char* to) = std::rename;

namespace {

// Blocks of the image by content.
enum : s32 {
    BLOCK_WORLD = 0,
    BLOCK_OBJECTS = 1,
    BLOCK_PLAYER = 2,
    BLOCK_HUB = 3,
    BLOCK_ITEMS = 4,
    BLOCK_SHOPS = 5,
    BLOCK_ROSTER = 6,
    BLOCK_ITEMS_AGAIN = 7,
};

static_assert(SAVE_BLOCK_SIZE[BLOCK_WORLD] == sizeof(WorldState));
static_assert(SAVE_BLOCK_SIZE[BLOCK_OBJECTS] == sizeof(ObjectRecord) * OBJECT_COUNT);
static_assert(SAVE_BLOCK_SIZE[BLOCK_PLAYER] == sizeof(PlayerRecord));
static_assert(SAVE_BLOCK_SIZE[BLOCK_HUB] == sizeof(HubBlock));
static_assert(SAVE_BLOCK_SIZE[BLOCK_ITEMS] == sizeof(ItemEntry) * ITEM_COUNT);
static_assert(SAVE_BLOCK_SIZE[BLOCK_SHOPS] == sizeof(ShopSlot) * SHOP_COUNT * SHOP_SLOTS);
static_assert(SAVE_BLOCK_SIZE[BLOCK_ROSTER] == sizeof(RosterEntry) * ROSTER_SIZE);
static_assert(SAVE_BLOCK_SIZE[BLOCK_ITEMS_AGAIN] == SAVE_BLOCK_SIZE[BLOCK_ITEMS]);
static_assert(SAVE_BLOCK_OFFSET[0] == 0);
static_assert(SAVE_BLOCK_OFFSET[1] == 65536);
static_assert(SAVE_BLOCK_OFFSET[2] == 196608);
static_assert(SAVE_BLOCK_OFFSET[3] == 271784);
static_assert(SAVE_BLOCK_OFFSET[4] == 280344);
static_assert(SAVE_BLOCK_OFFSET[5] == 320344);
static_assert(SAVE_BLOCK_OFFSET[6] == 338344);
static_assert(SAVE_BLOCK_OFFSET[7] == 367144);
constexpr bool blocks_follow_each_other() {
    for (s32 b = 1; b < SAVE_BLOCKS; ++b)
        if (SAVE_BLOCK_OFFSET[b] != SAVE_BLOCK_OFFSET[b - 1] + SAVE_BLOCK_SIZE[b - 1]) return false;
    return true;
}
static_assert(blocks_follow_each_other());
static_assert(STATE_BLOCK_COUNT == SAVE_BLOCKS - 1);
static_assert(sizeof(save_index) == 96);

// Range limits of the values that index tables.
constexpr s32 MAP_LIMIT = 300;        // map numbers 0..299
constexpr s32 CALENDAR_SLOTS = 224;   // calendar_event_table
constexpr s32 KNOWN_ID_LIMIT = 100;   // known ids 0..99 (texts and arts 50 x list + id - 50)
constexpr s32 MOOD_LIMIT = 5;         // moods 0..4 pick the dashboard portrait
constexpr s32 BACKDROP_FIRST = 60400; // dashboard backdrops 60400..60427
constexpr s32 BACKDROP_LAST = 60427;
constexpr s32 TURNS_CONSUMED_MAX = 3; // turns one action may use
constexpr s32 HUB_COMMAND_MAX = 56;   // highest command code
constexpr s32 HUB_PLACE_PICK_MAX = 6; // places 0..6 of the third-level bar

// The data of block b in memory: the saved records in image order, `item_master` twice.
void* block_data(s32 b) {
    return b == BLOCK_ITEMS_AGAIN ? state_blocks[BLOCK_ITEMS].data : state_blocks[b].data;
}

void check_state_blocks() {
    for (s32 b = 0; b < STATE_BLOCK_COUNT; ++b)
        if (state_blocks[b].size != SAVE_BLOCK_SIZE[b])
            shell_fatal("save: block %d (%s) size %zu", b + 1, state_blocks[b].name,
                        state_blocks[b].size);
}

// ---- Reading the image ---------------------------------------------------------------------

// A little-endian 32-bit value at `offset` of the image (the caller has checked the size).
s32 rd_s32(const u8* image, size_t offset) {
    return s32(u32(image[offset]) | u32(image[offset + 1]) << 8 | u32(image[offset + 2]) << 16 |
               u32(image[offset + 3]) << 24);
}
u16 rd_u16(const u8* image, size_t offset) {
    return u16(image[offset] | image[offset + 1] << 8);
}

// Byte `offset` of block `b` within the image.
size_t at(s32 b, size_t offset) {
    return SAVE_BLOCK_OFFSET[b] + offset;
}

// Attribute `attr` of object `obj` in the image, by the object table's own layout; bytes past the
// 32-byte record are not read (as the object module does).
s32 image_attr(const u8* image, s32 obj, s32 attr) {
    const size_t record = SAVE_BLOCK_OFFSET[BLOCK_OBJECTS] + size_t(obj) * sizeof(ObjectRecord);
    const u32 first = attr_word[attr];
    u32 word = 0;
    for (u32 i = 0; i < 4 && first + i < sizeof(ObjectRecord); ++i)
        word |= u32(image[record + first + i]) << (8 * i);
    return s32((word >> attr_shift[attr]) & attr_mask[attr]);
}

bool in_range(s32 v, s32 lo, s32 hi) {
    return v >= lo && v <= hi;
}
// -1 for "none" or an index into a table of `count` entries.
bool none_or_index(s32 v, s32 count) {
    return v == -1 || (v >= 0 && v < count);
}

const char* world_fault(const u8* img) {
    const size_t w = SAVE_BLOCK_OFFSET[BLOCK_WORLD];
    if (!in_range(img[w + offsetof(WorldState, month)], 1, 12)) return "world month";
    if (!in_range(img[w + offsetof(WorldState, day)], 1, 31)) return "world day";
    if (!in_range(img[w + offsetof(WorldState, hour)], 0, 23)) return "world hour";
    if (rd_u16(img, w + offsetof(WorldState, current_map)) >= MAP_LIMIT) return "world map";
    if (rd_u16(img, w + offsetof(WorldState, event_object)) >= OBJECT_COUNT)
        return "world event object";
    for (s32 slot = 0; slot < 16; ++slot) {
        const u8* name = img + w + offsetof(WorldState, name_slots) + 16 * size_t(slot);
        if (!std::memchr(name, 0, 16)) return "name slot";
    }
    return nullptr;
}

const char* objects_fault(const u8* img) {
    for (s32 obj = 0; obj < OBJECT_COUNT; ++obj) {
        if (image_attr(img, obj, ATTR_EVENT) >= OBJECT_EVENT_COUNT) return "object event";
        if (image_attr(img, obj, ATTR_MAP) >= MAP_LIMIT) return "object map";
    }
    return nullptr;
}

const char* player_fault(const u8* img) {
    auto field = [&](size_t offset) { return rd_s32(img, at(BLOCK_PLAYER, offset)); };
    if (!in_range(field(offsetof(PlayerRecord, mood)), 0, MOOD_LIMIT - 1)) return "player mood";
    for (s32 i = 0; i < PLAYER_PARTY; ++i)
        if (!none_or_index(field(offsetof(PlayerRecord, party) + 4 * size_t(i)), ROSTER_SIZE))
            return "player party";
    for (s32 s = 0; s < PLAYER_EQUIP; ++s)
        if (!none_or_index(field(offsetof(PlayerRecord, equip) + 4 * size_t(s)),
                           EQUIP_SLOT_ITEMS[s]))
            return "player equipment";
    for (s32 i = 0; i < PLAYER_ITEMS; ++i)
        if (!none_or_index(field(offsetof(PlayerRecord, inventory) + sizeof(InventoryEntry) * i),
                           ITEM_COUNT))
            return "player inventory";
    for (s32 i = 0; i < PLAYER_ACQUAINTANCES; ++i)
        if (!none_or_index(field(offsetof(PlayerRecord, acquaintances) + 4 * size_t(i)),
                           ROSTER_SIZE))
            return "player acquaintance";
    for (s32 i = 0; i < KNOWN_LISTS * KNOWN_SLOTS; ++i)
        if (!none_or_index(field(offsetof(PlayerRecord, known) + sizeof(KnownEntry) * i),
                           KNOWN_ID_LIMIT))
            return "player known id";
    return nullptr;
}

bool slot_ok(s32 slot) {
    return slot < CALENDAR_SLOTS; // negative = none
}

const char* hub_fault(const u8* img) {
    auto field = [&](size_t offset) { return rd_s32(img, at(BLOCK_HUB, offset)); };
    if (!in_range(field(offsetof(HubBlock, calendar_turn)), 0, HUB_TURNS - 1))
        return "calendar turn";
    if (!in_range(field(offsetof(HubBlock, turns_consumed)), 0, TURNS_CONSUMED_MAX))
        return "turns consumed";
    if (!in_range(field(offsetof(HubBlock, scene_backdrop)), BACKDROP_FIRST, BACKDROP_LAST))
        return "backdrop";
    if (!in_range(field(offsetof(HubBlock, dashboard_page)), 0, 1)) return "dashboard page";
    if (!in_range(field(offsetof(HubBlock, hub_menu_level)), 0, HUB_MENU_LEVELS - 1))
        return "menu level";
    const s32 third_open = field(offsetof(HubBlock, hub_third_open));
    if (!in_range(third_open, 0, 1)) return "third bar open";
    const s32 pick = field(offsetof(HubBlock, hub_menu_pick));
    if (!in_range(pick, -1, HUB_MENU_BUTTONS - 1)) return "menu pick";
    if (third_open == 1 && !in_range(pick, 0, HUB_PLACE_SETS - 1)) return "menu pick";
    if (!in_range(field(offsetof(HubBlock, hub_third_pick)), -1, HUB_PLACE_PICK_MAX))
        return "third pick";
    if (!in_range(field(offsetof(HubBlock, hub_command)), -1, HUB_COMMAND_MAX))
        return "hub command";
    for (s32 t = 0; t < HUB_TURNS; ++t) {
        if (!slot_ok(field(offsetof(HubBlock, turn_events_before) + 4 * size_t(t))))
            return "schedule slot";
        if (!slot_ok(field(offsetof(HubBlock, turn_events_after) + 4 * size_t(t))))
            return "schedule slot";
    }
    // The four pools lie one after another from encounter_pool_a to the end of the record.
    static_assert(offsetof(HubBlock, place_events) + sizeof(HubBlock::place_events) ==
                  sizeof(HubBlock));
    for (size_t e = offsetof(HubBlock, encounter_pool_a); e < sizeof(HubBlock);
         e += sizeof(EventEntry))
        if (!slot_ok(field(e + offsetof(EventEntry, slot)))) return "pool slot";
    return nullptr;
}

const char* tables_fault(const u8* img) {
    // Block 8 is the copy of the item master that a load keeps.
    for (s32 i = 0; i < ITEM_COUNT; ++i)
        if (!none_or_index(rd_s32(img, at(BLOCK_ITEMS_AGAIN,
                                          sizeof(ItemEntry) * i + offsetof(ItemEntry, result))),
                           ITEM_COUNT))
            return "item result";
    for (s32 shop = 0; shop < SHOP_COUNT; ++shop) {
        const s32 base = shop_base(shop);
        for (s32 s = 0; s < SHOP_SLOTS; ++s) {
            const s32 offset =
                rd_s32(img, at(BLOCK_SHOPS, sizeof(ShopSlot) * size_t(shop * SHOP_SLOTS + s) +
                                                offsetof(ShopSlot, offset)));
            if (offset < -1) return "shop slot";
            if (offset >= 0 && base >= 0 && !item_valid(base + offset)) return "shop slot";
        }
    }
    for (s32 c = 0; c < ROSTER_SIZE; ++c) {
        const size_t e = sizeof(RosterEntry) * size_t(c);
        if (!in_range(rd_s32(img, at(BLOCK_ROSTER, e + offsetof(RosterEntry, art))), 0,
                      ARTS_COUNT - 1))
            return "roster art";
        for (s32 k = 0; k < ROSTER_BAG_SLOTS; ++k)
            if (!none_or_index(rd_s32(img, at(BLOCK_ROSTER, e + offsetof(RosterEntry, bag) +
                                                                sizeof(RosterBagSlot) * k)),
                               ITEM_COUNT))
                return "roster bag";
    }
    return nullptr;
}

// ---- Writing -------------------------------------------------------------------------------

// Makes a finished rename durable: flushes the directory that holds the files.
void sync_directory() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

struct Piece {
    const void* data;
    size_t size;
};

// Writes the pieces in order into `name` + ".tmp", flushes it to disk and renames it over
// `name`. On any failure the temporary file is removed and `name` is left as it was.
bool write_atomic(const char* name, const Piece* pieces, s32 count) {
    const std::string temp = std::string(name) + SAVE_TEMP_SUFFIX;
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (s32 i = 0; ok && i < count; ++i)
        ok = std::fwrite(pieces[i].data, 1, pieces[i].size, f) == pieces[i].size;
    ok = ok && std::fflush(f) == 0;
    ok = ok && ::fsync(::fileno(f)) == 0;
    ok = (std::fclose(f) == 0) && ok;
    ok = ok && save_rename_seam(temp.c_str(), name) == 0;
    if (!ok) {
        std::remove(temp.c_str());
        return false;
    }
    sync_directory();
    return true;
}

// Whole-file read buffer: one byte more than an image, so a longer file shows as too long.
u8 load_buffer[SAVE_IMAGE_SIZE + 1];

// Reads the whole file into `load_buffer`; returns the byte count, or -1 when it cannot be opened.
long read_whole(const char* name) {
    std::FILE* f = std::fopen(name, "rb");
    if (!f) return -1;
    const size_t n = std::fread(load_buffer, 1, sizeof(load_buffer), f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? -1 : long(n);
}

void load_error(const char* name) {
    say_center(name);
    say_center("Load Error!!!");
}

} // namespace

void save_image_name(s32 slot, char* out) {
    std::snprintf(out, 16, "QuorSave.%d00", slot);
}

s32 save_index_read() {
    std::FILE* f = std::fopen(SAVE_INDEX_NAME, "rb");
    if (!f) return 0;
    SaveSlotHeader read[SAVE_SLOTS];
    const bool whole = std::fread(read, 1, sizeof(read), f) == sizeof(read);
    std::fclose(f);
    if (!whole) return 0;
    std::memcpy(save_index, read, sizeof(save_index));
    return 1;
}

void save_index_clear() {
    for (SaveSlotHeader& h : save_index) {
        h.used = 0;
        h.year = 0;
        h.month = 0;
        h.day = 0;
        h.area = 0;
    }
}

s32 save_game(s32 slot) {
    if (slot < 0 || slot >= SAVE_SLOTS) return 0;
    check_state_blocks();

    char name[16];
    save_image_name(slot, name);
    Piece blocks[SAVE_BLOCKS];
    for (s32 b = 0; b < SAVE_BLOCKS; ++b) blocks[b] = {block_data(b), SAVE_BLOCK_SIZE[b]};

    SaveSlotHeader index[SAVE_SLOTS];
    std::memcpy(index, save_index, sizeof(index));
    index[slot] = {1,
                   world_state.year,
                   world_state.month,
                   world_state.day,
                   world_state.hour,
                   player_record.area};
    const Piece index_piece = {index, sizeof(index)};

    if (!write_atomic(name, blocks, SAVE_BLOCKS) ||
        !write_atomic(SAVE_INDEX_NAME, &index_piece, 1)) {
        say_center("Save Error!!!");
        return 0;
    }
    save_index[slot] = index[slot];
    return 1;
}

const char* save_image_fault(const u8* image, size_t size) {
    if (!image || size != size_t(SAVE_IMAGE_SIZE)) return "size";
    if (const char* f = world_fault(image)) return f;
    if (const char* f = objects_fault(image)) return f;
    if (const char* f = player_fault(image)) return f;
    if (const char* f = hub_fault(image)) return f;
    if (const char* f = tables_fault(image)) return f;
    return nullptr;
}

s32 save_image_valid(const u8* image, size_t size) {
    return save_image_fault(image, size) == nullptr;
}

s32 load_image_commit(s32 slot, const u8* image, size_t size) {
    if (slot < 0 || slot >= SAVE_SLOTS || !save_image_valid(image, size)) return 0;
    check_state_blocks();
    const s32 turn_before = hub_block.calendar_turn;
    for (s32 b = 0; b < SAVE_BLOCKS; ++b)
        std::memcpy(block_data(b), image + SAVE_BLOCK_OFFSET[b], SAVE_BLOCK_SIZE[b]);
    if (slot == 2 || slot == 3 || hub_block.calendar_turn != turn_before) hub_restart = 1;
    mssw_play_music(player_record.music_id, 0);
    cursor_select(0);
    ++save_load_count;
    return 1;
}

s32 load_game(s32 slot) {
    if (slot < 0 || slot >= SAVE_SLOTS) return 0;
    char name[16];
    save_image_name(slot, name);
    const long n = read_whole(name);
    if (n != SAVE_IMAGE_SIZE || !load_image_commit(slot, load_buffer, size_t(n))) {
        load_error(name);
        return 0;
    }
    return 1;
}

void load_and_place(s32 slot) {
    fade_out_scene();
    load_game(slot);
    change_map(attr_get(0, ATTR_MAP), attr_get(0, ATTR_X), attr_get(0, ATTR_Y));
    fade_in_scene();
}
