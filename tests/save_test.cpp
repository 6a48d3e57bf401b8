// Saved games: the image and index files, round trips, the hub's restart rule after a load, the
// refusal of damaged images with the state untouched, and saves that fail part-way.
#include "game/save.h"

#include "data/hub_block.h"
#include "data/items.h"
#include "data/roster.h"
#include "data/shops.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/state.h"
#include "tests/hub_fixture.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<u8>;

// Every saved record, concatenated in image order (without the repeat of the item master).
Bytes records() {
    Bytes out;
    for (const StateBlock& b : state_blocks) {
        const u8* p = static_cast<const u8*>(b.data);
        out.insert(out.end(), p, p + b.size);
    }
    return out;
}

// The image that the records in memory make: the seven records, then the item master again.
Bytes image_of_memory() {
    Bytes out = records();
    const u8* items = reinterpret_cast<const u8*>(item_master);
    out.insert(out.end(), items, items + sizeof(item_master));
    return out;
}

Bytes read_file(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void write_file(const std::string& name, const Bytes& bytes) {
    std::ofstream f(name, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string image_name(s32 slot) {
    char name[16];
    save_image_name(slot, name);
    return name;
}

void put32(Bytes& image, size_t offset, s32 v) {
    std::memcpy(image.data() + offset, &v, 4);
}
void put16(Bytes& image, size_t offset, u16 v) {
    std::memcpy(image.data() + offset, &v, 2);
}

// The names in the working directory.
std::set<std::string> listing() {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator("."))
        names.insert(e.path().filename().string());
    return names;
}

// Offsets of fields within the image.
size_t world_at(size_t field) {
    return SAVE_BLOCK_OFFSET[0] + field;
}
size_t player_at(size_t field) {
    return SAVE_BLOCK_OFFSET[2] + field;
}
size_t hub_at(size_t field) {
    return SAVE_BLOCK_OFFSET[3] + field;
}

// Sets attribute `attr` of object `obj` inside the image through the live table's own accessor:
// the object is copied out, changed, and copied back, so the live table stays as it was.
void set_image_attr(Bytes& image, s32 obj, s32 attr, s32 value) {
    u8* record = image.data() + SAVE_BLOCK_OFFSET[1] + sizeof(ObjectRecord) * size_t(obj);
    const ObjectRecord live = object_table[obj];
    std::memcpy(&object_table[obj], record, sizeof(ObjectRecord));
    attr_set(obj, attr, value);
    std::memcpy(record, &object_table[obj], sizeof(ObjectRecord));
    object_table[obj] = live;
}

int fail_rename(const char*, const char*) {
    return -1;
}
int fail_index_rename(const char* from, const char* to) {
    return std::strcmp(to, SAVE_INDEX_NAME) == 0 ? -1 : std::rename(from, to);
}

class SaveTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        std::memset(save_index, 0, sizeof(save_index));
        save_rename_seam = std::rename;
        hub_restart = -1;
        // Some play on top of the new game, so that the records hold more than start values.
        player_record.money = 4321;
        player_record.music_id = 10054;
        player_record.area = 7;
        player_record.equip[1] = 29;
        player_record.inventory[0] = {1499, 1};
        hub_block.calendar_turn = 42;
        world_state.month = 11;
        world_state.day = 13;
        world_state.hour = 15;
        world_state.year = 2;
        attr_set(0, ATTR_MAP, 12);
        attr_set(0, ATTR_X, 300);
        attr_set(0, ATTR_Y, 400);
    }
    void TearDown() override {
        save_rename_seam = std::rename;
        HubTest::TearDown();
    }

    // Fills every record with a byte pattern that no game state would hold.
    static void scramble() {
        for (const StateBlock& b : state_blocks) std::memset(b.data, 0x5a, b.size);
    }
};

TEST_F(SaveTest, RoundTripIsByteForByte) {
    ASSERT_EQ(save_game(1), 1);
    const Bytes saved = records();
    EXPECT_EQ(read_file(image_name(1)), image_of_memory());

    scramble();
    const s32 loads = save_load_count;
    dialog_transcript_mode();
    ASSERT_EQ(load_game(1), 1);
    EXPECT_EQ(records(), saved);
    EXPECT_EQ(save_load_count, loads + 1);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"music 10054 0"}) << "and no message";
}

TEST_F(SaveTest, EachSlotWritesItsFileAndOnlyItsHeader) {
    std::set<std::string> expected = listing();
    expected.insert(SAVE_INDEX_NAME);
    for (s32 slot = 0; slot < SAVE_SLOTS; ++slot) {
        SCOPED_TRACE(slot);
        for (s32 s = 0; s < SAVE_SLOTS; ++s) save_index[s] = {s == 0 ? 1 : 0, 9, 8, 7, 6, s};
        const SaveSlotHeader before[SAVE_SLOTS] = {save_index[0], save_index[1], save_index[2],
                                                   save_index[3]};
        ASSERT_EQ(save_game(slot), 1);

        EXPECT_EQ(image_name(slot), "QuorSave." + std::to_string(slot) + "00");
        EXPECT_EQ(read_file(image_name(slot)).size(), size_t(SAVE_IMAGE_SIZE));
        const Bytes index = read_file(SAVE_INDEX_NAME);
        ASSERT_EQ(index.size(), 96u);
        SaveSlotHeader on_disk[SAVE_SLOTS];
        std::memcpy(on_disk, index.data(), 96);
        for (s32 s = 0; s < SAVE_SLOTS; ++s) {
            const SaveSlotHeader want = s == slot ? SaveSlotHeader{1, 2, 11, 13, 15, 7} : before[s];
            EXPECT_EQ(std::memcmp(&on_disk[s], &want, sizeof(want)), 0) << "header " << s;
            EXPECT_EQ(std::memcmp(&save_index[s], &want, sizeof(want)), 0) << "memory " << s;
        }
        std::filesystem::remove(image_name(slot));
    }
    EXPECT_EQ(listing(), expected) << "no temporary file left behind";
}

TEST_F(SaveTest, SlotsOutsideTheFourDoNothing) {
    save_index[0] = {1, 1, 2, 3, 4, 5};
    const Bytes state = records();
    const std::set<std::string> files = listing();
    for (s32 slot : {-1, 4, 100}) {
        EXPECT_EQ(save_game(slot), 0);
        EXPECT_EQ(load_game(slot), 0);
    }
    EXPECT_EQ(listing(), files) << "nothing written, not even the index";
    EXPECT_EQ(save_index[0].used, 1);
    EXPECT_EQ(records(), state);
    EXPECT_TRUE(dialog_lines().empty());
}

TEST_F(SaveTest, LoadSetsHubRestartBySlotAndTurn) {
    for (s32 slot = 0; slot < SAVE_SLOTS; ++slot) ASSERT_EQ(save_game(slot), 1);
    struct Case {
        s32 slot;
        s32 running_turn;
        s32 restart;
    };
    const Case cases[] = {
        {0, 42, -1}, {1, 42, -1}, {0, 41, 1}, {1, 43, 1},
        {2, 42, 1},  {3, 42, 1},  {2, 7, 1},  {3, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " turn " << c.running_turn);
        hub_restart = -1;
        hub_block.calendar_turn = c.running_turn;
        ASSERT_EQ(load_game(c.slot), 1);
        EXPECT_EQ(hub_restart, c.restart);
        EXPECT_EQ(hub_block.calendar_turn, 42);
    }
}

TEST_F(SaveTest, LoadReplaysTheSavedMusicAndSelectsCursorZero) {
    world_state.cursor_id = 5;
    ASSERT_EQ(save_game(3), 1);
    player_record.music_id = 10021;
    world_state.cursor_id = 9;
    dialog_transcript_mode();
    ASSERT_EQ(load_game(3), 1);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"music 10054 0"});
    EXPECT_EQ(player_record.music_id, 10054);
    const u32 cursor = world_state.cursor_id; // a packed field: read it into a local first
    EXPECT_EQ(cursor, 0u) << "the saved cursor 5 is replaced by cursor 0";
}

TEST_F(SaveTest, TheSecondItemMasterBlockWins) {
    Bytes image = image_of_memory();
    put32(image, SAVE_BLOCK_OFFSET[4] + sizeof(ItemEntry) * 7, 111);      // block 5: item 7's value
    put32(image, SAVE_BLOCK_OFFSET[7] + sizeof(ItemEntry) * 7, 222);      // block 8
    put32(image, SAVE_BLOCK_OFFSET[4] + sizeof(ItemEntry) * 8 + 8, 2600); // block 5 only
    write_file(image_name(2), image);
    ASSERT_EQ(load_game(2), 1);
    EXPECT_EQ(item_master[7].value, 222);
    EXPECT_EQ(item_master[8].result, -1);
}

TEST_F(SaveTest, AMissingFileChangesNothingAndSaysSo) {
    const Bytes state = records();
    const s32 loads = save_load_count;
    EXPECT_EQ(load_game(2), 0);
    EXPECT_EQ(records(), state);
    EXPECT_EQ(save_load_count, loads);
    EXPECT_EQ(hub_restart, -1);
    EXPECT_EQ(dialog_lines(),
              (std::vector<std::string>{"say_center QuorSave.200", "say_center Load Error!!!"}));
}

// One damaged image each: `damage` changes a copy of a valid image.
struct Damage {
    const char* fault;
    std::function<void(Bytes&)> damage;
};

std::vector<Damage> damaged_images() {
    const size_t pool_a = hub_at(offsetof(HubBlock, encounter_pool_a));
    const size_t place = hub_at(offsetof(HubBlock, place_events));
    const size_t known = player_at(offsetof(PlayerRecord, known));
    return {
        {"size", [](Bytes& b) { b.pop_back(); }},
        {"size", [](Bytes& b) { b.push_back(0); }},
        {"size", [](Bytes& b) { b.clear(); }},
        {"world month", [](Bytes& b) { b[world_at(offsetof(WorldState, month))] = 13; }},
        {"world day", [](Bytes& b) { b[world_at(offsetof(WorldState, day))] = 0; }},
        {"world hour", [](Bytes& b) { b[world_at(offsetof(WorldState, hour))] = 24; }},
        {"world map", [](Bytes& b) { put16(b, world_at(offsetof(WorldState, current_map)), 300); }},
        {"world event object",
         [](Bytes& b) { b[world_at(offsetof(WorldState, event_object)) + 1] = 0x10; }},
        {"name slot",
         [](Bytes& b) {
             std::memset(&b[world_at(offsetof(WorldState, name_slots)) + 80], 'a', 16);
         }},
        {"object event", [](Bytes& b) { set_image_attr(b, 4095, ATTR_EVENT, 1840); }},
        {"object map", [](Bytes& b) { set_image_attr(b, 17, ATTR_MAP, 300); }},
        {"player mood", [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, mood)), 5); }},
        {"player party",
         [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, party)) + 16, 300); }},
        {"player equipment",
         [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, equip)) + 4, 30); }},
        {"player equipment",
         [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, equip)) + 8, -2); }},
        {"player inventory",
         [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, inventory)) + 8 * 2499, 2500); }},
        {"player inventory",
         [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, inventory)), -2); }},
        {"player acquaintance",
         [](Bytes& b) { put32(b, player_at(offsetof(PlayerRecord, acquaintances)) + 196, 300); }},
        {"player known id", [=](Bytes& b) { put32(b, known + 12 * 2499, 100); }},
        {"calendar turn",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, calendar_turn)), 250); }},
        {"calendar turn",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, calendar_turn)), -1); }},
        {"turns consumed",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, turns_consumed)), 4); }},
        {"backdrop", [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, scene_backdrop)), 60428); }},
        {"dashboard page",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, dashboard_page)), 2); }},
        {"menu level", [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, hub_menu_level)), 8); }},
        {"third bar open",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, hub_third_open)), 2); }},
        {"menu pick", [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, hub_menu_pick)), 8); }},
        {"menu pick",
         [](Bytes& b) {
             put32(b, hub_at(offsetof(HubBlock, hub_third_open)), 1);
             put32(b, hub_at(offsetof(HubBlock, hub_menu_pick)), 2);
         }},
        {"third pick", [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, hub_third_pick)), 7); }},
        {"hub command", [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, hub_command)), 57); }},
        {"schedule slot",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, turn_events_before)) + 4 * 249, 224); }},
        {"schedule slot",
         [](Bytes& b) { put32(b, hub_at(offsetof(HubBlock, turn_events_after)), 1000000); }},
        {"pool slot", [=](Bytes& b) { put32(b, pool_a, 224); }},
        {"pool slot", [=](Bytes& b) { put32(b, place + 8 * (2 * 7 * 30 - 1), 224); }},
        {"item result",
         [](Bytes& b) { put32(b, SAVE_BLOCK_OFFSET[7] + sizeof(ItemEntry) * 2499 + 8, 2500); }},
        {"shop slot",
         [](Bytes& b) {
             put32(b, SAVE_BLOCK_OFFSET[5] + sizeof(ShopSlot) * (SHOP_MARKET * 30 + 29), 2500);
         }},
        {"shop slot",
         [](Bytes& b) { put32(b, SAVE_BLOCK_OFFSET[5] + sizeof(ShopSlot) * 49 * 30, -2); }},
        {"roster art",
         [](Bytes& b) { put32(b, SAVE_BLOCK_OFFSET[6] + offsetof(RosterEntry, art), 500); }},
        {"roster art",
         [](Bytes& b) {
             put32(b, SAVE_BLOCK_OFFSET[6] + 96 * 299 + offsetof(RosterEntry, art), -1);
         }},
        {"roster bag",
         [](Bytes& b) {
             put32(b, SAVE_BLOCK_OFFSET[6] + 96 * 5 + offsetof(RosterEntry, bag) + 32, 2500);
         }},
    };
}

TEST_F(SaveTest, DamagedImagesAreRefusedWithNothingChanged) {
    const Bytes valid = image_of_memory();
    ASSERT_EQ(save_image_fault(valid.data(), valid.size()), nullptr);
    const Bytes state = records();
    const s32 loads = save_load_count;
    for (const Damage& d : damaged_images()) {
        Bytes image = valid;
        d.damage(image);
        const char* fault = save_image_fault(image.data(), image.size());
        EXPECT_STREQ(fault, d.fault);
        write_file(image_name(3), image);
        dialog_transcript_mode();
        EXPECT_EQ(load_game(3), 0) << d.fault;
        EXPECT_TRUE(records() == state) << d.fault;
        EXPECT_EQ(dialog_lines(),
                  (std::vector<std::string>{"say_center QuorSave.300", "say_center Load Error!!!"}))
            << d.fault;
    }
    EXPECT_EQ(save_load_count, loads);
    EXPECT_EQ(hub_restart, -1);
}

TEST_F(SaveTest, ValuesAtTheEdgesOfTheirTablesLoad) {
    Bytes image = image_of_memory();
    image[world_at(offsetof(WorldState, month))] = 12;
    image[world_at(offsetof(WorldState, hour))] = 23;
    put32(image, world_at(offsetof(WorldState, current_map)), 299 | 4095 << 16);
    set_image_attr(image, 4095, ATTR_EVENT, 1839);
    set_image_attr(image, 4095, ATTR_MAP, 299);
    put32(image, player_at(offsetof(PlayerRecord, mood)), 4);
    put32(image, player_at(offsetof(PlayerRecord, party)), 299);
    put32(image, player_at(offsetof(PlayerRecord, equip)), 69);
    put32(image, player_at(offsetof(PlayerRecord, equip)) + 12, 49);
    put32(image, player_at(offsetof(PlayerRecord, inventory)), 2499);
    put32(image, player_at(offsetof(PlayerRecord, acquaintances)), 299);
    put32(image, player_at(offsetof(PlayerRecord, known)), 99);
    put32(image, hub_at(offsetof(HubBlock, calendar_turn)), 249);
    put32(image, hub_at(offsetof(HubBlock, hub_third_open)), 1);
    put32(image, hub_at(offsetof(HubBlock, hub_menu_pick)), 1);
    put32(image, hub_at(offsetof(HubBlock, hub_third_pick)), 6);
    put32(image, hub_at(offsetof(HubBlock, turn_events_after)), 223);
    put32(image, hub_at(offsetof(HubBlock, encounter_pool_c)), 223);
    put32(image, hub_at(offsetof(HubBlock, encounter_pool_c)) + 8, -7);
    put32(image, SAVE_BLOCK_OFFSET[6] + offsetof(RosterEntry, art), 499);
    write_file(image_name(1), image);
    ASSERT_EQ(save_image_fault(image.data(), image.size()), nullptr);
    ASSERT_EQ(load_game(1), 1);
    EXPECT_EQ(attr_get(4095, ATTR_EVENT), 1839);
    EXPECT_EQ(hub_block.calendar_turn, 249);
    EXPECT_EQ(hub_block.encounter_pool_c[1].slot, -7);
}

TEST_F(SaveTest, AFailedRenameLeavesThePreviousFilesWhole) {
    ASSERT_EQ(save_game(2), 1);
    const Bytes old_image = read_file(image_name(2));
    const Bytes old_index = read_file(SAVE_INDEX_NAME);
    const SaveSlotHeader old_header = save_index[2];

    player_record.money = 99;
    world_state.day = 19;
    const Bytes state = records();
    dialog_transcript_mode();
    save_rename_seam = fail_rename;
    EXPECT_EQ(save_game(2), 0);
    EXPECT_EQ(read_file(image_name(2)), old_image);
    EXPECT_EQ(read_file(SAVE_INDEX_NAME), old_index);
    EXPECT_EQ(std::memcmp(&save_index[2], &old_header, sizeof(old_header)), 0);
    EXPECT_EQ(records(), state);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"say_center Save Error!!!"});

    // The image is in place but the index cannot be: the index and its header stay as they were.
    save_rename_seam = fail_index_rename;
    EXPECT_EQ(save_game(2), 0);
    EXPECT_EQ(read_file(image_name(2)), image_of_memory());
    EXPECT_EQ(read_file(SAVE_INDEX_NAME), old_index);
    EXPECT_EQ(save_index[2].day, 13);

    for (const std::string& name : listing())
        EXPECT_EQ(name.find(SAVE_TEMP_SUFFIX), std::string::npos) << name;
}

TEST_F(SaveTest, IndexReadNeedsTheWholeFileAndClearKeepsTheHour) {
    save_index[1] = {1, 3, 4, 5, 6, 7};
    write_file(SAVE_INDEX_NAME, Bytes(95, 0xff));
    EXPECT_EQ(save_index_read(), 0);
    EXPECT_EQ(save_index[1].used, 1) << "a short index leaves the memory copy alone";

    Bytes whole(96, 0);
    put32(whole, 24 * 3, 1);
    put32(whole, 24 * 3 + 16, 22);
    write_file(SAVE_INDEX_NAME, whole);
    EXPECT_EQ(save_index_read(), 1);
    EXPECT_EQ(save_index[1].used, 0);
    EXPECT_EQ(save_index[3].used, 1);

    save_index[2] = {1, 3, 4, 5, 6, 7};
    save_index_clear();
    for (const SaveSlotHeader& h : save_index) {
        EXPECT_EQ(h.used | h.year | h.month | h.day | h.area, 0);
    }
    EXPECT_EQ(save_index[2].hour, 6);
    EXPECT_EQ(save_index[3].hour, 22);
}

} // namespace
